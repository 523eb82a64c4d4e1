// The markup controls headless: content and its messages, the buttons' layout, the mouse handlers and the events
// they raise, toggle and radio states, the IsChecked text, and drawing: classic bevels read back from a DIB section
// (with the visual-style library made missing) and themed parts through the recording part-drawing table.
#include "ControlTestSupport.h"
#include "tests/support/DcTestSurface.h"

#include "framework/foundation/ColorFunctions.h"
#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupButton.h"
#include "framework/markup/MarkupCheckBox.h"
#include "framework/markup/MarkupContentControl.h"
#include "framework/markup/MarkupControl.h"
#include "framework/markup/MarkupRadioButton.h"
#include "framework/markup/MarkupRun.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupStackPanel.h"
#include "framework/markup/MarkupTextBlock.h"
#include "framework/markup/MarkupTextElement.h"

#include <gmock/gmock.h>
#include <functional>
#include <gtest/gtest.h>

using foundation_test::DcTestSurface;
using markup_test::ClassicButtons;
using markup_test::ControlTest;
using markup_test::DrawnPart;
using markup_test::Hold;
using markup_test::PartRecorder;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::StartsWith;

namespace {

std::string InPage(const std::string& body)
{
    return "<Page>" + body + "</Page>";
}

// A press, moves out and in, and a release or a lost capture, as the context's dispatch calls them.
enum class Step
{
    Down,
    Leave,
    Enter,
    Up,
    LoseCapture
};

void Play(COSMMarkupButtonBase* button, const std::vector<Step>& steps)
{
    for (Step step : steps)
    {
        COSMMarkupMouseEventArgs args;
        switch (step)
        {
        case Step::Down:
            button->OnMouseLeftButtonDown(&args);
            break;
        case Step::Leave:
            button->OnMouseLeave(&args);
            break;
        case Step::Enter:
            button->OnMouseEnter(&args);
            break;
        case Step::Up:
            button->OnMouseLeftButtonUp(&args);
            break;
        case Step::LoseCapture:
            button->OnLostMouseCapture(&args);
            break;
        }
    }
}

void Render(COSMMarkupObject* root, DcTestSurface& surface)
{
    COSMMarkupDrawingContext dc(surface.GetDC());
    MarkupDynamicCast<COSMMarkupVisual>(root)->Render(&dc);
}

}  // namespace

// ---- Content ------------------------------------------------------------------------------------------------------

TEST_F(ControlTest, TextContentBecomesATextBlockWithOneRun)
{
    for (const char* markup : {"<Button Name=\"b\">Press me</Button>", "<Button Name=\"b\" Content=\"Press me\"/>",
                               "<CheckBox Name=\"b\">Press me</CheckBox>"})
    {
        Hold root = Hold::Adopt(Build(InPage(markup)));
        auto* button = FindAs<COSMMarkupContentControl>(root.Get(), L"b");
        ASSERT_NE(button, nullptr) << markup;
        auto* block = MarkupDynamicCast<COSMMarkupTextBlock>(button->GetContent());
        ASSERT_NE(block, nullptr) << markup;
        EXPECT_EQ(block->GetLogicalParent(), button);
        EXPECT_EQ(button->GetVisualChildrenCount(), 1);
        EXPECT_EQ(button->GetVisualChild(0), block);
        ASSERT_EQ(block->GetInlines()->GetCount(), 1) << markup;
        auto* run = MarkupDynamicCast<COSMMarkupRun>(block->GetInlines()->GetInline(0));
        ASSERT_NE(run, nullptr);
        EXPECT_STREQ(run->GetTextChars(), L"Press me");
        // The text is measured: the button is wider than its frame.
        EXPECT_GT(block->GetDesiredSize().cx, 0) << markup;
    }
}

