// The Whidbey gradient look: rounded gradient highlights in popup menus and framed menu-bar selections, popup
// separators past the icon column, and each scheme's popup and gripper colours.
#include "framework/themes/WhidbeyGradientTheme.h"

#include "classlib/DC.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/Control.h"
#include "framework/foundation/ColorFunctions.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/ShadowManager.h"

namespace {

BOOL IsWhidbeyPopupMenu(int barType, int barPosition)
{
    return barType == 2 && barPosition == 5;
}

// The colour over the pixel already there at opacity / 255.
void BlendWhidbeyPixel(CDC* dc, int x, int y, COLORREF color, int opacity)
{
    const COLORREF under = dc->GetPixel(x, y);
    auto channel = [opacity](int over, int below) { return (over * opacity + below * (255 - opacity) + 127) / 255; };
    dc->SetPixel(x, y,
                 RGB(channel(GetRValue(color), GetRValue(under)), channel(GetGValue(color), GetGValue(under)),
                     channel(GetBValue(color), GetBValue(under))));
}

}  // namespace

COSMWhidbeyGradientTheme::COSMWhidbeyGradientTheme()
{
    InitWhidbeyGradientTheme();
}

COSMWhidbeyGradientTheme::COSMWhidbeyGradientTheme(COSMVisualStyleFunctions& styleFunctions)
    : COSMWhidbeyTheme(styleFunctions)
{
    InitWhidbeyGradientTheme();
}

void COSMWhidbeyGradientTheme::InitWhidbeyGradientTheme()
{
    m_popupSeparatorIndent = 10;
    if (COSMShadowManager* shadows = GetShadowManager())
        shadows->SetFlags(1);
}

// ---- Refresh ----

void COSMWhidbeyGradientTheme::RefreshMetrics()
{
    COSMWhidbeyTheme::RefreshMetrics();
    PopupBarGripperHiddenGradient.SetStandardColors(
        COSMColorManager::BlendColors(GetColor(COLOR_BTNFACE), GetColor(COLOR_WINDOW), 40), GetColor(COLOR_BTNFACE),
        0.5f);
    PopupHighlightGradient.SetStandardColor(GetColor(COLOR_HIGHLIGHT));
    PopupHighlightBorderColor.SetStandardValue(GetColor(COLOR_HIGHLIGHT));
    PopupHighlightTextColor.SetStandardValue(GetColor(COLOR_HIGHLIGHTTEXT));

    const int style = GetColorManager()->GetVisualStyle();
    if (style < COSMColorManager::kStyleLunaBlue || style > COSMColorManager::kStyleAero)
        return;
    PopupHighlightTextColor.SetStandardValue(RGB(0, 0, 0));
    switch (style)
    {
    case COSMColorManager::kStyleLunaBlue:
    case COSMColorManager::kStyleRoyale:
        PopupHighlightBorderColor.SetStandardValue(RGB(152, 181, 226));
        PopupHighlightGradient.SetStandardColors(RGB(239, 243, 250), RGB(193, 210, 238), 0.5f);
        PopupBarGripperHiddenGradient.SetStandardColor(RGB(241, 241, 241));
        PopupBarGripperGradient.SetStandardColor(RGB(215, 227, 234));
        GetColorEntry(kPopupLabelBackground).SetStandardValue(RGB(221, 231, 238));
        break;
    case COSMColorManager::kStyleLunaOlive:
        PopupHighlightBorderColor.SetStandardValue(RGB(147, 160, 112));
        PopupHighlightGradient.SetStandardColors(RGB(239, 242, 227), RGB(194, 207, 158), 0.5f);
        PopupBarGripperHiddenGradient.SetStandardColors(RGB(247, 246, 239), RGB(233, 230, 214), 0.5f);
        break;
    case COSMColorManager::kStyleLunaSilver:
        PopupHighlightBorderColor.SetStandardValue(RGB(255, 192, 111));
        PopupHighlightGradient.SetStandardColors(RGB(255, 246, 204), RGB(255, 194, 115), 0.5f);
        PopupBarGripperHiddenGradient.SetStandardColors(RGB(232, 233, 242), RGB(193, 193, 211), 0.5f);
        GetColorEntry(kSeparatorLines).SetStandardValue(RGB(110, 109, 143));
        PoppedGradient.SetStandardColors(RGB(232, 233, 241), RGB(192, 191, 209), 0.5f);
        break;
    case COSMColorManager::kStyleAero:
    {
        PopupHighlightBorderColor.SetStandardValue(RGB(150, 217, 249));
        PopupHighlightGradient.SetStandardColors(RGB(241, 248, 251), RGB(186, 228, 246), 0.5f);
        PopupBarGripperHiddenGradient.SetStandardColors(RGB(244, 247, 252), RGB(212, 216, 230), 0.5f);
        DockBarGradient.SetStandardColors(RGB(233, 236, 250), RGB(244, 247, 252), 0.5f);
        ToolbarShadowColor.SetStandardValue(RGB(181, 190, 206));
        ToolbarGradient.SetStandardColors(RGB(250, 250, 253), RGB(196, 203, 219), 0.75f);
        GetFloatingCaptionColor().SetStandardValue(RGB(128, 128, 128));
        PoppedGradient.SetStandardColors(RGB(255, 255, 255), RGB(118, 184, 219), 0.5f);
        ExpandButtonGradient.SetStandardColors(RGB(195, 202, 218), RGB(233, 236, 250), 0.75f);
        StatusPaneBorderColor.SetStandardValue(RGB(160, 160, 180));
        if (COSMShadowManager* shadows = GetShadowManager())
            shadows->SetShadowColor(RGB(0, 0, 0));
        GetFaceGradient().SetStandardColors(RGB(244, 247, 252), RGB(113, 124, 152), 0.5f);
        GetColorEntry(kPopupEditFrame).SetStandardValue(RGB(240, 240, 240));
        const UINT entries[] = {kGripperLines, kSeparatorLines, kDisabledIcon, kPopupBackground, kPopupBorder,
                                kHotFill,      kHotFrame,       kPressedFrame, kCheckedFrame,    kPressedFill,
                                kCheckedFill,  kBarFace,        kPressedText};
        const COLORREF values[] = {RGB(160, 160, 180), RGB(160, 160, 180), RGB(128, 128, 128), RGB(240, 240, 240),
                                   RGB(160, 160, 160), RGB(182, 228, 247), RGB(41, 153, 255),  RGB(41, 153, 255),
                                   RGB(48, 127, 177),  RGB(206, 237, 250), RGB(206, 237, 250), RGB(233, 236, 250),
                                   RGB(0, 0, 0)};
        SetColors(13, entries, values);
        CheckedGradient.SetStandardColors(RGB(237, 248, 253), RGB(129, 192, 224), 0.5f);
        HighlightGradient.SetStandardColors(RGB(237, 248, 253), RGB(129, 192, 224), 0.5f);
        PushedGradient.SetStandardColors(RGB(228, 245, 252), RGB(124, 177, 204), 0.5f);
        LunaColors = TRUE;
        break;
    }
    default:
        break;
    }
}

