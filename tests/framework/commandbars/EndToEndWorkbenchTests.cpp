// The workbench end to end: an MDI frame with every kind of bar and control, driven only by synthesized input. Its
// menus, popups and drop-downs open under the mouse and list what they are made to list; clicks on controls, status
// panes and the message bar reach the frame; a toolbar button's tip shows in each tooltip style; the bars with every
// control kind survive saving, building the program afresh and loading; and a customization made through the sheet
// (a dragged command restyled to text only and given an image drawn in the real editor, a new toolbar, a hidden one)
// survives the same. Each step leaves a picture in the build tree's artefacts folder (looked at by people, never
// compared).
#include "EndToEndPictures.h"
#include "PersistenceTestSupport.h"
#include "EndToEndWorkbench.h"

#include "framework/commandbars/ControlToolbars.h"
#include "framework/controls/ControlComboBox.h"
#include "framework/controls/ControlCustom.h"
#include "framework/controls/ControlEdit.h"
#include "framework/controls/ControlGallery.h"
#include "framework/controls/ControlHyperlink.h"
#include "framework/controls/ControlOleItems.h"
#include "framework/controls/ControlSelector.h"
#include "framework/controls/HtmlTipHost.h"
#include "framework/controls/ToolTipContextToolTip.h"
#include "framework/controls/ToolTipGradientToolTip.h"
#include "framework/controls/ToolTipHtmlToolTip.h"
#include "framework/controls/ToolTipMarkupToolTip.h"
#include "framework/controls/ToolTipRichTextToolTip.h"
#include "framework/commandbars/CommandBarsResourceIds.h"
#include "framework/commandbars/CustomizeDropSource.h"
#include "framework/commandbars/CustomizeResourceIds.h"
#include "framework/controls/CustomizeCommandsPage.h"
#include "framework/controls/CustomizeToolbarsPage.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/ImageManagerIcon.h"
#include "framework/foundation/PropExchangeArchive.h"
#include "framework/foundation/ToolTipContext.h"
#include "framework/foundation/ToolTipStandardCtrl.h"

#include <string>
#include <vector>

using namespace commandbars_test;

