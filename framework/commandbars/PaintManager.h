// COSMPaintManager: the one painter of command bars and their controls. Bars and controls never draw themselves;
// they call its virtual operations, and each look (a theme) is a class derived from it that supplies the pure
// ones. The process-wide manager is installed through SetTheme or SetCustomTheme and released at exit:
//
//   COSMPaintManager::SetTheme(0);                       // the theme registered for id 0
//   COSMPaintManager* pm = COSMPaintManager::GetGlobalPaintManager();
//   dc.SelectObject(pm->GetControlFont(control));
//   dc.SetTextColor(pm->GetColor(COLOR_BTNTEXT));
//
// Themes register a creator for their id (RegisterThemeCreator); the factory falls back to id 0's creator and
// gives null when none is registered, so command bars can be built and tested before any theme exists.
#pragma once

#include "classlib/CString.h"
#include "classlib/CmdTarget.h"
#include "classlib/Gdi.h"
#include "classlib/Geometry.h"
#include "classlib/RefPtr.h"

#include <memory>

#include "framework/foundation/PaintManagerColor.h"
#include "framework/commandbars/PaintManagerFont.h"
#include "framework/commandbars/PartPaintManager.h"
#include "framework/foundation/VisualStyleWrapper.h"
#include "framework/foundation/WindowFunctions.h"

class COSMControl;
class COSMControls;
class COSMCommandBar;
class COSMCommandBars;
class COSMImageManagerIcon;
class COSMStatusBar;
class COSMStatusBarPane;
class COSMStatusBarSwitchPane;
class COSMMessageBar;
struct COSMMessageBarButton;
class COSMDockBar;
class COSMCommandBarKeyboardTip;
class COSMShadowManager;

typedef BOOL(WINAPI* PFNSETLAYEREDWINDOWATTRIBUTES)(HWND, COLORREF, BYTE, DWORD);

// The icon options the command bars' options save.
struct COSMPaintManagerIconsInfo
{
    DWORD useFadedIcons = 0;
    DWORD useDisabledIcons = 0;
    DWORD iconsWithShadow = 0;
    // Icons without a disabled image get one built in the face gradient's colours instead of plain grey.
    DWORD buildDisabledIcons = 0;
};

// Sets the alpha byte of every pixel of the DC's rectangle to 255, keeping the colours.
void MakeRectOpaque(CDC* dc, int left, int top, int right, int bottom);
void MakeRectOpaque(CDC* dc, const RECT& rect);

// Splits a caption at the space nearest its middle; first is the whole caption when no space is near enough.
void SplitCaptionInTwoLines(const CString& caption, CString& first, CString& second);
// A polygon of the three points, filled and outlined in the colour.
void DrawTriangle(CDC* dc, CPoint p0, CPoint p1, CPoint p2, COLORREF color);
// Whether an edit or combo box shows its icon: in a popup bar when its icon id is above 0; elsewhere when its style
// is 2 or 3 and its icon id is not 0.
BOOL IsEditIconVisible(const COSMControl* control);

// One line of text: through the visual style's buffered painting when it lies on a caption the desktop compositor
// draws (composited TRUE), else with DrawTextA. Whatever fails on the buffered path (no GLOBALS style, styles off,
// no buffer, the themed text call) falls back to DrawTextA with the same flags, so the text never goes missing.
void DrawThemeTextBuffered(CDC* dc, const CString& text, CRect rect, UINT format, BOOL composited);
// The same through a table of the caller's (a test's stand-in library) instead of the second process-wide one.
void DrawThemeTextBuffered(COSMVisualStyleFunctions& functions, CDC* dc, const CString& text, CRect rect, UINT format,
                           BOOL composited);
// How DrawThemeTextBuffered draws on the composited path: the style's class, part and state, the option flags and
// glow, the font (null: the target's) and the text colour, and the colour of the plain text that stands in when the
// buffered path fails (CLR_INVALID: the target's text colour).
struct COSMThemeTextStyle
{
    LPCWSTR themeClass = L"GLOBALS";
    int part = 0;
    int state = 0;
    DWORD flags = 0;
    int glowSize = 0;
    HFONT font = nullptr;
    COLORREF textColor = CLR_INVALID;
    COLORREF fallbackColor = CLR_INVALID;
};
// Always the composited path in that style (failures fall back as above).
void DrawThemeTextBuffered(COSMVisualStyleFunctions& functions, CDC* dc, const CString& text, CRect rect, UINT format,
                           const COSMThemeTextStyle& style);

