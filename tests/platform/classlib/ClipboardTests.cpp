// COleDataObject on the clipboard: copies of registered formats byte for byte, nothing for missing ones, and the
// round trip a toolbar image takes (archive -> shared file -> clipboard -> copy -> shared file -> archive).
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using classlib_test::CHostWnd;

namespace {

const UINT g_cfProbe = ::RegisterClipboardFormatA("Osmira.ClassLibTests.ClipboardProbe");
const UINT g_cfAbsent = ::RegisterClipboardFormatA("Osmira.ClassLibTests.NeverOnTheClipboard");

// Puts the block on the clipboard under the format, owned by the window; the clipboard takes the block.
bool PutOnClipboard(HWND hWndOwner, UINT cf, HGLOBAL hBlock)
{
    if (!::OpenClipboard(hWndOwner))
        return false;
    ::EmptyClipboard();
    const bool placed = ::SetClipboardData(cf, hBlock) != nullptr;
    ::CloseClipboard();
    if (!placed)
        ::GlobalFree(hBlock);
    return placed;
}

HGLOBAL BlockOf(const std::vector<BYTE>& bytes)
{
    HGLOBAL hBlock = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (hBlock)
    {
        std::memcpy(::GlobalLock(hBlock), bytes.data(), bytes.size());
        ::GlobalUnlock(hBlock);
    }
    return hBlock;
}

}  // namespace

TEST(COleDataObject, CopiesARegisteredFormatByteForByte)
{
    CHostWnd host;
    ASSERT_TRUE(host.CreateHost());
    std::vector<BYTE> bytes(300);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<BYTE>(i * 7);
    HGLOBAL hPlaced = BlockOf(bytes);
    ASSERT_NE(hPlaced, nullptr);
    ASSERT_TRUE(PutOnClipboard(host.m_hWnd, g_cfProbe, hPlaced));

    COleDataObject data;
    EXPECT_FALSE(data.IsDataAvailable(static_cast<CLIPFORMAT>(g_cfProbe)));  // not attached yet
    EXPECT_EQ(data.GetGlobalData(static_cast<CLIPFORMAT>(g_cfProbe)), nullptr);
    ASSERT_TRUE(data.AttachClipboard());
    EXPECT_TRUE(data.IsDataAvailable(static_cast<CLIPFORMAT>(g_cfProbe)));

    HGLOBAL hCopy = data.GetGlobalData(static_cast<CLIPFORMAT>(g_cfProbe));
    ASSERT_NE(hCopy, nullptr);
    EXPECT_NE(hCopy, hPlaced);  // the caller's own block
    ASSERT_GE(::GlobalSize(hCopy), bytes.size());
    const auto* copied = static_cast<const BYTE*>(::GlobalLock(hCopy));
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(std::vector<BYTE>(copied, copied + bytes.size()), bytes);
    ::GlobalUnlock(hCopy);
    EXPECT_EQ(::GlobalFree(hCopy), nullptr);

    // The clipboard was closed again and still holds its own data.
    ASSERT_TRUE(::OpenClipboard(host.m_hWnd));
    EXPECT_TRUE(::IsClipboardFormatAvailable(g_cfProbe));
    ::CloseClipboard();

    data.Release();
    EXPECT_FALSE(data.IsDataAvailable(static_cast<CLIPFORMAT>(g_cfProbe)));
}

TEST(COleDataObject, AMissingFormatGivesNothing)
{
    CHostWnd host;
    ASSERT_TRUE(host.CreateHost());
    HGLOBAL hPlaced = BlockOf({1, 2, 3});
    ASSERT_TRUE(PutOnClipboard(host.m_hWnd, g_cfProbe, hPlaced));

    COleDataObject data;
    data.AttachClipboard();
    EXPECT_FALSE(data.IsDataAvailable(static_cast<CLIPFORMAT>(g_cfAbsent)));
    EXPECT_EQ(data.GetGlobalData(static_cast<CLIPFORMAT>(g_cfAbsent)), nullptr);
}

TEST(COleDataObject, AnArchiveTravelsThroughTheClipboardInASharedFile)
{
    CHostWnd host;
    ASSERT_TRUE(host.CreateHost());
    CSharedFile outFile;
    {
        CArchive ar(&outFile, CArchive::store);
        ar << CString("COSMImageManagerIcons") << DWORD(16);
        ar.WriteCount(70000);
    }
    HGLOBAL hOut = outFile.Detach();
    ASSERT_NE(hOut, nullptr);
    ASSERT_TRUE(PutOnClipboard(host.m_hWnd, g_cfProbe, hOut));

    COleDataObject data;
    data.AttachClipboard();
    CSharedFile inFile;
    ASSERT_TRUE(inFile.SetHandle(data.GetGlobalData(static_cast<CLIPFORMAT>(g_cfProbe)), FALSE));
    ASSERT_GT(inFile.GetLength(), 0u);
    CArchive ar(&inFile, CArchive::load);
    CString check;
    DWORD width = 0;
    ar >> check >> width;
    EXPECT_EQ(check, "COSMImageManagerIcons");
    EXPECT_EQ(width, 16u);
    EXPECT_EQ(ar.ReadCount(), 70000u);
}
