#include "framework/controls/HostedEditCtrl.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/Control.h"
#include "framework/commandbars/ControlAction.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/FrameworkStatics.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/ImageManagerIcon.h"

namespace {

// Both margins of the window's text.
const int kHostedEditMargin = 3;
// The room between the edit icon and the text.
const int kHostedEditIconGap = 2;
// The action properties the window follows besides the hint: enabled and visible.
const int kHostedEditActionEnabled = 0;
const int kHostedEditActionVisible = 2;
// SetWindowPos without size, move, z-order change or activation.
const UINT kHostedEditShowFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;

}  // namespace

// ---- The owner: text and hint ----

COSMHostedEditOwner::~COSMHostedEditOwner()
{
    delete m_autoComplete;
    m_autoComplete = nullptr;
}

BOOL COSMHostedEditOwner::HasEditWindow() const
{
    const COSMHostedEditCtrl* window = GetHostedWindow();
    return window && window->GetSafeHwnd();
}

BOOL COSMHostedEditOwner::HasFocusInWindow() const
{
    return HasEditWindow() && ::GetFocus() == GetHostedWindow()->GetSafeHwnd();
}

CString COSMHostedEditOwner::GetDisplayText()
{
    if (HasEditWindow() && m_textStale)
    {
        GetHostedWindow()->GetEditText(m_text);
        m_textStale = FALSE;
    }
    return m_text;
}

CString COSMHostedEditOwner::GetEditText()
{
    const CString text = GetDisplayText();
    return m_hintShown ? CString() : text;
}

void COSMHostedEditOwner::SetEditText(const CString& text)
{
    // A box being typed into never gets the grey hint: it comes back when the focus leaves an empty box.
    const CString hint = GetEditHint();
    if (text.IsEmpty() && !hint.IsEmpty() && !HasFocusInWindow())
        ShowHint(hint);
    else
        SetDisplayText(text);
}

void COSMHostedEditOwner::SetDisplayText(const CString& text)
{
    // The window's own text (a window made afresh is empty), compared exactly: a change of case alone must reach the
    // screen too.
    COSMHostedEditCtrl* window = GetHostedWindow();
    CString shown;
    if (HasEditWindow())
        window->GetEditText(shown);
    if (HasEditWindow() && shown != text)
    {
        m_settingText = TRUE;
        window->SetEditText(text);
        m_settingText = FALSE;
    }
    m_text = text;
    m_textStale = FALSE;
    const BOOL wasHint = m_hintShown;
    m_hintShown = FALSE;
    if (wasHint && window)
        window->UpdateCharFormat();
}

void COSMHostedEditOwner::ShowHint(const CString& hint)
{
    SetDisplayText(hint);
    m_hintShown = TRUE;
    if (COSMHostedEditCtrl* window = GetHostedWindow())
        window->UpdateCharFormat();
}

void COSMHostedEditOwner::ShowHintWhenEmpty()
{
    const CString hint = GetEditHint();
    if (!hint.IsEmpty() && GetDisplayText().IsEmpty())
        ShowHint(hint);
}

void COSMHostedEditOwner::ClearShownHint()
{
    if (m_hintShown)
        SetDisplayText("");
}

CString COSMHostedEditOwner::GetEditHint() const
{
    if (!m_editHint.IsEmpty())
        return m_editHint;
    const COSMControlAction* action = m_hostControl->GetAction();
    return action ? action->GetEditHint() : CString();
}

void COSMHostedEditOwner::SetEditHint(const CString& hint)
{
    ClearShownHint();
    m_editHint = hint;
    if (!m_hostControl->IsFocused())
        ShowHintWhenEmpty();
    // A combo without a window draws its hint itself.
    m_hostControl->RedrawParent(FALSE);
}

CHARFORMAT2A COSMHostedEditOwner::GetCharFormat()
{
    CHARFORMAT2A format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_COLOR | CFM_BACKCOLOR;
    const BOOL grey = m_hostControl->GetEnabled() == 0 || m_hintShown;
    format.crTextColor = GetColorManager()->GetColor(grey ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
    format.crBackColor = m_hostControl->GetPaintManager()->GetControlEditBackColor(m_hostControl);
    return format;
}

void COSMHostedEditOwner::OnEditWindowChanged()
{
    m_textStale = TRUE;
    if (!m_settingText)
        m_hintShown = FALSE;
    if (HasFocusInWindow() && !GetHostedWindow()->IsChangeSuppressed())
        OnEditChanged();
    if (!HasEditWindow())
        return;
    GetHostedWindow()->SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                                   MAKELONG(kHostedEditMargin, kHostedEditMargin));
    GetHostedWindow()->UpdateCharFormat();
}

void COSMHostedEditOwner::OnEditDestroyed()
{
    if (COSMHostedEditCtrl* window = GetHostedWindow())
    {
        window->GetEditText(m_text);
        m_textStale = FALSE;
    }
}

