// The build of the image on its own thread's terms: the log sequence, the chunked copy, the files it leaves
// (and does not leave) behind, and each failure's log line. Images are checked by their on-disc structures;
// independent tools read the wizard's images in the end-to-end tests.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "wizard/IsoBuildJob.h"
#include "wizard/SystemErrorText.h"
#include "wizard/WorkerThread.h"

namespace {

class Recorder : public IsoBuildObserver
{
public:
    std::vector<std::string> logs;
    std::vector<int> progress;
    std::atomic<long>* cancelAtPercent = nullptr;
    int cancelPercent = -1;

    void Log(const std::string& text) override { logs.push_back(text); }
    void Progress(int percent) override
    {
        progress.push_back(percent);
        if (cancelAtPercent && percent >= cancelPercent)
            *cancelAtPercent = 1;
    }
};

std::string Sector(const std::string& image, std::size_t sector, std::size_t offset, std::size_t length)
{
    return image.substr(sector * 2048 + offset, length);
}

struct Fixture
{
    TempFolder program, dist, output;

    Fixture()
    {
        MakeFolder(program / "ISO");
        std::string boot(2048, '\0');
        boot[510] = '\x55';
        boot[511] = '\xAA';
        WriteFileBytes(program / "ISO\\xpboot.img", boot);
        WriteFileBytes(program / "ISO\\vistaboot.img", boot);
        MakeFolder(dist / "I386");
        WriteFileBytes(dist / "I386\\WINNT.SIF", "[Data]\r\n");
        WriteFileBytes(dist / "WIN51", "marker");
        WriteFileBytes(dist / ".git", "left out");
    }

    IsoBuildRequest Request(WizardMode mode = WizardMode::WindowsXp) const
    {
        return IsoBuildRequest{mode, dist.Path(), output.Path(), program.Path()};
    }
};

}  // namespace

