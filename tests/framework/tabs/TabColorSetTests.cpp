// The colour sets SetColor builds, under a machine of the test's own put beneath the colour manager (visual style,
// low-colour answer, system colours of their own): their colours by set, style and the visual-style-colours switch,
// the fills of headers, tabs and navigation buttons read back from pixels, and the visual style's set drawing
// through Wine's active visual style (the platform's own drawing is the oracle), through a stand-in library whose
// answers the test sets, and through no library at all.
#include <gtest/gtest.h>

#include <vssym32.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <typeinfo>
#include <vector>

#include "TabTestSupport.h"
#include "TabThemeScope.h"
#include "TestColorMachine.h"
#include "ThemeStubLibrary.h"
#include "framework/foundation/ColorManager.h"
#include "framework/tabs/TabColorSetOffice2003.h"
#include "framework/tabs/TabColorSetResource.h"
#include "framework/tabs/TabColorSetVisualStyle.h"
#include "tests/support/DcTestSurface.h"

using foundation_test::DcTestSurface;
using foundation_test::TestColorMachine;
using tabs_test::LoopWindow;
using tabs_test::TabThemeScope;
using tabs_test::TestStrip;

namespace {

// System colours of the test's machine, each its own, so that a colour read back names the index it came from.
void GiveDistinctSystemColors(TestColorMachine& machine)
{
    machine.colors[COLOR_WINDOW] = RGB(250, 251, 249);
    machine.colors[COLOR_WINDOWTEXT] = RGB(3, 4, 5);
    machine.colors[COLOR_HIGHLIGHT] = RGB(40, 90, 200);
    machine.colors[COLOR_BTNFACE] = RGB(210, 205, 195);
    machine.colors[COLOR_BTNSHADOW] = RGB(120, 115, 105);
    machine.colors[COLOR_GRAYTEXT] = RGB(130, 131, 132);
    machine.colors[COLOR_BTNTEXT] = RGB(6, 7, 8);
    machine.colors[COLOR_BTNHIGHLIGHT] = RGB(254, 253, 252);
    machine.colors[COLOR_3DDKSHADOW] = RGB(20, 21, 22);
}

// The face blended toward the window colour, 20.5 % face: the Office 2003 set's header without a scheme.
const COLORREF kFaceToWindow = 0xFE000001;

// An index 0 to 62 as the colour manager resolves it now, the face blend, or a colour as it is.
COLORREF ColorSetExpected(COLORREF indexOrColor)
{
    if (indexOrColor == kFaceToWindow)
        return COSMColorManager::BlendColors(GetColorManager()->GetColor(COLOR_BTNFACE),
                                             GetColorManager()->GetColor(COLOR_WINDOW), 205);
    return GetColorManager()->GetColor(indexOrColor);
}

bool ColorSetNear(COLORREF a, COLORREF b, int nTolerance)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= nTolerance && std::abs(GetGValue(a) - GetGValue(b)) <= nTolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= nTolerance;
}

// Each channel of clr lies between those of a and b.
bool ColorSetBetween(COLORREF a, COLORREF b, COLORREF clr)
{
    auto within = [](int x, int y, int v) { return v >= std::min(x, y) && v <= std::max(x, y); };
    return within(GetRValue(a), GetRValue(b), GetRValue(clr)) && within(GetGValue(a), GetGValue(b), GetGValue(clr)) &&
           within(GetBValue(a), GetBValue(b), GetBValue(clr));
}

std::string ColorSetText(COLORREF clr)
{
    return foundation_test::DescribePixelColor(clr);
}

// ---- Colours by set, style and switch ----------------------------------------------------------------------------

struct ColorSetRow
{
    int nId;
    std::initializer_list<int> styles;
    std::initializer_list<bool> disabled;  // the paint manager's switch for visual-style colours
    COLORREF border, header1, header2, normalTab, selectedTab, hotTab, pressedTab;
    COLORREF normalText, selectedText, hotText, inactiveText;
};

const COLORREF kNavy = RGB(0, 0, 128);
const COLORREF kSchemePressed = RGB(254, 142, 75);

TEST(TabColorSetFamilyTest, EachSetsColoursByVisualStyleAndSwitch)
{
    const std::initializer_list<int> kAllStyles = {0, 1, 2, 3, 4, 5};
    // Index numbers stand for the colour manager's colours; the RGB values are the schemes' own.
    const ColorSetRow rows[] = {
        // The default set, and an id without a set of its own.
        {1, kAllStyles, {false, true}, 16, 15, 15, 15, 15, 15, 15, 18, 18, kNavy, 18},
        {3, kAllStyles, {false, true}, 16, 15, 15, 15, 15, 15, 15, 18, 18, kNavy, 18},
        // Classic: the shadow-dark header.
        {2, kAllStyles, {false, true}, 16, 48, 48, 15, 15, 15, 15, 18, 18, kNavy, 18},
        // Office 2003: no scheme (the selected tab checked-blue under no style, the face with style colours off),
        // then blue (Luna blue, Royale, Aero), olive and silver.
        {4, {0}, {false}, 16, 15, kFaceToWindow, 15, 36, 36, 33, 18, 18, 18, 18},
        {4, kAllStyles, {true}, 16, 15, kFaceToWindow, 15, 15, 36, 33, 18, 18, 18, 18},
        {4,
         {1, 4, 5},
         {false},
         RGB(59, 97, 156),
         RGB(196, 218, 250),
         RGB(252, 253, 254),
         RGB(162, 192, 246),
         RGB(255, 194, 115),
         RGB(255, 240, 201),
         kSchemePressed,
         18,
         18,
         18,
         18},
        {4,
         {2},
         {false},
         RGB(96, 128, 88),
         RGB(242, 241, 228),
         RGB(252, 254, 254),
         RGB(208, 222, 170),
         RGB(255, 194, 115),
         RGB(255, 240, 199),
         kSchemePressed,
         18,
         18,
         18,
         18},
        {4,
         {3},
         {false},
         RGB(124, 124, 148),
         RGB(243, 243, 247),
         RGB(252, 254, 254),
         RGB(217, 217, 230),
         RGB(255, 194, 115),
         RGB(255, 238, 194),
         kSchemePressed,
         18,
         18,
         18,
         18},
        // Plain: the Office 2003 colours with the style's border while the switch is off ...
        {16, {0}, {false}, 57, 15, kFaceToWindow, 15, 36, 36, 33, 18, 18, 18, 18},
        {16,
         {1, 4, 5},
         {false},
         57,
         RGB(196, 218, 250),
         RGB(252, 253, 254),
         RGB(162, 192, 246),
         RGB(255, 194, 115),
         RGB(255, 240, 201),
         kSchemePressed,
         18,
         18,
         18,
         18},
        {16,
         {2},
         {false},
         57,
         RGB(242, 241, 228),
         RGB(252, 254, 254),
         RGB(208, 222, 170),
         RGB(255, 194, 115),
         RGB(255, 240, 199),
         kSchemePressed,
         18,
         18,
         18,
         18},
        {16,
         {3},
         {false},
         57,
         RGB(243, 243, 247),
         RGB(252, 254, 254),
         RGB(217, 217, 230),
         RGB(255, 194, 115),
         RGB(255, 238, 194),
         kSchemePressed,
         18,
         18,
         18,
         18},
        // ... and its own quiet colours while it is on.
        {16, {0, 4, 5}, {true}, 57, 15, 15, 15, 5, 36, 33, 18, 8, 18, 18},
        {16, {1, 2}, {true}, 57, RGB(228, 226, 213), RGB(228, 226, 213), 15, 5, 36, 33, 18, 8, 18, 18},
        {16, {3}, {true}, 57, RGB(238, 238, 238), RGB(238, 238, 238), RGB(245, 245, 248), 5, 36, 33, 18, 8, 18, 18},
        // Light: the Office 2003 colours while the switch is off ...
        {64, {0}, {false}, 16, 15, kFaceToWindow, 15, 36, 36, 33, 18, 18, 18, 18},
        {64,
         {1, 4, 5},
         {false},
         RGB(59, 97, 156),
         RGB(196, 218, 250),
         RGB(252, 253, 254),
         RGB(162, 192, 246),
         RGB(255, 194, 115),
         RGB(255, 240, 201),
         kSchemePressed,
         18,
         18,
         18,
         18},
        {64,
         {2},
         {false},
         RGB(96, 128, 88),
         RGB(242, 241, 228),
         RGB(252, 254, 254),
         RGB(208, 222, 170),
         RGB(255, 194, 115),
         RGB(255, 240, 199),
         kSchemePressed,
         18,
         18,
         18,
         18},
        {64,
         {3},
         {false},
         RGB(124, 124, 148),
         RGB(243, 243, 247),
         RGB(252, 254, 254),
         RGB(217, 217, 230),
         RGB(255, 194, 115),
         RGB(255, 238, 194),
         kSchemePressed,
         18,
         18,
         18,
         18},
        // ... and light colours of its own by style while it is on.
        {64, {0}, {true}, 57, 15, 15, 15, 15, 5, 33, 18, 8, 18, 18},
        {64, {1, 4}, {true}, RGB(152, 181, 226), 15, 15, 15, RGB(193, 210, 238), RGB(167, 191, 227), 33, 18, 8, 18, 18},
        {64, {2}, {true}, RGB(147, 160, 112), 15, 15, 15, RGB(182, 198, 141), RGB(175, 175, 142), 33, 18, 8, 18, 18},
        {64, {3}, {true}, RGB(147, 145, 176), 15, 15, 15, RGB(225, 226, 236), RGB(255, 201, 128), 33, 18, 8, 18, 18},
        {64,
         {5},
         {true},
         RGB(105, 161, 191),
         15,
         15,
         RGB(152, 180, 210),
         RGB(210, 230, 250),
         RGB(129, 208, 241),
         33,
         18,
         8,
         18,
         18},
    };
    for (const ColorSetRow& row : rows)
    {
        for (int nStyle : row.styles)
        {
            for (bool bDisabled : row.disabled)
            {
                TestColorMachine machine;
                GiveDistinctSystemColors(machine);
                machine.style = nStyle;
                COSMColorEnvironmentScope scope(machine);
                ASSERT_EQ(nStyle, GetColorManager()->GetVisualStyle());
                COSMTabPaintManager pm;
                pm.m_bDisableLunaColors = bDisabled;
                COSMTabColorSet* pColors = pm.SetColor(row.nId);
                std::ostringstream where;
                where << "id " << row.nId << ", style " << nStyle << (bDisabled ? ", style colours off" : "");
                SCOPED_TRACE(where.str());
                EXPECT_EQ(ColorSetText(ColorSetExpected(row.border)), ColorSetText(pColors->m_clrBorder)) << "border";
                EXPECT_EQ(ColorSetText(ColorSetExpected(row.header1)), ColorSetText(pColors->m_grcHeaderFace.First()))
                    << "header, first";
                EXPECT_EQ(ColorSetText(ColorSetExpected(row.header2)), ColorSetText(pColors->m_grcHeaderFace.Second()))
                    << "header, second";
                EXPECT_EQ(ColorSetText(ColorSetExpected(row.normalTab)), ColorSetText(pColors->m_clrNormalTab))
                    << "normal tab";
                EXPECT_EQ(ColorSetText(ColorSetExpected(row.selectedTab)), ColorSetText(pColors->m_clrSelectedTab))
                    << "selected tab";
                EXPECT_EQ(ColorSetText(ColorSetExpected(row.hotTab)), ColorSetText(pColors->m_clrHotTab)) << "hot tab";
                EXPECT_EQ(ColorSetText(ColorSetExpected(row.pressedTab)), ColorSetText(pColors->m_clrPressedTab))
                    << "pressed tab";
                EXPECT_EQ(ColorSetText(ColorSetExpected(row.normalText)), ColorSetText(pColors->m_clrNormalText))
                    << "normal text";
                EXPECT_EQ(ColorSetText(ColorSetExpected(row.selectedText)), ColorSetText(pColors->m_clrSelectedText))
                    << "selected text";
                EXPECT_EQ(ColorSetText(ColorSetExpected(row.hotText)), ColorSetText(pColors->m_clrHotText))
                    << "hot text";
                EXPECT_EQ(ColorSetText(ColorSetExpected(row.inactiveText)), ColorSetText(pColors->m_clrInactiveText))
                    << "inactive text";
            }
        }
    }
}

