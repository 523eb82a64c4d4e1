// The notify connection: who hears a send, subscriptions changed and sends nested during delivery, throwing sinks,
// sends on two threads at once, and the sink window that hears a worker's sends on its own thread through its real
// message loop.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "classlib/CallbackGuard.h"
#include "classlib/Exception.h"
#include "framework/foundation/FrameworkStatics.h"
#include "framework/foundation/NotifyConnection.h"
#include "framework/foundation/NotifySinkWnd.h"

namespace {

// Event numbers of the tests; 10575 is what the themes send when their resource module changes.
constexpr int kFirstEvent = 1;
constexpr int kSecondEvent = 2;
constexpr int kThemeChanged = 10575;

struct Heard
{
    int sink;
    int nEvent;
    WPARAM wParam;

    bool operator==(const Heard& other) const
    {
        return sink == other.sink && nEvent == other.nEvent && wParam == other.wParam;
    }
};

std::ostream& operator<<(std::ostream& out, const Heard& heard)
{
    return out << "{sink " << heard.sink << ", event " << heard.nEvent << ", wParam " << heard.wParam << "}";
}

// Appends what it hears to a log, then does what the test asks of it.
class ScriptedSink : public COSMNotifySink
{
public:
    ScriptedSink(int tag, std::vector<Heard>* log, std::function<void(int nEvent)> action = {})
        : m_tag(tag), m_log(log), m_action(std::move(action))
    {}

    void OnEvent(int nEvent, WPARAM wParam, LPARAM, DWORD) override
    {
        m_log->push_back({m_tag, nEvent, wParam});
        if (m_action)
            m_action(nEvent);
    }

private:
    int m_tag;
    std::vector<Heard>* m_log;
    std::function<void(int)> m_action;
};

}  // namespace

TEST(NotifyConnection, SendsReachTheSinksOfThatEventOnly)
{
    COSMNotifyConnection connection;
    std::vector<Heard> log;
    struct Values
    {
        int nEvent;
        WPARAM wParam;
        LPARAM lParam;
        DWORD dwFlags;
    } heardValues = {};
    ScriptedSink a(1, &log), b(2, &log);
    struct ValueSink : COSMNotifySink
    {
        Values* values;
        void OnEvent(int nEvent, WPARAM wParam, LPARAM lParam, DWORD dwFlags) override
        {
            *values = {nEvent, wParam, lParam, dwFlags};
        }
    } c;
    c.values = &heardValues;

    EXPECT_FALSE(connection.SendEvent(kFirstEvent, 0, 0, 0)) << "no subscriber at all";
    const DWORD idA = connection.Advise(kFirstEvent, &a);
    const DWORD idB = connection.Advise(kSecondEvent, &b);
    const DWORD idC = connection.Advise(kFirstEvent, &c);
    EXPECT_NE(idA, 0u);
    EXPECT_NE(idB, 0u);
    EXPECT_NE(idC, 0u);
    EXPECT_EQ((std::set<DWORD>{idA, idB, idC}).size(), 3u);
    EXPECT_EQ(connection.FindConnection(idA), 0);
    EXPECT_EQ(connection.FindConnection(idB), 1);
    EXPECT_EQ(connection.FindConnection(idC), 2);
    EXPECT_EQ(connection.FindConnection(idC + 1), -1);

    EXPECT_FALSE(connection.SendEvent(kThemeChanged, 0, 0, 0)) << "an event nobody subscribed to";
    EXPECT_TRUE(log.empty());

    const LPARAM lParam = static_cast<LPARAM>(-12345);
    EXPECT_TRUE(connection.SendEvent(kFirstEvent, 7, lParam, 0x80000001));
    EXPECT_EQ(log, (std::vector<Heard>{{1, kFirstEvent, 7}}));
    EXPECT_EQ(heardValues.nEvent, kFirstEvent);
    EXPECT_EQ(heardValues.wParam, 7u);
    EXPECT_EQ(heardValues.lParam, lParam);
    EXPECT_EQ(heardValues.dwFlags, 0x80000001u);

    EXPECT_TRUE(connection.Unadvise(idA));
    EXPECT_FALSE(connection.Unadvise(idA)) << "already gone";
    EXPECT_FALSE(connection.Unadvise(0));
    EXPECT_EQ(connection.FindConnection(idC), 1);
    log.clear();
    EXPECT_TRUE(connection.SendEvent(kSecondEvent, 3, 0, 0));
    EXPECT_EQ(log, (std::vector<Heard>{{2, kSecondEvent, 3}}));

    EXPECT_TRUE(connection.Unadvise(idB));
    EXPECT_TRUE(connection.Unadvise(idC));
    EXPECT_FALSE(connection.SendEvent(kFirstEvent, 0, 0, 0)) << "everybody left";
    EXPECT_EQ(connection.GetConnectionCount(), 0);
}

