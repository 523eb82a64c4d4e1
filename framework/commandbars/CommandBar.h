// COSMCommandBar: the window class every bar derives from (toolbars, the menu bar, popup bars, the dialog bar, the
// ribbon). It owns its controls (COSMControls), knows the hot and the popped-up control, paints itself through the
// paint manager and reaches its manager (COSMCommandBars) through an owner chain:
//
//   COSMCommandBar* bar = new COSMCommandBar;      // reference counted: released, never deleted
//   bar->LoadMenu(&menu, TRUE);                    // one control per menu item
//   bar->GetControls()->Add(1, ID_FILE_SAVE);      // or controls by Type
//   ...
//   bar->InternalRelease();                        // destroys a window it still has
//
// The virtual operations are the contract each bar type overrides. The bar's behaviour is spread over files named
// after it: mouse tracking (CommandBarTracking.cpp), keys (the bar's keyboard navigator,
// CommandBarKeyboardNavigator.cpp), customize drops (CommandBarCustomizeDrop.cpp), keyboard tips
// (CommandBarKeyboardTips.cpp), tooltips (CommandBarToolTips.cpp) and saving and loading (CommandBarExchange.cpp).
#pragma once

#include "classlib/CString.h"
#include "classlib/Geometry.h"
#include "classlib/RefPtr.h"
#include "classlib/Wnd.h"
#include "framework/commandbars/Accessible.h"
#include "framework/commandbars/Controls.h"
#include "framework/foundation/HookManagerSink.h"

#include <memory>

class COSMCommandBarAnimation;
class COSMCommandBarKeyboardNavigator;
class COSMCommandBarList;
struct COSMCommandBarsPersistParams;
class COSMPropExchange;
class COSMCommandBarKeyboardTip;
class COSMControlPopup;
class COSMImageManager;
class COSMMouseManager;
class COSMPaintManager;
class COSMToolTipContext;
class CFrameWnd;

class COSMCommandBar : public CWnd, public COSMHookManagerSink, public COSMAccessible
{
    DECLARE_SERIAL(COSMCommandBar)
    DECLARE_INTERFACE_MAP()

public:
    // Bits of the state flags.
    static constexpr DWORD kStateLayoutPending = 0x01;
    static constexpr DWORD kStateRedrawPending = 0x02;
    // The style bit that draws the gripper.
    static constexpr DWORD kStyleGripper = 0x00400000;
    // A "Flags" bit: large buttons beside stacks of small ones, reduced until they fit (no row alignment).
    static constexpr DWORD kFlagStackedLayout = 0x00200000;
    // Positions besides the four docked sides (0 top, 1 bottom, 2 left, 3 right): floating, a popup, and a bar that
    // takes no customize drops (it does not register with the drop source).
    static constexpr int kPositionFloating = 4;
    static constexpr int kPositionPopup = 5;
    static constexpr int kPositionNoDropTarget = 6;
    // Sent to the site when a control's status text shows (wParam the control) or goes (wParam 0).
    static constexpr UINT kMessageStatusText = 10326;
    // Timers of the bar window: the hover delay of the hot control, the delayed expansion of a shortened popup, and
    // the (posted) request to show this popup's keyboard tips.
    static constexpr UINT_PTR kTimerHover = 112223;
    static constexpr UINT kHoverDelay = 300;
    static constexpr UINT_PTR kTimerExpand = 112224;
    static constexpr UINT kExpandDelay = 5000;
    static constexpr UINT_PTR kTimerKeyboardTips = 52426;
    // Sent to the site: a menu bar enters tracking (wParam the bar); a right-button release over a control (wParam
    // the point, lParam the control; 1 = handled); a key is about to be processed while tracking (wParam a pointer
    // to the key, which the site may change, lParam the bar).
    static constexpr UINT kMessageMenuBarTracking = 10328;
    static constexpr UINT kMessageControlRButtonUp = 10329;
    static constexpr UINT kMessageTrackingKey = 10330;
    // Selection codes of SetSelected: the mouse, the keyboard, the keyboard moving forward or backward.
    static constexpr int kSelectMouse = 0;
    static constexpr int kSelectKeyboard = 1;
    static constexpr int kSelectForward = 2;
    static constexpr int kSelectBackward = 3;
    // Kinds of ProcessSpecialKey.
    enum SpecialKey
    {
        kKeyNext = 0,
        kKeyPrevious = 1,
        kKeyCollapse = 2,
        kKeyExpand = 3,
        kKeyEscape = 4,
        kKeyReturn = 5,
        kKeyFirst = 6,
        kKeyLast = 7,
        kKeyPreviousInRow = 8,
        kKeyNextInRow = 9,
        kKeySpace = 10
    };
    // Beeps for keys no control takes; tests put a recorder here.
    static BOOL(WINAPI* s_pfnMessageBeep)(UINT type);

