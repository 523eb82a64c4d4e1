// The status bar in a frame on the display, driven by real messages and SendInput: window text, pane texts and
// widths, hot tracking and presses, the gripper's hit test, painting and the panes' command UI.
#include "InputTestSupport.h"
#include "StatusBarTestSupport.h"

#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/foundation/ImageManager.h"
#include "framework/markup/Markup.h"

#include <gtest/gtest.h>

using commandbars_test::MoveMouseTo;
using commandbars_test::ScreenPoint;
using commandbars_test::SendMouseInput;
using commandbars_test::SendMouseMoveTo;
using namespace status_bar_test;
using commandbars_test::ActivateTestWindow;
using commandbars_test::PumpFor;
using commandbars_test::PumpUntil;

namespace {

const UINT kIconId = 0x7A52;

class StatusBarTest : public BarInFrameTest<COSMStatusBar>
{
protected:
    BOOL CreateBar() override { return bar.Create(&frame); }

    // Lays the frame out and paints it, so panes have their places.
    void Settle()
    {
        frame.RecalcLayout();
        frame.UpdateWindow();
        PumpFor(30);
    }
    CPoint PaneCentre(int index) { return ScreenPoint(bar, bar.GetPane(index)->GetRect().CenterPoint()); }
    CRect UpdateRect()
    {
        CRect rect;
        ::GetUpdateRect(bar.m_hWnd, &rect, FALSE);
        return rect;
    }
};

int TextWidth(HWND window, CFont& font, LPCSTR text)
{
    HDC dc = ::GetDC(window);
    HGDIOBJ old = ::SelectObject(dc, font.GetSafeHandle());
    SIZE extent{};
    ::GetTextExtentPoint32A(dc, text, static_cast<int>(strlen(text)), &extent);
    ::SelectObject(dc, old);
    ::ReleaseDC(window, dc);
    return extent.cx;
}

}  // namespace

