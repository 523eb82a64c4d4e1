// The panels through markup: the children collection and the panel base, the background and hit test, the stack,
// wrap and dock panels, the uniform grid, and keyboard navigation's attached properties. Children are framework
// elements of a fixed size, whose desired size is that size cut to the room they get.
#include "tests/support/DcTestSurface.h"
#include "PanelTestSupport.h"

#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupDockPanel.h"
#include "framework/markup/MarkupKeyboardNavigation.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupStackPanel.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupType.h"
#include "framework/markup/MarkupUniformGrid.h"
#include "framework/markup/MarkupWrapPanel.h"
#include "platform/classlib/RefPtr.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using foundation_test::DcTestSurface;
using markup_test::CRecordingRenderer;
using markup_test::Hold;
using markup_test::PanelTest;
using markup_test::SetFromText;

namespace {

using Rects = std::vector<CRect>;

std::string Repeat(const std::string& text, int count)
{
    std::string out;
    for (int i = 0; i < count; ++i)
        out += text;
    return out;
}

}  // namespace

// ---- The collection and the panel -------------------------------------------------------------------------------

TEST_F(PanelTest, ChildrenKeepMarkupOrderAndBelongToTheCollectionUnderThePanel)
{
    for (const char* tag : {"Panel", "StackPanel", "WrapPanel", "DockPanel", "UniformGrid", "Grid", "Canvas"})
    {
        SCOPED_TRACE(tag);
        const std::string text = std::string("<") + tag + ">\n  " + Element(1, 1) + "  \n\t" + Element(2, 1) + "\n  " +
                                 Element(3, 1) + "\n</" + tag + ">";
        Hold holder;
        COSMMarkupPanel* panel = ParsePanel(text, &holder);
        ASSERT_NE(nullptr, panel);
        COSMMarkupUIElementCollection* children = panel->GetChildren();
        ASSERT_EQ(3, children->GetCount());
        EXPECT_EQ(3, panel->GetVisualChildrenCount());
        EXPECT_EQ(panel, children->GetLogicalParent());
        for (int i = 0; i < 3; ++i)
        {
            COSMMarkupUIElement* child = Child(panel, i);
            ASSERT_NE(nullptr, child);
            child->Measure(&measuring, 100, 100);
            EXPECT_EQ(i + 1, child->GetDesiredSize().cx);
            EXPECT_EQ(children, child->GetLogicalParent());
            EXPECT_EQ(panel, child->GetUIElementParent());
            EXPECT_EQ(child, panel->GetVisualChild(i));
        }
        EXPECT_EQ(nullptr, panel->GetVisualChild(3));
        EXPECT_EQ(nullptr, panel->GetVisualChild(-1));
    }
}

TEST_F(PanelTest, APanelLetsGoOfItsCollectionWhenItGoes)
{
    RefPtr<COSMMarkupPanel> panel = AdoptRef(new COSMMarkupStackPanel);
    COSMMarkupUIElementCollection* children = panel->GetChildren();
    EXPECT_EQ(1, markup_test::RefCount(children));
    children->AddRef();
    panel.Reset();
    EXPECT_EQ(nullptr, children->GetLogicalParent());
    EXPECT_EQ(1, markup_test::RefCount(children));
    children->Release();
}

// The background is one fill of the render area without radii, drawn only with a brush and at least 1 by 1; with
// it the panel is hit everywhere in its render area, without it nowhere but through its children.
TEST_F(PanelTest, TheBackgroundIsOneFillOfTheRenderAreaAndMakesThePanelHit)
{
    const COLORREF color = ::GetSysColor(COLOR_INFOBK);
    char hex[16];
    std::snprintf(hex, sizeof hex, "%06lx", static_cast<unsigned long>(color));
    const struct
    {
        bool brush;
        CSize size;
        std::vector<std::string> drawn;
        bool hit;
    } cases[] = {
        {true, CSize(40, 30), {std::string("fill 0,0,40,30 ") + hex}, true},
        {true, CSize(1, 1), {std::string("fill 0,0,1,1 ") + hex}, true},
        {false, CSize(40, 30), {}, false},
        {true, CSize(0, 30), {}, false},
        {true, CSize(40, 0), {}, false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.brush << " " << c.size.cx << "x" << c.size.cy);
        Hold holder = Hold::Adopt(new COSMMarkupStackPanel);
        COSMMarkupPanel* panel = static_cast<COSMMarkupPanel*>(holder.Get());
        if (c.brush)
            panel->SetValue(COSMMarkupPanel::s_pBackgroundProperty, new COSMMarkupSolidColorBrush(color));
        Layout(panel, c.size.cx, c.size.cy);
        DcTestSurface surface(50, 50);
        std::vector<std::string> log;
        {
            COSMMarkupDrawingContext dc(surface.GetDC(), new CRecordingRenderer(surface.GetDC(), &log));
            panel->Render(&dc);
        }
        std::vector<std::string> drawn;
        for (const std::string& entry : markup_test::TopLevelCalls(log))
        {
            for (const char* kind : {"fill ", "frame ", "rounded "})
            {
                if (entry.compare(0, strlen(kind), kind) == 0)
                    drawn.push_back(entry);
            }
        }
        EXPECT_EQ(c.drawn, drawn);
        EXPECT_EQ(c.hit ? static_cast<COSMMarkupInputElement*>(panel) : nullptr, panel->InputHitTest(0, 0));
    }
}

