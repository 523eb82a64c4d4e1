#include "framework/controls/DialogBar.h"

#include "classlib/DC.h"
#include "classlib/Gdi.h"
#include "classlib/Wnd.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/commandbars/PopupPlacement.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/DCSelectors.h"

#include <algorithm>

// Schema 0x22. The dialog bar stores the toolbar's keys and none of its own.
IMPLEMENT_SERIAL(COSMDialogBar, COSMToolBar, VERSIONABLE_SCHEMA | 0x22)

BEGIN_MESSAGE_MAP(COSMDialogBar, COSMToolBar)
    ON_WM_NCHITTEST()
    ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

const int kResizeBorder = 3;
// The caption's text keeps this far from the control's left edge, and from its right edge, or from the arrow.
const int kCaptionTextInset = 2;
const int kCaptionArrowSpace = 15;
const int kCaptionArrowInset = 9;
// The close glyph: Marlett's "r", 8 points as they measure at 96 dots per inch.
const int kCloseGlyphPoints = 8;
const int kDesignDpi = 96;

// The focus window lies in the bar: the bar itself or a window inside it.
BOOL IsInside(HWND bar, HWND window)
{
    return window && (window == bar || ::IsChild(bar, window));
}

}  // namespace

// ---- The caption popup bar ----

COSMDialogBarPopupBar::COSMDialogBarPopupBar()
{
    m_popupFlags = kPopupBelow;
}

void COSMDialogBarPopupBar::UpdateExcludeRect()
{
    COSMPopupBar::UpdateExcludeRect();
    m_popupFlags = kPopupLeftwards | kPopupBelow;
    m_popupPoint = CPoint(m_excludeRect.left, m_excludeRect.bottom);
}

// ---- The caption control ----

COSMDialogBarCaptionControl::COSMDialogBarCaptionControl()
{
    m_flags = 0x1E;
    m_id = kId;
}

BOOL COSMDialogBarCaptionControl::OnSetPopup(BOOL popup)
{
    // Without a popup nothing opens: answering that it did would leave the bar tracking an open popup that is not
    // there, and the next click would only close it.
    if (!m_hasPopup)
        return popup ? FALSE : TRUE;
    return COSMControlPopup::OnSetPopup(popup);
}

void COSMDialogBarCaptionControl::OnClick(BOOL keyboard, CPoint point)
{
    if (m_hasPopup)
        COSMControlPopup::OnClick(keyboard, point);
}

void COSMDialogBarCaptionControl::AdjustExcludeRect(CRect& rect, BOOL vertical)
{
    if (COSMPaintManager* paintManager = GetPaintManager())
        paintManager->AdjustControlRect(rect, this, FALSE);
}

void COSMDialogBarCaptionControl::Draw(CDC* dc)
{
    COSMPaintManager* paintManager = GetPaintManager();
    if (!paintManager)
        return;
    COSMFontDC font(dc, &paintManager->GetCaptionFont());
    COLORREF color = GetColorManager()->GetColor(COLOR_BTNTEXT);
    if (m_hasPopup)
    {
        paintManager->DrawControlBackground(dc, this);
        color = paintManager->GetControlTextColor(this);
    }
    const COLORREF oldColor = dc->SetTextColor(color);
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    CRect text = m_rect;
    text.left += kCaptionTextInset;
    text.right -= m_hasPopup ? kCaptionArrowSpace : kCaptionTextInset;
    const CString caption = GetCaption();
    dc->DrawText(caption, caption.GetLength(), &text, DT_VCENTER | DT_SINGLELINE);
    dc->SetBkMode(oldMode);
    dc->SetTextColor(oldColor);
    if (!m_hasPopup)
        return;

    const CPoint centre(m_rect.right - kCaptionArrowInset, m_rect.CenterPoint().y);
    const POINT arrow[3] = {{centre.x - 4, centre.y - 2}, {centre.x + 4, centre.y - 2}, {centre.x, centre.y + 2}};
    CPen pen(PS_SOLID, 1, color);
    CBrush brush(color);
    CPen* oldPen = dc->SelectObject(&pen);
    CBrush* oldBrush = dc->SelectObject(&brush);
    dc->Polygon(arrow, 3);
    dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);
}

