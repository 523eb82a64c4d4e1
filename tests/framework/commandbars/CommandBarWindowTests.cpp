// The bar as a window: what its creation and destruction register and release, the last release, the tooltip
// context hearing every message, printing with the customize marks, the status line and help ids of controls,
// context help, where notifications go, redraws up the popup chain, removal, and the manager's drop source and
// keyboard state. Real windows on the display; drawing read back from DIB sections.
#include "classlib/DC.h"
#include "BarWindowTestSupport.h"
#include "CommandBarsTestFrame.h"
#include "tests/support/DcTestSurface.h"

#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/ControlAction.h"
#include "framework/commandbars/CustomizeDropSource.h"
#include "framework/foundation/ToolTipContext.h"
#include "platform/classlib/RefPtr.h"

#include <string>

using namespace commandbars_test;
using foundation_test::DcTestSurface;

namespace {

using BarWindowTest = CommandBarsTest;

// ---- Creation and destruction ----

TEST_F(BarWindowTest, CreationRegistersTakesTheContextOrEnablesTooltipsAndDestructionUnregisters)
{
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    COSMToolTipContext* context = commandBars->GetToolTipContext();
    COSMCustomizeDropSource* dropSource = commandBars->GetDropSource();
    const struct
    {
        BOOL manager;
        int position;
        int type;
        BOOL registered;
        BOOL tooltipsEnabled;
    } cases[] = {
        {TRUE, 0, 1, TRUE, FALSE},
        {TRUE, 5, 2, TRUE, FALSE},
        {TRUE, COSMCommandBar::kPositionNoDropTarget, 1, FALSE, FALSE},  // no drop target
        {FALSE, 0, 1, FALSE, TRUE},                                      // tooltips of its own
        {FALSE, 5, 2, FALSE, FALSE},                                     // a popup without a manager has none
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.manager << " " << c.position << " " << c.type);
        const LONG before = RefCount(context);
        TestWindowBar bar;
        bar.SetCommandBars(c.manager ? commandBars.Get() : nullptr);
        bar.SetPosition(c.position);
        bar.SetType(c.type);
        ASSERT_TRUE(CreateBarWindow(bar, 60, 20, FALSE));
        EXPECT_EQ(c.registered, dropSource->IsRegistered(&bar));
        EXPECT_EQ(c.manager ? context : nullptr, bar.GetToolTipContext());
        EXPECT_EQ(before + (c.manager ? 1 : 0), RefCount(context));
        EXPECT_EQ(c.tooltipsEnabled, bar.IsToolTipsEnabled());

        // A second window takes the context again without a second reference.
        bar.DestroyWindow();
        EXPECT_FALSE(dropSource->IsRegistered(&bar));
        ASSERT_TRUE(CreateBarWindow(bar, 60, 20, FALSE));
        EXPECT_EQ(before + (c.manager ? 1 : 0), RefCount(context));
        EXPECT_EQ(c.registered, dropSource->IsRegistered(&bar));
        bar.DestroyWindow();
        EXPECT_TRUE(dropSource->GetBars().empty());
    }
}

TEST_F(BarWindowTest, DestroyingTheWindowLeavesTrackingOnlyWhenTracking)
{
    for (int tracking : {0, 1, 2})
    {
        TestWindowBar bar;
        ASSERT_TRUE(CreateBarWindow(bar, 60, 20, FALSE));
        if (tracking)
            bar.SetTrackingMode(tracking, FALSE, FALSE);
        bar.trackingModes.clear();
        bar.DestroyWindow();
        EXPECT_EQ(tracking ? std::vector<int>{0} : std::vector<int>{}, bar.trackingModes) << tracking;
    }
}

TEST_F(BarWindowTest, ABarDeletedWithItsWindowUpLeavesTheDropSource)
{
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    HWND window = nullptr;
    {
        COSMCommandBar bar;
        bar.SetCommandBars(commandBars.Get());
        ASSERT_TRUE(CreateBarWindow(bar, 60, 20, FALSE));
        window = bar.GetSafeHwnd();
        ASSERT_TRUE(commandBars->GetDropSource()->IsRegistered(&bar));
    }
    EXPECT_TRUE(commandBars->GetDropSource()->GetBars().empty());
    EXPECT_FALSE(::IsWindow(window));
}

