#include "framework/markup/Markup.h"

#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupUIElement.h"

namespace {

// Hosts call in from window procedures: an exception must not unwind through the system's frames.
template <class Result, class Body> Result Guarded(Result failed, Body body)
{
    try
    {
        return body();
    }
    catch (...)
    {
        return failed;
    }
}

}  // namespace

COSMMarkupContext* CreateMarkupContext(HWND hostWindow)
{
    return Guarded<COSMMarkupContext*>(nullptr, [&] { return new COSMMarkupContext(hostWindow); });
}

void ReleaseMarkupContext(COSMMarkupContext** context)
{
    if (!context || !*context)
        return;
    COSMMarkupContext* released = *context;
    *context = nullptr;
    Guarded(0L, [&] { return released->Release(); });
}

COSMMarkupUIElement* ParseMarkup(COSMMarkupContext* context, LPCSTR text)
{
    if (!context)
        return nullptr;
    return Guarded<COSMMarkupUIElement*>(nullptr, [&] { return context->Parse(text); });
}

void ReleaseMarkupElement(COSMMarkupUIElement** element)
{
    if (!element || !*element)
        return;
    COSMMarkupUIElement* released = *element;
    *element = nullptr;
    Guarded(0L, [&] { return static_cast<LONG>(released->Release()); });
}

COSMMarkupContext* GetMarkupElementContext(COSMMarkupUIElement* element)
{
    return element ? element->GetMarkupContext() : nullptr;
}

CSize MeasureMarkupElement(COSMMarkupUIElement* element, int availableWidth, int availableHeight)
{
    if (!element)
        return CSize(0, 0);
    return Guarded(CSize(0, 0), [&] {
        COSMMarkupDrawingContext measuring(COSMMarkupDrawingContext::CreateMeasuringContext);
        element->Measure(&measuring, availableWidth, availableHeight);
        return element->GetDesiredSize();
    });
}

void RenderMarkupElement(COSMMarkupUIElement* element, HDC dc, const RECT* rect)
{
    if (!element || !dc || !rect)
        return;
    const CRect bounds(*rect);
    Guarded(0, [&] {
        COSMMarkupDrawingContext drawing(dc);
        element->Arrange(bounds);
        element->Render(&drawing);
        return 0;
    });
}

void SetMarkupContextDefaultFont(COSMMarkupContext* context, HFONT font, COLORREF color)
{
    if (!context)
        return;
    LOGFONTW logFont;
    if (font && ::GetObjectW(font, sizeof(logFont), &logFont) == sizeof(logFont))
        context->defaultLogFont = logFont;
    if (color != static_cast<COLORREF>(-1))
        context->defaultColor = color;
}
