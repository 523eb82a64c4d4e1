// The frame object of a ribbon that draws its frame's caption.
#include "framework/ribbon/RibbonFrame.h"

#include "classlib/FrameWnd.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/DwmWrapper.h"
#include "framework/ribbon/FramePaintManager.h"
#include "framework/ribbon/RibbonBar.h"

COSMDwmFunctions* COSMRibbonFrame::s_pDwmFunctions = nullptr;

COSMRibbonFrame::COSMRibbonFrame(CWnd* frame, COSMRibbonBar* ribbon) : m_frame(frame), m_ribbon(ribbon)
{
    if (ribbon)
        m_dwmEnabled = GetDwmWrapper().DwmIsCompositionEnabled();
}

COSMRibbonFrame::~COSMRibbonFrame()
{
    HWND frame = GetFrameHwnd();
    if (m_ribbon && ::IsWindow(frame) && m_dwmEnabled)
        GetDwmWrapper().DwmExtendFrameIntoClientArea(frame, 0, 0, 0, 0);
}

BOOL COSMRibbonFrame::GetStatusBarHeight(int* height) const
{
    const HWND frame = GetFrameHwnd();
    const HWND statusBar = frame ? ::GetDlgItem(frame, AFX_IDW_STATUS_BAR) : nullptr;
    if (!m_frameDrawing || !statusBar || !::IsWindowVisible(statusBar))
        return FALSE;
    RECT rect{};
    ::GetWindowRect(statusBar, &rect);
    if (height)
        *height = rect.bottom - rect.top;
    return TRUE;
}

DWORD COSMRibbonFrame::GetStyle(BOOL ex) const
{
    HWND frame = GetFrameHwnd();
    return frame ? static_cast<DWORD>(::GetWindowLongA(frame, ex ? GWL_EXSTYLE : GWL_STYLE)) : 0;
}

void COSMRibbonFrame::SetFrameRegion(int cx, int cy, BOOL force)
{
    HWND frame = GetFrameHwnd();
    if (m_inRegion || !::IsWindow(frame))
        return;
    if (!force && cx == m_lastWidth && cy == m_lastHeight)
        return;
    m_inRegion = TRUE;
    const DWORD style = GetStyle(FALSE);
    const DWORD exStyle = GetStyle(TRUE);
    RECT adjusted{0, 0, cx, cy};
    ::AdjustWindowRectEx(&adjusted, style, FALSE, exStyle);
    m_frameBorder = -adjusted.left;
    const BOOL maximized = (style & WS_MAXIMIZE) != 0;
    if (m_dwmEnabled)
    {
        if (!maximized)
            m_frameBorder = 4;
        GetDwmWrapper().DwmExtendFrameIntoClientArea(frame, 0, IsCaptionStandard() ? 0 : GetCaptionHeight(), 0, 0);
    }
    else if (maximized && (exStyle & WS_EX_MDICHILD))
    {
        ::SetWindowRgn(frame, nullptr, TRUE);
    }
    else if (maximized)
    {
        const int inset = m_frameBorder - ((exStyle & WS_EX_CLIENTEDGE) ? 2 : 0);
        ::SetWindowRgn(frame, ::CreateRectRgn(inset, inset, cx - inset, cy - inset), TRUE);
    }
    else
    {
        COSMPaintManager* paintManager = m_ribbon ? m_ribbon->GetPaintManager() : nullptr;
        auto* framePainter =
            paintManager ? dynamic_cast<COSMFramePaintManager*>(paintManager->GetFramePaintManager()) : nullptr;
        ::SetWindowRgn(frame, framePainter ? framePainter->CreateFrameRegion(this, cx, cy) : nullptr, TRUE);
    }
    m_lastWidth = cx;
    m_lastHeight = cy;
    m_inRegion = FALSE;
}

void COSMRibbonFrame::UpdateFrameRegion()
{
    HWND frame = GetFrameHwnd();
    if (!::IsWindow(frame))
        return;
    RECT window{};
    ::GetWindowRect(frame, &window);
    SetFrameRegion(window.right - window.left, window.bottom - window.top, TRUE);
}

BOOL COSMRibbonFrame::IsCaptionStandard() const
{
    if (!m_ribbon || !m_ribbon->IsVisible() || !m_ribbon->IsRibbonShown() || m_ribbon->GetPosition() != 0)
        return TRUE;
    const DWORD style = GetStyle(FALSE);
    return (style & WS_CHILD) && (style & WS_MINIMIZE);
}

int COSMRibbonFrame::GetCaptionHeight() const
{
    const int caption = !IsCaptionStandard() ? m_ribbon->GetCaptionHeight() : ::GetSystemMetrics(SM_CYCAPTION);
    return caption + m_frameBorder;
}

void COSMRibbonFrame::PostRecalcLayout()
{
    m_layoutPosted = TRUE;
    if (HWND frame = GetFrameHwnd())
        ::PostMessageA(frame, WM_IDLEUPDATECMDUI, 0, 0);
}

void COSMRibbonFrame::RefreshFrame()
{
    HWND frame = GetFrameHwnd();
    m_layoutPosted = FALSE;
    m_lastWidth = m_lastHeight = 0;
    if (!::IsWindow(frame))
        return;
    ::SetWindowPos(frame, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (auto* frameWnd = dynamic_cast<CFrameWnd*>(m_frame))
    {
        frameWnd->RecalcLayout(FALSE);
    }
    else
    {
        RECT client{};
        ::GetClientRect(frame, &client);
        ::SendMessageA(frame, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    }
    UpdateFrameRegion();
    if (m_ribbon)
        m_ribbon->Redraw(nullptr, FALSE);
}
