// The visual-style and desktop-composition wrappers: against a stub DLL loaded by path, which records what each
// call passed on; against the system's own UXTHEME.DLL and dwmapi.dll, whose direct answers and pixels the
// wrappers must reproduce; and against libraries that lack the functions.
#include <gtest/gtest.h>

#include <windows.h>
#include <dwmapi.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <string>
#include <vector>

#include "tests/support/DcTestSurface.h"
#include "ThemeStubLibrary.h"
#include "framework/foundation/DwmWrapper.h"
#include "framework/foundation/OSVersionInfo.h"
#include "framework/foundation/VisualStyleWrapper.h"

namespace {

const DWORD kComCtl6 = MAKELONG(0, 6);

class VisualStyleStub : public testing::Test, protected ThemeStubLibrary
{
protected:
    VisualStyleStub() : ThemeStubLibrary(TRUE) {}
    void SetUp() override { SetUpThemeStub(); }
};

}  // namespace

TEST_F(VisualStyleStub, OpenKeepsTheHandleAndReopeningClosesTheOldOne)
{
    COSMVisualStyleWrapper wrapper(m_functions);
    EXPECT_EQ(wrapper.GetHandle(), nullptr);
    EXPECT_FALSE(wrapper.IsOpen());

    const HWND window = reinterpret_cast<HWND>(0x1234);
    ASSERT_TRUE(wrapper.OpenThemeData(window, L"BUTTON"));
    const HTHEME first = wrapper.GetHandle();
    EXPECT_EQ(first, reinterpret_cast<HTHEME>(0x5000));
    EXPECT_EQ(m_stub->lastWindow, window);
    EXPECT_STREQ(m_stub->lastClassList, L"BUTTON");
    EXPECT_EQ(Calls(CThemeStubState::kCloseThemeData), 0);

    ASSERT_TRUE(wrapper.OpenThemeData(nullptr, L"TOOLBAR"));
    EXPECT_EQ(Calls(CThemeStubState::kCloseThemeData), 1);
    EXPECT_EQ(m_stub->lastTheme, first);
    EXPECT_EQ(wrapper.GetHandle(), reinterpret_cast<HTHEME>(0x5001));

    // A class the library does not know: the old handle is closed all the same, and none is held.
    EXPECT_FALSE(wrapper.OpenThemeData(nullptr, L"NO-SUCH-CLASS"));
    EXPECT_EQ(Calls(CThemeStubState::kCloseThemeData), 2);
    EXPECT_EQ(wrapper.GetHandle(), nullptr);
}

TEST_F(VisualStyleStub, CloseCallsTheLibraryOnceAndTheDestructorCloses)
{
    {
        COSMVisualStyleWrapper wrapper(m_functions);
        wrapper.CloseThemeData();
        EXPECT_EQ(Calls(CThemeStubState::kCloseThemeData), 0);
        ASSERT_TRUE(wrapper.OpenThemeData(nullptr, L"BUTTON"));
        wrapper.CloseThemeData();
        wrapper.CloseThemeData();
        EXPECT_EQ(Calls(CThemeStubState::kCloseThemeData), 1);
        EXPECT_EQ(wrapper.GetHandle(), nullptr);
        ASSERT_TRUE(wrapper.OpenThemeData(nullptr, L"BUTTON"));
    }
    EXPECT_EQ(Calls(CThemeStubState::kCloseThemeData), 2);
    EXPECT_EQ(m_stub->lastTheme, reinterpret_cast<HTHEME>(0x5001));
}

