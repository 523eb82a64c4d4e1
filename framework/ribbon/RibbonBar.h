// COSMRibbonBar: the command bar that turns a frame's top edge into a ribbon. From top to bottom: a caption strip
// (the quick-access controls and the context-tab headers), the tab row (the system button, free controls left and
// right, the tab strip between them), the groups of the selected tab, and the quick-access row when it is asked to
// stand below. The bar is the frame's menu bar (bar id 1), made by class name:
//
//   auto* ribbon = static_cast<COSMRibbonBar*>(commandBars->AddRibbonBar("Ribbon"));
//   COSMRibbonTab* home = ribbon->AddTab("&Home");
//   ribbon->GetQuickAccessControls()->Add(1, ID_FILE_SAVE);
//
// Narrower than 250 pixels the ribbon folds to height 0; a double click on the selected tab minimizes it to the tab
// row (the tabs then open their groups as a popup) and restores it; the mouse wheel over the frame walks the tabs.
// The site hears of minimizing (10349) and of every tab change (-552 before, which may refuse it, and -551 after).
#pragma once

#include "classlib/CString.h"
#include "classlib/Geometry.h"
#include "classlib/RefPtr.h"
#include "framework/commandbars/ControlButton.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/commandbars/MenuBar.h"
#include "framework/ribbon/RibbonGroup.h"
#include "framework/ribbon/RibbonGroupsScroller.h"
#include "framework/ribbon/RibbonPopupToolBars.h"
#include "framework/ribbon/RibbonSystemButton.h"

#include <memory>

class COSMRibbonBar;
class COSMCommandBarKeyboardTip;
class COSMRibbonControlTab;
class COSMRibbonContextHeaders;
class COSMRibbonFrame;
class COSMRibbonPaintManager;
class COSMRibbonQuickAccessControls;
class COSMRibbonTab;
class COSMTabPaintManager;

// The quick-access customize button at the end of the quick-access controls.
class COSMRibbonBarControlQuickAccessPopup : public COSMControlPopup
{
    DECLARE_SERIAL(COSMRibbonBarControlQuickAccessPopup)

public:
    static constexpr UINT kControlId = 9603;

    COSMRibbonBarControlQuickAccessPopup();
    // 13/22 of the ribbon's control height wide, the control height high.
    CSize GetSize(CDC* dc) override;
    void Draw(CDC* dc) override;
    // Its menu is built anew (the root ribbon's CreateContextMenu for it) each time it opens.
    BOOL OnSetPopup(BOOL popup) override;
    BOOL MakesBarOnOpening() const override { return TRUE; }
    COSMControl* Clone(BOOL recursive) const override;
};

// The button that shows while quick-access controls do not fit.
class COSMRibbonBarControlQuickAccessMore : public COSMControlPopup
{
    DECLARE_SERIAL(COSMRibbonBarControlQuickAccessMore)

public:
    static constexpr UINT kControlId = 9611;

    COSMRibbonBarControlQuickAccessMore();
    CSize GetSize(CDC* dc) override;
    void Draw(CDC* dc) override;
    // Opens the "more" popup, made at each opening.
    BOOL OnSetPopup(BOOL popup) override;
    COSMControl* Clone(BOOL recursive) const override;

protected:
    BOOL MakesBarOnOpening() const override { return TRUE; }
};

// A minimize, maximize, restore or close button of a frame whose caption the ribbon draws.
class COSMRibbonFrameCaptionButton : public COSMControlButton
{
    DECLARE_SERIAL(COSMRibbonFrameCaptionButton)

public:
    COSMRibbonFrameCaptionButton();
    explicit COSMRibbonFrameCaptionButton(COSMRibbonFrame* frame);
    void Draw(CDC* dc) override;
    // Posts the button's system command to the site frame.
    void OnExecute() override;
    COSMRibbonFrame* GetRibbonFrame() const { return m_frame; }

private:
    COSMRibbonFrame* m_frame = nullptr;
};

class COSMRibbonBar : public COSMMenuBar
{
    DECLARE_SERIAL(COSMRibbonBar)

public:
    // The site notifications: the minimized state changed (wParam the bar); a context menu was built (wParam the
    // bar, lParam the popup); and the tab strip's codes before and after a selection change.
    static constexpr UINT kMessageMinimizedChanged = 10349;
    static constexpr UINT kMessageContextMenu = 10332;
    static constexpr int kNotifyTabChanging = -552;
    static constexpr int kNotifyTabChanged = -551;
    // Hide flags of the ribbon's layout: the tab row is off (4), the control's group is not shown (128).
    static constexpr DWORD kHideTabRow = 0x04;
    static constexpr DWORD kHideGroup = 0x80;
    // The narrowest ribbon that shows.
    static constexpr int kMinimumWidth = 250;

