// CMap: the walking order that stored data depends on, lookups and removal, and the map's own stored form.
#include "classlib/ClassLib.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

using classlib_test::Load;
using classlib_test::Store;

namespace {

using CIdMap = CMap<UINT, UINT, UINT, UINT>;

std::vector<UINT> WalkKeys(const CIdMap& map)
{
    std::vector<UINT> keys;
    for (POSITION pos = map.GetStartPosition(); pos;)
    {
        UINT key = 0;
        UINT value = 0;
        map.GetNextAssoc(pos, key, value);
        keys.push_back(key);
    }
    return keys;
}

const UINT kOrderKeys[] = {5, 0x110, 0x10, 0x120, 3};

}  // namespace

TEST(CMapOrder, WalksBucketsUpwardNewestFirstWithinABucket)
{
    struct Case
    {
        UINT buckets;
        std::vector<UINT> order;
    };
    // (key >> 4) mod 17: 5, 0x110 and 3 share bucket 0, 0x10 and 0x120 bucket 1. With 127 buckets only 5 and 3 do.
    const Case cases[] = {
        {17, {3, 0x110, 5, 0x120, 0x10}},
        {127, {3, 5, 0x10, 0x110, 0x120}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.buckets);
        CIdMap map;
        if (c.buckets != 17)
            map.InitHashTable(c.buckets);
        EXPECT_EQ(map.GetHashTableSize(), c.buckets);
        for (UINT key : kOrderKeys)
            map[key] = key * 2;
        EXPECT_EQ(WalkKeys(map), c.order);
        EXPECT_EQ(map.GetCount(), 5);
    }
}

TEST(CMapOrder, ReplacingAValueKeepsItsPlaceReinsertingMovesItToTheFront)
{
    CIdMap map;
    for (UINT key : kOrderKeys)
        map.SetAt(key, 1);
    map.SetAt(5, 50);
    map[0x10] = 160;
    EXPECT_EQ(WalkKeys(map), (std::vector<UINT>{3, 0x110, 5, 0x120, 0x10}));
    UINT value = 0;
    EXPECT_TRUE(map.Lookup(5, value));
    EXPECT_EQ(value, 50u);
    EXPECT_TRUE(map.Lookup(0x10, value));
    EXPECT_EQ(value, 160u);

    EXPECT_TRUE(map.RemoveKey(5));
    EXPECT_TRUE(map.RemoveKey(0x120));
    EXPECT_EQ(WalkKeys(map), (std::vector<UINT>{3, 0x110, 0x10}));
    map.SetAt(5, 7);
    map.SetAt(0x120, 8);
    EXPECT_EQ(WalkKeys(map), (std::vector<UINT>{5, 3, 0x110, 0x120, 0x10}));
}

TEST(CMapOrder, ResizingAFilledTableKeepsTheWalkOfEachNewBucket)
{
    CIdMap map;
    for (UINT key : kOrderKeys)
        map[key] = key;
    map.InitHashTable(127);
    EXPECT_EQ(WalkKeys(map), (std::vector<UINT>{3, 5, 0x10, 0x110, 0x120}));
    UINT value = 0;
    for (UINT key : kOrderKeys)
    {
        EXPECT_TRUE(map.Lookup(key, value));
        EXPECT_EQ(value, key);
    }
}

TEST(CMap, LooksUpRemovesAndEmpties)
{
    CIdMap map;
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_EQ(map.GetStartPosition(), nullptr);
    UINT value = 99;
    EXPECT_FALSE(map.Lookup(1, value));
    EXPECT_FALSE(map.RemoveKey(1));
    EXPECT_EQ(value, 99u);

    // Enough keys to fill many node blocks, then every other one removed and the walk checked.
    for (UINT key = 0; key < 1000; ++key)
        map[key * 7] = key;
    EXPECT_EQ(map.GetCount(), 1000);
    for (UINT key = 0; key < 1000; key += 2)
        EXPECT_TRUE(map.RemoveKey(key * 7));
    EXPECT_FALSE(map.RemoveKey(0));
    EXPECT_EQ(map.GetCount(), 500);
    std::set<UINT> seen;
    for (POSITION pos = map.GetStartPosition(); pos;)
    {
        UINT key = 0;
        map.GetNextAssoc(pos, key, value);
        EXPECT_EQ(key % 14, 7u);
        EXPECT_EQ(value, key / 7);
        EXPECT_TRUE(seen.insert(key).second);
    }
    EXPECT_EQ(seen.size(), 500u);

    map.RemoveAll();
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_EQ(map.GetStartPosition(), nullptr);
    map[3] = 4;  // usable again after emptying
    EXPECT_TRUE(map.Lookup(3, value));
    EXPECT_EQ(value, 4u);
}

