// Tabs drawn as filled polygons with pen outlines: slanted tabs (appearance 3), trapezoids (appearance 7) and
// curved document tabs (appearance 9, which paints the selected tab after its neighbours on both sides). Each
// shape reaches beyond its item rectangle, so each grows the rectangle it paints into (GetItemDrawRect) and the
// header margin that keeps the first shape inside the strip.
#pragma once

#include <vector>

#include "framework/tabs/TabAppearanceSet.h"

class COSMTabAppearanceFigures : public COSMTabAppearanceSet
{
protected:
    // A figure given as a start point and steps relative to the point before.
    static std::vector<POINT> FigurePoints(POINT ptStart, std::initializer_list<POINT> steps);
    // The colour set's tab fill inside the polygon; the colour it used, or -1.
    COLORREF FillFigure(CDC* pDC, const std::vector<POINT>& points, COSMTabManagerItem* pItem);
    // One-pixel lines from point to point; the last point is not painted.
    static void DrawFigureLine(CDC* pDC, const std::vector<POINT>& points, COLORREF clr);
    // Header filled; the client filled and framed in the selected tab's outline colour (style 0), or its
    // single-line frame in that colour (style 1).
    CRect FillOutlinedTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcControl);
};

class COSMTabAppearanceSlanted : public COSMTabAppearanceFigures
{
public:
    COSMTabAppearanceSlanted() { m_rcHeaderMargin.SetRect(2, 3, 6, 0); }

    CRect GetHeaderMargin() const override;
    CRect GetItemDrawRect(const COSMTabManagerItem* pItem) const override;
    CRect FillTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcControl) override;
    void DrawSingleItem(CDC* pDC, COSMTabManagerItem* pItem) override;
    int GetSupportedColorSets() const override { return 85; }
    int GetDefaultColorSet() const override { return 4; }
};

class COSMTabAppearanceTrapezoids : public COSMTabAppearanceFigures
{
public:
    COSMTabAppearanceTrapezoids() { m_rcHeaderMargin.SetRect(2, 3, 2, 0); }

    CRect GetHeaderMargin() const override;
    CRect GetItemDrawRect(const COSMTabManagerItem* pItem) const override;
    CRect FillTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcControl) override;
    void DrawSingleItem(CDC* pDC, COSMTabManagerItem* pItem) override;
    int GetSupportedColorSets() const override { return 7; }
    int GetDefaultColorSet() const override { return 2; }
};

class COSMTabAppearanceCurvedDocuments : public COSMTabAppearanceFigures
{
public:
    COSMTabAppearanceCurvedDocuments()
    {
        m_rcHeaderMargin.SetRect(2, 3, 6, 0);
        m_bDrawSelectedLast = TRUE;
    }

    CRect GetHeaderMargin() const override;
    CRect GetItemDrawRect(const COSMTabManagerItem* pItem) const override;
    CRect FillTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcControl) override;
    void DrawSingleItem(CDC* pDC, COSMTabManagerItem* pItem) override;
    int GetSupportedColorSets() const override { return 85; }
    int GetDefaultColorSet() const override { return 4; }
};
