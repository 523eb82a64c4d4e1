#include "framework/foundation/PropExchange.h"

#include "classlib/Archive.h"
#include "classlib/MemFile.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

IMPLEMENT_DYNAMIC(COSMPropExchange, CCmdTarget)

namespace {

// A named store keeps a block of bytes as text: each byte as two letters 'A'..'P', low half first.
CString EncodeBlobText(const BYTE* data, DWORD size)
{
    std::string text(static_cast<std::size_t>(size) * 2, 'A');
    for (DWORD i = 0; i < size; ++i)
    {
        text[2 * i] = static_cast<char>('A' + (data[i] & 0x0F));
        text[2 * i + 1] = static_cast<char>('A' + (data[i] >> 4));
    }
    return CString(text.c_str());
}

// False for text of odd length or with a letter outside 'A'..'P': such text is not a block.
bool DecodeBlobText(const CString& text, std::vector<BYTE>& bytes)
{
    const int length = text.GetLength();
    if (length % 2 != 0)
        return false;
    const char* letters = text;
    bytes.resize(static_cast<std::size_t>(length / 2));
    for (int i = 0; i < length; ++i)
    {
        if (letters[i] < 'A' || letters[i] > 'P')
            return false;
    }
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<BYTE>((letters[2 * i + 1] - 'A') * 16 + (letters[2 * i] - 'A'));
    return true;
}

}  // namespace

COSMPropExchange::COSMPropExchange() = default;

COSMPropExchange::~COSMPropExchange() = default;

void COSMPropExchange::InheritSettings(const COSMPropExchange* parent)
{
    m_dwData = parent->m_dwData;
    m_nSchema = parent->m_nSchema;
    m_bSectionFlag = parent->m_bSectionFlag;
    m_bUseDefaultOnLoad = parent->m_bUseDefaultOnLoad;
    m_bUseDefaultOnSave = parent->m_bUseDefaultOnSave;
    m_bChildSection = TRUE;
}

BOOL COSMPropExchange::ExchangeBlob(LPCSTR name, BYTE** data, DWORD* size)
{
    if (!data || !size)
        return FALSE;
    if (IsStoring())
    {
        CString text = *size ? EncodeBlobText(*data, *size) : CString();
        return ExchangeProp(name, OSM_PX_STRING, &text, "");
    }
    CString text;
    if (!ExchangeProp(name, OSM_PX_STRING, &text, nullptr))
        return FALSE;
    if (text.IsEmpty())
        return TRUE;
    std::vector<BYTE> bytes;
    if (!DecodeBlobText(text, bytes))
        return FALSE;
    const DWORD count = static_cast<DWORD>(bytes.size());
    if (!*data)
    {
        *data = static_cast<BYTE*>(std::malloc(count));
        if (!*data)
            return FALSE;
        *size = count;
    }
    else if (*size < count)
    {
        return FALSE;
    }
    std::memcpy(*data, bytes.data(), count);
    return TRUE;
}

BOOL COSMPropExchange::ExchangeRuntimeClass(LPCSTR name, CRuntimeClass** runtimeClass, CRuntimeClass* defaultClass)
{
    if (!runtimeClass)
        return FALSE;
    if (IsStoring())
    {
        CString className = *runtimeClass ? (*runtimeClass)->m_lpszClassName : "";
        return ExchangeProp(name, OSM_PX_STRING, &className, defaultClass ? defaultClass->m_lpszClassName : "");
    }
    CString className;
    if (!ExchangeProp(name, OSM_PX_STRING, &className, nullptr) || className.IsEmpty())
    {
        // Absent: the caller's default class.
        *runtimeClass = defaultClass;
        return defaultClass != nullptr;
    }
    *runtimeClass = FindRuntimeClass(className);
    return *runtimeClass != nullptr;
}

BOOL COSMPropExchange::ExchangeObjectInstance(CObject** object, CRuntimeClass* baseClass)
{
    if (!object)
        return FALSE;
    if (IsStoring())
    {
        if (!*object)
            return FALSE;
        CRuntimeClass* runtimeClass = (*object)->GetRuntimeClass();
        return ExchangeRuntimeClass("Class", &runtimeClass, baseClass);
    }
    CRuntimeClass* runtimeClass = nullptr;
    if (!ExchangeRuntimeClass("Class", &runtimeClass, baseClass) || !runtimeClass)
        return FALSE;
    // Checked before anything is made: the data must not be able to construct an arbitrary creatable class.
    if (baseClass && !runtimeClass->IsDerivedFrom(baseClass))
        return FALSE;
    CObject* made = runtimeClass->CreateObject();
    if (!made)
        return FALSE;
    *object = made;
    return TRUE;
}

