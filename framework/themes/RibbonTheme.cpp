// The Ribbon look: the Office 2007 look with its highlights, joined rows and marks drawn from the resources' images.
#include "framework/themes/RibbonTheme.h"

#include "classlib/ScopedHandle.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/Control.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/StatusBar.h"
#include "framework/foundation/DrawHelpers.h"
#include "framework/foundation/OSVersionInfo.h"
#include "framework/foundation/ResourceManager.h"
#include "framework/foundation/ShadowManager.h"
#include "framework/themes/Office2007Images.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

IMPLEMENT_DYNCREATE(COSMRibbonTheme, COSMOffice2007Theme)

namespace {

const COLORREF kRibbonMagenta = RGB(255, 0, 255);
const COLORREF kRibbonGray = RGB(141, 141, 141);
const int kRibbonCheckBoxType = 9;
const int kRibbonRadioButtonType = 11;
// The menu font is scaled as if the screen had 96 dots per inch, whatever it has.
const int kRibbonFontBase = 96;

BOOL IsKeyboardValue(int value)
{
    return value == 2 || value == 3;
}

// The group's popup button, known by class name: its class lives in the ribbon library above this one.
BOOL IsRibbonGroupPopupButton(const COSMControl* control)
{
    for (const CRuntimeClass* cls = control->GetRuntimeClass(); cls; cls = cls->m_pBaseClass)
        if (std::strcmp(cls->m_lpszClassName, "COSMRibbonGroupControlPopup") == 0)
            return TRUE;
    return FALSE;
}

}  // namespace

COSMRibbonTheme::COSMRibbonTheme()
{
    m_themedFrame = TRUE;
    SetClearTypeText(TRUE);
    m_splitWidth = 12;
    m_popupSplitWidth = 26;
    SetFaceName("Segoe UI");
    SetFaceNameMatch(TRUE);
    if (COSMShadowManager* shadows = GetShadowManager())
        shadows->SetFlags(1);
}

// ---- Fonts ----

void COSMRibbonTheme::RefreshFonts()
{
    InvalidateLayouts();
    NONCLIENTMETRICSA metrics;
    std::memset(&metrics, 0, sizeof(metrics));
    ReadNonClientMetrics(&metrics);
    int height = std::abs(static_cast<int>(metrics.lfMenuFont.lfHeight));
    if (m_requestedFontHeight > 11)
        height = m_requestedFontHeight;
    if (height < 13)
        height = 11;

    const BYTE charset = GetResourceManager()->GetFontCharset();
    const BOOL clearType = UseClearTypeQuality();
    LOGFONTA base;
    std::memset(&base, 0, sizeof(base));
    base.lfHeight = height * 120 / kRibbonFontBase;
    base.lfWeight = FW_NORMAL;
    base.lfCharSet = charset;
    base.lfQuality = metrics.lfMenuFont.lfQuality;
    LOGFONTA caption = metrics.lfSmCaptionFont;
    LOGFONTA status = metrics.lfStatusFont;
    if (clearType)
        base.lfQuality = caption.lfQuality = status.lfQuality = CLEARTYPE_QUALITY;
    caption.lfCharSet = charset;
    status.lfCharSet = charset;
    if (IsFaceNameMatch() && FontExists(GetFaceName()))
    {
        lstrcpynA(base.lfFaceName, GetFaceName(), LF_FACESIZE);
        lstrcpynA(status.lfFaceName, GetFaceName(), LF_FACESIZE);
    }
    else
    {
        lstrcpynA(base.lfFaceName, metrics.lfMenuFont.lfFaceName, LF_FACESIZE);
    }
    if (IsFontsFollowSystem())
    {
        LOGFONTA fonts = base;
        CreateFontsFromLogFont(&fonts, TRUE);
    }

    const int controlHeight = std::max(height * 144 / kRibbonFontBase + 6, 22);
    SetControlHeight(controlHeight);
    SetLargeButtonTextHeight(std::max(height * 195 / kRibbonFontBase, 22));
    m_splitWidth = std::max(controlHeight / 2, 12);

    LOGFONTA menu = base;
    lstrcpynA(menu.lfFaceName, metrics.lfMenuFont.lfFaceName, LF_FACESIZE);
    LOGFONTA menuBold = menu;
    menuBold.lfWeight = FW_BOLD;
    struct Holder
    {
        COSMPaintManagerFont& font;
        const LOGFONTA& logFont;
    };
    const Holder holders[] = {{GetCaptionFont(), menu},
                              {GetIconTitleFont(), menuBold},
                              {GetIconTitleBoldFont(), caption},
                              {GetStatusFont(), status}};
    for (const Holder& holder : holders)
        if (holder.font.IsStandard() || !holder.font.GetSafeHandle())
            holder.font.SetFontIndirect(holder.logFont);
}

