// The Office 2003 look's states and bar parts: state rectangles in the schemes' warm gradients, bar borders, dotted
// grippers (docked, dialog bar, tear-off), separators, the toolbar's and the popup's expand buttons, the popup
// gripper column and the status bar's gripper and pane borders.
#include "framework/themes/Office2003Theme.h"

#include "classlib/DC.h"
#include "classlib/Gdi.h"
#include "classlib/ScopedHandle.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/Control.h"
#include "framework/controls/DialogBar.h"

#include <algorithm>

namespace {

BOOL IsOffice2003KeyboardSelection(int value)
{
    return value == 2 || value == 3;
}

CRect Office2003BarClient(COSMCommandBar* bar)
{
    CRect client(0, 0, 0, 0);
    if (bar && bar->GetSafeHwnd())
        ::GetClientRect(bar->GetSafeHwnd(), &client);
    return client;
}

}  // namespace

// ---- States ----

void COSMOffice2003Theme::DrawStateRectangle(CDC* dc, CRect rect, BOOL selected, BOOL pressed, BOOL enabled,
                                             BOOL checked, BOOL popped, int barType, int barPosition)
{
    if (popped)
    {
        FillGradientFramed(dc, rect, PoppedGradient, FALSE, kPopupBorder);
        return;
    }
    if (!LunaColors || barType == 2 || barPosition < 0 || barPosition > 4)
    {
        COSMOfficeTheme::DrawStateRectangle(dc, rect, selected, pressed, enabled, checked, FALSE, barType, barPosition);
        return;
    }
    const BOOL horizontal = barPosition == 2 || barPosition == 3 || barPosition == 5;
    auto paint = [&](const COSMPaintManagerColorGradient& gradient, int frame) {
        FillGradientFramed(dc, rect, gradient, horizontal, frame);
    };
    if (!enabled)
    {
        if (IsOffice2003KeyboardSelection(selected))
            paint(checked ? PushedGradient : HighlightGradient, kPressedFrame);
        else if (checked)
            paint(CheckedGradient, kDisabledCheckedFrame);
        return;
    }
    if (checked == 2 && !selected && !pressed)
        FillFramedRect(dc, rect, kPressedFrame, kThirdStateFill);
    else if (checked && !selected && !pressed)
        paint(CheckedGradient, kCheckedFrame);
    else if (checked && selected && !pressed)
        paint(PushedGradient, kPressedFrame);
    else if (IsOffice2003KeyboardSelection(pressed) || (selected && pressed))
        paint(PushedGradient, kPressedFrame);
    else if (selected || pressed)
        paint(HighlightGradient, kHotFrame);
}

// ---- Borders and grippers ----

CRect COSMOffice2003Theme::GetCommandBarBorders(COSMCommandBar* bar)
{
    const int position = bar->GetPosition();
    if (position == 0 || position == 1)
        return CRect(4, 2, 2, 2);
    return COSMOfficeTheme::GetCommandBarBorders(bar);
}

CSize COSMOffice2003Theme::DrawCommandBarGripper(CDC* dc, COSMCommandBar* bar, BOOL draw)
{
    if (bar->IsDialogBar())
        return DrawDialogBarGripper(dc, bar, draw);
    const int position = bar->GetPosition();
    if ((position == 5 && bar->GetType() == 2) || position == 4)
        return COSMOfficeTheme::DrawCommandBarGripper(dc, bar, draw);
    const CRect client = Office2003BarClient(bar);
    // A grip dot: the light square one pixel down and right, the dark one over it.
    auto dot = [&](int x, int y) {
        FillFramedRect(dc, CRect(x + 1, y + 1, x + 3, y + 3), COLOR_WINDOW, COLOR_WINDOW);
        FillFramedRect(dc, CRect(x, y, x + 2, y + 2), kGripperLines, kGripperLines);
    };
    if (position == 0 || position == 1)
    {
        if (!draw)
            return CSize(6, 0);
        for (int y = 5; y < client.Height() - 7; y += 4)
            dot(6, y);
        return CSize(0, 0);
    }
    if (position == 2 || position == 3)
    {
        if (!draw)
            return CSize(0, 9);
        for (int x = 5; x < client.Width() - 7; x += 4)
            dot(x, 6);
        return CSize(0, 0);
    }
    return CSize(0, 0);
}