// ---- The close control ----

COSMDialogBarCloseControl::COSMDialogBarCloseControl()
{
    m_flags = 0x1A;
    m_id = kId;
}

void COSMDialogBarCloseControl::Draw(CDC* dc)
{
    COSMPaintManager* paintManager = GetPaintManager();
    if (!paintManager)
        return;
    paintManager->DrawControlBackground(dc, this);
    const COLORREF oldColor = dc->SetTextColor(paintManager->GetControlTextColor(this));
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    // The glyph keeps its size in pixels whatever the DC's resolution.
    const int dpi = std::max(1, dc->GetDeviceCaps(LOGPIXELSY));
    LOGFONTA logFont{};
    logFont.lfHeight = -::MulDiv(::MulDiv(kCloseGlyphPoints, kDesignDpi, dpi), dpi, 72);
    logFont.lfCharSet = SYMBOL_CHARSET;
    lstrcpynA(logFont.lfFaceName, "Marlett", LF_FACESIZE);
    CFont marlett;
    marlett.CreateFontIndirect(&logFont);
    CFont* oldFont = dc->SelectObject(&marlett);
    CRect rect = m_rect;
    dc->DrawText("r", 1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc->SelectObject(oldFont);
    dc->SetBkMode(oldMode);
    dc->SetTextColor(oldColor);
}

void COSMDialogBarCloseControl::OnExecute()
{
    if (m_parent)
        m_parent->SetVisible(FALSE);
}

// ---- The bar ----

COSMDialogBar::COSMDialogBar() : m_captionPopupBar(AdoptRef(new COSMDialogBarPopupBar))
{
    m_customizable = FALSE;
}

COSMDialogBar::~COSMDialogBar() = default;

void COSMDialogBar::Copy(const COSMCommandBar* source, BOOL recursive)
{
    COSMToolBar::Copy(source, recursive);
    const auto* bar = dynamic_cast<const COSMDialogBar*>(source);
    if (!bar || bar == this)
        return;
    m_borders = bar->m_borders;
    m_resizable = bar->m_resizable;
    m_minimumSize = bar->m_minimumSize;
    m_captionVisible = bar->m_captionVisible;
    m_captionPopupAllowed = bar->m_captionPopupAllowed;
    m_dockedExtent = bar->m_dockedExtent;
    m_floatingExtent = bar->m_floatingExtent;
    m_caption = bar->m_caption;
}

COSMCommandBar* COSMDialogBar::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMDialogBar*>(GetRuntimeClass()->CreateObject());
    if (clone)
        clone->Copy(this, recursive);
    return clone;
}

// ---- Layout ----

CSize COSMDialogBar::MeasureCaption()
{
    COSMPaintManager* paintManager = GetPaintManager();
    if (!paintManager)
        return CSize(0, 0);
    CClientDC dc(GetSafeHwnd() ? this : nullptr);
    COSMFontDC font(&dc, paintManager->GetCommandBarFont(this));
    return paintManager->DrawCommandBarGripper(&dc, this, FALSE);
}

CRect COSMDialogBar::GetClientBorders() const
{
    CRect borders = m_borders;
    if (m_captionVisible && m_captionBottom > m_borders.top)
        borders.top = m_captionBottom;
    return borders;
}

