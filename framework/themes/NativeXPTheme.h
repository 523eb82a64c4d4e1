// COSMNativeXPTheme: the command bars in the operating system's own visual styles, so that toolbars, menus, combo
// boxes and spin buttons look like the native controls of the current Windows theme. The factory makes it for id 3:
//
//   COSMPaintManager::SetTheme(3);
//
// It draws through six visual-style classes ("REBAR", "TOOLBAR", "COMBOBOX", "WINDOW", "SPIN", "MENU") on the
// visual-style table it was made with, and falls back to the Default look operation by operation: bars, grippers,
// separators and state frames when the look is not styled (IsStyled), menu marks, the icon column and popup text
// when "MENU" is not themed, edits and combo boxes when "COMBOBOX" is not, spin buttons when "SPIN" is not.
#pragma once

#include "framework/themes/DefaultTheme.h"

class COSMDockBar;

class COSMNativeXPTheme : public COSMDefaultTheme
{
    DECLARE_DYNAMIC(COSMNativeXPTheme)

public:
    // The wrappers on the process-wide table that follows reloads.
    COSMNativeXPTheme();
    // On a visual-style table of the caller's (a test's stand-in library), which must outlive the theme.
    explicit COSMNativeXPTheme(COSMVisualStyleFunctions& styleFunctions);
    ~COSMNativeXPTheme() override;

    static COSMPaintManager* Create() { return new COSMNativeXPTheme; }

    // The system's flat-menu setting as the last refresh read it: flat popup frames, and menu-bar highlights in
    // their own colour (index 29) instead of the selection colour.
    BOOL FlatMenus = TRUE;

    // Both "REBAR" and "TOOLBAR" are open and the application is drawn with visual styles.
    BOOL IsStyled();

    COSMVisualStyleWrapper& GetRebarTheme() { return m_rebarTheme; }
    COSMVisualStyleWrapper& GetToolBarTheme() { return m_toolBarTheme; }
    COSMVisualStyleWrapper& GetComboBoxTheme() { return m_comboBoxTheme; }
    COSMVisualStyleWrapper& GetWindowTheme() { return m_windowTheme; }
    COSMVisualStyleWrapper& GetSpinTheme() { return m_spinTheme; }
    COSMVisualStyleWrapper& GetMenuTheme() { return m_menuTheme; }
    COLORREF GetBandEdgeShadowColor() const { return m_bandEdgeShadowColor; }
    COLORREF GetBandEdgeHighlightColor() const { return m_bandEdgeHighlightColor; }

