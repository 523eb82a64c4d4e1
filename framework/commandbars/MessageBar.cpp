#include "framework/commandbars/MessageBar.h"

#include "classlib/DC.h"
#include "classlib/FrameWnd.h"
#include "classlib/Gdi.h"
#include "framework/commandbars/ButtonPress.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/BufferDC.h"

#include <algorithm>

namespace {

// Around the message and the button captions.
const int kMessageMargin = 6;
const int kButtonPadding = 8;
const int kButtonGap = 4;
const int kCloseSize = 16;

}  // namespace

IMPLEMENT_DYNAMIC(COSMMessageBar, CControlBar)

BEGIN_MESSAGE_MAP(COSMMessageBar, CControlBar)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_CANCELMODE()
END_MESSAGE_MAP()

COSMMessageBar::COSMMessageBar() = default;

COSMMessageBar::~COSMMessageBar()
{
    if (m_hWnd)
        DestroyWindow();
}

BOOL COSMMessageBar::Create(CWnd* frame, COSMCommandBars* commandBars, DWORD style, UINT id)
{
    m_commandBars = commandBars;
    m_dwStyle = style & 0x0000FFFF;
    LPCSTR windowClass = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW));
    return CreateEx(0, windowClass, nullptr, (style & 0xFFFF0000) | WS_CLIPSIBLINGS, CRect(0, 0, 0, 0), frame, id);
}

COSMPaintManager* COSMMessageBar::GetPaintManager() const
{
    if (m_commandBars)
        return m_commandBars->GetPaintManager();
    return COSMPaintManager::GetGlobalPaintManager();
}

HFONT COSMMessageBar::GetFontHandle() const
{
    if (COSMPaintManager* paintManager = GetPaintManager())
        return static_cast<HFONT>(paintManager->GetRegularFont().GetSafeHandle());
    return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

void COSMMessageBar::GetInnerRect(const COSMMessageBar* bar, CRect* rect)
{
    ::GetClientRect(bar->GetSafeHwnd(), rect);
    rect->left += bar->m_borders.left;
    rect->top += bar->m_borders.top;
    rect->right -= bar->m_borders.right;
    rect->bottom -= bar->m_borders.bottom;
    if (bar->HasCloseButton())
        rect->right -= kCloseStrip;
}

BOOL COSMMessageBar::HasCloseButton() const
{
    return std::any_of(m_buttons.begin(), m_buttons.end(),
                       [](const COSMMessageBarButton& button) { return button.id == SC_CLOSE; });
}

void COSMMessageBar::SetMessage(LPCSTR text)
{
    m_message = text ? text : "";
    if (m_hWnd)
        Invalidate(FALSE);
}

COSMMessageBarButton* COSMMessageBar::AddButton(UINT id, LPCSTR caption)
{
    COSMMessageBarButton button;
    button.id = id;
    if (caption)
        button.caption = caption;
    else if (id != SC_CLOSE && button.caption.LoadString(id))
    {
        const int newline = button.caption.Find('\n');
        if (newline >= 0)
            button.caption = button.caption.Mid(newline + 1);
    }
    m_hotButton = nullptr;
    m_buttons.push_back(button);
    RecalcLayout();
    return &m_buttons.back();
}

void COSMMessageBar::RemoveButtons()
{
    m_hotButton = nullptr;
    m_buttons.clear();
    if (m_hWnd)
        Invalidate(FALSE);
}

COSMMessageBarButton* COSMMessageBar::GetButton(int index)
{
    return index >= 0 && index < GetButtonCount() ? &m_buttons[static_cast<size_t>(index)] : nullptr;
}

COSMMessageBarButton* COSMMessageBar::FindButton(UINT id)
{
    for (auto& button : m_buttons)
        if (button.id == id)
            return &button;
    return nullptr;
}

COSMMessageBarButton* COSMMessageBar::HitTestButton(CPoint point)
{
    for (auto& button : m_buttons)
        if (button.rect.PtInRect(point))
            return &button;
    return nullptr;
}

CSize COSMMessageBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, GetFontHandle());
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    CSize size = CControlBar::CalcFixedLayout(bStretch, bHorz);
    size.cy += metrics.tmHeight + 2 * kMessageMargin + m_borders.top + m_borders.bottom;
    return size;
}

