// Control captions: one line or two, embossed when disabled, with or without mnemonics, horizontal or vertical,
// and the buffered visual-style text for captions that lie on a desktop-composited ribbon caption.
#include "classlib/CString.h"
#include "classlib/DC.h"
#include "classlib/Geometry.h"
#include "framework/commandbars/PaintManager.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/foundation/AnsiToWideString.h"

#include <algorithm>
#include <utility>

namespace {

// DrawThemeTextEx's option flags: composited text in the given colour.
const DWORD kThemeTextFlags = DTT_COMPOSITED | DTT_TEXTCOLOR;

void DrawPlainText(CDC* dc, const CString& text, CRect rect, UINT format)
{
    ::DrawTextA(dc->GetSafeHdc(), text, -1, &rect, format);
}

CString WithoutMnemonics(const CString& text)
{
    CString plain = text;
    COSMPaintManager::StripMnemonics(plain);
    return plain;
}

}  // namespace

void DrawThemeTextBuffered(CDC* dc, const CString& text, CRect rect, UINT format, BOOL composited)
{
    // The second table: a handle opened here must not be invalidated by a reload of the library meanwhile.
    DrawThemeTextBuffered(GetVisualStyleFunctions(FALSE), dc, text, rect, format, composited);
}

void DrawThemeTextBuffered(COSMVisualStyleFunctions& functions, CDC* dc, const CString& text, CRect rect, UINT format,
                           BOOL composited)
{
    if (!composited)
    {
        DrawPlainText(dc, text, rect, format);
        return;
    }
    COSMThemeTextStyle style;
    style.flags = kThemeTextFlags;
    style.textColor = ::GetTextColor(dc->GetSafeHdc());
    DrawThemeTextBuffered(functions, dc, text, rect, format, style);
}

void DrawThemeTextBuffered(COSMVisualStyleFunctions& functions, CDC* dc, const CString& text, CRect rect, UINT format,
                           const COSMThemeTextStyle& style)
{
    // The plain text that stands in for whatever fails below, so the text never goes missing.
    auto drawPlain = [&] {
        const COLORREF old = style.fallbackColor != CLR_INVALID ? dc->SetTextColor(style.fallbackColor) : CLR_INVALID;
        DrawPlainText(dc, text, rect, format);
        if (old != CLR_INVALID)
            dc->SetTextColor(old);
    };
    COSMVisualStyleWrapper theme(functions);
    // Without the style there is no handle to draw through: DrawThemeTextEx would only fail.
    if (!theme.OpenThemeData(nullptr, style.themeClass) || !theme.IsAppThemed())
    {
        drawPlain();
        return;
    }
    HDC target = dc->GetSafeHdc();
    HDC buffer = nullptr;
    HPAINTBUFFER paint = theme.BeginBufferedPaint(target, &rect, BPBF_TOPDOWNDIB, nullptr, &buffer);
    if (!paint || !buffer)
    {
        if (paint)
            theme.EndBufferedPaint(paint, FALSE);
        drawPlain();
        return;
    }
    // The glass behind the text, and the font, so the text looks as DrawText would draw it.
    ::BitBlt(buffer, rect.left, rect.top, rect.Width(), rect.Height(), target, rect.left, rect.top, SRCCOPY);
    HGDIOBJ oldFont = ::SelectObject(buffer, style.font ? style.font : ::GetCurrentObject(target, OBJ_FONT));
    DTTOPTS options = {};
    // The record's own size: 64 bytes on 32-bit Windows, more on 64-bit, where the system checks for that.
    options.dwSize = sizeof(options);
    options.dwFlags = style.flags;
    options.crText = style.textColor != CLR_INVALID ? style.textColor : ::GetTextColor(target);
    options.iGlowSize = style.glowSize;
    const COSMAnsiToWideString wide(text);
    RECT textRect = rect;
    const HRESULT drawn = theme.DrawThemeTextEx(buffer, style.part, style.state, wide, -1, format, &textRect, &options);
    ::SelectObject(buffer, oldFont);
    if (FAILED(drawn))
    {
        // Nothing of the buffer reaches the target; the plain text stands in.
        theme.EndBufferedPaint(paint, FALSE);
        drawPlain();
        return;
    }
    theme.EndBufferedPaint(paint, TRUE);
}

