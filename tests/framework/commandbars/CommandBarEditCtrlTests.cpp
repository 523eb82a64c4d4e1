// The command bars' edit window on an active frame: its class by what the loader finds (the library loaded once
// however many threads ask first), the clipboard commands and
// their states, the editing keys it takes from the bars' keyboard hook, its counted text changes; and the shell
// auto-complete's hook and its watch over an "Auto-Suggest Dropdown" list (the tests register that class themselves:
// Wine's SHAutoComplete shows none).
#include "EditBoxTestSupport.h"

#include "framework/commandbars/MouseManager.h"
#include "framework/controls/CommandBarEditCtrl.h"
#include "framework/foundation/FrameworkStatics.h"

#include "classlib/GuardedCallbacks.h"
#include "classlib/ScopedHandle.h"

#include <richedit.h>
#include <shlwapi.h>

#include <atomic>
#include <set>
#include <string>
#include <vector>

using namespace commandbars_test;

namespace {

// A loader that finds none of the libraries in the blocked set.
struct BlockingLoader
{
    static HMODULE WINAPI Load(LPCSTR name)
    {
        if (blocked.count(CString(name).MakeUpper().GetString()))
            return nullptr;
        return ::LoadLibraryA(name);
    }
    static inline std::set<std::string> blocked;
};

// Takes the libraries away for as long as it lives; the rich-edit record is made again before and after.
class ScopedBlockedLibraries
{
public:
    explicit ScopedBlockedLibraries(std::set<std::string> names)
        : m_loader(COSMCommandBarEditCtrl::s_pfnLoadLibrary, &BlockingLoader::Load)
    {
        BlockingLoader::blocked = std::move(names);
        COSMCommandBarEditCtrl::ResetRichEditLibrary();
    }
    ~ScopedBlockedLibraries()
    {
        BlockingLoader::blocked.clear();
        COSMCommandBarEditCtrl::ResetRichEditLibrary();
    }

private:
    ScopedSetting<HMODULE(WINAPI*)(LPCSTR)> m_loader;
};

void PutTextOnClipboard(HWND owner, const char* text)
{
    ASSERT_TRUE(::OpenClipboard(owner));
    ::EmptyClipboard();
    if (text)
    {
        const size_t size = strlen(text) + 1;
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
        memcpy(::GlobalLock(memory), text, size);
        ::GlobalUnlock(memory);
        ::SetClipboardData(CF_TEXT, memory);
    }
    ::CloseClipboard();
}

std::string ClassOf(HWND window)
{
    char name[64] = {};
    ::GetClassNameA(window, name, 63);
    return name;
}

// The frame's child that records the edit window's EN_CHANGE notifications, with whether the window suppressed them.
class ChangeCountingParent : public CWnd
{
public:
    COSMCommandBarEditCtrl* edit = nullptr;
    int counted = 0;
    int suppressed = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE && edit)
            ++(edit->IsChangeSuppressed() ? suppressed : counted);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class CommandBarEditCtrlTest : public CommandBarsTest
{
protected:
    void SetUp() override
    {
        CommandBarsTest::SetUp();
        ASSERT_TRUE(frame.CreateActiveTestFrame("edit window test"));
    }
    void TearDown() override
    {
        frame.DestroyWindow();
        CommandBarsTest::TearDown();
    }

    // A visible edit window on the frame.
    static void CreateOn(COSMCommandBarEditCtrl& edit, CWnd* parent, DWORD style = 0)
    {
        ASSERT_TRUE(edit.CreateEdit(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | style, parent));
        edit.MoveWindow(CRect(10, 10, 200, 32));
    }

    CCommandBarsTestFrame frame;
};

TEST_F(CommandBarEditCtrlTest, TheWindowClassFollowsTheRichEditLibraryTheLoaderFinds)
{
    const struct
    {
        std::set<std::string> blocked;
        const char* className;
        bool richEdit;
    } cases[] = {
        {{}, "RichEdit20A", true},
        {{"RICHED20.DLL"}, "RICHEDIT", true},
        {{"RICHED20.DLL", "RICHED32.DLL"}, "Edit", false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.className);
        ScopedBlockedLibraries blocked(c.blocked);
        const OSM_RICHEDIT_LIBRARY& library = COSMCommandBarEditCtrl::GetRichEditLibrary();
        EXPECT_EQ(c.richEdit, library.module != nullptr);
        EXPECT_EQ(c.blocked.empty(), library.version2 != FALSE);

        COSMCommandBarEditCtrl edit;
        CreateOn(edit, &frame);
        EXPECT_EQ(0, lstrcmpiA(c.className, ClassOf(edit.GetSafeHwnd()).c_str())) << ClassOf(edit.GetSafeHwnd());
        EXPECT_EQ(c.richEdit, edit.IsRichEdit() != FALSE);
        if (c.richEdit)
        {
            // Change events only, and plain text (Wine keeps its own undo levels, which the mode also asks for).
            EXPECT_EQ(ENM_CHANGE, edit.SendMessage(EM_GETEVENTMASK));
            EXPECT_EQ(TM_PLAINTEXT, edit.SendMessage(EM_GETTEXTMODE) & (TM_PLAINTEXT | TM_RICHTEXT));
        }
        // The record is made once: another window does not load again.
        EXPECT_EQ(&library, &COSMCommandBarEditCtrl::GetRichEditLibrary());
    }
}

// A loader that takes its time and counts the rich-edit loads.
struct SlowCountingLoader
{
    static HMODULE WINAPI Load(LPCSTR name)
    {
        if (CString(name).MakeUpper() == "RICHED20.DLL")
            ++loads;
        ::Sleep(100);
        return ::LoadLibraryA(name);
    }
    static inline std::atomic<int> loads{0};
};

// Threads that ask for the record while it is not made yet, all at once.
struct FirstAsker
{
    HANDLE start = nullptr;
    CString className;
    HMODULE module = nullptr;
    DWORD Run()
    {
        ::WaitForSingleObject(start, 5000);
        const OSM_RICHEDIT_LIBRARY& library = COSMCommandBarEditCtrl::GetRichEditLibrary();
        className = library.className;
        module = library.module;
        return 0;
    }
};
constexpr char kFirstAsker[] = "first asker";

TEST(RichEditLibraryTest, ThreadsThatAskFirstAtOnceLoadOnceAndAllSeeTheWholeRecord)
{
    ScopedSetting<HMODULE(WINAPI*)(LPCSTR)> loader(COSMCommandBarEditCtrl::s_pfnLoadLibrary, &SlowCountingLoader::Load);
    COSMCommandBarEditCtrl::ResetRichEditLibrary();
    SlowCountingLoader::loads = 0;
    const ScopedKernelHandle start(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(start);
    FirstAsker askers[4];
    std::vector<ScopedKernelHandle> threads;
    for (FirstAsker& asker : askers)
    {
        asker.start = start.Get();
        threads.emplace_back(
            ::CreateThread(nullptr, 0, osm::GuardedThreadProc<kFirstAsker, &FirstAsker::Run>, &asker, 0, nullptr));
        ASSERT_TRUE(threads.back());
    }
    ::SetEvent(start.Get());
    for (const ScopedKernelHandle& thread : threads)
        EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(thread.Get(), 10000));

    EXPECT_EQ(1, SlowCountingLoader::loads.load());
    for (const FirstAsker& asker : askers)
    {
        EXPECT_NE(nullptr, asker.module) << "a thread saw the record before the library was in it";
        EXPECT_STREQ("RichEdit20A", asker.className);
    }
    COSMCommandBarEditCtrl::ResetRichEditLibrary();
}

TEST_F(CommandBarEditCtrlTest, ClipboardCommandsAreEnabledByStyleSelectionAndClipboard)
{
    const struct
    {
        DWORD style;
        bool disabled;
        bool selection;
        bool clipboardText;
        BOOL cut;
        BOOL copy;
        BOOL paste;
    } cases[] = {
        {0, false, true, true, TRUE, TRUE, TRUE},   {0, false, false, true, FALSE, FALSE, TRUE},
        {0, false, true, false, TRUE, TRUE, FALSE}, {ES_READONLY, false, true, true, FALSE, TRUE, FALSE},
        {0, true, true, true, FALSE, TRUE, FALSE},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(::testing::Message()
                     << c.style << " " << c.disabled << " " << c.selection << " " << c.clipboardText);
        COSMCommandBarEditCtrl edit;
        CreateOn(edit, &frame, c.style);
        edit.SetWindowText("some text");
        edit.EnableWindow(!c.disabled);
        edit.SetSel(0, c.selection ? 4 : 0);
        PutTextOnClipboard(frame.GetSafeHwnd(), c.clipboardText ? "pasted" : nullptr);
        EXPECT_EQ(c.cut, edit.IsCommandEnabled(COSMCommandBarEditCtrl::kCommandCut));
        EXPECT_EQ(c.copy, edit.IsCommandEnabled(COSMCommandBarEditCtrl::kCommandCopy));
        EXPECT_EQ(c.paste, edit.IsCommandEnabled(COSMCommandBarEditCtrl::kCommandPaste));
        EXPECT_TRUE(edit.IsCommandEnabled(1234));

        // The command-update query answers the same, and nothing else is routed.
        CCmdUI update;
        update.m_nID = COSMCommandBarEditCtrl::kCommandCut;
        EXPECT_TRUE(edit.OnCmdMsg(update.m_nID, CN_UPDATE_COMMAND_UI, &update, nullptr));
        EXPECT_TRUE(update.m_bEnableChanged);
        EXPECT_FALSE(edit.OnCmdMsg(1234, CN_UPDATE_COMMAND_UI, &update, nullptr));
        EXPECT_FALSE(edit.OnCmdMsg(COSMCommandBarEditCtrl::kCommandCut, CN_COMMAND, nullptr, nullptr));
    }
}

TEST_F(CommandBarEditCtrlTest, CutCopyAndPasteThroughOnCommandRoundTripTheClipboard)
{
    for (const auto& blocked : {std::set<std::string>{}, std::set<std::string>{"RICHED20.DLL", "RICHED32.DLL"}})
    {
        ScopedBlockedLibraries libraries(blocked);
        COSMCommandBarEditCtrl edit;
        CreateOn(edit, &frame);
        SCOPED_TRACE(ClassOf(edit.GetSafeHwnd()));
        edit.SetWindowText("alpha beta");
        edit.SetSel(0, 5);
        EXPECT_TRUE(edit.OnCommand(COSMCommandBarEditCtrl::kCommandCopy, 0));
        EXPECT_EQ("alpha", ClipboardText(frame.GetSafeHwnd()));
        EXPECT_EQ("alpha beta", WindowTextOf(edit.GetSafeHwnd()));

        edit.SetSel(5, 10);
        EXPECT_TRUE(edit.OnCommand(COSMCommandBarEditCtrl::kCommandCut, 0));
        EXPECT_EQ(" beta", ClipboardText(frame.GetSafeHwnd()));
        EXPECT_EQ("alpha", WindowTextOf(edit.GetSafeHwnd()));

        edit.SetSel(0, 0);
        EXPECT_TRUE(edit.OnCommand(COSMCommandBarEditCtrl::kCommandPaste, 0));
        // Wine's rich edit pastes plain text over the whole text whatever the selection (measured); the plain edit
        // inserts at the caret.
        EXPECT_EQ(edit.IsRichEdit() ? " beta" : " betaalpha", WindowTextOf(edit.GetSafeHwnd()));
        EXPECT_FALSE(edit.OnCommand(1234, 0));
    }
}

TEST_F(CommandBarEditCtrlTest, EditingKeysGoToTheWindowAndOthersAreLeft)
{
    COSMCommandBarEditCtrl edit;
    CreateOn(edit, &frame);
    edit.SetFocus();
    const struct
    {
        UINT key;
        bool ctrl;
        BOOL taken;
    } cases[] = {
        {VK_BACK, false, TRUE}, {VK_PRIOR, false, TRUE},  {VK_HOME, false, TRUE},   {VK_LEFT, false, TRUE},
        {VK_DOWN, false, TRUE}, {VK_INSERT, false, TRUE}, {VK_DELETE, false, TRUE}, {'C', true, TRUE},
        {'V', true, TRUE},      {'X', true, TRUE},        {'Z', true, TRUE},        {'A', false, FALSE},
        {'A', true, FALSE},     {VK_F1, false, FALSE},    {'C', false, FALSE},      {47, false, FALSE},
    };
    for (const auto& c : cases)
    {
        ScopedKeyDown keys(c.ctrl ? VK_CONTROL : 0);
        EXPECT_EQ(c.taken, edit.DispatchEditKey(c.key, 1)) << c.key << " ctrl " << c.ctrl;
        PumpMessages();
    }

    // What the window does with them: Home moves the caret, Backspace then has nothing before it, End and
    // Backspace take the last letter.
    edit.SetWindowText("word");
    edit.SetSel(4, 4);
    edit.DispatchEditKey(VK_HOME, 1);
    PumpMessages();
    int start = -1, end = -1;
    edit.GetSel(start, end);
    EXPECT_EQ(0, start);
    edit.DispatchEditKey(VK_END, 1);
    edit.DispatchEditKey(VK_BACK, 1);
    PumpMessages();
    EXPECT_EQ("wor", WindowTextOf(edit.GetSafeHwnd()));
}

TEST_F(CommandBarEditCtrlTest, SetEditTextGivesTheHostOneCountedChange)
{
    ChangeCountingParent parent;
    ASSERT_TRUE(parent.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 60), &frame, 5));
    for (const auto& blocked : {std::set<std::string>{}, std::set<std::string>{"RICHED20.DLL", "RICHED32.DLL"}})
    {
        ScopedBlockedLibraries libraries(blocked);
        COSMCommandBarEditCtrl edit;
        parent.edit = &edit;
        CreateOn(edit, &parent);
        edit.SetWindowText("old");
        parent.counted = 0;
        parent.suppressed = 0;
        edit.SetEditText("new");
        EXPECT_EQ(1, parent.counted) << edit.IsRichEdit();
        EXPECT_FALSE(edit.IsChangeSuppressed());
        CString text;
        edit.GetEditText(text);
        EXPECT_EQ("new", std::string(text));
        parent.edit = nullptr;
    }
}

