// The hook manager on real windows: the order sinks are asked in and their answers, subclassing and the unhook
// protocol with another subclasser in every order, WM_NCDESTROY, sinks leaving while a message is dispatched, the
// thread's current message, and text through Unicode and ANSI windows.
#include <gtest/gtest.h>

#include "classlib/ThreadState.h"
#include "framework/foundation/HookManager.h"
#include "framework/foundation/FrameworkStatics.h"

#include <cstring>
#include <cwchar>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace {

// The message the tests send; the window answers it with kWindowAnswer.
constexpr UINT kProbe = WM_APP + 1;
constexpr LRESULT kWindowAnswer = 0x5150;

// What reached whom, in order: "sink:probe", "x:sinkremoved", "window:probe 3,4" ...
std::vector<std::string> g_log;

std::string MessageName(UINT message)
{
    if (message == kProbe)
        return "probe";
    if (message == OSM_WM_HOOKMANAGER_SINKREMOVED)
        return "sinkremoved";
    if (message == WM_DESTROY)
        return "destroy";
    if (message == WM_NCDESTROY)
        return "ncdestroy";
    return std::string();
}

LRESULT CALLBACK TestWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kProbe)
    {
        g_log.push_back("window:probe " + std::to_string(wParam) + "," + std::to_string(lParam));
        return kWindowAnswer;
    }
    if (message == OSM_WM_HOOKMANAGER_SINKREMOVED)
        g_log.push_back("window:sinkremoved");
    if (message == WM_NCDESTROY)
    {
        const bool restored = ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&TestWindowProc);
        g_log.push_back(restored ? "window:ncdestroy restored" : "window:ncdestroy still hooked");
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

const char kWindowClass[] = "OsmHookManagerTest";
const wchar_t kUnicodeWindowClass[] = L"OsmHookManagerTestW";

void RegisterTestClasses()
{
    WNDCLASSA ansi{};
    ansi.lpfnWndProc = &TestWindowProc;
    ansi.hInstance = ::GetModuleHandleA(nullptr);
    ansi.lpszClassName = kWindowClass;
    ::RegisterClassA(&ansi);
    WNDCLASSW unicode{};
    unicode.lpfnWndProc = &::DefWindowProcW;
    unicode.hInstance = ::GetModuleHandleA(nullptr);
    unicode.lpszClassName = kUnicodeWindowClass;
    ::RegisterClassW(&unicode);
}

HWND MakeWindow()
{
    return ::CreateWindowExA(0, kWindowClass, "", WS_POPUP, 0, 0, 100, 50, nullptr, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
}

WNDPROC CurrentProc(HWND hWnd)
{
    return reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
}

// A sink that logs the messages above, answers the probe with its answer (and result), and may run an action
// inside its handler; with an action it logs its return too. Its name and answer are read before the action runs:
// a sink deleted inside its own handler must show as deleted before it returned, not crash the test.
class RecordingSink : public COSMHookManagerSink
{
public:
    explicit RecordingSink(std::string name, int answer = kNotHandled, LRESULT result = 0)
        : m_name(std::move(name)), m_answer(answer), m_result(result)
    {}
    ~RecordingSink() override { g_log.push_back(m_name + ":deleted"); }

    std::function<void(HWND hWnd, WPARAM& wParam, LPARAM& lParam)> onProbe;

    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override
    {
        const std::string name = MessageName(nMessage);
        if (name.empty())
            return kNotHandled;
        g_log.push_back(m_name + ":" + name);
        if (nMessage != kProbe)
            return kNotHandled;
        const std::string self = m_name;
        const int answer = m_answer;
        const LRESULT result = m_result;
        if (onProbe)
        {
            const auto action = onProbe;
            action(hWnd, wParam, lParam);
            g_log.push_back(self + ":returned");
        }
        if (answer == kHandled)
            lResult = result;
        return answer;
    }

private:
    std::string m_name;
    int m_answer;
    LRESULT m_result;
};

// Another party that subclasses the window by itself, following the manager's unhook protocol or not.
class ForeignSubclass
{
public:
    explicit ForeignSubclass(bool followsProtocol) : m_followsProtocol(followsProtocol) {}
    ForeignSubclass(const ForeignSubclass&) = delete;
    ForeignSubclass& operator=(const ForeignSubclass&) = delete;

    void Subclass(HWND hWnd)
    {
        m_hWnd = hWnd;
        ::SetPropA(hWnd, kProperty, this);
        m_saved = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignSubclass::Proc)));
    }

    // Asks a later subclasser to take the saved procedure over; otherwise puts it back, when the window's procedure
    // is still this one's.
    void Leave()
    {
        if (m_followsProtocol &&
            ::SendMessageA(m_hWnd, OSM_WM_HOOKMANAGER_SINKREMOVED, reinterpret_cast<WPARAM>(&ForeignSubclass::Proc),
                           reinterpret_cast<LPARAM>(m_saved)) != 0)
        {
            g_log.push_back("x:taken over");
        }
        else if (CurrentProc(m_hWnd) == &ForeignSubclass::Proc)
        {
            ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_saved));
        }
        ::RemovePropA(m_hWnd, kProperty);
    }

    static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = static_cast<ForeignSubclass*>(::GetPropA(hWnd, kProperty));
        const WNDPROC saved = self->m_saved;
        const std::string name = MessageName(message);
        if (!name.empty() && message != WM_DESTROY)
            g_log.push_back("x:" + name);
        if (message == OSM_WM_HOOKMANAGER_SINKREMOVED && self->m_followsProtocol &&
            wParam == reinterpret_cast<WPARAM>(saved))
        {
            self->m_saved = reinterpret_cast<WNDPROC>(lParam);
            return 1;
        }
        if (message == WM_NCDESTROY)
            ::RemovePropA(hWnd, kProperty);
        return ::CallWindowProcA(saved, hWnd, message, wParam, lParam);
    }

    WNDPROC Saved() const { return m_saved; }

