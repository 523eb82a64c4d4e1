// The Native XP look's bars: backgrounds of bars and dock bars (one rebar background across the top dock bar and the
// bars in it), popup frames, grippers, separators and control rectangles.
#include "framework/themes/NativeXPTheme.h"

#include "classlib/DC.h"
#include "classlib/Wnd.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/Control.h"
#include "framework/commandbars/DockBar.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/foundation/WindowRects.h"

#include <algorithm>

// ---- Backgrounds ----

void COSMNativeXPTheme::FillRebarBackground(CDC* dc, HWND target, HWND reference)
{
    const COSMClientRect client(target);
    if (!IsStyled())
    {
        FillFramedRect(dc, client, kFace, kFace);
        return;
    }
    CRect area = COSMWindowRect(reference);
    ::MapWindowPoints(nullptr, target, reinterpret_cast<POINT*>(&area), 2);
    m_rebarTheme.DrawThemeBackground(dc->GetSafeHdc(), kXPRebarBackground, 0, &area, &client);
}

void COSMNativeXPTheme::FillCommandBar(CDC* dc, COSMCommandBar* bar)
{
    if (!IsStyled())
    {
        COSMDefaultTheme::FillCommandBar(dc, bar);
        return;
    }
    const HWND window = bar->GetSafeHwnd();
    CRect client = COSMClientRect(window);
    const HDC hdc = dc->GetSafeHdc();
    const int position = bar->GetPosition();
    if (position == 5)
    {
        // A style whose menu borders fail to draw leaves the popup to the classic frame.
        if (IsThemed(m_menuTheme) &&
            SUCCEEDED(m_menuTheme.DrawThemeBackground(hdc, kXPMenuPopupBorders, 0, &client, nullptr)))
        {
            CRect inside = client;
            inside.DeflateRect(3, 3);
            m_menuTheme.DrawThemeBackground(hdc, kXPMenuPopupBackground, 0, &inside, nullptr);
        }
        else if (!FlatMenus)
        {
            FillFramedRect(dc, client, kXPMenuColor, kXPMenuColor);
            Draw3dRectIndexed(dc, client, kFace, kDarkShadow);
            client.DeflateRect(1, 1);
            DrawRaisedFrame(dc, client);
        }
        else
        {
            FillFramedRect(dc, client, kShadow, kXPMenuColor);
        }
        return;
    }
    if (position == 4)
    {
        if (bar->IsDialogBar())
        {
            COSMDefaultTheme::FillCommandBar(dc, bar);
            return;
        }
        if (bar->GetType() == 2)
        {
            FillFramedRect(dc, client, kXPMenuColor, kXPMenuColor);
        }
        else
        {
            FillFramedRect(dc, client, kFace, kFace);
            m_toolBarTheme.DrawThemeBackground(hdc, kXPToolBarBackground, 0, &client, nullptr);
        }
        const CRect left(client.left, client.top, client.left + 3, client.bottom);
        const CRect right(client.right - 3, client.top, client.right, client.bottom);
        const CRect bottom(client.left, client.bottom - 3, client.right, client.bottom);
        m_windowTheme.DrawThemeBackground(hdc, kXPWindowFrameLeft, 1, &left, nullptr);
        m_windowTheme.DrawThemeBackground(hdc, kXPWindowFrameRight, 1, &right, nullptr);
        m_windowTheme.DrawThemeBackground(hdc, kXPWindowFrameBottom, 1, &bottom, nullptr);
        return;
    }
    if (position == 0)
    {
        const HWND parent = ::GetParent(window);
        FillRebarBackground(dc, window, parent ? parent : window);
    }
    else
    {
        FillFramedRect(dc, client, kFace, kFace);
    }
    m_rebarTheme.DrawThemeBackground(hdc, kXPRebarBand, 0, &client, nullptr);
    if (!IsFlatToolBar(bar))
        dc->Draw3dRect(client, m_bandEdgeHighlightColor, m_bandEdgeShadowColor);
}

void COSMNativeXPTheme::FillDockBar(CDC* dc, COSMDockBar* bar)
{
    const HWND window = bar->GetSafeHwnd();
    if (bar->GetPosition() == 0)
        FillRebarBackground(dc, window, window);
    else
        FillFramedRect(dc, COSMClientRect(window), kFace, kFace);
}

// ---- Grippers ----

CSize COSMNativeXPTheme::DrawCommandBarGripper(CDC* dc, COSMCommandBar* bar, BOOL draw)
{
    if (!IsStyled())
        return COSMDefaultTheme::DrawCommandBarGripper(dc, bar, draw);
    if (bar->IsDialogBar())
        return DrawDialogBarGripper(dc, bar, draw);
    const CRect client = COSMClientRect(bar->GetSafeHwnd());
    const int position = bar->GetPosition();
    if (position == 5 && bar->GetType() == 2 && IsThemed(m_menuTheme))
    {
        if (draw && dc)
        {
            CRect column = client;
            column.DeflateRect(3, 3);
            column.right = column.left + GetPopupBarGripperWidth(bar);
            m_menuTheme.DrawThemeBackground(dc->GetSafeHdc(), kXPMenuPopupGutter, 0, &column, nullptr);
        }
        return CSize(0, 0);
    }
    if (position == 4)
        return DrawFloatingCaption(dc, bar, draw);
    if (position == 2 || position == 3)
    {
        if (draw && dc)
        {
            const CRect gripper(client.left, client.top + 2, client.right, client.top + 8);
            m_rebarTheme.DrawThemeBackground(dc->GetSafeHdc(), kXPRebarGripperVert, 1, &gripper, nullptr);
        }
        return CSize(0, 8);
    }
    if (position == 0 || position == 1)
    {
        if (draw && dc)
        {
            const CRect gripper(client.left + 2, client.top, client.left + 8, client.bottom);
            m_rebarTheme.DrawThemeBackground(dc->GetSafeHdc(), kXPRebarGripper, 1, &gripper, nullptr);
        }
        return CSize(8, 0);
    }
    return CSize(0, 0);
}

