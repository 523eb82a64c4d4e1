#include "framework/foundation/HookManager.h"

#include "classlib/CallbackGuard.h"
#include "classlib/ThreadState.h"
#include "framework/foundation/ProcessService.h"

#include <vector>

COSMHookManager* GetHookManager()
{
    // Windows are subclassed on the thread that owns them: the framework's UI thread.
    OSM_ASSERT_UI_THREAD();
    return OsmProcessService<COSMHookManager>();
}

COSMHookManager::COSMHookManager() = default;

COSMHookManager::~COSMHookManager()
{
    // The records leave the map before they unhook: the sink-removed message each one sends then reaches no sink
    // (at exit the sinks' owners may be gone) and is answered 0 unless a later subclasser takes it.
    std::vector<COSMHookManagerWindowHook*> records;
    for (POSITION pos = m_windows.GetStartPosition(); pos;)
    {
        HWND hWnd;
        COSMHookManagerWindowHook* pRecord;
        m_windows.GetNextAssoc(pos, hWnd, pRecord);
        records.push_back(pRecord);
    }
    m_windows.RemoveAll();
    for (COSMHookManagerWindowHook* pRecord : records)
    {
        pRecord->Unhook();
        delete pRecord;
    }
}

COSMHookManagerWindowHook* COSMHookManager::Lookup(HWND hWnd) const
{
    COSMHookManagerWindowHook* pRecord = nullptr;
    return m_windows.Lookup(hWnd, pRecord) ? pRecord : nullptr;
}

void COSMHookManager::SetHook(HWND hWnd, COSMHookManagerSink* pSink)
{
    if (!pSink || !::IsWindow(hWnd))
        return;
    COSMHookManagerWindowHook* pRecord = Lookup(hWnd);
    if (!pRecord)
    {
        pRecord = new COSMHookManagerWindowHook(hWnd);
        m_windows.SetAt(hWnd, pRecord);
    }
    if (pRecord->FindSink(pSink) < 0)
    {
        pRecord->KeepSink(pSink);
        pRecord->Add(pSink);
    }
}

void COSMHookManager::RemoveHook(HWND hWnd, COSMHookManagerSink* pSink)
{
    COSMHookManagerWindowHook* pRecord = Lookup(hWnd);
    if (!pRecord)
        return;
    const INT_PTR index = pRecord->FindSink(pSink);
    if (index < 0)
        return;
    pRecord->RemoveAt(index);
    pRecord->ReleaseSink(pSink);
    if (pRecord->IsEmpty())
        DropRecord(pRecord);
}

void COSMHookManager::RemoveAll(COSMHookManagerSink* pSink)
{
    if (!pSink)
        return;
    std::vector<HWND> windows;
    for (POSITION pos = m_windows.GetStartPosition(); pos;)
    {
        HWND hWnd;
        COSMHookManagerWindowHook* pRecord;
        m_windows.GetNextAssoc(pos, hWnd, pRecord);
        if (pRecord->FindSink(pSink) >= 0)
            windows.push_back(hWnd);
    }
    // An auto-delete sink is gone after its first removal; it may only have been hooked to one window.
    const BOOL autoDelete = pSink->m_bAutoDelete;
    for (HWND hWnd : windows)
    {
        RemoveHook(hWnd, pSink);
        if (autoDelete)
            break;
    }
}

void COSMHookManager::RemoveWindow(HWND hWnd, BOOL bDestroyed)
{
    if (COSMHookManagerWindowHook* pRecord = Lookup(hWnd))
    {
        pRecord->m_bDestroyed = bDestroyed;
        DropRecord(pRecord);
    }
}

void COSMHookManager::DropRecord(COSMHookManagerWindowHook* pRecord)
{
    pRecord->Unhook();
    m_windows.RemoveKey(pRecord->m_hWnd);
    if (pRecord->IsDispatching())
        pRecord->MarkDropped();
    else
        delete pRecord;
}

LRESULT CALLBACK COSMHookManager::HookWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The live manager only: a window still subclassed above it may call here at exit, after the manager is gone, and
    // must not make a new one.
    COSMHookManager* pManager = OsmLiveProcessService<COSMHookManager>();
    COSMHookManagerWindowHook* pRecord = pManager ? pManager->Lookup(hWnd) : nullptr;
    if (!pRecord)
        return 0;

    // The framework's code inside the sinks sees this message as the current one.
    auto& state = osm_classlib_detail::GetThreadState();
    const MSG outerMessage = state.lastSentMsg;
    state.lastSentMsg = MSG{hWnd, message, wParam, lParam, 0, {0, 0}};
    ++state.dispatchDepth;

    // Taken now: a sink may change or drop the record.
    const WNDPROC oldWndProc = pRecord->m_pOldWndProc;
    const BOOL unicode = pRecord->m_bUnicode;
    LRESULT result = 0;
    BOOL handled = FALSE;
    pRecord->BeginDispatch();
    if (message == WM_NCDESTROY)
    {
        pManager->RemoveWindow(hWnd, TRUE);
    }
    else
    {
        // A sink's exception must not unwind through the system's frames: it is reported and the message goes on
        // to the window.
        handled = osm_classlib_detail::GuardCallback(
            "hook sink", BOOL{FALSE}, [&] { return pRecord->OnHookMessage(hWnd, message, wParam, lParam, result); },
            static_cast<long>(message));
    }
    if (pRecord->EndDispatch())
        delete pRecord;

    if (!handled)
        result = unicode ? ::CallWindowProcW(oldWndProc, hWnd, message, wParam, lParam)
                         : ::CallWindowProcA(oldWndProc, hWnd, message, wParam, lParam);
    --state.dispatchDepth;
    state.lastSentMsg = outerMessage;
    return result;
}
