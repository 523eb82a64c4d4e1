// The ribbon bar as a frame gets it from its manager by class name: its fixed controls and collections, its heights
// and docked layout, and where it places its caption strip, tab row, quick-access area and free controls.
#include "RibbonTestSupport.h"

#include "framework/commandbars/ControlButton.h"

using namespace ribbon_test;

namespace {

class RibbonBarTest : public RibbonTest
{};

// A button the ribbon measures through its paint manager.
COSMControl* AddButton(COSMControls* controls, UINT id, DWORD flags = 0, BOOL beginGroup = FALSE)
{
    COSMControl* control = controls->Add(1, static_cast<int>(id));
    control->SetCaption("");
    control->SetFlags(control->GetFlags() | flags);
    control->SetBeginGroup(beginGroup);
    return control;
}

}  // namespace

TEST_F(RibbonBarTest, AFrameGetsARibbonByClassNameAsItsMenuBarDockedOnTop)
{
    EXPECT_TRUE(ribbon->IsKindOf(RUNTIME_CLASS(COSMRibbonBar)));
    EXPECT_EQ(commandBars->GetMenuBar(), ribbon);
    EXPECT_EQ(1u, ribbon->GetBarID());
    EXPECT_EQ(0, ribbon->GetPosition());
    EXPECT_EQ(1, RefCount(ribbon)) << "the manager holds the one reference";
    ASSERT_NE(nullptr, ribbon->GetDockBar());
    EXPECT_EQ(0, ribbon->GetDockBar()->GetPosition());
    EXPECT_TRUE(ribbon->GetSafeHwnd() && ribbon->IsWindowVisible());
    EXPECT_TRUE(ribbon->IsRibbonBar());

    // The five fixed controls (the groups' two scroll buttons last), made temporary with the bar; the bar takes no
    // customization.
    EXPECT_EQ((std::vector<UINT>{9603, 9611, 9604, 0, 0}), Ids(ribbon->GetControls()));
    for (int i = 0; i < ribbon->GetControlCount(); ++i)
        EXPECT_TRUE(ribbon->GetControl(i)->IsTemporary()) << i;
    EXPECT_TRUE(ribbon->GetControl(0)->IsKindOf(RUNTIME_CLASS(COSMRibbonBarControlQuickAccessPopup)));
    EXPECT_TRUE(ribbon->GetControl(1)->IsKindOf(RUNTIME_CLASS(COSMRibbonBarControlQuickAccessMore)));
    EXPECT_TRUE(ribbon->GetControl(2)->IsKindOf(RUNTIME_CLASS(COSMRibbonControlTab)));
    EXPECT_EQ(0x440u, ribbon->GetFlags());
    EXPECT_FALSE(ribbon->IsCustomizable());
    EXPECT_TRUE(ribbon->GetControls()->IsKindOf(RUNTIME_CLASS(COSMRibbonControls)));
    EXPECT_EQ(ribbon, ribbon->GetQuickAccessControls()->GetParent());
    EXPECT_TRUE(ribbon->IsAnimationEnabled());
}

TEST_F(RibbonBarTest, RemoveAllKeepsTheFixedControlsAndSavesNoneOfTheRibbonsOwn)
{
    AddButton(ribbon->GetControls(), 301);
    AddButton(ribbon->GetQuickAccessControls(), 201);
    ribbon->GetControls()->Remove(ribbon->GetControlTab());
    ASSERT_EQ((std::vector<UINT>{201, 9603, 9611, 9604, 0, 0, 301}), Ids(ribbon->GetControls()));

    const COSMControls* controls = ribbon->GetControls();
    EXPECT_TRUE(controls->ShouldSerializeControl(controls->GetAt(6)));
    for (int i = 0; i < 6; ++i)
        EXPECT_FALSE(controls->ShouldSerializeControl(controls->GetAt(i))) << i;

    ribbon->GetControls()->RemoveAll();
    EXPECT_EQ((std::vector<UINT>{9603, 9611, 9604, 0, 0}), Ids(ribbon->GetControls()));
    EXPECT_EQ(0, ribbon->GetQuickAccessControls()->GetCount()) << "a quick-access control leaves both";
}

