#include "framework/tabs/TabColorSetResource.h"

#include "framework/foundation/ColorManager.h"
#include "framework/tabs/TabManager.h"
#include "framework/tabs/TabManagerNavigateButton.h"
#include "framework/themes/Office2007Images.h"

namespace {

const COLORREF kResourceBlack = RGB(0, 0, 0);

}  // namespace

void COSMTabColorSetResource::SetFromTheme(COSMPaintManagerColor& clr, LPCSTR lpszSection, LPCSTR lpszKey)
{
    clr.SetStandardValue(COSMOffice2007Images::Instance()->GetImageColor(lpszSection, lpszKey));
}

void COSMTabColorSetResource::RefreshMetrics()
{
    COSMTabColorSetOffice2003::RefreshMetrics();
    if (!COSMOffice2007Images::Instance()->IsValid())
    {
        // Without the theme the strip keeps the blue look the theme was made to match, whatever the machine's style.
        SetSchemeColors(COSMColorManager::kStyleLunaBlue);
        SetStandard(m_clrPressedTab, RGB(254, 142, 75));
        SetStandard(m_clrHotText, COLOR_BTNTEXT);
    }
    else
    {
        SetFromTheme(m_clrBorder, "TabManager", "FrameBorder");
        m_clrSelectedTabOutline.SetStandardValue(m_clrBorder.GetStandardValue());
        SetFromTheme(m_clrFrameDarkShadow, "TabManager", "DarkShadow");
        m_clrTabOutline.SetStandardValue(m_clrFrameDarkShadow.GetStandardValue());
        SetFromTheme(m_clrFrameShadow, "TabManager", "LightShadow");
        m_clrTabInnerLight.SetStandardValue(m_clrFrameShadow.GetStandardValue());
        SetStandard(m_clrTabInnerLight2, RGB(255, 255, 255));
        SetFromTheme(m_grcHeaderFace.First(), "Ribbon", "RibbonFace");
        m_grcHeaderFace.Second().SetStandardValue(m_grcHeaderFace.First().GetStandardValue());
        SetFromTheme(m_clrNormalTab, "Window", "ButtonFace");
        SetFromTheme(m_clrSelectedTab, "Window", "HighlightChecked");
        SetFromTheme(m_clrHotTab, "Window", "HighlightSelected");
        SetFromTheme(m_clrNavigateFrame, "Window", "WindowFrame");
        SetFromTheme(m_clrHotText, "Ribbon", "TabNormalText");
        SetFromTheme(m_clrNormalText, "Ribbon", "TabNormalText");
        SetFromTheme(m_clrSelectedText, "Ribbon", "TabSelectedText");
    }
    // The trapezoids follow the border the set ends with.
    SetGroupsFromBorder();
    m_clrNavigateText.SetStandardValue(m_clrNormalText);
    m_bSchemeColors = TRUE;
}

void COSMTabColorSetResource::FillNavigateButton(CDC* pDC, COSMTabManagerNavigateButton* pButton, CRect& rc)
{
    if (!COSMOffice2007Images::Instance()->IsValid())
    {
        COSMTabColorSetDefault::FillNavigateButton(pDC, pButton, rc);
        return;
    }
    if (!pButton->GetItem())
        pDC->SetTextColor(m_clrNavigateText);
    if (!pButton->IsEnabled())
        return;
    const COSMTabManager* pTabManager = pButton->GetTabManager();
    const BOOL bPressed = pButton->IsPressed();
    const BOOL bHot = pTabManager && pTabManager->GetHighlightedButton() == pButton;
    if (!bPressed && !bHot)
        return;
    if (COSMOffice2007Image* pImage = COSMOffice2007Images::Instance()->LoadImage("TOOLBARBUTTONS22"))
        pImage->DrawImage(pDC, rc, pImage->GetStateRect(bPressed ? 1 : 0, 4), CRect(8, 8, 8, 8),
                          static_cast<COLORREF>(-1));
    pDC->SetTextColor(kResourceBlack);
}

void COSMTabColorSetAccess::RefreshMetrics()
{
    COSMTabColorSetResource::RefreshMetrics();
    if (!COSMOffice2007Images::Instance()->IsValid())
        return;
    m_clrSelectedText.SetStandardValue(kResourceBlack);
    m_clrNormalText.SetStandardValue(kResourceBlack);
    m_clrHotText.SetStandardValue(kResourceBlack);
    SetFromTheme(m_clrBorder, "TabManager", "AccessBorder");
    m_clrSelectedTabOutline.SetStandardValue(m_clrBorder.GetStandardValue());
    SetFromTheme(m_grcHeaderFace.First(), "TabManager", "AccessHeader");
    m_grcHeaderFace.Second().SetStandardValue(m_grcHeaderFace.First().GetStandardValue());
    m_grcAlternateFace.SetFromEffective(m_grcHeaderFace);
    SetGroupsFromBorder();
    SetFromTheme(m_clrNavigateText, "Ribbon", "TabNormalText");
}