CSize COSMDialogBar::CalcLayout(int length, DWORD mode, int cx, int cy)
{
    CSize size(cx + m_borders.left + m_borders.right, cy + m_borders.top + m_borders.bottom);
    auto stretch = [&] {
        if (!(mode & LM_STRETCH))
            return;
        if (mode & LM_VERTDOCK)
            size.cy = std::max<LONG>(length, size.cy);
        else
            size.cx = std::max<LONG>(length, size.cx);
    };

    COSMControl* close = m_controls->FindControlById(static_cast<int>(COSMDialogBarCloseControl::kId));
    COSMControl* caption = m_controls->FindControlById(static_cast<int>(COSMDialogBarCaptionControl::kId));
    if (!m_captionVisible)
    {
        m_captionBottom = 0;
        stretch();
        // The strip's controls go with the strip.
        for (COSMControl* control : {close, caption})
            if (control)
                control->SetHideFlags(COSMControl::kHideHidden);
        return size;
    }

    const CSize gripper = MeasureCaption();
    const int captionHeight = gripper.cy;
    m_captionBottom = m_borders.top + captionHeight;
    size.cy += captionHeight;
    stretch();
    if (mode & LM_HORZ)
        size.cx = std::min<LONG>(length, size.cx);
    else
        size.cy = std::min<LONG>(length, size.cy);

    const int buttonTop = m_borders.top + captionHeight / 2 - kCaptionButtonSize / 2;
    int x = size.cx - m_borders.right;
    if (!close && m_closeable)
        close = m_controls->AddControl(new COSMDialogBarCloseControl, static_cast<int>(COSMDialogBarCloseControl::kId),
                                       nullptr, -1, TRUE);
    if (close && !m_closeable)
    {
        close->SetHideFlags(COSMControl::kHideHidden);
        close->SetRect(CRect());
    }
    else if (close)
    {
        close->SetHideFlags(0);
        close->SetRect(CRect(x - kCaptionButtonSize, buttonTop, x, buttonTop + kCaptionButtonSize));
        x -= kCaptionButtonSize;
    }

    if (!caption)
    {
        auto* made = new COSMDialogBarCaptionControl;
        made->SetCommandBar(m_captionPopupBar.Get());
        caption = m_controls->AddControl(made, static_cast<int>(COSMDialogBarCaptionControl::kId), nullptr, -1, TRUE);
    }
    if (auto* captionControl = dynamic_cast<COSMDialogBarCaptionControl*>(caption))
    {
        if (!m_captionPopupBar->GetCommandBarsField())
            m_captionPopupBar->SetCommandBars(GetCommandBars());
        captionControl->SetHasPopup(m_captionPopupAllowed && m_captionPopupBar->GetControlCount() > 0);
        captionControl->SetHideFlags(0);
        captionControl->SetRect(CRect(m_borders.left + gripper.cx, buttonTop,
                                      std::max<int>(x, m_borders.left + gripper.cx), buttonTop + kCaptionButtonSize));
        captionControl->SetCaption(m_caption.IsEmpty() ? m_title : m_caption);
    }
    return size;
}

CSize COSMDialogBar::CalcDynamicLayout(int length, DWORD mode)
{
    return CalcLayout(32000, mode, m_floatingExtent.cx, m_floatingExtent.cy);
}

CSize COSMDialogBar::CalcDockingLayout(int length, DWORD mode, int minWidth)
{
    return CalcLayout(length, mode, m_dockedExtent.cx, m_dockedExtent.cy);
}

void COSMDialogBar::LayoutChanged()
{
    InvalidateLayoutCache();
    if (GetSafeHwnd() && IsVisible())
        OnRecalcLayout();
}

void COSMDialogBar::Resize(CRect rect, int hitCode)
{
    if (rect.Width() < m_minimumSize.cx || rect.Height() < m_minimumSize.cy)
        return;
    const CRect borders = GetClientBorders();
    const CSize client(rect.Width() - borders.left - borders.right, rect.Height() - borders.top - borders.bottom);
    if (!IsFloating())
    {
        if (hitCode == HTLEFT || hitCode == HTRIGHT)
            m_dockedExtent.cx = client.cx;
        else
            m_dockedExtent.cy = client.cy;
        InvalidateLayoutCache();
        OnRecalcLayout();
        return;
    }
    m_floatingExtent = client;
    CalcDynamicLayout(0, LM_COMMIT | LM_HORZ);
    if (GetSafeHwnd())
        MoveWindow(&rect, TRUE);
    Redraw(nullptr, TRUE);
}

// ---- Setters ----

