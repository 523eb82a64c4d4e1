// COSMControl: the base of every item a command bar shows (buttons, popups, combo boxes, edits, labels ...). It
// holds the item's identity (command id, icon id, texts), its state (enabled, check, selected, pressed, hidden), its
// look (style, size) and its binding to a shared COSMControlAction, which supplies what the control leaves empty:
//
//   COSMControl* control = bar->GetControls()->Add(1, ID_FILE_OPEN);   // a button, bound to the command's action
//   control->SetCaption("&Open...\tCtrl+O");                             // caption and automatic shortcut text
//   control->SetBeginGroup(TRUE);                                        // the bar lays itself out again later
//
// Controls are reference counted; the controls collection holds the reference that keeps one alive. Bars, the
// collection and the action are not owned. Measuring and drawing go through the paint manager.
#pragma once

#include "classlib/CString.h"
#include "classlib/CmdTarget.h"
#include "classlib/Geometry.h"
#include "classlib/Map.h"
#include "framework/commandbars/Accessible.h"

#include <commctrl.h>

class COSMCommandBar;
class COSMCommandBars;
class COSMControls;
class COSMControlAction;
class COSMImageManager;
class COSMImageManagerIcon;
class COSMPaintManager;
class COSMControl;
class COSMRibbonGroup;
class COSMCommandBarList;
struct COSMCommandBarsPersistParams;
class COSMPropExchange;

// The block of a control notification (message 0x2862 to the notification site, and WM_NOTIFY routing): the
// header's window is 0, its id the control's and its code the notification's. Notifications with data of their
// own derive from it.
struct NMOSMCONTROL
{
    NMHDR hdr;
    COSMControl* pControl;
};

class COSMControl : public CCmdTarget, public COSMAccessible
{
    DECLARE_DYNCREATE(COSMControl)
    DECLARE_INTERFACE_MAP()

public:
    // Hide-flag reasons; any bit hides the control.
    static constexpr DWORD kHideHidden = 0x01;
    static constexpr DWORD kHideWrap = 0x02;
    static constexpr DWORD kHideScroll = 0x08;
    static constexpr DWORD kHideCustomize = 0x10;
    static constexpr DWORD kHideUsage = 0x20;
    static constexpr DWORD kHideDocTemplate = 0x40;
    // Control flags.
    static constexpr DWORD kFlagRightAlign = 0x01;
    static constexpr DWORD kFlagSkipFocus = 0x02;
    static constexpr DWORD kFlagManualUpdate = 0x08;
    static constexpr DWORD kFlagNoMovable = 0x10;
    static constexpr DWORD kFlagStretched = 0x20;
    static constexpr DWORD kFlagPopupToolTip = 0x40;
    static constexpr DWORD kFlagWrapRow = 0x80;
    // The action properties whose changes reach the controls: the caption, and the hint of an empty edit box.
    static constexpr int kActionPropertyCaption = 3;
    static constexpr int kActionPropertyEditHint = 4;
    // The control notification sent to the notification site (wParam the id, lParam an NMOSMCONTROL), and the code
    // a command execution notifies before its WM_COMMAND.
    static constexpr UINT kMessageControlNotify = 0x2862;
    static constexpr UINT kNotifyExecute = 100;
    // The auto-repeat timer of a held button, on the parent bar window.
    static constexpr UINT_PTR kTimerPressRepeat = 4269;

    typedef CMap<UINT, UINT, BOOL, BOOL> CDocTemplateMap;

    COSMControl();
    ~COSMControl() override;

