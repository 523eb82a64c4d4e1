// The web link and the picture link under the real mouse: the hand cursor, the underline while hovered, the address
// opened per click, and the picture that changes while hovered.
#include "ControlsTestResources.h"
#include "ControlsTestSupport.h"
#include "resource.h"
#include "wizard/controls/HyperlinkStatic.h"
#include "wizard/controls/LinkOpener.h"
#include "wizard/controls/PictureLinkStatic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace osm::test;

namespace {

std::vector<std::string> g_opened;

void RecordOpen(const char* address)
{
    g_opened.emplace_back(address ? address : "(null)");
}

const char kAddress[] = "http://www.osmira.example/corvane/";
// Capitals only: no letter reaches below the baseline, so any ink there is the underline.
const char kLinkText[] = "OSMIRA WEB";
const CRect kLinkRect(20, 60, 180, 80);
const CRect kPictureRect(20, 100, 20 + CPictureLinkStatic::kPictureWidth, 100 + CPictureLinkStatic::kPictureHeight);
const COLORREF kNormalPicture = RGB(0, 0, 200);
const COLORREF kHoverPicture = RGB(0, 160, 0);

class LinkStaticTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_opened.clear();
        m_previousOpener = SetLinkOpener(&RecordOpen);
        MoveMouseAway();
        ASSERT_TRUE(m_host.Open());
    }

    void TearDown() override
    {
        MoveMouseAway();
        SetLinkOpener(m_previousOpener);
    }

    // Lowest row with ink: the link is drawn transparently on the dialog's face.
    static LONG InkBottom(HWND hWnd) { return Capture::OfScreen(hWnd).BoundsNot(Face()).bottom; }

    HostDialog m_host{IDD_CONTROLS_HOST};
    LinkOpener m_previousOpener = nullptr;
};

TEST_F(LinkStaticTest, AClickOpensTheAddressOnceAndAnEmptyAddressNever)
{
    struct Case
    {
        const char* url;
        std::vector<std::string> opened;
    } cases[] = {{kAddress, {kAddress}}, {"", {}}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.url);
        g_opened.clear();
        CHyperlinkStatic link;
        ASSERT_TRUE(link.SubclassWindow(m_host.AddStatic(kLinkText, SS_LEFT, kLinkRect, IDC_WEB_LINK)));
        link.SetUrl(c.url);
        MoveMouseOver(link.m_hWnd, POINT{10, 8});
        ClickLeft();
        EXPECT_EQ(c.opened, g_opened);
        // A double click is one more press and release: the second press comes as WM_LBUTTONDBLCLK.
        ClickLeft();
        EXPECT_EQ(c.opened, g_opened);
        MoveMouseAway();
        link.DestroyWindow();
    }
}

TEST_F(LinkStaticTest, TheLinkIsUnderlinedWhileTheMouseIsOverIt)
{
    CHyperlinkStatic link;
    ASSERT_TRUE(link.SubclassWindow(m_host.AddStatic(kLinkText, SS_LEFT, kLinkRect, IDC_WEB_LINK)));
    link.SetUrl(kAddress);
    const LONG plain = InkBottom(link.m_hWnd);
    ASSERT_GT(plain, 0);
    EXPECT_GT(Capture::OfScreen(link.m_hWnd).Count([&](COLORREF c) { return c == link.GetLinkColor(); }), 0);

    MoveMouseOver(link.m_hWnd, POINT{10, 8});
    EXPECT_EQ(::LoadCursor(nullptr, IDC_HAND), ::GetCursor());
    ASSERT_TRUE(PumpUntil([&] { return InkBottom(link.m_hWnd) > plain; })) << "underlined under the mouse";
    EXPECT_GT(Capture::OfScreen(link.m_hWnd).Count([&](COLORREF c) { return c == link.GetHoverColor(); }), 0);

    // The timer notices the mouse has gone, without a further mouse message reaching the link.
    MoveMouseAway();
    EXPECT_TRUE(PumpUntil([&] { return InkBottom(link.m_hWnd) == plain; }, 1000)) << "the underline goes";
}

