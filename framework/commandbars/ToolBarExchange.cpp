// The toolbar's side of saving and loading: its keys, whether the manager saves it, and how a loaded toolbar
// updates the bar of the same id that the application has just made.
#include "classlib/Geometry.h"
#include "framework/commandbars/ToolBar.h"

#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/ToolBarMoveTracker.h"
#include "framework/foundation/PropExchange.h"

namespace {

// The floating window's place joined the toolbar's keys with the toolbar classes' schema 0x23.
const long kFloatingPositionSchema = 0x23;

// Whether the exchange holds "FloatingPosition". A stream holds it when the schema stored with the bar's class says
// so: loading, the schema read with the class; storing, the class's own, which the store writes with it. A named
// store keeps every key apart, and one it lacks reads as its default.
BOOL HasFloatingPosition(const COSMToolBar* bar, const COSMPropExchange* px)
{
    if (!px->IsSequentialStorage())
        return TRUE;
    const long schema = px->IsLoading() ? px->m_nSchema : static_cast<long>(bar->GetRuntimeClass()->m_wSchema & 0xFFFF);
    return schema >= kFloatingPositionSchema;
}

}  // namespace

CPoint COSMToolBar::GetFloatingPosition() const
{
    if (IsFloating() && GetSafeHwnd())
    {
        CRect window;
        GetWindowRect(&window);
        return window.TopLeft();
    }
    return m_moveTracker ? m_moveTracker->GetSavedFloatingPoint() : CPoint(0, 0);
}

void COSMToolBar::SetFloatingPosition(CPoint point)
{
    if (m_moveTracker)
        m_moveTracker->SetSavedFloatingPoint(point);
    if (IsFloating() && GetSafeHwnd() && point != CPoint(0, 0))
        SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void COSMToolBar::DoPropExchange(COSMPropExchange* px)
{
    COSMCommandBar::DoPropExchange(px);
    const long schema = px->m_nSchema;
    PropExchangeBool(px, "BuiltIn", &m_builtIn, TRUE);
    PropExchangeBool(px, "TearOff", &m_tearOff, FALSE);
    if (schema >= 7)
        PropExchangeBool(px, "Closeable", &m_closeable, TRUE);
    if (schema >= 8)
        PropExchangeBool(px, "ContextMenuPresent", &m_contextMenuPresent, TRUE);
    if (schema >= 17)
        PropExchangeBool(px, "CustomizeDialogPresent", &m_customizeDialogPresent, TRUE);
    if (HasFloatingPosition(this, px))
    {
        // A screen point, travelling as the exchange's pair of longs (0,0: the bar never floated).
        const CPoint point = GetFloatingPosition();
        CSize pair(point.x, point.y);
        PropExchangeSize(px, "FloatingPosition", &pair, CSize(0, 0));
        if (px->IsLoading())
            SetFloatingPosition(CPoint(pair.cx, pair.cy));
    }
    // Menu bars stored before schema 17 never showed a close button, whatever the store says.
    if (px->IsLoading() && schema < 17 && m_type == 0)
        m_closeable = FALSE;
}

BOOL COSMToolBar::IsSaveCandidate(BOOL onlyCustomized) const
{
    if (m_notSaved)
        return FALSE;
    return !onlyCustomized || !m_builtIn || IsCustomized();
}

BOOL COSMToolBar::TakeLoadedPosition()
{
    const int position = m_position >= 0 && m_position <= kPositionFloating ? m_position : 0;
    // A window that floated before (made docked, or floating elsewhere) goes to the stored place too.
    const CPoint floatingPosition = m_moveTracker ? m_moveTracker->GetSavedFloatingPoint() : CPoint(0, 0);
    if (!SetPosition(position))
        return FALSE;
    SetFloatingPosition(floatingPosition);
    return TRUE;
}

void COSMToolBar::CopyKeepingSnapshot(const COSMToolBar* source)
{
    COSMOriginalControls* snapshot = m_controls->GetOriginalControls();
    if (snapshot)
        snapshot->InternalAddRef();
    Copy(source, FALSE);
    m_controls->SetOriginalControls(snapshot);
}

void COSMToolBar::MergeLoadedControls(COSMToolBar* loaded, BOOL silent)
{
    if (!loaded || loaded == this)
        return;
    const COSMOriginalControls* savedOriginal = loaded->GetControls()->GetOriginalControls();
    const COSMOriginalControls* ownOriginal = m_controls->GetOriginalControls();
    const BOOL sameDefinition = !savedOriginal || !ownOriginal || savedOriginal->Compare(ownOriginal);
    if (!sameDefinition)
    {
        // The application changed the bar since the save. A bar the user had not customized simply takes the new
        // definition; a customized one does only when the user says so.
        if (silent || loaded->GetControls()->Compare(savedOriginal))
            return;
        if (AskAboutBar(kMergeQuestionId, MB_YESNO | MB_ICONQUESTION) != IDNO)
            return;
    }

    // The bar stays with its own manager, and its window follows the position the copy brings.
    COSMCommandBars* commandBars = m_commandBars;
    const int positionBefore = m_position;
    if (sameDefinition && savedOriginal)
        Copy(loaded, FALSE);
    else
        CopyKeepingSnapshot(loaded);
    m_commandBars = commandBars;
    if (m_moveTracker && loaded->GetMoveTracker())
        m_moveTracker->SetSavedFloatingPoint(loaded->GetMoveTracker()->GetSavedFloatingPoint());
    if (GetSafeHwnd() && (m_position != positionBefore || IsFloating()))
        TakeLoadedPosition();
    DelayLayout();
    OnRecalcLayout();
}
