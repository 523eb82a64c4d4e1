// The button-image editor on real windows: the picture's tools driven by synthesized mouse input, its history,
// moves, clipboard exchange and file loads; the dialog's image hand-over, tool bars, palette, tips and its modal run.
// Pixels are read from the images and from the windows' DCs.
#include "classlib/CommonDialogs.h"
#include "classlib/FrameMessages.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/controls/ImageEditorDialog.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/ResourceManager.h"
#include "framework/foundation/VisualStyleWrapper.h"

#include "ActiveWindow.h"
#include "ImageEditorTestIds.h"
#include "ImageTestSupport.h"
#include "OneShotTimer.h"
#include "SyntheticInput.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace image_test;

namespace {

constexpr DWORD kClear = 0x00FFFEFF;  // a transparent pixel of an image without alpha
constexpr DWORD kRed = 0x00FF0000;
constexpr DWORD kBlack = 0x00000000;

// Lets synthesized input and the messages it causes arrive.
void Settle(int rounds = 4)
{
    for (int i = 0; i < rounds; ++i)
    {
        osm::test::PumpPendingMessages();
        ::Sleep(15);
    }
    osm::test::PumpPendingMessages();
}

// A new image for the picture: 32-bit, pixels given top row first.
COSMImageEditorBitmap* NewImage(int cx, int cy, const std::vector<DWORD>& pixels, BOOL bAlpha = FALSE)
{
    auto* pImage = new COSMImageEditorBitmap(bAlpha);
    pImage->Attach(MakeBitmap32(cx, cy, pixels));
    return pImage;
}

// A new folder of the test's own under the temporary folder, for the files it writes; removed with them at the end.
class PictureFolder
{
public:
    PictureFolder()
    {
        char temp[MAX_PATH] = {};
        char name[MAX_PATH] = {};
        if (::GetTempPathA(MAX_PATH, temp) && ::GetTempFileNameA(temp, "oie", 0, name) && ::DeleteFileA(name) &&
            ::CreateDirectoryA(name, nullptr))
            m_path = name;
    }
    ~PictureFolder()
    {
        for (const std::string& file : m_files)
            ::DeleteFileA(file.c_str());
        if (!m_path.empty())
            ::RemoveDirectoryA(m_path.c_str());
    }
    PictureFolder(const PictureFolder&) = delete;
    PictureFolder& operator=(const PictureFolder&) = delete;

    const std::string& Path() const { return m_path; }
    // The full path of a file in the folder (the open dialog gives full paths; OLE takes a relative one for a URL).
    std::string File(const std::string& name)
    {
        m_files.push_back(m_path + "\\" + name);
        return m_files.back();
    }

private:
    std::string m_path;
    std::vector<std::string> m_files;
};

// The picture's current image, top row first (empty for an empty picture).
std::vector<DWORD> Pixels(COSMImageEditorBitmap* pImage)
{
    return pImage ? ReadBitmap32(*pImage) : std::vector<DWORD>();
}

DWORD Rgb(DWORD pixel)
{
    return pixel & 0x00FFFFFF;
}

DWORD ToPixel(COLORREF color)
{
    return (static_cast<DWORD>(GetRValue(color)) << 16) | (static_cast<DWORD>(GetGValue(color)) << 8) |
           GetBValue(color);
}

// What the window shows, read from its client area.
class WindowPixels
{
public:
    explicit WindowPixels(HWND hWnd)
    {
        ::InvalidateRect(hWnd, nullptr, FALSE);
        ::UpdateWindow(hWnd);
        RECT client{};
        ::GetClientRect(hWnd, &client);
        m_surface = std::make_unique<foundation_test::DcTestSurface>(client.right, client.bottom);
        HDC hDC = ::GetDC(hWnd);
        ::BitBlt(m_surface->GetDC(), 0, 0, client.right, client.bottom, hDC, 0, 0, SRCCOPY);
        ::ReleaseDC(hWnd, hDC);
    }
    int Width() const { return m_surface->Width(); }
    int Height() const { return m_surface->Height(); }
    DWORD At(int x, int y) const { return Rgb(m_surface->Raw(x, y)); }

private:
    std::unique_ptr<foundation_test::DcTestSurface> m_surface;
};

// The chooser answers of the tests.
std::string g_nextFile;
BOOL ChooseTestFile(CWnd*, LPCSTR, CString* pPath)
{
    if (g_nextFile.empty())
        return FALSE;
    *pPath = g_nextFile.c_str();
    return TRUE;
}
INT_PTR g_colorAnswer = IDOK;
COLORREF g_colorChosen = 0;
COLORREF g_colorOffered = 0;
INT_PTR ChooseTestColor(CWnd*, COLORREF* pColor)
{
    g_colorOffered = *pColor;
    if (g_colorAnswer == IDOK)
        *pColor = g_colorChosen;
    return g_colorAnswer;
}

class ImageEditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        COSMImageEditorDialog::EndTestAnswer();
        ::OleInitialize(nullptr);
        OsmSetImageEditorFileChooser(ChooseTestFile);
        OsmSetImageEditorColorChooser(ChooseTestColor);
    }
    void TearDown() override
    {
        Close();
        OsmSetImageEditorFileChooser(nullptr);
        OsmSetImageEditorColorChooser(nullptr);
        ::OleUninitialize();
    }

    // The editor as a modeless window (the same dialog DoModal shows), active, for input to reach it.
    COSMImageEditorDialog& Open(int cx = 16, int cy = 16, BOOL bRegister = FALSE,
                                const COSMImageManagerIconHandle* pImage = nullptr)
    {
        m_dialog = std::make_unique<COSMImageEditorDialog>(nullptr, bRegister);
        if (pImage)
            m_dialog->SetIcon(*pImage);
        else
            m_dialog->SetSize(cx, cy);
        EXPECT_TRUE(m_dialog->CreateIndirect(m_dialog->m_lpDialogTemplate, nullptr));
        m_dialog->ShowWindow(SW_SHOW);
        EXPECT_TRUE(osm::test::ActivateWindow(*m_dialog));
        Settle();
        return *m_dialog;
    }
    void Close()
    {
        if (m_dialog && m_dialog->GetSafeHwnd())
            m_dialog->DestroyWindow();
        m_dialog.reset();
    }

    COSMImageEditorPicture& Picture() { return m_dialog->GetPicture(); }
    void Command(UINT id) { m_dialog->SendMessage(WM_COMMAND, id); }
    void KickIdle() { m_dialog->SendMessage(WM_KICKIDLE, 0, 0); }
    void SetImage(const std::vector<DWORD>& pixels, BOOL bAlpha = FALSE)
    {
        const CSize size = Picture().GetImageSize();
        Picture().SetCurrentImage(NewImage(size.cx, size.cy, pixels, bAlpha));
    }
    std::vector<DWORD> Current() { return Pixels(Picture().GetCurrentImage()); }

    POINT CellOnScreen(int px, int py)
    {
        const CSize cell = Picture().GetCellSize();
        POINT point{px * cell.cx + cell.cx / 2, py * cell.cy + cell.cy / 2};
        ::ClientToScreen(Picture(), &point);
        return point;
    }
    static POINT CentreOf(HWND hWnd)
    {
        RECT rect{};
        ::GetWindowRect(hWnd, &rect);
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    static void ClickAt(POINT screen)
    {
        osm::test::SendMouseMoveTo(screen);
        Settle(2);
        osm::test::SendMouseInput(MOUSEEVENTF_LEFTDOWN);
        Settle(2);
        osm::test::SendMouseInput(MOUSEEVENTF_LEFTUP);
        Settle(2);
    }
    // Presses on the first cell, moves through the others and releases on the last.
    void Drag(const std::vector<POINT>& cells)
    {
        osm::test::SendMouseMoveTo(CellOnScreen(cells.front().x, cells.front().y));
        Settle(2);
        osm::test::SendMouseInput(MOUSEEVENTF_LEFTDOWN);
        Settle(2);
        for (size_t i = 1; i < cells.size(); ++i)
        {
            osm::test::SendMouseMoveTo(CellOnScreen(cells[i].x, cells[i].y));
            Settle(2);
        }
        osm::test::SendMouseInput(MOUSEEVENTF_LEFTUP);
        Settle();
    }
    static int UndoCount(const COSMImageEditorPicture& picture)
    {
        return static_cast<int>(picture.GetUndoList().GetCount());
    }

    std::unique_ptr<COSMImageEditorDialog> m_dialog;
};