// ---- States ----

COLORREF COSMWhidbeyGradientTheme::GetStateTextColor(BOOL selected, BOOL pressed, BOOL enabled, BOOL checked,
                                                     BOOL popped, int barType, int barPosition)
{
    if (IsWhidbeyPopupMenu(barType, barPosition) && selected && !pressed && enabled)
        return PopupHighlightTextColor.GetEffective();
    return COSMOffice2003Theme::GetStateTextColor(selected, pressed, enabled, checked, popped, barType, barPosition);
}

void COSMWhidbeyGradientTheme::DrawPopupHighlight(CDC* dc, const CRect& rect)
{
    CRect face = rect;
    face.DeflateRect(1, 1);
    FillGradient(dc, face, PopupHighlightGradient, FALSE);
    const COLORREF border = PopupHighlightBorderColor.GetEffective();
    if (border == COSMPaintManagerColor::kNone)
        return;
    const int l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
    HorizontalLine(dc, l + 3, t, r - 3, border);
    HorizontalLine(dc, l + 3, b - 1, r - 3, border);
    VerticalLine(dc, l, t + 3, b - 3, border);
    VerticalLine(dc, r - 1, t + 3, b - 3, border);
    // Each corner rounded by five pixels of the border at falling opacity; the outermost pixel stays as it was.
    struct CornerPixel
    {
        int dx, dy, opacity;
    };
    static const CornerPixel kCorner[] = {{1, 1, 255}, {1, 0, 60}, {0, 1, 60}, {2, 0, 120}, {0, 2, 120}};
    for (const CornerPixel& p : kCorner)
    {
        BlendWhidbeyPixel(dc, l + p.dx, t + p.dy, border, p.opacity);
        BlendWhidbeyPixel(dc, r - 1 - p.dx, t + p.dy, border, p.opacity);
        BlendWhidbeyPixel(dc, l + p.dx, b - 1 - p.dy, border, p.opacity);
        BlendWhidbeyPixel(dc, r - 1 - p.dx, b - 1 - p.dy, border, p.opacity);
    }
}

