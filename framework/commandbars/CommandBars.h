// COSMCommandBars: the manager of a site's bars. It holds the site window, the paint and image managers the bars
// use (its own, else the process-wide ones), the command actions the controls bind to, and the customize mode with
// its selected control:
//
//   COSMCommandBars* commandBars = new COSMCommandBars;   // reference counted
//   commandBars->SetSite(this);
//   commandBars->EnableActions(TRUE);                      // controls made from now on bind to actions
//   ...
//   commandBars->InternalRelease();
//
// The manager owns the options every bar reads (GetCommandBarsOptions) and the shortcut manager (GetShortcutManager).
// Bars, docking and keyboard tips join the manager with their own parts.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Geometry.h"
#include "classlib/RefPtr.h"

#include <memory>
#include <vector>

class COSMCommandBar;
class COSMCommandBarList;
struct COSMCommandBarsPersistParams;
class COSMPropExchange;
class COSMCommandBarKeyboardTip;
class COSMOwnedCommandBarList;
class COSMCommandBarsOptions;
class COSMControl;
class COSMControlAction;
class COSMControlActions;
class COSMCustomizeDropSource;
class COSMDockBar;
class COSMImageManager;
class COSMMouseManager;
class COSMPaintManager;
class COSMPopupBar;
class COSMReBar;
class COSMShortcutManager;

// The process-wide paint manager, made for theme 0 when none is installed (null while no theme is registered).
COSMPaintManager* GetProcessPaintManager();

class COSMToolTipContext;

class COSMCommandBars : public CCmdTarget
{
    DECLARE_DYNCREATE(COSMCommandBars)

public:
    // Sent to the site when the customize selection changed (wParam 0, lParam 0).
    static constexpr UINT kMessageCustomizeSelectionChanged = 10327;
    // Sent to the site before the toolbars context menu shows (wParam the caller's, lParam the popup).
    static constexpr UINT kMessageToolbarsContextMenu = 10332;

    // Makes the site's tooltip context (without TTS_NOPREFIX: captions show their mnemonics' ampersands stripped by
    // the tips themselves), the actions, the options and the shortcut manager; keyboard cues then follow the system.
    COSMCommandBars();
    ~COSMCommandBars() override;

    // The frame or window that holds the bars and receives their messages.
    void SetSite(CWnd* site) { m_site = site; }
    CWnd* GetSite() const { return m_site; }
    // The site's child 0xE804 when it is a COSMReBar, else null.
    COSMReBar* GetReBar() const;

    // Own, else the process-wide one made for theme 0 on first use.
    COSMPaintManager* GetPaintManager() const;
    // Own, else the process-wide image manager.
    COSMImageManager* GetImageManager() const;
    // Referenced while held; null goes back to the process-wide ones.
    void SetPaintManager(COSMPaintManager* paintManager);
    void SetImageManager(COSMImageManager* imageManager);

    // Actions: controls made while actions are in use bind to the action of their id.
    COSMControlActions* GetActions() const { return m_actions.Get(); }
    // The tooltip context every bar of the site shares; owned by the manager.
    COSMToolTipContext* GetToolTipContext() const { return m_toolTipContext.Get(); }
    COSMControlAction* GetAction(int id) const;
    // The action of the id, made when there is none.
    COSMControlAction* CreateAction(int id);
    void EnableActions(BOOL enable = TRUE) { m_actionsEnabled = enable; }
    BOOL IsActionsEnabled() const { return m_actionsEnabled; }

