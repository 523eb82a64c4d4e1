#include "framework/markup/MarkupControl.h"

#include "framework/markup/MarkupBorder.h"
#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupLayoutMath.h"
#include "framework/markup/MarkupPanel.h"
#include "framework/markup/MarkupTextElement.h"
#include "framework/markup/MarkupThickness.h"
#include "framework/markup/MarkupType.h"

IMPLEMENT_MARKUP_TYPE(COSMMarkupControl, COSMMarkupFrameworkElement, L"Control",
                      &COSMMarkupControl::RegisterMarkupProperties)

COSMMarkupDependencyProperty* COSMMarkupControl::s_pBackgroundProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupControl::s_pForegroundProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupControl::s_pPaddingProperty = nullptr;

void COSMMarkupControl::RegisterMarkupProperties()
{
    // The very property objects of their classes, so a value set on a control is the one their readers look for.
    COSMMarkupPanel::GetClassType()->EnsureInitialized();
    COSMMarkupTextElement::GetClassType()->EnsureInitialized();
    COSMMarkupBorder::GetClassType()->EnsureInitialized();
    COSMMarkupType* type = GetClassType();
    s_pBackgroundProperty = COSMMarkupPanel::s_pBackgroundProperty->AddOwner(type);
    s_pForegroundProperty = COSMMarkupTextElement::s_pForegroundProperty->AddOwner(type);
    s_pPaddingProperty = COSMMarkupBorder::s_pPaddingProperty->AddOwner(type);
}

COSMMarkupControl::~COSMMarkupControl() = default;

COSMMarkupBrush* COSMMarkupControl::GetBackground() const
{
    return MarkupDynamicCast<COSMMarkupBrush>(GetValue(s_pBackgroundProperty));
}

const COSMMarkupThickness* COSMMarkupControl::GetPadding() const
{
    return MarkupDynamicCast<COSMMarkupThickness>(GetValue(s_pPaddingProperty));
}

CSize COSMMarkupControl::GetPaddingSums() const
{
    return GetThicknessSums(GetPadding());
}

CSize COSMMarkupControl::MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight)
{
    if (GetVisualChildrenCount() == 0)
        return CSize(0, 0);
    COSMMarkupUIElement* child = MarkupDynamicCast<COSMMarkupUIElement>(GetVisualChild(0));
    if (!child)
        return CSize(0, 0);
    child->Measure(dc, availableWidth, availableHeight);
    return child->GetDesiredSize();
}

CSize COSMMarkupControl::ArrangeOverride(int width, int height)
{
    if (GetVisualChildrenCount() > 0)
    {
        if (COSMMarkupUIElement* child = MarkupDynamicCast<COSMMarkupUIElement>(GetVisualChild(0)))
            child->Arrange(0, 0, width, height);
    }
    return CSize(width, height);
}
