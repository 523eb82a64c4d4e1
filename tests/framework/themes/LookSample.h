// The sample every look's test writes: under Xvfb the look is installed (SetTheme) and the command bars' end-to-end
// frame is built as an application has it (menu bar, the Standard and Format toolbars), with a toolbar docked left,
// a floating one, one narrower than its controls (its expand button shows), a hot, a checked and a disabled button,
// and one menu open with every kind of row: an item with icon and shortcut, checked, radio and disabled items, a
// separator, a sub-menu, a split popup item, a label, an item hidden until the menu is expanded and a hot row.
// Frame and menu go to the artefacts folder as one 24-bit BMP named after the look ("look-default.bmp"), for people
// to look at; the test checks only that the picture is not of one colour and that the docked toolbar shows the
// look's face colour. Then the menu bar's first menu is opened by a click, and where it lies and how its top row
// paints are kept for the look's test.
//
//   const LookSample sample = WriteLookSample(0, "default");
//   EXPECT_GT(sample.colorCount, 1u);
//   EXPECT_EQ(sample.expectedFace, sample.dockedToolBarFace);
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace themes_test {

struct LookSample
{
    // Empty when every step worked, else the step that failed.
    std::string failure;
    std::string path;
    // Colours in the written picture.
    size_t colorCount = 0;
    // A point of the left-docked toolbar's face, drawn into a canvas of its client size, and the look's face colour
    // (the colour of the table index the look fills docked toolbars with).
    COLORREF dockedToolBarFace = 0;
    COLORREF expectedFace = 0;
    // The menu bar's first menu opened by a click: its button and its window on the screen, and the top row of its
    // client as it paints (the row that touches the button).
    RECT openedMenuButton{};
    RECT openedMenu{};
    std::vector<COLORREF> openedMenuTopRow;
    // With a workspace: the frame's pane painted by the look's FillWorkspace (an MDI client's background), as
    // printed into a canvas of its client size; empty otherwise.
    RECT workspace{};
    std::vector<COLORREF> workspaceLeftColumn;
};

// A visualStyleSelection of 0 or more is set on the installed look (and the look refreshed) before the frame is built.
// withWorkspace puts a pane in the frame's client area that the look paints as an MDI workspace.
LookSample WriteLookSample(int themeId, const std::string& lookName, int faceIndex = COLOR_BTNFACE,
                           int visualStyleSelection = -1, bool withWorkspace = false);

}  // namespace themes_test
