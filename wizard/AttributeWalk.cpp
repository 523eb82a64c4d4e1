#include "wizard/AttributeWalk.h"

#include <string>

namespace {

const DWORD kCleared = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

void ClearAttributes(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kCleared))
        SetFileAttributesA(path.c_str(), attributes & ~kCleared);
}

BOOL Walk(const std::string& folder)
{
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "\\*.*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return FALSE;
    BOOL complete = TRUE;
    do
    {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..")
            continue;
        const std::string path = folder + "\\" + name;
        const bool isFolder = entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        const bool isLink = entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT;
        if (isFolder && !isLink && !Walk(path))
        {
            complete = FALSE;
            break;
        }
        ClearAttributes(path);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return complete;
}

}  // namespace

BOOL ClearAttributesRecursive(const char* folder)
{
    if (!folder || !*folder)
        return FALSE;
    return Walk(folder);
}
