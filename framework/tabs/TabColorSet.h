// COSMTabColorSet: every colour of a tab strip and the fills of its header, client area, tabs, buttons and
// navigation buttons, exchangeable in its paint manager (SetColor). A refresh writes each member's standard value
// as a colour (framework colour indexes resolved through the colour manager); a member's custom value, where set,
// wins. COSMTabColorSetDefault is the set of id 1 and of every id that has no set of its own; COSMTabColorSetClassic
// (id 2) is the classic look's. The Office 2003 family (ids 4, 16, 64) lives in TabColorSetOffice2003.h, the
// visual style's set (id 8) in TabColorSetVisualStyle.h, the theme resources' sets (ids 32, 128) in
// TabColorSetResource.h.
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
    // The colour manager's framework colours the sets take, by their roles in the flat looks.
    static constexpr COLORREF kHotFill = 31;
    static constexpr COLORREF kHotFrame = 32;
    static constexpr COLORREF kPressedFill = 33;
    static constexpr COLORREF kCheckedFill = 36;
    static constexpr COLORREF kCheckedFrame = 37;
    static constexpr COLORREF kDarkFace = 48;      // the classic header: a shadow-dark face
    static constexpr COLORREF kDarkFaceText = 49;  // text that reads on it
    static constexpr COLORREF kPressedFrame = 50;
    static constexpr COLORREF kStyleBorder = 57;  // the visual style's border

    static void SetStandard(COSMPaintManagerColor& clr, COLORREF indexOrColor);
    static void SetStandard(COSMPaintManagerColorGradient& grc, COLORREF first, COLORREF second, float factor = 0.5f);
    // A 3-D frame: first colour top and left, second bottom and right (a colour of -1 draws nothing).
    static void DrawFrame3D(CDC* pDC, const CRect& rc, COLORREF clrTopLeft, COLORREF clrBottomRight);
    // The navigation buttons' frames of the default family: an enabled pressed button sunken (clrDark top-left,
    // clrLight bottom-right, and rc moved by (1, 1) for the glyph), a hot one raised; then the text colour.
    static void FillNavigateButtonFrames(CDC* pDC, COSMTabManagerNavigateButton* pButton, CRect& rc, COLORREF clrDark,
                                         COLORREF clrLight, COLORREF clrText);

    COSMTabPaintManager* m_pPaintManager = nullptr;
};

class COSMTabColorSetDefault : public COSMTabColorSet
{
public:
    void RefreshMetrics() override;
    void FillNavigateButton(CDC* pDC, COSMTabManagerNavigateButton* pButton, CRect& rc) override;
};

// The classic look (id 2): the header in the framework's classic face, and darker navigation frames.
class COSMTabColorSetClassic : public COSMTabColorSetDefault
{
public:
    void RefreshMetrics() override;
    void FillNavigateButton(CDC* pDC, COSMTabManagerNavigateButton* pButton, CRect& rc) override;
};
