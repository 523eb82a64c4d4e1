#include "framework/tabs/TabPaintManager.h"

#include <algorithm>
#include <climits>

#include "classlib/ScopedHandle.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/foundation/IconLogFont.h"
#include "framework/foundation/OSVersionInfo.h"
#include "framework/foundation/TextFunctions.h"
#include "framework/markup/Markup.h"
#include "framework/tabs/TabAppearanceFigures.h"
#include "framework/tabs/TabAppearanceFlat.h"
#include "framework/tabs/TabAppearanceImages.h"
#include "framework/tabs/TabAppearanceRaisedPage.h"
#include "framework/tabs/TabAppearanceStackedBars.h"
#include "framework/tabs/TabColorSetOffice2003.h"
#include "framework/tabs/TabColorSetResource.h"
#include "framework/tabs/TabColorSetVisualStyle.h"
#include "framework/tabs/TabManager.h"
#include "framework/tabs/TabTextEllipsis.h"

namespace {

bool IsHorizontalTabPosition(int nPosition)
{
    return nPosition == 0 || nPosition == 2;
}

CString StripTabMnemonics(const CString& strText)
{
    CString strResult;
    for (int i = 0; i < strText.GetLength(); i++)
    {
        const char ch = strText[i];
        if (ch == '&')
        {
            // "&&" stands for one ampersand.
            if (i + 1 < strText.GetLength() && strText[i + 1] == '&')
            {
                strResult += '&';
                i++;
            }
            continue;
        }
        strResult += ch;
    }
    return strResult;
}

// The colours of a colour-set id; an id without a set of its own gets the default set.
COSMTabColorSet* CreateTabColorSet(int nColorSet)
{
    switch (nColorSet)
    {
    case 2:
        return new COSMTabColorSetClassic();
    case 4:
        return new COSMTabColorSetOffice2003();
    case 8:
        return new COSMTabColorSetVisualStyle();
    case 16:
        return new COSMTabColorSetPlain();
    case 32:
        return new COSMTabColorSetResource();
    case 64:
        return new COSMTabColorSetLight();
    case 128:
        return new COSMTabColorSetAccess();
    default:
        return new COSMTabColorSetDefault();
    }
}

// The shape of an appearance id; an id without a shape of its own gets the raised page tabs.
COSMTabAppearanceSet* CreateTabAppearanceSet(int nAppearance)
{
    switch (nAppearance)
    {
    case 1:
        return new COSMTabAppearanceRaisedPageWhenHot();
    case 2:
        return new COSMTabAppearanceSoftRectangles();
    case 3:
        return new COSMTabAppearanceSlanted();
    case 4:
        return new COSMTabAppearanceButtons();
    case 5:
        return new COSMTabAppearanceRaisedSelected();
    case 6:
        return new COSMTabAppearanceFlatRectangles();
    case 7:
        return new COSMTabAppearanceTrapezoids();
    case 8:
        return new COSMTabAppearanceStackedBars();
    case 9:
        return new COSMTabAppearanceCurvedDocuments();
    case 10:
        return new COSMTabAppearanceRibbonImages();
    case 11:
        return new COSMTabAppearanceAccessImages();
    default:
        return new COSMTabAppearanceRaisedPage();
    }
}

}  // namespace

COSMTabPaintManager::COSMTabPaintManager()
{
    SetAppearance(0);
    RefreshMetrics();
}

COSMTabPaintManager::~COSMTabPaintManager()
{
    std::vector<COSMTabManager*> clients;
    clients.swap(m_arrClients);
    for (COSMTabManager* pClient : clients)
        pClient->DetachPaintManager(this);
}

void COSMTabPaintManager::AddClient(COSMTabManager* pTabManager)
{
    if (!pTabManager || std::find(m_arrClients.begin(), m_arrClients.end(), pTabManager) != m_arrClients.end())
        return;
    m_arrClients.push_back(pTabManager);
    pTabManager->m_arrPaintManagers.push_back(this);
}

void COSMTabPaintManager::RemoveClient(COSMTabManager* pTabManager)
{
    m_arrClients.erase(std::remove(m_arrClients.begin(), m_arrClients.end(), pTabManager), m_arrClients.end());
    if (pTabManager)
        pTabManager->DetachPaintManager(this);
}

void COSMTabPaintManager::RefreshAll()
{
    const std::vector<COSMTabManager*> clients = m_arrClients;
    for (COSMTabManager* pClient : clients)
        pClient->Refresh();
}

COSMTabColorSet* COSMTabPaintManager::SetColor(int nColorSet)
{
    m_nColor = nColorSet;
    return SetColorSet(CreateTabColorSet(nColorSet));
}

COSMTabColorSet* COSMTabPaintManager::SetColorSet(COSMTabColorSet* pColorSet)
{
    if (pColorSet)
    {
        m_pColorSet.reset(pColorSet);
        pColorSet->SetPaintManager(this);
        pColorSet->RefreshMetrics();
    }
    RefreshAll();
    return m_pColorSet.get();
}