namespace {

class WorkbenchTest : public CommandBarsTest
{
protected:
    // The workbench draws in the look the themes library enters for id 0, as an application's frame does.
    void SetUp() override
    {
        CommandBarsTest::SetUp();
        COSMPaintManager::RegisterThemes();
    }
    void TearDown() override
    {
        SendMouseInput(MOUSEEVENTF_LEFTUP);
        SendMouseInput(MOUSEEVENTF_RIGHTUP);
        MoveMouseTo(CPoint(1200, 1000));
        CommandBarsTest::TearDown();
    }
};

// The smallest screen rectangle holding both windows' (a frame and the popup or tip it shows).
CRect ScreenRectOf(HWND first, HWND second)
{
    CRect a, b;
    ::GetWindowRect(first, &a);
    if (!second || !::GetWindowRect(second, &b))
        return a;
    CRect both;
    both.UnionRect(&a, &b);
    return both;
}

// The captions of the bar's visible controls.
std::vector<std::string> VisibleCaptions(const COSMCommandBar& bar)
{
    std::vector<std::string> captions;
    for (int i = 0; i < bar.GetControlCount(); ++i)
        if (bar.GetControl(i)->IsVisible())
            captions.emplace_back(static_cast<LPCSTR>(bar.GetControl(i)->GetCaption()));
    return captions;
}

bool HasCaptionWith(const std::vector<std::string>& captions, const std::string& part)
{
    for (const auto& caption : captions)
        if (caption.find(part) != std::string::npos)
            return true;
    return false;
}

template <class Kind> Kind* FirstOfKind(const COSMCommandBar& bar)
{
    for (int i = 0; i < bar.GetControlCount(); ++i)
        if (auto* control = dynamic_cast<Kind*>(bar.GetControl(i)))
            return control;
    return nullptr;
}

// The classes of the bar's controls, the toolbar's own expand button left out.
std::vector<std::string> ClassNames(const COSMCommandBar& bar)
{
    std::vector<std::string> names;
    for (int i = 0; i < bar.GetControlCount(); ++i)
        if (std::string name = bar.GetControl(i)->GetRuntimeClass()->m_lpszClassName; name != "COSMToolBarExpandButton")
            names.push_back(name);
    return names;
}

TEST_F(WorkbenchTest, EveryKindOfBarAndControlStandsOnTheFrame)
{
    Workbench bench;
    ASSERT_TRUE(bench.created);

    // Every control of the two control toolbars is laid out where it can be seen, with its window where it has one.
    for (const COSMToolBar* bar : {bench.standard, bench.controls, bench.marks})
    {
        SCOPED_TRACE(static_cast<LPCSTR>(bar->GetTitle()));
        ASSERT_TRUE(bar->IsWindowVisible());
        CRect client;
        bar->GetClientRect(&client);
        for (int i = 0; i < bar->GetControlCount(); ++i)
        {
            const COSMControl* control = bar->GetControl(i);
            if (std::string(control->GetRuntimeClass()->m_lpszClassName) == "COSMToolBarExpandButton")
                continue;
            SCOPED_TRACE(control->GetRuntimeClass()->m_lpszClassName);
            EXPECT_TRUE(control->IsVisible());
            const CRect rect = control->GetRect();
            CRect inside;
            EXPECT_FALSE(rect.IsRectEmpty());
            EXPECT_TRUE(inside.IntersectRect(&client, &rect));
        }
    }
    EXPECT_EQ(
        (std::vector<std::string>{"COSMControlPopup", "COSMControlPopup", "COSMControlPopup", "COSMControlComboBox",
                                  "COSMControlComboBox", "COSMControlEdit", "COSMControlCustom"}),
        ClassNames(*bench.controls));
    EXPECT_EQ((std::vector<int>{2, 3, 4}),
              (std::vector<int>{bench.controls->GetControl(0)->GetType(), bench.controls->GetControl(1)->GetType(),
                                bench.controls->GetControl(2)->GetType()}));
    EXPECT_EQ((std::vector<std::string>{"COSMControlLabel", "COSMControlBitmap", "COSMControlHyperlink",
                                        "COSMControlCheckBox", "COSMControlRadioButton", "COSMControlProgress",
                                        "COSMControlGallery"}),
              ClassNames(*bench.marks));
    // The list's combo box shows its selected entry.
    auto* zoom = dynamic_cast<COSMControlComboBox*>(Workbench::ControlOf(*bench.controls, ID_E2E_ZOOM));
    ASSERT_NE(nullptr, zoom);
    EXPECT_EQ(1, zoom->GetCurSel());
    EXPECT_EQ("100%", std::string(zoom->GetListText()));
    // The custom control took the scroll bar's panel into its bar; the dialog bar shows its list on the left.
    EXPECT_EQ(bench.controls->GetSafeHwnd(), ::GetParent(bench.scrollPanel.GetSafeHwnd()));
    EXPECT_TRUE(bench.scrollBar.IsWindowVisible());
    EXPECT_TRUE(bench.properties->IsWindowVisible());
    EXPECT_TRUE(bench.propertiesList.IsWindowVisible());
    EXPECT_EQ(2, bench.properties->GetPosition());

    // The status bar at the bottom with its six panes and the gripper, the message bar above the documents.
    CRect client, status, message, documents;
    bench.frame.GetClientRect(&client);
    bench.frame.ClientToScreen(&client);
    bench.statusBar.GetWindowRect(&status);
    bench.messageBar.GetWindowRect(&message);
    ::GetWindowRect(bench.frame.m_hWndMDIClient, &documents);
    EXPECT_TRUE(bench.statusBar.IsWindowVisible());
    EXPECT_EQ(client.bottom, status.bottom);
    EXPECT_EQ(6, bench.statusBar.GetPaneCount());
    EXPECT_TRUE(bench.statusBar.HasSizeGripper());
    EXPECT_GT(bench.statusBar.GetGripperWidth(), 0);
    for (int i = 0; i < bench.statusBar.GetPaneCount(); ++i)
        EXPECT_GT(bench.statusBar.GetPane(i)->GetWidth(), 0) << "pane " << i;
    EXPECT_TRUE(bench.messageBar.IsWindowVisible());
    EXPECT_LE(message.bottom, documents.top);
    EXPECT_LE(documents.bottom, status.top);
    EXPECT_EQ(2u, bench.documents.size());
    ASSERT_NO_FATAL_FAILURE(KeepWindowPicture(bench.frame.GetSafeHwnd(), "workbench-start"));
}

// One thing that opens under the mouse: where the click goes, what is open then, and what is checked while it is.
struct Opening
{
    const char* name;
    std::function<CPoint(Workbench&)> where;
    std::function<HWND(Workbench&)> openWindow;
    std::function<void(Workbench&, std::vector<std::string>*)> look;
};

TEST_F(WorkbenchTest, MenusPopupsAndDropDownsOpenUnderTheMouseWithWhatTheyList)
{
    Workbench bench;
    ASSERT_TRUE(bench.created);
    auto menuTitle = [](int index) {
        return [index](Workbench& b) {
            return ScreenPoint(*b.menuBar, b.menuBar->GetControl(index)->GetRect().CenterPoint());
        };
    };
    auto openMenu = [](int index) {
        return [index](Workbench& b) {
            COSMCommandBar* popup = b.OpenMenu(index);
            return popup ? popup->GetSafeHwnd() : HWND(nullptr);
        };
    };
    auto captionsOf = [](int index) {
        return [index](Workbench& b, std::vector<std::string>* seen) {
            if (COSMCommandBar* popup = b.OpenMenu(index))
                *seen = VisibleCaptions(*popup);
        };
    };
    auto controlPopup = [](UINT id) {
        return [id](Workbench& b) {
            COSMCommandBar* popup = Workbench::ControlOf(*b.controls, id)->GetCommandBar();
            return popup && popup->GetSafeHwnd() && popup->IsWindowVisible() ? popup->GetSafeHwnd() : HWND(nullptr);
        };
    };
    // The drop-down arrow of a control: the right end of its rectangle.
    auto arrowOf = [](UINT id) {
        return [id](Workbench& b) {
            const CRect rect = Workbench::ControlOf(*b.controls, id)->GetRect();
            return ScreenPoint(*b.controls, CPoint(rect.right - 4, rect.CenterPoint().y));
        };
    };
    const Opening openings[] = {
        {"menu-file", menuTitle(0), openMenu(0), captionsOf(0)},
        {"menu-edit", menuTitle(1), openMenu(1),
         [](Workbench& b, std::vector<std::string>* seen) {
             // No OLE document is open: the verbs' entry is there and shows nothing.
             if (COSMCommandBar* popup = b.OpenMenu(1))
                 if (auto* verbs = FirstOfKind<COSMControlOleItems>(*popup))
                     seen->push_back(verbs->IsVisible() ? "verbs shown" : "verbs hidden");
         }},
        {"menu-view", menuTitle(2), openMenu(2), captionsOf(2)},
        {"menu-table", menuTitle(3), openMenu(3),
         [](Workbench& b, std::vector<std::string>* seen) {
             if (COSMCommandBar* popup = b.OpenMenu(3))
                 if (auto* selector = FirstOfKind<COSMControlSelector>(*popup))
                     seen->push_back(selector->IsVisible() ? "selector shown" : "selector hidden");
         }},
        {"menu-window", menuTitle(4), openMenu(4),
         [](Workbench& b, std::vector<std::string>* seen) {
             if (COSMCommandBar* popup = b.OpenMenu(4))
                 for (int i = 0; i < popup->GetControlCount(); ++i)
                     if (popup->GetControl(i)->IsVisible())
                         seen->push_back(std::string(popup->GetControl(i)->GetCaption()) +
                                         (popup->GetControl(i)->GetChecked() ? " checked" : ""));
         }},
        {"popup-plain", [](Workbench& b) { return Workbench::CentreOf(*b.controls, IDR_E2E_POPUP_PLAIN); },
         controlPopup(IDR_E2E_POPUP_PLAIN), nullptr},
        {"popup-split", arrowOf(IDR_E2E_POPUP_SPLIT), controlPopup(IDR_E2E_POPUP_SPLIT), nullptr},
        {"popup-button", [](Workbench& b) { return Workbench::CentreOf(*b.controls, IDR_E2E_POPUP_BUTTON); },
         controlPopup(IDR_E2E_POPUP_BUTTON), nullptr},
        {"combo-list", arrowOf(ID_E2E_ZOOM), controlPopup(ID_E2E_ZOOM), nullptr},
        {"combo-gallery", arrowOf(ID_E2E_STYLES), controlPopup(ID_E2E_STYLES), nullptr},
    };
    std::vector<std::vector<std::string>> seen;
    for (const Opening& opening : openings)
    {
        SCOPED_TRACE(opening.name);
        HWND open = nullptr;
        std::vector<std::string> looked;
        bool pictured = false;
        // The opening click runs the bar's tracking loop, so the look, the picture and the Escapes come from the
        // script's timer inside it.
        ASSERT_TRUE(bench.Drive(
            {MoveTo([&] { return opening.where(bench); }), Press(MOUSEEVENTF_LEFTDOWN), Press(MOUSEEVENTF_LEFTUP),
             [] {},
             [&] {
                 open = opening.openWindow(bench);
                 if (opening.look)
                     opening.look(bench, &looked);
                 if (open)
                     pictured = WriteScreenBitmap(ScreenRectOf(bench.frame.GetSafeHwnd(), open),
                                                  ArtefactsFolder() + "/workbench-" + opening.name + ".bmp");
             },
             Key(VK_ESCAPE, false), Key(VK_ESCAPE, true), Key(VK_ESCAPE, false), Key(VK_ESCAPE, true)},
            [&] { return !opening.openWindow(bench) && bench.menuBar->GetTrackingMode() == 0; }));
        EXPECT_NE(nullptr, open);
        EXPECT_TRUE(pictured);
        seen.push_back(looked);
        PumpFor(50);
    }
    EXPECT_TRUE(bench.frame.commands.empty());

    // File lists the recent files, View the toolbars, Window the documents with the active one checked.
    EXPECT_TRUE(HasCaptionWith(seen[0], "Report.txt")) << ::testing::PrintToString(seen[0]);
    EXPECT_TRUE(HasCaptionWith(seen[0], "Notes.txt")) << ::testing::PrintToString(seen[0]);
    EXPECT_EQ(std::vector<std::string>{"verbs hidden"}, seen[1]);
    for (const char* title : {"Standard", "Controls", "Marks"})
        EXPECT_TRUE(HasCaptionWith(seen[2], title)) << title << " in " << ::testing::PrintToString(seen[2]);
    EXPECT_EQ(std::vector<std::string>{"selector shown"}, seen[3]);
    EXPECT_TRUE(HasCaptionWith(seen[4], "Report")) << ::testing::PrintToString(seen[4]);
    EXPECT_TRUE(HasCaptionWith(seen[4], "Notes checked")) << ::testing::PrintToString(seen[4]);
}

TEST_F(WorkbenchTest, ClicksOnControlsStatusPanesAndTheMessageBarReachTheFrame)
{
    Workbench bench;
    ASSERT_TRUE(bench.created);
    auto paneCentre = [&](UINT id) {
        return ScreenPoint(bench.statusBar, bench.statusBar.FindPane(id)->GetRect().CenterPoint());
    };
    auto* switches = static_cast<COSMStatusBarSwitchPane*>(bench.statusBar.FindPane(ID_E2E_SWITCHES));
    const struct
    {
        const char* name;
        CPoint where;
        UINT command;
    } clicks[] = {
        {"check box", Workbench::CentreOf(*bench.marks, ID_E2E_WRAP), ID_E2E_WRAP},
        {"radio button", Workbench::CentreOf(*bench.marks, ID_E2E_LEFT), ID_E2E_LEFT},
        {"toolbar button", Workbench::CentreOf(*bench.standard, ID_E2E_SAVE), ID_E2E_SAVE},
        {"split button's face",
         ScreenPoint(*bench.controls,
                     Workbench::ControlOf(*bench.controls, IDR_E2E_POPUP_SPLIT)->GetRect().TopLeft() + CPoint(6, 6)),
         IDR_E2E_POPUP_SPLIT},
        {"button pane", paneCentre(ID_E2E_PANE_BUTTON), ID_E2E_PANE_BUTTON},
        {"second switch", ScreenPoint(bench.statusBar, switches->GetSwitchRect(1).CenterPoint()), ID_E2E_SWITCH_WIDE},
        {"message bar button",
         ScreenPoint(bench.messageBar, bench.messageBar.FindButton(ID_E2E_RELOAD)->rect.CenterPoint()), ID_E2E_RELOAD},
    };
    for (const auto& click : clicks)
    {
        SCOPED_TRACE(click.name);
        bench.frame.commands.clear();
        ClickAt(click.where);
        ASSERT_TRUE(PumpUntil([&] { return !bench.frame.commands.empty(); }));
        PumpFor(60);
        EXPECT_EQ(std::vector<UINT>{click.command}, bench.frame.commands);
    }
    // A click on a plain pane runs nothing.
    bench.frame.commands.clear();
    ClickAt(paneCentre(ID_E2E_PANE_PLAIN));
    PumpFor(100);
    EXPECT_TRUE(bench.frame.commands.empty());

    // The hosted scroll bar's right arrow steps its position.
    CRect scroll;
    bench.scrollBar.GetWindowRect(&scroll);
    ClickAt(CPoint(scroll.right - 4, scroll.CenterPoint().y));
    PumpFor(100);
    EXPECT_EQ(31, bench.scrollBar.GetScrollPos());
    ASSERT_NO_FATAL_FAILURE(KeepWindowPicture(bench.frame.GetSafeHwnd(), "workbench-clicked"));

    // The close button hides the message bar and the documents take its room.
    CRect before;
    ::GetWindowRect(bench.frame.m_hWndMDIClient, &before);
    const COSMMessageBarButton* close = bench.messageBar.FindButton(SC_CLOSE);
    ASSERT_NE(nullptr, close);
    ClickAt(ScreenPoint(bench.messageBar, close->rect.CenterPoint()));
    ASSERT_TRUE(PumpUntil([&] { return !bench.messageBar.IsWindowVisible(); }));
    PumpFor(60);
    CRect after;
    ::GetWindowRect(bench.frame.m_hWndMDIClient, &after);
    EXPECT_LT(after.top, before.top);
    EXPECT_EQ(before.bottom, after.bottom);
    ASSERT_NO_FATAL_FAILURE(KeepWindowPicture(bench.frame.GetSafeHwnd(), "workbench-message-bar-closed"));
}

std::vector<std::string> g_openedTargets;
HINSTANCE WINAPI RecordOpenedTarget(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT)
{
    g_openedTargets.emplace_back(file ? file : "");
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));  // above 32: opened
}

