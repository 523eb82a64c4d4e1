#include "framework/tabs/TabColorSetOffice2003.h"

#include "framework/foundation/ColorManager.h"
#include "framework/foundation/DrawHelpers.h"
#include "framework/tabs/TabManager.h"
#include "framework/tabs/TabPaintManager.h"

namespace {

const COLORREF kOffice2003NoColor = static_cast<COLORREF>(-1);
const COLORREF kOffice2003White = RGB(255, 255, 255);

// The colours of one Windows XP scheme.
struct TabSchemeColors
{
    COLORREF border;       // and the selected tab's outline
    COLORREF darkShadow;   // the frame's dark shadow and the tab outline
    COLORREF shadow;       // the frame's shadow and the tab's inner light
    COLORREF buttonFace;   // the selected button's face
    COLORREF buttonFrame;  // the selected button's frame and the navigation buttons' frame
    COLORREF header[2];
    COLORREF alternate[2];
    COLORREF normalTab;
    COLORREF selectedTab;
    COLORREF hotTab;
};

const TabSchemeColors kTabSchemeBlue = {RGB(59, 97, 156),
                                        RGB(0, 53, 154),
                                        RGB(117, 166, 241),
                                        RGB(255, 192, 111),
                                        RGB(0, 0, 128),
                                        {RGB(196, 218, 250), RGB(252, 253, 254)},
                                        {RGB(158, 190, 245), RGB(196, 218, 250)},
                                        RGB(162, 192, 246),
                                        RGB(255, 194, 115),
                                        RGB(255, 240, 201)};
const TabSchemeColors kTabSchemeOlive = {RGB(96, 128, 88),
                                         RGB(96, 119, 107),
                                         RGB(176, 194, 140),
                                         RGB(255, 192, 111),
                                         RGB(63, 93, 56),
                                         {RGB(242, 241, 228), RGB(252, 254, 254)},
                                         {RGB(217, 217, 167), RGB(242, 241, 228)},
                                         RGB(208, 222, 170),
                                         RGB(255, 194, 115),
                                         RGB(255, 240, 199)};
const TabSchemeColors kTabSchemeSilver = {RGB(124, 124, 148),
                                          RGB(118, 116, 146),
                                          RGB(186, 185, 206),
                                          RGB(255, 192, 111),
                                          RGB(75, 75, 111),
                                          {RGB(243, 243, 247), RGB(252, 254, 254)},
                                          {RGB(215, 215, 229), RGB(243, 243, 247)},
                                          RGB(217, 217, 230),
                                          RGB(255, 194, 115),
                                          RGB(255, 238, 194)};

// One-pixel outline of rc.
void FrameTabRect(CDC* pDC, const CRect& rc, COLORREF clr)
{
    if (clr == kOffice2003NoColor)
        return;
    pDC->FillSolidRect(rc.left, rc.top, rc.Width(), 1, clr);
    pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, clr);
    pDC->FillSolidRect(rc.left, rc.top, 1, rc.Height(), clr);
    pDC->FillSolidRect(rc.right - 1, rc.top, 1, rc.Height(), clr);
}

int TabPositionOf(const COSMTabManagerItem* pItem)
{
    const COSMTabManager* pTabManager = pItem->GetTabManager();
    return pTabManager ? pTabManager->GetPosition() : 0;
}

bool IsTabSelected(const COSMTabManagerItem* pItem)
{
    const COSMTabManager* pTabManager = pItem->GetTabManager();
    return pTabManager && pTabManager->GetSelectedItem() == pItem;
}

bool IsTabHot(const COSMTabManagerItem* pItem)
{
    const COSMTabManager* pTabManager = pItem->GetTabManager();
    return pTabManager && pTabManager->GetHighlightedItem() == pItem;
}

bool IsTabPressed(const COSMTabManagerItem* pItem)
{
    const COSMTabManager* pTabManager = pItem->GetTabManager();
    return pTabManager && pTabManager->GetPressedItem() == pItem;
}

bool AreLunaColorsDisabled(const COSMTabPaintManager* pPaintManager)
{
    return pPaintManager ? pPaintManager->IsLunaColorsDisabled() : GetColorManager()->IsLunaColorsDisabled();
}

}  // namespace

