// The Whidbey look's refresh: the Office 2003 colours, then the warm toolbar set of the colour manager's style.
#include "framework/themes/WhidbeyTheme.h"

#include "framework/foundation/ColorManager.h"

IMPLEMENT_DYNAMIC(COSMWhidbeyTheme, COSMOffice2003Theme)

COSMWhidbeyTheme::COSMWhidbeyTheme()
{
    InitWhidbeyTheme();
}

COSMWhidbeyTheme::COSMWhidbeyTheme(COSMVisualStyleFunctions& styleFunctions) : COSMOffice2003Theme(styleFunctions)
{
    InitWhidbeyTheme();
}

void COSMWhidbeyTheme::InitWhidbeyTheme()
{
    // The scheme is the colour manager's; the Office 2003 refresh must not apply one by the selection.
    SetVisualStyleSelection(0);
    FlatSeparators = TRUE;
}

void COSMWhidbeyTheme::RefreshMetrics()
{
    COSMOffice2003Theme::RefreshMetrics();
    COSMColorManager* colors = GetColorManager();
    ExpandButtonGradient.SetStandardColors(
        COSMColorManager::BlendColors(GetColor(COLOR_WINDOW), GetColor(COLOR_BTNFACE), 550), GetColor(COLOR_BTNSHADOW),
        0.5f);
    if (colors->IsLowColorScreen())
        ExpandButtonGradient.SetStandardColor(GetColor(COLOR_BTNFACE));

    const int style = colors->GetVisualStyle();
    if (style == COSMColorManager::kStyleLunaBlue || style == COSMColorManager::kStyleLunaOlive)
    {
        const bool olive = style == COSMColorManager::kStyleLunaOlive;
        ToolbarGradient.SetStandardColors(RGB(250, 249, 245), RGB(192, 192, 168), 0.75f);
        ExpandButtonGradient.SetStandardColors(RGB(238, 237, 234), olive ? RGB(176, 172, 158) : RGB(152, 152, 126),
                                               0.75f);
        DockBarGradient.SetStandardColors(RGB(229, 229, 215), RGB(244, 241, 231), 0.5f);
        ToolbarShadowColor.SetStandardValue(RGB(163, 163, 124));
        PopupBarGripperGradient.SetStandardColor(RGB(204, 199, 186));
        GlyphGradient.SetFromEffective(ToolbarGradient);
        if (olive)
        {
            GetFaceGradient().SetStandardColors(RGB(236, 233, 216), RGB(172, 168, 153), 0.5f);
            const UINT entries[] = {kHotFill, kCheckedFill, kPressedFill, kPressedText};
            const COLORREF values[] = {RGB(182, 198, 141), RGB(182, 198, 141), RGB(147, 160, 112), RGB(255, 255, 255)};
            SetColors(4, entries, values);
        }
        else
        {
            GetFaceGradient().SetStandardColors(RGB(247, 245, 249), RGB(122, 121, 153), 0.5f);
        }
    }
    else if (style == COSMColorManager::kStyleLunaSilver)
    {
        ToolbarGradient.SetStandardColors(RGB(243, 244, 250), RGB(153, 151, 181), 0.75f);
        ExpandButtonGradient.SetStandardColors(RGB(179, 178, 200), RGB(118, 116, 146), 0.75f);
        DockBarGradient.SetStandardColors(RGB(215, 215, 229), RGB(243, 243, 247), 0.5f);
        ToolbarShadowColor.SetStandardValue(RGB(124, 124, 148));
        PopupBarGripperGradient.SetStandardColors(RGB(215, 215, 226), RGB(133, 131, 162), 0.5f);
        GlyphGradient.SetStandardColors(RGB(232, 232, 241), RGB(176, 174, 197), 0.5f);
        GetFaceGradient().SetStandardColors(RGB(247, 245, 249), RGB(122, 121, 153), 0.5f);
        TearOffGripperColor.SetStandardValue(RGB(192, 192, 211));
        GetFloatingCaptionColor().SetStandardValue(RGB(122, 121, 153));
        const UINT entries[] = {kDisabledPopupText, kDisabledToolBarText, kSeparatorLines, kGripperLines,
                                kBarFace,           kFloatingBorder,      kHotFill,        kHotFrame,
                                kCheckedFrame,      kPressedFrame,        kPressedFill,    kCheckedFill,
                                kPressedText};
        const COLORREF values[] = {RGB(141, 141, 141), RGB(141, 141, 141), RGB(110, 109, 143), RGB(84, 84, 117),
                                   RGB(219, 218, 228), RGB(122, 121, 153), RGB(255, 238, 194), RGB(75, 75, 111),
                                   RGB(75, 75, 111),   RGB(75, 75, 111),   RGB(254, 128, 62),  RGB(255, 192, 111),
                                   RGB(0, 0, 0)};
        SetColors(13, entries, values);
    }

    PopupBarGripperHiddenGradient.SetFromEffective(ToolbarGradient);
    CreateGlyphImages();
}