// A bar whose WM_DESTROY handler takes a reference and gives it back, as handlers that call out often do.
class ReferencingBar : public COSMCommandBar
{
public:
    ~ReferencingBar() override { ++deletions; }
    static int deletions;
    static LONG countInDestroy;

protected:
    afx_msg void OnDestroy()
    {
        countInDestroy = m_dwRef;
        InternalAddRef();
        InternalRelease();
        COSMCommandBar::OnDestroy();
    }
    DECLARE_MESSAGE_MAP()
};
int ReferencingBar::deletions = 0;
LONG ReferencingBar::countInDestroy = -1;

BEGIN_MESSAGE_MAP(ReferencingBar, COSMCommandBar)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

TEST_F(BarWindowTest, TheLastReleaseDestroysTheWindowAndDeletesTheBarOnce)
{
    ReferencingBar::deletions = 0;
    RefPtr<ReferencingBar> bar = AdoptRef(new ReferencingBar);
    ASSERT_TRUE(CreateBarWindow(*bar, 40, 20, FALSE));
    const HWND window = bar->GetSafeHwnd();
    bar.Reset();
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(1, ReferencingBar::deletions);
    // The count stays above 0 while the window goes, so the handler's pair cannot end the bar a second time.
    EXPECT_GE(ReferencingBar::countInDestroy, 1);
}

// ---- Tooltips ----

// A context that records what the bars give it.
class RecordingContext : public COSMToolTipContext
{
public:
    struct Entry
    {
        CWnd* window;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    void FilterToolTipMessage(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        entries.push_back(Entry{pWnd, message, wParam, lParam});
        if (log)
            log->push_back("filter " + std::to_string(message));
    }
    std::vector<Entry> entries;
    std::vector<std::string>* log = nullptr;
};

// A bar with a handler of its own, to see the filter come first.
class HandlingBar : public TestWindowBar
{
public:
    static constexpr UINT kOwnMessage = WM_APP + 7;
    std::vector<std::string> log;

protected:
    afx_msg LRESULT OnOwnMessage(WPARAM, LPARAM)
    {
        log.push_back("handler");
        return 42;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(HandlingBar, TestWindowBar)
    ON_MESSAGE(kOwnMessage, OnOwnMessage)
END_MESSAGE_MAP()

TEST_F(BarWindowTest, TheTooltipContextHearsEveryMessageBeforeTheBar)
{
    RefPtr<RecordingContext> context = AdoptRef(new RecordingContext);
    HandlingBar bar;
    ASSERT_TRUE(CreateBarWindow(bar, 60, 20, FALSE));
    bar.UseToolTipContext(context.Get());
    context->log = &bar.log;

    const struct
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    } messages[] = {
        {WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 6)},
        {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(7, 8)},
        {WM_KEYDOWN, VK_F1, 1},
        {WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Bar")},
        {HandlingBar::kOwnMessage, 3, 4},
    };
    for (const auto& m : messages)
        bar.SendMessage(m.message, m.wParam, m.lParam);
    ASSERT_EQ(std::size(messages), context->entries.size());
    for (size_t i = 0; i < context->entries.size(); ++i)
    {
        EXPECT_EQ(&bar, context->entries[i].window);
        EXPECT_EQ(messages[i].message, context->entries[i].message);
        EXPECT_EQ(messages[i].wParam, context->entries[i].wParam);
        EXPECT_EQ(messages[i].lParam, context->entries[i].lParam);
    }
    const std::string own = "filter " + std::to_string(HandlingBar::kOwnMessage);
    EXPECT_EQ((std::vector<std::string>{own, "handler"}), std::vector<std::string>(bar.log.end() - 2, bar.log.end()));

    // A child window's message reaches the context with the bar as the site.
    context->entries.clear();
    bar.RelayToolTipEvent(WM_MOUSEMOVE, 9, MAKELPARAM(1, 2));
    ASSERT_EQ(1u, context->entries.size());
    EXPECT_EQ(&bar, context->entries[0].window);
    EXPECT_EQ(9u, context->entries[0].wParam);
    context->log = nullptr;

    // Without a context nothing is relayed and messages still arrive.
    TestWindowBar loose;
    ASSERT_TRUE(CreateBarWindow(loose, 60, 20, FALSE));
    loose.RelayToolTipEvent(WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(nullptr, loose.GetToolTipContext());
}

// ---- Printing ----

// The test paint manager with the gripper calls recorded.
class GripperPaintManager : public COSMTestPaintManager
{
public:
    static COSMPaintManager* Create() { return new GripperPaintManager; }
    CSize DrawCommandBarGripper(CDC* dc, COSMCommandBar* bar, BOOL draw) override
    {
        grippers.push_back(draw);
        return CSize(0, 0);
    }
    std::vector<BOOL> grippers;
};

TEST_F(BarWindowTest, PrintClientFramesTheCustomizeSelectionAndDrawsTheFloatingGripper)
{
    COSMPaintManager::RegisterThemeCreator(0, &GripperPaintManager::Create);
    auto* paintManager = static_cast<GripperPaintManager*>(GetProcessPaintManager());
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    const COLORREF face = paintManager->GetColor(COLOR_BTNFACE);
    TestWindowBar bar;
    bar.SetCommandBars(commandBars.Get());
    ASSERT_TRUE(CreateBarWindow(bar, 100, 24, FALSE));
    // A floating bar draws its gripper even with the style bit clear.
    bar.SetShowGripper(FALSE);
    bar.SetPosition(4);
    // A control the test paint manager does not paint: the frame shows through it.
    COSMControl* selected = bar.GetControls()->Add(1, 0);
    selected->SetRect(CRect(10, 2, 30, 22));
    commandBars->SetCustomizeMode(TRUE);
    commandBars->SetCustomizeSelection(selected);

    DcTestSurface surface(100, 24, RGB(1, 2, 3));
    bar.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.GetDC()), PRF_CLIENT);
    EXPECT_EQ(std::vector<BOOL>{TRUE}, paintManager->grippers);
    // Two black one-pixel frames, one inside the other, around the selection; the rest is the bar's face.
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 100; ++x)
        {
            const CPoint point(x, y);
            CRect inner = selected->GetRect();
            inner.DeflateRect(2, 2);
            const BOOL inFrame = selected->GetRect().PtInRect(point) && !inner.PtInRect(point);
            ASSERT_EQ(inFrame ? RGB(0, 0, 0) : face, surface.Pixel(x, y)) << x << "," << y;
        }