// ---- Refresh ----

void COSMRibbonTheme::RefreshMetrics()
{
    COSMOffice2007Theme::RefreshMetrics();
    COSMOffice2007Images* images = GetImages();
    auto read = [images](LPCSTR key) {
        return images ? images->GetImageColor("Ribbon", key) : COSMPaintManagerColor::kNone;
    };
    auto setEntry = [this](int index, COLORREF color) { GetColorEntry(index).SetStandardValue(color); };

    setEntry(46, read("GroupClientText"));
    setEntry(60, kRibbonGray);
    EditBackColor = read("ControlEditNormal");
    setEntry(44, read("MenuPopupText"));
    const COLORREF gripper = read("MenuPopupGripper");
    PopupBarGripperHiddenGradient.SetStandardColors(gripper, gripper, 0.5f);
    const COLORREF expandedLight = read("MenuPopupExpandedGripperLight");
    const COLORREF expandedDark = read("MenuPopupExpandedGripperDark");
    PopupBarGripperGradient.SetStandardColors(expandedLight, expandedDark, 0.5f);
    if (COSMShadowManager* shadows = GetShadowManager())
        shadows->SetShadowColor(0);
    setEntry(35, RGB(167, 167, 167));
    setEntry(45, read("ControlHighlightText"));
    setEntry(43, RGB(134, 134, 134));
    setEntry(41, RGB(250, 250, 250));
    GlyphGradient.SetStandardColors(RGB(233, 238, 238), RGB(233, 238, 238), 0.5f);
    RibbonTextColor = read("RibbonText");
    RibbonGrayTextColor = read("RibbonGrayText");
    if (RibbonGrayTextColor == COSMPaintManagerColor::kNone)
        RibbonGrayTextColor = kRibbonGray;

    // The Office 2003 refresh's closing step: the expand knob in the new glyph colours.
    CreateGlyphImages();
}

// ---- Text colours ----

COLORREF COSMRibbonTheme::GetStateTextColor(BOOL selected, BOOL pressed, BOOL enabled, BOOL checked, BOOL popped,
                                            int barType, int barPosition)
{
    if (barType == 0 && enabled && !selected && !pressed && !checked && !popped)
        return MenuBarTextColor;
    if (barType == 2)
        return GetColor(enabled ? 44 : 35);
    return GetColor(enabled ? 46 : 60);
}

COLORREF COSMRibbonTheme::GetControlTextColor(COSMControl* control)
{
    COSMCommandBar* bar = control ? control->GetParent() : nullptr;
    if (!bar || control->GetRibbonGroup() || !bar->IsRibbonBar())
        return COSMPaintManager::GetControlTextColor(control);

    const int type = control->GetType();
    const BOOL enabled = control->GetEnabled();
    BOOL plain;
    if (type == kRibbonCheckBoxType || type == kRibbonRadioButtonType || IsRibbonGroupPopupButton(control))
        plain = enabled;
    else
        plain = !control->GetSelected() && enabled && !control->GetPressed() && !control->GetChecked() &&
                !control->IsPopupOpen();
    if (plain)
    {
        if (bar->IsQuickAccessControl(control) && IsControlOnDwmCaption(control))
        {
            // Over the glass of a maximized window the caption is dark.
            CWnd* site = bar->GetSite();
            const HWND siteWindow = site ? site->GetSafeHwnd() : nullptr;
            const BOOL maximized = siteWindow && (::GetWindowLongA(siteWindow, GWL_STYLE) & WS_MAXIMIZE) != 0;
            return maximized ? RGB(255, 255, 255) : RGB(0, 0, 0);
        }
        return RibbonTextColor;
    }
    if (!enabled)
        return RibbonGrayTextColor;
    return COSMPaintManager::GetControlTextColor(control);
}

