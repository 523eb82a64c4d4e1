// The image manager's store: icons by command and width with the map's walking order, state images and their
// fallbacks, custom ids, the shared caches, generated images, mirroring and drawing, read back from DIB sections.
#include <gtest/gtest.h>

#include "ImageTestSupport.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/ImageFunctions.h"
#include "framework/foundation/ImageManager.h"
#include "platform/classlib/RefPtr.h"

using namespace image_test;

namespace {

const UINT kID = 1000;
const DWORD kWhite = Argb(255, 255, 255, 255);
const DWORD kBlack = Argb(255, 0, 0, 0);

COSMImageManagerIconHandle AlphaImage(int cx, int cy, const std::vector<DWORD>& pixels)
{
    COSMImageManagerIconHandle image;
    image.SetAlphaBitmap(MakeBitmap32(cx, cy, pixels));
    return image;
}

COSMImageManagerIconHandle SolidAlphaImage(int cx, int cy, DWORD pixel)
{
    return AlphaImage(cx, cy, std::vector<DWORD>(static_cast<size_t>(cx) * cy, pixel));
}

// 16 x 16: red, with a transparent top-left pixel (white marks it in the colours given).
HICON RedIconWithHole()
{
    std::vector<COLORREF> colors(256, RGB(255, 0, 0));
    colors[0] = RGB(255, 255, 255);
    return MakeClassicIcon(16, 16, colors, RGB(255, 255, 255));
}

// 16 x 16: the left half red, the right half blue.
HICON HalvesIcon()
{
    std::vector<COLORREF> colors(256);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            colors[y * 16 + x] = x < 8 ? RGB(255, 0, 0) : RGB(0, 0, 255);
    return MakeClassicIcon(16, 16, colors, CLR_INVALID);
}

class ImageStore : public ::testing::Test
{
protected:
    void SetUp() override { m_pManager = new COSMImageManager; }
    void TearDown() override { m_pManager->InternalRelease(); }

    COSMImageManagerIcon* AddIcon(UINT nID, int nWidth, COLORREF clr = RGB(0, 128, 0))
    {
        EXPECT_TRUE(m_pManager->SetIcon(IconImage(MakeSolidIcon(nWidth, nWidth, clr)), nID));
        return m_pManager->GetImage(nID, nWidth);
    }
    int UsedSlots(int nSize)
    {
        COSMImageManagerIconCache* pCache = m_pManager->GetCache(CSize(nSize, nSize), FALSE);
        return pCache ? pCache->GetUsedSlotCount() : 0;
    }

    COSMImageManager* m_pManager = nullptr;
};

}  // namespace

TEST_F(ImageStore, ClosestWidthFollowsTheWalkOfTheMap)
{
    struct Case
    {
        std::vector<int> widths;  // in the order they are added
        int request;
        int expected;
    } cases[] = {
        {{16, 32}, 20, 16},
        {{16, 32}, 0, 16},
        {{16, 32}, 1, 32},
        {{16, 32}, 32, 32},
        {{16, 32}, 100, 32},
        {{32, 16}, 2, 16},
        {{16, 24}, 20, 24},
        {{24, 16}, 20, 16},
        {{16, 24, 40}, 0, 16},
        {{40, 16, 24}, 1, 40},
        // 16 and 48 are both 16 away from 32 but lie in buckets 1 and 3: bucket 1 is walked first.
        {{48, 16}, 32, 16},
    };
    for (const Case& c : cases)
    {
        RefPtr<COSMImageManager> pManager = AdoptRef(new COSMImageManager);
        for (int nWidth : c.widths)
            ASSERT_TRUE(pManager->SetIcon(IconImage(MakeSolidIcon(nWidth, nWidth, RGB(1, 2, 3))), kID));
        COSMImageManagerIcon* pIcon = pManager->GetImage(kID, c.request);
        ASSERT_NE(pIcon, nullptr);
        EXPECT_EQ(pIcon->GetWidth(), c.expected)
            << "request " << c.request << " of " << c.widths.size() << " widths, first " << c.widths[0];
        pManager.Reset();
    }
}

TEST_F(ImageStore, ContainsImageAnswersTheExactWidthOnly)
{
    AddIcon(kID, 16);
    AddIcon(kID, 32);
    const struct
    {
        UINT id;
        int width;
        BOOL expected;
    } cases[] = {{kID, 16, TRUE}, {kID, 32, TRUE}, {kID, 20, FALSE},    {kID, 24, FALSE},
                 {kID, 0, TRUE},  {kID, 1, TRUE},  {kID + 1, 0, FALSE}, {kID + 1, 16, FALSE}};
    for (const auto& c : cases)
        EXPECT_EQ(m_pManager->ContainsImage(c.id, c.width), c.expected) << c.id << " at " << c.width;
}

TEST_F(ImageStore, ImageListSourcesServeTheirRangeOfCommands)
{
    HIMAGELIST hList = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 3, 1);
    const COLORREF colors[] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200)};
    for (COLORREF clr : colors)
    {
        HICON hIcon = MakeSolidIcon(16, 16, clr);
        ImageList_AddIcon(hList, hIcon);
        ::DestroyIcon(hIcon);
    }
    ASSERT_TRUE(m_pManager->AddImageList(hList, 500, TRUE));
    const struct
    {
        UINT id;
        int width;
        BOOL expected;
    } cases[] = {{500, 16, TRUE},  {502, 16, TRUE},  {501, 0, TRUE},
                 {501, 24, FALSE}, {503, 16, FALSE}, {499, 16, FALSE}};
    for (const auto& c : cases)
        EXPECT_EQ(m_pManager->ContainsImage(c.id, c.width), c.expected) << c.id << " at " << c.width;
    for (UINT i = 0; i < 3; ++i)
    {
        COSMImageManagerIcon* pIcon = m_pManager->GetImage(500 + i, 16);
        ASSERT_NE(pIcon, nullptr);
        EXPECT_EQ(pIcon->GetImageList()->GetImageList(), hList);
        DcTestSurface surface(16, 16, DcTestSurface::RawFill{kWhite});
        pIcon->Draw(surface.dc(), 0, 0, pIcon->GetIcon());
        EXPECT_EQ(surface.Pixel(8, 8), colors[i]);
    }
    EXPECT_EQ(m_pManager->GetImage(503, 16), nullptr);
    // A set of its own wins over the list.
    AddIcon(501, 16, RGB(9, 9, 9));
    EXPECT_EQ(m_pManager->GetImage(501, 16)->GetImageList(), nullptr);
}

