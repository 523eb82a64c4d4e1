// The ribbon workbench: an application's MDI frame carrying every part of the framework at once, built as a program
// builds it at start, for the end-to-end tests that drive it only by synthesized input.
//
//   std::unique_ptr<RibbonWorkbench> bench = BuildRibbonWorkbench();   // shown, active, three documents open
//   ASSERT_TRUE(bench && bench->created);
//   ClickAt(bench->ToolBarButtonCentre(0));
//   EXPECT_EQ(1, bench->frame.CommandsOf(kE2eNew));
//
// The ribbon is made by class name through the manager and is customizable: tabs "Home" and "Insert" and the context
// tab "Format" under the header "Picture Tools"; Home holds groups of large and medium buttons and a resizable
// gallery, more than fit a narrow frame even reduced, so that its last group, Editing, collapses to its popup
// button there. Three quick-access
// controls sit above the tabs; the system button's menu holds two items, the recent files (three names in the
// application's list) under their caption, and two foot buttons. Below the ribbon a toolbar, at the bottom a status
// bar with a text pane and a switch pane, and in the client the MDI tab workspace with grouping and three children.
#pragma once

#include "CommandBarsTestSupport.h"
#include "InputTestSupport.h"

#include "classlib/MDIChildWnd.h"
#include "classlib/MDIFrameWnd.h"
#include "classlib/WinApp.h"
#include "framework/commandbars/StatusBar.h"
#include "framework/commandbars/ToolBar.h"
#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonControls.h"
#include "framework/ribbon/RibbonGroup.h"
#include "framework/ribbon/RibbonSystemButton.h"
#include "framework/ribbon/RibbonTab.h"
#include "framework/tabs/TabClientWnd.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ribbon_end_to_end {

using namespace commandbars_test;

// The application's commands.
enum : UINT
{
    kE2ePaste = 32100,
    kE2eCut,
    kE2eCopy,
    kE2eBold,
    kE2eItalic,
    kE2eUnderline,
    kE2eGrow,
    kE2eShrink,
    kE2eStyles,
    kE2eFind,
    kE2eReplace,
    kE2eSelect,
    kE2eTable,
    kE2ePicture,
    kE2eShapes,
    kE2eBrightness,
    kE2eSave,
    kE2eUndo,
    kE2eRedo,
    kE2eNew,
    kE2eOpen,
    kE2ePrint,
    kE2eOptions,
    kE2eExit,
    kE2ePaneSwitches,
    kE2eSwitchNormal,
    kE2eSwitchWide,
    kE2eBullets,
    kE2eNumbering,
    kE2eIndent,
    kE2eOutdent,
    kE2eAlignLeft,
    kE2eAlignRight,
    kE2eLine,
    kE2eArrow,
    kE2eBox,
    kE2eSpelling,
    kE2eThesaurus,
    kE2eCount,
};
// The groups' ids, the toolbar's bar id and the recent list's placeholder id.
enum : int
{
    kE2eClipboardGroup = 101,
    kE2eFontGroup,
    kE2eStylesGroup,
    kE2eEditingGroup,
    kE2eTablesGroup,
    kE2eIllustrationsGroup,
    kE2eAdjustGroup,
    kE2eParagraphGroup,
    kE2eDrawingGroup,
    kE2eProofingGroup,
};
constexpr UINT kE2eToolBarId = 310;
constexpr UINT kE2eRecentList = 35003;
constexpr UINT kE2eFirstRecentFile = 57616;

// The site notifications the frame records besides WM_COMMAND and WM_SYSCOMMAND.
constexpr UINT kE2eRibbonMinimized = 10349;
constexpr UINT kE2eContextMenuBuilt = 10332;
constexpr UINT kE2eControlNotify = 0x2862;

// The frame records WM_COMMAND, WM_SYSCOMMAND and the ribbon's site notifications (each goes on to the frame's own
// handling, the notifications answered 0), keeps the Alt menu from tracking the system menu (the bars answer it
// first), and asks its workspace first about every command, as a program hosting one does.
class RibbonWorkbenchFrame : public CMDIFrameWnd
{
public:
    struct Record
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    COSMTabClientWnd* workspace = nullptr;
    // Called while a recorded message is handled (its lParam may live only that long).
    std::function<void(UINT message, WPARAM wParam, LPARAM lParam)> onRecorded;

    const std::vector<Record>& Records() const { return m_records; }
    int CountOf(UINT message) const;
    // The WM_COMMAND records of the id.
    int CommandsOf(UINT id) const;
    // The ids of every WM_COMMAND, in order.
    std::vector<UINT> Commands() const;
    void ClearRecords() { m_records.clear(); }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::vector<Record> m_records;
};

struct RibbonWorkbench
{
    // The frame's place on the screen: every workbench of a run sits alike, so that a saved layout lands alike.
    static CRect FrameRect() { return CRect(20, 20, 900, 640); }

    RibbonWorkbench() = default;
    ~RibbonWorkbench();
    RibbonWorkbench(const RibbonWorkbench&) = delete;
    RibbonWorkbench& operator=(const RibbonWorkbench&) = delete;

    // Lays the frame out again and lets the bars settle.
    void Relayout();
    // The screen centre of a control of a bar, and of a tab of the ribbon.
    static CPoint Centre(const COSMControl* control);
    CPoint TabCentre(const COSMRibbonTab* tab) const;
    // The ribbon's group of the id (null when it is not there).
    COSMRibbonGroup* Group(int id) const { return ribbon ? ribbon->FindGroup(id) : nullptr; }
    // The child the MDI client calls active.
    HWND ActiveChild() const;

    std::unique_ptr<CWinApp> app;
    BOOL created = FALSE;
    RibbonWorkbenchFrame frame;
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    COSMRibbonBar* ribbon = nullptr;
    COSMRibbonTab* home = nullptr;
    COSMRibbonTab* insert = nullptr;
    COSMRibbonTab* format = nullptr;  // the context tab
    COSMRibbonControlSystemButton* systemButton = nullptr;
    COSMRibbonSystemPopupBar* systemMenu = nullptr;
    COSMToolBar* toolBar = nullptr;
    COSMStatusBar statusBar;
    COSMTabClientWnd workspace;
    std::vector<std::unique_ptr<CMDIChildWnd>> children;
};

// Builds the workbench with its default content, as the application does each time it starts.
std::unique_ptr<RibbonWorkbench> BuildRibbonWorkbench();

}  // namespace ribbon_end_to_end
