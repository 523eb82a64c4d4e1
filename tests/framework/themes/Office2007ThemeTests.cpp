// The Office 2007 look's colours, construction and end: each key of the theme text reaches its own target, the fixed
// colours apply with or without a text, and the look's painters and images are the Office 2007 ones.
#include "Office2007ThemeTestSupport.h"

#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/ShadowManager.h"
#include "framework/themes/Office2007PartPainters.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace office2007_theme_test {
namespace {

// One key of the theme text and where the refresh must have put it.
struct KeyTarget
{
    const char* section;
    const char* key;
    std::function<COLORREF(COSMOffice2007Theme&)> target;
};

COLORREF Entry(COSMOffice2007Theme& t, int index)
{
    return t.GetColorEntry(index).GetStandardValue();
}

std::vector<KeyTarget> KeyTargets()
{
    using T = COSMOffice2007Theme;
    return {
        {"StatusBar", "StatusBarText", [](T& t) { return t.GetStatusBarTextColor(); }},
        {"StatusBar", "StatusBarShadow", [](T& t) { return t.StatusBarShadowColor; }},
        {"StatusBar", "StatusBarFaceTopLight", [](T& t) { return t.StatusBarTopGradient.First().GetStandardValue(); }},
        {"StatusBar", "StatusBarFaceTopDark", [](T& t) { return t.StatusBarTopGradient.Second().GetStandardValue(); }},
        {"StatusBar", "StatusBarFaceBottomLight",
         [](T& t) { return t.StatusBarBottomGradient.First().GetStandardValue(); }},
        {"StatusBar", "StatusBarFaceBottomDark",
         [](T& t) { return t.StatusBarBottomGradient.Second().GetStandardValue(); }},
        {"Toolbar", "DockBarFace", [](T& t) { return t.DockBarGradient.First().GetStandardValue(); }},
        {"Toolbar", "DockBarFace", [](T& t) { return t.DockBarGradient.Second().GetStandardValue(); }},
        {"Toolbar", "ToolbarFaceLight", [](T& t) { return t.ToolbarGradient.First().GetStandardValue(); }},
        {"Toolbar", "ToolbarFaceDark", [](T& t) { return t.ToolbarGradient.Second().GetStandardValue(); }},
        {"Toolbar", "ToolbarFaceShadow", [](T& t) { return t.ToolbarShadowColor.GetStandardValue(); }},
        {"Toolbar", "ControlToolbarExpandLight",
         [](T& t) { return t.ExpandButtonGradient.First().GetStandardValue(); }},
        {"Toolbar", "ControlToolbarExpandDark",
         [](T& t) { return t.ExpandButtonGradient.Second().GetStandardValue(); }},
        {"Toolbar", "ControlHighlightPopupedLight", [](T& t) { return t.PoppedGradient.First().GetStandardValue(); }},
        {"Toolbar", "ControlHighlightPopupedDark", [](T& t) { return t.PoppedGradient.Second().GetStandardValue(); }},
        {"Toolbar", "MenuPopupGripperLight",
         [](T& t) { return t.PopupBarGripperHiddenGradient.First().GetStandardValue(); }},
        {"Toolbar", "MenuPopupGripperDark",
         [](T& t) { return t.PopupBarGripperHiddenGradient.Second().GetStandardValue(); }},
        {"Toolbar", "MenuPopupExpandedGripperLight",
         [](T& t) { return t.PopupBarGripperGradient.First().GetStandardValue(); }},
        {"Toolbar", "MenuPopupExpandedGripperDark",
         [](T& t) { return t.PopupBarGripperGradient.Second().GetStandardValue(); }},
        {"Toolbar", "MenuPopupTearOffGripper", [](T& t) { return t.TearOffGripperColor.GetStandardValue(); }},
        {"Toolbar", "MenuBarText", [](T& t) { return t.MenuBarTextColor; }},
        {"Toolbar", "MenuPopupBorder", [](T& t) { return Entry(t, 43); }},
        {"Toolbar", "ToolbarGripper", [](T& t) { return Entry(t, 38); }},
        {"Window", "WindowFrame", [](T& t) { return Entry(t, 54); }},
        {"Toolbar", "FloatingBarGripper", [](T& t) { return t.GetFloatingCaptionColor().GetStandardValue(); }},
        {"Toolbar", "FloatingBarGripperText", [](T& t) { return t.GetFloatingCaptionTextColor().GetStandardValue(); }},
        {"Toolbar", "FloatingBarBorder", [](T& t) { return Entry(t, 61); }},
        {"Workspace", "AppWorkspace", [](T& t) { return Entry(t, COLOR_APPWORKSPACE); }},
        {"Window", "ButtonFace", [](T& t) { return Entry(t, 51); }},
        {"Toolbar", "ToolbarFace", [](T& t) { return Entry(t, 30); }},
        {"Toolbar", "ToolbarSeparator", [](T& t) { return Entry(t, 39); }},
        {"Toolbar", "ControlDisabledIcon", [](T& t) { return Entry(t, 40); }},
        {"Workspace", "WorkspaceClientTop", [](T& t) { return t.WorkspaceTopColor; }},
        {"Workspace", "WorkspaceClientMiddle", [](T& t) { return t.WorkspaceMiddleColor; }},
        {"Workspace", "WorkspaceClientBottom", [](T& t) { return t.WorkspaceBottomColor; }},
        {"Window", "HighlightSelected", [](T& t) { return Entry(t, 31); }},
        {"Window", "HighlightSelectedBorder", [](T& t) { return Entry(t, 32); }},
        {"Window", "HighlightPressed", [](T& t) { return Entry(t, 33); }},
        {"Window", "HighlightPressedBorder", [](T& t) { return Entry(t, 50); }},
        {"Window", "HighlightChecked", [](T& t) { return Entry(t, 36); }},
        {"Window", "HighlightCheckedBorder", [](T& t) { return Entry(t, 37); }},
        {"Window", "HighlightSelectedLight", [](T& t) { return t.HighlightGradient.First().GetStandardValue(); }},
        {"Window", "HighlightSelectedDark", [](T& t) { return t.HighlightGradient.Second().GetStandardValue(); }},
        {"Window", "HighlightCheckedLight", [](T& t) { return t.CheckedGradient.First().GetStandardValue(); }},
        {"Window", "HighlightCheckedDark", [](T& t) { return t.CheckedGradient.Second().GetStandardValue(); }},
        {"Window", "HighlightPressedLight", [](T& t) { return t.PushedGradient.First().GetStandardValue(); }},
        {"Window", "HighlightPressedDark", [](T& t) { return t.PushedGradient.Second().GetStandardValue(); }},
        {"Toolbar", "ControlLabel", [](T& t) { return Entry(t, 56); }},
        {"Toolbar", "ControlEditBorder", [](T& t) { return Entry(t, 53); }},
        {"Toolbar", "ControlDisabledIconLight",
         [](T& t) { return t.m_disabledIconGradient.First().GetStandardValue(); }},
        {"Toolbar", "ControlDisabledIconDark",
         [](T& t) { return t.m_disabledIconGradient.Second().GetStandardValue(); }},
        {"MessageBar", "MessageBarLight", [](T& t) { return t.MessageBarGradient.First().GetStandardValue(); }},
        {"MessageBar", "MessageBarDark", [](T& t) { return t.MessageBarGradient.Second().GetStandardValue(); }},
        {"MessageBar", "MessageBarFrame", [](T& t) { return t.MessageBarFrameColor; }},
        {"MessageBar", "MessageBarText", [](T& t) { return t.GetMessageBarTextColor(); }},
        {"MessageBar", "MessageBar", [](T& t) { return t.MessageBarBackColor; }},
    };
}

TEST_F(Office2007ThemeTest, EveryKeyReachesItsTarget)
{
    std::set<COLORREF> seen;
    for (const KeyTarget& row : KeyTargets())
    {
        const COLORREF expected = images->GetImageColor(row.section, row.key);
        ASSERT_NE(expected, kNoColor) << row.section << "/" << row.key << " in the test text";
        seen.insert(expected);
        EXPECT_EQ(row.target(*theme), expected) << row.section << "/" << row.key;
    }
    // Every key but the dock bar's (read for both ends) has a colour of its own: a swapped target shows.
    EXPECT_EQ(seen.size(), KeyTargets().size() - 1);
}

TEST_F(Office2007ThemeTest, GradientFactorsAndCopiedGradient)
{
    const struct
    {
        const COSMPaintManagerColorGradient* gradient;
        float factor;
    } gradients[] = {
        {&theme->StatusBarTopGradient, 0.5f},   {&theme->StatusBarBottomGradient, 0.5f},
        {&theme->DockBarGradient, 0.5f},        {&theme->ToolbarGradient, 0.75f},
        {&theme->ExpandButtonGradient, 0.75f},  {&theme->PoppedGradient, 0.5f},
        {&theme->HighlightGradient, 0.5f},      {&theme->MessageBarGradient, 0.5f},
        {&theme->m_disabledIconGradient, 0.5f},
    };
    for (const auto& row : gradients)
        EXPECT_EQ(row.gradient->GetFactor(), row.factor);

    // The second popped gradient is a copy of the first, custom values included.
    theme->PoppedGradient.First().SetCustomValue(RGB(1, 2, 3));
    theme->RefreshMetrics();
    EXPECT_EQ(theme->GlyphGradient.First().GetCustomValue(), RGB(1, 2, 3));
    EXPECT_EQ(theme->GlyphGradient.First().GetStandardValue(), theme->PoppedGradient.First().GetStandardValue());
    EXPECT_EQ(theme->GlyphGradient.Second().GetStandardValue(), theme->PoppedGradient.Second().GetStandardValue());
    EXPECT_EQ(theme->GlyphGradient.GetFactor(), 0.5f);
}

// The colours the refresh sets without a key, checked with and without a text.
void ExpectFixedColors(COSMOffice2007Theme& t)
{
    EXPECT_EQ(Entry(t, 41), RGB(246, 246, 246));
    for (int index : {44, 45, 46, 47})
        EXPECT_EQ(Entry(t, index), RGB(0, 0, 0)) << "index " << index;
    for (int index : {60, 58, 35})
        EXPECT_EQ(Entry(t, index), RGB(141, 141, 141)) << "index " << index;
    EXPECT_EQ(Entry(t, 52), t.ToolbarShadowColor.GetEffective());
    EXPECT_TRUE(t.LunaColors);
    EXPECT_EQ(t.GetShadowManager()->GetShadowColor(), RGB(0, 0, 0));
}

TEST_F(Office2007ThemeTest, FixedColorsApply)
{
    ExpectFixedColors(*theme);
    // Index 52 follows the toolbar shadow's custom value when one is set.
    theme->ToolbarShadowColor.SetCustomValue(RGB(9, 8, 7));
    theme->RefreshMetrics();
    EXPECT_EQ(Entry(*theme, 52), RGB(9, 8, 7));
}

TEST_F(Office2007ThemeWithoutTextTest, EveryKeyedTargetIsNoneAndFixedColorsStillApply)
{
    ASSERT_FALSE(images->IsValid());
    for (const KeyTarget& row : KeyTargets())
        EXPECT_EQ(row.target(*theme), kNoColor) << row.section << "/" << row.key;
    ExpectFixedColors(*theme);
    EXPECT_EQ(theme->LoadImage("WORKSPACETOPLEFT"), nullptr);
}

TEST_F(Office2007ThemeTest, ConstructorSettingsPaintersAndImages)
{
    EXPECT_EQ(theme->GetThemeId(), 5);
    EXPECT_EQ(theme->GetShadowManager()->GetFlags(), 3u);
    EXPECT_EQ(theme->GetVisualStyleSelection(), 0);
    EXPECT_TRUE(theme->m_themedStatusBar);
    EXPECT_TRUE(theme->m_captionSpacingOption);
    EXPECT_NE(dynamic_cast<COSMOffice2007GalleryPaintManager*>(theme->GetGalleryPaintManager()), nullptr);
    EXPECT_NE(dynamic_cast<COSMOffice2007SliderPaintManager*>(theme->GetSliderPaintManager()), nullptr);
    auto* progress = dynamic_cast<COSMOffice2007ProgressPaintManager*>(theme->GetProgressPaintManager());
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->GetBarHeight(), 12);
    EXPECT_EQ(theme->GetGalleryPaintManager()->GetOwner(), theme.get());
    EXPECT_EQ(theme->GetImages(), COSMOffice2007Images::Instance());
    EXPECT_EQ(theme->LoadImage("WORKSPACETOPLEFT"), images->LoadImage("WORKSPACETOPLEFT"));
    EXPECT_NE(theme->LoadImage("WORKSPACETOPLEFT"), nullptr);
}

