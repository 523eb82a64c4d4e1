// What a control tells screen readers, asked through its own IAccessible as a reader would: its name with the
// shortcut, its role by the kind of bar, its state, location and hit test, its parent and child, and the click its
// default action runs.
#include "AccessibilityTestSupport.h"
#include "BarWindowTestSupport.h"

#include "framework/commandbars/ControlPopup.h"

#include <string>

using namespace commandbars_test;

namespace {

// The control's IAccessible, taken the way a client takes it: QueryInterface on the control's IDispatch.
struct AccessibleOf
{
    explicit AccessibleOf(COSMControl* control)
    {
        IDispatch* dispatch = control->GetIDispatch(FALSE);
        if (dispatch)
            dispatch->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&object));
    }
    ~AccessibleOf()
    {
        if (object)
            object->Release();
    }
    AccessibleOf(const AccessibleOf&) = delete;
    AccessibleOf& operator=(const AccessibleOf&) = delete;
    IAccessible* operator->() const { return object; }

    IAccessible* object = nullptr;
};

// Counts the clicks it gets and how they came.
class ClickCountingControl : public COSMControl
{
public:
    void OnClick(BOOL keyboard, CPoint point) override
    {
        ++clicks;
        lastKeyboard = keyboard;
        lastPoint = point;
    }

    int clicks = 0;
    BOOL lastKeyboard = FALSE;
    CPoint lastPoint{-1, -1};
};

class ControlAccessibilityTest : public CommandBarsTest
{
protected:
    void SetUp() override
    {
        CommandBarsTest::SetUp();
        open = bar.GetControls()->Add(1, 501);
        open->SetCaption("&Open");
        open->SetShortcutText("Ctrl+O");
        open->SetRect(CRect(2, 2, 22, 22));
        popup = static_cast<COSMControlPopup*>(bar.GetControls()->Append(COSMControlPopup::CreateControlPopup(2)));
        popup->SetCaption("&Edit");
        popup->SetRect(CRect(22, 2, 60, 22));
        popup->SetCommandBar(opened.Get());
    }

    long State(COSMControl* control)
    {
        VARIANT state;
        EXPECT_EQ(S_OK, AccessibleOf(control)->get_accState(Child(0), &state));
        return state.vt == VT_I4 ? state.lVal : -1;
    }

    TestWindowBar bar;
    RefPtr<COSMCommandBar> opened = AdoptRef(new COSMCommandBar);
    COSMControl* open = nullptr;
    COSMControlPopup* popup = nullptr;
};

TEST_F(ControlAccessibilityTest, NamesStripAccessKeysAndAddTheShortcutAfterATab)
{
    COSMControl* tooltipOnly = bar.GetControls()->Add(1, 503);
    tooltipOnly->SetTooltip("Print the page");
    const struct
    {
        COSMControl* control;
        long child;
        HRESULT result;
        const char* name;
    } cases[] = {
        {open, 0, S_OK, "Open\tCtrl+O"},
        {popup, 0, S_OK, "Edit"},
        {tooltipOnly, 0, S_OK, "Print the page"},  // no caption: the tooltip
        {open, 1, E_INVALIDARG, ""},
        {popup, 1, E_INVALIDARG, ""},  // the opened bar is a child, but has no name of the control's
        {open, -1, E_INVALIDARG, ""},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.name << " child " << c.child);
        AccessibleOf accessible(c.control);
        ASSERT_NE(nullptr, accessible.object);
        BSTR name = nullptr;
        EXPECT_EQ(c.result, accessible->get_accName(Child(c.child), &name));
        EXPECT_EQ(c.name, Narrow(name));
        ::SysFreeString(name);
    }

    open->SetDescription("Opens a document");
    BSTR text = nullptr;
    EXPECT_EQ(S_OK, AccessibleOf(open)->get_accDescription(Child(0), &text));
    EXPECT_EQ("Opens a document", Narrow(text));
    ::SysFreeString(text);
    text = nullptr;
    EXPECT_EQ(S_OK, AccessibleOf(open)->get_accDefaultAction(Child(0), &text));
    EXPECT_EQ("Click", Narrow(text));
    ::SysFreeString(text);
    text = nullptr;
    EXPECT_EQ(E_INVALIDARG, AccessibleOf(open)->get_accDefaultAction(Child(1), &text));
    EXPECT_EQ(nullptr, text);
}