TEST(NotifyConnection, IdsAreNeverZeroAndNeverGivenOutTwice)
{
    COSMNotifyConnection connection;
    std::vector<Heard> log;
    ScriptedSink sink(1, &log);
    std::set<DWORD> seen;
    DWORD kept = connection.Advise(kFirstEvent, &sink);
    seen.insert(kept);
    for (int i = 0; i < 1000; ++i)
    {
        // Subscribing and leaving at once, and the same sink several times over.
        const DWORD id = connection.Advise(i % 3, &sink);
        EXPECT_NE(id, 0u);
        EXPECT_TRUE(seen.insert(id).second) << "id " << id << " given out again";
        if (i % 2 == 0)
        {
            EXPECT_TRUE(connection.Unadvise(id));
        }
    }
    EXPECT_EQ(connection.GetConnectionCount(), 1 + 500);
    EXPECT_EQ(connection.FindConnection(kept), 0);
}

TEST(NotifyConnection, ASinkThatUnadvisesALaterOneKeepsItFromBeingCalled)
{
    COSMNotifyConnection connection;
    std::vector<Heard> log;
    DWORD idLater = 0;
    ScriptedSink first(1, &log, [&](int) { connection.Unadvise(idLater); });
    ScriptedSink later(2, &log), last(3, &log);
    connection.Advise(kFirstEvent, &first);
    idLater = connection.Advise(kFirstEvent, &later);
    connection.Advise(kFirstEvent, &last);

    EXPECT_TRUE(connection.SendEvent(kFirstEvent, 1, 0, 0)) << "it was subscribed when the send began";
    EXPECT_EQ(log, (std::vector<Heard>{{1, kFirstEvent, 1}, {3, kFirstEvent, 1}}));
    log.clear();
    EXPECT_TRUE(connection.SendEvent(kFirstEvent, 2, 0, 0));
    EXPECT_EQ(log, (std::vector<Heard>{{1, kFirstEvent, 2}, {3, kFirstEvent, 2}}));
}

TEST(NotifyConnection, ASinkThatUnadvisesOneAndAdvisesAnotherDuringDeliveryCallsNeither)
{
    COSMNotifyConnection connection;
    std::vector<Heard> log;
    DWORD idRemoved = 0, idAdded = 0;
    ScriptedSink removed(2, &log), added(3, &log);
    ScriptedSink changer(1, &log, [&](int) {
        if (idAdded)
            return;
        connection.Unadvise(idRemoved);
        idAdded = connection.Advise(kFirstEvent, &added);
    });
    connection.Advise(kFirstEvent, &changer);
    idRemoved = connection.Advise(kFirstEvent, &removed);

    EXPECT_TRUE(connection.SendEvent(kFirstEvent, 1, 0, 0));
    EXPECT_EQ(log, (std::vector<Heard>{{1, kFirstEvent, 1}})) << "the new sink was not in this send's snapshot";
    EXPECT_NE(idAdded, idRemoved) << "the removed subscription's id was given to the new one";
    log.clear();
    EXPECT_TRUE(connection.SendEvent(kFirstEvent, 2, 0, 0));
    EXPECT_EQ(log, (std::vector<Heard>{{1, kFirstEvent, 2}, {3, kFirstEvent, 2}}));
}

