#include "framework/foundation/NotifyConnection.h"

#include "classlib/Exception.h"
#include "classlib/GuardedCallbacks.h"
#include "classlib/RefPtr.h"
#include "classlib/SingleLock.h"

#include <algorithm>

COSMNotifySink::~COSMNotifySink() = default;

COSMNotifyConnection::~COSMNotifyConnection() = default;

CSyncObject* COSMNotifyConnection::GetSyncObject()
{
    return &m_lock;
}

DWORD COSMNotifyConnection::Advise(int nEvent, COSMNotifySink* pSink)
{
    ASSERT(pSink != nullptr);
    CSingleLock lock(GetSyncObject(), TRUE);
    // Ids only grow: a stale snapshot record can never match a later subscription.
    if (m_dwLastConnectionId == MAXDWORD)
        AfxThrowNotSupportedException();
    OSM_CONNECTION connection;
    connection.nEvent = nEvent;
    connection.pSink = pSink;
    connection.dwConnectionId = ++m_dwLastConnectionId;
    m_connections.push_back(connection);
    return connection.dwConnectionId;
}

BOOL COSMNotifyConnection::Unadvise(DWORD dwConnectionId)
{
    CSingleLock lock(GetSyncObject(), TRUE);
    const int index = FindConnection(dwConnectionId);
    if (index < 0)
        return FALSE;
    m_connections.erase(m_connections.begin() + index);
    // The owner deletes the sink next: let a handler running on another thread finish first. Handlers are short
    // (a sink window only posts), so yielding is enough.
    if (!IsCallingOnThisThread())
    {
        while (IsCalledOnOtherThread(dwConnectionId))
        {
            lock.Unlock();
            ::Sleep(1);
            lock.Lock();
        }
    }
    return TRUE;
}

int COSMNotifyConnection::FindConnection(DWORD dwConnectionId)
{
    CSingleLock lock(GetSyncObject(), TRUE);
    for (size_t i = 0; i < m_connections.size(); ++i)
    {
        if (m_connections[i].dwConnectionId == dwConnectionId)
            return static_cast<int>(i);
    }
    return -1;
}

int COSMNotifyConnection::GetConnectionCount()
{
    CSingleLock lock(GetSyncObject(), TRUE);
    return static_cast<int>(m_connections.size());
}

bool COSMNotifyConnection::IsCalledOnOtherThread(DWORD dwConnectionId) const
{
    const DWORD thisThread = ::GetCurrentThreadId();
    return std::any_of(m_activeCalls.begin(), m_activeCalls.end(), [&](const ActiveCall& call) {
        return call.dwConnectionId == dwConnectionId && call.dwThreadId != thisThread;
    });
}

bool COSMNotifyConnection::IsCallingOnThisThread() const
{
    const DWORD thisThread = ::GetCurrentThreadId();
    return std::any_of(m_activeCalls.begin(), m_activeCalls.end(),
                       [&](const ActiveCall& call) { return call.dwThreadId == thisThread; });
}

BOOL COSMNotifyConnection::SendEvent(int nEvent, WPARAM wParam, LPARAM lParam, DWORD dwFlags)
{
    // A sink may release the source, and with it the connection's last other reference.
    RefPtr<COSMNotifyConnection> keepAlive = RetainRef(this);

    // Each send has a snapshot of its own: sends on other threads, or nested in a handler, never touch it.
    std::vector<OSM_CONNECTION> snapshot;
    {
        CSingleLock lock(GetSyncObject(), TRUE);
        for (const OSM_CONNECTION& connection : m_connections)
        {
            if (connection.nEvent == nEvent)
                snapshot.push_back(connection);
        }
    }

    for (const OSM_CONNECTION& record : snapshot)
        CallSink(record, wParam, lParam, dwFlags);
    return snapshot.empty() ? FALSE : TRUE;
}

void COSMNotifyConnection::CallSink(const OSM_CONNECTION& record, WPARAM wParam, LPARAM lParam, DWORD dwFlags)
{
    const ActiveCall call = {record.dwConnectionId, ::GetCurrentThreadId()};
    {
        CSingleLock lock(GetSyncObject(), TRUE);
        // Called only while the subscription still stands under that id and that sink: one unadvised since the
        // snapshot is skipped, and ids are never reused, so no record reaches a newer subscriber.
        const int index = FindConnection(record.dwConnectionId);
        if (index < 0 || m_connections[index].pSink != record.pSink || !record.pSink)
            return;
        // Registered before unlocking, so an Unadvise on another thread waits for this handler.
        m_activeCalls.push_back(call);
    }

    // The handler may throw anything; the other sinks still hear the event.
    osm::GuardCallback("COSMNotifyConnection::SendEvent", false, [&] {
        record.pSink->OnEvent(record.nEvent, wParam, lParam, dwFlags);
        return true;
    });

    CSingleLock lock(GetSyncObject(), TRUE);
    auto active = std::find_if(m_activeCalls.begin(), m_activeCalls.end(), [&](const ActiveCall& other) {
        return other.dwConnectionId == call.dwConnectionId && other.dwThreadId == call.dwThreadId;
    });
    if (active != m_activeCalls.end())
        m_activeCalls.erase(active);
}
