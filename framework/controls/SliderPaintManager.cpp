#include "framework/controls/SliderPaintManager.h"

#include "classlib/DC.h"
#include "classlib/Gdi.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/controls/ScrollBase.h"
#include "framework/foundation/ColorManager.h"

#include <algorithm>

namespace {

COLORREF SliderColor(int index)
{
    return GetColorManager()->GetColor(index);
}

void FillSliderRect(CDC* dc, int left, int top, int right, int bottom, COLORREF color)
{
    const RECT rect{left, top, right, bottom};
    const COLORREF old = ::SetBkColor(dc->m_hDC, color);
    ::ExtTextOutA(dc->m_hDC, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(dc->m_hDC, old);
}

// A part's fill: shadow while pressed, highlight while hot, face otherwise.
COLORREF SliderPartFill(int part, int pressed, int hot)
{
    if (pressed == part)
        return SliderColor(COLOR_BTNSHADOW);
    if (hot == part)
        return SliderColor(COLOR_BTNHIGHLIGHT);
    return SliderColor(COLOR_BTNFACE);
}

}  // namespace

COSMSliderPaintManager::COSMSliderPaintManager(COSMPaintManager* pOwner) : COSMScrollBarPaintManager(pOwner) {}

COSMSliderPaintManager::COSMSliderPaintManager(COSMPaintManager* pOwner, COSMVisualStyleFunctions& styleFunctions)
    : COSMScrollBarPaintManager(pOwner, styleFunctions)
{}

COSMSliderPaintManager::~COSMSliderPaintManager() = default;

void COSMSliderPaintManager::RefreshMetrics()
{
    COSMScrollBarPaintManager::RefreshMetrics();
    m_horizontalArrowLength = kButtonLength;
    m_horizontalThickness = kButtonLength;
    m_fixedThumbLength = kThumbLength;
}

void COSMSliderPaintManager::DrawTick(CDC* dc, int x, int channelY)
{
    const COLORREF shadow = SliderColor(COLOR_BTNSHADOW);
    const int top = channelY - 3;
    FillSliderRect(dc, x, top, x + 1, top + 4, shadow);
    FillSliderRect(dc, x, top + 5, x + 1, top + 7, shadow);
    FillSliderRect(dc, x + 1, top, x + 2, top + 7, SliderColor(COLOR_BTNHIGHLIGHT));
}

void COSMSliderPaintManager::DrawScrollBar(CDC* dc, COSMScrollBase* bar)
{
    const ScrollBarGeometry& g = bar->GetScrollBarGeometry();
    if (g.vertical || g.pxRight - g.pxLeft == 0)
        return;
    int pressed;
    int hot;
    GetPartStates(bar, &pressed, &hot);
    const COLORREF shadow = SliderColor(COLOR_BTNSHADOW);
    const COLORREF highlight = SliderColor(COLOR_BTNHIGHLIGHT);
    const COLORREF text = SliderColor(COLOR_BTNTEXT);

    // The channel: a shadow line over a highlight line through the middle of the track.
    const int channelY = (g.pxLeft + g.pxRight) / 2 - 1;
    FillSliderRect(dc, g.upArrowEnd, channelY, g.downArrowStart, channelY + 1, shadow);
    FillSliderRect(dc, g.upArrowEnd, channelY + 1, g.downArrowStart, channelY + 2, highlight);

    const std::vector<double>& ticks = bar->GetTicks();
    if (!ticks.empty() && g.posMax > g.posMin)
    {
        const int left = g.upArrowEnd + kTickInset;
        const int width = g.downArrowStart - kTickInset - left;
        for (double value : ticks)
        {
            const double x = (value - g.posMin) * width / (g.posMax - g.posMin);
            if (x >= 0 && x <= width)
                DrawTick(dc, left + static_cast<int>(x) - 1, channelY);
        }
    }
    else
    {
        DrawTick(dc, (g.upArrowEnd + g.downArrowStart) / 2 - 1, channelY);
    }

    // The round buttons, a minus and a plus.
    auto drawButton = [&](int start, int end, int part, bool plus) {
        const int side = std::min(end - start, g.pxRight - g.pxLeft);
        if (side <= 0)
            return;
        const int left = start + (end - start - side) / 2;
        const int top = g.pxLeft + (g.pxRight - g.pxLeft - side) / 2;
        const CRect circle(left, top, left + side, top + side);
        if (m_pOwner)
            m_pOwner->DrawSmoothEllipse(dc, circle, shadow, SliderPartFill(part, pressed, hot));
        const int cx = circle.left + side / 2;
        const int cy = circle.top + side / 2;
        FillSliderRect(dc, cx - 4, cy - 1, cx + 4, cy + 1, text);
        if (plus)
            FillSliderRect(dc, cx - 1, cy - 4, cx + 1, cy + 4, text);
    };
    drawButton(g.pxTop, g.upArrowEnd, COSMScrollBase::kHitFirstArrow, false);
    drawButton(g.downArrowStart, g.pxBottom, COSMScrollBase::kHitSecondArrow, true);

    // The thumb: an 8 × 13 pointer centred in its rectangle.
    const int left = (g.thumbStart + g.thumbEnd) / 2 - 4;
    const int top = (g.pxLeft + g.pxRight) / 2 - 6;
    const POINT pointer[] = {{left, top},          {left + 7, top},      {left + 7, top + 8},
                             {left + 4, top + 12}, {left + 3, top + 12}, {left, top + 8}};
    CBrush brush(SliderPartFill(COSMScrollBase::kHitThumb, pressed, hot));
    CPen pen(PS_SOLID, 1, shadow);
    CBrush* oldBrush = dc->SelectObject(&brush);
    CPen* oldPen = dc->SelectObject(&pen);
    dc->Polygon(pointer, 6);
    dc->SelectObject(oldPen);
    dc->SelectObject(oldBrush);
}
