// COSMMarkupType: the record that describes one markup class at run time: its element tag, its class name (used in
// messages), its create function, its base class's record and the function that registers its dependency
// properties. Records made with the five-argument constructor enter the process-wide registry
// (MarkupTypeRegistry.h), which owns them until exit; the classes make theirs through IMPLEMENT_MARKUP_TYPE.
//
//   COSMMarkupType* type = GetMarkupTypeRegistry()->Lookup(L"SolidColorBrush");
//   COSMMarkupObject* brush = type->CreateInstance();     // one reference for the caller
//   type->EnsureInitialized();                           // its properties, and its bases' first
//
// A record made with the default constructor is bare and unregistered: it is what the create function of this
// class makes, the fresh instance the builder converts a type name on (ConvertFrom).
#pragma once

#include "framework/markup/MarkupObject.h"

class COSMMarkupStyle;

class COSMMarkupType : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(COSMMarkupType)

public:
    using CreateFunction = COSMMarkupObject* (*)();
    using BaseTypeGetter = COSMMarkupType* (*)();
    using RegisterFunction = void (*)();

    // Bare: no tag, no class, not registered.
    COSMMarkupType() = default;
    // Fills the record and enters it in the registry, which holds its creation reference. tag and className are
    // static strings, kept as given; a null or empty tag puts the record in the registry's list only.
    COSMMarkupType(LPCWSTR tag, LPCWSTR className, CreateFunction pfnCreate, BaseTypeGetter pfnGetBaseType,
                   RegisterFunction pfnRegisterProperties);

    // ---- Overrides -------------------------------------------------------------------------------------------
protected:
    // Releases the default style.
    ~COSMMarkupType() override;

public:
    // A COSMMarkupString naming a registered tag gives that record with a reference added; anything else null.
    COSMMarkupObject* ConvertFrom(COSMMarkupBuilder* builder, COSMMarkupObject* value) override;

    // ---- The record ------------------------------------------------------------------------------------------
    LPCWSTR GetTag() const { return m_pszTag; }
    LPCWSTR GetMarkupClassName() const { return m_pszClassName; }
    // A new default instance with one reference for the caller, or null.
    COSMMarkupObject* CreateInstance() const;
    // The base class's record; null for COSMMarkupObject (and for a bare record).
    COSMMarkupType* GetBaseType() const;
    // This record or one of its bases is type.
    BOOL IsDerivedFrom(const COSMMarkupType* type) const;

    // Runs the property-registration function once, after the base classes' (they are initialised first).
    void EnsureInitialized();
    BOOL IsInitialized() const { return m_bInitialized; }

    // The style every element of exactly this class falls back on (null until one is set; borrowed).
    COSMMarkupStyle* GetDefaultStyle() const { return m_pDefaultStyle; }
    // Releases the previous default style, takes over style's reference and seals it.
    void SetTypeStyle(COSMMarkupStyle* style);

    // For the registry's own use: the next record in its list of all records, newest first.
    COSMMarkupType* GetNextType() const { return m_pNext; }
    void SetNextType(COSMMarkupType* next) { m_pNext = next; }

private:
    LPCWSTR m_pszTag = nullptr;
    LPCWSTR m_pszClassName = nullptr;
    CreateFunction m_pfnCreate = nullptr;
    BaseTypeGetter m_pfnGetBaseType = nullptr;
    RegisterFunction m_pfnRegisterProperties = nullptr;
    COSMMarkupType* m_pNext = nullptr;
    BOOL m_bInitialized = FALSE;
    COSMMarkupStyle* m_pDefaultStyle = nullptr;
};
