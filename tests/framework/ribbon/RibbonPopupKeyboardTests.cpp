// The keyboard inside the ribbon's popups, typed through SendInput into an active frame: the minimized ribbon's tab
// popup and a reduced group's popup show the tips of their groups (a reduced group's popup button with "Z" before
// its letters, a group popup's controls with the letters they have on the ribbon), a typed tip runs its control or
// opens the group popup, whose tips come up before the control runs, and arrows move by position among the popup's
// controls while the scroller (the tab popup's, the ribbon's) keeps the selected one in view; the "more" popup gets its
// keys, and a combo box's edit keeps them while its list shows above the ribbon.
#include "RibbonGroupTestSupport.h"

#include "framework/commandbars/CommandBarKeyboardTip.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/MouseManager.h"
#include "framework/controls/ControlComboBox.h"
#include "framework/ribbon/RibbonKeyboardLayout.h"

#include <map>
#include <string>

// The test controls of the group tests; this program's one definition.
IMPLEMENT_SERIAL(CTestGroupControl, COSMControlButton, VERSIONABLE_SCHEMA | 0x23)

// A test control that notes, when the keyboard activates it, which bar shows keyboard tips and at which level.
class CTipWatchingControl : public CTestGroupControl
{
    DECLARE_SERIAL(CTipWatchingControl)

public:
    struct Seen
    {
        COSMCommandBar* parent = nullptr;
        COSMCommandBar* tipsBar = nullptr;
        int level = -1;
        int visibleTips = 0;
    };
    static inline std::vector<Seen> s_seen;

    void OnMnemonicActivate() override
    {
        Seen seen;
        seen.parent = GetParent();
        if (COSMCommandBars* commandBars = GetCommandBars())
        {
            seen.tipsBar = commandBars->GetKeyboardTipsBar();
            seen.level = commandBars->GetKeyboardTipsLevel();
            for (const auto& tip : commandBars->GetKeyboardTips())
                seen.visibleTips += tip->IsTipVisible() && tip->GetSafeHwnd() && ::IsWindowVisible(tip->GetSafeHwnd());
        }
        s_seen.push_back(seen);
        CTestGroupControl::OnMnemonicActivate();
    }
};

IMPLEMENT_SERIAL(CTipWatchingControl, CTestGroupControl, VERSIONABLE_SCHEMA | 0x23)

using namespace ribbon_test;

namespace {

class RibbonPopupKeyboardTest : public RibbonGroupKeyboardTestBase
{
protected:
    void SetUp() override
    {
        RibbonGroupKeyboardTestBase::SetUp();
        commandBars->SetKeyboardCuesInUse(TRUE);
        CTipWatchingControl::s_seen.clear();
    }

    // Groups "A group", "B group" ... of three medium controls captioned "A1" to "A3", "B1" ...: enough of them
    // that the last ones are reduced to their popup buttons. The first control of the last group notes how the
    // keyboard reached it.
    std::vector<COSMRibbonGroup*> AddCaptionedGroups()
    {
        std::vector<COSMRibbonGroup*> groups;
        const int count = ribbon->GetGroupsRect().Width() / 71 + 2;
        for (int i = 0; i < count; ++i)
        {
            CString caption;
            caption.Format("%c group", 'A' + i);
            COSMRibbonGroup* group = AddGroup(caption, i + 1 == count ? "" : "MMM");
            if (i + 1 == count)
            {
                RefPtr<CTipWatchingControl> watching = AdoptRef(new CTipWatchingControl);
                watching->SetID(4900);
                group->AddClone(watching.Get(), -1, FALSE);
                AddControl(group, 'M');
                AddControl(group, 'M');
            }
            CaptionControls(group, i);
            for (int c = 0; c < group->GetCount(); ++c)
                frame.HandleCommand(group->GetAt(c)->GetID());
            groups.push_back(group);
        }
        Relayout();
        return groups;
    }

