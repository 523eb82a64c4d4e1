// The frame painter: metrics, region, borders, caption, caption buttons, title text and icons.
#include "framework/ribbon/FramePaintManager.h"

#include "classlib/FrameWnd.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/BufferDC.h"
#include "framework/foundation/DCSelectors.h"
#include "framework/ribbon/RibbonFrame.h"
#include "framework/themes/Office2007Images.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr COLORREF kFrameMagenta = RGB(255, 0, 255);
const CRect kFrameTopMargins(0, 5, 0, 3);

}  // namespace

COSMFramePaintManager::COSMFramePaintManager(COSMPaintManager* owner) : COSMPartPaintManager(owner) {}

COSMFramePaintManager::~COSMFramePaintManager() = default;

int COSMFramePaintManager::SystemMetric(int index) const
{
    return m_pOwner ? m_pOwner->GetSystemMetric(index) : ::GetSystemMetrics(index);
}

COSMOffice2007Image* COSMFramePaintManager::LoadImage(LPCSTR name)
{
    return COSMOffice2007Images::Instance()->LoadImage(name);
}

void COSMFramePaintManager::RefreshMetrics()
{
    ++m_refreshCount;
    m_captionHeight = std::max(17, SystemMetric(SM_CYCAPTION));

    COSMOffice2007Images* images = COSMOffice2007Images::Instance();
    COLORREF* const targets[] = {&m_clrBorderActive[0],     &m_clrBorderActive[1],   &m_clrBorderActive[2],
                                 &m_clrBorderActive[3],     &m_clrBorderInactive[0], &m_clrBorderInactive[1],
                                 &m_clrBorderInactive[2],   &m_clrBorderInactive[3], &m_clrCaptionTextActiveTitle,
                                 &m_clrCaptionTextInActive, &m_clrCaptionTextActive};
    static const LPCSTR kKeys[] = {"BorderActive0",       "BorderActive1",    "BorderActive2",
                                   "BorderActive3",       "BorderInactive0",  "BorderInactive1",
                                   "BorderInactive2",     "BorderInactive3",  "CaptionTextActiveTitle",
                                   "CaptionTextInActive", "CaptionTextActive"};
    for (size_t i = 0; i < std::size(kKeys); ++i)
        *targets[i] = images->GetImageColor("Window", kKeys[i]);

    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (m_pOwner)
        m_pOwner->GetNonClientMetrics(&metrics);
    else
        ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    // The caption reads lighter than the system's bold caption, as the look draws it.
    LOGFONTA logFont = metrics.lfCaptionFont;
    logFont.lfWeight = FW_NORMAL;
    metrics.lfSmCaptionFont.lfWeight = FW_NORMAL;
    if (m_pOwner && m_pOwner->IsClearTypeQuality())
        logFont.lfQuality = CLEARTYPE_QUALITY;
    if (m_pOwner && m_pOwner->IsFaceNameMatch() && !m_pOwner->GetFaceName().IsEmpty() &&
        COSMPaintManager::FontExists(m_pOwner->GetFaceName()))
        lstrcpynA(logFont.lfFaceName, m_pOwner->GetFaceName(), LF_FACESIZE);
    if (logFont.lfHeight < 0 && logFont.lfHeight >= -10)
        logFont.lfHeight = -11;
    if (m_captionFont.IsStandard() || !m_captionFont.GetSafeHandle())
        m_captionFont.SetFontIndirect(logFont);
}

HRGN COSMFramePaintManager::CreateFrameRegion(const COSMRibbonFrame* frame, int width, int height)
{
    if (frame && (frame->GetStyle(FALSE) & WS_MAXIMIZE))
        return nullptr;
    const int cx = width;
    const int cy = height;
    std::vector<RECT> rects = {
        {4, 0, cx - 4, 1}, {2, 1, cx - 2, 2}, {1, 2, cx - 1, 3}, {1, 3, cx - 1, 4}, {0, 4, cx, cy - 4}};
    int statusBar = 0;
    if (frame && frame->GetStatusBarHeight(&statusBar) && frame->GetFrameBorder() > 3)
        rects.insert(rects.end(), {{1, cy - 4, cx - 1, cy - 2}, {2, cy - 2, cx - 2, cy - 1}, {4, cy - 1, cx - 4, cy}});
    else
        rects.push_back({0, cy - 4, cx, cy});
    // A frame lower or narrower than the corners leaves rectangles without area: they are left out, so the region
    // stays valid (or there is none).
    rects.erase(std::remove_if(rects.begin(), rects.end(),
                               [](const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }),
                rects.end());
    if (rects.empty())
        return nullptr;

    const DWORD rectBytes = static_cast<DWORD>(rects.size() * sizeof(RECT));
    std::vector<BYTE> buffer(sizeof(RGNDATAHEADER) + rectBytes);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = rectBytes / sizeof(RECT);
    data->rdh.nRgnSize = rectBytes;
    ::SetRect(&data->rdh.rcBound, 0, 0, cx, cy);
    std::copy(rects.begin(), rects.end(), reinterpret_cast<RECT*>(data->Buffer));
    return ::ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data);
}

