// COSMOfficeTheme: the flat look of the command bars. No 3-D edges: bars in a face colour with rounded corners, hot
// and pressed controls as filled rectangles with a one-pixel frame, popups with a coloured icon column, thin
// separators, dotted grippers, and a popup that merges with the button that opened it. The factory makes it for id 1:
//
//   COSMPaintManager::SetTheme(1);
//
// The colour roles below are the contract of the flat looks: the Office 2003, Whidbey, Office 2007 and Ribbon looks
// derive from this class and fill the same indexes with their own colours, so their code and tests speak of the
// roles ("hot fill", "pressed frame"), not of numbers.
#pragma once

#include "framework/commandbars/PaintManager.h"

class COSMPopupBar;

class COSMOfficeTheme : public COSMPaintManager
{
    DECLARE_DYNAMIC(COSMOfficeTheme)

public:
    COSMOfficeTheme();
    // On a visual-style table of the caller's (a test's stand-in library), which must outlive the theme.
    explicit COSMOfficeTheme(COSMVisualStyleFunctions& styleFunctions);

    static COSMPaintManager* Create() { return new COSMOfficeTheme; }

    // The colour-index roles of the flat looks.
    enum OfficeColor : int
    {
        // System colours the look uses by number.
        kWindow = COLOR_WINDOW,
        kFace = COLOR_BTNFACE,
        kShadow = COLOR_BTNSHADOW,
        kGrayText = COLOR_GRAYTEXT,
        kButtonText = COLOR_BTNTEXT,
        // Docked bars, the popup icon column, the tear-off strip, the resize gripper area, a popup's opening.
        kBarFace = 30,
        // Selected or pressed alone; the face of selected spin buttons.
        kHotFill = 31,
        // Its frame; the frame of a selected edit or combo box; split dividers; disabled keyboard-selected items.
        kHotFrame = 32,
        // Pressed controls and spin buttons.
        kPressedFill = 33,
        // Disabled popup text; disabled check-box and radio outlines and marks.
        kDisabledPopupText = 35,
        kCheckedFill = 36,
        kCheckedFrame = 37,
        kGripperLines = 38,
        // Separators; the status bar's pane separator.
        kSeparatorLines = 39,
        // Disabled icons in one colour; frames of disabled edits and combo boxes; disabled drop-down arrows.
        kDisabledIcon = 40,
        // Popup background; list-box rows; the tear-off border; the face of floating popups.
        kPopupBackground = 41,
        // The icon column beside rows hidden until the popup is expanded.
        kExpandedIconColumn = 42,
        // Popup border; frame of a popped control.
        kPopupBorder = 43,
        // Popup text; toolbar text of controls on popup-position bars.
        kPopupText = 44,
        // Text of selected or checked controls.
        kSelectedText = 45,
        // Toolbar text; popped control text.
        kToolBarText = 46,
        // Pressed text; the arrow of a dropped combo box.
        kPressedText = 47,
        kPressedFrame = 50,
        // The fill of checked value 2 (the third state); the fill of a disabled radio button.
        kThirdStateFill = 51,
        // The frame of an idle check box or radio button.
        kIdleMarkFrame = 52,
        // Edit and combo frames on popup bars; the idle combo button's face there.
        kPopupEditFrame = 53,
        kPopupLabelBackground = 56,
        kDisabledCheckedFrame = 58,
        kDisabledToolBarText = 60,
        kFloatingBorder = 61
    };

    // Override these.
    CSize DrawPopupBarControl(CDC* dc, COSMControl* control, BOOL draw) override;
    void DrawSplitButtonFrame(CDC* dc, COSMControl* control, CRect rect) override;
    CSize DrawComboBoxControl(CDC* dc, COSMControl* control, BOOL draw) override;
    CSize DrawEditControl(CDC* dc, COSMControl* control, BOOL draw) override;
    CSize DrawListBoxControl(CDC* dc, COSMControl* control, CRect rect, BOOL selected, BOOL draw,
                             COSMCommandBars* commandBars) override;
    void FillCommandBar(CDC* dc, COSMCommandBar* bar) override;
    COLORREF GetStateTextColor(BOOL selected, BOOL pressed, BOOL enabled, BOOL checked, BOOL popped, int barType,
                               int barPosition) override;
    void DrawStateRectangle(CDC* dc, CRect rect, BOOL selected, BOOL pressed, BOOL enabled, BOOL checked, BOOL popped,
                            int barType, int barPosition) override;
    CSize DrawCommandBarGripper(CDC* dc, COSMCommandBar* bar, BOOL draw) override;
    CSize DrawCommandBarSeparator(CDC* dc, COSMCommandBar* bar, COSMControl* control, BOOL draw) override;
    void AdjustControlRect(CRect& rect, COSMControl* control, BOOL vertical) override;
    void DrawStatusBarPaneBorder(CDC* dc, CRect rect, COSMStatusBarPane* pane, BOOL gripperPane) override;
    void DrawStatusBarPaneSeparator(CDC* dc, CRect rect, COSMStatusBarPane* pane) override;
    CSize DrawTearOffGripper(CDC* dc, CRect rect, BOOL selected, BOOL draw) override;
    void DrawPopupResizeGripper(CDC* dc, CRect rect, int kind) override;
    void DrawControlImage(CDC* dc, CPoint point, CSize size, COSMImageManagerIcon* image, BOOL selected, BOOL pressed,
                          BOOL enabled, BOOL checked, BOOL popped, BOOL toolbarImage) override;
    CSize DrawDialogBarGripper(CDC* dc, COSMCommandBar* bar, BOOL draw) override;
    CSize DrawCheckBoxMark(CDC* dc, CRect rect, BOOL draw, BOOL selected, BOOL pressed, int checked,
                           BOOL enabled) override;
    CSize DrawRadioButtonMark(CDC* dc, CRect rect, BOOL draw, BOOL selected, BOOL pressed, int checked,
                              BOOL enabled) override;
    void FillPopupBarGripper(CDC* dc, int x, int y, int cx, int cy, BOOL expanded) override;
    int GetThemeId() const override { return 1; }

    // The parts of popup rows the later flat looks draw their own way.
    // The arrow part of a split popup row (the rightmost popup split width).
    virtual void DrawSplitPopupItem(CDC* dc, COSMControl* control);
    // The right-pointing arrow of a row that opens a sub-menu.
    virtual void DrawPopupSubMenuGlyph(CDC* dc, COSMControl* control);
    virtual void FillPopupLabelBackground(CDC* dc, CRect rect);

    // Not meant to be overridden.
    // Fills, in the popup's client coordinates, the stretch where the popup overlaps the control that opened it,
    // less one pixel at each end, so that the border opens towards the button. Nothing for a popup opened at a
    // point or from another popup's row.
    void FillIntersectRect(CDC* dc, COSMPopupBar* popupBar, COLORREF color);
    // The up and down buttons of an edit that shows them (part of DrawEditControl).
    void DrawEditSpinButtons(CDC* dc, COSMControl* control);

private:
    void InitOfficeTheme();
};
