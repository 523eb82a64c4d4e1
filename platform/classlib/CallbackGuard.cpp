#include "classlib/CallbackGuard.h"

#include <atomic>
#include <cstdio>

namespace {

void WriteToDebuggerAndStderr(const char* where, long message, const char* what)
{
    char text[768];
    if (message >= 0)
        std::snprintf(text, sizeof text, "classlib: %s 0x%04lX threw: %s\n", where, message, what);
    else
        std::snprintf(text, sizeof text, "classlib: %s threw: %s\n", where, what);
    ::OutputDebugStringA(text);
    std::fputs(text, stderr);
}

// Read on whichever thread caught the exception: worker threads report too.
std::atomic<CallbackExceptionReporter> g_reporter{&WriteToDebuggerAndStderr};

}  // namespace

CallbackExceptionReporter SetCallbackExceptionReporter(CallbackExceptionReporter reporter) noexcept
{
    return g_reporter.exchange(reporter ? reporter : &WriteToDebuggerAndStderr);
}

namespace osm_classlib_detail {

void ReportCallbackException(const char* where, long message, const char* what)
{
    g_reporter.load()(where ? where : "?", message, what ? what : "?");
}

void ReportAndDeleteException(const char* where, long message, CException* e)
{
    if (!e)
    {
        ReportCallbackException(where, message, "a null exception pointer");
        return;
    }
    // Called from a catch handler of a noexcept guard: reading the message must not throw past here, and the
    // exception is freed whatever happens.
    char text[512] = {};
    try
    {
        if (!e->GetErrorMessage(text, sizeof text) || !text[0])
            std::snprintf(text, sizeof text, "%s", e->GetRuntimeClass()->m_lpszClassName);
    }
    catch (...)
    {
        std::snprintf(text, sizeof text, "%s", "an exception whose message could not be read");
    }
    ReportCallbackException(where, message, text);
    e->Delete();
}

}  // namespace osm_classlib_detail
