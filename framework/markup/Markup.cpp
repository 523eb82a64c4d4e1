#include "framework/markup/Markup.h"

#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupUIElement.h"

#include "classlib/GuardedCallbacks.h"

// Hosts call in from window procedures: an exception must not unwind through the system's frames. Each entry runs
// its work through the class library's guard, which reports the exception (and frees a library one) before the entry
// returns its failure value.
using osm::GuardCallback;

COSMMarkupContext* CreateMarkupContext(HWND hostWindow)
{
    return GuardCallback<COSMMarkupContext*>("CreateMarkupContext", nullptr,
                                             [&] { return new COSMMarkupContext(hostWindow); });
}

void ReleaseMarkupContext(COSMMarkupContext** context)
{
    if (!context || !*context)
        return;
    COSMMarkupContext* released = *context;
    *context = nullptr;
    GuardCallback("ReleaseMarkupContext", 0L, [&] { return released->Release(); });
}

COSMMarkupUIElement* ParseMarkup(COSMMarkupContext* context, LPCSTR text)
{
    if (!context)
        return nullptr;
    return GuardCallback<COSMMarkupUIElement*>("ParseMarkup", nullptr, [&] { return context->Parse(text); });
}

void ReleaseMarkupElement(COSMMarkupUIElement** element)
{
    if (!element || !*element)
        return;
    COSMMarkupUIElement* released = *element;
    *element = nullptr;
    GuardCallback("ReleaseMarkupElement", 0L, [&] { return static_cast<LONG>(released->Release()); });
}

COSMMarkupContext* GetMarkupElementContext(COSMMarkupUIElement* element)
{
    return element ? element->GetMarkupContext() : nullptr;
}

CSize MeasureMarkupElement(COSMMarkupUIElement* element, int availableWidth, int availableHeight)
{
    if (!element)
        return CSize(0, 0);
    return GuardCallback("MeasureMarkupElement", CSize(0, 0), [&] {
        COSMMarkupDrawingContext measuring(COSMMarkupDrawingContext::CreateMeasuringContext,
                                           element->GetMarkupContext());
        element->Measure(&measuring, availableWidth, availableHeight);
        return element->GetDesiredSize();
    });
}

void RenderMarkupElement(COSMMarkupUIElement* element, HDC dc, const RECT* rect)
{
    if (!element || !dc || !rect)
        return;
    const CRect bounds(*rect);
    GuardCallback("RenderMarkupElement", 0, [&] {
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
