// The Office look's controls: popup rows (icon column, check box, marks, split part, sub-menu arrow, labels), split
// buttons, edits with their spin buttons, combo boxes and the customize lists' rows. Measuring and captions stay the
// paint manager's.
#include "framework/themes/OfficeTheme.h"

#include "classlib/DC.h"
#include "classlib/Gdi.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/Control.h"
#include "framework/controls/ControlComboBox.h"
#include "framework/controls/ControlEdit.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/foundation/ImageManagerIcon.h"
#include "framework/themes/ThemeControlHelpers.h"

#include <algorithm>

namespace {

// Selected or pressed by the keyboard.
BOOL IsOfficeKeyboardValue(int value)
{
    return value == 2 || value == 3;
}

constexpr int kOfficeLabelType = 8;
constexpr int kOfficeRadioType = 11;

}  // namespace

// ---- Popup rows ----

CSize COSMOfficeTheme::DrawPopupBarControl(CDC* dc, COSMControl* control, BOOL draw)
{
    COSMFontDC font(dc, GetControlFont(control));
    COSMCommandBar* bar = control->GetParent();
    if (!draw || !bar)
        return COSMPaintManager::DrawPopupBarControl(dc, control, draw);

    const CRect rect = control->GetRect();
    const CSize iconSize = GetControlImageSize(control);
    const int columnWidth = std::max<int>(iconSize.cx, GetRawControlHeight()) + 4;
    const int gripperWidth = GetPopupBarGripperWidth(bar);
    const int type = control->GetType();
    const int selected = control->GetSelected();
    const BOOL enabled = osm_themes::IsControlDrawnEnabled(control);
    const int checked = control->GetChecked();
    const BOOL gripperStyle = (bar->GetBarStyle() & COSMCommandBar::kStyleGripper) != 0;
    const BOOL doubleGripper = bar->IsDoubleGripper();

    if (control->IsHiddenWhenNotUsed() && rect.left < gripperWidth)
        FillPopupBarGripper(dc, rect.left - 1, rect.top, gripperWidth, rect.Height(), TRUE);
    if (type == kOfficeLabelType)
    {
        const int indent = gripperStyle && m_labelIconColumn && gripperWidth >= rect.left ? gripperWidth : 0;
        FillPopupLabelBackground(dc, CRect(rect.left + indent, rect.top, rect.right, rect.bottom));
    }
    else
    {
        DrawStateRectangle(dc, rect, selected, FALSE, enabled, FALSE, FALSE, 2, 5);
    }
    if (type == 4)
        DrawSplitPopupItem(dc, control);

    CRect box(rect.left, rect.top, rect.left + columnWidth, rect.bottom);
    if (!gripperStyle)
        box.OffsetRect(m_popupTextGap / 2, 0);
    const CSize checkSize(iconSize.cx + 4, iconSize.cy + 4);
    const CRect checkBox(osm_themes::CentredIn(box, checkSize), checkSize);
    if (doubleGripper)
        box.OffsetRect(box.Width(), 0);

    if (checked)
        DrawStateRectangle(dc, checkBox, selected, FALSE, enabled, checked, FALSE, 2, 5);
    COSMImageManagerIcon* image =
        control->GetIconId() != 0 && control->GetStyle() != 1 ? control->GetImage(iconSize.cx) : nullptr;
    if (image)
    {
        const CSize fitted = FitImageSize(image->GetExtent(), iconSize.cx, iconSize.cy);
        DrawControlImage(dc, osm_themes::CentredIn(box, fitted), fitted, image, selected, FALSE, enabled, checked,
                         FALSE, FALSE);
    }
    if (checked && (doubleGripper || !image))
    {
        // Black, unless the checked fill is too dark for it to show.
        COLORREF markColor = GetColor(kDisabledIcon);
        if (enabled)
            markColor = COSMColorManager::AreColorsDistinct(RGB(0, 0, 0), GetColor(kCheckedFill), TRUE, 50.0f)
                            ? RGB(0, 0, 0)
                            : RGB(255, 255, 255);
        if (type == kOfficeRadioType)
            DrawMenuRadioMark(dc, checkBox, markColor, enabled);
        else
            DrawMenuCheckMark(dc, checkBox, markColor, enabled);
    }

    dc->SetTextColor(GetControlTextColor(control));
    dc->SetBkMode(TRANSPARENT);
    if (osm_themes::IsSubMenuType(type))
        DrawPopupSubMenuGlyph(dc, control);
    return COSMPaintManager::DrawPopupBarControl(dc, control, TRUE);
}

