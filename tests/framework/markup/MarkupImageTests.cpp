// The markup image headless: its size by Stretch, pictures from files the test writes (PNG and BMP), from the
// program's resources (bitmaps by name and number, icon groups) and from image managers by command id (the markup
// context's own and the process-wide one), silence on missing pictures, and the GDI objects a load leaves behind.
#include "ControlTestSupport.h"
#include "tests/support/DcTestSurface.h"
#include "ImageInputChecks.h"
#include "ImageTestSupport.h"
#include "resources/ControlResourceIds.h"

#include "framework/foundation/ImageManager.h"
#include "framework/markup/MarkupImage.h"
#include "framework/markup/MarkupImageLoaders.h"
#include "framework/markup/MarkupScalars.h"
#include "platform/classlib/RefPtr.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <utility>

using foundation_test::DcTestSurface;
using markup_test::ControlTest;

namespace {

class ImageTest : public ControlTest
{
protected:
    // A new image of the context with Source (and Stretch, when not negative).
    RefPtr<COSMMarkupImage> MakeImage(LPCWSTR source, int stretch = -1)
    {
        RefPtr<COSMMarkupImage> image =
            AdoptRef(static_cast<COSMMarkupImage*>(context->CreateObject(COSMMarkupImage::GetClassType())));
        // At the top left of the room, where the tests read its pixels.
        image->SetValue(COSMMarkupFrameworkElement::s_pHorizontalAlignmentProperty, COSMMarkupEnum::CreateValue(0));
        image->SetValue(COSMMarkupFrameworkElement::s_pVerticalAlignmentProperty, COSMMarkupEnum::CreateValue(0));
        SetSource(image.Get(), source);
        if (stretch >= 0)
            image->SetValue(COSMMarkupImage::s_pStretchProperty, COSMMarkupEnum::CreateValue(stretch));
        return image;
    }
    static void SetSource(COSMMarkupImage* image, LPCWSTR source)
    {
        image->SetValue(COSMMarkupImage::s_pSourceProperty,
                        new COSMMarkupString(source, static_cast<int>(wcslen(source))));
    }
    // What the image's measure answers for the room.
    static CSize Measure(COSMMarkupImage* image, int width, int height)
    {
        COSMMarkupDrawingContext measuring(COSMMarkupDrawingContext::CreateMeasuringContext);
        return image->MeasureOverride(&measuring, width, height);
    }
    // A manager of the test's with a solid icon of size under command id; the context holds it from now on.
    void GiveContextManager(UINT id, int size, COLORREF color)
    {
        RefPtr<COSMImageManager> manager = AdoptRef(new COSMImageManager);
        HICON icon = image_test::MakeSolidIcon(size, size, color);
        ASSERT_TRUE(manager->SetIcon(icon, id));
        ::DestroyIcon(icon);
        context->SetImageManager(manager.Get());
        manager.Reset();
    }
};

// A 24-bit bottom-up bitmap file of one colour.
std::vector<BYTE> BmpFile(int width, int height, COLORREF color)
{
    const int rowBytes = (width * 3 + 3) & ~3;
    std::vector<BYTE> pixels;
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            pixels.push_back(GetBValue(color));
            pixels.push_back(GetGValue(color));
            pixels.push_back(GetRValue(color));
        }
        pixels.resize(static_cast<size_t>(rowBytes) * (y + 1), 0);
    }
    std::vector<BYTE> out = {'B', 'M'};
    image_test::AppendLittle32(out, static_cast<DWORD>(14 + 40 + pixels.size()));
    image_test::AppendLittle32(out, 0);
    image_test::AppendLittle32(out, 14 + 40);
    image_test::AppendInfoHeader(out, width, height, 24);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

// An opaque RGBA PNG of one colour.
std::vector<BYTE> PngFile(int width, int height, COLORREF color)
{
    image_test::PngSpec spec;
    spec.width = width;
    spec.height = height;
    spec.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    for (int i = 0; i < width * height; ++i)
    {
        spec.rows.push_back(GetRValue(color));
        spec.rows.push_back(GetGValue(color));
        spec.rows.push_back(GetBValue(color));
        spec.rows.push_back(255);
    }
    return image_test::WritePng(spec);
}

}  // namespace

