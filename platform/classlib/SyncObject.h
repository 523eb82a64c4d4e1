// Synchronisation objects, each owning its kernel object or critical section for its lifetime:
//   CEvent           an event (auto- or manual-reset, optionally named to share it between processes)
//   CCriticalSection a critical section, for mutual exclusion between the threads of one process
// Lock and Unlock directly, or (better: it unlocks on every way out of a scope) through CSingleLock:
//
//   CCriticalSection g_queueLock;
//   {
//       CSingleLock lock(&g_queueLock, TRUE);
//       m_queue.push_back(item);
//   }
//   CEvent done;                                        // auto-reset, not signalled
//   if (!CSingleLock(&done).Lock(5000)) ...             // timed out
//
// A kernel object that cannot be made throws std::system_error with the system's error code.
#pragma once

#include "classlib/Object.h"

class CSyncObject : public CObject
{
    DECLARE_DYNAMIC(CSyncObject)

public:
    ~CSyncObject() override;

    // ---- Override these ----------------------------------------------------------------------------------------
    // Waits until the object is signalled (and, for objects that have one, takes ownership): FALSE after a timeout
    // or when the wait fails.
    virtual BOOL Lock(DWORD dwTimeout = INFINITE);
    virtual BOOL Unlock() = 0;
    // For counted objects (semaphores); the others treat it as Unlock().
    virtual BOOL Unlock(LONG lCount, LPLONG lpPrevCount = nullptr);

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    operator HANDLE() const { return m_hObject; }

    // The kernel object; null for objects that have none (CCriticalSection).
    HANDLE m_hObject = nullptr;

protected:
    CSyncObject() = default;
};

class CEvent : public CSyncObject
{
    DECLARE_DYNAMIC(CEvent)

public:
    // bInitiallyOwn: signalled from the start. A name shares the event with every other event of that name (the
    // first to ask makes it and its settings hold).
    explicit CEvent(BOOL bInitiallyOwn = FALSE, BOOL bManualReset = FALSE, LPCSTR lpszName = nullptr,
                    LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);

    BOOL SetEvent();
    BOOL ResetEvent();
    // Releases the threads waiting now (all of them, or one for an auto-reset event) and leaves the event unsignalled.
    BOOL PulseEvent();
    // An event has no owner to give up: always TRUE.
    BOOL Unlock() override;
};

class CCriticalSection : public CSyncObject
{
    DECLARE_DYNAMIC(CCriticalSection)

public:
    CCriticalSection();
    ~CCriticalSection() override;

    // The owning thread may lock again; each Lock needs its Unlock. A finite timeout polls: a critical section has
    // no timed wait of its own.
    BOOL Lock(DWORD dwTimeout = INFINITE) override;
    BOOL Unlock() override;
    operator CRITICAL_SECTION*() { return &m_sect; }

    // The standard library's names, so std::lock_guard holds it too: the library and the wizard use it where
    // std::mutex is not available (the 32-bit release build's compilers have none).
    void lock() { ::EnterCriticalSection(&m_sect); }
    void unlock() { ::LeaveCriticalSection(&m_sect); }
    bool try_lock() { return ::TryEnterCriticalSection(&m_sect) != FALSE; }

    CRITICAL_SECTION m_sect;
};
