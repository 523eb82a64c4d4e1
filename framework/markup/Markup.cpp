#include "framework/markup/Markup.h"

#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupUIElement.h"

COSMMarkupContext* CreateMarkupContext(HWND hostWindow)
{
    return new COSMMarkupContext(hostWindow);
}

void ReleaseMarkupContext(COSMMarkupContext** context)
{
    if (!context || !*context)
        return;
    (*context)->Release();
    *context = nullptr;
}

COSMMarkupUIElement* ParseMarkup(COSMMarkupContext* context, LPCSTR text)
{
    return context ? context->Parse(text) : nullptr;
}

void ReleaseMarkupElement(COSMMarkupUIElement** element)
{
    if (!element || !*element)
        return;
    (*element)->Release();
    *element = nullptr;
}

COSMMarkupContext* GetMarkupElementContext(COSMMarkupUIElement* element)
{
    return element ? element->GetMarkupContext() : nullptr;
}

CSize MeasureMarkupElement(COSMMarkupUIElement* element, int availableWidth, int availableHeight)
{
    if (!element)
        return CSize(0, 0);
    COSMMarkupDrawingContext measuring(COSMMarkupDrawingContext::CreateMeasuringContext);
    element->Measure(&measuring, availableWidth, availableHeight);
    return element->GetDesiredSize();
}

void RenderMarkupElement(COSMMarkupUIElement* element, HDC dc, const RECT* rect)
{
    if (!element || !dc || !rect)
        return;
    const CRect bounds(*rect);
    COSMMarkupDrawingContext drawing(dc);
    element->Arrange(bounds);
    element->Render(&drawing);
}
