// The colour manager: its colour arithmetic, the framework colours it derives on machines the tests make up
// (classic, high-contrast, Luna, low-colour), its default view of the machine through a stub visual-style
// library, and the process-wide manager on the real system.
#include <gtest/gtest.h>

#include <windows.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <array>
#include <cmath>
#include <string>

#include "TestColorMachine.h"
#include "ThemeStub.h"
#include "framework/foundation/ColorManager.h"

namespace {

// The Windows 2000 standard colours, indexes 0 to 29.
const std::array<COLORREF, 30> kClassic = {
    RGB(212, 208, 200), RGB(58, 110, 165),  RGB(10, 36, 106),   RGB(128, 128, 128), RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(212, 208, 200), RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(64, 64, 64),    RGB(212, 208, 200), RGB(0, 0, 0),       RGB(255, 255, 225),
    RGB(181, 181, 181), RGB(0, 0, 128),     RGB(166, 202, 240), RGB(192, 192, 192), RGB(49, 106, 197),
};

// A machine of the test's own: its system colours, screen depth, visual style and tree-view border.
class CTestMachine : public COSMColorEnvironment
{
public:
    std::array<COLORREF, 30> palette = kClassic;
    BOOL lowColor = FALSE;
    BOOL themeActive = FALSE;
    std::wstring themeFile, colorScheme;
    BOOL themeNameKnown = TRUE;
    BOOL treeViewThemed = FALSE;
    COLORREF treeViewBorder = RGB(1, 2, 3);
    int themeNameQueries = 0;

    COLORREF GetSysColor(int index) override { return palette[index]; }
    BOOL IsLowColorDisplay() override { return lowColor; }
    BOOL IsThemeActive() override { return themeActive; }
    BOOL GetThemeName(std::wstring* file, std::wstring* scheme) override
    {
        ++themeNameQueries;
        *file = themeFile;
        *scheme = colorScheme;
        return themeNameKnown;
    }
    BOOL GetTreeViewBorderColor(COLORREF* color) override
    {
        if (treeViewThemed)
            *color = treeViewBorder;
        return treeViewThemed;
    }
};

// The colour maths the manager keeps to itself.
class CColorMaths : public COSMColorManager
{
public:
    using COSMColorManager::ApproachColor;
    using COSMColorManager::SeparateColor;
};

class ColorManagerMachine : public testing::Test
{
protected:
    CTestMachine m_machine;
};

double Distance(COLORREF a, COLORREF b)
{
    const double red = (GetRValue(a) - GetRValue(b)) * 195.0 / 255.0;
    const double green = (GetGValue(a) - GetGValue(b)) * 390.0 / 255.0;
    const double blue = (GetBValue(a) - GetBValue(b)) * 65.0 / 255.0;
    return std::sqrt(red * red + green * green + blue * blue);
}

// The threshold a reference colour gets: doubled for black, unchanged from lightness 220 up.
double Scaled(COLORREF reference, int threshold)
{
    const int lightness = static_cast<int>(Distance(reference, RGB(0, 0, 0)));
    return (2.0 - std::min(lightness, 220) / 220.0) * threshold;
}

// Rounding each channel to a whole number moves a colour by at most this much in the weighted space.
const double kRounding = 0.9;

bool Between(BYTE value, BYTE a, BYTE b)
{
    return value >= std::min(a, b) && value <= std::max(a, b);
}

}  // namespace