COSMTabAppearanceSet* COSMTabPaintManager::SetAppearance(int nAppearance)
{
    m_nAppearance = nAppearance;
    return SetAppearanceSet(CreateTabAppearanceSet(nAppearance));
}

COSMTabAppearanceSet* COSMTabPaintManager::SetAppearanceSet(COSMTabAppearanceSet* pAppearanceSet)
{
    if (pAppearanceSet)
    {
        m_pAppearanceSet.reset(pAppearanceSet);
        pAppearanceSet->SetPaintManager(this);
        pAppearanceSet->RefreshMetrics();
        SetColor(pAppearanceSet->GetDefaultColorSet());
    }
    RefreshAll();
    return m_pAppearanceSet.get();
}

void COSMTabPaintManager::SetLayout(int nLayout)
{
    m_nLayout = nLayout;
    RefreshAll();
}

void COSMTabPaintManager::SetPosition(int nPosition)
{
    m_nPosition = nPosition;
    RefreshAll();
}

BOOL COSMTabPaintManager::IsLunaColorsDisabled() const
{
    return m_bDisableLunaColors || GetColorManager()->IsLunaColorsDisabled();
}

COLORREF COSMTabPaintManager::GetFixedTabColor(COLORREF clr)
{
    static const COLORREF kFixed[8] = {RGB(138, 168, 228), RGB(255, 219, 117), RGB(189, 205, 159), RGB(240, 158, 159),
                                       RGB(186, 166, 225), RGB(154, 191, 180), RGB(247, 182, 131), RGB(216, 171, 192)};
    if (clr >= 0x1000000 && clr < 0x1000000 + 8)
        return kFixed[clr - 0x1000000];
    return clr;
}

CFont* COSMTabPaintManager::GetFont(BOOL bBold, BOOL bVertical)
{
    if (bVertical)
        return bBold ? &m_fntVerticalBold : &m_fntVerticalNormal;
    return bBold ? &m_fntBold : &m_fntNormal;
}

void COSMTabPaintManager::SetFontIndirect(const LOGFONTA* pLogFont, BOOL bUseSystemFont)
{
    m_bUseStandardFont = bUseSystemFont;
    if (!pLogFont)
        return;
    LOGFONTA lf = *pLogFont;
    if (m_bClearTypeTextQuality && GetOSVersionInfo()->IsClearTypeTextQualitySupported())
        lf.lfQuality = CLEARTYPE_QUALITY;

    m_fntNormal.DeleteObject();
    m_fntBold.DeleteObject();
    m_fntVerticalNormal.DeleteObject();
    m_fntVerticalBold.DeleteObject();

    lf.lfWeight = m_bBoldNormal ? FW_BOLD : FW_NORMAL;
    m_fntNormal.CreateFontIndirect(&lf);
    lf.lfWeight = FW_BOLD;
    m_fntBold.CreateFontIndirect(&lf);

    const CString strFace = GetDefaultFontName(TRUE);
    lstrcpynA(lf.lfFaceName, strFace, LF_FACESIZE);
    lf.lfOrientation = 900;
    lf.lfEscapement = 2700;
    // Small negative heights come out unreadable turned on their side.
    if (lf.lfHeight < 0 && lf.lfHeight >= -10)
        lf.lfHeight = -11;
    lf.lfWeight = m_bBoldNormal ? FW_BOLD : FW_NORMAL;
    m_fntVerticalNormal.CreateFontIndirect(&lf);
    lf.lfWeight = FW_BOLD;
    m_fntVerticalBold.CreateFontIndirect(&lf);
}

void COSMTabPaintManager::RefreshMetrics()
{
    if (m_bUseStandardFont)
    {
        LOGFONTA lf{};
        GetIconLogFont(&lf);
        SetFontIndirect(&lf, TRUE);
    }
    if (m_pColorSet)
        m_pColorSet->RefreshMetrics();
    if (m_pAppearanceSet)
        m_pAppearanceSet->RefreshMetrics();
}

int COSMTabPaintManager::GetTextExtent(CDC* pDC, const CString& strText, UINT nFormat) const
{
    const CString strMeasured = (nFormat & DT_NOPREFIX) ? strText : StripTabMnemonics(strText);
    return pDC->GetTextExtent(strMeasured).cx;
}

void COSMTabPaintManager::DrawTextPathEllipsis(CDC* pDC, const CString& strText, CRect rc, UINT nFormat)
{
    const COSMTabEllipsisResult fit = FitTextWithMiddleEllipsis(
        strText, rc.Width(), [&](const CString& s) { return GetTextExtent(pDC, s, nFormat); });
    if (fit.bPathEllipsis)
        pDC->DrawText(fit.strText, rc, nFormat | DT_PATH_ELLIPSIS);
    else
        pDC->DrawText(fit.strText, rc, nFormat);
}

