// The Office look's states, icons and bars: state rectangles and text colours, control images, bar backgrounds and
// the popup's opening towards its button, grippers, separators, control rectangles, check and radio marks and the
// status bar's panes. Popup rows, split buttons, edits, combo boxes and list rows are in OfficeThemeControls.cpp.
#include "framework/themes/OfficeTheme.h"

#include "classlib/DC.h"
#include "classlib/Gdi.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/Control.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/commandbars/StatusBar.h"
#include "framework/foundation/ImageManagerIcon.h"
#include "framework/foundation/LayoutFunctions.h"
#include "framework/foundation/ShadowManager.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(COSMOfficeTheme, COSMPaintManager)

namespace {

constexpr int kOfficeBarTypePopup = 2;
constexpr int kOfficePositionFloating = 4;
constexpr int kOfficePositionPopup = 5;

BOOL IsOfficeKeyboardSelection(int value)
{
    return value == 2 || value == 3;
}

CRect OfficeClientRect(COSMCommandBar* bar)
{
    CRect client(0, 0, 0, 0);
    if (bar->GetSafeHwnd())
        ::GetClientRect(bar->GetSafeHwnd(), &client);
    return client;
}

}  // namespace

COSMOfficeTheme::COSMOfficeTheme()
{
    InitOfficeTheme();
}

COSMOfficeTheme::COSMOfficeTheme(COSMVisualStyleFunctions& styleFunctions) : COSMPaintManager(styleFunctions)
{
    InitOfficeTheme();
}

void COSMOfficeTheme::InitOfficeTheme()
{
    m_flatMenuBar = TRUE;
    COSMPaintManagerIconsInfo* icons = GetIconsInfo();
    icons->useFadedIcons = 1;
    icons->useDisabledIcons = 1;
    icons->iconsWithShadow = 1;
    icons->buildDisabledIcons = 1;
    m_embossedDisabledText = FALSE;
    // Popped controls cast the right and bottom shadows too.
    if (COSMShadowManager* shadows = GetShadowManager())
        shadows->SetFlags(3);
    m_popupTextGap = 8;
}

// ---- States ----

void COSMOfficeTheme::DrawStateRectangle(CDC* dc, CRect rect, BOOL selected, BOOL pressed, BOOL enabled, BOOL checked,
                                         BOOL popped, int barType, int barPosition)
{
    const BOOL popupPosition = barPosition == kOfficePositionPopup;
    if (!enabled)
    {
        if (IsOfficeKeyboardSelection(selected))
            FillFramedRect(dc, rect, kHotFrame, popupPosition ? kPopupBackground : checked ? kPressedFill : kHotFill);
        else if (checked)
            FillFramedRect(dc, rect, kDisabledCheckedFrame, popupPosition ? -1 : kCheckedFill);
        return;
    }
    if (popped)
        FillFramedRect(dc, rect, kPopupBorder, kBarFace);
    else if (checked == 2 && !selected && !pressed)
        FillFramedRect(dc, rect, kCheckedFrame, kThirdStateFill);
    else if (checked && !selected && !pressed)
        FillFramedRect(dc, rect, kCheckedFrame, kCheckedFill);
    else if ((selected && pressed) || IsOfficeKeyboardSelection(pressed) || (checked && selected))
        FillFramedRect(dc, rect, kPressedFrame, kPressedFill);
    else if ((selected && !pressed) || (pressed == 1 && !selected))
        FillFramedRect(dc, rect, kHotFrame, kHotFill);
}

COLORREF COSMOfficeTheme::GetStateTextColor(BOOL selected, BOOL pressed, BOOL enabled, BOOL checked, BOOL popped,
                                            int barType, int barPosition)
{
    if (barType == kOfficeBarTypePopup)
        return GetColor(!enabled ? kDisabledPopupText : selected ? kSelectedText : kPopupText);
    if (!enabled)
        return GetColor(kDisabledToolBarText);
    if (popped)
        return GetColor(kToolBarText);
    if (checked && !selected && !pressed)
        return GetColor(kSelectedText);
    if (IsOfficeKeyboardSelection(pressed) || (selected && (pressed || checked)))
        return GetColor(kPressedText);
    if (!selected && !pressed)
        return GetColor(barPosition == kOfficePositionPopup ? kPopupText : kToolBarText);
    return GetColor(kSelectedText);
}

// ---- Icons ----

