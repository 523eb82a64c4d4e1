// The edit and combo boxes: made by their Types, copied as their own classes, resizable in customize mode, the icon
// rule the paint manager asks before it draws or measures their icon; the edit's spin arithmetic, its stored keys
// by schema, and its copies. Headless.
#include "CommandBarsTestSupport.h"
#include "EditBoxTestSupport.h"

#include "framework/controls/ControlComboBox.h"
#include "framework/controls/ControlEdit.h"
#include "framework/foundation/PropExchangeArchive.h"
#include "classlib/Archive.h"
#include "classlib/MemFile.h"

#include <shlwapi.h>

#include <string>

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

namespace {

TEST_F(ControlEditComboTest, SpinStepsMoveToAMultipleOfTheStepInsideTheIntRange)
{
    const struct
    {
        const char* text;
        int step;
        int direction;
        const char* stepped;
    } cases[] = {
        {"7", 5, 1, "15"},
        {"-7", 5, -1, "-15"},
        {"abc", 1, 1, "1"},
        {"", 1, -1, "-1"},
        {"10", 5, 1, "15"},
        {"12x", 1, 1, "13"},
        {"2147483647", 1, 1, "2147483647"},
        {"2147483647", 5, 1, "2147483645"},
        {"99999999999999999999", 20, 1, "2147483640"},
        {"-2147483648", 1, -1, "-2147483648"},
        {"-2147483648", 5, -1, "-2147483645"},
        {"-99999999999999999999", 1, 1, "-2147483647"},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.stepped, std::string(COSMControlEdit::SteppedNumberText(c.text, c.step, c.direction)))
            << c.text << " " << c.step << " " << c.direction;
    }
}

TEST_F(ControlEditComboTest, AHeldSpinButtonStepsFasterTheLongerItIsHeld)
{
    const struct
    {
        DWORD heldMs;
        int step;
    } cases[] = {{0, 1}, {2047, 1}, {2048, 5}, {5119, 5}, {5120, 20}, {60000, 20}};
    for (const auto& c : cases)
        EXPECT_EQ(c.step, COSMControlEdit::SpinStepForHold(c.heldMs)) << c.heldMs;
}

TEST_F(ControlEditComboTest, TheEditKeysAreStoredFromTheirSchemas)
{
    COSMControlEdit source;
    source.SetHasLabel(TRUE);
    source.SetWidth(140);
    source.SetReadOnly(TRUE);
    source.SetEditHint("Search");
    source.EnableShellAutoComplete(SHACF_FILESYSTEM);
    source.SetEditStyle(ES_UPPERCASE);
    source.SetShowSpinButtons(TRUE);
    const struct
    {
        long schema;
        BOOL hasLabel;
        int width;
        BOOL readOnly;
        const char* hint;
        DWORD autoComplete;
        DWORD style;
        BOOL spin;
    } cases[] = {
        {5, FALSE, 100, FALSE, "", 0, 0, FALSE},
        {7, TRUE, 140, FALSE, "", 0, 0, FALSE},
        {8, TRUE, 140, TRUE, "", 0, 0, FALSE},
        {16, TRUE, 140, TRUE, "Search", SHACF_FILESYSTEM, 0, FALSE},
        {18, TRUE, 140, TRUE, "Search", SHACF_FILESYSTEM, ES_UPPERCASE, FALSE},
        {34, TRUE, 140, TRUE, "Search", SHACF_FILESYSTEM, ES_UPPERCASE, TRUE},
    };
    for (const auto& c : cases)
    {
        COSMControlEdit loaded;
        RoundTripAtSchema(source, loaded, c.schema);
        EXPECT_EQ(c.hasLabel, loaded.GetHasLabel()) << c.schema;
        EXPECT_EQ(c.width, loaded.GetWidth()) << c.schema;
        EXPECT_EQ(c.readOnly, loaded.GetReadOnly()) << c.schema;
        EXPECT_EQ(c.hint, std::string(loaded.GetEditHintField())) << c.schema;
        EXPECT_EQ(c.autoComplete, loaded.GetShellAutoCompleteFlags()) << c.schema;
        EXPECT_EQ(c.style, loaded.GetEditStyle()) << c.schema;
        EXPECT_EQ(c.spin, loaded.GetShowSpinButtons()) << c.schema;
    }
}

TEST_F(ControlEditComboTest, CopyTakesTheEditSettingsAndCompareTheClass)
{
    COSMControlEdit source;
    source.SetEditText("typed");
    source.SetHasLabel(TRUE);
    source.SetReadOnly(TRUE);
    source.SetEditHint("Hint");
    source.SetEditStyle(ES_NUMBER);
    source.SetShowSpinButtons(TRUE);
    COSMControlEdit copy;
    copy.Copy(&source, FALSE);
    EXPECT_EQ("typed", std::string(copy.GetEditText()));
    EXPECT_TRUE(copy.GetHasLabel());
    EXPECT_TRUE(copy.GetReadOnly());
    EXPECT_EQ("Hint", std::string(copy.GetEditHint()));
    EXPECT_EQ(static_cast<DWORD>(ES_NUMBER), copy.GetEditStyle());
    EXPECT_TRUE(copy.GetShowSpinButtons());
    EXPECT_TRUE(copy.Compare(&source));

    // A copy of an empty source shows the hint and reads empty; a button is never equal to an edit.
    COSMControlEdit empty;
    empty.SetEditHint("Type here");
    COSMControlEdit second;
    second.Copy(&empty, FALSE);
    EXPECT_TRUE(second.IsHintShown());
    EXPECT_EQ("", std::string(second.GetEditText()));
    COSMControl button;
    button.SetType(6);
    EXPECT_FALSE(source.Compare(&button));
}

}  // namespace
