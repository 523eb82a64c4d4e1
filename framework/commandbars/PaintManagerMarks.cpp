// The paint manager's small drawing operations: control backgrounds and text colours, menu marks, check-box and
// radio marks, triangles and glyphs, the floating bar's caption, split-button geometry and popup text.
#include "classlib/CString.h"
#include "classlib/DC.h"
#include "classlib/Gdi.h"
#include "classlib/Geometry.h"
#include "framework/commandbars/PaintManager.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/foundation/DrawHelpers.h"
#include "framework/foundation/LayoutFunctions.h"
#include "framework/foundation/TextFunctions.h"

#include <algorithm>
#include <cmath>

// A colour of -1 is "no colour" (an entry a look left unset): GDI would take 0xFFFFFFFF for some colour, so the
// primitives draw nothing with it.
void DrawTriangle(CDC* dc, CPoint p0, CPoint p1, CPoint p2, COLORREF color)
{
    if (color == COSMPaintManagerColor::kNone)
        return;
    CPen pen(PS_SOLID, 1, color);
    CBrush brush(color);
    CPen* oldPen = dc->SelectObject(&pen);
    CBrush* oldBrush = dc->SelectObject(&brush);
    const POINT points[3] = {p0, p1, p2};
    dc->Polygon(points, 3);
    dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);
}

void SplitCaptionInTwoLines(const CString& caption, CString& first, CString& second)
{
    first = caption;
    second.Empty();
    const int length = caption.GetLength();
    if (caption.Find(' ', 1) < 1)
        return;
    // The space nearest the middle wins, the left one at equal distance.
    const int middle = length / 2;
    for (int i = 0; i < middle - 1; ++i)
    {
        int split = -1;
        if (caption[middle - i] == ' ')
            split = middle - i;
        else if (middle + i + 1 < length && caption[middle + i + 1] == ' ')
            split = middle + i + 1;
        if (split >= 0)
        {
            first = caption.Left(split);
            second = caption.Mid(split + 1);
            return;
        }
    }
}

// ---- Primitives ----

void COSMPaintManager::FillFramedRect(CDC* dc, CRect rect, int frameIndex, int fillIndex)
{
    if (fillIndex != -1 && GetColor(fillIndex) != COSMPaintManagerColor::kNone)
        dc->FillSolidRect(rect, GetColor(fillIndex));
    if (frameIndex != fillIndex && frameIndex != -1)
        Draw3dRectIndexed(dc, rect, frameIndex, frameIndex);
}

void COSMPaintManager::Draw3dRectIndexed(CDC* dc, CRect rect, int topLeftIndex, int bottomRightIndex)
{
    // Side by side, so that a -1 colour leaves its two sides out and the other two still show.
    const COLORREF topLeft = GetColor(topLeftIndex);
    const COLORREF bottomRight = GetColor(bottomRightIndex);
    HorizontalLine(dc, rect.left, rect.top, rect.right - 1, topLeft);
    VerticalLine(dc, rect.left, rect.top, rect.bottom - 1, topLeft);
    HorizontalLine(dc, rect.left, rect.bottom - 1, rect.right, bottomRight);
    VerticalLine(dc, rect.right - 1, rect.top, rect.bottom - 1, bottomRight);
}

void COSMPaintManager::HorizontalLine(CDC* dc, int x0, int y, int x1, COLORREF color)
{
    if (color != COSMPaintManagerColor::kNone)
        dc->FillSolidRect(x0, y, x1 - x0, 1, color);
}

void COSMPaintManager::VerticalLine(CDC* dc, int x, int y0, int y1, COLORREF color)
{
    if (color != COSMPaintManagerColor::kNone)
        dc->FillSolidRect(x, y0, 1, y1 - y0, color);
}

void COSMPaintManager::DrawLine(CDC* dc, int x0, int y0, int x1, int y1)
{
    dc->MoveTo(x0, y0);
    dc->LineTo(x1, y1);
}

