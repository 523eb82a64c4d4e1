#include "framework/tabs/TabAppearanceSet.h"

#include <algorithm>

#include "classlib/ScopedHandle.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/foundation/ColorManager.h"
#include "framework/tabs/TabColorSet.h"
#include "framework/tabs/TabManager.h"
#include "framework/tabs/TabPaintManager.h"

void COSMTabAppearanceSet::AdjustRectByPosition(CRect& rc, int l, int t, int r, int b, int nPosition)
{
    switch (nPosition)
    {
    case 0:
        rc.left -= l, rc.top -= t, rc.right += r, rc.bottom += b;
        break;
    case 1:
        rc.left -= t, rc.top -= l, rc.right += b, rc.bottom += r;
        break;
    case 2:
        rc.left -= l, rc.top -= b, rc.right += r, rc.bottom += t;
        break;
    case 3:
        rc.left -= b, rc.top -= l, rc.right += t, rc.bottom += r;
        break;
    default:
        break;
    }
}

void COSMTabAppearanceSet::RefreshMetrics()
{
    const ScopedWindowDC screen = GetScopedWindowDC(nullptr);
    int nTextHeight = 0;
    {
        COSMFontDC font(CDC::FromHandle(screen.Get()),
                        m_pPaintManager ? m_pPaintManager->GetFont(FALSE, FALSE) : nullptr);
        SIZE sz{};
        ::GetTextExtentPoint32A(screen.Get(), " ", 1, &sz);
        nTextHeight = sz.cy;
    }
    m_nBaseRowHeight = std::max(nTextHeight + 3, 18);
}

CRect COSMTabAppearanceSet::GetClientMargin() const
{
    return m_pPaintManager ? m_pPaintManager->m_rcClientMargin : CRect(0, 0, 0, 0);
}

int COSMTabAppearanceSet::GetItemLength(CDC* pDC, COSMTabManagerItem* pItem)
{
    return m_pPaintManager->DrawItemContent(pDC, pItem, CRect(0, 0, 0, 0), FALSE);
}

int COSMTabAppearanceSet::GetRowHeight(const COSMTabManager* pTabManager) const
{
    const CRect& inset = m_pPaintManager->m_rcItemInset;
    const int m = inset.top + inset.bottom;
    CSize szMin(0, 0);
    pTabManager->GetItemMetrics(nullptr, &szMin, nullptr);
    int nHeight = std::max(m_nBaseRowHeight + m, static_cast<int>(szMin.cy));
    if (m_pPaintManager->m_bShowIcons)
    {
        const CSize& icon = m_pPaintManager->m_szIcon;
        nHeight = std::max(nHeight, static_cast<int>(std::max(icon.cx, icon.cy)) + 4 + m);
    }
    return nHeight;
}

CRect COSMTabAppearanceSet::GetItemDrawRect(const COSMTabManagerItem* pItem) const
{
    CRect rc = pItem->GetRect();
    rc.InflateRect(2, 2);
    return rc;
}

int COSMTabAppearanceSet::GetHeaderHeight(const COSMTabManager* pTabManager) const
{
    if (!m_pPaintManager->m_bShowTabs)
        return 0;
    const int nRows = std::max(1, static_cast<int>(pTabManager->GetRows().size()));
    int nHeight = nRows * GetRowHeight(pTabManager) + (nRows - 1) * m_nRowGap;
    if (m_pPaintManager->GetLayout() == COSMTabPaintManager::kLayoutRotated)
    {
        for (int i = 0; i < pTabManager->GetItemCount(); i++)
            nHeight = std::max(nHeight, pTabManager->GetItem(i)->GetLength());
    }
    const CRect m = GetHeaderMargin();
    return nHeight + m.top + m.bottom;
}

CRect COSMTabAppearanceSet::GetHeaderRect(CRect rc, const COSMTabManager* pTabManager) const
{
    const int h = GetHeaderHeight(pTabManager);
    switch (pTabManager->GetPosition())
    {
    case 1:
        rc.right = rc.left + h;
        break;
    case 2:
        rc.top = rc.bottom - h;
        break;
    case 3:
        rc.left = rc.right - h;
        break;
    default:
        rc.bottom = rc.top + h;
        break;
    }
    return rc;
}

