// The ribbon's groups on a real ribbon: the layout pass (columns, captions, centring), reduction and extension with
// the width, placement and scrolling, and the group as a model (its controls, buttons, copies and saving).
#include "RibbonGroupTestSupport.h"

#include "PropExchangeTestSupport.h"

#include "framework/commandbars/ControlAction.h"
#include "framework/commandbars/ControlActions.h"
#include "framework/controls/ControlGallery.h"
#include "framework/controls/ControlGalleryItems.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_SERIAL(CTestGroupControl, COSMControlButton, VERSIONABLE_SCHEMA | 0x23)

using namespace ribbon_test;
using namespace prop_exchange_test;

namespace {

using RibbonGroupLayoutTest = RibbonGroupTest;
using RibbonGroupModelTest = RibbonGroupTest;

}  // namespace

// ---- The layout pass ----

TEST_F(RibbonGroupLayoutTest, ThePassPlacesColumnsUnderTheGroupsTopWithRowBands)
{
    COSMRibbonGroup* group = AddGroup("", "LMM");
    Layout(1000);
    const int band = GroupsHeight() - 7 - CaptionHeight();
    EXPECT_EQ(CRect(0, 0, 108 + 5, GroupsHeight() - 7), group->GetRect());
    EXPECT_EQ((std::vector<int>{4, 3, 3}), Styles(group));
    // Each record moves by the offset 2 and the top 2.
    EXPECT_EQ(CRect(4, 2, 48, 68), group->GetAt(0)->GetRect());
    EXPECT_EQ(CRect(48, 2, 108, 24), group->GetAt(1)->GetRect());
    EXPECT_EQ(CRect(48, 24, 108, 46), group->GetAt(2)->GetRect());
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(CRect(0, 0, 108, band), group->GetAt(i)->GetRowRect()) << i;
        EXPECT_EQ(i == 0, group->GetAt(i)->GetWrap() != FALSE) << i;
    }
    // The option button stays off without ShowOptionButton; the popup button shows only for a reduced group.
    EXPECT_TRUE(group->GetOptionButton()->GetHideFlags() & COSMRibbonGroup::kHideOption);
    EXPECT_TRUE(group->GetPopupButton()->GetHideFlags() & COSMRibbonGroup::kHideReduced);
}

TEST_F(RibbonGroupLayoutTest, ACaptionWiderThanTheControlsKeepsItsWidthAndCentresThemWhenAsked)
{
    COSMRibbonGroup* group = AddGroup("A caption much wider than one control", "M");
    CClientDC dc(ribbon);
    const int captionWidth = group->GetMinimumWidth(&dc);
    ASSERT_GT(captionWidth, 64);
    for (const BOOL centering : {FALSE, TRUE})
    {
        SCOPED_TRACE(centering);
        group->SetControlsCentering(centering);
        Layout(1000);
        EXPECT_EQ(captionWidth, Width(group));
        // Centred: across by half the spare width, and down the room of 66 with gaps of 22 above and below.
        const CRect rect = group->GetAt(0)->GetRect();
        EXPECT_EQ(centering ? (captionWidth - 64) / 2 + 2 + 2 : 4, rect.left);
        EXPECT_EQ(centering ? 2 + 22 : 2, rect.top);
    }
}

TEST_F(RibbonGroupLayoutTest, ACentredColumnOfThreeStandsWithEqualGapsInAGroupNinetyHigh)
{
    ribbon->SetFixedGroupClientHeight(90);
    COSMRibbonGroup* group = AddGroup("", "MMM");
    group->SetControlsCentering(TRUE);
    Layout(1000);
    EXPECT_EQ(2 + 6, group->GetAt(0)->GetRect().top);
    EXPECT_EQ(2 + 22 + 12, group->GetAt(1)->GetRect().top);
    EXPECT_EQ(2 + 44 + 18, group->GetAt(2)->GetRect().top);
}

TEST_F(RibbonGroupLayoutTest, GroupedControlsFormRowsSpreadDownTheGroup)
{
    // Two blocks of two medium controls: the wrap flag starts the second row, and a group that would fit one row
    // takes two rows of half its width; either way two rows of 22 spread in 67 (8 above, 7 between, the rest below).
    for (const char* kinds : {"MMWM", "MMBM"})
    {
        SCOPED_TRACE(kinds);
        tab->GetGroups()->RemoveAll();
        COSMRibbonGroup* group = AddGroup("", kinds);
        group->SetControlsGrouping(TRUE);
        Layout(1000);
        EXPECT_EQ((std::vector<int>{0, 0, 0, 0}), Styles(group)) << "grouped controls keep their own style";
        EXPECT_EQ(2 * 60 + 4, Width(group));
        EXPECT_EQ(CRect(4, 2 + 8, 64, 2 + 8 + 22), group->GetAt(0)->GetRect());
        EXPECT_EQ(CRect(64, 2 + 8, 124, 2 + 8 + 22), group->GetAt(1)->GetRect());
        EXPECT_EQ(CRect(4, 2 + 22 + 15, 64, 2 + 22 + 15 + 22), group->GetAt(2)->GetRect());
        EXPECT_TRUE(group->GetAt(2)->GetWrap());
        EXPECT_FALSE(group->GetAt(3)->GetWrap());
    }
}

