#include "wizard/FolderBrowser.h"

#include <shlobj.h>

bool BrowseForFolder(HWND owner, const char* title, std::string& path)
{
    char buffer[MAX_PATH] = {};
    BROWSEINFOA browse{};
    browse.hwndOwner = owner;
    browse.pszDisplayName = buffer;
    browse.lpszTitle = title;
    browse.ulFlags = BIF_DONTGOBELOWDOMAIN;
    LPITEMIDLIST item = SHBrowseForFolderA(&browse);
    if (!item)
        return false;
    buffer[0] = '\0';
    const BOOL isFolder = SHGetPathFromIDListA(item, buffer);
    CoTaskMemFree(item);
    if (!isFolder || !buffer[0])
        return false;
    path = buffer;
    return true;
}
