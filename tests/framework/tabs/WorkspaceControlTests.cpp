// The workspace strip as a command-bar control: made by class name in a toolbar and serving as the workspace's single
// strip, its size and tab position by the bar's position, its tooltips, and its removal from the bar.
#include "WorkspaceTestSupport.h"

#include "framework/foundation/ToolTipContext.h"
#include "framework/tabs/ControlTabWorkspace.h"

using namespace workspace_test;

namespace {

class WorkspaceControlTest : public WorkspaceTest
{
protected:
    COSMControlTabWorkspace* MakeControl()
    {
        CRuntimeClass* runtimeClass = CRuntimeClass::FromName("COSMControlTabWorkspace");
        if (!runtimeClass)
            return nullptr;
        return static_cast<COSMControlTabWorkspace*>(runtimeClass->CreateObject());
    }
};

TEST_F(WorkspaceControlTest, MadeByClassNameInAToolbarItServesAsTheSingleStrip)
{
    COSMControlTabWorkspace* control = MakeControl();
    ASSERT_NE(nullptr, control);
    auto* toolBar = commandBars->AddToolBar("Documents", 700);
    ASSERT_NE(nullptr, toolBar);
    toolBar->GetControls()->AddControl(control, 0);
    StartWorkspace(FALSE);
    control->AttachToClient(&workspace);
    DocChild* first = OpenChild("First");
    OpenChild("Second");
    frame.RecalcLayout();
    PumpMessages();

    ASSERT_EQ(1, workspace.GetWorkspaceCount());
    EXPECT_EQ(control->GetWorkspace(), workspace.GetWorkspace(0));
    EXPECT_EQ((std::vector<std::string>{"First", "Second"}), Captions(0));
    // The own strip window stands aside.
    EXPECT_FALSE(workspace.GetStripWindow()->IsWindowVisible());
    // The strip lies in the control's rectangle of the bar, and a click on a tab there activates its child.
    const CRect rect = control->GetRect();
    ASSERT_FALSE(rect.IsRectEmpty());
    const CRect tab = Group(0)->GetItem(0)->GetRect();
    EXPECT_TRUE(rect.PtInRect(tab.CenterPoint()));
    EXPECT_EQ(toolBar->GetSafeHwnd(), Group(0)->GetWindow());
    ClickAt(TabCentre(0, 0));
    EXPECT_EQ(first->GetSafeHwnd(), ActiveChild());

    // A clone is a workspace control of the same width.
    RefPtr<COSMControl> clone = AdoptRef(control->Clone(FALSE));
    EXPECT_TRUE(clone->IsKindOf(RUNTIME_CLASS(COSMControlTabWorkspace)));
    EXPECT_EQ(COSMControlTabWorkspace::kDefaultWidth, clone->GetWidth());

    // Removed from its bar, it leaves the client no groups and no strip to reach.
    toolBar->GetControls()->Remove(control);
    EXPECT_EQ(0, workspace.GetWorkspaceCount());
    OpenChild("Third");
    workspace.UpdateContents(TRUE);
    EXPECT_EQ(0, workspace.GetWorkspaceCount());
}

TEST_F(WorkspaceControlTest, ItsSizeAndTabPositionFollowTheBarsPosition)
{
    StartWorkspace(FALSE);
    TrackingBar bar;
    ASSERT_TRUE(bar.CreateChild(&frame, CRect(0, 0, 300, 40)));
    COSMControlTabWorkspace* control = MakeControl();
    ASSERT_NE(nullptr, control);
    bar.GetControls()->AddControl(control, 0);
    control->AttachToClient(&workspace);
    OpenChild("One");

    COSMTabPaintManager* paintManager = workspace.GetPaintManager();
    const struct
    {
        int barPosition;
        int tabPosition;
        bool across;
    } cases[] = {{0, 0, false}, {1, 2, false}, {2, 1, true}, {3, 3, true}, {4, 0, false}, {5, 0, true}};
    for (BOOL staticFrame : {FALSE, TRUE})
    {
        paintManager->m_bStaticFrame = staticFrame;
        for (const auto& c : cases)
        {
            SCOPED_TRACE(c.barPosition * 10 + staticFrame);
            bar.SetPositionField(c.barPosition);
            EXPECT_EQ(c.tabPosition, COSMControlTabWorkspace::MapBarPosition(c.barPosition));
            EXPECT_EQ(c.tabPosition, control->GetWorkspace()->GetPosition());
            const int height =
                paintManager->GetAppearanceSet()->GetHeaderHeight(control->GetWorkspace()) + (staticFrame ? 2 : 0);
            const CSize expected = c.across ? CSize(height, 220) : CSize(220, height);
            CClientDC dc(&bar);
            EXPECT_EQ(expected, control->GetSize(&dc));
        }
    }
    paintManager->m_bStaticFrame = FALSE;
    bar.GetControls()->Remove(control);
}

TEST_F(WorkspaceControlTest, ItsTooltipTellsACutCaptionInModeTwoOnly)
{
    StartWorkspace(FALSE);
    TrackingBar bar;
    ASSERT_TRUE(bar.CreateChild(&frame, CRect(0, 0, 300, 40)));
    COSMControlTabWorkspace* control = MakeControl();
    ASSERT_NE(nullptr, control);
    bar.GetControls()->AddControl(control, 0);
    control->AttachToClient(&workspace);
    COSMTabPaintManager* paintManager = workspace.GetPaintManager();
    paintManager->SetLayout(COSMTabPaintManager::kLayoutSizeToFit);
    OpenChild("A");
    OpenChild("A rather long document title that cannot fit");
    OpenChild("B");
    CClientDC dc(&bar);
    control->SetRect(CRect(CPoint(0, 0), control->GetSize(&dc)));
    COSMTabWorkspace* strip = control->GetWorkspace();
    COSMTabManagerItem* cut = strip->GetItem(1);
    COSMTabManagerItem* whole = strip->GetItem(0);
    ASSERT_GT(cut->GetContentLength(), cut->GetLength());
    ASSERT_LE(whole->GetContentLength(), whole->GetLength());

    const struct
    {
        int mode;
        COSMTabManagerItem* item;
        INT_PTR expected;
    } cases[] = {{2, cut, 1}, {2, whole, -1}, {1, whole, 0}, {1, cut, 1}, {0, cut, -1}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.mode * 10 + c.item->GetIndex());
        paintManager->m_nToolTipBehaviour = c.mode;
        TOOLINFOA info{};
        info.cbSize = sizeof(info);
        const INT_PTR tool = control->OnToolHitTest(c.item->GetRect().CenterPoint(), &info);
        EXPECT_EQ(c.expected, tool);
        if (tool >= 0)
        {
            EXPECT_EQ(bar.GetSafeHwnd(), info.hwnd);
            EXPECT_EQ(c.item->GetRect(), CRect(info.rect));
            EXPECT_STREQ(c.item->GetCaptionText(), info.lpszText);
        }
        COSMToolTipContext::FreeToolInfoText(&info);
    }
    // Off the tabs there is no tool.
    paintManager->m_nToolTipBehaviour = 1;
    TOOLINFOA info{};
    info.cbSize = sizeof(info);
    EXPECT_EQ(-1, control->OnToolHitTest(CPoint(-5, -5), &info));
    bar.GetControls()->Remove(control);
}

}  // namespace