std::vector<DWORD> Solid(DWORD pixel, int count = 256)
{
    return std::vector<DWORD>(static_cast<size_t>(count), pixel);
}

// ---- The picture ---------------------------------------------------------------------------------------------------

TEST_F(ImageEditorTest, CopyImageFillsReplacesOnlyWithoutAlphaAndCopiesTheAlphaFlag)
{
    COSMImageEditorBitmap empty;
    COSMImageEditorPicture::CopyImage(&empty, nullptr, 4, 3, CPoint(0, 0), kImageEditorTransparent, RGB(0, 255, 0),
                                      nullptr);
    EXPECT_EQ(Pixels(&empty), Solid(kClear, 12));
    EXPECT_FALSE(empty.m_bAlpha);

    struct Case
    {
        BOOL bAlpha;
        DWORD expectedReplaced;
    };
    for (const Case& c : {Case{FALSE, 0x0000FF00}, Case{TRUE, kRed | 0xFF000000}})
    {
        SCOPED_TRACE(c.bAlpha);
        std::unique_ptr<COSMImageEditorBitmap> source(
            NewImage(2, 1, {c.bAlpha ? (kRed | 0xFF000000) : kRed, c.bAlpha ? 0xFF0000FF : 0x000000FF}, c.bAlpha));
        COSMImageEditorBitmap target;
        COSMImageEditorPicture::CopyImage(&target, source.get(), 2, 1, CPoint(0, 0), RGB(255, 0, 0), RGB(0, 255, 0),
                                          nullptr);
        const std::vector<DWORD> pixels = Pixels(&target);
        EXPECT_EQ(pixels[0], c.expectedReplaced);
        EXPECT_EQ(Rgb(pixels[1]), 0x000000FFu);
        EXPECT_EQ(target.m_bAlpha, c.bAlpha);
    }
}

TEST_F(ImageEditorTest, PencilStrokeDrawsAndAStrokeStartedOnTheSelectedColourErases)
{
    Open();
    Drag({{2, 2}, {3, 2}, {4, 2}, {5, 2}});
    std::vector<DWORD> pixels = Current();
    ASSERT_EQ(pixels.size(), 256u);
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(Rgb(pixels[2 * 16 + x]), (x >= 2 && x <= 5) ? kBlack : kClear) << x;
    EXPECT_EQ(UndoCount(Picture()), 1);

    Drag({{3, 2}, {4, 2}});  // starts on black, the selected colour
    pixels = Current();
    EXPECT_EQ(Rgb(pixels[2 * 16 + 2]), kBlack);
    EXPECT_EQ(Rgb(pixels[2 * 16 + 3]), kClear);
    EXPECT_EQ(Rgb(pixels[2 * 16 + 4]), kClear);
    EXPECT_EQ(Rgb(pixels[2 * 16 + 5]), kBlack);
    EXPECT_EQ(UndoCount(Picture()), 2);
}

TEST_F(ImageEditorTest, AFastPencilStrokeLeavesNoGapsBetweenTheCellsItReports)
{
    Open();
    // Three reported points, cells apart: the stroke is the two lines between them, one pixel per column.
    Drag({{1, 1}, {6, 4}, {10, 1}});
    const std::vector<DWORD> pixels = Current();
    ASSERT_EQ(pixels.size(), 256u);
    for (int x = 0; x < 16; ++x)
    {
        int inked = 0;
        for (int y = 0; y < 16; ++y)
            inked += Rgb(pixels[static_cast<size_t>(y * 16 + x)]) == kBlack ? 1 : 0;
        EXPECT_EQ(inked, x >= 1 && x <= 10 ? 1 : 0) << "column " << x;
    }
    EXPECT_EQ(Rgb(pixels[1 * 16 + 1]), kBlack);
    EXPECT_EQ(Rgb(pixels[4 * 16 + 6]), kBlack);
    EXPECT_EQ(Rgb(pixels[1 * 16 + 10]), kBlack);
    EXPECT_EQ(UndoCount(Picture()), 1);
}

