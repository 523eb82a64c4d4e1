// The command bars end to end, as an application has them: a frame with the manager, dock bars, a menu bar from a
// menu resource, two toolbars from toolbar resources and a context menu on the right button, driven only by
// synthesized input. Commands arrive from the menu, a toolbar button and the context menu; Ctrl+Tab walks the bars
// and Alt then a button's access key runs it; a button dragged in customize mode from one toolbar to the other, and a
// toolbar floating at a place, survive saving the bars to a file and loading them into a frame built afresh. Pictures
// of the frame before saving and after loading go to the build tree's artefacts folder (looked at by people, never
// compared: fonts differ between machines). A program of its own that runs alone.
#include "DockTestSupport.h"
#include "EndToEndPictures.h"
#include "PersistenceTestSupport.h"
#include "EndToEndTestIds.h"
#include "InputTestSupport.h"

#include "framework/commandbars/CustomizeDropSource.h"
#include "framework/commandbars/MenuBar.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/foundation/PropExchangeArchive.h"

#include <string>
#include <vector>

using namespace commandbars_test;

namespace {

// The popup of a bar's popup control (null while it has none).
COSMCommandBar* PopupOf(const COSMCommandBar& bar, int index)
{
    COSMControl* control = bar.GetControl(index);
    return control ? control->GetCommandBar() : nullptr;
}

// The frame: records WM_COMMAND (the shared test frame) and shows the context menu on a right click of its client,
// keeping the id it answers.
class EndToEndFrame : public CCommandBarsTestFrame
{
public:
    COSMPopupBar* contextMenu = nullptr;
    std::vector<int> contextAnswers;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_RBUTTONUP && contextMenu)
        {
            CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            ClientToScreen(&point);
            contextAnswers.push_back(
                COSMCommandBars::TrackPopupMenu(contextMenu, TPM_RETURNCMD, point.x, point.y, this));
            return 0;
        }
        return CCommandBarsTestFrame::WindowProc(message, wParam, lParam);
    }
};

// What an application builds at start: the frame, its manager and dock bars, the menu bar, the two built-in
// toolbars and the context menu. Both sites of a test sit at the same place, so that bars land alike.
struct EndToEndSite
{
    EndToEndSite()
    {
        created =
            frame.CreateTestFrame("end to end", CRect(60, 60, 700, 460)) && ActivateTestWindow(frame.GetSafeHwnd());
        commandBars->SetSite(&frame);
        // The frame has no command handlers: idle updates must not grey what the test clicks.
        commandBars->GetCommandBarsOptions()->m_disableCommandsWithoutHandler = FALSE;
        created = created && commandBars->CreateDockBars();
        menuBar = dynamic_cast<COSMMenuBar*>(commandBars->AddMenuBar("Menu Bar", IDR_E2E_MENU));
        standard = AddResourceToolBar("Standard", IDR_E2E_STANDARD);
        format = AddResourceToolBar("Format", IDR_E2E_FORMAT);
        CMenu menu;
        if (menu.LoadMenu(IDR_E2E_CONTEXT))
        {
            contextMenu = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars.Get()));
            created = created && contextMenu->LoadMenu(menu.GetSubMenu(0), TRUE);
            frame.contextMenu = contextMenu.Get();
        }
        created = created && menuBar && standard && format && contextMenu;
        frame.RecalcLayout();
        PumpFor(100);
    }
    ~EndToEndSite()
    {
        InputScript::Stop(frame.GetSafeHwnd());
        frame.contextMenu = nullptr;
        commandBars->ClosePopups();
        contextMenu.Reset();
        commandBars.Reset();
        frame.DestroyWindow();
    }

    COSMToolBar* AddResourceToolBar(const char* title, UINT id)
    {
        auto* bar = dynamic_cast<COSMToolBar*>(commandBars->AddToolBar(title, id));
        if (!bar || !bar->LoadToolBar(id, FALSE))
            return nullptr;
        bar->SetBuiltIn(TRUE);
        return bar;
    }

    // Runs the steps from the frame's timer and pumps until they ran and done holds.
    bool Drive(std::vector<Step> steps, const std::function<bool()>& done)
    {
        InputScript::Start(frame.GetSafeHwnd(), std::move(steps));
        return PumpUntil([&] { return InputScript::Done() && done(); }, 6000);
    }

    BOOL created = FALSE;
    EndToEndFrame frame;
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    COSMMenuBar* menuBar = nullptr;
    COSMToolBar* standard = nullptr;
    COSMToolBar* format = nullptr;
    RefPtr<COSMPopupBar> contextMenu;
};