// ---- Auto-complete ----

// A shown "Auto-Suggest Dropdown" stand-in: a popup window of that class (registered in lower case: the match
// ignores case) whose first child is a scroll bar and whose second a list that records the keys it gets.
class AutoSuggestDropDown
{
public:
    AutoSuggestDropDown()
    {
        RegisterClasses();
        window = ::CreateWindowExA(WS_EX_TOOLWINDOW, kDropDownClass, "", WS_POPUP | WS_BORDER, 300, 300, 120, 80,
                                   nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        ::CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_VERT, 100, 0, 16, 80, window, nullptr,
                          ::GetModuleHandleA(nullptr), nullptr);
        list = ::CreateWindowExA(0, kListClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 80, window, nullptr,
                                 ::GetModuleHandleA(nullptr), nullptr);
    }
    ~AutoSuggestDropDown() { ::DestroyWindow(window); }

    void Show()
    {
        ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    void Hide() { ::ShowWindow(window, SW_HIDE); }

    HWND window = nullptr;
    HWND list = nullptr;
    static inline std::vector<UINT> keys;

private:
    static constexpr char kDropDownClass[] = "auto-suggest dropdown";
    static constexpr char kListClass[] = "OsmTestAutoSuggestList";
    static LRESULT CALLBACK ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_KEYDOWN)
            keys.push_back(static_cast<UINT>(wParam));
        if (message == WM_GETDLGCODE)
            return DLGC_WANTALLKEYS;
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    static void RegisterClasses()
    {
        WNDCLASSA cls{};
        cls.hInstance = ::GetModuleHandleA(nullptr);
        cls.lpfnWndProc = ::DefWindowProcA;
        cls.lpszClassName = kDropDownClass;
        ::RegisterClassA(&cls);
        cls.lpfnWndProc = ListProc;
        cls.lpszClassName = kListClass;
        ::RegisterClassA(&cls);
    }
};

