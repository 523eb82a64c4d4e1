// The surfaces every theme shares unless it draws its own: the status bar and its panes, the message bar, the
// dock bar, the MDI workspace and keyboard tips.
#include "classlib/CString.h"
#include "classlib/DC.h"
#include "classlib/Gdi.h"
#include "classlib/Geometry.h"
#include "framework/commandbars/PaintManager.h"

#include "framework/foundation/ImageManager.h"

#include "framework/commandbars/CommandBarKeyboardTip.h"
#include "framework/commandbars/DockBar.h"
#include "framework/commandbars/MessageBar.h"
#include "framework/commandbars/StatusBar.h"
#include "framework/markup/Markup.h"

namespace {

CRect ClientRect(HWND window)
{
    CRect rect;
    ::GetClientRect(window, &rect);
    return rect;
}

}  // namespace

namespace {

COSMImageManagerIcon* FindStatusIcon(COSMImageManager* images, int iconId)
{
    return iconId > 0 && images ? images->GetImage(static_cast<UINT>(iconId), 0) : nullptr;
}

}  // namespace

CSize COSMPaintManager::GetStatusIconSize(COSMStatusBar* bar, int iconId)
{
    const COSMImageManagerIcon* icon = FindStatusIcon(bar ? bar->GetImageManager() : GetImageManager(), iconId);
    return icon ? icon->GetExtent() : CSize(0, 0);
}

void COSMPaintManager::DrawStatusIcon(CDC* dc, COSMStatusBar* bar, int iconId, CPoint point, int state)
{
    if (COSMImageManagerIcon* icon = FindStatusIcon(bar ? bar->GetImageManager() : GetImageManager(), iconId))
        icon->Draw(dc, point, icon->GetImageForState(state));
}

BOOL COSMPaintManager::IsStatusBarThemed()
{
    // A STATUS class that failed to open would draw nothing at all.
    return m_themedStatusBar && m_statusTheme.IsOpen() && m_statusTheme.IsAppThemed();
}

void COSMPaintManager::FillStatusBar(CDC* dc, COSMStatusBar* bar)
{
    const CRect client = ClientRect(bar->GetSafeHwnd());
    if (IsStatusBarThemed())
        m_statusTheme.DrawThemeBackground(dc->GetSafeHdc(), 0, 0, &client, nullptr);
    else
        dc->FillSolidRect(client, GetColor(COLOR_BTNFACE));
}

void COSMPaintManager::DrawStatusBarGripper(CDC* dc, CRect client)
{
    if (IsStatusBarThemed())
    {
        const CRect gripper(client.right - 18, client.top, client.right, client.bottom);
        m_statusTheme.DrawThemeBackground(dc->GetSafeHdc(), 3, 0, &gripper, nullptr);
        return;
    }
    const int w = client.Width();
    const int h = client.Height();
    const CPoint origin = client.TopLeft();
    auto line = [&](int x0, int y0, int x1, int y1) {
        DrawLine(dc, origin.x + x0, origin.y + y0, origin.x + x1, origin.y + y1);
    };
    // Three diagonal ridges, dark with a light edge.
    CPen dark(PS_SOLID, 1, GetColor(COLOR_BTNSHADOW));
    CPen* old = dc->SelectObject(&dark);
    for (int i = 0; i < 3; ++i)
    {
        line(w - 3 - 4 * i, h - 2, w - 1, h - 4 - 4 * i);
        line(w - 4 - 4 * i, h - 2, w - 1, h - 5 - 4 * i);
    }
    CPen light(PS_SOLID, 1, GetColor(COLOR_BTNHIGHLIGHT));
    dc->SelectObject(&light);
    for (int i = 0; i < 3; ++i)
        line(w - 5 - 4 * i, h - 2, w - 1, h - 6 - 4 * i);
    dc->SelectObject(old);
}

void COSMPaintManager::DrawStatusBarPaneBorder(CDC* dc, CRect rect, COSMStatusBarPane* pane, BOOL gripperPane)
{
    if (IsStatusBarThemed())
    {
        m_statusTheme.DrawThemeBackground(dc->GetSafeHdc(), gripperPane ? 2 : 1, 0, &rect, nullptr);
        return;
    }
    // A clickable pane draws its own face.
    if (pane->IsButton())
        return;
    dc->Draw3dRect(rect, GetColor(COLOR_BTNSHADOW), GetColor(COLOR_BTNHIGHLIGHT));
}

