#include "framework/markup/MarkupCanvas.h"

#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupLayoutMath.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupType.h"
#include "framework/markup/MarkupUIElementCollection.h"

IMPLEMENT_MARKUP_TYPE(COSMMarkupCanvas, COSMMarkupPanel, L"Canvas", &COSMMarkupCanvas::RegisterMarkupProperties)

COSMMarkupDependencyProperty* COSMMarkupCanvas::s_pTopProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupCanvas::s_pRightProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupCanvas::s_pLeftProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupCanvas::s_pBottomProperty = nullptr;

namespace {

// The child's position along one axis: the near side's value when set, else the far side's measured back from
// the end, else 0.
int Position(const COSMMarkupUIElement* child, COSMMarkupDependencyProperty* nearSide,
             COSMMarkupDependencyProperty* farSide, int length, int desired)
{
    if (const COSMMarkupInt* value = MarkupDynamicCast<COSMMarkupInt>(child->GetValue(nearSide)))
        return value->GetValue();
    if (const COSMMarkupInt* value = MarkupDynamicCast<COSMMarkupInt>(child->GetValue(farSide)))
        return SubtractMarkupLengths(length, desired, value->GetValue());
    return 0;
}

}  // namespace

void COSMMarkupCanvas::RegisterMarkupProperties()
{
    COSMMarkupType* type = GetClassType();
    COSMMarkupType* intType = COSMMarkupInt::GetClassType();
    s_pTopProperty = COSMMarkupDependencyProperty::RegisterAttached(L"Top", intType, type);
    s_pRightProperty = COSMMarkupDependencyProperty::RegisterAttached(L"Right", intType, type);
    s_pLeftProperty = COSMMarkupDependencyProperty::RegisterAttached(L"Left", intType, type);
    s_pBottomProperty = COSMMarkupDependencyProperty::RegisterAttached(L"Bottom", intType, type);
}

COSMMarkupCanvas::~COSMMarkupCanvas() = default;

CSize COSMMarkupCanvas::MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight)
{
    const COSMMarkupUIElementCollection* children = GetChildren();
    for (int i = 0; i < children->GetCount(); ++i)
    {
        if (COSMMarkupUIElement* child = children->GetElement(i))
            child->Measure(dc, INT_MAX, INT_MAX);
    }
    return CSize(0, 0);
}

CSize COSMMarkupCanvas::ArrangeOverride(int width, int height)
{
    const COSMMarkupUIElementCollection* children = GetChildren();
    for (int i = 0; i < children->GetCount(); ++i)
    {
        COSMMarkupUIElement* child = children->GetElement(i);
        if (!child)
            continue;
        const CSize desired = child->GetDesiredSize();
        const int x = Position(child, s_pLeftProperty, s_pRightProperty, width, desired.cx);
        const int y = Position(child, s_pTopProperty, s_pBottomProperty, height, desired.cy);
        child->Arrange(x, y, AddMarkupLengths(x, desired.cx), AddMarkupLengths(y, desired.cy));
    }
    return CSize(width, height);
}
