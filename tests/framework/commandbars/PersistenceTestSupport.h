// What the tests that load bars into a frame share: a second frame with its own manager and dock bars, as a program
// that starts again has, for the saved bars to be loaded into.
//
//   FreshSite fresh;
//   ASSERT_TRUE(fresh.created);
//   LoadFromMemory load(SaveBars(commandBars.Get()));
//   ASSERT_TRUE(fresh.commandBars->LoadBarState(&load.px, TRUE));
#pragma once

#include "BarStreamWriter.h"
#include "DockTestSupport.h"

namespace commandbars_test {

struct FreshSite
{
    FreshSite()
    {
        created = frame.CreateTestFrame("fresh frame", CRect(80, 80, 680, 480));
        commandBars->SetSite(&frame);
        created = created && commandBars->CreateDockBars();
    }
    ~FreshSite()
    {
        commandBars->ClosePopups();
        commandBars.Reset();
        frame.DestroyWindow();
    }
    FreshSite(const FreshSite&) = delete;
    FreshSite& operator=(const FreshSite&) = delete;

    COSMToolBar* FindToolBar(UINT id) const { return dynamic_cast<COSMToolBar*>(commandBars->FindCommandBar(id)); }

    BOOL created = FALSE;
    DockFrame frame;
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
};

}  // namespace commandbars_test