TEST_F(ImageStore, StateImagesFallBackToStateTwoAndTheNormalImage)
{
    COSMImageManagerIcon* pIcon = AddIcon(kID, 16);
    ASSERT_NE(pIcon, nullptr);
    COSMImageManagerIconHandle* pNormal = &pIcon->GetIcon();
    for (int nState : {0, 2, 3, 4, 5, -1})
        EXPECT_EQ(&pIcon->GetImageForState(nState), pNormal) << nState;

    ASSERT_TRUE(m_pManager->SetIcon(IconImage(MakeSolidIcon(16, 16, RGB(1, 1, 1))), kID, 0, 0, 2));
    COSMImageManagerIconHandle* pHot = &pIcon->GetImageForState(2);
    EXPECT_NE(pHot, pNormal);
    EXPECT_EQ(&pIcon->GetImageForState(3), pHot);
    EXPECT_EQ(&pIcon->GetImageForState(4), pHot);

    ASSERT_TRUE(m_pManager->SetIcon(IconImage(MakeSolidIcon(16, 16, RGB(2, 2, 2))), kID, 0, 0, 3));
    EXPECT_NE(&pIcon->GetImageForState(3), pHot);
    EXPECT_EQ(&pIcon->GetImageForState(4), pHot);
    ASSERT_TRUE(m_pManager->SetIcon(IconImage(MakeSolidIcon(16, 16, RGB(3, 3, 3))), kID, 0, 0, 4));
    EXPECT_NE(&pIcon->GetImageForState(4), pHot);
    EXPECT_NE(&pIcon->GetImageForState(4), &pIcon->GetImageForState(3));

    // State 1 without a disabled image of its own: one is generated.
    EXPECT_FALSE(pIcon->HasDisabledIcon());
    EXPECT_FALSE(pIcon->GetImageForState(1).IsEmpty());
    EXPECT_TRUE(pIcon->HasDisabledIcon());
}

TEST_F(ImageStore, SetIconRefusesEmptyImagesAndOtherStatesWithoutASet)
{
    HICON hGone = MakeSolidIcon(16, 16, RGB(1, 2, 3));
    ::DestroyIcon(hGone);
    COSMImageManagerIconHandle destroyed;
    destroyed.SetIcon(hGone, FALSE);
    const COSMImageManagerIconHandle empty;
    EXPECT_FALSE(m_pManager->SetIcon(empty, kID));
    EXPECT_FALSE(m_pManager->SetIcon(empty, kID, 16, 16));
    EXPECT_FALSE(m_pManager->SetIcon(destroyed, kID));
    EXPECT_FALSE(m_pManager->SetIcon(IconImage(MakeSolidIcon(16, 16, RGB(1, 2, 3))), kID, 0, 0, 1));
    EXPECT_FALSE(m_pManager->SetIcon(IconImage(MakeSolidIcon(16, 16, RGB(1, 2, 3))), kID, 0, 0, 3));
    EXPECT_EQ(m_pManager->LookupIconSet(kID), nullptr);

    EXPECT_TRUE(m_pManager->SetIcon(IconImage(MakeSolidIcon(16, 16, RGB(1, 2, 3))), kID));
    ASSERT_NE(m_pManager->LookupIconSet(kID), nullptr);
    EXPECT_TRUE(m_pManager->SetIcon(IconImage(MakeSolidIcon(16, 16, RGB(4, 5, 6))), kID, 0, 0, 1));
    EXPECT_TRUE(m_pManager->GetImage(kID, 16)->HasDisabledIcon());
}

TEST_F(ImageStore, ANewNormalImageDropsTheGeneratedImagesOfEveryIconOfTheCommand)
{
    ASSERT_TRUE(m_pManager->SetIcon(SolidAlphaImage(16, 16, Argb(255, 10, 20, 30)), kID));
    ASSERT_TRUE(m_pManager->SetIcon(SolidAlphaImage(24, 24, Argb(255, 10, 20, 30)), kID));
    COSMImageManagerIcon* p16 = m_pManager->GetImage(kID, 16);
    COSMImageManagerIcon* p24 = m_pManager->GetImage(kID, 24);
    for (COSMImageManagerIcon* pIcon : {p16, p24})
    {
        EXPECT_FALSE(pIcon->GetFadedIcon().IsEmpty());
        EXPECT_FALSE(pIcon->GetShadowIcon().IsEmpty());
        EXPECT_FALSE(pIcon->GetDisabledIcon(TRUE).IsEmpty());
    }
    // Each generated image holds a cache slot beside the normal one.
    EXPECT_EQ(UsedSlots(16), 4);
    EXPECT_EQ(UsedSlots(24), 4);

    ASSERT_TRUE(m_pManager->SetIcon(SolidAlphaImage(16, 16, Argb(255, 90, 80, 70)), kID));
    EXPECT_EQ(m_pManager->GetImage(kID, 16), p16);
    EXPECT_EQ(UsedSlots(16), 1);
    EXPECT_EQ(UsedSlots(24), 1);
    EXPECT_FALSE(p16->HasDisabledIcon());
    EXPECT_FALSE(p24->HasDisabledIcon());
    // Made again from the new image.
    DcTestSurface surface(16, 16, DcTestSurface::RawFill{kBlack});
    p16->Draw(surface.dc(), 0, 0, p16->GetFadedIcon());
    EXPECT_EQ(surface.Pixel(3, 3), RGB((3 * 255 + 7 * 90) / 10, (3 * 255 + 7 * 80) / 10, (3 * 255 + 7 * 70) / 10));
}

