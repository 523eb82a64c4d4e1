// The C entry points: argument checks, translation of the caller's strings, and the conversion of every
// failure into a result number, a message and a system error value. The work itself is ImageBuilder's.
#include "isowriter/StarBurn.h"

#include "isowriter/ImageBuilder.h"
#include "isowriter/IsoError.h"

#include <atomic>
#include <cstring>
#include <new>
#include <unordered_set>

#ifdef _WIN32
#include <windows.h>
#endif

using osm::iso::ErrorCode;
using osm::iso::ImageBuilder;
using osm::iso::IsoError;
using osm::iso::NativePath;
using osm::iso::TreeNode;

struct StarBurnTree_
{
    explicit StarBurnTree_(const ImageBuilder::TreeOptions& options) : builder(options) {}
    ImageBuilder builder;
    // Folder handles given out, so a stale or foreign node is refused instead of followed.
    std::unordered_set<const TreeNode*> folders;
};

namespace {

std::atomic<bool> collisionDetectionDisabled{false};

// Where a call reports its outcome: the caller's text buffer and system error value, either may be absent.
class CallReport
{
public:
    CallReport(char* text, uint32_t size, STARBURN_ULONG* systemError)
        : text_(text), size_(size), systemError_(systemError)
    {}

    uint32_t success() const
    {
        put("", 0);
        return STARBURN_SUCCESS;
    }

    uint32_t failure(uint32_t code, const std::string& message, uint32_t systemError) const
    {
        put(message, systemError);
        return code;
    }

private:
    void put(const std::string& message, uint32_t systemError) const
    {
        if (systemError_)
            *systemError_ = systemError;
        if (!text_ || size_ == 0)
            return;
        std::size_t n = std::min<std::size_t>(message.size(), size_ - 1);
        n = characterBoundary(message, n);
        std::memcpy(text_, message.data(), n);
        text_[n] = '\0';
    }

    // Longest prefix of at most n bytes that does not cut a character in two.
    static std::size_t characterBoundary(const std::string& s, std::size_t n)
    {
        if (n >= s.size())
            return s.size();
#ifdef _WIN32
        std::size_t i = 0;
        while (i < n)
        {
            const std::size_t step = IsDBCSLeadByte(static_cast<BYTE>(s[i])) ? 2 : 1;
            if (i + step > n)
                break;
            i += step;
        }
        return i;
#else
        while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80)
            --n;
        return n;
#endif
    }

    char* text_;
    uint32_t size_;
    STARBURN_ULONG* systemError_;
};

template <class Work> uint32_t guarded(const CallReport& report, Work work)
{
    try
    {
        work();
        return report.success();
    }
    catch (const IsoError& e)
    {
        return report.failure(static_cast<uint32_t>(e.code()), e.what(), e.systemError());
    }
    catch (const std::bad_alloc&)
    {
        return report.failure(STARBURN_ERROR_OUT_OF_MEMORY, "Out of memory", 0);
    }
    catch (const std::exception& e)
    {
        return report.failure(STARBURN_ERROR_UNDEFINED, e.what(), 0);
    }
    catch (...)
    {
        return report.failure(STARBURN_ERROR_UNDEFINED, "Unknown failure", 0);
    }
}

void require(bool condition, const char* message)
{
    if (!condition)
        throw IsoError(ErrorCode::InvalidParameter, message);
}

void requireRange(uint32_t value, uint32_t maximum, const char* what)
{
    if (value > maximum)
        throw IsoError(ErrorCode::InvalidRange,
                       std::string(what) + " " + std::to_string(value) + " is above " + std::to_string(maximum));
}

std::u16string apiText(const char* text)
{
    return text ? NativePath::toUtf16(NativePath::fromApi(text)) : std::u16string();
}

STARBURN_NODE toHandle(TreeNode* node)
{
    return reinterpret_cast<STARBURN_NODE>(node);
}

}  // namespace

