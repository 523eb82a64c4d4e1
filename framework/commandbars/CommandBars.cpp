#include "framework/commandbars/CommandBars.h"

#include "classlib/FrameWnd.h"
#include "framework/foundation/ProcessService.h"
#include "framework/foundation/ToolTipContext.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBarKeyboardTip.h"
#include "framework/commandbars/CommandBarList.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/Control.h"
#include "framework/commandbars/ControlActions.h"
#include "framework/commandbars/CustomizeDropSource.h"
#include "framework/commandbars/DockBar.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/commandbars/ShortcutManager.h"
#include "framework/commandbars/SoundManager.h"
#include "framework/foundation/ImageManager.h"
#include "framework/commandbars/PaintManager.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(COSMCommandBars, CCmdTarget)

namespace {

// The event code of the class library's command routing, and the id a control takes as "redraw yourself".
const int kEventCode = -2;
const UINT kRedrawControlEvent = 1;

// Whatever can be selected (a control, or a part of a bar that stands for itself) redraws its bar for this event.
void RedrawSelection(CCmdTarget* selection)
{
    if (selection)
        selection->OnCmdMsg(kRedrawControlEvent, kEventCode, nullptr, nullptr);
}

}  // namespace

COSMPaintManager* GetProcessPaintManager()
{
    // The process's painter is replaced by SetTheme rather than made once, and only the UI thread draws bars: it
    // keeps its own pointer, and needs no lock.
    OSM_ASSERT_UI_THREAD();
    if (!COSMPaintManager::GetGlobalPaintManager())
        COSMPaintManager::SetTheme(0);
    return COSMPaintManager::GetGlobalPaintManager();
}

COSMCommandBars::COSMCommandBars()
    : m_dropSource(std::make_unique<COSMCustomizeDropSource>(this)),
      m_ownedPopups(RefPtr<COSMOwnedCommandBarList>::Adopt(new COSMOwnedCommandBarList(this))),
      m_actions(RefPtr<COSMControlActions>::Adopt(new COSMControlActions(this))),
      m_toolTipContext(RefPtr<COSMToolTipContext>::Adopt(new COSMToolTipContext)),
      m_options(RefPtr<COSMCommandBarsOptions>::Adopt(new COSMCommandBarsOptions(this))),
      m_shortcutManager(RefPtr<COSMShortcutManager>::Adopt(new COSMShortcutManager(this)))
{
    m_toolTipContext->ModifyToolTipStyle(TTS_NOPREFIX, 0);
    m_options->ShowKeyboardCues(COSMCommandBarsOptions::kCuesFollowSystem);
}

COSMCommandBars::~COSMCommandBars()
{
    // Tips point at the bars and controls that go below.
    HideKeyboardTips();
    m_customizeSelection.Reset();
    m_ownedPopups->RemoveAll();
    m_ownedPopups.Reset();
    // The site may be gone already, and a dying manager has nothing left to lay out: no frame layout here.
    m_noFrameLayout = TRUE;
    ReleaseBars();
    DestroyDockBars();
    m_dropSource.reset();
    SetPaintManager(nullptr);
    SetImageManager(nullptr);
    m_toolTipContext.Reset();
    m_shortcutManager.Reset();
    m_options.Reset();
    // A menu sound still playing for these bars ends with them.
    GetSoundManager()->StopThread();
    m_actions->RemoveAll();
    m_actions.Reset();
}

COSMPaintManager* COSMCommandBars::GetPaintManager() const
{
    return m_paintManager ? m_paintManager.Get() : GetProcessPaintManager();
}

COSMImageManager* COSMCommandBars::GetImageManager() const
{
    return m_imageManager ? m_imageManager.Get() : ::GetImageManager();
}

void COSMCommandBars::SetPaintManager(COSMPaintManager* paintManager)
{
    m_paintManager = RefPtr<COSMPaintManager>::Retain(paintManager);
}

void COSMCommandBars::SetImageManager(COSMImageManager* imageManager)
{
    m_imageManager = RefPtr<COSMImageManager>::Retain(imageManager);
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
    ShowKeyboardCues(customize);
}

void COSMCommandBars::SetCustomizeSelection(CCmdTarget* selection)
{
    if (selection == m_customizeSelection)
        return;
    const RefPtr<CCmdTarget> old = std::move(m_customizeSelection);
    m_customizeSelection = RefPtr<CCmdTarget>::Retain(selection);
    if (old)
        RedrawSelection(old.Get());
    if (selection)
        RedrawSelection(selection);
    CWnd* listener = m_dropSource->GetSheetWindow() ? m_dropSource->GetSheetWindow() : m_site;
    if (listener && ::IsWindow(listener->GetSafeHwnd()))
        listener->SendMessage(kMessageCustomizeSelectionChanged, 0, 0);
}