void COSMTabPaintManager::EnsureVisible(COSMTabManager* pTabManager, COSMTabManagerItem* pItem)
{
    const CRect rcHeader = pTabManager->GetHeaderRect();
    const CRect rcItem = pItem->GetRect();
    if (rcHeader.IsRectEmpty() || rcItem.IsRectEmpty() || m_nLayout == kLayoutSizeToFit)
        return;
    const CRect m = m_pAppearanceSet->GetHeaderMargin();
    const int nOffset = pTabManager->GetScrollOffset();
    const bool bHorizontal = IsHorizontalTabPosition(pTabManager->GetPosition());
    const int nItemStart = bHorizontal ? rcItem.left : rcItem.top;
    const int nItemEnd = bHorizontal ? rcItem.right : rcItem.bottom;
    const int nHeaderStart = bHorizontal ? rcHeader.left : rcHeader.top;
    const int nHeaderEnd = bHorizontal ? rcHeader.right : rcHeader.bottom;
    if (nItemStart < nHeaderStart)
        pTabManager->SetScrollOffset(nOffset - nItemStart + nHeaderStart + m.left);
    else if (nItemEnd > nHeaderEnd)
        pTabManager->SetScrollOffset(nOffset - nItemEnd - 2 + nHeaderEnd);
}

void COSMTabPaintManager::RepositionTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcClient)
{
    pTabManager->SetHeaderRect(CRect(0, 0, 0, 0));
    pTabManager->SetControlRect(rcClient);
    pTabManager->SetClientRect(rcClient);
    auto& rows = pTabManager->GetRows();
    rows.assign(1, COSMTabManagerRow{0, pTabManager->GetItemCount() - 1});
    for (int i = 0; i < pTabManager->GetItemCount(); i++)
        pTabManager->GetItem(i)->SetRow(0);

    m_pAppearanceSet->RepositionTabControl(pTabManager, pDC, rcClient);

    CRect rcContent = pTabManager->GetClientRect();
    AdjustClientRect(pTabManager, rcContent);
    pTabManager->SetClientRect(rcContent);
}

void COSMTabPaintManager::AdjustClientRect(COSMTabManager* pTabManager, CRect& rcClient)
{
    if (m_bStaticFrame)
        COSMTabAppearanceSet::DeflateRectByPosition(rcClient, 2, 1, 2, 2, pTabManager->GetPosition());
    if (pTabManager->GetItemCount() > 0)
        m_pAppearanceSet->AdjustClientRect(pTabManager, rcClient);
}

void COSMTabPaintManager::RepositionNavigateButtons(COSMTabManager* pTabManager, CRect rcClient)
{
    CRect rc = m_pAppearanceSet->GetHeaderRect(rcClient, pTabManager);
    if (IsHorizontalTabPosition(pTabManager->GetPosition()))
        rc.right -= 1;
    else
        rc.bottom -= 1;
    const auto& buttons = pTabManager->GetNavigateButtons();
    for (auto it = buttons.rbegin(); it != buttons.rend(); ++it)
        (*it)->Reposition(rc);
    pTabManager->SetHeaderRect(rc);
}

void COSMTabPaintManager::ShrinkItemsToFit(COSMTabManager* pTabManager, int nRoom)
{
    // Short items keep their length while the room shares out evenly above them; the rest share what is left.
    // The strip's own order stays: a copy is sorted.
    std::vector<COSMTabManagerItem*> sorted;
    for (int i = 0; i < pTabManager->GetItemCount(); i++)
        sorted.push_back(pTabManager->GetItem(i));
    std::stable_sort(sorted.begin(), sorted.end(), [](const COSMTabManagerItem* a, const COSMTabManagerItem* b) {
        return a->GetLength() < b->GetLength();
    });
    nRoom = std::max(nRoom, 0);
    int nLeft = static_cast<int>(sorted.size());
    size_t i = 0;
    for (; i < sorted.size(); i++, nLeft--)
    {
        const int nLength = sorted[i]->GetLength();
        if (!(nRoom > nLength * nLeft))
            break;
        nRoom -= nLength;
    }
    for (; i < sorted.size(); i++, nLeft--)
    {
        const int nShare = nRoom / nLeft;
        sorted[i]->SetLength(nShare);
        nRoom -= nShare;
    }
}