void COSMDialogBar::SetChild(HWND child)
{
    m_child = child;
    if (!m_child || !GetSafeHwnd())
        return;
    CRect client;
    GetClientRect(&client);
    PlaceChild(client.Width(), client.Height());
}

void COSMDialogBar::SetCaption(const CString& caption)
{
    m_caption = caption;
    LayoutChanged();
}

void COSMDialogBar::SetCaptionVisible(BOOL visible)
{
    m_captionVisible = visible ? TRUE : FALSE;
    LayoutChanged();
}

void COSMDialogBar::SetCaptionPopupAllowed(BOOL allowed)
{
    m_captionPopupAllowed = allowed ? TRUE : FALSE;
    LayoutChanged();
}

void COSMDialogBar::SetBorderSizes(const CRect& borders)
{
    m_borders = borders;
    LayoutChanged();
}

void COSMDialogBar::SetDockedExtent(CSize extent)
{
    m_dockedExtent = extent;
    LayoutChanged();
}

void COSMDialogBar::SetFloatingExtent(CSize extent)
{
    m_floatingExtent = extent;
    LayoutChanged();
}

// ---- The window ----

BOOL COSMDialogBar::IsPointInWindow(CPoint point) const
{
    if (GetSafeHwnd())
    {
        CRect strip;
        ::GetWindowRect(m_hWnd, &strip);
        strip.bottom = std::min<LONG>(strip.bottom, strip.top + m_captionBottom);
        if (strip.PtInRect(point))
            return TRUE;
    }
    return kPointLeftToWindows;
}

LRESULT COSMDialogBar::OnNcHitTest(CPoint point)
{
    if (!m_resizable)
        return COSMToolBar::OnNcHitTest(point);
    CRect rect;
    GetWindowRect(&rect);
    rect.InflateRect(-kResizeBorder, -kResizeBorder);
    const BOOL above = point.y < rect.top;
    const BOOL below = point.y >= rect.bottom;
    const BOOL left = point.x < rect.left;
    const BOOL right = point.x >= rect.right;
    const int position = m_position;

    if (position == kPositionFloating)
    {
        if (above)
            return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
        if (below)
            return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
        if (left)
            return HTLEFT;
        if (right)
            return HTRIGHT;
        return COSMToolBar::OnNcHitTest(point);
    }

    const BOOL fullRow = (m_flags & kFlagFullRow) != 0;
    const BOOL sideways = position == 2 || position == 3 || position == kPositionPopup;
    if (position == 1)
    {
        if (above)
            return HTTOP;
    }
    else if (below && !(fullRow && sideways))
    {
        return HTBOTTOM;
    }
    if (position == 3)
        return left ? HTLEFT : COSMToolBar::OnNcHitTest(point);
    if (right && (!fullRow || position == 2 || position == kPositionPopup))
        return HTRIGHT;
    return COSMToolBar::OnNcHitTest(point);
}

void COSMDialogBar::OnSize(UINT type, int cx, int cy)
{
    Default();
    PlaceChild(cx, cy);
}

void COSMDialogBar::PlaceChild(int cx, int cy)
{
    if (!m_child || !::IsWindow(m_child) || !GetSafeHwnd())
        return;
    if (::GetParent(m_child) != m_hWnd)
        ::SetParent(m_child, m_hWnd);
    const CRect borders = GetClientBorders();
    ::SetWindowPos(m_child, nullptr, borders.left, borders.top, cx - borders.right - borders.left,
                   cy - borders.bottom - borders.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(m_child, nullptr, FALSE);
}

LRESULT COSMDialogBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam)
{
    if (GetSafeHwnd())
    {
        HWND focus = ::GetFocus();
        BOOL active = IsInside(m_hWnd, focus);
        if (!active && focus)
        {
            HWND owner = ::GetWindow(focus, GW_OWNER);
            active = IsInside(m_hWnd, owner ? owner : ::GetParent(focus));
        }
        if (active != m_active)
        {
            m_active = active;
            Redraw(nullptr, TRUE);
        }
    }
    return COSMToolBar::OnIdleUpdateCmdUI(wParam, lParam);
}
