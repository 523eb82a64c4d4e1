// CSharedFile is a memory file kept in one global memory block (GlobalAlloc), the form the clipboard trades in:
//
//   CSharedFile file;                         // GMEM_MOVEABLE | GMEM_SHARE, grows in steps of 4096 bytes
//   { CArchive ar(&file, CArchive::store); WriteIcons(ar); }
//   ::SetClipboardData(cfIcons, file.Detach());   // the live, unlocked block goes to the clipboard
//
//   CSharedFile in;
//   if (!in.SetHandle(hCopy, FALSE))          // read a block (the file frees it unless it is detached again)
//       ::GlobalFree(hCopy);                  // a block the file did not take is still the caller's
//
// Detach hands the block over unlocked and still allocated; it may be longer than the data (growth comes in whole
// steps), readers go by what the data says. The destructor frees only a block the file still holds.
#pragma once

#include "classlib/MemFile.h"

class CSharedFile : public CMemFile
{
    DECLARE_DYNAMIC(CSharedFile)

public:
    explicit CSharedFile(UINT nAllocFlags = GMEM_MOVEABLE | GMEM_SHARE, UINT nGrowBytes = 4096);
    ~CSharedFile() override;

    // Takes over a global block as the file's contents (its whole GlobalSize), replacing what the file held.
    // Without bAllowGrow, writing past the block's end raises CMemoryException. TRUE when the file took the block
    // (it frees it from then on unless detached); FALSE when it could not (no block, or one that does not lock,
    // such as a discarded one): the file is empty and the block stays the caller's to free.
    [[nodiscard]] BOOL SetHandle(HGLOBAL hGlobalMemory, BOOL bAllowGrow = TRUE);
    // The block, unlocked; the file is empty afterwards. Null when the file holds none.
    HGLOBAL Detach();

    // A global block is not a caller's malloc block.
    void Attach(BYTE*, UINT, UINT = 0) = delete;

protected:
    BYTE* Alloc(SIZE_T nBytes) override;
    BYTE* Realloc(BYTE* lpMem, SIZE_T nBytes) override;
    void Free(BYTE* lpMem) override;

    UINT m_nAllocFlags;
    HGLOBAL m_hGlobalMemory = nullptr;
    BOOL m_bAllowGrow = TRUE;
};
