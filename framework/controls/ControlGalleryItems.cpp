#include "framework/controls/ControlGalleryItems.h"

#include "classlib/DC.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/controls/ControlGallery.h"
#include "framework/controls/ControlGalleryPaintManager.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/ImageManagerIcon.h"

#include <algorithm>

// ---- The item ----

COSMControlGalleryItem::~COSMControlGalleryItem() = default;

void COSMControlGalleryItem::GetSize(SIZE* size) const
{
    if (m_label || !m_items)
    {
        size->cx = 0;
        size->cy = m_items && !m_label ? m_items->GetItemSize().cy : COSMControlGallery::kLabelHeight;
        return;
    }
    const CSize itemSize = m_items->GetItemSize();
    size->cx = itemSize.cx;
    size->cy = itemSize.cy;
}

void COSMControlGalleryItem::Draw(CDC* dc, COSMControlGallery* gallery, CRect rect, BOOL enabled, BOOL selected,
                                  BOOL pressed, BOOL checked)
{
    COSMPaintManager* paintManager = gallery->GetPaintManager();
    if (m_label)
    {
        if (COSMControlGalleryPaintManager* painter = gallery->GetGalleryPaintManager())
            painter->DrawLabel(dc, this, rect);
        return;
    }
    if (!paintManager)
        return;
    paintManager->DrawStateRectangle(dc, rect, selected, pressed, enabled, checked, FALSE, 1, 5);
    COSMImageManager* images = m_items ? m_items->GetImageManager() : nullptr;
    const int iconWidth = std::min(rect.Width(), rect.Height());
    COSMImageManagerIcon* icon =
        images && m_id > 0 ? images->GetImage(static_cast<UINT>(m_id), iconWidth > 0 ? iconWidth : 16) : nullptr;
    if (icon)
    {
        const CSize size(icon->GetWidth(), icon->GetHeight());
        const CPoint corner(rect.left + (rect.Width() - size.cx) / 2, rect.top + (rect.Height() - size.cy) / 2);
        paintManager->DrawControlImage(dc, corner, size, icon, selected, pressed, enabled, checked, FALSE, FALSE);
        return;
    }
    const COLORREF oldColor =
        ::SetTextColor(dc->m_hDC, paintManager->GetStateTextColor(selected, pressed, enabled, checked, FALSE, 1, 5));
    const int oldMode = ::SetBkMode(dc->m_hDC, TRANSPARENT);
    const HGDIOBJ oldFont = ::SelectObject(dc->m_hDC, paintManager->GetRegularFont().GetSafeHandle());
    ::DrawTextA(dc->m_hDC, m_caption, m_caption.GetLength(), &rect,
                DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    ::SelectObject(dc->m_hDC, oldFont);
    ::SetBkMode(dc->m_hDC, oldMode);
    ::SetTextColor(dc->m_hDC, oldColor);
}

// ---- The collection ----

IMPLEMENT_DYNCREATE(COSMControlGalleryItems, CCmdTarget)

COSMControlGalleryItems::COSMControlGalleryItems() = default;

COSMControlGalleryItems::~COSMControlGalleryItems() = default;

BOOL COSMControlGalleryItems::DrawItem(CDC* dc, COSMControlGallery* gallery, COSMControlGalleryItem* item, CRect rect,
                                       BOOL enabled, BOOL selected, BOOL pressed, BOOL checked)
{
    return FALSE;
}

COSMControlGalleryItem* COSMControlGalleryItems::InsertItem(int index, COSMControlGalleryItem* item)
{
    if (!item)
        return nullptr;
    index = std::max(0, std::min(index, GetItemCount()));
    item->m_items = this;
    m_items.insert(m_items.begin() + index, std::unique_ptr<COSMControlGalleryItem>(item));
    return item;
}

COSMControlGalleryItem* COSMControlGalleryItems::AddItem(int id, const CString& caption)
{
    auto* item = new COSMControlGalleryItem;
    item->SetID(id);
    item->SetCaption(caption);
    return InsertItem(GetItemCount(), item);
}

COSMControlGalleryItem* COSMControlGalleryItems::AddLabel(const CString& caption)
{
    auto* item = new COSMControlGalleryItem;
    item->SetLabel(TRUE);
    item->SetCaption(caption);
    return InsertItem(GetItemCount(), item);
}

void COSMControlGalleryItems::Remove(int index)
{
    if (index < 0 || index >= GetItemCount())
        return;
    m_items.erase(m_items.begin() + index);
}

void COSMControlGalleryItems::RemoveAll()
{
    m_items.clear();
}

COSMControlGalleryItem* COSMControlGalleryItems::GetItem(int index) const
{
    if (index < 0 || index >= GetItemCount())
        return nullptr;
    return m_items[static_cast<size_t>(index)].get();
}

void COSMControlGalleryItems::SetImageManager(COSMImageManager* imageManager)
{
    m_imageManager = RefPtr<COSMImageManager>::Retain(imageManager);
}