TEST_F(LinkStaticTest, ALinkWithoutAFontIsUnderlinedInTheDefaultGuiFont)
{
    // Made without WM_SETFONT: WM_GETFONT answers NULL.
    HWND hWnd = ::CreateWindowExA(0, "STATIC", kLinkText, WS_CHILD | WS_VISIBLE | SS_LEFT, kLinkRect.left,
                                  kLinkRect.top, kLinkRect.Width(), kLinkRect.Height(), m_host.m_hWnd, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_EQ(0, ::SendMessageA(hWnd, WM_GETFONT, 0, 0));
    CHyperlinkStatic link;
    ASSERT_TRUE(link.SubclassWindow(hWnd));
    const CRect plain = Capture::OfScreen(hWnd).BoundsNot(Face());
    ASSERT_FALSE(plain.IsRectEmpty());

    MoveMouseOver(hWnd, POINT{10, 8});
    ASSERT_TRUE(PumpUntil([&] { return InkBottom(hWnd) > plain.bottom; }));

    // The same letters as in a static showing the default GUI font, with the underline below them.
    HWND hReference = m_host.AddStatic(kLinkText, SS_LEFT, CRect(20, 90, 180, 110), 4001);
    ::SendMessageA(hReference, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    const CRect reference = Capture::OfScreen(hReference).BoundsNot(Face());
    EXPECT_EQ(reference.Width(), plain.Width());
    EXPECT_EQ(reference.Height(), plain.Height());
}

TEST_F(LinkStaticTest, OnlyTextLinksAreColoured)
{
    struct Case
    {
        DWORD style;
        bool coloured;
    } cases[] = {{SS_LEFT, true}, {SS_CENTER, true}, {SS_RIGHT, true}, {SS_ICON, false}, {SS_BLACKFRAME, false}};
    HDC hDC = ::CreateCompatibleDC(nullptr);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.style);
        CHyperlinkStatic link;
        ASSERT_TRUE(link.SubclassWindow(m_host.AddStatic(kLinkText, c.style, kLinkRect, IDC_WEB_LINK)));
        const LRESULT brush =
            m_host.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(link.m_hWnd));
        EXPECT_EQ(c.coloured, brush == reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH)));
        EXPECT_NE(0, brush) << "an uncoloured static keeps its parent's colouring";
        link.DestroyWindow();
    }
    ::DeleteDC(hDC);
}

TEST_F(LinkStaticTest, ThePictureChangesWhileTheMouseIsOverIt)
{
    CPictureLinkStatic picture(IDB_TEST_LINK_NORMAL, IDB_TEST_LINK_HOVER);
    ASSERT_TRUE(picture.SubclassWindow(m_host.AddStatic("", SS_BLACKFRAME, kPictureRect, IDC_PICTURE_LINK)));
    picture.SetUrl(kAddress);
    picture.Invalidate();

    Capture idle = Capture::OfScreen(picture.m_hWnd);
    EXPECT_EQ(kNormalPicture, idle.At(100, 40));
    EXPECT_EQ(Face(), idle.At(5, 40)) << "the picture's transparent colour shows the dialog";

    MoveMouseOver(picture.m_hWnd, POINT{100, 40});
    ASSERT_TRUE(PumpUntil([&] { return picture.IsHovering() != FALSE; }));
    ASSERT_TRUE(PumpUntil([&] { return Capture::OfScreen(picture.m_hWnd).At(100, 40) == kHoverPicture; }));
    EXPECT_EQ(Face(), Capture::OfScreen(picture.m_hWnd).At(5, 40));

    ClickLeft();
    EXPECT_TRUE(g_opened.empty()) << "a click on the picture opens nothing";

    MoveMouseAway();
    ASSERT_TRUE(PumpUntil([&] { return !picture.IsHovering(); }, 1000));
    EXPECT_TRUE(PumpUntil([&] { return Capture::OfScreen(picture.m_hWnd).At(100, 40) == kNormalPicture; }));
}

TEST_F(LinkStaticTest, WithOnePictureTwiceNothingChangesUnderTheMouse)
{
    CPictureLinkStatic picture(IDB_TEST_LINK_NORMAL, IDB_TEST_LINK_NORMAL);
    ASSERT_TRUE(picture.SubclassWindow(m_host.AddStatic("", SS_BLACKFRAME, kPictureRect, IDC_PICTURE_LINK)));
    picture.Invalidate();
    EXPECT_EQ(kNormalPicture, Capture::OfScreen(picture.m_hWnd).At(100, 40));

    MoveMouseOver(picture.m_hWnd, POINT{100, 40});
    RunLoopFor(100);
    EXPECT_FALSE(picture.IsHovering());
    EXPECT_EQ(kNormalPicture, Capture::OfScreen(picture.m_hWnd).At(100, 40));
}

}  // namespace
