// Stand-in: the markup subsystem replaces this file with its own entry functions and classes under the same
// names.
#pragma once

#include "classlib/ClassLib.h"
#include "framework/markup/MarkupContext.h"

// An element that measures to the size set on it and remembers where it was rendered.
class COSMMarkupUIElement
{
public:
    CSize desiredSize;
    CRect renderedRect;
    int renderCount = 0;
};

inline CSize MeasureMarkupElement(COSMMarkupUIElement* element, int maxWidth, int maxHeight)
{
    return element->desiredSize;
}

inline void RenderMarkupElement(COSMMarkupUIElement* element, HDC dc, const RECT& rect)
{
    element->renderedRect = rect;
    ++element->renderCount;
}

// -1 as colour keeps the old one.
inline void SetMarkupContextDefaultFont(COSMMarkupContext* context, HFONT font, COLORREF color)
{
    context->defaultFont = font;
    if (color != static_cast<COLORREF>(-1))
        context->defaultColor = color;
}
