// COSMTabManager: the window-less engine of a tab strip. It owns the ordered items and the strip's navigation
// buttons, remembers the selected, hot and pressed item and the hot button, keeps the scroll offset and the
// rectangles the layout produced, and turns mouse and keyboard input into selection, scrolling, reordering and
// button actions. It draws nothing and knows no window: a subclass (the MDI tab workspace, the ribbon's tab row)
// supplies the paint manager, the window to invalidate and what a click means:
//
//   class CMyStrip : public COSMTabManager {
//       void RequestLayout() override { ...GetPaintManager()->RepositionTabControl(this, &dc, rc); Invalidate... }
//       void RedrawTabs(const CRect* prc, BOOL bErase) override { ::InvalidateRect(m_hWnd, prc, bErase); }
//       COSMTabPaintManager* GetPaintManager() const override { return m_pPaintManager; }
//       BOOL DrawIcon(CDC*, CPoint, COSMTabManagerItem*, BOOL, CSize&) override { return FALSE; }
//   };
//   strip.InsertItem(-1)->SetCaption("One");
//   strip.OnMouseDown(hWnd, pt, FALSE);       // from WM_LBUTTONDOWN
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <vector>

#include "classlib/CString.h"
#include "classlib/DC.h"
#include "classlib/Geometry.h"
#include "classlib/RefPtr.h"
#include "framework/foundation/VisualStyleWrapper.h"
#include "framework/tabs/TabManagerItem.h"
#include "framework/tabs/TabManagerNavigateButton.h"

class COSMTabPaintManager;
class COSMMarkupContext;

// The root of the strips: a layout request and a refresh that asks for one.
class COSMTabManagerBase
{
public:
    virtual void Refresh() { RequestLayout(); }
    virtual void RequestLayout() = 0;
    virtual ~COSMTabManagerBase() = default;
};

// Rows of the multi-row layout: the first and the last item index of each row.
struct COSMTabManagerRow
{
    int nFirstItem = 0;
    int nLastItem = -1;
};

class COSMTabManager : public COSMTabManagerBase
{
public:
    COSMTabManager();
    ~COSMTabManager() override;

    COSMTabManager(const COSMTabManager&) = delete;
    COSMTabManager& operator=(const COSMTabManager&) = delete;

    // Override these (in this order: the subclasses of the workspace and the ribbon rely on it).
    virtual CString GetItemCaption(const COSMTabManagerItem* pItem) const;
    virtual DWORD_PTR GetItemData(const COSMTabManagerItem* pItem) const;
    virtual COLORREF GetItemColor(const COSMTabManagerItem* pItem) const;
    virtual CString GetItemTooltip(const COSMTabManagerItem* pItem) const;
    virtual void OnItemsChanged();
    virtual void SetSelectedItem(COSMTabManagerItem* pItem);
    virtual void ClickItem(COSMTabManagerItem* pItem);
    virtual void GetItemMetrics(CSize* pNormal, CSize* pMin, CSize* pMax) const;
    virtual int GetItemsLength() const;
    virtual COSMTabPaintManager* GetPaintManager() const = 0;
    virtual void ReservedOneArgument(int /*nReserved*/) {}
    virtual void RedrawTabs(const CRect* prc, BOOL bErase) = 0;
    virtual BOOL IsAllowReorder() const { return m_bAllowReorder; }
    virtual void SetAllowReorder(BOOL bAllowReorder) { m_bAllowReorder = bAllowReorder; }
    virtual BOOL IsDrawStaticFrame() const;
    // TRUE when the item has an icon; with bDraw the icon is drawn at pt in szIcon.
    virtual BOOL DrawIcon(CDC* pDC, CPoint pt, COSMTabManagerItem* pItem, BOOL bDraw, CSize& szIcon) = 0;
    virtual int GetPosition() const;
    virtual void OnScroll(BOOL bForward);
    // The tool id (a button's list position, or the item's index) or -1.
    virtual INT_PTR PerformToolHitTest(HWND hWnd, CPoint pt, TOOLINFOA* pTI);
    virtual BOOL PerformKeyDown(HWND hWnd, UINT nChar);
    virtual BOOL ReservedFiveArguments(int, int, int, int, int) { return FALSE; }
    virtual COSMMarkupContext* GetMarkupContext() const { return m_pMarkupContext; }
    virtual BOOL IsNavigateButtonEnabled(const COSMTabManagerNavigateButton* pButton) const;
    virtual void OnItemClick(COSMTabManagerItem* pItem);
    virtual BOOL OnBeforeItemClick(COSMTabManagerItem* /*pItem*/) { return TRUE; }
    virtual void DragItem(HWND hWnd, CPoint pt, COSMTabManagerItem* pItem);
    virtual void OnItemsSwapped(COSMTabManagerItem* /*pDragged*/, COSMTabManagerItem* /*pOther*/) {}
    virtual void OnNavigateButtonClick(UINT /*nID*/) {}
    virtual void OnNavigateButtonClick(COSMTabManagerNavigateButton* pButton);
    virtual BOOL IsMouseLocked() const { return FALSE; }
    virtual BOOL HasFocus() const { return FALSE; }
    virtual void ReservedThreeArguments(int, int, int) {}
    // TRUE when the strip paints its parent's background under itself; the colour set then leaves a header of
    // plain button face unpainted.
    virtual BOOL DrawParentBackground(CDC* /*pDC*/, CRect /*rc*/) { return FALSE; }

