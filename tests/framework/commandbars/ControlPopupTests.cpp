// The button and popup control shells: their Types, dynamic creation, copies, clones and comparisons, and the
// popup's one reference on the bar it opens. Headless.
#include "CommandBarsTestSupport.h"

#include "framework/commandbars/ControlButton.h"
#include "framework/commandbars/ControlPopup.h"

using namespace commandbars_test;

namespace {

// A button class that does not make its own clones.
class PlainDerivedButton : public COSMControlButton
{
    DECLARE_DYNCREATE(PlainDerivedButton)
};
IMPLEMENT_DYNCREATE(PlainDerivedButton, COSMControlButton)

using ControlShellTest = CommandBarsTest;

TEST_F(ControlShellTest, ButtonAndPopupAreCreatableByName)
{
    const struct
    {
        const char* name;
        int type;
    } cases[] = {{"COSMControlButton", 1}, {"COSMControlPopup", 2}};
    for (const auto& c : cases)
    {
        CRuntimeClass* runtimeClass = CRuntimeClass::FromName(c.name);
        ASSERT_NE(nullptr, runtimeClass) << c.name;
        EXPECT_TRUE(runtimeClass->IsDerivedFrom(RUNTIME_CLASS(COSMControl)));
        EXPECT_EQ(VERSIONABLE_SCHEMA | 0x22, runtimeClass->m_wSchema);
        RefPtr<COSMControl> control = AdoptRef(static_cast<COSMControl*>(runtimeClass->CreateObject()));
        ASSERT_NE(nullptr, control);
        EXPECT_EQ(c.type, control->GetType());
        EXPECT_EQ(1, control->GetEnabled());
        EXPECT_FALSE(control->IsPopupOpen());
    }
    EXPECT_TRUE(RUNTIME_CLASS(COSMControlPopup)->IsDerivedFrom(RUNTIME_CLASS(COSMControlButton)));
}

TEST_F(ControlShellTest, ButtonClonesAreButtons)
{
    PlainDerivedButton source;
    source.SetID(12);
    source.SetCaption("Go");
    RefPtr<COSMControl> clone = AdoptRef(source.Clone(FALSE));
    EXPECT_EQ(RUNTIME_CLASS(COSMControlButton), clone->GetRuntimeClass());
    EXPECT_TRUE(clone->Compare(&source));
    EXPECT_EQ(nullptr, clone->GetCommandBar());
}

TEST_F(ControlShellTest, CreateControlPopupStoresTheType)
{
    for (int type : {2, 3, 4})
    {
        RefPtr<COSMControlPopup> popup = AdoptRef(COSMControlPopup::CreateControlPopup(type));
        EXPECT_EQ(type, popup->GetType());
        EXPECT_EQ(nullptr, popup->GetCommandBar());
        EXPECT_TRUE(popup->IsControlShadowOn());
        EXPECT_EQ(0, popup->GetCommandBarId());
    }
}

TEST_F(ControlShellTest, PopupHoldsOneReferenceOnItsBar)
{
    RefPtr<COSMCommandBar> first = AdoptRef<COSMCommandBar>(COSMPopupBar::CreatePopupBar(nullptr));
    RefPtr<COSMCommandBar> second = AdoptRef<COSMCommandBar>(COSMPopupBar::CreatePopupBar(nullptr));
    {
        COSMControlPopup popup;
        popup.SetCommandBar(first.Get());
        EXPECT_EQ(2, RefCount(first.Get()));
        popup.SetCommandBar(first.Get());
        EXPECT_EQ(2, RefCount(first.Get()));
        popup.SetCommandBar(second.Get());
        EXPECT_EQ(1, RefCount(first.Get()));
        EXPECT_EQ(2, RefCount(second.Get()));
        EXPECT_EQ(second.Get(), popup.GetCommandBar());
        popup.ExpandPopupBar();
        EXPECT_EQ(second.Get(), popup.GetCommandBar());
    }
    EXPECT_EQ(1, RefCount(second.Get()));
    COSMControlPopup empty;
    empty.SetCommandBar(second.Get());
    empty.SetCommandBar(nullptr);
    EXPECT_EQ(nullptr, empty.GetCommandBar());
    EXPECT_EQ(1, RefCount(second.Get()));
}

TEST_F(ControlShellTest, CopyingAPopupSharesOrClonesItsBar)
{
    COSMCommandBar owner;
    auto* source = static_cast<COSMControlPopup*>(owner.GetControls()->Add(2, 0));
    COSMCommandBar* bar = source->GetCommandBar();
    bar->GetControls()->Add(1, 5);
    bar->SetTitle("Sub");

    COSMControlPopup shared;
    shared.Copy(source, FALSE);
    EXPECT_EQ(bar, shared.GetCommandBar());
    EXPECT_EQ(2, RefCount(bar));

    COSMControlPopup deep;
    deep.Copy(source, TRUE);
    ASSERT_NE(nullptr, deep.GetCommandBar());
    EXPECT_NE(bar, deep.GetCommandBar());
    EXPECT_EQ(1, RefCount(deep.GetCommandBar()));
    EXPECT_EQ(RUNTIME_CLASS(COSMPopupBar), deep.GetCommandBar()->GetRuntimeClass());
    EXPECT_STREQ("Sub", deep.GetCommandBar()->GetTitle());
    EXPECT_EQ(1, deep.GetCommandBar()->GetControlCount());
    EXPECT_EQ(2, RefCount(bar));

    // A source without a bar leaves the copy without one; a button source leaves the bar alone.
    COSMControlPopup barless;
    deep.Copy(&barless, TRUE);
    EXPECT_EQ(nullptr, deep.GetCommandBar());
    COSMControlButton button;
    shared.Copy(&button, TRUE);
    EXPECT_EQ(bar, shared.GetCommandBar());

    RefPtr<COSMControl> clone = AdoptRef(source->Clone(TRUE));
    EXPECT_EQ(RUNTIME_CLASS(COSMControlPopup), clone->GetRuntimeClass());
    EXPECT_NE(bar, clone->GetCommandBar());
}

TEST_F(ControlShellTest, PopupsCompareTheirBarsControls)
{
    const struct
    {
        BOOL firstBar;
        BOOL secondBar;
        BOOL sameControls;
        BOOL secondIsButton;
        BOOL equal;
    } cases[] = {
        {TRUE, TRUE, TRUE, FALSE, TRUE},   {TRUE, TRUE, FALSE, FALSE, FALSE}, {FALSE, TRUE, FALSE, FALSE, TRUE},
        {TRUE, FALSE, FALSE, FALSE, TRUE}, {FALSE, FALSE, TRUE, FALSE, TRUE}, {FALSE, FALSE, TRUE, TRUE, FALSE},
    };
    for (const auto& c : cases)
    {
        RefPtr<COSMPopupBar> barA = AdoptRef(COSMPopupBar::CreatePopupBar(nullptr));
        RefPtr<COSMPopupBar> barB = AdoptRef(COSMPopupBar::CreatePopupBar(nullptr));
        barA->GetControls()->Add(1, 1);
        barB->GetControls()->Add(1, c.sameControls ? 1 : 2);
        COSMControlPopup first;
        first.SetCommandBar(c.firstBar ? barA.Get() : nullptr);
        RefPtr<COSMControl> second =
            AdoptRef(c.secondIsButton ? static_cast<COSMControl*>(new COSMControlButton) : new COSMControlPopup);
        second->SetType(2);
        if (!c.secondIsButton)
            static_cast<COSMControlPopup*>(second.Get())->SetCommandBar(c.secondBar ? barB.Get() : nullptr);
        EXPECT_EQ(c.equal, first.Compare(second.Get()))
            << c.firstBar << c.secondBar << c.sameControls << c.secondIsButton;
    }
    // The base comparison comes first.
    COSMControlPopup a;
    COSMControlPopup b;
    b.SetCaption("Other");
    EXPECT_FALSE(a.Compare(&b));
}

// Popups and the bars they open: menu opens sub, sub opens subSub; twin shares menu; loop sits in subSub and opens
// menu again; stranger opens a bar of its own.
class PopupTreeTest : public ControlShellTest
{
protected:
    void SetUp() override
    {
        ControlShellTest::SetUp();
        menuControl.SetCommandBar(menu.Get());
        twin.SetCommandBar(menu.Get());
        stranger.SetCommandBar(other.Get());
        subControl = AddOpener(menu.Get(), sub.Get());
        subSubControl = AddOpener(sub.Get(), subSub.Get());
        loop = AddOpener(subSub.Get(), menu.Get());
    }
    void TearDown() override
    {
        // The loop keeps the bars alive in a ring: break it.
        loop->SetCommandBar(nullptr);
        ControlShellTest::TearDown();
    }
    static COSMControlPopup* AddOpener(COSMCommandBar* in, COSMCommandBar* opens)
    {
        auto* control = static_cast<COSMControlPopup*>(in->GetControls()->Add(2, 0));
        control->SetCommandBar(opens);
        return control;
    }

