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

#include "classlib/Archive.h"
#include "classlib/File.h"
#include "framework/foundation/PropExchangeArchive.h"

#include <gtest/gtest.h>

#include <string>

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
        // Paint everything once before going, whenever the display would have exposed it: what the first paint
        // sets up for the process then always comes with the first site, never with a later one, which leak
        // counts would take for a leak.
        if (frame.GetSafeHwnd())
            ::RedrawWindow(frame.GetSafeHwnd(), nullptr, nullptr,
                           RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
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

// The manager's bars stored in the file, as a program saves them on closing.
inline void SaveBarsToFile(COSMCommandBars* commandBars, const std::string& store)
{
    CFile file;
    ASSERT_TRUE(file.Open(store.c_str(), CFile::modeCreate | CFile::modeWrite)) << store;
    CArchive ar(&file, CArchive::store);
    COSMPropExchangeArchive px(ar);
    ASSERT_TRUE(commandBars->SaveBarState(&px));
    ar.Close();
    file.Close();
}

// The bars stored in the file loaded into the manager, as a program loads them on starting.
inline void LoadBarsFromFile(COSMCommandBars* commandBars, const std::string& store)
{
    CFile file;
    ASSERT_TRUE(file.Open(store.c_str(), CFile::modeRead)) << store;
    CArchive ar(&file, CArchive::load);
    COSMPropExchangeArchive px(ar);
    ASSERT_TRUE(commandBars->LoadBarState(&px, TRUE));
    ar.Close();
}

}  // namespace commandbars_test
