// COSMMarkupPoint: two coordinates, the value of a gradient's start and end points. Markup writes "x,y" (blanks
// allowed around the comma).
#pragma once

#include "framework/markup/MarkupObject.h"

class COSMMarkupPoint : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(COSMMarkupPoint)

public:
    COSMMarkupPoint() : COSMMarkupPoint(0.0, 0.0) {}
    COSMMarkupPoint(double x, double y) : m_dX(x), m_dY(y) {}
    // A new point with other's coordinates.
    COSMMarkupPoint(const COSMMarkupPoint& other) : COSMMarkupObject(), m_dX(other.m_dX), m_dY(other.m_dY) {}

    // "x,y": a number ending at the comma, then one that ends the text; null when either does not read.
    COSMMarkupObject* ConvertFrom(COSMMarkupBuilder* builder, COSMMarkupObject* value) override;

    double GetX() const { return m_dX; }
    double GetY() const { return m_dY; }

private:
    double m_dX;
    double m_dY;
};