    // ---- Override these ----------------------------------------------------------------------------------------
    // The menu bar (a COSMMenuBar with bar id 1): null until the site has one.
    virtual COSMCommandBar* GetMenuBar() const;
    // Lays the site out again: a frame now (delay FALSE) or at its next idle time (TRUE); another site gets WM_SIZE
    // with its client size. Nothing while bars are being removed.
    virtual void RecalcFrameLayout(BOOL delay = FALSE);
    // The command is hidden in collapsed menus: among the hidden commands and not yet used.
    virtual BOOL IsCommandHidden(UINT id) const;
    // The control's command is hidden, or (with the options' AutoHideUnusedPopups) it is a popup whose bar holds
    // controls that are all hidden. A popup that opens a bar already being looked at counts as shown.
    virtual BOOL IsControlHidden(COSMControl* control);
    // The document template the bars show controls for: 0 unless the site is an MDI frame; the default id while no
    // child is active; for a child with a document, the resource id of the application's template whose shared menu
    // the child has (0 when none has it); for a child without one, the child's own window id.
    virtual UINT GetActiveDocTemplateId() const;
    // The toolbars context menu at the screen point: nothing in customize mode or when the popup stays empty; the
    // site hears 10332 first (wParam the caller's, lParam the popup, which it may fill differently).
    virtual void ShowToolbarsContextMenu(WPARAM wParam, int x, int y);
    // A new popup (the caller's reference) listing the bars.
    virtual COSMPopupBar* CreateToolbarsPopup();
    // A toolbar's expand menu: copies of the controls its dock row hid (shown, no group mark); nothing for a bar
    // that is not docked.
    virtual void AddHiddenControls(COSMCommandBar* bar, COSMPopupBar* popup);
    // One popup per bar of the row, captioned "&1 Title" ..., holding the bar's add-or-remove list when the customize
    // dialog is available and the bar is a customizable built-in one; then the customize entry (35001).
    virtual void AddCustomizeMenu(COSMCommandBar* bar, COSMPopupBar* popup);
    // The site's rebar (child window 0xE804) takes a toolbar as a band (COSMReBar::AddToolBar, band style 0x81), or
    // lets it go; nothing without a rebar or for a bar that is no toolbar.
    virtual void AddToReBar(COSMCommandBar* bar);
    virtual void RemoveFromReBar(COSMCommandBar* bar);
    // Every bar whose tracking mode changes tells the manager: leaving tracking hides the cues that follow the
    // keyboard (unless a popup still tracks), shown tips go (a popup selected by the keyboard is asked to show its
    // own, WM_TIMER 52426), and the tooltip goes.
    virtual void ResetKeyboardState(COSMCommandBar* bar, int mode);
    // A new toolbar of the manager's toolbar class: the site hears 10337, the bar docks on top (a tear-off floats),
    // is listed with the id and is not built in; the frame lays it out at idle time or at its next RecalcLayout. Null
    // when it cannot be made or placed.
    virtual COSMCommandBar* AddToolBar(const CString& title, UINT id, BOOL tearOff = FALSE);

