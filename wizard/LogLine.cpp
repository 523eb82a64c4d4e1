#include "wizard/LogLine.h"

#include "classlib/ScopedHandle.h"

#include <vector>

namespace {

const char kEllipsis[] = "...";

// Offsets at which a character of the code page starts, and the end of the text.
std::vector<std::size_t> CharacterStarts(const std::string& text, UINT codePage)
{
    std::vector<std::size_t> starts;
    for (std::size_t at = 0; at < text.size();)
    {
        starts.push_back(at);
        const bool lead = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(text[at])) && at + 1 < text.size();
        at += lead ? 2 : 1;
    }
    starts.push_back(text.size());
    return starts;
}

}  // namespace

std::string OneLine(const std::string& text)
{
    std::string line;
    bool space = false;
    for (const char c : text)
    {
        if (c == '\r' || c == '\n' || c == '\t' || c == ' ')
        {
            space = !line.empty();
            continue;
        }
        if (space)
            line += ' ';
        space = false;
        line += c;
    }
    return line;
}

std::string CutToFit(const std::string& text, const std::function<bool(const std::string&)>& fits, UINT codePage)
{
    if (fits(text))
        return text;
    const std::vector<std::size_t> starts = CharacterStarts(text, codePage);
    // Binary search over character counts: the widths grow with the prefix.
    std::size_t low = 0, high = starts.size() - 1;
    while (low < high)
    {
        const std::size_t middle = (low + high + 1) / 2;
        if (fits(text.substr(0, starts[middle]) + kEllipsis))
            low = middle;
        else
            high = middle - 1;
    }
    return text.substr(0, starts[low]) + kEllipsis;
}

std::string FitToControl(HWND control, const std::string& text)
{
    const std::string line = OneLine(text);
    RECT client{};
    const ScopedWindowDC dc = control ? GetScopedWindowDC(control) : ScopedWindowDC();
    if (!dc || !GetClientRect(control, &client))
        return line;
    const HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    const ScopedSelection select = SelectScoped(dc.Get(), font);
    const LONG width = client.right - client.left;
    return CutToFit(line, [&](const std::string& candidate) {
        SIZE size{};
        return GetTextExtentPoint32A(dc.Get(), candidate.data(), static_cast<int>(candidate.size()), &size) &&
               size.cx <= width;
    });
}
