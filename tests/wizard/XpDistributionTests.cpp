// The Windows XP road on real folders: "\I386\WINNT.SIF", the "$OEM$" tree with its scripts and copied pictures,
// the kit copy, and each way the road stops, compared byte for byte with the expected files kept in golden/.
#include "MessageRecorder.h"
#include "RegistrySeed.h"
#include "TestFiles.h"

#include "wizard/DisplaySettings.h"
#include "wizard/SystemErrorText.h"
#include "wizard/UnattendSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <utility>

namespace {

// Sets an environment variable of this process for one test.
class ScopedEnvironmentVariable
{
public:
    ScopedEnvironmentVariable(std::string name, const std::string& value) : m_name(std::move(name))
    {
        char old[1024] = {};
        const DWORD length = GetEnvironmentVariableA(m_name.c_str(), old, sizeof(old));
        m_existed = length > 0 && length < sizeof(old);
        m_old = old;
        SetEnvironmentVariableA(m_name.c_str(), value.c_str());
    }
    ~ScopedEnvironmentVariable() { SetEnvironmentVariableA(m_name.c_str(), m_existed ? m_old.c_str() : nullptr); }
    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

private:
    std::string m_name;
    std::string m_old;
    bool m_existed = false;
};

// A hidden window standing for the main page, the owner every message must have.
class PageWindow
{
public:
    PageWindow()
        : m_window(CreateWindowExA(0, "STATIC", "Osmira test page", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr))
    {}
    ~PageWindow()
    {
        if (m_window)
            DestroyWindow(m_window);
    }
    PageWindow(const PageWindow&) = delete;
    PageWindow& operator=(const PageWindow&) = delete;
    HWND Get() const { return m_window; }

private:
    HWND m_window;
};

std::string EnvironmentValue(const char* name)
{
    char value[1024] = {};
    GetEnvironmentVariableA(name, value, sizeof(value));
    return value;
}

// The display-mode line of "desktop.cmd" holds the build machine's mode: "/1280 /1024 /32".
std::string CurrentModeArguments()
{
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    CDisplaySettings().GetDisplayMode(width, height, &bitsPerPixel);
    return "/" + std::to_string(width) + " /" + std::to_string(height) + " /" + std::to_string(bitsPerPixel);
}

std::string BuiltResolutionTool()
{
    std::string path = OSM_RES_EXE;
    std::replace(path.begin(), path.end(), '/', '\\');
    const std::optional<std::string> bytes = ReadFileBytes(path);
    EXPECT_TRUE(bytes.has_value()) << path;
    return bytes.value_or(std::string());
}

// One entry of the written distribution: a folder (trailing "\") or a file with its expected bytes.
struct ExpectedEntry
{
    std::string path;
    std::string bytes;
};

// The steps of the road in their order, each with the entries it makes.
enum Step
{
    kFolders,
    kKeyboard,
    kMouse,
    kDesktop,
    kCmdLines,
    kCorvane,
    kRestart,
    kRunOnceExCu,
    kRunOnceEx,
    kFirst,
    kResolutionTool,
    kAnswerFile,
    kStepCount
};

struct StepEntry
{
    Step step;
    ExpectedEntry entry;
};

class XpDistributionTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(m_page.Get(), nullptr);
        m_distribution = m_temp / "dist";
        MakeFolder(m_distribution);
        MakeFolder(m_distribution + "\\I386");

        // The build machine's pictures, with a dot in each folder name.
        m_pictures = m_temp / "pictures";
        MakeFolder(m_pictures);
        MakeFolder(m_pictures + "\\cursors.d");
        MakeFolder(m_pictures + "\\wall.paper");
        WriteFileBytes(m_pictures + "\\cursors.d\\arrow.cur", ReadGolden("arrow.cur"));
        WriteFileBytes(m_pictures + "\\cursors.d\\busy.ani", ReadGolden("busy.ani"));
        WriteFileBytes(m_pictures + "\\cursors.d\\hand", ReadGolden("hand.cur"));
        WriteFileBytes(m_pictures + "\\wall.paper\\sunset.bmp", ReadGolden("sunset.bmp"));
        m_picturesVariable = std::make_unique<ScopedEnvironmentVariable>("OSM_TEST_PICTURES", m_pictures);