TEST_F(WorkbenchTest, EachControlKindAnswersItsOwnInput)
{
    Workbench bench;
    ASSERT_TRUE(bench.created);
    COSMToolBar& controls = *bench.controls;
    COSMToolBar& marks = *bench.marks;

    // The edit's upper spin button steps its number.
    auto* find = dynamic_cast<COSMControlEdit*>(Workbench::ControlOf(controls, ID_E2E_FIND));
    ASSERT_NE(nullptr, find);
    const CRect spin = find->GetSpinButtonsRect();
    ASSERT_FALSE(spin.IsRectEmpty());
    ClickAt(ScreenPoint(controls, CPoint(spin.CenterPoint().x, spin.top + spin.Height() / 4)));
    PumpFor(100);
    EXPECT_EQ("13", std::string(find->GetEditText()));

    // The list's combo box opens by its arrow; a click on the third entry picks it.
    auto* zoom = dynamic_cast<COSMControlComboBox*>(Workbench::ControlOf(controls, ID_E2E_ZOOM));
    ASSERT_NE(nullptr, zoom);
    const CRect zoomRect = zoom->GetRect();
    ASSERT_TRUE(bench.Drive({MoveTo(ScreenPoint(controls, CPoint(zoomRect.right - 4, zoomRect.CenterPoint().y))),
                             Press(MOUSEEVENTF_LEFTDOWN), Press(MOUSEEVENTF_LEFTUP), [] {}, MoveTo([&] {
                                 HWND list = zoom->GetComboBoxList()->GetSafeHwnd();
                                 CRect item;
                                 if (!list || !::SendMessageA(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item)))
                                     return CPoint(0, 0);
                                 CPoint centre = item.CenterPoint();
                                 ::ClientToScreen(list, &centre);
                                 return centre;
                             }),
                             [] {}, Press(MOUSEEVENTF_LEFTDOWN), Press(MOUSEEVENTF_LEFTUP)},
                            [&] { return !zoom->GetDroppedState(); }));
    PumpFor(60);
    EXPECT_EQ(2, zoom->GetCurSel());

    // The gallery's combo box opens its gallery; a click on the third style chooses it.
    auto* styles = dynamic_cast<COSMControlComboBox*>(Workbench::ControlOf(controls, ID_E2E_STYLES));
    ASSERT_NE(nullptr, styles);
    COSMCommandBar* dropDown = styles->GetCommandBar();
    ASSERT_NE(nullptr, dropDown);
    const CRect stylesRect = styles->GetRect();
    ASSERT_TRUE(bench.Drive({MoveTo(ScreenPoint(controls, CPoint(stylesRect.right - 4, stylesRect.CenterPoint().y))),
                             Press(MOUSEEVENTF_LEFTDOWN), Press(MOUSEEVENTF_LEFTUP), [] {}, MoveTo([&] {
                                 auto* gallery = dropDown->GetSafeHwnd()
                                                     ? dynamic_cast<COSMControlGallery*>(dropDown->GetControl(0))
                                                     : nullptr;
                                 return gallery ? ScreenPoint(*dropDown, gallery->GetItemDrawRect(2).CenterPoint())
                                                : CPoint(0, 0);
                             }),
                             [] {}, Press(MOUSEEVENTF_LEFTDOWN), Press(MOUSEEVENTF_LEFTUP)},
                            [&] { return !styles->GetDroppedState(); }));
    PumpFor(60);
    EXPECT_EQ(2, styles->GetCurSel());

    // A click on the in-bar gallery's second style runs the gallery with it selected.
    auto* gallery = dynamic_cast<COSMControlGallery*>(Workbench::ControlOf(marks, ID_E2E_GALLERY));
    ASSERT_NE(nullptr, gallery);
    bench.frame.commands.clear();
    ClickAt(ScreenPoint(marks, gallery->GetItemDrawRect(1).CenterPoint()));
    PumpFor(100);
    EXPECT_EQ(std::vector<UINT>{ID_E2E_GALLERY}, bench.frame.commands);
    EXPECT_EQ(1, gallery->GetSelectedItem());

    // The hyperlink opens its target (through the test's opener), and runs no command.
    g_openedTargets.clear();
    COSMControlHyperlink::SetOpener(&RecordOpenedTarget);
    bench.frame.commands.clear();
    ClickAt(Workbench::CentreOf(marks, ID_E2E_WEBSITE));
    PumpFor(100);
    COSMControlHyperlink::SetOpener(nullptr);
    EXPECT_EQ(std::vector<std::string>{"https://example.org/"}, g_openedTargets);
    EXPECT_TRUE(bench.frame.commands.empty());

    // The Table menu's selector: a sweep to the third column of the second row and a click insert a 3 x 2 table.
    COSMControlSelector* selector = nullptr;
    bench.frame.commands.clear();
    ASSERT_TRUE(bench.Drive(
        {MoveTo(ScreenPoint(*bench.menuBar, bench.menuBar->GetControl(3)->GetRect().CenterPoint())),
         Press(MOUSEEVENTF_LEFTDOWN), Press(MOUSEEVENTF_LEFTUP), [] {}, MoveTo([&] {
             COSMCommandBar* table = bench.OpenMenu(3);
             selector = table ? FirstOfKind<COSMControlSelector>(*table) : nullptr;
             if (!selector)
                 return CPoint(0, 0);
             const CSize cell = selector->GetItemSize();
             return ScreenPoint(*table, selector->GetRect().TopLeft() + CPoint(cell.cx / 2, cell.cy / 2));
         }),
         MoveTo([&] {
             COSMCommandBar* table = bench.OpenMenu(3);
             if (!selector || !table)
                 return CPoint(0, 0);
             const CSize cell = selector->GetItemSize();
             return ScreenPoint(*table, selector->GetRect().TopLeft() + CPoint(cell.cx * 5 / 2, cell.cy * 3 / 2));
         }),
         [&] {
             if (COSMCommandBar* table = bench.OpenMenu(3))
                 WriteScreenBitmap(ScreenRectOf(bench.frame.GetSafeHwnd(), table->GetSafeHwnd()),
                                   ArtefactsFolder() + "/workbench-selector-swept.bmp");
         },
         Press(MOUSEEVENTF_LEFTDOWN), Press(MOUSEEVENTF_LEFTUP)},
        [&] { return !bench.frame.commands.empty(); }));
    PumpFor(60);
    ASSERT_NE(nullptr, selector);
    EXPECT_EQ(std::vector<UINT>{ID_E2E_INSERT_TABLE}, bench.frame.commands);
    EXPECT_EQ(CSize(3, 2), selector->GetResult());
    ASSERT_NO_FATAL_FAILURE(KeepWindowPicture(bench.frame.GetSafeHwnd(), "workbench-controls-used"));
}

