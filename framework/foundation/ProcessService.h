// How the framework's process-wide services live: each is made on the first call of its accessor and destroyed at
// exit, through one function-local static. C++11 makes that first call thread-safe: a thread that asks while
// another is making the service waits for it, so the process never gets two.
//
//   COSMColorManager* GetColorManager()
//   {
//       return OsmProcessService<COSMColorManager>();
//   }
//
// A reference-counted service (a CCmdTarget) is made with new and the process holds one reference, given back at
// exit: whoever took references of their own keeps it alive until they give them back. Other services are plain
// objects destroyed at exit. Statics are destroyed in the reverse order of their making, so a service made while
// another was being made goes after it.
//
// Code that may run late at exit (a window procedure, a sink taking itself off) and must neither make a service
// nor touch a destroyed one asks OsmLiveProcessService<T>(): the service while it lives, null before it is made and
// from the moment its end begins (OsmProcessServiceEnded<T>() tells the two apart).
//
// A UI-only service says so in its accessor with OSM_ASSERT_UI_THREAD(): debug builds then check that every use
// comes from the thread that used the service first; release builds compile the check out.
#pragma once

#include "classlib/CmdTarget.h"

#include <atomic>
#include <type_traits>

template <class T> class COSMProcessServiceHolder
{
public:
    COSMProcessServiceHolder() : m_pService(new T) {}
    ~COSMProcessServiceHolder()
    {
        if constexpr (std::is_base_of_v<CCmdTarget, T>)
            m_pService->InternalRelease();
        else
            delete m_pService;
    }

    COSMProcessServiceHolder(const COSMProcessServiceHolder&) = delete;
    COSMProcessServiceHolder& operator=(const COSMProcessServiceHolder&) = delete;

    T* Get() const { return m_pService; }

private:
    T* m_pService;
};

namespace osm_process_service_detail {

// The process's T while it lives. Constant-initialised and trivially destroyed, so it can be read at any point of
// the exit.
template <class T> inline std::atomic<T*> g_live{nullptr};
template <class T> inline std::atomic<bool> g_ended{false};

// The one holder of the process's T, published while it lives: made public once it is made, and withdrawn before the
// holder gives the service up.
template <class T> class CPublishedHolder : public COSMProcessServiceHolder<T>
{
public:
    CPublishedHolder() { g_live<T>.store(this->Get(), std::memory_order_release); }
    ~CPublishedHolder()
    {
        g_ended<T>.store(true, std::memory_order_release);
        g_live<T>.store(nullptr, std::memory_order_release);
    }
};

}  // namespace osm_process_service_detail

// The process's one T, made on first use.
template <class T> T* OsmProcessService()
{
    static const osm_process_service_detail::CPublishedHolder<T> s_holder;
    return s_holder.Get();
}

// The process's T if it has been made and its end has not begun; null otherwise. Makes nothing.
template <class T> T* OsmLiveProcessService()
{
    return osm_process_service_detail::g_live<T>.load(std::memory_order_acquire);
}

// True once the process's T has begun to go at exit: from then on OsmProcessService<T>() must not be called (it would
// hand out the destroyed service).
template <class T> bool OsmProcessServiceEnded()
{
    return osm_process_service_detail::g_ended<T>.load(std::memory_order_acquire);
}

#ifdef NDEBUG
#define OSM_ASSERT_UI_THREAD() ((void)0)
#else
// The first thread that passes here is the service's UI thread; every later use must come from it.
#define OSM_ASSERT_UI_THREAD()                                                                                         \
    do                                                                                                                 \
    {                                                                                                                  \
        static const DWORD s_uiThreadId = ::GetCurrentThreadId();                                                      \
        ASSERT(::GetCurrentThreadId() == s_uiThreadId);                                                                \
    } while (0)
#endif
