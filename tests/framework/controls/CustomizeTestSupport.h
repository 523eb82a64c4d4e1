// What the customize tests share: an open customize sheet over a frame with a bar of buttons, an update that records
// what the handler said, and the pixels of images and clipboard bitmaps.
#pragma once

#include "InputTestSupport.h"

#include "DcTestSurface.h"
#include "classlib/CmdUI.h"
#include "classlib/DC.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/CustomizeDropSource.h"
#include "framework/controls/CustomizeSheet.h"
#include "framework/controls/ImageEditorDialog.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/ImageManagerIcon.h"
#include "framework/foundation/ImageManagerIconHandle.h"

#include <cstring>
#include <optional>
#include <vector>

namespace customize_test {

using namespace commandbars_test;

// What an update handler said, nothing applied.
class RecordingCmdUI : public CCmdUI
{
public:
    void Enable(BOOL bOn = TRUE) override { enabled = bOn; }
    void SetCheck(int nCheck = 1) override { check = nCheck; }
    std::optional<BOOL> enabled;
    std::optional<int> check;
};

// A 32-bit top-down bitmap of the pixels (0xAARRGGBB, top row first).
inline HBITMAP MakeBitmap32(int cx, int cy, const std::vector<DWORD>& pixels)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = -cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits)
        std::memcpy(bits, pixels.data(), pixels.size() * sizeof(DWORD));
    return bitmap;
}

// The bitmap's pixels as 32-bit values, top row first (empty when it cannot be read).
inline std::vector<DWORD> ReadBitmap32(HBITMAP bitmap, int* width = nullptr)
{
    BITMAP info{};
    if (!bitmap || !::GetObjectA(bitmap, sizeof(info), &info))
        return {};
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(header.bmiHeader);
    header.bmiHeader.biWidth = info.bmWidth;
    header.bmiHeader.biHeight = -info.bmHeight;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    std::vector<DWORD> pixels(static_cast<size_t>(info.bmWidth) * static_cast<size_t>(info.bmHeight));
    HDC dc = ::GetDC(nullptr);
    const int rows =
        ::GetDIBits(dc, bitmap, 0, static_cast<UINT>(info.bmHeight), pixels.data(), &header, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, dc);
    if (width)
        *width = info.bmWidth;
    return rows == info.bmHeight ? pixels : std::vector<DWORD>();
}

// Colours without the alpha byte.
inline std::vector<DWORD> Rgb(std::vector<DWORD> pixels)
{
    for (DWORD& pixel : pixels)
        pixel &= 0xFFFFFF;
    return pixels;
}

// The icon as the image manager draws it over the background colour, top row first, without alpha bytes.
inline std::vector<DWORD> IconPixels(COSMImageManagerIcon* icon, COLORREF background = RGB(0, 0, 255))
{
    if (!icon)
        return {};
    const CSize extent = icon->GetExtent();
    foundation_test::DcTestSurface surface(extent.cx, extent.cy, background);
    icon->DrawNormal(CDC::FromHandle(surface.GetDC()), CPoint(0, 0), extent);
    std::vector<DWORD> pixels;
    for (int y = 0; y < extent.cy; ++y)
        for (int x = 0; x < extent.cx; ++x)
            pixels.push_back(surface.Raw(x, y) & 0xFFFFFF);
    return pixels;
}

// An image as the image manager draws it, through a manager of its own.
inline std::vector<DWORD> ImagePixels(const COSMImageManagerIconHandle& image, COLORREF background = RGB(0, 0, 255))
{
    RefPtr<COSMImageManager> scratch = AdoptRef(new COSMImageManager);
    const CSize extent = image.GetExtent();
    scratch->SetIcon(image, 1, extent.cx, extent.cy);
    return IconPixels(scratch->GetImage(1, extent.cx), background);
}

