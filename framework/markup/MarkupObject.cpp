#include "framework/markup/MarkupObject.h"

#include "classlib/RefPtr.h"
#include "framework/markup/MarkupBuilder.h"
#include "framework/markup/MarkupBuilderException.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupObjectPool.h"
#include "framework/markup/MarkupProperties.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupType.h"

#include <cstdint>
#include <cwchar>

COSMMarkupDependencyProperty* COSMMarkupObject::s_pNameProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupObject::s_pKeyProperty = nullptr;

namespace {

#ifdef OSM_TEST_HOOKS
volatile LONG g_nLiveObjects = 0;
#endif

COSMMarkupObject::FinalReleaseObserver g_pfnFinalReleaseObserver = nullptr;

}  // namespace

// The root has no base; every other class writes IMPLEMENT_MARKUP_TYPE.
OSM_IMPLEMENT_MARKUP_TYPE_(COSMMarkupObject, nullptr, nullptr, &COSMMarkupObject::RegisterMarkupProperties)

void COSMMarkupObject::RegisterMarkupProperties()
{
    s_pNameProperty = COSMMarkupDependencyProperty::Register(L"Name", COSMMarkupString::GetClassType(), GetClassType());
    s_pKeyProperty = COSMMarkupDependencyProperty::Register(L"Key", COSMMarkupObject::GetClassType(), GetClassType());
}

void* COSMMarkupObject::operator new(size_t size)
{
    return AllocateMarkupObjectMemory(size);
}

void COSMMarkupObject::operator delete(void* block, size_t size) noexcept
{
    FreeMarkupObjectMemory(block, size);
}

COSMMarkupObject::COSMMarkupObject()
{
#ifdef OSM_TEST_HOOKS
    ::InterlockedIncrement(&g_nLiveObjects);
#endif
}

COSMMarkupObject::~COSMMarkupObject()
{
    if (m_pProperties)
        m_pProperties->Release();
    if (m_bOwnsTagName)
        delete[] m_pszTagName;
#ifdef OSM_TEST_HOOKS
    ::InterlockedDecrement(&g_nLiveObjects);
#endif
}

#ifdef OSM_TEST_HOOKS
LONG COSMMarkupObject::GetLiveObjectCount()
{
    return g_nLiveObjects;
}
#endif

COSMMarkupObject::FinalReleaseObserver COSMMarkupObject::SetFinalReleaseObserver(FinalReleaseObserver observer)
{
    return reinterpret_cast<FinalReleaseObserver>(::InterlockedExchangePointer(
        reinterpret_cast<PVOID volatile*>(&g_pfnFinalReleaseObserver), reinterpret_cast<PVOID>(observer)));
}

COSMMarkupObject* COSMMarkupObject::GetValueCore(COSMMarkupDependencyProperty* property) const
{
    if (!property || !m_pProperties)
        return nullptr;
    return m_pProperties->GetAt(property->GetIndex());
}

UINT COSMMarkupObject::GetHashKey() const
{
    // Computed on 64 bits on both builds, so a 32-bit address comes back as itself.
    const uint64_t address = reinterpret_cast<uintptr_t>(this);
    return static_cast<UINT>(address ^ (address >> 32));
}

BOOL COSMMarkupObject::IsEqual(const COSMMarkupObject* other) const
{
    return other == this;
}

int COSMMarkupObject::GetLogicalChildrenCount() const
{
    return 0;
}

COSMMarkupObject* COSMMarkupObject::GetLogicalChild(int index) const
{
    return nullptr;
}

void COSMMarkupObject::SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content)
{
    LPCWSTR className = GetType()->GetMarkupClassName();
    if (const COSMMarkupString* text = MarkupDynamicCast<COSMMarkupString>(content))
    {
        COSMMarkupBuilder::ThrowBuilderException(
            FormatMarkupMessage2("Cannot convert the string '%ls' into a '%ls' object", text->GetText(), className));
    }
    COSMMarkupBuilder::ThrowBuilderException(
        FormatMarkupMessage1("Cannot add content to an object of type '%ls'", className));
}

void COSMMarkupObject::SetPropertyObject(COSMMarkupBuilder* builder, COSMMarkupDependencyProperty* property,
                                         COSMMarkupObject* value)
{
    if (property && value && !IsKindOf(value, property->GetValueType()))
    {
        // ConvertValue throws before anything is taken over: the caller still owns value then.
        COSMMarkupObject* converted = builder->ConvertValue(property, value);
        value->Release();
        value = converted;
    }
    SetValue(property, value);
}

COSMMarkupObject* COSMMarkupObject::ConvertFrom(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    return nullptr;
}

BOOL COSMMarkupObject::HasContentObject() const
{
    return FALSE;
}

BOOL COSMMarkupObject::AllowWhiteSpaceContent() const
{
    return FALSE;
}

