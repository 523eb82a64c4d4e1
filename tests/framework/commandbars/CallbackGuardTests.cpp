// Every place the system calls into the program stops exceptions there: a library exception (CException*), a
// std::bad_alloc and a std::runtime_error thrown from code run by a window procedure, the dialog procedure, the
// creation hook, the message filter, a hook-manager sink, the mouse, keyboard and call-window hooks, a timer
// procedure, a window enumeration, a thread started by AfxBeginThread, a guarded CreateThread entry and a markup entry
// function. Each is driven by real events (messages, SendInput, timers, threads); the program goes on, the one
// reporter hears each exception with its place and its text, and no library exception is left alive.
#include "InputTestSupport.h"

#include "classlib/Dialog.h"
#include "classlib/GuardedCallbacks.h"
#include "classlib/WinThread.h"
#include "framework/foundation/HookManager.h"
#include "framework/markup/Markup.h"
#include "framework/markup/MarkupBorder.h"
#include "framework/markup/MarkupTypeRegistry.h"

#include <atomic>
#include <mutex>
#include <new>
#include <stdexcept>
#include <string>

using namespace commandbars_test;

namespace {

// ---- What is thrown, and where it is armed ----

enum class Kind
{
    Library,
    BadAlloc,
    Runtime
};

enum class Site
{
    None,
    WindowProcedure,
    DialogProcedure,
    CreationHook,
    MessageFilter,
    HookSink,
    MouseHook,
    KeyboardHook,
    CallWndProcHook,
    TimerProcedure,
    WindowEnumeration,
    LibraryThread,
    GuardedThread,
    MarkupEntry
};

// A library exception that counts how many of its kind are alive.
class CLiveTestException : public CException
{
public:
    CLiveTestException()
    {
        ++s_live;
        ++s_made;
    }
    ~CLiveTestException() override { --s_live; }
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override
    {
        return osm_classlib_detail::CopyErrorMessage("a test exception", lpszError, nMaxError, pnHelpContext);
    }
    static inline std::atomic<int> s_live{0};
    static inline std::atomic<int> s_made{0};
};

const char* ExpectedWhat(Kind kind)
{
    switch (kind)
    {
    case Kind::Library:
        return "a test exception";
    case Kind::BadAlloc:
        return std::bad_alloc().what();
    case Kind::Runtime:
        return "a runtime error";
    }
    return "";
}

// One throw is armed at a time, for one site; the site's code takes it (threads too) and throws it.
std::atomic<Site> g_armedSite{Site::None};
std::atomic<Kind> g_armedKind{Kind::Library};

void ThrowIfArmed(Site site)
{
    Site expected = site;
    if (site == Site::None || !g_armedSite.compare_exchange_strong(expected, Site::None))
        return;
    switch (g_armedKind.load())
    {
    case Kind::Library:
        throw new CLiveTestException;
    case Kind::BadAlloc:
        throw std::bad_alloc();
    case Kind::Runtime:
        throw std::runtime_error("a runtime error");
    }
}

// ---- The reporter ----

struct Report
{
    std::string where;
    long message;
    std::string what;
};

std::mutex g_reportsLock;
std::vector<Report> g_reports;

void RecordReport(const char* where, long message, const char* what)
{
    std::lock_guard<std::mutex> lock(g_reportsLock);
    g_reports.push_back(Report{where, message, what});
}

std::vector<Report> TakeReports()
{
    std::lock_guard<std::mutex> lock(g_reportsLock);
    std::vector<Report> reports;
    reports.swap(g_reports);
    return reports;
}

size_t ReportCount()
{
    std::lock_guard<std::mutex> lock(g_reportsLock);
    return g_reports.size();
}

// ---- The sites ----

const UINT kWindowProbe = WM_APP + 41;
const UINT kFilterProbe = WM_APP + 42;
const UINT kFilterEnd = WM_APP + 43;
const UINT kSinkProbe = WM_APP + 44;

class CThrowingWnd : public CWnd
{
public:
    BOOL CreateHidden()
    {
        return CreateEx(0, AfxRegisterWndClass(0), "guarded", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr);
    }
    ~CThrowingWnd() override
    {
        if (m_hWnd)
            DestroyWindow();
    }
    void PreSubclassWindow() override
    {
        ThrowIfArmed(Site::CreationHook);
        CWnd::PreSubclassWindow();
    }

protected:
    afx_msg LRESULT OnProbe(WPARAM, LPARAM)
    {
        ThrowIfArmed(Site::WindowProcedure);
        return 7;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CThrowingWnd, CWnd)
    ON_MESSAGE(kWindowProbe, OnProbe)
END_MESSAGE_MAP()

// A dialog without controls, in memory.
struct EmptyDialogTemplate
{
    DLGTEMPLATE header;
    WORD menu;
    WORD windowClass;
    WORD title;
};
alignas(4) const EmptyDialogTemplate kDialogTemplate = {
    {WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 10, 10, 100, 60}, 0, 0, 0};

class CThrowingDialog : public CDialog
{
public:
    CThrowingDialog() = default;
    ~CThrowingDialog() override
    {
        if (m_hWnd)
            DestroyWindow();
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        ThrowIfArmed(Site::DialogProcedure);
        // The modal run: the probe goes through the dialog loop's message filter, the end follows it.
        if (m_bModal)
        {
            PostMessage(kFilterProbe);
            PostMessage(kFilterEnd);
        }
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == kFilterProbe)
            ThrowIfArmed(Site::MessageFilter);
        return CDialog::PreTranslateMessage(pMsg);
    }

protected:
    afx_msg LRESULT OnFilterEnd(WPARAM, LPARAM)
    {
        EndDialog(IDOK);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CThrowingDialog, CDialog)
    ON_MESSAGE(kFilterEnd, OnFilterEnd)
END_MESSAGE_MAP()

// A sink for the hook manager and the keyboard manager.
class CThrowingSink : public COSMHookManagerSink
{
public:
    explicit CThrowingSink(Site site) : m_site(site) {}
    int OnHookMessage(HWND, UINT message, WPARAM&, LPARAM&, LRESULT&) override
    {
        if (m_site == Site::KeyboardHook ? message == WM_KEYDOWN : message == kSinkProbe)
            ThrowIfArmed(m_site);
        return kNotHandled;
    }

private:
    Site m_site;
};

// A tracked bar whose StopTracking throws: the mouse hook (a click outside) and the call-window hook (the
// application losing activation) both end tracking.
class CThrowingBar : public TrackingBar
{
public:
    explicit CThrowingBar(Site site) : m_site(site) {}
    void StopTracking() override
    {
        ThrowIfArmed(m_site);
        TrackingBar::StopTracking();
    }

private:
    Site m_site;
};

void TimerBody(HWND window, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(window, id);
    ThrowIfArmed(Site::TimerProcedure);
}
constexpr char kTestTimer[] = "test timer";

// Counts the windows it is shown; throws at the first when armed, which ends the enumeration.
int g_enumerated = 0;
BOOL EnumerationBody(HWND, LPARAM)
{
    ++g_enumerated;
    ThrowIfArmed(Site::WindowEnumeration);
    return TRUE;
}
constexpr char kTestEnumeration[] = "test enumeration";

UINT __cdecl LibraryThreadBody(LPVOID)
{
    ThrowIfArmed(Site::LibraryThread);
    return 0;
}

// A worker run by a member function, as the wizard runs its image builder.
struct Worker
{
    void Run() { ThrowIfArmed(Site::GuardedThread); }
};
constexpr char kTestWorker[] = "test worker";

class CThrowingBorder : public COSMMarkupBorder
{
public:
    CSize MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight) override
    {
        ThrowIfArmed(Site::MarkupEntry);
        return COSMMarkupBorder::MeasureOverride(dc, availableWidth, availableHeight);
    }
};

class CallbackGuardTest : public TrackingSiteTest
{
protected:
    BOOL CreateSiteFrame() override { return frame.CreateActiveTestFrame("callback guard test"); }
    void SetUp() override
    {
        TrackingSiteTest::SetUp();
        frame.SetFocus();
        m_previousReporter = SetCallbackExceptionReporter(&RecordReport);
        TakeReports();
    }
    void TearDown() override
    {
        SetCallbackExceptionReporter(m_previousReporter);
        g_armedSite = Site::None;
        MoveMouseTo(CPoint(1200, 1000));
        TrackingSiteTest::TearDown();
    }