TEST(TabColorSetFamilyTest, EachIdBuildsItsOwnClass)
{
    const struct
    {
        int nId;
        const std::type_info& type;
    } cases[] = {
        {1, typeid(COSMTabColorSetDefault)},    {2, typeid(COSMTabColorSetClassic)},
        {4, typeid(COSMTabColorSetOffice2003)}, {8, typeid(COSMTabColorSetVisualStyle)},
        {16, typeid(COSMTabColorSetPlain)},     {64, typeid(COSMTabColorSetLight)},
        {0, typeid(COSMTabColorSetDefault)},    {3, typeid(COSMTabColorSetDefault)},
        {256, typeid(COSMTabColorSetDefault)},  {-4, typeid(COSMTabColorSetDefault)},
    };
    for (const auto& c : cases)
    {
        COSMTabPaintManager pm;
        COSMTabColorSet* pColors = pm.SetColor(c.nId);
        ASSERT_NE(nullptr, pColors);
        EXPECT_EQ(c.type, typeid(*pColors)) << "id " << c.nId;
        EXPECT_EQ(c.nId, pm.GetColor());
        EXPECT_EQ(&pm, pColors->GetPaintManager());
    }
}

// Every colour of a set, in member order, with the Office 2003 family's navigation frame.
std::vector<COLORREF> AllSetColors(COSMTabColorSet* p)
{
    std::vector<COLORREF> colors = {p->m_grcHeaderFace.First(),
                                    p->m_grcHeaderFace.Second(),
                                    p->m_grcAlternateFace.First(),
                                    p->m_grcAlternateFace.Second(),
                                    p->m_clrBorder,
                                    p->m_clrFace,
                                    p->m_clrPane,
                                    p->m_clrLight,
                                    p->m_clrDark,
                                    p->m_clrSelectedTab,
                                    p->m_clrHotTab,
                                    p->m_clrPressedTab,
                                    p->m_clrNormalTab,
                                    p->m_clrNormalText,
                                    p->m_clrInactiveText,
                                    p->m_clrSelectedText,
                                    p->m_clrHotText,
                                    p->m_clrDisabledText,
                                    p->m_grcButtonSelectedFace.First(),
                                    p->m_grcButtonSelectedFace.Second(),
                                    p->m_grcButtonSelectedBorder.First(),
                                    p->m_grcButtonSelectedBorder.Second(),
                                    p->m_clrFrameHighlight,
                                    p->m_clrFrameShadow,
                                    p->m_clrFrameDarkShadow,
                                    p->m_clrTabOutline,
                                    p->m_clrSelectedTabOutline,
                                    p->m_clrTabInnerLight,
                                    p->m_clrTabInnerLight2};
    for (const COSMTabColorSetGroup* pGroup : {&p->m_csSelected, &p->m_csNormal})
        for (const COSMPaintManagerColor* pColor :
             {&pGroup->clrBorder, &pGroup->clrBottomBorder, &pGroup->clrDarkBorder, &pGroup->clrLight,
              &pGroup->clrShadow, &pGroup->clrBottomLight})
            colors.push_back(*pColor);
    if (auto* pOffice = dynamic_cast<COSMTabColorSetOffice2003*>(p))
    {
        colors.push_back(pOffice->m_clrNavigateFrame);
        colors.push_back(pOffice->m_bSchemeColors);
    }
    return colors;
}

TEST(TabColorSetFamilyTest, WithoutThemeResourcesTheResourceSetsAreTheBlueOfficeSetOnAnyMachine)
{
    std::vector<COLORREF> blue;
    {
        TestColorMachine machine;
        GiveDistinctSystemColors(machine);
        machine.style = 1;
        COSMColorEnvironmentScope scope(machine);
        COSMTabPaintManager pm;
        blue = AllSetColors(pm.SetColor(4));
    }
    for (int nStyle : {0, 1, 2, 3, 4, 5})
    {
        for (BOOL bDisabled : {FALSE, TRUE})
        {
            TestColorMachine machine;
            GiveDistinctSystemColors(machine);
            machine.style = nStyle;
            COSMColorEnvironmentScope scope(machine);
            for (int nId : {32, 128})
            {
                COSMTabPaintManager pm;
                pm.m_bDisableLunaColors = bDisabled;
                auto* pColors = dynamic_cast<COSMTabColorSetResource*>(pm.SetColor(nId));
                ASSERT_NE(nullptr, pColors);
                SCOPED_TRACE(testing::Message() << "id " << nId << " style " << nStyle << " switch " << bDisabled);
                const std::vector<COLORREF> colors = AllSetColors(pColors);
                ASSERT_EQ(blue.size(), colors.size());
                for (size_t i = 0; i < blue.size(); i++)
                    EXPECT_EQ(ColorSetText(blue[i]), ColorSetText(colors[i])) << "member " << i;
                EXPECT_EQ(pColors->m_clrNormalText.GetEffective(), pColors->m_clrNavigateText.GetEffective());
            }
        }
    }
}

