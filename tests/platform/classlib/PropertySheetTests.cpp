// Property sheets over the system's: pages made as their tabs show, controls bound by data exchange, the sheet
// keyboard, and the window going on Cancel. The check list box under real clicks and keys, and the modeless windows
// a modal question disables (also when listing them runs out of memory).
#include "FailingAllocations.h"
#include "PropertySheetTestIds.h"
#include "TestSupport.h"

#include "classlib/CallbackGuard.h"
#include "classlib/CheckListBox.h"
#include "classlib/DataExchange.h"
#include "classlib/ModelessWindows.h"
#include "classlib/PropertySheet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <string>
#include <vector>

using namespace classlib_test;

namespace {

class ListPage : public CPropertyPage
{
public:
    ListPage() : CPropertyPage(IDD_SHEET_PAGE_ONE) {}
    BOOL OnInitDialog() override
    {
        CPropertyPage::OnInitDialog();
        ++inits;
        list.AddString("one");
        list.AddString("two");
        return TRUE;
    }
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_PAGE_LIST, list); }
    CListBox list;
    int inits = 0;
};

class EditPage : public CPropertyPage
{
public:
    explicit EditPage(UINT id = IDD_SHEET_PAGE_TWO) : CPropertyPage(id) {}
    BOOL OnInitDialog() override
    {
        CPropertyPage::OnInitDialog();
        ++inits;
        return TRUE;
    }
    int inits = 0;
};

// A sheet made with new that counts its end.
class CountedSheet : public CPropertySheet
{
public:
    explicit CountedSheet(int* ended) : CPropertySheet("Options"), m_ended(ended) {}

protected:
    void PostNcDestroy() override
    {
        ++*m_ended;
        delete this;
    }

private:
    int* m_ended;
};

TEST(PropertySheetTest, AModelessSheetMakesItsPagesAsTheyShowAndGoesOnCancel)
{
    CHostWnd host;
    ASSERT_TRUE(host.CreateHost());
    ListPage first;
    EditPage second;
    int ended = 0;
    auto* sheet = new CountedSheet(&ended);
    sheet->AddPage(&first);
    sheet->AddPage(&second);
    EXPECT_EQ(sheet, first.GetSheet());
    ASSERT_TRUE(sheet->Create(&host));
    const HWND window = sheet->GetSafeHwnd();
    PumpPending();

    EXPECT_EQ(host.GetSafeHwnd(), ::GetWindow(window, GW_OWNER));
    EXPECT_TRUE(host.IsWindowEnabled());
    CString title;
    sheet->GetWindowText(title);
    EXPECT_STREQ("Options", title);
    EXPECT_EQ(2, static_cast<int>(::SendMessageA(sheet->GetTabControl(), TCM_GETITEMCOUNT, 0, 0)));
    // The first page is bound and filled; the second waits for its tab.
    EXPECT_EQ(1, first.inits);
    EXPECT_EQ(2, first.list.GetCount());
    EXPECT_EQ(&first, sheet->GetActivePage());
    EXPECT_EQ(nullptr, second.GetSafeHwnd());
    EXPECT_EQ(0, second.inits);

    EXPECT_TRUE(sheet->SetActivePage(1));
    EXPECT_EQ(1, second.inits);
    EXPECT_EQ(&second, sheet->GetActivePage());
    EXPECT_EQ(1, sheet->GetActiveIndex());

    // Ctrl+Tab through the sheet keyboard goes back to the first page.
    ::SetFocus(::GetDlgItem(second.GetSafeHwnd(), IDC_PAGE_EDIT));
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    MSG ctrlTab{::GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_TRUE(sheet->PreTranslateMessage(&ctrlTab));
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    EXPECT_EQ(0, sheet->GetActiveIndex());

    // Cancel ends the sheet: the window goes and the object with it.
    ::SendMessageA(window, WM_COMMAND, IDCANCEL, 0);
    PumpPending();
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(1, ended);
    EXPECT_EQ(nullptr, first.GetSafeHwnd());
}

TEST(PropertySheetTest, AMissingTemplateOrNoPageGivesNoSheet)
{
    CHostWnd host;
    ASSERT_TRUE(host.CreateHost());
    CPropertySheet empty("Empty");
    EXPECT_FALSE(empty.Create(&host));
    EXPECT_EQ(nullptr, empty.GetSafeHwnd());

    EditPage missing(IDD_SHEET_PAGE_MISSING);
    CPropertySheet sheet("Missing");
    sheet.AddPage(&missing);
    EXPECT_FALSE(sheet.Create(&host));
    EXPECT_EQ(nullptr, sheet.GetSafeHwnd());
}

// A parent that records its check-list notifications.
class CheckHost : public CHostWnd
{
public:
    std::vector<WPARAM> commands;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        commands.push_back(wParam);
        return CHostWnd::OnCommand(wParam, lParam);
    }
};

