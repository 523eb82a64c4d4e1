// COSMMarkupGdiPlusDeviceContext: the renderer every markup drawing context makes. Shapes, paths, gradients and
// translucent fills and frames are drawn anti-aliased through GDI+ (MarkupGdiPlus.h); opaque solid fills and frames,
// text, fonts and clips stay with GDI, and everything falls back to GDI when GDI+ is not loaded or started. No GDI+
// object lives from one call to the next.
#pragma once

#include "framework/markup/MarkupDeviceContext.h"

class COSMMarkupGdiPlusDeviceContext : public COSMMarkupDeviceContext
{
public:
    // GDI+ value names used here (those of the flat interface).
    enum
    {
        UnitWorld = 0,
        UnitPixel = 2,
        SmoothingHighSpeed = 1,
        SmoothingHighQuality = 2,
        PixelOffsetDefault = 0,
        PixelOffsetHalf = 4,
        FillModeAlternate = 0,
        FillModeWinding = 1,
        WrapTileFlipXY = 3,
    };

    COSMMarkupGdiPlusDeviceContext(HDC dc, HDC attribDC);

    // ---- Overrides -------------------------------------------------------------------------------------------
    void DrawEllipse(RECT rect, int thickness, COSMMarkupBrush* stroke, COSMMarkupBrush* fill) override;
    void DrawFrame(RECT rect, COSMMarkupBrush* brush, const COSMMarkupThickness* thickness) override;
    void FillRectangle(RECT rect, COSMMarkupBrush* brush) override;
    void DrawLine(int x1, int y1, int x2, int y2, int thickness, COSMMarkupBrush* brush) override;
    void DrawPolyline(const POINT* points, int count, int thickness, COSMMarkupBrush* stroke) override;
    void DrawPolygon(const POINT* points, int count, int thickness, COSMMarkupBrush* stroke,
                     COSMMarkupBrush* fill) override;
    void DrawPath(const COSMMarkupPathGeometry* path, int thickness, COSMMarkupBrush* stroke,
                  COSMMarkupBrush* fill) override;

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    // A new graphics object on the output DC (pixel units, high-quality smoothing, half pixel offset), or null
    // while GDI+ is not started. DeleteGraphics frees it.
    void* GetGraphics();
    void DeleteGraphics(void* graphics);
    // A new GDI+ brush for a solid or linear gradient brush laid over bounds, or null (other kinds, no colour, no
    // stops). Freed with GdipDeleteBrush.
    void* CreateBrush(COSMMarkupBrush* brush, const RECT& bounds);
    // A new GDI+ pen of width painted with brush, or null. Freed with GdipDeletePen.
    void* CreatePen(int width, COSMMarkupBrush* brush, const RECT& bounds);

    // An opaque solid brush is drawn by GDI: null, a solid brush without a colour, or alpha 0xFF.
    static BOOL IsOpaqueSolid(COSMMarkupBrush* brush);
    // The markup colour (red low, alpha high) as GDI+ ARGB: red and blue swapped, alpha kept.
    static UINT ToArgb(UINT color);
    // The bounds of count points, saturating; an empty array leaves (2147483647, 2147483647, -2147483647,
    // -2147483647).
    static RECT BoundsOf(const POINT* points, int count);
    // Default for an odd thickness (lines on pixel centres), Half for an even one (on pixel edges).
    static int PixelOffsetForThickness(int thickness);

private:
    void DeleteBrush(void* brush);
    void DeletePen(void* pen);
    void SetSmoothing(void* graphics, int mode);
    void SetPixelOffset(void* graphics, int mode);
};
