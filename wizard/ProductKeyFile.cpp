#include "wizard/ProductKeyFile.h"

#include <windows.h>

#include <fstream>

std::string ReadProductKeyText(const std::string& path)
{
    char value[256] = {};
    GetPrivateProfileStringA("UserData", "ProductKey", "", value, 255, path.c_str());
    std::string key = value;
    if (!key.empty())
        return key;

    std::ifstream file(path, std::ios::binary);
    if (!file)
        return {};
    std::string line;
    std::getline(file, line);
    const std::size_t end = line.find_last_not_of(" \t\r\n\f\v");
    line.erase(end == std::string::npos ? 0 : end + 1);
    // A line of just a key is not enough: the text file holds the key followed by more.
    return line.size() <= 30 ? std::string() : line.substr(0, 29);
}

std::optional<ProductKeyGroups> SplitProductKey(const std::string& key)
{
    ProductKeyGroups groups;
    std::size_t start = 0;
    for (int i = 0; i < 4; ++i)
    {
        const std::size_t dash = key.find('-', start);
        if (dash == std::string::npos)
            return std::nullopt;
        groups[i] = key.substr(start, dash - start);
        start = dash + 1;
    }
    groups[4] = key.substr(start, 5);
    return groups;
}
