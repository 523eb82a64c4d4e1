// COSMMarkupProperties: the value store of one markup object, one slot per indexed dependency property (the property's
// index is its slot). An object makes its store when it is given its first value; the store is sized by the
// properties registered at that moment, which is why every type is initialised before the first object exists.
// Only the slots that hold a value take room: an element sets a handful of the hundred-odd properties, so an array of
// every slot per object would outweigh the rest of the tree.
//
// A stored value becomes a logical child of the store's owner. Shared values (the cached booleans, small enums,
// strings) sit in many stores at once, so a store clears a value's logical parent, when the value leaves it, only
// while that parent is still its own owner.
#pragma once

#include "framework/markup/MarkupObject.h"

class COSMMarkupProperties : public COSMMarkupObject
{
public:
    explicit COSMMarkupProperties(COSMMarkupObject* owner);

protected:
    // Releases every value.
    ~COSMMarkupProperties() override;

public:
    COSMMarkupObject* GetOwner() const { return GetLogicalParent(); }
    // The slot count: the indexed properties registered when the store was made.
    int GetSize() const { return m_nSize; }

    // The value in slot index (borrowed); null for -1 and for indexes past the store.
    COSMMarkupObject* GetAt(int index) const;
    // Puts value (whose reference the store takes over; null empties the slot) into slot index, releasing what was
    // there, and makes the owner the value's logical parent. A slot the store has not got takes nothing: the value
    // is released.
    void SetAt(int index, COSMMarkupObject* value);
    // Copies every value source holds into the same slot here, with a reference added to each (the values keep
    // their logical parents).
    void CopyFrom(const COSMMarkupProperties* source);

private:
    // Elements are given a few values each: that many live in the store itself, so a store is one block. Slots and
    // values are kept in two arrays, which packs four of each into the room three {slot, value} pairs would take.
    static constexpr int kInlineEntries = 4;

    // Where the entry of slot index is, or would go: the first entry whose slot is not below index.
    int LowerBound(int index) const;
    // The position of the entry of slot index, or -1 when the slot is empty.
    int Find(int index) const;
    // Takes out the entry at position and hands back its value; the entries after it move up.
    COSMMarkupObject* RemoveAt(int position);
    // Puts an entry in at position; the entries from there move down, onto the heap when the store is full.
    void InsertAt(int position, int index, COSMMarkupObject* value);
    // Puts value (may be null) into slot index, releasing the value that was there.
    void Put(int index, COSMMarkupObject* value);
    // Releases a value that has left the store, clearing its logical parent while that is still the owner.
    void ReleaseValue(COSMMarkupObject* value);

    int* Slots() { return m_nCapacity > kInlineEntries ? m_heap.slots : m_inline.slots; }
    const int* Slots() const { return m_nCapacity > kInlineEntries ? m_heap.slots : m_inline.slots; }
    COSMMarkupObject** Values() { return m_nCapacity > kInlineEntries ? m_heap.values : m_inline.values; }
    COSMMarkupObject* const* Values() const { return m_nCapacity > kInlineEntries ? m_heap.values : m_inline.values; }

    // The owner is the store's own logical parent, which nothing else sets: one pointer less in every element.
    // The slots that hold a value, by ascending index, and their values: m_nCount of them (no more than the slot
    // count, which a store keeps below 65536), in the store itself until they outgrow it, then in one heap block
    // (values first, then slots). The count comes first, where it fits in the room the object's own fields leave.
    unsigned short m_nCount = 0;
    int m_nSize;
    int m_nCapacity = kInlineEntries;
    union
    {
        struct
        {
            int slots[kInlineEntries];
            COSMMarkupObject* values[kInlineEntries];
        } m_inline;
        struct
        {
            int* slots;
            COSMMarkupObject** values;
        } m_heap;
    };
};
