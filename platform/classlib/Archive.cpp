#include "classlib/Archive.h"

#include "classlib/CallbackGuard.h"

#include <algorithm>
#include <climits>
#include <exception>

namespace {

// Tags of the class references.
const WORD kNewClassTag = 0xFFFF;
const WORD kClassTag = 0x8000;      // a back reference: 0x8000 | index
const WORD kBigObjectTag = 0x7FFF;  // the index follows in 4 bytes
const DWORD kBigClassTag = 0x80000000;
const DWORD kMaxMapCount = 0x3FFFFFFE;

// The string lengths' escapes: a byte of FF says 2 bytes follow, 2 bytes of FFFF say 4 bytes follow. A 2-byte FFFE is
// the wide-string marker of Unicode writers, which this ANSI build neither writes nor reads.
const BYTE kByteLengthEscape = 0xFF;
const WORD kWordLengthEscape = 0xFFFF;
const WORD kWideStringMarker = 0xFFFE;

const int kMinBufferSize = 16;

// Counts and lengths are stored in at most 4 bytes; only a 64-bit build can hold more.
template <class T> bool FitsInDword([[maybe_unused]] T value)
{
    if constexpr (sizeof(T) > sizeof(DWORD))
        return value <= static_cast<T>(0xFFFFFFFFu);
    return true;
}

}  // namespace

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize)
    : m_pFile(pFile), m_nMode(nMode), m_buffer(static_cast<size_t>(std::max(nBufSize, kMinBufferSize))),
      m_nUncaughtAtStart(std::uncaught_exceptions())
{
    ASSERT(pFile != nullptr);
    if (pFile)
        m_strFileName = pFile->GetFilePath();
}

CArchive::~CArchive()
{
    if (!m_pFile)
        return;
    // Writing the rest out while an exception unwinds would store half an object as if it were whole.
    if ((m_nMode & bNoFlushOnDelete) || std::uncaught_exceptions() > m_nUncaughtAtStart)
    {
        Abort();
        return;
    }
    osm_classlib_detail::GuardCallback("CArchive's closing destructor", 0, [this] {
        Close();
        return 0;
    });
    m_pFile = nullptr;
}

// ---- Checks and failures -------------------------------------------------------------------------------------

void CArchive::CheckLoading()
{
    if (!m_pFile)
        ThrowArchive(CArchiveException::genericException);
    if (!IsLoading())
        ThrowArchive(CArchiveException::writeOnly);
}

void CArchive::CheckStoring()
{
    if (!m_pFile)
        ThrowArchive(CArchiveException::genericException);
    if (IsLoading())
        ThrowArchive(CArchiveException::readOnly);
}

void CArchive::ThrowArchive(int cause) const
{
    AfxThrowArchiveException(cause, m_strFileName);
}

void CArchive::ThrowFileError() const
{
    const CFileException& error = m_pFile->GetError();
    const int cause = error.m_cause != CFileException::none ? error.m_cause : CFileException::genericException;
    AfxThrowFileException(cause, error.m_lOsError, m_strFileName);
}

// ---- Buffering -----------------------------------------------------------------------------------------------

bool CArchive::Available(size_t nBytes)
{
    if (m_nEnd - m_nCur >= nBytes)
        return true;
    // Move what is left to the front and read behind it; a request larger than the buffer (a long peek) grows it.
    std::copy(m_buffer.begin() + static_cast<ptrdiff_t>(m_nCur), m_buffer.begin() + static_cast<ptrdiff_t>(m_nEnd),
              m_buffer.begin());
    m_nEnd -= m_nCur;
    m_nCur = 0;
    if (m_buffer.size() < nBytes)
        m_buffer.resize(nBytes);
    while (m_nEnd < nBytes)
    {
        const UINT room = static_cast<UINT>(std::min<size_t>(m_buffer.size() - m_nEnd, UINT_MAX));
        const UINT got = m_pFile->Read(&m_buffer[m_nEnd], room);
        if (got == 0)
            return false;
        m_nEnd += got;
    }
    return true;
}

