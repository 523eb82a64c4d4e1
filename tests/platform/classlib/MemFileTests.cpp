// CMemFile and CSharedFile: growth, positions, caller's blocks, and global blocks that outlive the file or do not.
#include "classlib/ClassLib.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string ReadAll(CFile& file)
{
    file.SeekToBegin();
    std::string text(static_cast<size_t>(file.GetLength()), '\0');
    EXPECT_EQ(file.Read(&text[0], static_cast<UINT>(text.size())), text.size());
    return text;
}

// Runs the work and returns the runtime class of the library exception it raised (null for none).
template <class Work> const CRuntimeClass* RaisedClass(Work work)
{
    try
    {
        work();
    }
    catch (CException* e)
    {
        const CRuntimeClass* pClass = e->GetRuntimeClass();
        e->Delete();
        return pClass;
    }
    return nullptr;
}

// A shared file that shows which global block it holds.
class CInspectableSharedFile : public CSharedFile
{
public:
    HGLOBAL Held() const { return m_hGlobalMemory; }
};

}  // namespace

TEST(CMemFile, GrowsInStepsAndKeepsPositions)
{
    CMemFile file(16);
    EXPECT_EQ(file.GetLength(), 0u);
    EXPECT_TRUE(file.Write("0123456789", 10));
    EXPECT_TRUE(file.Write("abcdefghij", 10));  // past the first 16-byte step
    EXPECT_EQ(file.GetLength(), 20u);
    EXPECT_EQ(file.GetPosition(), 20u);
    EXPECT_EQ(ReadAll(file), "0123456789abcdefghij");

    EXPECT_EQ(file.Seek(-5, CFile::end), 15u);
    char tail[8] = {};
    EXPECT_EQ(file.Read(tail, sizeof tail), 5u);  // fewer at the end
    EXPECT_STREQ(tail, "fghij");
    EXPECT_EQ(file.Read(tail, sizeof tail), 0u);

    // A write past the end fills the gap with zeros.
    EXPECT_EQ(file.Seek(4, CFile::current), 24u);
    EXPECT_TRUE(file.Write("Z", 1));
    EXPECT_EQ(ReadAll(file), std::string("0123456789abcdefghij\0\0\0\0Z", 25));

    // Overwriting in the middle keeps the length.
    file.Seek(2, CFile::begin);
    file.Write("xy", 2);
    EXPECT_EQ(file.GetLength(), 25u);
    EXPECT_EQ(ReadAll(file).substr(0, 5), "01xy4");

    EXPECT_TRUE(file.SetLength(3));
    EXPECT_EQ(file.GetPosition(), 3u);
    EXPECT_TRUE(file.SetLength(5));
    EXPECT_EQ(ReadAll(file), std::string("01x\0\0", 5));

    // A seek before the start fails the way CFile's do: (ULONGLONG)-1, the reason in GetError.
    EXPECT_EQ(file.Seek(-1, CFile::begin), static_cast<ULONGLONG>(-1));
    EXPECT_EQ(file.GetError().m_cause, CFileException::badSeek);
    EXPECT_EQ(file.GetPosition(), 5u);
    EXPECT_FALSE(file.Open("C:\\anything.bin", CFile::modeRead));
}

TEST(CMemFile, DetachHandsOverTheBlockAndEmptiesTheFile)
{
    CMemFile file;
    std::string text(3000, 'q');  // three default 1024-byte steps
    file.Write(text.data(), static_cast<UINT>(text.size()));
    BYTE* block = file.Detach();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(block), text.size()), text);
    EXPECT_EQ(file.GetLength(), 0u);
    EXPECT_EQ(file.GetPosition(), 0u);
    std::free(block);  // the caller's now; the file must not free it again

    file.Write("again", 5);
    EXPECT_EQ(ReadAll(file), "again");
}

TEST(CMemFile, ABlockThatMayNotGrowIsTheFilesContents)
{
    char buffer[8] = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'};
    CMemFile file(reinterpret_cast<BYTE*>(buffer), sizeof buffer);
    EXPECT_EQ(file.GetLength(), 8u);
    EXPECT_EQ(ReadAll(file), "abcdefgh");
    file.Seek(6, CFile::begin);
    EXPECT_TRUE(file.Write("XY", 2));
    EXPECT_EQ(buffer[7], 'Y');  // written in the caller's block
    EXPECT_EQ(RaisedClass([&] { file.Write("!", 1); }), RUNTIME_CLASS(CMemoryException));
    EXPECT_EQ(RaisedClass([&] { file.SetLength(9); }), RUNTIME_CLASS(CMemoryException));
    EXPECT_EQ(file.GetLength(), 8u);
    EXPECT_EQ(file.Detach(), reinterpret_cast<BYTE*>(buffer));
}

TEST(CMemFile, AGrowableCallersBlockIsRoomThatMayMove)
{
    auto* room = static_cast<BYTE*>(std::malloc(4));
    CMemFile file;
    file.Attach(room, 4, 4);
    EXPECT_EQ(file.GetLength(), 0u);
    file.Write("123456789", 9);
    EXPECT_EQ(file.GetLength(), 9u);
    BYTE* block = file.Detach();  // possibly moved by the growth
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(std::memcmp(block, "123456789", 9), 0);
    std::free(block);
}