TEST_F(PanelTest, APanelWithoutBackgroundIsHitThroughItsChildrenOnly)
{
    Hold holder;
    COSMMarkupPanel* panel = ParsePanel("<StackPanel>" + Element(30, 10) + "</StackPanel>", &holder);
    ASSERT_NE(nullptr, panel);
    Layout(panel, 100, 100);
    EXPECT_EQ(Child(panel, 0), panel->InputHitTest(50, 5));
    EXPECT_EQ(nullptr, panel->InputHitTest(50, 50));
    SetFromText(Builder(), panel, COSMMarkupPanel::s_pBackgroundProperty, L"Red");
    EXPECT_EQ(Child(panel, 0), panel->InputHitTest(50, 5));
    EXPECT_EQ(panel, panel->InputHitTest(50, 50));
}

// ---- Stack panel ------------------------------------------------------------------------------------------------

TEST_F(PanelTest, AStackPanelStacksVerticallyUnlessToldOtherwise)
{
    const struct
    {
        const char* orientation;  // null: unset
        CSize desired;
        Rects rects;
    } cases[] = {
        {nullptr, CSize(50, 30), {CRect(0, 0, 100, 10), CRect(0, 10, 100, 30)}},
        {"vertical", CSize(50, 30), {CRect(0, 0, 100, 10), CRect(0, 10, 100, 30)}},
        {"Horizontal", CSize(80, 20), {CRect(0, 0, 30, 100), CRect(30, 0, 80, 100)}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.orientation ? c.orientation : "unset");
        const std::string attribute = c.orientation ? std::string(" Orientation=\"") + c.orientation + "\"" : "";
        Hold holder;
        COSMMarkupPanel* panel =
            ParsePanel("<StackPanel" + attribute + ">" + Element(30, 10) + Element(50, 20) + "</StackPanel>", &holder);
        ASSERT_NE(nullptr, panel);
        Layout(panel, 100, 100);
        EXPECT_EQ(c.desired, panel->GetDesiredSize());
        EXPECT_EQ(c.rects, ChildRects(panel));
    }
}

// ---- Wrap panel -------------------------------------------------------------------------------------------------

