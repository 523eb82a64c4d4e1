// Where everything lies in the image, in 2048-byte sectors:
//   0-15 system area | 16 primary | boot record | Joliet | terminator | path tables (ISO L, M, Joliet L, M)
//   | ISO9660 directories | Joliet directories | boot catalog | boot image | file data | padding
// Everything before the boot image is metadata, made in memory (the directories as the image is read); the rest
// is streamed from the files.
#pragma once

#include "isowriter/CancelToken.h"
#include "isowriter/TreeNode.h"

#include <cstdint>
#include <vector>

namespace osm::iso {

class ExtentLayout
{
public:
    struct Options
    {
        bool joliet = true;
        bool boot = false;
        std::uint64_t bootImageSize = 0;
        std::uint32_t padSectors = 0;
    };

    struct PathTables
    {
        std::uint32_t size = 0;
        std::uint32_t lSector = 0;
        std::uint32_t mSector = 0;
    };

    // Names must already be assigned (DirectoryNaming). Fills every node's extents and path-table numbers.
    ExtentLayout(TreeNode& root, const Options& options, const CancelToken& cancel);

    std::uint32_t primarySector() const { return 16; }
    std::uint32_t bootRecordSector() const { return bootRecordSector_; }
    std::uint32_t jolietSector() const { return jolietSector_; }
    std::uint32_t terminatorSector() const { return terminatorSector_; }
    const PathTables& isoPathTables() const { return isoPaths_; }
    const PathTables& jolietPathTables() const { return jolietPaths_; }
    std::uint32_t catalogSector() const { return catalogSector_; }
    std::uint32_t bootImageSector() const { return bootImageSector_; }
    // Sectors of metadata (everything before the boot image or the first file).
    std::uint32_t metadataSectors() const { return metadataSectors_; }
    // The directories of both trees lie back to back in [directoriesStart, directoriesEnd), in the order of
    // isoFolders() and then jolietFolders().
    std::uint32_t directoriesStart() const { return directoriesStart_; }
    std::uint32_t directoriesEnd() const { return directoriesEnd_; }
    std::uint64_t totalSectors() const { return totalSectors_; }
    std::uint32_t padSectors() const { return padSectors_; }

    // Folders in path-table order, per tree.
    const std::vector<TreeNode*>& isoFolders() const { return isoFolders_; }
    const std::vector<TreeNode*>& jolietFolders() const { return jolietFolders_; }
    // The folders whose files have data, in the order of that data in the image: each folder's files with
    // data follow one another in its ISO9660 record order. The files themselves are not listed again: on a
    // tree of tiny files a list of them costs memory the size of their entries.
    const std::vector<const TreeNode*>& dataFolders() const { return dataFolders_; }
    // Whether a folder's entry has data of its own in the image.
    static bool hasData(const TreeNode& entry) { return !entry.isDirectory() && entry.size() != 0; }

private:
    std::uint32_t bootRecordSector_ = 0;
    std::uint32_t jolietSector_ = 0;
    std::uint32_t terminatorSector_ = 0;
    PathTables isoPaths_;
    PathTables jolietPaths_;
    std::uint32_t catalogSector_ = 0;
    std::uint32_t bootImageSector_ = 0;
    std::uint32_t metadataSectors_ = 0;
    std::uint32_t directoriesStart_ = 0;
    std::uint32_t directoriesEnd_ = 0;
    std::uint64_t totalSectors_ = 0;
    std::uint32_t padSectors_ = 0;
    std::vector<TreeNode*> isoFolders_;
    std::vector<TreeNode*> jolietFolders_;
    std::vector<const TreeNode*> dataFolders_;
};

}  // namespace osm::iso