        SeedMachine();
        m_settings = std::make_unique<CUnattendSettings>();
        ASSERT_EQ(m_settings->TimeZoneIndex(), "004");
        m_settings->TakePageValues("Ada Lovelace", "Analytical \"Engines\" Ltd", "OSMIRA-XP",
                                   "ABCDE-FGHIJ-KLMNO-PQRST-UVWXY");
    }

    void SeedMachine()
    {
        m_toggle.Clear();
        m_toggle.SetString("Hotkey", "1");
        m_toggle.SetString("Language Hotkey", "2");
        m_toggle.SetString("Layout Hotkey", "");  // empty: no line

        m_preload.Clear();
        m_preload.SetString("1", "00000409");
        m_preload.SetString("2", "00000419");  // "3" missing: no line

        m_keyboard.Clear();
        m_keyboard.SetString("InitialKeyboardIndicators", "2");
        m_keyboard.SetString("KeyboardDelay", "1");
        m_keyboard.SetString("KeyboardSpeed", "");  // empty, still carried

        m_mouse.Clear();
        m_mouse.SetDword("ActiveWindowTracking", 1);
        m_mouse.SetString("DoubleClickHeight", "4");
        m_mouse.SetString("DoubleClickSpeed", "500");
        m_mouse.SetString("DoubleClickWidth", "4");
        m_mouse.SetString("MouseSensitivity", "10");
        m_mouse.SetString("MouseSpeed", "1");
        m_mouse.SetString("MouseThreshold1", "6");
        m_mouse.SetString("MouseThreshold2", "10");
        m_mouse.SetString("SnapToDefaultButton", "0");
        m_mouse.SetString("MouseHoverTime", "400");  // not carried; "SwapMouseButtons" missing

        m_cursors.Clear();
        m_cursors.SetDword("Scheme Source", 2);  // the script always writes 0
        m_cursors.SetString("AppStarting", "%OSM_TEST_PICTURES%\\cursors.d\\busy.ani", REG_EXPAND_SZ);
        m_cursors.SetString("Arrow", m_pictures + "\\cursors.d\\arrow.cur");
        m_cursors.SetString("Crosshair", "");                                        // empty: no line, no copy
        m_cursors.SetString("Hand", m_pictures + "\\cursors.d\\hand");               // no extension in the name
        m_cursors.SetString("IBeam", m_pictures + "\\cursors.d\\gone.cur");          // missing file: line, no copy
        m_cursors.SetString("SizeAll", "%OSM_TEST_LONG%\\long.cur", REG_EXPAND_SZ);  // expands too long: skipped
        m_cursors.SetString("Wait", "%OSM_TEST_PICTURES%\\cursors.d\\busy.ani", REG_EXPAND_SZ);

        m_wallpaper.SetString("%OSM_TEST_PICTURES%\\wall.paper\\sunset.bmp");
        m_wallpaperStyle.SetString("2");

        m_zone.SetString("Std", CurrentStandardName());
        m_zone.SetDword("Index", 4);
    }

    BOOL Build(const char* kit = "", BOOL manualPartitioning = TRUE, const char* answerFileSource = nullptr)
    {
        return m_settings->BuildXpDistribution(m_page.Get(), m_distribution.c_str(), kit, answerFileSource,
                                               manualPartitioning);
    }

    std::string Dist(const std::string& relative) const { return m_distribution + "\\" + relative; }

    // Every entry of a full run, with the step that makes it.
    std::vector<StepEntry> ExpectedRun(bool kitCopied, const char* answerFile = "WINNT.SIF") const
    {
        const std::vector<std::pair<std::string, std::string>> machine = {
            {"LANGUAGE", m_settings->Language()},
            {"SYSTEMROOT", EnvironmentValue("SYSTEMROOT")},
            {"MODE", CurrentModeArguments()}};
        return {
            {kFolders, {"$OEM$\\", ""}},
            {kFolders, {"$OEM$\\$$\\", ""}},
            {kFolders, {"$OEM$\\$$\\Cursors\\", ""}},
            {kKeyboard, {"$OEM$\\keydoard.cmd", ReadGolden("keydoard.cmd")}},
            {kMouse, {"$OEM$\\mouse.cmd", ReadGolden("mouse.cmd")}},
            {kMouse, {"$OEM$\\$$\\Cursors\\c1.ani", ReadGolden("busy.ani")}},
            {kMouse, {"$OEM$\\$$\\Cursors\\c2.cur", ReadGolden("arrow.cur")}},
            {kMouse, {"$OEM$\\$$\\Cursors\\c4", ReadGolden("hand.cur")}},
            {kMouse, {"$OEM$\\$$\\Cursors\\c15.ani", ReadGolden("busy.ani")}},
            {kDesktop, {"$OEM$\\desktop.cmd", FillPlaceholders(ReadGolden("desktop.cmd"), machine)}},
            {kDesktop, {"$OEM$\\$$\\Wall1.bmp", ReadGolden("sunset.bmp")}},
            {kCmdLines, {"$OEM$\\cmdlines.txt", ReadGolden("cmdlines.txt")}},
            {kCorvane, {"$OEM$\\Corvane.cmd", ReadGolden("Corvane.cmd")}},
            {kRestart, {"$OEM$\\Restart.cmd", ReadGolden("Restart.cmd")}},
            {kRunOnceExCu, {"$OEM$\\RunOnceExCU.cmd", ReadGolden("RunOnceExCU.cmd")}},
            {kRunOnceEx, {"$OEM$\\RunOnceEx.cmd", ReadGolden("RunOnceEx.cmd")}},
            {kFirst, {"$OEM$\\First.cmd", ReadGolden(kitCopied ? "First-Kit.cmd" : "First.cmd")}},
            {kResolutionTool, {"$OEM$\\res.exe", BuiltResolutionTool()}},
            {kAnswerFile, {"I386\\", ""}},
            {kAnswerFile, {"I386\\WINNT.SIF", FillPlaceholders(ReadGolden(answerFile), machine)}},
        };
    }

    // The distribution holds exactly these entries (besides the ones under ignoredPrefix), each with its bytes.
    void ExpectDistribution(std::vector<ExpectedEntry> expected, const std::string& ignoredPrefix = "\x01") const
    {
        std::vector<std::string> actual = ListTree(m_distribution);
        actual.erase(std::remove_if(actual.begin(), actual.end(),
                                    [&](const std::string& path) { return path.rfind(ignoredPrefix, 0) == 0; }),
                     actual.end());
        std::vector<std::string> expectedPaths;
        for (const ExpectedEntry& entry : expected)
            expectedPaths.push_back(entry.path);
        std::sort(expectedPaths.begin(), expectedPaths.end());
        EXPECT_EQ(actual, expectedPaths);
        for (const ExpectedEntry& entry : expected)
        {
            if (entry.path.back() == '\\')
                continue;
            const std::optional<std::string> bytes = ReadFileBytes(Dist(entry.path));
            ASSERT_TRUE(bytes.has_value()) << entry.path;
            EXPECT_EQ(*bytes, entry.bytes) << entry.path;
        }
    }

    static std::vector<ExpectedEntry> Entries(const std::vector<StepEntry>& run, Step before = kStepCount)
    {
        std::vector<ExpectedEntry> entries;
        for (const StepEntry& e : run)
        {
            if (e.step < before || e.entry.path == "I386\\")
                entries.push_back(e.entry);
        }
        return entries;
    }

    void ExpectNoMessages() const
    {
        for (const RecordedMessage& message : m_messages.Messages())
            ADD_FAILURE() << "unexpected message \"" << message.caption << "\": " << message.text;
    }

    void ExpectOneMessage(const std::string& text, const char* caption, UINT type) const
    {
        ASSERT_EQ(m_messages.Messages().size(), 1u);
        const RecordedMessage& message = m_messages.Messages().front();
        EXPECT_EQ(message.text, text);
        EXPECT_EQ(message.caption, caption);
        EXPECT_EQ(message.type, type);
        EXPECT_EQ(message.owner, m_page.Get()) << "the page owns every message of the road";
    }

    TempFolder m_temp;
    PageWindow m_page;
    MessageRecorder m_messages;
    std::string m_distribution;
    std::string m_pictures;
    std::unique_ptr<ScopedEnvironmentVariable> m_picturesVariable;
    ScopedEnvironmentVariable m_longVariable{"OSM_TEST_LONG", std::string(300, 'L')};
    ScopedRegistryKey m_toggle{HKEY_CURRENT_USER, "Keyboard Layout\\Toggle"};
    ScopedRegistryKey m_preload{HKEY_CURRENT_USER, "Keyboard Layout\\Preload"};
    ScopedRegistryKey m_keyboard{HKEY_CURRENT_USER, "Control Panel\\Keyboard"};
    ScopedRegistryKey m_mouse{HKEY_CURRENT_USER, "Control Panel\\Mouse"};
    ScopedRegistryKey m_cursors{HKEY_CURRENT_USER, "Control Panel\\Cursors"};
    ScopedRegistryValue m_wallpaper{HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper"};
    ScopedRegistryValue m_wallpaperStyle{HKEY_CURRENT_USER, "Control Panel\\Desktop", "WallpaperStyle"};
    ScopedRegistryKey m_zone{HKEY_LOCAL_MACHINE, std::string(kTimeZonesKey) + "\\" + kSeededZone};
    std::unique_ptr<CUnattendSettings> m_settings;
};

