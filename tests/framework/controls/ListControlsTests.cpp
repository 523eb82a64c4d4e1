// The menu list controls on an MDI frame with its manager: the open windows, the toolbars, the recent files and the
// selected object's verbs fill a real popup as it shows, rebuild each time, show only their placeholder in customize
// mode, and run what a click on an entry asks for; the factory makes them by id, and stored bars by class name. The
// selector measures, paints into a DIB section, follows the mouse, notifies its site, executes on the release, and
// grows under a real drag.
#include "FakeOleObject.h"
#include "InputTestSupport.h"
#include "MenuBarTestSupport.h"

#include "classlib/Archive.h"
#include "classlib/DC.h"
#include "classlib/MemFile.h"
#include "classlib/OleDocument.h"
#include "classlib/RecentFileList.h"
#include "classlib/View.h"
#include "framework/commandbars/ControlButton.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/commandbars/ControlToolbars.h"
#include "framework/commandbars/ToolBar.h"
#include "framework/controls/ControlOleItems.h"
#include "framework/controls/ControlRecentFileList.h"
#include "framework/controls/ControlSelector.h"
#include "framework/controls/ControlWindowList.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/PropExchangeArchive.h"

#include <optional>
#include <set>
#include <string>
#include <vector>

using namespace commandbars_test;

namespace {

// ---- Made by id and by class name ----

TEST(ListControlFactoryTest, CommandIdsMakeTheirListControls)
{
    COSMControlFactory::ResetRegistrations();
    COSMCommandBar owner;
    const struct
    {
        int id;
        CRuntimeClass* made;
    } added[] = {
        {35000, RUNTIME_CLASS(COSMControlWindowList)},     {59392, RUNTIME_CLASS(COSMControlToolbars)},
        {35003, RUNTIME_CLASS(COSMControlRecentFileList)}, {35004, RUNTIME_CLASS(COSMControlButton)},
        {57616, RUNTIME_CLASS(COSMControlButton)},
    };
    for (const auto& c : added)
    {
        COSMControl* control = owner.GetControls()->Add(1, c.id);
        ASSERT_NE(nullptr, control) << c.id;
        EXPECT_EQ(c.made, control->GetRuntimeClass()) << c.id;
        EXPECT_EQ(1, control->GetType()) << c.id;
    }

    const struct
    {
        UINT id;
        const char* caption;
        CRuntimeClass* made;
    } converted[] = {
        {57616, "Recent File", RUNTIME_CLASS(COSMControlRecentFileList)},
        {35003, "Recent File", RUNTIME_CLASS(COSMControlButton)},
        {57872, "<<OLE VERBS GO HERE>>", RUNTIME_CLASS(COSMControlOleItems)},
        {57872, "&Object", RUNTIME_CLASS(COSMControlButton)},
        {35000, "Windows", RUNTIME_CLASS(COSMControlWindowList)},
        {59392, "Toolbars", RUNTIME_CLASS(COSMControlToolbars)},
    };
    for (const auto& c : converted)
    {
        CMenu menu;
        ASSERT_TRUE(menu.CreatePopupMenu());
        menu.AppendMenu(MF_STRING, c.id, c.caption);
        COSMControl* control = owner.GetControls()->AddMenuItem(&menu, 0);
        ASSERT_NE(nullptr, control) << c.caption;
        EXPECT_EQ(c.made, control->GetRuntimeClass()) << c.caption;
        menu.DestroyMenu();
    }
}

TEST(ListControlFactoryTest, EachClassNameMakesItsClassAndClonesKeepIt)
{
    const char* names[] = {"COSMControlWindowList", "COSMControlToolbars", "COSMControlOleItems",
                           "COSMControlRecentFileList", "COSMControlSelector"};
    for (const char* name : names)
    {
        CRuntimeClass* runtimeClass = CRuntimeClass::FromName(name);
        ASSERT_NE(nullptr, runtimeClass) << name;
        EXPECT_EQ(0x80000022u, runtimeClass->m_wSchema) << name;
        const RefPtr<COSMControl> control = AdoptRef(static_cast<COSMControl*>(runtimeClass->CreateObject()));
        ASSERT_NE(nullptr, control.Get()) << name;
        EXPECT_STREQ(name, control->GetRuntimeClass()->m_lpszClassName);
        control->SetCaption("Copied");
        const RefPtr<COSMControl> clone = AdoptRef(control->Clone(FALSE));
        EXPECT_EQ(runtimeClass, clone->GetRuntimeClass()) << name;
        EXPECT_STREQ("Copied", clone->GetCaption()) << name;
    }
}

// ---- The selector, without a window ----

// Stores the bar's controls and loads them into a fresh bar's.
void RoundTripControls(COSMCommandBar& source, COSMCommandBar& loaded)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        COSMPropExchangeArchive px(ar);
        source.GetControls()->DoPropExchange(&px);
        ar.Close();
    }
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    COSMPropExchangeArchive px(ar);
    loaded.GetControls()->DoPropExchange(&px);
    ar.Close();
}

