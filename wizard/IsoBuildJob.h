// One build of the bootable image, run on the worker thread: the tree of the distribution folder, the boot
// image that ships beside the program, and the image copied in 10 MiB chunks into "xp.iso" or "win.iso".
//
// The job owns what it takes (the writer's tree, the transfer buffer) and releases it before Run returns, on
// the thread that took it; the image file it writes may be kept by the page (IsoImageFile). It talks to the
// page only through its observer.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "wizard/WizardMode.h"

struct IsoTreeHolder;

// The image file of one build. The worker creates and writes it; whoever ends the build last releases it: the
// worker when it ends on its own, the page when the worker had to be ended by force (its own clean-up never
// ran then). An unfinished image is closed and removed, so nothing is left that looks like a result.
class IsoImageFile
{
public:
    IsoImageFile() = default;
    ~IsoImageFile() { Release(); }
    IsoImageFile(const IsoImageFile&) = delete;
    IsoImageFile& operator=(const IsoImageFile&) = delete;

    // Creates (or replaces) the file for writing; false with the last error set.
    [[nodiscard]] bool Create(const std::string& path);
    HANDLE Handle() const { return m_handle.load(); }
    const std::string& Path() const { return m_path; }
    void MarkComplete() { m_complete = true; }
    // Closes the file and removes it unless it was marked complete. Safe to call more than once.
    void Release();

private:
    std::atomic<HANDLE> m_handle{INVALID_HANDLE_VALUE};
    std::atomic<bool> m_created{false};
    std::atomic<bool> m_complete{false};
    std::string m_path;
};

// What the page shows of a build; called on the worker thread.
class IsoBuildObserver
{
public:
    virtual ~IsoBuildObserver() = default;
    virtual void Log(const std::string& text) = 0;
    // 0..100.
    virtual void Progress(int percent) = 0;
};

struct IsoBuildRequest
{
    WizardMode mode = WizardMode::WindowsXp;
    std::string distributionFolder;
    std::string imageFolder;
    // Where the program lives; the boot images are in its "ISO" folder.
    std::string programFolder;
};

enum class IsoBuildResult
{
    Completed,
    Failed,  // the reason is in the log
    Cancelled,
};

class IsoBuildJob
{
public:
    static constexpr std::uint32_t kChunkSize = 10 * 1024 * 1024;

    // imageFile: where the page keeps the image file so it can remove an unfinished one whatever happens to
    // the worker; without it the job keeps its own.
    IsoBuildJob(IsoBuildRequest request, const std::atomic<long>* cancelFlag, IsoBuildObserver& observer,
                IsoImageFile* imageFile = nullptr);

    IsoBuildResult Run();

    std::string BootImagePath() const;
    std::string ImagePath() const;
    const char* VolumeLabel() const;

private:
    bool Cancelled() const { return m_cancelFlag && m_cancelFlag->load() != 0; }
    bool Check(std::uint32_t result);
    bool ListDistribution(IsoTreeHolder& tree);
    bool WriteChunk(const void* data, std::uint32_t size);
    IsoBuildResult Build();
    bool CreateTree(IsoTreeHolder& tree);
    IsoBuildResult CopyImage(IsoTreeHolder& tree);
    void LogFileError(const std::string& path, DWORD error);

    IsoBuildRequest m_request;
    const std::atomic<long>* m_cancelFlag;
    IsoBuildObserver& m_observer;
    IsoImageFile m_ownImage;
    IsoImageFile& m_image;
    char m_exceptionText[1024] = {};
    unsigned long m_systemError = 0;
    bool m_cancelSeen = false;
};