TEST_F(ImageEditorTest, UndoKeepsSixteenEditsAnEditEmptiesRedoAndClearUndoes)
{
    Open();
    // The first edit of an empty picture undoes to the empty picture.
    Command(ID_OSM_IMAGE_EDITOR_MOVE_RIGHT);
    ASSERT_NE(Picture().GetCurrentImage(), nullptr);
    Command(ID_OSM_IMAGE_EDITOR_UNDO);
    EXPECT_EQ(Picture().GetCurrentImage(), nullptr);
    EXPECT_FALSE(Picture().CanUndo());

    std::vector<DWORD> marked = Solid(kClear);
    marked[0] = kRed;
    SetImage(marked);
    for (int i = 0; i < 17; ++i)
        Command(ID_OSM_IMAGE_EDITOR_MOVE_RIGHT);
    int undone = 0;
    while (Picture().CanUndo())
    {
        Command(ID_OSM_IMAGE_EDITOR_UNDO);
        ++undone;
    }
    EXPECT_EQ(undone, 16);
    EXPECT_EQ(Rgb(Current()[1]), kRed);  // 17 moves back to 1: the oldest move stays
    EXPECT_TRUE(Picture().CanRedo());
    Command(ID_OSM_IMAGE_EDITOR_MOVE_DOWN);
    EXPECT_FALSE(Picture().CanRedo());

    SetImage(marked);
    Command(ID_OSM_IMAGE_EDITOR_CLEAR);
    EXPECT_EQ(Picture().GetCurrentImage(), nullptr);
    Command(ID_OSM_IMAGE_EDITOR_UNDO);
    EXPECT_EQ(Current(), marked);
}

TEST_F(ImageEditorTest, MoveLeftClearsTheRightColumn)
{
    Open();
    SetImage(Solid(kRed));
    Command(ID_OSM_IMAGE_EDITOR_MOVE_LEFT);
    const std::vector<DWORD> pixels = Current();
    for (int y = 0; y < 16; ++y)
    {
        EXPECT_EQ(Rgb(pixels[y * 16 + 14]), kRed);
        EXPECT_EQ(Rgb(pixels[y * 16 + 15]), kClear);
    }
}

TEST_F(ImageEditorTest, ShapesDrawWhereTheDragSaysInTheSelectedColour)
{
    Open();
    struct Check
    {
        int x, y;
        DWORD rgb;
    };
    struct Case
    {
        UINT tool;
        POINT from, to;
        std::vector<Check> checks;
    };
    const std::vector<Case> cases = {
        // The outline covers columns left ... right - 1 and rows top ... bottom - 1; the inside stays.
        {ID_OSM_IMAGE_EDITOR_RECTANGLE,
         {2, 2},
         {8, 6},
         {{2, 2, kBlack}, {7, 2, kBlack}, {2, 5, kBlack}, {7, 5, kBlack}, {8, 2, kRed}, {4, 6, kRed}, {4, 4, kRed}}},
        // The ellipse's inside becomes transparent.
        {ID_OSM_IMAGE_EDITOR_ELLIPSE, {1, 1}, {14, 14}, {{7, 7, kClear}, {0, 0, kRed}, {7, 1, kBlack}}},
        // The line's end pixel stays undrawn.
        {ID_OSM_IMAGE_EDITOR_LINE, {2, 10}, {9, 10}, {{2, 10, kBlack}, {8, 10, kBlack}, {9, 10, kRed}, {2, 11, kRed}}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.tool);
        SetImage(Solid(kRed));
        Command(c.tool);
        Drag({c.from, {(c.from.x + c.to.x) / 2, c.from.y}, c.to});
        const std::vector<DWORD> pixels = Current();
        for (const Check& check : c.checks)
            EXPECT_EQ(Rgb(pixels[check.y * 16 + check.x]), check.rgb) << check.x << "," << check.y;
    }
}

TEST_F(ImageEditorTest, FillOnAnAlphaImageMakesTheFilledPixelsOpaque)
{
    Open();
    std::vector<DWORD> pixels = Solid(kClear);
    for (int y = 0; y < 16; ++y)
        for (int x = 8; x < 16; ++x)
            pixels[y * 16 + x] = 0xFF0000FF;
    SetImage(pixels, TRUE);
    Command(ID_OSM_IMAGE_EDITOR_FILL);
    ClickAt(CellOnScreen(2, 2));
    const std::vector<DWORD> filled = Current();
    EXPECT_TRUE(Picture().GetCurrentImage()->m_bAlpha);
    EXPECT_EQ(filled[0], 0xFF000000u);
    EXPECT_EQ(filled[15 * 16 + 7], 0xFF000000u);
    EXPECT_EQ(filled[8], 0xFF0000FFu);
    EXPECT_EQ(UndoCount(Picture()), 1);
}

TEST_F(ImageEditorTest, APictureSmallerThanItsImageGetsCellsOfOnePixel)
{
    Open(200, 200);
    EXPECT_EQ(Picture().GetCellSize(), CSize(1, 1));
    CRect rect;
    Picture().GetWindowRect(&rect);
    EXPECT_EQ(rect.Width(), 201);
    EXPECT_EQ(rect.Height(), 201);
    Drag({{150, 150}, {151, 150}});
    EXPECT_EQ(Rgb(Current()[150 * 200 + 150]), kBlack);
}

