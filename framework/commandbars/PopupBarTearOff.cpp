// Tearing a popup off into a floating toolbar: the gripper strip above the first control, its hot state while the
// mouse rests on it, and the drag that shows the toolbar beyond 10 pixels from the gripper and the popup again
// within them.
#include "classlib/DC.h"
#include "classlib/Geometry.h"
#include "classlib/RefPtr.h"
#include "classlib/Wnd.h"
#include "framework/commandbars/PopupBar.h"

#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/ToolBar.h"
#include "framework/commandbars/PaintManager.h"

int COSMPopupBar::PrepareTearOffGripper(CDC* dc)
{
    m_tearOffGripperHeight = 0;
    COSMPaintManager* paintManager = GetPaintManager();
    if (m_tearOffPopup && paintManager)
        m_tearOffGripperHeight = paintManager->DrawTearOffGripper(dc, CRect(0, 0, 0, 0), FALSE, FALSE).cy;
    return m_tearOffGripperHeight;
}

void COSMPopupBar::PlaceTearOffGripper(CSize size)
{
    m_tearOffGripperRect.SetRectEmpty();
    if (m_tearOffGripperHeight == 0)
        return;
    const CRect borders = GetBorders();
    m_tearOffGripperRect =
        CRect(borders.left, borders.top, size.cx - borders.right, borders.top + m_tearOffGripperHeight);
}

BOOL COSMPopupBar::HitTestTearOffGripper(CPoint point) const
{
    return m_tearOffPopup && GetCommandBars() && !IsCustomizeMode() && !m_tearOffGripperRect.IsRectEmpty() &&
           m_tearOffGripperRect.PtInRect(point);
}

void COSMPopupBar::DrawTearOffGripper(CDC* dc)
{
    COSMPaintManager* paintManager = GetPaintManager();
    if (m_tearOffPopup && GetControlCount() > 0 && paintManager)
        paintManager->DrawTearOffGripper(dc, m_tearOffGripperRect, m_tearOffGripperHot, TRUE);
}

void COSMPopupBar::TrackTearOffHot(CPoint point)
{
    if (m_tearOffGripperHot || m_tearOffHotTimer || !HitTestTearOffGripper(point))
        return;
    // The gripper takes over from the items: nothing stays selected or open under it.
    SetSelected(-1, kSelectMouse);
    SetPopuped(-1, FALSE);
    m_tearOffHotTimer = SetTimer(kTimerTearOffHot, kTearOffHotPeriod, nullptr);
}

void COSMPopupBar::OnTearOffHotTimer()
{
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    const BOOL inside = m_tearOffGripperRect.PtInRect(point);
    if (inside)
    {
        if (!m_tearOffGripperHot)
        {
            m_tearOffGripperHot = TRUE;
            Redraw(nullptr, FALSE);
        }
        return;
    }
    // The drag reads the cursor itself; the gripper stays hot until it ends.
    if (m_tearOffTracking)
        return;
    if (m_tearOffGripperHot)
    {
        m_tearOffGripperHot = FALSE;
        Redraw(nullptr, FALSE);
    }
    KillTimer(kTimerTearOffHot);
    m_tearOffHotTimer = 0;
}

void COSMPopupBar::ForgetTornOffToolBar()
{
    m_tornOffToolBar.Reset();
}

