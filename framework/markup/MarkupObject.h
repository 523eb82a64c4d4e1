// COSMMarkupObject: the root of the markup object model. Every element, every property value and every type record
// is one: a reference-counted object with a logical parent, a store of dependency-property values and, when the
// builder made it from an element, that element's tag name.
//
//   COSMMarkupObject* value = new COSMMarkupInt(4);          // count 1: the creator's reference
//   element->SetValue(COSMMarkupObject::s_pNameProperty, name); // SetValue takes over the caller's reference
//   COSMMarkupObject* held = element->GetValue(property);      // borrowed: AddRef to keep it
//   element->Release();                                       // at 0 the object deletes itself
//
// Operations that keep an object (SetValue, SetContentObject, SetPropertyObject, a collection's Add) take over the
// reference handed to them; getters hand out borrowed pointers; functions that create return one reference for the
// caller. An operation that throws has taken over nothing: whoever handed the object still owns it.
//
// Each class is described by a COSMMarkupType record (MarkupType.h). A class with a record of its own writes
// DECLARE_MARKUP_TYPE in its body and IMPLEMENT_MARKUP_TYPE in its source file; a class without one answers its
// nearest registered base's record. All of it runs on the user-interface thread; only the count is interlocked.
#pragma once

#include "classlib/RefCount.h"

#include <cstddef>

class COSMMarkupType;
class COSMMarkupDependencyProperty;
class COSMMarkupProperties;
class COSMMarkupBuilder;

class COSMMarkupObject
{
public:
    // The record of this class (GetType answers the record of the object's own class) and its create function.
    static COSMMarkupType* GetClassType();
    static COSMMarkupObject* CreateMarkupObject();

    COSMMarkupObject();
    COSMMarkupObject(const COSMMarkupObject&) = delete;
    COSMMarkupObject& operator=(const COSMMarkupObject&) = delete;

    // Every markup object lives in the markup object pool (MarkupObjectPool.h): a tree's objects take no heap block
    // each, and a released tree's chunks go back to the system together. The final release deletes through the
    // virtual destructor, so the size freed is always the size allocated.
    static void* operator new(size_t size);
    static void operator delete(void* block, size_t size) noexcept;

    // ---- Override these (in this order, after the class's record) -------------------------------------------
    virtual COSMMarkupType* GetType() const;

protected:
    // Releases every stored value and frees the tag name. Objects go through Release, never delete.
    virtual ~COSMMarkupObject();

public:
    // The value held for the property in this object's own store, or null (borrowed).
    virtual COSMMarkupObject* GetValueCore(COSMMarkupDependencyProperty* property) const;
    // A 32-bit key for hash maps: the address folded to 32 bits (its low half XOR its high half).
    virtual UINT GetHashKey() const;
    // Identity here; value classes compare their fields.
    virtual BOOL IsEqual(const COSMMarkupObject* other) const;
    virtual int GetLogicalChildrenCount() const;
    virtual COSMMarkupObject* GetLogicalChild(int index) const;
    // Takes over content's reference when it keeps it. Here the object takes no content and throws
    // COSMMarkupBuilderException, keeping nothing.
    virtual void SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content);
    // Converts a value of another type through the builder, then stores it with SetValue; takes over value's
    // reference unless the conversion throws.
    virtual void SetPropertyObject(COSMMarkupBuilder* builder, COSMMarkupDependencyProperty* property,
                                   COSMMarkupObject* value);
    // A new object of this object's class made from value (borrowed), or null. The builder asks a fresh default
    // instance of the target type; here nothing converts.
    virtual COSMMarkupObject* ConvertFrom(COSMMarkupBuilder* builder, COSMMarkupObject* value);
    virtual BOOL HasContentObject() const;
    // TRUE for objects that keep a lone white-space run the builder gives them as content.
    virtual BOOL AllowWhiteSpaceContent() const;
    // Calls the property metadata's change callback, when there is one.
    virtual void OnPropertyChanged(COSMMarkupDependencyProperty* property, COSMMarkupObject* oldValue,
                                   COSMMarkupObject* newValue);

