// A collapsed menu expanded by Ctrl+Down grows with the expanding animation: each step is drawn into the popup's
// window, already at its final size; the command it reveals opens up while the rest keeps its look and makes room
// (below it in a menu that grows downward, above it in one that grows upward at the foot of the screen), and the last
// step is the whole menu. Without menu animation the menu simply grows. The steps are read back from the window in
// the paint manager's wait between them. A menu the keyboard opened takes its keyboard tips away while it grows and
// shows them again where its commands went.
#include "classlib/DC.h"
#include "CommandBarsTestIds.h"
#include "InputTestSupport.h"

#include "framework/commandbars/CommandBarKeyboardTip.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/MenuBar.h"
#include "framework/commandbars/PopupPlacement.h"
#include "framework/commandbars/PaintManager.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace commandbars_test;

namespace {

// One step as the popup's window showed it: its screen rectangle and its client pixels, row by row.
struct AnimationStep
{
    CRect window;
    std::vector<DWORD> pixels;
};

HWND g_animated = nullptr;
std::vector<AnimationStep> g_steps;
// How many keyboard-tip windows showed on the screen at each step.
std::vector<int> g_tipsAtSteps;

// The keyboard-tip windows that show on the screen, wherever they came from.
int VisibleKeyboardTipWindows()
{
    int shown = 0;
    for (HWND window = ::FindWindowExA(nullptr, nullptr, "OSMKeyboardTip", nullptr); window;
         window = ::FindWindowExA(nullptr, window, "OSMKeyboardTip", nullptr))
        shown += ::IsWindowVisible(window) ? 1 : 0;
    return shown;
}

std::vector<DWORD> ReadClient(HWND window)
{
    CRect client;
    ::GetClientRect(window, &client);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = client.Width();
    info.bmiHeader.biHeight = -client.Height();  // top-down: row y starts at y * width
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC windowDC = ::GetDC(window);
    HBITMAP section = ::CreateDIBSection(windowDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = ::CreateCompatibleDC(windowDC);
    std::vector<DWORD> pixels;
    if (section && memory)
    {
        HGDIOBJ old = ::SelectObject(memory, section);
        ::BitBlt(memory, 0, 0, client.Width(), client.Height(), windowDC, 0, 0, SRCCOPY);
        ::GdiFlush();
        const auto* first = static_cast<const DWORD*>(bits);
        pixels.assign(first, first + client.Width() * client.Height());
        for (DWORD& pixel : pixels)
            pixel &= 0x00FFFFFF;
        ::SelectObject(memory, old);
    }
    if (memory)
        ::DeleteDC(memory);
    if (section)
        ::DeleteObject(section);
    ::ReleaseDC(window, windowDC);
    return pixels;
}

// The paint manager's wait between two steps: the step just drawn is read back.
void WINAPI RecordStep(DWORD)
{
    if (!g_animated)
        return;
    AnimationStep step;
    ::GetWindowRect(g_animated, &step.window);
    step.pixels = ReadClient(g_animated);
    g_steps.push_back(std::move(step));
    g_tipsAtSteps.push_back(VisibleKeyboardTipWindows());
}

class PopupExpandingAnimationTest : public ActivePopupSiteTest
{
protected:
    void SetUp() override
    {
        ActivePopupSiteTest::SetUp();
        COSMCommandBarsOptions* options = commandBars->GetCommandBarsOptions();
        options->m_alwaysShowFullMenus = FALSE;
        options->m_hiddenCommands.SetAt(102, 1);
        paintManager = commandBars->GetPaintManager();
        ASSERT_NE(nullptr, paintManager);
        savedSteps = paintManager->m_animationSteps;
        savedDuration = paintManager->m_animationDuration;
        paintManager->m_animationSteps = kSteps;
        paintManager->m_animationDuration = 40;
        COSMPaintManager::SetAnimationClock(nullptr, &RecordStep);
    }
    void TearDown() override
    {
        g_animated = nullptr;
        g_steps.clear();
        g_tipsAtSteps.clear();
        COSMPaintManager::SetAnimationClock(nullptr, nullptr);
        if (paintManager)
        {
            paintManager->m_animationSteps = savedSteps;
            paintManager->m_animationDuration = savedDuration;
        }
        ActivePopupSiteTest::TearDown();
    }

    // Opens a popup of three commands (the middle one hidden) at (200, y), then expands it with Ctrl+Down pressed
    // for real while the animation's steps are recorded; the window's rectangle before and after.
    void OpenAndExpand(RefPtr<COSMPopupBar>& popup, int y, CRect& collapsed, CRect& expanded)
    {
        popup = MakePopup({101, 102, 103});
        ASSERT_TRUE(popup->Popup(200, y));
        PumpFor(50);
        ASSERT_TRUE(popup->IsCollapsed());
        popup->GetWindowRect(&collapsed);
        g_steps.clear();
        g_animated = popup->GetSafeHwnd();
        SendKey(VK_CONTROL, true, false);
        SendKey(VK_DOWN);
        SendKey(VK_CONTROL, false, true);
        g_animated = nullptr;
        ASSERT_TRUE(popup->IsExpanded());
        popup->GetWindowRect(&expanded);
    }

    static constexpr int kSteps = 4;
    COSMPaintManager* paintManager = nullptr;
    int savedSteps = 0;
    int savedDuration = 0;
};

// Rows of a step that must show rows of the whole menu: count rows from row `from` of the menu at row `to`.
void ExpectRowsShown(const std::vector<DWORD>& step, const std::vector<DWORD>& menu, int width, int from, int to,
                     int count, const char* what)
{
    for (int row = 0; row < count; ++row)
    {
        const auto shown = step.begin() + static_cast<ptrdiff_t>(to + row) * width;
        const auto drawn = menu.begin() + static_cast<ptrdiff_t>(from + row) * width;
        if (!std::equal(drawn, drawn + width, shown))
        {
            ADD_FAILURE() << what << ": row " << from + row << " of the menu is not at row " << to + row;
            return;
        }
    }
}

TEST_F(PopupExpandingAnimationTest, TheRevealedCommandOpensUpStepByStep)
{
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    const struct
    {
        const char* what;
        int animation;  // the options' "Animation"
        int y;          // where the menu opens
        bool downward;
    } cases[] = {
        {"slide, growing downward", kPopupAnimationSlide, 150, true},
        {"unfold, growing upward at the foot of the screen", kPopupAnimationUnfold, screenHeight - 4, false},
        {"fade, growing downward", kPopupAnimationFade, 150, true},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        commandBars->GetCommandBarsOptions()->m_animation = c.animation;
        RefPtr<COSMPopupBar> popup;
        CRect collapsed;
        CRect expanded;
        ASSERT_NO_FATAL_FAILURE(OpenAndExpand(popup, c.y, collapsed, expanded));
        ASSERT_GT(expanded.Height(), collapsed.Height());
        EXPECT_EQ(c.downward, collapsed.bottom < expanded.bottom);

        ASSERT_EQ(static_cast<size_t>(kSteps), g_steps.size());
        const int width = expanded.Width();
        const int height = expanded.Height();
        for (const AnimationStep& step : g_steps)
        {
            EXPECT_EQ(expanded, step.window);
            ASSERT_EQ(static_cast<size_t>(width) * height, step.pixels.size());
        }
        // The last step is the whole menu, as the popup draws itself with nothing selected.
        const std::vector<DWORD>& menu = g_steps.back().pixels;
        {
            popup->SetSelected(-1, COSMCommandBar::kSelectMouse);
            CClientDC screen(popup.Get());
            CDC image;
            image.CreateCompatibleDC(&screen);
            CBitmap bits;
            bits.CreateCompatibleBitmap(&screen, width, height);
            CBitmap* old = image.SelectObject(&bits);
            popup->DrawCommandBar(&image, CRect(0, 0, width, height));
            image.SelectObject(old);
            // Read through a window-independent copy: the bitmap's own pixels.
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
            info.bmiHeader.biWidth = width;
            info.bmiHeader.biHeight = -height;
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            info.bmiHeader.biCompression = BI_RGB;
            std::vector<DWORD> drawn(static_cast<size_t>(width) * height);
            ASSERT_EQ(height, ::GetDIBits(screen.GetSafeHdc(), static_cast<HBITMAP>(bits.GetSafeHandle()), 0, height,
                                          drawn.data(), &info, DIB_RGB_COLORS));
            for (DWORD& pixel : drawn)
                pixel &= 0x00FFFFFF;
            EXPECT_TRUE(drawn == menu) << "the last step is not the menu";
        }

        // Bands of the menu: above the revealed command, the command itself, below it.
        const CRect revealed = popup->GetControls()->FindControlById(102)->GetRect();
        const int above = popup->GetControls()->FindControlById(101)->GetRect().bottom;
        const int below = popup->GetControls()->FindControlById(103)->GetRect().top;
        ASSERT_TRUE(above <= revealed.top && revealed.bottom <= below);
        for (int k = 1; k < kSteps; ++k)
        {
            SCOPED_TRACE("step " + std::to_string(k));
            const std::vector<DWORD>& step = g_steps[k - 1].pixels;
            EXPECT_FALSE(step == menu);
            if (c.downward)
            {
                // The band of the revealed command runs from the top of 102 to the top of 103, growing by k/steps.
                const int grown = (below - revealed.top) * k / kSteps;
                ExpectRowsShown(step, menu, width, 0, 0, revealed.top, "the rows above stay");
                ExpectRowsShown(step, menu, width, below, revealed.top + grown, height - below, "the rows below move");
            }
            else
            {
                // Walking up: the band runs from the bottom of 102 to the bottom of 101.
                const int grown = (revealed.bottom - above) * k / kSteps;
                const int shift = revealed.bottom - grown - above;
                ExpectRowsShown(step, menu, width, revealed.bottom, revealed.bottom, height - revealed.bottom,
                                "the rows below stay");
                ExpectRowsShown(step, menu, width, 0, shift, above, "the rows above move");
            }
        }
        popup->SetTrackingMode(0, TRUE, FALSE);
        PumpFor(30);
    }
}

TEST_F(PopupExpandingAnimationTest, WithoutMenuAnimationTheMenuSimplyGrows)
{
    commandBars->GetCommandBarsOptions()->m_animation = kPopupAnimationNone;
    RefPtr<COSMPopupBar> popup;
    CRect collapsed;
    CRect expanded;
    ASSERT_NO_FATAL_FAILURE(OpenAndExpand(popup, 150, collapsed, expanded));
    EXPECT_GT(expanded.Height(), collapsed.Height());
    EXPECT_TRUE(g_steps.empty());
    popup->SetTrackingMode(0, TRUE, FALSE);
}

// A frame with a menu bar whose Edit menu (Undo, Paste, Find) opens collapsed, Paste hidden as not used, and the
// keyboard tips on.
class KeyboardTipsExpandingTest : public PopupExpandingAnimationTest
{
protected:
    void SetUp() override
    {
        PopupExpandingAnimationTest::SetUp();
        COSMCommandBarsOptions* options = commandBars->GetCommandBarsOptions();
        options->m_keyboardTips = TRUE;
        options->m_hiddenCommands.SetAt(ID_TEST_PASTE, 1);
        for (UINT id : {ID_TEST_UNDO, ID_TEST_PASTE, ID_TEST_FIND})
            frame.HandleCommand(id);
        ASSERT_TRUE(commandBars->CreateDockBars());
        menuBar = commandBars->AddMenuBar("Menu Bar", IDR_TEST_EDIT_MENU);
        ASSERT_NE(nullptr, menuBar);
        frame.RecalcLayout();
        PumpFor(50);
        auto* edit = dynamic_cast<COSMControlPopup*>(menuBar->GetControl(0));
        ASSERT_NE(nullptr, edit);
        menu = dynamic_cast<COSMPopupBar*>(edit->GetCommandBar());
        ASSERT_NE(nullptr, menu);
    }
    void TearDown() override
    {
        QueueKeyEvent(VK_CONTROL, true);
        QueueKeyEvent(VK_MENU, true);
        if (commandBars)
        {
            commandBars->HideKeyboardTips();
            commandBars->ClosePopups();
        }
        PopupExpandingAnimationTest::TearDown();
    }

    // Each tip of the menu sits where its command is now: 12 right of the command's left side, 11 above its bottom.
    void ExpectTipsOnTheMenu()
    {
        ASSERT_EQ(menu, commandBars->GetKeyboardTipsBar());
        for (const auto& tip : commandBars->GetKeyboardTips())
        {
            const auto* control = dynamic_cast<COSMControl*>(tip->GetOwner());
            ASSERT_NE(nullptr, control);
            SCOPED_TRACE(static_cast<LPCSTR>(control->GetCaption()));
            EXPECT_EQ(menu, control->GetParent());
            ASSERT_TRUE(tip->GetSafeHwnd() && ::IsWindowVisible(tip->GetSafeHwnd()));
            CRect tipRect;
            ::GetWindowRect(tip->GetSafeHwnd(), &tipRect);
            EXPECT_EQ(ScreenPoint(*menu, CPoint(control->GetRect().left + 12, control->GetRect().bottom - 11)),
                      tipRect.TopLeft());
        }
        // No window of an earlier tip is left on the screen.
        EXPECT_EQ(static_cast<int>(commandBars->GetKeyboardTips().size()), VisibleKeyboardTipWindows());
    }

    COSMCommandBar* menuBar = nullptr;
    COSMPopupBar* menu = nullptr;
};

TEST_F(KeyboardTipsExpandingTest, TheTipsLeaveWhileTheMenuGrowsAndComeBackWhereItsCommandsWent)
{
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    const struct
    {
        const char* what;
        int animation;  // the options' "Animation"
        int frameTop;   // where the frame stands: near the foot of the screen the menu opens upward
        bool downward;
    } cases[] = {
        {"slide, growing downward", kPopupAnimationSlide, 100, true},
        {"unfold, growing upward above its title", kPopupAnimationUnfold, screenHeight - 120, false},
        {"no animation, growing downward", kPopupAnimationNone, 100, true},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        commandBars->GetCommandBarsOptions()->m_animation = c.animation;
        frame.SetWindowPos(nullptr, 100, c.frameTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        PumpFor(50);

        // Alt+E opens Edit from the keyboard; the menu shows its own tips.
        SendKey(VK_MENU, true, false);
        SendKey('E');
        SendKey(VK_MENU, false, true);
        ASSERT_TRUE(PumpUntil([&] { return menu->IsWindowVisible() && commandBars->GetKeyboardTipsBar() == menu; }));
        PumpFor(50);
        ASSERT_TRUE(menu->IsCollapsed());
        ASSERT_NO_FATAL_FAILURE(ExpectTipsOnTheMenu());
        const COSMControl* paste = menu->GetControls()->FindControlById(ID_TEST_PASTE);
        ASSERT_NE(nullptr, paste);
        CRect collapsed;
        menu->GetWindowRect(&collapsed);

        // Ctrl+Down expands it; the animation's steps see the screen.
        g_steps.clear();
        g_tipsAtSteps.clear();
        g_animated = menu->GetSafeHwnd();
        SendKey(VK_CONTROL, true, false);
        SendKey(VK_DOWN);
        SendKey(VK_CONTROL, false, true);
        g_animated = nullptr;
        ASSERT_TRUE(menu->IsExpanded());
        CRect expanded;
        menu->GetWindowRect(&expanded);
        ASSERT_GT(expanded.Height(), collapsed.Height());
        EXPECT_EQ(c.downward, collapsed.bottom < expanded.bottom);
        if (c.animation == kPopupAnimationNone)
            EXPECT_TRUE(g_tipsAtSteps.empty());
        else
            EXPECT_EQ(static_cast<size_t>(kSteps), g_tipsAtSteps.size());
        for (size_t step = 0; step < g_tipsAtSteps.size(); ++step)
            EXPECT_EQ(0, g_tipsAtSteps[step]) << "tip windows during step " << step + 1;

        // Back on the grown menu: Paste has a tip now, and every tip stands at its command.
        ASSERT_TRUE(PumpUntil([&] { return commandBars->GetKeyboardTipsBar() == menu; }))
            << "the tips did not come back";
        PumpFor(50);
        ASSERT_NO_FATAL_FAILURE(ExpectTipsOnTheMenu());
        bool pasteTip = false;
        for (const auto& tip : commandBars->GetKeyboardTips())
            pasteTip = pasteTip || tip->GetOwner() == paste;
        EXPECT_TRUE(pasteTip);

        commandBars->HideKeyboardTips();
        commandBars->ClosePopups();
        CreateMouseManager()->SendTrackLost();
        PumpFor(50);
        ASSERT_FALSE(menu->IsWindowVisible());
    }
}

}  // namespace
