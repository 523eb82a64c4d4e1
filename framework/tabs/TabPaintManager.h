// COSMTabPaintManager: lays tab strips out and paints them. It holds a strip's settings (position, layout, sizes,
// margins, text flags), four fonts, an appearance set (shapes) and a colour set (colours), both exchangeable by id;
// one paint manager may serve several strips, which register as its clients:
//
//   COSMTabPaintManager pm;                      // appearance 0 with colour set 1, the icon-title font
//   pm.AddClient(&strip);                        // the strip leaves again in its destructor
//   pm.m_nPosition = 2; pm.SetLayout(4);         // every setter ends in RefreshAll: the clients lay out again
//   pm.RepositionTabControl(&strip, &dc, rcControl);
//   pm.DrawTabControl(&strip, &dc, rcControl);
//
// Layouts: 0 natural lengths with scrolling, 1 size to fit, 2 fixed width, 3 compressed (only the selected tab
// shows its caption), 4 multi-row, 5 rotated. Positions: 0 top, 1 left, 2 bottom, 3 right.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "classlib/CString.h"
#include "classlib/CmdTarget.h"
#include "classlib/DC.h"
#include "classlib/Gdi.h"
#include "classlib/Geometry.h"
#include "framework/tabs/TabAppearanceSet.h"
#include "framework/tabs/TabColorSet.h"

class COSMTabManager;
class COSMTabManagerItem;
class COSMTabManagerNavigateButton;

class COSMTabPaintManager : public CCmdTarget
{
public:
    enum
    {
        kLayoutAutoSize = 0,
        kLayoutSizeToFit = 1,
        kLayoutFixed = 2,
        kLayoutCompressed = 3,
        kLayoutMultiRow = 4,
        kLayoutRotated = 5,
    };

    // The settings while a strip has no paint manager yet (a workspace strip before it has an owner).
    static const int kDefaultTooltipMode = 2;
    static const int kDefaultFixedWidth = 70;
    static CSize DefaultNavigateButtonSize() { return CSize(14, 15); }

    COSMTabPaintManager();
    ~COSMTabPaintManager() override;

