// COSMMarkupCollection: a typed list of markup objects, the base of the gradient stops, inline, setter, trigger and
// grid-definition collections. Every item must be of the collection's element type (null here, so a bare collection
// takes nothing); while an item is in a collection that owns its children, the collection is its logical parent.
//
//   stops->Add(new COSMMarkupGradientStop);   // takes over the reference, refused items included (they are released)
//   COSMMarkupObject* first = stops->GetItem(0);
//
// The items grow like the class library's pointer array, in a block of the markup object pool (a tree has a
// collection for nearly every panel, text block and grid: their arrays take no heap block each). Derived collections
// hear of every insertion through OnItemAdded.
#pragma once

#include "framework/markup/MarkupObject.h"

class COSMMarkupCollection : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(COSMMarkupCollection)

public:
    COSMMarkupCollection() = default;

protected:
    // Removes (and releases) every item.
    ~COSMMarkupCollection() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    int GetLogicalChildrenCount() const override;
    // Null outside 0 .. count - 1.
    COSMMarkupObject* GetLogicalChild(int index) const override;
    // Appends content of the element type; other content throws "'<content>' object cannot be added to
    // '<collection>'. Object cannot be converted to type '<element type>'" and is not kept.
    void SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content) override;
    BOOL HasContentObject() const override;

    // ---- Override these (after the object's operations) -----------------------------------------------------
    // item now stands at index. Nothing here.
    virtual void OnItemAdded(COSMMarkupObject* item, int index);

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    // Inserts item before index (below 0 or past the end: appends), taking over its reference. A null item or one
    // not of the element type is released and nothing is inserted.
    void Insert(int index, COSMMarkupObject* item);
    void Add(COSMMarkupObject* item) { Insert(GetCount(), item); }
    // Ignored for an index outside the collection.
    void RemoveAt(int index);
    void RemoveAll();
    int GetCount() const { return GetLogicalChildrenCount(); }
    COSMMarkupObject* GetItem(int index) const { return GetLogicalChild(index); }

    COSMMarkupType* GetElementType() const { return m_pElementType; }
    BOOL OwnsChildren() const { return m_bOwnsChildren; }
    void SetOwnsChildren(BOOL ownsChildren) { m_bOwnsChildren = ownsChildren; }
    // The number of slots the item array grows by (0: an eighth of its size, 4 to 1024).
    void SetGrowBy(int growBy);

protected:
    // Derived collections name the type their items must have.
    void SetElementType(COSMMarkupType* elementType) { m_pElementType = elementType; }

private:
    // Lets go of an item taken out of the array: clears its logical parent while that is this collection, and
    // releases it.
    void Discard(COSMMarkupObject* item);
    // Makes room for count items by the growth rule: the grow-by count, or an eighth of the items (4 to 1024).
    void Reserve(int count);

    COSMMarkupObject** m_pItems = nullptr;
    int m_nCount = 0;
    int m_nCapacity = 0;
    int m_nGrowBy = 0;
    COSMMarkupType* m_pElementType = nullptr;
    BOOL m_bOwnsChildren = TRUE;
};
