// Dialogs from the test program's templates, run with DoModal and driven by posted messages and timers: data
// exchange both ways, validation, PreTranslateMessage inside the modal loop, nested dialogs and message boxes.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "TestResources.h"

namespace {

const UINT WM_APP_RUN = WM_APP + 20;
const UINT_PTR ID_WATCHDOG = 99;

std::string Key(const char* what, WPARAM vk)
{
    return std::string(what) + ":" + std::to_string(vk);
}

// An edit control that reports the keys offered to it, and can eat them.
class CKeyProbeEdit : public CEdit
{
public:
    std::vector<std::string>* log = nullptr;
    bool eat = false;

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message != WM_KEYDOWN)
            return FALSE;
        log->push_back(Key("edit:pretranslate", pMsg->wParam));
        return eat;
    }

protected:
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
    {
        log->push_back(Key("edit:keydown", nChar));
        CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CKeyProbeEdit, CEdit)
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

// A dialog whose behaviour the test supplies as functions; a watchdog ends it if the test's script stalls.
class CScriptedDialog : public CDialog
{
public:
    explicit CScriptedDialog(UINT nIDTemplate) : CDialog(nIDTemplate) {}

    std::vector<std::string> log;
    std::function<void(CScriptedDialog&)> onInit;
    std::function<void(CScriptedDialog&, UINT_PTR)> onTimer;
    std::function<void(CScriptedDialog&)> onRun;
    bool eatAtDialog = false;
    bool sawCreate = false;
    int nameChanges = 0;

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        SetTimer(ID_WATCHDOG, 8000);
        if (onInit)
            onInit(*this);
        return TRUE;
    }

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
        {
            log.push_back(Key("dialog:pretranslate", pMsg->wParam));
            if (eatAtDialog)
                return TRUE;
        }
        return CDialog::PreTranslateMessage(pMsg);
    }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct)
    {
        sawCreate = true;  // before WM_INITDIALOG: the object is bound while the dialog is being created
        return CDialog::OnCreate(lpCreateStruct);
    }
    afx_msg void OnNameChange() { ++nameChanges; }
    afx_msg void OnTimer(UINT_PTR nIDEvent)
    {
        if (nIDEvent == ID_WATCHDOG)
        {
            KillTimer(ID_WATCHDOG);
            log.push_back("watchdog");
            EndDialog(-2);
        }
        else if (onTimer)
        {
            onTimer(*this, nIDEvent);
        }
    }
    afx_msg LRESULT OnRun(WPARAM, LPARAM)
    {
        if (onRun)
            onRun(*this);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CScriptedDialog, CDialog)
    ON_WM_CREATE()
    ON_EN_CHANGE(IDC_NAME, OnNameChange)
    ON_WM_TIMER()
    ON_MESSAGE(WM_APP_RUN, OnRun)
END_MESSAGE_MAP()

class CFormDlg : public CScriptedDialog
{
public:
    CFormDlg() : CScriptedDialog(IDD_FORM) { m_nameEdit.log = &log; }

    CString m_name = "initial";
    int m_count = 5;
    int m_agree = 0;
    int m_choice = -1;
    CKeyProbeEdit m_nameEdit;
    CProgressCtrl m_progress;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        CScriptedDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_NAME, m_nameEdit);
        DDX_Control(pDX, IDC_PROGRESS, m_progress);
        DDX_Text(pDX, IDC_NAME, m_name);
        DDV_MaxChars(pDX, m_name, 20);
        DDX_Text(pDX, IDC_COUNT, m_count);
        DDX_Check(pDX, IDC_AGREE, m_agree);
        DDX_Radio(pDX, IDC_RADIO_A, m_choice);
    }
};

class CInnerDlg : public CScriptedDialog
{
public:
    CInnerDlg() : CScriptedDialog(IDD_INNER) { m_edit.log = &log; }
    CKeyProbeEdit m_edit;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_INNER_EDIT, m_edit); }
};