    COSMRibbonBar();
    ~COSMRibbonBar() override;

    // ---- Overrides of the bar --------------------------------------------------------------------------------
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* info) const override;
    // A group control's tip of the bar's answer covers the whole groups rectangle while the tooltip context asks for
    // it; only a request that carries the control (the bars' own tool info, recognised by its size) is widened.
    static void WidenGroupControlTool(const COSMCommandBar* bar, INT_PTR tool, TOOLINFOA* info, const CRect& groups);
    BOOL SetTrackingMode(int mode, BOOL selectFirst, BOOL keyboard) override;
    CSize GetIconSize() const override;
    CSize GetButtonSize() const override;
    void SetVisible(BOOL visible) override;
    BOOL IsRibbonBar() const override { return TRUE; }
    void DrawCommandBar(CDC* dc, CRect clip) override;
    void EnsureVisible(COSMControl* control) override;
    // ---- Saving, loading and copies (RibbonBarPersistence.cpp) -------------------------------------------------
    // The toolbar part and the ribbon's own state: tabs (with their selection), the system button (a temporary
    // clone), minimized, quick access below, the quick-access controls.
    void Copy(const COSMCommandBar* source, BOOL recursive) override;
    // "ShowQuickAccessBelow", "Minimized" (schema 19 on), "Customizable" (24 on); a customizable ribbon then its
    // menu bar keys, section "SystemButton" (the button by class) and section "Tabs"; always last, section
    // "QuickAccessControls". A loaded ribbon is the menu bar (bar id 1).
    void DoPropExchange(COSMPropExchange* px) override;
    // A loaded customizable ribbon is copied whole; any other brings its quick access, placement and minimized
    // state only.
    void MergeLoadedControls(COSMToolBar* loaded, BOOL silent) override;
    // A customizable ribbon lists as a menu bar; any other lists itself and its quick access's popups.
    void GenerateCommandBarList(DWORD& nextId, COSMCommandBarList* list, COSMCommandBarsPersistParams* params) override;
    void RestoreCommandBarList(COSMCommandBarList* list) override;
    // The command bar's drop place; beside the system button or a quick-access control no marker shows; free space
    // in a group of the selected tab shows a marker at the group's top left and drops before its option button.
    int FindDropIndex(COSMControl* control, CPoint point, CRect* marker, int* index, BOOL* after) override;
    // The command bar's drop; a copy that lands right after the tab strip goes to the right of the tab row.
    void OnCustomizeDrop(COSMControl* control, int& effect, CPoint point, CPoint start) override;
    void OnRemoved() override;
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;
    CSize CalcDockingLayout(int length, DWORD mode, int minWidth = 0) override;
    BOOL IsCustomized() const override { return TRUE; }
    void RefreshMdiButtons() override;

    // ---- Keyboard (RibbonBarKeyboard.cpp) ----------------------------------------------------------------------
    // Alt (with tabs) enters the tab strip and shows the first tips; '1' to '9' run the visible quick-access
    // control at that place; a tab's access key selects the tab and shows its groups' tips. Nothing with Ctrl down.
    BOOL ProcessFrameKey(UINT key) override;
    // The keyboard manager offers each key to the tracking bars in the order they began to track: while a popup
    // tracks above the ribbon (the tab popup, a group popup, a menu), the key goes on to it.
    int OnHookKeyDown(UINT key, LPARAM lParam) override;
    // Every key but Escape hides the tips; arrows, Return and Space move by position (ProcessSpatialKey) first.
    BOOL ProcessSpecialKey(int kind) override;
    BOOL IsKeyboardCuesVisible() const override;
    // Level 1: the quick-access numbers, the tabs and the system button; level 2: the selected tab's groups.
    void CreateKeyboardTips() override;
    void OnKeyboardTip(COSMCommandBarKeyboardTip* tip) override;
    // A popup tracks above the bar, which then leaves the keys to it, unless a text field of the bar has the focus.
    static BOOL LeavesKeysToPopupAbove(const COSMCommandBar* bar);
    // Arrows (kKeyNextInRow, kKeyPreviousInRow, kKeyExpand, kKeyCollapse) move to the control that lies that way
    // among the controls of the bar (this ribbon when null, or one of its tab and group popups); Return and Space
    // activate the selected control. FALSE without a selection or for other kinds.
    BOOL ProcessSpatialKey(int kind, COSMCommandBar* bar = nullptr);
    // The rectangle arrow navigation compares for a control of the bar (this ribbon when null) for the arrow's
    // virtual key.
    CRect GetNavigationRect(const COSMControl* control, const COSMControl* current, UINT key,
                            const COSMCommandBar* bar = nullptr) const;
    // The tips of the tab's groups, placed in the client area of the bar that shows them (this ribbon when null, or
    // the tab popup that shows a copy of the tab). A group popup names the group it shows and its copy: the tips of
    // the tab's other groups are made hidden, so that every control keeps the letters it has on the ribbon, and the
    // shown group's tips come from the copy.
    void CreateGroupKeyboardTips(COSMRibbonTab* tab, COSMCommandBar* bar = nullptr,
                                 const COSMRibbonGroup* shown = nullptr, COSMRibbonGroup* copy = nullptr);
    // A typed tip of a group control of the bar (this ribbon when null): a control hidden only by its group's
    // reduction (its tip not shown) opens the group's popup, which shows its own tips, and runs there; any other
    // visible control of the bar runs; an invisible one, or one of another bar, is left alone.
    void RunControlTip(COSMControl* control, BOOL tipVisible, COSMCommandBar* bar = nullptr);
    // One tip for a group control of the bar (prefix in front of its letters), visible when the group and the
    // control are and the control lies wholly inside the bar's client area.
    void CreateControlKeyboardTip(COSMControl* control, LPCSTR prefix, BOOL groupVisible,
                                  COSMCommandBar* bar = nullptr);
    // ---- Context menus and the quick access (RibbonBarContextMenu.cpp) ---------------------------------------
    // The menu of the control (the caller's reference), built anew: the customize button's or every other
    // control's, with the toolbars list, the entries the control and the ribbon's state allow, and the site's say
    // (10332). Without the quick access, the manager's toolbars menu. Null when there is none.
    virtual COSMPopupBar* CreateContextMenu(COSMControl* control);
    // The control's menu at the point (its parent bar's client coordinates), tracked until it closes.
    void ShowContextMenu(CPoint point, COSMControl* control);
    // A right release a popup of the ribbon did not take: the menu of the control under it.
    void OnChildBarRButtonUp(COSMCommandBar* bar, int x, int y) override;
    // A control may join the quick access: not a second copy unless duplicates are allowed; a group's popup
    // button with an id; any other control that may be moved.
    virtual BOOL IsAllowQuickAccessControl(const COSMControl* control) const;
    // A clone at the end of the quick access, shown, without its group mark: a gallery or popup keeps its arrow
    // (style 2), anything else shows as an icon (style 0).
    COSMControl* AddToQuickAccess(const COSMControl* control);
    // The ribbon's own commands of a context-menu entry; 0 for the ribbon's ids it leaves alone.
    LRESULT OnContextMenuCommand(UINT id, NMOSMCONTROL* block);
    BOOL IsAllowQuickAccessDuplicates() const { return m_allowQuickAccessDuplicates; }
    void SetAllowQuickAccessDuplicates(BOOL allow) { m_allowQuickAccessDuplicates = allow; }
    BOOL IsAllowQuickAccessCustomization() const { return m_allowQuickAccessCustomization; }
    void SetAllowQuickAccessCustomization(BOOL allow) { m_allowQuickAccessCustomization = allow; }

    // ---- The ribbon's own ------------------------------------------------------------------------------------
    virtual void SetRibbonMinimized(BOOL minimized);
    // 2 with the tabs switched off, else the ribbon painter's tab-row height.
    virtual int GetTabsHeight() const;
    virtual int GetVisibleGroupsHeight() const;
    virtual int GetGroupClientHeight() const;
    virtual int GetGroupsHeight() const;
    // The site's answers to the tab strip's codes (-552: non-zero refuses the change).
    virtual LRESULT NotifyTabChanging(COSMRibbonTab* tab);
    virtual LRESULT NotifyTabChanged(COSMRibbonTab* tab);

    // ---- Parts and queries -----------------------------------------------------------------------------------
    COSMRibbonPaintManager* GetRibbonPaintManager() const;
    // The strip's tab paint manager, made for the bar on first use.
    COSMTabPaintManager* GetTabPaintManager() const;
    COSMRibbonControlTab* GetControlTab() const { return m_controlTab; }
    COSMRibbonQuickAccessControls* GetQuickAccessControls() const { return m_quickAccessControls.Get(); }
    COSMRibbonBarControlQuickAccessPopup* GetQuickAccessPopup() const { return m_quickAccessPopup; }
    COSMRibbonBarControlQuickAccessMore* GetQuickAccessMore() const { return m_quickAccessMore; }
    COSMRibbonControlSystemButton* GetSystemButton() const { return m_systemButton; }
    // The button becomes the bar's first control (null removes the present one).
    void SetSystemButton(COSMRibbonControlSystemButton* button);
    // The strip's popup closes without the bar's help (its index is cleared).
    void ForgetPopuped() { m_popupedIndex = -1; }
    // Called by the controls collection when the system button leaves it.
    void ForgetSystemButton() { m_systemButton = nullptr; }
    COSMRibbonGroupsScroller* GetGroupsScroller() const { return m_scroller.get(); }
    COSMRibbonContextHeaders* GetContextHeaders() const { return m_contextHeaders.get(); }
    COSMRibbonFrame* GetRibbonFrame() const { return m_frame.get(); }

    // A new tab of the class at the end of the strip (COSMRibbonTab when null).
    COSMRibbonTab* AddTab(LPCSTR caption, CRuntimeClass* tabClass = nullptr);
    COSMRibbonTab* GetSelectedTab() const;
    // Null outside 0..count-1.
    COSMRibbonTab* GetTab(int index) const;
    int GetTabCount() const;
    void SetCurSel(int index);
    COSMRibbonGroup* FindGroup(int id) const;

    BOOL IsRibbonMinimized() const { return m_minimized; }
    BOOL IsQuickAccessBelow() const { return m_quickAccessBelow; }
    void ShowQuickAccessBelow(BOOL below);
    BOOL IsQuickAccessVisible() const { return m_quickAccessShown; }
    void ShowQuickAccess(BOOL show);
    BOOL IsQuickAccessControl(const COSMControl* control) const override;
    BOOL IsTabsVisible() const { return m_tabsVisible; }
    void SetTabsVisible(BOOL visible);
    BOOL IsGroupsVisible() const;
    void SetGroupsVisible(BOOL visible);
    BOOL IsCaptionVisible() const { return m_frame != nullptr || m_captionArea; }
    BOOL IsFrameThemeEnabled() const { return m_frame != nullptr; }
    // Makes the frame object for the site frame (the ribbon draws its caption) or deletes it; off by default.
    void EnableFrameTheme(BOOL enable = TRUE);
    BOOL IsDwmEnabled() const;
    BOOL IsAllowMinimize() const { return m_allowMinimize; }
    void SetAllowMinimize(BOOL allow) { m_allowMinimize = allow; }
    BOOL IsRibbonShown() const { return m_ribbonShown; }
    int GetCaptionHeight() const;
    int GetQuickAccessHeight() const { return m_quickAccessHeight; }
    // The frame object's border height while it uses desktop composition, else 0.
    int GetFrameTopBorder() const;
    // The groups ask for a command-UI update after the next committed layout (a reduced group grew back).
    void SetUpdateCmdUIPending() { m_updateCmdUIPending = TRUE; }
    BOOL IsUpdateCmdUIPending() const { return m_updateCmdUIPending; }
    // The ribbon was entered from the keyboard (a tab's access key): Escape in its tab popup then goes back one
    // level instead of closing everything. Cleared whenever the bar stops tracking.
    BOOL IsEnteredFromKeyboard() const { return m_enteredFromKeyboard; }
    void SetEnteredFromKeyboard(BOOL entered) { m_enteredFromKeyboard = entered; }
    void SetFixedGroupsHeight(int height) { m_fixedGroupsHeight = height; }
    void SetFixedGroupClientHeight(int height) { m_fixedGroupClientHeight = height; }
    void SetMinimumWidth(int width) { m_minimumWidth = width; }
    const CString& GetFrameTitle() const { return m_frameTitle; }

    CRect GetTabControlRect() const { return m_tabControlRect; }
    CRect GetGroupsRect() const { return m_groupsRect; }
    CRect GetCaptionRect() const { return m_captionRect; }
    CRect GetCaptionTextRect() const { return m_captionTextRect; }
    CRect GetCaptionAreaRect() const { return m_captionAreaRect; }
    CRect GetQuickAccessRect() const { return m_quickAccessRect; }

    // Shows the group controls of the tab and hides those of the others (hide flag 128).
    void OnTabChanged(COSMRibbonTab* tab);
    // Lays the ribbon's parts out for the width and height (what a committed docked layout runs).
    void RepositionControls(int width, int height);
    // The frame's hit code at the client point on the caption strip (0 where the ribbon answers itself).
    int HitTestCaption(CPoint point) const;
    void ScrollGroups(BOOL left);
    COSMRibbonGroup* HitTestGroup(CPoint point) const;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT createStruct);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    afx_msg void OnRButtonDown(UINT flags, CPoint point);
    afx_msg void OnRButtonUp(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnSysColorChange();
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    afx_msg void OnShowWindow(BOOL show, UINT status);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    // Context-menu entries notify the ribbon (0x2862); 9608 to 9610 put the quick access below or above.
    afx_msg LRESULT OnControlNotify(WPARAM wParam, LPARAM lParam);
    afx_msg void OnQuickAccessPlacement(UINT id);
    DECLARE_MESSAGE_MAP()

private:
    class Scroller;
    friend class Scroller;

    int CalcQuickAccessHeight();
    void ExchangeSystemButton(COSMPropExchange* px);
    // A customize drop aimed at a group of the selected tab: a clone joins the group at the target's place (its end
    // for the option or popup button). FALSE, doing nothing, for a drop elsewhere.
    BOOL DropIntoGroup(COSMControl* control, CPoint point);
    // The quick-access controls (clones), their placement and the minimized state.
    void CopyQuickAccess(const COSMRibbonBar* source, BOOL recursive);
    void UpdateContextHeaders();
    // FALSE when the headers cannot all fit between left and right.
    BOOL FitContextHeaders(int left, int right);
    void RepositionCaptionButtons();
    void AddCaptionButton(UINT id, BOOL show, BOOL enable, CRect& rect);
    void LayoutTabStrip();
    COSMControl* HitTestControl(CPoint point) const;
    // Where the customize selection is framed: a visible control of the bar, a visible tab of its strip or a shown
    // group of the selected tab; empty for anything else.
    CRect GetCustomizeSelectionRect(const CCmdTarget* selection) const;

    std::unique_ptr<COSMRibbonGroupsScroller> m_scroller;
    CRect m_tabControlRect;
    CRect m_groupsRect;
    CRect m_captionRect;
    CRect m_captionTextRect;
    CRect m_captionAreaRect;
    CRect m_quickAccessRect;
    BOOL m_ribbonShown = TRUE;
    BOOL m_groupsVisible = TRUE;
    BOOL m_tabsVisible = TRUE;
    BOOL m_quickAccessBelow = FALSE;
    BOOL m_quickAccessShown = TRUE;
    BOOL m_allowQuickAccessDuplicates = FALSE;
    BOOL m_allowQuickAccessCustomization = TRUE;
    BOOL m_updateCmdUIPending = FALSE;
    int m_quickAccessHeight = 0;
    BOOL m_allowMinimize = TRUE;
    RefPtr<COSMRibbonQuickAccessControls> m_quickAccessControls;
    COSMRibbonControlTab* m_controlTab = nullptr;
    COSMRibbonBarControlQuickAccessPopup* m_quickAccessPopup = nullptr;
    COSMRibbonBarControlQuickAccessMore* m_quickAccessMore = nullptr;
    COSMRibbonControlSystemButton* m_systemButton = nullptr;
    BOOL m_clickOnSelectedTab = FALSE;
    int m_minimumWidth = kMinimumWidth;
    std::unique_ptr<COSMRibbonFrame> m_frame;
    std::unique_ptr<COSMRibbonContextHeaders> m_contextHeaders;
    int m_fixedGroupsHeight = 0;
    int m_fixedGroupClientHeight = 0;
    BOOL m_minimized = FALSE;
    BOOL m_captionArea = TRUE;
    CString m_frameTitle;
    mutable RefPtr<COSMTabPaintManager> m_tabPaintManager;
    BOOL m_trackingLeave = FALSE;
    BOOL m_enteredFromKeyboard = FALSE;
};
