// The heading: its own font and colour, sizing to its text by the alignment, and the tooltip that follows the text.
#include "ControlsTestResources.h"
#include "ControlsTestSupport.h"
#include "resource.h"
#include "wizard/controls/HeadingStatic.h"
#include "wizard/controls/StaticWindow.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

using namespace osm::test;

namespace {

const char kHeading[] = "1. Automatic Microsoft Windows installation.";
const CRect kStartRect(20, 60, 420, 100);  // 400 by 40, wider and higher than the heading's text

class HeadingStaticTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        MoveMouseAway();
        ASSERT_TRUE(m_host.Open());
        // The page's heading font: the dialog's font, 14 pixels high, heavy, Times New Roman.
        ::GetObjectA(reinterpret_cast<HFONT>(m_host.SendMessage(WM_GETFONT)), sizeof m_logFont, &m_logFont);
        m_logFont.lfHeight = -14;
        m_logFont.lfWeight = 800;
        m_logFont.lfItalic = FALSE;
        m_logFont.lfUnderline = FALSE;
        std::strcpy(m_logFont.lfFaceName, "Times New Roman");
    }

    // The heading the way the page sets it up.
    void MakeHeading(DWORD style, LPCSTR text = kHeading, CRect rect = kStartRect)
    {
        ASSERT_TRUE(m_heading.SubclassWindow(m_host.AddStatic(text, style, rect, IDC_HEADING1)));
        ASSERT_TRUE(m_heading.SetTextLogFont(&m_logFont));
        m_heading.SetTextColor(RGB(0, 0, 0), TRUE);
        m_heading.ActivateToolTip(FALSE);
    }

    CRect RectInHost() const
    {
        CRect rect;
        m_heading.GetWindowRect(&rect);
        m_host.ScreenToClient(&rect);
        return rect;
    }

    CSize TextSize(LPCSTR text) const
    {
        HFONT hFont = ::CreateFontIndirectA(&m_logFont);
        HDC hDC = ::GetDC(m_heading.m_hWnd);
        HGDIOBJ hOld = ::SelectObject(hDC, hFont);
        SIZE size{};
        ::GetTextExtentPoint32A(hDC, text, static_cast<int>(std::strlen(text)), &size);
        ::SelectObject(hDC, hOld);
        ::ReleaseDC(m_heading.m_hWnd, hDC);
        ::DeleteObject(hFont);
        return size;
    }

    CString ToolText()
    {
        CString text;
        m_heading.GetToolTip().GetText(text, &m_heading, CHeadingStatic::kToolId);
        return text;
    }

    HostDialog m_host{IDD_CONTROLS_HOST};
    CHeadingStatic m_heading;
    LOGFONTA m_logFont{};
};

TEST_F(HeadingStaticTest, SizingToTheTextKeepsTheSideTheAlignmentNames)
{
    struct Case
    {
        const char* name;
        DWORD style;
    } cases[] = {
        {"left", SS_LEFT},
        {"centre", SS_CENTER},
        {"right", SS_RIGHT},
        {"left, centred vertically", SS_LEFT | SS_CENTERIMAGE},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        MakeHeading(c.style);
        const CSize text = TextSize(kHeading);
        m_heading.SetSizeToText(TRUE);
        const CRect fitted = RectInHost();

        EXPECT_LE(std::abs(fitted.Width() - text.cx), 1);
        EXPECT_LE(std::abs(fitted.Height() - text.cy), 1);
        switch (c.style & SS_TYPEMASK)
        {
        case SS_CENTER:
            EXPECT_LE(std::abs(fitted.CenterPoint().x - kStartRect.CenterPoint().x), 1);
            break;
        case SS_RIGHT:
            EXPECT_EQ(kStartRect.right, fitted.right);
            break;
        default:
            EXPECT_EQ(kStartRect.left, fitted.left);
            break;
        }
        if (c.style & SS_CENTERIMAGE)
            EXPECT_LE(std::abs(fitted.CenterPoint().y - kStartRect.CenterPoint().y), 1);
        else
            EXPECT_EQ(kStartRect.top, fitted.top);

        m_heading.SetSizeToText(FALSE);
        EXPECT_EQ(kStartRect, RectInHost()) << "switched off, the old rectangle comes back";
        m_heading.DestroyWindow();
    }
}

TEST_F(HeadingStaticTest, ATextWiderThanTheParentIsCutToItsWidth)
{
    std::string wide;
    for (int i = 0; i < 12; ++i)
        wide += kHeading;
    MakeHeading(SS_LEFT, wide.c_str(), CRect(0, 60, 100, 100));
    CRect client;
    m_host.GetClientRect(&client);
    ASSERT_GT(TextSize(wide.c_str()).cx, client.Width());
    m_heading.SetSizeToText(TRUE);
    EXPECT_EQ(client.Width(), RectInHost().Width());
}

