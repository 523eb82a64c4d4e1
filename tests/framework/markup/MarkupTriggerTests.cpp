// Triggers: values switched on and off by a property of the element, changes reported with the values the element
// shows, chains across properties, triggers that feed their own condition, no trigger active twice, and the
// hyperlink's default style.

#include "MarkupElementTestTypes.h"
#include "ParseTestSupport.h"
#include "ReaderTestSupport.h"
#include "StyleTestTypes.h"

#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupCheckBox.h"
#include "framework/markup/MarkupDelegate.h"
#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupFrameworkElement.h"
#include "framework/markup/MarkupInputElement.h"
#include "framework/markup/MarkupRoutedEvent.h"
#include "framework/markup/MarkupRun.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupSpan.h"
#include "framework/markup/MarkupStyle.h"
#include "framework/markup/MarkupTextElement.h"
#include "framework/markup/MarkupToggleButton.h"
#include "framework/markup/MarkupTrigger.h"
#include "framework/markup/MarkupType.h"
#include "platform/classlib/RefPtr.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace markup_test {
namespace {

using Element = COSMMarkupFrameworkElement;
using Input = COSMMarkupInputElement;
using Log = std::vector<std::string>;

class TriggerTest : public ParseTest
{
protected:
    // Parses one OsmStyleProbe named "p" after the given resources; the probe's log starts empty.
    CStyleProbe* ParseProbe(const std::string& resources, const std::string& probeAttributes)
    {
        std::string error;
        m_root.Attach(Parse("<StackPanel><StackPanel.Resources>\n" + resources +
                                "\n</StackPanel.Resources>\n<OsmStyleProbe Name=\"p\" " + probeAttributes +
                                "/></StackPanel>",
                            &error));
        EXPECT_EQ("", error);
        CStyleProbe* probe = MarkupDynamicCast<CStyleProbe>(FindNamed(m_root.Get(), L"p"));
        if (probe)
            probe->TakeLog();
        return probe;
    }

    static void Enter(Input* element)
    {
        COSMMarkupMouseEventArgs args(Input::s_pMouseEnterEvent);
        element->OnMouseEnter(&args);
    }
    static void Leave(Input* element)
    {
        COSMMarkupMouseEventArgs args(Input::s_pMouseLeaveEvent);
        element->OnMouseLeave(&args);
    }
    static int ActiveTriggerCount(const Input* element)
    {
        return element->GetActiveTriggers() ? element->GetActiveTriggers()->GetCount() : 0;
    }
    // Every active trigger once.
    static bool NoTriggerActiveTwice(const Input* element)
    {
        const COSMMarkupTriggerCollection* active = element->GetActiveTriggers();
        for (int i = 0; active && i < active->GetCount(); ++i)
        {
            if (active->Find(active->GetTrigger(i)) != i)
                return false;
        }
        return true;
    }

    void TearDown() override
    {
        m_root.Reset();
        ParseTest::TearDown();
    }

