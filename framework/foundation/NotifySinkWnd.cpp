#include "framework/foundation/NotifySinkWnd.h"

#include "classlib/SingleLock.h"
#include "framework/foundation/FrameworkStatics.h"

BEGIN_MESSAGE_MAP(COSMNotifySinkWnd, CWnd)
    ON_REGISTERED_MESSAGE(OSM_WM_NOTIFICATION_SINK_MT_ON_EVENT, OnNotificationSinkEvent)
    ON_WM_NCDESTROY()
END_MESSAGE_MAP()

COSMNotifySinkWnd::~COSMNotifySinkWnd()
{
    // Here, not in ~CWnd: by then this class's WM_NCDESTROY handler no longer runs.
    if (m_hWnd)
        DestroyWindow();
    CloseQueue();
}

void COSMNotifySinkWnd::PreSubclassWindow()
{
    CWnd::PreSubclassWindow();
    CSingleLock lock(&m_queueLock, TRUE);
    m_hWndQueue = m_hWnd;
    m_dwWindowThread = ::GetWindowThreadProcessId(m_hWnd, nullptr);
}

void COSMNotifySinkWnd::OnEvent(int nEvent, WPARAM wParam, LPARAM lParam, DWORD dwFlags)
{
    CSingleLock lock(&m_queueLock, TRUE);
    if (!m_hWndQueue)
        return;
    if (m_dwWindowThread == ::GetCurrentThreadId())
    {
        lock.Unlock();
        OnNotifySinkEvent(nEvent, wParam, lParam, dwFlags);
        return;
    }
    // Posted under the lock: once CloseQueue has run, nothing more is posted, and what was posted before is in
    // m_queued for it to free.
    auto record = std::make_unique<QueuedEvent>(QueuedEvent{nEvent, wParam, lParam, dwFlags});
    const QueuedEvent* key = record.get();
    m_queued.emplace(key, std::move(record));
    if (!::PostMessageA(m_hWndQueue, OSM_WM_NOTIFICATION_SINK_MT_ON_EVENT, 0, reinterpret_cast<LPARAM>(key)))
    {
        TRACE("COSMNotifySinkWnd: event %d not posted (error %lu)\n", nEvent, ::GetLastError());
        m_queued.erase(key);
    }
}

int COSMNotifySinkWnd::GetQueuedEventCount() const
{
    CSingleLock lock(&m_queueLock, TRUE);
    return static_cast<int>(m_queued.size());
}

LRESULT COSMNotifySinkWnd::OnNotificationSinkEvent(WPARAM /*wParam*/, LPARAM lParam)
{
    std::unique_ptr<QueuedEvent> record;
    {
        CSingleLock lock(&m_queueLock, TRUE);
        auto queued = m_queued.find(reinterpret_cast<const QueuedEvent*>(lParam));
        if (queued == m_queued.end())
            return 0;
        record = std::move(queued->second);
        m_queued.erase(queued);
    }
    OnNotifySinkEvent(record->nEvent, record->wParam, record->lParam, record->dwFlags);
    return 0;
}

void COSMNotifySinkWnd::OnNcDestroy()
{
    CloseQueue();
    CWnd::OnNcDestroy();
}

void COSMNotifySinkWnd::CloseQueue()
{
    // The records leave the lock before they are freed; the messages that carry them die with the window.
    std::map<const QueuedEvent*, std::unique_ptr<QueuedEvent>> dropped;
    CSingleLock lock(&m_queueLock, TRUE);
    m_hWndQueue = nullptr;
    m_dwWindowThread = 0;
    dropped.swap(m_queued);
}