TEST_F(ControlTest, ConvertContentTextPassesOtherValuesThrough)
{
    Hold brush = Hold::Adopt(new COSMMarkupSolidColorBrush(RGB(1, 2, 3)));
    COSMMarkupBuilder builder(context);
    Hold same = Hold::Adopt(ConvertContentText(&builder, brush.Get()));
    EXPECT_EQ(same.Get(), brush.Get());
    EXPECT_EQ(ConvertContentText(&builder, nullptr), nullptr);
    Hold text = Hold::Adopt(new COSMMarkupString(L"Hi", 2));
    Hold block = Hold::Adopt(ConvertContentText(&builder, text.Get()));
    ASSERT_NE(MarkupDynamicCast<COSMMarkupTextBlock>(block.Get()), nullptr);
    EXPECT_EQ(static_cast<COSMMarkupTextBlock*>(block.Get())->GetInlines()->GetCount(), 1);
}

TEST_F(ControlTest, ASecondChildOrContentOfAnotherKindIsRefused)
{
    EXPECT_THAT(ParseError(InPage("<Button><Border/><Canvas/></Button>")),
                StartsWith("'COSMMarkupButton' already has a child and cannot add 'COSMMarkupCanvas'. "
                           "'COSMMarkupButton' can accept only one child.. Line 1"));
    EXPECT_THAT(ParseError(InPage("<CheckBox>Text<Border/></CheckBox>")),
                StartsWith("'COSMMarkupCheckBox' already has a child and cannot add 'COSMMarkupBorder'."));
    EXPECT_THAT(ParseError(InPage("<Button><SolidColorBrush Color=\"Red\"/></Button>")),
                StartsWith("'COSMMarkupSolidColorBrush' object cannot be added to 'COSMMarkupButton'. Object cannot "
                           "be converted to type 'COSMMarkupUIElement'. Line 1"));
}

TEST_F(ControlTest, APlainControlLaysOutItsChildOverItsArea)
{
    Hold control = Hold::Adopt(COSMMarkupControl::GetClassType()->CreateInstance());
    auto* bare = static_cast<COSMMarkupControl*>(control.Get());
    ControlTest::Layout(bare, 50, 40);
    EXPECT_EQ(bare->GetDesiredSize(), CSize(0, 0));

    Hold root = Hold::Adopt(Build(InPage("<Button Name=\"b\" Padding=\"0\" Width=\"60\" Height=\"30\">"
                                         "<FrameworkElement Name=\"c\" Width=\"20\" Height=\"10\"/></Button>"),
                                  200, 100));
    auto* content = FindAs<COSMMarkupUIElement>(root.Get(), L"c");
    ASSERT_NE(content, nullptr);
    // Its slot is the 60 x 30 button less 4 pixels on every side.
    EXPECT_EQ(content->GetFinalRect(), CRect(4, 4, 56, 26));
}

// ---- Layout -------------------------------------------------------------------------------------------------------

TEST_F(ControlTest, ButtonsMeasureTheirContentWithPaddingAndFrame)
{
    struct Case
    {
        const char* markup;
        CSize desired;
        CRect contentRect;  // in the button, arranged at its desired size
    };
    const Case cases[] = {
        // Padding 1, 2, 3, 4 plus 4 on each side.
        {"<Button Name=\"b\" Padding=\"1,2,3,4\"><FrameworkElement Name=\"c\" Width=\"30\" Height=\"10\"/></Button>",
         CSize(42, 24), CRect(5, 6, 35, 16)},
        {"<Button Name=\"b\"/>", CSize(8, 8), CRect(0, 0, 0, 0)},
        // 16 for the glyph plus the padding; at least 13 high with content.
        {"<CheckBox Name=\"b\" Padding=\"1,2,3,4\"><FrameworkElement Name=\"c\" Width=\"30\" "
         "Height=\"10\"/></CheckBox>",
         CSize(50, 16), CRect(17, 2, 47, 12)},
        {"<CheckBox Name=\"b\" Padding=\"1\"><FrameworkElement Name=\"c\" Width=\"30\" Height=\"4\"/></CheckBox>",
         CSize(48, 13), CRect(17, 1, 47, 12)},
        {"<RadioButton Name=\"b\" Padding=\"1,0,1,0\"><FrameworkElement Name=\"c\" Width=\"30\" "
         "Height=\"20\"/></RadioButton>",
         CSize(48, 20), CRect(17, 0, 47, 20)},
        // Without content: the check box only its padding high, the radio button at least 13.
        {"<CheckBox Name=\"b\" Padding=\"3,4,5,6\"/>", CSize(24, 10), CRect(0, 0, 0, 0)},
        {"<RadioButton Name=\"b\" Padding=\"3,4,5,6\"/>", CSize(24, 13), CRect(0, 0, 0, 0)},
        {"<RadioButton Name=\"b\" Padding=\"3,10,5,6\"/>", CSize(24, 16), CRect(0, 0, 0, 0)},
    };
    for (const Case& c : cases)
    {
        Hold root = Hold::Adopt(
            Build("<Page><StackPanel HorizontalAlignment=\"Left\">" + std::string(c.markup) + "</StackPanel></Page>"));
        auto* button = FindAs<COSMMarkupButtonBase>(root.Get(), L"b");
        ASSERT_NE(button, nullptr) << c.markup;
        EXPECT_EQ(button->GetDesiredSize(), c.desired) << c.markup;
        if (auto* content = FindAs<COSMMarkupUIElement>(root.Get(), L"c"))
        {
            EXPECT_EQ(content->GetFinalRect(), c.contentRect) << c.markup;
        }
    }
}

