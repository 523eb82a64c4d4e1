// Command routing through OnCmdMsg and the command-UI update: update handlers decide, command handlers are found
// without being run, reflected updates reach the control itself, notifications carry their result back, and codes
// that share 16 bits with another kind of entry reach only their own.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using classlib_test::CHostWnd;

namespace {

const UINT ID_UPDATE_ONLY = 41001;   // an update handler, no command handler
const UINT ID_BOTH = 41002;          // an update handler that disables, and a command handler
const UINT ID_COMMAND_ONLY = 41003;  // a command handler only
const UINT ID_NEITHER = 41004;
const UINT ID_CONTINUES = 41005;  // an update handler that lets routing go on, and a command handler
const UINT ID_UPDATE_RANGE_FIRST = 41010;
const UINT ID_UPDATE_RANGE_LAST = 41019;
const UINT ID_CONTROL_CODES = 41020;  // control notifications with codes 0xFFFF and 0xFFFE
const UINT IDC_SELF_UPDATING = 601;
const UINT IDC_TARGET_UPDATED = 602;
const UINT IDC_UNHANDLED_BUTTON = 603;
const UINT IDC_UNHANDLED_CHECK = 604;
const UINT IDC_NOTIFYING = 605;

class CRoutingTarget : public CCmdTarget
{
public:
    std::vector<std::string> log;

protected:
    afx_msg void OnUpdateOnly(CCmdUI* pCmdUI)
    {
        log.push_back("update-only");
        pCmdUI->Enable(TRUE);
        pCmdUI->SetCheck(1);
    }
    afx_msg void OnUpdateBoth(CCmdUI* pCmdUI)
    {
        log.push_back("update-both");
        pCmdUI->Enable(FALSE);
    }
    afx_msg void OnUpdateContinues(CCmdUI* pCmdUI)
    {
        log.push_back("update-continues");
        pCmdUI->ContinueRouting();
    }
    afx_msg void OnUpdateRange(CCmdUI* pCmdUI) { log.push_back("update-range:" + std::to_string(pCmdUI->m_nID)); }
    afx_msg void OnBoth() { log.push_back("command-both"); }
    afx_msg void OnCommandOnly() { log.push_back("command-only"); }
    afx_msg void OnContinues() { log.push_back("command-continues"); }
    afx_msg void OnErrSpace() { log.push_back("control-0xFFFF"); }
    afx_msg void OnCodeFFFE() { log.push_back("control-0xFFFE"); }
    afx_msg void OnClickNotify(NMHDR* pNMHDR, LRESULT* pResult)
    {
        log.push_back("notify:" + std::to_string(static_cast<int>(pNMHDR->code)));
        *pResult = 77;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRoutingTarget, CCmdTarget)
    ON_UPDATE_COMMAND_UI(ID_UPDATE_ONLY, OnUpdateOnly)
    ON_UPDATE_COMMAND_UI(ID_BOTH, OnUpdateBoth)
    ON_COMMAND(ID_BOTH, OnBoth)
    ON_COMMAND(ID_COMMAND_ONLY, OnCommandOnly)
    ON_UPDATE_COMMAND_UI(ID_CONTINUES, OnUpdateContinues)
    ON_COMMAND(ID_CONTINUES, OnContinues)
    ON_UPDATE_COMMAND_UI_RANGE(ID_UPDATE_RANGE_FIRST, ID_UPDATE_RANGE_LAST, OnUpdateRange)
    ON_CONTROL(0xFFFF, ID_CONTROL_CODES, OnErrSpace)
    ON_CONTROL(0xFFFE, ID_CONTROL_CODES, OnCodeFFFE)
    ON_NOTIFY(NM_CLICK, IDC_NOTIFYING, OnClickNotify)
END_MESSAGE_MAP()

// A command-UI object that remembers what it was told, for items that are not windows.
class CRecordingCmdUI : public CCmdUI
{
public:
    int enableCalls = 0;
    BOOL enabled = -1;
    int checked = -1;

