#include "framework/controls/ToolTipContextToolTip.h"

#include "classlib/DC.h"
#include "classlib/GuardedCallbacks.h"
#include "classlib/ScopedHandle.h"
#include "classlib/ThreadLocal.h"
#include "classlib/WndMessageMap.h"
#include "framework/controls/ToolTipGradientToolTip.h"
#include "framework/controls/ToolTipLayout.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/foundation/FrameworkStatics.h"
#include "framework/foundation/ImageManagerIcon.h"
#include "framework/foundation/MultiMonitor.h"
#include "framework/foundation/OSVersionInfo.h"
#include "framework/foundation/ResourceManager.h"
#include "framework/foundation/TextFunctions.h"
#include "framework/foundation/ToolTipStandardCtrl.h"
#include "framework/foundation/WindowFunctions.h"

#include <algorithm>
#include <utility>

namespace {

COSMToolTipContextToolTip::TickFunction g_pfnToolTipTick = nullptr;
COSMToolTipOffice2007Images g_toolTipOffice2007Images;

// A thread's mouse hook and the one window it serves. The hook is set per thread, so each UI thread keeps its own.
struct ToolTipMouseHook
{
    ScopedHook hook;
    COSMToolTipContextToolTip* owner = nullptr;
};
CThreadLocal<ToolTipMouseHook> g_toolTipMouseHook;
constexpr char kToolTipMouseHookName[] = "tooltip mouse hook";

DWORD ToolTipTick()
{
    return g_pfnToolTipTick ? g_pfnToolTipTick() : ::GetTickCount();
}

constexpr char kToolTipClassName[] = "OsmToolTip";
constexpr char kToolTipShadowClassName[] = "OsmToolTipShadow";

// A TOOLINFO text is a string, LPSTR_TEXTCALLBACK, or (with hinst) a string resource id of hinst's module.
CString ToolInfoText(const TOOLINFOA& info)
{
    CString text;
    if (!info.lpszText)
        return text;
    if (IS_INTRESOURCE(info.lpszText))
    {
        if (info.hinst)
            GetResourceManager()->LoadStringFromModule(
                info.hinst, static_cast<UINT>(reinterpret_cast<UINT_PTR>(info.lpszText)), text);
        return text;
    }
    return CString(info.lpszText);
}

COLORREF Office2007Color(LPCSTR lpszKey, COLORREF clrDefault)
{
    const COLORREF clr = g_toolTipOffice2007Images.pfnGetImageColor
                             ? g_toolTipOffice2007Images.pfnGetImageColor("Window", lpszKey)
                             : static_cast<COLORREF>(-1);
    return clr == static_cast<COLORREF>(-1) ? clrDefault : clr;
}

}  // namespace

namespace {

// Watches a tip window object across a call that may pump messages. Watches nest: one that sees the object go tells
// the watch outside it; one that ends with the object alive hands the flag back to the outer one.
class ToolTipDeletionWatch
{
public:
    explicit ToolTipDeletionWatch(bool*& slot) : m_slot(slot), m_pOuter(slot) { slot = &m_bDeleted; }
    ~ToolTipDeletionWatch()
    {
        if (!m_bDeleted)
            m_slot = m_pOuter;
        else if (m_pOuter)
            *m_pOuter = true;
    }
    ToolTipDeletionWatch(const ToolTipDeletionWatch&) = delete;
    ToolTipDeletionWatch& operator=(const ToolTipDeletionWatch&) = delete;
    bool Deleted() const { return m_bDeleted; }

private:
    bool*& m_slot;
    bool* m_pOuter;
    bool m_bDeleted = false;
};

}  // namespace

IMPLEMENT_DYNAMIC(COSMToolTipContextToolTip, CWnd)

BEGIN_MESSAGE_MAP(COSMToolTipContextToolTip, CWnd)
    ON_MESSAGE(TTM_ADDTOOLA, OnAddTool)
    ON_MESSAGE(TTM_DELTOOLA, OnDelTool)
    ON_MESSAGE(TTM_ACTIVATE, OnActivateTip)
    ON_MESSAGE(TTM_RELAYEVENT, OnRelayEvent)
    ON_MESSAGE(TTM_SETTITLEA, OnSetTitle)
    ON_MESSAGE(TTM_UPDATETIPTEXTA, OnUpdateTipText)
    ON_MESSAGE(TTM_SETDELAYTIME, OnSetDelayTime)
    ON_MESSAGE(OSM_TTM_SETIMAGE, OnSetImage)
    ON_MESSAGE(TTM_WINDOWFROMPOINT, OnWindowFromPoint)
    ON_MESSAGE(WM_NCHITTEST, OnTipNcHitTest)
    ON_MESSAGE(WM_MOUSEACTIVATE, OnTipMouseActivate)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

