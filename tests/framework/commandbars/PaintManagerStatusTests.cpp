// The status-bar surfaces on DIB sections: pane backgrounds, layout of icon and text, switch panes, gripper,
// borders, message-bar buttons and the workspace.
#include "classlib/DC.h"
#include "tests/support/DcTestSurface.h"
#include "PaintManagerTestSupport.h"

#include "framework/commandbars/MessageBar.h"
#include "framework/commandbars/StatusBar.h"
#include "framework/markup/Markup.h"
#include "framework/markup/MarkupFrameworkElement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>
#include <string>
#include <vector>

using foundation_test::DcTestSurface;
using foundation_test::MetricsPaintManager;
using foundation_test::PaintManagerTest;

namespace {

// Icons by id until the image manager supplies them: id 7 is 16 × 16, drawn as a filled square.
class StatusIconPaintManager : public MetricsPaintManager
{
public:
    struct DrawnIcon
    {
        int id;
        CPoint point;
        int state;
    };
    std::vector<DrawnIcon> icons;

protected:
    CSize GetStatusIconSize(COSMStatusBar*, int iconId) override { return iconId == 7 ? CSize(16, 16) : CSize(0, 0); }
    void DrawStatusIcon(CDC* dc, COSMStatusBar*, int iconId, CPoint point, int state) override
    {
        icons.push_back({iconId, point, state});
    }
};

// A markup caption of a set size that counts how often it was drawn; its final rectangle is where it was rendered.
class CSizedMarkupElement : public COSMMarkupFrameworkElement
{
public:
    explicit CSizedMarkupElement(CSize size) : m_size(size) {}
    int renderCount = 0;

    CSize MeasureOverride(COSMMarkupDrawingContext*, int, int) override { return m_size; }
    void OnRender(COSMMarkupDrawingContext*) override { ++renderCount; }

private:
    CSize m_size;
};

// A markup context for the status bar and a caption of a set size made in it, both released at the end.
struct MarkupCaption
{
    explicit MarkupCaption(CSize size) : context(CreateMarkupContext(nullptr)), element(new CSizedMarkupElement(size))
    {}
    ~MarkupCaption()
    {
        element->Release();
        ReleaseMarkupContext(&context);
    }
    MarkupCaption(const MarkupCaption&) = delete;
    MarkupCaption& operator=(const MarkupCaption&) = delete;

    COSMMarkupContext* context;
    CSizedMarkupElement* element;
};

class StatusTest : public PaintManagerTest
{
protected:
    void SetUp() override
    {
        PaintManagerTest::SetUp();
        pm.RefreshMetrics();
    }
    StatusIconPaintManager pm;
};

}  // namespace

TEST_F(StatusTest, PaneBackgrounds)
{
    const COLORREF background = pm.GetColor(COLOR_BTNFACE);
    const COLORREF paneColor = pm.GetColor(COLOR_HIGHLIGHT);
    const struct
    {
        COLORREF color;
        DWORD style;
        COLORREF corner;
        COLORREF inside;
    } cases[] = {{COSMPaintManagerColor::kNone, 0, background, background},
                 {COSMPaintManagerColor::kNone, COSMStatusBarPane::kStyleFillWhole, background, background},
                 {paneColor, 0, background, paneColor},
                 {paneColor, COSMStatusBarPane::kStyleFillWhole, paneColor, paneColor}};
    for (const auto& c : cases)
    {
        DcTestSurface surface(30, 20, background);
        COSMStatusBar bar;
        COSMStatusBarPane pane(&bar);
        pane.SetBackgroundColor(c.color);
        pane.SetStyle(c.style);
        pm.DrawStatusBarPaneEntry(CDC::FromHandle(surface.GetDC()), CRect(0, 0, 30, 20), &pane);
        SCOPED_TRACE(c.style);
        EXPECT_EQ(c.corner, surface.Pixel(0, 0));
        EXPECT_EQ(c.corner, surface.Pixel(29, 19));
        EXPECT_TRUE(surface.AllPixels(CRect(1, 1, 29, 19), c.inside));
    }
}

