// What the looks' drawing tests share.
//
// - UniqueColorsTest<Theme>: the look under test with a colour of its own in each of the 63 table entries (none of
//   them black, white, magenta, pure green or a literal colour of the look), refreshed so that the members a refresh
//   resolves from indexes carry unique colours too. A pixel then tells which index painted it, and the checks of
//   DcTestSurface name it ("index 31"). The custom values mask what a refresh writes: a test of the refresh itself
//   reads GetColorEntry(i).GetStandardValue().
// - RecordingTheme<Theme>: the look with its state operations recorded (which a step calls, with what) before they
//   draw, for the steps whose pixels would only restate the operation's own test.
//
//   class PopupRowTest : public UniqueColorsTest<COSMDefaultTheme> {};
//   TEST_F(PopupRowTest, ...) { ... EXPECT_TRUE(canvas.FilledWith(rect, C(13))); }
#pragma once

#include "ImageTestSupport.h"
#include "PaintManagerTestSupport.h"
#include "tests/support/DcTestSurface.h"

#include "classlib/DC.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/ImageManagerIcon.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace themes_test {

using foundation_test::DcTestSurface;

// Colours no entry may take: the ones GDI and the tests use on their own, and those a look paints as literals.
inline std::vector<COLORREF> BaseExcludedColors()
{
    return {RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 0, 255), RGB(0, 255, 0)};
}

// Entry i gets a red channel of its own; green and blue stay clear of the excluded colours' channels.
inline COLORREF UniqueColor(int index)
{
    return RGB(8 + 3 * index, 101 + index, 173 - index);
}

// Gives every table entry its unique colour as the custom value; false when one of them is excluded.
inline bool AssignUniqueColors(COSMPaintManager& pm, const std::vector<COLORREF>& excluded)
{
    for (int i = 0; i < COSMPaintManager::kColorCount; ++i)
    {
        const COLORREF color = UniqueColor(i);
        for (COLORREF literal : excluded)
            if (literal == color)
                return false;
        pm.GetColorEntry(i).SetCustomValue(color);
    }
    return true;
}

// "index 31" for a table colour, empty for any other.
inline std::string IndexOfUniqueColor(COLORREF color)
{
    for (int i = 0; i < COSMPaintManager::kColorCount; ++i)
        if (UniqueColor(i) == color)
            return "index " + std::to_string(i);
    return std::string();
}

template <class Theme> class UniqueColorsTest : public foundation_test::PaintManagerTest
{
protected:
    void SetUp() override
    {
        foundation_test::PaintManagerTest::SetUp();
        theme = std::make_unique<Theme>();
        std::vector<COLORREF> excluded = BaseExcludedColors();
        excluded.insert(excluded.end(), extraExcluded.begin(), extraExcluded.end());
        ASSERT_TRUE(AssignUniqueColors(*theme, excluded));
        theme->RefreshMetrics();
        foundation_test::PixelColorNamer() = &IndexOfUniqueColor;
    }
    void TearDown() override
    {
        foundation_test::PixelColorNamer() = nullptr;
        theme.reset();
        foundation_test::PaintManagerTest::TearDown();
    }

    // The colour of a table index.
    COLORREF C(int index) const { return theme->GetColor(index); }
    CDC* Dc(DcTestSurface& surface) const { return CDC::FromHandle(surface.GetDC()); }

    // Literal colours of the look under test; a derived fixture sets them before SetUp.
    std::vector<COLORREF> extraExcluded;
    std::unique_ptr<Theme> theme;
};

// One call of DrawStateRectangle as a step made it.
struct StateRectangleCall
{
    CRect rect;
    int selected;
    int pressed;
    int enabled;
    int checked;
    int popped;
    int barType;
    int barPosition;
};

inline std::string Describe(const StateRectangleCall& c)
{
    char text[160];
    std::snprintf(text, sizeof(text), "DrawStateRectangle((%ld,%ld,%ld,%ld), %d, %d, %d, %d, %d, %d, %d)", c.rect.left,
                  c.rect.top, c.rect.right, c.rect.bottom, c.selected, c.pressed, c.enabled, c.checked, c.popped,
                  c.barType, c.barPosition);
    return text;
}

inline bool operator==(const StateRectangleCall& a, const StateRectangleCall& b)
{
    return Describe(a) == Describe(b);
}

inline void PrintTo(const StateRectangleCall& c, std::ostream* os)
{
    *os << Describe(c);
}

// The look with its state rectangles and popup gripper recorded as they are asked for (and still drawn).
template <class Theme> class RecordingTheme : public Theme
{
public:
    void DrawStateRectangle(CDC* dc, CRect rect, BOOL selected, BOOL pressed, BOOL enabled, BOOL checked, BOOL popped,
                            int barType, int barPosition) override
    {
        stateRectangles.push_back({rect, selected, pressed, enabled, checked, popped, barType, barPosition});
        Theme::DrawStateRectangle(dc, rect, selected, pressed, enabled, checked, popped, barType, barPosition);
    }
    void FillPopupBarGripper(CDC* dc, int x, int y, int cx, int cy, BOOL expanded) override
    {
        gripperFills.push_back(CRect(x, y, x + cx, y + cy));
        gripperExpanded.push_back(expanded);
        Theme::FillPopupBarGripper(dc, x, y, cx, cy, expanded);
    }

    std::vector<StateRectangleCall> stateRectangles;
    std::vector<CRect> gripperFills;
    std::vector<BOOL> gripperExpanded;
};

// A 16 x 16 icon of one opaque colour.
inline HICON MakeSolidIcon(COLORREF color)
{
    return image_test::MakeSolidIcon(16, 16, color);
}

inline COSMImageManagerIconHandle SolidImage(COLORREF color)
{
    COSMImageManagerIconHandle image;
    image.SetIcon(MakeSolidIcon(color));
    return image;
}

// A control whose selection, press and popup state a test sets.
template <class Base> class Stated : public Base
{
public:
    int selected = 0;
    int pressed = 0;
    BOOL popupOpen = FALSE;
    int GetSelected() const override { return selected; }
    int GetPressed() const override { return pressed; }
    BOOL IsPopupOpen() const override { return popupOpen; }
};

}  // namespace themes_test