    COSMCommandBar();
    ~COSMCommandBar() override;

    // ---- Override these ----------------------------------------------------------------------------------------
    // Marks a redraw as pending.
    virtual void DelayRedraw();
    // Tracking: 0 none, 1 keyboard or mouse navigation, 2 because a popup was opened. TRUE when the mode changed:
    // a tracking bar only leaves (mode 0); a refused change still stores the mode.
    virtual BOOL SetTrackingMode(int mode, BOOL selectFirst, BOOL keyboard);
    // Fills the controls from a Win32 menu; FALSE for a null or invalid menu.
    virtual BOOL LoadMenu(CMenu* menu, BOOL removeAll);
    // Makes the control at the index (-1 none) the hot one, selected the way the code says (kSelect...); TRUE when
    // the selection changed.
    virtual BOOL SetSelected(int index, int how = 0);
    // Fills the controls from the RT_TOOLBAR resource of the id (SetButtons), with the icons of its bitmap when
    // asked; FALSE, with the bar left empty, when the resource is missing or shorter than its item count says.
    virtual BOOL LoadToolBar(UINT id, BOOL loadIcons = TRUE);
    // The bar's "IconSize"; unset, the options' size for its kind of bar (popup or not), else the paint manager's
    // automatic size. With the options' large icons and no "ButtonSize" of its own, the large icon size. Without a
    // manager, 16 x 16 when unset.
    virtual CSize GetIconSize() const;
    // "ButtonSize", or the icon size plus 6 each way when none is set.
    virtual CSize GetButtonSize() const;
    // Shows the bar as a popup for the control; only popup bars can.
    virtual BOOL Popup(COSMControlPopup* control, BOOL keyboard) { return FALSE; }
    virtual void SetVisible(BOOL visible) {}
    virtual BOOL IsVisible() const { return FALSE; }
    // Stores the position (0 top, 1 bottom, 2 left, 3 right, 4 floating, 5 popup, 7 none); FALSE: the base bar does
    // not dock.
    virtual BOOL SetPosition(int position);
    // Customize drags over the bar (client points). Enter and over return the drop effect: 0 refuses, -1 unless a
    // control under the point chose another.
    virtual int OnCustomizeDragEnter(COSMControl* control, CPoint point);
    virtual void OnCustomizeDragLeave();
    virtual int OnCustomizeDragOver(COSMControl* control, CPoint point);
    // Inserts a copy of the dragged control at the drop place; dropped on itself (effect 5) it only gains or loses
    // its group mark.
    virtual void OnCustomizeDrop(COSMControl* control, int& effect, CPoint point, CPoint start);
    virtual BOOL IsCustomizable() const { return m_customizable; }
    virtual void OnRecalcLayout() {}
    virtual void StopTracking();
    virtual void ClearSelected();
    // Status line and help id of the control under the cursor: the site hears of the control (10326), the manager
    // keeps its help id and the status line shows its description (or the idle text when it goes).
    virtual void UpdateStatusText(BOOL show, COSMControl* control);
    // The bar that holds the control whose popup this bar is; null for every bar but a popup.
    virtual COSMCommandBar* GetParentCommandBar() const { return nullptr; }
    virtual BOOL IsDialogBar() const { return FALSE; }
    virtual BOOL IsRibbonBar() const { return FALSE; }
    // Whether the control stands in the bar's quick-access row; only a ribbon bar has one.
    virtual BOOL IsQuickAccessControl(const COSMControl* control) const { return FALSE; }
    virtual BOOL IsPopupBar() const { return FALSE; }
    // The manager's keyboard-cue state; TRUE without a manager.
    virtual BOOL IsKeyboardCuesVisible() const;
    // Redraws the rectangle (null: the whole bar) through the animation; only marks it while redraws are locked.
    virtual void Redraw(const RECT* rect = nullptr, BOOL animate = TRUE);
    // Frame, gripper, controls, separators and customize marks, clipped to clip.
    virtual void DrawCommandBar(CDC* dc, CRect clip);
    virtual void EnsureVisible(COSMControl* control) {}
    virtual CRect GetBorders();
    virtual void DrawCommandBarFrame(CDC* dc);
    virtual int GetResizeMode() const { return 0; }
    // Keyboard tips (CommandBarKeyboardTips.cpp). One tip per visible control with a caption that the keyboard may
    // reach (no flag 2, no gallery); a bar without a parent bar adds one per other visible bar of the manager.
    virtual void CreateKeyboardTips();
    // The tip's letters were typed: a control runs its access-key activation, a toolbar of the manager (the menu bar
    // among them) enters tracking with its first control selected.
    virtual void OnKeyboardTip(COSMCommandBarKeyboardTip* tip);
    // A key going down while the bar tracks: 0 not the bar's (the next tracking bar is asked), 1 handled (eaten),
    // 2 let through to its window.
    virtual int OnHookKeyDown(UINT key, LPARAM lParam);
    virtual CSize CalcDynamicLayout(int length, DWORD mode) { return CSize(0, 0); }
    // Navigation by kind (SpecialKey); TRUE when handled.
    virtual BOOL ProcessSpecialKey(int kind);
    // Clears the hot and popped-up indexes and marks the layout as pending.
    virtual void DelayLayout();
    // Takes over the source's settings, manager and controls.
    virtual void Copy(const COSMCommandBar* source, BOOL recursive);
    // The point (screen) lies in the window; a popup with a window region asks the region. A bar that lets the
    // windows it hosts take their own clicks answers kPointLeftToWindows for the points outside its own parts.
    virtual BOOL IsPointInWindow(CPoint point) const;
    static constexpr BOOL kPointLeftToWindows = -2;
    // Every visible control of this bar with an id gets the shortcut manager's text for it as its automatic
    // shortcut text (empty when there is none); in a context menu (root bar a popup) only when the options show
    // shortcuts there, else the texts are cleared. Nothing unless the options refresh shortcut texts.
    virtual void UpdateShortcuts();
    // Popup bars that may grow as wide as their widest control answer TRUE (the column layout then cuts nothing).
    virtual BOOL HasNoWidthLimit() const { return FALSE; }
    // The manager is letting the bar go: its controls go and its window is destroyed.
    virtual void OnRemoved();
    // Where a customize drop at the client point lands: the index of the nearest candidate control (-1 none), the
    // insertion marker, and whether the drop goes after it. Returns the index.
    virtual int FindDropIndex(COSMControl* control, CPoint point, CRect* marker, int* index, BOOL* after);
    // Idle-time work: document-template visibility, the controls' command states (OnUpdateCmdUI), pending redraw and
    // layout. Only for a visible window.
    virtual LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    // The controls' enabled, check and caption states from the update handlers of the bar itself, then of the owner
    // site (GetOwnerSite); commands nobody handles go grey when the options say so. Dialog controls of the bar too.
    virtual void OnUpdateCmdUI();
    virtual BOOL ProcessFrameKey(UINT key) { return FALSE; }
    virtual void OnChildBarRButtonUp(COSMCommandBar* bar, int x, int y) {}
    // A new bar of the base class with this bar copied into it.
    virtual COSMCommandBar* Clone(BOOL recursive) const;