TEST_F(StatusTest, AlignedPanesPlaceIconAndMarkup)
{
    const struct
    {
        int alignment;
        CRect rect;
        int iconX;  // -1: no icon
        int markupLeft;
    } cases[] = {
        {2, CRect(0, 0, 200, 20), 142, 160},  // right: right - (16 + 2 + 40)
        {1, CRect(0, 0, 200, 20), 71, 89},    // centre
        {0, CRect(10, 0, 200, 20), 10, 28},
        {2, CRect(0, 0, 10, 20), -1, 0},  // the icon does not fit: text only
    };
    for (const auto& c : cases)
    {
        DcTestSurface surface(200, 20, pm.GetColor(COLOR_BTNFACE));
        COSMStatusBar bar;
        MarkupCaption caption(CSize(40, 12));
        bar.SetMarkupContext(caption.context);
        COSMStatusBarPane pane(&bar);
        pane.SetMarkupUIElement(caption.element);
        pane.SetIconId(7);
        pane.SetTextAlignment(c.alignment);
        pm.icons.clear();
        pm.DrawStatusBarPaneEntry(CDC::FromHandle(surface.GetDC()), c.rect, &pane);
        SCOPED_TRACE(c.alignment);
        if (c.iconX < 0)
            EXPECT_TRUE(pm.icons.empty());
        else
        {
            ASSERT_EQ(1u, pm.icons.size());
            EXPECT_EQ(CPoint(c.iconX, 2), pm.icons[0].point);
            EXPECT_EQ(0, pm.icons[0].state);
        }
        EXPECT_EQ(1, caption.element->renderCount);
        EXPECT_EQ(c.markupLeft, caption.element->GetFinalRect().left);
        EXPECT_EQ(c.rect.right, caption.element->GetFinalRect().right);
        EXPECT_EQ(pm.GetStatusBarTextColor(), caption.context->defaultColor);
    }
}

TEST_F(StatusTest, PaneTextIsMeasuredAndPadded)
{
    DcTestSurface surface(200, 20, pm.GetColor(COLOR_BTNFACE));
    CDC* dc = CDC::FromHandle(surface.GetDC());
    COSMStatusBar bar;
    COSMStatusBarPane pane(&bar);
    pane.SetText("Ready");
    pane.SetIconId(7);
    pane.SetTextAlignment(2);
    pane.SetPadding(CRect(0, 0, 5, 0));
    pm.DrawStatusBarPaneEntry(dc, CRect(0, 0, 200, 20), &pane);
    SIZE text{};
    ::GetTextExtentPoint32A(surface.GetDC(), "Ready", 5, &text);
    ASSERT_EQ(1u, pm.icons.size());
    EXPECT_EQ(195 - (text.cx + 16 + 2), pm.icons[0].point.x);
    EXPECT_GT(surface.CountNot(pm.GetColor(COLOR_BTNFACE)), 0);
}

TEST_F(StatusTest, DisabledPanes)
{
    const struct
    {
        BOOL drawDisabledText;
        int renders;
    } cases[] = {{TRUE, 1}, {FALSE, 0}};
    for (const auto& c : cases)
    {
        DcTestSurface surface(100, 20, pm.GetColor(COLOR_BTNFACE));
        CDC* dc = CDC::FromHandle(surface.GetDC());
        COSMStatusBar bar;
        bar.SetDrawDisabledText(c.drawDisabledText);
        MarkupCaption caption(CSize(30, 10));
        bar.SetMarkupContext(caption.context);
        COSMStatusBarPane pane(&bar);
        pane.SetStyle(COSMStatusBarPane::kStyleDisabled);
        pane.SetTextColor(pm.GetColor(COLOR_HIGHLIGHT));
        pane.SetIconId(7);
        pane.SetMarkupUIElement(caption.element);
        pm.icons.clear();
        pm.DrawStatusBarPaneEntry(dc, CRect(0, 0, 100, 20), &pane);
        EXPECT_EQ(pm.GetColor(COLOR_GRAYTEXT), dc->GetTextColor());
        EXPECT_EQ(pm.GetColor(COLOR_GRAYTEXT), caption.context->defaultColor);
        EXPECT_EQ(c.renders, caption.element->renderCount);
        ASSERT_EQ(1u, pm.icons.size());
        EXPECT_EQ(1, pm.icons[0].state);
    }
}

