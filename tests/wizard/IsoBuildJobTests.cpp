// The build of the image on its own thread's terms: the log sequence, the chunked copy, the files it leaves
// (and does not leave) behind, and each failure's log line. Images are checked by their on-disc structures;
// independent tools read the wizard's images in the end-to-end tests.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "TestFiles.h"
#include "wizard/IsoBuildJob.h"
#include "wizard/SystemErrorText.h"

namespace {

class Recorder : public IsoBuildObserver
{
public:
    std::vector<std::string> logs;
    std::vector<int> progress;
    volatile long* cancelAtPercent = nullptr;
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
    volatile long cancel = 0;
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
    EXPECT_EQ(Sector(*image, 16, 0, 6), std::string("\x01" "CD001"));
    EXPECT_EQ(Sector(*image, 16, 40, 32), "XP" + std::string(30, ' '));
    EXPECT_EQ(Sector(*image, 17, 0, 6), std::string("\x00" "CD001", 6));
    EXPECT_EQ(Sector(*image, 17, 7, 23), "EL TORITO SPECIFICATION");
    EXPECT_NE(image->find("WINNT.SIF"), std::string::npos);
    EXPECT_EQ(image->find("left out"), std::string::npos) << "dot entries stay out of the image";
}

TEST(IsoBuildJob, Windows7BuildsWinIsoWithItsLabel)
{
    Fixture f;
    DeleteFileA((f.program / "ISO\\xpboot.img").c_str());
    volatile long cancel = 0;
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
    volatile long cancel = 0;
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
    volatile long cancel = 0;
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
        volatile long cancel = 0;
        Recorder recorder;
        EXPECT_EQ(IsoBuildJob(f.Request(), &cancel, recorder).Run(), IsoBuildResult::Failed);
        EXPECT_EQ(recorder.logs, std::vector<std::string>{"File " + (f.program / "ISO\\xpboot.img") + " is not found."});
    }
    {
        Fixture f;
        IsoBuildRequest request = f.Request();
        request.imageFolder = f.output / "missing";
        volatile long cancel = 0;
        Recorder recorder;
        EXPECT_EQ(IsoBuildJob(request, &cancel, recorder).Run(), IsoBuildResult::Failed);
        ASSERT_FALSE(recorder.logs.empty());
        EXPECT_EQ(recorder.logs.back(), "Error with file " + request.imageFolder + "\\xp.iso. " +
                                            GetSystemErrorText(ERROR_PATH_NOT_FOUND));
    }
    {
        // A name too long for Joliet stops the tree with the writer's text.
        Fixture f;
        WriteFileBytes(f.dist / std::string(104, 'n'), "x");
        volatile long cancel = 0;
        Recorder recorder;
        EXPECT_EQ(IsoBuildJob(f.Request(), &cancel, recorder).Run(), IsoBuildResult::Failed);
        ASSERT_FALSE(recorder.logs.empty());
        EXPECT_EQ(recorder.logs.back(), "File path is too long");
        EXPECT_FALSE(FileExists(f.output / "xp.iso"));
    }
}
