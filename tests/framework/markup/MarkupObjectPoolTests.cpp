// The markup object pool: blocks of every size class are distinct, aligned and reused, and a released tree's regions
// go back to the system but for one kept.
#include "MarkupTestSupport.h"

#include "framework/markup/Markup.h"
#include "framework/markup/MarkupObjectPool.h"
#include "framework/markup/MarkupUIElement.h"

#include <windows.h>

#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using markup_test::MarkupTest;

namespace {

long long PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                sizeof(counters)))
        return -1;
    return static_cast<long long>(counters.PrivateUsage);
}

// Cards of a border around a grid with a text block and a stack panel: every kind of object a parse makes often.
std::string MakeCards(int cards)
{
    std::string text = "<StackPanel><StackPanel.Resources><SolidColorBrush x:Key=\"accent\" Color=\"Red\"/>"
                       "</StackPanel.Resources>";
    for (int i = 0; i < cards; ++i)
    {
        text += "<Border BorderThickness=\"1\" Background=\"{StaticResource accent}\"><Grid>"
                "<Grid.ColumnDefinitions><ColumnDefinition Width=\"Auto\"/><ColumnDefinition Width=\"*\"/>"
                "</Grid.ColumnDefinitions><TextBlock Text=\"Item " +
                std::to_string(i) +
                "\" Margin=\"0,0,8,0\"/><StackPanel Grid.Column=\"1\" Orientation=\"Horizontal\">"
                "<TextBlock>value</TextBlock></StackPanel></Grid></Border>";
    }
    return text + "</StackPanel>";
}

}  // namespace

// Sizes on both sides of the class boundaries and past the largest pooled size, enough of each to fill many chunks:
// every block must be writable on its own (no two overlap), aligned for any object, and everything freed must show
// as freed, chunks included.
TEST_F(MarkupTest, PooledBlocksAreDistinctAlignedAndGivenBack)
{
    const MarkupObjectPoolUsage before = GetMarkupObjectPoolUsage();
    const size_t sizes[] = {1, 16, 17, 40, 88, 216, 392, 511, 512, 513, 2048};
    struct Block
    {
        unsigned char* memory;
        size_t size;
    };
    std::vector<Block> blocks;
    for (size_t size : sizes)
    {
        for (int i = 0; i < 600; ++i)
        {
            auto* memory = static_cast<unsigned char*>(AllocateMarkupObjectMemory(size));
            ASSERT_NE(nullptr, memory);
            EXPECT_EQ(0u, reinterpret_cast<uintptr_t>(memory) % 16) << size;
            std::memset(memory, static_cast<int>(blocks.size() & 0xFF), size);
            blocks.push_back({memory, size});
        }
    }
    const MarkupObjectPoolUsage full = GetMarkupObjectPoolUsage();
    size_t pooled = 0;
    for (const Block& block : blocks)
        pooled += block.size <= kLargestPooledSize ? 1 : 0;
    EXPECT_EQ(before.liveBlocks + pooled, full.liveBlocks);
    for (size_t i = 0; i < blocks.size(); ++i)
    {
        const unsigned char mark = static_cast<unsigned char>(i & 0xFF);
        for (size_t b = 0; b < blocks[i].size; ++b)
        {
            if (blocks[i].memory[b] != mark)
            {
                ADD_FAILURE() << "block " << i << " of " << blocks[i].size << " bytes was overwritten at " << b;
                break;
            }
        }
    }
    // Every other block first, then the rest: freed places are handed out again before untouched ones.
    for (size_t i = 0; i < blocks.size(); i += 2)
        FreeMarkupObjectMemory(blocks[i].memory, blocks[i].size);
    void* again = AllocateMarkupObjectMemory(40);
    bool reused = false;
    for (size_t i = 0; i < blocks.size(); i += 2)
        reused = reused || (blocks[i].memory == again && blocks[i].size > 32 && blocks[i].size <= 48);
    EXPECT_TRUE(reused);
    FreeMarkupObjectMemory(again, 40);
    for (size_t i = 1; i < blocks.size(); i += 2)
        FreeMarkupObjectMemory(blocks[i].memory, blocks[i].size);

    const MarkupObjectPoolUsage after = GetMarkupObjectPoolUsage();
    EXPECT_EQ(before.liveBlocks, after.liveBlocks);
    EXPECT_EQ(before.liveBytes, after.liveBytes);
    EXPECT_LE(after.chunksInUse, before.chunksInUse);
    EXPECT_LE(after.committedBytes, before.committedBytes + kMarkupPoolRegionSize);
}

// A tree of some 20,000 elements takes megabytes of chunks; once it is released the pool holds no more chunks in use
// than before, keeps at most one region more, and the process's private bytes are back within the few megabytes the
// fuzz harness allows.
TEST_F(MarkupTest, AReleasedTreeGivesItsChunksBack)
{
    COSMMarkupContext* context = CreateMarkupContext(nullptr);
    ASSERT_NE(nullptr, context);
    const std::string text = MakeCards(2200);
    // One small parse first, so the private bytes compared below do not include what a first parse makes once.
    COSMMarkupUIElement* warmUp = ParseMarkup(context, MakeCards(2).c_str());
    ASSERT_NE(nullptr, warmUp);
    ReleaseMarkupElement(&warmUp);

    const MarkupObjectPoolUsage before = GetMarkupObjectPoolUsage();
    const long long privateBefore = PrivateBytes();
    for (int round = 0; round < 2; ++round)
    {
        const LONG objectsBefore = COSMMarkupObject::GetLiveObjectCount();
        COSMMarkupUIElement* root = ParseMarkup(context, text.c_str());
        ASSERT_NE(nullptr, root);
        const MarkupObjectPoolUsage built = GetMarkupObjectPoolUsage();
        const LONG objectsBuilt = COSMMarkupObject::GetLiveObjectCount() - objectsBefore;
        EXPECT_GT(built.committedBytes, before.committedBytes + (4u << 20));
        // Every object of the tree takes a block of the pool: none is larger than its largest class.
        EXPECT_GT(objectsBuilt, 40000);
        EXPECT_GE(built.liveBlocks, before.liveBlocks + static_cast<size_t>(objectsBuilt));
        ReleaseMarkupElement(&root);

        const MarkupObjectPoolUsage after = GetMarkupObjectPoolUsage();
        EXPECT_EQ(before.liveBlocks, after.liveBlocks);
        EXPECT_LE(after.chunksInUse, before.chunksInUse);
        EXPECT_LE(after.committedBytes, before.committedBytes + kMarkupPoolRegionSize);
        EXPECT_LT(PrivateBytes() - privateBefore, 4ll << 20);
    }
    ReleaseMarkupContext(&context);
}
