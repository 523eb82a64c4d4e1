// Reflection: notifications and drawing messages a parent receives about a child control, sent back to the
// control's own class. Commands go to the parent's map first; colour and owner-draw messages to the control first.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using classlib_test::PumpUntil;

namespace {

const UINT IDC_REFLECTING = 501;
const UINT IDC_PARENT_HANDLES = 502;
const UINT IDC_OWNER_DRAWN = 503;
const UINT IDC_PLAIN_OWNER_DRAWN = 504;
const UINT IDC_COLOURED = 505;
const UINT IDC_UNCOLOURED = 506;

std::vector<std::string> g_log;

class CReflectingButton : public CButton
{
protected:
    afx_msg void OnReflectedClick() { g_log.push_back("child:clicked:" + std::to_string(GetDlgCtrlID())); }
    afx_msg void OnReflectedNotify(NMHDR* pNMHDR, LRESULT* pResult)
    {
        g_log.push_back("child:notify:" + std::to_string(pNMHDR->idFrom));
        *pResult = 9;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingButton, CButton)
    ON_CONTROL_REFLECT(BN_CLICKED, OnReflectedClick)
    ON_NOTIFY_REFLECT(NM_CLICK, OnReflectedNotify)
END_MESSAGE_MAP()

class COwnerDrawnButton : public CButton
{
public:
    void DrawItem(LPDRAWITEMSTRUCT pDraw) override
    {
        g_log.push_back("child:drawitem:" + std::to_string(pDraw->CtlID) +
                        (pDraw->CtlType == ODT_BUTTON ? ":button" : ""));
        EXPECT_EQ(pDraw->hwndItem, m_hWnd);
        CDC* pDC = CDC::FromHandle(pDraw->hDC);
        pDC->FillSolidRect(&pDraw->rcItem, RGB(0, 128, 0));
    }
};

class CColourStatic : public CStatic
{
public:
    CBrush m_brush{RGB(255, 255, 0)};
    bool m_colour = true;

protected:
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor)
    {
        g_log.push_back("child:ctlcolor:" + std::to_string(nCtlColor));
        if (!m_colour)
            return nullptr;  // let the parent decide
        pDC->SetBkMode(TRANSPARENT);
        return m_brush;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CColourStatic, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class CParentWnd : public classlib_test::CHostWnd
{
public:
    CBrush m_parentBrush{RGB(0, 0, 255)};

protected:
    afx_msg void OnParentHandlesClick() { g_log.push_back("parent:clicked"); }
    afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT pDraw)
    {
        g_log.push_back("parent:drawitem:" + std::to_string(nIDCtl));
        CDC::FromHandle(pDraw->hDC)->FillSolidRect(&pDraw->rcItem, RGB(128, 0, 0));
    }
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
    {
        if (nCtlColor != CTLCOLOR_STATIC)
            return CWnd::OnCtlColor(pDC, pWnd, nCtlColor);
        g_log.push_back("parent:ctlcolor:" + std::to_string(pWnd->GetDlgCtrlID()));
        return m_parentBrush;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CParentWnd, classlib_test::CHostWnd)
    ON_BN_CLICKED(IDC_PARENT_HANDLES, OnParentHandlesClick)
    ON_WM_DRAWITEM()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

class ReflectionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_log.clear();
        ASSERT_TRUE(parent.CreateHost("reflection"));
    }
    void TearDown() override { parent.DestroyWindow(); }

    bool Logged(const std::string& entry) const { return std::find(g_log.begin(), g_log.end(), entry) != g_log.end(); }

    CParentWnd parent;
};

}  // namespace

