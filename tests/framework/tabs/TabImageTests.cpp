// A tab's icon: turned a quarter clockwise on a vertical strip with rotated icons, and the state image it takes
// when disabled, hot or selected.
#include <gtest/gtest.h>

#include <vector>

#include "TabTestSupport.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/ImageManagerIcon.h"
#include "tests/support/DcTestSurface.h"

using foundation_test::DcTestSurface;
using tabs_test::InstallTestAppearance;
using tabs_test::TestStrip;

namespace {

const COLORREF kQuadrant = RGB(220, 30, 30);
const COLORREF kRest = RGB(30, 30, 220);

// An opaque 16 x 16 icon: the top-left quadrant in one colour, the rest in another (or all of it in one).
HICON MakeTabTestIcon(COLORREF clrTopLeft, COLORREF clrRest)
{
    HDC hdcScreen = ::GetDC(nullptr);
    HBITMAP hColor = ::CreateCompatibleBitmap(hdcScreen, 16, 16);
    HDC hdc = ::CreateCompatibleDC(hdcScreen);
    HGDIOBJ hOld = ::SelectObject(hdc, hColor);
    const RECT rcAll{0, 0, 16, 16};
    const RECT rcQuadrant{0, 0, 8, 8};
    HBRUSH hRest = ::CreateSolidBrush(clrRest);
    HBRUSH hQuadrant = ::CreateSolidBrush(clrTopLeft);
    ::FillRect(hdc, &rcAll, hRest);
    ::FillRect(hdc, &rcQuadrant, hQuadrant);
    ::DeleteObject(hRest);
    ::DeleteObject(hQuadrant);
    ::SelectObject(hdc, hOld);
    ::DeleteDC(hdc);
    ::ReleaseDC(nullptr, hdcScreen);
    const std::vector<WORD> maskBits(16, 0);  // all opaque
    HBITMAP hMask = ::CreateBitmap(16, 16, 1, 1, maskBits.data());
    ICONINFO info{TRUE, 0, 0, hMask, hColor};
    HICON hIcon = ::CreateIconIndirect(&info);
    ::DeleteObject(hColor);
    ::DeleteObject(hMask);
    return hIcon;
}

struct ImageFixture
{
    ImageFixture()
    {
        InstallTestAppearance(pm);
        images.SetIcon(MakeTabTestIcon(kQuadrant, kRest), 100, 16, 16);
        pIcon = images.GetImage(100, 16);
        strip.AddItems(3);
    }
    COSMTabPaintManager pm;
    TestStrip strip{&pm, CRect(0, 0, 200, 200)};
    COSMImageManager images;
    COSMImageManagerIcon* pIcon = nullptr;
};

TEST(TabImageTest, AVerticalStripWithRotatedIconsTurnsTheIconClockwise)
{
    struct RotationCase
    {
        int nPosition;
        BOOL bRotate;
        CPoint ptQuadrant;  // where the coloured quadrant shows, inside the 16 x 16 square
    };
    const RotationCase cases[] = {
        {1, TRUE, CPoint(12, 3)}, {3, TRUE, CPoint(12, 3)}, {1, FALSE, CPoint(3, 3)}, {0, TRUE, CPoint(3, 3)}};
    for (const RotationCase& c : cases)
    {
        ImageFixture f;
        ASSERT_NE(nullptr, f.pIcon);
        f.pm.m_bRotateImageOnVerticalDraw = c.bRotate;
        f.pm.SetPosition(c.nPosition);
        DcTestSurface surface(30, 30, RGB(255, 255, 255));
        f.strip.GetItem(1)->DrawImage(surface.dc(), CRect(4, 4, 20, 20), f.pIcon);
        EXPECT_EQ(kQuadrant, surface.Pixel(4 + c.ptQuadrant.x, 4 + c.ptQuadrant.y))
            << "position " << c.nPosition << " rotate " << c.bRotate;
        EXPECT_EQ(kRest, surface.Pixel(4 + 15 - c.ptQuadrant.x, 4 + 15 - c.ptQuadrant.y))
            << "position " << c.nPosition << " rotate " << c.bRotate;
        EXPECT_EQ(RGB(255, 255, 255), surface.Pixel(2, 2)) << "nothing outside the square";
    }
}

TEST(TabImageTest, TheImageFollowsTheTabsState)
{
    ImageFixture f;
    ASSERT_NE(nullptr, f.pIcon);
    const COLORREF kHot = RGB(10, 200, 10);
    const COLORREF kSelected = RGB(200, 200, 10);
    f.pIcon->SetStateImage2(COSMImageManagerIconHandle(MakeTabTestIcon(kHot, kHot)));
    f.pIcon->SetStateImage3(COSMImageManagerIconHandle(MakeTabTestIcon(kSelected, kSelected)));
    f.pm.m_bHotTracking = TRUE;
    f.strip.SetCurSel(1);
    tabs_test::LoopWindow window;
    ::SetForegroundWindow(window.Handle());
    f.strip.OnMouseMove(window.Handle(), f.strip.GetItem(2)->GetRect().CenterPoint());
    ASSERT_EQ(f.strip.GetItem(2), f.strip.GetHighlightedItem());
    f.strip.GetItem(0)->SetEnabled(FALSE);
    f.strip.InsertItem(-1);  // a normal one

    const struct
    {
        int nItem;
        const char* state;
    } cases[] = {{0, "disabled"}, {1, "selected"}, {2, "hot"}, {3, "normal"}};
    for (const auto& c : cases)
    {
        DcTestSurface surface(20, 20, RGB(255, 255, 255));
        f.strip.GetItem(c.nItem)->DrawImage(surface.dc(), CRect(2, 2, 18, 18), f.pIcon);
        const COLORREF clr = surface.Pixel(14, 14);
        if (c.nItem == 1)
            EXPECT_EQ(kSelected, clr) << c.state;
        else if (c.nItem == 2)
            EXPECT_EQ(kHot, clr) << c.state;
        else if (c.nItem == 3)
            EXPECT_EQ(kRest, clr) << c.state;
        else
        {
            EXPECT_NE(kRest, clr) << c.state;
            EXPECT_TRUE(GetRValue(clr) == GetGValue(clr) && GetGValue(clr) == GetBValue(clr))
                << c.state << ": grey, not " << int(GetRValue(clr)) << "," << int(GetGValue(clr)) << ","
                << int(GetBValue(clr));
        }
    }
}

}  // namespace