CRect COSMTabAppearanceSet::GetClientRect(CRect rc, const COSMTabManager* pTabManager) const
{
    if (!m_pPaintManager->m_bShowTabs)
        return rc;
    const CRect rcHeader = GetHeaderRect(rc, pTabManager);
    switch (pTabManager->GetPosition())
    {
    case 1:
        rc.left = rcHeader.right - 1;
        break;
    case 2:
        rc.bottom = rcHeader.top + 1;
        break;
    case 3:
        rc.right = rcHeader.left + 1;
        break;
    default:
        rc.top = rcHeader.bottom - 1;
        break;
    }
    return rc;
}

void COSMTabAppearanceSet::AdjustClientRect(COSMTabManager* pTabManager, CRect& rcClient)
{
    const int nPosition = pTabManager->GetPosition();
    DeflateRectByPosition(rcClient, m_pPaintManager->m_rcControlMargin, nPosition);
    rcClient = GetClientRect(rcClient, pTabManager);
    DeflateRectByPosition(rcClient, GetClientMargin(), nPosition);
    if (m_pPaintManager->m_nClientFrame == 0)
        rcClient.DeflateRect(2, 2);
    else if (m_pPaintManager->m_nClientFrame == 1)
        DeflateRectByPosition(rcClient, 0, 2, 0, 0, nPosition);
}

void COSMTabAppearanceSet::DrawTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcControl)
{
    m_pPaintManager->PaintTabControl(pTabManager, pDC, rcControl);
}

CRect COSMTabAppearanceSet::FillTabControl(COSMTabManager* /*pTabManager*/, CDC* /*pDC*/, CRect rcControl)
{
    return rcControl;
}

void COSMTabAppearanceSet::RepositionTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcControl)
{
    m_pPaintManager->LayoutTabControl(pTabManager, pDC, rcControl);
}

void COSMTabAppearanceSet::DrawSingleLineBorder(CDC* pDC, CRect rc, int nPosition, COLORREF clrTopLeft,
                                                COLORREF clrBottomRight)
{
    switch (nPosition)
    {
    case 0:
        if (clrTopLeft != static_cast<COLORREF>(-1))
            pDC->FillSolidRect(rc.left, rc.top, rc.Width(), 1, clrTopLeft);
        break;
    case 1:
        if (clrTopLeft != static_cast<COLORREF>(-1))
            pDC->FillSolidRect(rc.left, rc.top, 1, rc.Height(), clrTopLeft);
        break;
    case 2:
        if (clrBottomRight != static_cast<COLORREF>(-1))
            pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, clrBottomRight);
        break;
    case 3:
        if (clrBottomRight != static_cast<COLORREF>(-1))
            pDC->FillSolidRect(rc.right - 1, rc.top, 1, rc.Height(), clrBottomRight);
        break;
    default:
        break;
    }
}

COSMTabColorSet* COSMTabAppearanceSet::GetColorSet() const
{
    return m_pPaintManager->GetColorSet();
}

BOOL COSMTabAppearanceSet::IsSelected(const COSMTabManagerItem* pItem) const
{
    const COSMTabManager* pTabManager = pItem->GetTabManager();
    return pTabManager && pTabManager->GetSelectedItem() == pItem;
}

BOOL COSMTabAppearanceSet::IsHighlighted(const COSMTabManagerItem* pItem) const
{
    const COSMTabManager* pTabManager = pItem->GetTabManager();
    return pTabManager && pTabManager->GetHighlightedItem() == pItem;
}

int COSMTabAppearanceSet::GetPosition(const COSMTabManagerItem* pItem) const
{
    const COSMTabManager* pTabManager = pItem->GetTabManager();
    return pTabManager ? pTabManager->GetPosition() : 0;
}

