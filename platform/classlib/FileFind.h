// CFileFind walks the entries of a folder that match a wildcard. FindFile starts the search; each FindNextFile moves
// to the next entry and returns FALSE when that entry is the last one (the entry itself is still valid then):
//
//   CFileFind finder;
//   for (BOOL more = finder.FindFile(folder + "\\*.*"); more;) {
//       more = finder.FindNextFile();
//       if (finder.IsDots()) continue;
//       ... finder.GetFilePath(), finder.IsDirectory(), finder.GetLength() ...
//   }
#pragma once

#include "classlib/CString.h"
#include "classlib/Object.h"

class CFileFind : public CObject
{
    DECLARE_DYNAMIC(CFileFind)

public:
    CFileFind() = default;
    ~CFileFind() override { Close(); }

    // pstrName is a path with a wildcard in its last part; null means "*.*" in the current folder.
    virtual BOOL FindFile(LPCSTR pstrName = nullptr, DWORD dwUnused = 0);
    virtual BOOL FindNextFile();
    void Close();

    // The current entry.
    CString GetFileName() const;
    CString GetFilePath() const;
    CString GetFileTitle() const;
    CString GetRoot() const { return m_strRoot; }
    ULONGLONG GetLength() const;
    DWORD GetAttributes() const { return m_current.dwFileAttributes; }
    BOOL MatchesMask(DWORD dwMask) const { return (m_current.dwFileAttributes & dwMask) != 0; }
    BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
    BOOL IsReadOnly() const { return MatchesMask(FILE_ATTRIBUTE_READONLY); }
    BOOL IsHidden() const { return MatchesMask(FILE_ATTRIBUTE_HIDDEN); }
    BOOL IsSystem() const { return MatchesMask(FILE_ATTRIBUTE_SYSTEM); }
    BOOL IsArchived() const { return MatchesMask(FILE_ATTRIBUTE_ARCHIVE); }
    BOOL IsCompressed() const { return MatchesMask(FILE_ATTRIBUTE_COMPRESSED); }
    BOOL IsNormal() const { return MatchesMask(FILE_ATTRIBUTE_NORMAL); }
    // "." and "..": the folder itself and its parent.
    BOOL IsDots() const;
    BOOL GetLastWriteTime(FILETIME* pTimeStamp) const;
    BOOL GetCreationTime(FILETIME* pTimeStamp) const;
    BOOL GetLastAccessTime(FILETIME* pTimeStamp) const;

private:
    HANDLE m_hFind = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAA m_next{};     // found by the system, not yet handed out
    WIN32_FIND_DATAA m_current{};  // what the Get/Is members describe
    bool m_hasCurrent = false;
    CString m_strRoot;  // the folder searched, without a trailing backslash
};
