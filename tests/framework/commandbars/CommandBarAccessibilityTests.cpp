// What a bar tells screen readers: its children, names, roles, states, locations, hit tests and parent, and the
// IAccessible WM_GETOBJECT hands out for the bar or a control. oleacc's marshalling does not work here: the bar's
// LresultFromObject and AccessibleObjectFromWindow are replaced by recorders.
#include "AccessibilityTestSupport.h"
#include "BarWindowTestSupport.h"

#include <string>

using namespace commandbars_test;

namespace {

class BarAccessibilityTest : public CommandBarsTest
{
protected:
    void SetUp() override
    {
        CommandBarsTest::SetUp();
        bar.SetTitle("Standard");
        COSMControl* open = bar.GetControls()->Add(1, 501);
        open->SetCaption("&Open\tCtrl+O");
        open->SetRect(CRect(2, 2, 22, 22));
        COSMControl* saveAs = bar.GetControls()->Add(1, 502);
        saveAs->SetCaption("Save &As...");
        saveAs->SetRect(CRect(22, 2, 60, 22));
        bar.GetControls()->Add(1, 503)->SetCaption("&&Print");
    }

    long State(long child)
    {
        VARIANT state;
        EXPECT_EQ(S_OK, bar.GetAccessibleState(Child(child), &state));
        return state.vt == VT_I4 ? state.lVal : -1;
    }

    TestWindowBar bar;
};

TEST_F(BarAccessibilityTest, ChildrenNamesAndRoles)
{
    long count = 0;
    EXPECT_EQ(S_OK, bar.GetAccessibleChildCount(&count));
    EXPECT_EQ(3, count);
    EXPECT_EQ(E_INVALIDARG, bar.GetAccessibleChildCount(nullptr));

    const struct
    {
        long child;
        HRESULT nameResult;
        const char* name;
        COSMControl* dispatchOf;
    } cases[] = {
        {0, S_OK, "Standard", nullptr},
        {1, S_OK, "Open\tCtrl+O", bar.GetControl(0)},
        {2, S_OK, "Save As...", bar.GetControl(1)},
        {3, S_OK, "&Print", bar.GetControl(2)},
        {4, E_INVALIDARG, "", nullptr},  // one past the last control
        {-1, E_INVALIDARG, "", nullptr},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.child);
        BSTR name = nullptr;
        EXPECT_EQ(c.nameResult, bar.GetAccessibleName(Child(c.child), &name));
        EXPECT_EQ(c.name, Narrow(name));
        ::SysFreeString(name);

        IDispatch* dispatch = reinterpret_cast<IDispatch*>(1);
        EXPECT_EQ(S_OK, bar.GetAccessibleChild(Child(c.child), &dispatch));
        EXPECT_EQ(c.dispatchOf ? c.dispatchOf->GetIDispatch(FALSE) : nullptr, dispatch);
        if (dispatch)
            dispatch->Release();
    }

    // A client asks through the bar's IAccessible: one past the last control is no child, and no error.
    IAccessible* accessible = nullptr;
    ASSERT_EQ(S_OK, bar.GetIDispatch(FALSE)->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&accessible)));
    count = 0;
    EXPECT_EQ(S_OK, accessible->get_accChildCount(&count));
    ASSERT_EQ(3, count);
    const struct
    {
        long child;
        COSMControl* dispatchOf;
    } children[] = {{count, bar.GetControl(2)}, {count + 1, nullptr}};
    for (const auto& c : children)
    {
        IDispatch* dispatch = reinterpret_cast<IDispatch*>(1);
        EXPECT_EQ(S_OK, accessible->get_accChild(Child(c.child), &dispatch)) << c.child;
        EXPECT_EQ(c.dispatchOf ? c.dispatchOf->GetIDispatch(FALSE) : nullptr, dispatch) << c.child;
        if (dispatch)
            dispatch->Release();
    }
    accessible->Release();

    const struct
    {
        int type;
        long child;
        HRESULT result;
        long role;
    } roles[] = {
        {0, 0, S_OK, ROLE_SYSTEM_MENUBAR},  {1, 0, S_OK, ROLE_SYSTEM_TOOLBAR},  {2, 0, S_OK, ROLE_SYSTEM_MENUPOPUP},
        {1, 2, S_OK, ROLE_SYSTEM_MENUITEM}, {2, 1, S_OK, ROLE_SYSTEM_MENUITEM}, {1, -1, E_INVALIDARG, 0},
    };
    for (const auto& r : roles)
    {
        bar.SetType(r.type);
        VARIANT role;
        EXPECT_EQ(r.result, bar.GetAccessibleRole(Child(r.child), &role)) << r.type << " " << r.child;
        if (r.result == S_OK)
        {
            EXPECT_EQ(VT_I4, role.vt);
            EXPECT_EQ(r.role, role.lVal) << r.type << " " << r.child;
        }
    }
}

