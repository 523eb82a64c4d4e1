#include "classlib/SharedFile.h"

IMPLEMENT_DYNAMIC(CSharedFile, CMemFile)

CSharedFile::CSharedFile(UINT nAllocFlags, UINT nGrowBytes) : CMemFile(nGrowBytes), m_nAllocFlags(nAllocFlags) {}

CSharedFile::~CSharedFile()
{
    // Here, not in CMemFile's destructor: by then Free would no longer be ours.
    Close();
}

BOOL CSharedFile::SetHandle(HGLOBAL hGlobalMemory, BOOL bAllowGrow)
{
    Close();
    if (!hGlobalMemory)
        return FALSE;
    auto* lpBuffer = static_cast<BYTE*>(::GlobalLock(hGlobalMemory));
    if (!lpBuffer)
    {
        // A discarded or invalid block has no bytes to offer; the file stays empty and the block is not taken.
        m_error = CFileException(CFileException::invalidFile, static_cast<LONG>(::GetLastError()));
        return FALSE;
    }
    const SIZE_T size = ::GlobalSize(hGlobalMemory);
    m_hGlobalMemory = hGlobalMemory;
    m_bAllowGrow = bAllowGrow;
    SetBlock(lpBuffer, size, size, true);
    return TRUE;
}

HGLOBAL CSharedFile::Detach()
{
    HGLOBAL hGlobalMemory = m_hGlobalMemory;
    if (hGlobalMemory)
        ::GlobalUnlock(hGlobalMemory);
    m_hGlobalMemory = nullptr;
    m_bAllowGrow = TRUE;
    CMemFile::Detach();
    return hGlobalMemory;
}

BYTE* CSharedFile::Alloc(SIZE_T nBytes)
{
    ASSERT(m_hGlobalMemory == nullptr);
    HGLOBAL hGlobalMemory = ::GlobalAlloc(m_nAllocFlags, nBytes);
    if (!hGlobalMemory)
        return nullptr;
    auto* lpBuffer = static_cast<BYTE*>(::GlobalLock(hGlobalMemory));
    if (!lpBuffer)
    {
        ::GlobalFree(hGlobalMemory);
        return nullptr;
    }
    m_hGlobalMemory = hGlobalMemory;
    return lpBuffer;
}

BYTE* CSharedFile::Realloc(BYTE* lpMem, SIZE_T nBytes)
{
    static_cast<void>(lpMem);  // the block is known by its handle
    ASSERT(m_hGlobalMemory != nullptr);
    if (!m_bAllowGrow || !m_hGlobalMemory)
        return nullptr;
    // A block must be unlocked to move; when it cannot grow it stays as it was, locked again.
    ::GlobalUnlock(m_hGlobalMemory);
    HGLOBAL hGrown = ::GlobalReAlloc(m_hGlobalMemory, nBytes, GMEM_MOVEABLE);
    if (!hGrown)
    {
        ::GlobalLock(m_hGlobalMemory);
        return nullptr;
    }
    m_hGlobalMemory = hGrown;
    return static_cast<BYTE*>(::GlobalLock(hGrown));
}

void CSharedFile::Free(BYTE* lpMem)
{
    static_cast<void>(lpMem);
    if (!m_hGlobalMemory)
        return;
    ::GlobalUnlock(m_hGlobalMemory);
    ::GlobalFree(m_hGlobalMemory);
    m_hGlobalMemory = nullptr;
}