TEST_F(ImageTest, StretchSizesTheIconToTheRoom)
{
    GiveContextManager(7, 32, RGB(200, 0, 0));
    struct Case
    {
        int stretch;
        int width, height;
        CSize expected;
    };
    const Case cases[] = {
        {COSMMarkupImage::StretchNone, 100, 50, CSize(32, 32)},
        {COSMMarkupImage::StretchUniform, 100, 50, CSize(50, 50)},
        {COSMMarkupImage::StretchUniformToFill, 100, 50, CSize(100, 100)},
        {COSMMarkupImage::StretchFill, 100, 50, CSize(100, 50)},
        // Unbounded both ways: the icon's own size.
        {COSMMarkupImage::StretchUniform, 40000, 40000, CSize(32, 32)},
        {COSMMarkupImage::StretchFill, 32001, 32001, CSize(32, 32)},
        // Unbounded one way: that side follows the other's scale, whatever the stretch.
        {COSMMarkupImage::StretchUniform, 40000, 50, CSize(50, 50)},
        {COSMMarkupImage::StretchFill, 100, 40000, CSize(100, 100)},
        {COSMMarkupImage::StretchUniformToFill, 32001, 16, CSize(16, 16)},
        // Exactly 32000 is still a room.
        {COSMMarkupImage::StretchFill, 32000, 16, CSize(32000, 16)},
    };
    for (const Case& c : cases)
    {
        RefPtr<COSMMarkupImage> image = MakeImage(L"7", c.stretch);
        EXPECT_EQ(Measure(image.Get(), c.width, c.height), c.expected)
            << c.stretch << " in " << c.width << " x " << c.height;
        EXPECT_EQ(image->ArrangeOverride(c.width, c.height), c.expected);
    }
}

TEST_F(ImageTest, StretchTakesItsNamesInAnyCase)
{
    struct Case
    {
        const char* text;
        int stretch;
    };
    for (const Case& c : {Case{"none", 0}, Case{"FILL", 1}, Case{"Uniform", 2}, Case{"uniformtofill", 3}})
    {
        markup_test::Hold root =
            markup_test::Hold::Adopt(Build("<Page><Image Name=\"i\" Stretch=\"" + std::string(c.text) + "\"/></Page>"));
        auto* image = FindAs<COSMMarkupImage>(root.Get(), L"i");
        ASSERT_NE(image, nullptr);
        auto* value = MarkupDynamicCast<COSMMarkupEnum>(image->GetValue(COSMMarkupImage::s_pStretchProperty));
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->GetValue(), c.stretch) << c.text;
    }
}

TEST_F(ImageTest, FilesWrittenByTheTestAreShown)
{
    struct Case
    {
        const char* file;
        std::vector<BYTE> bytes;
        CSize size;
        COLORREF color;
    };
    const Case cases[] = {
        {"markup-image-test.png", PngFile(4, 3, RGB(200, 30, 40)), CSize(4, 3), RGB(200, 30, 40)},
        {"markup-image-test.bmp", BmpFile(5, 2, RGB(20, 30, 220)), CSize(5, 2), RGB(20, 30, 220)},
    };
    for (const Case& c : cases)
    {
        image_test::WriteFile(c.file, c.bytes);
        const std::string source = std::string("FILE://") + c.file;
        RefPtr<COSMMarkupImage> image = MakeImage(std::wstring(source.begin(), source.end()).c_str());
        ControlTest::Layout(image.Get(), 100, 100);
        EXPECT_EQ(image->GetDesiredSize(), c.size) << c.file;
        ASSERT_NE(image->GetIcon(), nullptr) << c.file;
        // An image manager of the image's own, masking green.
        ASSERT_NE(image->GetImageManager(), nullptr);
        EXPECT_NE(image->GetImageManager(), GetImageManager());
        EXPECT_EQ(image->GetImageManager()->GetMaskColor(), RGB(0, 255, 0));

        DcTestSurface surface(20, 20, RGB(255, 255, 255));
        COSMMarkupDrawingContext dc(surface.GetDC());
        image->Render(&dc);
        EXPECT_EQ(surface.Pixel(1, 1), c.color) << c.file;
        EXPECT_EQ(surface.Pixel(c.size.cx, 1), RGB(255, 255, 255)) << c.file;
        ::DeleteFileA(c.file);
    }
}

