#include "ControlsTestSupport.h"

#include "SyntheticInput.h"

#include <algorithm>
#include <cstring>

namespace osm::test {

void PumpMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        if (msg.message == WM_QUIT)
        {
            // Not this pump's to take: the loop of whoever posted it must see it.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (msg.hwnd && CWnd::WalkPreTranslateTree(nullptr, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    // Idle, as the application's loop would be: the wrappers handlers made on the fly can go.
    CWnd::DeleteTempMap();
    CDC::DeleteTempMap();
    CGdiObject::DeleteTempMap();
}

void RunLoopFor(DWORD milliseconds)
{
    const DWORD start = ::GetTickCount();
    do
    {
        PumpMessages();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (::GetTickCount() - start < milliseconds);
    PumpMessages();
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    for (;;)
    {
        PumpMessages();
        if (done())
            return true;
        if (::GetTickCount() - start >= timeoutMs)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

HostDialog::HostDialog(UINT nIDTemplate) : m_templateId(nIDTemplate) {}

HostDialog::~HostDialog()
{
    if (m_hWnd)
        DestroyWindow();
}

bool HostDialog::Open()
{
    if (!Create(m_templateId))
        return false;
    SetWindowPos(nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(SW_SHOW);
    ::SetForegroundWindow(m_hWnd);
    ::SetActiveWindow(m_hWnd);
    UpdateWindow();
    PumpUntil([this] { return ::GetActiveWindow() == m_hWnd; }, 2000);
    RunLoopFor(50);
    return ::GetActiveWindow() == m_hWnd;
}

HWND HostDialog::AddStatic(LPCSTR text, DWORD style, const RECT& rect, UINT nID)
{
    HWND hWnd =
        ::CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top, rect.right - rect.left,
                          rect.bottom - rect.top, m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)),
                          ::GetModuleHandleA(nullptr), nullptr);
    ::SendMessageA(hWnd, WM_SETFONT, SendMessage(WM_GETFONT), FALSE);
    return hWnd;
}

HWND HostDialog::AddButton(LPCSTR text, DWORD style, const RECT& rect, UINT nID)
{
    HWND hWnd =
        ::CreateWindowExA(0, "BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, rect.left, rect.top,
                          rect.right - rect.left, rect.bottom - rect.top, m_hWnd,
                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), ::GetModuleHandleA(nullptr), nullptr);
    ::SendMessageA(hWnd, WM_SETFONT, SendMessage(WM_GETFONT), FALSE);
    return hWnd;
}

void MoveMouseTo(POINT screenPoint)
{
    SendMouseMoveTo(screenPoint);
    POINT now{};
    PumpUntil([&] { return ::GetCursorPos(&now) && now.x == screenPoint.x && now.y == screenPoint.y; }, 500);
    if (now.x != screenPoint.x || now.y != screenPoint.y)
        ::SetCursorPos(screenPoint.x, screenPoint.y);
    RunLoopFor(20);
}

void MoveMouseOver(HWND hWnd, POINT clientPoint)
{
    ::ClientToScreen(hWnd, &clientPoint);
    MoveMouseTo(clientPoint);
}

void MoveMouseAway()
{
    MoveMouseTo(POINT{1200, 1000});
}

void ClickLeft()
{
    SendMouseInput(MOUSEEVENTF_LEFTDOWN);
    RunLoopFor(20);
    SendMouseInput(MOUSEEVENTF_LEFTUP);
    RunLoopFor(20);
}

void PressKeys(const std::vector<WORD>& keys)
{
    std::vector<INPUT> inputs;
    for (WORD key : keys)
    {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto it = keys.rbegin(); it != keys.rend(); ++it)
    {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *it;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    RunLoopFor(50);
}

Capture Capture::FromDC(HDC hDC, SIZE size, const std::function<void(HDC)>& fill)
{
    Capture capture;
    capture.m_width = size.cx;
    capture.m_height = size.cy;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(hDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC hMemory = ::CreateCompatibleDC(hDC);
    HGDIOBJ hOld = ::SelectObject(hMemory, hBitmap);
    fill(hMemory);
    ::GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    capture.m_pixels.assign(pixels, pixels + static_cast<size_t>(size.cx) * size.cy);
    for (DWORD& p : capture.m_pixels)
        p &= 0xFFFFFF;
    ::SelectObject(hMemory, hOld);
    ::DeleteDC(hMemory);
    ::DeleteObject(hBitmap);
    return capture;
}

Capture Capture::OfScreen(HWND hWnd)
{
    ::UpdateWindow(hWnd);
    PumpMessages();
    RECT client;
    ::GetClientRect(hWnd, &client);
    HDC hWindowDC = ::GetDC(hWnd);
    Capture capture = FromDC(hWindowDC, SIZE{client.right, client.bottom}, [&](HDC hMemory) {
        ::BitBlt(hMemory, 0, 0, client.right, client.bottom, hWindowDC, 0, 0, SRCCOPY);
    });
    ::ReleaseDC(hWnd, hWindowDC);
    return capture;
}

Capture Capture::Printed(HWND hWnd, COLORREF background)
{
    RECT client;
    ::GetClientRect(hWnd, &client);
    return Drawn(
        SIZE{client.right, client.bottom},
        [&](HDC hDC) { ::SendMessageA(hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hDC), PRF_CLIENT); }, background);
}

Capture Capture::Drawn(SIZE size, const std::function<void(HDC)>& draw, COLORREF background)
{
    HDC hScreen = ::GetDC(nullptr);
    Capture capture = FromDC(hScreen, size, [&](HDC hMemory) {
        HBRUSH hBrush = ::CreateSolidBrush(background);
        RECT all{0, 0, size.cx, size.cy};
        ::FillRect(hMemory, &all, hBrush);
        ::DeleteObject(hBrush);
        draw(hMemory);
    });
    ::ReleaseDC(nullptr, hScreen);
    return capture;
}

COLORREF Capture::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return CLR_INVALID;
    const DWORD p = m_pixels[static_cast<size_t>(y) * m_width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

CRect Capture::Bounds(const std::function<bool(COLORREF)>& match) const
{
    CRect bounds(0, 0, 0, 0);
    bool found = false;
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
        {
            if (!match(At(x, y)))
                continue;
            if (!found)
            {
                bounds = CRect(x, y, x + 1, y + 1);
                found = true;
            }
            bounds.left = std::min<LONG>(bounds.left, x);
            bounds.top = std::min<LONG>(bounds.top, y);
            bounds.right = std::max<LONG>(bounds.right, x + 1);
            bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
        }
    return bounds;
}

CRect Capture::BoundsOf(COLORREF color) const
{
    return Bounds([color](COLORREF c) { return c == color; });
}

CRect Capture::BoundsNot(COLORREF color) const
{
    return Bounds([color](COLORREF c) { return c != color; });
}

int Capture::Count(const std::function<bool(COLORREF)>& match) const
{
    int count = 0;
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            count += match(At(x, y)) ? 1 : 0;
    return count;
}

bool GetClipboardTextOf(std::string& text)
{
    if (!::OpenClipboard(nullptr))
        return false;
    bool found = false;
    if (HANDLE hData = ::GetClipboardData(CF_TEXT))
    {
        if (const char* p = static_cast<const char*>(::GlobalLock(hData)))
        {
            text = p;
            found = true;
            ::GlobalUnlock(hData);
        }
    }
    ::CloseClipboard();
    return found;
}

namespace {

bool PutOnClipboard(UINT format, const void* data, size_t size)
{
    HGLOBAL hData = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (!hData)
        return false;
    std::memcpy(::GlobalLock(hData), data, size);
    ::GlobalUnlock(hData);
    if (::SetClipboardData(format, hData))
        return true;
    ::GlobalFree(hData);
    return false;
}

}  // namespace

bool FillClipboard(const char* text, UINT extraFormat, const std::string& extraData)
{
    if (!::OpenClipboard(nullptr))
        return false;
    bool ok = ::EmptyClipboard() != FALSE;
    if (ok && text)
        ok = PutOnClipboard(CF_TEXT, text, std::strlen(text) + 1);
    if (ok && extraFormat)
        ok = PutOnClipboard(extraFormat, extraData.data(), extraData.size());
    ::CloseClipboard();
    return ok;
}

std::string GetClipboardFormatData(UINT format)
{
    std::string data;
    if (!::OpenClipboard(nullptr))
        return data;
    if (HANDLE hData = ::GetClipboardData(format))
    {
        if (const char* p = static_cast<const char*>(::GlobalLock(hData)))
        {
            data.assign(p, ::GlobalSize(hData));
            ::GlobalUnlock(hData);
        }
    }
    ::CloseClipboard();
    return data;
}

}  // namespace osm::test
