#include "TestFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace {

class FindHandle
{
public:
    explicit FindHandle(HANDLE handle) : m_handle(handle) {}
    ~FindHandle()
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            FindClose(m_handle);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

class FileHandle
{
public:
    explicit FileHandle(HANDLE handle) : m_handle(handle) {}
    ~FileHandle()
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

bool IsDots(const char* name)
{
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

void ListInto(const std::string& root, const std::string& relative, std::vector<std::string>& entries)
{
    const std::string folder = relative.empty() ? root : root + "\\" + relative;
    WIN32_FIND_DATAA data;
    FindHandle find(FindFirstFileA((folder + "\\*").c_str(), &data));
    if (find.get() == INVALID_HANDLE_VALUE)
        return;
    do
    {
        if (IsDots(data.cFileName))
            continue;
        const std::string entry = relative.empty() ? data.cFileName : relative + "\\" + data.cFileName;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        {
            entries.push_back(entry + "\\");
            ListInto(root, entry, entries);
        }
        else
        {
            entries.push_back(entry);
        }
    } while (FindNextFileA(find.get(), &data));
}

}  // namespace

TempFolder::TempFolder()
{
    char base[MAX_PATH] = {};
    GetTempPathA(sizeof(base), base);
    std::string folder = base;
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    for (unsigned attempt = 0;; ++attempt)
    {
        const std::string candidate = folder + "\\osmira-writers-" + std::to_string(GetCurrentProcessId()) + "-" +
                                      std::to_string(GetTickCount()) + "-" + std::to_string(attempt);
        if (CreateDirectoryA(candidate.c_str(), nullptr))
        {
            m_path = candidate;
            break;
        }
        if (attempt > 1000)
        {
            ADD_FAILURE() << "no temporary folder under " << folder;
            break;
        }
    }
}

TempFolder::~TempFolder()
{
    if (!m_path.empty())
        RemoveTree(m_path);
}

std::optional<std::string> ReadFileBytes(const std::string& path)
{
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    FileHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_NE(file.get(), INVALID_HANDLE_VALUE) << "cannot create " << path;
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    ASSERT_EQ(written, bytes.size());
}

void MakeFolder(const std::string& path)
{
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << "cannot create folder " << path;
}

bool FileExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> ListTree(const std::string& root)
{
    std::vector<std::string> entries;
    ListInto(root, std::string(), entries);
    std::sort(entries.begin(), entries.end());
    return entries;
}

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA data;
    {
        FindHandle find(FindFirstFileA((path + "\\*").c_str(), &data));
        if (find.get() != INVALID_HANDLE_VALUE)
        {
            do
            {
                if (IsDots(data.cFileName))
                    continue;
                const std::string entry = path + "\\" + data.cFileName;
                SetFileAttributesA(entry.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(entry);
                else
                    DeleteFileA(entry.c_str());
            } while (FindNextFileA(find.get(), &data));
        }
    }
    RemoveDirectoryA(path.c_str());
}

std::string ReadGolden(const std::string& name)
{
    const std::string path = std::string(OSM_WIZARD_GOLDEN_DIR) + "/" + name;
    const std::optional<std::string> bytes = ReadFileBytes(path);
    if (!bytes)
    {
        ADD_FAILURE() << "missing golden file " << path;
        return std::string();
    }
    return *bytes;
}

std::string FillPlaceholders(std::string text, const std::vector<std::pair<std::string, std::string>>& values)
{
    for (const auto& [name, value] : values)
    {
        const std::string placeholder = "@" + name + "@";
        for (std::string::size_type at = text.find(placeholder); at != std::string::npos;
             at = text.find(placeholder, at + value.size()))
            text.replace(at, placeholder.size(), value);
    }
    return text;
}