// ---- The owner: the window ----

void COSMHostedEditOwner::BeforeActionChange(int property)
{
    if (property == COSMControl::kActionPropertyEditHint)
        ClearShownHint();
}

void COSMHostedEditOwner::FollowActionChange(int property)
{
    if (property == kHostedEditActionVisible)
        UpdateWindowVisibility();
    else if (property == kHostedEditActionEnabled)
        UpdateWindowEnabled();
    else if (property == COSMControl::kActionPropertyEditHint && !m_hostControl->IsFocused())
        ShowHintWhenEmpty();
}

void COSMHostedEditOwner::RememberFocusBack(HWND oldFocus)
{
    COSMCommandBar* bar = m_hostControl->GetParent();
    if (!bar || bar->GetFocusBackWindow())
        return;
    CWnd* site = bar->GetSite();
    bar->SetFocusBackWindow(oldFocus ? oldFocus : site ? site->GetSafeHwnd() : nullptr);
}

void COSMHostedEditOwner::GiveFocusBack()
{
    COSMCommandBar* bar = m_hostControl->GetParent();
    if (!HasFocusInWindow() || !bar)
        return;
    const HWND back = bar->GetFocusBackWindow();
    // The window is used once: the next focus remembers where it came from again.
    bar->SetFocusBackWindow(nullptr);
    ::SetFocus(back && ::IsWindow(back) ? back : nullptr);
}

void COSMHostedEditOwner::EnableShellAutoComplete(DWORD flags)
{
    m_autoCompleteFlags = flags;
    delete m_autoComplete;
    m_autoComplete = nullptr;
    if (!HasEditWindow() || flags == 0)
        return;
    m_autoComplete = new COSMShellAutoComplete;
    if (FAILED(m_autoComplete->Attach(GetHostedWindow()->GetSafeHwnd(), flags)))
    {
        delete m_autoComplete;
        m_autoComplete = nullptr;
    }
}

void COSMHostedEditOwner::UpdateWindowEnabled()
{
    if (!HasEditWindow())
        return;
    GetHostedWindow()->EnableWindow(m_hostControl->GetEnabled() != 0);
    GetHostedWindow()->UpdateCharFormat();
}

void COSMHostedEditOwner::UpdateWindowVisibility()
{
    if (!HasEditWindow())
        return;
    const COSMCommandBar* parent = m_hostControl->GetParent();
    const BOOL show = m_hostControl->GetControls() && parent && m_hostControl->IsVisible() && parent->GetSafeHwnd();
    GetHostedWindow()->SetWindowPos(nullptr, 0, 0, 0, 0,
                                    kHostedEditShowFlags | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

COSMImageManagerIcon* COSMHostedEditOwner::FindEditIcon(int iconId) const
{
    COSMImageManager* images = iconId > 0 ? m_hostControl->GetImageManager() : nullptr;
    if (!images || !images->ContainsImage(static_cast<UINT>(iconId), 0))
        return nullptr;
    return images->GetImage(static_cast<UINT>(iconId), 16);
}

int COSMHostedEditOwner::EditIconRoom(int iconId) const
{
    const COSMImageManagerIcon* icon = FindEditIcon(iconId);
    return icon ? icon->GetWidth() + kHostedEditIconGap : 0;
}

int COSMHostedEditOwner::DrawEditIconAt(CDC* dc, const CRect& rect, int iconId) const
{
    COSMImageManagerIcon* icon = FindEditIcon(iconId);
    if (!icon)
        return 0;
    const CPoint at(rect.left, rect.top + (rect.Height() - icon->GetHeight()) / 2);
    icon->Draw(dc, at, icon->GetImageForState(m_hostControl->GetEnabled() != 0 ? 0 : 1));
    return icon->GetWidth() + kHostedEditIconGap;
}

void COSMHostedEditOwner::DropStrayWindow()
{
    if (!HasEditWindow())
        return;
    COSMHostedEditCtrl* window = GetHostedWindow();
    const BOOL mirrored = (window->GetExStyle() & WS_EX_LAYOUTRTL) != 0;
    const COSMCommandBar* parent = m_hostControl->GetParent();
    const HWND parentWindow = parent ? parent->GetSafeHwnd() : nullptr;
    if (mirrored || ::GetParent(window->GetSafeHwnd()) != parentWindow)
        window->DestroyWindow();
}

BOOL COSMHostedEditOwner::CreateWindowInParent(DWORD style)
{
    COSMHostedEditCtrl* window = GetHostedWindow();
    if (!window->CreateEdit(style, m_hostControl->GetParent()))
        return FALSE;
    if (m_hostControl->GetEnabled() == 0)
        window->EnableWindow(FALSE);
    if (m_autoCompleteFlags != 0)
        EnableShellAutoComplete(m_autoCompleteFlags);
    return TRUE;
}

void COSMHostedEditOwner::ApplyWindowSettings(const CString& text)
{
    COSMHostedEditCtrl* window = GetHostedWindow();
    CFont* font = m_hostControl->GetPaintManager()->GetControlFont(m_hostControl);
    window->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->GetSafeHandle() : nullptr));
    window->SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(kHostedEditMargin, kHostedEditMargin));
    window->UpdateCharFormat();
    if (!HasFocusInWindow())
        SetEditText(text);
    window->SetOpaquePaint(COSMPaintManager::IsControlOnDwmCaption(m_hostControl));
}

