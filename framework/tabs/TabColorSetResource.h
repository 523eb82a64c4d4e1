// The tab colour sets of the Office 2007 theme resources: COSMTabColorSetResource (id 32) reads the strip's colours
// from the theme text's "TabManager", "Ribbon" and "Window" sections and draws hot and pressed navigation buttons
// from the theme image "TOOLBARBUTTONS22"; COSMTabColorSetAccess (id 128) is the access tabs' variant, black text
// on the "AccessHeader" face. Without a theme text both look like the Office 2003 set under the blue scheme, on
// any machine.
//
//   COSMOffice2007Images::Instance()->SetResourceModule(hThemeModule);
//   pPaintManager->SetColor(32);
#pragma once

#include "framework/tabs/TabColorSetOffice2003.h"

class COSMTabColorSetResource : public COSMTabColorSetOffice2003
{
public:
    void RefreshMetrics() override;
    void FillNavigateButton(CDC* pDC, COSMTabManagerNavigateButton* pButton, CRect& rc) override;

    // The glyph colour of the strip's own navigation buttons (not a tab's close button).
    COSMPaintManagerColor m_clrNavigateText;

protected:
    // A colour of the theme text set as it is (black stays black, a missing key draws nothing).
    static void SetFromTheme(COSMPaintManagerColor& clr, LPCSTR lpszSection, LPCSTR lpszKey);
};

class COSMTabColorSetAccess : public COSMTabColorSetResource
{
public:
    void RefreshMetrics() override;
};
