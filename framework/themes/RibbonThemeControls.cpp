// The Ribbon look's fields and small parts: combo boxes and edits with their spin buttons, the toolbar expand button,
// keyboard tips, split popup rows and the menu marks, each from the resources' pictures and each drawn the way the
// look below draws it when its picture is missing.
#include "framework/themes/RibbonTheme.h"

#include "classlib/DC.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBarKeyboardTip.h"
#include "framework/commandbars/Control.h"
#include "framework/controls/ControlComboBox.h"
#include "framework/controls/ControlEdit.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/themes/Office2007Images.h"
#include "framework/themes/ThemeControlHelpers.h"

#include <algorithm>

namespace {

const COLORREF kRibbonFieldMagenta = RGB(255, 0, 255);
// Pictures of spin glyphs fit halves at least this wide and high; smaller halves take the small strip.
const int kRibbonLargeSpinGlyph = 13;

BOOL IsRibbonKeyboardSelection(int value)
{
    return value == 2 || value == 3;
}

BOOL IsOnRibbonPopupBar(const COSMControl* control)
{
    const COSMCommandBar* bar = control->GetParent();
    return bar && bar->GetType() == 2;
}

// A picture's state drawn at its own size, centred in rect.
void DrawRibbonCentredState(CDC* dc, COSMOffice2007Image* image, CRect rect, int state, int count, BOOL glass)
{
    const CRect source = image->GetStateRect(state, count);
    const CPoint at(rect.left + (rect.Width() - source.Width()) / 2, rect.top + (rect.Height() - source.Height()) / 2);
    image->DrawImageFlags(dc, CRect(at, source.Size()), source, CRect(0, 0, 0, 0), kRibbonFieldMagenta, glass ? 1 : 0);
}

}  // namespace

// ---- Fields ----

void COSMRibbonTheme::DrawRibbonField(CDC* dc, CRect rect, COLORREF fill, int frameIndex)
{
    if (fill != COSMPaintManagerColor::kNone)
        dc->FillSolidRect(rect, fill);
    const COLORREF frame = GetColor(frameIndex);
    if (frame != COSMPaintManagerColor::kNone)
        dc->Draw3dRect(rect, frame, frame);
}

COLORREF COSMRibbonTheme::GetControlEditBackColor(COSMControl* control)
{
    if (!control->GetEnabled())
        return GetColor(COLOR_BTNFACE);
    if (control->GetSelected())
        return GetColor(COLOR_WINDOW);
    if (IsOnRibbonPopupBar(control))
        return GetColor(41);
    // Without a theme text the field keeps the window colour rather than no colour at all.
    return EditBackColor != COSMPaintManagerColor::kNone ? EditBackColor : GetColor(COLOR_WINDOW);
}

CSize COSMRibbonTheme::DrawComboBoxControl(CDC* dc, COSMControl* control, BOOL draw)
{
    if (!draw)
        return COSMPaintManager::DrawComboBoxControl(dc, control, FALSE);
    COSMOffice2007Image* image = LoadImage("TOOLBARBUTTONSCOMBODROPDOWN");
    if (!image)
        return COSMOffice2007Theme::DrawComboBoxControl(dc, control, TRUE);

    COSMFontDC font(dc, &GetCaptionFont());
    COSMPaintManager::DrawComboBoxControl(dc, control, TRUE);
    const osm_themes::ComboBoxParts parts(control);

    COLORREF fill;
    int state;
    if (!parts.enabled)
    {
        fill = GetColor(COLOR_BTNFACE);
        state = 4;
    }
    else if (parts.dropped)
    {
        fill = GetColor(COLOR_WINDOW);
        state = 3;
    }
    else if (!parts.selected)
    {
        fill = IsOnRibbonPopupBar(control) ? COSMPaintManagerColor::kNone : EditBackColor;
        state = 0;
    }
    else
    {
        fill = GetColor(COLOR_WINDOW);
        // A field that is typed into shows the hot button only while it has the focus or the keyboard is on it.
        const BOOL typedInto = parts.combo && parts.combo->GetEditCtrl();
        state = !typedInto || control->IsFocused() || IsRibbonKeyboardSelection(parts.selected) ? 2 : 1;
    }
    DrawRibbonField(dc, parts.area, fill, 53);
    const BOOL glass = IsControlOnDwmCaption(control);
    image->DrawImageFlags(dc, parts.button, image->GetStateRect(state, 5), CRect(2, 2, 2, 2), kRibbonFieldMagenta,
                          glass ? 1 : 0);
    if (parts.combo)
        parts.combo->DrawComboText(
            dc, CRect(parts.area.left + 3, parts.area.top + 1, parts.button.left, parts.area.bottom - 1));
    DrawDropDownGlyph(dc, control, parts.button.CenterPoint(), parts.selected, parts.dropped, parts.enabled, FALSE);
    if (glass)
        MakeRectOpaque(dc, parts.rect);
    return CSize(0, 0);
}

