// The application button and its menu: the double click, the menu's exclusion and hit test over the button, the foot
// buttons in the bottom border, pages as tall as the menu, list items and captions, and the recent files.
#include "RibbonTestSupport.h"

#include "classlib/RecentFileList.h"
#include "classlib/WinApp.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/ribbon/RibbonSystemButton.h"

#include <memory>

using namespace ribbon_test;

namespace {

TEST(RibbonRecentCaptions, NumbersOneToNineAndEscapesAmpersands)
{
    const struct
    {
        const char* name;
        int number;
        const char* caption;
    } cases[] = {
        {"a", 1, "&1 a"},      {"i", 9, "&9 i"},     {"j", 10, "j"}, {"x", 0, "x"},
        {"R&D", 2, "&2 R&&D"}, {"&&", 3, "&3 &&&&"}, {"", 1, "&1 "},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.caption);
        EXPECT_STREQ(c.caption, FormatRecentCaption(c.name, c.number));
    }
}

TEST(RibbonRecentCaptions, DoubleByteCharactersAreCopiedWholeAndALoneLeadByteEndsTheName)
{
    ASSERT_TRUE(::IsDBCSLeadByteEx(932, 0x82)) << "the Japanese code page must be known";
    // An '&' as a trail byte is part of its character, not an ampersand.
    EXPECT_STREQ("&1 a\x82&b", FormatRecentCaption("a\x82&b", 1, 932));
    // The lead byte before the terminator is copied alone; nothing after the terminator is read.
    const char cut[] = {'a', 'b', '\x82', '\0', '&', 'z', '\0'};
    EXPECT_STREQ("&2 ab\x82", FormatRecentCaption(cut, 2, 932));
}

TEST(RibbonSystemMenuLayout, FootButtonsStandRightAlignedInTheBottomBorder)
{
    const std::vector<CRect> rects = COSMRibbonSystemPopupBar::PlaceFootButtons(400, 200, {80, 60});
    ASSERT_EQ(2u, rects.size());
    EXPECT_EQ(CRect(249, 175, 329, 197), rects[0]);
    EXPECT_EQ(CRect(335, 175, 395, 197), rects[1]);
}

class RibbonSystemMenuTest : public RibbonTest
{
protected:
    void SetUp() override
    {
        RibbonTest::SetUp();
        tabs = AddTabs({"&Home", "&Insert"});
        system = new COSMRibbonControlSystemButton;
        system->SetCaption("&File");
        ribbon->SetSystemButton(system);
        menu = new COSMRibbonSystemPopupBar;
        menu->SetCommandBars(commandBars.Get());
        system->SetCommandBar(menu);
        menu->InternalRelease();
        menu->GetControls()->Add(1, 401)->SetCaption("&New");
        menu->GetControls()->Add(1, 402)->SetCaption("&Open");
        Relayout();
    }
    void TearDown() override
    {
        commandBars->ClosePopups();
        PumpMessages();
        if (app)
        {
            delete app->m_pRecentFileList;
            app->m_pRecentFileList = nullptr;
        }
        app.reset();
        RibbonTest::TearDown();
    }
    CPoint SystemCentre() const { return ScreenPoint(*ribbon, system->GetRect().CenterPoint()); }
    // Opens the menu with a click on the button.
    void OpenMenu()
    {
        ClickAt(SystemCentre());
        PumpMessages();
    }

    std::vector<COSMRibbonTab*> tabs;
    COSMRibbonControlSystemButton* system = nullptr;
    COSMRibbonSystemPopupBar* menu = nullptr;
    std::unique_ptr<CWinApp> app;
};

TEST_F(RibbonSystemMenuTest, ADoubleClickAsksATopLevelFrameToClose)
{
    // Recorded and answered here: the frame must not really close.
    frame.SetReply(WM_SYSCOMMAND, 0);
    frame.ClearRecords();
    MoveMouseTo(SystemCentre());
    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    SendMouseInput(MOUSEEVENTF_LEFTUP);
    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    SendMouseInput(MOUSEEVENTF_LEFTUP);
    PumpFor(150);
    int closes = 0;
    for (const auto& record : frame.RecordsOf(WM_SYSCOMMAND))
        closes += record.wParam == COSMRibbonControlSystemButton::kDoubleClickCommand && record.lParam == 0;
    EXPECT_EQ(1, closes);
    EXPECT_FALSE(menu->GetSafeHwnd() && menu->IsWindowVisible()) << "the double click closed the menu";
    EXPECT_TRUE(frame.GetSafeHwnd() && ::IsWindow(frame.GetSafeHwnd()));
}

