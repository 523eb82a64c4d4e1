// The layout and text of controls: menu items of popup bars, toolbar controls (buttons, popups, split buttons, check
// boxes and radio buttons, with captions beside, below or under their icons), the labels of edit and combo boxes,
// and the bars' special buttons. The themes draw faces, icons and frames through the operations called here.
#include "classlib/CString.h"
#include "classlib/DC.h"
#include "classlib/Gdi.h"
#include "classlib/Geometry.h"
#include "framework/commandbars/PaintManager.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/foundation/ImageManagerIcon.h"

#include <algorithm>

namespace {

// The two-line sample that gives the height of a description block.
const char kTwoLines[] = "1\n2";

BOOL IsPopupBar(const COSMCommandBar* bar)
{
    return bar && bar->GetType() == 2;
}

// Bars docked left or right, and popups, stack their special buttons vertically.
BOOL IsVerticalBar(const COSMCommandBar* bar)
{
    const int position = bar ? bar->GetPosition() : 0;
    return position == 2 || position == 3 || position == 5;
}

// The control's effective enabled value; a split popup's 5 means disabled.
int EffectiveEnabled(const COSMControl* control)
{
    const int enabled = control->GetEnabled();
    return control->GetType() == 4 && enabled == 5 ? FALSE : enabled;
}

// Four chevron strokes of two segments, at offsets 2, 3, 6 and 7 from the anchor: pointing down (stacked down
// the anchor's column) or, across, pointing right (side by side along its row).
void DrawChevrons(CDC* dc, COLORREF color, CPoint anchor, BOOL across)
{
    COSMPenDC pen(dc->GetSafeHdc(), color);
    for (int k : {2, 3, 6, 7})
    {
        const CPoint base = across ? CPoint(anchor.x + k, anchor.y) : CPoint(anchor.x, anchor.y + k);
        auto point = [&](int along, int down) {
            return across ? POINT{base.x + down, base.y + along} : POINT{base.x + along, base.y + down};
        };
        const POINT points[3] = {point(-2, 0), point(0, 2), point(3, -1)};
        dc->Polyline(points, 3);
    }
}

}  // namespace

// ---- Popup-bar items ----

CSize COSMPaintManager::DrawPopupBarControl(CDC* dc, COSMControl* control, BOOL draw)
{
    COSMCommandBar* bar = control->GetParent();
    if (!bar)
        return CSize(0, 0);
    int column = GetPopupBarGripperWidth(bar) - 1;
    const CSize imageBox = GetPopupBarImageSize(bar);
    const int type = control->GetType();
    const int style = control->GetStyle();
    const BOOL iconAllowed = style != 1;
    const BOOL enabled = EffectiveEnabled(control) != 0;
    const BOOL selected = control->GetSelected() != 0;

    int height = imageBox.cy;
    if (type == 8)
    {
        const COSMImageManagerIcon* icon = iconAllowed ? control->GetImage(GetControlImageSize(control).cx) : nullptr;
        if (!m_labelIconColumn && !icon)
            column = 0;
        if (!iconAllowed)
            height = GetControlHeight();
    }

    CString caption = control->GetCaption();
    UINT format = DT_END_ELLIPSIS;
    if (!bar->IsKeyboardCuesVisible())
    {
        StripMnemonics(caption);
        format |= DT_NOPREFIX;
    }
    const CString shortcut = control->GetShortcutText();
    const BOOL withShortcut = type == 1 && !shortcut.IsEmpty();
    const CString description = control->GetDescription();
    const BOOL described = style == 5 && !description.IsEmpty();

    // Measuring starts from empty rectangles, which DrawPopupBarText's measuring fills.
    const CRect item = draw ? control->GetRect() : CRect(0, 0, 0, 0);
    CRect captionRect;
    CRect shortcutRect;
    COSMFontDC bold(dc, described ? &m_boldFont : nullptr);
    // A line of the caption's font. (DrawText's measuring of a vertically centred line gives no usable height.)
    const int line = dc->GetTextExtent(" ", 1).cy;
    if (draw)
    {
        captionRect.SetRect(item.left + column + m_popupTextGap, item.top, item.right, item.bottom);
        shortcutRect.SetRect(item.left + 8 + column, item.top, item.right - 19, item.bottom);
        if (withShortcut)
            captionRect.right -= dc->GetTextExtent(shortcut).cx + 19;
        if (described)
        {
            // The caption line keeps to the top; the description fills the rest.
            captionRect.bottom = captionRect.top + 10 + line;
            shortcutRect.bottom = shortcutRect.top + 10 + line;
        }
    }
    DrawPopupBarText(dc, caption, captionRect, format, draw, selected, enabled);
    if (withShortcut)
        DrawPopupBarText(dc, shortcut, shortcutRect, format | DT_RIGHT, draw, selected, enabled);
    bold.ReleaseFont();

    const int textWidth =
        column + m_popupTextGap + captionRect.Width() + 32 + (withShortcut ? shortcutRect.Width() : 0);
    if (!described)
        return ApplyControlCustomSize(CSize(textWidth, height), control, FALSE);

    if (draw)
    {
        CRect descriptionRect(captionRect.left, captionRect.bottom - 2, item.right - 10, item.bottom);
        dc->DrawText(description, &descriptionRect, DT_WORDBREAK | DT_NOPREFIX);
        return CSize(0, 0);
    }
    const int descriptionWidth = dc->GetTextExtent(description).cx;
    CRect twoLines(0, 0, (descriptionWidth + 20) / 2, 0);
    dc->DrawText(kTwoLines, 3, &twoLines, DT_CALCRECT | DT_WORDBREAK);
    const CSize size(std::max(textWidth, column + m_popupTextGap + 32 + descriptionWidth / 2),
                     std::max<int>(imageBox.cy, twoLines.Height() + 19 + line));
    return ApplyControlCustomSize(size, control, FALSE);
}

