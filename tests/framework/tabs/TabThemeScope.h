// The synthetic theme module of the Office 2007 tests under the process-wide theme images while a scope lives: its
// text "TEST_TABS" gives each key the tab sets read a colour of its own (key n of the list below is
// RGB(100 + n, 10 + n, 20 + n)), and each state of its tab images is a colour of its own with its two bottom rows, the
// tab's base, in a marker colour.
#pragma once

#include <windows.h>

#include "framework/themes/Office2007Images.h"

namespace tabs_test {

class TabThemeScope
{
public:
    TabThemeScope()
    {
        m_module = ::LoadLibraryA(OSM_TAB_THEME_MODULE);
        if (m_module)
            COSMOffice2007Images::Instance()->SetResourceModule(m_module, "TEST_TABS");
    }
    ~TabThemeScope()
    {
        // Back to the program's own module, which holds no theme text.
        COSMOffice2007Images::Instance()->SetResourceModule(::GetModuleHandleA(nullptr));
        if (m_module)
            ::FreeLibrary(m_module);
    }
    TabThemeScope(const TabThemeScope&) = delete;
    TabThemeScope& operator=(const TabThemeScope&) = delete;

    bool IsLoaded() const { return m_module && COSMOffice2007Images::Instance()->IsValid(); }

    // The keys in the text's order: TabManager's FrameBorder 1, DarkShadow 2, LightShadow 3, AccessBorder 4,
    // AccessHeader 5; Ribbon's RibbonFace 6, TabNormalText 7, TabSelectedText 8; Window's ButtonFace 9,
    // HighlightChecked 10, HighlightSelected 11, WindowFrame 12.
    static COLORREF Key(int n) { return RGB(100 + n, 10 + n, 20 + n); }
    // Images in order: RIBBONTAB 0 (6 states), RIBBONGROUPS 1 (1), ACCESSTAB 2 (4), TOOLBARBUTTONS22 3 (4).
    static COLORREF StateColor(int nImage, int nState)
    {
        return RGB(30 + 50 * nImage, 20 + 35 * nState, 220 - 30 * nState);
    }
    static constexpr COLORREF kBaseMarker = RGB(255, 0, 1);

private:
    HMODULE m_module = nullptr;
};

}  // namespace tabs_test