TEST(SelectorTest, BarsOfListControlsAndSelectorsComeBackWithTheirClassesAndKeys)
{
    COSMCommandBar source;
    source.GetControls()->Add(1, 35000)->SetCaption("&Windows");
    source.GetControls()->Add(1, 35003)->SetCaption("Recent");
    auto* selector = new COSMControlSelector;
    selector->SetItemsCount(CSize(3, 2));
    selector->SetItemsMax(CSize(8, 6));
    selector->SetItemSize(CSize(20, 18));
    source.GetControls()->AddControl(selector, 4100);

    COSMCommandBar loaded;
    RoundTripControls(source, loaded);
    ASSERT_EQ(3, loaded.GetControlCount());
    EXPECT_EQ(RUNTIME_CLASS(COSMControlWindowList), loaded.GetControl(0)->GetRuntimeClass());
    EXPECT_STREQ("&Windows", loaded.GetControl(0)->GetCaption());
    EXPECT_EQ(RUNTIME_CLASS(COSMControlRecentFileList), loaded.GetControl(1)->GetRuntimeClass());
    auto* back = dynamic_cast<COSMControlSelector*>(loaded.GetControl(2));
    ASSERT_NE(nullptr, back);
    EXPECT_EQ(4100u, back->GetID());
    EXPECT_EQ(CSize(3, 2), back->GetItemsCount());
    EXPECT_EQ(CSize(8, 6), back->GetItemsMax());
    EXPECT_EQ(CSize(20, 18), back->GetItemSize());
}

TEST(SelectorTest, ACellSizeBelowOneLoadsAndSetsAsOnePixel)
{
    const CSize stored[] = {CSize(0, 0), CSize(-5, 0), CSize(7, -1)};
    const CSize expected[] = {CSize(1, 1), CSize(1, 1), CSize(7, 1)};
    for (size_t i = 0; i < std::size(stored); ++i)
    {
        // The keys as a tampered store (or one written without "ItemSize") hands them over.
        COSMControlSelector source;
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            COSMPropExchangeArchive px(ar);
            source.COSMControl::DoPropExchange(&px);
            CSize count(4, 3), most(9, 9), size = stored[i];
            PropExchangeSize(&px, "ItemsCount", &count, CSize(0, 0));
            PropExchangeSize(&px, "ItemsMax", &most, CSize(0, 0));
            PropExchangeSize(&px, "ItemSize", &size, CSize(0, 0));
            ar.Close();
        }
        file.SeekToBegin();
        COSMControlSelector loaded;
        CArchive ar(&file, CArchive::load);
        COSMPropExchangeArchive px(ar);
        loaded.DoPropExchange(&px);
        ar.Close();
        EXPECT_EQ(expected[i], loaded.GetItemSize()) << i;
        EXPECT_EQ(CSize(4, 3), loaded.GetItemsCount()) << i;

        COSMControlSelector set;
        set.SetItemSize(stored[i]);
        EXPECT_EQ(expected[i], set.GetItemSize()) << i;
        // The grid measures and the mouse selects without dividing by nothing.
        loaded.BuildDynamicItems(0);
        EXPECT_EQ(CSize(4 * expected[i].cx, 3 * expected[i].cy), loaded.GetSize(nullptr)) << i;
        loaded.OnMouseMove(CPoint(2, 2));
        EXPECT_EQ(CSize(std::min<LONG>(4, 2 / expected[i].cx + (2 % expected[i].cx ? 1 : 0)),
                        std::min<LONG>(3, 2 / expected[i].cy + (2 % expected[i].cy ? 1 : 0))),
                  loaded.GetSelectedCells())
            << i;
    }
}

class CountingSelector : public COSMControlSelector
{
public:
    void OnDrawItem(CDC*, CRect cell, COLORREF textColor) override
    {
        cells.push_back(cell);
        textColors.push_back(textColor);
    }
    std::vector<CRect> cells;
    std::vector<COLORREF> textColors;
};

