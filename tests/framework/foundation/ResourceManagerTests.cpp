// The resource manager's loads: string blocks read entry by entry, the framework's resource module before the
// program's resources for every kind of resource, HTML bytes, icons of a chosen size, and the toolbar load run
// with the module installed in the class library.
#include <gtest/gtest.h>

#include "classlib/Gdi.h"
#include "classlib/Menu.h"
#include "ResourceTestSupport.h"
#include "framework/foundation/ResourceModuleScope.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

using namespace foundation_test;

TEST(ResourceStrings, EntriesAreFoundByBlockAndIndexAndNeverReadPastTheBlock)
{
    TestModule english(kEnglishModule);
    ASSERT_NE(english.Get(), nullptr);
    HINSTANCE program = ::GetModuleHandleA(nullptr);
    COSMResourceManager manager;

    struct Case
    {
        HINSTANCE module;
        UINT id;
        const char* text;  // "" when the result must be 0
    };
    const Case cases[] = {
        {program, IDS_BLOCK2_ENTRY0, "program sixteen"},    // block 2, entry 0
        {program, IDS_BLOCK2_ENTRY1, "program seventeen"},  // block 2, entry 1
        {program, IDS_BLOCK3_ENTRY1, "program thirty-three"},
        {program, IDS_BLOCK2_EMPTY, ""},  // an empty entry between others
        {program, IDS_BLOCK2_LAST, ""},
        {program, IDS_NOWHERE, ""},  // no such block
        {english.Get(), IDS_BLOCK2_ENTRY1, "module seventeen"},
        {english.Get(), IDS_BLOCK2_ENTRY0, ""},
        {english.Get(), IDS_RAW_OK, "ok"},
        {english.Get(), IDS_RAW_OVERRUN, ""},        // its 40 characters would run past the block
        {english.Get(), IDS_RAW_AFTER_OVERRUN, ""},  // reached only by skipping past the block
        {english.Get(), 47, ""},
    };
    for (const Case& c : cases)
    {
        CString text = "left over";
        const int length = manager.LoadStringFromModule(c.module, c.id, text);
        EXPECT_EQ(length, static_cast<int>(std::strlen(c.text))) << c.id;
        EXPECT_STREQ(text, c.text) << c.id;
    }
}

TEST(ResourceStrings, TheFrameworkModuleComesFirstThenTheProgram)
{
    TestModule english(kEnglishModule);
    ASSERT_NE(english.Get(), nullptr);
    COSMResourceManager manager;

    struct Case
    {
        UINT id;
        const char* withoutModule;
        const char* withModule;
    };
    const Case cases[] = {
        {IDS_BLOCK2_ENTRY1, "program seventeen", "module seventeen"},
        {IDS_BLOCK2_ENTRY0, "program sixteen", "program sixteen"},            // empty in the module's block
        {IDS_BLOCK3_ENTRY1, "program thirty-three", "program thirty-three"},  // broken in the module's block
        {IDS_RAW_OK, nullptr, "ok"},
        {IDS_NOWHERE, nullptr, nullptr},
    };
    for (HINSTANCE hModule : {static_cast<HINSTANCE>(nullptr), english.Get()})
    {
        FrameworkModuleScope scope(hModule);
        for (const Case& c : cases)
        {
            const char* expected = hModule ? c.withModule : c.withoutModule;
            CString text = "left over";
            EXPECT_EQ(manager.LoadString(&text, c.id), expected != nullptr) << c.id;
            EXPECT_STREQ(text, expected ? expected : "") << c.id;
            BOOL missing = 2;
            EXPECT_STREQ(manager.LoadStringValue(c.id, &missing), expected ? expected : "") << c.id;
            EXPECT_EQ(missing, expected == nullptr) << c.id;
        }
    }
    EXPECT_FALSE(manager.LoadString(nullptr, IDS_BLOCK2_ENTRY1));
}