TEST_F(ControlTest, APressedClassicButtonMovesItsContent)
{
    ClassicButtons classic;
    Hold root =
        Hold::Adopt(Build(InPage("<StackPanel HorizontalAlignment=\"Left\"><Button Name=\"b\">"
                                 "<FrameworkElement Name=\"c\" Width=\"30\" Height=\"10\"/></Button></StackPanel>")));
    auto* button = FindAs<COSMMarkupButton>(root.Get(), L"b");
    auto* content = FindAs<COSMMarkupUIElement>(root.Get(), L"c");
    ASSERT_TRUE(button && content);
    EXPECT_EQ(content->GetFinalRect(), CRect(4, 4, 34, 14));
    Play(button, {Step::Down});
    ControlTest::Layout(root.Get(), 200, 100);
    EXPECT_EQ(content->GetFinalRect(), CRect(5, 5, 35, 15));
    Play(button, {Step::Up});
    ControlTest::Layout(root.Get(), 200, 100);
    EXPECT_EQ(content->GetFinalRect(), CRect(4, 4, 34, 14));
}

// ---- Mouse --------------------------------------------------------------------------------------------------------

TEST_F(ControlTest, OnlyAReleaseOverThePressedButtonClicks)
{
    struct Case
    {
        const char* name;
        std::vector<Step> steps;
        int clicks;
        bool mouseOverAfter;
    };
    const Case cases[] = {
        {"press, release", {Step::Enter, Step::Down, Step::Up}, 1, true},
        {"press, leave, return, release", {Step::Enter, Step::Down, Step::Leave, Step::Enter, Step::Up}, 1, true},
        {"press, leave, release outside", {Step::Enter, Step::Down, Step::Leave, Step::Up}, 0, false},
        {"press, lose the capture", {Step::Enter, Step::Down, Step::LoseCapture, Step::Up}, 0, true},
        {"release without a press", {Step::Enter, Step::Up}, 0, true},
    };
    for (const Case& c : cases)
    {
        std::vector<std::string> log;
        LogEvents(L"OnClick", &log);
        Hold root = Hold::Adopt(Build(InPage("<Button Name=\"b\" Click=\"OnClick\">OK</Button>")));
        auto* button = FindAs<COSMMarkupButton>(root.Get(), L"b");
        ASSERT_NE(button, nullptr);
        Play(button, c.steps);
        EXPECT_EQ(static_cast<int>(log.size()), c.clicks) << c.name;
        EXPECT_EQ(button->GetIsMouseOver(), c.mouseOverAfter ? TRUE : FALSE) << c.name;
        EXPECT_FALSE(button->GetIsPressed()) << c.name;
        EXPECT_FALSE(button->IsPressedNow()) << c.name;
    }
}

