// The Ribbon look against the synthetic module: its settings, fonts scaled from a menu font the tests choose, the
// colours its refresh reads, text colours by bar and state, highlights and joined rows from the images (each state a
// flat colour of its own), and the check and radio marks.
#include "GdiObjectCount.h"
#include "Office2007ThemeTestSupport.h"
#include "ThemeTestSupport.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBarKeyboardTip.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/Control.h"
#include "framework/commandbars/ControlButton.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/StatusBar.h"
#include "framework/controls/ControlComboBox.h"
#include "framework/controls/ControlEdit.h"
#include "framework/foundation/OSVersionInfo.h"
#include "framework/foundation/ShadowManager.h"
#include "framework/themes/RibbonTheme.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <set>
#include <string>

namespace office2007_theme_test {
namespace {

using themes_test::Stated;

// A Ribbon look whose non-client metrics are the test's: the menu font's height and face, the small-caption and
// status fonts with heights of their own.
class MetricsRibbonTheme : public COSMRibbonTheme
{
public:
    int menuHeight = -11;
    CString menuFace = "Tahoma";

protected:
    BOOL ReadNonClientMetrics(NONCLIENTMETRICSA* metrics) override
    {
        COSMRibbonTheme::ReadNonClientMetrics(metrics);
        metrics->lfMenuFont.lfHeight = menuHeight;
        metrics->lfMenuFont.lfQuality = DEFAULT_QUALITY;
        lstrcpynA(metrics->lfMenuFont.lfFaceName, menuFace, LF_FACESIZE);
        metrics->lfSmCaptionFont.lfHeight = -9;
        metrics->lfSmCaptionFont.lfQuality = DEFAULT_QUALITY;
        metrics->lfStatusFont.lfHeight = -10;
        metrics->lfStatusFont.lfQuality = DEFAULT_QUALITY;
        return TRUE;
    }
};

LOGFONTA FontOf(CFont& font)
{
    LOGFONTA logFont;
    std::memset(&logFont, 0, sizeof(logFont));
    ::GetObjectA(static_cast<HFONT>(font.GetSafeHandle()), sizeof(logFont), &logFont);
    return logFont;
}

// A bar that answers as the ribbon bar does: a ribbon, with its quick-access row.
class RibbonLikeBar : public COSMCommandBar
{
public:
    std::set<const COSMControl*> quickAccess;
    BOOL IsRibbonBar() const override { return TRUE; }
    BOOL IsQuickAccessControl(const COSMControl* control) const override { return quickAccess.count(control) != 0; }
};

// The controls the tests' grouping test calls grouped, and those on a composited caption.
std::set<const COSMControl*> g_groupedControls;
std::set<const COSMControl*> g_glassControls;

BOOL TestControlGrouped(const COSMControl* control)
{
    return g_groupedControls.count(control) != 0;
}

BOOL TestControlOnGlass(const COSMControl* control)
{
    return g_glassControls.count(control) != 0;
}

class RibbonThemeTest : public Office2007ThemeTest
{
protected:
    void SetUp() override
    {
        Office2007ThemeTest::SetUp();
        ribbon = new MetricsRibbonTheme;
        theme.reset(ribbon);
        ribbon->RefreshMetrics();
        COSMPaintManager::RegisterControlGroupingTest(&TestControlGrouped);
        COSMPaintManager::RegisterDwmCaptionTest(&TestControlOnGlass);
    }
    void TearDown() override
    {
        COSMPaintManager::RegisterControlGroupingTest(nullptr);
        COSMPaintManager::RegisterDwmCaptionTest(nullptr);
        g_groupedControls.clear();
        g_glassControls.clear();
        Office2007ThemeTest::TearDown();
    }

    COLORREF Key(const char* key) const { return images->GetImageColor("Ribbon", key); }

    MetricsRibbonTheme* ribbon = nullptr;
};

class RibbonThemeWithoutTextTest : public RibbonThemeTest
{
protected:
    bool UseFixtureModule() const override { return false; }
};

// ---- Settings ----

TEST_F(RibbonThemeTest, IsMadeForIdSixAndByClassNameWithItsOwnSettings)
{
    std::unique_ptr<COSMPaintManager> made(COSMPaintManager::CreateTheme(6));
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(COSMRibbonTheme)));
    EXPECT_EQ(made->GetThemeId(), 6);
    std::unique_ptr<CObject> byName(CRuntimeClass::FromName("COSMRibbonTheme")->CreateObject());
    ASSERT_NE(byName, nullptr);
    EXPECT_TRUE(byName->IsKindOf(RUNTIME_CLASS(COSMOffice2007Theme)));

    COSMRibbonTheme fresh;
    EXPECT_TRUE(fresh.m_themedFrame);
    EXPECT_TRUE(fresh.GetClearTypeText());
    EXPECT_EQ(fresh.m_splitWidth, 12);
    EXPECT_EQ(fresh.m_popupSplitWidth, 26);
    EXPECT_STREQ(fresh.GetFaceName(), "Segoe UI");
    EXPECT_TRUE(fresh.IsFaceNameMatch());
    ASSERT_NE(fresh.GetShadowManager(), nullptr);
    EXPECT_EQ(fresh.GetShadowManager()->GetFlags(), 1u);
    EXPECT_TRUE(fresh.IsImagesEnabled());
}

// ---- Fonts ----

TEST_F(RibbonThemeTest, FontsAndSizesFollowTheMenuFontScaledForTheRibbon)
{
    struct FontCase
    {
        int menuHeight;
        int requested;
        int cellHeight;
        int controlHeight;
        int editHeight;
        int splitWidth;
    } const cases[] = {
        {-11, 0, 13, 22, 22, 12},  // the usual menu font
        {-12, 0, 13, 22, 22, 12},  // 12 counts as 11
        {11, 0, 13, 22, 22, 12},   // a positive cell height is read by its size
        {-8, 0, 13, 22, 22, 12},   // below 13 always 11
        {-16, 0, 20, 30, 32, 15},  {-20, 0, 25, 36, 40, 18},
        {-11, 14, 17, 27, 28, 13},  // a requested height above 11 wins
        {-16, 11, 20, 30, 32, 15},  // 11 is not above 11
    };
    for (const FontCase& c : cases)
    {
        SCOPED_TRACE("menu " + std::to_string(c.menuHeight) + ", requested " + std::to_string(c.requested));
        ribbon->menuHeight = c.menuHeight;
        ribbon->m_requestedFontHeight = c.requested;
        ribbon->RefreshFonts();
        const LOGFONTA regular = FontOf(ribbon->GetRegularFont());
        EXPECT_EQ(regular.lfHeight, c.cellHeight);
        EXPECT_EQ(regular.lfWeight, FW_NORMAL);
        EXPECT_EQ(FontOf(ribbon->GetBoldFont()).lfWeight, FW_BOLD);
        EXPECT_EQ(ribbon->GetRawControlHeight(), c.controlHeight);
        EXPECT_EQ(ribbon->GetLargeButtonTextHeight(), c.editHeight);
        EXPECT_EQ(ribbon->m_splitWidth, c.splitWidth);
        // The menu fonts by position: caption regular, icon title bold, both in the cell height and the menu face.
        const LOGFONTA menu = FontOf(ribbon->GetCaptionFont());
        const LOGFONTA menuBold = FontOf(ribbon->GetIconTitleFont());
        EXPECT_EQ(menu.lfHeight, c.cellHeight);
        EXPECT_EQ(menu.lfWeight, FW_NORMAL);
        EXPECT_STREQ(menu.lfFaceName, "Tahoma");
        EXPECT_EQ(menuBold.lfHeight, c.cellHeight);
        EXPECT_EQ(menuBold.lfWeight, FW_BOLD);
        // The small-caption and status fonts keep the system's heights.
        EXPECT_EQ(FontOf(ribbon->GetIconTitleBoldFont()).lfHeight, -9);
        EXPECT_EQ(FontOf(ribbon->GetStatusFont()).lfHeight, -10);
    }
}

TEST_F(RibbonThemeTest, TheFaceNameIsUsedOnlyWhenInstalled)
{
    // "Segoe UI" is not installed under Wine: the menu face stays.
    const BOOL segoe = COSMPaintManager::FontExists("Segoe UI");
    ribbon->RefreshFonts();
    EXPECT_STREQ(FontOf(ribbon->GetRegularFont()).lfFaceName, segoe ? "Segoe UI" : "Tahoma");

    // An installed face is taken by the regular fonts and the status font, not by the menu fonts.
    const char* installed = nullptr;
    for (const char* face : {"Courier New", "Arial", "Times New Roman", "Symbol"})
        if (COSMPaintManager::FontExists(face))
        {
            installed = face;
            break;
        }
    ASSERT_NE(installed, nullptr) << "no usual face installed";
    ribbon->SetFaceName(installed);
    ribbon->RefreshFonts();
    EXPECT_STREQ(FontOf(ribbon->GetRegularFont()).lfFaceName, installed);
    EXPECT_STREQ(FontOf(ribbon->GetStatusFont()).lfFaceName, installed);
    EXPECT_STREQ(FontOf(ribbon->GetCaptionFont()).lfFaceName, "Tahoma");

    // With the option off the menu face is used.
    ribbon->SetFaceNameMatch(FALSE);
    ribbon->RefreshFonts();
    EXPECT_STREQ(FontOf(ribbon->GetRegularFont()).lfFaceName, "Tahoma");
}

TEST_F(RibbonThemeTest, ClearTypeQualityWhenSetAndSupported)
{
    const BOOL supported = GetOSVersionInfo()->IsClearTypeTextQualitySupported();
    ribbon->RefreshFonts();
    const BYTE expected = supported ? CLEARTYPE_QUALITY : DEFAULT_QUALITY;
    EXPECT_EQ(FontOf(ribbon->GetRegularFont()).lfQuality, expected);
    EXPECT_EQ(FontOf(ribbon->GetCaptionFont()).lfQuality, expected);
    EXPECT_EQ(FontOf(ribbon->GetIconTitleBoldFont()).lfQuality, expected);
    EXPECT_EQ(FontOf(ribbon->GetStatusFont()).lfQuality, expected);

    ribbon->SetClearTypeText(FALSE);
    ribbon->RefreshFonts();
    EXPECT_EQ(FontOf(ribbon->GetRegularFont()).lfQuality, DEFAULT_QUALITY);
    EXPECT_EQ(FontOf(ribbon->GetStatusFont()).lfQuality, DEFAULT_QUALITY);
}

// ---- Refresh ----