TEST_F(ImageTest, ResourcesByNameAndNumber)
{
    struct Case
    {
        const wchar_t* source;
        int room;
        CSize size;
    };
    const Case cases[] = {
        {L"res://#501", 100, CSize(8, 8)},           // a bitmap by number
        {L"res://MARKUPSTRIP", 100, CSize(48, 16)},  // a bitmap by name, the whole strip as one icon
        {L"res://#502", 100, CSize(32, 32)},         // no bitmap: the icon group, nearest to the room
        {L"res://#502", 16, CSize(16, 16)},         {L"res://MARKUPICON", 20, CSize(16, 16)},
        {L"Res://markupicon", 100, CSize(32, 32)},
    };
    for (const Case& c : cases)
    {
        RefPtr<COSMMarkupImage> image = MakeImage(c.source);
        EXPECT_EQ(Measure(image.Get(), c.room, c.room), c.size) << markup_test::Utf8(c.source) << " " << c.room;
    }
    // The bitmap's own colour comes through.
    RefPtr<COSMMarkupImage> plain = MakeImage(L"res://#501");
    ControlTest::Layout(plain.Get(), 50, 50);
    DcTestSurface surface(10, 10, RGB(255, 255, 255));
    COSMMarkupDrawingContext dc(surface.GetDC());
    plain->Render(&dc);
    EXPECT_EQ(surface.Pixel(3, 3), RGB(0, 128, 255));
}

TEST_F(ImageTest, CommandIdsComeFromTheContextsManagerElseTheProcesssOne)
{
    const UINT id = 31001;
    HICON icon = image_test::MakeSolidIcon(20, 20, RGB(0, 90, 0));
    ASSERT_TRUE(GetImageManager()->SetIcon(icon, id));
    ::DestroyIcon(icon);

    RefPtr<COSMMarkupImage> fromProcess = MakeImage(L"31001");
    EXPECT_EQ(Measure(fromProcess.Get(), 100, 100), CSize(20, 20));
    EXPECT_EQ(fromProcess->GetImageManager(), GetImageManager());

    GiveContextManager(id, 24, RGB(0, 0, 90));
    RefPtr<COSMMarkupImage> fromContext = MakeImage(L"31001");
    EXPECT_EQ(Measure(fromContext.Get(), 100, 100), CSize(24, 24));
    EXPECT_EQ(fromContext->GetImageManager(), context->GetImageManager());
    EXPECT_NE(context->GetImageManager(), GetImageManager());

    // A context without its own manager again uses the process's.
    context->SetImageManager(nullptr);
    RefPtr<COSMMarkupImage> again = MakeImage(L"31001");
    EXPECT_EQ(Measure(again.Get(), 100, 100), CSize(20, 20));
    // The image that took the context's manager still holds it.
    EXPECT_EQ(fromContext->GetIcon()->GetWidth(), 24);
}

TEST_F(ImageTest, AnIconDrawsStretchedOverTheRenderSize)
{
    GiveContextManager(7, 16, RGB(200, 0, 0));
    RefPtr<COSMMarkupImage> image = MakeImage(L"7", COSMMarkupImage::StretchFill);
    ControlTest::Layout(image.Get(), 40, 30);
    EXPECT_EQ(image->GetRenderSize(), CSize(40, 30));
    DcTestSurface surface(50, 40, RGB(255, 255, 255));
    COSMMarkupDrawingContext dc(surface.GetDC());
    image->Render(&dc);
    EXPECT_EQ(surface.Pixel(35, 25), RGB(200, 0, 0));
    EXPECT_EQ(surface.Pixel(0, 0), RGB(200, 0, 0));
    EXPECT_EQ(surface.Pixel(41, 25), RGB(255, 255, 255));
}

