// The status bar window: panes laid out left to right, painting through the paint manager, hot tracking and
// presses, the size gripper's hit test, the window text of pane 0 and the panes' command-UI update.
#include "framework/commandbars/StatusBar.h"

#include "classlib/CmdUI.h"
#include "classlib/DC.h"
#include "classlib/FrameWnd.h"
#include "classlib/Gdi.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/foundation/BufferDC.h"
#include "framework/foundation/ImageManager.h"
#include "framework/markup/Markup.h"

#include <algorithm>
#include <cstring>

namespace {

const UINT kSetMinHeight = 0x0408;  // SB_SETMINHEIGHT
// Room between two panes, where a separator is drawn.
const int kPaneGap = 2;
// Above the panes, inside the client area.
const int kPaneTop = 2;
// Between the text and the pane's border, above and below.
const int kTextMargin = 2;
const int kRibbonTheme = 6;

UINT g_ribbonFrameQuery = 0;
COSMStatusBar::RibbonFrameStatusBarHeight g_ribbonFrameStatusBarHeight = nullptr;

// Asks a pane of the bar what the frame's update handler says about it.
class CStatusPaneCmdUI : public CCmdUI
{
public:
    COSMStatusBarPane* pane = nullptr;
    COSMStatusBarSwitchPane::SWITCH* item = nullptr;

    void Enable(BOOL on) override
    {
        m_bEnableChanged = TRUE;
        if (item)
        {
            item->enabled = on;
            pane->Redraw();
        }
        else
            pane->SetEnabled(on);
    }
    void SetCheck(int check) override
    {
        if (item)
        {
            item->checked = check != 0;
            pane->Redraw();
            return;
        }
        const DWORD style = check ? (pane->GetStyle() | COSMStatusBarPane::kStylePopout)
                                  : (pane->GetStyle() & ~COSMStatusBarPane::kStylePopout);
        if (style != pane->GetStyle())
        {
            pane->SetStyle(style);
            pane->Redraw();
        }
    }
    void SetText(LPCSTR text) override { pane->SetText(text ? text : ""); }
};

}  // namespace

IMPLEMENT_DYNAMIC(COSMStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(COSMStatusBar, CControlBar)
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONUP()
    ON_WM_NCHITTEST()
    ON_WM_SYSCOMMAND()
    ON_WM_CANCELMODE()
    ON_WM_WINDOWPOSCHANGED()
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_MESSAGE(WM_GETTEXT, OnGetText)
    ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
    ON_MESSAGE(kSetMinHeight, OnSetMinHeight)
    ON_MESSAGE(WM_NCCALCSIZE, OnStatusNcCalcSize)
END_MESSAGE_MAP()

COSMStatusBar::COSMStatusBar()
{
    SetBorders(0, 2, 0, 0);
}

COSMStatusBar::~COSMStatusBar()
{
    RemoveAll();
    if (m_ownsMarkupContext)
        ReleaseMarkupContext(&m_markupContext);
    if (m_hWnd)
        DestroyWindow();
}

void COSMStatusBar::RegisterRibbonFrame(UINT queryMessage, RibbonFrameStatusBarHeight statusBarHeight)
{
    g_ribbonFrameQuery = queryMessage;
    g_ribbonFrameStatusBarHeight = statusBarHeight;
}

BOOL COSMStatusBar::Create(CWnd* frame, DWORD style, UINT id)
{
    m_dwStyle = style & 0x0000FFFF;
    LPCSTR windowClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW));
    return CreateEx(0, windowClass, nullptr, (style & 0xFFFF0000) | WS_CLIPSIBLINGS, CRect(0, 0, 0, 0), frame, id);
}

COSMStatusBarPane* COSMStatusBar::InsertPane(std::unique_ptr<COSMStatusBarPane> pane, int index)
{
    if (index < 0)
        index = GetPaneCount();
    if (index > GetPaneCount())
        return nullptr;
    COSMStatusBarPane* added = pane.get();
    m_panes.insert(m_panes.begin() + index, std::move(pane));
    for (int i = 0; i < GetPaneCount(); ++i)
        m_panes[static_cast<size_t>(i)]->SetIndex(i);
    if (m_hWnd)
        RecalcLayout();
    return added;
}