void COSMMessageBar::RecalcLayout()
{
    if (!m_hWnd)
        return;
    CRect inner;
    GetInnerRect(this, &inner);
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, GetFontHandle());
    int right = inner.right - kMessageMargin;
    for (auto& button : m_buttons)
    {
        if (button.id == SC_CLOSE)
        {
            const int left = inner.right + (kCloseStrip - kCloseSize) / 2;
            const int top = inner.top + (inner.Height() - kCloseSize) / 2;
            button.rect = CRect(left, top, left + kCloseSize, top + kCloseSize);
            continue;
        }
        SIZE extent{};
        ::GetTextExtentPoint32A(dc, button.caption, button.caption.GetLength(), &extent);
        const int width = extent.cx + 2 * kButtonPadding;
        button.rect = CRect(right - width, inner.top + 3, right, inner.bottom - 3);
        right -= width + kButtonGap;
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    Invalidate(FALSE);
}

void COSMMessageBar::OnSize(UINT, int, int)
{
    Default();
    RecalcLayout();
}

BOOL COSMMessageBar::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void COSMMessageBar::FillBackground(CDC* dc)
{
    if (COSMPaintManager* paintManager = GetPaintManager())
        paintManager->FillMessageBar(dc, this);
    else
    {
        CRect client;
        GetClientRect(&client);
        dc->FillSolidRect(client, ::GetSysColor(COLOR_INFOBK));
    }
}

void COSMMessageBar::DrawContent(CDC* dc)
{
    CRect text;
    GetInnerRect(this, &text);
    text.DeflateRect(kMessageMargin, 0);
    // The message ends where the first button begins.
    for (const auto& button : m_buttons)
        if (button.id != SC_CLOSE)
            text.right = std::min(text.right, button.rect.left - kButtonGap);
    const COSMPaintManager* paintManager = GetPaintManager();
    dc->SetTextColor(paintManager ? paintManager->GetMessageBarTextColor() : ::GetSysColor(COLOR_INFOTEXT));
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    dc->DrawText(m_message, m_message.GetLength(), &text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    dc->SetBkMode(oldMode);
}

void COSMMessageBar::DrawFrame(CDC*) {}

void COSMMessageBar::DrawButton(CDC* dc, COSMMessageBarButton* button)
{
    COSMPaintManager* paintManager = GetPaintManager();
    if (paintManager)
        paintManager->DrawMessageBarButton(dc, button);
    if (button->id == SC_CLOSE || button->caption.IsEmpty())
        return;
    CRect rect = button->rect;
    dc->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    dc->DrawText(button->caption, button->caption.GetLength(), &rect,
                 DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
    dc->SetBkMode(oldMode);
}

void COSMMessageBar::OnPaint()
{
    CPaintDC paint(this);
    COSMBufferDC buffer(paint);
    HGDIOBJ old = ::SelectObject(buffer.GetSafeHdc(), GetFontHandle());
    FillBackground(&buffer);
    DrawContent(&buffer);
    DrawFrame(&buffer);
    for (auto& button : m_buttons)
        DrawButton(&buffer, &button);
    ::SelectObject(buffer.GetSafeHdc(), old);
}

void COSMMessageBar::OnMouseMove(UINT, CPoint point)
{
    COSMMessageBarButton* hot = HitTestButton(point);
    if (hot == m_hotButton)
        return;
    if (m_hotButton)
        m_hotButton->hot = FALSE;
    m_hotButton = hot;
    if (hot)
    {
        hot->hot = TRUE;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&track);
    }
    Invalidate(FALSE);
}

void COSMMessageBar::OnMouseLeave()
{
    OnMouseMove(0, CPoint(-1, -1));
}

void COSMMessageBar::OnLButtonDown(UINT, CPoint point)
{
    COSMMessageBarButton* button = m_hotButton ? m_hotButton : HitTestButton(point);
    if (!button)
    {
        Default();
        return;
    }
    const UINT id = button->id;
    const BOOL clicked = TrackButtonPress(m_hWnd, button->rect, [this, button](BOOL pressed) {
        button->pressed = pressed;
        InvalidateRect(&button->rect, FALSE);
    });
    // The button may have gone while the press ran (a handler removed the buttons).
    if (clicked)
        if (COSMMessageBarButton* still = FindButton(id))
            OnButtonClick(still);
}

void COSMMessageBar::OnCancelMode()
{
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    Default();
}

void COSMMessageBar::OnButtonClick(COSMMessageBarButton* button)
{
    CWnd* frame = GetDockingFrame() ? static_cast<CWnd*>(GetDockingFrame()) : GetParent();
    if (button->id == SC_CLOSE)
    {
        ShowWindow(SW_HIDE);
        if (CFrameWnd* docking = GetDockingFrame())
            docking->RecalcLayout();
        return;
    }
    if (frame)
        frame->SendMessage(WM_COMMAND, MAKEWPARAM(button->id, 0), reinterpret_cast<LPARAM>(m_hWnd));
}
