// The paint manager's visual-style paths against the stand-in theme library loaded by path: which part and
// state each mark and status surface asks for, and the classic drawing when the style is off or its class did
// not open.
#include "tests/support/DcTestSurface.h"
#include "PaintManagerTestSupport.h"
#include "ThemeStubLibrary.h"

#include "framework/commandbars/StatusBar.h"

#include <gtest/gtest.h>

using foundation_test::DcTestSurface;
using foundation_test::ExpectClassicCheckMark;
using foundation_test::MetricsPaintManager;
using foundation_test::PaintManagerTest;

namespace {

class ThemedPaintTest : public PaintManagerTest, protected ThemeStubLibrary
{
protected:
    ThemedPaintTest() : ThemeStubLibrary(TRUE) {}
    void SetUp() override
    {
        PaintManagerTest::SetUp();
        SetUpThemeStub();
    }
};

}  // namespace

TEST_F(ThemedPaintTest, ThemedMarkStates)
{
    MetricsPaintManager pm(m_functions);
    pm.m_themedCheckMarks = TRUE;
    pm.RefreshMetrics();
    ASSERT_TRUE(pm.GetButtonTheme().IsOpen());
    EXPECT_STREQ(L"BUTTON", m_stub->lastClassList);

    const struct
    {
        BOOL radio;
        BOOL selected;
        BOOL pressed;
        int checked;
        BOOL enabled;
        int state;
    } cases[] = {
        {FALSE, TRUE, FALSE, 2, TRUE, 10},  // hot, mixed
        {FALSE, FALSE, FALSE, 0, TRUE, 1}, {FALSE, TRUE, TRUE, 1, TRUE, 7}, {FALSE, FALSE, FALSE, 1, FALSE, 8},
        {FALSE, TRUE, TRUE, 0, FALSE, 4},  {TRUE, TRUE, FALSE, 1, TRUE, 6}, {TRUE, FALSE, FALSE, 0, TRUE, 1},
    };
    DcTestSurface surface(20, 20, ::GetSysColor(COLOR_BTNFACE));
    CDC* dc = CDC::FromHandle(surface.GetDC());
    for (const auto& c : cases)
    {
        const LONG before = Calls(CThemeStubState::kDrawThemeBackground);
        const CRect rect(2, 3, 15, 16);
        const CSize size = c.radio ? pm.DrawRadioButtonMark(dc, rect, TRUE, c.selected, c.pressed, c.checked, c.enabled)
                                   : pm.DrawCheckBoxMark(dc, rect, TRUE, c.selected, c.pressed, c.checked, c.enabled);
        SCOPED_TRACE(c.state);
        EXPECT_EQ(CSize(13, 13), size);
        EXPECT_EQ(before + 1, Calls(CThemeStubState::kDrawThemeBackground));
        EXPECT_EQ(c.radio ? 2 : 3, m_stub->lastPart);
        EXPECT_EQ(c.state, m_stub->lastState);
        EXPECT_EQ(rect, CRect(m_stub->lastRect));
    }
    // The classic marks were not drawn over the themed ones.
    EXPECT_EQ(0, surface.CountNot(::GetSysColor(COLOR_BTNFACE)));
}

TEST_F(ThemedPaintTest, MarksDrawClassicWhenTheStyleIsOffOrDidNotOpen)
{
    const struct
    {
        BOOL appThemed;
        bool openFails;
        BOOL option;
    } cases[] = {{FALSE, false, TRUE}, {TRUE, true, TRUE}, {TRUE, false, FALSE}};
    for (const auto& c : cases)
    {
        ResetThemeStub(m_stub);
        m_stub->appThemed = c.appThemed;
        if (c.openFails)
            m_stub->nextTheme = nullptr;
        MetricsPaintManager pm(m_functions);
        pm.m_themedCheckMarks = c.option;
        pm.RefreshMetrics();
        SCOPED_TRACE(c.appThemed * 100 + c.openFails * 10 + c.option);
        ExpectClassicCheckMark(pm);
        EXPECT_EQ(0, Calls(CThemeStubState::kDrawThemeBackground));
    }
}

