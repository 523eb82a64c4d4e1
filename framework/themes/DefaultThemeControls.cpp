// The Default look's controls: popup rows (state, marks, icons, sub-menu arrows), split-button frames, edits with
// their spin buttons, combo boxes and the customize lists' rows. Measuring and captions stay the paint manager's.
#include "framework/themes/DefaultTheme.h"

#include "classlib/DC.h"
#include "classlib/Gdi.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/Control.h"
#include "framework/controls/ControlComboBox.h"
#include "framework/controls/ControlEdit.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/foundation/ImageManagerIcon.h"
#include "framework/themes/ThemeControlHelpers.h"

#include <algorithm>

// ---- Popup rows ----

CSize COSMDefaultTheme::DrawPopupBarControl(CDC* dc, COSMControl* control, BOOL draw)
{
    COSMFontDC font(dc, GetControlFont(control));
    COSMCommandBar* bar = control->GetParent();
    if (!draw || !bar)
        return COSMPaintManager::DrawPopupBarControl(dc, control, draw);

    const CRect rect = control->GetRect();
    const CSize iconSize = GetControlImageSize(control);
    const CSize boxSize(std::max<int>(GetRawControlHeight(), iconSize.cx + 4),
                        std::max<int>(GetRawControlHeight(), iconSize.cy + 4));
    CRect box(rect.left, rect.top, rect.left + boxSize.cx, rect.bottom);
    const CRect markRect(osm_themes::CentredIn(box, CSize(20, 20)), CSize(20, 20));
    CRect textRect = rect;

    const int selected = control->GetSelected();
    const BOOL enabled = osm_themes::IsControlDrawnEnabled(control);
    const int checked = control->GetChecked();
    const BOOL doubleGripper = bar->IsDoubleGripper();

    if (control->IsHiddenWhenNotUsed())
    {
        FillFramedRect(dc, rect, kLight, kLight);
        const int gripper = GetPopupBarGripperWidth(bar);
        if (rect.left < gripper)
            FillPopupBarGripper(dc, rect.left - 1, rect.top, gripper + 1, rect.Height(), TRUE);
    }

    const COLORREF textColor = GetStateTextColor(selected, FALSE, enabled, FALSE, FALSE, 2, 5);
    dc->SetTextColor(textColor);
    if (m_popupFullRowHighlight && selected)
        DrawStateRectangle(dc, rect, selected, FALSE, TRUE, FALSE, FALSE, 2, 5);
    if (checked)
    {
        DrawStateRectangle(dc, box, selected, FALSE, enabled, checked, FALSE, 2, 5);
        textRect.left = box.right + 1;
    }
    if (doubleGripper)
        box.OffsetRect(box.Width() + 1, 0);

    COSMImageManagerIcon* image =
        control->GetIconId() != 0 && control->GetStyle() != 1 ? control->GetImage(iconSize.cx) : nullptr;
    if (image)
    {
        const CSize fitted = FitImageSize(image->GetExtent(), iconSize.cx, iconSize.cy);
        if (!m_popupFullRowHighlight)
            DrawStateRectangle(dc, box, selected, FALSE, enabled, doubleGripper ? 0 : checked, FALSE, 1, 5);
        DrawControlImage(dc, osm_themes::CentredIn(box, fitted), fitted, image, selected, FALSE, enabled, checked,
                         FALSE, FALSE);
        textRect.left = box.right + 1;
    }
    if (checked && (!image || doubleGripper))
    {
        const COLORREF markColor = GetColor(enabled ? PopupBarTextColor : kGrayText);
        if (control->GetType() == 11)
            DrawMenuRadioMark(dc, markRect, markColor, enabled);
        else
            DrawMenuCheckMark(dc, markRect, markColor, enabled);
    }

    dc->SetBkMode(TRANSPARENT);
    DrawPopupRowArrowPart(dc, control, textRect, selected, enabled, textColor);
    return COSMPaintManager::DrawPopupBarControl(dc, control, TRUE);
}