void COSMOfficeTheme::DrawSplitPopupItem(CDC* dc, COSMControl* control)
{
    const CRect rect = control->GetRect();
    const BOOL enabled = osm_themes::IsControlDrawnEnabled(control);
    const BOOL selected = control->GetSelected() != 0;
    if (control->IsPopupOpen() && selected && enabled)
    {
        FillFramedRect(dc, CRect(rect.right - m_popupSplitWidth, rect.top, rect.right, rect.bottom), kHotFrame,
                       kPressedFill);
        return;
    }
    const COLORREF color = !enabled ? GetControlTextColor(control) : GetColor(selected ? kHotFrame : kShadow);
    VerticalLine(dc, rect.right - m_popupSplitWidth, rect.top + 1, rect.bottom - 1, color);
}

void COSMOfficeTheme::DrawPopupSubMenuGlyph(CDC* dc, COSMControl* control)
{
    const CRect rect = control->GetRect();
    const BOOL openSplit = control->GetType() == 4 && osm_themes::IsControlDrawnEnabled(control) &&
                           control->IsPopupOpen() && control->GetSelected();
    const COLORREF color = openSplit ? GetColor(kPressedText) : GetControlTextColor(control);
    const int mid = (rect.top + rect.bottom) / 2;
    DrawTriangle(dc, CPoint(rect.right - 11, mid - 3), CPoint(rect.right - 8, mid), CPoint(rect.right - 11, mid + 3),
                 color);
}

void COSMOfficeTheme::FillPopupLabelBackground(CDC* dc, CRect rect)
{
    FillFramedRect(dc, rect, kPopupLabelBackground, kPopupLabelBackground);
}

// ---- Split buttons ----

void COSMOfficeTheme::DrawSplitButtonFrame(CDC* dc, COSMControl* control, CRect rect)
{
    const int enabledValue = control->GetEnabled();
    const BOOL enabled = osm_themes::IsControlDrawnEnabled(control);
    const int selected = control->GetSelected();
    const int pressed = control->GetPressed();
    const int checked = control->GetChecked();
    const BOOL popped = control->IsPopupOpen();
    COSMCommandBar* bar = control->GetParent();
    const int position = bar ? bar->GetPosition() : 0;
    const BOOL vertical = GetControlTextOrientation(control) == 1;
    const BOOL active = (selected || pressed) && !popped && enabled;

    if (control->GetStyle() == 4)
    {
        const int depth = GetSplitButtonDropDownWidth();
        CRect command = rect;
        if (vertical)
            command.left = rect.left + depth;
        else
            command.bottom = rect.bottom - depth;
        const BOOL commandPressed = selected && pressed && enabled && !popped;
        DrawStateRectangle(dc, rect, selected, commandPressed ? FALSE : pressed, enabled, checked, popped, 1, position);
        if (active)
        {
            if (vertical)
                VerticalLine(dc, command.left, rect.top, rect.bottom, GetColor(kHotFrame));
            else
                HorizontalLine(dc, rect.left, command.bottom - 1, rect.right, GetColor(kHotFrame));
        }
        if (commandPressed)
            DrawStateRectangle(dc, command, selected, pressed, enabled, checked, popped, 1, position);
        return;
    }

    const int splitWidth = popped ? 0 : m_splitWidth;
    DrawStateRectangle(dc, CRect(rect.left, rect.top, rect.right - splitWidth, rect.bottom), selected, pressed, enabled,
                       checked, popped, 1, position);
    if (active)
        DrawStateRectangle(dc, CRect(rect.right - splitWidth - 1, rect.top, rect.right, rect.bottom), TRUE, FALSE, TRUE,
                           FALSE, FALSE, 1, position);
    DrawDropDownGlyph(dc, control, CPoint(rect.right - 7, (rect.top + rect.bottom) / 2), selected, popped,
                      enabledValue == 4 ? FALSE : enabled, vertical);
}

// ---- Edits and combo boxes ----

