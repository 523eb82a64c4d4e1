#include "framework/foundation/HookManagerWindowHook.h"

#include "framework/foundation/HookManager.h"
#include "framework/foundation/FrameworkStatics.h"

#include <algorithm>

COSMHookManagerWindowHook::COSMHookManagerWindowHook(HWND hWnd) : m_hWnd(hWnd), m_bUnicode(::IsWindowUnicode(hWnd))
{
    const LONG_PTR hookProc = reinterpret_cast<LONG_PTR>(&COSMHookManager::HookWndProc);
    // The procedure saved through the W functions hands out the window's own Unicode procedure, so the messages
    // passed on keep their text as it came.
    const LONG_PTR oldProc = m_bUnicode ? ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, hookProc)
                                        : ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, hookProc);
    m_pOldWndProc = reinterpret_cast<WNDPROC>(oldProc);
}

COSMHookManagerWindowHook::~COSMHookManagerWindowHook()
{
    for (INT_PTR i = GetSize(); i-- > 0;)
        if (COSMHookManagerSink* pSink = GetAt(i); pSink && pSink->m_bAutoDelete)
            delete pSink;
    RemoveAll();
}

INT_PTR COSMHookManagerWindowHook::FindSink(const COSMHookManagerSink* pSink) const
{
    for (INT_PTR i = 0; i < GetSize(); ++i)
        if (GetAt(i) == pSink)
            return i;
    return -1;
}

BOOL COSMHookManagerWindowHook::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam,
                                              LRESULT& lResult)
{
    if (nMessage == OSM_WM_HOOKMANAGER_SINKREMOVED && wParam == reinterpret_cast<WPARAM>(m_pOldWndProc))
    {
        m_pOldWndProc = reinterpret_cast<WNDPROC>(lParam);
        lResult = 1;
        return TRUE;
    }

    const std::vector<COSMHookManagerSink*> sinks(GetData(), GetData() + GetSize());
    for (auto it = sinks.rbegin(); it != sinks.rend(); ++it)
    {
        if (m_bDropped)
            break;
        if (FindSink(*it) < 0)
            continue;
        const int answer = (*it)->OnHookMessage(hWnd, nMessage, wParam, lParam, lResult);
        if (answer == COSMHookManagerSink::kHandled)
            return TRUE;
        if (answer == COSMHookManagerSink::kStop)
            break;
    }
    return FALSE;
}

void COSMHookManagerWindowHook::Unhook()
{
    if (!m_bDestroyed)
    {
        const LRESULT takenOver = ::SendMessageA(m_hWnd, OSM_WM_HOOKMANAGER_SINKREMOVED,
                                                 reinterpret_cast<WPARAM>(&COSMHookManager::HookWndProc),
                                                 reinterpret_cast<LPARAM>(m_pOldWndProc));
        if (takenOver)
            return;
    }
    const LONG_PTR oldProc = reinterpret_cast<LONG_PTR>(m_pOldWndProc);
    if (m_bUnicode)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, oldProc);
    else
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, oldProc);
}

BOOL COSMHookManagerWindowHook::EndDispatch()
{
    if (--m_nDispatchDepth > 0)
        return FALSE;
    // Taken out first: a sink's destructor may call back into the manager.
    std::vector<COSMHookManagerSink*> removed;
    removed.swap(m_removedSinks);
    for (auto it = removed.rbegin(); it != removed.rend(); ++it)
        delete *it;
    return m_bDropped;
}

void COSMHookManagerWindowHook::ReleaseSink(COSMHookManagerSink* pSink)
{
    if (!pSink->m_bAutoDelete)
        return;
    if (IsDispatching())
    {
        if (std::find(m_removedSinks.begin(), m_removedSinks.end(), pSink) == m_removedSinks.end())
            m_removedSinks.push_back(pSink);
    }
    else
    {
        delete pSink;
    }
}

void COSMHookManagerWindowHook::KeepSink(COSMHookManagerSink* pSink)
{
    m_removedSinks.erase(std::remove(m_removedSinks.begin(), m_removedSinks.end(), pSink), m_removedSinks.end());
}