TEST_F(StatusBarTest, WindowTextIsTheTextOfPaneZero)
{
    bar.AddIndicator(0)->SetText("Ready");
    const struct
    {
        WPARAM size;
        LRESULT copied;
        const char* text;
    } cases[] = {{10, 5, "Ready"}, {5, 4, "Read"}, {1, 0, ""}, {0, 0, "untouched"}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.size);
        char buffer[16] = "untouched";
        EXPECT_EQ(bar.SendMessage(WM_GETTEXT, c.size, reinterpret_cast<LPARAM>(buffer)), c.copied);
        EXPECT_STREQ(buffer, c.text);
    }
    EXPECT_EQ(bar.SendMessage(WM_GETTEXTLENGTH), 5);

    EXPECT_TRUE(::SetWindowTextA(bar.m_hWnd, "Saving"));
    EXPECT_STREQ(bar.GetPane(0)->GetText(), "Saving");
    // The frame's status line (menu prompts among its texts) lands in pane 0.
    frame.SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>("Opens a document"));
    EXPECT_STREQ(bar.GetPane(0)->GetText(), "Opens a document");

    // Without pane 0 there is nothing to set or read.
    ASSERT_TRUE(bar.RemoveIndicator(0));
    EXPECT_FALSE(::SetWindowTextA(bar.m_hWnd, "Lost"));
    char buffer[8] = "x";
    EXPECT_EQ(bar.SendMessage(WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(bar.SendMessage(WM_GETTEXTLENGTH), 0);
}

TEST_F(StatusBarTest, TextChangesParseOnceAndReLayOnlyWhenTheWidthFollows)
{
    bar.EnableMarkup();
    COSMStatusBarPane* following = bar.AddIndicator(ID_PANE_TEXT);
    COSMStatusBarPane* fixed = bar.AddIndicator(ID_PANE_CHECK);
    COSMStatusBarPane* last = bar.AddIndicator(ID_PANE_ENABLE);
    fixed->SetWidth(80);
    last->SetText("end");
    Settle();

    following->SetText("<TextBlock>Line 1</TextBlock>");
    COSMMarkupUIElement* parsed = following->GetMarkupUIElement();
    ASSERT_NE(parsed, nullptr);
    Settle();
    ASSERT_TRUE(UpdateRect().IsRectEmpty());
    following->SetText("<TextBlock>Line 1</TextBlock>");
    EXPECT_EQ(following->GetMarkupUIElement(), parsed) << "the same text was parsed again";
    EXPECT_TRUE(UpdateRect().IsRectEmpty()) << "the same text redrew";

    // A wider text in a pane that follows its content moves the panes after it.
    const CRect lastBefore = last->GetRect();
    following->SetText("<TextBlock>Line 1, column 20</TextBlock>");
    EXPECT_GT(last->GetRect().left, lastBefore.left);
    EXPECT_EQ(following->GetWidth(), following->GetBestWidth());
    Settle();

    // A fixed pane only redraws itself.
    const CRect lastPlace = last->GetRect();
    fixed->SetText("a much longer text than before");
    EXPECT_EQ(last->GetRect(), lastPlace);
    EXPECT_EQ(fixed->GetWidth(), 80);
    EXPECT_EQ(UpdateRect(), fixed->GetRect());
}

TEST_F(StatusBarTest, BestWidthsOfPlainMarkupAndIconPanes)
{
    COSMImageManagerIconHandle image;
    image.SetIcon(static_cast<HICON>(::LoadImageA(nullptr, MAKEINTRESOURCEA(32516), IMAGE_ICON, 16, 16, LR_SHARED)));
    ASSERT_TRUE(bar.GetImageManager()->SetIcon(image, kIconId));

    CFont& font = bar.GetPaintManager()->GetStatusFont();
    COSMStatusBarPane* plain = bar.AddIndicator(ID_PANE_TEXT);
    plain->SetText("Ready");
    plain->SetPadding(CRect(3, 0, 4, 0));
    EXPECT_EQ(plain->GetBestWidth(), TextWidth(bar.m_hWnd, font, "Ready") + 7);

    plain->SetIconId(static_cast<int>(kIconId));
    EXPECT_EQ(plain->GetBestWidth(), TextWidth(bar.m_hWnd, font, "Ready") + 7 + 16 + 2);
    plain->SetText("");
    EXPECT_EQ(plain->GetBestWidth(), 7 + 16) << "no text: no gap after the icon";

    bar.EnableMarkup();
    COSMStatusBarPane* markup = bar.AddIndicator(ID_PANE_CHECK);
    markup->SetText("<TextBlock FontWeight='Bold'>Ready</TextBlock>");
    ASSERT_NE(markup->GetMarkupUIElement(), nullptr);
    const int measured = MeasureMarkupElement(markup->GetMarkupUIElement(), 0x7FFFFFFF, 0x7FFFFFFF).cx;
    EXPECT_GT(measured, 0);
    EXPECT_EQ(markup->GetBestWidth(), measured);
    bar.GetImageManager()->RemoveAll();
}

TEST_F(StatusBarTest, PanesAreLaidOutLeftToRightWithTheStretchingPaneTakingTheRest)
{
    COSMStatusBarPane* stretch = bar.AddIndicator(0);
    stretch->SetStyle(COSMStatusBarPane::kStyleStretch);
    COSMStatusBarPane* fixed = bar.AddIndicator(ID_PANE_CHECK);
    fixed->SetWidth(60);
    COSMStatusBarPane* hidden = bar.AddIndicator(ID_PANE_ENABLE);
    hidden->SetVisible(FALSE);
    Settle();
    CRect client;
    bar.GetClientRect(&client);
    EXPECT_EQ(stretch->GetRect().left, 0);
    EXPECT_EQ(fixed->GetRect().Width(), 60);
    EXPECT_EQ(fixed->GetRect().right, client.right - bar.GetGripperWidth()) << "the gripper's room stays free";
    EXPECT_TRUE(hidden->GetRect().IsRectEmpty());
    CRect barRect;
    bar.GetWindowRect(&barRect);
    frame.ScreenToClient(&barRect);
    CRect frameClient;
    frame.GetClientRect(&frameClient);
    EXPECT_EQ(barRect.bottom, frameClient.bottom) << "a bottom bar";
    EXPECT_EQ(bar.GetDlgCtrlID(), 0xE801);
    // Taller than its font, and never below the stored minimum.
    bar.SendMessage(0x0408, 40);
    EXPECT_EQ(bar.CalcFixedLayout(TRUE, TRUE).cy, 40 + CControlBar::kEdgeWidth);
}

TEST_F(StatusBarTest, OnlyEnabledButtonPanesGetHotAndLeavingClearsIt)
{
    bar.AddIndicator(ID_PANE_TEXT)->SetText("plain");
    COSMStatusBarPane* button = bar.AddIndicator(ID_PANE_BUTTON);
    button->SetText("button");
    button->SetButton(TRUE);
    COSMStatusBarPane* disabled = bar.AddIndicator(ID_PANE_ENABLE);
    disabled->SetText("disabled");
    disabled->SetButton(TRUE);
    disabled->SetEnabled(FALSE);
    Settle();

    const struct
    {
        int pane;
        COSMStatusBarPane* hot;
    } moves[] = {{1, button}, {0, nullptr}, {1, button}, {2, nullptr}, {1, button}};
    for (const auto& move : moves)
    {
        SCOPED_TRACE(move.pane);
        MoveMouseTo(PaneCentre(move.pane));
        EXPECT_EQ(bar.GetHotPane(), move.hot);
    }
    MoveMouseTo(ScreenPoint(frame, CPoint(100, 50)));
    PumpUntil([&] { return bar.GetHotPane() == nullptr; });
    EXPECT_EQ(bar.GetHotPane(), nullptr) << "leaving the bar keeps a hot pane";
}

TEST_F(StatusBarTest, AButtonPaneClicksOnlyWhenReleasedOverIt)
{
    bar.AddIndicator(0)->SetText("Ready");
    COSMStatusBarPane* button = bar.AddIndicator(ID_PANE_BUTTON);
    button->SetText("Zoom");
    button->SetButton(TRUE);
    Settle();

    // Pressed while held; released off it: no command.
    BOOL pressedWhileHeld = FALSE;
    MoveMouseTo(PaneCentre(1));
    commandbars_test::Scheduled::After(bar.m_hWnd, 100, [&] {
        pressedWhileHeld = button->IsPressed();
        SendMouseMoveTo(PaneCentre(0));
        SendMouseInput(MOUSEEVENTF_LEFTUP);
    });
    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    PumpFor(400);
    EXPECT_TRUE(pressedWhileHeld);
    EXPECT_FALSE(button->IsPressed());
    EXPECT_TRUE(frame.commands.empty());

    // Released over it: its command goes to the frame.
    commandbars_test::ClickAt(PaneCentre(1));
    PumpFor(100);
    EXPECT_EQ(frame.commands, std::vector<UINT>{ID_PANE_BUTTON});
}

TEST_F(StatusBarTest, ASwitchSendsItsOwnCommand)
{
    COSMStatusBarSwitchPane* switches = bar.AddSwitchPane(ID_SWITCHES);
    switches->AddSwitch(ID_SWITCH_A);
    switches->AddSwitch(ID_SWITCH_B);
    switches->AddSwitch(ID_PANE_BUTTON);
    Settle();
    ASSERT_EQ(switches->GetSwitch(0)->width, 18);
    const CRect third = switches->GetSwitchRect(2);
    MoveMouseTo(ScreenPoint(bar, third.CenterPoint()));
    EXPECT_TRUE(switches->GetSwitch(2)->hot);
    EXPECT_FALSE(switches->GetSwitch(0)->hot);
    commandbars_test::ClickAt(ScreenPoint(bar, third.CenterPoint()));
    PumpFor(100);
    EXPECT_EQ(frame.commands, std::vector<UINT>{ID_PANE_BUTTON});
}

TEST_F(StatusBarTest, TheGripperSizesTheFrameUnlessItIsMaximised)
{
    bar.AddIndicator(0)->SetStyle(COSMStatusBarPane::kStyleStretch);
    Settle();
    CRect window;
    bar.GetWindowRect(&window);
    const int gripper = ::GetSystemMetrics(SM_CXVSCROLL) + 2 * ::GetSystemMetrics(SM_CXBORDER);
    ASSERT_EQ(bar.GetGripperWidth(), gripper);
    const CPoint middle = window.CenterPoint();
    const struct
    {
        CPoint point;
        LRESULT hit;
    } cases[] = {{CPoint(window.right - 1, middle.y), HTBOTTOMRIGHT},
                 {CPoint(window.right - gripper, middle.y), HTBOTTOMRIGHT},
                 {CPoint(window.right - gripper - 1, middle.y), HTCLIENT},
                 {CPoint(window.left, window.bottom - 1), HTCLIENT},  // no ribbon frame: the bottom edge is the bar's
                 {middle, HTCLIENT}};
    for (const auto& c : cases)
        EXPECT_EQ(bar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(c.point.x, c.point.y)), c.hit) << c.point.x;

    // Right to left, the gripper is on the left.
    bar.ModifyStyleEx(0, WS_EX_LAYOUTRTL);
    EXPECT_EQ(bar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(window.left + 1, middle.y)), HTBOTTOMLEFT);
    EXPECT_EQ(bar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(window.right - 1, middle.y)), HTCLIENT);
    bar.ModifyStyleEx(WS_EX_LAYOUTRTL, 0);

    // Sizing from the bar sizes the frame.
    bar.SendMessage(WM_SYSCOMMAND, 0xF006, 0);
    EXPECT_EQ(frame.sysCommands, std::vector<UINT>{0xF006});

    frame.ShowWindow(SW_MAXIMIZE);
    Settle();
    bar.GetWindowRect(&window);
    EXPECT_EQ(bar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(window.right - 1, window.CenterPoint().y)), HTCLIENT);
}

