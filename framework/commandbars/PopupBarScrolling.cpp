// The popup bar's scrolling of menus taller than the work area, its mouse handling and its drawing additions.
#include "classlib/DC.h"
#include "classlib/Geometry.h"
#include "framework/commandbars/PopupBar.h"

#include "framework/commandbars/Controls.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/foundation/ColorManager.h"
#include "framework/commandbars/PaintManager.h"

#include <algorithm>

namespace {

const int kArrowHalfWidth = 3;

// A filled triangle of half-width 3 centred in the rectangle, pointing down or up.
void DrawScrollArrow(CDC* dc, const CRect& rect, BOOL down, COLORREF color)
{
    const CPoint centre = rect.CenterPoint();
    const int base = down ? centre.y - 1 : centre.y + 1;
    const int tip = down ? centre.y + kArrowHalfWidth - 1 : centre.y - kArrowHalfWidth + 1;
    POINT points[] = {{centre.x - kArrowHalfWidth, base}, {centre.x + kArrowHalfWidth, base}, {centre.x, tip}};
    HBRUSH brush = ::CreateSolidBrush(color);
    HPEN pen = ::CreatePen(PS_SOLID, 1, color);
    HGDIOBJ oldBrush = ::SelectObject(dc->GetSafeHdc(), brush);
    HGDIOBJ oldPen = ::SelectObject(dc->GetSafeHdc(), pen);
    ::Polygon(dc->GetSafeHdc(), points, 3);
    ::SelectObject(dc->GetSafeHdc(), oldBrush);
    ::SelectObject(dc->GetSafeHdc(), oldPen);
    ::DeleteObject(brush);
    ::DeleteObject(pen);
}

}  // namespace

void COSMPopupBar::LayoutScrolled(CSize size, BOOL fromTop, BOOL redraw)
{
    if (size.cx == 0 && size.cy == 0 && GetSafeHwnd())
    {
        CRect client;
        GetClientRect(&client);
        size = client.Size();
    }
    m_scrollDown.rect.SetRectEmpty();
    m_scrollUp.rect.SetRectEmpty();
    // The expand button stays at the foot, out of the scrolled slice.
    if (COSMControl* expandButton = GetExpandButton())
        expandButton->SetHideFlags(expandButton->GetHideFlags() | COSMControl::kHideHidden);
    int separator = 0;
    if (COSMPaintManager* paintManager = GetPaintManager())
    {
        HDC screen = ::GetDC(nullptr);
        separator = paintManager->DrawCommandBarSeparator(CDC::FromHandle(screen), this, nullptr, FALSE).cy;
        ::ReleaseDC(nullptr, screen);
    }
    CRect borders = GetBorders();
    borders.top += m_tearOffGripperHeight;
    borders.bottom += m_resizeGripperHeight + m_expandButtonHeight;
    const int count = GetControlCount();
    const int left = borders.left;
    const int right = size.cx - borders.right;
    const int bottom = size.cy - borders.bottom;
    const auto heightOf = [separator](COSMControl* control) {
        return control->GetRect().Height() + (control->GetBeginGroup() ? separator : 0);
    };
    const auto place = [separator](COSMControl* control, int left, int top, int right, int height) {
        const int gap = control->GetBeginGroup() ? separator : 0;
        control->SetRect(CRect(left, top + gap, right, top + height));
    };
    const auto setScrollHidden = [](COSMControl* control, BOOL hidden) {
        const DWORD flags = control->GetHideFlags();
        const DWORD wanted = hidden ? flags | COSMControl::kHideScroll : flags & ~COSMControl::kHideScroll;
        if (wanted != flags)
            control->SetHideFlags(wanted);
    };

    if (fromTop)
    {
        m_firstVisibleIndex = std::max(0, std::min(m_firstVisibleIndex, count - 1));
        int y = borders.top;
        if (m_firstVisibleIndex != 0)
        {
            m_scrollUp.rect = CRect(left, y, right, y + kScrollButtonHeight);
            y += kScrollButtonHeight;
        }
        for (int i = 0; i < m_firstVisibleIndex; ++i)
            setScrollHidden(GetControl(i), TRUE);
        int index = m_firstVisibleIndex;
        BOOL placed = FALSE;
        for (; index < count; ++index)
        {
            COSMControl* control = GetControl(index);
            setScrollHidden(control, FALSE);
            if (!control->IsVisible(0))
                continue;
            int height = heightOf(control);
            if (y + height > bottom - kScrollButtonHeight && index + 1 < count)
            {
                if (placed)
                    break;
                height = std::max(0, bottom - kScrollButtonHeight - y);
            }
            place(control, left, y, right, height);
            y += height;
            placed = TRUE;
        }
        m_endVisibleIndex = index;
        for (; index < count; ++index)
            setScrollHidden(GetControl(index), TRUE);
        if (m_endVisibleIndex != count)
            m_scrollDown.rect = CRect(left, bottom - kScrollButtonHeight, right, bottom);
    }
    else
    {
        m_endVisibleIndex = std::max(1, std::min(m_endVisibleIndex, count));
        int y = bottom;
        if (m_endVisibleIndex < count)
        {
            m_scrollDown.rect = CRect(left, bottom - kScrollButtonHeight, right, bottom);
            y -= kScrollButtonHeight;
        }
        for (int i = m_endVisibleIndex; i < count; ++i)
            setScrollHidden(GetControl(i), TRUE);
        int index = m_endVisibleIndex - 1;
        BOOL placed = FALSE;
        for (; index >= 0; --index)
        {
            COSMControl* control = GetControl(index);
            setScrollHidden(control, FALSE);
            if (!control->IsVisible(0))
                continue;
            const int height = heightOf(control);
            if (placed && y - height < borders.top + (index > 0 ? kScrollButtonHeight : 0))
                break;
            place(control, left, y - height, right, height);
            y -= height;
            placed = TRUE;
        }
        m_firstVisibleIndex = index + 1;
        for (; index >= 0; --index)
            setScrollHidden(GetControl(index), TRUE);
        if (m_firstVisibleIndex != 0)
            m_scrollUp.rect = CRect(left, borders.top, right, borders.top + kScrollButtonHeight);
    }
    PlaceExpandButton(size);
    PlaceResizeGripper(size);
    PlaceTearOffGripper(size);
    if (redraw)
        Redraw(nullptr, TRUE);
}