// What the test compares of a bar before saving and after loading.
struct BarState
{
    UINT id;
    std::string title;
    int position;
    BOOL visible;
    CRect rect;  // in the frame's client
    std::vector<UINT> controls;

    bool operator==(const BarState& other) const
    {
        return id == other.id && title == other.title && position == other.position && visible == other.visible &&
               rect == other.rect && controls == other.controls;
    }
};

void PrintTo(const BarState& s, std::ostream* os)
{
    *os << "{" << s.id << " \"" << s.title << "\" position " << s.position << (s.visible ? " visible" : " hidden")
        << " (" << s.rect.left << "," << s.rect.top << ")-(" << s.rect.right << "," << s.rect.bottom << ") [";
    for (UINT id : s.controls)
        *os << " " << id;
    *os << " ]}";
}

std::vector<BarState> BarStates(const EndToEndSite& site)
{
    std::vector<BarState> states;
    for (int i = 0; i < site.commandBars->GetCount(); ++i)
    {
        const COSMCommandBar* bar = site.commandBars->GetAt(i);
        BarState state{
            bar->GetBarID(), static_cast<LPCSTR>(bar->GetTitle()), bar->GetPosition(), bar->IsVisible(), CRect(),
            ControlIds(*bar)};
        if (bar->GetSafeHwnd())
        {
            ::GetWindowRect(bar->GetSafeHwnd(), &state.rect);
            ::MapWindowPoints(nullptr, site.frame.GetSafeHwnd(), reinterpret_cast<POINT*>(&state.rect), 2);
        }
        states.push_back(state);
    }
    return states;
}

std::vector<std::string> DockRows(const EndToEndSite& site)
{
    std::vector<std::string> rows;
    for (int side = 0; side < 4; ++side)
        rows.push_back(DescribeRows(site.commandBars->GetDockBar(side)));
    return rows;
}

class EndToEndTest : public CommandBarsTest
{
protected:
    // An application's frame reads no call log: it draws in the look the themes library enters for id 0.
    void SetUp() override
    {
        CommandBarsTest::SetUp();
        COSMPaintManager::RegisterThemes();
    }
    void TearDown() override
    {
        SendMouseInput(MOUSEEVENTF_LEFTUP);
        SendMouseInput(MOUSEEVENTF_RIGHTUP);
        MoveMouseTo(CPoint(1200, 1000));
        CommandBarsTest::TearDown();
    }
};