TEST_F(RibbonThemeTest, RefreshReadsTheRibbonSection)
{
    // The fixture's keys are colours of their own, so a key read can be told from the fallbacks.
    ASSERT_NE(Key("RibbonGrayText"), RGB(141, 141, 141));
    ASSERT_NE(Key("RibbonText"), kNoColor);
    EXPECT_EQ(ribbon->GetColor(46), Key("GroupClientText"));
    EXPECT_EQ(ribbon->GetColor(60), RGB(141, 141, 141));
    EXPECT_EQ(ribbon->EditBackColor, Key("ControlEditNormal"));
    EXPECT_EQ(ribbon->GetColor(44), Key("MenuPopupText"));
    EXPECT_EQ(ribbon->PopupBarGripperHiddenGradient.First().GetEffective(), Key("MenuPopupGripper"));
    EXPECT_EQ(ribbon->PopupBarGripperHiddenGradient.Second().GetEffective(), Key("MenuPopupGripper"));
    EXPECT_EQ(ribbon->PopupBarGripperGradient.First().GetEffective(), Key("MenuPopupExpandedGripperLight"));
    EXPECT_EQ(ribbon->PopupBarGripperGradient.Second().GetEffective(), Key("MenuPopupExpandedGripperDark"));
    EXPECT_EQ(ribbon->GetShadowManager()->GetShadowColor(), 0u);
    EXPECT_EQ(ribbon->GetColor(35), RGB(167, 167, 167));
    EXPECT_EQ(ribbon->GetColor(45), Key("ControlHighlightText"));
    EXPECT_EQ(ribbon->GetColor(43), RGB(134, 134, 134));
    EXPECT_EQ(ribbon->GetColor(41), RGB(250, 250, 250));
    EXPECT_EQ(ribbon->GlyphGradient.First().GetEffective(), RGB(233, 238, 238));
    EXPECT_EQ(ribbon->GlyphGradient.Second().GetEffective(), RGB(233, 238, 238));
    EXPECT_EQ(ribbon->RibbonTextColor, Key("RibbonText"));
    EXPECT_EQ(ribbon->RibbonGrayTextColor, Key("RibbonGrayText"));
}

TEST_F(RibbonThemeWithoutTextTest, AMissingGrayTextKeyGivesGrayAndOtherKeysNone)
{
    EXPECT_EQ(ribbon->RibbonGrayTextColor, RGB(141, 141, 141));
    EXPECT_EQ(ribbon->RibbonTextColor, kNoColor);
    EXPECT_EQ(ribbon->EditBackColor, kNoColor);
    EXPECT_EQ(ribbon->GetColor(60), RGB(141, 141, 141));
}

// ---- Text colours ----

TEST_F(RibbonThemeTest, StateTextColorsByBar)
{
    struct TextCase
    {
        const char* name;
        BOOL selected, enabled, checked;
        int barType;
        COLORREF expected;
    } const cases[] = {
        {"menu bar at rest", 0, 1, 0, 0, ribbon->MenuBarTextColor},
        {"menu bar hot", 1, 1, 0, 0, ribbon->GetColor(46)},
        {"menu bar checked", 0, 1, 1, 0, ribbon->GetColor(46)},
        {"menu bar disabled", 0, 0, 0, 0, ribbon->GetColor(60)},
        {"popup enabled", 1, 1, 0, 2, ribbon->GetColor(44)},
        {"popup disabled", 0, 0, 0, 2, ribbon->GetColor(35)},
        {"toolbar enabled", 0, 1, 0, 1, ribbon->GetColor(46)},
        {"toolbar disabled", 1, 0, 0, 1, ribbon->GetColor(60)},
    };
    EXPECT_NE(ribbon->MenuBarTextColor, ribbon->GetColor(46));
    for (const TextCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ribbon->GetStateTextColor(c.selected, FALSE, c.enabled, c.checked, FALSE, c.barType, 0), c.expected);
    }
}

TEST_F(RibbonThemeTest, ControlTextColorsOnARibbonBar)
{
    CWnd site;
    ASSERT_TRUE(site.CreateEx(0, AfxRegisterWndClass(0), "Site", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr));
    RibbonLikeBar bar;
    bar.SetType(1);
    bar.SetSiteWindow(&site);
    struct ColorCase
    {
        const char* name;
        BOOL quickAccess, glass, maximized;
        int enabled, selected;
        COLORREF expected;
    } const cases[] = {
        {"quick access on glass, maximized", 1, 1, 1, 1, 0, RGB(255, 255, 255)},
        {"quick access on glass", 1, 1, 0, 1, 0, RGB(0, 0, 0)},
        {"quick access off glass", 1, 0, 1, 1, 0, ribbon->RibbonTextColor},
        {"plain", 0, 1, 1, 1, 0, ribbon->RibbonTextColor},
        {"disabled", 0, 0, 0, 0, 0, ribbon->RibbonGrayTextColor},
        {"disabled quick access on glass", 1, 1, 0, 0, 0, ribbon->RibbonGrayTextColor},
    };
    for (const ColorCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        Stated<COSMControlButton> control;
        control.SetParent(&bar);
        control.SetEnabled(c.enabled);
        control.selected = c.selected;
        if (c.quickAccess)
            bar.quickAccess.insert(&control);
        if (c.glass)
            g_glassControls.insert(&control);
        ::SetWindowLongA(site.GetSafeHwnd(), GWL_STYLE, WS_POPUP | (c.maximized ? WS_MAXIMIZE : 0));
        EXPECT_EQ(ribbon->GetControlTextColor(&control), c.expected);
        bar.quickAccess.clear();
        g_glassControls.clear();
    }

    // A hot enabled control takes the base's colour, as does any control off a ribbon bar.
    Stated<COSMControlButton> hot;
    hot.SetParent(&bar);
    hot.selected = 1;
    COSMCommandBar plainBar;
    plainBar.SetType(1);
    Stated<COSMControlButton> twin;
    twin.SetParent(&plainBar);
    twin.selected = 1;
    EXPECT_EQ(ribbon->GetControlTextColor(&hot), ribbon->COSMPaintManager::GetControlTextColor(&twin));
    Stated<COSMControlButton> offRibbon;
    offRibbon.SetParent(&plainBar);
    EXPECT_EQ(ribbon->GetControlTextColor(&offRibbon), ribbon->COSMPaintManager::GetControlTextColor(&offRibbon));
    site.DestroyWindow();
}

TEST_F(RibbonThemeTest, ACheckBoxIsPlainWhileEnabledEvenWhenHot)
{
    RibbonLikeBar bar;
    bar.SetType(1);
    Stated<COSMControlButton> box;
    box.SetType(9);
    box.SetParent(&bar);
    box.selected = 1;
    box.SetChecked(1);
    EXPECT_EQ(ribbon->GetControlTextColor(&box), ribbon->RibbonTextColor);
    // A hot button is no check box: it takes the toolbar's text colour, the group text of the theme text.
    Stated<COSMControlButton> button;
    button.SetParent(&bar);
    button.selected = 1;
    ASSERT_NE(Key("GroupClientText"), ribbon->RibbonTextColor);
    EXPECT_EQ(ribbon->GetControlTextColor(&button), Key("GroupClientText"));
}

// ---- State rectangles ----

TEST_F(RibbonThemeTest, ToolbarHighlightsTakeTheImageOfTheirHeightAndState)
{
    struct HighlightCase
    {
        const char* name;
        int selected, pressed;
        BOOL enabled, checked, popped;
        int state;  // -1: nothing drawn
    } const cases[] = {
        {"at rest", 0, 0, 1, 0, 0, -1},         {"hot", 1, 0, 1, 0, 0, 0},
        {"pressed alone", 0, 1, 1, 0, 0, 0},    {"hot and pressed", 1, 1, 1, 0, 0, 1},
        {"keyboard pressed", 0, 2, 1, 0, 0, 1}, {"checked", 0, 0, 1, 1, 0, 2},
        {"popped", 1, 1, 1, 0, 1, 2},           {"checked and hot", 1, 0, 1, 1, 0, 3},
        {"disabled", 1, 0, 0, 0, 0, -1},        {"disabled, keyboard selected", 2, 0, 0, 0, 0, 0},
    };
    for (int height : {32, 33})
        for (const HighlightCase& c : cases)
        {
            SCOPED_TRACE(std::string(c.name) + ", height " + std::to_string(height));
            const char* name = height < 33 ? "TOOLBARBUTTONS22" : "TOOLBARBUTTONS50";
            DcTestSurface canvas(60, 60, kCanvas);
            const CRect rect(2, 2, 52, 2 + height);
            ribbon->DrawStateRectangle(canvas.dc(), rect, c.selected, c.pressed, c.enabled, c.checked, c.popped, 1, 0);
            if (c.state < 0)
                EXPECT_TRUE(canvas.Untouched());
            else
                EXPECT_EQ(canvas.Pixel(rect.CenterPoint().x, rect.CenterPoint().y), StateColor(name, c.state, 4));
        }
}

TEST_F(RibbonThemeTest, PopupItemsTakeTheMenuImages)
{
    struct MenuCase
    {
        const char* name;
        int selected;
        BOOL enabled, checked;
        int height;
        const char* image;  // null: nothing drawn
        int state, count;
    } const cases[] = {
        {"checked", 0, 1, 1, 22, "MENUCHECKEDITEM", 0, 2},
        {"checked disabled", 0, 0, 1, 22, "MENUCHECKEDITEM", 1, 2},
        {"selected, 32 high", 1, 1, 0, 32, "MENUSELECTEDITEM22", 0, 1},
        {"selected, 33 high", 1, 1, 0, 33, "MENUSELECTEDITEM54", 0, 1},
        {"disabled, mouse", 1, 0, 0, 22, nullptr, 0, 0},
        {"disabled, keyboard, 32 high", 2, 0, 0, 32, "MENUSELECTEDDISABLEDITEM22", 0, 1},
        {"disabled, keyboard, 40 high", 3, 0, 0, 40, "MENUSELECTEDDISABLEDITEM54", 0, 1},
    };
    for (const MenuCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        DcTestSurface canvas(120, 50, kCanvas);
        const CRect rect(0, 0, 120, c.height);
        ribbon->DrawStateRectangle(canvas.dc(), rect, c.selected, FALSE, c.enabled, c.checked, FALSE, 2, 5);
        if (!c.image)
            EXPECT_TRUE(canvas.Untouched());
        else
            EXPECT_EQ(canvas.Pixel(60, c.height / 2), StateColor(c.image, c.state, c.count));
    }
}

