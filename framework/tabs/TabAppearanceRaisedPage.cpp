#include "framework/tabs/TabAppearanceRaisedPage.h"

#include "framework/tabs/TabColorSet.h"
#include "framework/tabs/TabManager.h"
#include "framework/tabs/TabPaintManager.h"

CRect COSMTabAppearanceRaisedPage::GetClientMargin() const
{
    CRect rc = COSMTabAppearanceSet::GetClientMargin();
    // The visual style's pane draws a shadow of its own on the far sides.
    if (GetColorSet()->IsVisualStyleUsed() && m_pPaintManager->m_nClientFrame == 0)
    {
        rc.right += 2;
        if (m_pPaintManager->GetPosition() == 0 || m_pPaintManager->GetPosition() == 1)
            rc.bottom += 2;
    }
    return rc;
}

CRect COSMTabAppearanceRaisedPage::FillTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcControl)
{
    COSMTabColorSet* pColors = GetColorSet();
    const int nPosition = pTabManager->GetPosition();
    CRect rcHeader = GetHeaderRect(rcControl, pTabManager);
    AdjustRectByPosition(rcHeader, 0, 0, 0, 1, nPosition);
    pColors->FillHeaderFace(pDC, rcHeader, pTabManager);

    const CRect rc = GetClientRect(rcControl, pTabManager);
    const COLORREF hl = pColors->m_clrFrameHighlight;
    const COLORREF sh = pColors->m_clrFrameShadow;
    const COLORREF dk = pColors->m_clrFrameDarkShadow;
    if (m_pPaintManager->m_nClientFrame == 0)
    {
        pColors->FillClient(pDC, rc, pTabManager);
        DrawFrame3D(pDC, rc, hl, dk);
        FillRow(pDC, rc.left + 1, rc.bottom - 2, rc.Width() - 2, sh);
        FillColumn(pDC, rc.right - 2, rc.top + 1, rc.Height() - 2, sh);
    }
    else if (m_pPaintManager->m_nClientFrame == 1)
    {
        switch (nPosition)
        {
        case 0:
            FillRow(pDC, rc.left, rc.top, rc.Width(), hl);
            break;
        case 1:
            FillColumn(pDC, rc.left, rc.top, rc.Height(), hl);
            break;
        case 2:
            FillRow(pDC, rc.left, rc.bottom - 1, rc.Width(), dk);
            FillRow(pDC, rc.left, rc.bottom - 2, rc.Width(), sh);
            break;
        default:
            FillColumn(pDC, rc.right - 1, rc.top, rc.Height(), dk);
            FillColumn(pDC, rc.right - 2, rc.top, rc.Height(), sh);
            break;
        }
    }
    return rcHeader;
}

void COSMTabAppearanceRaisedPage::DrawSingleItem(CDC* pDC, COSMTabManagerItem* pItem)
{
    CRect rc = pItem->GetRect();
    const BOOL bSelected = IsSelected(pItem);
    if (m_bOutlineHotOnly && !bSelected && !IsHighlighted(pItem))
    {
        DrawItemContent(pDC, pItem, rc);
        return;
    }
    COSMTabColorSet* pColors = GetColorSet();
    const int nPosition = GetPosition(pItem);
    if (bSelected)
    {
        // The selected tab stands out on its free sides.
        switch (nPosition)
        {
        case 0:
            rc.InflateRect(2, 2, 2, 0);
            break;
        case 1:
            rc.InflateRect(2, 2, 0, 2);
            break;
        default:
            rc.InflateRect(2, 2);
            break;
        }
    }
    const COLORREF clrFill = pColors->FillTab(pDC, CRect(rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1), pItem);
    const COLORREF hl = pColors->m_clrFrameHighlight;
    const COLORREF sh = pColors->m_clrFrameShadow;
    const COLORREF dk = pColors->m_clrFrameDarkShadow;
    const int L = rc.left, T = rc.top, R = rc.right, B = rc.bottom;
    const BOOL bJoin = bSelected && pItem->GetRow() == 0 && clrFill != static_cast<COLORREF>(-1);
    CRect rcText = rc;
    switch (nPosition)
    {
    case 0:
        FillColumn(pDC, L, T + 2, B - T - 2, hl);
        FillPixel(pDC, L + 1, T + 1, hl);
        FillRow(pDC, L + 2, T, R - L - 4, hl);
        FillPixel(pDC, R - 2, T + 1, dk);
        FillColumn(pDC, R - 1, T + 2, B - T - 3, dk);
        FillColumn(pDC, R - 2, T + 2, B - T - 3, sh);
        if (bJoin)
            FillRow(pDC, L + 1, B - 1, R - L - 3, clrFill);
        break;
    case 1:
        FillRow(pDC, L + 2, T, R - L - 2, hl);
        FillPixel(pDC, L + 1, T + 1, hl);
        FillColumn(pDC, L, T + 2, B - T - 4, hl);
        FillRow(pDC, L + 1, B - 2, R - L - 2, sh);
        FillRow(pDC, L + 2, B - 1, R - L - 3, dk);
        FillPixel(pDC, L + 2, B - 2, dk);
        FillPixel(pDC, L + 2, B - 1, sh);
        if (bJoin)
            FillColumn(pDC, R - 1, T + 1, B - T - 3, clrFill);
        break;
    case 2:
        FillColumn(pDC, L, T + 1, B - T - 2, hl);
        FillPixel(pDC, L + 1, B - 1, hl);
        FillRow(pDC, L + 2, B - 1, R - L - 4, sh);
        FillRow(pDC, L + 2, B, R - L - 4, dk);
        FillPixel(pDC, R - 2, B - 1, dk);
        FillColumn(pDC, R - 1, T, B - T - 1, dk);
        FillColumn(pDC, R - 2, T, B - T - 1, sh);
        if (bJoin)
        {
            FillRow(pDC, L + 1, T + 1, R - L - 1, clrFill);
            rcText.bottom += 2;
        }
        break;
    default:
        FillRow(pDC, L + 1, T, R - L - 2, hl);
        FillPixel(pDC, R - 1, T + 1, hl);
        FillColumn(pDC, R - 1, T + 2, B - T - 4, sh);
        FillColumn(pDC, R, T + 2, B - T - 4, dk);
        FillPixel(pDC, R - 1, B - 2, dk);
        FillRow(pDC, L + 1, B - 2, R - L - 2, sh);
        FillRow(pDC, L + 1, B - 1, R - L - 2, dk);
        if (bJoin)
        {
            FillColumn(pDC, L + 1, T + 1, B - T - 1, clrFill);
            rcText.right += 2;
        }
        break;
    }
    DrawItemContent(pDC, pItem, rcText);
}