private:
    static constexpr const char* kProperty = "OsmForeignSubclass";
    bool m_followsProtocol;
    HWND m_hWnd = nullptr;
    WNDPROC m_saved = nullptr;
};

class HookManagerTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { RegisterTestClasses(); }

    void SetUp() override
    {
        g_log.clear();
        window = MakeWindow();
        ASSERT_NE(nullptr, window);
        ASSERT_EQ(&TestWindowProc, CurrentProc(window));
    }

    void TearDown() override
    {
        // Destroying the window drops its record before the fixture's sinks go.
        if (::IsWindow(window))
            ::DestroyWindow(window);
        EXPECT_EQ(nullptr, hooks->Lookup(window));
    }

    // A sink the fixture owns (it outlives the window).
    RecordingSink& Sink(const std::string& name, int answer = COSMHookManagerSink::kNotHandled, LRESULT result = 0)
    {
        return m_sinks.emplace_back(name, answer, result);
    }

    // A sink the manager deletes.
    static RecordingSink* AutoDeleteSink(const std::string& name)
    {
        auto* sink = new RecordingSink(name);
        sink->m_bAutoDelete = TRUE;
        return sink;
    }

    LRESULT Probe(WPARAM wParam = 0, LPARAM lParam = 0) { return ::SendMessageA(window, kProbe, wParam, lParam); }

    std::vector<std::string> TakeLog()
    {
        std::vector<std::string> log;
        log.swap(g_log);
        return log;
    }

    using Log = std::vector<std::string>;

    COSMHookManager* hooks = GetHookManager();
    HWND window = nullptr;

private:
    std::deque<RecordingSink> m_sinks;
};

}  // namespace

TEST_F(HookManagerTest, OneManagerPerProcessAndTheRegisteredMessage)
{
    EXPECT_EQ(hooks, GetHookManager());
    EXPECT_NE(0u, OSM_WM_HOOKMANAGER_SINKREMOVED);
    EXPECT_EQ(::RegisterWindowMessageA("WM_HOOKMANAGER_SINKREMOVED"), OSM_WM_HOOKMANAGER_SINKREMOVED);
}