void COSMMarkupObject::OnPropertyChanged(COSMMarkupDependencyProperty* property, COSMMarkupObject* oldValue,
                                         COSMMarkupObject* newValue)
{
    const COSMMarkupPropertyMetadata* metadata = property ? property->GetMetadata() : nullptr;
    if (!metadata || !metadata->GetChangeCallback())
        return;
    const COSMMarkupPropertyChange change = {property, oldValue, newValue};
    metadata->GetChangeCallback()(this, &change);
}

void COSMMarkupObject::OnFinalRelease()
{
    delete this;
}

LONG COSMMarkupObject::AddRef()
{
    return m_refCount.AddRef();
}

LONG COSMMarkupObject::Release()
{
    const LONG count = m_refCount.Release();
    if (count == 0)
    {
        if (FinalReleaseObserver observer = g_pfnFinalReleaseObserver)
            observer(this);
        OnFinalRelease();
    }
    return count;
}

void COSMMarkupObject::SetValue(COSMMarkupDependencyProperty* property, COSMMarkupObject* value)
{
    // The reference handed in is ours whatever happens: what cannot be stored is released.
    if (!property || (value && !IsKindOf(value, property->GetValueType())))
    {
        if (value)
            value->Release();
        return;
    }
    if (value && !m_pProperties)
        m_pProperties = new COSMMarkupProperties(this);

    // The old value is held until it has been reported: storing may release the last other reference to it.
    COSMMarkupObject* oldValue = GetValue(property);
    const RefPtr<COSMMarkupObject> oldHold = RefPtr<COSMMarkupObject>::Retain(oldValue);
    if (m_pProperties)
        m_pProperties->SetAt(property->GetIndex(), value);

    ReportValueChange(property, oldValue, GetValue(property));
}

void COSMMarkupObject::ReportValueChange(COSMMarkupDependencyProperty* property, COSMMarkupObject* oldValue,
                                         COSMMarkupObject* newValue)
{
    const BOOL equal = (!oldValue || !newValue) ? oldValue == newValue : newValue->IsEqual(oldValue);
    if (equal)
        return;
    OnPropertyChanged(property, oldValue, newValue);
    if (property->IsInherited())
        NotifyInheritedPropertyChanged(property, oldValue, newValue);
}

COSMMarkupObject* COSMMarkupObject::FindValueOwner(COSMMarkupDependencyProperty* property) const
{
    if (!property)
        return nullptr;
    if (GetValueCore(property))
        return const_cast<COSMMarkupObject*>(this);
    if (!property->IsInherited())
        return nullptr;
    for (COSMMarkupObject* ancestor = m_pLogicalParent; ancestor; ancestor = ancestor->m_pLogicalParent)
    {
        if (ancestor->GetValueCore(property))
            return ancestor;
    }
    return nullptr;
}

COSMMarkupObject* COSMMarkupObject::GetValue(COSMMarkupDependencyProperty* property) const
{
    if (const COSMMarkupObject* owner = FindValueOwner(property))
        return owner->GetValueCore(property);
    const COSMMarkupPropertyMetadata* metadata = property ? property->GetMetadata() : nullptr;
    return metadata ? metadata->GetDefaultValue() : nullptr;
}

void COSMMarkupObject::NotifyInheritedPropertyChanged(COSMMarkupDependencyProperty* property,
                                                      COSMMarkupObject* oldValue, COSMMarkupObject* newValue)
{
    const int count = GetLogicalChildrenCount();
    for (int i = 0; i < count; ++i)
    {
        COSMMarkupObject* child = GetLogicalChild(i);
        if (!child)
            continue;
        if (IsKindOf(child, property->GetOwnerType()))
            child->OnPropertyChanged(property, oldValue, newValue);
        child->NotifyInheritedPropertyChanged(property, oldValue, newValue);
    }
}

void COSMMarkupObject::SetTagName(LPCWSTR tagName)
{
    if (m_bOwnsTagName)
        delete[] m_pszTagName;
    m_pszTagName = nullptr;
    m_bOwnsTagName = false;
    if (!tagName)
        return;
    // Nearly every element carries its type's own tag: that text lives as long as the program, so no copy is made.
    LPCWSTR typeTag = GetType()->GetTag();
    if (typeTag && wcscmp(typeTag, tagName) == 0)
    {
        m_pszTagName = typeTag;
        return;
    }
    const size_t length = wcslen(tagName);
    LPWSTR copy = new WCHAR[length + 1];
    wmemcpy(copy, tagName, length + 1);
    m_pszTagName = copy;
    m_bOwnsTagName = true;
}

BOOL COSMMarkupObject::IsKindOf(const COSMMarkupObject* object, const COSMMarkupType* type)
{
    return object && type && object->GetType()->IsDerivedFrom(type);
}

COSMMarkupObject* MarkupDynamicCast(const COSMMarkupType* type, COSMMarkupObject* object)
{
    return COSMMarkupObject::IsKindOf(object, type) ? object : nullptr;
}
