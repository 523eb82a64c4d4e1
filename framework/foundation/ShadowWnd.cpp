#include "framework/foundation/ShadowWnd.h"

#include "classlib/DC.h"
#include "classlib/ScopedHandle.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/ImageFunctions.h"
#include "framework/foundation/ShadowManager.h"

#include <algorithm>

namespace {

// A layered strip is this thick; a plain one half of it.
constexpr int kLayeredThickness = 4;
constexpr int kPlainThickness = 2;
// Each fading end of a strip is a square of this side.
constexpr int kCornerSide = 4;

// The fade-in square: i counts along the strip from its outer end, j across it from its outer edge (both 0..3).
DWORD ShadowCornerPixel(int i, int j, int k, COLORREF clrShadow)
{
    const int weight = (i + 1) * (j + 1);
    return ScaleShadowPixel(clrShadow, 3 * k * weight, weight, 20);
}

// The even part of a strip: d counts from the edge that touches the owner (0..3).
DWORD ShadowBandPixel(int d, int k, COLORREF clrShadow)
{
    return ScaleShadowPixel(clrShadow, 15 * k * (4 - d), 4 - d, 4);
}

DWORD RightStripPixel(int x, int y, int k, COLORREF clrShadow)
{
    if (x >= kCornerSide)
        return 0;
    if (y < kCornerSide)
        return ShadowCornerPixel(kCornerSide - 1 - x, y, k, clrShadow);
    return ShadowBandPixel(x, k, clrShadow);
}

DWORD BottomStripPixel(int x, int y, int cx, int k, COLORREF clrShadow)
{
    if (y >= kCornerSide)
        return 0;
    // Tested first: where the two ends of a narrow strip overlap, the right one wins.
    if (x >= cx - kCornerSide)
        return ShadowCornerPixel(cx - 1 - x, kCornerSide - 1 - y, k, clrShadow);
    if (x < kCornerSide)
        return ShadowCornerPixel(x, kCornerSide - 1 - y, k, clrShadow);
    return ShadowBandPixel(y, k, clrShadow);
}

}  // namespace

DWORD ScaleShadowPixel(COLORREF clrShadow, int nAlpha, int nNum, int nDen)
{
    const auto scale = [&](int component) { return static_cast<DWORD>(std::min(nAlpha, component * nNum / nDen)); };
    return (static_cast<DWORD>(nAlpha) << 24) | (scale(GetRValue(clrShadow)) << 16) |
           (scale(GetGValue(clrShadow)) << 8) | scale(GetBValue(clrShadow));
}

std::vector<DWORD> MakeShadowPixels(int nSide, int cx, int cy, int k, COLORREF clrShadow)
{
    std::vector<DWORD> pixels;
    if (cx <= 0 || cy <= 0)
        return pixels;
    pixels.resize(static_cast<size_t>(cx) * static_cast<size_t>(cy));
    for (int y = 0; y < cy; ++y)
    {
        DWORD* row = pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(cx);
        for (int x = 0; x < cx; ++x)
        {
            switch (nSide)
            {
            case COSMShadowWnd::kSideRight:
                row[x] = RightStripPixel(x, y, k, clrShadow);
                break;
            case COSMShadowWnd::kSideBottom:
                row[x] = BottomStripPixel(x, y, cx, k, clrShadow);
                break;
            default:
                row[x] = ScaleShadowPixel(clrShadow, 60 * k, 1, 1);
                break;
            }
        }
    }
    return pixels;
}

BEGIN_MESSAGE_MAP(COSMShadowWnd, CWnd)
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_NCHITTEST()
END_MESSAGE_MAP()

COSMShadowWnd::COSMShadowWnd(COSMShadowManager* pManager, CWnd* pOwner, BOOL bControlShadow, int nTag)
    : m_pOwner(pOwner), m_nTag(nTag), m_bControlShadow(bControlShadow),
      m_manager(RefPtr<COSMShadowManager>::Retain(pManager))
{}

COSMShadowWnd::~COSMShadowWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

CRect COSMShadowWnd::GetShadowRect(int nSide, const CRect& rcOwner, int nThickness)
{
    switch (nSide)
    {
    case kSideBottom:
        return CRect(rcOwner.left + nThickness, rcOwner.bottom, rcOwner.right + nThickness,
                     rcOwner.bottom + nThickness);
    case kSideRight:
        return CRect(rcOwner.right, rcOwner.top + nThickness, rcOwner.right + nThickness, rcOwner.bottom);
    default:
        return CRect(rcOwner.right - 1, rcOwner.bottom - 1, rcOwner.right, rcOwner.bottom);
    }
}

BOOL COSMShadowWnd::Create(int nSide, const CRect& rcOwner)
{
    m_nSide = nSide;
    const BOOL layered = m_manager->IsLayered();
    if (!GetSafeHwnd())
    {
        const UINT classStyle = m_manager->GetSaveBits() > 0 ? CS_SAVEBITS | CS_OWNDC : 0;
        LPCSTR className = AfxRegisterWndClass(classStyle, ::LoadCursor(nullptr, IDC_ARROW));
        const HWND parent = m_pOwner ? ::GetParent(m_pOwner->GetSafeHwnd()) : nullptr;
        if (!CreateEx(WS_EX_TOOLWINDOW | (layered ? WS_EX_LAYERED : 0), className, nullptr, WS_POPUP, 0, 0, 0, 0,
                      parent, nullptr))
            return FALSE;
    }
    RemoveRegion();
    const CRect rect = GetShadowRect(nSide, rcOwner, layered ? kLayeredThickness : kPlainThickness);
    SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                 SWP_NOREDRAW | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    return TRUE;
}

