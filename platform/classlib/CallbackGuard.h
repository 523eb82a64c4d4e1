// For the library's own use: the wall between the program's handlers and the system's frames. The window procedure,
// the dialog procedure and the hooks are called by the system; an exception unwinding through user32's frames is
// undefined behaviour (and on 64-bit Windows is swallowed or ends the process, depending on the version). Each entry
// runs its work through GuardCallback, which stops every exception there: a library exception is reported with its
// message and freed, anything else is reported, and the entry returns its failure value.
#pragma once

#include "classlib/Exception.h"

#include <exception>

namespace osm_classlib_detail {

// Writes "classlib: <where> threw: <what>" to the debugger and stderr; a message number, when given (not -1), is
// named after `where`.
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
