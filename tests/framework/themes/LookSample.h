// The sample every look's test writes: under Xvfb the look is installed (SetTheme) and the command bars' end-to-end
// frame is built as an application has it (menu bar, the Standard and Format toolbars), with a toolbar docked left,
// a floating one, one narrower than its controls (its expand button shows), a hot, a checked and a disabled button,
// and one menu open with every kind of row: an item with icon and shortcut, checked, radio and disabled items, a
// separator, a sub-menu, a split popup item, a label, an item hidden until the menu is expanded and a hot row.
// Frame and menu go to the artefacts folder as one 24-bit BMP named after the look ("look-default.bmp"), for people
// to look at; the test checks only that the picture is not of one colour and that the docked toolbar shows the
// look's face colour.
//
//   const LookSample sample = WriteLookSample(0, "default");
//   EXPECT_GT(sample.colorCount, 1u);
//   EXPECT_EQ(sample.expectedFace, sample.dockedToolBarFace);
#pragma once

#include <windows.h>

#include <string>

namespace themes_test {

struct LookSample
{
    // Empty when every step worked, else the step that failed.
    std::string failure;
    std::string path;
    // Colours in the written picture.
    size_t colorCount = 0;
    // A point of the left-docked toolbar's face, drawn into a canvas of its client size, and the look's face colour.
    COLORREF dockedToolBarFace = 0;
    COLORREF expectedFace = 0;
};

LookSample WriteLookSample(int themeId, const std::string& lookName);

}  // namespace themes_test