class SelectorSiteTest : public CommandBarsTest
{
protected:
    void SetUp() override
    {
        CommandBarsTest::SetUp();
        ASSERT_TRUE(site.CreateTestFrame("selector site"));
        site.OnMessage = [this](UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            const auto* block = reinterpret_cast<const NMOSMCONTROL*>(lParam);
            if (message == COSMControl::kMessageControlNotify && block && block->pControl == selector &&
                block->hdr.code == COSMControlSelector::kNotifySelectionChanged)
                ++selectionNotes;
            return std::nullopt;
        };
        commandBars->SetSite(&site);
        selector = new CountingSelector;
        selector->SetItemsCount(CSize(4, 3));
        selector->SetItemSize(CSize(20, 16));
        bar.SetCommandBars(commandBars.Get());
        bar.GetControls()->AddControl(selector, 4200);
        selector->SetRect(CRect(10, 5, 90, 53));
    }
    void TearDown() override
    {
        bar.GetControls()->RemoveAll();
        commandBars.Reset();
        site.DestroyWindow();
        CommandBarsTest::TearDown();
    }
    // Notifications 4102 from the selector the site heard since the last call.
    int TakeSelectionNotes()
    {
        const int notes = selectionNotes;
        selectionNotes = 0;
        return notes;
    }
    int selectionNotes = 0;

    TrackingFrame site;
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    COSMCommandBar bar;
    CountingSelector* selector = nullptr;
};

TEST_F(SelectorSiteTest, MeasuresItsGridAndPaintsSelectedCellsInTheHighlight)
{
    selector->BuildDynamicItems(0);
    EXPECT_EQ(CSize(80, 48), selector->GetSize(nullptr));
    selector->SetSelectedCells(CSize(2, 1));

    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 100;
    info.bmiHeader.biHeight = -60;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(nullptr, dib);
    HGDIOBJ old = ::SelectObject(dc.GetSafeHdc(), dib);
    dc.FillSolidRect(CRect(0, 0, 100, 60), RGB(1, 2, 3));
    selector->Draw(&dc);

    const COLORREF selectedFill = GetColorManager()->GetColor(COLOR_HIGHLIGHT);
    const COLORREF cellFill = GetColorManager()->GetColor(COLOR_WINDOW);
    const COLORREF frame = selector->GetPaintManager()->GetColor(43);
    ASSERT_EQ(12u, selector->cells.size());
    for (LONG i = 0; i < 4; ++i)
    {
        for (LONG j = 0; j < 3; ++j)
        {
            const CRect cell(10 + i * 20 + 1, 5 + j * 16 + 1, 10 + (i + 1) * 20 - 1, 5 + (j + 1) * 16 - 1);
            const BOOL selected = i < 2 && j < 1;
            SCOPED_TRACE(i * 10 + j);
            EXPECT_EQ(selected ? selectedFill : cellFill, dc.GetPixel(cell.CenterPoint()));
            EXPECT_EQ(frame, dc.GetPixel(cell.left, cell.top));
            EXPECT_EQ(frame, dc.GetPixel(cell.right - 1, cell.bottom - 1));
            // Between two cells stays what was there.
            EXPECT_EQ(RGB(1, 2, 3), dc.GetPixel(cell.left - 1, cell.CenterPoint().y));
        }
    }
    // Once per cell, column by column, in the cell's colour of text.
    EXPECT_EQ(CRect(11, 6, 29, 20), selector->cells[0]);
    EXPECT_EQ(GetColorManager()->GetColor(COLOR_HIGHLIGHTTEXT), selector->textColors[0]);
    EXPECT_EQ(selector->GetPaintManager()->GetColor(46), selector->textColors[1]);
    ::SelectObject(dc.GetSafeHdc(), old);
    ::DeleteObject(dib);
}

TEST_F(SelectorSiteTest, TheMouseSelectsUpToTheCellEdgesBeforeIt)
{
    selector->BuildDynamicItems(0);
    const struct
    {
        CPoint point;
        CSize cells;
    } cases[] = {
        {CPoint(10, 5), CSize(0, 0)},  {CPoint(11, 6), CSize(1, 1)},  {CPoint(30, 21), CSize(1, 1)},
        {CPoint(31, 22), CSize(2, 2)}, {CPoint(89, 52), CSize(4, 3)}, {CPoint(300, 300), CSize(4, 3)},
        {CPoint(51, 6), CSize(3, 1)},  {CPoint(0, 40), CSize(0, 3)},
    };
    for (const auto& c : cases)
    {
        selector->OnMouseMove(c.point);
        EXPECT_EQ(c.cells, selector->GetSelectedCells()) << c.point.x << "," << c.point.y;
    }
}

TEST_F(SelectorSiteTest, TheSiteHearsOfEveryChangeAndOfEachBuild)
{
    selector->BuildDynamicItems(0);
    EXPECT_EQ(1, TakeSelectionNotes());
    selector->OnMouseMove(CPoint(31, 22));
    EXPECT_EQ(1, TakeSelectionNotes());
    selector->OnMouseMove(CPoint(35, 25));  // the same cells
    EXPECT_EQ(0, TakeSelectionNotes());
    selector->SetSelectedCells(CSize(2, 2));
    EXPECT_EQ(0, TakeSelectionNotes());
    selector->SetSelectedCells(CSize(2, 2), TRUE);
    EXPECT_EQ(1, TakeSelectionNotes());
    // A build starts again from nothing.
    selector->BuildDynamicItems(0);
    EXPECT_EQ(1, TakeSelectionNotes());
    EXPECT_EQ(CSize(0, 0), selector->GetSelectedCells());
}