void COSMPaintManager::DrawStatusBarPaneSeparator(CDC* dc, CRect rect, COSMStatusBarPane* pane)
{
    dc->Draw3dRect(CRect(rect.left - 2, rect.top, rect.left, rect.bottom), GetColor(COLOR_BTNSHADOW),
                   GetColor(COLOR_BTNHIGHLIGHT));
}

void COSMPaintManager::DrawStatusBarPaneButton(CDC* dc, CRect rect, COSMStatusBarPane* pane)
{
    const COSMStatusBar* bar = pane->GetStatusBar();
    const BOOL hot = bar && bar->GetHotPane() == pane;
    if (!hot && !pane->IsPressed() && !pane->HasPopoutStyle())
        return;
    DrawStateRectangle(dc, rect, hot, pane->IsPressed(), TRUE, pane->HasPopoutStyle(), FALSE, 1, 1);
}

void COSMPaintManager::DrawStatusBarPaneEntry(CDC* dc, CRect rect, COSMStatusBarPane* pane)
{
    COSMStatusBar* bar = pane->GetStatusBar();
    const BOOL enabled = pane->IsEnabled();
    const BOOL showText = enabled || (bar && bar->IsDrawDisabledText());

    if (pane->GetBackgroundColor() != COSMPaintManagerColor::kNone)
    {
        if (!(pane->GetStyle() & COSMStatusBarPane::kStyleFillWhole))
            rect.DeflateRect(1, 1);
        dc->FillSolidRect(rect, pane->GetBackgroundColor());
    }
    const BOOL button = pane->IsButton();
    if (button)
        DrawStatusBarPaneButton(dc, rect, pane);

    CFont* font = pane->GetTextFont();
    CFont* oldFont = font ? dc->SelectObject(font) : nullptr;
    const CRect padding = pane->GetPadding();
    rect.left += padding.left;
    rect.top += padding.top;
    rect.right -= padding.right;
    rect.bottom -= padding.bottom;
    const CString& text = pane->GetText();
    COSMMarkupUIElement* markup = pane->GetMarkupUIElement();

    const BOOL hot = bar && bar->GetHotPane() == pane;
    COLORREF textColor = button && (hot || pane->IsPressed())
                             ? GetStateTextColor(hot, pane->IsPressed(), TRUE, FALSE, FALSE, 1, 1)
                             : m_statusBarTextColor;
    if (!enabled)
        textColor = GetColor(COLOR_GRAYTEXT);
    else if (pane->GetTextColor() != COSMPaintManagerColor::kNone)
        textColor = pane->GetTextColor();
    dc->SetTextColor(textColor);
    if (bar && bar->GetMarkupContext())
        SetMarkupContextDefaultFont(bar->GetMarkupContext(),
                                    static_cast<HFONT>(::GetCurrentObject(dc->GetSafeHdc(), OBJ_FONT)), textColor);

    int textWidth = 0;
    if (markup)
        textWidth = MeasureMarkupElement(markup, 0x7FFFFFFF, 0x7FFFFFFF).cx;
    else if (!text.IsEmpty())
    {
        SIZE extent = {0, 0};
        ::GetTextExtentPoint32A(dc->GetSafeHdc(), text, text.GetLength(), &extent);
        textWidth = extent.cx;
    }
    const CSize icon = GetStatusIconSize(bar, pane->GetIconId());
    int width = textWidth;
    if (icon.cx > 0)
        width += icon.cx + (textWidth >= 1 ? 2 : 0);
    if (width < rect.Width())
    {
        if (pane->GetTextAlignment() == 2)
            rect.left = rect.right - width;
        else if (pane->GetTextAlignment() == 1)
            rect.left = (rect.left + rect.right - width) / 2;
    }
    if (icon.cx > 0 && rect.left + icon.cx <= rect.right)
    {
        DrawStatusIcon(dc, bar, pane->GetIconId(), CPoint(rect.left, (rect.top + rect.bottom - icon.cy) / 2),
                       enabled ? 0 : 1);
        rect.left += icon.cx + 2;
    }
    if (showText)
    {
        if (markup)
            RenderMarkupElement(markup, dc->GetSafeHdc(), &rect);
        else
        {
            const int oldMode = dc->SetBkMode(TRANSPARENT);
            dc->DrawText(text, text.GetLength(), &rect, DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS | DT_NOPREFIX);
            dc->SetBkMode(oldMode);
        }
    }
    if (oldFont)
        dc->SelectObject(oldFont);
}

