// The paint manager's fonts, metrics, colour table, theme factory and lifetime, on the test paint manager.
#include "tests/support/DcTestSurface.h"
#include "PaintManagerTestSupport.h"
#include "ProgramDriver.h"
#include "framework/commandbars/PopupBar.h"

#include "framework/foundation/ShadowManager.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/IconLogFont.h"
#include "framework/foundation/ImageManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using foundation_test::LogFontOf;
using foundation_test::MetricsPaintManager;
using foundation_test::PaintManagerTest;

namespace {

std::vector<std::string> InstalledFaces()
{
    std::vector<std::string> faces;
    LOGFONTA query{};
    query.lfCharSet = DEFAULT_CHARSET;
    HDC screen = ::GetDC(nullptr);
    ::EnumFontFamiliesExA(
        screen, &query,
        [](const LOGFONTA* logFont, const TEXTMETRICA*, DWORD, LPARAM param) -> int {
            if (logFont->lfFaceName[0] != '@')
                reinterpret_cast<std::vector<std::string>*>(param)->push_back(logFont->lfFaceName);
            return 1;
        },
        reinterpret_cast<LPARAM>(&faces), 0);
    ::ReleaseDC(nullptr, screen);
    return faces;
}

int SpaceHeight(CFont& font)
{
    HDC screen = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(screen, font.GetSafeHandle());
    SIZE size{};
    ::GetTextExtentPoint32A(screen, " ", 1, &size);
    ::SelectObject(screen, old);
    ::ReleaseDC(nullptr, screen);
    return size.cy;
}

}  // namespace

TEST(NonClientMetricsTest, FillsTheWindowsXpRecord)
{
    NONCLIENTMETRICSA metrics;
    std::memset(&metrics, 0xCD, sizeof(metrics));
    ASSERT_TRUE(InitNonClientMetrics(&metrics));
    EXPECT_EQ(340u, metrics.cbSize);
    EXPECT_NE(0, metrics.lfMenuFont.lfFaceName[0]);
    EXPECT_NE(0, metrics.lfMenuFont.lfHeight);
}

TEST_F(PaintManagerTest, MenuFontsBelowElevenPixelsAreRaised)
{
    const struct
    {
        LONG menu;
        LONG expected;
    } cases[] = {{-9, -11}, {-10, -11}, {-11, -11}, {-12, -12}, {14, 14}};
    for (const auto& c : cases)
    {
        MetricsPaintManager pm;
        pm.menuFontHeight = c.menu;
        pm.RefreshFonts();
        SCOPED_TRACE(c.menu);
        EXPECT_EQ(c.expected, LogFontOf(pm.GetRegularFont()).lfHeight);
        EXPECT_EQ(c.expected, LogFontOf(pm.GetBoldFont()).lfHeight);
        EXPECT_EQ(c.expected, LogFontOf(pm.GetVerticalFont()).lfHeight);
    }
}

TEST_F(PaintManagerTest, FontsAreBuiltFromTheMenuFont)
{
    MetricsPaintManager pm;
    pm.RefreshFonts();
    NONCLIENTMETRICSA metrics;
    ASSERT_TRUE(InitNonClientMetrics(&metrics));

    const LOGFONTA regular = LogFontOf(pm.GetRegularFont());
    EXPECT_STREQ(metrics.lfMenuFont.lfFaceName, regular.lfFaceName);
    EXPECT_EQ(metrics.lfMenuFont.lfWeight, regular.lfWeight);
    EXPECT_EQ(FW_BOLD, LogFontOf(pm.GetBoldFont()).lfWeight);

    const struct
    {
        CFont& font;
        LONG weight;
    } vertical[] = {{pm.GetVerticalFont(), regular.lfWeight}, {pm.GetVerticalBoldFont(), FW_BOLD}};
    for (const auto& v : vertical)
    {
        const LOGFONTA logFont = LogFontOf(v.font);
        EXPECT_EQ(2700, logFont.lfEscapement);
        EXPECT_EQ(900, logFont.lfOrientation);
        EXPECT_EQ(v.weight, logFont.lfWeight);
    }
    EXPECT_EQ(FW_BOLD, LogFontOf(pm.GetIconTitleBoldFont()).lfWeight);
    EXPECT_STREQ(metrics.lfStatusFont.lfFaceName, LogFontOf(pm.GetStatusFont()).lfFaceName);
    EXPECT_STREQ(metrics.lfSmCaptionFont.lfFaceName, LogFontOf(pm.GetCaptionFont()).lfFaceName);
}

