// COSMMarkupDrawingContext: what every element measures and draws through. It wraps a target device context, owns
// the renderer that does the drawing (MarkupDeviceContext.h), keeps the clip box of the target in the current
// coordinates, and forwards each request to the renderer after a few guards. Two kinds are built on the stack:
//
//   COSMMarkupDrawingContext dc(hdc);                                                  // renders into a caller's DC
//   COSMMarkupDrawingContext measuring(COSMMarkupDrawingContext::CreateMeasuringContext);  // its own screen DC
//
// A rendering context leaves the caller's DC in TRANSPARENT background mode and never deletes it.
#pragma once

#include "classlib/ClassLib.h"
#include "framework/markup/MarkupDeviceContext.h"

#include <memory>

class COSMMarkupDrawingContext
{
public:
    enum MeasuringContextTag
    {
        CreateMeasuringContext
    };

    // Renders into dc and measures on attribDC (dc when null).
    explicit COSMMarkupDrawingContext(HDC dc, HDC attribDC = nullptr);
    // Measures on a memory DC of its own, compatible with the screen, deleted with the context.
    explicit COSMMarkupDrawingContext(MeasuringContextTag);
    // Renders into dc through renderer, which the context owns from now on.
    COSMMarkupDrawingContext(HDC dc, COSMMarkupDeviceContext* renderer);
    COSMMarkupDrawingContext(const COSMMarkupDrawingContext&) = delete;
    COSMMarkupDrawingContext& operator=(const COSMMarkupDrawingContext&) = delete;

    // ---- Override these (in this order) ----------------------------------------------------------------------
    // Deletes the renderer, and the DC when the context made it.
    virtual ~COSMMarkupDrawingContext();
    // TRUE would make every measure run afresh instead of reusing an earlier one for the same room. FALSE here.
    virtual BOOL BypassLayoutCache();

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

    // The renderer's DC, for plain GDI work; hand it back with ReleaseDC.
    HDC GetDC();
    void ReleaseDC(HDC dc);

    HDC GetSafeHdc() const { return m_hDC; }
    HDC GetAttribDC() const { return m_hAttribDC; }
    COSMMarkupDeviceContext* GetRenderer() const { return m_pRenderer.get(); }

private:
    void Initialize(COSMMarkupDeviceContext* renderer);
    void RefreshClipBox();

    HDC m_hDC;
    HDC m_hAttribDC;
    CRect m_rcClipBox;
    BOOL m_bOwnDC = FALSE;
    std::unique_ptr<COSMMarkupDeviceContext> m_pRenderer;
};
