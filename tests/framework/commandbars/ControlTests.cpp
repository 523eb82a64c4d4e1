// The control base: texts and prompts, styles and caption visibility, the image-id chain, comparing and copying,
// states read through a bound action, and values outside the usual ranges. Headless.
#include "CommandBarsTestSupport.h"
#include "resources/CommandBarsTestIds.h"

#include "framework/commandbars/ControlAction.h"
#include "framework/commandbars/ControlActions.h"
#include "framework/commandbars/ControlButton.h"
#include "framework/foundation/ImageManager.h"

#include <string>

using namespace commandbars_test;

namespace {

// A button that counts caption changes and records what its action tells it.
class RecordingControl : public COSMControlButton
{
    DECLARE_DYNCREATE(RecordingControl)

public:
    int captionChanges = 0;
    std::vector<std::string> actionEvents;

    void OnCaptionChanged() override { ++captionChanges; }
    void OnActionChanging(int property) override { actionEvents.push_back("changing " + std::to_string(property)); }
    void OnActionChanged(int property) override
    {
        actionEvents.push_back("changed " + std::to_string(property));
        COSMControlButton::OnActionChanged(property);
    }
};

IMPLEMENT_DYNCREATE(RecordingControl, COSMControlButton)

using ControlTest = CommandBarsTest;

TEST_F(ControlTest, CaptionKeepsTheTextAfterATabAsShortcut)
{
    const struct
    {
        const char* before;  // caption already set
        const char* text;
        const char* caption;
        const char* shortcut;
        int captionChanges;
        BOOL layoutPending;
    } cases[] = {
        {"", "&Open\tCtrl+O", "&Open", "Ctrl+O", 1, TRUE},
        {"", "&Open", "&Open", "F5", 1, TRUE},  // no tab: the shortcut stays
        {"&Open", "&Open\tCtrl+O", "&Open", "Ctrl+O", 0, TRUE},
        {"&Open", "&Open", "&Open", "F5", 0, FALSE},  // nothing changed: no layout
        {"", "\tF5", "", "F5", 0, FALSE},
        {"", "Save\tShift+F12\tmore", "Save", "Shift+F12\tmore", 1, TRUE},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        RecordingControl control;
        control.SetShortcutTextAuto("F5");
        control.SetCaption(c.before);
        control.captionChanges = 0;

        COSMCommandBar bar;
        control.SetParent(&bar);
        control.SetCaption(c.text);
        EXPECT_STREQ(c.caption, control.GetCaptionText());
        EXPECT_STREQ(c.shortcut, control.GetShortcutTextAuto());
        EXPECT_EQ(c.captionChanges, control.captionChanges);
        EXPECT_EQ(c.layoutPending, (bar.GetStateFlags() & COSMCommandBar::kStateLayoutPending) != 0);
        control.SetParent(nullptr);
    }
}

TEST_F(ControlTest, PromptFillsTextsByItsParts)
{
    const struct
    {
        const char* prompt;
        const char* caption;  // set before the prompt
        const char* description;
        const char* tooltip;
        const char* controlCaption;
        const char* actionCaption;
        const char* keyboardTip;
    } cases[] = {
        {"Opens a file", "", "Opens a file", "Opens a file", "Opens a file", "", ""},
        {"Opens a file\nOpen", "", "Opens a file", "Open", "Open", "", ""},
        {"Opens a file\nOpen\n&Open...", "", "Opens a file", "Open", "&Open...", "&Open...", ""},
        {"Opens a file\nOpen\n&Open...\nO", "", "Opens a file", "Open", "&Open...", "&Open...", "O"},
        {"Opens a file\nOpen\n\nO", "", "Opens a file", "Open", "Open", "", "O"},
        {"Opens a file\nOpen\n&Open...\nO", "Mine", "Opens a file", "Open", "Mine", "Mine", "O"},
        {"", "Mine", "", "", "Mine", "Mine", ""},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.prompt);
        RecordingControl control;
        control.SetCaption(c.caption);
        control.captionChanges = 0;
        control.SetPrompt(c.prompt);
        EXPECT_STREQ(c.description, control.GetDescriptionText());
        EXPECT_STREQ(c.tooltip, control.GetTooltipText());
        EXPECT_STREQ(c.controlCaption, control.GetCaptionText());
        EXPECT_STREQ(c.keyboardTip, control.GetKeyboardTip());
        EXPECT_EQ(c.caption[0] == '\0' && c.prompt[0] != '\0' ? 1 : 0, control.captionChanges);

        COSMControlActions actions(nullptr);
        COSMControlAction* action = actions.Add(ID_TEST_PLAIN);
        action->SetCaption(c.caption);
        action->SetPrompt(c.prompt);
        EXPECT_STREQ(c.description, action->GetDescription());
        EXPECT_STREQ(c.tooltip, action->GetTooltip());
        EXPECT_STREQ(c.actionCaption, action->GetCaptionText());
        EXPECT_STREQ(c.keyboardTip, action->GetKeyboardTip());
    }
}

