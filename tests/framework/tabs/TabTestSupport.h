// Fixtures of the tab strip's tests: a strip that lays itself out at once on a memory DC and records what it asks
// to redraw and which items it clicks, an appearance set whose item lengths the test sets and which records the
// order it draws items in, and a plain window for the capture loops (messages posted to it before a loop starts
// feed the loop).
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <ostream>
#include <vector>

#include "framework/tabs/TabAppearanceSet.h"
#include "framework/tabs/TabManager.h"
#include "framework/tabs/TabPaintManager.h"

// Rectangles in the checks' messages.
inline void PrintTo(const CRect& rc, std::ostream* os)
{
    *os << "(" << rc.left << ", " << rc.top << ", " << rc.right << ", " << rc.bottom << ")";
}

namespace tabs_test {

// Lengths by item index (the rest take nDefaultLength); DrawSingleItem records the index and draws the content.
class TestAppearanceSet : public COSMTabAppearanceSet
{
public:
    int GetItemLength(CDC* pDC, COSMTabManagerItem* pItem) override
    {
        if (!m_bFixedLengths)
            return COSMTabAppearanceSet::GetItemLength(pDC, pItem);
        auto it = m_lengths.find(pItem->GetIndex());
        return it != m_lengths.end() ? it->second : m_nDefaultLength;
    }
    void DrawSingleItem(CDC* pDC, COSMTabManagerItem* pItem) override
    {
        m_drawOrder.push_back(pItem->GetIndex());
        if (m_bDrawContent)
            m_pPaintManager->DrawItemContent(pDC, pItem, pItem->GetRect(), TRUE);
    }

    bool m_bFixedLengths = true;
    bool m_bDrawContent = false;
    int m_nDefaultLength = 40;
    std::map<int, int> m_lengths;
    std::vector<int> m_drawOrder;
};

class TestStrip : public COSMTabManager
{
public:
    explicit TestStrip(COSMTabPaintManager* pPaintManager = nullptr, CRect rcControl = CRect(0, 0, 200, 100))
        : m_pPaintManager(pPaintManager), m_rcControl(rcControl)
    {
        m_hdcLayout = ::CreateCompatibleDC(nullptr);
        if (m_pPaintManager)
            m_pPaintManager->AddClient(this);
    }
    ~TestStrip() override { ::DeleteDC(m_hdcLayout); }

    void RequestLayout() override
    {
        m_nLayouts++;
        if (m_pPaintManager && m_bLayoutAtOnce)
            m_pPaintManager->RepositionTabControl(this, CDC::FromHandle(m_hdcLayout), m_rcControl);
    }
    void RedrawTabs(const CRect* prc, BOOL /*bErase*/) override { m_redraws.push_back(prc ? *prc : CRect()); }
    COSMTabPaintManager* GetPaintManager() const override { return m_pPaintManager; }
    BOOL DrawIcon(CDC* pDC, CPoint pt, COSMTabManagerItem* /*pItem*/, BOOL bDraw, CSize& szIcon) override
    {
        if (!m_bIcons)
            return FALSE;
        szIcon = m_szIcon;
        if (bDraw)
        {
            m_iconPoints.push_back(pt);
            pDC->FillSolidRect(pt.x, pt.y, m_szIcon.cx, m_szIcon.cy, m_clrIcon);
        }
        return TRUE;
    }
    void OnItemClick(COSMTabManagerItem* pItem) override
    {
        m_clicked.push_back(pItem);
        COSMTabManager::OnItemClick(pItem);
    }
    void OnItemsSwapped(COSMTabManagerItem* pDragged, COSMTabManagerItem* pOther) override
    {
        m_swaps.push_back({pDragged, pOther});
    }
    void OnScroll(BOOL bForward) override
    {
        COSMTabManagerNavigateButton* pForward = GetNavigateButton(COSMTabManagerNavigateButton::kScrollForward);
        m_scrollsWhileEnabled.push_back(bForward && pForward->IsEnabled());
        COSMTabManager::OnScroll(bForward);
    }
    void OnNavigateButtonClick(UINT nID) override { m_buttonClicks.push_back(nID); }
    BOOL HasFocus() const override { return m_bFocus; }
    BOOL DrawParentBackground(CDC* pDC, CRect rc) override
    {
        if (!m_bParentBackground)
            return FALSE;
        pDC->FillSolidRect(rc, m_clrParent);
        return TRUE;
    }
    using COSMTabManager::OnNavigateButtonClick;

