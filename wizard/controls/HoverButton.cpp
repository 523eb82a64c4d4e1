#include "wizard/controls/HoverButton.h"

#include "wizard/controls/GrayscaleBitmap.h"

#include "classlib/ScopedHandle.h"

#include <cstdlib>
#include <string>

IMPLEMENT_DYNAMIC(CHoverButton, CButton)

BEGIN_MESSAGE_MAP(CHoverButton, CButton)
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_CAPTURECHANGED()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

CHoverButton::TrackMouseEventProc CHoverButton::s_pfnTrackMouseEvent = nullptr;

namespace {

// The size of an image as its colour bitmap (or, for a black-and-white icon, the upper half of its mask) says.
CSize MeasureImage(HANDLE hImage, UINT kind)
{
    if (kind == DST_ICON)
    {
        ICONINFO info{};
        if (!::GetIconInfo(static_cast<HICON>(hImage), &info))
            return CSize(0, 0);
        // GetIconInfo hands out copies of both bitmaps: they are ours to delete.
        CBitmap color;
        CBitmap mask;
        color.Attach(info.hbmColor);
        mask.Attach(info.hbmMask);
        BITMAPINFOHEADER header{};
        if (info.hbmColor && QueryBitmapHeader(info.hbmColor, header))
            return CSize(header.biWidth, std::abs(header.biHeight));
        if (info.hbmMask && QueryBitmapHeader(info.hbmMask, header))
            return CSize(header.biWidth, std::abs(header.biHeight) / 2);
        return CSize(0, 0);
    }
    BITMAPINFOHEADER header{};
    if (!QueryBitmapHeader(static_cast<HBITMAP>(hImage), header))
        return CSize(0, 0);
    return CSize(header.biWidth, std::abs(header.biHeight));
}

// The grey twin of an icon or bitmap, or NULL when the image's depth cannot be greyed.
HANDLE MakeGrayImage(HANDLE hImage, UINT kind)
{
    if (kind != DST_ICON)
        return CreateGrayscaleBitmap(static_cast<HBITMAP>(hImage));
    ICONINFO info{};
    if (!::GetIconInfo(static_cast<HICON>(hImage), &info))
        return nullptr;
    CBitmap color;
    CBitmap mask;
    color.Attach(info.hbmColor);
    mask.Attach(info.hbmMask);
    // A black-and-white icon is grey already.
    if (!info.hbmColor)
        return ::CopyIcon(static_cast<HICON>(hImage));
    CBitmap gray;
    gray.Attach(CreateGrayscaleBitmap(info.hbmColor));
    if (!gray.GetSafeHandle())
        return nullptr;
    info.hbmColor = gray;
    return ::CreateIconIndirect(&info);
}

}  // namespace

CHoverButton::CHoverButton()
{
    if (!s_pfnTrackMouseEvent && ::LoadLibraryA("user32.dll"))
        s_pfnTrackMouseEvent = reinterpret_cast<TrackMouseEventProc>(
            ::GetProcAddress(::GetModuleHandleA("user32.DLL"), "TrackMouseEvent"));
}

CHoverButton::~CHoverButton()
{
    SetImage(0);
}

void CHoverButton::PreSubclassWindow()
{
    ModifyStyle(0, BS_OWNERDRAW);
    CButton::PreSubclassWindow();
}

void CHoverButton::SetChecked(BOOL bChecked)
{
    m_checked = bChecked != FALSE;
    if (m_hWnd)
        Invalidate(FALSE);
}

void CHoverButton::FreeImages()
{
    for (HANDLE* pImage : {&m_image, &m_grayImage})
    {
        if (!*pImage)
            continue;
        if (m_imageKind == DST_ICON)
            ::DestroyIcon(static_cast<HICON>(*pImage));
        else
            ::DeleteObject(*pImage);
        *pImage = nullptr;
    }
}

HANDLE CHoverButton::LoadImageResource(UINT nId) const
{
    LPCSTR name = MAKEINTRESOURCEA(nId);
    if (m_imageKind == DST_ICON)
        return ::LoadImageA(AfxFindResourceHandle(name, RT_GROUP_ICON), name, IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR);
    return ::LoadImageA(AfxFindResourceHandle(name, RT_BITMAP), name, IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS);
}

