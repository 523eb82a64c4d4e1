#include "framework/tabs/TabColorSetVisualStyle.h"

#include <vssym32.h>

#include "framework/foundation/ColorManager.h"
#include "framework/tabs/TabManager.h"
#include "framework/tabs/TabPaintManager.h"
#include "framework/tabs/TabPixelMoves.h"

namespace {

const COLORREF kStyleSetNoColor = static_cast<COLORREF>(-1);

// The toolbar button states the set draws with.
const int kStyleButtonNormal = 1;
const int kStyleButtonHot = 2;
const int kStyleButtonPressed = 3;
const int kStyleButtonChecked = 5;
const int kStyleButtonHotChecked = 6;

}  // namespace

COSMTabColorSetVisualStyle::COSMTabColorSetVisualStyle() = default;

COSMTabColorSetVisualStyle::COSMTabColorSetVisualStyle(COSMVisualStyleFunctions& functions)
    : m_themeTab(functions), m_themeToolBar(functions)
{}

void COSMTabColorSetVisualStyle::RefreshMetrics()
{
    COSMTabColorSetDefault::RefreshMetrics();
    m_themeTab.OpenThemeData(nullptr, L"TAB");
    m_bTabStyled = m_themeTab.IsOpen() && m_themeTab.IsAppThemed();
    if (m_bTabStyled)
    {
        // The style's pane and tabs bring their own edges.
        m_clrFrameHighlight.SetStandardValue(kStyleSetNoColor);
        m_clrFrameShadow.SetStandardValue(kStyleSetNoColor);
        m_clrFrameDarkShadow.SetStandardValue(kStyleSetNoColor);
        m_clrHotText.SetStandardValue(m_clrNormalText.GetStandardValue());
        COLORREF clrPane = 0;
        if (SUCCEEDED(m_themeTab.GetThemeColor(TABP_PANE, 0, TMT_FILLCOLORHINT, &clrPane)))
            m_clrPane.SetStandardValue(clrPane);
    }
    m_themeToolBar.OpenThemeData(nullptr, L"TOOLBAR");
}

int COSMTabColorSetVisualStyle::GetTabPart(const COSMTabManagerItem* pItem)
{
    const COSMTabManager* pTabManager = pItem->GetTabManager();
    if (!pTabManager)
        return TABP_TOPTABITEM;
    if (pItem->GetIndex() == 0)
        return TABP_TOPTABITEMLEFTEDGE;
    if (pItem->GetIndex() == pTabManager->GetItemCount() - 1 && pTabManager->GetSelectedItem() != pItem)
        return TABP_TOPTABITEMRIGHTEDGE;
    return TABP_TOPTABITEM;
}

int COSMTabColorSetVisualStyle::GetTabState(const COSMTabManagerItem* pItem)
{
    const COSMTabManager* pTabManager = pItem->GetTabManager();
    if (pTabManager && pTabManager->GetSelectedItem() == pItem)
        return TIS_SELECTED;
    if (pTabManager && pTabManager->GetHighlightedItem() == pItem)
        return TIS_HOT;
    return TIS_NORMAL;
}

CRect COSMTabColorSetVisualStyle::GetTabPartRect(const COSMTabManagerItem* pItem, CRect rc)
{
    const COSMTabManager* pTabManager = pItem->GetTabManager();
    const int nPosition = pTabManager ? pTabManager->GetPosition() : 0;
    if (pTabManager && pTabManager->GetSelectedItem() == pItem)
    {
        // The selected tab reaches over the pane's edge.
        if (nPosition == 0)
            rc.bottom += 2;
        else if (nPosition == 1)
            rc.right += 1;
    }
    switch (nPosition)
    {
    case 1:
        rc.InflateRect(1, 1, 0, 1);
        break;
    case 2:
        rc.InflateRect(1, 0, 1, 2);
        break;
    case 3:
        rc.InflateRect(0, 1, 2, 1);
        break;
    default:
        rc.InflateRect(1, 1, 1, 0);
        break;
    }
    return rc;
}

