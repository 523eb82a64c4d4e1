#include "framework/foundation/ToolTipContext.h"

#include "classlib/CString.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/FrameworkStatics.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/OSVersionInfo.h"
#include "framework/foundation/ResourceManager.h"
#include "framework/foundation/TextFunctions.h"
#include "framework/foundation/ToolTipStandardCtrl.h"
#include "framework/foundation/WindowFunctions.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace {

// The framework's tip windows, handed in by the controls library; constant-initialised, so ready before any
// initialiser runs.
COSMToolTipWindowClasses g_toolTipWindowClasses;

// A zero-filled heap copy of text, length + 1 bytes; the tooltip code frees it with free().
char* HeapCopy(const CString& text)
{
    const size_t length = static_cast<size_t>(text.GetLength());
    char* copy = static_cast<char*>(std::calloc(length + 1, 1));
    if (copy)
        std::memcpy(copy, static_cast<LPCSTR>(text), length);
    return copy;
}

// The status font of the non-client metrics.
LOGFONTA ToolTipStatusFont()
{
    NONCLIENTMETRICSA metrics;
    LOGFONTA logFont;
    if (InitNonClientMetrics(&metrics))
        logFont = metrics.lfStatusFont;
    else
        ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont);
    logFont.lfCharSet = GetResourceManager()->GetFontCharset();
    return logFont;
}