CSize COSMOfficeTheme::DrawEditControl(CDC* dc, COSMControl* control, BOOL draw)
{
    if (!draw)
        return COSMPaintManager::DrawEditControl(dc, control, FALSE);
    COSMPaintManager::DrawEditControl(dc, control, TRUE);
    auto* edit = dynamic_cast<COSMControlEdit*>(control);
    const int labelWidth = edit ? edit->GetLabelWidth() : 0;
    const BOOL spin = edit && edit->GetShowSpinButtons();
    const CRect rect = control->GetRect();
    const BOOL enabled = osm_themes::IsControlDrawnEnabled(control);
    const int selected = control->GetSelected();
    const COSMCommandBar* bar = control->GetParent();
    const BOOL onPopup = bar && bar->GetType() == 2;
    CRect area(rect.left + labelWidth, rect.top, rect.right, rect.bottom);
    if (!enabled)
    {
        area.left += 1;
        FillFramedRect(dc, area, IsOfficeKeyboardValue(selected) ? kHotFrame : kDisabledIcon, kFace);
    }
    else
    {
        const CRect inside(CPoint(area.left + 1, area.top + 1),
                           CSize(area.Width() - (spin ? 18 : 2), area.Height() - 2));
        FillFramedRect(dc, inside, kWindow, kWindow);
        if (selected)
            FillFramedRect(dc, area, kHotFrame, -1);
        else if (onPopup)
            FillFramedRect(dc, area, kPopupEditFrame, -1);
    }
    if (edit)
    {
        edit->DrawEditIcon(dc, CRect(rect.left + labelWidth + 3, rect.top + 1, rect.right - 3, rect.bottom - 1));
        if (spin)
            DrawEditSpinButtons(dc, control);
    }
    return CSize(0, 0);
}

void COSMOfficeTheme::DrawEditSpinButtons(CDC* dc, COSMControl* control)
{
    auto* edit = dynamic_cast<COSMControlEdit*>(control);
    if (!edit)
        return;
    const CRect spin = edit->GetSpinButtonsRect();
    if (spin.IsRectEmpty())
        return;
    const int middle = spin.top + spin.Height() / 2;
    const CRect upper(spin.left, spin.top, spin.right, middle);
    const CRect lower(spin.left, middle, spin.right, spin.bottom);
    const BOOL enabled = osm_themes::IsControlDrawnEnabled(control);
    if (enabled && control->GetSelected())
    {
        FillFramedRect(dc, spin, kHotFill, kHotFill);
        const int pressed = control->GetPressed();
        if (pressed == 4)
            FillFramedRect(dc, upper, kPressedFill, kPressedFill);
        else if (pressed == 5)
            FillFramedRect(dc, lower, kPressedFill, kPressedFill);
        VerticalLine(dc, spin.left, spin.top, spin.bottom, GetColor(kHotFrame));
        HorizontalLine(dc, spin.left, middle, spin.right, GetColor(kHotFrame));
    }
    else if (enabled)
    {
        FillFramedRect(dc, spin, kWindow, -1);
    }
    const COLORREF arrow = GetColor(enabled ? kButtonText : kGrayText);
    const CPoint up = upper.CenterPoint();
    DrawTriangle(dc, up, CPoint(up.x - 2, up.y + 2), CPoint(up.x + 2, up.y + 2), arrow);
    const CPoint down = lower.CenterPoint();
    DrawTriangle(dc, down, CPoint(down.x - 2, down.y - 2), CPoint(down.x + 2, down.y - 2), arrow);
}

CSize COSMOfficeTheme::DrawComboBoxControl(CDC* dc, COSMControl* control, BOOL draw)
{
    if (!draw)
        return COSMPaintManager::DrawComboBoxControl(dc, control, FALSE);
    COSMFontDC font(dc, &GetIconTitleFont());
    COSMPaintManager::DrawComboBoxControl(dc, control, TRUE);
    const osm_themes::ComboBoxParts parts(control);
    const COSMCommandBar* bar = control->GetParent();
    const BOOL onPopup = bar && bar->GetType() == 2;
    const int position = bar ? bar->GetPosition() : 0;
    CRect area = parts.area;
    CRect button = parts.button;
    const int textRight = button.left;
    if (!parts.enabled)
    {
        area.left += 1;
        FillFramedRect(dc, area, IsOfficeKeyboardValue(parts.selected) ? kHotFrame : kDisabledIcon, kFace);
        button.DeflateRect(1, 1);
    }
    else
    {
        FillFramedRect(dc, CRect(area.left + 1, area.top + 1, button.left + 1, area.bottom - 1), kWindow, kWindow);
        if (parts.selected)
        {
            FillFramedRect(dc, area, kHotFrame, kWindow);
            DrawStateRectangle(dc, button, TRUE, parts.dropped, TRUE, FALSE, FALSE, 1, position);
            button.DeflateRect(1, 1);
        }
        else
        {
            button.DeflateRect(1, 1);
            if (onPopup)
            {
                FillFramedRect(dc, area, kPopupEditFrame, -1);
                FillFramedRect(dc, button, kWindow, kPopupEditFrame);
            }
            else
            {
                FillFramedRect(dc, button, kWindow, -1);
            }
        }
    }
    if (parts.combo)
        parts.combo->DrawComboText(dc, CRect(area.left + 3, area.top + 1, textRight, area.bottom - 1));
    const int arrow = !parts.enabled   ? kDisabledIcon
                      : parts.dropped  ? kPressedText
                      : parts.selected ? kSelectedText
                                       : kToolBarText;
    DrawDownTriangle(dc, button, GetColor(arrow));
    return CSize(0, 0);
}