TEST_F(PaintManagerTest, ControlHeightIsTheSpaceHeightPlusSix)
{
    const LONG heights[] = {-9, -16, -30};
    for (LONG height : heights)
    {
        MetricsPaintManager pm;
        pm.menuFontHeight = height;
        pm.RefreshFonts();
        const int raw = SpaceHeight(pm.GetRegularFont()) + 6;
        SCOPED_TRACE(height);
        EXPECT_EQ(raw, pm.GetRawControlHeight());
        EXPECT_EQ(raw < 22 ? 22 : raw, pm.GetControlHeight());
    }
}

TEST_F(PaintManagerTest, SplitButtonDropDownWidth)
{
    const struct
    {
        int controlHeight;
        int largeTextHeight;
        int expected;
    } cases[] = {{16, 0, 27}, {30, 0, 49}, {30, 1, 43}, {16, 2, 15}};
    for (const auto& c : cases)
    {
        MetricsPaintManager pm;
        pm.SetControlHeight(c.controlHeight);
        pm.SetLargeButtonTextHeight(c.largeTextHeight);
        EXPECT_EQ(c.expected, pm.GetSplitButtonDropDownWidth()) << c.controlHeight << " " << c.largeTextHeight;
    }
}

TEST_F(PaintManagerTest, AutomaticIconSize)
{
    const struct
    {
        BOOL automatic;
        int controlHeight;
        BOOL large;
        int side;
    } cases[] = {{TRUE, 30, FALSE, 24}, {TRUE, 30, TRUE, 48},   {TRUE, 22, FALSE, 16},
                 {TRUE, 16, FALSE, 16}, {FALSE, 30, FALSE, 16}, {FALSE, 30, TRUE, 32}};
    for (const auto& c : cases)
    {
        MetricsPaintManager pm;
        pm.SetAutoIconSize(c.automatic);
        pm.SetControlHeight(c.controlHeight);
        EXPECT_EQ(CSize(c.side, c.side), pm.GetAutoIconSize(c.large)) << c.automatic << " " << c.controlHeight;
    }
}

TEST_F(PaintManagerTest, FitImageSize)
{
    const struct
    {
        CSize icon;
        int width;
        int height;
        CSize expected;
    } cases[] = {
        {CSize(0, 0), 16, 16, CSize(16, 16)},                                           // no icon
        {CSize(16, 16), 16, 16, CSize(16, 16)}, {CSize(32, 16), 16, 16, CSize(16, 8)},  // wide icon: the height follows
        {CSize(16, 32), 16, 16, CSize(8, 16)},                                          // tall icon: the width follows
        {CSize(16, 17), 16, 16, CSize(16, 17)},                                         // one pixel over is tolerated
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, COSMPaintManager::FitImageSize(c.icon, c.width, c.height))
            << c.icon.cx << "x" << c.icon.cy;
}

TEST_F(PaintManagerTest, ApplyControlCustomSize)
{
    MetricsPaintManager pm;
    COSMControl control;
    EXPECT_EQ(CSize(40, 22), pm.ApplyControlCustomSize(CSize(40, 22), &control, FALSE));
    control.SetWidth(100);
    EXPECT_EQ(CSize(100, 22), pm.ApplyControlCustomSize(CSize(40, 22), &control, FALSE));
    EXPECT_EQ(CSize(40, 100), pm.ApplyControlCustomSize(CSize(40, 22), &control, TRUE));
    control.SetHeight(30);
    EXPECT_EQ(CSize(100, 30), pm.ApplyControlCustomSize(CSize(40, 22), &control, FALSE));
    EXPECT_EQ(CSize(30, 100), pm.ApplyControlCustomSize(CSize(40, 22), &control, TRUE));
}