void COSMTabAppearanceSet::DrawItemContent(CDC* pDC, COSMTabManagerItem* pItem, const CRect& rc)
{
    m_pPaintManager->DrawItemContent(pDC, pItem, rc, TRUE);
}

void COSMTabAppearanceSet::FillRow(CDC* pDC, int x, int y, int cx, COLORREF clr)
{
    if (clr != static_cast<COLORREF>(-1) && cx > 0)
        pDC->FillSolidRect(x, y, cx, 1, clr);
}

void COSMTabAppearanceSet::FillColumn(CDC* pDC, int x, int y, int cy, COLORREF clr)
{
    if (clr != static_cast<COLORREF>(-1) && cy > 0)
        pDC->FillSolidRect(x, y, 1, cy, clr);
}

void COSMTabAppearanceSet::DrawFrame3D(CDC* pDC, const CRect& rc, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    FillRow(pDC, rc.left, rc.top, rc.Width() - 1, clrTopLeft);
    FillColumn(pDC, rc.left, rc.top, rc.Height() - 1, clrTopLeft);
    FillColumn(pDC, rc.right - 1, rc.top, rc.Height(), clrBottomRight);
    FillRow(pDC, rc.left, rc.bottom - 1, rc.Width(), clrBottomRight);
}

void COSMTabAppearanceSet::DrawWorkspacePart(CDC* pDC, LPRECT lpRect, int nPart)
{
    CRect rc(lpRect);
    COSMTabColorSet* pColors = GetColorSet();
    const COLORREF clrBorder = pColors->m_clrBorder;
    if (!m_pPaintManager->m_bStaticFrame)
    {
        switch (nPart)
        {
        case kWorkspaceClient:
            ::InflateRect(lpRect, 2, 2);
            break;
        case kWorkspaceSplitterVertical:
        case kWorkspaceSplitterHorizontal:
            if (pColors->m_grcHeaderFace.First() != static_cast<COLORREF>(-1))
                pDC->FillSolidRect(rc, pColors->m_grcHeaderFace.First());
            break;
        default:
            break;
        }
        return;
    }
    switch (nPart)
    {
    case kWorkspaceBorder:
    {
        const COLORREF clrFace = GetColorManager()->GetColor(COLOR_BTNFACE);
        DrawFrame3D(pDC, CRect(rc.left + 1, rc.top, rc.left + 1 + rc.Width() - 2, rc.top + rc.Height() - 1), clrFace,
                    clrFace);
        DrawFrame3D(pDC, rc, clrBorder, clrBorder);
        break;
    }
    case kWorkspaceClient:
        lpRect->top -= 1;
        break;
    case kWorkspaceSplitterVertical:
        pDC->FillSolidRect(rc, pColors->m_clrFace);
        FillColumn(pDC, rc.right - 1, rc.top, rc.Height(), clrBorder);
        break;
    case kWorkspaceSplitterHorizontal:
        pDC->FillSolidRect(rc, pColors->m_clrFace);
        FillRow(pDC, rc.left, rc.bottom - 1, rc.Width(), clrBorder);
        break;
    default:
        break;
    }
}

CRect COSMTabAppearanceSet::FillFacedControl(COSMTabManager* pTabManager, CDC* pDC, const CRect& rcControl)
{
    COSMTabColorSet* pColors = GetColorSet();
    const CRect rcHeader = GetHeaderRect(rcControl, pTabManager);
    pColors->FillHeaderFace(pDC, rcHeader, pTabManager);
    const CRect rc = GetClientRect(rcControl, pTabManager);
    pColors->FillClient(pDC, rc, pTabManager);
    const COLORREF clrBorder = pColors->m_clrBorder;
    if (m_pPaintManager->m_nClientFrame == 0)
        DrawFrame3D(pDC, rc, clrBorder, clrBorder);
    else if (m_pPaintManager->m_nClientFrame == 1)
        DrawSingleLineBorder(pDC, rc, pTabManager->GetPosition(), clrBorder, clrBorder);
    return rcHeader;
}
