#include "classlib/ToolBar.h"

IMPLEMENT_DYNAMIC(CToolBar, CWnd)

namespace {

// The update of one button: what the handler says goes into the button's state.
class CToolCmdUI : public CCmdUI
{
public:
    explicit CToolCmdUI(CToolBar* pBar) : m_pBar(pBar) {}

    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        UINT state = m_pBar->GetButtonState(static_cast<int>(m_nIndex));
        state = bOn ? (state | TBSTATE_ENABLED) : (state & ~TBSTATE_ENABLED);
        // A disabled button cannot stay pressed.
        if (!bOn)
            state &= ~TBSTATE_PRESSED;
        m_pBar->SetButtonState(static_cast<int>(m_nIndex), state);
    }
    void SetCheck(int nCheck) override
    {
        UINT state = m_pBar->GetButtonState(static_cast<int>(m_nIndex)) & ~(TBSTATE_CHECKED | TBSTATE_INDETERMINATE);
        if (nCheck == 1)
            state |= TBSTATE_CHECKED;
        else if (nCheck == 2)
            state |= TBSTATE_INDETERMINATE;
        m_pBar->SetButtonState(static_cast<int>(m_nIndex), state);
    }
    void SetText(LPCSTR) override {}  // toolbar buttons show images only

private:
    CToolBar* m_pBar;
};

}  // namespace

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    // The bar styles live in the low word; the control takes window styles, and lays itself out where it is put.
    DWORD style = (dwStyle & 0xFFFF0000) | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
    if (dwStyle & CBRS_TOOLTIPS)
        style |= TBSTYLE_TOOLTIPS;
    if (!CreateEx(0, TOOLBARCLASSNAMEA, nullptr, style, CRect(0, 0, 100, 30), pParentWnd, nID))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return TRUE;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage)
{
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(sizeImage.cx, sizeImage.cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(sizeButton.cx, sizeButton.cy));
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount)
{
    while (SendMessage(TB_DELETEBUTTON, 0))
    {}
    int image = 0;
    for (int i = 0; i < nIDCount; ++i)
    {
        TBBUTTON button{};
        button.idCommand = static_cast<int>(lpIDArray[i]);
        if (lpIDArray[i] == ID_SEPARATOR)
        {
            button.fsStyle = TBSTYLE_SEP;
        }
        else
        {
            button.iBitmap = image++;
            button.fsStyle = TBSTYLE_BUTTON;
            button.fsState = TBSTATE_ENABLED;
        }
        if (!SendMessage(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button)))
            return FALSE;
    }
    return TRUE;
}

int CToolBar::GetCount() const
{
    return static_cast<int>(SendMessage(TB_BUTTONCOUNT));
}

UINT CToolBar::GetItemID(int nIndex) const
{
    TBBUTTON button{};
    if (!SendMessage(TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&button)))
        return ID_SEPARATOR;
    return (button.fsStyle & TBSTYLE_SEP) ? ID_SEPARATOR : static_cast<UINT>(button.idCommand);
}

int CToolBar::CommandToIndex(UINT nIDFind) const
{
    return static_cast<int>(SendMessage(TB_COMMANDTOINDEX, nIDFind));
}

UINT CToolBar::GetButtonState(int nIndex) const
{
    TBBUTTON button{};
    if (!SendMessage(TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&button)))
        return 0;
    return button.fsState;
}

void CToolBar::SetButtonState(int nIndex, UINT nState)
{
    // TB_SETSTATE finds the button by command id; the index's own info is set so that equal ids stay apart.
    TBBUTTONINFOA info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_BYINDEX | TBIF_STATE;
    info.fsState = static_cast<BYTE>(nState);
    if (GetButtonState(nIndex) != nState)
        SendMessage(TB_SETBUTTONINFOA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&info));
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    if (!SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect)))
        ::SetRectEmpty(lpRect);
}

HIMAGELIST CToolBar::SetImageList(HIMAGELIST hImageList)
{
    return reinterpret_cast<HIMAGELIST>(SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(hImageList)));
}

CSize CToolBar::CalcFixedLayout(BOOL /*bStretch*/, BOOL /*bHorz*/)
{
    CSize size(0, 0);
    const int count = GetCount();
    for (int i = 0; i < count; ++i)
    {
        CRect rect;
        GetItemRect(i, &rect);
        size.cx = std::max<LONG>(size.cx, rect.right);
        size.cy = std::max<LONG>(size.cy, rect.bottom);
    }
    return size;
}

void CToolBar::OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    CToolCmdUI state(this);
    state.m_pOther = this;
    const int count = GetCount();
    for (int i = 0; i < count; ++i)
    {
        const UINT id = GetItemID(i);
        if (id == ID_SEPARATOR)
            continue;
        state.m_nID = id;
        state.m_nIndex = static_cast<UINT>(i);
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}
