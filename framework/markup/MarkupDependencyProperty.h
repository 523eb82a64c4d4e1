// COSMMarkupDependencyProperty: one settable attribute of a markup class: its name, the type every value must be or
// derive from, the class that registered it, its metadata and its slot index in value stores. A class registers its
// properties in its property-registration function and keeps them in statics; the property registry holds the only
// reference:
//
//   s_pColorProperty = COSMMarkupDependencyProperty::Register(L"Color", COSMMarkupColor::GetClassType(),
//                                                            GetClassType());
//   COSMMarkupDependencyProperty* p = COSMMarkupDependencyProperty::FindProperty(type, L"x:Name");
//
// Attached properties (RegisterAttached) are set on objects of other classes and found through the class that
// registered them. Indexes come from one process-wide counter; a property made with the default constructor is
// bare: unregistered and without an index.
#pragma once

#include "classlib/CollectionSupport.h"
#include "classlib/Map.h"
#include "framework/markup/MarkupObject.h"
#include "framework/markup/MarkupPropertyMetadata.h"

#include <memory>

class COSMMarkupDependencyProperty : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(COSMMarkupDependencyProperty)

public:
    // Bare: no name, no types, index -1, not registered.
    COSMMarkupDependencyProperty() = default;

protected:
    ~COSMMarkupDependencyProperty() override;

public:
    // ---- Override these (after the object's operations) -----------------------------------------------------
    // TRUE for routed events, which take no slot.
    virtual BOOL IsEvent() const;

    // ---- Registration -----------------------------------------------------------------------------------------
    // A new property registered under (name, ownerType); the registry keeps the only reference, the returned
    // pointer is borrowed. name is a static string, kept as given. The property owns metadata (may be null).
    static COSMMarkupDependencyProperty* Register(LPCWSTR name, COSMMarkupType* valueType, COSMMarkupType* ownerType,
                                                  COSMMarkupPropertyMetadata* metadata = nullptr);
    static COSMMarkupDependencyProperty* RegisterAttached(LPCWSTR name, COSMMarkupType* valueType,
                                                          COSMMarkupType* ownerType,
                                                          COSMMarkupPropertyMetadata* metadata = nullptr);
    // Registers this same property under (its name, ownerType) too, with a reference for the new entry; returns it.
    COSMMarkupDependencyProperty* AddOwner(COSMMarkupType* ownerType);
    // The property registered under name for ownerType or the nearest of its bases; a leading "x:" is dropped.
    // Null for a null name or when no class of the chain has one.
    static COSMMarkupDependencyProperty* FindProperty(const COSMMarkupType* ownerType, LPCWSTR name);
    // How many indexes were handed out: the slot count of a store made now.
    static int GetIndexedPropertyCount();

    // ---- The property ---------------------------------------------------------------------------------------
    LPCWSTR GetName() const { return m_pszName; }
    COSMMarkupType* GetValueType() const { return m_pValueType; }
    COSMMarkupType* GetOwnerType() const { return m_pOwnerType; }
    COSMMarkupPropertyMetadata* GetMetadata() const { return m_pMetadata.get(); }
    BOOL IsAttached() const { return m_bAttached; }
    int GetIndex() const { return m_nIndex; }
    // The metadata says the value is inherited from logical ancestors.
    BOOL IsInherited() const { return m_pMetadata && m_pMetadata->IsInherited(); }

protected:
    // The common step of Register and RegisterAttached, for the routed-event class too: fills in the property,
    // gives it the next index unless it is an event, and enters it in the registry, which takes over the
    // creation reference.
    static COSMMarkupDependencyProperty* RegisterProperty(COSMMarkupDependencyProperty* property, LPCWSTR name,
                                                          COSMMarkupType* valueType, COSMMarkupType* ownerType,
                                                          COSMMarkupPropertyMetadata* metadata, BOOL attached);

private:
    LPCWSTR m_pszName = nullptr;
    COSMMarkupType* m_pValueType = nullptr;
    COSMMarkupType* m_pOwnerType = nullptr;
    std::unique_ptr<COSMMarkupPropertyMetadata> m_pMetadata;
    BOOL m_bAttached = FALSE;
    int m_nIndex = -1;
};

// The key of the property registry: a name (case-sensitive) with the class it is registered for.
struct COSMMarkupPropertyKey
{
    LPCWSTR name;
    const COSMMarkupType* ownerType;
    bool operator==(const COSMMarkupPropertyKey& other) const;
};
template <> UINT HashKey<const COSMMarkupPropertyKey&>(const COSMMarkupPropertyKey& key);

// Every registered property by (name, owner class), one reference per entry; released at exit.
class COSMMarkupPropertyRegistry
{
public:
    COSMMarkupPropertyRegistry();
    ~COSMMarkupPropertyRegistry();
    COSMMarkupPropertyRegistry(const COSMMarkupPropertyRegistry&) = delete;
    COSMMarkupPropertyRegistry& operator=(const COSMMarkupPropertyRegistry&) = delete;

    // Maps (name, ownerType) to property, taking over one reference; an entry already there is released and
    // replaced.
    void Add(LPCWSTR name, const COSMMarkupType* ownerType, COSMMarkupDependencyProperty* property);
    // Borrowed, or null.
    COSMMarkupDependencyProperty* Lookup(LPCWSTR name, const COSMMarkupType* ownerType) const;
    // Hands out the next slot index.
    int NextIndex() { return m_nNextIndex++; }
    int GetIndexCount() const { return m_nNextIndex; }

private:
    CMap<COSMMarkupPropertyKey, const COSMMarkupPropertyKey&, COSMMarkupDependencyProperty*,
         COSMMarkupDependencyProperty*>
        m_properties;
    int m_nNextIndex = 0;
};

// The process-wide registry, built on first use.
COSMMarkupPropertyRegistry* GetMarkupPropertyRegistry();
