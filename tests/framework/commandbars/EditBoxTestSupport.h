// What the tests of the edit box, the combo box and their edit window share: a window's text, typing through
// SendInput, the thread's view of a held key, a control stored and loaded again at one schema, and a toolbar docked
// on an active frame whose site keeps every code it hears.
//
//   class ControlEditInputTest : public EditBoxSiteTest { ... };   // bar is there; add the control, then Settle()
//   TypeText("abc");
//   EXPECT_EQ(1, CountOf(COSMControlEdit::kNotifyFocusGained));
#pragma once

#include "DockTestSupport.h"
#include "InputTestSupport.h"
#include "PropExchangeTestSupport.h"

#include "classlib/Archive.h"
#include "classlib/MemFile.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/foundation/PropExchangeArchive.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace commandbars_test {

inline std::string WindowTextOf(HWND window)
{
    char text[256] = {};
    ::GetWindowTextA(window, text, 255);
    return text;
}

// Types the text's letters (lower case, digits and spaces) through SendInput.
inline void TypeText(const char* text)
{
    for (const char* c = text; *c; ++c)
        SendKey(static_cast<WORD>(::VkKeyScanA(*c) & 0xFF));
}

// Sets the thread's view of one key (Alt, Ctrl) that GetKeyState reads as down while it lives; 0 sets none.
class ScopedKeyDown
{
public:
    explicit ScopedKeyDown(int key)
    {
        ::GetKeyboardState(m_saved);
        BYTE state[256];
        std::memcpy(state, m_saved, sizeof(state));
        if (key)
            state[key] = 0x80;
        ::SetKeyboardState(state);
    }
    ~ScopedKeyDown() { ::SetKeyboardState(m_saved); }
    ScopedKeyDown(const ScopedKeyDown&) = delete;
    ScopedKeyDown& operator=(const ScopedKeyDown&) = delete;

private:
    BYTE m_saved[256];
};

// A toolbar docked on an active frame. Every code the bar's site hears is kept in codes, after OnControlNotify has
// had the chance to answer it. A fixture adds its control to bar in its own SetUp and then calls Settle.
class EditBoxSiteTest : public DockSiteTest
{
protected:
    explicit EditBoxSiteTest(const char* frameTitle) : m_frameTitle(frameTitle) {}

    BOOL CreateFrame() override { return frame.CreateActiveTestFrame(m_frameTitle); }
    void SetUp() override
    {
        DockSiteTest::SetUp();
        frame.OnMessage = [this](UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (message != CCommandBarsTestFrame::kControlNotify)
                return std::nullopt;
            const auto* block = reinterpret_cast<const NMOSMCONTROL*>(lParam);
            codes.push_back(block->hdr.code);
            return OnControlNotify(block);
        };
        bar = AddFilledToolBar(m_frameTitle, 701, {201});
        ASSERT_NE(nullptr, bar);
    }
    void TearDown() override
    {
        SendMouseInput(MOUSEEVENTF_LEFTUP);
        CreateMouseManager()->SendTrackLost();
        MoveMouseTo(CPoint(1200, 1000));
        frame.OnMessage = nullptr;
        DockSiteTest::TearDown();
    }

    // The answer to a code the site hears (none: the bar goes on).
    virtual std::optional<LRESULT> OnControlNotify(const NMOSMCONTROL* block) { return std::nullopt; }

    // Lays the bar out, gives the frame the focus and forgets the codes heard so far.
    void Settle()
    {
        LayOut();
        frame.SetFocus();
        PumpMessages();
        codes.clear();
    }
    void LayOut()
    {
        frame.RecalcLayout();
        PumpMessages();
    }
    // A click near the window's upper left corner.
    void ClickInto(const CWnd& window)
    {
        ClickAt(ScreenPoint(window, CPoint(5, 5)));
        PumpMessages();
    }
    int CountOf(UINT code) const { return static_cast<int>(std::count(codes.begin(), codes.end(), code)); }

    COSMToolBar* bar = nullptr;
    std::vector<UINT> codes;

private:
    const char* m_frameTitle;
};

}  // namespace commandbars_test
