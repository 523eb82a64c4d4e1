// What the ribbon tests share: an active test frame with a manager and its dock bars, and a ribbon the manager made
// by class name, laid out in the frame; and the formulas the ribbon's heights follow, from the painters' metrics.
//
//   class MyTest : public RibbonTest {};
//   TEST_F(MyTest, ...) { COSMRibbonTab* home = ribbon->AddTab("&Home"); Relayout(); ... }
#pragma once

#include "CommandBarsTestFrame.h"
#include "CommandBarsTestSupport.h"
#include "InputTestSupport.h"
#include "TrackingTestSupport.h"

#include "framework/commandbars/CommandBarKeyboardTip.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/DockBar.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonControls.h"
#include "framework/ribbon/RibbonFrame.h"
#include "framework/ribbon/RibbonTab.h"
#include "framework/ribbon/RibbonPaintManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

namespace ribbon_test {

using namespace commandbars_test;

class RibbonTest : public CommandBarsTest
{
protected:
    void SetUp() override
    {
        CommandBarsTest::SetUp();
        ASSERT_TRUE(frame.CreateActiveTestFrame("ribbon test"));
        commandBars = AdoptRef(new COSMCommandBars);
        commandBars->SetSite(&frame);
        ASSERT_TRUE(commandBars->CreateDockBars());
        ribbon = dynamic_cast<COSMRibbonBar*>(commandBars->AddRibbonBar("Ribbon"));
        ASSERT_NE(nullptr, ribbon);
        Relayout();
    }
    void TearDown() override
    {
        commandBars->ClosePopups();
        MoveMouseTo(CPoint(1200, 1000));
        commandBars.Reset();
        if (frame.GetSafeHwnd())
            frame.DestroyWindow();
        COSMRibbonFrame::s_pDwmFunctions = nullptr;
        CommandBarsTest::TearDown();
    }

    // How many WM_COMMANDs of the id the frame received.
    int Commands(UINT id) const
    {
        int count = 0;
        for (const auto& record : frame.RecordsOf(WM_COMMAND))
            count += LOWORD(record.wParam) == id;
        return count;
    }
    // The keyboard tips shown for the owner, in the order the manager holds them.
    std::vector<const COSMCommandBarKeyboardTip*> TipsOf(const CCmdTarget* owner) const
    {
        std::vector<const COSMCommandBarKeyboardTip*> tips;
        for (const auto& tip : commandBars->GetKeyboardTips())
            if (tip->GetOwner() == owner)
                tips.push_back(tip.get());
        return tips;
    }

    // The frame lays its bars out again, as after any change of the ribbon.
    void Relayout()
    {
        frame.RecalcLayout();
        PumpMessages();
    }

    COSMRibbonPaintManager* Painter() const { return ribbon->GetRibbonPaintManager(); }
    // The quick-access row's height with no quick-access controls: the bar's button (the paint manager's control
    // height) and 4.
    int PlainQuickAccessHeight() const { return ribbon->GetPaintManager()->GetControlHeight() + 4; }
    int GroupsHeight() const { return 3 * Painter()->GetControlHeight() + Painter()->GetGroupCaptionHeight() + 10; }
    int CaptionHeight(int quickAccess) const
    {
        return std::max(Painter()->GetCaptionHeight(), std::max(quickAccess, Painter()->GetTabsHeight() - 2));
    }

    // Tabs of the captions, the first selected.
    std::vector<COSMRibbonTab*> AddTabs(std::initializer_list<const char*> captions)
    {
        std::vector<COSMRibbonTab*> tabs;
        for (const char* caption : captions)
            tabs.push_back(ribbon->AddTab(caption));
        ribbon->SetCurSel(0);
        Relayout();
        return tabs;
    }

    CPoint TabCentre(const COSMRibbonTab* tab) const { return ScreenPoint(*ribbon, tab->GetRect().CenterPoint()); }
    int ClientWidth() const
    {
        CRect client;
        ribbon->GetClientRect(&client);
        return client.Width();
    }

    CCommandBarsTestFrame frame;
    RefPtr<COSMCommandBars> commandBars;
    COSMRibbonBar* ribbon = nullptr;
};

inline std::vector<UINT> Ids(const COSMControls* controls)
{
    std::vector<UINT> ids;
    for (int i = 0; i < controls->GetCount(); ++i)
        ids.push_back(controls->GetAt(i)->GetID());
    return ids;
}

// The code of a control notification the site got (0x2862's block).
inline int NotifyCode(const CCommandBarsTestFrame::Record& record)
{
    return static_cast<int>(reinterpret_cast<const NMOSMCONTROL*>(record.lParam)->hdr.code);
}

}  // namespace ribbon_test