TEST_F(ControlTest, SetIdReadsThePromptOfANewId)
{
    COSMControl control;
    control.SetID(ID_TEST_PASTE);
    EXPECT_EQ(static_cast<UINT>(ID_TEST_PASTE), control.GetID());
    EXPECT_STREQ("Insert Clipboard contents", control.GetDescriptionText());
    EXPECT_STREQ("Paste", control.GetTooltipText());
    EXPECT_STREQ("&Paste it", control.GetCaptionText());
    EXPECT_STREQ("V", control.GetKeyboardTip());

    // The same id again reads nothing: texts set meanwhile stay.
    control.SetTooltip("Mine");
    control.SetID(ID_TEST_PASTE);
    EXPECT_STREQ("Mine", control.GetTooltipText());
    // An id without a string keeps the texts and is stored.
    control.SetID(ID_TEST_PLAIN);
    EXPECT_STREQ("Mine", control.GetTooltipText());
    EXPECT_EQ(static_cast<UINT>(ID_TEST_PLAIN), control.GetID());
}

TEST_F(ControlTest, StyleFallsBackFromCustomToOwnToBarToFallback)
{
    const struct
    {
        int customStyle;
        int style;
        int fallback;
        BOOL withBar;
        int expected;
    } cases[] = {
        {-1, 0, 0, TRUE, 3},                                              // the bar's default
        {0, 2, 0, TRUE, 0},                                               // a custom style of 0 wins
        {-1, 2, 0, TRUE, 2},  {4, 2, 1, TRUE, 4},   {-1, 0, 1, TRUE, 1},  // a fallback style replaces the bar's
        {-1, 0, 0, FALSE, 0}, {-1, 0, 4, FALSE, 4},
    };
    for (const auto& c : cases)
    {
        COSMCommandBar bar;
        bar.SetDefaultButtonStyle(3);
        COSMControl control;
        control.SetParent(c.withBar ? &bar : nullptr);
        control.SetCustomStyle(c.customStyle);
        control.SetStyle(c.style);
        control.SetFallbackStyle(c.fallback);
        EXPECT_EQ(c.expected, control.GetStyle())
            << c.customStyle << " " << c.style << " " << c.fallback << " " << c.withBar;
    }
}

TEST_F(ControlTest, CaptionVisibilityByBarStyleTypeAndImage)
{
    const UINT kImageId = 4100;
    RefPtr<COSMImageManager> images = AdoptRef(new COSMImageManager);
    ASSERT_TRUE(images->SetIcon(::LoadIcon(nullptr, IDI_APPLICATION), kImageId));
    const struct
    {
        int barType;
        const char* caption;
        int style;
        int type;
        BOOL image;
        BOOL visible;
    } cases[] = {
        {2, "", 2, 1, TRUE, TRUE},    // a popup bar shows every caption
        {1, "", 1, 1, FALSE, FALSE},  // nothing to show
        {1, "Go", 1, 1, TRUE, TRUE},
        {1, "Go", 3, 6, TRUE, TRUE},
        {1, "Go", 4, 5, TRUE, TRUE},
        {1, "Go", 2, 8, FALSE, FALSE},
        {1, "Go", 0, 1, TRUE, FALSE},  // automatic: a button with an image shows it
                                       // alone
        {1, "Go", 0, 1, FALSE, TRUE},
        {1, "Go", 0, 3, TRUE, FALSE},
        {0, "Go", 0, 4, FALSE, TRUE},
        {1, "Go", 0, 2, TRUE, TRUE},
        {1, "Go", 0, 8, TRUE, TRUE},
        {1, "Go", 0, 9, TRUE, TRUE},
        {1, "Go", 0, 11, TRUE, TRUE},
        {1, "Go", 0, 5, FALSE, FALSE},
        {1, "Go", 0, 6, FALSE, FALSE},
        {1, "Go", 0, 10, FALSE, FALSE},
    };
    for (const auto& c : cases)
    {
        COSMCommandBar bar;
        bar.SetType(c.barType);
        bar.SetImageManager(images.Get());
        COSMControl control;
        control.SetParent(&bar);
        control.SetCaption(c.caption);
        control.SetStyle(c.style);
        control.SetType(c.type);
        control.SetIconId(c.image ? static_cast<int>(kImageId) : 0);
        EXPECT_EQ(c.visible, control.IsCaptionVisible())
            << c.barType << " '" << c.caption << "' " << c.style << " " << c.type << " " << c.image;
    }
}