TEST_F(SelectorSiteTest, TheReleaseExecutesWithTheSelectionOnlyWhenThereIsOne)
{
    selector->BuildDynamicItems(0);
    site.ClearRecords();
    selector->OnLButtonUp(CPoint(10, 5));
    PumpMessages();
    EXPECT_EQ(0, site.CountOf(WM_COMMAND));
    EXPECT_EQ(CSize(0, 0), selector->GetResult());

    selector->OnMouseMove(CPoint(51, 22));
    selector->OnLButtonUp(CPoint(51, 22));
    PumpMessages();
    EXPECT_EQ(CSize(3, 2), selector->GetResult());
    const auto commands = site.RecordsOf(WM_COMMAND);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ(4200u, LOWORD(commands[0].wParam));
}

// ---- On an MDI frame ----

class ListControlsTest : public MenuBarMdiTest
{
protected:
    void SetUp() override
    {
        MenuBarMdiTest::SetUp();
        ASSERT_TRUE(ActivateTestWindow(frame.GetSafeHwnd()));
        COSMControlWindowList::s_firstChildId = 0xFF00;
        popup = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars.Get()));
        popup->GetControls()->Add(1, 101)->SetCaption("&Before");
    }
    void TearDown() override
    {
        commandBars->SetCustomizeMode(FALSE);
        CreateMouseManager()->SendTrackLost();
        commandBars->ClosePopups();
        MoveMouseTo(CPoint(1200, 1000));
        popup.Reset();
        COSMControlWindowList::s_firstChildId = 0xFF00;
        MenuBarMdiTest::TearDown();
    }

    // Shows the popup (which lays it out), then closes it again when asked.
    void ShowPopup(bool close = true)
    {
        ASSERT_TRUE(popup->Popup(200, 120));
        PumpMessages();
        if (close)
        {
            commandBars->ClosePopups();
            PumpMessages();
        }
    }

    struct Entry
    {
        std::string caption;
        UINT id;
        int checked;
        BOOL beginGroup;
        BOOL temporary;
        bool operator==(const Entry& other) const
        {
            return caption == other.caption && id == other.id && checked == other.checked &&
                   beginGroup == other.beginGroup && temporary == other.temporary;
        }
    };
    // The visible controls of the popup.
    std::vector<Entry> Shown() const
    {
        std::vector<Entry> shown;
        for (int i = 0; i < popup->GetControlCount(); ++i)
        {
            const COSMControl* control = popup->GetControl(i);
            if (control->IsVisible())
                shown.push_back({static_cast<LPCSTR>(control->GetCaption()), control->GetID(), control->GetChecked(),
                                 control->GetBeginGroup(), control->IsTemporary()});
        }
        return shown;
    }

    RefPtr<COSMPopupBar> popup;
};

TEST_F(ListControlsTest, TheWindowListNamesNineVisibleWindowsAndActivatesTheOneChosen)
{
    for (int i = 1; i <= 11; ++i)
    {
        DocChild* child = OpenChild(textTemplate);
        ASSERT_NE(nullptr, child);
        CString title;
        title.Format("Doc %d%s", i, i == 2 ? " A&B" : "");
        child->SetWindowText(title);
    }
    children[4]->ShowWindow(SW_HIDE);
    children[6]->MDIActivate();
    PumpMessages();
    COSMControl* placeholder = popup->GetControls()->Add(1, 35000);
    placeholder->SetCaption("&Windows");
    placeholder->SetFlags(COSMControl::kFlagWrapRow);
    ShowPopup(false);

    // The visible windows in the client's order of ids.
    HWND client = frame.m_hWndMDIClient;
    std::vector<HWND> listed;
    for (UINT id = 0xFF00; HWND window = ::GetDlgItem(client, static_cast<int>(id)); ++id)
        if (::IsWindowVisible(window) && listed.size() < 9)
            listed.push_back(window);
    ASSERT_EQ(9u, listed.size());
    EXPECT_EQ(listed.end(), std::find(listed.begin(), listed.end(), children[4]->GetSafeHwnd()));

    ASSERT_EQ(11, popup->GetControlCount());
    EXPECT_FALSE(placeholder->IsVisible());
    for (int n = 0; n < 9; ++n)
    {
        const COSMControl* entry = popup->GetControl(2 + n);
        SCOPED_TRACE(n);
        char title[64] = {};
        ::GetWindowTextA(listed[static_cast<size_t>(n)], title, sizeof title);
        std::string escaped;
        for (const char* p = title; *p; ++p)
            escaped += *p == '&' ? "&&" : std::string(1, *p);
        EXPECT_EQ("&" + std::to_string(n + 1) + " " + escaped, std::string(entry->GetCaption()));
        EXPECT_EQ(static_cast<UINT>(::GetDlgCtrlID(listed[static_cast<size_t>(n)])), entry->GetID());
        EXPECT_EQ(listed[static_cast<size_t>(n)] == children[6]->GetSafeHwnd() ? 1 : 0, entry->GetChecked());
        EXPECT_EQ(n == 0, entry->GetBeginGroup() != FALSE);
        EXPECT_TRUE(entry->IsTemporary());
        EXPECT_EQ(COSMControl::kFlagManualUpdate | (n == 0 ? COSMControl::kFlagWrapRow : 0), entry->GetFlags());
        EXPECT_EQ(61215u, entry->GetHelpId());
        EXPECT_FALSE(entry->GetDescriptionText().IsEmpty());
    }
    EXPECT_NE(std::string::npos, std::string(popup->GetControl(3)->GetCaption()).find("A&&B"));

    // Choosing the second entry activates its window.
    const HWND second = listed[1];
    ClickAt(ControlCentre(*popup, 3));
    PumpUntil([&] { return frame.MDIGetActive() && frame.MDIGetActive()->GetSafeHwnd() == second; });
    ASSERT_NE(nullptr, frame.MDIGetActive());
    EXPECT_EQ(second, frame.MDIGetActive()->GetSafeHwnd());

    // Built again, the list is the same length; in customize mode only the placeholder shows.
    ShowPopup();
    EXPECT_EQ(11, popup->GetControlCount());
    commandBars->SetCustomizeMode(TRUE);
    ShowPopup();
    EXPECT_EQ((std::vector<Entry>{{"&Before", 101, 0, FALSE, FALSE}, {"&Windows", 35000, 0, FALSE, FALSE}}), Shown());
}

