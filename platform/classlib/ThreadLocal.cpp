// The storage behind CThreadLocal: one TLS slot for the whole library, holding per thread a small table of the
// objects that thread made, and two ways for them to go: a callback in the program's TLS directory, which the
// system calls on every thread as it ends (also for threads the library knows nothing of), and an atexit handler for
// the thread that ends the program, which gets no thread-detach call.
//
// Why not C++ thread_local: with this toolchain a thread_local's destructor runs from the threading runtime's own key
// destructors, after the runtime has already freed the variable's storage, on every thread it did not start itself.
#include "classlib/ThreadLocal.h"

#include <cstdlib>
#include <new>
#include <vector>

// The TLS directory of the image, from the C runtime's start-up code. Naming it here keeps it (and with it the
// callback list below) in every program that links this file, whatever else the program leaves out.
extern "C" const IMAGE_TLS_DIRECTORY _tls_used;

namespace {

struct ThreadObjects
{
    struct Made
    {
        std::size_t key;
        void* pObject;
        osm_classlib_detail::ThreadLocalDestroy pfnDestroy;
    };
    std::vector<void*> byKey;  // indexed by key; null where this thread has no object
    std::vector<Made> made;    // in the order the thread made them
};

// Rounds of destruction at a thread's end: objects that destructors make anew go in the next round, and a thread
// whose destructors keep making objects gives up after this many rather than never ending.
const int kDestroyRounds = 4;

// Constant-initialized, so usable before any static constructor has run.
std::atomic<DWORD> g_slot{TLS_OUT_OF_INDEXES};
std::atomic<std::size_t> g_lastKey{0};
std::atomic<bool> g_exitHandlerRegistered{false};

// TlsGetValue clears the last-error value on success; callers of the library read it after failed calls, and some of
// those paths look at per-thread state in between.
class LastErrorKeeper
{
public:
    LastErrorKeeper() : m_error(::GetLastError()) {}
    ~LastErrorKeeper() { ::SetLastError(m_error); }
    LastErrorKeeper(const LastErrorKeeper&) = delete;
    LastErrorKeeper& operator=(const LastErrorKeeper&) = delete;

private:
    DWORD m_error;
};

DWORD AllocatedSlot()
{
    DWORD slot = g_slot.load(std::memory_order_acquire);
    if (slot != TLS_OUT_OF_INDEXES)
        return slot;
    const DWORD fresh = ::TlsAlloc();
    if (fresh == TLS_OUT_OF_INDEXES)
        throw std::bad_alloc();
    if (g_slot.compare_exchange_strong(slot, fresh, std::memory_order_acq_rel))
        return fresh;
    ::TlsFree(fresh);  // another thread was first
    return slot;
}

ThreadObjects* CurrentObjects()
{
    const DWORD slot = g_slot.load(std::memory_order_acquire);
    return slot == TLS_OUT_OF_INDEXES ? nullptr : static_cast<ThreadObjects*>(::TlsGetValue(slot));
}

void DestroyAtExit()
{
    osm_classlib_detail::DestroyThreadLocals();
}

void NTAPI OnThreadEvent(PVOID /*hModule*/, DWORD reason, PVOID /*reserved*/)
{
    // At process detach the other threads are gone and the runtime is half torn down: the exit handler has already
    // cleaned up after the thread that ended the program.
    if (reason == DLL_THREAD_DETACH)
        osm_classlib_detail::DestroyThreadLocals();
}

// The linker gathers the .CRT$XL* sections, sorted by name, into the callback list of the TLS directory. "B" puts
// this one before the C runtime's and the threading runtime's own callbacks, so destructors still find C++
// thread_local variables and the runtime's per-thread data in place.
__attribute__((section(".CRT$XLB"), used)) const PIMAGE_TLS_CALLBACK g_threadEventCallback = &OnThreadEvent;
__attribute__((used)) const void* const g_keepTlsDirectory = &_tls_used;

}  // namespace

namespace osm_classlib_detail {

void* GetThreadLocalObject(std::size_t key)
{
    LastErrorKeeper keepError;
    ThreadObjects* pObjects = CurrentObjects();
    if (!pObjects || key >= pObjects->byKey.size())
        return nullptr;
    return pObjects->byKey[key];
}

void SetThreadLocalObject(std::size_t key, void* pObject, ThreadLocalDestroy pfnDestroy)
{
    LastErrorKeeper keepError;
    const DWORD slot = AllocatedSlot();
    auto* pObjects = static_cast<ThreadObjects*>(::TlsGetValue(slot));
    if (!pObjects)
    {
        auto fresh = std::make_unique<ThreadObjects>();
        if (!::TlsSetValue(slot, fresh.get()))
            throw std::bad_alloc();
        pObjects = fresh.release();
    }
    ASSERT(key >= pObjects->byKey.size() || pObjects->byKey[key] == nullptr);
    if (key >= pObjects->byKey.size())
        pObjects->byKey.resize(key + 1, nullptr);
    pObjects->made.push_back({key, pObject, pfnDestroy});
    pObjects->byKey[key] = pObject;

    // The thread that ends the program gets no thread-detach call; exit runs this handler on it instead.
    if (!g_exitHandlerRegistered.exchange(true))
        std::atexit(&DestroyAtExit);
}

std::size_t AssignThreadLocalKey(std::atomic<std::size_t>& key)
{
    const std::size_t fresh = ++g_lastKey;
    std::size_t expected = 0;
    if (key.compare_exchange_strong(expected, fresh, std::memory_order_acq_rel))
        return fresh;
    return expected;  // another thread gave the variable its key first; `fresh` simply stays unused
}

void DestroyThreadLocals()
{
    LastErrorKeeper keepError;
    ThreadObjects* pObjects = CurrentObjects();
    if (!pObjects)
        return;
    for (int round = 0; round < kDestroyRounds && !pObjects->made.empty(); ++round)
    {
        // Newest first. Each object stays reachable while its own destructor runs, as a thread_local would; objects
        // made meanwhile land behind the ones this round started with and wait for the next round.
        for (std::size_t n = pObjects->made.size(); n > 0; --n)
        {
            const ThreadObjects::Made made = pObjects->made[n - 1];
            made.pfnDestroy(made.pObject);
            pObjects->byKey[made.key] = nullptr;
            pObjects->made.erase(pObjects->made.begin() + static_cast<std::ptrdiff_t>(n - 1));
        }
    }
    if (!pObjects->made.empty())
        TRACE("classlib: %u per-thread objects still being remade at thread end; left behind\n",
              static_cast<unsigned>(pObjects->made.size()));
    ::TlsSetValue(g_slot.load(std::memory_order_acquire), nullptr);
    delete pObjects;
}

}  // namespace osm_classlib_detail
