// The scoped selectors on a DIB section: what they select draws, the DC gets back exactly what it held, and only
// the objects a selector made are deleted. Also the self-filling rectangles of handles that are not windows, and
// the class library's halftone brush that the splitter tracker paints with.
#include <gtest/gtest.h>

#include "classlib/Wnd.h"
#include "tests/support/DcTestSurface.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/foundation/WindowRects.h"

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

using foundation_test::DcTestSurface;

namespace {

// A CDC over a DC it does not own.
class BorrowedDC : public CDC
{
public:
    explicit BorrowedDC(HDC hDC) { Attach(hDC); }
    ~BorrowedDC() override { Detach(); }
};

struct DcState
{
    HGDIOBJ pen, brush, font, bitmap;
    COLORREF textColor;

    static DcState Of(HDC hDC)
    {
        return {::GetCurrentObject(hDC, OBJ_PEN), ::GetCurrentObject(hDC, OBJ_BRUSH), ::GetCurrentObject(hDC, OBJ_FONT),
                ::GetCurrentObject(hDC, OBJ_BITMAP), ::GetTextColor(hDC)};
    }
    bool operator==(const DcState& o) const
    {
        return pen == o.pen && brush == o.brush && font == o.font && bitmap == o.bitmap && textColor == o.textColor;
    }
};

std::ostream& operator<<(std::ostream& os, const DcState& s)
{
    return os << "pen " << s.pen << ", brush " << s.brush << ", font " << s.font << ", bitmap " << s.bitmap
              << ", text colour " << std::hex << s.textColor << std::dec;
}

BOOL MakeFont(CFont& font, int nHeight)
{
    LOGFONTA lf{};
    lf.lfHeight = nHeight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = NONANTIALIASED_QUALITY;  // text pixels are exactly the text colour
    return font.CreateFontIndirect(&lf);
}

int CountPixels(const DcTestSurface& surface, COLORREF clr)
{
    int count = 0;
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x)
            count += surface.Pixel(x, y) == clr;
    return count;
}

const COLORREF kBackground = RGB(250, 250, 250);
const COLORREF kFirst = RGB(200, 30, 40);
const COLORREF kSecond = RGB(20, 140, 60);

}  // namespace

TEST(DCSelectors, EachScopeGivesTheDcBackWhatItHeld)
{
    DcTestSurface surface(32, 32);
    ASSERT_TRUE(surface.IsValid());
    BorrowedDC dc(surface.GetDC());

    // Objects of our own already in the DC, so that a selector putting back a stock object would show.
    CPen basePen(PS_SOLID, 3, RGB(1, 1, 1));
    CBrush baseBrush(RGB(2, 2, 2));
    CFont baseFont, fontA, fontB;
    ASSERT_TRUE(MakeFont(baseFont, -10) && MakeFont(fontA, -12) && MakeFont(fontB, -14));
    CPen givenPen(PS_DASH, 1, RGB(3, 3, 3));
    CBrush givenBrush(RGB(4, 4, 4));
    ::SelectObject(dc, basePen);
    ::SelectObject(dc, baseBrush);
    ::SelectObject(dc, baseFont);
    ::SetTextColor(dc, RGB(5, 6, 7));

    auto current = [&](UINT type) { return ::GetCurrentObject(dc, type); };
    struct Case
    {
        const char* name;
        std::function<void()> scope;
    };
    const std::vector<Case> cases = {
        {"font",
         [&] {
             COSMFontDC s(&dc, &fontA);
             EXPECT_EQ(current(OBJ_FONT), fontA.m_hObject);
         }},
        {"font set twice",
         [&] {
             COSMFontDC s(&dc, &fontA);
             s.SetFont(&fontB);
             EXPECT_EQ(current(OBJ_FONT), fontB.m_hObject);
         }},
        {"the font the DC holds, then another",
         [&] {
             COSMFontDC s(&dc, &baseFont);
             EXPECT_EQ(current(OBJ_FONT), baseFont.m_hObject);
             s.SetFont(&fontB);
             EXPECT_EQ(current(OBJ_FONT), fontB.m_hObject);
         }},
        {"a selector inside one of the same font, then another",
         [&] {
             COSMFontDC outer(&dc, &fontA);
             {
                 COSMFontDC inner(&dc, &fontA);
                 inner.SetFont(&fontB);
                 EXPECT_EQ(current(OBJ_FONT), fontB.m_hObject);
             }
             EXPECT_EQ(current(OBJ_FONT), fontA.m_hObject);
         }},
        {"font and colour set twice",
         [&] {
             COSMFontDC s(&dc, &fontA, kFirst);
             EXPECT_EQ(::GetTextColor(dc), kFirst);
             s.SetColor(kSecond);
             s.SetFont(&fontB);
             EXPECT_EQ(::GetTextColor(dc), kSecond);
         }},
        {"font released early, then another",
         [&] {
             COSMFontDC s(&dc, &fontA);
             s.ReleaseFont();
             EXPECT_EQ(current(OBJ_FONT), baseFont.m_hObject);
             s.SetFont(&fontB);
         }},
        {"colour released early, then another",
         [&] {
             COSMFontDC s(&dc, nullptr, kFirst);
             s.ReleaseColor();
             EXPECT_EQ(::GetTextColor(dc), RGB(5, 6, 7));
             s.SetColor(kSecond);
         }},
        {"own pen",
         [&] {
             COSMPenDC s(dc, kFirst);
             EXPECT_NE(current(OBJ_PEN), basePen.m_hObject);
         }},
        {"own pen recoloured",
         [&] {
             COSMPenDC s(dc, kFirst);
             s.Color(kSecond);
         }},
        {"given pen",
         [&] {
             COSMPenDC s(&dc, &givenPen);
             EXPECT_EQ(current(OBJ_PEN), givenPen.m_hObject);
         }},
        {"given pen, then an own one",
         [&] {
             COSMPenDC s(&dc, &givenPen);
             s.Color(kSecond);
         }},
        {"own brush",
         [&] {
             COSMBrushDC s(dc, kFirst);
             EXPECT_NE(current(OBJ_BRUSH), baseBrush.m_hObject);
         }},
        {"own brush recoloured",
         [&] {
             COSMBrushDC s(dc, kFirst);
             s.Color(kSecond);
         }},
        {"given brush",
         [&] {
             COSMBrushDC s(&dc, &givenBrush);
             EXPECT_EQ(current(OBJ_BRUSH), givenBrush.m_hObject);
         }},
        {"all nested",
         [&] {
             COSMFontDC font(&dc, &fontA, kFirst);
             COSMPenDC pen(dc, kSecond);
             COSMBrushDC brush(&dc, &givenBrush);
             font.SetFont(&fontB);
             pen.Color(kFirst);
         }},
    };
    for (const Case& c : cases)
    {
        const DcState before = DcState::Of(dc);
        c.scope();
        EXPECT_EQ(DcState::Of(dc), before) << c.name;
    }
    ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
    ::SelectObject(dc, ::GetStockObject(WHITE_BRUSH));
    ::SelectObject(dc, ::GetStockObject(SYSTEM_FONT));
}