void COSMShadowWnd::ClipToOtherShadows()
{
    CRect rect;
    GetWindowRect(&rect);
    CRect grown = rect;
    for (int i = 0; i < m_manager->GetShadowCount(); ++i)
    {
        COSMShadowWnd* other = m_manager->GetShadow(i);
        if (other == this || !other->GetSafeHwnd())
            continue;
        const int otherSide = other->GetSide();
        CRect otherRect;
        other->GetWindowRect(&otherRect);
        // Where a nested popup's strip starts inside another popup's strip of the other kind, it reaches back over
        // that strip's corner so the two join without a gap.
        if (m_nSide == kSideBottom && otherSide == kSideRight)
        {
            if (grown.left == otherRect.right - 1 && otherRect.top < grown.top && grown.bottom < otherRect.bottom)
                grown.left -= 2 * otherRect.Width() + 1;
        }
        else if (m_nSide == kSideRight && otherSide != kSideRight)
        {
            if (grown.top == otherRect.bottom - 1 && otherRect.left < grown.right && grown.right < otherRect.right)
                grown.top -= 2 * otherRect.Height();
        }
    }
    if (grown != rect)
        SetWindowPos(nullptr, grown.left, grown.top, grown.Width(), grown.Height(),
                     SWP_NOREDRAW | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void COSMShadowWnd::ExcludeRect(const CRect& rcScreen)
{
    CRect window;
    GetWindowRect(&window);
    CRect cut;
    if (!cut.IntersectRect(&window, &rcScreen))
        return;
    cut.OffsetRect(-window.left, -window.top);
    // Cuts add up: a strip may lose the excluded rectangle and several other popups.
    ScopedGdiObject<HRGN> region(::CreateRectRgn(0, 0, window.Width(), window.Height()));
    if (m_bRegion)
        ::GetWindowRgn(m_hWnd, region.Get());
    const ScopedGdiObject<HRGN> hole(::CreateRectRgnIndirect(&cut));
    ::CombineRgn(region.Get(), region.Get(), hole.Get(), RGN_DIFF);
    // The window owns the region from here on.
    if (::SetWindowRgn(m_hWnd, region.Get(), TRUE))
        (void)region.Release();
    m_bRegion = TRUE;
}

void COSMShadowWnd::RemoveRegion()
{
    if (GetSafeHwnd())
        ::SetWindowRgn(m_hWnd, nullptr, FALSE);
    m_bRegion = FALSE;
}

void COSMShadowWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (m_manager->IsLayered() && m_manager->GetUpdateLayeredWindow() && m_pOwner)
        UpdateLayeredPixels(cx, cy);
}

void COSMShadowWnd::UpdateLayeredPixels(int cx, int cy)
{
    const int k = (m_manager->GetFlags() & COSMShadowManager::kForceShadows) ? 1 : 2;
    const std::vector<DWORD> pixels = MakeShadowPixels(m_nSide, cx, cy, k, m_manager->GetShadowColor());
    if (pixels.empty())
        return;
    void* bits = nullptr;
    const ScopedGdiObject<HBITMAP> bitmap(CreateAlphaDIBSection(nullptr, cx, cy, &bits));
    if (!bitmap)
        return;
    // The section is bottom-up: strip row y is its row cy - 1 - y.
    auto* dib = static_cast<DWORD*>(bits);
    for (int y = 0; y < cy; ++y)
        std::copy_n(pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(cx), cx,
                    dib + static_cast<size_t>(cy - 1 - y) * static_cast<size_t>(cx));

    const ScopedCreatedDC memory(::CreateCompatibleDC(nullptr));
    const ScopedSelection selected = SelectScoped(memory.Get(), bitmap.Get());
    const ScopedWindowDC screen = GetScopedWindowDC(nullptr);
    CRect window;
    GetWindowRect(&window);
    POINT destination = {window.left, window.top};
    POINT source = {0, 0};
    SIZE size = {cx, cy};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    m_manager->GetUpdateLayeredWindow()(m_hWnd, screen.Get(), &destination, &size, memory.Get(), &source, 0, &blend,
                                        ULW_ALPHA);
}

void COSMShadowWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, m_manager->IsLayered() ? RGB(0, 0, 0) : GetColorManager()->GetColor(COLOR_BTNSHADOW));
}

BOOL COSMShadowWnd::OnEraseBkgnd(CDC* pDC)
{
    return TRUE;
}

LRESULT COSMShadowWnd::OnNcHitTest(CPoint point)
{
    return HTTRANSPARENT;
}

int COSMShadowWnd::OwnerSink::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult)
{
    if (nMessage == WM_SHOWWINDOW)
    {
        m_pShadow->ShowWindow(wParam ? SW_SHOWNA : SW_HIDE);
    }
    else if (nMessage == WM_DESTROY)
    {
        // The manager deletes the shadow, and with it this sink: nothing may touch either afterwards.
        m_pShadow->GetManager()->DestroyShadow(m_pShadow);
    }
    return kNotHandled;
}
