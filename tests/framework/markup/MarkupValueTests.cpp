// Storing, finding, inheriting and reporting property values on a small tree of test nodes, the value store itself,
// and converting values given in markup.
#include "MarkupTestSupport.h"
#include "MarkupTestTypes.h"

#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupBuilder.h"
#include "framework/markup/MarkupColor.h"
#include "framework/markup/MarkupContext.h"
#include "framework/markup/MarkupProperties.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupType.h"
#include "framework/markup/MarkupTypeRegistry.h"
#include "platform/classlib/RefPtr.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using markup_test::BuilderMessage;
using markup_test::COtherNode;
using markup_test::CTestNode;
using markup_test::g_converterQuestions;
using markup_test::g_recordedChanges;
using markup_test::Hold;
using markup_test::MarkupTest;
using markup_test::RecordedChange;
using markup_test::Ref;
using markup_test::RefCount;

namespace {

const int kNone = RecordedChange::kNoValue;

int IntValue(const COSMMarkupObject* value)
{
    const COSMMarkupInt* number = MarkupDynamicCast<COSMMarkupInt>(value);
    return number ? number->GetValue() : kNone;
}

// A root node with two children: a test node, and a node of another class that holds a test node in turn.
class ValueTreeTest : public MarkupTest
{
protected:
    void SetUp() override
    {
        MarkupTest::SetUp();
        root = new CTestNode;
        child = static_cast<CTestNode*>(root->AddChild(new CTestNode));
        other = static_cast<COtherNode*>(root->AddChild(new COtherNode));
        below = static_cast<CTestNode*>(other->AddChild(new CTestNode));
        g_recordedChanges.clear();
    }
    void TearDown() override
    {
        root->Release();
        g_recordedChanges.clear();
        MarkupTest::TearDown();
    }

    // The changes recorded since the last call, forgotten.
    std::vector<RecordedChange> TakeChanges()
    {
        std::vector<RecordedChange> changes;
        changes.swap(g_recordedChanges);
        return changes;
    }

    CTestNode* root = nullptr;
    CTestNode* child = nullptr;
    COtherNode* other = nullptr;
    CTestNode* below = nullptr;
};

using ConversionTest = markup_test::MarkupBuilderTest;

}  // namespace

// ---- Storing and reporting --------------------------------------------------------------------------------------

TEST_F(ValueTreeTest, ChangesAreReportedOnlyWhenTheEffectiveValueChanges)
{
    COSMMarkupDependencyProperty* count = CTestNode::s_pCountProperty;
    // Null where there was nothing: no change.
    child->SetValue(count, nullptr);
    EXPECT_TRUE(TakeChanges().empty());

    child->SetValue(count, new COSMMarkupInt(3));
    std::vector<RecordedChange> changes = TakeChanges();
    ASSERT_EQ(1u, changes.size());
    EXPECT_EQ(child, changes[0].object);
    EXPECT_EQ(count, changes[0].property);
    EXPECT_EQ(kNone, changes[0].oldValue);
    EXPECT_EQ(3, changes[0].newValue);

    // An equal value in a new object: stored, not reported.
    COSMMarkupObject* equal = new COSMMarkupInt(3);
    child->SetValue(count, equal);
    EXPECT_TRUE(TakeChanges().empty());
    EXPECT_EQ(equal, child->GetValue(count));

    child->SetValue(count, nullptr);
    changes = TakeChanges();
    ASSERT_EQ(1u, changes.size());
    EXPECT_EQ(3, changes[0].oldValue);
    EXPECT_EQ(kNone, changes[0].newValue);
    EXPECT_EQ(nullptr, child->GetValue(count));
}

TEST_F(ValueTreeTest, AnInheritedChangeReachesEveryDescendantOfTheOwnersClass)
{
    COSMMarkupDependencyProperty* inherited = CTestNode::s_pInheritedProperty;
    root->SetValue(inherited, new COSMMarkupInt(5));
    const std::vector<RecordedChange> changes = TakeChanges();
    // The root itself, its test-node child, and the test node below the node of another class; not the other node.
    ASSERT_EQ(3u, changes.size());
    EXPECT_EQ(root, changes[0].object);
    EXPECT_EQ(child, changes[1].object);
    EXPECT_EQ(below, changes[2].object);
    for (const RecordedChange& change : changes)
    {
        EXPECT_EQ(0, change.oldValue);
        EXPECT_EQ(5, change.newValue);
    }
    EXPECT_EQ(5, IntValue(below->GetValue(inherited)));
    EXPECT_EQ(root, below->FindValueOwner(inherited));
    EXPECT_EQ(5, IntValue(other->GetValue(inherited)));
}