CSize COSMRibbonTheme::DrawEditControl(CDC* dc, COSMControl* control, BOOL draw)
{
    if (!draw)
        return COSMPaintManager::DrawEditControl(dc, control, FALSE);
    const BOOL enabled = control->GetEnabled() != 0;
    const int selected = control->GetSelected();
    const BOOL onPopup = IsOnRibbonPopupBar(control);
    if (onPopup)
        dc->SetTextColor(GetColor(!enabled ? 35 : selected ? 45 : 44));
    else
        dc->SetTextColor(GetColor(enabled ? 46 : 60));
    COSMPaintManager::DrawEditControl(dc, control, TRUE);

    auto* edit = dynamic_cast<COSMControlEdit*>(control);
    const int labelWidth = edit ? edit->GetLabelWidth() : 0;
    const CRect rect = control->GetRect();
    const CRect area(rect.left + labelWidth, rect.top, rect.right, rect.bottom);
    if (!enabled)
        DrawRibbonField(dc, area, GetColor(COLOR_BTNFACE), IsRibbonKeyboardSelection(selected) ? 32 : 53);
    else if (selected)
        DrawRibbonField(dc, area, GetColor(COLOR_WINDOW), 53);
    else
        DrawRibbonField(dc, area, onPopup ? COSMPaintManagerColor::kNone : EditBackColor, 53);
    if (!edit)
        return CSize(0, 0);
    edit->DrawEditIcon(dc, CRect(rect.left + labelWidth + 3, rect.top + 1, rect.right - 3, rect.bottom - 1));
    if (edit->GetShowSpinButtons() && !DrawSpinButtonImages(dc, control, edit->GetSpinButtonsRect(), enabled))
        DrawEditSpinButtons(dc, control);
    return CSize(0, 0);
}

int COSMRibbonTheme::GetSpinUpperState(COSMControl* control)
{
    const int selected = control->GetSelected();
    if (!control->GetEnabled())
        return 4;
    if (selected && control->GetPressed() == 4)
        return 3;
    if (selected == 4)
        return 2;
    return selected ? 1 : 0;
}

int COSMRibbonTheme::GetSpinLowerState(COSMControl* control)
{
    const int selected = control->GetSelected();
    if (!control->GetEnabled())
        return 9;
    if (control->GetPressed() == 5)
        return 8;
    if (selected == 5)
        return 7;
    return selected ? 6 : 5;
}