void COSMPaintManager::DrawCaptionText(CDC* dc, COSMControl* control, const CString& caption,
                                       const CString& plainCaption, CRect rect, BOOL vertical, BOOL centred)
{
    const BOOL emboss = !control->GetEnabled() && m_embossedDisabledText;
    BOOL showMnemonics = TRUE;
    if (m_keyboardCues >= 0)
        showMnemonics = m_keyboardCues != 0;
    else if (const COSMCommandBar* bar = control->GetParent())
        showMnemonics = bar->IsKeyboardCuesVisible();
    const UINT format = DT_SINGLELINE | (centred ? DT_CENTER : 0);

    if (vertical)
    {
        // DrawText knows nothing of the rotated font: it writes from the rectangle's corner, outside the
        // rectangle, and mnemonic underlines would land beside the rotated glyphs.
        const UINT verticalFormat = format | DT_NOPREFIX | DT_NOCLIP;
        if (emboss)
        {
            const COLORREF old = dc->SetTextColor(GetColor(COLOR_BTNHIGHLIGHT));
            DrawPlainText(dc, plainCaption, rect + CPoint(1, 1), verticalFormat);
            dc->SetTextColor(old);
        }
        DrawPlainText(dc, plainCaption, rect, verticalFormat);
        return;
    }

    const BOOL composited = IsControlOnDwmCaption(control);
    if (emboss)
    {
        const COLORREF old = dc->SetTextColor(GetColor(COLOR_BTNHIGHLIGHT));
        DrawThemeTextBuffered(dc, plainCaption, rect + CPoint(1, 1), format | DT_NOPREFIX | DT_VCENTER, composited);
        dc->SetTextColor(old);
    }
    if (showMnemonics)
        DrawThemeTextBuffered(dc, caption, rect, format | DT_VCENTER, composited);
    else
        DrawThemeTextBuffered(dc, plainCaption, rect, format | DT_NOPREFIX | DT_VCENTER, composited);
}

CSize COSMPaintManager::DrawControlCaptionOneLine(CDC* dc, COSMControl* control, CRect rect, BOOL draw, BOOL vertical,
                                                  BOOL centred, BOOL dropDown)
{
    const CString caption = control->GetCaption();
    const CString plain = WithoutMnemonics(caption);
    if (!draw)
    {
        CSize size = dc->GetTextExtent(plain.IsEmpty() ? CString(" ") : plain);
        if (dropDown)
            size.cx += m_captionSpacingOption ? 8 : 10;
        if (vertical)
            std::swap(size.cx, size.cy);
        return size;
    }

    const CSize text = dc->GetTextExtent(plain);
    const int extent = text.cx + (dropDown ? 5 : 0);
    const BOOL selected = control->GetSelected() != 0;
    const BOOL popped = control->IsPopupOpen();
    const BOOL enabled = control->GetEnabled() != 0;
    if (!vertical)
    {
        if (centred)
            rect.left += (rect.Width() - extent) / 2;
        DrawCaptionText(dc, control, caption, plain, rect, FALSE, FALSE);
        if (dropDown)
            DrawDropDownGlyph(dc, control, CPoint(rect.left + extent, (rect.top + rect.bottom) / 2), selected, popped,
                              enabled, FALSE);
        return CSize(0, 0);
    }

    if (centred)
        rect.top += (rect.Height() - extent + 1) / 2;
    // The rotated text hangs to the left of its start: starting this far from the right centres it.
    const CRect textRect(rect.right - (rect.Width() - text.cy + 1) / 2, rect.top, rect.right, rect.bottom);
    DrawCaptionText(dc, control, caption, plain, textRect, TRUE, FALSE);
    if (dropDown)
        DrawDropDownGlyph(dc, control, CPoint((rect.left + rect.right) / 2, rect.top - 1 + extent), selected, popped,
                          enabled, TRUE);
    return CSize(0, 0);
}

