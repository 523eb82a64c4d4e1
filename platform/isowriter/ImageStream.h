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
    struct Source
    {
        Source(std::uint64_t offset, std::uint64_t size, const TreeNode* node);

        std::uint64_t offset = 0;        // byte offset in the image
        std::uint64_t size = 0;          // bytes expected from the file
        const TreeNode* node = nullptr;  // nullptr: the boot image
        // A file found in a folder: that folder's node and the file's name there (the node's own, which
        // outlives the stream), taken while the node is at hand. Not a copy: on a tree of tiny files one
        // string per file costs as much as reading the file.
        const TreeNode* folder = nullptr;
        const NativeChar* name = nullptr;
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

    // sources sorted by offset, each starting at or after the end of the metadata.
    ImageStream(Metadata metadata, std::vector<Source> sources, NativeString bootImagePath, std::uint64_t totalBytes);

    std::uint64_t size() const { return total_; }
    std::uint64_t position() const { return position_; }

    void seekToBegin();
    // Exactly n bytes or an IsoError; after an error only seekToBegin makes reading possible again.
    void read(std::uint8_t* out, std::size_t n, const CancelToken& cancel);

private:
    // Copies from where the stream stands (metadata, one file, or zeros) and moves on.
    void readSome(std::uint8_t*& out, std::size_t& n);
    // The same within the directories.
    void readDirectories(std::uint8_t*& out, std::size_t& n);
    NativeString pathOf(const Source& source) const;
    std::string nameOf(const Source& source) const;
    void openSource(const Source& source);
    void closeFolder();
    // endSeen: the last read already showed there is nothing after the expected end.
    void finishSource(const Source& source, bool endSeen);

    Metadata metadata_;
    std::uint64_t directoriesEnd_ = 0;
    std::uint64_t metadataEnd_ = 0;
    // The directory the stream is in or comes to next, and where it starts.
    std::size_t nextDirectory_ = 0;
    std::uint64_t nextDirectoryOffset_ = 0;
    // A directory the reader takes in parts is written here once.
    std::vector<std::uint8_t> partDirectory_;
    std::size_t partDirectoryIndex_ = SIZE_MAX;
    std::vector<Source> sources_;
    NativeString bootImagePath_;
    std::uint64_t total_;
    std::uint64_t position_ = 0;
    std::size_t next_ = 0;
    // The folder of the file last opened, while its next files are read.
    const TreeNode* folderNode_ = nullptr;
    std::optional<SourceFolder> folder_;
    std::optional<SourceFile> file_;
    bool failed_ = false;
};

}  // namespace osm::iso