// A 16 x 16 classic icon: red with a transparent left half column band (x < 4).
inline HICON MakeMaskedIcon(COLORREF colour = RGB(200, 0, 0))
{
    const int size = 16;
    HDC screen = ::GetDC(nullptr);
    HBITMAP colourBits = ::CreateCompatibleBitmap(screen, size, size);
    HBITMAP maskBits = ::CreateBitmap(size, size, 1, 1, nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(dc, colourBits);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            ::SetPixel(dc, x, y, x < 4 ? RGB(0, 0, 0) : colour);
    ::SelectObject(dc, maskBits);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            ::SetPixel(dc, x, y, x < 4 ? RGB(255, 255, 255) : RGB(0, 0, 0));
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    ICONINFO info{TRUE, 0, 0, maskBits, colourBits};
    HICON icon = ::CreateIconIndirect(&info);
    ::DeleteObject(colourBits);
    ::DeleteObject(maskBits);
    return icon;
}

// An alpha image of the size: opaque in the colour with a half-transparent black top row.
inline COSMImageManagerIconHandle MakeAlphaImage(int size = 16, DWORD colour = 0xFF00A000)
{
    std::vector<DWORD> pixels(static_cast<size_t>(size * size), colour);
    for (int x = 0; x < size; ++x)
        pixels[static_cast<size_t>(x)] = 0x80000000;
    HBITMAP bitmap = MakeBitmap32(size, size, pixels);
    COSMImageManagerIconHandle image;
    image.SetBitmap(bitmap);
    ::DeleteObject(bitmap);
    return image;
}

inline COSMImageManagerIconHandle MakeMaskedImage(COLORREF colour = RGB(200, 0, 0))
{
    COSMImageManagerIconHandle image;
    image.SetIcon(MakeMaskedIcon(colour));
    return image;
}

// Empties the clipboard (owned by the window).
inline void ClearClipboard(HWND owner)
{
    if (::OpenClipboard(owner))
    {
        ::EmptyClipboard();
        ::CloseClipboard();
    }
}

// The clipboard's CF_BITMAP pixels; empty when there is none.
inline std::vector<DWORD> ClipboardBitmapPixels(HWND owner, int* bitsPerPixel = nullptr)
{
    std::vector<DWORD> pixels;
    if (!::OpenClipboard(owner))
        return pixels;
    if (auto bitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP)))
    {
        BITMAP info{};
        ::GetObjectA(bitmap, sizeof(info), &info);
        if (bitsPerPixel)
            *bitsPerPixel = info.bmBitsPixel;
        pixels = ReadBitmap32(bitmap);
    }
    ::CloseClipboard();
    return pixels;
}

// A manager with its own image manager on an active frame in customize mode, a bar of buttons 101, 102, 103 and an
// open customize sheet. The sheet closes after each test.
class CustomizeSheetTest : public CustomizeSiteTest
{
protected:
    void SetUp() override
    {
        CustomizeSiteTest::SetUp();
        images = AdoptRef(new COSMImageManager);
        commandBars->SetImageManager(images.Get());
        MakeBarWindow(bar, 1, 0, CRect(0, 0, 300, 30));
        bar.AddButtons({101, 102, 103});
        sheet = new COSMCustomizeSheet(commandBars.Get());
        ASSERT_TRUE(sheet->Create());
        PumpFor(50);
    }
    void TearDown() override
    {
        if (sheet && ::IsWindow(sheetWindow()))
            sheet->DestroyWindow();
        sheet = nullptr;
        COSMImageEditorDialog::EndTestAnswer();
        ClearClipboard(frame.GetSafeHwnd());
        CustomizeSiteTest::TearDown();
    }
    HWND sheetWindow() const { return sheet ? sheet->GetSafeHwnd() : nullptr; }
    COSMControl* Button(int index) const { return bar.GetControl(index); }
    void Select(COSMControl* control) { commandBars->SetCustomizeSelection(control); }
    void Command(UINT id) { sheet->SendMessage(WM_COMMAND, id, 0); }
    struct UpdateSeen
    {
        std::optional<BOOL> enabled;
        std::optional<int> check;
    };
    UpdateSeen Update(UINT id)
    {
        RecordingCmdUI update;
        update.m_nID = id;
        sheet->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &update, nullptr);
        return UpdateSeen{update.enabled, update.check};
    }

    RefPtr<COSMImageManager> images;
    TrackingBar bar;
    COSMCustomizeSheet* sheet = nullptr;  // deletes itself when its window goes
};

}  // namespace customize_test
