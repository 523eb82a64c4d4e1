// The Default look's states, icons and bars: state frames and text colours, the checkerboard, control images, bar
// backgrounds, grippers, separators and the bars' metrics. Popup rows, split buttons, edits, combo boxes and list
// rows are in DefaultThemeControls.cpp.
#include "framework/themes/DefaultTheme.h"

#include "classlib/DC.h"
#include "classlib/Gdi.h"
#include "classlib/ScopedHandle.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/Control.h"
#include "framework/foundation/ImageManagerIcon.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(COSMDefaultTheme, COSMPaintManager)

namespace {

constexpr int kBarPositionFloating = 4;
constexpr int kBarPositionPopup = 5;
constexpr int kBarTypePopup = 2;

BOOL IsKeyboardSelection(int selected)
{
    return selected == 2 || selected == 3;
}

CRect DefaultThemeClientRect(COSMCommandBar* bar)
{
    CRect client(0, 0, 0, 0);
    if (bar->GetSafeHwnd())
        ::GetClientRect(bar->GetSafeHwnd(), &client);
    return client;
}

}  // namespace

COSMDefaultTheme::COSMDefaultTheme()
{
    InitDefaultTheme();
}

COSMDefaultTheme::COSMDefaultTheme(COSMVisualStyleFunctions& styleFunctions) : COSMPaintManager(styleFunctions)
{
    InitDefaultTheme();
}

void COSMDefaultTheme::InitDefaultTheme()
{
    GetIconsInfo()->useFadedIcons = 0;
    GetIconsInfo()->iconsWithShadow = 0;
    PopupBarTextColor = kButtonText;
}

void COSMDefaultTheme::RefreshMetrics()
{
    COSMPaintManager::RefreshMetrics();
    GetFloatingCaptionColor().SetStandardValue(GetColor(kActiveCaption));
    GetFloatingCaptionTextColor().SetStandardValue(GetColor(kCaptionText));
}

// ---- States ----