    // Override these (in this order).
    virtual void DrawTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcControl);
    virtual void AdjustClientRect(COSMTabManager* pTabManager, CRect& rcClient);
    virtual void RepositionTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcClient);
    virtual void DrawNavigateButton(CDC* pDC, COSMTabManagerNavigateButton* pButton, CRect& rc);
    virtual int DrawItemContent(CDC* pDC, COSMTabManagerItem* pItem, CRect rcItem, BOOL bDraw);
    virtual void RefreshMetrics();
    virtual void RefreshAll();
    virtual void DrawFocusRect(CDC* pDC, COSMTabManagerItem* pItem, CRect rc);

    // Not meant to be overridden.
    COSMTabColorSet* SetColor(int nColorSet);
    COSMTabColorSet* SetColorSet(COSMTabColorSet* pColorSet);
    COSMTabAppearanceSet* SetAppearance(int nAppearance);
    COSMTabAppearanceSet* SetAppearanceSet(COSMTabAppearanceSet* pAppearanceSet);
    COSMTabColorSet* GetColorSet() const { return m_pColorSet.get(); }
    COSMTabAppearanceSet* GetAppearanceSet() const { return m_pAppearanceSet.get(); }
    int GetAppearance() const { return m_nAppearance; }
    int GetColor() const { return m_nColor; }
    void SetLayout(int nLayout);
    int GetLayout() const { return m_nLayout; }
    void SetPosition(int nPosition);
    int GetPosition() const { return m_nPosition; }
    void SetFontIndirect(const LOGFONTA* pLogFont, BOOL bUseSystemFont = FALSE);
    BOOL IsLunaColorsDisabled() const;
    static COLORREF GetFixedTabColor(COLORREF clr);
    int GetTextExtent(CDC* pDC, const CString& strText, UINT nFormat = 0) const;
    void DrawTextPathEllipsis(CDC* pDC, const CString& strText, CRect rc, UINT nFormat);
    void EnsureVisible(COSMTabManager* pTabManager, COSMTabManagerItem* pItem);
    // Colour counter: the next inserted item takes fixed colour (counter mod 8).
    int TakeNextItemColor() { return m_nItemColor++; }

    // The strips served; a strip leaves by itself when it goes, and the paint manager unlinks its clients when
    // it goes first.
    void AddClient(COSMTabManager* pTabManager);
    void RemoveClient(COSMTabManager* pTabManager);
    const std::vector<COSMTabManager*>& GetClients() const { return m_arrClients; }

    // The layout and the painting the base appearance set runs.
    void LayoutTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcClient);
    void PaintTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcControl);
    void RepositionNavigateButtons(COSMTabManager* pTabManager, CRect rcClient);
    void ShrinkItemsToFit(COSMTabManager* pTabManager, int nRoom);

    CFont* GetFont(BOOL bBold, BOOL bVertical);

    // Settings, read by the sets and the strips.
    BOOL m_bHotTracking = FALSE;
    BOOL m_bShowIcons = TRUE;
    BOOL m_bBoldSelected = FALSE;
    BOOL m_bBoldNormal = FALSE;
    BOOL m_bDisableLunaColors = FALSE;
    BOOL m_bOneNoteColors = FALSE;  // tabs take their item colours
    int m_nClientFrame = 0;         // 0 border, 1 single line, 2 none
    BOOL m_bStaticFrame = FALSE;
    CRect m_rcClientMargin{0, 0, 0, 0};
    CRect m_rcControlMargin{0, 0, 0, 0};
    CRect m_rcItemInset{0, 0, 0, 0};
    CRect m_rcTextMargin{6, 0, 6, 0};
    BOOL m_bInvertGradient = FALSE;
    BOOL m_bFillBackground = TRUE;
    CSize m_szIcon{16, 16};
    BOOL m_bDrawTextPathEllipsis = FALSE;
    BOOL m_bDrawTextEndEllipsis = TRUE;
    BOOL m_bDrawTextNoPrefix = TRUE;
    UINT m_nDrawTextFormat = DT_VCENTER;
    BOOL m_bDrawTextHidePrefix = FALSE;
    BOOL m_bMultiRowFixedSelection = FALSE;
    BOOL m_bMultiRowJustified = TRUE;
    BOOL m_bDrawFocusRect = TRUE;
    BOOL m_bSetting = TRUE;  // kept for the sets
    int m_nItemExtraLength = 0;
    BOOL m_bSelectOnButtonDown = TRUE;
    BOOL m_bClearTypeTextQuality = FALSE;
    BOOL m_bRotateImageOnVerticalDraw = FALSE;
    BOOL m_bClipHeader = TRUE;
    CSize m_szNavigateButton{14, 15};
    BOOL m_bShowTabs = TRUE;
    int m_nMinTabWidth = 0;
    int m_nMaxTabWidth = 0;
    int m_nFixedTabWidth = 70;
    int m_nToolTipBehaviour = 2;
    BOOL m_bUseStandardFont = TRUE;

protected:
    void LayoutMultiRow(COSMTabManager* pTabManager, CDC* pDC, CRect rcClient);
    BOOL DistributeRows(COSMTabManager* pTabManager, int nRow, int nTotal, int nRoom);
    void DrawRowItems(COSMTabManager* pTabManager, CDC* pDC, const CRect& rcClip, int nRow);
    int AdjustItemLength(int nLength) const;
    void DrawItemCaption(CDC* pDC, COSMTabManagerItem* pItem, CRect rc, BOOL bVerticalText, CFont* pFont);

    std::unique_ptr<COSMTabAppearanceSet> m_pAppearanceSet;
    std::unique_ptr<COSMTabColorSet> m_pColorSet;
    std::vector<COSMTabManager*> m_arrClients;
    int m_nAppearance = 0;
    int m_nColor = 1;
    int m_nPosition = 0;
    int m_nLayout = 0;
    CFont m_fntNormal;
    CFont m_fntBold;
    CFont m_fntVerticalNormal;
    CFont m_fntVerticalBold;
    int m_nItemColor = 0;
};
