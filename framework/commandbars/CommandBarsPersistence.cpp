// The manager's side of saving and loading bars: which bars are saved, the "CommandBars" section that holds
// them, and how loaded bars join the bars the application has just made.
#include "classlib/Exception.h"
#include "classlib/RefPtr.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBarList.h"
#include "framework/commandbars/CommandBarParams.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/commandbars/ToolBar.h"
#include "framework/foundation/PropExchange.h"

#include <memory>

namespace {

// Sets the exchange's parameter record for as long as it lives, then puts the caller's back.
class ScopedPersistParams
{
public:
    ScopedPersistParams(COSMPropExchange* px, COSMCommandBarsPersistParams* params) : m_px(px), m_saved(px->m_dwData)
    {
        px->m_dwData = reinterpret_cast<DWORD_PTR>(params);
    }
    ~ScopedPersistParams() { m_px->m_dwData = m_saved; }
    ScopedPersistParams(const ScopedPersistParams&) = delete;
    ScopedPersistParams& operator=(const ScopedPersistParams&) = delete;

private:
    COSMPropExchange* m_px;
    DWORD_PTR m_saved;
};

// Hands exchange the items of the "CommandBars" section, one per bar; a damaged or foreign stream ends the exchange
// with FALSE instead of an exception.
template <class Exchange> BOOL ExchangeCommandBarItems(COSMPropExchange* px, LPCSTR caller, Exchange exchange)
{
    try
    {
        auto section = RefPtr<COSMPropExchange>::Adopt(px->GetSection("CommandBars"));
        std::unique_ptr<COSMPropExchangeEnumerator> items(section->GetEnumerator("CommandBar"));
        return exchange(items.get());
    }
    catch (CArchiveException* e)
    {
        TRACE("%s. Archive exception\r\n", caller);
        e->Delete();
        return FALSE;
    }
}

// A loaded toolbar updates the application's bar of its id; a bar the user made joins the manager instead and goes
// back where it was saved (created in the site, it would otherwise sit outside the layout).
void MergeLoadedToolBar(COSMCommandBars* commandBars, COSMToolBar* loaded, COSMCommandBarList* list, BOOL silent)
{
    COSMCommandBar* existing = commandBars->FindCommandBar(loaded->GetBarID());
    loaded->RestoreCommandBarList(list);
    if (existing)
    {
        // A bar of that id that is no toolbar (a crafted store) takes nothing from it.
        if (auto* toolBar = dynamic_cast<COSMToolBar*>(existing))
            toolBar->MergeLoadedControls(loaded, silent);
        return;
    }
    loaded->SetCommandBars(commandBars);
    loaded->InternalAddRef();
    commandBars->AddCommandBar(loaded);
    const DWORD flags = loaded->GetFlags();
    loaded->Create(commandBars->GetSite(), FALSE);
    loaded->TakeLoadedPosition();
    loaded->ModifyFlags(flags, ~flags);
    commandBars->AddToReBar(loaded);
}

}  // namespace

void COSMCommandBars::GenerateCommandBarList(COSMCommandBarList* list, COSMCommandBarsPersistParams* params)
{
    DWORD nextId = kFirstGeneratedBarId;
    const BOOL onlyCustomized = params && params->saveOnlyCustomized;
    for (COSMCommandBar* bar : m_bars)
    {
        if (bar->IsSaveCandidate(onlyCustomized))
            bar->GenerateCommandBarList(nextId, list, params);
    }
    for (int i = 0; i < m_ownedPopups->GetCount(); ++i)
    {
        COSMCommandBar* bar = m_ownedPopups->GetAt(i);
        if (!onlyCustomized || bar->GetControls()->IsChanged())
            bar->GenerateCommandBarList(nextId, list, params);
    }
}

