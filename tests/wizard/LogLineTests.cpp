// The page's log line: one line, cut with an ellipsis between characters so that it fits its control.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "wizard/LogLine.h"

TEST(LogLine, MakesOneLineOfAMessage)
{
    EXPECT_EQ(OneLine("Error with file C:\\a.iso. Access is denied.\r\n"),
              "Error with file C:\\a.iso. Access is denied.");
    EXPECT_EQ(OneLine("first\r\nsecond\n\tthird"), "first second third");
    EXPECT_EQ(OneLine("  50%  "), "50%");
    EXPECT_EQ(OneLine(""), "");
}

TEST(LogLine, CutsBetweenCharactersOnly)
{
    // Widths counted in bytes: a candidate fits when it has at most `limit` bytes.
    const auto upTo = [](std::size_t limit) { return [limit](const std::string& s) { return s.size() <= limit; }; };
    EXPECT_EQ(CutToFit("short", upTo(10), 1252), "short");
    EXPECT_EQ(CutToFit("0123456789ABC", upTo(10), 1252), "0123456...");
    EXPECT_EQ(CutToFit("0123456789ABC", upTo(2), 1252), "...") << "nothing fits but the ellipsis";

    // Shift-JIS: "\x95\x5C" is one character whose second byte is a backslash.
    const std::string sjis = "ab\x95\x5C\x95\x5C"
                             "cd";
    for (std::size_t limit = 3; limit < sjis.size(); ++limit)
    {
        const std::string cut = CutToFit(sjis, upTo(limit), 932);
        ASSERT_GE(cut.size(), 3u);
        const std::size_t kept = cut.size() - 3;
        EXPECT_EQ(cut.substr(kept), "...");
        EXPECT_EQ(cut.substr(0, kept), sjis.substr(0, kept));
        EXPECT_TRUE(kept != 3 && kept != 5) << "cut inside a character at " << kept << " (limit " << limit << ")";
        EXPECT_LE(cut.size(), limit);
    }
}

TEST(LogLine, FitsTheControlsWidthInItsFont)
{
    HWND control = CreateWindowExA(0, "STATIC", "", WS_POPUP | SS_LEFT, 0, 0, 120, 16, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(control, nullptr);
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

    const auto width = [&](const std::string& text) {
        HDC dc = GetDC(control);
        HGDIOBJ old = SelectObject(dc, font);
        SIZE size{};
        GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
        SelectObject(dc, old);
        ReleaseDC(control, dc);
        return size.cx;
    };
    RECT client{};
    GetClientRect(control, &client);

    EXPECT_EQ(FitToControl(control, "42%"), "42%");
    const std::string text = "System call failed. Cannot open 'C:\\DISTR\\I386\\DRIVER.CAB': The process cannot "
                             "access the file because it is being used by another process.\r\n";
    const std::string fitted = FitToControl(control, text);
    ASSERT_GT(fitted.size(), 3u);
    EXPECT_EQ(fitted.substr(fitted.size() - 3), "...");
    EXPECT_EQ(text.rfind(fitted.substr(0, fitted.size() - 3), 0), 0u) << fitted;
    EXPECT_LE(width(fitted), client.right);
    // One more character would not have fitted.
    const std::string longer = text.substr(0, fitted.size() - 2) + "...";
    EXPECT_GT(width(longer), client.right) << fitted;
    DestroyWindow(control);
}
