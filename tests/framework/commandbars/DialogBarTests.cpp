// The dialog bar on the dock frame: its layouts for the docked and floating extents, the caption strip's close and
// caption controls, the sizing hit test, Resize, the hosted window's place, activity, the mouse manager's hit test
// of its caption, and the strip's controls drawn through the paint manager.
#include "classlib/DC.h"
#include "DockTestSupport.h"

#include "framework/commandbars/MouseManager.h"
#include "framework/controls/DialogBar.h"

#include <string>
#include <vector>

using namespace commandbars_test;

namespace {

const CSize kGripper(6, 20);
const COLORREF kControlTextColor = RGB(200, 0, 0);

// A theme's dialog-bar caption: 6 pixels of gripper and a 20-pixel strip; it notes which controls asked for their
// background and text colour.
class DialogBarPaintManager : public COSMTestPaintManager
{
public:
    CSize DrawDialogBarGripper(CDC* dc, COSMCommandBar* bar, BOOL draw) override
    {
        COSMTestPaintManager::DrawDialogBarGripper(dc, bar, draw);
        return kGripper;
    }
    void DrawControlBackground(CDC* dc, COSMControl* control) override
    {
        asked.push_back("background " + std::to_string(control->GetID()));
    }
    COLORREF GetControlTextColor(COSMControl* control) override
    {
        asked.push_back("text " + std::to_string(control->GetID()));
        return kControlTextColor;
    }
    std::vector<std::string> asked;
};

class DialogBarTest : public DockSiteTest
{
protected:
    void SetUp() override
    {
        DockSiteTest::SetUp();
        commandBars->SetPaintManager(paintManager.Get());
        commandBars->SetToolBarClass(RUNTIME_CLASS(COSMDialogBar));
        bar = static_cast<COSMDialogBar*>(commandBars->AddToolBar("Properties", 801));
        ASSERT_NE(nullptr, bar);
        frame.RecalcLayout();
        PumpMessages();
    }
    void TearDown() override
    {
        if (child)
            ::DestroyWindow(child);
        DockSiteTest::TearDown();
    }
    COSMControl* Close() const { return bar->GetControls()->FindControlById(9149); }
    auto* Caption() const
    {
        return dynamic_cast<COSMDialogBarCaptionControl*>(bar->GetControls()->FindControlById(9147));
    }
    // A window for the bar to host, made a child of the frame first.
    HWND MakeChild(const char* className = "EDIT")
    {
        child = ::CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 10, 10,
                                  frame.GetSafeHwnd(), nullptr, nullptr, nullptr);
        return child;
    }

    RefPtr<DialogBarPaintManager> paintManager = AdoptRef(new DialogBarPaintManager);
    COSMDialogBar* bar = nullptr;
    HWND child = nullptr;
};

TEST_F(DialogBarTest, ANewBarIsADialogBarThatIsNotCustomizable)
{
    EXPECT_TRUE(bar->IsDialogBar());
    EXPECT_FALSE(bar->IsCustomizable());
    EXPECT_TRUE(bar->IsCloseable());
    EXPECT_TRUE(bar->IsContextMenuPresent());
    EXPECT_EQ(CSize(200, 200), bar->GetFloatingExtent());
    EXPECT_EQ(CSize(200, 200), bar->GetDockedExtent());
    EXPECT_EQ(CSize(50, 50), bar->GetMinimumSize());
    EXPECT_EQ(CRect(3, 3, 3, 3), bar->GetBorderSizes());
    EXPECT_TRUE(bar->IsResizable());
    EXPECT_STREQ("COSMDialogBar", CRuntimeClass::FromName("COSMDialogBar")->m_lpszClassName);

    RefPtr<COSMCommandBar> clone = AdoptRef(bar->Clone(FALSE));
    bar->SetFloatingExtent(CSize(120, 90));
    bar->SetCaption("Copied");
    clone = AdoptRef(bar->Clone(FALSE));
    auto* copy = dynamic_cast<COSMDialogBar*>(clone.Get());
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(CSize(120, 90), copy->GetFloatingExtent());
    EXPECT_EQ(CString("Copied"), copy->GetCaption());
}

