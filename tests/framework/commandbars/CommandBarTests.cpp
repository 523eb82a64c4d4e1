// The bar skeleton: paint and image managers along the owner chain, the site and owner walks, menus loaded into
// controls, redraws under the lock and through the painting helper, drawing read back from DIB sections, copies,
// the popup bar and the final release. Bar windows on the display.
#include "classlib/MDIFrameWnd.h"
#include "classlib/Menu.h"
#include "CommandBarsTestSupport.h"
#include "tests/support/DcTestSurface.h"
#include "resources/CommandBarsTestIds.h"

#include "framework/commandbars/CommandBarAnimation.h"
#include "framework/commandbars/ControlAction.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/ImageManager.h"

#include <string>

using namespace commandbars_test;
using foundation_test::DcTestSurface;

namespace {

// A bar that counts as visible when its window is, and records erase requests.
class WindowBar : public COSMCommandBar
{
public:
    BOOL IsVisible() const override { return GetSafeHwnd() && ::IsWindowVisible(m_hWnd); }
    int erases = 0;
    int layouts = 0;
    void OnRecalcLayout() override { ++layouts; }

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* dc)
    {
        ++erases;
        return COSMCommandBar::OnEraseBkgnd(dc);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(WindowBar, COSMCommandBar)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

// The test paint manager, with controls drawn as solid blocks of their id's colour.
class BlockPaintManager : public COSMTestPaintManager
{
public:
    static COSMPaintManager* Create() { return new BlockPaintManager; }
    static COLORREF ColorOf(const COSMControl* control) { return RGB(control->GetID() & 0xFF, 40, 200); }

    CSize DrawToolBarControl(CDC* dc, COSMControl* control, BOOL draw) override
    {
        if (draw)
            dc->FillSolidRect(control->GetRect(), ColorOf(control));
        return control->GetRect().Size();
    }
    CSize DrawCommandBarSeparator(CDC* dc, COSMCommandBar* bar, COSMControl* control, BOOL draw) override
    {
        separatorsBefore.push_back(control->GetID());
        return COSMTestPaintManager::DrawCommandBarSeparator(dc, bar, control, draw);
    }
    CSize DrawCommandBarGripper(CDC* dc, COSMCommandBar* bar, BOOL draw) override
    {
        ++grippers;
        return CSize(0, 0);
    }

    std::vector<UINT> separatorsBefore;
    int grippers = 0;
};

using CommandBarTest = CommandBarsTest;

TEST_F(CommandBarTest, PaintManagerFallsBackAlongTheOwnerChain)
{
    // Nothing installed: the first ask makes the process-wide manager for theme 0.
    ASSERT_EQ(nullptr, COSMPaintManager::GetGlobalPaintManager());
    COSMCommandBar bar;
    COSMPaintManager* global = bar.GetPaintManager();
    ASSERT_NE(nullptr, global);
    EXPECT_EQ(global, COSMPaintManager::GetGlobalPaintManager());
    EXPECT_EQ(0, global->GetRecordedThemeId());
    COSMControl loose;
    EXPECT_EQ(global, loose.GetPaintManager());

    RefPtr<COSMPaintManager> own = AdoptRef(COSMTestPaintManager::Create());
    RefPtr<COSMPaintManager> managers = AdoptRef(COSMTestPaintManager::Create());
    RefPtr<COSMPaintManager> root = AdoptRef(COSMTestPaintManager::Create());
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);

    // A popup opened from a control of the root bar.
    COSMCommandBar rootBar;
    COSMControl* opener = rootBar.GetControls()->Add(1, 1);
    COSMPopupBar popup;
    popup.SetControlPopup(opener);
    COSMControl* inside = popup.GetControls()->Add(1, 2);

    const struct
    {
        BOOL ownSet;
        BOOL managerSet;
        BOOL managerOwn;
        BOOL rootOwn;
        COSMPaintManager* expected;
    } cases[] = {
        {FALSE, FALSE, FALSE, FALSE, global},
        {FALSE, FALSE, FALSE, TRUE, root.Get()},
        {TRUE, FALSE, FALSE, TRUE, own.Get()},
        {FALSE, TRUE, FALSE, TRUE, global},  // a manager without its own answers with the global one
        {FALSE, TRUE, TRUE, TRUE, managers.Get()},
        {TRUE, TRUE, TRUE, TRUE, own.Get()},
    };
    for (const auto& c : cases)
    {
        popup.SetPaintManager(c.ownSet ? own.Get() : nullptr);
        rootBar.SetCommandBars(c.managerSet ? commandBars.Get() : nullptr);
        commandBars->SetPaintManager(c.managerOwn ? managers.Get() : nullptr);
        rootBar.SetPaintManager(c.rootOwn ? root.Get() : nullptr);
        EXPECT_EQ(c.expected, popup.GetPaintManager()) << c.ownSet << c.managerSet << c.managerOwn << c.rootOwn;
        EXPECT_EQ(c.expected, inside->GetPaintManager());
    }
    popup.SetPaintManager(nullptr);
    rootBar.SetPaintManager(nullptr);
    EXPECT_EQ(1, RefCount(own.Get()));
    EXPECT_EQ(1, RefCount(root.Get()));

    // A control without a bar asks the command bars of its collection.
    auto freeControls = AdoptRef(new COSMControls);
    freeControls->SetCommandBars(commandBars.Get());
    COSMControl* freeControl = freeControls->Add(1, 3);
    EXPECT_EQ(managers.Get(), freeControl->GetPaintManager());
    commandBars->SetPaintManager(nullptr);
    EXPECT_EQ(global, freeControl->GetPaintManager());

    // With no theme registered there is none to make, and drawing does nothing.
    COSMPaintManager::FreeGlobalPaintManager();
    COSMPaintManager::RegisterThemeCreator(0, nullptr);
    COSMCommandBar themeless;
    EXPECT_EQ(nullptr, themeless.GetPaintManager());
    EXPECT_EQ(CSize(0, 0), themeless.GetControls()->Add(1, 1)->GetSize(nullptr));
    themeless.DrawCommandBar(nullptr, CRect(0, 0, 1, 1));
    EXPECT_EQ(CRect(0, 0, 0, 0), themeless.GetBorders());
}

TEST_F(CommandBarTest, ImageManagerFallsBackAlongTheOwnerChain)
{
    RefPtr<COSMImageManager> own = AdoptRef(new COSMImageManager);
    RefPtr<COSMImageManager> managers = AdoptRef(new COSMImageManager);
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    COSMCommandBar bar;
    COSMControl* control = bar.GetControls()->Add(1, 1);
    EXPECT_EQ(GetImageManager(), bar.GetImageManager());
    EXPECT_EQ(GetImageManager(), control->GetImageManager());
    bar.SetCommandBars(commandBars.Get());
    commandBars->SetImageManager(managers.Get());
    EXPECT_EQ(managers.Get(), control->GetImageManager());
    bar.SetImageManager(own.Get());
    EXPECT_EQ(own.Get(), control->GetImageManager());
    bar.SetImageManager(nullptr);
    commandBars->SetImageManager(nullptr);
    EXPECT_EQ(GetImageManager(), control->GetImageManager());
}

TEST_F(CommandBarTest, OwnerChainFindsManagerRootAndSite)
{
    SiteWindow site;
    SiteWindow owner;
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    commandBars->SetSite(&site);

    WindowBar rootBar;
    ASSERT_TRUE(CreateBarWindow(rootBar, 100, 20, FALSE));
    COSMControl* opener = rootBar.GetControls()->Add(1, 1);
    COSMPopupBar popup;
    popup.SetControlPopup(opener);
    COSMPopupBar nested;
    COSMControl* nestedOpener = popup.GetControls()->Add(1, 2);
    nested.SetControlPopup(nestedOpener);

    EXPECT_EQ(&popup, nested.GetParentCommandBar());
    EXPECT_EQ(&rootBar, popup.GetParentCommandBar());
    EXPECT_EQ(nullptr, rootBar.GetParentCommandBar());
    EXPECT_EQ(&rootBar, nested.GetRootParent());
    EXPECT_EQ(&rootBar, rootBar.GetRootParent());

    // No manager: the root's window has no owner and no parent.
    EXPECT_EQ(nullptr, nested.GetCommandBars());
    EXPECT_EQ(nullptr, nested.GetSite());
    // The root's explicit site.
    rootBar.SetSiteWindow(&owner);
    EXPECT_EQ(&owner, nested.GetSite());
    // The manager's site wins.
    rootBar.SetCommandBars(commandBars.Get());
    EXPECT_EQ(commandBars.Get(), nested.GetCommandBars());
    EXPECT_EQ(&site, nested.GetSite());
    EXPECT_EQ(&site, popup.GetSite());
    // A nearer manager wins too.
    RefPtr<COSMCommandBars> nearer = AdoptRef(new COSMCommandBars);
    popup.SetCommandBars(nearer.Get());
    EXPECT_EQ(nearer.Get(), nested.GetCommandBars());
    EXPECT_EQ(nullptr, nested.GetSite());
    popup.SetCommandBars(nullptr);

    // The command-target window, then a window owner, then the top bar's site.
    EXPECT_EQ(&site, nested.GetOwnerSite());
    popup.SetCommandTargetWindow(&owner);
    EXPECT_EQ(&owner, nested.GetOwnerSite());
    nested.SetCommandTargetWindow(&site);
    EXPECT_EQ(&site, nested.GetOwnerSite());
    EXPECT_EQ(nullptr, popup.GetFrameSite());
}

TEST_F(CommandBarTest, SiteOfABarWithoutManagerIsItsWindowsOwnerOrParent)
{
    SiteWindow parent;
    COSMCommandBar owned;
    ASSERT_TRUE(
        owned.CreateEx(0, AfxRegisterWndClass(0), "Owned", WS_POPUP, 0, 0, 10, 10, parent.GetSafeHwnd(), nullptr));
    EXPECT_EQ(parent.GetSafeHwnd(), owned.GetSite()->GetSafeHwnd());
    COSMCommandBar child;
    ASSERT_TRUE(
        child.CreateEx(0, AfxRegisterWndClass(0), "Child", WS_CHILD, 0, 0, 10, 10, parent.GetSafeHwnd(), nullptr));
    EXPECT_EQ(parent.GetSafeHwnd(), child.GetSite()->GetSafeHwnd());
    EXPECT_EQ(parent.GetSafeHwnd(), owned.GetOwnerSite()->GetSafeHwnd());
}

TEST_F(CommandBarTest, LoadMenuMarksGroupsBreaksAndStates)
{
    // Per item: the menu item, then the control it must give.
    const struct
    {
        UINT id;
        UINT type;
        UINT state;
        BOOL makesControl;
        BOOL beginGroup;
        BOOL wrapRow;
        int checked;
        int enabled;
    } items[] = {
        {0, MFT_SEPARATOR, 0, FALSE, FALSE, FALSE, 0, 1},  // a leading separator
        {101, MFT_STRING, 0, TRUE, TRUE, FALSE, 0, 1},
        {102, MFT_STRING, MFS_CHECKED, TRUE, FALSE, FALSE, 1, 1},
        {103, MFT_STRING | MFT_MENUBREAK, 0, TRUE, FALSE, TRUE, 0, 1},
        {104, MFT_STRING | MFT_MENUBARBREAK, MFS_GRAYED, TRUE, TRUE, TRUE, 0, 0},
        {0, MFT_STRING, 0, FALSE, FALSE, FALSE, 0, 1},  // an item with id 0 counts as a separator
        {105, MFT_STRING, MFS_DISABLED | MFS_CHECKED, TRUE, TRUE, FALSE, 1, 0},
        {0, MFT_SEPARATOR, 0, FALSE, FALSE, FALSE, 0, 1},
        {0, MFT_SEPARATOR, 0, FALSE, FALSE, FALSE, 0, 1},
        {106, MFT_STRING | MFT_MENUBREAK, 0, TRUE, TRUE, TRUE, 0, 1},  // a pending group wins over the break
    };
    TestMenu menu;
    for (const auto& item : items)
        menu.AddItem(item.id, "Item", item.type, item.state);

    COSMCommandBar bar;
    bar.GetControls()->Add(1, 99);
    EXPECT_TRUE(bar.LoadMenu(menu.Get(), TRUE));
    int index = 0;
    for (const auto& item : items)
    {
        if (!item.makesControl)
            continue;
        COSMControl* control = bar.GetControl(index++);
        ASSERT_NE(nullptr, control);
        SCOPED_TRACE(item.id);
        EXPECT_EQ(item.id, control->GetID());
        EXPECT_EQ(item.beginGroup, control->GetBeginGroup());
        EXPECT_EQ(item.wrapRow, (control->GetFlags() & COSMControl::kFlagWrapRow) != 0);
        EXPECT_EQ(item.checked, control->GetChecked());
        EXPECT_EQ(item.enabled, control->GetEnabled());
    }
    EXPECT_EQ(index, bar.GetControlCount());

    // Without removeAll the controls are added to those there.
    EXPECT_TRUE(bar.LoadMenu(menu.Get(), FALSE));
    EXPECT_EQ(2 * index, bar.GetControlCount());
    CMenu destroyed;
    destroyed.CreatePopupMenu();
    HMENU stale = destroyed.Detach();
    ::DestroyMenu(stale);
    CMenu* invalid = CMenu::FromHandle(stale);
    EXPECT_FALSE(bar.LoadMenu(invalid, TRUE));
    EXPECT_FALSE(bar.LoadMenu(nullptr, TRUE));
    EXPECT_EQ(2 * index, bar.GetControlCount());
}

TEST_F(CommandBarTest, LoadMenuLeavesTheStatesOfBoundControlsToTheirActions)
{
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    commandBars->EnableActions(TRUE);
    COSMCommandBar bar;
    bar.SetCommandBars(commandBars.Get());
    TestMenu menu;
    menu.AddItem(201, "Checked", MFT_STRING, MFS_CHECKED | MFS_GRAYED);
    ASSERT_TRUE(bar.LoadMenu(menu.Get(), TRUE));
    COSMControl* control = bar.GetControl(0);
    ASSERT_NE(nullptr, control->GetAction());
    EXPECT_EQ(-1, control->GetEnabledField());
    EXPECT_EQ(-1, control->GetCheckedField());
    EXPECT_TRUE(control->GetEnabled());
    EXPECT_FALSE(control->GetChecked());
}

TEST_F(CommandBarTest, RedrawUnderTheLockOnlyMarks)
{
    WindowBar bar;
    ASSERT_TRUE(CreateBarWindow(bar, 120, 24, TRUE));
    ::ValidateRect(bar.GetSafeHwnd(), nullptr);
    bar.LockRedraw();
    bar.LockRedraw();
    bar.Redraw(nullptr, TRUE);
    CRect update;
    EXPECT_FALSE(::GetUpdateRect(bar.GetSafeHwnd(), &update, FALSE));
    EXPECT_TRUE(bar.GetStateFlags() & COSMCommandBar::kStateRedrawPending);
    bar.UnlockRedraw();
    bar.OnIdleUpdateCmdUI(0, 0);
    EXPECT_FALSE(::GetUpdateRect(bar.GetSafeHwnd(), &update, FALSE));
    EXPECT_TRUE(bar.GetStateFlags() & COSMCommandBar::kStateRedrawPending);

    // Unlocked, the next idle update performs the redraw of the whole bar.
    bar.UnlockRedraw();
    bar.OnIdleUpdateCmdUI(0, 0);
    EXPECT_FALSE(bar.GetStateFlags() & COSMCommandBar::kStateRedrawPending);
    ASSERT_TRUE(::GetUpdateRect(bar.GetSafeHwnd(), &update, FALSE));
    EXPECT_EQ(CRect(0, 0, 120, 24), update);
}

TEST_F(CommandBarTest, RedrawOfARectangleInvalidatesItWithoutErasing)
{
    WindowBar bar;
    ASSERT_TRUE(CreateBarWindow(bar, 120, 24, TRUE));
    bar.UpdateWindow();
    bar.erases = 0;
    const CRect part(10, 2, 30, 20);
    bar.Redraw(&part, FALSE);
    CRect update;
    ASSERT_TRUE(::GetUpdateRect(bar.GetSafeHwnd(), &update, FALSE));
    EXPECT_EQ(part, update);
    // A rectangle leaves a pending whole-bar redraw pending.
    bar.DelayRedraw();
    bar.Redraw(&part, FALSE);
    EXPECT_TRUE(bar.GetStateFlags() & COSMCommandBar::kStateRedrawPending);
    bar.UpdateWindow();
    EXPECT_EQ(0, bar.erases);
    EXPECT_FALSE(::GetUpdateRect(bar.GetSafeHwnd(), &update, FALSE));

    // A hidden bar is not redrawn.
    bar.ShowWindow(SW_HIDE);
    bar.Redraw(nullptr, TRUE);
    EXPECT_FALSE(::GetUpdateRect(bar.GetSafeHwnd(), &update, FALSE));
    EXPECT_FALSE(bar.GetStateFlags() & COSMCommandBar::kStateRedrawPending);
}

TEST_F(CommandBarTest, IdleUpdateLaysOutAVisibleBarOnce)
{
    WindowBar bar;
    bar.DelayLayout();
    bar.OnIdleUpdateCmdUI(0, 0);
    EXPECT_EQ(0, bar.layouts);  // no window
    ASSERT_TRUE(CreateBarWindow(bar, 50, 20, FALSE));
    bar.OnIdleUpdateCmdUI(0, 0);
    EXPECT_EQ(0, bar.layouts);  // not visible
    bar.ShowWindow(SW_SHOWNOACTIVATE);
    bar.SendMessage(0x0363, TRUE, 0);
    EXPECT_EQ(1, bar.layouts);
    EXPECT_FALSE(bar.GetStateFlags() & COSMCommandBar::kStateLayoutPending);
    bar.OnIdleUpdateCmdUI(0, 0);
    EXPECT_EQ(1, bar.layouts);
}

TEST_F(CommandBarTest, IdleUpdateHidesControlsMeantForOtherDocumentTemplates)
{
    const struct
    {
        std::vector<UINT> assigned;
        std::vector<UINT> excluded;
        DWORD hideFlags;  // before
        BOOL hidden;
    } cases[] = {
        {{}, {}, COSMControl::kHideDocTemplate, TRUE},  // no lists: left as it is
        {{}, {}, 0, FALSE},
        {{7}, {}, 0, FALSE},
        {{8}, {}, 0, TRUE},
        {{8, 7}, {}, COSMControl::kHideDocTemplate, FALSE},
        {{}, {7}, 0, TRUE},
        {{}, {8}, COSMControl::kHideDocTemplate, FALSE},
        {{7}, {7}, 0, TRUE},  // the excluded list has the last word
    };
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    // The manager answers its default template while its MDI site has no child.
    CMDIFrameWnd site;
    ASSERT_TRUE(site.Create(nullptr, "mdi site", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
    commandBars->SetSite(&site);
    for (const auto& c : cases)
    {
        WindowBar bar;
        bar.SetCommandBars(commandBars.Get());
        ASSERT_TRUE(CreateBarWindow(bar, 40, 20, TRUE));
        COSMControl* control = bar.GetControls()->Add(1, 1);
        for (UINT id : c.assigned)
            control->GetAssignedTemplates().SetAt(id, TRUE);
        for (UINT id : c.excluded)
            control->GetExcludedTemplates().SetAt(id, TRUE);
        control->SetHideFlags(c.hideFlags | COSMControl::kHideWrap);
        bar.OnIdleUpdateCmdUI(0, 0);
        const int layoutsBefore = bar.layouts;
        commandBars->SetDefaultDocTemplateId(7);
        bar.OnIdleUpdateCmdUI(0, 0);
        commandBars->SetDefaultDocTemplateId(0);
        EXPECT_EQ(c.hidden, (control->GetHideFlags() & COSMControl::kHideDocTemplate) != 0);
        EXPECT_TRUE(control->GetHideFlags() & COSMControl::kHideWrap);
        // A change lays the bar out.
        EXPECT_EQ(layoutsBefore + (c.hidden != (c.hideFlags != 0)), bar.layouts);
    }
}

TEST_F(CommandBarTest, DelayLayoutClearsTheSelection)
{
    COSMCommandBar bar;
    bar.GetControls()->Add(1, 1);
    EXPECT_EQ(-1, bar.GetSelectedIndex());
    EXPECT_EQ(-1, bar.GetPopupedIndex());
    bar.DelayLayout();
    EXPECT_TRUE(bar.GetStateFlags() & COSMCommandBar::kStateLayoutPending);
    bar.DelayRedraw();
    EXPECT_TRUE(bar.GetStateFlags() & COSMCommandBar::kStateRedrawPending);
}

class DrawTest : public CommandBarsTest
{
protected:
    void SetUp() override
    {
        CommandBarsTest::SetUp();
        COSMPaintManager::RegisterThemeCreator(0, &BlockPaintManager::Create);
        pm = static_cast<BlockPaintManager*>(GetProcessPaintManager());
        ASSERT_NE(nullptr, pm);
        ASSERT_TRUE(CreateBarWindow(bar, 100, 20, FALSE));
        bar.SetShowGripper(FALSE);
        for (int i = 0; i < 4; ++i)
        {
            COSMControl* control = bar.GetControls()->Add(1, 0x10 * (i + 1));
            control->SetRect(CRect(10 + 20 * i, 2, 28 + 20 * i, 18));
        }
        bar.GetControl(1)->SetBeginGroup(TRUE);
        bar.GetControl(2)->SetVisible(FALSE);
        bar.GetControl(3)->SetBeginGroup(TRUE);
    }

    // The bar drawn through WM_PRINTCLIENT onto a window-coloured surface.
    void Print(DcTestSurface& surface)
    {
        surface.Fill(::GetSysColor(COLOR_WINDOW));
        bar.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.GetDC()), PRF_CLIENT);
    }

    BlockPaintManager* pm = nullptr;
    COSMCommandBar bar;
};

TEST_F(DrawTest, PrintClientDrawsFrameControlsAndSeparators)
{
    DcTestSurface surface(100, 20);
    Print(surface);
    const COLORREF face = pm->GetColor(COLOR_BTNFACE);
    EXPECT_EQ(face, surface.Pixel(2, 2));
    EXPECT_EQ(face, surface.Pixel(99, 19));
    EXPECT_EQ(BlockPaintManager::ColorOf(bar.GetControl(0)), surface.Pixel(15, 10));
    EXPECT_EQ(BlockPaintManager::ColorOf(bar.GetControl(1)), surface.Pixel(35, 10));
    EXPECT_EQ(face, surface.Pixel(55, 10));  // the hidden control
    EXPECT_EQ(BlockPaintManager::ColorOf(bar.GetControl(3)), surface.Pixel(75, 10));
    EXPECT_EQ((std::vector<UINT>{0x20, 0x40}), pm->separatorsBefore);
    EXPECT_EQ(0, pm->grippers);

    // The first drawn control never gets a separator; the gripper shows with its style bit or when floating.
    bar.GetControl(0)->SetBeginGroup(TRUE);
    bar.SetShowGripper(TRUE);
    pm->separatorsBefore.clear();
    Print(surface);
    EXPECT_EQ((std::vector<UINT>{0x20, 0x40}), pm->separatorsBefore);
    EXPECT_EQ(1, pm->grippers);
    bar.SetShowGripper(FALSE);
    bar.SetPosition(4);
    Print(surface);
    EXPECT_EQ(2, pm->grippers);
}

TEST_F(DrawTest, ControlsOutsideTheClipAreNotDrawn)
{
    DcTestSurface surface(100, 20, RGB(1, 2, 3));
    bar.DrawCommandBar(CDC::FromHandle(surface.GetDC()), CRect(0, 0, 30, 20));
    EXPECT_EQ(BlockPaintManager::ColorOf(bar.GetControl(0)), surface.Pixel(15, 10));
    // The frame fills the client area; the control beyond the clip is not drawn over it.
    EXPECT_EQ(pm->GetColor(COLOR_BTNFACE), surface.Pixel(35, 10));
    EXPECT_EQ(pm->GetColor(COLOR_BTNFACE), surface.Pixel(75, 10));
}

TEST_F(DrawTest, CustomizeModeFramesTheSelectionAndDrawsTheDropMarker)
{
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    bar.SetCommandBars(commandBars.Get());
    commandBars->SetCustomizeSelection(bar.GetControl(1));
    DcTestSurface surface(100, 20);
    Print(surface);
    // Outside customize mode the selection is not framed.
    EXPECT_EQ(BlockPaintManager::ColorOf(bar.GetControl(1)), surface.Pixel(30, 2));

    commandBars->SetCustomizeMode(TRUE);
    commandBars->SetCustomizeSelection(bar.GetControl(1));
    Print(surface);
    const COLORREF inside = BlockPaintManager::ColorOf(bar.GetControl(1));
    EXPECT_EQ(RGB(0, 0, 0), surface.Pixel(30, 2));
    EXPECT_EQ(RGB(0, 0, 0), surface.Pixel(31, 3));
    EXPECT_EQ(RGB(0, 0, 0), surface.Pixel(47, 17));
    EXPECT_EQ(RGB(0, 0, 0), surface.Pixel(46, 16));
    EXPECT_EQ(inside, surface.Pixel(32, 4));
    EXPECT_EQ(inside, surface.Pixel(45, 15));
    EXPECT_EQ(BlockPaintManager::ColorOf(bar.GetControl(0)), surface.Pixel(10, 2));
}

TEST_F(DrawTest, CustomizeModeTurnsTheSelectionOff)
{
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    commandBars->SetCustomizeMode(TRUE);
    commandBars->SetCustomizeSelection(bar.GetControl(0));
    EXPECT_EQ(2, RefCount(bar.GetControl(0)));
    commandBars->SetCustomizeMode(FALSE);
    EXPECT_EQ(nullptr, commandBars->GetCustomizeSelection());
    EXPECT_EQ(1, RefCount(bar.GetControl(0)));
}

// The insertion marker: pixels the marker's shape inverts with the colour manager's colour 15.
class DropMarkerBar : public COSMCommandBar
{
public:
    void SetDropMarker(const CRect& rect, BOOL vertical)
    {
        m_dropMarkerRect = rect;
        m_dropMarkerVertical = vertical;
    }
};

TEST_F(DrawTest, DropMarkerIsAnInvertedIBeam)
{
    const struct
    {
        BOOL vertical;
        CRect rect;
        std::vector<CRect> parts;
    } cases[] = {
        {FALSE,
         CRect(20, 2, 26, 18),
         {CRect(20, 2, 26, 3), CRect(21, 3, 25, 4), CRect(22, 4, 24, 16), CRect(20, 17, 26, 18),
          CRect(21, 16, 25, 17)}},
        {TRUE,
         CRect(20, 2, 60, 8),
         {CRect(20, 2, 21, 8), CRect(21, 3, 22, 7), CRect(22, 4, 58, 6), CRect(59, 2, 60, 8), CRect(58, 3, 59, 7)}},
    };
    for (const auto& c : cases)
    {
        RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
        commandBars->SetCustomizeMode(TRUE);
        DropMarkerBar marked;
        ASSERT_TRUE(CreateBarWindow(marked, 100, 20, FALSE));
        marked.SetShowGripper(FALSE);
        marked.SetCommandBars(commandBars.Get());
        marked.SetDropMarker(c.rect, c.vertical);
        DcTestSurface surface(100, 20);
        marked.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.GetDC()), PRF_CLIENT);
        const COLORREF face = pm->GetColor(COLOR_BTNFACE);
        const COLORREF pattern = GetColorManager()->GetColor(15);
        const COLORREF inverted = face ^ pattern;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 100; ++x)
            {
                BOOL inPart = FALSE;
                for (const CRect& part : c.parts)
                    inPart |= part.PtInRect(CPoint(x, y));
                ASSERT_EQ(inPart ? inverted : face, surface.Pixel(x, y)) << c.vertical << " " << x << "," << y;
            }
        // Outside customize mode nothing is marked.
        commandBars->SetCustomizeMode(FALSE);
        marked.DrawCommandBar(CDC::FromHandle(surface.GetDC()), CRect(0, 0, 100, 20));
        EXPECT_EQ(face, surface.Pixel(c.parts[2].left, c.parts[2].top));
    }
}