// ---- Highlights ----

void COSMRibbonTheme::DrawStateRectangle(CDC* dc, CRect rect, BOOL selected, BOOL pressed, BOOL enabled, BOOL checked,
                                         BOOL popped, int barType, int barPosition)
{
    if (barType == 2 && barPosition == 5)
    {
        if (checked)
        {
            if (COSMOffice2007Image* image = LoadImage("MENUCHECKEDITEM"))
            {
                image->DrawImage(dc, rect, image->GetStateRect(enabled ? 0 : 1, 2), CRect(4, 4, 4, 4), kRibbonMagenta);
                return;
            }
        }
        else if (selected)
        {
            if (!enabled && !IsKeyboardValue(selected))
                return;
            const BOOL small = rect.Height() < 33;
            LPCSTR name = enabled ? (small ? "MENUSELECTEDITEM22" : "MENUSELECTEDITEM54")
                                  : (small ? "MENUSELECTEDDISABLEDITEM22" : "MENUSELECTEDDISABLEDITEM54");
            if (COSMOffice2007Image* image = LoadImage(name))
            {
                image->DrawImage(dc, rect, image->GetStateRect(0, 1), CRect(4, 4, 4, 4), kRibbonMagenta);
                return;
            }
        }
        COSMOffice2003Theme::DrawStateRectangle(dc, rect, selected, pressed, enabled, checked, popped, barType,
                                                barPosition);
        return;
    }

    COSMOffice2007Image* image =
        IsImagesEnabled() ? LoadImage(rect.Height() < 33 ? "TOOLBARBUTTONS22" : "TOOLBARBUTTONS50") : nullptr;
    if (!image)
    {
        COSMOffice2003Theme::DrawStateRectangle(dc, rect, selected, pressed, enabled, checked, popped, barType,
                                                barPosition);
        return;
    }
    int state = -1;
    if (!enabled)
        state = IsKeyboardValue(selected) ? 0 : -1;
    else if (popped || (checked && !selected && !pressed))
        state = 2;
    else if (checked && selected && !pressed)
        state = 3;
    else if (IsKeyboardValue(pressed) || (selected && pressed))
        state = 1;
    else if (selected || pressed)
        state = 0;
    if (state >= 0)
        image->DrawImage(dc, rect, image->GetStateRect(state, 4), CRect(8, 8, 8, 8), static_cast<COLORREF>(-1));
}

// ---- Grouped controls ----

BOOL COSMRibbonTheme::IsGroupedLeftEnd(COSMControl* control)
{
    return control->GetBeginGroup() || control->GetWrap();
}

BOOL COSMRibbonTheme::IsGroupedRightEnd(COSMControl* control)
{
    COSMControls* controls = control->GetControls();
    if (!controls)
        return TRUE;
    const int next = controls->GetNext(control->GetIndex(), 1, FALSE);
    if (next <= control->GetIndex())
        return TRUE;
    COSMControl* following = controls->GetAt(next);
    return !following || IsGroupedLeftEnd(following);
}

int COSMRibbonTheme::GetGroupedControlState(COSMControl* control)
{
    const int selected = control->GetSelected();
    const int pressed = control->GetPressed();
    if (!control->GetEnabled())
        return IsKeyboardValue(selected) ? 1 : 0;
    const BOOL checked = control->GetChecked();
    if (control->IsPopupOpen() || (checked && !selected && !pressed))
        return 3;
    if (checked && selected && !pressed)
        return 4;
    if (IsKeyboardValue(pressed) || (selected && pressed))
        return 2;
    if (selected || pressed)
        return 1;
    return 0;
}