BOOL IsToolTipFilterMouseMessage(UINT message)
{
    switch (message)
    {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL IsToolTipDeactivatingMessage(UINT message)
{
    if (message >= WM_KEYFIRST && message <= WM_KEYLAST)
        return TRUE;
    switch (message)
    {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONDBLCLK:
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL AnyMouseButtonDown()
{
    return ::GetKeyState(VK_LBUTTON) < 0 || ::GetKeyState(VK_RBUTTON) < 0 || ::GetKeyState(VK_MBUTTON) < 0;
}

// With the owner check, a message counts only when the first window from its own up through its parents that
// asks for tooltips is the site.
BOOL ComesThroughSite(CWnd* pSite, HWND hWndMessage)
{
    for (HWND hWnd = hWndMessage; hWnd; hWnd = ::GetParent(hWnd))
    {
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (pWnd && pWnd->IsToolTipsEnabled())
            return pWnd == pSite;
        if (hWnd == pSite->GetSafeHwnd())
            return TRUE;
    }
    return FALSE;
}

HWND ToolTipOwnerWindow(CWnd* pToolTip)
{
    HWND hWndOwner = ::GetWindow(pToolTip->GetSafeHwnd(), GW_OWNER);
    return hWndOwner ? hWndOwner : ::GetParent(pToolTip->GetSafeHwnd());
}

}  // namespace

COSMToolTipContext::COSMToolTipContext()
    : m_dwComCtlVersion(COSMOSVersionInfo::GetComCtlVersion()), m_nMaxTipWidth(::GetSystemMetrics(SM_CXSCREEN) / 2)
{}

CFont* COSMToolTipContext::GetNormalFont()
{
    if (!m_fntNormal.GetSafeHandle())
    {
        LOGFONTA logFont = ToolTipStatusFont();
        logFont.lfWeight = FW_NORMAL;
        m_fntNormal.CreateFontIndirect(&logFont);
        logFont.lfWeight = FW_BOLD;
        m_fntBold.CreateFontIndirect(&logFont);
    }
    return &m_fntNormal;
}

CFont* COSMToolTipContext::GetBoldFont()
{
    GetNormalFont();
    return &m_fntBold;
}

COSMToolTipContext::~COSMToolTipContext()
{
    DestroyToolTip();
}

void COSMToolTipContext::RegisterToolTipWindows(const COSMToolTipWindowClasses& classes)
{
    g_toolTipWindowClasses = classes;
}

CWnd* COSMToolTipContext::CreateToolTip(CWnd* pOwner)
{
    if (g_toolTipWindowClasses.pfnCreateObject)
    {
        if (CWnd* pToolTip = g_toolTipWindowClasses.pfnCreateObject(this, m_nStyle))
            return pToolTip;
    }
    return new COSMToolTipStandardCtrl;
}

INT_PTR COSMToolTipContext::OnToolHitTest(CWnd* pWnd, CPoint point, TOOLINFOA* pTI)
{
    return pWnd ? pWnd->OnToolHitTest(point, pTI) : -1;
}

void COSMToolTipContext::SetStyle(int nStyle)
{
    if (nStyle == m_nStyle || (nStyle == kStyleBalloon && !IsBalloonStyleSupported()))
        return;
    m_nStyle = nStyle;
    DestroyToolTip();
    ModifyToolTipStyle(kStyleFrameBorder | kStyleNoDropShadow,
                       nStyle == kStyleFramework ? kStyleFrameBorder | kStyleNoDropShadow : 0);
    ModifyToolTipStyle(kStyleOffice2007, nStyle == kStyleOffice2007Look ? kStyleOffice2007 : 0);
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

void COSMToolTipContext::SetMaxTipWidth(int nWidth)
{
    m_nMaxTipWidth = nWidth;
    DestroyToolTip();
}

COLORREF COSMToolTipContext::GetTipBkColor() const
{
    return m_clrBack != static_cast<COLORREF>(-1) ? m_clrBack : GetColorManager()->GetColor(COLOR_INFOBK);
}

COLORREF COSMToolTipContext::GetTipTextColor() const
{
    if (m_clrText != static_cast<COLORREF>(-1))
        return m_clrText;
    if (m_dwToolTipStyle & kStyleOffice2007)
        return RGB(76, 76, 76);
    return GetColorManager()->GetColor(COLOR_INFOTEXT);
}

void COSMToolTipContext::SetTipColors(COLORREF clrBack, COLORREF clrText)
{
    m_clrBack = clrBack;
    m_clrText = clrText;
    DestroyToolTip();
}

void COSMToolTipContext::SetMargin(const CRect& rcMargin)
{
    m_rcMargin = rcMargin;
    DestroyToolTip();
}

void COSMToolTipContext::SetDelayTime(int nInitial, int nReshow, int nAutoPop)
{
    m_nInitialDelay = nInitial;
    m_nReshowDelay = nReshow;
    m_nAutoPopDelay = nAutoPop;
    DestroyToolTip();
}

void COSMToolTipContext::SetShowTitleAndImage(BOOL bShowTitle, BOOL bShowImage)
{
    m_bShowTitle = bShowTitle;
    m_bShowImage = bShowImage;
}

void COSMToolTipContext::SetImageLookup(int nImageBase, int nImageWidth)
{
    m_nImageBase = nImageBase;
    m_nImageWidth = nImageWidth;
}

void COSMToolTipContext::FilterToolTipMessage(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!pWnd || !pWnd->GetSafeHwnd())
        return;
    // Windows relay every message they get, and most concern no tip: those must not pay for the cursor position,
    // which can be a trip to the display server.
    if (!IsToolTipFilterMouseMessage(message) && !IsToolTipDeactivatingMessage(message))
        return;
    MSG msg{};
    msg.hwnd = pWnd->GetSafeHwnd();
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = ::GetMessageTime();
    ::GetCursorPos(&msg.pt);
    RunToolTipFilter(pWnd, &msg, FALSE);
}

BOOL COSMToolTipContext::CreateToolTipWindow(CWnd* pOwner)
{
    CWnd* pToolTip = m_pToolTip.get();
    const DWORD dwStyle = m_dwToolTipStyle | TTS_ALWAYSTIP | TTS_NOPREFIX;
    int created =
        g_toolTipWindowClasses.pfnCreateWindow ? g_toolTipWindowClasses.pfnCreateWindow(pToolTip, pOwner, dwStyle) : -1;
    if (created == -1)
    {
        auto* pCtrl = dynamic_cast<CToolTipCtrl*>(pToolTip);
        if (!pCtrl)
            return FALSE;
        created = pCtrl->Create(pOwner, dwStyle | (m_nStyle == kStyleBalloon ? TTS_BALLOON : 0));
    }
    if (!created || !pToolTip->GetSafeHwnd())
        return FALSE;

    pToolTip->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(*GetNormalFont())), TRUE);
    pToolTip->SendMessage(TTM_SETMAXTIPWIDTH, 0, m_nMaxTipWidth);
    RECT rcMargin = m_rcMargin;
    pToolTip->SendMessage(TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&rcMargin));
    if (m_clrBack != static_cast<COLORREF>(-1))
        pToolTip->SendMessage(TTM_SETTIPBKCOLOR, m_clrBack);
    if (m_clrText != static_cast<COLORREF>(-1))
        pToolTip->SendMessage(TTM_SETTIPTEXTCOLOR, m_clrText);
    if (m_nReshowDelay != -1)
        pToolTip->SendMessage(TTM_SETDELAYTIME, TTDT_RESHOW, MAKELPARAM(m_nReshowDelay, 0));
    if (m_nInitialDelay != -1)
        pToolTip->SendMessage(TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(m_nInitialDelay, 0));
    if (m_nAutoPopDelay != -1)
        pToolTip->SendMessage(TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(m_nAutoPopDelay, 0));
    pToolTip->SendMessage(TTM_ACTIVATE, FALSE);
    return TRUE;
}

