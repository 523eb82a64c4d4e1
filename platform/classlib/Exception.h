// The library's exceptions. Code that cannot go on (an archive that ends early, a file that fails under an archive,
// memory that cannot be had) throws a heap object through one of the AfxThrow functions; whoever can deal with it
// catches the pointer and frees it with Delete:
//
//   try {
//       ar >> value;
//   } catch (CException* e) {
//       ReportError(e->GetErrorMessage());
//       e->Delete();
//   }
//
// Delete frees only exceptions made with new, so the same classes also serve as error records on the stack or as
// members (CFile keeps its last failure in a CFileException). None of them may unwind through a system callback:
// the library's window procedure, dialog procedure and hooks catch and free them (see CallbackGuard.h).
// CFileException, which also describes CFile's failures, lives in File.h.
#pragma once

#include "classlib/CString.h"
#include "classlib/Object.h"

#include <cstddef>

class CException : public CObject
{
    DECLARE_DYNAMIC(CException)

public:
    CException();
    CException(const CException&) = delete;
    CException& operator=(const CException&) = delete;

    // ---- Override these ----------------------------------------------------------------------------------------
    // Fills lpszError with a sentence for the user; FALSE when the exception has nothing to say.
    virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    CString GetErrorMessage() const;
    // Frees the exception when it was made with new; one on the stack, in a member or in static storage stays.
    void Delete();
    BOOL IsAutoDelete() const { return m_bAutoDelete; }

    // For the library's own use: new marks the memory it hands out, and the constructor recognises it, so Delete
    // knows a heap object without every thrower having to say so.
    static void* operator new(std::size_t size);
    static void operator delete(void* p) noexcept;

private:
    bool m_bAutoDelete = false;
};

// Memory could not be had. Thrown as one static object (it must not need the heap), so Delete leaves it alone.
class CMemoryException : public CException
{
    DECLARE_DYNAMIC(CMemoryException)

public:
    CMemoryException() = default;
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
};

// An operation this object does not offer (storing a class that has no schema, opening a memory file by name ...).
class CNotSupportedException : public CException
{
    DECLARE_DYNAMIC(CNotSupportedException)

public:
    CNotSupportedException() = default;
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
};

// Why an archive (Archive.h) could not go on. m_strFileName names the file under the archive, when it has a name.
class CArchiveException : public CException
{
    DECLARE_DYNAMIC(CArchiveException)

public:
    enum
    {
        none = 0,
        genericException = 1,
        readOnly = 2,   // writing to a loading archive
        endOfFile = 3,  // the data ended before the value did
        writeOnly = 4,  // reading from a storing archive
        badIndex = 5,   // a reference to a table entry never given, or a table past its limit
        badClass = 6,   // a class the program does not know, or not the class expected
        badSchema = 7   // a stored version this class cannot read
    };

    explicit CArchiveException(int cause = none, LPCSTR lpszArchiveName = nullptr);
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;

    int m_cause;
    CString m_strFileName;
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowNotSupportedException();
[[noreturn]] void AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName = nullptr);
// Declared here for every thrower; the class and its causes are in File.h.
[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError = -1, LPCSTR lpszFileName = nullptr);

namespace osm_classlib_detail {
// Copies text into a caller's buffer the way every GetErrorMessage does; FALSE when nothing fits or text is empty.
BOOL CopyErrorMessage(LPCSTR text, LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext);
}  // namespace osm_classlib_detail
