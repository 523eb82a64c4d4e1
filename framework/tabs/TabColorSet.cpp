#include "framework/tabs/TabColorSet.h"

#include <utility>

#include "classlib/ScopedHandle.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/DrawHelpers.h"
#include "framework/tabs/TabManager.h"
#include "framework/tabs/TabPaintManager.h"

namespace {

const COLORREF kTabNoColor = static_cast<COLORREF>(-1);

}  // namespace

void COSMTabColorSetGroup::Set(COLORREF border, COLORREF bottomBorder, COLORREF dark, COLORREF light, COLORREF shadow,
                               COLORREF bottomLight)
{
    clrBorder.SetStandardValue(COSMTabColorSet::ResolveColor(border));
    clrBottomBorder.SetStandardValue(COSMTabColorSet::ResolveColor(bottomBorder));
    clrDarkBorder.SetStandardValue(COSMTabColorSet::ResolveColor(dark));
    clrLight.SetStandardValue(COSMTabColorSet::ResolveColor(light));
    clrShadow.SetStandardValue(COSMTabColorSet::ResolveColor(shadow));
    clrBottomLight.SetStandardValue(COSMTabColorSet::ResolveColor(bottomLight));
}

COLORREF COSMTabColorSet::ResolveColor(COLORREF indexOrColor)
{
    // Markers (-1 none, -2 checkerboard) and colours pass; only the indexes 0 to 62 are looked up.
    if (indexOrColor < static_cast<COLORREF>(COSMColorManager::kColorCount))
        return GetColorManager()->GetColor(indexOrColor);
    return indexOrColor;
}

void COSMTabColorSet::SetStandard(COSMPaintManagerColor& clr, COLORREF indexOrColor)
{
    clr.SetStandardValue(ResolveColor(indexOrColor));
}

void COSMTabColorSet::SetStandard(COSMPaintManagerColorGradient& grc, COLORREF first, COLORREF second, float factor)
{
    grc.SetStandardColors(ResolveColor(first), ResolveColor(second), factor);
}

void COSMTabColorSet::RefreshMetrics()
{
    RefreshColorManager();
    SetStandard(m_clrBorder, COLOR_BTNSHADOW);
    SetStandard(m_grcHeaderFace, COLOR_BTNFACE, COLOR_BTNFACE);
    SetStandard(m_clrFace, COLOR_BTNFACE);
    SetStandard(m_clrPane, COLOR_BTNFACE);
    SetStandard(m_clrLight, COLOR_BTNHIGHLIGHT);
    SetStandard(m_clrDark, COLOR_BTNTEXT);
    SetStandard(m_clrSelectedText, COLOR_BTNTEXT);
    SetStandard(m_clrNormalText, COLOR_BTNTEXT);
    SetStandard(m_clrInactiveText, COLOR_BTNTEXT);
    SetStandard(m_clrHotText, RGB(0, 0, 128));
    SetStandard(m_clrDisabledText, COLOR_GRAYTEXT);
    SetStandard(m_grcButtonSelectedFace, COLOR_WINDOW, COLOR_WINDOW);
    SetStandard(m_grcButtonSelectedBorder, COLOR_HIGHLIGHT, COLOR_HIGHLIGHT);
    SetStandard(m_clrTabOutline, COLOR_BTNSHADOW);
    SetStandard(m_clrSelectedTabOutline, COLOR_BTNSHADOW);
    SetStandard(m_clrTabInnerLight, COLOR_BTNFACE);
    SetStandard(m_clrTabInnerLight2, COLOR_BTNFACE);
    SetStandard(m_clrFrameHighlight, COLOR_BTNHIGHLIGHT);
    SetStandard(m_clrFrameShadow, COLOR_BTNSHADOW);
    SetStandard(m_clrFrameDarkShadow, COLOR_3DDKSHADOW);
    m_csSelected.Set(COLOR_BTNTEXT, COLOR_BTNSHADOW, COLOR_BTNTEXT, kTabNoColor, kTabNoColor, kTabNoColor);
    m_csNormal.Set(COLOR_BTNTEXT, COLOR_BTNSHADOW, COLOR_BTNTEXT, COLOR_WINDOW, COLOR_BTNSHADOW, kTabNoColor);
    SetStandard(m_clrSelectedTab, COLOR_BTNFACE);
    SetStandard(m_clrNormalTab, COLOR_BTNFACE);
    SetStandard(m_clrHotTab, COLOR_BTNFACE);
    SetStandard(m_clrPressedTab, COLOR_BTNFACE);
    if (m_pPaintManager && m_pPaintManager->GetAppearance() == 7)
        SetStandard(m_clrSelectedTab, COLOR_WINDOW);
    m_grcAlternateFace.SetFromEffective(m_grcHeaderFace);
}

