#include "isowriter/ExtentLayout.h"

#include "isowriter/DirectoryRecord.h"
#include "isowriter/IsoError.h"
#include "isowriter/PathTable.h"

namespace osm::iso {

namespace {

constexpr std::uint64_t kLastSector = 0xFFFFFFFFull;

// Sector cursor that refuses to pass the 32-bit sector numbers the image can address.
class SectorCursor
{
public:
    explicit SectorCursor(std::uint64_t start) : next_(start) {}
    std::uint32_t take(std::uint64_t sectors)
    {
        const std::uint64_t at = next_;
        next_ += sectors;
        if (next_ > kLastSector)
            throw IsoError(ErrorCode::FileTooBig, "The image would be larger than 8 TiB");
        return static_cast<std::uint32_t>(at);
    }
    std::uint64_t next() const { return next_; }

private:
    std::uint64_t next_;
};

void placePathTables(ExtentLayout::PathTables& tables, std::uint32_t size, SectorCursor& cursor)
{
    tables.size = size;
    const std::uint64_t sectors = DirectoryRecord::sectorsFor(size);
    tables.lSector = cursor.take(sectors);
    tables.mSector = cursor.take(sectors);
}

}  // namespace

ExtentLayout::ExtentLayout(TreeNode& root, const Options& options, const CancelToken& cancel)
    : padSectors_(options.padSectors)
{
    isoFolders_ = PathTable::order(root, TreeKind::Iso);
    if (options.joliet)
        jolietFolders_ = PathTable::order(root, TreeKind::Joliet);

    SectorCursor cursor(primarySector() + 1);
    if (options.boot)
        bootRecordSector_ = cursor.take(1);
    if (options.joliet)
        jolietSector_ = cursor.take(1);
    terminatorSector_ = cursor.take(1);

    placePathTables(isoPaths_, PathTable::size(isoFolders_, TreeKind::Iso), cursor);
    if (options.joliet)
        placePathTables(jolietPaths_, PathTable::size(jolietFolders_, TreeKind::Joliet), cursor);

    directoriesStart_ = static_cast<std::uint32_t>(cursor.next());
    for (TreeNode* folder : isoFolders_)
    {
        cancel.check();
        auto& p = folder->folderPlacement();
        p.isoExtentSize = DirectoryRecord::directorySize(*folder, TreeKind::Iso);
        folder->setIsoExtent(cursor.take(p.isoExtentSize / DirectoryRecord::kSectorSize));
    }
    for (TreeNode* folder : jolietFolders_)
    {
        cancel.check();
        auto& p = folder->folderPlacement();
        p.jolietExtentSize = DirectoryRecord::directorySize(*folder, TreeKind::Joliet);
        p.jolietExtent = cursor.take(p.jolietExtentSize / DirectoryRecord::kSectorSize);
    }

    directoriesEnd_ = static_cast<std::uint32_t>(cursor.next());
    if (options.boot)
        catalogSector_ = cursor.take(1);
    metadataSectors_ = static_cast<std::uint32_t>(cursor.next());
    if (options.boot)
        bootImageSector_ = cursor.take(DirectoryRecord::sectorsFor(options.bootImageSize));

    // File data follows the ISO9660 tree depth first, so a folder's files lie together on the disc.
    std::vector<const TreeNode*> pending{&root};
    while (!pending.empty())
    {
        const TreeNode* folder = pending.back();
        pending.pop_back();
        const auto& order = folder->isoOrder();
        bool anyData = false;
        for (TreeNode* child : order)
        {
            if (child->isDirectory())
                continue;
            if (!hasData(*child))
            {
                child->setIsoExtent(0);  // no data: no sectors
                continue;
            }
            child->setIsoExtent(cursor.take(DirectoryRecord::sectorsFor(child->size())));
            anyData = true;
        }
        if (anyData)
            dataFolders_.push_back(folder);
        for (auto it = order.rbegin(); it != order.rend(); ++it)
            if ((*it)->isDirectory())
                pending.push_back(*it);
    }
    cursor.take(padSectors_);
    totalSectors_ = cursor.next();
}

}  // namespace osm::iso