COLORREF COSMTabColorSetVisualStyle::FillTab(CDC* pDC, CRect rc, COSMTabManagerItem* pItem)
{
    if (!m_bTabStyled)
        return COSMTabColorSetDefault::FillTab(pDC, rc, pItem);
    const COSMTabManager* pTabManager = pItem->GetTabManager();
    const int nPosition = pTabManager ? pTabManager->GetPosition() : 0;
    const int nPart = GetTabPart(pItem);
    const int nState = GetTabState(pItem);
    // A tab of another position is drawn upright and turned so that its base faces the client area; a tab
    // squeezed to nothing draws nothing.
    DrawTurnedToPosition(pDC, GetTabPartRect(pItem, rc), nPosition, ResolveColor(COLOR_BTNFACE), FALSE,
                         [&](CDC* pUprightDC, const CRect& rcUpright) {
                             m_themeTab.DrawThemeBackground(pUprightDC->GetSafeHdc(), nPart, nState, &rcUpright,
                                                            nullptr);
                         });
    return kStyleSetNoColor;
}

COLORREF COSMTabColorSetVisualStyle::FillClient(CDC* pDC, CRect rc, COSMTabManager* pTabManager)
{
    if (!m_bTabStyled)
        return COSMTabColorSetDefault::FillClient(pDC, rc, pTabManager);
    if (pTabManager->GetPosition() == 2)
        rc.bottom += 1;
    else if (pTabManager->GetPosition() == 3)
        rc.right += 1;
    m_themeTab.DrawThemeBackground(pDC->GetSafeHdc(), TABP_PANE, 0, &rc, nullptr);
    return m_clrPane;
}

void COSMTabColorSetVisualStyle::FillButton(CDC* pDC, CRect rc, COSMTabManagerItem* pItem)
{
    const COSMTabManager* pTabManager = pItem->GetTabManager();
    if (!m_bTabStyled || !m_themeToolBar.IsOpen() || !pTabManager || pTabManager->GetSelectedItem() != pItem)
    {
        COSMTabColorSetDefault::FillButton(pDC, rc, pItem);
        return;
    }
    const int nState = pTabManager->GetHighlightedItem() == pItem ? kStyleButtonHotChecked : kStyleButtonChecked;
    m_themeToolBar.DrawThemeBackground(pDC->GetSafeHdc(), TP_BUTTON, nState, &rc, nullptr);
}

void COSMTabColorSetVisualStyle::FillHeader(CDC* pDC, CRect /*rc*/, COSMTabManager* pTabManager)
{
    if (!m_bTabStyled || pTabManager->GetPosition() != 2)
        return;
    // The style's bottom tabs leave a stray corner pixel on the pane's edge; keep it out of the tabs' drawing.
    const CRect rcHeader = pTabManager->GetHeaderRect();
    ::ExcludeClipRect(pDC->GetSafeHdc(), rcHeader.left, rcHeader.bottom - 2, rcHeader.left + 1, rcHeader.bottom - 1);
}

void COSMTabColorSetVisualStyle::FillNavigateButton(CDC* pDC, COSMTabManagerNavigateButton* pButton, CRect& rc)
{
    if (!m_bTabStyled || !m_themeToolBar.IsOpen())
    {
        COSMTabColorSetDefault::FillNavigateButton(pDC, pButton, rc);
        return;
    }
    const COSMTabManager* pTabManager = pButton->GetTabManager();
    int nState = kStyleButtonNormal;
    if (pButton->IsPressed())
        nState = kStyleButtonPressed;
    else if (pTabManager && pTabManager->GetHighlightedButton() == pButton)
        nState = kStyleButtonHot;
    m_themeToolBar.DrawThemeBackground(pDC->GetSafeHdc(), TP_BUTTON, nState, &rc, nullptr);
    pDC->SetTextColor(GetColorManager()->GetColor(COLOR_BTNTEXT));
}