TEST(ColorManager, BlendTakesPercentBelowAHundredAndPerMilleAbove)
{
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
    struct Case
    {
        COLORREF first, second;
        int weight;
        COLORREF expected;
    } cases[] = {
        {white, black, 50, RGB(128, 128, 128)},  // 12750 + 50 rounds up
        {white, black, 100, RGB(26, 26, 26)},    // 100 is per mille: 10 %
        {white, black, 99, RGB(252, 252, 252)},
        {white, black, 165, RGB(42, 42, 42)},
        {RGB(200, 100, 0), RGB(0, 100, 200), 70, RGB(140, 100, 60)},
        {white, RGB(212, 208, 200), 165, RGB(219, 216, 209)},
        {RGB(10, 20, 30), RGB(250, 240, 230), 0, RGB(250, 240, 230)},
        {RGB(10, 20, 30), RGB(250, 240, 230), 1000, RGB(10, 20, 30)},
        // The top byte of either colour is ignored and the result has none.
        {0x01FFFFFF, 0x02000000, 50, RGB(128, 128, 128)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(COSMColorManager::BlendColors(c.first, c.second, c.weight), c.expected)
            << std::hex << c.first << " " << c.second << std::dec << " @" << c.weight;
}

TEST(ColorManager, DistinctMeansStrictlyFartherThanTheThreshold)
{
    const COLORREF black = RGB(0, 0, 0), blue = RGB(0, 0, 255), red = RGB(255, 0, 0);
    // Pure blue lies 65 from black, pure red 195 in the weighted space.
    struct Case
    {
        COLORREF first, second;
        BOOL scale;
        float threshold;
        BOOL distinct;
    } cases[] = {
        {black, blue, FALSE, 64.9f, TRUE},
        {black, blue, FALSE, 65.0f, FALSE},  // equal is not distinct
        {blue, black, FALSE, 65.0f, FALSE},
        {black, red, FALSE, 194.0f, TRUE},
        {black, red, FALSE, 196.0f, FALSE},
        {black, blue, TRUE, 35.0f, FALSE},                            // a black reference doubles the threshold: 70
        {black, blue, TRUE, 32.9f, TRUE},                             // truncated to 32 before it is doubled: 64
        {RGB(255, 255, 255), RGB(255, 255, 155), TRUE, 25.0f, TRUE},  // white keeps it: 25.5 > 25
        {RGB(255, 255, 255), RGB(255, 255, 155), TRUE, 26.0f, FALSE},
        {RGB(40, 40, 40), RGB(40, 40, 40), FALSE, 0.0f, FALSE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(COSMColorManager::AreColorsDistinct(c.first, c.second, c.scale, c.threshold), c.distinct)
            << std::hex << c.first << " " << c.second << std::dec << " " << c.threshold << " scale " << c.scale;
}

TEST(ColorManager, SeparatingMovesAlongTheLineToBlackOrWhiteUntilTheThreshold)
{
    struct Case
    {
        COLORREF reference, color;
        int threshold;
        bool lighter;
    } cases[] = {
        {RGB(212, 208, 200), RGB(200, 200, 195), 50, false},   // darker than a light face: darker still
        {RGB(212, 208, 200), RGB(220, 216, 212), 100, false},  // lighter, but no room above: darkened
        {RGB(60, 60, 60), RGB(70, 72, 75), 50, true},          // lighter than a dark reference: lighter
        {RGB(60, 60, 60), RGB(50, 50, 50), 30, false},         // darker than a mid reference: darker
        {RGB(20, 20, 20), RGB(15, 15, 15), 30, true},          // darker, but the reference is near black: lighter
        {RGB(10, 36, 106), RGB(20, 40, 110), 100, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << std::hex << c.reference << " " << c.color << std::dec << " " << c.threshold);
        ASSERT_FALSE(COSMColorManager::AreColorsDistinct(c.reference, c.color, TRUE, static_cast<float>(c.threshold)));
        const COLORREF moved = CColorMaths::SeparateColor(c.reference, c.color, c.threshold);
        EXPECT_NEAR(Distance(moved, c.reference), Scaled(c.reference, c.threshold), kRounding);
        const COLORREF end = c.lighter ? RGB(255, 255, 255) : RGB(0, 0, 0);
        // On the line from the colour to black or white: each channel between the two, by the same share.
        EXPECT_TRUE(Between(GetRValue(moved), GetRValue(c.color), GetRValue(end)));
        EXPECT_TRUE(Between(GetGValue(moved), GetGValue(c.color), GetGValue(end)));
        EXPECT_TRUE(Between(GetBValue(moved), GetBValue(c.color), GetBValue(end)));
        const double share = (GetGValue(moved) - GetGValue(c.color)) / double(GetGValue(end) - GetGValue(c.color));
        EXPECT_NEAR(GetRValue(moved), GetRValue(c.color) + share * (GetRValue(end) - GetRValue(c.color)), 1.5);
        EXPECT_NEAR(GetBValue(moved), GetBValue(c.color) + share * (GetBValue(end) - GetBValue(c.color)), 1.5);
    }
}

TEST(ColorManager, SeparatingFromAColourOffItsLineGivesTheNearestPoint)
{
    // White lies 390 from the line through black and pure blue, far beyond the threshold: no point of that line
    // is 35 away, and the nearest one is blue itself.
    EXPECT_EQ(CColorMaths::SeparateColor(RGB(255, 255, 255), RGB(0, 0, 255), 35), RGB(0, 0, 255));
    // Exactly the threshold apart (yellow lies 65 below white): not distinct, and already where separating
    // would put it, so it stays.
    ASSERT_FALSE(COSMColorManager::AreColorsDistinct(RGB(255, 255, 255), RGB(255, 255, 0), TRUE, 65.0f));
    EXPECT_EQ(CColorMaths::SeparateColor(RGB(255, 255, 255), RGB(255, 255, 0), 65), RGB(255, 255, 0));
    // Equal colours: the whole threshold away, darker.
    const COLORREF moved = CColorMaths::SeparateColor(RGB(128, 128, 128), RGB(128, 128, 128), 40);
    EXPECT_LT(GetGValue(moved), 128);
    EXPECT_NEAR(Distance(moved, RGB(128, 128, 128)), Scaled(RGB(128, 128, 128), 40), kRounding);
}

TEST(ColorManager, ApproachingPullsStraightTowardsTheReference)
{
    struct Case
    {
        COLORREF reference, color;
        int threshold;
    } cases[] = {
        {RGB(64, 64, 64), RGB(200, 150, 100), 35},
        {RGB(212, 208, 200), RGB(20, 40, 60), 145},
        {RGB(255, 255, 255), RGB(0, 0, 0), 35},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << std::hex << c.reference << " " << c.color);
        const COLORREF moved = CColorMaths::ApproachColor(c.reference, c.color, c.threshold);
        EXPECT_NEAR(Distance(moved, c.reference), Scaled(c.reference, c.threshold), kRounding);
        EXPECT_TRUE(Between(GetRValue(moved), GetRValue(c.color), GetRValue(c.reference)));
        EXPECT_TRUE(Between(GetGValue(moved), GetGValue(c.color), GetGValue(c.reference)));
        EXPECT_TRUE(Between(GetBValue(moved), GetBValue(c.color), GetBValue(c.reference)));
    }
    // Already close enough: nothing moves.
    EXPECT_EQ(CColorMaths::ApproachColor(RGB(100, 100, 100), RGB(104, 100, 100), 35), RGB(104, 100, 100));
}

TEST_F(ColorManagerMachine, IndexesAboveSixtyTwoAreColoursAlready)
{
    COSMColorManager manager(m_machine);
    EXPECT_EQ(manager.GetColor(63), 63u);
    EXPECT_EQ(manager.GetColor(RGB(0, 0, 255)), RGB(0, 0, 255));
    // Values with the top bit set are colours too, never indexes.
    EXPECT_EQ(manager.GetColor(COSMPaintManagerColor::kNone), COSMPaintManagerColor::kNone);
    EXPECT_EQ(manager.GetColor(0x80000005), 0x80000005u);
    EXPECT_EQ(manager.GetColor(62), RGB(0, 0, 0));
    EXPECT_EQ(manager.GetColor(59), RGB(0, 0, 0));
}

TEST_F(ColorManagerMachine, SystemColoursAreReadExceptTheFirstAndTheLight3D)
{
    m_machine.palette[0] = RGB(9, 9, 9);
    m_machine.palette[COLOR_BTNFACE] = RGB(250, 100, 0);
    COSMColorManager manager(m_machine);
    EXPECT_EQ(manager.GetColor(0), RGB(0, 0, 0));
    for (int index = 1; index < 30; ++index)
    {
        if (index == COLOR_3DLIGHT)
            continue;
        EXPECT_EQ(manager.GetColor(index), m_machine.palette[index]) << index;
    }
    // The light 3-D colour is the face brightened by 15, each channel at most 255.
    EXPECT_EQ(manager.GetColor(COLOR_3DLIGHT), RGB(255, 115, 15));

    // A refresh reads the machine again.
    m_machine.palette[COLOR_WINDOWTEXT] = RGB(1, 99, 7);
    EXPECT_EQ(manager.GetColor(COLOR_WINDOWTEXT), kClassic[COLOR_WINDOWTEXT]);
    manager.RefreshColors();
    EXPECT_EQ(manager.GetColor(COLOR_WINDOWTEXT), RGB(1, 99, 7));
}

TEST_F(ColorManagerMachine, ClassicColoursGiveTheirBlendsAndDerivations)
{
    COSMColorManager manager(m_machine);
    EXPECT_EQ(manager.GetVisualStyle(), COSMColorManager::kStyleNone);

    // 16.5 % window over the face, close enough to the face to stay.
    EXPECT_EQ(manager.GetColor(30), RGB(219, 216, 209));
    // 14.3 % face over the window.
    EXPECT_EQ(manager.GetColor(41), RGB(249, 248, 247));
    // 40 % window, 10 % highlight, 50 % of entry 30, each part truncated.
    EXPECT_EQ(manager.GetColor(36), RGB(212, 213, 216));
    // The face brightened until its largest channel gains 35; the shadow darkened by 43.
    EXPECT_EQ(manager.GetColor(48), RGB(247, 242, 233));
    EXPECT_EQ(manager.GetColor(49), RGB(85, 85, 85));
    EXPECT_EQ(manager.GetColor(COLOR_3DLIGHT), RGB(227, 223, 215));

    const COLORREF selection = manager.GetColor(31);
    EXPECT_EQ(manager.GetColor(34),
              RGB(GetRValue(selection) * 3 / 4, GetGValue(selection) * 3 / 4, GetBValue(selection) * 3 / 4));
    EXPECT_EQ(manager.GetColor(53), manager.GetColor(30));
    EXPECT_EQ(manager.GetColor(58), manager.GetColor(40));
    EXPECT_EQ(manager.GetColor(60), manager.GetColor(40));
    EXPECT_EQ(manager.GetColor(59), RGB(0, 0, 0));
    // Untouched copies.
    EXPECT_EQ(manager.GetColor(50), kClassic[COLOR_HIGHLIGHT]);
    EXPECT_EQ(manager.GetColor(51), kClassic[COLOR_BTNFACE]);
    EXPECT_EQ(manager.GetColor(52), kClassic[COLOR_BTNSHADOW]);
    EXPECT_EQ(manager.GetColor(54), kClassic[COLOR_BTNSHADOW]);
    EXPECT_EQ(manager.GetColor(55), kClassic[COLOR_BTNFACE]);
}

// Every pair the manager keeps apart ends at least its scaled threshold apart (less the rounding), on light,
// dark and coloured desktops; 35 is left out, which is pulled back towards 41 afterwards.
TEST_F(ColorManagerMachine, KeptApartPairsStayReadable)
{
    struct Row
    {
        int target, reference, threshold;
    } rows[] = {
        {31, 30, 50},  {32, 30, 100}, {33, 30, 30},  {37, 33, 100}, {38, 30, 85},  {39, 30, 50},  {43, 41, 100},
        {61, 30, 100}, {40, 30, 80},  {44, 41, 180}, {45, 31, 180}, {46, 30, 180}, {47, 33, 180},
    };
    std::array<COLORREF, 30> dark = kClassic, olive = kClassic, grey = kClassic;
    dark[COLOR_BTNFACE] = RGB(64, 64, 64);
    dark[COLOR_WINDOW] = RGB(32, 32, 32);
    dark[COLOR_BTNSHADOW] = RGB(40, 40, 40);
    dark[COLOR_BTNTEXT] = RGB(220, 220, 220);
    dark[COLOR_WINDOWTEXT] = RGB(220, 220, 220);
    olive[COLOR_BTNFACE] = RGB(236, 233, 216);
    olive[COLOR_HIGHLIGHT] = RGB(147, 160, 112);
    olive[COLOR_BTNSHADOW] = RGB(172, 168, 153);
    grey[COLOR_HIGHLIGHT] = RGB(200, 200, 200);
    grey[COLOR_BTNSHADOW] = RGB(200, 198, 192);

    const std::array<COLORREF, 30>* palettes[] = {&kClassic, &dark, &olive, &grey};
    COSMColorManager manager(m_machine);
    for (size_t which = 0; which < 4; ++which)
    {
        m_machine.palette = *palettes[which];
        manager.RefreshColors();
        for (const Row& row : rows)
        {
            const COLORREF reference = manager.GetColor(row.reference), target = manager.GetColor(row.target);
            EXPECT_GE(Distance(reference, target), Scaled(reference, row.threshold) - kRounding)
                << "palette " << which << " entry " << row.target;
        }
    }
}

TEST_F(ColorManagerMachine, DarkFaceMixIsPulledBackTowardsTheFace)
{
    m_machine.palette[COLOR_BTNFACE] = RGB(64, 64, 64);
    COSMColorManager manager(m_machine);
    const COLORREF face = m_machine.palette[COLOR_BTNFACE];
    const COLORREF mix = COSMColorManager::BlendColors(RGB(255, 255, 255), face, 165);
    ASSERT_GT(Distance(mix, face), Scaled(face, 35)) << "the plain mix lies too far from the face";
    const COLORREF entry = manager.GetColor(30);
    EXPECT_NEAR(Distance(entry, face), Scaled(face, 35), kRounding);
    EXPECT_TRUE(Between(GetRValue(entry), GetRValue(face), GetRValue(mix)));
}

TEST_F(ColorManagerMachine, HighContrastTakesHighlightAndTextInsteadOfBlends)
{
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
    struct Case
    {
        COLORREF face, text, window, highlight, brighter, darker;
    } cases[] = {
        {black, white, black, RGB(0, 255, 0), RGB(35, 35, 35), RGB(127, 127, 127)},
        // A window unlike the face shows that no blend ran.
        {black, white, RGB(0, 0, 128), RGB(26, 235, 255), RGB(35, 35, 35), RGB(127, 127, 127)},
        {white, black, RGB(255, 255, 192), RGB(26, 235, 255), white, RGB(85, 85, 85)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << std::hex << c.face << " " << c.window);
        m_machine.palette = kClassic;
        m_machine.palette[COLOR_BTNFACE] = c.face;
        m_machine.palette[COLOR_BTNTEXT] = c.text;
        m_machine.palette[COLOR_WINDOW] = c.window;
        m_machine.palette[COLOR_HIGHLIGHT] = c.highlight;
        m_machine.palette[COLOR_HIGHLIGHTTEXT] = black;
        COSMColorManager manager(m_machine);
        for (int entry : {31, 36, 50})
            EXPECT_EQ(manager.GetColor(entry), c.highlight) << entry;
        EXPECT_EQ(manager.GetColor(45), black);
        for (int entry : {32, 37, 38, 43})
            EXPECT_EQ(manager.GetColor(entry), c.text) << entry;
        EXPECT_EQ(manager.GetColor(30), c.face);
        EXPECT_EQ(manager.GetColor(41), c.window);
        EXPECT_EQ(manager.GetColor(48), c.brighter);
        EXPECT_EQ(manager.GetColor(49), c.darker);

        // A text colour one step off high contrast gets the blends.
        m_machine.palette[COLOR_BTNTEXT] = c.text ^ 1;
        manager.RefreshColors();
        EXPECT_EQ(manager.GetColor(41), COSMColorManager::BlendColors(c.face, c.window, 143));
    }
}

TEST_F(ColorManagerMachine, BrighterFaceAndDarkerShadow)
{
    struct Case
    {
        COLORREF face, shadow, brighter, darker;
    } cases[] = {
        {RGB(0, 0, 0), RGB(200, 100, 0), RGB(35, 35, 35), RGB(127, 127, 127)},
        {RGB(200, 100, 50), RGB(128, 64, 32), RGB(235, 117, 58), RGB(85, 42, 21)},
        {RGB(250, 250, 250), RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0)},
        {RGB(10, 0, 0), RGB(40, 20, 10), RGB(45, 0, 0), RGB(0, 0, 0)},
    };
    COSMColorManager manager(m_machine);
    for (const Case& c : cases)
    {
        m_machine.palette[COLOR_BTNFACE] = c.face;
        m_machine.palette[COLOR_BTNSHADOW] = c.shadow;
        manager.RefreshColors();
        EXPECT_EQ(manager.GetColor(48), c.brighter) << std::hex << c.face;
        EXPECT_EQ(manager.GetColor(49), c.darker) << std::hex << c.shadow;
    }
}

TEST_F(ColorManagerMachine, VisualStylesAreToldByThemeFileAndColourScheme)
{
    const COLORREF blue1 = RGB(89, 135, 214), olive1 = RGB(175, 192, 130), silver1 = RGB(168, 167, 191);
    const COLORREF blue54 = RGB(0, 45, 150), shadow = kClassic[COLOR_BTNSHADOW];
    const wchar_t* luna = L"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles";
    struct Case
    {
        BOOL active, lowColor, nameKnown;
        const wchar_t* file;
        const wchar_t* scheme;
        int style;
        COLORREF gradient1, entry54;
        float factor4;
    } cases[] = {
        {TRUE, FALSE, TRUE, luna, L"NormalColor", 1, blue1, blue54, 0.75f},
        {TRUE, FALSE, TRUE, L"C:\\WINDOWS\\RESOURCES\\THEMES\\LUNA\\LUNA.MSSTYLES", L"HomeStead", 2, olive1,
         RGB(96, 128, 88), 0.3f},
        {TRUE, FALSE, TRUE, luna, L"Metallic", 3, silver1, RGB(124, 124, 148), 0.75f},
        {TRUE, FALSE, TRUE, L"C:\\Skins\\WinXP.Luna.cjstyles", L"normalcolor", 1, blue1, blue54, 0.75f},
        {TRUE, FALSE, TRUE, luna, L"Zune", 0, shadow, shadow, 0.5f},
        {TRUE, FALSE, TRUE, L"C:\\WINDOWS\\Resources\\Themes\\Royale\\Royale.msstyles", L"NormalColor", 4, blue1,
         blue54, 0.75f},
        {TRUE, FALSE, TRUE, L"C:\\Skins\\WinXP.Royale.cjstyles", L"Whatever", 4, blue1, blue54, 0.75f},
        {TRUE, FALSE, TRUE, L"C:\\Windows\\Resources\\Themes\\Aero\\Aero.msstyles", L"NormalColor", 5, blue1, blue54,
         0.75f},
        {TRUE, FALSE, TRUE, L"C:\\windows\\resources\\themes\\light\\light.msstyles", L"Blue", 0, shadow, shadow, 0.5f},
        {FALSE, FALSE, TRUE, luna, L"NormalColor", 0, shadow, shadow, 0.5f},
        {TRUE, FALSE, FALSE, luna, L"NormalColor", 0, shadow, shadow, 0.5f},
        {TRUE, TRUE, TRUE, luna, L"NormalColor", 0, shadow, shadow, 0.5f},
    };
    COSMColorManager manager(m_machine);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << std::string(c.file, c.file + std::wcslen(c.file)) << " active " << c.active
                                        << " low " << c.lowColor << " known " << c.nameKnown);
        m_machine.themeActive = c.active;
        m_machine.lowColor = c.lowColor;
        m_machine.themeNameKnown = c.nameKnown;
        m_machine.themeFile = c.file;
        m_machine.colorScheme = c.scheme;
        manager.RefreshColors();
        EXPECT_EQ(manager.GetVisualStyle(), c.style);
        EXPECT_EQ(manager.GetDetectedVisualStyle(), c.style);
        EXPECT_EQ(manager.GetGradient(1).First().GetEffective(), c.gradient1);
        if (!c.lowColor)
        {
            EXPECT_EQ(manager.GetGradient(4).GetFactor(), c.factor4);
        }
        EXPECT_EQ(manager.GetColor(54), c.entry54);
    }
}

