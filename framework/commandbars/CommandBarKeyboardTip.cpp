#include "framework/commandbars/CommandBarKeyboardTip.h"

#include "classlib/DC.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/PaintManager.h"

namespace {

const char kTipWindowClass[] = "OSMKeyboardTip";

// Tips come and go with every typed letter: the bits under them are saved rather than repainted.
BOOL RegisterTipClass()
{
    WNDCLASSA windowClass = {};
    windowClass.style = CS_SAVEBITS;
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kTipWindowClass;
    return AfxRegisterClass(&windowClass);
}

}  // namespace

BEGIN_MESSAGE_MAP(COSMCommandBarKeyboardTip, CWnd)
    ON_WM_NCHITTEST()
    ON_WM_PAINT()
END_MESSAGE_MAP()

COSMCommandBarKeyboardTip::COSMCommandBarKeyboardTip(COSMCommandBars* commandBars, CCmdTarget* owner,
                                                     const CString& caption, int x, int y, DWORD alignment,
                                                     BOOL enabled)
    : m_caption(caption), m_owner(owner), m_anchor(x, y), m_enabled(enabled), m_commandBars(commandBars),
      m_alignment(alignment)
{}

COSMCommandBarKeyboardTip::~COSMCommandBarKeyboardTip()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL COSMCommandBarKeyboardTip::CreateTipWindow(CWnd* bar, const CRect& rect, BOOL layered)
{
    if (!RegisterTipClass())
        return FALSE;
    COSMPaintManager* paintManager = GetPaintManager();
    PFNSETLAYEREDWINDOWATTRIBUTES setLayered = paintManager ? paintManager->GetSetLayeredWindowAttributes() : nullptr;
    layered = layered && setLayered;
    const DWORD exStyle = WS_EX_TOOLWINDOW | (layered ? WS_EX_LAYERED : 0);
    if (!CreateEx(exStyle, kTipWindowClass, nullptr, WS_POPUP, rect.left, rect.top, rect.Width(), rect.Height(),
                  bar ? bar->GetSafeHwnd() : nullptr, nullptr))
        return FALSE;
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, rect.left, rect.top, rect.Width(), rect.Height(),
                   SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    if (paintManager)
        paintManager->DrawKeyboardTip(nullptr, this, TRUE);
    if (layered)
        setLayered(m_hWnd, 0, kDisabledAlpha, LWA_ALPHA);
    return TRUE;
}

COSMPaintManager* COSMCommandBarKeyboardTip::GetPaintManager() const
{
    return m_commandBars ? m_commandBars->GetPaintManager() : GetProcessPaintManager();
}

LRESULT COSMCommandBarKeyboardTip::OnNcHitTest(CPoint point)
{
    return HTTRANSPARENT;
}

void COSMCommandBarKeyboardTip::OnPaint()
{
    CPaintDC dc(this);
    if (COSMPaintManager* paintManager = GetPaintManager())
        paintManager->DrawKeyboardTip(&dc, this, FALSE);
}
