// What the scroll bar and viewer tests share: a viewer around a probe of a set size laid out in a given room, and a
// bar with a given range (the parts a bar asks to draw are recorded by PartDrawingTestSupport.h's recorder).
#pragma once

#include "MarkupElementTestTypes.h"
#include "PartDrawingTestSupport.h"

#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupScrollBar.h"
#include "framework/markup/MarkupScrollViewer.h"

namespace markup_test {

// A vertical or horizontal bar with the range given, arranged at rect.
RefPtr<COSMMarkupScrollBar> MakeBar(COSMMarkupScrollBar::Orientation orientation, int minimum, int maximum, int page,
                                    int position, const CRect& rect);

// A viewer (made by context when given) around a probe of the content size; laid out in room when room is not
// empty. The visibilities are set when not negative.
RefPtr<COSMMarkupScrollViewer> MakeViewer(CSize contentSize, CSize room, int vertical = -1, int horizontal = -1,
                                          COSMMarkupContext* context = nullptr);
// Measures and arranges the viewer in (0, 0, room).
void LayOut(COSMMarkupScrollViewer* viewer, CSize room);
// The viewer's content probe.
CProbe* ContentOf(COSMMarkupScrollViewer* viewer);

}  // namespace markup_test