// The visible tip window of the context's style, or null: the common-controls tooltip for 0 (plain) and 1 (balloon),
// the framework's own windows for 2 to 7.
HWND VisibleTipOfStyle(COSMToolTipContext* context, int style)
{
    CWnd* tip = context->GetToolTipWindow();
    if (!tip || !tip->GetSafeHwnd() || !tip->IsWindowVisible())
        return nullptr;
    const DWORD windowStyle = static_cast<DWORD>(::GetWindowLongPtrA(tip->GetSafeHwnd(), GWL_STYLE));
    bool ofStyle = false;
    switch (style)
    {
    case COSMToolTipContext::kStyleStandard:
        ofStyle = dynamic_cast<COSMToolTipStandardCtrl*>(tip) && !(windowStyle & TTS_BALLOON);
        break;
    case COSMToolTipContext::kStyleBalloon:
        ofStyle = dynamic_cast<COSMToolTipStandardCtrl*>(tip) && (windowStyle & TTS_BALLOON);
        break;
    case COSMToolTipContext::kStyleFramework:
    case COSMToolTipContext::kStyleOffice2007Look:
        ofStyle = typeid(*tip) == typeid(COSMToolTipContextToolTip);
        break;
    case COSMToolTipContext::kStyleRichText:
        ofStyle = dynamic_cast<COSMToolTipRichTextToolTip*>(tip) != nullptr;
        break;
    case COSMToolTipContext::kStyleGradient:
        ofStyle = dynamic_cast<COSMToolTipGradientToolTip*>(tip) != nullptr;
        break;
    case COSMToolTipContext::kStyleHtml:
        ofStyle = dynamic_cast<COSMToolTipHtmlToolTip*>(tip) != nullptr;
        break;
    case COSMToolTipContext::kStyleMarkup:
        ofStyle = dynamic_cast<COSMToolTipMarkupToolTip*>(tip) != nullptr;
        break;
    }
    return ofStyle ? tip->GetSafeHwnd() : nullptr;
}

