// The object root's lifetime and identity, the type records and their registry, type initialisation, and the
// dependency-property registry.
#include "MarkupTestSupport.h"
#include "MarkupTestTypes.h"

#include "framework/markup/Markup.h"
#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupColor.h"
#include "framework/markup/MarkupContext.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupGradientStop.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupStyle.h"
#include "framework/markup/MarkupType.h"
#include "framework/markup/MarkupTypeRegistry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

using markup_test::CFinalReleaseCounter;
using markup_test::COtherNode;
using markup_test::CTestNode;
using markup_test::CTwinFirst;
using markup_test::CTwinSecond;
using markup_test::FinalReleaseTally;
using markup_test::Hold;
using markup_test::MarkupTest;
using markup_test::RefCount;

namespace {

int CountRegisteredTypes()
{
    int count = 0;
    for (COSMMarkupType* type = GetMarkupTypeRegistry()->GetFirstType(); type; type = type->GetNextType())
        ++count;
    return count;
}

bool IsInTypeList(const COSMMarkupType* wanted)
{
    for (COSMMarkupType* type = GetMarkupTypeRegistry()->GetFirstType(); type; type = type->GetNextType())
    {
        if (type == wanted)
            return true;
    }
    return false;
}

// ---- Three chained types whose records are made late, after every other type was initialised ----------------
std::vector<std::wstring> g_initialised;

class CChainBase : public COSMMarkupObject
{
public:
    static COSMMarkupType* GetClassType();
    static void Register() { g_initialised.push_back(L"base"); }
};
class CChainMiddle : public CChainBase
{
public:
    static COSMMarkupType* GetClassType();
    static void Register() { g_initialised.push_back(L"middle"); }
};
class CChainLeaf : public CChainMiddle
{
public:
    static COSMMarkupType* GetClassType();
    static void Register() { g_initialised.push_back(L"leaf"); }
};

COSMMarkupType* CChainBase::GetClassType()
{
    static COSMMarkupType* const s_pType =
        new COSMMarkupType(nullptr, L"CChainBase", nullptr, &COSMMarkupObject::GetClassType, &CChainBase::Register);
    return s_pType;
}
COSMMarkupType* CChainMiddle::GetClassType()
{
    static COSMMarkupType* const s_pType =
        new COSMMarkupType(nullptr, L"CChainMiddle", nullptr, &CChainBase::GetClassType, &CChainMiddle::Register);
    return s_pType;
}
COSMMarkupType* CChainLeaf::GetClassType()
{
    static COSMMarkupType* const s_pType =
        new COSMMarkupType(nullptr, L"CChainLeaf", nullptr, &CChainMiddle::GetClassType, &CChainLeaf::Register);
    return s_pType;
}

// The chain's records exist (uninitialised) before the test counts live objects.
class TypeInitialisationTest : public MarkupTest
{
protected:
    void SetUp() override
    {
        InitializeMarkupTypesOnce();
        CChainBase::GetClassType();
        CChainMiddle::GetClassType();
        CChainLeaf::GetClassType();
        MarkupTest::SetUp();
    }
};

}  // namespace

// ---- Lifetime and identity --------------------------------------------------------------------------------------

TEST_F(MarkupTest, FinalReleaseRunsOnceAndAKeptObjectCountsOnFromOne)
{
    CFinalReleaseCounter* object = new CFinalReleaseCounter;
    EXPECT_EQ(2, object->AddRef());
    EXPECT_EQ(1, object->Release());
    EXPECT_EQ(0, object->finalReleases);
    EXPECT_EQ(0, object->Release());
    EXPECT_EQ(1, object->finalReleases);
    // The last reference is never counted down: an object its final release kept reads 1, and the next cycle ends
    // in one more final release.
    EXPECT_EQ(1, object->GetRefCount());
    EXPECT_EQ(2, object->AddRef());
    EXPECT_EQ(1, object->Release());
    EXPECT_EQ(1, object->finalReleases);
    EXPECT_EQ(0, object->Release());
    EXPECT_EQ(2, object->finalReleases);
    object->Destroy();
}

