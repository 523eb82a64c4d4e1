// CWnd's thin members on real windows, and the CRect/CPoint/CSize arithmetic they use.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

using classlib_test::CHostWnd;

TEST(GeometryTest, RectArithmetic)
{
    CRect r(10, 20, 110, 70);
    EXPECT_EQ(r.Width(), 100);
    EXPECT_EQ(r.Height(), 50);
    EXPECT_EQ(r.CenterPoint(), CPoint(60, 45));
    EXPECT_EQ(r.TopLeft(), CPoint(10, 20));
    EXPECT_EQ(r.BottomRight(), CPoint(110, 70));
    EXPECT_EQ(r.Size(), CSize(100, 50));

    struct Case
    {
        const char* what;
        CRect actual;
        CRect expected;
    };
    CRect deflated = r;
    deflated.DeflateRect(5, 10);
    CRect inflated = r;
    inflated.InflateRect(1, 2, 3, 4);
    CRect offset = r;
    offset.OffsetRect(-10, 5);
    CRect normalized(50, 40, 10, 20);
    normalized.NormalizeRect();
    const Case cases[] = {
        {"DeflateRect", deflated, CRect(15, 30, 105, 60)},
        {"InflateRect", inflated, CRect(9, 18, 113, 74)},
        {"OffsetRect", offset, CRect(0, 25, 100, 75)},
        {"NormalizeRect", normalized, CRect(10, 20, 50, 40)},
        {"operator&", r & CRect(100, 60, 200, 200), CRect(100, 60, 110, 70)},
        {"operator|", r | CRect(0, 0, 5, 5), CRect(0, 0, 110, 70)},
        {"operator+ point", r + CPoint(1, 1), CRect(11, 21, 111, 71)},
        {"operator- size", r - CSize(10, 20), CRect(0, 0, 100, 50)},
        {"from point and size", CRect(CPoint(3, 4), CSize(10, 20)), CRect(3, 4, 13, 24)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.actual, c.expected) << c.what;

    EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(r.PtInRect(CPoint(110, 70)));  // right and bottom are outside
    EXPECT_TRUE(CRect(5, 5, 5, 9).IsRectEmpty());
    EXPECT_TRUE(CRect().IsRectNull());
    CRect none;
    EXPECT_FALSE(none.IntersectRect(CRect(0, 0, 1, 1), CRect(2, 2, 3, 3)));

    CPoint p(5, 5);
    p += CSize(2, 3);
    EXPECT_EQ(p, CPoint(7, 8));
    EXPECT_EQ(CPoint(7, 8) - CPoint(2, 2), CSize(5, 6));
    EXPECT_EQ(CPoint(MAKELPARAM(static_cast<WORD>(-3), 4)), CPoint(-3, 4));
}

TEST(WndOpsTest, CoordinatesStylesAndItems)
{
    CHostWnd host;
    ASSERT_TRUE(host.CreateHost("ops"));
    CEdit number;
    ASSERT_TRUE(number.Create(WS_VISIBLE | WS_BORDER, CRect(20, 30, 120, 54), &host, 801));

    CRect inParent;
    number.GetWindowRect(inParent);
    host.ScreenToClient(inParent);
    EXPECT_EQ(inParent, CRect(20, 30, 120, 54));
    host.ClientToScreen(inParent);
    CRect onScreen;
    number.GetWindowRect(onScreen);
    EXPECT_EQ(inParent, onScreen);

    host.SetDlgItemInt(801, static_cast<UINT>(-42), TRUE);
    BOOL translated = FALSE;
    EXPECT_EQ(static_cast<int>(host.GetDlgItemInt(801, &translated, TRUE)), -42);
    EXPECT_TRUE(translated);
    EXPECT_EQ(host.SendDlgItemMessage(801, WM_GETTEXTLENGTH), 3);

    EXPECT_TRUE(number.ModifyStyle(0, ES_READONLY | ES_NUMBER));
    EXPECT_TRUE(number.GetStyle() & ES_NUMBER);
    EXPECT_FALSE(number.ModifyStyle(0, ES_NUMBER));  // nothing to change
    number.EnableWindow(FALSE);
    EXPECT_FALSE(number.IsWindowEnabled());
    number.ShowWindow(SW_HIDE);
    EXPECT_FALSE(number.IsWindowVisible());
    EXPECT_TRUE(host.IsChild(&number));
    EXPECT_EQ(number.GetTopLevelParent(), &host);
}

TEST(WndOpsTest, CenterWindowPutsAPopupOverItsOwner)
{
    CHostWnd owner;
    ASSERT_TRUE(owner.CreateHost("owner"));
    owner.MoveWindow(100, 120, 500, 400);
    CWnd popup;
    ASSERT_TRUE(popup.CreateEx(0, AfxRegisterWndClass(0), "popup", WS_POPUP | WS_BORDER, 0, 0, 200, 100, owner.m_hWnd,
                               nullptr));
    popup.CenterWindow();
    CRect ownerRect;
    CRect popupRect;
    owner.GetWindowRect(ownerRect);
    popup.GetWindowRect(popupRect);
    EXPECT_LE(std::abs(ownerRect.CenterPoint().x - popupRect.CenterPoint().x), 1);
    EXPECT_LE(std::abs(ownerRect.CenterPoint().y - popupRect.CenterPoint().y), 1);
    EXPECT_EQ(popupRect.Size(), CSize(200, 100));
    EXPECT_TRUE(popup.SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));
    EXPECT_TRUE(popup.GetExStyle() & WS_EX_TOPMOST);
    popup.DestroyWindow();
}

