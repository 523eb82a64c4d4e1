#include "framework/foundation/PropExchangeArchive.h"

#include "classlib/Archive.h"
#include "classlib/CString.h"
#include "classlib/Exception.h"
#include "classlib/OleDateTime.h"

#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(COSMPropExchangeArchive, COSMPropExchange)

COSMPropExchangeArchive::COSMPropExchangeArchive(CArchive& archive) : m_pArchive(&archive)
{
    m_bLoading = archive.IsLoading();
}

bool COSMPropExchangeArchive::IsStorableVariantType(VARTYPE type)
{
    switch (type)
    {
    case VT_EMPTY:
    case VT_NULL:
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
    case VT_BSTR:
    case VT_ERROR:
    case VT_BOOL:
    case VT_VARIANT:
    case VT_DECIMAL:
    case 15:
    case VT_I1:
    case VT_UI1:
        return true;
    default:
        return false;
    }
}

void COSMPropExchangeArchive::ReadExact(void* data, UINT size)
{
    if (m_pArchive->Read(data, size) != size)
        AfxThrowArchiveException(CArchiveException::endOfFile, nullptr);
}

void COSMPropExchangeArchive::ExchangeRaw(void* data, UINT size)
{
    if (IsLoading())
        ReadExact(data, size);
    else
        m_pArchive->Write(data, size);
}

BOOL COSMPropExchangeArchive::ExchangeProp(LPCSTR, VARTYPE type, void* value, const void*)
{
    if (!OnBeforeExchange())
        return FALSE;
    if (!value)
        return FALSE;
    CArchive& ar = *m_pArchive;
    const bool loading = IsLoading();
    switch (type)
    {
    case OSM_PX_BYTE:
        ExchangeRaw(value, 1);
        break;
    case OSM_PX_SHORT:
        ExchangeRaw(value, 2);
        break;
    case OSM_PX_LONG:
    case OSM_PX_BOOL:
    case OSM_PX_FLOAT:
        ExchangeRaw(value, 4);
        break;
    case OSM_PX_DOUBLE:
        ExchangeRaw(value, 8);
        break;
    case OSM_PX_CURRENCY:
    {
        CY& cy = *static_cast<CY*>(value);
        ExchangeRaw(&cy.Lo, 4);
        ExchangeRaw(&cy.Hi, 4);
        break;
    }
    case OSM_PX_DATETIME:
    {
        COleDateTime& date = *static_cast<COleDateTime*>(value);
        LONG status = static_cast<LONG>(date.m_status);
        ExchangeRaw(&status, 4);
        ExchangeRaw(&date.m_dt, 8);
        if (loading)
            date.m_status = static_cast<COleDateTime::DateTimeStatus>(status);
        break;
    }
    case OSM_PX_RECT:
        ExchangeRaw(value, 16);
        break;
    case OSM_PX_SIZE:
        ExchangeRaw(value, 8);
        break;
    case OSM_PX_STRING:
        if (loading)
            ar >> *static_cast<CString*>(value);
        else
            ar << *static_cast<const CString*>(value);
        break;
    case OSM_PX_VARIANT:
    {
        VARIANT& variant = *static_cast<VARIANT*>(value);
        // Checked before anything is written, so a refused value leaves the stream as it was.
        if (!loading && !IsStorableVariantType(variant.vt))
            return FALSE;
        ExchangeVariant(variant);
        break;
    }
    default:
        break;
    }
    return TRUE;
}

void COSMPropExchangeArchive::ExchangeVariant(VARIANT& value)
{
    CArchive& ar = *m_pArchive;
    WORD type = value.vt;
    ExchangeRaw(&type, 2);
    if (IsLoading())
    {
        if (!IsStorableVariantType(type))
            AfxThrowArchiveException(CArchiveException::genericException, nullptr);
        VariantClear(&value);
        std::memset(&value, 0, sizeof(value));
    }
    switch (type)
    {
    case VT_UI1:
        ExchangeRaw(&value.bVal, 1);
        break;
    case VT_I2:
        ExchangeRaw(&value.iVal, 2);
        break;
    case VT_BOOL:
        ExchangeRaw(&value.boolVal, 2);
        break;
    case VT_I4:
        ExchangeRaw(&value.lVal, 4);
        break;
    case VT_ERROR:
        ExchangeRaw(&value.scode, 4);
        break;
    case VT_R4:
        ExchangeRaw(&value.fltVal, 4);
        break;
    case VT_R8:
        ExchangeRaw(&value.dblVal, 8);
        break;
    case VT_DATE:
        ExchangeRaw(&value.date, 8);
        break;
    case VT_CY:
        ExchangeRaw(&value.cyVal.Lo, 4);
        ExchangeRaw(&value.cyVal.Hi, 4);
        break;
    case VT_BSTR:
        if (IsLoading())
        {
            DWORD bytes = 0;
            ar >> bytes;
            ar.EnsureRemaining(bytes);
            BSTR text = SysAllocStringByteLen(nullptr, bytes);
            if (!text)
                AfxThrowMemoryException();
            value.bstrVal = text;
            value.vt = VT_BSTR;  // owned by the variant from here, freed with it on failure
            ReadExact(text, bytes);
        }
        else
        {
            DWORD bytes = value.bstrVal ? SysStringByteLen(value.bstrVal) : 0;
            ar << bytes;
            ar.Write(value.bstrVal, bytes);
        }
        break;
    default:
        break;  // the types without a value
    }
    if (IsLoading())
        value.vt = type;
}