    // Tracks a fresh bar of the site for the trigger, and lets it go afterwards (a bar that threw is still listed).
    void WithTrackedBar(Site site, const std::function<void()>& trigger)
    {
        CThrowingBar bar(site);
        bar.SetCommandBars(commandBars.Get());
        ASSERT_TRUE(bar.CreatePopup(&frame, CRect(450, 350, 550, 390)));
        COSMMouseManager* mouse = CreateMouseManager();
        mouse->SetTrack(&bar);
        trigger();
        mouse->RemoveTrack(&bar);
    }

    CallbackExceptionReporter m_previousReporter = nullptr;
};

TEST_F(CallbackGuardTest, EveryEntryReportsAndFreesWhatIsThrownAndTheProgramGoesOn)
{
    CThrowingWnd window;
    ASSERT_TRUE(window.CreateHidden());
    COSMKeyboardManager* keyboard = CreateKeyboardManager();
    InitializeMarkupTypesOnce();
    const CPoint outsideBar = ScreenPoint(frame, CPoint(40, 120));

    struct Case
    {
        Site site;
        const char* where;
        long message;
        std::function<void()> trigger;
    };
    const Case cases[] = {
        {Site::WindowProcedure, "handler of message", static_cast<long>(kWindowProbe),
         [&] { EXPECT_EQ(0, window.SendMessage(kWindowProbe)); }},
        {Site::DialogProcedure, "OnInitDialog", -1,
         [&] {
             // Created straight on the library's dialog procedure, which binds the dialog and calls OnInitDialog.
             CThrowingDialog dialog;
             const HWND made = ::CreateDialogIndirectParamA(AfxGetInstanceHandle(), &kDialogTemplate.header, nullptr,
                                                            &AfxDlgProc, reinterpret_cast<LPARAM>(&dialog));
             EXPECT_NE(nullptr, made);
             EXPECT_EQ(made, dialog.m_hWnd);
         }},
        {Site::CreationHook, "PreSubclassWindow", -1,
         [&] {
             CThrowingWnd created;
             EXPECT_TRUE(created.CreateHidden());
             EXPECT_TRUE(::IsWindow(created.m_hWnd));
         }},
        {Site::MessageFilter, "PreTranslateMessage", -1,
         [&] {
             CThrowingDialog dialog;
             ASSERT_TRUE(dialog.InitModalIndirect(&kDialogTemplate.header, &frame));
             EXPECT_EQ(IDOK, dialog.DoModal());
         }},
        {Site::HookSink, "hook sink", static_cast<long>(kSinkProbe),
         [&] {
             CThrowingSink sink(Site::HookSink);
             GetHookManager()->SetHook(window.m_hWnd, &sink);
             window.SendMessage(kSinkProbe);
             GetHookManager()->RemoveAll(&sink);
         }},
        {Site::MouseHook, "mouse hook", -1,
         [&] {
             MoveMouseTo(outsideBar);
             WithTrackedBar(Site::MouseHook, [&] {
                 SendMouseInput(MOUSEEVENTF_LEFTDOWN);
                 SendMouseInput(MOUSEEVENTF_LEFTUP);
                 PumpUntil([] { return ReportCount() > 0; });
             });
         }},
        {Site::KeyboardHook, "keyboard hook", -1,
         [&] {
             CThrowingSink sink(Site::KeyboardHook);
             keyboard->HookKeyboard(&sink);
             QueueKey('Q');
             PumpUntil([] { return ReportCount() > 0; });
             keyboard->UnhookKeyboard(&sink);
         }},
        {Site::CallWndProcHook, "call-window hook", -1,
         [&] {
             CThrowingSink quiet(Site::None);
             keyboard->HookKeyboard(&quiet);
             WithTrackedBar(Site::CallWndProcHook, [&] { frame.SendMessage(WM_ACTIVATEAPP, FALSE, 0); });
             keyboard->UnhookKeyboard(&quiet);
         }},
        {Site::TimerProcedure, kTestTimer, -1,
         [&] {
             ASSERT_NE(0u, ::SetTimer(frame.m_hWnd, 0x6A7D, 10, osm::GuardedTimerProc<kTestTimer, &TimerBody>));
             PumpUntil([] { return ReportCount() > 0; });
         }},
        {Site::WindowEnumeration, kTestEnumeration, -1,
         [&] {
             g_enumerated = 0;
             EXPECT_FALSE(::EnumThreadWindows(::GetCurrentThreadId(),
                                              osm::GuardedEnumWindowsProc<kTestEnumeration, &EnumerationBody>, 0));
             EXPECT_EQ(1, g_enumerated) << "the enumeration stopped at the throw";
         }},
        {Site::LibraryThread, "thread", -1,
         [&] {
             CWinThread* thread =
                 AfxBeginThread(&LibraryThreadBody, nullptr, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
             ASSERT_NE(nullptr, thread);
             thread->m_bAutoDelete = FALSE;
             thread->ResumeThread();
             ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(*thread, 5000));
             DWORD exitCode = 0;
             EXPECT_TRUE(::GetExitCodeThread(*thread, &exitCode));
             EXPECT_EQ(static_cast<DWORD>(-1), exitCode);
             delete thread;
         }},
        {Site::GuardedThread, kTestWorker, -1,
         [&] {
             Worker worker;
             HANDLE thread =
                 ::CreateThread(nullptr, 0, osm::GuardedThreadProc<kTestWorker, &Worker::Run>, &worker, 0, nullptr);
             ASSERT_NE(nullptr, thread);
             ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(thread, 5000));
             DWORD exitCode = 0;
             EXPECT_TRUE(::GetExitCodeThread(thread, &exitCode));
             EXPECT_EQ(static_cast<DWORD>(-1), exitCode);
             ::CloseHandle(thread);
         }},
        {Site::MarkupEntry, "MeasureMarkupElement", -1,
         [&] {
             COSMMarkupUIElement* element = new CThrowingBorder;
             EXPECT_EQ(CSize(0, 0), MeasureMarkupElement(element, 100, 100));
             ReleaseMarkupElement(&element);
         }},
    };
    const Kind kinds[] = {Kind::Library, Kind::BadAlloc, Kind::Runtime};