TEST_F(RibbonThemeWithoutTextTest, WithoutImagesHighlightsFallBackToTheOffice2003Look)
{
    // The Office 2007 look without images draws its highlights as the Office 2003 look does; both get the same
    // colours, each colour-table entry and the highlight gradient in a colour of its own.
    COSMOffice2007Theme office2007;
    office2007.RefreshMetrics();
    for (COSMPaintManager* look : {static_cast<COSMPaintManager*>(ribbon), static_cast<COSMPaintManager*>(&office2007)})
        for (int index = 0; index < COSMPaintManager::kColorCount; ++index)
            look->GetColorEntry(index).SetStandardValue(RGB(index * 4, 90, 250 - index * 3));
    for (COSMOffice2003Theme* look :
         {static_cast<COSMOffice2003Theme*>(ribbon), static_cast<COSMOffice2003Theme*>(&office2007)})
    {
        look->HighlightGradient.SetStandardColors(RGB(10, 200, 30), RGB(10, 200, 30), 0.5f);
        look->CheckedGradient.SetStandardColors(RGB(30, 10, 200), RGB(30, 10, 200), 0.5f);
    }
    for (int barType : {1, 2})
        for (BOOL checked : {FALSE, TRUE})
        {
            SCOPED_TRACE("bar type " + std::to_string(barType) + (checked ? ", checked" : ", hot"));
            DcTestSurface canvas(60, 30, kCanvas);
            DcTestSurface expected(60, 30, kCanvas);
            const int position = barType == 2 ? 5 : 0;
            ribbon->DrawStateRectangle(canvas.dc(), CRect(0, 0, 60, 22), !checked, 0, 1, checked, 0, barType, position);
            office2007.COSMOffice2003Theme::DrawStateRectangle(expected.dc(), CRect(0, 0, 60, 22), !checked, 0, 1,
                                                               checked, 0, barType, position);
            EXPECT_FALSE(expected.Untouched());
            EXPECT_TRUE(canvas.EqualsCanvas(expected));
        }
}

// ---- Grouped controls ----

TEST_F(RibbonThemeTest, GroupedControlsDrawEveryStateOfTheirRow)
{
    struct GroupedCase
    {
        const char* name;
        int selected, pressed, enabled, checked;
        BOOL popped;
        int state;
    } const cases[] = {
        {"at rest", 0, 0, 1, 0, 0, 0},          {"hot", 1, 0, 1, 0, 0, 1},
        {"pressed alone", 0, 1, 1, 0, 0, 1},    {"hot and pressed", 1, 1, 1, 0, 0, 2},
        {"keyboard pressed", 0, 3, 1, 0, 0, 2}, {"open", 1, 0, 1, 0, 1, 3},
        {"checked", 0, 0, 1, 1, 0, 3},          {"checked and hot", 1, 0, 1, 1, 0, 4},
        {"disabled", 1, 0, 0, 0, 0, 0},         {"disabled, keyboard selected", 2, 0, 0, 0, 0, 1},
    };
    for (const GroupedCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        Stated<COSMControlButton> control;
        control.selected = c.selected;
        control.pressed = c.pressed;
        control.popupOpen = c.popped;
        control.SetEnabled(c.enabled);
        control.SetChecked(c.checked);
        control.SetBeginGroup(TRUE);
        control.SetRect(CRect(4, 4, 40, 26));
        g_groupedControls.insert(&control);
        DcTestSurface canvas(50, 30, kCanvas);
        ribbon->DrawControlBackground(canvas.dc(), &control);
        EXPECT_EQ(canvas.Pixel(22, 15), StateColor("TOOLBARBUTTONSSPECIALSINGLE", c.state, 5));
        g_groupedControls.clear();
    }
}

TEST_F(RibbonThemeTest, GroupedRowsJoinTheirEnds)
{
    COSMCommandBar bar;
    bar.SetType(1);
    COSMControls* controls = bar.GetControls();
    ASSERT_NE(controls, nullptr);
    COSMControl* first = controls->Add(1, 101);
    COSMControl* middle = controls->Add(1, 102);
    COSMControl* last = controls->Add(1, 103);
    COSMControl* alone = controls->Add(1, 104);
    COSMControl* hidden = controls->Add(1, 105);
    ASSERT_TRUE(first && middle && last && alone && hidden);
    first->SetBeginGroup(TRUE);
    alone->SetBeginGroup(TRUE);
    hidden->SetVisible(FALSE);
    struct EndCase
    {
        COSMControl* control;
        const char* image;
    } const cases[] = {
        {first, "TOOLBARBUTTONSSPECIALLEFT"},
        {middle, "TOOLBARBUTTONSSPECIALCENTER"},
        {last, "TOOLBARBUTTONSSPECIALRIGHT"},
        // Its only follower is hidden: a left and right end at once.
        {alone, "TOOLBARBUTTONSSPECIALSINGLE"},
    };
    for (const EndCase& c : cases)
    {
        SCOPED_TRACE(c.image);
        g_groupedControls.insert(c.control);
        c.control->SetRect(CRect(4, 4, 40, 26));
        DcTestSurface canvas(50, 30, kCanvas);
        ribbon->DrawControlBackground(canvas.dc(), c.control);
        EXPECT_EQ(canvas.Pixel(22, 15), StateColor(c.image, 0, 5));
    }

    // Not grouped: the base's background, which leaves a control at rest alone.
    g_groupedControls.clear();
    DcTestSurface canvas(50, 30, kCanvas);
    ribbon->DrawControlBackground(canvas.dc(), middle);
    EXPECT_TRUE(canvas.Untouched());
}

// ---- Marks ----

TEST_F(RibbonThemeTest, CheckAndRadioMarksTakeTheirStates)
{
    struct MarkCase
    {
        const char* name;
        BOOL radio, selected, pressed;
        int checked;
        BOOL enabled;
        int state;
    } const cases[] = {
        {"box", 0, 0, 0, 0, 1, 0},
        {"box hot", 0, 1, 0, 0, 1, 1},
        {"box pressed", 0, 1, 1, 0, 1, 2},
        {"box disabled", 0, 1, 0, 0, 0, 3},
        {"box checked", 0, 0, 0, 1, 1, 4},
        {"box checked hot", 0, 1, 0, 1, 1, 5},
        {"box indeterminate", 0, 0, 0, 2, 1, 8},
        {"box indeterminate disabled", 0, 0, 0, 2, 0, 11},
        {"radio", 1, 0, 0, 0, 1, 0},
        {"radio checked pressed", 1, 1, 1, 1, 1, 6},
        {"radio checked disabled", 1, 0, 0, 1, 0, 7},
    };
    for (const MarkCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        DcTestSurface canvas(20, 20, kCanvas);
        const CRect rect(2, 2, 15, 15);
        const CSize size =
            c.radio ? ribbon->DrawRadioButtonMark(canvas.dc(), rect, TRUE, c.selected, c.pressed, c.checked, c.enabled)
                    : ribbon->DrawCheckBoxMark(canvas.dc(), rect, TRUE, c.selected, c.pressed, c.checked, c.enabled);
        EXPECT_EQ(size, CSize(13, 13));
        const char* image = c.radio ? "TOOLBARBUTTONRADIOBUTTON" : "TOOLBARBUTTONCHECKBOX";
        EXPECT_EQ(canvas.Pixel(8, 8), StateColor(image, c.state, c.radio ? 8 : 12));
    }
}

TEST_F(RibbonThemeWithoutTextTest, MarksMeasureThirteenWithoutImages)
{
    DcTestSurface canvas(20, 20, kCanvas);
    EXPECT_EQ(ribbon->DrawCheckBoxMark(canvas.dc(), CRect(2, 2, 15, 15), TRUE, 0, 0, 1, 1), CSize(13, 13));
    EXPECT_EQ(ribbon->DrawRadioButtonMark(canvas.dc(), CRect(2, 2, 15, 15), TRUE, 0, 0, 1, 1), CSize(13, 13));
    EXPECT_EQ(ribbon->DrawCheckBoxMark(nullptr, CRect(), FALSE, 0, 0, 0, 1), CSize(13, 13));
    EXPECT_TRUE(canvas.Untouched());
}

// ---- Split buttons ----

struct SplitCase
{
    const char* name;
    int selected, pressed, enabled, checked;
    BOOL popped;
    int main, dropDown;  // -1: not drawn
};

// Main and drop-down part states by control state.
const SplitCase kSplitCases[] = {
    {"at rest", 0, 0, 1, 0, 0, -1, -1},
    {"hot", 1, 0, 1, 0, 0, 5, 4},
    {"hot on the main part", 4, 0, 1, 0, 0, 0, 4},
    {"hot on the drop-down part", 5, 0, 1, 0, 0, 5, 0},
    {"pressed", 1, 1, 1, 0, 0, 1, 0},
    {"keyboard pressed", 0, 2, 1, 0, 0, 1, 0},
    {"open", 0, 0, 1, 0, 1, 5, 2},
    {"checked", 0, 0, 1, 1, 0, 2, 2},
    {"checked and hot", 1, 0, 1, 1, 0, 3, 4},
    {"checked and hot on the drop-down", 5, 0, 1, 1, 0, 3, 0},
    {"checked and pressed", 1, 1, 1, 1, 0, 1, 0},
    {"checked, pressed alone", 0, 1, 1, 1, 0, 2, 4},
    {"checked and open", 1, 0, 1, 1, 1, 5, 2},
    {"disabled", 1, 0, 0, 0, 0, -1, -1},
    {"disabled, keyboard selected", 2, 0, 0, 0, 0, 5, 4},
    {"only the main part enabled, hot", 1, 0, 4, 0, 0, 5, 3},
    {"only the drop-down part enabled, hot", 1, 0, 5, 0, 0, 4, 4},
    {"only the drop-down part enabled, open", 0, 0, 5, 0, 1, 4, 2},
};