    // Outside customize mode nothing frames the control; a docked bar without the style bit has no gripper.
    commandBars->SetCustomizeMode(FALSE);
    bar.SetPosition(0);
    paintManager->grippers.clear();
    bar.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.GetDC()), PRF_CLIENT);
    EXPECT_TRUE(paintManager->grippers.empty());
    EXPECT_EQ(face, surface.Pixel(10, 2));
    EXPECT_EQ(face, surface.Pixel(11, 3));
}

// ---- Status line and help ids ----

class StatusTextTest : public BarWindowTest
{
protected:
    void SetUp() override
    {
        BarWindowTest::SetUp();
        ASSERT_TRUE(frame.CreateTestFrame());
        commandBars->SetSite(&frame);
        commandBars->EnableActions(TRUE);
        bar.SetCommandBars(commandBars.Get());
        ASSERT_TRUE(CreateChildBar(bar, frame, CRect(0, 0, 200, 24)));
        described = bar.GetControls()->Add(1, 301);
        described->SetDescription("Saves the file");
        plain = bar.GetControls()->Add(1, 302);
        frame.ClearRecords();
    }

    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    CCommandBarsTestFrame frame;
    TestWindowBar bar;
    COSMControl* described = nullptr;
    COSMControl* plain = nullptr;
};