void COSMTabColorSet::SetItemTextColor(CDC* pDC, COSMTabManagerItem* pItem)
{
    COSMTabManager* pTabManager = pItem->GetTabManager();
    COLORREF clr = m_clrNormalText;
    if (!pItem->IsEnabled())
        clr = m_clrDisabledText;
    else if (pTabManager && !pTabManager->IsActive())
        clr = m_clrInactiveText;
    else if (pTabManager && pTabManager->GetSelectedItem() == pItem)
        clr = m_clrSelectedText;
    else if (pTabManager && pTabManager->GetHighlightedItem() == pItem)
        clr = m_clrHotText;
    pDC->SetTextColor(clr);
}

COLORREF COSMTabColorSet::GetTabColor(COSMTabManagerItem* pItem)
{
    if (m_pPaintManager && m_pPaintManager->m_bOneNoteColors)
        return pItem->GetColor();
    COSMTabManager* pTabManager = pItem->GetTabManager();
    return pTabManager && pTabManager->GetSelectedItem() == pItem ? m_clrSelectedTab : m_clrNormalTab;
}

void COSMTabColorSet::FillCheckerboard(CDC* pDC, CRect rc)
{
    const WORD rows[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    const ScopedGdiObject<HBITMAP> pattern(::CreateBitmap(8, 8, 1, 1, rows));
    const ScopedGdiObject<HBRUSH> brush(pattern ? ::CreatePatternBrush(pattern.Get()) : nullptr);
    if (!brush)
        return;
    HDC hDC = pDC->GetSafeHdc();
    const COLORREF clrOldBack = ::SetBkColor(hDC, GetColorManager()->GetColor(COLOR_BTNFACE));
    const COLORREF clrOldText = ::SetTextColor(hDC, GetColorManager()->GetColor(COLOR_BTNHIGHLIGHT));
    {
        const ScopedSelection selected = SelectScoped(hDC, brush.Get());
        ::PatBlt(hDC, rc.left, rc.top, rc.Width(), rc.Height(), PATCOPY);
    }
    ::SetTextColor(hDC, clrOldText);
    ::SetBkColor(hDC, clrOldBack);
}

void COSMTabColorSet::GradientFillByPosition(CDC* pDC, CRect rc, COLORREF clrFirst, COLORREF clrSecond, int nPosition)
{
    if (clrFirst == COSMTabColorSet::kCheckerboard)
    {
        FillCheckerboard(pDC, rc);
        return;
    }
    if (clrFirst == kTabNoColor)
        return;
    if (nPosition == 2 || nPosition == 3)
        std::swap(clrFirst, clrSecond);
    if (m_pPaintManager && m_pPaintManager->m_bInvertGradient)
        std::swap(clrFirst, clrSecond);
    GetDrawHelpers()->GradientFill(pDC, rc, clrFirst, clrSecond, nPosition == 1 || nPosition == 3);
}

void COSMTabColorSet::FillHeaderFace(CDC* pDC, CRect rc, COSMTabManager* pTabManager)
{
    const COLORREF clrFace = GetColorManager()->GetColor(COLOR_BTNFACE);
    const COLORREF clrFirst = m_grcHeaderFace.First();
    const COLORREF clrSecond = m_grcHeaderFace.Second();
    if (clrFirst == clrSecond && clrFirst == clrFace && pTabManager->DrawParentBackground(pDC, rc))
        return;
    GradientFillByPosition(pDC, rc, clrFirst, clrSecond, pTabManager->GetPosition());
}

COLORREF COSMTabColorSet::FillClient(CDC* pDC, CRect rc, COSMTabManager* pTabManager)
{
    COSMTabManagerItem* pSelected = pTabManager->GetSelectedItem();
    const COLORREF clr = pSelected ? GetTabColor(pSelected) : static_cast<COLORREF>(m_clrSelectedTab);
    if (clr != kTabNoColor)
        pDC->FillSolidRect(rc, clr);
    return clr;
}

COLORREF COSMTabColorSet::FillTab(CDC* pDC, CRect rc, COSMTabManagerItem* pItem)
{
    const COLORREF clr = GetTabColor(pItem);
    if (clr != kTabNoColor)
        pDC->FillSolidRect(rc, clr);
    return clr;
}

void COSMTabColorSet::DrawFrame3D(CDC* pDC, const CRect& rc, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    if (clrTopLeft != kTabNoColor)
    {
        pDC->FillSolidRect(rc.left, rc.top, rc.Width() - 1, 1, clrTopLeft);
        pDC->FillSolidRect(rc.left, rc.top, 1, rc.Height() - 1, clrTopLeft);
    }
    if (clrBottomRight != kTabNoColor)
    {
        pDC->FillSolidRect(rc.right - 1, rc.top, 1, rc.Height(), clrBottomRight);
        pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, clrBottomRight);
    }
}