COSMStatusBarPane* COSMStatusBar::AddIndicator(UINT id, int index)
{
    if (index > GetPaneCount())
        return nullptr;
    auto pane = std::make_unique<COSMStatusBarPane>(this);
    pane->SetID(id);
    CString text;
    if (id != 0 && text.LoadString(id))
    {
        // A prompt's first part: "description\ntooltip".
        const int newline = text.Find('\n');
        if (newline >= 0)
            text = text.Left(newline);
    }
    pane->m_text = text;
    pane->ParseText();
    return InsertPane(std::move(pane), index);
}

COSMStatusBarSwitchPane* COSMStatusBar::AddSwitchPane(UINT id, int index)
{
    if (index > GetPaneCount())
        return nullptr;
    auto pane = std::make_unique<COSMStatusBarSwitchPane>(this);
    pane->SetID(id);
    pane->SetButton(TRUE);
    pane->SetStyle(COSMStatusBarPane::kStyleNoBorders);
    return static_cast<COSMStatusBarSwitchPane*>(InsertPane(std::move(pane), index));
}

BOOL COSMStatusBar::RemoveIndicator(UINT id)
{
    const int index = FindPaneIndexById(id);
    if (index < 0)
        return FALSE;
    if (m_hotPane == m_panes[static_cast<size_t>(index)].get())
        m_hotPane = nullptr;
    m_panes.erase(m_panes.begin() + index);
    for (int i = 0; i < GetPaneCount(); ++i)
        m_panes[static_cast<size_t>(i)]->SetIndex(i);
    if (m_hWnd)
        RecalcLayout();
    return TRUE;
}

void COSMStatusBar::RemoveAll()
{
    m_hotPane = nullptr;
    m_panes.clear();
    if (m_hWnd)
        Invalidate();
}

COSMStatusBarPane* COSMStatusBar::GetPane(int index) const
{
    return index >= 0 && index < GetPaneCount() ? m_panes[static_cast<size_t>(index)].get() : nullptr;
}

int COSMStatusBar::FindPaneIndexById(UINT id) const
{
    for (int i = 0; i < GetPaneCount(); ++i)
        if (m_panes[static_cast<size_t>(i)]->GetID() == id)
            return i;
    return -1;
}

COSMStatusBarPane* COSMStatusBar::FindPane(UINT id) const
{
    return GetPane(FindPaneIndexById(id));
}

COSMStatusBarPane* COSMStatusBar::HitTest(CPoint point, CRect* rect) const
{
    for (const auto& pane : m_panes)
        if (pane->IsVisible() && pane->GetRect().PtInRect(point))
        {
            if (rect)
                *rect = pane->GetRect();
            return pane.get();
        }
    return nullptr;
}

BOOL COSMStatusBar::SetPaneText(int index, LPCSTR text)
{
    COSMStatusBarPane* pane = GetPane(index);
    if (!pane)
        return FALSE;
    pane->SetText(text ? text : "");
    return TRUE;
}

COSMPaintManager* COSMStatusBar::GetPaintManager() const
{
    if (m_commandBars)
        return m_commandBars->GetPaintManager();
    if (!COSMPaintManager::GetGlobalPaintManager())
        COSMPaintManager::SetTheme(0);
    return COSMPaintManager::GetGlobalPaintManager();
}

COSMImageManager* COSMStatusBar::GetImageManager() const
{
    return m_commandBars ? m_commandBars->GetImageManager() : ::GetImageManager();
}

void COSMStatusBar::EnableMarkup(BOOL enable)
{
    if (enable && !m_markupContext)
    {
        m_markupContext = CreateMarkupContext(m_hWnd);
        m_ownsMarkupContext = TRUE;
    }
    else if (!enable && m_markupContext)
    {
        if (m_ownsMarkupContext)
            ReleaseMarkupContext(&m_markupContext);
        m_markupContext = nullptr;
        m_ownsMarkupContext = FALSE;
    }
    else
        return;
    for (const auto& pane : m_panes)
        pane->ParseText();
    if (m_hWnd)
        RecalcLayout();
}

