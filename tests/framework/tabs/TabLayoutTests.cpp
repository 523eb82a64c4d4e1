// The tab strip's layouts with item lengths the test sets: the position rule, natural lengths with the offset
// pulled back, size to fit, fixed width, compressed, rotated and multi-row, the static frame and control margin,
// and the client rectangle for each frame style.
#include <gtest/gtest.h>

#include "TabTestSupport.h"
#include "framework/foundation/DCSelectors.h"

using tabs_test::InstallTestAppearance;
using tabs_test::TestAppearanceSet;
using tabs_test::TestStrip;

namespace {

TEST(TabLayoutTest, MarginsTurnWithThePosition)
{
    const struct
    {
        int nPosition;
        CRect rcGrown;
    } cases[] = {{0, CRect(9, 8, 103, 104)},
                 {1, CRect(8, 9, 104, 103)},
                 {2, CRect(9, 6, 103, 102)},
                 {3, CRect(6, 9, 102, 103)},
                 {7, CRect(10, 10, 100, 100)}};
    for (const auto& c : cases)
    {
        CRect rc(10, 10, 100, 100);
        COSMTabAppearanceSet::AdjustRectByPosition(rc, 1, 2, 3, 4, c.nPosition);
        EXPECT_EQ(c.rcGrown, rc) << "position " << c.nPosition;
        COSMTabAppearanceSet::DeflateRectByPosition(rc, 1, 2, 3, 4, c.nPosition);
        EXPECT_EQ(CRect(10, 10, 100, 100), rc) << "position " << c.nPosition;
    }
}

TEST(TabLayoutTest, NaturalLengthsStandSideBySideInTheRowAtTheStripSide)
{
    for (int nPosition : {0, 1, 2, 3})
    {
        COSMTabPaintManager pm;
        TestAppearanceSet* pSet = InstallTestAppearance(pm);
        pSet->m_lengths = {{0, 30}, {1, 50}, {2, 40}};
        pm.m_nItemExtraLength = 5;
        pm.SetPosition(nPosition);
        TestStrip strip(&pm, CRect(0, 0, 200, 200));
        strip.AddItems(3);
        strip.GetItem(1)->SetVisible(FALSE);
        const int h = pSet->GetRowHeight(&strip);
        const int nStart[] = {0, 35, 35};
        const int nLength[] = {35, 0, 45};
        for (int i = 0; i < 3; i++)
        {
            const int nRowStart = (nPosition == 2 || nPosition == 3) ? 200 - h : 0;
            const CRect rcExpected = (nPosition == 0 || nPosition == 2)
                                         ? CRect(nStart[i], nRowStart, nStart[i] + nLength[i], nRowStart + h)
                                         : CRect(nRowStart, nStart[i], nRowStart + h, nStart[i] + nLength[i]);
            EXPECT_EQ(rcExpected, strip.GetItem(i)->GetRect()) << "position " << nPosition << " item " << i;
        }
        EXPECT_EQ(30, strip.GetItem(0)->GetContentLength()) << "the extra length is not content";
        const CRect rcHeader = strip.GetHeaderRect();
        // The header band, one row thick, ends a pixel short of the strip's end.
        if (nPosition == 0 || nPosition == 2)
            EXPECT_EQ(CRect(0, nPosition == 2 ? 200 - h : 0, 199, nPosition == 2 ? 200 : h), rcHeader);
        else
            EXPECT_EQ(CRect(nPosition == 3 ? 200 - h : 0, 0, nPosition == 3 ? 200 : h, 199), rcHeader);
    }
}

TEST(TabLayoutTest, ANegativeOffsetIsPulledBackWhenItWouldLeaveRoomAtTheEnd)
{
    const struct
    {
        int nItems;
        int nOffset;
        int nPulledBack;
    } cases[] = {
        {3, -50, 0},      // 120 long: everything fits again
        {5, -200, -129},  // 300 long in 171 (two scroll buttons of 14 and the end pixel): the end meets the header's
        {5, -60, -60},    // no room at the end: stays
    };
    for (const auto& c : cases)
    {
        COSMTabPaintManager pm;
        InstallTestAppearance(pm)->m_nDefaultLength = c.nItems == 3 ? 40 : 60;
        TestStrip strip(&pm, CRect(0, 0, 200, 40));
        strip.AddItems(c.nItems);
        strip.SetScrollOffset(c.nOffset);
        EXPECT_EQ(c.nPulledBack, strip.GetScrollOffset()) << c.nItems << " items from " << c.nOffset;
        EXPECT_EQ(strip.GetHeaderRect().left + c.nPulledBack, strip.GetItem(0)->GetRect().left);
    }
}

TEST(TabLayoutTest, SizeToFitKeepsShortItemsAndSharesTheRestOfTheRoom)
{
    const struct
    {
        std::vector<int> lengths;
        int nWidth;
        CRect rcMargin;
        std::vector<int> fitted;
    } cases[] = {
        {{30, 80, 90}, 150, CRect(0, 0, 0, 0), {30, 60, 60}}, {{90, 30, 80}, 150, CRect(0, 0, 0, 0), {60, 30, 60}},
        {{30, 40}, 150, CRect(0, 0, 0, 0), {30, 40}},         {{200}, 150, CRect(0, 0, 0, 0), {150}},
        {{30, 80, 90}, 160, CRect(4, 0, 6, 0), {30, 60, 60}}, {{30, 80}, 150, CRect(100, 0, 100, 0), {0, 0}},
    };
    for (const auto& c : cases)
    {
        COSMTabPaintManager pm;
        TestAppearanceSet* pSet = InstallTestAppearance(pm);
        pSet->SetHeaderMargin(c.rcMargin);
        for (size_t i = 0; i < c.lengths.size(); i++)
            pSet->m_lengths[static_cast<int>(i)] = c.lengths[i];
        pm.SetLayout(COSMTabPaintManager::kLayoutSizeToFit);
        TestStrip strip(&pm, CRect(0, 0, c.nWidth, 40));
        strip.AddItems(static_cast<int>(c.lengths.size()));
        int x = c.rcMargin.left;
        for (size_t i = 0; i < c.fitted.size(); i++)
        {
            COSMTabManagerItem* pItem = strip.GetItem(static_cast<int>(i));
            EXPECT_EQ(c.fitted[i], pItem->GetLength()) << "item " << i << " of " << c.lengths.size();
            EXPECT_EQ(c.lengths[i], pItem->GetContentLength());
            EXPECT_EQ(x, pItem->GetRect().left) << "item " << i;
            x += c.fitted[i];
        }
        EXPECT_EQ(std::string("ABC").substr(0, c.lengths.size()), strip.Order()) << "the list keeps its order";
        EXPECT_FALSE(strip.GetNavigateButton(1)->IsVisible());
    }
}

TEST(TabLayoutTest, FixedWidthAndCompressedLayoutsMeasureWithTheStripsFont)
{
    COSMTabPaintManager pm;
    TestAppearanceSet* pSet = InstallTestAppearance(pm);
    pSet->m_bFixedLengths = false;
    pm.m_rcItemInset = CRect(3, 0, 4, 0);
    TestStrip strip(&pm, CRect(0, 0, 600, 40));
    strip.m_bIcons = true;
    strip.m_szIcon = CSize(16, 16);
    strip.AddItems(1);
    strip.InsertItem(-1)->SetCaption("A much longer caption");
    strip.InsertItem(-1)->SetCaption("Mid caption");

    pm.SetLayout(COSMTabPaintManager::kLayoutFixed);
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(70 + 7, strip.GetItem(i)->GetLength()) << "item " << i;

    // The widest caption, measured as the paint manager does, with the strip's font.
    HDC hdc = ::CreateCompatibleDC(nullptr);
    CDC* pDC = CDC::FromHandle(hdc);
    int nWidest = 0;
    {
        COSMFontDC font(pDC, pm.GetFont(FALSE, FALSE));
        CRect rc(0, 0, 0, 0);
        pDC->DrawText("A much longer caption", rc, DT_CALCRECT | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
        nWidest = rc.Width();
        CRect rcShort(0, 0, 0, 0);
        pDC->DrawText("Mid caption", rcShort, DT_CALCRECT | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
        ASSERT_LT(rcShort.Width(), nWidest);
    }
    ::DeleteDC(hdc);

    strip.SetCurSel(2);
    pm.SetLayout(COSMTabPaintManager::kLayoutCompressed);
    EXPECT_EQ(16 + 8 + 7, strip.GetItem(0)->GetLength());
    EXPECT_EQ(16 + 8 + 7, strip.GetItem(1)->GetLength());
    EXPECT_EQ(nWidest + 6 + 6 + 16 + 7, strip.GetItem(2)->GetLength()) << "the selected one by the widest caption";
}

TEST(TabLayoutTest, RotatedItemsStandOnTheClientSideInSlotsOfARowHeight)
{
    for (int nPosition : {0, 1, 2, 3})
    {
        COSMTabPaintManager pm;
        TestAppearanceSet* pSet = InstallTestAppearance(pm);
        pSet->m_lengths = {{0, 30}, {1, 50}};
        pSet->SetHeaderMargin(CRect(0, 0, 0, 3));
        pm.SetPosition(nPosition);
        pm.SetLayout(COSMTabPaintManager::kLayoutRotated);
        TestStrip strip(&pm, CRect(0, 0, 300, 300));
        strip.AddItems(2);
        const int h = pSet->GetRowHeight(&strip);
        const CRect rcHeader = strip.GetHeaderRect();
        EXPECT_EQ(std::max(h, 50) + 3, (nPosition == 0 || nPosition == 2) ? rcHeader.Height() : rcHeader.Width());
        for (int i = 0; i < 2; i++)
        {
            const int nLength = i == 0 ? 30 : 50;
            const int x = h * i;
            CRect rcExpected;
            switch (nPosition)
            {
            case 0:
                rcExpected = CRect(x, rcHeader.bottom - 3 - nLength, x + h, rcHeader.bottom - 3);
                break;
            case 2:
                rcExpected = CRect(x, rcHeader.top + 3, x + h, rcHeader.top + 3 + nLength);
                break;
            case 1:
                rcExpected = CRect(rcHeader.right - 3 - nLength, x, rcHeader.right - 3, x + h);
                break;
            default:
                rcExpected = CRect(rcHeader.left + 3, x, rcHeader.left + 3 + nLength, x + h);
                break;
            }
            EXPECT_EQ(rcExpected, strip.GetItem(i)->GetRect()) << "position " << nPosition << " item " << i;
        }
        EXPECT_EQ(2 * h, strip.GetItemsLength());
    }
}

TEST(TabLayoutTest, MultiRowStacksRowsFromTheClientSideAndStretchesThemToTheRoom)
{
    struct MultiRowCase
    {
        int nPosition;
        BOOL bFixedOrder;
        // Row (from the client side) of items 0 to 7.
        int rows[8];
    };
    // Eight items of 60 in a room of 199: rows 0-1, 2-4 and 5-7; the selected item 6 brings its row inward
    // unless the order is fixed.
    const MultiRowCase cases[] = {
        {0, FALSE, {2, 2, 1, 1, 1, 0, 0, 0}}, {0, TRUE, {0, 0, 1, 1, 1, 2, 2, 2}}, {2, FALSE, {2, 2, 1, 1, 1, 0, 0, 0}},
        {1, FALSE, {2, 2, 1, 1, 1, 0, 0, 0}}, {3, TRUE, {0, 0, 1, 1, 1, 2, 2, 2}},
    };
    for (const MultiRowCase& c : cases)
    {
        COSMTabPaintManager pm;
        TestAppearanceSet* pSet = InstallTestAppearance(pm);
        pSet->m_nDefaultLength = 60;
        pm.m_bMultiRowFixedSelection = c.bFixedOrder;
        pm.SetPosition(c.nPosition);
        pm.SetLayout(COSMTabPaintManager::kLayoutMultiRow);
        const bool bHorizontal = c.nPosition == 0 || c.nPosition == 2;
        TestStrip strip(&pm, bHorizontal ? CRect(0, 0, 200, 150) : CRect(0, 0, 150, 200));
        strip.AddItems(8);
        strip.SetScrollOffset(-40);
        strip.SetCurSel(6);
        ASSERT_EQ(3u, strip.GetRows().size());
        const int h = pSet->GetRowHeight(&strip);
        const int g = pSet->GetRowGap();
        EXPECT_EQ(0, strip.GetScrollOffset());
        for (int nButton = 0; nButton < 3; nButton++)
            EXPECT_FALSE(strip.GetNavigateButtons()[nButton]->IsVisible());

        std::map<int, int> rowLength;
        for (int i = 0; i < 8; i++)
        {
            const CRect rc = strip.GetItem(i)->GetRect();
            const int r = c.rows[i];
            EXPECT_EQ(r, strip.GetItem(i)->GetRow()) << "position " << c.nPosition << " item " << i;
            int nExpectedStart = 0;
            if (c.nPosition == 0 || c.nPosition == 1)
                nExpectedStart = (h + g) * (2 - r);
            else
                nExpectedStart = 150 - (3 * h + 2 * g) + (h + g) * r;
            EXPECT_EQ(nExpectedStart, bHorizontal ? rc.top : rc.left) << "position " << c.nPosition << " item " << i;
            EXPECT_EQ(h, bHorizontal ? rc.Height() : rc.Width());
            rowLength[r] += bHorizontal ? rc.Width() : rc.Height();
        }
        for (const auto& row : rowLength)
            EXPECT_EQ(199, row.second) << "row " << row.first << " fills the room exactly";
        // The header holds all three rows.
        const CRect rcHeader = strip.GetHeaderRect();
        EXPECT_EQ(3 * h + 2 * g, bHorizontal ? rcHeader.Height() : rcHeader.Width());
    }
}

TEST(TabLayoutTest, StaticFrameAndControlMarginMoveTheItems)
{
    COSMTabPaintManager pm;
    InstallTestAppearance(pm);
    pm.m_bStaticFrame = TRUE;
    pm.m_rcControlMargin = CRect(5, 6, 7, 8);
    pm.SetPosition(2);
    TestStrip strip(&pm, CRect(0, 0, 200, 100));
    strip.AddItems(1);
    // Bottom strip: the frame's (2, 1, 2, 2) and the margin turn: the strip's side is the bottom.
    const CRect rcItem = strip.GetItem(0)->GetRect();
    EXPECT_EQ(2 + 5, rcItem.left);
    EXPECT_EQ(100 - 1 - 6, rcItem.bottom);
}

TEST(TabLayoutTest, TheClientRectangleFollowsTheFrameStyle)
{
    const struct
    {
        int nFrame;
        BOOL bStaticFrame;
        int nPosition;
        CRect (*expected)(int h);
    } cases[] = {
        {0, FALSE, 0, [](int h) { return CRect(2, h + 1, 198, 98); }},
        {1, FALSE, 0, [](int h) { return CRect(0, h + 1, 200, 100); }},
        {2, FALSE, 0, [](int h) { return CRect(0, h - 1, 200, 100); }},
        {1, FALSE, 2, [](int h) { return CRect(0, 0, 200, 100 - h - 1); }},
        {1, FALSE, 1, [](int h) { return CRect(h + 1, 0, 200, 100); }},
        {2, TRUE, 0, [](int h) { return CRect(2, h, 198, 98); }},
    };
    for (const auto& c : cases)
    {
        COSMTabPaintManager pm;
        TestAppearanceSet* pSet = InstallTestAppearance(pm);
        pm.m_nClientFrame = c.nFrame;
        pm.m_bStaticFrame = c.bStaticFrame;
        pm.SetPosition(c.nPosition);
        TestStrip strip(&pm, CRect(0, 0, 200, 100));
        strip.RequestLayout();
        EXPECT_EQ(c.bStaticFrame ? CRect(2, 1, 198, 98) : CRect(0, 0, 200, 100), strip.GetClientRect())
            << "without items only the static frame counts";
        strip.AddItems(1);
        const int h = pSet->GetRowHeight(&strip);
        EXPECT_EQ(c.expected(h), strip.GetClientRect()) << "frame " << c.nFrame << " position " << c.nPosition;
    }
}

TEST(TabLayoutTest, WithoutTabsNothingIsPlaced)
{
    COSMTabPaintManager pm;
    InstallTestAppearance(pm);
    pm.m_bShowTabs = FALSE;
    TestStrip strip(&pm, CRect(0, 0, 200, 100));
    strip.AddItems(2);
    EXPECT_TRUE(strip.GetHeaderRect().IsRectEmpty());
    EXPECT_TRUE(strip.GetItem(1)->GetRect().IsRectEmpty());
    EXPECT_EQ(CRect(2, 2, 198, 98), strip.GetClientRect()) << "the client takes the whole control, in its frame";
}

}  // namespace