TEST_F(RibbonBarTest, QuickAccessControlsAreMirroredIntoTheBarsControlsBothWays)
{
    for (const bool systemButton : {false, true})
    {
        SCOPED_TRACE(systemButton);
        ribbon->SetSystemButton(systemButton ? new COSMRibbonControlSystemButton : nullptr);
        COSMControls* quickAccess = ribbon->GetQuickAccessControls();
        const std::vector<UINT> fixed{9603, 9611, 9604, 0, 0};
        std::vector<UINT> expected;
        if (systemButton)
            expected.push_back(ribbon->GetSystemButton()->GetID());

        COSMControl* first = AddButton(quickAccess, 201);
        COSMControl* second = AddButton(quickAccess, 202);
        EXPECT_TRUE(ribbon->IsQuickAccessControl(first));
        EXPECT_EQ(ribbon, first->GetParent());
        auto ids = expected;
        ids.insert(ids.end(), {201, 202});
        ids.insert(ids.end(), fixed.begin(), fixed.end());
        EXPECT_EQ(ids, Ids(ribbon->GetControls()));
        EXPECT_EQ(2, RefCount(first)) << "the list and the bar each hold one";

        // Out of the list: out of the bar. Out of the bar: out of the list.
        first->InternalAddRef();
        quickAccess->Remove(first);
        EXPECT_EQ(1, RefCount(first));
        EXPECT_FALSE(ribbon->IsQuickAccessControl(first));
        first->InternalRelease();
        ribbon->GetControls()->Remove(second);
        EXPECT_EQ(0, quickAccess->GetCount());
        ids = expected;
        ids.insert(ids.end(), fixed.begin(), fixed.end());
        EXPECT_EQ(ids, Ids(ribbon->GetControls()));
    }
    // A control of a group is never a quick-access control, nor the customize button's absence of a list.
    EXPECT_TRUE(ribbon->IsQuickAccessControl(ribbon->GetQuickAccessPopup()));
    EXPECT_TRUE(ribbon->IsQuickAccessControl(ribbon->GetQuickAccessMore()));
    EXPECT_FALSE(ribbon->IsQuickAccessControl(nullptr));
    EXPECT_FALSE(ribbon->IsQuickAccessControl(ribbon->GetControlTab()));
}

TEST_F(RibbonBarTest, TheDockedHeightAddsCaptionTabsAndGroupsAndFoldsBelowTheMinimumWidth)
{
    AddTabs({"&Home", "&Insert"});
    const int q = PlainQuickAccessHeight();
    const int tabs = Painter()->GetTabsHeight();

    EXPECT_EQ(CSize(249, 0), ribbon->CalcDockingLayout(249, LM_HORZDOCK));
    EXPECT_FALSE(ribbon->IsRibbonShown());
    EXPECT_EQ(CSize(250, CaptionHeight(q) + tabs + GroupsHeight()), ribbon->CalcDockingLayout(250, LM_HORZDOCK));
    EXPECT_TRUE(ribbon->IsRibbonShown());

    struct Case
    {
        const char* name;
        BOOL below;
        BOOL minimized;
        int fixedGroups;
        int fixedClient;
        int expected;
    };
    const int groupCaption = Painter()->GetGroupCaptionHeight();
    const Case cases[] = {
        {"quick access below", TRUE, FALSE, 0, 0, Painter()->GetCaptionHeight() + tabs + GroupsHeight() + q + 1},
        {"minimized", FALSE, TRUE, 0, 0, CaptionHeight(q) + tabs + 2},
        {"minimized, quick access below", TRUE, TRUE, 0, 0, Painter()->GetCaptionHeight() + tabs + q + 1},
        {"fixed groups height", FALSE, FALSE, 100, 0, CaptionHeight(q) + tabs + 100},
        {"fixed group client height", FALSE, FALSE, 0, 50, CaptionHeight(q) + tabs + 50 + groupCaption + 10},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ribbon->ShowQuickAccessBelow(c.below);
        ribbon->SetRibbonMinimized(c.minimized);
        ribbon->SetFixedGroupsHeight(c.fixedGroups);
        ribbon->SetFixedGroupClientHeight(c.fixedClient);
        EXPECT_EQ(c.expected, ribbon->CalcDockingLayout(400, LM_HORZDOCK).cy);
        ribbon->ShowQuickAccessBelow(FALSE);
        ribbon->SetRibbonMinimized(FALSE);
        ribbon->SetFixedGroupsHeight(0);
        ribbon->SetFixedGroupClientHeight(0);
    }
    // Without a selected tab there are no groups to show.
    ribbon->GetControlTab()->DeleteAllItems();
    EXPECT_EQ(CaptionHeight(q) + tabs + 2, ribbon->CalcDockingLayout(400, LM_HORZDOCK).cy);
}

