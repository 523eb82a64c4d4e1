// The Office 2003 family of tab colour sets: COSMTabColorSetOffice2003 (id 4) takes the blue, olive or silver
// scheme of the Windows XP visual style the colour manager found (blue under Royale and Aero too) and fills tabs
// with a gradient from near white; COSMTabColorSetPlain (id 16) and COSMTabColorSetLight (id 64) are quieter
// variants that keep the scheme while visual-style colours are allowed and have plain colours of their own when
// they are switched off.
//
//   pPaintManager->SetColor(4);    // the Office 2003 look by the machine's visual style
#pragma once

#include "framework/tabs/TabColorSet.h"

class COSMTabColorSetOffice2003 : public COSMTabColorSetDefault
{
public:
    void RefreshMetrics() override;
    COLORREF FillTab(CDC* pDC, CRect rc, COSMTabManagerItem* pItem) override;
    void FillNavigateButton(CDC* pDC, COSMTabManagerNavigateButton* pButton, CRect& rc) override;

    // The frame of a hot or pressed navigation button under a scheme.
    COSMPaintManagerColor m_clrNavigateFrame;
    // The colours come from the visual style's scheme (blue, olive or silver).
    BOOL m_bSchemeColors = FALSE;

protected:
    // The scheme's colours of visual style nStyle (1 to 5): blue for 1, 4 and 5, olive for 2, silver for 3. FALSE,
    // and nothing set, for any other style.
    BOOL SetSchemeColors(int nStyle);
    // rc filled from the colour blended with white (30 %) to the colour, along the strip's depth.
    void FillTabGradient(CDC* pDC, const CRect& rc, COLORREF clr, int nPosition);
    // The trapezoids' outer, bottom and dark lines in the border colour, nothing inside.
    void SetGroupsFromBorder();
    // What the plain and the light sets start from: the base colours with the flat looks' hot and pressed fills,
    // no scheme yet.
    void RefreshPlainStart();
};

class COSMTabColorSetPlain : public COSMTabColorSetOffice2003
{
public:
    void RefreshMetrics() override;
    COLORREF FillTab(CDC* pDC, CRect rc, COSMTabManagerItem* pItem) override;

    // Plain colours of this set's own for the visual style while visual-style colours are switched off.
    BOOL m_bOwnSchemeColors = FALSE;
};

class COSMTabColorSetLight : public COSMTabColorSetOffice2003
{
public:
    void RefreshMetrics() override;
    COLORREF FillTab(CDC* pDC, CRect rc, COSMTabManagerItem* pItem) override;

    // Light colours of this set's own for the visual style while visual-style colours are switched off.
    BOOL m_bOwnSchemeColors = FALSE;
};
