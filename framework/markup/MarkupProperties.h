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

#include <vector>

class COSMMarkupProperties : public COSMMarkupObject
{
public:
    explicit COSMMarkupProperties(COSMMarkupObject* owner);

protected:
    // Releases every value.
    ~COSMMarkupProperties() override;

public:
    COSMMarkupObject* GetOwner() const { return m_pOwner; }
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
    static constexpr size_t kFirstCapacity = 4;

    struct Entry
    {
        int index;
        COSMMarkupObject* value;
    };
    // The entry of slot index, or null when the slot is empty.
    const Entry* Find(int index) const;
    // Puts value (may be null) into slot index, releasing the value that was there.
    void Put(int index, COSMMarkupObject* value);
    // Releases a value that has left the store, clearing its logical parent while that is still the owner.
    void ReleaseValue(COSMMarkupObject* value);

    COSMMarkupObject* m_pOwner;
    int m_nSize;
    // The slots that hold a value, by ascending index.
    std::vector<Entry> m_entries;
};