class COSMPaintManager : public CCmdTarget
{
    DECLARE_DYNAMIC(COSMPaintManager)

public:
    // Creates a theme; null when out of memory.
    typedef COSMPaintManager* (*ThemeCreator)();
    static const int kThemeIdCount = 8;
    static const int kCustomThemeId = 8;
    static const int kColorCount = 63;

    // The part painters higher libraries supply (PartPaintManager.h): each registers a creator for its parts while
    // the program starts. The gallery, slider and progress painters are made with the manager, the frame and ribbon
    // painters on first request.
    enum PartPainter
    {
        kGalleryPainter,
        kSliderPainter,
        kProgressPainter,
        kFramePainter,
        kPartPainterCount
    };
    typedef COSMPartPaintManager* (*PartPainterCreator)(COSMPaintManager* owner);
    typedef COSMSharedPartPaintManager* (*RibbonPainterCreator)(COSMPaintManager* owner);
    // Whether a control lies on a caption the desktop compositor draws (the ribbon's); none does unless a library
    // registers its test.
    typedef BOOL (*DwmCaptionTest)(const COSMControl* control);
    static void RegisterPartPainter(PartPainter part, PartPainterCreator creator);
    static void RegisterRibbonPainter(RibbonPainterCreator creator);
    static void RegisterDwmCaptionTest(DwmCaptionTest test);
    static BOOL IsControlOnDwmCaption(const COSMControl* control);
    // Whether a control's ribbon group joins its controls into toolbar-like rows (the ribbon's groups know; the
    // looks that draw joined rows ask); no control is grouped unless a library registers its test.
    typedef BOOL (*ControlGroupingTest)(const COSMControl* control);
    static void RegisterControlGroupingTest(ControlGroupingTest test);
    static BOOL IsControlGrouped(const COSMControl* control);

    // Both visual-style wrappers on the process-wide table that follows reloads.
    COSMPaintManager();
    // On a table of the caller's (a test's stand-in library), which must outlive the manager.
    explicit COSMPaintManager(COSMVisualStyleFunctions& styleFunctions);
    ~COSMPaintManager() override;

