// For the library's own use: the wall between the program's handlers and the system's frames. The window procedure,
// the dialog procedure and the hooks are called by the system; an exception unwinding through user32's frames is
// undefined behaviour (and on 64-bit Windows is swallowed or ends the process, depending on the version). Each entry
// runs its work through GuardCallback, which stops every exception there: a library exception is reported with its
// message and freed, anything else is reported, and the entry returns its failure value. Every report goes to one
// reporter, which a program (or a test) may replace. GuardedCallbacks.h makes the system's callback shapes (hooks,
// timer procedures, thread entries) out of ordinary functions on top of this.
#pragma once

#include "classlib/Exception.h"

#include <exception>

// Receives every exception stopped at a system entry: where it was stopped, the message number being handled (-1
// when none) and what the exception said. Called on the thread that caught it; it must not throw.
using CallbackExceptionReporter = void (*)(const char* where, long message, const char* what);
// Installs the reporter and returns the one it replaces; null puts back the default, which writes
// "classlib: <where> threw: <what>" to the debugger and stderr.
CallbackExceptionReporter SetCallbackExceptionReporter(CallbackExceptionReporter reporter) noexcept;

namespace osm_classlib_detail {

// Hands the exception to the reporter.
void ReportCallbackException(const char* where, long message, const char* what);
// The same for a library exception, which it then frees.
void ReportAndDeleteException(const char* where, long message, CException* e);

template <class Result, class Body>
Result GuardCallback(const char* where, Result onFailure, Body&& body, long message = -1) noexcept
{
    try
    {
        return body();
    }
    catch (CException* e)
    {
        ReportAndDeleteException(where, message, e);
    }
    catch (const std::exception& e)
    {
        ReportCallbackException(where, message, e.what());
    }
    catch (...)
    {
        ReportCallbackException(where, message, "unknown exception");
    }
    return onFailure;
}

}  // namespace osm_classlib_detail
