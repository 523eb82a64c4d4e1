#include "framework/controls/ControlGallery.h"

#include "classlib/DC.h"
#include "classlib/Wnd.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/ControlAction.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/controls/ControlGalleryItems.h"
#include "framework/controls/ControlGalleryPaintManager.h"
#include "framework/foundation/PropExchange.h"
#include "framework/foundation/ToolTipContext.h"

#include <algorithm>
#include <cstdlib>

IMPLEMENT_SERIAL(COSMControlGallery, COSMControlPopup, VERSIONABLE_SCHEMA | 0x22)

namespace {

const int kGalleryWidth = 120;
const int kGalleryHeight = 60;
const DWORD kGalleryFlags = 64;
// The smallest width and height a resizable gallery keeps.
const int kGalleryMinItemWidth = 16;
const int kGalleryMinHeight = 32;
// "Resizable" is stored from this schema on.
const long kGalleryResizableSchema = 23;
// Styles that show the gallery as a plain button.
const int kGalleryButtonStyleA = 2;
const int kGalleryButtonStyleB = 4;

}  // namespace

COSMControlGallery::COSMControlGallery()
{
    m_type = kType;
    m_width = kGalleryWidth;
    m_height = kGalleryHeight;
    m_flags = kGalleryFlags;
    m_geometry.vertical = TRUE;
}

// ---- Items ----

COSMControlGalleryItems* COSMControlGallery::GetItems() const
{
    CCmdTarget* object = m_action ? m_action->GetReferencedObject() : nullptr;
    if (!object || !object->IsKindOf(RUNTIME_CLASS(COSMControlGalleryItems)))
        return nullptr;
    return static_cast<COSMControlGalleryItems*>(object);
}

int COSMControlGallery::GetItemCount() const
{
    const COSMControlGalleryItems* items = GetItems();
    return items ? items->GetItemCount() : 0;
}

COSMControlGalleryItem* COSMControlGallery::GetItem(int index) const
{
    const COSMControlGalleryItems* items = GetItems();
    return items ? items->GetItem(index) : nullptr;
}

CString COSMControlGallery::GetItemCaption(int index) const
{
    const COSMControlGalleryItem* item = GetItem(index);
    return item ? item->GetCaption() : CString();
}

BOOL COSMControlGallery::IsItemLabel(int index) const
{
    const COSMControlGalleryItem* item = GetItem(index);
    return item && item->IsLabel();
}

BOOL COSMControlGallery::IsItemChecked(COSMControlGalleryItem* item) const
{
    return item && m_checkedId != -1 && item->GetID() == m_checkedId;
}

void COSMControlGallery::SetCheckedItemId(int id)
{
    if (id == m_checkedId)
        return;
    m_checkedId = id;
    RedrawControl();
}

BOOL COSMControlGallery::IsShowAsButton() const
{
    const int style = GetStyle();
    return style == kGalleryButtonStyleA || style == kGalleryButtonStyleB;
}

COSMControlGalleryPaintManager* COSMControlGallery::GetGalleryPaintManager() const
{
    COSMPaintManager* paintManager = GetPaintManager();
    return paintManager ? dynamic_cast<COSMControlGalleryPaintManager*>(paintManager->GetGalleryPaintManager())
                        : nullptr;
}

HWND COSMControlGallery::GetParentBarWindow() const
{
    return m_parent ? m_parent->GetSafeHwnd() : nullptr;
}

// ---- Layout ----

BOOL COSMControlGallery::HasFollowingControl() const
{
    if (!m_parent || m_parent->GetType() != COSMCommandBar::kTypePopup || m_showBorders)
        return FALSE;
    const COSMControls* controls = m_parent->GetControls();
    return controls && controls->GetNext(m_index, 1) > m_index;
}

CRect COSMControlGallery::GetBorders() const
{
    CRect borders = m_showBorders ? CRect(1, 1, 1, 1) : CRect(0, 0, 0, 0);
    if (m_parent && m_showScrollBar)
    {
        const COSMControlGalleryPaintManager* painter = GetGalleryPaintManager();
        if (HasPopupBar())
            borders.right +=
                painter ? painter->GetScrollColumnWidth() : COSMControlGalleryPaintManager::kScrollColumnWidth;
        else
            borders.right += painter ? painter->GetVerticalThickness() : ::GetSystemMetrics(SM_CXVSCROLL);
    }
    if (HasFollowingControl())
        borders.bottom = 2;
    borders.left += m_margin.left;
    borders.top += m_margin.top;
    borders.right += m_margin.right;
    borders.bottom += m_margin.bottom;
    return borders;
}

