// The Native XP look. With visual styles off (a missing library, or a library that says the application is not
// themed) every operation draws and answers exactly as the Default look given this look's options. With styles on,
// the stand-in library records which class, part, state and rectangle each drawing asks for, and under the
// platform's active style (Wine's "Light") each drawing equals a twin canvas drawn directly through a wrapper with
// that class, part and state. The refresh reads its classes, colours and flat-menu setting through both.
#include "ThemeStubLibrary.h"
#include "ThemeTestSupport.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/ControlButton.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/controls/ControlEdit.h"
#include "framework/foundation/ColorManager.h"
#include "framework/themes/DefaultTheme.h"
#include "framework/themes/NativeXPTheme.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using themes_test::DcTestSurface;
using themes_test::Stated;

namespace {

constexpr COLORREF kXPCanvas = RGB(255, 0, 255);

// The look with the system's flat-menu setting replaced: read succeeds with flatMenuValue, or fails.
class FlatMenuNativeXPTheme : public COSMNativeXPTheme
{
public:
    using COSMNativeXPTheme::COSMNativeXPTheme;

    BOOL flatMenuReadSucceeds = TRUE;
    BOOL flatMenuValue = TRUE;
    int flatMenuReads = 0;

protected:
    BOOL ReadFlatMenuSetting(BOOL* flatMenus) override
    {
        ++flatMenuReads;
        if (flatMenuReadSucceeds)
            *flatMenus = flatMenuValue;
        return flatMenuReadSucceeds;
    }
};

// The Default look given the options the Native XP look is made with.
void GiveNativeXPOptions(COSMDefaultTheme& theme)
{
    theme.GetIconsInfo()->useFadedIcons = 1;
    theme.GetIconsInfo()->iconsWithShadow = 0;
    theme.PopupBarTextColor = COLOR_MENUTEXT;
    theme.m_themedStatusBar = TRUE;
    theme.m_themedCheckMarks = TRUE;
    theme.m_popupFullRowHighlight = TRUE;
    theme.m_boldCheckMark = TRUE;
}

// A bar the test can call a dialog bar.
class XPDialogBar : public COSMCommandBar
{
public:
    BOOL IsDialogBar() const override { return TRUE; }
};

// The bars every table draws with; copies share the bars.
struct XPBars
{
    COSMCommandBar* popup = nullptr;
    COSMCommandBar* floatingToolBar = nullptr;
    COSMCommandBar* floatingPopup = nullptr;
    COSMCommandBar* topToolBar = nullptr;
    COSMCommandBar* bottomToolBar = nullptr;
    COSMCommandBar* leftToolBar = nullptr;
    COSMCommandBar* menuBar = nullptr;
    COSMCommandBar* dialogBar = nullptr;
    COSMCommandBar* floatingDialogBar = nullptr;
    // A toolbar without a window, for edits (on a bar with a window an edit makes its own edit window).
    COSMCommandBar* plainToolBar = nullptr;
    // All of them, for loops over every bar.
    std::vector<COSMCommandBar*> all;
};

// The bars as hidden top-level windows of a known client size (backgrounds and grippers read it), kept until the
// scene goes.
class XPScene : public XPBars
{
public:
    XPScene()
    {
        popup = &MakeBar<COSMCommandBar>(120, 90, 2, 5);
        popup->SetIconSize(CSize(16, 16));
        floatingToolBar = &MakeBar<COSMCommandBar>(120, 40, 1, 4);
        floatingToolBar->SetTitle("Floating");
        floatingPopup = &MakeBar<COSMCommandBar>(120, 40, 2, 4);
        topToolBar = &MakeBar<COSMCommandBar>(120, 26, 1, 0);
        bottomToolBar = &MakeBar<COSMCommandBar>(120, 26, 1, 1);
        leftToolBar = &MakeBar<COSMCommandBar>(26, 120, 1, 2);
        menuBar = &MakeBar<COSMCommandBar>(120, 22, 0, 0);
        dialogBar = &MakeBar<XPDialogBar>(120, 40, 1, 0);
        floatingDialogBar = &MakeBar<XPDialogBar>(120, 40, 1, 4);
        m_plainToolBar.SetType(1);
        m_plainToolBar.SetPosition(0);
        plainToolBar = &m_plainToolBar;
    }
    ~XPScene()
    {
        for (auto& bar : m_bars)
            bar->DestroyWindow();
    }
    XPScene(const XPScene&) = delete;
    XPScene& operator=(const XPScene&) = delete;

private:
    template <class Bar> Bar& MakeBar(int width, int height, int type, int position)
    {
        auto bar = std::make_unique<Bar>();
        bar->SetType(type);
        EXPECT_TRUE(bar->CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "Bar", WS_POPUP, 10, 10, width, height,
                                  nullptr, nullptr));
        bar->SetPosition(position);
        Bar& made = *bar;
        all.push_back(bar.get());
        m_bars.push_back(std::move(bar));
        return made;
    }

    std::vector<std::unique_ptr<COSMCommandBar>> m_bars;
    COSMCommandBar m_plainToolBar;
};

// A separator's control: its rectangle, its row and whether it starts a new row (or column).
void XPPlaceSeparator(COSMControl& control, COSMCommandBar* bar, CRect rect, CRect row, BOOL wrap)
{
    control.SetParent(bar);
    control.SetRect(rect);
    control.SetRowRect(row);
    control.SetWrap(wrap);
}

std::string XPSizeText(CSize size)
{
    return "(" + std::to_string(size.cx) + ", " + std::to_string(size.cy) + ")";
}

// ---- Styles off ----

// One operation as both looks run it: it draws into the canvas and says what it answered.
struct XPOperation
{
    std::string name;
    CSize canvas;
    std::function<std::string(COSMDefaultTheme&, CDC*)> run;
};