// ---- Office 2003 (id 4) ------------------------------------------------------------------------------------------

BOOL COSMTabColorSetOffice2003::SetSchemeColors(int nStyle)
{
    const TabSchemeColors* pScheme = nullptr;
    switch (nStyle)
    {
    case COSMColorManager::kStyleLunaBlue:
    case COSMColorManager::kStyleRoyale:
    case COSMColorManager::kStyleAero:
        pScheme = &kTabSchemeBlue;
        break;
    case COSMColorManager::kStyleLunaOlive:
        pScheme = &kTabSchemeOlive;
        break;
    case COSMColorManager::kStyleLunaSilver:
        pScheme = &kTabSchemeSilver;
        break;
    default:
        return FALSE;
    }
    SetStandard(m_clrBorder, pScheme->border);
    SetStandard(m_clrSelectedTabOutline, pScheme->border);
    SetStandard(m_clrFrameDarkShadow, pScheme->darkShadow);
    SetStandard(m_clrTabOutline, pScheme->darkShadow);
    SetStandard(m_clrFrameShadow, pScheme->shadow);
    SetStandard(m_clrTabInnerLight, pScheme->shadow);
    SetStandard(m_clrTabInnerLight2, kOffice2003White);
    SetStandard(m_grcButtonSelectedFace, pScheme->buttonFace, pScheme->buttonFace);
    SetStandard(m_grcButtonSelectedBorder, pScheme->buttonFrame, pScheme->buttonFrame);
    SetStandard(m_clrNavigateFrame, pScheme->buttonFrame);
    SetStandard(m_grcHeaderFace, pScheme->header[0], pScheme->header[1]);
    SetStandard(m_grcAlternateFace, pScheme->alternate[0], pScheme->alternate[1]);
    SetStandard(m_clrNormalTab, pScheme->normalTab);
    SetStandard(m_clrSelectedTab, pScheme->selectedTab);
    SetStandard(m_clrHotTab, pScheme->hotTab);
    return TRUE;
}

void COSMTabColorSetOffice2003::RefreshMetrics()
{
    COSMTabColorSetDefault::RefreshMetrics();
    const COLORREF clrFace = ResolveColor(COLOR_BTNFACE);
    m_grcHeaderFace.SetStandardColors(clrFace, COSMColorManager::BlendColors(clrFace, ResolveColor(COLOR_WINDOW), 205));
    SetStandard(m_grcButtonSelectedFace, kCheckedFill, kCheckedFill);
    SetStandard(m_grcButtonSelectedBorder, kCheckedFrame, kCheckedFrame);
    SetStandard(m_clrHotTab, kCheckedFill);
    SetStandard(m_clrPressedTab, kPressedFill);
    SetStandard(m_clrHotText, COLOR_BTNTEXT);
    m_grcAlternateFace.SetFromEffective(m_grcHeaderFace);
    m_clrNavigateFrame.SetStandardValue(kOffice2003NoColor);
    m_bSchemeColors = FALSE;
    if (!AreLunaColorsDisabled(m_pPaintManager))
    {
        m_bSchemeColors = SetSchemeColors(GetColorManager()->GetVisualStyle());
        if (!m_bSchemeColors)
            SetStandard(m_clrSelectedTab, kCheckedFill);
    }
    if (m_bSchemeColors)
        SetStandard(m_clrPressedTab, RGB(254, 142, 75));
    SetGroupsFromBorder();
    if (m_pPaintManager && m_pPaintManager->GetAppearance() == 4)
    {
        // Button tabs sit on the plain face.
        SetStandard(m_grcHeaderFace, COLOR_BTNFACE, COLOR_BTNFACE);
        SetStandard(m_grcAlternateFace, COLOR_BTNFACE, COLOR_BTNFACE);
    }
}