TEST_F(DrawTest, PaintGoesThroughOneBufferedCopyOfTheRectangle)
{
    DcTestSurface target(100, 20, RGB(9, 9, 9));
    bar.GetAnimation()->Paint(CDC::FromHandle(target.GetDC()), CRect(30, 0, 60, 20));
    EXPECT_EQ(RGB(9, 9, 9), target.Pixel(29, 10));
    EXPECT_EQ(RGB(9, 9, 9), target.Pixel(15, 10));
    EXPECT_EQ(BlockPaintManager::ColorOf(bar.GetControl(1)), target.Pixel(35, 10));
    EXPECT_EQ(pm->GetColor(COLOR_BTNFACE), target.Pixel(55, 10));
    EXPECT_EQ(RGB(9, 9, 9), target.Pixel(60, 10));
    EXPECT_EQ(RGB(9, 9, 9), target.Pixel(75, 10));
}

TEST_F(DrawTest, WindowPaintDrawsTheBarThroughTheAnimation)
{
    bar.ShowWindow(SW_SHOWNOACTIVATE);
    bar.UpdateWindow();
    pm->ClearCalls();
    bar.InvalidateRect(nullptr, FALSE);
    bar.UpdateWindow();
    ASSERT_FALSE(pm->GetCalls().empty());
    EXPECT_EQ("FillCommandBar(type=1)", pm->GetCalls().front());
    CRect update;
    EXPECT_FALSE(::GetUpdateRect(bar.GetSafeHwnd(), &update, FALSE));
}

