// The manager skeleton: its paint and image managers, and the customize mode with its selected control, which is
// referenced, redrawn in its bar and reported to the site. A site window and bar windows on the display.
#include "classlib/MDIChildWnd.h"
#include "classlib/ReBar.h"
#include "classlib/WinApp.h"
#include "CommandBarsTestSupport.h"
#include "GdiObjectCount.h"
#include "PersistenceTestSupport.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/ToolBar.h"
#include "framework/foundation/ImageManager.h"

#include <commctrl.h>
#include <cstring>

using namespace commandbars_test;

namespace {

// A bar whose window counts as visible, so that controls can redraw in it.
class VisibleBar : public COSMCommandBar
{
public:
    BOOL IsVisible() const override { return GetSafeHwnd() && ::IsWindowVisible(m_hWnd); }
};

using CommandBarsManagerTest = SiteTest;

TEST_F(CommandBarsManagerTest, OwnManagersElseTheProcessWideOnes)
{
    COSMPaintManager* global = commandBars->GetPaintManager();
    ASSERT_NE(nullptr, global);
    EXPECT_EQ(global, COSMPaintManager::GetGlobalPaintManager());
    EXPECT_EQ(GetImageManager(), commandBars->GetImageManager());

    RefPtr<COSMPaintManager> paintManager = AdoptRef(COSMTestPaintManager::Create());
    RefPtr<COSMImageManager> imageManager = AdoptRef(new COSMImageManager);
    commandBars->SetPaintManager(paintManager.Get());
    commandBars->SetImageManager(imageManager.Get());
    EXPECT_EQ(paintManager.Get(), commandBars->GetPaintManager());
    EXPECT_EQ(imageManager.Get(), commandBars->GetImageManager());
    EXPECT_EQ(2, RefCount(paintManager.Get()));
    EXPECT_EQ(2, RefCount(imageManager.Get()));
    commandBars.Reset();
    EXPECT_EQ(1, RefCount(paintManager.Get()));
    EXPECT_EQ(1, RefCount(imageManager.Get()));
}

// A manager given a site, with dock bars and a toolbar, gives back every GDI object it made when it is released: what
// it shares (the paint manager's fonts, the resource manager's cursors) is made once per process, not per manager.
TEST_F(CommandBarsManagerTest, ManagersWithASiteLeaveNoGdiObjectsBehind)
{
    const auto makeAndRelease = [] {
        FreshSite fresh;
        ASSERT_TRUE(fresh.created);
        auto* toolBar = static_cast<COSMToolBar*>(fresh.commandBars->AddToolBar("Standard", 59392));
        ASSERT_NE(nullptr, toolBar);
        const UINT ids[] = {30101, 30102, 0, 30103};
        toolBar->SetButtons(ids, 4);
        fresh.frame.RecalcLayout();
        PumpMessages();
    };
    makeAndRelease();
    PumpMessages();
    const int before = CountGdiObjects();
    for (int i = 0; i < 10; ++i)
        makeAndRelease();
    PumpMessages();
    EXPECT_EQ(before, CountGdiObjects());
}

TEST_F(CommandBarsManagerTest, CustomizeSelectionIsReferencedRedrawnAndReported)
{
    VisibleBar bar;
    ASSERT_TRUE(CreateBarWindow(bar, 100, 20, TRUE));
    bar.SetCommandBars(commandBars.Get());
    COSMControl* first = bar.GetControls()->Add(1, 1);
    COSMControl* second = bar.GetControls()->Add(1, 2);
    first->SetRect(CRect(0, 0, 20, 20));
    second->SetRect(CRect(40, 0, 60, 20));
    ::ValidateRect(bar.GetSafeHwnd(), nullptr);
    site.messages.clear();

    const struct
    {
        COSMControl* select;
        CRect invalid;  // empty: nothing to redraw
        int reports;
    } steps[] = {
        {first, CRect(0, 0, 20, 20), 1},    {first, CRect(), 0},  // the same control again: nothing
        {second, CRect(0, 0, 60, 20), 1},                         // the old and the new control
        {nullptr, CRect(40, 0, 60, 20), 1}, {nullptr, CRect(), 0},
    };
    for (const auto& step : steps)
    {
        const LONG firstRefs = RefCount(first);
        site.messages.clear();
        commandBars->SetCustomizeSelection(step.select);
        EXPECT_EQ(step.select, commandBars->GetCustomizeSelection());
        EXPECT_EQ(step.reports, site.Count(COSMCommandBars::kMessageCustomizeSelectionChanged));
        CRect update;
        const BOOL invalid = ::GetUpdateRect(bar.GetSafeHwnd(), &update, FALSE);
        EXPECT_EQ(!step.invalid.IsRectEmpty(), invalid);
        if (invalid)
        {
            EXPECT_EQ(step.invalid, update);
        }
        ::ValidateRect(bar.GetSafeHwnd(), nullptr);
        if (step.select == first && step.reports)
        {
            EXPECT_EQ(firstRefs + 1, RefCount(first));
        }
    }
    EXPECT_EQ(1, RefCount(first));
    EXPECT_EQ(1, RefCount(second));
}

TEST_F(CommandBarsManagerTest, CustomizeModeClearsTheSelection)
{
    COSMCommandBar bar;
    bar.SetCommandBars(commandBars.Get());
    COSMControl* control = bar.GetControls()->Add(1, 1);
    EXPECT_FALSE(commandBars->IsCustomizeMode());
    for (BOOL on : {TRUE, FALSE})
    {
        commandBars->SetCustomizeSelection(control);
        site.messages.clear();
        commandBars->SetCustomizeMode(on);
        EXPECT_EQ(on, commandBars->IsCustomizeMode());
        EXPECT_EQ(on, control->IsCustomizeMode());
        EXPECT_EQ(nullptr, commandBars->GetCustomizeSelection());
        EXPECT_EQ(1, site.Count(COSMCommandBars::kMessageCustomizeSelectionChanged));
        EXPECT_EQ(1, RefCount(control));
    }
}

TEST_F(CommandBarsManagerTest, ASelectionOutlivesItsBarUntilReplaced)
{
    COSMControl* control = nullptr;
    {
        COSMCommandBar bar;
        control = bar.GetControls()->Add(1, 1);
        commandBars->SetCustomizeSelection(control);
    }
    EXPECT_EQ(1, RefCount(control));
    EXPECT_EQ(nullptr, control->GetParent());
    commandBars->SetCustomizeSelection(nullptr);
}

// ---- The site: the rebar child and the MDI child's document template ----------------------------------------------

TEST_F(CommandBarsManagerTest, OnlyARebarBarOfTheSiteTakesBands)
{
    // The site's child 0xE804 takes bands only when it is the framework's rebar bar (ReBarTests.cpp): no child, a
    // child of another kind, or a bare rebar control leave the toolbar where it is.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_COOL_CLASSES};
    ASSERT_TRUE(::InitCommonControlsEx(&controls));
    auto* bar = new COSMToolBar;
    bar->SetBarID(120);
    ASSERT_TRUE(CreateBarWindow(*bar, 80, 22, TRUE));
    commandBars->AddCommandBar(bar);
    const HWND barWindow = bar->GetSafeHwnd();

    const char* const children[] = {nullptr, "STATIC", REBARCLASSNAMEA};
    for (const char* className : children)
    {
        SCOPED_TRACE(className ? className : "no child");
        HWND child =
            className
                ? ::CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 30, site.GetSafeHwnd(),
                                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_REBAR)), nullptr, nullptr)
                : nullptr;
        EXPECT_EQ(nullptr, commandBars->GetReBar());
        commandBars->AddToReBar(bar);
        commandBars->RemoveFromReBar(bar);
        EXPECT_EQ(nullptr, ::GetParent(barWindow));
        if (child)
        {
            if (std::strcmp(className, REBARCLASSNAMEA) == 0)
            {
                EXPECT_EQ(0, ::SendMessageA(child, RB_GETBANDCOUNT, 0, 0));
            }
            ::DestroyWindow(child);
        }
    }
    commandBars->Remove(bar);
}