TEST(TabColorSetFamilyTest, WithTheThemeTextTheResourceSetsTakeEveryKey)
{
    TabThemeScope theme;
    ASSERT_TRUE(theme.IsLoaded()) << OSM_TAB_THEME_MODULE;
    auto key = &TabThemeScope::Key;
    const COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);
    for (int nStyle : {0, 1, 2, 3})
    {
        TestColorMachine machine;
        GiveDistinctSystemColors(machine);
        machine.style = nStyle;
        COSMColorEnvironmentScope scope(machine);
        for (int nId : {32, 128})
        {
            COSMTabPaintManager pm;
            auto* p = dynamic_cast<COSMTabColorSetResource*>(pm.SetColor(nId));
            ASSERT_NE(nullptr, p);
            SCOPED_TRACE(testing::Message() << "id " << nId << " style " << nStyle);
            const bool bAccess = nId == 128;
            const struct
            {
                const char* what;
                COLORREF actual;
                COLORREF expected;
            } checks[] = {
                {"border", p->m_clrBorder, bAccess ? key(4) : key(1)},
                {"selected outline", p->m_clrSelectedTabOutline, bAccess ? key(4) : key(1)},
                {"frame dark shadow", p->m_clrFrameDarkShadow, key(2)},
                {"tab outline", p->m_clrTabOutline, key(2)},
                {"frame shadow", p->m_clrFrameShadow, key(3)},
                {"inner light", p->m_clrTabInnerLight, key(3)},
                {"inner light 2", p->m_clrTabInnerLight2, kWhite},
                {"header, first", p->m_grcHeaderFace.First(), bAccess ? key(5) : key(6)},
                {"header, second", p->m_grcHeaderFace.Second(), bAccess ? key(5) : key(6)},
                {"normal tab", p->m_clrNormalTab, key(9)},
                {"selected tab", p->m_clrSelectedTab, key(10)},
                {"hot tab", p->m_clrHotTab, key(11)},
                {"navigation frame", p->m_clrNavigateFrame, key(12)},
                {"normal text", p->m_clrNormalText, bAccess ? kBlack : key(7)},
                {"hot text", p->m_clrHotText, bAccess ? kBlack : key(7)},
                {"selected text", p->m_clrSelectedText, bAccess ? kBlack : key(8)},
                {"navigation text", p->m_clrNavigateText, key(7)},
            };
            for (const auto& c : checks)
                EXPECT_EQ(ColorSetText(c.expected), ColorSetText(c.actual)) << c.what;
            EXPECT_TRUE(p->m_bSchemeColors);
            if (bAccess)
            {
                EXPECT_EQ(key(5), p->m_grcAlternateFace.First().GetEffective());
                EXPECT_EQ(key(5), p->m_grcAlternateFace.Second().GetEffective());
            }
            // The trapezoids follow the border.
            EXPECT_EQ(p->m_clrBorder.GetEffective(), p->m_csSelected.clrBorder.GetEffective());
        }
    }
}

TEST(TabColorSetFamilyTest, TheSchemesOutlinesAndButtonsComeFromTheirTable)
{
    const struct
    {
        int nStyle;
        COLORREF darkShadow, shadow, buttonFrame, alternate1, alternate2;
    } cases[] = {
        {1, RGB(0, 53, 154), RGB(117, 166, 241), RGB(0, 0, 128), RGB(158, 190, 245), RGB(196, 218, 250)},
        {2, RGB(96, 119, 107), RGB(176, 194, 140), RGB(63, 93, 56), RGB(217, 217, 167), RGB(242, 241, 228)},
        {3, RGB(118, 116, 146), RGB(186, 185, 206), RGB(75, 75, 111), RGB(215, 215, 229), RGB(243, 243, 247)},
    };
    for (const auto& c : cases)
    {
        TestColorMachine machine;
        machine.style = c.nStyle;
        COSMColorEnvironmentScope scope(machine);
        COSMTabPaintManager pm;
        auto* pColors = dynamic_cast<COSMTabColorSetOffice2003*>(pm.SetColor(4));
        ASSERT_NE(nullptr, pColors);
        SCOPED_TRACE(c.nStyle);
        EXPECT_TRUE(pColors->m_bSchemeColors);
        EXPECT_EQ(pColors->m_clrBorder.GetEffective(), pColors->m_clrSelectedTabOutline.GetEffective());
        EXPECT_EQ(c.darkShadow, pColors->m_clrFrameDarkShadow.GetEffective());
        EXPECT_EQ(c.darkShadow, pColors->m_clrTabOutline.GetEffective());
        EXPECT_EQ(c.shadow, pColors->m_clrFrameShadow.GetEffective());
        EXPECT_EQ(c.shadow, pColors->m_clrTabInnerLight.GetEffective());
        EXPECT_EQ(RGB(255, 255, 255), pColors->m_clrTabInnerLight2.GetEffective());
        EXPECT_EQ(RGB(255, 192, 111), pColors->m_grcButtonSelectedFace.First().GetEffective());
        EXPECT_EQ(c.buttonFrame, pColors->m_grcButtonSelectedBorder.First().GetEffective());
        EXPECT_EQ(c.buttonFrame, pColors->m_clrNavigateFrame.GetEffective());
        EXPECT_EQ(c.alternate1, pColors->m_grcAlternateFace.First().GetEffective());
        EXPECT_EQ(c.alternate2, pColors->m_grcAlternateFace.Second().GetEffective());
        // The trapezoids' outer, bottom and dark lines in the border colour, nothing inside.
        for (const COSMTabColorSetGroup* pGroup : {&pColors->m_csSelected, &pColors->m_csNormal})
        {
            EXPECT_EQ(pColors->m_clrBorder.GetEffective(), pGroup->clrBorder.GetEffective());
            EXPECT_EQ(pColors->m_clrBorder.GetEffective(), pGroup->clrBottomBorder.GetEffective());
            EXPECT_EQ(pColors->m_clrBorder.GetEffective(), pGroup->clrDarkBorder.GetEffective());
            EXPECT_EQ(CLR_INVALID, pGroup->clrLight.GetEffective());
            EXPECT_EQ(CLR_INVALID, pGroup->clrShadow.GetEffective());
            EXPECT_EQ(CLR_INVALID, pGroup->clrBottomLight.GetEffective());
        }
    }
}

TEST(TabColorSetFamilyTest, ButtonTabsKeepThePlainFaceAsHeaderUnderEveryScheme)
{
    for (int nStyle : {0, 1, 2, 3})
    {
        TestColorMachine machine;
        GiveDistinctSystemColors(machine);
        machine.style = nStyle;
        COSMColorEnvironmentScope scope(machine);
        COSMTabPaintManager pm;
        pm.SetAppearance(4);
        COSMTabColorSet* pColors = pm.SetColor(4);
        const COLORREF clrFace = GetColorManager()->GetColor(COLOR_BTNFACE);
        EXPECT_EQ(clrFace, pColors->m_grcHeaderFace.First().GetEffective()) << nStyle;
        EXPECT_EQ(clrFace, pColors->m_grcHeaderFace.Second().GetEffective()) << nStyle;
        EXPECT_EQ(clrFace, pColors->m_grcAlternateFace.First().GetEffective()) << nStyle;
        EXPECT_EQ(clrFace, pColors->m_grcAlternateFace.Second().GetEffective()) << nStyle;
    }
}

TEST(TabColorSetFamilyTest, ClassicAlternateFaceAndTextsFollowTheDisplayAndTheShape)
{
    const struct
    {
        int nAppearance;
        BOOL bLowColor;
        COLORREF header, alternate, normalText, inactiveText;
    } cases[] = {
        {0, FALSE, 48, 48, 18, 18},
        {0, TRUE, 48, 15, 18, 18},
        // The raised selected tab writes the others' captions in the colour that reads on the dark header.
        {5, FALSE, 48, 48, 49, 49},
        {5, TRUE, 48, 15, 49, 49},
        // Trapezoids and buttons keep the plain face.
        {7, FALSE, 15, 15, 18, 18},
        {4, FALSE, 15, 15, 18, 18},
    };
    for (const auto& c : cases)
    {
        TestColorMachine machine;
        GiveDistinctSystemColors(machine);
        machine.lowColor = c.bLowColor;
        COSMColorEnvironmentScope scope(machine);
        COSMTabPaintManager pm;
        pm.SetAppearance(c.nAppearance);
        COSMTabColorSet* pColors = pm.SetColor(2);
        SCOPED_TRACE(testing::Message() << "appearance " << c.nAppearance << " low colour " << c.bLowColor);
        EXPECT_EQ(ColorSetText(ColorSetExpected(c.header)), ColorSetText(pColors->m_grcHeaderFace.First()));
        EXPECT_EQ(ColorSetText(ColorSetExpected(c.header)), ColorSetText(pColors->m_grcHeaderFace.Second()));
        EXPECT_EQ(ColorSetText(ColorSetExpected(c.alternate)), ColorSetText(pColors->m_grcAlternateFace.First()));
        EXPECT_EQ(ColorSetText(ColorSetExpected(c.alternate)), ColorSetText(pColors->m_grcAlternateFace.Second()));
        EXPECT_EQ(ColorSetText(ColorSetExpected(c.normalText)), ColorSetText(pColors->m_clrNormalText));
        EXPECT_EQ(ColorSetText(ColorSetExpected(c.inactiveText)), ColorSetText(pColors->m_clrInactiveText));
        EXPECT_EQ(ColorSetText(ColorSetExpected(18)), ColorSetText(pColors->m_clrSelectedText));
    }
}