TEST_F(ControlTest, IsPressedHoldsWhileTheButtonIsHeldOverIt)
{
    Hold root = Hold::Adopt(Build(InPage("<Button Name=\"b\">OK</Button>")));
    auto* button = FindAs<COSMMarkupButton>(root.Get(), L"b");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->GetValue(COSMMarkupUIElement::s_pFocusableProperty)
                  ->IsEqual(Hold::Adopt(COSMMarkupBool::CreateTrueValue()).Get()),
              TRUE);
    std::vector<BOOL> pressed;
    for (Step step : {Step::Enter, Step::Down, Step::Leave, Step::Enter, Step::Up})
    {
        Play(button, {step});
        pressed.push_back(button->GetIsPressed());
    }
    EXPECT_THAT(pressed, ElementsAre(FALSE, TRUE, FALSE, TRUE, FALSE));
}

// ---- Toggle states ------------------------------------------------------------------------------------------------

TEST_F(ControlTest, AThreeStateCheckBoxCyclesAndRaisesItsEventsBeforeClick)
{
    std::vector<std::string> log;
    LogEvents(L"OnEvent", &log);
    Hold root =
        Hold::Adopt(Build(InPage("<CheckBox Name=\"c\" IsThreeState=\"True\" Checked=\"OnEvent\" Unchecked=\"OnEvent\" "
                                 "Indeterminate=\"OnEvent\" Click=\"OnEvent\">Three</CheckBox>")));
    auto* box = FindAs<COSMMarkupCheckBox>(root.Get(), L"c");
    ASSERT_NE(box, nullptr);
    std::vector<int> states;
    for (int i = 0; i < 3; ++i)
    {
        Play(box, {Step::Enter, Step::Down, Step::Up});
        states.push_back(box->GetIsChecked());
    }
    EXPECT_THAT(states, ElementsAre(1, 2, 0));
    EXPECT_THAT(log, ElementsAre("Checked:c", "Click:c", "Indeterminate:c", "Click:c", "Unchecked:c", "Click:c"));

    // Two-state: checked goes back to unchecked.
    log.clear();
    box->SetValue(COSMMarkupToggleButton::s_pIsThreeStateProperty, COSMMarkupBool::CreateFalseValue());
    box->SetIsChecked(1);
    box->OnToggle();
    EXPECT_EQ(box->GetIsChecked(), 0);
    EXPECT_THAT(log, ElementsAre("Checked:c", "Unchecked:c"));
}

TEST_F(ControlTest, RadioButtonsUncheckOnlyTheirParentsRadios)
{
    std::vector<std::string> log;
    LogEvents(L"OnEvent", &log);
    Hold root = Hold::Adopt(Build(InPage(
        "<StackPanel>"
        "<RadioButton Name=\"a\" Checked=\"OnEvent\" Unchecked=\"OnEvent\">A</RadioButton>"
        "<RadioButton Name=\"b\" IsChecked=\"True\" Checked=\"OnEvent\" Unchecked=\"OnEvent\">B</RadioButton>"
        "<CheckBox Name=\"box\" IsChecked=\"True\">Box</CheckBox>"
        "<StackPanel><RadioButton Name=\"other\" IsChecked=\"True\" Unchecked=\"OnEvent\">C</RadioButton></StackPanel>"
        "</StackPanel>")));
    auto* a = FindAs<COSMMarkupRadioButton>(root.Get(), L"a");
    auto* b = FindAs<COSMMarkupRadioButton>(root.Get(), L"b");
    auto* box = FindAs<COSMMarkupCheckBox>(root.Get(), L"box");
    auto* other = FindAs<COSMMarkupRadioButton>(root.Get(), L"other");
    ASSERT_TRUE(a && b && box && other);
    log.clear();

    Play(a, {Step::Enter, Step::Down, Step::Up});
    EXPECT_EQ(a->GetIsChecked(), 1);
    EXPECT_EQ(b->GetIsChecked(), 0);
    EXPECT_EQ(box->GetIsChecked(), 1);
    EXPECT_EQ(other->GetIsChecked(), 1);
    EXPECT_THAT(log, ElementsAre("Unchecked:b", "Checked:a"));

    // A click on a checked radio button leaves it checked, and raises nothing more.
    log.clear();
    Play(a, {Step::Down, Step::Up});
    EXPECT_EQ(a->GetIsChecked(), 1);
    EXPECT_TRUE(log.empty());
}