TEST_F(ValueTreeTest, ClearingALocalValueRevealsTheInheritedOneOnce)
{
    COSMMarkupDependencyProperty* inherited = CTestNode::s_pInheritedProperty;
    root->SetValue(inherited, new COSMMarkupInt(5));
    child->SetValue(inherited, new COSMMarkupInt(7));
    EXPECT_EQ(child, child->FindValueOwner(inherited));
    TakeChanges();

    child->SetValue(inherited, nullptr);
    const std::vector<RecordedChange> changes = TakeChanges();
    ASSERT_EQ(1u, changes.size());
    EXPECT_EQ(child, changes[0].object);
    EXPECT_EQ(7, changes[0].oldValue);
    EXPECT_EQ(5, changes[0].newValue);
    EXPECT_EQ(root, child->FindValueOwner(inherited));
}

TEST_F(ValueTreeTest, ValuesFallBackOnTheDefaultAndAreInheritedOnlyWhenTheMetadataSaysSo)
{
    // The default: not owned by anyone.
    EXPECT_EQ(0, IntValue(below->GetValue(CTestNode::s_pInheritedProperty)));
    EXPECT_EQ(nullptr, below->FindValueOwner(CTestNode::s_pInheritedProperty));
    // Not inherited: a child sees nothing of its parent's value.
    root->SetValue(CTestNode::s_pCountProperty, new COSMMarkupInt(9));
    EXPECT_EQ(nullptr, child->GetValue(CTestNode::s_pCountProperty));
    EXPECT_EQ(nullptr, child->FindValueOwner(CTestNode::s_pCountProperty));
    EXPECT_EQ(root, root->FindValueOwner(CTestNode::s_pCountProperty));
    EXPECT_EQ(nullptr, root->GetValue(nullptr));
}

TEST_F(ValueTreeTest, StoredValuesBecomeLogicalChildrenUntilTheyLeave)
{
    COSMMarkupDependencyProperty* count = CTestNode::s_pCountProperty;
    COSMMarkupObject* first = new COSMMarkupInt(1);
    Hold firstHold = Hold::Adopt(Ref(first));
    child->SetValue(count, first);
    EXPECT_EQ(child, first->GetLogicalParent());
    child->SetValue(count, new COSMMarkupInt(2));
    EXPECT_EQ(nullptr, first->GetLogicalParent());
    EXPECT_EQ(1, RefCount(first));
}

TEST_F(ValueTreeTest, ASharedValueKeepsTheParentOfTheStoreThatTookItLast)
{
    COSMMarkupObject* shared = COSMMarkupEnum::CreateValue(3);
    const LONG refs = RefCount(shared);
    // An enum-typed value is refused by an int property: use the Key property, which takes any object.
    root->SetValue(COSMMarkupObject::s_pKeyProperty, Ref(shared));
    child->SetValue(COSMMarkupObject::s_pKeyProperty, Ref(shared));
    EXPECT_EQ(child, shared->GetLogicalParent());
    root->SetValue(COSMMarkupObject::s_pKeyProperty, nullptr);
    EXPECT_EQ(child, shared->GetLogicalParent());
    child->SetValue(COSMMarkupObject::s_pKeyProperty, nullptr);
    EXPECT_EQ(nullptr, shared->GetLogicalParent());
    EXPECT_EQ(refs, RefCount(shared));
    shared->Release();
}

TEST_F(ValueTreeTest, ValuesThatCannotBeStoredAreReleased)
{
    const LONG live = COSMMarkupObject::GetLiveObjectCount();
    // No property.
    child->SetValue(nullptr, new COSMMarkupInt(1));
    // The wrong type: a bool for a string property.
    child->SetValue(CTestNode::s_pTextProperty, new COSMMarkupBool(TRUE));
    EXPECT_EQ(live, COSMMarkupObject::GetLiveObjectCount());
    EXPECT_EQ(nullptr, child->GetValue(CTestNode::s_pTextProperty));
    EXPECT_TRUE(TakeChanges().empty());
}

TEST_F(ValueTreeTest, DestroyingAnObjectReleasesItsValues)
{
    RefPtr<CTestNode> node = AdoptRef(new CTestNode);
    COSMMarkupObject* value = new COSMMarkupString(L"kept", -1);
    Hold valueHold = Hold::Adopt(Ref(value));
    node->SetValue(CTestNode::s_pTextProperty, value);
    EXPECT_EQ(2, RefCount(value));
    node.Reset();
    EXPECT_EQ(1, RefCount(value));
    EXPECT_EQ(nullptr, value->GetLogicalParent());
}

// ---- The value store --------------------------------------------------------------------------------------------