void COSMOfficeTheme::DrawControlImage(CDC* dc, CPoint point, CSize size, COSMImageManagerIcon* image, BOOL selected,
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
            image->DrawMono(dc, point, image->GetIcon(), size, GetColor(kDisabledIcon));
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
        else
        {
            // Flat buttons do not sink: the pressed image stays where it is.
            image->Draw(dc, point, image->GetStateImage4(), size);
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
        image->DrawMono(dc, point, image->GetIcon(), size, GetColor(kDisabledIcon));
        return;
    }
    image->Draw(dc, point, disabledImage(), size);
}

// ---- Bars ----

void COSMOfficeTheme::FillCommandBar(CDC* dc, COSMCommandBar* bar)
{
    CRect client = OfficeClientRect(bar);
    const int position = bar->GetPosition();
    if (position == kOfficePositionFloating)
    {
        const int face = bar->GetType() == kOfficeBarTypePopup ? kPopupBackground
                         : IsFlatToolBar(bar)                  ? kFace
                                                               : kBarFace;
        FillFramedRect(dc, client, kFloatingBorder, -1);
        client.DeflateRect(1, 1);
        FillFramedRect(dc, client, kFloatingBorder, face);
        // The inner frame's corners are cut off by one pixel of the border colour.
        const COLORREF border = GetColor(kFloatingBorder);
        for (const CPoint& corner : {CPoint(2, 2), CPoint(client.right - 2, 2), CPoint(2, client.bottom - 2),
                                     CPoint(client.right - 2, client.bottom - 2)})
            dc->SetPixel(corner, border);
        return;
    }
    if (position == kOfficePositionPopup)
    {
        FillFramedRect(dc, client, kPopupBorder, kPopupBackground);
        if (auto* popup = dynamic_cast<COSMPopupBar*>(bar))
            FillIntersectRect(dc, popup, GetColor(kBarFace));
        return;
    }
    if (IsFlatToolBar(bar))
    {
        FillFramedRect(dc, client, kFace, kFace);
        return;
    }
    FillFramedRect(dc, client, kFace, kBarFace);
    // One pixel of the frame colour in each corner rounds them.
    const COLORREF face = GetColor(kFace);
    for (const CPoint& corner : {CPoint(1, 1), CPoint(client.right - 2, 1), CPoint(1, client.bottom - 2),
                                 CPoint(client.right - 2, client.bottom - 2)})
        dc->SetPixel(corner, face);
}

void COSMOfficeTheme::FillIntersectRect(CDC* dc, COSMPopupBar* popupBar, COLORREF color)
{
    if (!popupBar || !popupBar->GetSafeHwnd())
        return;
    COSMControl* control = popupBar->GetControlPopup();
    COSMCommandBar* owner = control ? control->GetParent() : nullptr;
    if (!owner || owner->GetType() == kOfficeBarTypePopup || !owner->GetSafeHwnd())
        return;
    CRect button = control->GetRect();
    ::MapWindowPoints(owner->GetSafeHwnd(), nullptr, reinterpret_cast<POINT*>(&button), 2);
    CRect window;
    ::GetWindowRect(popupBar->GetSafeHwnd(), &window);
    CRect opening;
    if (!opening.IntersectRect(button, window))
        return;
    ::MapWindowPoints(nullptr, popupBar->GetSafeHwnd(), reinterpret_cast<POINT*>(&opening), 2);
    // The corners of the border stay.
    if (opening.Width() > 1)
        opening.DeflateRect(1, 0);
    if (opening.Height() > 1)
        opening.DeflateRect(0, 1);
    dc->FillSolidRect(opening, color);
}

void COSMOfficeTheme::FillPopupBarGripper(CDC* dc, int x, int y, int cx, int cy, BOOL expanded)
{
    const int fill = expanded ? kExpandedIconColumn : kBarFace;
    FillFramedRect(dc, CRect(x, y, x + cx, y + cy), fill, fill);
}

// ---- Grippers ----

