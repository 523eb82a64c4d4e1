// COSMMarkupGradientTable: a linear gradient brush's stops sorted for drawing (by offset, equal offsets in markup
// order), with the end points the renderers read, and the colour the gradient has at a parameter t (0 at the start
// point, 1 at the end point). The GDI renderer paints it pixel by pixel; the GDI+ one hands it to a line brush.
#pragma once

#include "classlib/ClassLibBase.h"

#include <vector>

class COSMMarkupLinearGradientBrush;

class COSMMarkupGradientTable
{
public:
    struct Entry
    {
        UINT color;  // the markup colour: red in the low byte, alpha in the high one
        double offset;
        double delta;  // offset minus the previous entry's offset
        int position;  // where the stop stands in the collection
    };

    explicit COSMMarkupGradientTable(const COSMMarkupLinearGradientBrush* brush);

    bool IsEmpty() const { return m_entries.empty(); }
    const std::vector<Entry>& GetEntries() const { return m_entries; }
    // StartPoint (0, 0) and EndPoint (1, 1) when unset.
    double GetStartX() const { return m_startX; }
    double GetStartY() const { return m_startY; }
    double GetEndX() const { return m_endX; }
    double GetEndY() const { return m_endY; }

    // The colour at t, each of the four channels interpolated between the pair of stops around t and truncated;
    // the first stop's colour up to its offset, the last one's from its offset on.
    UINT ColorAt(double t) const;

private:
    std::vector<Entry> m_entries;
    double m_startX = 0.0;
    double m_startY = 0.0;
    double m_endX = 1.0;
    double m_endY = 1.0;
};