TEST(NotifyConnection, ANestedSendDeliversFullyBeforeTheOuterGoesOn)
{
    struct Case
    {
        const char* name;
        int nestedEvent;
        std::vector<Heard> expected;
    } cases[] = {
        {"another event",
         kSecondEvent,
         {{1, kFirstEvent, 0}, {2, kSecondEvent, 1}, {4, kSecondEvent, 1}, {3, kFirstEvent, 0}}},
        // The inner send of the same event has a snapshot of its own: the outer one still reaches its last sink.
        {"the same event",
         kFirstEvent,
         {{1, kFirstEvent, 0}, {1, kFirstEvent, 1}, {3, kFirstEvent, 1}, {3, kFirstEvent, 0}}},
    };
    for (const Case& c : cases)
    {
        COSMNotifyConnection connection;
        std::vector<Heard> log;
        int depth = 0;
        ScriptedSink sender(1, &log, [&](int) {
            if (depth++ == 0)
            {
                EXPECT_TRUE(connection.SendEvent(c.nestedEvent, 1, 0, 0)) << c.name;
            }
        });
        ScriptedSink second(2, &log), first(3, &log), fourth(4, &log);
        connection.Advise(kFirstEvent, &sender);
        connection.Advise(kSecondEvent, &second);
        connection.Advise(kFirstEvent, &first);
        connection.Advise(kSecondEvent, &fourth);

        EXPECT_TRUE(connection.SendEvent(kFirstEvent, 0, 0, 0)) << c.name;
        EXPECT_EQ(log, c.expected) << c.name;
    }
}

namespace {

int g_notifyReports = 0;
void CountNotifyReport(const char*, long, const char*)
{
    ++g_notifyReports;
}

// A library exception that says when it is freed.
class CountedException : public CException
{
public:
    explicit CountedException(int* freed) : m_freed(freed) {}
    ~CountedException() override { ++*m_freed; }

private:
    int* m_freed;
};

}  // namespace

TEST(NotifyConnection, AThrowingSinkDoesNotStopTheOthers)
{
    COSMNotifyConnection connection;
    std::vector<Heard> log;
    int freed = 0;
    ScriptedSink library(1, &log, [&](int) { throw new CountedException(&freed); });
    ScriptedSink quiet(2, &log);
    ScriptedSink standard(3, &log, [](int) { throw std::runtime_error("sink failed"); });
    ScriptedSink anything(4, &log, [](int) { throw 42; });
    ScriptedSink last(5, &log);
    for (COSMNotifySink* sink : std::initializer_list<COSMNotifySink*>{&library, &quiet, &standard, &anything, &last})
        connection.Advise(kFirstEvent, sink);

    g_notifyReports = 0;
    const CallbackExceptionReporter previous = SetCallbackExceptionReporter(&CountNotifyReport);
    const BOOL sent = connection.SendEvent(kFirstEvent, 9, 0, 0);
    SetCallbackExceptionReporter(previous);

    EXPECT_TRUE(sent);
    EXPECT_EQ(
        log,
        (std::vector<Heard>{
            {1, kFirstEvent, 9}, {2, kFirstEvent, 9}, {3, kFirstEvent, 9}, {4, kFirstEvent, 9}, {5, kFirstEvent, 9}}));
    EXPECT_EQ(freed, 1) << "the library exception was deleted";
    EXPECT_EQ(g_notifyReports, 3) << "each failure was reported, none went unseen";
}

namespace {

class CountedConnection : public COSMNotifyConnection
{
public:
    explicit CountedConnection(bool* deleted) : m_deleted(deleted) {}
    ~CountedConnection() override { *m_deleted = true; }

private:
    bool* m_deleted;
};

}  // namespace

TEST(NotifyConnection, ASendKeepsTheConnectionAliveWhenASinkReleasesIt)
{
    bool deleted = false;
    COSMNotifyConnection* connection = new CountedConnection(&deleted);
    std::vector<Heard> log;
    bool deletedDuringSend = true;
    // The source lets go of the connection from inside a handler (its last reference but the send's).
    ScriptedSink releaser(1, &log, [&](int) { connection->InternalRelease(); });
    ScriptedSink next(2, &log, [&](int) {
        deletedDuringSend = deleted;
        EXPECT_EQ(connection->FindConnection(1), 0);
    });
    EXPECT_EQ(connection->Advise(kFirstEvent, &releaser), 1u);
    connection->Advise(kFirstEvent, &next);

    EXPECT_TRUE(connection->SendEvent(kFirstEvent, 0, 0, 0));
    EXPECT_EQ(log, (std::vector<Heard>{{1, kFirstEvent, 0}, {2, kFirstEvent, 0}}));
    EXPECT_FALSE(deletedDuringSend);
    EXPECT_TRUE(deleted) << "the send gave up the last reference as it returned";
}

