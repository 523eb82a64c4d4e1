// A control's click in customize mode: it becomes the customize selection and is dragged; a drop that moved it, or
// dropped it beside every bar, takes it out of its bar. A click on an edge of the selected, resizable control drags
// that edge instead.
#include "framework/commandbars/Control.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/CommandBarsResourceIds.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/CustomizeDropSource.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/ResourceManager.h"

#include "classlib/Geometry.h"
#include "classlib/ModalLoop.h"
#include "classlib/RefPtr.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>

namespace {

// How close to a control's left or right edge pixel the mouse must be to take hold of it.
constexpr int kResizeEdgeReach = 2;
// The tracker's edges are this thick.
constexpr int kTrackerThickness = 2;

BOOL IsOnResizeEdge(const CRect& rect, CPoint point)
{
    if (point.y < rect.top || point.y >= rect.bottom)
        return FALSE;
    return std::abs(point.x - rect.left) <= kResizeEdgeReach ||
           std::abs(point.x - (rect.right - 1)) <= kResizeEdgeReach;
}

// Inverts the four edges of the tracker; a second call with the same rectangle restores the screen.
void InvertTracker(HDC dc, const CRect& rect)
{
    const int t = kTrackerThickness;
    ::PatBlt(dc, rect.left, rect.top, rect.Width(), t, DSTINVERT);
    ::PatBlt(dc, rect.left, rect.bottom - t, rect.Width(), t, DSTINVERT);
    ::PatBlt(dc, rect.left, rect.top + t, t, rect.Height() - 2 * t, DSTINVERT);
    ::PatBlt(dc, rect.right - t, rect.top + t, t, rect.Height() - 2 * t, DSTINVERT);
}

// The screen while a tracker is drawn on it: updates of every window are held back, so the inverted pixels are not
// painted over and the second inversion restores what was there.
class ScreenTracker
{
public:
    explicit ScreenTracker(const CRect& rect) : m_rect(rect)
    {
        m_desktop = ::GetDesktopWindow();
        m_locked = ::LockWindowUpdate(m_desktop);
        m_dc = ::GetDCEx(m_desktop, nullptr, DCX_WINDOW | DCX_CACHE | (m_locked ? DCX_LOCKWINDOWUPDATE : 0));
        InvertTracker(m_dc, m_rect);
    }
    ~ScreenTracker()
    {
        InvertTracker(m_dc, m_rect);
        if (m_locked)
            ::LockWindowUpdate(nullptr);
        ::ReleaseDC(m_desktop, m_dc);
    }
    ScreenTracker(const ScreenTracker&) = delete;
    ScreenTracker& operator=(const ScreenTracker&) = delete;

    const CRect& GetRect() const { return m_rect; }
    void MoveTo(const CRect& rect)
    {
        if (rect == m_rect)
            return;
        InvertTracker(m_dc, m_rect);
        m_rect = rect;
        InvertTracker(m_dc, m_rect);
    }

private:
    HWND m_desktop = nullptr;
    BOOL m_locked = FALSE;
    HDC m_dc = nullptr;
    CRect m_rect;
};

// Sets the manager's customize selection again, so that the sheet and the bars hear of it once more.
void Reselect(COSMCommandBars* commandBars)
{
    CCmdTarget* selection = commandBars->GetCustomizeSelectionTarget();
    const RefPtr<CCmdTarget> keep = RefPtr<CCmdTarget>::Retain(selection);
    commandBars->SetCustomizeSelection(nullptr);
    commandBars->SetCustomizeSelection(selection);
}

}  // namespace

