// The hover button: its images, where it draws them, and its looks under the real mouse.
#include "ControlsTestResources.h"
#include "ControlsTestSupport.h"
#include "resource.h"
#include "wizard/controls/HoverButton.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace osm::test;

namespace {

const COLORREF kIconColor = RGB(30, 120, 220);
const COLORREF kIconGray = RGB(104, 104, 104);
const COLORREF kAltIconColor = RGB(0, 200, 0);
const COLORREF kBitmapColor = RGB(200, 40, 40);
const COLORREF kBitmapGray = RGB(88, 88, 88);
const CRect kButtonRect(20, 60, 100, 100);  // 80 by 40 pixels

class HoverButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        MoveMouseAway();
        ASSERT_TRUE(m_host.Open());
        ASSERT_TRUE(m_button.SubclassWindow(m_host.AddButton("", BS_PUSHBUTTON, kButtonRect, IDC_BROWSE_DIST)));
        ASSERT_TRUE(m_button.GetStyle() & BS_OWNERDRAW);
    }

    void TearDown() override { MoveMouseAway(); }

    // The button drawn by its DrawItem on a memory DC.
    Capture DrawOnMemoryDC(UINT state)
    {
        return Capture::Drawn(SIZE{80, 40}, [&](HDC hDC) {
            DRAWITEMSTRUCT item{ODT_BUTTON, IDC_BROWSE_DIST,    0, ODA_DRAWENTIRE, state, m_button.m_hWnd,
                                hDC,        RECT{0, 0, 80, 40}, 0};
            m_button.DrawItem(&item);
        });
    }

    HostDialog m_host{IDD_CONTROLS_HOST};
    CHoverButton m_button;
};

struct ImageCase
{
    const char* name;
    UINT image;
    UINT grayImage;
    BOOL makeGray;
    UINT type;
    BOOL result;
    CSize size;
    bool hasImage;
    bool hasGrayImage;
    COLORREF idle;  // centre while the mouse is elsewhere
};

TEST_F(HoverButtonTest, SetImageLoadsTheImageAndItsGreyTwin)
{
    const ImageCase cases[] = {
        {"icon, grey made from it", IDI_TEST_BUTTON, 0, TRUE, IMAGE_ICON, TRUE, CSize(20, 16), true, true, kIconGray},
        {"icon, the same icon as grey image", IDI_TEST_BUTTON, IDI_TEST_BUTTON, TRUE, IMAGE_ICON, TRUE, CSize(20, 16),
         true, true, kIconColor},
        {"icon, another icon as grey image", IDI_TEST_BUTTON, IDI_TEST_BUTTON_ALT, TRUE, IMAGE_ICON, TRUE,
         CSize(20, 16), true, true, kAltIconColor},
        {"icon without grey", IDI_TEST_BUTTON, 0, FALSE, IMAGE_ICON, TRUE, CSize(20, 16), true, false, kIconColor},
        {"bitmap, grey made from it", IDB_TEST_BUTTON, 0, TRUE, IMAGE_BITMAP, TRUE, CSize(12, 10), true, true,
         kBitmapGray},
        {"no image", 0, 0, TRUE, IMAGE_ICON, TRUE, CSize(0, 0), false, false, Face()},
        {"missing image", 4999, 0, TRUE, IMAGE_ICON, FALSE, CSize(0, 0), false, false, Face()},
        {"missing grey image keeps the image and its size", IDI_TEST_BUTTON, 4999, TRUE, IMAGE_ICON, FALSE,
         CSize(20, 16), true, false, kIconColor},
    };
    for (const ImageCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.result, m_button.SetImage(c.image, c.grayImage, c.makeGray, c.type));
        EXPECT_EQ(c.size, m_button.GetImageSize());
        EXPECT_EQ(c.hasImage, m_button.GetImage() != nullptr);
        EXPECT_EQ(c.hasGrayImage, m_button.GetGrayImage() != nullptr);
        EXPECT_EQ(c.idle, DrawOnMemoryDC(0).At(40, 20));
    }
}

// Everything drawn that is neither the face, nor the image, nor a border: the text's ink.
CRect TextInk(const Capture& capture)
{
    return capture.Bounds([](COLORREF c) {
        return c != Face() && c != kBitmapColor && c != ::GetSysColor(COLOR_3DHILIGHT) &&
               c != ::GetSysColor(COLOR_3DSHADOW);
    });
}

