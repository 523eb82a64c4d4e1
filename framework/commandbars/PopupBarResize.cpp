// The resize gripper of a popup that holds a resizable gallery: its strip under the last control, the cursor over
// it, and the drag that sets the gallery's Width and Height while the popup follows.
#include "classlib/DC.h"
#include "classlib/Geometry.h"
#include "classlib/RefPtr.h"
#include "classlib/Wnd.h"
#include "framework/commandbars/PopupBar.h"

#include "framework/commandbars/Controls.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/ControlFactory.h"
#include "framework/foundation/ShadowManager.h"
#include "framework/commandbars/PaintManager.h"

#include <algorithm>

namespace {

const int kHeightOnlyGrip = 8;
const int kGrip = 11;
const int kResizeWidth = 0x01;
const int kResizeHeight = 0x02;
const int kResizeHeightOnly = kResizeHeight;

// A new WM_SETCURSOR for the place the cursor is at.
void ResetCursorWhereItIs()
{
    CPoint point;
    if (::GetCursorPos(&point))
        ::SetCursorPos(point.x, point.y);
}

}  // namespace

COSMControl* COSMPopupBar::GetResizableGallery() const
{
    for (int i = 0; i < GetControlCount(); ++i)
    {
        COSMControl* control = GetControl(i);
        if (control->GetType() == COSMControlFactory::kTypeGallery && control->IsVisible(COSMControl::kHideScroll))
            return control;
    }
    return nullptr;
}

int COSMPopupBar::PrepareResizeGripper()
{
    const COSMControl* gallery = GetResizableGallery();
    m_resizeMode = gallery ? gallery->IsCustomizeResizeAllowed() : 0;
    m_resizeGripperHeight = m_resizeMode == 0 ? 0 : m_resizeMode == kResizeHeightOnly ? kHeightOnlyGrip : kGrip;
    return m_resizeGripperHeight;
}

void COSMPopupBar::PlaceResizeGripper(CSize size)
{
    m_resizeGripperRect.SetRectEmpty();
    if (m_resizeGripperHeight == 0)
        return;
    const CRect borders = GetBorders();
    const int bottom = size.cy - borders.bottom;
    m_resizeGripperRect = CRect(borders.left, bottom - m_resizeGripperHeight, size.cx - borders.right, bottom);
}

BOOL COSMPopupBar::HitTestResizeGripper(CPoint point) const
{
    if (m_resizeMode == 0 || m_resizeGripperRect.IsRectEmpty() || !m_resizeGripperRect.PtInRect(point))
        return FALSE;
    if (m_resizeMode == kResizeHeightOnly)
        return TRUE;
    // Client coordinates of a mirrored window run right to left: the far end is the corner on either layout.
    return point.x >= m_resizeGripperRect.right - m_resizeGripperRect.Height();
}

BOOL COSMPopupBar::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    CPoint point;
    if (hitTest == HTCLIENT && ::GetCursorPos(&point))
    {
        ScreenToClient(&point);
        if (HitTestResizeGripper(point))
        {
            LPCSTR cursor = m_resizeMode == kResizeHeightOnly ? IDC_SIZENS
                            : IsLayoutRTL()                   ? IDC_SIZENESW
                                                              : IDC_SIZENWSE;
            ::SetCursor(::LoadCursor(nullptr, cursor));
            return TRUE;
        }
    }
    return CWnd::OnSetCursor(wnd, hitTest, message);
}

void COSMPopupBar::OnLButtonDown(UINT flags, CPoint point)
{
    const BOOL tearOff = HitTestTearOffGripper(point);
    if (!tearOff && !HitTestResizeGripper(point))
    {
        COSMCommandBar::OnLButtonDown(flags, point);
        return;
    }
    COSMMouseManager* mouse = GetMouseManager();
    mouse->Lock();
    if (tearOff)
    {
        ::SetCursor(::LoadCursor(nullptr, IDC_SIZEALL));
        TrackTearOff();
    }
    else
    {
        TrackResize();
    }
    mouse->Unlock();
    ResetCursorWhereItIs();
}

void COSMPopupBar::TrackResize()
{
    COSMControl* gallery = GetResizableGallery();
    if (::GetCapture() || !gallery || !GetSafeHwnd())
        return;
    // The popup may close while its loop dispatches: the references keep it and the gallery until the loop is left.
    const RefPtr<COSMPopupBar> keepPopup = RefPtr<COSMPopupBar>::Retain(this);
    const RefPtr<COSMControl> keepGallery = RefPtr<COSMControl>::Retain(gallery);
    const int mode = m_resizeMode;
    const int startWidth = gallery->GetWidth();
    const int startHeight = gallery->GetRect().Height();
    const int minWidth = gallery->GetCustomizeMinWidth();
    const int minHeight = gallery->GetCustomizeMinHeight();
    const BOOL rightToLeft = IsLayoutRTL();
    int width = startWidth;
    int height = startHeight;

    SetPopuped(-1, FALSE);
    SetSelected(-1, kSelectMouse);
    m_resizeTracking = TRUE;
    const DragEnd end = TrackDrag([&](CPoint previous, CPoint point) {
        width += rightToLeft ? previous.x - point.x : point.x - previous.x;
        height += point.y - previous.y;
        if (mode & kResizeWidth)
            gallery->SetWidth(std::max(minWidth, width));
        if (mode & kResizeHeight)
            gallery->SetHeight(std::max(minHeight, height));
        UpdateResizedLayout();
    });
    if (end == DragEnd::Escape)
    {
        if (mode & kResizeWidth)
            gallery->SetWidth(startWidth);
        if (mode & kResizeHeight)
            gallery->SetHeight(startHeight);
        UpdateResizedLayout();
    }
    m_resizeTracking = FALSE;
}

void COSMPopupBar::UpdateResizedLayout()
{
    if (m_inLayout || !GetSafeHwnd() || m_trackingMode == 0)
        return;
    const CSize size = CalcDynamicLayout(0, 0);
    CRect window;
    GetWindowRect(&window);
    const BOOL mirrored = (GetExStyle() & WS_EX_LAYOUTRTL) != 0;
    const CRect rect = mirrored ? CRect(window.right - size.cx, window.top, window.right, window.top + size.cy)
                                : CRect(window.TopLeft(), size);
    if (rect != window)
    {
        HideKeyboardTips();
        ::SetWindowRgn(m_hWnd, nullptr, FALSE);
        ::SetWindowPos(m_hWnd, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                       SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOZORDER | SWP_NOOWNERZORDER);
        COSMPaintManager* paintManager = GetPaintManager();
        if (paintManager)
            paintManager->SetCommandBarRegion(this);
        if (paintManager && paintManager->GetShadowManager())
            paintManager->GetShadowManager()->OffsetShadow(this, rect.Width() - window.Width(),
                                                           rect.Height() - window.Height());
    }
    Redraw(nullptr, TRUE);
}

void COSMPopupBar::DrawResizeGripper(CDC* dc)
{
    if (m_resizeGripperRect.IsRectEmpty())
        return;
    if (COSMPaintManager* paintManager = GetPaintManager())
        paintManager->DrawPopupResizeGripper(dc, m_resizeGripperRect, m_resizeMode);
}