TEST_F(ImageTest, MissingPicturesLeaveTheImageEmptyAndSilent)
{
    for (const wchar_t* source : {L"file://no-such-markup-picture.png", L"res://NOSUCHPICTURE", L"res://#999", L"31999",
                                  L"0", L"-5", L"picture", L""})
    {
        RefPtr<COSMMarkupImage> image = MakeImage(source);
        EXPECT_EQ(Measure(image.Get(), 100, 100), CSize(0, 0));
        EXPECT_EQ(image->GetIcon(), nullptr);
        DcTestSurface surface(10, 10, RGB(255, 255, 255));
        COSMMarkupDrawingContext dc(surface.GetDC());
        image->Render(&dc);
        EXPECT_EQ(surface.Pixel(0, 0), RGB(255, 255, 255));
    }
    // Without a Source nothing is loaded at all.
    RefPtr<COSMMarkupImage> bare =
        AdoptRef(static_cast<COSMMarkupImage*>(context->CreateObject(COSMMarkupImage::GetClassType())));
    EXPECT_EQ(Measure(bare.Get(), 100, 100), CSize(0, 0));
    EXPECT_EQ(bare->GetImageManager(), nullptr);
}

TEST_F(ImageTest, DamagedAndOversizedPictureFilesLeaveTheImageEmptyWithinABound)
{
    // Picture files made to crash a reader or keep it busy for tens of seconds.
    for (const char* file : {"markup_image_valid_rle8_16x16000000.bmp", "markup_image_valid_rle8_2048x40000.bmp",
                             "bmp_58b_width_33554431.bmp", "bmp_core_21321x21569.bmp",
                             "loadimage_bmp32_offset_past_end.bmp", "loadimage_bmp32_short_pixels.bmp",
                             "olepicture_9b.png", "olepicture_createdibitmap_33b.bmp", "olepicture_icon.ico"})
    {
        SCOPED_TRACE(file);
        const std::string path = std::string(OSM_BAD_IMAGE_INPUT_DIR) + "/" + file;
        const image_input::Stopwatch watch;
        RefPtr<COSMMarkupImage> image = MakeImage((L"file://" + std::wstring(path.begin(), path.end())).c_str());
        ControlTest::Layout(image.Get(), 200, 200);
        DcTestSurface surface(20, 20, RGB(255, 255, 255));
        COSMMarkupDrawingContext dc(surface.GetDC());
        image->Render(&dc);
        EXPECT_LT(watch.Seconds(), 10.0);
        EXPECT_EQ(image->GetDesiredSize(), CSize(0, 0));
        EXPECT_EQ(image->GetIcon(), nullptr);
        ASSERT_NE(image->GetImageManager(), nullptr);
        EXPECT_EQ(image->GetImageManager()->GetIconSets().GetCount(), 0);
        EXPECT_EQ(surface.Pixel(0, 0), RGB(255, 255, 255));
    }
    // A run-length picture within the limits is drawn: 16 x 16, every row one run of colour 1.
    std::vector<BYTE> rle = {'B', 'M'};
    image_test::AppendLittle32(rle, 0);
    image_test::AppendLittle32(rle, 0);
    image_test::AppendLittle32(rle, 14 + 40 + 8);
    image_test::AppendInfoHeader(rle, 16, 16, 8, BI_RLE8);
    rle[14 + 32] = 2;  // two colours used
    image_test::AppendLittle32(rle, 0x00FFFFFF);
    image_test::AppendLittle32(rle, 0x00C81E0A);
    for (int row = 0; row < 16; ++row)
        rle.insert(rle.end(), {16, 1, 0, 0});
    rle.insert(rle.end(), {0, 1});
    image_test::WriteFile("markup-rle8.bmp", rle);
    RefPtr<COSMMarkupImage> image = MakeImage(L"file://markup-rle8.bmp");
    ControlTest::Layout(image.Get(), 100, 100);
    EXPECT_EQ(image->GetDesiredSize(), CSize(16, 16));
    DcTestSurface surface(20, 20, RGB(255, 255, 255));
    COSMMarkupDrawingContext dc(surface.GetDC());
    image->Render(&dc);
    EXPECT_EQ(surface.Pixel(8, 8), RGB(200, 30, 10));
    ::DeleteFileA("markup-rle8.bmp");
}