std::vector<XPOperation> EqualityOperations(XPBars scene)
{
    std::vector<XPOperation> operations;
    auto add = [&](std::string name, CSize canvas, std::function<std::string(COSMDefaultTheme&, CDC*)> run) {
        operations.push_back({std::move(name), canvas, std::move(run)});
    };

    // Every state of the state rectangle and of the text colour on every kind of bar.
    for (int barType : {0, 1, 2})
        for (int barPosition : {0, 4, 5})
            for (int selected : {0, 1, 2})
                for (int pressed : {0, 1, 2})
                    for (BOOL enabled : {FALSE, TRUE})
                        for (int checked : {0, 1, 2})
                            for (BOOL popped : {FALSE, TRUE})
                            {
                                std::ostringstream name;
                                name << "state " << selected << pressed << enabled << checked << popped << " bar "
                                     << barType << "/" << barPosition;
                                add(name.str(), CSize(24, 22), [=](COSMDefaultTheme& theme, CDC* dc) {
                                    theme.DrawStateRectangle(dc, CRect(1, 1, 23, 21), selected, pressed, enabled,
                                                             checked, popped, barType, barPosition);
                                    const COLORREF text = theme.GetStateTextColor(selected, pressed, enabled, checked,
                                                                                  popped, barType, barPosition);
                                    return std::to_string(text);
                                });
                            }

    // Bar backgrounds, grippers (drawn and measured, with and without a DC) and dialog-bar grippers.
    for (COSMCommandBar* bar : scene.all)
    {
        CRect client;
        bar->GetClientRect(&client);
        const std::string name = "bar " + std::to_string(bar->GetType()) + "/" + std::to_string(bar->GetPosition()) +
                                 (bar->IsDialogBar() ? " dialog" : "");
        for (BOOL flat : {FALSE, TRUE})
            add(name + (flat ? " flat" : "") + " background", client.Size(), [=](COSMDefaultTheme& theme, CDC* dc) {
                theme.m_flatToolBar = flat;
                theme.m_flatMenuBar = flat;
                theme.FillCommandBar(dc, bar);
                return std::string();
            });
        add(name + " gripper", client.Size(), [=](COSMDefaultTheme& theme, CDC* dc) {
            return XPSizeText(theme.DrawCommandBarGripper(dc, bar, FALSE)) +
                   XPSizeText(theme.DrawCommandBarGripper(dc, bar, TRUE)) +
                   XPSizeText(theme.DrawCommandBarGripper(nullptr, bar, FALSE)) +
                   XPSizeText(theme.DrawDialogBarGripper(dc, bar, TRUE));
        });
        add(name + " borders and icon column", client.Size(), [=](COSMDefaultTheme& theme, CDC* dc) {
            const int width = theme.GetPopupBarGripperWidth(bar);
            theme.FillPopupBarGripper(dc, 0, 0, width, client.Height(), FALSE);
            const CRect borders = theme.GetCommandBarBorders(bar);
            return std::to_string(width) + " " + std::to_string(borders.left) + std::to_string(borders.top) +
                   std::to_string(borders.right) + std::to_string(borders.bottom);
        });
    }

    // Separators on each kind of bar, starting a row or not, and measured without a control.
    struct SeparatorPlace
    {
        COSMCommandBar* bar;
        CRect rect;
        CRect row;
    } const places[] = {
        {scene.topToolBar, CRect(40, 2, 46, 24), CRect(0, 2, 120, 24)},
        {scene.leftToolBar, CRect(2, 40, 24, 46), CRect(2, 0, 24, 120)},
        {scene.menuBar, CRect(40, 0, 46, 22), CRect(0, 0, 120, 22)},
        {scene.popup, CRect(3, 40, 117, 48), CRect(3, 3, 117, 87)},
    };
    for (const SeparatorPlace& place : places)
        for (BOOL wrap : {FALSE, TRUE})
            add("separator on bar " + std::to_string(place.bar->GetType()) + "/" +
                    std::to_string(place.bar->GetPosition()) + (wrap ? " new row" : ""),
                CSize(130, 130), [=](COSMDefaultTheme& theme, CDC* dc) {
                    COSMControlButton control;
                    XPPlaceSeparator(control, place.bar, place.rect, place.row, wrap);
                    return XPSizeText(theme.DrawCommandBarSeparator(dc, place.bar, &control, TRUE)) +
                           XPSizeText(theme.DrawCommandBarSeparator(dc, place.bar, nullptr, FALSE)) +
                           XPSizeText(theme.DrawCommandBarSeparator(nullptr, place.bar, nullptr, FALSE));
                });

    // Control rectangles.
    for (COSMCommandBar* bar : {scene.popup, scene.topToolBar})
        for (int type : {1, 5})
            add("control rectangle of type " + std::to_string(type) + " on bar " + std::to_string(bar->GetType()),
                CSize(1, 1), [=](COSMDefaultTheme& theme, CDC*) {
                    COSMControlButton control;
                    control.SetType(type);
                    control.SetParent(bar);
                    std::string answer;
                    for (BOOL vertical : {FALSE, TRUE})
                    {
                        CRect rect(10, 10, 40, 32);
                        theme.AdjustControlRect(rect, &control, vertical);
                        answer += std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
                                  std::to_string(rect.right) + "," + std::to_string(rect.bottom) + " ";
                    }
                    return answer;
                });

    // Split buttons by state.
    for (int selected : {0, 1})
        for (int pressed : {0, 1})
            for (int enabled : {0, 1, 4, 5})
                for (BOOL popped : {FALSE, TRUE})
                    add("split button " + std::to_string(selected) + std::to_string(pressed) + std::to_string(enabled) +
                            std::to_string(popped),
                        CSize(40, 22), [=](COSMDefaultTheme& theme, CDC* dc) {
                            Stated<COSMControlPopup> button;
                            button.SetType(4);
                            button.SetParent(scene.topToolBar);
                            button.SetEnabled(enabled);
                            button.selected = selected;
                            button.pressed = pressed;
                            button.popupOpen = popped;
                            theme.DrawSplitButtonFrame(dc, &button, CRect(0, 0, 40, 22));
                            return std::string();
                        });

    // Edit frames, combo buttons and spin buttons.
    for (BOOL enabled : {FALSE, TRUE})
        for (int selected : {0, 1, 2})
        {
            const std::string state = std::to_string(enabled) + std::to_string(selected);
            add("edit frame " + state, CSize(60, 22), [=](COSMDefaultTheme& theme, CDC* dc) {
                theme.DrawEditControlFrame(dc, CRect(2, 0, 58, 22), enabled, selected);
                return std::string();
            });
            for (BOOL dropped : {FALSE, TRUE})
                add("combo button " + state + std::to_string(dropped), CSize(24, 22),
                    [=](COSMDefaultTheme& theme, CDC* dc) {
                        theme.DrawComboBoxDropDownButton(dc, CRect(6, 0, 22, 22), enabled, selected != 0, dropped);
                        return std::string();
                    });
            for (int pressed : {0, 4, 5})
                add("spin buttons " + state + std::to_string(pressed), CSize(80, 22),
                    [=](COSMDefaultTheme& theme, CDC* dc) {
                        Stated<COSMControlEdit> edit;
                        edit.SetParent(scene.plainToolBar);
                        edit.SetRect(CRect(0, 0, 80, 22));
                        edit.SetShowSpinButtons(TRUE);
                        edit.SetEnabled(enabled);
                        edit.selected = selected;
                        edit.pressed = pressed;
                        theme.DrawEditSpinButtons(dc, &edit);
                        return std::string();
                    });
        }

    // Menu marks in the popup text colour and the grey one.
    for (int colorIndex : {COLOR_MENUTEXT, COLOR_GRAYTEXT})
        add("menu marks in " + std::to_string(colorIndex), CSize(44, 22), [=](COSMDefaultTheme& theme, CDC* dc) {
            theme.DrawMenuCheckMark(dc, CRect(1, 1, 21, 21), theme.GetColor(colorIndex), colorIndex != COLOR_GRAYTEXT);
            theme.DrawMenuRadioMark(dc, CRect(23, 1, 43, 21), theme.GetColor(colorIndex), colorIndex != COLOR_GRAYTEXT);
            return std::string();
        });

    // Menu-bar popups and toolbar buttons: their background and text colour, flat menu bar or not.
    for (BOOL flat : {FALSE, TRUE})
        for (COSMCommandBar* bar : {scene.menuBar, scene.topToolBar})
            for (int selected : {0, 1})
                for (BOOL popped : {FALSE, TRUE})
                    add("control background on bar " + std::to_string(bar->GetType()) + (flat ? " flat " : " ") +
                            std::to_string(selected) + std::to_string(popped),
                        CSize(50, 24), [=](COSMDefaultTheme& theme, CDC* dc) {
                            theme.m_flatMenuBar = flat;
                            theme.m_flatToolBar = flat;
                            Stated<COSMControlPopup> control;
                            control.SetType(2);
                            control.SetParent(bar);
                            control.SetRect(CRect(2, 1, 48, 23));
                            control.selected = selected;
                            control.popupOpen = popped;
                            theme.DrawControlBackground(dc, &control);
                            return std::to_string(theme.GetControlTextColor(&control));
                        });

    // The special buttons' faces.
    for (int kind : {2, 3})
        for (int selected : {0, 1})
            add("special control " + std::to_string(kind) + std::to_string(selected), CSize(24, 24),
                [=](COSMDefaultTheme& theme, CDC* dc) {
                    Stated<COSMControlButton> control;
                    control.SetParent(scene.floatingToolBar);
                    control.SetRect(CRect(2, 2, 20, 20));
                    control.selected = selected;
                    return XPSizeText(
                        theme.DrawSpecialControl(dc, kind, &control, scene.floatingToolBar, TRUE, nullptr));
                });

    // Popup rows, which draw their marks, state and icon column through the operations above.
    struct RowCase
    {
        const char* name;
        int type;
        int checked;
        int selected;
        BOOL enabled;
    } const rows[] = {
        {"checked", 1, 1, 0, TRUE},           {"checked, selected", 1, 1, 1, TRUE}, {"radio", 11, 1, 0, TRUE},
        {"disabled checked", 1, 1, 0, FALSE}, {"selected", 1, 0, 1, TRUE},          {"sub-menu", 2, 0, 1, TRUE},
    };
    for (const RowCase& row : rows)
        add(std::string("popup row ") + row.name, CSize(120, 22), [=](COSMDefaultTheme& theme, CDC* dc) {
            Stated<COSMControlPopup> control;
            control.SetType(row.type);
            control.SetCaption("Row");
            control.SetParent(scene.popup);
            control.SetRect(CRect(0, 0, 120, 22));
            control.SetChecked(row.checked);
            control.SetEnabled(row.enabled);
            control.selected = row.selected;
            return XPSizeText(theme.DrawPopupBarControl(dc, &control, TRUE));
        });
    return operations;
}

// Both looks on one visual-style table, with every colour of their own tables the same.
void ExpectDrawsAsTheDefaultLook(COSMVisualStyleFunctions& functions)
{
    XPScene scene;
    FlatMenuNativeXPTheme nativeXP(functions);
    nativeXP.flatMenuValue = FALSE;
    COSMDefaultTheme classic(functions);
    GiveNativeXPOptions(classic);
    ASSERT_TRUE(themes_test::AssignUniqueColors(nativeXP, themes_test::BaseExcludedColors()));
    ASSERT_TRUE(themes_test::AssignUniqueColors(classic, themes_test::BaseExcludedColors()));
    nativeXP.RefreshMetrics();
    classic.RefreshMetrics();
    ASSERT_FALSE(nativeXP.IsStyled());
    // The options the look is made with.
    EXPECT_EQ(1u, nativeXP.GetIconsInfo()->useFadedIcons);
    EXPECT_EQ(0u, nativeXP.GetIconsInfo()->iconsWithShadow);
    EXPECT_EQ(COLOR_MENUTEXT, nativeXP.PopupBarTextColor);
    EXPECT_TRUE(nativeXP.m_themedStatusBar && nativeXP.m_themedCheckMarks && nativeXP.m_popupFullRowHighlight &&
                nativeXP.m_boldCheckMark);

    for (const XPOperation& operation : EqualityOperations(scene))
    {
        SCOPED_TRACE(operation.name);
        DcTestSurface drawn(operation.canvas.cx, operation.canvas.cy, kXPCanvas);
        DcTestSurface expected(operation.canvas.cx, operation.canvas.cy, kXPCanvas);
        const std::string answer = operation.run(nativeXP, drawn.dc());
        EXPECT_EQ(operation.run(classic, expected.dc()), answer);
        EXPECT_TRUE(drawn.EqualsCanvas(expected));
    }
}