TEST_F(MarkupTest, StoreIgnoresSlotsItHasNotGotAndReleasesWhatWasHandedToThem)
{
    Hold owner = Hold::Adopt(new COSMMarkupObject);
    COSMMarkupProperties* store = new COSMMarkupProperties(owner.Get());
    Hold storeHold = Hold::Adopt(store);
    EXPECT_EQ(COSMMarkupDependencyProperty::GetIndexedPropertyCount(), store->GetSize());
    EXPECT_EQ(COSMMarkupObject::GetClassType(), store->GetType());
    const LONG live = COSMMarkupObject::GetLiveObjectCount();
    store->SetAt(-1, new COSMMarkupInt(1));
    store->SetAt(store->GetSize(), new COSMMarkupInt(2));
    EXPECT_EQ(live, COSMMarkupObject::GetLiveObjectCount());
    EXPECT_EQ(nullptr, store->GetAt(-1));
    EXPECT_EQ(nullptr, store->GetAt(store->GetSize()));
}

// A store keeps its first few values in itself and the rest on the heap: slots filled out of order past that point,
// replaced and emptied, must each still answer their own value, and every value must go with the store.
TEST_F(MarkupTest, StoreKeepsManyValuesInTheirSlotsAndReleasesEveryOne)
{
    Hold owner = Hold::Adopt(new COSMMarkupObject);
    COSMMarkupProperties* store = new COSMMarkupProperties(owner.Get());
    Hold storeHold = Hold::Adopt(store);
    const LONG live = COSMMarkupObject::GetLiveObjectCount();
    const int slots = std::min(store->GetSize(), 12);
    ASSERT_GE(slots, 9);
    const int order[] = {7, 2, 11, 0, 5, 9, 1, 10, 3, 8, 6, 4};
    for (int slot : order)
    {
        if (slot < slots)
            store->SetAt(slot, new COSMMarkupInt(100 + slot));
    }
    for (int slot = 0; slot < slots; ++slot)
    {
        ASSERT_NE(nullptr, store->GetAt(slot)) << slot;
        EXPECT_EQ(100 + slot, IntValue(store->GetAt(slot))) << slot;
        EXPECT_EQ(owner.Get(), store->GetAt(slot)->GetLogicalParent()) << slot;
    }
    // Replace one, empty two; the others stay where they were.
    store->SetAt(3, new COSMMarkupInt(33));
    store->SetAt(0, nullptr);
    store->SetAt(8, nullptr);
    for (int slot = 0; slot < slots; ++slot)
    {
        if (slot == 0 || slot == 8)
            EXPECT_EQ(nullptr, store->GetAt(slot)) << slot;
        else
            EXPECT_EQ(slot == 3 ? 33 : 100 + slot, IntValue(store->GetAt(slot))) << slot;
    }
    EXPECT_EQ(live + slots - 2, COSMMarkupObject::GetLiveObjectCount());
    storeHold.Reset();
    EXPECT_EQ(live - 1, COSMMarkupObject::GetLiveObjectCount());
}

TEST_F(MarkupTest, CopiedValuesAreSharedAndKeepTheirParent)
{
    Hold firstOwner = Hold::Adopt(new COSMMarkupObject);
    Hold secondOwner = Hold::Adopt(new COSMMarkupObject);
    COSMMarkupProperties* first = new COSMMarkupProperties(firstOwner.Get());
    Hold firstHold = Hold::Adopt(first);
    COSMMarkupProperties* second = new COSMMarkupProperties(secondOwner.Get());
    Hold secondHold = Hold::Adopt(second);

    const int slot = CTestNode::s_pCountProperty->GetIndex();
    COSMMarkupObject* value = new COSMMarkupInt(4);
    first->SetAt(slot, value);
    second->SetAt(slot + 1, new COSMMarkupInt(5));
    second->CopyFrom(first);
    EXPECT_EQ(value, second->GetAt(slot));
    EXPECT_EQ(5, IntValue(second->GetAt(slot + 1)));
    EXPECT_EQ(2, RefCount(value));
    EXPECT_EQ(firstOwner.Get(), value->GetLogicalParent());

    // The copy goes without touching the parent the value has in the first store.
    secondHold.Reset();
    EXPECT_EQ(firstOwner.Get(), value->GetLogicalParent());
    EXPECT_EQ(1, RefCount(value));
}

// ---- Conversion and content -------------------------------------------------------------------------------------