TEST_F(ControlTest, IsCheckedReadsTrueFalseAndEmptyText)
{
    struct Case
    {
        const char* text;
        int state;
    };
    for (const Case& c : {Case{"TRUE", 1}, Case{"false", 0}, Case{"", 2}, Case{"True", 1}})
    {
        Hold root = Hold::Adopt(Build(InPage("<CheckBox Name=\"c\" IsChecked=\"" + std::string(c.text) + "\"/>")));
        auto* box = FindAs<COSMMarkupCheckBox>(root.Get(), L"c");
        ASSERT_NE(box, nullptr) << c.text;
        EXPECT_EQ(box->GetIsChecked(), c.state) << c.text;
    }
    EXPECT_THAT(ParseError(InPage("<CheckBox IsChecked=\"Maybe\"/>")),
                StartsWith("Cannot convert string in attribute 'IsChecked' to object of type 'COSMMarkupEnum'"));
    EXPECT_THAT(ParseError(InPage("<Image Stretch=\"Tall\"/>")),
                StartsWith("Cannot convert string in attribute 'Stretch' to object of type 'COSMMarkupEnum'"));
    Hold number = Hold::Adopt(COSMMarkupEnum::CreateValue(1));
    EXPECT_EQ(COSMMarkupToggleButton::IsCheckedFromString(nullptr, number.Get()), nullptr);
}

TEST_F(ControlTest, IsCheckedChangesFromCodeRaiseTheirEvents)
{
    std::vector<std::string> log;
    for (COSMMarkupRoutedEvent* routedEvent :
         {COSMMarkupToggleButton::s_pCheckedEvent, COSMMarkupToggleButton::s_pUncheckedEvent,
          COSMMarkupToggleButton::s_pIndeterminateEvent})
        context->AddHandler(routedEvent, MakeLogger(&log));
    Hold root = Hold::Adopt(Build(InPage("<StackPanel><CheckBox Name=\"c\"/></StackPanel>")));
    auto* box = FindAs<COSMMarkupCheckBox>(root.Get(), L"c");
    ASSERT_NE(box, nullptr);
    box->SetIsChecked(2);
    box->SetIsChecked(1);
    box->SetValue(COSMMarkupToggleButton::s_pIsCheckedProperty, nullptr);
    // Nobody on the route handles them: they bubble to the context's handlers.
    EXPECT_THAT(log, ElementsAre("Indeterminate:c", "Checked:c", "Unchecked:c"));
}

// ---- Drawing ------------------------------------------------------------------------------------------------------

TEST_F(ControlTest, AClassicButtonDrawsItsBevelInSystemColours)
{
    ClassicButtons classic;
    Hold root = Hold::Adopt(Build(InPage("<Button Name=\"b\" Width=\"40\" Height=\"20\" HorizontalAlignment=\"Left\" "
                                         "VerticalAlignment=\"Top\"/>")));
    auto* button = FindAs<COSMMarkupButton>(root.Get(), L"b");
    ASSERT_NE(button, nullptr);
    DcTestSurface surface(60, 30, RGB(1, 2, 3));
    Render(root.Get(), surface);

    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF light = ::GetSysColor(COLOR_WINDOW);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF dark = ::GetSysColor(COLOR_3DDKSHADOW);
    struct Probe
    {
        int x, y;
        COLORREF color;
    };
    for (const Probe& p : {Probe{10, 0, light}, Probe{0, 10, light}, Probe{0, 19, dark}, Probe{10, 18, shadow},
                           Probe{38, 10, shadow}, Probe{10, 19, dark}, Probe{39, 10, dark}, Probe{39, 0, dark},
                           Probe{20, 10, face}, Probe{40, 10, RGB(1, 2, 3)}, Probe{10, 20, RGB(1, 2, 3)}})
    {
        EXPECT_EQ(surface.Pixel(p.x, p.y), p.color) << p.x << ", " << p.y;
    }

    // Pressed: the window-frame colour around, the shadow inside it, the face within.
    Play(button, {Step::Enter, Step::Down});
    Render(root.Get(), surface);
    const COLORREF frame = ::GetSysColor(COLOR_WINDOWFRAME);
    for (const Probe& p :
         {Probe{10, 0, frame}, Probe{0, 10, frame}, Probe{39, 10, frame}, Probe{10, 19, frame}, Probe{10, 1, shadow},
          Probe{1, 10, shadow}, Probe{38, 10, shadow}, Probe{10, 18, shadow}, Probe{20, 10, face}})
    {
        EXPECT_EQ(surface.Pixel(p.x, p.y), p.color) << "pressed " << p.x << ", " << p.y;
    }
    Play(button, {Step::Up});
}