bool ShownMessageQueued(HWND edit)
{
    MSG msg;
    return ::PeekMessageA(&msg, edit, OSM_WM_AUTOSUGGESTSHOWN, OSM_WM_AUTOSUGGESTSHOWN, PM_REMOVE) != FALSE;
}

TEST_F(CommandBarEditCtrlTest, AttachWithoutShlwapiFails)
{
    COSMCommandBarEditCtrl edit;
    CreateOn(edit, &frame);
    {
        ScopedBlockedLibraries blocked({"SHLWAPI.DLL"});
        COSMShellAutoComplete complete;
        EXPECT_EQ(E_FAIL, complete.Attach(edit.GetSafeHwnd(), SHACF_FILESYSTEM));
        EXPECT_EQ(edit.GetSafeHwnd(), complete.GetEditWindow());
    }
    COSMShellAutoComplete complete;
    EXPECT_TRUE(SUCCEEDED(complete.Attach(edit.GetSafeHwnd(), SHACF_FILESYSTEM)));
}

TEST_F(CommandBarEditCtrlTest, OneObjectOwnsTheAutoSuggestHook)
{
    COSMShellAutoComplete first;
    COSMShellAutoComplete second;
    first.SetAutoSuggestHook(TRUE);
    ASSERT_TRUE(COSMShellAutoComplete::IsHookInstalled());
    EXPECT_EQ(&first, COSMShellAutoComplete::GetHookOwner());
    EXPECT_TRUE(GetThreadKeyboardManager()->IsHooked(&first));

    second.SetAutoSuggestHook(TRUE);
    EXPECT_EQ(&first, COSMShellAutoComplete::GetHookOwner());
    EXPECT_FALSE(GetThreadKeyboardManager()->IsHooked(&second));
    second.SetAutoSuggestHook(FALSE);
    EXPECT_TRUE(COSMShellAutoComplete::IsHookInstalled());
    EXPECT_EQ(&first, COSMShellAutoComplete::GetHookOwner());

    first.SetAutoSuggestHook(FALSE);
    EXPECT_FALSE(COSMShellAutoComplete::IsHookInstalled());
    EXPECT_EQ(nullptr, COSMShellAutoComplete::GetHookOwner());
    EXPECT_FALSE(GetThreadKeyboardManager()->IsHooked(&first));

    // An owner that goes takes its hook along.
    {
        COSMShellAutoComplete passing;
        passing.SetAutoSuggestHook(TRUE);
    }
    EXPECT_FALSE(COSMShellAutoComplete::IsHookInstalled());
}