// ---- Customize list rows ----

CSize COSMOfficeTheme::DrawListBoxControl(CDC* dc, COSMControl* control, CRect rect, BOOL selected, BOOL draw,
                                          COSMCommandBars* commandBars)
{
    CSize iconSize = GetAutoIconSize(FALSE);
    if (commandBars && commandBars->GetCommandBarsOptions())
    {
        const CSize popupIcons = commandBars->GetCommandBarsOptions()->m_popupIconsSize;
        if (popupIcons.cx != 0 && popupIcons.cy != 0)
            iconSize = popupIcons;
    }
    const int columnWidth = std::max<int>(iconSize.cx, GetRawControlHeight()) + 4;
    const CSize size(columnWidth, std::max<int>(GetRawControlHeight(), iconSize.cy + 6));
    if (!draw)
        return size;
    FillFramedRect(dc, rect, kPopupBackground, kPopupBackground);
    FillPopupBarGripper(dc, 0, rect.top, columnWidth + 1, rect.Height(), FALSE);
    if (!control)
        return size;

    if (selected)
        DrawStateRectangle(dc, rect, selected, FALSE, TRUE, FALSE, FALSE, 2, 5);
    const int type = control->GetType();
    const int style = control->GetStyle();
    const BOOL imageShown = (style == 0 && type != 2) || style == 2 || style == 3;
    COSMImageManagerIcon* image = imageShown ? control->GetImage(iconSize.cx) : nullptr;
    if (image)
    {
        const CSize fitted = FitImageSize(image->GetExtent(), iconSize.cx, iconSize.cy);
        const CRect column(rect.left, rect.top, rect.left + columnWidth, rect.bottom);
        DrawControlImage(dc, osm_themes::CentredIn(column, fitted), fitted, image, selected, FALSE, TRUE, FALSE, FALSE,
                         FALSE);
    }

    const COLORREF textColor = GetStateTextColor(selected, FALSE, TRUE, FALSE, FALSE, 2, 5);
    COSMFontDC font(dc, &GetRegularFont(), textColor);
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    CString caption = control->GetCaption();
    StripMnemonics(caption);
    CRect captionRect(rect.left + columnWidth + 8, rect.top, rect.right, rect.bottom);
    const int mid = (rect.top + rect.bottom) / 2;
    if (osm_themes::IsSubMenuType(type))
    {
        DrawTriangle(dc, CPoint(rect.right - 7, mid), CPoint(rect.right - 12, mid - 5),
                     CPoint(rect.right - 12, mid + 5), textColor);
        captionRect.right -= 7;
        if (type == 4)
        {
            VerticalLine(dc, rect.right - 20, rect.top + 1, rect.bottom - 1, GetColor(selected ? kHotFrame : kShadow));
            captionRect.right = rect.right - 20;
        }
    }
    dc->DrawText(caption, caption.GetLength(), &captionRect,
                 DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);

    if (type == 5 || type == 6)
    {
        const int captionWidth = dc->GetTextExtent(caption).cx;
        const CRect value(rect.left + columnWidth + 13 + captionWidth, rect.top, rect.right, rect.bottom);
        FillFramedRect(dc, value, selected ? kHotFrame : kFace, kWindow);
        if (type == 5)
        {
            const int width = dc->GetTextExtent(" ", 1).cy + 2;
            CRect button(value.right - width, value.top, value.right, value.bottom);
            if (selected)
            {
                DrawStateRectangle(dc, button, TRUE, FALSE, TRUE, FALSE, FALSE, 2, 5);
            }
            else
            {
                CRect inside = button;
                inside.DeflateRect(2, 2);
                FillFramedRect(dc, inside, kFace, kFace);
            }
            button.DeflateRect(1, 1);
            DrawDownTriangle(dc, button, GetColor(selected ? kSelectedText : kToolBarText));
        }
    }
    dc->SetBkMode(oldMode);
    return size;
}
