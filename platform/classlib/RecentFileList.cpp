#include "classlib/RecentFileList.h"

#include <algorithm>
#include <cstring>

CRecentFileList::CRecentFileList(int nSize) : m_arrNames(static_cast<size_t>(std::max(nSize, 0))) {}

void CRecentFileList::Add(LPCSTR lpszPathName)
{
    if (!lpszPathName || !*lpszPathName || m_arrNames.empty())
        return;
    const CString path = lpszPathName;
    size_t from = m_arrNames.size() - 1;
    for (size_t i = 0; i < m_arrNames.size(); ++i)
    {
        if (m_arrNames[i].CompareNoCase(path) == 0)
        {
            from = i;
            break;
        }
    }
    for (size_t i = from; i > 0; --i)
        m_arrNames[i] = m_arrNames[i - 1];
    m_arrNames[0] = path;
}

void CRecentFileList::Remove(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetSize())
        return;
    m_arrNames.erase(m_arrNames.begin() + nIndex);
    m_arrNames.emplace_back();
}

BOOL CRecentFileList::GetDisplayName(CString& strName, int nIndex, LPCSTR lpszCurDir, int nCurDir, BOOL) const
{
    strName.Empty();
    if (nIndex < 0 || nIndex >= GetSize() || m_arrNames[static_cast<size_t>(nIndex)].IsEmpty())
        return FALSE;
    const CString& path = m_arrNames[static_cast<size_t>(nIndex)];
    strName = path;
    if (!lpszCurDir || nCurDir <= 0 || nCurDir > path.GetLength() ||
        static_cast<size_t>(nCurDir) > std::strlen(lpszCurDir))
        return TRUE;
    // Only a file directly in the folder loses the folder: one in a folder below keeps its whole path, so that two
    // files of the same name stay apart.
    if (::CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, path, nCurDir, lpszCurDir, nCurDir) == CSTR_EQUAL)
    {
        const CString rest = path.Mid(nCurDir);
        if (!rest.IsEmpty() && rest.Find('\\') < 0 && rest.Find('/') < 0)
            strName = rest;
    }
    return TRUE;
}