void COSMFramePaintManager::DrawFrame(CDC* dc, const COSMRibbonFrame* frame)
{
    const HWND hwnd = frame ? frame->GetFrameHwnd() : nullptr;
    if (!dc || !hwnd)
        return;
    CRect window;
    CRect client;
    ::GetWindowRect(hwnd, &window);
    ::GetClientRect(hwnd, &client);
    ::ClientToScreen(hwnd, reinterpret_cast<POINT*>(&client.left));
    ::ClientToScreen(hwnd, reinterpret_cast<POINT*>(&client.right));
    const int W = window.Width();
    const int H = window.Height();
    const BOOL active = frame->IsActive();
    const BOOL maximized = (frame->GetStyle(FALSE) & WS_MAXIMIZE) != 0;
    const int b = client.left - window.left;
    const int d = window.bottom - client.bottom;
    const int top = frame->GetCaptionHeight();
    int statusBar = 0;
    const BOOL hasStatusBar = frame->GetStatusBarHeight(&statusBar);
    const int inner = hasStatusBar ? H - top - statusBar - 1 : H - top;
    auto color = [&](int i) { return GetBorderColor(active, i); };

    // The side borders, one column per line, the band inside them in the innermost colour.
    if (b > 0)
    {
        dc->FillSolidRect(0, top, 1, H - top, color(0));
        dc->FillSolidRect(W - 1, top, 1, H - top, color(0));
    }
    for (int i = 1; i < 3 && i < b; ++i)
    {
        dc->FillSolidRect(i, top, 1, inner, color(i));
        dc->FillSolidRect(W - 1 - i, top, 1, inner, color(i));
    }
    if (b > 3)
    {
        dc->FillSolidRect(3, top, b - 3, inner, color(3));
        dc->FillSolidRect(W - b, top, b - 3, inner, color(3));
    }

    // The bottom line and the band above it.
    dc->FillSolidRect(0, H - 1, W, 1, active ? m_clrBorderActive[maximized ? 3 : 0] : m_clrBorderInactive[0]);
    if (d > 1)
        dc->FillSolidRect(1, H - d, W - 2, d - 1, color(3));

    const CRect band(0, 0, W, top);
    const int state = active ? 0 : 1;
    if (!frame->IsCaptionStandard())
        DrawCaptionBorder(dc, band, b, frame->GetFrameBorder(), state);
    else
        DrawFullCaption(dc, frame, band, b, frame->GetFrameBorder(), state, active);

    if (hasStatusBar)
        DrawStatusBarPieces(dc, W, H, b, d, statusBar, state);
}

void COSMFramePaintManager::DrawCaptionBorder(CDC* dc, const CRect& band, int border, int borderHeight, int state)
{
    // The ribbon draws the caption: only the border columns and rows around it.
    const int W = band.Width();
    const int top = band.Height();
    if (COSMOffice2007Image* left = LoadImage("FRAMETOPLEFT"))
    {
        CRect source = left->GetStateRect(state, 2);
        source.right = source.left + border;
        left->DrawImage(dc, CRect(0, 0, border, top), source, kFrameTopMargins, COLORREF(-1));
    }
    if (COSMOffice2007Image* right = LoadImage("FRAMETOPRIGHT"))
    {
        CRect source = right->GetStateRect(state, 2);
        source.left = source.right - border;
        right->DrawImage(dc, CRect(W - border, 0, W, top), source, kFrameTopMargins, COLORREF(-1));
    }
    if (COSMOffice2007Image* centre = LoadImage("FRAMETOPCENTER"))
    {
        CRect source = centre->GetStateRect(state, 2);
        source.bottom = source.top + borderHeight;
        centre->DrawImagePart(dc, CRect(border, 0, W - border, borderHeight), source, CRect(0, 0, 0, 0));
    }
}