class NativeXPStylesOffTest : public foundation_test::PaintManagerTest, protected ThemeStubLibrary
{
protected:
    NativeXPStylesOffTest() : ThemeStubLibrary(TRUE) {}
    void SetUp() override
    {
        PaintManagerTest::SetUp();
        SetUpThemeStub();
        foundation_test::PixelColorNamer() = &themes_test::IndexOfUniqueColor;
    }
    void TearDown() override
    {
        foundation_test::PixelColorNamer() = nullptr;
        PaintManagerTest::TearDown();
    }
};

TEST_F(NativeXPStylesOffTest, WithoutTheLibraryEveryOperationIsTheDefaultLooksWithThisLooksOptions)
{
    COSMVisualStyleFunctions missing("osm-no-such-visual-styles.dll", TRUE, MAKELONG(0, 6));
    ASSERT_EQ(nullptr, missing.GetModule());
    ExpectDrawsAsTheDefaultLook(missing);
}

TEST_F(NativeXPStylesOffTest, AnUnthemedApplicationDrawsAsTheDefaultLookThoughEveryClassOpens)
{
    m_stub->appThemed = FALSE;
    ExpectDrawsAsTheDefaultLook(m_functions);
    // The classes did open: only the application's themed answer kept them from drawing.
    EXPECT_GE(Calls(CThemeStubState::kOpenThemeData), 6);
    EXPECT_EQ(0, m_stub->drawCount);
}

// ---- Styles on: which class, part, state and rectangle ----

enum XPClass
{
    kXPRebar,
    kXPToolBar,
    kXPComboBox,
    kXPWindow,
    kXPSpin,
    kXPMenu,
    kXPClassCount
};

const wchar_t* const kXPClassNames[kXPClassCount] = {L"REBAR", L"TOOLBAR", L"COMBOBOX", L"WINDOW", L"SPIN", L"MENU"};

COSMVisualStyleWrapper& XPWrapperOf(COSMNativeXPTheme& theme, int styleClass)
{
    switch (styleClass)
    {
    case kXPRebar:
        return theme.GetRebarTheme();
    case kXPToolBar:
        return theme.GetToolBarTheme();
    case kXPComboBox:
        return theme.GetComboBoxTheme();
    case kXPWindow:
        return theme.GetWindowTheme();
    case kXPSpin:
        return theme.GetSpinTheme();
    default:
        return theme.GetMenuTheme();
    }
}

struct XPStylePart
{
    int styleClass;
    int part;
    int state;
    CRect rect;
};

std::string XPDescribe(const XPStylePart& p)
{
    char text[120];
    std::snprintf(text, sizeof(text), "%ls part %d state %d (%ld, %ld, %ld, %ld)", kXPClassNames[p.styleClass], p.part,
                  p.state, p.rect.left, p.rect.top, p.rect.right, p.rect.bottom);
    return text;
}

// One styled drawing: what it draws, the parts it must ask for (they may depend on the look's metrics), and what a
// twin canvas needs drawn before and after those parts (the plain fills and frames of the step).
struct XPStyledCase
{
    std::string name;
    CSize canvas;
    std::function<void(COSMNativeXPTheme&, CDC*)> draw;
    std::function<std::vector<XPStylePart>(COSMNativeXPTheme&)> parts;
    std::function<void(COSMNativeXPTheme&, CDC*)> before;
    std::function<void(COSMNativeXPTheme&, CDC*)> after;
};

std::vector<XPStylePart> XPParts(std::vector<XPStylePart> parts)
{
    return parts;
}