// ---- The window ----

IMPLEMENT_DYNAMIC(COSMHostedEditCtrl, COSMCommandBarEditCtrl)

BEGIN_MESSAGE_MAP(COSMHostedEditCtrl, COSMCommandBarEditCtrl)
    ON_WM_SETFOCUS()
    ON_WM_MOUSEMOVE()
    ON_WM_KILLFOCUS()
    ON_WM_DESTROY()
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_CONTEXTMENU()
    ON_WM_KEYDOWN()
    ON_MESSAGE(OSM_WM_QUERYCOMMANDBAREDIT, OnQueryCommandBarEdit)
    ON_CONTROL_REFLECT(EN_CHANGE, OnEditChange)
END_MESSAGE_MAP()

BOOL COSMHostedEditCtrl::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (m_control && m_control->GetParent())
        m_control->GetParent()->RelayToolTipEvent(message, wParam, lParam);
    return COSMCommandBarEditCtrl::OnWndMsg(message, wParam, lParam, pResult);
}

void COSMHostedEditCtrl::UpdateCharFormat()
{
    if (!m_owner || !m_hWnd || !IsRichEdit())
        return;
    CHARFORMAT2A format = m_owner->GetCharFormat();
    format.cbSize = IsRichEditVersion2() ? sizeof(CHARFORMAT2A) : sizeof(CHARFORMATA);
    SendMessage(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    SendMessage(EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(format.crBackColor));
}

void COSMHostedEditCtrl::OnSetFocus(CWnd* oldWindow)
{
    if (m_control && !m_control->IsCustomizeMode())
        m_owner->OnEditSetFocus(oldWindow ? oldWindow->GetSafeHwnd() : nullptr);
    Default();
    if (!m_hWnd)
        return;
    SetSel(0, 0);
    SendMessage(EM_SCROLLCARET);
    // The text is selected once the click or key that brought the focus is done with the caret.
    PostMessage(EM_SETSEL, 0, -1);
}

void COSMHostedEditCtrl::OnMouseMove(UINT flags, CPoint point)
{
    Default();
    COSMCommandBar* bar = m_control ? m_control->GetParent() : nullptr;
    if (!bar || !bar->GetSafeHwnd())
        return;
    ::MapWindowPoints(m_hWnd, bar->GetSafeHwnd(), &point, 1);
    bar->OnMouseMove(flags, point);
}

void COSMHostedEditCtrl::OnKillFocus(CWnd* newWindow)
{
    COSMCommandBarEditCtrl::OnKillFocus(newWindow);
    if (m_owner)
        m_owner->OnEditKillFocus();
}

void COSMHostedEditCtrl::OnDestroy()
{
    if (m_owner)
        m_owner->OnEditDestroyed();
    Default();
}

void COSMHostedEditCtrl::OnLButtonDown(UINT flags, CPoint point)
{
    if (m_control && m_control->IsCustomizeMode())
    {
        if (!m_control->IsCustomizeClickAllowed())
            return;
        // The customize drag starts where the press was, in the bar's coordinates.
        if (COSMCommandBar* bar = m_control->GetParent(); bar && bar->GetSafeHwnd())
            ::MapWindowPoints(m_hWnd, bar->GetSafeHwnd(), &point, 1);
        m_control->OnClick(FALSE, point);
        return;
    }
    Default();
}

void COSMHostedEditCtrl::OnRButtonDown(UINT flags, CPoint point)
{
    COSMCommandBar* bar = m_control ? m_control->GetParent() : nullptr;
    if (!m_control || !bar)
    {
        Default();
        return;
    }
    if (m_control->IsCustomizeMode())
    {
        if (bar->GetSafeHwnd())
        {
            ::MapWindowPoints(m_hWnd, bar->GetSafeHwnd(), &point, 1);
            bar->OnRButtonDown(flags, point);
        }
        return;
    }
    OnContextPress();
    if (::GetFocus() != m_hWnd)
        SetFocus();
    if (!ShowContextMenu(m_control, point) && m_hWnd)
        Default();
}

void COSMHostedEditCtrl::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    if (key == VK_RETURN && m_control && ::GetFocus() == m_hWnd)
    {
        m_control->OnExecute();
        return;
    }
    Default();
}

void COSMHostedEditCtrl::OnEditChange()
{
    if (m_owner)
        m_owner->OnEditWindowChanged();
}
