// The controls collection: controls made by Type and bound to actions, removal, links, search, keyboard
// navigation, Type changes, copies, comparisons and the original snapshot. Headless.
#include "CommandBarsTestSupport.h"
#include "resources/CommandBarsTestIds.h"

#include "framework/commandbars/ControlAction.h"
#include "framework/commandbars/ControlButton.h"
#include "framework/controls/ControlCheckBox.h"
#include "framework/controls/ControlComboBox.h"
#include "framework/controls/ControlCustom.h"
#include "framework/controls/ControlEdit.h"
#include "framework/controls/ControlLabel.h"
#include "framework/controls/ControlRadioButton.h"
#include "framework/commandbars/ControlPopup.h"

using namespace commandbars_test;

namespace {

// Stands in for the control classes that register later (label, check box, custom ...).
class RegisteredControl : public COSMControl
{
    DECLARE_DYNCREATE(RegisteredControl)
};
IMPLEMENT_DYNCREATE(RegisteredControl, COSMControl)

// The custom control is a button whose Type stays 1.
class CustomControl : public COSMControlButton
{
    DECLARE_DYNCREATE(CustomControl)
};
IMPLEMENT_DYNCREATE(CustomControl, COSMControlButton)

// A list control of its own class.
class ListControl : public COSMControlButton
{
    DECLARE_DYNCREATE(ListControl)
};
IMPLEMENT_DYNCREATE(ListControl, COSMControlButton)

COSMControl* CreateRegistered()
{
    return new RegisteredControl;
}
COSMControl* CreateCustom()
{
    return new CustomControl;
}
COSMControl* CreateList()
{
    return new ListControl;
}

// Controls tagged 1 stay whatever Remove and RemoveAll are asked.
class FixedControls : public COSMControls
{
public:
    BOOL IsFixedControl(const COSMControl* control) const override { return control->GetTag() == 1; }
};

class ControlsTest : public CommandBarsTest
{
protected:
    // A collection of buttons with the ids given, in a bar of its own.
    void Fill(std::initializer_list<int> ids)
    {
        for (int id : ids)
            ASSERT_NE(nullptr, controls->Add(1, id));
    }