TEST_F(StatusTest, ButtonPanes)
{
    DcTestSurface surface(60, 20, pm.GetColor(COLOR_BTNFACE));
    CDC* dc = CDC::FromHandle(surface.GetDC());
    COSMStatusBar bar;
    COSMStatusBarPane pane(&bar);
    pane.SetButton(1);

    pm.ClearCalls();
    pm.DrawStatusBarPaneButton(dc, CRect(0, 0, 60, 20), &pane);
    EXPECT_TRUE(pm.GetCalls().empty());

    const struct
    {
        BOOL hot;
        BOOL pressed;
        DWORD style;
        const char* call;
    } cases[] = {{TRUE, FALSE, 0, "DrawStateRectangle(0,0,60,20,1,0,1,0,0,1,1)"},
                 {FALSE, TRUE, 0, "DrawStateRectangle(0,0,60,20,0,1,1,0,0,1,1)"},
                 {FALSE, FALSE, COSMStatusBarPane::kStylePopout, "DrawStateRectangle(0,0,60,20,0,0,1,1,0,1,1)"}};
    for (const auto& c : cases)
    {
        bar.SetHotPane(c.hot ? &pane : nullptr);
        pane.SetPressed(c.pressed);
        pane.SetStyle(c.style);
        pm.ClearCalls();
        pm.DrawStatusBarPaneButton(dc, CRect(0, 0, 60, 20), &pane);
        ASSERT_EQ(1u, pm.GetCalls().size());
        EXPECT_EQ(c.call, pm.GetCalls()[0]);
    }

    // A hot button pane's text takes the state text colour.
    bar.SetHotPane(&pane);
    pane.SetStyle(0);
    pane.SetPressed(FALSE);
    pane.SetText("x");
    pm.ClearCalls();
    pm.DrawStatusBarPaneEntry(dc, CRect(0, 0, 60, 20), &pane);
    EXPECT_NE(std::find(pm.GetCalls().begin(), pm.GetCalls().end(), "GetStateTextColor(1,0,1,0,0,1,1)"),
              pm.GetCalls().end());
}

TEST_F(StatusTest, SwitchPanes)
{
    COSMStatusBar bar;
    COSMStatusBarSwitchPane pane(&bar);
    for (int i = 0; i < 3; ++i)
    {
        COSMStatusBarSwitchPane::SWITCH item;
        item.id = i == 1 ? 7 : 0;
        pane.AddSwitch(item);
    }
    EXPECT_EQ(54, pm.DrawStatusBarSwitchPane(nullptr, CRect(0, 0, 100, 20), &pane));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(18, pane.GetSwitch(i)->width);

    pane.GetSwitch(1)->hot = TRUE;
    pane.GetSwitch(1)->checked = TRUE;
    pane.GetSwitch(2)->enabled = FALSE;
    DcTestSurface surface(100, 20, pm.GetColor(COLOR_BTNFACE));
    pm.ClearCalls();
    EXPECT_EQ(0, pm.DrawStatusBarSwitchPane(CDC::FromHandle(surface.GetDC()), CRect(10, 0, 100, 20), &pane));
    const std::vector<std::string> expected = {"DrawStateRectangle(10,0,28,20,0,0,1,0,0,1,0)",
                                               "DrawStateRectangle(28,0,46,20,1,0,1,1,0,1,0)",
                                               "DrawStateRectangle(46,0,64,20,0,0,0,0,0,1,0)"};
    EXPECT_EQ(expected, pm.GetCalls());
    ASSERT_EQ(1u, pm.icons.size());
    EXPECT_EQ(CPoint(29, 2), pm.icons[0].point);
    EXPECT_EQ(3, pm.icons[0].state);
}

TEST_F(StatusTest, ClassicGripperRidges)
{
    const COLORREF background = pm.GetColor(COLOR_BTNFACE);
    for (BOOL themedButNotOpen : {FALSE, TRUE})
    {
        // Asking for the style without its class being open must still draw the classic ridges.
        pm.m_themedStatusBar = themedButNotOpen;
        pm.GetStatusTheme().CloseThemeData();
        DcTestSurface surface(30, 20, background);
        pm.DrawStatusBarGripper(CDC::FromHandle(surface.GetDC()), CRect(10, 0, 30, 20));
        const COLORREF dark = pm.GetColor(COLOR_BTNSHADOW);
        const COLORREF light = pm.GetColor(COLOR_BTNHIGHLIGHT);
        SCOPED_TRACE(themedButNotOpen);
        // The first ridge, from the client's origin (10, 0), w = 20, h = 20.
        EXPECT_EQ(dark, surface.Pixel(27, 18));
        EXPECT_EQ(dark, surface.Pixel(28, 17));
        EXPECT_EQ(dark, surface.Pixel(26, 18));
        EXPECT_EQ(light, surface.Pixel(25, 18));
        EXPECT_EQ(light, surface.Pixel(26, 17));
        // The third ridge.
        EXPECT_EQ(dark, surface.Pixel(19, 18));
        EXPECT_EQ(light, surface.Pixel(17, 18));
        EXPECT_EQ(background, surface.Pixel(29, 19));
        EXPECT_EQ(background, surface.Pixel(12, 5));
    }
}

