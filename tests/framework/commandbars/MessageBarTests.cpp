// The message bar in a frame on the display, pressed with SendInput: its inner rectangle, its button layout, and the
// press that clicks only when released over the button, cancelled by Escape, WM_CANCELMODE and the right button,
// and ended by a quit that the application's loop still gets.
#include "InputTestSupport.h"
#include "StatusBarTestSupport.h"

#include "framework/commandbars/MessageBar.h"

#include <gtest/gtest.h>

using commandbars_test::MoveMouseTo;
using commandbars_test::QueueKey;
using commandbars_test::Scheduled;
using commandbars_test::ScreenPoint;
using commandbars_test::SendMouseInput;
using commandbars_test::SendMouseMoveTo;
using namespace status_bar_test;
using commandbars_test::ActivateTestWindow;
using commandbars_test::PumpFor;
using commandbars_test::PumpUntil;

namespace {

const UINT ID_KEEP = 0x7201;

class MessageBarTest : public BarInFrameTest<COSMMessageBar>
{
protected:
    BOOL CreateBar() override
    {
        if (!bar.Create(&frame, nullptr, WS_CHILD | WS_VISIBLE | CBRS_TOP))
            return FALSE;
        bar.SetMessage("The document is read-only.");
        keep = bar.AddButton(ID_KEEP, "Keep")->id;
        bar.AddButton(SC_CLOSE);
        frame.RecalcLayout();
        frame.UpdateWindow();
        PumpFor(30);
        return TRUE;
    }

    CPoint ButtonCentre(UINT id) { return ScreenPoint(bar, bar.FindButton(id)->rect.CenterPoint()); }
    CPoint Outside() { return ScreenPoint(bar, CPoint(20, 5)); }

    UINT keep = 0;
};

}  // namespace

TEST_F(MessageBarTest, InnerRectangleAndButtonsLeaveTheCloseStrip)
{
    CRect client;
    bar.GetClientRect(&client);
    CRect inner;
    COSMMessageBar::GetInnerRect(&bar, &inner);
    EXPECT_EQ(inner, CRect(2, 2, client.right - 2 - 18, client.bottom - 2));
    const CRect close = bar.FindButton(SC_CLOSE)->rect;
    EXPECT_GE(close.left, inner.right);
    EXPECT_LE(close.right, inner.right + 18);
    EXPECT_LE(bar.FindButton(ID_KEEP)->rect.right, inner.right);
    EXPECT_EQ(bar.FindButton(0x7777), nullptr);
    EXPECT_EQ(bar.HitTestButton(bar.FindButton(ID_KEEP)->rect.TopLeft()), bar.FindButton(ID_KEEP));

    bar.RemoveButtons();
    COSMMessageBar::GetInnerRect(&bar, &inner);
    EXPECT_EQ(inner, CRect(2, 2, client.right - 2, client.bottom - 2)) << "no close button, no strip";

    // Taller than the message font, docked on top.
    CRect rect;
    bar.GetWindowRect(&rect);
    frame.ScreenToClient(&rect);
    EXPECT_EQ(rect.top, 0);
    EXPECT_GT(rect.Height(), 12);
}

