#include "classlib/FileFind.h"

IMPLEMENT_DYNAMIC(CFileFind, CObject)

BOOL CFileFind::FindFile(LPCSTR pstrName, DWORD /*dwUnused*/)
{
    Close();
    CString pattern(pstrName ? pstrName : "*.*");
    m_hFind = ::FindFirstFileA(pattern, &m_next);
    if (m_hFind == INVALID_HANDLE_VALUE)
        return FALSE;

    // Entry paths are built on the searched folder's full path.
    char full[MAX_PATH * 2] = {};
    char* filePart = nullptr;
    DWORD length = ::GetFullPathNameA(pattern, sizeof full, full, &filePart);
    CString fullPattern = (length > 0 && length < sizeof full) ? CString(full) : pattern;
    int slash = std::max(fullPattern.ReverseFind('\\'), fullPattern.ReverseFind('/'));
    m_strRoot = slash >= 0 ? fullPattern.Left(slash) : CString();
    if (m_strRoot.GetLength() == 2 && m_strRoot[1] == ':')
        m_strRoot += '\\';  // "C:" alone would mean the drive's current folder
    return TRUE;
}

BOOL CFileFind::FindNextFile()
{
    if (m_hFind == INVALID_HANDLE_VALUE)
        return FALSE;
    m_current = m_next;
    m_hasCurrent = true;
    return ::FindNextFileA(m_hFind, &m_next);
}

void CFileFind::Close()
{
    if (m_hFind != INVALID_HANDLE_VALUE)
        ::FindClose(m_hFind);
    m_hFind = INVALID_HANDLE_VALUE;
    m_hasCurrent = false;
    m_current = WIN32_FIND_DATAA{};
}

CString CFileFind::GetFileName() const
{
    return m_hasCurrent ? CString(m_current.cFileName) : CString();
}

CString CFileFind::GetFilePath() const
{
    if (!m_hasCurrent)
        return CString();
    CString path = m_strRoot;
    if (!path.IsEmpty() && path.Right(1) != "\\" && path.Right(1) != "/")
        path += '\\';
    return path + m_current.cFileName;
}

CString CFileFind::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot > 0 ? name.Left(dot) : name;
}

ULONGLONG CFileFind::GetLength() const
{
    return (static_cast<ULONGLONG>(m_current.nFileSizeHigh) << 32) | m_current.nFileSizeLow;
}

BOOL CFileFind::IsDots() const
{
    const char* name = m_current.cFileName;
    return IsDirectory() && name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

BOOL CFileFind::GetLastWriteTime(FILETIME* pTimeStamp) const
{
    if (!m_hasCurrent || !pTimeStamp)
        return FALSE;
    *pTimeStamp = m_current.ftLastWriteTime;
    return TRUE;
}

BOOL CFileFind::GetCreationTime(FILETIME* pTimeStamp) const
{
    if (!m_hasCurrent || !pTimeStamp)
        return FALSE;
    *pTimeStamp = m_current.ftCreationTime;
    return TRUE;
}

BOOL CFileFind::GetLastAccessTime(FILETIME* pTimeStamp) const
{
    if (!m_hasCurrent || !pTimeStamp)
        return FALSE;
    *pTimeStamp = m_current.ftLastAccessTime;
    return TRUE;
}
