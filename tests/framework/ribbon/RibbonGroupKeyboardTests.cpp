// The keyboard among real groups: the option button that arrows treat as its group's caption strip, the group tips
// of the second level (controls, then the option button, then the popup button with "Z" in front), and the tip of a
// control hidden in a reduced group, which opens the group's popup and runs the control's copy there.
#include "RibbonGroupTestSupport.h"

#include "framework/commandbars/CommandBarKeyboardTip.h"
#include "framework/commandbars/CommandBarsOptions.h"

using namespace ribbon_test;

namespace {

class RibbonGroupKeyboardTest : public RibbonGroupKeyboardTestBase
{
protected:
    // Captioned groups of three medium controls ("A1".."A3", "B1" ...), enough that the last ones collapse.
    std::vector<COSMRibbonGroup*> AddCaptionedGroups()
    {
        std::vector<COSMRibbonGroup*> groups;
        const int count = ribbon->GetGroupsRect().Width() / 71 + 2;
        for (int i = 0; i < count; ++i)
        {
            CString caption;
            caption.Format("%c group", 'A' + i);
            COSMRibbonGroup* group = AddGroup(caption, "MMM");
            CaptionControls(group, i);
            groups.push_back(group);
        }
        Relayout();
        return groups;
    }
    int TipIndexOf(const CCmdTarget* owner) const
    {
        const auto& tips = commandBars->GetKeyboardTips();
        for (size_t i = 0; i < tips.size(); ++i)
            if (tips[i]->GetOwner() == owner)
                return static_cast<int>(i);
        return -1;
    }
};

TEST_F(RibbonGroupKeyboardTest, TheOptionButtonNavigatesAsItsGroupsCaptionStrip)
{
    COSMRibbonGroup* group = AddGroup("Font", "MMM");
    group->SetShowOptionButton(TRUE);
    Relayout();
    COSMControl* option = group->GetOptionButton();
    ASSERT_TRUE(option->IsVisible());
    CRect strip = group->GetCaptionRect();
    strip.DeflateRect(4, 0);
    for (const UINT key : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN})
    {
        SCOPED_TRACE(key);
        EXPECT_EQ(strip, ribbon->GetNavigationRect(option, option, key));
        EXPECT_EQ(strip, ribbon->GetNavigationRect(option, group->GetAt(0), key));
    }
    // Other controls of the group keep their own rectangles.
    EXPECT_EQ(group->GetAt(0)->GetRect(), ribbon->GetNavigationRect(group->GetAt(0), option, VK_DOWN));