void COSMTabPaintManager::LayoutTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rc)
{
    const int nPosition = pTabManager->GetPosition();
    const bool bHorizontal = IsHorizontalTabPosition(nPosition);
    if (m_bStaticFrame)
        COSMTabAppearanceSet::DeflateRectByPosition(rc, 2, 1, 2, 2, nPosition);
    COSMTabAppearanceSet::DeflateRectByPosition(rc, m_rcControlMargin, nPosition);

    const int nCount = pTabManager->GetItemCount();
    if (!m_bShowTabs)
    {
        pTabManager->SetHeaderRect(CRect(0, 0, 0, 0));
        for (int i = 0; i < nCount; i++)
            pTabManager->GetItem(i)->SetRect(0, 0, 0, 0);
        for (const RefPtr<COSMTabManagerNavigateButton>& pButton : pTabManager->GetNavigateButtons())
            pButton->SetRect(CRect(0, 0, 0, 0));
        return;
    }
    if (m_nLayout == kLayoutMultiRow)
    {
        LayoutMultiRow(pTabManager, pDC, rc);
        return;
    }

    for (int i = 0; i < nCount; i++)
    {
        COSMTabManagerItem* pItem = pTabManager->GetItem(i);
        const int nLength = pItem->IsVisible() ? m_pAppearanceSet->GetItemLength(pDC, pItem) : 0;
        pItem->SetContentLength(nLength);
        pItem->SetLength(pItem->IsVisible() ? nLength + m_nItemExtraLength : 0);
    }
    pTabManager->SetHeaderRect(m_pAppearanceSet->GetHeaderRect(rc, pTabManager));
    if (nCount == 0)
    {
        RepositionNavigateButtons(pTabManager, rc);
        return;
    }

    const CRect m = m_pAppearanceSet->GetHeaderMargin();
    const int h = m_pAppearanceSet->GetRowHeight(pTabManager);
    // The row across the strip: top and bottom of a horizontal strip, left and right of a vertical one.
    int nRowStart = 0;
    if (bHorizontal)
        nRowStart = nPosition == 2 ? rc.bottom - h - m.top : rc.top + m.top;
    else
        nRowStart = nPosition == 3 ? rc.right - h - m.top : rc.left + m.top;
    const int nRowEnd = nRowStart + h;

    if (m_nLayout == kLayoutSizeToFit)
    {
        int nRoom = (bHorizontal ? rc.Width() : rc.Height()) - (m.left + m.right);
        const auto& buttons = pTabManager->GetNavigateButtons();
        for (auto it = buttons.rbegin(); it != buttons.rend(); ++it)
            (*it)->AdjustWidth(nRoom);
        ShrinkItemsToFit(pTabManager, nRoom);
    }

    RepositionNavigateButtons(pTabManager, rc);
    if (pTabManager->GetScrollOffset() < 0)
    {
        // Scrolled further than needed (items removed, strip grown): no empty room at the end.
        const CRect rcHeader = pTabManager->GetHeaderRect();
        const int nItemsLength = pTabManager->GetItemsLength();
        const int nRoom = (bHorizontal ? rcHeader.Width() : rcHeader.Height()) - m.left - m.right;
        if (nItemsLength + pTabManager->GetScrollOffset() < nRoom)
        {
            pTabManager->SetScrollOffsetDirect(nRoom - nItemsLength <= 0 ? nRoom - nItemsLength : 0);
            RepositionNavigateButtons(pTabManager, rc);
        }
    }

    const CRect rcHeader = pTabManager->GetHeaderRect();
    int x = (bHorizontal ? rcHeader.left : rcHeader.top) + m.left + pTabManager->GetScrollOffset();
    for (int i = 0; i < nCount; i++)
    {
        COSMTabManagerItem* pItem = pTabManager->GetItem(i);
        const int nLength = pItem->GetLength();
        if (m_nLayout == kLayoutRotated)
        {
            if (!pItem->IsVisible())
            {
                pItem->SetRect(0, 0, 0, 0);
                continue;
            }
            switch (nPosition)
            {
            case 0:
                pItem->SetRect(x, rcHeader.bottom - m.bottom - nLength, x + h, rcHeader.bottom - m.bottom);
                break;
            case 2:
                pItem->SetRect(x, rcHeader.top + m.bottom, x + h, rcHeader.top + m.bottom + nLength);
                break;
            case 1:
                pItem->SetRect(rcHeader.right - m.bottom - nLength, x, rcHeader.right - m.bottom, x + h);
                break;
            default:
                pItem->SetRect(rcHeader.left + m.bottom, x, rcHeader.left + m.bottom + nLength, x + h);
                break;
            }
            x += h;
            continue;
        }
        if (bHorizontal)
            pItem->SetRect(x, nRowStart, x + nLength, nRowEnd);
        else
            pItem->SetRect(nRowStart, x, nRowEnd, x + nLength);
        x += nLength;
    }
}

BOOL COSMTabPaintManager::DistributeRows(COSMTabManager* pTabManager, int nRow, int nTotal, int nRoom)
{
    auto& rows = pTabManager->GetRows();
    const int nRows = static_cast<int>(rows.size());
    const int nLimit = m_bMultiRowJustified ? std::min(nTotal / (nRows - nRow), nRoom) : nRoom;
    const int nFirst = rows[nRow].nFirstItem;
    int nSum = 0;
    for (int i = nFirst; i < pTabManager->GetItemCount(); i++)
    {
        COSMTabManagerItem* pItem = pTabManager->GetItem(i);
        const int nLength = pItem->GetLength();
        if (nLength >= 1 && nSum + nLength > nLimit && i > nFirst)
        {
            if (nRow == nRows - 1)
                return FALSE;
            rows[nRow + 1].nFirstItem = i;
            if (DistributeRows(pTabManager, nRow + 1, nTotal - nSum, nRoom))
                return TRUE;
            if (nSum + nLength > nRoom)
                return FALSE;
        }
        pItem->SetRow(nRow);
        rows[nRow].nLastItem = i;
        nSum += nLength;
    }
    return TRUE;
}