// ---- Reduction ----

TEST_F(RibbonGroupLayoutTest, EachReductionLevelTakesItsOwnStep)
{
    struct Case
    {
        const char* name;
        const char* kinds;
        int buttonHeight;
        int limit;
        int level;
        BOOL reduces;
        std::vector<int> styles;
    };
    // Styles after the step: 4 large, 3 medium, 2 icon only; a gallery-like control (G) shows as a button at 4.
    const std::vector<Case> cases = {
        {"level 0: the last three large into one medium column", "LLLL", 22, 4, 0, TRUE, {4, 3, 3, 3}},
        {"level 0 needs large controls only", "MLML", 22, 4, 0, FALSE, {3, 4, 3, 4}},
        {"level 0 starts no run at the first two records", "LLM", 33, 4, 0, FALSE, {4, 4, 3}},
        {"level 0 with two rows from the third record", "MLL", 33, 4, 0, TRUE, {3, 3, 3}},
        {"level 0 not below the limit", "LLLL", 22, 0, 0, FALSE, {4, 4, 4, 4}},
        {"level 1 takes mixed styles", "MLML", 22, 4, 1, TRUE, {3, 3, 3, 3}},
        {"level 1 needs a large control in the run", "MMMM", 22, 4, 1, FALSE, {3, 3, 3, 3}},
        {"level 2 turns a medium column icon only", "MMMMMM", 22, 4, 2, TRUE, {3, 3, 3, 2, 2, 2}},
        {"level 2 needs more controls than rows", "MMM", 22, 4, 2, FALSE, {3, 3, 3}},
        {"level 2 shows a gallery as a button", "MG", 22, 4, 2, TRUE, {3, 4}},
        {"level 3 collapses the group", "MM", 22, 4, 3, TRUE, {3, 3}},
        {"level 3 needs two controls", "M", 22, 4, 3, FALSE, {3}},
        {"level 3 not below the limit", "MM", 22, 3, 3, FALSE, {3, 3}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        tab->GetGroups()->RemoveAll();
        ribbon->SetButtonSize(CSize(22, c.buttonHeight));
        COSMRibbonGroup* group = AddGroup("", c.kinds);
        group->SetReduceLimit(c.limit);
        CClientDC dc(ribbon);
        group->OnBeforeCalcSize(&dc);
        const int before = group->CalcSize(&dc);
        EXPECT_EQ(c.reduces, group->ReduceSize(c.level, 100));
        EXPECT_EQ(c.styles, Styles(group));
        const int after = group->CalcSize(&dc);
        EXPECT_EQ(c.level == 3 && c.reduces, group->IsReduced() != FALSE);
        // A real gallery shown as a button is narrower; the test control only changes its style.
        if (c.reduces && std::string(c.kinds).find('G') == std::string::npos)
            EXPECT_LT(after, before);
        else if (!c.reduces)
        {
            EXPECT_EQ(before, after);
        }
        group->OnAfterCalcSize();
    }
}

TEST_F(RibbonGroupLayoutTest, ACaptionWiderThanItsControlsGivesWayOnlyAtLevelTwoAndForControlsOfSeventeen)
{
    COSMRibbonGroup* group = AddGroup("A caption much wider than one control", "MM");
    COSMRibbonGroup* narrow = AddGroup("A caption much wider than one control", "M");
    static_cast<CTestGroupControl*>(narrow->GetAt(0))->m_fixedSize = CSize(12, 22);
    CClientDC dc(ribbon);
    const int captionWidth = group->GetMinimumWidth(&dc);
    for (COSMRibbonGroup* g : {group, narrow})
    {
        g->OnBeforeCalcSize(&dc);
        g->CalcSize(&dc);
    }
    for (const int level : {0, 1, 3})
        EXPECT_FALSE(group->ReduceSize(level, 10)) << level;
    EXPECT_TRUE(group->ReduceSize(2, 10));
    EXPECT_EQ(captionWidth - 10, group->CalcSize(&dc));
    EXPECT_TRUE(group->ReduceSize(2, 10000));
    EXPECT_EQ(64, group->CalcSize(&dc)) << "not below the controls";
    // Controls 16 pixels wide (12 and the two margins) never shrink the caption.
    EXPECT_FALSE(narrow->ReduceSize(2, 10));
    EXPECT_EQ(captionWidth, narrow->CalcSize(&dc));
    for (COSMRibbonGroup* g : {group, narrow})
        g->OnAfterCalcSize();
    EXPECT_FALSE(group->ReduceSize(0, 10)) << "no layout info outside a pass";
}

TEST_F(RibbonGroupLayoutTest, NarrowingReducesTheRightmostGroupFirstOneStepAtATimeAndNoGroupEverWidens)
{
    std::vector<COSMRibbonGroup*> groups;
    for (int i = 0; i < 3; ++i)
        groups.push_back(AddGroup("", "LLLL"));
    Layout(2000);
    std::vector<int> previous;
    for (COSMRibbonGroup* group : groups)
        previous.push_back(Width(group));
    EXPECT_EQ((std::vector<int>{180, 180, 180}), previous);
    bool firstChangeSeen = false;
    for (int width = 2000; width >= 40; width -= 3)
    {
        SCOPED_TRACE(width);
        Layout(width);
        std::vector<int> widths;
        for (COSMRibbonGroup* group : groups)
            widths.push_back(Width(group));
        for (size_t i = 0; i < groups.size(); ++i)
            EXPECT_LE(widths[i], previous[i]) << i;
        if (!firstChangeSeen && widths != previous)
        {
            firstChangeSeen = true;
            EXPECT_EQ(previous[0], widths[0]);
            EXPECT_EQ(previous[1], widths[1]);
            EXPECT_EQ(108, widths[2]) << "one level-0 step of the last group";
        }
        // Reduced only as farthest as needed: a fitting width leaves the groups as they are.
        const int total = widths[0] + widths[1] + widths[2] + 14;
        if (width >= 554)
        {
            EXPECT_EQ(554, total);
        }
        previous = widths;
    }
    // At the end every group is its popup button, its controls hidden by hide flag 2.
    for (COSMRibbonGroup* group : groups)
    {
        EXPECT_TRUE(group->IsReduced());
        EXPECT_EQ(group->GetPopupButton()->GetRect(), group->GetRect());
        EXPECT_EQ(group->GetPopupButton()->GetSize(nullptr).cx, group->GetRect().Width());
        EXPECT_FALSE(group->GetPopupButton()->GetHideFlags() & COSMRibbonGroup::kHideReduced);
        for (int i = 0; i < group->GetCount(); ++i)
            EXPECT_TRUE(group->GetAt(i)->GetHideFlags() & COSMRibbonGroup::kHideReduced);
    }
    // Widening brings them back.
    Layout(2000);
    for (COSMRibbonGroup* group : groups)
    {
        EXPECT_FALSE(group->IsReduced());
        EXPECT_EQ(180, Width(group));
        EXPECT_EQ(0u, group->GetAt(0)->GetHideFlags() & COSMRibbonGroup::kHideReduced);
    }
}

TEST_F(RibbonGroupLayoutTest, AGroupThatGrowsBackMakesTheRibbonUpdateItsCommandsOnce)
{
    std::vector<COSMRibbonGroup*> groups;
    const int count = ribbon->GetGroupsRect().Width() / 71 + 2;
    for (int i = 0; i < count; ++i)
        groups.push_back(AddGroup("", "MMM"));
    Relayout();
    COSMRibbonGroup* last = groups.back();
    ASSERT_TRUE(last->IsReduced());
    ASSERT_FALSE(groups.front()->IsReduced());
    auto* control = static_cast<CTestGroupControl*>(last->GetAt(0));
    EXPECT_EQ(COSMRibbonGroup::kHideReduced, control->GetHideFlags());
    EXPECT_FALSE(ribbon->IsUpdateCmdUIPending());

    // Wider, the group grows back during the committed layout, which then runs the command update.
    control->m_updates = 0;
    frame.SetWindowPos(nullptr, 0, 0, 100 * count + 200, 350, SWP_NOMOVE | SWP_NOZORDER);
    frame.RecalcLayout();
    EXPECT_FALSE(last->IsReduced());
    EXPECT_EQ(0u, control->GetHideFlags());
    EXPECT_EQ(1, control->m_updates);
    EXPECT_FALSE(ribbon->IsUpdateCmdUIPending());
    frame.RecalcLayout();
    EXPECT_EQ(1, control->m_updates) << "only the layout after growing back";
}

TEST_F(RibbonGroupLayoutTest, ASafeRowCountWhenTheButtonSizeSetsOnlyAWidth)
{
    // A button size without a height: the rows take the ribbon's control height instead of a height of 0. The
    // groups are the fixture's client height (66) and 10 higher than their caption, less 2 for the rows: 74 pixels.
    ribbon->SetButtonSize(CSize(32, 0));
    COSMPaintManager* paintManager = ribbon->GetPaintManager();
    const int heightBefore = paintManager->GetRawControlHeight();
    const struct
    {
        int controlHeight;
        int rows;
    } cases[] = {{22, 3}, {30, 2}, {37, 2}};
    COSMRibbonGroup* group = nullptr;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.controlHeight);
        paintManager->SetControlHeight(c.controlHeight);
        group = AddGroup("", "LLLL");
        CClientDC dc(ribbon);
        group->OnBeforeCalcSize(&dc);
        group->CalcSize(&dc);
        EXPECT_TRUE(group->ReduceSize(0, 100));
        const std::vector<int> styles = Styles(group);
        EXPECT_EQ(c.rows, std::count(styles.begin(), styles.end(), 3));
        group->OnAfterCalcSize();
    }
    paintManager->SetControlHeight(heightBefore);
    Layout(40);
    EXPECT_TRUE(group->IsReduced());
}

