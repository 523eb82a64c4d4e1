// The frame object of a ribbon that draws its frame's caption.
#include "framework/ribbon/RibbonFrame.h"

#include "classlib/FrameWnd.h"
#include "classlib/ModalLoop.h"
#include "classlib/ScopedHandle.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/ControlButton.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/DwmWrapper.h"
#include "framework/foundation/HookManager.h"
#include "framework/ribbon/FramePaintManager.h"
#include "framework/ribbon/RibbonBar.h"

COSMDwmFunctions* COSMRibbonFrame::s_pDwmFunctions = nullptr;

namespace {

// The frame's window and client rectangles, both in screen coordinates, so that their difference is the border.
void GetWindowAndClientOnScreen(HWND frame, RECT* window, RECT* client)
{
    ::GetWindowRect(frame, window);
    ::GetClientRect(frame, client);
    ::MapWindowPoints(frame, nullptr, reinterpret_cast<POINT*>(client), 2);
}

// Hands the frame its region. The system owns a region SetWindowRgn took; one it refused is still ours and goes here.
void GiveFrameRegion(HWND frame, ScopedGdiObject<HRGN> region)
{
    if (::SetWindowRgn(frame, region.Get(), TRUE))
        (void)region.Release();
}

}  // namespace

COSMRibbonFrame::COSMRibbonFrame(CWnd* frame, COSMRibbonBar* ribbon) : m_frame(frame), m_ribbon(ribbon)
{
    if (!ribbon)
        return;
    m_dwmEnabled = GetDwmWrapper().DwmIsCompositionEnabled();
    m_hooked = GetFrameHwnd();
    if (::IsWindow(m_hooked))
        GetHookManager()->SetHook(m_hooked, this);
    else
        m_hooked = nullptr;
}

COSMRibbonFrame::~COSMRibbonFrame()
{
    if (m_hooked)
        GetHookManager()->RemoveAll(this);
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
    // Cleared however this ends: a painter that throws must not keep the frame from ever getting a region again.
    struct RegionGuard
    {
        BOOL& inRegion;
        explicit RegionGuard(BOOL& flag) : inRegion(flag) { inRegion = TRUE; }
        ~RegionGuard() { inRegion = FALSE; }
        RegionGuard(const RegionGuard&) = delete;
        RegionGuard& operator=(const RegionGuard&) = delete;
    } guard(m_inRegion);
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
        GiveFrameRegion(frame, ScopedGdiObject<HRGN>(::CreateRectRgn(inset, inset, cx - inset, cy - inset)));
    }
    else
    {
        COSMPaintManager* paintManager = m_ribbon ? m_ribbon->GetPaintManager() : nullptr;
        auto* framePainter =
            paintManager ? dynamic_cast<COSMFramePaintManager*>(paintManager->GetFramePaintManager()) : nullptr;
        GiveFrameRegion(frame,
                        ScopedGdiObject<HRGN>(framePainter ? framePainter->CreateFrameRegion(this, cx, cy) : nullptr));
    }
    m_lastWidth = cx;
    m_lastHeight = cy;
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

std::vector<COSMRibbonFrame::CaptionButtonRule> COSMRibbonFrame::GetCaptionButtonRules() const
{
    const DWORD style = GetStyle(FALSE);
    const DWORD exStyle = GetStyle(TRUE);
    const BOOL maximized = (style & WS_MAXIMIZE) != 0;
    const BOOL sysMenu = (style & WS_SYSMENU) != 0;
    BOOL minMax = !(exStyle & WS_EX_TOOLWINDOW) && sysMenu && (style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX)) != 0;
    BOOL closeEnabled = TRUE;
    if (HMENU menu = GetFrameHwnd() ? ::GetSystemMenu(GetFrameHwnd(), FALSE) : nullptr)
        closeEnabled = !(::GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
    BOOL closeShown = sysMenu;
    if (maximized && (style & WS_CHILD))
        minMax = closeShown = FALSE;
    const BOOL own = !m_dwmEnabled;
    return {
        {SC_CLOSE, closeShown && own, closeEnabled},
        {SC_RESTORE, minMax && maximized && own, (style & WS_MAXIMIZEBOX) != 0},
        {SC_MAXIMIZE, minMax && !maximized && own, (style & WS_MAXIMIZEBOX) != 0},
        {SC_MINIMIZE, minMax && own, (style & WS_MINIMIZEBOX) != 0},
    };
}

BOOL COSMRibbonFrame::DrawsOwnCaption() const
{
    if (!m_ribbon || !m_frameDrawing || m_dwmEnabled || !IsCaptionStandard())
        return FALSE;
    // A minimized child keeps the system's small caption bar.
    const DWORD style = GetStyle(FALSE);
    return (style & WS_CAPTION) == WS_CAPTION && !((style & WS_CHILD) && (style & WS_MINIMIZE));
}