TEST(DCSelectors, WhatTheySelectIsWhatDraws)
{
    DcTestSurface surface(40, 40);
    ASSERT_TRUE(surface.IsValid());
    BorrowedDC dc(surface.GetDC());

    surface.Fill(kBackground);
    {
        COSMPenDC pen(dc, kFirst);
        pen.Color(kSecond);
        ::MoveToEx(dc, 2, 5, nullptr);
        ::LineTo(dc, 30, 5);
    }
    EXPECT_EQ(surface.Pixel(2, 5), kSecond);
    EXPECT_EQ(surface.Pixel(29, 5), kSecond);
    EXPECT_EQ(surface.Pixel(15, 4), kBackground);  // one pixel wide
    EXPECT_EQ(surface.Pixel(15, 6), kBackground);

    surface.Fill(kBackground);
    {
        COSMBrushDC brush(dc, kSecond);
        brush.Color(kFirst);
        ::PatBlt(dc, 10, 10, 5, 5, PATCOPY);
    }
    EXPECT_TRUE(surface.AllPixels({10, 10, 15, 15}, kFirst));
    EXPECT_EQ(surface.Pixel(15, 15), kBackground);

    surface.Fill(kBackground);
    CFont font;
    ASSERT_TRUE(MakeFont(font, -20));
    {
        COSMFontDC text(&dc, &font, kFirst);
        ::SetBkMode(dc, TRANSPARENT);
        ::TextOutA(dc, 2, 2, "WM", 2);
    }
    EXPECT_GT(CountPixels(surface, kFirst), 0);
}

TEST(DCSelectors, DeleteOnlyTheObjectsTheyMade)
{
    DcTestSurface surface(8, 8);
    ASSERT_TRUE(surface.IsValid());
    BorrowedDC dc(surface.GetDC());
    CPen givenPen(PS_SOLID, 1, kFirst);
    CBrush givenBrush(kFirst);

    // The handles of objects made inside a scope are looked at once the scope is over: a handle freed inside it
    // may come back at once for the next object made.
    std::vector<HGDIOBJ> made;
    {
        COSMPenDC pen(dc, kFirst);
        made.push_back(::GetCurrentObject(dc, OBJ_PEN));
        pen.Color(kSecond);
        made.push_back(::GetCurrentObject(dc, OBJ_PEN));
    }
    for (HGDIOBJ hPen : made)
        EXPECT_EQ(::GetObjectType(hPen), 0u) << "own pen " << hPen;
    made.clear();
    {
        COSMBrushDC brush(dc, kFirst);
        made.push_back(::GetCurrentObject(dc, OBJ_BRUSH));
        brush.Color(kSecond);
        made.push_back(::GetCurrentObject(dc, OBJ_BRUSH));
    }
    for (HGDIOBJ hBrush : made)
        EXPECT_EQ(::GetObjectType(hBrush), 0u) << "own brush " << hBrush;
    {
        COSMPenDC pen(&dc, &givenPen);
        COSMBrushDC brush(&dc, &givenBrush);
    }
    EXPECT_EQ(::GetObjectType(givenPen.m_hObject), static_cast<DWORD>(OBJ_PEN));
    EXPECT_EQ(::GetObjectType(givenBrush.m_hObject), static_cast<DWORD>(OBJ_BRUSH));
}