TEST_F(ImageStore, CustomIdsCountOnFromTheLastOne)
{
    EXPECT_EQ(m_pManager->GetLastCustomID(), 68266u);
    EXPECT_EQ(m_pManager->AddCustomIcon(IconImage(MakeSolidIcon(16, 16, RGB(1, 2, 3)))), 68267u);
    EXPECT_EQ(m_pManager->AddCustomIcon(IconImage(MakeSolidIcon(20, 20, RGB(1, 2, 3)))), 68268u);
    EXPECT_EQ(m_pManager->AddCustomIcon(COSMImageManagerIconHandle()), 0u);
    EXPECT_EQ(m_pManager->GetLastCustomID(), 68268u);
    ASSERT_NE(m_pManager->LookupIconSet(68268), nullptr);
    EXPECT_NE(m_pManager->LookupIconSet(68268)->GetIcon(20, FALSE), nullptr);
}

TEST_F(ImageStore, CacheGrowsOneSlotAtATimeReusesFreedSlotsAndGivesItsBitmapsBack)
{
    const std::set<WORD> gdiBefore = GdiUsage();
    const COLORREF colors[] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(200, 200, 0)};
    std::vector<std::unique_ptr<COSMImageManagerIconHandle>> handles;
    COSMImageManagerIconCache* pCache = nullptr;
    for (int i = 0; i < 3; ++i)
    {
        std::vector<COLORREF> pixels(256, colors[i]);
        pixels[17] = RGB(255, 255, 255);  // (1, 1) transparent
        handles.push_back(std::make_unique<COSMImageManagerIconHandle>());
        handles.back()->SetImageManager(m_pManager);
        handles.back()->CopyFrom(IconImage(MakeClassicIcon(16, 16, pixels, RGB(255, 255, 255))));
        pCache = m_pManager->GetCache(CSize(16, 16), FALSE);
        ASSERT_NE(pCache, nullptr);
        EXPECT_EQ(pCache->GetTotalWidth(), 16 * (i + 1));
        EXPECT_EQ(pCache->GetUsedSlotCount(), i + 1);
        ASSERT_NE(handles.back()->GetCacheSlot(), nullptr);
        EXPECT_EQ(handles.back()->GetCacheSlot()->m_rc, CRect(16 * i, 0, 16 * i + 16, 16));
    }
    // Growing kept the images drawn before, colour and mask.
    auto expectDraws = [](COSMImageManagerIconHandle& image, COLORREF clr) {
        DcTestSurface surface(16, 16, DcTestSurface::RawFill{Argb(0, 1, 2, 3)});
        image.Draw(surface.dc(), 0, 0, 16, 16);
        EXPECT_EQ(surface.Pixel(5, 9), clr);
        EXPECT_EQ(surface.Pixel(1, 1), RGB(1, 2, 3));
    };
    for (int i = 0; i < 3; ++i)
        expectDraws(*handles[i], colors[i]);

    const CRect rcFreed = handles[1]->GetCacheSlot()->m_rc;
    handles[1]->Clear();
    EXPECT_EQ(pCache->GetUsedSlotCount(), 2);
    EXPECT_EQ(pCache->GetFreeSlotCount(), 1);
    EXPECT_EQ(pCache->GetTotalWidth(), 48);
    std::vector<COLORREF> pixels(256, colors[3]);
    pixels[17] = RGB(255, 255, 255);
    handles[1]->CopyFrom(IconImage(MakeClassicIcon(16, 16, pixels, RGB(255, 255, 255))));
    EXPECT_EQ(pCache->GetFreeSlotCount(), 0);
    EXPECT_EQ(pCache->GetTotalWidth(), 48);
    EXPECT_EQ(handles[1]->GetCacheSlot()->m_rc, rcFreed);
    expectDraws(*handles[0], colors[0]);
    expectDraws(*handles[1], colors[3]);
    expectDraws(*handles[2], colors[2]);

    for (auto& pHandle : handles)
    {
        EXPECT_NE(pCache->GetColorBitmap(), nullptr);
        pHandle->Clear();
    }
    EXPECT_EQ(pCache->GetColorBitmap(), nullptr);
    EXPECT_EQ(pCache->GetMaskBitmap(), nullptr);
    EXPECT_EQ(pCache->GetTotalWidth(), 0);
    EXPECT_EQ(pCache->GetUsedSlotCount() + pCache->GetFreeSlotCount(), 0);
    EXPECT_EQ(GdiUsage(), gdiBefore);
}

