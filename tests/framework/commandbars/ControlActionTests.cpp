// Command actions and their collection: ordering and lookup, notifications of bound controls, and what the
// collection's removal does to them. Headless.
#include "CommandBarsTestSupport.h"
#include "resources/CommandBarsTestIds.h"

#include "framework/commandbars/ControlAction.h"
#include "framework/commandbars/ControlActions.h"
#include "framework/commandbars/ControlButton.h"

#include <string>

using namespace commandbars_test;

namespace {

class NotifiedControl : public COSMControlButton
{
public:
    std::vector<std::string> events;
    void OnCaptionChanged() override { events.push_back("caption"); }
    void OnActionChanging(int property) override { events.push_back("changing " + std::to_string(property)); }
    void OnActionChanged(int property) override
    {
        events.push_back("changed " + std::to_string(property));
        COSMControlButton::OnActionChanged(property);
    }
};

// Counts its own destruction.
class CountedObject : public CCmdTarget
{
public:
    explicit CountedObject(int& destroyed) : m_destroyed(destroyed) {}
    ~CountedObject() override { ++m_destroyed; }

private:
    int& m_destroyed;
};

using ControlActionTest = CommandBarsTest;

TEST_F(ControlActionTest, FindActionSearchesByIdWithinTheValidRange)
{
    COSMControlActions actions(nullptr);
    for (UINT id : {5u, 3u, 9u, 268435454u})
        actions.Add(id);
    const struct
    {
        int id;
        BOOL found;
    } cases[] = {{3, TRUE},  {5, TRUE},   {9, TRUE},          {268435454, TRUE}, {4, FALSE},
                 {0, FALSE}, {-1, FALSE}, {268435455, FALSE}, {10, FALSE}};
    for (const auto& c : cases)
    {
        COSMControlAction* action = actions.FindAction(c.id);
        EXPECT_EQ(c.found, action != nullptr) << c.id;
        if (action)
        {
            EXPECT_EQ(static_cast<UINT>(c.id), action->GetID());
        }
    }
    // An id of 268435455 can be added but is never found.
    actions.Add(268435455u);
    EXPECT_EQ(nullptr, actions.FindAction(268435455));
    EXPECT_EQ(nullptr, COSMControlActions(nullptr).FindAction(5));
}

TEST_F(ControlActionTest, ActionsStayInIdOrderAndEqualIdsKeepTheirInsertionOrder)
{
    COSMControlActions actions(nullptr);
    std::vector<COSMControlAction*> made;
    for (UINT id : {7u, 2u, 7u, 11u, 7u, 1u})
    {
        auto* action = new COSMControlAction(&actions);
        actions.Add(id, action);
        made.push_back(action);
    }
    const std::vector<COSMControlAction*> expected = {made[5], made[1], made[0], made[2], made[4], made[3]};
    ASSERT_EQ(static_cast<int>(expected.size()), actions.GetCount());
    for (int i = 0; i < actions.GetCount(); ++i)
        EXPECT_EQ(expected[static_cast<size_t>(i)], actions.GetAt(i)) << i;
    EXPECT_EQ(7u, actions.FindAction(7)->GetID());
}

TEST_F(ControlActionTest, AddReturnsTheExistingActionAndReadsThePrompt)
{
    COSMControlActions actions(nullptr);
    COSMControlAction* paste = actions.Add(ID_TEST_PASTE);
    EXPECT_EQ(paste, actions.Add(ID_TEST_PASTE));
    EXPECT_EQ(1, actions.GetCount());
    EXPECT_STREQ("&Paste it", paste->GetCaptionText());
    EXPECT_STREQ("Paste", paste->GetTooltip());
    EXPECT_STREQ("V", paste->GetKeyboardTip());
    COSMControlAction* undo = actions.Add(ID_TEST_UNDO);
    EXPECT_TRUE(undo->GetCaptionText().IsEmpty());
    // Controls see the tooltip where the caption is empty.
    EXPECT_STREQ("Undo", undo->GetCaption());
}

TEST_F(ControlActionTest, CaptionNotifiesBoundControlsOnlyOnARealChange)
{
    const struct
    {
        const char* first;
        const char* second;
        const char* stored;
        BOOL notified;
    } cases[] = {
        {"Save", "Save", "Save", FALSE},
        {"Save", "Save\tCtrl+S", "Save", FALSE},  // the part after the tab is dropped
        {"Save", "Save as", "Save as", TRUE},
        {"", "Open", "Open", TRUE},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.second);
        COSMControlActions actions(nullptr);
        COSMControlAction* action = actions.Add(ID_TEST_PLAIN);
        action->SetCaption(c.first);
        COSMCommandBar barA;
        COSMCommandBar barB;
        NotifiedControl a;
        NotifiedControl b;
        a.SetParent(&barA);
        b.SetParent(&barB);
        a.SetAction(action);
        b.SetAction(action);
        a.events.clear();
        b.events.clear();
        action->SetCaption(c.second);
        EXPECT_STREQ(c.stored, action->GetCaptionText());
        const std::vector<std::string> expected =
            c.notified ? std::vector<std::string>{"changing 3", "changed 3", "caption"} : std::vector<std::string>{};
        EXPECT_EQ(expected, a.events);
        EXPECT_EQ(expected, b.events);
        EXPECT_EQ(c.notified, (barA.GetStateFlags() & COSMCommandBar::kStateLayoutPending) != 0);
        EXPECT_EQ(c.notified, (barB.GetStateFlags() & COSMCommandBar::kStateLayoutPending) != 0);
        a.SetAction(nullptr);
        b.SetAction(nullptr);
    }
}