TEST_F(RibbonBarTest, AFrameNarrowerThanTheMinimumHidesTheRibbonAndWideningShowsItAgain)
{
    AddTabs({"&Home"});
    auto ribbonHeight = [&] {
        CRect window;
        ribbon->GetWindowRect(&window);
        return ribbon->IsWindowVisible() ? window.Height() : 0;
    };
    const int shown = ribbonHeight();
    ASSERT_GT(shown, 0);

    CRect window;
    frame.GetWindowRect(&window);
    CRect client;
    frame.GetClientRect(&client);
    const int border = window.Width() - client.Width();
    frame.SetWindowPos(nullptr, 0, 0, 240 + border, window.Height(), SWP_NOMOVE | SWP_NOZORDER);
    PumpMessages();
    EXPECT_FALSE(ribbon->IsRibbonShown());
    EXPECT_EQ(0, ribbonHeight());

    frame.SetWindowPos(nullptr, 0, 0, window.Width(), window.Height(), SWP_NOMOVE | SWP_NOZORDER);
    PumpMessages();
    EXPECT_TRUE(ribbon->IsRibbonShown());
    EXPECT_EQ(shown, ribbonHeight());
}

TEST_F(RibbonBarTest, ButtonSizesFollowTheControlHeightOfTheFont)
{
    COSMPaintManager* paintManager = ribbon->GetPaintManager();
    for (const LONG fontHeight : {-11L, -20L, -32L})
    {
        SCOPED_TRACE(fontHeight);
        LOGFONTA logFont{};
        logFont.lfHeight = fontHeight;
        strcpy(logFont.lfFaceName, "Tahoma");
        paintManager->CreateFontsFromLogFont(&logFont, FALSE);
        Painter()->RefreshMetrics();
        const int h = Painter()->GetControlHeight();
        ASSERT_GE(h, 22);

        CClientDC dc(ribbon);
        EXPECT_EQ(CSize(h * 13 / 22, h), ribbon->GetQuickAccessPopup()->GetSize(&dc));
        EXPECT_EQ(CSize(h * 13 / 22, h), ribbon->GetQuickAccessMore()->GetSize(&dc));
        const int barHeight = paintManager->GetControlHeight();
        EXPECT_EQ(CSize(barHeight, barHeight), ribbon->GetButtonSize());
    }
    // The bar's own button size wins.
    ribbon->SetButtonSize(CSize(30, 26));
    EXPECT_EQ(CSize(30, 26), ribbon->GetButtonSize());
}

TEST_F(RibbonBarTest, RepositionPlacesCaptionTabRowGroupsAndTheQuickAccessAboveOrBelow)
{
    AddTabs({"&Home", "&Insert"});
    COSMControl* save = AddButton(ribbon->GetQuickAccessControls(), 201);
    COSMControl* undo = AddButton(ribbon->GetQuickAccessControls(), 202);
    Relayout();
    const int w = ClientWidth();
    const int q = ribbon->GetQuickAccessHeight();
    const int t = Painter()->GetTabsHeight();
    const int caption = CaptionHeight(q);
    const int g = GroupsHeight();

    EXPECT_EQ(CRect(0, 0, w, caption), ribbon->GetCaptionRect());
    EXPECT_TRUE(ribbon->GetCaptionTextRect().IsRectEmpty()) << "no title without the frame object";
    EXPECT_EQ(CRect(0, caption + t, w, caption + t + g), ribbon->GetGroupsRect());
    const CRect tabRow = ribbon->GetTabControlRect();
    EXPECT_EQ(caption, tabRow.top);
    EXPECT_EQ(caption + t + 1, tabRow.bottom);
    EXPECT_EQ(2, tabRow.left);
    EXPECT_EQ(w, tabRow.right);
    EXPECT_EQ(tabRow, ribbon->GetControlTab()->GetRect());

    // Above: the quick-access controls from a + 3 in the caption strip, the customize button 12 further.
    const int a = q - 3 + t;
    const CRect quick = ribbon->GetQuickAccessRect();
    EXPECT_EQ(a + 3, quick.left);
    EXPECT_EQ(-2, quick.top);
    EXPECT_EQ(q - 3, quick.bottom);
    const CRect saveRect = save->GetRect();
    EXPECT_EQ(a + 3, saveRect.left);
    EXPECT_EQ(quick.top + (quick.Height() - saveRect.Height() + 1) / 2 + 2, saveRect.top);
    EXPECT_EQ(saveRect.right, undo->GetRect().left);
    const CRect popup = ribbon->GetQuickAccessPopup()->GetRect();
    EXPECT_EQ(undo->GetRect().right + 12, popup.left);
    EXPECT_EQ(popup.left, quick.right);
    EXPECT_EQ(quick.left, save->GetRowRect().left);
    EXPECT_EQ(quick.top, save->GetRowRect().top);
    EXPECT_EQ(quick.bottom, save->GetRowRect().bottom);
    EXPECT_FALSE(ribbon->GetQuickAccessMore()->IsVisible()) << "nothing overflows";

    // Below: their own row under the groups.
    ribbon->ShowQuickAccessBelow(TRUE);
    Relayout();
    const int below = Painter()->GetCaptionHeight() + t + g;
    EXPECT_EQ(CRect(0, below, w, below + q), ribbon->GetQuickAccessRect());
    EXPECT_EQ(2, save->GetRect().left);
    EXPECT_EQ(Painter()->GetCaptionHeight(), ribbon->GetCaptionRect().Height());
}

