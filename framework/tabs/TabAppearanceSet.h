// COSMTabAppearanceSet: the shape of a tab strip, exchangeable in its paint manager (SetAppearance). The base set
// lays the strip out with the paint manager's layout, paints its rows through the paint manager, and gives the
// header and client rectangles for the strip's position; shaped sets derive from it and draw their tabs in
// DrawSingleItem. Margins are stated for a strip at the top and turned with the position (AdjustRectByPosition):
//
//   COSMTabAppearanceSet::AdjustRectByPosition(rc, 2, 1, 2, 2, nPosition);    // grows rc
//   COSMTabAppearanceSet::DeflateRectByPosition(rc, 2, 1, 2, 2, nPosition);   // shrinks it
#pragma once

#include <windows.h>

#include "classlib/DC.h"
#include "classlib/Geometry.h"

class COSMTabColorSet;
class COSMTabManager;
class COSMTabManagerItem;
class COSMTabPaintManager;

class COSMTabAppearanceSet
{
public:
    enum
    {
        kWorkspaceBorder = 0,
        kWorkspaceClient = 1,
        kWorkspaceSplitterVertical = 2,
        kWorkspaceSplitterHorizontal = 3,
    };

    COSMTabAppearanceSet() = default;
    virtual ~COSMTabAppearanceSet() = default;

    COSMTabAppearanceSet(const COSMTabAppearanceSet&) = delete;
    COSMTabAppearanceSet& operator=(const COSMTabAppearanceSet&) = delete;

    // Override these (in this order).
    virtual void RefreshMetrics();
    virtual CRect GetHeaderRect(CRect rcControl, const COSMTabManager* pTabManager) const;
    virtual CRect GetClientRect(CRect rcControl, const COSMTabManager* pTabManager) const;
    virtual CRect GetHeaderMargin() const { return m_rcHeaderMargin; }
    virtual CRect GetClientMargin() const;
    virtual int GetItemLength(CDC* pDC, COSMTabManagerItem* pItem);
    virtual int GetRowHeight(const COSMTabManager* pTabManager) const;
    virtual CRect GetItemDrawRect(const COSMTabManagerItem* pItem) const;
    virtual void DrawTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcControl);
    virtual CRect FillTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcControl);
    virtual void RepositionTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcControl);
    virtual void AdjustClientRect(COSMTabManager* pTabManager, CRect& rcClient);
    virtual void DrawSingleItem(CDC* /*pDC*/, COSMTabManagerItem* /*pItem*/) {}
    // A part of an MDI tab workspace: kWorkspaceBorder, kWorkspaceClient, kWorkspaceSplitterVertical or
    // kWorkspaceSplitterHorizontal. The client part only moves the rectangle it is given (the room the client
    // window takes); the others paint.
    virtual void DrawWorkspacePart(CDC* pDC, LPRECT lpRect, int nPart);
    virtual int GetSupportedColorSets() const { return 95; }
    virtual int GetDefaultColorSet() const { return 1; }

    // Not meant to be overridden.
    static void AdjustRectByPosition(CRect& rc, int l, int t, int r, int b, int nPosition);
    static void AdjustRectByPosition(CRect& rc, const CRect& rcMargin, int nPosition)
    {
        AdjustRectByPosition(rc, rcMargin.left, rcMargin.top, rcMargin.right, rcMargin.bottom, nPosition);
    }
    static void DeflateRectByPosition(CRect& rc, int l, int t, int r, int b, int nPosition)
    {
        AdjustRectByPosition(rc, -l, -t, -r, -b, nPosition);
    }
    static void DeflateRectByPosition(CRect& rc, const CRect& rcMargin, int nPosition)
    {
        AdjustRectByPosition(rc, -rcMargin.left, -rcMargin.top, -rcMargin.right, -rcMargin.bottom, nPosition);
    }
    // The thickness of the header: its rows (or, rotated, its longest item) and the margins.
    int GetHeaderHeight(const COSMTabManager* pTabManager) const;
    // The single-line client frame: one line on the header side, in the first colour for a top or left strip
    // and in the second for a bottom or right one.
    static void DrawSingleLineBorder(CDC* pDC, CRect rc, int nPosition, COLORREF clrTopLeft, COLORREF clrBottomRight);

    void SetPaintManager(COSMTabPaintManager* pPaintManager) { m_pPaintManager = pPaintManager; }
    COSMTabPaintManager* GetPaintManager() const { return m_pPaintManager; }
    void SetHeaderMargin(const CRect& rc) { m_rcHeaderMargin = rc; }
    int GetRowGap() const { return m_nRowGap; }
    void SetRowGap(int nGap) { m_nRowGap = nGap; }
    int GetBaseRowHeight() const { return m_nBaseRowHeight; }
    BOOL IsDrawSelectedLast() const { return m_bDrawSelectedLast; }
    void SetDrawSelectedLast(BOOL bLast) { m_bDrawSelectedLast = bLast; }

protected:
    COSMTabColorSet* GetColorSet() const;
    BOOL IsSelected(const COSMTabManagerItem* pItem) const;
    BOOL IsHighlighted(const COSMTabManagerItem* pItem) const;
    int GetPosition(const COSMTabManagerItem* pItem) const;
    // The item's icon and caption in the rectangle, the last step of every shape.
    void DrawItemContent(CDC* pDC, COSMTabManagerItem* pItem, const CRect& rc);
    // One-pixel lines and 3-D frames; a colour of -1 draws nothing.
    static void FillRow(CDC* pDC, int x, int y, int cx, COLORREF clr);
    static void FillColumn(CDC* pDC, int x, int y, int cy, COLORREF clr);
    static void FillPixel(CDC* pDC, int x, int y, COLORREF clr) { FillRow(pDC, x, y, 1, clr); }
    static void DrawFrame3D(CDC* pDC, const CRect& rc, COLORREF clrTopLeft, COLORREF clrBottomRight);
    // The header's face, the client's fill and the client frame the paint manager asks for (3-D or single line) in
    // the border colour; returns the header rectangle.
    CRect FillFacedControl(COSMTabManager* pTabManager, CDC* pDC, const CRect& rcControl);

    CRect m_rcHeaderMargin{0, 0, 0, 0};
    int m_nRowGap = -2;
    int m_nBaseRowHeight = 18;
    COSMTabPaintManager* m_pPaintManager = nullptr;
    BOOL m_bDrawSelectedLast = FALSE;
};
