// The system's callback shapes made out of ordinary code. A hook, a timer procedure or a thread entry is called by
// the system, and an exception must not unwind through the system's frames; instead of a try block in each, write
// the work as an ordinary function (it may throw) and hand the system its guarded form:
//
//   LRESULT OnMouseEvent(int code, WPARAM wParam, LPARAM lParam);   // an ordinary (or static member) function
//   constexpr char kMouseHook[] = "mouse hook";                       // names it in reports
//   ::SetWindowsHookExA(WH_MOUSE, osm::GuardedHookProc<kMouseHook, &OnMouseEvent>, nullptr, threadId);
//
//   ::SetTimer(window, id, period, osm::GuardedTimerProc<kPoll, &OnPoll>);        // void (HWND, UINT, UINT_PTR, DWORD)
//   ::EnumThreadWindows(id, osm::GuardedEnumWindowsProc<kCollect, &OnWindow>, context);  // BOOL (HWND, LPARAM)
//   ::CreateThread(..., osm::GuardedThreadProc<kWorker, &CJob::Run>, pJob, ...);  // a member: the parameter is the
//                                                                                  // object
//   return osm::GuardCallback("ParseMarkup", nullptr, [&] { return Parse(text); });   // an entry function
//
// Each runs its body through GuardCallback (CallbackGuard.h): a library exception (CException*) is reported and
// freed, any other exception is reported, all through the one reporter (SetCallbackExceptionReporter). Then the
// callback does what is safe: a hook passes the event on to the next hook, a timer procedure returns, a window
// enumeration stops, a thread entry ends the thread with exit code (DWORD)-1, an entry function returns its failure
// value. Threads that AfxBeginThread or CWinThread::CreateThread start are guarded by the library already.
//
// The name is a template argument so that the guarded form is a plain function the system can call: give it a
// char array with static storage (a namespace-scope constexpr array, or a static member).
#pragma once

#include "classlib/CallbackGuard.h"

#include <type_traits>

namespace osm {

using osm_classlib_detail::GuardCallback;

namespace guarded_detail {

template <class Function> struct ThreadBody;

// A plain function taking the thread's parameter.
template <class Result> struct ThreadBody<Result (*)(LPVOID)>
{
    template <auto Body> static Result Run(LPVOID parameter) { return Body(parameter); }
};

// A member function without arguments: the thread's parameter is the object.
template <class Result, class Class> struct ThreadBody<Result (Class::*)()>
{
    template <auto Body> static Result Run(LPVOID parameter) { return (static_cast<Class*>(parameter)->*Body)(); }
};

}  // namespace guarded_detail

// A HOOKPROC running Body(code, wParam, lParam); after an exception the event goes on to the next hook.
template <const char* Where, LRESULT (*Body)(int, WPARAM, LPARAM)>
LRESULT CALLBACK GuardedHookProc(int code, WPARAM wParam, LPARAM lParam) noexcept
{
    bool finished = false;
    const LRESULT result = GuardCallback(Where, LRESULT{0}, [&] {
        const LRESULT answer = Body(code, wParam, lParam);
        finished = true;
        return answer;
    });
    return finished ? result : ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// A TIMERPROC running Body with the timer's arguments.
template <const char* Where, void (*Body)(HWND, UINT, UINT_PTR, DWORD)>
void CALLBACK GuardedTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time) noexcept
{
    GuardCallback(Where, 0, [&] {
        Body(window, message, id, time);
        return 0;
    });
}

// A WNDENUMPROC (EnumWindows, EnumThreadWindows, EnumChildWindows) running Body(window, context); after an exception
// the enumeration stops, as when Body answers FALSE.
template <const char* Where, BOOL (*Body)(HWND, LPARAM)>
BOOL CALLBACK GuardedEnumWindowsProc(HWND window, LPARAM context) noexcept
{
    return GuardCallback(Where, FALSE, [&] { return Body(window, context); });
}

// A thread entry (LPTHREAD_START_ROUTINE) running Body: a function taking the thread's parameter, or a member
// function without arguments called on the object the parameter points to. What Body returns (0 for void) is the
// exit code; (DWORD)-1 after an exception.
template <const char* Where, auto Body> DWORD WINAPI GuardedThreadProc(LPVOID parameter) noexcept
{
    using Runner = guarded_detail::ThreadBody<decltype(Body)>;
    return GuardCallback(Where, static_cast<DWORD>(-1), [parameter]() -> DWORD {
        if constexpr (std::is_void_v<decltype(Runner::template Run<Body>(parameter))>)
        {
            Runner::template Run<Body>(parameter);
            return 0;
        }
        else
        {
            return static_cast<DWORD>(Runner::template Run<Body>(parameter));
        }
    });
}

}  // namespace osm
