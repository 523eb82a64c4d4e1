// COSMMarkupDeviceContext: the renderer behind a markup drawing context (MarkupDrawingContext.h), doing the real
// drawing with plain GDI on an output device context (drawing, clipping, the viewport origin) and an attribute one
// (measuring text). Every operation is virtual: the GDI+ renderer (MarkupGdiPlusDeviceContext.h) replaces the shape
// and fill operations and calls back here when GDI+ is missing; the frame's bands and the rounded forms go through
// the object's own FillRectangle and DrawPath.
//
// Brushes are read as colours without alpha (gradients are computed per pixel). Every drawing operation selects
// back what it changed and deletes what it made: no GDI object outlives a call.
#pragma once

#include "classlib/ClassLibBase.h"
#include "classlib/RefPtr.h"
#include "framework/markup/MarkupFont.h"

class COSMMarkupBrush;
class COSMMarkupLinearGradientBrush;
class COSMMarkupPathGeometry;
class COSMMarkupThickness;

// What SaveClipRegion answers for a device context without a clip region; RestoreClipRegion then removes the clip.
inline HRGN MarkupNoClipRegion()
{
    return reinterpret_cast<HRGN>(static_cast<INT_PTR>(-1));
}

class COSMMarkupDeviceContext
{
public:
    // Draws on dc and measures on attribDC (dc when null). Keeps dc's window and viewport extents, made positive;
    // a window extent of 0 in either direction counts as a 1:1 mapping.
    COSMMarkupDeviceContext(HDC dc, HDC attribDC);
    COSMMarkupDeviceContext(const COSMMarkupDeviceContext&) = delete;
    COSMMarkupDeviceContext& operator=(const COSMMarkupDeviceContext&) = delete;