TEST(DCSelectors, CompatibleDcHoldsTheBitmapForItsScopeOnly)
{
    DcTestSurface surface(8, 8);
    ASSERT_TRUE(surface.IsValid());
    BorrowedDC dc(surface.GetDC());

    struct Case
    {
        const char* name;
        CDC* pDC;
        bool byHandle;
    };
    const Case cases[] = {
        {"bitmap object", &dc, false}, {"raw bitmap", &dc, true}, {"screen-compatible", nullptr, false}};
    for (const Case& c : cases)
    {
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&dc, 6, 6)) << c.name;
        HDC hMemory = nullptr;
        {
            // A bitmap is in one DC at a time: one selector per case.
            std::unique_ptr<COSMCompatibleDC> memory =
                c.byHandle ? std::make_unique<COSMCompatibleDC>(c.pDC, static_cast<HBITMAP>(bitmap.m_hObject))
                           : std::make_unique<COSMCompatibleDC>(c.pDC, &bitmap);
            COSMCompatibleDC& used = *memory;
            hMemory = used.GetSafeHdc();
            ASSERT_NE(hMemory, nullptr) << c.name;
            EXPECT_EQ(::GetCurrentObject(hMemory, OBJ_BITMAP), bitmap.m_hObject) << c.name;
            used.FillSolidRect(0, 0, 6, 6, kSecond);
        }
        EXPECT_EQ(::GetObjectType(hMemory), 0u) << c.name << ": the memory DC is deleted";
        // It can go into another DC only once the scope gave it back.
        HDC hOther = ::CreateCompatibleDC(dc);
        HGDIOBJ hOld = ::SelectObject(hOther, bitmap.m_hObject);
        EXPECT_NE(hOld, nullptr) << c.name;
        EXPECT_EQ(::GetPixel(hOther, 3, 3), kSecond) << c.name;
        ::SelectObject(hOther, hOld);
        ::DeleteDC(hOther);
    }
}

TEST(WindowRects, AreEmptyForHandlesThatAreNotWindows)
{
    // (A window that has been destroyed is among the display tests.)
    const HWND bogus = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FFE));
    CWnd notAttached;
    CWnd stale;
    stale.m_hWnd = bogus;  // a wrapper naming no window

    for (HWND hWnd : {static_cast<HWND>(nullptr), bogus})
    {
        EXPECT_TRUE(COSMWindowRect(hWnd).IsRectNull()) << hWnd;
        EXPECT_TRUE(COSMClientRect(hWnd).IsRectNull()) << hWnd;
    }
    const CWnd* windows[] = {nullptr, &notAttached, &stale};
    for (const CWnd* pWnd : windows)
    {
        EXPECT_TRUE(COSMWindowRect(pWnd).IsRectNull());
        EXPECT_TRUE(COSMClientRect(pWnd).IsRectNull());
    }
    stale.m_hWnd = nullptr;
    EXPECT_TRUE(COSMEmptyRect().IsRectNull());
}

TEST(HalftoneBrush, PaintsACheckerboardAndPatInvertTwiceRestores)
{
    CBrush* pBrush = CDC::GetHalftoneBrush();
    ASSERT_NE(pBrush, nullptr);
    EXPECT_EQ(CDC::GetHalftoneBrush()->m_hObject, pBrush->m_hObject);  // one brush for the process

    DcTestSurface surface(16, 16);
    ASSERT_TRUE(surface.IsValid());
    HDC hDC = surface.GetDC();
    ::SetTextColor(hDC, RGB(0, 0, 0));
    ::SetBkColor(hDC, RGB(255, 255, 255));
    HGDIOBJ hOld = ::SelectObject(hDC, pBrush->m_hObject);
    ::PatBlt(hDC, 0, 0, 16, 16, PATCOPY);
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 15; ++x)
        {
            ASSERT_NE(surface.Pixel(x, y), surface.Pixel(x + 1, y)) << x << "," << y;
            ASSERT_EQ(surface.Pixel(x, y), surface.Pixel(x + 1, y + 1)) << x << "," << y;
        }

    surface.Fill(kFirst);
    ::PatBlt(hDC, 2, 2, 10, 10, PATINVERT);
    int changed = 0;
    for (int x = 2; x < 12; ++x)
        changed += surface.Pixel(x, 5) != kFirst;
    EXPECT_EQ(changed, 5);  // every other pixel of the row
    ::PatBlt(hDC, 2, 2, 10, 10, PATINVERT);
    EXPECT_TRUE(surface.AllPixels({0, 0, 16, 16}, kFirst));
    ::SelectObject(hDC, hOld);
}