TEST_F(StatusTest, PaneBordersAndSeparators)
{
    const COLORREF background = pm.GetColor(COLOR_WINDOW);
    const COLORREF dark = pm.GetColor(COLOR_BTNSHADOW);
    const COLORREF light = pm.GetColor(COLOR_BTNHIGHLIGHT);
    COSMStatusBarPane pane;
    {
        DcTestSurface surface(30, 20, background);
        pm.DrawStatusBarPaneBorder(CDC::FromHandle(surface.GetDC()), CRect(2, 2, 28, 18), &pane, TRUE);
        EXPECT_EQ(dark, surface.Pixel(2, 2));
        EXPECT_EQ(light, surface.Pixel(27, 17));
        EXPECT_EQ(background, surface.Pixel(5, 5));
    }
    {
        pane.SetButton(1);
        DcTestSurface surface(30, 20, background);
        pm.DrawStatusBarPaneBorder(CDC::FromHandle(surface.GetDC()), CRect(2, 2, 28, 18), &pane, FALSE);
        EXPECT_EQ(0, surface.CountNot(background));
    }
    {
        DcTestSurface surface(30, 20, background);
        pm.DrawStatusBarPaneSeparator(CDC::FromHandle(surface.GetDC()), CRect(10, 0, 28, 20), &pane);
        EXPECT_EQ(dark, surface.Pixel(8, 0));
        EXPECT_EQ(light, surface.Pixel(9, 19));
        EXPECT_EQ(background, surface.Pixel(10, 5));
        EXPECT_EQ(background, surface.Pixel(7, 5));
    }
}

TEST_F(StatusTest, MessageBarButtons)
{
    const COLORREF background = pm.GetColor(COLOR_INFOBK);
    const COLORREF pen = pm.GetColor(COLOR_BTNTEXT);
    const struct
    {
        UINT id;
        BOOL hot;
        BOOL pressed;
        COLORREF corner;
        bool cross;
        const char* call;
    } cases[] = {
        {SC_CLOSE, FALSE, FALSE, background, true, nullptr},
        {SC_CLOSE, TRUE, FALSE, pm.GetColor(COLOR_BTNFACE), true, "DrawStateRectangle(0,0,16,16,1,0,1,0,0,1,0)"},
        {SC_CLOSE, FALSE, TRUE, pm.GetColor(COLOR_BTNFACE), true, "DrawStateRectangle(0,0,16,16,0,1,1,0,0,1,0)"},
        {100, FALSE, FALSE, pm.GetColor(COLOR_BTNSHADOW), false, nullptr},
    };
    for (const auto& c : cases)
    {
        DcTestSurface surface(16, 16, background);
        CDC* dc = CDC::FromHandle(surface.GetDC());
        CPen crossPen(PS_SOLID, 1, pen);
        CPen* old = dc->SelectObject(&crossPen);
        COSMMessageBarButton button;
        button.rect = CRect(0, 0, 16, 16);
        button.id = c.id;
        button.hot = c.hot;
        button.pressed = c.pressed;
        pm.ClearCalls();
        pm.DrawMessageBarButton(dc, &button);
        dc->SelectObject(old);
        SCOPED_TRACE(c.id * 10 + c.hot * 2 + c.pressed);
        // The test paint manager frames a hot or pressed face in colour 16 itself.
        if (!c.call)
        {
            EXPECT_EQ(c.corner, surface.Pixel(0, 0));
        }
        EXPECT_EQ(c.cross ? pen : pm.GetColor(COLOR_BTNFACE), surface.Pixel(8, 8));
        EXPECT_EQ(c.cross ? pen : pm.GetColor(COLOR_BTNFACE), surface.Pixel(4, 5));
        if (c.call)
        {
            ASSERT_EQ(1u, pm.GetCalls().size());
            EXPECT_EQ(c.call, pm.GetCalls()[0]);
            EXPECT_EQ(c.corner, surface.Pixel(2, 13));
        }
        if (c.id == SC_CLOSE && !c.hot && !c.pressed)
        {
            // Only the cross: two pairs of 7-pixel diagonals (end points excluded) through the centre (8, 8).
            std::set<std::pair<int, int>> cross;
            for (int t = 0; t < 7; ++t)
            {
                cross.insert({4 + t, 5 + t});
                cross.insert({5 + t, 5 + t});
                cross.insert({4 + t, 11 - t});
                cross.insert({5 + t, 11 - t});
            }
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    ASSERT_EQ(cross.count({x, y}) ? pen : background, surface.Pixel(x, y)) << x << "," << y;
        }
    }
}

TEST_F(StatusTest, WorkspaceFill)
{
    DcTestSurface surface(20, 20, pm.GetColor(COLOR_WINDOW));
    pm.FillWorkspace(CDC::FromHandle(surface.GetDC()), CRect(2, 2, 18, 18), CRect(5, 5, 10, 10));
    EXPECT_TRUE(surface.AllPixels(CRect(2, 2, 18, 18), pm.GetColor(COLOR_APPWORKSPACE)));
    EXPECT_EQ(pm.GetColor(COLOR_WINDOW), surface.Pixel(1, 1));
}