namespace {

// Which copy of a resource a load found: "program", "module" or "missing".
using Probe = std::function<std::string(COSMResourceManager&, UINT id)>;

std::string ByText(const CString& text, const char* program, const char* module)
{
    return text == program ? "program" : text == module ? "module" : "other: " + std::string(text);
}

std::string ByIcon(HICON hIcon, int size)
{
    if (!hIcon)
        return "missing";
    const IconLook look = LookAt(hIcon);
    ::DestroyIcon(hIcon);
    if (look.width != size || look.height != size)
        return "wrong size " + std::to_string(look.width);
    return look.centre == kProgramColour ? "program" : look.centre == kModuleColour ? "module" : "other colour";
}

struct Kind
{
    const char* name;
    UINT id;
    Probe probe;
};

std::vector<Kind> Kinds()
{
    return {
        {"menu", IDR_MENU,
         [](COSMResourceManager& m, UINT id) -> std::string {
             CMenu menu;
             if (!m.LoadMenu(&menu, id))
                 return menu.m_hMenu ? "failed, yet a menu" : "missing";
             CString text;
             menu.GetMenuString(ID_ITEM, text, MF_BYCOMMAND);
             return ByText(text, "Program item", "Module item");
         }},
        {"bitmap", IDB_BITMAP,
         [](COSMResourceManager& m, UINT id) -> std::string {
             CBitmap bitmap;
             if (!m.LoadBitmap(&bitmap, id))
                 return "missing";
             BITMAP bm{};
             bitmap.GetBitmap(&bm);
             return bm.bmWidth == 3 && bm.bmHeight == 2   ? "program"
                    : bm.bmWidth == 5 && bm.bmHeight == 4 ? "module"
                                                          : "other";
         }},
        {"cursor", IDC_CURSOR,
         [](COSMResourceManager& m, UINT id) -> std::string {
             HCURSOR hCursor = m.LoadCursor(id);  // shared: not destroyed
             ICONINFO info{};
             if (!hCursor || !::GetIconInfo(hCursor, &info))
                 return "missing";
             ::DeleteObject(info.hbmMask);
             if (info.hbmColor)
                 ::DeleteObject(info.hbmColor);
             return info.xHotspot == 3 && info.yHotspot == 5   ? "program"
                    : info.xHotspot == 7 && info.yHotspot == 9 ? "module"
                                                               : "other";
         }},
        {"icon by id", IDI_ICON,
         [](COSMResourceManager& m, UINT id) { return ByIcon(m.LoadIconById(id, 16, 16), 16); }},
        {"icon by name", IDI_ICON,
         [](COSMResourceManager& m, UINT id) { return ByIcon(m.LoadIcon(MAKEINTRESOURCEA(id), 32, 32), 32); }},
        {"icon from its group", IDI_ICON,
         [](COSMResourceManager& m, UINT id) {
             return ByIcon(m.CreateIconFromResource(nullptr, MAKEINTRESOURCEA(id), 32, 32), 32);
         }},
        {"dialog template", IDD_TEMPLATE,
         [](COSMResourceManager& m, UINT id) -> std::string {
             LPCDLGTEMPLATE pTemplate = m.LoadDialogTemplate(id);
             if (!pTemplate)
                 return m.FindDialogTemplate(MAKEINTRESOURCEA(id)) ? "found but not loaded" : "missing";
             return pTemplate->cx == 100 ? "program" : pTemplate->cx == 150 ? "module" : "other";
         }},
        {"HTML", IDR_PAGE,
         [](COSMResourceManager& m, UINT id) -> std::string {
             CString text = "left over";
             if (!m.LoadHTML(&text, id))
                 return text.IsEmpty() ? "missing" : "failed, yet text";
             return ByText(text, "<p>program page</p>\n", "<p>module page</p>\n");
         }},
    };
}

}  // namespace

TEST(ResourceLoads, EachKindComesFromTheFrameworkModuleWhenItHasItElseFromTheProgram)
{
    TestModule english(kEnglishModule);
    TestModule german(kGermanModule);
    ASSERT_NE(english.Get(), nullptr);
    ASSERT_NE(german.Get(), nullptr);
    COSMResourceManager manager;

    // The German module holds only the menu and the page.
    struct Setting
    {
        const char* name;
        HINSTANCE module;
        std::function<const char*(const std::string& kind)> expected;
    };
    const Setting settings[] = {
        {"no module", nullptr, [](const std::string&) { return "program"; }},
        {"English module", english.Get(), [](const std::string&) { return "module"; }},
        {"German module", german.Get(),
         [](const std::string& kind) { return kind == "menu" || kind == "HTML" ? "module" : "program"; }},
    };
    for (const Setting& setting : settings)
    {
        FrameworkModuleScope scope(setting.module);
        for (const Kind& kind : Kinds())
        {
            EXPECT_EQ(kind.probe(manager, kind.id), setting.expected(kind.name)) << setting.name << ", " << kind.name;
            EXPECT_EQ(kind.probe(manager, IDR_MISSING), "missing") << setting.name << ", " << kind.name;
        }
    }
}

TEST(ResourceLoads, RefuseObjectsThatCannotTakeTheResource)
{
    COSMResourceManager manager;
    CMenu held;
    ASSERT_TRUE(held.CreatePopupMenu());
    const HMENU hHeld = held.m_hMenu;
    EXPECT_FALSE(manager.LoadMenu(&held, IDR_MENU));
    EXPECT_EQ(held.m_hMenu, hHeld);
    EXPECT_FALSE(manager.LoadMenu(nullptr, IDR_MENU));
    EXPECT_FALSE(manager.LoadBitmap(nullptr, IDB_BITMAP));
    EXPECT_FALSE(manager.LoadHTML(nullptr, IDR_PAGE));
    EXPECT_EQ(manager.FindDialogTemplate(MAKEINTRESOURCEA(IDR_MISSING)), nullptr);
}