namespace {

// Records what a send delivered into the log the sender passes in lParam, then lets the other threads run, so the
// sends on two threads interleave call by call.
class YieldingSink : public COSMNotifySink
{
public:
    explicit YieldingSink(int tag) : m_tag(tag) {}
    void OnEvent(int nEvent, WPARAM wParam, LPARAM lParam, DWORD) override
    {
        reinterpret_cast<std::vector<Heard>*>(lParam)->push_back({m_tag, nEvent, wParam});
        ::Sleep(0);
    }

private:
    int m_tag;
};

}  // namespace

TEST(NotifyConnection, TwoThreadsSendingAtOnceEachDeliverTheirOwnSnapshot)
{
    // Each thread alternates between two events with snapshots of different lengths (4 and 1 sinks, 3 and 2), so
    // sends of one thread begin and end in every phase of the other's: a snapshot shared between sends would be cut
    // short, or written over by the other thread's subscribers.
    constexpr int kThirdEvent = 3, kFourthEvent = 4;
    const int eventOf[] = {kFirstEvent,  kSecondEvent, kFirstEvent,  kThirdEvent,  kSecondEvent,
                           kFourthEvent, kFirstEvent,  kSecondEvent, kFourthEvent, kFirstEvent};
    COSMNotifyConnection connection;
    std::vector<std::unique_ptr<YieldingSink>> sinks;
    for (int tag = 0; tag < 10; ++tag)
    {
        sinks.push_back(std::make_unique<YieldingSink>(tag));
        connection.Advise(eventOf[tag], sinks.back().get());
    }
    auto expectedFor = [&](int nEvent, int i) {
        std::vector<Heard> expected;
        for (int tag = 0; tag < 10; ++tag)
        {
            if (eventOf[tag] == nEvent)
                expected.push_back({tag, nEvent, static_cast<WPARAM>(i)});
        }
        return expected;
    };

    constexpr int kSends = 5000;
    std::atomic<int> ready{0};
    std::atomic<bool> sending{true};
    auto sender = [&](int evenEvent, int oddEvent, int* failures) {
        ++ready;
        while (ready < 3)
            ::Sleep(0);
        for (int i = 0; i < kSends; ++i)
        {
            const int nEvent = i % 2 ? oddEvent : evenEvent;
            std::vector<Heard> delivered;
            if (!connection.SendEvent(nEvent, i, reinterpret_cast<LPARAM>(&delivered), 0))
                ++*failures;
            if (delivered != expectedFor(nEvent, i))
                ++*failures;
        }
    };
    // Meanwhile a third thread subscribes and leaves, so the list grows, moves and shrinks under the sends.
    YieldingSink churnSink(99);
    auto churner = [&] {
        ++ready;
        while (sending)
        {
            const DWORD id = connection.Advise(kThemeChanged, &churnSink);
            ::Sleep(0);
            connection.Unadvise(id);
        }
    };

    int firstFailures = 0, secondFailures = 0;
    std::thread churn(churner);
    std::thread first(sender, kFirstEvent, kThirdEvent, &firstFailures);
    std::thread second(sender, kSecondEvent, kFourthEvent, &secondFailures);
    first.join();
    second.join();
    sending = false;
    churn.join();

    EXPECT_EQ(firstFailures, 0) << "sends of the first thread that did not deliver exactly their sinks";
    EXPECT_EQ(secondFailures, 0) << "sends of the second thread that did not deliver exactly their sinks";
    EXPECT_EQ(connection.GetConnectionCount(), 10);
}