TEST_F(ListControlsTest, TheWindowListFollowsAClientNumberingItsWindowsFromOne)
{
    // The client hands its windows ids from 0xFF00; renumbered by hand, they look like a client's that starts at 1.
    std::vector<DocChild*> opened;
    for (int i = 0; i < 3; ++i)
        opened.push_back(OpenChild(textTemplate));
    for (size_t i = 0; i < opened.size(); ++i)
    {
        ::SetWindowLongPtrA(opened[i]->GetSafeHwnd(), GWLP_ID, static_cast<LONG_PTR>(1 + i));
        CString title;
        title.Format("Child %u", static_cast<unsigned>(i + 1));
        opened[i]->SetWindowText(title);
    }
    popup->GetControls()->Add(1, 35000);
    ShowPopup();
    EXPECT_EQ(1u, COSMControlWindowList::s_firstChildId);
    const std::vector<Entry> shown = Shown();
    ASSERT_EQ(4u, shown.size());
    EXPECT_EQ((Entry{"&1 Child 1", 1, 0, TRUE, TRUE}), shown[1]);
    EXPECT_EQ((Entry{"&3 Child 3", 3, 1, FALSE, TRUE}), shown[3]);
    for (size_t i = 0; i < opened.size(); ++i)
        ::SetWindowLongPtrA(opened[i]->GetSafeHwnd(), GWLP_ID, static_cast<LONG_PTR>(0xFF00 + i));
}

