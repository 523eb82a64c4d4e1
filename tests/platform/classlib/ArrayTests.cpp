// CArray and its named kinds: growth, insertion and removal, bounds, and the stored form.
#include "classlib/ClassLib.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

using classlib_test::Load;
using classlib_test::Store;

namespace {

template <class Array>
std::vector<typename std::remove_reference_t<decltype(std::declval<Array&>()[0])>> Elements(const Array& array)
{
    std::vector<typename std::remove_reference_t<decltype(std::declval<Array&>()[0])>> out;
    for (INT_PTR i = 0; i < array.GetSize(); ++i)
        out.push_back(array[i]);
    return out;
}

}  // namespace

TEST(CArray, AddsInsertsAndRemoves)
{
    CArray<int, int> array;
    EXPECT_TRUE(array.IsEmpty());
    EXPECT_EQ(array.GetUpperBound(), -1);
    EXPECT_EQ(array.Add(10), 0);
    EXPECT_EQ(array.Add(20), 1);
    array.InsertAt(1, 15);
    array.InsertAt(0, 5, 2);
    EXPECT_EQ(Elements(array), (std::vector<int>{5, 5, 10, 15, 20}));
    array.RemoveAt(1, 2);
    EXPECT_EQ(Elements(array), (std::vector<int>{5, 15, 20}));
    array.SetAt(0, 1);
    array[2] = 3;
    array.ElementAt(1) += 1;
    EXPECT_EQ(Elements(array), (std::vector<int>{1, 16, 3}));
    EXPECT_EQ(array.GetData()[1], 16);

    // Past the end, InsertAt and SetAtGrow grow the array; the gap is zero.
    array.InsertAt(5, 9, 2);
    EXPECT_EQ(Elements(array), (std::vector<int>{1, 16, 3, 0, 0, 9, 9}));
    array.SetAtGrow(8, 4);
    EXPECT_EQ(Elements(array), (std::vector<int>{1, 16, 3, 0, 0, 9, 9, 0, 4}));
    array.RemoveAll();
    EXPECT_EQ(array.GetSize(), 0);
}

TEST(CArray, AppendCopyAndInsertAnotherArray)
{
    CArray<int, int> a;
    CArray<int, int> b;
    for (int i : {1, 2, 3})
        a.Add(i);
    for (int i : {7, 8})
        b.Add(i);
    EXPECT_EQ(a.Append(b), 3);
    EXPECT_EQ(Elements(a), (std::vector<int>{1, 2, 3, 7, 8}));
    EXPECT_EQ(a.Append(a), 5);  // appending itself doubles it
    EXPECT_EQ(Elements(a), (std::vector<int>{1, 2, 3, 7, 8, 1, 2, 3, 7, 8}));
    a.Copy(b);
    EXPECT_EQ(Elements(a), (std::vector<int>{7, 8}));
    a.InsertAt(1, &b);
    EXPECT_EQ(Elements(a), (std::vector<int>{7, 7, 8, 8}));
    a.InsertAt(0, &a);
    EXPECT_EQ(Elements(a), (std::vector<int>{7, 7, 8, 8, 7, 7, 8, 8}));
}

TEST(CArray, AddingAnElementOfItsOwnSurvivesGrowth)
{
    CStringArray names;
    names.Add("first");
    for (int i = 0; i < 100; ++i)
        names.Add(names[0]);  // the argument lives in the block that moves
    EXPECT_EQ(names.GetSize(), 101);
    EXPECT_EQ(names[100], "first");
    names.InsertAt(0, names[50], 3);
    EXPECT_EQ(names[2], "first");
}

TEST(CArray, GrowsByTheStepSetWithSetSize)
{
    CArray<DWORD, DWORD> array;
    array.SetSize(1, 8);
    const DWORD* block = array.GetData();
    for (DWORD i = 1; i < 8; ++i)
        array.Add(i);
    EXPECT_EQ(array.GetData(), block);  // room for eight elements was made at once
    array.SetSize(3);
    EXPECT_EQ(array.GetSize(), 3);
    EXPECT_EQ(array[2], 2u);
    array.SetSize(6);
    EXPECT_EQ(array[5], 0u);  // new elements are zero
}

TEST(CArray, IndexesOutsideTheArrayRaise)
{
    CUIntArray array;
    array.Add(1);
    EXPECT_THROW(array.GetAt(1), std::out_of_range);
    EXPECT_THROW(array[-1], std::out_of_range);
    EXPECT_THROW(array.SetAt(5, 1), std::out_of_range);
    EXPECT_THROW(array.RemoveAt(0, 2), std::out_of_range);
    EXPECT_THROW(array.SetSize(-1), std::out_of_range);
    EXPECT_EQ(array.GetSize(), 1);
}

TEST(CArraySerialize, StoresTheCountThenTheElements)
{
    struct Case
    {
        const char* name;
        std::function<std::unique_ptr<CObject>()> make;
        std::vector<BYTE> bytes;
    };
    const Case cases[] = {
        {"CDWordArray",
         [] {
             auto p = std::make_unique<CDWordArray>();
             p->Add(0x11223344);
             p->Add(5);
             return std::unique_ptr<CObject>(std::move(p));
         },
         {0x02, 0x00, 0x44, 0x33, 0x22, 0x11, 0x05, 0x00, 0x00, 0x00}},
        {"CStringArray",
         [] {
             auto p = std::make_unique<CStringArray>();
             p->Add("ab");
             p->Add("");
             return std::unique_ptr<CObject>(std::move(p));
         },
         {0x02, 0x00, 0x02, 'a', 'b', 0x00}},
        {"empty CUIntArray", [] { return std::unique_ptr<CObject>(std::make_unique<CUIntArray>()); }, {0x00, 0x00}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CObject> original = c.make();
        EXPECT_EQ(Store(*original), c.bytes);
        // The named arrays are storable classes: made by name, loaded, stored again to the same bytes.
        std::unique_ptr<CObject> loaded(original->GetRuntimeClass()->CreateObject());
        ASSERT_NE(loaded, nullptr);
        EXPECT_TRUE(loaded->IsSerializable());
        Load(*loaded, c.bytes);
        EXPECT_EQ(Store(*loaded), c.bytes);
    }
}

TEST(CArraySerialize, PointerArraysAreKnownButNotStorable)
{
    CPtrArray pointers;
    EXPECT_TRUE(pointers.IsKindOf(RUNTIME_CLASS(CPtrArray)));
    EXPECT_FALSE(pointers.IsSerializable());
    EXPECT_EQ(CRuntimeClass::FromName("CStringArray"), RUNTIME_CLASS(CStringArray));
}