TEST_F(ControlTest, ImageIdChain)
{
    const struct
    {
        int customIconId;
        int iconId;
        BOOL action;
        int actionIconId;
        UINT expected;
    } cases[] = {
        {7, 8, TRUE, 9, 7},    {-3, 8, TRUE, 9, static_cast<UINT>(-3)},  // any custom id but 0 wins
        {0, 8, TRUE, 9, 8},    {0, 0, TRUE, 9, 9},
        {0, -1, TRUE, 0, 400},  // the action's id
        {0, 0, FALSE, 0, 300},  // the control's id
    };
    for (const auto& c : cases)
    {
        COSMControlActions actions(nullptr);
        COSMControlAction* action = actions.Add(400);
        action->SetIconId(c.actionIconId);
        COSMControl control;
        control.SetID(300);
        if (c.action)
            control.SetAction(action);
        control.SetCustomIconId(c.customIconId);
        control.SetIconId(c.iconId);
        EXPECT_EQ(c.expected, control.GetIconId()) << c.customIconId << " " << c.iconId << " " << c.action;
        control.SetAction(nullptr);
    }
}

TEST_F(ControlTest, ImageComesFromTheImageManagerOfTheChain)
{
    RefPtr<COSMImageManager> images = AdoptRef(new COSMImageManager);
    ASSERT_TRUE(images->SetIcon(::LoadIcon(nullptr, IDI_APPLICATION), 4100));
    COSMCommandBar bar;
    bar.SetImageManager(images.Get());
    COSMControl control;
    control.SetParent(&bar);
    control.SetID(4100);
    EXPECT_EQ(images->GetImage(4100, 16), control.GetImage(16));
    EXPECT_NE(nullptr, control.GetImage(16));
    control.SetID(4101);
    EXPECT_EQ(nullptr, control.GetImage(16));
    control.SetID(0);
    EXPECT_EQ(nullptr, control.GetImage(16));
}

// A control with every copied setting away from its default.
void FillSource(COSMControl& source, COSMControlAction* action)
{
    source.SetID(4321);
    source.SetAction(action);
    source.SetTag(0x1234);
    source.SetFlags(COSMControl::kFlagRightAlign | COSMControl::kFlagStretched);
    source.SetType(3);
    source.SetCaption("&Source\tCtrl+S");
    source.SetCustomCaption("Custom");
    source.SetShortcutText("Alt+S");
    source.SetTooltip("Tip");
    source.SetDescription("Describes");
    source.SetParameter("param");
    source.SetKeyboardTip("S");
    source.SetCategory("File");
    source.SetIconId(11);
    source.SetHelpId(12);
    source.SetCustomIconId(13);
    source.SetTemporary(TRUE);
    source.SetHideFlags(COSMControl::kHideCustomize);
    source.SetDefaultItem(TRUE);
    source.SetEnabled(0);
    source.SetChecked(1);
    source.SetCustomStyle(2);
    source.SetStyle(4);
    source.SetHeight(30);
    source.SetWidth(90);
    source.SetIconSize(CSize(24, 24));
    source.SetBeginGroup(TRUE);
    source.SetCloseSubMenuOnClick(FALSE);
    source.SetExecuteOnPressInterval(100);
    source.GetAssignedTemplates().SetAt(5, TRUE);
    source.GetExcludedTemplates().SetAt(6, TRUE);
}

