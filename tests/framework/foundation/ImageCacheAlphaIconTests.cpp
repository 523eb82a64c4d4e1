// The caches where icons may carry alpha (common controls 6): a classic icon whose 32-bit colours pass the alpha
// test goes into an alpha slot and is blended, one that does not goes the classic way. Wine's common controls 6
// report version 5.81, so the test's manager says what the system would.
#include <gtest/gtest.h>

#include "ImageTestSupport.h"
#include "framework/foundation/ImageFunctions.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/OSVersionInfo.h"
#include "platform/classlib/RefPtr.h"

using namespace image_test;

namespace {

class ManagerWithIconAlpha : public COSMImageManager
{
public:
    explicit ManagerWithIconAlpha(BOOL bIconAlpha) : m_bIconAlpha(bIconAlpha) {}
    BOOL IsIconAlphaSupported() const override { return m_bIconAlpha; }

private:
    BOOL m_bIconAlpha;
};

HICON AlphaIcon(const std::vector<DWORD>& pixels)
{
    HBITMAP hBitmap = MakeBitmap32(16, 16, pixels);
    HICON hIcon = CreateAlphaIconFromBitmap(hBitmap);
    ::DeleteObject(hBitmap);
    return hIcon;
}

}  // namespace

TEST(ImageCacheIconAlpha, TheSystemSaysWhetherIconsCarryAlpha)
{
    RefPtr<COSMImageManager> pManager = AdoptRef(new COSMImageManager);
    EXPECT_EQ(pManager->IsIconAlphaSupported(), HIWORD(COSMOSVersionInfo::GetComCtlVersion()) > 5);
    pManager.Reset();
}

TEST(ImageCacheIconAlpha, IconsWhosePixelsPassTheAlphaTestAreCachedAsAlphaImages)
{
    std::vector<DWORD> halfRed(256, Argb(255, 0, 0, 200));
    halfRed[0] = 0;
    halfRed[1] = Argb(128, 255, 0, 0);
    std::vector<DWORD> holed(256, Argb(255, 0, 0, 200));
    holed[0] = 0;
    std::vector<DWORD> opaque(256, Argb(255, 0, 0, 200));
    const struct
    {
        const char* name;
        std::vector<DWORD> pixels;  // empty: a 24-bit icon
        BOOL iconAlpha;
        BOOL alphaSlot;
    } cases[] = {
        {"half-transparent pixel", halfRed, TRUE, TRUE},
        {"opaque after a transparent pixel", holed, TRUE, TRUE},
        {"opaque only", opaque, TRUE, FALSE},
        {"24-bit colours", {}, TRUE, FALSE},
        {"half-transparent pixel, no icon alpha", halfRed, FALSE, FALSE},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        RefPtr<COSMImageManager> pManager = AdoptRef(new ManagerWithIconAlpha(c.iconAlpha));
        COSMImageManagerIconHandle image;
        image.SetIcon(c.pixels.empty() ? MakeSolidIcon(16, 16, RGB(0, 0, 200)) : AlphaIcon(c.pixels));
        ASSERT_TRUE(pManager->SetIcon(image, 1));
        COSMImageManagerIcon* pIcon = pManager->GetImage(1, 16);
        COSMImageManagerCacheSlot* pSlot = pIcon->GetIcon().GetCacheSlot();
        ASSERT_NE(pSlot, nullptr);
        EXPECT_EQ(pSlot->m_bAlpha, c.alphaSlot);
        EXPECT_EQ(pIcon->GetIcon().IsAlpha(), c.alphaSlot);
        DcTestSurface surface(16, 16, DcTestSurface::RawFill{Argb(0, 255, 255, 255)});
        pIcon->Draw(surface.dc(), 0, 0, pIcon->GetIcon());
        EXPECT_EQ(surface.Pixel(8, 8), RGB(0, 0, 200));
        if (c.pixels == halfRed)
        {
            // Blended from an alpha slot; the classic road draws the icon onto the slot's black once, and the mask
            // then knows only opaque or transparent.
            EXPECT_EQ(surface.Pixel(0, 0), RGB(255, 255, 255));
            const COLORREF clrExpected = c.alphaSlot ? RGB(255, 127, 127) : RGB(128, 0, 0);
            EXPECT_TRUE(Near(surface.Pixel(1, 0), clrExpected)) << std::hex << surface.Pixel(1, 0);
        }
        pManager.Reset();
    }
}
