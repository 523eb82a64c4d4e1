#include "framework/commandbars/ReBar.h"

#include "classlib/DC.h"
#include "classlib/Geometry.h"
#include "framework/commandbars/DockBar.h"
#include "framework/commandbars/ToolBar.h"
#include "framework/foundation/BufferDC.h"

IMPLEMENT_DYNCREATE(COSMReBar, CReBar)

BEGIN_MESSAGE_MAP(COSMReBar, CReBar)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL COSMReBar::AddToolBar(COSMToolBar* toolBar, DWORD bandStyle)
{
    if (!GetSafeHwnd() || !toolBar || !toolBar->GetSafeHwnd())
        return FALSE;
    // Out of the dock bar and without the gripper first: the row is then measured as the band will show it.
    if (COSMDockBar* dockBar = toolBar->GetDockBar())
        dockBar->RemoveCommandBar(toolBar);
    toolBar->ModifyFlags(0, COSMToolBar::kMovableFlags);
    toolBar->SetShowGripper(FALSE);

    const CSize size = toolBar->CalcDynamicLayout(kUnboundedLength, LM_HORZ | LM_HORZDOCK | LM_COMMIT);
    toolBar->MoveWindow(0, 0, size.cx, size.cy, TRUE);
    if (!AddBar(toolBar, nullptr, nullptr, bandStyle))
        return FALSE;
    // A bar made for a dock bar waits hidden for the dock bar to place it; in a band it shows now.
    if (toolBar->IsVisible() && !(toolBar->GetStyle() & WS_VISIBLE))
        toolBar->ShowWindow(SW_SHOWNA);

    REBARBANDINFOA band = MakeBandInfo(RBBIM_ID);
    band.wID = toolBar->GetBarID();
    SetBandInfo(static_cast<UINT>(GetBandCount() - 1), &band);
    return TRUE;
}

void COSMReBar::DeleteToolBar(COSMToolBar* toolBar)
{
    const int band = FindBand(toolBar);
    if (band >= 0)
        DeleteBand(static_cast<UINT>(band));
}

COSMToolBar* COSMReBar::GetToolBar(int band) const
{
    if (!GetSafeHwnd() || band < 0)
        return nullptr;
    REBARBANDINFOA info = MakeBandInfo(RBBIM_CHILD);
    if (!GetBandInfo(static_cast<UINT>(band), &info) || !info.hwndChild)
        return nullptr;
    CWnd* child = FromHandlePermanent(info.hwndChild);
    return child && child->IsKindOf(RUNTIME_CLASS(COSMToolBar)) ? static_cast<COSMToolBar*>(child) : nullptr;
}

int COSMReBar::FindBand(const COSMToolBar* toolBar) const
{
    if (!toolBar || !GetSafeHwnd())
        return -1;
    for (int band = GetBandCount() - 1; band >= 0; --band)
        if (GetToolBar(band) == toolBar)
            return band;
    return -1;
}

void COSMReBar::OnPaint()
{
    CPaintDC paintDC(this);
    CRect client;
    GetClientRect(&client);
    // The control erases and paints into the buffer, which reaches the screen in one copy.
    COSMBufferDC dc(paintDC.GetSafeHdc(), client);
    dc.FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
    DefWindowProc(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
}

BOOL COSMReBar::OnEraseBkgnd(CDC*)
{
    // The paint covers everything: erasing first would only show as flicker.
    return TRUE;
}