TEST_F(VisualStyleStub, HandleCallsPassTheHeldHandleAndTheirArguments)
{
    COSMVisualStyleWrapper wrapper(m_functions);
    ASSERT_TRUE(wrapper.OpenThemeData(nullptr, L"BUTTON"));
    const HTHEME theme = wrapper.GetHandle();
    const RECT rect{1, 2, 30, 40}, clip{0, 0, 5, 5};

    EXPECT_EQ(wrapper.DrawThemeBackground(nullptr, 3, 4, &rect, &clip), S_OK);
    EXPECT_EQ(m_stub->lastTheme, theme);
    EXPECT_EQ(m_stub->lastPart, 3);
    EXPECT_EQ(m_stub->lastState, 4);
    EXPECT_TRUE(EqualRect(&m_stub->lastRect, &rect));
    EXPECT_TRUE(m_stub->lastClipGiven);
    EXPECT_EQ(wrapper.DrawThemeBackground(nullptr, 3, 4, &rect, nullptr), S_OK);
    EXPECT_FALSE(m_stub->lastClipGiven);

    COLORREF color = 0;
    m_stub->themeColor = RGB(12, 34, 56);
    EXPECT_EQ(wrapper.GetThemeColor(5, 6, TMT_BORDERCOLOR, &color), S_OK);
    EXPECT_EQ(color, RGB(12, 34, 56));
    EXPECT_EQ(m_stub->lastProperty, TMT_BORDERCOLOR);
    EXPECT_EQ(m_stub->lastTheme, theme);
    // A failing call leaves the caller's value alone.
    m_stub->themeColorResult = kNoSuchProperty;
    color = RGB(7, 7, 7);
    EXPECT_EQ(wrapper.GetThemeColor(5, 6, TMT_BORDERCOLOR, &color), kNoSuchProperty);
    EXPECT_EQ(color, RGB(7, 7, 7));

    int value = 0;
    EXPECT_EQ(wrapper.GetThemeInt(1, 2, 3, &value), S_OK);
    EXPECT_EQ(value, 123);
    // An exception out of the library becomes the failure value.
    EXPECT_EQ(wrapper.GetThemeInt(1, 2, kThemeStubThrowingProperty, &value), E_FAIL);
    EXPECT_EQ(Calls(CThemeStubState::kGetThemeInt), 2);
    SIZE size{};
    EXPECT_EQ(wrapper.GetThemePartSize(nullptr, 7, 8, &rect, TS_DRAW, &size), S_OK);
    EXPECT_EQ(size.cx, 17);
    EXPECT_EQ(size.cy, 28);
    EXPECT_EQ(m_stub->lastProperty, TS_DRAW);
    EXPECT_TRUE(wrapper.GetThemeSysBool(1001));
    EXPECT_FALSE(wrapper.GetThemeSysBool(1002));
    EXPECT_EQ(m_stub->lastTheme, theme);

    RECT textRect{0, 0, 100, 20};
    EXPECT_EQ(wrapper.DrawThemeTextEx(nullptr, 9, 1, L"Caption text", 7, DT_SINGLELINE, &textRect, nullptr), S_OK);
    EXPECT_STREQ(m_stub->lastClassList, L"Caption");
    EXPECT_EQ(m_stub->lastProperty, DT_SINGLELINE);
    EXPECT_EQ(m_stub->lastTheme, theme);

    HDC bufferDC = nullptr;
    const HDC target = reinterpret_cast<HDC>(0x4321);
    const HPAINTBUFFER buffer = wrapper.BeginBufferedPaint(target, &rect, BPBF_TOPDOWNDIB, nullptr, &bufferDC);
    EXPECT_EQ(buffer, reinterpret_cast<HPAINTBUFFER>(0x7000));
    EXPECT_EQ(bufferDC, target);
    EXPECT_EQ(wrapper.EndBufferedPaint(buffer, TRUE), S_OK);
    EXPECT_EQ(m_stub->lastPart, 0x7000);
    EXPECT_EQ(m_stub->lastState, TRUE);
}

TEST_F(VisualStyleStub, AppThemedAnswersForTheApplicationWithOrWithoutAHandle)
{
    COSMVisualStyleWrapper wrapper(m_functions);
    for (BOOL open : {FALSE, TRUE})
    {
        if (open)
        {
            ASSERT_TRUE(wrapper.OpenThemeData(nullptr, L"STATUS"));
        }
        EXPECT_EQ(wrapper.IsOpen(), open);
        for (BOOL themed : {TRUE, FALSE})
        {
            m_stub->appThemed = themed;
            EXPECT_EQ(wrapper.IsAppThemed(), themed);
        }
    }
    EXPECT_EQ(Calls(CThemeStubState::kIsAppThemed), 4);

    EXPECT_FALSE(wrapper.OpenThemeData(nullptr, L"NO-SUCH-CLASS"));
    EXPECT_FALSE(wrapper.IsOpen());
}

