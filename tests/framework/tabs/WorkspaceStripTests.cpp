// The workspace without grouping: one strip above the MDI client, its tabs following the frame's children, clicks
// activating and closing them.
#include "WorkspaceTestSupport.h"

using namespace workspace_test;

namespace {

class WorkspaceStripTest : public WorkspaceTest
{};

TEST_F(WorkspaceStripTest, TheStripTakesTheClientsPlaceAndShowsTheChildrenInCreationOrder)
{
    CRect before;
    ::GetWindowRect(frame.m_hWndMDIClient, &before);
    StartWorkspace(FALSE);
    OpenChild("First");
    OpenChild("Second");
    OpenChild("Third");

    ASSERT_EQ(1, workspace.GetWorkspaceCount());
    EXPECT_EQ((std::vector<std::string>{"First", "Second", "Third"}), Captions(0));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(children[i]->GetSafeHwnd(), Group(0)->GetItem(i)->GetHandle());
    // The last one made is active, and its tab is the selected one.
    EXPECT_EQ(Group(0)->GetItem(2), Group(0)->GetSelectedItem());

    // The strip window has the rectangle the client had; the client sits below the header, in the strip's client
    // area.
    COSMTabWorkspaceStripWnd* strip = workspace.GetStripWindow();
    ASSERT_NE(nullptr, strip);
    CRect stripRect;
    strip->GetWindowRect(&stripRect);
    EXPECT_EQ(before, stripRect);
    CRect clientRect;
    ::GetWindowRect(frame.m_hWndMDIClient, &clientRect);
    CRect expected = Group(0)->GetClientRect();
    expected.OffsetRect(stripRect.TopLeft());
    EXPECT_EQ(expected, clientRect);
    const int header = Group(0)->GetHeaderRect().Height();
    EXPECT_GT(header, 0);
    EXPECT_GE(clientRect.top, stripRect.top + header);

    // The children keep their frames without grouping.
    EXPECT_NE(0, children[0]->GetStyle() & WS_CAPTION);
}

TEST_F(WorkspaceStripTest, ChildrenThereBeforeTheWorkspaceGetTabsToo)
{
    OpenChild("Early one");
    OpenChild("Early two");
    StartWorkspace(FALSE);
    EXPECT_EQ((std::vector<std::string>{"Early one", "Early two"}), Captions(0));
}

TEST_F(WorkspaceStripTest, AClickOnATabActivatesItsChildAndRestoresAMinimizedOne)
{
    StartWorkspace(FALSE);
    DocChild* first = OpenChild("First");
    OpenChild("Second");
    DocChild* third = OpenChild("Third");
    ASSERT_EQ(third->GetSafeHwnd(), ActiveChild());

    ClickAt(TabCentre(0, 0));
    EXPECT_EQ(first->GetSafeHwnd(), ActiveChild());
    EXPECT_EQ(Group(0)->GetItem(0), Group(0)->GetSelectedItem());

    third->ShowWindow(SW_MINIMIZE);
    PumpMessages();
    ASSERT_TRUE(third->IsIconic());
    ClickAt(TabCentre(0, 2));
    EXPECT_EQ(third->GetSafeHwnd(), ActiveChild());
    EXPECT_FALSE(third->IsIconic());
}

TEST_F(WorkspaceStripTest, ATabsCloseButtonClosesItsChildAndTheTabGoes)
{
    workspace.SetCloseOnTabsMode(2);
    StartWorkspace(FALSE);
    OpenChild("First");
    DocChild* second = OpenChild("Second");
    OpenChild("Third");
    HWND secondWindow = second->GetSafeHwnd();

    COSMTabManagerItem* item = Group(0)->GetItem(1);
    ASSERT_EQ(1u, item->GetNavigateButtons().size());
    // The buttons are placed when the strip paints.
    PumpMessages();
    workspace.GetStripWindow()->UpdateWindow();
    const CRect button = item->GetNavigateButtons()[0]->GetRect();
    ASSERT_FALSE(button.IsRectEmpty());
    // The button goes with its tab, inside its own click.
    ClickAt(ScreenOf(Group(0), button.CenterPoint()));
    EXPECT_FALSE(::IsWindow(secondWindow));
    EXPECT_EQ((std::vector<std::string>{"First", "Third"}), Captions(0));
}

TEST_F(WorkspaceStripTest, ClosingTheActiveChildActivatesItsNeighbourTabUnlessSuppressed)
{
    for (BOOL suppressed : {FALSE, TRUE})
    {
        SCOPED_TRACE(suppressed);
        StartWorkspace(FALSE);
        workspace.SuppressNeighbourActivation(suppressed);
        DocChild* a = OpenChild("A");
        DocChild* b = OpenChild("B");
        DocChild* c = OpenChild("C");
        // Z-order B, A, C: the system would activate A when B closes; B's neighbour tab is C.
        a->MDIActivate();
        b->MDIActivate();
        PumpMessages();
        ASSERT_EQ(b->GetSafeHwnd(), ActiveChild());
        b->DestroyWindow();
        PumpMessages();
        if (suppressed)
            EXPECT_EQ(a->GetSafeHwnd(), ActiveChild());
        else
            EXPECT_EQ(c->GetSafeHwnd(), ActiveChild());
        EXPECT_EQ((std::vector<std::string>{"A", "C"}), Captions(0));

        for (auto& child : children)
            if (child->GetSafeHwnd())
                child->DestroyWindow();
        children.clear();
        frame.workspace = nullptr;
        workspace.Detach();
    }
}

TEST_F(WorkspaceStripTest, ATitleChangeShowsAtTheNextLayout)
{
    StartWorkspace(FALSE);
    DocChild* child = OpenChild("Before");
    child->SetWindowText("After the change");
    EXPECT_EQ((std::vector<std::string>{"Before"}), Captions(0));
    ::SendMessageA(frame.m_hWndMDIClient, WM_IDLEUPDATECMDUI, 0, 0);
    EXPECT_EQ((std::vector<std::string>{"After the change"}), Captions(0));
    EXPECT_STREQ("After the change", Group(0)->GetItem(0)->GetTooltipText());
}

TEST_F(WorkspaceStripTest, ATabsDataIsItsChildsSmallIconElseItsClasss)
{
    StartWorkspace(FALSE);
    DocChild* own = OpenChild("Own icon");
    DocChild* plain = OpenChild("Class icon");
    HICON small = ::LoadIcon(nullptr, IDI_WARNING);
    own->answerIcons = TRUE;
    own->answerForSmall = small;
    ::SendMessageA(frame.m_hWndMDIClient, WM_IDLEUPDATECMDUI, 0, 0);

    EXPECT_EQ(reinterpret_cast<DWORD_PTR>(small), Group(0)->GetItemData(Group(0)->GetItem(0)));
    HICON classIcon = reinterpret_cast<HICON>(::GetClassLongPtrA(plain->GetSafeHwnd(), GCLP_HICONSM));
    if (!classIcon)
        classIcon = reinterpret_cast<HICON>(::GetClassLongPtrA(plain->GetSafeHwnd(), GCLP_HICON));
    EXPECT_EQ(reinterpret_cast<DWORD_PTR>(classIcon), Group(0)->GetItemData(Group(0)->GetItem(1)));
}

// Records the WM_SETREDRAW messages the MDI client gets.
std::vector<WPARAM>* g_redraws = nullptr;
HWND g_redrawWindow = nullptr;
LRESULT CALLBACK RecordRedraw(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && g_redraws && message->hwnd == g_redrawWindow && message->message == WM_SETREDRAW)
        g_redraws->push_back(message->wParam);
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(WorkspaceStripTest, ActivationSuppressesRedrawingOnlyWhenTheFlagsSaySo)
{
    const struct
    {
        BOOL grouping, first, second;
        std::vector<WPARAM> expected;
    } cases[] = {
        {FALSE, FALSE, TRUE, {FALSE, TRUE}},
        {FALSE, FALSE, FALSE, {}},
        {FALSE, TRUE, TRUE, {}},
        {TRUE, FALSE, TRUE, {}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.grouping * 100 + c.first * 10 + c.second);
        StartWorkspace(c.grouping);
        workspace.SetRedrawSuppression(c.first, c.second);
        DocChild* a = OpenChild("A");
        OpenChild("B");
        std::vector<WPARAM> redraws;
        g_redraws = &redraws;
        g_redrawWindow = frame.m_hWndMDIClient;
        HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROC, &RecordRedraw, nullptr, ::GetCurrentThreadId());
        a->MDIActivate();
        ::UnhookWindowsHookEx(hook);
        g_redraws = nullptr;
        EXPECT_EQ(c.expected, redraws);
        EXPECT_EQ(a->GetSafeHwnd(), ActiveChild());

        for (auto& child : children)
            child->DestroyWindow();
        children.clear();
        frame.workspace = nullptr;
        workspace.Detach();
    }
}

}  // namespace
