#include "framework/markup/MarkupGradientStop.h"

#include "framework/markup/MarkupColor.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupType.h"

IMPLEMENT_MARKUP_TYPE(COSMMarkupGradientStop, COSMMarkupObject, L"GradientStop",
                      &COSMMarkupGradientStop::RegisterMarkupProperties)
// The empty tag: registered, but never written as an element of its own.
IMPLEMENT_MARKUP_TYPE(COSMMarkupGradientStops, COSMMarkupCollection, L"", nullptr)

COSMMarkupDependencyProperty* COSMMarkupGradientStop::s_pColorProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupGradientStop::s_pOffsetProperty = nullptr;

void COSMMarkupGradientStop::RegisterMarkupProperties()
{
    s_pColorProperty =
        COSMMarkupDependencyProperty::Register(L"Color", COSMMarkupColor::GetClassType(), GetClassType());
    s_pOffsetProperty =
        COSMMarkupDependencyProperty::Register(L"Offset", COSMMarkupDouble::GetClassType(), GetClassType());
}

UINT COSMMarkupGradientStop::GetColor() const
{
    const COSMMarkupColor* color = MarkupDynamicCast<COSMMarkupColor>(GetValue(s_pColorProperty));
    return color ? color->GetValue() : 0;
}

double COSMMarkupGradientStop::GetOffset() const
{
    const COSMMarkupDouble* offset = MarkupDynamicCast<COSMMarkupDouble>(GetValue(s_pOffsetProperty));
    return offset ? offset->GetValue() : 0.0;
}

COSMMarkupGradientStops::COSMMarkupGradientStops()
{
    SetElementType(COSMMarkupGradientStop::GetClassType());
}

void COSMMarkupGradientStops::OnItemAdded(COSMMarkupObject* item, int index) {}