TEST_F(ImageStore, ImagesDrawTheSameFromTheCacheAndFromTheirOwnHandles)
{
    std::vector<DWORD> alphaPixels(256, Argb(255, 0, 0, 200));
    alphaPixels[0] = Argb(0, 0, 0, 0);
    alphaPixels[1] = Argb(128, 255, 0, 0);  // half-transparent red, straight colour
    for (BOOL bCache : {TRUE, FALSE})
    {
        SCOPED_TRACE(bCache ? "cached" : "own handles");
        RefPtr<COSMImageManager> pManager = AdoptRef(new COSMImageManager);
        pManager->EnableCache(bCache);
        ASSERT_TRUE(pManager->SetIcon(IconImage(RedIconWithHole()), 1));
        ASSERT_TRUE(pManager->SetIcon(AlphaImage(16, 16, alphaPixels), 2));
        EXPECT_EQ(pManager->GetImage(1, 16)->GetIcon().GetCacheSlot() != nullptr, bCache != FALSE);

        DcTestSurface surface(16, 16, DcTestSurface::RawFill{kWhite});
        COSMImageManagerIcon* pClassic = pManager->GetImage(1, 16);
        pClassic->Draw(surface.dc(), 0, 0, pClassic->GetIcon());
        EXPECT_EQ(surface.Pixel(0, 0), RGB(255, 255, 255));
        EXPECT_EQ(surface.Pixel(7, 7), RGB(255, 0, 0));

        surface.FillRaw(kWhite);
        COSMImageManagerIcon* pAlpha = pManager->GetImage(2, 16);
        EXPECT_TRUE(pAlpha->HasAlphaImage());
        pAlpha->Draw(surface.dc(), 0, 0, pAlpha->GetIcon());
        EXPECT_EQ(surface.Pixel(0, 0), RGB(255, 255, 255));
        EXPECT_TRUE(Near(surface.Pixel(1, 0), RGB(255, 127, 127))) << std::hex << surface.Pixel(1, 0);
        EXPECT_EQ(surface.Pixel(9, 9), RGB(0, 0, 200));

        // Stretched to twice the size.
        DcTestSurface big(32, 32, DcTestSurface::RawFill{kWhite});
        pClassic->Draw(big.dc(), 0, 0, pClassic->GetIcon(), 32, 32);
        EXPECT_EQ(big.Pixel(1, 1), RGB(255, 255, 255));
        EXPECT_EQ(big.Pixel(30, 30), RGB(255, 0, 0));
        pManager.Reset();
    }
}

// A bar may keep an icon after the manager's sets and caches are gone (RemoveAll): the icon's images lived in
// the caches' slots, so each takes its image out as its own when its cache goes, and draws as before.
TEST_F(ImageStore, AnIconKeptThroughRemoveAllStillDrawsItsPixels)
{
    std::vector<DWORD> alphaPixels(256, Argb(255, 0, 0, 200));
    alphaPixels[0] = Argb(0, 0, 0, 0);
    ASSERT_TRUE(m_pManager->SetIcon(IconImage(RedIconWithHole()), 1));
    ASSERT_TRUE(m_pManager->SetIcon(AlphaImage(16, 16, alphaPixels), 2));
    const struct
    {
        const char* name;
        UINT nID;
        COLORREF clrInside;
    } cases[] = {{"classic", 1, RGB(255, 0, 0)}, {"alpha", 2, RGB(0, 0, 200)}};
    COSMImageManagerIcon* kept[2] = {};
    for (int i = 0; i < 2; ++i)
    {
        kept[i] = m_pManager->GetImage(cases[i].nID, 16);
        ASSERT_NE(kept[i], nullptr);
        ASSERT_NE(kept[i]->GetIcon().GetCacheSlot(), nullptr) << "the image lives in the cache";
        kept[i]->InternalAddRef();
    }
    const HBITMAP hCacheBitmap = m_pManager->GetCache(CSize(16, 16), FALSE)->GetColorBitmap();
    ASSERT_NE(hCacheBitmap, nullptr);

    m_pManager->RemoveAll();
    EXPECT_EQ(m_pManager->GetCache(CSize(16, 16), FALSE), nullptr);
    EXPECT_EQ(::GetObjectType(hCacheBitmap), 0u) << "the cache's bitmap went with it";
    for (int i = 0; i < 2; ++i)
    {
        SCOPED_TRACE(cases[i].name);
        COSMImageManagerIcon* pIcon = kept[i];
        EXPECT_EQ(pIcon->GetIcon().GetCacheSlot(), nullptr) << "the image is the icon's own now";
        DcTestSurface surface(16, 16, DcTestSurface::RawFill{kWhite});
        pIcon->Draw(surface.dc(), 0, 0, pIcon->GetIcon());
        EXPECT_EQ(surface.Pixel(0, 0), RGB(255, 255, 255)) << "the transparent pixel";
        EXPECT_EQ(surface.Pixel(7, 7), cases[i].clrInside);
        EXPECT_EQ(surface.Pixel(15, 15), cases[i].clrInside);
        pIcon->InternalRelease();
    }
}

TEST_F(ImageStore, AnAlphaImageAboveTheTopEdgeDrawsItsVisibleRows)
{
    std::vector<DWORD> pixels(256);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            pixels[y * 16 + x] = Argb(255, static_cast<BYTE>(y * 10), 0, 0);
    COSMImageManagerIconHandle image = AlphaImage(16, 16, pixels);
    DcTestSurface surface(16, 16, DcTestSurface::RawFill{kWhite});
    image.Draw(surface.dc(), 0, -5, 16, 16);
    EXPECT_EQ(surface.Pixel(3, 0), RGB(50, 0, 0));
    EXPECT_EQ(surface.Pixel(3, 10), RGB(150, 0, 0));
    EXPECT_EQ(surface.Pixel(3, 11), RGB(255, 255, 255));
    surface.FillRaw(kWhite);
    image.Draw(surface.dc(), 0, -16, 16, 16);
    EXPECT_EQ(surface.Pixel(3, 0), RGB(255, 255, 255));
}