TEST_F(StatusTextTest, ShowingAndHidingTellTheSiteAndPutTheDescriptionOnTheStatusLine)
{
    bar.UpdateStatusText(TRUE, described);
    bar.UpdateStatusText(FALSE, described);
    bar.UpdateStatusText(TRUE, plain);
    const auto notes = frame.RecordsOf(CCommandBarsTestFrame::kStatusText);
    ASSERT_EQ(3u, notes.size());
    EXPECT_EQ(reinterpret_cast<WPARAM>(described), notes[0].wParam);
    EXPECT_EQ(0u, notes[1].wParam);
    EXPECT_EQ(reinterpret_cast<WPARAM>(plain), notes[2].wParam);
    // Hiding, and a control without a description, bring back the idle text.
    EXPECT_EQ((std::vector<std::string>{"Saves the file", "", ""}), frame.StatusTexts());
    EXPECT_EQ(static_cast<UINT>(AFX_IDS_IDLEMESSAGE), frame.m_nIDLastMessage);

    // No control: nothing at all.
    frame.ClearRecords();
    bar.UpdateStatusText(TRUE, nullptr);
    EXPECT_TRUE(frame.Records().empty());
    EXPECT_TRUE(frame.StatusTexts().empty());
}

TEST_F(StatusTextTest, TheHelpIdFollowsTheControlAndItsAction)
{
    const struct
    {
        UINT own;
        UINT actionHelp;
        BOOL bound;
        UINT expected;
    } cases[] = {
        {55, 66, TRUE, 55},
        {0, 66, TRUE, 66},
        {0, 0, TRUE, 301},    // the action's id
        {0, 66, FALSE, 301},  // the control's id
    };
    for (const auto& c : cases)
    {
        described->SetHelpId(c.own);
        described->SetAction(c.bound ? commandBars->CreateAction(301) : nullptr);
        commandBars->GetAction(301)->SetHelpId(c.actionHelp);
        bar.UpdateStatusText(TRUE, described);
        EXPECT_EQ(c.expected, commandBars->GetHelpId()) << c.own << " " << c.actionHelp << " " << c.bound;
        // Context help over the control answers with the same id.
        described->SetRect(CRect(10, 2, 30, 22));
        EXPECT_EQ(0x10000 + static_cast<LRESULT>(c.expected), bar.SendMessage(WM_HELPHITTEST, 0, MAKELPARAM(15, 5)));
        bar.UpdateStatusText(FALSE, described);
        EXPECT_EQ(0u, commandBars->GetHelpId());
    }
}

TEST_F(StatusTextTest, TheControlBeingPressedKeepsItsStatusText)
{
    bar.SetStatusTextIndex(described->GetIndex());
    bar.UpdateStatusText(TRUE, described);
    EXPECT_TRUE(frame.StatusTexts().empty());
    EXPECT_EQ(1, frame.CountOf(CCommandBarsTestFrame::kStatusText));
    EXPECT_EQ(described->GetIndex(), bar.GetStatusTextIndex());
    bar.UpdateStatusText(FALSE, described);
    EXPECT_TRUE(frame.StatusTexts().empty());
    EXPECT_EQ(-1, bar.GetStatusTextIndex());

    // Another control takes the line and clears the mark.
    bar.SetStatusTextIndex(plain->GetIndex());
    bar.UpdateStatusText(TRUE, described);
    EXPECT_EQ(std::vector<std::string>{"Saves the file"}, frame.StatusTexts());
    EXPECT_EQ(-1, bar.GetStatusTextIndex());
}

TEST_F(StatusTextTest, StatusTextsOffLeaveTheLineAlone)
{
    commandBars->GetCommandBarsOptions()->m_showStatusTexts = FALSE;
    bar.UpdateStatusText(TRUE, described);
    bar.UpdateStatusText(FALSE, described);
    EXPECT_TRUE(frame.StatusTexts().empty());
    EXPECT_EQ(2, frame.CountOf(CCommandBarsTestFrame::kStatusText));
    EXPECT_EQ(0u, commandBars->GetHelpId());
}

TEST_F(BarWindowTest, HelpHitTestAnswersForControlsElseForTheWindow)
{
    CCommandBarsTestFrame frame;
    ASSERT_TRUE(frame.CreateTestFrame());
    const struct
    {
        UINT windowId;
        CPoint point;
        LRESULT expected;
    } cases[] = {
        {0xE81B, CPoint(15, 5), 0x10000 + 77},
        {0xE81B, CPoint(45, 5), 0x50000 + 0xE81B},
        {0, CPoint(45, 5), 0},
        {0, CPoint(32, 5), 0x10000 + 402},  // no help id: the control id
    };
    for (const auto& c : cases)
    {
        TestWindowBar bar;
        ASSERT_TRUE(CreateChildBar(bar, frame, CRect(0, 0, 100, 24), c.windowId));
        COSMControl* helped = bar.GetControls()->Add(1, 401);
        helped->SetHelpId(77);
        helped->SetRect(CRect(10, 2, 30, 22));
        bar.GetControls()->Add(1, 402)->SetRect(CRect(30, 2, 40, 22));
        EXPECT_EQ(c.expected, bar.SendMessage(WM_HELPHITTEST, 0, MAKELPARAM(c.point.x, c.point.y)))
            << c.windowId << " " << c.point.x;
    }
}