TEST(NotifyConnection, UnadviseWaitsForAHandlerRunningOnAnotherThread)
{
    COSMNotifyConnection connection;
    HANDLE entered = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(entered && release);
    std::atomic<bool> handlerReturned{false};
    struct BlockingSink : COSMNotifySink
    {
        HANDLE entered, release;
        std::atomic<bool>* returned;
        void OnEvent(int, WPARAM, LPARAM, DWORD) override
        {
            ::SetEvent(entered);
            ::WaitForSingleObject(release, 10000);
            *returned = true;
        }
    } sink;
    sink.entered = entered;
    sink.release = release;
    sink.returned = &handlerReturned;
    const DWORD id = connection.Advise(kFirstEvent, &sink);

    std::thread worker([&] { connection.SendEvent(kFirstEvent, 0, 0, 0); });
    ASSERT_EQ(::WaitForSingleObject(entered, 10000), WAIT_OBJECT_0);
    std::atomic<bool> unadvised{false};
    bool returnedBeforeUnadvise = false;
    std::thread owner([&] {
        EXPECT_TRUE(connection.Unadvise(id));
        returnedBeforeUnadvise = handlerReturned;
        unadvised = true;
    });
    // The owner is now waiting for the handler; let it go after a while.
    ::Sleep(100);
    EXPECT_FALSE(unadvised) << "Unadvise returned while the sink was still running";
    ::SetEvent(release);
    owner.join();
    worker.join();
    EXPECT_TRUE(returnedBeforeUnadvise) << "the sink could have been deleted under its handler";
    EXPECT_EQ(connection.FindConnection(id), -1);
    ::CloseHandle(entered);
    ::CloseHandle(release);
}

namespace {

struct HeardOnWindow
{
    int nEvent;
    WPARAM wParam;
    LPARAM lParam;
    DWORD dwFlags;
    DWORD thread;

    bool operator==(const HeardOnWindow& other) const
    {
        return nEvent == other.nEvent && wParam == other.wParam && lParam == other.lParam && dwFlags == other.dwFlags &&
               thread == other.thread;
    }
};

std::ostream& operator<<(std::ostream& out, const HeardOnWindow& heard)
{
    return out << "{event " << heard.nEvent << ", " << heard.wParam << ", " << heard.lParam << ", " << heard.dwFlags
               << ", thread " << heard.thread << "}";
}

class RecordingSinkWnd : public COSMNotifySinkWnd
{
public:
    std::vector<HeardOnWindow> heard;

