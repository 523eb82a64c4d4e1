// CRecentFileList keeps the files the application opened last, the newest first, and names them for a menu: a file
// inside the current folder by its name alone, any other by its full path. The application owns one when it offers
// the list (CWinApp::m_pRecentFileList); the bars' recent-file control asks it for its entries each time its menu
// opens:
//
//   app.m_pRecentFileList = new CRecentFileList(4);
//   app.m_pRecentFileList->Add("C:\\Docs\\Report.txt");
//   CString name;
//   if (list->GetDisplayName(name, 0, "C:\\Docs\\", 8))   // "Report.txt"
#pragma once

#include "classlib/CString.h"

#include <vector>

class CRecentFileList
{
public:
    // A list of nSize entries, all empty.
    explicit CRecentFileList(int nSize);
    virtual ~CRecentFileList() = default;
    CRecentFileList(const CRecentFileList&) = delete;
    CRecentFileList& operator=(const CRecentFileList&) = delete;

    // ---- Override these ----------------------------------------------------------------------------------------
    // Puts the path first; an entry with the same path (in any case) moves up, else the last one drops out.
    virtual void Add(LPCSTR lpszPathName);
    // Takes the entry out; those after it move up and the last becomes empty.
    virtual void Remove(int nIndex);
    // The name entry nIndex shows: the part after lpszCurDir (its first nCurDir characters, ending in a backslash)
    // when the file lies directly in that folder, else the whole path. FALSE, strName empty, for an empty entry or
    // an index outside the list. The list never shortens names, so bAtLeastName (keep at least the file name when
    // shortening) always holds.
    virtual BOOL GetDisplayName(CString& strName, int nIndex, LPCSTR lpszCurDir, int nCurDir,
                                BOOL bAtLeastName = TRUE) const;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    int GetSize() const { return static_cast<int>(m_arrNames.size()); }
    // The entry's path (empty when unused); nIndex must lie inside the list.
    CString& operator[](int nIndex) { return m_arrNames[static_cast<size_t>(nIndex)]; }
    const CString& operator[](int nIndex) const { return m_arrNames[static_cast<size_t>(nIndex)]; }

private:
    std::vector<CString> m_arrNames;
};
