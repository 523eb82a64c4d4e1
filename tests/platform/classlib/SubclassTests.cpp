// Subclassing real controls: the library's procedure goes in, messages reach the object's map and then the control,
// and unsubclassing puts the control's own procedure back.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using classlib_test::CHostWnd;

namespace {

const int IDC_EDIT = 601;

class CProbeEdit : public CEdit
{
public:
    std::vector<std::string> log;
    int preSubclassCalls = 0;
    bool postNcDestroyCalled = false;

protected:
    void PreSubclassWindow() override
    {
        ++preSubclassCalls;
        EXPECT_NE(m_hWnd, nullptr);  // bound before the procedure changes
    }
    void PostNcDestroy() override { postNcDestroyCalled = true; }
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
    {
        log.push_back(std::string("char:") + static_cast<char>(nChar));
        CEdit::OnChar(nChar, nRepCnt, nFlags);  // the edit control still types the character
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeEdit, CEdit)
    ON_WM_CHAR()
END_MESSAGE_MAP()

class SubclassTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.CreateHost("subclass"));
        // A control the library did not create: made with the plain Win32 call.
        hEdit = ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 10, 200, 24,
                                  host.m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_EDIT)),
                                  ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(hEdit, nullptr);
        originalProc = ::GetWindowLongPtrA(hEdit, GWLP_WNDPROC);
    }

    CString EditText() const
    {
        char text[64] = {};
        ::GetWindowTextA(hEdit, text, sizeof text);
        return text;
    }

    CHostWnd host;
    HWND hEdit = nullptr;
    LONG_PTR originalProc = 0;
};

}  // namespace

TEST_F(SubclassTest, SubclassRoutesMessagesAndUnsubclassRestoresTheProcedure)
{
    CWnd* temporary = CWnd::FromHandle(hEdit);
    ASSERT_NE(temporary, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hEdit), nullptr);

    CProbeEdit edit;
    ASSERT_TRUE(edit.SubclassWindow(hEdit));
    EXPECT_EQ(edit.preSubclassCalls, 1);
    EXPECT_EQ(edit.m_hWnd, hEdit);
    EXPECT_EQ(::GetWindowLongPtrA(hEdit, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&AfxWndProc));
    EXPECT_EQ(CWnd::FromHandlePermanent(hEdit), &edit);
    EXPECT_EQ(CWnd::FromHandle(hEdit), &edit);

    ::SendMessageA(hEdit, WM_CHAR, 'x', 1);
    EXPECT_EQ(edit.log, std::vector<std::string>{"char:x"});
    EXPECT_STREQ(EditText(), "x");

    // A window has one object at a time.
    CEdit second;
    EXPECT_FALSE(second.SubclassWindow(hEdit));
    EXPECT_EQ(second.m_hWnd, nullptr);

    EXPECT_EQ(edit.UnsubclassWindow(), hEdit);
    EXPECT_EQ(edit.m_hWnd, nullptr);
    EXPECT_EQ(::GetWindowLongPtrA(hEdit, GWLP_WNDPROC), originalProc);
    EXPECT_EQ(CWnd::FromHandlePermanent(hEdit), nullptr);

    ::SendMessageA(hEdit, WM_CHAR, 'y', 1);
    EXPECT_EQ(edit.log, std::vector<std::string>{"char:x"});
    EXPECT_STREQ(EditText(), "xy");
}

TEST_F(SubclassTest, SubclassDlgItemFindsTheControlByIdAndLetsGoWhenItIsDestroyed)
{
    CProbeEdit edit;
    ASSERT_TRUE(edit.SubclassDlgItem(IDC_EDIT, &host));
    EXPECT_EQ(edit.m_hWnd, hEdit);
    EXPECT_FALSE(CProbeEdit().SubclassDlgItem(IDC_EDIT + 1, &host));

    edit.SetWindowText("typed");
    CString text;
    edit.GetWindowText(text);
    EXPECT_STREQ(text, "typed");
    EXPECT_EQ(edit.GetWindowTextLength(), 5);

    // The control dies with its parent: the object lets go at its last message.
    host.DestroyWindow();
    EXPECT_FALSE(::IsWindow(hEdit));
    EXPECT_EQ(edit.m_hWnd, nullptr);
    EXPECT_TRUE(edit.postNcDestroyCalled);
    EXPECT_EQ(CWnd::FromHandlePermanent(hEdit), nullptr);
}

TEST_F(SubclassTest, AttachNamesTheWindowWithoutTakingItsMessages)
{
    CProbeEdit edit;
    ASSERT_TRUE(edit.Attach(hEdit));
    EXPECT_EQ(::GetWindowLongPtrA(hEdit, GWLP_WNDPROC), originalProc);
    EXPECT_EQ(CWnd::FromHandlePermanent(hEdit), &edit);
    ::SendMessageA(hEdit, WM_CHAR, 'z', 1);
    EXPECT_TRUE(edit.log.empty());
    EXPECT_STREQ(EditText(), "z");
    EXPECT_EQ(edit.Detach(), hEdit);
    EXPECT_EQ(CWnd::FromHandlePermanent(hEdit), nullptr);
    EXPECT_TRUE(::IsWindow(hEdit));
}

TEST_F(SubclassTest, TemporaryObjectsAreFreedWithoutTouchingTheirWindows)
{
    CWnd* temporary = CWnd::FromHandle(hEdit);
    EXPECT_EQ(temporary->m_hWnd, hEdit);
    EXPECT_EQ(CWnd::FromHandle(hEdit), temporary);  // one wrapper per handle
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
    EXPECT_EQ(host.GetDlgItem(IDC_EDIT), temporary);
    CWnd::DeleteTempMap();
    EXPECT_TRUE(::IsWindow(hEdit));
    // Callers of such libraries call GetSafeHwnd on null pointers; volatile keeps the compiler from seeing it here.
    CWnd* volatile pWnd = nullptr;
    EXPECT_EQ(pWnd->GetSafeHwnd(), nullptr);
}