// ---- Extension ----

namespace {

class RibbonGroupGalleryTest : public RibbonGroupTest
{
protected:
    void SetUp() override
    {
        RibbonGroupTest::SetUp();
        commandBars->EnableActions(TRUE);
    }
    COSMControlGallery* AddGallery(COSMRibbonGroup* group, int items, int resizable)
    {
        auto* gallery = static_cast<COSMControlGallery*>(group->Add(10, 7000 + group->GetID()));
        RefPtr<COSMControlGalleryItems> list = AdoptRef(new COSMControlGalleryItems);
        list->SetItemSize(CSize(20, 20));
        for (int i = 0; i < items; ++i)
            list->AddItem(i + 1, "item");
        gallery->GetAction()->SetReferencedObject(list.Get());
        gallery->SetWidth(100);
        gallery->SetResizable(resizable);
        return gallery;
    }
};

}  // namespace

TEST_F(RibbonGroupGalleryTest, TheLastResizableGalleryGrowsByWholeItemsUpToItsMaximumInOneGroupOnly)
{
    COSMRibbonGroup* first = AddGroup("", "");
    COSMControlGallery* firstGallery = AddGallery(first, 10, 1);
    COSMRibbonGroup* second = AddGroup("", "");
    COSMControlGallery* gallery = AddGallery(second, 10, 1);
    Layout(2000);
    const CRect borders = gallery->GetBorders();
    const int maximum = 10 * 20 + borders.left + borders.right;
    CClientDC dc(ribbon);
    const int base = gallery->GetSize(&dc).cx;
    ASSERT_LT(base + 20, maximum);
    const int sum = 2 * (base + 4) + 7;
    struct Case
    {
        int extra;
        int width;
    };
    const std::vector<Case> cases = {
        {5, base},        // less than an item
        {45, base + 40},  // two whole items
        {59, base + 40},  // still two
        {2000, maximum},  // up to the maximum
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.extra);
        Layout(sum + c.extra);
        EXPECT_EQ(c.width, gallery->GetRect().Width());
        EXPECT_EQ(base, firstGallery->GetRect().Width()) << "only the last group that can extend";
        EXPECT_EQ(c.width + 4, Width(second));
    }
    // A gallery that may not resize stays; the one before it in the walk grows instead.
    gallery->SetResizable(0);
    Layout(sum + 45);
    EXPECT_EQ(base, gallery->GetRect().Width());
    EXPECT_EQ(base + 40, firstGallery->GetRect().Width());
}