// ---- Toolbar controls ----

struct COSMPaintManager::ToolBarControlLayout
{
    BOOL draw;
    // The control's rectangle when drawing, empty when measuring.
    CRect rect;
    int type;
    int style;
    // The icon box, the control's button and the icon's drawn size.
    CSize imageSize;
    CSize button;
    CSize iconSize;
    // Null when no icon is wanted or none was found.
    COSMImageManagerIcon* icon;
    BOOL vertical;
    BOOL captionVisible;
    int selected;
    int pressed;
    int enabled;
    int checked;
    BOOL popped;
    COSMCommandBar* bar;
};

CSize COSMPaintManager::DrawToolBarControl(CDC* dc, COSMControl* control, BOOL draw)
{
    COSMFontDC font(dc, GetControlFont(control));
    ToolBarControlLayout layout;
    layout.draw = draw;
    layout.rect = draw ? control->GetRect() : CRect(0, 0, 0, 0);
    layout.type = control->GetType();
    layout.style = control->GetStyle();
    layout.imageSize = GetControlImageSize(control);
    layout.button = control->GetButtonSize();
    layout.vertical = GetControlTextOrientation(control) == 1;
    const int style = layout.style;
    const BOOL iconWanted = style == 2 || style == 3 || style == 4 || (style == 0 && layout.type != 2);
    layout.icon = iconWanted ? control->GetImage(layout.imageSize.cx) : nullptr;
    layout.iconSize =
        layout.icon ? FitImageSize(layout.icon->GetExtent(), layout.imageSize.cx, layout.imageSize.cy) : CSize(0, 0);
    layout.captionVisible = control->IsCaptionVisible();
    layout.selected = control->GetSelected();
    layout.pressed = control->GetPressed();
    layout.enabled = EffectiveEnabled(control);
    layout.checked = control->GetChecked();
    layout.popped = control->IsPopupOpen();
    layout.bar = control->GetParent();

    if (layout.type == 9 || layout.type == 11)
        return DrawToolBarCheckControl(dc, control, layout);

    if (draw)
    {
        if (!control->IsFaceSuppressed())
        {
            if (layout.type == 4)
                DrawSplitButtonFrame(dc, control, layout.rect);
            else
                DrawControlBackground(dc, control);
        }
        font.SetColor(GetControlTextColor(control));
    }
    if (style == 4)
        return DrawToolBarCaptionBelow(dc, control, layout);
    if (layout.icon && layout.bar && layout.bar->IsTextBelowIcons())
        return DrawToolBarCaptionUnder(dc, control, layout);
    return DrawToolBarCaptionBeside(dc, control, layout);
}

