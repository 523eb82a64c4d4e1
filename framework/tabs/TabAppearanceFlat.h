// The flat looks: flat rectangles framed in the border colour (appearance 6), the same with softened corners
// (appearance 2, which the ribbon's tab row derives), buttons (appearance 4) and a raised selected tab between
// separator lines (appearance 5).
#pragma once

#include "framework/tabs/TabAppearanceSet.h"

class COSMTabAppearanceFlatRectangles : public COSMTabAppearanceSet
{
public:
    COSMTabAppearanceFlatRectangles() { m_rcHeaderMargin.SetRect(2, 2, 4, 0); }

    CRect FillTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcControl) override;
    void DrawSingleItem(CDC* pDC, COSMTabManagerItem* pItem) override;
    int GetSupportedColorSets() const override { return 7; }
    int GetDefaultColorSet() const override { return 2; }
};

class COSMTabAppearanceSoftRectangles : public COSMTabAppearanceFlatRectangles
{
public:
    void DrawSingleItem(CDC* pDC, COSMTabManagerItem* pItem) override;
    int GetDefaultColorSet() const override { return 1; }
};

class COSMTabAppearanceButtons : public COSMTabAppearanceSet
{
public:
    COSMTabAppearanceButtons()
    {
        m_rcHeaderMargin.SetRect(2, 2, 4, 2);
        m_nRowGap = 0;
    }

    CRect FillTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcControl) override;
    void DrawSingleItem(CDC* pDC, COSMTabManagerItem* pItem) override;
    int GetSupportedColorSets() const override { return 95; }
    int GetDefaultColorSet() const override { return 2; }
};

class COSMTabAppearanceRaisedSelected : public COSMTabAppearanceSet
{
public:
    COSMTabAppearanceRaisedSelected() { m_rcHeaderMargin.SetRect(4, 2, 4, 0); }

    CRect FillTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcControl) override;
    void DrawSingleItem(CDC* pDC, COSMTabManagerItem* pItem) override;
    int GetSupportedColorSets() const override { return 7; }
    int GetDefaultColorSet() const override { return 2; }
};
