// What the controls' tests share: a visible host dialog like the main page, a message pump that pre-translates as
// the program's loops do, the real mouse and keyboard, pixel captures of windows, the clipboard, and a count of the
// process's GDI objects.
#pragma once

#include "classlib/ClassLib.h"
#include "GdiObjectCount.h"
#include "ProgramDriver.h"

#include <functional>
#include <string>
#include <vector>

namespace osm::test {

// Runs every waiting message of this thread through pre-translation and dispatch, as the program's loop does.
void PumpMessages();
// Runs the program's loop (pumping and idling) for about `milliseconds`.
void RunLoopFor(DWORD milliseconds);
// Pumps until `done` holds or `timeoutMs` passed; the last value of `done`.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 2000);

// The host of the controls under test: a modeless dialog from the tests' template, shown at a fixed place on the
// screen and made the active window (Wine routes the mouse capture only to a thread with an active window).
class HostDialog : public CDialog
{
public:
    explicit HostDialog(UINT nIDTemplate);
    ~HostDialog() override;
    bool Open();

    // A child static made as a dialog template would make it (the dialog's font set), not yet subclassed.
    HWND AddStatic(LPCSTR text, DWORD style, const RECT& rect, UINT nID);
    HWND AddButton(LPCSTR text, DWORD style, const RECT& rect, UINT nID);

private:
    UINT m_templateId;
};

// The real input devices, as Xvfb and Wine deliver them.
// The dialog face colour the controls paint their background with.
inline COLORREF Face()
{
    return ::GetSysColor(COLOR_3DFACE);
}

void MoveMouseTo(POINT screenPoint);
// To a point of hWnd's client area.
void MoveMouseOver(HWND hWnd, POINT clientPoint);
// Somewhere no window of the tests covers.
void MoveMouseAway();
void ClickLeft();
void PressKeys(const std::vector<WORD>& keys);  // down in order, up in reverse order

// A 32-bit picture of a window's client area.
class Capture
{
public:
    // What is on the screen now (after the window's pending painting).
    static Capture OfScreen(HWND hWnd);
    // The window asked to paint its client area into a memory bitmap (WM_PRINTCLIENT).
    static Capture Printed(HWND hWnd, COLORREF background = RGB(255, 0, 255));
    // Whatever `draw` paints into a memory DC of this size, first filled with `background`.
    static Capture Drawn(SIZE size, const std::function<void(HDC)>& draw, COLORREF background = RGB(255, 0, 255));

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF At(int x, int y) const;
    // Smallest rectangle holding every pixel for which `match` holds; empty when none does.
    CRect Bounds(const std::function<bool(COLORREF)>& match) const;
    CRect BoundsOf(COLORREF color) const;
    CRect BoundsNot(COLORREF color) const;
    int Count(const std::function<bool(COLORREF)>& match) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<DWORD> m_pixels;  // 0x00RRGGBB, rows from the top
    static Capture FromDC(HDC hDC, SIZE size, const std::function<void(HDC)>& fill);
};

// The clipboard's text, or nothing when it holds none.
bool GetClipboardTextOf(std::string& text);
// Empties the clipboard and puts `text` (when not null) and, when given, `extraData` under `extraFormat` on it.
bool FillClipboard(const char* text, UINT extraFormat = 0, const std::string& extraData = {});
std::string GetClipboardFormatData(UINT format);

}  // namespace osm::test