void CArchive::FlushBuffer()
{
    if (m_nCur == 0)
        return;
    const UINT count = static_cast<UINT>(m_nCur);
    m_nCur = 0;  // the bytes are gone either way: a failed write must not be repeated by a later flush
    WriteToFile(m_buffer.data(), count);
}

void CArchive::WriteToFile(const void* lpBuf, UINT nCount)
{
    if (!m_pFile->Write(lpBuf, nCount))
        ThrowFileError();
}

UINT CArchive::Read(void* lpBuf, UINT nMax)
{
    CheckLoading();
    auto* out = static_cast<BYTE*>(lpBuf);
    UINT total = 0;
    while (total < nMax)
    {
        const size_t buffered = m_nEnd - m_nCur;
        const UINT wanted = nMax - total;
        if (buffered > 0)
        {
            const UINT chunk = static_cast<UINT>(std::min<size_t>(buffered, wanted));
            std::memcpy(out + total, &m_buffer[m_nCur], chunk);
            m_nCur += chunk;
            total += chunk;
        }
        else if (wanted >= m_buffer.size())
        {
            // Large blocks go straight from the file, past the buffer.
            const UINT got = m_pFile->Read(out + total, wanted);
            if (got == 0)
                break;
            total += got;
        }
        else if (!Available(1))
        {
            break;
        }
    }
    return total;
}

void CArchive::Write(const void* lpBuf, UINT nMax)
{
    CheckStoring();
    const auto* in = static_cast<const BYTE*>(lpBuf);
    while (nMax > 0)
    {
        if (m_nCur == 0 && nMax >= m_buffer.size())
        {
            WriteToFile(in, nMax);
            return;
        }
        const UINT chunk = static_cast<UINT>(std::min<size_t>(m_buffer.size() - m_nCur, nMax));
        std::memcpy(&m_buffer[m_nCur], in, chunk);
        m_nCur += chunk;
        in += chunk;
        nMax -= chunk;
        if (m_nCur == m_buffer.size())
            FlushBuffer();
    }
}

UINT CArchive::Peek(void* lpBuf, UINT nCount)
{
    CheckLoading();
    Available(nCount);
    const UINT seen = static_cast<UINT>(std::min<size_t>(m_nEnd - m_nCur, nCount));
    if (seen > 0)
        std::memcpy(lpBuf, &m_buffer[m_nCur], seen);
    return seen;
}

void CArchive::ReadExact(void* lpBuf, size_t nCount)
{
    auto* out = static_cast<BYTE*>(lpBuf);
    while (nCount > 0)
    {
        const UINT chunk = static_cast<UINT>(std::min<size_t>(nCount, UINT_MAX));
        if (Read(out, chunk) != chunk)
            ThrowArchive(CArchiveException::endOfFile);
        out += chunk;
        nCount -= chunk;
    }
}

void CArchive::EnsureRemaining(ULONGLONG nCount)
{
    CheckLoading();
    const ULONGLONG buffered = m_nEnd - m_nCur;
    if (nCount <= buffered)
        return;
    const ULONGLONG length = m_pFile->GetLength();
    const ULONGLONG position = m_pFile->GetPosition();
    const ULONGLONG inFile = length > position ? length - position : 0;
    if (nCount - buffered > inFile)
        ThrowArchive(CArchiveException::endOfFile);
}

void CArchive::Skip(ULONGLONG nCount)
{
    CheckLoading();
    BYTE scratch[4096];
    while (nCount > 0)
    {
        const UINT chunk = static_cast<UINT>(std::min<ULONGLONG>(nCount, sizeof scratch));
        ReadExact(scratch, chunk);
        nCount -= chunk;
    }
}

