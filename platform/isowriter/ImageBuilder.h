// The image writer as one object: collect files and folders, choose the boot image, lay the image out,
// then hand it out as a stream of bytes.
#pragma once

#include <atomic>

#include "isowriter/CancelToken.h"
#include "isowriter/DirectoryNaming.h"
#include "isowriter/FileTree.h"
#include "isowriter/ImageStream.h"
#include "isowriter/NativePath.h"
#include "isowriter/ProgressSink.h"

#include <cstdint>
#include <memory>
#include <string>

namespace osm::iso {

class ImageBuilder
{
public:
    struct TreeOptions
    {
        bool joliet = true;
        bool fileDates = true;
        bool renameCollisions = false;
    };

    struct BootOptions
    {
        NativeString path;
        std::uint8_t platform = 0;
        std::uint16_t loadSegment = 0;
        std::uint32_t sectorCount = 4;  // 512-byte sectors; 0 = the whole file
    };

    struct VolumeOptions
    {
        std::u16string label;
        std::u16string publisher;
        std::u16string application;
        std::uint32_t padSectors = 0;
        std::int64_t volumeTime = 0;  // 0 = now
        std::uint16_t volumeSequence = 1;
    };

    explicit ImageBuilder(const TreeOptions& options);

    void setProgress(const ProgressSink& progress) { progress_ = progress; }
    void setCancelFlag(const std::atomic<long>* flag) { cancel_.attach(flag); }

    TreeNode& root() { return tree_.root(); }
    // See FileTree::add. Not allowed once the image is built.
    TreeNode* add(TreeNode& parent, const NativeString& path, const std::u16string* imageName, bool withContents);
    void exclude(const NativeString& path) { tree_.exclude(path); }
    void setBootImage(const BootOptions& boot);

    // Lays the image out and positions reading at its first byte. May be repeated.
    void build(const VolumeOptions& volume);
    bool isBuilt() const { return stream_ != nullptr; }
    std::uint64_t imageSize() const { return stream_ ? stream_->size() : 0; }

    void seekToBegin();
    void read(void* out, std::size_t n);

private:
    struct BootSource
    {
        BootOptions options;
        std::uint64_t size = 0;
    };

    void requireUnbuilt(const char* operation) const;
    static std::uint64_t bootImageSize(const NativeString& path);

    TreeOptions options_;
    FileTree tree_;
    CancelToken cancel_;
    ProgressSink progress_;
    std::unique_ptr<BootSource> boot_;
    // The identifiers the last build had to rename.
    DirectoryNaming naming_;
    std::unique_ptr<ImageStream> stream_;
    int lastPercent_ = -1;
};

}  // namespace osm::iso