    // ---- Saving and loading ------------------------------------------------------------------------------------
    // Adds the bar (one reference) and the bars its controls open to the save list, numbering those that need it;
    // nothing when the list holds the bar already.
    virtual void GenerateCommandBarList(DWORD& nextId, COSMCommandBarList* list, COSMCommandBarsPersistParams* params);
    // The bar's keys, then its controls in section "Controls".
    virtual void DoPropExchange(COSMPropExchange* px);
    // After loading: the popup controls find their bars in the list again.
    virtual void RestoreCommandBarList(COSMCommandBarList* list);
    // Whether the manager saves the bar: the toolbar answers from its own not-saved, built-in and customized state.
    virtual BOOL IsSaveCandidate(BOOL onlyCustomized) const { return TRUE; }
    // TRUE for a COSMToolBar or a class derived from it.
    BOOL IsToolBar() const;
    void SetPositionField(int position) { m_position = position; }

    // A window that outlives the last reference is destroyed with it.
    void OnFinalRelease() override;
    // Messages of windows the bar listens to, and keys from the keyboard manager (window 0): only while tracking,
    // WM_KEYDOWN goes to OnHookKeyDown and WM_MOUSEWHEEL to a focused hot control (and is always taken).
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;
    // The bar answers screen readers itself: child 0 is the bar, child n the control at index n - 1.
    CCmdTarget* GetAccessibleOwner() override { return this; }
    HRESULT GetAccessibleParent(IDispatch** ppdispParent) override;
    HRESULT GetAccessibleChildCount(long* pcountChildren) override;
    HRESULT GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild) override;
    HRESULT GetAccessibleName(VARIANT varChild, BSTR* pszName) override;
    HRESULT GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole) override;
    HRESULT GetAccessibleState(VARIANT varChild, VARIANT* pvarState) override;
    HRESULT AccessibleLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild) override;
    HRESULT AccessibleHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;

    // Every message goes to the tooltip context before the bar handles it.
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // Tracking (CommandBarTracking.cpp) and keys (CommandBarKeyboardNavigator.cpp).
    // Closes the open popup and opens the control's (-1: only closes); FALSE when the control is missing or
    // disabled, or its popup does not open.
    BOOL SetPopuped(int index, BOOL keyboard = FALSE);
    // The control whose access key the virtual key types, searched once round from the one after the selection:
    // an '&' mnemonic first, else a first letter; -1 when none. ambiguous: another control has the same key.
    int FindAccel(UINT key, BOOL& ambiguous) const;
    // The level of this bar's keyboard tips (0 when it shows none).
    int GetKeyboardTipsLevel() const;
    // A typed key while this bar's keyboard tips show: the tips narrow down to those that go on with the key, and
    // a tip typed in full runs (a disabled one beeps); a key no tip goes on with beeps.
    void OnKeyboardTipChar(UINT key);
    // The thread's mouse manager, or the manager's own.
    COSMMouseManager* GetMouseManager() const;
    // Window handlers, also called by the mouse manager and other bars with client points.
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnNcMouseMove(UINT hitTest, CPoint point);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    afx_msg void OnRButtonDown(UINT flags, CPoint point);
    afx_msg void OnRButtonUp(UINT flags, CPoint point);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcLButtonDown(UINT hitTest, CPoint point);

    // Tracking state.
    BOOL IsSelectedByKeyboard() const { return m_selectedByKeyboard != 0; }
    BOOL IsEnteredByMouse() const { return m_enteredByMouse; }
    HWND GetCaretWindow() const { return m_caretWindow; }
    BOOL GetHoverSelect() const { return m_hoverSelect; }
    void SetHoverSelect(BOOL hoverSelect) { m_hoverSelect = hoverSelect; }
    BOOL GetHideCaretWhileTracking() const { return m_hideCaretWhileTracking; }
    void SetHideCaretWhileTracking(BOOL hide) { m_hideCaretWhileTracking = hide; }
    // Hover and leave follow the mouse even while the mouse manager is locked.
    BOOL IsLockExempt() const { return m_lockExempt; }
    void SetLockExempt(BOOL exempt) { m_lockExempt = exempt; }
    // The bar's own lock: while above 0, its timers, hover and keys do nothing.
    int GetTrackLockCount() const { return m_trackLockCount; }
    void AdjustTrackLockCount(int delta) { m_trackLockCount += delta; }
    // How a popup was tracked (set by the manager's popup tracking).
    BOOL IsRightButtonTracking() const { return m_rightButtonTracking; }
    void SetRightButtonTracking(BOOL rightButton) { m_rightButtonTracking = rightButton; }
    BOOL IsNoNotify() const { return m_noNotify; }
    void SetNoNotify(BOOL noNotify) { m_noNotify = noNotify; }
    BOOL IsRecursiveTracking() const { return m_recursiveTracking; }
    void SetRecursiveTracking(BOOL recursive) { m_recursiveTracking = recursive; }
    // Where a popup tracked to return the chosen command stores its id (null: commands are sent).
    int* GetPopupResult() const { return m_popupResult; }
    void SetPopupResult(int* result) { m_popupResult = result; }
    // The customize insertion marker.
    CRect GetDropMarkerRect() const { return m_dropMarkerRect; }
    BOOL IsDropMarkerVertical() const { return m_dropMarkerVertical; }
    // The customize drop search looks only at the row under the point.
    void SetRowRestrictedDrop(BOOL restricted) { m_rowRestrictedDrop = restricted; }

    COSMControls* GetControls() const { return m_controls.Get(); }
    int GetControlCount() const;
    // Null outside 0..count-1.
    COSMControl* GetControl(int index) const;
    // Releases the old collection and takes the new one (already referenced), becoming its parent.
    void SetControls(COSMControls* controls);
    const CString& GetTitle() const { return m_title; }
    void SetTitle(const CString& title) { m_title = title; }
    DWORD GetFlags() const { return m_flags; }
    void ModifyFlags(DWORD add, DWORD remove) { m_flags = (m_flags | add) & ~remove; }
    // The bar's own style word (not the window's).
    DWORD GetBarStyle() const { return m_style; }
    void SetBarStyle(DWORD style) { m_style = style; }
    void SetMRUWidth(int width) { m_mruWidth = width; }
    int GetMRUWidth() const { return m_mruWidth; }
    void SetShowGripper(BOOL show);
    BOOL GetShowGripper() const { return (m_style & kStyleGripper) != 0; }
    // Stores the switch in the animation and redraws the bar.
    void EnableAnimation(BOOL enable);
    BOOL IsAnimationEnabled() const;
    COSMCommandBarAnimation* GetAnimation() const { return m_animation.get(); }
    // The next popup this bar opens is animated (a popup clears it once it played).
    BOOL IsAnimateNextPopup() const { return m_animateNextPopup; }
    void SetAnimateNextPopup(BOOL animate) { m_animateNextPopup = animate; }
    // The window lays out right to left (WS_EX_LAYOUTRTL or WS_EX_RTLREADING); FALSE without a window.
    BOOL IsLayoutRTL() const;

    // What GetType answers.
    static constexpr int kTypeMenuBar = 0;
    static constexpr int kTypeNormal = 1;
    static constexpr int kTypePopup = 2;
    int GetType() const { return m_type; }
    void SetType(int type) { m_type = type; }
    int GetPosition() const { return m_position; }
    UINT GetBarID() const { return m_barId; }
    void SetBarID(UINT id) { m_barId = id; }
    BOOL IsCustomizableField() const { return m_customizable; }
    void SetCustomizable(BOOL customizable) { m_customizable = customizable; }
    int GetDefaultButtonStyle() const { return m_defaultButtonStyle; }
    void SetDefaultButtonStyle(int style) { m_defaultButtonStyle = style; }
    CSize GetIconSizeField() const { return m_iconSize; }
    void SetIconSize(CSize size) { m_iconSize = size; }
    CSize GetButtonSizeField() const { return m_buttonSize; }
    void SetButtonSize(CSize size) { m_buttonSize = size; }
    int GetSelectedIndex() const { return m_selectedIndex; }
    int GetPopupedIndex() const { return m_popupedIndex; }
    int GetTrackingMode() const { return m_trackingMode; }
    DWORD GetStateFlags() const { return m_stateFlags; }
    // Marks the layout as pending without touching the selection (what a changed control asks for).
    void SetLayoutPending()
    {
        m_stateFlags |= kStateLayoutPending;
        InvalidateLayoutCache();
    }
    // Something the bar's size depends on changed (a control, a text, an image): a layout remembered for the old
    // state no longer stands. Ignored while the bar measures itself, whose own changes are part of its result.
    void InvalidateLayoutCache()
    {
        if (m_measuringDepth == 0)
            ++m_layoutGeneration;
    }
    UINT GetLayoutGeneration() const { return m_layoutGeneration; }
    // While locked, Redraw only marks a pending redraw; the next idle update performs it.
    void LockRedraw() { ++m_redrawLockCount; }
    void UnlockRedraw();
    int GetRedrawLockCount() const { return m_redrawLockCount; }

    // Owners and services.
    // The manager of the first bar up the parent chain that has one.
    COSMCommandBars* GetCommandBars() const;
    // The bar a manager holds directly.
    COSMCommandBars* GetCommandBarsField() const { return m_commandBars; }
    void SetCommandBars(COSMCommandBars* commandBars) { m_commandBars = commandBars; }
    // The last bar up the parent chain.
    COSMCommandBar* GetRootParent() const;
    // The manager's site, else the root's site window, else (no root window) the application's main window, else
    // the root window's owner, else its parent.
    CWnd* GetSite() const;
    // GetSite when it is a frame window, else null.
    CFrameWnd* GetFrameSite() const;
    // The window that gets command-UI updates: the first command-target window or window owner up the chain,
    // else the top bar's site.
    CWnd* GetOwnerSite() const;
    // The window that gets the controls' notifications and commands: the first command-target window up the parent
    // chain, else this bar's window owner, else GetSite.
    CWnd* GetNotifySite() const;
    CWnd* GetSiteWindow() const { return m_siteWindow; }
    void SetSiteWindow(CWnd* site) { m_siteWindow = site; }
    CWnd* GetCommandTargetWindow() const { return m_commandTargetWindow; }
    void SetCommandTargetWindow(CWnd* target) { m_commandTargetWindow = target; }
    // The manager is in customize mode and the bar is not one of customization's own tools.
    BOOL IsCustomizeMode() const;
    // The customize sheet's own menus: their controls run their commands while the bars are being customized.
    void SetCustomizeTool(BOOL tool) { m_customizeTool = tool; }
    BOOL IsCustomizeTool() const { return m_customizeTool; }
    // Own, the manager's, the root bar's own, else the process-wide one (made for theme 0 on first use).
    COSMPaintManager* GetPaintManager() const;
    COSMImageManager* GetImageManager() const;
    // The bar's own managers, referenced while held.
    void SetPaintManager(COSMPaintManager* paintManager);
    void SetImageManager(COSMImageManager* imageManager);
    // The manager's active document-template id; 0 without a manager.
    UINT GetActiveDocTemplate() const;

    // Window services.
    // Redraws this bar and every bar up its parent chain.
    void RedrawParents();
    // A message of a child window (an edit control on the bar) for the tooltip context, the bar being the site.
    void RelayToolTipEvent(UINT message, WPARAM wParam, LPARAM lParam);
    // The manager's keyboard tips go; nothing without a manager.
    void HideKeyboardTips();
    // The tooltip context the bar passes its messages to: the manager's, from window creation on.
    COSMToolTipContext* GetToolTipContext() const { return m_toolTipContext.Get(); }
    // The control whose press is being tracked (its status text stays while the mouse moves); -1 none.
    int GetStatusTextIndex() const { return m_statusTextIndex; }
    void SetStatusTextIndex(int index) { m_statusTextIndex = index; }
    // The window the focus goes back to when an edit control on the bar lets it go; null for none.
    HWND GetFocusBackWindow() const { return m_focusBackWindow; }
    void SetFocusBackWindow(HWND window) { m_focusBackWindow = window; }
    // Listed among the toolbars of the customize pages (every bar is, from its construction).
    BOOL IsListed() const { return m_listed; }
    void SetListed(BOOL listed) { m_listed = listed; }

    // Sizes (every bar).
    // The paint manager's automatic icon size (16 x 16 or 32 x 32 without one).
    CSize GetAutoIconSize(BOOL large) const;
    // The icon size of large buttons: the options' "LargeIconsSize", else the automatic large size (automatic) or
    // twice the normal size; a bar with its own "ButtonSize" keeps the normal size. Without a manager, twice the
    // bar's "IconSize" (32 x 32 when unset).
    CSize CalcIconSize(BOOL automatic) const;
    // "ShowTextBelowIcons" unless it is 2, then the options' (FALSE without a manager).
    BOOL IsTextBelowIcons() const;
    int GetShowTextBelowIcons() const { return m_showTextBelowIcons; }
    void SetShowTextBelowIcons(int show) { m_showTextBelowIcons = show; }
    // Room between controls along (cx) and across (cy) rows; 0,0 unless a bar class sets it.
    CSize GetControlSpacing() const { return m_controlSpacing; }
    void SetControlSpacing(CSize spacing) { m_controlSpacing = spacing; }
    // Set by the column layout when the controls did not fit one column.
    BOOL IsMultiColumn() const { return m_multiColumn; }
    void SetMultiColumn(BOOL multiColumn) { m_multiColumn = multiColumn; }

    // Toolbar filling (ToolBarFill.cpp): the controls of the ids, 0 marking that the next one begins a group; the
    // site may supply each control (10334) and hears of it (10335).
    BOOL SetButtons(const UINT* ids, int count);
    // "Closeable": a floating bar shows a close button in its caption.
    BOOL IsCloseable() const { return m_closeable; }
    void SetCloseable(BOOL closeable) { m_closeable = closeable; }

    // Tooltips (CommandBarToolTips.cpp).
    // The tool under the client point: the hit control's own answer, else its image id with the tool info filled
    // (text = its tooltip, with " (shortcut)" when the options ask for shortcut tips; an extended record gets the
    // control). -1 while a popup of the bar is open or other popups track, with screen tips off, for no control or
    // no text, and in popup bars unless the options or the control (flag 0x40) allow it.
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* info) const override;

    // Read by the painters; their own bar types (toolbar, popup bar) take them over later.
    // 0 from the position, 1 vertical, 2 horizontal.
    int GetTextOrientation() const { return m_textOrientation; }
    void SetTextOrientation(int orientation)
    {
        m_textOrientation = orientation;
        InvalidateLayoutCache();
    }
    BOOL IsDoubleGripper() const { return m_doubleGripper; }
    void SetDoubleGripper(BOOL doubleGripper) { m_doubleGripper = doubleGripper; }