// A second UI thread's auto-complete hooks its own thread while this thread's hook is installed.
struct SecondThreadAutoComplete
{
    bool installed = false;
    bool owns = false;
    bool removed = false;
    DWORD Run()
    {
        COSMShellAutoComplete complete;
        complete.SetAutoSuggestHook(TRUE);
        installed = COSMShellAutoComplete::IsHookInstalled() != FALSE;
        owns = COSMShellAutoComplete::GetHookOwner() == &complete;
        complete.SetAutoSuggestHook(FALSE);
        removed = !COSMShellAutoComplete::IsHookInstalled();
        return 0;
    }
};
constexpr char kSecondThreadAutoComplete[] = "second thread auto-complete";

TEST_F(CommandBarEditCtrlTest, EachUiThreadHasAnAutoSuggestHookOfItsOwn)
{
    COSMShellAutoComplete first;
    first.SetAutoSuggestHook(TRUE);
    ASSERT_EQ(&first, COSMShellAutoComplete::GetHookOwner());
    SecondThreadAutoComplete second;
    const ScopedKernelHandle thread(
        ::CreateThread(nullptr, 0, osm::GuardedThreadProc<kSecondThreadAutoComplete, &SecondThreadAutoComplete::Run>,
                       &second, 0, nullptr));
    ASSERT_TRUE(thread);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(thread.Get(), 5000));
    EXPECT_TRUE(second.installed);
    EXPECT_TRUE(second.owns) << "the second thread's object got no hook of its own";
    EXPECT_TRUE(second.removed);
    EXPECT_EQ(&first, COSMShellAutoComplete::GetHookOwner());
    EXPECT_TRUE(COSMShellAutoComplete::IsHookInstalled());
    first.SetAutoSuggestHook(FALSE);
    EXPECT_FALSE(COSMShellAutoComplete::IsHookInstalled());
}