    // Override these (the command bars call them; the themes supply the pure ones).
    virtual CSize DrawPopupBarControl(CDC* dc, COSMControl* control, BOOL draw);
    virtual CSize DrawToolBarControl(CDC* dc, COSMControl* control, BOOL draw);
    virtual void DrawSplitButtonFrame(CDC* dc, COSMControl* control, CRect rect) = 0;
    virtual CSize DrawComboBoxControl(CDC* dc, COSMControl* control, BOOL draw);
    virtual COLORREF GetControlEditBackColor(COSMControl* control);
    virtual CSize DrawEditControl(CDC* dc, COSMControl* control, BOOL draw);
    virtual CSize DrawListBoxControl(CDC* dc, COSMControl* control, CRect rect, BOOL selected, BOOL draw,
                                     COSMCommandBars* commandBars) = 0;
    virtual void FillCommandBar(CDC* dc, COSMCommandBar* bar) = 0;
    virtual void DrawControlBackground(CDC* dc, COSMControl* control);
    virtual COLORREF GetControlTextColor(COSMControl* control);
    virtual COLORREF GetStateTextColor(BOOL selected, BOOL pressed, BOOL enabled, BOOL checked, BOOL popped,
                                       int barType, int barPosition) = 0;
    virtual void DrawStateRectangle(CDC* dc, CRect rect, BOOL selected, BOOL pressed, BOOL enabled, BOOL checked,
                                    BOOL popped, int barType, int barPosition) = 0;
    virtual CSize DrawCommandBarGripper(CDC* dc, COSMCommandBar* bar, BOOL draw);
    virtual CSize DrawCommandBarSeparator(CDC* dc, COSMCommandBar* bar, COSMControl* control, BOOL draw) = 0;
    virtual void AdjustControlRect(CRect& rect, COSMControl* control, BOOL vertical) = 0;
    virtual void DrawStatusBarPaneEntry(CDC* dc, CRect rect, COSMStatusBarPane* pane);
    virtual void DrawStatusBarPaneButton(CDC* dc, CRect rect, COSMStatusBarPane* pane);
    // With a null DC every switch gets its width and the total comes back; drawing returns 0.
    virtual int DrawStatusBarSwitchPane(CDC* dc, CRect rect, COSMStatusBarSwitchPane* pane);
    virtual void DrawStatusBarPaneBorder(CDC* dc, CRect rect, COSMStatusBarPane* pane, BOOL gripperPane);
    virtual void DrawStatusBarPaneSeparator(CDC* dc, CRect rect, COSMStatusBarPane* pane);
    virtual void DrawStatusBarGripper(CDC* dc, CRect client);
    virtual void FillDockBar(CDC* dc, COSMDockBar* bar);
    virtual void FillMessageBar(CDC* dc, COSMMessageBar* bar);
    virtual void DrawMessageBarButton(CDC* dc, COSMMessageBarButton* button);
    virtual void FillStatusBar(CDC* dc, COSMStatusBar* bar);
    // The status panes' and switches' icons: the icon of that command id in the bar's image manager (the paint
    // manager's without a bar), any width; (0, 0) is no icon.
    virtual CSize GetStatusIconSize(COSMStatusBar* bar, int iconId);
    // state: 0 normal, 1 disabled, 3 checked.
    virtual void DrawStatusIcon(CDC* dc, COSMStatusBar* bar, int iconId, CPoint point, int state);
    virtual void RefreshMetrics();
    virtual CSize DrawSpecialControl(CDC* dc, int kind, COSMControl* control, COSMCommandBar* bar, BOOL draw,
                                     LPVOID extra);
    virtual CRect GetCommandBarBorders(COSMCommandBar* bar);
    virtual CSize DrawTearOffGripper(CDC* dc, CRect rect, BOOL selected, BOOL draw) = 0;
    virtual void DrawPopupResizeGripper(CDC* dc, CRect rect, int kind) = 0;
    virtual void DrawControlImage(CDC* dc, CPoint point, CSize size, COSMImageManagerIcon* image, BOOL selected,
                                  BOOL pressed, BOOL enabled, BOOL checked, BOOL popped, BOOL toolbarImage) = 0;
    virtual CSize DrawDialogBarGripper(CDC* dc, COSMCommandBar* bar, BOOL draw) = 0;
    virtual CRect GetSplitButtonCommandRect(COSMControl* control);
    virtual void SetCommandBarRegion(COSMCommandBar* bar);
    virtual CSize DrawCheckBoxMark(CDC* dc, CRect rect, BOOL draw, BOOL selected, BOOL pressed, int checked,
                                   BOOL enabled);
    virtual CSize DrawRadioButtonMark(CDC* dc, CRect rect, BOOL draw, BOOL selected, BOOL pressed, int checked,
                                      BOOL enabled);
    virtual void FillPopupBarGripper(CDC* dc, int x, int y, int cx, int cy, BOOL expanded);
    // The look this class paints, 0 to 7.
    virtual int GetThemeId() const = 0;
    virtual CFont* GetControlFont(COSMControl* control);
    virtual CFont* GetCommandBarFont(COSMCommandBar* bar);
    virtual int GetControlTextOrientation(COSMControl* control);
    virtual void RefreshFonts();
    virtual void RefreshStandardColors();
    // A checked popup row's mark in color; enabled tells looks that draw disabled marks their own way.
    virtual void DrawMenuCheckMark(CDC* dc, CRect rect, COLORREF color, BOOL enabled);
    virtual void DrawMenuRadioMark(CDC* dc, CRect rect, COLORREF color, BOOL enabled);
    virtual void DrawDownTriangle(CDC* dc, CRect rect, COLORREF color);
    virtual void DrawDropDownGlyph(CDC* dc, COSMControl* control, CPoint point, BOOL selected, BOOL popped,
                                   BOOL enabled, BOOL vertical);
    // Brings the source image onto the destination step by step: kind 2 unfolds from the corner, 3 slides down,
    // 4 fades; any other kind draws nothing. The rectangle's left and top are source coordinates too.
    virtual void Animate(CDC* destination, CDC* source, CRect rect, int kind);
    // Reveals a popup bar's hidden controls: their bands grow while the others make room.
    virtual void AnimateExpanding(COSMCommandBar* bar, CDC* destination, CDC* source, BOOL downward);
    // Kept for the order of the operations; nothing calls it.
    virtual void ReservedOperation(int value);
    virtual int GetPopupBarGripperWidth(COSMCommandBar* bar);
    // The MDI client area; the rectangle excluded from it is the themes' affair.
    virtual void FillWorkspace(CDC* dc, CRect rect, CRect exclude);
    virtual void DrawKeyboardTip(CDC* dc, COSMCommandBarKeyboardTip* tip, BOOL measure);
    virtual BOOL IsFlatToolBar(COSMCommandBar* bar);
    virtual CSize GetPopupBarImageSize(COSMCommandBar* bar);
    virtual int DrawPopupBarText(CDC* dc, const CString& text, CRect& rect, UINT format, BOOL draw, BOOL selected,
                                 BOOL enabled);