// --- Whole runs.

TEST_F(XpDistributionTest, WritesTheAnswerFileAndTheWholeOemTree)
{
    EXPECT_EQ(Build(), TRUE);
    ExpectNoMessages();
    ExpectDistribution(Entries(ExpectedRun(false)));
    EXPECT_FALSE(m_settings->IsKitCopied());
    EXPECT_EQ(m_settings->OwnerWindow(), m_page.Get());
}

class AutoPartitionTest : public XpDistributionTest, public testing::WithParamInterface<std::pair<BOOL, const char*>>
{};

TEST_P(AutoPartitionTest, AnswerFileFollowsTheManualPartitioningFlag)
{
    EXPECT_EQ(Build("", GetParam().first), TRUE);
    ExpectNoMessages();
    ExpectDistribution(Entries(ExpectedRun(false, GetParam().second)));
}

INSTANTIATE_TEST_SUITE_P(Flag, AutoPartitionTest,
                         testing::Values(std::make_pair(TRUE, "WINNT.SIF"),
                                         std::make_pair(FALSE, "WINNT-AutoPartition.SIF")));

TEST_F(XpDistributionTest, CopiesTheKitAndCallsItFromFirstCmd)
{
    const std::string kit = m_temp / "Corvane kit";
    MakeFolder(kit);
    MakeFolder(kit + "\\packages");
    MakeFolder(kit + "\\packages\\deeper");
    MakeFolder(kit + "\\empty");
    WriteFileBytes(kit + "\\corvane_player.exe", "MZ player\r\n\x01\x02");
    WriteFileBytes(kit + "\\.settings", "dot file at the top");
    WriteFileBytes(kit + "\\packages\\.keep", "");
    WriteFileBytes(kit + "\\packages\\office.pkg", std::string(70000, 'p'));
    WriteFileBytes(kit + "\\packages\\deeper\\notes.txt", "line one\nline two\n");

    EXPECT_EQ(Build(kit.c_str()), TRUE);
    ExpectNoMessages();
    EXPECT_TRUE(m_settings->IsKitCopied());
    ExpectDistribution(Entries(ExpectedRun(true)), "Software\\");

    const std::vector<std::string> kitTree = ListTree(kit);
    EXPECT_EQ(ListTree(Dist("Software")), kitTree);
    for (const std::string& entry : kitTree)
    {
        if (entry.back() != '\\')
        {
            EXPECT_EQ(ReadFileBytes(Dist("Software\\" + entry)), ReadFileBytes(kit + "\\" + entry)) << entry;
        }
    }
}

