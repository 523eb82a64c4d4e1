// For the library's own use: the per-thread bookkeeping behind the window classes. Windows, device contexts, GDI
// objects and menus belong to the thread that made them, so the handle maps, the hooks and the message being
// dispatched are kept per thread.
#pragma once

#include "classlib/ClassLibBase.h"

#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

namespace osm_classlib_detail {

// Wrappers made on the fly by FromHandle have no handle of their own: before one is deleted its handle is taken
// away, so deleting the wrapper never destroys the window, DC or object it pointed at.
void ClearTemporaryHandle(CWnd* pObject);
void ClearTemporaryHandle(CDC* pObject);
void ClearTemporaryHandle(CGdiObject* pObject);
void ClearTemporaryHandle(CMenu* pObject);

// Maps handles to the objects that wrap them. Permanent entries belong to objects the program made (members,
// locals, heap objects) and are added by Attach; temporary entries are owned by the map. Each temporary object
// remembers the dispatch depth it was made at: once the thread is back below that depth no handler that saw it is
// still running, so it can go.
template <class Handle, class Object> class HandleMap
{
public:
    HandleMap() = default;
    HandleMap(const HandleMap&) = delete;
    HandleMap& operator=(const HandleMap&) = delete;
    ~HandleMap() { DeleteTemporaries(-1); }

    Object* LookupPermanent(Handle h) const
    {
        auto it = m_permanent.find(h);
        return it == m_permanent.end() ? nullptr : it->second;
    }

    Object* LookupTemporary(Handle h) const
    {
        auto it = m_temporary.find(h);
        return it == m_temporary.end() ? nullptr : it->second.object;
    }

    // FALSE when the handle already has a permanent wrapper.
    bool SetPermanent(Handle h, Object* pObject) { return m_permanent.emplace(h, pObject).second; }

    void RemovePermanent(Handle h, const Object* pObject)
    {
        auto it = m_permanent.find(h);
        if (it != m_permanent.end() && it->second == pObject)
            m_permanent.erase(it);
    }

    template <class Concrete> Object* AddTemporary(Handle h, std::unique_ptr<Concrete> pObject, int depth)
    {
        Object* p = pObject.release();
        m_temporary[h] = Temporary{p, depth};
        return p;
    }

    // Deletes the temporary objects made deeper than aboveDepth (-1: all of them).
    void DeleteTemporaries(int aboveDepth)
    {
        std::vector<Object*> doomed;
        for (auto it = m_temporary.begin(); it != m_temporary.end();)
        {
            if (it->second.depth > aboveDepth)
            {
                doomed.push_back(it->second.object);
                it = m_temporary.erase(it);
            }
            else
            {
                ++it;
            }
        }
        for (Object* p : doomed)
        {
            ClearTemporaryHandle(p);
            delete p;
        }
    }

private:
    struct Temporary
    {
        Object* object;
        int depth;
    };
    std::unordered_map<Handle, Object*> m_permanent;
    std::unordered_map<Handle, Temporary> m_temporary;
};

struct ThreadState
{
    ThreadState();
    ~ThreadState();
    ThreadState(const ThreadState&) = delete;
    ThreadState& operator=(const ThreadState&) = delete;

    HandleMap<HWND, CWnd> windows;
    HandleMap<HDC, CDC> deviceContexts;
    HandleMap<HGDIOBJ, CGdiObject> gdiObjects;
    HandleMap<HMENU, CMenu> menus;

    // How many of the library's window procedures (and PreTranslateMessage walks) are on the stack.
    int dispatchDepth = 0;
    // The message the innermost window procedure is handling: what CWnd::Default passes on.
    MSG lastSentMsg{};

    // Window creation: the object waiting for its HWND and the CBT hook that delivers it.
    CWnd* pWndInit = nullptr;
    HHOOK hHookCbt = nullptr;

    // The message-filter hook that lets modal loops offer messages to PreTranslateMessage.
    HHOOK hHookMsgFilter = nullptr;
    int msgFilterUsers = 0;

    // While UpdateData runs, control notifications to this window are ignored.
    HWND hLockoutNotifyWindow = nullptr;

    int waitCursorCount = 0;
    HCURSOR hcurWaitRestore = nullptr;

    void DeleteTemporaries(int aboveDepth);
};

ThreadState& GetThreadState();

// Keeps the message-filter hook installed while a modal loop (dialog or message box) runs on this thread.
class ModalLoopScope
{
public:
    ModalLoopScope();
    ~ModalLoopScope();
    ModalLoopScope(const ModalLoopScope&) = delete;
    ModalLoopScope& operator=(const ModalLoopScope&) = delete;
};

// Registers the common-control classes (progress bar, tooltips, the standard controls) once per process.
void EnsureCommonControls();

}  // namespace osm_classlib_detail