void COSMDefaultTheme::DrawPopupRowArrowPart(CDC* dc, COSMControl* control, CRect& textRect, BOOL selected,
                                             BOOL enabled, COLORREF textColor)
{
    const CRect rect = control->GetRect();
    const int type = control->GetType();
    const BOOL popped = control->IsPopupOpen();
    auto selectedState = [&](const CRect& part) {
        if (selected && !m_popupFullRowHighlight)
            DrawStateRectangle(dc, part, selected, FALSE, TRUE, FALSE, FALSE, 2, 5);
    };
    if (!osm_themes::IsSubMenuType(type))
    {
        selectedState(textRect);
        return;
    }
    COLORREF arrowColor = textColor;
    if (type == 4)
    {
        if (popped && selected && enabled)
        {
            textRect.right -= 20;
            DrawSunkenFrame(dc, CRect(rect.right - 20, rect.top, rect.right, rect.bottom));
            selectedState(textRect);
        }
        else
        {
            selectedState(textRect);
            const COLORREF lineColor = !enabled ? textColor : GetColor(selected ? kShadow : PopupBarTextColor);
            VerticalLine(dc, rect.right - 20, rect.top + 1, rect.bottom - 1, lineColor);
        }
        if (!m_popupFullRowHighlight && popped && selected)
            arrowColor = GetColor(PopupBarTextColor);
    }
    else
    {
        selectedState(textRect);
    }
    const int mid = (rect.top + rect.bottom) / 2;
    DrawTriangle(dc, CPoint(rect.right - 11, mid - 3), CPoint(rect.right - 8, mid), CPoint(rect.right - 11, mid + 3),
                 arrowColor);
}

// ---- Split buttons ----

void COSMDefaultTheme::DrawSplitButtonFrame(CDC* dc, COSMControl* control, CRect rect)
{
    const int enabledValue = control->GetEnabled();
    const BOOL enabled = osm_themes::IsControlDrawnEnabled(control);
    const int selected = control->GetSelected();
    const int pressed = control->GetPressed();
    const BOOL popped = control->IsPopupOpen();
    COSMCommandBar* bar = control->GetParent();
    const int position = bar ? bar->GetPosition() : 0;
    const BOOL vertical = GetControlTextOrientation(control) == 1;

    CRect command = rect;
    CRect dropDown = rect;
    const BOOL large = control->GetStyle() == 4;
    if (large)
    {
        const int depth = GetSplitButtonDropDownWidth();
        if (vertical)
            command.left = dropDown.right = rect.left + depth;
        else
            command.bottom = dropDown.top = rect.bottom - depth;
    }
    else
    {
        command.right = dropDown.left = rect.right - 12;
    }
    DrawStateRectangle(dc, command, selected || popped, pressed, enabled, control->GetChecked(), FALSE, 1, position);
    if ((selected || pressed || popped) && enabled)
        DrawStateRectangle(dc, dropDown, TRUE, FALSE, enabled, FALSE, popped, 1, position);
    if (!large)
        DrawDropDownGlyph(dc, control, CPoint(rect.right - 7, (rect.top + rect.bottom) / 2), selected, popped,
                          enabledValue == 4 ? FALSE : enabled, vertical);
}

// ---- Edits and combo boxes ----

CSize COSMDefaultTheme::DrawEditControl(CDC* dc, COSMControl* control, BOOL draw)
{
    if (!draw)
        return COSMPaintManager::DrawEditControl(dc, control, FALSE);
    COSMPaintManager::DrawEditControl(dc, control, TRUE);
    auto* edit = dynamic_cast<COSMControlEdit*>(control);
    const int labelWidth = edit ? edit->GetLabelWidth() : 0;
    const CRect rect = control->GetRect();
    const BOOL enabled = osm_themes::IsControlDrawnEnabled(control);
    CRect area(rect.left + labelWidth, rect.top, rect.right, rect.bottom);
    if (enabled)
    {
        CRect inside = area;
        inside.DeflateRect(1, 1);
        FillFramedRect(dc, inside, kWindow, kWindow);
    }
    DrawEditControlFrame(dc, area, enabled, control->GetSelected());
    if (edit)
    {
        edit->DrawEditIcon(dc, CRect(rect.left + labelWidth + 3, rect.top + 1, rect.right - 3, rect.bottom - 1));
        if (edit->GetShowSpinButtons())
            DrawEditSpinButtons(dc, control);
    }
    return CSize(0, 0);
}