TEST(IsoBuildJob, BuildsTheImageWithItsLogSequence)
{
    Fixture f;
    SetFileAttributesA((f.dist / "WIN51").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    std::atomic<long> cancel{0};
    Recorder recorder;
    IsoBuildJob job(f.Request(), &cancel, recorder);
    ASSERT_EQ(job.Run(), IsoBuildResult::Completed);

    const std::vector<std::string> expected{"Removing any possible attributes...",
                                            "Creating tree...(it takes several minutes)", "0%", "100%"};
    EXPECT_EQ(recorder.logs, expected);
    EXPECT_EQ(recorder.progress, (std::vector<int>{0, 100}));
    EXPECT_EQ(GetFileAttributesA((f.dist / "WIN51").c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), 0u);

    const auto image = ReadFileBytes(f.output / "xp.iso");
    ASSERT_TRUE(image);
    ASSERT_GT(image->size(), 18u * 2048);
    EXPECT_EQ(image->size() % 2048, 0u);
    EXPECT_EQ(Sector(*image, 16, 0, 6), std::string("\x01"
                                                    "CD001"));
    EXPECT_EQ(Sector(*image, 16, 40, 32), "XP" + std::string(30, ' '));
    EXPECT_EQ(Sector(*image, 17, 0, 6), std::string("\x00"
                                                    "CD001",
                                                    6));
    EXPECT_EQ(Sector(*image, 17, 7, 23), "EL TORITO SPECIFICATION");
    EXPECT_NE(image->find("WINNT.SIF"), std::string::npos);
    EXPECT_EQ(image->find("left out"), std::string::npos) << "dot entries stay out of the image";
}

TEST(IsoBuildJob, Windows7BuildsWinIsoWithItsLabel)
{
    Fixture f;
    DeleteFileA((f.program / "ISO\\xpboot.img").c_str());
    std::atomic<long> cancel{0};
    Recorder recorder;
    IsoBuildJob job(f.Request(WizardMode::Windows7), &cancel, recorder);
    EXPECT_EQ(job.BootImagePath(), f.program / "ISO\\vistaboot.img");
    ASSERT_EQ(job.Run(), IsoBuildResult::Completed);
    const auto image = ReadFileBytes(f.output / "win.iso");
    ASSERT_TRUE(image);
    EXPECT_EQ(Sector(*image, 16, 40, 32), "WIN" + std::string(29, ' '));
    EXPECT_FALSE(FileExists(f.output / "xp.iso"));
}

TEST(IsoBuildJob, ImageInsideTheDistributionIsNotPartOfItself)
{
    Fixture f;
    std::atomic<long> cancel{0};
    Recorder first, second;
    IsoBuildRequest request = f.Request();
    request.imageFolder = f.dist.Path();
    ASSERT_EQ(IsoBuildJob(request, &cancel, first).Run(), IsoBuildResult::Completed);
    const auto once = ReadFileBytes(f.dist / "xp.iso");
    ASSERT_TRUE(once);
    ASSERT_EQ(IsoBuildJob(request, &cancel, second).Run(), IsoBuildResult::Completed);
    const auto twice = ReadFileBytes(f.dist / "xp.iso");
    ASSERT_TRUE(twice);
    EXPECT_EQ(once->size(), twice->size());
    EXPECT_EQ(twice->find("XP.ISO"), std::string::npos);
}

TEST(IsoBuildJob, CopiesLargeImagesInTenMebibyteChunksAndCancels)
{
    Fixture f;
    // About 25 MiB of data: three chunks.
    std::string big(12 * 1024 * 1024, 'a');
    WriteFileBytes(f.dist / "big1.cab", big);
    WriteFileBytes(f.dist / "big2.cab", big);
    std::atomic<long> cancel{0};
    {
        Recorder recorder;
        ASSERT_EQ(IsoBuildJob(f.Request(), &cancel, recorder).Run(), IsoBuildResult::Completed);
        ASSERT_EQ(recorder.progress.size(), 4u);
        EXPECT_EQ(recorder.progress.back(), 100);
        EXPECT_LT(recorder.progress[1], recorder.progress[2]);
        const auto size = ReadFileBytes(f.output / "xp.iso")->size();
        EXPECT_EQ(recorder.progress[1], static_cast<int>(10485760ull * 100 / size));
    }
    {
        // Cancel between chunks: no image is left that looks like a result.
        Recorder recorder;
        recorder.cancelAtPercent = &cancel;
        recorder.cancelPercent = 1;
        EXPECT_EQ(IsoBuildJob(f.Request(), &cancel, recorder).Run(), IsoBuildResult::Cancelled);
        EXPECT_FALSE(FileExists(f.output / "xp.iso"));
        EXPECT_EQ(recorder.progress.size(), 2u);
    }
    {
        // Cancelled before the tree: the writer stops at once.
        cancel = 1;
        Recorder recorder;
        EXPECT_EQ(IsoBuildJob(f.Request(), &cancel, recorder).Run(), IsoBuildResult::Cancelled);
        EXPECT_FALSE(FileExists(f.output / "xp.iso"));
    }
}

TEST(IsoBuildJob, FailuresLeaveTheirLineInTheLog)
{
    {
        Fixture f;
        DeleteFileA((f.program / "ISO\\xpboot.img").c_str());
        std::atomic<long> cancel{0};
        Recorder recorder;
        EXPECT_EQ(IsoBuildJob(f.Request(), &cancel, recorder).Run(), IsoBuildResult::Failed);
        EXPECT_EQ(recorder.logs,
                  std::vector<std::string>{"File " + (f.program / "ISO\\xpboot.img") + " is not found."});
    }
    {
        Fixture f;
        IsoBuildRequest request = f.Request();
        request.imageFolder = f.output / "missing";
        std::atomic<long> cancel{0};
        Recorder recorder;
        EXPECT_EQ(IsoBuildJob(request, &cancel, recorder).Run(), IsoBuildResult::Failed);
        ASSERT_FALSE(recorder.logs.empty());
        EXPECT_EQ(recorder.logs.back(),
                  "Error with file " + request.imageFolder + "\\xp.iso. " + GetSystemErrorText(ERROR_PATH_NOT_FOUND));
    }
    {
        // A name too long for Joliet stops the tree with the writer's text.
        Fixture f;
        WriteFileBytes(f.dist / std::string(104, 'n'), "x");
        std::atomic<long> cancel{0};
        Recorder recorder;
        EXPECT_EQ(IsoBuildJob(f.Request(), &cancel, recorder).Run(), IsoBuildResult::Failed);
        ASSERT_FALSE(recorder.logs.empty());
        EXPECT_EQ(recorder.logs.back().rfind("File path is too long. ", 0), 0u) << recorder.logs.back();
        EXPECT_NE(recorder.logs.back().find(std::string(104, 'n')), std::string::npos) << "the name at fault";
        EXPECT_FALSE(FileExists(f.output / "xp.iso"));
    }
}

namespace {

// The system's text for an error without its line end, as it appears inside a log line.
std::string SystemTextStart(DWORD error)
{
    std::string text = GetSystemErrorText(error);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '.'))
        text.pop_back();
    return text;
}

}  // namespace