std::vector<XPStyledCase> StyledCases(XPBars scene)
{
    std::vector<XPStyledCase> cases;
    auto fixed = [](std::vector<XPStylePart> parts) { return [parts](COSMNativeXPTheme&) { return parts; }; };

    // The state rectangle: one table over its rules.
    struct StateCase
    {
        const char* name;
        int selected, pressed, enabled, checked, popped, barType, barPosition;
        int styleClass, part, state;  // part -1: nothing drawn
    } const states[] = {
        {"popup row idle", 0, 0, 1, 0, 0, 2, 5, kXPMenu, -1, 0},
        {"popup row selected", 1, 0, 1, 0, 0, 2, 5, kXPMenu, 14, 2},
        {"popup row pressed", 0, 1, 1, 0, 0, 2, 5, kXPMenu, 14, 2},
        {"popup checked, enabled", 0, 0, 1, 1, 0, 2, 5, kXPMenu, 12, 2},
        {"popup checked, disabled", 1, 0, 0, 1, 0, 2, 5, kXPMenu, 12, 1},
        {"popup-type bar floating, checked", 0, 0, 1, 1, 0, 2, 4, kXPToolBar, 1, 5},
        {"button normal", 0, 0, 1, 0, 0, 1, 0, kXPToolBar, 1, 1},
        {"button hot", 1, 0, 1, 0, 0, 1, 0, kXPToolBar, 1, 2},
        {"button hot and pressed", 1, 1, 1, 0, 0, 1, 0, kXPToolBar, 1, 3},
        {"button pressed by keyboard", 0, 2, 1, 0, 0, 1, 0, kXPToolBar, 1, 3},
        {"button pressed 3", 0, 3, 1, 0, 0, 1, 0, kXPToolBar, 1, 3},
        {"button pressed alone", 0, 1, 1, 0, 0, 1, 0, kXPToolBar, 1, 1},
        {"button popped", 0, 0, 1, 0, 1, 1, 0, kXPToolBar, 1, 3},
        {"button checked", 0, 0, 1, 1, 0, 1, 0, kXPToolBar, 1, 5},
        {"button checked and hot", 1, 0, 1, 1, 0, 1, 0, kXPToolBar, 1, 6},
        {"button checked and pressed", 1, 1, 1, 1, 0, 1, 0, kXPToolBar, 1, 3},
        {"button checked 2 counts as unchecked", 0, 0, 1, 2, 0, 1, 0, kXPToolBar, 1, 1},
        {"button checked 2, hot", 1, 0, 1, 2, 0, 1, 0, kXPToolBar, 1, 2},
        {"button disabled", 1, 0, 0, 0, 0, 1, 0, kXPToolBar, 1, 4},
        {"button disabled checked", 0, 0, 0, 1, 0, 1, 0, kXPToolBar, 1, 3},
        {"button disabled checked 2", 0, 0, 0, 2, 0, 1, 0, kXPToolBar, 1, 3},
        {"menu-bar button hot", 1, 0, 1, 0, 0, 0, 0, kXPToolBar, 1, 2},
    };
    const CRect stateRect(1, 1, 31, 23);
    for (const StateCase& s : states)
        cases.push_back({std::string("state: ") + s.name, CSize(32, 24),
                         [=](COSMNativeXPTheme& theme, CDC* dc) {
                             theme.DrawStateRectangle(dc, stateRect, s.selected, s.pressed, s.enabled, s.checked,
                                                      s.popped, s.barType, s.barPosition);
                         },
                         fixed(s.part < 0 ? std::vector<XPStylePart>{}
                                          : std::vector<XPStylePart>{{s.styleClass, s.part, s.state, stateRect}})});

    // Menu parts: the popup frame and background, marks, gutter, separator.
    CRect popupClient;
    scene.popup->GetClientRect(&popupClient);
    cases.push_back({"popup background", popupClient.Size(),
                     [=](COSMNativeXPTheme& theme, CDC* dc) { theme.FillCommandBar(dc, scene.popup); },
                     fixed({{kXPMenu, 10, 0, popupClient}, {kXPMenu, 9, 0, CRect(3, 3, 117, 87)}})});
    const CRect mark(2, 1, 22, 21);
    cases.push_back({"check mark", CSize(24, 22),
                     [=](COSMNativeXPTheme& theme, CDC* dc) {
                         theme.DrawMenuCheckMark(dc, mark, theme.GetColor(COLOR_MENUTEXT), TRUE);
                     },
                     fixed({{kXPMenu, 11, 1, mark}})});
    cases.push_back({"disabled check mark", CSize(24, 22),
                     [=](COSMNativeXPTheme& theme, CDC* dc) {
                         theme.DrawMenuCheckMark(dc, mark, theme.GetColor(COLOR_GRAYTEXT), FALSE);
                     },
                     fixed({{kXPMenu, 11, 2, mark}})});
    cases.push_back({"radio mark", CSize(24, 22),
                     [=](COSMNativeXPTheme& theme, CDC* dc) {
                         theme.DrawMenuRadioMark(dc, mark, theme.GetColor(COLOR_MENUTEXT), TRUE);
                     },
                     fixed({{kXPMenu, 11, 3, mark}})});
    cases.push_back({"disabled radio mark", CSize(24, 22),
                     [=](COSMNativeXPTheme& theme, CDC* dc) {
                         theme.DrawMenuRadioMark(dc, mark, theme.GetColor(COLOR_GRAYTEXT), FALSE);
                     },
                     fixed({{kXPMenu, 11, 4, mark}})});
    cases.push_back({"icon column", CSize(40, 60),
                     [](COSMNativeXPTheme& theme, CDC* dc) { theme.FillPopupBarGripper(dc, 2, 3, 30, 50, FALSE); },
                     fixed({{kXPMenu, 13, 0, CRect(2, 3, 32, 53)}})});
    cases.push_back(
        {"popup gripper is the gutter", popupClient.Size(),
         [=](COSMNativeXPTheme& theme, CDC* dc) {
             EXPECT_EQ(CSize(0, 0), theme.DrawCommandBarGripper(dc, scene.popup, TRUE));
         },
         [=](COSMNativeXPTheme& theme) {
             return XPParts({{kXPMenu, 13, 0, CRect(3, 3, 3 + theme.GetPopupBarGripperWidth(scene.popup), 87)}});
         }});
    cases.push_back(
        {"popup separator", popupClient.Size(),
         [=](COSMNativeXPTheme& theme, CDC* dc) {
             COSMControlButton control;
             XPPlaceSeparator(control, scene.popup, CRect(3, 40, 117, 60), CRect(3, 3, 117, 87), FALSE);
             EXPECT_EQ(CSize(0, 0), theme.DrawCommandBarSeparator(dc, scene.popup, &control, TRUE));
         },
         [=](COSMNativeXPTheme& theme) {
             return XPParts({{kXPMenu, 15, 0, CRect(3 + theme.GetPopupBarGripperWidth(scene.popup), 32, 117, 38)}});
         }});

    // Grippers: rebar parts 1 and 2, and the dialog bar's.
    cases.push_back({"top gripper", CSize(120, 26),
                     [=](COSMNativeXPTheme& theme, CDC* dc) {
                         EXPECT_EQ(CSize(8, 0), theme.DrawCommandBarGripper(dc, scene.topToolBar, TRUE));
                     },
                     fixed({{kXPRebar, 1, 1, CRect(2, 0, 8, 26)}})});
    cases.push_back({"left gripper", CSize(26, 120),
                     [=](COSMNativeXPTheme& theme, CDC* dc) {
                         EXPECT_EQ(CSize(0, 8), theme.DrawCommandBarGripper(dc, scene.leftToolBar, TRUE));
                     },
                     fixed({{kXPRebar, 2, 1, CRect(0, 2, 26, 8)}})});
    cases.push_back(
        {"dialog-bar gripper", CSize(120, 40),
         [=](COSMNativeXPTheme& theme, CDC* dc) {
             const int height = std::max(theme.GetRawControlHeight() + 4, 22);
             EXPECT_EQ(CSize(8, height), theme.DrawCommandBarGripper(dc, scene.dialogBar, TRUE));
         },
         [](COSMNativeXPTheme& theme) {
             return XPParts({{kXPRebar, 1, 1, CRect(2, 3, 8, std::max(theme.GetRawControlHeight() + 4, 22))}});
         }});

    // Toolbar separators 5 and 6, on a top and a left bar, starting a row or not.
    struct SeparatorCase
    {
        const char* name;
        COSMCommandBar* bar;
        CRect rect, row;
        BOOL wrap;
        int part;
        CRect line;
    } const separators[] = {
        {"top bar", scene.topToolBar, CRect(40, 2, 46, 24), CRect(0, 2, 120, 24), FALSE, 5, CRect(34, 2, 40, 24)},
        {"top bar, new row", scene.topToolBar, CRect(4, 30, 30, 52), CRect(0, 30, 120, 52), TRUE, 6,
         CRect(4, 25, 120, 30)},
        {"left bar", scene.leftToolBar, CRect(2, 40, 24, 46), CRect(2, 0, 24, 120), FALSE, 6, CRect(2, 34, 24, 40)},
        {"left bar, new column", scene.leftToolBar, CRect(30, 4, 52, 30), CRect(30, 0, 52, 120), TRUE, 5,
         CRect(52, 4, 57, 120)},
    };
    for (const SeparatorCase& s : separators)
        cases.push_back({std::string("separator: ") + s.name, CSize(130, 130),
                         [=](COSMNativeXPTheme& theme, CDC* dc) {
                             COSMControlButton control;
                             XPPlaceSeparator(control, s.bar, s.rect, s.row, s.wrap);
                             EXPECT_EQ(CSize(0, 0), theme.DrawCommandBarSeparator(dc, s.bar, &control, TRUE));
                             EXPECT_EQ(CSize(6, 6), theme.DrawCommandBarSeparator(dc, s.bar, nullptr, FALSE));
                         },
                         fixed({{kXPToolBar, s.part, 0, s.line}})});

    // Split buttons: parts 3 and 4 by state.
    struct SplitCase
    {
        const char* name;
        int selected, pressed, enabled, checked;
        BOOL popped;
        int state, dropState;
    } const splits[] = {
        {"idle", 0, 0, 1, 0, FALSE, 1, 1},
        {"hot", 1, 0, 1, 0, FALSE, 2, 2},
        {"hot and pressed", 1, 1, 1, 0, FALSE, 3, 3},
        {"checked", 0, 0, 1, 1, FALSE, 5, 5},
        {"popped", 0, 0, 1, 0, TRUE, 2, 3},
        {"disabled", 1, 0, 0, 0, FALSE, 4, 4},
        {"drop part disabled", 1, 0, 4, 0, FALSE, 2, 4},
        {"command part off", 1, 0, 5, 0, FALSE, 4, 4},
    };
    for (const SplitCase& s : splits)
        cases.push_back({std::string("split button: ") + s.name, CSize(44, 24),
                         [=](COSMNativeXPTheme& theme, CDC* dc) {
                             Stated<COSMControlPopup> button;
                             button.SetType(4);
                             button.SetStyle(4);  // the style's split parts, whatever the button style
                             button.SetParent(scene.topToolBar);
                             button.SetEnabled(s.enabled);
                             button.SetChecked(s.checked);
                             button.selected = s.selected;
                             button.pressed = s.pressed;
                             button.popupOpen = s.popped;
                             theme.DrawSplitButtonFrame(dc, &button, CRect(2, 1, 42, 23));
                         },
                         fixed({{kXPToolBar, 3, s.state, CRect(2, 1, 30, 23)},
                                {kXPToolBar, 4, s.dropState, CRect(30, 1, 42, 23)}})});

    // The combo box's button: its rectangle and states.
    struct ComboCase
    {
        const char* name;
        BOOL enabled, selected, dropped;
        int state;
    } const combos[] = {
        {"idle", TRUE, FALSE, FALSE, 1},
        {"selected", TRUE, TRUE, FALSE, 2},
        {"dropped", TRUE, TRUE, TRUE, 3},
        {"disabled", FALSE, TRUE, TRUE, 4},
    };
    for (const ComboCase& c : combos)
        cases.push_back({std::string("combo button: ") + c.name, CSize(30, 24),
                         [=](COSMNativeXPTheme& theme, CDC* dc) {
                             theme.DrawComboBoxDropDownButton(dc, CRect(10, 1, 26, 23), c.enabled, c.selected,
                                                              c.dropped);
                         },
                         fixed({{kXPComboBox, 1, c.state, CRect(8, 2, 25, 22)}})});

    // Spin buttons: the halves by state.
    struct SpinCase
    {
        const char* name;
        int enabled, selected, pressed;
        int upper, lower;
    } const spins[] = {
        {"idle", 1, 0, 0, 1, 1},       {"upper hot", 1, 4, 0, 2, 1},  {"lower hot", 1, 5, 0, 1, 2},
        {"upper held", 1, 4, 4, 3, 1}, {"lower held", 1, 5, 5, 1, 3}, {"held while not selected", 1, 0, 4, 1, 1},
        {"disabled", 0, 4, 4, 4, 4},
    };
    for (const SpinCase& s : spins)
        cases.push_back({std::string("spin buttons: ") + s.name, CSize(80, 22),
                         [=](COSMNativeXPTheme& theme, CDC* dc) {
                             Stated<COSMControlEdit> edit;
                             edit.SetParent(scene.plainToolBar);
                             edit.SetRect(CRect(0, 0, 80, 22));
                             edit.SetShowSpinButtons(TRUE);
                             edit.SetEnabled(s.enabled);
                             edit.selected = s.selected;
                             edit.pressed = s.pressed;
                             theme.DrawEditSpinButtons(dc, &edit);
                         },
                         [=](COSMNativeXPTheme&) {
                             Stated<COSMControlEdit> edit;
                             edit.SetRect(CRect(0, 0, 80, 22));
                             edit.SetShowSpinButtons(TRUE);
                             const CRect spin = edit.GetSpinButtonsRect();
                             const int middle = spin.top + spin.Height() / 2;
                             return XPParts({{kXPSpin, 1, s.upper, CRect(spin.left, spin.top, spin.right, middle)},
                                             {kXPSpin, 2, s.lower, CRect(spin.left, middle, spin.right, spin.bottom)}});
                         }});

    // Floating bars: the toolbar background and the small frame; a floating popup-type bar in the menu colour.
    CRect floatingClient;
    scene.floatingToolBar->GetClientRect(&floatingClient);
    const std::vector<XPStylePart> frame = {{kXPWindow, 10, 1, CRect(0, 0, 3, 40)},
                                            {kXPWindow, 11, 1, CRect(117, 0, 120, 40)},
                                            {kXPWindow, 12, 1, CRect(0, 37, 120, 40)}};
    std::vector<XPStylePart> floatingParts = {{kXPToolBar, 0, 0, floatingClient}};
    floatingParts.insert(floatingParts.end(), frame.begin(), frame.end());
    cases.push_back(
        {"floating toolbar background", floatingClient.Size(),
         [=](COSMNativeXPTheme& theme, CDC* dc) { theme.FillCommandBar(dc, scene.floatingToolBar); },
         fixed(floatingParts),
         [=](COSMNativeXPTheme& theme, CDC* dc) { dc->FillSolidRect(floatingClient, theme.GetColor(15)); }});
    cases.push_back(
        {"floating popup-type background", floatingClient.Size(),
         [=](COSMNativeXPTheme& theme, CDC* dc) { theme.FillCommandBar(dc, scene.floatingPopup); }, fixed(frame),
         [=](COSMNativeXPTheme& theme, CDC* dc) { dc->FillSolidRect(floatingClient, theme.GetColor(COLOR_MENU)); }});
    // Docked elsewhere than the top: the face, the band and (not flat) the band's edges.
    for (BOOL flat : {FALSE, TRUE})
        cases.push_back(
            {std::string("bottom toolbar background") + (flat ? ", flat" : ""), CSize(120, 26),
             [=](COSMNativeXPTheme& theme, CDC* dc) {
                 theme.m_flatToolBar = flat;
                 theme.FillCommandBar(dc, scene.bottomToolBar);
                 theme.m_flatToolBar = FALSE;
             },
             fixed({{kXPRebar, 3, 0, CRect(0, 0, 120, 26)}}),
             [](COSMNativeXPTheme& theme, CDC* dc) { dc->FillSolidRect(CRect(0, 0, 120, 26), theme.GetColor(15)); },
             [=](COSMNativeXPTheme& theme, CDC* dc) {
                 if (!flat)
                     dc->Draw3dRect(CRect(0, 0, 120, 26), theme.GetBandEdgeHighlightColor(),
                                    theme.GetBandEdgeShadowColor());
             }});
    return cases;
}

