#include "classlib/Exception.h"

#include <new>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)

namespace {

// The block operator new handed out last on this thread and not yet claimed by a constructor. C++17 allocates
// before it evaluates the constructor's arguments, and the CException base is built first, so the object whose
// address matches is the one that memory was allocated for (CException is always the first base).
thread_local void* t_pUnclaimedHeapException = nullptr;

}  // namespace

void* CException::operator new(std::size_t size)
{
    void* p = ::operator new(size);
    t_pUnclaimedHeapException = p;
    return p;
}

void CException::operator delete(void* p) noexcept
{
    ::operator delete(p);
}

CException::CException()
{
    if (t_pUnclaimedHeapException == static_cast<void*>(this))
    {
        m_bAutoDelete = true;
        t_pUnclaimedHeapException = nullptr;
    }
}

void CException::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

BOOL CException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    return osm_classlib_detail::CopyErrorMessage("", lpszError, nMaxError, pnHelpContext);
}

CString CException::GetErrorMessage() const
{
    char text[512] = {};
    return GetErrorMessage(text, sizeof text) ? CString(text) : CString();
}

BOOL CMemoryException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    return osm_classlib_detail::CopyErrorMessage("Out of memory.", lpszError, nMaxError, pnHelpContext);
}

BOOL CNotSupportedException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    return osm_classlib_detail::CopyErrorMessage("Unsupported operation.", lpszError, nMaxError, pnHelpContext);
}

CArchiveException::CArchiveException(int cause, LPCSTR lpszArchiveName) : m_cause(cause), m_strFileName(lpszArchiveName)
{}

BOOL CArchiveException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    static const char* const kTexts[] = {
        "No archive error.",
        "Archive error.",
        "Attempted to write to an archive that is being loaded.",
        "Unexpected end of archive.",
        "Attempted to read from an archive that is being stored.",
        "Invalid object reference in the archive.",
        "Unknown or unexpected class in the archive.",
        "The archive holds a version of a class this program cannot read.",
    };
    const int count = static_cast<int>(sizeof kTexts / sizeof kTexts[0]);
    CString text = kTexts[m_cause >= 0 && m_cause < count ? m_cause : genericException];
    if (!m_strFileName.IsEmpty())
        text = "\"" + m_strFileName + "\": " + text;
    return osm_classlib_detail::CopyErrorMessage(text, lpszError, nMaxError, pnHelpContext);
}

void AfxThrowMemoryException()
{
    static CMemoryException s_memoryException;
    throw &s_memoryException;
}

void AfxThrowNotSupportedException()
{
    throw new CNotSupportedException;
}

void AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName)
{
    throw new CArchiveException(cause, lpszArchiveName);
}

namespace osm_classlib_detail {

BOOL CopyErrorMessage(LPCSTR text, LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (!lpszError || nMaxError == 0)
        return FALSE;
    lstrcpynA(lpszError, text, static_cast<int>(nMaxError));
    return text[0] != '\0';
}

}  // namespace osm_classlib_detail