void COSMTabColorSetOffice2003::SetGroupsFromBorder()
{
    // The border colour is a colour already: set as it is, not looked up as an index.
    for (COSMTabColorSetGroup* pGroup : {&m_csSelected, &m_csNormal})
    {
        pGroup->clrBorder.SetStandardValue(m_clrBorder);
        pGroup->clrBottomBorder.SetStandardValue(m_clrBorder);
        pGroup->clrDarkBorder.SetStandardValue(m_clrBorder);
        pGroup->clrLight.SetStandardValue(kOffice2003NoColor);
        pGroup->clrShadow.SetStandardValue(kOffice2003NoColor);
        pGroup->clrBottomLight.SetStandardValue(kOffice2003NoColor);
    }
}

void COSMTabColorSetOffice2003::FillTabGradient(CDC* pDC, const CRect& rc, COLORREF clr, int nPosition)
{
    GradientFillByPosition(pDC, rc, COSMColorManager::BlendColors(clr, kOffice2003White, 300), clr, nPosition);
}

COLORREF COSMTabColorSetOffice2003::FillTab(CDC* pDC, CRect rc, COSMTabManagerItem* pItem)
{
    COLORREF clr = GetTabColor(pItem);
    if (IsTabPressed(pItem))
        clr = m_clrPressedTab;
    else if (IsTabHot(pItem))
        clr = m_clrHotTab;
    if (clr == kOffice2003NoColor)
        return clr;
    FillTabGradient(pDC, rc, clr, TabPositionOf(pItem));
    return clr;
}

void COSMTabColorSetOffice2003::FillNavigateButton(CDC* pDC, COSMTabManagerNavigateButton* pButton, CRect& rc)
{
    COSMColorManager* pColors = GetColorManager();
    if (pButton->IsEnabled())
    {
        const COSMTabManager* pTabManager = pButton->GetTabManager();
        const bool bHot = pTabManager && pTabManager->GetHighlightedButton() == pButton;
        const bool bPressed = pButton->IsPressed() != FALSE;
        if (bHot && bPressed)
        {
            if (m_bSchemeColors)
            {
                GetDrawHelpers()->GradientFill(pDC, rc, RGB(254, 142, 75), RGB(255, 207, 139), FALSE);
                FrameTabRect(pDC, rc, m_clrNavigateFrame);
            }
            else
            {
                pDC->FillSolidRect(rc, pColors->GetColor(kPressedFill));
                FrameTabRect(pDC, rc, pColors->GetColor(kPressedFrame));
            }
        }
        else if (bHot || bPressed)
        {
            if (m_bSchemeColors)
            {
                GetDrawHelpers()->GradientFill(pDC, rc, RGB(255, 242, 200), RGB(255, 212, 151), FALSE);
                FrameTabRect(pDC, rc, m_clrNavigateFrame);
            }
            else
            {
                pDC->FillSolidRect(rc, pColors->GetColor(kHotFill));
                FrameTabRect(pDC, rc, pColors->GetColor(kHotFrame));
            }
        }
    }
    pDC->SetTextColor(pColors->GetColor(COLOR_BTNTEXT));
}

void COSMTabColorSetOffice2003::RefreshPlainStart()
{
    COSMTabColorSet::RefreshMetrics();
    SetStandard(m_clrSelectedTab, COLOR_WINDOW);
    SetStandard(m_clrSelectedText, COLOR_WINDOWTEXT);
    m_bSchemeColors = FALSE;
    m_clrNavigateFrame.SetStandardValue(kOffice2003NoColor);
    SetStandard(m_clrHotTab, kCheckedFill);
    SetStandard(m_clrPressedTab, kPressedFill);
    SetStandard(m_clrHotText, COLOR_BTNTEXT);
}

// ---- Plain (id 16) -----------------------------------------------------------------------------------------------

void COSMTabColorSetPlain::RefreshMetrics()
{
    RefreshPlainStart();
    m_bOwnSchemeColors = FALSE;
    if (!AreLunaColorsDisabled(m_pPaintManager))
    {
        COSMTabColorSetOffice2003::RefreshMetrics();
    }
    else
    {
        switch (GetColorManager()->GetVisualStyle())
        {
        case COSMColorManager::kStyleLunaBlue:
        case COSMColorManager::kStyleLunaOlive:
            SetStandard(m_grcHeaderFace, RGB(228, 226, 213), RGB(228, 226, 213));
            m_bOwnSchemeColors = TRUE;
            break;
        case COSMColorManager::kStyleLunaSilver:
            SetStandard(m_clrNormalTab, RGB(245, 245, 248));
            SetStandard(m_grcHeaderFace, RGB(238, 238, 238), RGB(238, 238, 238));
            m_bOwnSchemeColors = TRUE;
            break;
        default:
            break;
        }
    }
    SetStandard(m_clrSelectedTabOutline, kStyleBorder);
    SetStandard(m_clrBorder, kStyleBorder);
}