TEST_F(ConversionTest, AValueOfAnotherTypeIsConvertedOrRefusedWithTheBuildersMessage)
{
    Hold node = Hold::Adopt(new CTestNode);
    RefPtr<COSMMarkupObject> flag = AdoptRef(new COSMMarkupBool(TRUE));
    EXPECT_EQ("Cannot convert string in attribute 'Text' to object of type 'COSMMarkupString'",
              BuilderMessage([&] { node->SetPropertyObject(&builder, CTestNode::s_pTextProperty, flag.Get()); }));
    // Refused: still the caller's.
    EXPECT_EQ(1, RefCount(flag.Get()));
    flag.Reset();

    node->SetPropertyObject(&builder, CTestNode::s_pCountProperty, new COSMMarkupString(L"42px", -1));
    EXPECT_EQ(42, IntValue(node->GetValue(CTestNode::s_pCountProperty)));
    // A value of the property's type is stored as it is.
    COSMMarkupObject* number = new COSMMarkupInt(8);
    node->SetPropertyObject(&builder, CTestNode::s_pCountProperty, number);
    EXPECT_EQ(number, node->GetValue(CTestNode::s_pCountProperty));
}

TEST_F(ConversionTest, TheMetadataConverterIsAskedBeforeTheValueType)
{
    Hold node = Hold::Adopt(new CTestNode);
    g_converterQuestions = 0;
    node->SetPropertyObject(&builder, CTestNode::s_pConvertedProperty, new COSMMarkupString(L"hundred", -1));
    EXPECT_EQ(100, IntValue(node->GetValue(CTestNode::s_pConvertedProperty)));
    EXPECT_EQ(1, g_converterQuestions);
    // The converter knows no "7": the int's own conversion reads it.
    node->SetPropertyObject(&builder, CTestNode::s_pConvertedProperty, new COSMMarkupString(L"7", -1));
    EXPECT_EQ(7, IntValue(node->GetValue(CTestNode::s_pConvertedProperty)));
    EXPECT_EQ(2, g_converterQuestions);
}

TEST_F(ConversionTest, ColourTextOnABrushPropertyBecomesASolidBrush)
{
    Hold node = Hold::Adopt(new CTestNode);
    node->SetPropertyObject(&builder, CTestNode::s_pFillProperty, new COSMMarkupString(L"Red", -1));
    const COSMMarkupSolidColorBrush* brush =
        MarkupDynamicCast<COSMMarkupSolidColorBrush>(node->GetValue(CTestNode::s_pFillProperty));
    ASSERT_NE(nullptr, brush);
    EXPECT_EQ(RGB(255, 0, 0), brush->GetRepresentativeColor());
    EXPECT_EQ(0xFF0000FFu, brush->GetColor()->GetValue());

    RefPtr<COSMMarkupObject> text = AdoptRef(new COSMMarkupString(L"Reddish", -1));
    EXPECT_EQ("Cannot convert string in attribute 'Fill' to object of type 'COSMMarkupBrush'",
              BuilderMessage([&] { node->SetPropertyObject(&builder, CTestNode::s_pFillProperty, text.Get()); }));
    text.Reset();
}

TEST_F(ConversionTest, ATypeNameConvertsToItsRecordWithoutAddingOne)
{
    int registered = 0;
    for (COSMMarkupType* type = GetMarkupTypeRegistry()->GetFirstType(); type; type = type->GetNextType())
        ++registered;
    Hold node = Hold::Adopt(new CTestNode);
    node->SetPropertyObject(&builder, CTestNode::s_pKindProperty, new COSMMarkupString(L"SolidColorBrush", -1));
    EXPECT_EQ(COSMMarkupSolidColorBrush::GetClassType(), node->GetValue(CTestNode::s_pKindProperty));
    int after = 0;
    for (COSMMarkupType* type = GetMarkupTypeRegistry()->GetFirstType(); type; type = type->GetNextType())
        ++after;
    EXPECT_EQ(registered, after);
}

TEST_F(ConversionTest, ObjectsThatTakeNoContentSayWhyAndKeepNothing)
{
    Hold number = Hold::Adopt(new COSMMarkupInt(1));
    RefPtr<COSMMarkupObject> text = AdoptRef(new COSMMarkupString(L"abc", -1));
    EXPECT_EQ("Cannot convert the string 'abc' into a 'COSMMarkupInt' object",
              BuilderMessage([&] { number->SetContentObject(&builder, text.Get()); }));
    RefPtr<COSMMarkupObject> other = AdoptRef(new COSMMarkupDouble(2.0));
    EXPECT_EQ("Cannot add content to an object of type 'COSMMarkupInt'",
              BuilderMessage([&] { number->SetContentObject(&builder, other.Get()); }));
    EXPECT_EQ(1, RefCount(text.Get()));
    EXPECT_EQ(1, RefCount(other.Get()));
    text.Reset();
    other.Reset();
    EXPECT_FALSE(number->HasContentObject());
    EXPECT_FALSE(number->AllowWhiteSpaceContent());
}