TEST_F(RibbonSystemMenuTest, TheMenuCoversTheButtonsLowerPartAndLetsClicksOnItThrough)
{
    CRect rect(0, 0, 40, 40);
    system->AdjustExcludeRect(rect, FALSE);
    EXPECT_EQ(CRect(0, 0, 40, 22), rect);
    // Without the tab row the button is excluded as any popup's.
    ribbon->SetTabsVisible(FALSE);
    CRect plain(0, 0, 40, 40);
    system->AdjustExcludeRect(plain, FALSE);
    EXPECT_EQ(40, plain.bottom);
    ribbon->SetTabsVisible(TRUE);
    Relayout();

    OpenMenu();
    ASSERT_TRUE(menu->GetSafeHwnd() && menu->IsWindowVisible());
    EXPECT_EQ(CRect(6, 18, 6, 29), menu->GetBorders());
    EXPECT_FALSE(menu->GetShowGripper());
    // A point of the button's lower part, which the menu covers.
    const CRect button = system->GetRect();
    const CPoint over = ScreenPoint(*ribbon, CPoint(button.CenterPoint().x, button.bottom - 3));
    CRect window;
    menu->GetWindowRect(&window);
    ASSERT_TRUE(window.PtInRect(over)) << "the menu must cover the button's lower part";
    EXPECT_EQ(HTTRANSPARENT, static_cast<int>(menu->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(over.x, over.y))));
    const CPoint inside(window.CenterPoint());
    EXPECT_EQ(HTCLIENT, static_cast<int>(menu->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y))));
}

TEST_F(RibbonSystemMenuTest, FootButtonsSitInTheMenusFootWithoutAStateRectangle)
{
    auto* options = new COSMRibbonControlSystemPopupBarButton;
    menu->GetControls()->AddControl(options, 403);
    options->SetCaption("Options");
    auto* exit = new COSMRibbonControlSystemPopupBarButton;
    menu->GetControls()->AddControl(exit, 404);
    exit->SetCaption("Exit");
    OpenMenu();
    ASSERT_TRUE(menu->GetSafeHwnd() && menu->IsWindowVisible());
    CRect client;
    menu->GetClientRect(&client);
    const CRect o = options->GetRect();
    const CRect e = exit->GetRect();
    EXPECT_EQ(client.right - 6 + 1, e.right);
    EXPECT_EQ(e.left - 6, o.right);
    for (const CRect& r : {o, e})
    {
        EXPECT_EQ(client.bottom - 25, r.top);
        EXPECT_EQ(client.bottom - 3, r.bottom);
    }
    EXPECT_TRUE(options->IsFaceSuppressed());
    EXPECT_TRUE(options->IsVisible());
    // Outside an application menu the button is an ordinary one.
    RefPtr<COSMControl> loose = AdoptRef(options->Clone(TRUE));
    EXPECT_FALSE(loose->IsFaceSuppressed());
}

TEST_F(RibbonSystemMenuTest, APageIsAsTallAsTheMenuBetweenItsBorders)
{
    auto* opener = static_cast<COSMControlPopup*>(menu->GetControls()->Add(2, 405));
    opener->SetCaption("&Print");
    frame.HandleCommand(405);
    auto* page = new COSMRibbonSystemPopupBarPage;
    page->SetCommandBars(commandBars.Get());
    page->GetControls()->Add(1, 501)->SetCaption("Quick print");
    opener->SetCommandBar(page);
    page->InternalRelease();
    for (int i = 0; i < 6; ++i)
        menu->GetControls()->Add(1, 410 + i)->SetCaption("More");
    OpenMenu();
    ASSERT_TRUE(menu->GetSafeHwnd() && menu->IsWindowVisible());
    // Resting on the item opens its page.
    MoveMouseTo(ScreenPoint(*menu, opener->GetRect().CenterPoint()));
    PumpFor(600);
    ASSERT_TRUE(page->GetSafeHwnd() && page->IsWindowVisible());
    CRect menuClient;
    menu->GetClientRect(&menuClient);
    CRect pageWindow;
    page->GetWindowRect(&pageWindow);
    EXPECT_GE(pageWindow.Height(), menuClient.Height() - 18 - 29 - 2);
}

