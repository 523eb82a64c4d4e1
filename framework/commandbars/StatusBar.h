// COSMStatusBar: the bar at the bottom of a frame that shows a row of panes (COSMStatusBarPane), each with plain or
// markup text, an optional icon from the bar's image manager, a style and a width; button panes are pressed and
// clicked like buttons, and a switch pane (COSMStatusBarSwitchPane) holds a row of switch buttons. Everything is
// drawn by the paint manager's status operations.
//
//   COSMStatusBar* bar = new COSMStatusBar;                  // or a member of the frame
//   bar->Create(pFrame);                                     // child 0xE801, docked at the bottom
//   bar->AddIndicator(0);                                    // pane 0 carries the frame's status texts
//   bar->AddIndicator(ID_INDICATOR_CAPS);                    // text from the string of the id
//   bar->GetPane(0)->SetStyle(COSMStatusBarPane::kStyleStretch);   // takes what the others leave
//   bar->AddSwitchPane(ID_VIEW_SWITCHES)->AddSwitch(ID_VIEW_NORMAL);
//
// Panes are laid out left to right at their fixed width (SetWidth) or their best width, a pane with kStyleStretch
// taking what is left and the size gripper's room kept free. Panes with an id take their state at idle time from
// the frame's update handlers (Enable, SetCheck, SetText). A button pane's click, and a switch's, sends WM_COMMAND
// with its id to the owner frame. The bar's window text is the text of the pane with id 0.
#pragma once

#include "classlib/CString.h"
#include "classlib/CmdTarget.h"
#include "classlib/ControlBar.h"
#include "classlib/Geometry.h"

#include <memory>
#include <vector>

class CFont;
class COSMCommandBars;
class COSMImageManager;
class COSMMarkupContext;
class COSMMarkupUIElement;
class COSMPaintManager;
class COSMPopupBar;
class COSMStatusBar;

// One pane of a status bar.
class COSMStatusBarPane : public CCmdTarget
{
public:
    // The background fills the whole pane, and no border is drawn.
    static const DWORD kStyleNoBorders = 0x0100;
    static const DWORD kStyleFillWhole = kStyleNoBorders;
    static const DWORD kStylePopout = 0x0200;
    // Takes the width the other panes leave.
    static const DWORD kStyleStretch = 0x0800;
    static const DWORD kStyleDisabled = 0x04000000;

    explicit COSMStatusBarPane(COSMStatusBar* statusBar = nullptr) : m_statusBar(statusBar) {}
    ~COSMStatusBarPane() override;
    COSMStatusBarPane(const COSMStatusBarPane&) = delete;
    COSMStatusBarPane& operator=(const COSMStatusBarPane&) = delete;

