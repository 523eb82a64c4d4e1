#include "wizard/IsoBuildJob.h"

#include <memory>

#include "framework/foundation/FileExists.h"
#include "isowriter/StarBurn.h"
#include "wizard/AttributeWalk.h"
#include "wizard/BurnErrorText.h"
#include "wizard/SystemErrorText.h"
#include "wizard/WriterTexts.h"

// The writer's tree and the image file of one build, released in reverse order of taking.
struct IsoTreeHolder
{
    STARBURN_TREE tree = nullptr;
    HANDLE file = INVALID_HANDLE_VALUE;
    std::string filePath;
    bool complete = false;

    ~IsoTreeHolder()
    {
        if (file != INVALID_HANDLE_VALUE)
        {
            CloseHandle(file);
            // A cancelled or failed build leaves nothing that looks like a result.
            if (!complete)
                DeleteFileA(filePath.c_str());
        }
        StarBurn_Destroy(&tree);
    }
};

namespace {

void STARBURN_CALL IsoTreeCallback(uint32_t, uint32_t, uint32_t, void*)
{
}

struct HeapBlock
{
    void* data;
    ~HeapBlock()
    {
        if (data)
            HeapFree(GetProcessHeap(), 0, data);
    }
};

}  // namespace

IsoBuildJob::IsoBuildJob(IsoBuildRequest request, const volatile long* cancelFlag, IsoBuildObserver& observer)
    : m_request(std::move(request)), m_cancelFlag(cancelFlag), m_observer(observer)
{
}

std::string IsoBuildJob::BootImagePath() const
{
    return m_request.programFolder +
           (m_request.mode == WizardMode::WindowsXp ? "\\ISO\\xpboot.img" : "\\ISO\\vistaboot.img");
}

std::string IsoBuildJob::ImagePath() const
{
    return m_request.imageFolder + (m_request.mode == WizardMode::WindowsXp ? "\\xp.iso" : "\\win.iso");
}

const char* IsoBuildJob::VolumeLabel() const
{
    return m_request.mode == WizardMode::WindowsXp ? "XP" : "WIN";
}

bool IsoBuildJob::Check(std::uint32_t result)
{
    if (result == STARBURN_SUCCESS)
        return true;
    if (result == STARBURN_ERROR_CANCELLED && Cancelled())
    {
        m_cancelSeen = true;
        return false;
    }
    if (const char* text = BurnErrorText(result))
        m_observer.Log(text);
    return false;
}

void IsoBuildJob::LogFileError(const std::string& path, DWORD error)
{
    m_observer.Log(WriterTexts::FillText(WriterTexts::kErrorWithFile, path) + GetSystemErrorText(error));
}

IsoBuildResult IsoBuildJob::Run()
{
    const std::string bootImage = BootImagePath();
    if (!FileExists(bootImage.c_str()))
    {
        m_observer.Log(WriterTexts::FillText("File %s is not found.", bootImage));
        return IsoBuildResult::Failed;
    }

    IsoTreeHolder tree;
    if (!CreateTree(tree))
        return m_cancelSeen ? IsoBuildResult::Cancelled : IsoBuildResult::Failed;

    m_observer.Log("0%");
    if (!Check(StarBurn_ISO9660JolietFileTree_SetBootImage(tree.tree, bootImage.c_str(), STARBURN_BOOT_EMULATION_NONE,
                                                           STARBURN_BOOT_PLATFORM_X86, 4, 0, m_exceptionText,
                                                           sizeof(m_exceptionText), &m_systemError)) ||
        !Check(StarBurn_ISO9660JolietFileTree_BuildImage(tree.tree, m_exceptionText, sizeof(m_exceptionText),
                                                         &m_systemError, 0, 0, 1, VolumeLabel(), "Taleno Company",
                                                         "Taleno Corvane")))
        return m_cancelSeen ? IsoBuildResult::Cancelled : IsoBuildResult::Failed;

    return CopyImage(tree);
}

