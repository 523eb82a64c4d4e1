// Raised 3-D page tabs, the look of a property sheet (appearance 0, and of every id that has no look of its own),
// and its quieter twin that outlines only the selected and the hot tab (appearance 1). Both frame the client area
// in the colour set's three frame colours.
#pragma once

#include "framework/tabs/TabAppearanceSet.h"

class COSMTabAppearanceRaisedPage : public COSMTabAppearanceSet
{
public:
    COSMTabAppearanceRaisedPage() { m_rcHeaderMargin.SetRect(2, 3, 6, 0); }

    CRect GetClientMargin() const override;
    CRect FillTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcControl) override;
    void DrawSingleItem(CDC* pDC, COSMTabManagerItem* pItem) override;
    int GetSupportedColorSets() const override { return 13; }
    int GetDefaultColorSet() const override { return 1; }

protected:
    // Only the selected and the hot tab are outlined; the others show their content alone.
    BOOL m_bOutlineHotOnly = FALSE;
};

class COSMTabAppearanceRaisedPageWhenHot : public COSMTabAppearanceRaisedPage
{
public:
    COSMTabAppearanceRaisedPageWhenHot() { m_bOutlineHotOnly = TRUE; }
};
