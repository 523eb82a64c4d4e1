// COSMTabColorSetVisualStyle (id 8): tabs, the pane and the selected button drawn by the Windows visual style
// ("TAB" and "TOOLBAR" classes), as the system's own tab control draws them. Tabs of a left, bottom or right strip
// are drawn upright and turned into place, so their base faces the client area. While the "TAB" class cannot be
// opened, or the application is not themed, every operation is the default set's.
//
//   pPaintManager->SetColor(8);
//   if (pPaintManager->GetColorSet()->IsVisualStyleUsed()) ...   // the style draws
#pragma once

#include "framework/foundation/VisualStyleWrapper.h"
#include "framework/tabs/TabColorSet.h"

class COSMTabColorSetVisualStyle : public COSMTabColorSetDefault
{
public:
    // On the process-wide visual-style table.
    COSMTabColorSetVisualStyle();
    // On a table of the caller's (a test's stand-in library), which must outlive the set.
    explicit COSMTabColorSetVisualStyle(COSMVisualStyleFunctions& functions);

    void RefreshMetrics() override;
    COLORREF FillClient(CDC* pDC, CRect rc, COSMTabManager* pTabManager) override;
    void FillButton(CDC* pDC, CRect rc, COSMTabManagerItem* pItem) override;
    COLORREF FillTab(CDC* pDC, CRect rc, COSMTabManagerItem* pItem) override;
    void FillHeader(CDC* pDC, CRect rc, COSMTabManager* pTabManager) override;
    void FillNavigateButton(CDC* pDC, COSMTabManagerNavigateButton* pButton, CRect& rc) override;
    BOOL IsVisualStyleUsed() const override { return m_bTabStyled; }

    // The "TAB" part and state FillTab draws an item with, and the rectangle it grows rc (the tab's fill
    // rectangle) to, in the strip's coordinates.
    static int GetTabPart(const COSMTabManagerItem* pItem);
    static int GetTabState(const COSMTabManagerItem* pItem);
    static CRect GetTabPartRect(const COSMTabManagerItem* pItem, CRect rc);

    COSMVisualStyleWrapper m_themeTab;
    COSMVisualStyleWrapper m_themeToolBar;

private:
    BOOL m_bTabStyled = FALSE;
};
