// The custom control on real windows: the hosted popup taken into the bar's window at the first placement, its size,
// drawing and enabling, the vertical options, copies sharing one window, finding the window again by its child id
// when bars load, and the mouse moving over the window reaching the bar.
#include "CommandBarsTestSupport.h"
#include "DockTestSupport.h"
#include "PropExchangeTestSupport.h"

#include "classlib/Archive.h"
#include "classlib/DC.h"
#include "classlib/MemFile.h"
#include "framework/commandbars/CommandBarParams.h"
#include "framework/commandbars/ControlButton.h"
#include "framework/controls/ControlCustom.h"
#include "framework/foundation/PropExchangeArchive.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

using namespace commandbars_test;
using prop_exchange_test::NamedTestStore;

namespace {

// A window of the application's: a popup until a bar takes it.
class HostedWindow : public CWnd
{
public:
    explicit HostedWindow(DWORD style = WS_POPUP | WS_VISIBLE, CWnd* parent = nullptr, UINT id = 0)
    {
        CreateEx(0, AfxRegisterWndClass(0), "Hosted", style, 300, 300, 60, 20, parent ? parent->GetSafeHwnd() : nullptr,
                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
    }
    ~HostedWindow() override { DestroyWindow(); }
};

class ControlCustomTest : public CommandBarsTest
{
protected:
    void SetUp() override
    {
        CommandBarsTest::SetUp();
        ASSERT_TRUE(CreateBarWindow(bar, 300, 40, TRUE));
        ASSERT_NE(nullptr, window.GetSafeHwnd());
        custom = static_cast<COSMControlCustom*>(bar.GetControls()->Add(COSMControlFactory::kTypeCustom, 4701));
        ASSERT_NE(nullptr, custom);
        custom->SetCaption("Zoom");
    }
    void TearDown() override
    {
        bar.GetControls()->RemoveAll();
        bar.DestroyWindow();
        CommandBarsTest::TearDown();
    }

