// The sizes every bar answers (icons, large icons, buttons, text below icons) from its own settings, the manager's
// options and the paint manager's automatic sizes, and what its controls take from them. Objects only.
#include "CommandBarsTestSupport.h"

#include "framework/commandbars/CommandBarsOptions.h"

using namespace commandbars_test;

namespace {

// What a bar and the options hold; 0,0 is "not set".
struct Settings
{
    int type = 1;
    CSize iconSize;
    CSize buttonSize;
    CSize optionsIcons;
    CSize optionsLargeIcons;
    CSize optionsPopupIcons;
    BOOL largeIcons = FALSE;
};

class BarSizesTest : public CommandBarsTest
{
protected:
    void SetUp() override
    {
        CommandBarsTest::SetUp();
        // Automatic sizes that differ from the fixed 16 and 32: 32 x 32 small, 72 x 72 large.
        paintManager->SetAutoIconSize(TRUE);
        paintManager->SetControlHeight(40);
        commandBars->SetPaintManager(paintManager.Get());
        ASSERT_EQ(CSize(32, 32), paintManager->GetAutoIconSize(FALSE));
        ASSERT_EQ(CSize(72, 72), paintManager->GetAutoIconSize(TRUE));
    }

    void Apply(COSMCommandBar& bar, const Settings& s)
    {
        bar.SetType(s.type);
        bar.SetIconSize(s.iconSize);
        bar.SetButtonSize(s.buttonSize);
        COSMCommandBarsOptions* options = commandBars->GetCommandBarsOptions();
        options->m_iconsSize = s.optionsIcons;
        options->m_largeIconsSize = s.optionsLargeIcons;
        options->m_popupIconsSize = s.optionsPopupIcons;
        options->m_largeIcons = s.largeIcons;
    }

