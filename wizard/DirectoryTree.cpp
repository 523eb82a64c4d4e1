#include "wizard/DirectoryTree.h"

#include <string>

BOOL CreateDirectoryTree(const char* path, LPSECURITY_ATTRIBUTES security)
{
    const std::string full = path ? path : "";
    for (std::string::size_type i = 1; i < full.size(); ++i)
    {
        const char c = full[i];
        if ((c == '\\' || c == '/') && full[i - 1] != ':')
            CreateDirectoryA(full.substr(0, i).c_str(), security);
    }
    return CreateDirectoryA(full.c_str(), security);
}