    COSMCommandBar bar;
    COSMControls* controls = bar.GetControls();
};

TEST_F(ControlsTest, AddMakesControlsByType)
{
    const struct
    {
        int type;
        BOOL registered;
        CRuntimeClass* made;  // null: nothing made
        int storedType;
    } cases[] = {
        {1, FALSE, RUNTIME_CLASS(COSMControlButton), 1},
        {2, FALSE, RUNTIME_CLASS(COSMControlPopup), 2},
        {3, FALSE, RUNTIME_CLASS(COSMControlPopup), 3},
        {4, FALSE, RUNTIME_CLASS(COSMControlPopup), 4},
        {5, FALSE, RUNTIME_CLASS(COSMControlComboBox), 5},
        {5, TRUE, RUNTIME_CLASS(RegisteredControl), 5},
        {6, FALSE, RUNTIME_CLASS(COSMControlEdit), 6},
        {6, TRUE, RUNTIME_CLASS(RegisteredControl), 6},
        {7, FALSE, RUNTIME_CLASS(COSMControlCustom), 1},
        {7, TRUE, RUNTIME_CLASS(CustomControl), 1},  // the custom control keeps the button's Type
        {8, TRUE, RUNTIME_CLASS(RegisteredControl), 8},
        {8, FALSE, RUNTIME_CLASS(COSMControlLabel), 8},
        {9, FALSE, RUNTIME_CLASS(COSMControlCheckBox), 9},
        {10, TRUE, RUNTIME_CLASS(RegisteredControl), 10},
        {11, TRUE, RUNTIME_CLASS(RegisteredControl), 11},
        {11, FALSE, RUNTIME_CLASS(COSMControlRadioButton), 11},
        {0, TRUE, nullptr, 0},
        {12, TRUE, nullptr, 0},
        {-1, TRUE, nullptr, 0},
    };
    for (const auto& c : cases)
    {
        COSMControlFactory::ResetRegistrations();
        if (c.registered)
        {
            for (int type = 5; type <= 11; ++type)
                COSMControlFactory::RegisterType(type, type == 7 ? &CreateCustom : &CreateRegistered);
            COSMControlFactory::RegisterType(0, &CreateRegistered);
            COSMControlFactory::RegisterType(12, &CreateRegistered);
        }
        COSMCommandBar owner;
        COSMControl* control = owner.GetControls()->Add(c.type, ID_TEST_PLAIN);
        SCOPED_TRACE(c.type * 10 + c.registered);
        if (!c.made)
        {
            EXPECT_EQ(nullptr, control);
            EXPECT_EQ(0, owner.GetControlCount());
            continue;
        }
        ASSERT_NE(nullptr, control);
        EXPECT_EQ(c.made, control->GetRuntimeClass());
        EXPECT_EQ(c.storedType, control->GetType());
        EXPECT_EQ(1, owner.GetControlCount());
        EXPECT_EQ(&owner, control->GetParent());
        EXPECT_EQ(owner.GetControls(), control->GetControls());
    }
}

TEST_F(ControlsTest, ListCommandsMakeTheirOwnControlsOnceRegistered)
{
    const struct
    {
        int id;
        COSMControlFactory::ListControl kind;
    } cases[] = {{35000, COSMControlFactory::kWindowList},
                 {35002, COSMControlFactory::kWorkspaceActions},
                 {59392, COSMControlFactory::kToolbars},
                 {35003, COSMControlFactory::kRecentFileList}};
    for (const auto& c : cases)
    {
        // An empty slot makes nothing.
        COSMControlFactory::ResetRegistrations();
        COSMControlFactory::RegisterListControl(c.kind, nullptr);
        EXPECT_EQ(nullptr, controls->Add(1, c.id)) << c.id;
        COSMControlFactory::RegisterListControl(c.kind, &CreateList);
        COSMControl* control = controls->Add(1, c.id);
        ASSERT_NE(nullptr, control) << c.id;
        EXPECT_EQ(RUNTIME_CLASS(ListControl), control->GetRuntimeClass());
        EXPECT_EQ(static_cast<UINT>(c.id), control->GetID());
    }
    // 57616 is the recent-file list only in menus.
    COSMControl* plain = controls->Add(1, 57616);
    ASSERT_NE(nullptr, plain);
    EXPECT_EQ(RUNTIME_CLASS(COSMControlButton), plain->GetRuntimeClass());
}

TEST_F(ControlsTest, AddControlBindsActionsOutsideTheReservedIds)
{
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    bar.SetCommandBars(commandBars.Get());
    const struct
    {
        int id;
        BOOL actionsOn;
        BOOL bound;
    } cases[] = {
        {9100, TRUE, FALSE},      {9299, TRUE, FALSE},  {35000, TRUE, FALSE}, {35003, TRUE, FALSE},
        {9099, TRUE, TRUE},       {9300, TRUE, TRUE},   {35004, TRUE, TRUE},  {34999, TRUE, TRUE},
        {1, TRUE, TRUE},          {0, TRUE, FALSE},     {-5, TRUE, FALSE},    {268435454, TRUE, TRUE},
        {268435455, TRUE, FALSE}, {4000, FALSE, FALSE},
    };
    for (const auto& c : cases)
    {
        commandBars->EnableActions(c.actionsOn);
        COSMControl* control =
            controls->AddControl(static_cast<COSMControl*>(COSMControlButton::CreateObject()), c.id, "p", 0, TRUE);
        ASSERT_NE(nullptr, control);
        SCOPED_TRACE(c.id);
        EXPECT_EQ(c.bound, control->GetAction() != nullptr);
        EXPECT_EQ(static_cast<UINT>(c.id), control->GetID());
        EXPECT_STREQ("p", control->GetParameter());
        EXPECT_TRUE(control->IsTemporary());
        EXPECT_EQ(0, control->GetIndex());
        if (c.bound)
        {
            EXPECT_EQ(commandBars->GetAction(c.id), control->GetAction());
        }
    }
    EXPECT_EQ(nullptr, controls->AddControl(nullptr, 5));
    // An existing action binds even for a reserved id, with actions off.
    commandBars->EnableActions(FALSE);
    COSMControlAction* reserved = commandBars->CreateAction(9150);
    COSMControl* control = controls->Add(1, 9150);
    EXPECT_EQ(reserved, control->GetAction());
    controls->RemoveAll();
}

TEST_F(ControlsTest, InsertAtPlacesOrAppendsAndKeepsLinksCurrent)
{
    Fill({1, 2, 3});
    const struct
    {
        int before;
        int index;
    } cases[] = {{0, 0}, {2, 2}, {-1, 5}, {99, 6}, {6, 6}};
    for (const auto& c : cases)
    {
        COSMControl* control = controls->InsertAt(new COSMControl, c.before);
        EXPECT_EQ(c.index, control->GetIndex()) << c.before;
    }
    for (int i = 0; i < controls->GetCount(); ++i)
    {
        EXPECT_EQ(i, controls->GetAt(i)->GetIndex());
        EXPECT_EQ(&bar, controls->GetAt(i)->GetParent());
        EXPECT_EQ(controls, controls->GetAt(i)->GetControls());
    }
    EXPECT_EQ(nullptr, controls->InsertAt(nullptr, 0));
    EXPECT_EQ(nullptr, controls->GetAt(-1));
    EXPECT_EQ(nullptr, controls->GetAt(controls->GetCount()));
    EXPECT_TRUE(bar.GetStateFlags() & COSMCommandBar::kStateLayoutPending);
}

TEST_F(ControlsTest, RemoveTakesOnlyItsOwnControls)
{
    Fill({1, 2, 3});
    COSMCommandBar other;
    COSMControl* foreign = other.GetControls()->Add(1, 9);
    RefPtr<COSMControl> keep = AdoptRef(controls->GetAt(1));
    keep->InternalAddRef();

    controls->Remove(foreign);
    EXPECT_EQ(3, controls->GetCount());
    EXPECT_EQ(1, other.GetControlCount());
    EXPECT_EQ(other.GetControls(), foreign->GetControls());
    EXPECT_EQ(&other, foreign->GetParent());

    controls->Remove(keep.Get());
    EXPECT_EQ(2, controls->GetCount());
    EXPECT_EQ(nullptr, keep->GetControls());
    EXPECT_EQ(nullptr, keep->GetParent());
    EXPECT_EQ(1, RefCount(keep.Get()));
    EXPECT_EQ(1, controls->GetAt(1)->GetIndex());
    EXPECT_EQ(3u, controls->GetAt(1)->GetID());

    controls->RemoveAt(5);
    controls->RemoveAt(-1);
    EXPECT_EQ(2, controls->GetCount());
    controls->RemoveAt(0);
    EXPECT_EQ(1, controls->GetCount());
}

TEST_F(ControlsTest, RemovingAControlUnbindsItsAction)
{
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    commandBars->EnableActions(TRUE);
    bar.SetCommandBars(commandBars.Get());
    COSMControl* control = controls->Add(1, ID_TEST_PLAIN);
    COSMControlAction* action = control->GetAction();
    ASSERT_NE(nullptr, action);
    EXPECT_EQ(1, action->GetCount());
    controls->Remove(control);
    EXPECT_EQ(0, action->GetCount());
}

TEST_F(ControlsTest, FixedControlsSurviveRemoveAndRemoveAll)
{
    auto* fixed = new FixedControls;
    bar.SetControls(fixed);
    for (int i = 0; i < 5; ++i)
        fixed->Add(1, 100 + i)->SetTag(i % 2);
    fixed->Remove(fixed->GetAt(1));
    EXPECT_EQ(5, fixed->GetCount());
    fixed->RemoveAll();
    ASSERT_EQ(2, fixed->GetCount());
    EXPECT_EQ(101u, fixed->GetAt(0)->GetID());
    EXPECT_EQ(103u, fixed->GetAt(1)->GetID());
    EXPECT_EQ(1, fixed->GetAt(1)->GetIndex());
    fixed->Remove(fixed->GetAt(0));
    EXPECT_EQ(2, fixed->GetCount());
}

TEST_F(ControlsTest, SettingTheParentRelinksEveryControl)
{
    auto controlsOwn = AdoptRef(new COSMControls);
    controlsOwn->Add(1, 1);
    controlsOwn->Add(1, 2);
    EXPECT_EQ(nullptr, controlsOwn->GetAt(0)->GetParent());
    COSMCommandBar owner;
    controlsOwn->SetParent(&owner);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(&owner, controlsOwn->GetAt(i)->GetParent());
    EXPECT_TRUE(owner.GetStateFlags() & COSMCommandBar::kStateLayoutPending);
    controlsOwn->SetParent(nullptr);
    EXPECT_EQ(nullptr, controlsOwn->GetAt(1)->GetParent());
    // A free-standing collection has command bars of its own.
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    controlsOwn->SetCommandBars(commandBars.Get());
    EXPECT_EQ(commandBars.Get(), controlsOwn->GetCommandBars());
    EXPECT_EQ(commandBars.Get(), controlsOwn->GetAt(0)->GetCommandBars());
}

TEST_F(ControlsTest, FindControlByTypeIdVisibilityAndRecursion)
{
    Fill({10, 20});
    COSMControlPopup* popup = static_cast<COSMControlPopup*>(controls->Add(2, 0));
    ASSERT_NE(nullptr, popup->GetCommandBar());
    COSMControls* inner = popup->GetCommandBar()->GetControls();
    inner->Add(1, 42);
    inner->Add(1, 20)->SetVisible(FALSE);
    COSMControlPopup* innerPopup = static_cast<COSMControlPopup*>(inner->Add(3, 0));
    innerPopup->GetCommandBar()->GetControls()->Add(1, 77);
    controls->GetAt(1)->SetVisible(FALSE);

    const struct
    {
        int type;
        int id;
        BOOL visibleOnly;
        BOOL recursive;
        COSMControl* expected;
    } cases[] = {
        {0, 10, FALSE, FALSE, controls->GetAt(0)},
        {1, 10, FALSE, FALSE, controls->GetAt(0)},
        {2, 10, FALSE, FALSE, nullptr},
        {0, 20, FALSE, FALSE, controls->GetAt(1)},
        {0, 20, TRUE, FALSE, nullptr},
        {0, 20, TRUE, TRUE, nullptr},  // the inner 20 is hidden too
        {0, 42, FALSE, FALSE, nullptr},
        {0, 42, FALSE, TRUE, inner->GetAt(0)},
        {0, 77, FALSE, TRUE, innerPopup->GetCommandBar()->GetControls()->GetAt(0)},
        {2, -1, FALSE, FALSE, popup},
        {3, -1, FALSE, TRUE, innerPopup},
        {0, -1, TRUE, FALSE, controls->GetAt(0)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, controls->FindControl(c.type, c.id, c.visibleOnly, c.recursive))
            << c.type << " " << c.id << " " << c.visibleOnly << " " << c.recursive;
    EXPECT_EQ(controls->GetAt(1), controls->FindControlById(20));
}

TEST_F(ControlsTest, HitTestAndVisibleCounts)
{
    Fill({1, 2, 3, 4});
    for (int i = 0; i < 4; ++i)
        controls->GetAt(i)->SetRect(CRect(i * 10, 0, i * 10 + 10, 10));
    controls->GetAt(1)->SetHideFlags(COSMControl::kHideWrap);
    controls->GetAt(2)->SetHideFlags(COSMControl::kHideHidden);
    EXPECT_EQ(controls->GetAt(0), controls->HitTest(CPoint(5, 5)));
    EXPECT_EQ(nullptr, controls->HitTest(CPoint(15, 5)));
    EXPECT_EQ(nullptr, controls->HitTest(CPoint(25, 5)));
    EXPECT_EQ(controls->GetAt(3), controls->HitTest(CPoint(39, 9)));
    EXPECT_EQ(nullptr, controls->HitTest(CPoint(40, 5)));

    EXPECT_EQ(2, controls->GetVisibleCount(TRUE));
    EXPECT_EQ(3, controls->GetVisibleCount(FALSE));
    EXPECT_EQ(controls->GetAt(3), controls->GetVisibleAt(1, TRUE));
    EXPECT_EQ(controls->GetAt(1), controls->GetVisibleAt(1, FALSE));
    EXPECT_EQ(nullptr, controls->GetVisibleAt(2, TRUE));
    EXPECT_EQ(controls->GetAt(3), controls->GetVisibleAt(2, FALSE));
}

TEST_F(ControlsTest, GetNextWalksOnceRoundTheControls)
{
    // Per control: '.' can be taken, 'h' hidden, 's' skipped by the keyboard, 't' temporary, 'u' unused in a
    // collapsed menu, 'c' scrolled out of the popup.
    const struct
    {
        const char* controls;
        int index;
        int direction;
        BOOL keyboard;
        BOOL skipTemporary;
        BOOL layoutMask;
        int expected;
    } cases[] = {
        {"", -1, 1, TRUE, FALSE, FALSE, -1},
        {"....", -1, 1, TRUE, FALSE, FALSE, 0},
        {"....", -1, -1, TRUE, FALSE, FALSE, 3},
        {"....", 3, 1, TRUE, FALSE, FALSE, 0},
        {"....", 0, -1, TRUE, FALSE, FALSE, 3},
        {"hhhh", -1, 1, TRUE, FALSE, FALSE, -1},
        {"hhhh", -1, -1, TRUE, FALSE, FALSE, -1},
        {"hhhh", 2, 1, TRUE, FALSE, FALSE, -1},  // a hidden start is not the answer
        {"hh.h", 2, 1, TRUE, FALSE, FALSE, 2},   // the only one left is the start
        {"hh.h", 2, -1, TRUE, FALSE, FALSE, 2},
        {".hhh", 2, 1, TRUE, FALSE, FALSE, 0},
        {".hhh", 2, -1, TRUE, FALSE, FALSE, 0},
        {"s.s.", 1, 1, TRUE, FALSE, FALSE, 3},
        {"s.s.", 1, 1, FALSE, FALSE, FALSE, 2},
        {"ss", 0, 1, TRUE, FALSE, FALSE, -1},  // skipped start
        {".t.", 0, 1, TRUE, TRUE, FALSE, 2},
        {".t.", 0, 1, TRUE, FALSE, FALSE, 1},
        {".u.", 0, 1, TRUE, FALSE, FALSE, 1},  // unused controls count unless the layout asks
        {".u.", 0, 1, TRUE, FALSE, TRUE, 2},
        {".c.", 0, 1, TRUE, FALSE, TRUE, 1},  // scrolled-out ones always count
        {"..h", 1, 1, TRUE, FALSE, FALSE, 0},
        {"hhhh", 1, -1, TRUE, FALSE, FALSE, -1},  // hidden start, walking backwards
        {"hsh", 1, 1, TRUE, FALSE, FALSE, -1},    // the only visible one is skipped by the keyboard
        {"hsh", 1, -1, TRUE, FALSE, FALSE, -1},
        {"hsh", 1, 1, FALSE, FALSE, FALSE, 1},  // not by other navigation
        {"ht", 1, 1, TRUE, TRUE, FALSE, -1},    // a temporary start that temporary controls skip
    };
    for (const auto& c : cases)
    {
        COSMCommandBar owner;
        COSMControls* list = owner.GetControls();
        for (const char* p = c.controls; *p; ++p)
        {
            COSMControl* control = list->Add(1, 1);
            switch (*p)
            {
            case 'h':
                control->SetHideFlags(COSMControl::kHideHidden);
                break;
            case 's':
                control->SetFlags(COSMControl::kFlagSkipFocus);
                break;
            case 't':
                control->SetTemporary(TRUE);
                break;
            case 'u':
                control->SetHideFlags(COSMControl::kHideUsage);
                break;
            case 'c':
                control->SetHideFlags(COSMControl::kHideScroll);
                break;
            default:
                break;
            }
        }
        EXPECT_EQ(c.expected, list->GetNext(c.index, c.direction, c.keyboard, c.skipTemporary, c.layoutMask))
            << "'" << c.controls << "' " << c.index << " " << c.direction;
    }
}

TEST_F(ControlsTest, SetControlTypeChangesTheFieldOrReplacesTheControl)
{
    const struct
    {
        int from;
        int to;
        BOOL sameObject;
        BOOL replaced;
        CRuntimeClass* made;
    } cases[] = {
        {3, 2, TRUE, FALSE, RUNTIME_CLASS(COSMControlPopup)},
        {2, 4, TRUE, FALSE, RUNTIME_CLASS(COSMControlPopup)},
        {1, 2, FALSE, TRUE, RUNTIME_CLASS(COSMControlPopup)},
        {2, 1, FALSE, TRUE, RUNTIME_CLASS(COSMControlButton)},
        {1, 1, FALSE, TRUE, RUNTIME_CLASS(COSMControlButton)},
        {1, 12, FALSE, FALSE, nullptr},  // nothing can be made: the old control stays
        {2, 9, FALSE, TRUE, RUNTIME_CLASS(COSMControlCheckBox)},
        {2, 5, FALSE, TRUE, RUNTIME_CLASS(COSMControlComboBox)},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.from * 100 + c.to);
        COSMCommandBar owner;
        COSMControls* list = owner.GetControls();
        list->Add(1, 1);
        COSMControl* control = list->Add(c.from, ID_TEST_PLAIN);
        list->Add(1, 3);
        control->SetCaption("Kept");
        control->SetBeginGroup(TRUE);
        control->SetStyle(3);

        COSMControl* result = list->SetControlTypeAt(1, c.to);
        EXPECT_EQ(3, list->GetCount());
        if (c.sameObject)
        {
            EXPECT_EQ(control, result);
            EXPECT_EQ(c.to, control->GetType());
        }
        else if (c.replaced)
        {
            ASSERT_NE(nullptr, result);
            EXPECT_NE(control, result);
            EXPECT_EQ(result, list->GetAt(1));
            EXPECT_EQ(c.made, result->GetRuntimeClass());
            EXPECT_EQ(c.to, result->GetType());
            EXPECT_STREQ("Kept", result->GetCaptionText());
            EXPECT_TRUE(result->GetBeginGroup());
            EXPECT_EQ(3, result->GetStyleField());
            EXPECT_EQ(static_cast<UINT>(ID_TEST_PLAIN), result->GetID());
        }
        else
        {
            EXPECT_EQ(nullptr, result);
            EXPECT_EQ(control, list->GetAt(1));
            EXPECT_EQ(c.from, control->GetType());
            EXPECT_STREQ("Kept", control->GetCaptionText());
        }
    }
    COSMCommandBar other;
    EXPECT_EQ(nullptr, controls->SetControlType(other.GetControls()->Add(1, 1), 2));
    EXPECT_EQ(nullptr, controls->SetControlTypeAt(0, 2));
}

TEST_F(ControlsTest, CompareSkipsTemporaryControls)
{
    COSMCommandBar first;
    COSMCommandBar second;
    for (int id : {1, 2, 3})
    {
        first.GetControls()->Add(1, id);
        second.GetControls()->Add(1, id);
    }
    EXPECT_TRUE(first.GetControls()->Compare(second.GetControls()));
    second.GetControls()->Add(1, 9, "", 1, TRUE);
    second.GetControls()->Add(1, 8, "", -1, TRUE);
    EXPECT_TRUE(first.GetControls()->Compare(second.GetControls()));
    EXPECT_TRUE(second.GetControls()->Compare(first.GetControls()));
    first.GetControls()->Add(1, 4);
    EXPECT_FALSE(first.GetControls()->Compare(second.GetControls()));
    EXPECT_FALSE(second.GetControls()->Compare(first.GetControls()));
    second.GetControls()->Add(1, 5);
    EXPECT_FALSE(first.GetControls()->Compare(second.GetControls()));
}

TEST_F(ControlsTest, OriginalSnapshotShowsCustomization)
{
    Fill({1, 2});
    controls->Add(1, 3, "", -1, TRUE);
    EXPECT_TRUE(controls->IsChanged());  // never snapshotted
    controls->CreateOriginalControls();
    COSMOriginalControls* original = controls->GetOriginalControls();
    ASSERT_NE(nullptr, original);
    EXPECT_TRUE(original->IsOriginalControls());
    EXPECT_FALSE(controls->IsOriginalControls());
    EXPECT_EQ(2, original->GetCount());  // without the temporary control
    EXPECT_FALSE(controls->IsChanged());
    controls->GetAt(0)->SetCaption("Renamed");
    EXPECT_TRUE(controls->IsChanged());
    controls->GetAt(0)->SetCaption("");
    EXPECT_FALSE(controls->IsChanged());
    controls->Add(1, 4);
    EXPECT_TRUE(controls->IsChanged());
    controls->ClearOriginalControls();
    EXPECT_EQ(nullptr, controls->GetOriginalControls());
    EXPECT_TRUE(controls->IsChanged());
}

TEST_F(ControlsTest, CopyAndDuplicateTakeNonTemporaryControlsAndTheSnapshot)
{
    Fill({1, 2});
    controls->CreateOriginalControls();
    controls->Add(1, 3);
    controls->Add(1, 4, "", -1, TRUE);

    COSMCommandBar target;
    target.GetControls()->Add(1, 99);
    target.GetControls()->Copy(controls, TRUE);
    COSMControls* copied = target.GetControls();
    ASSERT_EQ(3, copied->GetCount());
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(static_cast<UINT>(i + 1), copied->GetAt(i)->GetID());
        EXPECT_EQ(&target, copied->GetAt(i)->GetParent());
        EXPECT_NE(controls->GetAt(i), copied->GetAt(i));
    }
    ASSERT_NE(nullptr, copied->GetOriginalControls());
    EXPECT_NE(controls->GetOriginalControls(), copied->GetOriginalControls());
    EXPECT_EQ(RUNTIME_CLASS(COSMOriginalControls), copied->GetOriginalControls()->GetRuntimeClass());
    EXPECT_EQ(2, copied->GetOriginalControls()->GetCount());
    EXPECT_TRUE(copied->IsChanged());