TEST_F(RibbonBarTest, TheTabRowHoldsTheSystemButtonAndFreeControlsLeftAndRight)
{
    AddTabs({"&Home", "&Insert"});
    auto* system = new COSMRibbonControlSystemButton;
    ribbon->SetSystemButton(system);
    COSMControl* left1 = AddButton(ribbon->GetControls(), 301);
    COSMControl* left2 = AddButton(ribbon->GetControls(), 302, 0, TRUE);
    COSMControl* right1 = AddButton(ribbon->GetControls(), 303, COSMControl::kFlagRightAlign);
    COSMControl* right2 = AddButton(ribbon->GetControls(), 304, COSMControl::kFlagRightAlign, TRUE);
    Relayout();
    const int w = ClientWidth();
    const int q = ribbon->GetQuickAccessHeight();
    const int t = Painter()->GetTabsHeight();
    const int caption = ribbon->GetCaptionRect().Height();
    const int a = q - 3 + t;

    EXPECT_EQ(CRect(0, -1, a, a - 2), system->GetRect());
    EXPECT_EQ(1, system->GetRibbonPlacement());
    EXPECT_EQ(0u, system->GetHideFlags() & COSMControl::kHideWrap);

    const CRect l1 = left1->GetRect();
    const CRect l2 = left2->GetRect();
    EXPECT_EQ(a, l1.left);
    EXPECT_EQ(caption + (t - l1.Height()) / 2, l1.top);
    EXPECT_EQ(l1.right + 6, l2.left) << "a group begins";
    EXPECT_EQ(CRect(2, caption, w - 2, caption + t), left1->GetRowRect());
    EXPECT_EQ(0, left1->GetRibbonPlacement());

    const CRect r2 = right2->GetRect();
    const CRect r1 = right1->GetRect();
    EXPECT_EQ(w, r2.right);
    EXPECT_EQ(r2.left, r1.right) << "right-side controls lose their group gap";
    EXPECT_FALSE(right2->GetBeginGroup());
    EXPECT_EQ(1, right1->GetRibbonPlacement());
    EXPECT_EQ(CRect(l2.right, caption, r1.left, caption + t + 1), ribbon->GetTabControlRect());

    // The tabs switched off: the strip and the free controls go, the tab row shrinks to the bar's two pixels.
    ribbon->SetTabsVisible(FALSE);
    Relayout();
    EXPECT_EQ(COSMControl::kHideHidden, ribbon->GetControlTab()->GetHideFlags() & COSMControl::kHideHidden);
    EXPECT_EQ(COSMRibbonBar::kHideTabRow, left1->GetHideFlags() & COSMRibbonBar::kHideTabRow);
    EXPECT_EQ(COSMRibbonBar::kHideTabRow, right1->GetHideFlags() & COSMRibbonBar::kHideTabRow);
    EXPECT_TRUE(ribbon->GetTabControlRect().IsRectEmpty());
    ribbon->SetTabsVisible(TRUE);
    Relayout();
    EXPECT_EQ(0u, left1->GetHideFlags());
    EXPECT_FALSE(ribbon->GetTabControlRect().IsRectEmpty());

    // Free controls that leave the strip less than 6 pixels empty it.
    for (UINT id = 310; id < 340; ++id)
        AddButton(ribbon->GetControls(), id, COSMControl::kFlagRightAlign);
    Relayout();
    EXPECT_TRUE(ribbon->GetTabControlRect().IsRectEmpty());
}

