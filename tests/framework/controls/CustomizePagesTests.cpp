// The customize sheet's pages on a frame with a menu bar and two toolbars: the toolbars page's list, checks,
// buttons, questions and drawing; the commands page's categories, its list and drags onto a toolbar; and a right
// click on a toolbar button in customize mode, which opens the sheet's menu there.
#include "CustomizeTestSupport.h"

#include "CommandBarsTestIds.h"
#include "framework/commandbars/CommandBarsResourceIds.h"
#include "framework/commandbars/CustomizeResourceIds.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/commandbars/ToolBar.h"
#include "framework/controls/CustomizeCommandsPage.h"
#include "framework/controls/CustomizeToolbarsPage.h"

#include <memory>
#include <string>

using namespace customize_test;

namespace {

constexpr UINT kToolbarCreated = 0x2865;
constexpr UINT kToolbarDeleting = 0x2866;

// Records the site messages about toolbars the page sends the frame.
class SiteMessageRecorder
{
public:
    explicit SiteMessageRecorder(HWND site)
    {
        s_site = site;
        s_seen.clear();
        m_hook = ::SetWindowsHookExA(WH_CALLWNDPROC, &Hook, nullptr, ::GetCurrentThreadId());
    }
    ~SiteMessageRecorder() { ::UnhookWindowsHookEx(m_hook); }
    static std::vector<std::pair<UINT, LPARAM>>& Seen() { return s_seen; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && message->hwnd == s_site &&
            (message->message == kToolbarCreated || message->message == kToolbarDeleting))
            s_seen.emplace_back(message->message, message->lParam);
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK m_hook;
    static inline HWND s_site = nullptr;
    static inline std::vector<std::pair<UINT, LPARAM>> s_seen;
};

// Beeps the page asks for, instead of sounds.
std::vector<UINT> g_beeps;
BOOL WINAPI RecordBeep(UINT type)
{
    g_beeps.push_back(type);
    return TRUE;
}

// The answers the sheet's message box gives, and the questions it was asked.
std::vector<std::string> g_questions;
int g_answer = IDOK;
int WINAPI AnswerQuestion(HWND, LPCSTR text, LPCSTR, UINT)
{
    g_questions.emplace_back(text);
    return g_answer;
}

// A frame with the menu bar of the test menu and the toolbars "Standard" (built in, from the test toolbar resource)
// and "Formatting" (built in, three buttons), and a customize sheet over it opened by the test.
class CustomizePagesTest : public CustomizeSiteTest
{
protected:
    void SetUp() override
    {
        CustomizeSiteTest::SetUp();
        commandBars->SetCustomizeMode(FALSE);
        frameMenu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TEST_FRAME_MENU));
        ASSERT_NE(nullptr, frameMenu);
        ::SetMenu(frame.GetSafeHwnd(), frameMenu);
        ASSERT_TRUE(commandBars->CreateDockBars());
        menuBar = commandBars->AddMenuBar("Menu Bar", IDR_TEST_FRAME_MENU);
        ASSERT_NE(nullptr, menuBar);
        standard = static_cast<COSMToolBar*>(commandBars->AddToolBar("Standard", IDR_TEST_TOOLBAR16));
        ASSERT_NE(nullptr, standard);
        ASSERT_TRUE(standard->LoadToolBar(IDR_TEST_TOOLBAR16, FALSE));
        standard->SetBuiltIn(TRUE);
        formatting = static_cast<COSMToolBar*>(commandBars->AddToolBar("Formatting", 511));
        ASSERT_NE(nullptr, formatting);
        for (int id : {301, 302, 303})
            formatting->GetControls()->Add(1, id)->SetCaption("Format");
        formatting->SetBuiltIn(TRUE);
        frame.RecalcLayout();
        PumpFor(50);
        previousBeep = COSMCommandBar::s_pfnMessageBeep;
        COSMCommandBar::s_pfnMessageBeep = &RecordBeep;
        previousMessageBox = COSMCustomizeSheet::s_pfnMessageBox;
        COSMCustomizeSheet::s_pfnMessageBox = &AnswerQuestion;
        g_beeps.clear();
        g_questions.clear();
        g_answer = IDOK;
    }
    void TearDown() override
    {
        if (sheet && ::IsWindow(sheet->GetSafeHwnd()))
            sheet->DestroyWindow();
        sheet = nullptr;
        COSMCommandBar::s_pfnMessageBeep = previousBeep;
        COSMCustomizeSheet::s_pfnMessageBox = previousMessageBox;
        CustomizeSiteTest::TearDown();
    }

    // Opens the sheet (categories from the menu unless told otherwise) on the page.
    void OpenSheet(int page = 0, bool categories = true)
    {
        sheet = new COSMCustomizeSheet(commandBars.Get());
        if (categories)
            sheet->GetCommandsPage()->AddCategories(CMenu::FromHandle(frameMenu));
        ASSERT_TRUE(sheet->Create());
        MoveBesideTheFrame();
        sheet->SetActivePage(page);
        PumpFor(80);
    }
    COSMCustomizeToolbarsPage* Toolbars() const { return sheet->GetToolbarsPage(); }
    COSMCustomizeCommandsPage* Commands() const { return sheet->GetCommandsPage(); }
    COSMCustomizeCheckListBox& List() const { return Toolbars()->GetList(); }
    std::vector<std::string> ListedTitles() const
    {
        std::vector<std::string> titles;
        for (int i = 0; i < List().GetCount(); ++i)
        {
            CString text;
            List().GetText(i, text);
            titles.emplace_back(text);
        }
        return titles;
    }
    int ItemOf(const COSMCommandBar* bar) const
    {
        for (int i = 0; i < List().GetCount(); ++i)
            if (commandBars->GetAt(static_cast<int>(List().GetItemData(i))) == bar)
                return i;
        return -1;
    }
    // Selects the item as a click would (the page hears LBN_SELCHANGE).
    void SelectItem(int item)
    {
        List().SetCurSel(item);
        Toolbars()->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_OSM_CUSTOMIZE_TOOLBAR_LIST, LBN_SELCHANGE),
                                reinterpret_cast<LPARAM>(List().GetSafeHwnd()));
    }
    void ClickCheckBox(int item)
    {
        const CRect box = List().GetCheckBoxRect(item);
        ClickAt(ScreenPoint(List(), box.CenterPoint()));
    }
    HWND PageButton(int id) const { return ::GetDlgItem(Toolbars()->GetSafeHwnd(), id); }
    // Presses the page's button; a modal dialog it opens is answered by the steps.
    void PressButton(int id, std::vector<Step> steps = {})
    {
        if (!steps.empty())
            InputScript::Start(frame.GetSafeHwnd(), std::move(steps), 100);
        ::SendMessageA(Toolbars()->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(PageButton(id)));
        PumpUntil([] { return InputScript::Done(); }, 3000);
        InputScript::Stop(frame.GetSafeHwnd());
    }

    HMENU frameMenu = nullptr;
    COSMCommandBar* menuBar = nullptr;
    // The sheet stands beside the frame, off its bars, as a user would move it to drag onto them.
    void MoveBesideTheFrame()
    {
        CRect frameRect;
        frame.GetWindowRect(frameRect);
        sheet->SetWindowPos(nullptr, frameRect.right + 10, frameRect.top, 0, 0,
                            SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    COSMToolBar* standard = nullptr;
    COSMToolBar* formatting = nullptr;
    COSMCustomizeSheet* sheet = nullptr;
    BOOL(WINAPI* previousBeep)(UINT) = nullptr;
    int(WINAPI* previousMessageBox)(HWND, LPCSTR, LPCSTR, UINT) = nullptr;
};

// ---- The sheet ----

TEST_F(CustomizePagesTest, TheSheetOpensModelessOverTheFrameAndCustomizesWhileItIsOpen)
{
    OpenSheet();
    const HWND window = sheet->GetSafeHwnd();
    EXPECT_EQ(frame.GetSafeHwnd(), ::GetWindow(window, GW_OWNER));
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_TRUE(frame.IsWindowEnabled());
    EXPECT_TRUE(commandBars->IsCustomizeMode());
    EXPECT_EQ(sheet, commandBars->GetDropSource()->GetSheet());
    EXPECT_EQ(sheet, commandBars->GetDropSource()->GetSheetWindow());
    EXPECT_EQ(2, sheet->GetPageCount());

    // The close button ends the sheet, and customizing with it.
    ::SendMessageA(window, WM_COMMAND, IDOK, 0);
    PumpFor(50);
    EXPECT_FALSE(::IsWindow(window));
    sheet = nullptr;
    EXPECT_FALSE(commandBars->IsCustomizeMode());
    EXPECT_EQ(nullptr, commandBars->GetDropSource()->GetSheet());
    EXPECT_EQ(nullptr, commandBars->GetDropSource()->GetSheetWindow());
}

TEST_F(CustomizePagesTest, ARightClickOnAToolbarButtonSelectsItAndTheMenuRestylesIt)
{
    OpenSheet();
    frame.SetActiveWindow();
    frame.SetForegroundWindow();
    PumpFor(50);
    COSMControl* button = standard->GetControl(0);
    COSMPopupBar* menu = sheet->GetContextMenu();
    COSMControl* textOnly = menu->GetControls()->FindControlById(COSMCustomizeSheet::kCommandStyleTextOnly);
    ASSERT_NE(nullptr, textOnly);
    const CPoint at = ControlCentre(*standard, 0);
    MoveMouseTo(at);
    bool shownAtTheCursor = false;
    InputScript::Start(frame.GetSafeHwnd(),
                       {[&] {
                            CRect menuRect;
                            if (menu->GetSafeHwnd())
                                menu->GetWindowRect(menuRect);
                            shownAtTheCursor = menu->GetSafeHwnd() && (std::abs(menuRect.left - at.x) <= 2 ||
                                                                       std::abs(menuRect.right - at.x) <= 2);
                        },
                        MoveTo([&] { return ControlCentre(*menu, textOnly->GetIndex()); }), Press(MOUSEEVENTF_LEFTDOWN),
                        Press(MOUSEEVENTF_LEFTUP)},
                       150);
    SendMouseInput(MOUSEEVENTF_RIGHTDOWN);
    SendMouseInput(MOUSEEVENTF_RIGHTUP);
    PumpUntil([] { return InputScript::Done(); }, 4000);
    PumpFor(100);
    EXPECT_TRUE(shownAtTheCursor);
    EXPECT_EQ(button, commandBars->GetCustomizeSelection());
    EXPECT_EQ(1, button->GetCustomStyle());
    EXPECT_FALSE(menu->IsVisible());
}

// ---- The toolbars page ----

TEST_F(CustomizePagesTest, TheToolbarsPageListsTheBarsThatCanShow)
{
    formatting->SetVisible(FALSE);
    // Neither listed: a toolbar without the list flag, and a menu-like bar that cannot be closed and is hidden.
    COSMCommandBar* unlisted = commandBars->AddToolBar("Unlisted", 521);
    unlisted->SetListed(FALSE);
    OpenSheet();
    EXPECT_EQ((std::vector<std::string>{"Menu Bar", "Standard", "Formatting"}), ListedTitles());
    EXPECT_EQ(BST_CHECKED, List().GetCheck(ItemOf(menuBar)));
    EXPECT_EQ(BST_CHECKED, List().GetCheck(ItemOf(standard)));
    EXPECT_EQ(BST_UNCHECKED, List().GetCheck(ItemOf(formatting)));

    menuBar->SetVisible(FALSE);
    Toolbars()->RefreshList();
    EXPECT_EQ((std::vector<std::string>{"Standard", "Formatting"}), ListedTitles());
    menuBar->SetVisible(TRUE);
}

TEST_F(CustomizePagesTest, ChecksShowAndHideToolbarsButTheMenuBarStays)
{
    formatting->SetVisible(FALSE);
    OpenSheet();
    ClickCheckBox(ItemOf(menuBar));
    EXPECT_EQ((std::vector<UINT>{0}), g_beeps);
    EXPECT_EQ(BST_CHECKED, List().GetCheck(ItemOf(menuBar)));
    EXPECT_TRUE(menuBar->IsVisible());

    ClickCheckBox(ItemOf(formatting));
    EXPECT_TRUE(formatting->IsVisible());
    EXPECT_EQ(BST_CHECKED, List().GetCheck(ItemOf(formatting)));

    // Space on the selected item toggles it back.
    List().SetFocus();
    SelectItem(ItemOf(formatting));
    SendKey(VK_SPACE);
    EXPECT_FALSE(formatting->IsVisible());
    EXPECT_EQ(BST_UNCHECKED, List().GetCheck(ItemOf(formatting)));
}

TEST_F(CustomizePagesTest, TheButtonsFollowTheSelectedToolbar)
{
    COSMCommandBar* mine = commandBars->AddToolBar("Mine", 0xE801);  // not built in: made as New makes it
    OpenSheet();
    struct Case
    {
        const char* name;
        int item;
        BOOL reset, rename, remove;
    };
    const Case cases[] = {
        {"no selection", -1, FALSE, FALSE, FALSE},
        {"built in", ItemOf(standard), TRUE, FALSE, FALSE},
        {"user-made", ItemOf(mine), FALSE, TRUE, TRUE},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        SelectItem(c.item);
        EXPECT_EQ(c.reset, ::IsWindowEnabled(PageButton(IDC_OSM_CUSTOMIZE_TOOLBAR_RESET)));
        EXPECT_EQ(c.rename, ::IsWindowEnabled(PageButton(IDC_OSM_CUSTOMIZE_TOOLBAR_RENAME)));
        EXPECT_EQ(c.remove, ::IsWindowEnabled(PageButton(IDC_OSM_CUSTOMIZE_TOOLBAR_DELETE)));
        EXPECT_TRUE(::IsWindowEnabled(PageButton(IDC_OSM_CUSTOMIZE_TOOLBAR_NEW)));
    }
}

TEST_F(CustomizePagesTest, NewRenameAndDeleteWorkOnTheUsersToolbars)
{
    OpenSheet();
    SiteMessageRecorder recorder(frame.GetSafeHwnd());
    const int before = commandBars->GetCount();

    // New: the name dialog proposes a name; Enter takes it.
    PressButton(IDC_OSM_CUSTOMIZE_TOOLBAR_NEW, {[] {}, Key(VK_RETURN, false), Key(VK_RETURN, true)});
    ASSERT_EQ(before + 1, commandBars->GetCount());
    COSMCommandBar* created = commandBars->GetAt(before);
    EXPECT_FALSE(static_cast<COSMToolBar*>(created)->IsBuiltIn());
    const int createdItem = ItemOf(created);
    ASSERT_GE(createdItem, 0);
    EXPECT_EQ(BST_CHECKED, List().GetCheck(createdItem));
    ASSERT_EQ(1u, recorder.Seen().size());
    EXPECT_EQ(kToolbarCreated, recorder.Seen()[0].first);
    EXPECT_EQ(reinterpret_cast<LPARAM>(created), recorder.Seen()[0].second);

    // Rename keeps its place, check and selection.
    SelectItem(createdItem);
    PressButton(IDC_OSM_CUSTOMIZE_TOOLBAR_RENAME, {[] {
                                                       HWND dialog = ::GetActiveWindow();
                                                       ::SetDlgItemTextA(dialog, IDC_OSM_TOOLBAR_NAME_EDIT, "Renamed");
                                                   },
                                                   Key(VK_RETURN, false), Key(VK_RETURN, true)});
    EXPECT_STREQ("Renamed", created->GetTitle());
    EXPECT_EQ(createdItem, ItemOf(created));
    EXPECT_EQ(createdItem, List().GetCurSel());
    CString text;
    List().GetText(createdItem, text);
    EXPECT_STREQ("Renamed", text);
    EXPECT_EQ(BST_CHECKED, List().GetCheck(createdItem));

    // Delete: Cancel keeps it; OK tells the frame first and removes it. A selected control of it is let go.
    COSMControl* inside = created->GetControls()->Add(1, 901);
    commandBars->SetCustomizeSelection(inside);
    g_answer = IDCANCEL;
    PressButton(IDC_OSM_CUSTOMIZE_TOOLBAR_DELETE);
    EXPECT_EQ(before + 1, commandBars->GetCount());
    EXPECT_EQ(inside, commandBars->GetCustomizeSelection());
    ASSERT_EQ(1u, g_questions.size());
    EXPECT_NE(std::string::npos, g_questions[0].find("'Renamed'"));

    g_answer = IDOK;
    PressButton(IDC_OSM_CUSTOMIZE_TOOLBAR_DELETE);
    EXPECT_EQ(before, commandBars->GetCount());
    EXPECT_EQ(nullptr, commandBars->GetCustomizeSelection());
    EXPECT_EQ(-1, ItemOf(created));
    ASSERT_EQ(2u, recorder.Seen().size());
    EXPECT_EQ(kToolbarDeleting, recorder.Seen()[1].first);
}

TEST_F(CustomizePagesTest, ResetPutsABuiltInToolbarBackAfterOneQuestion)
{
    OpenSheet();
    const int original = standard->GetControlCount();
    ASSERT_GT(original, 1);
    const int formattingBefore = formatting->GetControlCount();
    // The user dragged a button off it onto the other toolbar.
    frame.SetActiveWindow();
    PumpFor(30);
    MoveMouseTo(ControlCentre(*standard, 0));
    InputScript::Start(frame.GetSafeHwnd(),
                       {MoveTo([&] { return ControlCentre(*standard, 0) + CPoint(6, 6); }),
                        MoveTo([&] { return ControlCentre(*formatting, 1); }),
                        MoveTo([&] { return ControlCentre(*formatting, 1) + CPoint(2, 0); }),
                        Press(MOUSEEVENTF_LEFTUP)},
                       100);
    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    PumpUntil([&] { return InputScript::Done() && !commandBars->GetDropSource()->GetDraggedControl(); }, 5000);
    PumpFor(50);
    ASSERT_EQ(original - 1, standard->GetControlCount());
    ASSERT_EQ(formattingBefore + 1, formatting->GetControlCount());
    static int toolbarQuestions = 0;
    toolbarQuestions = 0;
    const auto previous = COSMToolBar::s_pfnShowMessageBox;
    COSMToolBar::s_pfnShowMessageBox = [](LPCSTR, UINT) {
        ++toolbarQuestions;
        return IDOK;
    };
    SelectItem(ItemOf(standard));
    PressButton(IDC_OSM_CUSTOMIZE_TOOLBAR_RESET);
    COSMToolBar::s_pfnShowMessageBox = previous;
    EXPECT_EQ(original, standard->GetControlCount());
    EXPECT_EQ(1u, g_questions.size());
    EXPECT_EQ(0, toolbarQuestions);
}

TEST_F(CustomizePagesTest, TheCheckListMeasuresAndDrawsItsBoxes)
{
    OpenSheet();
    COSMCustomizeCheckListBox& list = List();
    // Wine's common controls here are unthemed: 13-pixel boxes.
    ASSERT_EQ(CSize(13, 13), list.GetCheckBoxSize());
    const int height = list.GetItemHeight(0);
    EXPECT_EQ(std::max(13 + 3, list.CalcMinimumItemHeight()), height);

    CRect item;
    list.GetItemRect(0, item);
    const CRect box = list.GetCheckBoxRect(0);
    EXPECT_EQ(CRect(CPoint(item.left + 1, item.top + std::max(0, (height - 13) / 2) + 1), CSize(13, 13)), box);

    // The pixels: the classic box's dark frame at its left edge, the window colour before it, text to the right.
    list.RedrawWindow();
    PumpFor(50);
    CRect client;
    list.GetClientRect(client);
    foundation_test::DcTestSurface surface(client.Width(), client.Height());
    HDC listDC = ::GetDC(list.GetSafeHwnd());
    ::BitBlt(surface.GetDC(), 0, 0, client.Width(), client.Height(), listDC, 0, 0, SRCCOPY);
    ::ReleaseDC(list.GetSafeHwnd(), listDC);
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    const int middle = box.top + box.Height() / 2;
    ASSERT_EQ(-1, list.GetCurSel());
    EXPECT_EQ(window, surface.Pixel(box.left - 1, middle));
    EXPECT_NE(window, surface.Pixel(box.left, middle));
    EXPECT_NE(window, surface.Pixel(box.left + box.Width() / 2, box.top));
    int textPixels = 0;
    for (int y = item.top; y < item.bottom; ++y)
        for (int x = box.right + 3; x < item.right; ++x)
            textPixels += surface.Pixel(x, y) != window;
    EXPECT_GT(textPixels, 10);
}

// ---- The commands page ----

TEST_F(CustomizePagesTest, TheCommandsPageListsCategoriesAndTheirControls)
{
    OpenSheet(1);
    CListBox& categories = Commands()->GetCategoriesList();
    COSMCustomizeCommandsListBox& commands = Commands()->GetCommandsList();
    ASSERT_EQ(2, categories.GetCount());
    CString name;
    categories.GetText(0, name);
    EXPECT_STREQ("File", name);
    categories.GetText(1, name);
    EXPECT_STREQ("Help", name);
    EXPECT_EQ(0, categories.GetCurSel());
    ASSERT_EQ(1, commands.GetCount());
    EXPECT_EQ(Commands()->GetCategory(0)->controls->GetAt(0), reinterpret_cast<COSMControl*>(commands.GetItemData(0)));
    EXPECT_EQ(static_cast<int>(ID_TEST_FILE_NEW),
              static_cast<int>(Commands()->GetCategory(0)->controls->GetAt(0)->GetID()));

    // Another category replaces the list, in its order.
    ClickAt(ScreenPoint(categories, [&] {
        CRect rect;
        categories.GetItemRect(1, rect);
        return rect.CenterPoint();
    }()));
    EXPECT_EQ(1, categories.GetCurSel());
    ASSERT_EQ(1, commands.GetCount());
    EXPECT_EQ(static_cast<int>(ID_TEST_HELP_ABOUT),
              static_cast<int>(reinterpret_cast<COSMControl*>(commands.GetItemData(0))->GetID()));

    // Items as tall as the paint manager's list entries.
    const CSize entry =
        commandBars->GetPaintManager()->DrawListBoxControl(nullptr, nullptr, CRect(), FALSE, FALSE, commandBars.Get());
    EXPECT_EQ(entry.cy, commands.GetItemHeight(0));

    // The page keeps popups open while it exists.
    const HWND page = Commands()->GetSafeHwnd();
    EXPECT_TRUE(commandBars->GetMouseManager()->IsSafeWindow(page));
    sheet->DestroyWindow();
    sheet = nullptr;
    EXPECT_FALSE(commandBars->GetMouseManager()->IsSafeWindow(page));
}

TEST_F(CustomizePagesTest, WithoutCategoriesBothListsStayEmpty)
{
    OpenSheet(1, false);
    EXPECT_EQ(0, Commands()->GetCategoriesList().GetCount());
    EXPECT_EQ(0, Commands()->GetCommandsList().GetCount());
    EXPECT_EQ(nullptr, Commands()->GetCategory(0));
    EXPECT_EQ(nullptr, Commands()->GetCategory(-1));
}

TEST_F(CustomizePagesTest, RightToLeftBarsMirrorBothLists)
{
    commandBars->SetRightToLeft(TRUE);
    OpenSheet(1);
    EXPECT_EQ(static_cast<DWORD>(WS_EX_LAYOUTRTL), Commands()->GetCommandsList().GetExStyle() & WS_EX_LAYOUTRTL);
    EXPECT_EQ(static_cast<DWORD>(0x7000), Commands()->GetCategoriesList().GetExStyle() & 0x7000);
    sheet->SetActivePage(0);
    PumpFor(30);
    EXPECT_EQ(static_cast<DWORD>(WS_EX_LAYOUTRTL), List().GetExStyle() & WS_EX_LAYOUTRTL);
    sheet->DestroyWindow();
    sheet = nullptr;
    commandBars->SetRightToLeft(FALSE);
}

TEST_F(CustomizePagesTest, PressingACommandDragsACopyOntoAToolbar)
{
    OpenSheet(1);
    COSMCustomizeCommandsListBox& commands = Commands()->GetCommandsList();
    COSMControl* command = reinterpret_cast<COSMControl*>(commands.GetItemData(0));
    ASSERT_NE(nullptr, command);
    const int before = formatting->GetControlCount();

    // Below the last item: neither a selection nor a drag.
    CRect last;
    commands.GetItemRect(commands.GetCount() - 1, last);
    ClickAt(ScreenPoint(commands, CPoint(last.CenterPoint().x, last.bottom + 10)));
    EXPECT_EQ(-1, commands.GetCurSel());
    EXPECT_EQ(before, formatting->GetControlCount());

    // Pressed on the item and released over the toolbar: a copy lands there, the category keeps its control.
    COSMControl* dragged = nullptr;
    MoveMouseTo(ScreenPoint(commands, last.CenterPoint()));
    InputScript::Start(frame.GetSafeHwnd(),
                       {MoveTo(ScreenPoint(commands, last.CenterPoint() + CPoint(5, 5))),
                        MoveTo([&] { return ControlCentre(*formatting, 1); }),
                        [&] { dragged = commandBars->GetDropSource()->GetDraggedControl(); },
                        MoveTo([&] { return ControlCentre(*formatting, 1) + CPoint(2, 0); }),
                        Press(MOUSEEVENTF_LEFTUP)},
                       100);
    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    PumpUntil([&] { return InputScript::Done() && !commandBars->GetDropSource()->GetDraggedControl(); }, 5000);
    PumpFor(50);
    EXPECT_EQ(command, dragged);
    EXPECT_EQ(0, commands.GetCurSel());
    ASSERT_EQ(before + 1, formatting->GetControlCount());
    EXPECT_EQ(static_cast<int>(ID_TEST_FILE_NEW),
              static_cast<int>(formatting->GetControls()->FindControlById(ID_TEST_FILE_NEW)->GetID()));
    EXPECT_NE(command, formatting->GetControls()->FindControlById(ID_TEST_FILE_NEW));
    EXPECT_EQ(command, Commands()->GetCategory(0)->controls->GetAt(0));
    EXPECT_EQ(command, reinterpret_cast<COSMControl*>(commands.GetItemData(0)));
}

TEST_F(CustomizePagesTest, AnEmptyPopupIsDraggedAsADeepCopy)
{
    RefPtr<COSMControls> controls = AdoptRef(new COSMControls);
    controls->SetCommandBars(commandBars.Get());
    auto* popup = static_cast<COSMControlPopup*>(controls->Add(2, 0));
    ASSERT_NE(nullptr, popup);
    popup->SetCaption("Empty");
    RefPtr<COSMPopupBar> bar = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars.Get()));
    popup->SetCommandBar(bar.Get());
    sheet = new COSMCustomizeSheet(commandBars.Get());
    sheet->GetCommandsPage()->AddCategory("Popups", controls.Get());
    ASSERT_TRUE(sheet->Create());
    MoveBesideTheFrame();
    sheet->SetActivePage(1);
    PumpFor(80);
    COSMCustomizeCommandsListBox& commands = Commands()->GetCommandsList();
    CRect item;
    commands.GetItemRect(0, item);

    COSMControl* dragged = nullptr;
    MoveMouseTo(ScreenPoint(commands, item.CenterPoint()));
    InputScript::Start(frame.GetSafeHwnd(),
                       {MoveTo(ScreenPoint(commands, item.CenterPoint() + CPoint(5, 5))),
                        [&] { dragged = commandBars->GetDropSource()->GetDraggedControl(); }, Key(VK_ESCAPE, false),
                        Key(VK_ESCAPE, true), Press(MOUSEEVENTF_LEFTUP)},
                       100);
    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    PumpUntil([&] { return InputScript::Done() && !commandBars->GetDropSource()->GetDraggedControl(); }, 5000);
    ASSERT_NE(nullptr, dragged);
    EXPECT_NE(popup, dragged);
    EXPECT_EQ(1, controls->GetCount());
}