BOOL COSMPopupBar::SetSelected(int index, int how)
{
    if (m_scrolling && index >= 0 && index < GetControlCount() &&
        (GetControl(index)->GetHideFlags() & COSMControl::kHideScroll))
    {
        if (index < m_endVisibleIndex)
        {
            m_firstVisibleIndex = index;
            LayoutScrolled(CSize(0, 0), TRUE, TRUE);
        }
        else
        {
            m_endVisibleIndex = index + 1;
            LayoutScrolled(CSize(0, 0), FALSE, TRUE);
        }
    }
    if (!COSMCommandBar::SetSelected(index, how))
        return FALSE;
    UpdateExpandTimer(index, how);
    return TRUE;
}

void COSMPopupBar::OnMouseMove(UINT flags, CPoint point)
{
    if (m_trackLockCount > 0)
        return;
    if (COSMCommandBar* parent = GetParentCommandBar(); parent && m_controlPopup && GetSafeHwnd())
    {
        CRect client;
        GetClientRect(&client);
        // The parent keeps the opening item highlighted while the user works in this popup.
        if (client.PtInRect(point))
            parent->SetSelected(m_controlPopup->GetIndex(), kSelectMouse);
    }
    if (m_scrolling)
    {
        const struct
        {
            ScrollButton& button;
            UINT_PTR id;
        } buttons[] = {{m_scrollDown, kTimerScrollDown}, {m_scrollUp, kTimerScrollUp}};
        BOOL overButton = FALSE;
        for (const auto& b : buttons)
        {
            if (!b.button.rect.IsRectEmpty() && b.button.rect.PtInRect(point))
            {
                overButton = TRUE;
                if (!b.button.timer)
                    b.button.timer = SetTimer(b.id, kScrollPeriod, nullptr);
            }
            else if (b.button.timer)
            {
                KillTimer(b.id);
                b.button.timer = 0;
            }
        }
        if (overButton)
        {
            SetPopuped(-1, FALSE);
            return;
        }
    }
    TrackTearOffHot(point);
    COSMCommandBar::OnMouseMove(flags, point);
}

void COSMPopupBar::OnTimer(UINT_PTR id)
{
    if (id == kTimerScrollDown)
    {
        if (m_scrolling && m_endVisibleIndex < GetControlCount())
        {
            ++m_endVisibleIndex;
            LayoutScrolled(CSize(0, 0), FALSE, TRUE);
        }
        if (!m_scrolling || m_endVisibleIndex >= GetControlCount())
        {
            KillTimer(kTimerScrollDown);
            m_scrollDown.timer = 0;
        }
        return;
    }
    if (id == kTimerScrollUp)
    {
        if (m_scrolling && m_firstVisibleIndex > 0)
        {
            --m_firstVisibleIndex;
            LayoutScrolled(CSize(0, 0), TRUE, TRUE);
        }
        if (!m_scrolling || m_firstVisibleIndex <= 0)
        {
            KillTimer(kTimerScrollUp);
            m_scrollUp.timer = 0;
        }
        return;
    }
    if (id == kTimerTearOffHot)
    {
        OnTearOffHotTimer();
        return;
    }
    if (id == kTimerExpandButton)
    {
        OnExpandTimer();
        return;
    }
    COSMCommandBar::OnTimer(id);
}

void COSMPopupBar::DrawCommandBar(CDC* dc, CRect clip)
{
    COSMCommandBar::DrawCommandBar(dc, clip);
    if (dc)
    {
        DrawResizeGripper(dc);
        DrawTearOffGripper(dc);
    }
    if (!dc || !m_scrolling)
        return;
    const COLORREF color = GetColorManager()->GetColor(COLOR_BTNTEXT);
    if (!m_scrollDown.rect.IsRectEmpty())
        DrawScrollArrow(dc, m_scrollDown.rect, TRUE, color);
    if (!m_scrollUp.rect.IsRectEmpty())
        DrawScrollArrow(dc, m_scrollUp.rect, FALSE, color);
}