TEST_F(ColorManagerMachine, WithoutAStyleTheGradientsAreMixesOfFaceWindowAndShadow)
{
    COSMColorManager manager(m_machine);
    const COLORREF face = kClassic[COLOR_BTNFACE], window = kClassic[COLOR_WINDOW];
    const COLORREF shadow = kClassic[COLOR_BTNSHADOW];
    auto blend = &COSMColorManager::BlendColors;
    struct Case
    {
        int gradient;
        COLORREF first, second;
    } cases[] = {
        {1, shadow, shadow},
        {2, face, blend(face, window, 215)},
        {3, face, shadow},
        {4, blend(face, window, 205), face},
        {5, blend(face, window, 145), blend(face, window, 93)},
        {6, blend(face, window, 40), blend(face, shadow, 95)},
        {7, blend(face, window, 165), blend(face, window, 42)},
    };
    for (const Case& c : cases)
    {
        const COSMPaintManagerColorGradient& gradient = manager.GetGradient(c.gradient);
        EXPECT_EQ(gradient.First().GetEffective(), c.first) << c.gradient;
        EXPECT_EQ(gradient.Second().GetEffective(), c.second) << c.gradient;
        EXPECT_EQ(gradient.GetFactor(), 0.5f) << c.gradient;
    }
    EXPECT_EQ(manager.GetGradient(2).Second().GetEffective(), RGB(246, 245, 243));
}

