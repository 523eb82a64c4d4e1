// COSMHookManager lets several framework objects listen to the messages of one window without each of them
// subclassing it: the manager subclasses a window once, offers each of its messages to the window's sinks (the one
// added last first), and gives the window its procedure back when the last sink leaves or the window is destroyed.
//
//   GetHookManager()->SetHook(frame->GetSafeHwnd(), this);   // this: a COSMHookManagerSink
//   ...
//   GetHookManager()->RemoveAll(this);                       // before this sink goes
//
// Subclassers that follow the same protocol unhook in any order without cutting each other off: a leaving party
// sends the window OSM_WM_HOOKMANAGER_SINKREMOVED with (its own procedure, the procedure it had saved); a party that
// had saved the sender's procedure takes the sender's saved procedure over and answers non-zero, and the sender then
// leaves the window's procedure as it is.
//
// One manager per process, made on first use and destroyed at exit. User-interface thread only: nothing is locked.
#pragma once

#include "classlib/Map.h"
#include "classlib/Object.h"
#include "framework/foundation/HookManagerSink.h"
#include "framework/foundation/HookManagerWindowHook.h"

class COSMHookManager : public CObject
{
public:
    COSMHookManager();
    // Unhooks and deletes every record.
    ~COSMHookManager() override;

    // Adds pSink to hWnd's sinks (once); the window's first sink subclasses it.
    void SetHook(HWND hWnd, COSMHookManagerSink* pSink);
    // Removes pSink from hWnd's sinks, deleting it when it is auto-delete; the window is unhooked when none is left.
    // Windows and sinks that are not hooked are ignored.
    void RemoveHook(HWND hWnd, COSMHookManagerSink* pSink);
    // RemoveHook for every window that lists pSink.
    void RemoveAll(COSMHookManagerSink* pSink);
    // Drops hWnd's record whatever sinks it holds; bDestroyed: the window is being destroyed, so its procedure is
    // put back without asking later subclassers.
    void RemoveWindow(HWND hWnd, BOOL bDestroyed);
    COSMHookManagerWindowHook* Lookup(HWND hWnd) const;

    // The procedure of every hooked window.
    static LRESULT CALLBACK HookWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    // Unhooks the record's window and takes it out of the map; deletes it now, or at the end of its dispatch.
    void DropRecord(COSMHookManagerWindowHook* pRecord);

    CMap<HWND, HWND, COSMHookManagerWindowHook*, COSMHookManagerWindowHook*> m_windows;
};

// The process-wide hook manager.
COSMHookManager* GetHookManager();
