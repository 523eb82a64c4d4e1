// The toolbar's side of saving and loading: its keys, whether the manager saves it, and how a loaded toolbar
// updates the bar of the same id that the application has just made.
#include "framework/commandbars/ToolBar.h"

#include "framework/commandbars/CommandBars.h"
#include "framework/foundation/PropExchange.h"

namespace {}  // namespace

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
    return SetPosition(position);
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
    if (GetSafeHwnd() && m_position != positionBefore)
        TakeLoadedPosition();
    DelayLayout();
    OnRecalcLayout();
}
