// CList: both ends, walking both ways, insertion and removal at positions, searching, and the stored form.
#include "classlib/ClassLib.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

using CIntList = CList<int, int>;

std::vector<int> Forward(const CIntList& list)
{
    std::vector<int> out;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        out.push_back(list.GetNext(pos));
    return out;
}

std::vector<int> Backward(const CIntList& list)
{
    std::vector<int> out;
    for (POSITION pos = list.GetTailPosition(); pos;)
        out.push_back(list.GetPrev(pos));
    return out;
}

}  // namespace

TEST(CList, AddsAtBothEndsAndWalksBothWays)
{
    CIntList list;
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
    list.AddTail(2);
    list.AddTail(3);
    list.AddHead(1);
    EXPECT_EQ(Forward(list), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(Backward(list), (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(list.GetHead(), 1);
    EXPECT_EQ(list.GetTail(), 3);
    EXPECT_EQ(list.GetCount(), 3);

    CIntList other;
    other.AddTail(8);
    other.AddTail(9);
    list.AddHead(&other);
    list.AddTail(&other);
    EXPECT_EQ(Forward(list), (std::vector<int>{8, 9, 1, 2, 3, 8, 9}));
    list.AddTail(&list);  // a list may add itself
    EXPECT_EQ(list.GetCount(), 14);
    EXPECT_EQ(list.GetTail(), 9);
}

TEST(CList, InsertsAndRemovesAtPositions)
{
    CIntList list;
    POSITION two = list.AddTail(2);
    list.InsertBefore(two, 1);
    POSITION four = list.InsertAfter(two, 4);
    list.InsertBefore(four, 3);
    list.InsertBefore(nullptr, 0);  // at the head
    list.InsertAfter(nullptr, 5);   // at the tail
    EXPECT_EQ(Forward(list), (std::vector<int>{0, 1, 2, 3, 4, 5}));

    list.SetAt(two, 20);
    EXPECT_EQ(list.GetAt(two), 20);
    list.RemoveAt(two);
    EXPECT_EQ(Forward(list), (std::vector<int>{0, 1, 3, 4, 5}));
    EXPECT_EQ(list.RemoveHead(), 0);
    EXPECT_EQ(list.RemoveTail(), 5);
    EXPECT_EQ(Forward(list), (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(Backward(list), (std::vector<int>{4, 3, 1}));
    list.RemoveAt(list.GetTailPosition());
    list.RemoveAt(list.GetHeadPosition());
    EXPECT_EQ(Forward(list), (std::vector<int>{3}));
    EXPECT_EQ(list.RemoveHead(), 3);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetTailPosition(), nullptr);
}

TEST(CList, FindsByValueAndIndex)
{
    CIntList list;
    for (int value : {4, 7, 4, 9})
        list.AddTail(value);
    POSITION first = list.Find(4);
    ASSERT_NE(first, nullptr);
    POSITION second = list.Find(4, first);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(second, list.FindIndex(2));
    EXPECT_EQ(list.Find(4, second), nullptr);
    EXPECT_EQ(list.Find(5), nullptr);
    EXPECT_EQ(list.FindIndex(0), list.GetHeadPosition());
    EXPECT_EQ(list.FindIndex(3), list.GetTailPosition());
    EXPECT_EQ(list.FindIndex(4), nullptr);
    EXPECT_EQ(list.FindIndex(-1), nullptr);

    CPtrList pointers;
    int a = 0;
    int b = 0;
    pointers.AddTail(&a);
    pointers.AddTail(&b);
    EXPECT_EQ(pointers.GetAt(pointers.Find(&b)), &b);
}

TEST(CList, ManyNodesAcrossBlocksAreReused)
{
    CIntList list;
    for (int round = 0; round < 3; ++round)
    {
        for (int i = 0; i < 25; ++i)
            list.AddTail(i);
        for (int i = 0; i < 20; ++i)
            list.RemoveHead();
        EXPECT_EQ(Forward(list).size(), static_cast<size_t>(5 * (round + 1)));
    }
    // Each round left the last 5 of its own 25 and took the older survivors first.
    std::vector<int> expected;
    for (int i = 10; i < 25; ++i)
        expected.push_back(i);
    EXPECT_EQ(Forward(list), expected);
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    list.AddTail(1);
    EXPECT_EQ(Forward(list), (std::vector<int>{1}));
}

TEST(CList, EmptyEndsAndNullPositionsRaise)
{
    CIntList list;
    EXPECT_THROW(list.RemoveHead(), std::out_of_range);
    EXPECT_THROW(list.RemoveTail(), std::out_of_range);
    EXPECT_THROW(list.GetHead(), std::out_of_range);
    POSITION none = nullptr;
    EXPECT_THROW(list.GetNext(none), std::out_of_range);
    EXPECT_THROW(list.GetAt(nullptr), std::out_of_range);
}

TEST(CList, StoresTheCountThenTheElementsHeadToTail)
{
    CList<WORD, WORD> list;
    list.AddTail(0x0102);
    list.AddHead(0x0304);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        list.Serialize(ar);
    }
    std::vector<BYTE> stored(static_cast<size_t>(file.GetLength()));
    file.SeekToBegin();
    file.Read(stored.data(), static_cast<UINT>(stored.size()));
    EXPECT_EQ(stored, (std::vector<BYTE>{0x02, 0x00, 0x04, 0x03, 0x02, 0x01}));

    file.SeekToBegin();
    CList<WORD, WORD> loaded;
    CArchive ar(&file, CArchive::load);
    loaded.Serialize(ar);
    ASSERT_EQ(loaded.GetCount(), 2);
    EXPECT_EQ(loaded.GetHead(), 0x0304);
    EXPECT_EQ(loaded.GetTail(), 0x0102);
}
