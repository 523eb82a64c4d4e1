#include "framework/markup/MarkupPage.h"

#include "framework/markup/MarkupType.h"

IMPLEMENT_MARKUP_TYPE(COSMMarkupPage, COSMMarkupFrameworkElement, L"Page", nullptr)

COSMMarkupPage::~COSMMarkupPage() = default;

COSMMarkupInputElement* COSMMarkupPage::InputHitTestCore(int x, int y)
{
    return nullptr;
}

CSize COSMMarkupPage::MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight)
{
    COSMMarkupUIElement* child = GetChild();
    if (!child)
        return CSize(0, 0);
    child->Measure(dc, availableWidth, availableHeight);
    return child->GetDesiredSize();
}

CSize COSMMarkupPage::ArrangeOverride(int width, int height)
{
    if (COSMMarkupUIElement* child = GetChild())
        child->Arrange(0, 0, width, height);
    return CSize(width, height);
}