void Click(HWND window, CPoint client)
{
    ::ClientToScreen(window, &client);
    ::SetCursorPos(client.x, client.y);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, inputs, sizeof(INPUT));
    const DWORD start = ::GetTickCount();
    PumpUntil([&] { return ::GetTickCount() - start > 150; });
}

TEST(CheckListBoxTest, ChecksFollowTheItemsAndClicksOnTheBoxToggleThem)
{
    CheckHost host;
    ASSERT_TRUE(host.CreateHost());
    CCheckListBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LBS_NOTIFY, CRect(10, 10, 200, 150), &host, 77));
    EXPECT_EQ(list.CalcMinimumItemHeight(), list.GetItemHeight(0));
    EXPECT_GE(list.CalcMinimumItemHeight(), 13 + 2);

    list.AddString("alpha");
    list.AddString("beta");
    list.SetItemData(1, 42);
    list.SetCheck(1, BST_CHECKED);
    // Inserting and deleting move the checks with their items; the item data stays the caller's.
    list.InsertString(0, "first");
    EXPECT_EQ(BST_UNCHECKED, list.GetCheck(0));
    EXPECT_EQ(BST_CHECKED, list.GetCheck(2));
    EXPECT_EQ(42u, list.GetItemData(2));
    list.DeleteString(0);
    EXPECT_EQ(BST_CHECKED, list.GetCheck(1));

    host.commands.clear();
    const CRect box = list.GetCheckBoxRect(0);
    EXPECT_EQ(CSize(13, 13), box.Size());
    Click(list.GetSafeHwnd(), box.CenterPoint());
    EXPECT_EQ(BST_CHECKED, list.GetCheck(0));
    EXPECT_EQ(0, list.GetCurSel());
    EXPECT_NE(std::find(host.commands.begin(), host.commands.end(), MAKEWPARAM(77, CLBN_CHKCHANGE)),
              host.commands.end());

    // A click on the text selects without toggling.
    CRect item;
    list.GetItemRect(1, item);
    Click(list.GetSafeHwnd(), CPoint(item.right - 20, item.CenterPoint().y));
    EXPECT_EQ(1, list.GetCurSel());
    EXPECT_EQ(BST_CHECKED, list.GetCheck(1));

    // Space toggles the selected item; a disabled item keeps its check.
    list.SetFocus();
    list.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(BST_UNCHECKED, list.GetCheck(1));
    list.Enable(1, FALSE);
    list.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(BST_UNCHECKED, list.GetCheck(1));

    list.ResetContent();
    EXPECT_EQ(BST_UNCHECKED, list.GetCheck(0));
    list.AddString("again");
    EXPECT_EQ(BST_UNCHECKED, list.GetCheck(0));

    // The cursor goes out of the way of the windows later tests open where it was.
    ::SetCursorPos(1200, 1000);
    const DWORD start = ::GetTickCount();
    PumpUntil([&] { return ::GetTickCount() - start > 100; });
}

