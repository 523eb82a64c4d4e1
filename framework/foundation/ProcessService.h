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
// A UI-only service says so in its accessor with OSM_ASSERT_UI_THREAD(): debug builds then check that every use
// comes from the thread that used the service first; release builds compile the check out.
#pragma once

#include "classlib/CmdTarget.h"

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

// The process's one T, made on first use.
template <class T> T* OsmProcessService()
{
    static const COSMProcessServiceHolder<T> s_holder;
    return s_holder.Get();
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