TEST_F(XpDistributionTest, RunWithoutKitAfterOneWithKitNoLongerCallsIt)
{
    const std::string kit = m_temp / "kit";
    MakeFolder(kit);
    WriteFileBytes(kit + "\\corvane_player.exe", "MZ");
    ASSERT_EQ(Build(kit.c_str()), TRUE);
    ASSERT_EQ(ReadFileBytes(Dist("$OEM$\\First.cmd")), ReadGolden("First-Kit.cmd"));
    // A kit of one file still lands inside the "Software" folder, where the script calls the player.
    ASSERT_EQ(ReadFileBytes(Dist("Software\\corvane_player.exe")), "MZ");

    EXPECT_EQ(Build(""), TRUE);
    ExpectNoMessages();
    EXPECT_FALSE(m_settings->IsKitCopied());
    ExpectDistribution(Entries(ExpectedRun(false)), "Software\\");
}

TEST_F(XpDistributionTest, WithoutKitNoSoftwareFolderIsMadeAndCorvaneCmdIsStillWritten)
{
    EXPECT_EQ(Build(nullptr), TRUE);
    ExpectNoMessages();
    EXPECT_FALSE(FolderExists(Dist("Software")));
    EXPECT_EQ(ReadFileBytes(Dist("$OEM$\\Corvane.cmd")), ReadGolden("Corvane.cmd"));
}

