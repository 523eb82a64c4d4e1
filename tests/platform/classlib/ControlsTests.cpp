// The control classes made with Create on a real parent: each member does what its message does.
#include "TestSupport.h"

#include <gtest/gtest.h>

using classlib_test::CHostWnd;

namespace {

class ControlsTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(host.CreateHost("controls")); }
    CHostWnd host;
};

}  // namespace

TEST_F(ControlsTest, EditLimitsSelectsReplacesAndReadsLines)
{
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, CRect(10, 10, 200, 34), &host, 701));
    edit.SetLimitText(5);
    EXPECT_EQ(edit.GetLimitText(), 5u);
    edit.SetWindowText("abcdef");  // text set by the program is not limited
    edit.SetSel(1, 3);
    int start = 0;
    int end = 0;
    edit.GetSel(start, end);
    EXPECT_EQ(start, 1);
    EXPECT_EQ(end, 3);
    edit.ReplaceSel("XY");  // replacing is: only what fits under the limit goes in
    CString text;
    edit.GetWindowText(text);
    EXPECT_STREQ(text, "aXdef");
    edit.LimitText(0);
    edit.SetSel(0, 0);
    edit.ReplaceSel("++");
    edit.GetWindowText(text);
    EXPECT_STREQ(text, "++aXdef");

    CEdit lines;
    ASSERT_TRUE(lines.Create(WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, CRect(10, 40, 200, 120), &host, 702));
    lines.SetWindowText("first\r\nsecond line\r\nthird");
    EXPECT_EQ(lines.GetLineCount(), 3);
    CString line;
    EXPECT_EQ(lines.GetLine(1, line), 11);
    EXPECT_STREQ(line, "second line");
    char buffer[8] = {};
    EXPECT_EQ(lines.GetLine(1, buffer, 6), 6);
    EXPECT_EQ(std::string(buffer, 6), "second");
    EXPECT_EQ(lines.LineIndex(2), 20);
    EXPECT_EQ(lines.LineLength(lines.LineIndex(2)), 5);
}

TEST_F(ControlsTest, ButtonsCheckAndCarryImages)
{
    CButton check;
    ASSERT_TRUE(check.Create("Use kit", WS_VISIBLE | BS_AUTOCHECKBOX, CRect(10, 10, 150, 30), &host, 711));
    EXPECT_EQ(check.GetCheck(), BST_UNCHECKED);
    check.SetCheck(BST_CHECKED);
    EXPECT_EQ(check.GetCheck(), BST_CHECKED);
    EXPECT_EQ(host.IsDlgButtonChecked(711), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(check.GetButtonStyle() & 0x0F, static_cast<UINT>(BS_AUTOCHECKBOX));

    CButton icon;
    ASSERT_TRUE(icon.Create("", WS_VISIBLE | BS_ICON, CRect(10, 40, 50, 80), &host, 712));
    HICON hIcon = ::LoadIcon(nullptr, IDI_INFORMATION);
    icon.SetIcon(hIcon);
    EXPECT_EQ(icon.GetIcon(), hIcon);

    CStatic picture;
    ASSERT_TRUE(picture.Create("", WS_VISIBLE | SS_ICON, CRect(60, 40, 100, 80), &host));
    picture.SetIcon(hIcon);
    EXPECT_EQ(picture.GetIcon(), hIcon);
}

TEST_F(ControlsTest, ProgressBarKeepsRangeAndPosition)
{
    CProgressCtrl progress;
    ASSERT_TRUE(progress.Create(WS_VISIBLE | WS_BORDER, CRect(10, 10, 300, 30), &host, 721));
    progress.SetRange32(0, 70000);  // wider than the 16-bit SetRange allows
    int lower = -1;
    int upper = -1;
    progress.GetRange(lower, upper);
    EXPECT_EQ(lower, 0);
    EXPECT_EQ(upper, 70000);
    EXPECT_EQ(progress.SetPos(35000), 0);
    EXPECT_EQ(progress.GetPos(), 35000);
    progress.SetStep(1000);
    progress.StepIt();
    EXPECT_EQ(progress.GetPos(), 36000);
    progress.OffsetPos(-6000);
    EXPECT_EQ(progress.GetPos(), 30000);
    progress.SetRange(0, 100);
    progress.GetRange(lower, upper);
    EXPECT_EQ(upper, 100);
}

TEST_F(ControlsTest, ToolTipAddsUpdatesAndRemovesTools)
{
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE | WS_BORDER, CRect(10, 10, 200, 34), &host, 731));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&host, TTS_ALWAYSTIP));
    EXPECT_TRUE(tip.AddTool(&edit, "Five groups of five characters"));
    EXPECT_TRUE(tip.AddTool(&host, "Corner", CRect(0, 0, 20, 20), 5));
    EXPECT_EQ(tip.GetToolCount(), 2);

    CString text;
    tip.GetText(text, &edit);
    EXPECT_STREQ(text, "Five groups of five characters");
    tip.UpdateTipText("Paste a dashed key", &edit);
    tip.GetText(text, &edit);
    EXPECT_STREQ(text, "Paste a dashed key");
    tip.GetText(text, &host, 5);
    EXPECT_STREQ(text, "Corner");

    TOOLINFOA info;
    EXPECT_TRUE(tip.GetToolInfo(info, &edit));
    EXPECT_EQ(info.uId, reinterpret_cast<UINT_PTR>(edit.m_hWnd));
    EXPECT_TRUE(info.uFlags & TTF_IDISHWND);

    MSG move{edit.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5), ::GetTickCount(), {15, 15}};
    tip.RelayEvent(&move);  // accepted without effect on the tools
    tip.Activate(FALSE);
    tip.DelTool(&host, 5);
    EXPECT_EQ(tip.GetToolCount(), 1);
}

TEST_F(ControlsTest, ListAndComboBoxesHoldItems)
{
    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_VISIBLE | CBS_DROPDOWNLIST, CRect(10, 10, 200, 150), &host, 741));
    EXPECT_EQ(combo.AddString("Windows XP"), 0);
    EXPECT_EQ(combo.AddString("Windows 7"), 1);
    combo.SetItemData(1, 7);
    EXPECT_EQ(combo.SetCurSel(1), 1);
    CString item;
    combo.GetLBText(combo.GetCurSel(), item);
    EXPECT_STREQ(item, "Windows 7");
    EXPECT_EQ(combo.GetItemData(1), 7u);
    EXPECT_EQ(combo.FindStringExact(-1, "Windows XP"), 0);

    CListBox list;
    ASSERT_TRUE(list.Create(WS_VISIBLE | WS_BORDER | LBS_NOTIFY, CRect(10, 160, 200, 250), &host, 742));
    list.AddString("one");
    list.AddString("two");
    EXPECT_EQ(list.GetCount(), 2);
    list.GetText(1, item);
    EXPECT_STREQ(item, "two");
    list.DeleteString(0);
    EXPECT_EQ(list.GetCount(), 1);
}