    // Down from the bottom control of the column reaches the option button below it, Up comes back.
    ::PostMessageA(frame.GetSafeHwnd(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    PumpMessages();
    ASSERT_EQ(1, ribbon->GetTrackingMode());
    COSMControl* bottom = group->GetAt(2);
    ribbon->SetSelected(bottom->GetIndex(), COSMCommandBar::kSelectKeyboard);
    SendKey(VK_DOWN);
    EXPECT_EQ(option->GetIndex(), ribbon->GetSelectedIndex());
    SendKey(VK_UP);
    EXPECT_EQ(bottom->GetIndex(), ribbon->GetSelectedIndex());
}

TEST_F(RibbonGroupKeyboardTest, GroupTipsNameTheControlsThenTheOptionButtonThenThePopupButtonWithZ)
{
    std::vector<COSMRibbonGroup*> groups = AddCaptionedGroups();
    COSMRibbonGroup* first = groups.front();
    COSMRibbonGroup* second = groups[1];
    COSMRibbonGroup* reduced = groups.back();
    first->SetShowOptionButton(TRUE);
    first->GetOptionButton()->SetKeyboardTip("FO");
    // A hidden option button gets no tip, even with a tip text of its own.
    second->GetOptionButton()->SetKeyboardTip("SO");
    Relayout();
    ASSERT_FALSE(first->IsReduced());
    ASSERT_TRUE(reduced->IsReduced());

    commandBars->ShowKeyboardTips(ribbon, 2);
    ASSERT_EQ(2, commandBars->GetKeyboardTipsLevel());

    // In each group: its controls in order, the option button, the popup button.
    const int option = TipIndexOf(first->GetOptionButton());
    ASSERT_NE(-1, option);
    EXPECT_LT(TipIndexOf(first->GetAt(2)), option);
    EXPECT_EQ(option + 1, TipIndexOf(first->GetPopupButton()));
    EXPECT_LT(option, TipIndexOf(second->GetAt(0)));
    EXPECT_STREQ("FO", TipsOf(first->GetOptionButton())[0]->GetText());
    EXPECT_TRUE(TipsOf(first->GetOptionButton())[0]->IsTipVisible());
    EXPECT_TRUE(TipsOf(second->GetOptionButton()).empty());

    // The popup buttons' tips carry "Z" before the caption's first letter; only a reduced group's shows.
    ASSERT_EQ(1u, TipsOf(first->GetPopupButton()).size());
    EXPECT_STREQ("ZA", TipsOf(first->GetPopupButton())[0]->GetExplicitTip());
    EXPECT_FALSE(TipsOf(first->GetPopupButton())[0]->IsTipVisible());
    const std::vector<const COSMCommandBarKeyboardTip*> reducedTips = TipsOf(reduced->GetPopupButton());
    ASSERT_EQ(1u, reducedTips.size());
    EXPECT_EQ(0, reducedTips[0]->GetExplicitTip().Find('Z'));
    EXPECT_TRUE(reducedTips[0]->IsTipVisible());
    EXPECT_EQ(0, reducedTips[0]->GetText().Find('Z'));
    // The reduced group's controls keep their tips, hidden with them.
    ASSERT_EQ(1u, TipsOf(reduced->GetAt(1)).size());
    EXPECT_FALSE(TipsOf(reduced->GetAt(1))[0]->IsTipVisible());
    EXPECT_TRUE(TipsOf(first->GetAt(1))[0]->IsTipVisible());
}

TEST_F(RibbonGroupKeyboardTest, AReducedGroupsControlTipOpensTheGroupPopupAndRunsItsCopy)
{
    std::vector<COSMRibbonGroup*> groups = AddCaptionedGroups();
    COSMRibbonGroup* reduced = groups.back();
    ASSERT_TRUE(reduced->IsReduced());
    COSMControl* second = reduced->GetAt(1);
    ASSERT_EQ(COSMRibbonGroup::kHideReduced, second->GetHideFlags());
    frame.HandleCommand(second->GetID());
    frame.ClearRecords();

    ::PostMessageA(frame.GetSafeHwnd(), WM_SYSCOMMAND, SC_KEYMENU, 'h');
    PumpMessages();
    ASSERT_EQ(2, commandBars->GetKeyboardTipsLevel());
    std::vector<const COSMCommandBarKeyboardTip*> tips = TipsOf(second);
    ASSERT_EQ(1u, tips.size());
    EXPECT_FALSE(tips[0]->IsTipVisible());
    ribbon->OnKeyboardTip(const_cast<COSMCommandBarKeyboardTip*>(tips[0]));
    PumpMessages();

    // The group's popup was made for it, and the control at the same place there ran.
    auto* popup = dynamic_cast<COSMRibbonGroupPopupToolBar*>(reduced->GetPopupButton()->GetCommandBar());
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(reduced, popup->GetSourceGroup());
    EXPECT_EQ(1, Commands(second->GetID()));

    // A visible control's tip runs it where it is; a control hidden for another reason is left alone.
    commandBars->ClosePopups();
    PumpFor(60);
    COSMControl* shown = groups.front()->GetAt(0);
    COSMControl* hidden = groups.front()->GetAt(1);
    hidden->SetHideFlags(hidden->GetHideFlags() | COSMControl::kHideHidden);
    frame.HandleCommand(shown->GetID());
    frame.HandleCommand(hidden->GetID());
    frame.ClearRecords();
    COSMCommandBarKeyboardTip hiddenTip(commandBars.Get(), hidden, "A2", 0, 0, 0, TRUE);
    hiddenTip.SetTipVisible(FALSE);
    ribbon->OnKeyboardTip(&hiddenTip);
    PumpMessages();
    EXPECT_EQ(0, Commands(hidden->GetID()));
    COSMCommandBarKeyboardTip shownTip(commandBars.Get(), shown, "A1", 0, 0, 0, TRUE);
    ribbon->OnKeyboardTip(&shownTip);
    PumpMessages();
    EXPECT_EQ(1, Commands(shown->GetID()));
}

}  // namespace
