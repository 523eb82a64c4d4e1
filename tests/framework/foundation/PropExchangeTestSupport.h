// Stores for persistence tests: a named store that keeps every value as text under its full name ("Item0\Width"),
// shared by its sections, counts its live stores (so a test sees a section nobody released) and raises
// CArchiveException where a value reads kDamagedValue; and archive stores over memory with their bytes.
#pragma once

#include "classlib/Archive.h"
#include "classlib/MemFile.h"
#include "framework/foundation/PropExchange.h"
#include "framework/foundation/PropExchangeArchive.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace prop_exchange_test {

using Bytes = std::vector<BYTE>;

class NamedTestStore : public COSMPropExchange
{
public:
    using Values = std::map<std::string, std::string>;

    // A stored value that loads as damage: reading it raises CArchiveException (badIndex).
    static constexpr const char* kDamagedValue = "<damaged>";

    NamedTestStore(std::shared_ptr<Values> values, bool loading, std::string prefix = {})
        : m_values(std::move(values)), m_prefix(std::move(prefix))
    {
        m_bLoading = loading;
        ++LiveCount();
    }
    ~NamedTestStore() override { --LiveCount(); }

    // How many stores and sections exist now.
    static int LiveStores() { return LiveCount(); }

    BOOL ExchangeProp(LPCSTR name, VARTYPE type, void* value, const void* defaultValue) override
    {
        OnBeforeExchange();
        const std::string key = m_prefix + name;
        if (IsStoring())
        {
            (*m_values)[key] = ToText(type, value);
            return TRUE;
        }
        const auto found = m_values->find(key);
        if (found == m_values->end())
        {
            if (!defaultValue)
                return FALSE;
            if (type == OSM_PX_STRING)
                *static_cast<CString*>(value) = static_cast<LPCSTR>(defaultValue);
            else
                std::memcpy(value, defaultValue, Size(type));
            return TRUE;
        }
        if (found->second == kDamagedValue)
            AfxThrowArchiveException(CArchiveException::badIndex);
        FromText(type, found->second, value);
        return TRUE;
    }

    COSMPropExchange* GetSection(LPCSTR name) override
    {
        auto* section = new NamedTestStore(m_values, IsLoading(), m_prefix + name + "\\");
        section->InheritSettings(this);
        return section;
    }

private:
    static int& LiveCount()
    {
        static int count = 0;
        return count;
    }

    static size_t Size(VARTYPE type)
    {
        switch (type)
        {
        case OSM_PX_BYTE:
            return 1;
        case OSM_PX_SHORT:
            return 2;
        case OSM_PX_SIZE:
            return sizeof(SIZE);
        default:
            return 4;
        }
    }

    static std::string ToText(VARTYPE type, const void* value)
    {
        switch (type)
        {
        case OSM_PX_STRING:
            return static_cast<LPCSTR>(*static_cast<const CString*>(value));
        case OSM_PX_BYTE:
            return std::to_string(*static_cast<const BYTE*>(value));
        case OSM_PX_SHORT:
            return std::to_string(*static_cast<const short*>(value));
        case OSM_PX_SIZE:
        {
            const SIZE& size = *static_cast<const SIZE*>(value);
            return std::to_string(size.cx) + "," + std::to_string(size.cy);
        }
        default:
            return std::to_string(*static_cast<const LONG*>(value));
        }
    }

    static void FromText(VARTYPE type, const std::string& text, void* value)
    {
        switch (type)
        {
        case OSM_PX_STRING:
            *static_cast<CString*>(value) = text.c_str();
            break;
        case OSM_PX_BYTE:
            *static_cast<BYTE*>(value) = static_cast<BYTE>(std::atoi(text.c_str()));
            break;
        case OSM_PX_SHORT:
            *static_cast<short*>(value) = static_cast<short>(std::atoi(text.c_str()));
            break;
        case OSM_PX_SIZE:
        {
            SIZE& size = *static_cast<SIZE*>(value);
            size.cx = std::atol(text.c_str());
            size.cy = std::atol(text.c_str() + text.find(',') + 1);
            break;
        }
        default:
            *static_cast<LONG*>(value) = std::atol(text.c_str());
            break;
        }
    }

    std::shared_ptr<Values> m_values;
    std::string m_prefix;
};

inline std::shared_ptr<NamedTestStore::Values> NewValues()
{
    return std::make_shared<NamedTestStore::Values>();
}

// An archive store over memory, and its bytes.
struct StoreToMemory
{
    CMemFile file;
    CArchive ar{&file, CArchive::store};
    COSMPropExchangeArchive px{ar};

    Bytes Take()
    {
        ar.Close();
        Bytes bytes(static_cast<size_t>(file.GetLength()));
        file.SeekToBegin();
        file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
        return bytes;
    }
};

struct LoadFromMemory
{
    Bytes bytes;
    CMemFile file;
    CArchive ar;
    COSMPropExchangeArchive px;

    explicit LoadFromMemory(Bytes data)
        : bytes(std::move(data)), file(bytes.data(), static_cast<UINT>(bytes.size())), ar(&file, CArchive::load), px(ar)
    {}
};

// The cause of the CArchiveException f raised; -1 when none.
template <typename F> int ArchiveFailure(F f)
{
    try
    {
        f();
    }
    catch (CArchiveException* e)
    {
        const int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return -1;
}

// Values of hand-built streams, little-endian.
inline void AppendDWord(Bytes& bytes, DWORD value)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<BYTE>(value >> (8 * i)));
}

inline void AppendBytes(Bytes& bytes, std::initializer_list<BYTE> more)
{
    bytes.insert(bytes.end(), more.begin(), more.end());
}

}  // namespace prop_exchange_test

// Stores the object at the schema through an archive exchange and loads it into another at the same schema.
template <class T> void RoundTripAtSchema(T& source, T& loaded, long schema)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        COSMPropExchangeArchive px(ar);
        px.m_nSchema = schema;
        source.DoPropExchange(&px);
        ar.Close();
    }
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    COSMPropExchangeArchive px(ar);
    px.m_nSchema = schema;
    loaded.DoPropExchange(&px);
    ar.Close();
}