TEST_F(ColorManagerMachine, FixedGradientsAreSetOnceAtConstruction)
{
    COSMColorManager manager(m_machine);
    struct Case
    {
        int gradient;
        COLORREF first, second;
    } cases[] = {
        {8, RGB(255, 213, 140), RGB(255, 173, 85)},
        {9, RGB(254, 142, 75), RGB(255, 207, 139)},
        {10, RGB(255, 242, 200), RGB(255, 212, 151)},
    };
    // As built, and after refreshes on a low-colour and on a Luna machine.
    for (int pass = 0; pass < 3; ++pass)
    {
        for (const Case& c : cases)
        {
            EXPECT_EQ(manager.GetGradient(c.gradient).First().GetEffective(), c.first) << c.gradient;
            EXPECT_EQ(manager.GetGradient(c.gradient).Second().GetEffective(), c.second) << c.gradient;
            EXPECT_EQ(manager.GetGradient(c.gradient).GetFactor(), 0.5f);
        }
        m_machine.lowColor = pass == 0;
        m_machine.themeActive = pass == 1;
        m_machine.themeFile = L"luna.msstyles";
        m_machine.colorScheme = L"normalcolor";
        manager.RefreshColors();
    }
}

TEST_F(ColorManagerMachine, LowColourKeepsPlainCopiesAndFlatGradients)
{
    m_machine.lowColor = TRUE;
    m_machine.themeActive = TRUE;
    m_machine.themeFile = L"luna.msstyles";
    m_machine.colorScheme = L"normalcolor";
    m_machine.treeViewThemed = TRUE;
    COSMColorManager manager(m_machine);
    EXPECT_EQ(manager.GetVisualStyle(), COSMColorManager::kStyleNone);
    EXPECT_EQ(m_machine.themeNameQueries, 0);

    const COLORREF face = kClassic[COLOR_BTNFACE], window = kClassic[COLOR_WINDOW];
    const COLORREF shadow = kClassic[COLOR_BTNSHADOW];
    struct Case
    {
        int entry;
        COLORREF expected;
    } cases[] = {
        {30, face},
        {31, window},
        {33, kClassic[COLOR_HIGHLIGHT]},
        {36, window},
        {41, window},
        {48, shadow},
        {49, kClassic[COLOR_HIGHLIGHTTEXT]},
        {54, shadow},
        {57, shadow},
        {COLOR_3DLIGHT, kClassic[COLOR_3DLIGHT]},
    };
    for (const Case& c : cases)
        EXPECT_EQ(manager.GetColor(c.entry), c.expected) << c.entry;
    for (int number : {2, 4})
    {
        EXPECT_EQ(manager.GetGradient(number).First().GetEffective(), face) << number;
        EXPECT_EQ(manager.GetGradient(number).Second().GetEffective(), face) << number;
    }
    EXPECT_EQ(manager.GetGradient(3).Second().GetEffective(), shadow);
}