TEST_F(ListControlsTest, TheToolbarsListNamesClosableToolbarsWithAContextMenuAndTogglesThem)
{
    struct Bar
    {
        const char* title;
        BOOL contextMenu;
        BOOL closeable;
        BOOL visible;
    };
    const Bar bars[] = {{"Standard", TRUE, TRUE, TRUE},
                        {"No Menu", FALSE, TRUE, TRUE},
                        {"Fixed", TRUE, FALSE, TRUE},
                        {"Neither", FALSE, FALSE, TRUE},
                        {"Draw & Paint", TRUE, TRUE, FALSE}};
    std::vector<COSMToolBar*> made;
    for (size_t i = 0; i < std::size(bars); ++i)
    {
        auto* toolBar = static_cast<COSMToolBar*>(commandBars->AddToolBar(bars[i].title, 700 + static_cast<UINT>(i)));
        ASSERT_NE(nullptr, toolBar);
        toolBar->SetContextMenuPresent(bars[i].contextMenu);
        toolBar->SetCloseable(bars[i].closeable);
        toolBar->SetVisible(bars[i].visible);
        made.push_back(toolBar);
    }
    PumpMessages();
    COSMControl* placeholder = popup->GetControls()->Add(1, 59392);
    placeholder->SetCaption("&Toolbars");
    placeholder->SetBeginGroup(TRUE);
    popup->GetControls()->Add(1, 102)->SetCaption("&After");
    const std::vector<Entry> expected = {{"&Before", 101, 0, FALSE, FALSE},
                                         {"Standard", 59392, 1, TRUE, TRUE},
                                         {"Draw && Paint", 59392, 0, FALSE, TRUE},
                                         {"&After", 102, 0, FALSE, FALSE}};
    ShowPopup(false);
    EXPECT_EQ(expected, Shown());
    EXPECT_EQ(COSMControl::kFlagManualUpdate, popup->GetControl(2)->GetFlags());
    EXPECT_STREQ("COSMControlToolbar", popup->GetControl(2)->GetParameter());

    // A click shows the hidden bar and closes the menu.
    ClickAt(ControlCentre(*popup, 3));
    PumpUntil([&] { return made[4]->IsVisible() != FALSE; });
    EXPECT_TRUE(made[4]->IsVisible());
    EXPECT_EQ(nullptr, popup->GetSafeHwnd());
    // Rebuilt, the entries are replaced, not added to.
    ShowPopup();
    EXPECT_EQ(5, popup->GetControlCount());
    EXPECT_EQ(1, popup->GetControl(3)->GetChecked());

    // The manager's toolbars menu lists the same bars; "customize" only with a customize dialog.
    for (const BOOL dialog : {FALSE, TRUE})
    {
        commandBars->SetCustomizeDialog(dialog ? &customizeDialog : nullptr);
        const RefPtr<COSMPopupBar> menu = AdoptRef(commandBars->CreateToolbarsPopup());
        ASSERT_NE(nullptr, menu.Get());
        std::vector<std::string> captions;
        for (int i = 0; i < menu->GetControlCount(); ++i)
            captions.emplace_back(static_cast<LPCSTR>(menu->GetControl(i)->GetCaption()));
        ASSERT_EQ(dialog ? 3 : 2, menu->GetControlCount()) << dialog;
        EXPECT_EQ("Standard", captions[0]);
        EXPECT_EQ("Draw && Paint", captions[1]);
        if (dialog)
        {
            EXPECT_EQ(COSMControlToolbars::kCustomizeId, menu->GetControl(2)->GetID());
            EXPECT_TRUE(menu->GetControl(2)->GetBeginGroup());
        }
    }
    commandBars->SetCustomizeDialog(nullptr);

    commandBars->SetCustomizeMode(TRUE);
    ShowPopup();
    EXPECT_EQ((std::vector<Entry>{{"&Before", 101, 0, FALSE, FALSE},
                                  {"&Toolbars", 59392, 0, TRUE, FALSE},
                                  {"&After", 102, 0, FALSE, FALSE}}),
              Shown());
}

TEST_F(ListControlsTest, RecentFilesAreNumberedWithTheirIdsAndKeepTheUsersControlAfterThem)
{
    char folder[MAX_PATH] = {};
    ASSERT_NE(0u, ::GetCurrentDirectoryA(MAX_PATH, folder));
    std::string here = folder;
    if (here.back() != '\\')
        here += '\\';
    app->m_pRecentFileList = new CRecentFileList(4);
    CRecentFileList& list = *app->m_pRecentFileList;
    list[0] = (here + "one.txt").c_str();
    list[1] = (here + "R&D.txt").c_str();
    list[2] = "C:\\elsewhere\\three.txt";
    list[3] = (here + "sub\\four.txt").c_str();

    COSMControl* placeholder = popup->GetControls()->Add(1, 35003);
    placeholder->SetCaption("Recent File");
    placeholder->SetFlags(COSMControl::kFlagWrapRow);
    // The user's own control with the id after the list's.
    popup->GetControls()->Add(1, 57620)->SetCaption("&More Files");
    const std::vector<Entry> expected = {{"&Before", 101, 0, FALSE, FALSE},
                                         {"&1 one.txt", 57616, 0, TRUE, TRUE},
                                         {"&2 R&&D.txt", 57617, 0, FALSE, TRUE},
                                         {"&3 C:\\elsewhere\\three.txt", 57618, 0, FALSE, TRUE},
                                         {"&4 " + here + "sub\\four.txt", 57619, 0, FALSE, TRUE},
                                         {"&More Files", 57620, 0, FALSE, FALSE}};
    for (int build = 0; build < 2; ++build)
    {
        ShowPopup();
        EXPECT_EQ(expected, Shown()) << build;
    }
    EXPECT_EQ(COSMControl::kFlagManualUpdate | COSMControl::kFlagWrapRow, popup->GetControl(2)->GetFlags());
    EXPECT_EQ(COSMControl::kFlagManualUpdate, popup->GetControl(3)->GetFlags());

    // A shorter list: the entries of the longer one go, the user's control stays.
    list[2].Empty();
    ShowPopup();
    EXPECT_EQ(5, popup->GetControlCount());
    EXPECT_STREQ("&More Files", popup->GetControl(4)->GetCaption());
    list[2] = "C:\\elsewhere\\three.txt";

    // An empty first entry: only the placeholder, greyed.
    list[0].Empty();
    ShowPopup();
    EXPECT_EQ((std::vector<Entry>{{"&Before", 101, 0, FALSE, FALSE},
                                  {"Recent File", 35003, 0, FALSE, FALSE},
                                  {"&More Files", 57620, 0, FALSE, FALSE}}),
              Shown());
    EXPECT_EQ(0, placeholder->GetEnabled());
    // In customize mode the placeholder shows enabled.
    commandBars->SetCustomizeMode(TRUE);
    ShowPopup();
    EXPECT_EQ(3, popup->GetControlCount());
    EXPECT_EQ(1, placeholder->GetEnabled());
}