TEST_F(PaintManagerTest, PopupImageSizeAndGripperWidth)
{
    const struct
    {
        BOOL popupBar;
        int type;
        CSize icon;
        int controlHeight;
        BOOL doubleGripper;
        CSize imageSize;
        int gripper;
    } cases[] = {
        {TRUE, 2, CSize(16, 16), 22, FALSE, CSize(26, 22), 27},
        {TRUE, 2, CSize(16, 16), 22, TRUE, CSize(26, 22), 53},
        {TRUE, 2, CSize(32, 32), 22, FALSE, CSize(36, 38), 37},
        {TRUE, 1, CSize(16, 16), 22, TRUE, CSize(26, 22), 0},
        {TRUE, 0, CSize(16, 16), 22, FALSE, CSize(26, 22), 0},
        // Only popup bars draw the double gripper.
        {FALSE, 2, CSize(16, 16), 22, TRUE, CSize(26, 22), 27},
    };
    for (const auto& c : cases)
    {
        MetricsPaintManager pm;
        pm.SetControlHeight(c.controlHeight);
        COSMPopupBar popup;
        COSMCommandBar plain;
        COSMCommandBar& bar = c.popupBar ? popup : plain;
        bar.SetType(c.type);
        bar.SetIconSize(c.icon);
        bar.SetDoubleGripper(c.doubleGripper);
        SCOPED_TRACE(c.type * 10 + c.popupBar);
        EXPECT_EQ(c.imageSize, pm.GetPopupBarImageSize(&bar));
        EXPECT_EQ(c.gripper, pm.GetPopupBarGripperWidth(&bar));
    }
}

TEST_F(PaintManagerTest, ControlImageSize)
{
    MetricsPaintManager pm;
    COSMCommandBar bar;
    bar.SetIconSize(CSize(16, 16));
    COSMControl control;
    control.SetParent(&bar);
    EXPECT_EQ(CSize(16, 16), pm.GetControlImageSize(&control));
    control.SetStyle(4);
    EXPECT_EQ(CSize(32, 32), pm.GetControlImageSize(&control));
    bar.SetType(2);
    EXPECT_EQ(CSize(16, 16), pm.GetControlImageSize(&control));
    control.SetIconSize(CSize(24, 24));
    EXPECT_EQ(CSize(24, 24), pm.GetControlImageSize(&control));
}

TEST_F(PaintManagerTest, FontsAndOrientationFollowTheBar)
{
    MetricsPaintManager pm;
    pm.RefreshFonts();
    const struct
    {
        int position;
        int orientationSetting;
        BOOL defaultItem;
        int orientation;
        CFont* controlFont;
        CFont* barFont;
    } cases[] = {
        {0, 0, FALSE, 2, &pm.GetRegularFont(), &pm.GetRegularFont()},
        {0, 0, TRUE, 2, &pm.GetBoldFont(), &pm.GetRegularFont()},
        {1, 0, FALSE, 2, &pm.GetRegularFont(), &pm.GetRegularFont()},
        {4, 0, FALSE, 2, &pm.GetRegularFont(), &pm.GetRegularFont()},
        {2, 0, FALSE, 1, &pm.GetVerticalFont(), &pm.GetVerticalFont()},
        {3, 0, TRUE, 1, &pm.GetVerticalBoldFont(), &pm.GetVerticalFont()},
        {2, 2, FALSE, 2, &pm.GetRegularFont(), &pm.GetRegularFont()},
        {0, 1, TRUE, 1, &pm.GetVerticalBoldFont(), &pm.GetVerticalFont()},
    };
    for (const auto& c : cases)
    {
        COSMCommandBar bar;
        bar.SetPosition(c.position);
        bar.SetTextOrientation(c.orientationSetting);
        COSMControl control;
        control.SetParent(&bar);
        control.SetDefaultItem(c.defaultItem);
        SCOPED_TRACE(c.position * 10 + c.orientationSetting);
        EXPECT_EQ(c.orientation, pm.GetControlTextOrientation(&control));
        EXPECT_EQ(c.controlFont, pm.GetControlFont(&control));
        EXPECT_EQ(c.barFont, pm.GetCommandBarFont(&bar));
    }
}

