// COSMWhidbeyTheme: the Office 2003 look in light, warm toolbar colours with single-line separators. Its scheme comes
// from the colour manager's own visual style (blue, olive or silver), not from the paint manager's selection, which
// it sets to 0 so the Office 2003 refresh applies no colour set of its own. The factory makes it for id 4:
//
//   COSMPaintManager::SetTheme(4);
#pragma once

#include "framework/themes/Office2003Theme.h"

class COSMWhidbeyTheme : public COSMOffice2003Theme
{
    DECLARE_DYNAMIC(COSMWhidbeyTheme)

public:
    COSMWhidbeyTheme();
    // On a visual-style table of the caller's (a test's stand-in library), which must outlive the theme.
    explicit COSMWhidbeyTheme(COSMVisualStyleFunctions& styleFunctions);

    static COSMPaintManager* Create() { return new COSMWhidbeyTheme; }

    // Override these.
    void RefreshMetrics() override;
    int GetThemeId() const override { return 4; }

private:
    void InitWhidbeyTheme();
};
