// COSMMarkupPathGeometry: a figure list kept the way GDI+ paths take it, float points with one type byte each (0 a
// figure's start, 1 a line's end, 3 a cubic Bezier point, three per segment; 0x80 on a type closes the figure after
// that point), with the whole-pixel bounds around them. Made from path text by the builder
// (MarkupPathGeometryBuilder.h), or by the renderers for outlines of their own.
//
//   <Path Data="M 0,0 L 10,0 10,10 Z" Fill="Red"/>
//
// Bounds saturate at +-2147483647, so a huge coordinate cannot turn a width negative.
#pragma once

#include "framework/markup/MarkupObject.h"

#include <vector>

// A point as GDI+ takes it: two single-precision numbers.
struct COSMMarkupPointF
{
    float x;
    float y;
};

class COSMMarkupPathGeometry : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(COSMMarkupPathGeometry)

public:
    enum PointType : BYTE
    {
        PointStart = 0,
        PointLine = 1,
        PointBezier = 3,
        PointTypeMask = 0x07,
        PointCloseFigure = 0x80,
    };

    COSMMarkupPathGeometry() = default;
    // Copies count points and types.
    COSMMarkupPathGeometry(const COSMMarkupPointF* points, const BYTE* types, int count);

    // Path text, parsed with builder (its messages carry the position), gives a new geometry; other values none.
    COSMMarkupObject* ConvertFrom(COSMMarkupBuilder* builder, COSMMarkupObject* value) override;

    // A new geometry with the points scaled from the bounds to width x height (one reference for the caller). An
    // axis with no extent keeps its coordinates.
    COSMMarkupPathGeometry* Stretch(int width, int height) const;

    int GetPointCount() const { return static_cast<int>(m_types.size()); }
    const COSMMarkupPointF* GetPoints() const { return m_points.data(); }
    const BYTE* GetTypes() const { return m_types.data(); }
    // floor of the smallest and ceiling of the largest coordinates; empty without points.
    const RECT& GetBounds() const { return m_rcBounds; }
    // The pixel-offset mode the GDI+ renderer strokes this path with: 0 (its default) in every path markup makes.
    int GetPixelOffsetMode() const { return m_nPixelOffsetMode; }
    void SetPixelOffsetMode(int mode) { m_nPixelOffsetMode = mode; }
    // How overlapping figures fill: alternately (every path markup makes), or wherever any figure winds, for the
    // unions the drawing context builds (a wide pen's area, glyph outlines).
    enum FillRule
    {
        FillAlternate = 0,
        FillWinding = 1,
    };
    int GetFillRule() const { return m_nFillRule; }
    void SetFillRule(int rule) { m_nFillRule = rule; }
    // What brushes are laid over: the bounds of the figure this one was cut from (SetPaintBounds), else its own.
    const RECT& GetPaintBounds() const { return m_bHasPaintBounds ? m_rcPaintBounds : m_rcBounds; }
    void SetPaintBounds(const RECT& bounds)
    {
        m_rcPaintBounds = bounds;
        m_bHasPaintBounds = TRUE;
    }

private:
    void ComputeBounds();

    std::vector<COSMMarkupPointF> m_points;
    std::vector<BYTE> m_types;
    RECT m_rcBounds = {2147483647, 2147483647, -2147483647, -2147483647};
    int m_nPixelOffsetMode = 0;
    int m_nFillRule = FillAlternate;
    RECT m_rcPaintBounds = {};
    BOOL m_bHasPaintBounds = FALSE;
};
