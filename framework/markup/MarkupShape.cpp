#include "framework/markup/MarkupShape.h"

#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupConverters.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupLayoutMath.h"
#include "framework/markup/MarkupPropertyMetadata.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupType.h"

#include <algorithm>
#include <climits>

IMPLEMENT_MARKUP_TYPE(COSMMarkupShape, COSMMarkupFrameworkElement, L"Shape", &COSMMarkupShape::RegisterMarkupProperties)

COSMMarkupDependencyProperty* COSMMarkupShape::s_pFillProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupShape::s_pStrokeProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupShape::s_pStrokeThicknessProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupShape::s_pStretchProperty = nullptr;

void COSMMarkupShape::RegisterMarkupProperties()
{
    using Metadata = COSMMarkupPropertyMetadata;
    COSMMarkupType* type = GetClassType();
    s_pFillProperty = COSMMarkupDependencyProperty::Register(L"Fill", COSMMarkupBrush::GetClassType(), type,
                                                             new Metadata(nullptr, Metadata::AffectsRender));
    s_pStrokeProperty = COSMMarkupDependencyProperty::Register(L"Stroke", COSMMarkupBrush::GetClassType(), type,
                                                               new Metadata(nullptr, Metadata::AffectsRender));
    s_pStrokeThicknessProperty = COSMMarkupDependencyProperty::Register(
        L"StrokeThickness", COSMMarkupInt::GetClassType(), type, new Metadata(nullptr, Metadata::AffectsRender));
    s_pStretchProperty = COSMMarkupDependencyProperty::Register(
        L"Stretch", COSMMarkupEnum::GetClassType(), type,
        new Metadata(COSMMarkupEnum::CreateValue(0), ConvertStretch, Metadata::AffectsRender));
}

COSMMarkupShape::~COSMMarkupShape() = default;

COSMMarkupBrush* COSMMarkupShape::GetFill() const
{
    return MarkupDynamicCast<COSMMarkupBrush>(GetValue(s_pFillProperty));
}

COSMMarkupBrush* COSMMarkupShape::GetStroke() const
{
    return MarkupDynamicCast<COSMMarkupBrush>(GetValue(s_pStrokeProperty));
}

int COSMMarkupShape::GetInt(COSMMarkupDependencyProperty* property) const
{
    const COSMMarkupInt* value = MarkupDynamicCast<COSMMarkupInt>(GetValue(property));
    return value ? value->GetValue() : 0;
}

int COSMMarkupShape::GetEffectiveThickness() const
{
    if (!GetStroke())
        return 0;
    const COSMMarkupInt* value = MarkupDynamicCast<COSMMarkupInt>(GetValue(s_pStrokeThicknessProperty));
    // A negative thickness strokes as none does: handed on, the system drew a pen as wide as its magnitude.
    return value ? std::max(0, value->GetValue()) : 1;
}

BOOL COSMMarkupShape::IsStretched() const
{
    const COSMMarkupEnum* value = MarkupDynamicCast<COSMMarkupEnum>(GetValue(s_pStretchProperty));
    return value && value->GetValue() != 0;
}

int COSMMarkupShape::GetFlatExtra() const
{
    return static_cast<int>((static_cast<long long>(GetEffectiveThickness()) + 1) / 2);
}

CSize COSMMarkupShape::StretchToAvailable(long long width, long long height, int availableWidth,
                                          int availableHeight) const
{
    CSize size(SaturateMarkupLength(width), SaturateMarkupLength(height));
    if (IsStretched())
    {
        if (availableWidth < INT_MAX)
            size.cx = availableWidth;
        if (availableHeight < INT_MAX)
            size.cy = availableHeight;
    }
    return size;
}
