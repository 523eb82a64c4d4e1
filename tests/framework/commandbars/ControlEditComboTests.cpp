// The edit and combo-box stand-ins: made by their Types, copied as their own classes, resizable in customize mode,
// and the icon rule the paint manager asks before it draws or measures their icon. Headless.
#include "CommandBarsTestSupport.h"

#include "framework/controls/ControlComboBox.h"
#include "framework/controls/ControlEdit.h"

using namespace commandbars_test;

namespace {

class ControlEditComboTest : public CommandBarsTest
{
protected:
    COSMCommandBar bar;
};

}  // namespace

TEST_F(ControlEditComboTest, TypesFiveAndSixMakeTheComboBoxAndTheEdit)
{
    const struct
    {
        int type;
        CRuntimeClass* made;
    } cases[] = {{5, RUNTIME_CLASS(COSMControlComboBox)}, {6, RUNTIME_CLASS(COSMControlEdit)}};
    for (const auto& c : cases)
    {
        COSMControl* control = bar.GetControls()->Add(c.type, 4600);
        ASSERT_NE(nullptr, control) << c.type;
        EXPECT_EQ(c.made, control->GetRuntimeClass());
        EXPECT_EQ(c.type, control->GetType());
        EXPECT_TRUE(control->IsCustomizeResizeAllowed());
        control->SetCaption("Find");
        control->SetWidth(120);

        // A copy is of the same class, with the control's settings; what the paint manager measured is not copied.
        RefPtr<COSMControl> clone = AdoptRef(control->Clone(FALSE));
        ASSERT_NE(nullptr, clone.Get());
        EXPECT_EQ(c.made, clone->GetRuntimeClass());
        EXPECT_EQ(c.type, clone->GetType());
        EXPECT_TRUE(clone->Compare(control));
    }
}

TEST_F(ControlEditComboTest, EditIconIsVisibleByBarStyleAndIconId)
{
    const struct
    {
        int barType;
        int style;
        int iconId;
        BOOL visible;
    } cases[] = {
        // A popup bar asks only for an icon id above 0.
        {2, 0, 5, TRUE},
        {2, 1, 5, TRUE},
        {2, 3, 0, FALSE},
        {2, 3, -1, FALSE},
        // Elsewhere styles 2 and 3 with any id but 0.
        {1, 2, 5, TRUE},
        {1, 3, 5, TRUE},
        {1, 3, -1, TRUE},
        {1, 3, 0, FALSE},
        {1, 1, 5, FALSE},
        {1, 0, 5, FALSE},
        {0, 4, 5, FALSE},
    };
    for (const auto& c : cases)
    {
        bar.SetType(c.barType);
        COSMControlEdit edit;
        edit.SetParent(&bar);
        edit.SetStyle(c.style);
        edit.SetIconId(c.iconId);
        EXPECT_EQ(c.visible, IsEditIconVisible(&edit)) << c.barType << " " << c.style << " " << c.iconId;
    }
}
