// Icon sets of our own for the bad-input harness's corpora: a command with a masked 16-pixel icon and an alpha
// 24-pixel one, and a command with a classic icon with a hole, the forms the image manager stores and pastes.
#pragma once

#include "ImageTestSupport.h"

#include "framework/foundation/ImageFunctions.h"
#include "framework/foundation/ImageManager.h"

#include <vector>

namespace image_test {

constexpr UINT kFuzzFirstSet = 101;
constexpr UINT kFuzzSecondSet = 102;

// An alpha icon of the side: a gradient whose left column is half transparent.
inline HICON MakeFuzzAlphaIcon(int side)
{
    std::vector<DWORD> pixels(static_cast<size_t>(side) * side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            pixels[static_cast<size_t>(y) * side + x] =
                Argb(x == 0 ? 0x80 : 0xFF, static_cast<BYTE>(x * 8), static_cast<BYTE>(y * 8), 0x40);
    HBITMAP bitmap = MakeBitmap32(side, side, pixels);
    HICON icon = CreateAlphaIconFromBitmap(bitmap);
    ::DeleteObject(bitmap);
    return icon;
}

// The two commands' sets in the manager.
inline bool FillFuzzImageSets(COSMImageManager* manager)
{
    const COLORREF hole = RGB(255, 0, 255);
    std::vector<COLORREF> classic(16 * 16, RGB(0, 90, 180));
    for (int i = 5; i < 11; ++i)
        classic[i * 16 + i] = hole;
    return manager->SetIcon(IconImage(MakeSolidIcon(16, 16, RGB(10, 200, 30))), kFuzzFirstSet) &&
           manager->SetIcon(IconImage(MakeFuzzAlphaIcon(24)), kFuzzFirstSet) &&
           manager->SetIcon(IconImage(MakeClassicIcon(16, 16, classic, hole)), kFuzzSecondSet);
}

}  // namespace image_test