int COSMPaintManager::DrawStatusBarSwitchPane(CDC* dc, CRect rect, COSMStatusBarSwitchPane* pane)
{
    if (!dc)
    {
        int total = 0;
        for (int i = 0; i < pane->GetSwitchCount(); ++i)
        {
            pane->GetSwitch(i)->width = 18;
            total += 18;
        }
        return total;
    }
    int left = rect.left;
    for (int i = 0; i < pane->GetSwitchCount(); ++i)
    {
        const COSMStatusBarSwitchPane::SWITCH* item = pane->GetSwitch(i);
        const CRect face(left, rect.top, left + item->width, rect.bottom);
        DrawStateRectangle(dc, face, pane->IsEnabled() && item->hot, item->pressed, item->enabled, item->checked, FALSE,
                           1, 0);
        const CSize icon = GetStatusIconSize(pane->GetStatusBar(), static_cast<int>(item->id));
        if (icon.cx > 0)
        {
            const int state = item->hot ? (item->checked ? 3 : 0) : 1;
            DrawStatusIcon(dc, pane->GetStatusBar(), static_cast<int>(item->id),
                           CPoint(face.left + (face.Width() - icon.cx) / 2, face.top + (face.Height() - icon.cy) / 2),
                           state);
        }
        left += item->width;
    }
    return 0;
}

void COSMPaintManager::FillDockBar(CDC* dc, COSMDockBar* bar)
{
    dc->FillSolidRect(ClientRect(bar->GetSafeHwnd()), GetColor(COLOR_BTNFACE));
}

void COSMPaintManager::FillMessageBar(CDC* dc, COSMMessageBar* bar)
{
    dc->FillSolidRect(ClientRect(bar->GetSafeHwnd()), GetColor(COLOR_BTNFACE));
    CRect inner;
    COSMMessageBar::GetInnerRect(bar, &inner);
    dc->Draw3dRect(inner, GetColor(COLOR_BTNSHADOW), GetColor(COLOR_BTNSHADOW));
    inner.DeflateRect(1, 1);
    dc->FillSolidRect(inner, GetColor(COLOR_INFOBK));
}

void COSMPaintManager::DrawMessageBarButton(CDC* dc, COSMMessageBarButton* button)
{
    const BOOL close = button->id == SC_CLOSE;
    const CRect rect = button->rect;
    if (button->pressed || button->hot)
    {
        dc->FillSolidRect(rect, GetColor(COLOR_BTNFACE));
        DrawStateRectangle(dc, rect, button->hot, button->pressed, TRUE, FALSE, FALSE, 1, 0);
    }
    else if (!close)
    {
        dc->FillSolidRect(rect, GetColor(COLOR_BTNFACE));
        dc->Draw3dRect(rect, GetColor(COLOR_BTNSHADOW), GetColor(COLOR_BTNSHADOW));
    }
    if (close)
    {
        const CPoint c = rect.CenterPoint();
        DrawLine(dc, c.x - 4, c.y - 3, c.x + 3, c.y + 4);
        DrawLine(dc, c.x - 3, c.y - 3, c.x + 4, c.y + 4);
        DrawLine(dc, c.x - 4, c.y + 3, c.x + 3, c.y - 4);
        DrawLine(dc, c.x - 3, c.y + 3, c.x + 4, c.y - 4);
    }
}

void COSMPaintManager::FillWorkspace(CDC* dc, CRect rect, CRect exclude)
{
    dc->FillSolidRect(rect, GetColor(COLOR_APPWORKSPACE));
}

void COSMPaintManager::DrawKeyboardTip(CDC* dc, COSMCommandBarKeyboardTip* tip, BOOL measure)
{
    if (measure)
        return;
    CRect client = ClientRect(tip->GetSafeHwnd());
    CFont* oldFont = dc->SelectObject(&GetKeyboardTipFont());
    dc->FillSolidRect(client, GetColor(COLOR_INFOBK));
    const COLORREF frame = ::GetSysColor(COLOR_BTNSHADOW);
    dc->Draw3dRect(client, frame, frame);
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(GetColor(tip->IsEnabled() ? COLOR_INFOTEXT : COLOR_GRAYTEXT));
    const CString& text = tip->GetText();
    dc->DrawText(text, text.GetLength(), &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc->SetBkMode(oldMode);
    dc->SelectObject(oldFont);
}