TEST_F(ControlTest, CopyTakesSettingsAndLeavesPlaceAndLinks)
{
    COSMControlActions actions(nullptr);
    COSMControl source;
    FillSource(source, actions.Add(4321));
    source.SetCaption("&Source\tCtrl+S");  // binding emptied it
    source.SetTooltip("Tip");
    source.SetDescription("Describes");

    COSMCommandBar bar;
    RecordingControl target;
    target.SetParent(&bar);
    target.SetRect(CRect(1, 2, 3, 4));
    target.SetRowRect(CRect(0, 0, 50, 20));
    target.SetWrap(TRUE);
    target.SetSelected(2);
    target.SetPressed(1);
    target.SetFallbackStyle(3);
    target.SetHideWhenNotUsed(TRUE);
    target.captionChanges = 0;
    target.Copy(&source, FALSE);

    EXPECT_EQ(4321u, target.GetID());
    EXPECT_EQ(source.GetAction(), target.GetAction());
    EXPECT_EQ(2, source.GetAction()->GetCount());
    EXPECT_EQ(static_cast<DWORD_PTR>(0x1234), target.GetTag());
    EXPECT_EQ(source.GetFlags(), target.GetFlags());
    EXPECT_EQ(3, target.GetType());
    EXPECT_STREQ("&Source", target.GetCaptionText());
    EXPECT_STREQ("Ctrl+S", target.GetShortcutTextAuto());
    EXPECT_STREQ("Custom", target.GetCustomCaption());
    EXPECT_STREQ("Alt+S", target.GetShortcutTextOwn());
    EXPECT_STREQ("Tip", target.GetTooltipText());
    EXPECT_STREQ("Describes", target.GetDescriptionText());
    EXPECT_STREQ("param", target.GetParameter());
    EXPECT_STREQ("S", target.GetKeyboardTip());
    EXPECT_STREQ("File", target.GetCategory());
    EXPECT_EQ(11, target.GetIconIdField());
    EXPECT_EQ(12u, target.GetHelpId());
    EXPECT_EQ(13, target.GetCustomIconId());
    EXPECT_TRUE(target.IsTemporary());
    EXPECT_EQ(COSMControl::kHideCustomize, target.GetHideFlags());
    EXPECT_TRUE(target.IsDefaultItem());
    EXPECT_EQ(0, target.GetEnabledField());
    EXPECT_EQ(1, target.GetCheckedField());
    EXPECT_EQ(2, target.GetCustomStyle());
    EXPECT_EQ(4, target.GetStyleField());
    EXPECT_EQ(30, target.GetHeight());
    EXPECT_EQ(90, target.GetWidth());
    EXPECT_EQ(CSize(24, 24), target.GetIconSize());
    EXPECT_TRUE(target.GetBeginGroup());
    EXPECT_FALSE(target.GetCloseSubMenuOnClick());
    EXPECT_EQ(100, target.GetExecuteOnPressInterval());
    BOOL listed = FALSE;
    EXPECT_TRUE(target.GetAssignedTemplates().Lookup(5, listed));
    EXPECT_TRUE(target.GetExcludedTemplates().Lookup(6, listed));
    EXPECT_EQ(1, target.captionChanges);

    // What stays the target's own.
    EXPECT_EQ(&bar, target.GetParent());
    EXPECT_EQ(CRect(1, 2, 3, 4), target.GetRect());
    EXPECT_EQ(CRect(0, 0, 50, 20), target.GetRowRect());
    EXPECT_TRUE(target.GetWrap());
    EXPECT_EQ(2, target.GetSelected());
    EXPECT_EQ(1, target.GetPressed());
    EXPECT_EQ(3, target.GetFallbackStyle());
    EXPECT_TRUE(target.IsHiddenWhenNotUsed());
    EXPECT_TRUE(target.Compare(&source));
    target.SetAction(nullptr);
    source.SetAction(nullptr);
}

TEST_F(ControlTest, CopyKeepsAtLeastTheCustomizeMinimumWidth)
{
    class WideControl : public COSMControl
    {
    public:
        int GetCustomizeMinWidth() const override { return 60; }
    };
    const struct
    {
        int sourceWidth;
        int expected;
    } cases[] = {{0, 60}, {59, 60}, {61, 61}};
    for (const auto& c : cases)
    {
        COSMControl source;
        source.SetWidth(c.sourceWidth);
        WideControl target;
        target.Copy(&source, FALSE);
        EXPECT_EQ(c.expected, target.GetWidth()) << c.sourceWidth;
    }
}

