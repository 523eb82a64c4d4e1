// Stacked bars (appearance 8), the look of an outlook-style navigation pane: every tab is a full-width bar with a
// dotted grip; the bars up to the selected one stand at the top, the others at the bottom, and the client area
// lies between them. There is no header band.
#pragma once

#include "framework/tabs/TabAppearanceSet.h"

class COSMTabAppearanceStackedBars : public COSMTabAppearanceSet
{
public:
    CRect GetHeaderRect(CRect rcControl, const COSMTabManager* pTabManager) const override;
    CRect GetClientRect(CRect rcControl, const COSMTabManager* pTabManager) const override;
    void DrawTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcControl) override;
    void RepositionTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcControl) override;
    void AdjustClientRect(COSMTabManager* pTabManager, CRect& rcClient) override;
    void DrawSingleItem(CDC* pDC, COSMTabManagerItem* pItem) override;
    int GetSupportedColorSets() const override { return 5; }
    int GetDefaultColorSet() const override { return 1; }
};
