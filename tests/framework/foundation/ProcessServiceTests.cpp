// The one way the framework's process-wide services live: made on first use, once however many threads ask at the
// same moment, and given up at exit (a reference-counted service by its reference, so other holders keep it). A
// program of its own, so that the services are first used here.
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/DrawHelpers.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/MultiMonitor.h"
#include "framework/foundation/OSVersionInfo.h"
#include "framework/foundation/ProcessService.h"
#include "framework/foundation/ResourceManager.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>
#include <vector>

namespace {

const int kThreads = 8;

// What each of kThreads threads got from get, all released at the same moment.
std::vector<void*> FromThreadsAtOnce(void* (*get)())
{
    std::atomic<int> ready{0};
    std::atomic<bool> go{false};
    std::vector<void*> got(kThreads, nullptr);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i)
    {
        threads.emplace_back([&, i] {
            ++ready;
            while (!go.load())
                std::this_thread::yield();
            got[static_cast<size_t>(i)] = get();
        });
    }
    while (ready.load() < kThreads)
        std::this_thread::yield();
    go.store(true);
    for (std::thread& thread : threads)
        thread.join();
    return got;
}

// A service slow to make, so that every thread asks while the first is still making it.
std::atomic<int> g_slowMade{0};

struct CSlowService
{
    CSlowService()
    {
        ++g_slowMade;
        ::Sleep(200);
    }
};

}  // namespace

TEST(ProcessService, ThreadsAskingAtOnceWhileItIsMadeGetTheOneInstance)
{
    const std::vector<void*> got = FromThreadsAtOnce([]() -> void* { return OsmProcessService<CSlowService>(); });
    EXPECT_EQ(g_slowMade.load(), 1);
    EXPECT_EQ(std::set<void*>(got.begin(), got.end()).size(), 1u);
    EXPECT_NE(got[0], nullptr);
    EXPECT_EQ(got[0], OsmProcessService<CSlowService>());
    EXPECT_EQ(g_slowMade.load(), 1);
}

// Asking for the live service makes nothing: it is null until the service is made (by anyone, on any thread), then
// the one instance. (Its end at exit is watched by the paint manager's exit probe.)
namespace {

struct CAskedFirst
{
    CAskedFirst() { ++s_made; }
    static int s_made;
};
int CAskedFirst::s_made = 0;

}  // namespace

TEST(ProcessService, TheLiveServiceIsNullUntilMadeAndAskingForItMakesNothing)
{
    EXPECT_EQ(OsmLiveProcessService<CAskedFirst>(), nullptr);
    EXPECT_EQ(OsmLiveProcessService<CAskedFirst>(), nullptr);
    EXPECT_EQ(CAskedFirst::s_made, 0);
    EXPECT_FALSE(OsmProcessServiceEnded<CAskedFirst>());

    CAskedFirst* made = nullptr;
    std::thread([&] { made = OsmProcessService<CAskedFirst>(); }).join();
    EXPECT_EQ(CAskedFirst::s_made, 1);
    EXPECT_NE(made, nullptr);
    EXPECT_EQ(OsmLiveProcessService<CAskedFirst>(), made);
    EXPECT_FALSE(OsmProcessServiceEnded<CAskedFirst>());
}

// The framework's services that any thread may use, first used here from several threads at once.
TEST(ProcessService, TheFoundationsServicesFirstUsedFromSeveralThreadsAreOneEach)
{
    const struct
    {
        const char* name;
        void* (*get)();
    } services[] = {
        {"image manager", []() -> void* { return GetImageManager(); }},
        {"colour manager", []() -> void* { return GetColorManager(); }},
        {"resource manager", []() -> void* { return GetResourceManager(); }},
        {"drawing helpers", []() -> void* { return GetDrawHelpers(); }},
        {"version information", []() -> void* { return GetOSVersionInfo(); }},
        {"monitors", []() -> void* { return GetMultiMonitor(); }},
    };
    for (const auto& service : services)
    {
        SCOPED_TRACE(service.name);
        const std::vector<void*> got = FromThreadsAtOnce(service.get);
        EXPECT_EQ(std::set<void*>(got.begin(), got.end()).size(), 1u);
        EXPECT_NE(got[0], nullptr);
        EXPECT_EQ(got[0], service.get()) << "the same one afterwards";
    }
    // The process holds one reference on its image manager.
    EXPECT_EQ(GetImageManager()->InternalAddRef(), 2u);
    EXPECT_EQ(GetImageManager()->InternalRelease(), 1u);
}

namespace {

// A reference-counted service that says when it goes.
class CCountedService : public CCmdTarget
{
public:
    CCountedService() { ++s_alive; }
    ~CCountedService() override { --s_alive; }
    static int s_alive;
};
int CCountedService::s_alive = 0;

struct CPlainService
{
    CPlainService() { ++s_alive; }
    ~CPlainService() { --s_alive; }
    static int s_alive;
};
int CPlainService::s_alive = 0;

}  // namespace

// What exit does to a service is what its holder's end does: a plain one is destroyed; a reference-counted one loses
// the process's reference and stays while someone else holds one.
TEST(ProcessService, AtExitAPlainServiceGoesAndACountedOneStaysWithItsOtherHolders)
{
    {
        COSMProcessServiceHolder<CPlainService> holder;
        EXPECT_EQ(CPlainService::s_alive, 1);
    }
    EXPECT_EQ(CPlainService::s_alive, 0);

    CCountedService* kept = nullptr;
    {
        COSMProcessServiceHolder<CCountedService> holder;
        kept = holder.Get();
        EXPECT_EQ(kept->InternalAddRef(), 2u);
    }
    EXPECT_EQ(CCountedService::s_alive, 1) << "the other holder keeps it";
    EXPECT_EQ(kept->InternalRelease(), 0u);
    EXPECT_EQ(CCountedService::s_alive, 0);

    {
        COSMProcessServiceHolder<CCountedService> holder;
        EXPECT_EQ(CCountedService::s_alive, 1);
    }
    EXPECT_EQ(CCountedService::s_alive, 0) << "with no other holder it goes with the process's reference";
}
