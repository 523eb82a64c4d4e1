// CThreadLocal<T> gives every thread its own T: made with T's default constructor the first time that thread asks for
// it, destroyed on that thread when it ends, however it was started (CreateThread, _beginthreadex, AfxBeginThread).
// The main thread's objects go when the program leaves main or WinMain (or calls exit). Meant for variables at
// namespace scope; its constructor is constexpr, so one may be used from other units' static constructors:
//
//   CThreadLocal<CKeyboardManager> g_keyboardManager;
//   g_keyboardManager->OnKeyDown(nChar);        // the calling thread's manager
//
// A thread's objects are destroyed newest first, so a destructor may still use the objects its thread made before
// its own; an object a destructor makes anew is destroyed after it. Threads ended with TerminateThread, and threads
// still running when the program exits, leave their objects behind. On std::thread threads the threading runtime
// frees the thread's C++ thread_local variables before these destructors run: they must not rely on them there.
#pragma once

#include "classlib/ClassLibBase.h"

#include <atomic>
#include <cstddef>
#include <memory>

namespace osm_classlib_detail {

using ThreadLocalDestroy = void (*)(void* pObject);

// For the library's own use: the calling thread's object for a key (null when it has none yet), and recording a new
// one. Neither changes the thread's last-error value.
void* GetThreadLocalObject(std::size_t key);
void SetThreadLocalObject(std::size_t key, void* pObject, ThreadLocalDestroy pfnDestroy);
// Gives a variable its key the first time any thread uses it; returns the key.
std::size_t AssignThreadLocalKey(std::atomic<std::size_t>& key);
// Destroys the calling thread's objects now, newest first. Threads the library starts call it on their way out;
// the others are cleaned up by a thread-detach callback in the program's TLS directory.
void DestroyThreadLocals();

}  // namespace osm_classlib_detail

template <class T> class CThreadLocal
{
public:
    constexpr CThreadLocal() = default;
    CThreadLocal(const CThreadLocal&) = delete;
    CThreadLocal& operator=(const CThreadLocal&) = delete;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // The calling thread's object, made on first use.
    T* GetData()
    {
        const std::size_t key = Key();
        if (void* pObject = osm_classlib_detail::GetThreadLocalObject(key))
            return static_cast<T*>(pObject);
        auto pObject = std::make_unique<T>();
        osm_classlib_detail::SetThreadLocalObject(key, pObject.get(), &Destroy);
        return pObject.release();
    }
    // The calling thread's object if it has one already; never makes one.
    T* GetDataNA() const
    {
        const std::size_t key = m_key.load(std::memory_order_acquire);
        return key ? static_cast<T*>(osm_classlib_detail::GetThreadLocalObject(key)) : nullptr;
    }
    T* operator->() { return GetData(); }
    T& operator*() { return *GetData(); }

private:
    std::size_t Key() const
    {
        const std::size_t key = m_key.load(std::memory_order_acquire);
        return key ? key : osm_classlib_detail::AssignThreadLocalKey(m_key);
    }
    static void Destroy(void* pObject) { delete static_cast<T*>(pObject); }

    // 0 until the first use: keys are handed out lazily so the variable needs no dynamic initialization.
    mutable std::atomic<std::size_t> m_key{0};
};