    // Not meant to be overridden.
    // An index above 62 is a colour already and comes back unchanged.
    COLORREF GetColor(int index) const;
    void SetColors(int count, const UINT* indices, const COLORREF* colors);
    COSMPaintManagerColor& GetColorEntry(int index) { return m_colors[index]; }
    int GetEffectiveVisualStyle() const;
    int GetVisualStyleSelection() const { return m_visualStyleSelection; }
    void SetVisualStyleSelection(int selection) { m_visualStyleSelection = selection; }
    COSMPaintManagerIconsInfo* GetIconsInfo() { return &m_iconsInfo; }
    int GetControlHeight() const { return m_controlHeight < 22 ? 22 : m_controlHeight; }
    // The height the fonts gave, before GetControlHeight's minimum.
    int GetRawControlHeight() const { return m_controlHeight; }
    void SetControlHeight(int height)
    {
        m_controlHeight = height;
        InvalidateLayouts();
    }
    int GetLargeButtonTextHeight() const { return m_largeButtonTextHeight; }
    void SetLargeButtonTextHeight(int height)
    {
        m_largeButtonTextHeight = height;
        InvalidateLayouts();
    }
    int GetSplitButtonDropDownWidth() const;
    BOOL IsAutoIconSize() const { return m_autoIconSize; }
    void SetAutoIconSize(BOOL autoSize)
    {
        m_autoIconSize = autoSize;
        InvalidateLayouts();
    }
    CSize GetAutoIconSize(BOOL large) const;
    CSize GetControlImageSize(COSMControl* control);
    static CSize FitImageSize(CSize iconSize, int width, int height);
    CSize ApplyControlCustomSize(CSize size, COSMControl* control, BOOL vertical) const;
    // Null while no library registered the painter.
    COSMPartPaintManager* GetFramePaintManager();
    COSMSharedPartPaintManager* GetRibbonPaintManager();
    static BOOL FontExists(LPCSTR face);
    // What the part painters measure with, through the manager so that a test's manager sets them: the non-client
    // metrics (ReadNonClientMetrics), one system metric (ReadSystemMetric), and whether fonts get ClearType quality.
    BOOL GetNonClientMetrics(NONCLIENTMETRICSA* metrics) { return ReadNonClientMetrics(metrics); }
    int GetSystemMetric(int index) { return ReadSystemMetric(index); }
    BOOL IsClearTypeQuality() const { return UseClearTypeQuality(); }
    void CreateFontsFromLogFont(LOGFONTA* logFont, BOOL standard);
    // Counts the changes of anything bars measure with (metrics, fonts, sizes, the installed theme): a bar keeps a
    // layout it measured only while the count stays. Any paint manager's change counts for every bar.
    static UINT GetLayoutGeneration();
    static void InvalidateLayouts();

    // The recorded theme id: the factory's id, or 8 for a manager installed with SetCustomTheme.
    int GetRecordedThemeId() const { return m_themeId; }
    void SetRecordedThemeId(int id) { m_themeId = id; }