// ---- Fills read back from pixels ---------------------------------------------------------------------------------

TEST(TabColorSetFillTest, TheOliveSchemesHeaderRunsFromItsFaceToNearWhite)
{
    TestColorMachine machine;
    machine.style = 2;
    COSMColorEnvironmentScope scope(machine);
    // The slanted tabs come with the Office 2003 colours.
    COSMTabPaintManager pm;
    pm.SetAppearance(3);
    ASSERT_EQ(4, pm.GetColor());
    const CRect rcControl(0, 0, 300, 120);
    TestStrip strip(&pm, rcControl);
    strip.AddItems(2);
    strip.SetCurSel(0);
    DcTestSurface surface(300, 120, RGB(255, 0, 255));
    pm.DrawTabControl(&strip, surface.dc(), rcControl);
    const CRect rcHeader = strip.GetHeaderRect();
    ASSERT_GT(rcHeader.Height(), 10);
    // Past the tabs, at the header's first row and its last one above the client's frame.
    const int x = rcControl.right - 5;
    EXPECT_EQ(ColorSetText(RGB(242, 241, 228)), ColorSetText(surface.Pixel(x, rcHeader.top)));
    const COLORREF clrLast = surface.Pixel(x, rcHeader.bottom - 2);
    EXPECT_TRUE(ColorSetNear(RGB(252, 254, 254), clrLast, 3)) << ColorSetText(clrLast);
    // Lighter row by row.
    for (int y = rcHeader.top; y < rcHeader.bottom - 2; y++)
        EXPECT_LE(GetRValue(surface.Pixel(x, y)), GetRValue(surface.Pixel(x, y + 1))) << "row " << y;
}

// A strip of three tabs on a window of the test's, the first selected, with hot tracking on.
struct ColorSetStrip
{
    explicit ColorSetStrip(int nColorSet, int nPosition = 0) : strip(&pm, CRect(0, 0, 300, 100))
    {
        pm.SetAppearance(0);
        pm.m_bHotTracking = TRUE;
        pm.SetPosition(nPosition);
        pColors = pm.SetColor(nColorSet);
        strip.AddItems(3);
        strip.SetCurSel(0);
        strip.SetAllowReorder(FALSE);
        pm.m_bSelectOnButtonDown = FALSE;
        ::SetForegroundWindow(window.Handle());
    }
    void MakeHot(int nItem)
    {
        strip.OnMouseMove(window.Handle(), strip.GetItem(nItem)->GetRect().CenterPoint());
        ASSERT_EQ(strip.GetItem(nItem), strip.GetHighlightedItem());
    }
    // Runs fill while the item is held down by a real press on the strip (the press loop, released at once).
    void WhilePressed(int nItem, const std::function<void()>& fill)
    {
        const UINT kFillWhilePressed = WM_APP + 7;
        COSMTabManagerItem* pItem = strip.GetItem(nItem);
        bool bRan = false;
        window.m_onMessage = [&](UINT message, WPARAM, LPARAM) {
            if (message != kFillWhilePressed)
                return;
            EXPECT_EQ(pItem, strip.GetPressedItem());
            fill();
            bRan = true;
        };
        const CPoint pt = pItem->GetRect().CenterPoint();
        window.Post(kFillWhilePressed);
        window.PostUp(pt.x, pt.y);
        window.Post(WM_CANCELMODE);
        strip.OnMouseDown(window.Handle(), pt, FALSE);
        window.m_onMessage = nullptr;
        EXPECT_TRUE(bRan) << "the press loop did not run";
    }

    COSMTabPaintManager pm;
    TestStrip strip;
    LoopWindow window;
    COSMTabColorSet* pColors = nullptr;
};

// What a tab fill drew: its first and last row along the strip's depth (top and bottom, or left and right).
struct TabFillEnds
{
    COLORREF first;
    COLORREF last;
    size_t colours;
};

TabFillEnds FillTabOnce(COSMTabColorSet* pColors, COSMTabManagerItem* pItem, int nPosition, COLORREF* pReturned)
{
    DcTestSurface surface(40, 40, RGB(255, 0, 255));
    *pReturned = pColors->FillTab(surface.dc(), CRect(0, 0, 40, 40), pItem);
    const bool bVertical = nPosition == 1 || nPosition == 3;
    const COLORREF first = bVertical ? surface.Pixel(0, 20) : surface.Pixel(20, 0);
    const COLORREF last = bVertical ? surface.Pixel(39, 20) : surface.Pixel(20, 39);
    return {first, last, surface.ColorCount()};
}

TEST(TabColorSetFillTest, OfficeTabsRunFromNearWhiteToTheirColourWithPressedAndHotReplacements)
{
    TestColorMachine machine;
    GiveDistinctSystemColors(machine);
    machine.style = 1;
    COSMColorEnvironmentScope scope(machine);
    for (int nPosition : {0, 1, 2, 3})
    {
        ColorSetStrip f(4, nPosition);
        COSMTabColorSet* pColors = f.pColors;
        const struct
        {
            const char* what;
            int nItem;
            COLORREF clr;
        } cases[] = {
            {"selected", 0, pColors->m_clrSelectedTab},
            {"normal", 2, pColors->m_clrNormalTab},
        };
        auto check = [&](const char* what, int nItem, COLORREF clr) {
            COLORREF clrReturned = 0;
            const TabFillEnds ends = FillTabOnce(pColors, f.strip.GetItem(nItem), nPosition, &clrReturned);
            // Bottom and right strips run the other way: the colour at the strip's side.
            const bool bSwapped = nPosition == 2 || nPosition == 3;
            const COLORREF clrStart = COSMColorManager::BlendColors(clr, RGB(255, 255, 255), 300);
            SCOPED_TRACE(testing::Message() << what << ", position " << nPosition);
            EXPECT_EQ(clr, clrReturned);
            EXPECT_TRUE(ColorSetNear(bSwapped ? clr : clrStart, ends.first, 2)) << ColorSetText(ends.first);
            // The last row is a gradient step short of the end: a step of at most 130 / 40 here.
            EXPECT_TRUE(ColorSetNear(bSwapped ? clrStart : clr, ends.last, 5)) << ColorSetText(ends.last);
            EXPECT_GT(ends.colours, 5u) << "a gradient, not a fill";
        };
        for (const auto& c : cases)
            check(c.what, c.nItem, c.clr);
        f.MakeHot(2);
        check("hot", 2, pColors->m_clrHotTab);
        f.WhilePressed(1, [&] { check("pressed", 1, pColors->m_clrPressedTab); });
    }
}