void CArchive::Flush()
{
    if (!m_pFile)
        return;
    if (IsStoring())
    {
        FlushBuffer();
        return;
    }
    // Give back what was read ahead, so the file stands where the archive's reader does.
    const size_t unread = m_nEnd - m_nCur;
    m_nCur = m_nEnd = 0;
    if (unread > 0 && m_pFile->Seek(-static_cast<LONGLONG>(unread), CFile::current) == static_cast<ULONGLONG>(-1))
        ThrowFileError();
}

void CArchive::Close()
{
    if (!m_pFile)
        return;
    Flush();
    Abort();
}

void CArchive::Abort()
{
    m_pFile = nullptr;
    m_nCur = m_nEnd = 0;
    m_storedIndexes.clear();
    m_loaded.clear();
}

// ---- Counts and strings --------------------------------------------------------------------------------------

void CArchive::WriteCount(DWORD_PTR dwCount)
{
    if (dwCount < 0xFFFF)
    {
        *this << static_cast<WORD>(dwCount);
        return;
    }
    if (!FitsInDword(dwCount))
        ThrowArchive(CArchiveException::genericException);
    *this << static_cast<WORD>(0xFFFF) << static_cast<DWORD>(dwCount);
}

DWORD_PTR CArchive::ReadCount()
{
    WORD wCount = 0;
    *this >> wCount;
    if (wCount != 0xFFFF)
        return wCount;
    DWORD dwCount = 0;
    *this >> dwCount;
    return dwCount;
}

void CArchive::WriteStringLength(size_t nLength)
{
    if (nLength < kByteLengthEscape)
    {
        *this << static_cast<BYTE>(nLength);
    }
    else if (nLength < kWideStringMarker)
    {
        *this << kByteLengthEscape << static_cast<WORD>(nLength);
    }
    else
    {
        if (!FitsInDword(nLength))
            ThrowArchive(CArchiveException::genericException);
        *this << kByteLengthEscape << kWordLengthEscape << static_cast<DWORD>(nLength);
    }
}

size_t CArchive::ReadStringLength()
{
    BYTE bLength = 0;
    *this >> bLength;
    if (bLength != kByteLengthEscape)
        return bLength;
    WORD wLength = 0;
    *this >> wLength;
    if (wLength == kWideStringMarker)
        ThrowArchive(CArchiveException::genericException);
    if (wLength != kWordLengthEscape)
        return wLength;
    DWORD dwLength = 0;
    *this >> dwLength;
    return dwLength;
}

CArchive& CArchive::operator<<(const CString& str)
{
    CheckStoring();
    WriteStringLength(static_cast<size_t>(str.GetLength()));
    Write(str.GetString(), static_cast<UINT>(str.GetLength()));
    return *this;
}

CArchive& CArchive::operator<<(LPCSTR psz)
{
    return *this << CString(psz ? psz : "");
}

CArchive& CArchive::operator>>(CString& str)
{
    CheckLoading();
    const size_t length = ReadStringLength();
    if (length > static_cast<size_t>(INT_MAX))
        ThrowArchive(CArchiveException::genericException);
    // Taken chunk by chunk as the bytes arrive, so a damaged length runs into the end of the data before it can claim
    // gigabytes of memory.
    std::string text;
    for (size_t remaining = length; remaining > 0;)
    {
        if (!Available(1))
            ThrowArchive(CArchiveException::endOfFile);
        const size_t chunk = std::min(remaining, m_nEnd - m_nCur);
        text.append(reinterpret_cast<const char*>(&m_buffer[m_nCur]), chunk);
        m_nCur += chunk;
        remaining -= chunk;
    }
    str = CString(text);
    return *this;
}

CArchive& CArchive::operator>>(bool& b)
{
    BYTE by = 0;
    *this >> by;
    b = by != 0;
    return *this;
}

// ---- Classes and the index table -----------------------------------------------------------------------------

DWORD CArchive::NextIndex()
{
    if (m_nMapCount >= kMaxMapCount)
        ThrowArchive(CArchiveException::badIndex);
    return ++m_nMapCount;
}

