// COSMMarkupTypeRegistry: every markup type record of the process, by element tag (case-sensitive) and in one list
// of all records, newest first. It is built when the first record registers (during the static initialisers) and
// releases every record at exit.
//
//   COSMMarkupType* type = GetMarkupTypeRegistry()->Lookup(L"TextBlock");   // borrowed, or null
//   for (COSMMarkupType* t = GetMarkupTypeRegistry()->GetFirstType(); t; t = t->GetNextType()) ...
//
// Before the first markup object with values is made, every type's properties must be registered:
// InitializeMarkupTypesOnce does it once per process (the markup context calls it, and so do test programs), so
// every value store has a slot for every property.
#pragma once

#include "classlib/CollectionSupport.h"
#include "classlib/Map.h"
#include "framework/markup/MarkupType.h"

// A tag as the registry's map keys it: the record's own static string, hashed like a markup string and compared
// case-sensitively.
struct COSMMarkupTagKey
{
    LPCWSTR text;
    bool operator==(const COSMMarkupTagKey& other) const;
};
template <> UINT HashKey<const COSMMarkupTagKey&>(const COSMMarkupTagKey& key);

class COSMMarkupTypeRegistry
{
public:
    COSMMarkupTypeRegistry();
    // Releases every record of the list.
    ~COSMMarkupTypeRegistry();
    COSMMarkupTypeRegistry(const COSMMarkupTypeRegistry&) = delete;
    COSMMarkupTypeRegistry& operator=(const COSMMarkupTypeRegistry&) = delete;

    // Puts the record at the head of the list and, when tag is neither null nor empty, maps the tag to it (a later
    // record with the same tag takes the tag over). The registry keeps the record's creation reference.
    void Add(LPCWSTR tag, COSMMarkupType* type);
    // The record mapped to tag (borrowed), or null.
    COSMMarkupType* Lookup(LPCWSTR tag) const;

    // The newest record; follow COSMMarkupType::GetNextType for the rest.
    COSMMarkupType* GetFirstType() const { return m_pFirstType; }

private:
    CMap<COSMMarkupTagKey, const COSMMarkupTagKey&, COSMMarkupType*, COSMMarkupType*> m_tags;
    COSMMarkupType* m_pFirstType = nullptr;
};

// The process-wide registry, built on first use.
COSMMarkupTypeRegistry* GetMarkupTypeRegistry();

// EnsureInitialized on every record, after making sure every class of the markup library has its record.
void InitializeRegisteredMarkupTypes();
// InitializeRegisteredMarkupTypes, the first time only.
void InitializeMarkupTypesOnce();
