// The toolbar-name dialog, run modal from the command bars' own template and driven by a thread timer as a user
// would: reading and typing the name, pressing OK, and answering the message boxes it shows (found among the
// thread's dialog windows and read back).
#include "CommandBarsTestSupport.h"

#include "framework/commandbars/CommandBarsResourceIds.h"
#include "framework/commandbars/ToolbarNameDlg.h"
#include "framework/foundation/ResourceManager.h"

#include <deque>
#include <functional>
#include <string>

using namespace commandbars_test;

namespace {

std::string WindowText(HWND window)
{
    char text[512] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

// Another dialog window of this thread than the one given: the message box the dialog shows.
HWND FindMessageBox(HWND dialog)
{
    struct Search
    {
        HWND dialog;
        HWND found;
    } search{dialog, nullptr};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            char className[16] = {};
            ::GetClassNameA(window, className, sizeof className);
            if (window == s->dialog || !::IsWindowVisible(window) || std::string(className) != "#32770")
                return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The message of a message box: its static control with text (the icon's has none).
std::string MessageBoxText(HWND box)
{
    std::string text;
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    {
        char className[16] = {};
        ::GetClassNameA(child, className, sizeof className);
        if (std::string(className) == "Static" && text.empty())
            text = WindowText(child);
    }
    return text;
}

std::string ResourceText(UINT id)
{
    return static_cast<LPCSTR>(GetResourceManager()->LoadStringValue(id));
}

template <class T> std::string FormattedResourceText(UINT id, T value)
{
    CString text;
    text.Format(GetResourceManager()->LoadStringValue(id), value);
    return static_cast<LPCSTR>(text);
}

// Runs the dialog while a thread timer plays the steps in order: a step returns TRUE when it is done, FALSE to be
// asked again at the next tick (while the window it waits for comes up). Past the time limit the dialog is
// cancelled, so a dialog that never does what the script waits for fails the test instead of hanging it.
class DialogScript
{
public:
    using Step = std::function<bool(HWND dialog)>;

    INT_PTR Run(COSMToolbarNameDlg& dialog, std::deque<Step> steps)
    {
        s_current = this;
        m_dialog = &dialog;
        m_steps = std::move(steps);
        m_ticks = 0;
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &DialogScript::OnTick);
        const INT_PTR result = dialog.DoModal();
        ::KillTimer(nullptr, timer);
        s_current = nullptr;
        return result;
    }

    bool finished() const { return m_steps.empty(); }

    // Steps every script uses.
    static Step Type(const char* text)
    {
        return [text](HWND dialog) {
            ::SetDlgItemTextA(dialog, IDC_OSM_TOOLBAR_NAME_EDIT, text);
            return true;
        };
    }
    // Keeps the name the edit shows, and the dialog's caption when asked for.
    static Step Read(std::string* name, std::string* caption = nullptr)
    {
        return [name, caption](HWND dialog) {
            char text[256] = {};
            ::GetDlgItemTextA(dialog, IDC_OSM_TOOLBAR_NAME_EDIT, text, sizeof text);
            *name = text;
            if (caption)
                *caption = WindowText(dialog);
            return true;
        };
    }
    static Step Press(int id)
    {
        return [id](HWND dialog) {
            ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
            return true;
        };
    }
    // Waits for a message box, keeps its text and closes it.
    static Step AnswerMessageBox(std::vector<std::string>* texts)
    {
        return [texts](HWND dialog) {
            HWND box = FindMessageBox(dialog);
            if (!box)
                return false;
            texts->push_back(MessageBoxText(box));
            ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            return true;
        };
    }
    // Waits until no message box is left and records whether the dialog is still open.
    static Step CheckOpen(std::vector<bool>* open)
    {
        return [open](HWND dialog) {
            if (FindMessageBox(dialog))
                return false;
            open->push_back(::IsWindow(dialog) && ::IsWindowVisible(dialog));
            return true;
        };
    }

private:
    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD)
    {
        DialogScript* self = s_current;
        if (!self)
            return;
        HWND dialog = self->m_dialog->GetSafeHwnd();
        if (++self->m_ticks > 500)
        {
            if (HWND box = FindMessageBox(dialog))
                ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            else if (dialog)
                self->m_dialog->EndDialog(IDABORT);
            return;
        }
        if (!dialog || self->m_steps.empty())
            return;
        if (self->m_steps.front()(dialog))
            self->m_steps.pop_front();
    }

    static DialogScript* s_current;
    COSMToolbarNameDlg* m_dialog = nullptr;
    std::deque<Step> m_steps;
    int m_ticks = 0;
};
DialogScript* DialogScript::s_current = nullptr;

class ToolbarNameDlgTest : public CommandBarsTest
{
protected:
    COSMCommandBar* AddBar(const char* title, UINT id)
    {
        COSMCommandBar* bar = new COSMCommandBar;
        bar->SetTitle(title);
        bar->SetBarID(id);
        commandBars->AddCommandBar(bar);
        return bar;
    }

    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    DialogScript script;
    std::vector<std::string> shown;
    std::vector<bool> open;
};

TEST_F(ToolbarNameDlgTest, TheTemplateComesFromTheCommandBarsResources)
{
    const DLGTEMPLATE* dialogTemplate = GetResourceManager()->LoadDialogTemplate(IDD_OSM_TOOLBAR_NAME);
    ASSERT_NE(nullptr, dialogTemplate);
    for (UINT id = IDS_OSM_TOOLBAR_DEFAULT_NAME; id <= IDS_OSM_TOOLBAR_RENAME_CAPTION; ++id)
        EXPECT_FALSE(ResourceText(id).empty()) << id;
}

TEST_F(ToolbarNameDlgTest, ANewToolbarIsOfferedTheFirstDefaultNameNoBarHas)
{
    // Out of order, so a match late in the list must start the search over.
    AddBar(FormattedResourceText(IDS_OSM_TOOLBAR_DEFAULT_NAME, 2).c_str(), 0xE800);
    AddBar(FormattedResourceText(IDS_OSM_TOOLBAR_DEFAULT_NAME, 1).c_str(), 0xE801);
    std::string proposed;
    COSMToolbarNameDlg dialog(nullptr, commandBars.Get(), nullptr);
    const INT_PTR result = script.Run(dialog, {DialogScript::Read(&proposed), DialogScript::Press(IDCANCEL)});
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(FormattedResourceText(IDS_OSM_TOOLBAR_DEFAULT_NAME, 3), proposed);
    EXPECT_EQ(0u, dialog.GetNewBarId());
}

TEST_F(ToolbarNameDlgTest, EmptyAndTakenNamesKeepTheDialogOpenAndTheNewIdSkipsIdsInUse)
{
    // Highest id first: a search that went once through the bars would stop at 0xE801.
    AddBar("Drawing", 0xE803);
    AddBar("Formatting", 0xE801);
    AddBar("Standard", 0xE800);
    COSMToolbarNameDlg dialog(nullptr, commandBars.Get(), nullptr);
    const INT_PTR result =
        script.Run(dialog, {DialogScript::Type(""), DialogScript::Press(IDOK), DialogScript::AnswerMessageBox(&shown),
                            DialogScript::CheckOpen(&open), DialogScript::Type("Formatting"), DialogScript::Press(IDOK),
                            DialogScript::AnswerMessageBox(&shown), DialogScript::CheckOpen(&open),
                            DialogScript::Type("Reviewing"), DialogScript::Press(IDOK)});
    EXPECT_EQ(IDOK, result);
    EXPECT_TRUE(script.finished());
    EXPECT_EQ((std::vector<std::string>{ResourceText(IDS_OSM_TOOLBAR_NAME_EMPTY),
                                        FormattedResourceText(IDS_OSM_TOOLBAR_NAME_TAKEN, "Formatting")}),
              shown);
    EXPECT_EQ((std::vector<bool>{true, true}), open);
    EXPECT_STREQ("Reviewing", dialog.GetName());
    EXPECT_EQ(0xE802u, dialog.GetNewBarId());
}

TEST_F(ToolbarNameDlgTest, WithEveryNewToolbarIdInUseItSaysSoAndCancels)
{
    for (UINT id = COSMToolbarNameDlg::kFirstNewBarId; id < COSMToolbarNameDlg::kNewBarIdLimit; ++id)
        AddBar("", id);
    ASSERT_EQ(255, commandBars->GetCount());
    COSMToolbarNameDlg dialog(nullptr, commandBars.Get(), nullptr);
    const INT_PTR result = script.Run(
        dialog, {DialogScript::Type("Reviewing"), DialogScript::Press(IDOK), DialogScript::AnswerMessageBox(&shown)});
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(std::vector<std::string>{ResourceText(IDS_OSM_TOOLBAR_NO_FREE_ID)}, shown);
    EXPECT_EQ(0u, dialog.GetNewBarId());

    // One id free at the very end of the range is found.
    commandBars->Remove(commandBars->FindCommandBar(COSMToolbarNameDlg::kNewBarIdLimit - 1));
    COSMToolbarNameDlg again(nullptr, commandBars.Get(), nullptr);
    EXPECT_EQ(IDOK, script.Run(again, {DialogScript::Type("Reviewing"), DialogScript::Press(IDOK)}));
    EXPECT_EQ(COSMToolbarNameDlg::kNewBarIdLimit - 1, again.GetNewBarId());
}

TEST_F(ToolbarNameDlgTest, RenamingStartsFromTheTitleAndMayKeepIt)
{
    COSMCommandBar* standard = AddBar("Standard", 0xE800);
    AddBar("Formatting", 0xE801);
    std::string caption, proposed;
    COSMToolbarNameDlg dialog(nullptr, commandBars.Get(), standard);
    const INT_PTR result = script.Run(
        dialog, {DialogScript::Read(&proposed, &caption), DialogScript::Type("Formatting"), DialogScript::Press(IDOK),
                 DialogScript::AnswerMessageBox(&shown), DialogScript::Type("Standard"), DialogScript::Press(IDOK)});
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(ResourceText(IDS_OSM_TOOLBAR_RENAME_CAPTION), caption);
    EXPECT_EQ("Standard", proposed);
    EXPECT_EQ(std::vector<std::string>{FormattedResourceText(IDS_OSM_TOOLBAR_NAME_TAKEN, "Formatting")}, shown);
    EXPECT_STREQ("Standard", dialog.GetName());
    EXPECT_EQ(0u, dialog.GetNewBarId()) << "a renamed bar keeps its id";
}

}  // namespace
