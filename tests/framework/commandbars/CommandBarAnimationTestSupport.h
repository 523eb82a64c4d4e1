// What the bar-animation tests share: a paint manager that draws each control as a block of a colour the test
// chooses (another colour while the control is hot, when asked), the blend a fade frame shows, and pixels read
// back from a bar window and from the bar's off-screen image.
#pragma once

#include "tests/support/DcTestSurface.h"

#include "framework/commandbars/CommandBarAnimation.h"
#include "framework/commandbars/Control.h"
#include "framework/commandbars/testing/TestPaintManager.h"

#include <map>

namespace commandbars_test {

class FadeBlockPaintManager : public COSMTestPaintManager
{
public:
    static COSMPaintManager* Create() { return new FadeBlockPaintManager; }
    static constexpr COLORREF kPlain = RGB(30, 60, 90);
    static constexpr COLORREF kHot = RGB(250, 200, 40);

    CSize DrawToolBarControl(CDC* dc, COSMControl* control, BOOL draw) override
    {
        if (!draw)
            return COSMTestPaintManager::DrawToolBarControl(dc, control, FALSE);
        dc->FillSolidRect(control->GetRect(), ColorOf(control));
        return control->GetRect().Size();
    }
    COLORREF ColorOf(const COSMControl* control) const
    {
        if (hotShows && control->GetSelected())
            return kHot;
        const auto it = colors.find(control->GetID());
        return it == colors.end() ? kPlain : it->second;
    }

    // Control id to colour; controls not listed are kPlain.
    std::map<UINT, COLORREF> colors;
    // Selected (hot) controls draw kHot.
    BOOL hotShows = FALSE;
};

// The colour a fade frame of the alpha shows between the two colours.
inline COLORREF FadeBlend(COLORREF from, COLORREF to, int alpha)
{
    BYTE out[4];
    const BYTE a[4] = {GetBValue(from), GetGValue(from), GetRValue(from), 0};
    const BYTE b[4] = {GetBValue(to), GetGValue(to), GetRValue(to), 0};
    AlphaBlendBits(out, a, 1, 1, b, alpha);
    return RGB(out[2], out[1], out[0]);
}

// A pixel of the window's client area as the screen shows it.
inline COLORREF WindowPixel(HWND window, int x, int y)
{
    foundation_test::DcTestSurface surface(1, 1);
    HDC windowDC = ::GetDC(window);
    ::BitBlt(surface.GetDC(), 0, 0, 1, 1, windowDC, x, y, SRCCOPY);
    ::ReleaseDC(window, windowDC);
    return surface.Pixel(0, 0);
}

// A pixel of a bitmap that no DC holds.
inline COLORREF BitmapPixel(HBITMAP bitmap, int x, int y)
{
    foundation_test::DcTestSurface surface(1, 1);
    HDC memory = ::CreateCompatibleDC(surface.GetDC());
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(surface.GetDC(), 0, 0, 1, 1, memory, x, y, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    return surface.Pixel(0, 0);
}

inline CSize BitmapSize(HBITMAP bitmap)
{
    BITMAP info{};
    if (!bitmap || !::GetObject(bitmap, sizeof(info), &info))
        return CSize(0, 0);
    return CSize(info.bmWidth, info.bmHeight);
}

}  // namespace commandbars_test