TEST_F(ControlTest, ABackgroundShadesTheBevelThroughHueSaturationAndLuminance)
{
    ClassicButtons classic;
    const COLORREF background = RGB(40, 120, 200);
    Hold root = Hold::Adopt(Build(InPage("<Button Name=\"b\" Width=\"40\" Height=\"20\" HorizontalAlignment=\"Left\" "
                                         "VerticalAlignment=\"Top\" Background=\"#2878C8\"/>")));
    DcTestSurface surface(60, 30, RGB(1, 2, 3));
    Render(root.Get(), surface);

    const DWORD hsl = RGBtoHSL(background);
    const int luminance = static_cast<int>(hsl >> 16 & 0xFF);
    const COLORREF light = HSLtoRGB((hsl & 0xFFFF) | static_cast<DWORD>((luminance + 240) / 2) << 16);
    const COLORREF shadow = HSLtoRGB((hsl & 0xFFFF) | static_cast<DWORD>(::MulDiv(luminance, 2, 3)) << 16);
    const COLORREF dark = RGB(GetRValue(shadow) / 2, GetGValue(shadow) / 2, GetBValue(shadow) / 2);
    // The shades really differ from the face and from each other.
    EXPECT_NE(light, background);
    EXPECT_NE(shadow, background);
    EXPECT_NE(dark, shadow);
    EXPECT_EQ(surface.Pixel(10, 0), light);
    EXPECT_EQ(surface.Pixel(0, 10), light);
    EXPECT_EQ(surface.Pixel(10, 18), shadow);
    EXPECT_EQ(surface.Pixel(38, 10), shadow);
    EXPECT_EQ(surface.Pixel(10, 19), dark);
    EXPECT_EQ(surface.Pixel(39, 10), dark);
    EXPECT_EQ(surface.Pixel(20, 10), background);
}

TEST_F(ControlTest, TheFocusRectangleLiesThreePixelsInside)
{
    ClassicButtons classic;
    Hold root = Hold::Adopt(Build(InPage("<Button Name=\"b\" Width=\"40\" Height=\"20\" HorizontalAlignment=\"Left\" "
                                         "VerticalAlignment=\"Top\"/>")));
    auto* button = FindAs<COSMMarkupButton>(root.Get(), L"b");
    ASSERT_NE(button, nullptr);
    DcTestSurface plain(60, 30, RGB(1, 2, 3));
    Render(root.Get(), plain);
    button->SetValue(COSMMarkupInputElement::s_pIsKeyboardFocusedProperty, COSMMarkupBool::CreateTrueValue());
    DcTestSurface focused(60, 30, RGB(1, 2, 3));
    Render(root.Get(), focused);
    // The dotted frame runs along rows 3 and 16 and columns 3 and 36; nothing changes outside it or within.
    auto changes = [&](int x0, int y0, int x1, int y1) {
        int count = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                count += focused.Pixel(x, y) != plain.Pixel(x, y);
        return count;
    };
    EXPECT_GE(changes(3, 3, 36, 3), 10);
    EXPECT_GE(changes(3, 16, 36, 16), 10);
    EXPECT_GE(changes(3, 3, 3, 16), 4);
    EXPECT_GE(changes(36, 3, 36, 16), 4);
    EXPECT_EQ(changes(0, 0, 39, 2), 0);
    EXPECT_EQ(changes(0, 17, 39, 19), 0);
    EXPECT_EQ(changes(0, 0, 2, 19), 0);
    EXPECT_EQ(changes(37, 0, 39, 19), 0);
    EXPECT_EQ(changes(4, 4, 35, 15), 0);
}

