// COSMToolBar: the command bar that docks in a dock bar of the frame, sits directly in a frame's client area, or
// floats in its own top-level window with a caption strip, close button and expand button. The manager makes it
// (COSMCommandBars::AddToolBar) and the site fills it from a toolbar resource or by hand:
//
//   COSMToolBar* bar = static_cast<COSMToolBar*>(commandBars->AddToolBar("Standard", IDR_STANDARD));
//   bar->LoadToolBar(IDR_STANDARD);                        // buttons from RT_TOOLBAR, icons from the bitmap
//   bar->SetPosition(2);                                   // docked on the left; 4 floats it
//
// A docked toolbar whose controls do not fit hides the rest behind its expand button, whose popup also offers the
// add-or-remove-buttons list of every bar of its row and a reset to the bar's original definition. A bar torn off
// a popup goes away when it is hidden: the removal is posted to the bar itself, so the click that hid it (its own
// close button) finishes on live objects first.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Geometry.h"
#include "classlib/RefPtr.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/foundation/ResourceManager.h"
#include "framework/commandbars/CommandBarsResourceIds.h"
#include "framework/commandbars/ToolBarLayoutCache.h"

#include <memory>

class COSMDockBar;
class COSMPopupBar;
class COSMToolBarMoveTracker;

// The resource manager fills toolbars through COSMToolBarLoader (GetResourceManager()->LoadToolBar(bar, id)).
class COSMToolBar : public COSMCommandBar, public COSMToolBarLoader
{
    DECLARE_SERIAL(COSMToolBar)

public:
    // Ids of the caption buttons.
    static constexpr UINT kExpandButtonId = 9148;
    static constexpr UINT kCloseButtonId = 9149;
    // Ids and strings of the expand menu: the add-or-remove-buttons entry, the reset entry, the reset question.
    static constexpr UINT kAddOrRemoveId = IDS_OSM_ADD_OR_REMOVE_BUTTONS;
    static constexpr UINT kResetEntryId = IDS_OSM_RESET_TOOLBAR;
    static constexpr UINT kResetQuestionId = IDS_OSM_RESET_TOOLBAR_QUESTION;
    // Room the expand button takes at the far end of a docked bar.
    static constexpr int kExpandButtonSpace = 11;
    // The bar flags that let a bar be moved by its gripper (docking sides and floating).
    static constexpr DWORD kMovableFlags = 0x1F;
    // Messages to the site: the bar was shown or hidden (wParam the bar, lParam the state), the bar was reset
    // (lParam the bar).
    static constexpr UINT kMessageVisibleChanged = 10325;
    static constexpr UINT kMessageReset = 10340;
    // Posted to the bar itself: a hidden torn-off bar leaves the manager.
    static constexpr UINT kMessageRemoveHidden = WM_APP + 0x3A1;

    // The side and the remembered docked rectangle (client coordinates of that side's dock bar). The dock bar writes
    // them as it lays the bar out; the move tracker reads them and puts a saved copy back.
    struct DockingRecord
    {
        int side = 0;
        CRect rect;
    };

    // The message box of the reset question; tests answer it.
    static int (*s_pfnShowMessageBox)(LPCSTR text, UINT type);

    COSMToolBar();
    ~COSMToolBar() override;

    // ---- Overrides of the bar ----------------------------------------------------------------------------------
    // Sets "BarID" and fills the bar from the resource; the filled controls become the original snapshot.
    BOOL LoadToolBar(UINT id, BOOL loadIcons = TRUE) override;
    // Only on a change: the window shows or hides, the frame lays out again, the site hears 10325 and the options
    // count as changed. A hidden torn-off bar then leaves the manager (posted when it has a window).
    void SetVisible(BOOL visible) override;
    BOOL IsVisible() const override;
    // 0..3 dock at that side, 4 floats; other values and a bar without a manager give FALSE.
    BOOL SetPosition(int position) override;
    void OnRecalcLayout() override;
    // Floating: 3 each side. Docked: the paint manager's borders plus the gripper.
    CRect GetBorders() override;
    int OnHookKeyDown(UINT key, LPARAM lParam) override;
    // The floating layout with its caption strip, close and expand buttons; docking modes (LM_HORZDOCK,
    // LM_VERTDOCK) go to CalcDockingLayout.
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    void Copy(const COSMCommandBar* source, BOOL recursive) override;
    COSMCommandBar* Clone(BOOL recursive) const override;