TEST_F(Office2007ThemeTest, FactoryAndClassNameMakeTheLook)
{
    COSMPaintManager* made = COSMPaintManager::CreateTheme(5);
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(COSMOffice2007Theme)));
    EXPECT_EQ(made->GetThemeId(), 5);
    made->InternalRelease();

    CRuntimeClass* runtimeClass = CRuntimeClass::FromName("COSMOffice2007Theme");
    ASSERT_NE(runtimeClass, nullptr);
    CObject* object = runtimeClass->CreateObject();
    ASSERT_NE(object, nullptr);
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(COSMOffice2003Theme)));
    static_cast<COSMOffice2007Theme*>(object)->InternalRelease();
}

TEST_F(Office2007ThemeTest, DestructorEmptiesTheImageCache)
{
    // The refresh already cached the slider's arrow; start from an empty cache.
    images->ClearCache();
    const LONG before = COSMOffice2007Image::GetInstanceCount();
    ASSERT_NE(theme->LoadImage("FRAMECAPTIONCLOSE17"), nullptr);
    ASSERT_NE(theme->LoadImage("SLIDERTRACK"), nullptr);
    EXPECT_EQ(COSMOffice2007Image::GetInstanceCount(), before + 2);
    theme.reset();
    EXPECT_EQ(COSMOffice2007Image::GetInstanceCount(), before);
}