void COSMRibbonTheme::DrawControlBackground(CDC* dc, COSMControl* control)
{
    if (!IsControlGrouped(control))
    {
        COSMPaintManager::DrawControlBackground(dc, control);
        return;
    }
    const BOOL left = IsGroupedLeftEnd(control);
    const BOOL right = IsGroupedRightEnd(control);
    LPCSTR name = left && right ? "TOOLBARBUTTONSSPECIALSINGLE"
                  : left        ? "TOOLBARBUTTONSSPECIALLEFT"
                  : right       ? "TOOLBARBUTTONSSPECIALRIGHT"
                                : "TOOLBARBUTTONSSPECIALCENTER";
    COSMOffice2007Image* image = LoadImage(name);
    if (!image)
        return;
    const int state = GetGroupedControlState(control);
    image->DrawImage(dc, control->GetRect(), CRect(0, 22 * state, 22, 22 * state + 22), CRect(2, 2, 2, 2),
                     kRibbonMagenta);
}

// ---- Split buttons ----

int COSMRibbonTheme::GetSplitMainState(COSMControl* control)
{
    const int selected = control->GetSelected();
    const int pressed = control->GetPressed();
    const int enabled = control->GetEnabled();
    const BOOL popped = control->IsPopupOpen();
    if (enabled == 5 && (selected || pressed || popped))
        return 4;
    if (!enabled)
        return IsKeyboardValue(selected) ? 5 : -1;
    if (!control->GetChecked())
    {
        if (popped)
            return 5;
        if (IsKeyboardValue(pressed) || (selected && pressed))
            return 1;
        if (selected || pressed)
            return selected == 4 ? 0 : 5;
        return -1;
    }
    if (popped)
        return 5;
    if (!selected && !pressed)
        return 2;
    if (selected && !pressed)
        return 3;
    if (IsKeyboardValue(pressed) || selected)
        return 1;
    return 2;
}

int COSMRibbonTheme::GetSplitDropDownState(COSMControl* control)
{
    const int selected = control->GetSelected();
    const int pressed = control->GetPressed();
    const int enabled = control->GetEnabled();
    const BOOL popped = control->IsPopupOpen();
    if (enabled == 4 && (selected || pressed || popped))
        return 3;
    if (!enabled)
        return IsKeyboardValue(selected) ? 4 : -1;
    if (!control->GetChecked())
    {
        if (popped)
            return 2;
        if (IsKeyboardValue(pressed) || (selected && pressed))
            return 0;
        if (selected || pressed)
            return selected == 5 ? 0 : 4;
        return -1;
    }
    if (popped || (!selected && !pressed))
        return 2;
    if (IsKeyboardValue(pressed) || (selected && pressed))
        return 0;
    return selected == 5 ? 0 : 4;
}

void COSMRibbonTheme::DrawSplitButtonFrame(CDC* dc, COSMControl* control, CRect rect)
{
    const BOOL grouped = IsControlGrouped(control);
    const BOOL vertical = !grouped && control->GetStyle() == 4;
    LPCSTR mainName;
    LPCSTR dropDownName;
    if (grouped)
    {
        mainName = IsGroupedLeftEnd(control) ? "TOOLBARBUTTONSSPECIALSPLITLEFT" : "TOOLBARBUTTONSSPECIALSPLITCENTER";
        dropDownName = IsGroupedRightEnd(control) ? "TOOLBARBUTTONSSPECIALSPLITDROPDOWNRIGHT"
                                                  : "TOOLBARBUTTONSSPECIALSPLITDROPDOWNCENTER";
    }
    else
    {
        mainName = vertical ? "TOOLBARBUTTONSSPLIT50" : "TOOLBARBUTTONSSPLIT22";
        dropDownName = vertical ? "TOOLBARBUTTONSSPLITDROPDOWN50" : "TOOLBARBUTTONSSPLITDROPDOWN22";
    }
    COSMOffice2007Image* mainImage = LoadImage(mainName);
    COSMOffice2007Image* dropDownImage = LoadImage(dropDownName);
    if (!IsImagesEnabled() || !mainImage || !dropDownImage)
        return;

    const int enabled = control->GetEnabled();
    dc->SetTextColor(enabled ? RGB(21, 66, 139) : RGB(141, 141, 141));
    dc->SetBkMode(TRANSPARENT);
    const int split = m_splitWidth;
    CRect mainRect = rect;
    CRect dropDownRect = rect;
    if (vertical)
    {
        const int d = GetSplitButtonDropDownWidth();
        mainRect.bottom = rect.bottom - d;
        dropDownRect.top = rect.bottom - d;
    }
    else
    {
        mainRect.right = rect.right - split;
        dropDownRect.left = rect.right - split;
    }
    // The grouped images hold the rest state first: every state moves one up and the rest state is drawn.
    const int extra = grouped ? 1 : 0;
    const BOOL glass = IsControlOnDwmCaption(control);
    int mainState = GetSplitMainState(control);
    int dropDownState = GetSplitDropDownState(control);
    if (grouped)
    {
        mainState = mainState < 0 ? 0 : mainState + extra;
        dropDownState = dropDownState < 0 ? 0 : dropDownState + extra;
    }
    if (mainState >= 0)
        mainImage->DrawImageFlags(dc, mainRect, mainImage->GetStateRect(mainState, 6 + extra), CRect(2, 2, 2, 2),
                                  kRibbonMagenta, glass ? 1 : 0);
    if (dropDownState >= 0)
        dropDownImage->DrawImageFlags(dc, dropDownRect, dropDownImage->GetStateRect(dropDownState, 5 + extra),
                                      CRect(2, 2, 2, 2), kRibbonMagenta, glass ? 1 : 0);
    if (!vertical)
        DrawDropDownGlyph(dc, control, CPoint(rect.right - split / 2 - 1, (rect.top + rect.bottom) / 2),
                          control->GetSelected(), control->IsPopupOpen(), enabled != 0 && enabled != 4, FALSE);
}