CSize COSMOffice2003Theme::DrawDialogBarGripper(CDC* dc, COSMCommandBar* bar, BOOL draw)
{
    const CSize size(8, std::max(GetRawControlHeight() + 6, 25));
    if (!draw)
        return size;
    CRect rect = Office2003BarClient(bar);
    rect.DeflateRect(3, 3);
    rect.bottom = rect.top + size.cy;
    // The caption shows the bar's activity: it turns to the checked colours while the focus is inside the bar.
    const auto* dialogBar = dynamic_cast<const COSMDialogBar*>(bar);
    if (dialogBar && dialogBar->IsActive())
    {
        if (LunaColors)
            FillGradient(dc, rect, CheckedGradient, FALSE);
        else
            FillFramedRect(dc, rect, -1, kCheckedFill);
    }
    else
    {
        FillGradient(dc, rect, ToolbarGradient, FALSE);
    }
    for (int y = rect.top + 4; y < rect.bottom - 5; y += 4)
    {
        FillFramedRect(dc, CRect(6, y + 1, 8, y + 3), COLOR_WINDOW, COLOR_WINDOW);
        FillFramedRect(dc, CRect(5, y, 7, y + 2), kGripperLines, kGripperLines);
    }
    return size;
}

CSize COSMOffice2003Theme::DrawTearOffGripper(CDC* dc, CRect rect, BOOL selected, BOOL draw)
{
    if (!draw)
        return CSize(0, 9);
    CRect band(1, 1, rect.right + 1, rect.Height() + 1);
    FillFramedRect(dc, band, kPopupBackground, kPopupBackground);
    band.DeflateRect(1, 1);
    const COLORREF face = TearOffGripperColor.GetEffective();
    if (!selected && face != COSMPaintManagerColor::kNone)
        dc->FillSolidRect(band, face);
    const int centre = (2 + rect.right) / 2;
    const int half = std::min<int>(rect.Width() / 2 - 10, 32);
    for (int x = centre - half; x < centre + half; x += 4)
    {
        FillFramedRect(dc, CRect(x + 1, 5, x + 3, 7), COLOR_BTNHIGHLIGHT, COLOR_BTNHIGHLIGHT);
        FillFramedRect(dc, CRect(x, 4, x + 2, 6), kGripperLines, kGripperLines);
    }
    return CSize(0, 9);
}

void COSMOffice2003Theme::FillPopupBarGripper(CDC* dc, int x, int y, int cx, int cy, BOOL expanded)
{
    FillGradient(dc, CRect(x, y, x + cx, y + cy), expanded ? PopupBarGripperGradient : PopupBarGripperHiddenGradient,
                 TRUE);
}

// ---- Separators ----

CSize COSMOffice2003Theme::DrawCommandBarSeparator(CDC* dc, COSMCommandBar* bar, COSMControl* control, BOOL draw)
{
    const int position = bar->GetPosition();
    const BOOL popupType = bar->GetType() == 2;
    if (position == 4 && !popupType && !draw)
        return CSize(6, 0);
    if (!draw || position < 0 || position > 4)
        return COSMOfficeTheme::DrawCommandBarSeparator(dc, bar, control, draw);
    // The layouts measure separators without a control; there is nothing to draw without one.
    if (!control)
        return CSize(0, 0);
    const CRect r = control->GetRowRect();
    const CRect w = control->GetRect();
    const BOOL newRow = control->GetWrap();
    if (position == 2 || position == 3)
    {
        if (newRow)
        {
            DrawLineIndexed(dc, r.right + 2, r.top + 4, r.right + 2, r.bottom, kSeparatorLines);
            DrawLineIndexed(dc, r.right + 3, r.top + 5, r.right + 3, r.bottom, COLOR_BTNHIGHLIGHT);
        }
        else
        {
            const int y = w.top - 4;
            DrawLineIndexed(dc, r.left + 4, y, r.right - 4, y, kSeparatorLines);
            if (!FlatSeparators)
                DrawLineIndexed(dc, r.left + 5, y + 1, r.right - 3, y + 1, COLOR_BTNHIGHLIGHT);
        }
        return CSize(0, 0);
    }
    if (!newRow)
    {
        const int x = w.left - 4;
        DrawLineIndexed(dc, x, r.top + 4, x, r.bottom - 4, kSeparatorLines);
        if (!FlatSeparators)
            DrawLineIndexed(dc, x + 1, r.top + 5, x + 1, r.bottom - 3, COLOR_BTNHIGHLIGHT);
    }
    else if (!(position == 4 && !popupType))
    {
        const int y = r.top - 4;
        DrawLineIndexed(dc, r.left + 4, y, r.right, y, kSeparatorLines);
        DrawLineIndexed(dc, r.left + 5, y + 1, r.right, y + 1, COLOR_BTNHIGHLIGHT);
    }
    return CSize(0, 0);
}

