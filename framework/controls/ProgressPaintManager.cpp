#include "framework/controls/ProgressPaintManager.h"

#include "framework/commandbars/PaintManager.h"
#include "framework/controls/ProgressBase.h"

#include <algorithm>

namespace {

// The looks that always draw the classic bar.
const int kThemeDefault = 0;
const int kThemeOffice = 1;
// The paint manager's colour indexes of the classic bar: face, frame (shadow) and fill (highlight).
const int kProgressFaceColor = 15;
const int kProgressFrameColor = 16;
const int kProgressFillColor = 13;
// How far the inside lies from the bar's edges: classic on every side; themed left and right, top and bottom.
const int kClassicInset = 2;
const int kThemedInsetX = 4;
const int kThemedInsetY = 3;
// The themed chunks' spacing when the visual style gives none.
const int kDefaultChunkSpacing = 2;

}  // namespace

COSMProgressPaintManager::COSMProgressPaintManager(COSMPaintManager* pOwner) : COSMPartPaintManager(pOwner) {}

COSMProgressPaintManager::COSMProgressPaintManager(COSMPaintManager* pOwner, COSMVisualStyleFunctions& styleFunctions)
    : COSMPartPaintManager(pOwner), m_visualStyle(styleFunctions)
{}

COSMProgressPaintManager::~COSMProgressPaintManager()
{
    m_visualStyle.CloseThemeData();
}

void COSMProgressPaintManager::RefreshMetrics()
{
    m_visualStyle.OpenThemeData(nullptr, L"PROGRESS");
}

BOOL COSMProgressPaintManager::IsThemed()
{
    const int themeId = m_pOwner ? m_pOwner->GetThemeId() : kThemeDefault;
    if (themeId == kThemeDefault || themeId == kThemeOffice)
        return FALSE;
    return m_visualStyle.IsOpen() && m_visualStyle.IsAppThemed();
}

int COSMProgressPaintManager::CalcFillWidth(int width, int pos, int lower, int upper)
{
    // MulDiv of the raw values answers -1 for equal bounds, and a position outside the range would fill outside the
    // bar: the share is worked out in 64 bits and held to the bar.
    long long range = static_cast<long long>(upper) - lower;
    long long done = static_cast<long long>(pos) - lower;
    if (width <= 0 || range == 0)
        return 0;
    if (range < 0)
    {
        range = -range;
        done = -done;
    }
    if (done <= 0)
        return 0;
    if (done >= range)
        return width;
    // Rounded to the nearest pixel, as MulDiv rounds.
    return static_cast<int>((static_cast<long long>(width) * done + range / 2) / range);
}

std::vector<CRect> COSMProgressPaintManager::CalcChunkRects(const CRect& inner, int fill, int chunk, int spacing)
{
    std::vector<CRect> chunks;
    chunk = std::max(chunk, 1);
    spacing = std::max(spacing, 0);
    const int count = fill > 0 ? (fill - 1 + chunk + spacing) / (chunk + spacing) : 0;
    int left = inner.left;
    for (int i = 0; i < count && left < inner.right; ++i)
    {
        // The last pixel column inside the bar stays free, as the platform's own bar leaves it.
        const int right = static_cast<int>(std::min<long long>(static_cast<long long>(left) + chunk, inner.right - 1));
        if (right <= left)
            break;
        chunks.emplace_back(left, inner.top, right, inner.bottom);
        left = right + spacing;
    }
    return chunks;
}

void COSMProgressPaintManager::DrawProgress(CDC* dc, const COSMProgressBase* progress)
{
    if (!dc || !progress)
        return;
    const CRect rect = progress->GetProgressRect();
    int lower = 0;
    int upper = 0;
    progress->GetRange(lower, upper);
    const int pos = progress->GetPos();

    if (IsThemed())
    {
        CRect inner = rect;
        inner.DeflateRect(kThemedInsetX, kThemedInsetY);
        m_visualStyle.DrawThemeBackground(dc->GetSafeHdc(), kPartBar, 0, &rect, nullptr);
        const int fill = CalcFillWidth(inner.Width(), pos, lower, upper);
        if (fill == 0)
            return;
        int chunk = inner.Height() * 2 / 3;
        m_visualStyle.GetThemeInt(0, 0, kPropChunkSize, &chunk);
        int spacing = kDefaultChunkSpacing;
        m_visualStyle.GetThemeInt(0, 0, kPropSpaceSize, &spacing);
        for (const CRect& piece : CalcChunkRects(inner, fill, chunk, spacing))
            m_visualStyle.DrawThemeBackground(dc->GetSafeHdc(), kPartChunk, 0, &piece, nullptr);
        return;
    }

    CRect inner = rect;
    inner.DeflateRect(kClassicInset, kClassicInset);
    const COLORREF frame = m_pOwner ? m_pOwner->GetColor(kProgressFrameColor) : ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF face = m_pOwner ? m_pOwner->GetColor(kProgressFaceColor) : ::GetSysColor(COLOR_BTNFACE);
    const COLORREF fillColor = m_pOwner ? m_pOwner->GetColor(kProgressFillColor) : ::GetSysColor(COLOR_HIGHLIGHT);
    dc->FillSolidRect(rect, face);
    dc->Draw3dRect(rect, frame, frame);
    if (inner.Width() > 1)
    {
        const int fill = CalcFillWidth(inner.Width(), pos, lower, upper);
        if (fill > 0)
            dc->FillSolidRect(CRect(inner.left, inner.top, inner.left + fill, inner.bottom), fillColor);
    }
}