CRect COSMControlGallery::GetItemsRect() const
{
    const CRect borders = GetBorders();
    return CRect(m_rect.left + borders.left, m_rect.top + borders.top, m_rect.right - borders.right,
                 m_rect.bottom - borders.bottom);
}

void COSMControlGallery::SetRect(const CRect& rect)
{
    const BOOL changed = !SameValue(m_rect, rect);
    COSMControlPopup::SetRect(rect);
    if (changed)
        Reposition();
}

void COSMControlGallery::SetAction(COSMControlAction* action)
{
    COSMControlPopup::SetAction(action);
    Reposition();
}

void COSMControlGallery::Reposition()
{
    if (!m_parent || IsShowAsButton())
        return;
    const CRect area = GetItemsRect();
    const COSMControlGalleryItems* items = GetItems();
    const int count = items ? items->GetItemCount() : 0;
    m_positions.clear();
    if (count == 0)
        m_positions.shrink_to_fit();
    m_positions.resize(count);

    int x = area.left;
    int y = area.top;
    int rowHeight = 0;
    BOOL firstInRow = TRUE;
    for (int i = 0; i < count; ++i)
    {
        COSMControlGalleryItem* item = items->GetItem(i);
        GalleryItemPosition& position = m_positions[i];
        position.item = item;
        position.beginRow = FALSE;
        position.rect.SetRectEmpty();
        if (item->IsLabel())
        {
            if (!m_showLabels)
                continue;
            if (!firstInRow)
                y += rowHeight;
            position.rect = CRect(area.left, y, area.right, y + kLabelHeight);
            position.beginRow = TRUE;
            y += kLabelAdvance;
            rowHeight = 0;
            x = area.left;
            firstInRow = TRUE;
            continue;
        }
        CSize size(0, 0);
        item->GetSize(&size);
        if (size.cx == 0)
            size.cx = area.Width();
        if (firstInRow)
        {
            position.beginRow = TRUE;
        }
        else if (x + size.cx > area.right)
        {
            y += rowHeight;
            x = area.left;
            rowHeight = 0;
            position.beginRow = TRUE;
        }
        position.rect = CRect(x, y, x + size.cx, y + size.cy);
        rowHeight = std::max(rowHeight, static_cast<int>(size.cy));
        firstInRow = FALSE;
        x += size.cx;
    }
    if (!firstInRow)
        y += rowHeight;
    m_contentHeight = y - area.top;

    if (m_scrollPos > m_contentHeight - area.Height())
        m_scrollPos = std::max(0, m_contentHeight - area.Height());
    RecalcScrollBar();
}

int COSMControlGallery::HitTestItem(int x, int y, RECT* out) const
{
    const CPoint point(x, y);
    if (!GetItemsRect().PtInRect(point))
        return -1;
    for (size_t i = 0; i < m_positions.size(); ++i)
    {
        CRect rect = m_positions[i].rect;
        if (rect.IsRectEmpty())
            continue;
        rect.OffsetRect(0, -m_scrollPos);
        if (rect.PtInRect(point))
        {
            if (out)
                *out = rect;
            return static_cast<int>(i);
        }
    }
    return -1;
}

CRect COSMControlGallery::GetItemDrawRect(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_positions.size()))
        return CRect();
    CRect rect = m_positions[index].rect;
    rect.OffsetRect(0, -m_scrollPos);
    CRect clipped;
    const CRect area = GetItemsRect();
    if (!clipped.IntersectRect(&rect, &area))
        return CRect();
    return clipped;
}

void COSMControlGallery::RedrawControl(const RECT* rect, BOOL animate)
{
    if (!m_parent)
        return;
    const CRect whole = m_rect;
    m_parent->Redraw(rect ? rect : &whole, animate);
}

void COSMControlGallery::RedrawItem(int index)
{
    const CRect rect = GetItemDrawRect(index);
    if (!rect.IsRectEmpty())
        RedrawControl(&rect, FALSE);
}

// ---- Drawing ----

void COSMControlGallery::FillControl(CDC* dc)
{
    if (COSMControlGalleryPaintManager* painter = GetGalleryPaintManager())
        painter->FillControl(dc, this, m_rect);
}