TEST_F(ListControlsTest, RecentFilesFirstInTheirBarBeginNoGroup)
{
    app->m_pRecentFileList = new CRecentFileList(2);
    (*app->m_pRecentFileList)[0] = "C:\\x\\a.txt";
    popup->GetControls()->RemoveAll();
    popup->GetControls()->Add(1, 35003);
    ShowPopup();
    EXPECT_EQ((std::vector<Entry>{{"&1 C:\\x\\a.txt", 57616, 0, FALSE, TRUE}}), Shown());
}

// A view whose selection is a set of items.
class SelectingView : public CView
{
public:
    BOOL IsSelected(const CObject* item) const override { return selected.count(item) != 0; }
    std::set<const CObject*> selected;
};

TEST_F(ListControlsTest, TheOleItemsOfferTheSelectedObjectsVerbsInASubmenu)
{
    DocChild* child = OpenChild(textTemplate);
    ASSERT_NE(nullptr, child);
    COleDocument oleDocument;
    auto* item = new COleClientItem(&oleDocument);
    auto* object = new osm::test::FakeOleObject("Sketch", {{0, "&Edit"}, {1, "&Open"}});
    item->Attach(object);
    object->Release();
    SelectingView view;
    view.SetDocument(&oleDocument);
    view.selected = {item};
    child->SetActiveView(&view);

    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 57872, "<<OLE VERBS GO HERE>>");
    ASSERT_NE(nullptr, popup->GetControls()->AddMenuItem(&menu, 0));
    menu.DestroyMenu();
    ASSERT_EQ(RUNTIME_CLASS(COSMControlOleItems), popup->GetControl(1)->GetRuntimeClass());

    for (int build = 0; build < 2; ++build)
    {
        ShowPopup();
        ASSERT_EQ(3, popup->GetControlCount()) << build;
        auto* verbs = dynamic_cast<COSMControlPopup*>(popup->GetControl(2));
        ASSERT_NE(nullptr, verbs);
        EXPECT_STREQ("OLEMENUPOPUP", verbs->GetParameter());
        EXPECT_STREQ("Sketch &Object", verbs->GetCaption());
        EXPECT_TRUE(verbs->IsTemporary());
        EXPECT_FALSE(popup->GetControl(1)->IsVisible());
        COSMCommandBar* submenu = verbs->GetCommandBar();
        ASSERT_NE(nullptr, submenu);
        ASSERT_EQ(2, submenu->GetControlCount());
        EXPECT_STREQ("&Edit", submenu->GetControl(0)->GetCaption());
        EXPECT_EQ(57872u, submenu->GetControl(0)->GetID());
        EXPECT_EQ(57873u, submenu->GetControl(1)->GetID());
    }

    // Open in its own window, one verb, or a document of another kind: nothing.
    const auto expectNothing = [&](const char* why) {
        ShowPopup();
        EXPECT_EQ(2, popup->GetControlCount()) << why;
        EXPECT_EQ(1u, Shown().size()) << why;
    };
    item->SetItemState(COleClientItem::openState);
    expectNothing("open");
    item->SetItemState(COleClientItem::loadedState);
    auto* single = new osm::test::FakeOleObject("Clip", {{0, "&Play"}});
    item->Attach(single);
    single->Release();
    expectNothing("one verb");
    view.SetDocument(&document);
    expectNothing("not an OLE document");

    // Customize mode shows the placeholder.
    view.SetDocument(&oleDocument);
    commandBars->SetCustomizeMode(TRUE);
    ShowPopup();
    EXPECT_EQ(2u, Shown().size());
    child->SetActiveView(nullptr);
}

// ---- The selector under real input ----

class ExecutionCountingSelector : public COSMControlSelector
{
public:
    void OnExecute() override
    {
        ++executions;
        COSMControlSelector::OnExecute();
    }
    int executions = 0;
};