extern "C"
{

    uint32_t STARBURN_CALL StarBurn_UpStartEx(char* exceptionText, uint32_t exceptionTextSize,
                                              STARBURN_ULONG* systemError)
    {
        // Nothing global needs preparing; the call stays so callers can keep their start-up order.
        return guarded(CallReport(exceptionText, exceptionTextSize, systemError), [] {});
    }

    uint32_t STARBURN_CALL StarBurn_SetIsCollisionDetectionDisabled(uint32_t isDisabled)
    {
        collisionDetectionDisabled = isDisabled != 0;
        return STARBURN_SUCCESS;
    }

    uint32_t STARBURN_CALL StarBurn_ISO9660JolietFileTree_Create(STARBURN_TREE* tree, char* exceptionText,
                                                                 uint32_t exceptionTextSize,
                                                                 STARBURN_ULONG* systemError,
                                                                 STARBURN_CALLBACK callback, void* context,
                                                                 uint32_t reserved1, uint32_t reserved2,
                                                                 uint32_t isJoliet, uint32_t isFileDates)
    {
        return guarded(CallReport(exceptionText, exceptionTextSize, systemError), [&] {
            require(tree != nullptr, "No address for the tree handle");
            *tree = nullptr;
            require(reserved1 == 0 && reserved2 == 0, "Reserved arguments of the tree must be 0");
            ImageBuilder::TreeOptions options;
            options.joliet = isJoliet != 0;
            options.fileDates = isFileDates != 0;
            options.renameCollisions = collisionDetectionDisabled;
            auto handle = std::make_unique<StarBurnTree_>(options);
            if (callback)
                handle->builder.setProgress(osm::iso::ProgressSink(
                    [callback, context](uint32_t event, uint32_t value) { callback(event, value, 0, context); }));
            handle->folders.insert(&handle->builder.root());
            *tree = handle.release();  // owned by the caller until StarBurn_Destroy
        });
    }

    STARBURN_NODE STARBURN_CALL StarBurn_ISO9660JolietFileTree_GetRoot(STARBURN_TREE tree)
    {
        return tree ? toHandle(&tree->builder.root()) : nullptr;
    }

    uint32_t STARBURN_CALL StarBurn_ISO9660JolietFileTree_Add(STARBURN_TREE tree, char* exceptionText,
                                                              uint32_t exceptionTextSize, STARBURN_ULONG* systemError,
                                                              const char* sourcePath, const char* imageName,
                                                              uint32_t addFlags, STARBURN_NODE* parent,
                                                              STARBURN_NODE* newNode)
    {
        return guarded(CallReport(exceptionText, exceptionTextSize, systemError), [&] {
            if (newNode)
                *newNode = nullptr;
            require(tree != nullptr, "No tree");
            require(sourcePath != nullptr && *sourcePath != '\0', "No path to add");
            require(addFlags == STARBURN_ADD_ENTRY_ONLY || addFlags == STARBURN_ADD_WITH_CONTENTS, "Unknown add flags");
            require(parent != nullptr && *parent != nullptr, "No parent folder");
            auto* folder = reinterpret_cast<TreeNode*>(*parent);
            require(tree->folders.count(folder) > 0, "The parent folder does not belong to this tree");
            std::u16string name;
            if (imageName)
            {
                name = apiText(imageName);
                require(!name.empty() && name.find_first_of(u"/\\") == std::u16string::npos,
                        "The name in the image must be a plain, non-empty name");
            }
            TreeNode* node = tree->builder.add(*folder, NativePath::fromApi(sourcePath), imageName ? &name : nullptr,
                                               addFlags == STARBURN_ADD_WITH_CONTENTS);
            if (node && node->isDirectory())
            {
                // Only folders can be parents; register the added folder and everything found below it.
                std::vector<TreeNode*> pending{node};
                while (!pending.empty())
                {
                    TreeNode* f = pending.back();
                    pending.pop_back();
                    tree->folders.insert(f);
                    for (TreeNode* child : f->children())
                        if (child->isDirectory())
                            pending.push_back(child);
                }
            }
            if (newNode)
                *newNode = toHandle(node);
        });
    }

    uint32_t STARBURN_CALL StarBurn_ISO9660JolietFileTree_SetBootImage(STARBURN_TREE tree, const char* bootImagePath,
                                                                       uint32_t emulation, uint32_t platformId,
                                                                       uint32_t sectorCount, uint32_t loadSegment,
                                                                       char* exceptionText, uint32_t exceptionTextSize,
                                                                       STARBURN_ULONG* systemError)
    {
        return guarded(CallReport(exceptionText, exceptionTextSize, systemError), [&] {
            require(tree != nullptr, "No tree");
            require(bootImagePath != nullptr && *bootImagePath != '\0', "No boot image path");
            if (emulation != STARBURN_BOOT_EMULATION_NONE)
                throw IsoError(ErrorCode::NotImplemented,
                               "Boot emulation " + std::to_string(emulation) + " is not offered; only no emulation is");
            requireRange(platformId, 0xFF, "Boot platform id");
            requireRange(sectorCount, 0xFFFF, "Boot sector count");
            requireRange(loadSegment, 0xFFFF, "Boot load segment");
            ImageBuilder::BootOptions boot;
            boot.path = NativePath::fromApi(bootImagePath);
            boot.platform = static_cast<uint8_t>(platformId);
            boot.sectorCount = sectorCount;
            boot.loadSegment = static_cast<uint16_t>(loadSegment);
            tree->builder.setBootImage(boot);
        });
    }

    uint32_t STARBURN_CALL StarBurn_ISO9660JolietFileTree_BuildImage(STARBURN_TREE tree, char* exceptionText,
                                                                     uint32_t exceptionTextSize,
                                                                     STARBURN_ULONG* systemError, uint32_t padSectors,
                                                                     uint32_t volumeTime, uint32_t volumeSequence,
                                                                     const char* volumeLabel, const char* publisher,
                                                                     const char* application)
    {
        return guarded(CallReport(exceptionText, exceptionTextSize, systemError), [&] {
            require(tree != nullptr, "No tree");
            require(volumeSequence != 0, "Volume sequence number 0 is not valid");
            requireRange(volumeSequence, 0xFFFF, "Volume sequence number");
            ImageBuilder::VolumeOptions volume;
            volume.label = apiText(volumeLabel);
            volume.publisher = apiText(publisher);
            volume.application = apiText(application);
            volume.padSectors = padSectors;
            volume.volumeTime = volumeTime;
            volume.volumeSequence = static_cast<uint16_t>(volumeSequence);
            tree->builder.build(volume);
        });
    }

    uint32_t STARBURN_CALL StarBurn_ISO9660JolietFileTree_GetSizeInUCHARs(STARBURN_TREE tree, STARBURN_ULONG* sizeHigh)
    {
        const uint64_t size = tree ? tree->builder.imageSize() : 0;
        if (sizeHigh)
            *sizeHigh = static_cast<STARBURN_ULONG>(size >> 32);
        return static_cast<uint32_t>(size);
    }

    uint32_t STARBURN_CALL StarBurn_ISO9660JolietFileTree_SeekToBegin(STARBURN_TREE tree, char* exceptionText,
                                                                      uint32_t exceptionTextSize,
                                                                      STARBURN_ULONG* systemError)
    {
        return guarded(CallReport(exceptionText, exceptionTextSize, systemError), [&] {
            require(tree != nullptr, "No tree");
            tree->builder.seekToBegin();
        });
    }

    uint32_t STARBURN_CALL StarBurn_ISO9660JolietFileTree_Read(STARBURN_TREE tree, char* exceptionText,
                                                               uint32_t exceptionTextSize, STARBURN_ULONG* systemError,
                                                               uint32_t size, void* buffer)
    {
        return guarded(CallReport(exceptionText, exceptionTextSize, systemError), [&] {
            require(tree != nullptr, "No tree");
            require(buffer != nullptr || size == 0, "No buffer to read into");
            tree->builder.read(buffer, size);
        });
    }

    uint32_t STARBURN_CALL StarBurn_ISO9660JolietFileTree_ExcludePath(STARBURN_TREE tree, const char* path)
    {
        return guarded(CallReport(nullptr, 0, nullptr), [&] {
            require(tree != nullptr, "No tree");
            require(path != nullptr && *path != '\0', "No path to exclude");
            tree->builder.exclude(NativePath::fromApi(path));
        });
    }

    uint32_t STARBURN_CALL StarBurn_ISO9660JolietFileTree_SetCancelFlag(STARBURN_TREE tree,
                                                                        const STARBURN_CANCEL_FLAG* flag)
    {
        if (!tree)
            return STARBURN_ERROR_INVALID_PARAMETER;
        tree->builder.setCancelFlag(flag);
        return STARBURN_SUCCESS;
    }

    void STARBURN_CALL StarBurn_Destroy(STARBURN_TREE* tree)
    {
        if (!tree || !*tree)
            return;
        std::unique_ptr<StarBurnTree_> owned(*tree);
        *tree = nullptr;
    }

}  // extern "C"
