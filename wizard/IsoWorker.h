// The body of the page's ISO worker thread: one build of the image, run through osm::GuardedThreadProc.
//
// A failure inside the worker writes its text into the log line and ends the worker without posting. An exception
// that escapes the build (no memory, a standard or a library exception) is such a failure too: the thread's guard
// would only tell a debugger, and the user would see a page that stopped for no reason.
#pragma once

#include <atomic>

#include "wizard/IsoBuildJob.h"

// Runs one build; true when the image was completed (the page is then told), false when it failed or was cancelled,
// its reason in the log.
bool RunIsoWorker(const IsoBuildRequest& request, const std::atomic<long>* cancelFlag, IsoBuildObserver& observer,
                  IsoImageFile* imageFile);

#ifdef OSM_TEST_HOOKS
// For tests: called on the worker thread as each build begins, so that a test program can make the build throw. Only
// in trees built for tests (OSM_TEST_HOOKS), never in the program users get.
void SetIsoWorkerFaultForTesting(void (*fault)());
#endif