TEST(CMap, StringKeysHashTheirText)
{
    CMap<CString, LPCSTR, int, int> map;
    map["Standard"] = 1;
    map["Menu Bar"] = 2;
    map.SetAt(CString("Standard"), 3);
    EXPECT_EQ(map.GetCount(), 2);
    int value = 0;
    EXPECT_TRUE(map.Lookup("Standard", value));
    EXPECT_EQ(value, 3);
    EXPECT_FALSE(map.Lookup("standard", value));
    EXPECT_EQ(HashKey<LPCSTR>("ab"), static_cast<UINT>('a' * 33 + 'b'));
    EXPECT_EQ(HashKey<const CString&>(CString("ab")), HashKey<LPCSTR>("ab"));
}

TEST(CMapStringToPtr, NamesKeepPointersThatStayTheCallers)
{
    int first = 1, second = 2;
    CMapStringToPtr map(10);
    map.InitHashTable(199);
    EXPECT_EQ(map.GetHashTableSize(), 199u);
    map.SetAt("TOOLTIPFRAME", &first);
    map.SetAt("tooltipframe", &second);  // another key: names are compared byte for byte
    map["TOOLTIPFRAME"] = &second;
    EXPECT_EQ(map.GetCount(), 2);
    void* found = nullptr;
    EXPECT_TRUE(map.Lookup("TOOLTIPFRAME", found));
    EXPECT_EQ(found, &second);
    EXPECT_FALSE(map.Lookup("TooltipFrame", found));
    // Walking hands out each name with its pointer; removing frees nothing the pointers point to.
    std::vector<std::string> names;
    for (POSITION pos = map.GetStartPosition(); pos;)
    {
        CString name;
        void* pointer = nullptr;
        map.GetNextAssoc(pos, name, pointer);
        EXPECT_EQ(pointer, &second);
        names.push_back(name.GetString());
    }
    EXPECT_EQ(names.size(), 2u);
    EXPECT_TRUE(map.RemoveKey("tooltipframe"));
    map.RemoveAll();
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_EQ(first + second, 3);
}

TEST(CMapSerialize, StoresTheCountThenKeyAndValueBytesInWalkingOrder)
{
    CIdMap map;
    for (UINT key : kOrderKeys)
        map[key] = 0xA0000000u | key;
    const std::vector<BYTE> expected = {
        0x05, 0x00,                                      // the count
        0x03, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0xA0,  // 3
        0x10, 0x01, 0x00, 0x00, 0x10, 0x01, 0x00, 0xA0,  // 0x110
        0x05, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0xA0,  // 5
        0x20, 0x01, 0x00, 0x00, 0x20, 0x01, 0x00, 0xA0,  // 0x120
        0x10, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0xA0,  // 0x10
    };
    EXPECT_EQ(Store(map), expected);

    CIdMap loaded;
    loaded.InitHashTable(127);
    Load(loaded, expected);
    EXPECT_EQ(loaded.GetCount(), 5);
    for (UINT key : kOrderKeys)
    {
        UINT value = 0;
        EXPECT_TRUE(loaded.Lookup(key, value));
        EXPECT_EQ(value, 0xA0000000u | key);
    }

    // Element sizes decide the layout: a WORD-to-BYTE map stores 3 bytes an entry.
    CMap<WORD, WORD, BYTE, BYTE> small;
    small[0x1234] = 0x56;
    EXPECT_EQ(Store(small), (std::vector<BYTE>{0x01, 0x00, 0x34, 0x12, 0x56}));
}

TEST(CMapSerialize, StringKeysUseTheStringForm)
{
    CMap<CString, LPCSTR, DWORD, DWORD> map;
    map["abc"] = 0x01020304;
    EXPECT_EQ(Store(map), (std::vector<BYTE>{0x01, 0x00, 0x03, 'a', 'b', 'c', 0x04, 0x03, 0x02, 0x01}));

    CMap<CString, LPCSTR, DWORD, DWORD> loaded;
    Load(loaded, Store(map));
    DWORD value = 0;
    EXPECT_TRUE(loaded.Lookup("abc", value));
    EXPECT_EQ(value, 0x01020304u);
}

TEST(CMapSerialize, ATruncatedMapRaisesEndOfFile)
{
    CIdMap loaded;
    int cause = -1;
    try
    {
        Load(loaded, {0x02, 0x00, 0x03, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x04});
    }
    catch (CArchiveException* e)
    {
        cause = e->m_cause;
        e->Delete();
    }
    EXPECT_EQ(cause, CArchiveException::endOfFile);
    EXPECT_EQ(loaded.GetCount(), 1);  // the whole pair before the break was added
}
