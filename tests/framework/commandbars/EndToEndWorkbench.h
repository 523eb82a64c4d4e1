// The workbench: an application's MDI frame with every kind of bar and control the framework has, built as a program
// builds it at start, for the end-to-end tests that drive it only by synthesized input.
//
//   Workbench bench;                      // frame shown and active, two documents open
//   ASSERT_TRUE(bench.created);
//   ClickAt(bench.CentreOf(*bench.marks, ID_E2E_WRAP));
//   EXPECT_EQ(ID_E2E_WRAP, bench.frame.commands.back());
//
// The menu bar holds the window list, the toolbars list, the recent files, the OLE verbs and a table-size selector;
// "Standard" is made from a toolbar resource; "Controls" holds the three popup kinds, a combo box with a list, a combo
// box with a gallery, an edit with spin buttons and a custom control hosting a scroll bar; "Marks" holds a label, a
// bitmap, a hyperlink, a check box, a radio button, a progress bar and a gallery; "Properties" is a dialog bar docked
// on the left. Below sit the status bar (plain, markup, icon, button and switch panes, the size gripper) and above
// the documents the message bar. The toolbars context menu offers "Customize" (35001), which opens the customize
// sheet over the documents.
#pragma once

#include "CommandBarsTestSupport.h"
#include "EndToEndTestIds.h"
#include "InputTestSupport.h"

#include "classlib/MDIChildWnd.h"
#include "classlib/MDIFrameWnd.h"
#include "classlib/WinApp.h"
#include "framework/commandbars/MenuBar.h"
#include "framework/commandbars/MessageBar.h"
#include "framework/commandbars/StatusBar.h"
#include "framework/commandbars/ToolBar.h"
#include "framework/controls/CustomizeSheet.h"
#include "framework/controls/DialogBar.h"
#include "framework/controls/ScrollBarCtrl.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace commandbars_test {

// Records the commands that reach it and the toolbars context menu the bars show; the customize command (35001)
// runs what the workbench hands it.
class WorkbenchFrame : public CMDIFrameWnd
{
public:
    std::vector<UINT> commands;
    std::function<void()> onCustomize;
    COSMPopupBar* toolbarsMenu = nullptr;  // the last one shown (alive while it shows)

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        const UINT id = LOWORD(wParam);
        commands.push_back(id);
        if (id == 35001 && onCustomize)
        {
            onCustomize();
            return TRUE;
        }
        return CMDIFrameWnd::OnCommand(wParam, lParam);
    }
    int CountOf(UINT id) const { return static_cast<int>(std::count(commands.begin(), commands.end(), id)); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == COSMCommandBars::kMessageToolbarsContextMenu)
            toolbarsMenu = reinterpret_cast<COSMPopupBar*>(lParam);
        return CMDIFrameWnd::WindowProc(message, wParam, lParam);
    }
};

// The window the custom control hosts: a scroll bar on a panel that steps it by its arrows.
class ScrollPanel : public CWnd
{
public:
    BOOL Create(CWnd* parent);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

struct Workbench
{
    // The frame's place on the screen: both workbenches of a save-and-load test sit alike.
    static CRect FrameRect() { return CRect(20, 20, 980, 700); }

    Workbench();
    ~Workbench();
    Workbench(const Workbench&) = delete;
    Workbench& operator=(const Workbench&) = delete;

    // The screen centre of the control of the id on the bar (the first one; (0, 0) when it is not there).
    static CPoint CentreOf(const COSMCommandBar& bar, UINT id);
    static COSMControl* ControlOf(const COSMCommandBar& bar, UINT id);
    // The popup bar of the menu bar's title at index, while it is open (else null).
    COSMCommandBar* OpenMenu(int index) const;
    // Runs the steps from the frame's timer and pumps until they ran and done holds.
    bool Drive(std::vector<Step> steps, const std::function<bool()>& done, DWORD timeoutMs = 6000);

    std::unique_ptr<CWinApp> app;
    BOOL created = FALSE;
    WorkbenchFrame frame;
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    COSMMenuBar* menuBar = nullptr;
    COSMToolBar* standard = nullptr;
    COSMToolBar* controls = nullptr;
    COSMToolBar* marks = nullptr;
    COSMDialogBar* properties = nullptr;
    COSMStatusBar statusBar;
    COSMMessageBar messageBar;
    ScrollPanel scrollPanel;      // hosted by the custom control
    COSMScrollBarCtrl scrollBar;  // on the panel
    CWnd propertiesList;          // the dialog bar's window
    std::vector<std::unique_ptr<CMDIChildWnd>> documents;
    // The customize sheet the toolbars context menu's 35001 opens (it deletes itself when its window goes), its
    // window, and the menu its commands page takes its categories from.
    COSMCustomizeSheet* sheet = nullptr;
    HWND sheetWindow = nullptr;
    HMENU categoriesMenu = nullptr;
    // Only its presence counts: the bars offer customizing.
    CWnd customizeAvailable;

    // The application's 35001 handler: the modeless sheet over the documents, categories from the frame's menu.
    void OpenCustomizeSheet();
    bool IsSheetOpen() const { return sheetWindow && ::IsWindow(sheetWindow); }

private:
    COSMToolBar* AddResourceToolBar(const char* title, UINT id);
    bool BuildControlsBar();
    bool BuildMarksBar();
    bool BuildPropertiesBar();
    bool BuildStatusBar();
    bool BuildMessageBar();
    bool OpenDocument(const char* title);
};

}  // namespace commandbars_test