TEST_F(ControlTest, GlyphButtonsShowTheirFocusRightOfTheGlyphAndOnlyWithContent)
{
    ClassicButtons classic;
    for (const char* tag : {"CheckBox", "RadioButton"})
    {
        for (bool withContent : {true, false})
        {
            const std::string open = std::string("<") + tag +
                                     " Name=\"c\" Width=\"60\" Height=\"20\" "
                                     "HorizontalAlignment=\"Left\" VerticalAlignment=\"Top\"";
            Hold root = Hold::Adopt(Build(InPage(withContent ? open + ">text</" + tag + ">" : open + "/>")));
            auto* box = FindAs<COSMMarkupToggleButton>(root.Get(), L"c");
            ASSERT_NE(box, nullptr) << tag;
            DcTestSurface plain(70, 30, RGB(1, 2, 3));
            Render(root.Get(), plain);
            box->SetValue(COSMMarkupInputElement::s_pIsKeyboardFocusedProperty, COSMMarkupBool::CreateTrueValue());
            DcTestSurface focused(70, 30, RGB(1, 2, 3));
            Render(root.Get(), focused);
            int left = 0, frame = 0;
            for (int y = 0; y < 30; ++y)
            {
                for (int x = 0; x < 70; ++x)
                {
                    const bool changed = focused.Pixel(x, y) != plain.Pixel(x, y);
                    left += changed && x < 15;
                    frame += changed && x >= 15;
                }
            }
            EXPECT_EQ(left, 0) << tag;
            if (withContent)
            {
                EXPECT_GE(frame, 20) << tag;
            }
            else
            {
                EXPECT_EQ(frame, 0) << tag;
            }
        }
    }
}

TEST_F(ControlTest, ThemedButtonsAskForTheirPartsAndStates)
{
    COSMVisualStyleWrapper probe;
    probe.OpenThemeData(nullptr, L"BUTTON");
    ASSERT_TRUE(IsMarkupVisualStyleOn(probe)) << "the test display runs a visual style";

    PartRecorder recorder;
    Hold root = Hold::Adopt(Build(InPage("<StackPanel>"
                                         "<Button Name=\"b\" Width=\"40\" Height=\"20\"/>"
                                         "<CheckBox Name=\"c\" Height=\"21\">x</CheckBox>"
                                         "<RadioButton Name=\"r\" Height=\"20\">x</RadioButton>"
                                         "<Button Name=\"colored\" Background=\"Red\" Width=\"40\" Height=\"20\"/>"
                                         "</StackPanel>")));
    auto* button = FindAs<COSMMarkupButtonBase>(root.Get(), L"b");
    auto* box = FindAs<COSMMarkupCheckBox>(root.Get(), L"c");
    auto* radio = FindAs<COSMMarkupRadioButton>(root.Get(), L"r");
    ASSERT_TRUE(button && box && radio);

    struct Case
    {
        const char* name;
        COSMMarkupObject* element;
        std::function<void()> setup;
        int part;
        int state;
    };
    auto mouseOver = [](COSMMarkupObject* e) {
        e->SetValue(COSMMarkupInputElement::s_pIsMouseOverProperty, COSMMarkupBool::CreateTrueValue());
    };
    auto pressed = [](COSMMarkupObject* e) {
        e->SetValue(COSMMarkupButtonBase::s_pIsPressedProperty, COSMMarkupBool::CreateTrueValue());
    };
    auto reset = [](COSMMarkupObject* e) {
        e->SetValue(COSMMarkupInputElement::s_pIsMouseOverProperty, nullptr);
        e->SetValue(COSMMarkupButtonBase::s_pIsPressedProperty, nullptr);
        if (auto* toggle = MarkupDynamicCast<COSMMarkupToggleButton>(e))
            toggle->SetIsChecked(0);
    };
    const Case cases[] = {
        {"button normal", button, [] {}, 1, 1},
        {"button hot", button, [&] { mouseOver(button); }, 1, 2},
        {"button pressed", button,
         [&] {
             mouseOver(button);
             pressed(button);
         },
         1, 3},
        {"check box normal", box, [] {}, 3, 1},
        {"check box checked", box, [&] { box->SetIsChecked(1); }, 3, 5},
        {"check box hot indeterminate", box,
         [&] {
             mouseOver(box);
             box->SetIsChecked(2);
         },
         3, 10},
        {"check box pressed checked", box,
         [&] {
             pressed(box);
             box->SetIsChecked(1);
         },
         3, 7},
        {"radio hot", radio, [&] { mouseOver(radio); }, 2, 2},
        {"radio checked pressed", radio,
         [&] {
             pressed(radio);
             radio->SetIsChecked(1);
         },
         2, 7},
        {"radio indeterminate", radio, [&] { radio->SetIsChecked(2); }, 2, 5},
    };
    for (const Case& c : cases)
    {
        reset(c.element);
        c.setup();
        recorder.Clear();
        COSMMarkupDrawingContext measuring(COSMMarkupDrawingContext::CreateMeasuringContext);
        static_cast<COSMMarkupVisual*>(c.element)->OnRender(&measuring);
        ASSERT_EQ(recorder.CallCount(), 1u) << c.name;
        ASSERT_EQ(recorder.themeParts.size(), 1u) << c.name << ": a themed part";
        const DrawnPart& call = recorder.themeParts[0];
        EXPECT_EQ(call.part, c.part) << c.name;
        EXPECT_EQ(call.state, c.state) << c.name;
        reset(c.element);
    }
    // The glyph box is 13 x 13, centred on the height by integer halves.
    EXPECT_EQ(recorder.themeParts[0].rect, CRect(0, 4, 13, 17));

    // A button with a Background draws its bevel, not the part.
    recorder.Clear();
    DcTestSurface surface(200, 100);
    Render(root.Get(), surface);
    int buttonParts = 0;
    for (const DrawnPart& call : recorder.themeParts)
        buttonParts += call.part == 1;
    EXPECT_EQ(buttonParts, 1);
    EXPECT_EQ(recorder.CallCount(), 3u);
}