TEST_F(CommandBarsManagerTest, TheActiveDocumentTemplateFollowsTheActiveMDIChild)
{
    // A site that is no MDI frame has none, whatever the default.
    commandBars->SetDefaultDocTemplateId(300);
    EXPECT_EQ(0u, commandBars->GetActiveDocTemplateId());

    ASSERT_EQ(nullptr, AfxGetApp());
    CWinApp app("document templates");
    // Templates of ids the program has no resources for: their shared menus are the test's.
    auto* text = new CDocTemplate(310);
    auto* image = new CDocTemplate(320);
    text->m_hMenuShared = ::CreateMenu();
    image->m_hMenuShared = ::CreateMenu();
    app.AddDocTemplate(text);
    app.AddDocTemplate(image);

    CMDIFrameWnd frame;
    ASSERT_TRUE(frame.Create(nullptr, "mdi site", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CRect(60, 60, 460, 360)));
    RefPtr<COSMCommandBars> mdiBars = AdoptRef(new COSMCommandBars);
    mdiBars->SetSite(&frame);
    mdiBars->SetDefaultDocTemplateId(300);
    EXPECT_EQ(300u, mdiBars->GetActiveDocTemplateId());

    CMDIChildWnd first;
    CMDIChildWnd second;
    ASSERT_TRUE(
        first.Create(nullptr, "first", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 150), &frame));
    // Without a document: the child's own id.
    ASSERT_NE(0, first.GetDlgCtrlID());
    EXPECT_EQ(UINT(first.GetDlgCtrlID()), mdiBars->GetActiveDocTemplateId());

    CDocument document;
    first.SetActiveDocument(&document);
    HMENU unknown = ::CreateMenu();
    const struct
    {
        HMENU shared;
        UINT expected;
    } cases[] = {{text->m_hMenuShared, 310}, {image->m_hMenuShared, 320}, {unknown, 0}, {nullptr, 0}};
    for (const auto& c : cases)
    {
        first.m_hMenuShared = c.shared;
        EXPECT_EQ(c.expected, mdiBars->GetActiveDocTemplateId()) << c.expected;
    }
    ::DestroyMenu(unknown);

    // Another child, without a document, becomes the active one.
    first.m_hMenuShared = image->m_hMenuShared;
    ASSERT_TRUE(
        second.Create(nullptr, "second", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(20, 20, 220, 170), &frame));
    ASSERT_NE(first.GetDlgCtrlID(), second.GetDlgCtrlID());
    EXPECT_EQ(UINT(second.GetDlgCtrlID()), mdiBars->GetActiveDocTemplateId());
    first.MDIActivate();
    EXPECT_EQ(320u, mdiBars->GetActiveDocTemplateId());

    second.DestroyWindow();
    first.DestroyWindow();
    EXPECT_EQ(300u, mdiBars->GetActiveDocTemplateId());
    frame.DestroyWindow();
}

}  // namespace
