// The page's one-line log: whatever a build reports is shown on one line that fits the control, cut with an
// ellipsis at a character boundary when it is too long.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Line breaks and tabs (a system message may hold them) become single spaces; the text is trimmed.
std::string OneLine(const std::string& text);

// The longest text of the form prefix + "..." that fits, where fits(candidate) measures a candidate; the
// whole text when it fits as it is. Cuts only between characters of the given ANSI code page.
std::string CutToFit(const std::string& text, const std::function<bool(const std::string&)>& fits,
                     UINT codePage = CP_ACP);

// OneLine(text), cut to the width of the control's client area in the control's font.
std::string FitToControl(HWND control, const std::string& text);
