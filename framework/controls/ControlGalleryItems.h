// The items a gallery shows. COSMControlGalleryItems is the collection: reference counted, it owns its items and
// holds the cell size, the image manager the items take their icons from and whether only changed items are
// redrawn. A gallery reaches it through its bound action's referenced object, so galleries bound to one action
// share one list:
//
//   RefPtr<COSMControlGalleryItems> items = AdoptRef(new COSMControlGalleryItems);   // the creator's reference
//   items->SetItemSize(CSize(40, 20));
//   items->AddLabel("Recent");                                         // a group heading, a full row
//   items->AddItem(ID_STYLE_1, "Heading 1");
//   action->SetReferencedObject(items.Get());                          // the action's reference
//   gallery->Reposition();                                             // after every change of the items
//
// COSMControlGalleryItem is one cell: an id (and an alternative id the tooltips use), a caption, a tooltip, a
// description, and whether it is a group heading rather than a choice. It measures and draws itself unless the
// collection's DrawItem does.
#pragma once

#include "classlib/CString.h"
#include "classlib/CmdTarget.h"
#include "classlib/Geometry.h"
#include "classlib/RefPtr.h"

#include <memory>
#include <vector>

class CDC;
class COSMControlGallery;
class COSMControlGalleryItems;
class COSMImageManager;

class COSMControlGalleryItem
{
public:
    COSMControlGalleryItem() = default;
    virtual ~COSMControlGalleryItem();
    COSMControlGalleryItem(const COSMControlGalleryItem&) = delete;
    COSMControlGalleryItem& operator=(const COSMControlGalleryItem&) = delete;

    // ---- Override these ----------------------------------------------------------------------------------------
    // The collection's item size; a label takes a full row (width 0).
    virtual void GetSize(SIZE* size) const;
    // A label through the gallery painter's DrawLabel; any other item as a state rectangle with its icon centred,
    // or its caption when the image manager has no icon of its id.
    virtual void Draw(CDC* dc, COSMControlGallery* gallery, CRect rect, BOOL enabled, BOOL selected, BOOL pressed,
                      BOOL checked);

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    int GetID() const { return m_id; }
    void SetID(int id) { m_id = id; }
    // The tool id tooltips use instead of the id; -1 for none.
    int GetAlternativeID() const { return m_alternativeId; }
    void SetAlternativeID(int id) { m_alternativeId = id; }
    CString GetCaption() const { return m_caption; }
    void SetCaption(const CString& caption) { m_caption = caption; }
    const CString& GetTooltip() const { return m_tooltip; }
    void SetTooltip(const CString& tooltip) { m_tooltip = tooltip; }
    const CString& GetDescription() const { return m_description; }
    void SetDescription(const CString& description) { m_description = description; }
    BOOL IsLabel() const { return m_label; }
    void SetLabel(BOOL label) { m_label = label; }
    // The collection that owns the item; null until it is added.
    COSMControlGalleryItems* GetItems() const { return m_items; }

protected:
    friend class COSMControlGalleryItems;

    int m_id = 0;
    int m_alternativeId = -1;
    CString m_caption;
    CString m_tooltip;
    CString m_description;
    BOOL m_label = FALSE;
    COSMControlGalleryItems* m_items = nullptr;
};

class COSMControlGalleryItems : public CCmdTarget
{
    DECLARE_DYNCREATE(COSMControlGalleryItems)

public:
    COSMControlGalleryItems();
    ~COSMControlGalleryItems() override;

    // ---- Override these ----------------------------------------------------------------------------------------
    // Draws the item itself and answers TRUE, or FALSE to let the item's own Draw run (the default).
    virtual BOOL DrawItem(CDC* dc, COSMControlGallery* gallery, COSMControlGalleryItem* item, CRect rect, BOOL enabled,
                          BOOL selected, BOOL pressed, BOOL checked);

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // The collection takes the item; it is inserted at index (clamped to [0, count]). The item, for chaining.
    COSMControlGalleryItem* InsertItem(int index, COSMControlGalleryItem* item);
    COSMControlGalleryItem* AddItem(int id, const CString& caption);
    COSMControlGalleryItem* AddLabel(const CString& caption);
    // Deletes the item at the index; nothing out of range.
    void Remove(int index);
    void RemoveAll();
    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    // Null when the index is negative or not below the count.
    COSMControlGalleryItem* GetItem(int index) const;

    // The default cell size.
    CSize GetItemSize() const { return m_itemSize; }
    void SetItemSize(CSize size) { m_itemSize = size; }
    // Where the items' icons come from (held with a reference); null for captions only.
    COSMImageManager* GetImageManager() const { return m_imageManager.Get(); }
    void SetImageManager(COSMImageManager* imageManager);
    // A gallery redraws only the items whose look changed instead of the whole control.
    BOOL IsChangedItemsOnly() const { return m_changedItemsOnly; }
    void SetChangedItemsOnly(BOOL changedOnly) { m_changedItemsOnly = changedOnly; }

private:
    std::vector<std::unique_ptr<COSMControlGalleryItem>> m_items;
    CSize m_itemSize{20, 20};
    RefPtr<COSMImageManager> m_imageManager;
    BOOL m_changedItemsOnly = FALSE;
};
