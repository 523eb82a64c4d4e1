// The client window's painting with grouping: every group's strip on WM_PAINT (read back from the screen) and on
// WM_PRINTCLIENT, nothing on WM_ERASEBKGND, the appearance set's border on WM_NCPAINT, and the colours taken again on
// WM_SYSCOLORCHANGE.
#include "TabTestSupport.h"
#include "WorkspaceTestSupport.h"

#include "tests/support/DcTestSurface.h"

using namespace workspace_test;
using foundation_test::DcTestSurface;

namespace {

// Draws each tab's content and paints the workspace parts in the colour set's colours, recording what it was asked.
class RecordingWorkspaceSet : public tabs_test::TestAppearanceSet
{
public:
    RecordingWorkspaceSet()
    {
        m_bFixedLengths = false;
        m_bDrawContent = true;
    }
    void DrawWorkspacePart(CDC* pDC, LPRECT lpRect, int nPart) override
    {
        parts.push_back(nPart);
        if (nPart == kWorkspaceBorder)
        {
            partZeroRect = *lpRect;
            pDC->FillSolidRect(lpRect, m_pPaintManager->GetColorSet()->m_clrBorder);
        }
    }
    std::vector<int> parts;
    CRect partZeroRect{0, 0, 0, 0};
};

class WorkspacePaintTest : public WorkspaceTest
{
protected:
    void SetUp() override
    {
        WorkspaceTest::SetUp();
        appearance = new RecordingWorkspaceSet;
        workspace.GetPaintManager()->SetAppearanceSet(appearance);
        // One colour no set uses, for the face and the header (whichever the set fills the header with).
        COSMTabColorSet* colors = workspace.GetPaintManager()->GetColorSet();
        colors->m_clrFace.SetCustomValue(RGB(12, 200, 90));
        colors->m_grcHeaderFace.First().SetCustomValue(RGB(12, 200, 90));
        colors->m_grcHeaderFace.Second().SetCustomValue(RGB(12, 200, 90));
        colors->m_clrBorder.SetCustomValue(RGB(150, 20, 160));
        StartWorkspace(TRUE);
        SizeClientTo(400, 300);
        OpenChild("A");
        OpenChild("B");
        OpenChild("C");
        frame.SendMessage(WM_COMMAND, 9158, 0);
        PumpMessages();
        ASSERT_EQ(2, workspace.GetWorkspaceCount());
    }

    // Whether the header band of every group holds the colour set's header colour somewhere.
    ::testing::AssertionResult EveryHeaderShowsTheHeaderColour(const DcTestSurface& surface)
    {
        const COLORREF header = workspace.GetPaintManager()->GetColorSet()->m_clrFace;
        for (int g = 0; g < workspace.GetWorkspaceCount(); ++g)
        {
            const CRect band = Group(g)->GetHeaderRect();
            bool found = false;
            for (int y = band.top; y < band.bottom && !found; ++y)
                for (int x = band.left; x < band.right && !found; ++x)
                    found = surface.Pixel(x, y) == header;
            if (!found)
                return ::testing::AssertionFailure() << "group " << g << " shows no header colour";
        }
        return ::testing::AssertionSuccess();
    }

