// The real osmira.exe under Wine, driven through its controls: the main page's fields and states, its
// validation, and whole builds of both kinds of image with progress, log, cancel and the closing message.
// Each build's folder stays in the build tree, where the image read-back checks find it.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ProgramDriver.h"
#include "RegistrySeed.h"
#include "SerialBootImage.h"
#include "TestFiles.h"
#include "resource.h"

using namespace osm::test;

namespace {

const char kNtKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

// The folders of one scenario, under the build tree: the program with its boot images, the distribution
// folder and the image folder.
struct Workspace
{
    std::string root, program, dist, output;

    explicit Workspace(const std::string& name)
    {
        std::string base = OSM_E2E_DIR;
        for (char& c : base)
            c = c == '/' ? '\\' : c;
        root = base + "\\" + name;
        RemoveTree(root);
        program = root + "\\program";
        dist = root + "\\dist";
        output = root + "\\output";
        CreateDirectoryA(base.c_str(), nullptr);
        for (const std::string& folder : {root, program, program + "\\ISO", dist, output})
            MakeFolder(folder);
        EXPECT_TRUE(CopyFileA(OSMIRA_EXE, (program + "\\osmira.exe").c_str(), FALSE));
        WriteFileBytes(program + "\\ISO\\xpboot.img", SerialBootImage("OSMIRA-BOOT-OK\n"));
        WriteFileBytes(program + "\\ISO\\vistaboot.img", SerialBootImage("OSMIRA-BOOT-OK\n"));
    }

    void SmallDistribution() const
    {
        MakeFolder(dist + "\\I386");
        WriteFileBytes(dist + "\\I386\\TXTSETUP.SIF", "[SourceDisksNames]\r\n");
        WriteFileBytes(dist + "\\I386\\NTLDR", std::string(5000, 'n'));
        MakeFolder(dist + "\\I386\\SYSTEM32");
        WriteFileBytes(dist + "\\I386\\SYSTEM32\\Long name with spaces.dll", "dll");
        WriteFileBytes(dist + "\\WIN51", "marker");
        WriteFileBytes(dist + "\\setup.exe", std::string(70000, 's'));
        WriteFileBytes(dist + "\\README.HTM", "<html></html>");
        WriteFileBytes(dist + "\\.svn", "tool state");
        SetFileAttributesA((dist + "\\WIN51").c_str(), FILE_ATTRIBUTE_READONLY);
    }

    // Large, quickly made files (sparse on the host), so a build runs long enough to be cancelled.
    void LargeDistribution(LONGLONG bytesPerFile, int files) const
    {
        SmallDistribution();
        for (int i = 0; i < files; ++i)
        {
            const std::string path = dist + "\\I386\\BIG" + std::to_string(i) + ".CAB";
            HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            ASSERT_NE(file, INVALID_HANDLE_VALUE);
            LARGE_INTEGER size;
            size.QuadPart = bytesPerFile;
            SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
            SetEndOfFile(file);
            CloseHandle(file);
        }
    }