TEST_F(HookManagerTest, TheFirstSinkSubclassesAndTheLastGivesTheProcedureBack)
{
    RecordingSink& first = Sink("first");
    RecordingSink& second = Sink("second");
    hooks->SetHook(window, &first);
    EXPECT_EQ(&COSMHookManager::HookWndProc, CurrentProc(window));
    COSMHookManagerWindowHook* record = hooks->Lookup(window);
    ASSERT_NE(nullptr, record);
    EXPECT_EQ(&TestWindowProc, record->m_pOldWndProc);
    EXPECT_EQ(window, record->m_hWnd);
    EXPECT_FALSE(record->m_bUnicode);

    hooks->SetHook(window, &second);
    EXPECT_EQ(record, hooks->Lookup(window));
    hooks->RemoveHook(window, &first);
    EXPECT_EQ(&COSMHookManager::HookWndProc, CurrentProc(window));
    hooks->RemoveHook(window, &first);  // no longer listed: nothing happens
    EXPECT_EQ(record, hooks->Lookup(window));
    EXPECT_EQ(1, record->GetSize());

    TakeLog();
    hooks->RemoveHook(window, &second);
    EXPECT_EQ(&TestWindowProc, CurrentProc(window));
    EXPECT_EQ(nullptr, hooks->Lookup(window));
    // Leaving, the record asked whether a later subclasser holds its procedure; nobody did.
    EXPECT_EQ((Log{"window:sinkremoved"}), TakeLog());
    EXPECT_EQ(kWindowAnswer, Probe());
    EXPECT_EQ((Log{"window:probe 0,0"}), TakeLog());
}

TEST_F(HookManagerTest, WindowsAndSinksThatAreNotHookedAreIgnored)
{
    RecordingSink& sink = Sink("sink");
    hooks->SetHook(nullptr, &sink);
    hooks->SetHook(reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FFF0)), &sink);
    hooks->SetHook(window, nullptr);
    EXPECT_EQ(nullptr, hooks->Lookup(window));
    EXPECT_EQ(&TestWindowProc, CurrentProc(window));

    hooks->RemoveHook(window, &sink);
    hooks->RemoveAll(&sink);
    hooks->RemoveWindow(window, FALSE);
    EXPECT_EQ(&TestWindowProc, CurrentProc(window));
    EXPECT_TRUE(TakeLog().empty());
}

TEST_F(HookManagerTest, TheSinkAddedLastIsAskedFirst)
{
    struct Case
    {
        int firstAnswer;
        int lastAnswer;
        Log route;
        LRESULT result;
    } cases[] = {
        {0, 0, {"last:probe", "first:probe", "window:probe 0,0"}, kWindowAnswer},
        // Handled: nobody after the answering sink sees the message.
        {0, 1, {"last:probe"}, 77},
        {1, 0, {"last:probe", "first:probe"}, 66},
        // 2: no further sink, but the window's own procedure runs.
        {0, 2, {"last:probe", "window:probe 0,0"}, kWindowAnswer},
        {2, 0, {"last:probe", "first:probe", "window:probe 0,0"}, kWindowAnswer},
        {1, 2, {"last:probe", "window:probe 0,0"}, kWindowAnswer},
    };
    for (const Case& c : cases)
    {
        RecordingSink& first = Sink("first", c.firstAnswer, 66);
        RecordingSink& last = Sink("last", c.lastAnswer, 77);
        hooks->SetHook(window, &first);
        hooks->SetHook(window, &last);
        TakeLog();
        EXPECT_EQ(c.result, Probe()) << c.firstAnswer << " " << c.lastAnswer;
        EXPECT_EQ(c.route, TakeLog()) << c.firstAnswer << " " << c.lastAnswer;
        hooks->RemoveAll(&first);
        hooks->RemoveAll(&last);
        EXPECT_EQ(&TestWindowProc, CurrentProc(window));
    }
}

TEST_F(HookManagerTest, TheWindowReceivesTheParametersTheSinksChanged)
{
    RecordingSink& first = Sink("first");
    RecordingSink& last = Sink("last");
    last.onProbe = [](HWND, WPARAM& wParam, LPARAM& lParam) {
        wParam += 2;
        lParam = -4;
    };
    first.onProbe = [](HWND, WPARAM& wParam, LPARAM&) { wParam *= 10; };
    hooks->SetHook(window, &first);
    hooks->SetHook(window, &last);
    EXPECT_EQ(kWindowAnswer, Probe(1, 9));
    EXPECT_EQ((Log{"last:probe", "last:returned", "first:probe", "first:returned", "window:probe 30,-4"}), TakeLog());
    hooks->RemoveAll(&first);
    hooks->RemoveAll(&last);
}

TEST_F(HookManagerTest, TheSameSinkTwiceIsListedOnce)
{
    RecordingSink& sink = Sink("sink");
    hooks->SetHook(window, &sink);
    hooks->SetHook(window, &sink);
    ASSERT_NE(nullptr, hooks->Lookup(window));
    EXPECT_EQ(1, hooks->Lookup(window)->GetSize());
    TakeLog();
    Probe();
    EXPECT_EQ((Log{"sink:probe", "window:probe 0,0"}), TakeLog());
    // One removal unhooks the window.
    hooks->RemoveHook(window, &sink);
    EXPECT_EQ(nullptr, hooks->Lookup(window));
    EXPECT_EQ(&TestWindowProc, CurrentProc(window));
}

