#include "isowriter/ImageStream.h"

#include "isowriter/ExtentLayout.h"
#include "isowriter/IsoError.h"

#include <algorithm>
#include <cstring>

namespace osm::iso {

namespace {

// Reads from one file are split so a cancel is seen within a few milliseconds.
constexpr std::size_t kReadLimit = 4u << 20;

// Asks for an entry's memory (the entry and the name that follows it) ahead of its use.
void prefetch(const TreeNode* node)
{
#if defined(__GNUC__)
    __builtin_prefetch(node);
    __builtin_prefetch(reinterpret_cast<const char*>(node) + 64);
#else
    (void)node;
#endif
}

}  // namespace

ImageStream::ImageStream(Metadata metadata, std::optional<BootImage> boot, std::vector<const TreeNode*> dataFolders,
                         std::uint64_t totalBytes)
    : metadata_(std::move(metadata)), boot_(std::move(boot)), dataFolders_(std::move(dataFolders)), total_(totalBytes)
{
    directoriesEnd_ = metadata_.head.size();
    for (const auto& directory : metadata_.directories)
        directoriesEnd_ += directory.size;
    metadataEnd_ = directoriesEnd_ + metadata_.tail.size();
    nextDirectoryOffset_ = metadata_.head.size();
    findNext();
}

void ImageStream::findNext()
{
    hasNext_ = false;
    if (boot_ && !bootDone_)
    {
        bootDone_ = true;
        next_ = {boot_->offset, boot_->size, nullptr};
        hasNext_ = true;
        return;
    }
    for (; folderAt_ < dataFolders_.size(); ++folderAt_, childAt_ = 0)
    {
        const auto& order = dataFolders_[folderAt_]->isoOrder();
        while (childAt_ < order.size())
        {
            const TreeNode* child = order[childAt_++];
            if (ExtentLayout::hasData(*child))
            {
                next_ = {child->isoExtent() * std::uint64_t{DirectoryRecord::kSectorSize}, child->size(), child};
                hasNext_ = true;
                // The entry after it is asked for while this file is opened and read: on a tree of tiny files
                // the entries were last read long before (by the directories) and would each wait for memory.
                if (childAt_ < order.size())
                    prefetch(order[childAt_]);
                return;
            }
        }
    }
}

void ImageStream::seekToBegin()
{
    file_.reset();
    closeFolder();
    position_ = 0;
    bootDone_ = false;
    folderAt_ = 0;
    childAt_ = 0;
    findNext();
    nextDirectory_ = 0;
    nextDirectoryOffset_ = metadata_.head.size();
    failed_ = false;
}

NativeString ImageStream::pathOf(const Source& source) const
{
    return source.node ? source.node->sourcePath() : boot_->path;
}

std::string ImageStream::nameOf(const Source& source) const
{
    return "'" + NativePath::toApi(pathOf(source)) + "'";
}

void ImageStream::read(std::uint8_t* out, std::size_t n, const CancelToken& cancel)
{
    if (failed_)
        throw IsoError(ErrorCode::InvalidState, "An earlier read failed; reading must start again from the beginning");
    if (n > total_ - position_)
        throw IsoError(ErrorCode::InvalidRange, "Read of " + std::to_string(n) + " bytes at " +
                                                    std::to_string(position_) + " passes the end of the " +
                                                    std::to_string(total_) + "-byte image");
    try
    {
        while (n > 0)
        {
            cancel.check();
            readSome(out, n);
        }
    }
    catch (...)
    {
        failed_ = true;
        file_.reset();
        closeFolder();
        throw;
    }
}

void ImageStream::readSome(std::uint8_t*& out, std::size_t& n)
{
    if (position_ < metadata_.head.size())
    {
        const std::size_t count =
            static_cast<std::size_t>(std::min<std::uint64_t>(n, metadata_.head.size() - position_));
        std::memcpy(out, metadata_.head.data() + position_, count);
        out += count;
        n -= count;
        position_ += count;
        return;
    }
    if (position_ < directoriesEnd_)
    {
        readDirectories(out, n);
        return;
    }
    if (position_ < metadataEnd_)
    {
        const std::size_t at = static_cast<std::size_t>(position_ - directoriesEnd_);
        const std::size_t count = std::min(n, metadata_.tail.size() - at);
        std::memcpy(out, metadata_.tail.data() + at, count);
        out += count;
        n -= count;
        position_ += count;
        return;
    }
    if (hasNext_ && position_ >= next_.offset)
    {
        const Source& source = next_;
        // The size is not asked again on opening: a file that shrank ends early below, and one that grew
        // shows a byte past its expected end.
        if (!file_)
            openSource(source);
        const std::uint64_t left = source.offset + source.size - position_;
        const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>({n, left, kReadLimit}));
        // When the file's last bytes go into the caller's buffer with room after them, one byte more is asked
        // in the same call: a file that grew since it was added shows it there, without a read of its own.
        // That byte is overwritten by what follows in the buffer.
        const bool probe = count == left && n > count;
        const std::size_t got = file_->read(out, count, count + (probe ? 1 : 0));
        if (got < count)
            throw IsoError(ErrorCode::UnexpectedResult, "File " + nameOf(source) +
                                                            " ended early: it changed size since it was added (" +
                                                            std::to_string(source.size) + " bytes then)");
        if (got > count)
            throw IsoError(ErrorCode::UnexpectedResult,
                           "File " + nameOf(source) + " grew while it was read: it changed since it was added");
        out += count;
        n -= count;
        position_ += count;
        if (position_ == source.offset + source.size)
            finishSource(probe);
        return;
    }
    // Zeros: the rest of a file's last sector, and the padding after the last file.
    const std::uint64_t until = hasNext_ ? next_.offset : total_;
    const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(n, until - position_));
    std::memset(out, 0, count);
    out += count;
    n -= count;
    position_ += count;
}