TEST(TabColorSetFillTest, PlainAndLightTabsAreFilledPlainUnlessTheyHaveColoursOfTheirOwn)
{
    const struct
    {
        int nId;
        int nStyle;
        bool bDisabled;
        bool bSelectedGradient;  // the selected tab runs from near white to its colour
        bool bNormalGradient;
        COLORREF clrGradientStart;  // 0: the colour blended with white
    } cases[] = {
        // The plain set: with the Office 2003 colours (switch off) and without colours of its own (style 0), plain.
        {16, 1, false, false, false, 0},
        {16, 0, true, false, false, 0},
        // With its own colours (switch on, Luna blue), a gradient from the colour blended with white.
        {16, 1, true, true, true, 0},
        // The light set: the selected tab always a gradient from near white, the others only with own colours.
        {64, 1, false, true, false, RGB(253, 253, 253)},
        {64, 0, true, true, false, RGB(253, 253, 253)},
        {64, 2, true, true, true, RGB(253, 253, 253)},
    };
    for (const auto& c : cases)
    {
        TestColorMachine machine;
        GiveDistinctSystemColors(machine);
        machine.style = c.nStyle;
        COSMColorEnvironmentScope scope(machine);
        ColorSetStrip f(16);
        f.pm.m_bDisableLunaColors = c.bDisabled;
        COSMTabColorSet* pColors = f.pm.SetColor(c.nId);
        SCOPED_TRACE(testing::Message() << "id " << c.nId << " style " << c.nStyle << " switch " << c.bDisabled);
        auto check = [&](const char* what, int nItem, COLORREF clr, bool bGradient) {
            COLORREF clrReturned = 0;
            const TabFillEnds ends = FillTabOnce(pColors, f.strip.GetItem(nItem), 0, &clrReturned);
            SCOPED_TRACE(what);
            EXPECT_EQ(clr, clrReturned);
            if (!bGradient)
            {
                EXPECT_EQ(1u, ends.colours);
                EXPECT_EQ(clr, ends.first);
                return;
            }
            const COLORREF clrStart =
                c.clrGradientStart ? c.clrGradientStart : COSMColorManager::BlendColors(clr, RGB(255, 255, 255), 300);
            EXPECT_TRUE(ColorSetNear(clrStart, ends.first, 2)) << ColorSetText(ends.first);
            EXPECT_TRUE(ColorSetNear(clr, ends.last, 5)) << ColorSetText(ends.last);
        };
        check("selected", 0, pColors->m_clrSelectedTab, c.bSelectedGradient);
        check("normal", 2, pColors->m_clrNormalTab, c.bNormalGradient);
        // A hot tab takes the hot colour; the light set keeps the selected tab's own.
        f.MakeHot(2);
        check("hot", 2, pColors->m_clrHotTab, c.bNormalGradient);
        f.MakeHot(0);
        check("hot and selected", 0, c.nId == 16 ? pColors->m_clrHotTab : pColors->m_clrSelectedTab,
              c.bSelectedGradient || (c.nId == 16 && c.bNormalGradient));
        // Neither takes a pressed colour: a pressed tab is the hot one.
        f.WhilePressed(1, [&] { check("pressed", 1, pColors->m_clrHotTab, c.bNormalGradient); });
    }
}

TEST(TabColorSetFillTest, OfficeNavigationButtonsByStateWithAndWithoutScheme)
{
    struct NavigateCase
    {
        int nStyle;
        bool bHot;
        bool bPressed;
        COLORREF clrFrame;  // index or colour; -1 none drawn
        COLORREF clrTop;    // the fill's first row inside the frame
        COLORREF clrBottom;
    };
    const NavigateCase cases[] = {
        // The Luna scheme: orange gradients framed in the scheme's navy.
        {1, true, true, RGB(0, 0, 128), RGB(254, 142, 75), RGB(255, 207, 139)},
        {1, true, false, RGB(0, 0, 128), RGB(255, 242, 200), RGB(255, 212, 151)},
        {1, false, true, RGB(0, 0, 128), RGB(255, 242, 200), RGB(255, 212, 151)},
        // No scheme: the flat looks' pressed and hot fills and frames.
        {0, true, true, 50, 33, 33},
        {0, true, false, 32, 31, 31},
        {0, false, true, 32, 31, 31},
        {0, false, false, CLR_INVALID, CLR_INVALID, CLR_INVALID},
    };
    for (const NavigateCase& c : cases)
    {
        TestColorMachine machine;
        GiveDistinctSystemColors(machine);
        machine.style = c.nStyle;
        COSMColorEnvironmentScope scope(machine);
        ColorSetStrip f(4);
        COSMTabManagerNavigateButton* pBack = f.strip.GetNavigateButton(0);
        const CRect rcButton(10, 10, 24, 25);
        pBack->SetRect(rcButton);
        pBack->SetEnabled(TRUE);  // three tabs fit: nothing to scroll back to
        if (c.bHot)
        {
            f.strip.OnMouseMove(f.window.Handle(), rcButton.CenterPoint());
            ASSERT_EQ(pBack, f.strip.GetHighlightedButton());
        }
        pBack->SetPressed(c.bPressed);
        DcTestSurface surface(40, 40, RGB(255, 0, 255));
        CRect rc = rcButton;
        surface.dc()->SetTextColor(RGB(1, 1, 1));
        f.pColors->FillNavigateButton(surface.dc(), pBack, rc);
        pBack->SetPressed(FALSE);
        SCOPED_TRACE(testing::Message() << "style " << c.nStyle << " hot " << c.bHot << " pressed " << c.bPressed);
        EXPECT_EQ(rcButton, rc) << "the glyph does not move";
        EXPECT_EQ(GetColorManager()->GetColor(COLOR_BTNTEXT), ::GetTextColor(surface.GetDC()));
        if (c.clrFrame == CLR_INVALID)
        {
            EXPECT_TRUE(surface.Untouched());
            continue;
        }
        const COLORREF clrFrame = ColorSetExpected(c.clrFrame);
        EXPECT_TRUE(surface.Has3dFrame(rcButton, clrFrame, clrFrame));
        const COLORREF clrTop = surface.Pixel(15, rcButton.top + 1);
        const COLORREF clrBottom = surface.Pixel(15, rcButton.bottom - 2);
        // Inside the frame, a row or two from the gradient's ends: two steps of it at most.
        const COLORREF clrFrom = ColorSetExpected(c.clrTop), clrTo = ColorSetExpected(c.clrBottom);
        const int nSpan =
            std::max({std::abs(GetRValue(clrFrom) - GetRValue(clrTo)), std::abs(GetGValue(clrFrom) - GetGValue(clrTo)),
                      std::abs(GetBValue(clrFrom) - GetBValue(clrTo))});
        const int nTolerance = 2 * nSpan / rcButton.Height() + 2;
        EXPECT_TRUE(ColorSetNear(clrFrom, clrTop, nTolerance)) << ColorSetText(clrTop);
        EXPECT_TRUE(ColorSetNear(clrTo, clrBottom, nTolerance)) << ColorSetText(clrBottom);
        EXPECT_TRUE(surface.UntouchedOutside(rcButton));
    }
}

TEST(TabColorSetFillTest, ClassicNavigationFramesAreDarkerAndTheGlyphLight)
{
    TestColorMachine machine;
    GiveDistinctSystemColors(machine);
    COSMColorEnvironmentScope scope(machine);
    for (int nAppearance : {0, 4})
    {
        ColorSetStrip f(2);
        f.pm.SetAppearance(nAppearance);
        f.pm.SetColor(2);
        COSMTabManagerNavigateButton* pBack = f.strip.GetNavigateButton(0);
        const CRect rcButton(10, 10, 24, 25);
        pBack->SetEnabled(TRUE);
        pBack->SetPressed(TRUE);
        DcTestSurface surface(40, 40, RGB(255, 0, 255));
        CRect rc = rcButton;
        f.pm.GetColorSet()->FillNavigateButton(surface.dc(), pBack, rc);
        pBack->SetPressed(FALSE);
        COSMColorManager* pColors = GetColorManager();
        SCOPED_TRACE(nAppearance);
        EXPECT_EQ(CRect(11, 11, 25, 26), rc) << "pressed: the glyph one pixel down and right";
        if (nAppearance == 0)
        {
            EXPECT_TRUE(
                surface.Has3dFrame(rcButton, pColors->GetColor(COLOR_BTNTEXT), pColors->GetColor(COLOR_BTNFACE)));
            EXPECT_EQ(pColors->GetColor(49), ::GetTextColor(surface.GetDC()));
        }
        else
        {
            // The button tabs keep the default frames.
            EXPECT_TRUE(surface.Has3dFrame(rcButton, pColors->GetColor(COLOR_BTNSHADOW),
                                           pColors->GetColor(COLOR_BTNHIGHLIGHT)));
            EXPECT_EQ(pColors->GetColor(COLOR_BTNTEXT), ::GetTextColor(surface.GetDC()));
        }
    }
}

TEST(TabColorSetFillTest, WithoutThemeResourcesTheResourceSetsNavigationButtonsAreTheDefaultOnes)
{
    TestColorMachine machine;
    GiveDistinctSystemColors(machine);
    machine.style = 1;
    COSMColorEnvironmentScope scope(machine);
    for (int nId : {32, 128})
    {
        ColorSetStrip f(nId);
        COSMTabManagerNavigateButton* pBack = f.strip.GetNavigateButton(0);
        const CRect rcButton(10, 10, 24, 25);
        pBack->SetRect(rcButton);
        pBack->SetEnabled(TRUE);
        COSMColorManager* pColors = GetColorManager();
        // Hot: raised; pressed: sunken with the glyph moved.
        f.strip.OnMouseMove(f.window.Handle(), rcButton.CenterPoint());
        ASSERT_EQ(pBack, f.strip.GetHighlightedButton());
        for (BOOL bPressed : {FALSE, TRUE})
        {
            pBack->SetPressed(bPressed);
            DcTestSurface surface(40, 40, RGB(255, 0, 255));
            CRect rc = rcButton;
            f.pColors->FillNavigateButton(surface.dc(), pBack, rc);
            pBack->SetPressed(FALSE);
            SCOPED_TRACE(testing::Message() << "id " << nId << " pressed " << bPressed);
            const COLORREF clrShadow = pColors->GetColor(COLOR_BTNSHADOW);
            const COLORREF clrLight = pColors->GetColor(COLOR_BTNHIGHLIGHT);
            EXPECT_TRUE(surface.Has3dFrame(rcButton, bPressed ? clrShadow : clrLight, bPressed ? clrLight : clrShadow));
            EXPECT_EQ(bPressed ? CRect(11, 11, 25, 26) : rcButton, rc);
            EXPECT_EQ(pColors->GetColor(COLOR_BTNTEXT), ::GetTextColor(surface.GetDC()));
        }
    }
}