    // ---- Saving and loading bars -------------------------------------------------------------------------------
    // The bars to save, numbered afresh from 0x1000000 (one reference each in the list): the manager's bars the
    // parameters ask for, then its owned context menus.
    virtual void GenerateCommandBarList(COSMCommandBarList* list, COSMCommandBarsPersistParams* params);
    // Section "CommandBars" with one "CommandBar" item (class and keys) per listed bar. FALSE when the exchange
    // raised (archive or OLE failure), with a trace.
    virtual BOOL SaveCommandBarList(COSMPropExchange* px, COSMCommandBarList* list);
    // The bars of section "CommandBars" into the list; FALSE when an item yields no bar or the exchange raised.
    // The bars loaded before the failure stay in the list.
    virtual BOOL LoadCommandBarList(COSMPropExchange* px, COSMCommandBarList* list);
    // Builds the parameters, generates the list and saves it; FALSE on failure.
    BOOL SaveBarState(COSMPropExchange* px, BOOL onlyCustomized = FALSE, BOOL saveOriginals = TRUE);
    // Loads the bars, merges them into the manager's (which re-attaches their popups) and lays the site out;
    // FALSE on failure. silent: a changed built-in bar is never asked about.
    BOOL LoadBarState(COSMPropExchange* px, BOOL silent = FALSE);
    // Merges loaded bars into the manager's: context menus (popup bars marked as such) join the owned list or hand
    // their controls to the menu of their id; a toolbar updates the manager's bar of its id (MergeLoadedControls)
    // or, without one, joins the manager placed where it was saved. Every loaded bar's popups find their bars in
    // the list again.
    virtual void MergeLoadedCommandBars(COSMCommandBarList* list, BOOL silent);

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // The bars, each referenced once by the manager.
    int GetCount() const { return static_cast<int>(m_bars.size()); }
    // Null outside 0..count-1.
    COSMCommandBar* GetAt(int index) const;
    // -1 when the bar is not the manager's.
    int IndexOf(const COSMCommandBar* bar) const;
    // The bar with the id; null for id 0 (every popup bar has it) or when none has it.
    COSMCommandBar* FindCommandBar(UINT id) const;
    // Appends a bar the site made, taking over the caller's reference.
    void AddCommandBar(COSMCommandBar* bar);
    // The next visible bar from start in steps of step (+1 or -1), wrapping once past either end (not when the
    // walk starts outside the bars, at -1); start itself when no other bar is visible; -1 with no bars or none found.
    int GetNextBarIndex(int start, int step) const;
    // Shows a hidden bar or hides a shown one; the options count as changed.
    void ToggleVisible(int index);
    // Hides the bar, takes it out and releases it; nothing when it is not the manager's.
    void Remove(COSMCommandBar* bar);
    // Removes every bar with no layout in between, then asks for one delayed layout.
    void RemoveAll();
    // Redraws every visible bar that has a window.
    void RedrawCommandBars();
    // A delayed frame layout (idle flag 8) runs now.
    void RecalcDelayedFrameLayout();
    // The site lays out right to left, or the manager is told to.
    BOOL IsLayoutRTL() const;
    // Shows the popup at the screen point (outside the excluded rectangle) and tracks it in the manager's own loop
    // until it closes. flags: TPM_RETURNCMD answers the chosen command's id (0 when none) instead of sending it;
    // TPM_RIGHTBUTTON, TPM_NONOTIFY, TPM_RIGHTALIGN (also for a right-to-left site) and 1 (a popup opened from
    // inside another tracked popup, which stay open) as for menus. site: the window the commands go to (null: the
    // popup's); commandTarget: the window asked first. Answers TRUE, or the id; 0 when the popup cannot open.
    static int TrackPopupMenu(COSMPopupBar* popup, UINT flags, int x, int y, CWnd* site = nullptr,
                              LPCRECT exclude = nullptr, CWnd* commandTarget = nullptr);
    // Serves the thread's messages while the popup tracks. A press outside the tracked bars ends tracking and stays
    // queued for the window under the cursor; WM_QUIT ends tracking and is posted again with its exit code.
    static void PumpPopupMessages(COSMPopupBar* popup);
    // A typed key the frame did not take: the menu bar (or the tracking bar, or with use-mode bit 1 the first visible
    // bar) may take it, else the control whose access key it is enters tracking selected and, when the key is not
    // shared, runs. FALSE when nothing took the key.
    BOOL OnFrameAccel(UINT key);
    // Ctrl+Tab: the bar (direction 0) or the next visible bar in the direction enters tracking with its first
    // control selected and keyboard cues shown; FALSE when there is no such bar.
    BOOL ActivateCommandBar(COSMCommandBar* bar, int direction);
    // The popup bars made for the manager (owned).
    COSMOwnedCommandBarList* GetOwnedPopups() const { return m_ownedPopups.Get(); }
    COSMCommandBarsOptions* GetCommandBarsOptions() const { return m_options.Get(); }
    COSMShortcutManager* GetShortcutManager() const { return m_shortcutManager.Get(); }
    // A hidden command that runs for the first time counts as used from now on (the options change).
    void SetCommandUsed(UINT id);