TEST_F(CommandBarTest, AnimationTimerStopsOnlyWhenItWasStarted)
{
    const char* operations[] = {"timer", "reset", "removeAll"};
    for (const char* operation : operations)
        for (BOOL started : {FALSE, TRUE})
        {
            WindowBar bar;
            ASSERT_TRUE(CreateBarWindow(bar, 20, 20, FALSE));
            COSMCommandBarAnimation* animation = bar.GetAnimation();
            ASSERT_TRUE(::SetTimer(bar.GetSafeHwnd(), COSMCommandBarAnimation::kTimerId, 10000, nullptr));
            if (started)
                animation->SetTimer(COSMCommandBarAnimation::kTimerId);
            const std::string name = operation;
            if (name == "timer")
                bar.SendMessage(WM_TIMER, COSMCommandBarAnimation::kTimerId, 0);
            else if (name == "reset")
                animation->Reset();
            else
                animation->RemoveAll();
            // KillTimer fails for a timer that no longer runs.
            EXPECT_EQ(!started, ::KillTimer(bar.GetSafeHwnd(), COSMCommandBarAnimation::kTimerId))
                << operation << " " << started;
            EXPECT_EQ(0u, animation->GetTimer());
        }
}

TEST_F(CommandBarTest, AnimationSwitchesAndEnableAnimation)
{
    WindowBar bar;
    ASSERT_TRUE(CreateBarWindow(bar, 40, 20, TRUE));
    ::ValidateRect(bar.GetSafeHwnd(), nullptr);
    EXPECT_FALSE(bar.IsAnimationEnabled());
    EXPECT_FALSE(bar.GetAnimation()->IsBufferingEnabled());
    bar.GetAnimation()->SetBufferingEnabled(TRUE);
    EXPECT_TRUE(bar.GetAnimation()->IsBufferingEnabled());
    bar.EnableAnimation(TRUE);
    EXPECT_TRUE(bar.IsAnimationEnabled());
    EXPECT_TRUE(bar.GetAnimation()->IsAnimationEnabled());
    CRect update;
    ASSERT_TRUE(::GetUpdateRect(bar.GetSafeHwnd(), &update, FALSE));
    EXPECT_EQ(CRect(0, 0, 40, 20), update);
}

