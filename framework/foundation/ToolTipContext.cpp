#include "framework/foundation/ToolTipContext.h"

#include "classlib/CString.h"
#include "framework/foundation/OSVersionInfo.h"

#include <cstdlib>
#include <cstring>

namespace {

// A zero-filled heap copy of text, length + 1 bytes; the tooltip code frees it with free().
char* HeapCopy(const CString& text)
{
    const size_t length = static_cast<size_t>(text.GetLength());
    char* copy = static_cast<char*>(std::calloc(length + 1, 1));
    if (copy)
        std::memcpy(copy, static_cast<LPCSTR>(text), length);
    return copy;
}

}  // namespace

COSMToolTipContext::COSMToolTipContext() : m_dwComCtlVersion(COSMOSVersionInfo::GetComCtlVersion()) {}

COSMToolTipContext::~COSMToolTipContext()
{
    DestroyToolTip();
}

CWnd* COSMToolTipContext::CreateToolTip(CWnd* pOwner)
{
    return nullptr;
}

INT_PTR COSMToolTipContext::OnToolHitTest(CWnd* pWnd, CPoint point, TOOLINFOA* pTI)
{
    return -1;
}

void COSMToolTipContext::SetStyle(int nStyle)
{
    if (nStyle == m_nStyle || (nStyle == 1 && !IsBalloonStyleSupported()))
        return;
    m_nStyle = nStyle;
    DestroyToolTip();
    ModifyToolTipStyle(kStyleFrameBorder | kStyleNoDropShadow,
                       nStyle == 2 ? kStyleFrameBorder | kStyleNoDropShadow : 0);
    ModifyToolTipStyle(kStyleOffice2007, nStyle == 5 ? kStyleOffice2007 : 0);
}

void COSMToolTipContext::ModifyToolTipStyle(DWORD dwRemove, DWORD dwAdd)
{
    const DWORD dwStyle = (m_dwToolTipStyle & ~dwRemove) | dwAdd;
    if (dwStyle == m_dwToolTipStyle)
        return;
    m_dwToolTipStyle = dwStyle;
    DestroyToolTip();
}

BOOL COSMToolTipContext::IsBalloonStyleSupported() const
{
    return m_dwComCtlVersion >= kBalloonComCtlVersion;
}

void COSMToolTipContext::FilterToolTipMessage(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam) {}

void COSMToolTipContext::RelayToolTipMessage(CWnd* pToolTip, MSG* pMsg) {}

void COSMToolTipContext::DeactivateToolTip()
{
    if (m_pToolTip && m_pToolTip->GetSafeHwnd())
        m_pToolTip->SendMessage(TTM_ACTIVATE, FALSE);
}

void COSMToolTipContext::DestroyToolTip()
{
    if (!m_pToolTip)
        return;
    if (m_pToolTip->GetSafeHwnd())
        m_pToolTip->DestroyWindow();
    m_pToolTip.reset();
}

void COSMToolTipContext::FillToolInfo(TOOLINFOA* pTI, HWND hWnd, CRect rect, UINT_PTR nId, const CString& strTip)
{
    if (!pTI || pTI->cbSize < static_cast<UINT>(TTTOOLINFOA_V1_SIZE))
        return;
    pTI->hwnd = hWnd;
    pTI->rect = rect;
    pTI->uId = nId;
    pTI->lpszText = HeapCopy(strTip);
}

void COSMToolTipContext::FillToolInfoEx(TOOLINFOA* pTI, HWND hWnd, CRect rect, UINT_PTR nId, const CString& strTip,
                                        const CString& strTitle, const CString& strDescription,
                                        COSMImageManager* pImageManager)
{
    FillToolInfo(pTI, hWnd, rect, nId, strTip);
    if (!pTI || pTI->cbSize != static_cast<UINT>(TTTOOLINFOA_V2_SIZE) || !pTI->lParam)
        return;
    auto* pExtInfo = reinterpret_cast<COSMToolTipExtInfo*>(pTI->lParam);
    if (!strDescription.IsEmpty() && !strTitle.IsEmpty())
    {
        pExtInfo->pszDescription = HeapCopy(strDescription);
        pExtInfo->pszTitle = HeapCopy(strTitle);
    }
    pExtInfo->pImageManager = pImageManager;
}

void COSMToolTipContext::FreeToolInfoText(TOOLINFOA* pTI)
{
    if (!pTI || pTI->lpszText == LPSTR_TEXTCALLBACKA || pTI->hinst)
        return;
    std::free(pTI->lpszText);
    pTI->lpszText = nullptr;
}