TEST(TabColorSetFillTest, WithTheThemeTextNavigationButtonsComeFromTheToolbarButtonImage)
{
    TabThemeScope theme;
    ASSERT_TRUE(theme.IsLoaded()) << OSM_TAB_THEME_MODULE;
    ColorSetStrip f(32);
    auto* pColors = dynamic_cast<COSMTabColorSetResource*>(f.pColors);
    ASSERT_NE(nullptr, pColors);
    COSMTabManagerNavigateButton* pBack = f.strip.GetNavigateButton(0);
    // The image's own height: its states' rows land as they are.
    const CRect rcButton(10, 10, 34, 34);
    pBack->SetRect(rcButton);
    pBack->SetEnabled(TRUE);
    const struct
    {
        const char* what;
        bool bHot;
        bool bPressed;
        int nState;  // -1: no image
        COLORREF clrText;
    } cases[] = {
        {"idle", false, false, -1, TabThemeScope::Key(7)},
        {"hot", true, false, 0, RGB(0, 0, 0)},
        {"pressed", false, true, 1, RGB(0, 0, 0)},
        {"hot and pressed", true, true, 1, RGB(0, 0, 0)},
    };
    for (const auto& c : cases)
    {
        f.strip.OnMouseMove(f.window.Handle(), c.bHot ? rcButton.CenterPoint() : CPoint(299, 99));
        ASSERT_EQ(c.bHot ? pBack : nullptr, f.strip.GetHighlightedButton()) << c.what;
        pBack->SetPressed(c.bPressed);
        DcTestSurface surface(50, 50, RGB(255, 0, 255));
        surface.dc()->SetTextColor(RGB(1, 1, 1));
        CRect rc = rcButton;
        pColors->FillNavigateButton(surface.dc(), pBack, rc);
        pBack->SetPressed(FALSE);
        SCOPED_TRACE(c.what);
        EXPECT_EQ(rcButton, rc);
        EXPECT_EQ(ColorSetText(c.clrText), ColorSetText(::GetTextColor(surface.GetDC())));
        if (c.nState < 0)
        {
            EXPECT_TRUE(surface.Untouched());
            continue;
        }
        EXPECT_TRUE(surface.FilledWith(CRect(rcButton.left, rcButton.top, rcButton.right, rcButton.bottom - 2),
                                       TabThemeScope::StateColor(3, c.nState)));
        EXPECT_TRUE(surface.FilledWith(CRect(rcButton.left, rcButton.bottom - 2, rcButton.right, rcButton.bottom),
                                       TabThemeScope::kBaseMarker));
        EXPECT_TRUE(surface.UntouchedOutside(rcButton));
    }
    // A tab's own close button keeps the tab's text colour while idle.
    f.strip.OnMouseMove(f.window.Handle(), CPoint(299, 99));
    COSMTabManagerItem* pItem = f.strip.GetItem(0);
    pBack->SetItem(pItem);
    DcTestSurface surface(50, 50, RGB(255, 0, 255));
    surface.dc()->SetTextColor(RGB(1, 1, 1));
    CRect rc = rcButton;
    pColors->FillNavigateButton(surface.dc(), pBack, rc);
    pBack->SetItem(nullptr);
    EXPECT_EQ(RGB(1, 1, 1), ::GetTextColor(surface.GetDC()));
}

// ---- A header of the button face over a strip that paints its parent's background --------------------------------

TEST(TabColorSetFillTest, AHeaderOfTheButtonFaceLeavesTheParentsBackgroundShowing)
{
    const struct
    {
        int nAppearance;
        int nColorSet;
        int nStyle;
        BOOL bStyleColorsOff;
        bool bFaceHeader;  // both header colours are the button face
    } cases[] = {
        {0, 1, 1, FALSE, true},   // the default set
        {5, 64, 0, TRUE, true},   // the light set with the style colours off and no style
        {7, 2, 0, FALSE, true},   // the classic set with trapezoids
        {6, 16, 0, TRUE, true},   // the plain set with the style colours off and no style
        {0, 2, 0, FALSE, false},  // the classic header is dark
        {3, 4, 1, FALSE, false},  // the blue scheme's header
    };
    for (const auto& c : cases)
    {
        TestColorMachine machine;
        GiveDistinctSystemColors(machine);
        machine.style = c.nStyle;
        COSMColorEnvironmentScope scope(machine);
        COSMTabPaintManager pm;
        pm.SetAppearance(c.nAppearance);
        pm.m_bDisableLunaColors = c.bStyleColorsOff;
        pm.SetColor(c.nColorSet);
        const CRect rcControl(0, 0, 300, 120);
        TestStrip strip(&pm, rcControl);
        strip.AddItems(1);
        strip.SetCurSel(0);
        strip.m_bParentBackground = true;
        DcTestSurface surface(300, 120, RGB(255, 0, 255));
        pm.DrawTabControl(&strip, surface.dc(), rcControl);
        const CRect rcHeader = strip.GetHeaderRect();
        const CPoint pt(rcControl.right - 4, rcHeader.top + rcHeader.Height() / 2);
        SCOPED_TRACE(testing::Message() << "appearance " << c.nAppearance << " colours " << c.nColorSet);
        COSMTabColorSet* pColors = pm.GetColorSet();
        ASSERT_EQ(c.bFaceHeader, pColors->m_grcHeaderFace.First() == GetColorManager()->GetColor(COLOR_BTNFACE) &&
                                     pColors->m_grcHeaderFace.Second() == GetColorManager()->GetColor(COLOR_BTNFACE));
        if (c.bFaceHeader)
            EXPECT_EQ(ColorSetText(strip.m_clrParent), ColorSetText(surface.Pixel(pt.x, pt.y)));
        else
            EXPECT_TRUE(ColorSetBetween(pColors->m_grcHeaderFace.First(), pColors->m_grcHeaderFace.Second(),
                                        surface.Pixel(pt.x, pt.y)))
                << ColorSetText(surface.Pixel(pt.x, pt.y));
        // Without the parent's background the face is painted.
        strip.m_bParentBackground = false;
        DcTestSurface plain(300, 120, RGB(255, 0, 255));
        pm.DrawTabControl(&strip, plain.dc(), rcControl);
        EXPECT_NE(ColorSetText(strip.m_clrParent), ColorSetText(plain.Pixel(pt.x, pt.y)));
    }
}

// ---- The visual style's set --------------------------------------------------------------------------------------

// The pixels of an upright drawing of w x h placed into rc of a strip in nPosition, as a user sees a tab there:
// its base (the upright bottom) toward the client, its start (the upright left) toward the strip's start.
void PlaceUprightByHand(const DcTestSurface& upright, DcTestSurface& target, const CRect& rc, int nPosition)
{
    for (int y = 0; y < rc.Height(); y++)
    {
        for (int x = 0; x < rc.Width(); x++)
        {
            int ux = x, uy = y;
            if (nPosition == 1)
            {
                ux = y;
                uy = x;  // the base at the right
            }
            else if (nPosition == 2)
            {
                uy = rc.Height() - 1 - y;  // the base at the top
            }
            else if (nPosition == 3)
            {
                ux = y;
                uy = rc.Width() - 1 - x;  // the base at the left
            }
            ::SetPixel(target.GetDC(), rc.left + x, rc.top + y, upright.Pixel(ux, uy));
        }
    }
}

// The rectangle the style's tab is drawn into, grown from the fill rectangle by position; the selected tab reaches
// over the pane's edge at the top and at the left.
CRect GrownStyleTab(CRect rc, int nPosition, bool bSelected)
{
    if (bSelected && nPosition == 0)
        rc.bottom += 2;
    if (bSelected && nPosition == 1)
        rc.right += 1;
    const int grow[4][4] = {{1, 1, 1, 0}, {1, 1, 0, 1}, {1, 0, 1, 2}, {0, 1, 2, 1}};
    rc.InflateRect(grow[nPosition][0], grow[nPosition][1], grow[nPosition][2], grow[nPosition][3]);
    return rc;
}

