// What the menu-bar tests share: an MDI frame with its own menu (100) and an application with two document templates
// (text 200, image 300), document windows that answer for their icon and record the system commands they get, and
// the manager with its dock bars.
//
//   MenuBarMdiTest: frame (shown, menu 100), app with templates 200 and 300, commandBars on the frame
//   COSMMenuBar* bar = AddMenuBar();                 // LoadMenuBar(100), docked on top
//   DocChild* child = OpenChild(textTemplate);      // activated: its template's menu goes to the client
#pragma once

#include "classlib/MDIChildWnd.h"
#include "classlib/WinApp.h"
#include "CommandBarsTestSupport.h"
#include "TrackingTestSupport.h"
#include "CommandBarsTestIds.h"

#include "framework/commandbars/MenuBar.h"
#include "framework/commandbars/MenuBarMDIControls.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace commandbars_test {

class MdiTestFrame : public CMDIFrameWnd
{
public:
    int resets = 0;
    // The frame's menu as its own WM_DESTROY handling sees it (the hooks have had their turn).
    HMENU menuAtDestroy = nullptr;
    // SC_KEYMENU commands that reached the frame's own handling (kept from it: without a menu it would track the
    // system menu in a modal loop).
    int keyMenus = 0;
    // Commands the frame runs (their menu items stay enabled), and those that came, in order.
    std::set<UINT> handledCommands;
    std::vector<UINT> commands;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override
    {
        if (nCode == CN_COMMAND && handledCommands.count(nID) != 0)
        {
            if (!pHandlerInfo)
                commands.push_back(nID);
            return TRUE;
        }
        return CMDIFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == COSMToolBar::kMessageReset)
            ++resets;
        if (message == WM_DESTROY)
            menuAtDestroy = ::GetMenu(m_hWnd);
        if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU)
        {
            ++keyMenus;
            return 0;
        }
        return CMDIFrameWnd::WindowProc(message, wParam, lParam);
    }
};

class DocChild : public CMDIChildWnd
{
public:
    // The answers the child gives for its icon (null: the default handling).
    HICON answerFor10336 = nullptr;
    HICON answerForSmall = nullptr;
    HICON answerForBig = nullptr;
    BOOL answerIcons = FALSE;
    std::vector<WPARAM> systemCommands;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (answerIcons && message == COSMMenuBar::kMessageGetChildIcon)
            return reinterpret_cast<LRESULT>(answerFor10336);
        if (answerIcons && message == WM_GETICON)
            return reinterpret_cast<LRESULT>(wParam == ICON_SMALL ? answerForSmall : answerForBig);
        // Recorded, and closing is left to the test.
        if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE)
        {
            systemCommands.push_back(wParam & 0xFFF0);
            return 0;
        }
        return CMDIChildWnd::WindowProc(message, wParam, lParam);
    }
};

class MenuBarMdiTest : public CommandBarsTest
{
protected:
    void SetUp() override
    {
        CommandBarsTest::SetUp();
        ASSERT_EQ(nullptr, AfxGetApp());
        app = std::make_unique<CWinApp>("menu bar tests");
        textTemplate = new CDocTemplate(IDR_TEST_TEXT_TYPE);
        imageTemplate = new CDocTemplate(IDR_TEST_IMAGE_TYPE);
        app->AddDocTemplate(textTemplate);
        app->AddDocTemplate(imageTemplate);
        ASSERT_TRUE(
            frame.Create(nullptr, "menu bar frame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CRect(40, 40, 640, 480)));
        frameMenu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TEST_FRAME_MENU));
        ASSERT_NE(nullptr, frameMenu);
        ::SetMenu(frame.GetSafeHwnd(), frameMenu);
        frame.ShowWindow(SW_SHOWNOACTIVATE);
        commandBars = AdoptRef(new COSMCommandBars);
        commandBars->SetSite(&frame);
        ASSERT_TRUE(commandBars->CreateDockBars());
    }
    void TearDown() override
    {
        commandBars->ClosePopups();
        for (auto& child : children)
            if (child->GetSafeHwnd())
                child->DestroyWindow();
        children.clear();
        commandBars.Reset();
        if (frame.GetSafeHwnd())
            frame.DestroyWindow();
        app.reset();
        CommandBarsTest::TearDown();
    }

    COSMMenuBar* AddMenuBar(DWORD addFlags = 0)
    {
        auto* bar = static_cast<COSMMenuBar*>(commandBars->AddMenuBar("Menu Bar", IDR_TEST_FRAME_MENU));
        if (bar)
            bar->ModifyFlags(addFlags, 0);
        frame.RecalcLayout();
        PumpMessages();
        return bar;
    }

    // With the customize dialog set, a menu bar that went through the text and the image documents: it holds
    // records for the frame's menu and both templates and shows the image document's controls.
    COSMMenuBar* AddBarWithTemplateRecords()
    {
        commandBars->SetCustomizeDialog(&customizeDialog);
        COSMMenuBar* bar = AddMenuBar();
        OpenChild(textTemplate);
        OpenChild(imageTemplate);
        return bar;
    }

    // A document window of the template, shown and activated.
    DocChild* OpenChild(CDocTemplate* docTemplate, DWORD style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                        BOOL answerIcons = FALSE)
    {
        auto child = std::make_unique<DocChild>();
        child->SetActiveDocument(&document);
        child->m_hMenuShared = docTemplate ? docTemplate->m_hMenuShared : nullptr;
        child->answerIcons = answerIcons;
        if (!child->Create(nullptr, "document", style, CRect(0, 0, 240, 160), &frame))
            return nullptr;
        children.push_back(std::move(child));
        PumpMessages();
        return children.back().get();
    }

    // The captions (ampersands kept) of the bar's controls, and their ids.
    static std::vector<std::string> Captions(const COSMCommandBar* bar)
    {
        std::vector<std::string> captions;
        for (int i = 0; i < bar->GetControlCount(); ++i)
            captions.emplace_back(static_cast<LPCSTR>(bar->GetControl(i)->GetCaption()));
        return captions;
    }

    std::unique_ptr<CWinApp> app;
    CDocTemplate* textTemplate = nullptr;
    CDocTemplate* imageTemplate = nullptr;
    MdiTestFrame frame;
    HMENU frameMenu = nullptr;
    CDocument document;
    // Stands for the site's customize dialog: only its presence counts.
    CWnd customizeDialog;
    RefPtr<COSMCommandBars> commandBars;
    std::vector<std::unique_ptr<DocChild>> children;
};

}  // namespace commandbars_test