TEST_F(ThemedPaintTest, ThemedStatusTextColour)
{
    const struct
    {
        BOOL option;
        HRESULT colorResult;
        bool themed;
    } cases[] = {{TRUE, S_OK, true}, {TRUE, E_FAIL, false}, {FALSE, S_OK, false}};
    for (const auto& c : cases)
    {
        ResetThemeStub(m_stub);
        m_stub->themeColorResult = c.colorResult;
        MetricsPaintManager pm(m_functions);
        pm.m_themedStatusBar = c.option;
        pm.RefreshMetrics();
        SCOPED_TRACE(c.option * 10 + (c.colorResult == S_OK));
        EXPECT_EQ(c.themed ? m_stub->themeColor : pm.GetColor(COLOR_BTNTEXT), pm.GetStatusBarTextColor());
        if (c.option)
        {
            EXPECT_STREQ(L"STATUS", m_stub->lastClassList);
            EXPECT_EQ(1, m_stub->lastPart);
            EXPECT_EQ(3803, m_stub->lastProperty);
        }
        else
            EXPECT_EQ(0, Calls(CThemeStubState::kOpenThemeData));
    }
}

TEST_F(ThemedPaintTest, ThemedStatusParts)
{
    MetricsPaintManager pm(m_functions);
    pm.m_themedStatusBar = TRUE;
    pm.RefreshMetrics();
    const COLORREF background = pm.GetColor(COLOR_WINDOW);
    DcTestSurface surface(60, 20, background);
    CDC* dc = CDC::FromHandle(surface.GetDC());

    pm.DrawStatusBarGripper(dc, CRect(0, 0, 60, 20));
    EXPECT_EQ(3, m_stub->lastPart);
    EXPECT_EQ(0, m_stub->lastState);
    EXPECT_EQ(CRect(42, 0, 60, 20), CRect(m_stub->lastRect));

    COSMStatusBarPane pane;
    pane.SetButton(1);
    for (BOOL gripperPane : {TRUE, FALSE})
    {
        pm.DrawStatusBarPaneBorder(dc, CRect(5, 2, 40, 18), &pane, gripperPane);
        EXPECT_EQ(gripperPane ? 2 : 1, m_stub->lastPart);
        EXPECT_EQ(CRect(5, 2, 40, 18), CRect(m_stub->lastRect));
    }
    EXPECT_EQ(3, Calls(CThemeStubState::kDrawThemeBackground));
    EXPECT_EQ(0, surface.CountNot(background));
}

TEST_F(ThemedPaintTest, AStatusClassThatDidNotOpenDrawsClassic)
{
    m_stub->nextTheme = nullptr;
    MetricsPaintManager pm(m_functions);
    pm.m_themedStatusBar = TRUE;
    pm.RefreshMetrics();
    ASSERT_FALSE(pm.GetStatusTheme().IsOpen());
    const COLORREF background = pm.GetColor(COLOR_WINDOW);
    DcTestSurface surface(20, 20, background);
    CDC* dc = CDC::FromHandle(surface.GetDC());
    pm.DrawStatusBarGripper(dc, CRect(0, 0, 20, 20));
    EXPECT_EQ(pm.GetColor(COLOR_BTNSHADOW), surface.Pixel(17, 18));
    EXPECT_EQ(pm.GetColor(COLOR_BTNHIGHLIGHT), surface.Pixel(15, 18));

    DcTestSurface border(20, 20, background);
    COSMStatusBarPane pane;
    pm.DrawStatusBarPaneBorder(CDC::FromHandle(border.GetDC()), CRect(0, 0, 20, 20), &pane, FALSE);
    EXPECT_EQ(pm.GetColor(COLOR_BTNSHADOW), border.Pixel(0, 0));
    EXPECT_EQ(pm.GetColor(COLOR_BTNHIGHLIGHT), border.Pixel(19, 19));
    EXPECT_EQ(0, Calls(CThemeStubState::kDrawThemeBackground));
}