CSize COSMPaintManager::DrawToolBarCheckControl(CDC* dc, COSMControl* control, const ToolBarControlLayout& layout)
{
    const BOOL radio = layout.type == 11;
    auto mark = [&](CRect rect, BOOL draw) {
        return radio
                   ? DrawRadioButtonMark(dc, rect, draw, layout.selected, layout.pressed, layout.checked,
                                         layout.enabled)
                   : DrawCheckBoxMark(dc, rect, draw, layout.selected, layout.pressed, layout.checked, layout.enabled);
    };
    const CSize markSize = mark(CRect(0, 0, 0, 0), FALSE);
    if (!layout.draw)
    {
        const CSize caption =
            MeasureControlCaptionArea(dc, control, CRect(0, 0, 0, 0), FALSE, FALSE, layout.button, FALSE);
        const CSize size = layout.vertical ? CSize(caption.cx, caption.cy + 5 + markSize.cy)
                                           : CSize(caption.cx + 5 + markSize.cx, caption.cy);
        return ApplyControlCustomSize(size, control, layout.vertical);
    }

    COSMFontDC color(dc, nullptr, GetControlTextColor(control));
    const CRect& rect = layout.rect;
    CRect area = rect;
    CPoint at;
    if (!layout.vertical)
    {
        at = CPoint(rect.left + 3, (rect.top + rect.bottom - markSize.cy) / 2);
        area.left += 5 + markSize.cx;
    }
    else
    {
        at = CPoint((rect.left + rect.right) / 2 - markSize.cx / 2, rect.top + 3);
        area.top += 5 + markSize.cy;
    }
    mark(CRect(at, markSize), TRUE);
    MeasureControlCaptionArea(dc, control, area, TRUE, FALSE, layout.button, FALSE);
    // Selected from the keyboard: the focus shows around the caption.
    if (layout.selected == 2 || layout.selected == 3)
    {
        dc->SetTextColor(GetColor(COLOR_BTNTEXT));
        const COLORREF oldBack = dc->SetBkColor(GetColor(COLOR_BTNFACE));
        dc->DrawFocusRect(area);
        dc->SetBkColor(oldBack);
    }
    return CSize(0, 0);
}

CSize COSMPaintManager::DrawToolBarCaptionBelow(CDC* dc, COSMControl* control, const ToolBarControlLayout& layout)
{
    const BOOL dropDown = control->GetCommandBar() != nullptr;
    const int dropDownWidth = GetSplitButtonDropDownWidth();
    int height = m_largeButtonTextHeight >= 1 ? 3 * m_largeButtonTextHeight : dropDownWidth + 7 + layout.imageSize.cy;
    int width = std::max(2 * GetControlHeight() - 3, 42);
    if (layout.vertical)
        std::swap(width, height);

    const CRect& rect = layout.rect;
    if (!layout.draw)
    {
        const CSize caption =
            DrawControlCaptionTwoLines(dc, control, CRect(0, 0, 0, 0), FALSE, layout.vertical, dropDown);
        if (layout.vertical)
            height = std::max<int>(height, caption.cy + 6);
        else
            width = std::max<int>(width, caption.cx + 5);
    }
    else
    {
        if (layout.icon)
        {
            const CPoint at =
                layout.vertical
                    ? CPoint(rect.left + 4 + dropDownWidth, (rect.top + rect.bottom) / 2 - layout.iconSize.cy / 2)
                    : CPoint((rect.left + rect.right) / 2 - layout.iconSize.cx / 2, rect.top + 3);
            DrawControlImage(dc, at, layout.iconSize, layout.icon, layout.selected, layout.pressed, layout.enabled,
                             layout.checked, layout.popped, IsControlOnDwmCaption(control));
        }
        const CRect captionRect = layout.vertical
                                      ? CRect(rect.left, rect.top, rect.left + dropDownWidth, rect.bottom)
                                      : CRect(rect.left, rect.bottom - 1 - dropDownWidth, rect.right, rect.bottom - 1);
        DrawControlCaptionTwoLines(dc, control, captionRect, TRUE, layout.vertical, dropDown);
    }
    return ApplyControlCustomSize(CSize(width, height), control, layout.vertical);
}

