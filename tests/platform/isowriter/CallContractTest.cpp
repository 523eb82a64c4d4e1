// What every entry point promises its caller: results for calls out of order or with bad arguments, the
// bounded exception text, repeatable start-up, and cooperative cancel of the long calls.
#include "IsoTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>

#include <cstring>
#include <functional>

namespace osm::iso::test {
namespace {

constexpr std::uint32_t kInvalidParameter = STARBURN_ERROR_INVALID_PARAMETER;
constexpr std::uint32_t kInvalidState = STARBURN_ERROR_INVALID_STATE;
constexpr std::uint32_t kInvalidRange = STARBURN_ERROR_INVALID_RANGE;
constexpr std::uint32_t kCancelled = STARBURN_ERROR_CANCELLED;

class CallContractTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writePattern(scratch_ / "dist" / "a.txt", 5000, 1);
        writeFile(scratch_ / "boot.img", SerialBootImage("contract"));
    }
    ScratchDir scratch_;
};

struct MisuseCase
{
    const char* title;
    std::function<std::uint32_t(TreeSession&, const fs::path& scratch)> call;
    std::uint32_t result;
};

class MisuseTest : public CallContractTest, public ::testing::WithParamInterface<MisuseCase>
{};

TEST_P(MisuseTest, IsRefusedWithItsNumberAndAText)
{
    TreeSession session;
    EXPECT_EQ(GetParam().call(session, scratch_.path()), GetParam().result);
    EXPECT_FALSE(session.text().empty());
}