TEST_F(MessageBarTest, APressClicksOnlyWhenReleasedOverTheButton)
{
    const struct
    {
        const char* name;
        std::vector<CPoint> moves;  // while held
        bool clicks;
    } cases[] = {
        {"straight", {}, true},
        {"off and back on", {Outside(), ButtonCentre(ID_KEEP)}, true},
        {"off", {Outside()}, false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        frame.commands.clear();
        std::vector<BOOL> pressed;
        MoveMouseTo(ButtonCentre(ID_KEEP));
        std::vector<commandbars_test::Step> steps;
        for (const CPoint& point : c.moves)
        {
            steps.push_back([&, point] {
                pressed.push_back(bar.FindButton(ID_KEEP)->pressed);
                SendMouseMoveTo(point);
            });
        }
        steps.push_back([&] {
            pressed.push_back(bar.FindButton(ID_KEEP)->pressed);
            SendMouseInput(MOUSEEVENTF_LEFTUP);
        });
        commandbars_test::InputScript::Start(bar.m_hWnd, steps);
        SendMouseInput(MOUSEEVENTF_LEFTDOWN);
        PumpUntil([] { return commandbars_test::InputScript::Done(); });
        PumpFor(150);
        ASSERT_FALSE(pressed.empty());
        EXPECT_TRUE(pressed.front()) << "not pressed while held";
        if (c.moves.size() == 2)
        {
            EXPECT_EQ(pressed, (std::vector<BOOL>{TRUE, FALSE, TRUE}));
        }
        EXPECT_FALSE(bar.FindButton(ID_KEEP)->pressed);
        EXPECT_EQ(frame.commands, c.clicks ? std::vector<UINT>{ID_KEEP} : std::vector<UINT>{});
    }
}

TEST_F(MessageBarTest, EscapeCancelModeAndTheRightButtonCancelThePress)
{
    const struct
    {
        const char* name;
        std::function<void()> cancel;
    } cases[] = {
        {"Escape", [] { QueueKey(VK_ESCAPE); }},
        {"WM_CANCELMODE", [&] { bar.SendMessage(WM_CANCELMODE); }},
        {"right button",
         [] {
             SendMouseInput(MOUSEEVENTF_RIGHTDOWN);
             SendMouseInput(MOUSEEVENTF_RIGHTUP);
         }},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        frame.commands.clear();
        MoveMouseTo(ButtonCentre(ID_KEEP));
        bool pressedBefore = false;
        bool pressedAfter = true;
        commandbars_test::InputScript::Start(
            bar.m_hWnd, {[&] { pressedBefore = bar.FindButton(ID_KEEP)->pressed; }, c.cancel,
                         [&] {
                             pressedAfter = bar.FindButton(ID_KEEP)->pressed;
                             SendMouseInput(MOUSEEVENTF_LEFTUP);  // over the button, after the press ended
                         }});
        SendMouseInput(MOUSEEVENTF_LEFTDOWN);
        PumpUntil([] { return commandbars_test::InputScript::Done(); });
        PumpFor(150);
        EXPECT_TRUE(pressedBefore);
        EXPECT_FALSE(pressedAfter);
        EXPECT_TRUE(frame.commands.empty());
        EXPECT_NE(::GetCapture(), bar.m_hWnd);
    }
}

TEST_F(MessageBarTest, AQuitEndsThePressAndReachesTheApplicationsLoop)
{
    bool pressedAtQuit = false;
    MSG quit{};
    const bool quitArrived = commandbars_test::DragUntilQuit(
        bar.m_hWnd, ButtonCentre(ID_KEEP), CPoint(0, 0), 100, 61, [&] { return bar.FindButton(ID_KEEP)->pressed != 0; },
        &pressedAtQuit, &quit);
    SendMouseInput(MOUSEEVENTF_LEFTUP);
    PumpFor(100);
    ASSERT_TRUE(quitArrived);
    EXPECT_TRUE(pressedAtQuit);
    EXPECT_EQ(quit.wParam, 61u);
    EXPECT_FALSE(bar.FindButton(ID_KEEP)->pressed);
    EXPECT_TRUE(frame.commands.empty()) << "a quit is no click";
}

TEST_F(MessageBarTest, TheCloseButtonHidesTheBarAndTheFrameLaysOutAgain)
{
    CWnd pane;
    ASSERT_TRUE(pane.Create(nullptr, "pane", WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), &frame, AFX_IDW_PANE_FIRST));
    frame.RecalcLayout();
    CRect before;
    pane.GetWindowRect(&before);
    commandbars_test::ClickAt(ButtonCentre(SC_CLOSE));
    EXPECT_FALSE(bar.IsWindowVisible());
    CRect after;
    pane.GetWindowRect(&after);
    EXPECT_LT(after.top, before.top);
    EXPECT_TRUE(frame.commands.empty()) << "closing is no command";
}