void COSMPaintManager::DrawLineIndexed(CDC* dc, int x0, int y0, int x1, int y1, int index)
{
    if (GetColor(index) == COSMPaintManagerColor::kNone)
        return;
    CPen pen(PS_SOLID, 1, GetColor(index));
    CPen* old = dc->SelectObject(&pen);
    DrawLine(dc, x0, y0, x1, y1);
    dc->SelectObject(old);
}

void COSMPaintManager::StripMnemonics(CString& text)
{
    ::StripMnemonics(text);
}

void COSMPaintManager::GradientFill(CDC* dc, LPCRECT rect, COLORREF first, COLORREF second, BOOL horizontal,
                                    LPCRECT clip)
{
    GetDrawHelpers()->GradientFillClipped(dc, rect, first, second, horizontal, clip);
}

void COSMPaintManager::DrawCheckMarkGlyph(CDC* dc, CRect rect, COLORREF color, BOOL rightToLeft)
{
    const int x0 = rect.left + rect.Width() / 2 - 10;
    const int y0 = rect.top + rect.Height() / 2 - 10;
    // A mirrored DC flips x; these points show the same check there.
    static const POINT leftToRight[2][3] = {{{6, 9}, {8, 11}, {13, 6}}, {{6, 10}, {8, 12}, {13, 7}}};
    static const POINT mirrored[2][3] = {{{6, 7}, {10, 11}, {13, 8}}, {{6, 8}, {10, 12}, {13, 9}}};
    const POINT(*lines)[3] = rightToLeft ? mirrored : leftToRight;
    CPen pen(PS_SOLID, 1, color);
    CPen* old = dc->SelectObject(&pen);
    for (int line = 0; line < 2; ++line)
    {
        POINT points[3];
        for (int i = 0; i < 3; ++i)
            points[i] = {x0 + lines[line][i].x, y0 + lines[line][i].y};
        dc->Polyline(points, 3);
    }
    dc->SelectObject(old);
}

void COSMPaintManager::DrawSmoothEllipse(CDC* dc, int left, int top, int right, int bottom, COLORREF border,
                                         COLORREF fill)
{
    const double cx = (left + right - 1) / 2.0;
    const double cy = (top + bottom - 1) / 2.0;
    const double radius = (right - left - 1) / 2.0 - 0.25;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
        {
            const double distance = std::hypot(x - cx, y - cy);
            if (distance < radius - 1)
            {
                dc->SetPixel(x, y, fill);
                continue;
            }
            if (distance > radius + 1)
                continue;
            // The ring has the border colour at the radius and fades over one pixel into what lies either side.
            const double weight = std::fabs(distance - radius);
            const COLORREF base = distance < radius ? fill : dc->GetPixel(x, y);
            auto channel = [weight](int from, int to) { return static_cast<int>(from + (to - from) * weight); };
            dc->SetPixel(x, y,
                         RGB(channel(GetRValue(border), GetRValue(base)), channel(GetGValue(border), GetGValue(base)),
                             channel(GetBValue(border), GetBValue(base))));
        }
}

void COSMPaintManager::DrawSmoothEllipse(CDC* dc, const CRect& rect, COLORREF border, COLORREF fill)
{
    DrawSmoothEllipse(dc, rect.left, rect.top, rect.right, rect.bottom, border, fill);
}

// ---- Controls ----

COSMPaintManager::ControlState COSMPaintManager::GetControlState(COSMControl* control)
{
    const COSMCommandBar* bar = control->GetParent();
    return {control->GetSelected(), control->GetPressed(),    control->GetEnabled(),       control->GetChecked(),
            control->IsPopupOpen(), bar ? bar->GetType() : 1, bar ? bar->GetPosition() : 0};
}

CSize COSMPaintManager::DrawControl(CDC* dc, COSMControl* control, BOOL draw)
{
    switch (control->GetType())
    {
    case 6:
        return DrawEditControl(dc, control, draw);
    case 5:
        return DrawComboBoxControl(dc, control, draw);
    default:
        if (control->GetParent() && control->GetParent()->GetType() == 2)
            return DrawPopupBarControl(dc, control, draw);
        return DrawToolBarControl(dc, control, draw);
    }
}