    for (const Case& c : cases)
    {
        for (Kind kind : kinds)
        {
            SCOPED_TRACE(testing::Message() << c.where << ", kind " << static_cast<int>(kind));
            TakeReports();
            const int made = CLiveTestException::s_made;
            g_armedKind = kind;
            g_armedSite = c.site;
            c.trigger();
            // The armed throw was taken, and only that one was reported, where it was stopped.
            EXPECT_EQ(Site::None, g_armedSite.load());
            g_armedSite = Site::None;
            const std::vector<Report> reports = TakeReports();
            ASSERT_EQ(1u, reports.size());
            EXPECT_EQ(c.where, reports[0].where);
            EXPECT_EQ(c.message, reports[0].message);
            EXPECT_EQ(ExpectedWhat(kind), reports[0].what);
            EXPECT_EQ(kind == Kind::Library ? made + 1 : made, CLiveTestException::s_made);
            EXPECT_EQ(0, CLiveTestException::s_live);
        }
    }

    // The program and its windows carry on.
    EXPECT_EQ(7, window.SendMessage(kWindowProbe));
    EXPECT_TRUE(::IsWindow(frame.m_hWnd));
}

// A popup whose StopTracking throws while the mouse hook stops it: the references the mouse manager takes on the
// bars it walks go back although the throw skips the rest of the walk, so the bar's count is where it was and its
// owner's release destroys it. Both walks are driven: a click outside every popup (each bar handles the click, and
// the click ends tracking) and a click on a locked popup below it (the popups above stop at once).
TEST_F(CallbackGuardTest, APopupThatThrowsWhileStoppingKeepsNoReferenceOfTheMouseManager)
{
    struct Case
    {
        const char* name;
        bool onLockedPopup;
    };
    const Case cases[] = {{"a click outside the popups", false}, {"a click on a locked popup below", true}};
    COSMMouseManager* mouse = CreateMouseManager();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        TakeReports();
        TrackingBar locked;
        locked.SetCommandBars(commandBars.Get());
        ASSERT_TRUE(locked.CreatePopup(&frame, CRect(300, 350, 400, 390), WS_EX_NOACTIVATE));
        int destroyed = 0;
        RefPtr<CThrowingBar> thrower = AdoptRef(new CThrowingBar(Site::MouseHook));
        thrower->destroyed = &destroyed;
        thrower->SetCommandBars(commandBars.Get());
        ASSERT_TRUE(thrower->CreatePopup(&frame, CRect(450, 350, 550, 390), WS_EX_NOACTIVATE));
        if (c.onLockedPopup)
        {
            mouse->SetTrack(&locked);
            locked.AdjustTrackLockCount(1);
        }
        mouse->SetTrack(thrower.Get());
        const LONG lockedBefore = RefCount(&locked);
        const LONG throwerBefore = RefCount(thrower.Get());

        g_armedKind = Kind::Library;
        g_armedSite = Site::MouseHook;
        ClickAt(c.onLockedPopup ? ScreenPoint(locked, CPoint(50, 20)) : ScreenPoint(frame, CPoint(40, 120)));
        PumpUntil([] { return ReportCount() > 0; });

        EXPECT_EQ(Site::None, g_armedSite.load());
        g_armedSite = Site::None;
        const std::vector<Report> reports = TakeReports();
        ASSERT_EQ(1u, reports.size());
        EXPECT_EQ("mouse hook", reports[0].where);
        EXPECT_EQ(0, CLiveTestException::s_live);
        // Whether or not the button's release stopped the bar again, no reference of the walks stayed behind.
        EXPECT_EQ(throwerBefore, RefCount(thrower.Get()));
        EXPECT_EQ(lockedBefore, RefCount(&locked));

        mouse->RemoveTrack(thrower.Get());
        if (c.onLockedPopup)
        {
            locked.AdjustTrackLockCount(-1);
            mouse->RemoveTrack(&locked);
        }
        thrower.Reset();
        EXPECT_EQ(1, destroyed);
    }
}

TEST(CallbackReporter, AReplacedReporterHandsBackTheOneBeforeAndNullPutsTheDefaultBack)
{
    // A replaced reporter hands back the one it replaced; null puts the default back.
    const CallbackExceptionReporter original = SetCallbackExceptionReporter(&RecordReport);
    EXPECT_EQ(&RecordReport, SetCallbackExceptionReporter(nullptr));
    EXPECT_EQ(original, SetCallbackExceptionReporter(&RecordReport));

    TakeReports();
    const int answer = osm::GuardCallback("an entry", 5, []() -> int { throw new CNotSupportedException; });
    EXPECT_EQ(5, answer);
    const std::vector<Report> reports = TakeReports();
    ASSERT_EQ(1u, reports.size());
    EXPECT_EQ("an entry", reports[0].where);
    CNotSupportedException expected;
    EXPECT_EQ(std::string(static_cast<const CException&>(expected).GetErrorMessage()), reports[0].what);
    SetCallbackExceptionReporter(original);
}

}  // namespace