    // ---- Override these ----------------------------------------------------------------------------------------
    // The docked layout: with the expand button when controls do not fit. Asked again with nothing changed, the bar
    // answers from the layouts it remembers (ToolBarLayoutCache.h) instead of measuring.
    virtual CSize CalcDockingLayout(int length, DWORD mode, int minWidth = 0);
    // Puts the original controls back (the resource when there is no snapshot); asked, only after the user agreed.
    virtual void Reset(BOOL ask);
    // Makes the window for the parent, docked (a child) or floating (a popup it owns); FALSE when it cannot.
    virtual BOOL Create(CWnd* parent, BOOL floating);
    // FALSE for a bar that is not customizable or still holds its original controls.
    virtual BOOL IsCustomized() const;
    // A sizing drag of the move tracker proposes the window rectangle (screen) for the border of the hit code. A
    // toolbar sizes through its layout instead; the dialog bar takes the rectangle.
    virtual void Resize(CRect rect, int hitCode) {}

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // The add-or-remove-buttons list of this bar: one toggle entry per control and, for a built-in bar with a
    // snapshot that was not torn off, the reset entry.
    void BuildCustomizeMenu(COSMPopupBar* popup);
    // Copies of the controls that did not fit (hide flags 2), shown.
    void AddHiddenControlsOfBar(COSMPopupBar* popup);
    // Some control of the bar did not fit (its hide flags are exactly 2).
    static BOOL HasWrappedControls(const COSMCommandBar* bar);
    // The caption button with the id, made (temporary, appended) when missing.
    COSMControl* FindOrCreateCaptionButton(UINT id);

    COSMDockBar* GetDockBar() const { return m_dockBar; }
    void SetDockBar(COSMDockBar* dockBar) { m_dockBar = dockBar; }
    const DockingRecord& GetDockingRecord() const { return m_dockingRecord; }
    void SetDockingRecord(const DockingRecord& record) { m_dockingRecord = record; }
    COSMToolBarMoveTracker* GetMoveTracker() const { return m_moveTracker.get(); }
    // Without a tracker the bar cannot be moved by the mouse and takes Tab as a dialog would.
    void RemoveMoveTracker();
    BOOL IsBuiltIn() const { return m_builtIn; }
    void SetBuiltIn(BOOL builtIn) { m_builtIn = builtIn; }
    BOOL IsTearOff() const { return m_tearOff; }
    void SetTearOff(BOOL tearOff) { m_tearOff = tearOff; }
    BOOL IsNotSaved() const { return m_notSaved; }
    void SetNotSaved(BOOL notSaved) { m_notSaved = notSaved; }
    BOOL IsShowExpandButton() const { return m_showExpandButton; }
    void SetShowExpandButton(BOOL show) { m_showExpandButton = show; }
    BOOL IsContextMenuPresent() const { return m_contextMenuPresent; }
    void SetContextMenuPresent(BOOL present) { m_contextMenuPresent = present; }
    // Stored with the bar for whoever offers a customize dialog; nothing in the bars reads it.
    BOOL IsCustomizeDialogPresent() const { return m_customizeDialogPresent; }
    void SetCustomizeDialogPresent(BOOL present) { m_customizeDialogPresent = present; }
    // Docked in a dock bar (positions 0 to 3).
    BOOL IsDocked() const { return m_dockBar != nullptr; }
    BOOL IsFloating() const { return m_position == kPositionFloating; }

