// CSingleLock holds one synchronisation object (CEvent, CCriticalSection ...) for a scope: it remembers whether it
// has the object and gives it back when it goes, on every way out of the scope.
//
//   CSingleLock lock(&m_lock);           // not locked yet
//   if (!lock.Lock(50))                  // FALSE: still busy after 50 ms
//       return;
//   ...                                  // unlocked at the end of the scope
#pragma once

#include "classlib/SyncObject.h"

class CSingleLock
{
public:
    // bInitialLock: lock at once, waiting as long as it takes.
    explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE);
    ~CSingleLock();
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

    // FALSE when the object stayed busy for dwTimeout milliseconds. A lock that already holds its object keeps it
    // and returns TRUE.
    BOOL Lock(DWORD dwTimeout = INFINITE);
    // TRUE once the object is no longer held (also when it was not).
    BOOL Unlock();
    BOOL Unlock(LONG lCount, LPLONG lpPrevCount = nullptr);
    BOOL IsLocked() const { return m_bAcquired; }

private:
    CSyncObject* m_pObject;
    BOOL m_bAcquired = FALSE;
};
