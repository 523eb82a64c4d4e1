// The real osmira.exe under Wine: the choice dialog it opens, and every way of closing it ends the process.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <string>

#include "ProgramDriver.h"

using namespace osm::test;

namespace {

const int kNext = 1028, kCancel = 2, kRadioXp = 1256, kRadioWin7 = 1259, kGroup = 1265;

bool HasStaticText(HWND dialog, const std::string& text)
{
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    {
        if (ClassName(child) == "Static" && WindowText(child) == text)
            return true;
    }
    return false;
}

LRESULT CheckState(HWND dialog, int id)
{
    return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0);
}

int RunningWizards()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    {
        if (lstrcmpiA(entry.szExeFile, "osmira.exe") == 0)
            ++count;
    }
    CloseHandle(snapshot);
    return count;
}

}  // namespace

TEST(Startup, ChoiceDialogOpensWithWindowsXpChecked)
{
    ProgramDriver program;
    ASSERT_TRUE(program.Start(OSMIRA_EXE));
    HWND dialog = program.WaitForWindow("VORN");
    ASSERT_NE(dialog, nullptr) << "the choice dialog did not appear";

    EXPECT_EQ(ClassName(dialog), "#32770");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, kNext)), "Next ");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, kCancel)), "Cancel");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, kRadioXp)), "the answer file for Windows XP");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, kRadioWin7)), "the answer file for Windows 7");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, kGroup)), "Select OS");
    EXPECT_TRUE(HasStaticText(dialog, "Osmira"));
    EXPECT_TRUE(HasStaticText(dialog, "version 2.7.1"));
    EXPECT_NE(GetWindowLongPtrA(GetDlgItem(dialog, kNext), GWL_STYLE) & BS_DEFPUSHBUTTON, 0);

    EXPECT_EQ(CheckState(dialog, kRadioXp), BST_CHECKED);
    EXPECT_EQ(CheckState(dialog, kRadioWin7), BST_UNCHECKED);

    // The radios are plain ones: the dialog itself keeps exactly one checked.
    Click(dialog, kRadioWin7);
    EXPECT_EQ(CheckState(dialog, kRadioXp), BST_UNCHECKED);
    EXPECT_EQ(CheckState(dialog, kRadioWin7), BST_CHECKED);
    Click(dialog, kRadioWin7);
    EXPECT_EQ(CheckState(dialog, kRadioWin7), BST_CHECKED);
    Click(dialog, kRadioXp);
    EXPECT_EQ(CheckState(dialog, kRadioXp), BST_CHECKED);
    EXPECT_EQ(CheckState(dialog, kRadioWin7), BST_UNCHECKED);

    Click(dialog, kCancel);
    DWORD exitCode = 1;
    EXPECT_TRUE(program.WaitForExit(10000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

TEST(Startup, EveryWayOfClosingEndsTheProcess)
{
    struct Way
    {
        const char* name;
        void (*close)(HWND dialog);
    } ways[] = {
        {"Cancel button", [](HWND d) { PostClick(d, kCancel); }},
        {"Escape key",
         [](HWND d) {
             HWND focus = GetDlgItem(d, kRadioXp);
             PostMessageA(focus, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
             PostMessageA(focus, WM_KEYUP, VK_ESCAPE, 0xC0010001);
         }},
        {"close box", [](HWND d) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const Way& way : ways)
    {
        SCOPED_TRACE(way.name);
        ProgramDriver program;
        ASSERT_TRUE(program.Start(OSMIRA_EXE));
        HWND dialog = program.WaitForWindow("VORN");
        ASSERT_NE(dialog, nullptr);
        way.close(dialog);
        DWORD exitCode = 1;
        ASSERT_TRUE(program.WaitForExit(10000, &exitCode)) << "still running";
        EXPECT_EQ(exitCode, 0u);
        EXPECT_FALSE(IsWindow(dialog));
    }
    EXPECT_EQ(RunningWizards(), 0) << "nothing of the wizard stays behind";
}

TEST(Startup, NextOpensTheMainPageInTheChosenModeAndClosingItEndsTheProcess)
{
    struct Case
    {
        bool windows7;
        const char* caption;
    } cases[] = {{false, "VORN: Windows XP"}, {true, "VORN: Windows 7"}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.caption);
        ProgramDriver program;
        ASSERT_TRUE(program.Start(OSMIRA_EXE));
        HWND choice = program.WaitForWindow("VORN");
        ASSERT_NE(choice, nullptr);
        if (c.windows7)
            Click(choice, kRadioWin7);
        PostClick(choice, kNext);
        HWND page = program.WaitForWindow(c.caption);
        ASSERT_NE(page, nullptr) << "the main page did not open";
        EXPECT_FALSE(IsWindowVisible(choice)) << "the choice dialog hides behind the page";

        PostMessageA(page, WM_SYSCOMMAND, SC_CLOSE, 0);
        DWORD exitCode = 1;
        ASSERT_TRUE(program.WaitForExit(10000, &exitCode)) << "closing the page ends the wizard";
        EXPECT_EQ(exitCode, 0u);
    }
}