CSize COSMPaintManager::DrawToolBarCaptionBeside(CDC* dc, COSMControl* control, const ToolBarControlLayout& layout)
{
    CRect rect = layout.rect;
    const int type = layout.type;
    const BOOL withImage = layout.icon != nullptr;
    if (layout.draw && withImage)
    {
        CPoint at = layout.vertical ? CPoint((rect.left + rect.right) / 2 - layout.iconSize.cx / 2, rect.top + 3)
                                    : CPoint(rect.left + 3, (rect.top + rect.bottom) / 2 - layout.iconSize.cy / 2);
        // An icon alone on a button sits in the middle; popups and split buttons keep room for their arrows.
        if (!layout.captionVisible && (type == 1 || type == 3))
        {
            if (layout.vertical)
                at.y = (rect.top + rect.bottom) / 2 - layout.iconSize.cy / 2;
            else
                at.x = (rect.left + rect.right) / 2 - layout.iconSize.cx / 2;
        }
        DrawControlImage(dc, at, layout.iconSize, layout.icon, layout.selected, layout.pressed, layout.enabled,
                         layout.checked, layout.popped, IsControlOnDwmCaption(control));
    }

    CSize button = layout.button;
    CSize size(0, 0);
    switch (type)
    {
    case 1:
    case 3:
    case 8:
    case 9:
    case 10:
        if (!layout.captionVisible)
        {
            size = button;
            break;
        }
        if (!withImage)
            button.cx = 22;
        size = MeasureControlCaptionArea(dc, control, rect, layout.draw, FALSE, button, withImage);
        break;
    case 2:
    {
        // A menu bar's titles show no arrow, though they keep its room.
        const BOOL onMenuBar = layout.bar && layout.bar->GetType() == 0;
        if (!withImage)
        {
            const CSize caption = DrawControlCaptionOneLine(dc, control, rect, layout.draw, layout.vertical, TRUE,
                                                            !layout.draw || !onMenuBar);
            size = CSize(caption.cx + 6, caption.cy + 6);
        }
        else if (!layout.captionVisible)
        {
            if (layout.draw)
                DrawDropDownGlyph(dc, control, CPoint(rect.right - 7, (rect.top + rect.bottom) / 2),
                                  layout.selected != 0, layout.popped, layout.enabled != 0, FALSE);
            size = CSize(button.cy + 7, button.cy);
        }
        else
        {
            size = MeasureControlCaptionArea(dc, control, rect, layout.draw, !onMenuBar, button, TRUE);
        }
        break;
    }
    case 4:
        if (!withImage)
            button = CSize(22, 22);
        if (!layout.captionVisible)
        {
            size = CSize(button.cx + m_splitWidth, button.cy);
            break;
        }
        rect.right -= m_splitWidth;
        size = MeasureControlCaptionArea(dc, control, rect, layout.draw, FALSE, button, withImage);
        size.cx += m_splitWidth;
        break;
    default:
        break;
    }
    return ApplyControlCustomSize(size, control, layout.vertical);
}

CSize COSMPaintManager::DrawToolBarCaptionUnder(CDC* dc, COSMControl* control, const ToolBarControlLayout& layout)
{
    COSMFontDC font(dc, control->IsDefaultItem() ? &m_boldFont : &m_regularFont);
    const CSize button = layout.button;
    const BOOL dropDown = layout.type == 2;
    CSize size(0, 0);
    if (!layout.draw)
    {
        const CSize caption = DrawControlCaptionOneLine(dc, control, CRect(0, 0, 0, 0), FALSE, FALSE, TRUE, dropDown);
        size.cy = button.cy + caption.cy;
        size.cx = std::max<int>(button.cx, caption.cx + 10) + (layout.type == 4 ? m_splitWidth : 0);
        size.cx = std::max(size.cx, size.cy);
    }
    else
    {
        CRect rect = layout.rect;
        if (layout.type == 4)
            rect.right -= m_splitWidth;
        DrawControlImage(dc, CPoint((rect.left + rect.right) / 2 - layout.iconSize.cx / 2, rect.top + 4),
                         layout.iconSize, layout.icon, layout.selected, layout.pressed, layout.enabled, layout.checked,
                         layout.popped, IsControlOnDwmCaption(control));
        DrawControlCaptionOneLine(dc, control, CRect(rect.left, rect.top - 4 + button.cy, rect.right, rect.bottom),
                                  TRUE, FALSE, TRUE, dropDown);
    }
    return ApplyControlCustomSize(size, control, layout.vertical);
}