TEST_F(CustomizePagesTest, PagesMadeByTheirCreateFunctionsHaveNoSheetAndStayInert)
{
    std::unique_ptr<CObject> toolbarsObject(RUNTIME_CLASS(COSMCustomizeToolbarsPage)->CreateObject());
    std::unique_ptr<CObject> commandsObject(RUNTIME_CLASS(COSMCustomizeCommandsPage)->CreateObject());
    auto* toolbars = dynamic_cast<COSMCustomizeToolbarsPage*>(toolbarsObject.get());
    auto* commands = dynamic_cast<COSMCustomizeCommandsPage*>(commandsObject.get());
    ASSERT_NE(nullptr, toolbars);
    ASSERT_NE(nullptr, commands);
    EXPECT_EQ(nullptr, toolbars->GetCustomizeSheet());
    CPropertySheet plain("Pages alone");
    plain.AddPage(toolbars);
    plain.AddPage(commands);
    ASSERT_TRUE(plain.Create(&frame));
    plain.SetActivePage(1);
    plain.SetActivePage(0);
    PumpFor(50);
    EXPECT_EQ(0, toolbars->GetList().GetCount());
    EXPECT_EQ(0, commands->GetCategoriesList().GetCount());
    EXPECT_EQ(0, commands->GetCommandsList().GetCount());
    const int bars = commandBars->GetCount();
    for (int id : {IDC_OSM_CUSTOMIZE_TOOLBAR_NEW, IDC_OSM_CUSTOMIZE_TOOLBAR_RENAME, IDC_OSM_CUSTOMIZE_TOOLBAR_DELETE,
                   IDC_OSM_CUSTOMIZE_TOOLBAR_RESET})
    {
        HWND button = ::GetDlgItem(toolbars->GetSafeHwnd(), id);
        EXPECT_FALSE(::IsWindowEnabled(button)) << id;
        ::SendMessageA(toolbars->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(button));
    }
    EXPECT_EQ(bars, commandBars->GetCount());
    EXPECT_TRUE(g_questions.empty());
    plain.DestroyWindow();
}

}  // namespace
