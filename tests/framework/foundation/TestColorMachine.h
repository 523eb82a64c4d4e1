// A machine of a test's own for the colour manager: the real system colours unless the test replaces some, a
// low-colour answer and a visual style (0 none, 1 blue, 2 olive, 3 silver, 4 royale, 5 aero) given as the theme file
// and colour scheme the manager detects it by. Put under the process-wide manager with COSMColorEnvironmentScope:
//
//   foundation_test::TestColorMachine machine;
//   machine.style = 2;
//   COSMColorEnvironmentScope scope(machine);   // GetColorManager()->GetVisualStyle() is now 2
#pragma once

#include "framework/foundation/ColorManager.h"

#include <windows.h>

#include <map>
#include <string>

namespace foundation_test {

class TestColorMachine : public COSMColorEnvironment
{
public:
    int style = 0;
    BOOL lowColor = FALSE;
    // System colours the test replaces, by index.
    std::map<int, COLORREF> colors;

    COLORREF GetSysColor(int index) override
    {
        const auto replaced = colors.find(index);
        return replaced != colors.end() ? replaced->second : ::GetSysColor(index);
    }
    BOOL IsLowColorDisplay() override { return lowColor; }
    BOOL IsThemeActive() override { return style != 0; }
    BOOL GetThemeName(std::wstring* file, std::wstring* colorScheme) override
    {
        static const wchar_t* const kFiles[] = {L"",
                                                L"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles",
                                                L"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles",
                                                L"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles",
                                                L"C:\\WINDOWS\\Resources\\Themes\\Royale\\Royale.msstyles",
                                                L"C:\\Windows\\Resources\\Themes\\Aero\\Aero.msstyles"};
        static const wchar_t* const kSchemes[] = {L"",         L"NormalColor", L"HomeStead",
                                                  L"Metallic", L"NormalColor", L"NormalColor"};
        if (style < 1 || style > 5)
            return FALSE;
        *file = kFiles[style];
        *colorScheme = kSchemes[style];
        return TRUE;
    }
    BOOL GetTreeViewBorderColor(COLORREF*) override { return FALSE; }
};

}  // namespace foundation_test
