#include "framework/tabs/TabAppearanceStackedBars.h"

#include <algorithm>

#include "classlib/ScopedHandle.h"
#include "framework/foundation/ColorManager.h"
#include "framework/tabs/TabColorSet.h"
#include "framework/tabs/TabManager.h"
#include "framework/tabs/TabPaintManager.h"

CRect COSMTabAppearanceStackedBars::GetHeaderRect(CRect rcControl, const COSMTabManager* /*pTabManager*/) const
{
    return CRect(rcControl.left, rcControl.top, rcControl.left, rcControl.top);
}

CRect COSMTabAppearanceStackedBars::GetClientRect(CRect rc, const COSMTabManager* pTabManager) const
{
    if (!m_pPaintManager->m_bShowTabs)
        return rc;
    const int r = GetRowHeight(pTabManager);
    const int n = pTabManager->GetItemCount();
    const COSMTabManagerItem* pSelected = pTabManager->GetSelectedItem();
    const int i = pSelected ? pSelected->GetIndex() : -1;
    const BOOL bFramed = m_pPaintManager->m_nClientFrame != 2;
    CRect rcClient = rc;
    rcClient.top = rc.top + 1 + (i + 1) * r;
    rcClient.bottom = std::max(rc.bottom - (n - i - 1) * r, rcClient.top + r);
    // With no bar below, the client gives the frame its bottom line.
    if (i == n - 1 && bFramed)
        rcClient.bottom -= 1;
    if (bFramed)
        rcClient.DeflateRect(1, 0);
    return rcClient;
}

void COSMTabAppearanceStackedBars::RepositionTabControl(COSMTabManager* pTabManager, CDC* /*pDC*/, CRect rc)
{
    if (m_pPaintManager->m_bStaticFrame)
        DeflateRectByPosition(rc, 2, 1, 2, 2, 0);
    DeflateRectByPosition(rc, m_pPaintManager->m_rcControlMargin, 0);
    pTabManager->SetHeaderRect(GetHeaderRect(rc, pTabManager));
    for (const RefPtr<COSMTabManagerNavigateButton>& pButton : pTabManager->GetNavigateButtons())
        pButton->SetRect(CRect(0, 0, 0, 0));
    const int n = pTabManager->GetItemCount();
    if (!m_pPaintManager->m_bShowTabs)
    {
        for (int k = 0; k < n; k++)
            pTabManager->GetItem(k)->SetRect(0, 0, 0, 0);
        return;
    }
    const int r = GetRowHeight(pTabManager);
    const COSMTabManagerItem* pSelected = pTabManager->GetSelectedItem();
    const int i = pSelected ? pSelected->GetIndex() : -1;
    const BOOL bFramed = m_pPaintManager->m_nClientFrame != 2;
    const int nLeft = rc.left + (bFramed ? 1 : 0);
    const int nRight = rc.right - (bFramed ? 1 : 0);
    for (int k = 0; k < n; k++)
    {
        COSMTabManagerItem* pItem = pTabManager->GetItem(k);
        if (k <= i)
        {
            const int nTop = rc.top + 1 + k * r;
            pItem->SetRect(nLeft, nTop, nRight, nTop + r);
        }
        else
        {
            const int nTop = rc.bottom - (n - k) * r;
            const int nBottom = nTop + r - (k == n - 1 && bFramed ? 1 : 0);
            pItem->SetRect(nLeft, nTop, nRight, nBottom);
        }
    }
}

void COSMTabAppearanceStackedBars::AdjustClientRect(COSMTabManager* pTabManager, CRect& rcClient)
{
    DeflateRectByPosition(rcClient, m_pPaintManager->m_rcControlMargin, 0);
    rcClient = GetClientRect(rcClient, pTabManager);
    DeflateRectByPosition(rcClient, GetClientMargin(), 0);
}

void COSMTabAppearanceStackedBars::DrawTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rc)
{
    COSMTabColorSet* pColors = GetColorSet();
    if (pColors->m_clrFace != static_cast<COLORREF>(-1))
        pDC->FillSolidRect(rc, pColors->m_clrFace);
    DeflateRectByPosition(rc, m_pPaintManager->m_rcControlMargin, 0);
    // The clip to the control comes back however the bars' drawing ends.
    const ScopedSavedDC saved = SaveScoped(pDC->GetSafeHdc());
    pDC->IntersectClipRect(rc);
    const int n = pTabManager->GetItemCount();
    const COLORREF clrBorder = pColors->m_clrBorder;
    if (m_pPaintManager->m_nClientFrame != 2)
        DrawFrame3D(pDC, rc, clrBorder, clrBorder);
    else if (n > 0)
        FillRow(pDC, rc.left, rc.top, rc.Width(), clrBorder);

    CRect rcClip;
    pDC->GetClipBox(rcClip);
    for (int k = n - 1; k >= 0; k--)
    {
        COSMTabManagerItem* pItem = pTabManager->GetItem(k);
        const CRect rcItem = pItem->GetRect();
        CRect rcHit;
        if (!rcItem.IsRectEmpty() && rcHit.IntersectRect(rcItem, rcClip))
            DrawSingleItem(pDC, pItem);
    }
}

void COSMTabAppearanceStackedBars::DrawSingleItem(CDC* pDC, COSMTabManagerItem* pItem)
{
    COSMTabColorSet* pColors = GetColorSet();
    const CRect rc = pItem->GetRect();
    pColors->FillTab(pDC, rc, pItem);
    DrawFrame3D(pDC, rc, pColors->m_clrLight, pColors->m_clrBorder);
    // The grip: short dashes two pixels apart near the bar's right end.
    const COLORREF clrGrip = GetColorManager()->GetColor(38);
    for (int y = rc.top + 4; y < rc.bottom - 3; y += 2)
        FillRow(pDC, rc.right - 7, y, 3, clrGrip);
    DrawItemContent(pDC, pItem, CRect(rc.left, rc.top, rc.right - 7, rc.bottom));
}