void COSMPaintManager::SetCommandBarRegion(COSMCommandBar* bar) {}
void COSMPaintManager::FillPopupBarGripper(CDC* dc, int x, int y, int cx, int cy, BOOL expanded) {}

COLORREF COSMPaintManager::GetControlEditBackColor(COSMControl* control)
{
    return GetColor(control->GetEnabled() ? COLOR_WINDOW : COLOR_BTNFACE);
}

void COSMPaintManager::DrawControlBackground(CDC* dc, COSMControl* control)
{
    const ControlState s = GetControlState(control);
    DrawStateRectangle(dc, control->GetRect(), s.selected, s.pressed, s.enabled, s.checked, s.popped, s.barType,
                       s.barPosition);
}

COLORREF COSMPaintManager::GetControlTextColor(COSMControl* control)
{
    ControlState s = GetControlState(control);
    const int type = control->GetType();
    if ((type == 9 || type == 11) && s.barType != 2)
        return GetStateTextColor(FALSE, FALSE, s.enabled, FALSE, FALSE, s.barType, s.barPosition);
    if (type == 4 && s.enabled == (control->GetStyle() == 4 ? 4 : 5))
        s.enabled = FALSE;
    return GetStateTextColor(s.selected, s.pressed, s.enabled, s.checked, s.popped, s.barType, s.barPosition);
}

CRect COSMPaintManager::GetSplitButtonCommandRect(COSMControl* control)
{
    CRect rect = control->GetRect();
    const COSMCommandBar* bar = control->GetParent();
    const BOOL popup = bar && bar->GetType() == 2;
    if (!popup && control->GetStyle() == 4)
    {
        const int width = GetSplitButtonDropDownWidth();
        if (GetControlTextOrientation(control) == 1)
            rect.left += width;
        else
            rect.bottom -= width;
    }
    else
    {
        rect.right -= popup ? m_popupSplitWidth : m_splitWidth + 1;
    }
    return rect;
}

