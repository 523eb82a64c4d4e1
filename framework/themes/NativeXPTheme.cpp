// The Native XP look's classes, metrics, states and controls: the six visual-style classes it opens, what a refresh
// reads from them, state frames and text colours, menu marks and the icon column, split buttons, edits, combo boxes
// and spin buttons. Bar backgrounds, grippers and separators are in NativeXPThemeBars.cpp.
#include "framework/themes/NativeXPTheme.h"

#include "classlib/DC.h"
#include "classlib/WinApp.h"
#include "classlib/Wnd.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/Control.h"
#include "framework/controls/ControlEdit.h"
#include "framework/themes/ThemeControlHelpers.h"

IMPLEMENT_DYNAMIC(COSMNativeXPTheme, COSMDefaultTheme)

namespace {

// The toolbar button's state (TS_*) for a control's state; a checked value of 2 counts as unchecked when enabled.
int NativeToolBarButtonState(BOOL selected, BOOL pressed, BOOL enabled, BOOL checked, BOOL popped)
{
    if (enabled && checked == 2)
        checked = FALSE;
    if (!enabled)
        return checked ? 3 : 4;
    if (popped)
        return 3;
    if (checked && !pressed)
        return selected ? 6 : 5;
    if ((selected && pressed) || pressed == 2 || pressed == 3)
        return 3;
    return selected ? 2 : 1;
}

}  // namespace

COSMNativeXPTheme::COSMNativeXPTheme() : COSMNativeXPTheme(GetVisualStyleFunctions(TRUE)) {}

COSMNativeXPTheme::COSMNativeXPTheme(COSMVisualStyleFunctions& styleFunctions)
    : COSMDefaultTheme(styleFunctions), m_rebarTheme(styleFunctions), m_toolBarTheme(styleFunctions),
      m_comboBoxTheme(styleFunctions), m_windowTheme(styleFunctions), m_spinTheme(styleFunctions),
      m_menuTheme(styleFunctions)
{
    GetIconsInfo()->useFadedIcons = 1;
    GetIconsInfo()->iconsWithShadow = 0;
    PopupBarTextColor = kXPMenuText;
    FlatMenus = TRUE;
    m_themedStatusBar = TRUE;
    m_themedCheckMarks = TRUE;
    m_popupFullRowHighlight = TRUE;
    m_boldCheckMark = TRUE;
}

COSMNativeXPTheme::~COSMNativeXPTheme()
{
    m_rebarTheme.CloseThemeData();
    m_toolBarTheme.CloseThemeData();
    m_comboBoxTheme.CloseThemeData();
    m_windowTheme.CloseThemeData();
    m_spinTheme.CloseThemeData();
    m_menuTheme.CloseThemeData();
}

BOOL COSMNativeXPTheme::IsStyled()
{
    return IsThemed(m_rebarTheme) && IsThemed(m_toolBarTheme);
}

BOOL COSMNativeXPTheme::ReadFlatMenuSetting(BOOL* flatMenus)
{
    return ::SystemParametersInfoA(SPI_GETFLATMENU, 0, flatMenus, 0);
}

void COSMNativeXPTheme::RefreshMetrics()
{
    COSMDefaultTheme::RefreshMetrics();

    CWnd* mainWindow = AfxGetMainWnd();
    const HWND window = mainWindow ? mainWindow->GetSafeHwnd() : nullptr;
    m_toolBarTheme.OpenThemeData(window, L"TOOLBAR");
    m_rebarTheme.OpenThemeData(window, L"REBAR");
    m_comboBoxTheme.OpenThemeData(window, L"COMBOBOX");
    m_windowTheme.OpenThemeData(window, L"WINDOW");
    m_spinTheme.OpenThemeData(window, L"SPIN");
    m_menuTheme.OpenThemeData(window, L"MENU");
    // The menu parts are only used with styles that define the popup background; older styles draw menus badly.
    int borderSize = 0;
    if (IsThemed(m_menuTheme) &&
        FAILED(m_menuTheme.GetThemeInt(kXPMenuPopupBackground, 0, kXPBorderSizeProperty, &borderSize)))
        m_menuTheme.CloseThemeData();

    BOOL flatMenus = TRUE;
    FlatMenus = ReadFlatMenuSetting(&flatMenus) ? flatMenus : FALSE;

    const BOOL rebarThemed = IsThemed(m_rebarTheme);
    COLORREF color = 0;
    m_bandEdgeShadowColor =
        rebarThemed && SUCCEEDED(m_rebarTheme.GetThemeColor(kXPRebarBand, 0, kXPEdgeShadowProperty, &color))
            ? color
            : GetColor(kShadow);
    m_bandEdgeHighlightColor =
        rebarThemed && SUCCEEDED(m_rebarTheme.GetThemeColor(kXPRebarBand, 0, kXPEdgeHighlightProperty, &color))
            ? color
            : GetColor(kHighlightEdge);
    if (IsThemed(m_toolBarTheme) && SUCCEEDED(m_toolBarTheme.GetThemeColor(0, 0, kXPTextColorProperty, &color)))
        GetColorEntry(kButtonText).SetStandardValue(color);

    if (!FlatMenus && rebarThemed)
        FlatMenus = m_rebarTheme.GetThemeSysBool(kXPFlatMenusProperty);
    // Without flat menus, the menu highlight is the selection colour.
    if (!FlatMenus)
        GetColorEntry(kXPMenuHighlight).SetStandardValue(GetColor(kHighlight));
}

