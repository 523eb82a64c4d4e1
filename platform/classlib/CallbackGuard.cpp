#include "classlib/CallbackGuard.h"

#include <cstdio>

namespace osm_classlib_detail {

void ReportCallbackException(const char* where, long message, const char* what)
{
    char text[768];
    if (message >= 0)
        std::snprintf(text, sizeof text, "classlib: %s 0x%04lX threw: %s\n", where, message, what);
    else
        std::snprintf(text, sizeof text, "classlib: %s threw: %s\n", where, what);
    ::OutputDebugStringA(text);
    std::fputs(text, stderr);
}

void ReportAndDeleteException(const char* where, long message, CException* e)
{
    if (!e)
    {
        ReportCallbackException(where, message, "a null exception pointer");
        return;
    }
    CString text = e->GetErrorMessage();
    if (text.IsEmpty())
        text = e->GetRuntimeClass()->m_lpszClassName;
    ReportCallbackException(where, message, text);
    e->Delete();
}

}  // namespace osm_classlib_detail
