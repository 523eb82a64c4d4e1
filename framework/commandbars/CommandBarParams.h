// COSMCommandBarsPersistParams: what whoever starts a save or load of command bars tells the objects exchanged.
// It travels on the exchange's m_dwData (sections inherit it), so bars and controls deep in the stream can reach
// the manager: loaded bars take its command bars, loaded controls bind to its actions.
//
//   COSMCommandBarsPersistParams params;
//   params.commandBars = &commandBars;
//   px.m_dwData = reinterpret_cast<DWORD_PTR>(&params);
#pragma once

#include "framework/foundation/PropExchange.h"

class COSMCommandBars;

// Bars the application numbers itself keep their ids; the others are numbered afresh for each save from here.
constexpr UINT kFirstGeneratedBarId = 0x1000000;

struct COSMCommandBarsPersistParams
{
    // Only bars the user changed (custom bars, customized toolbars, changed context menus) are saved.
    BOOL saveOnlyCustomized = FALSE;
    // Collections that hold a snapshot of their original controls save it too.
    BOOL saveOriginalControls = TRUE;
    COSMCommandBars* commandBars = nullptr;
};

// The record the exchange carries, or null when the caller set none.
inline COSMCommandBarsPersistParams* GetPersistParams(const COSMPropExchange* px)
{
    return px ? reinterpret_cast<COSMCommandBarsPersistParams*>(px->m_dwData) : nullptr;
}
