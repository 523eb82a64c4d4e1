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
        Ref<COSMControl> control = MakeRef(static_cast<COSMControl*>(runtimeClass->CreateObject()));
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
    Ref<COSMControl> clone = MakeRef(source.Clone(FALSE));
    EXPECT_EQ(RUNTIME_CLASS(COSMControlButton), clone->GetRuntimeClass());
    EXPECT_TRUE(clone->Compare(&source));
    EXPECT_EQ(nullptr, clone->GetCommandBar());
}

TEST_F(ControlShellTest, CreateControlPopupStoresTheType)
{
    for (int type : {2, 3, 4})
    {
        Ref<COSMControlPopup> popup = MakeRef(COSMControlPopup::CreateControlPopup(type));
        EXPECT_EQ(type, popup->GetType());
        EXPECT_EQ(nullptr, popup->GetCommandBar());
        EXPECT_TRUE(popup->GetControlShadow());
        EXPECT_EQ(0, popup->GetCommandBarId());
    }
}

TEST_F(ControlShellTest, PopupHoldsOneReferenceOnItsBar)
{
    Ref<COSMCommandBar> first = MakeRef<COSMCommandBar>(COSMPopupBar::CreatePopupBar(nullptr));
    Ref<COSMCommandBar> second = MakeRef<COSMCommandBar>(COSMPopupBar::CreatePopupBar(nullptr));
    {
        COSMControlPopup popup;
        popup.SetCommandBar(first.get());
        EXPECT_EQ(2, RefCount(first.get()));
        popup.SetCommandBar(first.get());
        EXPECT_EQ(2, RefCount(first.get()));
        popup.SetCommandBar(second.get());
        EXPECT_EQ(1, RefCount(first.get()));
        EXPECT_EQ(2, RefCount(second.get()));
        EXPECT_EQ(second.get(), popup.GetCommandBar());
        popup.ExpandPopupBar();
        EXPECT_EQ(second.get(), popup.GetCommandBar());
    }
    EXPECT_EQ(1, RefCount(second.get()));
    COSMControlPopup empty;
    empty.SetCommandBar(second.get());
    empty.SetCommandBar(nullptr);
    EXPECT_EQ(nullptr, empty.GetCommandBar());
    EXPECT_EQ(1, RefCount(second.get()));
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

    Ref<COSMControl> clone = MakeRef(source->Clone(TRUE));
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
        Ref<COSMPopupBar> barA = MakeRef(COSMPopupBar::CreatePopupBar(nullptr));
        Ref<COSMPopupBar> barB = MakeRef(COSMPopupBar::CreatePopupBar(nullptr));
        barA->GetControls()->Add(1, 1);
        barB->GetControls()->Add(1, c.sameControls ? 1 : 2);
        COSMControlPopup first;
        first.SetCommandBar(c.firstBar ? barA.get() : nullptr);
        Ref<COSMControl> second =
            MakeRef(c.secondIsButton ? static_cast<COSMControl*>(new COSMControlButton) : new COSMControlPopup);
        second->SetType(2);
        if (!c.secondIsButton)
            static_cast<COSMControlPopup*>(second.get())->SetCommandBar(c.secondBar ? barB.get() : nullptr);
        EXPECT_EQ(c.equal, first.Compare(second.get()))
            << c.firstBar << c.secondBar << c.sameControls << c.secondIsButton;
    }
    // The base comparison comes first.
    COSMControlPopup a;
    COSMControlPopup b;
    b.SetCaption("Other");
    EXPECT_FALSE(a.Compare(&b));
}

}  // namespace