TEST_F(ImageStore, TheAlphaBufferMakesClassicImagesOpaqueOnTargetsThatKeepAlpha)
{
    for (BOOL bCache : {TRUE, FALSE})
    {
        SCOPED_TRACE(bCache ? "cached" : "own handles");
        RefPtr<COSMImageManager> pManager = AdoptRef(new COSMImageManager);
        pManager->EnableCache(bCache);
        ASSERT_TRUE(pManager->SetIcon(IconImage(RedIconWithHole()), kID));
        COSMImageManagerIcon* pIcon = pManager->GetImage(kID, 16);
        DcTestSurface surface(16, 16, DcTestSurface::RawFill{0x00000000});
        pIcon->Draw(surface.dc(), 0, 0, pIcon->GetIcon());
        const DWORD plain = surface.Raw(5, 5);
        surface.FillRaw(0x00000000);
        pIcon->SetAlphaBuffer(TRUE);
        pIcon->Draw(surface.dc(), 0, 0, pIcon->GetIcon());
        EXPECT_EQ(surface.Raw(5, 5), Argb(255, 255, 0, 0)) << std::hex << plain;
        EXPECT_EQ(surface.Raw(0, 0), 0u);
        pManager.Reset();
    }
}

TEST_F(ImageStore, GreyDisabledImageBrightensByTheSquareRootOfLuminance)
{
    // 255 * sqrt(L / 255) with L = 0.299 R + 0.587 G + 0.114 B: white stays white, 128 grey becomes 180.
    const struct
    {
        COLORREF in;
        int grey;
    } cases[] = {{RGB(255, 255, 255), 255}, {RGB(128, 128, 128), 180}, {RGB(0, 0, 0), 0}, {RGB(255, 0, 0), 139}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.grey);
        RefPtr<COSMImageManager> pManager = AdoptRef(new COSMImageManager);
        std::vector<COLORREF> colors(256, c.in);
        colors[0] = RGB(1, 254, 1);
        ASSERT_TRUE(pManager->SetIcon(IconImage(MakeClassicIcon(16, 16, colors, RGB(1, 254, 1))), 1));
        std::vector<DWORD> pixels(256, Argb(255, GetRValue(c.in), GetGValue(c.in), GetBValue(c.in)));
        pixels[0] = 0;
        ASSERT_TRUE(pManager->SetIcon(AlphaImage(16, 16, pixels), 2));
        for (UINT nID : {1u, 2u})
        {
            COSMImageManagerIcon* pIcon = pManager->GetImage(nID, 16);
            DcTestSurface surface(16, 16, DcTestSurface::RawFill{Argb(0, 10, 60, 110)});
            pIcon->Draw(surface.dc(), 0, 0, pIcon->GetDisabledIcon(TRUE));
            EXPECT_EQ(surface.Pixel(6, 6), RGB(c.grey, c.grey, c.grey)) << nID;
            EXPECT_EQ(surface.Pixel(0, 0), RGB(10, 60, 110)) << nID;
        }
        pManager.Reset();
    }
    // Half-transparent: the grey of the straight colour, premultiplied again.
    ASSERT_TRUE(m_pManager->SetIcon(SolidAlphaImage(16, 16, Argb(128, 128, 128, 128)), kID));
    COSMImageManagerIcon* pIcon = m_pManager->GetImage(kID, 16);
    DcTestSurface surface(16, 16, DcTestSurface::RawFill{kBlack});
    pIcon->Draw(surface.dc(), 0, 0, pIcon->GetDisabledIcon(TRUE));
    EXPECT_TRUE(Near(surface.Pixel(4, 4), RGB(180 * 128 / 255, 180 * 128 / 255, 180 * 128 / 255)))
        << std::hex << surface.Pixel(4, 4);
}

TEST_F(ImageStore, ColourisedDisabledImageRunsFromTheDarkToTheLightColour)
{
    const COLORREF clrFrom = RGB(200, 100, 0);  // light end
    const COLORREF clrTo = RGB(0, 50, 250);     // dark end
    const struct
    {
        COLORREF in;
        COLORREF out;
    } cases[] = {{RGB(0, 0, 0), clrTo}, {RGB(255, 255, 255), clrFrom}, {RGB(51, 51, 51), RGB(40, 60, 200)}};
    for (const auto& c : cases)
    {
        RefPtr<COSMImageManager> pManager = AdoptRef(new COSMImageManager);
        ASSERT_TRUE(pManager->SetIcon(IconImage(MakeSolidIcon(16, 16, c.in)), kID));
        COSMImageManagerIcon* pIcon = pManager->GetImage(kID, 16);
        pIcon->CreateDisabledIcon(clrFrom, clrTo);
        // Made once: a second call with other colours keeps it.
        pIcon->CreateDisabledIcon(RGB(1, 1, 1), RGB(2, 2, 2));
        DcTestSurface surface(16, 16, DcTestSurface::RawFill{kWhite});
        pIcon->Draw(surface.dc(), 0, 0, pIcon->GetDisabledIcon(FALSE));
        EXPECT_EQ(surface.Pixel(8, 8), c.out) << std::hex << c.in;
        pManager.Reset();
    }
}