    RecordingWorkspaceSet* appearance = nullptr;
};

TEST_F(WorkspacePaintTest, PaintAndPrintClientDrawEveryGroupsStrip)
{
    CRect client;
    ::GetClientRect(frame.m_hWndMDIClient, &client);

    // On the screen.
    ::RedrawWindow(frame.m_hWndMDIClient, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    DcTestSurface screen(client.Width(), client.Height(), RGB(1, 2, 3));
    HDC hClientDC = ::GetDC(frame.m_hWndMDIClient);
    ::BitBlt(screen.dc()->GetSafeHdc(), 0, 0, client.Width(), client.Height(), hClientDC, 0, 0, SRCCOPY);
    ::ReleaseDC(frame.m_hWndMDIClient, hClientDC);
    EXPECT_TRUE(EveryHeaderShowsTheHeaderColour(screen));
    // The splitter between them is the set's vertical splitter.
    EXPECT_NE(appearance->parts.end(), std::find(appearance->parts.begin(), appearance->parts.end(),
                                                 COSMTabAppearanceSet::kWorkspaceSplitterVertical));

    // Printed.
    DcTestSurface printed(client.Width(), client.Height(), RGB(1, 2, 3));
    ::SendMessageA(frame.m_hWndMDIClient, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(printed.dc()->GetSafeHdc()),
                   PRF_CLIENT);
    EXPECT_TRUE(EveryHeaderShowsTheHeaderColour(printed));

    // Erasing paints nothing: the groups paint every pixel themselves.
    DcTestSurface erased(client.Width(), client.Height(), RGB(1, 2, 3));
    EXPECT_EQ(TRUE, ::SendMessageA(frame.m_hWndMDIClient, WM_ERASEBKGND,
                                   reinterpret_cast<WPARAM>(erased.dc()->GetSafeHdc()), 0));
    EXPECT_TRUE(erased.FilledWith(CRect(0, 0, client.Width(), client.Height()), RGB(1, 2, 3)));
}

TEST_F(WorkspacePaintTest, TheBorderIsTheSetsWorkspacePartZeroOverTheWholeWindow)
{
    workspace.GetPaintManager()->m_bStaticFrame = TRUE;
    workspace.UpdateContents(TRUE);
    appearance->parts.clear();
    ::RedrawWindow(frame.m_hWndMDIClient, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();
    CRect window;
    ::GetWindowRect(frame.m_hWndMDIClient, &window);
    EXPECT_EQ(CRect(0, 0, window.Width(), window.Height()), appearance->partZeroRect);
}

TEST_F(WorkspacePaintTest, WithTheStaticFrameTheBorderShowsInTheColourSetsBorderColour)
{
    // The shaped set the paint manager makes by default, with its own colours.
    COSMTabPaintManager* paintManager = workspace.GetPaintManager();
    paintManager->SetAppearance(0);
    paintManager->m_bStaticFrame = TRUE;
    workspace.UpdateContents(TRUE);
    ::RedrawWindow(frame.m_hWndMDIClient, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();

    // The client area moved in to leave a border: one pixel at the top, two on the other sides.
    CRect window;
    ::GetWindowRect(frame.m_hWndMDIClient, &window);
    CRect client;
    ::GetClientRect(frame.m_hWndMDIClient, &client);
    ::MapWindowPoints(frame.m_hWndMDIClient, nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_EQ(CRect(2, 1, 2, 2), CRect(client.left - window.left, client.top - window.top, window.right - client.right,
                                       window.bottom - client.bottom));
    HDC hWindowDC = ::GetWindowDC(frame.m_hWndMDIClient);
    const COLORREF left = ::GetPixel(hWindowDC, 0, window.Height() / 2);
    const COLORREF bottom = ::GetPixel(hWindowDC, window.Width() / 2, window.Height() - 1);
    ::ReleaseDC(frame.m_hWndMDIClient, hWindowDC);
    const COLORREF border = paintManager->GetColorSet()->m_clrBorder;
    EXPECT_EQ(border, left);
    EXPECT_EQ(border, bottom);

    // Without it, the client area fills the window: there is no border to draw.
    paintManager->m_bStaticFrame = FALSE;
    workspace.UpdateContents(TRUE);
    ::GetClientRect(frame.m_hWndMDIClient, &client);
    EXPECT_EQ(window.Size(), client.Size());
}

TEST_F(WorkspacePaintTest, ASystemColourChangeTakesTheColoursAgain)
{
    COSMTabColorSet* colors = workspace.GetPaintManager()->GetColorSet();
    const COLORREF standard = colors->m_clrPane.GetStandardValue();
    colors->m_clrPane.SetStandardValue(RGB(250, 1, 1));
    ASSERT_EQ(RGB(250, 1, 1), colors->m_clrPane.GetStandardValue());
    ::SendMessageA(frame.m_hWndMDIClient, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(standard, colors->m_clrPane.GetStandardValue());
    // The custom values stay.
    EXPECT_EQ(RGB(12, 200, 90), static_cast<COLORREF>(colors->m_clrFace));
}

}  // namespace