// ---- Placement and scrolling ----

TEST_F(RibbonGroupLayoutTest, InvisibleGroupsTakeNeitherWidthNorAGap)
{
    COSMRibbonGroup* a = AddGroup("", "L");
    COSMRibbonGroup* b = AddGroup("", "LL");
    COSMRibbonGroup* c = AddGroup("", "L");
    Layout(1000);
    EXPECT_EQ(48 + 7 + 92 + 7, c->GetRect().left);
    b->SetVisible(FALSE);
    Layout(1000);
    EXPECT_EQ(0, a->GetRect().left);
    EXPECT_EQ(48 + 7, c->GetRect().left);
}

TEST_F(RibbonGroupLayoutTest, TheScrollPositionStaysWithinTheOverflowAndTheButtonsShowWithIt)
{
    std::vector<COSMRibbonGroup*> groups;
    for (int i = 0; i < 3; ++i)
    {
        groups.push_back(AddGroup("", "LLLL"));
        groups.back()->SetReduceLimit(0);
    }
    const int total = 3 * 180 + 14;
    COSMControl* left = Scroller()->GetLeftButton();
    COSMControl* right = Scroller()->GetRightButton();
    const CRect area = ribbon->GetGroupsRect();
    struct Case
    {
        int width;
        int offset;
        int position;
    };
    const std::vector<Case> cases = {
        {300, 0, 0}, {300, 100, 100}, {300, 10000, total - 300}, {300, -50, 0}, {600, 100, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << c.width << " " << c.offset);
        Scroller()->SetScrollOffset(c.offset);
        Layout(c.width);
        EXPECT_EQ(c.position, tab->GetGroups()->GetScrollPos());
        EXPECT_EQ(c.position, Scroller()->GetScrollOffset());
        EXPECT_EQ(-c.position, groups[0]->GetRect().left);
        EXPECT_EQ(c.position >= 1, left->IsVisible());
        EXPECT_EQ(total - c.width - c.position > 0, right->IsVisible());
    }
    Scroller()->SetScrollOffset(100);
    Layout(300);
    EXPECT_EQ(CRect(area.left - 1, area.top, area.left + 12, area.bottom), left->GetRect());
    EXPECT_EQ(CRect(area.right - 12, area.top, area.right + 1, area.bottom), right->GetRect());
    EXPECT_EQ(0u, left->GetHideFlags());
    // A tab without groups only hides both buttons.
    tab->GetGroups()->RemoveAll();
    Layout(300);
    EXPECT_EQ(COSMControl::kHideScroll, left->GetHideFlags() & COSMControl::kHideScroll);
    EXPECT_EQ(COSMControl::kHideScroll, right->GetHideFlags() & COSMControl::kHideScroll);
}