    // Not meant to be overridden.
    // Inserts pItem (a new item when null) at nIndex (appended when out of range); the strip takes over the caller's
    // reference.
    COSMTabManagerItem* InsertItem(int nIndex, COSMTabManagerItem* pItem = nullptr);
    // The same with the reference spelled out: the strip holds the one item holds.
    COSMTabManagerItem* InsertItem(int nIndex, RefPtr<COSMTabManagerItem> item);
    BOOL DeleteItem(int nIndex);
    void DeleteAllItems();
    int GetItemCount() const { return static_cast<int>(m_arrItems.size()); }
    COSMTabManagerItem* GetItem(int nIndex) const;
    void SetCurSel(int nIndex);
    int GetCurSel() const;
    COSMTabManagerItem* GetSelectedItem() const { return m_pSelected; }
    COSMTabManagerItem* GetHighlightedItem() const { return m_pHighlighted; }
    COSMTabManagerItem* GetPressedItem() const { return m_pPressed; }
    COSMTabManagerNavigateButton* GetHighlightedButton() const { return m_pHighlightedNavigateButton; }
    COSMTabManagerItem* FindNextVisibleItem(int nIndex, int nStep) const;
    COSMTabManagerItem* HitTest(CPoint pt) const;
    COSMTabManagerNavigateButton* FindNavigateButton(CPoint pt, BOOL bStripOnly, int* pIndex = nullptr) const;
    BOOL OnMouseDown(HWND hWnd, CPoint pt, BOOL bButtonsOnly);
    void OnMouseMove(HWND hWnd, CPoint pt);
    void EnsureVisible(COSMTabManagerItem* pItem);
    void SetScrollOffset(int nOffset);
    int GetScrollOffset() const { return m_nScrollOffset; }
    void SetActive(BOOL bActive);
    BOOL IsActive() const { return m_bActive; }
    int GetLayout() const;
    void TrackItemClick(HWND hWnd, CPoint pt, COSMTabManagerItem* pItem);
    BOOL IsHorizontalPosition() const { return GetPosition() == 0 || GetPosition() == 2; }
    int GetCloseOnTabsMode() const { return m_nCloseOnTabsMode; }
    void SetCloseOnTabsMode(int nMode) { m_nCloseOnTabsMode = nMode; }
    // Makes the strip's markup context (captions set from now on are parsed as markup) or releases it.
    void EnableMarkup(BOOL bEnable = TRUE);
    const std::vector<RefPtr<COSMTabManagerNavigateButton>>& GetNavigateButtons() const { return m_arrNavigateButtons; }
    COSMTabManagerNavigateButton* GetNavigateButton(int nId) const;
    CRect GetHeaderRect() const { return m_rcHeader; }
    CRect GetControlRect() const { return m_rcControl; }
    CRect GetClientRect() const { return m_rcClient; }
    int GetScrollStep() const { return m_nScrollStep; }

    // For the library's own use (the paint manager writes the layout back).
    void SetHeaderRect(const CRect& rc) { m_rcHeader = rc; }
    void SetControlRect(const CRect& rc) { m_rcControl = rc; }
    void SetClientRect(const CRect& rc) { m_rcClient = rc; }
    void SetScrollOffsetDirect(int nOffset) { m_nScrollOffset = nOffset; }
    std::vector<COSMTabManagerRow>& GetRows() { return m_arrRows; }
    const std::vector<COSMTabManagerRow>& GetRows() const { return m_arrRows; }
    // The paint manager forgets a strip it served before the strip goes.
    void DetachPaintManager(COSMTabPaintManager* pPaintManager);

protected:
    // The settings of the paint manager, or the defaults while the strip has none.
    BOOL IsHotTracking() const;
    BOOL IsSelectOnPress() const;
    // The one capture loop of the press and the drag: onMove sees every WM_MOUSEMOVE point; the loop leaves on
    // Escape, WM_CANCELMODE, a right press, a left release and when the capture moves. TRUE when a left release
    // ended it. pt holds the last point.
    BOOL RunCaptureLoop(HWND hWnd, CPoint& pt, const std::function<void(CPoint)>& onMove);
    // While a tab is dragged: it trades places with the tab whose slot (the rectangles the tabs had when the drag
    // began) lies under the point, unless the list changed since then.
    void SwapIntoSlotUnder(COSMTabManagerItem* pItem, const std::vector<CRect>& slots, CPoint ptMove);
    BOOL IsInList(const COSMTabManagerItem* pItem) const;
    CRect GetItemDrawRect(COSMTabManagerItem* pItem) const;

    COSMTabManagerItem* m_pSelected = nullptr;
    COSMTabManagerItem* m_pHighlighted = nullptr;
    COSMTabManagerItem* m_pPressed = nullptr;
    COSMTabManagerNavigateButton* m_pHighlightedNavigateButton = nullptr;
    int m_nScrollOffset = 0;
    BOOL m_bAllowReorder = TRUE;
    BOOL m_bActive = TRUE;
    int m_nCloseOnTabsMode = 0;
    CRect m_rcHeader{0, 0, 0, 0};
    CRect m_rcControl{0, 0, 0, 0};
    CRect m_rcClient{0, 0, 0, 0};
    // The strip's references on its items and its own buttons.
    std::vector<RefPtr<COSMTabManagerItem>> m_arrItems;
    std::vector<RefPtr<COSMTabManagerNavigateButton>> m_arrNavigateButtons;
    COSMVisualStyleWrapper m_themeTab;
    std::vector<COSMTabManagerRow> m_arrRows;
    int m_nScrollStep = 20;
    COSMMarkupContext* m_pMarkupContext = nullptr;
    // The paint managers that list this strip as a client (the strip leaves them when it goes).
    std::vector<COSMTabPaintManager*> m_arrPaintManagers;

    friend class COSMTabManagerNavigateButton;
    friend class COSMTabPaintManager;
};