void COSMControlGallery::Draw(CDC* dc)
{
    if (IsShowAsButton())
    {
        COSMControlPopup::Draw(dc);
        return;
    }
    FillControl(dc);
    COSMControlGalleryItems* items = GetItems();
    const CRect area = GetItemsRect();
    if (items && !area.IsRectEmpty())
    {
        // The clip is in logical units; SaveDC brings the caller's clip back afterwards.
        const int saved = ::SaveDC(dc->m_hDC);
        ::IntersectClipRect(dc->m_hDC, area.left, area.top, area.right, area.bottom);
        const int selected = m_hideSelection ? -1 : m_selectedItem;
        const BOOL enabled = GetEnabled() != 0;
        for (size_t i = 0; i < m_positions.size(); ++i)
        {
            CRect rect = m_positions[i].rect;
            rect.OffsetRect(0, -m_scrollPos);
            if (rect.bottom < area.top || rect.IsRectEmpty())
                continue;
            if (rect.top > area.bottom)
                break;
            COSMControlGalleryItem* item = m_positions[i].item;
            const BOOL isSelected = static_cast<int>(i) == selected;
            const BOOL pressed = isSelected && m_pressed;
            const BOOL checked = IsItemChecked(item);
            if (!items->DrawItem(dc, this, item, rect, enabled, isSelected, pressed, checked))
                item->Draw(dc, this, rect, enabled, isSelected, pressed, checked);
        }
        ::RestoreDC(dc->m_hDC, saved);
    }
    if (!m_showScrollBar)
        return;
    COSMControlGalleryPaintManager* painter = GetGalleryPaintManager();
    if (!painter)
        return;
    if (!m_track)
        RecalcScrollBar();
    if (HasPopupBar())
        painter->DrawPopupScrollBar(dc, this);
    else
        painter->DrawScrollBar(dc, this);
}

// ---- Mouse ----

void COSMControlGallery::TrackItem(CPoint point)
{
    int hit = -1;
    if (GetEnabled() != 0 && !IsShowAsButton())
    {
        hit = HitTestItem(point.x, point.y);
        if (IsItemLabel(hit))
            hit = -1;
    }
    if (hit == -1 && m_keyboardSelected)
        return;
    if (point == CPoint(-1, -1) && m_selectedItem != -1)
    {
        HideSelection();
        return;
    }
    if (hit != m_selectedItem || m_hideSelection || m_keyboardSelected)
    {
        const int old = m_selectedItem;
        m_selectedItem = hit;
        m_hideSelection = FALSE;
        m_keyboardSelected = FALSE;
        m_pressed = FALSE;
        const COSMControlGalleryItems* items = GetItems();
        if (items && items->IsChangedItemsOnly())
        {
            RedrawItem(old);
            RedrawItem(hit);
        }
        else
        {
            RedrawControl();
        }
        if (!m_preview && m_selectedItem != -1 && m_parent && m_parent->GetSafeHwnd())
            m_parent->SetTimer(COSMCommandBar::kTimerHover, kPreviewHoverDelay, nullptr);
        if (m_preview)
        {
            NotifySite(kNotifyPreviewChange);
            if (m_selectedItem == -1)
            {
                m_preview = FALSE;
                NotifySite(kNotifyPreviewCancel);
            }
        }
        OnSelectedItemChanged();
    }
    if (m_pressed && m_pressPoint != CPoint(0, 0) &&
        (std::abs(point.x - m_pressPoint.x) >= kDragDistance || std::abs(point.y - m_pressPoint.y) >= kDragDistance))
    {
        m_pressPoint = CPoint(0, 0);
        NotifySite(kNotifyBeginDrag);
    }
}

void COSMControlGallery::OnMouseMove(CPoint point)
{
    if (IsShowAsButton())
    {
        COSMControlPopup::OnMouseMove(point);
        return;
    }
    TrackItem(point);
    if (m_track)
        return;
    const int hit = HitTestScrollBar(point);
    if (hit != m_geometry.hitPart)
    {
        m_geometry.hitPart = hit;
        RedrawControl();
    }
}

void COSMControlGallery::OnClick(BOOL keyboard, CPoint point)
{
    if (IsCustomizeMode())
    {
        if (m_parent)
        {
            m_parent->SetPopuped(-1, FALSE);
            m_parent->SetSelected(-1, COSMCommandBar::kSelectMouse);
        }
        COSMControlPopup::OnClick(keyboard, point);
        return;
    }
    if (IsShowAsButton())
    {
        COSMControlPopup::OnClick(keyboard, point);
        return;
    }
    if (GetEnabled() == 0 || keyboard || !m_parent)
        return;
    OnMouseMove(point);
    const int part = m_geometry.hitPart;
    if (part == kHitPopup)
    {
        m_parent->SetPopuped(m_index, FALSE);
    }
    else if (part >= kHitFirstArrow && part <= kHitThumb)
    {
        // The press runs its own loop; the bar keeps the gallery while it does.
        const RefPtr<COSMControl> keepAlive = RefPtr<COSMControl>::Retain(this);
        PerformTrackInit(m_parent->GetSafeHwnd(), point, &m_geometry, ::GetKeyState(VK_SHIFT) < 0);
    }
    else
    {
        m_parent->SetPopuped(-1, FALSE);
        if (m_selectedItem != -1 && !m_keyboardSelected)
        {
            m_pressed = TRUE;
            m_pressPoint = point;
            RedrawControl();
        }
    }
}