TEST_F(ControlTest, CompareLooksAtTheSettingsThatShow)
{
    const struct
    {
        const char* name;
        std::function<void(COSMControl&)> change;
        BOOL equal;
    } cases[] = {
        {"style", [](COSMControl& c) { c.SetStyle(1); }, FALSE},
        {"type", [](COSMControl& c) { c.SetType(2); }, FALSE},
        {"id", [](COSMControl& c) { c.SetID(ID_TEST_PLAIN + 1); }, FALSE},
        {"flags", [](COSMControl& c) { c.SetFlags(COSMControl::kFlagRightAlign); }, FALSE},
        {"begin group", [](COSMControl& c) { c.SetBeginGroup(TRUE); }, FALSE},
        {"image", [](COSMControl& c) { c.SetIconId(77); }, FALSE},
        {"caption", [](COSMControl& c) { c.SetCaption("go"); }, FALSE},
        {"tooltip", [](COSMControl& c) { c.SetTooltip("tip"); }, FALSE},
        {"description", [](COSMControl& c) { c.SetDescription("more"); }, FALSE},
        {"custom caption", [](COSMControl& c) { c.SetCustomCaption("GO"); }, FALSE},
        {"custom style", [](COSMControl& c) { c.SetCustomStyle(0); }, FALSE},
        {"parameter", [](COSMControl& c) { c.SetParameter("x"); }, FALSE},
        {"removed by the user", [](COSMControl& c) { c.SetHideFlags(COSMControl::kHideCustomize); }, FALSE},
        {"width", [](COSMControl& c) { c.SetWidth(40); }, FALSE},
        {"hidden", [](COSMControl& c) { c.SetHideFlags(COSMControl::kHideHidden); }, TRUE},
        {"tag", [](COSMControl& c) { c.SetTag(9); }, TRUE},
        {"help id", [](COSMControl& c) { c.SetHelpId(9); }, TRUE},
        {"keyboard tip", [](COSMControl& c) { c.SetKeyboardTip("K"); }, TRUE},
        {"shortcut", [](COSMControl& c) { c.SetShortcutText("F2"); }, TRUE},
    };
    for (const auto& c : cases)
    {
        COSMControl first;
        COSMControl second;
        for (COSMControl* control : {&first, &second})
        {
            control->SetID(ID_TEST_PLAIN);
            control->SetType(1);
            control->SetCaption("Go");
        }
        ASSERT_TRUE(first.Compare(&second));
        c.change(second);
        EXPECT_EQ(c.equal, first.Compare(&second)) << c.name;
        EXPECT_EQ(c.equal, second.Compare(&first)) << c.name;
    }
}

TEST_F(ControlTest, CloneMakesTheSameClassWithTheSameSettings)
{
    RecordingControl source;
    source.SetID(ID_TEST_PLAIN);
    source.SetCaption("Go");
    source.SetStyle(3);
    RefPtr<COSMControl> clone = AdoptRef(source.Clone(FALSE));
    ASSERT_NE(nullptr, clone);
    EXPECT_TRUE(clone->IsKindOf(RUNTIME_CLASS(COSMControlButton)));
    EXPECT_TRUE(clone->Compare(&source));
    RefPtr<COSMControl> base = AdoptRef(COSMControl().Clone(FALSE));
    ASSERT_NE(nullptr, base);
    EXPECT_EQ(RUNTIME_CLASS(COSMControl), base->GetRuntimeClass());
}

TEST_F(ControlTest, EnabledAndCheckFollowTheActionInAndOutOfCustomizeMode)
{
    const struct
    {
        BOOL bound;
        int enabled;  // the control's field after binding
        int checked;
        BOOL actionEnabled;
        BOOL actionChecked;
        BOOL customize;
        int expectedEnabled;
        int expectedChecked;
    } cases[] = {
        {TRUE, -1, -1, FALSE, TRUE, FALSE, FALSE, TRUE},
        {TRUE, -1, -1, FALSE, TRUE, TRUE, TRUE, TRUE},  // customize mode enables every action
        {TRUE, -1, -1, TRUE, FALSE, FALSE, TRUE, FALSE},
        {TRUE, 0, 1, TRUE, FALSE, FALSE, 0, 1},  // the control's own values win
        {TRUE, 0, 0, TRUE, TRUE, TRUE, 0, 0},
        {FALSE, -1, -1, FALSE, TRUE, FALSE, -1, -1},  // -1 without an action counts as enabled
        {FALSE, 4, 0, FALSE, FALSE, FALSE, 4, 0},     // stored as it comes
    };
    for (const auto& c : cases)
    {
        RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
        COSMControlAction* action = commandBars->CreateAction(ID_TEST_PLAIN);
        action->SetEnabled(c.actionEnabled);
        action->SetChecked(c.actionChecked);
        commandBars->SetCustomizeMode(c.customize);
        COSMControl control;
        if (c.bound)
            control.SetAction(action);
        control.SetEnabled(c.enabled);
        control.SetChecked(c.checked);
        EXPECT_EQ(c.expectedEnabled, control.GetEnabled()) << c.bound << c.enabled << c.customize;
        EXPECT_EQ(c.expectedChecked, control.GetChecked()) << c.bound << c.checked << c.customize;
        EXPECT_EQ(c.expectedEnabled != 0, control.GetEnabled() != 0);
        control.SetAction(nullptr);
    }
}