CArchive* COSMPropExchange::GetArchive(LPCSTR name)
{
    if (IsStoring())
    {
        CMemFile* file = new CMemFile(1024);
        return new CArchive(file, CArchive::store, 4096);
    }
    BYTE* data = nullptr;
    DWORD size = 0;
    if (!ExchangeBlob(name, &data, &size) || !data || size == 0)
    {
        std::free(data);
        return nullptr;
    }
    CMemFile* file = new CMemFile();
    file->Attach(data, size, 0);
    return new CArchive(file, CArchive::load, 4096);
}

void COSMPropExchange::ReleaseArchive(LPCSTR name, CArchive* archive)
{
    if (!archive)
        return;
    CMemFile* file = static_cast<CMemFile*>(archive->GetFile());
    BYTE* data = nullptr;
    if (IsStoring())
    {
        archive->Flush();
        DWORD size = static_cast<DWORD>(file->GetPosition());
        data = file->Detach();
        ExchangeBlob(name, &data, &size);
    }
    else
    {
        data = file->Detach();
    }
    archive->Abort();
    delete archive;
    file->Close();
    delete file;
    std::free(data);
}

COSMPropExchange* COSMPropExchange::SetSectionFlag()
{
    m_bSectionFlag = TRUE;
    return this;
}

void COSMPropExchange::WriteCount(DWORD count)
{
    PropExchangeDWord(this, "Count", &count, 0);
}

DWORD COSMPropExchange::ReadCount()
{
    DWORD count = 0;
    PropExchangeDWord(this, "Count", &count, 0);
    return count;
}

void COSMPropExchange::Write(LPCSTR name, const void* data, DWORD size)
{
    BYTE* bytes = static_cast<BYTE*>(const_cast<void*>(data));
    ExchangeBlob(name, &bytes, &size);
}

DWORD COSMPropExchange::Read(LPCSTR name, void* data, DWORD size)
{
    if (IsStoring() || !data)
        return 0;
    CString text;
    std::vector<BYTE> bytes;
    if (!ExchangeProp(name, OSM_PX_STRING, &text, nullptr) || !DecodeBlobText(text, bytes) || bytes.size() > size)
        return 0;
    std::memcpy(data, bytes.data(), bytes.size());
    return static_cast<DWORD>(bytes.size());
}

BOOL COSMPropExchange::CanOmitValues() const
{
    return TRUE;
}

BOOL COSMPropExchange::IsSequentialStorage() const
{
    return FALSE;
}

BOOL COSMPropExchange::OnBeforeExchange()
{
    m_bUsed = TRUE;
    return TRUE;
}

COSMPropExchangeEnumerator* COSMPropExchange::GetEnumerator(LPCSTR sectionBaseName)
{
    return new COSMPropExchangeEnumerator(this, sectionBaseName);
}

void COSMPropExchange::ExchangeSchema()
{
    PropExchangeLong(this, "Schema", &m_nSchema, 0x20);
}

COSMPropExchangeEnumerator::COSMPropExchangeEnumerator(COSMPropExchange* owner, LPCSTR sectionBaseName)
    : m_pOwner(owner), m_strSectionName(sectionBaseName)
{}

COSMPropExchangeEnumerator::~COSMPropExchangeEnumerator() = default;

POSITION COSMPropExchangeEnumerator::GetPosition(DWORD count, BOOL compact)
{
    m_nCount = count;
    if (!m_pOwner)
        return nullptr;
    if (!compact)
        PropExchangeDWord(m_pOwner, "Count", &m_nCount, 0);
    else if (m_pOwner->IsLoading())
        m_nCount = m_pOwner->ReadCount();
    else
        m_pOwner->WriteCount(m_nCount);
    return m_nCount ? reinterpret_cast<POSITION>(static_cast<DWORD_PTR>(1)) : nullptr;
}