COSMToolTipContextToolTip::COSMToolTipContextToolTip(COSMToolTipContext* pContext) : m_pContext(pContext) {}

COSMToolTipContextToolTip::~COSMToolTipContextToolTip()
{
    if (m_pDeletedFlag)
        *m_pDeletedFlag = true;
    SetMouseHook(FALSE);
}

void COSMToolTipContextToolTip::SetTickFunction(TickFunction pfnTick)
{
    g_pfnToolTipTick = pfnTick;
}

void COSMToolTipContextToolTip::RegisterOffice2007Images(const COSMToolTipOffice2007Images& images)
{
    g_toolTipOffice2007Images = images;
}

BOOL COSMToolTipContextToolTip::Create(CWnd* pParent, DWORD dwStyle)
{
    const BOOL bShadow = !(dwStyle & COSMToolTipContext::kStyleNoDropShadow) && GetOSVersionInfo()->IsWinXPOrGreater();
    const char* className = bShadow ? kToolTipShadowClassName : kToolTipClassName;
    if (!RegisterWindowClass(nullptr, className, CS_SAVEBITS | CS_OWNDC | (bShadow ? CS_DROPSHADOW : 0)))
        return FALSE;
    return CreateEx(WS_EX_TOOLWINDOW, className, nullptr, dwStyle | WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, pParent->GetSafeHwnd(), nullptr);
}

COSMToolTipToolRecord* COSMToolTipContextToolTip::FindTool(HWND hWnd, UINT_PTR uId)
{
    for (const auto& tool : m_tools)
    {
        if (tool->hwnd == hWnd && tool->uId == uId)
            return tool.get();
    }
    return nullptr;
}

LRESULT COSMToolTipContextToolTip::OnAddTool(WPARAM, LPARAM lParam)
{
    const auto* pInfo = reinterpret_cast<const TOOLINFOA*>(lParam);
    if (!pInfo || pInfo->cbSize < static_cast<UINT>(TTTOOLINFOA_V1_SIZE))
        return FALSE;
    auto tool = std::make_unique<COSMToolTipToolRecord>();
    if (pInfo->lpszText == LPSTR_TEXTCALLBACKA)
        tool->bTextCallback = TRUE;
    else
        tool->strText = ToolInfoText(*pInfo);
    tool->uFlags = pInfo->uFlags;
    tool->rect = pInfo->rect;
    tool->hinst = pInfo->hinst;
    tool->hwnd = pInfo->hwnd;
    tool->uId = pInfo->uId;
    if (pInfo->cbSize == static_cast<UINT>(TTTOOLINFOA_V2_SIZE) && pInfo->lParam)
        tool->rcPlacement = reinterpret_cast<const COSMToolTipExtInfo*>(pInfo->lParam)->rcPlacement;
    m_tools.push_back(std::move(tool));
    return TRUE;
}

LRESULT COSMToolTipContextToolTip::OnDelTool(WPARAM, LPARAM lParam)
{
    const auto* pInfo = reinterpret_cast<const TOOLINFOA*>(lParam);
    if (!pInfo)
        return 0;
    COSMToolTipToolRecord* pTool = FindTool(pInfo->hwnd, pInfo->uId);
    if (!pTool)
        return 0;
    if (pTool->IsSameTool(m_shownTool))
        ShowTip(nullptr);
    if (pTool->IsSameTool(m_clickedTool))
        m_clickedTool.Empty();
    if (pTool->IsSameTool(m_pendingTool))
        m_pendingTool.Empty();
    m_tools.erase(std::find_if(m_tools.begin(), m_tools.end(), [&](const auto& tool) { return tool.get() == pTool; }));
    return 0;
}