TEST_F(ImageEditorTest, PaintShowsWhiteACheckerboardBlendedAlphaUprightInABlackFrame)
{
    Open();
    {
        WindowPixels shown(Picture());
        EXPECT_EQ(shown.At(0, 0), kBlack);
        EXPECT_EQ(shown.At(shown.Width() - 1, shown.Height() - 1), kBlack);
        for (int y = 1; y < shown.Height() - 1; y += 3)
            for (int x = 1; x < shown.Width() - 1; x += 3)
                ASSERT_EQ(shown.At(x, y), 0x00FFFFFFu) << x << "," << y;
    }
    // Row 0 red, the rest transparent: red shows at the top, the checkerboard below.
    std::vector<DWORD> pixels = Solid(kClear);
    for (int x = 0; x < 16; ++x)
        pixels[x] = kRed;
    SetImage(pixels);
    {
        WindowPixels shown(Picture());
        const int w = shown.Width();
        const int h = shown.Height();
        for (int y = 1; y < h - 1; ++y)
            for (int x = 1; x < w - 1; ++x)
            {
                const bool dark = ((x + 3) / 4 + (y + 3) / 4) % 2 == 1;
                const DWORD expected = 16 * y / h == 0 ? kRed : (dark ? 0x00EBEBEBu : 0x00FFFFFFu);
                ASSERT_EQ(shown.At(x, y), expected) << x << "," << y;
            }
        EXPECT_EQ(shown.At(w / 2, 0), kBlack);
    }
    // Black at alpha 128 over both squares of the checkerboard.
    SetImage(Solid(0x80000000), TRUE);
    {
        WindowPixels shown(Picture());
        for (int y = 1; y < 12; ++y)
            for (int x = 1; x < 12; ++x)
            {
                const int back = ((x + 3) / 4 + (y + 3) / 4) % 2 == 1 ? 235 : 255;
                const DWORD c = static_cast<DWORD>(back - back * 128 / 255);
                ASSERT_EQ(shown.At(x, y), (c << 16) | (c << 8) | c) << x << "," << y;
            }
    }
}

TEST_F(ImageEditorTest, ClipboardCopyAndPasteKeepTransparencyAndTellAlpha)
{
    Open();
    const DWORD face = ToPixel(GetColorManager()->GetColor(COLOR_BTNFACE));
    std::vector<DWORD> pixels = Solid(kClear);
    pixels[0] = kRed;
    SetImage(pixels);
    Command(ID_OSM_IMAGE_EDITOR_COPY);
    {
        ASSERT_TRUE(::OpenClipboard(nullptr));
        HBITMAP hCopied = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
        const std::vector<DWORD> copied = ReadBitmap32(hCopied);
        const BOOL bMarker = ::IsClipboardFormatAvailable(OSM_CF_ALPHA_BITMAP);
        ::CloseClipboard();
        ASSERT_EQ(copied.size(), 256u);
        EXPECT_EQ(Rgb(copied[0]), kRed);
        EXPECT_EQ(Rgb(copied[1]), face);
        EXPECT_FALSE(bMarker);
    }
    Command(ID_OSM_IMAGE_EDITOR_CLEAR);
    Command(ID_OSM_IMAGE_EDITOR_PASTE);
    EXPECT_EQ(Current(), pixels);
    EXPECT_FALSE(Picture().GetCurrentImage()->m_bAlpha);

    SetImage(Solid(0xFF00FF00), TRUE);
    Command(ID_OSM_IMAGE_EDITOR_COPY);
    EXPECT_TRUE(::IsClipboardFormatAvailable(OSM_CF_ALPHA_BITMAP));

    // A format named with "DIB32" after its first character marks alpha; one that begins with it does not.
    struct Case
    {
        const char* formatName;
        BOOL bAlpha;
    };
    for (const Case& c : {Case{"DIB32", FALSE}, Case{"xDIB32", TRUE}})
    {
        SCOPED_TRACE(c.formatName);
        const UINT format = ::RegisterClipboardFormatA(c.formatName);
        ASSERT_TRUE(::OpenClipboard(nullptr));
        ::EmptyClipboard();
        ::SetClipboardData(CF_BITMAP, MakeSolidBitmap32(16, 16, 0xFF112233));
        ::SetClipboardData(format, ::GlobalAlloc(GMEM_MOVEABLE, 4));
        ::CloseClipboard();
        Command(ID_OSM_IMAGE_EDITOR_PASTE);
        EXPECT_EQ(Picture().GetCurrentImage()->m_bAlpha, c.bAlpha);
        EXPECT_EQ(Rgb(Current()[0]), 0x00112233u);
    }

    // Without a bitmap on the clipboard nothing changes.
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    HGLOBAL hText = ::GlobalAlloc(GMEM_MOVEABLE, 3);
    std::memcpy(::GlobalLock(hText), "ab", 3);
    ::GlobalUnlock(hText);
    ::SetClipboardData(CF_TEXT, hText);
    ::CloseClipboard();
    COSMImageEditorBitmap* pBefore = Picture().GetCurrentImage();
    const int undo = UndoCount(Picture());
    Command(ID_OSM_IMAGE_EDITOR_PASTE);
    EXPECT_EQ(Picture().GetCurrentImage(), pBefore);
    EXPECT_EQ(UndoCount(Picture()), undo);
}

// Icon files: one 16 x 16 image of the given depth (32 with alpha, 24 with a mask), pixels top row first.
std::vector<BYTE> IconFile(const std::vector<DWORD>& pixels, WORD bitCount, const std::vector<bool>& masked)
{
    std::vector<BYTE> image;
    AppendInfoHeader(image, 16, 32, bitCount);
    for (int y = 15; y >= 0; --y)
        for (int x = 0; x < 16; ++x)
        {
            const DWORD p = pixels[y * 16 + x];
            image.push_back(B(p));
            image.push_back(G(p));
            image.push_back(R(p));
            if (bitCount == 32)
                image.push_back(A(p));
        }
    for (int y = 15; y >= 0; --y)
    {
        DWORD row = 0;
        for (int x = 0; x < 16; ++x)
            if (masked[y * 16 + x])
                row |= 0x80u >> (x % 8) << (8 * (x / 8));
        AppendLittle32(image, row);
    }
    std::vector<BYTE> file;
    AppendLittle16(file, 0);
    AppendLittle16(file, 1);
    AppendLittle16(file, 1);
    file.insert(file.end(), {16, 16, 0, 0});
    AppendLittle16(file, 1);
    AppendLittle16(file, bitCount);
    AppendLittle32(file, static_cast<DWORD>(image.size()));
    AppendLittle32(file, 22);
    file.insert(file.end(), image.begin(), image.end());
    return file;
}