CSize COSMPaintManager::DrawCommandBarGripper(CDC* dc, COSMCommandBar* bar, BOOL draw)
{
    // A dialog bar's caption strip, docked or floating, is the theme's own.
    if (bar->IsDialogBar())
        return DrawDialogBarGripper(dc, bar, draw);
    if (!dc || bar->GetPosition() != 4)
        return CSize(0, 0);
    CRect client;
    ::GetClientRect(bar->GetSafeHwnd(), &client);
    CFont* oldFont = dc->SelectObject(&GetCaptionFont());
    const int height = std::max<int>(dc->GetTextExtent(" ", 1).cy, 15);
    const CRect caption(3, 3, client.right - 3, height + 3);
    if (draw)
    {
        const int oldMode = dc->SetBkMode(TRANSPARENT);
        dc->FillSolidRect(caption, m_floatingCaptionColor.GetEffective());
        const COLORREF oldColor = dc->SetTextColor(m_floatingCaptionTextColor.GetEffective());
        // The strip on the right is left for the bar's caption buttons.
        CRect text(5, 3, caption.right - 2 * caption.Height(), caption.bottom);
        const CString& title = bar->GetTitle();
        dc->DrawText(title, title.GetLength(), &text, DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        dc->SetTextColor(oldColor);
        dc->SetBkMode(oldMode);
    }
    dc->SelectObject(oldFont);
    return CSize(caption.Width(), caption.Height());
}

// ---- Marks and glyphs ----

namespace {

// The visual style's state of a check or radio mark, 1-based as DrawThemeBackground takes it.
int MarkThemeState(BOOL selected, BOOL pressed, int checked, BOOL enabled)
{
    int state = !enabled ? 3 : selected && pressed ? 2 : selected ? 1 : 0;
    if (checked == 1)
        state += 4;
    else if (checked == 2)
        state += 8;
    return state + 1;
}

}  // namespace

CSize COSMPaintManager::DrawCheckBoxMark(CDC* dc, CRect rect, BOOL draw, BOOL selected, BOOL pressed, int checked,
                                         BOOL enabled)
{
    if (draw)
        DrawButtonMark(dc, rect, 3, DFCS_BUTTONCHECK, selected, pressed, checked, enabled);
    return CSize(13, 13);
}

CSize COSMPaintManager::DrawRadioButtonMark(CDC* dc, CRect rect, BOOL draw, BOOL selected, BOOL pressed, int checked,
                                            BOOL enabled)
{
    if (draw)
        DrawButtonMark(dc, rect, 2, DFCS_BUTTONRADIO, selected, pressed, checked, enabled);
    return CSize(13, 13);
}

void COSMPaintManager::DrawButtonMark(CDC* dc, CRect rect, int themePart, UINT classicKind, BOOL selected, BOOL pressed,
                                      int checked, BOOL enabled)
{
    // A style whose BUTTON class failed to open draws nothing itself: the classic mark stands in.
    if (m_themedCheckMarks && m_buttonTheme.IsOpen() && m_buttonTheme.IsAppThemed() &&
        SUCCEEDED(m_buttonTheme.DrawThemeBackground(
            dc->GetSafeHdc(), themePart, MarkThemeState(selected, pressed, checked, enabled), &rect, nullptr)))
        return;
    UINT state = classicKind;
    if (!enabled || checked == 2)
        state |= DFCS_INACTIVE;
    if (checked > 0)
        state |= DFCS_CHECKED;
    if (pressed > 0)
        state |= DFCS_PUSHED;
    dc->DrawFrameControl(&rect, DFC_BUTTON, state);
}

void COSMPaintManager::DrawMenuCheckMark(CDC* dc, CRect rect, COLORREF color, BOOL enabled)
{
    const BOOL rightToLeft = IsContextRTL(dc);
    DrawCheckMarkGlyph(dc, rect, color, rightToLeft);
    if (m_boldCheckMark)
        DrawCheckMarkGlyph(dc, rect + CPoint(0, 1), color, rightToLeft);
}

void COSMPaintManager::DrawMenuRadioMark(CDC* dc, CRect rect, COLORREF color, BOOL enabled)
{
    const CPoint centre = rect.CenterPoint();
    DrawSmoothEllipse(dc, centre.x - 3, centre.y - 3, centre.x + 3, centre.y + 3, color, color);
}

void COSMPaintManager::DrawDownTriangle(CDC* dc, CRect rect, COLORREF color)
{
    const int half = std::max(rect.Width() / 2 - 4, 2);
    const int y = (rect.top + rect.bottom) / 2 - half / 2;
    const int x = (rect.left + rect.right) / 2;
    DrawTriangle(dc, CPoint(x - half, y), CPoint(x + half, y), CPoint(x, y + half), color);
}

void COSMPaintManager::DrawDropDownGlyph(CDC* dc, COSMControl* control, CPoint point, BOOL selected, BOOL popped,
                                         BOOL enabled, BOOL vertical)
{
    const COLORREF color = GetStateTextColor(selected, FALSE, enabled, FALSE, popped, 1, 0);
    if (vertical)
        DrawTriangle(dc, CPoint(point.x + 2, point.y - 2), CPoint(point.x + 2, point.y + 2), point, color);
    else
        DrawTriangle(dc, CPoint(point.x - 2, point.y - 1), CPoint(point.x + 2, point.y - 1),
                     CPoint(point.x, point.y + 1), color);
}

int COSMPaintManager::DrawPopupBarText(CDC* dc, const CString& text, CRect& rect, UINT format, BOOL draw, BOOL selected,
                                       BOOL enabled)
{
    const UINT line = DT_SINGLELINE | DT_VCENTER;
    if (draw && !enabled && !selected && m_embossedDisabledText)
    {
        const COLORREF old = dc->SetTextColor(GetColor(COLOR_BTNHIGHLIGHT));
        CRect embossed = rect + CPoint(1, 1);
        dc->DrawText(text, text.GetLength(), &embossed, format | line);
        dc->SetTextColor(old);
    }
    // Measuring keeps the prefix rule: a caption drawn without prefixes ("&" shown) must be measured the same way.
    const UINT measure = DT_CALCRECT | (format & DT_NOPREFIX);
    return dc->DrawText(text, text.GetLength(), &rect, (draw ? format : measure) | line);
}