LRESULT COSMToolTipContextToolTip::OnActivateTip(WPARAM wParam, LPARAM)
{
    m_bActive = wParam != 0;
    if (!m_bActive)
    {
        if (m_nTimer)
        {
            KillTimer(m_nTimer);
            m_nTimer = 0;
        }
        m_pendingTool.Empty();
        if (IsWindowVisible())
            ShowTip(nullptr);
    }
    return 0;
}

LRESULT COSMToolTipContextToolTip::OnRelayEvent(WPARAM, LPARAM lParam)
{
    if (lParam)
        RelayEvent(reinterpret_cast<const MSG*>(lParam));
    return 0;
}

LRESULT COSMToolTipContextToolTip::OnSetTitle(WPARAM, LPARAM lParam)
{
    m_strTitle = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
    return 0;
}

LRESULT COSMToolTipContextToolTip::OnUpdateTipText(WPARAM, LPARAM lParam)
{
    const auto* pInfo = reinterpret_cast<const TOOLINFOA*>(lParam);
    if (!pInfo)
        return 0;
    if (COSMToolTipToolRecord* pTool = FindTool(pInfo->hwnd, pInfo->uId))
    {
        pTool->bTextCallback = pInfo->lpszText == LPSTR_TEXTCALLBACKA;
        pTool->strText = pTool->bTextCallback ? CString() : ToolInfoText(*pInfo);
    }
    return 0;
}

LRESULT COSMToolTipContextToolTip::OnSetDelayTime(WPARAM wParam, LPARAM lParam)
{
    if (wParam == TTDT_RESHOW)
        m_nReshowDelay = LOWORD(lParam);
    else if (wParam == TTDT_INITIAL)
        m_nInitialDelay = LOWORD(lParam);
    return 0;
}

LRESULT COSMToolTipContextToolTip::OnSetImage(WPARAM, LPARAM lParam)
{
    m_pImage = reinterpret_cast<COSMImageManagerIcon*>(lParam);
    return 0;
}

LRESULT COSMToolTipContextToolTip::OnWindowFromPoint(WPARAM, LPARAM lParam)
{
    if (!lParam)
        return 0;
    return reinterpret_cast<LRESULT>(
        COSMToolTipStandardCtrl::WindowFromPointForTips(*reinterpret_cast<const POINT*>(lParam)));
}

LRESULT COSMToolTipContextToolTip::OnTipNcHitTest(WPARAM, LPARAM)
{
    return HTTRANSPARENT;
}

LRESULT COSMToolTipContextToolTip::OnTipMouseActivate(WPARAM, LPARAM)
{
    return MA_NOACTIVATE;
}

BOOL COSMToolTipContextToolTip::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void COSMToolTipContextToolTip::OnMouseMove(UINT, CPoint)
{
    ShowTip(nullptr);
}

void COSMToolTipContextToolTip::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kShowTimerId && m_nTimer == kShowTimerId)
    {
        COSMToolTipToolRecord* pTool = HitTestTool();
        const BOOL bShow = pTool && !m_pendingTool.IsEmpty() && pTool->IsSameTool(m_pendingTool);
        KillTimer(m_nTimer);
        m_nTimer = 0;
        m_pendingTool.Empty();
        if (bShow)
        {
            ToolTipDeletionWatch watch(m_pDeletedFlag);
            ShowTip(pTool);
            if (watch.Deleted())
                return;
        }
    }
    Default();
}

void COSMToolTipContextToolTip::OnDestroy()
{
    m_shownTool.Empty();
    m_clickedTool.Empty();
    m_pendingTool.Empty();
    m_tools.clear();
    m_strTitle.Empty();
    m_pImage = nullptr;
    m_bActive = FALSE;
    if (m_nTimer)
    {
        KillTimer(m_nTimer);
        m_nTimer = 0;
    }
    SetMouseHook(FALSE);
    CWnd::OnDestroy();
}