TEST_F(HookManagerTest, RemoveAllLeavesWindowsThatKeepOtherSinksHooked)
{
    HWND other = MakeWindow();
    ASSERT_NE(nullptr, other);
    RecordingSink& shared = Sink("shared");
    RecordingSink& own = Sink("own");
    hooks->SetHook(window, &shared);
    hooks->SetHook(other, &shared);
    hooks->SetHook(other, &own);

    hooks->RemoveAll(&shared);
    EXPECT_EQ(nullptr, hooks->Lookup(window));
    EXPECT_EQ(&TestWindowProc, CurrentProc(window));
    ASSERT_NE(nullptr, hooks->Lookup(other));
    EXPECT_EQ(1, hooks->Lookup(other)->GetSize());
    EXPECT_EQ(&own, hooks->Lookup(other)->GetAt(0));
    EXPECT_EQ(&COSMHookManager::HookWndProc, CurrentProc(other));

    hooks->RemoveAll(&own);
    EXPECT_EQ(&TestWindowProc, CurrentProc(other));
    ::DestroyWindow(other);
}

// Another subclasser and the manager take the window in either order and leave in either order; a subclasser that
// follows the protocol keeps the chain intact, one that answers the registered message with 0 is cut off.
TEST_F(HookManagerTest, TheUnhookProtocolWithAnotherSubclasser)
{
    enum Proc
    {
        kOriginal,
        kHook,
        kForeign
    };
    struct Case
    {
        const char* name;
        bool foreignFirst;
        bool managerLeavesFirst;
        bool followsProtocol;
        Log firstLeaving;  // what the first party's leaving sent where
        Proc afterFirst;   // the window's procedure then
        Log route;         // where a probe goes then
    } cases[] = {
        {"manager, then x; manager leaves; x takes over",
         false,
         true,
         true,
         {"x:sinkremoved"},
         kForeign,
         {"x:probe", "window:probe 0,0"}},
        {"manager, then x; manager leaves; x answers 0",
         false,
         true,
         false,
         {"x:sinkremoved", "window:sinkremoved"},
         kOriginal,
         {"window:probe 0,0"}},
        {"manager, then x; x leaves",
         false,
         false,
         true,
         {"x:sinkremoved", "sink:sinkremoved", "window:sinkremoved"},
         kHook,
         {"sink:probe", "window:probe 0,0"}},
        {"x, then manager; x leaves; the manager takes over",
         true,
         false,
         true,
         {"x:taken over"},
         kHook,
         {"sink:probe", "window:probe 0,0"}},
        {"x, then manager; manager leaves",
         true,
         true,
         true,
         {"x:sinkremoved", "window:sinkremoved"},
         kForeign,
         {"x:probe", "window:probe 0,0"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        RecordingSink& sink = Sink("sink");
        ForeignSubclass foreign(c.followsProtocol);
        if (c.foreignFirst)
            foreign.Subclass(window);
        hooks->SetHook(window, &sink);
        if (!c.foreignFirst)
        {
            foreign.Subclass(window);
            EXPECT_EQ(&COSMHookManager::HookWndProc, foreign.Saved());
        }
        TakeLog();

        if (c.managerLeavesFirst)
            hooks->RemoveHook(window, &sink);
        else
            foreign.Leave();
        EXPECT_EQ(c.firstLeaving, TakeLog());
        const WNDPROC procs[] = {&TestWindowProc, &COSMHookManager::HookWndProc, &ForeignSubclass::Proc};
        EXPECT_EQ(procs[c.afterFirst], CurrentProc(window));
        EXPECT_EQ(kWindowAnswer, Probe());
        EXPECT_EQ(c.route, TakeLog());

        // The second party leaves too: the window has its own procedure back.
        if (c.managerLeavesFirst)
            foreign.Leave();
        else
            hooks->RemoveHook(window, &sink);
        EXPECT_EQ(&TestWindowProc, CurrentProc(window));
        EXPECT_EQ(nullptr, hooks->Lookup(window));
        TakeLog();
        Probe();
        EXPECT_EQ((Log{"window:probe 0,0"}), TakeLog());
    }
}

TEST_F(HookManagerTest, NcDestroyGivesTheProcedureBackWithoutTheRegisteredMessage)
{
    for (bool withForeign : {false, true})
    {
        SCOPED_TRACE(withForeign ? "with a later subclasser" : "alone");
        if (!::IsWindow(window))
            window = MakeWindow();
        RecordingSink& sink = Sink("sink");
        hooks->SetHook(window, &sink);
        hooks->SetHook(window, AutoDeleteSink("auto"));
        ForeignSubclass foreign(true);
        if (withForeign)
            foreign.Subclass(window);
        TakeLog();

        ::DestroyWindow(window);
        Log expected{"auto:destroy", "sink:destroy"};
        if (withForeign)
            expected.push_back("x:ncdestroy");
        // The sinks never see WM_NCDESTROY; the record (and its auto-delete sink) goes before the window's own
        // procedure, already restored, receives it.
        expected.push_back("auto:deleted");
        expected.push_back("window:ncdestroy restored");
        EXPECT_EQ(expected, TakeLog());
        EXPECT_EQ(nullptr, hooks->Lookup(window));
    }
}

TEST_F(HookManagerTest, SinksSeeTheirMessageAsTheThreadsCurrentOne)
{
    auto& state = osm_classlib_detail::GetThreadState();
    const MSG outer = state.lastSentMsg;
    state.lastSentMsg = MSG{nullptr, 0x1234, 5, 6, 0, {0, 0}};
    MSG seen{};
    RecordingSink& sink = Sink("sink");
    sink.onProbe = [&seen, &state](HWND, WPARAM&, LPARAM&) { seen = state.lastSentMsg; };
    hooks->SetHook(window, &sink);

    Probe(7, 8);
    EXPECT_EQ(window, seen.hwnd);
    EXPECT_EQ(kProbe, seen.message);
    EXPECT_EQ(7u, seen.wParam);
    EXPECT_EQ(8, seen.lParam);
    EXPECT_EQ(0x1234u, state.lastSentMsg.message);
    EXPECT_EQ(5u, state.lastSentMsg.wParam);
    hooks->RemoveAll(&sink);
    state.lastSentMsg = outer;
}

TEST_F(HookManagerTest, ASinkRemovingItselfIsDeletedAfterTheDispatch)
{
    RecordingSink& first = Sink("first");
    RecordingSink* last = AutoDeleteSink("last");
    last->onProbe = [this, last](HWND hWnd, WPARAM&, LPARAM&) { hooks->RemoveHook(hWnd, last); };
    hooks->SetHook(window, &first);
    hooks->SetHook(window, last);
    TakeLog();

    EXPECT_EQ(kWindowAnswer, Probe());
    // The sinks asked from the snapshot go on; the removed one goes once the sinks are done.
    EXPECT_EQ((Log{"last:probe", "last:returned", "first:probe", "last:deleted", "window:probe 0,0"}), TakeLog());
    ASSERT_NE(nullptr, hooks->Lookup(window));
    EXPECT_EQ(1, hooks->Lookup(window)->GetSize());
    Probe();
    EXPECT_EQ((Log{"first:probe", "window:probe 0,0"}), TakeLog());
    hooks->RemoveAll(&first);
}

TEST_F(HookManagerTest, TheLastSinkRemovingItselfUnhooksTheWindowSafely)
{
    RecordingSink* only = AutoDeleteSink("only");
    only->onProbe = [this, only](HWND hWnd, WPARAM&, LPARAM&) {
        hooks->RemoveHook(hWnd, only);
        // Unhooked at once; the record stays until the dispatch ends.
        g_log.push_back(CurrentProc(hWnd) == &TestWindowProc ? "unhooked" : "still hooked");
        g_log.push_back(hooks->Lookup(hWnd) ? "listed" : "not listed");
    };
    hooks->SetHook(window, only);
    TakeLog();

    EXPECT_EQ(kWindowAnswer, Probe(1, 2));
    EXPECT_EQ((Log{"only:probe", "window:sinkremoved", "unhooked", "not listed", "only:returned", "only:deleted",
                   "window:probe 1,2"}),
              TakeLog());
    EXPECT_EQ(nullptr, hooks->Lookup(window));
    Probe();
    EXPECT_EQ((Log{"window:probe 0,0"}), TakeLog());
}

TEST_F(HookManagerTest, ASinkRemovedByAnotherDuringTheDispatchIsSkipped)
{
    RecordingSink* first = AutoDeleteSink("first");
    RecordingSink& last = Sink("last");
    last.onProbe = [this, first](HWND hWnd, WPARAM&, LPARAM&) { hooks->RemoveHook(hWnd, first); };
    hooks->SetHook(window, first);
    hooks->SetHook(window, &last);
    TakeLog();

    Probe();
    EXPECT_EQ((Log{"last:probe", "last:returned", "first:deleted", "window:probe 0,0"}), TakeLog());
    hooks->RemoveAll(&last);
}

TEST_F(HookManagerTest, DroppingTheWindowDuringTheDispatchStopsTheSinksAndDeletesThemAfterwards)
{
    RecordingSink* first = AutoDeleteSink("first");
    RecordingSink* last = AutoDeleteSink("last");
    last->onProbe = [this](HWND hWnd, WPARAM&, LPARAM&) { hooks->RemoveWindow(hWnd, FALSE); };
    hooks->SetHook(window, first);
    hooks->SetHook(window, last);
    TakeLog();

    EXPECT_EQ(kWindowAnswer, Probe());
    EXPECT_EQ((Log{"last:probe", "last:sinkremoved", "first:sinkremoved", "window:sinkremoved", "last:returned",
                   "last:deleted", "first:deleted", "window:probe 0,0"}),
              TakeLog());
    EXPECT_EQ(nullptr, hooks->Lookup(window));
    EXPECT_EQ(&TestWindowProc, CurrentProc(window));
}

TEST_F(HookManagerTest, ASinkAddedBackDuringTheDispatchThatRemovedItStays)
{
    RecordingSink* sink = AutoDeleteSink("sink");
    RecordingSink& anchor = Sink("anchor");
    sink->onProbe = [this, sink](HWND hWnd, WPARAM&, LPARAM&) {
        hooks->RemoveHook(hWnd, sink);
        hooks->SetHook(hWnd, sink);
    };
    hooks->SetHook(window, &anchor);
    hooks->SetHook(window, sink);
    TakeLog();

    Probe();
    EXPECT_EQ((Log{"sink:probe", "sink:returned", "anchor:probe", "window:probe 0,0"}), TakeLog());
    sink->onProbe = nullptr;
    Probe();
    EXPECT_EQ((Log{"sink:probe", "anchor:probe", "window:probe 0,0"}), TakeLog());
    hooks->RemoveHook(window, sink);
    EXPECT_EQ((Log{"sink:deleted"}), TakeLog());
    hooks->RemoveAll(&anchor);
}

// The saved procedure of a Unicode window is called as a Unicode procedure: text passes through unchanged, and
// the sinks see it in the window's own form.
TEST_F(HookManagerTest, TextPassesIntactThroughUnicodeAndAnsiWindows)
{
    class TextSink : public COSMHookManagerSink
    {
    public:
        int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM&, LPARAM& lParam, LRESULT&) override
        {
            if (nMessage == WM_SETTEXT && lParam)
            {
                if (::IsWindowUnicode(hWnd))
                    wide = reinterpret_cast<const wchar_t*>(lParam);
                else
                    ansi = reinterpret_cast<const char*>(lParam);
            }
            return kNotHandled;
        }
        std::wstring wide;
        std::string ansi;
    };

    // Our own Unicode class, and system classes whose saved procedure the system hands out in a form that calls
    // the procedure of the caller's character set.
    const std::wstring unicodeText = L"Gr\u00fc\u00dfe \u03a9\u03bc\u03ad\u03b3\u03b1 \u2713";
    for (const wchar_t* className : {kUnicodeWindowClass, L"STATIC", L"EDIT"})
    {
        SCOPED_TRACE(std::string(className, className + std::wcslen(className)));
        HWND unicodeWindow = ::CreateWindowExW(0, className, L"", WS_POPUP, 0, 0, 100, 50, nullptr, nullptr,
                                               ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, unicodeWindow);
        ASSERT_TRUE(::IsWindowUnicode(unicodeWindow));
        TextSink unicodeSink;
        hooks->SetHook(unicodeWindow, &unicodeSink);
        ASSERT_NE(nullptr, hooks->Lookup(unicodeWindow));
        EXPECT_TRUE(hooks->Lookup(unicodeWindow)->m_bUnicode);
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(&COSMHookManager::HookWndProc),
                  ::GetWindowLongPtrW(unicodeWindow, GWLP_WNDPROC));
        ASSERT_TRUE(::SetWindowTextW(unicodeWindow, unicodeText.c_str()));
        wchar_t readBack[64] = {};
        ::GetWindowTextW(unicodeWindow, readBack, 64);
        EXPECT_EQ(unicodeText, std::wstring(readBack));
        EXPECT_EQ(unicodeText, unicodeSink.wide);

        // Unhooked, the window has its own procedure back as it was saved.
        hooks->RemoveAll(&unicodeSink);
        EXPECT_EQ(nullptr, hooks->Lookup(unicodeWindow));
        ASSERT_TRUE(::SetWindowTextW(unicodeWindow, L"\u03a9"));
        ::GetWindowTextW(unicodeWindow, readBack, 64);
        EXPECT_EQ(std::wstring(L"\u03a9"), std::wstring(readBack));
        ::DestroyWindow(unicodeWindow);
    }

    // The ANSI code page's form of a text with letters beyond ASCII.
    char ansiForm[64] = {};
    ::WideCharToMultiByte(CP_ACP, 0, L"Gr\u00fc\u00dfe 1\u00b0", -1, ansiForm, sizeof(ansiForm), nullptr, nullptr);
    const std::string ansiText = ansiForm;
    ASSERT_FALSE(::IsWindowUnicode(window));
    TextSink ansiSink;
    hooks->SetHook(window, &ansiSink);
    ASSERT_TRUE(::SetWindowTextA(window, ansiText.c_str()));
    char ansiBack[64] = {};
    ::GetWindowTextA(window, ansiBack, 64);
    EXPECT_EQ(ansiText, std::string(ansiBack));
    EXPECT_EQ(ansiText, ansiSink.ansi);

    hooks->RemoveAll(&ansiSink);
}