void COSMStatusBar::ShowSizeGripper(BOOL show)
{
    m_sizeGripper = show;
    if (m_hWnd)
        RecalcLayout();
}

CWnd* COSMStatusBar::GetCommandTarget() const
{
    if (CFrameWnd* frame = GetDockingFrame())
        return frame;
    return GetOwner() ? GetOwner() : GetParent();
}

BOOL COSMStatusBar::IsFrameMaximized() const
{
    const HWND parent = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
    return parent && ::IsZoomed(parent);
}

int COSMStatusBar::GetGripperWidth() const
{
    return ::GetSystemMetrics(SM_CXVSCROLL) + 2 * ::GetSystemMetrics(SM_CXBORDER);
}

// ---- Layout ---------------------------------------------------------------------------------------------------------

CSize COSMStatusBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    // The font's height with the panes' margins, at least the stored minimum; the borders sit around it.
    int fontHeight = 0;
    {
        HDC dc = ::GetDC(m_hWnd);
        HGDIOBJ old = ::SelectObject(dc, GetPaintManager()->GetStatusFont().GetSafeHandle());
        TEXTMETRICA metrics{};
        ::GetTextMetricsA(dc, &metrics);
        ::SelectObject(dc, old);
        ::ReleaseDC(m_hWnd, dc);
        fontHeight = metrics.tmHeight;
    }
    const int content = std::max(m_minHeight, fontHeight + 2 * kTextMargin + kPaneTop);
    const CRect edges = GetEdgeWidths();
    CSize size(bStretch ? 32767 : 0,
               content + edges.top + edges.bottom + std::max(0, m_cyTopBorder - 2) + m_cyBottomBorder);
    if (!bHorz)
        std::swap(size.cx, size.cy);
    return size;
}

void COSMStatusBar::RecalcLayout()
{
    if (!m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    const int right = static_cast<int>(client.right) - (m_sizeGripper && !IsFrameMaximized() ? GetGripperWidth() : 0);

    std::vector<int> widths(m_panes.size(), 0);
    int used = 0;
    int stretchCount = 0;
    int visibleCount = 0;
    for (size_t i = 0; i < m_panes.size(); ++i)
    {
        COSMStatusBarPane* pane = m_panes[i].get();
        if (!pane->IsVisible())
            continue;
        ++visibleCount;
        if (pane->GetStyle() & COSMStatusBarPane::kStyleStretch)
            ++stretchCount;
        else
            widths[i] = pane->IsFixedWidth() ? pane->GetWidth() : pane->GetBestWidth();
        used += widths[i];
    }
    used += std::max(0, visibleCount - 1) * kPaneGap;
    int spare = std::max(0, right - static_cast<int>(client.left) - used);
    int x = static_cast<int>(client.left);
    for (size_t i = 0; i < m_panes.size(); ++i)
    {
        COSMStatusBarPane* pane = m_panes[i].get();
        if (!pane->IsVisible())
        {
            pane->SetRect(CRect(0, 0, 0, 0));
            continue;
        }
        int width = widths[i];
        if (pane->GetStyle() & COSMStatusBarPane::kStyleStretch)
        {
            // The first stretching pane also takes what does not divide evenly.
            width = spare / stretchCount;
            spare -= width;
            --stretchCount;
            width += stretchCount == 0 ? spare : 0;
        }
        pane->SetRect(CRect(x, client.top + kPaneTop, x + width, client.bottom));
        if (!pane->IsFixedWidth())
            pane->SetCurrentWidth(width);
        x += width + kPaneGap;
    }
    Invalidate();
}

void COSMStatusBar::OnSize(UINT nType, int cx, int cy)
{
    CControlBar::Default();
    RecalcLayout();
}

LRESULT COSMStatusBar::OnStatusNcCalcSize(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = OnNcCalcSizeMessage(wParam, lParam);
    // The border widths lie outside the panes too, the top one 2 pixels smaller.
    auto* rect = reinterpret_cast<RECT*>(lParam);
    if (wParam)
        rect = &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0];
    rect->left += m_cxLeftBorder;
    rect->top += std::max(0, m_cyTopBorder - 2);
    rect->right = std::max(rect->left, rect->right - m_cxRightBorder);
    rect->bottom = std::max(rect->top, rect->bottom - m_cyBottomBorder);
    return result;
}

