#include "framework/commandbars/ControlPopup.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/HeldReference.h"
#include "framework/commandbars/PopupBar.h"

IMPLEMENT_SERIAL(COSMControlPopup, COSMControlButton, VERSIONABLE_SCHEMA | 0x22)

namespace {

// The parent bar's Position when it is itself a popup.

}  // namespace

COSMControlPopup::COSMControlPopup()
{
    m_type = 2;
}

COSMControlPopup::~COSMControlPopup()
{
    SetCommandBar(nullptr);
}

COSMControlPopup* COSMControlPopup::CreateControlPopup(int type)
{
    auto* popup = static_cast<COSMControlPopup*>(CreateObject());
    popup->m_type = type;
    return popup;
}

void COSMControlPopup::ExpandPopupBar()
{
    if (auto* popup = dynamic_cast<COSMPopupBar*>(m_commandBar))
        popup->ExpandBar();
}

void COSMControlPopup::SetCommandBar(COSMCommandBar* bar)
{
    ReplaceHeldReference(m_commandBar, bar);
}

void COSMControlPopup::Copy(const COSMControl* source, BOOL recursive)
{
    COSMControlButton::Copy(source, recursive);
    if (!source->IsKindOf(RUNTIME_CLASS(COSMControlPopup)))
        return;
    COSMCommandBar* sourceBar = static_cast<const COSMControlPopup*>(source)->m_commandBar;
    if (recursive && sourceBar)
    {
        COSMCommandBar* clone = sourceBar->Clone(recursive);
        SetCommandBar(clone);
        if (clone)
            clone->InternalRelease();
    }
    else
    {
        SetCommandBar(sourceBar);
    }
}

COSMControl* COSMControlPopup::Clone(BOOL recursive) const
{
    auto* clone = static_cast<COSMControlPopup*>(CreateObject());
    clone->Copy(this, recursive);
    return clone;
}

BOOL COSMControlPopup::Compare(const COSMControl* other) const
{
    if (!COSMControl::Compare(other) || !other->IsKindOf(RUNTIME_CLASS(COSMControlPopup)))
        return FALSE;
    const COSMCommandBar* otherBar = static_cast<const COSMControlPopup*>(other)->m_commandBar;
    if (!m_commandBar || !otherBar)
        return TRUE;
    return m_commandBar->GetControls()->Compare(otherBar->GetControls());
}

void COSMControlPopup::OnClick(BOOL keyboard, CPoint point)
{
    if (m_type == 4 || IsCustomizeMode() || !m_parent)
    {
        COSMControlButton::OnClick(keyboard, point);
        return;
    }
    if (GetEnabled() == 0)
        return;
    if (m_popped && m_parent->GetPosition() != COSMCommandBar::kPositionPopup)
    {
        m_parent->SetTrackingMode(0, FALSE, FALSE);
        return;
    }
    m_parent->SetPopuped(GetIndex(), keyboard);
}

void COSMControlPopup::OnMouseHover()
{
    if (m_commandBar && m_parent && GetEnabled() != 0 &&
        (m_parent->GetTrackingMode() == 2 || m_parent->GetPosition() == COSMCommandBar::kPositionPopup))
    {
        m_parent->SetPopuped(GetIndex(), FALSE);
        return;
    }
    COSMControl::OnMouseHover();
}

BOOL COSMControlPopup::OnSetPopup(BOOL popup)
{
    auto* bar = dynamic_cast<COSMPopupBar*>(m_commandBar);
    if (!popup)
    {
        m_popped = FALSE;
        if (bar && bar->GetTrackingMode() != 0)
            bar->SetTrackingMode(0, TRUE, FALSE);
        RedrawParent(TRUE);
        return TRUE;
    }
    if (!bar)
        return FALSE;
    m_popped = TRUE;
    const BOOL keyboard = m_parent && m_parent->IsSelectedByKeyboard();
    if (!bar->Popup(this, keyboard))
    {
        m_popped = FALSE;
        return FALSE;
    }
    RedrawParent(TRUE);
    return TRUE;
}
