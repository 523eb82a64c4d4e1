// The framework's lock idiom: a scope holds one critical section.
//
//   COSMLockGuard lock(m_cacheLock);
#pragma once

#include <windows.h>

class COSMLockGuard
{
public:
    explicit COSMLockGuard(CRITICAL_SECTION& section) : m_section(&section) { LockThread(); }
    ~COSMLockGuard() { UnLockThread(); }

    COSMLockGuard(const COSMLockGuard&) = delete;
    COSMLockGuard& operator=(const COSMLockGuard&) = delete;

    // Leave and enter again inside the scope (e.g. around a call that must run unlocked).
    void LockThread()
    {
        if (!m_locked)
            EnterCriticalSection(m_section);
        m_locked = true;
    }
    void UnLockThread()
    {
        if (m_locked)
            LeaveCriticalSection(m_section);
        m_locked = false;
    }

private:
    CRITICAL_SECTION* m_section;
    bool m_locked = false;
};