// A real press on the gripper: the system turns it into the bar's size command for the corner (SC_SIZE with
// WMSZ_BOTTOMRIGHT, or WMSZ_BOTTOMLEFT right to left), which the bar hands to the frame; a press beside it sizes
// nothing.
TEST_F(StatusBarTest, APressOnTheGripperAsksTheFrameToSizeFromItsCorner)
{
    bar.AddIndicator(0)->SetStyle(COSMStatusBarPane::kStyleStretch);
    Settle();
    const struct
    {
        const char* name;
        BOOL rightToLeft;
        bool onGripper;
        std::vector<UINT> sysCommands;
    } cases[] = {
        {"the gripper", FALSE, true, {0xF008}},
        {"the gripper right to left", TRUE, true, {0xF007}},
        {"beside the gripper", FALSE, false, {}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        if (c.rightToLeft)
            bar.ModifyStyleEx(0, WS_EX_LAYOUTRTL);
        Settle();
        CRect window;
        bar.GetWindowRect(&window);
        const int gripper = bar.GetGripperWidth();
        const int y = window.CenterPoint().y;
        const int x = !c.onGripper ? window.right - gripper - 20
                                   : (c.rightToLeft ? window.left + gripper / 2 : window.right - gripper / 2);
        frame.sysCommands.clear();
        commandbars_test::ClickAt(CPoint(x, y));
        PumpFor(50);
        EXPECT_EQ(c.sysCommands, frame.sysCommands);
        if (c.rightToLeft)
            bar.ModifyStyleEx(WS_EX_LAYOUTRTL, 0);
    }
}

TEST_F(StatusBarTest, PaintingFillsBordersSeparatorsAndTheGripper)
{
    COSMStatusBarPane* first = bar.AddIndicator(0);
    first->SetStyle(COSMStatusBarPane::kStyleNoBorders);
    first->SetBeginGroup(TRUE);  // the first visible pane: no separator
    bar.AddIndicator(ID_PANE_TEXT)->SetText("bordered");
    COSMStatusBarPane* grouped = bar.AddIndicator(ID_PANE_CHECK);
    grouped->SetStyle(COSMStatusBarPane::kStyleNoBorders);
    grouped->SetBeginGroup(TRUE);
    bar.AddIndicator(ID_PANE_ENABLE)->SetText("last");
    bar.AddIndicator(ID_PANE_BUTTON)->SetVisible(FALSE);
    Settle();

    CRect client;
    bar.GetClientRect(&client);
    const struct
    {
        bool maximised;
        std::vector<std::string> calls;
    } cases[] = {{false, {"fill", "border 1", "separator 2", "border 3 last", "gripper"}},
                 {true, {"fill", "border 1", "separator 2", "border 3 last"}}};
    for (const auto& c : cases)
    {
        frame.ShowWindow(c.maximised ? SW_MAXIMIZE : SW_RESTORE);
        Settle();
        bar.GetClientRect(&client);
        HDC screen = ::GetDC(nullptr);
        HDC dc = ::CreateCompatibleDC(screen);
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, client.Width(), client.Height());
        ::ReleaseDC(nullptr, screen);
        HGDIOBJ old = ::SelectObject(dc, bitmap);
        paintManager->log.clear();
        EXPECT_EQ(bar.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT), 1);
        EXPECT_EQ(paintManager->log, c.calls);
        // Above the panes the fill shows.
        EXPECT_EQ(::GetPixel(dc, client.right - bar.GetGripperWidth() - 1, 0), paintManager->GetColor(COLOR_BTNFACE));
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
    }
}