TEST_F(ControlAccessibilityTest, TheParentIsTheBarAndTheOnlyChildTheBarItOpens)
{
    IDispatch* dispatch = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(S_OK, AccessibleOf(open)->get_accParent(&dispatch));
    EXPECT_EQ(bar.GetIDispatch(FALSE), dispatch);
    dispatch->Release();

    ClickCountingControl* loose = new ClickCountingControl;
    RefPtr<COSMControl> looseRef = AdoptRef<COSMControl>(loose);
    EXPECT_EQ(E_FAIL, AccessibleOf(loose)->get_accParent(&dispatch));
    EXPECT_EQ(nullptr, dispatch);

    const struct
    {
        COSMControl* control;
        long count;
        long child;
        COSMCommandBar* expected;
    } cases[] = {
        {open, 0, 1, nullptr},
        {popup, 1, 1, opened.Get()},
        {popup, 1, 0, nullptr},
        {popup, 1, 2, nullptr},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.child);
        AccessibleOf accessible(c.control);
        long count = -1;
        EXPECT_EQ(S_OK, accessible->get_accChildCount(&count));
        EXPECT_EQ(c.count, count);
        dispatch = reinterpret_cast<IDispatch*>(1);
        EXPECT_EQ(S_OK, accessible->get_accChild(Child(c.child), &dispatch));
        EXPECT_EQ(c.expected ? c.expected->GetIDispatch(FALSE) : nullptr, dispatch);
        if (dispatch)
            dispatch->Release();
    }
    EXPECT_EQ(E_INVALIDARG, AccessibleOf(open)->get_accChildCount(nullptr));
}

TEST_F(ControlAccessibilityTest, RolesFollowTheKindOfBarAndWhetherTheControlOpensOne)
{
    VARIANT role;
    // Without a bar window there is no role.
    EXPECT_EQ(E_INVALIDARG, AccessibleOf(open)->get_accRole(Child(0), &role));
    ASSERT_TRUE(CreateBarWindow(bar, 100, 24, TRUE));
    const struct
    {
        int barType;
        COSMControl* control;
        long role;
    } cases[] = {
        {0, open, ROLE_SYSTEM_MENUITEM},   {0, popup, ROLE_SYSTEM_MENUITEM},   {2, open, ROLE_SYSTEM_MENUITEM},
        {2, popup, ROLE_SYSTEM_MENUITEM},  {1, open, ROLE_SYSTEM_PUSHBUTTON},  {1, popup, ROLE_SYSTEM_BUTTONMENU},
        {3, open, ROLE_SYSTEM_PUSHBUTTON}, {3, popup, ROLE_SYSTEM_BUTTONMENU},
    };
    ASSERT_EQ(12, ROLE_SYSTEM_MENUITEM);
    ASSERT_EQ(57, ROLE_SYSTEM_BUTTONMENU);
    ASSERT_EQ(43, ROLE_SYSTEM_PUSHBUTTON);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "bar type " << c.barType << " control " << c.control->GetIndex());
        bar.SetType(c.barType);
        EXPECT_EQ(S_OK, AccessibleOf(c.control)->get_accRole(Child(0), &role));
        EXPECT_EQ(VT_I4, role.vt);
        EXPECT_EQ(c.role, role.lVal);
    }
    EXPECT_EQ(E_INVALIDARG, AccessibleOf(open)->get_accRole(Child(1), &role));
}

TEST_F(ControlAccessibilityTest, StatesGatherEveryFlagThatApplies)
{
    ASSERT_TRUE(CreateBarWindow(bar, 100, 24, TRUE));
    EXPECT_EQ(STATE_SYSTEM_FOCUSABLE, State(open));
    EXPECT_EQ(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_HASPOPUP, State(popup));

    // A disabled check button that is on.
    open->SetEnabled(0);
    open->SetChecked(1);
    EXPECT_EQ(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_CHECKED, State(open));
    open->SetEnabled(1);
    open->SetChecked(0);

    open->SetPressed(1);
    EXPECT_EQ(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_PRESSED, State(open));
    open->SetPressed(0);

    bar.SetSelected(0, COSMCommandBar::kSelectKeyboard);
    ASSERT_NE(0, open->GetSelected());
    EXPECT_EQ(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_HOTTRACKED | STATE_SYSTEM_SELECTED,
              State(open));
    bar.SetSelected(-1);

    open->SetVisible(FALSE);
    EXPECT_EQ(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_INVISIBLE, State(open));
    open->SetVisible(TRUE);
    bar.ShowWindow(SW_HIDE);
    EXPECT_EQ(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_INVISIBLE, State(open));

    VARIANT state;
    EXPECT_EQ(E_INVALIDARG, AccessibleOf(open)->get_accState(Child(1), &state));
}