TEST(ResourceLoads, IconsComeInTheSizeAskedFor)
{
    TestModule english(kEnglishModule);
    ASSERT_NE(english.Get(), nullptr);
    COSMResourceManager manager;
    struct Case
    {
        HINSTANCE module;
        int size;
        const char* copy;
    };
    // The program's group has 16 and 32; the module's also 48.
    const Case cases[] = {{nullptr, 16, "program"},
                          {nullptr, 32, "program"},
                          {nullptr, 48, "program"},
                          {english.Get(), 16, "module"},
                          {english.Get(), 48, "module"}};
    for (const Case& c : cases)
    {
        HINSTANCE hModule = c.module ? c.module : ::GetModuleHandleA(nullptr);
        EXPECT_EQ(ByIcon(manager.CreateIconFromResource(hModule, MAKEINTRESOURCEA(IDI_ICON), c.size, c.size), c.size),
                  c.copy)
            << c.size;
    }
    EXPECT_EQ(manager.CreateIconFromResource(english.Get(), MAKEINTRESOURCEA(IDR_MISSING), 16, 16), nullptr);
}

namespace {

// Stands in for the command bars' toolbar: notes what the class library's resource module was during the load,
// and loads a string through the class library as a toolbar loading its tooltips would.
class CFakeToolBar : public COSMToolBarLoader
{
public:
    BOOL LoadToolBar(UINT nIDResource, BOOL bLoadIcons) override
    {
        ++m_calls;
        m_id = nIDResource;
        m_icons = bLoadIcons;
        m_hResourceDuringLoad = AfxGetResourceHandle();
        m_string.LoadString(IDS_BLOCK2_ENTRY1);
        return m_result;
    }

    BOOL m_result = TRUE;
    int m_calls = 0;
    UINT m_id = 0;
    BOOL m_icons = FALSE;
    HINSTANCE m_hResourceDuringLoad = nullptr;
    CString m_string;
};

}  // namespace

TEST(ResourceLoads, ToolBarLoadsWithTheFrameworkModuleInstalled)
{
    TestModule english(kEnglishModule);
    ASSERT_NE(english.Get(), nullptr);
    COSMResourceManager manager;
    const HINSTANCE before = AfxGetResourceHandle();

    struct Case
    {
        HINSTANCE module;
        BOOL result;
        const char* string;
    };
    const Case cases[] = {{nullptr, TRUE, "program seventeen"},
                          {english.Get(), TRUE, "module seventeen"},
                          {english.Get(), FALSE, "module seventeen"}};
    for (const Case& c : cases)
    {
        FrameworkModuleScope scope(c.module);
        CFakeToolBar bar;
        bar.m_result = c.result;
        EXPECT_EQ(manager.LoadToolBar(&bar, 128), c.result);
        EXPECT_EQ(bar.m_calls, 1);
        EXPECT_EQ(bar.m_id, 128u);
        EXPECT_TRUE(bar.m_icons);
        EXPECT_EQ(bar.m_hResourceDuringLoad, c.module ? c.module : before);
        EXPECT_STREQ(bar.m_string, c.string);
        EXPECT_EQ(AfxGetResourceHandle(), before);
    }
    EXPECT_FALSE(manager.LoadToolBar(nullptr, 128));
}

TEST(ResourceModuleScope, InstallsTheFrameworkModuleOnlyWhenThereIsOne)
{
    TestModule english(kEnglishModule);
    TestModule german(kGermanModule);
    ASSERT_NE(english.Get(), nullptr);
    const HINSTANCE before = AfxGetResourceHandle();
    {
        COSMResourceModuleScope inactive;
        EXPECT_FALSE(inactive.IsActive());
        EXPECT_EQ(AfxGetResourceHandle(), before);
    }
    {
        FrameworkModuleScope framework(english.Get());
        COSMResourceModuleScope outer;
        EXPECT_TRUE(outer.IsActive());
        EXPECT_EQ(AfxGetResourceHandle(), english.Get());
        {
            FrameworkModuleScope other(german.Get());
            COSMResourceModuleScope inner;
            EXPECT_EQ(AfxGetResourceHandle(), german.Get());
        }
        EXPECT_EQ(AfxGetResourceHandle(), english.Get());
    }
    EXPECT_EQ(AfxGetResourceHandle(), before);
}

TEST(ResourceManagerInstance, IsOneForTheProcess)
{
    COSMResourceManager* pManager = GetResourceManager();
    ASSERT_NE(pManager, nullptr);
    EXPECT_EQ(GetResourceManager(), pManager);
    EXPECT_EQ(CreateResourceManager(), pManager);
}
