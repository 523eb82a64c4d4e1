// The row layout of toolbars: wrapping rows and whole groups, hiding what does not fit, columns, the square popup
// toolbar, fitting to a length, right alignment, stretching, the stacked large-button layout and what a commit
// writes into the controls. A bar without a window and a memory DC.
#include "LayoutTestSupport.h"

#include "framework/foundation/ImageManager.h"
#include "platform/classlib/RefPtr.h"

using namespace commandbars_test;

namespace {

const CSize kButton(20, 22);
const DWORD kDock = COSMControls::kLayoutHorizontalDock;
const DWORD kCommit = COSMControls::kLayoutCommit;
const DWORD kHide = COSMControls::kLayoutHideWrap;
const DWORD kWrapped = COSMControls::kLayoutWrapped;

using RowLayoutTest = LayoutTest;

TEST_F(RowLayoutTest, WithoutABarNothingIsLaidOut)
{
    RefPtr<COSMControls> controls = AdoptRef(new COSMControls);
    auto* control = new SizedControl(kButton);
    controls->AddControl(control, 1);
    control->SetRect(CRect(1, 2, 3, 4));
    EXPECT_EQ(CSize(0, 0), controls->CalcDynamicSize(&dc, 100, kCommit, kBorders, 0));
    EXPECT_EQ(CSize(0, 0), controls->CalcPopupSize(&dc, 100, 0, kBorders));
    EXPECT_EQ(CRect(1, 2, 3, 4), control->GetRect());
    EXPECT_TRUE(BuiltControls().empty());
    controls.Reset();
}

TEST_F(RowLayoutTest, ABarWithoutShownControlsHasRoomForOne)
{
    Add(kButton)->SetVisible(FALSE);
    Add(kButton)->SetVisible(FALSE);
    const struct
    {
        DWORD mode;
        int minWidth;
        CSize size;
    } cases[] = {
        {kCommit, 0, CSize(23 + 6, 22 + 8)},
        {kCommit, 50, CSize(50, 22 + 8)},  // the minimum raises the width
        {kDock, 50, CSize(23 + 6, 50)},    // in a dock row, the height
        {kDock, 10, CSize(23 + 6, 22 + 8)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.size, Layout(100, c.mode, c.minWidth)) << c.mode << " " << c.minWidth;

    // A control hidden only because it did not fit takes part again.
    bar.GetControl(0)->SetHideFlags(COSMControl::kHideWrap);
    EXPECT_EQ(CSize(20 + 6, 22 + 8), Layout(100, kDock | kCommit));
    EXPECT_EQ(0u, bar.GetControl(0)->GetHideFlags());
}

TEST_F(RowLayoutTest, ControlsAreBuiltFromTheLastToTheFirst)
{
    std::vector<SizedControl*> controls = AddMany(3, kButton);
    Layout(100, kDock);
    EXPECT_EQ((std::vector<COSMControl*>{controls[2], controls[1], controls[0]}), BuiltControls());
}

TEST_F(RowLayoutTest, AGroupMovesToTheNextRowWhole)
{
    SizedControl* a = Add(kButton);
    SizedControl* b = Add(kButton);
    SizedControl* c = Add(kButton, 0, TRUE);
    SizedControl* d = Add(kButton);
    // Room for A, B and C, not for D.
    const int length = kBorders.left + kBorders.right + 3 * kButton.cx + gap.cx;
    const CSize size = Layout(length, kDock | kCommit);

    EXPECT_EQ((std::vector<BOOL>{FALSE, FALSE, TRUE, FALSE}), Wraps());
    const int secondRow = kBorders.top + kButton.cy + gap.cy;
    EXPECT_EQ(CRect(2, 3, 22, 25), a->GetRect());
    EXPECT_EQ(CRect(22, 3, 42, 25), b->GetRect());
    EXPECT_EQ(CRect(2, secondRow, 22, secondRow + 22), c->GetRect());
    EXPECT_EQ(CRect(22, secondRow, 42, secondRow + 22), d->GetRect());
    // Wrapped rows take the whole length.
    EXPECT_EQ(CSize(length, 2 * kButton.cy + gap.cy + kBorders.top + kBorders.bottom), size);
    EXPECT_EQ(CRect(2, 3, length - kBorders.right, 25), a->GetRowRect());
    EXPECT_EQ(CRect(2, secondRow, length - kBorders.right, secondRow + 22), d->GetRowRect());
}

TEST_F(RowLayoutTest, ControlsSmallerThanTheRowAreCentredInIt)
{
    SizedControl* tall = Add(CSize(20, 30));
    SizedControl* small = Add(CSize(20, 21));
    Add(CSize(20, 30), COSMControl::kFlagWrapRow);
    SizedControl* lone = Add(CSize(20, 10));
    Layout(200, kDock | kCommit);
    EXPECT_EQ(CRect(2, 3, 22, 33), tall->GetRect());
    EXPECT_EQ(CRect(22, 3 + 4, 42, 3 + 4 + 21), small->GetRect());  // (30 - 21) / 2
    // The second row is as thick as its thickest control.
    EXPECT_EQ(CRect(22, 33 + 10, 42, 33 + 20), lone->GetRect());  // (30 - 10) / 2
    EXPECT_EQ(30, lone->GetRowRect().Height());
}

TEST_F(RowLayoutTest, ASingleRowUsesTheWholeHeight)
{
    SizedControl* control = Add(CSize(20, 10));
    // The minimum height of a dock row makes the bar 40 high inside its borders.
    const CSize size = Layout(200, kDock | kCommit, 40 + kBorders.top + kBorders.bottom);
    EXPECT_EQ(40 + kBorders.top + kBorders.bottom, size.cy);
    EXPECT_EQ(CRect(2, 3, 22, 43), control->GetRowRect());
    EXPECT_EQ(CRect(2, 3 + 15, 22, 3 + 25), control->GetRect());
}

TEST_F(RowLayoutTest, HidingWhatDoesNotFitResumesAtTheNextRowStart)
{
    std::vector<SizedControl*> controls = AddMany(4, kButton);
    controls.push_back(Add(kButton, COSMControl::kFlagWrapRow));
    controls.push_back(Add(kButton));
    const int length = kBorders.left + kBorders.right + 3 * kButton.cx;
    const CSize size = Layout(length, kDock | kHide | kCommit);

    // D does not fit and is hidden; E starts a row of its own and F follows it.
    std::vector<DWORD> hideFlags;
    for (SizedControl* control : controls)
        hideFlags.push_back(control->GetHideFlags());
    EXPECT_EQ((std::vector<DWORD>{0, 0, 0, COSMControl::kHideWrap, 0, 0}), hideFlags);
    EXPECT_EQ((std::vector<BOOL>{FALSE, FALSE, FALSE, FALSE, TRUE, FALSE}), Wraps());
    EXPECT_EQ(CRect(2, 25, 22, 47), controls[4]->GetRect());
    EXPECT_EQ(CRect(22, 25, 42, 47), controls[5]->GetRect());
    EXPECT_EQ(length, size.cx);

    // Without a row start after them, everything that does not fit goes.
    controls[4]->SetFlags(0);
    Layout(length, kDock | kHide | kCommit);
    hideFlags.clear();
    for (SizedControl* control : controls)
        hideFlags.push_back(control->GetHideFlags());
    EXPECT_EQ((std::vector<DWORD>{0, 0, 0, COSMControl::kHideWrap, COSMControl::kHideWrap, COSMControl::kHideWrap}),
              hideFlags);
    EXPECT_EQ((std::vector<BOOL>(6, FALSE)), Wraps());
}

TEST_F(RowLayoutTest, ACommitWritesHideAndWrapFlagsAndTheNextOneClearsThem)
{
    std::vector<SizedControl*> controls = AddMany(3, kButton);
    controls[0]->SetHideFlags(COSMControl::kHideHidden);  // stays hidden, not laid out
    const int narrow = kBorders.left + kBorders.right + kButton.cx;
    const int wide = kBorders.left + kBorders.right + 10 * kButton.cx;
    const CRect before = controls[0]->GetRect();

    Layout(narrow, kDock | kHide | kCommit);
    EXPECT_EQ(0u, controls[1]->GetHideFlags());
    EXPECT_EQ(COSMControl::kHideWrap, controls[2]->GetHideFlags());
    Layout(wide, kDock | kHide | kCommit);
    EXPECT_EQ(0u, controls[2]->GetHideFlags());

    Layout(narrow, kDock | kCommit);
    EXPECT_EQ((std::vector<BOOL>{FALSE, FALSE, TRUE}), Wraps());
    Layout(wide, kDock | kCommit);
    EXPECT_EQ((std::vector<BOOL>{FALSE, FALSE, FALSE}), Wraps());
    EXPECT_EQ(COSMControl::kHideHidden, controls[0]->GetHideFlags());
    EXPECT_EQ(before, controls[0]->GetRect());

    // Without a commit nothing is written.
    Layout(narrow, kDock);
    EXPECT_EQ((std::vector<BOOL>{FALSE, FALSE, FALSE}), Wraps());
}

TEST_F(RowLayoutTest, VerticalColumnsEndInThePositiveRange)
{
    std::vector<SizedControl*> controls = AddMany(3, kButton);
    controls.push_back(Add(CSize(30, 22)));
    // Two controls a column.
    const int length = kBorders.top + kBorders.bottom + 2 * kButton.cy;
    const CSize size = Layout(length, COSMControls::kLayoutVertical | kCommit);
    EXPECT_EQ((std::vector<BOOL>{FALSE, FALSE, TRUE, FALSE}), Wraps());
    EXPECT_EQ(CSize(kButton.cx + 30 + kBorders.left + kBorders.right, length), size);
    for (SizedControl* control : controls)
    {
        const CRect rect = control->GetRect();
        EXPECT_GE(rect.left, kBorders.left);
        EXPECT_LE(rect.right, size.cx - kBorders.right);
        EXPECT_GE(rect.top, kBorders.top);
        EXPECT_LE(rect.bottom, size.cy - kBorders.bottom);
    }
    // Later columns stand to the left; controls are centred across their column.
    EXPECT_EQ(CRect(2 + 30, 3, 2 + 50, 25), controls[0]->GetRect());
    EXPECT_EQ(CRect(2 + 30, 25, 2 + 50, 47), controls[1]->GetRect());
    EXPECT_EQ(CRect(2 + 5, 3, 2 + 25, 25), controls[2]->GetRect());
    EXPECT_EQ(CRect(2, 25, 2 + 30, 47), controls[3]->GetRect());
    EXPECT_EQ(CRect(2, 3, 2 + 30, 3 + 44), controls[3]->GetRowRect());
}

TEST_F(RowLayoutTest, APopupToolbarOfSixButtonsIsSquarish)
{
    std::vector<SizedControl*> controls = AddMany(6, CSize(22, 22));
    bar.SetMRUWidth(0);
    const CSize size = Layout(0, COSMControls::kLayoutPopupToolBar | kCommit);
    EXPECT_EQ((std::vector<BOOL>{FALSE, FALSE, TRUE, FALSE, TRUE, FALSE}), Wraps());
    EXPECT_EQ(CSize(44 + 6, 66 + 8), size);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(CRect(CPoint(2 + 22 * (i % 2), 3 + 22 * (i / 2)), CSize(22, 22)), controls[i]->GetRect()) << i;

    // With a width of its own the popup wraps there, and every group starts a row.
    bar.SetMRUWidth(3 * 22);
    controls[1]->SetBeginGroup(TRUE);
    Layout(0, COSMControls::kLayoutPopupToolBar | kCommit);
    EXPECT_EQ((std::vector<BOOL>{FALSE, TRUE, FALSE, FALSE, TRUE, FALSE}), Wraps());
}

TEST_F(RowLayoutTest, FittingKeepsTheRowCountOfTheLengthAtTheSmallestWidth)
{
    AddMany(5, kButton);
    // Four fit the length, giving rows of 4 and 1; the same two rows fit 60 pixels as 3 and 2.
    const int length = kBorders.left + kBorders.right + 90;
    const CSize size = Layout(length, kCommit);
    EXPECT_EQ((std::vector<BOOL>{FALSE, FALSE, FALSE, TRUE, FALSE}), Wraps());
    EXPECT_EQ(CRect(42, 3, 62, 25), bar.GetControl(2)->GetRect());
    EXPECT_EQ(length, size.cx);

    // All in one row when the length holds them.
    Layout(kBorders.left + kBorders.right + 100, kCommit);
    EXPECT_EQ((std::vector<BOOL>(5, FALSE)), Wraps());
}

TEST_F(RowLayoutTest, AGivenHeightIsFilled)
{
    AddMany(6, kButton);
    // Three rows of two fit 66 pixels; two rows would leave the height half empty.
    const int height = kBorders.top + kBorders.bottom + 3 * kButton.cy;
    const CSize size = Layout(height, COSMControls::kLayoutLengthIsHeight | kCommit);
    EXPECT_EQ((std::vector<BOOL>{FALSE, FALSE, TRUE, FALSE, TRUE, FALSE}), Wraps());
    EXPECT_EQ(CSize(40 + 6, height), size);
}

TEST_F(RowLayoutTest, RightAlignedControlsGoToTheEndOfTheLastRow)
{
    const int length = kBorders.left + kBorders.right + 200;
    const int farEnd = length - kBorders.right;
    const struct
    {
        const char* what;
        std::vector<DWORD> flags;
        std::vector<int> lefts;
    } cases[] = {
        {"two at the end",
         {0, COSMControl::kFlagRightAlign, COSMControl::kFlagRightAlign},
         {2, farEnd - 40, farEnd - 20}},
        {"one between others stays", {0, COSMControl::kFlagRightAlign, 0}, {2, 22, 42}},
        // The row's first control stays at the near border.
        {"all of them",
         {COSMControl::kFlagRightAlign, COSMControl::kFlagRightAlign, COSMControl::kFlagRightAlign},
         {2, farEnd - 40, farEnd - 20}},
    };
    for (const auto& c : cases)
    {
        bar.GetControls()->RemoveAll();
        for (DWORD flags : c.flags)
            Add(kButton, flags);
        Layout(length, kDock | kWrapped | kCommit);
        std::vector<int> lefts;
        for (int i = 0; i < bar.GetControlCount(); ++i)
            lefts.push_back(bar.GetControl(i)->GetRect().left);
        EXPECT_EQ(c.lefts, lefts) << c.what;
    }

    // In an earlier row they stay where they are.
    bar.GetControls()->RemoveAll();
    Add(kButton);
    Add(kButton, COSMControl::kFlagRightAlign);
    Add(kButton, COSMControl::kFlagWrapRow);
    Layout(length, kDock | kWrapped | kCommit);
    EXPECT_EQ(22, bar.GetControl(1)->GetRect().left);
}

TEST_F(RowLayoutTest, StretchableControlsShareTheFreeRoomInOrder)
{
    const int length = kBorders.left + kBorders.right + 60 + 11;
    SizedControl* plain = Add(kButton);
    SizedControl* first = Add(kButton, COSMControl::kFlagStretched);
    SizedControl* second = Add(kButton, COSMControl::kFlagStretched);
    Layout(length, kDock | kWrapped | kCommit);
    EXPECT_EQ(CRect(2, 3, 22, 25), plain->GetRect());
    EXPECT_EQ(CRect(22, 3, 47, 25), first->GetRect());   // 11 / 2 = 5
    EXPECT_EQ(CRect(47, 3, 73, 25), second->GetRect());  // the other 6

    // Before right-aligned controls at the end, the room ends at the first of them.
    SizedControl* right = Add(kButton, COSMControl::kFlagRightAlign);
    Layout(length + 20, kDock | kWrapped | kCommit);
    EXPECT_EQ(CRect(22, 3, 47, 25), first->GetRect());
    EXPECT_EQ(CRect(47, 3, 73, 25), second->GetRect());
    EXPECT_EQ(CRect(73, 3, 93, 25), right->GetRect());
}

// ---- The stacked layout -----------------------------------------------------------------------------------------

class StackedLayoutTest : public LayoutTest
{
protected:
    void SetUp() override
    {
        LayoutTest::SetUp();
        bar.ModifyFlags(COSMCommandBar::kFlagStackedLayout, 0);
        bar.SetImageManager(images.Get());
        limit = bar.CalcIconSize(TRUE).cy + 7 + bar.GetPaintManager()->GetSplitButtonDropDownWidth();
    }

    // A control whose id has a large image when asked, with sizes for the large, small and icon styles.
    SizedControl* AddButton(UINT id, BOOL largeImage, BOOL beginGroup = FALSE)
    {
        if (largeImage)
            SetLargeImage(id);
        SizedControl* control = Add(CSize(1, 1), 0, beginGroup, id);
        control->SetSizeForStyle(4, CSize(40, limit));
        control->SetSizeForStyle(3, CSize(60, limit / 3));
        control->SetSizeForStyle(2, CSize(20, limit / 3));
        return control;
    }

    void SetLargeImage(UINT id)
    {
        const int width = bar.CalcIconSize(FALSE).cx;
        HBITMAP color = ::CreateBitmap(width, width, 1, 32, nullptr);
        HBITMAP mask = ::CreateBitmap(width, width, 1, 1, nullptr);
        ICONINFO info{TRUE, 0, 0, mask, color};
        HICON icon = ::CreateIconIndirect(&info);
        ASSERT_TRUE(images->SetIcon(icon, id, width, width));
        ::DestroyIcon(icon);
        ::DeleteObject(color);
        ::DeleteObject(mask);
    }

    std::vector<int> Styles() const
    {
        std::vector<int> styles;
        for (int i = 0; i < bar.GetControlCount(); ++i)
            styles.push_back(bar.GetControl(i)->GetStyle());
        return styles;
    }

    RefPtr<COSMImageManager> images = AdoptRef(new COSMImageManager);
    int limit = 0;
};

TEST_F(StackedLayoutTest, LargeButtonsBesideStacksOfSmallOnes)
{
    SizedControl* large = AddButton(1, TRUE);
    SizedControl* small1 = AddButton(2, FALSE);
    SizedControl* small2 = AddButton(3, FALSE);
    SizedControl* grouped = AddButton(4, FALSE, TRUE);
    const CSize size = Layout(1000, kDock | kCommit);
    EXPECT_EQ((std::vector<int>{4, 3, 3, 3}), Styles());
    // Small buttons stack under each other, never under a group start.
    EXPECT_EQ(CRect(2, 3, 42, 3 + limit), large->GetRect());
    EXPECT_EQ(CRect(42, 3, 102, 3 + limit / 3), small1->GetRect());
    EXPECT_EQ(CRect(42, 3 + limit / 3, 102, 3 + 2 * (limit / 3)), small2->GetRect());
    EXPECT_EQ(CRect(108, 3, 168, 3 + limit / 3), grouped->GetRect());
    EXPECT_EQ(CSize(166 + 6, limit + 8), size);
}

TEST_F(StackedLayoutTest, ALayoutThatFitsExactlyAfterOneReductionKeepsIt)
{
    AddButton(1, TRUE);
    AddButton(2, TRUE);
    AddButton(3, TRUE);
    // Three large buttons need 120 pixels; as one stack of small buttons they need 60, exactly the length.
    const int length = kBorders.left + kBorders.right + 60;
    const CSize size = Layout(length, kDock | kCommit);
    EXPECT_EQ((std::vector<int>{3, 3, 3}), Styles());
    EXPECT_EQ(length, size.cx);
    EXPECT_EQ(CRect(2, 3 + 2 * (limit / 3), 62, 3 + 3 * (limit / 3)), bar.GetControl(2)->GetRect());

    // One pixel less: the stack loses its captions too.
    Layout(length - 1, kDock | kCommit);
    EXPECT_EQ((std::vector<int>{2, 2, 2}), Styles());
}

TEST_F(StackedLayoutTest, ReductionGoesFromTheEndAndKeepsGroupsApart)
{
    for (UINT id = 1; id <= 3; ++id)
        AddButton(id, TRUE);
    for (UINT id = 4; id <= 6; ++id)
        AddButton(id, TRUE, id == 4);
    // Six large buttons and a group gap: 246 pixels. The last three as a stack: 40 * 3 + 6 + 60 = 186.
    Layout(kBorders.left + kBorders.right + 200, kDock | kCommit);
    EXPECT_EQ((std::vector<int>{4, 4, 4, 3, 3, 3}), Styles());

    // A run of three may hold a group start only at its first control: with the group starting at the third of
    // four buttons, neither [1 2 3] nor [2 3 4] is a run, and nothing can be reduced.
    bar.GetControls()->RemoveAll();
    for (UINT id = 1; id <= 4; ++id)
        AddButton(id, TRUE, id == 3);
    const CSize size = Layout(kBorders.left + kBorders.right + 100, kDock | kCommit);
    EXPECT_EQ((std::vector<int>{4, 4, 4, 4}), Styles());
    EXPECT_EQ(166 + 6, size.cx);

    // Hiding what still does not fit: after the first, every control past the length is hidden as an icon.
    Layout(kBorders.left + kBorders.right + 100, kDock | kHide | kCommit);
    EXPECT_EQ((std::vector<int>{4, 4, 2, 2}), Styles());
    EXPECT_EQ(0u, bar.GetControl(1)->GetHideFlags());
    EXPECT_EQ(COSMControl::kHideWrap, bar.GetControl(2)->GetHideFlags());
    EXPECT_EQ(COSMControl::kHideWrap, bar.GetControl(3)->GetHideFlags());
}

}  // namespace
