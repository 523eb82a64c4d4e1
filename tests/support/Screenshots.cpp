#include "Screenshots.h"

#include <gtest/gtest.h>

#include <fstream>

namespace osm::test {

std::string ArtefactsFolder()
{
    const std::string folder = OSM_ARTEFACTS_DIR;
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

bool WriteDcBitmap(HDC source, const RECT& area, const std::string& path)
{
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (!source || width <= 0 || height <= 0)
        return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = ::CreateCompatibleDC(source);
    bool copied = false;
    if (dib && memory)
    {
        HGDIOBJ old = ::SelectObject(memory, dib);
        copied = ::BitBlt(memory, 0, 0, width, height, source, area.left, area.top, SRCCOPY) != 0;
        ::GdiFlush();
        ::SelectObject(memory, old);
    }
    bool written = false;
    if (copied)
    {
        const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
        const DWORD imageSize = stride * static_cast<DWORD>(height);
        BITMAPFILEHEADER header{};
        header.bfType = 0x4D42;  // "BM"
        header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
        header.bfSize = header.bfOffBits + imageSize;
        info.bmiHeader.biSizeImage = imageSize;
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(&header), sizeof(header));
        file.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(BITMAPINFOHEADER));
        file.write(static_cast<const char*>(bits), imageSize);
        written = static_cast<bool>(file);
    }
    if (memory)
        ::DeleteDC(memory);
    if (dib)
        ::DeleteObject(dib);
    return written;
}

bool WriteWindowBitmap(HWND window, const std::string& path)
{
    RECT rect{};
    if (!::GetWindowRect(window, &rect) || ::IsRectEmpty(&rect))
        return false;
    HDC screen = ::GetDC(nullptr);
    const bool written = WriteDcBitmap(screen, rect, path);
    ::ReleaseDC(nullptr, screen);
    return written;
}

std::string CurrentTestFileName()
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = test ? std::string(test->test_suite_name()) + "-" + test->name() : "no-test";
    for (char& c : name)
        if (c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|')
            c = '_';
    return name;
}

}  // namespace osm::test