void COSMTabColorSet::FillButton(CDC* pDC, CRect rc, COSMTabManagerItem* pItem)
{
    COSMTabManager* pTabManager = pItem->GetTabManager();
    const int nPosition = pTabManager ? pTabManager->GetPosition() : 0;
    if (pTabManager && pTabManager->GetSelectedItem() == pItem)
    {
        if (m_pPaintManager && m_pPaintManager->m_bOneNoteColors)
            pDC->FillSolidRect(rc, GetTabColor(pItem));
        else
            GradientFillByPosition(pDC, rc, m_grcButtonSelectedFace.First(), m_grcButtonSelectedFace.Second(),
                                   nPosition);
        DrawFrame3D(pDC, rc, m_grcButtonSelectedBorder.First(), m_grcButtonSelectedBorder.Second());
        return;
    }
    const COLORREF clrShadow = GetColorManager()->GetColor(COLOR_BTNSHADOW);
    const COLORREF clrLight = GetColorManager()->GetColor(COLOR_BTNHIGHLIGHT);
    // The etched separator after a tab that is not selected.
    if (nPosition == 0 || nPosition == 2)
        DrawFrame3D(pDC, CRect(rc.right, rc.top + 2, rc.right + 2, rc.bottom - 2), clrShadow, clrLight);
    else
        DrawFrame3D(pDC, CRect(rc.left + 2, rc.bottom, rc.right - 2, rc.bottom + 2), clrShadow, clrLight);
}

void COSMTabColorSetDefault::RefreshMetrics()
{
    COSMTabColorSet::RefreshMetrics();
    m_grcButtonSelectedFace.SetStandardColors(kCheckerboard, kCheckerboard);
    SetStandard(m_grcButtonSelectedBorder, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
    m_csSelected.Set(COLOR_BTNTEXT, COLOR_BTNTEXT, COLOR_BTNTEXT, COLOR_WINDOW, COLOR_BTNSHADOW, COLOR_BTNSHADOW);
    m_csNormal.Set(COLOR_BTNTEXT, COLOR_BTNTEXT, COLOR_BTNTEXT, kTabNoColor, kTabNoColor, kTabNoColor);
    if (m_pPaintManager && m_pPaintManager->GetAppearance() == 7)
    {
        SetStandard(m_clrSelectedTab, COLOR_BTNFACE);
        SetStandard(m_clrNormalTab, COLOR_WINDOW);
        SetStandard(m_clrBorder, COLOR_BTNTEXT);
    }
}

void COSMTabColorSet::FillNavigateButtonFrames(CDC* pDC, COSMTabManagerNavigateButton* pButton, CRect& rc,
                                               COLORREF clrDark, COLORREF clrLight, COLORREF clrText)
{
    if (pButton->IsEnabled())
    {
        COSMTabManager* pTabManager = pButton->GetTabManager();
        if (pButton->IsPressed())
        {
            DrawFrame3D(pDC, rc, clrDark, clrLight);
            rc.OffsetRect(1, 1);
        }
        else if (pTabManager && pTabManager->GetHighlightedButton() == pButton)
        {
            DrawFrame3D(pDC, rc, clrLight, clrDark);
        }
    }
    pDC->SetTextColor(clrText);
}

void COSMTabColorSetDefault::FillNavigateButton(CDC* pDC, COSMTabManagerNavigateButton* pButton, CRect& rc)
{
    COSMColorManager* pColors = GetColorManager();
    FillNavigateButtonFrames(pDC, pButton, rc, pColors->GetColor(COLOR_BTNSHADOW),
                             pColors->GetColor(COLOR_BTNHIGHLIGHT), pColors->GetColor(COLOR_BTNTEXT));
}

// ---- Classic (id 2) ------------------------------------------------------------------------------------------------

namespace {

// The trapezoid and button tabs keep the default look's header and navigation frames.
bool KeepsDefaultHeader(const COSMTabPaintManager* pPaintManager)
{
    const int nAppearance = pPaintManager ? pPaintManager->GetAppearance() : 0;
    return nAppearance == 7 || nAppearance == 4;
}

}  // namespace

void COSMTabColorSetClassic::RefreshMetrics()
{
    COSMTabColorSetDefault::RefreshMetrics();
    if (!KeepsDefaultHeader(m_pPaintManager))
        SetStandard(m_grcHeaderFace, kDarkFace, kDarkFace);
    if (m_pPaintManager && m_pPaintManager->GetAppearance() == 5)
    {
        SetStandard(m_clrNormalText, kDarkFaceText);
        SetStandard(m_clrInactiveText, kDarkFaceText);
    }
    // A screen of few colours would dither a second face into noise.
    const COLORREF clrAlternate =
        GetColorManager()->IsLowColorScreen() ? ResolveColor(COLOR_BTNFACE) : m_grcHeaderFace.Second().GetEffective();
    m_grcAlternateFace.SetStandardColors(clrAlternate, clrAlternate);
}

void COSMTabColorSetClassic::FillNavigateButton(CDC* pDC, COSMTabManagerNavigateButton* pButton, CRect& rc)
{
    if (KeepsDefaultHeader(m_pPaintManager))
    {
        COSMTabColorSetDefault::FillNavigateButton(pDC, pButton, rc);
        return;
    }
    COSMColorManager* pColors = GetColorManager();
    FillNavigateButtonFrames(pDC, pButton, rc, pColors->GetColor(COLOR_BTNTEXT), pColors->GetColor(COLOR_BTNFACE),
                             pColors->GetColor(kDarkFaceText));
}
