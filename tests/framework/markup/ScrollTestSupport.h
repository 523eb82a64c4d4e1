// What the scroll bar and viewer tests share: a recorder of the parts a bar asks to draw, a viewer around a probe of
// a set size laid out in a given room, and a bar with a given range.
#pragma once

#include "MarkupElementTestTypes.h"

#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupPartDrawing.h"
#include "framework/markup/MarkupScrollBar.h"
#include "framework/markup/MarkupScrollViewer.h"

#include <vector>

namespace markup_test {

// One visual-style part, or one frame control, asked for.
struct DrawnPart
{
    int part;   // the style's part; for a frame control its type (DFC_...)
    int state;  // the style's state; for a frame control its state bits (DFCS_...)
    CRect rect;
    bool operator==(const DrawnPart& other) const
    {
        return part == other.part && state == other.state && rect == other.rect;
    }
};

// While it lives, every part a bar draws is recorded instead of drawn (frame controls are recorded and drawn), and
// the visual style counts as on (themed) or off (classic).
class PartRecorder
{
public:
    explicit PartRecorder(bool themed);
    ~PartRecorder();
    PartRecorder(const PartRecorder&) = delete;
    PartRecorder& operator=(const PartRecorder&) = delete;

    std::vector<DrawnPart> themeParts;
    std::vector<DrawnPart> frameControls;

private:
    COSMMarkupPartDrawing m_previous;
};

// A vertical or horizontal bar with the range given, arranged at rect.
Owned<COSMMarkupScrollBar> MakeBar(COSMMarkupScrollBar::Orientation orientation, int minimum, int maximum, int page,
                                   int position, const CRect& rect);

// A viewer (made by context when given) around a probe of the content size; laid out in room when room is not
// empty. The visibilities are set when not negative.
Owned<COSMMarkupScrollViewer> MakeViewer(CSize contentSize, CSize room, int vertical = -1, int horizontal = -1,
                                         COSMMarkupContext* context = nullptr);
// Measures and arranges the viewer in (0, 0, room).
void LayOut(COSMMarkupScrollViewer* viewer, CSize room);
// The viewer's content probe.
CProbe* ContentOf(COSMMarkupScrollViewer* viewer);

}  // namespace markup_test
