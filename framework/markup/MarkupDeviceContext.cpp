#include "framework/markup/MarkupDeviceContext.h"

#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupColor.h"
#include "framework/markup/MarkupLayoutMath.h"
#include "framework/markup/MarkupThickness.h"

#include <cstdlib>

namespace {

SIZE WindowExtentOf(HDC dc)
{
    SIZE extent = {1, 1};
    if (dc)
        ::GetWindowExtEx(dc, &extent);
    return extent;
}

SIZE ViewportExtentOf(HDC dc)
{
    SIZE extent = {1, 1};
    if (dc)
        ::GetViewportExtEx(dc, &extent);
    return extent;
}

// n × numerator / denominator, truncated toward zero like 32-bit arithmetic would, without its overflow.
int ScaleToDevice(int n, int numerator, int denominator)
{
    return SaturateMarkupLength(static_cast<long long>(n) * numerator / denominator);
}

}  // namespace

COSMMarkupDeviceContext::COSMMarkupDeviceContext(HDC dc, HDC attribDC)
    : COSMMarkupDeviceContext(dc, attribDC, WindowExtentOf(dc), ViewportExtentOf(dc))
{
}

COSMMarkupDeviceContext::COSMMarkupDeviceContext(HDC dc, HDC attribDC, SIZE windowExt, SIZE viewportExt)
    : m_hDC(dc), m_hAttribDC(attribDC ? attribDC : dc), m_szWindowExt(windowExt), m_szViewportExt(viewportExt)
{
    if (m_szWindowExt.cx == 0 || m_szWindowExt.cy == 0)
        m_szWindowExt = m_szViewportExt = SIZE{1, 1};
    m_szWindowExt = SIZE{std::abs(m_szWindowExt.cx), std::abs(m_szWindowExt.cy)};
    m_szViewportExt = SIZE{std::abs(m_szViewportExt.cx), std::abs(m_szViewportExt.cy)};
}

COSMMarkupDeviceContext::~COSMMarkupDeviceContext() = default;

void COSMMarkupDeviceContext::OffsetViewport(POINT point)
{
    ::OffsetViewportOrgEx(m_hDC, ScaleToDevice(point.x, m_szViewportExt.cx, m_szWindowExt.cx),
                          ScaleToDevice(point.y, m_szViewportExt.cy, m_szWindowExt.cy), nullptr);
}

void COSMMarkupDeviceContext::DrawFrame(RECT rect, COSMMarkupBrush* brush, const COSMMarkupThickness* thickness)
{
    if (!thickness)
        return;
    const int left = thickness->GetLeft();
    const int top = thickness->GetTop();
    const int right = thickness->GetRight();
    const int bottom = thickness->GetBottom();
    if (left > 0)
        FillRectangle(RECT{rect.left, rect.top, AddMarkupLengths(rect.left, left), rect.bottom}, brush);
    if (right > 0)
        FillRectangle(RECT{SubtractMarkupLengths(rect.right, right), rect.top, rect.right, rect.bottom}, brush);
    if (top > 0)
        FillRectangle(RECT{rect.left, rect.top, rect.right, AddMarkupLengths(rect.top, top)}, brush);
    if (bottom > 0)
        FillRectangle(RECT{rect.left, SubtractMarkupLengths(rect.bottom, bottom), rect.right, rect.bottom}, brush);
}

void COSMMarkupDeviceContext::FillRectangle(RECT rect, COSMMarkupBrush* brush)
{
    const COSMMarkupSolidColorBrush* solid = MarkupDynamicCast<COSMMarkupSolidColorBrush>(brush);
    const COSMMarkupColor* color = solid ? solid->GetColor() : nullptr;
    if (!color)
        return;
    // An opaque text-out of nothing fills the rectangle with the background colour, without a brush to make.
    const COLORREF oldColor = ::SetBkColor(m_hDC, color->GetValue() & 0xFFFFFF);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, &rect, "", 0, nullptr);
    ::SetBkColor(m_hDC, oldColor);
}

void COSMMarkupDeviceContext::FillRoundedRectangle(RECT rect, COSMMarkupBrush* brush, const double* radii)
{
    FillRectangle(rect, brush);
}

void COSMMarkupDeviceContext::DrawRoundedFrame(RECT rect, COSMMarkupBrush* brush,
                                               const COSMMarkupThickness* thickness, const double* radii)
{
    DrawFrame(rect, brush, thickness);
}

void COSMMarkupDeviceContext::IntersectClipRect(const RECT* rect)
{
    if (rect)
        ::IntersectClipRect(m_hDC, rect->left, rect->top, rect->right, rect->bottom);
}

void COSMMarkupDeviceContext::GetClipBox(RECT* rect)
{
    if (rect)
        ::GetClipBox(m_hDC, rect);
}

HRGN COSMMarkupDeviceContext::SaveClipRegion()
{
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    if (!region)
        return nullptr;
    if (::GetClipRgn(m_hDC, region) == 1)
        return region;
    ::DeleteObject(region);
    return MarkupNoClipRegion();
}

void COSMMarkupDeviceContext::RestoreClipRegion(HRGN saved)
{
    if (!saved)
        return;
    if (saved == MarkupNoClipRegion()) {
        ::ExtSelectClipRgn(m_hDC, nullptr, RGN_COPY);
        return;
    }
    ::ExtSelectClipRgn(m_hDC, saved, RGN_COPY);
    ::DeleteObject(saved);
}

HDC COSMMarkupDeviceContext::GetDC()
{
    return m_hDC;
}

void COSMMarkupDeviceContext::ReleaseDC(HDC dc) {}
