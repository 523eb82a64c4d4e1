#include "framework/markup/MarkupButton.h"

#include "framework/foundation/ColorFunctions.h"
#include "framework/foundation/VisualStyleWrapper.h"
#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupLayoutMath.h"
#include "framework/markup/MarkupPartDrawing.h"
#include "framework/markup/MarkupThickness.h"
#include "framework/markup/MarkupType.h"

#include <algorithm>
#include <utility>

IMPLEMENT_MARKUP_TYPE(COSMMarkupButton, COSMMarkupButtonBase, L"Button", nullptr)

namespace {

// The push button's visual-style part.
constexpr int kPushButtonPart = 1;
// Room the bevel and the focus rectangle take on every side.
constexpr int kBevelRoom = 4;

}  // namespace

COSMMarkupBevelColors GetMarkupBevelColors(COLORREF face)
{
    const DWORD hsl = RGBtoHSL(face);
    const DWORD hueSaturation = hsl & 0xFFFF;
    const int luminance = static_cast<int>((hsl >> 16) & 0xFF);
    COSMMarkupBevelColors colors;
    colors.face = face;
    colors.light = HSLtoRGB(hueSaturation | (static_cast<DWORD>((luminance + 240) / 2) << 16));
    colors.shadow = HSLtoRGB(hueSaturation | (static_cast<DWORD>(::MulDiv(luminance, 2, 3)) << 16));
    colors.dark = RGB(GetRValue(colors.shadow) / 2, GetGValue(colors.shadow) / 2, GetBValue(colors.shadow) / 2);
    return colors;
}

void DrawMarkupFocusRect(COSMMarkupDrawingContext* dc, const RECT& rect)
{
    // The dotted frame of an element as large as the 32-bit limits: only the part that shows goes to the system.
    const CRect cut = CutMarkupRectToClip(rect, dc->GetClipBox(), 4);
    if (cut.IsRectEmpty())
        return;
    HDC hdc = dc->GetDC();
    const COLORREF oldText = ::SetTextColor(hdc, RGB(255, 255, 255));
    const COLORREF oldBack = ::SetBkColor(hdc, RGB(0, 0, 0));
    ::DrawFocusRect(hdc, &cut);
    ::SetBkColor(hdc, oldBack);
    ::SetTextColor(hdc, oldText);
    dc->ReleaseDC(hdc);
}

COSMMarkupButton::~COSMMarkupButton() = default;

CSize COSMMarkupButton::MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight)
{
    GetVisualStyle().OpenThemeData(nullptr, L"BUTTON");
    const CSize padding = GetPaddingSums();
    const CSize extra(AddMarkupLengths(padding.cx, 2 * kBevelRoom), AddMarkupLengths(padding.cy, 2 * kBevelRoom));
    COSMMarkupUIElement* content = GetContent();
    if (!content)
        return extra;
    content->Measure(dc, std::max(0, SubtractMarkupLengths(availableWidth, extra.cx)),
                     std::max(0, SubtractMarkupLengths(availableHeight, extra.cy)));
    const CSize desired = content->GetDesiredSize();
    return CSize(AddMarkupLengths(desired.cx, extra.cx), AddMarkupLengths(desired.cy, extra.cy));
}

CSize COSMMarkupButton::ArrangeOverride(int width, int height)
{
    CRect rect(0, 0, width, height);
    if (GetIsPressed() && (!IsMarkupVisualStyleOn(GetVisualStyle()) || GetBackground()))
        rect.OffsetRect(1, 1);
    rect = DeflateRect(rect, GetPadding());
    rect.DeflateRect(kBevelRoom, kBevelRoom);
    if (COSMMarkupUIElement* content = GetContent())
        content->Arrange(rect);
    return CSize(width, height);
}

void COSMMarkupButton::OnRender(COSMMarkupDrawingContext* dc)
{
    const CSize size = GetRenderSize();
    const CRect rect(0, 0, size.cx, size.cy);
    const BOOL pressed = GetIsPressed();
    COSMMarkupBrush* background = GetBackground();
    if (!background && IsMarkupVisualStyleOn(GetVisualStyle()))
    {
        HDC hdc = dc->GetDC();
        GetMarkupPartDrawing().DrawThemeBackground(GetVisualStyle(), hdc, kPushButtonPart, GetPartState(), &rect);
        dc->ReleaseDC(hdc);
        return;
    }

    COSMMarkupBevelColors colors;
    if (background)
    {
        dc->FillRectangle(rect, background);
        colors = GetMarkupBevelColors(background->GetRepresentativeColor());
    }
    else
    {
        colors = {::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_WINDOW), ::GetSysColor(COLOR_BTNSHADOW),
                  ::GetSysColor(COLOR_3DDKSHADOW)};
        dc->FillSolidRect(rect, colors.face);
    }

    const int w = size.cx;
    const int h = size.cy;
    if (!pressed)
    {
        dc->FillSolidRect(CRect(0, 0, w, 1), colors.light);
        dc->FillSolidRect(CRect(0, 0, 1, h), colors.light);
        dc->FillSolidRect(CRect(1, h - 2, w - 1, h - 1), colors.shadow);
        dc->FillSolidRect(CRect(w - 2, 1, w - 1, h - 1), colors.shadow);
        dc->FillSolidRect(CRect(0, h - 1, w - 1, h), colors.dark);
        dc->FillSolidRect(CRect(w - 1, 0, w, h), colors.dark);
        return;
    }
    const COLORREF frame = ::GetSysColor(COLOR_WINDOWFRAME);
    for (const auto& [inset, color] : {std::pair<int, COLORREF>(0, frame), std::pair<int, COLORREF>(1, colors.shadow)})
    {
        const CRect r(inset, inset, w - inset, h - inset);
        if (r.Width() <= 0 || r.Height() <= 0)
            break;
        dc->FillSolidRect(CRect(r.left, r.top, r.right, r.top + 1), color);
        dc->FillSolidRect(CRect(r.left, r.bottom - 1, r.right, r.bottom), color);
        dc->FillSolidRect(CRect(r.left, r.top, r.left + 1, r.bottom), color);
        dc->FillSolidRect(CRect(r.right - 1, r.top, r.right, r.bottom), color);
    }
}

void COSMMarkupButton::OnRenderFocusVisual(COSMMarkupDrawingContext* dc)
{
    const CSize size = GetRenderSize();
    CRect rect(0, 0, size.cx, size.cy);
    rect.DeflateRect(3, 3);
    DrawMarkupFocusRect(dc, rect);
}