// ---- Painting -------------------------------------------------------------------------------------------------------

void COSMStatusBar::DrawBar(CDC* dc)
{
    COSMPaintManager* paintManager = GetPaintManager();
    if (!paintManager)
        return;
    paintManager->FillStatusBar(dc, this);
    int lastVisible = -1;
    for (int i = 0; i < GetPaneCount(); ++i)
        if (m_panes[static_cast<size_t>(i)]->IsVisible())
            lastVisible = i;
    bool first = true;
    for (int i = 0; i < GetPaneCount(); ++i)
    {
        COSMStatusBarPane* pane = m_panes[static_cast<size_t>(i)].get();
        if (!pane->IsVisible())
            continue;
        const CRect rect = pane->GetRect();
        if (!(pane->GetStyle() & COSMStatusBarPane::kStyleNoBorders))
            paintManager->DrawStatusBarPaneBorder(dc, rect, pane, i == lastVisible);
        else if (pane->IsBeginGroup() && !first)
            paintManager->DrawStatusBarPaneSeparator(dc, rect, pane);
        pane->Draw(dc, paintManager, rect);
        first = false;
    }
    if (m_sizeGripper && !IsFrameMaximized())
    {
        CRect client;
        GetClientRect(&client);
        paintManager->DrawStatusBarGripper(dc, client);
    }
}

void COSMStatusBar::OnPaint()
{
    CPaintDC paint(this);
    COSMBufferDC buffer(paint);
    DrawBar(&buffer);
}