TEST_F(HoverButtonTest, DrawItemPlacesImageAndTextByTheAlignment)
{
    ASSERT_TRUE(m_button.SetImage(IDB_TEST_BUTTON, 0, FALSE, IMAGE_BITMAP));

    // No text: the image in the middle.
    Capture alone = DrawOnMemoryDC(0);
    EXPECT_EQ(CRect(34, 15, 46, 25), alone.BoundsOf(kBitmapColor));
    EXPECT_TRUE(TextInk(alone).IsRectEmpty());

    // Beside the text: image and text as one centred row, 3 pixels apart, the image vertically centred.
    m_button.SetWindowText("Go");
    m_button.SetAlignment(CHoverButton::kImageLeftOfText);
    Capture beside = DrawOnMemoryDC(0);
    const CRect image = beside.BoundsOf(kBitmapColor);
    const CRect text = TextInk(beside);
    EXPECT_EQ(15, image.top);
    EXPECT_EQ(12, image.Width());
    EXPECT_GE(text.left - image.right, 3);
    EXPECT_LE(text.left - image.right, 5);
    EXPECT_LE(std::abs(image.left - (80 - text.right)), 3) << "the row is centred";
    EXPECT_LE(std::abs((text.top + text.bottom) / 2 - 20), 2);

    // Above the text: the image centred across, the text under it.
    m_button.SetAlignment(0);
    Capture above = DrawOnMemoryDC(0);
    const CRect imageAbove = above.BoundsOf(kBitmapColor);
    const CRect textBelow = TextInk(above);
    EXPECT_EQ(34, imageAbove.left);
    EXPECT_GT(textBelow.top, imageAbove.bottom);
    EXPECT_LE(std::abs(imageAbove.top - (40 - textBelow.bottom)), 4) << "the column is centred";
    EXPECT_LE(std::abs((textBelow.left + textBelow.right) / 2 - 40), 2);

    // Text without an image: centred.
    ASSERT_TRUE(m_button.SetImage(0));
    m_button.SetWindowText("Browse");
    const CRect onlyText = TextInk(DrawOnMemoryDC(0));
    EXPECT_LE(std::abs(onlyText.left - (80 - onlyText.right)), 2);
    EXPECT_LE(std::abs(onlyText.top - (40 - onlyText.bottom)), 3);
}

TEST_F(HoverButtonTest, PressedMovesImageAndTextOnePixelRightAndDown)
{
    ASSERT_TRUE(m_button.SetImage(IDB_TEST_BUTTON, 0, FALSE, IMAGE_BITMAP));
    for (const char* text : {"", "Go"})
        for (int alignment : {CHoverButton::kImageLeftOfText, 0})
        {
            SCOPED_TRACE(std::string("text \"") + text + "\", alignment " + std::to_string(alignment));
            m_button.SetWindowText(text);
            m_button.SetAlignment(alignment);
            const Capture up = DrawOnMemoryDC(0);
            const Capture down = DrawOnMemoryDC(ODS_SELECTED);
            CRect image = up.BoundsOf(kBitmapColor);
            image.OffsetRect(1, 1);
            EXPECT_EQ(image, down.BoundsOf(kBitmapColor));
            if (*text)
            {
                // The text's ink moves with the image.
                CRect textUp = TextInk(up);
                textUp.OffsetRect(1, 1);
                EXPECT_EQ(textUp, TextInk(down));
            }
            EXPECT_EQ(::GetSysColor(COLOR_3DSHADOW), down.At(0, 0)) << "pressed: a sunken border";
            EXPECT_EQ(Face(), up.At(0, 0)) << "flat: no border while the mouse is elsewhere";
        }
}

TEST_F(HoverButtonTest, TheMouseOverTheButtonShowsTheColouredImageAndARaisedBorder)
{
    ASSERT_TRUE(m_button.SetImage(IDI_TEST_BUTTON, 0, TRUE, IMAGE_ICON));
    Capture idle = Capture::OfScreen(m_button.m_hWnd);
    EXPECT_EQ(kIconGray, idle.At(40, 20));
    EXPECT_EQ(Face(), idle.At(0, 0));

    MoveMouseOver(m_button.m_hWnd, POINT{40, 20});
    ASSERT_TRUE(PumpUntil([&] { return m_button.IsHovering() != FALSE; }));
    Capture hovered = Capture::OfScreen(m_button.m_hWnd);
    EXPECT_EQ(kIconColor, hovered.At(40, 20));
    EXPECT_EQ(::GetSysColor(COLOR_3DHILIGHT), hovered.At(0, 0));
    EXPECT_EQ(::GetSysColor(COLOR_3DSHADOW), hovered.At(79, 39));

    MoveMouseAway();
    ASSERT_TRUE(PumpUntil([&] { return !m_button.IsHovering(); }));
    Capture left = Capture::OfScreen(m_button.m_hWnd);
    EXPECT_EQ(kIconGray, left.At(40, 20));
    EXPECT_EQ(Face(), left.At(0, 0));
}