TEST_F(StatusBarTest, PanesTakeTheirStateFromTheFramesUpdateHandlers)
{
    COSMStatusBarPane* enable = bar.AddIndicator(ID_PANE_ENABLE);
    COSMStatusBarPane* check = bar.AddIndicator(ID_PANE_CHECK);
    COSMStatusBarPane* text = bar.AddIndicator(ID_PANE_TEXT);
    COSMStatusBarPane* unhandled = bar.AddIndicator(0x7199);
    COSMStatusBarSwitchPane* switches = bar.AddSwitchPane(ID_SWITCHES);
    switches->AddSwitch(ID_SWITCH_A);
    switches->AddSwitch(ID_SWITCH_B);
    Settle();

    CWinThread thread(nullptr, nullptr);  // never started: only its idle step runs here
    thread.m_pMainWnd = &frame;
    thread.OnIdle(0);
    EXPECT_FALSE(enable->IsEnabled());
    EXPECT_TRUE(check->HasPopoutStyle());
    EXPECT_STREQ(text->GetText(), "Line 5");
    EXPECT_FALSE(unhandled->IsEnabled()) << "a pane nobody answers for goes grey";
    EXPECT_TRUE(switches->IsEnabled()) << "a switch pane's id names its group, not a command";
    EXPECT_TRUE(switches->GetSwitch(0)->checked);
    EXPECT_FALSE(switches->GetSwitch(1)->enabled);
}