    // ---- Override these ----------------------------------------------------------------------------------------
    // The pane's own font, else the paint manager's status font (once the bar has a window).
    virtual CFont* GetTextFont();
    virtual int GetIconId() const { return m_iconId; }
    // The width of its content: text (or markup) in its font, plus the paddings, plus the icon (and 2 with text).
    virtual int GetBestWidth();
    // The pointer moved to point (client coordinates of the bar; (-1, -1) when it left the pane).
    virtual void OnMouseMove(CPoint point);
    // The left button went down on the pane: a button pane runs its press, and a release over it clicks.
    virtual void OnLButtonDown(CPoint point);
    // Draws the content (not the border) through the paint manager.
    virtual void Draw(CDC* dc, COSMPaintManager* paintManager, CRect rect);

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    UINT GetID() const { return m_id; }
    void SetID(UINT id) { m_id = id; }
    // The button flag: hot tracking, clicks, no border.
    BOOL IsButton() const { return m_button; }
    void SetButton(BOOL button) { m_button = button; }
    // The current width.
    int GetWidth() const { return m_width; }
    // A fixed width; 0 lets the width follow the content.
    void SetWidth(int width);
    BOOL IsFixedWidth() const { return m_fixedWidth; }
    BOOL IsPressed() const { return m_pressed; }
    void SetPressed(BOOL pressed) { m_pressed = pressed; }
    DWORD GetStyle() const { return m_style; }
    void SetStyle(DWORD style) { m_style = style; }
    BOOL HasPopoutStyle() const { return (m_style & kStylePopout) != 0; }
    BOOL IsEnabled() const { return (m_style & kStyleDisabled) == 0; }
    void SetEnabled(BOOL enabled);
    BOOL IsVisible() const { return !m_hidden; }
    // Hiding or showing a pane lays the bar out again.
    void SetVisible(BOOL visible);
    BOOL IsBeginGroup() const { return m_beginGroup; }
    void SetBeginGroup(BOOL beginGroup) { m_beginGroup = beginGroup; }
    COLORREF GetBackgroundColor() const { return m_backgroundColor; }
    void SetBackgroundColor(COLORREF color) { m_backgroundColor = color; }
    COLORREF GetTextColor() const { return m_textColor; }
    void SetTextColor(COLORREF color) { m_textColor = color; }
    // A copy of the text.
    CString GetText() const { return m_text; }
    // A new text is parsed as markup when the bar has a markup context; the bar lays out again when the pane's
    // content width changed, else the pane is redrawn. The same text again does nothing.
    void SetText(const CString& text);
    CRect GetPadding() const { return m_padding; }
    void SetPadding(const CRect& padding) { m_padding = padding; }
    // 0 left, 1 centre, 2 right.
    int GetTextAlignment() const { return m_alignment; }
    void SetTextAlignment(int alignment) { m_alignment = alignment; }
    COSMMarkupUIElement* GetMarkupUIElement() const { return m_markup; }
    // The pane keeps a reference of its own.
    void SetMarkupUIElement(COSMMarkupUIElement* markup);
    void SetTextFont(CFont* font) { m_font = font; }
    void SetIconId(int iconId) { m_iconId = iconId; }
    COSMStatusBar* GetStatusBar() const { return m_statusBar; }
    int GetIndex() const { return m_index; }
    CRect GetRect() const { return m_rect; }
    // Invalidates the pane's rectangle when it is visible and the bar has a window.
    void Redraw() const;

protected:
    friend class COSMStatusBar;
    // The markup of the current text, made again (when the bar has a context) or dropped.
    void ParseText();
    void SetRect(const CRect& rect) { m_rect = rect; }
    void SetIndex(int index) { m_index = index; }
    void SetCurrentWidth(int width) { m_width = width; }

private:
    COSMStatusBar* m_statusBar;
    UINT m_id = 0;
    BOOL m_button = FALSE;
    BOOL m_pressed = FALSE;
    DWORD m_style = 0;
    BOOL m_hidden = FALSE;
    BOOL m_beginGroup = FALSE;
    COLORREF m_backgroundColor = static_cast<COLORREF>(-1);
    COLORREF m_textColor = static_cast<COLORREF>(-1);
    CString m_text;
    CRect m_padding;
    CRect m_rect;
    int m_index = -1;
    int m_alignment = 0;
    COSMMarkupUIElement* m_markup = nullptr;
    CFont* m_font = nullptr;
    int m_iconId = 0;
    int m_width = 0;
    BOOL m_fixedWidth = FALSE;
};

// A pane of switch buttons: each switch shows the icon of its id and sends its id as a command when clicked.
class COSMStatusBarSwitchPane : public COSMStatusBarPane
{
public:
    struct SWITCH
    {
        UINT id = 0;
        int width = 0;
        BOOL checked = FALSE;
        BOOL enabled = TRUE;
        BOOL pressed = FALSE;
        BOOL hot = FALSE;
    };

    using COSMStatusBarPane::COSMStatusBarPane;

    int GetSwitchCount() const { return static_cast<int>(m_switches.size()); }
    SWITCH* GetSwitch(int index);
    void AddSwitch(const SWITCH& item);
    void AddSwitch(UINT id);
    // The switch under the point (bar client coordinates), or -1.
    int HitTestSwitch(CPoint point) const;
    CRect GetSwitchRect(int index) const;

    int GetBestWidth() override;
    void OnMouseMove(CPoint point) override;
    void OnLButtonDown(CPoint point) override;
    void Draw(CDC* dc, COSMPaintManager* paintManager, CRect rect) override;

private:
    std::vector<SWITCH> m_switches;
};

class COSMStatusBar : public CControlBar
{
    DECLARE_DYNAMIC(COSMStatusBar)

public:
    COSMStatusBar();
    ~COSMStatusBar() override;

    // ---- Override these ----------------------------------------------------------------------------------------
    // The popup the right button shows when customization is on (EnableCustomization); the base has none (null).
    // The caller releases it.
    virtual COSMPopupBar* CreateContextMenu() { return nullptr; }
    // Places the panes in the client area.
    virtual void RecalcLayout();
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // A bottom bar of frame (style: window style with bar style bits, CBRS_BOTTOM by default).
    BOOL Create(CWnd* frame, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT id = 0xE801);
    // A pane for command id at index (-1: the end); its text is the string of the id. Null when index is out of
    // range.
    COSMStatusBarPane* AddIndicator(UINT id, int index = -1);
    COSMStatusBarSwitchPane* AddSwitchPane(UINT id, int index = -1);
    BOOL RemoveIndicator(UINT id);
    void RemoveAll();

