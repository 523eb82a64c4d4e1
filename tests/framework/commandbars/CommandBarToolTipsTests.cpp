// What a bar tells its tooltip context about the control under a point: the text with its shortcut, markup left
// alone, the tool id, the extended record that learns the control, and the states in which no tip shows.
#include "TrackingTestSupport.h"

#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/ShortcutManager.h"
#include "framework/commandbars/ShortcutManagerAccel.h"
#include "framework/foundation/ToolTipContext.h"

using namespace commandbars_test;

namespace {

const UINT kSave = 57603;
const UINT kOpen = 57601;

// A filled tool info, its text freed when it goes.
struct ToolHit
{
    INT_PTR id = -1;
    CString text;
    CRect rect;
    UINT_PTR toolId = 0;
};

class BarToolTipsTest : public CommandBarsTest
{
protected:
    void SetUp() override
    {
        CommandBarsTest::SetUp();
        options()->m_toolBarAccelTips = TRUE;
        save = bar->GetControls()->Add(1, static_cast<int>(kSave));
        save->SetTooltip("Save");
        save->SetRect(CRect(0, 0, 30, 20));
        open = bar->GetControls()->Add(1, static_cast<int>(kOpen));
        open->SetTooltip("Open");
        open->SetRect(CRect(30, 0, 60, 20));
    }

    COSMCommandBarsOptions* options() { return commandBars->GetCommandBarsOptions(); }

    static ToolHit HitTest(const COSMCommandBar& target, CPoint point)
    {
        TOOLINFOA info{};
        info.cbSize = sizeof(info);
        ToolHit hit;
        hit.id = target.OnToolHitTest(point, &info);
        if (info.lpszText)
            hit.text = info.lpszText;
        hit.rect = info.rect;
        hit.toolId = info.uId;
        COSMToolTipContext::FreeToolInfoText(&info);
        return hit;
    }

    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    RefPtr<COSMCommandBar> bar = AdoptRef([this] {
        auto* made = new COSMCommandBar;
        made->SetCommandBars(commandBars.Get());
        return made;
    }());
    COSMControl* save = nullptr;
    COSMControl* open = nullptr;
};

TEST_F(BarToolTipsTest, TheTextCarriesTheShortcutUnlessItIsMarkup)
{
    commandBars->GetShortcutManager()->GetAccelTable()->Add(COSMShortcutManagerAccel(kOpen, FVIRTKEY | FCONTROL, 'O'));
    const struct
    {
        const char* what;
        const char* tooltip;
        const char* ownShortcut;
        BOOL accelTips;
        const char* expected;
    } cases[] = {
        {"own shortcut", "Save", "Ctrl+S", TRUE, "Save (Ctrl+S)"},
        {"shortcut tips off", "Save", "Ctrl+S", FALSE, "Save"},
        {"markup", "<b>Save</b>", "Ctrl+S", TRUE, "<b>Save</b>"},
        {"no shortcut anywhere", "Save", "", TRUE, "Save"},
    };
    for (const auto& c : cases)
    {
        save->SetTooltip(c.tooltip);
        save->SetShortcutText(c.ownShortcut);
        options()->m_toolBarAccelTips = c.accelTips;
        const ToolHit hit = HitTest(*bar, CPoint(10, 10));
        EXPECT_EQ(static_cast<INT_PTR>(kSave), hit.id) << c.what;
        EXPECT_STREQ(c.expected, hit.text) << c.what;
        EXPECT_EQ(save->GetRect(), hit.rect) << c.what;
        EXPECT_EQ(kSave, hit.toolId) << c.what;
    }

    // Without a shortcut of its own the control takes the shortcut manager's default accelerator.
    const ToolHit hit = HitTest(*bar, CPoint(40, 10));
    EXPECT_EQ(static_cast<INT_PTR>(kOpen), hit.id);
    EXPECT_STREQ("Open (Ctrl+O)", hit.text);
}

TEST_F(BarToolTipsTest, TheToolIdIsTheImageIdAndAToolWithoutTextOrIdGivesNone)
{
    save->SetIconId(4711);
    EXPECT_EQ(4711, HitTest(*bar, CPoint(10, 10)).id);
    save->SetTooltip("");
    EXPECT_EQ(-1, HitTest(*bar, CPoint(10, 10)).id);
    EXPECT_EQ(-1, HitTest(*bar, CPoint(100, 10)).id);  // no control there
    COSMControl* noId = bar->GetControls()->Add(1, 0);
    noId->SetTooltip("Nothing");
    noId->SetRect(CRect(60, 0, 90, 20));
    const ToolHit hit = HitTest(*bar, CPoint(70, 10));
    EXPECT_EQ(-1, hit.id);
    EXPECT_TRUE(hit.text.IsEmpty());
}

TEST_F(BarToolTipsTest, OnlyARecordLargerThanTheStandardOneLearnsTheControl)
{
    COSMCommandBarToolInfo extended{};
    extended.cbSize = sizeof(extended);
    EXPECT_EQ(static_cast<INT_PTR>(kOpen), bar->OnToolHitTest(CPoint(40, 10), &extended));
    EXPECT_EQ(open, extended.pControl);
    COSMToolTipContext::FreeToolInfoText(&extended);

    // A standard record has no room for the control: what follows it stays as it was.
    struct
    {
        TOOLINFOA info;
        void* after;
    } standard{};
    standard.info.cbSize = sizeof(TOOLINFOA);
    standard.after = &standard;
    EXPECT_EQ(static_cast<INT_PTR>(kOpen), bar->OnToolHitTest(CPoint(40, 10), &standard.info));
    EXPECT_EQ(static_cast<void*>(&standard), standard.after);
    COSMToolTipContext::FreeToolInfoText(&standard.info);
}

TEST_F(BarToolTipsTest, PopupBarsShowTipsOnlyWhenTheOptionsOrTheControlAllowIt)
{
    RefPtr<COSMPopupBar> popup = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars.Get()));
    COSMControl* item = popup->GetControls()->Add(1, static_cast<int>(kSave));
    item->SetTooltip("Save");
    item->SetRect(CRect(0, 0, 80, 20));
    const struct
    {
        BOOL popupTips;
        DWORD flags;
        INT_PTR expected;
    } cases[] = {{FALSE, 0, -1}, {TRUE, 0, kSave}, {FALSE, 0x40, kSave}};
    for (const auto& c : cases)
    {
        options()->m_popupToolTips = c.popupTips;
        item->SetFlags(c.flags);
        EXPECT_EQ(c.expected, HitTest(*popup, CPoint(10, 10)).id) << c.popupTips << " " << c.flags;
    }
    // The switch lives for the session only.
    EXPECT_FALSE(COSMCommandBarsOptions().m_popupToolTips);
}