TEST_F(RibbonSystemMenuTest, ANumberedItemDrawsItsKeyFirstAndIndentsItsName)
{
    CClientDC screen(nullptr);
    COSMFontDC font(&screen, &ribbon->GetPaintManager()->GetRegularFont());
    const int zero = screen.GetTextExtent("0", 1).cx;
    EXPECT_EQ(7 + 7 + zero, COSMRibbonControlSystemPopupBarListItem::CaptionIndent(&screen, TRUE));
    EXPECT_EQ(7, COSMRibbonControlSystemPopupBarListItem::CaptionIndent(&screen, FALSE));
    const struct
    {
        const char* caption;
        const char* key;
        const char* rest;
    } cases[] = {{"&1 one.txt", "&1", "one.txt"}, {"&1", "", "&1"}, {"12 x", "", "12 x"}, {"&9 ", "&9", ""}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.caption);
        CString caption = c.caption;
        EXPECT_STREQ(c.key, COSMRibbonControlSystemPopupBarListItem::SplitAccessKey(caption));
        EXPECT_STREQ(c.rest, caption);
    }
}

TEST_F(RibbonSystemMenuTest, RecentFilesFillTheListAndLeaveTheControlAfterIt)
{
    app = std::make_unique<CWinApp>("ribbon system menu tests");
    app->m_pRecentFileList = new CRecentFileList(4);
    CRecentFileList& files = *app->m_pRecentFileList;
    files[0] = "C:\\Docs\\one.txt";
    files[1] = "C:\\Docs\\R&D.txt";
    files[2] = "D:\\three.doc";

    auto* recent = new COSMRibbonControlSystemRecentFileList;
    menu->GetControls()->AddControl(recent, 35003);
    recent->SetCaption("Recent Documents");
    // Another control whose id follows the list's range: 57616 + 4.
    COSMControl* after = menu->GetControls()->Add(1, 57620);
    after->SetCaption("More files");

    for (int round = 0; round < 2; ++round)
    {
        SCOPED_TRACE(round);
        recent->BuildDynamicItems(0);
        EXPECT_EQ((std::vector<UINT>{401, 402, 35003, 57616, 57617, 57618, 57620}), Ids(menu->GetControls()));
        const struct
        {
            const char* caption;
            const char* tooltip;
        } entries[] = {{"&1 one.txt", "C:\\Docs\\one.txt"},
                       {"&2 R&&D.txt", "C:\\Docs\\R&D.txt"},
                       {"&3 three.doc", "D:\\three.doc"}};
        for (int i = 0; i < 3; ++i)
        {
            auto* entry = dynamic_cast<COSMRibbonControlSystemPopupBarListItem*>(
                menu->GetControls()->GetAt(recent->GetIndex() + 1 + i));
            ASSERT_NE(nullptr, entry);
            EXPECT_STREQ(entries[i].caption, entry->GetCaption());
            EXPECT_STREQ(entries[i].tooltip, entry->GetTooltip());
            EXPECT_EQ(72u, entry->GetFlags());
            EXPECT_TRUE(entry->IsNumbered());
            EXPECT_TRUE(entry->IsTemporary());
        }
    }

    // Customizing: the list shows itself and no entries.
    commandBars->SetCustomizeMode(TRUE);
    recent->SetHideFlags(COSMControl::kHideHidden);
    recent->BuildDynamicItems(0);
    commandBars->SetCustomizeMode(FALSE);
    EXPECT_EQ((std::vector<UINT>{401, 402, 35003, 57620}), Ids(menu->GetControls()));
    EXPECT_TRUE(recent->IsVisible());

    // Dragged while customizing, the list goes into popups only.
    int effect = 1;
    EXPECT_TRUE(recent->IsCustomizeDragOverAllowed(menu, CPoint(), effect));
    EXPECT_FALSE(recent->IsCustomizeDragOverAllowed(ribbon, CPoint(), effect));
    EXPECT_EQ(0, effect);
}

}  // namespace