TEST_F(BarAccessibilityTest, StatesFollowVisibilityAndSelection)
{
    const long control = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
    const long selected = control | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_HOTTRACKED | STATE_SYSTEM_SELECTED;
    ASSERT_EQ(0x00300000, control);
    ASSERT_EQ(0x00300086, selected);

    // No window: the bar is not visible.
    EXPECT_EQ(STATE_SYSTEM_INVISIBLE, State(0));
    ASSERT_TRUE(CreateBarWindow(bar, 100, 24, TRUE));
    bar.SetSelectedIndex(1);
    EXPECT_EQ(0, State(0));
    EXPECT_EQ(control, State(1));
    EXPECT_EQ(selected, State(2));
    EXPECT_EQ(control, State(3));
    VARIANT state;
    EXPECT_EQ(E_INVALIDARG, bar.GetAccessibleState(Child(4), &state));
    bar.ShowWindow(SW_HIDE);
    EXPECT_EQ(STATE_SYSTEM_INVISIBLE, State(0));
    EXPECT_EQ(STATE_SYSTEM_INVISIBLE | selected, State(2));
}

TEST_F(BarAccessibilityTest, LocationsAndHitTestsInScreenCoordinates)
{
    long left = -1, top = -1, width = -1, height = -1;
    EXPECT_EQ(S_OK, bar.AccessibleLocation(&left, &top, &width, &height, Child(1)));
    EXPECT_EQ(0, left + top + width + height);  // no window: zeros
    VARIANT hit;
    EXPECT_EQ(S_FALSE, bar.AccessibleHitTest(20, 20, &hit));
    EXPECT_EQ(VT_EMPTY, hit.vt);

    ASSERT_TRUE(CreateBarWindow(bar, 100, 24, TRUE));
    CRect window;
    bar.GetWindowRect(&window);
    const struct
    {
        long child;
        CRect expected;
    } locations[] = {
        {0, window},
        {1, CRect(window.left + 2, window.top + 2, window.left + 22, window.top + 22)},
        {2, CRect(window.left + 22, window.top + 2, window.left + 60, window.top + 22)},
    };
    for (const auto& l : locations)
    {
        EXPECT_EQ(S_OK, bar.AccessibleLocation(&left, &top, &width, &height, Child(l.child)));
        EXPECT_EQ(l.expected, CRect(left, top, left + width, top + height)) << l.child;
    }
    EXPECT_EQ(E_INVALIDARG, bar.AccessibleLocation(&left, &top, &width, &height, Child(4)));

    const struct
    {
        CPoint offset;  // from the window's top-left corner
        HRESULT result;
        COSMControl* control;  // the dispatch expected, null for the bar itself
    } hits[] = {
        {CPoint(5, 5), S_OK, bar.GetControl(0)}, {CPoint(40, 10), S_OK, bar.GetControl(1)},
        {CPoint(80, 10), S_OK, nullptr},         {CPoint(100, 10), S_FALSE, nullptr},
        {CPoint(-1, 10), S_FALSE, nullptr},
    };
    for (const auto& h : hits)
    {
        SCOPED_TRACE(testing::Message() << h.offset.x << "," << h.offset.y);
        EXPECT_EQ(h.result, bar.AccessibleHitTest(window.left + h.offset.x, window.top + h.offset.y, &hit));
        if (h.control)
        {
            ASSERT_EQ(VT_DISPATCH, hit.vt);
            EXPECT_EQ(h.control->GetIDispatch(FALSE), hit.pdispVal);
            hit.pdispVal->Release();
        }
        else if (h.result == S_OK)
        {
            EXPECT_EQ(VT_I4, hit.vt);
            EXPECT_EQ(CHILDID_SELF, hit.lVal);
        }
        else
        {
            EXPECT_EQ(VT_EMPTY, hit.vt);
        }
    }
}

struct WindowObjectCall
{
    HWND window;
    DWORD objectId;
    IID iid;
};
std::vector<WindowObjectCall> g_windowObjectCalls;

HRESULT WINAPI RecordAccessibleObjectFromWindow(HWND hWnd, DWORD objectId, REFIID riid, void** object)
{
    g_windowObjectCalls.push_back(WindowObjectCall{hWnd, objectId, riid});
    *object = nullptr;
    return S_OK;
}

