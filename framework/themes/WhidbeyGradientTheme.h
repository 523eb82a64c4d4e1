// COSMWhidbeyGradientTheme: the Whidbey look with rounded, gradient-filled highlights in popup menus, a separator
// indent past the icon column, and popup grippers in each scheme's colours. It reports the Whidbey look's runtime
// class (it has none of its own); the factory makes it for id 7:
//
//   COSMPaintManager::SetTheme(7);
#pragma once

#include "framework/themes/WhidbeyTheme.h"

class COSMWhidbeyGradientTheme : public COSMWhidbeyTheme
{
public:
    COSMWhidbeyGradientTheme();
    // On a visual-style table of the caller's (a test's stand-in library), which must outlive the theme.
    explicit COSMWhidbeyGradientTheme(COSMVisualStyleFunctions& styleFunctions);

    static COSMPaintManager* Create() { return new COSMWhidbeyGradientTheme; }

    // Override these.
    COLORREF GetStateTextColor(BOOL selected, BOOL pressed, BOOL enabled, BOOL checked, BOOL popped, int barType,
                               int barPosition) override;
    void DrawStateRectangle(CDC* dc, CRect rect, BOOL selected, BOOL pressed, BOOL enabled, BOOL checked, BOOL popped,
                            int barType, int barPosition) override;
    CSize DrawCommandBarSeparator(CDC* dc, COSMCommandBar* bar, COSMControl* control, BOOL draw) override;
    void AdjustControlRect(CRect& rect, COSMControl* control, BOOL vertical) override;
    void RefreshMetrics() override;
    CRect GetCommandBarBorders(COSMCommandBar* bar) override;
    void FillPopupBarGripper(CDC* dc, int x, int y, int cx, int cy, BOOL expanded) override;
    int GetThemeId() const override { return 7; }

    // The highlighted row of a popup menu: its face, its rounded border and its text.
    COSMPaintManagerColorGradient PopupHighlightGradient;
    COSMPaintManagerColor PopupHighlightBorderColor;
    COSMPaintManagerColor PopupHighlightTextColor;

private:
    void InitWhidbeyGradientTheme();
    void DrawPopupHighlight(CDC* dc, const CRect& rect);
};