std::vector<BYTE> BmpFile(DWORD pixel)
{
    std::vector<BYTE> body;
    AppendInfoHeader(body, 16, 16, 24);
    for (int i = 0; i < 256; ++i)
    {
        body.push_back(B(pixel));
        body.push_back(G(pixel));
        body.push_back(R(pixel));
    }
    std::vector<BYTE> file{'B', 'M'};
    AppendLittle32(file, static_cast<DWORD>(14 + body.size()));
    AppendLittle32(file, 0);
    AppendLittle32(file, 14 + 40);
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

TEST_F(ImageEditorTest, LoadTakesIconsBitmapsPngAndOtherPicturesAndEachLoadUndoes)
{
    Open();
    std::vector<DWORD> alphaPixels = Solid(0xFF0000FF);
    alphaPixels[0] = 0x80FF0000;
    std::vector<DWORD> classicPixels = Solid(0x0000FF00);
    std::vector<bool> classicMask(256, false);
    classicMask[0] = true;
    classicPixels[0] = 0;  // black under the mask, as icons keep it
    PngSpec png;
    png.width = 16;
    png.height = 16;
    png.colorType = PNG_COLOR_TYPE_RGBA;
    for (int i = 0; i < 256; ++i)
        png.rows.insert(png.rows.end(), {0x10, 0x20, 0x30, static_cast<BYTE>(i == 0 ? 0x40 : 0xFF)});

    struct Case
    {
        std::string file;
        std::vector<BYTE> bytes;
        bool loads;
        BOOL bAlpha;
        DWORD first;   // pixel 0
        DWORD second;  // pixel 1
    };
    const std::vector<Case> cases = {
        {"editor_alpha.ico", IconFile(alphaPixels, 32, std::vector<bool>(256, false)), true, TRUE, 0x80FF0000,
         0xFF0000FF},
        {"editor_classic.ico", IconFile(classicPixels, 24, classicMask), true, FALSE, kClear, 0x0000FF00},
        {"editor_plain.bmp", BmpFile(0x00336699), true, FALSE, 0x00336699, 0x00336699},
        {"editor_alpha.png", WritePng(png), true, TRUE, 0x40102030, 0xFF102030},
        {"editor_picture.dib", BmpFile(0x00996633), true, FALSE, 0x00996633, 0x00996633},
        {"editor_missing.bmp", {}, false, FALSE, 0, 0},
    };
    std::string folderPath;
    {
        PictureFolder folder;
        folderPath = folder.Path();
        ASSERT_FALSE(folderPath.empty()) << "no folder for the pictures";
        for (const Case& c : cases)
        {
            SCOPED_TRACE(c.file);
            const std::string path = folder.File(c.file);
            if (!c.bytes.empty())
                WriteFile(path, c.bytes);
            g_nextFile = path;
            COSMImageEditorBitmap* pBefore = Picture().GetCurrentImage();
            const int undo = UndoCount(Picture());
            Command(ID_OSM_IMAGE_EDITOR_OPEN);
            if (!c.loads)
            {
                EXPECT_EQ(Picture().GetCurrentImage(), pBefore);
                EXPECT_EQ(UndoCount(Picture()), undo);
                continue;
            }
            ASSERT_NE(Picture().GetCurrentImage(), nullptr);
            EXPECT_EQ(Picture().GetCurrentImage()->m_bAlpha, c.bAlpha);
            const std::vector<DWORD> pixels = Current();
            const DWORD mask = c.bAlpha ? 0xFFFFFFFF : 0x00FFFFFF;
            EXPECT_EQ(pixels[0] & mask, c.first);
            EXPECT_EQ(pixels[1] & mask, c.second);
            EXPECT_EQ(UndoCount(Picture()), undo + 1);
            Command(ID_OSM_IMAGE_EDITOR_UNDO);
            EXPECT_EQ(Picture().GetCurrentImage(), pBefore);
            Command(ID_OSM_IMAGE_EDITOR_REDO);
        }
        g_nextFile.clear();
    }
    // Nothing the editor read stays open: the folder goes with its files.
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(folderPath.c_str())) << folderPath;
}

// ---- The dialog ----------------------------------------------------------------------------------------------------

TEST_F(ImageEditorTest, SetIconTurnsAlphaStraightAndPutsClassicIconsOnTransparent)
{
    struct Case
    {
        const char* name;
        bool premultiplied;
        DWORD in;
        DWORD out;
    };
    // Premultiplied (64, alpha 128) is straight 127; alpha 0 is the transparent value; a straight source keeps its
    // colour within rounding instead of overflowing.
    const std::vector<Case> cases = {
        {"premultiplied", true, 0x80404040, 0x807F7F7F},
        {"transparent", true, 0x00000000, kClear},
        {"straight", false, 0x80C8C8C8, 0x80C7C7C7},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::vector<DWORD> pixels = Solid(0xFF000000);
        pixels[5] = c.in;
        COSMImageManagerIconHandle image;
        if (c.premultiplied)
            image.SetPreMultipliedBitmap(MakeBitmap32(16, 16, pixels));
        else
        {
            HBITMAP hStraight = MakeBitmap32(16, 16, pixels);
            image.SetBitmap(hStraight);
            ::DeleteObject(hStraight);
        }
        COSMImageEditorDialog dialog(nullptr, FALSE);
        dialog.SetIcon(image);
        ASSERT_NE(dialog.GetPicture().GetCurrentImage(), nullptr);
        EXPECT_TRUE(dialog.GetPicture().GetCurrentImage()->m_bAlpha);
        const std::vector<DWORD> result = Pixels(dialog.GetPicture().GetCurrentImage());
        EXPECT_EQ(result[5], c.out);
        EXPECT_EQ(result[0], 0xFF000000u);
    }

    std::vector<COLORREF> colors(24 * 24, RGB(0, 0, 255));
    colors[0] = RGB(255, 0, 255);
    COSMImageManagerIconHandle classic = IconImage(MakeClassicIcon(24, 24, colors, RGB(255, 0, 255)));
    COSMImageEditorDialog dialog(nullptr, FALSE);
    dialog.SetIcon(classic);
    EXPECT_EQ(dialog.GetImageSize(), CSize(24, 24));
    ASSERT_NE(dialog.GetPicture().GetCurrentImage(), nullptr);
    EXPECT_FALSE(dialog.GetPicture().GetCurrentImage()->m_bAlpha);
    const std::vector<DWORD> result = Pixels(dialog.GetPicture().GetCurrentImage());
    EXPECT_EQ(Rgb(result[0]), kClear);
    EXPECT_EQ(Rgb(result[1]), 0x000000FFu);
    EXPECT_FALSE(dialog.GetPicture().CanUndo());
}

