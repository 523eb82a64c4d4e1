// COSMMarkupGridLength: the size of a grid row or column: automatic (as large as its content), a fixed number of
// pixels, or a share of the room left over ("star").
//
//   Width="Auto"  Width="100"  Width="*"  Width="2.5*"
//
// Text forms read their number with ParseMarkupNumberList; anything else in the text, and a negative number,
// converts to nothing. A negative value made in code counts as 0 wherever the grid reads it.
#pragma once

#include "framework/markup/MarkupObject.h"

class COSMMarkupGridLength : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(COSMMarkupGridLength)

public:
    enum Unit
    {
        Auto = 0,
        Pixel = 1,
        Star = 2,
    };

    explicit COSMMarkupGridLength(double value = 0.0, Unit unit = Pixel) : m_dValue(value), m_nUnit(unit) {}

    // ---- Overrides -------------------------------------------------------------------------------------------
    // The same value (exactly) and unit.
    BOOL IsEqual(const COSMMarkupObject* other) const override;
    // "Auto" in any case is (1, Auto); "*" is (1, Star); "<number>*" (number, Star); "<number>" (number, Pixel).
    COSMMarkupObject* ConvertFrom(COSMMarkupBuilder* builder, COSMMarkupObject* value) override;

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    double GetValue() const { return m_dValue; }
    Unit GetUnit() const { return m_nUnit; }
    // The value as the layout uses it: negative values (and anything not a number) count as 0.
    double GetLayoutValue() const { return m_dValue >= 0.0 ? m_dValue : 0.0; }

private:
    double m_dValue;
    Unit m_nUnit;
};