    // Customize mode. Changing it marks the options as changed and clears the customize selection.
    void SetCustomizeMode(BOOL customize);
    BOOL IsCustomizeMode() const { return m_customizeMode; }
    // The customize selection is what the user picked last in customize mode: a control, or another part of a bar
    // that stands for itself (a ribbon's tab or group). It is referenced; the old and the new one are redrawn through
    // their command routing (id 1, code -2, which every such part answers by redrawing its bar) and the site is told
    // (10327). A part that leaves its bar clears the selection when it holds it.
    void SetCustomizeSelection(CCmdTarget* selection);
    // The selection when it is a control, else null: what the customize commands act on.
    COSMControl* GetCustomizeSelection() const;
    // The selection whatever it is (a control, a tab, a group); null when nothing is selected.
    CCmdTarget* GetCustomizeSelectionTarget() const { return m_customizeSelection.Get(); }
    // Every bar's controls may be customized, not only those of customizable bars.
    void EnableCustomizeAllBars(BOOL enable = TRUE) { m_customizeAllBars = enable; }
    BOOL IsCustomizeAllBarsEnabled() const { return m_customizeAllBars; }

    BOOL IsKeyboardCuesShown() const { return m_keyboardCuesShown; }
    // Whether bars underline their access keys now.
    BOOL IsKeyboardCuesVisible() const { return m_keyboardCuesShown; }
    void SetKeyboardCuesShown(BOOL shown) { m_keyboardCuesShown = shown; }
    // Underlines follow the keyboard: hidden until it is used (the options' ShowKeyboardCues decides).
    BOOL IsKeyboardCuesInUse() const { return m_keyboardCuesInUse; }
    void SetKeyboardCuesInUse(BOOL inUse) { m_keyboardCuesInUse = inUse; }
    // The help id of the control whose status text shows.
    UINT GetHelpId() const { return m_helpId; }
    void SetHelpId(UINT helpId) { m_helpId = helpId; }
    void SetDefaultDocTemplateId(UINT id) { m_defaultDocTemplateId = id; }
    BOOL IsRightToLeft() const { return m_rightToLeft; }
    void SetRightToLeft(BOOL rightToLeft) { m_rightToLeft = rightToLeft; }

    // The drop source that runs customize drags; every bar of the manager registers with it (owned).
    COSMCustomizeDropSource* GetDropSource() const { return m_dropSource.get(); }

    // ---- Keyboard cues and keyboard tips (CommandBarsKeyboardTips.cpp) ----
    // Underlines that follow the keyboard show (or go) and every visible bar redraws; always shown in customize
    // mode, and nothing unless cues are in use.
    void ShowKeyboardCues(BOOL show);
    // Keyboard tips: the bar whose tips show, the level (0: none show) and how much of a tip was typed.
    // The bar's tips at the level: the old ones go, the bar makes new ones (CreateKeyboardTips), the manager gives
    // them their letters, places and shows them. Nothing unless the options enable keyboard tips.
    void ShowKeyboardTips(COSMCommandBar* bar, int level);
    // Destroys every tip; the level and the typed prefix go back to 0.
    void HideKeyboardTips();
    // A tip the bar made while its tips are being shown; the manager owns it.
    void AddKeyboardTip(COSMCommandBarKeyboardTip* tip);
    // One more character of the match was typed: the tips that do not begin like the match go.
    void NarrowKeyboardTips(const COSMCommandBarKeyboardTip* match);
    const std::vector<std::unique_ptr<COSMCommandBarKeyboardTip>>& GetKeyboardTips() const { return m_keyboardTips; }
    COSMCommandBar* GetKeyboardTipsBar() const { return m_keyboardTipsBar; }
    int GetKeyboardTipsLevel() const { return m_keyboardTipsLevel; }
    int GetTypedPrefixLength() const { return m_typedPrefixLength; }
    // The manager's own mouse manager when set (not owned), else the calling thread's.
    COSMMouseManager* GetMouseManager() const;
    void SetMouseManager(COSMMouseManager* mouseManager) { m_mouseManager = mouseManager; }
    // Every popup the mouse manager tracks stops tracking.
    void ClosePopups();