TEST_F(RibbonBarTest, QuickAccessControlsPastTheLimitOverflowIntoTheMoreButtonUntilThereIsRoom)
{
    AddTabs({"&Home"});
    std::vector<COSMControl*> controls;
    for (UINT id = 201; id < 225; ++id)
        controls.push_back(AddButton(ribbon->GetQuickAccessControls(), id));
    frame.SetWindowPos(nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
    PumpMessages();
    const int limit = ClientWidth() - 3 * ribbon->GetCaptionRect().Height();
    int overflowed = 0;
    for (COSMControl* control : controls)
    {
        if (control->GetHideFlags() & COSMControl::kHideWrap)
            ++overflowed;
        else
            EXPECT_LE(control->GetRect().right, limit) << control->GetID();
    }
    EXPECT_GT(overflowed, 0);
    EXPECT_TRUE(controls.back()->GetHideFlags() & COSMControl::kHideWrap) << "once one overflows the rest follow";
    EXPECT_TRUE(ribbon->GetQuickAccessMore()->IsVisible());
    // The more button stands where the customize button stood, which now waits in the more button's popup.
    EXPECT_EQ(COSMControl::kHideWrap, ribbon->GetQuickAccessPopup()->GetHideFlags() & COSMControl::kHideWrap);
    const auto lastShown = std::find_if(controls.rbegin(), controls.rend(), [](const COSMControl* control) {
        return !(control->GetHideFlags() & COSMControl::kHideWrap);
    });
    ASSERT_NE(controls.rend(), lastShown);
    EXPECT_EQ((*lastShown)->GetRect().right + 12, ribbon->GetQuickAccessMore()->GetRect().left);

    frame.SetWindowPos(nullptr, 0, 0, 1250, 400, SWP_NOMOVE | SWP_NOZORDER);
    PumpMessages();
    for (COSMControl* control : controls)
        EXPECT_EQ(0u, control->GetHideFlags() & COSMControl::kHideWrap) << control->GetID();
    EXPECT_FALSE(ribbon->GetQuickAccessMore()->IsVisible());
    EXPECT_TRUE(ribbon->GetQuickAccessPopup()->IsVisible());
}

TEST_F(RibbonBarTest, RunsOfContextTabsShareAHeaderThatAPlainTabOrAnotherCaptionSplits)
{
    struct TabSpec
    {
        const char* caption;
        int color;
        const char* context;
        BOOL visible;
    };
    struct Case
    {
        const char* name;
        std::vector<TabSpec> tabs;
        // Per header: the indexes of its first and last tab.
        std::vector<std::pair<int, int>> headers;
    };
    const Case cases[] = {
        {"one run", {{"Home", 0, "", TRUE}, {"Format", 3, "Picture", TRUE}, {"Arrange", 3, "Picture", TRUE}}, {{1, 2}}},
        {"a plain tab splits",
         {{"Format", 3, "Picture", TRUE}, {"Home", 0, "", TRUE}, {"Arrange", 3, "Picture", TRUE}},
         {{0, 0}, {2, 2}}},
        {"a hidden plain tab does not split",
         {{"Format", 3, "Picture", TRUE}, {"Home", 0, "", FALSE}, {"Arrange", 3, "Picture", TRUE}},
         {{0, 2}}},
        {"another caption", {{"Format", 3, "Picture", TRUE}, {"Layout", 3, "Table", TRUE}}, {{0, 0}, {1, 1}}},
        {"another colour", {{"Format", 3, "Picture", TRUE}, {"Layout", 4, "Picture", TRUE}}, {{0, 0}, {1, 1}}},
        {"no context caption", {{"Format", 3, "", TRUE}, {"Layout", 3, "", TRUE}}, {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ribbon->GetControlTab()->DeleteAllItems();
        std::vector<COSMRibbonTab*> tabs;
        for (const TabSpec& spec : c.tabs)
        {
            COSMRibbonTab* tab = ribbon->AddTab(spec.caption);
            tab->SetContextColor(spec.color, spec.context);
            tab->SetVisible(spec.visible);
            tabs.push_back(tab);
        }
        ribbon->SetCurSel(0);
        Relayout();
        COSMRibbonContextHeaders* headers = ribbon->GetContextHeaders();
        ASSERT_EQ(static_cast<int>(c.headers.size()), headers->GetCount());
        for (int i = 0; i < headers->GetCount(); ++i)
        {
            const COSMRibbonContextHeader* header = headers->GetAt(i);
            EXPECT_EQ(tabs[static_cast<size_t>(c.headers[i].first)], header->m_firstTab);
            EXPECT_EQ(tabs[static_cast<size_t>(c.headers[i].second)], header->m_lastTab);
            EXPECT_EQ(header, header->m_firstTab->GetContextHeader());
            EXPECT_GE(header->m_rect.Width(), 40);
            EXPECT_EQ(ribbon->GetCaptionRect().bottom, header->m_rect.bottom);
            EXPECT_EQ(ribbon->GetCaptionRect().top + 4, header->m_rect.top);
        }
    }
}

TEST_F(RibbonBarTest, NarrowHeadersAreWidenedAndHeadersThatCannotFitAreAllDropped)
{
    COSMRibbonTab* tab = ribbon->AddTab("X");
    tab->SetContextColor(2, "Tools");
    ribbon->SetCurSel(0);
    Relayout();
    ASSERT_EQ(1, ribbon->GetContextHeaders()->GetCount());
    ASSERT_LT(tab->GetRect().Width(), 40);
    EXPECT_EQ(40, ribbon->GetContextHeaders()->GetAt(0)->m_rect.Width());

    // Each of these needs 40 pixels: together more than the caption strip has.
    const int tabs = ClientWidth() / 40 + 2;
    for (int i = 0; i < tabs; ++i)
    {
        CString context;
        context.Format("Tools %d", i);
        ribbon->AddTab("X")->SetContextColor(1 + i % 7, context);
    }
    Relayout();
    EXPECT_EQ(0, ribbon->GetContextHeaders()->GetCount());
    for (int i = 0; i < ribbon->GetTabCount(); ++i)
        EXPECT_EQ(nullptr, ribbon->GetTab(i)->GetContextHeader()) << i;
}

TEST_F(RibbonBarTest, ACopyTakesTheTabsOfTheSameClassesAndTheSelection)
{
    std::vector<COSMRibbonTab*> tabs = AddTabs({"&Home", "&Insert", "&View"});
    tabs[1]->SetContextColor(3, "Picture");
    tabs[1]->SetID(7);
    tabs[2]->SetVisible(FALSE);
    ribbon->SetCurSel(1);
    ribbon->GetQuickAccessControls()->Add(1, 201);

    RefPtr<COSMRibbonBar> copy = AdoptRef(new COSMRibbonBar);
    copy->Copy(ribbon, TRUE);
    ASSERT_EQ(3, copy->GetTabCount());
    for (int i = 0; i < 3; ++i)
    {
        SCOPED_TRACE(i);
        COSMRibbonTab* tab = copy->GetTab(i);
        EXPECT_EQ(tabs[static_cast<size_t>(i)]->GetRuntimeClass(), tab->GetRuntimeClass());
        EXPECT_EQ(copy.Get(), tab->GetRibbonBar());
        EXPECT_EQ(tabs[static_cast<size_t>(i)]->GetCaption(), tab->GetCaption());
        EXPECT_EQ(tabs[static_cast<size_t>(i)]->IsVisible(), tab->IsVisible());
        EXPECT_EQ(tabs[static_cast<size_t>(i)]->GetContextColor(), tab->GetContextColor());
        EXPECT_EQ(tabs[static_cast<size_t>(i)]->GetID(), tab->GetID());
    }
    EXPECT_EQ(copy->GetTab(1), copy->GetSelectedTab());
    EXPECT_EQ((std::vector<UINT>{201, 9603, 9611, 9604, 0, 0}), Ids(copy->GetControls()));

    // Clones come back as their own classes.
    RefPtr<COSMControl> strip = AdoptRef(ribbon->GetControlTab()->Clone(TRUE));
    EXPECT_TRUE(strip->IsKindOf(RUNTIME_CLASS(COSMRibbonControlTab)));
    EXPECT_EQ(3, static_cast<COSMRibbonControlTab*>(strip.Get())->GetItemCount());
    RefPtr<COSMControl> popup = AdoptRef(ribbon->GetQuickAccessPopup()->Clone(TRUE));
    EXPECT_TRUE(popup->IsKindOf(RUNTIME_CLASS(COSMRibbonBarControlQuickAccessPopup)));
    COSMControl* more = ribbon->GetControls()->AddClone(ribbon->GetQuickAccessMore(), -1, TRUE);
    ASSERT_NE(nullptr, more);
    EXPECT_TRUE(more->IsKindOf(RUNTIME_CLASS(COSMRibbonBarControlQuickAccessMore)));
    ribbon->GetControls()->Remove(more);
}