TEST_F(DialogBarTest, TheLayoutAddsBordersAndTheCaptionAndFollowsTheMode)
{
    const struct
    {
        BOOL caption;
        int length;
        DWORD mode;
        CSize size;
    } cases[] = {
        {TRUE, 32000, LM_HORZ, CSize(206, 226)},
        {TRUE, 500, LM_STRETCH | LM_HORZ, CSize(500, 226)},      // stretched along a row
        {TRUE, 100, LM_HORZ, CSize(100, 226)},                   // a row shorter than the bar cuts its width
        {TRUE, 150, 0, CSize(206, 150)},                         // a column shorter than the bar cuts its height
        {TRUE, 400, LM_STRETCH | LM_VERTDOCK, CSize(206, 400)},  // stretched down a column
        {FALSE, 32000, LM_HORZ, CSize(206, 206)},
        {FALSE, 500, LM_STRETCH | LM_HORZ, CSize(500, 206)},
        {FALSE, 100, LM_HORZ, CSize(206, 206)},  // without the caption nothing cuts the size
        {FALSE, 400, LM_STRETCH | LM_VERTDOCK, CSize(206, 400)},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << c.caption << " " << c.length << " " << c.mode);
        bar->SetCaptionVisible(c.caption);
        EXPECT_EQ(c.size, bar->CalcLayout(c.length, c.mode, 200, 200));
        EXPECT_EQ(c.caption ? 23 : 0, bar->GetCaptionBottom());
        EXPECT_EQ(c.caption ? CRect(3, 23, 3, 3) : CRect(3, 3, 3, 3), bar->GetClientBorders());
    }
    bar->SetCaptionVisible(TRUE);
    EXPECT_EQ(CSize(206, 226), bar->CalcDynamicLayout(0, LM_COMMIT | LM_HORZ));
    EXPECT_EQ(CSize(306, 226), bar->CalcDockingLayout(306, LM_STRETCH | LM_HORZ | LM_HORZDOCK));
}

TEST_F(DialogBarTest, TheStripHoldsTheCloseButtonAtTheRightAndTheCaptionBeforeIt)
{
    const CSize size = bar->CalcLayout(32000, LM_HORZ, 200, 200);
    const int x = size.cx - 3;
    ASSERT_NE(nullptr, Close());
    ASSERT_NE(nullptr, Caption());
    EXPECT_EQ(CRect(x - 16, 5, x, 21), Close()->GetRect());
    EXPECT_EQ(0u, Close()->GetHideFlags());
    EXPECT_EQ(CRect(3 + kGripper.cx, 5, x - 16, 21), Caption()->GetRect());
    EXPECT_TRUE(Close()->IsTemporary());
    EXPECT_TRUE(Caption()->IsTemporary());
    EXPECT_EQ(bar->GetCaptionPopupBar(), Caption()->GetCommandBar());

    // An empty caption shows the title; the caption text wins.
    EXPECT_EQ(CString("Properties"), Caption()->GetCaption());
    bar->SetCaption("Details");
    bar->CalcLayout(32000, LM_HORZ, 200, 200);
    EXPECT_EQ(CString("Details"), Caption()->GetCaption());

    // The arrow only with controls in the caption popup bar, and only while that popup is allowed.
    EXPECT_FALSE(Caption()->HasPopup());
    EXPECT_FALSE(Caption()->OnSetPopup(TRUE));
    EXPECT_TRUE(Caption()->OnSetPopup(FALSE));
    EXPECT_EQ(nullptr, bar->GetCaptionPopupBar()->GetSafeHwnd());
    bar->GetCaptionPopupBar()->GetControls()->Add(1, 301);
    bar->CalcLayout(32000, LM_HORZ, 200, 200);
    EXPECT_TRUE(Caption()->HasPopup());
    bar->SetCaptionPopupAllowed(FALSE);
    bar->CalcLayout(32000, LM_HORZ, 200, 200);
    EXPECT_FALSE(Caption()->HasPopup());

    // Not closeable: the close button hides and the caption reaches the right border.
    bar->SetCloseable(FALSE);
    bar->CalcLayout(32000, LM_HORZ, 200, 200);
    EXPECT_EQ(1u, Close()->GetHideFlags());
    EXPECT_EQ(CRect(), Close()->GetRect());
    EXPECT_EQ(x, Caption()->GetRect().right);
}