void CArchive::RecordLoaded(DWORD nIndex, const void* p, UINT nSchema, bool bClass)
{
    if (m_loaded.size() <= nIndex)
        m_loaded.resize(static_cast<size_t>(nIndex) + 1);
    m_loaded[nIndex] = LoadedEntry{p, nSchema, bClass};
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef)
{
    CheckStoring();
    if (!pClassRef)
        ThrowArchive(CArchiveException::badClass);
    if (pClassRef->m_wSchema == 0xFFFF)
        AfxThrowNotSupportedException();

    auto known = m_storedIndexes.find(pClassRef);
    if (known != m_storedIndexes.end())
    {
        const DWORD nIndex = known->second;
        if (nIndex < kBigObjectTag)
            *this << static_cast<WORD>(kClassTag | nIndex);
        else
            *this << kBigObjectTag << static_cast<DWORD>(kBigClassTag | nIndex);
        return;
    }

    const size_t nameLength = std::strlen(pClassRef->m_lpszClassName);
    if (nameLength > 0xFFFF)
        ThrowArchive(CArchiveException::badClass);
    m_storedIndexes.emplace(pClassRef, NextIndex());
    *this << kNewClassTag << static_cast<WORD>(pClassRef->m_wSchema & 0xFFFF) << static_cast<WORD>(nameLength);
    Write(pClassRef->m_lpszClassName, static_cast<UINT>(nameLength));
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema)
{
    CheckLoading();
    WORD wTag = 0;
    *this >> wTag;

    CRuntimeClass* pClassRef = nullptr;
    UINT nSchema = 0;
    if (wTag == kNewClassTag)
    {
        WORD wSchema = 0;
        WORD wNameLength = 0;
        *this >> wSchema >> wNameLength;
        std::string name(wNameLength, '\0');
        ReadExact(&name[0], wNameLength);
        pClassRef = CRuntimeClass::FromName(name.c_str());
        // A class without a schema cannot have been stored, whatever the data says.
        if (!pClassRef || pClassRef->m_wSchema == 0xFFFF || name.size() != std::strlen(name.c_str()))
            ThrowArchive(CArchiveException::badClass);
        // A class that is not versionable reads only the one schema it has.
        if (!(pClassRef->m_wSchema & VERSIONABLE_SCHEMA) && (pClassRef->m_wSchema & 0xFFFF) != wSchema)
            ThrowArchive(CArchiveException::badSchema);
        nSchema = wSchema;
        RecordLoaded(NextIndex(), pClassRef, nSchema, true);
    }
    else
    {
        DWORD nIndex = 0;
        if (wTag == kBigObjectTag)
        {
            DWORD dwTag = 0;
            *this >> dwTag;
            if (!(dwTag & kBigClassTag))
                ThrowArchive(CArchiveException::badIndex);  // an object's reference, not a class's
            nIndex = dwTag & ~kBigClassTag;
        }
        else
        {
            if (!(wTag & kClassTag))
                ThrowArchive(CArchiveException::badIndex);
            nIndex = wTag & ~kClassTag;
        }
        if (nIndex == 0 || nIndex >= m_loaded.size() || !m_loaded[nIndex].bClass)
            ThrowArchive(CArchiveException::badIndex);
        pClassRef = const_cast<CRuntimeClass*>(static_cast<const CRuntimeClass*>(m_loaded[nIndex].p));
        nSchema = m_loaded[nIndex].nSchema;
    }

    if (pClassRefRequested && !pClassRef->IsDerivedFrom(pClassRefRequested))
        ThrowArchive(CArchiveException::badClass);
    if (pSchema)
        *pSchema = nSchema;
    return pClassRef;
}

void CArchive::MapObject(const CObject* pOb)
{
    if (!m_pFile)
        ThrowArchive(CArchiveException::genericException);
    if (IsStoring())
    {
        if (m_storedIndexes.find(pOb) == m_storedIndexes.end())
            m_storedIndexes.emplace(pOb, NextIndex());
    }
    else
    {
        RecordLoaded(NextIndex(), pOb, 0, false);
    }
}