TEST_F(ColorManagerMachine, TreeViewBorderComesFromTheThemeWhenThemed)
{
    m_machine.treeViewThemed = TRUE;
    m_machine.treeViewBorder = RGB(12, 200, 34);
    COSMColorManager manager(m_machine);
    EXPECT_EQ(manager.GetColor(57), RGB(12, 200, 34));
    m_machine.treeViewThemed = FALSE;
    manager.RefreshColors();
    EXPECT_EQ(manager.GetColor(57), kClassic[COLOR_BTNSHADOW]);
}

TEST_F(ColorManagerMachine, LunaColoursSwitchIsKeptAndChangesNothing)
{
    m_machine.themeActive = TRUE;
    m_machine.themeFile = L"luna.msstyles";
    m_machine.colorScheme = L"homestead";
    COSMColorManager manager(m_machine);
    EXPECT_FALSE(manager.IsLunaColorsDisabled());
    manager.SetLunaColorsDisabled(TRUE);
    EXPECT_TRUE(manager.IsLunaColorsDisabled());
    manager.RefreshColors();
    EXPECT_EQ(manager.GetVisualStyle(), COSMColorManager::kStyleLunaOlive);
    EXPECT_EQ(manager.GetGradient(1).First().GetEffective(), RGB(175, 192, 130));
}

