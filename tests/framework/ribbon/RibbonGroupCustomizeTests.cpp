// Customizing the groups: a control dropped on free space in a group of the selected tab, where the marker stands at
// the group's top left and the copy joins the group before its option button, and a drop on a group's control, which
// joins the group at that control's place.
#include "RibbonGroupTestSupport.h"

using namespace ribbon_test;

namespace {

class RibbonGroupCustomizeTest : public RibbonGroupTest
{
protected:
    void SetUp() override
    {
        RibbonGroupTest::SetUp();
        ribbon->SetCustomizable(TRUE);
        commandBars->SetCustomizeMode(TRUE);
        dragged = elsewhere->Add(1, 301);
        dragged->SetCaption("Help");
    }
    void TearDown() override
    {
        commandBars->SetCustomizeMode(FALSE);
        RibbonGroupTest::TearDown();
    }
    static std::vector<UINT> Ids(const COSMRibbonGroup* group)
    {
        std::vector<UINT> ids;
        for (int i = 0; i < group->GetCount(); ++i)
            ids.push_back(group->GetAt(i)->GetID());
        return ids;
    }

    RefPtr<COSMControls> elsewhere = AdoptRef(new COSMControls);
    COSMControl* dragged = nullptr;
};

TEST_F(RibbonGroupCustomizeTest, ADropOnFreeSpaceInAGroupShowsTheMarkerAndJoinsTheGroupBeforeItsOptionButton)
{
    COSMRibbonGroup* group = AddGroup("Clipboard", "M");
    group->SetShowOptionButton(TRUE);
    Relayout();
    COSMControl* only = group->GetAt(0);
    const CRect rect = group->GetRect();
    // Below the single control and above the caption strip: no control there.
    const CPoint free(only->GetRect().left + 5, only->GetRect().bottom + 10);
    ASSERT_TRUE(rect.PtInRect(free));
    ASSERT_FALSE(group->GetCaptionRect().PtInRect(free));

    CRect marker;
    int index = -1;
    BOOL after = TRUE;
    EXPECT_EQ(group->GetOptionButton()->GetIndex(), ribbon->FindDropIndex(dragged, free, &marker, &index, &after));
    EXPECT_EQ(CRect(rect.left + 2, rect.top + 2, rect.left + 8, rect.top + 22), marker);
    EXPECT_EQ(group->GetOptionButton()->GetIndex(), index);
    EXPECT_FALSE(after);

    int effect = 1;
    ribbon->OnCustomizeDrop(dragged, effect, free, free);
    ASSERT_EQ(2, group->GetCount());
    COSMControl* copy = group->GetAt(1);
    EXPECT_EQ(301u, copy->GetID());
    EXPECT_NE(dragged, copy);
    EXPECT_EQ(group, copy->GetRibbonGroup());
    EXPECT_EQ(ribbon, copy->GetParent());
    EXPECT_EQ(group->GetOptionButton()->GetIndex() - 1, copy->GetIndex());
    EXPECT_EQ(copy, commandBars->GetCustomizeSelection());
    EXPECT_TRUE(copy->IsVisible());

    // A ribbon that may not be customized, and a group of another tab, take no such drop.
    ribbon->SetCustomizable(FALSE);
    marker.SetRectEmpty();
    ribbon->FindDropIndex(dragged, free, &marker, &index, &after);
    EXPECT_NE(CRect(rect.left + 2, rect.top + 2, rect.left + 8, rect.top + 22), marker);
    ribbon->SetCustomizable(TRUE);
    ribbon->GetTab(1)->Select();
    Relayout();
    ribbon->FindDropIndex(dragged, free, &marker, &index, &after);
    EXPECT_NE(group->GetOptionButton()->GetIndex(), index);
}

TEST_F(RibbonGroupCustomizeTest, ADropOnAGroupsControlJoinsTheGroupAtThatPlaceAndTakesItsGroupMark)
{
    COSMRibbonGroup* group = AddGroup("Clipboard", "MBM");
    Relayout();
    const std::vector<UINT> before = Ids(group);
    COSMControl* marked = group->GetAt(1);
    ASSERT_TRUE(marked->GetBeginGroup());

    // On the left half of the marked control: the copy goes before it and takes its group mark.
    const CPoint point(marked->GetRect().left + 2, marked->GetRect().CenterPoint().y);
    int effect = 1;
    ribbon->OnCustomizeDrop(dragged, effect, point, point);
    ASSERT_EQ(4, group->GetCount());
    EXPECT_EQ((std::vector<UINT>{before[0], 301, before[1], before[2]}), Ids(group));
    EXPECT_TRUE(group->GetAt(1)->GetBeginGroup());
    EXPECT_FALSE(marked->GetBeginGroup());
    EXPECT_EQ(group, group->GetAt(1)->GetRibbonGroup());
    EXPECT_EQ(group->GetAt(0)->GetIndex() + 1, group->GetAt(1)->GetIndex());
}

}  // namespace