class NativeXPStubStyleTest : public foundation_test::PaintManagerTest, protected ThemeStubLibrary
{
protected:
    NativeXPStubStyleTest() : ThemeStubLibrary(TRUE) {}
    void SetUp() override
    {
        PaintManagerTest::SetUp();
        SetUpThemeStub();
        foundation_test::PixelColorNamer() = &themes_test::IndexOfUniqueColor;
    }
    void TearDown() override
    {
        foundation_test::PixelColorNamer() = nullptr;
        theme.reset();
        PaintManagerTest::TearDown();
    }

    // The look on the stand-in library, refreshed, its table in unique colours.
    void MakeTheme()
    {
        theme = std::make_unique<FlatMenuNativeXPTheme>(m_functions);
        ASSERT_TRUE(themes_test::AssignUniqueColors(*theme, themes_test::BaseExcludedColors()));
        theme->RefreshMetrics();
    }
    // The parts drawn since the log was last cleared, named by class.
    std::vector<std::string> DrawnParts()
    {
        std::vector<std::string> drawn;
        for (int i = 0; i < m_stub->drawCount; ++i)
        {
            int styleClass = -1;
            for (int c = 0; c < kXPClassCount; ++c)
                if (XPWrapperOf(*theme, c).GetHandle() == m_stub->drawThemes[i])
                    styleClass = c;
            if (styleClass < 0)
            {
                drawn.push_back("a class the look does not hold");
                continue;
            }
            drawn.push_back(
                XPDescribe({styleClass, m_stub->drawParts[i], m_stub->drawStates[i], CRect(m_stub->drawRects[i])}));
        }
        return drawn;
    }

    std::unique_ptr<FlatMenuNativeXPTheme> theme;
};

std::vector<std::string> XPDescribed(const std::vector<XPStylePart>& parts)
{
    std::vector<std::string> described;
    for (const XPStylePart& part : parts)
        described.push_back(XPDescribe(part));
    return described;
}

TEST_F(NativeXPStubStyleTest, EachDrawingAsksForItsClassPartStateAndRectangle)
{
    MakeTheme();
    ASSERT_TRUE(theme->IsStyled());
    XPScene scene;
    for (const XPStyledCase& c : StyledCases(scene))
    {
        SCOPED_TRACE(c.name);
        m_stub->drawCount = 0;
        DcTestSurface canvas(c.canvas.cx, c.canvas.cy, kXPCanvas);
        c.draw(*theme, canvas.dc());
        EXPECT_EQ(XPDescribed(c.parts(*theme)), DrawnParts());
    }
}

TEST_F(NativeXPStubStyleTest, APopupRowWithoutTheMenuClassIsFilledInTheMenuHighlightFramedInTheSelection)
{
    wcscpy(m_stub->refusedClasses, L"MENU;");
    MakeTheme();
    ASSERT_TRUE(theme->IsStyled());
    ASSERT_FALSE(theme->GetMenuTheme().IsOpen());
    DcTestSurface canvas(32, 24, kXPCanvas);
    const CRect rect(1, 1, 31, 23);
    theme->DrawStateRectangle(canvas.dc(), rect, TRUE, FALSE, TRUE, FALSE, FALSE, 2, 5);
    EXPECT_TRUE(canvas.Has3dFrame(rect, theme->GetColor(COLOR_HIGHLIGHT), theme->GetColor(COLOR_HIGHLIGHT)));
    EXPECT_TRUE(canvas.FilledWith(CRect(2, 2, 30, 22), theme->GetColor(COLOR_MENUHILIGHT)));
    EXPECT_TRUE(canvas.UntouchedOutside(rect));
    // A checked popup row then takes the toolbar's checked button.
    m_stub->drawCount = 0;
    theme->DrawStateRectangle(canvas.dc(), rect, FALSE, FALSE, TRUE, TRUE, FALSE, 2, 5);
    EXPECT_EQ(XPDescribed({{kXPToolBar, 1, 5, rect}}), DrawnParts());
}

TEST_F(NativeXPStubStyleTest, AFailedMenuBorderFallsBackToTheClassicPopupFrame)
{
    XPScene scene;
    struct FrameCase
    {
        const char* name;
        BOOL flatMenus;
    } const cases[] = {{"flat menus", TRUE}, {"raised menus", FALSE}};
    for (const FrameCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        ResetThemeStub(m_stub);
        m_stub->drawPartFails = TRUE;
        m_stub->failingDrawPart = 10;
        MakeTheme();
        theme->FlatMenus = c.flatMenus;
        m_stub->drawCount = 0;
        DcTestSurface canvas(120, 90, kXPCanvas);
        theme->FillCommandBar(canvas.dc(), scene.popup);
        // The borders were asked for once, and the background was not drawn over the classic frame.
        EXPECT_EQ(XPDescribed({{kXPMenu, 10, 0, CRect(0, 0, 120, 90)}}), DrawnParts());
        const CRect client(0, 0, 120, 90);
        if (c.flatMenus)
        {
            EXPECT_TRUE(canvas.Has3dFrame(client, theme->GetColor(COLOR_BTNSHADOW), theme->GetColor(COLOR_BTNSHADOW)));
            EXPECT_TRUE(canvas.FilledWith(CRect(1, 1, 119, 89), theme->GetColor(COLOR_MENU)));
        }
        else
        {
            EXPECT_TRUE(canvas.Has3dFrame(client, theme->GetColor(COLOR_BTNFACE), theme->GetColor(COLOR_3DDKSHADOW)));
            EXPECT_TRUE(canvas.Has3dFrame(CRect(1, 1, 119, 89), theme->GetColor(COLOR_BTNHIGHLIGHT),
                                          theme->GetColor(COLOR_BTNSHADOW)));
            EXPECT_TRUE(canvas.FilledWith(CRect(2, 2, 118, 88), theme->GetColor(COLOR_MENU)));
        }
    }
}