void COSMTabPaintManager::LayoutMultiRow(COSMTabManager* pTabManager, CDC* pDC, CRect rc)
{
    const int nPosition = pTabManager->GetPosition();
    const bool bHorizontal = IsHorizontalTabPosition(nPosition);
    RepositionNavigateButtons(pTabManager, rc);
    pTabManager->SetScrollOffsetDirect(0);
    const int nCount = pTabManager->GetItemCount();
    if (nCount == 0)
        return;

    const CRect m = m_pAppearanceSet->GetHeaderMargin();
    const int h = m_pAppearanceSet->GetRowHeight(pTabManager);
    const int g = m_pAppearanceSet->GetRowGap();
    const CRect rcHeader = pTabManager->GetHeaderRect();
    const int nRoom = (bHorizontal ? rcHeader.Width() : rcHeader.Height()) - (m.left + m.right);

    // Rows by a first pass in order, then spread evenly.
    int nRows = 1;
    int nRowWidth = 0;
    int nTotal = 0;
    for (int i = 0; i < nCount; i++)
    {
        COSMTabManagerItem* pItem = pTabManager->GetItem(i);
        const int nLength = pItem->IsVisible() ? m_pAppearanceSet->GetItemLength(pDC, pItem) : 0;
        pItem->SetLength(nLength);
        pItem->SetContentLength(nLength);
        nTotal += nLength;
        if (nRowWidth + nLength > nRoom && nRowWidth > 0)
        {
            nRows++;
            nRowWidth = nLength;
        }
        else
        {
            nRowWidth += nLength;
        }
    }
    auto& rows = pTabManager->GetRows();
    rows.assign(nRows, COSMTabManagerRow{0, -1});
    rows[0] = COSMTabManagerRow{0, nCount - 1};
    if (nRows > 1)
    {
        DistributeRows(pTabManager, 0, nTotal, nRoom);
        COSMTabManagerItem* pSelected = pTabManager->GetSelectedItem();
        if (!m_bMultiRowFixedSelection && pSelected)
        {
            int nSelectedRow = 0;
            for (int r = 0; r < nRows; r++)
                if (pSelected->GetIndex() >= rows[r].nFirstItem && pSelected->GetIndex() <= rows[r].nLastItem)
                    nSelectedRow = r;
            std::swap(rows[0], rows[nSelectedRow]);
        }
    }

    const bool bStretch = nRows > 1 && m_bMultiRowJustified;
    const int nStack = h * nRows + g * (nRows - 1);
    for (int r = 0; r < nRows; r++)
    {
        // The first row lies next to the client area; the others stack outward.
        int nRowStart = 0;
        if (nPosition == 0)
            nRowStart = rc.top + m.top + (h + g) * (nRows - 1) - (h + g) * r;
        else if (nPosition == 2)
            nRowStart = rc.bottom - nStack - m.top + (h + g) * r;
        else if (nPosition == 1)
            nRowStart = rc.left + m.top + (h + g) * (nRows - 1) - (h + g) * r;
        else
            nRowStart = rc.right - nStack - m.top + (h + g) * r;

        int nRowLength = 0;
        int nStretchable = 0;
        for (int i = rows[r].nFirstItem; i <= rows[r].nLastItem; i++)
        {
            nRowLength += pTabManager->GetItem(i)->GetLength();
            if (pTabManager->GetItem(i)->IsVisible())
                nStretchable++;
        }
        int nExtra = nRoom - nRowLength;
        int x = (bHorizontal ? rcHeader.left : rcHeader.top) + m.left;
        for (int i = rows[r].nFirstItem; i <= rows[r].nLastItem; i++)
        {
            COSMTabManagerItem* pItem = pTabManager->GetItem(i);
            int nLength = pItem->GetLength();
            if (bStretch && pItem->IsVisible() && nStretchable > 0)
            {
                const int nAdd = nExtra / nStretchable;
                nLength += nAdd;
                nExtra -= nAdd;
                nStretchable--;
                pItem->SetLength(nLength);
            }
            if (bHorizontal)
                pItem->SetRect(x, nRowStart, x + nLength, nRowStart + h);
            else
                pItem->SetRect(nRowStart, x, nRowStart + h, x + nLength);
            pItem->SetRow(r);
            x += nLength;
        }
    }
    RepositionNavigateButtons(pTabManager, rc);
}

