#include "wizard/IsoBuildJob.h"

#include "framework/foundation/FileExists.h"
#include "isowriter/StarBurn.h"
#include "wizard/AttributeWalk.h"
#include "wizard/BurnErrorText.h"
#include "wizard/FolderPath.h"
#include "wizard/SystemErrorText.h"
#include "wizard/WriterTexts.h"

#include "classlib/ScopedHandle.h"

// The writer's tree of one build.
struct IsoTreeHolder
{
    STARBURN_TREE tree = nullptr;
    ~IsoTreeHolder() { StarBurn_Destroy(&tree); }
};

bool IsoImageFile::Create(const std::string& path)
{
    Release();
    m_path = path;
    m_complete = false;
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    m_created = true;
    m_handle = file;
    return true;
}

void IsoImageFile::Release()
{
    const HANDLE file = m_handle.exchange(INVALID_HANDLE_VALUE);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    if (m_created.exchange(false) && !m_complete)
        DeleteFileA(m_path.c_str());
}

namespace {

void STARBURN_CALL IsoTreeCallback(uint32_t, uint32_t, uint32_t, void*) {}

}  // namespace

IsoBuildJob::IsoBuildJob(IsoBuildRequest request, const std::atomic<long>* cancelFlag, IsoBuildObserver& observer,
                         IsoImageFile* imageFile)
    : m_request(std::move(request)), m_cancelFlag(cancelFlag), m_observer(observer),
      m_image(imageFile ? *imageFile : m_ownImage)
{}

std::string IsoBuildJob::BootImagePath() const
{
    return JoinPath(m_request.programFolder,
                    m_request.mode == WizardMode::WindowsXp ? "ISO\\xpboot.img" : "ISO\\vistaboot.img");
}

std::string IsoBuildJob::ImagePath() const
{
    return JoinPath(m_request.imageFolder, m_request.mode == WizardMode::WindowsXp ? "xp.iso" : "win.iso");
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
    // The fixed text first, then what the writer knows: the file at fault and the system's reason.
    if (const char* text = BurnErrorText(result))
    {
        std::string line = text;
        if (m_exceptionText[0])
        {
            line += ". ";
            line += m_exceptionText;
            if (line.back() != '.')
                line += '.';
        }
        m_observer.Log(line);
    }
    return false;
}

void IsoBuildJob::LogFileError(const std::string& path, DWORD error)
{
    m_observer.Log(WriterTexts::FillText(WriterTexts::kErrorWithFile, path) + GetSystemErrorText(error));
}

IsoBuildResult IsoBuildJob::Run()
{
    const IsoBuildResult result = Build();
    // An unfinished image goes now; the page releases it again if this thread never gets here.
    m_image.Release();
    return result;
}

IsoBuildResult IsoBuildJob::Build()
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

    m_observer.Log("Removing any possible attributes...");
    const AttributeWalkResult walk = ClearAttributesRecursive(m_request.distributionFolder, m_cancelFlag);
    if (walk.outcome == AttributeWalkResult::Outcome::Cancelled)
    {
        m_cancelSeen = true;
        return false;
    }
    if (walk.outcome == AttributeWalkResult::Outcome::Failed)
    {
        LogFileError(walk.folder, walk.error);
        return false;
    }
    m_observer.Log("Creating tree...(it takes several minutes)");
    return ListDistribution(tree);
}

bool IsoBuildJob::ListDistribution(IsoTreeHolder& tree)
{
    const std::string& dist = m_request.distributionFolder;
    STARBURN_NODE root = StarBurn_ISO9660JolietFileTree_GetRoot(tree.tree);
    WIN32_FIND_DATAA entry;
    const ScopedFindHandle find(FindFirstFileA(JoinPath(dist, "*.*").c_str(), &entry));
    if (!find)
    {
        // Only an empty drive root lists nothing at all; any other failure must not become an empty image.
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND)
            return true;
        LogFileError(dist, error);
        return false;
    }
    do
    {
        // "." and "..", and the dot files and folders of tools, stay out of the image.
        if (entry.cFileName[0] == '.')
            continue;
        const std::string path = JoinPath(dist, entry.cFileName);
        STARBURN_NODE node = nullptr;
        if (!Check(StarBurn_ISO9660JolietFileTree_Add(tree.tree, m_exceptionText, sizeof(m_exceptionText),
                                                      &m_systemError, path.c_str(), nullptr, STARBURN_ADD_WITH_CONTENTS,
                                                      &root, &node)))
            return false;
    } while (FindNextFileA(find.Get(), &entry));
    const DWORD error = GetLastError();
    // A listing that stops early would make an image of half the folder.
    if (error != ERROR_NO_MORE_FILES)
    {
        LogFileError(dist, error);
        return false;
    }
    return true;
}

bool IsoBuildJob::WriteChunk(const void* data, std::uint32_t size)
{
    // The chunk reaches the file in small slices, one after another: the system copies one large write into its
    // cache far more slowly than several small ones, and a write at a given position costs Wine a server call.
    const char* bytes = static_cast<const char*>(data);
    for (std::uint32_t done = 0; done < size;)
    {
        const std::uint32_t slice = size - done < STARBURN_WRITE_SLICE_BYTES ? size - done : STARBURN_WRITE_SLICE_BYTES;
        DWORD written = 0;
        const BOOL wrote = WriteFile(m_image.Handle(), bytes + done, slice, &written, nullptr);
        if (!wrote || written != slice)
        {
            // A short write is a full disk, not progress.
            LogFileError(m_image.Path(), wrote ? static_cast<DWORD>(ERROR_DISK_FULL) : GetLastError());
            return false;
        }
        done += slice;
    }
    return true;
}

IsoBuildResult IsoBuildJob::CopyImage(IsoTreeHolder& tree)
{
    STARBURN_ULONG high = 0;
    const std::uint64_t low = StarBurn_ISO9660JolietFileTree_GetSizeInUCHARs(tree.tree, &high);
    const std::uint64_t imageSize = (static_cast<std::uint64_t>(high) << 32) | low;

    if (!m_image.Create(ImagePath()))
    {
        LogFileError(ImagePath(), GetLastError());
        return IsoBuildResult::Failed;
    }

    const ScopedHeapBlock buffer(HeapAlloc(GetProcessHeap(), 0, kChunkSize));
    if (!buffer)
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
                                                       &m_systemError, chunk, buffer.Get())))
            return m_cancelSeen ? IsoBuildResult::Cancelled : IsoBuildResult::Failed;
        if (Cancelled())
            return IsoBuildResult::Cancelled;
        if (!WriteChunk(buffer.Get(), chunk))
            return IsoBuildResult::Failed;
        position += chunk;
        const int percent = static_cast<int>(position * 100 / imageSize);
        m_observer.Log(std::to_string(percent) + "%");
        m_observer.Progress(percent);
    }
    m_image.MarkComplete();
    return IsoBuildResult::Completed;
}
