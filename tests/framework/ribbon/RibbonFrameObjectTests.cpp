// The frame object a ribbon makes when it draws its frame's caption: the caption's hit codes, the caption buttons the
// frame's styles ask for, the frame's region, the caption's clicks handed to the frame, and the frame extended with
// desktop composition (the stand-in dwmapi answering).
#include "RibbonTestSupport.h"

#include "ThemeStub.h"

using namespace ribbon_test;

namespace {

class RibbonFrameObjectTest : public RibbonTest
{
protected:
    void SetUp() override
    {
        RibbonTest::SetUp();
        tabs = AddTabs({"&Home", "&Insert"});
        // The system commands and the system menu stay with the test: no move loop, no menu.
        frame.SetReply(WM_SYSCOMMAND, 0);
        frame.SetReply(CCommandBarsTestFrame::kSystemMenuAt, 0);
    }
    void EnableFrameTheme()
    {
        ribbon->EnableFrameTheme(TRUE);
        Relayout();
    }
    std::vector<UINT> CaptionButtons() const
    {
        std::vector<UINT> ids;
        for (int i = 0; i < ribbon->GetControlCount(); ++i)
            if (ribbon->GetControl(i)->IsKindOf(RUNTIME_CLASS(COSMRibbonFrameCaptionButton)))
                ids.push_back(ribbon->GetControl(i)->GetID());
        return ids;
    }
    void SetFrameStyle(DWORD add, DWORD remove, BOOL ex = FALSE)
    {
        const int index = ex ? GWL_EXSTYLE : GWL_STYLE;
        ::SetWindowLongA(frame.GetSafeHwnd(), index,
                         static_cast<LONG>((::GetWindowLongA(frame.GetSafeHwnd(), index) | add) & ~remove));
        Relayout();
    }

    std::vector<COSMRibbonTab*> tabs;
};

}  // namespace

TEST_F(RibbonFrameObjectTest, TheFrameAnswersItsQueryWithTheFrameObjectWhileTheThemeIsOn)
{
    const UINT query = COSMRibbonFrame::GetQueryMessage();
    EXPECT_EQ(0, frame.SendMessage(query, 0, 0));
    EXPECT_TRUE(ribbon->GetCaptionTextRect().IsRectEmpty());
    EnableFrameTheme();
    ASSERT_NE(nullptr, ribbon->GetRibbonFrame());
    EXPECT_EQ(reinterpret_cast<LRESULT>(ribbon->GetRibbonFrame()), frame.SendMessage(query, 0, 0));
    EXPECT_EQ(frame.GetSafeHwnd(), ribbon->GetRibbonFrame()->GetFrameHwnd());
    EXPECT_TRUE(ribbon->IsFrameThemeEnabled());
    EXPECT_EQ("ribbon test", std::string(ribbon->GetFrameTitle()));
    EXPECT_FALSE(ribbon->GetCaptionTextRect().IsRectEmpty());

    ribbon->EnableFrameTheme(FALSE);
    Relayout();
    EXPECT_EQ(0, frame.SendMessage(query, 0, 0));
    EXPECT_TRUE(CaptionButtons().empty());
}

TEST_F(RibbonFrameObjectTest, TheCaptionIsTheFramesCaptionWithASizingEdgeOnTop)
{
    EXPECT_EQ(0, ribbon->HitTestCaption(CPoint(ClientWidth() / 2, 8))) << "no frame object";
    EnableFrameTheme();
    const CRect caption = ribbon->GetCaptionRect();
    const int x = ribbon->GetCaptionTextRect().CenterPoint().x;
    EXPECT_EQ(HTCAPTION, ribbon->HitTestCaption(CPoint(x, caption.top + 5)));
    EXPECT_EQ(HTTOP, ribbon->HitTestCaption(CPoint(x, caption.top + 4)));
    EXPECT_EQ(0, ribbon->HitTestCaption(CPoint(x, caption.bottom + 2))) << "below the caption";
    EXPECT_EQ(0, ribbon->HitTestCaption(ribbon->GetQuickAccessPopup()->GetRect().CenterPoint())) << "a control";
    SetFrameStyle(0, WS_THICKFRAME);
    EXPECT_EQ(HTCAPTION, ribbon->HitTestCaption(CPoint(x, caption.top + 1)));
}