namespace {

// The foundation's file loader, with the reason it gave for the last refusal.
DWORD g_lastFileError = ERROR_SUCCESS;
int g_recordedFileLoads = 0;

HBITMAP RecordFileLoad(LPCSTR path, BOOL* alpha)
{
    HBITMAP bitmap = ::LoadImageFile(path, alpha);
    g_lastFileError = bitmap ? ERROR_SUCCESS : ::GetLastError();
    ++g_recordedFileLoads;
    return bitmap;
}

}  // namespace

TEST_F(ImageTest, PictureFilesThatOnceTookGigabytesLeaveTheImageEmptyAndTheMemoryWhereItWas)
{
    const HRESULT com = ::CoInitialize(nullptr);
    const COSMMarkupImageLoaders previous = SetMarkupImageLoaders({&RecordFileLoad, nullptr});
    auto layOut = [this](const std::string& path) {
        RefPtr<COSMMarkupImage> image = MakeImage((L"file://" + std::wstring(path.begin(), path.end())).c_str());
        ControlTest::Layout(image.Get(), 200, 200);
        DcTestSurface surface(20, 20, RGB(255, 255, 255));
        COSMMarkupDrawingContext dc(surface.GetDC());
        image->Render(&dc);
        return std::make_pair(image->GetDesiredSize(), surface.Pixel(0, 0));
    };
    // The system's picture loader and libpng set themselves up on first use: a sound GIF (2 x 2, red) and PNG first.
    std::vector<BYTE> gif = {'G', 'I', 'F', '8', '9', 'a', 2, 0, 2, 0, 0x80, 0, 0, 255, 0, 0, 0, 0, 255, 0x2C};
    gif.insert(gif.end(), {0, 0, 0, 0, 2, 0, 2, 0, 0, 2, 2, 0x84, 0x51, 0, 0x3B});
    image_test::PngSpec png;
    png.rows = {10, 20, 30};
    for (const std::string& path :
         {image_test::WriteFile("warm-up.gif", gif), image_test::WriteFile("warm-up.png", image_test::WritePng(png))})
    {
        EXPECT_EQ(layOut(path).first, CSize(path.back() == 'f' ? 2 : 1, path.back() == 'f' ? 2 : 1)) << path;
        ::DeleteFileA(path.c_str());
    }
    // Text chunks that claimed 256 MB and 2 GB made libpng allocate and clear that much before it found the data
    // ended; a second frame of 16384 x 16384 reached the system's picture loader, which kept 256 MB each time, and
    // so did a frame of 4096 x 4096 whose codes end after a few pixels: the decoder fails on it and keeps 16 MB.
    const struct
    {
        const char* file;
        DWORD error;
    } cases[] = {
        {"png_ztxt_chunk_len_256MB.png", ERROR_BAD_FORMAT},
        {"png_text_chunk_len_2GB.png", ERROR_BAD_FORMAT},
        {"gif_second_frame_16384x16384.gif", ERROR_FILE_TOO_LARGE},
        {"gif_frame_4096x4096_codes_end_early.gif", ERROR_BAD_FORMAT},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.file);
        const std::string path = std::string(OSM_BAD_IMAGE_INPUT_DIR) + "/" + c.file;
        const image_input::ProcessMemory before = image_input::MeasureProcessMemory();
        for (int round = 0; round < 2; ++round)
        {
            g_recordedFileLoads = 0;
            const image_input::Stopwatch watch;
            const std::pair<CSize, COLORREF> drawn = layOut(path);
            EXPECT_LT(watch.Seconds(), 10.0);
            EXPECT_EQ(g_recordedFileLoads, 1);
            EXPECT_EQ(g_lastFileError, c.error);
            EXPECT_EQ(drawn.first, CSize(0, 0));
            EXPECT_EQ(drawn.second, RGB(255, 255, 255));
        }
        const image_input::ProcessMemory after = image_input::MeasureProcessMemory();
        EXPECT_LT(after.committedBytes - before.committedBytes, 4 * image_input::kMegabyte);
        EXPECT_LT(after.peakWorkingSet - before.peakWorkingSet, 16 * image_input::kMegabyte);
    }
    SetMarkupImageLoaders(previous);
    if (SUCCEEDED(com))
        ::CoUninitialize();
}

