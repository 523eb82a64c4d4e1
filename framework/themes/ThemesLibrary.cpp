// What the themes library hands the layers below as the program starts: its looks to the theme factory and the
// Office 2007 images and colours to the tip windows. Those know none of them. The library's link option
// (-u OsmRegisterThemes, see CMakeLists.txt) makes every program that links it keep this file, whose initialiser
// then runs before main.
#include "framework/commandbars/PaintManager.h"
#include "framework/controls/ToolTipContextToolTip.h"
#include "framework/themes/DefaultTheme.h"
#include "framework/themes/NativeXPTheme.h"
#include "framework/themes/Office2003Theme.h"
#include "framework/themes/OfficeTheme.h"
#include "framework/themes/Office2007Images.h"
#include "framework/themes/Office2007Theme.h"
#include "framework/themes/RibbonTheme.h"
#include "framework/themes/WhidbeyGradientTheme.h"

namespace {

// Each look's creator under its id; ids without a look of their own fall back to the Default one (id 0).
void EnterThemeCreators()
{
    COSMPaintManager::RegisterThemeCreator(0, &COSMDefaultTheme::Create);
    COSMPaintManager::RegisterThemeCreator(1, &COSMOfficeTheme::Create);
    COSMPaintManager::RegisterThemeCreator(2, &COSMOffice2003Theme::Create);
    COSMPaintManager::RegisterThemeCreator(3, &COSMNativeXPTheme::Create);
    COSMPaintManager::RegisterThemeCreator(4, &COSMWhidbeyTheme::Create);
    COSMPaintManager::RegisterThemeCreator(5, &COSMOffice2007Theme::Create);
    COSMPaintManager::RegisterThemeCreator(6, &COSMRibbonTheme::Create);
    COSMPaintManager::RegisterThemeCreator(7, &COSMWhidbeyGradientTheme::Create);
}

COLORREF GetToolTipOffice2007Color(LPCSTR section, LPCSTR key)
{
    return COSMOffice2007Images::Instance()->GetImageColor(section, key);
}

BOOL DrawToolTipOffice2007Image(CDC* dc, LPCSTR name, const CRect& destination, const CRect& sizingMargins,
                                COLORREF transparent)
{
    COSMOffice2007Image* image = COSMOffice2007Images::Instance()->LoadImage(name);
    if (!image)
        return FALSE;
    image->DrawImage(dc, destination, image->GetStateRect(0, 1), sizingMargins, transparent);
    return TRUE;
}

}  // namespace

extern "C" void OsmRegisterThemes()
{
    COSMPaintManager::SetThemesRegistration(&EnterThemeCreators);
    COSMPaintManager::RegisterThemes();
    COSMToolTipOffice2007Images toolTipImages;
    toolTipImages.pfnGetImageColor = &GetToolTipOffice2007Color;
    toolTipImages.pfnDrawImage = &DrawToolTipOffice2007Image;
    COSMToolTipContextToolTip::RegisterOffice2007Images(toolTipImages);
}

namespace {

[[maybe_unused]] const bool g_themesRegistered = (OsmRegisterThemes(), true);

}  // namespace