TEST_F(XpDistributionTest, AnswerFileSourceIsCopiedInsteadOfWritten)
{
    const std::string source = m_temp / "own answers.sif";
    const std::string answers = "[Data]\nAutoPartition=1\n; kept as is, %CDROM% included\n";
    WriteFileBytes(source, answers);

    EXPECT_EQ(Build("", TRUE, source.c_str()), TRUE);
    ExpectNoMessages();
    EXPECT_EQ(ReadFileBytes(Dist("I386\\WINNT.SIF")), answers);
    EXPECT_EQ(ReadFileBytes(Dist("$OEM$\\First.cmd")), ReadGolden("First.cmd"));
}

TEST_F(XpDistributionTest, CopyFileReplacesTheTargetAndFailsQuietly)
{
    const std::string source = m_temp / "source.sif";
    const std::string target = m_temp / "target.sif";
    WriteFileBytes(source, "new");
    WriteFileBytes(target, "the old and longer contents");

    EXPECT_EQ(m_settings->CopyFile(source.c_str(), target.c_str(), 0), TRUE);
    EXPECT_EQ(ReadFileBytes(target), "new");

    EXPECT_EQ(m_settings->CopyFile((m_temp / "missing.sif").c_str(), target.c_str(), 0), FALSE);
    EXPECT_EQ(ReadFileBytes(target), "new");
    ExpectNoMessages();
}

TEST_F(XpDistributionTest, RerunOverAnExistingTreeReplacesEveryFile)
{
    ASSERT_EQ(Build(), TRUE);
    // Every file of the first run becomes longer junk, so a file that is not replaced whole shows.
    for (const StepEntry& e : ExpectedRun(false))
    {
        if (e.entry.path.back() != '\\')
            WriteFileBytes(Dist(e.entry.path), std::string(e.entry.bytes.size() * 2 + 64, '#'));
    }
    m_settings->TakePageValues("Ada Lovelace", "Analytical \"Engines\" Ltd", "OSMIRA-XP",
                               "ABCDE-FGHIJ-KLMNO-PQRST-UVWXY");

    EXPECT_EQ(Build(), TRUE);
    ExpectNoMessages();
    ExpectDistribution(Entries(ExpectedRun(false)));
}