TEST_F(PaintManagerTest, FlatToolBarByBarType)
{
    const struct
    {
        int type;
        BOOL flatMenuBar;
        BOOL flatToolBar;
        BOOL expected;
    } cases[] = {{0, TRUE, FALSE, TRUE},
                 {0, FALSE, TRUE, FALSE},
                 {1, FALSE, TRUE, TRUE},
                 {1, TRUE, FALSE, FALSE},
                 {2, FALSE, TRUE, TRUE}};
    for (const auto& c : cases)
    {
        MetricsPaintManager pm;
        pm.m_flatMenuBar = c.flatMenuBar;
        pm.m_flatToolBar = c.flatToolBar;
        COSMCommandBar bar;
        bar.SetType(c.type);
        EXPECT_EQ(c.expected, pm.IsFlatToolBar(&bar)) << c.type;
    }
}

TEST_F(PaintManagerTest, FaceNameReplacesOnlyAnInstalledFace)
{
    const std::vector<std::string> faces = InstalledFaces();
    ASSERT_GE(faces.size(), 2u);
    const std::string system = faces[0];
    const std::string wanted = faces[1];

    const struct
    {
        std::string faceName;
        BOOL standard;
        std::string expected;
    } cases[] = {{wanted, TRUE, wanted}, {"Osmira No Such Face", TRUE, system}, {wanted, FALSE, system}};
    for (const auto& c : cases)
    {
        MetricsPaintManager pm;
        pm.SetFaceName(c.faceName.c_str());
        pm.SetFaceNameMatch(TRUE);
        LOGFONTA logFont{};
        logFont.lfHeight = -11;
        lstrcpynA(logFont.lfFaceName, system.c_str(), LF_FACESIZE);
        pm.CreateFontsFromLogFont(&logFont, c.standard);
        EXPECT_EQ(c.expected, LogFontOf(pm.GetRegularFont()).lfFaceName) << c.faceName << " " << c.standard;
        EXPECT_EQ(c.standard, pm.IsFontsFollowSystem());
    }
}

TEST_F(PaintManagerTest, TheFaceNameMatchIsFoundFromTheLogFont)
{
    MetricsPaintManager pm;
    pm.SetFaceName("tahoma");
    LOGFONTA logFont{};
    logFont.lfHeight = -11;
    lstrcpynA(logFont.lfFaceName, "Tahoma", LF_FACESIZE);
    pm.CreateFontsFromLogFont(&logFont, TRUE);
    EXPECT_TRUE(pm.IsFaceNameMatch());

    MetricsPaintManager other;
    lstrcpynA(logFont.lfFaceName, "Arial", LF_FACESIZE);
    other.CreateFontsFromLogFont(&logFont, TRUE);
    EXPECT_FALSE(other.IsFaceNameMatch());
}