BOOL COSMRibbonTheme::DrawSpinButtonImages(CDC* dc, COSMControl* control, CRect spin, BOOL enabled)
{
    if (spin.IsRectEmpty())
        return TRUE;
    const int middle = spin.top + spin.Height() / 2;
    const CRect upper(spin.left, spin.top, spin.right, middle);
    const CRect lower(spin.left, middle, spin.right, spin.bottom);
    // One strip for both halves, so an odd height does not give them glyphs of two sizes.
    const BOOL small = spin.Width() < kRibbonLargeSpinGlyph || upper.Height() < kRibbonLargeSpinGlyph ||
                       lower.Height() < kRibbonLargeSpinGlyph;
    COSMOffice2007Image* arrows = LoadImage("TOOLBARBUTTONSPINARROWSVERTICAL");
    COSMOffice2007Image* glyphs = LoadImage(small ? "TOOLBARBUTTONSPINARROWGLYPHS" : "CONTROLGALLERYSCROLLARROWGLYPHS");
    if (!arrows || !glyphs)
        return FALSE;
    const BOOL glass = IsControlOnDwmCaption(control);
    arrows->DrawImageFlags(dc, upper, arrows->GetStateRect(GetSpinUpperState(control), 10), CRect(0, 0, 0, 0),
                           kRibbonFieldMagenta, glass ? 1 : 0);
    arrows->DrawImageFlags(dc, lower, arrows->GetStateRect(GetSpinLowerState(control), 10), CRect(0, 0, 0, 0),
                           kRibbonFieldMagenta, glass ? 1 : 0);
    const int selected = control->GetSelected();
    const int pressed = control->GetPressed();
    auto glyphState = [&](int part) {
        return !enabled ? 3 : pressed == part || selected == part ? 2 : selected ? 1 : 0;
    };
    DrawRibbonCentredState(dc, glyphs, upper, glyphState(4), 16, glass);
    DrawRibbonCentredState(dc, glyphs, lower, glyphState(5) + 4, 16, glass);
    return TRUE;
}

// ---- The toolbar expand button ----

CSize COSMRibbonTheme::DrawSpecialControl(CDC* dc, int kind, COSMControl* control, COSMCommandBar* bar, BOOL draw,
                                          LPVOID param)
{
    if (!bar && control)
        bar = control->GetParent();
    const int position = bar ? bar->GetPosition() : 0;
    const BOOL vertical = position == 2 || position == 3 || position == 5;
    COSMOffice2007Image* image = kind == 0 && control && param ? LoadImage(vertical ? "TOOLBAREXPANDBUTTONVERTICAL"
                                                                                    : "TOOLBAREXPANDBUTTONHORIZONTAL")
                                                               : nullptr;
    if (!image)
        return COSMOffice2007Theme::DrawSpecialControl(dc, kind, control, bar, draw, param);

    const INT32* values = static_cast<const INT32*>(param);
    if (!draw)
    {
        // A 12-pixel strip at the bar's end.
        const int cx = values[0];
        const int cy = values[1];
        control->SetRect(vertical ? CRect(0, cy - 12, cx, cy) : CRect(cx - 12, 0, cx, cy));
        return CSize(0, 0);
    }
    const CRect rect = control->GetRect();
    const BOOL open = control->IsPopupOpen();
    const int selected = control->GetSelected();
    image->DrawImage(dc, rect,
                     image->GetStateRect(open       ? 2
                                         : selected ? 1
                                                    : 0,
                                         3),
                     CRect(3, 3, 3, 3), kRibbonFieldMagenta);
    CRect glyphs = rect;
    glyphs.OffsetRect(vertical ? 0 : -1, vertical ? -1 : 0);
    const BOOL hiddenControls = values[0] != 0;
    DrawToolBarExpandGlyphs(dc, glyphs + CPoint(1, 1), vertical, hiddenControls, GetColor(COLOR_BTNHIGHLIGHT));
    DrawToolBarExpandGlyphs(dc, glyphs, vertical, hiddenControls, GetColor(selected && !open ? 45 : 46));
    return CSize(0, 0);
}

// ---- Keyboard tips ----