COSMPropExchange* COSMPropExchangeEnumerator::GetNext(POSITION& pos)
{
    // Positions count from 1, section names from 0.
    const DWORD_PTR index = reinterpret_cast<DWORD_PTR>(pos);
    const CString name = m_strSectionName + CString(std::to_string(index - 1).c_str());
    COSMPropExchange* section = m_pOwner->GetSection(name);
    pos = index + 1 > m_nCount ? nullptr : reinterpret_cast<POSITION>(index + 1);
    return section;
}

BOOL PropExchangeByte(COSMPropExchange* px, LPCSTR name, BYTE* value, BYTE defaultValue)
{
    return px ? px->ExchangeProp(name, OSM_PX_BYTE, value, &defaultValue) : FALSE;
}

BOOL PropExchangeShort(COSMPropExchange* px, LPCSTR name, short* value, short defaultValue)
{
    return px ? px->ExchangeProp(name, OSM_PX_SHORT, value, &defaultValue) : FALSE;
}

BOOL PropExchangeLong(COSMPropExchange* px, LPCSTR name, long* value, long defaultValue)
{
    return px ? px->ExchangeProp(name, OSM_PX_LONG, value, &defaultValue) : FALSE;
}

BOOL PropExchangeLongNoDefault(COSMPropExchange* px, LPCSTR name, long* value)
{
    return px ? px->ExchangeProp(name, OSM_PX_LONG, value, nullptr) : FALSE;
}

BOOL PropExchangeDWord(COSMPropExchange* px, LPCSTR name, DWORD* value, DWORD defaultValue)
{
    return px ? px->ExchangeProp(name, OSM_PX_LONG, value, &defaultValue) : FALSE;
}

BOOL PropExchangeBool(COSMPropExchange* px, LPCSTR name, BOOL* value, BOOL defaultValue)
{
    return px ? px->ExchangeProp(name, OSM_PX_BOOL, value, &defaultValue) : FALSE;
}

BOOL PropExchangeString(COSMPropExchange* px, LPCSTR name, CString* value, LPCSTR defaultValue)
{
    return px ? px->ExchangeProp(name, OSM_PX_STRING, value, defaultValue) : FALSE;
}

BOOL PropExchangeStringNoDefault(COSMPropExchange* px, LPCSTR name, CString* value)
{
    return px ? px->ExchangeProp(name, OSM_PX_STRING, value, nullptr) : FALSE;
}

BOOL PropExchangeSize(COSMPropExchange* px, LPCSTR name, SIZE* value, SIZE defaultValue)
{
    return px ? px->ExchangeProp(name, OSM_PX_SIZE, value, &defaultValue) : FALSE;
}

BOOL PropExchangeRect(COSMPropExchange* px, LPCSTR name, RECT* value, RECT defaultValue)
{
    return px ? px->ExchangeProp(name, OSM_PX_RECT, value, &defaultValue) : FALSE;
}

BOOL PropExchangeRuntimeClass(COSMPropExchange* px, LPCSTR name, CRuntimeClass** runtimeClass,
                              CRuntimeClass* defaultClass)
{
    return px ? px->ExchangeRuntimeClass(name, runtimeClass, defaultClass) : FALSE;
}

BOOL PropExchangeBlob(COSMPropExchange* px, LPCSTR name, BYTE** data, DWORD* size)
{
    return px ? px->ExchangeBlob(name, data, size) : FALSE;
}

BOOL PropExchangeSerialize(COSMPropExchange* px, LPCSTR name, CObject* object)
{
    if (!px || !object)
        return FALSE;
    CArchive* archive = px->GetArchive(name);
    if (!archive)
        return FALSE;
    try
    {
        object->Serialize(*archive);
    }
    catch (CException* e)
    {
        if (px->IsSequentialStorage())
        {
            // The stream's position is unknown now: whoever reads or writes on must not go on as if nothing
            // happened.
            px->ReleaseArchive(name, archive);
            throw;
        }
        e->Delete();
        px->ReleaseArchive(name, archive);
        return FALSE;
    }
    px->ReleaseArchive(name, archive);
    return TRUE;
}

CRuntimeClass* FindRuntimeClass(LPCSTR className)
{
    return CRuntimeClass::FromName(className);
}
