// COSMMarkupPath (tag "Path"): the figures of its Data (path text, MarkupPathGeometryBuilder.h) filled and stroked.
//
//   <Path Data="M 0,0 L 10,0 10,10 Z" Fill="Red" Stroke="Black" Stretch="Fill"/>
//
// It measures to the geometry's bounds from 0 and with Stretch set draws a copy scaled to its render size.
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupShape.h"

class COSMMarkupPathGeometry;

class COSMMarkupPath : public COSMMarkupShape
{
    DECLARE_MARKUP_TYPE(COSMMarkupPath)

public:
    COSMMarkupPath() = default;

    void OnRender(COSMMarkupDrawingContext* dc) override;
    CSize MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;

    // The Data value (borrowed), or null.
    COSMMarkupPathGeometry* GetData() const;

    static COSMMarkupDependencyProperty* s_pDataProperty;
    static void RegisterMarkupProperties();
};