    Hold m_root;
};

const char kHoverStyle[] =
    "<Style x:Key=\"s\" TargetType=\"OsmStyleProbe\">\n"
    "  <Setter Property=\"Tag\" Value=\"styled\"/>\n"
    "  <Style.Triggers><Trigger Property=\"IsMouseOver\" Value=\"True\"><Trigger.Setters>\n"
    "    <Setter Property=\"Tag\" Value=\"hover\"/><Setter Property=\"Cursor\" Value=\"Hand\"/>\n"
    "  </Trigger.Setters></Trigger></Style.Triggers>\n"
    "</Style>";

// Entering switches the trigger's values on, leaving switches them off; every report names the value the element
// shows before and after, so leaving reports the style's value coming back, and a local value hides the trigger.
TEST_F(TriggerTest, HoverSetsTriggerValuesAndReportsShownValues)
{
    struct Case
    {
        const char* name;
        const char* attributes;
        Log entering;
        Log leaving;
        const char* tagWhileOver;
    };
    const Case cases[] = {
        {"styled",
         "Style=\"{StaticResource s}\"",
         {"IsMouseOver: False -> True", "Tag: styled -> hover", "Cursor: null -> 32649"},
         {"IsMouseOver: True -> False", "Tag: hover -> styled", "Cursor: 32649 -> null"},
         "hover"},
        {"local Tag",
         "Style=\"{StaticResource s}\" Tag=\"local\"",
         {"IsMouseOver: False -> True", "Cursor: null -> 32649"},
         {"IsMouseOver: True -> False", "Cursor: 32649 -> null"},
         "local"},
        {"local Cursor",
         "Style=\"{StaticResource s}\" Cursor=\"Arrow\"",
         {"IsMouseOver: False -> True", "Tag: styled -> hover"},
         {"IsMouseOver: True -> False", "Tag: hover -> styled"},
         "hover"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        CStyleProbe* probe = ParseProbe(kHoverStyle, c.attributes);
        ASSERT_NE(nullptr, probe);
        Enter(probe);
        EXPECT_EQ(c.entering, probe->TakeLog());
        EXPECT_EQ(c.tagWhileOver, DescribeValue(probe->GetValue(Element::s_pTagProperty)));
        EXPECT_EQ(1, ActiveTriggerCount(probe));
        Leave(probe);
        EXPECT_EQ(c.leaving, probe->TakeLog());
        EXPECT_EQ(0, ActiveTriggerCount(probe));
        m_root.Reset();
    }
}

// A trigger's value changes a property another trigger tests: the second follows the first on and off.
TEST_F(TriggerTest, TriggersChainAcrossProperties)
{
    CStyleProbe* probe = ParseProbe("<Style x:Key=\"s\" TargetType=\"OsmStyleProbe\"><Style.Triggers>\n"
                                    "  <Trigger Property=\"IsMouseOver\" Value=\"True\"><Trigger.Setters>"
                                    "<Setter Property=\"Tag\" Value=\"over\"/></Trigger.Setters></Trigger>\n"
                                    "  <Trigger Property=\"Tag\" Value=\"over\"><Trigger.Setters>"
                                    "<Setter Property=\"Cursor\" Value=\"Hand\"/></Trigger.Setters></Trigger>\n"
                                    "</Style.Triggers></Style>",
                                    "Style=\"{StaticResource s}\"");
    ASSERT_NE(nullptr, probe);
    Enter(probe);
    EXPECT_EQ((Log{"IsMouseOver: False -> True", "Tag: null -> over", "Cursor: null -> 32649"}), probe->TakeLog());
    EXPECT_EQ(2, ActiveTriggerCount(probe));
    Leave(probe);
    EXPECT_EQ((Log{"IsMouseOver: True -> False", "Tag: over -> null", "Cursor: 32649 -> null"}), probe->TakeLog());
    EXPECT_EQ(0, ActiveTriggerCount(probe));
}

// Two triggers that both match set one property: the one written first wins, on the first application too, and a
// trigger that matches again is not made active a second time.
TEST_F(TriggerTest, TheFirstWrittenTriggerWinsAndNoneIsActiveTwice)
{
    CStyleProbe* probe = ParseProbe("<Style x:Key=\"s\" TargetType=\"OsmStyleProbe\"><Style.Triggers>\n"
                                    "  <Trigger Property=\"IsMouseOver\" Value=\"True\"><Trigger.Setters>"
                                    "<Setter Property=\"Tag\" Value=\"first\"/></Trigger.Setters></Trigger>\n"
                                    "  <Trigger Property=\"IsMouseOver\" Value=\"True\"><Trigger.Setters>"
                                    "<Setter Property=\"Tag\" Value=\"second\"/></Trigger.Setters></Trigger>\n"
                                    "</Style.Triggers></Style>",
                                    // Set while the tree is built, then evaluated again when the styles are applied.
                                    "Style=\"{StaticResource s}\" IsMouseOver=\"True\"");
    ASSERT_NE(nullptr, probe);
    EXPECT_EQ("first", DescribeValue(probe->GetValue(Element::s_pTagProperty)));
    EXPECT_EQ(2, ActiveTriggerCount(probe));
    EXPECT_TRUE(NoTriggerActiveTwice(probe));
    probe->UpdateStyle();
    EXPECT_EQ(2, ActiveTriggerCount(probe));
    EXPECT_EQ(Log{}, probe->TakeLog());
}

// A trigger whose value undoes its own condition, and two that flip one property back and forth: both end without
// recursing (a property's style update does not start again inside itself), the single one with no trigger
// active and the style's Cursor shown.
TEST_F(TriggerTest, SelfFeedingTriggersEnd)
{
    const std::string undoing = "<Trigger Property=\"Cursor\" Value=\"Hand\"><Trigger.Setters>"
                                "<Setter Property=\"Cursor\" Value=\"Arrow\"/></Trigger.Setters></Trigger>\n";
    const std::string redoing = "<Trigger Property=\"Cursor\" Value=\"Arrow\"><Trigger.Setters>"
                                "<Setter Property=\"Cursor\" Value=\"Hand\"/></Trigger.Setters></Trigger>\n";
    const std::string style = "<Style x:Key=\"s\" TargetType=\"OsmStyleProbe\">"
                              "<Setter Property=\"Cursor\" Value=\"Hand\"/><Style.Triggers>\n";

    CStyleProbe* single = ParseProbe(style + undoing + "</Style.Triggers></Style>", "Style=\"{StaticResource s}\"");
    ASSERT_NE(nullptr, single);
    EXPECT_EQ(0, ActiveTriggerCount(single));
    EXPECT_EQ("32649", DescribeValue(single->GetValue(Input::s_pCursorProperty)));
    m_root.Reset();

    CStyleProbe* pair =
        ParseProbe(style + undoing + redoing + "</Style.Triggers></Style>", "Style=\"{StaticResource s}\"");
    ASSERT_NE(nullptr, pair);
    EXPECT_LE(ActiveTriggerCount(pair), 2);
    EXPECT_TRUE(NoTriggerActiveTwice(pair));
    // Changing the property from outside runs the update once more, and it ends again.
    pair->SetValue(Input::s_pCursorProperty, new COSMMarkupInt(32512));
    EXPECT_EQ("32512", DescribeValue(pair->GetValue(Input::s_pCursorProperty)));
    EXPECT_TRUE(NoTriggerActiveTwice(pair));
}

// A hover trigger setting IsChecked False on a check box: a local True hides it, so nothing changes and neither
// Unchecked nor Checked is raised (events follow the value the box shows, not the hidden trigger's); under a style's
// True the trigger shows, and its events come and go with the mouse.
TEST_F(TriggerTest, ACheckBoxReportsOnlyTheStateItShows)
{
    Log events;
    for (COSMMarkupRoutedEvent* routedEvent :
         {COSMMarkupToggleButton::s_pCheckedEvent, COSMMarkupToggleButton::s_pUncheckedEvent,
          COSMMarkupToggleButton::s_pIndeterminateEvent})
    {
        context->AddHandler(routedEvent,
                            new COSMMarkupFunctionDelegate([&events](Input*, COSMMarkupRoutedEventArgs* args) {
                                events.push_back(markup_test::Utf8(args->event->GetName()));
                            }));
    }
    struct Case
    {
        const char* name;
        const char* attributes;
        int whileOver;
        Log entering;
        Log leaving;
    };
    const Case cases[] = {
        {"local True", "IsChecked=\"True\"", 1, {}, {}},
        {"styled True", "", 0, {"Unchecked"}, {"Checked"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_root.Attach(Parse("<StackPanel><StackPanel.Resources>\n"
                            "<Style x:Key=\"s\" TargetType=\"CheckBox\"><Setter Property=\"IsChecked\" Value=\"True\"/>"
                            "<Style.Triggers><Trigger Property=\"IsMouseOver\" Value=\"True\"><Trigger.Setters>"
                            "<Setter Property=\"IsChecked\" Value=\"False\"/></Trigger.Setters></Trigger>"
                            "</Style.Triggers></Style>\n</StackPanel.Resources>\n"
                            "<CheckBox Name=\"box\" Style=\"{StaticResource s}\" " +
                            std::string(c.attributes) + "/></StackPanel>"));
        auto* box = MarkupDynamicCast<COSMMarkupCheckBox>(FindNamed(m_root.Get(), L"box"));
        ASSERT_NE(nullptr, box);
        EXPECT_EQ(1, box->GetIsChecked());
        events.clear();
        Enter(box);
        EXPECT_EQ(c.entering, events);
        EXPECT_EQ(c.whileOver, box->GetIsChecked());
        EXPECT_EQ(1, ActiveTriggerCount(box));
        events.clear();
        Leave(box);
        EXPECT_EQ(c.leaving, events);
        EXPECT_EQ(1, box->GetIsChecked());
        m_root.Reset();
    }
}

// A trigger value is a change like any other: one that affects the size re-measures the element.
TEST_F(TriggerTest, ATriggersValueReMeasuresTheElement)
{
    CStyleProbe* probe = ParseProbe("<Style x:Key=\"s\" TargetType=\"OsmStyleProbe\">"
                                    "<Setter Property=\"Width\" Value=\"30\"/><Style.Triggers>\n"
                                    "  <Trigger Property=\"IsMouseOver\" Value=\"True\"><Trigger.Setters>"
                                    "<Setter Property=\"Width\" Value=\"50\"/></Trigger.Setters></Trigger>\n"
                                    "</Style.Triggers></Style>",
                                    "Style=\"{StaticResource s}\"");
    ASSERT_NE(nullptr, probe);
    COSMMarkupDrawingContext measuring{COSMMarkupDrawingContext::CreateMeasuringContext};
    probe->Measure(&measuring, 200, 200);
    EXPECT_EQ(30, probe->GetDesiredSize().cx);
    Enter(probe);
    EXPECT_EQ(50, probe->GetDesiredSize().cx);
    Leave(probe);
    EXPECT_EQ(30, probe->GetDesiredSize().cx);
}

COLORREF ForegroundOf(const COSMMarkupObject* element)
{
    const COSMMarkupBrush* brush =
        MarkupDynamicCast<COSMMarkupBrush>(element->GetValue(COSMMarkupTextElement::s_pForegroundProperty));
    return brush ? brush->GetRepresentativeColor() : CLR_INVALID;
}

// Every hyperlink without a style of its own: underlined, blue (its runs too), the hand cursor, red under the mouse.
TEST_F(TriggerTest, AHyperlinksDefaultStyleTurnsRedUnderTheMouse)
{
    m_root.Attach(Parse("<StackPanel><StackPanel.Resources><Style x:Key=\"plain\"/></StackPanel.Resources>\n"
                        "<TextBlock><Hyperlink Name=\"link\"><Run Name=\"run\">more</Run></Hyperlink>"
                        "<Hyperlink Name=\"styled\" Style=\"{StaticResource plain}\">other</Hyperlink></TextBlock>"
                        "</StackPanel>"));
    ASSERT_TRUE(m_root);
    auto* link = MarkupDynamicCast<COSMMarkupHyperlink>(FindNamed(m_root.Get(), L"link"));
    auto* run = MarkupDynamicCast<COSMMarkupRun>(FindNamed(m_root.Get(), L"run"));
    auto* styled = MarkupDynamicCast<COSMMarkupHyperlink>(FindNamed(m_root.Get(), L"styled"));
    ASSERT_TRUE(link && run && styled);

    EXPECT_EQ("1", DescribeValue(link->GetValue(COSMMarkupTextElement::s_pTextDecorationsProperty)));
    EXPECT_EQ("32649", DescribeValue(link->GetValue(Input::s_pCursorProperty)));
    struct Step
    {
        void (*action)(Input* element);
        COLORREF link;
        COLORREF styled;
    };
    const Step steps[] = {
        {nullptr, 0xFF0000, 0xFF0000},
        {&TriggerTest::Enter, 0x0000FF, 0xFF0000},
        {&TriggerTest::Leave, 0xFF0000, 0xFF0000},
    };
    for (const Step& step : steps)
    {
        if (step.action)
        {
            step.action(link);
            step.action(styled);
        }
        EXPECT_EQ(step.link, ForegroundOf(link));
        EXPECT_EQ(step.link, ForegroundOf(run));
        EXPECT_EQ(step.styled, ForegroundOf(styled));
    }
    EXPECT_EQ(0, ActiveTriggerCount(styled));
}

// The hyperlink's trigger changes how the text looks: the text block that holds it is repainted when the mouse
// comes and when it goes.
TEST_F(TriggerTest, AHyperlinksHoverRepaintsItsTextBlock)
{
    RefPtr<CRecordingContext> recording = AdoptRef(new CRecordingContext);
    Hold root = Hold::Adopt(
        recording->Parse("<TextBlock Name=\"text\">see <Hyperlink Name=\"link\">more</Hyperlink></TextBlock>"));
    ASSERT_TRUE(root);
    auto* link = MarkupDynamicCast<COSMMarkupHyperlink>(FindNamed(root.Get(), L"link"));
    ASSERT_NE(nullptr, link);
    for (void (*action)(Input*) : {&TriggerTest::Enter, &TriggerTest::Leave})
    {
        recording->invalidated.clear();
        action(link);
        EXPECT_NE(recording->invalidated.end(),
                  std::find(recording->invalidated.begin(), recording->invalidated.end(), root.Get()));
    }
    root.Reset();
    recording.Reset();
}

}  // namespace
}  // namespace markup_test