COLORREF COSMTabColorSetPlain::FillTab(CDC* pDC, CRect rc, COSMTabManagerItem* pItem)
{
    const COLORREF clr = IsTabHot(pItem) ? static_cast<COLORREF>(m_clrHotTab) : GetTabColor(pItem);
    if (clr == kOffice2003NoColor)
        return clr;
    if (m_bOwnSchemeColors)
        FillTabGradient(pDC, rc, clr, TabPositionOf(pItem));
    else
        pDC->FillSolidRect(rc, clr);
    return clr;
}

// ---- Light (id 64) -----------------------------------------------------------------------------------------------

void COSMTabColorSetLight::RefreshMetrics()
{
    RefreshPlainStart();
    m_bOwnSchemeColors = FALSE;
    SetStandard(m_clrSelectedTabOutline, kStyleBorder);
    SetStandard(m_clrBorder, kStyleBorder);
    SetStandard(m_clrSelectedTab, COLOR_BTNFACE);
    SetStandard(m_clrHotTab, COLOR_WINDOW);
    SetStandard(m_clrNormalTab, COLOR_BTNFACE);
    SetStandard(m_grcHeaderFace, COLOR_BTNFACE, COLOR_BTNFACE);
    if (!AreLunaColorsDisabled(m_pPaintManager))
    {
        COSMTabColorSetOffice2003::RefreshMetrics();
        return;
    }
    switch (GetColorManager()->GetVisualStyle())
    {
    case COSMColorManager::kStyleLunaBlue:
    case COSMColorManager::kStyleRoyale:
        SetStandard(m_clrSelectedTab, RGB(193, 210, 238));
        SetStandard(m_clrHotTab, RGB(167, 191, 227));
        SetStandard(m_clrBorder, RGB(152, 181, 226));
        break;
    case COSMColorManager::kStyleLunaOlive:
        SetStandard(m_clrSelectedTab, RGB(182, 198, 141));
        SetStandard(m_clrHotTab, RGB(175, 175, 142));
        SetStandard(m_clrBorder, RGB(147, 160, 112));
        break;
    case COSMColorManager::kStyleLunaSilver:
        SetStandard(m_clrSelectedTab, RGB(225, 226, 236));
        SetStandard(m_clrHotTab, RGB(255, 201, 128));
        SetStandard(m_clrBorder, RGB(147, 145, 176));
        break;
    case COSMColorManager::kStyleAero:
        SetStandard(m_clrSelectedTab, RGB(210, 230, 250));
        SetStandard(m_clrNormalTab, RGB(152, 180, 210));
        SetStandard(m_clrHotTab, RGB(129, 208, 241));
        SetStandard(m_clrBorder, RGB(105, 161, 191));
        break;
    default:
        return;
    }
    m_clrSelectedTabOutline.SetStandardValue(m_clrBorder.GetStandardValue());
    m_bOwnSchemeColors = TRUE;
}

COLORREF COSMTabColorSetLight::FillTab(CDC* pDC, CRect rc, COSMTabManagerItem* pItem)
{
    const bool bSelected = IsTabSelected(pItem);
    const COLORREF clr = IsTabHot(pItem) && !bSelected ? static_cast<COLORREF>(m_clrHotTab) : GetTabColor(pItem);
    if (clr == kOffice2003NoColor)
        return clr;
    if (!m_bOwnSchemeColors && !bSelected)
        pDC->FillSolidRect(rc, clr);
    else
        GradientFillByPosition(pDC, rc, RGB(253, 253, 253), clr, TabPositionOf(pItem));
    return clr;
}