void COSMDefaultTheme::DrawEditControlFrame(CDC* dc, CRect rect, BOOL enabled, int selected)
{
    CRect inside = rect;
    inside.DeflateRect(1, 1);
    if (enabled)
    {
        if (selected)
            DrawSunkenFrame(dc, rect);
        Draw3dRectIndexed(dc, inside, kFace, kFace);
        return;
    }
    const int edge = selected == 2 || selected == 3 ? kShadow : kHighlightEdge;
    Draw3dRectIndexed(dc, inside, edge, edge);
}

void COSMDefaultTheme::DrawEditSpinButtons(CDC* dc, COSMControl* control)
{
    auto* edit = dynamic_cast<COSMControlEdit*>(control);
    if (!edit)
        return;
    const CRect spin = edit->GetSpinButtonsRect();
    if (spin.IsRectEmpty())
        return;
    const int middle = spin.top + spin.Height() / 2;
    const CRect upper(spin.left + 1, spin.top + 1, spin.right - 1, middle);
    const CRect lower(spin.left + 1, middle, spin.right - 1, spin.bottom - 1);
    const BOOL enabled = osm_themes::IsControlDrawnEnabled(control);
    const BOOL selected = control->GetSelected() != 0;
    const int pressed = control->GetPressed();
    if (enabled && selected)
    {
        FillFramedRect(dc, spin, kFace, kFace);
        if (pressed == 4)
            Draw3dRectIndexed(dc, upper, kShadow, kWindow);
        else
            Draw3dRectIndexed(dc, upper, kWindow, kShadow);
        if (pressed == 5)
            Draw3dRectIndexed(dc, lower, kShadow, kWindow);
        else
            Draw3dRectIndexed(dc, lower, kWindow, kShadow);
    }
    else if (enabled)
    {
        CRect face = spin;
        face.DeflateRect(1, 1);
        FillFramedRect(dc, face, kWindow, kFace);
    }
    const COLORREF arrow = GetColor(enabled ? kButtonText : kGrayText);
    const CPoint up = upper.CenterPoint();
    DrawTriangle(dc, CPoint(up.x, up.y - 1), CPoint(up.x - 2, up.y + 1), CPoint(up.x + 2, up.y + 1), arrow);
    const CPoint down = lower.CenterPoint();
    DrawTriangle(dc, CPoint(down.x, down.y + 1), CPoint(down.x - 2, down.y - 1), CPoint(down.x + 2, down.y - 1), arrow);
}

CSize COSMDefaultTheme::DrawComboBoxControl(CDC* dc, COSMControl* control, BOOL draw)
{
    if (!draw)
        return COSMPaintManager::DrawComboBoxControl(dc, control, FALSE);
    COSMFontDC font(dc, &GetIconTitleFont());
    COSMPaintManager::DrawComboBoxControl(dc, control, TRUE);
    const osm_themes::ComboBoxParts parts(control);
    if (parts.enabled)
    {
        CRect inside = parts.area;
        inside.DeflateRect(1, 1);
        FillFramedRect(dc, inside, kWindow, kWindow);
    }
    if (parts.combo)
        parts.combo->DrawComboText(
            dc, CRect(parts.area.left + 3, parts.area.top + 1, parts.button.left + 1, parts.area.bottom - 1));
    DrawComboBoxDropDownButton(dc, parts.button, parts.enabled, parts.selected, parts.dropped);
    DrawEditControlFrame(dc, parts.area, parts.enabled, parts.selected);
    return CSize(0, 0);
}

void COSMDefaultTheme::DrawComboBoxDropDownButton(CDC* dc, CRect rect, BOOL enabled, BOOL selected, BOOL dropped)
{
    CRect face(rect.left + 1, rect.top + 2, rect.right - 2, rect.bottom - 2);
    CRect glyph = face;
    if (enabled)
    {
        FillFramedRect(dc, face, kFace, kFace);
        if (dropped || selected)
            VerticalLine(dc, face.left - 1, face.top, face.bottom, GetColor(kFace));
        if (dropped)
        {
            DrawSunkenFrame(dc, face);
            glyph.OffsetRect(1, 1);
        }
        else if (selected)
        {
            DrawRaisedFrame(dc, face);
        }
        else
        {
            Draw3dRectIndexed(dc, face, kHighlightEdge, kHighlightEdge);
        }
    }
    DrawDownTriangle(dc, glyph, GetColor(kButtonText));
}