TEST_F(CommandBarTest, NonVirtualSettersAndQueries)
{
    COSMCommandBar bar;
    EXPECT_TRUE(bar.GetShowGripper());
    bar.SetShowGripper(FALSE);
    EXPECT_FALSE(bar.GetShowGripper());
    EXPECT_EQ(0u, bar.GetBarStyle());
    bar.ModifyFlags(0x0F, 0);
    bar.ModifyFlags(0x30, 0x05);
    EXPECT_EQ(0x3Au, bar.GetFlags());
    EXPECT_EQ(32767, bar.GetMRUWidth());
    bar.SetMRUWidth(200);
    EXPECT_EQ(200, bar.GetMRUWidth());
    EXPECT_EQ(CSize(16, 16), bar.GetIconSize());
    EXPECT_EQ(CSize(22, 22), bar.GetButtonSize());
    bar.SetIconSize(CSize(24, 20));
    EXPECT_EQ(CSize(30, 26), bar.GetButtonSize());
    bar.SetButtonSize(CSize(40, 40));
    EXPECT_EQ(CSize(40, 40), bar.GetButtonSize());
    EXPECT_FALSE(bar.SetPosition(3));
    EXPECT_EQ(3, bar.GetPosition());
    EXPECT_FALSE(bar.IsLayoutRTL());
    EXPECT_FALSE(bar.IsVisible());
    EXPECT_FALSE(bar.IsPopupBar());
    EXPECT_TRUE(bar.IsKeyboardCuesVisible());
    EXPECT_EQ(0u, bar.GetActiveDocTemplate());
    EXPECT_EQ(nullptr, bar.GetControl(0));
    EXPECT_EQ(nullptr, bar.GetControl(-1));

    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    commandBars->SetKeyboardCuesShown(FALSE);
    CMDIFrameWnd site;
    ASSERT_TRUE(site.Create(nullptr, "mdi site", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
    commandBars->SetSite(&site);
    commandBars->SetDefaultDocTemplateId(7);
    bar.SetCommandBars(commandBars.Get());
    EXPECT_FALSE(bar.IsKeyboardCuesVisible());
    EXPECT_EQ(7u, bar.GetActiveDocTemplate());
    EXPECT_FALSE(bar.IsCustomizeMode());
    commandBars->SetCustomizeMode(TRUE);
    EXPECT_TRUE(bar.IsCustomizeMode());
    EXPECT_TRUE(bar.GetControls()->Add(1, 5)->IsCustomizeMode());
}

TEST_F(CommandBarTest, LayoutDirectionComesFromTheWindow)
{
    const struct
    {
        DWORD exStyle;
        BOOL rightToLeft;
    } cases[] = {{0, FALSE}, {WS_EX_LAYOUTRTL, TRUE}, {WS_EX_RTLREADING, TRUE}};
    for (const auto& c : cases)
    {
        COSMCommandBar bar;
        ASSERT_TRUE(CreateBarWindow(bar, 20, 20, FALSE, c.exStyle));
        EXPECT_EQ(c.rightToLeft, bar.IsLayoutRTL()) << c.exStyle;
    }
}

TEST_F(CommandBarTest, PointInWindowAsksThePopupsRegion)
{
    const struct
    {
        int position;
        BOOL region;
        CPoint offset;  // from the window's top-left corner
        BOOL inside;
    } cases[] = {
        {1, FALSE, CPoint(5, 5), TRUE},   {1, FALSE, CPoint(-1, 5), FALSE}, {1, TRUE, CPoint(35, 15), TRUE},
        {5, FALSE, CPoint(35, 15), TRUE}, {5, TRUE, CPoint(35, 15), FALSE}, {5, TRUE, CPoint(5, 5), TRUE},
    };
    for (const auto& c : cases)
    {
        COSMCommandBar bar;
        ASSERT_TRUE(CreateBarWindow(bar, 40, 20, FALSE));
        bar.SetPosition(c.position);
        if (c.region)
            bar.SetWindowRgn(::CreateRectRgn(0, 0, 20, 10), FALSE);
        CRect window;
        bar.GetWindowRect(&window);
        EXPECT_EQ(c.inside, bar.IsPointInWindow(window.TopLeft() + c.offset))
            << c.position << c.region << " " << c.offset.x << "," << c.offset.y;
    }
    EXPECT_FALSE(COSMCommandBar().IsPointInWindow(CPoint(0, 0)));
}

TEST_F(CommandBarTest, CopyAndCloneTakeSettingsAndControls)
{
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    COSMCommandBar source;
    source.SetType(0);
    source.SetPosition(2);
    source.SetBarID(59393);
    source.ModifyFlags(0x21, 0);
    source.SetBarStyle(0x1234);
    source.SetTitle("Standard");
    source.SetCustomizable(FALSE);
    source.SetMRUWidth(300);
    source.SetIconSize(CSize(24, 24));
    source.SetButtonSize(CSize(30, 30));
    source.SetCommandBars(commandBars.Get());
    source.SetDefaultButtonStyle(3);
    source.GetControls()->Add(1, 1);
    source.GetControls()->Add(2, 0);
    source.GetControls()->Add(1, 9, "", -1, TRUE);

    RefPtr<COSMCommandBar> clones[] = {AdoptRef(source.Clone(FALSE)), AdoptRef(source.Clone(TRUE))};
    for (int recursive = 0; recursive < 2; ++recursive)
    {
        COSMCommandBar* clone = clones[recursive].Get();
        ASSERT_NE(nullptr, clone);
        EXPECT_EQ(RUNTIME_CLASS(COSMCommandBar), clone->GetRuntimeClass());
        EXPECT_EQ(0, clone->GetType());
        EXPECT_EQ(2, clone->GetPosition());
        EXPECT_EQ(59393u, clone->GetBarID());
        EXPECT_EQ(0x21u, clone->GetFlags());
        EXPECT_EQ(0x1234u, clone->GetBarStyle());
        EXPECT_STREQ("Standard", clone->GetTitle());
        EXPECT_FALSE(clone->IsCustomizable());
        EXPECT_EQ(300, clone->GetMRUWidth());
        EXPECT_EQ(CSize(24, 24), clone->GetIconSize());
        EXPECT_EQ(CSize(30, 30), clone->GetButtonSize());
        EXPECT_EQ(commandBars.Get(), clone->GetCommandBarsField());
        EXPECT_EQ(3, clone->GetDefaultButtonStyle());
        ASSERT_EQ(2, clone->GetControlCount());
        EXPECT_EQ(clone, clone->GetControl(1)->GetParent());
        EXPECT_TRUE(clone->GetControls()->Compare(source.GetControls()));
        EXPECT_EQ(recursive == 0, clone->GetControl(1)->GetCommandBar() == source.GetControl(1)->GetCommandBar());
    }
}

// A popup class an application puts in place of the popup bar.
class ApplicationPopup : public COSMPopupBar
{
    DECLARE_DYNCREATE(ApplicationPopup)
};
IMPLEMENT_DYNCREATE(ApplicationPopup, COSMPopupBar)

TEST_F(CommandBarTest, PopupBarsComeFromTheReplaceableClass)
{
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    RefPtr<COSMPopupBar> popup = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars.Get()));
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(RUNTIME_CLASS(COSMPopupBar), popup->GetRuntimeClass());
    EXPECT_EQ(2, popup->GetType());
    EXPECT_EQ(5, popup->GetPosition());
    EXPECT_EQ(0, popup->GetMRUWidth());
    EXPECT_TRUE(popup->IsPopupBar());
    EXPECT_EQ(commandBars.Get(), popup->GetCommandBarsField());
    EXPECT_EQ(nullptr, popup->GetControlPopup());
    EXPECT_EQ(nullptr, popup->GetParentCommandBar());

    COSMPopupBar::s_pPopupBarClass = RUNTIME_CLASS(ApplicationPopup);
    RefPtr<COSMPopupBar> replaced = AdoptRef(COSMPopupBar::CreatePopupBar(nullptr));
    ASSERT_NE(nullptr, replaced);
    EXPECT_EQ(RUNTIME_CLASS(ApplicationPopup), replaced->GetRuntimeClass());
    EXPECT_EQ(nullptr, replaced->GetCommandBarsField());
    // The clone of a popup is made the same way.
    popup->GetControls()->Add(1, 7);
    RefPtr<COSMCommandBar> clone = AdoptRef(popup->Clone(FALSE));
    EXPECT_EQ(RUNTIME_CLASS(ApplicationPopup), clone->GetRuntimeClass());
    EXPECT_EQ(commandBars.Get(), clone->GetCommandBarsField());
    EXPECT_EQ(1, clone->GetControlCount());
    // A class that is not a popup bar makes nothing.
    COSMPopupBar::s_pPopupBarClass = RUNTIME_CLASS(COSMCommandBar);
    EXPECT_EQ(nullptr, COSMPopupBar::CreatePopupBar(commandBars.Get()));
}

