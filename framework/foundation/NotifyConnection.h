// COSMNotifyConnection: a source's list of subscribers to numbered events. The source keeps one connection and sends
// through it; each sink hears the events it advised for, on the sending thread:
//
//   class CThemeListener : public COSMNotifySink
//   {
//       void OnEvent(int nEvent, WPARAM wParam, LPARAM lParam, DWORD dwFlags) override { Reload(); }
//   };
//   DWORD cookie = connection->Advise(kResourceModuleChanged, &listener);
//   connection->SendEvent(kResourceModuleChanged, 0, 0, 0);   // TRUE: somebody was subscribed
//   connection->Unadvise(cookie);                             // before the listener goes
//
// Any thread may advise, unadvise and send. A send takes a snapshot of the subscribers under the lock and calls
// them with the lock released, so a sink may advise, unadvise or send again from its handler; a sink unadvised
// meanwhile is not called. The connection is reference counted (CCmdTarget); a send holds a reference for its
// duration. A sink that lives on a window's thread and must hear events there derives COSMNotifySinkWnd
// (NotifySinkWnd.h).
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/SyncObject.h"

#include <vector>

// A subscriber. Whoever advised it unadvises it before it goes.
class COSMNotifySink
{
public:
    COSMNotifySink() = default;
    virtual ~COSMNotifySink();
    COSMNotifySink(const COSMNotifySink&) = delete;
    COSMNotifySink& operator=(const COSMNotifySink&) = delete;

    // Override this. Called on the sending thread, with the connection unlocked. An exception thrown here is stopped
    // (a library exception freed) and reported; the other sinks still hear the event.
    virtual void OnEvent(int nEvent, WPARAM wParam, LPARAM lParam, DWORD dwFlags) = 0;
};

// One subscription.
struct OSM_CONNECTION
{
    int nEvent = 0;
    COSMNotifySink* pSink = nullptr;
    DWORD dwConnectionId = 0;
};

class COSMNotifyConnection : public CCmdTarget
{
public:
    COSMNotifyConnection() = default;
    ~COSMNotifyConnection() override;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // Subscribes pSink to nEvent. The connection id is never 0 and never given out twice by this connection; the
    // same sink may subscribe several times (to one event or to many), each time under its own id. When all
    // 4,294,967,295 ids are spent a CNotSupportedException is thrown.
    DWORD Advise(int nEvent, COSMNotifySink* pSink);
    // Ends the subscription: FALSE when the id is not (or no longer) subscribed. Sends running now do not call it
    // any more. When another thread is inside that sink's handler, it waits until the handler returns, so the sink
    // may be deleted as soon as this returns; called from inside a handler of this connection it does not wait
    // (two handlers unadvising each other on two threads would wait for ever).
    BOOL Unadvise(DWORD dwConnectionId);

    // Calls every sink subscribed to nEvent when the call began, in the order they subscribed, skipping those
    // unadvised meanwhile. TRUE when at least one sink was subscribed then.
    BOOL SendEvent(int nEvent, WPARAM wParam, LPARAM lParam, DWORD dwFlags);

    // The index of the subscription with that id in the subscription list, or -1. Takes the lock itself.
    int FindConnection(DWORD dwConnectionId);
    // How many subscriptions there are now.
    int GetConnectionCount();

protected:
    // ---- Override these ----------------------------------------------------------------------------------------
    // The lock that guards the subscriptions; it must let its owning thread lock again. The base gives a critical
    // section of the connection's own.
    virtual CSyncObject* GetSyncObject();

private:
    // A sink's handler that is running now, on which thread.
    struct ActiveCall
    {
        DWORD dwConnectionId;
        DWORD dwThreadId;
    };

    // Under the lock: whether another thread is inside the handler of that subscription, and whether this thread
    // is inside any handler of this connection.
    bool IsCalledOnOtherThread(DWORD dwConnectionId) const;
    bool IsCallingOnThisThread() const;
    // Calls one sink of a snapshot when it is still subscribed under that id.
    void CallSink(const OSM_CONNECTION& record, WPARAM wParam, LPARAM lParam, DWORD dwFlags);

    CCriticalSection m_lock;
    std::vector<OSM_CONNECTION> m_connections;
    std::vector<ActiveCall> m_activeCalls;
    DWORD m_dwLastConnectionId = 0;
};