// ---- Edit and combo boxes ----

BOOL IsEditIconVisible(const COSMControl* control)
{
    const COSMCommandBar* bar = control->GetParent();
    const int iconId = control->GetIconIdField();
    if (bar && bar->GetType() == 2)
        return iconId > 0;
    const int style = control->GetStyle();
    return (style == 2 || style == 3) && iconId != 0;
}

CSize COSMPaintManager::DrawEditControl(CDC* dc, COSMControl* control, BOOL draw)
{
    if (!draw)
        return MeasureEditLabel(dc, control, FALSE);
    DrawEditLabel(dc, control);
    return CSize(0, 0);
}

CSize COSMPaintManager::DrawComboBoxControl(CDC* dc, COSMControl* control, BOOL draw)
{
    if (!draw)
        return MeasureEditLabel(dc, control, TRUE);
    DrawEditLabel(dc, control);
    return CSize(0, 0);
}

CSize COSMPaintManager::MeasureEditLabel(CDC* dc, COSMControl* control, BOOL comboBox)
{
    CString caption = control->GetCaption();
    StripMnemonics(caption);
    COSMFontDC font(dc);

    int height = m_largeButtonTextHeight;
    if (height < 1)
    {
        font.SetFont(&GetIconTitleFont());
        height = dc->GetTextExtent(" ", 1).cy + 7;
        if (comboBox)
            height = std::max(height, 20);
    }
    const int dropDownWidth = comboBox ? std::max(::MulDiv(height, 9, 14) + 1, 15) : -1;

    font.SetFont(&m_regularFont);
    const BOOL captionVisible = control->IsCaptionVisible();
    if (captionVisible && m_largeButtonTextHeight == 0)
        height = std::max<int>(height, dc->GetTextExtent(" ", 1).cy + 7);
    const int captionWidth = dc->GetTextExtent(caption).cx + 5;

    COSMCommandBar* bar = control->GetParent();
    int labelWidth = 0;
    CSize size;
    if (!IsPopupBar(bar))
    {
        int iconPart = 0;
        if (IsEditIconVisible(control))
        {
            iconPart = control->GetIconSize().cx + 4;
            const CSize button = comboBox ? (bar ? bar->GetButtonSize() : CSize(0, 0)) : control->GetButtonSize();
            height = std::max<int>(height, button.cy);
        }
        labelWidth = iconPart + (captionVisible ? captionWidth : 0);
        size = CSize(control->GetWidth(), height);
    }
    else
    {
        const int column = GetPopupBarGripperWidth(bar);
        labelWidth = captionWidth + column + m_popupTextGap;
        size = CSize(control->GetWidth() + column, height);
    }

    control->OnLabelMeasured(labelWidth, dropDownWidth);
    return size;
}

void COSMPaintManager::DrawEditLabel(CDC* dc, COSMControl* control)
{
    COSMCommandBar* bar = control->GetParent();
    if (IsPopupBar(bar))
    {
        DrawPopupBarControl(dc, control, TRUE);
        return;
    }
    const CRect rect = control->GetRect();
    const int enabled = control->GetEnabled();
    int x = rect.left + 2;
    if (IsEditIconVisible(control))
    {
        const CSize iconBox = control->GetIconSize();
        COSMImageManagerIcon* icon = control->GetImage(iconBox.cx);
        const CSize fitted = FitImageSize(icon ? icon->GetExtent() : CSize(0, 0), iconBox.cx, iconBox.cy);
        if (icon)
            DrawControlImage(dc, CPoint(rect.left + 3, (rect.top + rect.bottom) / 2 - fitted.cy / 2), fitted, icon,
                             FALSE, FALSE, enabled, FALSE, FALSE, FALSE);
        x = rect.left + 6 + fitted.cx;
    }
    if (!control->IsCaptionVisible())
        return;
    const ControlState state = GetControlState(control);
    COSMFontDC font(dc, &m_regularFont,
                    GetStateTextColor(FALSE, FALSE, enabled, FALSE, FALSE, state.barType, state.barPosition));
    DrawControlCaptionOneLine(dc, control, CRect(x, rect.top, rect.right, rect.bottom), TRUE, FALSE, FALSE, FALSE);
}