    std::string Exe() const { return program + "\\osmira.exe"; }
};

class WizardPage : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_owner.SetString("Test Owner");
        m_organization.SetString("Test Organization");
    }

    // Starts the program and opens the page in the given mode.
    HWND OpenPage(ProgramDriver& program, const std::string& exe, bool windows7)
    {
        if (!program.Start(exe))
            return nullptr;
        HWND choice = program.WaitForWindow("VORN");
        if (!choice)
            return nullptr;
        if (windows7)
            Click(choice, IDC_RADIO_WIN7);
        PostClick(choice, IDC_NEXT);
        return program.WaitForWindow(windows7 ? "VORN: Windows 7" : "VORN: Windows XP");
    }

    void FillPage(HWND page, const Workspace& w)
    {
        SetControlText(page, IDC_DIST_PATH, w.dist);
        SetControlText(page, IDC_COMPUTER_NAME, "BUILDPC");
        const char* groups[] = {"AAAAA", "BBBBB", "CCCCC", "DDDDD", "EEEEE"};
        for (int i = 0; i < 5; ++i)
            SetControlText(page, IDC_KEY1 + i, groups[i]);
        SetControlText(page, IDC_ISO_PATH, w.output);
    }

    // Closing an idle page (its close box) ends the wizard.
    void ClosePage(ProgramDriver& program, HWND page)
    {
        PostMessageA(page, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_TRUE(program.WaitForExit()) << "closing the page did not end the wizard";
    }

    // The message box of that caption that the program shows next.
    std::string TakeMessage(ProgramDriver& program, const char* caption, int answer = IDOK, DWORD timeoutMs = 60000)
    {
        HWND box = program.WaitForWindow(caption, timeoutMs);
        if (!box)
            return "(no message box \"" + std::string(caption) + "\")";
        const std::string text = MessageBoxText(box);
        PostClick(box, answer);
        program.WaitForWindowGone(box);
        return text;
    }

    // Follows the log line until the build has ended; every distinct text it showed, in order.
    std::vector<std::string> FollowLog(ProgramDriver& program, HWND page, const char* stopCaption)
    {
        std::vector<std::string> seen;
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < 120000)
        {
            const std::string text = ControlText(page, IDC_LOG);
            if (seen.empty() || seen.back() != text)
                seen.push_back(text);
            for (HWND window : program.TopLevelWindows())
            {
                if (IsWindowVisible(window) && WindowText(window) == stopCaption)
                    return seen;
            }
            PumpFor(5);
        }
        return seen;
    }

    ScopedRegistryValue m_owner{HKEY_LOCAL_MACHINE, kNtKey, "RegisteredOwner"};
    ScopedRegistryValue m_organization{HKEY_LOCAL_MACHINE, kNtKey, "RegisteredOrganization"};
};

// The page after a build: inputs back, Cancel off, the log at "0%".
bool PageRestored(HWND page)
{
    return IsControlEnabled(page, IDC_CREATE_ISO) && IsControlEnabled(page, IDC_DIST_PATH) &&
           !IsControlEnabled(page, IDC_CANCEL_BUILD) && ControlText(page, IDC_LOG) == "0%";
}

// The log line shows the expected text (or a longer one that starts with it), cut with "..." where the
// control ends.
bool ShowsLine(const std::string& shown, const std::string& expected)
{
    std::string core = shown;
    const bool cut = core.size() > 3 && core.compare(core.size() - 3, 3, "...") == 0;
    if (cut)
        core.resize(core.size() - 3);
    if (core.size() < 10)
        return false;
    return expected.rfind(core, 0) == 0 || (core.rfind(expected, 0) == 0);
}

int ThreadsOf(DWORD processId)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == processId;
    CloseHandle(snapshot);
    return count;
}

}  // namespace