// ---- Special buttons ----

CSize COSMOffice2003Theme::DrawSpecialControl(CDC* dc, int kind, COSMControl* control, COSMCommandBar* bar, BOOL draw,
                                              LPVOID param)
{
    if (!bar && control)
        bar = control->GetParent();
    if (kind == 0)
    {
        DrawToolBarExpandButton2003(dc, control, bar, draw, param);
        return CSize(0, 0);
    }
    if (kind == 1)
    {
        if (draw && control)
            DrawPopupExpandButton(dc, control);
        return CSize(0, 18);
    }
    return COSMOfficeTheme::DrawSpecialControl(dc, kind, control, bar, draw, param);
}

void COSMOffice2003Theme::DrawToolBarExpandButton2003(CDC* dc, COSMControl* control, COSMCommandBar* bar, BOOL draw,
                                                      LPVOID param)
{
    if (!control || !param)
        return;
    const INT32* values = static_cast<const INT32*>(param);
    const int position = bar ? bar->GetPosition() : 0;
    const BOOL vertical = position == 2 || position == 3 || position == 5;
    if (!draw)
    {
        const int cx = values[0], cy = values[1];
        control->SetRect(vertical ? CRect(0, cy - 12, cx, cy) : CRect(cx - 12, 1, cx, cy));
        return;
    }
    const CRect r = control->GetRect();
    {
        // The button's outer corners are rounded off; the bar's own background shows there.
        const ScopedClipRegion keeper = KeepClipRegion(dc->GetSafeHdc());
        if (vertical)
        {
            dc->ExcludeClipRect(r.left, r.bottom - 1, r.left + 1, r.bottom);
            dc->ExcludeClipRect(r.right - 1, r.bottom - 1, r.right, r.bottom);
            dc->ExcludeClipRect(r.left + 1, r.top, r.right - 1, r.top + 1);
        }
        else
        {
            dc->ExcludeClipRect(r.right - 1, r.top, r.right, r.top + 1);
            dc->ExcludeClipRect(r.right - 1, r.bottom - 1, r.right, r.bottom);
            dc->ExcludeClipRect(r.left, r.top + 1, r.left + 1, r.bottom - 1);
        }
        const BOOL open = control->IsPopupOpen();
        const BOOL selected = control->GetSelected();
        if (open)
        {
            if (LunaColors)
                GradientFill(dc, r, PushedGradient.First().GetEffective(), PushedGradient.Second().GetEffective(),
                             vertical, nullptr);
            else
                FillFramedRect(dc, r, -1, kCheckedFill);
        }
        else if (selected)
        {
            if (LunaColors)
                GradientFill(dc, r, HighlightGradient.First().GetEffective(), HighlightGradient.Second().GetEffective(),
                             vertical, nullptr);
            else
                FillFramedRect(dc, r, -1, kHotFill);
        }
        else
        {
            FillGradient(dc, r, ExpandButtonGradient, vertical);
        }
    }
    const BOOL open = control->IsPopupOpen();
    const int glyphIndex = control->GetSelected() && !open ? kSelectedText : kToolBarText;
    const BOOL hiddenControls = values[0] != 0;
    DrawToolBarExpandGlyphs(dc, CRect(r.left + 1, r.top + 1, r.right + 1, r.bottom + 1), vertical, hiddenControls,
                            GetColor(COLOR_BTNHIGHLIGHT));
    DrawToolBarExpandGlyphs(dc, r, vertical, hiddenControls, GetColor(glyphIndex));
}