    RefPtr<COSMPopupBar> menu = AdoptRef(COSMPopupBar::CreatePopupBar(nullptr));
    RefPtr<COSMPopupBar> sub = AdoptRef(COSMPopupBar::CreatePopupBar(nullptr));
    RefPtr<COSMPopupBar> subSub = AdoptRef(COSMPopupBar::CreatePopupBar(nullptr));
    RefPtr<COSMPopupBar> other = AdoptRef(COSMPopupBar::CreatePopupBar(nullptr));
    COSMControlPopup menuControl;
    COSMControlPopup twin;
    COSMControlPopup stranger;
    COSMControlPopup barless;
    COSMControlPopup* subControl = nullptr;
    COSMControlPopup* subSubControl = nullptr;
    COSMControlPopup* loop = nullptr;
};

TEST_F(PopupTreeTest, APopupContainsThePopupsOfItsBarAndBelowAndTheWalkEnds)
{
    const struct
    {
        const char* name;
        const COSMControlPopup* a;
        const COSMControlPopup* b;
        BOOL contains;
    } cases[] = {
        {"itself", &menuControl, &menuControl, TRUE},
        {"a twin sharing the bar", &menuControl, &twin, TRUE},
        {"the twin the other way", &twin, &menuControl, TRUE},
        {"a sub-menu", &menuControl, subControl, TRUE},
        {"a sub-sub-menu", &menuControl, subSubControl, TRUE},
        {"up through the loop", subSubControl, &menuControl, TRUE},
        {"a stranger", &menuControl, &stranger, FALSE},
        {"from a stranger", &stranger, subControl, FALSE},
        {"without a bar", &menuControl, &barless, FALSE},
        {"from no bar", &barless, &menuControl, FALSE},
        {"no control", &menuControl, nullptr, FALSE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.contains, c.a->ContainsPopup(c.b)) << c.name;
}

TEST_F(PopupTreeTest, ADraggedPopupIsRefusedOverItsOwnBarAndTheBarsOpenedBelowIt)
{
    // Open popups know the control that opened them: menu's sub is open from subControl, and so on.
    sub->SetControlPopup(subControl);
    subSub->SetControlPopup(subSubControl);
    COSMCommandBar toolbar;
    const struct
    {
        const char* name;
        COSMCommandBar* target;
        BOOL allowed;
    } cases[] = {
        {"its own bar", menu.Get(), FALSE},   {"a sub-menu", sub.Get(), FALSE}, {"a sub-sub-menu", subSub.Get(), FALSE},
        {"another popup", other.Get(), TRUE}, {"a toolbar", &toolbar, TRUE},
    };
    for (const auto& c : cases)
    {
        int effect = -1;
        EXPECT_EQ(c.allowed, menuControl.IsCustomizeDragOverAllowed(c.target, CPoint(1, 1), effect)) << c.name;
    }
    // A popup without a bar goes anywhere; a sub-menu's control only into what lies below it.
    int effect = -1;
    EXPECT_TRUE(barless.IsCustomizeDragOverAllowed(menu.Get(), CPoint(1, 1), effect));
    EXPECT_TRUE(subControl->IsCustomizeDragOverAllowed(menu.Get(), CPoint(1, 1), effect));
    EXPECT_FALSE(subControl->IsCustomizeDragOverAllowed(subSub.Get(), CPoint(1, 1), effect));
    sub->SetControlPopup(nullptr);
    subSub->SetControlPopup(nullptr);
}

}  // namespace
