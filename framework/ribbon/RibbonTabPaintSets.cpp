// The ribbon's tab appearance and colour sets.
#include "framework/ribbon/RibbonTabPaintSets.h"

#include "framework/ribbon/RibbonPaintManager.h"
#include "framework/ribbon/RibbonTab.h"
#include "framework/tabs/TabManagerItem.h"
#include "framework/tabs/TabPaintManager.h"

COSMRibbonTabAppearanceSet::COSMRibbonTabAppearanceSet(COSMRibbonPaintManager* ribbonPaintManager)
    : m_ribbonPaintManager(ribbonPaintManager)
{
    m_rcHeaderMargin.SetRect(0, 1, 0, 0);
    m_nBaseRowHeight = kRowHeight;
}

void COSMRibbonTabAppearanceSet::RefreshMetrics()
{
    COSMTabAppearanceSoftRectangles::RefreshMetrics();
    m_nBaseRowHeight = kRowHeight;
}

void COSMRibbonTabAppearanceSet::DrawSingleItem(CDC* pDC, COSMTabManagerItem* pItem)
{
    if (auto* tab = dynamic_cast<COSMRibbonTab*>(pItem); tab && m_ribbonPaintManager)
        m_ribbonPaintManager->DrawRibbonTab(pDC, tab);
    DrawItemContent(pDC, pItem, pItem->GetRect());
}

void COSMRibbonTabColorSet::SetItemTextColor(CDC* pDC, COSMTabManagerItem* pItem)
{
    auto* tab = dynamic_cast<COSMRibbonTab*>(pItem);
    if (!tab)
    {
        COSMTabColorSetOffice2003::SetItemTextColor(pDC, pItem);
        return;
    }
    const COSMRibbonPaintManager::TabState state = COSMRibbonPaintManager::GetTabState(tab);
    COSMPaintManagerColor& color = !pItem->IsEnabled() ? m_clrDisabledText
                                   : state.selected    ? m_clrSelectedText
                                   : state.hot         ? m_clrHotText
                                                       : m_clrNormalText;
    pDC->SetTextColor(color);
}