    // Fonts and their options.
    CFont& GetRegularFont() { return m_regularFont; }
    CFont& GetBoldFont() { return m_boldFont; }
    CFont& GetVerticalFont() { return m_verticalFont; }
    CFont& GetVerticalBoldFont() { return m_verticalBoldFont; }
    COSMPaintManagerFont& GetCaptionFont() { return m_captionFont; }
    COSMPaintManagerFont& GetIconTitleFont() { return m_iconTitleFont; }
    COSMPaintManagerFont& GetIconTitleBoldFont() { return m_iconTitleBoldFont; }
    COSMPaintManagerFont& GetStatusFont() { return m_statusFont; }
    // Keyboard tips show their text in the status font.
    COSMPaintManagerFont& GetKeyboardTipFont() { return m_statusFont; }
    const CString& GetFaceName() const { return m_faceName; }
    void SetFaceName(const CString& face) { m_faceName = face; }
    // Set when the system's face is the face name; a theme sets it to use the face name.
    BOOL IsFaceNameMatch() const { return m_faceNameMatch; }
    void SetFaceNameMatch(BOOL match) { m_faceNameMatch = match; }
    BOOL IsFontsFollowSystem() const { return m_fontsFollowSystem; }
    void SetClearTypeText(BOOL clearType) { m_clearTypeText = clearType; }
    BOOL GetClearTypeText() const { return m_clearTypeText; }

    // Options and settings the themes and bars read.
    BOOL m_boldCheckMark = FALSE;
    BOOL m_themedStatusBar = FALSE;
    BOOL m_themedCheckMarks = FALSE;
    BOOL m_flatToolBar = FALSE;
    BOOL m_flatMenuBar = FALSE;
    int m_popupTextGap = 4;
    BOOL m_captionSpacingOption = FALSE;
    BOOL m_labelIconColumn = TRUE;
    BOOL m_twoLineCaptions = TRUE;
    int m_splitWidth = 11;
    int m_popupSplitWidth = 20;
    BOOL m_embossedDisabledText = TRUE;
    int m_animationSteps = 10;
    int m_animationDuration = 100;
    int m_keyboardCues = -1;
    // Read by other painters; the base's drawing ignores them.
    BOOL m_popupFullRowHighlight = FALSE;
    int m_popupSeparatorIndent = 0;
    COSMPaintManagerColorGradient m_disabledIconGradient;
    int m_requestedFontHeight = 0;
    BOOL m_shadowsEnabled = TRUE;
    BOOL m_commandBarAnimation = FALSE;
    // Set by a look whose frames the frame painter draws in its own colours and images.
    BOOL m_themedFrame = FALSE;

    COLORREF GetStatusBarTextColor() const { return m_statusBarTextColor; }
    COLORREF GetMessageBarTextColor() const { return m_messageBarTextColor; }
    const COSMPaintManagerColorGradient& GetFaceGradient() const { return m_faceGradient; }
    COSMPaintManagerColorGradient& GetFaceGradient() { return m_faceGradient; }
    COSMPaintManagerColor& GetFloatingCaptionColor() { return m_floatingCaptionColor; }
    COSMPaintManagerColor& GetFloatingCaptionTextColor() { return m_floatingCaptionTextColor; }
    COSMVisualStyleWrapper& GetStatusTheme() { return m_statusTheme; }
    COSMVisualStyleWrapper& GetButtonTheme() { return m_buttonTheme; }
    COSMShadowManager* GetShadowManager() const { return m_shadowManager.Get(); }
    COSMPartPaintManager* GetGalleryPaintManager() const { return m_galleryPaintManager.get(); }
    COSMPartPaintManager* GetSliderPaintManager() const { return m_sliderPaintManager.get(); }
    COSMPartPaintManager* GetProgressPaintManager() const { return m_progressPaintManager.get(); }
    PFNSETLAYEREDWINDOWATTRIBUTES GetSetLayeredWindowAttributes() const { return m_setLayeredWindowAttributes; }

