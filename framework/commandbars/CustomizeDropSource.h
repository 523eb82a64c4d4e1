// COSMCustomizeDropSource: the command-bars manager's member that runs customize drags of controls between bars.
// Every bar of the manager registers itself when its window is made and leaves when the window goes, so the drag
// knows which bars may take a control:
//
//   commandBars->GetDropSource()->Register(bar);      // COSMCommandBar does this in WM_CREATE
//   ...
//   commandBars->GetDropSource()->Unregister(bar);    // and this in WM_DESTROY
//
// The drop source also knows the customize sheet while one is open. A drag is one call that returns when the
// control is dropped or the drag is cancelled; the caller decides what becomes of the original:
//
//   switch (commandBars->GetDropSource()->DoDrag(control, FALSE))
//   {
//   case COSMCustomizeDropSource::kDropMoved:    // a copy went to the bar under the cursor: take the original away
//   case COSMCustomizeDropSource::kDropOutside:  // dropped beside every bar: take it away as well
//   ...
//
// The drag runs its own loop with the mouse captured (no OLE drag and drop); it dispatches every other message, so
// timers keep running and may rebuild bars meanwhile.
#pragma once

#include "classlib/Geometry.h"

#include <vector>

class COSMCommandBar;
class COSMCommandBars;
class COSMControl;
class COSMCustomizeSheet;

class COSMCustomizeDropSource
{
public:
    // Loads the drag cursors through the resource manager.
    explicit COSMCustomizeDropSource(COSMCommandBars* commandBars);
    COSMCustomizeDropSource(const COSMCustomizeDropSource&) = delete;
    COSMCustomizeDropSource& operator=(const COSMCustomizeDropSource&) = delete;

    // Appends the bar (once) to the bars a drag may drop on.
    void Register(COSMCommandBar* bar);
    // Removes the bar (it stops being the target of a running drag); nothing when it is not registered.
    void Unregister(COSMCommandBar* bar);
    BOOL IsRegistered(const COSMCommandBar* bar) const;
    // The registered bars, in registration order (not owned).
    const std::vector<COSMCommandBar*>& GetBars() const { return m_bars; }

    // The open customize sheet, null while none is open (not owned).
    COSMCustomizeSheet* GetSheet() const { return m_sheet; }
    void SetSheet(COSMCustomizeSheet* sheet) { m_sheet = sheet; }
    // The open customize sheet's window, null while none is open (not owned): customize-selection changes go there.
    CWnd* GetSheetWindow() const { return m_sheetWindow; }
    void SetSheetWindow(CWnd* window) { m_sheetWindow = window; }

    COSMCommandBars* GetCommandBars() const { return m_commandBars; }

    // Shows the open sheet's context menu at the screen point; the controls library, which holds the sheet, fills
    // it in as the program starts (null: no menu).
    using SheetContextMenuFn = void (*)(COSMCustomizeSheet* sheet, int x, int y);
    static inline SheetContextMenuFn s_pfnTrackSheetContextMenu = nullptr;

    // ---- The drag ------------------------------------------------------------------------------------------------
    // What DoDrag answers.
    static constexpr int kDropOutside = 0;
    static constexpr int kDropCopied = 1;
    static constexpr int kDropMoved = 2;
    static constexpr int kDropCancelled = 5;

    // Drags the control until the left button is released: over a registered bar the bar shows where it would land
    // and a copy is inserted there on release (the bar's OnCustomizeDrop). Ctrl held copies, else the drop moves;
    // copyOnly only keeps the cursor at copy. Escape, the right button, a lost capture, WM_QUIT, or the control
    // leaving its bar while it is dragged cancel. Without a manager or a capture window the answer is 0 at once.
    int DoDrag(COSMControl* control, BOOL copyOnly);
    // The no-drop cursor without a target bar; over one, the move cursor for a move unless copyOnly, else copy.
    void SetDragCursor();
    // The window that captures the mouse during a drag instead of the manager's site (null: the site).
    CWnd* GetCaptureWindowOverride() const { return m_captureWindowOverride; }
    void SetCaptureWindowOverride(CWnd* window) { m_captureWindowOverride = window; }
    // The bar that shows the drop position now; null outside a drag or over no bar.
    COSMCommandBar* GetTargetBar() const { return m_targetBar; }
    COSMControl* GetDraggedControl() const { return m_dragged; }

private:
    // The loop of DoDrag while capture holds the mouse; TRUE when the button was released, FALSE when the drag was
    // cancelled. result follows the mouse until the release: 5 until it first moves, 0 from then on.
    BOOL RunDragLoop(HWND capture, COSMCommandBar* startBar, int& result);
    // Finds the registered bar under the screen point and makes it the target when it accepts the control.
    void UpdateTarget(CPoint screen);
    void LeaveTarget();

    COSMControl* m_dragged = nullptr;  // a reference is held while the drag runs
    BOOL m_move = FALSE;
    BOOL m_copyOnly = FALSE;
    COSMCommandBar* m_targetBar = nullptr;
    CWnd* m_captureWindowOverride = nullptr;
    CPoint m_startPoint;
    std::vector<COSMCommandBar*> m_bars;
    COSMCommandBars* m_commandBars;
    COSMCustomizeSheet* m_sheet = nullptr;
    CWnd* m_sheetWindow = nullptr;
    // Shared cursors of the resource manager: never destroyed.
    HCURSOR m_noDropCursor = nullptr;
    HCURSOR m_moveCursor = nullptr;
    HCURSOR m_copyCursor = nullptr;
};
