// The panes of the status bar: text and markup, the content width, redrawing, and the presses of button panes and
// switches.
#include "framework/commandbars/StatusBar.h"

#include "classlib/DC.h"
#include "classlib/Gdi.h"
#include "framework/commandbars/ButtonPress.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/markup/Markup.h"
#include "framework/markup/MarkupUIElement.h"

COSMStatusBarPane::~COSMStatusBarPane()
{
    ReleaseMarkupElement(&m_markup);
}

CFont* COSMStatusBarPane::GetTextFont()
{
    if (m_font)
        return m_font;
    // A bar that has no window yet has chosen no paint manager: the DC's own font serves until then.
    if (m_statusBar && m_statusBar->GetSafeHwnd())
        return &m_statusBar->GetPaintManager()->GetStatusFont();
    return nullptr;
}

void COSMStatusBarPane::SetMarkupUIElement(COSMMarkupUIElement* markup)
{
    if (markup)
        markup->AddRef();
    ReleaseMarkupElement(&m_markup);
    m_markup = markup;
}

void COSMStatusBarPane::ParseText()
{
    ReleaseMarkupElement(&m_markup);
    if (m_statusBar && m_statusBar->GetMarkupContext() && !m_text.IsEmpty())
        m_markup = ParseMarkup(m_statusBar->GetMarkupContext(), m_text);
}

void COSMStatusBarPane::SetText(const CString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    ParseText();
    if (!IsVisible() || !m_statusBar || !m_statusBar->GetSafeHwnd())
        return;
    if (!m_fixedWidth && GetBestWidth() != m_width)
        m_statusBar->RecalcLayout();
    else
        Redraw();
}

void COSMStatusBarPane::SetWidth(int width)
{
    m_fixedWidth = width > 0;
    if (m_fixedWidth)
        m_width = width;
    if (m_statusBar && m_statusBar->GetSafeHwnd())
        m_statusBar->RecalcLayout();
}

void COSMStatusBarPane::SetEnabled(BOOL enabled)
{
    const DWORD style = enabled ? (m_style & ~kStyleDisabled) : (m_style | kStyleDisabled);
    if (style == m_style)
        return;
    m_style = style;
    Redraw();
}

void COSMStatusBarPane::SetVisible(BOOL visible)
{
    const BOOL hidden = !visible;
    if (hidden == m_hidden)
        return;
    m_hidden = hidden;
    if (m_statusBar && m_statusBar->GetSafeHwnd())
        m_statusBar->RecalcLayout();
}

void COSMStatusBarPane::Redraw() const
{
    if (IsVisible() && m_statusBar && m_statusBar->GetSafeHwnd())
        ::InvalidateRect(m_statusBar->GetSafeHwnd(), &m_rect, TRUE);
}

int COSMStatusBarPane::GetBestWidth()
{
    int width = 0;
    CFont* font = GetTextFont();
    if (m_markup)
    {
        if (m_statusBar && m_statusBar->GetMarkupContext())
            SetMarkupContextDefaultFont(m_statusBar->GetMarkupContext(),
                                        font ? static_cast<HFONT>(font->GetSafeHandle()) : nullptr,
                                        static_cast<COLORREF>(-1));
        width = MeasureMarkupElement(m_markup, 0x7FFFFFFF, 0x7FFFFFFF).cx;
    }
    else if (!m_text.IsEmpty())
    {
        const HWND window = m_statusBar ? m_statusBar->GetSafeHwnd() : nullptr;
        HDC dc = ::GetDC(window);
        HGDIOBJ old = font ? ::SelectObject(dc, font->GetSafeHandle()) : nullptr;
        SIZE extent{};
        ::GetTextExtentPoint32A(dc, m_text, m_text.GetLength(), &extent);
        if (old)
            ::SelectObject(dc, old);
        ::ReleaseDC(window, dc);
        width = extent.cx;
    }
    width += m_padding.left + m_padding.right;
    if (m_statusBar && GetIconId() > 0)
    {
        const CSize icon = m_statusBar->GetPaintManager()->GetStatusIconSize(m_statusBar, GetIconId());
        if (icon.cx > 0)
            width += icon.cx + (m_text.IsEmpty() ? 0 : 2);
    }
    return width;
}