void COSMWhidbeyGradientTheme::DrawStateRectangle(CDC* dc, CRect rect, BOOL selected, BOOL pressed, BOOL enabled,
                                                  BOOL checked, BOOL popped, int barType, int barPosition)
{
    if (IsWhidbeyPopupMenu(barType, barPosition) && selected && !checked && !pressed)
    {
        DrawPopupHighlight(dc, rect);
        return;
    }
    if (barType == 0 && selected && enabled && !checked && !pressed)
    {
        rect.DeflateRect(1, 1);
        FillFramedRect(dc, rect, kHotFrame, -1);
        const COLORREF corner = BlendColors(GetColor(kHotFrame), GetColor(COLOR_WINDOW), 0.5);
        for (const CPoint& p : {CPoint(rect.left, rect.top), CPoint(rect.right - 1, rect.top),
                                CPoint(rect.left, rect.bottom - 1), CPoint(rect.right - 1, rect.bottom - 1)})
            dc->SetPixel(p, corner);
        rect.DeflateRect(1, 1);
        if (popped)
            FillGradient(dc, rect, PoppedGradient, FALSE);
        else if (LunaColors)
            FillGradient(dc, rect, HighlightGradient, FALSE);
        else
            FillFramedRect(dc, rect, -1, kHotFill);
        return;
    }
    if (popped && enabled && barType != 2)
    {
        FillGradient(dc, rect, PoppedGradient, FALSE);
        FillFramedRect(dc, rect, kHotFrame, -1);
        return;
    }
    COSMOffice2003Theme::DrawStateRectangle(dc, rect, selected, pressed, enabled, checked, popped, barType,
                                            barPosition);
}

// ---- Separators, control rectangles, borders and the popup gripper ----

CSize COSMWhidbeyGradientTheme::DrawCommandBarSeparator(CDC* dc, COSMCommandBar* bar, COSMControl* control, BOOL draw)
{
    if (!draw || !IsWhidbeyPopupMenu(bar->GetType(), bar->GetPosition()))
        return COSMOffice2003Theme::DrawCommandBarSeparator(dc, bar, control, draw);
    if (!control)
        return CSize(0, 0);
    const CRect r = control->GetRowRect();
    const CRect w = control->GetRect();
    if (control->GetWrap())
    {
        DrawLineIndexed(dc, w.left - 2, r.top - 1, w.left - 2, r.bottom + 1, kSeparatorLines);
        DrawLineIndexed(dc, w.left - 1, r.top - 1, w.left - 1, r.bottom + 1, COLOR_BTNHIGHLIGHT);
    }
    else
    {
        const int x = w.left - 1 + GetPopupBarGripperWidth(bar) + m_popupSeparatorIndent;
        DrawLineIndexed(dc, x, w.top - 2, w.right + 1, w.top - 2, kSeparatorLines);
        DrawLineIndexed(dc, x, w.top - 1, w.right + 1, w.top - 1, COLOR_BTNHIGHLIGHT);
    }
    return CSize(0, 0);
}

void COSMWhidbeyGradientTheme::AdjustControlRect(CRect& rect, COSMControl* control, BOOL vertical)
{
    COSMCommandBar* bar = control->GetParent();
    if (bar && bar->GetType() == 2)
    {
        rect.InflateRect(1, 0);
        return;
    }
    COSMOffice2003Theme::AdjustControlRect(rect, control, vertical);
}

CRect COSMWhidbeyGradientTheme::GetCommandBarBorders(COSMCommandBar* bar)
{
    if (IsWhidbeyPopupMenu(bar->GetType(), bar->GetPosition()))
        return CRect(4, 3, 4, 3);
    return COSMOffice2003Theme::GetCommandBarBorders(bar);
}

void COSMWhidbeyGradientTheme::FillPopupBarGripper(CDC* dc, int x, int y, int cx, int cy, BOOL expanded)
{
    COSMOffice2003Theme::FillPopupBarGripper(dc, x, y, cx, cy, expanded);
    VerticalLine(dc, x + cx, y, y + cy, GetColor(kSeparatorLines));
    VerticalLine(dc, x + cx + 1, y, y + cy, GetColor(COLOR_BTNHIGHLIGHT));
}
