// What the control and scroll tests share to see how elements draw their parts: a recorder that takes the place of
// the part-drawing table (MarkupPartDrawing.h) and keeps every visual-style part and frame control asked for.
//
//   PartRecorder recorder(true);             // the visual style counts as on
//   bar->Render(&dc);
//   EXPECT_EQ(expected, recorder.themeParts);
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupPartDrawing.h"

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

// While it lives, every part is recorded instead of drawn (frame controls are recorded and drawn). Made without an
// argument it leaves the table's own answer to whether the visual style is on; given themed, the style counts as
// on (true) or off (false).
class PartRecorder
{
public:
    PartRecorder();
    explicit PartRecorder(bool themed);
    ~PartRecorder();
    PartRecorder(const PartRecorder&) = delete;
    PartRecorder& operator=(const PartRecorder&) = delete;

    // Forgets what was recorded so far.
    void Clear();
    // How many parts and frame controls were asked for.
    size_t CallCount() const { return themeParts.size() + frameControls.size(); }

    std::vector<DrawnPart> themeParts;
    std::vector<DrawnPart> frameControls;

private:
    void Install(BOOL (*isVisualStyleOn)(COSMVisualStyleWrapper&));

    COSMMarkupPartDrawing m_previous;
};

}  // namespace markup_test