TEST(ModelessWindowsTest, AModalQuestionDisablesTheOwnedWindowsUntilTheLastCallEnds)
{
    CHostWnd host;
    ASSERT_TRUE(host.CreateHost());
    LPCSTR cls = AfxRegisterWndClass(0);
    CWnd tool;
    ASSERT_TRUE(tool.CreateEx(0, cls, "tool", WS_POPUP | WS_VISIBLE, 500, 40, 80, 60, host.GetSafeHwnd(), nullptr));
    CWnd alreadyDisabled;
    ASSERT_TRUE(alreadyDisabled.CreateEx(0, cls, "off", WS_POPUP | WS_VISIBLE | WS_DISABLED, 500, 140, 80, 60,
                                         host.GetSafeHwnd(), nullptr));

    AfxEnableModeless(FALSE);
    EXPECT_FALSE(AfxIsModelessEnabled());
    EXPECT_FALSE(tool.IsWindowEnabled());
    EXPECT_TRUE(host.IsWindowEnabled());  // not owned: the caller decides about it
    AfxEnableModeless(FALSE);
    AfxEnableModeless(TRUE);
    EXPECT_FALSE(tool.IsWindowEnabled());  // the outer question still runs
    AfxEnableModeless(TRUE);
    EXPECT_TRUE(AfxIsModelessEnabled());
    EXPECT_TRUE(tool.IsWindowEnabled());
    EXPECT_FALSE(alreadyDisabled.IsWindowEnabled());
    tool.DestroyWindow();
    alreadyDisabled.DestroyWindow();
}

std::vector<std::string> g_modelessReports;
void RecordModelessReport(const char* where, long, const char* what)
{
    g_modelessReports.push_back(std::string(where) + ": " + what);
}

// The windows are listed from a system enumeration: memory running out there is stopped and reported at the
// enumeration, AfxEnableModeless returns, and no window is left disabled without the record that enables it again.
TEST(ModelessWindowsTest, MemoryRunningOutWhileTheWindowsAreListedStopsAtTheEnumeration)
{
    CHostWnd host;
    ASSERT_TRUE(host.CreateHost());
    // A plain window: disabling it runs none of the library's own code.
    const HWND tool = ::CreateWindowExA(0, "STATIC", "tool", WS_POPUP | WS_VISIBLE, 500, 40, 80, 60, host.GetSafeHwnd(),
                                        nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, tool);
    ASSERT_TRUE(AfxIsModelessEnabled());  // the thread's state is made before allocations fail
    g_modelessReports.clear();
    const CallbackExceptionReporter previous = SetCallbackExceptionReporter(&RecordModelessReport);
    int refused = 0;
    bool escaped = false;
    {
        test_support::FailingAllocations failing(0);
        try
        {
            AfxEnableModeless(FALSE);
        }
        catch (...)
        {
            escaped = true;
        }
        refused = failing.Refused();
    }
    SetCallbackExceptionReporter(previous);
    EXPECT_FALSE(escaped) << "the exception crossed the system's enumeration";
    EXPECT_EQ(1, refused);
    ASSERT_EQ(1u, g_modelessReports.size());
    EXPECT_EQ(std::string("AfxEnableModeless: ") + std::bad_alloc().what(), g_modelessReports[0]);
    EXPECT_FALSE(AfxIsModelessEnabled());
    EXPECT_TRUE(::IsWindowEnabled(tool)) << "not listed, so not disabled";

    AfxEnableModeless(TRUE);
    EXPECT_TRUE(AfxIsModelessEnabled());
    // With memory the question works as before.
    AfxEnableModeless(FALSE);
    EXPECT_FALSE(::IsWindowEnabled(tool));
    AfxEnableModeless(TRUE);
    EXPECT_TRUE(::IsWindowEnabled(tool));
    ::DestroyWindow(tool);
}

}  // namespace