TEST_F(NativeXPStubStyleTest, AFlatMenuBarShowsItsOpenMenuInTheSelectionColours)
{
    XPScene scene;
    MakeTheme();
    theme->m_flatMenuBar = TRUE;
    struct MenuBarCase
    {
        const char* name;
        int selected, pressed;
        BOOL popped;
        BOOL highlighted;
    } const cases[] = {
        {"idle", 0, 0, FALSE, FALSE},
        {"hot", 1, 0, FALSE, TRUE},
        {"pressed", 0, 1, FALSE, TRUE},
        {"open", 0, 0, TRUE, TRUE},
    };
    for (const MenuBarCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        Stated<COSMControlPopup> control;
        control.SetType(2);
        control.SetParent(scene.menuBar);
        control.SetRect(CRect(2, 1, 48, 21));
        control.selected = c.selected;
        control.pressed = c.pressed;
        control.popupOpen = c.popped;
        m_stub->drawCount = 0;
        DcTestSurface canvas(50, 22, kXPCanvas);
        theme->DrawControlBackground(canvas.dc(), &control);
        EXPECT_EQ(0, m_stub->drawCount);
        if (c.highlighted)
        {
            EXPECT_TRUE(canvas.FilledWith(CRect(2, 1, 48, 21), theme->GetColor(COLOR_HIGHLIGHT)));
            EXPECT_EQ(theme->GetColor(COLOR_HIGHLIGHTTEXT), theme->GetControlTextColor(&control));
        }
        else
        {
            EXPECT_TRUE(canvas.Untouched());
            EXPECT_EQ(theme->GetColor(COLOR_BTNTEXT), theme->GetControlTextColor(&control));
        }
    }
    // A menu bar that is not flat keeps the toolbar's hot button.
    theme->m_flatMenuBar = FALSE;
    Stated<COSMControlPopup> control;
    control.SetType(2);
    control.SetParent(scene.menuBar);
    control.SetRect(CRect(2, 1, 48, 21));
    control.selected = 1;
    m_stub->drawCount = 0;
    DcTestSurface canvas(50, 22, kXPCanvas);
    theme->DrawControlBackground(canvas.dc(), &control);
    EXPECT_EQ(XPDescribed({{kXPToolBar, 1, 2, CRect(2, 1, 48, 21)}}), DrawnParts());
}

TEST_F(NativeXPStubStyleTest, ToolbarSpecialButtonsGetNoClassicFaceUnderTheStyle)
{
    XPScene scene;
    MakeTheme();
    COSMDefaultTheme classic(m_functions);
    ASSERT_TRUE(themes_test::AssignUniqueColors(classic, themes_test::BaseExcludedColors()));
    classic.RefreshMetrics();
    for (int kind : {2, 3})
    {
        SCOPED_TRACE(kind);
        Stated<COSMControlButton> control;
        control.SetParent(scene.floatingToolBar);
        control.SetRect(CRect(2, 2, 20, 20));
        control.selected = 1;
        DcTestSurface drawn(24, 24, kXPCanvas);
        DcTestSurface classicCanvas(24, 24, kXPCanvas);
        m_stub->drawCount = 0;
        EXPECT_EQ(classic.DrawSpecialControl(classicCanvas.dc(), kind, &control, scene.floatingToolBar, TRUE, nullptr),
                  theme->DrawSpecialControl(drawn.dc(), kind, &control, scene.floatingToolBar, TRUE, nullptr));
        // The classic look fills the face first; here the hot button is the style's alone (the stand-in paints
        // nothing), with the glyph over it.
        EXPECT_EQ(classic.GetColor(COLOR_BTNFACE), classicCanvas.Pixel(3, 3));
        EXPECT_EQ(kXPCanvas, drawn.Pixel(3, 3));
        const std::vector<std::string> parts = DrawnParts();
        EXPECT_NE(parts.end(),
                  std::find(parts.begin(), parts.end(), XPDescribe({kXPToolBar, 1, 2, CRect(2, 2, 20, 20)})));
        EXPECT_GT(drawn.CountNot(kXPCanvas), 0);
    }
}

// "TOOLBAR" and "MENU" open, "REBAR" not: bars fall back to the Default look, the menu's own parts still use "MENU".
TEST_F(NativeXPStubStyleTest, WithoutTheRebarClassBarsAreClassicButMenusKeepTheirStyle)
{
    wcscpy(m_stub->refusedClasses, L"REBAR;");
    MakeTheme();
    ASSERT_TRUE(theme->GetToolBarTheme().IsOpen());
    ASSERT_TRUE(theme->GetMenuTheme().IsOpen());
    ASSERT_FALSE(theme->GetRebarTheme().IsOpen());
    ASSERT_FALSE(theme->IsStyled());
    COSMDefaultTheme classic(m_functions);
    GiveNativeXPOptions(classic);
    ASSERT_TRUE(themes_test::AssignUniqueColors(classic, themes_test::BaseExcludedColors()));
    classic.RefreshMetrics();
    XPScene scene;

    // Bars, grippers, separators and state rectangles: the Default look's, pixel for pixel.
    const std::function<void(COSMDefaultTheme&, CDC*)> classicSteps[] = {
        [&](COSMDefaultTheme& t, CDC* dc) { t.FillCommandBar(dc, scene.topToolBar); },
        [&](COSMDefaultTheme& t, CDC* dc) { t.FillCommandBar(dc, scene.popup); },
        [&](COSMDefaultTheme& t, CDC* dc) { t.DrawCommandBarGripper(dc, scene.topToolBar, TRUE); },
        [&](COSMDefaultTheme& t, CDC* dc) {
            COSMControlButton control;
            XPPlaceSeparator(control, scene.topToolBar, CRect(40, 2, 46, 24), CRect(0, 2, 120, 24), FALSE);
            t.DrawCommandBarSeparator(dc, scene.topToolBar, &control, TRUE);
        },
        [&](COSMDefaultTheme& t, CDC* dc) { t.DrawStateRectangle(dc, CRect(1, 1, 30, 22), 1, 0, 1, 0, 0, 1, 0); },
    };
    int step = 0;
    for (const auto& draw : classicSteps)
    {
        SCOPED_TRACE(step++);
        m_stub->drawCount = 0;
        DcTestSurface drawn(120, 90, kXPCanvas);
        DcTestSurface expected(120, 90, kXPCanvas);
        draw(*theme, drawn.dc());
        draw(classic, expected.dc());
        EXPECT_TRUE(drawn.EqualsCanvas(expected));
        EXPECT_EQ(0, m_stub->drawCount);
    }

    // Menu marks, the icon column and popup text still go through "MENU".
    m_stub->drawCount = 0;
    DcTestSurface canvas(60, 60, kXPCanvas);
    theme->DrawMenuCheckMark(canvas.dc(), CRect(0, 0, 20, 20), theme->GetColor(COLOR_MENUTEXT), TRUE);
    theme->FillPopupBarGripper(canvas.dc(), 0, 0, 20, 50, FALSE);
    EXPECT_EQ(XPDescribed({{kXPMenu, 11, 1, CRect(0, 0, 20, 20)}, {kXPMenu, 13, 0, CRect(0, 0, 20, 50)}}),
              DrawnParts());
    // A selected popup row's text keeps the popup text colour, where the Default look turns it to 14.
    EXPECT_EQ(theme->GetColor(COLOR_MENUTEXT), theme->GetStateTextColor(TRUE, FALSE, TRUE, FALSE, FALSE, 2, 5));
    EXPECT_EQ(classic.GetColor(COLOR_HIGHLIGHTTEXT), classic.GetStateTextColor(TRUE, FALSE, TRUE, FALSE, FALSE, 2, 5));
    EXPECT_EQ(theme->GetColor(COLOR_GRAYTEXT), theme->GetStateTextColor(TRUE, FALSE, FALSE, FALSE, FALSE, 2, 5));
    // Off the popup position the Default look's colours stand.
    EXPECT_EQ(classic.GetStateTextColor(TRUE, FALSE, TRUE, FALSE, FALSE, 2, 4),
              theme->GetStateTextColor(TRUE, FALSE, TRUE, FALSE, FALSE, 2, 4));
}

