// The bad-input harness on saved command bars: the layouts a manager saves (custom and built-in toolbars with
// buttons and a popup control opening a popup bar, and a context menu), cut and mutated by a fixed-seed series, each
// loaded with LoadBarState into a fresh frame and manager, as a program that starts again loads its stored bars. A
// load succeeds or answers FALSE leaving the manager without bars; nothing crashes, hangs or takes more than two
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

// The layout loaded with LoadBarState into a fresh frame and manager, as a program that starts again loads its
// stored bars; "" unless something escaped the load or a failed load left bars in the manager. The frame, the manager
// and what it loaded then all go.
std::string LoadIntoFreshSite(const fuzz::Bytes& bytes)
{
    std::string outcome;
    {
        FreshSite fresh;
        if (!fresh.created)
            return "no fresh frame";
        LoadFromMemory load(bytes);
        if (!fresh.commandBars->LoadBarState(&load.px, TRUE) &&
            (fresh.commandBars->GetCount() != 0 || fresh.commandBars->GetOwnedPopups()->GetCount() != 0))
            outcome = "a failed load left bars in the manager";
    }
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageA(&msg);
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
    }
}

TEST_F(CommandBarsFuzz, MutatedLayoutsNeitherCrashHangNorLeak)
{
    fuzz::Harness harness("command-bars", fuzz::RunSettings::FromEnvironment(20261216u, 100));
    harness.SetDictionary({"COSMToolBar", "COSMPopupBar", "COSMControlPopup", "COSMControlButton", "COSMCommandBar",
                           "COSMMenuBar", std::string("\xFF\xFF", 2), std::string("\x22\x00", 2),
                           std::string("\x01\x80", 2)});
    const std::vector<fuzz::Failure> failures = harness.Run(SavedLayouts(), &LoadIntoFreshSite);
    EXPECT_TRUE(failures.empty()) << fuzz::Describe(failures);
    EXPECT_GT(harness.InputsRun(), 0);
}

}  // namespace