    RefPtr<COSMPaintManager> paintManager = AdoptRef(COSMTestPaintManager::Create());
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
};

Settings Make(int type, CSize icon, CSize button, CSize icons, CSize largeIcons, CSize popupIcons, BOOL large)
{
    Settings s;
    s.type = type;
    s.iconSize = icon;
    s.buttonSize = button;
    s.optionsIcons = icons;
    s.optionsLargeIcons = largeIcons;
    s.optionsPopupIcons = popupIcons;
    s.largeIcons = large;
    return s;
}

const CSize kNone(0, 0);

TEST_F(BarSizesTest, IconAndButtonSizes)
{
    const struct
    {
        const char* what;
        Settings settings;
        CSize icon;
        CSize button;
    } cases[] = {
        {"nothing set", Make(1, kNone, kNone, kNone, kNone, kNone, FALSE), CSize(32, 32), CSize(38, 38)},
        {"the bar's own", Make(1, CSize(24, 20), kNone, CSize(18, 18), kNone, kNone, FALSE), CSize(24, 20),
         CSize(30, 26)},
        {"the options'", Make(1, kNone, kNone, CSize(18, 18), kNone, kNone, FALSE), CSize(18, 18), CSize(24, 24)},
        {"large icons, automatic", Make(1, CSize(24, 20), kNone, kNone, kNone, kNone, TRUE), CSize(72, 72),
         CSize(78, 78)},
        {"large icons of the options", Make(1, kNone, kNone, kNone, CSize(40, 40), kNone, TRUE), CSize(40, 40),
         CSize(46, 46)},
        {"large icons, buttons sized by the bar",
         Make(1, CSize(24, 20), CSize(50, 30), kNone, CSize(40, 40), kNone, TRUE), CSize(24, 20), CSize(50, 30)},
        {"popup, nothing set", Make(2, kNone, kNone, CSize(18, 18), kNone, kNone, TRUE), CSize(32, 32), CSize(38, 38)},
        {"popup, the options' popup size", Make(2, kNone, kNone, CSize(18, 18), kNone, CSize(20, 20), TRUE),
         CSize(20, 20), CSize(26, 26)},
        {"popup, its own", Make(2, CSize(24, 24), kNone, kNone, kNone, CSize(20, 20), FALSE), CSize(24, 24),
         CSize(30, 30)},
    };
    for (const auto& c : cases)
    {
        COSMCommandBar bar;
        bar.SetCommandBars(commandBars.Get());
        Apply(bar, c.settings);
        EXPECT_EQ(c.icon, bar.GetIconSize()) << c.what;
        EXPECT_EQ(c.button, bar.GetButtonSize()) << c.what;
        // Controls without sizes of their own take the bar's.
        COSMControl* control = bar.GetControls()->Add(1, 1);
        EXPECT_EQ(c.icon, control->GetIconSize()) << c.what;
        EXPECT_EQ(c.button, control->GetButtonSize()) << c.what;
        control->SetIconSize(CSize(12, 12));
        EXPECT_EQ(CSize(12, 12), control->GetIconSize()) << c.what;
    }

    // Without a manager: the bar's own, else 16 x 16.
    COSMCommandBar alone;
    EXPECT_EQ(CSize(16, 16), alone.GetIconSize());
    EXPECT_EQ(CSize(22, 22), alone.GetButtonSize());
    EXPECT_EQ(CSize(16, 16), alone.GetAutoIconSize(FALSE));  // the process-wide paint manager's fixed sizes
    EXPECT_EQ(CSize(32, 32), alone.GetAutoIconSize(TRUE));
}

TEST_F(BarSizesTest, LargeIconSizes)
{
    const struct
    {
        const char* what;
        Settings settings;
        CSize fixed;      // CalcIconSize(FALSE)
        CSize automatic;  // CalcIconSize(TRUE)
    } cases[] = {
        {"nothing set", Make(1, kNone, kNone, kNone, kNone, kNone, FALSE), CSize(32, 32), CSize(72, 72)},
        {"twice the bar's own", Make(1, CSize(24, 20), kNone, kNone, kNone, kNone, FALSE), CSize(48, 40),
         CSize(72, 72)},
        {"twice the options'", Make(1, kNone, kNone, CSize(18, 18), kNone, kNone, FALSE), CSize(36, 36), CSize(72, 72)},
        {"the options' large size", Make(1, CSize(24, 20), kNone, kNone, CSize(40, 44), kNone, FALSE), CSize(40, 44),
         CSize(40, 44)},
        {"buttons sized by the bar", Make(1, CSize(24, 20), CSize(50, 30), kNone, CSize(40, 44), kNone, FALSE),
         CSize(24, 20), CSize(24, 20)},
        {"buttons sized by the bar, no icon size", Make(1, kNone, CSize(50, 30), kNone, kNone, kNone, FALSE),
         CSize(16, 16), CSize(16, 16)},
    };
    for (const auto& c : cases)
    {
        COSMCommandBar bar;
        bar.SetCommandBars(commandBars.Get());
        Apply(bar, c.settings);
        EXPECT_EQ(c.fixed, bar.CalcIconSize(FALSE)) << c.what;
        EXPECT_EQ(c.automatic, bar.CalcIconSize(TRUE)) << c.what;
    }

    COSMCommandBar alone;
    EXPECT_EQ(CSize(32, 32), alone.CalcIconSize(TRUE));
    alone.SetIconSize(CSize(24, 20));
    EXPECT_EQ(CSize(48, 40), alone.CalcIconSize(FALSE));
}

TEST_F(BarSizesTest, TextBelowIcons)
{
    const struct
    {
        int own;
        BOOL options;
        bool manager;
        BOOL below;
    } cases[] = {{0, TRUE, true, FALSE},  {1, FALSE, true, TRUE},  {2, TRUE, true, TRUE},
                 {2, FALSE, true, FALSE}, {2, TRUE, false, FALSE}, {1, FALSE, false, TRUE}};
    for (const auto& c : cases)
    {
        COSMCommandBar bar;
        if (c.manager)
            bar.SetCommandBars(commandBars.Get());
        commandBars->GetCommandBarsOptions()->m_showTextBelowIcons = c.options;
        bar.SetShowTextBelowIcons(c.own);
        EXPECT_EQ(c.below, bar.IsTextBelowIcons()) << c.own << c.options << c.manager;
    }
}

}  // namespace