TEST_F(WorkbenchTest, HoveringAToolbarButtonShowsTheTipOfEachStyle)
{
    Workbench bench;
    ASSERT_TRUE(bench.created);
    COSMToolTipContext* context = bench.commandBars->GetToolTipContext();
    const CPoint away = ScreenPoint(bench.frame, CPoint(500, 400));
    for (int style = COSMToolTipContext::kStyleStandard; style <= COSMToolTipContext::kStyleMarkup; ++style)
    {
        SCOPED_TRACE("style " + std::to_string(style));
        context->SetStyle(style);
        MoveMouseTo(away);
        PumpFor(100);
        MoveMouseTo(Workbench::CentreOf(*bench.standard, ID_E2E_OPEN) + CPoint(1, 0));
        MoveMouseTo(Workbench::CentreOf(*bench.standard, ID_E2E_OPEN));
        HWND tip = nullptr;
        if (style == COSMToolTipContext::kStyleHtml)
        {
            // Wine has no HTML engine: the document never loads, so within the host's bound (and well after it) no
            // tip of this style shows, and nothing stands in for it.
            PumpUntil([&] { return (tip = VisibleTipOfStyle(context, style)) != nullptr; },
                      COSMHtmlTipHost::kLoadTimeoutMs + 1500);
            EXPECT_EQ(nullptr, tip);
            CWnd* window = context->GetToolTipWindow();
            EXPECT_TRUE(!window || !window->GetSafeHwnd() || !window->IsWindowVisible());
            ASSERT_NO_FATAL_FAILURE(KeepWindowPicture(bench.frame.GetSafeHwnd(), "workbench-tip-style-6"));
            continue;
        }
        ASSERT_TRUE(PumpUntil([&] { return (tip = VisibleTipOfStyle(context, style)) != nullptr; }, 4000));
        PumpFor(100);  // the tip paints
        CRect tipRect;
        ::GetWindowRect(tip, &tipRect);
        EXPECT_FALSE(tipRect.IsRectEmpty());
        ASSERT_NO_FATAL_FAILURE(KeepScreenPicture(ScreenRectOf(bench.frame.GetSafeHwnd(), tip),
                                                  "workbench-tip-style-" + std::to_string(style)));
    }
    MoveMouseTo(away);
}

// A store of the workbench's bars in the file, and the same loaded into a workbench built afresh.
void SaveBench(Workbench& bench, const std::string& store)
{
    SaveBarsToFile(bench.commandBars.Get(), store);
}

void LoadBench(Workbench& bench, const std::string& store)
{
    ASSERT_NO_FATAL_FAILURE(LoadBarsFromFile(bench.commandBars.Get(), store));
    bench.frame.RecalcLayout();
    PumpFor(150);
}

// What a bar is after loading: its title, where it docks, and its controls' classes and ids. Whether it shows is the
// dock state's, which the bar store does not carry.
struct BenchBar
{
    std::string title;
    int position;
    std::vector<std::string> classes;
    std::vector<UINT> ids;

    bool operator==(const BenchBar& other) const
    {
        return title == other.title && position == other.position && classes == other.classes && ids == other.ids;
    }
};

void PrintTo(const BenchBar& bar, std::ostream* os)
{
    *os << "{\"" << bar.title << "\" position " << bar.position << " [";
    for (size_t i = 0; i < bar.ids.size(); ++i)
        *os << " " << bar.classes[i] << ":" << bar.ids[i];
    *os << " ]}";
}