TEST_F(RibbonGroupLayoutTest, EnsureVisibleBringsAControlTwelvePixelsClearOfTheButtons)
{
    const int count = ribbon->GetGroupsRect().Width() / 187 + 3;
    for (int i = 0; i < count; ++i)
        AddGroup("", "LLLL")->SetReduceLimit(0);
    Scroller()->SetScrollOffset(100);
    Relayout();
    ASSERT_TRUE(Scroller()->GetLeftButton()->IsVisible());
    ASSERT_TRUE(Scroller()->GetRightButton()->IsVisible());
    const CRect area = ribbon->GetGroupsRect();

    // Left of 12: the offset moves by the difference; past the right edge: the right edge comes 12 inside.
    Scroller()->EnsureVisible(tab->GetGroups(), CRect(5, 0, 40, 20));
    EXPECT_EQ(93, Scroller()->GetScrollOffset());
    Scroller()->EnsureVisible(tab->GetGroups(), CRect(area.right - 20, 0, area.right + 30, 20));
    EXPECT_EQ(93 + area.right + 30 - area.Width() + 12, Scroller()->GetScrollOffset());
    // Inside: nothing moves; never below 0.
    const int offset = Scroller()->GetScrollOffset();
    Scroller()->EnsureVisible(tab->GetGroups(), CRect(100, 0, 140, 20));
    EXPECT_EQ(offset, Scroller()->GetScrollOffset());
    Scroller()->EnsureVisible(tab->GetGroups(), CRect(-5000, 0, -4900, 20));
    EXPECT_EQ(0, Scroller()->GetScrollOffset());

    // The ribbon's own EnsureVisible scrolls a control of a group into view: the first one past the right edge
    // comes to 12 pixels inside it.
    Scroller()->SetScrollOffset(0);
    Relayout();
    COSMControl* hidden = nullptr;
    for (int i = 0; i < count && !hidden; ++i)
        for (int j = 0; j < 4 && !hidden; ++j)
            if (tab->GetGroups()->GetAt(i)->GetAt(j)->GetRect().right > area.right)
                hidden = tab->GetGroups()->GetAt(i)->GetAt(j);
    ASSERT_NE(nullptr, hidden);
    ribbon->EnsureVisible(hidden);
    Relayout();
    EXPECT_EQ(area.right - 12, hidden->GetRect().right);
}

// ---- The model ----

