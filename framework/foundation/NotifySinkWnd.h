// COSMNotifySinkWnd: a sink that hears a connection's events on its window's thread, whichever thread sends them.
// A window that shows state a worker changes derives it and handles the events in OnNotifySinkEvent:
//
//   class CProgressPane : public COSMNotifySinkWnd
//   {
//       void OnNotifySinkEvent(int nEvent, WPARAM wParam, LPARAM lParam, DWORD dwFlags) override { Invalidate(); }
//   };
//   pane.CreateEx(...);
//   DWORD cookie = connection->Advise(kProgress, &pane);      // the worker's SendEvent now reaches the pane
//   connection->Unadvise(cookie);                              // before the pane goes
//
// A send on the window's own thread runs the handler at once. A send on another thread posts the registered message
// "OSMNotificationSinkMTOnEvent" (OSM_WM_NOTIFICATION_SINK_MT_ON_EVENT) carrying a heap record of the four values
// and returns; the window's message loop dispatches it, OnNotificationSinkEvent frees the record and runs the
// handler. Events sent while the object has no window are dropped; records still queued when the window is
// destroyed are freed unhandled.
#pragma once

#include "classlib/SyncObject.h"
#include "classlib/Wnd.h"
#include "framework/foundation/NotifyConnection.h"

#include <map>
#include <memory>

class COSMNotifySinkWnd : public CWnd, public COSMNotifySink
{
public:
    COSMNotifySinkWnd() = default;
    // Destroys a window it still has (so the queue is emptied by this class), then frees what is left queued.
    ~COSMNotifySinkWnd() override;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // The sink's operation, from any thread: handles the event now on the window's thread, else queues it there.
    void OnEvent(int nEvent, WPARAM wParam, LPARAM lParam, DWORD dwFlags) final;
    // Events posted from other threads that the window has not handled yet.
    int GetQueuedEventCount() const;

protected:
    // ---- Override these ----------------------------------------------------------------------------------------
    // An event, on the window's thread.
    virtual void OnNotifySinkEvent(int nEvent, WPARAM wParam, LPARAM lParam, DWORD dwFlags) = 0;

    // Opens the queue when the object gets its window; a derived override calls this one.
    void PreSubclassWindow() override;

    afx_msg LRESULT OnNotificationSinkEvent(WPARAM wParam, LPARAM lParam);
    afx_msg void OnNcDestroy();

    DECLARE_MESSAGE_MAP()

private:
    // The four values of a posted event.
    struct QueuedEvent
    {
        int nEvent;
        WPARAM wParam;
        LPARAM lParam;
        DWORD dwFlags;
    };

    // Stops posting and frees the records still queued.
    void CloseQueue();

    // Guards the fields below: senders on other threads read them as the window's thread opens and closes them.
    mutable CCriticalSection m_queueLock;
    HWND m_hWndQueue = nullptr;  // where events are posted; null while closed
    DWORD m_dwWindowThread = 0;  // the thread that owns that window
    // Records posted and not yet handled, by address: the message's lParam is accepted only when it is one of them,
    // so a stray post of the registered message (it is shared by the whole session) frees nothing.
    std::map<const QueuedEvent*, std::unique_ptr<QueuedEvent>> m_queued;
};