void COSMRibbonTheme::DrawDropDownGlyph(CDC* dc, COSMControl* control, CPoint point, BOOL selected, BOOL popped,
                                        BOOL enabled, BOOL vertical)
{
    COSMOffice2007Image* image = vertical ? nullptr : LoadImage("TOOLBARBUTTONDROPDOWNGLYPH");
    if (!image)
    {
        COSMOffice2007Theme::DrawDropDownGlyph(dc, control, point, selected, popped, enabled, vertical);
        return;
    }
    const int state = !enabled ? 3 : selected ? 1 : 0;
    image->DrawImageFlags(dc, CRect(point.x - 2, point.y - 2, point.x + 3, point.y + 2), image->GetStateRect(state, 4),
                          CRect(0, 0, 0, 0), kRibbonMagenta, control && IsControlOnDwmCaption(control) ? 1 : 0);
}

// ---- Bars and popups ----

void COSMRibbonTheme::FillCommandBar(CDC* dc, COSMCommandBar* bar)
{
    CRect client(0, 0, 0, 0);
    if (bar->GetSafeHwnd())
        ::GetClientRect(bar->GetSafeHwnd(), &client);
    const int position = bar->GetPosition();
    if (position == 5)
    {
        if (COSMOffice2007Image* image = LoadImage("POPUPBARFRAME"))
            image->DrawImage(dc, client, image->GetStateRect(0, 1), CRect(4, 4, 4, 4), kRibbonMagenta);
        return;
    }
    COSMOffice2007Image* image = nullptr;
    if (!IsFlatToolBar(bar))
    {
        if (position == 0 || position == 1)
            image = LoadImage("TOOLBARFACEHORIZONTAL");
        else if (position == 2 || position == 3)
            image = LoadImage("TOOLBARFACEVERTICAL");
    }
    if (!image)
    {
        COSMOffice2003Theme::FillCommandBar(dc, bar);
        return;
    }
    image->DrawImage(dc, client, image->GetStateRect(0, 1), CRect(5, 5, 5, 5), kRibbonMagenta);
}

