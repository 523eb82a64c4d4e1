#include "framework/markup/MarkupPath.h"

#include "classlib/RefPtr.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupPathGeometry.h"
#include "framework/markup/MarkupPropertyMetadata.h"
#include "framework/markup/MarkupType.h"

#include <algorithm>

IMPLEMENT_MARKUP_TYPE(COSMMarkupPath, COSMMarkupShape, L"Path", &COSMMarkupPath::RegisterMarkupProperties)

COSMMarkupDependencyProperty* COSMMarkupPath::s_pDataProperty = nullptr;

void COSMMarkupPath::RegisterMarkupProperties()
{
    s_pDataProperty = COSMMarkupDependencyProperty::Register(
        L"Data", COSMMarkupPathGeometry::GetClassType(), GetClassType(),
        new COSMMarkupPropertyMetadata(nullptr, COSMMarkupPropertyMetadata::AffectsMeasure));
}

COSMMarkupPathGeometry* COSMMarkupPath::GetData() const
{
    return MarkupDynamicCast<COSMMarkupPathGeometry>(GetValue(s_pDataProperty));
}

CSize COSMMarkupPath::MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight)
{
    const COSMMarkupPathGeometry* data = GetData();
    if (!data)
        return CSize(0, 0);
    const RECT& bounds = data->GetBounds();
    const long long width = std::max<long long>(static_cast<long long>(bounds.right) - bounds.left, bounds.right);
    const long long height = std::max<long long>(static_cast<long long>(bounds.bottom) - bounds.top, bounds.bottom);
    return StretchToAvailable(width, height, availableWidth, availableHeight);
}

void COSMMarkupPath::OnRender(COSMMarkupDrawingContext* dc)
{
    const COSMMarkupPathGeometry* data = GetData();
    if ((!GetStroke() && !GetFill()) || !data)
        return;
    if (!IsStretched())
    {
        dc->DrawPath(data, GetEffectiveThickness(), GetStroke(), GetFill());
        return;
    }
    const CSize size = GetRenderSize();
    const auto stretched = AdoptRef(data->Stretch(size.cx, size.cy));
    dc->DrawPath(stretched.Get(), GetEffectiveThickness(), GetStroke(), GetFill());
}
