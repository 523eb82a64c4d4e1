#include "framework/commandbars/CommandBars.h"

#include "framework/controls/ToolTipContext.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/Control.h"
#include "framework/commandbars/ControlActions.h"
#include "framework/commandbars/CustomizeDropSource.h"
#include "framework/commandbars/HeldReference.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/ShortcutManager.h"
#include "framework/commandbars/SoundManager.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/PaintManager.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(COSMCommandBars, CCmdTarget)

namespace {

// The event code of the class library's command routing, and the id a control takes as "redraw yourself".
const int kEventCode = -2;
const UINT kRedrawControlEvent = 1;

void RedrawControl(COSMControl* control)
{
    if (control)
        control->OnCmdMsg(kRedrawControlEvent, kEventCode, nullptr, nullptr);
}

}  // namespace

COSMPaintManager* GetProcessPaintManager()
{
    if (!COSMPaintManager::GetGlobalPaintManager())
        COSMPaintManager::SetTheme(0);
    return COSMPaintManager::GetGlobalPaintManager();
}

COSMCommandBars::COSMCommandBars()
    : m_dropSource(std::make_unique<COSMCustomizeDropSource>(this)),
      m_actions(new COSMControlActions(this)),
      m_toolTipContext(new COSMToolTipContext),
      m_options(new COSMCommandBarsOptions(this)),
      m_shortcutManager(new COSMShortcutManager(this))
{
    m_toolTipContext->ModifyToolTipStyle(TTS_NOPREFIX, 0);
    m_options->ShowKeyboardCues(COSMCommandBarsOptions::kCuesFollowSystem);
}

COSMCommandBars::~COSMCommandBars()
{
    if (m_customizeSelection)
        m_customizeSelection->InternalRelease();
    m_dropSource.reset();
    SetPaintManager(nullptr);
    SetImageManager(nullptr);
    m_toolTipContext->InternalRelease();
    m_shortcutManager->InternalRelease();
    m_options->InternalRelease();
    // A menu sound still playing for these bars ends with them.
    GetSoundManager()->StopThread();
    m_actions->RemoveAll();
    m_actions->InternalRelease();
}

void COSMCommandBars::ResetKeyboardState(COSMCommandBar* bar, int mode)
{
    m_toolTipContext->DeactivateToolTip();
}

COSMPaintManager* COSMCommandBars::GetPaintManager() const
{
    return m_paintManager ? m_paintManager : GetProcessPaintManager();
}

COSMImageManager* COSMCommandBars::GetImageManager() const
{
    return m_imageManager ? m_imageManager : ::GetImageManager();
}

void COSMCommandBars::SetPaintManager(COSMPaintManager* paintManager)
{
    ReplaceHeldReference(m_paintManager, paintManager);
}

void COSMCommandBars::SetImageManager(COSMImageManager* imageManager)
{
    ReplaceHeldReference(m_imageManager, imageManager);
}

COSMControlAction* COSMCommandBars::GetAction(int id) const
{
    return m_actions->FindAction(id);
}

COSMControlAction* COSMCommandBars::CreateAction(int id)
{
    return m_actions->Add(static_cast<UINT>(id));
}

BOOL COSMCommandBars::IsCommandHidden(UINT id) const
{
    UINT value = 0;
    return m_options->m_hiddenCommands.Lookup(id, value) && !m_options->m_usedCommands.Lookup(id, value);
}

BOOL COSMCommandBars::IsControlHidden(COSMControl* control)
{
    if (IsCommandHidden(control->GetID()))
        return TRUE;
    const int type = control->GetType();
    if (!m_options->m_autoHideUnusedPopups || type < 2 || type > 4)
        return FALSE;
    const COSMCommandBar* bar = control->GetCommandBar();
    if (!bar || bar->GetControlCount() == 0)
        return FALSE;
    // Only damaged stored data makes a popup open one of its own ancestors; such a popup is not judged again.
    if (std::find(m_hiddenCheckPath.begin(), m_hiddenCheckPath.end(), bar) != m_hiddenCheckPath.end())
        return FALSE;
    m_hiddenCheckPath.push_back(bar);
    BOOL allHidden = TRUE;
    for (int i = 0; i < bar->GetControlCount() && allHidden; ++i)
        allHidden = IsControlHidden(bar->GetControl(i));
    m_hiddenCheckPath.pop_back();
    return allHidden;
}

void COSMCommandBars::SetCommandUsed(UINT id)
{
    if (!IsCommandHidden(id))
        return;
    m_options->m_usedCommands.SetAt(id, 1);
    m_options->m_modified = TRUE;
}

void COSMCommandBars::SetCustomizeMode(BOOL customize)
{
    m_options->m_modified = TRUE;
    m_customizeMode = customize;
    m_customizeModeCopy = customize;
    SetCustomizeSelection(nullptr);
}

void COSMCommandBars::SetCustomizeSelection(COSMControl* control)
{
    if (control == m_customizeSelection)
        return;
    COSMControl* old = m_customizeSelection;
    m_customizeSelection = control;
    if (old)
    {
        RedrawControl(old);
        old->InternalRelease();
    }
    if (control)
    {
        control->InternalAddRef();
        RedrawControl(control);
    }
    if (m_site && ::IsWindow(m_site->GetSafeHwnd()))
        m_site->SendMessage(kMessageCustomizeSelectionChanged, 0, 0);
}

COSMMouseManager* COSMCommandBars::GetMouseManager() const
{
    return m_mouseManager ? m_mouseManager : CreateMouseManager();
}

void COSMCommandBars::ClosePopups()
{
    GetMouseManager()->SendTrackLost();
}