TEST_F(WizardPage, OpensWithTheMachineDataAndItsStartingStates)
{
    Workspace w("open");
    ProgramDriver program;
    HWND page = OpenPage(program, w.Exe(), false);
    ASSERT_NE(page, nullptr);

    char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof(computer);
    GetComputerNameA(computer, &size);
    EXPECT_EQ(ControlText(page, IDC_FULL_NAME), "Test Owner");
    EXPECT_EQ(ControlText(page, IDC_COMPANY), "Test Organization");
    EXPECT_EQ(ControlText(page, IDC_COMPUTER_NAME), computer);
    EXPECT_EQ(ControlText(page, IDC_LOG), "0%");
    EXPECT_EQ(ControlText(page, IDC_CREATE_ISO), "Create ISO ");
    EXPECT_EQ(ControlText(page, IDC_HEADING1), "1. Automatic Microsoft Windows installation.");

    struct State
    {
        int id;
        bool enabled;
    } states[] = {
        {IDC_DIST_PATH, true},  {IDC_BROWSE_DIST, true}, {IDC_ISO_PATH, true},    {IDC_BROWSE_ISO, true},
        {IDC_CREATE_ISO, true}, {IDC_KIT_PATH, false},   {IDC_BROWSE_KIT, false}, {IDC_CANCEL_BUILD, false},
        {IDC_PROGRESS, false},  {IDC_KIT_CHECK, true},
    };
    for (const State& s : states)
        EXPECT_EQ(IsControlEnabled(page, s.id), s.enabled) << "control " << s.id;
    EXPECT_EQ(FocusOf(page), GetDlgItem(page, IDC_DIST_PATH));

    Click(page, IDC_KIT_CHECK);
    EXPECT_TRUE(IsControlEnabled(page, IDC_KIT_PATH));
    EXPECT_TRUE(IsControlEnabled(page, IDC_BROWSE_KIT));
    Click(page, IDC_KIT_CHECK);
    EXPECT_FALSE(IsControlEnabled(page, IDC_KIT_PATH));

    // The system menu's About entry opens the About box.
    // Enter in a field (the dialog's IDOK, as the default button is off) keeps the page open.
    PostMessageA(page, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(program.WaitForExit(1500)) << "Enter closed the wizard";
    EXPECT_TRUE(IsWindowVisible(page));

    PostMessageA(page, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    HWND about = program.WaitForWindow("About Osmira");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(ControlText(about, IDC_WEB_LINK_ABOUT).rfind("https://", 0), 0u);
    EXPECT_NE(ControlText(about, IDC_MAIL_LINK).find('@'), std::string::npos);
    PostClick(about, IDOK);
    EXPECT_TRUE(program.WaitForWindowGone(about));

    ClosePage(program, page);
}

TEST_F(WizardPage, ValidatesTheFieldsInOrder)
{
    Workspace w("validation");
    w.SmallDistribution();
    ProgramDriver program;
    HWND page = OpenPage(program, w.Exe(), false);
    ASSERT_NE(page, nullptr);
    SetControlText(page, IDC_COMPANY, "");

    struct Step
    {
        int id;  // the field filled after the message
        std::string value;
        const char* message;
        bool focusMoves;
    } steps[] = {
        {IDC_DIST_PATH, w.dist + "\\missing", "Select a folder with the Windows XP distribution package.", true},
        {IDC_DIST_PATH, w.dist + "\\I38?", "Path to the Windows XP distribution package does not exist.", true},
        {IDC_DIST_PATH, w.dist, "Path to the Windows XP distribution package does not exist.", true},
        {IDC_KIT_CHECK, "", nullptr, false},
        {IDC_KIT_PATH, w.dist + "\\nokit", "Select a folder with the Corvane installation kit.", false},
        {IDC_KIT_PATH, w.dist + "\\I386", "Path to the Corvane installation kit does not exist.", false},
        {IDC_FULL_NAME, "", nullptr, false},
        {IDC_FULL_NAME, "   ", "Enter user name", false},
        {IDC_COMPANY, "Company", "Enter company name", false},
        {IDC_COMPUTER_NAME, "", nullptr, false},
        {IDC_COMPUTER_NAME, "PC", "Enter computer name", false},
        {IDC_KEY1, "AAAAA", "Enter product key", false},
        {IDC_KEY2, "BBBBB", "Enter product key", false},
        {IDC_KEY3, "CCCCC", "Enter product key", false},
        {IDC_KEY4, "DDDDD", "Enter product key", false},
        {IDC_KEY5, "EEEEE", "Enter product key", false},
        {IDC_ISO_PATH, w.output + "\\missing", "Select a folder for iso (example: 'D:\\MY_ISO').", false},
        {IDC_ISO_PATH, w.output, "Path to the folder for iso does not exist.", false},
    };
    SetControlText(page, IDC_DIST_PATH, "");
    for (const Step& step : steps)
    {
        if (step.message)
        {
            SCOPED_TRACE(step.message);
            PostClick(page, IDC_CREATE_ISO);
            HWND box = program.WaitForWindow("Information");
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(GetWindow(box, GW_OWNER), page);
            EXPECT_EQ(MessageBoxText(box), step.message);
            PostClick(box, IDOK);
            ASSERT_TRUE(program.WaitForWindowGone(box));
            if (step.focusMoves)
            {
                EXPECT_TRUE(WaitUntil([&] { return FocusOf(page) == GetDlgItem(page, IDC_DIST_PATH); }, 3000));
            }
        }
        if (step.id == IDC_KIT_CHECK)
            Click(page, IDC_KIT_CHECK);
        else
            SetControlText(page, step.id, step.value);
    }
    ClosePage(program, page);
}

TEST_F(WizardPage, WindowsXpRoadBuildsXpIso)
{
    Workspace w("xp");
    w.SmallDistribution();
    ProgramDriver program;
    HWND page = OpenPage(program, w.Exe(), false);
    ASSERT_NE(page, nullptr);
    FillPage(page, w);

    PostClick(page, IDC_CREATE_ISO);
    const std::vector<std::string> log = FollowLog(program, page, "VORN");
    EXPECT_EQ(TakeMessage(program, "VORN"), "Congratulations! VORN created the ISO-image.");

    // The log is sampled, so quick lines may pass unseen; what was seen keeps the build's order:
    // the attribute walk, the tree, then rising percentages, and "0%" again once the page is restored.
    const std::vector<std::string> order{"Removing any possible attributes...",
                                         "Creating tree...(it takes several minutes)"};
    std::size_t next = 0;
    int lastPercent = -1;
    for (std::size_t i = 0; i < log.size(); ++i)
    {
        const std::string& line = log[i];
        const auto known = std::find(order.begin(), order.end(), line);
        if (known != order.end())
        {
            EXPECT_GE(static_cast<std::size_t>(known - order.begin()), next) << line;
            EXPECT_EQ(lastPercent, -1) << line << " after a percentage";
            next = static_cast<std::size_t>(known - order.begin()) + 1;
            continue;
        }
        ASSERT_FALSE(line.empty());
        ASSERT_EQ(line.back(), '%') << line;
        // The page shows "0%" until the build's first line replaces it.
        if (next == 0)
            continue;
        const int percent = std::stoi(line);
        if (i + 1 < log.size())
        {
            EXPECT_GE(percent, lastPercent) << line;
        }
        lastPercent = percent;
    }
    EXPECT_EQ(log.back(), "0%");
    // The page has restored itself for the message.
    EXPECT_TRUE(WaitUntil([&] { return PageRestored(page); }));

    EXPECT_TRUE(FileExists(w.dist + "\\I386\\WINNT.SIF"));
    EXPECT_TRUE(FileExists(w.dist + "\\$OEM$\\cmdlines.txt"));
    EXPECT_TRUE(FileExists(w.output + "\\xp.iso"));
    const auto sif = ReadFileBytes(w.dist + "\\I386\\WINNT.SIF");
    ASSERT_TRUE(sif);
    EXPECT_NE(sif->find("ProductKey=AAAAA-BBBBB-CCCCC-DDDDD-EEEEE\r\n"), std::string::npos);
    EXPECT_NE(sif->find("FullName=\"Test Owner\"\r\n"), std::string::npos);
    EXPECT_NE(sif->find("ComputerName=\"BUILDPC\"\r\n"), std::string::npos);

    ClosePage(program, page);
}

TEST_F(WizardPage, Windows7RoadBuildsWinIso)
{
    Workspace w("win7");
    w.SmallDistribution();
    MakeFolder(w.root + "\\kit");
    WriteFileBytes(w.root + "\\kit\\corvane_player.exe", "player");
    ProgramDriver program;
    HWND page = OpenPage(program, w.Exe(), true);
    ASSERT_NE(page, nullptr);
    FillPage(page, w);
    // Folders typed with a trailing backslash are the same folders.
    SetControlText(page, IDC_DIST_PATH, w.dist + "\\");
    SetControlText(page, IDC_ISO_PATH, w.output + "\\");
    Click(page, IDC_KIT_CHECK);
    SetControlText(page, IDC_KIT_PATH, w.root + "\\kit\\");

    PostClick(page, IDC_CREATE_ISO);
    EXPECT_EQ(TakeMessage(program, "VORN"), "Congratulations! VORN created the ISO-image.");
    EXPECT_TRUE(FileExists(w.dist + "\\autounattend.xml"));
    EXPECT_TRUE(FileExists(w.dist + "\\software\\corvane\\corvane_player.exe"));
    EXPECT_TRUE(FileExists(w.dist + "\\SOURCES\\$OEM$\\$$\\SETUP\\SCRIPTS\\setupcomplete.cmd"));
    EXPECT_TRUE(FileExists(w.output + "\\win.iso"));
    EXPECT_FALSE(FileExists(w.output + "\\xp.iso"));

    ClosePage(program, page);
}

TEST_F(WizardPage, CancelStopsABuildAndRestoresThePage)
{
    Workspace w("cancel");
    w.LargeDistribution(300ll * 1024 * 1024, 4);
    ProgramDriver program;
    HWND page = OpenPage(program, w.Exe(), false);
    ASSERT_NE(page, nullptr);
    FillPage(page, w);
    const int threadsBefore = ThreadsOf(program.ProcessId());

    PostClick(page, IDC_CREATE_ISO);
    // Wait for the copy to be under way.
    const DWORD start = GetTickCount();
    while (ControlText(page, IDC_LOG).find('%') == std::string::npos || ControlText(page, IDC_LOG) == "0%")
    {
        ASSERT_LT(GetTickCount() - start, 60000u) << ControlText(page, IDC_LOG);
        PumpFor(5);
    }
    EXPECT_TRUE(IsControlEnabled(page, IDC_CANCEL_BUILD));
    EXPECT_FALSE(IsControlEnabled(page, IDC_CREATE_ISO));

    // "No" changes nothing.
    PostClick(page, IDC_CANCEL_BUILD);
    EXPECT_EQ(TakeMessage(program, "Taleno Corvane", IDNO), "Are you sure?");
    EXPECT_TRUE(IsControlEnabled(page, IDC_CANCEL_BUILD));

    PostClick(page, IDC_CANCEL_BUILD);
    EXPECT_EQ(TakeMessage(program, "Taleno Corvane", IDYES), "Are you sure?");
    const DWORD confirmed = GetTickCount();
    EXPECT_TRUE(WaitUntil([&] { return PageRestored(page); }));
    // The worker answers its flag: the page never waits out the 3 s after which it would be ended by force.
    EXPECT_LT(GetTickCount() - confirmed, 2500u);
    EXPECT_EQ(program.WaitForWindow("VORN", 1500), nullptr) << "no congratulation after a cancel";
    EXPECT_FALSE(FileExists(w.output + "\\xp.iso")) << "no partial image";
    EXPECT_EQ(ThreadsOf(program.ProcessId()), threadsBefore) << "the worker is gone";

    ClosePage(program, page);
    RemoveTree(w.root);
}

TEST_F(WizardPage, ClosingThePageDuringABuildStopsItFirst)
{
    Workspace w("close");
    w.LargeDistribution(300ll * 1024 * 1024, 4);
    ProgramDriver program;
    HWND page = OpenPage(program, w.Exe(), false);
    ASSERT_NE(page, nullptr);
    FillPage(page, w);
    PostClick(page, IDC_CREATE_ISO);
    const DWORD start = GetTickCount();
    while (IsControlEnabled(page, IDC_CREATE_ISO) && GetTickCount() - start < 30000)
        PumpFor(5);

    PostMessageA(page, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(TakeMessage(program, "Taleno Corvane", IDYES), "Are you sure?");
    DWORD exitCode = 1;
    EXPECT_TRUE(program.WaitForExit(20000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(FileExists(w.output + "\\xp.iso"));
    RemoveTree(w.root);
}

TEST_F(WizardPage, BuildFailuresStayInTheLogUntilCancelled)
{
    struct Case
    {
        const char* name;
        void (*spoil)(const Workspace& w);
        std::string (*expected)(const Workspace& w);
    } cases[] = {
        {"missing boot image", [](const Workspace& w) { DeleteFileA((w.program + "\\ISO\\xpboot.img").c_str()); },
         [](const Workspace& w) { return "File " + w.program + "\\ISO\\xpboot.img is not found."; }},
        {"unwritable image path", [](const Workspace& w) { MakeFolder(w.output + "\\xp.iso"); },
         [](const Workspace& w) { return "Error with file " + w.output + "\\xp.iso. "; }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Workspace w(std::string("failure-") + (c.name[0] == 'm' ? "boot" : "image"));
        w.SmallDistribution();
        c.spoil(w);
        ProgramDriver program;
        HWND page = OpenPage(program, w.Exe(), false);
        ASSERT_NE(page, nullptr);
        FillPage(page, w);
        PostClick(page, IDC_CREATE_ISO);

        const std::string expected = c.expected(w);
        const DWORD start = GetTickCount();
        while (!ShowsLine(ControlText(page, IDC_LOG), expected) && GetTickCount() - start < 30000)
            PumpFor(20);
        EXPECT_TRUE(ShowsLine(ControlText(page, IDC_LOG), expected)) << ControlText(page, IDC_LOG);
        // The failed state: inputs stay disabled until the user cancels.
        PumpFor(1500);
        EXPECT_FALSE(IsControlEnabled(page, IDC_CREATE_ISO));
        EXPECT_TRUE(IsControlEnabled(page, IDC_CANCEL_BUILD));
        PostClick(page, IDC_CANCEL_BUILD);
        EXPECT_EQ(TakeMessage(program, "Taleno Corvane", IDYES), "Are you sure?");
        EXPECT_TRUE(WaitUntil([&] { return PageRestored(page); }));

        ClosePage(program, page);
    }
}

// An exception that escapes the worker's build is a failure like any other: its text is in the log line, the worker
// has ended without congratulating, and the page keeps its failed state until the user cancels. A copy of the
// program whose build throws as it begins (WorkerFaultProgram.cpp).
TEST_F(WizardPage, AnExceptionInTheWorkerIsShownInTheLogLikeAnyFailure)
{
    struct Case
    {
        const char* fault;
        const char* expected;
    } cases[] = {
        {"bad_alloc", "Not enough memory to build the image."},
        {"memory", "Not enough memory to build the image."},
        {"exception", "The image could not be built: the distribution's tree holds a loop."},
        {"library", "The image could not be built: Unsupported operation."},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.fault);
        Workspace w(std::string("fault-") + c.fault);
        w.SmallDistribution();
        ASSERT_TRUE(CopyFileA(OSMIRA_WORKER_FAULT_EXE, w.Exe().c_str(), FALSE));
        SetEnvironmentVariableA("OSMIRA_WORKER_FAULT", c.fault);
        ProgramDriver program;
        HWND page = OpenPage(program, w.Exe(), false);
        SetEnvironmentVariableA("OSMIRA_WORKER_FAULT", nullptr);
        ASSERT_NE(page, nullptr);
        FillPage(page, w);
        const int threadsBefore = ThreadsOf(program.ProcessId());
        PostClick(page, IDC_CREATE_ISO);

        const DWORD start = GetTickCount();
        while (!ShowsLine(ControlText(page, IDC_LOG), c.expected) && GetTickCount() - start < 30000)
            PumpFor(20);
        EXPECT_TRUE(ShowsLine(ControlText(page, IDC_LOG), c.expected)) << ControlText(page, IDC_LOG);
        // The worker has ended and the watch has seen it; no congratulation comes.
        EXPECT_TRUE(WaitUntil([&] { return ThreadsOf(program.ProcessId()) == threadsBefore; }, 5000))
            << ThreadsOf(program.ProcessId()) << " threads, " << threadsBefore << " before the build";
        EXPECT_EQ(program.WaitForWindow("VORN", 1500), nullptr);
        EXPECT_FALSE(FileExists(w.output + "\\xp.iso")) << "no unfinished image";
        // The failed state, as after every other failure: the line stays and the inputs wait for a cancel.
        EXPECT_TRUE(ShowsLine(ControlText(page, IDC_LOG), c.expected)) << ControlText(page, IDC_LOG);
        EXPECT_FALSE(IsControlEnabled(page, IDC_CREATE_ISO));
        EXPECT_TRUE(IsControlEnabled(page, IDC_CANCEL_BUILD));
        PostClick(page, IDC_CANCEL_BUILD);
        EXPECT_EQ(TakeMessage(program, "Taleno Corvane", IDYES), "Are you sure?");
        EXPECT_TRUE(WaitUntil([&] { return PageRestored(page); }));

        PostMessageA(page, WM_SYSCOMMAND, SC_CLOSE, 0);
        DWORD exitCode = 1;
        EXPECT_TRUE(program.WaitForExit(10000, &exitCode));
        EXPECT_EQ(exitCode, 0u);
    }
}