void buildFirst(TreeSession& s, const fs::path& scratch)
{
    EXPECT_EQ(s.add(scratch / "dist"), 0u);
    EXPECT_EQ(s.build(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, MisuseTest,
    ::testing::Values(
        MisuseCase{"ReadBeforeBuild",
                   [](TreeSession& s, const fs::path&) {
                       char b[16];
                       return s.read(b, sizeof b);
                   },
                   kInvalidState},
        MisuseCase{"SeekBeforeBuild", [](TreeSession& s, const fs::path&) { return s.seek(); }, kInvalidState},
        MisuseCase{"AddAfterBuild",
                   [](TreeSession& s, const fs::path& p) {
                       buildFirst(s, p);
                       return s.add(p / "boot.img");
                   },
                   kInvalidState},
        MisuseCase{"BootImageAfterBuild",
                   [](TreeSession& s, const fs::path& p) {
                       buildFirst(s, p);
                       return s.setBoot(p / "boot.img");
                   },
                   kInvalidState},
        MisuseCase{"ReadPastTheEnd",
                   [](TreeSession& s, const fs::path& p) {
                       buildFirst(s, p);
                       std::vector<char> b(static_cast<std::size_t>(s.size()) + 2048);
                       return s.read(b.data(), static_cast<std::uint32_t>(b.size()));
                   },
                   kInvalidRange},
        MisuseCase{"ReadIntoNoBuffer",
                   [](TreeSession& s, const fs::path& p) {
                       buildFirst(s, p);
                       return s.read(nullptr, 10);
                   },
                   kInvalidParameter},
        MisuseCase{"UnknownAddFlags", [](TreeSession& s, const fs::path& p) { return s.add(p / "dist", 1); },
                   kInvalidParameter},
        MisuseCase{"ForeignParent",
                   [](TreeSession& s, const fs::path& p) {
                       TreeSession other;
                       return s.add(p / "dist", STARBURN_ADD_WITH_CONTENTS, other.root());
                   },
                   kInvalidParameter},
        MisuseCase{"NameWithSeparator",
                   [](TreeSession& s, const fs::path& p) {
                       return s.add(p / "dist", STARBURN_ADD_WITH_CONTENTS, nullptr, nullptr, "a/b");
                   },
                   kInvalidParameter},
        MisuseCase{"FloppyEmulation", [](TreeSession& s, const fs::path& p) { return s.setBoot(p / "boot.img", 2); },
                   static_cast<std::uint32_t>(STARBURN_ERROR_NOT_IMPLEMENTED)},
        MisuseCase{"TooManyBootSectors",
                   [](TreeSession& s, const fs::path& p) { return s.setBoot(p / "boot.img", 6, 0, 65536); },
                   kInvalidRange},
        MisuseCase{"PlatformAboveAByte",
                   [](TreeSession& s, const fs::path& p) { return s.setBoot(p / "boot.img", 6, 256); }, kInvalidRange},
        MisuseCase{"EmptyBootImage",
                   [](TreeSession& s, const fs::path& p) {
                       writeFile(p / "empty.img", "");
                       return s.setBoot(p / "empty.img");
                   },
                   kInvalidParameter},
        MisuseCase{"FolderAsBootImage", [](TreeSession& s, const fs::path& p) { return s.setBoot(p / "dist"); },
                   kInvalidParameter}),
    [](const ::testing::TestParamInfo<MisuseCase>& info) { return info.param.title; });

TEST_F(CallContractTest, NullHandlesAndArgumentsAreRefused)
{
    char text[64];
    STARBURN_ULONG error = 0;
    STARBURN_NODE node = nullptr;
    EXPECT_EQ(StarBurn_ISO9660JolietFileTree_Create(nullptr, text, sizeof text, &error, nullptr, nullptr, 0, 0, 1, 1),
              kInvalidParameter);
    STARBURN_TREE tree = nullptr;
    EXPECT_EQ(StarBurn_ISO9660JolietFileTree_Create(&tree, text, sizeof text, &error, nullptr, nullptr, 1, 0, 1, 1),
              kInvalidParameter);
    EXPECT_EQ(tree, nullptr);
    EXPECT_EQ(StarBurn_ISO9660JolietFileTree_GetRoot(nullptr), nullptr);
    EXPECT_EQ(StarBurn_ISO9660JolietFileTree_Add(nullptr, text, sizeof text, &error, "x", nullptr, 2, &node, &node),
              kInvalidParameter);
    EXPECT_EQ(StarBurn_ISO9660JolietFileTree_BuildImage(nullptr, text, sizeof text, &error, 0, 0, 1, "XP", "", ""),
              kInvalidParameter);
    EXPECT_EQ(StarBurn_ISO9660JolietFileTree_Read(nullptr, text, sizeof text, &error, 1, text), kInvalidParameter);
    EXPECT_EQ(StarBurn_ISO9660JolietFileTree_SeekToBegin(nullptr, text, sizeof text, &error), kInvalidParameter);
    EXPECT_EQ(StarBurn_ISO9660JolietFileTree_ExcludePath(nullptr, "x"), kInvalidParameter);
    EXPECT_EQ(StarBurn_ISO9660JolietFileTree_SetCancelFlag(nullptr, nullptr), kInvalidParameter);
    STARBURN_ULONG high = 7;
    EXPECT_EQ(StarBurn_ISO9660JolietFileTree_GetSizeInUCHARs(nullptr, &high), 0u);
    EXPECT_EQ(high, 0u);
    StarBurn_Destroy(nullptr);
    StarBurn_Destroy(&tree);

    TreeSession session;
    EXPECT_EQ(StarBurn_ISO9660JolietFileTree_Add(session.tree(), text, sizeof text, &error, nullptr, nullptr, 2, &node,
                                                 &node),
              kInvalidParameter);
    STARBURN_NODE root = session.root();
    EXPECT_EQ(
        StarBurn_ISO9660JolietFileTree_Add(session.tree(), text, sizeof text, &error, "", nullptr, 2, &root, nullptr),
        kInvalidParameter);
    EXPECT_EQ(
        StarBurn_ISO9660JolietFileTree_BuildImage(session.tree(), text, sizeof text, &error, 0, 0, 0, "XP", "", ""),
        kInvalidParameter);  // volume sequence 0
    // Results need no text buffer or error value: both may be absent.
    EXPECT_EQ(StarBurn_ISO9660JolietFileTree_SeekToBegin(session.tree(), nullptr, 0, nullptr), kInvalidState);
}

TEST_F(CallContractTest, StartUpCanBeRepeatedWithoutShutDown)
{
    for (int i = 0; i < 3; ++i)
    {
        char text[8] = "garbage";
        STARBURN_ULONG error = 99;
        EXPECT_EQ(StarBurn_UpStartEx(text, sizeof text, &error), 0u);
        EXPECT_STREQ(text, "");  // every call fills the text, success too
        EXPECT_EQ(error, 0u);
        TreeSession session;
        ASSERT_EQ(session.add(scratch_ / "dist"), 0u) << session.text();
        ASSERT_EQ(session.build(), 0u) << session.text();
        EXPECT_GT(session.size(), 0u);
    }
}

TEST_F(CallContractTest, ExceptionTextIsCutToTheBufferAndTerminated)
{
    // The message names a path with multi-byte characters; no size may overflow or split a character.
    const fs::path missing = scratch_ / fs::u8path(u8"\u00e4\u00e4\u00e4\u00e4\u00e4\u00e4\u00e4\u00e4") / "x";
    const std::string p = apiPath(missing);
    for (const std::uint32_t size : {1u, 2u, 7u, 16u, 40u, 1024u})
    {
        std::vector<char> buffer(size + 16, 'G');
        STARBURN_TREE tree = nullptr;
        STARBURN_ULONG error = 0;
        ASSERT_EQ(
            StarBurn_ISO9660JolietFileTree_Create(&tree, buffer.data(), size, &error, nullptr, nullptr, 0, 0, 1, 1),
            0u);
        STARBURN_NODE root = StarBurn_ISO9660JolietFileTree_GetRoot(tree);
        EXPECT_EQ(StarBurn_ISO9660JolietFileTree_Add(tree, buffer.data(), size, &error, p.c_str(), nullptr, 2, &root,
                                                     nullptr),
                  static_cast<std::uint32_t>(STARBURN_ERROR_NOT_FOUND));
        StarBurn_Destroy(&tree);
        const std::string text(buffer.data());
        EXPECT_LT(text.size(), size);
        for (std::size_t i = size; i < buffer.size(); ++i)
            ASSERT_EQ(buffer[i], 'G') << "written past the given size " << size;
#ifndef _WIN32
        // UTF-8 on POSIX: the text ends on a whole character.
        if (!text.empty())
        {
            const unsigned char last = static_cast<unsigned char>(text.back());
            EXPECT_TRUE(last < 0x80 || (last & 0xC0) == 0x80) << "size " << size;
            if ((last & 0xC0) == 0x80)
            {
                EXPECT_EQ(static_cast<unsigned char>(text[text.size() - 2]) & 0xE0, 0xC0);
            }
        }
#endif
        if (size == 1024)
        {
            EXPECT_NE(text.find(p), std::string::npos) << text;
        }
    }
}

// The callback sets the cancel flag when the running Add reports its first progress.
void STARBURN_CALL cancelOnProgress(std::uint32_t event, std::uint32_t, std::uint32_t, void* context)
{
    if (event == STARBURN_EVENT_TREE_PROGRESS)
        *static_cast<std::atomic<long>*>(context) = 1;
}

TEST_F(CallContractTest, CancelStopsAddDuringTheScan)
{
    for (int i = 0; i < 1200; ++i)
        writeFile(scratch_ / "many" / ("f" + std::to_string(i / 100)) / (std::to_string(i) + ".txt"), "x");
    std::atomic<long> cancel{0};
    TreeSession session(true, 1, 1, cancelOnProgress, &cancel);
    ASSERT_EQ(session.setCancelFlag(&cancel), 0u);
    EXPECT_EQ(session.add(scratch_ / "many"), kCancelled);
    EXPECT_EQ(cancel, 1);
    // The cancelled Add left nothing behind; with the flag down the same Add succeeds.
    cancel = 0;
    ASSERT_EQ(session.setCancelFlag(nullptr), 0u);
    ASSERT_EQ(session.add(scratch_ / "dist"), 0u) << session.text();
    ASSERT_EQ(session.build(), 0u) << session.text();
    ASSERT_EQ(session.writeImage(scratch_ / "out.iso"), 0u);
    EXPECT_LT(session.size(), 100u * 2048);  // 1200 files would need far more
}

TEST_F(CallContractTest, CancelStopsBuildAndReadUntilLowered)
{
    std::atomic<long> cancel{0};
    writePattern(scratch_ / "dist" / "big.bin", 6u << 20, 2);
    TreeSession session;
    ASSERT_EQ(session.setCancelFlag(&cancel), 0u);
    ASSERT_EQ(session.add(scratch_ / "dist"), 0u);
    cancel = 1;
    EXPECT_EQ(session.build(), kCancelled);
    EXPECT_EQ(session.size(), 0u);
    EXPECT_EQ(session.add(scratch_ / "boot.img"), kCancelled);
    cancel = 0;
    ASSERT_EQ(session.build(), 0u) << session.text();

    ASSERT_EQ(session.seek(), 0u);
    std::vector<char> image(static_cast<std::size_t>(session.size()));
    const std::uint32_t half = static_cast<std::uint32_t>(image.size() / 2);
    ASSERT_EQ(session.read(image.data(), half), 0u);
    cancel = 1;
    EXPECT_EQ(session.read(image.data() + half, 4096), kCancelled);
    cancel = 0;
    EXPECT_EQ(session.read(image.data() + half, 4096), kInvalidState);  // a cancelled stream starts over
    ASSERT_EQ(session.writeImage(scratch_ / "after.iso"), 0u) << session.text();
    TreeSession fresh;
    ASSERT_EQ(fresh.add(scratch_ / "dist"), 0u);
    ASSERT_EQ(fresh.build(), 0u);
    ASSERT_EQ(fresh.writeImage(scratch_ / "fresh.iso"), 0u);
    EXPECT_TRUE(readFile(scratch_ / "after.iso") == readFile(scratch_ / "fresh.iso"));
}

}  // namespace
}  // namespace osm::iso::test