    // Primitives the themes share.
    void FillFramedRect(CDC* dc, CRect rect, int frameIndex, int fillIndex);
    void Draw3dRectIndexed(CDC* dc, CRect rect, int topLeftIndex, int bottomRightIndex);
    void DrawCheckMarkGlyph(CDC* dc, CRect rect, COLORREF color, BOOL rightToLeft);
    void DrawSmoothEllipse(CDC* dc, int left, int top, int right, int bottom, COLORREF border, COLORREF fill);
    void DrawSmoothEllipse(CDC* dc, const CRect& rect, COLORREF border, COLORREF fill);
    static void HorizontalLine(CDC* dc, int x0, int y, int x1, COLORREF color);
    static void VerticalLine(CDC* dc, int x, int y0, int y1, COLORREF color);
    static void DrawLine(CDC* dc, int x0, int y0, int x1, int y1);
    void DrawLineIndexed(CDC* dc, int x0, int y0, int x1, int y1, int index);
    static void StripMnemonics(CString& text);
    CSize DrawControl(CDC* dc, COSMControl* control, BOOL draw);

    // Control captions, in the DC's font and text colour. With draw FALSE they measure and return the size; drawing
    // returns (0, 0). Vertical text expects a vertical font (escapement 2700) in the DC.
    CSize DrawControlCaptionOneLine(CDC* dc, COSMControl* control, CRect rect, BOOL draw, BOOL vertical, BOOL centred,
                                    BOOL dropDown);
    // Broken at the space nearest the middle when the two-line option is on; always 24 tall.
    CSize DrawControlCaptionTwoLines(CDC* dc, COSMControl* control, CRect rect, BOOL draw, BOOL vertical,
                                     BOOL dropDown);
    // One line: embossed when the control is disabled, mnemonics as the keyboard-cue override or the bar says.
    void DrawCaptionText(CDC* dc, COSMControl* control, const CString& caption, const CString& plainCaption, CRect rect,
                         BOOL vertical, BOOL centred);
    // The one-line caption beside (or, on a vertical bar, under) a button of the given size.
    CSize MeasureControlCaptionArea(CDC* dc, COSMControl* control, CRect rect, BOOL draw, BOOL dropDown, CSize button,
                                    BOOL withImage);
    void GradientFill(CDC* dc, LPCRECT rect, COLORREF first, COLORREF second, BOOL horizontal, LPCRECT clip);

    // The animations' clock; tests put in their own.
    typedef DWORD(WINAPI* TickCountFunction)();
    typedef void(WINAPI* SleepFunction)(DWORD);
    static void SetAnimationClock(TickCountFunction tickCount, SleepFunction sleep);
    // destination = first * (255 - alpha) + second * alpha, by 256, for blue, green and red; the destination's
    // alpha bytes are left as they are.
    static void BlendBits(DWORD* destination, const DWORD* first, int width, int height, const DWORD* second,
                          int alpha);

    // The process-wide manager and the theme factory. The manager is kept by a process service (ProcessService.h)
    // made with the first installation, and released at exit before the services it uses go; UI thread only.
    // SetCustomTheme takes over the caller's reference; FreeGlobalPaintManager installs none.
    static COSMPaintManager* GetGlobalPaintManager();
    static void RegisterThemeCreator(int id, ThemeCreator creator);
    // The themes library enters its looks' creators through one routine, which it hands over as the program starts
    // (and runs). RegisterThemes runs it again, so a test that emptied the factory gets the looks back; without the
    // library it does nothing.
    typedef void (*ThemesRegistration)();
    static void SetThemesRegistration(ThemesRegistration routine);
    static void RegisterThemes();
    static COSMPaintManager* CreateTheme(int id);
    static void SetCustomTheme(COSMPaintManager* manager);
    static void SetTheme(int id);
    static void FreeGlobalPaintManager();
    // Routines run at exit right after the process-wide manager has been released (the last registered first): a
    // layer above keeps what its looks release on their way out until then. FALSE once that end has passed.
    typedef void (*ExitRoutine)();
    static BOOL AddExitRoutine(ExitRoutine routine);

protected:
    // The state of a control and its bar, as the state operations take it.
    struct ControlState
    {
        BOOL selected;
        BOOL pressed;
        BOOL enabled;
        BOOL checked;
        BOOL popped;
        int barType;
        int barPosition;
    };
    static ControlState GetControlState(COSMControl* control);
    // The STATUS style is wanted and really open.
    BOOL IsStatusBarThemed();
    // Reads the non-client metrics; tests put in metrics of their own.
    virtual BOOL ReadNonClientMetrics(NONCLIENTMETRICSA* metrics);
    // GetSystemMetrics; tests put in metrics of their own.
    virtual int ReadSystemMetric(int index) { return ::GetSystemMetrics(index); }
    BOOL UseClearTypeQuality() const;
    // The icon-title LOGFONT in the character set given, ClearType quality when the option asks for it.
    void BuildIconTitleLogFont(LOGFONTA* logFont, BYTE charset) const;