    // Alt and a key, as the frame's system command brings them.
    void PostKeyMenu(LPARAM character)
    {
        ::PostMessageA(frame.GetSafeHwnd(), WM_SYSCOMMAND, SC_KEYMENU, character);
        PumpMessages();
    }
    // Types the letters of a tip, one key each (a copy: the tips go once their bar acts).
    void TypeTip(const CString text)
    {
        for (int i = 0; i < text.GetLength(); ++i)
            SendKey(LOBYTE(::VkKeyScanA(text[i])));
        PumpFor(60);
    }
    // Waits until the bar shows its tips.
    bool WaitForTipsOf(const COSMCommandBar* bar)
    {
        return PumpUntil([&] { return commandBars->GetKeyboardTipsBar() == bar; });
    }
    const COSMCommandBarKeyboardTip* TipOf(const CCmdTarget* owner) const
    {
        const std::vector<const COSMCommandBarKeyboardTip*> tips = TipsOf(owner);
        return tips.empty() ? nullptr : tips.front();
    }
    CString TipText(const CCmdTarget* owner) const
    {
        const COSMCommandBarKeyboardTip* tip = TipOf(owner);
        return tip ? tip->GetText() : CString();
    }
    COSMRibbonTabPopupToolBar* TabPopup() const
    {
        return dynamic_cast<COSMRibbonTabPopupToolBar*>(ribbon->GetControlTab()->GetCommandBar());
    }
    static COSMRibbonGroupPopupToolBar* GroupPopupOf(const COSMRibbonGroup* group)
    {
        return dynamic_cast<COSMRibbonGroupPopupToolBar*>(group->GetPopupButton()->GetCommandBar());
    }
    static CRect WindowRect(const CWnd* window)
    {
        CRect rect;
        ::GetWindowRect(window->GetSafeHwnd(), &rect);
        return rect;
    }
};

// ---- Tips ----

TEST_F(RibbonPopupKeyboardTest, TheTabPopupShowsItsGroupsTipsAndZOpensAReducedGroupWhoseCopiesKeepTheirLetters)
{
    std::vector<COSMRibbonGroup*> groups = AddCaptionedGroups();
    ribbon->SetRibbonMinimized(TRUE);
    Relayout();

    // The tab's access key opens its popup from the keyboard; the popup's tips come up once it shows.
    PostKeyMenu('h');
    COSMRibbonTabPopupToolBar* popup = TabPopup();
    ASSERT_NE(nullptr, popup);
    ASSERT_NE(0, popup->GetTrackingMode());
    ASSERT_TRUE(WaitForTipsOf(popup));
    EXPECT_EQ(1, commandBars->GetKeyboardTipsLevel());
    COSMRibbonGroups* copies = popup->GetTabCopy()->GetGroups();
    COSMRibbonGroup* first = copies->GetAt(0);
    COSMRibbonGroup* reduced = copies->GetAt(copies->GetCount() - 1);
    ASSERT_FALSE(first->IsReduced());
    ASSERT_TRUE(reduced->IsReduced());

    // Every tip stands for a control of the popup; the shown controls' tips are shown, where the ribbon's rules
    // put them in the popup.
    const CRect popupWindow = WindowRect(popup);
    for (const auto& tip : commandBars->GetKeyboardTips())
    {
        const auto* control = dynamic_cast<const COSMControl*>(tip->GetOwner());
        ASSERT_NE(nullptr, control);
        EXPECT_EQ(popup, control->GetParent());
        if (!tip->IsTipVisible())
            continue;
        ASSERT_NE(nullptr, tip->GetSafeHwnd());
        EXPECT_TRUE(::IsWindowVisible(tip->GetSafeHwnd()));
        CRect tipWindow = WindowRect(tip.get());
        EXPECT_TRUE(CRect().IntersectRect(tipWindow, popupWindow)) << tip->GetText();
    }
    CRect client;
    popup->GetClientRect(&client);
    COSMControl* a2 = first->GetAt(1);
    const COSMRibbonTipPlacement placement =
        OsmRibbonPlaceControlTip(a2->GetRect(), first->GetRect(), Painter()->GetGroupCaptionHeight(), client.bottom,
                                 a2->GetType(), a2->GetStyle());
    ASSERT_NE(nullptr, TipOf(a2));
    EXPECT_TRUE(TipOf(a2)->IsTipVisible());
    EXPECT_EQ(placement.point, TipOf(a2)->GetAnchor());
    // The reduced group shows its popup button's tip, "Z" before its letters; its controls' tips stay hidden.
    const COSMCommandBarKeyboardTip* zTip = TipOf(reduced->GetPopupButton());
    ASSERT_NE(nullptr, zTip);
    EXPECT_TRUE(zTip->IsTipVisible());
    EXPECT_EQ(0, zTip->GetText().Find('Z'));
    EXPECT_FALSE(TipOf(reduced->GetAt(1))->IsTipVisible());
    // A shown group's popup button has its tip too, hidden with the button.
    ASSERT_NE(nullptr, TipOf(first->GetPopupButton()));
    EXPECT_FALSE(TipOf(first->GetPopupButton())->IsTipVisible());
    const CString reducedSecond = TipText(reduced->GetAt(1));
    ASSERT_FALSE(reducedSecond.IsEmpty());

    // "Z" and its letters open the reduced group's popup; its tips come up with the letters the controls had.
    TypeTip(zTip->GetText());
    COSMRibbonGroupPopupToolBar* groupPopup = GroupPopupOf(reduced);
    ASSERT_NE(nullptr, groupPopup);
    ASSERT_NE(0, groupPopup->GetTrackingMode());
    ASSERT_TRUE(WaitForTipsOf(groupPopup));
    COSMRibbonGroup* copy = groupPopup->GetGroupCopy();
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(reducedSecond, TipText(copy->GetAt(1)));
    for (int i = 0; i < copy->GetCount(); ++i)
    {
        SCOPED_TRACE(i);
        ASSERT_NE(nullptr, TipOf(copy->GetAt(i)));
        EXPECT_TRUE(TipOf(copy->GetAt(i))->IsTipVisible());
    }
    // The tab's other groups keep their places in the letters, hidden.
    ASSERT_NE(nullptr, TipOf(first->GetAt(0)));
    EXPECT_FALSE(TipOf(first->GetAt(0))->IsTipVisible());

    // The copy's letters run the copy's control (the copy goes with its popup).
    const UINT id = copy->GetAt(1)->GetID();
    frame.ClearRecords();
    TypeTip(reducedSecond);
    EXPECT_EQ(1, Commands(id));
    EXPECT_EQ(0, commandBars->GetMouseManager()->GetTrackedCount());
}

TEST_F(RibbonPopupKeyboardTest, InAGroupPopupTheOtherGroupsHiddenTipsRunNothing)
{
    std::vector<COSMRibbonGroup*> groups = AddCaptionedGroups();
    COSMRibbonGroup* reduced = groups.back();
    ASSERT_TRUE(reduced->IsReduced());
    PostKeyMenu('h');
    ASSERT_EQ(2, commandBars->GetKeyboardTipsLevel());
    const CString firstLetters = TipText(groups.front()->GetAt(0));
    ASSERT_FALSE(firstLetters.IsEmpty());
    TypeTip(TipText(reduced->GetPopupButton()));
    COSMRibbonGroupPopupToolBar* popup = GroupPopupOf(reduced);
    ASSERT_NE(nullptr, popup);
    ASSERT_TRUE(WaitForTipsOf(popup));

    frame.ClearRecords();
    TypeTip(firstLetters);
    EXPECT_EQ(0, Commands(groups.front()->GetAt(0)->GetID()));
    EXPECT_NE(0, popup->GetTrackingMode()) << "the popup stays open";
}

TEST_F(RibbonPopupKeyboardTest, AReducedControlsTipOpensTheGroupPopupAndShowsItsTipsBeforeTheControlRuns)
{
    std::vector<COSMRibbonGroup*> groups = AddCaptionedGroups();
    COSMRibbonGroup* reduced = groups.back();
    ASSERT_TRUE(reduced->IsReduced());
    COSMControl* watching = reduced->GetAt(0);
    ASSERT_NE(nullptr, dynamic_cast<CTipWatchingControl*>(watching));

    PostKeyMenu('h');
    ASSERT_EQ(2, commandBars->GetKeyboardTipsLevel());
    ASSERT_NE(nullptr, TipOf(watching));
    EXPECT_FALSE(TipOf(watching)->IsTipVisible());
    frame.ClearRecords();
    TypeTip(TipText(watching));

    // The copy ran, in the group's popup, while that popup showed its own first tips.
    ASSERT_EQ(1u, CTipWatchingControl::s_seen.size());
    const CTipWatchingControl::Seen& seen = CTipWatchingControl::s_seen[0];
    COSMRibbonGroupPopupToolBar* popup = GroupPopupOf(reduced);
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(popup, seen.parent);
    EXPECT_EQ(popup, seen.tipsBar);
    EXPECT_EQ(1, seen.level);
    EXPECT_EQ(reduced->GetCount(), seen.visibleTips);
    EXPECT_EQ(1, Commands(watching->GetID()));
}

// ---- Arrows ----

TEST_F(RibbonPopupKeyboardTest, ArrowsInTheTabPopupMoveByPositionAndTheScrollerKeepsTheSelectionInView)
{
    // Groups that never reduce, wider together than the popup: the last ones start scrolled out.
    const int count = 2 * ribbon->GetGroupsRect().Width() / 71 + 3;
    for (int i = 0; i < count; ++i)
        AddGroup("Group", "MMM")->SetReduceLimit(0);
    ribbon->SetRibbonMinimized(TRUE);
    Relayout();
    PostKeyMenu('h');
    COSMRibbonTabPopupToolBar* popup = TabPopup();
    ASSERT_NE(nullptr, popup);
    ASSERT_NE(0, popup->GetTrackingMode());
    COSMRibbonGroups* copies = popup->GetTabCopy()->GetGroups();
    COSMRibbonGroupsScroller* scroller = popup->GetGroupsScroller();
    ASSERT_TRUE(scroller->GetRightButton()->IsVisible());
    COSMRibbonGroup* first = copies->GetAt(0);
    COSMRibbonGroup* second = copies->GetAt(1);
    COSMRibbonGroup* last = copies->GetAt(copies->GetCount() - 1);
    ASSERT_GT(last->GetRect().left, popup->GetGroupsRect().right);
    popup->SetSelected(first->GetAt(0)->GetIndex(), COSMCommandBar::kSelectKeyboard);

    const struct
    {
        WORD key;
        COSMControl* expected;
    } steps[] = {
        {VK_DOWN, first->GetAt(1)},  {VK_RIGHT, second->GetAt(1)},
        {VK_UP, second->GetAt(0)},   {VK_UP, second->GetAt(0)},  // nothing above: handled, the popup stays
        {VK_LEFT, first->GetAt(0)},  {VK_LEFT, last->GetAt(0)},  // the first of the row wraps to the last
        {VK_RIGHT, first->GetAt(0)},                             // and back to the first
    };
    int step = 0;
    for (const auto& s : steps)
    {
        SCOPED_TRACE(step++);
        SendKey(s.key);
        ASSERT_NE(0, popup->GetTrackingMode());
        EXPECT_EQ(s.expected->GetIndex(), popup->GetSelectedIndex());
        // The selected control lies in the groups area.
        const CRect rect = s.expected->GetRect();
        EXPECT_GE(rect.left, popup->GetGroupsRect().left);
        EXPECT_LE(rect.right, popup->GetGroupsRect().right);
        if (s.expected == last->GetAt(0))
        {
            EXPECT_GT(scroller->GetScrollOffset(), 0);
            EXPECT_TRUE(scroller->GetLeftButton()->IsVisible());
        }
        if (s.expected == first->GetAt(0))
        {
            EXPECT_EQ(0, scroller->GetScrollOffset());
        }
    }
}

TEST_F(RibbonPopupKeyboardTest, ArrowsInTheRibbonScrollItsGroupsToTheSelection)
{
    const int count = 2 * ribbon->GetGroupsRect().Width() / 71 + 3;
    std::vector<COSMRibbonGroup*> groups;
    for (int i = 0; i < count; ++i)
    {
        groups.push_back(AddGroup("Group", "MMM"));
        groups.back()->SetReduceLimit(0);
    }
    Relayout();
    COSMRibbonGroupsScroller* scroller = ribbon->GetGroupsScroller();
    ASSERT_TRUE(scroller->GetRightButton()->IsVisible());
    PostKeyMenu(0);
    ASSERT_NE(0, ribbon->GetTrackingMode());
    COSMControl* first = groups.front()->GetAt(0);
    COSMControl* last = groups.back()->GetAt(0);
    ribbon->SetSelected(first->GetIndex(), COSMCommandBar::kSelectKeyboard);

    // Left from the first control of the row wraps to the last group's, scrolled out until then.
    SendKey(VK_LEFT);
    EXPECT_EQ(last->GetIndex(), ribbon->GetSelectedIndex());
    EXPECT_GT(scroller->GetScrollOffset(), 0);
    EXPECT_LE(last->GetRect().right, ribbon->GetGroupsRect().right);
    EXPECT_GE(last->GetRect().left, ribbon->GetGroupsRect().left);
    SendKey(VK_RIGHT);
    EXPECT_EQ(first->GetIndex(), ribbon->GetSelectedIndex());
    EXPECT_EQ(0, scroller->GetScrollOffset());
}

TEST_F(RibbonPopupKeyboardTest, ArrowsInAGroupPopupReachItsCaptionStripsOptionButton)
{
    std::vector<COSMRibbonGroup*> groups = AddCaptionedGroups();
    COSMRibbonGroup* reduced = groups.back();
    reduced->SetShowOptionButton(TRUE);
    Relayout();
    ASSERT_TRUE(reduced->IsReduced());
    PostKeyMenu('h');
    TypeTip(TipText(reduced->GetPopupButton()));
    COSMRibbonGroupPopupToolBar* popup = GroupPopupOf(reduced);
    ASSERT_NE(nullptr, popup);
    ASSERT_NE(0, popup->GetTrackingMode());
    COSMRibbonGroup* copy = popup->GetGroupCopy();
    ASSERT_NE(nullptr, copy);
    COSMControl* option = copy->GetOptionButton();
    ASSERT_TRUE(option->IsVisible());
    popup->SetSelected(copy->GetAt(0)->GetIndex(), COSMCommandBar::kSelectKeyboard);

    const struct
    {
        WORD key;
        COSMControl* expected;
    } steps[] = {
        {VK_DOWN, copy->GetAt(1)}, {VK_DOWN, copy->GetAt(2)},
        {VK_DOWN, option},         {VK_DOWN, option},  // the bottom: handled, nowhere to go
        {VK_UP, copy->GetAt(2)},   {VK_UP, copy->GetAt(1)},
    };
    int step = 0;
    for (const auto& s : steps)
    {
        SCOPED_TRACE(step++);
        SendKey(s.key);
        ASSERT_NE(0, popup->GetTrackingMode());
        EXPECT_EQ(s.expected->GetIndex(), popup->GetSelectedIndex());
    }
}

TEST_F(RibbonPopupKeyboardTest, TheMorePopupOpenedFromTheKeyboardTakesTheArrowsAndReturn)
{
    std::vector<COSMControl*> controls;
    for (UINT id = 201; id < 225; ++id)
    {
        COSMControl* control = ribbon->GetQuickAccessControls()->Add(1, static_cast<int>(id));
        CString caption;
        caption.Format("Q%u", id - 200);
        control->SetCaption(caption);
        controls.push_back(control);
    }
    frame.SetWindowPos(nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
    Relayout();
    COSMRibbonBarControlQuickAccessMore* more = ribbon->GetQuickAccessMore();
    ASSERT_TRUE(more->IsVisible());

    // Alt enters the ribbon; Return on the "more" button opens its popup from the keyboard.
    PostKeyMenu(0);
    ASSERT_NE(0, ribbon->GetTrackingMode());
    ribbon->SetSelected(more->GetIndex(), COSMCommandBar::kSelectKeyboard);
    SendKey(VK_RETURN);
    auto* popup = dynamic_cast<COSMRibbonBarMorePopupToolBar*>(more->GetCommandBar());
    ASSERT_NE(nullptr, popup);
    ASSERT_NE(0, popup->GetTrackingMode());
    ASSERT_GE(popup->GetControlCount(), 3);

    // The keys are the popup's now: Right moves along its controls, Return runs the selected one.
    popup->SetSelected(0, COSMCommandBar::kSelectKeyboard);
    SendKey(VK_RIGHT);
    EXPECT_EQ(1, popup->GetSelectedIndex());
    EXPECT_EQ(more->GetIndex(), ribbon->GetSelectedIndex()) << "the ribbon's selection stays on the button";
    const UINT id = popup->GetControl(1)->GetID();
    frame.ClearRecords();
    SendKey(VK_RETURN);
    EXPECT_EQ(1, Commands(id));
}

TEST_F(RibbonPopupKeyboardTest, AComboOfTheRibbonTypesIntoItsEditWhileItsListShows)
{
    COSMRibbonGroup* group = AddGroup("Font", "");
    auto* combo = dynamic_cast<COSMControlComboBox*>(group->Add(5, 4800));
    ASSERT_NE(nullptr, combo);
    combo->SetWidth(120);
    for (const char* item : {"Arial", "Courier", "Tahoma"})
        combo->GetComboBoxList()->AddString(item);
    combo->SetDropDown(TRUE);
    Relayout();
    ASSERT_NE(nullptr, combo->GetEditCtrl());
    const HWND edit = combo->GetEditCtrl()->GetSafeHwnd();
    CRect editRect;
    ::GetWindowRect(edit, &editRect);
    ClickAt(editRect.CenterPoint());
    ASSERT_EQ(edit, ::GetFocus());

    // The list opens above the ribbon; the letters still reach the edit window.
    const CRect rect = combo->GetRect();
    ClickAt(ScreenPoint(*ribbon, CPoint(rect.right - 4, rect.CenterPoint().y)));
    ASSERT_NE(nullptr, combo->GetComboBoxList()->GetSafeHwnd());
    ASSERT_NE(0, combo->GetComboBoxList()->GetTrackingMode());
    ASSERT_EQ(edit, ::GetFocus());
    ::SetWindowTextA(edit, "");
    for (const WORD key : {WORD('X'), WORD('Y')})
        SendKey(key);
    char text[32] = {};
    ::GetWindowTextA(edit, text, sizeof text);
    EXPECT_STREQ("xy", text);
}

}  // namespace
