// A thread timer that runs one action on the thread's next pumped message after delayMs, then stops: for tests that
// must act while the code under test waits in a message loop of its own.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>

namespace osm::test {

class OneShotTimer
{
public:
    OneShotTimer(UINT delayMs, std::function<void()> action)
    {
        s_action = std::move(action);
        m_id = ::SetTimer(nullptr, 0, delayMs, &OneShotTimer::Fire);
    }
    ~OneShotTimer()
    {
        if (m_id)
            ::KillTimer(nullptr, m_id);
        s_action = nullptr;
    }
    OneShotTimer(const OneShotTimer&) = delete;
    OneShotTimer& operator=(const OneShotTimer&) = delete;

private:
    static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD)
    {
        ::KillTimer(nullptr, id);
        std::function<void()> action = std::move(s_action);
        s_action = nullptr;
        if (action)
            action();
    }
    // One at a time: a thread timer's callback carries no context of its own.
    inline static std::function<void()> s_action;
    UINT_PTR m_id = 0;
};

}  // namespace osm::test
