// The ribbon's tab strip sets, installed by COSMRibbonPaintManager::CreateTabPaintManager: the appearance draws each
// tab through the ribbon painter (DrawRibbonTab) before its caption, and the colour set colours a tab's text by the
// ribbon's tab states (a minimized ribbon's selected tab reads as plain while its popup is closed).
#pragma once

#include "framework/tabs/TabAppearanceFlat.h"
#include "framework/tabs/TabColorSetOffice2003.h"

class COSMRibbonPaintManager;

class COSMRibbonTabAppearanceSet : public COSMTabAppearanceSoftRectangles
{
public:
    // The strip's row height, fixed.
    static constexpr int kRowHeight = 21;

    explicit COSMRibbonTabAppearanceSet(COSMRibbonPaintManager* ribbonPaintManager);

    // The row height stays fixed whatever the font measures.
    void RefreshMetrics() override;
    void DrawSingleItem(CDC* pDC, COSMTabManagerItem* pItem) override;
    COSMRibbonPaintManager* GetRibbonPaintManager() const { return m_ribbonPaintManager; }

private:
    COSMRibbonPaintManager* m_ribbonPaintManager;
};

class COSMRibbonTabColorSet : public COSMTabColorSetOffice2003
{
public:
    // The selected, hot or normal text colour by the ribbon's tab states, the disabled one for a disabled tab.
    void SetItemTextColor(CDC* pDC, COSMTabManagerItem* pItem) override;
};
