// COSMMarkupShape (tag "Shape"): the base of the figures markup draws with a fill and a stroke: polygon, polyline,
// rectangle, ellipse, line and path. Coordinates and stroke thickness are whole pixels.
//
//   <Polygon Points="0,0 10,0 5,8" Fill="Red" Stroke="Black" StrokeThickness="2"/>
//   <Ellipse Width="20" Height="10" Fill="Blue"/>
//
// A shape sizes itself from its coordinates, or with Stretch set takes the room offered (any Stretch other than
// None stretches without keeping proportions). Sums and differences of coordinates saturate at 2147483647.
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupFrameworkElement.h"

class COSMMarkupBrush;

class COSMMarkupShape : public COSMMarkupFrameworkElement
{
    DECLARE_MARKUP_TYPE(COSMMarkupShape)

public:
    COSMMarkupShape() = default;

protected:
    ~COSMMarkupShape() override;

public:
    // ---- Not meant to be overridden --------------------------------------------------------------------------
    // The brush values (borrowed), or null.
    COSMMarkupBrush* GetFill() const;
    COSMMarkupBrush* GetStroke() const;
    // 0 without a Stroke; otherwise StrokeThickness, 1 when unset.
    int GetEffectiveThickness() const;
    // Stretch is anything but None.
    BOOL IsStretched() const;
    // What (thickness + 1) / 2 adds to a flat dimension of a stroked figure, so its line is not cut away.
    int GetFlatExtra() const;

    static COSMMarkupDependencyProperty* s_pFillProperty;
    static COSMMarkupDependencyProperty* s_pStrokeProperty;
    static COSMMarkupDependencyProperty* s_pStrokeThicknessProperty;
    static COSMMarkupDependencyProperty* s_pStretchProperty;
    static void RegisterMarkupProperties();

protected:
    // An integer property's value, 0 when unset.
    int GetInt(COSMMarkupDependencyProperty* property) const;
    // (width, height) measured from coordinates: the room offered replaces each bounded side when stretched.
    CSize StretchToAvailable(long long width, long long height, int availableWidth, int availableHeight) const;
};