TEST_F(Office2007ThemeTest, MenuBarTextAtRestOnly)
{
    const COLORREF menuText = theme->MenuBarTextColor;
    ASSERT_NE(menuText, kNoColor);
    EXPECT_EQ(theme->GetStateTextColor(FALSE, FALSE, TRUE, FALSE, FALSE, 0, 0), menuText);
    // Hot, pressed, checked, popped, disabled, or not on a menu bar: the Office look's colour.
    const struct
    {
        BOOL selected, pressed, enabled, checked, popped;
        int barType;
    } others[] = {{TRUE, FALSE, TRUE, FALSE, FALSE, 0},   {FALSE, TRUE, TRUE, FALSE, FALSE, 0},
                  {FALSE, FALSE, FALSE, FALSE, FALSE, 0}, {FALSE, FALSE, TRUE, TRUE, FALSE, 0},
                  {FALSE, FALSE, TRUE, FALSE, TRUE, 0},   {FALSE, FALSE, TRUE, FALSE, FALSE, 1}};
    for (const auto& c : others)
        EXPECT_EQ(theme->GetStateTextColor(c.selected, c.pressed, c.enabled, c.checked, c.popped, c.barType, 0),
                  theme->COSMOffice2003Theme::GetStateTextColor(c.selected, c.pressed, c.enabled, c.checked, c.popped,
                                                                c.barType, 0));
}

}  // namespace
}  // namespace office2007_theme_test