TEST_F(EndToEndTest, MenuToolbarAndContextMenuClicksReachTheFrame)
{
    EndToEndSite site;
    ASSERT_TRUE(site.created);
    COSMMenuBar& menuBar = *site.menuBar;
    ASSERT_TRUE(menuBar.IsWindowVisible());
    ASSERT_EQ(2, menuBar.GetControlCount());
    site.frame.ClearRecords();

    // A click on File in the menu bar opens its menu and leaves it open; a click on New, its first item, runs New
    // once and closes the menu.
    bool opened = false;
    ASSERT_TRUE(site.Drive({MoveTo([&] { return ControlCentre(menuBar, 0); }), Press(MOUSEEVENTF_LEFTDOWN),
                            Press(MOUSEEVENTF_LEFTUP), [] {}, MoveTo([&] {
                                COSMCommandBar* popup = PopupOf(menuBar, 0);
                                opened = popup && popup->GetSafeHwnd() && popup->IsWindowVisible() &&
                                         menuBar.GetTrackingMode() == 2;
                                return opened ? ControlCentre(*popup, 0) : CPoint(0, 0);
                            }),
                            Press(MOUSEEVENTF_LEFTDOWN), Press(MOUSEEVENTF_LEFTUP)},
                           [&] { return site.frame.CountOf(WM_COMMAND) > 0; }));
    EXPECT_TRUE(opened);
    PumpFor(100);
    ASSERT_EQ(1, site.frame.CountOf(WM_COMMAND));
    EXPECT_EQ(static_cast<WPARAM>(ID_E2E_NEW), LOWORD(site.frame.RecordsOf(WM_COMMAND)[0].wParam));
    const COSMCommandBar* filePopup = PopupOf(menuBar, 0);
    EXPECT_TRUE(!filePopup || !filePopup->GetSafeHwnd() || !filePopup->IsWindowVisible());
    EXPECT_EQ(0, menuBar.GetTrackingMode());

    // Open, the Standard toolbar's second button.
    site.frame.ClearRecords();
    ASSERT_EQ(ID_E2E_OPEN, site.standard->GetControl(1)->GetID());
    ClickAt(ControlCentre(*site.standard, 1));
    ASSERT_TRUE(PumpUntil([&] { return site.frame.CountOf(WM_COMMAND) > 0; }));
    PumpFor(100);
    ASSERT_EQ(1, site.frame.CountOf(WM_COMMAND));
    EXPECT_EQ(static_cast<WPARAM>(ID_E2E_OPEN), LOWORD(site.frame.RecordsOf(WM_COMMAND)[0].wParam));

    // A right click below the bars opens the context menu; Copy, its second item, is the answer and no command.
    site.frame.ClearRecords();
    CRect client;
    site.frame.GetClientRect(&client);
    const CPoint free = ScreenPoint(site.frame, CPoint(client.CenterPoint().x, client.bottom - 60));
    ASSERT_TRUE(site.Drive({MoveTo(free), Press(MOUSEEVENTF_RIGHTDOWN), Press(MOUSEEVENTF_RIGHTUP), MoveTo([&] {
                                COSMPopupBar* popup = site.contextMenu.Get();
                                EXPECT_NE(nullptr, popup->GetSafeHwnd());
                                return popup->GetSafeHwnd() ? ControlCentre(*popup, 1) : CPoint(0, 0);
                            }),
                            Press(MOUSEEVENTF_LEFTDOWN), Press(MOUSEEVENTF_LEFTUP)},
                           [&] { return !site.frame.contextAnswers.empty(); }));
    EXPECT_EQ(std::vector<int>{ID_E2E_COPY}, site.frame.contextAnswers);
    PumpFor(100);
    EXPECT_EQ(0, site.frame.CountOf(WM_COMMAND));
    EXPECT_EQ(nullptr, site.contextMenu->GetSafeHwnd());
}

// Ctrl+Tab (with Shift: backwards) pressed as a user does: Ctrl and Shift held around a Tab.
void SendCtrlTab(bool backward)
{
    QueueKeyEvent(VK_CONTROL, false);
    if (backward)
        QueueKeyEvent(VK_SHIFT, false);
    QueueKeyEvent(VK_TAB, false);
    QueueKeyEvent(VK_TAB, true);
    if (backward)
        QueueKeyEvent(VK_SHIFT, true);
    QueueKeyEvent(VK_CONTROL, true);
    PumpFor(80);
}

// The bars of the site that track, by title.
std::vector<std::string> TrackingBars(const EndToEndSite& site)
{
    std::vector<std::string> titles;
    for (int i = 0; i < site.commandBars->GetCount(); ++i)
    {
        const COSMCommandBar* bar = site.commandBars->GetAt(i);
        if (bar->GetTrackingMode() != 0)
            titles.push_back(static_cast<LPCSTR>(bar->GetTitle()));
    }
    return titles;
}