TEST_F(BarToolTipsTest, ScreenTipsOffGiveNone)
{
    options()->m_toolBarScreenTips = FALSE;
    EXPECT_EQ(-1, HitTest(*bar, CPoint(10, 10)).id);
    options()->m_toolBarScreenTips = TRUE;
    EXPECT_EQ(static_cast<INT_PTR>(kSave), HitTest(*bar, CPoint(10, 10)).id);
}

// While a popup of the bar is open no tip shows.
class BarToolTipsWindowTest : public TrackingSiteTest
{};

TEST_F(BarToolTipsWindowTest, NoTipWhileAPopupOfTheBarIsOpen)
{
    TrackingBar bar;
    MakeBarWindow(bar, 1, 0, CRect(0, 0, 300, 24));
    auto* opener = AddControl<TestControlPopup>(bar, 300, "Menu");
    opener->SetTooltip("Menu");
    bar.LayOut();
    const CPoint inside = opener->GetRect().CenterPoint();
    TOOLINFOA info{};
    info.cbSize = sizeof(info);
    EXPECT_EQ(300, bar.OnToolHitTest(inside, &info));
    COSMToolTipContext::FreeToolInfoText(&info);

    ASSERT_TRUE(bar.SetPopuped(opener->GetIndex()));
    info = TOOLINFOA{};
    info.cbSize = sizeof(info);
    EXPECT_EQ(-1, bar.OnToolHitTest(inside, &info));
    EXPECT_EQ(nullptr, info.lpszText);
    bar.SetTrackingMode(0, TRUE, FALSE);
}

TEST_F(BarToolTipsWindowTest, NoTipWhileAnotherBarTracks)
{
    TrackingBar bar;
    MakeBarWindow(bar, 1, 0, CRect(0, 0, 300, 24));
    bar.AddButtons({101});
    bar.GetControl(0)->SetTooltip("Item");
    TrackingBar other;
    MakeBarWindow(other, 1, 0, CRect(0, 30, 300, 54));
    other.AddButtons({201});
    ASSERT_TRUE(other.SetTrackingMode(1, FALSE, FALSE));
    TOOLINFOA info{};
    info.cbSize = sizeof(info);
    EXPECT_EQ(-1, bar.OnToolHitTest(CPoint(10, 10), &info));
    other.SetTrackingMode(0, TRUE, FALSE);
    EXPECT_EQ(101, bar.OnToolHitTest(CPoint(10, 10), &info));
    COSMToolTipContext::FreeToolInfoText(&info);
}

}  // namespace