void COSMDefaultTheme::FillCheckerboard(CDC* dc, const CRect& rect)
{
    // One bit per pixel, rows alternating: a pattern brush paints 0 bits in the text colour, 1 bits in the
    // background colour.
    static const WORD kRows[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    const ScopedGdiObject<HBITMAP> pattern(::CreateBitmap(8, 8, 1, 1, kRows));
    const ScopedGdiObject<HBRUSH> brush(pattern ? ::CreatePatternBrush(pattern.Get()) : nullptr);
    if (!brush)
        return;
    const HDC hdc = dc->GetSafeHdc();
    const COLORREF oldBack = ::SetBkColor(hdc, GetColor(kFace));
    const COLORREF oldText = ::SetTextColor(hdc, GetColor(kHighlightEdge));
    {
        const ScopedSelection selected = SelectScoped(hdc, brush.Get());
        ::PatBlt(hdc, rect.left, rect.top, rect.Width(), rect.Height(), PATCOPY);
    }
    ::SetTextColor(hdc, oldText);
    ::SetBkColor(hdc, oldBack);
}

void COSMDefaultTheme::DrawStateRectangle(CDC* dc, CRect rect, BOOL selected, BOOL pressed, BOOL enabled, BOOL checked,
                                          BOOL popped, int barType, int barPosition)
{
    if (m_popupFullRowHighlight && barPosition == kBarPositionPopup && barType == kBarTypePopup && checked)
    {
        FillCheckerboard(dc, rect);
        DrawSunkenFrame(dc, rect);
        return;
    }
    if (barType == kBarTypePopup && !checked)
    {
        if (selected || pressed)
            FillFramedRect(dc, rect, kHighlight, kHighlight);
        return;
    }
    if (enabled)
    {
        if (checked && !selected && !pressed)
        {
            FillCheckerboard(dc, rect);
            DrawSunkenFrame(dc, rect);
        }
        else if (!checked && !popped && pressed != 2 && pressed != 3 && !(selected && pressed))
        {
            if (selected || pressed)
                DrawRaisedFrame(dc, rect);
        }
        else
        {
            DrawSunkenFrame(dc, rect);
        }
        return;
    }
    if (checked)
        DrawSunkenFrame(dc, rect);
    if (IsKeyboardSelection(selected))
        DrawSunkenFrame(dc, rect);
}

COLORREF COSMDefaultTheme::GetStateTextColor(BOOL selected, BOOL pressed, BOOL enabled, BOOL checked, BOOL popped,
                                             int barType, int barPosition)
{
    if (!enabled)
        return GetColor(kGrayText);
    if (barType != kBarTypePopup)
        return GetColor(barPosition == kBarPositionPopup ? PopupBarTextColor : kButtonText);
    return GetColor(!selected || checked ? PopupBarTextColor : kHighlightText);
}

// ---- Icons ----

void COSMDefaultTheme::DrawControlImage(CDC* dc, CPoint point, CSize size, COSMImageManagerIcon* image, BOOL selected,
                                        BOOL pressed, BOOL enabled, BOOL checked, BOOL popped, BOOL toolbarImage)
{
    if (!image)
        return;
    COSMPaintManagerIconsInfo* options = GetIconsInfo();
    // The disabled image, built in the face gradient's colours first when the option asks for it and there is none.
    auto disabledImage = [&]() -> COSMImageManagerIconHandle& {
        if (options->buildDisabledIcons && !image->HasDisabledIcon())
            image->CreateDisabledIcon(GetFaceGradient().First().GetEffective(),
                                      GetFaceGradient().Second().GetEffective());
        return image->GetDisabledIcon(TRUE);
    };

    if (enabled && checked == 2 && !pressed)
    {
        if (!image->HasAlphaImage())
            image->DrawMono(dc, point, image->GetStateImage3(), size, GetColor(kShadow));
        else
            image->Draw(dc, point, disabledImage(), size);
        return;
    }
    if (enabled && !popped && !checked)
    {
        if (!selected && !pressed)
        {
            image->Draw(dc, point, options->useFadedIcons ? image->GetFadedIcon() : image->GetIcon(), size);
        }
        else if ((selected && !pressed) || (!selected && pressed == 1))
        {
            if (options->iconsWithShadow && !image->GetShadowIcon().IsEmpty())
            {
                image->Draw(dc, point + CPoint(1, 1), image->GetShadowIcon(), size);
                image->Draw(dc, point + CPoint(-1, -1), image->GetStateImage2(), size);
            }
            else
            {
                image->Draw(dc, point, image->GetStateImage2(), size);
            }
        }
        else if ((selected && pressed) || pressed == 2 || pressed == 3)
        {
            image->Draw(dc, point + CPoint(1, 1), image->GetStateImage4(), size);
        }
        return;
    }
    if (enabled)
    {
        image->Draw(dc, point, checked ? image->GetStateImage3() : image->GetIcon(), size);
        return;
    }
    if (!options->useDisabledIcons && !image->HasAlphaImage())
    {
        // Embossed: the light copy one pixel down and right, the shadow copy over it.
        image->DrawMono(dc, point + CPoint(1, 1), image->GetIcon(), size, GetColor(kHighlightEdge));
        image->DrawMono(dc, point, image->GetIcon(), size, GetColor(kShadow));
        return;
    }
    image->Draw(dc, point, disabledImage(), size);
}

// ---- Bars ----

void COSMDefaultTheme::FillCommandBar(CDC* dc, COSMCommandBar* bar)
{
    CRect client = DefaultThemeClientRect(bar);
    FillFramedRect(dc, client, kFace, kFace);
    const int position = bar->GetPosition();
    if (position == kBarPositionFloating || position == kBarPositionPopup)
    {
        Draw3dRectIndexed(dc, client, kFace, kDarkShadow);
        client.DeflateRect(1, 1);
        DrawRaisedFrame(dc, client);
    }
    else if (!IsFlatToolBar(bar))
    {
        DrawRaisedFrame(dc, client);
    }
}

CSize COSMDefaultTheme::DrawCommandBarGripper(CDC* dc, COSMCommandBar* bar, BOOL draw)
{
    if (bar->IsDialogBar())
        return DrawDialogBarGripper(dc, bar, draw);
    const int position = bar->GetPosition();
    if (position == kBarPositionFloating)
        return COSMPaintManager::DrawCommandBarGripper(dc, bar, draw);
    const CRect client = DefaultThemeClientRect(bar);
    if (position == 2 || position == 3)
    {
        if (draw)
            DrawRaisedFrame(dc, CRect(3, 3, client.right - 3, 6));
        return CSize(0, 8);
    }
    if (position == 0 || position == 1)
    {
        if (draw)
            DrawRaisedFrame(dc, CRect(3, 3, 6, client.bottom - 3));
        return CSize(6, 0);
    }
    return CSize(0, 0);
}

CSize COSMDefaultTheme::DrawDialogBarGripper(CDC* dc, COSMCommandBar* bar, BOOL draw)
{
    const int height = std::max(GetRawControlHeight() + 4, 22);
    if (draw)
        DrawRaisedFrame(dc, CRect(3, 3, 6, height));
    return CSize(6, height);
}

CSize COSMDefaultTheme::DrawTearOffGripper(CDC* dc, CRect rect, BOOL selected, BOOL draw)
{
    if (draw)
    {
        const int fill = selected ? kActiveCaption : kInactiveCaption;
        FillFramedRect(dc, CRect(rect.left, rect.top, rect.right, rect.bottom - 1), fill, fill);
    }
    return CSize(0, 8);
}

void COSMDefaultTheme::DrawPopupResizeGripper(CDC* dc, CRect rect, int kind)
{
    // A grip dot: the light square one pixel down and right, the dark one over it.
    auto dot = [&](int x, int y) {
        FillFramedRect(dc, CRect(x + 1, y + 1, x + 3, y + 3), kWindow, kWindow);
        FillFramedRect(dc, CRect(x, y, x + 2, y + 2), kGripDots, kGripDots);
    };
    if (kind == 2)
    {
        const int centre = (rect.left + rect.right) / 2;
        for (int x = centre - 8; x < centre + 8; x += 4)
            dot(x, rect.top + 3);
        return;
    }
    dot(rect.right - 4, rect.bottom - 4);
    dot(rect.right - 8, rect.bottom - 4);
    dot(rect.right - 4, rect.bottom - 8);
}

CSize COSMDefaultTheme::DrawCommandBarSeparator(CDC* dc, COSMCommandBar* bar, COSMControl* control, BOOL draw)
{
    const BOOL popup = bar->GetType() == kBarTypePopup;
    if (!draw)
        return popup ? CSize(8, 8) : CSize(6, 6);
    if (!control)
        return CSize(0, 0);
    const CRect rect = control->GetRect();
    const CRect row = control->GetRowRect();
    const BOOL wrap = control->GetWrap();
    const int position = bar->GetPosition();
    CRect line;
    if (popup)
        line = wrap ? CRect(rect.left - 5, row.top + 3, rect.left - 3, row.bottom - 3)
                    : CRect(rect.left + 11, rect.top - 5, rect.right - 11, rect.top - 3);
    else if (position == 2 || position == 3)
        line = wrap ? CRect(row.right + 2, row.top + 4, row.right + 4, row.bottom)
                    : CRect(row.left, rect.top - 4, row.right, rect.top - 2);
    else
        line = wrap ? CRect(row.left + 4, row.top - 4, row.right, row.top - 2)
                    : CRect(rect.left - 4, row.top, rect.left - 2, row.bottom);
    DrawSunkenFrame(dc, line);
    return CSize(0, 0);
}

void COSMDefaultTheme::AdjustControlRect(CRect& rect, COSMControl* control, BOOL vertical)
{
    COSMCommandBar* bar = control->GetParent();
    if (!bar || control->GetType() == 5)
        return;
    if (bar->GetType() == kBarTypePopup)
        rect.DeflateRect(1, 0);
    else if (vertical)
        rect.InflateRect(0, 1);
    else
        rect.InflateRect(1, 0);
}

CRect COSMDefaultTheme::GetCommandBarBorders(COSMCommandBar* bar)
{
    if (bar->GetType() == kBarTypePopup)
        return CRect(3, 3, 3, 3);
    return COSMPaintManager::GetCommandBarBorders(bar);
}

CSize COSMDefaultTheme::GetPopupBarImageSize(COSMCommandBar* bar)
{
    const CSize icon = bar->GetIconSize();
    return CSize(std::max<int>(icon.cx + 4, GetRawControlHeight()), std::max<int>(icon.cy + 4, GetRawControlHeight()));
}

CSize COSMDefaultTheme::DrawSpecialControl(CDC* dc, int kind, COSMControl* control, COSMCommandBar* bar, BOOL draw,
                                           LPVOID extra)
{
    if (draw && control && (kind == 2 || kind == 3))
    {
        if (control->GetPressed() || control->GetSelected() || (kind == 3 && control->IsPopupOpen()))
            FillFramedRect(dc, control->GetRect(), kFace, kFace);
    }
    return COSMPaintManager::DrawSpecialControl(dc, kind, control, bar, draw, extra);
}
