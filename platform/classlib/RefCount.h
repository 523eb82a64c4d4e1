// CRefCount is the one reference count of the library's shared objects: command targets (CCmdTarget), markup
// objects and markup contexts each keep one and call it from their own AddRef/Release.
//
//   LONG CThing::Release()
//   {
//       const LONG count = m_refCount.Release();
//       if (count == 0)
//           OnFinalRelease();   // deletes the object, or keeps it (a pool)
//       return count;
//   }
//
// The count starts at 1, for the creator. Release never counts the last reference down: the release that gives it
// up leaves the count at 1 and answers 0, and its caller runs the final release. So the count reads 1 for the whole
// teardown, and a reference taken and given back while the object goes (in the final release, the destructor or
// anything they call) moves it to 2 and back to 1, never to 0 a second time; an owner that keeps the object finds it
// ready for the next cycle. Every change is one interlocked operation, so any thread may add and release.
#pragma once

#include <windows.h>

class CRefCount
{
public:
    CRefCount() = default;
    CRefCount(const CRefCount&) = delete;
    CRefCount& operator=(const CRefCount&) = delete;

    // Adds a reference; the new count.
    LONG AddRef() { return ::InterlockedIncrement(&m_count); }

    // Gives up a reference: the new count, or 0 when this call gave up the last one (the caller then runs its final
    // release; the count stays at 1 meanwhile).
    [[nodiscard]] LONG Release()
    {
        // Check and decrement in one step: a count that another thread changed between the read and the exchange
        // is read again, so two releases can never both see the last reference.
        LONG seen = m_count;
        for (;;)
        {
            if (seen <= 1)
                return 0;
            const LONG previous = ::InterlockedCompareExchange(&m_count, seen - 1, seen);
            if (previous == seen)
                return seen - 1;
            seen = previous;
        }
    }

    LONG Get() const { return m_count; }
    operator LONG() const { return m_count; }

private:
    volatile LONG m_count = 1;
};