TEST_F(RibbonThemeTest, SplitButtonPartsTakeTheirStates)
{
    for (BOOL grouped : {FALSE, TRUE})
        for (const SplitCase& c : kSplitCases)
        {
            SCOPED_TRACE(std::string(c.name) + (grouped ? ", grouped" : ""));
            Stated<COSMControlButton> control;
            control.selected = c.selected;
            control.pressed = c.pressed;
            control.popupOpen = c.popped;
            control.SetEnabled(c.enabled);
            control.SetChecked(c.checked);
            control.SetBeginGroup(TRUE);
            if (grouped)
                g_groupedControls.insert(&control);
            const CRect rect(0, 0, 60, 22);
            DcTestSurface canvas(60, 22, kCanvas);
            ribbon->DrawSplitButtonFrame(canvas.dc(), &control, rect);
            const int extra = grouped ? 1 : 0;
            const int main = c.main < 0 ? (grouped ? 0 : -1) : c.main + extra;
            const int dropDown = c.dropDown < 0 ? (grouped ? 0 : -1) : c.dropDown + extra;
            const char* mainImage = grouped ? "TOOLBARBUTTONSSPECIALSPLITLEFT" : "TOOLBARBUTTONSSPLIT22";
            const char* dropDownImage =
                grouped ? "TOOLBARBUTTONSSPECIALSPLITDROPDOWNRIGHT" : "TOOLBARBUTTONSSPLITDROPDOWN22";
            // The split is 12 from the right: the main part to 48.
            if (main < 0)
                EXPECT_TRUE(canvas.Untouched(CRect(0, 0, 48, 22)));
            else
                EXPECT_EQ(canvas.Pixel(24, 11), StateColor(mainImage, main, 6 + extra));
            if (dropDown < 0)
                EXPECT_EQ(canvas.Pixel(49, 2), kCanvas);
            else
                EXPECT_EQ(canvas.Pixel(49, 2), StateColor(dropDownImage, dropDown, 5 + extra));
            // The glyph at (right - split / 2 - 1, centre): 5 x 4 from (51, 9).
            const BOOL glyphEnabled = c.enabled != 0 && c.enabled != 4;
            const int glyph = !glyphEnabled ? 3 : c.selected ? 1 : 0;
            EXPECT_EQ(canvas.Pixel(51, 9), StateColor("TOOLBARBUTTONDROPDOWNGLYPH", glyph, 4));
            EXPECT_EQ(canvas.Pixel(55, 12), StateColor("TOOLBARBUTTONDROPDOWNGLYPH", glyph, 4));
            EXPECT_EQ(canvas.dc()->GetTextColor(), c.enabled ? RGB(21, 66, 139) : RGB(141, 141, 141));
            EXPECT_EQ(canvas.dc()->GetBkMode(), TRANSPARENT);
            g_groupedControls.clear();
        }
}

TEST_F(RibbonThemeTest, LargeSplitButtonsSplitAcrossWithoutAGlyph)
{
    Stated<COSMControlButton> control;
    control.SetStyle(4);
    control.selected = 4;
    const int d = ribbon->GetSplitButtonDropDownWidth();
    ASSERT_GT(d, 0);
    ASSERT_LT(d, 60);
    DcTestSurface canvas(50, 70, kCanvas);
    ribbon->DrawSplitButtonFrame(canvas.dc(), &control, CRect(0, 0, 50, 70));
    EXPECT_EQ(canvas.Pixel(25, (70 - d) / 2), StateColor("TOOLBARBUTTONSSPLIT50", 0, 6));
    EXPECT_EQ(canvas.Pixel(25, 70 - d + 2), StateColor("TOOLBARBUTTONSSPLITDROPDOWN50", 4, 5));
    EXPECT_EQ(canvas.Pixel(25, 70 - d - 1), StateColor("TOOLBARBUTTONSSPLIT50", 0, 6));
}

TEST_F(RibbonThemeWithoutTextTest, SplitButtonsWithoutImagesDrawNothing)
{
    Stated<COSMControlButton> control;
    control.selected = 1;
    DcTestSurface canvas(60, 22, kCanvas);
    ribbon->DrawSplitButtonFrame(canvas.dc(), &control, CRect(0, 0, 60, 22));
    EXPECT_TRUE(canvas.Untouched());
}

// ---- Bars and popups ----

TEST_F(RibbonThemeTest, BarFacesByPositionAndFlatBarsAsTheOffice2003Look)
{
    COSMCommandBar bar;
    ASSERT_TRUE(
        bar.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "Bar", WS_POPUP, 0, 0, 60, 30, nullptr, nullptr));
    bar.SetType(1);
    struct FaceCase
    {
        int position;
        const char* image;
    } const cases[] = {
        {0, "TOOLBARFACEHORIZONTAL"}, {1, "TOOLBARFACEHORIZONTAL"}, {2, "TOOLBARFACEVERTICAL"},
        {3, "TOOLBARFACEVERTICAL"},   {5, "POPUPBARFRAME"},
    };
    for (const FaceCase& c : cases)
    {
        SCOPED_TRACE("position " + std::to_string(c.position));
        bar.SetPositionField(c.position);
        DcTestSurface canvas(60, 30, kCanvas);
        ribbon->FillCommandBar(canvas.dc(), &bar);
        EXPECT_EQ(canvas.Pixel(30, 15), StateColor(c.image, 0, 1));
        EXPECT_EQ(canvas.Pixel(0, 15), StateColor(c.image, 0, 1));
    }

    // A flat toolbar and a floating bar take the Office 2003 look's drawing.
    COSMOffice2007Theme office2007;
    office2007.RefreshMetrics();
    for (int position : {0, 4})
    {
        SCOPED_TRACE("Office 2003 drawing at position " + std::to_string(position));
        ribbon->m_flatToolBar = position == 0;
        office2007.m_flatToolBar = position == 0;
        bar.SetPositionField(position);
        DcTestSurface canvas(60, 30, kCanvas);
        DcTestSurface expected(60, 30, kCanvas);
        ribbon->FillCommandBar(canvas.dc(), &bar);
        office2007.FillCommandBar(expected.dc(), &bar);
        EXPECT_FALSE(expected.Untouched());
        EXPECT_TRUE(canvas.EqualsCanvas(expected));
    }
    bar.DestroyWindow();
}

TEST_F(RibbonThemeTest, PopupSeparatorsAreTwoGreyLinesOrAColumnLine)
{
    COSMCommandBar popup;
    ASSERT_TRUE(
        popup.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "Popup", WS_POPUP, 0, 0, 120, 80, nullptr, nullptr));
    popup.SetType(2);
    popup.SetPositionField(5);
    Stated<COSMControlButton> row;
    row.SetParent(&popup);
    row.SetRect(CRect(2, 30, 100, 52));
    EXPECT_EQ(ribbon->DrawCommandBarSeparator(nullptr, &popup, &row, FALSE), CSize(2, 2));
    DcTestSurface canvas(120, 80, kCanvas);
    EXPECT_EQ(ribbon->DrawCommandBarSeparator(canvas.dc(), &popup, &row, TRUE), CSize(2, 2));
    const int left = ribbon->GetPopupBarGripperWidth(&popup) + ribbon->m_popupSeparatorIndent;
    ASSERT_GT(left, 0);
    EXPECT_TRUE(canvas.HasLine(CPoint(left, 28), CPoint(99, 28), RGB(197, 197, 197)));
    EXPECT_TRUE(canvas.HasLine(CPoint(left, 29), CPoint(99, 29), RGB(245, 245, 245)));
    EXPECT_TRUE(canvas.Untouched(CRect(0, 0, left, 80)));
    EXPECT_TRUE(canvas.Untouched(CRect(100, 0, 120, 80)));
    EXPECT_TRUE(canvas.Untouched(CRect(0, 30, 120, 80)));

    // A control that starts a new column: a line two pixels left of it, down to the bar's bottom.
    row.SetWrap(TRUE);
    DcTestSurface column(120, 80, kCanvas);
    ribbon->DrawCommandBarSeparator(column.dc(), &popup, &row, TRUE);
    EXPECT_TRUE(column.HasLine(CPoint(0, 30), CPoint(0, 79), RGB(197, 197, 197)));
    EXPECT_TRUE(column.Untouched(CRect(1, 0, 120, 80)));
    popup.DestroyWindow();
}

TEST_F(RibbonThemeTest, PopupGripperAndLabelLines)
{
    for (BOOL expanded : {FALSE, TRUE})
    {
        SCOPED_TRACE(expanded ? "expanded" : "not expanded");
        DcTestSurface canvas(40, 30, kCanvas);
        ribbon->FillPopupBarGripper(canvas.dc(), 2, 0, 20, 30, expanded);
        EXPECT_TRUE(canvas.HasLine(CPoint(21, 0), CPoint(21, 29), RGB(197, 197, 197)));
        EXPECT_TRUE(canvas.HasLine(CPoint(22, 0), CPoint(22, 29), RGB(245, 245, 245)));
        EXPECT_TRUE(canvas.Untouched(CRect(0, 0, 3, 30)));
        EXPECT_TRUE(canvas.Untouched(CRect(23, 0, 40, 30)));
        if (!expanded)
        {
            EXPECT_EQ(canvas.Pixel(10, 15), Key("MenuPopupGripper"));
        }
    }
    DcTestSurface label(60, 20, kCanvas);
    ribbon->FillPopupLabelBackground(label.dc(), CRect(5, 2, 55, 18));
    EXPECT_EQ(label.Pixel(30, 8), ribbon->GetColor(56));
    EXPECT_TRUE(label.HasLine(CPoint(5, 17), CPoint(54, 17), RGB(197, 197, 197)));
    EXPECT_TRUE(label.Untouched(CRect(0, 18, 60, 20)));
}

TEST_F(RibbonThemeTest, APopupWindowLosesItsFourCornerPixels)
{
    COSMCommandBar popup;
    ASSERT_TRUE(
        popup.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "Popup", WS_POPUP, 0, 0, 50, 40, nullptr, nullptr));
    popup.SetType(2);
    popup.SetPositionField(5);
    ribbon->SetCommandBarRegion(&popup);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(popup.GetSafeHwnd(), region), ERROR);
    for (const POINT corner : {POINT{0, 0}, POINT{49, 0}, POINT{0, 39}, POINT{49, 39}})
        EXPECT_FALSE(::PtInRegion(region, corner.x, corner.y)) << corner.x << ", " << corner.y;
    for (const POINT inside : {POINT{1, 0}, POINT{0, 1}, POINT{48, 39}, POINT{49, 38}, POINT{25, 20}})
        EXPECT_TRUE(::PtInRegion(region, inside.x, inside.y)) << inside.x << ", " << inside.y;
    ::DeleteObject(region);

    // Other bars keep their window whole.
    COSMCommandBar toolbar;
    ASSERT_TRUE(
        toolbar.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "Bar", WS_POPUP, 0, 0, 50, 40, nullptr, nullptr));
    toolbar.SetType(1);
    ribbon->SetCommandBarRegion(&toolbar);
    HRGN none = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(::GetWindowRgn(toolbar.GetSafeHwnd(), none), ERROR);
    ::DeleteObject(none);
    toolbar.DestroyWindow();
    popup.DestroyWindow();
}

// The region goes to the window only when the window takes it: a popup bar that still names a window already gone
// leaves no region behind.
TEST_F(RibbonThemeTest, ARegionTheWindowRefusesIsNotLeftBehind)
{
    const HWND gone = ::CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "Popup", WS_POPUP, 0, 0, 50, 40, nullptr, nullptr,
                                        nullptr, nullptr);
    ASSERT_NE(nullptr, gone);
    ASSERT_TRUE(::DestroyWindow(gone));
    COSMCommandBar popup;
    ASSERT_TRUE(popup.Attach(gone));
    popup.SetType(2);
    popup.SetPositionField(5);
    const int before = CountGdiObjects();
    ribbon->SetCommandBarRegion(&popup);
    EXPECT_EQ(before, CountGdiObjects());
    popup.Detach();
}

