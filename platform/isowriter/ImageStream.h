// The built image as a byte stream: the metadata from memory, the directories written as they are reached,
// file data read from disk as it is reached, zeros in between. Only one file is open at a time.
#pragma once

#include "isowriter/CancelToken.h"
#include "isowriter/DirectoryRecord.h"
#include "isowriter/NativePath.h"
#include "isowriter/SourceFile.h"
#include "isowriter/TreeNode.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace osm::iso {

class ImageStream
{
public:
    // The boot image's place, when there is one.
    struct BootImage
    {
        NativeString path;
        std::uint64_t offset = 0;
        std::uint64_t size = 0;
    };

    // What comes before the files. The directories are not kept: a large tree's would take as much memory
    // as its entries, and they are written straight into the reader's buffer when the stream gets there.
    struct Metadata
    {
        struct Directory
        {
            const TreeNode* folder = nullptr;
            TreeKind kind = TreeKind::Iso;
            std::uint32_t size = 0;  // bytes, whole sectors
        };
        std::vector<std::uint8_t> head;      // from the image's first byte
        std::vector<Directory> directories;  // after the head, back to back
        std::vector<std::uint8_t> tail;      // after the directories
        DirectoryRecord::Context context;
    };

    // The data comes from the boot image (when boot is given), then from the files of dataFolders (see
    // ExtentLayout::dataFolders), all placed at or after the end of the metadata, in that order. The folders'
    // entries are read as the stream goes, so they must outlive it and stay unchanged.
    ImageStream(Metadata metadata, std::optional<BootImage> boot, std::vector<const TreeNode*> dataFolders,
                std::uint64_t totalBytes);

    std::uint64_t size() const { return total_; }
    std::uint64_t position() const { return position_; }

    void seekToBegin();
    // Exactly n bytes or an IsoError; after an error only seekToBegin makes reading possible again.
    void read(std::uint8_t* out, std::size_t n, const CancelToken& cancel);

private:
    // One piece of data: the boot image or a file.
    struct Source
    {
        std::uint64_t offset = 0;        // byte offset in the image
        std::uint64_t size = 0;          // bytes expected from the file
        const TreeNode* node = nullptr;  // nullptr: the boot image
    };

    // Moves next_ to the piece after it (or to the first after a seek), or leaves hasNext_ false at the end.
    void findNext();
    // Copies from where the stream stands (metadata, one file, or zeros) and moves on.
    void readSome(std::uint8_t*& out, std::size_t& n);
    // The same within the directories.
    void readDirectories(std::uint8_t*& out, std::size_t& n);
    NativeString pathOf(const Source& source) const;
    std::string nameOf(const Source& source) const;
    void openSource(const Source& source);
    void closeFolder();
    // Closes the file of next_ and moves on. endSeen: the last read already showed there is nothing after
    // the expected end.
    void finishSource(bool endSeen);

    Metadata metadata_;
    std::uint64_t directoriesEnd_ = 0;
    std::uint64_t metadataEnd_ = 0;
    // The directory the stream is in or comes to next, and where it starts.
    std::size_t nextDirectory_ = 0;
    std::uint64_t nextDirectoryOffset_ = 0;
    // A directory the reader takes in parts is written here once.
    std::vector<std::uint8_t> partDirectory_;
    std::size_t partDirectoryIndex_ = SIZE_MAX;
    std::optional<BootImage> boot_;
    std::vector<const TreeNode*> dataFolders_;
    std::uint64_t total_;
    std::uint64_t position_ = 0;
    // The piece of data the stream is in or comes to next, and where it was found.
    Source next_;
    bool hasNext_ = false;
    bool bootDone_ = false;
    std::size_t folderAt_ = 0;
    std::size_t childAt_ = 0;
    // The folder of the file last opened, while its next files are read.
    const TreeNode* folderNode_ = nullptr;
    std::optional<SourceFolder> folder_;
    std::optional<SourceFile> file_;
    bool failed_ = false;
};

}  // namespace osm::iso