TEST_F(HoverButtonTest, AToggleStaysDownAfterTheClickUntilTheNextOne)
{
    ASSERT_TRUE(m_button.SetImage(IDI_TEST_BUTTON, 0, TRUE, IMAGE_ICON));
    m_button.SetToggle(TRUE);
    const COLORREF light = ::GetSysColor(COLOR_3DHILIGHT);

    MoveMouseOver(m_button.m_hWnd, POINT{40, 20});
    ClickLeft();
    EXPECT_TRUE(m_button.IsChecked());
    MoveMouseAway();
    ASSERT_TRUE(PumpUntil([&] { return !m_button.IsHovering(); }));
    m_button.Invalidate();
    Capture down = Capture::OfScreen(m_button.m_hWnd);
    EXPECT_EQ(::GetSysColor(COLOR_3DSHADOW), down.At(0, 0)) << "sunken border";
    EXPECT_EQ(kIconColor, down.At(41, 21)) << "a toggle that is down shows its colours";
    // The face is a halftone of highlight and face colour.
    const COLORREF a = down.At(4, 4);
    const COLORREF b = down.At(5, 4);
    EXPECT_NE(a, b);
    EXPECT_TRUE((a == light && b == Face()) || (a == Face() && b == light));

    MoveMouseOver(m_button.m_hWnd, POINT{40, 20});
    ClickLeft();
    EXPECT_FALSE(m_button.IsChecked());
    MoveMouseAway();
    ASSERT_TRUE(PumpUntil([&] { return !m_button.IsHovering(); }));
    Capture up = Capture::OfScreen(m_button.m_hWnd);
    EXPECT_EQ(Face(), up.At(0, 0));
    EXPECT_EQ(kIconGray, up.At(40, 20));
}

TEST_F(HoverButtonTest, APlainButtonDoesNotStayDown)
{
    ASSERT_TRUE(m_button.SetImage(IDI_TEST_BUTTON, 0, TRUE, IMAGE_ICON));
    MoveMouseOver(m_button.m_hWnd, POINT{40, 20});
    ClickLeft();
    EXPECT_FALSE(m_button.IsChecked());
    MoveMouseAway();
    ASSERT_TRUE(PumpUntil([&] { return !m_button.IsHovering(); }));
    EXPECT_EQ(Face(), Capture::OfScreen(m_button.m_hWnd).At(0, 0));
}

// A button that tracks the mouse with the capture, as it must where TrackMouseEvent is missing.
class CaptureTrackingButton : public CHoverButton
{
public:
    CaptureTrackingButton() : m_saved(s_pfnTrackMouseEvent) { s_pfnTrackMouseEvent = nullptr; }
    ~CaptureTrackingButton() override { s_pfnTrackMouseEvent = m_saved; }

private:
    TrackMouseEventProc m_saved;
};

TEST_F(HoverButtonTest, WithoutTrackMouseEventTheCaptureTellsWhenTheMouseLeaves)
{
    CaptureTrackingButton button;
    ASSERT_TRUE(button.SubclassWindow(m_host.AddButton("", BS_PUSHBUTTON, CRect(120, 60, 200, 100), IDC_BROWSE_KIT)));
    ASSERT_TRUE(button.SetImage(IDI_TEST_BUTTON, 0, TRUE, IMAGE_ICON));

    MoveMouseOver(button.m_hWnd, POINT{40, 20});
    ASSERT_TRUE(PumpUntil([&] { return button.IsHovering() != FALSE; }));
    EXPECT_EQ(button.m_hWnd, ::GetCapture());
    EXPECT_EQ(kIconColor, Capture::OfScreen(button.m_hWnd).At(40, 20));

    MoveMouseAway();
    ASSERT_TRUE(PumpUntil([&] { return !button.IsHovering(); }));
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ(kIconGray, Capture::OfScreen(button.m_hWnd).At(40, 20));
}

TEST_F(HoverButtonTest, ImageChangesLeaveNoGdiObjectsBehind)
{
    // The first round creates what lives for the program (stock and cached objects).
    m_button.SetImage(IDI_TEST_BUTTON, 0, TRUE, IMAGE_ICON);
    m_button.SetImage(IDB_TEST_BUTTON, 0, TRUE, IMAGE_BITMAP);
    DrawOnMemoryDC(0);
    const int before = CountGdiObjects();
    for (int i = 0; i < 100; ++i)
    {
        switch (i % 4)
        {
        case 0:
            m_button.SetImage(IDI_TEST_BUTTON, 0, TRUE, IMAGE_ICON);
            break;
        case 1:
            m_button.SetImage(IDI_TEST_BUTTON, IDI_TEST_BUTTON, TRUE, IMAGE_ICON);
            break;
        case 2:
            m_button.SetImage(IDB_TEST_BUTTON, 0, TRUE, IMAGE_BITMAP);
            break;
        default:
            m_button.SetImage(IDI_TEST_BUTTON, 4999, TRUE, IMAGE_ICON);
            break;
        }
        m_button.Invalidate();
        m_button.UpdateWindow();
    }
    m_button.SetImage(IDB_TEST_BUTTON, 0, TRUE, IMAGE_BITMAP);
    EXPECT_EQ(before, CountGdiObjects());

    // A button that goes takes its images with it.
    {
        CHoverButton second;
        ASSERT_TRUE(second.SubclassWindow(m_host.AddButton("", BS_PUSHBUTTON, CRect(120, 60, 200, 100), 4000)));
        second.SetImage(IDI_TEST_BUTTON, 0, TRUE, IMAGE_ICON);
        second.DestroyWindow();
    }
    EXPECT_EQ(before, CountGdiObjects());
}

}  // namespace