const COSMCommandBar* BarTitled(const EndToEndSite& site, const std::string& title)
{
    for (int i = 0; i < site.commandBars->GetCount(); ++i)
        if (title == static_cast<LPCSTR>(site.commandBars->GetAt(i)->GetTitle()))
            return site.commandBars->GetAt(i);
    return nullptr;
}

TEST_F(EndToEndTest, CtrlTabMovesFromBarToBarAndBack)
{
    EndToEndSite site;
    ASSERT_TRUE(site.created);
    site.frame.SetFocus();

    // A lone Alt: the menu bar tracks from the keyboard with File selected.
    SendKey(VK_MENU);
    ASSERT_TRUE(PumpUntil([&] { return site.menuBar->GetTrackingMode() == 1; }));
    ASSERT_EQ(std::vector<std::string>{"Menu Bar"}, TrackingBars(site));
    EXPECT_EQ(0, site.menuBar->GetSelectedIndex());

    // Each press hands the keyboard to the next visible bar in the manager's order (round past either end), with
    // that bar's first control selected; the bar before lets go.
    const struct
    {
        bool backward;
        const char* tracking;
    } presses[] = {
        {false, "Standard"}, {false, "Format"},  {false, "Menu Bar"},
        {true, "Format"},    {true, "Standard"}, {true, "Menu Bar"},
    };
    for (const auto& press : presses)
    {
        SCOPED_TRACE(std::string(press.backward ? "Ctrl+Shift+Tab to " : "Ctrl+Tab to ") + press.tracking);
        SendCtrlTab(press.backward);
        ASSERT_EQ(std::vector<std::string>{press.tracking}, TrackingBars(site));
        const COSMCommandBar* bar = BarTitled(site, press.tracking);
        ASSERT_NE(nullptr, bar);
        EXPECT_EQ(0, bar->GetSelectedIndex());
        EXPECT_TRUE(bar->IsSelectedByKeyboard());
    }
    EXPECT_TRUE(site.commandBars->IsKeyboardCuesShown());

    // Escape lets the last one go: no command ran on the way.
    SendKey(VK_ESCAPE);
    EXPECT_TRUE(TrackingBars(site).empty());
    EXPECT_EQ(0, site.frame.CountOf(WM_COMMAND));
}

// Bold marks B as its access key (neither menu bar caption, File and Help, nor another button has it), shown, with
// the keyboard on the frame and nothing recorded yet.
void MarkBoldsAccessKey(EndToEndSite& site)
{
    site.format->GetControl(0)->SetCaption("&Bold");
    site.frame.RecalcLayout();
    PumpFor(100);
    ASSERT_TRUE(site.format->GetControl(0)->IsCaptionVisible());
    site.frame.SetFocus();
    site.frame.ClearRecords();
}

TEST_F(EndToEndTest, AltThenAToolbarButtonsAccessKeyRunsItsCommandOnce)
{
    EndToEndSite site;
    ASSERT_TRUE(site.created);
    ASSERT_NO_FATAL_FAILURE(MarkBoldsAccessKey(site));

    SendKey(VK_MENU);
    ASSERT_TRUE(PumpUntil([&] { return site.menuBar->GetTrackingMode() == 1; }));
    SendKey('B');
    PumpFor(150);
    const auto commands = site.frame.RecordsOf(WM_COMMAND);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ(static_cast<WPARAM>(ID_E2E_BOLD), LOWORD(commands[0].wParam));
    // The menu bar gave the keyboard up, and no menu opened.
    EXPECT_EQ(0, site.menuBar->GetTrackingMode());
    EXPECT_EQ(-1, site.menuBar->GetPopupedIndex());

    // A key that is nobody's access key runs nothing.
    site.commandBars->ClosePopups();
    site.frame.ClearRecords();
    SendKey(VK_MENU);
    ASSERT_TRUE(PumpUntil([&] { return site.menuBar->GetTrackingMode() == 1; }));
    SendKey('Q');
    PumpFor(100);
    EXPECT_EQ(0, site.frame.CountOf(WM_COMMAND));
    site.commandBars->ClosePopups();
}