TEST(TabColorSetStyleTest, UnderWinesVisualStyleTabsAreTheStylesOwnTabParts)
{
    COSMTabPaintManager pm;
    pm.SetAppearance(0);
    pm.m_bHotTracking = TRUE;
    auto* pColors = dynamic_cast<COSMTabColorSetVisualStyle*>(pm.SetColor(8));
    ASSERT_NE(nullptr, pColors);
    ASSERT_TRUE(pColors->IsVisualStyleUsed()) << "Wine's visual style is on";
    // The style's tabs and pane bring their own edges.
    EXPECT_EQ(CLR_INVALID, pColors->m_clrFrameHighlight.GetEffective());
    EXPECT_EQ(CLR_INVALID, pColors->m_clrFrameShadow.GetEffective());
    EXPECT_EQ(CLR_INVALID, pColors->m_clrFrameDarkShadow.GetEffective());
    EXPECT_EQ(pColors->m_clrNormalText.GetEffective(), pColors->m_clrHotText.GetEffective());

    COSMVisualStyleWrapper oracle;
    ASSERT_TRUE(oracle.OpenThemeData(nullptr, L"TAB"));
    const COLORREF clrFace = GetColorManager()->GetColor(COLOR_BTNFACE);
    for (int nPosition : {0, 1, 2, 3})
    {
        pm.SetPosition(nPosition);
        TestStrip strip(&pm, CRect(0, 0, 300, 300));
        strip.AddItems(4);
        strip.SetCurSel(2);
        LoopWindow window;
        ::SetForegroundWindow(window.Handle());
        strip.OnMouseMove(window.Handle(), strip.GetItem(1)->GetRect().CenterPoint());
        ASSERT_EQ(strip.GetItem(1), strip.GetHighlightedItem());
        const struct
        {
            const char* what;
            int nItem;
            int nPart;
            int nState;
        } cases[] = {
            {"first", 0, TABP_TOPTABITEMLEFTEDGE, TIS_NORMAL},
            {"middle, hot", 1, TABP_TOPTABITEM, TIS_HOT},
            {"selected", 2, TABP_TOPTABITEM, TIS_SELECTED},
            {"last", 3, TABP_TOPTABITEMRIGHTEDGE, TIS_NORMAL},
        };
        for (const auto& c : cases)
        {
            SCOPED_TRACE(testing::Message() << c.what << ", position " << nPosition);
            const CRect rcFill(40, 50, 100, 72);
            const CRect rcFillTurned = nPosition == 1 || nPosition == 3 ? CRect(50, 40, 72, 100) : rcFill;
            DcTestSurface drawn(200, 200, RGB(255, 0, 255));
            EXPECT_EQ(CLR_INVALID, pColors->FillTab(drawn.dc(), rcFillTurned, strip.GetItem(c.nItem)));

            const CRect rcGrown = GrownStyleTab(rcFillTurned, nPosition, c.nItem == 2);
            DcTestSurface expected(200, 200, RGB(255, 0, 255));
            if (nPosition == 0)
            {
                ASSERT_EQ(S_OK, oracle.DrawThemeBackground(expected.GetDC(), c.nPart, c.nState, &rcGrown, nullptr));
            }
            else
            {
                const bool bSides = nPosition == 1 || nPosition == 3;
                const CSize szUpright = bSides ? CSize(rcGrown.Height(), rcGrown.Width()) : rcGrown.Size();
                DcTestSurface upright(szUpright.cx, szUpright.cy, clrFace);
                const CRect rcUpright(CPoint(0, 0), szUpright);
                ASSERT_EQ(S_OK, oracle.DrawThemeBackground(upright.GetDC(), c.nPart, c.nState, &rcUpright, nullptr));
                PlaceUprightByHand(upright, expected, rcGrown, nPosition);
            }
            EXPECT_TRUE(drawn.EqualsCanvas(expected));
            EXPECT_GT(drawn.ColorCount(rcGrown), 1u) << "the style drew a tab";
        }
    }
}

TEST(TabColorSetStyleTest, AZeroSizeTabDrawsNothing)
{
    COSMTabPaintManager pm;
    auto* pColors = dynamic_cast<COSMTabColorSetVisualStyle*>(pm.SetColor(8));
    ASSERT_TRUE(pColors && pColors->IsVisualStyleUsed());
    for (int nPosition : {0, 1, 2, 3})
    {
        pm.SetPosition(nPosition);
        TestStrip strip(&pm, CRect(0, 0, 300, 300));
        strip.AddItems(3);
        strip.SetCurSel(0);
        DcTestSurface surface(60, 60, RGB(255, 0, 255));
        // A fill rectangle squeezed so far that even the grown one is empty.
        const CRect rcSqueezed(30, 30, 28, 27);
        EXPECT_EQ(CLR_INVALID, pColors->FillTab(surface.dc(), rcSqueezed, strip.GetItem(1)));
        EXPECT_TRUE(surface.Untouched()) << "position " << nPosition;
    }
}

class TabColorSetStubTest : public ::testing::Test, protected ThemeStubLibrary
{
protected:
    TabColorSetStubTest() : ThemeStubLibrary(TRUE) {}
    void SetUp() override { SetUpThemeStub(); }
};

TEST_F(TabColorSetStubTest, ThePaneTakesTheStylesFillHintOnlyWhenItAnswers)
{
    for (bool bAnswers : {true, false})
    {
        m_stub->themeColor = RGB(12, 34, 56);
        m_stub->themeColorResult = bAnswers ? S_OK : kNoSuchProperty;
        COSMTabPaintManager pm;
        auto* pColors = new COSMTabColorSetVisualStyle(m_functions);
        pm.SetColorSet(pColors);
        ASSERT_TRUE(pColors->IsVisualStyleUsed());
        EXPECT_EQ(TABP_PANE, m_stub->lastPart);
        EXPECT_EQ(TMT_FILLCOLORHINT, m_stub->lastProperty);
        EXPECT_EQ(bAnswers ? RGB(12, 34, 56) : GetColorManager()->GetColor(COLOR_BTNFACE),
                  pColors->m_clrPane.GetEffective());
    }
}