TEST_F(ImageStore, FadedImageMovesThirtyPercentTowardsWhite)
{
    std::vector<COLORREF> colors(256, RGB(100, 0, 250));
    colors[0] = RGB(1, 254, 1);
    ASSERT_TRUE(m_pManager->SetIcon(IconImage(MakeClassicIcon(16, 16, colors, RGB(1, 254, 1))), 1));
    std::vector<DWORD> pixels(256, Argb(200, 100, 0, 250));
    pixels[0] = 0;
    ASSERT_TRUE(m_pManager->SetIcon(AlphaImage(16, 16, pixels), 2));

    DcTestSurface surface(16, 16, DcTestSurface::RawFill{kBlack});
    COSMImageManagerIcon* pClassic = m_pManager->GetImage(1, 16);
    pClassic->Draw(surface.dc(), 0, 0, pClassic->GetFadedIcon());
    EXPECT_EQ(surface.Pixel(5, 5), RGB((765 + 700) / 10, 765 / 10, (765 + 1750) / 10));
    EXPECT_EQ(surface.Pixel(0, 0), RGB(0, 0, 0));

    // Premultiplied: each channel c * a / 255 first, then 0.3 a + 0.7 c.
    surface.FillRaw(kBlack);
    COSMImageManagerIcon* pAlpha = m_pManager->GetImage(2, 16);
    pAlpha->Draw(surface.dc(), 0, 0, pAlpha->GetFadedIcon());
    const int r = 100 * 200 / 255;
    const int b = 250 * 200 / 255;
    EXPECT_TRUE(Near(surface.Pixel(5, 5), RGB((600 + 7 * r) / 10, 600 / 10, (600 + 7 * b) / 10)))
        << std::hex << surface.Pixel(5, 5);
    EXPECT_EQ(surface.Pixel(0, 0), RGB(0, 0, 0));
}

TEST_F(ImageStore, ShadowImageIsThreeQuartersOfTheShadowColourInTheShapeOfStateTwo)
{
    const COLORREF clrBase = GetColorManager()->GetColor(31);
    const COLORREF clrShadow = RGB(GetRValue(clrBase) * 3 / 4, GetGValue(clrBase) * 3 / 4, GetBValue(clrBase) * 3 / 4);
    std::vector<COLORREF> colors(256, RGB(9, 9, 9));
    colors[0] = RGB(1, 254, 1);
    colors[1] = RGB(1, 254, 1);
    ASSERT_TRUE(m_pManager->SetIcon(IconImage(MakeClassicIcon(16, 16, colors, RGB(1, 254, 1))), kID));
    COSMImageManagerIcon* pIcon = m_pManager->GetImage(kID, 16);
    DcTestSurface surface(16, 16, DcTestSurface::RawFill{kWhite});
    pIcon->Draw(surface.dc(), 0, 0, pIcon->GetShadowIcon());
    EXPECT_EQ(surface.Pixel(7, 7), clrShadow);
    EXPECT_EQ(surface.Pixel(1, 0), RGB(255, 255, 255));

    // With a state-2 image, the shadow takes its shape: (1, 0) is opaque there.
    colors[1] = RGB(9, 9, 9);
    ASSERT_TRUE(m_pManager->SetIcon(IconImage(MakeClassicIcon(16, 16, colors, RGB(1, 254, 1))), kID, 0, 0, 2));
    surface.FillRaw(kWhite);
    pIcon->Draw(surface.dc(), 0, 0, pIcon->GetShadowIcon());
    EXPECT_EQ(surface.Pixel(1, 0), clrShadow);
    EXPECT_EQ(surface.Pixel(0, 0), RGB(255, 255, 255));

    // An alpha image's shadow keeps its alpha.
    ASSERT_TRUE(m_pManager->SetIcon(SolidAlphaImage(16, 16, Argb(128, 1, 2, 3)), kID + 1));
    COSMImageManagerIcon* pAlpha = m_pManager->GetImage(kID + 1, 16);
    surface.FillRaw(kBlack);
    pAlpha->Draw(surface.dc(), 0, 0, pAlpha->GetShadowIcon());
    EXPECT_TRUE(Near(surface.Pixel(4, 4), RGB(GetRValue(clrShadow) * 128 / 255, GetGValue(clrShadow) * 128 / 255,
                                              GetBValue(clrShadow) * 128 / 255)));
}

TEST_F(ImageStore, MirrorModeTwoMirrorsClassicIconsOnRightToLeftContexts)
{
    // Drawn with mode 0 on the same context, the reference; mirrored means each row runs the other way.
    auto drawRow = [](COSMImageManager* pManager, int nMode, bool bRightToLeft) {
        pManager->SetMirrorMode(nMode);
        DcTestSurface surface(16, 16, DcTestSurface::RawFill{kWhite}, bRightToLeft);
        COSMImageManagerIcon* pIcon = pManager->GetImage(kID, 16);
        pIcon->Draw(surface.dc(), 0, 0, pIcon->GetIcon());
        return surface.Row(4);
    };
    for (BOOL bCache : {TRUE, FALSE})
    {
        RefPtr<COSMImageManager> pManager = AdoptRef(new COSMImageManager);
        pManager->EnableCache(bCache);
        ASSERT_TRUE(pManager->SetIcon(IconImage(HalvesIcon()), kID));
        for (bool bRightToLeft : {false, true})
        {
            const std::vector<DWORD> reference = drawRow(pManager.Get(), 0, bRightToLeft);
            ASSERT_NE(reference.front() & 0xFFFFFF, reference.back() & 0xFFFFFF);
            std::vector<DWORD> mirrored(reference.rbegin(), reference.rend());
            for (int nMode : {0, 1, 2})
            {
                const bool bExpectMirrored = nMode == 1 || (nMode == 2 && bRightToLeft);
                const std::vector<DWORD> row = drawRow(pManager.Get(), nMode, bRightToLeft);
                EXPECT_EQ(row, bExpectMirrored ? mirrored : reference)
                    << "mode " << nMode << (bRightToLeft ? " right-to-left" : " left-to-right")
                    << (bCache ? " cached" : " own handle");
            }
        }
        pManager.Reset();
    }
}