    // The control answers screen readers itself (ControlAccessible.cpp). Only child 0, the control, is accepted;
    // its one child, when it opens a bar, is that bar.
    CCmdTarget* GetAccessibleOwner() override { return this; }
    HRESULT GetAccessibleParent(IDispatch** ppdispParent) override;
    HRESULT GetAccessibleChildCount(long* pcountChildren) override;
    HRESULT GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild) override;
    HRESULT GetAccessibleName(VARIANT varChild, BSTR* pszName) override;
    HRESULT GetAccessibleDescription(VARIANT varChild, BSTR* pszDescription) override;
    HRESULT GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole) override;
    HRESULT GetAccessibleState(VARIANT varChild, VARIANT* pvarState) override;
    HRESULT GetAccessibleDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
    HRESULT AccessibleSelect(long flagsSelect, VARIANT varChild) override;
    HRESULT AccessibleLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild) override;
    HRESULT AccessibleHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;
    HRESULT AccessibleDoDefaultAction(VARIANT varChild) override;
    // The caption without its access-key marks, then a tab and the shortcut text when there is one.
    CString GetAccessibleCaption() const;

    // ---- Override these ----------------------------------------------------------------------------------------
    // The custom caption, else the caption, else the action's (its caption, or its tooltip when that is empty).
    virtual CString GetCaption() const;
    virtual CString GetDescription() const;
    virtual CString GetTooltip() const;
    virtual void SetBeginGroup(BOOL beginGroup);
    // 1 enabled, 0 disabled, -1 the action's; other values are stored as they come.
    virtual void SetEnabled(int enabled);
    virtual int GetSelected() const { return m_selected; }
    virtual void SetFocused(BOOL focused) {}
    virtual BOOL IsFocused() const { return FALSE; }
    virtual int GetPressed() const { return m_pressed; }
    virtual void SetRect(const CRect& rect) { StoreForMeasure(m_rect, rect); }
    // FALSE when the bound action is invisible; else TRUE when no hide flag outside skip is set.
    virtual BOOL IsVisible(DWORD skip = 0) const;
    virtual BOOL IsCaptionVisible() const;
    virtual BOOL Compare(const COSMControl* other) const;
    // The bar a popup-type control opens; null for every other type.
    virtual COSMCommandBar* GetCommandBar() const { return nullptr; }
    // TRUE when the control paints its own face: the paint manager then draws no background or split frame for it.
    virtual BOOL IsFaceSuppressed() const { return FALSE; }
    virtual void SetHideFlags(DWORD hideFlags) { StoreForMeasure(m_hideFlags, hideFlags); }
    // Runs the command: the menu sound, the used-commands list, closing the popups, notification 100 and then
    // WM_COMMAND to the notification site (or the id into the root popup's return-command target).
    virtual void OnExecute();
    virtual CSize GetSize(CDC* dc);
    virtual void Draw(CDC* dc);
    // Controls that fill themselves (window lists, recent files) do it here for the bar's layout mode.
    virtual void BuildDynamicItems(DWORD layoutMode) {}
    // The image manager's image for GetIconId at the width; null for id 0.
    virtual COSMImageManagerIcon* GetImage(int width) const;
    // The control's access key was typed: the base executes.
    virtual void OnMnemonicActivate();
    virtual BOOL IsPopupOpen() const { return FALSE; }
    // Unbinds from the current action and binds to the new one (null: bound to none).
    virtual void SetAction(COSMControlAction* action);
    // The next placement of a control that hosts a window happens even when its rectangle did not change (the paint
    // manager moved something inside it). Nothing in the base.
    virtual void ForceRepositioning() {}
    virtual void SetWidth(int width);
    virtual void SetHeight(int height);
    virtual CSize GetButtonSize() const;
    // The own icon size when either member is set, else the parent bar's.
    virtual CSize GetIconSize() const;
    // Takes the source's id and action and copies its settings (see Control.cpp for what stays behind).
    virtual void Copy(const COSMControl* source, BOOL recursive);
    virtual void OnClick(BOOL keyboard, CPoint point) {}
    virtual BOOL IsFocusable() const { return FALSE; }
    // A key going down (the keyboard hook's key and lParam) while the control has the focus in a tracking bar: 0 not
    // its key, 1 handled, 2 let through to the focused window.
    virtual int OnHookKeyDown(UINT key, LPARAM lParam) { return 0; }
    virtual BOOL OnHookMouseWheel(UINT flags, short delta, CPoint point) { return FALSE; }
    virtual void SetParent(COSMCommandBar* parent);
    virtual BOOL OnSetPopup(BOOL popup) { return FALSE; }
    virtual void OnLButtonUp(CPoint point) {}
    // In customize mode only when the control may be customized; then a mouse click.
    virtual void OnLButtonDown(CPoint point);
    // A right-button press or release over the control; TRUE when the control took it.
    virtual BOOL OnRButtonDown(CPoint point) { return FALSE; }
    virtual BOOL OnRButtonUp(CPoint point) { return FALSE; }
    virtual BOOL OnLButtonDblClk(CPoint point);
    virtual void OnMouseMove(CPoint point) {}
    // The hover delay passed over the control: the parent bar closes its popup and, when one was open only because
    // a popup had been opened from the idle bar, stops tracking.
    virtual void OnMouseHover();
    // Stores the selection state (0 none, 1 mouse, 2 and 3 keyboard); TRUE when it changed. A keyboard selection
    // closes a popup another control of the bar opened; the bar's status line follows.
    virtual BOOL SetSelected(int selected);
    // A click in customize mode (ControlCustomize.cpp): the control becomes the customize selection and is dragged
    // (unless it may not move); moved or dropped beside every bar, it leaves the bar it still sits in.
    virtual void OnCustomizeLButtonDown(CPoint point);
    // A customize drag passes over the control: the parent bar closes its popup and clears its selection. The
    // effect may be changed.
    virtual void OnCustomizeDragOver(COSMControl* dragged, CPoint point, int& effect);
    // In customize mode, the mouse moves over the bar while this control is the customize selection: near a left
    // or right edge of a resizable control the cursor shows that the width can be dragged.
    virtual void OnCustomizeMouseMove(CPoint point);
    // Drags the selected control's left or right edge (the point, in the bar's client, lies within 2 pixels of it)
    // in a loop of its own, drawing a tracker on the screen; the button's release sets the new width, Escape keeps
    // the old. FALSE when the point is on no edge.
    virtual BOOL CustomizeStartResize(CPoint point);
    // The dragged control may be dropped on the bar at the point.
    virtual BOOL IsCustomizeDragOverAllowed(COSMCommandBar* bar, CPoint point, int& effect) const { return TRUE; }
    virtual BOOL IsCustomizeResizeAllowed() const { return FALSE; }
    virtual int GetCustomizeMinWidth() const { return 0; }
    // The smallest height a popup's resize gripper leaves the control (a gallery's), in pixels.
    virtual int GetCustomizeMinHeight() const { return 0; }
    // The paint manager's measuring pass hands an edit or a combo box the widths it worked out for its label and, for
    // a combo box, its drop-down button (-1 when measured as an edit); the control keeps them and forces its next
    // placement when one changed. Other controls have no label of that kind.
    virtual void OnLabelMeasured(int labelWidth, int dropDownWidth) {}
    // Runs before the bar's command-UI update of this control.
    virtual void OnIdleUpdate() {}
    // Leaving its collection: the action lets go of the control.
    virtual void OnRemoved();
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* info) const { return -1; }
    virtual BOOL IsCustomizeClickAllowed() const;
    virtual void OnActionChanged(int property);
    virtual void OnActionChanging(int property) {}
    virtual void OnCaptionChanged() {}
    // A new object of this control's runtime class with this control copied into it; null when the class cannot be
    // created.
    virtual COSMControl* Clone(BOOL recursive) const;

    // ---- Saving and loading ------------------------------------------------------------------------------------
    // The bar the control opens goes into the save list.
    virtual void GenerateCommandBarList(DWORD& nextId, COSMCommandBarList* list, COSMCommandBarsPersistParams* params);
    // The control's keys; control types add theirs after these.
    virtual void DoPropExchange(COSMPropExchange* px);
    virtual void RestoreCommandBarList(COSMCommandBarList* list) {}

    // The class library's command routing, with one addition: code -2 (an event) with id 1 redraws the control.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // Texts. SetCaption keeps the text after the first tab as the automatic shortcut text.
    void SetCaption(const CString& caption);
    void SetCaptionById(UINT id);
    // description\ntooltip\ncaption\nkeyboard tip; empty captions and keyboard tips are filled from it.
    void SetPrompt(const CString& prompt);
    // The own shortcut text, else the action's, else the automatic one.
    CString GetShortcutText() const;
    const CString& GetCaptionText() const { return m_caption; }
    const CString& GetCustomCaption() const { return m_customCaption; }
    void SetCustomCaption(const CString& caption);
    const CString& GetShortcutTextAuto() const { return m_shortcutTextAuto; }
    void SetShortcutTextAuto(const CString& text) { StoreForMeasure(m_shortcutTextAuto, text); }
    const CString& GetShortcutTextOwn() const { return m_shortcutText; }
    void SetShortcutText(const CString& text) { StoreForMeasure(m_shortcutText, text); }
    const CString& GetTooltipText() const { return m_tooltip; }
    void SetTooltip(const CString& text) { m_tooltip = text; }
    const CString& GetDescriptionText() const { return m_description; }
    void SetDescription(const CString& text) { m_description = text; }
    const CString& GetParameter() const { return m_parameter; }
    void SetParameter(const CString& parameter) { m_parameter = parameter; }
    const CString& GetKeyboardTip() const { return m_keyboardTip; }
    void SetKeyboardTip(const CString& tip) { m_keyboardTip = tip; }
    const CString& GetCategory() const { return m_category; }
    void SetCategory(const CString& category) { m_category = category; }

    // Identity. SetID takes the prompt of a new id from the string resources.
    UINT GetID() const { return m_id; }
    void SetID(UINT id);
    int GetIconIdField() const { return m_iconId; }
    void SetIconId(int iconId) { StoreForMeasure(m_iconId, iconId); }
    int GetCustomIconId() const { return m_customIconId; }
    void SetCustomIconId(int iconId) { StoreForMeasure(m_customIconId, iconId); }
    UINT GetHelpId() const { return m_helpId; }
    void SetHelpId(UINT helpId) { m_helpId = helpId; }
    // The image id: the custom icon id, the icon id, the action's icon id, the action's id, else the control id.
    UINT GetIconId() const;
    int GetType() const { return m_type; }
    void SetType(int type) { StoreForMeasure(m_type, type); }
    DWORD_PTR GetTag() const { return m_tag; }
    void SetTag(DWORD_PTR tag) { m_tag = tag; }
    int GetIndex() const { return m_index; }
    COSMControls* GetControls() const { return m_controls; }
    COSMCommandBar* GetParent() const { return m_parent; }
    COSMControlAction* GetAction() const { return m_action; }

    // State. The enabled and check values read as the action's when they are -1 and an action is bound.
    int GetEnabled() const;
    int GetEnabledField() const { return m_enabled; }
    int GetChecked() const;
    int GetCheckedField() const { return m_checked; }
    void SetChecked(int checked);
    void SetPressed(int pressed) { m_pressed = pressed; }
    BOOL GetBeginGroup() const { return m_beginGroup; }
    BOOL GetWrap() const { return m_wrap; }
    void SetWrap(BOOL wrap) { StoreForMeasure(m_wrap, wrap); }
    BOOL IsTemporary() const { return m_temporary; }
    void SetTemporary(BOOL temporary) { m_temporary = temporary; }
    DWORD GetHideFlags() const { return m_hideFlags; }
    // Clears (TRUE) or sets (FALSE) the hidden flag; a change lays the parent bar out again.
    void SetVisible(BOOL visible);
    DWORD GetFlags() const { return m_flags; }
    void SetFlags(DWORD flags) { StoreForMeasure(m_flags, flags); }
    BOOL IsHiddenWhenNotUsed() const { return m_hiddenWhenNotUsed; }
    void SetHideWhenNotUsed(BOOL hidden);
    BOOL IsDefaultItem() const { return m_defaultItem; }
    void SetDefaultItem(BOOL defaultItem);
    BOOL GetCloseSubMenuOnClick() const { return m_closeSubMenuOnClick; }
    void SetCloseSubMenuOnClick(BOOL close) { m_closeSubMenuOnClick = close; }
    int GetExecuteOnPressInterval() const { return m_executeOnPressInterval; }
    void SetExecuteOnPressInterval(int interval) { m_executeOnPressInterval = interval; }
    CDocTemplateMap& GetAssignedTemplates() { return m_assignedTemplates; }
    CDocTemplateMap& GetExcludedTemplates() { return m_excludedTemplates; }

    // Look and size.
    // The custom style when not -1, else the style when not 0, else the parent bar's default style (when there is no
    // fallback style), else the fallback style.
    int GetStyle() const;
    int GetStyleField() const { return m_style; }
    void SetStyle(int style) { StoreForMeasure(m_style, style); }
    int GetCustomStyle() const { return m_customStyle; }
    void SetCustomStyle(int style) { StoreForMeasure(m_customStyle, style); }
    int GetFallbackStyle() const { return m_fallbackStyle; }
    void SetFallbackStyle(int style) { StoreForMeasure(m_fallbackStyle, style); }
    CRect GetRect() const { return m_rect; }
    CRect GetRowRect() const { return m_rowRect; }
    void SetRowRect(const CRect& rect) { StoreForMeasure(m_rowRect, rect); }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    void SetIconSize(CSize size) { StoreForMeasure(m_iconSize, size); }

    // The ribbon group that shows the control (not owned; null outside a ribbon's groups). A copy keeps its own.
    COSMRibbonGroup* GetRibbonGroup() const { return m_ribbonGroup; }
    void SetRibbonGroup(COSMRibbonGroup* group) { m_ribbonGroup = group; }
    // Where a ribbon placed the control: 1 at the right of its row (the system button and right-aligned controls of
    // the tab row), 0 otherwise.
    int GetRibbonPlacement() const { return m_ribbonPlacement; }
    void SetRibbonPlacement(int placement) { m_ribbonPlacement = placement; }

    // Where the control lives.
    // The parent bar's paint manager, else the owning command bars', else the process-wide one (made for theme 0).
    COSMPaintManager* GetPaintManager() const;
    COSMImageManager* GetImageManager() const;
    // The command bars of the parent bar, else of the owning collection.
    COSMCommandBars* GetCommandBars() const;
    BOOL IsCustomizeMode() const;
    // The cursor lies in the rectangle (parent-bar client coordinates).
    BOOL IsCursorOver() const;
    // Clears the custom icon, caption and style and lays the parent bar out again.
    void ResetCustomization();
    // The parent bar redraws the control's rectangle when the control is visible.
    void RedrawParent(BOOL animate = TRUE);

    // Execution (ControlExecution.cpp).
    // Sends notification 0x2862 with the filled block (a local one when null) to the site (null: the parent bar's
    // notification site); unanswered, routes it through the site's OnCmdMsg as a WM_NOTIFY. The answer; 0 without
    // a site.
    LRESULT SendNotify(CWnd* site, UINT code, NMOSMCONTROL* block = nullptr);
    // SendNotify to the parent bar's notification site; 0 without a parent bar.
    LRESULT NotifySite(UINT code);
    LRESULT NotifySiteEx(UINT code, NMOSMCONTROL* block);
    // Holds the button down while the left button is: the command runs on a release inside the rectangle (empty:
    // the control's own), or repeats every execute-on-press interval while held inside.
    void TrackButtonPress(CRect rect = CRect());
    // Marks the parent bar's layout as pending.
    void DelayLayoutParent();
    // The parent bar's remembered layouts no longer stand (something the control's size or place depends on
    // changed), without asking for a layout.
    void InvalidateParentLayout();