TEST_F(ControlTest, ClassicGlyphsUseTheFrameControlStyles)
{
    ClassicButtons classic;
    PartRecorder recorder;
    Hold root = Hold::Adopt(Build(InPage("<StackPanel><CheckBox Name=\"c\" Height=\"20\">x</CheckBox>"
                                         "<RadioButton Name=\"r\" Height=\"20\">x</RadioButton></StackPanel>")));
    auto* box = FindAs<COSMMarkupCheckBox>(root.Get(), L"c");
    auto* radio = FindAs<COSMMarkupRadioButton>(root.Get(), L"r");
    ASSERT_TRUE(box && radio);
    struct Case
    {
        COSMMarkupToggleButton* element;
        int checked;
        bool pressed;
        UINT flags;
    };
    const Case cases[] = {
        {box, 0, false, DFCS_BUTTONCHECK},
        {box, 1, false, DFCS_BUTTONCHECK | DFCS_CHECKED},
        {box, 2, false, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_BUTTON3STATE},
        {box, 1, true, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_PUSHED},
        {radio, 0, true, DFCS_BUTTONRADIO | DFCS_PUSHED},
        {radio, 1, false, DFCS_BUTTONRADIO | DFCS_CHECKED},
    };
    for (const Case& c : cases)
    {
        c.element->SetIsChecked(c.checked);
        c.element->SetValue(COSMMarkupButtonBase::s_pIsPressedProperty,
                            c.pressed ? COSMMarkupBool::CreateTrueValue() : nullptr);
        recorder.Clear();
        COSMMarkupDrawingContext measuring(COSMMarkupDrawingContext::CreateMeasuringContext);
        c.element->OnRender(&measuring);
        ASSERT_EQ(recorder.CallCount(), 1u);
        ASSERT_EQ(recorder.frameControls.size(), 1u) << "a frame control, not a themed part";
        const DrawnPart& call = recorder.frameControls[0];
        EXPECT_EQ(call.part, static_cast<int>(DFC_BUTTON));
        EXPECT_EQ(static_cast<UINT>(call.state), c.flags) << c.checked << " " << c.pressed;
        EXPECT_EQ(call.rect, CRect(0, 4, 13, 17));
    }
}
