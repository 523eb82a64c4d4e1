// Pictures of the end-to-end frames for people to look at: the screen under a window (or any screen rectangle)
// written as a 24-bit BMP into the build tree's artefacts folder, which CI keeps. They are never compared with
// expected pictures: fonts differ between machines.
#pragma once

#include "classlib/File.h"
#include "classlib/Geometry.h"

#include <gtest/gtest.h>

#include <string>

namespace commandbars_test {

// The folder of the build tree whose files CI keeps (made when missing).
inline std::string ArtefactsFolder()
{
    const std::string folder = OSM_ARTEFACTS_DIR;
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

// The screen inside the rectangle, written as a 24-bit BMP; false when any step fails.
inline bool WriteScreenBitmap(const CRect& rect, const std::string& path)
{
    if (rect.IsRectEmpty())
        return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = rect.Width();
    info.bmiHeader.biHeight = rect.Height();  // bottom-up, as BMP files store rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HBITMAP dib = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = ::CreateCompatibleDC(screen);
    bool copied = false;
    if (dib && memory)
    {
        HGDIOBJ old = ::SelectObject(memory, dib);
        copied = ::BitBlt(memory, 0, 0, rect.Width(), rect.Height(), screen, rect.left, rect.top, SRCCOPY) != 0;
        ::GdiFlush();
        ::SelectObject(memory, old);
    }
    const DWORD stride = (static_cast<DWORD>(rect.Width()) * 3 + 3) & ~3u;
    const DWORD imageSize = stride * static_cast<DWORD>(rect.Height());
    bool written = false;
    if (copied)
    {
        BITMAPFILEHEADER header{};
        header.bfType = 0x4D42;  // "BM"
        header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
        header.bfSize = header.bfOffBits + imageSize;
        info.bmiHeader.biSizeImage = imageSize;
        CFile file;
        if (file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite))
        {
            file.Write(&header, sizeof(header));
            file.Write(&info.bmiHeader, sizeof(BITMAPINFOHEADER));
            file.Write(bits, imageSize);
            file.Close();
            written = true;
        }
    }
    if (memory)
        ::DeleteDC(memory);
    if (dib)
        ::DeleteObject(dib);
    ::ReleaseDC(nullptr, screen);
    return written;
}

// The window as it is on the screen.
inline bool WriteWindowBitmap(HWND window, const std::string& path)
{
    CRect rect;
    return ::GetWindowRect(window, &rect) && WriteScreenBitmap(rect, path);
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