TEST_F(PaintManagerTest, FontsSetByAThemeSurviveRefreshes)
{
    MetricsPaintManager pm;
    pm.RefreshFonts();
    HFONT custom = ::CreateFontA(-20, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    HFONT customBold = ::CreateFontA(-21, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    pm.GetCaptionFont().SetCustomFont(custom);
    pm.GetIconTitleBoldFont().SetCustomFont(customBold);
    HGDIOBJ standardStatus = pm.GetStatusFont().GetSafeHandle();

    pm.RefreshFonts();
    EXPECT_EQ(custom, pm.GetCaptionFont().GetSafeHandle());
    EXPECT_EQ(customBold, pm.GetIconTitleBoldFont().GetSafeHandle());
    EXPECT_NE(standardStatus, pm.GetStatusFont().GetSafeHandle());
    EXPECT_EQ(-21, LogFontOf(pm.GetIconTitleBoldFont()).lfHeight);
}

TEST_F(PaintManagerTest, BuildingFromALogFontKeepsAStandardBoldIconTitleFont)
{
    MetricsPaintManager pm;
    LOGFONTA logFont{};
    logFont.lfHeight = -12;
    lstrcpynA(logFont.lfFaceName, "Arial", LF_FACESIZE);
    pm.CreateFontsFromLogFont(&logFont, FALSE);
    ASSERT_NE(nullptr, pm.GetIconTitleBoldFont().GetSafeHandle());
    LOGFONTA iconTitle{};
    ASSERT_TRUE(GetIconLogFont(&iconTitle));
    const LOGFONTA bold = LogFontOf(pm.GetIconTitleBoldFont());
    EXPECT_EQ(FW_BOLD, bold.lfWeight);
    EXPECT_STREQ(iconTitle.lfFaceName, bold.lfFaceName);
    EXPECT_EQ(iconTitle.lfHeight, bold.lfHeight);
}

// ---- Colours ----

TEST_F(PaintManagerTest, CustomColoursWinAndSurviveARefresh)
{
    MetricsPaintManager pm;
    pm.RefreshMetrics();
    pm.GetColorEntry(COLOR_WINDOW).SetCustomValue(RGB(1, 2, 3));
    EXPECT_EQ(RGB(1, 2, 3), pm.GetColor(COLOR_WINDOW));
    pm.RefreshMetrics();
    EXPECT_EQ(RGB(1, 2, 3), pm.GetColor(COLOR_WINDOW));
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), pm.GetColorEntry(COLOR_WINDOW).GetStandardValue());
    EXPECT_EQ(::GetSysColor(COLOR_BTNTEXT), pm.GetColor(COLOR_BTNTEXT));
    EXPECT_EQ(63u, pm.GetColor(63));
    EXPECT_EQ(RGB(200, 100, 50), pm.GetColor(RGB(200, 100, 50)));
}

TEST_F(PaintManagerTest, SetColorsSetsStandardValues)
{
    MetricsPaintManager pm;
    pm.RefreshMetrics();
    const UINT indices[] = {COLOR_BTNFACE, COLOR_3DSHADOW};
    const COLORREF colors[] = {RGB(10, 20, 30), RGB(40, 50, 60)};
    pm.GetColorEntry(COLOR_3DSHADOW).SetCustomValue(RGB(7, 8, 9));
    pm.SetColors(2, indices, colors);
    EXPECT_EQ(RGB(10, 20, 30), pm.GetColor(COLOR_BTNFACE));
    EXPECT_EQ(RGB(7, 8, 9), pm.GetColor(COLOR_3DSHADOW));
    EXPECT_EQ(RGB(40, 50, 60), pm.GetColorEntry(COLOR_3DSHADOW).GetStandardValue());
}

TEST_F(PaintManagerTest, EffectiveVisualStyle)
{
    MetricsPaintManager pm;
    COSMColorManager* colors = GetColorManager();
    const BOOL wasDisabled = colors->IsLunaColorsDisabled();

    colors->SetLunaColorsDisabled(FALSE);
    EXPECT_EQ(colors->GetVisualStyle(), pm.GetEffectiveVisualStyle());
    colors->SetLunaColorsDisabled(TRUE);
    EXPECT_EQ(0, pm.GetEffectiveVisualStyle());
    pm.SetVisualStyleSelection(6);
    EXPECT_EQ(colors->GetDetectedVisualStyle(), pm.GetEffectiveVisualStyle());
    pm.SetVisualStyleSelection(3);
    EXPECT_EQ(3, pm.GetEffectiveVisualStyle());
    colors->SetLunaColorsDisabled(wasDisabled);
}