TEST_F(RibbonGroupModelTest, ClonesLandBeforeTheOptionButtonAtTheirIndex)
{
    COSMRibbonGroup* group = AddGroup("", "MM");
    COSMControl* first = group->GetAt(0);
    COSMControl* clone = AddControl(group, 'M', 1);
    ASSERT_NE(nullptr, clone);
    EXPECT_TRUE(clone->IsKindOf(RUNTIME_CLASS(CTestGroupControl)));
    EXPECT_EQ(clone, group->GetAt(1));
    EXPECT_EQ(group, clone->GetRibbonGroup());
    const int option = group->GetOptionButton()->GetIndex();
    EXPECT_EQ(option - 3, first->GetIndex());
    EXPECT_EQ(option - 2, clone->GetIndex());
    EXPECT_EQ(option + 1, group->GetPopupButton()->GetIndex());
    EXPECT_EQ(0, group->IndexOf(first));
    EXPECT_EQ(1, group->IndexOf(clone));
    EXPECT_EQ(2, group->IndexOf(group->GetAt(2)));
    EXPECT_EQ(-1, group->IndexOf(ribbon->GetControlTab()));
    EXPECT_EQ(2, RefCount(clone)) << "the bar and the group";
    // Past the end appends; a group of a tab that is not shown hides its new controls (hide flag 128).
    EXPECT_EQ(group->GetAt(3), AddControl(group, 'M', 99));
    COSMRibbonGroup* other = AddGroup("", "M", ribbon->GetTab(1));
    EXPECT_EQ(COSMRibbonBar::kHideGroup, other->GetAt(0)->GetHideFlags());
    EXPECT_EQ(0u, group->GetAt(3)->GetHideFlags());

    // Out of range does nothing; a removal leaves the bar and the group.
    const int controls = ribbon->GetControlCount();
    group->RemoveAt(-1);
    group->RemoveAt(group->GetCount());
    EXPECT_EQ(4, group->GetCount());
    EXPECT_EQ(controls, ribbon->GetControlCount());
    clone->InternalAddRef();
    group->Remove(clone);
    EXPECT_EQ(3, group->GetCount());
    EXPECT_EQ(controls - 1, ribbon->GetControlCount());
    EXPECT_EQ(nullptr, clone->GetRibbonGroup());
    EXPECT_EQ(1, RefCount(clone));
    clone->InternalRelease();
}

TEST_F(RibbonGroupModelTest, ANewGroupPutsItsButtonsIntoTheBarBoundToTheGroupsAction)
{
    commandBars->EnableActions(TRUE);
    COSMRibbonGroup* group = tab->GetGroups()->Add("Font", 77);
    COSMControlAction* action = commandBars->GetActions()->FindAction(77);
    ASSERT_NE(nullptr, action);
    EXPECT_EQ(action, group->GetOptionButton()->GetAction());
    EXPECT_EQ(action, group->GetPopupButton()->GetAction());
    EXPECT_EQ(CString("Font"), action->GetCaptionText());
    EXPECT_EQ(77u, group->GetOptionButton()->GetID());
    EXPECT_EQ(CString("Font"), group->GetPopupButton()->GetCaption());
    EXPECT_EQ(ribbon, group->GetOptionButton()->GetParent());
    EXPECT_EQ(ribbon, group->GetPopupButton()->GetParent());
    EXPECT_EQ(0, group->GetIndex());
    EXPECT_EQ(ribbon, group->GetParentBar());
    EXPECT_EQ(tab, group->GetRibbonTab());
    // A group on a tab that is not shown hides both buttons; removing the groups takes them out.
    COSMRibbonGroup* other = ribbon->GetTab(1)->GetGroups()->Add("Tables", 78);
    EXPECT_TRUE(other->GetOptionButton()->GetHideFlags() & COSMRibbonBar::kHideGroup);
    const int controls = ribbon->GetControlCount();
    ribbon->GetTab(1)->GetGroups()->RemoveAll();
    EXPECT_EQ(controls - 2, ribbon->GetControlCount());
}

