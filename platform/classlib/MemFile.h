// CMemFile is a CFile whose bytes live in a memory block, so an archive can be written to memory and read back:
//
//   CMemFile file;                            // grows in steps of 1024 bytes
//   { CArchive ar(&file, CArchive::store); object.Serialize(ar); }
//   ULONGLONG length = file.GetLength();
//   BYTE* bytes = file.Detach();              // now the caller's: free it with free()
//
// Over a caller's block: Attach(buffer, size) with no growth makes those bytes the file's contents (a block that
// must not grow; writing past its end raises CMemoryException); Attach(buffer, size, growBy) makes it empty room
// that may grow, and then the block must come from malloc, because growing reallocates it. Detach hands the block
// back (it may have moved) and empties the file. The file frees, when it is closed or destroyed, only a block it
// allocated itself.
//
// Like CFile's, its failures (a seek before the start) are return values recorded in GetError; only memory
// exhaustion raises CMemoryException. Positions past the end are allowed; writing there fills the gap with zeros.
#pragma once

#include "classlib/File.h"

class CMemFile : public CFile
{
    DECLARE_DYNAMIC(CMemFile)

public:
    explicit CMemFile(UINT nGrowBytes = 1024);
    CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    ~CMemFile() override;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    BYTE* Detach();

    // ---- CFile -------------------------------------------------------------------------------------------------
    // A memory file has no name to open: refused (FALSE), as is every use of CFile's handle.
    BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;
    UINT Read(void* lpBuf, UINT nCount) override;
    BOOL Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetPosition() const override;
    ULONGLONG GetLength() const override;
    BOOL SetLength(ULONGLONG dwNewLen) override;
    BOOL Flush() override;
    // Frees a block the file allocated and empties the file; a caller's attached block is only let go.
    void Close() override;
    void Abort() override;

protected:
    // ---- Override these to keep the bytes elsewhere (CSharedFile: global memory) -------------------------------
    // Each returns null when the memory cannot be had.
    virtual BYTE* Alloc(SIZE_T nBytes);
    virtual BYTE* Realloc(BYTE* lpMem, SIZE_T nBytes);
    virtual void Free(BYTE* lpMem);
    // Makes the block hold at least dwNewLen bytes, in whole steps of the growth size; raises CMemoryException
    // when the block may not grow or memory runs out.
    virtual void GrowFile(SIZE_T dwNewLen);

    // For derived memory files: the block and how it is used.
    void SetBlock(BYTE* lpBuffer, SIZE_T nBufferSize, SIZE_T nFileSize, bool bAutoDelete);

    UINT m_nGrowBytes;
    SIZE_T m_nPosition = 0;
    SIZE_T m_nBufferSize = 0;
    SIZE_T m_nFileSize = 0;
    BYTE* m_lpBuffer = nullptr;
    bool m_bAutoDelete = true;  // the block is the file's own, freed by Close
};