TEST_F(MarkupTest, ReleaseAtZeroDeletesTheObjectOnce)
{
    const LONG before = COSMMarkupObject::GetLiveObjectCount();
    COSMMarkupObject* value = new COSMMarkupInt(5);
    EXPECT_EQ(before + 1, COSMMarkupObject::GetLiveObjectCount());
    EXPECT_EQ(0, value->Release());
    EXPECT_EQ(before, COSMMarkupObject::GetLiveObjectCount());
}

TEST_F(MarkupTest, HolderReleasesWhatItHoldsAndForgetsIt)
{
    COSMMarkupObject* value = new COSMMarkupInt(1);
    value->AddRef();
    Hold hold = Hold::Adopt(value);
    EXPECT_EQ(2, RefCount(value));
    hold.Reset();
    EXPECT_EQ(nullptr, hold.Get());
    EXPECT_EQ(1, RefCount(value));
    hold.Attach(value);
    EXPECT_EQ(value, hold.Detach());
    EXPECT_FALSE(hold);
    value->Release();
}

TEST_F(MarkupTest, HashKeyFoldsTheAddressToThirtyTwoBits)
{
    Hold object = Hold::Adopt(new COSMMarkupObject);
    const uint64_t address = reinterpret_cast<uintptr_t>(object.Get());
    EXPECT_EQ(static_cast<UINT>(address) ^ static_cast<UINT>(address >> 32), object->GetHashKey());
    Hold other = Hold::Adopt(new COSMMarkupObject);
    EXPECT_TRUE(object->IsEqual(object.Get()));
    EXPECT_FALSE(object->IsEqual(other.Get()));
    EXPECT_FALSE(object->IsEqual(nullptr));
}

TEST_F(MarkupTest, KindsFollowTheRegisteredBases)
{
    Hold brush = Hold::Adopt(new COSMMarkupSolidColorBrush(RGB(1, 2, 3)));
    EXPECT_TRUE(COSMMarkupObject::IsKindOf(brush.Get(), COSMMarkupSolidColorBrush::GetClassType()));
    EXPECT_TRUE(COSMMarkupObject::IsKindOf(brush.Get(), COSMMarkupBrush::GetClassType()));
    EXPECT_TRUE(COSMMarkupObject::IsKindOf(brush.Get(), COSMMarkupObject::GetClassType()));
    EXPECT_FALSE(COSMMarkupObject::IsKindOf(brush.Get(), COSMMarkupColor::GetClassType()));
    EXPECT_FALSE(COSMMarkupObject::IsKindOf(nullptr, COSMMarkupObject::GetClassType()));
    EXPECT_EQ(brush.Get(), MarkupDynamicCast(COSMMarkupBrush::GetClassType(), brush.Get()));
    EXPECT_EQ(nullptr, MarkupDynamicCast(COSMMarkupColor::GetClassType(), brush.Get()));
    EXPECT_EQ(nullptr, MarkupDynamicCast(COSMMarkupColor::GetClassType(), nullptr));
    EXPECT_EQ(nullptr, COSMMarkupObject::GetClassType()->GetBaseType());
    EXPECT_EQ(COSMMarkupCollection::GetClassType(), COSMMarkupGradientStops::GetClassType()->GetBaseType());
}

TEST_F(MarkupTest, TagNameIsTheObjectsOwnCopy)
{
    Hold object = Hold::Adopt(new COSMMarkupObject);
    EXPECT_EQ(nullptr, object->GetTagName());
    WCHAR tag[] = L"Border";
    object->SetTagName(tag);
    tag[0] = L'X';
    EXPECT_STREQ(L"Border", object->GetTagName());
    object->SetTagName(nullptr);
    EXPECT_EQ(nullptr, object->GetTagName());
}

TEST_F(MarkupTest, ContextCreatesDefaultInstancesOfAType)
{
    COSMMarkupContext* context = new COSMMarkupContext;
    Hold number = Hold::Adopt(context->CreateObject(COSMMarkupInt::GetClassType()));
    ASSERT_NE(nullptr, MarkupDynamicCast<COSMMarkupInt>(number.Get()));
    EXPECT_EQ(0, static_cast<COSMMarkupInt*>(number.Get())->GetValue());
    EXPECT_EQ(nullptr, context->CreateObject(nullptr));
    EXPECT_EQ(0, context->Release());
}