TEST(WndOpsTest, EnableToolTipsOnlyRecordsTheWish)
{
    CWnd window;
    EXPECT_FALSE(window.IsToolTipsEnabled());
    ASSERT_TRUE(window.CreateEx(0, AfxRegisterWndClass(0), "tips", WS_POPUP, 0, 0, 40, 20, nullptr, nullptr));
    EXPECT_TRUE(window.EnableToolTips(TRUE));
    EXPECT_TRUE(window.IsToolTipsEnabled());
    EXPECT_TRUE(window.EnableToolTips(FALSE));
    EXPECT_FALSE(window.IsToolTipsEnabled());
    window.DestroyWindow();
}

namespace {

// A window that notes each probe message it gets, in one list that the windows of a test share.
class ProbeWnd : public CWnd
{
public:
    static constexpr UINT kProbe = WM_APP + 41;

    explicit ProbeWnd(std::vector<HWND>& heard) : m_heard(heard) {}
    ~ProbeWnd() override
    {
        if (m_hWnd)
            DestroyWindow();
    }

    BOOL CreateIn(CWnd& parent, int id)
    {
        return CreateEx(0, AfxRegisterWndClass(0), "probe", WS_CHILD | WS_VISIBLE, 0, 0, 30, 30, parent.GetSafeHwnd(),
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
    }

protected:
    LRESULT OnProbe(WPARAM wParam, LPARAM lParam)
    {
        EXPECT_EQ(7u, wParam);
        EXPECT_EQ(9, lParam);
        m_heard.push_back(m_hWnd);
        return 0;
    }
    DECLARE_MESSAGE_MAP()

private:
    std::vector<HWND>& m_heard;
};

BEGIN_MESSAGE_MAP(ProbeWnd, CWnd)
    ON_MESSAGE(ProbeWnd::kProbe, OnProbe)
END_MESSAGE_MAP()

// The windows under a window as a walk through the z-order meets them: each before its children, they before its
// next sibling.
void WalkDescendants(HWND parent, bool deep, std::vector<HWND>& order)
{
    for (HWND child = ::GetTopWindow(parent); child; child = ::GetWindow(child, GW_HWNDNEXT))
    {
        order.push_back(child);
        if (deep)
            WalkDescendants(child, true, order);
    }
}

}  // namespace

TEST(WndOpsTest, SendMessageToDescendantsReachesEachWindowOnceInWalkOrder)
{
    CHostWnd host;
    ASSERT_TRUE(host.CreateHost("descendants"));
    std::vector<HWND> heard;
    // Two children with children of their own, one of them a grandchild with a child, and a child without any.
    std::vector<std::unique_ptr<ProbeWnd>> windows;
    auto make = [&](CWnd& parent, int id) -> ProbeWnd& {
        windows.push_back(std::make_unique<ProbeWnd>(heard));
        EXPECT_TRUE(windows.back()->CreateIn(parent, id));
        return *windows.back();
    };
    ProbeWnd& first = make(host, 1);
    ProbeWnd& second = make(host, 2);
    make(host, 3);
    ProbeWnd& firstChild = make(first, 11);
    make(first, 12);
    make(firstChild, 111);
    make(second, 21);
    ASSERT_EQ(7u, windows.size());

    for (const bool deep : {true, false})
    {
        std::vector<HWND> expected;
        WalkDescendants(host.GetSafeHwnd(), deep, expected);
        ASSERT_EQ(deep ? 7u : 3u, expected.size());
        heard.clear();
        host.SendMessageToDescendants(ProbeWnd::kProbe, 7, 9, deep);
        EXPECT_EQ(expected, heard) << (deep ? "deep" : "children only");
    }
}
