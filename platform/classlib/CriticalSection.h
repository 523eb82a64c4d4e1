// CCriticalSection: a lock for data that several threads of this process share, over a Win32 critical section.
// It has the standard library's lock()/unlock()/try_lock() names, so std::lock_guard holds it:
//
//   static CCriticalSection lock;
//   std::lock_guard<CCriticalSection> guard(lock);
//
// The library and the wizard use it instead of std::mutex, which the 32-bit release build cannot have: its
// compilers use the win32 thread model, as the posix model's winpthreads imports GetTickCount64 and so keeps the
// program from starting on Windows XP.
#pragma once

#include "classlib/ClassLibBase.h"

class CCriticalSection
{
public:
    CCriticalSection() { ::InitializeCriticalSection(&m_section); }
    ~CCriticalSection() { ::DeleteCriticalSection(&m_section); }
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;

    // The owning thread may enter again; each entry needs its own unlock().
    void lock() { ::EnterCriticalSection(&m_section); }
    void unlock() { ::LeaveCriticalSection(&m_section); }
    bool try_lock() { return ::TryEnterCriticalSection(&m_section) != FALSE; }

private:
    CRITICAL_SECTION m_section;
};