TEST_F(PaintManagerTest, RefreshMetricsSetsTheDerivedColours)
{
    MetricsPaintManager pm;
    pm.RefreshMetrics();
    EXPECT_EQ(pm.GetColor(COLOR_BTNTEXT), pm.GetStatusBarTextColor());
    EXPECT_EQ(pm.GetColor(COLOR_INFOTEXT), pm.GetMessageBarTextColor());
    EXPECT_EQ(pm.GetColor(COLOR_BTNSHADOW), pm.GetFloatingCaptionColor().GetStandardValue());
    EXPECT_EQ(pm.GetColor(COLOR_BTNHIGHLIGHT), pm.GetFloatingCaptionTextColor().GetStandardValue());
    EXPECT_EQ(pm.GetColor(COLOR_BTNFACE), pm.GetFaceGradient().First().GetStandardValue());
    EXPECT_EQ(pm.GetColor(COLOR_BTNSHADOW), pm.GetFaceGradient().Second().GetStandardValue());
    EXPECT_FLOAT_EQ(0.5f, pm.GetFaceGradient().GetFactor());
    EXPECT_EQ(::GetSysColor(COLOR_INFOTEXT), pm.GetMessageBarTextColor());
}

// ---- Factory and lifetime ----

namespace {

int g_liveManagers = 0;

class CountedPaintManager : public MetricsPaintManager
{
public:
    CountedPaintManager() { ++g_liveManagers; }
    ~CountedPaintManager() override { --g_liveManagers; }
    static COSMPaintManager* Create() { return new CountedPaintManager; }
};

}  // namespace

TEST_F(PaintManagerTest, AnEmptyFactoryGivesNothing)
{
    EXPECT_EQ(nullptr, COSMPaintManager::CreateTheme(0));
    EXPECT_EQ(nullptr, COSMPaintManager::CreateTheme(5));
    COSMPaintManager::SetTheme(0);
    EXPECT_EQ(nullptr, COSMPaintManager::GetGlobalPaintManager());
}

TEST_F(PaintManagerTest, SetThemeFallsBackToIdZero)
{
    COSMPaintManager::RegisterThemeCreator(0, &COSMTestPaintManager::Create);
    COSMPaintManager::SetTheme(9);
    COSMPaintManager* pm = COSMPaintManager::GetGlobalPaintManager();
    ASSERT_NE(nullptr, pm);
    EXPECT_NE(nullptr, dynamic_cast<COSMTestPaintManager*>(pm));
    EXPECT_EQ(9, pm->GetRecordedThemeId());
    EXPECT_EQ(0, pm->GetThemeId());
    // Installing ran the refresh: the fonts and colours exist.
    EXPECT_NE(nullptr, pm->GetRegularFont().GetSafeHandle());
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), pm->GetColor(COLOR_BTNFACE));
}

TEST_F(PaintManagerTest, TheFactoryUsesTheIdsOwnCreator)
{
    COSMPaintManager::RegisterThemeCreator(0, &COSMTestPaintManager::Create);
    COSMPaintManager::RegisterThemeCreator(3, &CountedPaintManager::Create);
    COSMPaintManager* three = COSMPaintManager::CreateTheme(3);
    EXPECT_NE(nullptr, dynamic_cast<CountedPaintManager*>(three));
    EXPECT_EQ(3, three->GetRecordedThemeId());
    COSMPaintManager* four = COSMPaintManager::CreateTheme(4);
    EXPECT_EQ(nullptr, dynamic_cast<CountedPaintManager*>(four));
    EXPECT_EQ(4, four->GetRecordedThemeId());
    three->InternalRelease();
    four->InternalRelease();
    EXPECT_EQ(0, g_liveManagers);
}

