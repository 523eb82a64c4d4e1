// COSMCustomizeSheet: the modeless customize sheet of a frame's command bars. Its pages list the toolbars and the
// commands by category; while it is open the bars are in customize mode, controls are dragged between bars, and a
// right click on a control opens the sheet's context menu, whose commands change the selected control in place:
//
//   void CMainFrame::OnCustomize()                                  // the application's 35001 handler
//   {
//       auto* sheet = new COSMCustomizeSheet(m_commandBars);        // deletes itself when its window goes
//       sheet->GetCommandsPage()->AddCategories(menu);              // one category per top-level popup
//       sheet->Create();                                            // owned by the bars' site
//   }
//
// The menu's commands: default style, image and text, text only, begin group, reset, delete, copy, paste, reset and
// edit the button image, the name box and a grid of predefined images. Each writes the control's fields and lays
// its bar out again at once; there is no undo besides the two resets.
#pragma once

#include "classlib/CmdUI.h"
#include "classlib/PropertySheet.h"
#include "classlib/RefPtr.h"

#include <memory>

class COSMCommandBar;
class COSMCommandBars;
class COSMControl;
class COSMCustomizeCommandsPage;
class COSMCustomizeToolbarsPage;
class COSMImageManager;
class COSMPopupBar;
struct NMOSMCONTROL;

class COSMCustomizeSheet : public CPropertySheet
{
    DECLARE_DYNAMIC(COSMCustomizeSheet)

public:
    // The context menu's command ids; 9130 is also the bar id of the image grid.
    static constexpr UINT kCommandReset = 9123;
    static constexpr UINT kCommandDelete = 9124;
    static constexpr UINT kCommandName = 9125;
    static constexpr UINT kCommandCopyImage = 9126;
    static constexpr UINT kCommandPasteImage = 9127;
    static constexpr UINT kCommandResetImage = 9128;
    static constexpr UINT kCommandEditImage = 9129;
    static constexpr UINT kCommandChangeImage = 9130;
    static constexpr UINT kCommandStyleDefault = 9131;
    static constexpr UINT kCommandStyleImageAndText = 9132;
    static constexpr UINT kCommandStyleTextOnly = 9133;
    static constexpr UINT kCommandBeginGroup = 9134;
    // The notification code of a control that was executed.
    static constexpr UINT kNotifyExecute = 100;
    // Gives the sheet the keyboard focus.
    static constexpr UINT kMessageActivateSheet = 0x8130;
    // Control notifications to the notification site (wParam the id, lParam the block).
    static constexpr UINT kMessageControlNotify = 0x2862;

    // Holds a reference on the manager; adds the toolbars page, then the commands page; makes the context menu and
    // the predefined images.
    explicit COSMCustomizeSheet(COSMCommandBars* commandBars);
    ~COSMCustomizeSheet() override;

    // ---- Override these ----------------------------------------------------------------------------------------
    // The sheet window, owned by the manager's site (or the parent given): customize mode goes on and the drop
    // source names the sheet until the window goes.
    BOOL Create(CWnd* pParentWnd = nullptr) override;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    COSMCommandBars* GetCommandBars() const { return m_commandBars.Get(); }
    // The manager's customize selection; null when nothing is selected.
    COSMControl* GetSelectedControl() const;
    // Shows the context menu at the screen point and returns when it closes; the sheet is the menu's command
    // target. Nothing without a menu.
    void TrackContextMenu(int x, int y);
    // A message box over the sheet while the sheet, the site and the thread's modeless windows wait; the focus
    // comes back to where it was. The pages ask their questions through it.
    int MessageBox(LPCSTR text, UINT type);

    COSMPopupBar* GetContextMenu() const { return m_contextMenu.Get(); }
    // The images of the change-image grid: one per icon set, under ids 1 ... n. The sheet holds a reference.
    COSMImageManager* GetPredefinedImages() const { return m_predefinedImages.Get(); }
    void SetPredefinedImages(COSMImageManager* images);
    COSMCustomizeToolbarsPage* GetToolbarsPage() const { return m_toolbarsPage.get(); }
    COSMCustomizeCommandsPage* GetCommandsPage() const { return m_commandsPage.get(); }

    // The message box MessageBox shows (tests answer for the user).
    static int(WINAPI* s_pfnMessageBox)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

protected:
    // ---- The context menu's commands ------------------------------------------------------------------------------
    afx_msg void OnCustomizeDefaultStyle();
    afx_msg void OnCustomizeImageAndText();
    afx_msg void OnCustomizeTextOnly();
    afx_msg void OnCustomizeBeginGroup();
    afx_msg void OnCustomizeDelete();
    afx_msg void OnCustomizeCopyImage();
    afx_msg void OnCustomizePasteImage();
    afx_msg void OnCustomizeResetImage();
    afx_msg void OnCustomizeReset();
    afx_msg void OnCustomizeEditImage();

    afx_msg void OnUpdateDefaultStyle(CCmdUI* pCmdUI);
    afx_msg void OnUpdateImageAndText(CCmdUI* pCmdUI);
    afx_msg void OnUpdateTextOnly(CCmdUI* pCmdUI);
    afx_msg void OnUpdateBeginGroup(CCmdUI* pCmdUI);
    afx_msg void OnUpdateName(CCmdUI* pCmdUI);
    afx_msg void OnUpdateImageCommand(CCmdUI* pCmdUI);
    afx_msg void OnUpdatePasteImage(CCmdUI* pCmdUI);
    afx_msg void OnUpdateResetImage(CCmdUI* pCmdUI);
    afx_msg void OnUpdateReset(CCmdUI* pCmdUI);

    // A popup is about to show (lParam the popup): the image grid fills itself the first time.
    afx_msg LRESULT OnInitCommandBar(WPARAM wParam, LPARAM lParam);
    // A control of the menu notified (wParam the id, lParam the block).
    afx_msg LRESULT OnControlNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnActivateSheet(WPARAM wParam, LPARAM lParam);
    afx_msg void OnDestroy();

    // The window goes: customize mode ends and the drop source forgets the sheet; the object deletes itself.
    void PostNcDestroy() override;

    DECLARE_MESSAGE_MAP()

private:
    // The selected control's custom style, and a re-layout of its bar.
    void SetSelectedStyle(int customStyle);
    // The control's bar lays itself out again; nothing for a control outside any bar.
    static void RecalcParentLayout(COSMControl* control);
    // Type 1 to 4 with an icon id.
    static BOOL HasButtonImage(const COSMControl* control);
    // An executed image button of the grid gives the selection that image.
    void ApplyPredefinedImage(COSMControl* imageButton);
    void CreateContextMenu();
    void LoadPredefinedImages();

    RefPtr<COSMCommandBars> m_commandBars;
    RefPtr<COSMPopupBar> m_contextMenu;
    RefPtr<COSMImageManager> m_predefinedImages;
    std::unique_ptr<COSMCustomizeToolbarsPage> m_toolbarsPage;
    std::unique_ptr<COSMCustomizeCommandsPage> m_commandsPage;
    BOOL m_customizing = FALSE;
};
