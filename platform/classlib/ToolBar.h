// CToolBar: a row of command buttons, the common controls' toolbar window under a CWnd. Each button carries a
// command id; a click sends WM_COMMAND with it to the parent, and OnUpdateCmdUI asks a command target which buttons
// are enabled and checked, as menus are asked.
//
//   CToolBar bar;
//   bar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOOLTIPS, AFX_IDW_TOOLBAR);
//   bar.SetSizes(CSize(23, 23), CSize(16, 16));
//   static const UINT ids[] = {ID_FILE_NEW, ID_SEPARATOR, ID_FILE_OPEN};
//   bar.SetButtons(ids, 3);
//   bar.SetImageList(images);                       // one image per button that is not a separator
//   CSize size = bar.CalcFixedLayout(FALSE, TRUE);  // the room its buttons take
//
// With CBRS_TOOLTIPS the bar shows tips; their texts are asked of the parent (TTN_NEEDTEXT, the button's command id
// in idFrom). A button whose state has TBSTATE_WRAP ends its row.
#pragma once

#include "classlib/CmdUI.h"
#include "classlib/Geometry.h"

#include <commctrl.h>

#ifndef CBRS_TOOLTIPS
#define CBRS_TOOLTIPS 0x0010L
#endif
#ifndef ID_SEPARATOR
#define ID_SEPARATOR 0
#endif
#ifndef AFX_IDW_TOOLBAR
#define AFX_IDW_TOOLBAR 0xE800
#endif

class CToolBar : public CWnd
{
    DECLARE_DYNAMIC(CToolBar)

public:
    // ---- Override these ----------------------------------------------------------------------------------------
    // Enables and checks every button as pTarget's update handlers say; with bDisableIfNoHndler, a button whose
    // command nobody handles is disabled.
    virtual void OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // dwStyle: window styles, and CBRS_TOOLTIPS for tips.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOOLTIPS, UINT nID = AFX_IDW_TOOLBAR);
    // Every button has sizeButton; images are sizeImage.
    void SetSizes(SIZE sizeButton, SIZE sizeImage);
    // Replaces the buttons: one per id, ID_SEPARATOR a separator; the n-th other button shows image n.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
    int GetCount() const;
    UINT GetItemID(int nIndex) const;
    int CommandToIndex(UINT nIDFind) const;
    // TBSTATE_* of the button at nIndex.
    UINT GetButtonState(int nIndex) const;
    void SetButtonState(int nIndex, UINT nState);
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    HIMAGELIST SetImageList(HIMAGELIST hImageList);
    // The size that holds every button as the bar lays them out (rows ended by TBSTATE_WRAP).
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
};
