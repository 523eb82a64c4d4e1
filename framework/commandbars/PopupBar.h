// COSMPopupBar: the bar a popup control opens (a menu) or that is shown at a point. Popups are made only through
// CreatePopupBar, whose class pointer an application may replace with a class derived from this one:
//
//   COSMPopupBar* popup = COSMPopupBar::CreatePopupBar(commandBars);
//   popup->LoadMenu(menu.GetSubMenu(0), TRUE);
//   popupControl->SetCommandBar(popup);       // the control takes its own reference
//   popup->InternalRelease();
//
// A popup has its own top-level window ("OSMPopupBar") that opens beside its control, or at a point, on the side of
// the monitor where it fits (PopupPlacement.h), tracks until a command runs or it is closed, and scrolls when it is
// taller than the work area. A menu may open collapsed, showing only the commands the user has used, with an expand
// button at its foot (PopupBarExpanding.cpp); a popup holding a resizable gallery shows a resize gripper under its
// last control (PopupBarResize.cpp). A popup with "TearOffPopup" shows a gripper strip above its first control that
// drags a floating toolbar off it, made of clones of its controls (PopupBarTearOff.cpp).
#pragma once

#include "classlib/CString.h"
#include "classlib/CmdTarget.h"
#include "classlib/Geometry.h"
#include "classlib/RefPtr.h"
#include "framework/commandbars/CommandBar.h"

#include <functional>

class COSMToolBar;

class COSMPopupBar : public COSMCommandBar
{
    DECLARE_SERIAL(COSMPopupBar)

public:
    // Sent to the owner window before the popup shows, and to the site once it is gone (wParam 0, lParam the popup).
    static constexpr UINT kMessagePopupShowing = 10331;
    static constexpr UINT kMessagePopupClosed = 10333;
    // The scroll buttons' timers and their period.
    static constexpr UINT_PTR kTimerScrollDown = 5001;
    static constexpr UINT_PTR kTimerScrollUp = 5002;
    static constexpr UINT kScrollPeriod = 80;
    static constexpr int kScrollButtonHeight = 16;

    COSMPopupBar();
    ~COSMPopupBar() override;

    // A new popup bar of the class s_pPopupBarClass names, holding the manager; null when the class cannot be made.
    static COSMPopupBar* CreatePopupBar(COSMCommandBars* commandBars);
    // The class CreatePopupBar makes; it must derive from COSMPopupBar.
    static CRuntimeClass* s_pPopupBarClass;
    // The work area and the monitor area of the monitor nearest the rectangle (a point when empty); tests shrink them.
    using MonitorAreasFn = void (*)(const CRect& rect, CRect* workArea, CRect* monitorArea);
    static MonitorAreasFn s_pfnGetMonitorAreas;

    // ---- Overrides of the bar ----------------------------------------------------------------------------------
    // Popups redraw at once.
    void DelayRedraw() override;
    // Switching on raises the menu-popup-start event; switching off raises the end event and closes the window.
    BOOL SetTrackingMode(int mode, BOOL selectFirst, BOOL keyboard) override;
    // A control scrolled out of view comes back into it.
    BOOL SetSelected(int index, int how = 0) override;
    // Shows the popup for the control (null: at the popup point); TRUE when it is up and tracking.
    BOOL Popup(COSMControlPopup* control, BOOL keyboard) override;
    // The bar's keys, then the tear-off, border, shadow, gripper and context-menu keys.
    void DoPropExchange(COSMPropExchange* px) override;
    BOOL IsVisible() const override;
    void OnRecalcLayout() override;
    // The bar that holds the opening control; null without one.
    COSMCommandBar* GetParentCommandBar() const override;
    BOOL IsPopupBar() const override { return TRUE; }
    void DrawCommandBar(CDC* dc, CRect clip) override;
    CRect GetBorders() override;
    int GetResizeMode() const override { return m_resizeMode; }
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    // Clears the selected and popped-up indexes and lays out again at once.
    void DelayLayout() override;
    void Copy(const COSMCommandBar* source, BOOL recursive) override;
    // A new popup bar made by CreatePopupBar with this bar copied into it.
    COSMCommandBar* Clone(BOOL recursive) const override;
    // Child windows of the popup (a custom control's) go back to the site before the window goes.
    BOOL DestroyWindow() override;