TEST_F(ImageEditorTest, GetIconGivesATransparentMaskForAnAllTransparentImageAndNothingForAnEmptyPicture)
{
    COSMImageEditorDialog empty(nullptr, FALSE);
    COSMImageManagerIconHandle none;
    empty.GetIcon(&none);
    EXPECT_TRUE(none.IsEmpty());

    COSMImageEditorDialog dialog(nullptr, FALSE);
    dialog.GetPicture().SetCurrentImage(NewImage(16, 16, Solid(kClear)));
    COSMImageManagerIconHandle result;
    dialog.GetIcon(&result);
    ASSERT_FALSE(result.IsEmpty());
    ASSERT_FALSE(result.IsAlpha());
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(result.GetIcon(), &info));
    BITMAP mask{};
    ::GetObjectA(info.hbmMask, sizeof(mask), &mask);
    std::vector<BYTE> bits(static_cast<size_t>(mask.bmWidthBytes) * mask.bmHeight);
    ::GetBitmapBits(info.hbmMask, static_cast<LONG>(bits.size()), bits.data());
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_TRUE(bits[y * mask.bmWidthBytes + x / 8] & (0x80 >> (x % 8))) << x << "," << y;
    ::DeleteObject(info.hbmMask);
    ::DeleteObject(info.hbmColor);
    // The picture's own image is untouched by the masked copy.
    EXPECT_EQ(Pixels(dialog.GetPicture().GetCurrentImage()), Solid(kClear));

    dialog.GetPicture().SetCurrentImage(NewImage(16, 16, Solid(0x80FF0000), TRUE));
    COSMImageManagerIconHandle alpha;
    dialog.GetIcon(&alpha);
    EXPECT_TRUE(alpha.IsAlpha());
}