TEST_F(MarkupTest, TheLastReleasesAreTalliedByExactType)
{
    FinalReleaseTally tally;
    COSMMarkupContext* context = CreateMarkupContext(nullptr);
    COSMMarkupUIElement* root = ParseMarkup(
        context, "<Border><StackPanel><TextBlock>one</TextBlock><TextBlock>two</TextBlock></StackPanel></Border>");
    ASSERT_NE(nullptr, root);
    // What parsing made and dropped on the way does not count for the tree.
    tally.Reset();
    const LONG liveWithTree = COSMMarkupObject::GetLiveObjectCount();
    ReleaseMarkupElement(&root);
    ReleaseMarkupContext(&context);

    std::map<std::wstring, LONG> counts = tally.Counts();
    EXPECT_EQ(1, counts[L"COSMMarkupBorder"]);
    EXPECT_EQ(1, counts[L"COSMMarkupStackPanel"]);
    EXPECT_EQ(2, counts[L"COSMMarkupTextBlock"]);
    EXPECT_EQ(2, counts[L"COSMMarkupRun"]);
    // Each under its own class, never under a base's (classes without a record of their own, such as the value
    // stores, count under their registered base).
    for (LPCWSTR base : {L"COSMMarkupUIElement", L"COSMMarkupFrameworkElement", L"COSMMarkupPanel", L"COSMMarkupInline",
                         L"COSMMarkupTextElement"})
        EXPECT_EQ(0u, counts.count(base)) << std::string(base, base + wcslen(base));
    // Every object that went was counted once.
    LONG released = 0;
    for (const auto& entry : counts)
        released += entry.second;
    EXPECT_EQ(liveWithTree - COSMMarkupObject::GetLiveObjectCount(), released);

    tally.Reset();
    EXPECT_TRUE(tally.Counts().empty());
    // A release that leaves a reference is not a last one.
    Hold number = Hold::Adopt(new COSMMarkupInt(3));
    markup_test::Ref(number.Get());
    number.Get()->Release();
    EXPECT_TRUE(tally.Counts().empty());
    number.Reset();
    EXPECT_EQ(1, tally.Counts()[L"COSMMarkupInt"]);
}

// ---- Type records and their registry ---------------------------------------------------------------------------

TEST_F(MarkupTest, TagsAreFoundCaseSensitively)
{
    EXPECT_EQ(COSMMarkupColor::GetClassType(), GetMarkupTypeRegistry()->Lookup(L"Color"));
    EXPECT_EQ(nullptr, GetMarkupTypeRegistry()->Lookup(L"color"));
    EXPECT_EQ(nullptr, GetMarkupTypeRegistry()->Lookup(L"NoSuchTag"));
    EXPECT_EQ(nullptr, GetMarkupTypeRegistry()->Lookup(nullptr));
}

TEST_F(MarkupTest, ALaterRecordTakesTheTagAndBothStayInTheList)
{
    EXPECT_EQ(CTwinSecond::GetClassType(), GetMarkupTypeRegistry()->Lookup(L"OsmTestTwin"));
    EXPECT_TRUE(IsInTypeList(CTwinFirst::GetClassType()));
    EXPECT_TRUE(IsInTypeList(CTwinSecond::GetClassType()));
}

TEST_F(MarkupTest, TheEmptyTagIsOnlyInTheList)
{
    COSMMarkupType* stops = COSMMarkupGradientStops::GetClassType();
    EXPECT_STREQ(L"", stops->GetTag());
    EXPECT_TRUE(IsInTypeList(stops));
    EXPECT_EQ(nullptr, GetMarkupTypeRegistry()->Lookup(L""));
}

TEST_F(MarkupTest, RecordsCreateDefaultInstancesOfTheirClass)
{
    Hold brush = Hold::Adopt(COSMMarkupSolidColorBrush::GetClassType()->CreateInstance());
    EXPECT_EQ(COSMMarkupSolidColorBrush::GetClassType(), brush->GetType());
    EXPECT_STREQ(L"COSMMarkupSolidColorBrush", brush->GetType()->GetMarkupClassName());
    // A class without a record of its own answers its registered base's.
    CFinalReleaseCounter* counter = new CFinalReleaseCounter;
    EXPECT_EQ(COSMMarkupObject::GetClassType(), counter->GetType());
    counter->Destroy();
}