TEST_F(RibbonFrameObjectTest, CaptionButtonsFollowTheFramesStyles)
{
    EnableFrameTheme();
    EXPECT_EQ((std::vector<UINT>{SC_CLOSE, SC_MAXIMIZE, SC_MINIMIZE}), CaptionButtons());
    const CRect area = ribbon->GetCaptionAreaRect();
    const CRect close = ribbon->GetControls()->FindControlById(SC_CLOSE)->GetRect();
    EXPECT_EQ(close.Height(), close.Width());
    EXPECT_EQ(area.right + 3 * close.Width(), close.right) << "the buttons stand right of the caption area";

    struct Case
    {
        const char* name;
        DWORD add, remove;
        BOOL ex;
        std::vector<UINT> buttons;
    };
    const Case cases[] = {
        {"a tool window", WS_EX_TOOLWINDOW, 0, TRUE, {SC_CLOSE}},
        {"no boxes", 0, WS_MINIMIZEBOX | WS_MAXIMIZEBOX, FALSE, {SC_CLOSE}},
        {"no system menu", 0, WS_SYSMENU, FALSE, {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        SetFrameStyle(c.add, c.remove, c.ex);
        EXPECT_EQ(c.buttons, CaptionButtons());
        SetFrameStyle(c.remove, c.add, c.ex);
    }
    EXPECT_EQ((std::vector<UINT>{SC_CLOSE, SC_MAXIMIZE, SC_MINIMIZE}), CaptionButtons());

    // A greyed close command greys the close button.
    ::EnableMenuItem(::GetSystemMenu(frame.GetSafeHwnd(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    Relayout();
    EXPECT_EQ(0, ribbon->GetControls()->FindControlById(SC_CLOSE)->GetEnabled());
    ::GetSystemMenu(frame.GetSafeHwnd(), TRUE);
}

TEST_F(RibbonFrameObjectTest, ACaptionButtonPostsItsSystemCommandToTheFrame)
{
    EnableFrameTheme();
    frame.ClearRecords();
    ClickAt(ScreenPoint(*ribbon, ribbon->GetControls()->FindControlById(SC_MINIMIZE)->GetRect().CenterPoint()));
    PumpUntil([&] { return frame.CountOf(WM_SYSCOMMAND) > 0; });
    const auto commands = frame.RecordsOf(WM_SYSCOMMAND);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ(static_cast<WPARAM>(SC_MINIMIZE), commands[0].wParam);
}

TEST_F(RibbonFrameObjectTest, PressesAndRightReleasesOnTheCaptionReachTheFrame)
{
    EnableFrameTheme();
    const CRect caption = ribbon->GetCaptionRect();
    const CPoint onCaption(ribbon->GetCaptionTextRect().CenterPoint().x, caption.top + 10);
    ASSERT_EQ(HTCAPTION, ribbon->HitTestCaption(onCaption));
    const CPoint screen = ScreenPoint(*ribbon, onCaption);
    frame.ClearRecords();
    ClickAt(screen);
    // The frame's own press handling asks it to move (SC_MOVE with the caption's hit code).
    const auto commands = frame.RecordsOf(WM_SYSCOMMAND);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ(static_cast<WPARAM>(SC_MOVE | HTCAPTION), commands[0].wParam);

    MoveMouseTo(screen);
    SendMouseInput(MOUSEEVENTF_RIGHTDOWN);
    SendMouseInput(MOUSEEVENTF_RIGHTUP);
    PumpFor(60);
    const auto menus = frame.RecordsOf(CCommandBarsTestFrame::kSystemMenuAt);
    ASSERT_EQ(1u, menus.size());
    EXPECT_EQ(reinterpret_cast<WPARAM>(frame.GetSafeHwnd()), menus[0].wParam);
    EXPECT_EQ(MAKELPARAM(screen.x, screen.y), menus[0].lParam);
}

TEST_F(RibbonFrameObjectTest, TheFrameGetsTheFramePaintersRegionOrTheInsetRectangleWhenMaximized)
{
    EnableFrameTheme();
    COSMRibbonFrame* ribbonFrame = ribbon->GetRibbonFrame();
    CRect window;
    frame.GetWindowRect(&window);
    ribbonFrame->SetFrameRegion(window.Width(), window.Height(), TRUE);
    CRgn region;
    region.CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, ::GetWindowRgn(frame.GetSafeHwnd(), region));
    CRect box;
    region.GetRgnBox(&box);
    EXPECT_EQ(CRect(0, 0, window.Width(), window.Height()), box);
    EXPECT_EQ(window.Size(), ribbonFrame->GetLastSize());

    frame.ShowWindow(SW_MAXIMIZE);
    PumpMessages();
    frame.GetWindowRect(&window);
    ribbonFrame->UpdateFrameRegion();
    const int border = ribbonFrame->GetFrameBorder();
    ASSERT_GT(border, 0);
    ASSERT_NE(ERROR, ::GetWindowRgn(frame.GetSafeHwnd(), region));
    region.GetRgnBox(&box);
    EXPECT_EQ(CRect(border, border, window.Width() - border, window.Height() - border), box);
    EXPECT_NE(HTTOP, ribbon->HitTestCaption(CPoint(ribbon->GetCaptionTextRect().CenterPoint().x, 1)))
        << "a maximized frame has no sizing edge";

    // A maximized document window of an MDI frame keeps no region.
    SetFrameStyle(WS_EX_MDICHILD, 0, TRUE);
    ribbonFrame->UpdateFrameRegion();
    EXPECT_EQ(ERROR, ::GetWindowRgn(frame.GetSafeHwnd(), region));
    SetFrameStyle(0, WS_EX_MDICHILD, TRUE);
    frame.ShowWindow(SW_RESTORE);
    PumpMessages();
}

TEST_F(RibbonFrameObjectTest, TheFramesRegionFollowsTheFrameAsItIsResized)
{
    EnableFrameTheme();
    COSMRibbonFrame* ribbonFrame = ribbon->GetRibbonFrame();
    auto regionBox = [&] {
        CRgn region;
        region.CreateRectRgn(0, 0, 0, 0);
        CRect box;
        if (::GetWindowRgn(frame.GetSafeHwnd(), region) == ERROR)
            return box;
        region.GetRgnBox(&box);
        return box;
    };
    CRect window;
    frame.GetWindowRect(&window);
    // Each size the frame is given, as a user's drag of its border or the maximize button gives it, reshapes it.
    for (const CSize size :
         {CSize(window.Width() + 60, window.Height() + 40), CSize(window.Width() - 30, window.Height())})
    {
        SCOPED_TRACE(testing::Message() << size.cx << " x " << size.cy);
        frame.SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        PumpMessages();
        EXPECT_EQ(size, ribbonFrame->GetLastSize());
        EXPECT_EQ(CRect(CPoint(0, 0), size), regionBox());
    }
    frame.ShowWindow(SW_MAXIMIZE);
    PumpMessages();
    frame.GetWindowRect(&window);
    const int border = ribbonFrame->GetFrameBorder();
    ASSERT_GT(border, 0);
    EXPECT_EQ(window.Size(), ribbonFrame->GetLastSize());
    EXPECT_EQ(CRect(border, border, window.Width() - border, window.Height() - border), regionBox());
    frame.ShowWindow(SW_RESTORE);
    PumpMessages();
    frame.GetWindowRect(&window);
    EXPECT_EQ(CRect(0, 0, window.Width(), window.Height()), regionBox());
}

TEST_F(RibbonFrameObjectTest, WithCompositionTheFrameIsExtendedByTheCaptionAndDwmsButtonsAreLeftToIt)
{
    COSMDwmFunctions functions(ThemeStubPath().c_str());
    ASSERT_NE(nullptr, functions.GetModule());
    CThemeStubState* stub = ThemeStubStateOf(ThemeStubPath());
    ASSERT_NE(nullptr, stub);
    ResetThemeStub(stub);
    stub->dwmComposition = TRUE;
    COSMRibbonFrame::s_pDwmFunctions = &functions;
    EXPECT_TRUE(COSMRibbonFrame::GetDwmWrapper().DwmIsCompositionEnabled());

    EnableFrameTheme();
    ASSERT_TRUE(ribbon->IsDwmEnabled());
    COSMRibbonFrame* ribbonFrame = ribbon->GetRibbonFrame();
    ribbonFrame->UpdateFrameRegion();
    EXPECT_EQ(4, ribbonFrame->GetFrameBorder());
    EXPECT_GE(stub->calls[CThemeStubState::kDwmExtendFrameIntoClientArea], 1);
    // MARGINS: left, right, top, bottom.
    EXPECT_EQ(0, stub->margins[0]);
    EXPECT_EQ(0, stub->margins[1]);
    EXPECT_EQ(ribbonFrame->GetCaptionHeight(), stub->margins[2]);
    EXPECT_EQ(ribbon->GetCaptionHeight() + 4, stub->margins[2]);
    EXPECT_EQ(0, stub->margins[3]);
    EXPECT_TRUE(CaptionButtons().empty()) << "composition draws them";

    const CPoint screen = ScreenPoint(*ribbon, CPoint(10, 10));
    stub->dwmHandles = TRUE;
    for (const LRESULT code : {LRESULT(HTMINBUTTON), LRESULT(HTMAXBUTTON), LRESULT(HTCLOSE), LRESULT(HTHELP)})
    {
        SCOPED_TRACE(code);
        stub->dwmResult = code;
        EXPECT_EQ(HTTRANSPARENT, ribbon->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)));
    }
    stub->dwmResult = HTCAPTION;
    EXPECT_NE(HTTRANSPARENT, ribbon->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)));
    stub->dwmHandles = FALSE;
    ribbon->EnableFrameTheme(FALSE);
}