int COSMTabPaintManager::AdjustItemLength(int nLength) const
{
    nLength += m_rcItemInset.left + m_rcItemInset.right;
    if (m_nMinTabWidth > 0)
        nLength = std::max(nLength, m_nMinTabWidth);
    if (m_nMaxTabWidth > 0)
        nLength = std::min(nLength, m_nMaxTabWidth);
    return nLength;
}

int COSMTabPaintManager::DrawItemContent(CDC* pDC, COSMTabManagerItem* pItem, CRect rcItem, BOOL bDraw)
{
    COSMTabManager* pTabManager = pItem->GetTabManager();
    const int nPosition = pTabManager->GetPosition();
    BOOL bVerticalText = !IsHorizontalTabPosition(nPosition);
    if (m_nLayout == kLayoutRotated)
        bVerticalText = !bVerticalText;
    const BOOL bSelected = pTabManager->GetSelectedItem() == pItem;
    CFont* pFont = GetFont(m_bBoldSelected && bSelected && pTabManager->IsActive(), bVerticalText);
    COSMFontDC font(pDC, pFont);

    CSize szIcon = m_szIcon;
    const BOOL bHasIcon = pTabManager->DrawIcon(pDC, CPoint(0, 0), pItem, FALSE, szIcon);
    const BOOL bShowText = !(m_nLayout == kLayoutCompressed && !bSelected);

    auto isButtonShown = [&](const COSMTabManagerNavigateButton* pButton) {
        return pButton->GetDisplayMode() == COSMTabManagerNavigateButton::kAlwaysShown ||
               (pButton->GetDisplayMode() == COSMTabManagerNavigateButton::kShownWhenNeeded && bSelected);
    };
    int nButtons = 0;
    if (bShowText)
    {
        for (const RefPtr<COSMTabManagerNavigateButton>& pButton : pItem->GetNavigateButtons())
            if (isButtonShown(pButton.Get()))
                nButtons += bVerticalText ? pButton->GetSize().cy : pButton->GetSize().cx;
        if (nButtons > 0)
            nButtons += 3;
    }

    const UINT nCalcFormat = DT_CALCRECT | DT_SINGLELINE | DT_NOCLIP | (m_bDrawTextNoPrefix ? DT_NOPREFIX : 0);
    auto captionWidth = [&](COSMTabManagerItem* p) {
        if (COSMMarkupUIElement* pElement = p->GetMarkupElement())
        {
            SetMarkupContextDefaultFont(pTabManager->GetMarkupContext(), *pFont, pDC->GetTextColor());
            return static_cast<int>(MeasureMarkupElement(pElement, INT_MAX, INT_MAX).cx);
        }
        CRect rcText(0, 0, 0, 0);
        const CString strCaption = pTabManager->GetItemCaption(p);
        pDC->DrawText(strCaption, rcText, nCalcFormat);
        return static_cast<int>(rcText.Width());
    };
    const int nIconExtent = bHasIcon ? (bVerticalText ? szIcon.cy : szIcon.cx) : 0;

    if (!bDraw)
    {
        int nLength = 0;
        if (m_nLayout == kLayoutFixed)
            nLength = m_nFixedTabWidth;
        else if (m_nLayout == kLayoutCompressed && !bSelected)
            nLength = (bVerticalText ? szIcon.cy : szIcon.cx) + 8;
        else if (m_nLayout == kLayoutCompressed)
        {
            int nWidest = 0;
            for (int i = 0; i < pTabManager->GetItemCount(); i++)
                nWidest = std::max(nWidest, captionWidth(pTabManager->GetItem(i)));
            nLength = nButtons + nWidest + m_rcTextMargin.left + m_rcTextMargin.right + nIconExtent;
        }
        else
            nLength = nButtons + captionWidth(pItem) + m_rcTextMargin.left + m_rcTextMargin.right + nIconExtent;
        return AdjustItemLength(nLength);
    }

    CRect rc = rcItem;
    if (nButtons > 0)
    {
        m_pColorSet->SetItemTextColor(pDC, pItem);
        if (bVerticalText)
            rc.bottom -= 3;
        else
            rc.right -= 3;
        const auto& buttons = pItem->GetNavigateButtons();
        for (auto it = buttons.rbegin(); it != buttons.rend(); ++it)
        {
            COSMTabManagerNavigateButton* pButton = it->Get();
            if (!isButtonShown(pButton))
                continue;
            const CSize sz = pButton->GetSize();
            CRect rcButton;
            if (bVerticalText)
            {
                const int nLeft = rc.left + (rc.Width() - sz.cx) / 2;
                rcButton.SetRect(nLeft, rc.bottom - sz.cy, nLeft + sz.cx, rc.bottom);
                rc.bottom -= sz.cy;
            }
            else
            {
                const int nTop = rc.top + (rc.Height() - sz.cy) / 2;
                rcButton.SetRect(rc.right - sz.cx, nTop, rc.right, nTop + sz.cy);
                rc.right -= sz.cx;
            }
            pButton->SetRect(rcButton);
            DrawNavigateButton(pDC, pButton, rcButton);
        }
    }

    m_pColorSet->SetItemTextColor(pDC, pItem);
    const CRect rcFocus = rc;
    const CString strCaption = pTabManager->GetItemCaption(pItem);
    const int nSurplus = pItem->GetLength() - pItem->GetContentLength();

    if (!bVerticalText)
    {
        if (nSurplus > 0)
            rc.DeflateRect(nSurplus / 2, 0);
        rc.left += m_rcTextMargin.left + m_rcItemInset.left;
        if (nPosition == 2)
            rc.top += m_rcItemInset.bottom, rc.bottom -= m_rcItemInset.top;
        else
            rc.top += m_rcItemInset.top, rc.bottom -= m_rcItemInset.bottom;
        if (bHasIcon)
        {
            CPoint pt(rc.left - 1, rc.CenterPoint().y - szIcon.cy / 2);
            if (szIcon.cx < rc.Width())
                pTabManager->DrawIcon(pDC, pt, pItem, TRUE, szIcon);
            rc.left += szIcon.cx + 2;
        }
        if (bShowText && !rc.IsRectEmpty())
        {
            rc.right -= m_rcTextMargin.right + m_rcItemInset.right - (bHasIcon ? 2 : 0);
            if (COSMMarkupUIElement* pElement = pItem->GetMarkupElement())
            {
                SetMarkupContextDefaultFont(pTabManager->GetMarkupContext(), *pFont, pDC->GetTextColor());
                CRect rcText = rc;
                if (m_nDrawTextFormat & DT_VCENTER)
                {
                    const CSize sz = MeasureMarkupElement(pElement, INT_MAX, INT_MAX);
                    rcText.top = rc.top + (rc.Height() - sz.cy) / 2;
                    rcText.bottom = rcText.top + sz.cy;
                }
                RenderMarkupElement(pElement, pDC->GetSafeHdc(), &rcText);
            }
            else if (m_bDrawTextPathEllipsis)
            {
                DrawTextPathEllipsis(pDC, strCaption, rc,
                                     m_nDrawTextFormat | DT_SINGLELINE | (m_bDrawTextNoPrefix ? DT_NOPREFIX : 0));
            }
            else
            {
                const CString strText = m_bDrawTextHidePrefix ? StripTabMnemonics(strCaption) : strCaption;
                pDC->DrawText(strText, rc,
                              m_nDrawTextFormat | DT_SINGLELINE |
                                  (m_bDrawTextNoPrefix || m_bDrawTextHidePrefix ? DT_NOPREFIX : 0) |
                                  (m_bDrawTextEndEllipsis ? DT_END_ELLIPSIS : 0));
            }
        }
    }
    else
    {
        if (nSurplus > 0)
            rc.DeflateRect(0, nSurplus / 2);
        rc.top += m_rcTextMargin.left + m_rcItemInset.left;
        if (nPosition == 3)
            rc.left += m_rcItemInset.bottom, rc.right -= m_rcItemInset.top;
        else
            rc.left += m_rcItemInset.top, rc.right -= m_rcItemInset.bottom;
        if (bHasIcon)
        {
            CPoint pt(rc.CenterPoint().x - szIcon.cx / 2, rc.top - 1);
            if (szIcon.cy < rc.Height())
                pTabManager->DrawIcon(pDC, pt, pItem, TRUE, szIcon);
            rc.top += szIcon.cy + 2;
        }
        if (bShowText && rc.top + 8 < rc.bottom)
        {
            const CString strText = m_bDrawTextNoPrefix ? strCaption : StripTabMnemonics(strCaption);
            const CSize szText = pDC->GetTextExtent(strText);
            // A font turned a quarter draws from its cell's right edge downward.
            rc.left = rc.right - ((rc.Width() - szText.cy) - (nPosition == 3 ? 1 : 0)) / 2;
            rc.right = rc.left + rc.Height();
            rc.bottom -= m_rcItemInset.right + std::max(static_cast<int>(m_rcTextMargin.right) - 4, 0);
            const UINT nFormat = DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX;
            if (m_bDrawTextPathEllipsis)
                DrawTextPathEllipsis(pDC, strText, rc, nFormat);
            else
                pDC->DrawText(strText, rc, nFormat | (m_bDrawTextEndEllipsis ? DT_END_ELLIPSIS : 0));
        }
    }

    if (bSelected && pTabManager->HasFocus())
        DrawFocusRect(pDC, pItem, rcFocus);
    return 0;
}