void COSMFramePaintManager::DrawFullCaption(CDC* dc, const COSMRibbonFrame* frame, const CRect& band, int b, int border,
                                            int state, BOOL active)
{
    const int W = band.Width();
    const int top = band.Height();
    COSMBufferDC buffer(dc->GetSafeHdc(), band);
    CDC* target = &buffer;

    COSMOffice2007Image* left = LoadImage("FRAMETOPLEFT");
    COSMOffice2007Image* right = LoadImage("FRAMETOPRIGHT");
    const int leftWidth = left ? left->GetStateRect(state, 2).Width() : 0;
    const int rightWidth = right ? right->GetStateRect(state, 2).Width() : 0;
    if (left)
        left->DrawImage(target, CRect(0, 0, leftWidth, top), left->GetStateRect(state, 2), kFrameTopMargins,
                        COLORREF(-1));
    if (right)
        right->DrawImage(target, CRect(W - rightWidth, 0, W, top), right->GetStateRect(state, 2), kFrameTopMargins,
                         COLORREF(-1));
    if (COSMOffice2007Image* centre = LoadImage("FRAMETOPCENTER"))
        centre->DrawImage(target, CRect(leftWidth, 0, W - rightWidth, top), centre->GetStateRect(state, 2),
                          kFrameTopMargins, COLORREF(-1));

    CRect title(7, border, W, top - 3);
    CWnd* frameWnd = frame->GetFrame();
    if (HICON icon = GetFrameSmallIcon(frameWnd))
    {
        const int iconWidth = SystemMetric(SM_CXSMICON);
        const int iconHeight = SystemMetric(SM_CYSMICON);
        const int y = (border - 1) + ((top - (border - 1)) - iconHeight - 1) / 2;
        const DWORD layout = ::GetLayout(target->GetSafeHdc());
        if (layout & LAYOUT_RTL)
            ::SetLayout(target->GetSafeHdc(), layout | LAYOUT_BITMAPORIENTATIONPRESERVED);
        ::DrawIconEx(target->GetSafeHdc(), 7, y, icon, iconWidth, iconHeight, 0, nullptr, DI_NORMAL);
        if (layout & LAYOUT_RTL)
            ::SetLayout(target->GetSafeHdc(), layout);
        title.left = iconWidth + 12;
    }

    COSMControls* buttons = frame->GetCaptionButtons();
    for (int i = 0; buttons && i < buttons->GetCount(); ++i)
    {
        COSMControl* button = buttons->GetAt(i);
        if (!button->IsVisible())
            continue;
        DrawFrameCaptionButton(target, button->GetRect(), button->GetID(), button->GetSelected(), button->GetPressed(),
                               active && button->GetEnabled());
        title.right = std::min(title.right, button->GetRect().left);
    }
    title.right -= b;
    DrawCaptionText(target, title, frameWnd, active);
}

void COSMFramePaintManager::DrawStatusBarPieces(CDC* dc, int width, int height, int border, int bottom, int statusBar,
                                                int state)
{
    const int W = width;
    const int H = height;
    const int b = border;
    const int d = bottom;
    const int s = statusBar;
    if (b > 1)
    {
        if (COSMOffice2007Image* light = LoadImage("STATUSBARLIGHT"))
            light->DrawImagePart(dc, CRect(1, H - d - s, b, H - d), CRect(0, 0, b - 1, light->GetExtent().cy),
                                 CRect(0, 0, 0, 0));
        if (COSMOffice2007Image* dark = LoadImage("STATUSBARDARK"))
            dark->DrawImagePart(dc, CRect(W - b, H - d - s, W - 1, H - d), CRect(0, 0, b - 1, dark->GetExtent().cy),
                                CRect(0, 0, 0, 0));
    }
    if (b <= 3)
        return;
    if (COSMOffice2007Image* corner = LoadImage("FRAMEBOTTOMLEFT"))
    {
        const CRect source = corner->GetStateRect(state, 2);
        corner->DrawImage(dc, CRect(CPoint(0, H - source.Height()), source.Size()), source, CRect(0, 0, 0, 0),
                          kFrameMagenta);
    }
    if (COSMOffice2007Image* corner = LoadImage("FRAMEBOTTOMRIGHT"))
    {
        const CRect source = corner->GetStateRect(state, 2);
        corner->DrawImage(dc, CRect(CPoint(W - source.Width(), H - source.Height()), source.Size()), source,
                          CRect(0, 0, 0, 0), kFrameMagenta);
    }
}