protected:
    // The last reference went: deletes the object. The count reads 1 while it runs (CRefCount), so a reference
    // taken and given back here or in the destructor cannot start a second final release.
    virtual void OnFinalRelease();

public:
    // ---- Not meant to be overridden --------------------------------------------------------------------------
    // Both return the new count; the release that gives up the last reference returns 0 (RefPtr holds them).
    LONG AddRef();
    LONG Release();
    LONG GetRefCount() const { return m_refCount.Get(); }

    // Stores value (null clears the local value) and reports a change of the effective value to OnPropertyChanged
    // and, for inherited properties, to the logical descendants. Takes over value's reference in every case: a
    // value with no property or of the wrong type is released unstored.
    void SetValue(COSMMarkupDependencyProperty* property, COSMMarkupObject* value);
    // The effective value: own, then (inherited properties) the nearest ancestor's, then the metadata's default.
    COSMMarkupObject* GetValue(COSMMarkupDependencyProperty* property) const;
    // The object whose own value GetValue finds without the default: this one, an ancestor, or null.
    COSMMarkupObject* FindValueOwner(COSMMarkupDependencyProperty* property) const;
    // Calls OnPropertyChanged on every logical descendant of the property's owner class, at any depth.
    void NotifyInheritedPropertyChanged(COSMMarkupDependencyProperty* property, COSMMarkupObject* oldValue,
                                        COSMMarkupObject* newValue);

    // No reference is held on the parent.
    void SetLogicalParent(COSMMarkupObject* parent) { m_pLogicalParent = parent; }
    COSMMarkupObject* GetLogicalParent() const { return m_pLogicalParent; }

    // The element name the builder made the object from, or null. Kept as a copy, unless it is the tag of the
    // object's own type record, whose static text serves every element of that tag.
    void SetTagName(LPCWSTR tagName);
    LPCWSTR GetTagName() const { return m_pszTagName; }

    // The object's GetType is type or derives from it; FALSE for a null object or type.
    static BOOL IsKindOf(const COSMMarkupObject* object, const COSMMarkupType* type);

#ifdef OSM_TEST_HOOKS
    // How many markup objects exist in the process now: the test programs' leak check. Only in trees built for tests
    // (OSM_TEST_HOOKS), never in the program users get.
    static LONG GetLiveObjectCount();
#endif

    // Told about every object whose last reference goes, before its final release (a test counts kinds with it);
    // null (the default) for none. Returns the observer it replaces.
    using FinalReleaseObserver = void (*)(const COSMMarkupObject* object);
    static FinalReleaseObserver SetFinalReleaseObserver(FinalReleaseObserver observer);

    // "Name" (a COSMMarkupString) and "Key" (any object), set on objects of every class; "x:Name" and "x:Key"
    // find them too.
    static COSMMarkupDependencyProperty* s_pNameProperty;
    static COSMMarkupDependencyProperty* s_pKeyProperty;
    static void RegisterMarkupProperties();

protected:
    // This object's own store, or null before the first value was set.
    COSMMarkupProperties* GetPropertyStore() const
    {
        return m_pProperties;
    }
    // Unless newValue equals oldValue (both null, or IsEqual), reports the change to OnPropertyChanged and, for an
    // inherited property, to the logical descendants. The caller keeps both values alive meanwhile.
    void ReportValueChange(COSMMarkupDependencyProperty* property, COSMMarkupObject* oldValue,
                           COSMMarkupObject* newValue);

private:
    COSMMarkupObject* m_pLogicalParent = nullptr;
    COSMMarkupProperties* m_pProperties = nullptr;
    LPCWSTR m_pszTagName = nullptr;
    CRefCount m_refCount;
    bool m_bOwnsTagName = false;
};

// The object when it is of that type, else null (a null object gives null).
COSMMarkupObject* MarkupDynamicCast(const COSMMarkupType* type, COSMMarkupObject* object);

