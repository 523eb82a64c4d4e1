#include "isowriter/ImageBuilder.h"

#include "isowriter/BootCatalog.h"
#include "isowriter/DirectoryNaming.h"
#include "isowriter/DirectoryRecord.h"
#include "isowriter/ExtentLayout.h"
#include "isowriter/IsoDate.h"
#include "isowriter/IsoError.h"
#include "isowriter/NameMapper.h"
#include "isowriter/PathTable.h"
#include "isowriter/VolumeDescriptor.h"

namespace osm::iso {

namespace {

constexpr std::uint32_t kBuiltEvent = 2;
constexpr std::uint32_t kReadEvent = 3;
constexpr std::uint64_t kSector = DirectoryRecord::kSectorSize;

VolumeDescriptor::Fields volumeFields(const ImageBuilder::VolumeOptions& volume, const ExtentLayout& layout,
                                      const ExtentLayout::PathTables& tables, const TreeNode& root, bool joliet,
                                      const IsoDate& created)
{
    VolumeDescriptor::Fields f;
    f.label = volume.label;
    f.publisher = volume.publisher;
    f.application = volume.application;
    f.volumeSpaceSize = static_cast<std::uint32_t>(layout.totalSectors());
    f.volumeSequence = volume.volumeSequence;
    f.pathTableSize = tables.size;
    f.lPathTable = tables.lSector;
    f.mPathTable = tables.mSector;
    f.rootExtent = joliet ? root.folderPlacement().jolietExtent : root.isoExtent();
    f.rootSize = joliet ? root.folderPlacement().jolietExtentSize : root.folderPlacement().isoExtentSize;
    f.created = created;
    return f;
}

}  // namespace

ImageBuilder::ImageBuilder(const TreeOptions& options) : options_(options)
{
    tree_.setNameLimit(options.joliet ? NameMapper::kJolietLength : 0);
}

void ImageBuilder::requireUnbuilt(const char* operation) const
{
    if (stream_)
        throw IsoError(ErrorCode::InvalidState, std::string(operation) + " is not possible once the image is built");
}

TreeNode* ImageBuilder::add(TreeNode& parent, const NativeString& path, const std::u16string* imageName,
                            bool withContents)
{
    requireUnbuilt("Adding files");
    return tree_.add(parent, path, imageName, withContents, cancel_, progress_);
}

std::uint64_t ImageBuilder::bootImageSize(const NativeString& path)
{
    const SourceEntry entry = DirectoryScanner::inspect(path);
    const std::string name = "'" + NativePath::toApi(path) + "'";
    if (entry.kind != EntryKind::File)
        throw IsoError(ErrorCode::InvalidParameter, "Boot image " + name + " is not a file");
    if (entry.size == 0)
        throw IsoError(ErrorCode::InvalidParameter, "Boot image " + name + " is empty");
    return entry.size;
}

void ImageBuilder::setBootImage(const BootOptions& boot)
{
    requireUnbuilt("Setting the boot image");
    auto source = std::make_unique<BootSource>();
    source->options = boot;
    source->options.path = NativePath::absolute(boot.path);
    source->size = bootImageSize(source->options.path);
    if (source->options.sectorCount == 0)
        source->options.sectorCount = static_cast<std::uint32_t>((source->size + 511) / 512);
    if (source->options.sectorCount > 0xFFFF)
        throw IsoError(ErrorCode::InvalidRange, "Boot image '" + NativePath::toApi(source->options.path) + "' needs " +
                                                    std::to_string(source->options.sectorCount) +
                                                    " sectors, at most 65535 can be loaded");
    boot_ = std::move(source);
}

void ImageBuilder::build(const VolumeOptions& volume)
{
    stream_.reset();
    cancel_.check();
    if (volume.volumeSequence == 0)
        throw IsoError(ErrorCode::InvalidParameter, "Volume sequence number 0 is not valid");
    const IsoDate created = volume.volumeTime != 0 ? IsoDate(volume.volumeTime) : IsoDate::now();

    // The boot image is measured again: it may have been replaced since it was chosen.
    if (boot_)
        boot_->size = bootImageSize(boot_->options.path);

    TreeNode& root = tree_.root();
    naming_.assign(root, options_.joliet, options_.renameCollisions, cancel_);

    ExtentLayout::Options layoutOptions;
    layoutOptions.joliet = options_.joliet;
    layoutOptions.boot = boot_ != nullptr;
    layoutOptions.bootImageSize = boot_ ? boot_->size : 0;
    layoutOptions.padSectors = volume.padSectors;
    const ExtentLayout layout(root, layoutOptions, cancel_);

    // Sectors before the directories are written now; the directories when the image is read.
    ImageStream::Metadata metadata;
    metadata.head.resize(static_cast<std::size_t>(layout.directoriesStart() * kSector));
    metadata.tail.resize(static_cast<std::size_t>((layout.metadataSectors() - layout.directoriesEnd()) * kSector));
    auto sector = [&](std::uint32_t n) { return metadata.head.data() + n * kSector; };

    VolumeDescriptor::writePrimary(sector(layout.primarySector()),
                                   volumeFields(volume, layout, layout.isoPathTables(), root, false, created));
    if (boot_)
        VolumeDescriptor::writeBootRecord(sector(layout.bootRecordSector()), layout.catalogSector());
    if (options_.joliet)
        VolumeDescriptor::writeJoliet(sector(layout.jolietSector()),
                                      volumeFields(volume, layout, layout.jolietPathTables(), root, true, created));
    VolumeDescriptor::writeTerminator(sector(layout.terminatorSector()));

    PathTable::write(sector(layout.isoPathTables().lSector), layout.isoFolders(), TreeKind::Iso, false);
    PathTable::write(sector(layout.isoPathTables().mSector), layout.isoFolders(), TreeKind::Iso, true);
    if (options_.joliet)
    {
        PathTable::write(sector(layout.jolietPathTables().lSector), layout.jolietFolders(), TreeKind::Joliet, false);
        PathTable::write(sector(layout.jolietPathTables().mSector), layout.jolietFolders(), TreeKind::Joliet, true);
    }

    metadata.context.volumeSequence = volume.volumeSequence;
    metadata.context.fileDates = options_.fileDates;
    metadata.context.volumeTime = created.unixSeconds();
    metadata.directories.reserve(layout.isoFolders().size() + layout.jolietFolders().size());
    for (const TreeNode* folder : layout.isoFolders())
        metadata.directories.push_back({folder, TreeKind::Iso, folder->folderPlacement().isoExtentSize});
    for (const TreeNode* folder : layout.jolietFolders())
        metadata.directories.push_back({folder, TreeKind::Joliet, folder->folderPlacement().jolietExtentSize});

    std::optional<ImageStream::BootImage> bootImage;
    if (boot_)
    {
        BootCatalog::Entry entry;
        entry.platform = boot_->options.platform;
        entry.mediaType = BootCatalog::kNoEmulation;
        entry.loadSegment = boot_->options.loadSegment;
        entry.sectorCount = static_cast<std::uint16_t>(boot_->options.sectorCount);
        entry.imageSector = layout.bootImageSector();
        BootCatalog::write(metadata.tail.data() + (layout.catalogSector() - layout.directoriesEnd()) * kSector, entry);
        bootImage = ImageStream::BootImage{boot_->options.path, layout.bootImageSector() * kSector, boot_->size};
    }

    stream_ = std::make_unique<ImageStream>(std::move(metadata), std::move(bootImage), layout.dataFolders(),
                                            layout.totalSectors() * kSector);
    lastPercent_ = -1;
    progress_.notify(kBuiltEvent, static_cast<std::uint32_t>(layout.totalSectors()));
}

void ImageBuilder::seekToBegin()
{
    if (!stream_)
        throw IsoError(ErrorCode::InvalidState, "The image is not built yet");
    stream_->seekToBegin();
    lastPercent_ = -1;
}

void ImageBuilder::read(void* out, std::size_t n)
{
    if (!stream_)
        throw IsoError(ErrorCode::InvalidState, "The image is not built yet");
    stream_->read(static_cast<std::uint8_t*>(out), n, cancel_);
    const std::uint64_t total = stream_->size();
    const int percent = total ? static_cast<int>(stream_->position() * 100 / total) : 100;
    if (percent != lastPercent_)
    {
        lastPercent_ = percent;
        progress_.notify(kReadEvent, static_cast<std::uint32_t>(percent));
    }
}

}  // namespace osm::iso