CSize COSMPaintManager::DrawControlCaptionTwoLines(CDC* dc, COSMControl* control, CRect rect, BOOL draw, BOOL vertical,
                                                   BOOL dropDown)
{
    const CString caption = control->GetCaption();
    CString first = caption;
    CString second;
    if (m_twoLineCaptions)
        SplitCaptionInTwoLines(caption, first, second);
    const CString plainFirst = WithoutMnemonics(first);
    const CString plainSecond = WithoutMnemonics(second);

    if (!draw)
    {
        const BOOL empty = caption.IsEmpty();
        const CSize e1 = dc->GetTextExtent(empty ? CString(" ") : plainFirst);
        CSize e2 = dc->GetTextExtent(empty ? CString(" ") : plainSecond);
        if (dropDown)
            e2.cx += 8;
        // Two lines always take the same room, so large buttons of one row line up whatever their font.
        CSize size(std::max(e1.cx, e2.cx), 24);
        if (vertical)
            std::swap(size.cx, size.cy);
        return size;
    }

    const BOOL selected = control->GetSelected() != 0;
    const BOOL popped = control->IsPopupOpen();
    const BOOL enabled = control->GetEnabled() != 0;
    const int mx = (rect.left + rect.right) / 2;
    const int my = (rect.top + rect.bottom) / 2;
    const CSize text1 = dc->GetTextExtent(plainFirst);
    const CSize text2 = dc->GetTextExtent(plainSecond);

    if (!vertical)
    {
        DrawCaptionText(dc, control, first, plainFirst, CRect(rect.left, rect.top, rect.right, my + 1), FALSE, TRUE);
        const int width2 = text2.cx + (dropDown ? 9 : 0);
        const int left2 = rect.left + (rect.Width() - width2) / 2;
        DrawCaptionText(dc, control, second, plainSecond, CRect(left2, my, rect.right, rect.bottom), FALSE, FALSE);
        if (dropDown)
            DrawDropDownGlyph(dc, control,
                              CPoint(second.IsEmpty() ? mx - 1 : left2 - 4 + width2, (my + rect.bottom) / 2), selected,
                              popped, enabled, FALSE);
        return CSize(0, 0);
    }

    // Line 1 in the right column, line 2 in the left one; each centred across by its height and along by its width.
    auto column = [](const CRect& area, CSize text, int length) {
        return CRect(area.right - (area.Width() - text.cy + 1) / 2, area.top + (area.Height() - length + 1) / 2,
                     area.right, area.bottom);
    };
    const CRect right(mx, rect.top, rect.right - 1, rect.bottom);
    const CRect left(rect.left + 1, rect.top, mx + 1, rect.bottom);
    const int length2 = text2.cx + (dropDown ? 8 : 0);
    DrawCaptionText(dc, control, first, plainFirst, column(right, text1, text1.cx), TRUE, FALSE);
    const CRect secondRect = column(left, text2, length2);
    DrawCaptionText(dc, control, second, plainSecond, secondRect, TRUE, FALSE);
    if (dropDown)
        DrawDropDownGlyph(dc, control, CPoint((left.left + left.right) / 2 - 2, secondRect.top - 4 + length2), selected,
                          popped, enabled, TRUE);
    return CSize(0, 0);
}

CSize COSMPaintManager::MeasureControlCaptionArea(CDC* dc, COSMControl* control, CRect rect, BOOL draw, BOOL dropDown,
                                                  CSize button, BOOL withImage)
{
    const int spacing = m_captionSpacingOption ? 1 : 0;
    const BOOL vertical = GetControlTextOrientation(control) == 1;
    CRect area = rect;
    if (withImage)
    {
        if (vertical)
            area.top += button.cy;
        else
            area.left += button.cx - 1 + spacing;
    }
    const CSize caption = DrawControlCaptionOneLine(dc, control, area, draw, vertical, TRUE, dropDown);
    if (!vertical)
        return CSize(caption.cx + (withImage ? button.cx + 3 + spacing : 8), std::max<int>(button.cy, caption.cy + 6));
    return CSize(std::max<int>(button.cx, caption.cx + 6), caption.cy + (withImage ? 3 + button.cx : 8));
}