TEST_F(VisualStyleStub, ThemeReadyNeedsActiveThemesAndCommonControlsSix)
{
    struct Case
    {
        BOOL active;
        DWORD comCtl;
        BOOL ready;
    } cases[] = {
        {TRUE, MAKELONG(82, 5), FALSE}, {TRUE, MAKELONG(0, 6), TRUE},   {TRUE, MAKELONG(10, 6), TRUE},
        {FALSE, MAKELONG(0, 6), FALSE}, {TRUE, MAKELONG(72, 4), FALSE},
    };
    for (const Case& c : cases)
    {
        COSMVisualStyleFunctions functions(m_path.c_str(), TRUE, c.comCtl);
        COSMVisualStyleWrapper wrapper(functions);
        m_stub->themeActive = c.active;
        EXPECT_EQ(wrapper.IsThemeActive(), c.active);
        EXPECT_EQ(wrapper.IsAppThemeReady(), c.ready) << std::hex << c.comCtl;
    }
}

TEST_F(VisualStyleStub, ThemeNameComesThroughWithoutAHandle)
{
    COSMVisualStyleWrapper wrapper(m_functions);
    WCHAR file[MAX_PATH] = {}, scheme[MAX_PATH] = {}, size[MAX_PATH] = {};
    EXPECT_EQ(wrapper.GetCurrentThemeName(file, MAX_PATH, scheme, MAX_PATH, size, MAX_PATH), S_OK);
    EXPECT_STREQ(file, m_stub->themeFile);
    EXPECT_STREQ(scheme, L"NormalColor");
    EXPECT_STREQ(size, L"NormalSize");
    m_stub->themeNameResult = kNoSuchProperty;
    EXPECT_EQ(wrapper.GetCurrentThemeName(file, MAX_PATH, scheme, MAX_PATH, size, MAX_PATH), kNoSuchProperty);
}

TEST(VisualStyleWrapper, WithoutTheLibraryOrItsFunctionsEveryCallFailsQuietly)
{
    // No such library; a library without any visual-style function.
    for (const char* module : {"osmira-no-such-uxtheme.dll", "kernel32.dll"})
    {
        COSMVisualStyleFunctions functions(module, TRUE, kComCtl6);
        COSMVisualStyleWrapper wrapper(functions);
        EXPECT_FALSE(wrapper.IsThemeActive()) << module;
        EXPECT_FALSE(wrapper.IsAppThemeReady()) << module;
        EXPECT_FALSE(wrapper.OpenThemeData(nullptr, L"BUTTON")) << module;
        EXPECT_EQ(wrapper.GetHandle(), nullptr);
        EXPECT_FALSE(wrapper.IsAppThemed());
        wrapper.CloseThemeData();
        EXPECT_EQ(functions.Lookup(COSMVisualStyleFunctions::kIsThemeActive), nullptr);

        const RECT rect{0, 0, 10, 10};
        EXPECT_EQ(wrapper.DrawThemeBackground(nullptr, 1, 1, &rect, nullptr), E_FAIL);
        COLORREF color = RGB(1, 1, 1);
        EXPECT_EQ(wrapper.GetThemeColor(0, 0, TMT_BORDERCOLOR, &color), E_FAIL);
        EXPECT_EQ(color, RGB(1, 1, 1));
        int value = 5;
        EXPECT_EQ(wrapper.GetThemeInt(0, 0, 0, &value), E_FAIL);
        EXPECT_EQ(value, 5);
        SIZE size{};
        EXPECT_EQ(wrapper.GetThemePartSize(nullptr, 1, 1, nullptr, TS_TRUE, &size), E_FAIL);
        EXPECT_FALSE(wrapper.GetThemeSysBool(TMT_FLATMENUS));
        WCHAR name[MAX_PATH] = {};
        EXPECT_EQ(wrapper.GetCurrentThemeName(name, MAX_PATH, name, MAX_PATH, name, MAX_PATH), E_FAIL);
        RECT textRect = rect;
        EXPECT_EQ(wrapper.DrawThemeTextEx(nullptr, 0, 0, L"x", 1, 0, &textRect, nullptr), E_FAIL);
        HDC bufferDC = nullptr;
        EXPECT_EQ(wrapper.BeginBufferedPaint(nullptr, &rect, BPBF_TOPDOWNDIB, nullptr, &bufferDC), nullptr);
        EXPECT_EQ(wrapper.EndBufferedPaint(nullptr, TRUE), E_FAIL);
    }
}