// --- Scripts on machines that lack a key.

struct MissingKeyCase
{
    const char* label;
    bool removeMouse;
    bool removeCursors;
    const char* golden;
};

class MouseScriptTest : public XpDistributionTest, public testing::WithParamInterface<MissingKeyCase>
{};

TEST_P(MouseScriptTest, MachineWithoutTheKeyGetsNoLinesForIt)
{
    if (GetParam().removeMouse)
        m_mouse.Remove();
    if (GetParam().removeCursors)
        m_cursors.Remove();
    const std::string cursors = m_temp / "Cursors";
    MakeFolder(cursors);

    EXPECT_EQ(m_settings->WriteMouseCmd((m_temp / "mouse.cmd").c_str(), cursors.c_str()), TRUE);
    ExpectNoMessages();
    EXPECT_EQ(ReadFileBytes(m_temp / "mouse.cmd"), ReadGolden(GetParam().golden));
    if (GetParam().removeCursors)
    {
        EXPECT_TRUE(ListTree(cursors).empty());
    }
    else
    {
        EXPECT_EQ(ListTree(cursors), (std::vector<std::string>{"c1.ani", "c15.ani", "c2.cur", "c4"}));
    }
}

INSTANTIATE_TEST_SUITE_P(Machine, MouseScriptTest,
                         testing::Values(MissingKeyCase{"noCursorsKey", false, true, "mouse-NoCursorsKey.cmd"},
                                         MissingKeyCase{"noMouseKey", true, false, "mouse-NoMouseKey.cmd"}),
                         [](const testing::TestParamInfo<MissingKeyCase>& info) {
                             return std::string(info.param.label);
                         });

TEST_F(XpDistributionTest, EmptyWallpaperStillGivesItsLine)
{
    m_wallpaper.SetString("");
    const std::string windows = m_temp / "windows";
    MakeFolder(windows);

    EXPECT_EQ(m_settings->WriteDesktopCmd((m_temp / "desktop.cmd").c_str(), windows.c_str()), TRUE);
    ExpectNoMessages();
    EXPECT_EQ(ReadFileBytes(m_temp / "desktop.cmd"),
              "REG ADD \"HKCU\\Control Panel\\Desktop\" /V \"Wallpaper\" /D \"" + EnvironmentValue("SYSTEMROOT") +
                  "\\Wall1\" /f\r\n"
                  "REG ADD \"HKCU\\Control Panel\\Desktop\" /V \"WallpaperStyle\" /D \"2\" /f\r\n"
                  "\"%CDROM%\\$OEM$\\res.exe\" " +
                  CurrentModeArguments());
    EXPECT_TRUE(ListTree(windows).empty());
}

TEST_F(XpDistributionTest, ResolutionToolIsTheBuiltUtilityByteForByte)
{
    const std::string folder = m_temp / "oem";
    MakeFolder(folder);
    WriteFileBytes(folder + "\\res.exe", "an older, different utility");

    EXPECT_EQ(m_settings->WriteResolutionTool(folder.c_str()), TRUE);
    ExpectNoMessages();
    const std::optional<std::string> written = ReadFileBytes(folder + "\\res.exe");
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(written->substr(0, 2), "MZ");
    EXPECT_EQ(*written, BuiltResolutionTool());
}