TEST_F(CommandBarEditCtrlTest, AShownDropDownIsTrackedUntilItHides)
{
    COSMCommandBarEditCtrl edit;
    CreateOn(edit, &frame);
    COSMShellAutoComplete complete;
    complete.Attach(edit.GetSafeHwnd(), SHACF_FILESYSTEM);
    complete.SetAutoSuggestHook(TRUE);
    ShownMessageQueued(edit.GetSafeHwnd());
    COSMMouseManager* mouse = CreateMouseManager();

    AutoSuggestDropDown first;
    AutoSuggestDropDown second;
    first.Show();
    EXPECT_EQ(first.window, complete.GetDropDownWindow());
    EXPECT_TRUE(ShownMessageQueued(edit.GetSafeHwnd()));
    EXPECT_TRUE(mouse->IsSafeWindow(first.window));

    // While one is tracked another is not, and the wheel is the list's.
    second.Show();
    EXPECT_EQ(first.window, complete.GetDropDownWindow());
    EXPECT_FALSE(ShownMessageQueued(edit.GetSafeHwnd()));
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;
    EXPECT_EQ(2, complete.OnHookMessage(nullptr, WM_MOUSEWHEEL, wParam, lParam, result));
    EXPECT_EQ(0, complete.OnHookMessage(nullptr, WM_KEYDOWN, wParam, lParam, result));

    first.Hide();
    EXPECT_EQ(nullptr, complete.GetDropDownWindow());
    EXPECT_FALSE(mouse->IsSafeWindow(first.window));
    EXPECT_EQ(0, complete.OnHookMessage(nullptr, WM_MOUSEWHEEL, wParam, lParam, result));

    second.Hide();
    second.Show();
    EXPECT_EQ(second.window, complete.GetDropDownWindow());
    EXPECT_TRUE(ShownMessageQueued(edit.GetSafeHwnd()));

    // Switching the hook off forgets the list.
    complete.SetAutoSuggestHook(FALSE);
    EXPECT_EQ(nullptr, complete.GetDropDownWindow());
    EXPECT_FALSE(mouse->IsSafeWindow(second.window));
}