TEST_F(BarAccessibilityTest, TheParentIsTheOpeningControlOrTheWindowsOwnObject)
{
    IDispatch* parent = reinterpret_cast<IDispatch*>(1);
    bar.m_pAccessibleObjectFromWindow = &RecordAccessibleObjectFromWindow;
    g_windowObjectCalls.clear();
    EXPECT_EQ(E_FAIL, bar.GetAccessibleParent(&parent));
    EXPECT_EQ(nullptr, parent);
    EXPECT_TRUE(g_windowObjectCalls.empty());
    ASSERT_TRUE(CreateBarWindow(bar, 100, 24, FALSE));
    EXPECT_EQ(S_OK, bar.GetAccessibleParent(&parent));
    ASSERT_EQ(1u, g_windowObjectCalls.size());
    EXPECT_EQ(bar.GetSafeHwnd(), g_windowObjectCalls[0].window);
    EXPECT_EQ(static_cast<DWORD>(OBJID_WINDOW), g_windowObjectCalls[0].objectId);
    EXPECT_TRUE(::IsEqualIID(IID_IDispatch, g_windowObjectCalls[0].iid));

    TestWindowPopup popup;
    popup.m_pAccessibleObjectFromWindow = &RecordAccessibleObjectFromWindow;
    ASSERT_TRUE(CreateBarWindow(popup, 60, 40, FALSE));
    EXPECT_EQ(E_FAIL, popup.GetAccessibleParent(&parent));
    popup.SetControlPopup(bar.GetControl(1));
    EXPECT_EQ(S_OK, popup.GetAccessibleParent(&parent));
    EXPECT_EQ(bar.GetControl(1)->GetIDispatch(FALSE), parent);
    parent->Release();
    EXPECT_EQ(1u, g_windowObjectCalls.size());  // a popup never asks the window
}

struct LresultCall
{
    IID iid;
    WPARAM wParam;
    IUnknown* object;
};
std::vector<LresultCall> g_lresultCalls;
const LRESULT kMarshalled = 0x4711;

LRESULT WINAPI RecordLresultFromObject(REFIID riid, WPARAM wParam, LPUNKNOWN object)
{
    g_lresultCalls.push_back(LresultCall{riid, wParam, object});
    return kMarshalled;
}

TEST_F(BarAccessibilityTest, GetObjectHandsOutTheControlByCommandIdOrTheBar)
{
    ASSERT_TRUE(CreateBarWindow(bar, 100, 24, FALSE));
    bar.m_pLresultFromObject = &RecordLresultFromObject;
    IUnknown* barAccessible = bar.GetInterface(IID_IAccessible);
    ASSERT_NE(nullptr, barAccessible);
    // A control hidden from view is found all the same.
    bar.GetControl(2)->SetVisible(FALSE);
    // The first and the last id that names a control.
    COSMControl* lowest = bar.GetControls()->Add(1, 1);
    COSMControl* highest = bar.GetControls()->Add(1, 0xFFFFFE);
    const struct
    {
        LONG objectId;
        IUnknown* expected;  // null: not handed out
        LRESULT result;
    } cases[] = {
        {502, bar.GetControl(1)->GetInterface(IID_IAccessible), kMarshalled},
        {503, bar.GetControl(2)->GetInterface(IID_IAccessible), kMarshalled},
        {504, nullptr, E_FAIL},  // no control has that id
        {1, lowest->GetInterface(IID_IAccessible), kMarshalled},
        {0xFFFFFE, highest->GetInterface(IID_IAccessible), kMarshalled},
        {OBJID_CLIENT, barAccessible, kMarshalled},
        {OBJID_MENU, barAccessible, kMarshalled},
        {OBJID_WINDOW, nullptr, 0},
        {OBJID_VSCROLL, nullptr, 0},
        {0xFFFFFF, nullptr, 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.objectId);
        g_lresultCalls.clear();
        const LRESULT result = bar.SendMessage(WM_GETOBJECT, 17, static_cast<LPARAM>(static_cast<DWORD>(c.objectId)));
        if (!c.expected)
        {
            EXPECT_TRUE(g_lresultCalls.empty());
            if (c.result != 0)
            {
                EXPECT_EQ(c.result, result);
            }
            continue;
        }
        EXPECT_EQ(c.result, result);
        ASSERT_EQ(1u, g_lresultCalls.size());
        EXPECT_TRUE(::IsEqualIID(IID_IAccessible, g_lresultCalls[0].iid));
        EXPECT_EQ(17u, g_lresultCalls[0].wParam);
        EXPECT_EQ(c.expected, g_lresultCalls[0].object);
    }
}

}  // namespace