TEST_F(ControlTest, BindingEmptiesTextsAndUnbindingLeavesEnabledUnchecked)
{
    COSMControlActions actions(nullptr);
    COSMControlAction* action = actions.Add(ID_TEST_PASTE);
    action->SetEnabled(FALSE);
    action->SetChecked(TRUE);
    action->SetShortcutText("Ctrl+V");

    COSMControl control;
    control.SetID(ID_TEST_PLAIN);
    control.SetCaption("Own\tF9");
    control.SetTooltip("Own tip");
    control.SetDescription("Own description");
    control.SetCategory("Own category");
    control.SetShortcutText("F8");
    control.SetKeyboardTip("O");
    control.SetEnabled(1);
    control.SetChecked(0);
    control.SetAction(action);

    EXPECT_EQ(static_cast<UINT>(ID_TEST_PASTE), control.GetID());
    EXPECT_EQ(1, action->GetCount());
    EXPECT_TRUE(control.GetCaptionText().IsEmpty());
    EXPECT_TRUE(control.GetTooltipText().IsEmpty());
    EXPECT_TRUE(control.GetDescriptionText().IsEmpty());
    EXPECT_TRUE(control.GetCategory().IsEmpty());
    EXPECT_TRUE(control.GetShortcutTextOwn().IsEmpty());
    EXPECT_TRUE(control.GetKeyboardTip().IsEmpty());
    EXPECT_EQ(-1, control.GetEnabledField());
    EXPECT_EQ(-1, control.GetCheckedField());
    // The action's texts show through.
    EXPECT_STREQ("&Paste it", control.GetCaption());
    EXPECT_STREQ("Paste", control.GetTooltip());
    EXPECT_STREQ("Insert Clipboard contents", control.GetDescription());
    EXPECT_STREQ("Ctrl+V", control.GetShortcutText());
    EXPECT_FALSE(control.GetEnabled());
    EXPECT_TRUE(control.GetChecked());
    // Binding twice keeps one entry.
    action->AddControl(&control);
    EXPECT_EQ(1, action->GetCount());

    control.SetAction(nullptr);
    EXPECT_EQ(0, action->GetCount());
    EXPECT_EQ(1, control.GetEnabled());
    EXPECT_EQ(0, control.GetChecked());
    EXPECT_STREQ("F9", control.GetShortcutText());
}

TEST_F(ControlTest, AnInvisibleActionHidesItsControls)
{
    COSMControlActions actions(nullptr);
    COSMControl control;
    control.SetAction(actions.Add(ID_TEST_PLAIN));
    EXPECT_TRUE(control.IsVisible());
    control.GetAction()->SetVisible(FALSE);
    EXPECT_FALSE(control.IsVisible());
    EXPECT_FALSE(control.IsVisible(0xFFFFFFFF));
    control.SetAction(nullptr);
    EXPECT_TRUE(control.IsVisible());
}

TEST_F(ControlTest, ValuesOutsideTheRangesAreStored)
{
    COSMControl control;
    control.SetSelected(5);
    EXPECT_EQ(5, control.GetSelected());
    control.SetEnabled(5);
    EXPECT_EQ(5, control.GetEnabled());
    const struct
    {
        DWORD hideFlags;
        DWORD skip;
        BOOL visible;
    } cases[] = {
        {4, 0, FALSE}, {128, 0, FALSE}, {4 | 128, 4, FALSE}, {4 | 128, 4 | 128, TRUE}, {2, 2, TRUE}, {0, 0, TRUE},
    };
    for (const auto& c : cases)
    {
        control.SetHideFlags(c.hideFlags);
        EXPECT_EQ(c.hideFlags, control.GetHideFlags());
        EXPECT_EQ(c.visible, control.IsVisible(c.skip)) << c.hideFlags << " " << c.skip;
    }
}