// ---- Where notifications go ----

TEST_F(BarWindowTest, NotificationsGoToACommandTargetUpTheChainElseTheOwnerElseTheSite)
{
    SiteWindow managerSite;
    SiteWindow owner;
    SiteWindow target;
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    commandBars->SetSite(&managerSite);

    TestWindowBar root;
    root.SetCommandBars(commandBars.Get());
    COSMControl* opener = root.GetControls()->Add(1, 1);
    TestWindowPopup popup;
    popup.SetControlPopup(opener);

    // Nothing set: the site.
    EXPECT_EQ(&managerSite, popup.GetNotifySite());
    // The root's window owner counts for command-UI updates, not for notifications.
    ASSERT_TRUE(root.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "Root", WS_POPUP, 0, 0, 50, 20,
                              owner.GetSafeHwnd(), nullptr));
    EXPECT_EQ(&managerSite, popup.GetNotifySite());
    EXPECT_EQ(owner.GetSafeHwnd(), popup.GetOwnerSite()->GetSafeHwnd());
    EXPECT_EQ(owner.GetSafeHwnd(), root.GetNotifySite()->GetSafeHwnd());
    // The popup's own window owner.
    ASSERT_TRUE(popup.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "Popup", WS_POPUP, 0, 0, 50, 20,
                               target.GetSafeHwnd(), nullptr));
    EXPECT_EQ(target.GetSafeHwnd(), popup.GetNotifySite()->GetSafeHwnd());
    // A command target up the chain wins over the owner.
    root.SetCommandTargetWindow(&managerSite);
    EXPECT_EQ(&managerSite, popup.GetNotifySite());
    popup.SetCommandTargetWindow(&owner);
    EXPECT_EQ(&owner, popup.GetNotifySite());
}

// ---- Redraws and removal ----

TEST_F(BarWindowTest, RedrawParentsRedrawsTheBarAndEveryBarAboveIt)
{
    TestWindowBar root;
    ASSERT_TRUE(CreateBarWindow(root, 80, 20, TRUE));
    COSMControl* opener = root.GetControls()->Add(1, 1);
    TestWindowPopup popup;
    popup.SetControlPopup(opener);
    ASSERT_TRUE(CreateBarWindow(popup, 60, 40, TRUE));
    TestWindowBar unrelated;
    ASSERT_TRUE(CreateBarWindow(unrelated, 40, 20, TRUE));
    COSMCommandBar* bars[] = {&root, &popup, &unrelated};
    const auto validateAll = [&] {
        for (COSMCommandBar* bar : bars)
            ::ValidateRect(bar->GetSafeHwnd(), nullptr);
    };
    const auto pending = [](COSMCommandBar& bar) {
        CRect update;
        return ::GetUpdateRect(bar.GetSafeHwnd(), &update, FALSE) != FALSE;
    };

    validateAll();
    popup.RedrawParents();
    EXPECT_TRUE(pending(popup));
    EXPECT_TRUE(pending(root));
    EXPECT_FALSE(pending(unrelated));
    validateAll();
    root.RedrawParents();
    EXPECT_TRUE(pending(root));
    EXPECT_FALSE(pending(popup));
}