void COSMOffice2003Theme::DrawToolBarExpandGlyphs(CDC* dc, CRect at, BOOL vertical, BOOL hiddenControls, COLORREF color)
{
    if (color == COSMPaintManagerColor::kNone)
        return;
    if (vertical)
    {
        const int cy = (at.top + at.bottom) / 2;
        VerticalLine(dc, at.right - 10, cy - 2, cy + 3, color);
        DrawTriangle(dc, CPoint(at.right - 5, cy), CPoint(at.right - 7, cy - 2), CPoint(at.right - 7, cy + 2), color);
        if (hiddenControls)
            for (int offset : {0, 4})
                DrawTriangle(dc, CPoint(at.left + 5, at.top + 3 + offset), CPoint(at.left + 6, at.top + 4 + offset),
                             CPoint(at.left + 7, at.top + 3 + offset), color);
        return;
    }
    const int cx = at.left + at.Width() / 2;
    HorizontalLine(dc, cx - 2, at.bottom - 10, cx + 3, color);
    DrawTriangle(dc, CPoint(cx - 2, at.bottom - 7), CPoint(cx + 2, at.bottom - 7), CPoint(cx, at.bottom - 5), color);
    if (hiddenControls)
        for (int offset : {0, 4})
            DrawTriangle(dc, CPoint(at.left + 3 + offset, at.top + 5), CPoint(at.left + 4 + offset, at.top + 6),
                         CPoint(at.left + 3 + offset, at.top + 7), color);
}

void COSMOffice2003Theme::DrawPopupExpandButton(CDC* dc, COSMControl* control)
{
    DrawControlBackground(dc, control);
    const CRect r = control->GetRect();
    const int cx = (r.left + r.right) / 2;
    if (GlyphImages.GetSafeHandle())
        ::ImageList_Draw(GlyphImages.GetSafeHandle(), 0, dc->GetSafeHdc(), cx - 7, r.top + 1, ILD_TRANSPARENT);
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    CPen* old = dc->SelectObject(&pen);
    for (int t : {r.top + 5, r.top + 6, r.top + 9, r.top + 10})
    {
        const POINT points[3] = {{cx - 2, t}, {cx, t + 2}, {cx + 3, t - 1}};
        dc->Polyline(points, 3);
    }
    dc->SelectObject(old);
}

// ---- Status bar ----

void COSMOffice2003Theme::DrawStatusBarGripper(CDC* dc, CRect rect)
{
    COSMVisualStyleWrapper& status = GetStatusTheme();
    if (status.IsOpen() && status.IsAppThemed())
    {
        const CRect part(rect.right - 18, rect.top, rect.right, rect.bottom);
        status.DrawThemeBackground(dc->GetSafeHdc(), 3, 0, &part, nullptr);
        return;
    }
    const int w = rect.Width(), h = rect.Height();
    const int x0 = rect.left, y0 = rect.top;
    for (int i = 0; i < 3; ++i)
    {
        const int step = 5 * i;
        for (int j = 0; j < 3; ++j)
            DrawLineIndexed(dc, x0 + w - j - step, y0 + h - 1, x0 + w, y0 + h - 1 - j - step, COLOR_BTNSHADOW);
        DrawLineIndexed(dc, x0 + w - 3 - step, y0 + h - 1, x0 + w, y0 + h - 4 - step, COLOR_BTNHIGHLIGHT);
    }
}

void COSMOffice2003Theme::DrawStatusBarPaneBorder(CDC* dc, CRect rect, COSMStatusBarPane* pane, BOOL gripperPane)
{
    if (IsStatusBarThemed())
    {
        COSMPaintManager::DrawStatusBarPaneBorder(dc, rect, pane, gripperPane);
        return;
    }
    const COLORREF border = StatusPaneBorderColor.GetEffective();
    if (border != COSMPaintManagerColor::kNone)
        dc->Draw3dRect(rect, border, border);
}