CSize COSMOfficeTheme::DrawCommandBarGripper(CDC* dc, COSMCommandBar* bar, BOOL draw)
{
    if (bar->IsDialogBar())
        return DrawDialogBarGripper(dc, bar, draw);
    const int position = bar->GetPosition();
    const CRect client = OfficeClientRect(bar);
    const BOOL popupType = bar->GetType() == kOfficeBarTypePopup;
    if (popupType && position == kOfficePositionPopup)
    {
        if (draw)
        {
            const CRect borders = bar->GetBorders();
            FillPopupBarGripper(dc, borders.left - 1, borders.top, GetPopupBarGripperWidth(bar),
                                client.Height() - borders.top - borders.bottom, FALSE);
        }
        return CSize(0, 0);
    }
    if (position == kOfficePositionFloating)
    {
        const CSize caption = COSMPaintManager::DrawCommandBarGripper(dc, bar, draw);
        if (draw && popupType && (bar->GetBarStyle() & COSMCommandBar::kStyleGripper))
        {
            const CRect borders = bar->GetBorders();
            const int top = borders.top + caption.cy + 1;
            FillPopupBarGripper(dc, borders.left - 1, top, GetPopupBarGripperWidth(bar),
                                client.Height() - top - borders.bottom, FALSE);
        }
        return caption;
    }
    if (position == 2 || position == 3)
    {
        if (draw)
            for (int x = 5; x < client.Width() - 5; x += 2)
                DrawLineIndexed(dc, x, 3, x, 6, kGripperLines);
        return CSize(0, 8);
    }
    if (position == 0 || position == 1)
    {
        if (draw)
            for (int y = 5; y < client.Height() - 5; y += 2)
                DrawLineIndexed(dc, 3, y, 6, y, kGripperLines);
        return CSize(6, 0);
    }
    return CSize(0, 0);
}

CSize COSMOfficeTheme::DrawDialogBarGripper(CDC* dc, COSMCommandBar* bar, BOOL draw)
{
    const int height = std::max(GetRawControlHeight() + 4, 22);
    if (draw)
        for (int y = 6; y < height - 2; y += 2)
            DrawLineIndexed(dc, 3, y, 6, y, kGripperLines);
    return CSize(6, height);
}

CSize COSMOfficeTheme::DrawTearOffGripper(CDC* dc, CRect rect, BOOL selected, BOOL draw)
{
    if (draw)
    {
        CRect strip(1, 1, rect.right + 1, rect.Height() + 1);
        FillFramedRect(dc, strip, kPopupBackground, kPopupBackground);
        strip.DeflateRect(1, 1);
        const int halfLength = std::min<int>(rect.Width() / 2 - 10, 16);
        const int centre = (strip.left + strip.right) / 2;
        auto line = [&](int y, int index) {
            if (halfLength > 0)
                HorizontalLine(dc, centre - halfLength, y, centre + halfLength, GetColor(index));
        };
        if (selected)
        {
            FillFramedRect(dc, strip, kHotFrame, kHotFill);
            line(4, kSelectedText);
            line(6, kSelectedText);
        }
        else
        {
            FillFramedRect(dc, strip, kBarFace, kBarFace);
            for (int y : {3, 5, 7})
                line(y, kGripperLines);
        }
    }
    return CSize(0, 9);
}