    // ---- Override these (in this order) ----------------------------------------------------------------------
    virtual ~COSMMarkupDeviceContext();
    // Moves the viewport origin by point, converted from logical to device units.
    virtual void OffsetViewport(POINT point);
    // Outlined with a pen of thickness when there is a stroke and thickness >= 1, filled when there is a fill.
    virtual void DrawEllipse(RECT rect, int thickness, COSMMarkupBrush* stroke, COSMMarkupBrush* fill);
    // The bands of thickness inside rect: left and right from top to bottom, top and bottom across the whole
    // width (so they overlap the sides); a side of 0 or less has no band, a null thickness none at all.
    virtual void DrawFrame(RECT rect, COSMMarkupBrush* brush, const COSMMarkupThickness* thickness);
    // A solid brush fills opaquely, alpha ignored; a linear gradient is computed per pixel, only where the clip
    // lets it show. Other brushes, or none, draw nothing.
    virtual void FillRectangle(RECT rect, COSMMarkupBrush* brush);
    virtual void DrawLine(int x1, int y1, int x2, int y2, int thickness, COSMMarkupBrush* brush);
    // Nothing without a stroke or with thickness 0.
    virtual void DrawPolyline(const POINT* points, int count, int thickness, COSMMarkupBrush* stroke);
    virtual void DrawPolygon(const POINT* points, int count, int thickness, COSMMarkupBrush* stroke,
                             COSMMarkupBrush* fill);
    // The figures of path, filled and/or outlined (a stroke needs thickness >= 1). Nothing for a path without
    // points.
    virtual void DrawPath(const COSMMarkupPathGeometry* path, int thickness, COSMMarkupBrush* stroke,
                          COSMMarkupBrush* fill);
    // radii: eight doubles (the corners' vertical and horizontal radii clockwise from the top of the left edge),
    // or null for FillRectangle. The rounded outline filled through DrawPath.
    virtual void FillRoundedRectangle(RECT rect, COSMMarkupBrush* brush, const double* radii);
    // Without radii DrawFrame; otherwise the rounded outline on rect inset by half the left thickness, stroked
    // through DrawPath with the left thickness as its width.
    virtual void DrawRoundedFrame(RECT rect, COSMMarkupBrush* brush, const COSMMarkupThickness* thickness,
                                  const double* radii);
    // count characters of text at point, advanced by the attribute DC's widths.
    virtual void DrawTextLine(LPCWSTR text, int count, const POINT* point);
    // Measured on the attribute DC.
    virtual SIZE GetTextExtent(LPCWSTR text, int count);
    // How many of count characters of text fit in maxWidth on the attribute DC (GetTextExtentExPoint), asking
    // about twice as many characters as fit at most, so a long text costs what fits.
    virtual int GetTextFit(LPCWSTR text, int count, int maxWidth);
    // The extents of count characters of text one call measures on the attribute DC: extents[i] is the width of
    // the first i + 1 characters, size that of them all. FALSE when the system measures nothing.
    virtual BOOL GetTextExtents(LPCWSTR text, int count, int* extents, SIZE* size);
    // Whether the width of any stretch of text is the difference of two of the extents GetTextExtents gives, in
    // the attribute DC's current font: text in device pixels (MM_TEXT, no world transform) and a font without the
    // overhang of a synthesised style, whose advances the system adds up. Text can then be measured once and cut
    // anywhere.
    virtual BOOL AreTextExtentsAdditive();
    // The attribute DC's metrics in its current font. While the DC measures in pixels (MM_TEXT, GM_COMPATIBLE:
    // both read from the DC's own attributes, without asking the font) the metrics of a font SetFont selected are
    // read from the system once and kept: a layout asks for them for every run, each time a call into the font.
    virtual BOOL GetTextMetrics(TEXTMETRICW* metrics);
    // The brush's colour, black for null.
    virtual void SetTextColor(COSMMarkupBrush* brush);
    // Selects font's handle into both DCs, keeping the font they had before the first one; null selects that font
    // back. Answers the font the last DC held before.
    virtual HFONT SetFont(COSMMarkupFont* font);
    virtual void IntersectClipRect(const RECT* rect);
    virtual void GetClipBox(RECT* rect);
    // The output DC's clip region, a copy for RestoreClipRegion to put back: MarkupNoClipRegion() when it has
    // none, null when no region could be made.
    virtual HRGN SaveClipRegion();
    // Puts back what SaveClipRegion answered (and frees it); null does nothing.
    virtual void RestoreClipRegion(HRGN saved);
    // The output DC, for code that draws or measures with plain GDI; hand it back with ReleaseDC.
    virtual HDC GetDC();
    virtual void ReleaseDC(HDC dc);

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    // The rounded outline of rect with radii (one reference for the caller), the GDI+ renderer strokes it on
    // pixel edges: each corner a cubic from the rectangle's corner to its own end point.
    static COSMMarkupPathGeometry* CreateRoundedOutline(double left, double top, double right, double bottom,
                                                        const double* radii);

protected:
    // The same with given extents instead of the output DC's, normalised alike.
    COSMMarkupDeviceContext(HDC dc, HDC attribDC, SIZE windowExt, SIZE viewportExt);

    HDC m_hDC;
    HDC m_hAttribDC;
    SIZE m_szWindowExt;
    SIZE m_szViewportExt;
    HFONT m_hOldFont = nullptr;

private:
    void FillGradient(RECT rect, const COSMMarkupLinearGradientBrush* brush);
    // Whether the attribute DC measures text in pixels with no transform to ask about.
    BOOL IsPlainTextMapping() const;

    // The font SetFont selected last (null: the DC's own), and the metrics read for the last few fonts selected,
    // held so that a font made again at the address of a freed one is never taken for it.
    COSMMarkupFont* m_pSelectedFont = nullptr;
    struct FontMetrics
    {
        RefPtr<COSMMarkupFont> font;
        TEXTMETRICW metrics;
    };
    static constexpr int kKeptFontMetrics = 4;
    FontMetrics m_fontMetrics[kKeptFontMetrics] = {};
    int m_nNextFontMetrics = 0;
};