LRESULT COSMStatusBar::OnPrintClient(WPARAM wParam, LPARAM)
{
    if (!GetPaintManager())
        return 0;
    DrawBar(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
    return 1;
}

BOOL COSMStatusBar::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

// ---- Mouse ----------------------------------------------------------------------------------------------------------

void COSMStatusBar::OnMouseMove(UINT, CPoint point)
{
    COSMStatusBarPane* hot = nullptr;
    const COSMMouseManager* mouse = GetThreadMouseManager();
    if (!(mouse && mouse->GetTrackedCount() > 0))
        hot = HitTest(point);
    if (hot && !(hot->IsButton() && hot->IsEnabled()))
        hot = nullptr;
    if (hot != m_hotPane)
    {
        COSMStatusBarPane* old = m_hotPane;
        m_hotPane = hot;
        if (old)
        {
            old->Redraw();
            old->OnMouseMove(CPoint(-1, -1));
        }
        if (hot)
        {
            hot->Redraw();
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
            ::TrackMouseEvent(&track);
        }
    }
    if (hot)
        hot->OnMouseMove(point);
}

void COSMStatusBar::OnMouseLeave()
{
    OnMouseMove(0, CPoint(-1, -1));
}

void COSMStatusBar::OnLButtonDown(UINT, CPoint point)
{
    Default();
    if (m_hotPane)
        m_hotPane->OnLButtonDown(point);
}

void COSMStatusBar::OnLButtonDblClk(UINT, CPoint point)
{
    Default();
    if (m_hotPane)
        m_hotPane->OnLButtonDown(point);
}

void COSMStatusBar::OnRButtonUp(UINT, CPoint point)
{
    Default();
    if (!m_customization)
        return;
    OnMouseMove(0, CPoint(-1, -1));
    COSMPopupBar* popup = CreateContextMenu();
    if (!popup)
        return;
    if (popup->GetControlCount() > 0)
    {
        CPoint screen = point;
        ClientToScreen(&screen);
        COSMCommandBars::TrackPopupMenu(popup, TPM_RIGHTBUTTON, screen.x, screen.y, GetCommandTarget());
    }
    popup->InternalRelease();
}

void COSMStatusBar::OnCancelMode()
{
    // A press in progress ends without a click.
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    Default();
}

// ---- Non-client -----------------------------------------------------------------------------------------------------

LRESULT COSMStatusBar::OnNcHitTest(CPoint point)
{
    if (!m_sizeGripper || IsFrameMaximized())
        return HTCLIENT;
    CRect window;
    GetWindowRect(&window);
    const int gripper = GetGripperWidth();
    if (GetExStyle() & WS_EX_LAYOUTRTL)
    {
        if (point.x < window.left + gripper)
            return HTBOTTOMLEFT;
    }
    else if (point.x >= window.right - gripper)
        return HTBOTTOMRIGHT;
    if (point.y >= window.bottom - 3 && GetPaintManager()->GetThemeId() == kRibbonTheme && IsRibbonFrameStatusBar())
        return HTBOTTOM;
    return HTCLIENT;
}

BOOL COSMStatusBar::IsRibbonFrameStatusBar() const
{
    CWnd* parent = GetParent();
    if (!parent || !g_ribbonFrameQuery || !g_ribbonFrameStatusBarHeight)
        return FALSE;
    const LRESULT ribbonFrame = parent->SendMessage(g_ribbonFrameQuery);
    int height = 0;
    return ribbonFrame && g_ribbonFrameStatusBarHeight(ribbonFrame, &height);
}

void COSMStatusBar::OnSysCommand(UINT nID, LPARAM lParam)
{
    // Sizing from the gripper or the bottom edge sizes the frame, not the bar.
    if ((nID & 0xFFF0) == SC_SIZE && GetParent())
    {
        GetParent()->SendMessage(WM_SYSCOMMAND, nID, lParam);
        return;
    }
    Default();
}

void COSMStatusBar::OnWindowPosChanged(WINDOWPOS* pos)
{
    Default();
    // The ribbon theme draws the frame's bottom edge around the bar: it must follow when the bar comes and goes.
    if ((pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) && GetParent() &&
        GetPaintManager()->GetThemeId() == kRibbonTheme)
        GetParent()->SetWindowPos(nullptr, 0, 0, 0, 0,
                                  SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// ---- Window text ----------------------------------------------------------------------------------------------------

LRESULT COSMStatusBar::OnSetText(WPARAM, LPARAM lParam)
{
    COSMStatusBarPane* pane = FindPane(0);
    if (!pane)
        return FALSE;
    pane->SetText(lParam ? reinterpret_cast<LPCSTR>(lParam) : "");
    return TRUE;
}

LRESULT COSMStatusBar::OnGetText(WPARAM wParam, LPARAM lParam)
{
    const int size = static_cast<int>(wParam);
    auto* buffer = reinterpret_cast<char*>(lParam);
    if (size <= 0 || !buffer)
        return 0;
    const COSMStatusBarPane* pane = FindPane(0);
    const CString text = pane ? pane->GetText() : CString();
    const int copied = std::min(text.GetLength(), size - 1);
    std::memcpy(buffer, static_cast<LPCSTR>(text), static_cast<size_t>(copied));
    buffer[copied] = '\0';
    return copied;
}

LRESULT COSMStatusBar::OnGetTextLength(WPARAM, LPARAM)
{
    const COSMStatusBarPane* pane = FindPane(0);
    return pane ? pane->GetText().GetLength() : 0;
}

LRESULT COSMStatusBar::OnSetMinHeight(WPARAM wParam, LPARAM)
{
    const LRESULT result = Default();
    m_minHeight = static_cast<int>(wParam);
    return result;
}

// ---- Command UI -----------------------------------------------------------------------------------------------------

void COSMStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    for (int i = 0; i < GetPaneCount(); ++i)
    {
        COSMStatusBarPane* pane = m_panes[static_cast<size_t>(i)].get();
        auto* switches = dynamic_cast<COSMStatusBarSwitchPane*>(pane);
        // A switch pane's id names the group; its switches are the commands.
        if (pane->GetID() != 0 && !switches)
        {
            CStatusPaneCmdUI state;
            state.pane = pane;
            state.m_nID = pane->GetID();
            state.m_nIndex = static_cast<UINT>(i);
            state.DoUpdate(pTarget, bDisableIfNoHndler);
        }
        if (switches)
            for (int s = 0; s < switches->GetSwitchCount(); ++s)
            {
                CStatusPaneCmdUI state;
                state.pane = pane;
                state.item = switches->GetSwitch(s);
                state.m_nID = state.item->id;
                state.m_nIndex = static_cast<UINT>(i);
                state.DoUpdate(pTarget, bDisableIfNoHndler);
            }
    }
}