CSize COSMRibbonTheme::DrawCommandBarSeparator(CDC* dc, COSMCommandBar* bar, COSMControl* control, BOOL draw)
{
    if (bar->GetType() != 2)
        return COSMOffice2003Theme::DrawCommandBarSeparator(dc, bar, control, draw);
    if (draw && control)
    {
        const CRect rect = control->GetRect();
        if (control->GetWrap())
        {
            // A new column: a line two pixels left of it down the column.
            CRect client(0, 0, 0, 0);
            if (bar->GetSafeHwnd())
                ::GetClientRect(bar->GetSafeHwnd(), &client);
            dc->FillSolidRect(rect.left - 2, rect.top, 1, std::max<int>(client.bottom, rect.bottom) - rect.top,
                              RGB(197, 197, 197));
        }
        else
        {
            const int left = GetPopupBarGripperWidth(bar) + m_popupSeparatorIndent;
            dc->FillSolidRect(left, rect.top - 2, rect.right - left, 1, RGB(197, 197, 197));
            dc->FillSolidRect(left, rect.top - 1, rect.right - left, 1, RGB(245, 245, 245));
        }
    }
    return CSize(2, 2);
}

void COSMRibbonTheme::SetCommandBarRegion(COSMCommandBar* bar)
{
    if (bar->GetPosition() == 5)
        SetCornerlessRegion(bar->GetSafeHwnd());
}

void COSMRibbonTheme::SetCornerlessRegion(HWND window)
{
    if (!window)
        return;
    CRect rect;
    ::GetWindowRect(window, &rect);
    const int w = rect.Width();
    const int h = rect.Height();
    ScopedGdiObject<HRGN> region(::CreateRectRgn(1, 0, w - 1, 1));
    const ScopedGdiObject<HRGN> middle(::CreateRectRgn(0, 1, w, h - 1));
    const ScopedGdiObject<HRGN> bottom(::CreateRectRgn(1, h - 1, w - 1, h));
    if (!region || !middle || !bottom)
        return;
    ::CombineRgn(region.Get(), region.Get(), middle.Get(), RGN_OR);
    ::CombineRgn(region.Get(), region.Get(), bottom.Get(), RGN_OR);
    // The window owns the region once it takes it; a window that refuses it (gone already) leaves it to be deleted.
    SetWindowRegion(window, std::move(region), FALSE);
}

void COSMRibbonTheme::FillPopupBarGripper(CDC* dc, int x, int y, int cx, int cy, BOOL expanded)
{
    const CRect rect(x + 1, y, x + cx, y + cy);
    const COSMPaintManagerColorGradient& gradient = expanded ? PopupBarGripperGradient : PopupBarGripperHiddenGradient;
    if (gradient.First().GetEffective() != COSMPaintManagerColor::kNone &&
        gradient.Second().GetEffective() != COSMPaintManagerColor::kNone)
        GetDrawHelpers()->GradientFillTwoPart(dc, rect, gradient, TRUE, nullptr);
    dc->FillSolidRect(x + cx - 1, y, 1, cy, RGB(197, 197, 197));
    dc->FillSolidRect(x + cx, y, 1, cy, RGB(245, 245, 245));
}

void COSMRibbonTheme::FillPopupLabelBackground(CDC* dc, CRect rect)
{
    const COLORREF face = GetColor(56);
    if (face != COSMPaintManagerColor::kNone)
        dc->FillSolidRect(rect, face);
    dc->FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, RGB(197, 197, 197));
}

void COSMRibbonTheme::DrawPopupSubMenuGlyph(CDC* dc, COSMControl* control)
{
    COSMOffice2007Image* image = LoadImage("MENUPOPUPGLYPH");
    if (!image)
    {
        COSMOffice2007Theme::DrawPopupSubMenuGlyph(dc, control);
        return;
    }
    const CRect rect = control->GetRect();
    const CRect source = image->GetStateRect(control->GetEnabled() ? 0 : 1, 2);
    const int left = rect.right - 14;
    const int top = rect.top + (rect.Height() - source.Height()) / 2;
    image->DrawImage(dc, CRect(left, top, left + source.Width(), top + source.Height()), source, CRect(0, 0, 0, 0),
                     kRibbonMagenta);
}