// A class the style lacks leaves the operations drawn through it to the Default look, the others still styled.
TEST_F(NativeXPStubStyleTest, AClassThatDoesNotOpenLeavesItsOperationsToTheDefaultLook)
{
    XPScene scene;
    struct MissingClassCase
    {
        const char* name;
        const wchar_t* refused;
        CSize canvas;
        std::function<void(COSMDefaultTheme&, CDC*)> draw;
    } const cases[] = {
        {"WINDOW: the floating caption", L"WINDOW;", CSize(120, 40),
         [&](COSMDefaultTheme& t, CDC* dc) { t.DrawCommandBarGripper(dc, scene.floatingToolBar, TRUE); }},
        {"COMBOBOX: edit frame and drop-down button", L"COMBOBOX;", CSize(60, 22),
         [&](COSMDefaultTheme& t, CDC* dc) {
             t.DrawEditControlFrame(dc, CRect(2, 0, 58, 22), TRUE, 1);
             t.DrawComboBoxDropDownButton(dc, CRect(40, 0, 56, 22), TRUE, TRUE, FALSE);
         }},
        {"SPIN: spin buttons", L"SPIN;", CSize(80, 22),
         [&](COSMDefaultTheme& t, CDC* dc) {
             Stated<COSMControlEdit> edit;
             edit.SetParent(scene.plainToolBar);
             edit.SetRect(CRect(0, 0, 80, 22));
             edit.SetShowSpinButtons(TRUE);
             edit.selected = 4;
             edit.pressed = 4;
             t.DrawEditSpinButtons(dc, &edit);
         }},
        {"MENU: marks, icon column and popup row", L"MENU;", CSize(60, 40),
         [&](COSMDefaultTheme& t, CDC* dc) {
             t.DrawMenuCheckMark(dc, CRect(0, 0, 20, 20), t.GetColor(COLOR_MENUTEXT), TRUE);
             t.DrawMenuRadioMark(dc, CRect(20, 0, 40, 20), t.GetColor(COLOR_GRAYTEXT), FALSE);
             t.FillPopupBarGripper(dc, 40, 0, 20, 40, FALSE);
         }},
    };
    for (const MissingClassCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        ResetThemeStub(m_stub);
        wcscpy(m_stub->refusedClasses, c.refused);
        MakeTheme();
        ASSERT_TRUE(theme->IsStyled());
        COSMDefaultTheme classic(m_functions);
        GiveNativeXPOptions(classic);
        ASSERT_TRUE(themes_test::AssignUniqueColors(classic, themes_test::BaseExcludedColors()));
        classic.RefreshMetrics();
        m_stub->drawCount = 0;
        DcTestSurface drawn(c.canvas.cx, c.canvas.cy, kXPCanvas);
        DcTestSurface expected(c.canvas.cx, c.canvas.cy, kXPCanvas);
        c.draw(*theme, drawn.dc());
        c.draw(classic, expected.dc());
        EXPECT_EQ(0, m_stub->drawCount);
        EXPECT_GT(drawn.CountNot(kXPCanvas), 0);
        EXPECT_TRUE(drawn.EqualsCanvas(expected));
    }
}

TEST_F(NativeXPStubStyleTest, TheIconColumnIsThreeWiderWithTheMenuClass)
{
    XPScene scene;
    COSMDefaultTheme classic(m_functions);
    classic.RefreshMetrics();
    for (BOOL menu : {TRUE, FALSE})
    {
        SCOPED_TRACE(menu ? "MENU open" : "MENU refused");
        ResetThemeStub(m_stub);
        if (!menu)
            wcscpy(m_stub->refusedClasses, L"MENU;");
        MakeTheme();
        ASSERT_EQ(menu, theme->GetMenuTheme().IsOpen());
        theme->SetControlHeight(classic.GetRawControlHeight());
        const int classicWidth = classic.GetPopupBarGripperWidth(scene.popup);
        ASSERT_GT(classicWidth, 0);
        EXPECT_EQ(classicWidth + (menu ? 3 : 0), theme->GetPopupBarGripperWidth(scene.popup));
        EXPECT_EQ(0, theme->GetPopupBarGripperWidth(scene.topToolBar));
    }
}

TEST_F(NativeXPStubStyleTest, StyledPopupRowsGrowThreeTallerAndShrinkThreeNarrower)
{
    XPScene scene;
    MakeTheme();
    struct AdjustCase
    {
        const char* name;
        COSMCommandBar* bar;
        int type;
        CRect expected;
    } const cases[] = {
        {"popup row", scene.popup, 1, CRect(13, 7, 37, 35)},
        {"popup combo box", scene.popup, 5, CRect(10, 10, 40, 32)},
        {"toolbar button", scene.topToolBar, 1, CRect(10, 10, 40, 32)},
        {"no bar", nullptr, 1, CRect(10, 10, 40, 32)},
    };
    for (const AdjustCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        COSMControlButton control;
        control.SetType(c.type);
        if (c.bar)
            control.SetParent(c.bar);
        for (BOOL vertical : {FALSE, TRUE})
        {
            CRect rect(10, 10, 40, 32);
            theme->AdjustControlRect(rect, &control, vertical);
            EXPECT_EQ(c.expected, rect);
        }
    }
}

TEST_F(NativeXPStubStyleTest, AFloatingBarsCaptionIsTheSmallCaptionWithItsTitle)
{
    XPScene scene;
    MakeTheme();
    DcTestSurface measured(120, 40, kXPCanvas);
    EXPECT_EQ(CSize(0, 0), theme->DrawCommandBarGripper(nullptr, scene.floatingToolBar, TRUE));
    m_stub->drawCount = 0;
    const CSize size = theme->DrawCommandBarGripper(measured.dc(), scene.floatingToolBar, FALSE);
    EXPECT_EQ(0, m_stub->drawCount);
    EXPECT_TRUE(measured.Untouched());
    EXPECT_EQ(120, size.cx);
    EXPECT_GE(size.cy, 15);

    DcTestSurface drawn(120, 40, kXPCanvas);
    EXPECT_EQ(size, theme->DrawCommandBarGripper(drawn.dc(), scene.floatingToolBar, TRUE));
    EXPECT_EQ(XPDescribed({{kXPWindow, 2, 1, CRect(0, 0, 120, size.cy + 3)}}), DrawnParts());
    // The stand-in paints nothing: what shows is the title, in the caption text colour (the fixture's colour of that
    // table entry), inside its strip.
    const COLORREF text = themes_test::UniqueColor(COLOR_CAPTIONTEXT);
    const CRect textArea(5, 3, 120 + 3 - 2 * (size.cy + 3), size.cy + 3);
    int inside = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x)
            if (drawn.Pixel(x, y) != kXPCanvas)
            {
                EXPECT_TRUE(textArea.PtInRect(CPoint(x, y))) << x << "," << y;
                inside += drawn.Pixel(x, y) == text;
            }
    EXPECT_GT(inside, 5);
    // A dialog bar floating keeps the Default look's background.
    COSMDefaultTheme classic(m_functions);
    ASSERT_TRUE(themes_test::AssignUniqueColors(classic, themes_test::BaseExcludedColors()));
    classic.RefreshMetrics();
    DcTestSurface dialog(120, 40, kXPCanvas);
    DcTestSurface classicDialog(120, 40, kXPCanvas);
    theme->FillCommandBar(dialog.dc(), scene.floatingDialogBar);
    classic.FillCommandBar(classicDialog.dc(), scene.floatingDialogBar);
    EXPECT_TRUE(dialog.EqualsCanvas(classicDialog));
}

TEST_F(NativeXPStubStyleTest, SeparatorsOfPopupsThatStartAColumnAndOfUnknownPlacesAreTheDefaultLooks)
{
    XPScene scene;
    MakeTheme();
    COSMDefaultTheme classic(m_functions);
    ASSERT_TRUE(themes_test::AssignUniqueColors(classic, themes_test::BaseExcludedColors()));
    classic.RefreshMetrics();
    COSMControlButton control;
    XPPlaceSeparator(control, scene.popup, CRect(60, 3, 117, 25), CRect(60, 3, 117, 87), TRUE);
    m_stub->drawCount = 0;
    DcTestSurface drawn(120, 90, kXPCanvas);
    DcTestSurface expected(120, 90, kXPCanvas);
    EXPECT_EQ(CSize(0, 0), theme->DrawCommandBarSeparator(drawn.dc(), scene.popup, &control, TRUE));
    classic.DrawCommandBarSeparator(expected.dc(), scene.popup, &control, TRUE);
    EXPECT_TRUE(drawn.EqualsCanvas(expected));
    EXPECT_EQ(0, m_stub->drawCount);
    // Drawing with no control draws nothing; measuring gives the Default look's sizes.
    EXPECT_EQ(CSize(0, 0), theme->DrawCommandBarSeparator(drawn.dc(), scene.popup, nullptr, TRUE));
    EXPECT_EQ(CSize(8, 8), theme->DrawCommandBarSeparator(nullptr, scene.popup, nullptr, FALSE));
    EXPECT_EQ(CSize(6, 6), theme->DrawCommandBarSeparator(nullptr, scene.menuBar, nullptr, FALSE));
}

TEST_F(NativeXPStubStyleTest, TheEditFrameIsTheComboBorderColourByState)
{
    MakeTheme();
    m_stub->colorFromQuery = TRUE;
    for (BOOL enabled : {TRUE, FALSE})
    {
        SCOPED_TRACE(enabled);
        DcTestSurface canvas(60, 22, kXPCanvas);
        const CRect rect(2, 0, 58, 22);
        theme->DrawEditControlFrame(canvas.dc(), rect, enabled, 1);
        const COLORREF border = RGB(1, enabled ? 1 : 4, 3801 % 256);
        EXPECT_TRUE(canvas.Has3dFrame(rect, border, border));
        EXPECT_TRUE(canvas.UntouchedOutside(rect));
        EXPECT_TRUE(canvas.Untouched(CRect(3, 1, 57, 21)));
    }
    // A colour the style does not give: the shadow.
    m_stub->themeColorResult = kNoSuchProperty;
    DcTestSurface canvas(60, 22, kXPCanvas);
    theme->DrawEditControlFrame(canvas.dc(), CRect(2, 0, 58, 22), TRUE, 0);
    EXPECT_TRUE(
        canvas.Has3dFrame(CRect(2, 0, 58, 22), theme->GetColor(COLOR_BTNSHADOW), theme->GetColor(COLOR_BTNSHADOW)));
}

