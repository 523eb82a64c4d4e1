// COSMMarkupThickness: four 32-bit sides (left, top, right, bottom) in device-independent pixels, the value of
// margins, paddings and border widths. Markup writes one number for all sides ("4") or four with commas
// ("1, 2, 3, 4", each read the C way: "0x10" is 16, "010" is 8).
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupObject.h"

class COSMMarkupThickness : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(COSMMarkupThickness)

public:
    COSMMarkupThickness() : COSMMarkupThickness(0) {}
    explicit COSMMarkupThickness(int uniform) : COSMMarkupThickness(uniform, uniform, uniform, uniform) {}
    COSMMarkupThickness(int left, int top, int right, int bottom);

    BOOL IsEqual(const COSMMarkupObject* other) const override;
    COSMMarkupObject* ConvertFrom(COSMMarkupBuilder* builder, COSMMarkupObject* value) override;

    int GetLeft() const { return m_nLeft; }
    int GetTop() const { return m_nTop; }
    int GetRight() const { return m_nRight; }
    int GetBottom() const { return m_nBottom; }

    // The shared zero thickness, with a reference for the caller: the default of thickness properties.
    static COSMMarkupObject* GetDefaultValue();

private:
    int m_nLeft, m_nTop, m_nRight, m_nBottom;
};

// rect moved in by the left and top sides, its width less left and right and its height less top and bottom, each
// at least 0. A null thickness leaves rect as it is.
CRect DeflateRect(CRect rect, const COSMMarkupThickness* thickness);
// left + right and top + bottom, saturating at the 32-bit limits; (0, 0) for a null thickness.
CSize GetThicknessSums(const COSMMarkupThickness* thickness);