TEST_F(ControlActionTest, RemoveAllUnbindsTheControls)
{
    auto actions = AdoptRef(new COSMControlActions(nullptr));
    COSMControl first;
    COSMControl second;
    first.SetAction(actions->Add(10));
    second.SetAction(actions->Add(20));
    actions->GetAt(1)->SetEnabled(FALSE);
    actions->RemoveAll();
    EXPECT_EQ(0, actions->GetCount());
    for (COSMControl* control : {&first, &second})
    {
        EXPECT_EQ(nullptr, control->GetAction());
        EXPECT_EQ(1, control->GetEnabled());
        EXPECT_EQ(0, control->GetChecked());
    }
}

TEST_F(ControlActionTest, ControlsDestroyedFirstLeaveTheAction)
{
    COSMControlActions actions(nullptr);
    COSMControlAction* action = actions.Add(10);
    {
        COSMControl control;
        control.SetAction(action);
        EXPECT_EQ(1, action->GetCount());
    }
    EXPECT_EQ(0, action->GetCount());
}

TEST_F(ControlActionTest, TheReferencedObjectLivesAsLongAsTheAction)
{
    int destroyed = 0;
    auto* object = new CountedObject(destroyed);
    {
        COSMControlActions actions(nullptr);
        actions.Add(10)->SetReferencedObject(object);
        EXPECT_EQ(2, RefCount(object));
        object->InternalRelease();
        EXPECT_EQ(0, destroyed);
    }
    EXPECT_EQ(1, destroyed);
}

TEST_F(ControlActionTest, ManagerHandsOutActionsByCommandId)
{
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    EXPECT_FALSE(commandBars->IsActionsEnabled());
    EXPECT_EQ(nullptr, commandBars->GetAction(ID_TEST_PASTE));
    COSMControlAction* action = commandBars->CreateAction(ID_TEST_PASTE);
    ASSERT_NE(nullptr, action);
    EXPECT_EQ(action, commandBars->GetAction(ID_TEST_PASTE));
    EXPECT_EQ(action, commandBars->CreateAction(ID_TEST_PASTE));
    EXPECT_EQ(commandBars.Get(), action->GetCommandBars());
    EXPECT_FALSE(commandBars->IsCustomizeAllBarsEnabled());
}

}  // namespace