COSMToolTipToolRecord* COSMToolTipContextToolTip::HitTestTool()
{
    if (::GetKeyState(VK_LBUTTON) < 0 || ::GetKeyState(VK_RBUTTON) < 0 || ::GetKeyState(VK_MBUTTON) < 0)
        return nullptr;
    POINT cursor;
    if (!::GetCursorPos(&cursor))
        return nullptr;
    HWND hWndUnder = nullptr;
    BOOL bUnderKnown = FALSE;
    for (const auto& tool : m_tools)
    {
        if (!::IsWindow(tool->hwnd))
            continue;
        if (tool->uFlags & TTF_IDISHWND)
        {
            // The id is the tool's own window.
            auto hWndTool = reinterpret_cast<HWND>(tool->uId);
            RECT rc;
            if (::IsWindow(hWndTool) && ::GetWindowRect(hWndTool, &rc) && ::PtInRect(&rc, cursor))
                return tool.get();
            continue;
        }
        CRect rc = tool->rect;
        ::MapWindowPoints(tool->hwnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
        rc.NormalizeRect();
        if (!rc.PtInRect(cursor))
            continue;
        if (!bUnderKnown)
        {
            hWndUnder = COSMToolTipStandardCtrl::WindowFromPointForTips(cursor);
            bUnderKnown = TRUE;
        }
        if (hWndUnder == tool->hwnd)
            return tool.get();
    }
    return nullptr;
}

void COSMToolTipContextToolTip::RelayEvent(const MSG* pMsg)
{
    if (!m_bActive)
        return;
    const UINT message = pMsg->message;
    if (!((message >= WM_MOUSEFIRST && message <= WM_MBUTTONDBLCLK) ||
          (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK)))
        return;

    COSMToolTipToolRecord* pTool = HitTestTool();
    if (message == WM_LBUTTONDOWN && pTool)
    {
        m_clickedTool = *pTool;
        pTool = nullptr;
    }
    if (pTool && !m_clickedTool.IsEmpty() && pTool->IsSameTool(m_clickedTool))
        pTool = nullptr;

    if (m_nTimer && (!pTool || !pTool->IsSameTool(m_pendingTool)))
    {
        KillTimer(m_nTimer);
        m_nTimer = 0;
        m_pendingTool.Empty();
    }
    if (!pTool)
    {
        ShowTip(nullptr);
        return;
    }
    if (pTool->IsSameTool(m_shownTool))
        return;
    // A tip up, or one that went a moment ago, hands over at once: the user is reading tips.
    const BOOL bReshow = !m_shownTool.IsEmpty() ||
                         (m_bShownOrHidden && ToolTipTick() - m_dwLastShowHide < static_cast<DWORD>(m_nReshowDelay));
    if (bReshow)
    {
        ShowTip(pTool);
        return;
    }
    if (m_nTimer && pTool->IsSameTool(m_pendingTool))
        return;
    m_pendingTool = *pTool;
    m_nTimer = SetTimer(kShowTimerId, static_cast<UINT>(m_nInitialDelay));
}

void COSMToolTipContextToolTip::ShowTip(COSMToolTipToolRecord* pTool)
{
    if (pTool ? pTool->IsSameTool(m_shownTool) : m_shownTool.IsEmpty())
        return;
    CSize size;
    if (pTool)
    {
        {
            // Measuring may pump messages, and one of them may delete this window.
            ToolTipDeletionWatch watch(m_pDeletedFlag);
            CalcTipSize(size, *pTool);
            if (watch.Deleted())
                return;
        }
        if (size.cx == 0 && size.cy == 0)
        {
            pTool = nullptr;
            if (m_shownTool.IsEmpty())
                return;
        }
    }

    SetWindowPos(nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    if (m_bRegion)
    {
        SetWindowRgn(nullptr, FALSE);
        m_bRegion = FALSE;
    }

    if (pTool)
    {
        POINT cursor{};
        ::GetCursorPos(&cursor);
        CRect rc;
        if (pTool->rcPlacement.IsRectEmpty())
        {
            const BOOL bRightToLeft = (::GetWindowLongA(pTool->hwnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
            rc = ToolTipRectUnderCursor(size, cursor, GetCursorHeight(::GetCursor()), bRightToLeft);
        }
        else
        {
            POINT origin{pTool->rect.left, pTool->rcPlacement.bottom};
            ::ClientToScreen(pTool->hwnd, &origin);
            rc = CRect(origin, size);
        }
        rc = AdjustToolTipRect(rc, cursor, GetMultiMonitor()->GetWorkAreaAtCursor());
        SetWindowPos(&CWnd::wndTop, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOACTIVATE | SWP_NOOWNERZORDER);

        NMHDR header{};
        header.hwndFrom = m_hWnd;
        header.idFrom = pTool->uId;
        header.code = TTN_SHOW;
        ::SendMessageA(pTool->hwnd, WM_NOTIFY, pTool->uId, reinterpret_cast<LPARAM>(&header));
        if (m_pContext->GetToolTipStyle() & COSMToolTipContext::kStyleOffice2007)
            SetRoundRegion(rc.Width(), rc.Height());
        // The tool may have gone while its window heard of the tip.
        if (!::IsWindow(m_hWnd))
            return;
        ShowWindow(SW_SHOWNOACTIVATE);
        Invalidate(FALSE);
        SetMouseHook(TRUE);
        m_clickedTool.Empty();
        m_shownTool = *pTool;
    }
    else
    {
        SetMouseHook(FALSE);
        m_pendingTool.Empty();
        m_shownTool.Empty();
    }
    m_dwLastShowHide = ToolTipTick();
    m_bShownOrHidden = TRUE;
    OnShowTip(pTool != nullptr);
}

void COSMToolTipContextToolTip::OnShowTip(BOOL) {}

CString COSMToolTipContextToolTip::GetToolText(COSMToolTipToolRecord& tool)
{
    if (!tool.bTextCallback)
        return tool.strText;
    NMTTDISPINFOA info{};
    info.hdr.hwndFrom = m_hWnd;
    info.hdr.idFrom = tool.uId;
    info.hdr.code = TTN_NEEDTEXTA;
    info.lpszText = info.szText;
    info.uFlags = tool.uFlags;
    ::SendMessageA(tool.hwnd, WM_NOTIFY, tool.uId, reinterpret_cast<LPARAM>(&info));
    CString text;
    if (IS_INTRESOURCE(info.lpszText))
    {
        if (info.lpszText)
            GetResourceManager()->LoadStringFromModule(
                info.hinst, static_cast<UINT>(reinterpret_cast<UINT_PTR>(info.lpszText)), text);
    }
    else
    {
        text = info.lpszText;
    }
    if (!(m_pContext->GetToolTipStyle() & TTS_NOPREFIX))
        StripMnemonics(text);
    tool.strText = text;
    tool.bTextCallback = FALSE;
    // The list's record keeps the answer too, so the tool is asked once.
    if (COSMToolTipToolRecord* pListed = FindTool(tool.hwnd, tool.uId); pListed && pListed != &tool)
    {
        pListed->strText = text;
        pListed->bTextCallback = FALSE;
    }
    return text;
}

int COSMToolTipContextToolTip::GetCursorHeight(HCURSOR hCursor)
{
    if (!hCursor)
        return kToolTipDefaultCursorHeight;
    ICONINFO iconInfo{};
    if (!::GetIconInfo(hCursor, &iconInfo))
        return kToolTipDefaultCursorHeight;
    int height = kToolTipDefaultCursorHeight;
    BITMAP mask{};
    if (iconInfo.hbmMask && ::GetObjectA(iconInfo.hbmMask, sizeof(mask), &mask) && mask.bmWidth > 0)
    {
        const int rowBytes = ((mask.bmWidth + 15) / 16) * 2;
        std::vector<BYTE> bits(static_cast<size_t>(rowBytes) * mask.bmHeight);
        if (::GetBitmapBits(iconInfo.hbmMask, static_cast<LONG>(bits.size()), bits.data()) ==
            static_cast<LONG>(bits.size()))
            height = ToolTipCursorHeightFromMask(bits, mask.bmWidth, mask.bmHeight, iconInfo.hbmColor == nullptr,
                                                 static_cast<int>(iconInfo.yHotspot));
    }
    if (iconInfo.hbmMask)
        ::DeleteObject(iconInfo.hbmMask);
    if (iconInfo.hbmColor)
        ::DeleteObject(iconInfo.hbmColor);
    return height;
}

COSMToolTipContextToolTip* COSMToolTipContextToolTip::GetMouseHookOwner()
{
    const ToolTipMouseHook* state = g_toolTipMouseHook.GetDataNA();
    return state ? state->owner : nullptr;
}

void COSMToolTipContextToolTip::SetMouseHook(BOOL bSet)
{
    if (bSet)
    {
        ToolTipMouseHook* state = g_toolTipMouseHook.GetData();
        if (state->hook)
            return;
        state->hook.Reset(::SetWindowsHookExA(
            WH_MOUSE, osm::GuardedHookProc<kToolTipMouseHookName, &COSMToolTipContextToolTip::OnMouseHook>, nullptr,
            ::GetCurrentThreadId()));
        if (state->hook)
            state->owner = this;
        return;
    }
    ToolTipMouseHook* state = g_toolTipMouseHook.GetDataNA();
    if (!state || state->owner != this)
        return;
    state->owner = nullptr;
    state->hook.Reset();
}

LRESULT COSMToolTipContextToolTip::OnMouseHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    const ToolTipMouseHook* state = g_toolTipMouseHook.GetDataNA();
    COSMToolTipContextToolTip* pOwner = state ? state->owner : nullptr;
    if (nCode == HC_ACTION && pOwner && !pOwner->m_shownTool.IsEmpty() && lParam)
    {
        const auto* pHook = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
        if (COSMToolTipStandardCtrl::WindowFromPointForTips(pHook->pt) != pOwner->m_shownTool.hwnd)
        {
            MSG msg{};
            msg.hwnd = pHook->hwnd;
            msg.message = WM_MOUSEMOVE;
            msg.pt = pHook->pt;
            pOwner->RelayEvent(&msg);
        }
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

void COSMToolTipContextToolTip::SetRoundRegion(int cx, int cy)
{
    const RECT parts[3] = {{1, 0, cx - 1, 1}, {0, 1, cx, cy - 1}, {1, cy - 1, cx - 1, cy}};
    std::vector<BYTE> buffer(sizeof(RGNDATAHEADER) + sizeof(parts));
    auto* pData = reinterpret_cast<RGNDATA*>(buffer.data());
    pData->rdh.dwSize = sizeof(RGNDATAHEADER);
    pData->rdh.iType = RDH_RECTANGLES;
    pData->rdh.nCount = 3;
    pData->rdh.nRgnSize = sizeof(parts);
    pData->rdh.rcBound = {0, 0, cx, cy};
    std::copy(reinterpret_cast<const BYTE*>(parts), reinterpret_cast<const BYTE*>(parts) + sizeof(parts),
              buffer.begin() + sizeof(RGNDATAHEADER));
    ScopedGdiObject<HRGN> region(::ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), pData));
    if (!region)
        return;
    // The window owns the region once it takes it; a refused one is deleted here.
    if (SetWindowRegion(m_hWnd, std::move(region), TRUE))
        m_bRegion = TRUE;
}

int COSMToolTipContextToolTip::GetWidthLimit() const
{
    const int nWidth = m_pContext->GetMaxTipWidth();
    return nWidth == -1 ? ::GetSystemMetrics(SM_CXSCREEN) : nWidth;
}

CRect COSMToolTipContextToolTip::GetContentRect(CRect rcClient) const
{
    const CRect margin = m_pContext->GetMargin();
    rcClient.DeflateRect(margin.left + 3, margin.top + 3, margin.right + 3, margin.bottom + 3);
    return rcClient;
}

void COSMToolTipContextToolTip::CalcTipSize(CSize& result, COSMToolTipToolRecord& tool)
{
    result = CSize(0, 0);
    const CString text = GetToolText(tool);
    if (text.IsEmpty())
        return;
    CClientDC dc(this);
    const UINT nFormat = DT_NOPREFIX | DT_EXPANDTABS | DT_CALCRECT;
    COSMToolTipSizeInput input;
    input.widthLimit = GetWidthLimit();
    input.margin = m_pContext->GetMargin();
    if (!m_strTitle.IsEmpty())
    {
        CFont* pOld = dc.SelectObject(m_pContext->GetBoldFont());
        CRect rcTitle(0, 0, 0, 0);
        dc.DrawText(m_strTitle, &rcTitle, nFormat | DT_SINGLELINE);
        dc.SelectObject(pOld);
        input.titleExtent = rcTitle.Size();
    }
    if (m_pImage)
        input.imageSize = CSize(m_pImage->GetWidth(), m_pImage->GetHeight());
    CFont* pOld = dc.SelectObject(m_pContext->GetNormalFont());
    input.measureText = [&](int width) {
        CRect rcText(0, 0, width, 0);
        dc.DrawText(text, &rcText, nFormat | DT_WORDBREAK);
        return rcText.Size();
    };
    result = CalcToolTipSize(input);
    dc.SelectObject(pOld);
}

void COSMToolTipContextToolTip::DrawBackground(CDC* pDC, COSMToolTipToolRecord&, CRect rcClient)
{
    const DWORD dwStyle = m_pContext->GetToolTipStyle();
    if (!(dwStyle & COSMToolTipContext::kStyleOffice2007))
    {
        pDC->FillSolidRect(rcClient, m_pContext->GetTipBkColor());
        const COLORREF clrTopLeft =
            (dwStyle & COSMToolTipContext::kStyleFrameBorder) ? ::GetSysColor(COLOR_3DFACE) : RGB(0, 0, 0);
        pDC->Draw3dRect(rcClient, clrTopLeft, RGB(0, 0, 0));
        return;
    }
    const COLORREF clrLight = Office2007Color("TooltipLight", RGB(255, 255, 255));
    const COLORREF clrDark = Office2007Color("TooltipDark", RGB(201, 217, 239));
    FillToolTipGradient(pDC, rcClient, clrLight, clrDark);
    const BOOL bFrame =
        g_toolTipOffice2007Images.pfnDrawImage &&
        g_toolTipOffice2007Images.pfnDrawImage(pDC, "TOOLTIPFRAME", rcClient, CRect(3, 3, 3, 3), RGB(255, 0, 255));
    if (!bFrame)
    {
        const COLORREF clrBorder = Office2007Color("TooltipBorder", RGB(118, 118, 118));
        pDC->Draw3dRect(rcClient, clrBorder, clrBorder);
    }
}

void COSMToolTipContextToolTip::DrawContent(CDC* pDC, COSMToolTipToolRecord& tool, CRect rcClient)
{
    CRect rc = GetContentRect(rcClient);
    UINT nFormat = DT_NOPREFIX | DT_EXPANDTABS;
    const BOOL bRightToLeft = (::GetWindowLongA(tool.hwnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    if (bRightToLeft)
        nFormat |= DT_RTLREADING | DT_RIGHT;
    // Insets from the leading edge go to the right in a right-to-left tip.
    auto pushLeading = [bRightToLeft](CRect& r, int by) {
        if (bRightToLeft)
            r.right -= by;
        else
            r.left += by;
    };
    CRect rcTitle = rc;
    rcTitle.DeflateRect(2, 2, 2, 0);
    CRect rcText = rc;
    const BOOL bTitle = !m_strTitle.IsEmpty();

    if (m_pImage && m_pImage->GetHeight() < kToolTipSmallImageHeight)
    {
        const int x = bRightToLeft ? rc.right - m_pImage->GetWidth() : rc.left;
        m_pImage->DrawNormal(pDC, CPoint(x, rc.top));
        if (bTitle)
            pushLeading(rcTitle, m_pImage->GetWidth() + 1);
        else
            pushLeading(rcText, m_pImage->GetWidth() + 3);
    }
    if (bTitle)
    {
        CFont* pOld = pDC->SelectObject(m_pContext->GetBoldFont());
        CRect rcMeasure = rcTitle;
        pDC->DrawText(m_strTitle, &rcMeasure, nFormat | DT_SINGLELINE | DT_CALCRECT);
        pDC->DrawText(m_strTitle, &rcTitle, nFormat | DT_SINGLELINE);
        pDC->SelectObject(pOld);
        rcText.top += rcMeasure.Height();
        if (bRightToLeft)
            rcText.DeflateRect(15, 12, 10, 0);
        else
            rcText.DeflateRect(10, 12, 15, 0);
    }
    if (m_pImage && m_pImage->GetHeight() >= kToolTipSmallImageHeight)
    {
        const int x = bRightToLeft ? rcText.right - m_pImage->GetWidth() : rcText.left;
        m_pImage->DrawNormal(pDC, CPoint(x, rcText.top));
        pushLeading(rcText, m_pImage->GetWidth() + 5);
    }
    pDC->DrawText(GetToolText(tool), &rcText, nFormat | DT_WORDBREAK);
}

void COSMToolTipContextToolTip::OnPaint()
{
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    DrawBackground(&dc, m_shownTool, rcClient);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(m_pContext->GetTipTextColor());
    CFont* pOld = dc.SelectObject(m_pContext->GetNormalFont());
    DrawContent(&dc, m_shownTool, rcClient);
    dc.SelectObject(pOld);
}