    // ---- Override these ----------------------------------------------------------------------------------------
    virtual BOOL CreatePopupWindow();
    // The screen rectangle for the popup point and size; may change the direction flags and switch scrolling on.
    virtual CRect CalculatePopupRect(int x, int y, int cx, int cy);
    // Direction and excluded rectangle from the opening control.
    virtual void UpdateExcludeRect();
    // The rectangle the popup must not cover, as its opening control adjusts it (nothing without one).
    virtual void AdjustExcludeRect(CRect& rect, BOOL vertical);
    virtual void AnimatePopup();

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // Shows the popup at the screen point, outside the excluded rectangle when one is given.
    BOOL Popup(int x, int y, LPCRECT exclude = nullptr);
    // The first visible control with the DefaultItem flag: its id, or its index with byIndex; -1 when none.
    int GetDefaultItem(BOOL byIndex) const;
    // Places and shows the window at CalculatePopupRect's rectangle for the popup point and the size.
    void UpdateLocation(CSize size);
    // The animation kind the options ask for (PopupPlacement.h).
    int GetMenuAnimation() const;

    // The control whose popup this is; null for a popup shown at a point.
    COSMControl* GetControlPopup() const { return m_controlPopup; }
    void SetControlPopup(COSMControl* control) { m_controlPopup = control; }
    DWORD GetDirectionFlags() const { return m_popupFlags; }
    void SetDirectionFlags(DWORD flags) { m_popupFlags = flags; }
    CPoint GetPopupPoint() const { return m_popupPoint; }
    CRect GetExcludeRect() const { return m_excludeRect; }
    // A COSMOwnedCommandBarList holds the popup.
    BOOL IsOwnedByList() const { return m_ownedByList; }
    void SetOwnedByList(BOOL owned) { m_ownedByList = owned; }
    BOOL GetShowShadow() const { return m_showShadow; }
    void SetShowShadow(BOOL show) { m_showShadow = show; }
    BOOL IsContextMenu() const { return m_contextMenu; }
    void SetContextMenu(BOOL contextMenu) { m_contextMenu = contextMenu; }
    // Set by the manager's popup tracking from its flags (bit 0).
    void SetShadowTag(BOOL tag) { m_shadowTag = tag; }
    // The popup is a toolbar's add-or-remove-buttons list.
    BOOL IsAddOrRemoveList() const { return m_addOrRemoveList; }
    void SetAddOrRemoveList(BOOL list) { m_addOrRemoveList = list; }

    // Scrolling.
    BOOL IsScrolling() const { return m_scrolling; }
    int GetFirstVisibleIndex() const { return m_firstVisibleIndex; }
    int GetEndVisibleIndex() const { return m_endVisibleIndex; }
    CRect GetScrollDownRect() const { return m_scrollDown.rect; }
    CRect GetScrollUpRect() const { return m_scrollUp.rect; }
    CRect GetTearOffGripperRect() const { return m_tearOffGripperRect; }
    CRect GetResizeGripperRect() const { return m_resizeGripperRect; }

    // ---- Collapsed menus (PopupBarExpanding.cpp) ----------------------------------------------------------------
    // The hover delay before a selected expand button expands the popup.
    static constexpr UINT_PTR kTimerExpandButton = 5004;
    static constexpr UINT kExpandButtonDelay = 900;
    // Shows every command of a collapsed popup; from then on every popup of the open menu opens expanded.
    void ExpandBar();
    // Decides which controls hide as not used: all show with "AlwaysShowFullMenus", or when the popup is expanded
    // or has no used visible command. Needs a manager. The layout runs it.
    void UpdateExpandingState();
    BOOL IsCollapsed() const { return m_collapsed; }
    BOOL IsExpanded() const { return m_expanded; }
    // The expand button among the controls; null when the popup was never collapsed.
    COSMControl* GetExpandButton() const;
    // Ctrl+Down on a collapsed popup, or Down with nothing after the selection, expands before the key moves on.
    int OnHookKeyDown(UINT key, LPARAM lParam) override;