// ---- Refresh ----

TEST_F(NativeXPStubStyleTest, TheRefreshOpensTheSixClassesAndClosesThemAtTheEnd)
{
    MakeTheme();
    for (int c = 0; c < kXPClassCount; ++c)
        EXPECT_TRUE(XPWrapperOf(*theme, c).IsOpen()) << XPDescribe({c, 0, 0, CRect()});
    const LONG closedBefore = Calls(CThemeStubState::kCloseThemeData);
    theme.reset();
    // The six, the status bar's and the check marks' classes.
    EXPECT_EQ(closedBefore + 8, Calls(CThemeStubState::kCloseThemeData));
}

TEST_F(NativeXPStubStyleTest, MenuStylesWithoutAPopupBorderSizeAreNotUsed)
{
    m_stub->themeIntResult = kNoSuchProperty;
    MakeTheme();
    EXPECT_FALSE(theme->GetMenuTheme().IsOpen());
    EXPECT_TRUE(theme->IsStyled());
    // The popup background's border size was the one integer asked for.
    EXPECT_EQ(1, Calls(CThemeStubState::kGetThemeInt));
    ResetThemeStub(m_stub);
    MakeTheme();
    EXPECT_TRUE(theme->GetMenuTheme().IsOpen());
}

TEST_F(NativeXPStubStyleTest, FlatMenusComeFromTheSystemSettingOrTheRebarsFlag)
{
    struct FlatCase
    {
        const char* name;
        BOOL readSucceeds;
        BOOL value;
        BOOL rebar;  // "REBAR" opens
        BOOL flat;
    } const cases[] = {
        {"setting on", TRUE, TRUE, TRUE, TRUE},
        {"setting off, the rebar's flag", TRUE, FALSE, TRUE, TRUE},
        {"setting off, no rebar", TRUE, FALSE, FALSE, FALSE},
        {"setting unread, the rebar's flag", FALSE, TRUE, TRUE, TRUE},
        {"setting unread, no rebar", FALSE, TRUE, FALSE, FALSE},
    };
    for (const FlatCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        ResetThemeStub(m_stub);
        if (!c.rebar)
            wcscpy(m_stub->refusedClasses, L"REBAR;");
        theme = std::make_unique<FlatMenuNativeXPTheme>(m_functions);
        theme->flatMenuReadSucceeds = c.readSucceeds;
        theme->flatMenuValue = c.value;
        theme->RefreshMetrics();
        EXPECT_EQ(1, theme->flatMenuReads);
        EXPECT_EQ(c.flat, theme->FlatMenus);
        // Without flat menus the menu highlight is the selection colour.
        const COLORREF highlight = theme->GetColorEntry(COLOR_MENUHILIGHT).GetStandardValue();
        if (c.flat)
            EXPECT_EQ(GetColorManager()->GetColor(COLOR_MENUHILIGHT), highlight);
        else
            EXPECT_EQ(theme->GetColor(COLOR_HIGHLIGHT), highlight);
    }
}

TEST_F(NativeXPStubStyleTest, TheToolbarTextAndBandEdgesComeFromTheStyleOrTheButtonColours)
{
    // From the style: each query answers a colour of its own.
    m_stub->colorFromQuery = TRUE;
    theme = std::make_unique<FlatMenuNativeXPTheme>(m_functions);
    theme->RefreshMetrics();
    EXPECT_EQ(RGB(0, 0, 3803 % 256), theme->GetColorEntry(COLOR_BTNTEXT).GetStandardValue());
    EXPECT_EQ(RGB(3, 0, 3806 % 256), theme->GetBandEdgeShadowColor());
    EXPECT_EQ(RGB(3, 0, 3805 % 256), theme->GetBandEdgeHighlightColor());

    // Colours the style does not give, or classes not open: the button colours.
    struct FallbackCase
    {
        const char* name;
        HRESULT colorResult;
        const wchar_t* refused;
    } const cases[] = {
        {"no such colours", kNoSuchProperty, L""},
        {"no rebar or toolbar", S_OK, L"REBAR;TOOLBAR;"},
    };
    for (const FallbackCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        ResetThemeStub(m_stub);
        m_stub->colorFromQuery = TRUE;
        m_stub->themeColorResult = c.colorResult;
        wcscpy(m_stub->refusedClasses, c.refused);
        theme = std::make_unique<FlatMenuNativeXPTheme>(m_functions);
        theme->RefreshMetrics();
        EXPECT_EQ(GetColorManager()->GetColor(COLOR_BTNTEXT), theme->GetColorEntry(COLOR_BTNTEXT).GetStandardValue());
        EXPECT_EQ(theme->GetColor(COLOR_BTNSHADOW), theme->GetBandEdgeShadowColor());
        EXPECT_EQ(theme->GetColor(COLOR_BTNHIGHLIGHT), theme->GetBandEdgeHighlightColor());
    }
}

// ---- Styles on: the platform's own pixels ----

class NativeXPPlatformStyleTest : public foundation_test::PaintManagerTest
{
protected:
    void SetUp() override
    {
        PaintManagerTest::SetUp();
        theme = std::make_unique<COSMNativeXPTheme>();
        theme->RefreshMetrics();
        // The comparisons below are the point of these tests: a machine without an active visual style cannot pass
        // them by drawing nothing.
        ASSERT_TRUE(theme->IsStyled()) << "no visual style is active: these tests compare themed pixels";
        for (int c = 0; c < kXPClassCount; ++c)
        {
            ASSERT_TRUE(twins[c].OpenThemeData(nullptr, kXPClassNames[c])) << XPDescribe({c, 0, 0, CRect()});
            ASSERT_TRUE(XPWrapperOf(*theme, c).IsOpen()) << XPDescribe({c, 0, 0, CRect()});
        }
    }
    void TearDown() override
    {
        theme.reset();
        PaintManagerTest::TearDown();
    }

    std::unique_ptr<COSMNativeXPTheme> theme;
    COSMVisualStyleWrapper twins[kXPClassCount];
};

TEST_F(NativeXPPlatformStyleTest, EachDrawingEqualsItsPartDrawnDirectly)
{
    XPScene scene;
    int paintedCases = 0;
    for (const XPStyledCase& c : StyledCases(scene))
    {
        SCOPED_TRACE(c.name);
        DcTestSurface drawn(c.canvas.cx, c.canvas.cy, kXPCanvas);
        DcTestSurface twin(c.canvas.cx, c.canvas.cy, kXPCanvas);
        c.draw(*theme, drawn.dc());
        if (c.before)
            c.before(*theme, twin.dc());
        for (const XPStylePart& part : c.parts(*theme))
            EXPECT_EQ(S_OK, twins[part.styleClass].DrawThemeBackground(twin.GetDC(), part.part, part.state, &part.rect,
                                                                       nullptr));
        if (c.after)
            c.after(*theme, twin.dc());
        EXPECT_TRUE(drawn.EqualsCanvas(twin));
        paintedCases += drawn.CountNot(kXPCanvas) > 0;
    }
    // Some parts the platform paints as nothing (a normal toolbar button); most show.
    EXPECT_GT(paintedCases, 40);
}

TEST_F(NativeXPPlatformStyleTest, TheRefreshReadsThePlatformsColoursAndFlatMenus)
{
    COLORREF text = 0, shadow = 0, highlight = 0;
    ASSERT_EQ(S_OK, twins[kXPToolBar].GetThemeColor(0, 0, 3803, &text));
    EXPECT_EQ(text, theme->GetColorEntry(COLOR_BTNTEXT).GetStandardValue());
    const COLORREF expectedShadow =
        SUCCEEDED(twins[kXPRebar].GetThemeColor(3, 0, 3806, &shadow)) ? shadow : theme->GetColor(COLOR_BTNSHADOW);
    const COLORREF expectedHighlight = SUCCEEDED(twins[kXPRebar].GetThemeColor(3, 0, 3805, &highlight))
                                           ? highlight
                                           : theme->GetColor(COLOR_BTNHIGHLIGHT);
    EXPECT_EQ(expectedShadow, theme->GetBandEdgeShadowColor());
    EXPECT_EQ(expectedHighlight, theme->GetBandEdgeHighlightColor());
    BOOL flat = FALSE;
    const BOOL read = ::SystemParametersInfoA(SPI_GETFLATMENU, 0, &flat, 0);
    const BOOL expectedFlat = (read && flat) || twins[kXPRebar].GetThemeSysBool(1001);
    EXPECT_EQ(expectedFlat, theme->FlatMenus);
}

}  // namespace
