#include "framework/controls/HostedEditCtrl.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/Control.h"
#include "framework/foundation/FrameworkStatics.h"

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