std::vector<BenchBar> BenchBars(const Workbench& bench)
{
    std::vector<BenchBar> bars;
    for (int i = 0; i < bench.commandBars->GetCount(); ++i)
    {
        const COSMCommandBar* bar = bench.commandBars->GetAt(i);
        bars.push_back(
            BenchBar{static_cast<LPCSTR>(bar->GetTitle()), bar->GetPosition(), ClassNames(*bar), ControlIds(*bar)});
    }
    return bars;
}

TEST_F(WorkbenchTest, EveryKindOfControlSurvivesSavingRebuildingAndLoading)
{
    const std::string store = ArtefactsFolder() + "/workbench-bars.dat";
    std::vector<BenchBar> before;
    {
        Workbench bench;
        ASSERT_TRUE(bench.created);
        // Marks is hidden by its entry in the View menu's toolbars list, as a user hides it (the bar store keeps its
        // controls, not whether it shows).
        ASSERT_TRUE(bench.Drive(
            {MoveTo([&] { return ScreenPoint(*bench.menuBar, bench.menuBar->GetControl(2)->GetRect().CenterPoint()); }),
             Press(MOUSEEVENTF_LEFTDOWN), Press(MOUSEEVENTF_LEFTUP), [] {}, MoveTo([&] {
                 COSMCommandBar* view = bench.OpenMenu(2);
                 for (int i = 0; view && i < view->GetControlCount(); ++i)
                     if (view->GetControl(i)->IsVisible() && view->GetControl(i)->GetCaption().Find("Marks") >= 0)
                         return ScreenPoint(*view, view->GetControl(i)->GetRect().CenterPoint());
                 return CPoint(0, 0);
             }),
             Press(MOUSEEVENTF_LEFTDOWN), Press(MOUSEEVENTF_LEFTUP)},
            [&] { return !bench.marks->IsVisible(); }));
        PumpFor(100);
        EXPECT_FALSE(bench.marks->IsWindowVisible());
        before = BenchBars(bench);
        ASSERT_NO_FATAL_FAILURE(KeepWindowPicture(bench.frame.GetSafeHwnd(), "workbench-before-save"));
        ASSERT_NO_FATAL_FAILURE(SaveBench(bench, store));
    }

    Workbench bench;
    ASSERT_TRUE(bench.created);
    ASSERT_TRUE(bench.marks->IsVisible());
    ASSERT_NO_FATAL_FAILURE(LoadBench(bench, store));
    ASSERT_NO_FATAL_FAILURE(KeepWindowPicture(bench.frame.GetSafeHwnd(), "workbench-after-load"));
    EXPECT_EQ(before, BenchBars(bench));
    // The loaded custom control found the scroll bar again by its child id, and the combo box its list.
    COSMCommandBar* controls = bench.commandBars->FindCommandBar(IDR_E2E_CONTROLS);
    ASSERT_NE(nullptr, controls);
    auto* custom = dynamic_cast<COSMControlCustom*>(Workbench::ControlOf(*controls, ID_E2E_SCROLL));
    ASSERT_NE(nullptr, custom);
    EXPECT_EQ(bench.scrollPanel.GetSafeHwnd(), custom->GetControlWindow());
    auto* zoom = dynamic_cast<COSMControlComboBox*>(Workbench::ControlOf(*controls, ID_E2E_ZOOM));
    ASSERT_NE(nullptr, zoom);
    ASSERT_NE(nullptr, zoom->GetComboBoxList());
    EXPECT_EQ(3, zoom->GetComboBoxList()->GetCount());
}

// ---- Customizing through the sheet ----

// The screen centre of the window's client point.
CPoint ScreenOf(HWND window, CPoint client)
{
    ::ClientToScreen(window, &client);
    return client;
}

// The screen centre of a dialog's child.
CPoint CentreOfChild(HWND dialog, int id)
{
    CRect rect;
    HWND child = ::GetDlgItem(dialog, id);
    if (!child || !::GetWindowRect(child, &rect))
        return CPoint(0, 0);
    return rect.CenterPoint();
}

// The screen centre of a list box's item.
CPoint CentreOfItem(HWND list, int item)
{
    CRect rect;
    if (!list ||
        ::SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect)) == LB_ERR)
        return CPoint(0, 0);
    return ScreenOf(list, rect.CenterPoint());
}

// The screen centre of the sheet's tab of the page.
CPoint CentreOfTab(const COSMCustomizeSheet& sheet, int page)
{
    HWND tabs = sheet.GetTabControl();
    CRect rect;
    if (!tabs || !::SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&rect)))
        return CPoint(0, 0);
    return ScreenOf(tabs, rect.CenterPoint());
}

// The pixels of the image the manager holds for the id at 16 x 16, drawn over white (empty without an image).
std::vector<DWORD> ImagePixels(COSMImageManager* images, UINT id)
{
    COSMImageManagerIcon* icon = id ? images->GetImage(id, 16) : nullptr;
    if (!icon)
        return {};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 16;
    info.bmiHeader.biHeight = -16;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, dib);
    std::fill_n(static_cast<DWORD*>(bits), 256, 0x00FFFFFFu);
    icon->DrawNormal(CDC::FromHandle(dc), 0, 0, 16, 16);
    ::GdiFlush();
    std::vector<DWORD> pixels(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + 256);
    for (DWORD& pixel : pixels)
        pixel &= 0x00FFFFFFu;
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(dib);
    return pixels;
}

// A store of the bars and of the images the user drew, and the same loaded: an application keeps both.
void SaveCustomizedBench(Workbench& bench, const std::string& store)
{
    CFile file;
    ASSERT_TRUE(file.Open(store.c_str(), CFile::modeCreate | CFile::modeWrite)) << store;
    CArchive ar(&file, CArchive::store);
    COSMPropExchangeArchive px(ar);
    ASSERT_TRUE(bench.commandBars->SaveBarState(&px));
    bench.commandBars->GetImageManager()->DoPropExchange(&px);
    ar.Close();
    file.Close();
}