TEST_F(RibbonFrameObjectTest, ADoubleClickOnTheCaptionMaximizesTheFrameThroughItsOwnHandling)
{
    EnableFrameTheme();
    const CPoint screen =
        ScreenPoint(*ribbon, CPoint(ribbon->GetCaptionTextRect().CenterPoint().x, ribbon->GetCaptionRect().top + 10));
    frame.ClearRecords();
    MoveMouseTo(screen);
    for (int i = 0; i < 2; ++i)
    {
        SendMouseInput(MOUSEEVENTF_LEFTDOWN);
        SendMouseInput(MOUSEEVENTF_LEFTUP);
    }
    PumpFor(100);
    std::vector<WPARAM> commands;
    for (const auto& record : frame.RecordsOf(WM_SYSCOMMAND))
        commands.push_back(record.wParam & 0xFFF0);
    EXPECT_EQ((std::vector<WPARAM>{SC_MOVE, SC_MAXIMIZE}), commands);
}

TEST_F(RibbonFrameObjectTest, TheTitleMovesAsideOfTheContextHeaders)
{
    EnableFrameTheme();
    const CRect title = ribbon->GetCaptionTextRect();
    ASSERT_FALSE(title.IsRectEmpty());
    // Plain tabs until the next one stands under the title, then a context tab there.
    while (ribbon->GetTab(ribbon->GetTabCount() - 1)->GetRect().right < title.left + 10 && ribbon->GetTabCount() < 20)
    {
        ribbon->AddTab("Tab");
        Relayout();
    }
    COSMRibbonTab* context = ribbon->AddTab("Picture format");
    context->SetContextColor(3, "Picture Tools");
    Relayout();
    ASSERT_EQ(1, ribbon->GetContextHeaders()->GetCount());
    const CRect span = ribbon->GetContextHeaders()->GetAt(0)->m_rect;
    const CRect moved = ribbon->GetCaptionTextRect();
    EXPECT_TRUE(moved.right <= span.left || moved.left >= span.right) << "the title keeps clear of the header";
    EXPECT_LE(moved.Width(), title.Width());
    EXPECT_GE(moved.left, ribbon->GetCaptionAreaRect().left);
    EXPECT_LE(moved.right, ribbon->GetCaptionAreaRect().right);
    if (title.CenterPoint().x <= span.CenterPoint().x)
        EXPECT_EQ(span.left, moved.right);
    else
        EXPECT_EQ(span.right, moved.left);
}