TEST_F(RibbonThemeTest, TheSubMenuGlyphStandsFourteenFromTheRightCentred)
{
    for (int enabled : {1, 0})
    {
        SCOPED_TRACE(enabled ? "enabled" : "disabled");
        Stated<COSMControlButton> row;
        row.SetEnabled(enabled);
        row.SetRect(CRect(0, 0, 100, 21));
        DcTestSurface canvas(100, 21, kCanvas);
        ribbon->DrawPopupSubMenuGlyph(canvas.dc(), &row);
        // 4 x 7 at (86, 7).
        const COLORREF glyph = StateColor("MENUPOPUPGLYPH", enabled ? 0 : 1, 2);
        EXPECT_EQ(canvas.Pixel(86, 7), glyph);
        EXPECT_EQ(canvas.Pixel(89, 13), glyph);
        EXPECT_TRUE(canvas.Untouched(CRect(0, 0, 86, 21)));
        EXPECT_TRUE(canvas.Untouched(CRect(90, 0, 100, 21)));
        EXPECT_TRUE(canvas.Untouched(CRect(0, 0, 100, 7)));
        EXPECT_TRUE(canvas.Untouched(CRect(0, 14, 100, 21)));
    }
}

TEST_F(RibbonThemeTest, ResizeGrippersHaveAFaceAndAHeightOrCornerKnob)
{
    const COLORREF face = StateColor("POPUPBARRESIZEGRIPPERFACE", 0, 1);
    // The height form: the 9 x 3 knob centred at the bottom.
    DcTestSurface height(60, 12, kCanvas);
    ribbon->DrawPopupResizeGripper(height.dc(), CRect(0, 0, 60, 12), 2);
    const COLORREF heightKnob = StateColor("POPUPBARRESIZEGRIPPERHEIGHT", 0, 1);
    EXPECT_EQ(height.Pixel(5, 5), face);
    EXPECT_EQ(height.Pixel(25, 9), heightKnob);
    EXPECT_EQ(height.Pixel(33, 11), heightKnob);
    EXPECT_EQ(height.Pixel(24, 11), face);
    EXPECT_EQ(height.Pixel(34, 11), face);
    EXPECT_EQ(height.Pixel(25, 8), face);
    // The corner form: the 7 x 7 knob in the bottom-right corner.
    DcTestSurface corner(60, 12, kCanvas);
    ribbon->DrawPopupResizeGripper(corner.dc(), CRect(0, 0, 60, 12), 1);
    const COLORREF cornerKnob = StateColor("POPUPBARRESIZEGRIPPERWIDTH", 0, 1);
    EXPECT_EQ(corner.Pixel(53, 5), cornerKnob);
    EXPECT_EQ(corner.Pixel(59, 11), cornerKnob);
    EXPECT_EQ(corner.Pixel(52, 11), face);
    EXPECT_EQ(corner.Pixel(59, 4), face);
}

// ---- Status bar ----

// A status bar window of 200 x 22; its panes are three of 40 pixels laid out by the bar.
class RibbonStatusBarTest : public RibbonThemeTest
{
protected:
    void SetUp() override
    {
        RibbonThemeTest::SetUp();
        ASSERT_TRUE(bar.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "Status", WS_POPUP, 0, 0, 200, 22, nullptr,
                                 nullptr));
    }
    void TearDown() override
    {
        bar.DestroyWindow();
        RibbonThemeTest::TearDown();
    }
    void AddPanes()
    {
        for (UINT id : {201u, 202u, 203u})
        {
            COSMStatusBarPane* pane = bar.AddIndicator(id);
            ASSERT_NE(pane, nullptr);
            pane->SetWidth(40);
        }
        bar.RecalcLayout();
        for (int i = 0; i < 3; ++i)
            ASSERT_GT(bar.GetPane(i)->GetRect().Width(), 0) << "pane " << i << " laid out";
    }
    COLORREF Flat(const char* name) { return StateColor(name, 0, 1); }

    COSMStatusBar bar;
};

TEST_F(RibbonStatusBarTest, TheBackgroundSplitsAtTheFirstVisiblePaneAfterTheDivider)
{
    struct SplitCase
    {
        const char* name;
        bool panes;
        int divider;
        int hidden;     // pane hidden, or -1
        int splitPane;  // the pane whose left edge splits; -1: no panes
    } const cases[] = {
        {"no panes", false, 0, -1, -1},
        {"divider 0: the second pane", true, 0, -1, 1},
        {"divider 1: the last pane", true, 1, -1, 2},
        {"divider past the end: the last pane", true, 7, -1, 2},
        {"the second pane hidden: the third", true, 0, 1, 2},
        {"divider -1: the first pane", true, -1, -1, 0},
        {"divider -5 is safe: the first pane", true, -5, -1, 0},
    };
    for (const SplitCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        bar.RemoveAll();
        if (c.panes)
            AddPanes();
        if (c.hidden >= 0)
        {
            bar.GetPane(c.hidden)->SetVisible(FALSE);
            bar.RecalcLayout();
        }
        bar.SetDividerIndex(c.divider);
        const int x = c.splitPane < 0 ? 200 - (::GetSystemMetrics(SM_CXVSCROLL) + 2 * ::GetSystemMetrics(SM_CXBORDER))
                                      : bar.GetPane(c.splitPane)->GetRect().left - 3;
        ASSERT_LT(x, 190);
        DcTestSurface canvas(200, 22, kCanvas);
        ribbon->FillStatusBar(canvas.dc(), &bar);
        // The light part ends 3 before x, the divider (3 wide here) follows, then the dark part; a split left of the
        // bar leaves only the dark part showing.
        const int lightEnd = x - 3;
        for (int column = 0; column < 200; column += 1)
        {
            const char* part = column < lightEnd       ? "STATUSBARLIGHT"
                               : column < lightEnd + 3 ? "STATUSBARDEVIDER"
                                                       : "STATUSBARDARK";
            ASSERT_EQ(canvas.Pixel(column, 10), Flat(part)) << "column " << column;
            ASSERT_EQ(canvas.Pixel(column, 21), Flat(part)) << "column " << column;
        }
    }
}

TEST_F(RibbonStatusBarTest, BordersBelowTheDividerAndSeparatorsUpToIt)
{
    AddPanes();
    bar.SetDividerIndex(1);
    const COLORREF separator = Flat("STATUSBARSEPARATOR");
    for (int i = 0; i < 3; ++i)
    {
        SCOPED_TRACE("pane " + std::to_string(i));
        COSMStatusBarPane* pane = bar.GetPane(i);
        // Moved into the canvas, so the parts left of and above the first pane show too.
        CRect rect = pane->GetRect();
        rect.OffsetRect(10, 4);
        DcTestSurface borders(220, 30, kCanvas);
        ribbon->DrawStatusBarPaneBorder(borders.dc(), rect, pane, FALSE);
        if (i < 1)
        {
            // Stretched into the two columns at the right edge, from two pixels above the pane to its bottom.
            EXPECT_EQ(borders.Pixel(rect.right - 2, 10), separator);
            EXPECT_EQ(borders.Pixel(rect.right - 1, rect.top - 2), separator);
            EXPECT_TRUE(borders.Untouched(CRect(0, 0, rect.right - 2, 30)));
            EXPECT_TRUE(borders.Untouched(CRect(rect.right, 0, 220, 30)));
        }
        else
        {
            EXPECT_TRUE(borders.Untouched());
        }
        DcTestSurface separators(220, 30, kCanvas);
        ribbon->DrawStatusBarPaneSeparator(separators.dc(), rect, pane);
        if (i <= 1)
        {
            EXPECT_EQ(separators.Pixel(rect.left - 2, 10), separator);
            EXPECT_EQ(separators.Pixel(rect.left - 1, rect.top - 2), separator);
            EXPECT_TRUE(separators.Untouched(CRect(rect.left, 0, 220, 30)));
            EXPECT_TRUE(separators.Untouched(CRect(0, 0, rect.left - 2, 30)));
        }
        else
        {
            EXPECT_TRUE(separators.Untouched());
        }
    }
}

TEST_F(RibbonStatusBarTest, TheGripperSitsFourPixelsAboveTheBottomRight)
{
    DcTestSurface canvas(40, 30, kCanvas);
    ribbon->DrawStatusBarGripper(canvas.dc(), CRect(0, 0, 40, 30));
    // 9 x 7: columns 31..39, rows 19..25.
    EXPECT_EQ(canvas.Pixel(31, 19), Flat("STATUSBARGRIPPER"));
    EXPECT_EQ(canvas.Pixel(39, 25), Flat("STATUSBARGRIPPER"));
    EXPECT_TRUE(canvas.Untouched(CRect(0, 26, 40, 30)));
    EXPECT_TRUE(canvas.Untouched(CRect(0, 0, 31, 30)));
    EXPECT_TRUE(canvas.Untouched(CRect(0, 0, 40, 19)));
}

TEST_F(RibbonStatusBarTest, SwitchesMeasureAndDrawTheirColumnsAndStates)
{
    COSMStatusBarSwitchPane* pane = bar.AddSwitchPane(300);
    ASSERT_NE(pane, nullptr);
    pane->AddSwitch(301);
    pane->AddSwitch(302);
    pane->AddSwitch(303);
    EXPECT_EQ(ribbon->DrawStatusBarSwitchPane(nullptr, CRect(), pane), 19 + 18 + 19);
    EXPECT_EQ(pane->GetSwitch(0)->width, 19);
    EXPECT_EQ(pane->GetSwitch(1)->width, 18);
    EXPECT_EQ(pane->GetSwitch(2)->width, 19);

    pane->GetSwitch(0)->checked = TRUE;
    pane->GetSwitch(0)->hot = TRUE;
    pane->GetSwitch(1)->pressed = TRUE;
    pane->GetSwitch(2)->enabled = FALSE;
    // The switch face images: column c of state s in a colour of its own (make_office2007_theme_fixtures.py).
    auto column = [](int state, int c) { return RGB(240 - state * 20, 20 + c * 50, 200 - state * 7 - c * 3); };
    for (BOOL rightToLeft : {FALSE, TRUE})
    {
        SCOPED_TRACE(rightToLeft ? "right to left" : "left to right");
        bar.ModifyStyleEx(rightToLeft ? 0 : WS_EX_LAYOUTRTL, rightToLeft ? WS_EX_LAYOUTRTL : 0);
        DcTestSurface canvas(80, 22, kCanvas);
        EXPECT_EQ(ribbon->DrawStatusBarSwitchPane(canvas.dc(), CRect(10, 0, 66, 22), pane), 0);
        const int first = rightToLeft ? 3 : 0;
        const int middle = rightToLeft ? 2 : 1;
        const int last = rightToLeft ? 1 : 2;
        EXPECT_EQ(canvas.Pixel(10 + 9, 11), column(4, first));
        EXPECT_EQ(canvas.Pixel(29 + 9, 11), column(2, middle));
        EXPECT_EQ(canvas.Pixel(47 + 9, 11), column(5, last));
        EXPECT_TRUE(canvas.Untouched(CRect(0, 0, 10, 22)));
        EXPECT_TRUE(canvas.Untouched(CRect(66, 0, 80, 22)));
    }

    // A single switch takes the fourth column.
    bar.ModifyStyleEx(WS_EX_LAYOUTRTL, 0);
    COSMStatusBarSwitchPane* single = bar.AddSwitchPane(310);
    single->AddSwitch(311);
    EXPECT_EQ(ribbon->DrawStatusBarSwitchPane(nullptr, CRect(), single), 19);
    DcTestSurface canvas(40, 22, kCanvas);
    ribbon->DrawStatusBarSwitchPane(canvas.dc(), CRect(0, 0, 19, 22), single);
    EXPECT_EQ(canvas.Pixel(9, 11), column(0, 3));
}

