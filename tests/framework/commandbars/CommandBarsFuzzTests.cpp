// The bad-input harness on saved command bars: the layouts a manager saves (custom and built-in toolbars with
// buttons and a popup control opening a popup bar, and a context menu), cut and mutated by a fixed-seed series, each
// loaded with LoadBarState into a fresh frame and manager, as a program that starts again loads its stored bars. A
// load succeeds or answers FALSE leaving the manager without bars. A layout that loads is then used as a program
// uses it: laid out by its frame and painted, every popup of its bars and every context menu opened (and painted)
// and closed, and saved again; what it saves must load again. Nothing crashes, hangs or takes more than two
// seconds, and the frame, the manager and what it loaded give back their GDI objects and memory.
#include "PersistenceTestSupport.h"

#include "FuzzHarness.h"
#include "framework/commandbars/CommandBarList.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/commandbars/PopupBar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace commandbars_test;
using namespace prop_exchange_test;

namespace {

class CommandBarsFuzz : public DockSiteTest
{
protected:
    // The layouts saved from this test's frame: toolbars, then a context menu too.
    std::vector<fuzz::Bytes> SavedLayouts()
    {
        std::vector<fuzz::Bytes> corpus;
        COSMToolBar* standard = AddFilledToolBar("Standard", 59392, {30101, 30102, 0, 30103});
        if (!standard)
            return corpus;
        standard->SetBuiltIn(TRUE);
        standard->GetControls()->CreateOriginalControls();
        auto* custom = static_cast<COSMToolBar*>(commandBars->AddToolBar("Custom 1", 59393));
        if (!custom)
            return corpus;
        custom->GetControls()->Add(1, 30104)->SetCaption("&Open");
        auto* popupControl = static_cast<COSMControlPopup*>(custom->GetControls()->Append(new COSMControlPopup));
        popupControl->SetType(2);
        popupControl->SetCaption("&More");
        COSMPopupBar* popup = COSMPopupBar::CreatePopupBar(commandBars.Get());
        popup->GetControls()->Add(1, 30105)->SetCaption("&Save");
        popup->GetControls()->Add(1, 30106)->SetCaption("Save &As");
        popupControl->SetCommandBar(popup);
        popup->InternalRelease();
        corpus.push_back(SaveBars(commandBars.Get()));

        COSMPopupBar* menu = COSMPopupBar::CreatePopupBar(commandBars.Get());
        menu->SetBarID(0x3000);
        menu->SetContextMenu(TRUE);
        menu->GetControls()->Add(1, 201)->SetCaption("&Cut");
        menu->GetControls()->CreateOriginalControls();
        menu->GetControls()->Add(1, 202)->SetCaption("&Paste");
        commandBars->GetOwnedPopups()->Add(menu);
        corpus.push_back(SaveBars(commandBars.Get()));
        return corpus;
    }

    ScopedSetting<int (*)(LPCSTR, UINT)> messageBox{COSMToolBar::s_pfnShowMessageBox, &MessageBoxAnswer::Answer};
};

void PumpMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageA(&msg);
}

// How many popups one input opens at most: a layout of thousands of popup controls costs its load, not a thousand
// popup windows.
constexpr int kMaxPopupsOpened = 24;

