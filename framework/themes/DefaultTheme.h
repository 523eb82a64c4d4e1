// COSMDefaultTheme: the classic three-dimensional look, and the look every bar falls back to. Raised and sunken
// frames in the button colours, a face-coloured background, highlight-coloured popup rows and a checkerboard for
// checked buttons. The factory makes it for theme id 0 and for every id without a look of its own:
//
//   COSMPaintManager::SetTheme(0);      // or any id no look claims
//
// All colours are indexes of the paint manager's colour table, resolved with GetColor when drawn. Looks that keep
// most of this drawing (the Native XP one) derive from it and replace the edit, combo and spin parts through the
// three operations this class adds.
#pragma once

#include "framework/commandbars/PaintManager.h"

class COSMDefaultTheme : public COSMPaintManager
{
    DECLARE_DYNAMIC(COSMDefaultTheme)

public:
    COSMDefaultTheme();
    // On a visual-style table of the caller's (a test's stand-in library), which must outlive the theme.
    explicit COSMDefaultTheme(COSMVisualStyleFunctions& styleFunctions);

    static COSMPaintManager* Create() { return new COSMDefaultTheme; }

    // The colour index of enabled text, check and radio marks and sub-menu arrows in popup bars.
    int PopupBarTextColor = COLOR_BTNTEXT;

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
    void RefreshMetrics() override;
    CSize DrawSpecialControl(CDC* dc, int kind, COSMControl* control, COSMCommandBar* bar, BOOL draw,
                             LPVOID extra) override;
    CRect GetCommandBarBorders(COSMCommandBar* bar) override;
    CSize DrawTearOffGripper(CDC* dc, CRect rect, BOOL selected, BOOL draw) override;
    void DrawPopupResizeGripper(CDC* dc, CRect rect, int kind) override;
    void DrawControlImage(CDC* dc, CPoint point, CSize size, COSMImageManagerIcon* image, BOOL selected, BOOL pressed,
                          BOOL enabled, BOOL checked, BOOL popped, BOOL toolbarImage) override;
    CSize DrawDialogBarGripper(CDC* dc, COSMCommandBar* bar, BOOL draw) override;
    int GetThemeId() const override { return 0; }
    CSize GetPopupBarImageSize(COSMCommandBar* bar) override;

    // The parts of edits and combo boxes a derived look draws its own way.
    // The frame inside the edit area.
    virtual void DrawEditControlFrame(CDC* dc, CRect rect, BOOL enabled, int selected);
    virtual void DrawComboBoxDropDownButton(CDC* dc, CRect rect, BOOL enabled, BOOL selected, BOOL dropped);
    // The up and down buttons of an edit that shows them (COSMControlEdit).
    virtual void DrawEditSpinButtons(CDC* dc, COSMControl* control);

protected:
    // The colour indexes of this look: the system colours of those numbers, and the framework's grip-dot colour.
    enum ColorIndex
    {
        kActiveCaption = COLOR_ACTIVECAPTION,
        kInactiveCaption = COLOR_INACTIVECAPTION,
        kWindow = COLOR_WINDOW,
        kCaptionText = COLOR_CAPTIONTEXT,
        kHighlight = COLOR_HIGHLIGHT,
        kHighlightText = COLOR_HIGHLIGHTTEXT,
        kFace = COLOR_BTNFACE,
        kShadow = COLOR_BTNSHADOW,
        kGrayText = COLOR_GRAYTEXT,
        kButtonText = COLOR_BTNTEXT,
        kHighlightEdge = COLOR_BTNHIGHLIGHT,
        kDarkShadow = COLOR_3DDKSHADOW,
        kLight = COLOR_3DLIGHT,
        kGripDots = 38
    };

    // The checked button's fill: the 0x55/0xAA pattern in face and highlight colours; the DC's colours and brush
    // come back as they were.
    void FillCheckerboard(CDC* dc, const CRect& rect);
    // A raised (20 over 16) or sunken (16 over 20) one-pixel frame.
    void DrawRaisedFrame(CDC* dc, const CRect& rect)
    {
        Draw3dRectIndexed(dc, rect, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
    }
    void DrawSunkenFrame(CDC* dc, const CRect& rect)
    {
        Draw3dRectIndexed(dc, rect, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
    }

private:
    void InitDefaultTheme();
    // The popup row's sub-menu arrow, split line and text-part state (steps of DrawPopupBarControl).
    void DrawPopupRowArrowPart(CDC* dc, COSMControl* control, CRect& textRect, BOOL selected, BOOL enabled,
                               COLORREF textColor);
};
