// COSMMarkupResourceDictionary holds the resources markup declares for an element and its descendants, each under a
// key: the x:Key of the object (text, or any object such as a system brush key), or for a style without one its
// TargetType. Keys compare as their class says (text by value, other objects by identity), case-sensitively.
//
//   <Page.Resources>
//     <SolidColorBrush x:Key="accent" Color="Navy"/>
//     <Style TargetType="Border">...</Style>                   keyed by the Border type record
//   </Page.Resources>
//
//   COSMMarkupObject* brush = FindMarkupResource(element, key);   // borrowed, or null
//
// The dictionary holds one reference on every key and every value and releases them with itself. It is a hash map
// of 17 buckets (by the key's GetHashKey) whose entries are allocated in blocks of 10.
#pragma once

#include "classlib/CollectionSupport.h"
#include "classlib/Map.h"
#include "framework/markup/MarkupObject.h"

// A key as the dictionary's map keeps it: hashed by GetHashKey, the stored key's IsEqual deciding equality.
struct COSMMarkupResourceKey
{
    const COSMMarkupObject* object;
    bool operator==(const COSMMarkupResourceKey& searched) const;
};
template <> UINT HashKey<const COSMMarkupResourceKey&>(const COSMMarkupResourceKey& key);

class COSMMarkupResourceDictionary : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(COSMMarkupResourceDictionary)

public:
    COSMMarkupResourceDictionary() = default;

protected:
    // Releases every key and value.
    ~COSMMarkupResourceDictionary() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    // Stores object under its key (GetObjectKey), taking over its reference. Throws, keeping nothing, "Objects
    // added to Dictionary must have Key attribute or some other type of associated Key" for an object without a
    // key and "Dictionary key is already used. Key attributes must be unique." for a key already present.
    void SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* object) override;

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    // The value under a key equal to key (borrowed), or null.
    COSMMarkupObject* Lookup(const COSMMarkupObject* key) const;
    // Stores value under key, taking over both references. Under a key already present the value is replaced: the
    // old value and the key handed in are released, the stored key stays. A null key or value stores nothing (what
    // was handed in is released).
    void SetAt(COSMMarkupObject* key, COSMMarkupObject* value);
    int GetCount() const { return static_cast<int>(m_entries.GetCount()); }

    // The key object is stored under (borrowed): its Key value, else a style's TargetType; null when it has none.
    static COSMMarkupObject* GetObjectKey(const COSMMarkupObject* object);

private:
    CMap<COSMMarkupResourceKey, const COSMMarkupResourceKey&, COSMMarkupObject*, COSMMarkupObject*> m_entries;
};

// The resource under key that start finds (borrowed), or null: a dictionary looks in itself; any other object looks
// in its Resources, then in the resources of its Style, then goes on with its logical parent, except that a
// lookup never leaves a style. A style's BasedOn is not searched.
COSMMarkupObject* FindMarkupResource(COSMMarkupObject* start, const COSMMarkupObject* key);