TEST_F(RibbonGroupModelTest, SetRectPlacesTheOptionAndPopupButtonsByTheirHideFlags)
{
    COSMRibbonGroup* group = AddGroup("", "MM");
    const int h = CaptionHeight();
    const CRect rect(10, 0, 110, 90);
    struct Case
    {
        BOOL reduced;
        BOOL showOption;
        DWORD optionFlags;
        DWORD popupFlags;
    };
    const std::vector<Case> cases = {
        {FALSE, FALSE, 1, 2},
        {FALSE, TRUE, 0, 2},
        {TRUE, FALSE, 1, 0},
        {TRUE, TRUE, 2, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << c.reduced << c.showOption);
        group->GetOptionButton()->SetHideFlags(0);
        group->SetShowOptionButton(c.showOption);
        CClientDC dc(ribbon);
        group->OnBeforeCalcSize(&dc);
        group->CalcSize(&dc);
        if (c.reduced)
        {
            ASSERT_TRUE(group->ReduceSize(3, 0));
        }
        group->SetRect(rect);
        EXPECT_EQ(c.optionFlags, group->GetOptionButton()->GetHideFlags());
        EXPECT_EQ(c.popupFlags, group->GetPopupButton()->GetHideFlags());
        EXPECT_EQ(c.showOption && !c.reduced, group->IsOptionButtonVisible());
        if (c.reduced)
        {
            EXPECT_EQ(rect, group->GetPopupButton()->GetRect());
        }
        if (c.showOption && !c.reduced)
        {
            EXPECT_EQ(CRect(110 - h - 1, 90 - h, 107, 87), group->GetOptionButton()->GetRect());
        }
        group->OnAfterCalcSize();
    }
    EXPECT_EQ(CRect(10, 90 - h, 110, 90), group->GetCaptionRect());
}

TEST_F(RibbonGroupModelTest, AGroupIsVisibleOnTheSelectedTabAndItsCopyByItsOwnFlag)
{
    COSMRibbonGroup* group = AddGroup("", "MM");
    COSMRibbonGroup* other = AddGroup("", "M", ribbon->GetTab(1));
    EXPECT_TRUE(group->IsGroupVisible());
    EXPECT_FALSE(other->IsGroupVisible());
    RefPtr<COSMRibbonGroupPopupToolBar> popup = AdoptRef(new COSMRibbonGroupPopupToolBar(other));
    COSMRibbonGroup* copy = popup->GetGroupCopy();
    ASSERT_NE(nullptr, copy);
    EXPECT_TRUE(copy->IsGroupVisible()) << "a copy in a popup shows whatever tab is selected";
    EXPECT_EQ(1, copy->GetCount());
    EXPECT_EQ(popup.Get(), copy->GetAt(0)->GetParent());
    EXPECT_EQ(0u, copy->GetAt(0)->GetHideFlags());
    copy->SetVisible(FALSE);
    EXPECT_FALSE(copy->IsGroupVisible());
    group->SetVisible(FALSE);
    EXPECT_FALSE(group->IsGroupVisible());
}

TEST_F(RibbonGroupModelTest, ACopiedRibbonGetsTheGroupsWithClonesAndThePopupButtonFindsItsGroupById)
{
    COSMRibbonGroup* group = AddGroup("Clipboard", "LMM");
    group->SetShowOptionButton(TRUE);
    group->SetControlsCentering(TRUE);
    group->SetIconId(42);
    AddGroup("Font", "M");
    RefPtr<COSMRibbonBar> copy = AdoptRef(new COSMRibbonBar);
    copy->Copy(ribbon, TRUE);
    COSMRibbonTab* copiedTab = copy->GetTab(0);
    ASSERT_EQ(2, copiedTab->GetGroups()->GetCount());
    COSMRibbonGroup* copied = copiedTab->GetGroups()->GetAt(0);
    EXPECT_EQ(copy.Get(), copied->GetRibbonBar());
    EXPECT_EQ(CString("Clipboard"), copied->GetCaption());
    EXPECT_EQ(group->GetID(), copied->GetID());
    EXPECT_EQ(42, copied->GetIconId());
    EXPECT_TRUE(copied->IsShowOptionButton());
    EXPECT_TRUE(copied->IsControlsCentering());
    ASSERT_EQ(3, copied->GetCount());
    for (int i = 0; i < 3; ++i)
    {
        COSMControl* control = copied->GetAt(i);
        EXPECT_EQ(copy.Get(), control->GetParent()) << i;
        EXPECT_EQ(copied, control->GetRibbonGroup()) << i;
        EXPECT_EQ(group->GetAt(i)->GetID(), control->GetID()) << i;
        EXPECT_EQ(i, copied->IndexOf(control));
    }
    EXPECT_EQ(copied, copied->GetPopupButton()->GetGroup());

    // A popup button cloned into another ribbon stands for that ribbon's group of the same id; within its own
    // ribbon it keeps its group.
    auto* there =
        static_cast<COSMRibbonGroupControlPopup*>(copy->GetControls()->AddClone(group->GetPopupButton(), -1, FALSE));
    EXPECT_EQ(copied, there->GetGroup());
    auto* here =
        static_cast<COSMRibbonGroupControlPopup*>(ribbon->GetControls()->AddClone(group->GetPopupButton(), -1, FALSE));
    EXPECT_EQ(group, here->GetGroup());
    copy->GetControls()->Remove(there);
    ribbon->GetControls()->Remove(here);
}