void COSMOfficeTheme::DrawPopupResizeGripper(CDC* dc, CRect rect, int kind)
{
    FillFramedRect(dc, rect, kBarFace, kBarFace);
    // A grip dot: the light square one pixel down and right, the dark one over it.
    auto dot = [&](int x, int y) {
        FillFramedRect(dc, CRect(x + 1, y + 1, x + 3, y + 3), kWindow, kWindow);
        FillFramedRect(dc, CRect(x, y, x + 2, y + 2), kGripperLines, kGripperLines);
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

// ---- Separators and control rectangles ----

CSize COSMOfficeTheme::DrawCommandBarSeparator(CDC* dc, COSMCommandBar* bar, COSMControl* control, BOOL draw)
{
    const BOOL popup = bar->GetType() == kOfficeBarTypePopup;
    if (!draw)
        return popup ? CSize(3, 3) : CSize(6, 6);
    if (!control)
        return CSize(0, 0);
    const CRect rect = control->GetRect();
    const CRect row = control->GetRowRect();
    const BOOL wrap = control->GetWrap();
    const int position = bar->GetPosition();
    const COLORREF color = GetColor(kSeparatorLines);
    if (popup)
    {
        if (wrap)
            VerticalLine(dc, rect.left - 2, row.top - 1, row.bottom + 1, color);
        else
            HorizontalLine(dc, rect.left + GetPopupBarGripperWidth(bar) - 1 + m_popupTextGap, rect.top - 2,
                           rect.right + 1, color);
    }
    else if (position == 2 || position == 3)
    {
        if (wrap)
            VerticalLine(dc, row.right + 2, row.top + 4, row.bottom, color);
        else
            HorizontalLine(dc, row.left, rect.top - 4, row.right, color);
    }
    else
    {
        if (wrap)
            HorizontalLine(dc, row.left, row.top - 4, row.right, color);
        else
            VerticalLine(dc, rect.left - 4, row.top, row.bottom, color);
    }
    return CSize(0, 0);
}

void COSMOfficeTheme::AdjustControlRect(CRect& rect, COSMControl* control, BOOL vertical)
{
    COSMCommandBar* bar = control->GetParent();
    if (!bar)
        return;
    if (bar->GetType() == kOfficeBarTypePopup)
    {
        rect.InflateRect(1, 0);
        return;
    }
    if (control->GetType() == 5)
        return;
    if (bar->GetPosition() == kOfficePositionPopup && (bar->GetFlags() & COSMCommandBar::kFlagStackedLayout))
        rect.DeflateRect(0, 1);
    else if (vertical)
        rect.DeflateRect(1, 0);
    else
        rect.DeflateRect(0, 1);
}

// ---- Check and radio marks ----

CSize COSMOfficeTheme::DrawCheckBoxMark(CDC* dc, CRect rect, BOOL draw, BOOL selected, BOOL pressed, int checked,
                                        BOOL enabled)
{
    if (m_themedCheckMarks && GetButtonTheme().IsOpen())
        return COSMPaintManager::DrawCheckBoxMark(dc, rect, draw, selected, pressed, checked, enabled);
    if (!draw)
        return CSize(13, 13);
    if (enabled)
    {
        const int fill = selected && pressed ? kPressedFill : selected || pressed ? kHotFill : kWindow;
        FillFramedRect(dc, rect, selected || pressed ? kHotFrame : kIdleMarkFrame, fill);
    }
    else
    {
        FillFramedRect(dc, rect, kDisabledPopupText, -1);
    }
    if (checked)
    {
        const int index = !enabled || checked == 2 ? kDisabledPopupText : kButtonText;
        CPen pen(PS_SOLID, 1, GetColor(index));
        CPen* old = dc->SelectObject(&pen);
        const CPoint centre = rect.CenterPoint();
        // A mirrored context flips x once more, so the mark reads the same way there.
        const BOOL rightToLeft = IsContextRTL(dc);
        auto x = [&](int offset) { return centre.x + (rightToLeft ? -offset : offset); };
        for (int i = 0; i < 3; ++i)
        {
            const POINT points[3] = {{x(-3), centre.y + i - 1}, {x(-1), centre.y + i + 1}, {x(4), centre.y + i - 4}};
            dc->Polyline(points, 3);
        }
        dc->SelectObject(old);
    }
    return CSize(13, 13);
}

CSize COSMOfficeTheme::DrawRadioButtonMark(CDC* dc, CRect rect, BOOL draw, BOOL selected, BOOL pressed, int checked,
                                           BOOL enabled)
{
    if (m_themedCheckMarks && GetButtonTheme().IsOpen())
        return COSMPaintManager::DrawRadioButtonMark(dc, rect, draw, selected, pressed, checked, enabled);
    if (!draw)
        return CSize(13, 13);
    if (enabled)
    {
        const int fill = selected && pressed ? kPressedFill : selected || pressed ? kHotFill : kWindow;
        DrawSmoothEllipse(dc, rect, GetColor(selected || pressed ? kHotFrame : kIdleMarkFrame), GetColor(fill));
    }
    else
    {
        DrawSmoothEllipse(dc, rect, GetColor(kDisabledPopupText), GetColor(kThirdStateFill));
    }
    if (checked)
    {
        const COLORREF dot = GetColor(!enabled || checked == 2 ? kDisabledPopupText : kButtonText);
        DrawSmoothEllipse(dc, rect.left + 4, rect.top + 4, rect.left + 9, rect.top + 9, dot, dot);
    }
    return CSize(13, 13);
}

// ---- Status bar ----

void COSMOfficeTheme::DrawStatusBarPaneBorder(CDC* dc, CRect rect, COSMStatusBarPane* pane, BOOL gripperPane)
{
    // A clickable pane draws its own face.
    if (pane && pane->IsButton())
        return;
    FillFramedRect(dc, rect, kShadow, -1);
}

void COSMOfficeTheme::DrawStatusBarPaneSeparator(CDC* dc, CRect rect, COSMStatusBarPane* pane)
{
    VerticalLine(dc, rect.left - 2, rect.top, rect.bottom, GetColor(kSeparatorLines));
}