void ImageStream::readDirectories(std::uint8_t*& out, std::size_t& n)
{
    // Reading goes forward only (seekToBegin starts again), so the directory at hand is found by moving on.
    while (position_ >= nextDirectoryOffset_ + metadata_.directories[nextDirectory_].size)
        nextDirectoryOffset_ += metadata_.directories[nextDirectory_++].size;
    const auto& directory = metadata_.directories[nextDirectory_];
    const std::size_t at = static_cast<std::size_t>(position_ - nextDirectoryOffset_);
    std::size_t count = 0;
    if (at == 0 && n >= directory.size)
    {
        // A whole directory: written where the reader wants it, every byte (no zeroing first).
        DirectoryRecord::writeDirectory(out, *directory.folder, directory.kind, metadata_.context);
        count = directory.size;
    }
    else
    {
        if (partDirectoryIndex_ != nextDirectory_)
        {
            partDirectory_.resize(directory.size);
            DirectoryRecord::writeDirectory(partDirectory_.data(), *directory.folder, directory.kind,
                                            metadata_.context);
            partDirectoryIndex_ = nextDirectory_;
        }
        count = std::min(n, directory.size - at);
        std::memcpy(out, partDirectory_.data() + at, count);
    }
    out += count;
    n -= count;
    position_ += count;
}

void ImageStream::openSource(const Source& source)
{
    const NativeChar* name = source.node ? source.node->nameInFolder() : nullptr;
    if (!name)
    {
        file_.emplace(pathOf(source), source.size);
        return;
    }
    // The files of a folder follow one another in the image: the folder stays open while they are read.
    const TreeNode* folder = source.node->parent();
    if (folderNode_ != folder)
    {
        closeFolder();
        folder_.emplace(folder->sourcePath());
        folderNode_ = folder;
    }
    file_.emplace(*folder_, name, source.size);
}

void ImageStream::finishSource(bool endSeen)
{
    std::uint8_t extra;
    if (!endSeen && file_->read(&extra, 1, 1) != 0)
        throw IsoError(ErrorCode::UnexpectedResult,
                       "File " + nameOf(next_) + " grew while it was read: it changed since it was added");
    file_.reset();
    findNext();
    if (!hasNext_)
        closeFolder();
}

void ImageStream::closeFolder()
{
    folder_.reset();
    folderNode_ = nullptr;
}

}  // namespace osm::iso