// Alt held while the access key is typed, as most users type it: the toolbar button runs once, and a menu title opens
// its menu.
TEST_F(EndToEndTest, AltHeldWithAnAccessKeyRunsTheButtonOrOpensTheMenu)
{
    EndToEndSite site;
    ASSERT_TRUE(site.created);
    ASSERT_NO_FATAL_FAILURE(MarkBoldsAccessKey(site));

    SendKey(VK_MENU, true, false);
    SendKey('B');
    SendKey(VK_MENU, false, true);
    PumpFor(150);
    const auto commands = site.frame.RecordsOf(WM_COMMAND);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ(static_cast<WPARAM>(ID_E2E_BOLD), LOWORD(commands[0].wParam));
    EXPECT_EQ(-1, site.menuBar->GetPopupedIndex());

    site.frame.ClearRecords();
    SendKey(VK_MENU, true, false);
    SendKey('F');
    SendKey(VK_MENU, false, true);
    ASSERT_TRUE(PumpUntil([&] { return site.menuBar->GetPopupedIndex() == 0; }));
    EXPECT_NE(nullptr, PopupOf(*site.menuBar, 0));
    EXPECT_EQ(0, site.frame.CountOf(WM_COMMAND));
    site.commandBars->ClosePopups();
}

// A store of the site's bars in the file, and the same loaded into a fresh site.
void SaveSite(EndToEndSite& site, const std::string& store)
{
    SaveBarsToFile(site.commandBars.Get(), store);
}

void LoadSite(EndToEndSite& site, const std::string& store)
{
    ASSERT_NO_FATAL_FAILURE(LoadBarsFromFile(site.commandBars.Get(), store));
    site.frame.RecalcLayout();
    PumpFor(150);
}

