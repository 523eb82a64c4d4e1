// COSMMarkupPolygon (tag "Polygon") and COSMMarkupPolyline (tag "Polyline"): figures through a list of points, the
// polygon closed and filled, the polyline open and stroked only.
//
//   <Polyline Points="0,0 20,0 20,10" Stroke="Gray" StrokeThickness="3"/>
//
// They measure to their points' bounds (measured from 0: max(right - left, right) by max(bottom - top, bottom)) and
// with Stretch set draw the points scaled to the render size.
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupShape.h"

class COSMMarkupPointCollection;

class COSMMarkupPolygon : public COSMMarkupShape
{
    DECLARE_MARKUP_TYPE(COSMMarkupPolygon)

public:
    COSMMarkupPolygon() = default;

    void OnRender(COSMMarkupDrawingContext* dc) override;
    CSize MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;

    // The Points value (borrowed), or null.
    COSMMarkupPointCollection* GetPoints() const;

    static COSMMarkupDependencyProperty* s_pPointsProperty;
    static void RegisterMarkupProperties();
};

class COSMMarkupPolyline : public COSMMarkupShape
{
    DECLARE_MARKUP_TYPE(COSMMarkupPolyline)

public:
    COSMMarkupPolyline() = default;

    void OnRender(COSMMarkupDrawingContext* dc) override;
    // As the polygon's, a stroked flat side growing by half the thickness (rounded up) first.
    CSize MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;

    COSMMarkupPointCollection* GetPoints() const;

    static COSMMarkupDependencyProperty* s_pPointsProperty;
    static void RegisterMarkupProperties();
};
