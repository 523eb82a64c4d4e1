// Input played on a second thread while the test's thread pumps messages: a press that runs a modal loop inside a
// dispatch needs its later input to arrive while that loop runs.
#pragma once

#include "ActiveWindow.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <functional>

namespace osm::test {

// Runs input on a second thread and calls pump on this one until it has ended, and once more after.
inline bool PlayInputWhile(const std::function<void()>& input, const std::function<void()>& pump)
{
    std::atomic<bool> done{false};
    struct Job
    {
        const std::function<void()>* input;
        std::atomic<bool>* done;
    } job{&input, &done};
    HANDLE thread = ::CreateThread(
        nullptr, 0,
        [](LPVOID parameter) -> DWORD {
            Job* j = static_cast<Job*>(parameter);
            (*j->input)();
            j->done->store(true);
            return 0;
        },
        &job, 0, nullptr);
    if (!thread)
        return false;
    while (!done.load())
    {
        pump();
        ::Sleep(2);
    }
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
    pump();
    return true;
}

// Runs input on a second thread and pumps this thread's messages until it has ended.
inline void PlayInputWhilePumping(const std::function<void()>& input)
{
    ASSERT_TRUE(PlayInputWhile(input, &PumpPendingMessages));
}

// As PlayInputWhilePumping, with this thread's pump standing for the application's loop: a WM_QUIT that reaches it is
// kept (its exit code in *quitCode) instead of dispatched. True when one came.
inline bool PlayInputWatchingForQuit(const std::function<void()>& input, int* quitCode)
{
    bool quit = false;
    const bool played = PlayInputWhile(input, [&] {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            if (msg.message == WM_QUIT)
            {
                if (!quit && quitCode)
                    *quitCode = static_cast<int>(msg.wParam);
                quit = true;
                continue;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    });
    return played && quit;
}

// Pumps until done holds or timeoutMs passes; whether it holds.
inline bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs = 2000)
{
    const DWORD start = ::GetTickCount();
    while (!done() && ::GetTickCount() - start < timeoutMs)
    {
        PumpPendingMessages();
        ::Sleep(2);
    }
    return done();
}

// Dispatches every message but WM_QUIT until a WM_QUIT arrives (true, the message in quit) or the time runs out: a
// modal loop that meets the quit must leave it for the application's loop.
inline bool PumpUntilQuit(MSG* quit, DWORD timeoutMs = 2000)
{
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < timeoutMs)
    {
        if (::PeekMessageA(quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
            return true;
        MSG msg;
        if (::PeekMessageA(&msg, nullptr, 0, WM_QUIT - 1, PM_REMOVE) ||
            ::PeekMessageA(&msg, nullptr, WM_QUIT + 1, 0xFFFFFFFF, PM_REMOVE))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        else
        {
            ::Sleep(5);
        }
    }
    return false;
}

}  // namespace osm::test
