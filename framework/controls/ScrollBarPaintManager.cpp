#include "framework/controls/ScrollBarPaintManager.h"

#include "classlib/DC.h"
#include "classlib/Gdi.h"
#include "classlib/Wnd.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/controls/ScrollBase.h"
#include "framework/foundation/ColorManager.h"

#include <vsstyle.h>

#include <algorithm>

namespace {

const int kFaceColor = COLOR_BTNFACE;            // 15
const int kShadowColor = COLOR_BTNSHADOW;        // 16
const int kHighlightColor = COLOR_BTNHIGHLIGHT;  // 20

COLORREF ScrollColor(int index)
{
    return GetColorManager()->GetColor(index);
}

void FillWithColor(CDC* dc, const CRect& rect, COLORREF color)
{
    const COLORREF old = ::SetBkColor(dc->m_hDC, color);
    ::ExtTextOutA(dc->m_hDC, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(dc->m_hDC, old);
}

// A one-pixel frame: topLeft on the top and left edges, bottomRight on the others.
void FrameRect3d(CDC* dc, const CRect& rect, COLORREF topLeft, COLORREF bottomRight)
{
    FillWithColor(dc, CRect(rect.left, rect.top, rect.right - 1, rect.top + 1), topLeft);
    FillWithColor(dc, CRect(rect.left, rect.top, rect.left + 1, rect.bottom - 1), topLeft);
    FillWithColor(dc, CRect(rect.right - 1, rect.top, rect.right, rect.bottom), bottomRight);
    FillWithColor(dc, CRect(rect.left, rect.bottom - 1, rect.right, rect.bottom), bottomRight);
}

// A rectangle from a span along the bar's axis and its extent across.
CRect PartRect(const ScrollBarGeometry& g, int start, int end)
{
    return g.vertical ? CRect(g.pxLeft, start, g.pxRight, end) : CRect(start, g.pxLeft, end, g.pxRight);
}

}  // namespace

COSMScrollBarPaintManager::COSMScrollBarPaintManager(COSMPaintManager* pOwner)
    : COSMPartPaintManager(pOwner), m_scrollBarTheme(TRUE)
{}

COSMScrollBarPaintManager::COSMScrollBarPaintManager(COSMPaintManager* pOwner, COSMVisualStyleFunctions& styleFunctions)
    : COSMPartPaintManager(pOwner), m_scrollBarTheme(styleFunctions)
{}

COSMScrollBarPaintManager::~COSMScrollBarPaintManager() = default;

void COSMScrollBarPaintManager::RefreshMetrics()
{
    m_horizontalArrowLength = ::GetSystemMetrics(SM_CXHSCROLL);
    m_horizontalThickness = ::GetSystemMetrics(SM_CYHSCROLL);
    m_verticalArrowLength = ::GetSystemMetrics(SM_CYVSCROLL);
    m_verticalThickness = ::GetSystemMetrics(SM_CXVSCROLL);
    m_scrollBarTheme.OpenThemeData(nullptr, L"SCROLLBAR");
}

CRect COSMScrollBarPaintManager::GetThumblessTrack(const ScrollBarGeometry& g, const Parts& parts)
{
    // No thumb: the track runs on under where it would be, and no further than the arrows.
    CRect track = parts.thumb;
    CRect between = PartRect(g, g.upArrowEnd, g.downArrowStart);
    if (!track.IntersectRect(&track, &between))
        track.SetRectEmpty();
    return track;
}

COSMScrollBarPaintManager::Parts COSMScrollBarPaintManager::GetParts(const ScrollBarGeometry& g)
{
    Parts parts;
    parts.firstArrow = PartRect(g, g.pxTop, g.upArrowEnd);
    parts.firstPage = PartRect(g, g.upArrowEnd, g.thumbStart);
    parts.thumb = PartRect(g, g.thumbStart, g.thumbEnd);
    parts.secondPage = PartRect(g, g.thumbEnd, g.downArrowStart);
    parts.secondArrow = PartRect(g, g.downArrowStart, g.pxBottom);
    return parts;
}

void COSMScrollBarPaintManager::GetPartStates(const COSMScrollBase* bar, int* pressed, int* hot)
{
    const ScrollBarGeometry& g = bar->GetScrollBarGeometry();
    const ScrollBarTrackInfo* track = bar->GetScrollBarTrackInfo();
    *pressed = track && (track->cursorInside || track->thumbDragging) ? g.hitPart : -1;
    *hot = track ? -1 : g.hitPart;
}

HBRUSH COSMScrollBarPaintManager::GetPageBrush(CDC* dc, COSMScrollBase* bar)
{
    CWnd* parent = bar->GetParentWindow();
    const HWND parentWindow = parent ? parent->GetSafeHwnd() : nullptr;
    if (!parentWindow)
        return ::GetSysColorBrush(COLOR_SCROLLBAR);
    return reinterpret_cast<HBRUSH>(::DefWindowProcA(parentWindow, WM_CTLCOLORSCROLLBAR,
                                                     reinterpret_cast<WPARAM>(dc->m_hDC),
                                                     reinterpret_cast<LPARAM>(parentWindow)));
}

void COSMScrollBarPaintManager::DrawArrowGlyph(CDC* dc, const CRect& box, char glyph, BOOL enabled)
{
    if (box.Width() < 6 || box.Height() < 6)
        return;
    const int side = std::min(box.Width(), box.Height());
    LOGFONTA logFont{};
    logFont.lfHeight = side - 4;
    logFont.lfWeight = FW_NORMAL;
    logFont.lfCharSet = SYMBOL_CHARSET;
    lstrcpyA(logFont.lfFaceName, "MARLETT");
    CFont font;
    if (!font.CreateFontIndirect(&logFont))
        return;
    CFont* oldFont = dc->SelectObject(&font);
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    const COLORREF oldColor = dc->SetTextColor(enabled ? RGB(0, 0, 0) : ::GetSysColor(kShadowColor));
    const char text[2] = {glyph, 0};
    dc->TextOut(box.left + (box.Width() - side) / 2 + 2, box.top + (box.Height() - side) / 2 + 2, text, 1);
    dc->SetTextColor(oldColor);
    dc->SetBkMode(oldMode);
    dc->SelectObject(oldFont);
}

void COSMScrollBarPaintManager::DrawScrollBar(CDC* dc, COSMScrollBase* bar)
{
    const ScrollBarGeometry& g = bar->GetScrollBarGeometry();
    if (g.pxRight - g.pxLeft == 0)
        return;
    int pressed;
    int hot;
    GetPartStates(bar, &pressed, &hot);
    const BOOL enabled = g.posMax - g.posMin - g.page + 1 > 0 && bar->IsScrollBarEnabled();
    const Parts parts = GetParts(g);
    const int style = bar->GetScrollBarStyle();
    if (style == COSMScrollBase::kStyleVisual && m_scrollBarTheme.IsOpen() && m_scrollBarTheme.IsAppThemed())
        DrawVisualStyle(dc, g, parts, enabled, pressed, hot);
    else
        DrawClassic(dc, bar, parts, enabled, pressed, style == COSMScrollBase::kStyleFlat);
}

void COSMScrollBarPaintManager::DrawVisualStyle(CDC* dc, const ScrollBarGeometry& g, const Parts& parts, BOOL enabled,
                                                int pressed, int hot)
{
    // The four states of a part in the order the class numbers them: normal, hot, pressed, disabled.
    auto state = [&](int part) { return !enabled ? 4 : pressed == part ? 3 : hot == part ? 2 : 1; };
    const HDC hdc = dc->m_hDC;
    // Arrow states come in blocks of four: up, down, left, right.
    const int firstArrowBase = g.vertical ? ABS_UPNORMAL - 1 : ABS_LEFTNORMAL - 1;
    const int secondArrowBase = g.vertical ? ABS_DOWNNORMAL - 1 : ABS_RIGHTNORMAL - 1;
    m_scrollBarTheme.DrawThemeBackground(hdc, SBP_ARROWBTN, firstArrowBase + state(COSMScrollBase::kHitFirstArrow),
                                         &parts.firstArrow, nullptr);
    m_scrollBarTheme.DrawThemeBackground(hdc, g.vertical ? SBP_LOWERTRACKVERT : SBP_LOWERTRACKHORZ,
                                         state(COSMScrollBase::kHitFirstPage), &parts.firstPage, nullptr);
    if (enabled && g.thumbEnd <= g.downArrowStart)
    {
        const int thumbState = state(COSMScrollBase::kHitThumb);
        m_scrollBarTheme.DrawThemeBackground(hdc, g.vertical ? SBP_THUMBBTNVERT : SBP_THUMBBTNHORZ, thumbState,
                                             &parts.thumb, nullptr);
        m_scrollBarTheme.DrawThemeBackground(hdc, g.vertical ? SBP_GRIPPERVERT : SBP_GRIPPERHORZ, thumbState,
                                             &parts.thumb, nullptr);
    }
    else
    {
        const CRect track = GetThumblessTrack(g, parts);
        if (!track.IsRectEmpty())
            m_scrollBarTheme.DrawThemeBackground(hdc, g.vertical ? SBP_LOWERTRACKVERT : SBP_LOWERTRACKHORZ,
                                                 state(COSMScrollBase::kHitFirstPage), &track, nullptr);
    }
    m_scrollBarTheme.DrawThemeBackground(hdc, g.vertical ? SBP_UPPERTRACKVERT : SBP_UPPERTRACKHORZ,
                                         state(COSMScrollBase::kHitSecondPage), &parts.secondPage, nullptr);
    m_scrollBarTheme.DrawThemeBackground(hdc, SBP_ARROWBTN, secondArrowBase + state(COSMScrollBase::kHitSecondArrow),
                                         &parts.secondArrow, nullptr);
}

void COSMScrollBarPaintManager::DrawClassic(CDC* dc, COSMScrollBase* bar, const Parts& parts, BOOL enabled, int pressed,
                                            BOOL flat)
{
    const ScrollBarGeometry& g = bar->GetScrollBarGeometry();
    const COLORREF face = ScrollColor(kFaceColor);
    const COLORREF shadow = ScrollColor(kShadowColor);
    const COLORREF highlight = ScrollColor(kHighlightColor);

    auto drawArrow = [&](const CRect& box, int part, UINT direction, char glyph) {
        const BOOL isPressed = pressed == part;
        if (flat)
        {
            FillWithColor(dc, box, face);
            FrameRect3d(dc, box, isPressed ? shadow : highlight, isPressed ? highlight : shadow);
            DrawArrowGlyph(dc, box, glyph, enabled);
            return;
        }
        RECT rect = box;
        ::DrawFrameControl(dc->m_hDC, &rect, DFC_SCROLL,
                           direction | (enabled ? 0 : DFCS_INACTIVE) | (isPressed ? DFCS_PUSHED : 0));
    };
    auto drawPage = [&](const CRect& area, bool isPressed) {
        if (area.IsRectEmpty())
            return;
        ::FillRect(dc->m_hDC, &area, GetPageBrush(dc, bar));
        if (isPressed)
            ::InvertRect(dc->m_hDC, &area);
    };

    drawArrow(parts.firstArrow, COSMScrollBase::kHitFirstArrow, g.vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT,
              g.vertical ? '5' : '3');
    drawPage(parts.firstPage, pressed == COSMScrollBase::kHitFirstPage);
    if (enabled && g.thumbEnd <= g.downArrowStart)
    {
        FillWithColor(dc, parts.thumb, face);
        if (flat)
        {
            FrameRect3d(dc, parts.thumb, highlight, shadow);
        }
        else
        {
            RECT rect = parts.thumb;
            ::DrawEdge(dc->m_hDC, &rect, EDGE_RAISED, BF_RECT | BF_ADJUST);
        }
    }
    else
    {
        drawPage(GetThumblessTrack(g, parts), false);
    }
    drawPage(parts.secondPage, pressed == COSMScrollBase::kHitSecondPage);
    drawArrow(parts.secondArrow, COSMScrollBase::kHitSecondArrow, g.vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT,
              g.vertical ? '6' : '4');
}