void COSMRibbonTheme::DrawKeyboardTip(CDC* dc, COSMCommandBarKeyboardTip* tip, BOOL measure)
{
    if (measure)
    {
        SetCornerlessRegion(tip->GetSafeHwnd());
        return;
    }
    COSMOffice2007Images* images = GetImages();
    const COLORREF light = images ? images->GetImageColor("Window", "TooltipLight") : COSMPaintManagerColor::kNone;
    const COLORREF dark = images ? images->GetImageColor("Window", "TooltipDark") : COSMPaintManagerColor::kNone;
    if (light == COSMPaintManagerColor::kNone || dark == COSMPaintManagerColor::kNone)
    {
        COSMOffice2007Theme::DrawKeyboardTip(dc, tip, FALSE);
        return;
    }
    CRect client;
    ::GetClientRect(tip->GetSafeHwnd(), &client);
    COSMFontDC font(dc, &GetStatusFont());
    GradientFill(dc, client, light, dark, FALSE, nullptr);
    if (COSMOffice2007Image* frame = LoadImage("TOOLTIPFRAME"))
    {
        frame->DrawImage(dc, client, frame->GetStateRect(0, 1), CRect(3, 3, 3, 3), kRibbonFieldMagenta);
    }
    else
    {
        const COLORREF border = images->GetImageColor("Window", "TooltipBorder");
        if (border != COSMPaintManagerColor::kNone)
            dc->Draw3dRect(client, border, border);
    }
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    const COLORREF oldColor = dc->SetTextColor(GetColor(tip->IsEnabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    const CString& text = tip->GetText();
    dc->DrawText(text, text.GetLength(), &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc->SetTextColor(oldColor);
    dc->SetBkMode(oldMode);
}

// ---- Popup rows and marks ----

void COSMRibbonTheme::DrawSplitPopupItem(CDC* dc, COSMControl* control)
{
    COSMOffice2007Image* item = LoadImage("MENUSPLITITEM");
    COSMOffice2007Image* dropDown = LoadImage("MENUSPLITDROPDOWN");
    if (!item || !dropDown)
    {
        COSMOffice2007Theme::DrawSplitPopupItem(dc, control);
        return;
    }
    const CRect rect = control->GetRect();
    const int enabled = control->GetEnabled();
    const int selected = control->GetSelected();
    const BOOL open = control->IsPopupOpen();
    const int split = m_popupSplitWidth;
    // Enabled 5 leaves only the arrow part enabled, 4 only the main part.
    const BOOL mainEnabled = enabled != 0 && enabled != 5;
    const BOOL arrowEnabled = enabled != 0 && enabled != 4;
    if (rect.Height() >= 34 && mainEnabled)
    {
        const int state = !selected ? 0 : selected == 4 || (IsRibbonKeyboardSelection(selected) && !open) ? 2 : 1;
        item->DrawImage(dc, CRect(rect.left, rect.top, rect.right - split, rect.bottom), item->GetStateRect(state, 3),
                        CRect(2, 2, 2, 2), kRibbonFieldMagenta);
    }
    const int state = selected && arrowEnabled ? (open ? 2 : 1) : 0;
    dropDown->DrawImage(dc, CRect(rect.right - split, rect.top, rect.right, rect.bottom),
                        dropDown->GetStateRect(state, 3), CRect(2, 2, 2, 2), kRibbonFieldMagenta);
}

BOOL COSMRibbonTheme::DrawMenuMarkImage(CDC* dc, CRect rect, int state)
{
    COSMOffice2007Image* image = LoadImage("MENUCHECKEDITEMMARK");
    if (!image)
        return FALSE;
    DrawRibbonCentredState(dc, image, rect, state, 4, FALSE);
    return TRUE;
}

void COSMRibbonTheme::DrawMenuCheckMark(CDC* dc, CRect rect, COLORREF color, BOOL enabled)
{
    if (!DrawMenuMarkImage(dc, rect, enabled ? 0 : 1))
        COSMOffice2007Theme::DrawMenuCheckMark(dc, rect, color, enabled);
}

void COSMRibbonTheme::DrawMenuRadioMark(CDC* dc, CRect rect, COLORREF color, BOOL enabled)
{
    if (!DrawMenuMarkImage(dc, rect, enabled ? 2 : 3))
        COSMOffice2007Theme::DrawMenuRadioMark(dc, rect, color, enabled);
}
