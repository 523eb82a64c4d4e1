// The paint buffer on DIB sections: drawing lands on the target at the same coordinates and only inside the
// rectangle; the paint-DC form clips to the paint rectangle; a buffer without a bitmap of its own copies nothing.
#include <gtest/gtest.h>

#include "tests/support/DcTestSurface.h"
#include "framework/foundation/BufferDC.h"

#include <algorithm>

using foundation_test::DcTestSurface;

namespace {

const COLORREF kTarget = RGB(240, 240, 230);
const COLORREF kDrawn = RGB(30, 60, 200);
const COLORREF kMark = RGB(220, 20, 20);

// A paint DC over a memory DC: BeginPaint without a window gives nothing, so the test attaches its own DC and
// sets the paint rectangle the way BeginPaint would.
class MemoryPaintDC : public CPaintDC
{
public:
    MemoryPaintDC(HDC hDC, const RECT& rcPaint) : CPaintDC(nullptr)
    {
        Attach(hDC);
        m_ps.rcPaint = rcPaint;
    }
};

bool OnlyRectChanged(const DcTestSurface& surface, const CRect& rect, COLORREF inside)
{
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x)
        {
            const COLORREF expected = rect.PtInRect(CPoint(x, y)) ? inside : kTarget;
            if (surface.Pixel(x, y) != expected)
                return false;
        }
    return true;
}

}  // namespace

TEST(BufferDC, CopiesTheRectangleToTheSamePlaceAndNothingElse)
{
    DcTestSurface target(48, 40);
    ASSERT_TRUE(target.IsValid());
    const CRect cases[] = {{10, 5, 30, 25}, {0, 0, 48, 40}, {40, 30, 60, 50}, {-5, -5, 8, 6}};
    for (const CRect& rect : cases)
    {
        target.Fill(kTarget);
        {
            COSMBufferDC buffer(target.GetDC(), rect);
            ASSERT_TRUE(buffer.IsBuffered());
            // The buffer reaches from (0, 0) to the rectangle's far corner, in the target's coordinates.
            BITMAP bm{};
            ::GetObjectA(::GetCurrentObject(buffer, OBJ_BITMAP), sizeof(bm), &bm);
            EXPECT_EQ(bm.bmWidth, rect.right);
            EXPECT_EQ(bm.bmHeight, rect.bottom);
            buffer.FillSolidRect(0, 0, 100, 100, kDrawn);
            buffer.SetPixel(rect.right - 2, rect.bottom - 2, kMark);
            // Nothing reaches the target before the buffer goes.
            EXPECT_TRUE(OnlyRectChanged(target, CRect(), kTarget));
        }
        EXPECT_EQ(target.Pixel(std::max<int>(rect.left, 0), std::max<int>(rect.top, 0)), kDrawn) << rect.left;
        if (rect.right - 2 < 48 && rect.bottom - 2 < 40)
        {
            EXPECT_EQ(target.Pixel(rect.right - 2, rect.bottom - 2), kMark);
            ::SetPixel(target.GetDC(), rect.right - 2, rect.bottom - 2, kDrawn);  // for the check below
        }
        EXPECT_TRUE(OnlyRectChanged(target, rect, kDrawn)) << rect.left << "," << rect.top;
    }
}

TEST(BufferDC, WithoutABitmapOfItsOwnLeavesTheTargetAlone)
{
    DcTestSurface target(24, 24);
    ASSERT_TRUE(target.IsValid());
    // Rectangles ending at or before the origin, and one no bitmap can be made for.
    const CRect cases[] = {
        {-10, 2, 0, 12}, {2, -10, 12, 0}, {-20, -20, -5, -5}, {0, 0, 0, 0}, {0, 0, 1 << 30, 1 << 30}};
    for (const CRect& rect : cases)
    {
        target.Fill(kTarget);
        {
            COSMBufferDC buffer(target.GetDC(), rect);
            EXPECT_FALSE(buffer.IsBuffered()) << rect.right << "x" << rect.bottom;
            if (buffer.GetSafeHdc())
                buffer.FillSolidRect(-50, -50, 200, 200, kDrawn);
        }
        EXPECT_TRUE(OnlyRectChanged(target, CRect(), kTarget)) << rect.right << "x" << rect.bottom;
    }
}

TEST(BufferDC, PaintFormClipsToThePaintRectangle)
{
    DcTestSurface target(40, 30);
    ASSERT_TRUE(target.IsValid());
    struct Case
    {
        CRect paint;
        int bitmapWidth, bitmapHeight;
    };
    const Case cases[] = {{{5, 4, 15, 12}, 15, 12}, {{0, 0, 40, 30}, 40, 30}, {{0, 0, 0, 0}, 1, 1}};
    for (const Case& c : cases)
    {
        target.Fill(kTarget);
        {
            MemoryPaintDC paint(target.GetDC(), c.paint);
            COSMBufferDC buffer(paint);
            ASSERT_TRUE(buffer.IsBuffered());
            EXPECT_EQ(buffer.GetDestDC(), target.GetDC());
            BITMAP bm{};
            ::GetObjectA(::GetCurrentObject(buffer, OBJ_BITMAP), sizeof(bm), &bm);
            EXPECT_EQ(bm.bmWidth, c.bitmapWidth);
            EXPECT_EQ(bm.bmHeight, c.bitmapHeight);

            CRect clip;
            const int region = buffer.GetClipBox(clip);
            if (c.paint.IsRectEmpty())
            {
                EXPECT_EQ(region, NULLREGION);
            }
            else
            {
                EXPECT_TRUE(clip == c.paint) << clip.left << "," << clip.top << "," << clip.right << "," << clip.bottom;
            }

            buffer.FillSolidRect(0, 0, 40, 30, kDrawn);
            // Outside the paint rectangle the buffer itself stays unpainted.
            const COLORREF leftOf = c.paint.left > 0 ? buffer.GetPixel(c.paint.left - 1, c.paint.top) : CLR_INVALID;
            const COLORREF above = c.paint.top > 0 ? buffer.GetPixel(c.paint.left, c.paint.top - 1) : CLR_INVALID;
            EXPECT_NE(leftOf, kDrawn);
            EXPECT_NE(above, kDrawn);
            if (!c.paint.IsRectEmpty())
            {
                EXPECT_EQ(buffer.GetPixel(c.paint.left, c.paint.top), kDrawn);
            }
        }
        EXPECT_TRUE(OnlyRectChanged(target, c.paint, kDrawn)) << c.paint.left << "," << c.paint.top;
    }
}