// The same for a class with a record of its own.
template <class T> T* MarkupDynamicCast(COSMMarkupObject* object)
{
    return static_cast<T*>(MarkupDynamicCast(T::GetClassType(), object));
}
template <class T> const T* MarkupDynamicCast(const COSMMarkupObject* object)
{
    return MarkupDynamicCast<T>(const_cast<COSMMarkupObject*>(object));
}

// other as object's class, when it is of exactly that class (not a derived one): what value classes compare with.
template <class T> const T* MarkupSameClass(const T* object, const COSMMarkupObject* other)
{
    return other && other->GetType() == object->GetType() ? static_cast<const T*>(other) : nullptr;
}

// other is of exactly object's class and holds the same value in field: the equality of single-value classes.
template <class T, class V> BOOL MarkupSameValue(const T* object, const COSMMarkupObject* other, V T::*field)
{
    const T* same = MarkupSameClass(object, other);
    return same && same->*field == object->*field;
}

// Makes child (taking over its reference, may be null) parent's logical child in slot. The old child loses its
// parent link, unless it was handed on to another parent meanwhile, and is released.
template <class T> void ReplaceMarkupChild(COSMMarkupObject* parent, T*& slot, T* child)
{
    T* old = slot;
    slot = child;
    if (child)
        child->SetLogicalParent(parent);
    if (old)
    {
        if (old->GetLogicalParent() == parent)
            old->SetLogicalParent(nullptr);
        old->Release();
    }
}

// ---- The record of a class --------------------------------------------------------------------------------------
// In the class body:
//   DECLARE_MARKUP_TYPE(COSMMarkupThing)
// In its source file, with its tag (L"Thing", or null for an untagged class) and its property-registration
// function (or null when it registers none):
//   IMPLEMENT_MARKUP_TYPE(COSMMarkupThing, COSMMarkupObject, L"Thing", &COSMMarkupThing::RegisterMarkupProperties)
// The record is built on first use inside GetClassType, and a static initialiser asks for it, so every record of
// the program exists before main whatever order the files are initialised in.
#define DECLARE_MARKUP_TYPE(class_name)                                                                                \
public:                                                                                                                \
    static COSMMarkupType* GetClassType();                                                                             \
    static COSMMarkupObject* CreateMarkupObject();                                                                     \
    COSMMarkupType* GetType() const override;

#define OSM_MARKUP_WIDE_(text) L##text
#define OSM_MARKUP_WIDE_NAME_(class_name) OSM_MARKUP_WIDE_(#class_name)

#define OSM_IMPLEMENT_MARKUP_TYPE_(class_name, pfnGetBaseType, tag, pfnRegisterProperties)                             \
    COSMMarkupType* class_name::GetClassType()                                                                         \
    {                                                                                                                  \
        static COSMMarkupType* const s_pType =                                                                         \
            new COSMMarkupType(tag, OSM_MARKUP_WIDE_NAME_(class_name), &class_name::CreateMarkupObject,                \
                               pfnGetBaseType, pfnRegisterProperties);                                                 \
        return s_pType;                                                                                                \
    }                                                                                                                  \
    COSMMarkupObject* class_name::CreateMarkupObject()                                                                 \
    {                                                                                                                  \
        return new class_name;                                                                                         \
    }                                                                                                                  \
    COSMMarkupType* class_name::GetType() const                                                                        \
    {                                                                                                                  \
        return class_name::GetClassType();                                                                             \
    }                                                                                                                  \
    [[maybe_unused]] static COSMMarkupType* const osmMarkupTypeAtStartup_##class_name = class_name::GetClassType();

#define IMPLEMENT_MARKUP_TYPE(class_name, base_class_name, tag, pfnRegisterProperties)                                 \
    OSM_IMPLEMENT_MARKUP_TYPE_(class_name, &base_class_name::GetClassType, tag, pfnRegisterProperties)