    // ---- The resize gripper (PopupBarResize.cpp) ----------------------------------------------------------------
    // The point (client) lies on the gripper: anywhere on the strip for height-only resizing, else on the square at
    // its far end.
    BOOL HitTestResizeGripper(CPoint point) const;
    // Drags the gallery's size with the mouse until the button goes up (kept) or Escape (restored). Nothing when
    // another window holds the capture or no visible gallery is there.
    void TrackResize();
    // Fits the window to the resized content, keeping its top-left corner (top-right when right to left).
    void UpdateResizedLayout();
    // The first visible gallery (Type 10); null when none.
    COSMControl* GetResizableGallery() const;
    // Whether the drag loop runs.
    BOOL IsResizeTracking() const { return m_resizeTracking; }

    // ---- Tear-off (PopupBarTearOff.cpp) ----------------------------------------------------------------------
    // The gripper's hot tracking timer and its period; the message the site gets when a toolbar is torn off
    // (wParam the toolbar, lParam the popup).
    static constexpr UINT_PTR kTimerTearOffHot = 5003;
    static constexpr UINT kTearOffHotPeriod = 80;
    static constexpr UINT kMessageTornOff = 10343;
    // How far the cursor may stray from the gripper before the toolbar comes off, and where the toolbar hangs from
    // the cursor (its top centre, this far below its top edge).
    static constexpr int kTearOffReach = 10;
    static constexpr int kTearOffHangY = 10;
    BOOL IsTearOffPopup() const { return m_tearOffPopup; }
    void SetTearOffPopup(BOOL tearOff) { m_tearOffPopup = tearOff; }
    CString GetTearOffCaption() const { return m_tearOffCaption; }
    void SetTearOffCaption(const CString& caption) { m_tearOffCaption = caption; }
    UINT GetTearOffId() const { return m_tearOffId; }
    void SetTearOffId(UINT id) { m_tearOffId = id; }
    int GetTearOffWidth() const { return m_tearOffWidth; }
    void SetTearOffWidth(int width) { m_tearOffWidth = width; }
    BOOL IsTearOffGripperHot() const { return m_tearOffGripperHot; }
    BOOL IsTearOffTracking() const { return m_tearOffTracking; }
    // The toolbar of the drag that runs; null when attached or outside a drag.
    COSMToolBar* GetTornOffToolBar() const { return m_tornOffToolBar.Get(); }
    // Attached: the popup shows and a toolbar torn off during this drag hides. Torn off: the popup hides and the
    // toolbar of "TearOffId" (found, else made from clones of the controls) floats with its top centre at the
    // point, 10 pixels down; the site hears 10343. Needs a manager.
    void TearOff(BOOL attached, int x, int y);
    // The drag loop: the toolbar comes off beyond 10 pixels around the gripper and goes back within them; the
    // button's release leaves it where it is and closes every popup. Nothing when another window holds the capture.
    void TrackTearOff();

protected:
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg LRESULT OnMouseActivate(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcActivate(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcCreate(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    DECLARE_MESSAGE_MAP()

    // Layout parts of collapsed menus and the resize gripper: the expand button's height (0 when not collapsed)
    // and the gripper's, both added to the bottom border; the button placed under the last control of a layout of
    // the size; the gripper strip under it.
    int PrepareExpandButton(CDC* dc);
    void PlaceExpandButton(CSize size);
    // An expanding popup grows to rect with the paint manager's expanding animation: the commands it reveals open up
    // while the others make room, downward when its bottom moves down (grows upward otherwise). FALSE, with nothing
    // done, when the menu animation is off (kind 5).
    BOOL AnimateExpandingLayout(const CRect& rect, const CRect& before);
    int PrepareResizeGripper();
    void PlaceResizeGripper(CSize size);
    // The expand-button timer follows a new selection.
    void UpdateExpandTimer(int index, int how);
    void OnExpandTimer();
    void DrawResizeGripper(CDC* dc);
    // The tear-off gripper: its height added to the top border (0 without "TearOffPopup"), its strip above the top
    // border, the hot tracking of the mouse over it, its drawing.
    int PrepareTearOffGripper(CDC* dc);
    void PlaceTearOffGripper(CSize size);
    BOOL HitTestTearOffGripper(CPoint point) const;
    void TrackTearOffHot(CPoint point);
    void OnTearOffHotTimer();
    void DrawTearOffGripper(CDC* dc);
    // Forgets the torn-off toolbar of the drag, letting go of its reference.
    void ForgetTornOffToolBar();

    // How a drag ended: the button went up, Escape, a WM_QUIT (posted again for the application's loop), or the
    // capture went elsewhere.
    enum class DragEnd
    {
        Released,
        Escape,
        Quit,
        CaptureLost
    };
    // Captures the mouse and runs a drag loop: waiting paints first, other messages dispatched, each move to a new
    // screen point handed to move with the point before it (the press for the first). Releases the capture.
    DragEnd TrackDrag(const std::function<void(CPoint previous, CPoint point)>& move);

    // The visible slice of a scrolling popup for the size (the window's when empty): from the first visible index
    // down, or from the end visible index up.
    void LayoutScrolled(CSize size, BOOL fromTop, BOOL redraw);
    // The shadows of the window against the excluded rectangle, when they are drawn at all.
    void UpdateShadows();
    void RemoveShadows();
    BOOL IsVerticalParent(const COSMCommandBar* parent) const;

    struct ScrollButton
    {
        CRect rect;
        UINT_PTR timer = 0;
    };

    COSMControl* m_controlPopup = nullptr;
    CPoint m_popupPoint;
    CRect m_excludeRect;
    DWORD m_popupFlags = 0;
    BOOL m_inLayout = FALSE;
    BOOL m_collapsed = FALSE;
    BOOL m_expanded = FALSE;
    BOOL m_expanding = FALSE;
    BOOL m_tearOffPopup = FALSE;
    CRect m_tearOffGripperRect;
    CRect m_resizeGripperRect;
    int m_resizeMode = 0;
    BOOL m_tearOffGripperHot = FALSE;
    CString m_tearOffCaption;
    UINT m_tearOffId = 0;
    int m_tearOffWidth = 0;
    BOOL m_showShadow = TRUE;
    CRect m_popupToolBarBorders = CRect(2, 4, 2, 4);
    BOOL m_contextMenu = FALSE;
    BOOL m_scrolling = FALSE;
    int m_firstVisibleIndex = 0;
    int m_endVisibleIndex = 0;
    BOOL m_addOrRemoveList = FALSE;
    BOOL m_ownedByList = FALSE;
    ScrollButton m_scrollDown;
    ScrollButton m_scrollUp;
    BOOL m_shadowTag = FALSE;
    // Heights the last layout added to the bottom border.
    int m_expandButtonHeight = 0;
    int m_resizeGripperHeight = 0;
    BOOL m_resizeTracking = FALSE;
    // Tear-off: the gripper's height in the last layout, the drag, the toolbar torn off during it (referenced) and
    // its measured size.
    int m_tearOffGripperHeight = 0;
    UINT_PTR m_tearOffHotTimer = 0;
    BOOL m_tearOffTracking = FALSE;
    RefPtr<COSMToolBar> m_tornOffToolBar;
    CSize m_tornOffSize;
};

// A popup laid out as a toolbar (Type 1): controls wrap in rows at the MRU width inside its own borders.
class COSMPopupToolBar : public COSMPopupBar
{
    DECLARE_SERIAL(COSMPopupToolBar)

public:
    COSMPopupToolBar();

    static COSMPopupToolBar* CreatePopupToolBar(COSMCommandBars* commandBars);
    // The class CreatePopupToolBar makes; it must derive from COSMPopupToolBar.
    static CRuntimeClass* s_pPopupToolBarClass;

    // The wrapping layout at the MRU width, whatever is asked.
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    COSMCommandBar* Clone(BOOL recursive) const override;
};