BOOL COSMPropExchangeArchive::ExchangeBlob(LPCSTR, BYTE** data, DWORD* size)
{
    if (!OnBeforeExchange() || !data || !size)
        return FALSE;
    CArchive& ar = *m_pArchive;
    if (IsStoring())
    {
        ar.WriteCount(*size);
        if (*size)
            ar.Write(*data, *size);
        return TRUE;
    }
    const DWORD count = static_cast<DWORD>(ar.ReadCount());
    ar.EnsureRemaining(count);
    if (*data && *size < count)
    {
        // Too big for the caller: pass its bytes by, so the values after it still read right.
        ar.Skip(count);
        return FALSE;
    }
    if (!*data)
    {
        *data = static_cast<BYTE*>(std::malloc(count ? count : 1));
        if (!*data)
            AfxThrowMemoryException();
        *size = count;
    }
    return ar.Read(*data, count) == count;
}

BOOL COSMPropExchangeArchive::ExchangeRuntimeClass(LPCSTR, CRuntimeClass** runtimeClass, CRuntimeClass* defaultClass)
{
    if (!OnBeforeExchange() || !runtimeClass)
        return FALSE;
    if (IsStoring())
    {
        m_pArchive->WriteClass(*runtimeClass);
        return TRUE;
    }
    UINT schema = 0;
    CRuntimeClass* read = m_pArchive->ReadClass(defaultClass, &schema);
    if (!read)
        return FALSE;
    *runtimeClass = read;
    m_nSchema = static_cast<long>(schema);
    return TRUE;
}

BOOL COSMPropExchangeArchive::ExchangeObjectInstance(CObject** object, CRuntimeClass* baseClass)
{
    if (!COSMPropExchange::ExchangeObjectInstance(object, baseClass))
    {
        // In a stream the object's values follow: a reader that went on would take them for the next ones.
        if (IsLoading())
            AfxThrowArchiveException(CArchiveException::badClass, nullptr);
        return FALSE;
    }
    m_pArchive->MapObject(*object);
    return TRUE;
}

CArchive* COSMPropExchangeArchive::GetArchive(LPCSTR)
{
    return m_pArchive;
}

void COSMPropExchangeArchive::ReleaseArchive(LPCSTR, CArchive*) {}

COSMPropExchange* COSMPropExchangeArchive::GetSection(LPCSTR)
{
    COSMPropExchangeArchive* section = new COSMPropExchangeArchive(*m_pArchive);
    section->InheritSettings(this);
    return section;
}

void COSMPropExchangeArchive::WriteCount(DWORD count)
{
    m_pArchive->WriteCount(count);
}

DWORD COSMPropExchangeArchive::ReadCount()
{
    return static_cast<DWORD>(m_pArchive->ReadCount());
}

void COSMPropExchangeArchive::Write(LPCSTR, const void* data, DWORD size)
{
    m_pArchive->Write(data, size);
}

DWORD COSMPropExchangeArchive::Read(LPCSTR, void* data, DWORD size)
{
    return m_pArchive->Read(data, size);
}

BOOL COSMPropExchangeArchive::CanOmitValues() const
{
    return FALSE;
}

BOOL COSMPropExchangeArchive::IsSequentialStorage() const
{
    return TRUE;
}

void COSMPropExchangeArchive::ExchangeSchema()
{
    CArchive& ar = *m_pArchive;
    if (IsStoring())
    {
        ar << kSchemaMarker;
        ar << static_cast<DWORD>(m_nSchema);
        return;
    }
    // A short stream (fewer than 4 bytes left) has no marker either: it is old data.
    BYTE next[4] = {};
    DWORD marker = 0;
    if (ar.Peek(next, 4) == 4)
        std::memcpy(&marker, next, 4);
    if (marker != kSchemaMarker)
    {
        m_nSchema = 0x11;
        return;
    }
    ar >> marker;
    DWORD schema = 0;
    ar >> schema;
    m_nSchema = static_cast<long>(schema);
}