CSize COSMNativeXPTheme::DrawFloatingCaption(CDC* dc, COSMCommandBar* bar, BOOL draw)
{
    if (!dc)
        return CSize(0, 0);
    // A style without small captions would leave the strip bare: the Default look's caption stands in.
    if (!IsThemed(m_windowTheme))
        return COSMDefaultTheme::DrawCommandBarGripper(dc, bar, draw);
    const CRect client = COSMClientRect(bar->GetSafeHwnd());
    COSMFontDC font(dc, &GetCaptionFont());
    const int height = std::max<int>(dc->GetTextExtent(" ", 1).cy, 15);
    const CRect caption(0, 0, client.right, height + 3);
    if (draw)
    {
        m_windowTheme.DrawThemeBackground(dc->GetSafeHdc(), kXPWindowSmallCaption, 1, &caption, nullptr);
        const int oldMode = dc->SetBkMode(TRANSPARENT);
        const COLORREF oldColor = dc->SetTextColor(GetFloatingCaptionTextColor().GetEffective());
        // The strip on the right is left for the bar's caption buttons.
        CRect text(5, 3, client.right + 3 - 2 * (height + 3), caption.bottom);
        const CString& title = bar->GetTitle();
        dc->DrawText(title, title.GetLength(), &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        dc->SetTextColor(oldColor);
        dc->SetBkMode(oldMode);
    }
    return CSize(client.Width(), height);
}

CSize COSMNativeXPTheme::DrawDialogBarGripper(CDC* dc, COSMCommandBar* bar, BOOL draw)
{
    if (!IsStyled())
        return COSMDefaultTheme::DrawDialogBarGripper(dc, bar, draw);
    const int height = std::max(GetRawControlHeight() + 4, 22);
    if (draw && dc)
    {
        const CRect gripper(2, 3, 8, height);
        m_rebarTheme.DrawThemeBackground(dc->GetSafeHdc(), kXPRebarGripper, 1, &gripper, nullptr);
    }
    return CSize(8, height);
}

// ---- Separators and control rectangles ----

CSize COSMNativeXPTheme::DrawCommandBarSeparator(CDC* dc, COSMCommandBar* bar, COSMControl* control, BOOL draw)
{
    // Measuring (the layouts measure without a control) and every case below leaves out are the Default look's.
    if (!draw || !control || !IsStyled())
        return COSMDefaultTheme::DrawCommandBarSeparator(dc, bar, control, draw);
    const CRect rect = control->GetRect();
    const CRect row = control->GetRowRect();
    const BOOL wrap = control->GetWrap();
    const int position = bar->GetPosition();
    const HDC hdc = dc->GetSafeHdc();
    if (bar->GetType() != 2)
    {
        if (position == 2 || position == 3)
        {
            const CRect line = wrap ? CRect(row.right, row.top + 4, row.right + 5, row.bottom)
                                    : CRect(row.left, rect.top - 6, row.right, rect.top);
            m_toolBarTheme.DrawThemeBackground(hdc, wrap ? kXPToolBarSeparator : kXPToolBarSeparatorVert, 0, &line,
                                               nullptr);
            return CSize(0, 0);
        }
        if (position != 5)
        {
            const CRect line = wrap ? CRect(row.left + 4, row.top - 5, row.right, row.top)
                                    : CRect(rect.left - 6, row.top, rect.left, row.bottom);
            m_toolBarTheme.DrawThemeBackground(hdc, wrap ? kXPToolBarSeparatorVert : kXPToolBarSeparator, 0, &line,
                                               nullptr);
            return CSize(0, 0);
        }
    }
    else if (position == 5 && IsThemed(m_menuTheme) && !wrap)
    {
        COSMCommandBar* owner = control->GetParent() ? control->GetParent() : bar;
        const CRect line(rect.left + GetPopupBarGripperWidth(owner), rect.top - 8, rect.right, rect.top - 2);
        m_menuTheme.DrawThemeBackground(hdc, kXPMenuPopupSeparator, 0, &line, nullptr);
        return CSize(0, 0);
    }
    return COSMDefaultTheme::DrawCommandBarSeparator(dc, bar, control, draw);
}

void COSMNativeXPTheme::AdjustControlRect(CRect& rect, COSMControl* control, BOOL vertical)
{
    if (!IsStyled())
    {
        COSMDefaultTheme::AdjustControlRect(rect, control, vertical);
        return;
    }
    COSMCommandBar* bar = control->GetParent();
    if (bar && control->GetType() != 5 && bar->GetType() == 2)
    {
        rect.DeflateRect(3, 0);
        rect.InflateRect(0, 3);
    }
}