TEST_F(CommandBarTest, TheLastReleaseDestroysTheWindow)
{
    auto* bar = new COSMCommandBar;
    ASSERT_TRUE(CreateBarWindow(*bar, 20, 20, FALSE));
    const HWND window = bar->GetSafeHwnd();
    bar->GetControls()->Add(1, 1);
    bar->InternalAddRef();
    bar->InternalRelease();
    EXPECT_TRUE(::IsWindow(window));
    bar->InternalRelease();
    EXPECT_FALSE(::IsWindow(window));
}

TEST_F(CommandBarTest, RemovedBarsLoseControlsAndWindow)
{
    COSMCommandBar bar;
    ASSERT_TRUE(CreateBarWindow(bar, 20, 20, FALSE));
    COSMControl* control = bar.GetControls()->Add(1, 1);
    RefPtr<COSMControl> kept = AdoptRef(control);
    control->InternalAddRef();
    bar.OnRemoved();
    EXPECT_EQ(0, bar.GetControlCount());
    EXPECT_EQ(nullptr, bar.GetSafeHwnd());
    EXPECT_EQ(nullptr, kept->GetParent());
}

TEST_F(CommandBarTest, SetControlsReplacesTheCollection)
{
    COSMCommandBar bar;
    COSMControls* old = bar.GetControls();
    old->InternalAddRef();
    auto* replacement = new COSMControls;
    replacement->Add(1, 8);
    bar.SetControls(replacement);
    EXPECT_EQ(replacement, bar.GetControls());
    EXPECT_EQ(&bar, replacement->GetParent());
    EXPECT_EQ(&bar, replacement->GetAt(0)->GetParent());
    EXPECT_EQ(nullptr, old->GetParent());
    EXPECT_EQ(1, RefCount(old));
    old->InternalRelease();
}

}  // namespace