TEST(CSharedFile, DetachKeepsTheBlockAliveAndUnlocked)
{
    CSharedFile file;
    std::string text(5000, 'k');
    file.Write(text.data(), static_cast<UINT>(text.size()));
    HGLOBAL hBlock = file.Detach();
    ASSERT_NE(hBlock, nullptr);
    EXPECT_EQ(file.GetLength(), 0u);
    EXPECT_EQ(::GlobalSize(hBlock), 8192u);  // two steps of 4096
    EXPECT_EQ(::GlobalFlags(hBlock) & GMEM_LOCKCOUNT, 0u);
    auto* bytes = static_cast<const char*>(::GlobalLock(hBlock));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::string(bytes, text.size()), text);
    EXPECT_EQ(bytes[text.size()], '\0');  // the slack is zero, not stale memory
    ::GlobalUnlock(hBlock);
    EXPECT_EQ(::GlobalFree(hBlock), nullptr);
}

TEST(CSharedFile, TheDestructorFreesAHeldBlockOnly)
{
    HGLOBAL hHeld = nullptr;
    {
        CInspectableSharedFile file;
        file.Write("held", 4);
        hHeld = file.Held();
        ASSERT_NE(hHeld, nullptr);
        EXPECT_EQ(::GlobalSize(hHeld), 4096u);
    }
    ::SetLastError(0);
    EXPECT_EQ(::GlobalSize(hHeld), 0u);  // freed with the file
    EXPECT_NE(::GetLastError(), 0u);

    HGLOBAL hKept = nullptr;
    {
        CSharedFile file;
        file.Write("kept", 4);
        hKept = file.Detach();
    }
    EXPECT_EQ(::GlobalSize(hKept), 4096u);
    ::GlobalFree(hKept);
}

TEST(CSharedFile, SetHandleReadsAForeignBlock)
{
    HGLOBAL hBlock = ::GlobalAlloc(GMEM_MOVEABLE, 6);
    ASSERT_NE(hBlock, nullptr);
    std::memcpy(::GlobalLock(hBlock), "global", 6);
    ::GlobalUnlock(hBlock);

    CSharedFile file;
    ASSERT_TRUE(file.SetHandle(hBlock, FALSE));
    EXPECT_EQ(file.GetLength(), ::GlobalSize(hBlock));
    EXPECT_EQ(ReadAll(file).substr(0, 6), "global");
    file.SeekToEnd();
    EXPECT_EQ(RaisedClass([&] { file.Write("+", 1); }), RUNTIME_CLASS(CMemoryException));
    EXPECT_EQ(file.Detach(), hBlock);
    EXPECT_EQ(::GlobalFlags(hBlock) & GMEM_LOCKCOUNT, 0u);

    // Allowed to grow, the block is reallocated and the file writes on behind its old end.
    const SIZE_T original = ::GlobalSize(hBlock);
    ASSERT_TRUE(file.SetHandle(hBlock, TRUE));
    file.SeekToEnd();
    file.Write("+more", 5);
    EXPECT_EQ(file.GetLength(), original + 5);
    HGLOBAL hGrown = file.Detach();
    ASSERT_NE(hGrown, nullptr);
    ASSERT_GE(::GlobalSize(hGrown), original + 5);
    auto* bytes = static_cast<const char*>(::GlobalLock(hGrown));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::string(bytes, 6), "global");
    EXPECT_EQ(std::string(bytes + original, 5), "+more");
    ::GlobalUnlock(hGrown);
    ::GlobalFree(hGrown);
}

// SetHandle's answer says who frees the block: the file when it took it, the caller when it did not. A caller
// that frees a taken block, or leaves one that was not taken, frees it twice or never.
TEST(CSharedFile, SetHandleSaysWhetherItTookTheBlock)
{
    const struct
    {
        const char* name;
        UINT flags;
        SIZE_T size;  // ~0: no block at all
        BOOL taken;
    } cases[] = {
        {"movable block", GMEM_MOVEABLE, 6, TRUE},
        {"fixed block", GMEM_FIXED, 6, TRUE},
        {"discarded block (does not lock)", GMEM_MOVEABLE, 0, FALSE},
        {"no block", GMEM_MOVEABLE, ~SIZE_T(0), FALSE},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        HGLOBAL hBlock = c.size == ~SIZE_T(0) ? nullptr : ::GlobalAlloc(c.flags, c.size);
        if (c.size != ~SIZE_T(0))
        {
            ASSERT_NE(hBlock, nullptr);
        }
        {
            CSharedFile file;
            file.Write("held", 4);  // whatever the file held before goes either way
            EXPECT_EQ(file.SetHandle(hBlock, FALSE), c.taken);
            EXPECT_EQ(file.GetLength(), c.taken ? c.size : 0u);
        }
        if (!hBlock)
            continue;
        if (c.taken)
        {
            ::SetLastError(0);
            EXPECT_EQ(::GlobalSize(hBlock), 0u) << "the file freed the block it took";
            EXPECT_NE(::GetLastError(), 0u);
        }
        else
        {
            EXPECT_EQ(::GlobalFree(hBlock), nullptr) << "a block the file did not take is still the caller's to free";
        }
    }
}