    // The strip's item indexes in list order, by their captions' first letter.
    std::string Order() const
    {
        std::string order;
        for (int i = 0; i < GetItemCount(); i++)
            order += GetItem(i)->GetCaptionText().IsEmpty() ? '?' : GetItem(i)->GetCaptionText()[0];
        return order;
    }
    void AddItems(int nCount)
    {
        for (int i = 0; i < nCount; i++)
        {
            const char caption[2] = {static_cast<char>('A' + GetItemCount()), 0};
            InsertItem(-1)->SetCaption(caption);
        }
    }

    COSMTabPaintManager* m_pPaintManager;
    CRect m_rcControl;
    HDC m_hdcLayout = nullptr;
    bool m_bLayoutAtOnce = true;
    int m_nLayouts = 0;
    std::vector<CRect> m_redraws;
    std::vector<COSMTabManagerItem*> m_clicked;
    std::vector<std::pair<COSMTabManagerItem*, COSMTabManagerItem*>> m_swaps;
    std::vector<bool> m_scrollsWhileEnabled;
    std::vector<UINT> m_buttonClicks;
    bool m_bIcons = false;
    CSize m_szIcon{16, 16};
    COLORREF m_clrIcon = RGB(1, 200, 3);
    std::vector<CPoint> m_iconPoints;
    BOOL m_bFocus = FALSE;
    bool m_bParentBackground = false;
    COLORREF m_clrParent = RGB(7, 77, 177);
};

// A paint manager with the test appearance set installed.
inline TestAppearanceSet* InstallTestAppearance(COSMTabPaintManager& pm)
{
    auto* pSet = new TestAppearanceSet();
    pm.SetAppearanceSet(pSet);
    return pSet;
}

// A plain top-level window of the test's thread whose messages go to a handler the test sets.
class LoopWindow
{
public:
    LoopWindow()
    {
        static ATOM atom = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = &LoopWindow::WindowProc;
            wc.hInstance = ::GetModuleHandleA(nullptr);
            wc.lpszClassName = "OsmTabLoopTestWindow";
            wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
            return ::RegisterClassA(&wc);
        }();
        (void)atom;
        m_hWnd = ::CreateWindowExA(0, "OsmTabLoopTestWindow", "tabs", WS_POPUP | WS_VISIBLE, 50, 50, 300, 120, nullptr,
                                   nullptr, ::GetModuleHandleA(nullptr), this);
        ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~LoopWindow()
    {
        Drain();
        ::DestroyWindow(m_hWnd);
    }
    LoopWindow(const LoopWindow&) = delete;
    LoopWindow& operator=(const LoopWindow&) = delete;

    HWND Handle() const { return m_hWnd; }
    void Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { ::PostMessageA(m_hWnd, message, wParam, lParam); }
    void PostMove(int x, int y) { Post(WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
    void PostUp(int x, int y) { Post(WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
    // Dispatches whatever the loop left in the queue.
    void Drain()
    {
        MSG msg;
        while (::PeekMessageA(&msg, m_hWnd, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
    }

    std::function<void(UINT, WPARAM, LPARAM)> m_onMessage;

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<LoopWindow*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        if (self && self->m_onMessage && message >= WM_APP)
        {
            self->m_onMessage(message, wParam, lParam);
            return 0;
        }
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    }

    HWND m_hWnd = nullptr;
};

}  // namespace tabs_test