void COSMControlGallery::OnLButtonUp(CPoint point)
{
    if (IsShowAsButton())
    {
        COSMControlPopup::OnLButtonUp(point);
        return;
    }
    const BOOL visibleSelection = m_selectedItem != -1 && !m_hideSelection;
    // In a menu the release chooses, wherever the press was; on a toolbar only a press on the gallery counts.
    if (!m_pressed && !(m_parent && m_parent->GetPosition() == COSMCommandBar::kPositionPopup && visibleSelection))
        return;
    m_pressed = FALSE;
    RedrawControl();
    if (visibleSelection)
        OnExecute();
}

void COSMControlGallery::OnMouseHover()
{
    if (IsShowAsButton())
    {
        COSMControlPopup::OnMouseHover();
        return;
    }
    if (m_selectedItem != -1 && !m_hideSelection && !m_preview && GetSelected())
    {
        m_preview = TRUE;
        NotifySite(kNotifyPreviewStart);
        NotifySite(kNotifyPreviewChange);
    }
    if (m_parent && m_parent->GetHoverSelect())
        COSMControlPopup::OnMouseHover();
}

void COSMControlGallery::OnExecute()
{
    if (m_preview)
    {
        m_preview = FALSE;
        NotifySite(kNotifyPreviewApply);
    }
    COSMControlPopup::OnExecute();
}

BOOL COSMControlGallery::OnSetPopup(BOOL popup)
{
    if (m_preview)
    {
        m_preview = FALSE;
        NotifySite(kNotifyPreviewCancel);
    }
    return COSMControlPopup::OnSetPopup(popup);
}

// ---- Selection ----

void COSMControlGallery::OnSelectedItemChanged()
{
    NotifySite(kNotifySelectionChanged);
}

void COSMControlGallery::HideSelection()
{
    m_hideSelection = TRUE;
    if (m_preview)
    {
        m_preview = FALSE;
        NotifySite(kNotifyPreviewCancel);
    }
    RedrawControl();
}

void COSMControlGallery::SetSelectedItem(int index)
{
    const int old = m_selectedItem;
    m_hideSelection = FALSE;
    m_pressed = FALSE;
    m_selectedItem = index;
    m_keyboardSelected = TRUE;
    const COSMControlGalleryItems* items = GetItems();
    const BOOL changedOnly = items && items->IsChangedItemsOnly();
    if (changedOnly)
        RedrawItem(old);
    EnsureVisible(index);
    if (changedOnly)
        RedrawItem(index);
    else
        RedrawControl();
    if (index != -1)
    {
        AccessibleNotifyWinEvent(EVENT_OBJECT_FOCUS, GetParentBarWindow(), static_cast<LONG>(m_id), index + 1);
        if (!m_preview)
        {
            m_preview = TRUE;
            NotifySite(kNotifyPreviewStart);
        }
        NotifySite(kNotifyPreviewChange);
    }
    else if (m_preview)
    {
        m_preview = FALSE;
        NotifySite(kNotifyPreviewCancel);
    }
    OnSelectedItemChanged();
}

BOOL COSMControlGallery::SetSelected(int selected)
{
    if (IsShowAsButton())
        return COSMControlPopup::SetSelected(selected);
    if (selected == 0)
    {
        m_pressed = FALSE;
        if (!m_track)
            m_geometry.hitPart = kHitNone;
        HideSelection();
    }
    else if ((selected == COSMCommandBar::kSelectForward || selected == COSMCommandBar::kSelectBackward) &&
             (m_selectedItem == -1 || m_hideSelection))
    {
        if (HasPopupBar())
            SetSelectedItem(-1);
        else
            SetSelectedItem(GetNextItem(-1, selected == COSMCommandBar::kSelectForward ? 1 : -1));
    }
    return COSMControlPopup::SetSelected(selected);
}

BOOL COSMControlGallery::IsFocused() const
{
    return IsShowAsButton() ? FALSE : GetSelected() != 0;
}

