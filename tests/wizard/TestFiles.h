// Files on disk for the writers' tests: a private temporary folder removed afterwards, whole-file reads and
// writes, a folder's listing, and the expected files kept beside the tests.
#pragma once

#include <optional>
#include <string>
#include <vector>

// A fresh folder under the system's temporary folder, removed with everything in it when the test ends.
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    // Path() + "\" + relative.
    std::string operator/(const std::string& relative) const { return m_path + "\\" + relative; }

private:
    std::string m_path;
};

// The file's bytes, or nothing when it cannot be read.
std::optional<std::string> ReadFileBytes(const std::string& path);
// Replaces the file with exactly these bytes; the test fails when that is impossible.
void WriteFileBytes(const std::string& path, const std::string& bytes);
void MakeFolder(const std::string& path);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// Every file and folder below root as a relative path ("a", "a\b.txt"), folders marked with a trailing "\",
// sorted.
std::vector<std::string> ListTree(const std::string& root);
void RemoveTree(const std::string& path);

// An expected file kept in the tests' golden folder.
std::string ReadGolden(const std::string& name);
// Each "@NAME@" replaced by its value.
std::string FillPlaceholders(std::string text, const std::vector<std::pair<std::string, std::string>>& values);
