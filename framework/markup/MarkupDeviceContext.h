// COSMMarkupDeviceContext: the renderer behind a markup drawing context (MarkupDrawingContext.h), doing the real
// drawing with plain GDI on an output device context (drawing, clipping, the viewport origin) and an attribute one
// (measuring). Every operation is virtual, so a derived renderer can replace any of them; the frame's bands go
// through the object's own FillRectangle.
//
// Brushes are read as solid colours without alpha; other brush kinds, and rounded corners, are drawn by later
// renderers (the rounded operations draw square forms here). Every drawing operation selects back what it changed
// and deletes what it made: no GDI object outlives a call.
#pragma once

#include "classlib/ClassLib.h"

class COSMMarkupBrush;
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
    // The bands of thickness inside rect: left and right from top to bottom, top and bottom across the whole
    // width (so they overlap the sides); a side of 0 or less has no band, a null thickness none at all.
    virtual void DrawFrame(RECT rect, COSMMarkupBrush* brush, const COSMMarkupThickness* thickness);
    // A solid brush with a colour fills rect opaquely, alpha ignored; any other brush, or none, draws nothing.
    virtual void FillRectangle(RECT rect, COSMMarkupBrush* brush);
    // radii: eight doubles, or null. Square forms for now: FillRectangle.
    virtual void FillRoundedRectangle(RECT rect, COSMMarkupBrush* brush, const double* radii);
    // Square forms for now: DrawFrame.
    virtual void DrawRoundedFrame(RECT rect, COSMMarkupBrush* brush, const COSMMarkupThickness* thickness,
                                  const double* radii);
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

protected:
    // The same with given extents instead of the output DC's, normalised alike.
    COSMMarkupDeviceContext(HDC dc, HDC attribDC, SIZE windowExt, SIZE viewportExt);

    HDC m_hDC;
    HDC m_hAttribDC;
    SIZE m_szWindowExt;
    SIZE m_szViewportExt;
};
