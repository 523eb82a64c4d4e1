// COSMMarkupDrawingContext: what every element measures and draws through. It wraps a target device context, owns
// the renderer that does the drawing (MarkupDeviceContext.h), keeps the clip box of the target in the current
// coordinates, and forwards each request to the renderer after a few guards. Two kinds are built on the stack:
//
//   COSMMarkupDrawingContext dc(hdc);                                                  // renders into a caller's DC
//   COSMMarkupDrawingContext measuring(COSMMarkupDrawingContext::CreateMeasuringContext);  // its own screen DC
//   COSMMarkupDrawingContext measuring(COSMMarkupDrawingContext::CreateMeasuringContext, context);  // the context's
//
// Layout measures on its markup context's DC (COSMMarkupContext::GetMeasuringDC): a DC of its own per measure would
// cost a DC per invalidation, and parsing invalidates every element.
//
// A rendering context leaves the caller's DC in TRANSPARENT background mode, with the font it had, and never deletes
// it. The renderer is the GDI+ one, which draws through GDI while GDI+ is not registered (RegisterGdiPlusForMarkup).
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupDeviceContext.h"
#include "framework/markup/MarkupVisibleText.h"

#include <memory>

class COSMMarkupContext;
class COSMMarkupFont;
class COSMMarkupPathGeometry;
class COSMMarkupStrokeCoverage;
class COSMMarkupVisibleFigures;

class COSMMarkupDrawingContext
{
public:
    enum MeasuringContextTag
    {
        CreateMeasuringContext
    };

    // How far past the clip box a line that is neither level nor upright may reach before it is cut.
    static constexpr int kDiagonalLineReach = 16384;

    // Renders into dc and measures on attribDC (dc when null).
    explicit COSMMarkupDrawingContext(HDC dc, HDC attribDC = nullptr);
    // Measures on a memory DC of its own, compatible with the screen, deleted with the context.
    explicit COSMMarkupDrawingContext(MeasuringContextTag);
    // Measures on context's measuring DC, which it leaves as it found it; a null context is the one above.
    COSMMarkupDrawingContext(MeasuringContextTag, COSMMarkupContext* context);
    // Renders into dc through renderer, which the context owns from now on.
    COSMMarkupDrawingContext(HDC dc, COSMMarkupDeviceContext* renderer);
    COSMMarkupDrawingContext(const COSMMarkupDrawingContext&) = delete;
    COSMMarkupDrawingContext& operator=(const COSMMarkupDrawingContext&) = delete;

    // ---- Override these (in this order) ----------------------------------------------------------------------
    // Deletes the renderer, and the DC when the context made it.
    virtual ~COSMMarkupDrawingContext();
    // TRUE would make every measure run afresh instead of reusing an earlier one for the same room. FALSE here.
    virtual BOOL BypassLayoutCache();
    // count characters of text with their top left at point, in the current font and text colour. Only the
    // characters that come near the clip box reach the system, and the glyphs of a font larger than the area are
    // filled as outlines cut to it (MarkupVisibleText.h).
    virtual void DrawTextLine(LPCWSTR text, int count, const POINT* point);

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    // The visible part of the target in the current coordinates: render code skips elements outside it.
    const CRect& GetClipBox() const { return m_rcClipBox; }

    void OffsetViewport(POINT point);
    void IntersectClipRect(const RECT* rect);
    // A token for RestoreClipRegion: a copy of the clip region, MarkupNoClipRegion() without one, null on failure.
    HRGN SaveClipRegion();
    // Null does nothing (the clip box stays as it is).
    void RestoreClipRegion(HRGN saved);

    // rect filled with color; its alpha byte is ignored.
    void FillSolidRect(RECT rect, COLORREF color);
    // radii (eight doubles: the corners' vertical and horizontal radii, clockwise from the top of the left edge)
    // round the corners; null leaves them square.
    void FillRectangle(RECT rect, COSMMarkupBrush* brush, const double* radii = nullptr);
    // A one-pixel frame.
    void DrawRectangle(RECT rect, COSMMarkupBrush* brush);
    // Nothing without a brush or a thickness.
    void DrawFrame(RECT rect, COSMMarkupBrush* brush, const COSMMarkupThickness* thickness,
                   const double* radii = nullptr);