TEST_F(TabColorSetStubTest, TheStylesButtonsAndPaneGoThroughTheirParts)
{
    COSMTabPaintManager pm;
    pm.SetAppearance(4);
    pm.m_bHotTracking = TRUE;
    auto* pColors = new COSMTabColorSetVisualStyle(m_functions);
    pm.SetColorSet(pColors);
    ASSERT_TRUE(pColors->IsVisualStyleUsed());
    TestStrip strip(&pm, CRect(0, 0, 300, 100));
    strip.AddItems(2);
    strip.SetCurSel(0);
    LoopWindow window;
    ::SetForegroundWindow(window.Handle());
    DcTestSurface surface(120, 120, RGB(255, 0, 255));
    const CRect rc(10, 10, 40, 30);

    // The selected button checked, hot and checked once the pointer is over it; the others the default separator.
    m_stub->drawCount = 0;
    pColors->FillButton(surface.dc(), rc, strip.GetItem(0));
    strip.OnMouseMove(window.Handle(), strip.GetItem(0)->GetRect().CenterPoint());
    pColors->FillButton(surface.dc(), rc, strip.GetItem(0));
    pColors->FillButton(surface.dc(), rc, strip.GetItem(1));
    ASSERT_EQ(2, m_stub->drawCount);
    EXPECT_EQ(TP_BUTTON, m_stub->drawParts[0]);
    EXPECT_EQ(5, m_stub->drawStates[0]);
    EXPECT_EQ(6, m_stub->drawStates[1]);
    EXPECT_EQ(rc, CRect(m_stub->drawRects[1]));

    // Tabs: the first, a middle, the selected and the last, each drawn as the style's part for its place and state,
    // in its rectangle grown by position, upright for a turned strip.
    strip.AddItems(2);
    strip.SetCurSel(2);
    strip.OnMouseMove(window.Handle(), strip.GetItem(1)->GetRect().CenterPoint());
    ASSERT_EQ(strip.GetItem(1), strip.GetHighlightedItem());
    const struct
    {
        int nItem;
        int nPart;
        int nState;
    } tabs[] = {{0, TABP_TOPTABITEMLEFTEDGE, TIS_NORMAL},
                {1, TABP_TOPTABITEM, TIS_HOT},
                {2, TABP_TOPTABITEM, TIS_SELECTED},
                {3, TABP_TOPTABITEMRIGHTEDGE, TIS_NORMAL}};
    for (int nPosition : {0, 1})
    {
        pm.SetPosition(nPosition);
        for (const auto& t : tabs)
        {
            m_stub->drawCount = 0;
            pColors->FillTab(surface.dc(), rc, strip.GetItem(t.nItem));
            ASSERT_EQ(1, m_stub->drawCount);
            const CRect rcGrown = GrownStyleTab(rc, nPosition, t.nItem == 2);
            const CRect rcUpright = nPosition == 0 ? rcGrown : CRect(0, 0, rcGrown.Height(), rcGrown.Width());
            EXPECT_EQ(t.nPart, m_stub->drawParts[0]) << "item " << t.nItem << " position " << nPosition;
            EXPECT_EQ(t.nState, m_stub->drawStates[0]) << "item " << t.nItem << " position " << nPosition;
            EXPECT_EQ(rcUpright, CRect(m_stub->drawRects[0])) << "item " << t.nItem << " position " << nPosition;
        }
    }
    // The last tab, once selected, is a middle part.
    strip.SetCurSel(3);
    m_stub->drawCount = 0;
    pColors->FillTab(surface.dc(), rc, strip.GetItem(3));
    EXPECT_EQ(TABP_TOPTABITEM, m_stub->drawParts[0]);
    EXPECT_EQ(TIS_SELECTED, m_stub->drawStates[0]);

    // The pane, grown by one pixel away from a bottom or right header.
    const struct
    {
        int nPosition;
        CRect rcPane;
    } panes[] = {{0, rc}, {1, rc}, {2, CRect(10, 10, 40, 31)}, {3, CRect(10, 10, 41, 30)}};
    for (const auto& p : panes)
    {
        pm.SetPosition(p.nPosition);
        m_stub->drawCount = 0;
        pColors->FillClient(surface.dc(), rc, &strip);
        ASSERT_EQ(1, m_stub->drawCount);
        EXPECT_EQ(TABP_PANE, m_stub->drawParts[0]);
        EXPECT_EQ(0, m_stub->drawStates[0]);
        EXPECT_EQ(p.rcPane, CRect(m_stub->drawRects[0])) << "position " << p.nPosition;
    }

    // Navigation buttons: normal, hot, pressed, text in the button text colour.
    COSMTabManagerNavigateButton* pBack = strip.GetNavigateButton(0);
    const CRect rcButton(60, 60, 74, 75);
    pBack->SetRect(rcButton);
    pBack->SetEnabled(TRUE);
    m_stub->drawCount = 0;
    CRect rcDraw = rcButton;
    pColors->FillNavigateButton(surface.dc(), pBack, rcDraw);
    strip.OnMouseMove(window.Handle(), rcButton.CenterPoint());
    ASSERT_EQ(pBack, strip.GetHighlightedButton());
    pColors->FillNavigateButton(surface.dc(), pBack, rcDraw);
    pBack->SetPressed(TRUE);
    pColors->FillNavigateButton(surface.dc(), pBack, rcDraw);
    pBack->SetPressed(FALSE);
    ASSERT_EQ(3, m_stub->drawCount);
    for (int i = 0; i < 3; i++)
    {
        EXPECT_EQ(TP_BUTTON, m_stub->drawParts[i]);
        EXPECT_EQ(i + 1, m_stub->drawStates[i]);
        EXPECT_EQ(rcButton, CRect(m_stub->drawRects[i]));
    }
    EXPECT_EQ(rcButton, rcDraw) << "the glyph stays where it is";
    EXPECT_EQ(GetColorManager()->GetColor(COLOR_BTNTEXT), ::GetTextColor(surface.GetDC()));
}

TEST_F(TabColorSetStubTest, ABottomStripsHeaderKeepsTheStylesStrayCornerPixelOut)
{
    COSMTabPaintManager pm;
    pm.SetPosition(2);
    auto* pColors = new COSMTabColorSetVisualStyle(m_functions);
    pm.SetColorSet(pColors);
    const CRect rcControl(0, 0, 200, 100);
    TestStrip strip(&pm, rcControl);
    strip.AddItems(1);
    for (int nPosition : {2, 0})
    {
        pm.SetPosition(nPosition);
        const CRect rcHead = strip.GetHeaderRect();
        DcTestSurface surface(200, 100, RGB(255, 0, 255));
        pColors->FillHeader(surface.dc(), rcHead, &strip);
        surface.dc()->FillSolidRect(rcHead, RGB(1, 2, 3));
        const CPoint ptCorner(rcHead.left, rcHead.bottom - 2);
        EXPECT_EQ(nPosition == 2 ? RGB(255, 0, 255) : RGB(1, 2, 3), surface.Pixel(ptCorner.x, ptCorner.y))
            << "position " << nPosition;
        EXPECT_EQ(RGB(1, 2, 3), surface.Pixel(ptCorner.x + 1, ptCorner.y));
        EXPECT_EQ(RGB(1, 2, 3), surface.Pixel(ptCorner.x, ptCorner.y + 1));
    }
}

TEST_F(TabColorSetStubTest, WhenTheStyleCannotOpenEveryOperationIsTheDefaultSets)
{
    COSMVisualStyleFunctions missing("osm-no-such-visual-styles.dll", TRUE, MAKELONG(0, 6));
    ASSERT_EQ(nullptr, missing.GetModule());
    struct NoStyle
    {
        const char* what;
        COSMVisualStyleFunctions* pFunctions;
        std::function<void()> prepare;
    };
    const NoStyle ways[] = {
        {"no library", &missing, [] {}},
        {"the class refused", &m_functions, [this] { m_stub->openFails = TRUE; }},
        {"the application not themed", &m_functions, [this] { m_stub->appThemed = FALSE; }},
    };
    for (const NoStyle& way : ways)
    {
        ResetThemeStub(m_stub);
        way.prepare();
        for (int nAppearance : {0, 4})
        {
            for (int nPosition : {0, 1, 2, 3})
            {
                SCOPED_TRACE(testing::Message()
                             << way.what << ", appearance " << nAppearance << ", position " << nPosition);
                COSMTabPaintManager pmStyle;
                COSMTabPaintManager pmDefault;
                DcTestSurface drawn(260, 200, RGB(255, 0, 255));
                DcTestSurface expected(260, 200, RGB(255, 0, 255));
                auto* pColors = new COSMTabColorSetVisualStyle(*way.pFunctions);
                // The appearance installs its own default set: put the sets in after it.
                pmStyle.SetAppearance(nAppearance);
                pmDefault.SetAppearance(nAppearance);
                pmStyle.SetColorSet(pColors);
                pmDefault.SetColorSet(new COSMTabColorSetDefault());
                EXPECT_FALSE(pColors->IsVisualStyleUsed());
                EXPECT_EQ(0, m_stub->drawCount);
                // PaintEveryPart sets the appearance again, which would bring its default set back: keep ours.
                for (COSMTabPaintManager* pm : {&pmStyle, &pmDefault})
                {
                    pm->m_bHotTracking = TRUE;
                    pm->SetPosition(nPosition);
                }
                const CRect rcControl(0, 0, 260, 200);
                TestStrip stripStyle(&pmStyle, rcControl);
                TestStrip stripDefault(&pmDefault, rcControl);
                LoopWindow window;
                ::SetForegroundWindow(window.Handle());
                for (TestStrip* pStrip : {&stripStyle, &stripDefault})
                {
                    pStrip->AddItems(12);
                    pStrip->SetCurSel(1);
                    pStrip->OnMouseMove(window.Handle(), pStrip->GetItem(2)->GetRect().CenterPoint());
                }
                pmStyle.DrawTabControl(&stripStyle, drawn.dc(), rcControl);
                pmDefault.DrawTabControl(&stripDefault, expected.dc(), rcControl);
                EXPECT_TRUE(drawn.EqualsCanvas(expected));
                EXPECT_EQ(0, m_stub->drawCount);
                // Every colour the same.
                COSMTabColorSet* pDefault = pmDefault.GetColorSet();
                const COSMPaintManagerColor* style[] = {
                    &pColors->m_clrBorder,         &pColors->m_clrFace,        &pColors->m_clrPane,
                    &pColors->m_clrLight,          &pColors->m_clrHotText,     &pColors->m_clrNormalText,
                    &pColors->m_clrFrameHighlight, &pColors->m_clrFrameShadow, &pColors->m_clrFrameDarkShadow,
                    &pColors->m_clrSelectedTab,    &pColors->m_clrNormalTab,   &pColors->m_clrTabOutline};
                const COSMPaintManagerColor* plain[] = {
                    &pDefault->m_clrBorder,         &pDefault->m_clrFace,        &pDefault->m_clrPane,
                    &pDefault->m_clrLight,          &pDefault->m_clrHotText,     &pDefault->m_clrNormalText,
                    &pDefault->m_clrFrameHighlight, &pDefault->m_clrFrameShadow, &pDefault->m_clrFrameDarkShadow,
                    &pDefault->m_clrSelectedTab,    &pDefault->m_clrNormalTab,   &pDefault->m_clrTabOutline};
                for (size_t i = 0; i < sizeof(style) / sizeof(style[0]); i++)
                    EXPECT_EQ(plain[i]->GetEffective(), style[i]->GetEffective()) << "colour " << i;
            }
        }
    }
}

}  // namespace
