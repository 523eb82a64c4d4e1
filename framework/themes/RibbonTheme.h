// COSMRibbonTheme: the look that goes with the ribbon bar. The Office 2007 look's colours and images, with the
// highlights of bars and menus, the joined rows of grouped ribbon controls and the check and radio marks drawn from
// the resources' images, and fonts scaled from the system menu font ("Segoe UI" where installed). The factory makes
// it for id 6:
//
//   COSMPaintManager::SetTheme(6);
//
// Each operation falls back to the one it overrides when its image is missing.
#pragma once

#include "framework/themes/Office2007Theme.h"

class COSMRibbonTheme : public COSMOffice2007Theme
{
    DECLARE_DYNCREATE(COSMRibbonTheme)

public:
    COSMRibbonTheme();

    static COSMPaintManager* Create() { return new COSMRibbonTheme; }

    // Override these.
    // The main and drop-down parts from their images (nothing when either is missing), then the drop-down glyph.
    void DrawSplitButtonFrame(CDC* dc, COSMControl* control, CRect rect) override;
    void DrawControlBackground(CDC* dc, COSMControl* control) override;
    // Popups in their frame picture; docked bars in the face pictures of their side; the rest as the Office 2003
    // look.
    void FillCommandBar(CDC* dc, COSMCommandBar* bar) override;
    CSize DrawCommandBarSeparator(CDC* dc, COSMCommandBar* bar, COSMControl* control, BOOL draw) override;
    // Control rectangles stay as laid out.
    void AdjustControlRect(CRect& rect, COSMControl* control, BOOL vertical) override {}
    // A popup's window region leaves out its four corner pixels.
    void SetCommandBarRegion(COSMCommandBar* bar) override;
    void FillPopupBarGripper(CDC* dc, int x, int y, int cx, int cy, BOOL expanded) override;
    void FillPopupLabelBackground(CDC* dc, CRect rect) override;
    void DrawPopupSubMenuGlyph(CDC* dc, COSMControl* control) override;
    // The gripper face, then the height knob (kind 2) centred at the bottom or the corner knob at the bottom right.
    void DrawPopupResizeGripper(CDC* dc, CRect rect, int kind) override;
    COLORREF GetControlTextColor(COSMControl* control) override;
    COLORREF GetStateTextColor(BOOL selected, BOOL pressed, BOOL enabled, BOOL checked, BOOL popped, int barType,
                               int barPosition) override;
    void DrawStateRectangle(CDC* dc, CRect rect, BOOL selected, BOOL pressed, BOOL enabled, BOOL checked, BOOL popped,
                            int barType, int barPosition) override;
    void RefreshMetrics() override;
    CSize DrawCheckBoxMark(CDC* dc, CRect rect, BOOL draw, BOOL selected, BOOL pressed, int checked,
                           BOOL enabled) override;
    CSize DrawRadioButtonMark(CDC* dc, CRect rect, BOOL draw, BOOL selected, BOOL pressed, int checked,
                              BOOL enabled) override;
    int DrawStatusBarSwitchPane(CDC* dc, CRect rect, COSMStatusBarSwitchPane* pane) override;
    void DrawStatusBarPaneBorder(CDC* dc, CRect rect, COSMStatusBarPane* pane, BOOL gripperPane) override;
    void DrawStatusBarPaneSeparator(CDC* dc, CRect rect, COSMStatusBarPane* pane) override;
    void DrawStatusBarGripper(CDC* dc, CRect client) override;
    // The light part up to the first visible pane from the divider on, the divider picture, the dark part after it.
    void FillStatusBar(CDC* dc, COSMStatusBar* bar) override;
    int GetThemeId() const override { return 6; }
    void RefreshFonts() override;
    void DrawDropDownGlyph(CDC* dc, COSMControl* control, CPoint point, BOOL selected, BOOL popped, BOOL enabled,
                           BOOL vertical) override;
    // The caption as the paint manager draws it, then the field and its drop-down button from their image (the
    // Office look's combo box when the image is missing).
    CSize DrawComboBoxControl(CDC* dc, COSMControl* control, BOOL draw) override;
    COLORREF GetControlEditBackColor(COSMControl* control) override;
    // The caption, the field, and the spin buttons from their images (the Office look's when one is missing).
    CSize DrawEditControl(CDC* dc, COSMControl* control, BOOL draw) override;
    // The toolbar expand button (kind 0) from its image with the Office 2003 look's glyphs; the rest as that look.
    CSize DrawSpecialControl(CDC* dc, int kind, COSMControl* control, COSMCommandBar* bar, BOOL draw,
                             LPVOID param) override;
    // With measure set only the tip's window region (no corner pixels); else the tip's gradient, frame and caption.
    void DrawKeyboardTip(CDC* dc, COSMCommandBarKeyboardTip* tip, BOOL measure) override;
    void DrawSplitPopupItem(CDC* dc, COSMControl* control) override;
    // The mark picture at its own size, centred; the paint manager's glyph when the picture is missing.
    void DrawMenuCheckMark(CDC* dc, CRect rect, COLORREF color, BOOL enabled) override;
    void DrawMenuRadioMark(CDC* dc, CRect rect, COLORREF color, BOOL enabled) override;

    // Not meant to be overridden.
    BOOL IsImagesEnabled() const { return TRUE; }
    // The grouped control's joined-row state (0 rest ... 4 checked and hot), as its background strip holds them.
    static int GetGroupedControlState(COSMControl* control);
    // A split button's main and drop-down part states (-1: not drawn), before a grouped button's extra state.
    static int GetSplitMainState(COSMControl* control);
    static int GetSplitDropDownState(COSMControl* control);
    // An edit's spin halves as their picture holds them: upper 0..4, lower 5..9.
    static int GetSpinUpperState(COSMControl* control);
    static int GetSpinLowerState(COSMControl* control);

    // The colours the refresh reads from the "Ribbon" section.
    COLORREF EditBackColor = COSMPaintManagerColor::kNone;
    COLORREF RibbonTextColor = COSMPaintManagerColor::kNone;
    COLORREF RibbonGrayTextColor = RGB(141, 141, 141);

protected:
    // A grouped control begins its row segment (a group or a new row starts with it).
    static BOOL IsGroupedLeftEnd(COSMControl* control);
    // No visible control follows it, or the following one begins a segment.
    static BOOL IsGroupedRightEnd(COSMControl* control);

private:
    // Sets a window's region to its rectangle without the four corner pixels.
    static void SetCornerlessRegion(HWND window);
    // The spin buttons of an edit that shows them; FALSE when a picture is missing.
    BOOL DrawSpinButtonImages(CDC* dc, COSMControl* control, CRect spin, BOOL enabled);
    // The menu mark picture's state at its own size, centred; FALSE when the picture is missing.
    BOOL DrawMenuMarkImage(CDC* dc, CRect rect, int state);
    // Fills and frames a field in two colour-table entries (a field colour of -1 is not filled).
    void DrawRibbonField(CDC* dc, CRect rect, COLORREF fill, int frameIndex);
};