// ---- Combo boxes and edits ----

// A combo box whose dropped state a test sets, and which can be given its typing window.
class RibbonCombo : public Stated<COSMControlComboBox>
{
public:
    void SetDropped(BOOL dropped) { m_popped = dropped; }
};

// A popup bar (type 2 at position 5) and a toolbar, both with windows, for the controls of the field tests.
class RibbonFieldTest : public RibbonThemeTest
{
protected:
    void SetUp() override
    {
        RibbonThemeTest::SetUp();
        ASSERT_TRUE(toolbar.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "Bar", WS_POPUP, 0, 0, 200, 60, nullptr,
                                     nullptr));
        toolbar.SetType(1);
        ASSERT_TRUE(popup.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "Popup", WS_POPUP, 0, 0, 200, 60, nullptr,
                                   nullptr));
        popup.SetType(2);
        popup.SetPositionField(5);
    }
    void TearDown() override
    {
        popup.DestroyWindow();
        toolbar.DestroyWindow();
        RibbonThemeTest::TearDown();
    }

    COSMCommandBar toolbar;
    COSMCommandBar popup;
};

TEST_F(RibbonFieldTest, ComboBoxesDrawTheirFieldAndButtonByState)
{
    const CRect rect(0, 0, 120, 22);
    const int labelWidth = 30;
    const CRect button(102, 0, 120, 22);
    struct ComboCase
    {
        const char* name;
        int enabled, selected;
        BOOL dropped, onPopup, typedInto, focused;
        int fillIndex;  // -1: the edit back colour, -2: not filled
        int buttonState, glyphState;
    } const cases[] = {
        {"disabled", 0, 0, FALSE, FALSE, FALSE, FALSE, COLOR_BTNFACE, 4, 3},
        {"disabled, keyboard selected", 0, 2, FALSE, FALSE, FALSE, FALSE, COLOR_BTNFACE, 4, 3},
        {"dropped", 1, 1, TRUE, FALSE, FALSE, FALSE, COLOR_WINDOW, 3, 1},
        {"at rest", 1, 0, FALSE, FALSE, FALSE, FALSE, -1, 0, 0},
        {"at rest on a popup", 1, 0, FALSE, TRUE, FALSE, FALSE, -2, 0, 0},
        {"hot, a list only", 1, 1, FALSE, FALSE, FALSE, FALSE, COLOR_WINDOW, 2, 1},
        {"hot by the mouse, typed into", 1, 1, FALSE, FALSE, TRUE, FALSE, COLOR_WINDOW, 1, 1},
        {"keyboard selected, typed into", 1, 2, FALSE, FALSE, TRUE, FALSE, COLOR_WINDOW, 2, 1},
        {"focused, typed into", 1, 1, FALSE, FALSE, TRUE, TRUE, COLOR_WINDOW, 2, 1},
    };
    for (const ComboCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        RibbonCombo combo;
        combo.SetParent(c.onPopup ? &popup : &toolbar);
        if (c.typedInto)
        {
            combo.SetDropDown(TRUE);
            combo.SetRect(rect);
            ASSERT_NE(combo.GetEditCtrl(), nullptr) << "the typing window comes with the placement";
        }
        combo.SetRect(rect);
        combo.SetLabelWidth(labelWidth);
        combo.SetDropDownButtonWidth(button.Width());
        combo.SetEnabled(c.enabled);
        combo.selected = c.selected;
        combo.SetDropped(c.dropped);
        if (c.focused)
            combo.SetFocused(TRUE);
        DcTestSurface canvas(120, 22, kCanvas);
        EXPECT_EQ(ribbon->DrawComboBoxControl(canvas.dc(), &combo, TRUE), CSize(0, 0));
        const COLORREF fill = c.fillIndex == -1   ? ribbon->EditBackColor
                              : c.fillIndex == -2 ? kCanvas
                                                  : ribbon->GetColor(c.fillIndex);
        EXPECT_EQ(canvas.Pixel(labelWidth + 4, 4), fill);
        // The field's frame in the popup edit frame colour, on every side but under the button.
        const COLORREF frame = ribbon->GetColor(53);
        EXPECT_TRUE(canvas.HasLine(CPoint(labelWidth, 0), CPoint(labelWidth, 21), frame));
        EXPECT_TRUE(canvas.HasLine(CPoint(labelWidth, 0), CPoint(button.left - 1, 0), frame));
        EXPECT_TRUE(canvas.HasLine(CPoint(labelWidth, 21), CPoint(button.left - 1, 21), frame));
        // The button's picture state, the glyph over its centre.
        EXPECT_EQ(canvas.Pixel(button.left + 2, 3), StateColor("TOOLBARBUTTONSCOMBODROPDOWN", c.buttonState, 5));
        EXPECT_EQ(canvas.Pixel(button.right - 1, 21), StateColor("TOOLBARBUTTONSCOMBODROPDOWN", c.buttonState, 5));
        const CPoint centre = button.CenterPoint();
        EXPECT_EQ(canvas.Pixel(centre.x, centre.y - 1), StateColor("TOOLBARBUTTONDROPDOWNGLYPH", c.glyphState, 4));
        if (c.focused)
            combo.SetFocused(FALSE);
    }
}

TEST_F(RibbonFieldTest, AComboBoxOnGlassIsMadeOpaque)
{
    RibbonCombo combo;
    combo.SetParent(&toolbar);
    combo.SetRect(CRect(10, 2, 110, 24));
    combo.SetLabelWidth(20);
    combo.SetDropDownButtonWidth(18);
    for (bool glass : {false, true})
    {
        SCOPED_TRACE(glass ? "on glass" : "off glass");
        if (glass)
            g_glassControls.insert(&combo);
        DcTestSurface canvas(120, 30, DcTestSurface::RawFill{0x00808080});
        ribbon->DrawComboBoxControl(canvas.dc(), &combo, TRUE);
        // Every pixel of the control opaque on glass; around it nothing changes.
        int opaque = 0;
        for (int y = 2; y < 24; ++y)
            for (int x = 10; x < 110; ++x)
                opaque += canvas.Alpha(x, y) == 255;
        EXPECT_EQ(opaque, glass ? 100 * 22 : 0);
        EXPECT_EQ(canvas.Raw(5, 10), 0x00808080u);
        EXPECT_EQ(canvas.Raw(115, 27), 0x00808080u);
    }
}

TEST_F(RibbonFieldTest, EditBackColorsByStateAndBar)
{
    struct BackCase
    {
        const char* name;
        int enabled, selected;
        BOOL onPopup;
        COLORREF expected;
    } const cases[] = {
        {"disabled", 0, 1, FALSE, ribbon->GetColor(COLOR_BTNFACE)},
        {"selected", 1, 1, TRUE, ribbon->GetColor(COLOR_WINDOW)},
        {"at rest on a popup", 1, 0, TRUE, ribbon->GetColor(41)},
        {"at rest", 1, 0, FALSE, ribbon->EditBackColor},
    };
    for (const BackCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        Stated<COSMControlEdit> edit;
        edit.SetParent(c.onPopup ? &popup : &toolbar);
        edit.SetEnabled(c.enabled);
        edit.selected = c.selected;
        EXPECT_EQ(ribbon->GetControlEditBackColor(&edit), c.expected);
    }
    EXPECT_NE(ribbon->EditBackColor, ribbon->GetColor(COLOR_WINDOW));
}

TEST_F(RibbonFieldTest, EditsDrawTheirFieldFrameAndTextColour)
{
    const CRect rect(0, 0, 120, 22);
    const int labelWidth = 30;
    struct EditCase
    {
        const char* name;
        int enabled, selected;
        BOOL onPopup;
        int fillIndex;  // -1: the edit back colour, -2: not filled
        int frameIndex;
        int textIndex;  // on toolbars: the text colour left in the DC
    } const cases[] = {
        {"disabled", 0, 0, FALSE, COLOR_BTNFACE, 53, 60},
        {"disabled, keyboard selected", 0, 3, FALSE, COLOR_BTNFACE, 32, 60},
        {"at rest", 1, 0, FALSE, -1, 53, 46},
        {"at rest on a popup", 1, 0, TRUE, -2, 53, -1},
        {"selected", 1, 1, FALSE, COLOR_WINDOW, 53, 46},
    };
    for (const EditCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        Stated<COSMControlEdit> edit;
        edit.SetParent(c.onPopup ? &popup : &toolbar);
        edit.SetRect(rect);
        edit.SetLabelWidth(labelWidth);
        edit.SetEnabled(c.enabled);
        edit.selected = c.selected;
        DcTestSurface canvas(120, 22, kCanvas);
        canvas.dc()->SetTextColor(kCanvas);
        EXPECT_EQ(ribbon->DrawEditControl(canvas.dc(), &edit, TRUE), CSize(0, 0));
        const COLORREF fill = c.fillIndex == -1   ? ribbon->EditBackColor
                              : c.fillIndex == -2 ? kCanvas
                                                  : ribbon->GetColor(c.fillIndex);
        EXPECT_EQ(canvas.Pixel(60, 10), fill);
        EXPECT_TRUE(canvas.Has3dFrame(CRect(labelWidth, 0, 120, 22), ribbon->GetColor(c.frameIndex),
                                      ribbon->GetColor(c.frameIndex)));
        if (c.textIndex >= 0)
        {
            EXPECT_EQ(canvas.dc()->GetTextColor(), ribbon->GetColor(c.textIndex));
        }
    }
    EXPECT_NE(ribbon->GetColor(32), ribbon->GetColor(53));
}

