#include "framework/commandbars/CommandBars.h"

#include "framework/controls/ToolTipContext.h"

#include "framework/commandbars/Control.h"
#include "framework/commandbars/ControlActions.h"
#include "framework/commandbars/HeldReference.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/PaintManager.h"

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
    : m_actions(new COSMControlActions(this)), m_toolTipContext(new COSMToolTipContext)
{
    m_toolTipContext->ModifyToolTipStyle(TTS_NOPREFIX, 0);
}

COSMCommandBars::~COSMCommandBars()
{
    if (m_customizeSelection)
        m_customizeSelection->InternalRelease();
    SetPaintManager(nullptr);
    SetImageManager(nullptr);
    m_actions->RemoveAll();
    m_actions->InternalRelease();
    m_toolTipContext->InternalRelease();
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

void COSMCommandBars::SetCustomizeMode(BOOL customize)
{
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
