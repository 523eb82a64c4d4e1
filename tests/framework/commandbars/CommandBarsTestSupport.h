// What the command-bar tests share: a fixture that installs the test paint manager as theme 0 and puts the control
// Type table and the popup class back after each test, a plain site window that records the bars' messages and
// answers them as a test asks.
#pragma once

#include "classlib/Menu.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/ControlFactory.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/commandbars/testing/TestPaintManager.h"
#include "platform/classlib/RefPtr.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace commandbars_test {

inline LONG RefCount(const CCmdTarget* object)
{
    return object->m_dwRef;
}

// Sets a process-wide setting (a replaceable function, a factor) for as long as it lives, then puts it back.
template <class T> class ScopedSetting
{
public:
    ScopedSetting(T& setting, T value) : m_setting(setting), m_saved(setting) { setting = value; }
    ~ScopedSetting() { m_setting = m_saved; }
    ScopedSetting(const ScopedSetting&) = delete;
    ScopedSetting& operator=(const ScopedSetting&) = delete;

private:
    T& m_setting;
    T m_saved;
};

class CommandBarsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetServices();
        COSMPaintManager::RegisterThemeCreator(0, &COSMTestPaintManager::Create);
    }
    // The next test finds the looks a program that links the themes has from its start.
    void TearDown() override
    {
        ResetServices();
        COSMPaintManager::RegisterThemes();
    }

    static void ResetServices()
    {
        COSMPaintManager::FreeGlobalPaintManager();
        for (int id = 0; id < COSMPaintManager::kThemeIdCount; ++id)
            COSMPaintManager::RegisterThemeCreator(id, nullptr);
        COSMControlFactory::ResetRegistrations();
        COSMPopupBar::s_pPopupBarClass = RUNTIME_CLASS(COSMPopupBar);
    }
};

// A plain window standing in for a frame: it records the messages the bars send it and lets a test answer the
// creation requests.
class SiteWindow : public CWnd
{
public:
    SiteWindow() { CreateEx(0, AfxRegisterWndClass(0), "Site", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr); }
    ~SiteWindow() override { DestroyWindow(); }

    // Every message of the bars, in order.
    std::vector<UINT> messages;
    // Copies of the blocks 10335 reported.
    std::vector<COSMControlCreateBlock> created;
    // Answers to 10334 and 10337; without one the site does not answer (0).
    std::function<LRESULT(COSMControlCreateBlock&)> onBeforeCreate;
    std::function<LRESULT(COSMCommandBarRequestBlock&)> onRequestBar;

    int Count(UINT message) const
    {
        int count = 0;
        for (UINT m : messages)
            count += m == message;
        return count;
    }

protected:
    LRESULT OnBeforeCreate(WPARAM, LPARAM lParam)
    {
        messages.push_back(COSMControls::kMessageBeforeCreateControl);
        return onBeforeCreate ? onBeforeCreate(*reinterpret_cast<COSMControlCreateBlock*>(lParam)) : 0;
    }
    LRESULT OnAfterCreate(WPARAM, LPARAM lParam)
    {
        messages.push_back(COSMControls::kMessageAfterCreateControl);
        created.push_back(*reinterpret_cast<COSMControlCreateBlock*>(lParam));
        return 0;
    }
    LRESULT OnRequestBar(WPARAM, LPARAM lParam)
    {
        messages.push_back(COSMControls::kMessageCreateCommandBar);
        return onRequestBar ? onRequestBar(*reinterpret_cast<COSMCommandBarRequestBlock*>(lParam)) : 0;
    }
    LRESULT OnSelectionChanged(WPARAM, LPARAM)
    {
        messages.push_back(COSMCommandBars::kMessageCustomizeSelectionChanged);
        return 0;
    }

    DECLARE_MESSAGE_MAP()
};

// A manager whose site is a recording window.
class SiteTest : public CommandBarsTest
{
protected:
    void SetUp() override
    {
        CommandBarsTest::SetUp();
        ASSERT_NE(nullptr, site.GetSafeHwnd());
        commandBars->SetSite(&site);
    }

    SiteWindow site;
    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
};

// The ids of the controls in their order, without the temporary ones (a toolbar's expand and close buttons, a
// menu bar's MDI controls) unless asked for.
inline std::vector<UINT> ControlIds(const COSMControls* controls, bool withTemporary = false)
{
    std::vector<UINT> ids;
    for (int i = 0; controls && i < controls->GetCount(); ++i)
        if (withTemporary || !controls->GetAt(i)->IsTemporary())
            ids.push_back(controls->GetAt(i)->GetID());
    return ids;
}
inline std::vector<UINT> ControlIds(const COSMCommandBar& bar, bool withTemporary = false)
{
    return ControlIds(bar.GetControls(), withTemporary);
}

// A bar window of the test's own: a top-level popup of the size given, shown or hidden.
BOOL CreateBarWindow(COSMCommandBar& bar, int width, int height, BOOL visible, DWORD exStyle = 0);

// A menu made with CreatePopupMenu and destroyed with the object.
class TestMenu
{
public:
    TestMenu() { m_menu.CreatePopupMenu(); }
    CMenu* Get() { return &m_menu; }
    // Appends an item with type and state bits (MFT_*, MFS_*) and optional item data.
    void AddItem(UINT id, LPCSTR text, UINT type = MFT_STRING, UINT state = 0, ULONG_PTR data = 0);
    // Appends a sub-menu (its handle then belongs to this menu).
    void AddSubMenu(LPCSTR text, HMENU subMenu);

private:
    CMenu m_menu;
};

}  // namespace commandbars_test