TEST_F(EndToEndTest, AFloatingToolbarFloatsAtTheSamePlaceAfterSavingAndLoading)
{
    const std::string store = ArtefactsFolder() + "/end-to-end-floating.dat";
    const CPoint place(430, 330);
    CRect floated;
    {
        EndToEndSite site;
        ASSERT_TRUE(site.created);
        // Format floats, and its window is left at the place, as a drag of its caption leaves it.
        ASSERT_TRUE(site.commandBars->FloatCommandBar(site.format));
        ::SetWindowPos(site.format->GetSafeHwnd(), nullptr, place.x, place.y, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        PumpFor(100);
        site.format->GetWindowRect(&floated);
        ASSERT_EQ(place, floated.TopLeft());
        ASSERT_NO_FATAL_FAILURE(SaveSite(site, store));
    }

    // The application starts again with Format docked, as it makes it; the store floats it where it was.
    EndToEndSite site;
    ASSERT_TRUE(site.created);
    ASSERT_TRUE(site.format->IsDocked());
    ASSERT_NO_FATAL_FAILURE(LoadSite(site, store));
    COSMCommandBar* format = site.commandBars->FindCommandBar(IDR_E2E_FORMAT);
    ASSERT_EQ(site.format, format);
    EXPECT_EQ(COSMCommandBar::kPositionFloating, format->GetPosition());
    EXPECT_FALSE(site.format->IsDocked());
    EXPECT_TRUE(format->GetStyle() & WS_POPUP);
    EXPECT_TRUE(format->IsWindowVisible());
    CRect loaded;
    format->GetWindowRect(&loaded);
    EXPECT_EQ(floated, loaded);
    // Standard stays docked where it was.
    EXPECT_TRUE(site.standard->IsDocked());
}

TEST_F(EndToEndTest, AButtonDraggedToTheOtherToolbarStaysThereAfterSavingAndLoading)
{
    const std::string folder = ArtefactsFolder();
    const std::string store = folder + "/end-to-end-bars.dat";
    std::vector<BarState> before;
    std::vector<std::string> rowsBefore;
    {
        EndToEndSite site;
        ASSERT_TRUE(site.created);
        const std::vector<UINT> standardIds{ID_E2E_NEW, ID_E2E_OPEN, ID_E2E_SAVE};
        const std::vector<UINT> formatIds{ID_E2E_BOLD, ID_E2E_ITALIC, ID_E2E_UNDERLINE};
        ASSERT_EQ(standardIds, ControlIds(*site.standard));
        ASSERT_EQ(formatIds, ControlIds(*site.format));

        // Customize mode: Open is dragged onto Italic's left half, so it lands between Bold and Italic.
        site.commandBars->SetCustomizeMode(TRUE);
        COSMCustomizeDropSource* dropSource = site.commandBars->GetDropSource();
        COSMToolBar& format = *site.format;
        const CPoint dropPoint = [&] {
            CRect italic = format.GetControl(1)->GetRect();
            return ScreenPoint(format, CPoint(italic.left + 3, italic.CenterPoint().y));
        }();
        const CPoint away = ScreenPoint(site.frame, CPoint(300, 250));
        MoveMouseTo(ControlCentre(*site.standard, 1));
        ASSERT_TRUE(site.Drive({Press(MOUSEEVENTF_LEFTDOWN), MoveTo(away), MoveTo(dropPoint),
                                MoveTo(dropPoint + CPoint(1, 0)), Press(MOUSEEVENTF_LEFTUP)},
                               [&] { return !dropSource->GetDraggedControl(); }));
        PumpFor(100);
        site.commandBars->SetCustomizeMode(FALSE);
        PumpFor(100);
        EXPECT_EQ((std::vector<UINT>{ID_E2E_NEW, ID_E2E_SAVE}), ControlIds(*site.standard));
        EXPECT_EQ((std::vector<UINT>{ID_E2E_BOLD, ID_E2E_OPEN, ID_E2E_ITALIC, ID_E2E_UNDERLINE}),
                  ControlIds(*site.format));

        before = BarStates(site);
        rowsBefore = DockRows(site);
        const std::string picture = folder + "/end-to-end-before-save.bmp";
        ASSERT_TRUE(WriteWindowBitmap(site.frame.GetSafeHwnd(), picture));
        ExpectBitmapOfWindow(picture, site.frame.GetSafeHwnd());

        ASSERT_NO_FATAL_FAILURE(SaveSite(site, store));
    }

    // A program that starts again: the same bars built afresh, then the saved state loaded over them.
    EndToEndSite site;
    ASSERT_TRUE(site.created);
    ASSERT_NO_FATAL_FAILURE(LoadSite(site, store));
    const std::string picture = folder + "/end-to-end-after-load.bmp";
    ASSERT_TRUE(WriteWindowBitmap(site.frame.GetSafeHwnd(), picture));
    ExpectBitmapOfWindow(picture, site.frame.GetSafeHwnd());

    // The toolbars found by their ids, wherever the load put them in the list.
    COSMCommandBar* standard = site.commandBars->FindCommandBar(IDR_E2E_STANDARD);
    COSMCommandBar* format = site.commandBars->FindCommandBar(IDR_E2E_FORMAT);
    ASSERT_TRUE(standard && format);
    EXPECT_EQ((std::vector<UINT>{ID_E2E_NEW, ID_E2E_SAVE}), ControlIds(*standard));
    EXPECT_EQ((std::vector<UINT>{ID_E2E_BOLD, ID_E2E_OPEN, ID_E2E_ITALIC, ID_E2E_UNDERLINE}), ControlIds(*format));
    EXPECT_EQ(before, BarStates(site));
    EXPECT_EQ(rowsBefore, DockRows(site));
    ASSERT_NE(nullptr, site.commandBars->GetMenuBar());
    EXPECT_EQ(2, site.commandBars->GetMenuBar()->GetControlCount());
    EXPECT_NE(nullptr, PopupOf(*site.commandBars->GetMenuBar(), 0));
}

}  // namespace