TEST_F(MarkupTest, BareTypeIsUnregisteredAndConvertsTagsToRecords)
{
    const int registered = CountRegisteredTypes();
    Hold bare = Hold::Adopt(COSMMarkupType::GetClassType()->CreateInstance());
    COSMMarkupType* type = MarkupDynamicCast<COSMMarkupType>(bare.Get());
    ASSERT_NE(nullptr, type);
    EXPECT_EQ(registered, CountRegisteredTypes());
    EXPECT_EQ(nullptr, type->GetTag());
    EXPECT_EQ(nullptr, type->GetBaseType());
    EXPECT_EQ(nullptr, type->CreateInstance());

    COSMMarkupType* color = COSMMarkupColor::GetClassType();
    const LONG colorRefs = RefCount(color);
    Hold tag = Hold::Adopt(new COSMMarkupString(L"Color", -1));
    Hold converted = Hold::Adopt(type->ConvertFrom(nullptr, tag.Get()));
    EXPECT_EQ(color, converted.Get());
    EXPECT_EQ(colorRefs + 1, RefCount(color));

    Hold unknown = Hold::Adopt(new COSMMarkupString(L"color", -1));
    EXPECT_EQ(nullptr, type->ConvertFrom(nullptr, unknown.Get()));
    Hold number = Hold::Adopt(new COSMMarkupInt(1));
    EXPECT_EQ(nullptr, type->ConvertFrom(nullptr, number.Get()));
}

TEST_F(MarkupTest, SettingATypeStyleReleasesThePreviousOneAndSealsTheNew)
{
    COSMMarkupType* type = COtherNode::GetClassType();
    const LONG before = COSMMarkupObject::GetLiveObjectCount();
    type->SetTypeStyle(new COSMMarkupStyle);
    const LONG oneStyle = COSMMarkupObject::GetLiveObjectCount();
    COSMMarkupStyle* second = new COSMMarkupStyle;
    EXPECT_FALSE(second->IsSealed());
    type->SetTypeStyle(second);
    EXPECT_EQ(oneStyle, COSMMarkupObject::GetLiveObjectCount());
    EXPECT_EQ(second, type->GetDefaultStyle());
    EXPECT_TRUE(second->IsSealed());
    type->SetTypeStyle(nullptr);
    EXPECT_EQ(before, COSMMarkupObject::GetLiveObjectCount());
}

// ---- Initialisation ---------------------------------------------------------------------------------------------

TEST_F(TypeInitialisationTest, InitialisingALeafRunsItsBasesFirstAndEachOnce)
{
    COSMMarkupType* leaf = CChainLeaf::GetClassType();
    ASSERT_FALSE(leaf->IsInitialized());
    leaf->EnsureInitialized();
    EXPECT_EQ((std::vector<std::wstring>{L"base", L"middle", L"leaf"}), g_initialised);
    EXPECT_TRUE(CChainBase::GetClassType()->IsInitialized());

    leaf->EnsureInitialized();
    CChainMiddle::GetClassType()->EnsureInitialized();
    InitializeRegisteredMarkupTypes();
    EXPECT_EQ(3u, g_initialised.size());
}

// ---- Dependency properties --------------------------------------------------------------------------------------

TEST_F(MarkupTest, NameAndKeyAreFoundOnEveryClassWithOrWithoutTheirPrefix)
{
    COSMMarkupType* brush = COSMMarkupSolidColorBrush::GetClassType();
    ASSERT_NE(nullptr, COSMMarkupObject::s_pNameProperty);
    EXPECT_EQ(COSMMarkupObject::s_pNameProperty, COSMMarkupDependencyProperty::FindProperty(brush, L"x:Name"));
    EXPECT_EQ(COSMMarkupObject::s_pNameProperty, COSMMarkupDependencyProperty::FindProperty(brush, L"Name"));
    EXPECT_EQ(COSMMarkupObject::s_pKeyProperty, COSMMarkupDependencyProperty::FindProperty(brush, L"x:Key"));
    EXPECT_EQ(nullptr, COSMMarkupDependencyProperty::FindProperty(brush, L"name"));
    EXPECT_EQ(nullptr, COSMMarkupDependencyProperty::FindProperty(brush, nullptr));
    EXPECT_EQ(nullptr, COSMMarkupDependencyProperty::FindProperty(nullptr, L"Name"));
    EXPECT_EQ(COSMMarkupString::GetClassType(), COSMMarkupObject::s_pNameProperty->GetValueType());
    EXPECT_EQ(COSMMarkupObject::GetClassType(), COSMMarkupObject::s_pKeyProperty->GetValueType());
    EXPECT_EQ(nullptr, COSMMarkupObject::s_pNameProperty->GetMetadata());
    // A property of one class is not found through another.
    EXPECT_EQ(COSMMarkupSolidColorBrush::s_pColorProperty, COSMMarkupDependencyProperty::FindProperty(brush, L"Color"));
    EXPECT_EQ(nullptr, COSMMarkupDependencyProperty::FindProperty(COSMMarkupBrush::GetClassType(), L"Color"));
}

