// COSMMarkupPointCollection: the Points value of polygons and polylines, whole-pixel points read from text such as
// "0,0 10,0 5,8" or "0 0 10 0 5 8", with their bounds.
#pragma once

#include "framework/markup/MarkupObject.h"

#include <vector>

// Reads one whole number at *text (blanks before it skipped; an optional "-"; ended by a blank or a comma, which is
// consumed, or by the end of the text) and moves *text past it. FALSE for anything else: no digit, a leading
// comma, a point, a plus sign, or a number beyond 32 bits.
BOOL ParseMarkupPointInt(LPCWSTR* text, int* value);
// Pairs of such numbers up to the end of the text; FALSE (and points unchanged) when any fails.
BOOL ParseMarkupPoints(LPCWSTR text, std::vector<POINT>* points);

class COSMMarkupPointCollection : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(COSMMarkupPointCollection)

public:
    COSMMarkupPointCollection() = default;
    explicit COSMMarkupPointCollection(std::vector<POINT> points);

    // Point text gives a new collection; anything else none.
    COSMMarkupObject* ConvertFrom(COSMMarkupBuilder* builder, COSMMarkupObject* value) override;

    // The points scaled from the bounds to width x height into target; a flat axis keeps its coordinates.
    void Stretch(std::vector<POINT>* target, int width, int height) const;

    const std::vector<POINT>& GetPoints() const { return m_points; }
    int GetCount() const { return static_cast<int>(m_points.size()); }
    // Smallest and largest x and y; empty without points.
    const RECT& GetBounds() const { return m_rcBounds; }

private:
    std::vector<POINT> m_points;
    RECT m_rcBounds = {0, 0, 0, 0};
};
