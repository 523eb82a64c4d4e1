#include "classlib/CollectionSupport.h"

#include <algorithm>
#include <climits>

namespace {

UINT HashBytes(const char* p, size_t length)
{
    UINT hash = 0;
    for (size_t i = 0; i < length; ++i)
        hash = (hash << 5) + hash + static_cast<unsigned char>(p[i]);
    return hash;
}

}  // namespace

template <> UINT HashKey<LPCSTR>(LPCSTR key)
{
    return key ? HashBytes(key, std::char_traits<char>::length(key)) : 0;
}

template <> UINT HashKey<const CString&>(const CString& key)
{
    return HashBytes(key.GetString(), static_cast<size_t>(key.GetLength()));
}

template <> void SerializeElements<CString>(CArchive& ar, CString* pElements, INT_PTR nCount)
{
    for (INT_PTR i = 0; i < nCount; ++i)
    {
        if (ar.IsStoring())
            ar << pElements[i];
        else
            ar >> pElements[i];
    }
}

namespace osm_classlib_detail {

void SerializeBytes(CArchive& ar, void* pBytes, size_t nBytes)
{
    auto* p = static_cast<BYTE*>(pBytes);
    // The archive's calls take UINT sizes: go in chunks so element blocks past 4 GB on 64-bit stay whole.
    while (nBytes > 0)
    {
        const UINT chunk = static_cast<UINT>(std::min<size_t>(nBytes, UINT_MAX));
        if (ar.IsStoring())
        {
            ar.Write(p, chunk);
        }
        else if (ar.Read(p, chunk) != chunk)
        {
            AfxThrowArchiveException(CArchiveException::endOfFile, ar.GetFileName());
        }
        p += chunk;
        nBytes -= chunk;
    }
}

}  // namespace osm_classlib_detail