// ---- Sizes ----

CSize COSMControlGallery::GetSize(CDC* dc)
{
    if (IsShowAsButton())
    {
        // The button's own measure, not the gallery's.
        const int width = m_width;
        const int height = m_height;
        m_width = 0;
        m_height = 0;
        const CSize size = COSMControlPopup::GetSize(dc);
        m_width = width;
        m_height = height;
        return size;
    }
    CSize size(m_width, m_height);
    if (m_resizable && GetItems())
        size.cx = std::max(static_cast<int>(size.cx), GetCustomizeMinWidth());
    return size;
}

int COSMControlGallery::GetCustomizeMinWidth() const
{
    const COSMControlGalleryItems* items = GetItems();
    if (!m_parent || !items)
        return 0;
    // The drop-down of a gallery is never narrower than the gallery that opened it.
    if (m_parent->IsKindOf(RUNTIME_CLASS(COSMPopupBar)))
    {
        const COSMControl* opener = static_cast<COSMPopupBar*>(m_parent)->GetControlPopup();
        if (opener && opener->GetType() == kType)
            return opener->GetRect().Width();
    }
    const CRect borders = GetBorders();
    return std::max(static_cast<int>(items->GetItemSize().cx), kGalleryMinItemWidth) +
           static_cast<int>(borders.left + borders.right);
}

int COSMControlGallery::GetCustomizeMinHeight() const
{
    const COSMControlGalleryItems* items = GetItems();
    if (!m_parent || !items)
        return 0;
    const CRect borders = GetBorders();
    return std::max(static_cast<int>(items->GetItemSize().cy + borders.top + borders.bottom), kGalleryMinHeight);
}

BOOL COSMControlGallery::IsCustomizeResizeAllowed() const
{
    if (IsShowAsButton() || !GetItems())
        return FALSE;
    return m_resizable;
}

void COSMControlGallery::AdjustExcludeRect(CRect& rect, BOOL vertical)
{
    if (IsShowAsButton())
    {
        COSMControlPopup::AdjustExcludeRect(rect, vertical);
        return;
    }
    rect = CRect(rect.left - 1, rect.top, rect.left - 1, rect.top);
}

INT_PTR COSMControlGallery::OnToolHitTest(CPoint point, TOOLINFOA* info) const
{
    const COSMControlGalleryItems* items = GetItems();
    if (IsShowAsButton() || !items)
        return -1;
    const int index = HitTestItem(point.x, point.y);
    const COSMControlGalleryItem* item = items->GetItem(index);
    if (!item)
        return 0;
    const int toolId = item->GetAlternativeID() >= 0 ? item->GetAlternativeID() : item->GetID();
    COSMToolTipContext::FillToolInfoEx(info, GetParentBarWindow(), GetItemDrawRect(index),
                                       static_cast<UINT_PTR>(toolId), item->GetTooltip(), item->GetTooltip(),
                                       item->GetDescription(), items->GetImageManager());
    return toolId;
}

// ---- Storing and copying ----

void COSMControlGallery::DoPropExchange(COSMPropExchange* px)
{
    COSMControlPopup::DoPropExchange(px);
    PropExchangeBool(px, "ShowLabels", &m_showLabels, TRUE);
    PropExchangeBool(px, "ShowBorders", &m_showBorders, TRUE);
    PropExchangeBool(px, "ShowScrollBar", &m_showScrollBar, TRUE);
    RECT margin = m_margin;
    PropExchangeRect(px, "GalleryMargin", &margin, RECT{0, 0, 0, 0});
    if (px->IsLoading())
        m_margin = margin;
    if (px->m_nSchema > kGalleryResizableSchema)
    {
        long resizable = m_resizable;
        PropExchangeLong(px, "Resizable", &resizable, 0);
        if (px->IsLoading())
            m_resizable = static_cast<int>(resizable);
    }
}

void COSMControlGallery::Copy(const COSMControl* source, BOOL recursive)
{
    COSMControlPopup::Copy(source, recursive);
    const auto* gallery = dynamic_cast<const COSMControlGallery*>(source);
    if (!gallery)
        return;
    m_showLabels = gallery->m_showLabels;
    m_showBorders = gallery->m_showBorders;
    m_showScrollBar = gallery->m_showScrollBar;
    m_margin = gallery->m_margin;
    m_resizable = gallery->m_resizable;
}

COSMControl* COSMControlGallery::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMControlGallery*>(GetRuntimeClass()->CreateObject());
    clone->Copy(this, recursive);
    return clone;
}