struct MessageBoxSearch
{
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindMessageBoxProc(HWND hWnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<MessageBoxSearch*>(lParam);
    char className[16] = {};
    ::GetClassNameA(hWnd, className, sizeof className);
    if (hWnd != search->owner && lstrcmpA(className, "#32770") == 0 && ::IsWindowVisible(hWnd) &&
        ::GetWindow(hWnd, GW_OWNER) == search->owner)
    {
        search->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

// The visible message box owned by hWndOwner, if one is up.
HWND FindMessageBox(HWND hWndOwner)
{
    MessageBoxSearch search{hWndOwner, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindMessageBoxProc, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

CString ItemText(CWnd& dialog, int nID)
{
    CString text;
    dialog.GetDlgItemText(nID, text);
    return text;
}

}  // namespace

TEST(DialogTest, DataExchangeFillsTheControlsWhenTheDialogStarts)
{
    CFormDlg dlg;
    dlg.m_name = "Grace";
    dlg.m_count = -7;
    dlg.m_agree = BST_CHECKED;
    dlg.m_choice = 1;
    struct Seen
    {
        CString name, count;
        UINT agree = 0, radioA = 9, radioB = 9, radioC = 9;
        UINT limit = 0;
        bool progressBound = false;
        int progressPos = 0;
        int changesAfterLoad = -1;
        int changesAfterTyping = -1;
    } seen;
    dlg.onInit = [&](CScriptedDialog& d) {
        auto& form = static_cast<CFormDlg&>(d);
        seen.name = ItemText(d, IDC_NAME);
        seen.count = ItemText(d, IDC_COUNT);
        seen.agree = d.IsDlgButtonChecked(IDC_AGREE);
        seen.radioA = d.IsDlgButtonChecked(IDC_RADIO_A);
        seen.radioB = d.IsDlgButtonChecked(IDC_RADIO_B);
        seen.radioC = d.IsDlgButtonChecked(IDC_RADIO_C);
        seen.limit = form.m_nameEdit.GetLimitText();
        seen.progressBound = form.m_progress.m_hWnd == ::GetDlgItem(d.m_hWnd, IDC_PROGRESS);
        form.m_progress.SetRange32(0, 10);
        form.m_progress.SetPos(4);
        seen.progressPos = form.m_progress.GetPos();
        // Filling the controls is not the user editing them; changing the text afterwards is.
        seen.changesAfterLoad = d.nameChanges;
        form.m_nameEdit.SetWindowText("Hopper");
        seen.changesAfterTyping = d.nameChanges;
        d.PostMessage(WM_COMMAND, IDCANCEL);
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(dlg.sawCreate);
    EXPECT_EQ(seen.changesAfterLoad, 0);
    EXPECT_EQ(seen.changesAfterTyping, 1);
    EXPECT_STREQ(seen.name, "Grace");
    EXPECT_STREQ(seen.count, "-7");
    EXPECT_EQ(seen.agree, static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(seen.radioA, static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(seen.radioB, static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(seen.radioC, static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(seen.limit, 20u);  // DDV_MaxChars limits the edit when loading
    EXPECT_TRUE(seen.progressBound);
    EXPECT_EQ(seen.progressPos, 4);
    // Cancel does not read the controls back; the dialog's objects let go of their windows.
    EXPECT_STREQ(dlg.m_name, "Grace");
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_nameEdit.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_progress.m_hWnd, nullptr);
}

TEST(DialogTest, PostedOkClickReadsTheControlsBack)
{
    CFormDlg dlg;
    dlg.onInit = [](CScriptedDialog& d) {
        d.SetDlgItemText(IDC_NAME, "Ada Lovelace");
        d.SetDlgItemText(IDC_COUNT, " 42 ");
        d.CheckDlgButton(IDC_AGREE, BST_CHECKED);
        d.CheckRadioButton(IDC_RADIO_A, IDC_RADIO_C, IDC_RADIO_C);
        ::PostMessageA(::GetDlgItem(d.m_hWnd, IDOK), BM_CLICK, 0, 0);
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_STREQ(dlg.m_name, "Ada Lovelace");
    EXPECT_EQ(dlg.m_count, 42);
    EXPECT_EQ(dlg.m_agree, BST_CHECKED);
    EXPECT_EQ(dlg.m_choice, 2);
    EXPECT_TRUE(dlg.log.empty()) << dlg.log.front();
}

TEST(DialogTest, EndDialogFromATimerReturnsItsValueWithoutReadingControls)
{
    CFormDlg dlg;
    dlg.m_name = "unchanged";
    dlg.onInit = [](CScriptedDialog& d) {
        d.SetDlgItemText(IDC_NAME, "edited");
        d.SetTimer(1, 20);
    };
    dlg.onTimer = [](CScriptedDialog& d, UINT_PTR nIDEvent) {
        d.KillTimer(nIDEvent);
        d.EndDialog(1234);
    };
    EXPECT_EQ(dlg.DoModal(), 1234);
    EXPECT_STREQ(dlg.m_name, "unchanged");
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST(DialogTest, InvalidNumberTellsTheUserAndKeepsTheDialogOpen)
{
    CFormDlg dlg;
    CString boxText;
    int focusId = 0;
    dlg.onInit = [](CScriptedDialog& d) {
        d.SetDlgItemText(IDC_COUNT, "12abc");
        ::PostMessageA(::GetDlgItem(d.m_hWnd, IDOK), BM_CLICK, 0, 0);
        d.SetTimer(2, 30);
    };
    dlg.onTimer = [&](CScriptedDialog& d, UINT_PTR nIDEvent) {
        if (nIDEvent == 2)
        {
            // Runs inside the message box's own loop: the box is up now.
            HWND hBox = FindMessageBox(d.m_hWnd);
            if (!hBox)
                return;
            d.KillTimer(2);
            char text[128] = {};
            ::GetDlgItemTextA(hBox, 0xFFFF, text, sizeof text);
            boxText = text;
            ::PostMessageA(hBox, WM_COMMAND, IDOK, 0);
            d.SetTimer(3, 30);
        }
        else if (nIDEvent == 3)
        {
            d.KillTimer(3);
            focusId = ::GetDlgCtrlID(::GetFocus());
            d.EndDialog(IDCANCEL);
        }
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_STREQ(boxText, "Please enter an integer.");
    EXPECT_EQ(focusId, IDC_COUNT);
    EXPECT_EQ(dlg.m_count, 5);
}

TEST(DialogTest, PreTranslateMessageIsOfferedToTheControlThenItsDialog)
{
    struct Case
    {
        const char* name;
        bool eatAtEdit;
        bool eatAtDialog;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"nobody eats", false, false, {"edit:pretranslate:113", "dialog:pretranslate:113", "edit:keydown:113"}},
        {"edit eats", true, false, {"edit:pretranslate:113"}},
        {"dialog eats", false, true, {"edit:pretranslate:113", "dialog:pretranslate:113"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        CFormDlg dlg;
        dlg.eatAtDialog = c.eatAtDialog;
        dlg.m_nameEdit.eat = c.eatAtEdit;
        dlg.onInit = [](CScriptedDialog& d) {
            ::PostMessageA(static_cast<CFormDlg&>(d).m_nameEdit.m_hWnd, WM_KEYDOWN, VK_F2, 1);
            d.PostMessage(WM_COMMAND, IDCANCEL);
        };
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(dlg.log, c.expected);
    }
}

TEST(DialogTest, NestedDialogsAndMessageBoxesKeepOfferingMessages)
{
    CFormDlg outer;
    HWND outerWindow = nullptr;
    HWND innerOwner = nullptr;
    BOOL outerEnabledDuringInner = TRUE;
    INT_PTR innerResult = 0;
    int boxResult = 0;
    std::vector<std::string> innerLog;

    outer.onInit = [](CScriptedDialog& d) { d.PostMessage(WM_APP_RUN); };
    outer.onTimer = [](CScriptedDialog& d, UINT_PTR nIDEvent) {
        HWND hBox = FindMessageBox(d.m_hWnd);
        if (nIDEvent != 5 || !hBox)
            return;
        d.KillTimer(5);
        d.log.push_back("box-closed");
        ::PostMessageA(hBox, WM_COMMAND, IDCANCEL, 0);
    };
    outer.onRun = [&](CScriptedDialog& d) {
        outerWindow = d.m_hWnd;
        CInnerDlg inner;  // no parent given: owned by the dialog it was opened from
        inner.onInit = [&](CScriptedDialog& in) {
            innerOwner = ::GetWindow(in.m_hWnd, GW_OWNER);
            outerEnabledDuringInner = ::IsWindowEnabled(d.m_hWnd);
            ::PostMessageA(static_cast<CInnerDlg&>(in).m_edit.m_hWnd, WM_KEYDOWN, VK_F3, 1);
            in.PostMessage(WM_COMMAND, IDCANCEL);
        };
        innerResult = inner.DoModal();
        innerLog = inner.log;

        // A message box from the dialog: the key posted before it comes through the box's loop.
        HWND hEdit = static_cast<CFormDlg&>(d).m_nameEdit.m_hWnd;
        ::PostMessageA(hEdit, WM_KEYDOWN, VK_F4, 1);
        d.SetTimer(5, 40);
        boxResult = AfxMessageBox("Nested question", MB_OKCANCEL);
        d.log.push_back("box-returned");

        // Back in the outer dialog's own loop: still offered.
        ::PostMessageA(hEdit, WM_KEYDOWN, VK_F5, 1);
        d.PostMessage(WM_COMMAND, IDCANCEL);
    };

    EXPECT_EQ(outer.DoModal(), IDCANCEL);
    EXPECT_EQ(innerResult, IDCANCEL);
    EXPECT_EQ(innerOwner, outerWindow);
    EXPECT_FALSE(outerEnabledDuringInner);
    EXPECT_EQ(innerLog, (std::vector<std::string>{Key("edit:pretranslate", VK_F3), Key("dialog:pretranslate", VK_F3),
                                                  Key("edit:keydown", VK_F3)}));
    EXPECT_EQ(boxResult, IDCANCEL);
    EXPECT_EQ(outer.log, (std::vector<std::string>{Key("edit:pretranslate", VK_F4), Key("dialog:pretranslate", VK_F4),
                                                   Key("edit:keydown", VK_F4), "box-closed", "box-returned",
                                                   Key("edit:pretranslate", VK_F5), Key("dialog:pretranslate", VK_F5),
                                                   Key("edit:keydown", VK_F5)}));
}

TEST(DialogTest, ModelessDialogRunsTheDialogKeyboardThroughPreTranslateMessage)
{
    CInnerDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_INNER));
    EXPECT_FALSE(dlg.IsModal());
    ASSERT_NE(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_edit.m_hWnd, ::GetDlgItem(dlg.m_hWnd, IDC_INNER_EDIT));  // bound by OnInitDialog's exchange
    dlg.ShowWindow(SW_SHOW);
    dlg.SetForegroundWindow();
    dlg.m_edit.SetFocus();
    ASSERT_EQ(::GetFocus(), dlg.m_edit.m_hWnd);

    // Tab, as the application's loop would offer it: the dialog moves the focus on and eats the key.
    MSG tab{dlg.m_edit.m_hWnd, WM_KEYDOWN, VK_TAB, 1, 0, {0, 0}};
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(nullptr, &tab));
    EXPECT_NE(::GetFocus(), dlg.m_edit.m_hWnd);
    EXPECT_EQ(dlg.log,
              (std::vector<std::string>{Key("edit:pretranslate", VK_TAB), Key("dialog:pretranslate", VK_TAB)}));

    const HWND hWnd = dlg.m_hWnd;
    EXPECT_TRUE(dlg.DestroyWindow());
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_edit.m_hWnd, nullptr);
}

TEST(DialogTest, ATemplateInMemoryRunsModalInPlaceOfAResource)
{
    // A copy of a template, in memory of the test's own; the dialog's own resource id names nothing.
    HRSRC resource = ::FindResourceA(nullptr, MAKEINTRESOURCEA(IDD_FORM), MAKEINTRESOURCEA(5));  // RT_DIALOG
    ASSERT_NE(resource, nullptr);
    const DWORD size = ::SizeofResource(nullptr, resource);
    const BYTE* bytes = static_cast<const BYTE*>(::LockResource(::LoadResource(nullptr, resource)));
    ASSERT_NE(bytes, nullptr);
    // DWORD-aligned, as the system reads templates.
    std::vector<DWORD> copy((size + sizeof(DWORD) - 1) / sizeof(DWORD));
    std::memcpy(copy.data(), bytes, size);

    CScriptedDialog dlg(4242u);
    EXPECT_TRUE(dlg.InitModalIndirect(reinterpret_cast<LPCDLGTEMPLATEA>(copy.data())));
    bool hadNameBox = false;
    dlg.onInit = [&](CScriptedDialog& d) {
        hadNameBox = ::GetDlgItem(d.m_hWnd, IDC_NAME) != nullptr;
        ::PostMessageA(::GetDlgItem(d.m_hWnd, IDCANCEL), BM_CLICK, 0, 0);
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(hadNameBox);
    EXPECT_TRUE(dlg.log.empty()) << dlg.log.front();

    CDialog none(4242u);
    EXPECT_FALSE(none.InitModalIndirect(nullptr));
    EXPECT_EQ(none.DoModal(), -1);
}

TEST(DialogTest, MissingTemplateFailsWithMinusOne)
{
    CDialog dlg(4242u);
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_FALSE(dlg.Create(4242u));
}

namespace {

// Records the idle turns its modal loop gives it and wants three of them (turns 0, 1 and 2) each time.
class CIdleProbeDlg : public CScriptedDialog
{
public:
    CIdleProbeDlg() : CScriptedDialog(IDD_INNER) {}
    std::vector<std::pair<WPARAM, LPARAM>> kicks;

protected:
    afx_msg LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam)
    {
        kicks.emplace_back(wParam, lParam);
        return lParam < 2;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CIdleProbeDlg, CScriptedDialog)
    ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
END_MESSAGE_MAP()

}  // namespace

TEST(DialogTest, AModalDialogGetsIdleTurnsEachTimeItsQueueRunsDry)
{
    CIdleProbeDlg dlg;
    size_t kicksBeforeMessage = 0;
    dlg.onInit = [](CScriptedDialog& d) { d.SetTimer(1, 100); };
    dlg.onTimer = [&](CScriptedDialog& d, UINT_PTR nIDEvent) {
        d.KillTimer(nIDEvent);
        if (nIDEvent == 1)
        {
            // A message that may change what the dialog shows starts a new round of turns.
            kicksBeforeMessage = dlg.kicks.size();
            d.PostMessage(WM_APP_RUN);
            d.SetTimer(2, 100);
        }
        else
            d.EndDialog(IDOK);
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    using Kicks = std::vector<std::pair<WPARAM, LPARAM>>;
    const Kicks round = {{MSGF_DIALOGBOX, 0}, {MSGF_DIALOGBOX, 1}, {MSGF_DIALOGBOX, 2}};
    ASSERT_GE(kicksBeforeMessage, 3u);
    EXPECT_EQ(round, Kicks(dlg.kicks.begin(), dlg.kicks.begin() + 3));
    ASSERT_GE(dlg.kicks.size(), kicksBeforeMessage + 3);
    const auto second = dlg.kicks.begin() + static_cast<std::ptrdiff_t>(kicksBeforeMessage);
    EXPECT_EQ(round, Kicks(second, second + 3));
    for (const auto& kick : dlg.kicks)
        EXPECT_LE(kick.second, 2) << "turns went on after the dialog answered 0";
    EXPECT_TRUE(dlg.log.empty()) << dlg.log.front();
}

TEST(DialogTest, AQuitEndsTheModalLoopAndReachesTheLoopOutside)
{
    CScriptedDialog dlg(IDD_INNER);
    dlg.onInit = [](CScriptedDialog&) { ::PostQuitMessage(77); };
    dlg.DoModal();
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    MSG msg{};
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 77u);
    EXPECT_TRUE(dlg.log.empty()) << dlg.log.front();
}