TEST(IsoBuildJob, AFileHeldOpenByAnotherProgramIsNamedWithTheSystemsReason)
{
    Fixture f;
    const std::string locked = f.dist / "I386\\LOCKED.CAB";
    WriteFileBytes(locked, std::string(5000, 'l'));
    // Another program holds the file open and lets no one read it.
    HANDLE holder = CreateFileA(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    std::atomic<long> cancel{0};
    Recorder recorder;
    const IsoBuildResult result = IsoBuildJob(f.Request(), &cancel, recorder).Run();
    CloseHandle(holder);

    ASSERT_EQ(result, IsoBuildResult::Failed);
    ASSERT_FALSE(recorder.logs.empty());
    const std::string& line = recorder.logs.back();
    // The fixed text of the writer's error number comes first, then the file and the system's reason.
    const std::string fixed = "System call failed, check SystemError pointer to system error value. ";
    EXPECT_EQ(line.rfind(fixed, 0), 0u) << line;
    const auto path = line.find("LOCKED.CAB");
    const auto reason = line.find(SystemTextStart(ERROR_SHARING_VIOLATION));
    EXPECT_NE(path, std::string::npos) << line;
    EXPECT_NE(reason, std::string::npos) << line;
    EXPECT_LT(path, reason) << line;
    EXPECT_FALSE(FileExists(f.output / "xp.iso"));
}

TEST(IsoBuildJob, AFolderThatCannotBeListedFailsTheBuild)
{
    struct Case
    {
        const char* name;
        std::string (*folder)(const TempFolder& dist);
        DWORD error;
    } cases[] = {
        // The stick holding the copy was pulled out after the page checked the folder.
        {"missing folder", [](const TempFolder& dist) { return dist / "gone"; }, ERROR_PATH_NOT_FOUND},
        {"a file", [](const TempFolder& dist) { return dist / "WIN51"; }, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Fixture f;
        IsoBuildRequest request = f.Request();
        request.distributionFolder = c.folder(f.dist);
        std::atomic<long> cancel{0};
        Recorder recorder;
        EXPECT_EQ(IsoBuildJob(request, &cancel, recorder).Run(), IsoBuildResult::Failed);
        ASSERT_FALSE(recorder.logs.empty());
        const std::string prefix = "Error with file " + request.distributionFolder + ". ";
        EXPECT_EQ(recorder.logs.back().rfind(prefix, 0), 0u) << recorder.logs.back();
        EXPECT_GT(recorder.logs.back().size(), prefix.size()) << "the system's reason follows";
        if (c.error)
        {
            EXPECT_EQ(recorder.logs.back(), prefix + GetSystemErrorText(c.error));
        }
        EXPECT_EQ(std::count(recorder.logs.begin(), recorder.logs.end(), "0%"), 0) << "no image was built";
        EXPECT_FALSE(FileExists(f.output / "xp.iso"));
    }
}

TEST(IsoBuildJob, DriveRootsAndTrailingBackslashesJoinWithOneBackslash)
{
    Fixture f;
    IsoBuildRequest request = f.Request();
    request.imageFolder = f.output.Path() + "\\";
    request.programFolder = f.program.Path() + "\\";
    std::atomic<long> cancel{0};
    Recorder recorder;
    IsoBuildJob job(request, &cancel, recorder);
    EXPECT_EQ(job.ImagePath(), f.output / "xp.iso");
    EXPECT_EQ(job.BootImagePath(), f.program / "ISO\\xpboot.img");
    request.imageFolder = "E:\\";
    EXPECT_EQ(IsoBuildJob(request, &cancel, recorder).ImagePath(), "E:\\xp.iso");

    request = f.Request();
    request.distributionFolder = f.dist.Path() + "\\";
    ASSERT_EQ(IsoBuildJob(request, &cancel, recorder).Run(), IsoBuildResult::Completed);
    const auto image = ReadFileBytes(f.output / "xp.iso");
    ASSERT_TRUE(image);
    EXPECT_NE(image->find("WINNT.SIF"), std::string::npos);
}

TEST(IsoBuildJob, CancelDuringTheAttributeWalkStopsTheWalk)
{
    Fixture f;
    // A tree whose walk takes a while: every file is read-only, as copied from a disc.
    const int kFolders = 20, kFiles = 100;
    for (int d = 0; d < kFolders; ++d)
    {
        const std::string folder = f.dist / ("F" + std::to_string(d));
        MakeFolder(folder);
        for (int i = 0; i < kFiles; ++i)
        {
            const std::string file = folder + "\\" + std::to_string(i) + ".TXT";
            WriteFileBytes(file, "x");
            SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
        }
    }
    std::atomic<long> cancel{0};
    struct CancelOnWalk : Recorder
    {
        std::atomic<long>* flag = nullptr;
        void Log(const std::string& text) override
        {
            Recorder::Log(text);
            if (text == "Removing any possible attributes...")
                *flag = 1;
        }
    } recorder;
    recorder.flag = &cancel;
    EXPECT_EQ(IsoBuildJob(f.Request(), &cancel, recorder).Run(), IsoBuildResult::Cancelled);
    EXPECT_EQ(recorder.logs.back(), "Removing any possible attributes...") << "the tree was never started";

    int stillReadOnly = 0;
    for (int d = 0; d < kFolders; ++d)
        for (int i = 0; i < kFiles; ++i)
        {
            const DWORD attributes =
                GetFileAttributesA((f.dist / ("F" + std::to_string(d) + "\\" + std::to_string(i) + ".TXT")).c_str());
            stillReadOnly += (attributes & FILE_ATTRIBUTE_READONLY) != 0;
        }
    EXPECT_GT(stillReadOnly, kFolders * kFiles - 10) << "the walk went on after the cancel";
    EXPECT_FALSE(FileExists(f.output / "xp.iso"));
}

TEST(IsoBuildJob, ThePageRemovesTheImageOfAWorkerEndedByForce)
{
    Fixture f;
    std::string big(12 * 1024 * 1024, 'b');
    WriteFileBytes(f.dist / "big.cab", big);

    // A worker that stops answering in the middle of the copy: its own clean-up never runs.
    struct Stuck
    {
        Fixture* fixture;
        IsoImageFile image;
        std::atomic<long> cancel{0};
        HANDLE reachedCopy = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        struct Hang : Recorder
        {
            Stuck* owner = nullptr;
            void Progress(int percent) override
            {
                Recorder::Progress(percent);
                if (percent > 0)
                {
                    SetEvent(owner->reachedCopy);
                    WaitForSingleObject(owner->never, INFINITE);
                }
            }
        } recorder;
        ~Stuck()
        {
            CloseHandle(reachedCopy);
            CloseHandle(never);
        }
        static DWORD WINAPI Run(LPVOID self)
        {
            Stuck& s = *static_cast<Stuck*>(self);
            IsoBuildJob(s.fixture->Request(), &s.cancel, s.recorder, &s.image).Run();
            return 0;
        }
    } stuck;
    stuck.fixture = &f;
    stuck.recorder.owner = &stuck;

    CWorkerThread worker;
    ASSERT_TRUE(worker.Start(Stuck::Run, &stuck, 1024 * 1024));
    ASSERT_EQ(WaitForSingleObject(stuck.reachedCopy, 60000), WAIT_OBJECT_0);
    EXPECT_TRUE(FileExists(f.output / "xp.iso")) << "the copy is under way";
    stuck.cancel = 1;
    EXPECT_EQ(worker.Stop(300), CWorkerThread::StopResult::Terminated);
    EXPECT_FALSE(worker.IsHeld());

    stuck.image.Release();
    EXPECT_FALSE(FileExists(f.output / "xp.iso")) << "the unfinished image is removed";
    stuck.image.Release();  // a second release does nothing
}

TEST(IsoImageFile, KeepsOnlyACompleteImage)
{
    TempFolder folder;
    {
        IsoImageFile image;
        ASSERT_TRUE(image.Create(folder / "kept.iso"));
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(image.Handle(), "data", 4, &written, nullptr));
        image.MarkComplete();
    }
    EXPECT_EQ(ReadFileBytes(folder / "kept.iso"), std::optional<std::string>("data"));
    {
        IsoImageFile image;
        ASSERT_TRUE(image.Create(folder / "dropped.iso"));
    }
    EXPECT_FALSE(FileExists(folder / "dropped.iso"));

    // A file that could not be made is never deleted by the release: it was not ours.
    WriteFileBytes(folder / "other.iso", "someone else's");
    IsoImageFile image;
    EXPECT_FALSE(image.Create(folder / "missing\\x.iso"));
    image.Release();
    EXPECT_TRUE(FileExists(folder / "other.iso"));
}