    // The status bar's and message bar's text colours, which a theme reading its colours from resources sets.
    void SetStatusBarTextColor(COLORREF color) { m_statusBarTextColor = color; }
    void SetMessageBarTextColor(COLORREF color) { m_messageBarTextColor = color; }

    // Puts a theme's own part painters (made with this manager as owner) in place of the ones the constructor
    // made, which are deleted; the manager owns the new ones. A null painter leaves its slot empty.
    void SetPartPaintManagers(COSMPartPaintManager* gallery, COSMPartPaintManager* slider,
                              COSMPartPaintManager* progress);

    // A check-box or radio mark through the BUTTON style's part, or the classic frame control.
    void DrawButtonMark(CDC* dc, CRect rect, int themePart, UINT classicKind, BOOL selected, BOOL pressed, int checked,
                        BOOL enabled);

    // What DrawToolBarControl works out once for a control (PaintManagerControls.cpp).
    struct ToolBarControlLayout;
    CSize DrawToolBarCheckControl(CDC* dc, COSMControl* control, const ToolBarControlLayout& layout);
    CSize DrawToolBarCaptionBelow(CDC* dc, COSMControl* control, const ToolBarControlLayout& layout);
    CSize DrawToolBarCaptionBeside(CDC* dc, COSMControl* control, const ToolBarControlLayout& layout);
    CSize DrawToolBarCaptionUnder(CDC* dc, COSMControl* control, const ToolBarControlLayout& layout);
    // The label of an edit or combo box: measured (storing its widths) or drawn.
    CSize MeasureEditLabel(CDC* dc, COSMControl* control, BOOL comboBox);
    void DrawEditLabel(CDC* dc, COSMControl* control);
    // The toolbar's expand button (kind 0 of DrawSpecialControl).
    void DrawToolBarExpandButton(CDC* dc, COSMControl* control, COSMCommandBar* bar, BOOL draw, LPVOID extra);

private:
    COLORREF m_statusBarTextColor = 0;
    COLORREF m_messageBarTextColor = 0;
    COSMPaintManagerColorGradient m_faceGradient;
    COSMPaintManagerColor m_floatingCaptionColor;
    COSMPaintManagerColor m_floatingCaptionTextColor;
    BOOL m_clearTypeText = FALSE;
    COSMPaintManagerFont m_captionFont;
    COSMPaintManagerFont m_iconTitleFont;
    COSMPaintManagerFont m_iconTitleBoldFont;
    COSMPaintManagerFont m_statusFont;
    BOOL m_autoIconSize = FALSE;
    // Owned: a constructor that throws after making them frees them again.
    std::unique_ptr<COSMPartPaintManager> m_galleryPaintManager;
    std::unique_ptr<COSMPartPaintManager> m_sliderPaintManager;
    std::unique_ptr<COSMPartPaintManager> m_progressPaintManager;
    RefPtr<COSMSharedPartPaintManager> m_ribbonPaintManager;
    std::unique_ptr<COSMPartPaintManager> m_framePaintManager;
    PFNSETLAYEREDWINDOWATTRIBUTES m_setLayeredWindowAttributes = nullptr;
    BOOL m_faceNameMatch = FALSE;
    CString m_faceName;
    CFont m_regularFont;
    CFont m_boldFont;
    CFont m_verticalFont;
    CFont m_verticalBoldFont;
    int m_controlHeight = 0;
    int m_largeButtonTextHeight = 0;
    BOOL m_fontsFollowSystem = TRUE;
    COSMVisualStyleWrapper m_statusTheme;
    COSMVisualStyleWrapper m_buttonTheme;
    int m_themeId = 0;
    COSMPaintManagerIconsInfo m_iconsInfo;
    COSMPaintManagerColor m_colors[kColorCount];
    int m_visualStyleSelection = 7;
    RefPtr<COSMShadowManager> m_shadowManager;
};