// ---- Customize list rows ----

CSize COSMDefaultTheme::DrawListBoxControl(CDC* dc, COSMControl* control, CRect rect, BOOL selected, BOOL draw,
                                           COSMCommandBars* commandBars)
{
    CSize iconSize = GetAutoIconSize(FALSE);
    if (commandBars && commandBars->GetCommandBarsOptions())
    {
        const CSize popupIcons = commandBars->GetCommandBarsOptions()->m_popupIconsSize;
        if (popupIcons.cx != 0 && popupIcons.cy != 0)
            iconSize = popupIcons;
    }
    const CSize boxSize(std::max<int>(GetRawControlHeight(), iconSize.cx + 4),
                        std::max<int>(GetRawControlHeight(), iconSize.cy + 4));
    if (!draw)
        return boxSize;
    if (!control)
    {
        FillFramedRect(dc, rect, kFace, kFace);
        return boxSize;
    }

    FillFramedRect(dc, rect, kFace, kFace);
    const int type = control->GetType();
    const int style = control->GetStyle();
    const BOOL imageShown = (style == 0 && type != 2) || style == 2 || style == 3;
    const CRect box(rect.left, rect.top, rect.left + boxSize.cx, rect.bottom);
    COSMImageManagerIcon* image = imageShown ? control->GetImage(iconSize.cx) : nullptr;
    if (image)
    {
        DrawStateRectangle(dc, box, selected, FALSE, TRUE, FALSE, FALSE, 1, 5);
        const CSize fitted = FitImageSize(image->GetExtent(), iconSize.cx, iconSize.cy);
        image->Draw(dc, osm_themes::CentredIn(box, fitted), image->GetIcon(), fitted);
    }
    if (selected)
        FillFramedRect(dc, CRect(image ? box.right + 1 : rect.left + 1, rect.top, rect.right - 1, rect.bottom),
                       kHighlight, kHighlight);

    const int textIndex = selected ? kHighlightText : kButtonText;
    const COLORREF textColor = GetColor(textIndex);
    COSMFontDC font(dc, &GetRegularFont(), textColor);
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    CString caption = control->GetCaption();
    StripMnemonics(caption);
    CRect captionRect(rect.left + boxSize.cx + 4, rect.top, rect.right, rect.bottom);
    dc->DrawText(caption, caption.GetLength(), &captionRect,
                 DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);

    const int mid = (rect.top + rect.bottom) / 2;
    if (osm_themes::IsSubMenuType(type))
    {
        DrawTriangle(dc, CPoint(rect.right - 7, mid), CPoint(rect.right - 12, mid - 5),
                     CPoint(rect.right - 12, mid + 5), textColor);
        if (type == 4)
            DrawLineIndexed(dc, rect.right - 20, rect.top + 1, rect.right - 20, rect.bottom - 1, textIndex);
    }
    if (type == 5 || type == 6)
    {
        const int captionWidth = dc->GetTextExtent(caption).cx;
        const CRect value(rect.left + boxSize.cx + 9 + captionWidth, rect.top, rect.right, rect.bottom);
        FillFramedRect(dc, value, selected ? kHighlight : kFace, kWindow);
        if (type == 5)
        {
            const int width = dc->GetTextExtent(" ", 1).cy + 2;
            CRect button(value.right - width, value.top, value.right, value.bottom);
            if (selected)
            {
                FillFramedRect(dc, button, kHighlight, kFace);
            }
            else
            {
                CRect inside = button;
                inside.DeflateRect(2, 2);
                FillFramedRect(dc, inside, kFace, kFace);
            }
            button.DeflateRect(1, 1);
            DrawDownTriangle(dc, button, GetColor(kButtonText));
        }
    }
    dc->SetBkMode(oldMode);
    return boxSize;
}