protected:
    // Binding to an action changes fields directly (no redraws, no prompt loading).
    friend class COSMControlAction;
    // The collection keeps index, collection and parent current.
    friend class COSMControls;

    // Stores the value; a change lays the parent bar out again.
    template <class T> void StoreForLayout(T& field, T value);
    // Stores the value; a change makes the parent bar measure again at its next layout.
    template <class T> void StoreForMeasure(T& field, const T& value)
    {
        if (SameValue(field, value))
            return;
        field = value;
        InvalidateParentLayout();
    }
    template <class T> static bool SameValue(const T& a, const T& b) { return a == b; }
    static bool SameValue(const CRect& a, const CRect& b)
    {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }

    DWORD_PTR m_tag = 0;
    int m_index = 0;
    UINT m_id = 0;
    int m_iconId = 0;
    UINT m_helpId = 0;
    int m_customIconId = 0;
    BOOL m_wrap = FALSE;
    BOOL m_beginGroup = FALSE;
    int m_enabled = 1;
    int m_checked = 0;
    int m_selected = 0;
    int m_pressed = 0;
    BOOL m_temporary = FALSE;
    CRect m_rowRect;
    CRect m_rect;
    DWORD m_hideFlags = 0;
    DWORD m_flags = 0;
    CString m_caption;
    CString m_customCaption;
    CString m_shortcutText;
    CString m_shortcutTextAuto;
    CString m_tooltip;
    CString m_description;
    CString m_parameter;
    CString m_keyboardTip;
    COSMControls* m_controls = nullptr;
    int m_type = 0;
    COSMCommandBar* m_parent = nullptr;
    BOOL m_hiddenWhenNotUsed = FALSE;
    CString m_category;
    BOOL m_defaultItem = FALSE;
    CDocTemplateMap m_assignedTemplates;
    CDocTemplateMap m_excludedTemplates;
    int m_style = 0;
    int m_customStyle = -1;
    int m_fallbackStyle = 0;
    BOOL m_closeSubMenuOnClick = TRUE;
    COSMControlAction* m_action = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_executeOnPressInterval = 0;
    CSize m_iconSize{0, 0};
    COSMRibbonGroup* m_ribbonGroup = nullptr;
    int m_ribbonPlacement = 0;
};