    // Handlers the ribbon calls as base handlers.
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    afx_msg void OnRButtonDown(UINT flags, CPoint point);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcLButtonDown(UINT hitTest, CPoint point);
    afx_msg LRESULT OnNcCreate(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcActivate(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMouseActivate(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSetFocus(CWnd* oldWnd);
    afx_msg void OnClose();
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRemoveHidden(WPARAM wParam, LPARAM lParam);

    // ---- Saving and loading (ToolBarExchange.cpp) ---------------------------------------------------------------
    // The bar keys, then "BuiltIn", "TearOff", "Closeable", "ContextMenuPresent", "CustomizeDialogPresent" and, from
    // schema 0x23, "FloatingPosition".
    void DoPropExchange(COSMPropExchange* px) override;
    // Where the bar floats (screen): the floating window's top-left, else where it last floated; 0,0 when it never
    // did. Setting it keeps it for the next time the bar floats and moves a floating window there at once.
    CPoint GetFloatingPosition() const;
    void SetFloatingPosition(CPoint point);
    // Never a bar marked not-saved; with only customized bars asked for, a custom bar or a customized built-in one.
    BOOL IsSaveCandidate(BOOL onlyCustomized) const override;
    // This bar, as the application just made it, takes the loaded bar's controls: at once when the application's
    // definition did not change since the save; else (unless silent, and only when the user had customized the
    // bar) after asking (kMergeQuestionId): Yes keeps the new definition, No the loaded controls.
    virtual void MergeLoadedControls(COSMToolBar* loaded, BOOL silent);
    // The window goes where the stored "Position" says: 0..3 docks on that side, 4 floats, anything else docks at
    // the top. FALSE when the bar cannot be placed.
    BOOL TakeLoadedPosition();
    static constexpr UINT kMergeQuestionId = IDS_OSM_TOOLBAR_CHANGED_QUESTION;

protected:
    // Asks the user through s_pfnShowMessageBox with the string's %s replaced by the title; the frame stands as the
    // question's owner while it shows.
    int AskAboutBar(UINT formatId, UINT type);
    // Copies the bar without its original snapshot: the bar keeps its own.
    void CopyKeepingSnapshot(const COSMToolBar* source);

    // The site window, or WM_SIZE to a site that is no frame, lays out again.
    void RecalcSiteLayout();
    // The gripper area that moves a docked bar (client coordinates); empty when the bar cannot be moved.
    CRect GetMoveGripperRect() const;
    // The pending layout is done once a committed layout ran.
    void FinishPendingLayout(DWORD mode);
    // The reset question (the bar's title in it) through the message-box seam, the site frame its owner: TRUE on OK.
    BOOL ConfirmReset();

    DECLARE_MESSAGE_MAP()

    COSMDockBar* m_dockBar = nullptr;
    std::unique_ptr<COSMToolBarMoveTracker> m_moveTracker;
    BOOL m_builtIn = TRUE;
    BOOL m_tearOff = FALSE;
    BOOL m_notSaved = FALSE;
    BOOL m_showExpandButton = TRUE;
    BOOL m_contextMenuPresent = TRUE;
    BOOL m_customizeDialogPresent = TRUE;
    BOOL m_inRecalc = FALSE;
    DockingRecord m_dockingRecord;
    HWND m_focusBefore = nullptr;

private:
    // CalcDockingLayout measuring every control.
    CSize MeasureDockingLayout(int length, DWORD mode, int minWidth);
    // Everything a docked layout reads, for the length, mode and minimum.
    COSMToolBarLayoutCache::Inputs DockingLayoutInputs(int length, DWORD mode, int minWidth);
    // The caption buttons as the remembered measurement left them.
    void RestoreCaptionButtons(const COSMToolBarLayoutCache::Result& result);

    COSMToolBarLayoutCache m_layoutCache;
    // The DC a measurement holds, which GetBorders measures the gripper with too: a window DC costs a round trip to
    // the window manager, and a layout measures every docked bar several times.
    CDC* m_measuringDC = nullptr;

    friend class COSMToolBarMeasuringDC;
};

// The close button of a floating toolbar's caption strip: hides the bar.
class COSMToolBarCloseButton : public COSMControlButton
{
    DECLARE_DYNCREATE(COSMToolBarCloseButton)

public:
    COSMToolBarCloseButton();
    BOOL IsCaptionVisible() const override { return FALSE; }
    void SetBeginGroup(BOOL) override {}
    void Draw(CDC* dc) override;
    void OnExecute() override;
};

// The expand button at the far end of a docked toolbar (or in a floating bar's caption): opens the expand popup with
// the controls that did not fit and the add-or-remove-buttons list.
class COSMToolBarExpandButton : public COSMControlPopup
{
    DECLARE_DYNCREATE(COSMToolBarExpandButton)

public:
    COSMToolBarExpandButton();
    BOOL IsCaptionVisible() const override { return FALSE; }
    void SetBeginGroup(BOOL) override {}
    // Also notes whether some control of the bar did not fit.
    void SetRect(const CRect& rect) override;
    void Draw(CDC* dc) override;
    BOOL OnSetPopup(BOOL popup) override;
    BOOL HasHiddenControls() const { return m_hiddenControls; }

protected:
    // The expand popup is made afresh each time it opens.
    BOOL MakesBarOnOpening() const override { return TRUE; }

private:
    BOOL m_hiddenControls = FALSE;
};

// An entry of the add-or-remove-buttons list: shows or removes one control of a toolbar (hide flag 16); the reset
// entry (no control) resets the toolbar.
class COSMCustomizeToggleButton : public COSMControlButton
{
    DECLARE_DYNCREATE(COSMCustomizeToggleButton)

public:
    COSMCustomizeToggleButton();
    ~COSMCustomizeToggleButton() override;
    // The control the entry shows or removes (referenced); null for the reset entry of the toolbar.
    void SetTarget(COSMControl* control, COSMToolBar* toolBar);
    COSMControl* GetTarget() const { return m_target.Get(); }
    void OnExecute() override;

private:
    RefPtr<COSMControl> m_target;
    COSMToolBar* m_toolBar = nullptr;
};