void COSMFramePaintManager::DrawFrameCaptionButton(CDC* dc, CRect rc, UINT id, BOOL selected, BOOL pressed, BOOL active)
{
    const int glyphState = !active ? 3 : (selected && pressed) ? 2 : (selected || pressed) ? 1 : 0;
    if (selected || pressed)
    {
        if (COSMOffice2007Image* background = LoadImage("FRAMECAPTIONBUTTON"))
            background->DrawImage(dc, rc, background->GetStateRect(selected && pressed ? 1 : 0, 2), CRect(3, 3, 3, 3),
                                  kFrameMagenta);
    }
    const int size = rc.Width() < 15 ? 13 : rc.Width() < 27 ? 17 : 23;
    LPCSTR word = id == SC_CLOSE      ? "CLOSE"
                  : id == SC_MINIMIZE ? "MINIMIZE"
                  : id == SC_MAXIMIZE ? "MAXIMIZE"
                                      : "RESTORE";
    CString name;
    name.Format("FRAMECAPTION%s%i", word, size);
    COSMOffice2007Image* glyph = LoadImage(name);
    if (!glyph)
        return;
    const CRect source = glyph->GetStateRect(glyphState, 5);
    const CPoint origin((rc.left + rc.right - source.Width()) / 2, (rc.top + rc.bottom - source.Height()) / 2);
    glyph->DrawImage(dc, CRect(origin, source.Size()), source, CRect(0, 0, 0, 0), kFrameMagenta);
}

void COSMFramePaintManager::DrawCaptionText(CDC* dc, CRect rc, CWnd* frame, BOOL active)
{
    const HWND hwnd = frame ? frame->GetSafeHwnd() : nullptr;
    if (!dc || !hwnd)
        return;
    char buffer[512] = {};
    ::GetWindowTextA(hwnd, buffer, sizeof buffer);
    const CString text(buffer);
    const COLORREF textColor = GetCaptionTextColor(active);
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    COSMFontDC font(dc, &m_captionFont, textColor);
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS;

    const DWORD style = static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_EXSTYLE));
    const auto* frameWnd = dynamic_cast<const CFrameWnd*>(frame);
    const CString title = frameWnd ? frameWnd->GetTitle() : CString();
    const int prefixLength = text.GetLength() - title.GetLength();
    const BOOL split = (style & FWS_PREFIXTITLE) && !title.IsEmpty() && prefixLength >= 0 &&
                       text.Mid(prefixLength) == title && !(exStyle & WS_EX_LAYOUTRTL);
    if (!split)
    {
        dc->DrawText(text, rc, format);
        dc->SetBkMode(oldMode);
        return;
    }
    const CString prefix = text.Left(prefixLength);
    dc->DrawText(prefix, rc, format);
    rc.left += 2 + dc->GetTextExtent(prefix).cx;
    if (rc.left < rc.right - 5)
    {
        dc->SetTextColor(active ? m_clrCaptionTextActiveTitle : textColor);
        dc->DrawText(title, rc, format);
    }
    dc->SetBkMode(oldMode);
}

HICON COSMFramePaintManager::GetFrameSmallIcon(CWnd* frame)
{
    const HWND hwnd = frame ? frame->GetSafeHwnd() : nullptr;
    if (!hwnd)
        return nullptr;
    const DWORD style = static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_EXSTYLE));
    if ((exStyle & WS_EX_TOOLWINDOW) || !(style & WS_SYSMENU))
        return nullptr;
    if (auto icon = reinterpret_cast<HICON>(::SendMessageA(hwnd, WM_GETICON, ICON_SMALL, 0)))
        return icon;
    if (auto icon = reinterpret_cast<HICON>(::GetClassLongPtrA(hwnd, GCLP_HICONSM)))
        return icon;
    // A dialog frame alone (no border of its own) or a modal dialog frame keeps to the system's icon.
    if ((style & WS_CAPTION) != WS_DLGFRAME && !(exStyle & WS_EX_DLGMODALFRAME))
    {
        DWORD_PTR result = 0;
        if (::SendMessageTimeoutA(hwnd, WM_QUERYDRAGICON, 0, 0, SMTO_NORMAL, 100, &result) && result)
            return reinterpret_cast<HICON>(result);
    }
    return ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_WINLOGO));
}

HICON COSMFramePaintManager::GetFrameIcon(CWnd* frame)
{
    const HWND hwnd = frame ? frame->GetSafeHwnd() : nullptr;
    if (!hwnd)
        return nullptr;
    if (auto icon = reinterpret_cast<HICON>(::SendMessageA(hwnd, WM_GETICON, ICON_BIG, 0)))
        return icon;
    return reinterpret_cast<HICON>(::GetClassLongPtrA(hwnd, GCLP_HICON));
}