TEST_F(ListControlsTest, DraggingPastTheSelectorsEdgesGrowsItOneCellAtATimeUpToItsMost)
{
    for (const CSize itemSize : {CSize(20, 20), CSize(0, 0)})
    {
        SCOPED_TRACE(itemSize.cx);
        popup->GetControls()->RemoveAll();
        auto* selector = new ExecutionCountingSelector;
        selector->SetItemsCount(CSize(2, 2));
        selector->SetItemsMax(CSize(4, 3));
        if (itemSize.cx == 0)
        {
            // As a store without "ItemSize" loads it: one-pixel cells would leave nothing to drag; loaded, then
            // made usable again by the application.
            COSMControlSelector stored;
            CMemFile file;
            {
                CArchive ar(&file, CArchive::store);
                COSMPropExchangeArchive px(ar);
                stored.COSMControl::DoPropExchange(&px);
                CSize count(2, 2), most(4, 3), size(0, 0);
                PropExchangeSize(&px, "ItemsCount", &count, CSize(0, 0));
                PropExchangeSize(&px, "ItemsMax", &most, CSize(0, 0));
                PropExchangeSize(&px, "ItemSize", &size, CSize(0, 0));
                ar.Close();
            }
            file.SeekToBegin();
            CArchive ar(&file, CArchive::load);
            COSMPropExchangeArchive px(ar);
            selector->DoPropExchange(&px);
            ar.Close();
            ASSERT_EQ(CSize(1, 1), selector->GetItemSize());
        }
        else
        {
            selector->SetItemSize(itemSize);
        }
        popup->GetControls()->AddControl(selector, 4300);
        ShowPopup(false);
        ASSERT_NE(nullptr, popup->GetSafeHwnd());
        ASSERT_EQ(CSize(2, 2), selector->GetGrid());
        const CSize cell = selector->GetItemSize();
        const auto at = [&](int x, int y) {
            CPoint point = selector->GetRect().TopLeft() + CPoint(x, y);
            ::ClientToScreen(popup->GetSafeHwnd(), &point);
            return point;
        };
        MoveMouseTo(at(cell.cx / 2, cell.cy / 2));
        SendMouseInput(MOUSEEVENTF_LEFTDOWN);
        PumpFor(40);
        std::vector<CSize> grids;
        // In small steps, as a hand drags: a step that leaves the grid grows it, and the cursor is then inside
        // again. One-pixel cells leave no room for that: there the hand shakes a pixel back and forth.
        CPoint cursor(cell.cx / 2, cell.cy / 2);
        const auto dragTo = [&](CPoint to) {
            const LONG stride = std::max<LONG>(1, cell.cx / 4);
            while (cursor != to)
            {
                const CPoint step(std::max(-stride, std::min(stride, to.x - cursor.x)),
                                  std::max(-stride, std::min(stride, to.y - cursor.y)));
                cursor += step;
                MoveMouseTo(at(cursor.x, cursor.y));
                grids.push_back(selector->GetGrid());
                if (stride == 1)
                {
                    MoveMouseTo(at(cursor.x - step.x, cursor.y - step.y));
                    MoveMouseTo(at(cursor.x, cursor.y));
                    grids.push_back(selector->GetGrid());
                }
            }
        };
        // Right well past the most columns, back inside, down well past the most rows, back in: only ever growing.
        dragTo(CPoint(6 * cell.cx, cell.cy / 2));
        EXPECT_EQ(CSize(4, 2), selector->GetGrid());
        dragTo(CPoint(3 * cell.cx + cell.cx / 2, cell.cy / 2));
        dragTo(CPoint(3 * cell.cx + cell.cx / 2, 5 * cell.cy));
        dragTo(CPoint(cell.cx / 2, cell.cy / 2));
        for (size_t i = 1; i < grids.size(); ++i)
        {
            EXPECT_LE(grids[i - 1].cx, grids[i].cx) << i;
            EXPECT_LE(grids[i - 1].cy, grids[i].cy) << i;
            EXPECT_LE(grids[i].cx - grids[i - 1].cx, 1) << i;
            EXPECT_LE(grids[i].cy - grids[i - 1].cy, 1) << i;
        }
        EXPECT_EQ(CSize(4, 3), selector->GetGrid());
        // The popup grew with it.
        CRect window;
        popup->GetWindowRect(&window);
        EXPECT_GE(window.Width(), 4 * cell.cx);

        // Released on the cell of the fourth column and third row (a one-pixel cell's only pixel is its left edge,
        // which selects up to the cell before it).
        dragTo(CPoint(3 * cell.cx + cell.cx / 2, 2 * cell.cy + cell.cy / 2));
        const CSize released = cell.cx > 1 ? CSize(4, 3) : CSize(3, 2);
        EXPECT_EQ(released, selector->GetSelectedCells());
        SendMouseInput(MOUSEEVENTF_LEFTUP);
        PumpFor(100);
        EXPECT_EQ(released, selector->GetResult());
        EXPECT_EQ(1, selector->executions);
        commandBars->ClosePopups();
        PumpMessages();
    }
}

}  // namespace
