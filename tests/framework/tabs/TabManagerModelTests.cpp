// The tab strip's model: items kept, removed, selected, coloured, walked by keys, scrolled into view, and the
// tooltips it answers; the navigation buttons' placement rules.
#include <gtest/gtest.h>

#include "TabTestSupport.h"
#include "framework/foundation/ResourceManager.h"
#include "framework/foundation/ToolTipContext.h"
#include "framework/foundation/ToolTipExtInfo.h"

using tabs_test::InstallTestAppearance;
using tabs_test::TestAppearanceSet;
using tabs_test::TestStrip;

namespace {

TEST(TabManagerModelTest, DeletingItemsSelectsTheItemThatTakesThePlace)
{
    COSMTabPaintManager pm;
    InstallTestAppearance(pm);
    TestStrip strip(&pm);
    strip.AddItems(3);  // A B C
    strip.SetCurSel(2);
    ASSERT_TRUE(strip.DeleteItem(2));
    EXPECT_EQ(1, strip.GetCurSel()) << "the new last item";
    EXPECT_EQ("AB", strip.Order());

    strip.SetCurSel(0);
    ASSERT_TRUE(strip.DeleteItem(0));
    EXPECT_EQ(strip.GetItem(0), strip.GetSelectedItem()) << "the item that moved into the place";
    EXPECT_EQ(0, strip.GetItem(0)->GetIndex());

    ASSERT_TRUE(strip.DeleteItem(0));
    EXPECT_EQ(nullptr, strip.GetSelectedItem());
    EXPECT_EQ(-1, strip.GetCurSel());
    EXPECT_FALSE(strip.DeleteItem(0));
    EXPECT_FALSE(strip.DeleteItem(-1));
}

TEST(TabManagerModelTest, InsertionOutOfRangeAppendsAndIndexesFollowTheList)
{
    COSMTabPaintManager pm;
    InstallTestAppearance(pm);
    TestStrip strip(&pm);
    strip.AddItems(2);
    strip.InsertItem(-1)->SetCaption("X");
    strip.InsertItem(99)->SetCaption("Y");
    strip.InsertItem(0)->SetCaption("Z");
    EXPECT_EQ("ZABXY", strip.Order());
    for (int i = 0; i < strip.GetItemCount(); i++)
        EXPECT_EQ(i, strip.GetItem(i)->GetIndex());
    EXPECT_EQ(nullptr, strip.GetItem(5));
    EXPECT_EQ(nullptr, strip.GetItem(-1));
}

TEST(TabManagerModelTest, ItemsTakeTheEightFixedColoursInTurnAcrossTheStripsOfOnePaintManager)
{
    const COLORREF fixed[8] = {RGB(138, 168, 228), RGB(255, 219, 117), RGB(189, 205, 159), RGB(240, 158, 159),
                               RGB(186, 166, 225), RGB(154, 191, 180), RGB(247, 182, 131), RGB(216, 171, 192)};
    COSMTabPaintManager pm;
    InstallTestAppearance(pm);
    TestStrip first(&pm);
    TestStrip second(&pm);
    std::vector<COSMTabManagerItem*> items;
    for (int i = 0; i < 9; i++)
        items.push_back((i % 2 ? second : first).InsertItem(-1));
    for (int i = 0; i < 9; i++)
        EXPECT_EQ(fixed[i % 8], items[i]->GetColor()) << "insertion " << i;
    EXPECT_EQ(RGB(138, 168, 228), items[8]->GetColor()) << "the ninth starts again";
}

TEST(TabManagerModelTest, AStripWithoutPaintManagerTakesTheDefaults)
{
    TestStrip strip(nullptr);
    COSMTabManagerItem* pItem = strip.InsertItem(-1);
    COSMTabManagerItem* pSecond = strip.InsertItem(-1);
    EXPECT_EQ(RGB(138, 168, 228), pItem->GetColor());
    EXPECT_EQ(RGB(138, 168, 228), pSecond->GetColor()) << "the counter stays at 0";
    EXPECT_EQ(0, strip.GetPosition());
    EXPECT_EQ(0, strip.GetLayout());
    CSize normal;
    strip.GetItemMetrics(&normal, nullptr, nullptr);
    EXPECT_EQ(70, normal.cx);
    EXPECT_EQ(CSize(14, 15), strip.GetNavigateButton(2)->GetSize());
    // Select on press without hot tracking: a press with reorder off selects at once.
    strip.SetAllowReorder(FALSE);
    pItem->SetRect(0, 0, 40, 20);
    strip.SetControlRect(CRect(0, 0, 100, 20));
    EXPECT_TRUE(strip.OnMouseDown(nullptr, CPoint(5, 5), FALSE));
    EXPECT_EQ(pItem, strip.GetSelectedItem());
    EXPECT_EQ(nullptr, strip.GetHighlightedItem());
}

TEST(TabManagerModelTest, SetCurSelClampsToTheList)
{
    COSMTabPaintManager pm;
    InstallTestAppearance(pm);
    TestStrip strip(&pm);
    strip.AddItems(4);
    const struct
    {
        int nAsked;
        int nSelected;
    } cases[] = {{-5, 0}, {2, 2}, {99, 3}, {3, 3}, {0, 0}};
    for (const auto& c : cases)
    {
        strip.SetCurSel(c.nAsked);
        EXPECT_EQ(c.nSelected, strip.GetCurSel()) << "asked " << c.nAsked;
    }
    strip.DeleteAllItems();
    strip.SetCurSel(2);
    EXPECT_EQ(nullptr, strip.GetSelectedItem());
}

TEST(TabManagerModelTest, FindNextVisibleItemSkipsHiddenAndDisabledItems)
{
    COSMTabPaintManager pm;
    InstallTestAppearance(pm);
    TestStrip strip(&pm);
    strip.AddItems(5);  // A B C D E
    strip.GetItem(1)->SetVisible(FALSE);
    strip.GetItem(2)->SetEnabled(FALSE);
    EXPECT_EQ(strip.GetItem(3), strip.FindNextVisibleItem(0, +1));
    EXPECT_EQ(strip.GetItem(0), strip.FindNextVisibleItem(3, -1));
    EXPECT_EQ(strip.GetItem(0), strip.FindNextVisibleItem(-1, +1));
    EXPECT_EQ(strip.GetItem(4), strip.FindNextVisibleItem(5, -1));
    EXPECT_EQ(nullptr, strip.FindNextVisibleItem(4, +1));
    EXPECT_EQ(nullptr, strip.FindNextVisibleItem(0, -1));
}

// A window of the given extended style, for the key table.
HWND MakeKeyWindow(DWORD dwExStyle)
{
    return ::CreateWindowExA(dwExStyle, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

TEST(TabManagerModelTest, KeysMoveTheSelectionInLeftToRightAndRightToLeftWindows)
{
    struct KeyCase
    {
        int nPosition;
        bool bRightToLeft;
        int nStart;
        UINT nKey;
        BOOL bHandled;
        int nSelected;
    };
    // Items A B C D with C hidden: keys skip it; no wrap-around.
    const KeyCase cases[] = {
        {0, false, 1, VK_RIGHT, TRUE, 3}, {0, false, 3, VK_LEFT, TRUE, 1},     {0, false, 0, VK_LEFT, TRUE, 0},
        {0, false, 3, VK_RIGHT, TRUE, 3}, {0, false, 2 - 1, VK_HOME, TRUE, 0}, {0, false, 0, VK_END, TRUE, 3},
        {0, false, 1, VK_DOWN, TRUE, 1},  {0, false, 1, VK_F5, FALSE, 1},      {0, true, 1, VK_LEFT, TRUE, 3},
        {0, true, 3, VK_RIGHT, TRUE, 1},  {1, false, 1, VK_DOWN, TRUE, 3},     {1, false, 3, VK_UP, TRUE, 1},
        {1, false, 1, VK_RIGHT, TRUE, 1}, {3, false, 0, VK_DOWN, TRUE, 1},
    };
    for (const KeyCase& c : cases)
    {
        COSMTabPaintManager pm;
        InstallTestAppearance(pm);
        pm.SetPosition(c.nPosition);
        TestStrip strip(&pm);
        strip.AddItems(4);
        strip.GetItem(2)->SetVisible(FALSE);
        strip.SetCurSel(c.nStart);
        HWND hWnd = MakeKeyWindow(c.bRightToLeft ? WS_EX_LAYOUTRTL : 0);
        EXPECT_EQ(c.bHandled, strip.PerformKeyDown(hWnd, c.nKey))
            << "position " << c.nPosition << " rtl " << c.bRightToLeft << " key " << c.nKey;
        EXPECT_EQ(c.nSelected, strip.GetCurSel())
            << "position " << c.nPosition << " rtl " << c.bRightToLeft << " key " << c.nKey;
        ::DestroyWindow(hWnd);
    }
    TestStrip empty(nullptr);
    EXPECT_FALSE(empty.PerformKeyDown(nullptr, VK_HOME));
}

TEST(TabManagerModelTest, EnsureVisibleScrollsAnItemIntoTheHeaderAtBothEnds)
{
    for (int nPosition : {0, 1})
    {
        COSMTabPaintManager pm;
        TestAppearanceSet* pSet = InstallTestAppearance(pm);
        pSet->m_nDefaultLength = 60;
        pm.SetPosition(nPosition);
        TestStrip strip(&pm, nPosition == 0 ? CRect(0, 0, 200, 40) : CRect(0, 0, 40, 200));
        strip.AddItems(6);  // 360 long in 200
        const CRect rcHeader = strip.GetHeaderRect();
        const int nHeaderEnd = nPosition == 0 ? rcHeader.right : rcHeader.bottom;

        // An item past the end: its end comes to the header's end, less 2.
        COSMTabManagerItem* pLast = strip.GetItem(4);
        const int nEnd = nPosition == 0 ? pLast->GetRect().right : pLast->GetRect().bottom;
        strip.EnsureVisible(pLast);
        EXPECT_EQ(-(nEnd + 2 - nHeaderEnd), strip.GetScrollOffset()) << "position " << nPosition;
        const CRect rcLast = pLast->GetRect();
        EXPECT_EQ(nHeaderEnd - 2, nPosition == 0 ? rcLast.right : rcLast.bottom);

        // Back to the first: its start comes to the header's start.
        strip.EnsureVisible(strip.GetItem(0));
        EXPECT_EQ(0, strip.GetScrollOffset());
        EXPECT_EQ(nPosition == 0 ? rcHeader.left : rcHeader.top,
                  nPosition == 0 ? strip.GetItem(0)->GetRect().left : strip.GetItem(0)->GetRect().top);
    }
}

TEST(TabManagerModelTest, TheScrollOffsetNeverGoesAboveZero)
{
    TestStrip strip(nullptr);
    strip.SetScrollOffset(5);
    EXPECT_EQ(0, strip.GetScrollOffset());
    strip.SetScrollOffset(-40);
    EXPECT_EQ(-40, strip.GetScrollOffset());
    strip.OnScroll(FALSE);
    EXPECT_EQ(-20, strip.GetScrollOffset());
    strip.OnScroll(TRUE);
    EXPECT_EQ(-40, strip.GetScrollOffset());
}

TEST(TabManagerModelTest, HitTestSkipsDisabledItemsAndPointsOutsideTheHeader)
{
    COSMTabPaintManager pm;
    InstallTestAppearance(pm);
    TestStrip strip(&pm);
    strip.AddItems(3);
    const CRect rc1 = strip.GetItem(1)->GetRect();
    EXPECT_EQ(strip.GetItem(1), strip.HitTest(rc1.CenterPoint()));
    strip.GetItem(1)->SetEnabled(FALSE);
    EXPECT_EQ(nullptr, strip.HitTest(rc1.CenterPoint()));
    EXPECT_EQ(nullptr, strip.HitTest(CPoint(rc1.left + 1, strip.GetHeaderRect().bottom + 5)));
}

// Tooltip records as a tooltip control hands them to a hit test, the extended one with its extra record.
struct TabToolInfo
{
    TabToolInfo()
    {
        info.cbSize = TTTOOLINFOA_V2_SIZE;
        info.lParam = reinterpret_cast<LPARAM>(&ext);
    }
    ~TabToolInfo()
    {
        COSMToolTipContext::FreeToolInfoText(&info);
        ext.FreeTexts();
    }
    TOOLINFOA info{};
    COSMToolTipExtInfo ext;
};

TEST(TabManagerModelTest, ItemTooltipsFollowTheTooltipMode)
{
    COSMTabPaintManager pm;
    TestAppearanceSet* pSet = InstallTestAppearance(pm);
    TestStrip strip(&pm, CRect(0, 0, 200, 40));
    pm.SetLayout(COSMTabPaintManager::kLayoutSizeToFit);
    pSet->m_lengths[1] = 150;  // cut: 40 + 150 + 40 in 200
    strip.AddItems(3);
    strip.GetItem(0)->SetTooltip("tip A");
    strip.GetItem(1)->SetTooltip("tip B");
    ASSERT_LT(strip.GetItem(1)->GetLength(), strip.GetItem(1)->GetContentLength());
    ASSERT_EQ(strip.GetItem(0)->GetLength(), strip.GetItem(0)->GetContentLength());
    const CPoint ptA = strip.GetItem(0)->GetRect().CenterPoint();
    const CPoint ptB = strip.GetItem(1)->GetRect().CenterPoint();

    pm.m_nToolTipBehaviour = 0;
    {
        TabToolInfo ti;
        EXPECT_EQ(-1, strip.PerformToolHitTest(nullptr, ptB, &ti.info));
    }
    pm.m_nToolTipBehaviour = 2;
    {
        TabToolInfo ti;
        EXPECT_EQ(-1, strip.PerformToolHitTest(nullptr, ptA, &ti.info)) << "an uncut caption has no tip";
    }
    {
        TabToolInfo ti;
        EXPECT_EQ(1, strip.PerformToolHitTest(nullptr, ptB, &ti.info)) << "the item's index";
        EXPECT_STREQ("tip B", ti.info.lpszText);
        EXPECT_EQ(strip.GetItem(1)->GetRect(), CRect(ti.info.rect));
        ASSERT_NE(nullptr, ti.ext.pszTitle);
        EXPECT_STREQ("B", ti.ext.pszTitle) << "the caption is the title";
    }
    pm.m_nToolTipBehaviour = 1;
    {
        TabToolInfo ti;
        EXPECT_EQ(0, strip.PerformToolHitTest(nullptr, ptA, &ti.info)) << "any other mode: always";
    }
    strip.GetItem(0)->SetTooltip("");
    {
        TabToolInfo ti;
        EXPECT_EQ(-1, strip.PerformToolHitTest(nullptr, ptA, &ti.info)) << "no text, no tip";
    }
}

TEST(TabManagerModelTest, AButtonTooltipTakesItsListPositionAsId)
{
    COSMTabPaintManager pm;
    TestAppearanceSet* pSet = InstallTestAppearance(pm);
    pSet->m_nDefaultLength = 80;
    TestStrip strip(&pm, CRect(0, 0, 200, 40));
    strip.AddItems(4);  // 320 in 200: the scroll buttons show
    COSMTabManagerNavigateButton* pForward = strip.GetNavigateButton(1);
    ASSERT_TRUE(pForward->IsVisible());
    TabToolInfo ti;
    EXPECT_EQ(1, strip.PerformToolHitTest(nullptr, pForward->GetRect().CenterPoint(), &ti.info));
    EXPECT_STREQ(GetResourceManager()->LoadStringValue(9801), ti.info.lpszText);

    // An item's own close button answers with its position in the item's list.
    strip.SetCloseOnTabsMode(2);
    COSMTabManagerItem* pItem = strip.InsertItem(0);
    pItem->SetRect(0, 0, 50, 20);
    pItem->GetNavigateButtons()[0]->SetRect(CRect(2, 2, 10, 10));
    strip.SetControlRect(CRect(0, 0, 200, 40));
    strip.SetHeaderRect(CRect(0, 0, 150, 20));
    TabToolInfo tiClose;
    EXPECT_EQ(0, strip.PerformToolHitTest(nullptr, CPoint(5, 5), &tiClose.info));
    EXPECT_STREQ(GetResourceManager()->LoadStringValue(9802), tiClose.info.lpszText);
}

// ---- Navigation buttons ----------------------------------------------------------------------------------------

TEST(TabNavigateButtonTest, TheStripCreatesBackForwardAndCloseWithTheirTooltips)
{
    TestStrip strip(nullptr);
    const auto& buttons = strip.GetNavigateButtons();
    ASSERT_EQ(3u, buttons.size());
    EXPECT_EQ(0, buttons[0]->GetID());
    EXPECT_EQ(1, buttons[1]->GetID());
    EXPECT_EQ(2, buttons[2]->GetID());
    EXPECT_EQ(1, buttons[0]->GetDisplayMode());
    EXPECT_EQ(1, buttons[1]->GetDisplayMode());
    EXPECT_EQ(0, buttons[2]->GetDisplayMode());
    const CString strClose = GetResourceManager()->LoadStringValue(9802);
    EXPECT_FALSE(strClose.IsEmpty());
    EXPECT_STREQ(strClose, buttons[2]->GetTooltip());

    // The scroll buttons take theirs by orientation at every placement.
    for (int nPosition : {0, 2, 1, 3})
    {
        COSMTabPaintManager pm;
        InstallTestAppearance(pm);
        pm.SetPosition(nPosition);
        TestStrip placed(&pm);
        CRect rc(0, 0, 200, 200);
        placed.GetNavigateButtons()[0]->Reposition(rc);
        placed.GetNavigateButtons()[1]->Reposition(rc);
        const bool bHorizontal = nPosition == 0 || nPosition == 2;
        EXPECT_STREQ(GetResourceManager()->LoadStringValue(bHorizontal ? 9800 : 9803),
                     placed.GetNavigateButtons()[0]->GetTooltip());
        EXPECT_STREQ(GetResourceManager()->LoadStringValue(bHorizontal ? 9801 : 9804),
                     placed.GetNavigateButtons()[1]->GetTooltip());
        EXPECT_FALSE(placed.GetNavigateButtons()[0]->GetTooltip().IsEmpty());
    }
}

TEST(TabNavigateButtonTest, TheCloseRulePlacesTheButtonAtTheFarEnd)
{
    struct CloseCase
    {
        int nPosition;
        int nMode;
        BOOL bSelectedCloseEnabled;
        CRect rcStrip;
        CRect rcButton;
        CRect rcLeft;
        int nLengthLeft;  // of 100
    };
    const CloseCase cases[] = {
        {0, 2, TRUE, CRect(0, 0, 100, 20), CRect(86, 2, 100, 17), CRect(0, 0, 86, 20), 86},
        {2, 2, TRUE, CRect(0, 0, 100, 20), CRect(86, 2, 100, 17), CRect(0, 0, 86, 20), 86},
        {1, 2, TRUE, CRect(0, 0, 20, 100), CRect(3, 85, 17, 100), CRect(0, 0, 20, 85), 85},
        {3, 2, FALSE, CRect(0, 0, 20, 100), CRect(3, 85, 17, 100), CRect(0, 0, 20, 85), 85},
        {0, 1, TRUE, CRect(0, 0, 100, 20), CRect(86, 2, 100, 17), CRect(0, 0, 86, 20), 86},
        {0, 1, FALSE, CRect(0, 0, 100, 20), CRect(0, 0, 0, 0), CRect(0, 0, 100, 20), 100},
        {0, 0, TRUE, CRect(0, 0, 100, 20), CRect(0, 0, 0, 0), CRect(0, 0, 100, 20), 100},
    };
    for (const CloseCase& c : cases)
    {
        COSMTabPaintManager pm;
        InstallTestAppearance(pm);
        pm.SetPosition(c.nPosition);
        TestStrip strip(&pm);
        strip.m_bLayoutAtOnce = false;
        strip.AddItems(1);
        strip.SetCurSel(0);
        strip.GetItem(0)->SetCloseEnabled(c.bSelectedCloseEnabled);
        COSMTabManagerNavigateButton* pClose = strip.GetNavigateButton(2);
        pClose->SetDisplayMode(c.nMode);
        CRect rc = c.rcStrip;
        pClose->Reposition(rc);
        EXPECT_EQ(c.rcButton, pClose->GetRect()) << "position " << c.nPosition << " mode " << c.nMode;
        EXPECT_EQ(c.rcLeft, rc) << "position " << c.nPosition << " mode " << c.nMode;
        int nLength = 100;
        pClose->AdjustWidth(nLength);
        EXPECT_EQ(c.nLengthLeft, nLength) << "position " << c.nPosition << " mode " << c.nMode;
    }
}

TEST(TabNavigateButtonTest, TheScrollRuleShowsScrollButtonsOnlyWhenTheItemsDoNotFit)
{
    struct ScrollCase
    {
        int nLayout;
        int nItemsLength;
        int nOffset;
        bool bShown;
        BOOL bForwardEnabled;
        BOOL bBackEnabled;
    };
    // Strip extent 200, no header margin: hidden while L + s - 1 <= 200 and s >= 0; forward enabled above
    // 200 - 28.
    const ScrollCase cases[] = {
        {0, 200, 0, false, TRUE, FALSE},  {0, 201, 0, false, TRUE, FALSE},  {0, 202, 0, true, TRUE, FALSE},
        {0, 100, -20, true, FALSE, TRUE}, {0, 172, 0, false, FALSE, FALSE}, {0, 173, 0, false, TRUE, FALSE},
        {1, 500, 0, false, TRUE, FALSE},  {4, 500, -20, false, TRUE, TRUE},
    };
    for (const ScrollCase& c : cases)
    {
        COSMTabPaintManager pm;
        InstallTestAppearance(pm);
        pm.SetLayout(c.nLayout);
        TestStrip strip(&pm);
        strip.m_bLayoutAtOnce = false;
        strip.AddItems(1);
        strip.GetItem(0)->SetLength(c.nItemsLength);
        strip.SetScrollOffsetDirect(c.nOffset);
        CRect rc(0, 0, 200, 20);
        COSMTabManagerNavigateButton* pForward = strip.GetNavigateButton(1);
        COSMTabManagerNavigateButton* pBack = strip.GetNavigateButton(0);
        pForward->Reposition(rc);
        EXPECT_EQ(c.bShown, pForward->IsVisible()) << "layout " << c.nLayout << " length " << c.nItemsLength;
        EXPECT_EQ(c.bForwardEnabled, pForward->IsEnabled()) << "length " << c.nItemsLength;
        EXPECT_EQ(c.bShown ? 186 : 200, rc.right);
        CRect rcBack(0, 0, 200, 20);
        pBack->Reposition(rcBack);
        EXPECT_EQ(c.bBackEnabled, pBack->IsEnabled()) << "offset " << c.nOffset;
        int nLength = 100;
        pForward->AdjustWidth(nLength);
        EXPECT_EQ(100, nLength) << "automatic scroll buttons take no room from size to fit";
    }
    // Always shown: they take their room.
    TestStrip strip(nullptr);
    COSMTabManagerNavigateButton* pBack = strip.GetNavigateButton(0);
    pBack->SetDisplayMode(2);
    int nLength = 100;
    pBack->AdjustWidth(nLength);
    EXPECT_EQ(86, nLength);
}

}  // namespace