// The default view of the machine, through a stub visual-style library.
TEST(ColorEnvironment, ReadsTheSystemAndTheVisualStyles)
{
    const std::string path = ThemeStubPath();
    COSMVisualStyleFunctions functions(path.c_str(), TRUE, MAKELONG(0, 6));
    CThemeStubState* stub = ThemeStubStateOf(path);
    ASSERT_NE(stub, nullptr);
    ResetThemeStub(stub);
    COSMColorEnvironment machine(functions);

    for (int index : {COLOR_WINDOW, COLOR_BTNFACE, COLOR_HIGHLIGHT, COLOR_MENUHILIGHT})
        EXPECT_EQ(machine.GetSysColor(index), GetSysColor(index)) << index;
    EXPECT_EQ(machine.IsLowColorDisplay(), COSMColorManager::IsLowColorDisplay(nullptr));

    for (BOOL active : {TRUE, FALSE})
    {
        stub->themeActive = active;
        EXPECT_EQ(machine.IsThemeActive(), active);
    }
    std::wstring file, scheme;
    ASSERT_TRUE(machine.GetThemeName(&file, &scheme));
    EXPECT_EQ(file, stub->themeFile);
    EXPECT_EQ(scheme, L"NormalColor");
    stub->themeNameResult = E_FAIL;
    EXPECT_FALSE(machine.GetThemeName(&file, &scheme));

    // The tree-view border: the "TREEVIEW" class for no window, part 0, state 0, its border colour; the
    // handle is given back at once.
    struct Case
    {
        BOOL appThemed;
        HRESULT colorResult;
        BOOL found;
    } cases[] = {
        {TRUE, S_OK, TRUE},
        {FALSE, S_OK, FALSE},
        {TRUE, kNoSuchProperty, FALSE},
    };
    for (const Case& c : cases)
    {
        ResetThemeStub(stub);
        stub->appThemed = c.appThemed;
        stub->themeColorResult = c.colorResult;
        stub->themeColor = RGB(12, 34, 56);
        COLORREF border = RGB(9, 9, 9);
        EXPECT_EQ(machine.GetTreeViewBorderColor(&border), c.found);
        EXPECT_EQ(border, c.found ? RGB(12, 34, 56) : RGB(9, 9, 9));
        EXPECT_STREQ(stub->lastClassList, L"TREEVIEW");
        EXPECT_EQ(stub->lastWindow, nullptr);
        EXPECT_EQ(stub->calls[CThemeStubState::kOpenThemeData], 1);
        EXPECT_EQ(stub->calls[CThemeStubState::kCloseThemeData], 1);
        if (c.appThemed)
        {
            EXPECT_EQ(stub->lastPart, 0);
            EXPECT_EQ(stub->lastState, 0);
            EXPECT_EQ(stub->lastProperty, TMT_BORDERCOLOR);
        }
    }

    // A whole refresh through it: a Luna machine with its blue gradients and the theme's border.
    ResetThemeStub(stub);
    stub->themeColor = RGB(12, 34, 56);
    COSMColorManager manager(machine);
    EXPECT_EQ(manager.GetVisualStyle(), COSMColorManager::kStyleLunaBlue);
    EXPECT_EQ(manager.GetGradient(3).Second().GetEffective(), RGB(0, 45, 150));
    EXPECT_EQ(manager.GetColor(57), RGB(12, 34, 56));
}