TEST_F(HeadingStaticTest, ANewTextResizesAHeadingThatSizesToItsText)
{
    MakeHeading(SS_LEFT);
    m_heading.SetSizeToText(TRUE);
    const char shorter[] = "2. Software.";
    m_heading.SetWindowText(shorter);
    EXPECT_LE(std::abs(RectInHost().Width() - TextSize(shorter).cx), 1);

    // Moved while it does not size itself, it comes back to the new place.
    m_heading.SetSizeToText(FALSE);
    m_heading.SetWindowPos(nullptr, 30, 70, 300, 30, SWP_NOZORDER);
    m_heading.SetSizeToText(TRUE);
    m_heading.SetSizeToText(FALSE);
    EXPECT_EQ(CRect(30, 70, 330, 100), RectInHost());
}

TEST_F(HeadingStaticTest, TheTooltipTextFollowsTheWindowTextWhileActive)
{
    MakeHeading(SS_LEFT);
    ASSERT_NE(nullptr, m_heading.GetToolTip().GetSafeHwnd());
    m_heading.ActivateToolTip(TRUE);
    EXPECT_STREQ(kHeading, ToolText());

    m_heading.SetWindowText("2. Automatic software installation.");
    EXPECT_STREQ("2. Automatic software installation.", ToolText());
    EXPECT_STREQ("2. Automatic software installation.", m_heading.GetToolTipText());

    m_heading.ActivateToolTip(FALSE);
    m_heading.SetWindowText("3. Later.");
    EXPECT_STREQ("2. Automatic software installation.", ToolText()) << "an inactive tooltip is left alone";
    m_heading.ActivateToolTip(TRUE);
    EXPECT_STREQ("3. Later.", ToolText());
}

TEST_F(HeadingStaticTest, TheToolCoversTheHeadingAsItsSizeChanges)
{
    MakeHeading(SS_LEFT);
    m_heading.SetSizeToText(TRUE);
    TOOLINFOA info{};
    ASSERT_TRUE(m_heading.GetToolTip().GetToolInfo(info, &m_heading, CHeadingStatic::kToolId));
    const CRect fitted = RectInHost();
    EXPECT_EQ(CRect(0, 0, fitted.Width(), fitted.Height()), CRect(info.rect));

    m_heading.SetSizeToText(FALSE);
    ASSERT_TRUE(m_heading.GetToolTip().GetToolInfo(info, &m_heading, CHeadingStatic::kToolId));
    EXPECT_EQ(CRect(0, 0, kStartRect.Width(), kStartRect.Height()), CRect(info.rect));
}

TEST_F(HeadingStaticTest, TheHeadingPaintsInItsOwnFontAndColourOnTheFace)
{
    const char text[] = "HEADING";
    MakeHeading(SS_LEFT, text);
    m_heading.SetTextColor(RGB(200, 0, 0), TRUE);
    HWND hPlain = m_host.AddStatic(text, SS_LEFT, CRect(20, 120, 420, 160), 4002);

    const Capture heading = Capture::OfScreen(m_heading.m_hWnd);
    const Capture plain = Capture::OfScreen(hPlain);
    EXPECT_GT(heading.Count([](COLORREF c) { return c == RGB(200, 0, 0); }), 0);
    EXPECT_EQ(Face(), heading.At(390, 35)) << "the face colour around the text";
    const CRect bigInk = heading.BoundsNot(Face());
    const CRect plainInk = plain.BoundsNot(Face());
    EXPECT_GT(bigInk.Height(), plainInk.Height()) << "the heading's font is the larger one";
    EXPECT_GT(bigInk.Width(), plainInk.Width());
}

TEST_F(HeadingStaticTest, IconAndBitmapStaticsKeepTheirParentsColouring)
{
    struct Case
    {
        DWORD style;
        bool coloured;
    } cases[] = {{SS_LEFT, true}, {SS_SIMPLE, true}, {SS_LEFTNOWORDWRAP, true}, {SS_ICON, false}, {SS_BITMAP, false}};
    HDC hDC = ::CreateCompatibleDC(nullptr);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.style);
        MakeHeading(c.style, "");
        EXPECT_EQ(c.coloured, IsTextStatic(m_heading.m_hWnd));
        const LRESULT brush = m_host.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC),
                                                 reinterpret_cast<LPARAM>(m_heading.m_hWnd));
        EXPECT_EQ(c.coloured, brush == reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH)));
        EXPECT_NE(0, brush);
        m_heading.DestroyWindow();
    }
    ::DeleteDC(hDC);
}

TEST_F(HeadingStaticTest, DestroyingTheHeadingDestroysItsTooltip)
{
    MakeHeading(SS_LEFT);
    const HWND hTip = m_heading.GetToolTip().GetSafeHwnd();
    ASSERT_TRUE(::IsWindow(hTip));
    m_heading.DestroyWindow();
    EXPECT_FALSE(::IsWindow(hTip));
}

}  // namespace