TEST_F(PanelTest, AWrapPanelBreaksLinesAtItsEdge)
{
    const std::string three = Element(30, 10) + Element(30, 20) + Element(30, 10);
    const struct
    {
        const char* name;
        std::string markup;
        CSize size;
        CSize desired;
        Rects rects;
    } cases[] = {
        {"horizontal by default",
         "<WrapPanel>" + three + "</WrapPanel>",
         CSize(70, 100),
         CSize(60, 30),
         {CRect(0, 0, 30, 20), CRect(30, 0, 60, 20), CRect(0, 20, 30, 30)}},
        // The first child, cut to the room, fills the line; the next starts a new one.
        {"narrower than the first child",
         "<WrapPanel>" + Element(30, 10) + Element(10, 10) + "</WrapPanel>",
         CSize(20, 100),
         CSize(20, 20),
         {CRect(0, 0, 20, 10), CRect(0, 10, 10, 20)}},
        // The panel asks for 25 but is cut to its room like any element.
        {"item width",
         "<WrapPanel ItemWidth=\"25\">" + Element(30, 10) + Element(10, 10) + "</WrapPanel>",
         CSize(20, 100),
         CSize(20, 20),
         {CRect(0, 0, 25, 10), CRect(0, 10, 25, 20)}},
        {"vertical",
         "<WrapPanel Orientation=\"Vertical\">" + three + "</WrapPanel>",
         CSize(100, 25),
         CSize(90, 20),
         {CRect(0, 0, 30, 10), CRect(30, 0, 60, 20), CRect(60, 0, 90, 10)}},
        // "Auto" reads as 0, and 0 or less leaves each child its own size.
        {"item sizes not positive",
         "<WrapPanel ItemWidth=\"Auto\" ItemHeight=\"-5\">" + three + "</WrapPanel>",
         CSize(70, 100),
         CSize(60, 30),
         {CRect(0, 0, 30, 20), CRect(30, 0, 60, 20), CRect(0, 20, 30, 30)}},
        {"item height",
         "<WrapPanel ItemHeight=\"15\">" + three + "</WrapPanel>",
         CSize(70, 100),
         CSize(60, 30),
         {CRect(0, 0, 30, 15), CRect(30, 0, 60, 15), CRect(0, 15, 30, 30)}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        Hold holder;
        COSMMarkupPanel* panel = ParsePanel(c.markup, &holder);
        ASSERT_NE(nullptr, panel);
        Layout(panel, c.size.cx, c.size.cy);
        EXPECT_EQ(c.desired, panel->GetDesiredSize());
        EXPECT_EQ(c.rects, ChildRects(panel));
    }
}

// ---- Dock panel -------------------------------------------------------------------------------------------------

TEST_F(PanelTest, ADockPanelDocksInOrderAndTheLastChildFills)
{
    const std::string docked = "<FrameworkElement DockPanel.Dock=\"left\" Width=\"20\"/>"
                               "<FrameworkElement DockPanel.Dock=\"TOP\" Height=\"10\"/>"
                               "<FrameworkElement DockPanel.Dock=\"Right\" Width=\"30\"/>";
    const struct
    {
        const char* name;
        std::string markup;
        CSize desired;
        Rects rects;
    } cases[] = {
        {"last child fills",
         "<DockPanel>" + docked + "<FrameworkElement DockPanel.Dock=\"Bottom\"/></DockPanel>",
         CSize(50, 10),
         {CRect(0, 0, 20, 50), CRect(20, 0, 100, 10), CRect(70, 10, 100, 50), CRect(20, 10, 70, 50)}},
        {"last child docked",
         "<DockPanel LastChildFill=\"False\">" + docked + "<FrameworkElement Width=\"5\"/></DockPanel>",
         CSize(55, 10),
         {CRect(0, 0, 20, 50), CRect(20, 0, 100, 10), CRect(70, 10, 100, 50), CRect(20, 10, 25, 50)}},
        {"bottom",
         "<DockPanel LastChildFill=\"False\"><FrameworkElement DockPanel.Dock=\"Bottom\" Height=\"15\"/>"
         "<FrameworkElement DockPanel.Dock=\"Bottom\" Height=\"5\"/></DockPanel>",
         CSize(0, 20),
         {CRect(0, 35, 100, 50), CRect(0, 30, 100, 35)}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        Hold holder;
        COSMMarkupPanel* panel = ParsePanel(c.markup, &holder);
        ASSERT_NE(nullptr, panel);
        Layout(panel, 100, 50);
        EXPECT_EQ(c.desired, panel->GetDesiredSize());
        EXPECT_EQ(c.rects, ChildRects(panel));
    }
}

TEST_F(PanelTest, ChangingDockLaysTheDockPanelOutAgain)
{
    Hold holder;
    COSMMarkupPanel* panel = ParsePanel("<DockPanel><FrameworkElement Width=\"20\"/>"
                                        "<FrameworkElement DockPanel.Dock=\"Top\" Height=\"10\"/>"
                                        "<FrameworkElement DockPanel.Dock=\"Right\" Width=\"30\"/><FrameworkElement/>"
                                        "</DockPanel>",
                                        &holder);
    ASSERT_NE(nullptr, panel);
    EXPECT_EQ(COSMMarkupDockPanel::DockLeft, COSMMarkupDockPanel::GetDock(Child(panel, 0)));
    Layout(panel, 100, 50);
    EXPECT_EQ(CRect(0, 0, 20, 50), Child(panel, 0)->GetFinalRect());
    SetFromText(Builder(), Child(panel, 0), COSMMarkupDockPanel::s_pDockProperty, L"Right");
    EXPECT_EQ((Rects{CRect(80, 0, 100, 50), CRect(0, 0, 80, 10), CRect(50, 10, 80, 50), CRect(0, 10, 50, 50)}),
              ChildRects(panel));

    // Outside a dock panel the value is only kept.
    Hold lone = Hold::Adopt(new COSMMarkupFrameworkElement);
    SetFromText(Builder(), lone.Get(), COSMMarkupDockPanel::s_pDockProperty, L"Bottom");
    EXPECT_EQ(COSMMarkupDockPanel::DockBottom, COSMMarkupDockPanel::GetDock(lone.Get()));
}

// ---- Uniform grid -----------------------------------------------------------------------------------------------

TEST_F(PanelTest, AUniformGridWorksOutItsCellsFromItsCountsAndChildren)
{
    const struct
    {
        const char* attributes;
        int children;
        int columns;
        int rows;
        int firstColumn;
        Rects firstThree;
    } cases[] = {
        {"", 7, 3, 3, 0, {CRect(0, 0, 30, 30), CRect(30, 0, 60, 30), CRect(60, 0, 90, 30)}},
        {"Columns=\"3\" FirstColumn=\"1\"",
         7,
         3,
         3,
         1,
         {CRect(30, 0, 60, 30), CRect(60, 0, 90, 30), CRect(0, 30, 30, 60)}},
        {"Columns=\"3\" FirstColumn=\"3\"",
         7,
         3,
         3,
         0,
         {CRect(0, 0, 30, 30), CRect(30, 0, 60, 30), CRect(60, 0, 90, 30)}},
        {"Rows=\"2\"", 7, 4, 2, 0, {CRect(0, 0, 22, 45), CRect(22, 0, 44, 45), CRect(44, 0, 66, 45)}},
        // Negative counts are unset: never a division by zero nor a negative cell.
        {"Rows=\"-1\" Columns=\"0\"", 2, 2, 2, 0, {CRect(0, 0, 45, 45), CRect(45, 0, 90, 45)}},
        {"Columns=\"-3\"", 7, 3, 3, 0, {CRect(0, 0, 30, 30), CRect(30, 0, 60, 30), CRect(60, 0, 90, 30)}},
        {"Columns=\"3\" FirstColumn=\"-2\"",
         4,
         3,
         2,
         0,
         {CRect(0, 0, 30, 45), CRect(30, 0, 60, 45), CRect(60, 0, 90, 45)}},
        {"Rows=\"-4\" Columns=\"-4\" FirstColumn=\"-1\"", 1, 1, 1, 0, {CRect(0, 0, 90, 90)}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.attributes);
        Hold holder;
        COSMMarkupPanel* panel = ParsePanel(std::string("<UniformGrid ") + c.attributes + ">" +
                                                Repeat(Element(10, 10), c.children) + "</UniformGrid>",
                                            &holder);
        ASSERT_NE(nullptr, panel);
        Layout(panel, 90, 90);
        const COSMMarkupUniformGrid* grid = static_cast<COSMMarkupUniformGrid*>(panel);
        EXPECT_EQ(c.columns, grid->GetComputedColumns());
        EXPECT_EQ(c.rows, grid->GetComputedRows());
        EXPECT_EQ(c.firstColumn, grid->GetComputedFirstColumn());
        EXPECT_EQ(CSize(10 * c.columns, 10 * c.rows), panel->GetDesiredSize());
        EXPECT_EQ(c.firstThree, ChildRects(panel, 3));
    }
}

TEST_F(PanelTest, ACollapsedChildTakesNoCellOfAUniformGrid)
{
    Hold holder;
    COSMMarkupPanel* panel =
        ParsePanel("<UniformGrid Columns=\"2\">" + Element(10, 10) + Element(10, 10, "Visibility=\"Collapsed\"") +
                       Element(10, 10) + "</UniformGrid>",
                   &holder);
    ASSERT_NE(nullptr, panel);
    Layout(panel, 90, 90);
    EXPECT_EQ(1, static_cast<COSMMarkupUniformGrid*>(panel)->GetComputedRows());
    EXPECT_EQ((Rects{CRect(0, 0, 45, 90), CRect(45, 0, 90, 90), CRect(45, 0, 90, 90)}), ChildRects(panel));
}

// ---- Lengths near the 32-bit limits -----------------------------------------------------------------------------

TEST_F(PanelTest, HugeChildrenSaturateThePanelsSumsInsteadOfWrapping)
{
    const std::string huge = Element(2000000000, 2000000000);
    const struct
    {
        const char* name;
        std::string markup;
        CSize desired;
        CRect second;
    } cases[] = {
        {"stack", "<StackPanel Orientation=\"Horizontal\">" + huge + huge + "</StackPanel>", CSize(INT_MAX, 2000000000),
         CRect(2000000000, 0, INT_MAX, INT_MAX)},
        {"wrap", "<WrapPanel ItemWidth=\"2000000000\" ItemHeight=\"2000000000\">" + huge + huge + "</WrapPanel>",
         CSize(2000000000, INT_MAX), CRect(0, 2000000000, 2000000000, INT_MAX)},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        Hold holder;
        COSMMarkupPanel* panel = ParsePanel(c.markup, &holder);
        ASSERT_NE(nullptr, panel);
        Layout(panel, INT_MAX, INT_MAX);
        EXPECT_EQ(c.desired, panel->GetDesiredSize());
        EXPECT_EQ(c.second, Child(panel, 1)->GetFinalRect());
    }
}

// ---- Keyboard navigation ----------------------------------------------------------------------------------------

TEST_F(PanelTest, KeyboardNavigationPropertiesHaveDefaultsAndReadTheirNames)
{
    Hold plain = Hold::Adopt(Parse("<Border/>"));
    ASSERT_TRUE(plain);
    using KN = COSMMarkupKeyboardNavigation;
    EXPECT_TRUE(KN::GetIsTabStop(plain.Get()));
    EXPECT_EQ(nullptr, plain->GetValue(KN::s_pTabNavigationProperty));
    EXPECT_EQ(-1, KN::GetTabNavigation(plain.Get()));
    EXPECT_EQ(INT_MAX, KN::GetTabIndex(plain.Get()));

    Hold set = Hold::Adopt(
        Parse("<Border KeyboardNavigation.IsTabStop=\"false\" KeyboardNavigation.TabNavigation=\"contained\" "
              "KeyboardNavigation.TabIndex=\"3\"/>"));
    ASSERT_TRUE(set);
    EXPECT_FALSE(KN::GetIsTabStop(set.Get()));
    EXPECT_EQ(KN::Contained, KN::GetTabNavigation(set.Get()));
    EXPECT_EQ(3, KN::GetTabIndex(set.Get()));
    const struct
    {
        LPCWSTR name;
        int value;
    } names[] = {{L"Continue", 0}, {L"once", 1}, {L"CYCLE", 2}, {L"None", 3}, {L"Contained", 4}, {L"local", 5}};
    for (const auto& n : names)
    {
        SetFromText(Builder(), set.Get(), KN::s_pTabNavigationProperty, n.name);
        EXPECT_EQ(n.value, KN::GetTabNavigation(set.Get())) << testing::PrintToString(std::wstring(n.name));
    }
    // Refused, the text stays the test's.
    Hold sideways = Hold::Adopt(COSMMarkupString::CreateValue(L"Sideways", -1));
    EXPECT_EQ("Cannot convert string in attribute 'TabNavigation' to object of type 'COSMMarkupEnum'",
              markup_test::BuilderMessage(
                  [&] { set->SetPropertyObject(Builder(), KN::s_pTabNavigationProperty, sideways.Get()); }));
    EXPECT_EQ(KN::Local, KN::GetTabNavigation(set.Get()));
}

TEST_F(PanelTest, KeyboardNavigationLeavesMessagesAndFocusAlone)
{
    Hold element = Hold::Adopt(Parse("<Border/>"));
    ASSERT_TRUE(element);
    COSMMarkupKeyboardNavigation* navigation = new COSMMarkupKeyboardNavigation(context);
    Hold holder = Hold::Adopt(navigation);
    EXPECT_EQ(context, navigation->GetMarkupContext());
    for (const UINT message : {WM_KEYDOWN, WM_SETFOCUS, WM_KILLFOCUS})
        EXPECT_EQ(0, navigation->OnMessage(message, VK_TAB, 0)) << message;

    auto* input = static_cast<COSMMarkupInputElement*>(element.Get());
    const LONG live = COSMMarkupObject::GetLiveObjectCount();
    navigation->Focus(input);
    input->Focus();
    EXPECT_EQ(nullptr, navigation->GetFocusedElement());
    EXPECT_EQ(nullptr, navigation->GetLastFocusedElement());
    const COSMMarkupBool* focused =
        MarkupDynamicCast<COSMMarkupBool>(input->GetValue(COSMMarkupInputElement::s_pIsKeyboardFocusedProperty));
    EXPECT_TRUE(!focused || !focused->GetValue());
    EXPECT_EQ(live, COSMMarkupObject::GetLiveObjectCount());
    EXPECT_EQ(1, markup_test::RefCount(input));
}