namespace {

// Loaders that hand out bitmaps of the test's and remember them.
std::vector<HBITMAP>& LoadedBitmaps()
{
    static std::vector<HBITMAP> bitmaps;
    return bitmaps;
}

HBITMAP LoadTestBitmap(LPCSTR, BOOL* alpha)
{
    *alpha = TRUE;
    HBITMAP bitmap = image_test::MakeSolidBitmap32(6, 6, image_test::Argb(255, 10, 20, 30));
    LoadedBitmaps().push_back(bitmap);
    return bitmap;
}

// A resource loader whose "bitmap" the image manager refuses: a GDI object of another kind.
std::vector<HGDIOBJ>& RefusedObjects()
{
    static std::vector<HGDIOBJ> objects;
    return objects;
}

HBITMAP LoadRefusedBitmap(LPCSTR, BOOL* alpha)
{
    *alpha = FALSE;
    HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3));
    RefusedObjects().push_back(brush);
    return reinterpret_cast<HBITMAP>(brush);
}

}  // namespace

// A resource bitmap the image manager refuses counts as no bitmap: the image falls back to the icon group of that
// name, and the refused object is deleted all the same.
TEST_F(ImageTest, ABitmapTheManagerRefusesFallsBackToTheIconGroup)
{
    const COSMMarkupImageLoaders previous = SetMarkupImageLoaders({&LoadRefusedBitmap, &LoadRefusedBitmap});
    RefusedObjects().clear();
    {
        RefPtr<COSMMarkupImage> image = MakeImage(L"res://#502");
        EXPECT_EQ(Measure(image.Get(), 100, 100), CSize(32, 32)) << "the icon group, nearest to the room";
        ASSERT_NE(image->GetIcon(), nullptr);
    }
    SetMarkupImageLoaders(previous);
    ASSERT_FALSE(RefusedObjects().empty());
    for (HGDIOBJ object : RefusedObjects())
        EXPECT_EQ(::GetObjectType(object), 0u) << "the refused object is still alive";
}

namespace {

// Loaders that count the reads of each kind and hand out a picture of 6 × 6.
int g_fileLoads = 0;
int g_resourceLoads = 0;

HBITMAP CountFileLoad(LPCSTR, BOOL* alpha)
{
    ++g_fileLoads;
    *alpha = TRUE;
    return image_test::MakeSolidBitmap32(6, 6, image_test::Argb(255, 10, 20, 30));
}

HBITMAP CountResourceLoad(LPCSTR, BOOL* alpha)
{
    ++g_resourceLoads;
    *alpha = TRUE;
    return image_test::MakeSolidBitmap32(6, 6, image_test::Argb(255, 10, 20, 30));
}

}  // namespace

// Measure passes with other rooms do not read the picture again; a changed Source does, once.
TEST_F(ImageTest, APictureIsReadOncePerSourceAcrossLayoutPasses)
{
    const COSMMarkupImageLoaders previous = SetMarkupImageLoaders({&CountFileLoad, &CountResourceLoad});
    const struct
    {
        const wchar_t* first;
        const wchar_t* second;
        int* loads;
        int* otherLoads;
    } cases[] = {
        {L"file://a.png", L"file://b.png", &g_fileLoads, &g_resourceLoads},
        {L"res://FIRST", L"res://SECOND", &g_resourceLoads, &g_fileLoads},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(markup_test::Utf8(c.first));
        g_fileLoads = g_resourceLoads = 0;
        RefPtr<COSMMarkupImage> image = MakeImage(c.first);
        for (int pass = 0; pass < 5; ++pass)
        {
            image->InvalidateMeasure();
            ControlTest::Layout(image.Get(), 40 + 10 * pass, 60 - 5 * pass);
            EXPECT_EQ(image->GetDesiredSize(), CSize(6, 6)) << "pass " << pass;
        }
        EXPECT_EQ(*c.loads, 1) << "five passes, one read";

        SetSource(image.Get(), c.second);
        for (int pass = 0; pass < 3; ++pass)
        {
            image->InvalidateMeasure();
            ControlTest::Layout(image.Get(), 50 + pass, 50);
        }
        EXPECT_EQ(*c.loads, 2) << "a new Source is read once";
        // The same text again is no change.
        SetSource(image.Get(), c.second);
        ControlTest::Layout(image.Get(), 70, 70);
        EXPECT_EQ(*c.loads, 2);
        EXPECT_EQ(*c.otherLoads, 0);
        ASSERT_NE(image->GetIcon(), nullptr);
    }
    SetMarkupImageLoaders(previous);
}

