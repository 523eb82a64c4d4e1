// Pictures of the end-to-end frames for people to look at, through the tests' one picture writer: a window, or a
// screen rectangle holding a frame and the popup or tip it shows, as a 24-bit BMP in the build tree's artefacts
// folder, read back to check what was written. They are never compared with expected pictures: fonts differ between
// machines.
#pragma once

#include "classlib/File.h"
#include "classlib/Geometry.h"
#include "tests/support/Screenshots.h"

#include <gtest/gtest.h>

#include <string>

namespace commandbars_test {

using osm::test::ArtefactsFolder;
using osm::test::WriteWindowBitmap;

// The screen inside the rectangle; false when any step fails.
inline bool WriteScreenBitmap(const CRect& rect, const std::string& path)
{
    HDC screen = ::GetDC(nullptr);
    const bool written = osm::test::WriteDcBitmap(screen, rect, path);
    ::ReleaseDC(nullptr, screen);
    return written;
}

// The BMP's header as read back: 24 bits per pixel, the size, and as many bytes as it says.
inline void ExpectBitmapOfSize(const std::string& path, CSize size)
{
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead)) << path;
    BITMAPFILEHEADER header{};
    BITMAPINFOHEADER info{};
    ASSERT_EQ(sizeof(header), file.Read(&header, sizeof(header)));
    ASSERT_EQ(sizeof(info), file.Read(&info, sizeof(info)));
    EXPECT_EQ(0x4D42, header.bfType);
    EXPECT_EQ(24, info.biBitCount);
    EXPECT_EQ(size.cx, info.biWidth);
    EXPECT_EQ(size.cy, info.biHeight);
    EXPECT_EQ(static_cast<ULONGLONG>(header.bfSize), file.GetLength());
}

inline void ExpectBitmapOfWindow(const std::string& path, HWND window)
{
    CRect rect;
    ::GetWindowRect(window, &rect);
    ExpectBitmapOfSize(path, rect.Size());
}

// Writes the picture of the screen rectangle under the name and checks what was written.
inline void KeepScreenPicture(const CRect& rect, const std::string& name)
{
    const std::string path = ArtefactsFolder() + "/" + name + ".bmp";
    ASSERT_TRUE(WriteScreenBitmap(rect, path)) << path;
    ExpectBitmapOfSize(path, rect.Size());
}

inline void KeepWindowPicture(HWND window, const std::string& name)
{
    CRect rect;
    ASSERT_TRUE(::GetWindowRect(window, &rect));
    KeepScreenPicture(rect, name);
}

}  // namespace commandbars_test