    // ---- Toolbars and dock bars (CommandBarsToolBars.cpp) --------------------------------------------------------
    // One dock bar per side of the site (top, bottom, left, right), made after SetSite; FALSE without a site window.
    BOOL CreateDockBars();
    // The dock bar of side 0..3, else null.
    COSMDockBar* GetDockBar(int side) const;
    // The bar's window becomes a docked child and the dock bar places it (at the screen rectangle when given).
    BOOL DockCommandBar(COSMCommandBar* bar, LPCRECT rect, COSMDockBar* dockBar);
    BOOL DockCommandBarAtPosition(COSMCommandBar* bar, int side);
    // The bar gets its floating window and leaves its dock bar.
    BOOL FloatCommandBar(COSMCommandBar* bar);
    // The dock bar whose window rectangle grown by 20 pixels holds the screen point: the hint first, then top,
    // bottom, left, right; null when none does.
    COSMDockBar* CanDock(CPoint point, COSMDockBar* hint = nullptr) const;
    // The class AddToolBar makes (null: COSMToolBar); it must derive from COSMToolBar.
    void SetToolBarClass(CRuntimeClass* toolBarClass) { m_toolBarClass = toolBarClass; }
    CRuntimeClass* GetToolBarClass() const;
    // The customize dialog, when the site offers one: the expand menus then carry the add-or-remove lists.
    void SetCustomizeDialog(CWnd* dialog) { m_customizeDialog = dialog; }
    CWnd* GetCustomizeDialog() const { return m_customizeDialog; }
    BOOL IsCustomizeModeCopy() const { return m_customizeModeCopy; }

    // ---- The menu bar (MenuBar.cpp) -------------------------------------------------------------------------------
    // A new menu bar docked on top and loaded from the menu resource (it takes the frame's menu); null when the
    // menu does not load.
    COSMCommandBar* AddMenuBar(const CString& title, UINT menuId);
    // A new ribbon made by class name ("COSMRibbonBar", registered by the ribbon library) as the menu bar, docked on
    // top where the first row is kept for it; it hooks the frame (and takes the frame's menu) as its window is made.
    // Null when no ribbon class is linked or it cannot dock.
    COSMCommandBar* AddRibbonBar(const CString& title);

private:
    // A docked toolbar leaves its dock bar; TRUE when it was docked.
    BOOL LeaveDockBar(COSMCommandBar* bar);
    void DestroyDockBars();
    std::unique_ptr<COSMDockBar> m_dockBars[4];
    CRuntimeClass* m_toolBarClass = nullptr;
    CWnd* m_customizeDialog = nullptr;

    // Hides the bar and lets it leave the rebar and its tracking before it goes.
    void TakeOut(COSMCommandBar* bar);
    // Takes every bar out and releases it; no layout.
    void ReleaseBars();

    std::vector<std::unique_ptr<COSMCommandBarKeyboardTip>> m_keyboardTips;
    COSMCommandBar* m_keyboardTipsBar = nullptr;
    int m_keyboardTipsLevel = 0;
    int m_typedPrefixLength = 0;
    std::unique_ptr<COSMCustomizeDropSource> m_dropSource;
    RefPtr<COSMPaintManager> m_paintManager;
    RefPtr<COSMImageManager> m_imageManager;
    RefPtr<CCmdTarget> m_customizeSelection;
    BOOL m_customizeMode = FALSE;
    UINT m_defaultDocTemplateId = 0;
    BOOL m_customizeModeCopy = FALSE;
    RefPtr<COSMOwnedCommandBarList> m_ownedPopups;
    std::vector<COSMCommandBar*> m_bars;
    CWnd* m_site = nullptr;
    BOOL m_keyboardCuesShown = TRUE;
    UINT m_helpId = 0;
    RefPtr<COSMControlActions> m_actions;
    RefPtr<COSMToolTipContext> m_toolTipContext;
    RefPtr<COSMCommandBarsOptions> m_options;
    RefPtr<COSMShortcutManager> m_shortcutManager;
    // The popup bars IsControlHidden is looking into, so a popup chain that loops ends.
    std::vector<const COSMCommandBar*> m_hiddenCheckPath;
    BOOL m_noFrameLayout = FALSE;
    BOOL m_keyboardCuesInUse = FALSE;
    BOOL m_rightToLeft = FALSE;
    BOOL m_actionsEnabled = FALSE;
    BOOL m_customizeAllBars = FALSE;
    COSMMouseManager* m_mouseManager = nullptr;
};