    BOOL CreateHidden() { return CreateEx(0, nullptr, "notify sink", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr); }

protected:
    void OnNotifySinkEvent(int nEvent, WPARAM wParam, LPARAM lParam, DWORD dwFlags) override
    {
        heard.push_back({nEvent, wParam, lParam, dwFlags, ::GetCurrentThreadId()});
    }
};

// The thread's own message loop, until done() or 10 seconds have passed.
bool PumpUntil(const std::function<bool()>& done)
{
    const DWORD start = ::GetTickCount();
    while (!done())
    {
        if (::GetTickCount() - start > 10000)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return true;
}

// Empties the thread's queue once, dispatching what was there.
void PumpPending()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

}  // namespace

TEST(NotifySinkWnd, AWorkersSendReachesTheWindowOnItsOwnThread)
{
    RecordingSinkWnd window;
    ASSERT_TRUE(window.CreateHidden());
    COSMNotifyConnection connection;
    connection.Advise(kThemeChanged, &window);
    const DWORD windowThread = ::GetCurrentThreadId();

    // Values of every width: a pointer-sized lParam, the flags' top bit, a negative lParam.
    const HeardOnWindow sent[] = {
        {kThemeChanged, 0, 0, 0, windowThread},
        {kThemeChanged, static_cast<WPARAM>(-1), static_cast<LPARAM>(-2), 0x80000000u, windowThread},
        {kThemeChanged, 0x12345678u, static_cast<LPARAM>(reinterpret_cast<INT_PTR>(&window)), 7, windowThread},
    };
    DWORD workerThread = 0;
    int delivered = 0;
    std::thread worker([&] {
        workerThread = ::GetCurrentThreadId();
        for (const HeardOnWindow& event : sent)
            delivered += connection.SendEvent(event.nEvent, event.wParam, event.lParam, event.dwFlags) ? 1 : 0;
    });
    worker.join();
    EXPECT_NE(workerThread, windowThread);
    EXPECT_EQ(delivered, 3);
    EXPECT_TRUE(window.heard.empty()) << "the worker ran the handler itself";
    EXPECT_EQ(window.GetQueuedEventCount(), 3);

    // A stray post of the shared message with no record of this window behind it is ignored.
    ::PostMessageA(window.m_hWnd, OSM_WM_NOTIFICATION_SINK_MT_ON_EVENT, 0, 0x1234);
    ASSERT_TRUE(PumpUntil([&] { return window.heard.size() >= 3; }));
    PumpPending();
    EXPECT_EQ(window.heard, (std::vector<HeardOnWindow>(std::begin(sent), std::end(sent))));
    EXPECT_EQ(window.GetQueuedEventCount(), 0);

    // While the loop runs, a worker's stream of sends arrives whole and in order.
    window.heard.clear();
    constexpr int kStream = 200;
    std::thread streamer([&] {
        for (int i = 0; i < kStream; ++i)
        {
            connection.SendEvent(kThemeChanged, i, -i, i % 2);
            if (i % 16 == 0)
                ::Sleep(0);
        }
    });
    const bool all = PumpUntil([&] { return window.heard.size() >= kStream; });
    streamer.join();
    ASSERT_TRUE(all) << window.heard.size() << " of " << kStream;
    for (int i = 0; i < kStream; ++i)
        EXPECT_EQ(window.heard[i],
                  (HeardOnWindow{kThemeChanged, static_cast<WPARAM>(i), -i, static_cast<DWORD>(i % 2), windowThread}));
    window.DestroyWindow();
}

TEST(NotifySinkWnd, ASendOnTheWindowsThreadIsHandledAtOnce)
{
    RecordingSinkWnd window;
    COSMNotifyConnection connection;
    connection.Advise(kThemeChanged, &window);
    EXPECT_TRUE(connection.SendEvent(kThemeChanged, 1, 2, 3));
    EXPECT_TRUE(window.heard.empty()) << "a sink window without a window hears nothing";

    ASSERT_TRUE(window.CreateHidden());
    EXPECT_TRUE(connection.SendEvent(kThemeChanged, 4, 5, 6));
    EXPECT_EQ(window.heard, (std::vector<HeardOnWindow>{{kThemeChanged, 4, 5, 6, ::GetCurrentThreadId()}}));
    EXPECT_EQ(window.GetQueuedEventCount(), 0);
    window.DestroyWindow();
}

TEST(NotifySinkWnd, EventsQueuedWhenTheWindowGoesAreFreedUnhandled)
{
    COSMNotifyConnection connection;
    auto sendFromWorker = [&](int count) {
        std::thread worker([&] {
            for (int i = 0; i < count; ++i)
                connection.SendEvent(kThemeChanged, i, 0, 0);
        });
        worker.join();
    };

    // The window destroyed with events queued: they are freed, and nothing is posted after it.
    {
        RecordingSinkWnd window;
        ASSERT_TRUE(window.CreateHidden());
        const DWORD id = connection.Advise(kThemeChanged, &window);
        sendFromWorker(5);
        EXPECT_EQ(window.GetQueuedEventCount(), 5);
        EXPECT_TRUE(window.DestroyWindow());
        EXPECT_EQ(window.GetQueuedEventCount(), 0);
        sendFromWorker(2);
        EXPECT_EQ(window.GetQueuedEventCount(), 0) << "posted to a window that is gone";
        PumpPending();
        EXPECT_TRUE(window.heard.empty());
        connection.Unadvise(id);
    }

    // The object deleted with its window still up and events queued: its destructor destroys the window through
    // this class, so the queue is emptied; the thread's loop then meets nothing of it.
    auto* window = new RecordingSinkWnd;
    ASSERT_TRUE(window->CreateHidden());
    const HWND hWnd = window->m_hWnd;
    const DWORD id = connection.Advise(kThemeChanged, window);
    sendFromWorker(3);
    EXPECT_EQ(window->GetQueuedEventCount(), 3);
    EXPECT_TRUE(connection.Unadvise(id));
    delete window;
    EXPECT_FALSE(::IsWindow(hWnd));
    PumpPending();
}
