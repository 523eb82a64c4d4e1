// The menu bar: the per-template records and their map order, the frame's menu, the MDI controls of a maximized
// child, template switching, reset, the customized state and copies. Real MDI frames and children on the display.
#include "MenuBarTestSupport.h"

#include "tests/support/DcTestSurface.h"
#include "ImageTestSupport.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/ResourceManager.h"
#include "framework/commandbars/CommandBarsResourceIds.h"

namespace commandbars_test {
namespace {

// A record that counts the live ones.
class CountedMenuInfo : public COSMMenuBarMDIMenuInfo
{
public:
    static int live;
    CountedMenuInfo(COSMCommandBars* commandBars, UINT id) : COSMMenuBarMDIMenuInfo(commandBars, id) { ++live; }
    ~CountedMenuInfo() override { --live; }
};
int CountedMenuInfo::live = 0;

std::vector<UINT> KeysInOrder(const COSMMenuBarMDIMenus& menus)
{
    std::vector<UINT> keys;
    for (const auto& [id, record] : menus.GetRecords())
        keys.push_back(id);
    return keys;
}

TEST(MenuBarMDIMenus, WalksBucketsInOrderAndTheNewestKeyOfABucketFirst)
{
    // Buckets (id >> 4) mod 17: 16 and 288 share bucket 1, 5 and 272 bucket 0, 32 has bucket 2.
    const struct
    {
        std::vector<UINT> inserted;
        std::vector<UINT> walked;
    } cases[] = {
        {{16, 32, 288, 5, 272}, {272, 5, 288, 16, 32}},
        {{32, 16, 288}, {288, 16, 32}},
        {{288, 16}, {16, 288}},
    };
    for (const auto& c : cases)
    {
        COSMMenuBarMDIMenus menus(nullptr);
        for (UINT id : c.inserted)
            menus.SetRecord(id, new CountedMenuInfo(nullptr, id));
        EXPECT_EQ(c.walked, KeysInOrder(menus)) << c.inserted.size();
        // Replacing a value keeps its place.
        menus.SetRecord(c.inserted.front(), new CountedMenuInfo(nullptr, c.inserted.front()));
        EXPECT_EQ(c.walked, KeysInOrder(menus));
    }
    EXPECT_EQ(0, CountedMenuInfo::live);
}

TEST(MenuBarMDIMenus, ReplacingRemovingAndClearingReleaseTheRecords)
{
    CountedMenuInfo::live = 0;
    {
        COSMMenuBarMDIMenus menus(nullptr);
        menus.SetRecord(200, new CountedMenuInfo(nullptr, 200));
        menus.SetRecord(300, new CountedMenuInfo(nullptr, 300));
        EXPECT_EQ(2, CountedMenuInfo::live);
        auto* replacement = new CountedMenuInfo(nullptr, 200);
        menus.SetRecord(200, replacement);
        EXPECT_EQ(2, CountedMenuInfo::live);
        EXPECT_EQ(replacement, menus.GetRecord(200));
        menus.RemoveRecord(300);
        EXPECT_EQ(1, CountedMenuInfo::live);
        EXPECT_EQ(nullptr, menus.GetRecord(300));
        menus.SetRecord(300, new CountedMenuInfo(nullptr, 300));
    }
    EXPECT_EQ(0, CountedMenuInfo::live);
}

TEST_F(MenuBarMdiTest, ARecordTakesTheStringsAndIconOfItsTemplate)
{
    COSMMenuBarMDIMenuInfo text(commandBars.Get(), IDR_TEST_TEXT_TYPE);
    EXPECT_STREQ("Text", text.m_docName);
    EXPECT_STREQ("Osmira text document", text.m_fileTypeName);
    ASSERT_NE(nullptr, text.m_controls);
    EXPECT_EQ(commandBars.Get(), text.m_controls->GetCommandBars());
    COSMMenuBarMDIMenuInfo none(commandBars.Get(), 999);
    EXPECT_STREQ("", none.m_docName);
    EXPECT_STREQ("", none.m_fileTypeName);
}

// ---- The frame's menu ----

TEST_F(MenuBarMdiTest, TheBarTakesTheFrameMenuAndGivesItBackWhenItGoes)
{
    COSMMenuBar* bar = AddMenuBar();
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(bar, commandBars->GetMenuBar());
    EXPECT_EQ(0, bar->GetType());
    EXPECT_EQ(1u, bar->GetBarID());
    EXPECT_EQ(nullptr, ::GetMenu(frame.GetSafeHwnd()));
    EXPECT_EQ(frameMenu, bar->GetSavedFrameMenu());
    EXPECT_TRUE(bar->IsMDIFrame());
    EXPECT_EQ((std::vector<std::string>{"&File", "&Help"}), Captions(bar));
    EXPECT_EQ(UINT(IDR_TEST_FRAME_MENU), bar->GetResourceId());

    bar->DestroyWindow();
    EXPECT_EQ(frameMenu, ::GetMenu(frame.GetSafeHwnd()));
    EXPECT_EQ(nullptr, bar->GetSavedFrameMenu());
}

TEST_F(MenuBarMdiTest, LoadingRegistersTheSystemCommandImagesInOrder)
{
    ASSERT_NE(nullptr, AddMenuBar());
    COSMImageManager* images = commandBars->GetImageManager();
    // A point only each image inks: the restored window's title, the minimized bar, the maximized frame's right
    // side, the cross.
    const struct
    {
        UINT command;
        CPoint ink;
    } marks[] = {{SC_RESTORE, CPoint(3, 6)},
                 {SC_MINIMIZE, CPoint(5, 11)},
                 {SC_MAXIMIZE, CPoint(13, 8)},
                 {SC_CLOSE, CPoint(4, 4)}};
    for (const auto& image : marks)
    {
        COSMImageManagerIcon* icon = images->GetImage(image.command, 16);
        ASSERT_NE(nullptr, icon) << image.command;
        foundation_test::DcTestSurface surface(16, 16, RGB(255, 255, 255));
        icon->DrawNormal(CDC::FromHandle(surface.GetDC()), 0, 0);
        for (const auto& mark : marks)
        {
            const BOOL inked = surface.Pixel(mark.ink.x, mark.ink.y) != RGB(255, 255, 255);
            EXPECT_EQ(&mark == &image, inked) << image.command << " at " << mark.command;
        }
    }
}

TEST_F(MenuBarMdiTest, TheFrameGetsItsMenuBackAsItIsDestroyed)
{
    ASSERT_NE(nullptr, AddMenuBar());
    ASSERT_EQ(nullptr, ::GetMenu(frame.GetSafeHwnd()));
    frame.DestroyWindow();
    EXPECT_EQ(frameMenu, frame.menuAtDestroy);
}

TEST_F(MenuBarMdiTest, AMenuThatDoesNotLoadLeavesTheFrameAlone)
{
    auto* bar = new COSMMenuBar;
    bar->SetCommandBars(commandBars.Get());
    ASSERT_TRUE(bar->SetPosition(0));
    commandBars->AddCommandBar(bar);
    EXPECT_FALSE(bar->LoadMenuBar(4321));
    EXPECT_EQ(frameMenu, ::GetMenu(frame.GetSafeHwnd()));
    EXPECT_EQ(nullptr, bar->GetSavedFrameMenu());
    EXPECT_EQ(nullptr, commandBars->AddMenuBar("Menu Bar", 4321));
}

// ---- The MDI controls of a maximized child ----

TEST_F(MenuBarMdiTest, AMaximizedChildBringsItsControlsByTheFlags)
{
    // The MDI client gives every child the full set of boxes: the test takes them off afterwards.
    const struct
    {
        const char* name;
        DWORD addFlags;
        DWORD removeStyle;
        BOOL systemPopup;
        std::vector<UINT> last;
    } cases[] = {
        {"all", 0x2000, 0, TRUE, {9153, 9152, 9151}},
        {"no system popup flag", 0, 0, FALSE, {9153, 9152, 9151}},
        {"no minimize box", 0x2000, WS_MINIMIZEBOX, TRUE, {9152, 9151}},
        {"no maximize box", 0x2000, WS_MAXIMIZEBOX, TRUE, {9153, 9151}},
        {"no close button", 0x2000 | 0x1000, 0, TRUE, {9153, 9152}},
        {"no minimize and restore buttons", 0x2000 | 0x100 | 0x200, 0, TRUE, {9151}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        COSMMenuBar* bar = AddMenuBar(c.addFlags);
        ASSERT_NE(nullptr, bar);
        DocChild* child = OpenChild(textTemplate);
        ASSERT_NE(nullptr, child);
        child->ModifyStyle(c.removeStyle, 0);
        EXPECT_EQ(child->GetSafeHwnd(), bar->GetHookedChild());
        const size_t plain = bar->GetControlCount();
        EXPECT_EQ(nullptr, bar->GetControls()->FindControlById(9154));

        child->MDIMaximize();
        PumpMessages();
        std::vector<UINT> ids = ControlIds(*bar, true);
        if (c.systemPopup)
        {
            EXPECT_EQ(9154u, ids.front());
            EXPECT_TRUE(bar->GetControl(0)->IsKindOf(RUNTIME_CLASS(COSMControlMDISysMenuPopup)));
        }
        else
        {
            EXPECT_EQ(nullptr, bar->GetControls()->FindControlById(9154));
        }
        ASSERT_GE(ids.size(), c.last.size());
        EXPECT_EQ(c.last, std::vector<UINT>(ids.end() - c.last.size(), ids.end()));
        EXPECT_EQ(plain + c.last.size() + (c.systemPopup ? 1 : 0), ids.size()) << ::testing::PrintToString(ids);
        for (UINT id : c.last)
        {
            COSMControl* button = bar->GetControls()->FindControlById(id);
            ASSERT_TRUE(button->IsKindOf(RUNTIME_CLASS(COSMControlMDIButton)));
            // Marlett's minimize, restore and close glyphs.
            EXPECT_STREQ(id == 9153 ? "0" : id == 9152 ? "2" : "r", button->GetParameter()) << id;
            CClientDC dc(bar);
            EXPECT_EQ(CSize(16, 16), button->GetSize(&dc));
        }

        child->MDIRestore();
        PumpMessages();
        EXPECT_EQ(plain, static_cast<size_t>(bar->GetControlCount()));
        for (UINT id : {9151u, 9152u, 9153u, 9154u})
            EXPECT_EQ(nullptr, bar->GetControls()->FindControlById(static_cast<int>(id))) << id;

        children.back()->DestroyWindow();
        children.clear();
        commandBars->Remove(bar);
    }
}

TEST_F(MenuBarMdiTest, TheCloseButtonPostsTheCloseCommandToTheActiveChild)
{
    COSMMenuBar* bar = AddMenuBar();
    DocChild* child = OpenChild(textTemplate);
    child->MDIMaximize();
    PumpMessages();
    COSMControl* close = bar->GetControls()->FindControlById(9151);
    ASSERT_NE(nullptr, close);
    close->OnExecute();
    EXPECT_TRUE(child->systemCommands.empty());
    PumpMessages();
    EXPECT_EQ((std::vector<WPARAM>{SC_CLOSE}), child->systemCommands);
    const struct
    {
        UINT id;
        UINT command;
    } commands[] = {{9151, SC_CLOSE}, {9152, SC_RESTORE}, {9153, SC_MINIMIZE}, {9154, 0}};
    for (const auto& c : commands)
        EXPECT_EQ(c.command, COSMControlMDIButton::CommandOf(c.id)) << c.id;
}

TEST_F(MenuBarMdiTest, TheSystemPopupShowsTheChildsSystemMenu)
{
    COSMMenuBar* bar = AddMenuBar(0x2000);
    DocChild* child = OpenChild(textTemplate);
    HMENU systemMenu = ::GetSystemMenu(child->GetSafeHwnd(), FALSE);
    ASSERT_TRUE(::IsMenu(systemMenu));
    // A grayed command, a default one that is not the first, and an item outside the system commands.
    ::EnableMenuItem(systemMenu, SC_SIZE, MF_BYCOMMAND | MF_GRAYED);
    ::SetMenuDefaultItem(systemMenu, SC_MINIMIZE, FALSE);
    ::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(systemMenu, MF_STRING, ID_TEST_HELP_ABOUT, "&About\tF1");
    child->MDIMaximize();
    PumpMessages();

    auto* popup = dynamic_cast<COSMControlMDISysMenuPopup*>(bar->GetControl(0));
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(systemMenu, popup->GetSystemMenu());
    EXPECT_EQ(2, popup->GetType());
    EXPECT_STREQ("-", popup->GetCaptionText());
    EXPECT_FALSE(popup->IsControlShadowOn());
    COSMCommandBar* popupBar = popup->GetCommandBar();
    ASSERT_NE(nullptr, popupBar);
    EXPECT_FALSE(popupBar->IsCustomizable());

    int index = 0;
    BOOL group = FALSE;
    const int count = ::GetMenuItemCount(systemMenu);
    ASSERT_GT(count, 3);
    const UINT defaultPosition = ::GetMenuDefaultItem(systemMenu, TRUE, GMDI_USEDISABLED);
    for (int position = 0; position < count; ++position)
    {
        const UINT id = ::GetMenuItemID(systemMenu, position);
        if (id == 0)
        {
            group = TRUE;
            continue;
        }
        COSMControl* control = popupBar->GetControl(index++);
        ASSERT_NE(nullptr, control) << position;
        EXPECT_EQ(id, control->GetID());
        EXPECT_EQ(group, control->GetBeginGroup()) << id;
        group = FALSE;
        char text[256] = {};
        ::GetMenuStringA(systemMenu, position, text, sizeof text, MF_BYPOSITION);
        std::string caption = text;
        const size_t tab = caption.find('\t');
        EXPECT_STREQ(caption.substr(0, tab).c_str(), control->GetCaptionText()) << id;
        if (tab != std::string::npos)
        {
            EXPECT_STREQ(caption.substr(tab + 1).c_str(), control->GetShortcutText()) << id;
        }
        if (id == ID_TEST_HELP_ABOUT)
            continue;
        EXPECT_TRUE(control->GetFlags() & COSMControl::kFlagManualUpdate) << id;
        const UINT state = ::GetMenuState(systemMenu, position, MF_BYPOSITION);
        EXPECT_EQ((state & MF_GRAYED) ? 0 : 1, control->GetEnabledField()) << id;
        EXPECT_EQ(defaultPosition == static_cast<UINT>(position), control->IsDefaultItem()) << id;
        const CString description = GetResourceManager()->LoadStringValue(0xEF00 + ((id - 0xF000) >> 4));
        EXPECT_STREQ(description, control->GetDescriptionText()) << id;
    }
    EXPECT_EQ(index, popupBar->GetControlCount());
    // The team's words for the common commands.
    for (UINT command : {SC_CLOSE, SC_MINIMIZE, SC_RESTORE, SC_MOVE, SC_SIZE})
        EXPECT_FALSE(GetResourceManager()->LoadStringValue(0xEF00 + ((command - 0xF000) >> 4)).IsEmpty()) << command;
    EXPECT_FALSE(popupBar->GetControls()->FindControlById(SC_SIZE)->GetEnabledField());
    EXPECT_TRUE(popupBar->GetControls()->FindControlById(SC_MINIMIZE)->IsDefaultItem());
}

// The colour of the icon's centre, drawn on white.
COLORREF CentreOf(HICON icon)
{
    foundation_test::DcTestSurface surface(16, 16, RGB(255, 255, 255));
    ::DrawIconEx(surface.GetDC(), 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
    return surface.Pixel(8, 8);
}

TEST_F(MenuBarMdiTest, TheSystemPopupTakesTheFirstIconTheChildGives)
{
    HICON red = image_test::MakeSolidIcon(16, 16, RGB(255, 0, 0));
    HICON green = image_test::MakeSolidIcon(16, 16, RGB(0, 255, 0));
    HICON blue = image_test::MakeSolidIcon(16, 16, RGB(0, 0, 255));
    const struct
    {
        const char* name;
        HICON for10336;
        HICON small;
        HICON big;
        COLORREF expected;
    } cases[] = {
        {"its own message first", red, green, blue, RGB(255, 0, 0)},
        {"then the small icon", nullptr, green, blue, RGB(0, 255, 0)},
        {"then the big icon", nullptr, nullptr, blue, RGB(0, 0, 255)},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        COSMMenuBar* bar = AddMenuBar(0x2000);
        auto child = std::make_unique<DocChild>();
        child->answerIcons = TRUE;
        child->answerFor10336 = c.for10336;
        child->answerForSmall = c.small;
        child->answerForBig = c.big;
        ASSERT_TRUE(child->Create(nullptr, "icons", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | WS_MAXIMIZE,
                                  CRect(0, 0, 200, 150), &frame));
        PumpMessages();
        auto* popup = dynamic_cast<COSMControlMDISysMenuPopup*>(bar->GetControl(0));
        ASSERT_NE(nullptr, popup);
        ASSERT_NE(nullptr, popup->GetIcon());
        EXPECT_EQ(c.expected, CentreOf(popup->GetIcon()));
        child->DestroyWindow();
        commandBars->Remove(bar);
    }
    ::DestroyIcon(red);
    ::DestroyIcon(green);
    ::DestroyIcon(blue);
}

// ---- Template menus ----

TEST_F(MenuBarMdiTest, EachTemplateKeepsItsCustomizedControls)
{
    commandBars->SetCustomizeDialog(&customizeDialog);
    COSMMenuBar* bar = AddMenuBar();
    const std::vector<std::string> own = {"&File", "&Help"};
    const std::vector<std::string> text = {"&File", "&Text", "&Window"};
    const std::vector<std::string> image = {"&File", "&Image", "&Window", "&Help"};

    DocChild* textChild = OpenChild(textTemplate);
    EXPECT_EQ(text, Captions(bar));
    EXPECT_EQ(UINT(IDR_TEST_TEXT_TYPE), bar->GetCurrentMenuId());
    EXPECT_EQ(nullptr, ::GetMenu(frame.GetSafeHwnd()));
    // The user takes "Text" off the text document's menu.
    bar->GetControls()->Remove(bar->GetControl(1));
    EXPECT_TRUE(bar->IsCustomized());

    DocChild* imageChild = OpenChild(imageTemplate);
    EXPECT_EQ(image, Captions(bar));
    EXPECT_EQ(nullptr, ::GetMenu(frame.GetSafeHwnd()));

    textChild->MDIActivate();
    PumpMessages();
    EXPECT_EQ((std::vector<std::string>{"&File", "&Window"}), Captions(bar));
    ASSERT_NE(nullptr, bar->GetMDIMenus()->GetRecord(IDR_TEST_TEXT_TYPE));
    EXPECT_EQ(bar->GetControls(), bar->GetMDIMenus()->GetRecord(IDR_TEST_TEXT_TYPE)->m_controls);
    EXPECT_EQ(bar, bar->GetControls()->GetParent());

    imageChild->MDIActivate();
    PumpMessages();
    EXPECT_EQ(image, Captions(bar));

    // The frame's own menu comes back as the last document goes.
    textChild->DestroyWindow();
    imageChild->DestroyWindow();
    PumpMessages();
    EXPECT_EQ(own, Captions(bar));
    EXPECT_EQ(UINT(IDR_TEST_FRAME_MENU), bar->GetCurrentMenuId());
    EXPECT_EQ(nullptr, bar->GetMDIMenus()->GetRecord(IDR_TEST_FRAME_MENU));
    EXPECT_EQ(nullptr, ::GetMenu(frame.GetSafeHwnd()));
}

TEST_F(MenuBarMdiTest, WithoutACustomizeDialogTheControlsOnlyFollowTheMenus)
{
    COSMMenuBar* bar = AddMenuBar();
    OpenChild(textTemplate);
    EXPECT_EQ((std::vector<std::string>{"&File", "&Text", "&Window"}), Captions(bar));
    OpenChild(imageTemplate);
    EXPECT_EQ((std::vector<std::string>{"&File", "&Image", "&Window", "&Help"}), Captions(bar));
    EXPECT_EQ(0, bar->GetMDIMenus()->GetCount());
}

TEST_F(MenuBarMdiTest, SetMenuIsConsumedAndLeavesTheFrameWithoutAMenu)
{
    COSMMenuBar* bar = AddMenuBar();
    HWND client = frame.m_hWndMDIClient;
    const struct
    {
        const char* name;
        BOOL customize;
        DWORD addFlags;
        std::vector<std::string> shown;
    } cases[] = {
        {"switches", FALSE, 0, {"&File", "&Image", "&Window", "&Help"}},
        {"customize mode", TRUE, 0, {"&File", "&Help"}},
        {"no switching", FALSE, 0x400, {"&File", "&Help"}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        bar->LoadMenuBar(IDR_TEST_FRAME_MENU);
        bar->SwitchMDIMenu(IDR_TEST_FRAME_MENU, nullptr);
        ASSERT_EQ((std::vector<std::string>{"&File", "&Help"}), Captions(bar));
        bar->ModifyFlags(c.addFlags, 0x400 & ~c.addFlags);
        commandBars->SetCustomizeMode(c.customize);
        // The image document is the active one, so its template's menu is the one the client is given.
        DocChild* child = OpenChild(nullptr);
        ASSERT_NE(nullptr, child);
        child->m_hMenuShared = imageTemplate->m_hMenuShared;
        ::SetMenu(frame.GetSafeHwnd(), frameMenu);
        const LRESULT result =
            ::SendMessageA(client, WM_MDISETMENU, reinterpret_cast<WPARAM>(imageTemplate->m_hMenuShared), 0);
        EXPECT_EQ(0, result);
        EXPECT_EQ(nullptr, ::GetMenu(frame.GetSafeHwnd()));
        EXPECT_EQ(c.shown, Captions(bar));
        commandBars->SetCustomizeMode(FALSE);
        child->DestroyWindow();
        PumpMessages();
    }
}

// ---- Reset and the customized state ----

struct MessageBoxAnswer
{
    static int answer;
    static int asked;
    static int Answer(LPCSTR, UINT type)
    {
        ++asked;
        EXPECT_EQ(UINT(MB_OKCANCEL | MB_ICONEXCLAMATION), type);
        return answer;
    }
};
int MessageBoxAnswer::answer = IDOK;
int MessageBoxAnswer::asked = 0;

TEST_F(MenuBarMdiTest, ResetAsksAndReloadsTheMenu)
{
    ScopedSetting<int (*)(LPCSTR, UINT)> messageBox{COSMToolBar::s_pfnShowMessageBox, &MessageBoxAnswer::Answer};
    COSMMenuBar* bar = AddMenuBar();
    bar->GetControls()->Remove(bar->GetControl(0));
    ASSERT_EQ((std::vector<std::string>{"&Help"}), Captions(bar));

    MessageBoxAnswer::asked = 0;
    MessageBoxAnswer::answer = IDCANCEL;
    bar->Reset(TRUE);
    EXPECT_EQ(1, MessageBoxAnswer::asked);
    EXPECT_EQ((std::vector<std::string>{"&Help"}), Captions(bar));
    EXPECT_EQ(0, frame.resets);

    MessageBoxAnswer::answer = IDOK;
    bar->Reset(TRUE);
    EXPECT_EQ(2, MessageBoxAnswer::asked);
    EXPECT_EQ((std::vector<std::string>{"&File", "&Help"}), Captions(bar));
    EXPECT_EQ(1, frame.resets);

    // Not asked: no question.
    bar->GetControls()->Remove(bar->GetControl(0));
    bar->Reset(FALSE);
    EXPECT_EQ(2, MessageBoxAnswer::asked);
    EXPECT_EQ((std::vector<std::string>{"&File", "&Help"}), Captions(bar));
    EXPECT_EQ(2, frame.resets);
}

TEST_F(MenuBarMdiTest, IsCustomizedLooksAtTheRecordsAndTheSnapshot)
{
    commandBars->SetCustomizeDialog(&customizeDialog);
    COSMMenuBar* bar = AddMenuBar();
    bar->GetControls()->CreateOriginalControls();
    EXPECT_FALSE(bar->IsCustomized());

    // Not customizable: never customized.
    bar->GetControls()->Remove(bar->GetControl(0));
    bar->SetCustomizable(FALSE);
    EXPECT_FALSE(bar->IsCustomized());
    bar->SetCustomizable(TRUE);
    EXPECT_TRUE(bar->IsCustomized());
    bar->Reset(FALSE);
    EXPECT_FALSE(bar->IsCustomized());

    // A record that changed.
    DocChild* textChild = OpenChild(textTemplate);
    OpenChild(imageTemplate);
    EXPECT_FALSE(bar->IsCustomized());
    COSMMenuBarMDIMenuInfo* text = bar->GetMDIMenus()->GetRecord(IDR_TEST_TEXT_TYPE);
    ASSERT_NE(nullptr, text);
    text->m_controls->Remove(text->m_controls->GetAt(0));
    EXPECT_TRUE(bar->IsCustomized());

    bar->PrepareForSaving();
    EXPECT_TRUE(bar->IsSwitchedForSaving());
    EXPECT_EQ(UINT(IDR_TEST_FRAME_MENU), bar->GetCurrentMenuId());
    EXPECT_TRUE(bar->GetMDIMenus()->GetRecord(IDR_TEST_TEXT_TYPE)->m_changed);
    EXPECT_FALSE(bar->GetMDIMenus()->GetRecord(IDR_TEST_IMAGE_TYPE)->m_changed);
    textChild->MDIActivate();
    PumpMessages();
}

// ---- Copies ----

TEST_F(MenuBarMdiTest, ACopyOwnsControlsOfItsOwn)
{
    COSMMenuBar* original = AddBarWithTemplateRecords();
    COSMMenuBarMDIMenuInfo* originalText = original->GetMDIMenus()->GetRecord(IDR_TEST_TEXT_TYPE);
    ASSERT_NE(nullptr, originalText);
    const int textCount = originalText->m_controls->GetCount();

    RefPtr<COSMCommandBar> clone = AdoptRef(original->Clone(TRUE));
    auto* copy = dynamic_cast<COSMMenuBar*>(clone.Get());
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(original->GetResourceId(), copy->GetResourceId());
    COSMMenuBarMDIMenuInfo* copyText = copy->GetMDIMenus()->GetRecord(IDR_TEST_TEXT_TYPE);
    ASSERT_NE(nullptr, copyText);
    EXPECT_NE(originalText, copyText);
    EXPECT_NE(originalText->m_controls, copyText->m_controls);
    EXPECT_EQ(textCount, copyText->m_controls->GetCount());
    // The snapshot came along, as a copy.
    ASSERT_NE(nullptr, copyText->m_controls->GetOriginalControls());
    EXPECT_NE(originalText->m_controls->GetOriginalControls(), copyText->m_controls->GetOriginalControls());

    // Customizing the copy leaves the original as it was.
    copyText->m_controls->Remove(copyText->m_controls->GetAt(0));
    EXPECT_EQ(textCount, originalText->m_controls->GetCount());
    EXPECT_EQ(textCount - 1, copyText->m_controls->GetCount());

    // Copying again over a record of the same id lets the replaced controls go.
    COSMControls* replaced = copyText->m_controls.Get();
    replaced->InternalAddRef();
    const LONG before = RefCount(replaced);
    copy->Copy(original, TRUE);
    EXPECT_EQ(before - 1, RefCount(replaced));
    EXPECT_NE(replaced, copy->GetMDIMenus()->GetRecord(IDR_TEST_TEXT_TYPE)->m_controls);
    EXPECT_EQ(textCount, copy->GetMDIMenus()->GetRecord(IDR_TEST_TEXT_TYPE)->m_controls->GetCount());
    replaced->InternalRelease();
}

TEST_F(MenuBarMdiTest, TheBarsRecordsGoWithIt)
{
    COSMMenuBar* bar = AddBarWithTemplateRecords();
    COSMMenuBarMDIMenuInfo* text = bar->GetMDIMenus()->GetRecord(IDR_TEST_TEXT_TYPE);
    ASSERT_NE(nullptr, text);
    text->InternalAddRef();
    COSMControls* controls = text->m_controls.Get();
    controls->InternalAddRef();
    commandBars->Remove(bar);
    EXPECT_EQ(1, RefCount(text));
    EXPECT_EQ(2, RefCount(controls));
    text->InternalRelease();
    EXPECT_EQ(1, RefCount(controls));
    controls->InternalRelease();
}

}  // namespace
}  // namespace commandbars_test
