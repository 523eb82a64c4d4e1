// COSMTabWorkspace: one group of tabs of the MDI tab workspace (COSMTabClientWnd). Each tab stands for one MDI child
// window (the item's handle); the group asks its owner, the client window, for everything that is the workspace's
// (paint manager, layout, tab data, what a click or a drag means) and paints in the window its owner gives it: the
// client window itself when the workspace shows groups, the single strip's window or a command bar otherwise.
//
//   auto* group = new COSMTabWorkspace;          // proportion 100, no owner
//   clientWnd.AttachWorkspace(group, -1);        // the client owns it from now on
//   group->InsertItem(-1)->SetHandle(hWndChild);
#pragma once

#include <windows.h>

#include "classlib/Geometry.h"
#include "framework/tabs/TabManager.h"

class COSMTabClientWnd;

class COSMTabWorkspace : public COSMTabManager
{
public:
    COSMTabWorkspace() = default;
    ~COSMTabWorkspace() override;

    // Override these (in this order).
    void Refresh() override;
    void RequestLayout() override;
    DWORD_PTR GetItemData(const COSMTabManagerItem* pItem) const override;
    COLORREF GetItemColor(const COSMTabManagerItem* pItem) const override;
    CString GetItemTooltip(const COSMTabManagerItem* pItem) const override;
    COSMTabPaintManager* GetPaintManager() const override;
    void RedrawTabs(const CRect* prc, BOOL bErase) override;
    BOOL IsAllowReorder() const override;
    void SetAllowReorder(BOOL bAllowReorder) override;
    BOOL IsDrawStaticFrame() const override;
    BOOL DrawIcon(CDC* pDC, CPoint pt, COSMTabManagerItem* pItem, BOOL bDraw, CSize& szIcon) override;
    COSMMarkupContext* GetMarkupContext() const override;
    void OnItemClick(COSMTabManagerItem* pItem) override;
    BOOL OnBeforeItemClick(COSMTabManagerItem* pItem) override;
    void DragItem(HWND hWnd, CPoint pt, COSMTabManagerItem* pItem) override;
    using COSMTabManager::OnNavigateButtonClick;
    void OnNavigateButtonClick(COSMTabManagerNavigateButton* pButton) override;
    BOOL IsMouseLocked() const override;
    virtual COSMTabClientWnd* GetOwner() const { return m_pOwner; }
    // The strip's rectangle changed under it; the command-bar control re-lays its bar out.
    virtual void OnStripRectChanged() {}

    // Not meant to be overridden.
    double GetProportion() const { return m_dProportion; }
    void SetProportion(double dProportion) { m_dProportion = dProportion; }
    CRect GetSplitterRect() const { return m_rcSplitter; }
    // The window the group paints in and takes the mouse in.
    HWND GetWindow() const { return m_hWnd; }
    // The item of the MDI child, or null.
    COSMTabManagerItem* FindItem(HWND hWndChild) const;

    // For the client window's own use.
    void SetOwner(COSMTabClientWnd* pOwner) { m_pOwner = pOwner; }
    void SetWindow(HWND hWnd) { m_hWnd = hWnd; }
    void SetSplitterRect(const CRect& rc) { m_rcSplitter = rc; }
    // The list as it is, for the drag's swaps.
    std::vector<RefPtr<COSMTabManagerItem>>& Items() { return m_arrItems; }

protected:
    COSMTabClientWnd* m_pOwner = nullptr;
    double m_dProportion = 100.0;
    CRect m_rcSplitter{0, 0, 0, 0};
    HWND m_hWnd = nullptr;
};