void COSMRibbonTheme::DrawPopupResizeGripper(CDC* dc, CRect rect, int kind)
{
    COSMOffice2007Image* face = LoadImage("POPUPBARRESIZEGRIPPERFACE");
    if (!face)
    {
        COSMOffice2007Theme::DrawPopupResizeGripper(dc, rect, kind);
        return;
    }
    face->DrawImage(dc, rect, face->GetStateRect(0, 1), CRect(1, 1, 1, 1), kRibbonMagenta);
    COSMOffice2007Image* knob = LoadImage(kind == 2 ? "POPUPBARRESIZEGRIPPERHEIGHT" : "POPUPBARRESIZEGRIPPERWIDTH");
    if (!knob)
        return;
    const CRect source = knob->GetStateRect(0, 1);
    const int left = kind == 2 ? rect.left + (rect.Width() - source.Width()) / 2 : rect.right - source.Width();
    knob->DrawImage(dc, CRect(left, rect.bottom - source.Height(), left + source.Width(), rect.bottom), source,
                    CRect(0, 0, 0, 0), kRibbonMagenta);
}

// ---- Status bar ----

void COSMRibbonTheme::FillStatusBar(CDC* dc, COSMStatusBar* bar)
{
    COSMOffice2007Image* light = LoadImage("STATUSBARLIGHT");
    COSMOffice2007Image* divider = LoadImage("STATUSBARDEVIDER");
    COSMOffice2007Image* dark = LoadImage("STATUSBARDARK");
    if (!light || !divider || !dark || !bar || !bar->GetSafeHwnd())
    {
        COSMOffice2007Theme::FillStatusBar(dc, bar);
        return;
    }
    CRect r;
    ::GetClientRect(bar->GetSafeHwnd(), &r);
    int x = r.Width() - (::GetSystemMetrics(SM_CXVSCROLL) + 2 * ::GetSystemMetrics(SM_CXBORDER));
    const int count = bar->GetPaneCount();
    // A divider index below -1 would start the walk before the first pane.
    for (int i = std::max(0, std::min(count - 1, bar->GetDividerIndex() + 1)); i < count; ++i)
    {
        COSMStatusBarPane* pane = bar->GetPane(i);
        if (pane && pane->IsVisible())
        {
            x = pane->GetRect().left - 3;
            break;
        }
    }
    const CRect lightRect(r.left, r.top, r.left + x - 3, r.bottom);
    light->DrawImagePart(dc, lightRect, light->GetStateRect(0, 1));
    const CRect dividerSource = divider->GetStateRect(0, 1);
    const CRect dividerRect(lightRect.right, r.top, lightRect.right + dividerSource.Width(), r.bottom);
    divider->DrawImagePart(dc, dividerRect, dividerSource);
    dark->DrawImagePart(dc, CRect(dividerRect.right, r.top, r.right, r.bottom), dark->GetStateRect(0, 1));
}

void COSMRibbonTheme::DrawStatusBarPaneBorder(CDC* dc, CRect rect, COSMStatusBarPane* pane, BOOL gripperPane)
{
    COSMOffice2007Image* image = LoadImage("STATUSBARSEPARATOR");
    if (!image)
    {
        COSMOffice2007Theme::DrawStatusBarPaneBorder(dc, rect, pane, gripperPane);
        return;
    }
    COSMStatusBar* bar = pane ? pane->GetStatusBar() : nullptr;
    if (!bar || pane->GetIndex() >= bar->GetDividerIndex())
        return;
    image->DrawImagePart(dc, CRect(rect.right - 2, rect.top - 2, rect.right, rect.bottom), image->GetStateRect(0, 1),
                         CRect(0, 2, 0, 2));
}

void COSMRibbonTheme::DrawStatusBarPaneSeparator(CDC* dc, CRect rect, COSMStatusBarPane* pane)
{
    COSMOffice2007Image* image = LoadImage("STATUSBARSEPARATOR");
    if (!image)
    {
        COSMOffice2007Theme::DrawStatusBarPaneSeparator(dc, rect, pane);
        return;
    }
    COSMStatusBar* bar = pane ? pane->GetStatusBar() : nullptr;
    if (!bar || pane->GetIndex() > bar->GetDividerIndex())
        return;
    image->DrawImagePart(dc, CRect(rect.left - 2, rect.top - 2, rect.left, rect.bottom), image->GetStateRect(0, 1),
                         CRect(0, 2, 0, 2));
}