TEST_F(RibbonGroupModelTest, SavedGroupsComeBackWithTheirControlsAndAnUnknownControlClassStopsTheLoad)
{
    COSMRibbonGroup* group = AddGroup("Clipboard", "LMM");
    group->SetControlsGrouping(TRUE);
    group->SetShowOptionButton(TRUE);
    group->SetIconId(9);
    group->GetAt(1)->SetTemporary(TRUE);
    COSMRibbonGroup* hidden = AddGroup("Font", "M");
    hidden->SetVisible(FALSE);

    StoreToMemory store;
    ASSERT_EQ(-1, ArchiveFailure([&] { tab->GetGroups()->DoPropExchange(&store.px); }));
    const Bytes bytes = store.Take();

    RefPtr<COSMRibbonBar> fresh = AdoptRef(new COSMRibbonBar);
    COSMRibbonTab* freshTab = fresh->AddTab("&Home");
    freshTab->GetGroups()->Add("left over", 1);
    {
        LoadFromMemory load(bytes);
        ASSERT_EQ(-1, ArchiveFailure([&] { freshTab->GetGroups()->DoPropExchange(&load.px); }));
    }
    ASSERT_EQ(2, freshTab->GetGroups()->GetCount());
    COSMRibbonGroup* loaded = freshTab->GetGroups()->GetAt(0);
    EXPECT_EQ(CString("Clipboard"), loaded->GetCaption());
    EXPECT_EQ(group->GetID(), loaded->GetID());
    EXPECT_EQ(9, loaded->GetIconId());
    EXPECT_TRUE(loaded->IsControlsGrouping());
    EXPECT_TRUE(loaded->IsShowOptionButton());
    EXPECT_EQ(0, loaded->GetIndex());
    EXPECT_EQ(1, freshTab->GetGroups()->GetAt(1)->GetIndex());
    EXPECT_FALSE(freshTab->GetGroups()->GetAt(1)->IsVisible());
    ASSERT_EQ(2, loaded->GetCount()) << "the temporary control is left out";
    EXPECT_EQ(group->GetAt(0)->GetID(), loaded->GetAt(0)->GetID());
    EXPECT_EQ(group->GetAt(2)->GetID(), loaded->GetAt(1)->GetID());
    for (int i = 0; i < 2; ++i)
    {
        EXPECT_TRUE(loaded->GetAt(i)->IsKindOf(RUNTIME_CLASS(CTestGroupControl))) << i;
        EXPECT_EQ(fresh.Get(), loaded->GetAt(i)->GetParent()) << i;
        EXPECT_EQ(loaded, loaded->GetAt(i)->GetRibbonGroup()) << i;
        EXPECT_EQ(i, loaded->IndexOf(loaded->GetAt(i)));
    }
    EXPECT_EQ(fresh.Get(), loaded->GetOptionButton()->GetParent());

    Bytes unknown = bytes;
    const char* name = "CTestGroupControl";
    auto at = std::search(unknown.begin(), unknown.end(), name, name + std::strlen(name));
    ASSERT_NE(unknown.end(), at);
    at[std::strlen(name) - 1] = 'X';
    LoadFromMemory load(unknown);
    EXPECT_EQ(CArchiveException::badClass, ArchiveFailure([&] { freshTab->GetGroups()->DoPropExchange(&load.px); }));
}

TEST_F(RibbonGroupModelTest, TheLooksLearnWhetherAGroupJoinsItsControlsAndWhatTheQuickAccessRowHolds)
{
    COSMRibbonGroup* group = AddGroup("Clipboard", "LM");
    COSMControl* control = group->GetAt(0);
    ASSERT_NE(nullptr, control);
    EXPECT_FALSE(COSMPaintManager::IsControlGrouped(control));
    group->SetControlsGrouping(TRUE);
    EXPECT_TRUE(COSMPaintManager::IsControlGrouped(control));
    group->SetControlsGrouping(FALSE);
    EXPECT_FALSE(COSMPaintManager::IsControlGrouped(control));

    // The looks ask any bar; the ribbon bar answers for its quick-access row.
    COSMControl* quick = ribbon->GetQuickAccessControls()->Add(1, 4242);
    ASSERT_NE(nullptr, quick);
    const COSMCommandBar* bar = ribbon;
    EXPECT_TRUE(bar->IsQuickAccessControl(quick));
    EXPECT_FALSE(bar->IsQuickAccessControl(control));
}