TEST_F(ImageEditorTest, ToolBarsWrapShowTheirStripsAndFollowTheToolAndHistoryAtIdle)
{
    Open();
    COSMImageEditorToolBar& tools = m_dialog->GetToolsBar();
    ASSERT_EQ(tools.GetCount(), 12);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ((tools.GetButtonState(i) & TBSTATE_WRAP) != 0, i == 3 || i == 7 || i == 11) << i;
    EXPECT_EQ(m_dialog->GetMoveBar().GetCount(), 4);
    EXPECT_EQ(m_dialog->GetToolsImages().GetImageCount(), 16);
    EXPECT_EQ(m_dialog->GetMoveImages().GetImageCount(), 4);

    // The runner's common controls are 5.81: the classic strip, whose arrows are images 12 to 15.
    ASSERT_FALSE(IsComCtlVersion6OrGreater());
    CBitmap strip;
    ASSERT_TRUE(GetResourceManager()->LoadBitmap(&strip, IDB_OSM_IMAGE_EDITOR_TOOLS));
    int stripWidth = 0;
    const std::vector<DWORD> stripPixels = ReadBitmap32(strip, &stripWidth);
    for (int arrow = 0; arrow < 4; ++arrow)
    {
        foundation_test::DcTestSurface drawn(16, 16, RGB(192, 192, 192));
        ImageList_Draw(m_dialog->GetMoveImages(), arrow, drawn.GetDC(), 0, 0, ILD_NORMAL);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                ASSERT_EQ(drawn.Raw(x, y) & 0x00FFFFFF,
                          stripPixels[y * stripWidth + (12 + arrow) * 16 + x] & 0x00FFFFFF)
                    << arrow << ": " << x << "," << y;
    }

    KickIdle();
    EXPECT_TRUE(tools.GetButtonState(0) & TBSTATE_CHECKED);
    EXPECT_FALSE(tools.GetButtonState(tools.CommandToIndex(ID_OSM_IMAGE_EDITOR_UNDO)) & TBSTATE_ENABLED);
    EXPECT_FALSE(tools.GetButtonState(tools.CommandToIndex(ID_OSM_IMAGE_EDITOR_REDO)) & TBSTATE_ENABLED);

    // A click on the ellipse's button chooses it.
    RECT button{};
    tools.GetItemRect(tools.CommandToIndex(ID_OSM_IMAGE_EDITOR_ELLIPSE), &button);
    POINT centre{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    ::ClientToScreen(tools, &centre);
    ClickAt(centre);
    EXPECT_EQ(m_dialog->GetCurrentTool(), COSMImageEditorPicture::kToolEllipse);

    Command(ID_OSM_IMAGE_EDITOR_MOVE_UP);
    KickIdle();
    EXPECT_FALSE(tools.GetButtonState(0) & TBSTATE_CHECKED);
    EXPECT_TRUE(tools.GetButtonState(tools.CommandToIndex(ID_OSM_IMAGE_EDITOR_ELLIPSE)) & TBSTATE_CHECKED);
    EXPECT_TRUE(tools.GetButtonState(tools.CommandToIndex(ID_OSM_IMAGE_EDITOR_UNDO)) & TBSTATE_ENABLED);
    EXPECT_FALSE(tools.GetButtonState(tools.CommandToIndex(ID_OSM_IMAGE_EDITOR_REDO)) & TBSTATE_ENABLED);
    Command(ID_OSM_IMAGE_EDITOR_UNDO);
    KickIdle();
    EXPECT_FALSE(tools.GetButtonState(tools.CommandToIndex(ID_OSM_IMAGE_EDITOR_UNDO)) & TBSTATE_ENABLED);
    EXPECT_TRUE(tools.GetButtonState(tools.CommandToIndex(ID_OSM_IMAGE_EDITOR_REDO)) & TBSTATE_ENABLED);

    // The picker chosen twice still hands back to the tool before it; a pick fills the custom swatch.
    Command(ID_OSM_IMAGE_EDITOR_LINE);
    Command(ID_OSM_IMAGE_EDITOR_PICKER);
    Command(ID_OSM_IMAGE_EDITOR_PICKER);
    EXPECT_EQ(m_dialog->GetPreviousTool(), COSMImageEditorPicture::kToolLine);
    std::vector<DWORD> pixels = Solid(kClear);
    pixels[4 * 16 + 4] = 0x00123456;
    SetImage(pixels);
    ClickAt(CellOnScreen(4, 4));
    EXPECT_EQ(m_dialog->GetCustomPicker().GetColor(), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(m_dialog->GetSelectedPicker(), &m_dialog->GetCustomPicker());
    EXPECT_EQ(m_dialog->GetCurrentTool(), COSMImageEditorPicture::kToolLine);
    EXPECT_EQ(UndoCount(Picture()), 0);
}

TEST_F(ImageEditorTest, PaletteSwatchesSitInTheirGridDrawTheirFramesAndSelectOnClick)
{
    Open();
    struct Swatch
    {
        UINT id;
        COLORREF color;
        int column, row;
    };
    const Swatch swatches[] = {
        {9900, RGB(0, 0, 0), 0, 0},       {9915, RGB(128, 128, 128), 1, 0}, {9908, RGB(128, 0, 0), 2, 0},
        {9910, RGB(128, 128, 0), 3, 0},   {9911, RGB(0, 128, 0), 4, 0},     {9912, RGB(0, 128, 128), 5, 0},
        {9905, RGB(0, 0, 128), 6, 0},     {9922, RGB(128, 0, 128), 7, 0},   {9939, RGB(255, 255, 255), 0, 1},
        {9931, RGB(192, 192, 192), 1, 1}, {9916, RGB(255, 0, 0), 2, 1},     {9926, RGB(255, 255, 0), 3, 1},
        {9927, RGB(0, 255, 0), 4, 1},     {9928, RGB(0, 255, 255), 5, 1},   {9913, RGB(0, 0, 255), 6, 1},
        {9924, RGB(255, 0, 255), 7, 1},
    };
    CRect origin;
    ::GetWindowRect(::GetDlgItem(*m_dialog, 9900), &origin);
    int count = 0;
    for (const Swatch& s : swatches)
    {
        SCOPED_TRACE(s.id);
        HWND hSwatch = ::GetDlgItem(*m_dialog, static_cast<int>(s.id));
        ASSERT_NE(hSwatch, nullptr);
        auto* pPicker = dynamic_cast<COSMImageEditorPicker*>(CWnd::FromHandlePermanent(hSwatch));
        ASSERT_NE(pPicker, nullptr);
        ++count;
        EXPECT_EQ(pPicker->GetColor(), s.color);
        EXPECT_EQ(pPicker->IsSelected(), s.id == 9900);
        CRect rect;
        ::GetWindowRect(hSwatch, &rect);
        EXPECT_EQ(rect.Width(), 11);
        EXPECT_EQ(rect.Height(), 11);
        EXPECT_EQ(rect.left - origin.left, 13 * s.column);
        EXPECT_EQ(rect.top - origin.top, 13 * s.row);
    }
    EXPECT_EQ(count, COSMImageEditorDialog::kPaletteCount);

    const DWORD darkShadow = ToPixel(GetColorManager()->GetColor(COLOR_3DDKSHADOW));
    {
        WindowPixels selected(::GetDlgItem(*m_dialog, 9900));
        EXPECT_EQ(selected.At(0, 5), kBlack);
        EXPECT_EQ(selected.At(1, 5), 0x00FFFFFFu);
        EXPECT_EQ(selected.At(2, 5), kBlack);
        EXPECT_EQ(selected.At(5, 5), kBlack);
        WindowPixels plain(::GetDlgItem(*m_dialog, 9916));
        EXPECT_EQ(plain.At(0, 5), darkShadow);
        EXPECT_EQ(plain.At(10, 5), darkShadow);
        EXPECT_EQ(plain.At(1, 5), kRed);
        WindowPixels transparent(m_dialog->GetTransparentPicker());
        const int w = transparent.Width();
        const int h = transparent.Height();
        EXPECT_EQ(transparent.At(w / 2 - 1, h / 2 - 1), 0x00EBEBEBu);
        EXPECT_EQ(transparent.At(w / 2, h / 2 - 1), 0x00FFFFFFu);
        EXPECT_EQ(transparent.At(w / 2 - 1, h / 2), 0x00FFFFFFu);
        EXPECT_EQ(transparent.At(w - 2, h - 2), 0x00EBEBEBu);
    }

    ClickAt(CentreOf(::GetDlgItem(*m_dialog, 9916)));
    EXPECT_EQ(m_dialog->GetSelectedColor(), RGB(255, 0, 0));
    EXPECT_FALSE(m_dialog->GetPalettePicker(0).IsSelected());
    ClickAt(CentreOf(m_dialog->GetTransparentPicker()));
    EXPECT_EQ(m_dialog->GetSelectedColor(), kImageEditorTransparent);

    // The custom swatch: OK takes the chosen colour, Cancel keeps its colour; both select it.
    g_colorAnswer = IDOK;
    g_colorChosen = RGB(1, 2, 3);
    ClickAt(CentreOf(m_dialog->GetCustomPicker()));
    EXPECT_EQ(m_dialog->GetCustomPicker().GetColor(), RGB(1, 2, 3));
    EXPECT_EQ(m_dialog->GetSelectedPicker(), &m_dialog->GetCustomPicker());
    ClickAt(CentreOf(::GetDlgItem(*m_dialog, 9900)));
    g_colorAnswer = IDCANCEL;
    g_colorChosen = RGB(9, 9, 9);
    ClickAt(CentreOf(m_dialog->GetCustomPicker()));
    EXPECT_EQ(g_colorOffered, RGB(1, 2, 3));
    EXPECT_EQ(m_dialog->GetCustomPicker().GetColor(), RGB(1, 2, 3));
    EXPECT_EQ(m_dialog->GetSelectedPicker(), &m_dialog->GetCustomPicker());
    g_colorAnswer = IDOK;
}

TEST_F(ImageEditorTest, ToolTipsTakeTheLineAfterTheFirstNewlineWithinTheirBuffer)
{
    Open();
    struct Case
    {
        UINT id;
        bool answered;
        std::string tip;
    };
    const std::vector<Case> cases = {
        {ID_OSM_IMAGE_EDITOR_PENCIL, true, "Pencil"},
        {ID_OSM_IMAGE_EDITOR_MOVE_LEFT, true, "Move Left"},
        {IDS_TEST_TIP_NO_NEWLINE, true, ""},
        {IDS_TEST_TIP_LONG, true,
         std::string("0123456789")
             .append("0123456789012345678901234567890123456789")
             .append("01234567890123456789012345678")},
        {IDS_TEST_TIP_MISSING, false, ""},
    };
    HWND hFrom = m_dialog->GetToolsBar();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.id);
        NMTTDISPINFOA ansi{};
        ansi.hdr = {hFrom, c.id, static_cast<UINT>(TTN_NEEDTEXTA)};
        std::strcpy(ansi.szText, "untouched");
        m_dialog->SendMessage(WM_NOTIFY, c.id, reinterpret_cast<LPARAM>(&ansi));
        NMTTDISPINFOW wide{};
        wide.hdr = {hFrom, c.id, static_cast<UINT>(TTN_NEEDTEXTW)};
        ::lstrcpyW(wide.szText, L"untouched");
        m_dialog->SendMessage(WM_NOTIFY, c.id, reinterpret_cast<LPARAM>(&wide));
        const std::string expected = c.answered ? c.tip : "untouched";
        EXPECT_EQ(std::string(ansi.szText), expected);
        char narrowed[100] = {};
        ::WideCharToMultiByte(CP_ACP, 0, wide.szText, -1, narrowed, sizeof(narrowed), nullptr, nullptr);
        EXPECT_EQ(std::string(narrowed), expected);
        if (c.answered)
        {
            EXPECT_EQ(ansi.lpszText, ansi.szText);
        }
    }
    EXPECT_EQ(cases[3].tip.size(), 79u);
}

