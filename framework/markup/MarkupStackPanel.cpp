#include "framework/markup/MarkupStackPanel.h"

#include "framework/markup/MarkupConverters.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupLayoutMath.h"
#include "framework/markup/MarkupPropertyMetadata.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupType.h"
#include "framework/markup/MarkupUIElementCollection.h"

#include <algorithm>
#include <climits>

IMPLEMENT_MARKUP_TYPE(COSMMarkupStackPanel, COSMMarkupPanel, L"StackPanel",
                      &COSMMarkupStackPanel::RegisterMarkupProperties)

COSMMarkupDependencyProperty* COSMMarkupStackPanel::s_pOrientationProperty = nullptr;

void COSMMarkupStackPanel::RegisterMarkupProperties()
{
    s_pOrientationProperty = COSMMarkupDependencyProperty::Register(
        L"Orientation", COSMMarkupEnum::GetClassType(), GetClassType(),
        new COSMMarkupPropertyMetadata(nullptr, ConvertOrientation, COSMMarkupPropertyMetadata::AffectsMeasure));
}

COSMMarkupStackPanel::~COSMMarkupStackPanel() = default;

COSMMarkupStackPanel::Orientation COSMMarkupStackPanel::GetOrientation() const
{
    const COSMMarkupEnum* value = MarkupDynamicCast<COSMMarkupEnum>(GetValue(s_pOrientationProperty));
    return value && value->GetValue() == Horizontal ? Horizontal : Vertical;
}

CSize COSMMarkupStackPanel::MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight)
{
    const bool horizontal = GetOrientation() == Horizontal;
    const COSMMarkupUIElementCollection* children = GetChildren();
    long long length = 0;
    int breadth = 0;
    for (int i = 0; i < children->GetCount(); ++i)
    {
        COSMMarkupUIElement* child = children->GetElement(i);
        if (!child)
            continue;
        child->Measure(dc, horizontal ? INT_MAX : availableWidth, horizontal ? availableHeight : INT_MAX);
        const CSize desired = child->GetDesiredSize();
        length += horizontal ? desired.cx : desired.cy;
        breadth = std::max<int>(breadth, horizontal ? desired.cy : desired.cx);
    }
    const int total = SaturateMarkupLength(length);
    return horizontal ? CSize(total, breadth) : CSize(breadth, total);
}

CSize COSMMarkupStackPanel::ArrangeOverride(int width, int height)
{
    const bool horizontal = GetOrientation() == Horizontal;
    const COSMMarkupUIElementCollection* children = GetChildren();
    int position = 0;
    for (int i = 0; i < children->GetCount(); ++i)
    {
        COSMMarkupUIElement* child = children->GetElement(i);
        if (!child)
            continue;
        const CSize desired = child->GetDesiredSize();
        if (horizontal)
        {
            const int next = AddMarkupLengths(position, desired.cx);
            child->Arrange(position, 0, next, std::max<int>(height, desired.cy));
            position = next;
        }
        else
        {
            const int next = AddMarkupLengths(position, desired.cy);
            child->Arrange(0, position, std::max<int>(width, desired.cx), next);
            position = next;
        }
    }
    return CSize(width, height);
}