// Windows XP's set-up runs "$OEM$\res.exe" on the newly installed machine, nearly always a 32-bit one: the written
// file must be a 32-bit console program whose header XP's loader accepts (it refuses versions above 5.1).
TEST_F(XpDistributionTest, ResolutionToolInTheOemTreeIsA32BitConsoleProgramForWindowsXp)
{
    ASSERT_EQ(Build(), TRUE);
    ExpectNoMessages();
    const std::optional<std::string> image = ReadFileBytes(Dist("$OEM$\\res.exe"));
    ASSERT_TRUE(image.has_value());

    IMAGE_DOS_HEADER dos = {};
    ASSERT_GE(image->size(), sizeof(dos));
    std::memcpy(&dos, image->data(), sizeof(dos));
    ASSERT_EQ(dos.e_magic, IMAGE_DOS_SIGNATURE);
    IMAGE_NT_HEADERS32 nt = {};
    ASSERT_GT(dos.e_lfanew, 0);
    ASSERT_LE(static_cast<size_t>(dos.e_lfanew) + sizeof(nt), image->size());
    std::memcpy(&nt, image->data() + dos.e_lfanew, sizeof(nt));
    ASSERT_EQ(nt.Signature, static_cast<DWORD>(IMAGE_NT_SIGNATURE));

    EXPECT_EQ(nt.FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
    EXPECT_EQ(nt.OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR32_MAGIC);
    EXPECT_EQ(nt.OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_CUI);
    const std::pair<int, int> xp(5, 1);
    const struct
    {
        const char* field;
        std::pair<int, int> version;
    } versions[] = {
        {"OS version", {nt.OptionalHeader.MajorOperatingSystemVersion, nt.OptionalHeader.MinorOperatingSystemVersion}},
        {"subsystem version", {nt.OptionalHeader.MajorSubsystemVersion, nt.OptionalHeader.MinorSubsystemVersion}},
    };
    for (const auto& v : versions)
        EXPECT_LE(v.version, xp) << v.field << " " << v.version.first << "." << v.version.second;
}

// --- Where the road stops.

TEST_F(XpDistributionTest, MissingI386StopsAtTheAnswerFileWithThePathNotFoundText)
{
    ASSERT_TRUE(RemoveDirectoryA(Dist("I386").c_str()));

    EXPECT_EQ(Build(), FALSE);
    const std::string answerFile = Dist("I386\\WINNT.SIF");
    ExpectOneMessage("Error with file " + answerFile + ". " + GetSystemErrorText(ERROR_PATH_NOT_FOUND),
                     "Taleno Corvane", MB_ICONERROR);
    std::vector<ExpectedEntry> expected = Entries(ExpectedRun(false), kAnswerFile);
    expected.erase(
        std::remove_if(expected.begin(), expected.end(), [](const ExpectedEntry& e) { return e.path == "I386\\"; }),
        expected.end());
    ExpectDistribution(expected);
}

class FileInTheWayTest : public XpDistributionTest, public testing::WithParamInterface<const char*>
{};

// A file stands where a folder of the tree must be made: the folder message, and nothing written.
TEST_P(FileInTheWayTest, FolderThatCannotBeMadeStopsTheRoadBeforeAnyFile)
{
    const std::string blocked = GetParam();
    std::vector<ExpectedEntry> before = {{"I386\\", ""}};
    for (std::string::size_type at = blocked.find('\\'); at != std::string::npos; at = blocked.find('\\', at + 1))
    {
        MakeFolder(Dist(blocked.substr(0, at)));
        before.push_back({blocked.substr(0, at) + "\\", ""});
    }
    WriteFileBytes(Dist(blocked), "a file, not a folder");
    before.push_back({blocked, "a file, not a folder"});

    EXPECT_EQ(Build(), FALSE);
    ExpectOneMessage("Can't create: " + Dist(blocked), "Failed", MB_ICONINFORMATION);
    ExpectDistribution(before);
}

INSTANTIATE_TEST_SUITE_P(Folder, FileInTheWayTest, testing::Values("$OEM$", "$OEM$\\$$", "$OEM$\\$$\\Cursors"));

struct FolderInTheWayCase
{
    Step step;
    const char* path;
    const char* pattern;  // the message before the system's text, %s the path
    bool systemText;
    const char* caption;
    UINT type;
};

class FolderInTheWayTest : public XpDistributionTest, public testing::WithParamInterface<FolderInTheWayCase>
{};

// A folder stands where a file must be written: that writer's message, the files before it written, none after.
TEST_P(FolderInTheWayTest, FileThatCannotBeCreatedStopsTheRoadThere)
{
    const FolderInTheWayCase& c = GetParam();
    MakeFolder(Dist("$OEM$"));
    MakeFolder(Dist(c.path));

    EXPECT_EQ(Build(), FALSE);
    std::string text = c.pattern;
    text.replace(text.find("%s"), 2, Dist(c.path));
    if (c.systemText)
        text += GetSystemErrorText(ERROR_ACCESS_DENIED);
    ExpectOneMessage(text, c.caption, c.type);

    std::vector<ExpectedEntry> expected = Entries(ExpectedRun(false), c.step);
    expected.push_back({std::string(c.path) + "\\", ""});
    ExpectDistribution(expected);
}

INSTANTIATE_TEST_SUITE_P(
    File, FolderInTheWayTest,
    testing::Values(FolderInTheWayCase{kKeyboard, "$OEM$\\keydoard.cmd", "Can't create file %s. ", true,
                                       "Taleno Corvane", MB_ICONEXCLAMATION},
                    FolderInTheWayCase{kMouse, "$OEM$\\mouse.cmd", "Can't create file %s. ", true, "Taleno Corvane",
                                       MB_ICONEXCLAMATION},
                    FolderInTheWayCase{kDesktop, "$OEM$\\desktop.cmd", "Can't create file %s. ", true, "Taleno Corvane",
                                       MB_ICONEXCLAMATION},
                    FolderInTheWayCase{kCmdLines, "$OEM$\\cmdlines.txt", "Can't create file %s. ", true,
                                       "Taleno Corvane", MB_ICONEXCLAMATION},
                    FolderInTheWayCase{kCorvane, "$OEM$\\Corvane.cmd", "Can't create file %s. ", true, "Taleno Corvane",
                                       MB_ICONEXCLAMATION},
                    FolderInTheWayCase{kRestart, "$OEM$\\Restart.cmd", "Can't create file %s. ", true, "Taleno Corvane",
                                       MB_ICONEXCLAMATION},
                    FolderInTheWayCase{kRunOnceExCu, "$OEM$\\RunOnceExCU.cmd", "Can't create file %s. ", true,
                                       "Taleno Corvane", MB_ICONEXCLAMATION},
                    FolderInTheWayCase{kRunOnceEx, "$OEM$\\RunOnceEx.cmd", "Can't create file %s. ", true,
                                       "Taleno Corvane", MB_ICONEXCLAMATION},
                    FolderInTheWayCase{kFirst, "$OEM$\\First.cmd", "Can't create file %s. ", true, "Taleno Corvane",
                                       MB_ICONEXCLAMATION},
                    FolderInTheWayCase{kResolutionTool, "$OEM$\\res.exe", "Can't create file: %s", false, "Failed",
                                       MB_ICONINFORMATION},
                    FolderInTheWayCase{kAnswerFile, "I386\\WINNT.SIF", "Error with file %s. ", true, "Taleno Corvane",
                                       MB_ICONERROR}),
    [](const testing::TestParamInfo<FolderInTheWayCase>& info) {
        std::string name;
        for (const char* p = info.param.path; *p; ++p)
        {
            if (std::isalnum(static_cast<unsigned char>(*p)))
                name += *p;
        }
        return name;
    });

// A file named "Software" in the distribution leaves the kit no folder to go to: the shell's copy fails.
TEST_F(XpDistributionTest, FailedKitCopyStopsTheRoadBeforeTheOemTree)
{
    const std::string kit = m_temp / "kit";
    MakeFolder(kit);
    WriteFileBytes(kit + "\\corvane_player.exe", "MZ");
    WriteFileBytes(kit + "\\readme.txt", "kit");
    WriteFileBytes(Dist("Software"), "a file, not a folder");

    EXPECT_EQ(Build(kit.c_str()), FALSE);
    ExpectOneMessage("Error copying Corvane folder.", "Taleno Corvane", MB_ICONERROR);
    EXPECT_FALSE(m_settings->IsKitCopied());
    ExpectDistribution({{"I386\\", ""}, {"Software", "a file, not a folder"}});
}

}  // namespace