TEST_F(PaintManagerTest, SetCustomThemeRecordsEightAndReleasesThePrevious)
{
    auto* first = new CountedPaintManager;
    COSMPaintManager::SetCustomTheme(first);
    EXPECT_EQ(first, COSMPaintManager::GetGlobalPaintManager());
    EXPECT_EQ(8, first->GetRecordedThemeId());
    EXPECT_EQ(1, g_liveManagers);

    // Installing the installed manager again keeps it alive.
    COSMPaintManager::SetCustomTheme(first);
    EXPECT_EQ(1, g_liveManagers);
    EXPECT_EQ(first, COSMPaintManager::GetGlobalPaintManager());
    EXPECT_NE(nullptr, first->GetRegularFont().GetSafeHandle());

    auto* second = new CountedPaintManager;
    COSMPaintManager::SetCustomTheme(second);
    EXPECT_EQ(1, g_liveManagers);
    EXPECT_EQ(second, COSMPaintManager::GetGlobalPaintManager());

    COSMPaintManager::SetCustomTheme(nullptr);
    EXPECT_EQ(0, g_liveManagers);
    EXPECT_EQ(nullptr, COSMPaintManager::GetGlobalPaintManager());
}

TEST_F(PaintManagerTest, FreeGlobalPaintManagerReleasesIt)
{
    COSMPaintManager::SetCustomTheme(new CountedPaintManager);
    EXPECT_EQ(1, g_liveManagers);
    COSMPaintManager::FreeGlobalPaintManager();
    EXPECT_EQ(0, g_liveManagers);
    EXPECT_EQ(nullptr, COSMPaintManager::GetGlobalPaintManager());
    COSMPaintManager::FreeGlobalPaintManager();
}

TEST_F(PaintManagerTest, RuntimeClassAndDefaults)
{
    MetricsPaintManager pm;
    const CRuntimeClass* runtime = RUNTIME_CLASS(COSMPaintManager);
    EXPECT_STREQ("COSMPaintManager", runtime->m_lpszClassName);
    EXPECT_EQ(0xFFFFu, runtime->m_wSchema);
    EXPECT_EQ(nullptr, runtime->m_pfnCreateObject);
    EXPECT_EQ(7, pm.GetVisualStyleSelection());
    EXPECT_EQ(CString("Tahoma"), pm.GetFaceName());
    EXPECT_EQ(0, pm.GetRawControlHeight());
    EXPECT_EQ(22, pm.GetControlHeight());
    EXPECT_EQ(CRect(2, 2, 2, 2), pm.GetCommandBarBorders(nullptr));
    EXPECT_TRUE(pm.m_shadowsEnabled);
    EXPECT_FALSE(pm.m_popupFullRowHighlight);
    EXPECT_EQ(10, pm.m_animationSteps);
    EXPECT_EQ(100, pm.m_animationDuration);
    EXPECT_EQ(-1, pm.m_keyboardCues);
    HMODULE user32 = ::GetModuleHandleA("USER32");
    EXPECT_EQ(reinterpret_cast<void*>(::GetProcAddress(user32, "SetLayeredWindowAttributes")),
              reinterpret_cast<void*>(pm.GetSetLayeredWindowAttributes()));
}