void COSMRibbonFrame::RepositionCaptionButtons()
{
    HWND frame = GetFrameHwnd();
    if (!DrawsOwnCaption() || !::IsWindow(frame))
    {
        m_hotCaptionButton = nullptr;
        m_captionButtons->RemoveAll();
        return;
    }
    RECT window{};
    RECT client{};
    GetWindowAndClientOnScreen(frame, &window, &client);
    const int border = client.left - window.left;
    CRect rect(border, m_frameBorder, window.right - window.left - border, GetCaptionHeight() - 3);
    for (const CaptionButtonRule& rule : GetCaptionButtonRules())
    {
        COSMControl* button = m_captionButtons->FindControlById(static_cast<int>(rule.id));
        if (!rule.shown)
        {
            if (button == m_hotCaptionButton)
                m_hotCaptionButton = nullptr;
            if (button)
                m_captionButtons->Remove(button);
            continue;
        }
        if (!button)
            button = m_captionButtons->AddControl(new COSMControlButton, static_cast<int>(rule.id), nullptr, -1, TRUE);
        button->SetEnabled(rule.enabled ? 1 : 0);
        const int side = rect.Height();
        button->SetRect(CRect(rect.right - side, rect.top, rect.right, rect.bottom));
        rect.right -= side;
    }
}

COSMControl* COSMRibbonFrame::HitTestCaptionButton(CPoint screen) const
{
    HWND frame = GetFrameHwnd();
    if (!::IsWindow(frame))
        return nullptr;
    RECT window{};
    ::GetWindowRect(frame, &window);
    const CPoint point(screen.x - window.left, screen.y - window.top);
    for (int i = 0; i < m_captionButtons->GetCount(); ++i)
    {
        COSMControl* button = m_captionButtons->GetAt(i);
        if (button->IsVisible() && button->GetRect().PtInRect(point))
            return button;
    }
    return nullptr;
}

void COSMRibbonFrame::SetHotCaptionButton(COSMControl* button)
{
    if (button == m_hotCaptionButton)
        return;
    if (m_hotCaptionButton)
        m_hotCaptionButton->SetSelected(FALSE);
    m_hotCaptionButton = button;
    if (button)
    {
        button->SetSelected(TRUE);
        // Told when the mouse leaves the frame's non-client area, so the button goes cold again.
        TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE | TME_NONCLIENT, GetFrameHwnd(), 0};
        ::TrackMouseEvent(&track);
    }
    DrawNonClient();
}