TEST_F(ControlTest, SettersThatLayTheBarOutAgain)
{
    const struct
    {
        const char* name;
        std::function<void(COSMControl&)> change;
        BOOL layout;
    } cases[] = {
        {"begin group", [](COSMControl& c) { c.SetBeginGroup(TRUE); }, TRUE},
        {"width", [](COSMControl& c) { c.SetWidth(20); }, TRUE},
        {"height", [](COSMControl& c) { c.SetHeight(20); }, TRUE},
        {"default item", [](COSMControl& c) { c.SetDefaultItem(TRUE); }, TRUE},
        {"hidden", [](COSMControl& c) { c.SetVisible(FALSE); }, TRUE},
        {"shown already", [](COSMControl& c) { c.SetVisible(TRUE); }, FALSE},
        {"hide flags", [](COSMControl& c) { c.SetHideFlags(8); }, FALSE},
        {"flags", [](COSMControl& c) { c.SetFlags(1); }, FALSE},
        {"rectangle", [](COSMControl& c) { c.SetRect(CRect(0, 0, 5, 5)); }, FALSE},
        {"same width", [](COSMControl& c) { c.SetWidth(0); }, FALSE},
    };
    for (const auto& c : cases)
    {
        COSMCommandBar bar;
        COSMControl control;
        control.SetParent(&bar);
        c.change(control);
        EXPECT_EQ(c.layout, (bar.GetStateFlags() & COSMCommandBar::kStateLayoutPending) != 0) << c.name;
    }
}

TEST_F(ControlTest, HiddenWhenNotUsedClearsItsHideFlagWhenTurnedOff)
{
    COSMControl control;
    control.SetHideWhenNotUsed(TRUE);
    control.SetHideFlags(COSMControl::kHideUsage | COSMControl::kHideHidden);
    control.SetHideWhenNotUsed(TRUE);
    EXPECT_EQ(COSMControl::kHideUsage | COSMControl::kHideHidden, control.GetHideFlags());
    control.SetHideWhenNotUsed(FALSE);
    EXPECT_EQ(COSMControl::kHideHidden, control.GetHideFlags());
    EXPECT_FALSE(control.IsHiddenWhenNotUsed());
}

TEST_F(ControlTest, ResetCustomizationClearsTheCustomSettings)
{
    const struct
    {
        int customIconId;
        const char* customCaption;
        int customStyle;
        int captionChanges;
    } cases[] = {{5, "", -1, 0}, {0, "Mine", -1, 1}, {0, "", 0, 0}, {0, "", -1, 0}};
    for (const auto& c : cases)
    {
        RecordingControl control;
        control.SetCustomIconId(c.customIconId);
        control.SetCustomCaption(c.customCaption);
        control.SetCustomStyle(c.customStyle);
        control.captionChanges = 0;
        control.ResetCustomization();
        EXPECT_EQ(0, control.GetCustomIconId());
        EXPECT_TRUE(control.GetCustomCaption().IsEmpty());
        EXPECT_EQ(-1, control.GetCustomStyle());
        EXPECT_EQ(c.captionChanges, control.captionChanges) << c.customCaption;
    }
}

TEST_F(ControlTest, CustomizeClicksNeedACustomizableBarOrEveryBar)
{
    const struct
    {
        BOOL customizable;
        DWORD flags;
        BOOL everyBar;
        BOOL allowed;
    } cases[] = {
        {TRUE, 0, FALSE, TRUE}, {TRUE, COSMControl::kFlagNoMovable, FALSE, FALSE}, {FALSE, 0, FALSE, FALSE},
        {FALSE, 0, TRUE, TRUE}, {TRUE, COSMControl::kFlagNoMovable, TRUE, TRUE},
    };
    for (const auto& c : cases)
    {
        RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
        commandBars->EnableCustomizeAllBars(c.everyBar);
        COSMCommandBar bar;
        bar.SetCommandBars(commandBars.Get());
        bar.SetCustomizable(c.customizable);
        COSMControl control;
        control.SetParent(&bar);
        control.SetFlags(c.flags);
        EXPECT_EQ(c.allowed, control.IsCustomizeClickAllowed()) << c.customizable << c.flags << c.everyBar;
    }
}

}  // namespace