    RefPtr<COSMControls> duplicate = AdoptRef(controls->Duplicate(FALSE));
    EXPECT_EQ(RUNTIME_CLASS(COSMControls), duplicate->GetRuntimeClass());
    EXPECT_EQ(3, duplicate->GetCount());
    EXPECT_TRUE(duplicate->Compare(controls));
    ASSERT_NE(nullptr, duplicate->GetOriginalControls());
    EXPECT_TRUE(duplicate->GetOriginalControls()->Compare(controls->GetOriginalControls()));

    // A source without a snapshot takes the copy's away.
    COSMCommandBar plain;
    plain.GetControls()->Add(1, 5);
    target.GetControls()->Copy(plain.GetControls(), FALSE);
    EXPECT_EQ(nullptr, target.GetControls()->GetOriginalControls());
    EXPECT_EQ(1, target.GetControlCount());
}

TEST_F(ControlsTest, AddCloneInsertsACopyOfTheSameClass)
{
    COSMControl* source = controls->Add(2, ID_TEST_PLAIN);
    source->SetCaption("Tools");
    COSMControl* clone = controls->AddClone(source, 0, FALSE);
    ASSERT_NE(nullptr, clone);
    EXPECT_EQ(RUNTIME_CLASS(COSMControlPopup), clone->GetRuntimeClass());
    EXPECT_EQ(clone, controls->GetAt(0));
    EXPECT_TRUE(clone->Compare(source));
    EXPECT_EQ(1, source->GetIndex());
    // Not recursive: the two share one popup bar.
    EXPECT_EQ(source->GetCommandBar(), clone->GetCommandBar());
    COSMControl* deep = controls->AddClone(source, -1, TRUE);
    EXPECT_NE(source->GetCommandBar(), deep->GetCommandBar());
    EXPECT_EQ(RUNTIME_CLASS(COSMPopupBar), deep->GetCommandBar()->GetRuntimeClass());
}

}  // namespace