// The process-wide manager on the system under test.
TEST(ColorManager, ProcessWideManagerReadsTheSystem)
{
    COSMColorManager* manager = GetColorManager();
    ASSERT_EQ(manager, GetColorManager());
    RefreshColorManager();
    EXPECT_EQ(manager->GetColor(0), RGB(0, 0, 0));
    for (int index = 1; index < 30; ++index)
    {
        if (index == COLOR_3DLIGHT)
            continue;
        EXPECT_EQ(manager->GetColor(index), GetSysColor(index)) << index;
    }

    // The tree-view border of the system's theme, when it has one.
    HTHEME treeView = OpenThemeData(nullptr, L"TREEVIEW");
    COLORREF border = GetSysColor(COLOR_BTNSHADOW);
    if (treeView && IsAppThemed())
        GetThemeColor(treeView, 0, 0, TMT_BORDERCOLOR, &border);
    if (treeView)
        CloseThemeData(treeView);
    EXPECT_EQ(manager->GetColor(57), border);
}

TEST(ColorManager, LowColourIsOneToEightBitsPerPixel)
{
    HDC screen = GetDC(nullptr);
    const int screenBits = GetDeviceCaps(screen, BITSPIXEL);
    EXPECT_EQ(COSMColorManager::IsLowColorDisplay(screen), screenBits >= 1 && screenBits <= 8);
    EXPECT_EQ(COSMColorManager::IsLowColorDisplay(nullptr), screenBits >= 1 && screenBits <= 8);
    ReleaseDC(nullptr, screen);
    // A metafile context reports no depth at all.
    HDC metafile = CreateMetaFileA(nullptr);
    ASSERT_EQ(GetDeviceCaps(metafile, BITSPIXEL), 0);
    EXPECT_FALSE(COSMColorManager::IsLowColorDisplay(metafile));
    DeleteMetaFile(CloseMetaFile(metafile));
}