void COSMTabPaintManager::DrawFocusRect(CDC* pDC, COSMTabManagerItem* /*pItem*/, CRect rc)
{
    if (!m_bDrawFocusRect)
        return;
    rc.DeflateRect(3, 3);
    pDC->SetTextColor(RGB(0, 0, 0));
    pDC->SetBkColor(RGB(255, 255, 255));
    pDC->DrawFocusRect(rc);
}

void COSMTabPaintManager::DrawNavigateButton(CDC* pDC, COSMTabManagerNavigateButton* pButton, CRect& rc)
{
    if (rc.IsRectEmpty())
        return;
    m_pColorSet->FillNavigateButton(pDC, pButton, rc);
    const COLORREF clrGlyph = pDC->GetTextColor();
    COSMPenDC pen(pDC->GetSafeHdc(), clrGlyph);
    // A disabled button's glyph is only outlined. The brush goes, deselected first, however the glyph's drawing ends.
    const ScopedGdiObject<HBRUSH> brush(pButton->IsEnabled() ? ::CreateSolidBrush(clrGlyph) : nullptr);
    const ScopedSelection selected =
        SelectScoped(pDC->GetSafeHdc(), brush ? static_cast<HGDIOBJ>(brush.Get()) : ::GetStockObject(NULL_BRUSH));
    pButton->DrawEntry(pDC, rc);
}

