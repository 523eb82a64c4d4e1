// COSMTabColorSet: every colour of a tab strip and the fills of its header, client area, tabs, buttons and
// navigation buttons, exchangeable in its paint manager (SetColor). A refresh writes each member's standard value
// as a colour (framework colour indexes resolved through the colour manager); a member's custom value, where set,
// wins. COSMTabColorSetDefault is the set of id 1 and of every id that has no set of its own.
//
//   pPaintManager->SetColor(1);                                     // the default set, refreshed
//   pPaintManager->GetColorSet()->m_clrFace.SetCustomValue(RGB(255, 255, 0));
#pragma once

#include <windows.h>

#include "classlib/DC.h"
#include "classlib/Geometry.h"
#include "framework/foundation/PaintManagerColor.h"

class COSMTabManager;
class COSMTabManagerItem;
class COSMTabManagerNavigateButton;
class COSMTabPaintManager;

// Six colours of a tab state, as the trapezoid tabs draw with them: border, bottom border (the outer line of a
// bottom tab), dark border, light, shadow, bottom light (the inner line of a bottom tab).
struct COSMTabColorSetGroup
{
    COSMPaintManagerColor clrBorder;
    COSMPaintManagerColor clrBottomBorder;
    COSMPaintManagerColor clrDarkBorder;
    COSMPaintManagerColor clrLight;
    COSMPaintManagerColor clrShadow;
    COSMPaintManagerColor clrBottomLight;
    void Set(COLORREF border, COLORREF bottomBorder, COLORREF dark, COLORREF light, COLORREF shadow,
             COLORREF bottomLight);
};

class COSMTabColorSet
{
public:
    // A gradient whose first colour is this paints the checkerboard of button face and highlight.
    static constexpr COLORREF kCheckerboard = static_cast<COLORREF>(-2);

    COSMTabColorSet() = default;
    virtual ~COSMTabColorSet() = default;

    COSMTabColorSet(const COSMTabColorSet&) = delete;
    COSMTabColorSet& operator=(const COSMTabColorSet&) = delete;

    // Override these (in this order).
    virtual void RefreshMetrics();
    virtual void SetItemTextColor(CDC* pDC, COSMTabManagerItem* pItem);
    virtual void FillHeaderFace(CDC* pDC, CRect rc, COSMTabManager* pTabManager);
    virtual COLORREF FillClient(CDC* pDC, CRect rc, COSMTabManager* pTabManager);
    virtual void FillButton(CDC* pDC, CRect rc, COSMTabManagerItem* pItem);
    virtual COLORREF FillTab(CDC* pDC, CRect rc, COSMTabManagerItem* pItem);
    virtual void FillHeader(CDC* /*pDC*/, CRect /*rc*/, COSMTabManager* /*pTabManager*/) {}
    // Fills a navigation button and selects its text colour; the base has no look of its own.
    virtual void FillNavigateButton(CDC* /*pDC*/, COSMTabManagerNavigateButton* /*pButton*/, CRect& /*rc*/) {}
    virtual COLORREF GetTabColor(COSMTabManagerItem* pItem);
    virtual BOOL IsVisualStyleUsed() const { return FALSE; }

    // Not meant to be overridden.
    // Two colours along the strip's depth (vertical for top and bottom strips), swapped for bottom and right and
    // once more with the paint manager's reverse flag; a first colour kCheckerboard paints the checkerboard.
    void GradientFillByPosition(CDC* pDC, CRect rc, COLORREF clrFirst, COLORREF clrSecond, int nPosition);
    static void FillCheckerboard(CDC* pDC, CRect rc);
    // A colour index 0 to 62 resolved through the colour manager; a colour or a marker stays as it is.
    static COLORREF ResolveColor(COLORREF indexOrColor);
    void SetPaintManager(COSMTabPaintManager* pPaintManager) { m_pPaintManager = pPaintManager; }
    COSMTabPaintManager* GetPaintManager() const { return m_pPaintManager; }

    COSMPaintManagerColorGradient m_grcHeaderFace;
    COSMPaintManagerColorGradient m_grcAlternateFace;
    COSMPaintManagerColor m_clrBorder;
    COSMPaintManagerColor m_clrFace;
    COSMPaintManagerColor m_clrPane;
    COSMPaintManagerColor m_clrLight;
    COSMPaintManagerColor m_clrDark;  // the dark side of a raised selected tab
    COSMPaintManagerColor m_clrSelectedTab;
    COSMPaintManagerColor m_clrHotTab;
    COSMPaintManagerColor m_clrPressedTab;
    COSMPaintManagerColor m_clrNormalTab;
    COSMPaintManagerColor m_clrNormalText;
    COSMPaintManagerColor m_clrInactiveText;
    COSMPaintManagerColor m_clrSelectedText;
    COSMPaintManagerColor m_clrHotText;
    COSMPaintManagerColor m_clrDisabledText;
    COSMPaintManagerColorGradient m_grcButtonSelectedFace;
    COSMPaintManagerColorGradient m_grcButtonSelectedBorder;
    COSMPaintManagerColor m_clrFrameHighlight;
    COSMPaintManagerColor m_clrFrameShadow;
    COSMPaintManagerColor m_clrFrameDarkShadow;
    COSMPaintManagerColor m_clrTabOutline;
    COSMPaintManagerColor m_clrSelectedTabOutline;
    COSMPaintManagerColor m_clrTabInnerLight;
    COSMPaintManagerColor m_clrTabInnerLight2;
    COSMTabColorSetGroup m_csSelected;
    COSMTabColorSetGroup m_csNormal;

protected:
    static void SetStandard(COSMPaintManagerColor& clr, COLORREF indexOrColor);
    static void SetStandard(COSMPaintManagerColorGradient& grc, COLORREF first, COLORREF second, float factor = 0.5f);
    // A 3-D frame: first colour top and left, second bottom and right (a colour of -1 draws nothing).
    static void DrawFrame3D(CDC* pDC, const CRect& rc, COLORREF clrTopLeft, COLORREF clrBottomRight);

    COSMTabPaintManager* m_pPaintManager = nullptr;
};

class COSMTabColorSetDefault : public COSMTabColorSet
{
public:
    void RefreshMetrics() override;
    void FillNavigateButton(CDC* pDC, COSMTabManagerNavigateButton* pButton, CRect& rc) override;
};