void COSMStatusBarPane::Draw(CDC* dc, COSMPaintManager* paintManager, CRect rect)
{
    paintManager->DrawStatusBarPaneEntry(dc, rect, this);
}

void COSMStatusBarPane::OnMouseMove(CPoint) {}

void COSMStatusBarPane::OnLButtonDown(CPoint)
{
    if (!IsButton() || !IsEnabled() || !m_statusBar)
        return;
    COSMStatusBar* bar = m_statusBar;
    const BOOL clicked = TrackButtonPress(bar->GetSafeHwnd(), m_rect, [this](BOOL pressed) {
        m_pressed = pressed;
        Redraw();
    });
    if (clicked)
        if (CWnd* target = bar->GetCommandTarget())
            target->SendMessage(WM_COMMAND, MAKEWPARAM(m_id, 0), reinterpret_cast<LPARAM>(bar->GetSafeHwnd()));
}

COSMStatusBarSwitchPane::SWITCH* COSMStatusBarSwitchPane::GetSwitch(int index)
{
    return index >= 0 && index < GetSwitchCount() ? &m_switches[static_cast<size_t>(index)] : nullptr;
}

void COSMStatusBarSwitchPane::AddSwitch(const SWITCH& item)
{
    m_switches.push_back(item);
}

void COSMStatusBarSwitchPane::AddSwitch(UINT id)
{
    SWITCH item;
    item.id = id;
    m_switches.push_back(item);
    if (COSMStatusBar* bar = GetStatusBar(); bar && bar->GetSafeHwnd())
        bar->RecalcLayout();
}

int COSMStatusBarSwitchPane::GetBestWidth()
{
    COSMStatusBar* bar = GetStatusBar();
    return (bar ? bar->GetPaintManager()->DrawStatusBarSwitchPane(nullptr, GetRect(), this) : 0) + GetPadding().left +
           GetPadding().right;
}

CRect COSMStatusBarSwitchPane::GetSwitchRect(int index) const
{
    const CRect pane = GetRect();
    int left = pane.left + GetPadding().left;
    for (int i = 0; i < index; ++i)
        left += m_switches[static_cast<size_t>(i)].width;
    return CRect(left, pane.top, left + m_switches[static_cast<size_t>(index)].width, pane.bottom);
}

int COSMStatusBarSwitchPane::HitTestSwitch(CPoint point) const
{
    for (int i = 0; i < GetSwitchCount(); ++i)
        if (GetSwitchRect(i).PtInRect(point))
            return i;
    return -1;
}

void COSMStatusBarSwitchPane::OnMouseMove(CPoint point)
{
    const int hot = IsEnabled() ? HitTestSwitch(point) : -1;
    bool changed = false;
    for (int i = 0; i < GetSwitchCount(); ++i)
    {
        SWITCH& item = m_switches[static_cast<size_t>(i)];
        const BOOL isHot = i == hot && item.enabled;
        changed = changed || item.hot != isHot;
        item.hot = isHot;
    }
    if (changed)
        Redraw();
}

void COSMStatusBarSwitchPane::OnLButtonDown(CPoint point)
{
    const int index = HitTestSwitch(point);
    COSMStatusBar* bar = GetStatusBar();
    if (index < 0 || !bar || !IsEnabled() || !m_switches[static_cast<size_t>(index)].enabled)
        return;
    const UINT id = m_switches[static_cast<size_t>(index)].id;
    const BOOL clicked = TrackButtonPress(bar->GetSafeHwnd(), GetSwitchRect(index), [this, index](BOOL pressed) {
        m_switches[static_cast<size_t>(index)].pressed = pressed;
        Redraw();
    });
    if (clicked)
        if (CWnd* target = bar->GetCommandTarget())
            target->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), reinterpret_cast<LPARAM>(bar->GetSafeHwnd()));
}

void COSMStatusBarSwitchPane::Draw(CDC* dc, COSMPaintManager* paintManager, CRect rect)
{
    rect.left += GetPadding().left;
    paintManager->DrawStatusBarSwitchPane(dc, rect, this);
}
