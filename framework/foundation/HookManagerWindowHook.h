// COSMHookManagerWindowHook: the hook manager's record of one window it has subclassed. It holds the window's sinks
// in the order they were added, the window procedure it replaced, and what it needs to give that procedure back.
// Only the hook manager makes, changes and deletes records; Lookup hands them out for reading.
//
// A record stays alive while it dispatches a message: a sink may remove itself, or the window's last sink, from
// inside OnHookMessage. The manager then drops the record from its map at once but deletes it (and the
// auto-delete sinks removed meanwhile) only when the dispatch has ended.
#pragma once

#include "classlib/Array.h"
#include "framework/foundation/HookManagerSink.h"

#include <vector>

class COSMHookManagerWindowHook : public CArray<COSMHookManagerSink*, COSMHookManagerSink*>
{
public:
    // Subclasses hWnd: with the W functions when the window is Unicode, else the A functions, its window procedure
    // is saved and replaced by the hook manager's.
    explicit COSMHookManagerWindowHook(HWND hWnd);
    // Deletes the sinks whose auto-delete flag is set, from the last added to the first.
    ~COSMHookManagerWindowHook() override;

    INT_PTR FindSink(const COSMHookManagerSink* pSink) const;

    // Offers one message. The sink-removed message naming this record's saved procedure hands the record the
    // procedure that its sender had saved (handled, result 1). Any other message goes to the sinks, the last added
    // first, until one answers kHandled (TRUE: lResult is the answer) or kStop. The sinks are asked from a snapshot
    // taken first; a sink removed meanwhile is not asked, and no sink is asked once the record has been dropped.
    BOOL OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult);

    // Gives the window its saved procedure back. Unless the window is being destroyed, it first sends the
    // sink-removed message: a later subclasser that saved the manager's procedure answers non-zero and takes the
    // saved procedure over, and the window's procedure is then left as it is.
    void Unhook();

    WNDPROC m_pOldWndProc = nullptr;
    HWND m_hWnd;
    BOOL m_bUnicode;
    // Set when the record is dropped because the window is being destroyed: Unhook then sends nothing.
    BOOL m_bDestroyed = FALSE;

    // For the hook manager's own use: the dispatch in progress and what must wait for its end.
    void BeginDispatch() { ++m_nDispatchDepth; }
    // Ends one dispatch; at the outermost end deletes the auto-delete sinks removed meanwhile. TRUE when the record
    // was dropped meanwhile and is now to be deleted.
    BOOL EndDispatch();
    BOOL IsDispatching() const { return m_nDispatchDepth > 0; }
    // Deletes a sink that left this record, or keeps it for the end of the dispatch in progress.
    void ReleaseSink(COSMHookManagerSink* pSink);
    // A sink added again before the end of the dispatch that removed it is kept.
    void KeepSink(COSMHookManagerSink* pSink);
    void MarkDropped() { m_bDropped = TRUE; }

private:
    int m_nDispatchDepth = 0;
    BOOL m_bDropped = FALSE;
    std::vector<COSMHookManagerSink*> m_removedSinks;
};