void COSMTabPaintManager::DrawRowItems(COSMTabManager* pTabManager, CDC* pDC, const CRect& rcClip, int nRow)
{
    const COSMTabManagerRow& row = pTabManager->GetRows()[nRow];
    COSMTabManagerItem* pSelected = pTabManager->GetSelectedItem();
    const int nSelected = pSelected && pSelected->GetIndex() >= row.nFirstItem && pSelected->GetIndex() <= row.nLastItem
                              ? pSelected->GetIndex()
                              : -1;
    auto drawItem = [&](int i) {
        COSMTabManagerItem* pItem = pTabManager->GetItem(i);
        if (!pItem || !pItem->IsVisible())
            return;
        CRect rcDraw = m_pAppearanceSet->GetItemDrawRect(pItem);
        CRect rcHit;
        if (!rcHit.IntersectRect(rcDraw, rcClip))
            return;
        m_pAppearanceSet->DrawSingleItem(pDC, pItem);
    };

    if (!m_pAppearanceSet->IsDrawSelectedLast())
    {
        for (int i = row.nLastItem; i >= row.nFirstItem; i--)
            if (i != nSelected)
                drawItem(i);
    }
    else
    {
        // Neighbours are drawn toward the selected tab, so each overlaps the one farther away.
        const int nStop = nSelected >= 0 ? nSelected : row.nLastItem + 1;
        for (int i = row.nFirstItem; i < nStop; i++)
            drawItem(i);
        for (int i = row.nLastItem; i > nSelected && i >= nStop; i--)
            drawItem(i);
    }
    if (nSelected >= 0)
        drawItem(nSelected);
}

void COSMTabPaintManager::DrawTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rcControl)
{
    m_pAppearanceSet->DrawTabControl(pTabManager, pDC, rcControl);
}

void COSMTabPaintManager::PaintTabControl(COSMTabManager* pTabManager, CDC* pDC, CRect rc)
{
    const int nPosition = pTabManager->GetPosition();
    if (m_bStaticFrame)
    {
        pDC->Draw3dRect(rc, m_pColorSet->m_clrBorder, m_pColorSet->m_clrBorder);
        rc.DeflateRect(1, 1);
        pDC->Draw3dRect(rc, m_pColorSet->m_clrFace, m_pColorSet->m_clrFace);
        COSMTabAppearanceSet::DeflateRectByPosition(rc, 1, 0, 1, 1, nPosition);
    }
    if (m_bFillBackground)
        pDC->FillSolidRect(rc, m_pColorSet->m_clrFace);
    COSMTabAppearanceSet::DeflateRectByPosition(rc, m_rcControlMargin, nPosition);
    pDC->SetBkMode(TRANSPARENT);
    if (m_bFillBackground)
        m_pAppearanceSet->FillTabControl(pTabManager, pDC, rc);

    CRect rcClip;
    pDC->GetClipBox(rcClip);
    if (m_bClipHeader)
    {
        const CRect rcHeader = pTabManager->GetHeaderRect();
        if (!rcClip.IntersectRect(rcClip, rcHeader))
            rcClip.SetRectEmpty();
    }
    if (!rcClip.IsRectEmpty())
    {
        // The header's clip goes with the scope, however the items' drawing ends.
        const ScopedSavedDC saved = m_bClipHeader ? SaveScoped(pDC->GetSafeHdc()) : ScopedSavedDC();
        if (m_bClipHeader)
        {
            pDC->IntersectClipRect(rcClip);
            m_pColorSet->FillHeader(pDC, rcClip, pTabManager);
        }
        for (int r = static_cast<int>(pTabManager->GetRows().size()) - 1; r >= 0; r--)
            DrawRowItems(pTabManager, pDC, rcClip, r);
    }

    const auto& buttons = pTabManager->GetNavigateButtons();
    for (auto it = buttons.rbegin(); it != buttons.rend(); ++it)
    {
        CRect rcButton = (*it)->GetRect();
        DrawNavigateButton(pDC, it->Get(), rcButton);
    }
}
