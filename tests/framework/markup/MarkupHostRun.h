// Markup text through the calls a host makes with a document it was given: a context, the parse, a measure in
// unbounded room and one in the area, and the drawing into a memory DC (200 x 200 unless asked otherwise);
// everything let go again. The bad-input harness programs share it.
#pragma once

#include "tests/support/DcTestSurface.h"

#include "framework/markup/Markup.h"

#include <string>

namespace markup_test {

constexpr int kHostAreaSide = 200;

// Whether the text gave a root; the pixels the drawing changed go to *drawn when asked for.
inline bool RunMarkupAsHost(const std::string& text, int* drawn = nullptr, int width = kHostAreaSide,
                            int height = kHostAreaSide)
{
    const COLORREF kPaper = RGB(0x12, 0x34, 0x56);
    foundation_test::DcTestSurface surface(width, height, kPaper);
    COSMMarkupContext* context = CreateMarkupContext(nullptr);
    COSMMarkupUIElement* root = ParseMarkup(context, text.c_str());
    const bool parsed = root != nullptr;
    if (root)
    {
        MeasureMarkupElement(root, 0x7FFFFFFF, 0x7FFFFFFF);
        MeasureMarkupElement(root, width, height);
        const RECT area = {0, 0, width, height};
        RenderMarkupElement(root, surface.GetDC(), &area);
    }
    ReleaseMarkupElement(&root);
    ReleaseMarkupContext(&context);
    if (drawn)
        *drawn = surface.CountNot(kPaper);
    return parsed;
}

}  // namespace markup_test
