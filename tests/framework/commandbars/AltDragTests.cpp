// Alt-dragging a toolbar button under synthesized input: with Alt held and the option on, a press on a toolbar
// button drags it as customize mode would, for that one drag; without Alt, or with the option off, the press is a
// click that runs the command. A program of its own that runs alone: it needs the foreground window and capture.
#include "DockTestSupport.h"
#include "InputTestSupport.h"

#include <vector>

using namespace commandbars_test;

namespace {

class AltDragTest : public DockSiteTest
{
protected:
    BOOL CreateFrame() override { return frame.CreateActiveTestFrame("alt drag test"); }
    void TearDown() override
    {
        InputScript::Stop(frame.GetSafeHwnd());
        SendMouseInput(MOUSEEVENTF_LEFTUP);
        Key(VK_MENU, true)();
        MoveMouseTo(CPoint(1200, 1000));
        DockSiteTest::TearDown();
    }

    // Drags with Alt held from one screen point to another, as a user moves a button between toolbars.
    void AltDrag(CPoint from, CPoint to)
    {
        MoveMouseTo(from);
        Key(VK_MENU, false)();
        PumpFor(60);
        InputScript::Start(frame.GetSafeHwnd(), {MoveTo(to), MoveTo(to + CPoint(1, 0)), Press(MOUSEEVENTF_LEFTUP)}, 70);
        SendMouseInput(MOUSEEVENTF_LEFTDOWN);
        ASSERT_TRUE(PumpUntil([] { return InputScript::Done() && !::GetCapture(); }, 5000));
        // Another key while Alt is held: Wine takes a release of Alt after only a click for a lone Alt.
        Key(VK_F24, false)();
        Key(VK_F24, true)();
        Key(VK_MENU, true)();
        PumpFor(100);
    }
};

TEST_F(AltDragTest, AltDragsTheButtonToAnotherToolbarOtherwiseThePressClicks)
{
    struct Case
    {
        const char* name;
        bool alt;
        BOOL option;
        std::vector<UINT> standard;
        std::vector<UINT> format;
        int commands;  // WM_COMMAND 202 the frame got
    };
    const Case cases[] = {
        {"Alt held", true, TRUE, {201, 203}, {301, 202, 302}, 0},
        {"Alt held, option off", true, FALSE, {201, 202, 203}, {301, 302}, 1},
        {"no Alt", false, TRUE, {201, 202, 203}, {301, 302}, 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        COSMToolBar* standard = AddFilledToolBar("Standard", 701, {201, 202, 203});
        COSMToolBar* format = AddFilledToolBar("Format", 702, {301, 302});
        ASSERT_NE(nullptr, standard);
        ASSERT_NE(nullptr, format);
        commandBars->GetCommandBarsOptions()->m_altDragCustomization = c.option;
        frame.RecalcLayout();
        PumpFor(100);
        frame.ClearRecords();

        const CPoint pressed = ScreenPoint(*standard, standard->GetControl(1)->GetRect().CenterPoint());
        // The left part of button 302: a drop there lands before it.
        const CRect target = format->GetControl(1)->GetRect();
        const CPoint drop = ScreenPoint(*format, CPoint(target.left + 3, target.CenterPoint().y));
        MoveMouseTo(pressed);
        if (c.alt)
            Key(VK_MENU, false)();
        PumpFor(60);
        // A drag ends over the other toolbar; a click goes there and comes back to the button before the release.
        std::vector<Step> steps{MoveTo(drop), MoveTo(drop + CPoint(1, 0))};
        if (c.commands)
            steps.push_back(MoveTo(pressed));
        steps.push_back(Press(MOUSEEVENTF_LEFTUP));
        InputScript::Start(frame.GetSafeHwnd(), std::move(steps), 70);
        SendMouseInput(MOUSEEVENTF_LEFTDOWN);
        ASSERT_TRUE(PumpUntil([] { return InputScript::Done() && !::GetCapture(); }, 5000));
        if (c.alt)
        {
            // Another key while Alt is held: Wine takes a release of Alt after only a click for a lone Alt, which
            // opens the frame's system menu.
            Key(VK_F24, false)();
            Key(VK_F24, true)();
            Key(VK_MENU, true)();
        }
        PumpFor(100);

        EXPECT_EQ(c.standard, ControlIds(*standard));
        EXPECT_EQ(c.format, ControlIds(*format));
        int commands = 0;
        for (const auto& record : frame.RecordsOf(WM_COMMAND))
            commands += LOWORD(record.wParam) == 202;
        EXPECT_EQ(c.commands, commands);
        // The drag's customize mode lasts only as long as the drag.
        EXPECT_FALSE(commandBars->IsCustomizeMode());
        EXPECT_EQ(nullptr, commandBars->GetCustomizeSelection());
        commandBars->Remove(standard);
        commandBars->Remove(format);
    }
}

// The bars remember their measured layouts: a button moved by the user from one bar to the other must still make the
// one narrower and the other wider at the next layout, exactly as measuring both afresh does.
TEST_F(AltDragTest, AButtonDraggedToAnotherBarResizesBothAsAFreshMeasurementWould)
{
    COSMToolBar* standard = AddFilledToolBar("Standard", 701, {201, 202, 203});
    COSMToolBar* format = AddFilledToolBar("Format", 702, {301, 302});
    ASSERT_NE(nullptr, standard);
    ASSERT_NE(nullptr, format);
    commandBars->GetCommandBarsOptions()->m_altDragCustomization = TRUE;
    frame.RecalcLayout();
    frame.RecalcLayout();
    PumpFor(100);
    const CRect standardBefore = RectInParent(standard);
    const CRect formatBefore = RectInParent(format);

    const CRect target = format->GetControl(1)->GetRect();
    AltDrag(ScreenPoint(*standard, standard->GetControl(1)->GetRect().CenterPoint()),
            ScreenPoint(*format, CPoint(target.left + 3, target.CenterPoint().y)));
    ASSERT_EQ((std::vector<UINT>{201, 203}), ControlIds(*standard));
    ASSERT_EQ((std::vector<UINT>{301, 202, 302}), ControlIds(*format));

    frame.RecalcLayout();
    const CRect standardAfter = RectInParent(standard);
    const CRect formatAfter = RectInParent(format);
    EXPECT_LT(standardAfter.Width(), standardBefore.Width());
    EXPECT_GT(formatAfter.Width(), formatBefore.Width());
    COSMPaintManager::InvalidateLayouts();
    frame.RecalcLayout();
    EXPECT_EQ(standardAfter, RectInParent(standard));
    EXPECT_EQ(formatAfter, RectInParent(format));
    commandBars->Remove(standard);
    commandBars->Remove(format);
}

}  // namespace
