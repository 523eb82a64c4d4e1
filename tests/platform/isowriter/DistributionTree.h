// A distribution-shaped source folder made on disk for the tests, with what each entry must become in the
// image: its Joliet path (the original name), its ISO9660 path, and its size.
#pragma once

#include "IsoTestSupport.h"

#include <string>
#include <vector>

namespace osm::iso::test {

struct ExpectedEntry
{
    fs::path source;         // relative to the source folder
    std::string jolietPath;  // UTF-8, from the image root
    std::string isoPath;
    std::uint64_t size = 0;
    bool directory = false;
};

class DistributionTree
{
public:
    // Creates the tree under folder (which must exist).
    explicit DistributionTree(const fs::path& folder);

    const fs::path& folder() const { return folder_; }
    const std::vector<ExpectedEntry>& entries() const { return entries_; }
    // Modification time given to every file: 2005-06-07 08:09:10 UTC.
    static constexpr std::int64_t kFileTime = 1118131750;

private:
    void file(const std::string& relative, const std::string& isoPath, std::uint64_t size,
              const std::string& jolietPath = std::string());
    void folder(const std::string& relative, const std::string& isoPath);

    fs::path folder_;
    std::vector<ExpectedEntry> entries_;
};

}  // namespace osm::iso::test
