#include "wizard/FolderPath.h"

#include <windows.h>

#include <cstring>

bool IsExistingFolder(const char* path)
{
    if (!path || !*path || std::strpbrk(path, "*?"))
        return false;
    // Attributes, not a find: a find fails on "E:\" and on "folder\" although both are there.
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string FolderForJoining(const std::string& folder)
{
    // Walked by characters: in a double-byte code page the second byte of a character may be a backslash.
    std::string::size_type keep = 0;
    for (std::string::size_type at = 0; at < folder.size();)
    {
        const bool lead = IsDBCSLeadByte(static_cast<BYTE>(folder[at])) && at + 1 < folder.size();
        const std::string::size_type next = at + (lead ? 2 : 1);
        if (lead || (folder[at] != '\\' && folder[at] != '/'))
            keep = next;
        at = next;
    }
    return folder.substr(0, keep);
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    std::string::size_type start = 0;
    while (start < name.size() && (name[start] == '\\' || name[start] == '/'))
        ++start;
    return FolderForJoining(folder) + "\\" + name.substr(start);
}
