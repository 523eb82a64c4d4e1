#include "framework/markup/MarkupBrush.h"

#include "framework/markup/MarkupColor.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupGradientStop.h"
#include "framework/markup/MarkupPoint.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupType.h"

IMPLEMENT_MARKUP_TYPE(COSMMarkupBrush, COSMMarkupObject, nullptr, nullptr)
IMPLEMENT_MARKUP_TYPE(COSMMarkupSolidColorBrush, COSMMarkupBrush, L"SolidColorBrush",
                      &COSMMarkupSolidColorBrush::RegisterMarkupProperties)
IMPLEMENT_MARKUP_TYPE(COSMMarkupLinearGradientBrush, COSMMarkupBrush, L"LinearGradientBrush",
                      &COSMMarkupLinearGradientBrush::RegisterMarkupProperties)

COSMMarkupDependencyProperty* COSMMarkupSolidColorBrush::s_pColorProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupLinearGradientBrush::s_pStartPointProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupLinearGradientBrush::s_pEndPointProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupLinearGradientBrush::s_pGradientStopsProperty = nullptr;

COSMMarkupObject* COSMMarkupBrush::ConvertFrom(COSMMarkupBuilder* builder, COSMMarkupObject* value)
{
    UINT color = 0;
    if (!COSMMarkupColor::ConvertFromString(GetMarkupText(value), &color))
        return nullptr;
    return new COSMMarkupSolidColorBrush(static_cast<BYTE>(color >> 24), color & 0xFFFFFF);
}

COLORREF COSMMarkupBrush::GetRepresentativeColor() const
{
    return 0;
}

void COSMMarkupSolidColorBrush::RegisterMarkupProperties()
{
    s_pColorProperty =
        COSMMarkupDependencyProperty::Register(L"Color", COSMMarkupColor::GetClassType(), GetClassType());
}

COSMMarkupSolidColorBrush::COSMMarkupSolidColorBrush(COLORREF rgb)
{
    SetValue(s_pColorProperty, new COSMMarkupColor(rgb));
}

COSMMarkupSolidColorBrush::COSMMarkupSolidColorBrush(BYTE alpha, COLORREF rgb)
{
    SetValue(s_pColorProperty, new COSMMarkupColor(alpha, rgb));
}

BOOL COSMMarkupSolidColorBrush::IsEqual(const COSMMarkupObject* other) const
{
    const COSMMarkupSolidColorBrush* brush = MarkupDynamicCast<COSMMarkupSolidColorBrush>(other);
    return brush && brush->GetRepresentativeColor() == GetRepresentativeColor();
}

COLORREF COSMMarkupSolidColorBrush::GetRepresentativeColor() const
{
    const COSMMarkupColor* color = GetColor();
    return color ? color->GetValue() & 0xFFFFFF : 0;
}

COSMMarkupColor* COSMMarkupSolidColorBrush::GetColor() const
{
    return MarkupDynamicCast<COSMMarkupColor>(GetValue(s_pColorProperty));
}

void COSMMarkupLinearGradientBrush::RegisterMarkupProperties()
{
    s_pStartPointProperty =
        COSMMarkupDependencyProperty::Register(L"StartPoint", COSMMarkupPoint::GetClassType(), GetClassType());
    s_pEndPointProperty =
        COSMMarkupDependencyProperty::Register(L"EndPoint", COSMMarkupPoint::GetClassType(), GetClassType());
    s_pGradientStopsProperty = COSMMarkupDependencyProperty::Register(
        L"GradientStops", COSMMarkupGradientStops::GetClassType(), GetClassType());
}

COSMMarkupLinearGradientBrush::COSMMarkupLinearGradientBrush()
{
    SetValue(s_pGradientStopsProperty, new COSMMarkupGradientStops);
}

void COSMMarkupLinearGradientBrush::SetContentObject(COSMMarkupBuilder* builder, COSMMarkupObject* content)
{
    if (COSMMarkupGradientStops* stops = GetGradientStops())
        stops->SetContentObject(builder, content);
    else
        COSMMarkupBrush::SetContentObject(builder, content);
}

COLORREF COSMMarkupLinearGradientBrush::GetRepresentativeColor() const
{
    const COSMMarkupGradientStops* stops = GetGradientStops();
    const COSMMarkupGradientStop* first =
        stops ? MarkupDynamicCast<COSMMarkupGradientStop>(stops->GetItem(0)) : nullptr;
    return first ? first->GetColor() & 0xFFFFFF : 0;
}

COSMMarkupGradientStops* COSMMarkupLinearGradientBrush::GetGradientStops() const
{
    return MarkupDynamicCast<COSMMarkupGradientStops>(GetValue(s_pGradientStopsProperty));
}