TEST_F(RibbonFieldTest, SpinHalvesTakeTheirStatesAndGlyphs)
{
    struct SpinCase
    {
        const char* name;
        int enabled, selected, pressed;
        int upper, lower;            // states of the halves' picture
        int upperGlyph, lowerGlyph;  // glyph states
    } const cases[] = {
        {"at rest", 1, 0, 0, 0, 5, 0, 4},
        {"hot", 1, 1, 0, 1, 6, 1, 5},
        {"over the upper half", 1, 4, 0, 2, 6, 2, 5},
        {"upper pressed", 1, 4, 4, 3, 6, 2, 5},
        {"over the lower half", 1, 5, 0, 1, 7, 1, 6},
        {"lower pressed", 1, 5, 5, 1, 8, 1, 6},
        {"disabled", 0, 1, 0, 4, 9, 3, 7},
    };
    // A 22-pixel edit has halves 10 high: the small glyph strip; a 30-pixel one has halves 14 high: the gallery's.
    for (int height : {22, 30})
        for (const SpinCase& c : cases)
        {
            SCOPED_TRACE(std::string(c.name) + ", height " + std::to_string(height));
            Stated<COSMControlEdit> edit;
            edit.SetParent(&toolbar);
            edit.SetRect(CRect(0, 0, 100, height));
            edit.SetShowSpinButtons(TRUE);
            edit.SetEnabled(c.enabled);
            edit.selected = c.selected;
            edit.pressed = c.pressed;
            const CRect spin = edit.GetSpinButtonsRect();
            ASSERT_EQ(spin, CRect(82, 1, 99, height - 1));
            DcTestSurface canvas(100, height, kCanvas);
            ribbon->DrawEditControl(canvas.dc(), &edit, TRUE);
            const int middle = spin.top + spin.Height() / 2;
            const CRect upper(spin.left, spin.top, spin.right, middle);
            const CRect lower(spin.left, middle, spin.right, spin.bottom);
            EXPECT_EQ(canvas.Pixel(upper.left + 1, upper.top + 1),
                      StateColor("TOOLBARBUTTONSPINARROWSVERTICAL", c.upper, 10));
            EXPECT_EQ(canvas.Pixel(lower.right - 1, lower.bottom - 1),
                      StateColor("TOOLBARBUTTONSPINARROWSVERTICAL", c.lower, 10));
            // Each glyph at its own size (5 x 3 or 9 x 9), centred in its half.
            const char* strip = height == 22 ? "TOOLBARBUTTONSPINARROWGLYPHS" : "CONTROLGALLERYSCROLLARROWGLYPHS";
            const CSize glyph = height == 22 ? CSize(5, 3) : CSize(9, 9);
            for (int half = 0; half < 2; ++half)
            {
                const CRect area = half == 0 ? upper : lower;
                const CRect at(
                    CPoint(area.left + (area.Width() - glyph.cx) / 2, area.top + (area.Height() - glyph.cy) / 2),
                    glyph);
                const COLORREF color = StateColor(strip, half == 0 ? c.upperGlyph : c.lowerGlyph, 16);
                EXPECT_EQ(canvas.Pixel(at.left, at.top), color) << "half " << half;
                EXPECT_EQ(canvas.Pixel(at.right - 1, at.bottom - 1), color) << "half " << half;
                EXPECT_NE(canvas.Pixel(at.left - 1, at.top), color) << "half " << half;
                EXPECT_NE(canvas.Pixel(at.right, at.bottom - 1), color) << "half " << half;
            }
        }
}

// ---- The expand button ----

TEST_F(RibbonThemeTest, TheExpandButtonIsAStripAtTheBarsEndWithItsPictureAndGlyphs)
{
    COSMCommandBar bar;
    bar.SetType(1);
    Stated<COSMControlButton> button;
    button.SetParent(&bar);
    struct ExpandCase
    {
        int position;
        const char* image;
        CRect strip;  // measured in a bar of 26 x 100 (vertical) or 100 x 26
    } const cases[] = {
        {0, "TOOLBAREXPANDBUTTONHORIZONTAL", CRect(88, 0, 100, 26)},
        {2, "TOOLBAREXPANDBUTTONVERTICAL", CRect(0, 88, 26, 100)},
    };
    for (const ExpandCase& c : cases)
    {
        SCOPED_TRACE(c.image);
        bar.SetPositionField(c.position);
        const bool vertical = c.position == 2;
        INT32 size[2] = {vertical ? 26 : 100, vertical ? 100 : 26};
        ribbon->DrawSpecialControl(nullptr, 0, &button, &bar, FALSE, size);
        EXPECT_EQ(button.GetRect(), c.strip);
        struct StateCase
        {
            int selected;
            BOOL open;
            int state, textIndex;
        } const states[] = {{0, FALSE, 0, 46}, {1, FALSE, 1, 45}, {1, TRUE, 2, 46}};
        for (const StateCase& s : states)
        {
            SCOPED_TRACE("state " + std::to_string(s.state));
            button.selected = s.selected;
            button.popupOpen = s.open;
            INT32 nothingHidden[2] = {0, 0};
            DcTestSurface canvas(vertical ? 26 : 100, vertical ? 100 : 26, kCanvas);
            ribbon->DrawSpecialControl(canvas.dc(), 0, &button, &bar, TRUE, nothingHidden);
            const COLORREF face = StateColor(c.image, s.state, 3);
            const COLORREF text = ribbon->GetColor(s.textIndex);
            const COLORREF light = ribbon->GetColor(COLOR_BTNHIGHLIGHT);
            EXPECT_EQ(canvas.Pixel(c.strip.left + 3, c.strip.top + 3), face);
            EXPECT_TRUE(canvas.Untouched(vertical ? CRect(0, 0, 26, 88) : CRect(0, 0, 88, 26)));
            // The Office 2003 look's arrow moved one pixel towards the bar's start, its light copy one right and
            // down of that.
            if (vertical)
            {
                // The rectangle (0, 87, 26, 99): the bar of the arrow at x 16 from y 91, the light one at x 17.
                EXPECT_EQ(canvas.Pixel(16, 91), text);
                EXPECT_EQ(canvas.Pixel(17, 92), light);
                EXPECT_EQ(canvas.Pixel(16, 90), face);
            }
            else
            {
                // The rectangle (87, 0, 99, 26): the bar of the arrow at y 16 from x 91, the light one at y 17.
                EXPECT_EQ(canvas.Pixel(91, 16), text);
                EXPECT_EQ(canvas.Pixel(92, 17), light);
                EXPECT_EQ(canvas.Pixel(90, 16), face);
            }
        }
    }
    EXPECT_NE(ribbon->GetColor(45), ribbon->GetColor(46));
}

// ---- Keyboard tips ----

TEST_F(RibbonThemeTest, KeyboardTipsHaveTheirRegionGradientFrameAndText)
{
    COSMCommandBarKeyboardTip tip(nullptr, nullptr, "K", 0, 0, 0, TRUE);
    tip.SetText("K");
    ASSERT_TRUE(tip.CreateTipWindow(nullptr, CRect(10, 10, 40, 70), FALSE));
    // Measuring sets the window region without the four corner pixels.
    ribbon->DrawKeyboardTip(nullptr, &tip, TRUE);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(tip.GetSafeHwnd(), region), ERROR);
    for (const POINT corner : {POINT{0, 0}, POINT{29, 0}, POINT{0, 59}, POINT{29, 59}})
        EXPECT_FALSE(::PtInRegion(region, corner.x, corner.y)) << corner.x << ", " << corner.y;
    EXPECT_TRUE(::PtInRegion(region, 1, 0));
    EXPECT_TRUE(::PtInRegion(region, 15, 30));
    ::DeleteObject(region);

    const COLORREF light = images->GetImageColor("Window", "TooltipLight");
    const COLORREF dark = images->GetImageColor("Window", "TooltipDark");
    const COLORREF frame = RGB(230, 60, 140);  // the fixture's tip frame
    auto roughly = [](COLORREF a, COLORREF b) {
        return std::abs(GetRValue(a) - GetRValue(b)) <= 8 && std::abs(GetGValue(a) - GetGValue(b)) <= 8 &&
               std::abs(GetBValue(a) - GetBValue(b)) <= 8;
    };
    for (BOOL enabled : {TRUE, FALSE})
    {
        SCOPED_TRACE(enabled ? "enabled" : "disabled");
        tip.SetEnabled(enabled);
        DcTestSurface canvas(30, 60, kCanvas);
        ribbon->DrawKeyboardTip(canvas.dc(), &tip, FALSE);
        // The frame picture three pixels wide, the gradient from top to bottom inside it.
        EXPECT_EQ(canvas.Pixel(0, 30), frame);
        EXPECT_EQ(canvas.Pixel(2, 30), frame);
        EXPECT_EQ(canvas.Pixel(15, 59), frame);
        EXPECT_TRUE(roughly(canvas.Pixel(4, 3), light)) << foundation_test::DescribePixelColor(canvas.Pixel(4, 3));
        EXPECT_TRUE(roughly(canvas.Pixel(4, 56), dark)) << foundation_test::DescribePixelColor(canvas.Pixel(4, 56));
        // The letter in the button text colour, or the grey one when disabled.
        const COLORREF ink = ribbon->GetColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
        int inked = 0;
        for (int y = 20; y < 40; ++y)
            for (int x = 5; x < 25; ++x)
                inked += canvas.Pixel(x, y) == ink;
        EXPECT_GT(inked, 3);
    }
    EXPECT_NE(light, dark);
    tip.DestroyWindow();
}

TEST_F(RibbonThemeTest, AKeyboardTipWindowOfAManagerInTheLookPaintsItself)
{
    // The manager's look gives the tip its region as the window is made, and paints it when it shows.
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    commandBars->SetPaintManager(ribbon);
    {
        COSMCommandBarKeyboardTip tip(commandBars.Get(), nullptr, "W", 0, 0, 0, TRUE);
        tip.SetText("W");
        ASSERT_TRUE(tip.CreateTipWindow(nullptr, CRect(40, 40, 70, 100), FALSE));
        HRGN region = ::CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(::GetWindowRgn(tip.GetSafeHwnd(), region), ERROR);
        EXPECT_FALSE(::PtInRegion(region, 0, 0));
        EXPECT_FALSE(::PtInRegion(region, 29, 59));
        EXPECT_TRUE(::PtInRegion(region, 15, 30));
        ::DeleteObject(region);

        tip.ShowWindow(SW_SHOWNOACTIVATE);
        tip.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        CClientDC dc(&tip);
        EXPECT_EQ(dc.GetPixel(1, 30), RGB(230, 60, 140)) << "the fixture's tip frame";
        const COLORREF inside = dc.GetPixel(4, 4);
        const COLORREF light = images->GetImageColor("Window", "TooltipLight");
        EXPECT_LE(std::abs(GetRValue(inside) - GetRValue(light)), 8);
        EXPECT_LE(std::abs(GetGValue(inside) - GetGValue(light)), 8);
        EXPECT_LE(std::abs(GetBValue(inside) - GetBValue(light)), 8);
        tip.DestroyWindow();
    }
    commandBars->SetPaintManager(nullptr);
}