bool IsoBuildJob::CreateTree(IsoTreeHolder& tree)
{
    if (!Check(StarBurn_UpStartEx(m_exceptionText, sizeof(m_exceptionText), &m_systemError)))
        return false;
    StarBurn_SetIsCollisionDetectionDisabled(1);
    if (!Check(StarBurn_ISO9660JolietFileTree_Create(&tree.tree, m_exceptionText, sizeof(m_exceptionText),
                                                     &m_systemError, IsoTreeCallback, this, 0, 0, 1, 1)))
        return false;
    StarBurn_ISO9660JolietFileTree_SetCancelFlag(tree.tree, m_cancelFlag);
    // The image may be written inside the folder it is made of: it must not become part of itself.
    StarBurn_ISO9660JolietFileTree_ExcludePath(tree.tree, ImagePath().c_str());

    const std::string& dist = m_request.distributionFolder;
    m_observer.Log("Removing any possible attributes...");
    ClearAttributesRecursive(dist.c_str());
    m_observer.Log("Creating tree...(it takes several minutes)");

    STARBURN_NODE root = StarBurn_ISO9660JolietFileTree_GetRoot(tree.tree);
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((dist + "\\*.*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return true;  // an empty folder gives an empty image
    bool added = true;
    do
    {
        // "." and "..", and the dot files and folders of tools, stay out of the image.
        if (entry.cFileName[0] == '.')
            continue;
        const std::string path = dist + "\\" + entry.cFileName;
        STARBURN_NODE node = nullptr;
        if (!Check(StarBurn_ISO9660JolietFileTree_Add(tree.tree, m_exceptionText, sizeof(m_exceptionText),
                                                      &m_systemError, path.c_str(), nullptr, STARBURN_ADD_WITH_CONTENTS,
                                                      &root, &node)))
        {
            added = false;
            break;
        }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return added;
}

IsoBuildResult IsoBuildJob::CopyImage(IsoTreeHolder& tree)
{
    STARBURN_ULONG high = 0;
    const std::uint64_t low = StarBurn_ISO9660JolietFileTree_GetSizeInUCHARs(tree.tree, &high);
    const std::uint64_t imageSize = (static_cast<std::uint64_t>(high) << 32) | low;

    tree.filePath = ImagePath();
    tree.file = CreateFileA(tree.filePath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    if (tree.file == INVALID_HANDLE_VALUE)
    {
        LogFileError(tree.filePath, GetLastError());
        return IsoBuildResult::Failed;
    }

    HeapBlock buffer{HeapAlloc(GetProcessHeap(), 0, kChunkSize)};
    if (!buffer.data)
    {
        Check(STARBURN_ERROR_OUT_OF_MEMORY);
        return IsoBuildResult::Failed;
    }
    if (!Check(StarBurn_ISO9660JolietFileTree_SeekToBegin(tree.tree, m_exceptionText, sizeof(m_exceptionText),
                                                          &m_systemError)))
        return m_cancelSeen ? IsoBuildResult::Cancelled : IsoBuildResult::Failed;

    m_observer.Progress(0);
    std::uint64_t position = 0;
    while (position < imageSize)
    {
        const std::uint32_t chunk =
            static_cast<std::uint32_t>(imageSize - position < kChunkSize ? imageSize - position : kChunkSize);
        if (Cancelled())
            return IsoBuildResult::Cancelled;
        if (!Check(StarBurn_ISO9660JolietFileTree_Read(tree.tree, m_exceptionText, sizeof(m_exceptionText),
                                                       &m_systemError, chunk, buffer.data)))
            return m_cancelSeen ? IsoBuildResult::Cancelled : IsoBuildResult::Failed;
        if (Cancelled())
            return IsoBuildResult::Cancelled;

        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(position);
        at.OffsetHigh = static_cast<DWORD>(position >> 32);
        DWORD written = 0;
        const BOOL wrote = WriteFile(tree.file, buffer.data, chunk, &written, &at);
        if (!wrote || written != chunk)
        {
            // A short write is a full disk, not progress.
            const DWORD error = wrote ? static_cast<DWORD>(ERROR_DISK_FULL) : GetLastError();
            LogFileError(tree.filePath, error);
            return IsoBuildResult::Failed;
        }
        position += written;
        const int percent = static_cast<int>(position * 100 / imageSize);
        m_observer.Log(std::to_string(percent) + "%");
        m_observer.Progress(percent);
    }
    tree.complete = true;
    return IsoBuildResult::Completed;
}