    // Selects font (null: the DC's font from before the first one) and holds a reference to it.
    void SetFont(COSMMarkupFont* font);
    COSMMarkupFont* GetFont() const { return m_pFont; }
    // Measured on the attribute DC in the current font.
    SIZE GetTextExtent(LPCWSTR text, int count);
    // How many of count characters of text fit in maxWidth, measured like GetTextExtent; the work is that of the
    // characters that fit, not of the whole text.
    int GetTextFit(LPCWSTR text, int count, int maxWidth);
    // The width of each of the first 1 .. count characters of text, and their height, in one measure.
    BOOL GetTextExtents(LPCWSTR text, int count, int* extents, SIZE* size);
    // Whether a stretch of text measures as the difference of two of GetTextExtents' extents in the current font.
    BOOL AreTextExtentsAdditive();
    // The attribute DC's metrics in the current font (read once per font while the DC maps nothing).
    BOOL GetTextMetrics(TEXTMETRICW* metrics);
    void SetTextColor(COSMMarkupBrush* brush);

    // What reaches the system is bounded by the clip box, whatever the markup gave:
    // - figures reaching far outside the clip box, or of more points or crossing edges than the system draws
    //   quickly, are cut to what shows first (MarkupVisibleFigures.h) and drawn as paths of lines; a line along
    //   an axis is cut to its visible stretch, any other where it reaches kDiagonalLineReach past the clip box
    //   (the system steps a line from its end points: an end point moved onto a nearer cut would shift its steps);
    // - a pen wider than COSMMarkupStrokeCoverage::kWidestSystemPen is drawn as the area it covers, cut to the clip
    //   box and filled with its brush (MarkupStrokeCoverage.h); the pen of an ellipse or rounded frame too wide
    //   for its figure covers all of it, and a frame's band never reaches past its rectangle.

    // Nothing without a brush or with a thickness below 1.
    void DrawLine(int x1, int y1, int x2, int y2, int thickness, COSMMarkupBrush* brush);
    // Nothing for a null array or no point.
    void DrawPolygon(const POINT* points, int count, int thickness, COSMMarkupBrush* stroke, COSMMarkupBrush* fill);
    // Nothing for a null array or fewer than two points.
    void DrawPolyline(const POINT* points, int count, int thickness, COSMMarkupBrush* stroke);
    void DrawEllipse(RECT rect, int thickness, COSMMarkupBrush* stroke, COSMMarkupBrush* fill);
    void DrawPath(const COSMMarkupPathGeometry* path, int thickness, COSMMarkupBrush* stroke, COSMMarkupBrush* fill);

    // The renderer's DC, for plain GDI work; hand it back with ReleaseDC.
    HDC GetDC();
    void ReleaseDC(HDC dc);

    HDC GetSafeHdc() const { return m_hDC; }
    HDC GetAttribDC() const { return m_hAttribDC; }
    COSMMarkupDeviceContext* GetRenderer() const { return m_pRenderer.get(); }

private:
    void Initialize(COSMMarkupDeviceContext* renderer);
    void RefreshClipBox();
    void DrawVisiblePath(const COSMMarkupPathGeometry* path, int thickness, COSMMarkupBrush* stroke,
                         COSMMarkupBrush* fill);
    void DrawVisibleFigures(const COSMMarkupVisibleFigures& figures, const RECT& paintBounds, int pixelOffsetMode,
                            int thickness, COSMMarkupBrush* stroke, COSMMarkupBrush* fill);
    // The area a pen too wide for the system covers, filled with its brush.
    void DrawCoverage(const COSMMarkupStrokeCoverage& coverage, const RECT& paintBounds, COSMMarkupBrush* stroke);
    // Whether the system would take long to scan-convert count points within bounds, filled and/or stroked with
    // pen: work() is what MarkupFigureFillWork says of them, asked only when count points could cost that much.
    template <class Work> BOOL IsTooComplex(const RECT& bounds, int count, int pen, BOOL filled, Work work) const;

    HDC m_hDC;
    HDC m_hAttribDC;
    COSMMarkupFont* m_pFont = nullptr;
    CRect m_rcClipBox;
    BOOL m_bOwnDC = FALSE;
    std::unique_ptr<COSMMarkupDeviceContext> m_pRenderer;
    COSMMarkupPlainTextWidths m_plainTextWidths;
};

// Starts (TRUE) or ends (FALSE) one use of GDI+ by markup drawing: the markup context does it as it is made and
// destroyed, so GDI+ stays loaded while any context lives.
void RegisterGdiPlusForMarkup(BOOL start);