BOOL COSMCommandBars::SaveCommandBarList(COSMPropExchange* px, COSMCommandBarList* list)
{
    return ExchangeCommandBarItems(px, "COSMCommandBars::SaveCommandBarList", [&](COSMPropExchangeEnumerator* items) {
        POSITION pos = items->GetPosition(static_cast<DWORD>(list->GetCount()));
        for (int index = 0; pos; ++index)
        {
            auto item = RefPtr<COSMPropExchange>::Adopt(items->GetNext(pos));
            COSMCommandBar* bar = list->GetAt(index);
            CObject* object = bar;
            if (!item->ExchangeObjectInstance(&object, RUNTIME_CLASS(COSMCommandBar)))
                return FALSE;
            bar->DoPropExchange(item.Get());
        }
        return TRUE;
    });
}

BOOL COSMCommandBars::LoadCommandBarList(COSMPropExchange* px, COSMCommandBarList* list)
{
    return ExchangeCommandBarItems(px, "COSMCommandBars::LoadCommandBarList", [&](COSMPropExchangeEnumerator* items) {
        POSITION pos = items->GetPosition();
        while (pos)
        {
            auto item = RefPtr<COSMPropExchange>::Adopt(items->GetNext(pos));
            CObject* object = nullptr;
            if (!item->ExchangeObjectInstance(&object, RUNTIME_CLASS(COSMCommandBar)) || !object)
                return FALSE;
            // Held until listed: a stream that ends inside the bar's keys must not leak it.
            auto bar = RefPtr<COSMCommandBar>::Adopt(static_cast<COSMCommandBar*>(object));
            bar->DoPropExchange(item.Get());
            bar->GetControls()->RefreshIndexes();
            list->Add(bar.Detach());
        }
        return TRUE;
    });
}

BOOL COSMCommandBars::SaveBarState(COSMPropExchange* px, BOOL onlyCustomized, BOOL saveOriginals)
{
    if (!px)
        return FALSE;
    COSMCommandBarsPersistParams params;
    params.saveOnlyCustomized = onlyCustomized;
    params.saveOriginalControls = saveOriginals;
    params.commandBars = this;
    ScopedPersistParams scoped(px, &params);
    COSMCommandBarList list;
    GenerateCommandBarList(&list, &params);
    return SaveCommandBarList(px, &list);
}

BOOL COSMCommandBars::LoadBarState(COSMPropExchange* px, BOOL silent)
{
    if (!px)
        return FALSE;
    COSMCommandBarsPersistParams params;
    params.commandBars = this;
    ScopedPersistParams scoped(px, &params);
    COSMCommandBarList list;
    if (!LoadCommandBarList(px, &list))
        return FALSE;
    // Each merged toolbar would lay the whole frame out again, costing the square of the bars: the one layout after
    // the last places them all.
    const BOOL noFrameLayout = m_noFrameLayout;
    m_noFrameLayout = TRUE;
    MergeLoadedCommandBars(&list, silent);
    m_noFrameLayout = noFrameLayout;
    RecalcFrameLayout();
    return TRUE;
}

void COSMCommandBars::MergeLoadedCommandBars(COSMCommandBarList* list, BOOL silent)
{
    for (int index = 0; index < list->GetCount(); ++index)
    {
        COSMCommandBar* loaded = list->GetAt(index);
        if (auto* toolBar = dynamic_cast<COSMToolBar*>(loaded))
        {
            MergeLoadedToolBar(this, toolBar, list, silent);
            continue;
        }
        auto* popup = dynamic_cast<COSMPopupBar*>(loaded);
        if (!popup || !popup->IsContextMenu())
            continue;
        COSMCommandBar* existing = m_ownedPopups->FindById(loaded->GetBarID());
        loaded->RestoreCommandBarList(list);
        if (!existing)
        {
            loaded->InternalAddRef();
            m_ownedPopups->Add(loaded);
            if (!loaded->GetControls()->GetOriginalControls())
                loaded->GetControls()->CreateOriginalControls();
            continue;
        }
        // The application's menu keeps its snapshot of the original controls; the user's controls replace its own.
        COSMOriginalControls* snapshot = existing->GetControls()->GetOriginalControls();
        if (snapshot)
            snapshot->InternalAddRef();
        COSMControls* controls = loaded->GetControls();
        controls->InternalAddRef();
        loaded->SetControls(new COSMControls);
        existing->SetControls(controls);
        controls->SetOriginalControls(snapshot);
    }
}
