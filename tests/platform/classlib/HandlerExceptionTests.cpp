// Library exceptions thrown by handlers stop where the system called the library (window procedure, dialog
// procedure): the program goes on, the message fails, and the exception is freed.
#include "TestResources.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using classlib_test::PumpUntil;

namespace {

const UINT WM_THROW_LIBRARY = WM_APP + 20;
const UINT WM_THROW_ARCHIVE = WM_APP + 21;
const UINT WM_ANSWER = WM_APP + 22;

// Counts its destructions, so a test sees that the entry point freed it.
class CCountedException : public CException
{
public:
    explicit CCountedException(int* pDestroyed) : m_pDestroyed(pDestroyed) {}
    ~CCountedException() override { ++*m_pDestroyed; }

private:
    int* m_pDestroyed;
};

class CThrowingWnd : public CWnd
{
public:
    int destroyed = 0;
    bool failCreate = false;
    int handled = 0;

    BOOL CreateHidden()
    {
        LPCSTR cls = AfxRegisterWndClass(0);
        return CreateEx(0, cls, "throwing", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr);
    }
    ~CThrowingWnd() override
    {
        if (m_hWnd)
            DestroyWindow();
    }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs)
    {
        if (failCreate)
            throw new CCountedException(&destroyed);
        return CWnd::OnCreate(cs);
    }
    afx_msg LRESULT OnThrowLibrary(WPARAM, LPARAM)
    {
        ++handled;
        throw new CCountedException(&destroyed);
    }
    afx_msg LRESULT OnThrowArchive(WPARAM, LPARAM)
    {
        ++handled;
        AfxThrowArchiveException(CArchiveException::endOfFile);
    }
    afx_msg LRESULT OnAnswer(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam) + 1; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CThrowingWnd, CWnd)
    ON_WM_CREATE()
    ON_MESSAGE(WM_THROW_LIBRARY, OnThrowLibrary)
    ON_MESSAGE(WM_THROW_ARCHIVE, OnThrowArchive)
    ON_MESSAGE(WM_ANSWER, OnAnswer)
END_MESSAGE_MAP()

class CThrowingDialog : public CDialog
{
public:
    explicit CThrowingDialog(int* pDestroyed) : CDialog(IDD_FORM), m_pDestroyed(pDestroyed) {}
    ~CThrowingDialog() override
    {
        if (m_hWnd)
            DestroyWindow();
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        throw new CCountedException(m_pDestroyed);
    }

private:
    int* m_pDestroyed;
};

}  // namespace

TEST(HandlerExceptions, ALibraryExceptionIsCaughtAtTheWindowProcedureAndFreed)
{
    CThrowingWnd wnd;
    ASSERT_TRUE(wnd.CreateHidden());

    EXPECT_EQ(wnd.SendMessage(WM_THROW_LIBRARY), 0);
    EXPECT_EQ(wnd.destroyed, 1);
    EXPECT_EQ(wnd.SendMessage(WM_THROW_ARCHIVE), 0);  // freed too (nothing here can see it, but it must not crash)

    // Posted messages arrive through DispatchMessage: the same wall.
    ASSERT_TRUE(wnd.PostMessage(WM_THROW_LIBRARY));
    EXPECT_TRUE(PumpUntil([&] { return wnd.destroyed == 2; }));
    EXPECT_EQ(wnd.handled, 3);

    // The window carries on.
    EXPECT_TRUE(::IsWindow(wnd.m_hWnd));
    EXPECT_EQ(wnd.SendMessage(WM_ANSWER, 41), 42);
}

TEST(HandlerExceptions, ThrowingFromOnCreateFailsTheCreation)
{
    CThrowingWnd wnd;
    wnd.failCreate = true;
    EXPECT_FALSE(wnd.CreateHidden());
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(wnd.destroyed, 1);
}

TEST(HandlerExceptions, ThrowingFromOnInitDialogIsCaughtAtTheDialogProcedure)
{
    int destroyed = 0;
    CThrowingDialog dialog(&destroyed);
    EXPECT_TRUE(dialog.Create(IDD_FORM));
    EXPECT_EQ(destroyed, 1);
    EXPECT_TRUE(::IsWindow(dialog.m_hWnd));
}