// ---- States ----

void COSMNativeXPTheme::DrawStateRectangle(CDC* dc, CRect rect, BOOL selected, BOOL pressed, BOOL enabled, BOOL checked,
                                           BOOL popped, int barType, int barPosition)
{
    if (!IsStyled())
    {
        COSMDefaultTheme::DrawStateRectangle(dc, rect, selected, pressed, enabled, checked, popped, barType,
                                             barPosition);
        return;
    }
    const HDC hdc = dc->GetSafeHdc();
    const BOOL menuThemed = IsThemed(m_menuTheme);
    if (barType == 2 && !checked)
    {
        if (!selected && !pressed)
            return;
        if (menuThemed)
            m_menuTheme.DrawThemeBackground(hdc, kXPMenuPopupItem, 2, &rect, nullptr);
        else
            FillFramedRect(dc, rect, kHighlight, kXPMenuHighlight);
        return;
    }
    if (m_popupFullRowHighlight && barPosition == 5 && barType == 2 && menuThemed)
    {
        m_menuTheme.DrawThemeBackground(hdc, kXPMenuPopupCheckBack, enabled ? 2 : 1, &rect, nullptr);
        return;
    }
    m_toolBarTheme.DrawThemeBackground(
        hdc, kXPToolBarButton, NativeToolBarButtonState(selected, pressed, enabled, checked, popped), &rect, nullptr);
}

COLORREF COSMNativeXPTheme::GetStateTextColor(BOOL selected, BOOL pressed, BOOL enabled, BOOL checked, BOOL popped,
                                              int barType, int barPosition)
{
    if (barType == 2 && barPosition == 5 && IsThemed(m_menuTheme))
        return GetColor(enabled ? PopupBarTextColor : kGrayText);
    return COSMDefaultTheme::GetStateTextColor(selected, pressed, enabled, checked, popped, barType, barPosition);
}

BOOL COSMNativeXPTheme::IsFlatMenuBarPopup(COSMControl* control)
{
    COSMCommandBar* bar = control->GetParent();
    return bar && control->GetType() == 2 && bar->GetType() == 0 && bar->GetPosition() != 5 && IsFlatToolBar(bar) &&
           IsStyled();
}

void COSMNativeXPTheme::DrawControlBackground(CDC* dc, COSMControl* control)
{
    if (!IsFlatMenuBarPopup(control))
    {
        COSMDefaultTheme::DrawControlBackground(dc, control);
        return;
    }
    if (control->GetSelected() || control->IsPopupOpen() || control->GetPressed())
        FillFramedRect(dc, control->GetRect(), kHighlight, kHighlight);
}

COLORREF COSMNativeXPTheme::GetControlTextColor(COSMControl* control)
{
    if (IsFlatMenuBarPopup(control) && (control->GetSelected() || control->IsPopupOpen() || control->GetPressed()))
        return GetColor(kHighlightText);
    return COSMDefaultTheme::GetControlTextColor(control);
}

// ---- Menu marks and the icon column ----

void COSMNativeXPTheme::DrawMenuCheckMark(CDC* dc, CRect rect, COLORREF color, BOOL enabled)
{
    if (!IsThemed(m_menuTheme))
    {
        COSMDefaultTheme::DrawMenuCheckMark(dc, rect, color, enabled);
        return;
    }
    m_menuTheme.DrawThemeBackground(dc->GetSafeHdc(), kXPMenuPopupCheck, enabled ? 1 : 2, &rect, nullptr);
}

void COSMNativeXPTheme::DrawMenuRadioMark(CDC* dc, CRect rect, COLORREF color, BOOL enabled)
{
    if (!IsThemed(m_menuTheme))
    {
        COSMDefaultTheme::DrawMenuRadioMark(dc, rect, color, enabled);
        return;
    }
    m_menuTheme.DrawThemeBackground(dc->GetSafeHdc(), kXPMenuPopupCheck, enabled ? 3 : 4, &rect, nullptr);
}

int COSMNativeXPTheme::GetPopupBarGripperWidth(COSMCommandBar* bar)
{
    // The style's gutter is 3 wider than the icon box; bars without an icon column keep none.
    const int width = COSMDefaultTheme::GetPopupBarGripperWidth(bar);
    return width > 0 && IsThemed(m_menuTheme) ? width + 3 : width;
}