TEST_F(MarkupTest, AnAddedOwnerFindsTheSamePropertyWithOneReferenceMore)
{
    COSMMarkupDependencyProperty* shared = CTestNode::s_pSharedProperty;
    ASSERT_EQ(nullptr, COSMMarkupDependencyProperty::FindProperty(COtherNode::GetClassType(), L"Shared"));
    const LONG refs = RefCount(shared);
    EXPECT_EQ(shared, shared->AddOwner(COtherNode::GetClassType()));
    EXPECT_EQ(refs + 1, RefCount(shared));
    EXPECT_EQ(shared, COSMMarkupDependencyProperty::FindProperty(COtherNode::GetClassType(), L"Shared"));
    EXPECT_EQ(shared, COSMMarkupDependencyProperty::FindProperty(CTestNode::GetClassType(), L"Shared"));
    EXPECT_EQ(CTestNode::GetClassType(), shared->GetOwnerType());
}

TEST_F(MarkupTest, PropertiesTakeConsecutiveIndexesInRegistrationOrder)
{
    const COSMMarkupDependencyProperty* const inOrder[] = {
        CTestNode::s_pInheritedProperty, CTestNode::s_pCountProperty, CTestNode::s_pTextProperty,
        CTestNode::s_pConvertedProperty, CTestNode::s_pFillProperty,  CTestNode::s_pKindProperty,
        CTestNode::s_pSharedProperty,    CTestNode::s_pDockProperty};
    for (size_t i = 1; i < sizeof inOrder / sizeof inOrder[0]; ++i)
        EXPECT_EQ(inOrder[i - 1]->GetIndex() + 1, inOrder[i]->GetIndex()) << i;
    EXPECT_GE(inOrder[0]->GetIndex(), 0);
    EXPECT_LT(CTestNode::s_pDockProperty->GetIndex(), COSMMarkupDependencyProperty::GetIndexedPropertyCount());
    EXPECT_FALSE(CTestNode::s_pCountProperty->IsAttached());
    EXPECT_FALSE(CTestNode::s_pCountProperty->IsEvent());
}

TEST_F(MarkupTest, AttachedPropertiesAreSetOnObjectsOfOtherClasses)
{
    COSMMarkupDependencyProperty* dock = CTestNode::s_pDockProperty;
    EXPECT_TRUE(dock->IsAttached());
    EXPECT_EQ(dock, COSMMarkupDependencyProperty::FindProperty(CTestNode::GetClassType(), L"Dock"));
    EXPECT_EQ(nullptr, COSMMarkupDependencyProperty::FindProperty(COtherNode::GetClassType(), L"Dock"));
    Hold other = Hold::Adopt(new COtherNode);
    other->SetValue(dock, new COSMMarkupInt(2));
    EXPECT_EQ(2, static_cast<COSMMarkupInt*>(other->GetValue(dock))->GetValue());
}

TEST_F(MarkupTest, BarePropertyTakesNoIndex)
{
    const int indexes = COSMMarkupDependencyProperty::GetIndexedPropertyCount();
    Hold bare = Hold::Adopt(COSMMarkupDependencyProperty::GetClassType()->CreateInstance());
    const COSMMarkupDependencyProperty* property = MarkupDynamicCast<COSMMarkupDependencyProperty>(bare.Get());
    ASSERT_NE(nullptr, property);
    EXPECT_EQ(-1, property->GetIndex());
    EXPECT_EQ(nullptr, property->GetName());
    EXPECT_EQ(indexes, COSMMarkupDependencyProperty::GetIndexedPropertyCount());
}