TEST_F(ImageStore, DrawMonoPaintsTheShapeOfClassicImagesAndSkipsAlphaImages)
{
    ASSERT_TRUE(m_pManager->SetIcon(IconImage(RedIconWithHole()), 1));
    ASSERT_TRUE(m_pManager->SetIcon(SolidAlphaImage(16, 16, Argb(255, 255, 0, 0)), 2));
    DcTestSurface surface(16, 16, DcTestSurface::RawFill{kWhite});
    COSMImageManagerIcon* pClassic = m_pManager->GetImage(1, 16);
    pClassic->DrawMono(surface.dc(), CPoint(0, 0), pClassic->GetIcon(), CSize(16, 16), RGB(0, 0, 160));
    EXPECT_EQ(surface.Pixel(6, 6), RGB(0, 0, 160));
    EXPECT_EQ(surface.Pixel(0, 0), RGB(255, 255, 255));

    surface.FillRaw(kWhite);
    COSMImageManagerIcon* pAlpha = m_pManager->GetImage(2, 16);
    pAlpha->DrawMono(surface.dc(), CPoint(0, 0), pAlpha->GetIcon(), CSize(16, 16), RGB(0, 0, 160));
    EXPECT_EQ(surface.Pixel(6, 6), RGB(255, 255, 255));
}

TEST_F(ImageStore, DrawingAtAPointAndSizeMatchesTheCoordinateForm)
{
    ASSERT_TRUE(m_pManager->SetIcon(IconImage(HalvesIcon()), kID));
    COSMImageManagerIcon* pIcon = m_pManager->GetImage(kID, 16);
    DcTestSurface a(40, 40, DcTestSurface::RawFill{kWhite});
    DcTestSurface b(40, 40, DcTestSurface::RawFill{kWhite});
    pIcon->Draw(a.dc(), 3, 5, pIcon->GetIcon(), 24, 0);  // height 0: scaled with the width
    pIcon->DrawNormal(b.dc(), CPoint(3, 5), CSize(24, 0));
    for (int y = 0; y < 40; ++y)
        EXPECT_EQ(a.Row(y), b.Row(y)) << y;
    EXPECT_EQ(a.Pixel(4, 28), RGB(255, 0, 0));
    EXPECT_EQ(a.Pixel(26, 28), RGB(0, 0, 255));
    EXPECT_EQ(a.Pixel(4, 29), RGB(255, 255, 255));
}

TEST(ImageManagerProcess, OneProcessWideManagerHeldByOneReference)
{
    COSMImageManager* pManager = GetImageManager();
    ASSERT_NE(pManager, nullptr);
    EXPECT_EQ(GetImageManager(), pManager);
    EXPECT_EQ(pManager->InternalAddRef(), 2u);
    EXPECT_EQ(pManager->InternalRelease(), 1u);
    EXPECT_EQ(GetImageManager(), pManager);
    // Handles without a manager of their own cache into it.
    COSMImageManagerIconHandle image;
    image.CopyFrom(IconImage(MakeSolidIcon(13, 13, RGB(1, 2, 3))));
    EXPECT_NE(image.GetCacheSlot(), nullptr);
    EXPECT_EQ(image.GetCacheSlot()->m_pCache, pManager->GetCache(CSize(13, 13), FALSE));
}

TEST(ImageFunctions, TheAlphaTestDecidesWhetherAnImageIsPremultiplied)
{
    const struct
    {
        const char* name;
        std::vector<DWORD> pixels;
        BOOL start;
        BOOL alpha;
    } cases[] = {
        {"all opaque", {Argb(255, 200, 100, 50), Argb(255, 1, 2, 3)}, 0, FALSE},
        {"all opaque, counted", {Argb(255, 200, 100, 50), Argb(255, 1, 2, 3)}, -1, TRUE},
        {"transparent, then opaque", {Argb(0, 0, 0, 0), Argb(255, 200, 100, 50)}, 0, TRUE},
        {"opaque, then transparent", {Argb(255, 200, 100, 50), Argb(0, 0, 0, 0)}, 0, FALSE},
        {"half", {Argb(128, 200, 100, 50), Argb(255, 200, 100, 50)}, 0, TRUE},
        {"all transparent, counted", {Argb(0, 200, 100, 50), Argb(0, 1, 2, 3)}, -1, FALSE},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        // One row, so the pixels are tested in the order given.
        HBITMAP hSource = MakeBitmap32(2, 1, c.pixels);
        BOOL bAlpha = c.start;
        LPBYTE pBits = nullptr;
        HBITMAP hCopy = PreMultiplyAlphaBitmap(hSource, &bAlpha, &pBits);
        ASSERT_NE(hCopy, nullptr);
        ASSERT_NE(pBits, nullptr);
        EXPECT_EQ(bAlpha, c.alpha);
        const std::vector<DWORD> copy = ReadBitmap32(hCopy);
        for (size_t i = 0; i < c.pixels.size(); ++i)
        {
            const DWORD p = c.pixels[i];
            const DWORD expected = c.alpha ? Argb(A(p), R(p) * A(p) / 255, G(p) * A(p) / 255, B(p) * A(p) / 255) : p;
            EXPECT_EQ(copy[i], expected) << i;
        }
        ::DeleteObject(hCopy);
        ::DeleteObject(hSource);
    }
    // Without the test the copy is always premultiplied; a bitmap of another depth is refused.
    HBITMAP hSource = MakeBitmap32(1, 1, {Argb(255, 200, 100, 50)});
    HBITMAP hCopy = PreMultiplyAlphaBitmap(hSource);
    EXPECT_EQ(ReadBitmap32(hCopy)[0], Argb(255, 200, 100, 50));
    ::DeleteObject(hCopy);
    ::DeleteObject(hSource);
    HBITMAP hMono = ::CreateBitmap(4, 4, 1, 1, nullptr);
    BOOL bAlpha = TRUE;
    EXPECT_EQ(PreMultiplyAlphaBitmap(hMono, &bAlpha), nullptr);
    EXPECT_FALSE(bAlpha);
    ::DeleteObject(hMono);
}