// ---- Split popup rows and menu marks ----

TEST_F(RibbonThemeTest, SplitPopupRowsDrawTheirMainAndArrowParts)
{
    struct SplitRowCase
    {
        const char* name;
        int height, enabled, selected;
        BOOL open;
        int main;  // -1: not drawn
        int arrow;
    } const cases[] = {
        {"at rest, 34 high", 34, 1, 0, FALSE, 0, 0},
        {"at rest, 33 high: no main part", 33, 1, 0, FALSE, -1, 0},
        {"hot", 34, 1, 1, FALSE, 1, 1},
        {"keyboard selected", 34, 1, 2, FALSE, 2, 1},
        {"keyboard selected and open", 34, 1, 2, TRUE, 1, 2},
        {"over the main part", 34, 1, 4, TRUE, 2, 2},
        {"open", 40, 1, 1, TRUE, 1, 2},
        {"disabled", 40, 0, 1, FALSE, -1, 0},
        {"only the main part enabled", 40, 4, 1, FALSE, 1, 0},
        {"only the arrow enabled", 40, 5, 1, TRUE, -1, 2},
    };
    const int split = ribbon->m_popupSplitWidth;
    for (const SplitRowCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        Stated<COSMControlButton> row;
        row.SetType(4);
        row.SetRect(CRect(0, 0, 150, c.height));
        row.SetEnabled(c.enabled);
        row.selected = c.selected;
        row.popupOpen = c.open;
        DcTestSurface canvas(150, 40, kCanvas);
        ribbon->DrawSplitPopupItem(canvas.dc(), &row);
        if (c.main < 0)
            EXPECT_TRUE(canvas.Untouched(CRect(0, 0, 150 - split, 40)));
        else
            EXPECT_EQ(canvas.Pixel(10, c.height / 2), StateColor("MENUSPLITITEM", c.main, 3));
        EXPECT_EQ(canvas.Pixel(150 - split, c.height / 2), StateColor("MENUSPLITDROPDOWN", c.arrow, 3));
        EXPECT_EQ(canvas.Pixel(149, c.height - 1), StateColor("MENUSPLITDROPDOWN", c.arrow, 3));
        EXPECT_TRUE(canvas.Untouched(CRect(0, c.height, 150, 40)));
    }
}

TEST_F(RibbonThemeTest, MenuMarksAreThePictureCentredByKindAndState)
{
    struct MenuMarkCase
    {
        BOOL radio, enabled;
        int state;
    } const cases[] = {{FALSE, TRUE, 0}, {FALSE, FALSE, 1}, {TRUE, TRUE, 2}, {TRUE, FALSE, 3}};
    for (const MenuMarkCase& c : cases)
    {
        SCOPED_TRACE(std::string(c.radio ? "radio" : "check") + (c.enabled ? "" : ", disabled"));
        DcTestSurface canvas(24, 24, kCanvas);
        // 10 x 10, centred in (2, 2, 22, 22): (7, 7) to (16, 16).
        if (c.radio)
            ribbon->DrawMenuRadioMark(canvas.dc(), CRect(2, 2, 22, 22), RGB(0, 0, 0), c.enabled);
        else
            ribbon->DrawMenuCheckMark(canvas.dc(), CRect(2, 2, 22, 22), RGB(0, 0, 0), c.enabled);
        const COLORREF mark = StateColor("MENUCHECKEDITEMMARK", c.state, 4);
        EXPECT_EQ(canvas.Pixel(7, 7), mark);
        EXPECT_EQ(canvas.Pixel(16, 16), mark);
        EXPECT_TRUE(canvas.Untouched(CRect(0, 0, 24, 7)));
        EXPECT_TRUE(canvas.Untouched(CRect(0, 17, 24, 24)));
        EXPECT_TRUE(canvas.Untouched(CRect(0, 0, 7, 24)));
        EXPECT_TRUE(canvas.Untouched(CRect(17, 0, 24, 24)));
    }
}

TEST_F(RibbonFieldTest, ACheckedPopupRowHandsItsEnabledStateToTheMark)
{
    ribbon->RefreshFonts();
    for (int enabled : {1, 0})
    {
        SCOPED_TRACE(enabled ? "enabled" : "disabled");
        Stated<COSMControlButton> row;
        row.SetParent(&popup);
        row.SetCaption("Row");
        row.SetRect(CRect(0, 0, 160, 22));
        row.SetChecked(TRUE);
        row.SetEnabled(enabled);
        DcTestSurface canvas(160, 22, kCanvas);
        ribbon->DrawPopupBarControl(canvas.dc(), &row, TRUE);
        const COLORREF mark = StateColor("MENUCHECKEDITEMMARK", enabled ? 0 : 1, 4);
        const COLORREF other = StateColor("MENUCHECKEDITEMMARK", enabled ? 1 : 0, 4);
        int marked = 0;
        int wrong = 0;
        for (int y = 0; y < 22; ++y)
            for (int x = 0; x < 40; ++x)
            {
                marked += canvas.Pixel(x, y) == mark;
                wrong += canvas.Pixel(x, y) == other;
            }
        EXPECT_EQ(marked, 100);
        EXPECT_EQ(wrong, 0);
    }
}

// ---- Without their pictures ----

TEST_F(RibbonThemeWithoutTextTest, WithoutTheirPicturesFieldsAndPartsAreTheOffice2007Looks)
{
    COSMCommandBar toolbar;
    ASSERT_TRUE(
        toolbar.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "Bar", WS_POPUP, 0, 0, 200, 60, nullptr, nullptr));
    toolbar.SetType(1);
    RibbonCombo combo;
    combo.SetParent(&toolbar);
    combo.SetRect(CRect(0, 0, 120, 22));
    combo.SetLabelWidth(30);
    combo.SetDropDownButtonWidth(18);
    combo.selected = 1;
    Stated<COSMControlEdit> edit;
    edit.SetParent(&toolbar);
    edit.SetRect(CRect(0, 0, 120, 22));
    edit.SetShowSpinButtons(TRUE);
    edit.selected = 4;
    edit.pressed = 4;
    Stated<COSMControlButton> expand;
    expand.SetParent(&toolbar);
    expand.SetRect(CRect(100, 0, 112, 22));
    expand.selected = 1;
    Stated<COSMControlButton> splitRow;
    splitRow.SetType(4);
    splitRow.SetRect(CRect(0, 0, 120, 40));
    COSMCommandBarKeyboardTip tip(nullptr, nullptr, "K", 0, 0, 0, TRUE);
    tip.SetText("K");
    ASSERT_TRUE(tip.CreateTipWindow(nullptr, CRect(10, 10, 40, 40), FALSE));
    INT32 hidden[2] = {1, 0};
    struct FallbackCase
    {
        const char* name;
        std::function<void(CDC*)> ribbonDraws;
        std::function<void(CDC*)> officeDraws;
    } const cases[] = {
        {"combo box", [&](CDC* dc) { ribbon->DrawComboBoxControl(dc, &combo, TRUE); },
         [&](CDC* dc) { ribbon->COSMOffice2007Theme::DrawComboBoxControl(dc, &combo, TRUE); }},
        {"expand button", [&](CDC* dc) { ribbon->DrawSpecialControl(dc, 0, &expand, &toolbar, TRUE, hidden); },
         [&](CDC* dc) { ribbon->COSMOffice2007Theme::DrawSpecialControl(dc, 0, &expand, &toolbar, TRUE, hidden); }},
        {"split popup row", [&](CDC* dc) { ribbon->DrawSplitPopupItem(dc, &splitRow); },
         [&](CDC* dc) { ribbon->COSMOffice2007Theme::DrawSplitPopupItem(dc, &splitRow); }},
        {"check mark", [&](CDC* dc) { ribbon->DrawMenuCheckMark(dc, CRect(0, 0, 20, 20), RGB(0, 0, 0), FALSE); },
         [&](CDC* dc) {
             ribbon->COSMOffice2007Theme::DrawMenuCheckMark(dc, CRect(0, 0, 20, 20), RGB(0, 0, 0), FALSE);
         }},
        {"radio mark", [&](CDC* dc) { ribbon->DrawMenuRadioMark(dc, CRect(0, 0, 20, 20), RGB(0, 0, 0), TRUE); },
         [&](CDC* dc) { ribbon->COSMOffice2007Theme::DrawMenuRadioMark(dc, CRect(0, 0, 20, 20), RGB(0, 0, 0), TRUE); }},
        {"keyboard tip", [&](CDC* dc) { ribbon->DrawKeyboardTip(dc, &tip, FALSE); },
         [&](CDC* dc) { ribbon->COSMOffice2007Theme::DrawKeyboardTip(dc, &tip, FALSE); }},
    };
    for (const FallbackCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        DcTestSurface canvas(120, 40, kCanvas);
        DcTestSurface expected(120, 40, kCanvas);
        c.ribbonDraws(canvas.dc());
        c.officeDraws(expected.dc());
        EXPECT_FALSE(expected.Untouched());
        EXPECT_TRUE(canvas.EqualsCanvas(expected));
    }
    // An edit draws its field from the colours; only its spin buttons are the Office look's.
    DcTestSurface withSpin(120, 40, kCanvas);
    ribbon->DrawEditControl(withSpin.dc(), &edit, TRUE);
    edit.SetShowSpinButtons(FALSE);
    DcTestSurface fieldOnly(120, 40, kCanvas);
    ribbon->DrawEditControl(fieldOnly.dc(), &edit, TRUE);
    DcTestSurface officeSpin(120, 40, kCanvas);
    ribbon->DrawEditControl(officeSpin.dc(), &edit, TRUE);
    edit.SetShowSpinButtons(TRUE);
    ribbon->DrawEditSpinButtons(officeSpin.dc(), &edit);
    EXPECT_FALSE(fieldOnly.EqualsCanvas(officeSpin));
    EXPECT_TRUE(withSpin.EqualsCanvas(officeSpin));
    // Without a theme text an edit at rest keeps the window colour.
    Stated<COSMControlEdit> resting;
    resting.SetParent(&toolbar);
    EXPECT_EQ(ribbon->GetControlEditBackColor(&resting), ribbon->GetColor(COLOR_WINDOW));
    tip.DestroyWindow();
    toolbar.DestroyWindow();
}

}  // namespace
}  // namespace office2007_theme_test