void COSMRibbonFrame::TrackCaptionButton(COSMControl* button)
{
    HWND frame = GetFrameHwnd();
    const UINT id = static_cast<UINT>(button->GetID());
    // A message the loop dispatches may lay the caption out anew and drop the button from the list.
    const RefPtr<COSMControl> keepButton = RefPtr<COSMControl>::Retain(button);
    SetHotCaptionButton(button);
    button->SetPressed(TRUE);
    DrawNonClient();
    ::SetCapture(frame);
    BOOL released = FALSE;
    BOOL over = TRUE;
    CModalLoop loop;
    loop.EndOnCaptureLoss(frame).EndOnEscape();
    loop.Run(nullptr, [&](MSG& msg) {
        if (msg.message != WM_MOUSEMOVE && msg.message != WM_LBUTTONUP)
            return CModalLoop::Dispatch;
        // Captured, the frame hears of the mouse in client coordinates.
        CPoint point(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
        ::ClientToScreen(frame, &point);
        const BOOL now = HitTestCaptionButton(point) == button;
        if (now != over)
        {
            over = now;
            button->SetSelected(over);
            DrawNonClient();
        }
        if (msg.message != WM_LBUTTONUP)
            return CModalLoop::Handled;
        released = TRUE;
        return CModalLoop::Stop;
    });
    if (::GetCapture() == frame)
        ::ReleaseCapture();
    if (!::IsWindow(frame))
        return;
    button->SetPressed(FALSE);
    m_hotCaptionButton = nullptr;
    button->SetSelected(FALSE);
    DrawNonClient();
    if (released && over && button->GetEnabled())
        ::PostMessageA(frame, WM_SYSCOMMAND, id, 0);
}

int COSMRibbonFrame::OnOwnCaptionMessage(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    const CPoint screen(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    switch (nMessage)
    {
    case WM_NCHITTEST:
    {
        lResult = ::DefWindowProcA(hWnd, nMessage, wParam, lParam);
        if (COSMControl* button = HitTestCaptionButton(screen))
            lResult = button->GetID() == SC_CLOSE      ? HTCLOSE
                      : button->GetID() == SC_MINIMIZE ? HTMINBUTTON
                                                       : HTMAXBUTTON;
        else if (lResult == HTCLOSE || lResult == HTMINBUTTON || lResult == HTMAXBUTTON)
            // The system's buttons stand elsewhere: there the caption shows.
            lResult = HTCAPTION;
        return kHandled;
    }
    case WM_NCMOUSEMOVE:
        SetHotCaptionButton(HitTestCaptionButton(screen));
        return kNotHandled;
    case WM_NCMOUSELEAVE:
        SetHotCaptionButton(nullptr);
        return kNotHandled;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        if (COSMControl* button = HitTestCaptionButton(screen))
        {
            TrackCaptionButton(button);
            lResult = 0;
            return kHandled;
        }
        return kNotHandled;
    default:
        return kNotHandled;
    }
}

COSMFramePaintManager* COSMRibbonFrame::GetFramePainter() const
{
    COSMPaintManager* paintManager = m_ribbon ? m_ribbon->GetPaintManager() : nullptr;
    return paintManager ? dynamic_cast<COSMFramePaintManager*>(paintManager->GetFramePaintManager()) : nullptr;
}

void COSMRibbonFrame::DrawNonClient()
{
    HWND frame = GetFrameHwnd();
    COSMFramePaintManager* painter = GetFramePainter();
    if (!painter || !::IsWindow(frame) || !DrawsNonClient())
        return;
    RepositionCaptionButtons();
    // The window DC of a frame also covers its client area: the border is drawn around the client only. The DC goes
    // back to the window however the painter ends.
    CWindowDC dc(m_frame);
    if (!dc.GetSafeHdc())
        return;
    RECT window{};
    RECT client{};
    GetWindowAndClientOnScreen(frame, &window, &client);
    dc.ExcludeClipRect(client.left - window.left, client.top - window.top, client.right - window.left,
                       client.bottom - window.top);
    painter->DrawFrame(&dc, this);
}

LRESULT COSMRibbonFrame::DefaultWithoutCaption(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    // The system paints its caption as it stores the text or icon; the frame painter's border goes over it at once.
    const LRESULT result = ::DefWindowProcA(hWnd, nMessage, wParam, lParam);
    DrawNonClient();
    if (m_ribbon)
    {
        // The ribbon's caption shows the title: it lays out again for a new one now, not at the next idle time.
        m_ribbon->RefreshMdiButtons();
        m_ribbon->OnIdleUpdateCmdUI(TRUE, 0);
        m_ribbon->Redraw(nullptr, FALSE);
    }
    return result;
}

int COSMRibbonFrame::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult)
{
    if (hWnd != GetFrameHwnd() || !m_ribbon)
        return kNotHandled;
    if (DrawsOwnCaption() && OnOwnCaptionMessage(hWnd, nMessage, wParam, lParam, lResult) == kHandled)
        return kHandled;
    switch (nMessage)
    {
    case WM_NCCALCSIZE:
    {
        if (IsCaptionStandard())
            return kNotHandled;
        // The system's sizes first (borders, menu); then the client reaches up over the system's caption. Without
        // composition the top border stays, which also keeps a maximized frame's caption on the screen (its
        // border lies beyond the screen's edge); with composition the ribbon leaves that border itself.
        RECT* rect = reinterpret_cast<RECT*>(lParam);
        const int windowTop = rect->top;
        lResult = ::DefWindowProcA(hWnd, nMessage, wParam, lParam);
        RECT adjusted{0, 0, 0, 0};
        ::AdjustWindowRectEx(&adjusted, GetStyle(FALSE), FALSE, GetStyle(TRUE));
        const int border = -adjusted.left;
        rect->top = windowTop + (m_dwmEnabled ? 0 : border);
        return kHandled;
    }
    case WM_NCPAINT:
        if (!DrawsNonClient() || !GetFramePainter())
            return kNotHandled;
        DrawNonClient();
        lResult = 0;
        return kHandled;
    case WM_NCACTIVATE:
        m_active = wParam != 0;
        if (!DrawsNonClient())
        {
            if (m_ribbon)
                m_ribbon->Redraw(nullptr, FALSE);
            return kNotHandled;
        }
        // The system keeps the window's active state; -1 keeps it from painting its caption.
        lResult = ::DefWindowProcA(hWnd, nMessage, wParam, static_cast<LPARAM>(-1));
        lResult = TRUE;
        DrawNonClient();
        m_ribbon->Redraw(nullptr, FALSE);
        return kHandled;
    case WM_SETTEXT:
    case WM_SETICON:
        if (!DrawsNonClient())
            return kNotHandled;
        lResult = DefaultWithoutCaption(hWnd, nMessage, wParam, lParam);
        return kHandled;
    case WM_IDLEUPDATECMDUI:
        // The ribbon folded or unfolded: the caption changes hands, so the frame takes its new non-client sizes.
        if (m_layoutPosted)
            RefreshFrame();
        return kNotHandled;
    default:
        return kNotHandled;
    }
}
