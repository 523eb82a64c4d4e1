#include "framework/foundation/FileExists.h"

#include <cstring>

BOOL FileExists(const char* path)
{
    if (!path || !*path || std::strpbrk(path, "*?"))
        return FALSE;
    // Attributes, not a find: a find fails on "C:\" and on "folder\" although both are there.
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return FALSE;
    // "name\" names a folder; a file of that name is not it.
    const char last = path[std::strlen(path) - 1];
    if ((last == '\\' || last == '/') && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return FALSE;
    return TRUE;
}
