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

    // Not meant to be overridden.
    BOOL IsImagesEnabled() const { return TRUE; }
    // The grouped control's joined-row state (0 rest ... 4 checked and hot), as its background strip holds them.
    static int GetGroupedControlState(COSMControl* control);
    // A split button's main and drop-down part states (-1: not drawn), before a grouped button's extra state.
    static int GetSplitMainState(COSMControl* control);
    static int GetSplitDropDownState(COSMControl* control);

    // The colours the refresh reads from the "Ribbon" section.
    COLORREF EditBackColor = COSMPaintManagerColor::kNone;
    COLORREF RibbonTextColor = COSMPaintManagerColor::kNone;
    COLORREF RibbonGrayTextColor = RGB(141, 141, 141);

protected:
    // A grouped control begins its row segment (a group or a new row starts with it).
    static BOOL IsGroupedLeftEnd(COSMControl* control);
    // No visible control follows it, or the following one begins a segment.
    static BOOL IsGroupedRightEnd(COSMControl* control);
};