TEST_F(ReflectionTest, ClickNotificationGoesToTheParentMapFirstThenBackToTheControl)
{
    struct Case
    {
        UINT id;
        const char* expected;
    };
    for (const Case& c : {Case{IDC_REFLECTING, "child:clicked:501"}, Case{IDC_PARENT_HANDLES, "parent:clicked"}})
    {
        SCOPED_TRACE(c.expected);
        CReflectingButton button;
        ASSERT_TRUE(button.Create("Reflect", WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 120, 40), &parent, c.id));
        g_log.clear();
        button.SendMessage(BM_CLICK);  // the button notifies its parent with WM_COMMAND/BN_CLICKED
        EXPECT_EQ(g_log, std::vector<std::string>{c.expected});
    }
}

TEST_F(ReflectionTest, NotifyIsReflectedWhenTheParentHasNoEntry)
{
    CReflectingButton button;
    ASSERT_TRUE(button.Create("Reflect", WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 120, 40), &parent, IDC_REFLECTING));
    NMHDR header{button.m_hWnd, IDC_REFLECTING, static_cast<UINT>(NM_CLICK)};
    EXPECT_EQ(parent.SendMessage(WM_NOTIFY, IDC_REFLECTING, reinterpret_cast<LPARAM>(&header)), 9);
    EXPECT_EQ(g_log, std::vector<std::string>{"child:notify:501"});
}

TEST_F(ReflectionTest, OwnerDrawGoesToTheControlsDrawItemWhenItHasOne)
{
    COwnerDrawnButton drawn;
    CButton plain;  // no DrawItem of its own: the parent draws it
    ASSERT_TRUE(drawn.Create("", WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 60, 40), &parent, IDC_OWNER_DRAWN));
    ASSERT_TRUE(plain.Create("", WS_VISIBLE | BS_OWNERDRAW, CRect(70, 10, 120, 40), &parent, IDC_PLAIN_OWNER_DRAWN));
    g_log.clear();
    drawn.Invalidate();
    plain.Invalidate();
    drawn.UpdateWindow();
    plain.UpdateWindow();

    EXPECT_TRUE(Logged("child:drawitem:503:button"));
    EXPECT_FALSE(Logged("parent:drawitem:503"));
    EXPECT_TRUE(Logged("parent:drawitem:504"));

    // What each one drew is on the screen.
    CClientDC dc(&drawn);
    EXPECT_EQ(dc.GetPixel(5, 5), RGB(0, 128, 0));
    CClientDC plainDC(&plain);
    EXPECT_EQ(plainDC.GetPixel(5, 5), RGB(128, 0, 0));
}

TEST_F(ReflectionTest, CtlColorReflectWinsUnlessItReturnsNoBrush)
{
    CColourStatic coloured;
    CColourStatic uncoloured;
    uncoloured.m_colour = false;
    ASSERT_TRUE(coloured.Create("yellow", WS_VISIBLE | SS_LEFT, CRect(10, 60, 150, 80), &parent, IDC_COLOURED));
    ASSERT_TRUE(uncoloured.Create("blue", WS_VISIBLE | SS_LEFT, CRect(10, 90, 150, 110), &parent, IDC_UNCOLOURED));
    g_log.clear();

    // The statics ask their parent for colours while they paint.
    coloured.Invalidate();
    uncoloured.Invalidate();
    coloured.UpdateWindow();
    uncoloured.UpdateWindow();
    const std::string staticColour = std::to_string(CTLCOLOR_STATIC);
    EXPECT_TRUE(Logged("child:ctlcolor:" + staticColour));
    EXPECT_FALSE(Logged("parent:ctlcolor:505"));
    EXPECT_TRUE(Logged("parent:ctlcolor:506"));

    // And what the parent answers is the winner's brush.
    CClientDC dc(&parent);
    EXPECT_EQ(parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.m_hDC),
                                 reinterpret_cast<LPARAM>(coloured.m_hWnd)),
              reinterpret_cast<LRESULT>(static_cast<HBRUSH>(coloured.m_brush)));
    EXPECT_EQ(parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.m_hDC),
                                 reinterpret_cast<LPARAM>(uncoloured.m_hWnd)),
              reinterpret_cast<LRESULT>(static_cast<HBRUSH>(parent.m_parentBrush)));
}
