// Existence checks, version queries, monitor queries and version-checked run-time linking,
// against the real system under test.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "framework/foundation/FileExists.h"
#include "framework/foundation/FrameworkStatics.h"
#include "framework/foundation/LockGuard.h"
#include "framework/foundation/ModuleHandle.h"
#include "framework/foundation/MultiMonitor.h"
#include "framework/foundation/OSVersionInfo.h"

namespace {

std::string TempFolder()
{
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    std::string folder = std::string(base) + "osm-fileexists-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST(FileExists, AnswersForRealPaths)
{
    const std::string folder = TempFolder();
    const std::string file = folder + "\\present.txt";
    HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);

    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string driveRoot = std::string(windows, 3);  // "C:\"

    struct Case
    {
        std::string path;
        BOOL exists;
    } cases[] = {
        {file, TRUE},
        {folder, TRUE},
        {folder + "\\", TRUE},
        {driveRoot, TRUE},
        {file + "\\", FALSE},
        {folder + "\\missing.txt", FALSE},
        {folder + "\\missing\\deeper", FALSE},
        {folder + "\\pres*", FALSE},
        {folder + "\\present.tx?", FALSE},
        {"", FALSE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FileExists(c.path.c_str()), c.exists) << c.path;
    EXPECT_FALSE(FileExists(nullptr));

    DeleteFileA(file.c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST(OSVersionInfo, PredicatesFollowTheReportedVersion)
{
    COSMOSVersionInfo* info = GetOSVersionInfo();
    ASSERT_EQ(info, GetOSVersionInfo());
    OSVERSIONINFOA direct{};
    direct.dwOSVersionInfoSize = sizeof(direct);
    ASSERT_TRUE(GetVersionExA(&direct));
    EXPECT_EQ(info->dwMajorVersion, direct.dwMajorVersion);
    EXPECT_EQ(info->dwPlatformId, direct.dwPlatformId);

    EXPECT_TRUE(info->IsVersionAtLeast(info->dwMajorVersion, info->dwMinorVersion));
    EXPECT_FALSE(info->IsVersionAtLeast(info->dwMajorVersion, info->dwMinorVersion + 1));
    EXPECT_TRUE(info->IsVersionAtLeast(info->dwMajorVersion - 1, 99));
    EXPECT_FALSE(info->IsVersionAtLeast(info->dwMajorVersion + 1, 0));

    COSMOSVersionInfo fake;
    struct Case
    {
        DWORD platform, major, minor;
        BOOL win9x, win2k, winxp;
    } cases[] = {
        {VER_PLATFORM_WIN32_WINDOWS, 4, 10, TRUE, FALSE, FALSE}, {VER_PLATFORM_WIN32_NT, 4, 0, FALSE, FALSE, FALSE},
        {VER_PLATFORM_WIN32_NT, 5, 0, FALSE, TRUE, FALSE},       {VER_PLATFORM_WIN32_NT, 5, 1, FALSE, TRUE, TRUE},
        {VER_PLATFORM_WIN32_NT, 6, 1, FALSE, TRUE, TRUE},        {VER_PLATFORM_WIN32_WINDOWS, 5, 1, TRUE, FALSE, FALSE},
    };
    for (const Case& c : cases)
    {
        fake.dwPlatformId = c.platform;
        fake.dwMajorVersion = c.major;
        fake.dwMinorVersion = c.minor;
        EXPECT_EQ(fake.IsWin9x(), c.win9x) << c.major << "." << c.minor;
        EXPECT_EQ(fake.IsWin2KOrGreater(), c.win2k) << c.major << "." << c.minor;
        EXPECT_EQ(fake.IsWinXPOrGreater(), c.winxp) << c.major << "." << c.minor;
        EXPECT_EQ(fake.IsClearTypeTextQualitySupported(), c.winxp);
    }
}

TEST(OSVersionInfo, ComCtlVersionAndCharSize)
{
    const DWORD version = COSMOSVersionInfo::GetComCtlVersion();
    EXPECT_GE(HIWORD(version), 4u);
    EXPECT_EQ(version, COSMOSVersionInfo::GetComCtlVersion());
    const int size = COSMOSVersionInfo::GetMaxCharSize();
    EXPECT_GE(size, 1);
    EXPECT_LE(size, 4);
}

TEST(ModuleHandle, BorrowsLoadedModulesAndFreesOnlyItsOwn)
{
    {
        COSMModuleHandle kernel("kernel32.dll");
        EXPECT_EQ(kernel.GetSource(), COSMModuleHandle::Source::GetModuleHandle);
        EXPECT_EQ(kernel.GetHandle(), GetModuleHandleA("kernel32.dll"));
    }
    EXPECT_NE(GetModuleHandleA("kernel32.dll"), nullptr);

    ASSERT_EQ(GetModuleHandleA("msimg32.dll"), nullptr) << "the test needs a DLL nobody loaded yet";
    {
        COSMModuleHandle loaded("msimg32.dll");
        EXPECT_EQ(loaded.GetSource(), COSMModuleHandle::Source::LoadLibrary);
        EXPECT_NE(GetModuleHandleA("msimg32.dll"), nullptr);
    }
    EXPECT_EQ(GetModuleHandleA("msimg32.dll"), nullptr);

    COSMModuleHandle missing("osmira-no-such-library.dll");
    EXPECT_EQ(missing.GetHandle(), nullptr);
    EXPECT_EQ(missing.GetSource(), COSMModuleHandle::Source::None);
    FARPROC function = reinterpret_cast<FARPROC>(1);
    EXPECT_FALSE(missing.GetProcAddress(&function, "Anything"));
    EXPECT_EQ(function, nullptr);
}

TEST(ModuleHandle, LinksPresentFunctionsAndRefusesMissingOnes)
{
    COSMModuleHandle kernel("kernel32.dll");
    decltype(&GetTickCount) tick = nullptr;
    ASSERT_TRUE(kernel.GetProcAddress(&tick, "GetTickCount"));
    ASSERT_NE(tick, nullptr);
    EXPECT_GT(tick(), 0u);

    void (*missing)() = reinterpret_cast<void (*)()>(1);
    EXPECT_FALSE(kernel.GetProcAddress(&missing, "OsmiraNoSuchFunction"));
    EXPECT_EQ(missing, nullptr);
}

TEST(ModuleHandle, MinimumVersionGatesLinking)
{
    COSMModuleHandle comctl("comctl32.dll");
    const DWORD version = comctl.GetVersion();
    ASSERT_NE(version, 0u) << "comctl32 reports its version through DllGetVersion";
    const DWORD major = HIWORD(version), minor = LOWORD(version);

    struct Case
    {
        DWORD minimum;
        BOOL linked;
    } cases[] = {
        {MAKELONG(minor, major), TRUE},
        {MAKELONG(0, major), TRUE},
        {MAKELONG(minor + 1, major), FALSE},
        {MAKELONG(0, major + 1), FALSE},
        {0, TRUE},
    };
    for (const Case& c : cases)
    {
        FARPROC function = reinterpret_cast<FARPROC>(1);
        EXPECT_EQ(comctl.GetProcAddress(&function, "InitCommonControlsEx", c.minimum), c.linked)
            << std::hex << c.minimum;
        EXPECT_EQ(function != nullptr, c.linked != FALSE);
    }

    // kernel32 has no DllGetVersion: any minimum refuses, none links.
    COSMModuleHandle kernel("kernel32.dll");
    EXPECT_FALSE(kernel.GetVersionInfo());
    EXPECT_EQ(kernel.GetVersion(), 0u);
    FARPROC function = nullptr;
    EXPECT_FALSE(kernel.GetProcAddress(&function, "GetTickCount", MAKELONG(0, 1)));
    EXPECT_TRUE(kernel.GetProcAddress(&function, "GetTickCount"));
}

TEST(MultiMonitor, WithAndWithoutMonitorFunctions)
{
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};

    // kernel32 exports none of the monitor functions: every query falls back to the primary screen.
    COSMMultiMonitor without("kernel32.dll");
    EXPECT_FALSE(without.HasMonitorFunctions());
    EXPECT_TRUE(without.GetWorkAreaFromWindow(GetDesktopWindow()) == work);
    EXPECT_TRUE(without.GetScreenAreaFromPoint(POINT{10, 10}) == screen);
    EXPECT_TRUE(without.GetWorkAreaAtCursor() == work);
    MONITORINFO info{};
    EXPECT_FALSE(without.GetMonitorInfo(reinterpret_cast<HMONITOR>(1), &info));

    COSMMultiMonitor* with = GetMultiMonitor();
    ASSERT_TRUE(with->HasMonitorFunctions());
    EXPECT_FALSE(with->GetMonitorInfo(nullptr, &info));
    HMONITOR primary = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    ASSERT_TRUE(with->GetMonitorInfo(primary, &info));
    EXPECT_EQ(info.cbSize, sizeof(MONITORINFO));
    EXPECT_TRUE(with->GetScreenAreaFromPoint(POINT{1, 1}) == info.rcMonitor);
    EXPECT_TRUE(with->GetWorkAreaFromRect(RECT{1, 1, 20, 20}) == info.rcWork);
    // A point on no monitor has no monitor: the fallbacks answer.
    EXPECT_TRUE(with->GetScreenAreaFromPoint(POINT{-30000, -30000}) == screen);
    EXPECT_TRUE(with->GetWorkAreaFromPoint(POINT{-30000, -30000}) == work);
}

TEST(LockGuard, HoldsAndReleasesTheSection)
{
    CRITICAL_SECTION section;
    InitializeCriticalSection(&section);
    auto heldElsewhere = [&section] {
        HANDLE thread = CreateThread(
            nullptr, 0,
            [](LPVOID p) -> DWORD {
                auto* cs = static_cast<CRITICAL_SECTION*>(p);
                if (!TryEnterCriticalSection(cs))
                    return 1;
                LeaveCriticalSection(cs);
                return 0;
            },
            &section, 0, nullptr);
        WaitForSingleObject(thread, INFINITE);
        DWORD code = 0;
        GetExitCodeThread(thread, &code);
        CloseHandle(thread);
        return code == 1;
    };
    {
        COSMLockGuard lock(section);
        EXPECT_TRUE(heldElsewhere());
        lock.UnLockThread();
        EXPECT_FALSE(heldElsewhere());
        lock.LockThread();
        EXPECT_TRUE(heldElsewhere());
    }
    EXPECT_FALSE(heldElsewhere());
    DeleteCriticalSection(&section);
}

TEST(FrameworkStatics, MessagesAreRegisteredAndDatesSpanTheRange)
{
    EXPECT_EQ(OSM_WM_NOTIFICATION_SINK_MT_ON_EVENT, RegisterWindowMessageA("OSMNotificationSinkMTOnEvent"));
    EXPECT_EQ(OSM_WM_CALENDAR_SWITCH_VIEW, RegisterWindowMessageA("OSMCalendarSwitchView"));
    EXPECT_EQ(OSM_WM_CALENDAR_USER_ACTION, RegisterWindowMessageA("OSMCalendarUserAction"));
    EXPECT_GE(OSM_WM_NOTIFICATION_SINK_MT_ON_EVENT, 0xC000u);

    struct Case
    {
        DATE date;
        WORD year, month, day;
    } cases[] = {{kOsmMinDate, 100, 1, 1}, {kOsmMaxDate, 9999, 12, 31}};
    for (const Case& c : cases)
    {
        SYSTEMTIME time{};
        ASSERT_TRUE(VariantTimeToSystemTime(c.date, &time));
        EXPECT_EQ(time.wYear, c.year);
        EXPECT_EQ(time.wMonth, c.month);
        EXPECT_EQ(time.wDay, c.day);
        EXPECT_EQ(time.wHour + time.wMinute + time.wSecond, 0);
    }
}