namespace {

// A 16 x 16 icon of one colour, without a transparent part.
HICON SolidIcon(COLORREF color)
{
    HDC screen = ::GetDC(nullptr);
    HBITMAP colour = ::CreateCompatibleBitmap(screen, 16, 16);
    HBITMAP mask = ::CreateBitmap(16, 16, 1, 1, nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(dc, colour);
    HBRUSH brush = ::CreateSolidBrush(color);
    const RECT all{0, 0, 16, 16};
    ::FillRect(dc, &all, brush);
    ::SelectObject(dc, mask);
    ::PatBlt(dc, 0, 0, 16, 16, BLACKNESS);  // black mask: every pixel shows
    ::SelectObject(dc, old);
    ::DeleteObject(brush);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON icon = ::CreateIconIndirect(&info);
    ::DeleteObject(colour);
    ::DeleteObject(mask);
    return icon;
}

const UINT kIconCommand = 0x7A51;

// The status-icon operations are the paint manager's own helpers.
class IconPaintManager : public COSMTestPaintManager
{
public:
    using COSMPaintManager::DrawStatusIcon;
    using COSMPaintManager::GetStatusIconSize;
};

struct ProcessIcon
{
    explicit ProcessIcon(COLORREF color)
    {
        COSMImageManagerIconHandle image;
        image.SetIcon(SolidIcon(color));
        EXPECT_TRUE(GetImageManager()->SetIcon(image, kIconCommand));
    }
    // The process-wide manager is this test program's own: nothing else keeps icons in it.
    ~ProcessIcon() { GetImageManager()->RemoveAll(); }
    COSMImageManagerIcon* Icon() const { return GetImageManager()->GetImage(kIconCommand, 16); }
};

}  // namespace

TEST_F(PaintManagerTest, ANewPaintManagerDropsTheImagesMadeForTheOldLook)
{
    ProcessIcon icon(RGB(200, 40, 40));
    ASSERT_NE(icon.Icon(), nullptr);
    icon.Icon()->GetDisabledIcon(TRUE);
    ASSERT_TRUE(icon.Icon()->HasDisabledIcon());
    {
        COSMTestPaintManager pm;
        EXPECT_FALSE(icon.Icon()->HasDisabledIcon()) << "the generated disabled image survived a new look";
    }
}

TEST_F(PaintManagerTest, StatusIconsAndControlImagesComeFromTheImageManager)
{
    const COLORREF red = RGB(200, 40, 40);
    ProcessIcon icon(red);
    IconPaintManager pm;
    EXPECT_EQ(pm.GetStatusIconSize(nullptr, kIconCommand), CSize(16, 16));
    EXPECT_EQ(pm.GetStatusIconSize(nullptr, kIconCommand + 1), CSize(0, 0)) << "no icon of that command";

    foundation_test::DcTestSurface surface(40, 20, RGB(255, 255, 255));
    CDC dc;
    ASSERT_TRUE(dc.Attach(surface.GetDC()));
    pm.DrawStatusIcon(&dc, nullptr, kIconCommand, CPoint(2, 2), 0);
    EXPECT_EQ(surface.Pixel(2, 2), red);
    EXPECT_EQ(surface.Pixel(17, 17), red);
    EXPECT_EQ(surface.Pixel(18, 18), RGB(255, 255, 255));

    pm.DrawControlImage(&dc, CPoint(22, 2), CSize(16, 16), icon.Icon(), FALSE, FALSE, TRUE, FALSE, FALSE, FALSE);
    EXPECT_EQ(surface.Pixel(22, 2), red);
    EXPECT_EQ(surface.Pixel(37, 17), red);
    dc.Detach();
}

// The process's manager is kept by a process service made with the first installation: at exit it is released
// while the services it uses still live, the exit routines of the layers above run right after it (the last
// registered first, the services still there), and afterwards nothing installs one, reaches it, takes a routine or
// makes the hook manager again (a message still passing through the hook manager's procedure is answered without it).
TEST(ProcessPaintManager, AtExitItGoesBeforeTheServicesItUsesAndNothingComesBack)
{
    DWORD exitCode = 1;
    const std::string output = osm::test::RunProgramBeside("commandbars_exit_probe.exe", &exitCode);
    EXPECT_EQ(exitCode, 0u) << output;
    EXPECT_EQ(output, "before any theme: none\n"
                      "installed theme 8\n"
                      "main returns\n"
                      "paint manager released: images alive, colours alive, resources alive, drawing helpers alive, "
                      "hooks alive\n"
                      "exit routine registered second: process paint manager none, images alive\n"
                      "exit routine registered first: process paint manager none, images alive\n"
                      "after the end: a message through the hook manager's procedure answered 0, hook manager gone, "
                      "process paint manager none, a routine added now refused\n");
}
