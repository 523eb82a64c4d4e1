// COSMOffice2003Theme: the gradient look of the command bars. Docked bars run in a gradient across the dock (so
// neighbouring bars line up), their faces in a vertical gradient with a shadow line; controls highlight in warm
// gradients under the Windows XP colour schemes. The colours come from the system, or, under the blue, olive and
// silver schemes (and royale and aero, which take the blue one), from the fixed sets of each scheme. The factory
// makes it for id 2:
//
//   COSMPaintManager::SetTheme(2);
//
// The Whidbey and Office 2007 looks derive from it: they change its colours (the members below) and keep its drawing.
#pragma once

#include "classlib/ImageList.h"
#include "framework/themes/OfficeTheme.h"

class COSMOffice2003Theme : public COSMOfficeTheme
{
    DECLARE_DYNAMIC(COSMOffice2003Theme)

public:
    COSMOffice2003Theme();
    // On a visual-style table of the caller's (a test's stand-in library), which must outlive the theme.
    explicit COSMOffice2003Theme(COSMVisualStyleFunctions& styleFunctions);

    static COSMPaintManager* Create() { return new COSMOffice2003Theme; }

    // Override these.
    void FillCommandBar(CDC* dc, COSMCommandBar* bar) override;
    void DrawStateRectangle(CDC* dc, CRect rect, BOOL selected, BOOL pressed, BOOL enabled, BOOL checked, BOOL popped,
                            int barType, int barPosition) override;
    CSize DrawCommandBarGripper(CDC* dc, COSMCommandBar* bar, BOOL draw) override;
    CSize DrawCommandBarSeparator(CDC* dc, COSMCommandBar* bar, COSMControl* control, BOOL draw) override;
    void DrawStatusBarPaneBorder(CDC* dc, CRect rect, COSMStatusBarPane* pane, BOOL gripperPane) override;
    void DrawStatusBarGripper(CDC* dc, CRect client) override;
    void FillDockBar(CDC* dc, COSMDockBar* bar) override;
    void FillMessageBar(CDC* dc, COSMMessageBar* bar) override;
    void RefreshMetrics() override;
    CSize DrawSpecialControl(CDC* dc, int kind, COSMControl* control, COSMCommandBar* bar, BOOL draw,
                             LPVOID param) override;
    CRect GetCommandBarBorders(COSMCommandBar* bar) override;
    CSize DrawTearOffGripper(CDC* dc, CRect rect, BOOL selected, BOOL draw) override;
    CSize DrawDialogBarGripper(CDC* dc, COSMCommandBar* bar, BOOL draw) override;
    void FillPopupBarGripper(CDC* dc, int x, int y, int cx, int cy, BOOL expanded) override;
    int GetThemeId() const override { return 2; }
    // A floating bar draws its own caption frame: not a flat toolbar, and one of the four low flag bits set.
    virtual BOOL HasFloatingBarFrame(COSMCommandBar* bar);

    // The colours the refresh sets (and derived looks overwrite), in gradients of first colour, second colour and
    // factor; "effective" is the custom value where one is set.
    COSMPaintManagerColorGradient DockBarGradient;
    COSMPaintManagerColorGradient ToolbarGradient;
    COSMPaintManagerColorGradient ExpandButtonGradient;
    COSMPaintManagerColorGradient GlyphGradient;
    COSMPaintManagerColorGradient PopupBarGripperGradient;
    COSMPaintManagerColorGradient PopupBarGripperHiddenGradient;
    COSMPaintManagerColorGradient PoppedGradient;
    COSMPaintManagerColor ToolbarShadowColor;
    COSMPaintManagerColor StatusPaneBorderColor;
    COSMPaintManagerColor TearOffGripperColor;
    // A scheme's fixed colour set was applied by the last refresh; the three warm gradients below apply only then.
    BOOL LunaColors = FALSE;
    // Toolbar separators without their light second line (the Whidbey looks).
    BOOL FlatSeparators = FALSE;
    // One 16 x 16 image: the shaded knob of a popup's expand button, in GlyphGradient's colours.
    CImageList GlyphImages;
    COSMPaintManagerColorGradient CheckedGradient;
    COSMPaintManagerColorGradient PushedGradient;
    COSMPaintManagerColorGradient HighlightGradient;

    // Not meant to be overridden.
    // Builds GlyphImages anew from GlyphGradient's effective colours.
    void CreateGlyphImages();

protected:
    // The gradient's effective colours and factor over the rectangle (two halves for a factor other than 0.5),
    // clipped to clip when one is given.
    void FillGradient(CDC* dc, const CRect& rect, const COSMPaintManagerColorGradient& gradient, BOOL horizontal,
                      const CRect* clip = nullptr);
    // The toolbar expand button's glyphs in one colour: the arrow, and the chevrons when controls are hidden.
    void DrawToolBarExpandGlyphs(CDC* dc, CRect rect, BOOL vertical, BOOL hiddenControls, COLORREF color);
    // The gradient's effective colours straight from the first to the second (no factor), then a one-pixel frame.
    void FillGradientFramed(CDC* dc, const CRect& rect, const COSMPaintManagerColorGradient& gradient, BOOL horizontal,
                            int frameIndex);
    // The part of the dock gradient behind a bar: from the left of the reference rectangle (the parent's window in
    // the bar's coordinates, else the bar's client) as wide as it but at least half the screen, clipped to clip.
    void FillDockGradientBehind(CDC* dc, const CRect& reference, const CRect& clip);

private:
    void InitOffice2003Theme();
    void ApplySchemeColors(int style);
    void FillDockedBar(CDC* dc, COSMCommandBar* bar, CRect client);
    void FillFloatingFramedBar(CDC* dc, COSMCommandBar* bar, CRect client);
    void DrawToolBarExpandButton2003(CDC* dc, COSMControl* control, COSMCommandBar* bar, BOOL draw, LPVOID param);
    void DrawPopupExpandButton(CDC* dc, COSMControl* control);
};