    int GetPaneCount() const { return static_cast<int>(m_panes.size()); }
    // Null outside 0 to count - 1.
    COSMStatusBarPane* GetPane(int index) const;
    int FindPaneIndexById(UINT id) const;
    COSMStatusBarPane* FindPane(UINT id) const;
    // The first visible pane whose rectangle holds the point (client coordinates), with its rectangle.
    COSMStatusBarPane* HitTest(CPoint point, CRect* rect = nullptr) const;
    BOOL SetPaneText(int index, LPCSTR text);

    // The command bars' paint and image managers, else the process-wide ones.
    COSMPaintManager* GetPaintManager() const;
    COSMImageManager* GetImageManager() const;
    void SetCommandBars(COSMCommandBars* commandBars) { m_commandBars = commandBars; }
    COSMCommandBars* GetCommandBars() const { return m_commandBars; }

    COSMStatusBarPane* GetHotPane() const { return m_hotPane; }
    void SetHotPane(COSMStatusBarPane* pane) { m_hotPane = pane; }
    BOOL IsDrawDisabledText() const { return m_drawDisabledText; }
    void SetDrawDisabledText(BOOL draw) { m_drawDisabledText = draw; }
    // Makes (TRUE) or releases (FALSE) the bar's markup context; the pane texts are parsed again.
    void EnableMarkup(BOOL enable = TRUE);
    COSMMarkupContext* GetMarkupContext() const { return m_markupContext; }
    // A context of the caller's (not released by the bar).
    void SetMarkupContext(COSMMarkupContext* context) { m_markupContext = context; }
    void EnableCustomization(BOOL enable = TRUE) { m_customization = enable; }
    BOOL IsCustomizationEnabled() const { return m_customization; }
    void ShowSizeGripper(BOOL show = TRUE);
    BOOL HasSizeGripper() const { return m_sizeGripper; }
    // Panes below it get borders, panes up to it separators, in themes that split the bar (0 by default).
    int GetDividerIndex() const { return m_dividerIndex; }
    void SetDividerIndex(int index) { m_dividerIndex = index; }
    int GetMinHeight() const { return m_minHeight; }
    // The window that gets the panes' commands: the owner frame.
    CWnd* GetCommandTarget() const;
    // The frame the bar belongs to is maximised: no gripper then.
    BOOL IsFrameMaximized() const;
    // The width from the right edge (the left one right to left) that sizes the frame.
    int GetGripperWidth() const;

    // The ribbon library tells the bar how to ask a frame about its ribbon frame: the registered message the frame
    // answers with its ribbon frame, and the ribbon frame's status-bar test (TRUE with the height when the ribbon
    // frame draws the window frame around a visible status bar).
    using RibbonFrameStatusBarHeight = BOOL (*)(LRESULT ribbonFrame, int* height);
    static void RegisterRibbonFrame(UINT queryMessage, RibbonFrameStatusBarHeight statusBarHeight);

protected:
    afx_msg void OnPaint();
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnCancelMode();
    afx_msg void OnWindowPosChanging(WINDOWPOS* pos);
    afx_msg void OnWindowPosChanged(WINDOWPOS* pos);
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetMinHeight(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnStatusNcCalcSize(WPARAM wParam, LPARAM lParam);

    // Draws the fill, the panes and the gripper.
    void DrawBar(CDC* dc);
    // The parent answers a ribbon frame that draws the window frame around this bar.
    BOOL IsRibbonFrameStatusBar() const;
    COSMStatusBarPane* InsertPane(std::unique_ptr<COSMStatusBarPane> pane, int index);

    DECLARE_MESSAGE_MAP()

private:
    std::vector<std::unique_ptr<COSMStatusBarPane>> m_panes;
    COSMCommandBars* m_commandBars = nullptr;
    COSMStatusBarPane* m_hotPane = nullptr;
    BOOL m_drawDisabledText = FALSE;
    COSMMarkupContext* m_markupContext = nullptr;
    BOOL m_ownsMarkupContext = FALSE;
    BOOL m_customization = FALSE;
    BOOL m_sizeGripper = TRUE;
    int m_dividerIndex = 0;
    int m_minHeight = 20;
};