    void Enable(BOOL bOn = TRUE) override
    {
        CCmdUI::Enable(bOn);
        ++enableCalls;
        enabled = bOn;
    }
    void SetCheck(int nCheck = 1) override { checked = nCheck; }
};

TEST(CmdUITest, DoUpdateLetsTheUpdateHandlerDecideElseTheCommandHandler)
{
    struct Case
    {
        const char* name;
        UINT nID;
        BOOL disableIfNoHandler;
        int expectedEnableCalls;
        BOOL expectedEnabled;  // -1: Enable never called
        std::vector<std::string> expectedLog;
    };
    const Case cases[] = {
        {"update handler, flag on", ID_UPDATE_ONLY, TRUE, 1, TRUE, {"update-only"}},
        {"update handler, flag off", ID_UPDATE_ONLY, FALSE, 1, TRUE, {"update-only"}},
        {"update handler wins over command handler", ID_BOTH, TRUE, 1, FALSE, {"update-both"}},
        {"command handler only, flag on", ID_COMMAND_ONLY, TRUE, 1, TRUE, {}},
        {"command handler only, flag off", ID_COMMAND_ONLY, FALSE, 0, -1, {}},
        {"neither, flag on", ID_NEITHER, TRUE, 1, FALSE, {}},
        {"neither, flag off", ID_NEITHER, FALSE, 0, -1, {}},
        {"update handler continues routing", ID_CONTINUES, TRUE, 1, TRUE, {"update-continues"}},
        {"range handler", ID_UPDATE_RANGE_FIRST + 3, TRUE, 0, -1, {"update-range:41013"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        CRoutingTarget target;
        CRecordingCmdUI state;
        state.m_nID = c.nID;
        state.DoUpdate(&target, c.disableIfNoHandler);
        EXPECT_EQ(state.enableCalls, c.expectedEnableCalls);
        EXPECT_EQ(state.enabled, c.expectedEnabled);
        EXPECT_EQ(state.m_bEnableChanged, c.expectedEnableCalls > 0);
        // Finding the command handler never runs it.
        EXPECT_EQ(target.log, c.expectedLog);
    }
}

TEST(CmdUITest, IdsThatNameNoCommandAreNotAsked)
{
    for (UINT nID : {0u, 0xFFFFu})
    {
        CRoutingTarget target;
        CRecordingCmdUI state;
        state.m_nID = nID;
        state.DoUpdate(&target, TRUE);
        EXPECT_EQ(state.enableCalls, 0) << nID;
    }
}

TEST(CmdUITest, HandlerInfoReportsTheEntryWithoutRunningIt)
{
    CRoutingTarget target;
    AFX_CMDHANDLERINFO info{};
    EXPECT_TRUE(target.OnCmdMsg(ID_COMMAND_ONLY, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(info.pTarget, &target);
    EXPECT_NE(info.pEntry, nullptr);
    EXPECT_TRUE(target.log.empty());

    AFX_CMDHANDLERINFO none{};
    EXPECT_FALSE(target.OnCmdMsg(ID_UPDATE_ONLY, CN_COMMAND, nullptr, &none));
    EXPECT_EQ(none.pTarget, nullptr);

    // Without the query the command runs.
    EXPECT_TRUE(target.OnCmdMsg(ID_COMMAND_ONLY, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(target.log, std::vector<std::string>{"command-only"});
}

TEST(CmdUITest, EachCodeReachesOnlyItsOwnKindOfEntry)
{
    CRoutingTarget target;
    CRecordingCmdUI state;
    state.m_nID = ID_CONTROL_CODES;
    // The update query (-1) and the event code (-2) share their low 16 bits with control notifications 0xFFFF and
    // 0xFFFE; neither may run those handlers.
    EXPECT_FALSE(target.OnCmdMsg(ID_CONTROL_CODES, CN_UPDATE_COMMAND_UI, &state, nullptr));
    EXPECT_FALSE(target.OnCmdMsg(ID_CONTROL_CODES, CN_EVENT, nullptr, nullptr));
    EXPECT_FALSE(target.OnCmdMsg(ID_COMMAND_ONLY, CN_EVENT, nullptr, nullptr));
    EXPECT_TRUE(target.log.empty());
    // The control notifications themselves still arrive.
    EXPECT_TRUE(target.OnCmdMsg(ID_CONTROL_CODES, 0xFFFF, nullptr, nullptr));
    EXPECT_TRUE(target.OnCmdMsg(ID_CONTROL_CODES, 0xFFFE, nullptr, nullptr));
    EXPECT_EQ(target.log, (std::vector<std::string>{"control-0xFFFF", "control-0xFFFE"}));
}

TEST(CmdUITest, NotifyRoutingCarriesTheHandlersResult)
{
    CRoutingTarget target;
    NMHDR header{nullptr, IDC_NOTIFYING, static_cast<UINT>(NM_CLICK)};
    LRESULT result = 0;
    AFX_NOTIFY notify{&result, &header};
    EXPECT_TRUE(target.OnCmdMsg(IDC_NOTIFYING, MAKELONG(NM_CLICK, WM_NOTIFY), &notify, nullptr));
    EXPECT_EQ(result, 77);
    EXPECT_EQ(target.log, std::vector<std::string>{"notify:" + std::to_string(static_cast<int>(NM_CLICK))});

    // Another id, another code, or no block: not handled, result untouched.
    result = 0;
    EXPECT_FALSE(target.OnCmdMsg(IDC_NOTIFYING + 1, MAKELONG(NM_CLICK, WM_NOTIFY), &notify, nullptr));
    NMHDR other{nullptr, IDC_NOTIFYING, static_cast<UINT>(NM_DBLCLK)};
    AFX_NOTIFY otherNotify{&result, &other};
    EXPECT_FALSE(target.OnCmdMsg(IDC_NOTIFYING, MAKELONG(NM_DBLCLK, WM_NOTIFY), &otherNotify, nullptr));
    EXPECT_FALSE(target.OnCmdMsg(IDC_NOTIFYING, MAKELONG(NM_CLICK, WM_NOTIFY), nullptr, nullptr));
    EXPECT_EQ(result, 0);
    EXPECT_EQ(target.log.size(), 1u);
}

// A control that updates itself, whatever its id.
class CSelfUpdatingButton : public CButton
{
public:
    int updates = 0;
    CWnd* seenOther = nullptr;
    UINT seenId = 0;

protected:
    afx_msg void OnUpdateSelf(CCmdUI* pCmdUI)
    {
        ++updates;
        seenOther = pCmdUI->m_pOther;
        seenId = pCmdUI->m_nID;
        pCmdUI->Enable(FALSE);
        pCmdUI->SetText("updated itself");
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSelfUpdatingButton, CButton)
    ON_UPDATE_COMMAND_UI_REFLECT(OnUpdateSelf)
END_MESSAGE_MAP()

class CDialogTarget : public CCmdTarget
{
public:
    int targetUpdates = 0;

protected:
    afx_msg void OnUpdateTargetUpdated(CCmdUI* pCmdUI)
    {
        ++targetUpdates;
        pCmdUI->SetCheck(BST_CHECKED);
        pCmdUI->SetText("from target");
    }
    afx_msg void OnUpdateSelfUpdating(CCmdUI*) { ++targetUpdates; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDialogTarget, CCmdTarget)
    ON_UPDATE_COMMAND_UI(IDC_TARGET_UPDATED, OnUpdateTargetUpdated)
    ON_UPDATE_COMMAND_UI(IDC_SELF_UPDATING, OnUpdateSelfUpdating)
END_MESSAGE_MAP()

TEST(CmdUITest, ReflectedUpdateAnswersForAnyIdAndOnlyForItsOwnControl)
{
    CSelfUpdatingButton control;
    CCmdUI state;
    state.m_nID = 4242;
    const int reflected = static_cast<int>(0xBD11FFFF);
    EXPECT_TRUE(control.OnCmdMsg(0, reflected, &state, nullptr));
    EXPECT_TRUE(control.OnCmdMsg(99, reflected, &state, nullptr));
    EXPECT_EQ(control.updates, 2);
    EXPECT_EQ(control.seenId, 4242u);
    // The plain update of the same id is not the reflected one.
    EXPECT_FALSE(control.OnCmdMsg(4242, CN_UPDATE_COMMAND_UI, &state, nullptr));
    EXPECT_EQ(control.updates, 2);
}

TEST(CmdUITest, UpdateDialogControlsAsksTheControlFirstThenTheTarget)
{
    CHostWnd host;
    ASSERT_TRUE(host.CreateHost("update dialog controls"));
    CSelfUpdatingButton selfUpdating;
    ASSERT_TRUE(selfUpdating.Create("self", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 110, 34), &host,
                                    IDC_SELF_UPDATING));
    CButton targetUpdated;
    ASSERT_TRUE(targetUpdated.Create("check", WS_CHILD | WS_VISIBLE | BS_CHECKBOX, CRect(10, 40, 110, 64), &host,
                                     IDC_TARGET_UPDATED));
    CButton unhandledButton;
    ASSERT_TRUE(unhandledButton.Create("push", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 70, 110, 94), &host,
                                       IDC_UNHANDLED_BUTTON));
    CButton unhandledCheck;
    ASSERT_TRUE(unhandledCheck.Create("auto", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(10, 100, 110, 124), &host,
                                      IDC_UNHANDLED_CHECK));

    CDialogTarget target;
    host.UpdateDialogControls(&target, TRUE);

    // The control answered for itself; the target was not asked about it.
    EXPECT_EQ(selfUpdating.updates, 1);
    EXPECT_EQ(selfUpdating.seenOther, &selfUpdating);
    EXPECT_FALSE(selfUpdating.IsWindowEnabled());
    CString text;
    selfUpdating.GetWindowText(text);
    EXPECT_STREQ(text, "updated itself");
    // The target's handler updated its control.
    EXPECT_EQ(target.targetUpdates, 1);
    EXPECT_EQ(targetUpdated.GetCheck(), BST_CHECKED);
    targetUpdated.GetWindowText(text);
    EXPECT_STREQ(text, "from target");
    EXPECT_TRUE(targetUpdated.IsWindowEnabled());
    // A push button with no handler goes grey; a check box that only toggles itself does not.
    EXPECT_FALSE(unhandledButton.IsWindowEnabled());
    EXPECT_TRUE(unhandledCheck.IsWindowEnabled());

    // Without the flag nothing is disabled for want of a handler.
    unhandledButton.EnableWindow(TRUE);
    host.UpdateDialogControls(&target, FALSE);
    EXPECT_TRUE(unhandledButton.IsWindowEnabled());
}

}  // namespace