// ---- Special buttons of bars ----

CSize COSMPaintManager::DrawSpecialControl(CDC* dc, int kind, COSMControl* control, COSMCommandBar* bar, BOOL draw,
                                           LPVOID extra)
{
    if (!bar && control)
        bar = control->GetParent();
    switch (kind)
    {
    case 0:
        DrawToolBarExpandButton(dc, control, bar, draw, extra);
        return CSize(0, 0);
    case 1:
        // The popup's expand button is 12 tall whether it is drawn or only measured.
        if (draw && control)
        {
            DrawControlBackground(dc, control);
            const CRect rect = control->GetRect();
            const int cx = (rect.left + rect.right) / 2;
            DrawChevrons(dc, RGB(0, 0, 0), CPoint(cx, rect.top), FALSE);
        }
        return CSize(0, 12);
    case 2:
    {
        if (!draw || !control)
            return CSize(0, 0);
        DrawControlBackground(dc, control);
        // Sized without the DC, so the glyph stays that of 8 points at 96 dots per inch on any display.
        CFont marlett;
        marlett.CreatePointFont(::MulDiv(80, 96, dc->GetDeviceCaps(LOGPIXELSY)), "Marlett");
        const BOOL idle = !control->GetPressed() && !control->GetSelected();
        COSMFontDC font(dc, &marlett, idle ? m_floatingCaptionTextColor.GetEffective() : GetControlTextColor(control));
        const int oldMode = dc->SetBkMode(TRANSPARENT);
        CRect rect = control->GetRect();
        dc->DrawText("r", 1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        dc->SetBkMode(oldMode);
        return CSize(0, 0);
    }
    case 3:
    {
        if (!draw || !control)
            return CSize(0, 0);
        DrawControlBackground(dc, control);
        const BOOL idle = !control->GetSelected() && !control->IsPopupOpen();
        const COLORREF color = idle ? m_floatingCaptionTextColor.GetEffective() : GetControlTextColor(control);
        const CPoint centre = control->GetRect().CenterPoint();
        DrawTriangle(dc, CPoint(centre.x - 3, centre.y - 2), CPoint(centre.x + 3, centre.y - 2),
                     CPoint(centre.x, centre.y + 1), color);
        return CSize(0, 0);
    }
    default:
        return CSize(0, 0);
    }
}

void COSMPaintManager::DrawToolBarExpandButton(CDC* dc, COSMControl* control, COSMCommandBar* bar, BOOL draw,
                                               LPVOID extra)
{
    if (!control || !extra)
        return;
    const INT32* values = static_cast<const INT32*>(extra);
    const BOOL vertical = IsVerticalBar(bar);
    if (!draw)
    {
        // An 11-pixel strip at the end of the bar, 2 pixels in from its edges.
        const int cx = values[0];
        const int cy = values[1];
        control->SetRect(vertical ? CRect(2, cy - 13, cx - 2, cy - 2) : CRect(cx - 13, 2, cx - 2, cy - 2));
        return;
    }
    DrawControlBackground(dc, control);
    const COLORREF color = GetControlTextColor(control);
    const BOOL hiddenControls = values[0] != 0;
    const CRect rect = control->GetRect();
    if (vertical)
    {
        DrawTriangle(dc, CPoint(rect.left + 6, rect.top + 3), CPoint(rect.left + 6, rect.top + 7),
                     CPoint(rect.left + 4, rect.top + 5), color);
        if (hiddenControls)
            DrawChevrons(dc, color, CPoint(rect.right - 6, rect.top), FALSE);
        return;
    }
    const int mx = (rect.left + rect.right) / 2;
    DrawTriangle(dc, CPoint(mx - 2, rect.bottom - 7), CPoint(mx + 2, rect.bottom - 7), CPoint(mx, rect.bottom - 5),
                 color);
    if (hiddenControls)
        DrawChevrons(dc, color, CPoint(rect.left, rect.top + 6), TRUE);
}
