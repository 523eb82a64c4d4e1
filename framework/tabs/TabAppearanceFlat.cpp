#include "framework/tabs/TabAppearanceFlat.h"

#include "classlib/ScopedHandle.h"
#include "framework/foundation/DrawHelpers.h"
#include "framework/tabs/TabColorSet.h"
#include "framework/tabs/TabManager.h"
#include "framework/tabs/TabPaintManager.h"

namespace {

// Grows the rectangle by one pixel away from where the strip starts: the next tab's first pixel, so that two
// neighbours share one border line.
void GrowFlatTabAlongStrip(CRect& rc, int nPosition)
{
    if (nPosition == 0 || nPosition == 2)
        rc.right += 1;
    else
        rc.bottom += 1;
}

}  // namespace

CRect COSMTabAppearanceFlatRectangles::FillTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcControl)
{
    return FillFacedControl(pTabManager, pDC, rcControl);
}

void COSMTabAppearanceFlatRectangles::DrawSingleItem(CDC* pDC, COSMTabManagerItem* pItem)
{
    COSMTabColorSet* pColors = GetColorSet();
    const int nPosition = GetPosition(pItem);
    CRect rc = pItem->GetRect();
    GrowFlatTabAlongStrip(rc, nPosition);
    pColors->FillTab(pDC, rc, pItem);
    // The selected tab covers the client frame's line on its side.
    if (IsSelected(pItem))
        AdjustRectByPosition(rc, 0, 0, 0, 1, nPosition);
    const COLORREF clrBorder = pColors->m_clrBorder;
    DrawFrame3D(pDC, rc, clrBorder, clrBorder);
    DrawItemContent(pDC, pItem, pItem->GetRect());
}

void COSMTabAppearanceSoftRectangles::DrawSingleItem(CDC* pDC, COSMTabManagerItem* pItem)
{
    COSMTabColorSet* pColors = GetColorSet();
    const int nPosition = GetPosition(pItem);
    CRect rc = pItem->GetRect();
    GrowFlatTabAlongStrip(rc, nPosition);

    {
        // The corners stay out of the fill and the frame; the clip comes back however the fill ends.
        const ScopedSavedDC saved = SaveScoped(pDC->GetSafeHdc());
        CRect rcCorners = rc;
        AdjustRectByPosition(rcCorners, 0, 0, 0, 1, nPosition);
        GetDrawHelpers()->ExcludeCorners(pDC, rcCorners);
        CRect rcFill = rc;
        DeflateRectByPosition(rcFill, 1, 1, 1, 0, nPosition);
        pColors->FillTab(pDC, rcFill, pItem);
        if (IsSelected(pItem))
            AdjustRectByPosition(rc, 0, 0, 0, 1, nPosition);
        const COLORREF clrBorder = pColors->m_clrBorder;
        DrawFrame3D(pDC, rc, clrBorder, clrBorder);
    }

    // Each corner pixel and its inner neighbours take half of the pixel beside them.
    AdjustRectByPosition(rc, 0, 0, 0, 1, nPosition);
    const int L = rc.left, T = rc.top, R = rc.right, B = rc.bottom;
    POINT top[] = {{L, T + 1},     {0, -1}, {L + 1, T},     {-1, 0}, {R - 2, T},     {1, 0},  {R - 1, T + 1}, {0, -1},
                   {L + 1, T + 1}, {-1, 0}, {R - 2, T + 1}, {1, 0},  {L + 2, T + 1}, {-1, 0}, {L + 1, T + 2}, {0, -1},
                   {R - 3, T + 1}, {1, 0},  {R - 2, T + 2}, {0, -1}};
    POINT left[] = {{L, T + 1},     {0, -1}, {L + 1, T},     {-1, 0}, {L, B - 2},     {0, 1},  {L + 1, B},     {-1, 0},
                    {L + 1, T + 1}, {-1, 0}, {L + 1, B - 2}, {-1, 0}, {L + 2, T + 1}, {-1, 0}, {L + 1, T + 2}, {0, -1},
                    {L + 2, B - 2}, {-1, 0}, {L + 1, B - 3}, {0, 1}};
    POINT bottom[] = {{L, B - 2},     {0, 1}, {L + 1, B - 1}, {-1, 0}, {R - 1, B - 2}, {0, 1},  {R - 2, B - 1}, {1, 0},
                      {L + 1, B - 2}, {0, 1}, {R - 2, B - 2}, {1, 0},  {L + 2, B - 2}, {-1, 0}, {L + 1, B - 3}, {0, 1},
                      {R - 3, B - 2}, {1, 0}, {R - 2, B - 3}, {0, 1}};
    POINT right[] = {{R - 1, T + 1}, {0, -1}, {R - 2, T},     {1, 0}, {R - 1, B - 2}, {0, 1}, {R - 2, B},     {1, 0},
                     {R - 2, T + 1}, {1, 0},  {R - 2, B - 2}, {1, 0}, {R - 3, T + 1}, {1, 0}, {R - 2, T + 2}, {0, -1},
                     {R - 3, B - 2}, {1, 0},  {R - 2, B - 3}, {0, 1}};
    const POINT* pPoints = nPosition == 1 ? left : nPosition == 2 ? bottom : nPosition == 3 ? right : top;
    GetDrawHelpers()->BlurPoints(pDC, pPoints, 20);
    DrawItemContent(pDC, pItem, pItem->GetRect());
}

CRect COSMTabAppearanceButtons::FillTabControl(COSMTabManager* pTabManager, CDC* /*pDC*/, CRect rcControl)
{
    return GetHeaderRect(rcControl, pTabManager);
}

void COSMTabAppearanceButtons::DrawSingleItem(CDC* pDC, COSMTabManagerItem* pItem)
{
    GetColorSet()->FillButton(pDC, pItem->GetRect(), pItem);
    DrawItemContent(pDC, pItem, pItem->GetRect());
}

CRect COSMTabAppearanceRaisedSelected::FillTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcControl)
{
    COSMTabColorSet* pColors = GetColorSet();
    const CRect rcHeader = GetHeaderRect(rcControl, pTabManager);
    pColors->FillHeaderFace(pDC, rcHeader, pTabManager);
    const CRect rc = GetClientRect(rcControl, pTabManager);
    pColors->FillClient(pDC, rc, pTabManager);
    if (m_pPaintManager->m_nClientFrame == 0)
        DrawFrame3D(pDC, rc, pColors->m_clrLight, pColors->m_clrDark);
    else if (m_pPaintManager->m_nClientFrame == 1)
        DrawSingleLineBorder(pDC, rc, pTabManager->GetPosition(), pColors->m_clrLight, pColors->m_clrDark);
    return rcHeader;
}

void COSMTabAppearanceRaisedSelected::DrawSingleItem(CDC* pDC, COSMTabManagerItem* pItem)
{
    COSMTabColorSet* pColors = GetColorSet();
    const int nPosition = GetPosition(pItem);
    CRect rc = pItem->GetRect();
    if (IsSelected(pItem))
    {
        pColors->FillTab(pDC, rc, pItem);
        AdjustRectByPosition(rc, 0, 0, 0, 1, nPosition);
        DrawFrame3D(pDC, rc, pColors->m_clrLight, pColors->m_clrDark);
    }
    else if (nPosition == 0 || nPosition == 2)
    {
        FillColumn(pDC, rc.right, rc.top + 2, rc.Height() - 4, pColors->m_clrBorder);
    }
    else
    {
        FillRow(pDC, rc.left + 2, rc.bottom, rc.Width() - 4, pColors->m_clrBorder);
    }
    DrawItemContent(pDC, pItem, pItem->GetRect());
}