namespace {

// A Unicode subclasser of an ANSI window: the procedure it saved is the system's Unicode form of the window's ANSI
// procedure, which converts each message when it is called as a Unicode procedure.
WNDPROC g_wideForeignSaved = nullptr;

LRESULT CALLBACK WideForeignProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcW(g_wideForeignSaved, hWnd, message, wParam, lParam);
}

// The text as an ANSI window keeps it: through the ANSI code page and back.
std::wstring ThroughAnsiCodePage(const std::wstring& text)
{
    char ansi[128] = {};
    ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, ansi, sizeof(ansi), nullptr, nullptr);
    wchar_t wide[128] = {};
    ::MultiByteToWideChar(CP_ACP, 0, ansi, -1, wide, 128);
    return wide;
}

}  // namespace

// A Unicode window's saved procedure is called as a Unicode procedure even when it is the converting form that a
// leaving subclasser handed over.
TEST_F(HookManagerTest, AProcedureTakenOverOnAUnicodeWindowKeepsItsText)
{
    g_wideForeignSaved = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WideForeignProc)));
    ASSERT_TRUE(::IsWindowUnicode(window));
    RecordingSink& sink = Sink("sink");
    hooks->SetHook(window, &sink);
    ASSERT_NE(nullptr, hooks->Lookup(window));
    EXPECT_TRUE(hooks->Lookup(window)->m_bUnicode);

    // The subclasser leaves first; the manager takes its saved procedure over.
    EXPECT_EQ(1, ::SendMessageW(window, OSM_WM_HOOKMANAGER_SINKREMOVED, reinterpret_cast<WPARAM>(&WideForeignProc),
                                reinterpret_cast<LPARAM>(g_wideForeignSaved)));
    EXPECT_EQ(g_wideForeignSaved, hooks->Lookup(window)->m_pOldWndProc);

    const std::wstring text = ThroughAnsiCodePage(L"Gr\u00fc\u00dfe, \u00e9t\u00e9");
    ASSERT_GT(text.size(), 5u);
    ASSERT_TRUE(::SetWindowTextW(window, text.c_str()));
    wchar_t readBack[64] = {};
    ::GetWindowTextW(window, readBack, 64);
    EXPECT_EQ(text, std::wstring(readBack));
    char ansiBack[64] = {};
    ::GetWindowTextA(window, ansiBack, 64);
    EXPECT_EQ(text.size(), std::strlen(ansiBack));

    hooks->RemoveAll(&sink);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(g_wideForeignSaved), ::GetWindowLongPtrW(window, GWLP_WNDPROC));
}
