#include "wizard/IsoWorker.h"

#include "classlib/Exception.h"

#include <exception>
#include <new>
#include <string>

namespace {

const char kNoMemory[] = "Not enough memory to build the image.";
const char kNotBuilt[] = "The image could not be built";

#ifdef OSM_TEST_HOOKS
std::atomic<void (*)()> g_faultForTesting{nullptr};
#endif

// "The image could not be built: <reason>." with the reason's own final full stop dropped.
std::string NotBuiltText(std::string reason)
{
    while (!reason.empty() && (reason.back() == '.' || reason.back() == ' '))
        reason.pop_back();
    return reason.empty() ? std::string(kNotBuilt) + "." : std::string(kNotBuilt) + ": " + reason + ".";
}

}  // namespace

#ifdef OSM_TEST_HOOKS
void SetIsoWorkerFaultForTesting(void (*fault)())
{
    g_faultForTesting = fault;
}
#endif

bool RunIsoWorker(const IsoBuildRequest& request, const std::atomic<long>* cancelFlag, IsoBuildObserver& observer,
                  IsoImageFile* imageFile)
{
    // Made before the build, so that saying there is no memory needs none.
    static const std::string noMemory(kNoMemory);
    bool outOfMemory = false;
    std::string failure;
    try
    {
        IsoBuildJob job(request, cancelFlag, observer, imageFile);
#ifdef OSM_TEST_HOOKS
        if (void (*fault)() = g_faultForTesting.load())
            fault();
#endif
        return job.Run() == IsoBuildResult::Completed;
    }
    catch (const std::bad_alloc&)
    {
        outOfMemory = true;
    }
    catch (const std::exception& e)
    {
        failure = NotBuiltText(e.what());
    }
    catch (CException* e)
    {
        outOfMemory = e->IsKindOf(RUNTIME_CLASS(CMemoryException));
        if (!outOfMemory)
            failure = NotBuiltText(static_cast<const char*>(e->GetErrorMessage()));
        e->Delete();
    }
    // The job never reached its own clean-up: an unfinished image goes now, as after any other failure.
    if (imageFile)
        imageFile->Release();
    // Posted like every other line: the page shows it, and its watch sees the worker end.
    observer.Log(outOfMemory ? noMemory : failure);
    return false;
}