void COSMToolTipContext::RunToolTipFilter(CWnd* pWnd, MSG* pMsg, BOOL bOwnerCheck)
{
    const UINT message = pMsg->message;
    if (!IsToolTipFilterMouseMessage(message) || AnyMouseButtonDown())
    {
        if (IsToolTipDeactivatingMessage(message) && (!bOwnerCheck || ComesThroughSite(pWnd, pMsg->hwnd)))
            DeactivateToolTip();
        return;
    }
    if (bOwnerCheck && !ComesThroughSite(pWnd, pMsg->hwnd))
        return;

    const BOOL bActive = IsTopParentActive(pWnd->GetSafeHwnd());
    if (m_pToolTip && m_pToolTip->GetSafeHwnd() && m_pToolTip->IsWindowVisible() && !bActive)
    {
        m_pToolTip->SendMessage(TTM_ACTIVATE, FALSE);
        return;
    }

    CWnd* pOwner = pWnd->GetParentOwner();
    if (m_pToolTip && m_pToolTip->GetSafeHwnd() && ToolTipOwnerWindow(m_pToolTip.get()) != pOwner->GetSafeHwnd())
    {
        // The tools registered belong to the old window.
        m_pToolTip->DestroyWindow();
        m_lastInfo = TOOLINFOA{};
    }
    if (!m_pToolTip)
    {
        m_pToolTip.reset(CreateToolTip(pOwner));
        if (!m_pToolTip)
            return;
    }
    if (!m_pToolTip->GetSafeHwnd())
    {
        m_lastInfo = TOOLINFOA{};
        if (!CreateToolTipWindow(pOwner))
            return;
    }
    CWnd* pToolTip = m_pToolTip.get();

    COSMToolTipExtInfo extInfo;
    CPoint point = pMsg->pt;
    pWnd->ScreenToClient(&point);
    TOOLINFOA info{};
    info.cbSize = (m_bShowTitle || m_bShowImage) ? TTTOOLINFOA_V2_SIZE : TTTOOLINFOA_V1_SIZE;
    info.lParam = reinterpret_cast<LPARAM>(&extInfo);
    const INT_PTR nHit = OnToolHitTest(pWnd, point, &info);

    if (m_bShowTitle && extInfo.pszTitle && extInfo.pszDescription &&
        std::strcmp(extInfo.pszTitle, extInfo.pszDescription) == 0)
    {
        std::free(extInfo.pszDescription);
        extInfo.pszDescription = nullptr;
    }
    if (!(m_dwToolTipStyle & TTS_NOPREFIX))
    {
        if (info.lpszText != LPSTR_TEXTCALLBACKA && !info.hinst)
            StripMnemonicsInPlace(info.lpszText);
        StripMnemonicsInPlace(extInfo.pszTitle);
    }

    const BOOL bSameTool = info.uId == m_lastInfo.uId && info.hwnd == m_lastInfo.hwnd;
    const BOOL bLastTool = m_lastInfo.cbSize >= static_cast<UINT>(TTTOOLINFOA_V1_SIZE);
    if (bSameTool && ::EqualRect(&info.rect, &m_lastInfo.rect))
    {
        if (nHit != -1)
            RelayToolTipMessage(pToolTip, pMsg);
    }
    else
    {
        if (bLastTool && bSameTool)
            pToolTip->SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&m_lastInfo));
        if (nHit == -1)
        {
            pToolTip->SendMessage(TTM_ACTIVATE, FALSE);
        }
        else
        {
            TOOLINFOA added = info;
            added.uFlags &= ~(0x40000000u | 0x80000000u);
            pToolTip->SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&added));

            const BOOL bOwnContent = m_nStyle == kStyleRichText || m_nStyle == kStyleHtml || m_nStyle == kStyleMarkup;
            const BOOL bNoTitles = m_nStyle == kStyleStandard && m_dwComCtlVersion < kBalloonComCtlVersion;
            if (!bOwnContent && !bNoTitles)
            {
                if (m_bShowTitle && extInfo.pszTitle && extInfo.pszDescription)
                {
                    pToolTip->SendMessage(TTM_SETTITLEA, m_nTitleIcon, reinterpret_cast<LPARAM>(extInfo.pszTitle));
                    added.lpszText = extInfo.pszDescription;
                    pToolTip->SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&added));
                }
                else
                {
                    pToolTip->SendMessage(TTM_SETTITLEA, 0, 0);
                }
            }
            if (m_bShowImage)
            {
                COSMImageManagerIcon* pImage =
                    extInfo.pImageManager
                        ? extInfo.pImageManager->GetImage(static_cast<UINT>(m_nImageBase + nHit), m_nImageWidth)
                        : nullptr;
                pToolTip->SendMessage(OSM_TTM_SETIMAGE, 0, reinterpret_cast<LPARAM>(pImage));
            }
            if ((info.uFlags & kToolAlwaysTip) || bActive)
            {
                pToolTip->SendMessage(TTM_ACTIVATE, TRUE);
                pToolTip->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0,
                                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
            }
        }
        RelayToolTipMessage(pToolTip, pMsg);
        if (bLastTool && !bSameTool)
            pToolTip->SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&m_lastInfo));
        m_lastInfo = info;
        // The texts are freed below: the record keeps the tool's identity only.
        m_lastInfo.lpszText = nullptr;
        m_lastInfo.lParam = 0;
    }

    FreeToolInfoText(&info);
    extInfo.FreeTexts();
}

