#include "framework/tabs/TabAppearanceImages.h"

#include <algorithm>

#include "framework/tabs/TabColorSet.h"
#include "framework/tabs/TabManager.h"
#include "framework/tabs/TabPaintManager.h"
#include "framework/tabs/TabPixelMoves.h"
#include "framework/themes/Office2007Images.h"

namespace {

const COLORREF kImageTransparent = RGB(255, 0, 255);

}  // namespace

BOOL COSMTabAppearanceImageTabs::AreImagesLoaded() const
{
    // The tab images come with the theme: without its text there is no theme to draw from.
    return COSMOffice2007Images::Instance()->IsValid();
}

void COSMTabAppearanceImageTabs::DrawImageState(CDC* pDC, const CRect& rc, LPCSTR lpszImage, int nState, int nStates,
                                                const CRect& rcMargins)
{
    COSMOffice2007Image* pImage = COSMOffice2007Images::Instance()->LoadImage(lpszImage);
    if (!pImage || nStates < 1)
        return;
    pImage->DrawImage(pDC, rc, pImage->GetStateRect(nState, nStates), rcMargins, kImageTransparent);
}

void COSMTabAppearanceImageTabs::DrawImageTurned(CDC* pDC, const CRect& rc, COSMTabManagerItem* pItem, BOOL bCopyUnder)
{
    const COLORREF clrHeader = GetColorSet()->m_grcHeaderFace.First();
    DrawTurnedToPosition(
        pDC, rc, GetPosition(pItem), clrHeader, bCopyUnder,
        [&](CDC* pUprightDC, const CRect& rcUpright) { DrawImageButton(pUprightDC, rcUpright, pItem); });
}

// ---- Ribbon tabs -------------------------------------------------------------------------------------------------

CRect COSMTabAppearanceRibbonImages::FillTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcControl)
{
    if (!AreImagesLoaded())
        return CRect(0, 0, 0, 0);
    COSMTabColorSet* pColors = GetColorSet();
    const CRect rcHeader = GetHeaderRect(rcControl, pTabManager);
    if (pColors->m_grcHeaderFace.First() != static_cast<COLORREF>(-1))
        pDC->FillSolidRect(rcHeader, pColors->m_grcHeaderFace.First());
    const CRect rc = GetClientRect(rcControl, pTabManager);
    if (m_pPaintManager->m_nClientFrame == 0)
        DrawImageState(pDC, rc, "RIBBONGROUPS", 0, 1, CRect(8, 8, 8, 8));
    else if (m_pPaintManager->m_nClientFrame == 1)
        DrawSingleLineBorder(pDC, rc, pTabManager->GetPosition(), pColors->m_clrFrameShadow, pColors->m_clrFrameShadow);
    return rcHeader;
}

void COSMTabAppearanceRibbonImages::DrawSingleItem(CDC* pDC, COSMTabManagerItem* pItem)
{
    // A tab squeezed to nothing has no room for an image to turn.
    if (!AreImagesLoaded() || pItem->GetRect().IsRectEmpty())
        return;
    if (IsSelected(pItem) || IsHighlighted(pItem))
        DrawImageTurned(pDC, pItem->GetRect(), pItem, FALSE);
    DrawItemContent(pDC, pItem, pItem->GetRect());
}

int COSMTabAppearanceRibbonImages::GetImageState(const COSMTabManagerItem* pItem) const
{
    const COSMTabManager* pTabManager = pItem->GetTabManager();
    if (IsSelected(pItem))
    {
        if (pTabManager && pTabManager->IsActive())
            return 5;
        return IsHighlighted(pItem) ? 4 : 3;
    }
    if (pTabManager && pTabManager->GetPressedItem() == pItem)
        return 2;
    return IsHighlighted(pItem) ? 1 : 0;
}

void COSMTabAppearanceRibbonImages::DrawImageButton(CDC* pDC, CRect rc, COSMTabManagerItem* pItem)
{
    DrawImageState(pDC, rc, "RIBBONTAB", GetImageState(pItem), 6, CRect(5, 5, 5, 5));
}

// ---- Access tabs -------------------------------------------------------------------------------------------------

void COSMTabAppearanceAccessImages::RefreshMetrics()
{
    COSMTabAppearanceImageTabs::RefreshMetrics();
    m_nBaseRowHeight = std::max(m_nBaseRowHeight, 24);
}

CRect COSMTabAppearanceAccessImages::GetHeaderMargin() const
{
    CRect rc = m_rcHeaderMargin;
    rc.right += m_nBaseRowHeight / 2;
    return rc;
}

CRect COSMTabAppearanceAccessImages::GetItemDrawRect(const COSMTabManagerItem* pItem) const
{
    // The tab's image reaches past its end, under the next tab.
    CRect rc = pItem->GetRect();
    const int nPosition = GetPosition(pItem);
    if (nPosition == 0 || nPosition == 2)
        rc.right += m_nBaseRowHeight / 2;
    else
        rc.bottom += m_nBaseRowHeight / 2;
    return rc;
}

CRect COSMTabAppearanceAccessImages::FillTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcControl)
{
    COSMTabColorSet* pColors = GetColorSet();
    const CRect rcHeader = GetHeaderRect(rcControl, pTabManager);
    if (pColors->m_grcHeaderFace.First() != static_cast<COLORREF>(-1))
        pDC->FillSolidRect(rcHeader, pColors->m_grcHeaderFace.First());
    const CRect rc = GetClientRect(rcControl, pTabManager);
    const COLORREF clrBorder = pColors->m_clrBorder;
    if (m_pPaintManager->m_nClientFrame == 0)
    {
        pColors->FillClient(pDC, rc, pTabManager);
        DrawFrame3D(pDC, rc, clrBorder, clrBorder);
    }
    else if (m_pPaintManager->m_nClientFrame == 1)
    {
        pColors->FillClient(pDC, rc, pTabManager);
        DrawSingleLineBorder(pDC, rc, pTabManager->GetPosition(), clrBorder, clrBorder);
    }
    return rcHeader;
}

void COSMTabAppearanceAccessImages::DrawSingleItem(CDC* pDC, COSMTabManagerItem* pItem)
{
    // A tab squeezed to nothing draws nothing, though its image would reach past its end.
    if (!AreImagesLoaded() || pItem->GetRect().IsRectEmpty())
        return;
    CRect rc = pItem->GetRect();
    const int nPosition = GetPosition(pItem);
    if (nPosition == 0 || nPosition == 2)
        rc.right += m_nBaseRowHeight / 2 - 1;
    else
        rc.bottom += m_nBaseRowHeight / 2 - 1;
    DrawImageTurned(pDC, rc, pItem, TRUE);
    DrawItemContent(pDC, pItem, pItem->GetRect());
}

int COSMTabAppearanceAccessImages::GetImageState(const COSMTabManagerItem* pItem) const
{
    if (IsSelected(pItem))
        return IsHighlighted(pItem) ? 3 : 2;
    return IsHighlighted(pItem) ? 1 : 0;
}

void COSMTabAppearanceAccessImages::DrawImageButton(CDC* pDC, CRect rc, COSMTabManagerItem* pItem)
{
    DrawImageState(pDC, rc, "ACCESSTAB", GetImageState(pItem), 4, CRect(5, 10, 22, 10));
}