TEST_F(BarWindowTest, RemovalLeavesTrackingDropsTheControlsAndDestroysTheWindow)
{
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    TestWindowBar bar;
    bar.SetCommandBars(commandBars.Get());
    ASSERT_TRUE(CreateBarWindow(bar, 60, 20, FALSE));
    bar.SetTrackingMode(1, FALSE, FALSE);
    bar.trackingModes.clear();
    bar.GetControls()->Add(1, 1);
    bar.OnRemoved();
    ASSERT_FALSE(bar.trackingModes.empty());
    EXPECT_EQ(0, bar.trackingModes.front());
    EXPECT_EQ(0, bar.GetTrackingMode());
    EXPECT_EQ(0, bar.GetControlCount());
    EXPECT_EQ(nullptr, bar.GetSafeHwnd());
    EXPECT_FALSE(commandBars->GetDropSource()->IsRegistered(&bar));
}

// ---- The manager's parts ----

// A manager that knows of a document template.
class TemplateCommandBars : public COSMCommandBars
{
public:
    UINT GetActiveDocTemplateId() const override { return activeTemplate; }
    UINT activeTemplate = 0;
};

TEST_F(BarWindowTest, TheManagersDocumentTemplateDecidesWhichControlsHide)
{
    RefPtr<TemplateCommandBars> commandBars = AdoptRef(new TemplateCommandBars);
    TestWindowBar bar;
    bar.SetCommandBars(commandBars.Get());
    ASSERT_TRUE(CreateBarWindow(bar, 60, 20, TRUE));
    COSMControl* control = bar.GetControls()->Add(1, 1);
    control->GetAssignedTemplates().SetAt(12, TRUE);
    for (UINT active : {12u, 13u, 0u})
    {
        commandBars->activeTemplate = active;
        EXPECT_EQ(active, bar.GetActiveDocTemplate());
        bar.OnIdleUpdateCmdUI(0, 0);
        // No active template (0) leaves the last verdict alone.
        EXPECT_EQ(active == 13 || active == 0, (control->GetHideFlags() & COSMControl::kHideDocTemplate) != 0)
            << active;
    }
}

TEST_F(BarWindowTest, TheDropSourceKeepsEachBarOnceAndTheSheetSlot)
{
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    COSMCustomizeDropSource* dropSource = commandBars->GetDropSource();
    ASSERT_NE(nullptr, dropSource);
    EXPECT_EQ(commandBars.Get(), dropSource->GetCommandBars());
    COSMCommandBar first;
    COSMCommandBar second;
    dropSource->Register(&first);
    dropSource->Register(&second);
    dropSource->Register(&first);
    EXPECT_EQ((std::vector<COSMCommandBar*>{&first, &second}), dropSource->GetBars());
    dropSource->Unregister(&first);
    dropSource->Unregister(&first);
    EXPECT_EQ(std::vector<COSMCommandBar*>{&second}, dropSource->GetBars());
    dropSource->Register(nullptr);
    EXPECT_EQ(1u, dropSource->GetBars().size());
    dropSource->Unregister(&second);

    EXPECT_EQ(nullptr, dropSource->GetSheet());
    alignas(8) char storage[8] = {};
    auto* sheet = reinterpret_cast<COSMCustomizeSheet*>(storage);  // only stored, never used
    dropSource->SetSheet(sheet);
    EXPECT_EQ(sheet, dropSource->GetSheet());
}

TEST_F(BarWindowTest, KeyboardStateOfAManagerWithoutTips)
{
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    COSMCommandBar bar;
    bar.SetCommandBars(commandBars.Get());
    EXPECT_EQ(0, commandBars->GetKeyboardTipsLevel());
    EXPECT_EQ(nullptr, commandBars->GetKeyboardTipsBar());
    EXPECT_EQ(0, commandBars->GetTypedPrefixLength());
    EXPECT_TRUE(commandBars->GetKeyboardTips().empty());
    // Until the tips come, asking for them shows none.
    commandBars->ShowKeyboardTips(&bar, 1);
    EXPECT_EQ(0, commandBars->GetKeyboardTipsLevel());
    bar.HideKeyboardTips();
    commandBars->ResetKeyboardState(&bar, 0);

    for (BOOL shown : {FALSE, TRUE})
    {
        commandBars->SetKeyboardCuesShown(shown);
        EXPECT_EQ(shown, commandBars->IsKeyboardCuesVisible());
        EXPECT_EQ(shown, bar.IsKeyboardCuesVisible());
    }
    EXPECT_TRUE(COSMCommandBar().IsKeyboardCuesVisible());
}

}  // namespace