void LoadCustomizedBench(Workbench& bench, const std::string& store)
{
    CFile file;
    ASSERT_TRUE(file.Open(store.c_str(), CFile::modeRead)) << store;
    CArchive ar(&file, CArchive::load);
    COSMPropExchangeArchive px(ar);
    ASSERT_TRUE(bench.commandBars->LoadBarState(&px, TRUE));
    bench.commandBars->GetImageManager()->DoPropExchange(&px);
    ar.Close();
    bench.frame.RecalcLayout();
    PumpFor(150);
}

// Takes a picture of the frame with whatever shows over it (the sheet, a menu, a dialog) from inside a script.
Step Picture(Workbench& bench, const char* name, HWND over = nullptr)
{
    return [&bench, name, over] {
        HWND top = over ? over : ::GetActiveWindow();
        WriteScreenBitmap(ScreenRectOf(bench.frame.GetSafeHwnd(), top != bench.frame.GetSafeHwnd() ? top : nullptr),
                          ArtefactsFolder() + "/workbench-customize-" + name + ".bmp");
    };
}

TEST_F(WorkbenchTest, ACustomizationByTheSheetSurvivesSavingRebuildingAndLoading)
{
    const std::string store = ArtefactsFolder() + "/workbench-customized.dat";
    std::vector<DWORD> drawnImage;
    std::string newTitle;
    {
        Workbench bench;
        ASSERT_TRUE(bench.created);
        COSMToolBar& standard = *bench.standard;

        // The toolbars context menu (a right click on a toolbar) ends with the customize entry, which opens the sheet.
        ASSERT_TRUE(bench.Drive({MoveTo(Workbench::CentreOf(standard, ID_E2E_OPEN)), Press(MOUSEEVENTF_RIGHTDOWN),
                                 Press(MOUSEEVENTF_RIGHTUP), [] {}, Picture(bench, "toolbars-menu"), MoveTo([&] {
                                     COSMPopupBar* menu = bench.frame.toolbarsMenu;
                                     COSMControl* customize =
                                         menu && menu->GetSafeHwnd()
                                             ? menu->GetControls()->FindControlById(
                                                   static_cast<int>(COSMControlToolbars::kCustomizeId))
                                             : nullptr;
                                     return customize ? ControlCentre(*menu, customize->GetIndex()) : CPoint(0, 0);
                                 }),
                                 Press(MOUSEEVENTF_LEFTDOWN), Press(MOUSEEVENTF_LEFTUP)},
                                [&] { return bench.IsSheetOpen(); }));
        PumpFor(150);
        EXPECT_EQ(1, bench.frame.CountOf(COSMControlToolbars::kCustomizeId));
        EXPECT_TRUE(bench.commandBars->IsCustomizeMode());
        COSMCustomizeSheet& sheet = *bench.sheet;
        ASSERT_NO_FATAL_FAILURE(
            KeepScreenPicture(ScreenRectOf(bench.frame.GetSafeHwnd(), bench.sheetWindow), "workbench-customize-open"));

        // The commands page by its tab; File's Exit is dragged onto Standard, after its last button.
        COSMCustomizeCommandsPage& commandsPage = *sheet.GetCommandsPage();
        ClickAt(CentreOfTab(sheet, 1));
        PumpFor(100);
        ASSERT_TRUE(commandsPage.GetSafeHwnd() && commandsPage.IsWindowVisible());
        ClickAt(CentreOfItem(commandsPage.GetCategoriesList().GetSafeHwnd(), 0));
        PumpFor(100);
        COSMCustomizeCommandsListBox& commands = commandsPage.GetCommandsList();
        int exitItem = -1;
        for (int i = 0; i < commands.GetCount(); ++i)
            if (reinterpret_cast<COSMControl*>(commands.GetItemData(i))->GetID() == ID_E2E_EXIT)
                exitItem = i;
        ASSERT_GE(exitItem, 0);
        const int standardCount = standard.GetControlCount();
        const CPoint exitPoint = CentreOfItem(commands.GetSafeHwnd(), exitItem);
        const CPoint afterLast = [&] {
            const CRect last = standard.GetControl(2)->GetRect();
            return ScreenPoint(standard, CPoint(last.right - 3, last.CenterPoint().y));
        }();
        MoveMouseTo(exitPoint);
        ASSERT_TRUE(bench.Drive({Press(MOUSEEVENTF_LEFTDOWN), MoveTo(exitPoint + CPoint(6, 6)), MoveTo(afterLast),
                                 MoveTo(afterLast + CPoint(1, 0)), Picture(bench, "drag", bench.sheetWindow),
                                 Press(MOUSEEVENTF_LEFTUP)},
                                [&] { return !bench.commandBars->GetDropSource()->GetDraggedControl(); }));
        PumpFor(100);
        COSMControl* exit = Workbench::ControlOf(standard, ID_E2E_EXIT);
        ASSERT_NE(nullptr, exit);
        EXPECT_EQ(3, exit->GetIndex());
        EXPECT_EQ(standardCount + 1, standard.GetControlCount());

        // A right click on it opens the sheet's menu; Text Only restyles it.
        COSMPopupBar* menu = sheet.GetContextMenu();
        ASSERT_NE(nullptr, menu);
        auto entry = [&](UINT id) {
            return [&, id] {
                COSMControl* item =
                    menu->GetSafeHwnd() ? menu->GetControls()->FindControlById(static_cast<int>(id)) : nullptr;
                return item ? ControlCentre(*menu, item->GetIndex()) : CPoint(0, 0);
            };
        };
        auto exitCentre = [&] { return Workbench::CentreOf(standard, ID_E2E_EXIT); };
        ASSERT_TRUE(bench.Drive({MoveTo(exitCentre), Press(MOUSEEVENTF_RIGHTDOWN), Press(MOUSEEVENTF_RIGHTUP), [] {},
                                 Picture(bench, "menu", bench.sheetWindow),
                                 MoveTo(entry(COSMCustomizeSheet::kCommandStyleTextOnly)), Press(MOUSEEVENTF_LEFTDOWN),
                                 Press(MOUSEEVENTF_LEFTUP)},
                                [&] { return exit->GetCustomStyle() == 1 && !menu->IsVisible(); }));
        PumpFor(100);
        EXPECT_EQ(exit, bench.commandBars->GetCustomizeSelection());

        // Edit Button Image: the real editor, a stroke along row 8 and OK give the control an image of its own.
        EXPECT_EQ(0, exit->GetCustomIconId());
        HWND editor = nullptr;
        auto cellOf = [&](int x, int y) {
            return [&, x, y] {
                editor = ::GetActiveWindow();
                HWND picture = ::GetDlgItem(editor, IDC_OSM_IMAGE_EDITOR_PICTURE);
                CRect client;
                if (!picture || !::GetClientRect(picture, &client))
                    return CPoint(0, 0);
                const CSize cell(client.Width() / 16, client.Height() / 16);
                return ScreenOf(picture, CPoint(x * cell.cx + cell.cx / 2, y * cell.cy + cell.cy / 2));
            };
        };
        ASSERT_TRUE(bench.Drive(
            {MoveTo(exitCentre), Press(MOUSEEVENTF_RIGHTDOWN), Press(MOUSEEVENTF_RIGHTUP), [] {},
             MoveTo(entry(COSMCustomizeSheet::kCommandEditImage)), Press(MOUSEEVENTF_LEFTDOWN),
             Press(MOUSEEVENTF_LEFTUP), [] {}, [] {}, MoveTo(cellOf(3, 8)), Press(MOUSEEVENTF_LEFTDOWN),
             MoveTo(cellOf(7, 8)), MoveTo(cellOf(12, 8)), Press(MOUSEEVENTF_LEFTUP), [] {},
             Picture(bench, "image-editor"), MoveTo([&] { return CentreOfChild(editor, IDOK); }),
             Press(MOUSEEVENTF_LEFTDOWN), Press(MOUSEEVENTF_LEFTUP)},
            [&] { return exit->GetCustomIconId() != 0; }, 10000));
        PumpFor(100);
        drawnImage = ImagePixels(bench.commandBars->GetImageManager(), exit->GetIconId());
        ASSERT_EQ(256u, drawnImage.size());
        // Black where the stroke went, white (transparent) beside it.
        EXPECT_EQ(0x000000u, drawnImage[8 * 16 + 3]);
        EXPECT_EQ(0x000000u, drawnImage[8 * 16 + 12]);
        EXPECT_EQ(0xFFFFFFu, drawnImage[2 * 16 + 8]);

        // The toolbars page: New makes a toolbar under the name the dialog offers (Enter takes it).
        COSMCustomizeToolbarsPage& toolbarsPage = *sheet.GetToolbarsPage();
        ClickAt(CentreOfTab(sheet, 0));
        PumpFor(100);
        ASSERT_TRUE(toolbarsPage.GetSafeHwnd() && toolbarsPage.IsWindowVisible());
        const int barCount = bench.commandBars->GetCount();
        ASSERT_TRUE(bench.Drive({MoveTo(CentreOfChild(toolbarsPage.GetSafeHwnd(), IDC_OSM_CUSTOMIZE_TOOLBAR_NEW)),
                                 Press(MOUSEEVENTF_LEFTDOWN), Press(MOUSEEVENTF_LEFTUP), [] {}, [] {},
                                 Picture(bench, "new-toolbar"), Key(VK_RETURN, false), Key(VK_RETURN, true)},
                                [&] { return bench.commandBars->GetCount() == barCount + 1; }));
        PumpFor(100);
        COSMCommandBar* created = bench.commandBars->GetAt(barCount);
        newTitle = static_cast<LPCSTR>(created->GetTitle());
        EXPECT_FALSE(newTitle.empty());
        EXPECT_TRUE(created->IsVisible());

        // Marks is hidden by its check box in the list.
        COSMCustomizeCheckListBox& list = toolbarsPage.GetList();
        int marksItem = -1;
        for (int i = 0; i < list.GetCount(); ++i)
        {
            CString text;
            list.GetText(i, text);
            if (text == "Marks")
                marksItem = i;
        }
        ASSERT_GE(marksItem, 0);
        ClickAt(ScreenPoint(list, list.GetCheckBoxRect(marksItem).CenterPoint()));
        ASSERT_TRUE(PumpUntil([&] { return !bench.marks->IsVisible(); }));
        EXPECT_EQ(BST_UNCHECKED, list.GetCheck(marksItem));
        ASSERT_NO_FATAL_FAILURE(KeepScreenPicture(ScreenRectOf(bench.frame.GetSafeHwnd(), bench.sheetWindow),
                                                  "workbench-customize-hidden"));

        // The sheet's close button ends customizing.
        ClickAt(CentreOfChild(bench.sheetWindow, IDOK));
        ASSERT_TRUE(PumpUntil([&] { return !bench.IsSheetOpen(); }));
        EXPECT_FALSE(bench.commandBars->IsCustomizeMode());
        ASSERT_NO_FATAL_FAILURE(KeepWindowPicture(bench.frame.GetSafeHwnd(), "workbench-customize-closed"));
        ASSERT_NO_FATAL_FAILURE(SaveCustomizedBench(bench, store));
    }

    // The program starts again as it builds itself and loads the store: Exit stays on Standard, text only, with the
    // image drawn for it, and the new toolbar is back.
    Workbench bench;
    ASSERT_TRUE(bench.created);
    ASSERT_EQ(nullptr, Workbench::ControlOf(*bench.standard, ID_E2E_EXIT));
    ASSERT_NO_FATAL_FAILURE(LoadCustomizedBench(bench, store));
    ASSERT_NO_FATAL_FAILURE(KeepWindowPicture(bench.frame.GetSafeHwnd(), "workbench-customize-after-load"));
    COSMCommandBar* standard = bench.commandBars->FindCommandBar(IDR_E2E_STANDARD);
    ASSERT_NE(nullptr, standard);
    COSMControl* exit = Workbench::ControlOf(*standard, ID_E2E_EXIT);
    ASSERT_NE(nullptr, exit);
    EXPECT_EQ(3, exit->GetIndex());
    EXPECT_EQ(1, exit->GetCustomStyle());
    EXPECT_NE(0, exit->GetCustomIconId());
    EXPECT_EQ(drawnImage, ImagePixels(bench.commandBars->GetImageManager(), exit->GetIconId()));
    bool found = false;
    for (int i = 0; i < bench.commandBars->GetCount(); ++i)
        found = found || newTitle == static_cast<LPCSTR>(bench.commandBars->GetAt(i)->GetTitle());
    EXPECT_TRUE(found) << newTitle;
}

}  // namespace