    // The window's rectangle in the bar's client.
    CRect RectInBar(HWND hwnd) const
    {
        CRect rect;
        ::GetWindowRect(hwnd, &rect);
        ::MapWindowPoints(nullptr, bar.GetSafeHwnd(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    // The size a plain button with the same caption and id measures in this bar.
    CSize ButtonSize()
    {
        COSMControl* button = bar.GetControls()->Add(COSMControlFactory::kTypeButton, 4701);
        button->SetCaption(custom->GetCaptionText());
        CClientDC dc(&bar);
        const CSize size = button->GetSize(&dc);
        bar.GetControls()->Remove(button);
        return size;
    }
    CSize MeasureCustom()
    {
        CClientDC dc(&bar);
        return custom->GetSize(&dc);
    }
    BOOL IsWindowShowing() const { return (::GetWindowLongPtrA(window.GetSafeHwnd(), GWL_STYLE) & WS_VISIBLE) != 0; }

    COSMCommandBar bar;
    HostedWindow window;
    COSMControlCustom* custom = nullptr;
};

}  // namespace

TEST_F(ControlCustomTest, TypeSevenMakesACustomControlOfTypeOne)
{
    EXPECT_EQ(RUNTIME_CLASS(COSMControlCustom), custom->GetRuntimeClass());
    EXPECT_EQ(1, custom->GetType());
    EXPECT_EQ(COSMControl::kFlagNoMovable, custom->GetFlags());
    EXPECT_EQ(RUNTIME_CLASS(COSMControlCustom), CRuntimeClass::FromName("COSMControlCustom"));
}

TEST_F(ControlCustomTest, FirstPlacementMakesThePopupAChildOfTheBarInsideTheBorders)
{
    custom->SetControlWindow(window.GetSafeHwnd());
    custom->SetBorders(CRect(2, 3, 4, 5));
    custom->SetControlSize(CSize(80, 20));
    EXPECT_EQ(CSize(86, 28), MeasureCustom());

    custom->SetRect(CRect(10, 4, 96, 32));
    const HWND hwnd = window.GetSafeHwnd();
    EXPECT_EQ(bar.GetSafeHwnd(), ::GetParent(hwnd));
    const LONG_PTR style = ::GetWindowLongPtrA(hwnd, GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_FALSE(style & WS_POPUP);
    EXPECT_EQ(CRect(12, 7, 92, 27), RectInBar(hwnd));
    EXPECT_TRUE(::IsWindowVisible(hwnd));

    // The window paints itself: the control draws nothing over it.
    custom->SetSelected(1);
    auto* pm = static_cast<COSMTestPaintManager*>(bar.GetPaintManager());
    pm->ClearCalls();
    {
        CClientDC dc(&bar);
        custom->Draw(&dc);
    }
    EXPECT_TRUE(pm->GetCalls().empty());

    // Enabling reaches the window.
    custom->SetEnabled(0);
    EXPECT_FALSE(::IsWindowEnabled(hwnd));
    custom->SetEnabled(1);
    EXPECT_TRUE(::IsWindowEnabled(hwnd));

    // Moving the control moves the window; an unchanged rectangle moves nothing.
    custom->SetRect(CRect(20, 4, 106, 32));
    EXPECT_EQ(CRect(22, 7, 102, 27), RectInBar(hwnd));
    ::MoveWindow(hwnd, 0, 0, 10, 10, FALSE);
    custom->SetRect(CRect(20, 4, 106, 32));
    EXPECT_EQ(CRect(0, 0, 10, 10), RectInBar(hwnd));

    // Hidden by a hide flag, and back.
    custom->SetHideFlags(COSMControl::kHideHidden);
    EXPECT_FALSE(IsWindowShowing());
    custom->SetHideFlags(0);
    EXPECT_TRUE(IsWindowShowing());
}

TEST_F(ControlCustomTest, WithoutAWindowItIsAButton)
{
    custom->SetControlSize(CSize(80, 20));
    const CSize buttonSize = ButtonSize();
    EXPECT_EQ(buttonSize, MeasureCustom());
    custom->SetRect(CRect(10, 4, 96, 32));
    custom->SetSelected(1);
    auto* pm = static_cast<COSMTestPaintManager*>(bar.GetPaintManager());
    pm->ClearCalls();
    {
        CClientDC dc(&bar);
        custom->Draw(&dc);
    }
    EXPECT_FALSE(pm->GetCalls().empty());

    // A destroyed window counts as none.
    HostedWindow gone;
    custom->SetControlWindow(gone.GetSafeHwnd());
    EXPECT_EQ(CSize(80, 20), MeasureCustom());
    gone.DestroyWindow();
    EXPECT_EQ(buttonSize, MeasureCustom());
    custom->SetRect(CRect(0, 0, 50, 20));
}

TEST_F(ControlCustomTest, VerticalOptionsDecideWhatAVerticalBarShows)
{
    custom->SetControlWindow(window.GetSafeHwnd());
    custom->SetControlSize(CSize(80, 20));
    custom->SetRect(CRect(10, 4, 90, 24));
    const CSize buttonSize = ButtonSize();
    const struct
    {
        DWORD options;
        DWORD layoutMode;
        DWORD hideFlags;
        BOOL windowShown;
        BOOL showing;
        CSize size;
    } cases[] = {
        {0, 0x10, COSMControlCustom::kHideVertical, TRUE, FALSE, CSize(80, 20)},
        {0, 0x10 | LM_COMMIT, COSMControlCustom::kHideVertical, TRUE, FALSE, CSize(80, 20)},
        {0, 0, 0, TRUE, TRUE, CSize(80, 20)},
        {1, 0x10, 0, TRUE, TRUE, CSize(80, 20)},
        {1, 0, 0, TRUE, TRUE, CSize(80, 20)},
        {2, 0x10, 0, FALSE, FALSE, buttonSize},
        {2, 0, 0, TRUE, TRUE, CSize(80, 20)},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "options " << c.options << " mode " << c.layoutMode);
        custom->SetVerticalOptions(c.options);
        custom->BuildDynamicItems(c.layoutMode);
        EXPECT_EQ(c.hideFlags, custom->GetHideFlags());
        EXPECT_EQ(c.windowShown, custom->IsWindowShown());
        EXPECT_EQ(c.showing, IsWindowShowing());
        EXPECT_EQ(c.size, MeasureCustom());
    }
}

TEST_F(ControlCustomTest, CopiesShareOneWindowAndRemovingOneHidesIt)
{
    custom->SetControlWindow(window.GetSafeHwnd());
    custom->SetBorders(CRect(1, 1, 1, 1));
    custom->SetControlSize(CSize(70, 18));
    custom->SetVerticalOptions(2);
    custom->SetControlId(4711);
    custom->SetRect(CRect(0, 2, 72, 22));
    ASSERT_TRUE(IsWindowShowing());

    RefPtr<COSMControl> clone = AdoptRef(custom->Clone(FALSE));
    auto* copy = dynamic_cast<COSMControlCustom*>(clone.Get());
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(window.GetSafeHwnd(), copy->GetControlWindow());
    EXPECT_EQ(CRect(1, 1, 1, 1), copy->GetBorders());
    EXPECT_EQ(CSize(70, 18), copy->GetControlSize());
    EXPECT_EQ(2u, copy->GetVerticalOptions());
    EXPECT_EQ(4711, copy->GetControlId());
    EXPECT_EQ("Zoom", std::string(copy->GetCaptionText()));

    bar.GetControls()->AddControl(copy, 4701, nullptr, -1, FALSE);
    clone->InternalAddRef();  // the collection holds its own reference now
    copy->SetRect(CRect(100, 2, 172, 22));
    EXPECT_EQ(CRect(101, 3, 171, 21), RectInBar(window.GetSafeHwnd()));
    bar.GetControls()->Remove(copy);
    EXPECT_FALSE(IsWindowShowing());
    EXPECT_FALSE(copy->IsWindowShown());
    // The window is only hidden, never destroyed.
    EXPECT_TRUE(::IsWindow(window.GetSafeHwnd()));
    EXPECT_EQ(window.GetSafeHwnd(), custom->GetControlWindow());
}

TEST_F(ControlCustomTest, DragsOverOnlyIntoPopupBars)
{
    for (int type : {0, 1, 2, 3})
    {
        COSMCommandBar target;
        target.SetType(type);
        int effect = DROPEFFECT_MOVE;
        EXPECT_EQ(type == 2, custom->IsCustomizeDragOverAllowed(&target, CPoint(1, 1), effect) != FALSE) << type;
        EXPECT_EQ(type == 2 ? DROPEFFECT_MOVE : 0, effect) << type;
    }
}

TEST_F(ControlCustomTest, AMouseMoveOverTheWindowReachesTheBarInItsClient)
{
    // A button at the bar's left, the custom control to its right.
    COSMControl* button = bar.GetControls()->Add(COSMControlFactory::kTypeButton, 4702, nullptr, 0);
    button->SetRect(CRect(0, 0, 30, 30));
    custom->SetControlWindow(window.GetSafeHwnd());
    custom->SetRect(CRect(40, 0, 120, 30));
    // Hot tracking of a bar that is not active asks for a popup's position.
    bar.SetPositionField(COSMCommandBar::kPositionPopup);
    ASSERT_EQ(bar.GetSafeHwnd(), ::GetParent(window.GetSafeHwnd()));

    const struct
    {
        int x;
        int selected;
    } cases[] = {{10, custom->GetIndex()}, {-25, button->GetIndex()}, {-45, -1}};
    for (const auto& c : cases)
    {
        bar.SetSelected(-1, FALSE);
        ::SendMessageA(window.GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<WORD>(c.x), 5));
        EXPECT_EQ(c.selected, bar.GetSelectedIndex()) << c.x;
    }
}

// ---- Finding the window again ----

namespace {

class ControlCustomLoadTest : public DockSiteTest
{
protected:
    // The custom control loaded from keys, with the manager's parameters on the exchange (or none).
    RefPtr<COSMControlCustom> Load(const std::map<std::string, std::string>& keys, long schema, bool withParams)
    {
        auto values = std::make_shared<NamedTestStore::Values>(keys);
        NamedTestStore store(values, true);
        store.m_nSchema = schema;
        COSMCommandBarsPersistParams params;
        params.commandBars = commandBars.Get();
        if (withParams)
            store.m_dwData = reinterpret_cast<DWORD_PTR>(&params);
        auto loaded = AdoptRef(new COSMControlCustom);
        loaded->DoPropExchange(&store);
        return loaded;
    }
};

}  // namespace

TEST_F(ControlCustomLoadTest, TheSiteIsSearchedFirstThenTheBarsInOrder)
{
    COSMToolBar* first = AddFilledToolBar("First", 701, {201});
    COSMToolBar* second = AddFilledToolBar("Second", 702, {202});
    ASSERT_TRUE(first && second);
    HostedWindow inSecond(WS_CHILD, second, 4711);
    HostedWindow alsoInSecond(WS_CHILD, second, 4712);
    HostedWindow inFirst(WS_CHILD, first, 4712);
    EXPECT_EQ(inSecond.GetSafeHwnd(), COSMControlCustom::FindControlWindow(commandBars.Get(), 4711)->GetSafeHwnd());
    EXPECT_EQ(inFirst.GetSafeHwnd(), COSMControlCustom::FindControlWindow(commandBars.Get(), 4712)->GetSafeHwnd());
    {
        HostedWindow inSite(WS_CHILD, &frame, 4711);
        EXPECT_EQ(inSite.GetSafeHwnd(), COSMControlCustom::FindControlWindow(commandBars.Get(), 4711)->GetSafeHwnd());
    }
    EXPECT_EQ(nullptr, COSMControlCustom::FindControlWindow(commandBars.Get(), 4713));
    EXPECT_EQ(nullptr, COSMControlCustom::FindControlWindow(nullptr, 4711));
}

TEST_F(ControlCustomLoadTest, LoadingFindsTheWindowByItsIdOrStaysAButton)
{
    HostedWindow inSite(WS_CHILD, &frame, 4711);
    const std::map<std::string, std::string> keys = {{"ControlId", "4711"}, {"VerticalOptions", "1"}};
    const struct
    {
        const char* name;
        std::map<std::string, std::string> keys;
        long schema;
        bool withParams;
        HWND window;
        int id;
    } cases[] = {
        {"matched", keys, 0x22, true, inSite.GetSafeHwnd(), 4711},
        {"unmatched", {{"ControlId", "4799"}, {"VerticalOptions", "1"}}, 0x22, true, nullptr, 4799},
        {"no parameters", keys, 0x22, false, nullptr, 4711},
        {"schema 5", keys, 5, true, nullptr, 0},
        {"schema 6", keys, 6, true, inSite.GetSafeHwnd(), 4711},
    };
    for (const auto& c : cases)
    {
        RefPtr<COSMControlCustom> loaded = Load(c.keys, c.schema, c.withParams);
        EXPECT_EQ(c.window, loaded->GetControlWindow()) << c.name;
        EXPECT_EQ(c.id, loaded->GetControlId()) << c.name;
        EXPECT_EQ(1u, loaded->GetVerticalOptions()) << c.name;
    }
}

TEST_F(ControlCustomLoadTest, KeysRoundTripAndSchemaFiveWritesNoId)
{
    COSMControlCustom source;
    source.SetBorders(CRect(1, 2, 3, 4));
    source.SetControlSize(CSize(90, 21));
    source.SetVerticalOptions(2);
    source.SetControlId(4711);
    for (long schema : {5L, 0x22L})
    {
        // The keys written at the schema.
        auto values = std::make_shared<NamedTestStore::Values>();
        {
            NamedTestStore store(values, false);
            store.m_nSchema = schema;
            source.DoPropExchange(&store);
        }
        EXPECT_EQ(1u, values->count("Borders")) << schema;
        EXPECT_EQ(1u, values->count("ControlSize")) << schema;
        EXPECT_EQ(1u, values->count("VerticalOptions")) << schema;
        EXPECT_EQ(schema > 5, values->count("ControlId") == 1) << schema;

        // The values through an archive and back.
        COSMControlCustom loaded;
        RoundTripAtSchema(source, loaded, schema);
        EXPECT_EQ(CRect(1, 2, 3, 4), loaded.GetBorders()) << schema;
        EXPECT_EQ(CSize(90, 21), loaded.GetControlSize()) << schema;
        EXPECT_EQ(2u, loaded.GetVerticalOptions()) << schema;
        EXPECT_EQ(schema > 5 ? 4711 : 0, loaded.GetControlId()) << schema;
    }
}