void COSMPopupBar::TearOff(BOOL attached, int x, int y)
{
    COSMCommandBars* commandBars = GetCommandBars();
    if (!commandBars)
        return;
    if (GetSafeHwnd())
    {
        // The shadows go and come with the popup.
        if (!attached)
            RemoveShadows();
        ShowWindow(attached ? SW_SHOWNA : SW_HIDE);
        if (attached)
            UpdateShadows();
    }
    if (attached)
    {
        // The toolbar of this drag goes away again; one made by it leaves the manager once hidden.
        if (m_tornOffToolBar)
            m_tornOffToolBar->SetVisible(FALSE);
        ForgetTornOffToolBar();
        return;
    }

    if (!m_tornOffToolBar)
    {
        auto* toolBar = dynamic_cast<COSMToolBar*>(commandBars->FindCommandBar(m_tearOffId));
        if (toolBar)
        {
            // Torn off before: the same bar floats again rather than a second one.
            toolBar->SetPosition(kPositionFloating);
            toolBar->SetVisible(TRUE);
            commandBars->RecalcFrameLayout(FALSE);
        }
        else
        {
            toolBar = static_cast<COSMToolBar*>(commandBars->AddToolBar(m_tearOffCaption, m_tearOffId, TRUE));
            if (!toolBar)
                return;
            toolBar->SetMRUWidth(m_tearOffWidth);
            const COSMControl* expandButton = GetExpandButton();
            for (int i = 0; i < GetControlCount(); ++i)
            {
                const COSMControl* control = GetControl(i);
                if (control == expandButton)
                    continue;
                // What the popup hid for scrolling or as not yet used shows on the toolbar.
                if (COSMControl* clone = toolBar->GetControls()->AddClone(control, -1, TRUE))
                    clone->SetHideFlags(clone->GetHideFlags() & ~(COSMControl::kHideScroll | COSMControl::kHideUsage));
            }
        }
        m_tornOffToolBar = RefPtr<COSMToolBar>::Retain(toolBar);
    }

    // The site may fill or change the bar; it is measured afterwards.
    const RefPtr<COSMToolBar> keep = m_tornOffToolBar;
    COSMToolBar* toolBar = keep.Get();
    CWnd* site = commandBars->GetSite();
    if (site && ::IsWindow(site->GetSafeHwnd()))
        site->SendMessage(kMessageTornOff, reinterpret_cast<WPARAM>(toolBar), reinterpret_cast<LPARAM>(this));
    if (!toolBar->GetSafeHwnd())
        return;
    m_tornOffSize = toolBar->CalcDynamicLayout(-1, LM_MRUWIDTH | LM_HORZ | LM_COMMIT);
    toolBar->SetWindowPos(nullptr, x - m_tornOffSize.cx / 2, y - kTearOffHangY, m_tornOffSize.cx, m_tornOffSize.cy,
                          SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOOWNERZORDER);
    toolBar->OnIdleUpdateCmdUI(TRUE, 0);
    toolBar->Redraw(nullptr, FALSE);
}

void COSMPopupBar::TrackTearOff()
{
    ForgetTornOffToolBar();
    if (!GetSafeHwnd() || m_tearOffGripperRect.IsRectEmpty() || ::GetCapture())
        return;
    CRect gripper = m_tearOffGripperRect;
    ClientToScreen(&gripper);
    // A mirrored window maps its left edge to the right on screen.
    gripper.NormalizeRect();
    gripper.InflateRect(kTearOffReach, kTearOffReach);
    BOOL attached = TRUE;

    // The popup may close while its loop dispatches: the reference keeps it until the loop is left.
    const RefPtr<COSMPopupBar> keep = RefPtr<COSMPopupBar>::Retain(this);
    m_tearOffTracking = TRUE;
    // Escape ends the drag as the button's release does: a torn-off toolbar stays.
    TrackDrag([&](CPoint, CPoint point) {
        const BOOL inside = gripper.PtInRect(point);
        if (inside != attached)
        {
            attached = inside;
            TearOff(attached, point.x, point.y);
        }
        if (m_tornOffToolBar && m_tornOffToolBar->GetSafeHwnd())
            m_tornOffToolBar->SetWindowPos(nullptr, point.x - m_tornOffSize.cx / 2, point.y - kTearOffHangY, 0, 0,
                                           SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOOWNERZORDER);
    });
    m_tearOffTracking = FALSE;
    // The toolbar stays where it was dropped and the menu it came from is done.
    if (m_tornOffToolBar)
    {
        if (COSMCommandBars* commandBars = GetCommandBars())
            commandBars->ClosePopups();
    }
    ForgetTornOffToolBar();
}
