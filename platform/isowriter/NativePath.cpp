#include "isowriter/NativePath.h"

#include <algorithm>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <unistd.h>
#endif

namespace osm::iso {

#ifdef _WIN32

namespace {
constexpr wchar_t kSeparator = L'\\';
bool isSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}
}  // namespace

NativeString NativePath::fromApi(const char* text)
{
    if (!text || !*text)
        return {};
    int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (n <= 0)
        return {};
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &out[0], n);
    out.resize(static_cast<size_t>(n) - 1);
    return out;
}

std::string NativePath::toApi(const NativeString& path)
{
    if (path.empty())
        return {};
    int n = WideCharToMultiByte(CP_ACP, 0, path.c_str(), static_cast<int>(path.size()), nullptr, 0, "?", nullptr);
    if (n <= 0)
        return {};
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, path.c_str(), static_cast<int>(path.size()), &out[0], n, "?", nullptr);
    return out;
}

std::u16string NativePath::toUtf16(NativeStringView name)
{
    return std::u16string(name.begin(), name.end());
}

NativeString NativePath::fromUtf16(const std::u16string& name)
{
    return std::wstring(name.begin(), name.end());
}

NativeString NativePath::absolute(const NativeString& path)
{
    if (path.empty())
        return {};
    DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0)
        return path;
    std::wstring out(n, L'\0');
    n = GetFullPathNameW(path.c_str(), n, &out[0], nullptr);
    out.resize(n);
    // Keep "C:\" and "\\?\C:\" whole; drop other trailing separators.
    while (out.size() > 3 && isSeparator(out.back()) && !(out.size() == 7 && out.compare(0, 4, L"\\\\?\\") == 0))
        out.pop_back();
    return out;
}

NativeString NativePath::join(const NativeString& folder, NativeStringView name)
{
    NativeString path = folder;
    append(path, name);
    return path;
}

void NativePath::append(NativeString& folder, NativeStringView name)
{
    if (!folder.empty() && !isSeparator(folder.back()))
        folder += kSeparator;
    folder += name;
}

NativeString NativePath::lastComponent(const NativeString& path)
{
    size_t end = path.size();
    while (end > 0 && isSeparator(path[end - 1]))
        --end;
    size_t start = end;
    while (start > 0 && !isSeparator(path[start - 1]) && path[start - 1] != L':')
        --start;
    return path.substr(start, end - start);
}

NativeString NativePath::comparisonKey(const NativeString& absolutePath)
{
    std::wstring key = absolutePath;
    if (!key.empty())
        CharUpperBuffW(&key[0], static_cast<DWORD>(key.size()));
    for (auto& c : key)
        if (c == L'/')
            c = L'\\';
    return key;
}

bool NativePath::needsLongForm(const NativeString& absolutePath)
{
    if (absolutePath.size() < 240 || absolutePath.compare(0, 4, L"\\\\?\\") == 0)
        return false;
    return (absolutePath.size() > 2 && absolutePath[1] == L':') || absolutePath.compare(0, 2, L"\\\\") == 0;
}

NativeString NativePath::forSystem(const NativeString& absolutePath)
{
    if (!needsLongForm(absolutePath))
        return absolutePath;
    if (absolutePath.size() > 2 && absolutePath[1] == L':')
        return L"\\\\?\\" + absolutePath;
    if (absolutePath.compare(0, 2, L"\\\\") == 0)
        return L"\\\\?\\UNC\\" + absolutePath.substr(2);
    return absolutePath;
}

#else

NativeString NativePath::fromApi(const char* text)
{
    return text ? std::string(text) : std::string();
}

std::string NativePath::toApi(const NativeString& path)
{
    return path;
}

std::u16string NativePath::toUtf16(NativeStringView name)
{
    // Most names are ASCII: each byte is its own character.
    if (std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::u16string(name.begin(), name.end());
    std::u16string out;
    out.reserve(name.size());
    const auto* s = reinterpret_cast<const unsigned char*>(name.data());
    size_t n = name.size();
    for (size_t i = 0; i < n;)
    {
        unsigned char c = s[i];
        char32_t cp = 0;
        size_t len = 0;
        if (c < 0x80)
        {
            cp = c;
            len = 1;
        }
        else if ((c & 0xE0) == 0xC0)
        {
            cp = c & 0x1F;
            len = 2;
        }
        else if ((c & 0xF0) == 0xE0)
        {
            cp = c & 0x0F;
            len = 3;
        }
        else if ((c & 0xF8) == 0xF0)
        {
            cp = c & 0x07;
            len = 4;
        }
        bool valid = len > 0 && i + len <= n;
        for (size_t k = 1; valid && k < len; ++k)
        {
            if ((s[i + k] & 0xC0) != 0x80)
                valid = false;
            else
                cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8 either.
        static const char32_t kMinimum[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid && (cp < kMinimum[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)))
            valid = false;
        if (!valid)
        {
            out.push_back(u'_');
            ++i;
            continue;
        }
        if (cp >= 0x10000)
        {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        }
        else
        {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += len;
    }
    return out;
}

NativeString NativePath::fromUtf16(const std::u16string& name)
{
    std::string out;
    for (size_t i = 0; i < name.size(); ++i)
    {
        char32_t cp = name[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < name.size() && name[i + 1] >= 0xDC00 && name[i + 1] <= 0xDFFF)
        {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (name[i + 1] - 0xDC00);
            ++i;
        }
        else if (cp >= 0xD800 && cp <= 0xDFFF)
        {
            cp = u'_';
        }
        if (cp < 0x80)
        {
            out.push_back(static_cast<char>(cp));
        }
        else if (cp < 0x800)
        {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
        else if (cp < 0x10000)
        {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
        else
        {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

NativeString NativePath::absolute(const NativeString& path)
{
    if (path.empty())
        return {};
    std::string full = path;
    if (full[0] != '/')
    {
        std::vector<char> cwd(4096);
        while (!getcwd(cwd.data(), cwd.size()))
        {
            if (errno != ERANGE)
                return path;
            cwd.resize(cwd.size() * 2);
        }
        full = std::string(cwd.data()) + "/" + path;
    }
    std::vector<std::string> parts;
    size_t i = 0;
    while (i < full.size())
    {
        size_t j = full.find('/', i);
        if (j == std::string::npos)
            j = full.size();
        std::string part = full.substr(i, j - i);
        if (part == "..")
        {
            if (!parts.empty())
                parts.pop_back();
        }
        else if (!part.empty() && part != ".")
        {
            parts.push_back(part);
        }
        i = j + 1;
    }
    std::string out;
    for (const auto& p : parts)
        out += "/" + p;
    return out.empty() ? "/" : out;
}

NativeString NativePath::join(const NativeString& folder, NativeStringView name)
{
    NativeString path = folder;
    append(path, name);
    return path;
}

void NativePath::append(NativeString& folder, NativeStringView name)
{
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    folder += name;
}

NativeString NativePath::lastComponent(const NativeString& path)
{
    size_t end = path.size();
    while (end > 0 && path[end - 1] == '/')
        --end;
    size_t start = path.rfind('/', end == 0 ? 0 : end - 1);
    start = start == std::string::npos ? 0 : start + 1;
    if (start > end)
        return {};
    return path.substr(start, end - start);
}

NativeString NativePath::comparisonKey(const NativeString& absolutePath)
{
    return absolutePath;
}

NativeString NativePath::forSystem(const NativeString& absolutePath)
{
    return absolutePath;
}

bool NativePath::needsLongForm(const NativeString&)
{
    return false;
}

#endif

}  // namespace osm::iso
