// One build of the bootable image, run on the worker thread: the tree of the distribution folder, the boot
// image that ships beside the program, and the image copied in 10 MiB chunks into "xp.iso" or "win.iso".
//
// The job owns everything it takes (the writer's tree, the image file, the transfer buffer) and releases it
// before Run returns, on the thread that took it. It talks to the page only through its observer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "wizard/WizardMode.h"

struct IsoTreeHolder;

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
    Failed,     // the reason is in the log
    Cancelled,
};

class IsoBuildJob
{
public:
    static constexpr std::uint32_t kChunkSize = 10 * 1024 * 1024;

    IsoBuildJob(IsoBuildRequest request, const volatile long* cancelFlag, IsoBuildObserver& observer);

    IsoBuildResult Run();

    std::string BootImagePath() const;
    std::string ImagePath() const;
    const char* VolumeLabel() const;

private:
    bool Cancelled() const { return m_cancelFlag && *m_cancelFlag != 0; }
    bool Check(std::uint32_t result);
    bool CreateTree(IsoTreeHolder& tree);
    IsoBuildResult CopyImage(IsoTreeHolder& tree);
    void LogFileError(const std::string& path, DWORD error);

    IsoBuildRequest m_request;
    const volatile long* m_cancelFlag;
    IsoBuildObserver& m_observer;
    char m_exceptionText[1024] = {};
    unsigned long m_systemError = 0;
    bool m_cancelSeen = false;
};