// The reloading table notices the library going away and coming back at another address, and then calls the
// new copy; a table that does not follow reloads keeps what it has.
TEST(VisualStyleWrapper, FollowsTheLibraryThroughAReload)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string copy = std::string(temp) + "osm-reload-" + std::to_string(GetCurrentProcessId()) + ".dll";
    ASSERT_TRUE(CopyFileA(ThemeStubPath().c_str(), copy.c_str(), FALSE));

    COSMVisualStyleFunctions following(copy.c_str(), TRUE, kComCtl6);
    COSMVisualStyleFunctions fixed(copy.c_str(), FALSE, kComCtl6);
    COSMVisualStyleWrapper wrapper(following);
    CThemeStubState* before = ThemeStubStateOf(copy);
    ASSERT_NE(before, nullptr);
    ResetThemeStub(before);
    before->themeActive = FALSE;
    EXPECT_FALSE(wrapper.IsThemeActive());
    EXPECT_EQ(before->calls[CThemeStubState::kIsThemeActive], 1);

    // Unload it completely (both tables hold a reference), and keep its old address taken.
    const HMODULE old = GetModuleHandleA(copy.c_str());
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(old);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(reinterpret_cast<const BYTE*>(old) + dos->e_lfanew);
    const SIZE_T imageSize = nt->OptionalHeader.SizeOfImage;
    while (GetModuleHandleA(copy.c_str()))
        ASSERT_TRUE(FreeLibrary(old));

    // Gone: every call is disabled, none reaches the unloaded code.
    EXPECT_FALSE(wrapper.IsThemeActive());
    EXPECT_EQ(following.GetModule(), nullptr);
    EXPECT_FALSE(wrapper.OpenThemeData(nullptr, L"BUTTON"));

    void* reserved = VirtualAlloc(old, imageSize, MEM_RESERVE, PAGE_NOACCESS);
    ASSERT_EQ(reserved, static_cast<void*>(old));
    const HMODULE fresh = LoadLibraryA(copy.c_str());
    ASSERT_NE(fresh, nullptr);
    ASSERT_NE(fresh, old);
    CThemeStubState* after = ThemeStubStateOf(copy);
    ASSERT_NE(after, nullptr);
    ResetThemeStub(after);

    EXPECT_TRUE(wrapper.IsThemeActive());
    EXPECT_EQ(following.GetModule(), fresh);
    EXPECT_EQ(after->calls[CThemeStubState::kIsThemeActive], 1);
    EXPECT_TRUE(wrapper.OpenThemeData(nullptr, L"BUTTON"));
    EXPECT_EQ(after->calls[CThemeStubState::kOpenThemeData], 1);
    wrapper.CloseThemeData();
    EXPECT_EQ(after->calls[CThemeStubState::kCloseThemeData], 1);

    fixed.FollowReload();
    EXPECT_EQ(fixed.GetModule(), old);

    while (GetModuleHandleA(copy.c_str()))
        FreeLibrary(fresh);
    VirtualFree(reserved, 0, MEM_RELEASE);
    DeleteFileA(copy.c_str());
}

TEST(VisualStyleWrapper, SharedTablesAreMadeOnceOnTheSystemLibrary)
{
    COSMVisualStyleFunctions& following = GetVisualStyleFunctions(TRUE);
    COSMVisualStyleFunctions& fixed = GetVisualStyleFunctions(FALSE);
    EXPECT_EQ(&following, &GetVisualStyleFunctions(TRUE));
    EXPECT_EQ(&fixed, &GetVisualStyleFunctions(FALSE));
    EXPECT_NE(&following, &fixed);
    EXPECT_TRUE(following.FollowsReloads());
    EXPECT_FALSE(fixed.FollowsReloads());
    for (COSMVisualStyleFunctions* functions : {&following, &fixed})
    {
        EXPECT_EQ(functions->GetModule(), GetModuleHandleA("UXTHEME.DLL"));
        EXPECT_EQ(functions->GetComCtlVersion(), COSMOSVersionInfo::GetComCtlVersion());
    }
    EXPECT_EQ(IsComCtlVersion6OrGreater(), HIWORD(COSMOSVersionInfo::GetComCtlVersion()) > 5);
}

