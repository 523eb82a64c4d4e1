// MDI frames on the display: the client is the frame's pane, the active child and its maximized state are reported,
// commands reach the active child first, and children leave through the client.
#include "TestResources.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const UINT ID_SHARED_COMMAND = 42001;
const UINT IDC_MDI_TOP_BAR = 720;

std::vector<std::string> g_commands;

class CProbeChild : public CMDIChildWnd
{
public:
    explicit CProbeChild(const char* name) : m_name(name) {}

protected:
    afx_msg void OnShared() { g_commands.push_back(m_name); }
    DECLARE_MESSAGE_MAP()

private:
    std::string m_name;
};

BEGIN_MESSAGE_MAP(CProbeChild, CMDIChildWnd)
    ON_COMMAND(ID_SHARED_COMMAND, OnShared)
END_MESSAGE_MAP()

class CProbeMDIFrame : public CMDIFrameWnd
{
public:
    ~CProbeMDIFrame() override
    {
        if (m_hWnd)
            DestroyWindow();
    }

protected:
    afx_msg void OnShared() { g_commands.push_back("frame"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeMDIFrame, CMDIFrameWnd)
    ON_COMMAND(ID_SHARED_COMMAND, OnShared)
END_MESSAGE_MAP()

// A bar of fixed height along the top.
class CTopBar : public CWnd
{
protected:
    afx_msg LRESULT OnSizeParent(WPARAM, LPARAM lParam)
    {
        auto* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
        CRect strip(pLayout->rect);
        strip.bottom = strip.top + 26;
        pLayout->rect.top = strip.bottom;
        AfxRepositionWindow(pLayout, m_hWnd, &strip);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTopBar, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

class MDIFrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_commands.clear();
        ASSERT_TRUE(frame.Create(nullptr, "mdi frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN,
                                 CRect(50, 50, 550, 430)));
        ASSERT_NE(frame.m_hWndMDIClient, nullptr);
    }

    // Two overlapping children; the second ends up active.
    bool CreateChildren(CProbeChild& first, CProbeChild& second)
    {
        const DWORD style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW;
        return first.Create(nullptr, "first", style, CRect(0, 0, 200, 150), &frame) &&
               second.Create(nullptr, "second", style, CRect(20, 20, 220, 170), &frame);
    }

    CProbeMDIFrame frame;
};

TEST_F(MDIFrameTest, TheClientIsThePaneAndGetsWhatTheBarsLeave)
{
    char className[32] = {};
    ::GetClassNameA(frame.m_hWndMDIClient, className, sizeof className);
    EXPECT_STREQ(className, "MDIClient");
    EXPECT_EQ(::GetDlgCtrlID(frame.m_hWndMDIClient), AFX_IDW_PANE_FIRST);

    CTopBar bar;
    ASSERT_TRUE(bar.Create(nullptr, "bar", WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), &frame, IDC_MDI_TOP_BAR));
    frame.RecalcLayout();
    CRect client;
    frame.GetClientRect(&client);
    CRect mdiClient;
    ::GetWindowRect(frame.m_hWndMDIClient, &mdiClient);
    frame.ScreenToClient(&mdiClient);
    EXPECT_EQ(mdiClient, CRect(0, 26, client.right, client.bottom));

    // Sizing the frame keeps the bar's strip free instead of letting the client cover it.
    frame.SetWindowPos(nullptr, 0, 0, 420, 320, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    frame.GetClientRect(&client);
    ::GetWindowRect(frame.m_hWndMDIClient, &mdiClient);
    frame.ScreenToClient(&mdiClient);
    EXPECT_EQ(mdiClient, CRect(0, 26, client.right, client.bottom));
}

TEST_F(MDIFrameTest, MDIGetActiveReportsTheActiveChildAndWhetherItIsMaximized)
{
    BOOL maximized = TRUE;
    EXPECT_EQ(frame.MDIGetActive(&maximized), nullptr);
    EXPECT_FALSE(maximized);

    CProbeChild first("first");
    CProbeChild second("second");
    ASSERT_TRUE(CreateChildren(first, second));
    EXPECT_EQ(first.GetMDIFrame(), &frame);

    EXPECT_EQ(frame.MDIGetActive(&maximized), &second);
    EXPECT_FALSE(maximized);

    first.MDIActivate();
    first.MDIMaximize();
    EXPECT_EQ(frame.MDIGetActive(&maximized), &first);
    EXPECT_TRUE(maximized);
    EXPECT_TRUE(first.IsZoomed());
    EXPECT_EQ(frame.MDIGetActive(), &first);  // the flag is optional

    first.MDIRestore();
    EXPECT_EQ(frame.MDIGetActive(&maximized), &first);
    EXPECT_FALSE(maximized);

    // A child leaves through the client, which then activates the other one.
    EXPECT_TRUE(first.DestroyWindow());
    EXPECT_EQ(first.m_hWnd, nullptr);
    EXPECT_EQ(frame.MDIGetActive(&maximized), &second);
}

TEST_F(MDIFrameTest, CommandsReachTheActiveChildBeforeTheFrame)
{
    CProbeChild first("first");
    CProbeChild second("second");
    ASSERT_TRUE(CreateChildren(first, second));
    frame.SendMessage(WM_COMMAND, ID_SHARED_COMMAND);
    first.MDIActivate();
    frame.SendMessage(WM_COMMAND, ID_SHARED_COMMAND);
    first.DestroyWindow();
    second.DestroyWindow();
    frame.SendMessage(WM_COMMAND, ID_SHARED_COMMAND);
    EXPECT_EQ(g_commands, (std::vector<std::string>{"second", "first", "frame"}));
}

TEST_F(MDIFrameTest, TheActiveFrameIsTheActiveChildAndEachFrameKeepsItsActiveView)
{
    EXPECT_EQ(frame.GetActiveFrame(), &frame);
    CProbeChild first("first");
    CProbeChild second("second");
    ASSERT_TRUE(CreateChildren(first, second));
    EXPECT_EQ(frame.GetActiveFrame(), &second);
    first.MDIActivate();
    EXPECT_EQ(frame.GetActiveFrame(), &first);
    EXPECT_EQ(first.GetActiveFrame(), &first);

    CDocument document;
    CView view;
    EXPECT_EQ(view.GetDocument(), nullptr);
    view.SetDocument(&document);
    EXPECT_EQ(view.GetDocument(), &document);
    EXPECT_EQ(first.GetActiveView(), nullptr);
    first.SetActiveView(&view);
    EXPECT_EQ(frame.GetActiveFrame()->GetActiveView(), &view);
    EXPECT_EQ(second.GetActiveView(), nullptr);
    first.DestroyWindow();
    second.DestroyWindow();
    EXPECT_EQ(frame.GetActiveFrame(), &frame);
}

}  // namespace

TEST(DocTemplate, TheTemplateLoadsItsSharedMenuAndDocumentStrings)
{
    CDocTemplate docTemplate(IDR_TEXT_TYPE);
    EXPECT_EQ(UINT(IDR_TEXT_TYPE), docTemplate.GetResourceID());
    ASSERT_NE(nullptr, docTemplate.m_hMenuShared);
    EXPECT_EQ(UINT(ID_TEXT_COMMAND), ::GetMenuItemID(::GetSubMenu(docTemplate.m_hMenuShared, 0), 0));

    const struct
    {
        CDocTemplate::DocStringIndex index;
        const char* expected;
    } cases[] = {
        {CDocTemplate::windowTitle, ""},
        {CDocTemplate::docName, "Text"},
        {CDocTemplate::filterExt, ".txt"},
        {CDocTemplate::regFileTypeName, "Osmira text document"},
    };
    for (const auto& c : cases)
    {
        CString text("left over");
        EXPECT_TRUE(docTemplate.GetDocString(text, c.index)) << c.index;
        EXPECT_STREQ(c.expected, text) << c.index;
    }

    // A template without resources: no menu, no strings.
    CDocTemplate bare(IDR_TEXT_TYPE + 1);
    EXPECT_EQ(nullptr, bare.m_hMenuShared);
    CString text("left over");
    EXPECT_FALSE(bare.GetDocString(text, CDocTemplate::docName));
    EXPECT_TRUE(text.IsEmpty());
}

namespace {

// A template that tells when it is deleted.
class CCountedTemplate : public CDocTemplate
{
public:
    CCountedTemplate(UINT id, int* deleted) : CDocTemplate(id), m_deleted(deleted) {}
    ~CCountedTemplate() override { ++*m_deleted; }

private:
    int* m_deleted;
};

}  // namespace

TEST(DocTemplate, TheApplicationListsItsTemplatesInOrderAndDeletesThem)
{
    int deleted = 0;
    {
        CWinApp app("templates");
        EXPECT_EQ(nullptr, app.GetFirstDocTemplatePosition());
        CDocTemplate* first = new CCountedTemplate(IDR_TEXT_TYPE, &deleted);
        CDocTemplate* second = new CCountedTemplate(IDR_TEXT_TYPE + 1, &deleted);
        app.AddDocTemplate(first);
        app.AddDocTemplate(nullptr);
        app.AddDocTemplate(second);
        std::vector<CDocTemplate*> listed;
        for (POSITION pos = app.GetFirstDocTemplatePosition(); pos;)
            listed.push_back(app.GetNextDocTemplate(pos));
        EXPECT_EQ((std::vector<CDocTemplate*>{first, second}), listed);
        EXPECT_EQ(0, deleted);
    }
    EXPECT_EQ(2, deleted);
}

TEST_F(MDIFrameTest, AChildHoldsItsDocumentAndItsTemplatesMenuWithoutOwningThem)
{
    CProbeChild first("first");
    CProbeChild second("second");
    ASSERT_TRUE(CreateChildren(first, second));
    EXPECT_EQ(nullptr, first.GetActiveDocument());
    EXPECT_EQ(nullptr, first.m_hMenuShared);
    EXPECT_EQ(nullptr, frame.GetActiveDocument());

    CDocTemplate docTemplate(IDR_TEXT_TYPE);
    CDocument document;
    first.SetActiveDocument(&document);
    first.m_hMenuShared = docTemplate.m_hMenuShared;
    CFrameWnd* asFrame = &first;
    EXPECT_EQ(&document, asFrame->GetActiveDocument());
    EXPECT_EQ(nullptr, second.GetActiveDocument());
    // The frame's active document is its active child's.
    EXPECT_EQ(nullptr, frame.GetActiveDocument());
    first.MDIActivate();
    EXPECT_EQ(&document, frame.GetActiveDocument());
    second.MDIActivate();
    EXPECT_EQ(nullptr, frame.GetActiveDocument());

    // The child goes; the template's menu stays usable.
    first.DestroyWindow();
    EXPECT_TRUE(::IsMenu(docTemplate.m_hMenuShared));
}

TEST_F(MDIFrameTest, AnActivatedChildGivesTheFrameItsTemplatesMenuWhichOutlivesTheFrame)
{
    CWinApp app("shared menus");
    auto* docTemplate = new CDocTemplate(IDR_TEXT_TYPE);
    app.AddDocTemplate(docTemplate);
    HMENU frameMenu = ::CreateMenu();
    ::AppendMenuA(frameMenu, MF_STRING, ID_SHARED_COMMAND, "&Frame");
    ::SetMenu(frame.GetSafeHwnd(), frameMenu);

    CProbeChild first("first");
    CProbeChild second("second");
    first.m_hMenuShared = docTemplate->m_hMenuShared;
    ASSERT_TRUE(CreateChildren(first, second));
    // The first child gave the frame its template's menu as it was activated; the second, without a template,
    // leaves the frame the menu it has.
    EXPECT_EQ(&second, frame.MDIGetActive());
    EXPECT_EQ(docTemplate->m_hMenuShared, ::GetMenu(frame.GetSafeHwnd()));

    frame.DestroyWindow();
    EXPECT_TRUE(::IsMenu(docTemplate->m_hMenuShared));
    ::DestroyMenu(frameMenu);
}