TEST_F(ImageTest, NoLoadedBitmapIsLeftBehind)
{
    const COSMMarkupImageLoaders previous = SetMarkupImageLoaders({&LoadTestBitmap, &LoadTestBitmap});
    LoadedBitmaps().clear();
    for (const wchar_t* kind : {L"file://", L"res://"})
    {
        RefPtr<COSMMarkupImage> image = MakeImage((std::wstring(kind) + L"ANY").c_str());
        for (int i = 0; i < 3; ++i)
        {
            // Another Source each time: every layout loads again, and lets go of what it loaded before.
            SetSource(image.Get(), (std::wstring(kind) + L"ANY" + std::to_wstring(i)).c_str());
            ControlTest::Layout(image.Get(), 100 + i, 100);
        }
        EXPECT_EQ(image->GetDesiredSize(), CSize(6, 6));
    }
    SetMarkupImageLoaders(previous);
    ASSERT_EQ(LoadedBitmaps().size(), 6u);
    for (HBITMAP bitmap : LoadedBitmaps())
        EXPECT_EQ(::GetObjectType(bitmap), 0u) << "a loaded bitmap is still alive";
}

TEST_F(ImageTest, ReloadingAndReleasingGiveBackEveryGdiObject)
{
    image_test::WriteFile("markup-leak-test.png", PngFile(16, 16, RGB(1, 200, 3)));
    auto loadMany = [&] {
        RefPtr<COSMMarkupImage> image = MakeImage(L"file://markup-leak-test.png");
        for (int i = 0; i < 20; ++i)
        {
            // Two names of the same file in turn: every layout reads it again.
            SetSource(image.Get(), i % 2 ? L"file://markup-leak-test.png" : L"file://./markup-leak-test.png");
            ControlTest::Layout(image.Get(), 50 + i, 50);
        }
        EXPECT_EQ(image->GetDesiredSize(), CSize(16, 16));
    };
    loadMany();  // caches of the process fill on the first round
    const std::set<WORD> before = image_test::GdiUsage();
    loadMany();
    loadMany();
    const std::set<WORD> after = image_test::GdiUsage();
    // Slots the probes no longer get are held by objects made meanwhile. One object the process keeps moves to
    // another slot from round to round (the count stays); a bitmap left behind per load would take dozens.
    std::vector<WORD> taken;
    std::set_difference(before.begin(), before.end(), after.begin(), after.end(), std::back_inserter(taken));
    EXPECT_LE(taken.size(), 1u);
    EXPECT_EQ(after.size(), before.size());
    ::DeleteFileA("markup-leak-test.png");
}

TEST_F(ImageTest, AContextHoldsOneReferenceOnItsImageManager)
{
    auto* manager = new COSMImageManager;
    RefPtr<COSMMarkupContext> own = AdoptRef(new COSMMarkupContext);
    EXPECT_EQ(own->GetImageManager(), nullptr);
    own->SetImageManager(manager);
    EXPECT_EQ(own->GetImageManager(), manager);
    EXPECT_EQ(manager->InternalAddRef(), 3u);
    manager->InternalRelease();
    // Setting it again takes one reference and gives the old one back.
    own->SetImageManager(manager);
    EXPECT_EQ(manager->InternalAddRef(), 3u);
    manager->InternalRelease();
    own.Reset();
    EXPECT_EQ(manager->InternalAddRef(), 2u);
    manager->InternalRelease();
    manager->InternalRelease();
}