void COSMRibbonTheme::DrawStatusBarGripper(CDC* dc, CRect client)
{
    COSMOffice2007Image* image = LoadImage("STATUSBARGRIPPER");
    if (!image)
    {
        COSMOffice2007Theme::DrawStatusBarGripper(dc, client);
        return;
    }
    const CRect source = image->GetStateRect(0, 1);
    image->DrawImage(
        dc, CRect(client.right - source.Width(), client.bottom - 4 - source.Height(), client.right, client.bottom - 4),
        source, CRect(0, 0, 0, 0), kRibbonMagenta);
}

int COSMRibbonTheme::DrawStatusBarSwitchPane(CDC* dc, CRect rect, COSMStatusBarSwitchPane* pane)
{
    const int count = pane->GetSwitchCount();
    if (!dc)
    {
        int total = 0;
        for (int i = 0; i < count; ++i)
        {
            COSMStatusBarSwitchPane::SWITCH* item = pane->GetSwitch(i);
            item->width = i == 0 || i == count - 1 ? 19 : 18;
            total += item->width;
        }
        return total;
    }
    COSMOffice2007Image* image = LoadImage("STATUSBARSWITCHES");
    if (!image)
        return 0;
    image->SetPreserveOrientation(TRUE);
    COSMStatusBar* bar = pane->GetStatusBar();
    const BOOL rightToLeft =
        bar && bar->GetSafeHwnd() && (::GetWindowLongA(bar->GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    const CRect strip = image->GetStateRect(0, 1);
    const int columnWidth = strip.Width() / 4;
    int left = rect.left;
    for (int i = 0; i < count; ++i)
    {
        const COSMStatusBarSwitchPane::SWITCH* item = pane->GetSwitch(i);
        const CRect face(left, rect.top, left + item->width, rect.bottom);
        int state = 0;
        if (!pane->IsEnabled() || !item->enabled)
            state = 5;
        else if (item->pressed)
            state = 2;
        else if (item->checked)
            state = item->hot ? 4 : 3;
        else if (item->hot)
            state = 1;
        int column = count == 1 ? 3 : i == 0 ? 0 : i == count - 1 ? 2 : 1;
        if (rightToLeft)
            column = 3 - column;
        CRect source = image->GetStateRect(state, 6);
        source.left = strip.left + column * columnWidth;
        source.right = source.left + columnWidth;
        image->DrawImage(dc, face, source, CRect(2, 2, 2, 2), kRibbonMagenta);
        const CSize icon = GetStatusIconSize(bar, static_cast<int>(item->id));
        if (icon.cx > 0)
            DrawStatusIcon(dc, bar, static_cast<int>(item->id),
                           CPoint(face.left + (face.Width() - icon.cx) / 2, face.top + (face.Height() - icon.cy) / 2),
                           !item->enabled  ? 1
                           : item->checked ? 3
                                           : 0);
        left = face.right;
    }
    return 0;
}

// ---- Marks ----

CSize COSMRibbonTheme::DrawCheckBoxMark(CDC* dc, CRect rect, BOOL draw, BOOL selected, BOOL pressed, int checked,
                                        BOOL enabled)
{
    COSMOffice2007Image* image = draw ? LoadImage("TOOLBARBUTTONCHECKBOX") : nullptr;
    if (image)
    {
        int state = !enabled ? 3 : selected && pressed ? 2 : selected ? 1 : 0;
        if (checked == 1)
            state += 4;
        else if (checked == 2)
            state += 8;
        image->DrawImagePart(dc, rect, image->GetStateRect(state, 12));
    }
    return CSize(13, 13);
}

CSize COSMRibbonTheme::DrawRadioButtonMark(CDC* dc, CRect rect, BOOL draw, BOOL selected, BOOL pressed, int checked,
                                           BOOL enabled)
{
    COSMOffice2007Image* image = draw ? LoadImage("TOOLBARBUTTONRADIOBUTTON") : nullptr;
    if (image)
    {
        int state = !enabled ? 3 : selected && pressed ? 2 : selected ? 1 : 0;
        if (checked)
            state += 4;
        image->DrawImagePart(dc, rect, image->GetStateRect(state, 8));
    }
    return CSize(13, 13);
}