// Every slot names a function the system library exports, found where the slot says, except the one name
// no version of the library has.
TEST(VisualStyleWrapper, SlotNamesAreTheLibrarysExports)
{
    COSMVisualStyleFunctions functions("UXTHEME.DLL", FALSE, kComCtl6);
    const HMODULE uxtheme = GetModuleHandleA("UXTHEME.DLL");
    struct Case
    {
        COSMVisualStyleFunctions::Slot slot;
        const char* name;
    } cases[] = {
        {COSMVisualStyleFunctions::kDrawThemeBackground, "DrawThemeBackground"},
        {COSMVisualStyleFunctions::kOpenThemeData, "OpenThemeData"},
        {COSMVisualStyleFunctions::kIsAppThemed, "IsAppThemed"},
        {COSMVisualStyleFunctions::kGetThemeSysBool, "GetThemeSysBool"},
        {COSMVisualStyleFunctions::kGetThemeColor, "GetThemeColor"},
        {COSMVisualStyleFunctions::kGetCurrentThemeName, "GetCurrentThemeName"},
        {COSMVisualStyleFunctions::kGetThemeAppProperties, "GetThemeAppProperties"},
        {COSMVisualStyleFunctions::kDrawThemeTextEx, "DrawThemeTextEx"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(functions.Lookup(c.slot), GetProcAddress(uxtheme, c.name)) << c.name;
    int found = 0;
    for (int slot = 0; slot < COSMVisualStyleFunctions::kSlotCount; ++slot)
        found += functions.Lookup(slot) != nullptr;
    EXPECT_EQ(functions.Lookup(COSMVisualStyleFunctions::kThemeAppProperties), nullptr);
    EXPECT_EQ(found, COSMVisualStyleFunctions::kSlotCount - 1);
    EXPECT_EQ(functions.Lookup(COSMVisualStyleFunctions::kSlotCount), nullptr);
}

// The system's visual styles through both shared tables: the same answers and the same pixels as direct calls.
TEST(VisualStyleWrapper, SystemLibraryAnswersAndDrawsAsDirectCalls)
{
    for (BOOL followReloads : {TRUE, FALSE})
    {
        COSMVisualStyleWrapper wrapper(followReloads);
        EXPECT_EQ(wrapper.IsThemeActive(), IsThemeActive());
        EXPECT_EQ(wrapper.IsAppThemeReady(), HIWORD(COSMOSVersionInfo::GetComCtlVersion()) > 5);

        WCHAR file[MAX_PATH] = {}, scheme[MAX_PATH] = {}, size[MAX_PATH] = {};
        WCHAR directFile[MAX_PATH] = {}, directScheme[MAX_PATH] = {}, directSize[MAX_PATH] = {};
        EXPECT_EQ(wrapper.GetCurrentThemeName(file, MAX_PATH, scheme, MAX_PATH, size, MAX_PATH),
                  GetCurrentThemeName(directFile, MAX_PATH, directScheme, MAX_PATH, directSize, MAX_PATH));
        EXPECT_STREQ(file, directFile);
        EXPECT_STREQ(scheme, directScheme);
        EXPECT_STREQ(size, directSize);

        HTHEME direct = OpenThemeData(nullptr, L"BUTTON");
        EXPECT_EQ(wrapper.OpenThemeData(nullptr, L"BUTTON"), direct != nullptr);
        EXPECT_EQ(wrapper.IsAppThemed(), IsAppThemed());
        // The pixel comparison below is the point of this test, so a machine without an active visual style
        // (CI runs Wine's "Light" style) cannot pass it by drawing nothing.
        ASSERT_NE(direct, nullptr) << "no visual style is active (IsThemeActive() = " << IsThemeActive()
                                   << ", IsAppThemed() = " << IsAppThemed()
                                   << "): this test compares themed pixels and needs one";

        const COLORREF paper = RGB(1, 2, 3);
        const RECT rect{0, 0, 40, 24};
        foundation_test::DcTestSurface viaWrapper(40, 24, paper), viaSystem(40, 24, paper);
        EXPECT_EQ(wrapper.DrawThemeBackground(viaWrapper.GetDC(), BP_PUSHBUTTON, PBS_NORMAL, &rect, nullptr), S_OK);
        DrawThemeBackground(direct, viaSystem.GetDC(), BP_PUSHBUTTON, PBS_NORMAL, &rect, nullptr);
        EXPECT_GT(viaWrapper.CountNot(paper), 40 * 24 / 2) << "a push button covers most of its rectangle";
        EXPECT_EQ(viaWrapper.All(), viaSystem.All());

        SIZE size1{}, size2{};
        EXPECT_EQ(
            wrapper.GetThemePartSize(viaWrapper.GetDC(), BP_CHECKBOX, CBS_UNCHECKEDNORMAL, nullptr, TS_TRUE, &size1),
            GetThemePartSize(direct, viaSystem.GetDC(), BP_CHECKBOX, CBS_UNCHECKEDNORMAL, nullptr, TS_TRUE, &size2));
        EXPECT_GT(size1.cx, 0);
        EXPECT_EQ(size1.cx, size2.cx);
        EXPECT_EQ(size1.cy, size2.cy);

        COLORREF color1 = 0, color2 = 0;
        EXPECT_EQ(wrapper.GetThemeColor(BP_PUSHBUTTON, PBS_NORMAL, TMT_TEXTCOLOR, &color1),
                  GetThemeColor(direct, BP_PUSHBUTTON, PBS_NORMAL, TMT_TEXTCOLOR, &color2));
        EXPECT_EQ(color1, color2);
        CloseThemeData(direct);

        // Text through the "WINDOW" class, pixel for pixel.
        ASSERT_TRUE(wrapper.OpenThemeData(nullptr, L"WINDOW"));
        direct = OpenThemeData(nullptr, L"WINDOW");
        foundation_test::DcTestSurface textWrapper(80, 20, RGB(255, 255, 255)), textSystem(80, 20, RGB(255, 255, 255));
        RECT textRect1{0, 0, 80, 20}, textRect2{0, 0, 80, 20};
        DTTOPTS options{};
        options.dwSize = sizeof(options);
        options.dwFlags = DTT_TEXTCOLOR;
        options.crText = RGB(0, 0, 0);
        EXPECT_EQ(wrapper.DrawThemeTextEx(textWrapper.GetDC(), WP_CAPTION, CS_ACTIVE, L"Osmira", -1, DT_SINGLELINE,
                                          &textRect1, &options),
                  S_OK);
        DrawThemeTextEx(direct, textSystem.GetDC(), WP_CAPTION, CS_ACTIVE, L"Osmira", -1, DT_SINGLELINE, &textRect2,
                        &options);
        EXPECT_GT(textWrapper.CountNot(RGB(255, 255, 255)), 10) << "the text left no mark";
        EXPECT_EQ(textWrapper.All(), textSystem.All());
        CloseThemeData(direct);
    }
}

TEST(VisualStyleWrapper, BufferedPaintReachesTheTarget)
{
    COSMVisualStyleWrapper wrapper;
    foundation_test::DcTestSurface target(16, 16, RGB(255, 255, 255));
    const RECT rect{4, 4, 12, 12};
    HDC bufferDC = nullptr;
    const HPAINTBUFFER buffer =
        wrapper.BeginBufferedPaint(target.GetDC(), &rect, BPBF_COMPATIBLEBITMAP, nullptr, &bufferDC);
    ASSERT_NE(buffer, nullptr);
    ASSERT_NE(bufferDC, nullptr);
    HBRUSH brush = CreateSolidBrush(RGB(200, 10, 20));
    FillRect(bufferDC, &rect, brush);
    DeleteObject(brush);
    // Nothing reaches the target before the buffer ends.
    EXPECT_EQ(target.Pixel(8, 8), RGB(255, 255, 255));
    EXPECT_EQ(wrapper.EndBufferedPaint(buffer, TRUE), S_OK);
    EXPECT_EQ(target.Pixel(8, 8), RGB(200, 10, 20));
    EXPECT_EQ(target.Pixel(4, 4), RGB(200, 10, 20));
    EXPECT_EQ(target.Pixel(3, 3), RGB(255, 255, 255));
    EXPECT_EQ(target.Pixel(12, 12), RGB(255, 255, 255));
}

// ---- Desktop composition ----------------------------------------------------------------------------------------

TEST(DwmWrapper, ForwardsToTheLibraryWithMarginsInTheirOrder)
{
    COSMDwmFunctions functions(ThemeStubPath().c_str());
    CThemeStubState* stub = ThemeStubStateOf(ThemeStubPath());
    ASSERT_NE(stub, nullptr);
    ResetThemeStub(stub);
    COSMDwmWrapper wrapper(functions);
    const HWND window = reinterpret_cast<HWND>(0x2222);

    EXPECT_EQ(wrapper.DwmExtendFrameIntoClientArea(window, 1, 2, 3, 4), S_OK);
    EXPECT_EQ(stub->lastWindow, window);
    // MARGINS: left, right, top, bottom.
    EXPECT_EQ(stub->margins[0], 1);
    EXPECT_EQ(stub->margins[1], 3);
    EXPECT_EQ(stub->margins[2], 2);
    EXPECT_EQ(stub->margins[3], 4);

    struct Case
    {
        BOOL handles;
        LRESULT expected;
    } cases[] = {{TRUE, HTCLOSE}, {FALSE, -7}};
    for (const Case& c : cases)
    {
        stub->dwmHandles = c.handles;
        stub->dwmResult = HTCLOSE;
        LRESULT result = -7;
        EXPECT_EQ(wrapper.DwmDefWindowProc(window, WM_NCHITTEST, 0, 0, &result), c.handles);
        EXPECT_EQ(result, c.expected);
        EXPECT_EQ(stub->lastProperty, static_cast<int>(WM_NCHITTEST));
    }
    EXPECT_EQ(stub->calls[CThemeStubState::kDwmDefWindowProc], 2);
}

TEST(DwmWrapper, WithoutTheLibraryNothingIsHandled)
{
    for (const char* module : {"osmira-no-such-dwmapi.dll", "kernel32.dll"})
    {
        COSMDwmFunctions functions(module);
        COSMDwmWrapper wrapper(functions);
        LRESULT result = 42;
        // FALSE, not a failure code that would read as "handled".
        EXPECT_EQ(wrapper.DwmDefWindowProc(nullptr, WM_NCHITTEST, 0, 0, &result), FALSE) << module;
        EXPECT_EQ(result, 42);
        EXPECT_EQ(wrapper.DwmExtendFrameIntoClientArea(nullptr, 0, 0, 0, 0), E_FAIL);
    }
}

TEST(DwmWrapper, SystemLibraryAnswersAsDirectCalls)
{
    EXPECT_EQ(&GetDwmFunctions(), &GetDwmFunctions());
    EXPECT_EQ(GetDwmFunctions().GetModule(), GetModuleHandleA("dwmapi.dll"));

    // The desktop window: a real window that needs no display of this test's own.
    const HWND window = GetDesktopWindow();
    COSMDwmWrapper wrapper;
    const MARGINS margins{2, 4, 6, 8};
    EXPECT_EQ(wrapper.DwmExtendFrameIntoClientArea(window, 2, 6, 4, 8), DwmExtendFrameIntoClientArea(window, &margins));
    LRESULT viaWrapper = -1, direct = -1;
    const LPARAM point = MAKELPARAM(10, 10);
    EXPECT_EQ(wrapper.DwmDefWindowProc(window, WM_NCHITTEST, 0, point, &viaWrapper),
              DwmDefWindowProc(window, WM_NCHITTEST, 0, point, &direct));
    EXPECT_EQ(viaWrapper, direct);
}