protected:
    // The site frame shows context help: clicks ask for help instead of running commands.
    BOOL IsHelpMode() const;
    // Customize mode's marks: the two-pixel black frame of the customize selection (the rectangle and the rectangle
    // inset by 1), and the drop marker while the drop-marker rectangle is not empty.
    static void DrawCustomizeSelection(CDC* dc, CRect rect);
    void DrawCustomizeMarks(CDC* dc);
    // The bar lies along a row: docked top or bottom, floating, or a popup toolbar.
    BOOL IsHorizontalBar() const;
    // Under the mouse lock, hover and leave are ignored.
    BOOL IsUnderMouseLock() const;

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg int OnCreate(LPCREATESTRUCT createStruct);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnInitialUpdate(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);

    BOOL m_lockExempt = FALSE;
    BOOL m_hoverSelect = TRUE;
    BOOL m_hideCaretWhileTracking = TRUE;
    int m_mruWidth = 32767;
    int m_selectedIndex = -1;
    int m_popupedIndex = -1;
    HWND m_caretWindow = nullptr;
    UINT m_barId = 0;
    BOOL m_visible = TRUE;
    int m_trackingMode = 0;
    CWnd* m_siteWindow = nullptr;
    DWORD m_stateFlags = 0;
    DWORD m_flags = 0;
    DWORD m_style = kStyleGripper;
    CString m_title;
    int m_type = 1;
    RefPtr<COSMControls> m_controls;
    int m_position = 7;
    COSMCommandBars* m_commandBars = nullptr;
    CWnd* m_commandTargetWindow = nullptr;
    CSize m_iconSize{0, 0};
    CSize m_buttonSize{0, 0};
    int m_showTextBelowIcons = 2;
    BOOL m_rightButtonTracking = FALSE;
    BOOL m_noNotify = FALSE;
    BOOL m_recursiveTracking = FALSE;
    int m_trackLockCount = 0;
    BOOL m_selectedByKeyboard = FALSE;
    BOOL m_customizable = TRUE;
    BOOL m_customizeTool = FALSE;
    CRect m_dropMarkerRect;
    BOOL m_dropMarkerVertical = FALSE;
    int* m_popupResult = nullptr;
    BOOL m_enteredByMouse = FALSE;
    int m_redrawLockCount = 0;
    RefPtr<COSMPaintManager> m_paintManager;
    RefPtr<COSMImageManager> m_imageManager;
    BOOL m_rowRestrictedDrop = FALSE;
    int m_defaultButtonStyle = 0;
    // The manager's tooltip context, referenced while the window exists.
    RefPtr<COSMToolTipContext> m_toolTipContext;
    std::unique_ptr<COSMCommandBarAnimation> m_animation;
    std::unique_ptr<COSMCommandBarKeyboardNavigator> m_keyboardNavigator;
    BOOL m_animateNextPopup = TRUE;
    int m_statusTextIndex = -1;
    HWND m_focusBackWindow = nullptr;
    BOOL m_listed = TRUE;

    int m_textOrientation = 0;
    BOOL m_doubleGripper = FALSE;
    CSize m_controlSpacing{0, 0};
    BOOL m_multiColumn = FALSE;
    BOOL m_closeable = FALSE;

    // While alive, the bar measures itself: the changes it makes to its own controls do not invalidate its
    // remembered layouts.
    class MeasuringScope
    {
    public:
        explicit MeasuringScope(COSMCommandBar* bar) : m_bar(bar) { ++m_bar->m_measuringDepth; }
        ~MeasuringScope() { --m_bar->m_measuringDepth; }
        MeasuringScope(const MeasuringScope&) = delete;
        MeasuringScope& operator=(const MeasuringScope&) = delete;

    private:
        COSMCommandBar* m_bar;
    };

    DECLARE_MESSAGE_MAP()

private:
    UINT m_layoutGeneration = 0;
    int m_measuringDepth = 0;

    // The control of an accessible child id (1..count), else null.
    COSMControl* GetAccessibleControl(long childId) const;
    // Clears the mouse manager's selected bar when it is this one (without making a manager for the thread).
    void ForgetInMouseManager();

    // The keys' handling reads the bar's tracking state and its help mode and orientation.
    friend class COSMCommandBarKeyboardNavigator;
};

// The tool info a bar's hit test recognises as extended by its size: it also learns the control hit.
struct COSMCommandBarToolInfo : TOOLINFOA
{
    COSMControl* pControl;
};

// Swaps VK_LEFT and VK_RIGHT for a bar whose window lays out right to left.
void KeyToLayout(const COSMCommandBar* bar, UINT& key);