void COSMToolTipContext::RelayToolTipMessage(CWnd* pToolTip, MSG* pMsg)
{
    if (!pToolTip || !pToolTip->GetSafeHwnd() || !pMsg)
        return;
    MSG copy = *pMsg;
    POINT point = pMsg->pt;
    auto hWnd = reinterpret_cast<HWND>(pToolTip->SendMessage(TTM_WINDOWFROMPOINT, 0, reinterpret_cast<LPARAM>(&point)));
    copy.hwnd = hWnd;
    if (hWnd && pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MBUTTONDBLCLK)
    {
        ::ScreenToClient(hWnd, &point);
        copy.lParam = MAKELPARAM(point.x, point.y);
    }
    pToolTip->SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&copy));
}

void COSMToolTipContext::DeactivateToolTip()
{
    if (m_pToolTip && m_pToolTip->GetSafeHwnd())
        m_pToolTip->SendMessage(TTM_ACTIVATE, FALSE);
}

void COSMToolTipContext::DestroyToolTip()
{
    m_lastInfo = TOOLINFOA{};
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
    if (!pTI || pTI->lpszText == LPSTR_TEXTCALLBACKA || pTI->hinst || IS_INTRESOURCE(pTI->lpszText))
        return;
    std::free(pTI->lpszText);
    pTI->lpszText = nullptr;
}