namespace {

// A bar whose right-button menu is a popup of the given commands.
class CMenuStatusBar : public COSMStatusBar
{
public:
    std::vector<UINT> menuIds;
    int menusMade = 0;
    COSMPopupBar* CreateContextMenu() override
    {
        ++menusMade;
        COSMPopupBar* popup = COSMPopupBar::CreatePopupBar(GetCommandBars());
        for (UINT id : menuIds)
            popup->GetControls()->Add(1, static_cast<int>(id))->SetCaption("Item");
        return popup;
    }
};

}  // namespace

TEST_F(StatusBarTest, TheRightButtonMenuOpensOnlyWithCustomizationAndControls)
{
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    commandBars->SetSite(&frame);
    CMenuStatusBar menuBar;
    menuBar.SetCommandBars(commandBars.Get());
    bar.DestroyWindow();
    ASSERT_TRUE(menuBar.Create(&frame));
    menuBar.AddIndicator(0)->SetStyle(COSMStatusBarPane::kStyleStretch);
    Settle();
    const CPoint point = ScreenPoint(menuBar, menuBar.GetPane(0)->GetRect().CenterPoint());
    auto rightClick = [&] {
        MoveMouseTo(point);
        SendMouseInput(MOUSEEVENTF_RIGHTDOWN);
        SendMouseInput(MOUSEEVENTF_RIGHTUP);
    };

    rightClick();
    PumpFor(100);
    EXPECT_EQ(menuBar.menusMade, 0) << "customization is off";

    menuBar.EnableCustomization();
    rightClick();
    PumpFor(100);
    EXPECT_EQ(menuBar.menusMade, 1);  // an empty menu is not shown: nothing tracks

    menuBar.menuIds = {ID_PANE_TEXT};
    bool tracked = false;
    commandbars_test::Scheduled::After(frame.m_hWnd, 150, [&] {
        tracked = GetThreadMouseManager() && GetThreadMouseManager()->GetTrackedCount() > 0;
        commandbars_test::QueueKey(VK_ESCAPE);
    });
    rightClick();
    PumpFor(500);
    EXPECT_EQ(menuBar.menusMade, 2);
    EXPECT_TRUE(tracked) << "the menu with a control did not open";
    menuBar.DestroyWindow();
}