void COSMNativeXPTheme::FillPopupBarGripper(CDC* dc, int x, int y, int cx, int cy, BOOL expanded)
{
    if (!IsThemed(m_menuTheme))
    {
        COSMDefaultTheme::FillPopupBarGripper(dc, x, y, cx, cy, expanded);
        return;
    }
    const CRect column(x, y, x + cx, y + cy);
    m_menuTheme.DrawThemeBackground(dc->GetSafeHdc(), kXPMenuPopupGutter, 0, &column, nullptr);
}

// ---- Controls ----

void COSMNativeXPTheme::DrawSplitButtonFrame(CDC* dc, COSMControl* control, CRect rect)
{
    if (!IsStyled())
    {
        COSMDefaultTheme::DrawSplitButtonFrame(dc, control, rect);
        return;
    }
    const BOOL enabled = osm_themes::IsControlDrawnEnabled(control);
    const int selected = control->GetSelected();
    const BOOL popped = control->IsPopupOpen();
    int state = 1;
    if (!enabled)
        state = 4;
    else if (selected && control->GetPressed())
        state = 3;
    else if (control->GetChecked())
        state = 5;
    else if (selected || popped)
        state = 2;
    const CRect command(rect.left, rect.top, rect.right - 12, rect.bottom);
    const CRect dropDown(rect.right - 12, rect.top, rect.right, rect.bottom);
    int dropDownState = popped ? 3 : state;
    if (control->GetEnabled() == 4)
        dropDownState = 4;
    const HDC hdc = dc->GetSafeHdc();
    m_toolBarTheme.DrawThemeBackground(hdc, kXPToolBarSplitButton, state, &command, nullptr);
    m_toolBarTheme.DrawThemeBackground(hdc, kXPToolBarSplitDropDown, dropDownState, &dropDown, nullptr);
}

CSize COSMNativeXPTheme::DrawSpecialControl(CDC* dc, int kind, COSMControl* control, COSMCommandBar* bar, BOOL draw,
                                            LPVOID extra)
{
    // The style's buttons show their own hot face: the Default look's face fill would hide it.
    if ((kind == 2 || kind == 3) && IsThemed(m_toolBarTheme))
        return COSMPaintManager::DrawSpecialControl(dc, kind, control, bar, draw, extra);
    return COSMDefaultTheme::DrawSpecialControl(dc, kind, control, bar, draw, extra);
}

void COSMNativeXPTheme::DrawEditControlFrame(CDC* dc, CRect rect, BOOL enabled, int selected)
{
    if (!IsThemed(m_comboBoxTheme))
    {
        COSMDefaultTheme::DrawEditControlFrame(dc, rect, enabled, selected);
        return;
    }
    COLORREF border = 0;
    if (FAILED(m_comboBoxTheme.GetThemeColor(kXPComboDropDownButton, enabled ? 1 : 4, kXPBorderColorProperty, &border)))
        border = GetColor(kShadow);
    dc->Draw3dRect(rect, border, border);
}

void COSMNativeXPTheme::DrawComboBoxDropDownButton(CDC* dc, CRect rect, BOOL enabled, BOOL selected, BOOL dropped)
{
    if (!IsThemed(m_comboBoxTheme))
    {
        COSMDefaultTheme::DrawComboBoxDropDownButton(dc, rect, enabled, selected, dropped);
        return;
    }
    const CRect button(rect.left - 2, rect.top + 1, rect.right - 1, rect.bottom - 1);
    const int state = !enabled ? 4 : dropped ? 3 : selected ? 2 : 1;
    m_comboBoxTheme.DrawThemeBackground(dc->GetSafeHdc(), kXPComboDropDownButton, state, &button, nullptr);
}

void COSMNativeXPTheme::DrawEditSpinButtons(CDC* dc, COSMControl* control)
{
    auto* edit = dynamic_cast<COSMControlEdit*>(control);
    if (!IsStyled() || !IsThemed(m_spinTheme) || !edit)
    {
        COSMDefaultTheme::DrawEditSpinButtons(dc, control);
        return;
    }
    const CRect spin = edit->GetSpinButtonsRect();
    if (spin.IsRectEmpty())
        return;
    const int middle = spin.top + spin.Height() / 2;
    const CRect upper(spin.left, spin.top, spin.right, middle);
    const CRect lower(spin.left, middle, spin.right, spin.bottom);
    const BOOL enabled = osm_themes::IsControlDrawnEnabled(control);
    const int selected = control->GetSelected();
    const int pressed = control->GetPressed();
    // The edit keeps which button is hot in its selected value and which is held in its pressed value: 4 the upper,
    // 5 the lower.
    auto state = [&](int button) {
        return !enabled ? 4 : selected && pressed == button ? 3 : selected == button ? 2 : 1;
    };
    const HDC hdc = dc->GetSafeHdc();
    m_spinTheme.DrawThemeBackground(hdc, kXPSpinUp, state(4), &upper, nullptr);
    m_spinTheme.DrawThemeBackground(hdc, kXPSpinDown, state(5), &lower, nullptr);
}
