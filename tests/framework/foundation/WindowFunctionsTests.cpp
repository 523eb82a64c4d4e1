// Key direction in mirrored windows, the active top-level window, window text and class registration, with
// real windows.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "classlib/CString.h"
#include "framework/foundation/LayoutFunctions.h"
#include "framework/foundation/WindowFunctions.h"

namespace {

HWND MakeWindow(DWORD exStyle, DWORD style, HWND parent = nullptr, const char* text = "")
{
    return CreateWindowExA(exStyle, "STATIC", text, style, 0, 0, 100, 50, parent, nullptr, GetModuleHandleA(nullptr),
                           nullptr);
}

}  // namespace

TEST(WindowFunctions, ArrowKeysTradePlacesOnlyInMirroredWindows)
{
    HWND mirrored = MakeWindow(WS_EX_LAYOUTRTL, WS_POPUP);
    HWND plain = MakeWindow(0, WS_POPUP);
    HWND gone = MakeWindow(WS_EX_LAYOUTRTL, WS_POPUP);
    ASSERT_TRUE(mirrored && plain && gone);
    ASSERT_TRUE(GetWindowLongA(mirrored, GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
    DestroyWindow(gone);

    struct Case
    {
        HWND window;
        UINT key, expected;
    } cases[] = {
        {mirrored, VK_LEFT, VK_RIGHT}, {mirrored, VK_RIGHT, VK_LEFT}, {mirrored, VK_UP, VK_UP},
        {mirrored, 'A', 'A'},          {plain, VK_LEFT, VK_LEFT},     {plain, VK_RIGHT, VK_RIGHT},
        {gone, VK_LEFT, VK_LEFT},      {nullptr, VK_RIGHT, VK_RIGHT},
    };
    for (const Case& c : cases)
    {
        UINT key = c.key;
        KeyToLayout(c.window, key);
        EXPECT_EQ(key, c.expected) << c.window << " " << c.key;
    }
    DestroyWindow(mirrored);
    DestroyWindow(plain);
}

TEST(WindowFunctions, TopParentIsActiveWhenItHasTheForeground)
{
    HWND front = MakeWindow(0, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND child = MakeWindow(0, WS_CHILD | WS_VISIBLE, front);
    HWND other = MakeWindow(0, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_TRUE(front && child && other);
    ASSERT_TRUE(SetForegroundWindow(front));
    ASSERT_EQ(GetForegroundWindow(), front);

    EXPECT_TRUE(IsTopParentActive(front));
    EXPECT_TRUE(IsTopParentActive(child));
    EXPECT_FALSE(IsTopParentActive(other));
    EXPECT_FALSE(IsTopParentActive(nullptr));

    ASSERT_TRUE(SetForegroundWindow(other));
    EXPECT_FALSE(IsTopParentActive(child));
    EXPECT_TRUE(IsTopParentActive(other));
    DestroyWindow(other);
    DestroyWindow(front);
}

TEST(WindowFunctions, WindowTextComesWhole)
{
    const std::string longText(1000, 'x');
    for (const std::string& text : {std::string("Osmira"), std::string(), longText})
    {
        HWND window = MakeWindow(0, WS_POPUP, nullptr, text.c_str());
        ASSERT_NE(window, nullptr);
        CString read = "stale";
        GetWindowTextString(window, read);
        EXPECT_EQ(std::string(static_cast<LPCSTR>(read)), text);
        DestroyWindow(window);
    }
}

TEST(WindowFunctions, RegisteredClassHasTheDefaultProcedureAndTheArrow)
{
    HBRUSH background = GetSysColorBrush(COLOR_BTNFACE);
    ASSERT_TRUE(RegisterWindowClass(nullptr, "OsmTestFrameClass", CS_DBLCLKS | CS_HREDRAW, nullptr, background));
    WNDCLASSA found{};
    ASSERT_TRUE(GetClassInfoA(AfxGetInstanceHandle(), "OsmTestFrameClass", &found));
    EXPECT_EQ(found.style, static_cast<UINT>(CS_DBLCLKS | CS_HREDRAW));
    EXPECT_EQ(found.hCursor, LoadCursor(nullptr, IDC_ARROW));
    EXPECT_EQ(found.hbrBackground, background);
    // Its windows behave as DefWindowProc makes them: the text set is the text read.
    HWND window = CreateWindowExA(0, "OsmTestFrameClass", "made", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  AfxGetInstanceHandle(), nullptr);
    ASSERT_NE(window, nullptr);
    CString text;
    GetWindowTextString(window, text);
    EXPECT_STREQ(static_cast<LPCSTR>(text), "made");
    DestroyWindow(window);
    // A second registration finds the class there.
    EXPECT_TRUE(RegisterWindowClass(nullptr, "OsmTestFrameClass", 0));
}