void COSMControl::OnCustomizeLButtonDown(CPoint point)
{
    COSMCommandBar* bar = m_parent;
    COSMCommandBars* commandBars = GetCommandBars();
    if (!bar || !commandBars)
        return;
    // The drag dispatches timers that may rebuild the bar and let go of this control: both live until the end.
    const RefPtr<COSMControl> keepThis = RefPtr<COSMControl>::Retain(this);
    const RefPtr<COSMCommandBar> keepBar = RefPtr<COSMCommandBar>::Retain(bar);

    if (bar->GetPopupedIndex() != -1 && bar->GetPopupedIndex() != m_index)
        bar->SetPopuped(-1, FALSE);
    bar->SetSelected(-1, COSMCommandBar::kSelectMouse);
    if (commandBars->GetCustomizeSelection() == this && IsCustomizeResizeAllowed() && CustomizeStartResize(point))
        return;
    commandBars->SetCustomizeSelection(this);
    if (m_flags & kFlagNoMovable)
        return;

    const int result = commandBars->GetDropSource()->DoDrag(this, FALSE);
    if (result != COSMCustomizeDropSource::kDropOutside && result != COSMCustomizeDropSource::kDropMoved)
    {
        Reselect(commandBars);
        return;
    }
    // Taken out only from the bar it was dragged from, and only while it is still there.
    COSMControls* controls = bar->GetControls();
    if (m_parent != bar || !controls || controls->GetAt(m_index) != this)
        return;
    bar->SetPopuped(-1, FALSE);
    bar->SetSelected(-1, COSMCommandBar::kSelectMouse);
    if (commandBars->GetCustomizeSelection() == this)
        commandBars->SetCustomizeSelection(nullptr);
    const int count = controls->GetCount();
    if (m_beginGroup && m_index < count - 1)
        controls->GetAt(m_index + 1)->SetBeginGroup(TRUE);
    if (m_index == 0 && count >= 2)
        controls->GetAt(1)->SetBeginGroup(FALSE);
    controls->Remove(this);
    bar->OnRecalcLayout();
    Reselect(commandBars);
}

void COSMControl::OnCustomizeMouseMove(CPoint point)
{
    if (IsCustomizeResizeAllowed() && IsOnResizeEdge(m_rect, point))
        ::SetCursor(GetResourceManager()->LoadCursor(IDC_OSM_CUSTOMIZE_RESIZE));
}

BOOL COSMControl::CustomizeStartResize(CPoint point)
{
    COSMCommandBar* bar = m_parent;
    COSMCommandBars* commandBars = GetCommandBars();
    if (!bar || !commandBars || !bar->GetSafeHwnd() || !IsOnResizeEdge(m_rect, point))
        return FALSE;
    const RefPtr<COSMControl> keepThis = RefPtr<COSMControl>::Retain(this);
    const RefPtr<COSMCommandBar> keepBar = RefPtr<COSMCommandBar>::Retain(bar);

    // The selection frame comes off first, so that it is not part of what the tracker inverts.
    commandBars->SetCustomizeSelection(nullptr);
    bar->Redraw(nullptr, FALSE);
    bar->UpdateWindow();
    bar->SetCapture();
    ::SetCursor(GetResourceManager()->LoadCursor(IDC_OSM_CUSTOMIZE_RESIZE));

    CRect start = m_rect;
    bar->ClientToScreen(&start);
    const BOOL leftEdge = point.x - m_rect.left <= kResizeEdgeReach;
    const int minWidth = std::max(GetCustomizeMinWidth(), 2 * kTrackerThickness);
    BOOL accepted = FALSE;
    int width = start.Width();
    {
        ScreenTracker tracker(start);
        CModalLoop loop;
        loop.EndOnCaptureLoss(bar->GetSafeHwnd()).EndOnEscape();
        loop.Run(nullptr, [&](MSG& msg) {
            if (msg.message == WM_MOUSEMOVE)
            {
                CPoint cursor(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
                ::ClientToScreen(msg.hwnd, &cursor);
                CRect rect = tracker.GetRect();
                if (leftEdge)
                    rect.left = std::min<LONG>(cursor.x, rect.right - minWidth);
                else
                    rect.right = std::max<LONG>(cursor.x, rect.left + minWidth);
                tracker.MoveTo(rect);
                return CModalLoop::Handled;
            }
            if (msg.message == WM_LBUTTONUP)
            {
                accepted = TRUE;
                width = tracker.GetRect().Width();
                return CModalLoop::Stop;
            }
            return CModalLoop::Dispatch;
        });
    }
    if (::GetCapture() == bar->GetSafeHwnd())
        ::ReleaseCapture();

    commandBars->SetCustomizeSelection(this);
    if (accepted && m_parent == bar)
    {
        // A control in a popup is measured with the popup's icon column added to its width.
        COSMPaintManager* paintManager = GetPaintManager();
        if (bar->IsPopupBar() && paintManager)
            width -= paintManager->GetPopupBarGripperWidth(bar);
        SetWidth(width);
        bar->OnRecalcLayout();
    }
    bar->Redraw(nullptr, FALSE);
    return TRUE;
}