TEST_F(DialogBarTest, TheBordersAnswerTheSizingHitCodesOfEachPosition)
{
    CRect window;
    bar->GetWindowRect(&window);
    const CPoint centre = window.CenterPoint();
    enum Where
    {
        kTopLeft,
        kTop,
        kBottom,
        kLeft,
        kRight,
        kBottomRight,
        kInside
    };
    const CPoint points[] = {{window.left + 1, window.top + 1},
                             {centre.x, window.top + 1},
                             {centre.x, window.bottom - 2},
                             {window.left + 1, centre.y},
                             {window.right - 2, centre.y},
                             {window.right - 2, window.bottom - 2},
                             {centre.x, centre.y}};
    const struct
    {
        int position;
        BOOL fullRow;
        Where where;
        LRESULT code;
    } cases[] = {
        {4, FALSE, kTopLeft, HTTOPLEFT}, {4, FALSE, kTop, HTTOP},       {4, FALSE, kBottom, HTBOTTOM},
        {4, FALSE, kLeft, HTLEFT},       {4, FALSE, kRight, HTRIGHT},   {4, FALSE, kBottomRight, HTBOTTOMRIGHT},
        {4, FALSE, kInside, HTCLIENT},   {0, FALSE, kTop, HTCLIENT},    {0, FALSE, kBottom, HTBOTTOM},
        {0, FALSE, kLeft, HTCLIENT},     {0, FALSE, kRight, HTRIGHT},   {0, FALSE, kBottomRight, HTBOTTOM},
        {0, TRUE, kBottom, HTBOTTOM},    {0, TRUE, kRight, HTCLIENT},   {1, FALSE, kTop, HTTOP},
        {1, FALSE, kBottom, HTCLIENT},   {1, FALSE, kRight, HTRIGHT},   {1, TRUE, kRight, HTCLIENT},
        {2, FALSE, kBottom, HTBOTTOM},   {2, FALSE, kRight, HTRIGHT},   {2, FALSE, kLeft, HTCLIENT},
        {2, TRUE, kBottom, HTCLIENT},    {2, TRUE, kRight, HTRIGHT},    {3, FALSE, kBottom, HTBOTTOM},
        {3, FALSE, kLeft, HTLEFT},       {3, FALSE, kRight, HTCLIENT},  {3, TRUE, kBottom, HTCLIENT},
        {3, TRUE, kLeft, HTLEFT},        {5, FALSE, kBottom, HTBOTTOM}, {5, TRUE, kBottom, HTCLIENT},
        {5, TRUE, kRight, HTRIGHT},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(::testing::Message()
                     << "position " << c.position << " flag 64 " << c.fullRow << " point " << c.where);
        bar->SetPositionField(c.position);
        bar->ModifyFlags(c.fullRow ? 0x40 : 0, c.fullRow ? 0 : 0x40);
        const CPoint point = points[c.where];
        EXPECT_EQ(c.code, bar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y)));
    }
    // A bar that is not resizable answers as a toolbar.
    bar->SetResizable(FALSE);
    bar->SetPositionField(0);
    const CPoint right = points[kRight];
    EXPECT_EQ(HTCLIENT, bar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(right.x, right.y)));
    bar->SetPositionField(0);
}

TEST_F(DialogBarTest, ResizeKeepsTheMinimumAndSetsTheExtentOfTheState)
{
    // Docked on top: the width from the left and right borders, else the height.
    bar->Resize(CRect(0, 0, 306, 150), HTRIGHT);
    EXPECT_EQ(CSize(300, 200), bar->GetDockedExtent());
    bar->Resize(CRect(0, 0, 306, 150), HTBOTTOM);
    EXPECT_EQ(CSize(300, 124), bar->GetDockedExtent());
    frame.RecalcLayout();
    EXPECT_EQ(150, ScreenRect(bar).Height());

    ASSERT_TRUE(bar->SetPosition(4));
    PumpMessages();
    const CRect before = ScreenRect(bar);
    for (const CSize tooSmall : {CSize(49, 300), CSize(300, 49)})
    {
        bar->Resize(CRect(CPoint(120, 130), tooSmall), HTBOTTOMRIGHT);
        EXPECT_EQ(before, ScreenRect(bar));
    }
    bar->Resize(CRect(120, 130, 370, 330), HTBOTTOMRIGHT);
    EXPECT_EQ(CRect(120, 130, 370, 330), ScreenRect(bar));
    EXPECT_EQ(CSize(244, 174), bar->GetFloatingExtent());
    // The docked extent stays for the next time the bar docks.
    EXPECT_EQ(CSize(300, 124), bar->GetDockedExtent());
}

