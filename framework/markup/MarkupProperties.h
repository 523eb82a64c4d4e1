// COSMMarkupProperties: the value store of one markup object, one slot per indexed dependency property (the property's
// index is its slot). An object makes its store when it is given its first value; the store is sized by the
// properties registered at that moment, which is why every type is initialised before the first object exists.
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
    int GetSize() const { return static_cast<int>(m_values.size()); }

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
    // Releases the value in slot index and empties the slot.
    void ReleaseSlot(size_t index);

    COSMMarkupObject* m_pOwner;
    std::vector<COSMMarkupObject*> m_values;
};