TEST(ImageFunctions, StripsCopiesAndReads)
{
    std::vector<DWORD> strip(30 * 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 30; ++x)
            strip[y * 30 + x] = Argb(static_cast<BYTE>(x * 8), static_cast<BYTE>(x), static_cast<BYTE>(y), 7);
    HBITMAP hStrip = MakeBitmap32(30, 2, strip);
    HBITMAP slices[3] = {};
    ASSERT_TRUE(SplitAlphaBitmap(hStrip, 3, slices));
    for (int i = 0; i < 3; ++i)
    {
        int cx = 0;
        int cy = 0;
        const std::vector<DWORD> slice = ReadBitmap32(slices[i], &cx, &cy);
        ASSERT_EQ(cx, 10);
        ASSERT_EQ(cy, 2);
        EXPECT_EQ(slice[0], strip[i * 10]);
        EXPECT_EQ(slice[19], strip[30 + i * 10 + 9]);
        ::DeleteObject(slices[i]);
    }
    HBITMAP none[4] = {};
    EXPECT_FALSE(SplitAlphaBitmap(hStrip, 4, none));
    EXPECT_EQ(none[0], nullptr);

    LPBYTE pBits = nullptr;
    HBITMAP hCopy = Create32bppBitmapCopy(hStrip, &pBits);
    ASSERT_NE(pBits, nullptr);
    EXPECT_EQ(ReadBitmap32(hCopy), strip);
    // The copy's memory is bottom-up: the last row given comes first.
    EXPECT_EQ(reinterpret_cast<const DWORD*>(pBits)[0], strip[30]);
    ::DeleteObject(hCopy);

    BITMAPINFO* pInfo = nullptr;
    DWORD* pRead = nullptr;
    CSize size;
    ASSERT_TRUE(CopyBitmapBitsWithAlpha(nullptr, hStrip, &pInfo, &pRead, &size));
    EXPECT_EQ(size, CSize(30, 2));
    EXPECT_EQ(pInfo->bmiHeader.biBitCount, 32);
    EXPECT_EQ(pRead[0], strip[0]);  // top row first
    EXPECT_EQ(pRead[30], strip[30]);
    std::free(pInfo);
    std::free(pRead);
    ::DeleteObject(hStrip);
}

TEST(ImageFunctions, IconsFromAlphaBitmapsAndScaledIcons)
{
    std::vector<DWORD> pixels(16 * 16, Argb(255, 0, 150, 0));
    pixels[0] = 0;
    HBITMAP hBitmap = MakeBitmap32(16, 16, pixels);
    HICON hIcon = CreateAlphaIconFromBitmap(hBitmap);
    ASSERT_NE(hIcon, nullptr);
    EXPECT_EQ(GetIconSize(hIcon), CSize(16, 16));
    DcTestSurface surface(16, 16, DcTestSurface::RawFill{kWhite});
    ::DrawIconEx(*surface.dc(), 0, 0, hIcon, 16, 16, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(surface.Pixel(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(surface.Pixel(5, 5), RGB(0, 150, 0));

    HICON hScaled = ScaleIcon(hIcon, 16, 16, 32);
    ASSERT_NE(hScaled, nullptr);
    EXPECT_EQ(GetIconSize(hScaled), CSize(32, 32));
    HICON hSame = ScaleIcon(hIcon, 16, 16, 16);
    ASSERT_NE(hSame, nullptr);
    EXPECT_NE(hSame, hIcon);
    EXPECT_EQ(GetIconSize(hSame), CSize(16, 16));
    EXPECT_EQ(ScaleIcon(hIcon, 16, 16, 0), nullptr);
    EXPECT_EQ(ScaleIcon(hIcon, 0, 0, 16), nullptr);
    ::DestroyIcon(hScaled);
    ::DestroyIcon(hSame);
    ::DestroyIcon(hIcon);

    HBITMAP h24 = ::CreateBitmap(4, 4, 1, 24, nullptr);
    EXPECT_EQ(CreateAlphaIconFromBitmap(h24), nullptr);
    ::DeleteObject(h24);
    ::DeleteObject(hBitmap);
}

TEST_F(ImageStore, TheDrawingHelpersBlendsAreReachedThroughTheManager)
{
    const CRect rc(0, 0, 4, 4);
    DcTestSurface source(4, 4, DcTestSurface::RawFill{Argb(128, 100, 0, 0)});  // premultiplied
    DcTestSurface target(4, 4, DcTestSurface::RawFill{kWhite});
    ASSERT_TRUE(m_pManager->DrawAlphaBlend(target.dc(), rc, source.dc(), rc));
    EXPECT_TRUE(Near(target.Pixel(2, 2), RGB(100 + 127, 127, 127))) << std::hex << target.Pixel(2, 2);

    source.FillRaw(Argb(0, 255, 0, 255));
    ::SetPixel(*source.dc(), 1, 1, RGB(0, 0, 255));
    target.FillRaw(kWhite);
    ASSERT_TRUE(m_pManager->DrawTransparentBlt(target.dc(), rc, source.dc(), rc, RGB(255, 0, 255)));
    EXPECT_EQ(target.Pixel(1, 1), RGB(0, 0, 255));
    EXPECT_EQ(target.Pixel(2, 2), RGB(255, 255, 255));
}