TEST_F(ImageEditorTest, TheRegisterFlagMakesTheEditorASafeWindowWhileItIsOpen)
{
    COSMMouseManager* pMouse = CreateMouseManager();
    Open(16, 16, TRUE);
    const HWND hEditor = *m_dialog;
    EXPECT_TRUE(pMouse->IsSafeWindow(hEditor));
    Close();
    EXPECT_FALSE(pMouse->IsSafeWindow(hEditor));
    Open(16, 16, FALSE);
    EXPECT_FALSE(pMouse->IsSafeWindow(*m_dialog));
}

TEST_F(ImageEditorTest, TheModalEditorTakesAStrokeAndOkHandsTheImageBack)
{
    COSMImageEditorDialog editor(nullptr, TRUE);
    editor.SetSize(16, 16);
    bool scripted = false;
    osm::test::OneShotTimer script(200, [&] {
        const HWND hEditor = ::GetActiveWindow();
        ASSERT_NE(hEditor, nullptr);
        const HWND hPicture = ::GetDlgItem(hEditor, IDC_OSM_IMAGE_EDITOR_PICTURE);
        ASSERT_NE(hPicture, nullptr);
        RECT rect{};
        ::GetWindowRect(hPicture, &rect);
        const CSize cell = editor.GetPicture().GetCellSize();
        auto cellAt = [&](int px, int py) {
            return POINT{rect.left + px * cell.cx + cell.cx / 2, rect.top + py * cell.cy + cell.cy / 2};
        };
        osm::test::SendMouseMoveTo(cellAt(6, 9));
        Settle(2);
        osm::test::SendMouseInput(MOUSEEVENTF_LEFTDOWN);
        Settle(2);
        osm::test::SendMouseMoveTo(cellAt(7, 9));
        Settle(2);
        osm::test::SendMouseInput(MOUSEEVENTF_LEFTUP);
        Settle(2);
        ClickAt(CentreOf(::GetDlgItem(hEditor, IDOK)));
        scripted = true;
    });
    EXPECT_EQ(editor.DoModal(), IDOK);
    EXPECT_TRUE(scripted);
    COSMImageManagerIconHandle result;
    editor.GetIcon(&result);
    ASSERT_FALSE(result.IsEmpty());
    EXPECT_EQ(result.GetExtent(), CSize(16, 16));
    foundation_test::DcTestSurface drawn(16, 16, RGB(255, 255, 255));
    ::DrawIconEx(drawn.GetDC(), 0, 0, result.GetIcon(), 16, 16, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(Rgb(drawn.Raw(6, 9)), kBlack);
    EXPECT_EQ(Rgb(drawn.Raw(7, 9)), kBlack);
    EXPECT_EQ(Rgb(drawn.Raw(8, 9)), 0x00FFFFFFu);
    EXPECT_EQ(Rgb(drawn.Raw(0, 0)), 0x00FFFFFFu);
}

TEST_F(ImageEditorTest, ATestAnswerStandsInForTheUserWithoutAWindow)
{
    COSMImageManagerIconHandle image = IconImage(MakeSolidIcon(16, 16, RGB(1, 2, 3)));
    COSMImageEditorDialog::SetTestAnswer(IDOK, image);
    COSMImageEditorDialog editor(nullptr, TRUE);
    EXPECT_EQ(editor.DoModal(), IDOK);
    COSMImageManagerIconHandle result;
    editor.GetIcon(&result);
    EXPECT_FALSE(result.IsEmpty());
    COSMImageEditorDialog::ResetTestAnswer();
    EXPECT_EQ(editor.DoModal(), IDCANCEL);
    COSMImageManagerIconHandle none;
    editor.GetIcon(&none);
    EXPECT_TRUE(none.IsEmpty());
    COSMImageEditorDialog::EndTestAnswer();
}

}  // namespace
