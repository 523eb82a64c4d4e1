#include "framework/markup/MarkupBorder.h"

#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupLayoutMath.h"
#include "framework/markup/MarkupPropertyMetadata.h"
#include "framework/markup/MarkupThickness.h"
#include "framework/markup/MarkupType.h"

#include <algorithm>

IMPLEMENT_MARKUP_TYPE(COSMMarkupBorder, COSMMarkupFrameworkElement, L"Border",
                      &COSMMarkupBorder::RegisterMarkupProperties)

COSMMarkupDependencyProperty* COSMMarkupBorder::s_pBackgroundProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupBorder::s_pPaddingProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupBorder::s_pBorderThicknessProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupBorder::s_pBorderBrushProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupBorder::s_pCornerRadiusProperty = nullptr;

namespace {

using Metadata = COSMMarkupPropertyMetadata;

COSMMarkupDependencyProperty* RegisterThickness(LPCWSTR name, COSMMarkupType* owner, DWORD flags)
{
    return COSMMarkupDependencyProperty::Register(name, COSMMarkupThickness::GetClassType(), owner,
                                                  new Metadata(COSMMarkupThickness::GetDefaultValue(), flags));
}

COSMMarkupDependencyProperty* RegisterBrush(LPCWSTR name, COSMMarkupType* owner)
{
    return COSMMarkupDependencyProperty::Register(name, COSMMarkupBrush::GetClassType(), owner,
                                                  new Metadata(nullptr, Metadata::AffectsRender));
}

const COSMMarkupThickness* GetThickness(const COSMMarkupObject* element, COSMMarkupDependencyProperty* property)
{
    return MarkupDynamicCast<COSMMarkupThickness>(element->GetValue(property));
}

BOOL IsZero(const COSMMarkupThickness* thickness)
{
    return !thickness || (thickness->GetLeft() == 0 && thickness->GetTop() == 0 && thickness->GetRight() == 0 &&
                          thickness->GetBottom() == 0);
}

}  // namespace

void COSMMarkupBorder::RegisterMarkupProperties()
{
    COSMMarkupType* type = GetClassType();
    s_pBackgroundProperty = RegisterBrush(L"Background", type);
    s_pPaddingProperty = RegisterThickness(L"Padding", type, Metadata::AffectsMeasure);
    s_pBorderThicknessProperty = RegisterThickness(L"BorderThickness", type, Metadata::AffectsMeasure);
    s_pBorderBrushProperty = RegisterBrush(L"BorderBrush", type);
    s_pCornerRadiusProperty = RegisterThickness(L"CornerRadius", type, Metadata::AffectsRender);
}

COSMMarkupBorder::~COSMMarkupBorder() = default;

COSMMarkupBrush* COSMMarkupBorder::GetBackground() const
{
    return MarkupDynamicCast<COSMMarkupBrush>(GetValue(s_pBackgroundProperty));
}

COSMMarkupBrush* COSMMarkupBorder::GetBorderBrush() const
{
    return MarkupDynamicCast<COSMMarkupBrush>(GetValue(s_pBorderBrushProperty));
}

CSize COSMMarkupBorder::MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight)
{
    const CSize border = GetThicknessSums(GetThickness(this, s_pBorderThicknessProperty));
    const CSize padding = GetThicknessSums(GetThickness(this, s_pPaddingProperty));
    COSMMarkupUIElement* child = GetChild();
    if (!child)
        return CSize(AddMarkupLengths(border.cx, padding.cx), AddMarkupLengths(border.cy, padding.cy));
    child->Measure(dc, std::max(0, SubtractMarkupLengths(availableWidth, border.cx, padding.cx)),
                   std::max(0, SubtractMarkupLengths(availableHeight, border.cy, padding.cy)));
    const CSize desired = child->GetDesiredSize();
    return CSize(AddMarkupLengths(desired.cx, border.cx, padding.cx),
                 AddMarkupLengths(desired.cy, border.cy, padding.cy));
}

CSize COSMMarkupBorder::ArrangeOverride(int width, int height)
{
    if (COSMMarkupUIElement* child = GetChild())
    {
        const CRect inner =
            DeflateRect(DeflateRect(CRect(0, 0, width, height), GetThickness(this, s_pBorderThicknessProperty)),
                        GetThickness(this, s_pPaddingProperty));
        child->Arrange(inner);
    }
    return CSize(width, height);
}

void COSMMarkupBorder::OnRender(COSMMarkupDrawingContext* dc)
{
    const CSize size = GetRenderSize();
    COSMMarkupBrush* borderBrush = GetBorderBrush();
    COSMMarkupBrush* background = GetBackground();
    if (size.cx < 1 || size.cy < 1 || (!borderBrush && !background))
        return;

    // Each corner's vertical and horizontal radius, clockwise from the top of the left edge.
    const COSMMarkupThickness* corners = GetThickness(this, s_pCornerRadiusProperty);
    double radii[8] = {};
    const BOOL rounded = !IsZero(corners);
    if (rounded)
    {
        const int members[4] = {corners->GetLeft(), corners->GetTop(), corners->GetRight(), corners->GetBottom()};
        for (int i = 0; i < 8; ++i)
            radii[i] = members[i / 2];
    }

    const COSMMarkupThickness* thickness = GetThickness(this, s_pBorderThicknessProperty);
    if (!IsZero(thickness) && borderBrush)
        dc->DrawFrame(CRect(0, 0, size.cx, size.cy), borderBrush, thickness, rounded ? radii : nullptr);

    if (!background)
        return;
    const int left = thickness ? thickness->GetLeft() : 0;
    const CRect inner(left, thickness ? thickness->GetTop() : 0,
                      SubtractMarkupLengths(size.cx, thickness ? thickness->GetRight() : 0),
                      SubtractMarkupLengths(size.cy, thickness ? thickness->GetBottom() : 0));
    if (SubtractMarkupLengths(inner.right, inner.left) <= 0 || SubtractMarkupLengths(inner.bottom, inner.top) <= 0)
        return;
    if (rounded)
    {
        // The background's corners follow the middle of the frame's line.
        for (double& radius : radii)
            radius = std::max(0.0, radius - left / 2.0);
    }
    dc->FillRectangle(inner, background, rounded ? radii : nullptr);
}

COSMMarkupInputElement* COSMMarkupBorder::InputHitTestCore(int x, int y)
{
    return GetBackground() ? this : nullptr;
}