BOOL CHoverButton::SetImage(UINT nImageId, UINT nGrayImageId, BOOL bMakeGray, UINT nImageType)
{
    FreeImages();
    m_imageWidth = m_imageHeight = 0;
    if (nImageId == 0)
        return TRUE;
    m_imageKind = nImageType == IMAGE_ICON ? DST_ICON : DST_BITMAP;
    m_image = LoadImageResource(nImageId);
    if (!m_image)
        return FALSE;
    // The size belongs to the image: it is set even when no grey image comes about below.
    const CSize size = MeasureImage(m_image, m_imageKind);
    m_imageWidth = size.cx;
    m_imageHeight = size.cy;
    if (m_hWnd)
        Invalidate(FALSE);
    if (!bMakeGray)
        return TRUE;
    m_grayImage = nGrayImageId ? LoadImageResource(nGrayImageId) : MakeGrayImage(m_image, m_imageKind);
    return m_grayImage != nullptr;
}

CHoverButton::Layout CHoverButton::ComputeLayout(CSize item, CSize text, CSize image, bool hasText, bool hasImage,
                                                 int alignment)
{
    Layout layout;
    if (!hasText)
    {
        layout.image = CPoint((item.cx - image.cx) / 2, (item.cy - image.cy) / 2);
    }
    else if (!hasImage)
    {
        layout.text = CPoint((item.cx - text.cx) / 2, (item.cy - text.cy) / 2);
    }
    else if (alignment == kImageLeftOfText)
    {
        const int left = (item.cx - text.cx - image.cx - kImageTextGap) / 2;
        layout.image = CPoint(left, (item.cy - image.cy) / 2);
        layout.text = CPoint(left + kImageTextGap + image.cx, (item.cy - text.cy) / 2);
    }
    else
    {
        const int top = (item.cy - text.cy - image.cy) / 2;
        layout.image = CPoint((item.cx - image.cx) / 2, top + 1);
        layout.text = CPoint((item.cx - text.cx) / 2, top + 2 + image.cy);
    }
    return layout;
}

void CHoverButton::DrawBackground(HDC hDC, const RECT& rect, bool pressedToggle) const
{
    if (!pressedToggle || m_hovering)
    {
        ::FillRect(hDC, &rect, ::GetSysColorBrush(COLOR_3DFACE));
        return;
    }
    // A toggle that stays down shows a halftone of highlight over face, like a checked toolbar button.
    static const WORD kHalftone[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA};
    CBitmap pattern;
    pattern.CreateBitmap(8, 8, 1, 1, kHalftone);
    CBrush halftone;
    halftone.CreatePatternBrush(&pattern);
    const COLORREF oldText = ::SetTextColor(hDC, ::GetSysColor(COLOR_3DFACE));
    const COLORREF oldBack = ::SetBkColor(hDC, ::GetSysColor(COLOR_3DHILIGHT));
    ::FillRect(hDC, &rect, halftone);
    ::SetTextColor(hDC, oldText);
    ::SetBkColor(hDC, oldBack);
}

void CHoverButton::DrawBorder(HDC hDC, RECT rect, bool pressed) const
{
    if (m_borderStyle == k3dRectBorder)
    {
        const COLORREF light = ::GetSysColor(COLOR_3DHILIGHT);
        const COLORREF shadow = ::GetSysColor(COLOR_3DSHADOW);
        CDC::FromHandle(hDC)->Draw3dRect(&rect, pressed ? shadow : light, pressed ? light : shadow);
    }
    else
    {
        ::DrawEdge(hDC, &rect, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT);
    }
}

void CHoverButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    HDC hDC = lpDrawItemStruct->hDC;
    const RECT item = lpDrawItemStruct->rcItem;
    const UINT state = lpDrawItemStruct->itemState;
    const bool pressed = m_checked || (state & ODS_SELECTED);
    const bool disabled = (state & ODS_DISABLED) != 0;
    const bool pressedToggle = m_toggle && m_checked;
    const ScopedSavedDC saved = SaveScoped(hDC);
    // The button's own font, also when the caller's DC does not have it yet (a print or memory DC).
    HGDIOBJ hFont = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
    ::SelectObject(hDC, hFont ? hFont : ::GetStockObject(DEFAULT_GUI_FONT));

    std::string text(static_cast<size_t>(GetWindowTextLength()) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowText(&text[0], static_cast<int>(text.size()))));
    SIZE textSize{0, 0};
    if (!text.empty())
        ::GetTextExtentPoint32A(hDC, text.c_str(), static_cast<int>(text.size()), &textSize);

    const CSize itemSize(item.right - item.left, item.bottom - item.top);
    const CSize imageSize(m_imageWidth, m_imageHeight);
    Layout layout = ComputeLayout(itemSize, textSize, imageSize, !text.empty(), m_image != nullptr, m_alignment);
    const int shift = pressed ? 1 : 0;
    layout.image.Offset(item.left + shift, item.top + shift);
    layout.text.Offset(item.left + shift, item.top + shift);

    DrawBackground(hDC, item, pressedToggle);
    if (pressedToggle && !m_hovering)
        ::SetBkMode(hDC, TRANSPARENT);

    ::SetTextColor(hDC, m_hotText && m_hovering && !disabled ? RGB(0, 0, 255) : ::GetSysColor(COLOR_BTNTEXT));
    const UINT disabledFlag = disabled ? DSS_DISABLED : 0;
    if (!text.empty())
        ::DrawStateA(hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(text.c_str()), static_cast<WPARAM>(text.size()),
                     layout.text.x, layout.text.y, textSize.cx, textSize.cy, DST_TEXT | disabledFlag);

    const HANDLE hShown = !m_hovering && m_grayImage && !pressedToggle ? m_grayImage : m_image;
    if (hShown)
        ::DrawStateA(hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(hShown), 0, layout.image.x, layout.image.y,
                     m_imageWidth, m_imageHeight, m_imageKind | disabledFlag);

    if (m_focusRect && (state & ODS_FOCUS) && !disabled)
    {
        RECT focus = item;
        ::InflateRect(&focus, -3, -3);
        ::DrawFocusRect(hDC, &focus);
    }
    if (m_borderStyle != kNoBorder && (!m_flat || pressed || (m_hovering && !disabled)))
        DrawBorder(hDC, item, pressed);
}

void CHoverButton::OnMouseMove(UINT nFlags, CPoint point)
{
    if (s_pfnTrackMouseEvent)
    {
        if (!m_hovering)
        {
            TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hWnd, HOVER_DEFAULT};
            if (s_pfnTrackMouseEvent(&track))
            {
                m_hovering = true;
                Invalidate(FALSE);
            }
        }
    }
    else
    {
        CRect client;
        GetClientRect(&client);
        if (m_hovering && !client.PtInRect(point) && ::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        else if (!m_hovering)
        {
            m_hovering = true;
            if (::GetCapture() != m_hWnd)
                ::SetCapture(m_hWnd);
            Invalidate(FALSE);
        }
    }
    CButton::OnMouseMove(nFlags, point);
}

void CHoverButton::OnMouseLeave()
{
    m_hovering = false;
    Invalidate(FALSE);
    CButton::OnMouseLeave();
}

void CHoverButton::OnCaptureChanged(CWnd* pWnd)
{
    if (!s_pfnTrackMouseEvent && (!pWnd || pWnd->m_hWnd != m_hWnd))
    {
        m_hovering = false;
        Invalidate(FALSE);
    }
    CButton::OnCaptureChanged(pWnd);
}

void CHoverButton::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (m_toggle)
        m_checked = !m_checked;
    CButton::OnLButtonDown(nFlags, point);
}

void CHoverButton::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    // The second of two quick clicks comes as a double click; the button presses for it, so a toggle flips too.
    if (m_toggle)
        m_checked = !m_checked;
    CButton::OnLButtonDblClk(nFlags, point);
}