TEST_F(DialogBarTest, TheHostedWindowSitsInsideTheBordersAndTheFocusInItMakesTheBarActive)
{
    HWND edit = MakeChild();
    ASSERT_NE(nullptr, edit);
    bar->SetChild(edit);
    EXPECT_EQ(bar->GetSafeHwnd(), ::GetParent(edit));
    CRect client;
    bar->GetClientRect(&client);
    CRect placed;
    ::GetWindowRect(edit, &placed);
    ::MapWindowPoints(nullptr, bar->GetSafeHwnd(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(CRect(3, 23, client.right - 3, client.bottom - 3), placed);

    // A new size places it again.
    ASSERT_TRUE(bar->SetPosition(4));
    bar->Resize(CRect(150, 150, 400, 320), HTBOTTOMRIGHT);
    PumpMessages();
    ::GetWindowRect(edit, &placed);
    EXPECT_EQ(CRect(153, 173, 397, 317), placed);

    bar->SetVisible(TRUE);
    ::SetFocus(frame.GetSafeHwnd());
    bar->OnIdleUpdateCmdUI(TRUE, 0);
    EXPECT_FALSE(bar->IsActive());
    ::SetFocus(edit);
    bar->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_TRUE(bar->IsActive());
    // A window the hosted one owns counts as inside.
    HWND owned = ::CreateWindowExA(0, "EDIT", "", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20, edit, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, owned);
    ::SetFocus(owned);
    bar->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_TRUE(bar->IsActive());
    ::DestroyWindow(owned);
    ::SetFocus(frame.GetSafeHwnd());
    bar->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_FALSE(bar->IsActive());
}

TEST_F(DialogBarTest, OnlyTheCaptionStripIsTheBarsOwnToTheMouseManager)
{
    HWND edit = MakeChild();
    bar->SetChild(edit);
    // The points are read off the screen: no other program's window may lie over the frame meanwhile.
    const UINT keepPlace = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    ::SetWindowPos(frame.GetSafeHwnd(), HWND_TOPMOST, 0, 0, 0, 0, keepPlace);
    PumpMessages();
    CRect window;
    bar->GetWindowRect(&window);
    const CPoint inCaption(window.left + 40, window.top + 10);
    const CPoint inChild(window.CenterPoint());
    ASSERT_EQ(edit, ::WindowFromPoint(inChild));
    EXPECT_EQ(TRUE, bar->IsPointInWindow(inCaption));
    EXPECT_EQ(COSMCommandBar::kPointLeftToWindows, bar->IsPointInWindow(inChild));
    EXPECT_EQ(COSMCommandBar::kPointLeftToWindows, bar->IsPointInWindow(CPoint(window.left + 40, window.top + 23)));

    COSMMouseManager mouseManager;
    mouseManager.SetTrack(bar);
    EXPECT_EQ(bar, mouseManager.HitTestTrackedBar(inCaption));
    // The hosted window lies under the point and is a child of the bar, yet the point is left to it.
    EXPECT_EQ(nullptr, mouseManager.HitTestTrackedBar(inChild));
    mouseManager.RemoveTrack(bar);
    ::SetWindowPos(frame.GetSafeHwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, keepPlace);
}

TEST_F(DialogBarTest, TheStripControlsDrawThroughThePaintManager)
{
    bar->CalcLayout(32000, LM_HORZ, 200, 200);
    const CRect close = Close()->GetRect();
    const CRect caption = Caption()->GetRect();
    CRect client;
    bar->GetClientRect(&client);
    CClientDC screen(nullptr);
    CDC dc;
    dc.CreateCompatibleDC(&screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, client.Width(), client.Height());
    CBitmap* oldBitmap = dc.SelectObject(&bitmap);
    const CPoint arrow(caption.right - 9, caption.CenterPoint().y);
    auto isArrowColour = [&](CPoint point) { return dc.GetPixel(point.x, point.y) == kControlTextColor; };

    paintManager->asked.clear();
    dc.FillSolidRect(client, RGB(255, 255, 255));
    Close()->Draw(&dc);
    Caption()->Draw(&dc);
    EXPECT_EQ((std::vector<std::string>{"background 9149", "text 9149"}), paintManager->asked);
    EXPECT_FALSE(isArrowColour(arrow));

    bar->GetCaptionPopupBar()->GetControls()->Add(1, 301);
    bar->CalcLayout(32000, LM_HORZ, 200, 200);
    paintManager->asked.clear();
    dc.FillSolidRect(client, RGB(255, 255, 255));
    Caption()->Draw(&dc);
    EXPECT_EQ((std::vector<std::string>{"background 9147", "text 9147"}), paintManager->asked);
    // The arrow points down: its top row is 9 pixels wide, its tip a single pixel 4 rows lower.
    EXPECT_TRUE(isArrowColour(arrow + CSize(0, -2)));
    EXPECT_TRUE(isArrowColour(arrow + CSize(-4, -2)));
    EXPECT_TRUE(isArrowColour(arrow + CSize(0, 1)));
    EXPECT_FALSE(isArrowColour(arrow + CSize(-4, 1)));
    EXPECT_FALSE(isArrowColour(arrow + CSize(0, 4)));
    dc.SelectObject(oldBitmap);
    (void)close;
}

}  // namespace