TEST_F(CommandBarEditCtrlTest, NavigationKeysGoToTheShownDropDownsList)
{
    COSMCommandBarEditCtrl edit;
    CreateOn(edit, &frame);
    COSMShellAutoComplete complete;
    complete.Attach(edit.GetSafeHwnd(), SHACF_FILESYSTEM);
    EXPECT_FALSE(complete.ProcessDropDownKey(VK_DOWN, 1)) << "no list shows";

    complete.SetAutoSuggestHook(TRUE);
    AutoSuggestDropDown dropDown;
    dropDown.Show();
    ASSERT_EQ(dropDown.window, complete.GetDropDownWindow());
    const struct
    {
        UINT key;
        bool alt;
        BOOL passed;
    } cases[] = {
        {VK_UP, false, TRUE},   {VK_DOWN, false, TRUE},  {VK_PRIOR, false, TRUE},   {VK_NEXT, false, TRUE},
        {VK_DOWN, true, FALSE}, {VK_LEFT, false, FALSE}, {VK_RETURN, false, FALSE}, {'A', false, FALSE},
    };
    for (const auto& c : cases)
    {
        AutoSuggestDropDown::keys.clear();
        ScopedKeyDown keys(c.alt ? VK_MENU : 0);
        EXPECT_EQ(c.passed, complete.ProcessDropDownKey(c.key, 1)) << c.key << " alt " << c.alt;
        EXPECT_EQ(c.passed ? std::vector<UINT>{c.key} : std::vector<UINT>{}, AutoSuggestDropDown::keys) << c.key;
    }
    complete.SetAutoSuggestHook(FALSE);
}

}  // namespace
