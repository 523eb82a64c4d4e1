#include "wizard/controls/ProductKeyEdit.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CProductKeyEdit, CEdit)

BEGIN_MESSAGE_MAP(CProductKeyEdit, CEdit)
    ON_CONTROL_REFLECT(EN_CHANGE, OnChange)
END_MESSAGE_MAP()

namespace {

// The clipboard, open for the lifetime of the object.
class OpenedClipboard
{
public:
    explicit OpenedClipboard(HWND hWndOwner) : m_open(::OpenClipboard(hWndOwner) != FALSE) {}
    ~OpenedClipboard()
    {
        if (m_open)
            ::CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    bool IsOpen() const { return m_open; }

private:
    bool m_open;
};

// The clipboard's text (empty when it holds none); false when the clipboard could not be opened.
bool ReadClipboardText(HWND hWndOwner, std::string& text)
{
    OpenedClipboard clipboard(hWndOwner);
    if (!clipboard.IsOpen())
        return false;
    text.clear();
    HANDLE hData = ::GetClipboardData(CF_TEXT);
    if (!hData)
        return true;
    if (const char* p = static_cast<const char*>(::GlobalLock(hData)))
    {
        // The block may be larger than its text, and nothing promises a terminator inside it.
        const SIZE_T size = ::GlobalSize(hData);
        text.assign(p, std::find(p, p + size, '\0'));
        ::GlobalUnlock(hData);
    }
    return true;
}

bool IsKeySeparator(char c)
{
    return c == '-' || c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

std::string CProductKeyEdit::RemoveKeySeparators(const std::string& text)
{
    std::string key;
    key.reserve(text.size());
    std::copy_if(text.begin(), text.end(), std::back_inserter(key), [](char c) { return !IsKeySeparator(c); });
    return key;
}

void CProductKeyEdit::OnChange()
{
    if (m_hWndNext && GetWindowTextLength() == kGroupLength)
        ::SetFocus(m_hWndNext);
}

LRESULT CProductKeyEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PASTE)
    {
        if (!(GetStyle() & ES_READONLY))
            PasteKey();
        return 0;
    }
    return CEdit::WindowProc(message, wParam, lParam);
}

void CProductKeyEdit::PasteKey()
{
    std::string text;
    // A clipboard held by another program cannot be read: the boxes stay as they are.
    if (!ReadClipboardText(m_hWnd, text))
        return;
    const std::string key = RemoveKeySeparators(text);

    // This box takes the first group as one undoable replacement of its whole text; each later box is set directly.
    // Every change is reported (EN_CHANGE), so the focus walks on over the boxes that were filled.
    std::string::size_type used = std::min<std::string::size_type>(key.size(), kGroupLength);
    SetSel(0, -1, TRUE);
    ReplaceSel(key.substr(0, used).c_str(), TRUE);

    // A chain that runs in a circle ends at this box, or after 64 boxes at the latest.
    const int kMaxLaterBoxes = 64;
    HWND hWndBox = m_hWndNext;
    for (int boxes = 0; hWndBox && hWndBox != m_hWnd && boxes < kMaxLaterBoxes && ::IsWindow(hWndBox); ++boxes)
    {
        const std::string group = used < key.size() ? key.substr(used, kGroupLength) : std::string();
        used += group.size();
        ::SetWindowTextA(hWndBox, group.c_str());
        // The chain goes on through boxes of this class; any other edit ends it.
        CWnd* pWnd = CWnd::FromHandlePermanent(hWndBox);
        CProductKeyEdit* pBox =
            pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CProductKeyEdit)) ? static_cast<CProductKeyEdit*>(pWnd) : nullptr;
        hWndBox = pBox ? pBox->m_hWndNext : nullptr;
    }
}