TEST_F(ControlAccessibilityTest, LocationsAndHitTestsInScreenCoordinates)
{
    long left = -1, top = -1, width = -1, height = -1;
    EXPECT_EQ(S_OK, AccessibleOf(open)->accLocation(&left, &top, &width, &height, Child(0)));
    EXPECT_EQ(0, left | top | width | height);  // no bar window: zeros
    VARIANT hit;
    EXPECT_EQ(S_FALSE, AccessibleOf(open)->accHitTest(5, 5, &hit));
    EXPECT_EQ(VT_EMPTY, hit.vt);

    ASSERT_TRUE(CreateBarWindow(bar, 100, 24, TRUE));
    CRect window;
    bar.GetWindowRect(&window);
    EXPECT_EQ(S_OK, AccessibleOf(popup)->accLocation(&left, &top, &width, &height, Child(0)));
    EXPECT_EQ(CRect(window.left + 22, window.top + 2, window.left + 60, window.top + 22),
              CRect(left, top, left + width, top + height));
    EXPECT_EQ(E_INVALIDARG, AccessibleOf(popup)->accLocation(&left, &top, &width, &height, Child(1)));

    // A hidden control has no place on screen.
    open->SetVisible(FALSE);
    left = top = width = height = -1;
    EXPECT_EQ(S_OK, AccessibleOf(open)->accLocation(&left, &top, &width, &height, Child(0)));
    EXPECT_EQ(0, left | top | width | height);
    open->SetVisible(TRUE);

    const struct
    {
        CPoint offset;  // from the bar window's top-left corner
        HRESULT result;
        VARTYPE type;
    } hits[] = {
        {CPoint(5, 5), S_OK, VT_I4},       // on the control
        {CPoint(40, 10), S_FALSE, VT_I4},  // on the bar, beside the control
        {CPoint(100, 10), S_FALSE, VT_EMPTY},
        {CPoint(-1, 10), S_FALSE, VT_EMPTY},
    };
    for (const auto& h : hits)
    {
        SCOPED_TRACE(testing::Message() << h.offset.x << "," << h.offset.y);
        EXPECT_EQ(h.result, AccessibleOf(open)->accHitTest(window.left + h.offset.x, window.top + h.offset.y, &hit));
        EXPECT_EQ(h.type, hit.vt);
        if (hit.vt == VT_I4)
        {
            EXPECT_EQ(CHILDID_SELF, hit.lVal);
        }
    }
    EXPECT_EQ(E_INVALIDARG, AccessibleOf(open)->accHitTest(window.left + 5, window.top + 5, nullptr));
}

TEST_F(ControlAccessibilityTest, TheDefaultActionIsOneKeyboardClickAndSelectTracksTheBar)
{
    ClickCountingControl* counting = new ClickCountingControl;
    bar.GetControls()->Append(counting);
    EXPECT_EQ(S_OK, AccessibleOf(counting)->accDoDefaultAction(Child(0)));
    EXPECT_EQ(1, counting->clicks);
    EXPECT_TRUE(counting->lastKeyboard);
    EXPECT_EQ(CPoint(0, 0), counting->lastPoint);
    EXPECT_EQ(E_INVALIDARG, AccessibleOf(counting)->accDoDefaultAction(Child(1)));
    EXPECT_EQ(1, counting->clicks);

    // Without a bar window selecting does nothing; with one the bar tracks and selects the control by keyboard.
    EXPECT_EQ(S_OK, AccessibleOf(popup)->accSelect(SELFLAG_TAKEFOCUS, Child(0)));
    EXPECT_TRUE(bar.trackingModes.empty());
    ASSERT_TRUE(CreateBarWindow(bar, 100, 24, TRUE));
    EXPECT_EQ(S_OK, AccessibleOf(popup)->accSelect(SELFLAG_TAKEFOCUS, Child(0)));
    ASSERT_EQ(1u, bar.trackingModes.size());
    EXPECT_EQ(TRUE, bar.trackingModes[0]);
    EXPECT_EQ(1, bar.GetSelectedIndex());
    EXPECT_NE(0, popup->GetSelected());
    EXPECT_EQ(E_INVALIDARG, AccessibleOf(popup)->accSelect(SELFLAG_TAKEFOCUS, Child(2)));
}

}  // namespace