// The loaded bars as the program then shows them: the frame lays them out and paints them, each popup control of
// each bar opens its popup (painted) and closes it again, and each context menu pops up and closes. How many popups
// opened.
int UseLoadedBars(FreshSite& fresh)
{
    fuzz::Harness::SetStage("laying out and painting the bars");
    fresh.frame.RecalcLayout();
    ::RedrawWindow(fresh.frame.GetSafeHwnd(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages();
    fuzz::Harness::SetStage("opening the popups");
    int tried = 0;
    int opened = 0;
    COSMCommandBars* bars = fresh.commandBars.Get();
    for (int b = 0; b < bars->GetCount() && tried < kMaxPopupsOpened; ++b)
    {
        COSMCommandBar* bar = bars->GetAt(b);
        if (!bar || !bar->GetSafeHwnd() || !bar->GetControls())
            continue;
        for (int c = 0; c < bar->GetControls()->GetCount() && tried < kMaxPopupsOpened; ++c)
        {
            const COSMControl* control = bar->GetControls()->GetAt(c);
            if (!control || !control->GetCommandBar())
                continue;
            ++tried;
            if (bar->SetPopuped(c, FALSE))
            {
                ++opened;
                ::RedrawWindow(nullptr, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
                PumpMessages();
            }
            bar->StopTracking();
            bars->ClosePopups();
            PumpMessages();
        }
    }
    COSMOwnedCommandBarList* menus = bars->GetOwnedPopups();
    for (int m = 0; menus && m < menus->GetCount() && tried < kMaxPopupsOpened; ++m)
    {
        auto* menu = dynamic_cast<COSMPopupBar*>(menus->GetAt(m));
        if (!menu)
            continue;
        ++tried;
        if (menu->Popup(200, 200))
        {
            ++opened;
            PumpMessages();
        }
        bars->ClosePopups();
        PumpMessages();
    }
    return opened;
}

// The layout loaded with LoadBarState into a fresh frame and manager, as a program that starts again loads its
// stored bars, then used and saved again; "" unless something escaped, a failed load left bars in the manager, or
// a layout that loaded saved one that does not. The frames, the managers and what they loaded then all go.
std::string LoadIntoFreshSite(const fuzz::Bytes& bytes)
{
    std::string outcome;
    fuzz::Bytes saved;
    {
        FreshSite fresh;
        if (!fresh.created)
            return "no fresh frame";
        LoadFromMemory load(bytes);
        fuzz::Harness::SetStage("loading the layout");
        if (!fresh.commandBars->LoadBarState(&load.px, TRUE))
        {
            if (fresh.commandBars->GetCount() != 0 || fresh.commandBars->GetOwnedPopups()->GetCount() != 0)
                outcome = "a failed load left bars in the manager";
        }
        else
        {
            UseLoadedBars(fresh);
            fuzz::Harness::SetStage("saving the layout again");
            StoreToMemory store;
            if (!fresh.commandBars->SaveBarState(&store.px))
                outcome = "a layout that loaded was not saved again";
            else
                saved = store.Take();
        }
    }
    PumpMessages();
    if (!saved.empty())
    {
        fuzz::Harness::SetStage("loading the layout saved again");
        FreshSite again;
        LoadFromMemory load(saved);
        if (again.created && !again.commandBars->LoadBarState(&load.px, TRUE))
            outcome = "a layout that loaded saved one that does not load";
    }
    PumpMessages();
    fuzz::Harness::SetStage(nullptr);
    return outcome;
}

TEST_F(CommandBarsFuzz, TheSavedLayoutsLoadWhole)
{
    const std::vector<fuzz::Bytes> corpus = SavedLayouts();
    ASSERT_EQ(2u, corpus.size());
    for (const fuzz::Bytes& bytes : corpus)
    {
        FreshSite fresh;
        ASSERT_TRUE(fresh.created);
        LoadFromMemory load(bytes);
        ASSERT_TRUE(fresh.commandBars->LoadBarState(&load.px, TRUE));
        EXPECT_NE(nullptr, fresh.FindToolBar(59393));
        EXPECT_EQ(CString("Custom 1"), fresh.FindToolBar(59393)->GetTitle());
        // The custom toolbar's popup opens (and the bars' own, their overflow buttons'), and the second layout's
        // context menu too.
        EXPECT_GE(UseLoadedBars(fresh), &bytes == &corpus[0] ? 1 : 2);
    }
    // Used and saved again, each loads again.
    for (const fuzz::Bytes& bytes : corpus)
        EXPECT_EQ("", LoadIntoFreshSite(bytes));
}

TEST_F(CommandBarsFuzz, MutatedLayoutsNeitherCrashHangNorLeak)
{
    fuzz::Harness harness("command-bars", fuzz::RunSettings::FromEnvironment(20261216u, 100));
    harness.SetLargeEdits(true);
    harness.SetDictionary({"COSMToolBar", "COSMPopupBar", "COSMControlPopup", "COSMControlButton", "COSMCommandBar",
                           "COSMMenuBar", std::string("\xFF\xFF", 2), std::string("\x22\x00", 2),
                           std::string("\x01\x80", 2)});
    const std::vector<fuzz::Failure> failures = harness.Run(SavedLayouts(), &LoadIntoFreshSite);
    EXPECT_TRUE(failures.empty()) << fuzz::Describe(failures);
    EXPECT_GT(harness.InputsRun(), 0);
}

}  // namespace