COSMControl* COSMCommandBars::GetCustomizeSelection() const
{
    return dynamic_cast<COSMControl*>(m_customizeSelection.Get());
}

COSMMouseManager* COSMCommandBars::GetMouseManager() const
{
    return m_mouseManager ? m_mouseManager : CreateMouseManager();
}

void COSMCommandBars::ClosePopups()
{
    GetMouseManager()->SendTrackLost();
}

COSMCommandBar* COSMCommandBars::GetAt(int index) const
{
    return index >= 0 && index < GetCount() ? m_bars[static_cast<size_t>(index)] : nullptr;
}

int COSMCommandBars::IndexOf(const COSMCommandBar* bar) const
{
    auto found = std::find(m_bars.begin(), m_bars.end(), bar);
    return found == m_bars.end() ? -1 : static_cast<int>(found - m_bars.begin());
}

COSMCommandBar* COSMCommandBars::FindCommandBar(UINT id) const
{
    return FindCommandBarById(m_bars, id);
}

void COSMCommandBars::AddCommandBar(COSMCommandBar* bar)
{
    if (bar && IndexOf(bar) < 0)
        m_bars.push_back(bar);
}

int COSMCommandBars::GetNextBarIndex(int start, int step) const
{
    const int count = GetCount();
    if (count == 0 || step == 0)
        return -1;
    int index = (start == -1 && step < 0) ? count - 1 : start + step;
    // Starting outside the bars there is nothing to come back to: the walk ends at the far end.
    BOOL wrapped = start == -1;
    for (;;)
    {
        if (index < 0 || index >= count)
        {
            if (wrapped)
                return -1;
            wrapped = TRUE;
            index = index < 0 ? count - 1 : 0;
        }
        if (index == start)
            return start;
        if (m_bars[static_cast<size_t>(index)]->IsVisible())
            return index;
        index += step;
    }
}

void COSMCommandBars::ToggleVisible(int index)
{
    COSMCommandBar* bar = GetAt(index);
    if (!bar)
        return;
    bar->SetVisible(!bar->IsVisible());
    m_options->m_modified = TRUE;
}

void COSMCommandBars::TakeOut(COSMCommandBar* bar)
{
    if (bar->GetSafeHwnd())
        bar->ShowWindow(SW_HIDE);
    bar->SetVisible(FALSE);
    // A docked bar leaves its row; the frame lays out again unless every bar is going.
    if (LeaveDockBar(bar) && !m_noFrameLayout)
        RecalcFrameLayout(FALSE);
    RemoveFromReBar(bar);
    bar->OnRemoved();
}

void COSMCommandBars::Remove(COSMCommandBar* bar)
{
    const int index = IndexOf(bar);
    if (index < 0)
        return;
    TakeOut(bar);
    m_bars.erase(m_bars.begin() + index);
    bar->InternalRelease();
}

void COSMCommandBars::ReleaseBars()
{
    std::vector<COSMCommandBar*> bars;
    bars.swap(m_bars);
    for (COSMCommandBar* bar : bars)
    {
        TakeOut(bar);
        bar->InternalRelease();
    }
}

void COSMCommandBars::RemoveAll()
{
    m_noFrameLayout = TRUE;
    ReleaseBars();
    m_noFrameLayout = FALSE;
    RecalcFrameLayout(TRUE);
}

void COSMCommandBars::RecalcFrameLayout(BOOL delay)
{
    if (m_noFrameLayout || !m_site || !::IsWindow(m_site->GetSafeHwnd()))
        return;
    if (auto* frame = dynamic_cast<CFrameWnd*>(m_site))
    {
        if (delay)
            frame->m_nIdleFlags |= CFrameWnd::idleLayout;
        else
            frame->RecalcLayout(FALSE);
        return;
    }
    CRect client;
    m_site->GetClientRect(&client);
    m_site->SendMessage(WM_SIZE, 0, MAKELPARAM(client.Width(), client.Height()));
}

void COSMCommandBars::RecalcDelayedFrameLayout()
{
    auto* frame = dynamic_cast<CFrameWnd*>(m_site);
    if (!frame || !(frame->m_nIdleFlags & CFrameWnd::idleLayout))
        return;
    frame->m_nIdleFlags &= ~UINT(CFrameWnd::idleLayout);
    frame->RecalcLayout(FALSE);
}

void COSMCommandBars::RedrawCommandBars()
{
    for (COSMCommandBar* bar : m_bars)
    {
        if (bar->IsVisible() && bar->GetSafeHwnd())
            bar->Redraw(nullptr, TRUE);
    }
}

BOOL COSMCommandBars::IsLayoutRTL() const
{
    if (m_rightToLeft)
        return TRUE;
    return m_site && m_site->GetSafeHwnd() && (m_site->GetExStyle() & WS_EX_LAYOUTRTL);
}