    // Override these.
    void DrawSplitButtonFrame(CDC* dc, COSMControl* control, CRect rect) override;
    void FillCommandBar(CDC* dc, COSMCommandBar* bar) override;
    void DrawControlBackground(CDC* dc, COSMControl* control) override;
    COLORREF GetControlTextColor(COSMControl* control) override;
    COLORREF GetStateTextColor(BOOL selected, BOOL pressed, BOOL enabled, BOOL checked, BOOL popped, int barType,
                               int barPosition) override;
    void DrawStateRectangle(CDC* dc, CRect rect, BOOL selected, BOOL pressed, BOOL enabled, BOOL checked, BOOL popped,
                            int barType, int barPosition) override;
    CSize DrawCommandBarGripper(CDC* dc, COSMCommandBar* bar, BOOL draw) override;
    CSize DrawCommandBarSeparator(CDC* dc, COSMCommandBar* bar, COSMControl* control, BOOL draw) override;
    void AdjustControlRect(CRect& rect, COSMControl* control, BOOL vertical) override;
    void FillDockBar(CDC* dc, COSMDockBar* bar) override;
    void RefreshMetrics() override;
    CSize DrawSpecialControl(CDC* dc, int kind, COSMControl* control, COSMCommandBar* bar, BOOL draw,
                             LPVOID extra) override;
    CSize DrawDialogBarGripper(CDC* dc, COSMCommandBar* bar, BOOL draw) override;
    void FillPopupBarGripper(CDC* dc, int x, int y, int cx, int cy, BOOL expanded) override;
    int GetThemeId() const override { return 3; }
    // The mark is drawn disabled when its colour is the grey-text colour (the popup row passes that for disabled
    // rows, the popup text colour otherwise).
    void DrawMenuCheckMark(CDC* dc, CRect rect, COLORREF color, BOOL enabled) override;
    void DrawMenuRadioMark(CDC* dc, CRect rect, COLORREF color, BOOL enabled) override;
    int GetPopupBarGripperWidth(COSMCommandBar* bar) override;
    void DrawEditControlFrame(CDC* dc, CRect rect, BOOL enabled, int selected) override;
    void DrawComboBoxDropDownButton(CDC* dc, CRect rect, BOOL enabled, BOOL selected, BOOL dropped) override;
    void DrawEditSpinButtons(CDC* dc, COSMControl* control) override;

protected:
    // Reads the system's flat-menu setting (SPI_GETFLATMENU); FALSE when the call fails. Tests put in their own.
    virtual BOOL ReadFlatMenuSetting(BOOL* flatMenus);

private:
    // Parts and properties of the visual-style classes, as the platform numbers them, and the menu colours.
    enum NativeXPStyleNumber
    {
        kXPRebarBackground = 0,
        kXPRebarGripper = 1,      // RP_GRIPPER
        kXPRebarGripperVert = 2,  // RP_GRIPPERVERT
        kXPRebarBand = 3,         // RP_BAND
        kXPToolBarBackground = 0,
        kXPToolBarButton = 1,             // TP_BUTTON
        kXPToolBarSplitButton = 3,        // TP_SPLITBUTTON
        kXPToolBarSplitDropDown = 4,      // TP_SPLITBUTTONDROPDOWN
        kXPToolBarSeparator = 5,          // TP_SEPARATOR
        kXPToolBarSeparatorVert = 6,      // TP_SEPARATORVERT
        kXPComboDropDownButton = 1,       // CP_DROPDOWNBUTTON
        kXPSpinUp = 1,                    // SPNP_UP
        kXPSpinDown = 2,                  // SPNP_DOWN
        kXPWindowSmallCaption = 2,        // WP_SMALLCAPTION
        kXPWindowFrameLeft = 10,          // WP_SMALLFRAMELEFT
        kXPWindowFrameRight = 11,         // WP_SMALLFRAMERIGHT
        kXPWindowFrameBottom = 12,        // WP_SMALLFRAMEBOTTOM
        kXPMenuPopupBackground = 9,       // MENU_POPUPBACKGROUND
        kXPMenuPopupBorders = 10,         // MENU_POPUPBORDERS
        kXPMenuPopupCheck = 11,           // MENU_POPUPCHECK
        kXPMenuPopupCheckBack = 12,       // MENU_POPUPCHECKBACKGROUND
        kXPMenuPopupGutter = 13,          // MENU_POPUPGUTTER
        kXPMenuPopupItem = 14,            // MENU_POPUPITEM
        kXPMenuPopupSeparator = 15,       // MENU_POPUPSEPARATOR
        kXPFlatMenusProperty = 1001,      // TMT_FLATMENUS
        kXPBorderSizeProperty = 2403,     // TMT_BORDERSIZE
        kXPBorderColorProperty = 3801,    // TMT_BORDERCOLOR
        kXPTextColorProperty = 3803,      // TMT_TEXTCOLOR
        kXPEdgeHighlightProperty = 3805,  // TMT_EDGEHIGHLIGHTCOLOR
        kXPEdgeShadowProperty = 3806,     // TMT_EDGESHADOWCOLOR
        kXPMenuColor = COLOR_MENU,
        kXPMenuHighlight = COLOR_MENUHILIGHT,
        kXPMenuText = COLOR_MENUTEXT
    };

    // The wrapper holds an open handle and the application is drawn with visual styles.
    static BOOL IsThemed(COSMVisualStyleWrapper& theme) { return theme.IsOpen() && theme.IsAppThemed(); }
    // The rebar's background over the reference window, in the target's client coordinates and clipped to its
    // client rectangle, so that neighbouring bars show one background; the face colour when not styled.
    void FillRebarBackground(CDC* dc, HWND target, HWND reference);
    // The floating bar's caption strip and title.
    CSize DrawFloatingCaption(CDC* dc, COSMCommandBar* bar, BOOL draw);
    // A menu-bar popup button on a flat menu bar, drawn in the selection colours while styled.
    BOOL IsFlatMenuBarPopup(COSMControl* control);

    COSMVisualStyleWrapper m_rebarTheme;
    COSMVisualStyleWrapper m_toolBarTheme;
    COSMVisualStyleWrapper m_comboBoxTheme;
    COSMVisualStyleWrapper m_windowTheme;
    COSMVisualStyleWrapper m_spinTheme;
    COSMVisualStyleWrapper m_menuTheme;
    COLORREF m_bandEdgeShadowColor = 0;
    COLORREF m_bandEdgeHighlightColor = 0;
};
