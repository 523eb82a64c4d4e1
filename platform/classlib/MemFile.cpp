#include "classlib/MemFile.h"

#include <cstdlib>
#include <cstring>
#include <limits>

IMPLEMENT_DYNAMIC(CMemFile, CFile)

CMemFile::CMemFile(UINT nGrowBytes) : m_nGrowBytes(nGrowBytes) {}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) : m_nGrowBytes(nGrowBytes)
{
    Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile()
{
    // A derived file's destructor has released its own kind of block already; what is left is ours.
    CMemFile::Close();
}

void CMemFile::SetBlock(BYTE* lpBuffer, SIZE_T nBufferSize, SIZE_T nFileSize, bool bAutoDelete)
{
    m_lpBuffer = lpBuffer;
    m_nBufferSize = nBufferSize;
    m_nFileSize = nFileSize;
    m_nPosition = 0;
    m_bAutoDelete = bAutoDelete;
}

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
{
    Close();
    m_nGrowBytes = nGrowBytes;
    // A block that may not grow is the file's contents; one that may grow is room to write into.
    SetBlock(lpBuffer, lpBuffer ? nBufferSize : 0, (lpBuffer && nGrowBytes == 0) ? nBufferSize : 0, false);
}

BYTE* CMemFile::Detach()
{
    BYTE* lpBuffer = m_lpBuffer;
    SetBlock(nullptr, 0, 0, true);
    return lpBuffer;
}

BYTE* CMemFile::Alloc(SIZE_T nBytes)
{
    return static_cast<BYTE*>(std::malloc(nBytes));
}

BYTE* CMemFile::Realloc(BYTE* lpMem, SIZE_T nBytes)
{
    return static_cast<BYTE*>(std::realloc(lpMem, nBytes));
}

void CMemFile::Free(BYTE* lpMem)
{
    std::free(lpMem);
}

void CMemFile::GrowFile(SIZE_T dwNewLen)
{
    if (dwNewLen <= m_nBufferSize)
        return;
    if (m_nGrowBytes == 0)
        AfxThrowMemoryException();
    const SIZE_T steps = (dwNewLen - m_nBufferSize + m_nGrowBytes - 1) / m_nGrowBytes;
    if (steps > (std::numeric_limits<SIZE_T>::max() - m_nBufferSize) / m_nGrowBytes)
        AfxThrowMemoryException();
    const SIZE_T nNewBufferSize = m_nBufferSize + steps * m_nGrowBytes;
    BYTE* lpNew = m_lpBuffer ? Realloc(m_lpBuffer, nNewBufferSize) : Alloc(nNewBufferSize);
    if (!lpNew)
        AfxThrowMemoryException();
    // Slack is zeroed: a block handed on (to the clipboard, say) must not carry stale heap contents.
    std::memset(lpNew + m_nBufferSize, 0, nNewBufferSize - m_nBufferSize);
    m_lpBuffer = lpNew;
    m_nBufferSize = nNewBufferSize;
}

BOOL CMemFile::Open(LPCSTR lpszFileName, UINT, CFileException* pError)
{
    m_error = CFileException(CFileException::genericException, -1, lpszFileName);
    if (pError)
        *pError = m_error;
    return FALSE;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount)
{
    if (m_nPosition >= m_nFileSize || nCount == 0)
        return 0;
    const SIZE_T available = m_nFileSize - m_nPosition;
    const UINT count = available < nCount ? static_cast<UINT>(available) : nCount;
    std::memcpy(lpBuf, m_lpBuffer + m_nPosition, count);
    m_nPosition += count;
    return count;
}

BOOL CMemFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return TRUE;
    if (nCount > std::numeric_limits<SIZE_T>::max() - m_nPosition)
        AfxThrowMemoryException();
    const SIZE_T writeEnd = m_nPosition + nCount;
    GrowFile(writeEnd);
    if (m_nPosition > m_nFileSize)
        std::memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
    std::memmove(m_lpBuffer + m_nPosition, lpBuf, nCount);
    m_nPosition = writeEnd;
    if (m_nPosition > m_nFileSize)
        m_nFileSize = m_nPosition;
    return TRUE;
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom)
{
    LONGLONG base = 0;
    switch (nFrom)
    {
    case begin:
        base = 0;
        break;
    case current:
        base = static_cast<LONGLONG>(m_nPosition);
        break;
    case end:
        base = static_cast<LONGLONG>(m_nFileSize);
        break;
    default:
        m_error = CFileException(CFileException::badSeek, -1, m_strFileName);
        return static_cast<ULONGLONG>(-1);
    }
    const bool overflows = lOff > 0 ? base > std::numeric_limits<LONGLONG>::max() - lOff : false;
    const LONGLONG target = overflows ? -1 : base + lOff;
    if (target < 0 || static_cast<ULONGLONG>(target) > std::numeric_limits<SIZE_T>::max())
    {
        m_error = CFileException(CFileException::badSeek, -1, m_strFileName);
        return static_cast<ULONGLONG>(-1);
    }
    m_nPosition = static_cast<SIZE_T>(target);
    return static_cast<ULONGLONG>(target);
}

ULONGLONG CMemFile::GetPosition() const
{
    return m_nPosition;
}

ULONGLONG CMemFile::GetLength() const
{
    return m_nFileSize;
}

BOOL CMemFile::SetLength(ULONGLONG dwNewLen)
{
    if (dwNewLen > std::numeric_limits<SIZE_T>::max())
        AfxThrowMemoryException();
    const auto nNewLen = static_cast<SIZE_T>(dwNewLen);
    GrowFile(nNewLen);
    if (nNewLen > m_nFileSize)
        std::memset(m_lpBuffer + m_nFileSize, 0, nNewLen - m_nFileSize);
    m_nFileSize = nNewLen;
    if (m_nPosition > nNewLen)
        m_nPosition = nNewLen;
    return TRUE;
}

BOOL CMemFile::Flush()
{
    return TRUE;
}

void CMemFile::Close()
{
    if (m_lpBuffer && m_bAutoDelete)
        Free(m_lpBuffer);
    SetBlock(nullptr, 0, 0, true);
}

void CMemFile::Abort()
{
    Close();
}
