#include "framework/tabs/TabManagerItem.h"

#include "framework/foundation/DibCanvas.h"
#include "framework/foundation/ImageManagerIcon.h"
#include "framework/markup/Markup.h"
#include "framework/tabs/TabManager.h"
#include "framework/tabs/TabManagerNavigateButton.h"
#include "framework/tabs/TabPaintManager.h"

IMPLEMENT_DYNCREATE(COSMTabManagerItem, CCmdTarget)

COSMTabManagerItem::COSMTabManagerItem() = default;

COSMTabManagerItem::~COSMTabManagerItem()
{
    ReleaseNavigateButtons();
    ReleaseMarkupElement(&m_pMarkupElement);
}

void COSMTabManagerItem::ReleaseNavigateButtons()
{
    // Take the list first: a button that goes may ask the strip about the item. A click loop running on one keeps
    // it alive on its own reference, and ends unclicked.
    std::vector<RefPtr<COSMTabManagerNavigateButton>> buttons;
    buttons.swap(m_arrNavigateButtons);
    for (const RefPtr<COSMTabManagerNavigateButton>& pButton : buttons)
        pButton->Detach();
}

void COSMTabManagerItem::SetVisible(BOOL bVisible)
{
    if (m_bVisible == bVisible)
        return;
    m_bVisible = bVisible;
    RequestLayout();
}

void COSMTabManagerItem::OnRemoved()
{
    ReleaseNavigateButtons();
}

CString COSMTabManagerItem::GetCaption() const
{
    return m_pTabManager ? m_pTabManager->GetItemCaption(this) : m_strCaption;
}

COLORREF COSMTabManagerItem::GetColor()
{
    return m_pTabManager ? m_pTabManager->GetItemColor(this) : m_clrItem;
}

void COSMTabManagerItem::Select()
{
    if (m_pTabManager)
        m_pTabManager->OnItemClick(this);
}

void COSMTabManagerItem::Remove()
{
    if (m_pTabManager)
        m_pTabManager->DeleteItem(m_nIndex);
}

void COSMTabManagerItem::RequestLayout()
{
    if (m_pTabManager)
        m_pTabManager->RequestLayout();
}

void COSMTabManagerItem::SetCaption(LPCSTR lpszCaption)
{
    m_strCaption = lpszCaption ? lpszCaption : "";
    UpdateMarkupElement();
    RequestLayout();
}

void COSMTabManagerItem::UpdateMarkupElement()
{
    ReleaseMarkupElement(&m_pMarkupElement);
    COSMMarkupContext* pContext = m_pTabManager ? m_pTabManager->GetMarkupContext() : nullptr;
    if (pContext && !m_strCaption.IsEmpty())
        m_pMarkupElement = ParseMarkup(pContext, m_strCaption);
}

void COSMTabManagerItem::SetRect(int left, int top, int right, int bottom)
{
    m_rcItem.SetRect(left, top, right, bottom);
    for (const RefPtr<COSMTabManagerNavigateButton>& pButton : m_arrNavigateButtons)
        pButton->SetRect(CRect(0, 0, 0, 0));
}

BOOL COSMTabManagerItem::DrawRotatedImage(CDC* pDC, const CRect& rc, COSMImageManagerIcon* pImage)
{
    const int nSize = rc.Width();
    const COSMDibCanvas upright(pDC->GetSafeHdc(), nSize, nSize);
    const COSMDibCanvas turned(pDC->GetSafeHdc(), nSize, nSize);
    if (!upright.IsValid() || !turned.IsValid())
        return FALSE;

    ::GdiFlush();
    ::BitBlt(upright.GetDC(), 0, 0, nSize, nSize, pDC->GetSafeHdc(), rc.left, rc.top, SRCCOPY);
    ::GdiFlush();
    // The background turned back a quarter, so that the icon drawn upright on it ends up turned a quarter
    // clockwise over the background as it was.
    for (int y = 0; y < nSize; y++)
        for (int x = 0; x < nSize; x++)
            turned.At(y, nSize - 1 - x) = upright.At(x, y);

    CDC* pTurnedDC = CDC::FromHandle(turned.GetDC());
    pImage->DrawNormal(pTurnedDC, CPoint(0, 0), CSize(nSize, nSize));
    ::GdiFlush();
    for (int y = 0; y < nSize; y++)
        for (int x = 0; x < nSize; x++)
            upright.At(nSize - 1 - y, x) = turned.At(x, y);

    ::BitBlt(pDC->GetSafeHdc(), rc.left, rc.top, nSize, nSize, upright.GetDC(), 0, 0, SRCCOPY);
    return TRUE;
}

void COSMTabManagerItem::DrawImage(CDC* pDC, CRect rc, COSMImageManagerIcon* pImage)
{
    if (!pImage)
        return;
    COSMTabPaintManager* pPaintManager = m_pTabManager ? m_pTabManager->GetPaintManager() : nullptr;
    const BOOL bVertical = m_pTabManager && !m_pTabManager->IsHorizontalPosition();
    if (rc.Width() == rc.Height() && rc.Width() > 0 && pPaintManager && pPaintManager->m_bRotateImageOnVerticalDraw &&
        bVertical)
    {
        if (DrawRotatedImage(pDC, rc, pImage))
            return;
    }

    COSMImageManagerIconHandle* pHandle = &pImage->GetIcon();
    if (!m_bEnabled)
        pHandle = &pImage->GetDisabledIcon(TRUE);
    else if (m_pTabManager && m_pTabManager->GetHighlightedItem() == this)
        pHandle = &pImage->GetStateImage2();
    else if (m_pTabManager && m_pTabManager->GetSelectedItem() == this)
        pHandle = &pImage->GetStateImage3();
    pImage->Draw(pDC, rc.TopLeft(), *pHandle, rc.Size());
}
