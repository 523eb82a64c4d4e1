// Linked into a copy of Osmira for the page tests: the real program and page, with a build that throws as soon as it
// begins, as the OSMIRA_WORKER_FAULT environment variable asks ("bad_alloc", "memory", "exception", "library").
#include <windows.h>

#include <new>
#include <stdexcept>
#include <string>

#include "classlib/Exception.h"
#include "wizard/IsoWorker.h"

namespace {

void ThrowAsAsked()
{
    char kind[32] = {};
    ::GetEnvironmentVariableA("OSMIRA_WORKER_FAULT", kind, sizeof kind);
    const std::string asked = kind;
    if (asked == "bad_alloc")
        throw std::bad_alloc();
    if (asked == "memory")
        AfxThrowMemoryException();
    if (asked == "exception")
        throw std::runtime_error("the distribution's tree holds a loop.");
    if (asked == "library")
        AfxThrowNotSupportedException();
}

struct InstallFault
{
    InstallFault() { SetIsoWorkerFaultForTesting(&ThrowAsAsked); }
} g_installFault;

}  // namespace