TEST(ColorManager, AScopePutsATestMachineUnderTheProcessWideManager)
{
    COSMColorManager* manager = GetColorManager();
    RefreshColorManager();
    const COLORREF systemFace = manager->GetColor(COLOR_BTNFACE);
    const int systemStyle = manager->GetVisualStyle();
    const BOOL systemLowColor = manager->IsLowColorScreen();
    EXPECT_EQ(systemLowColor, COSMColorManager::IsLowColorDisplay(nullptr));
    {
        foundation_test::TestColorMachine machine;
        machine.style = 3;
        machine.colors[COLOR_BTNFACE] = RGB(1, 2, 3);
        COSMColorEnvironmentScope scope(machine);
        EXPECT_EQ(&machine, &manager->GetEnvironment());
        // Refreshed on entry: the machine's colour and style, without anyone calling RefreshColors.
        EXPECT_EQ(RGB(1, 2, 3), manager->GetColor(COLOR_BTNFACE));
        EXPECT_EQ(3, manager->GetVisualStyle());
        EXPECT_FALSE(manager->IsLowColorScreen());
        {
            foundation_test::TestColorMachine lowColor;
            lowColor.lowColor = TRUE;
            lowColor.style = 1;
            COSMColorEnvironmentScope inner(lowColor);
            EXPECT_TRUE(manager->IsLowColorScreen());
            // A low-colour screen has no visual style.
            EXPECT_EQ(0, manager->GetVisualStyle());
        }
        // The outer machine again.
        EXPECT_EQ(3, manager->GetVisualStyle());
        EXPECT_FALSE(manager->IsLowColorScreen());
    }
    // Refreshed on exit from the system again.
    EXPECT_EQ(&GetSystemColorEnvironment(), &manager->GetEnvironment());
    EXPECT_EQ(systemFace, manager->GetColor(COLOR_BTNFACE));
    EXPECT_EQ(systemStyle, manager->GetVisualStyle());
    EXPECT_EQ(systemLowColor, manager->IsLowColorScreen());
}
