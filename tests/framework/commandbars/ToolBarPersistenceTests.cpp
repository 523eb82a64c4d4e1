// Toolbars saved and loaded through the archive exchange on frames with dock bars: the toolbar's bytes and keys,
// which toolbars are saved and how bars are numbered around them, and loaded toolbars merged into a fresh frame's
// (custom bars placed where they were saved, built-in bars updated or asked about). A drawn button image travels in
// the bars' store and is drawn the same from a fresh image manager.
#include "PersistenceTestSupport.h"

#include "classlib/ScopedHandle.h"
#include "framework/commandbars/CommandBarList.h"
#include "framework/commandbars/CommandBarParams.h"
#include "framework/commandbars/ControlPopup.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/ImageManagerIconHandle.h"

#include <algorithm>
#include <vector>

using namespace commandbars_test;
using namespace prop_exchange_test;

namespace {

class ToolBarPersistenceTest : public DockSiteTest
{
protected:
    void SetUp() override
    {
        DockSiteTest::SetUp();
        MessageBoxAnswer::asked = 0;
    }

    static BOOL Load(const Bytes& bytes, COSMCommandBars* target, BOOL silent)
    {
        LoadFromMemory load(bytes);
        return target->LoadBarState(&load.px, silent);
    }
    // A built-in toolbar of the ids, with them as its original definition.
    COSMToolBar* AddBuiltIn(COSMCommandBars* manager, const char* title, UINT id, std::initializer_list<UINT> ids)
    {
        auto* bar = static_cast<COSMToolBar*>(manager->AddToolBar(title, id));
        if (!bar)
            return nullptr;
        std::vector<UINT> list(ids);
        bar->SetButtons(list.data(), static_cast<int>(list.size()));
        bar->SetBuiltIn(TRUE);
        bar->GetControls()->CreateOriginalControls();
        return bar;
    }

    ScopedSetting<int (*)(LPCSTR, UINT)> messageBox{COSMToolBar::s_pfnShowMessageBox, &MessageBoxAnswer::Answer};
    ScopedSetting<int> answer{MessageBoxAnswer::answer, IDYES};
};

TEST_F(ToolBarPersistenceTest, CustomToolBarSavesTheBytesOfTheStoredFormsAndLoadsEqual)
{
    auto* bar = static_cast<COSMToolBar*>(commandBars->AddToolBar("Custom 1", 59392));
    ASSERT_NE(nullptr, bar);
    bar->GetControls()->Add(1, 30101)->SetCaption("&Open");
    bar->GetControls()->Add(1, 30102)->SetCaption("&Save");
    const DWORD flags = bar->GetFlags();
    const int mruWidth = bar->GetMRUWidth();

    StreamWriter w;
    w.Long(1).NewClass("COSMToolBar", kToolBarSchema);
    w.BarKeys(kSchema, 1, 59392, COSMCommandBar::kStyleGripper, "Custom 1", 0, mruWidth, flags);
    w.Long(2).NewClass("COSMControlButton").ControlKeys(1, 30101, "&Open");
    w.ClassRef(3).ControlKeys(1, 30102, "&Save").EndControls();  // 1 bar class, 2 bar, 3 button class
    w.ToolBarKeys(kToolBarSchema, FALSE);
    const Bytes bytes = SaveBars(commandBars.Get());
    EXPECT_EQ(w.bytes, bytes);

    FreshSite fresh;
    ASSERT_TRUE(fresh.created);
    ASSERT_TRUE(Load(bytes, fresh.commandBars.Get(), TRUE));
    ASSERT_EQ(1, fresh.commandBars->GetCount());
    COSMToolBar* loaded = fresh.FindToolBar(59392);
    ASSERT_NE(nullptr, loaded);
    EXPECT_TRUE(loaded->GetControls()->Compare(bar->GetControls()));
    EXPECT_FALSE(loaded->IsBuiltIn());
    EXPECT_EQ(CString("Custom 1"), loaded->GetTitle());
    EXPECT_EQ(fresh.commandBars.Get(), loaded->GetCommandBarsField());
    EXPECT_EQ("|Custom 1|", DescribeRows(fresh.commandBars->GetDockBar(0)));
}

TEST_F(ToolBarPersistenceTest, BarsAreNumberedAroundToolBarsWhichKeepTheirIds)
{
    COSMToolBar* standard = AddBuiltIn(commandBars.Get(), "Standard", 701, {201});
    ASSERT_NE(nullptr, standard);
    COSMPopupBar* popups[2] = {};
    for (COSMPopupBar*& popup : popups)
    {
        auto* control = static_cast<COSMControlPopup*>(standard->GetControls()->Append(new COSMControlPopup));
        control->SetType(2);
        popup = COSMPopupBar::CreatePopupBar(commandBars.Get());
        popup->GetControls()->Add(1, 30101);
        control->SetCommandBar(popup);
        popup->InternalRelease();
    }
    // A toolbar whose id lies in the generated range still keeps it: toolbars are never numbered.
    auto* odd = static_cast<COSMToolBar*>(commandBars->AddToolBar("Odd", 0x1000001));
    ASSERT_NE(nullptr, odd);

    for (int save = 0; save < 2; ++save)
    {
        COSMCommandBarList list;
        COSMCommandBarsPersistParams params;
        commandBars->GenerateCommandBarList(&list, &params);
        ASSERT_EQ(4, list.GetCount());
        EXPECT_EQ(standard, list.GetAt(0));
        EXPECT_EQ(701u, standard->GetBarID()) << save;
        EXPECT_EQ(0x1000000u, popups[0]->GetBarID()) << save;
        EXPECT_EQ(0x1000001u, popups[1]->GetBarID()) << save;
        EXPECT_EQ(odd, list.GetAt(3));
        EXPECT_EQ(0x1000001u, odd->GetBarID()) << save;
    }
}

TEST_F(ToolBarPersistenceTest, SaveCandidatesFollowNotSavedBuiltInAndCustomized)
{
    struct Row
    {
        const char* what;
        BOOL notSaved;
        BOOL builtIn;
        BOOL customized;
        BOOL onlyCustomized;
        BOOL saved;
    };
    const Row rows[] = {
        {"not saved", TRUE, FALSE, TRUE, FALSE, FALSE},
        {"built in, everything asked", FALSE, TRUE, FALSE, FALSE, TRUE},
        {"built in, unchanged", FALSE, TRUE, FALSE, TRUE, FALSE},
        {"built in, customized", FALSE, TRUE, TRUE, TRUE, TRUE},
        {"custom", FALSE, FALSE, FALSE, TRUE, TRUE},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.what);
        RefPtr<COSMCommandBars> manager = AdoptRef(new COSMCommandBars);
        auto* bar = new COSMToolBar;
        bar->SetCommandBars(manager.Get());
        bar->SetBarID(701);
        bar->GetControls()->Add(1, 201);
        bar->GetControls()->CreateOriginalControls();
        if (row.customized)
            bar->GetControls()->Add(1, 202);
        bar->SetBuiltIn(row.builtIn);
        bar->SetNotSaved(row.notSaved);
        manager->AddCommandBar(bar);
        COSMCommandBarsPersistParams params;
        params.saveOnlyCustomized = row.onlyCustomized;
        COSMCommandBarList list;
        manager->GenerateCommandBarList(&list, &params);
        EXPECT_EQ(row.saved ? 1 : 0, list.GetCount());
    }
}

TEST_F(ToolBarPersistenceTest, ToolBarKeysFollowTheirSchemas)
{
    struct Row
    {
        WORD schema;
        long type;
        BOOL storedCloseable;
        BOOL storedCustomizeDialog;
        BOOL closeable;
        BOOL customizeDialog;
    };
    const Row rows[] = {
        {6, 1, TRUE, TRUE, TRUE, TRUE},   // no "Closeable" yet: as constructed
        {6, 0, TRUE, TRUE, FALSE, TRUE},  // an old menu bar never closes
        {16, 0, TRUE, TRUE, FALSE, TRUE},
        {16, 1, FALSE, FALSE, FALSE, TRUE},  // no "CustomizeDialogPresent" yet
        {17, 0, TRUE, FALSE, TRUE, FALSE},
        {kSchema, 1, FALSE, TRUE, FALSE, TRUE},  // no "FloatingPosition" yet
        {kToolBarSchema, 1, FALSE, TRUE, FALSE, TRUE},
    };
    // Where the stored bar floated: a stream of a schema without the key holds nothing of it.
    const CPoint stored(300, 200);
    for (const Row& row : rows)
    {
        SCOPED_TRACE(testing::Message() << "schema " << row.schema << " type " << row.type);
        StreamWriter w;
        w.Long(2).NewClass("COSMToolBar", row.schema).BarKeys(row.schema, row.type, 0x2000, 0, "Old");
        w.Long(0).EndControls().ToolBarKeys(row.schema, FALSE, row.storedCloseable, row.storedCustomizeDialog, stored);
        // A bar after it shows that the stream stayed in step.
        w.ClassRef(1).BarKeys(row.schema, 1, 0x2001, 0, "Next").Long(0).EndControls().ToolBarKeys(row.schema, TRUE);

        LoadFromMemory load(w.bytes);
        COSMCommandBarList list;
        ASSERT_TRUE(commandBars->LoadCommandBarList(&load.px, &list));
        ASSERT_EQ(2, list.GetCount());
        auto* bar = dynamic_cast<COSMToolBar*>(list.GetAt(0));
        ASSERT_NE(nullptr, bar);
        EXPECT_EQ(row.closeable, bar->IsCloseable());
        EXPECT_EQ(row.customizeDialog, bar->IsCustomizeDialogPresent());
        EXPECT_EQ(row.schema >= kToolBarSchema ? stored : CPoint(0, 0), bar->GetFloatingPosition());
        EXPECT_FALSE(bar->IsBuiltIn());
        EXPECT_EQ(CString("Next"), list.GetAt(1)->GetTitle());
        EXPECT_TRUE(static_cast<COSMToolBar*>(list.GetAt(1))->IsBuiltIn());
    }
}

// A popup control names the number of its popup bar; a toolbar carrying that number is never taken for it.
TEST_F(ToolBarPersistenceTest, PopupNamingAToolBarsIdLoadsWithoutAttaching)
{
    for (BOOL popupBarToo : {FALSE, TRUE})
    {
        SCOPED_TRACE(popupBarToo ? "a popup bar of the number follows" : "only the toolbar has the number");
        StreamWriter w;
        w.Long(popupBarToo ? 3 : 2).NewClass("COSMToolBar", kToolBarSchema).BarKeys(kSchema, 1, 0x1000000, 0, "Tools");
        w.Long(0).EndControls().ToolBarKeys(kToolBarSchema, FALSE);
        w.NewClass("COSMCommandBar").BarKeys(kSchema, 1, 0x2000, 0, "Main");
        w.Long(1).NewClass("COSMControlPopup").ControlKeys(2, 7, "&File").Long(0x1000000).EndControls();
        if (popupBarToo)
            w.NewClass("COSMPopupBar").BarKeys(kSchema, 2, 0x1000000, 0, "").Long(0).EndControls().PopupKeys();

        LoadFromMemory load(w.bytes);
        COSMCommandBarList list;
        ASSERT_TRUE(commandBars->LoadCommandBarList(&load.px, &list));
        list.GetAt(1)->RestoreCommandBarList(&list);
        auto* control = static_cast<COSMControlPopup*>(list.GetAt(1)->GetControl(0));
        if (popupBarToo)
        {
            EXPECT_EQ(list.GetAt(2), control->GetCommandBar());
            EXPECT_EQ(0, control->GetCommandBarId());
        }
        else
        {
            EXPECT_EQ(nullptr, control->GetCommandBar());
            EXPECT_EQ(0x1000000, control->GetCommandBarId());
        }
    }
}

TEST_F(ToolBarPersistenceTest, RestoredCustomToolBarsGoBackWhereTheyWereSaved)
{
    auto* floating = static_cast<COSMToolBar*>(commandBars->AddToolBar("Floating", 59392));
    auto* left = static_cast<COSMToolBar*>(commandBars->AddToolBar("Left", 59393));
    ASSERT_TRUE(floating && left);
    floating->GetControls()->Add(1, 201);
    left->GetControls()->Add(1, 202);
    ASSERT_TRUE(floating->SetPosition(4));
    ASSERT_TRUE(left->SetPosition(2));
    left->ModifyFlags(0, 0x0C);
    const DWORD leftFlags = left->GetFlags();
    Bytes bytes = SaveBars(commandBars.Get());
    // A stored position no toolbar has docks the bar at the top.
    StreamWriter odd;
    odd.ClassRef(1).BarKeys(kSchema, 1, 59394, 0, "Odd", 9).Long(0).EndControls().ToolBarKeys(kToolBarSchema, FALSE);
    bytes.insert(bytes.end(), odd.bytes.begin(), odd.bytes.end());
    bytes[0] = 3;  // the bar count, the stream's first value

    FreshSite fresh;
    ASSERT_TRUE(fresh.created);
    ASSERT_TRUE(Load(bytes, fresh.commandBars.Get(), TRUE));
    ASSERT_EQ(3, fresh.commandBars->GetCount());

    struct Row
    {
        UINT id;
        int position;
        int side;  // -1 floating
    };
    const Row rows[] = {{59392, 4, -1}, {59393, 2, 2}, {59394, 0, 0}};
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.id);
        COSMToolBar* bar = fresh.FindToolBar(row.id);
        ASSERT_NE(nullptr, bar);
        ASSERT_NE(nullptr, bar->GetSafeHwnd());
        EXPECT_TRUE(bar->IsWindowVisible());
        EXPECT_EQ(row.position, bar->GetPosition());
        if (row.side < 0)
        {
            EXPECT_EQ(nullptr, bar->GetDockBar());
            EXPECT_TRUE(bar->GetStyle() & WS_POPUP);
            EXPECT_EQ(fresh.frame.GetSafeHwnd(), ::GetWindow(bar->GetSafeHwnd(), GW_OWNER));
            continue;
        }
        COSMDockBar* dockBar = fresh.commandBars->GetDockBar(row.side);
        EXPECT_EQ(dockBar, bar->GetDockBar());
        EXPECT_EQ(dockBar->GetSafeHwnd(), ::GetParent(bar->GetSafeHwnd()));
        EXPECT_EQ("|" + std::string(static_cast<LPCSTR>(bar->GetTitle())) + "|", DescribeRows(dockBar));
        // Laid out inside its dock bar, not left where the window was made.
        CRect dock = ScreenRect(dockBar);
        CRect rect = ScreenRect(bar);
        EXPECT_FALSE(rect.IsRectEmpty());
        EXPECT_EQ(rect, rect & dock);
    }
    EXPECT_EQ(leftFlags, fresh.FindToolBar(59393)->GetFlags());
}

TEST_F(ToolBarPersistenceTest, BuiltInBarWithAnUnchangedDefinitionTakesTheLoadedControls)
{
    COSMToolBar* standard = AddBuiltIn(commandBars.Get(), "Standard", 701, {201, 202, 203});
    ASSERT_NE(nullptr, standard);
    standard->GetControls()->RemoveAt(1);
    standard->GetControls()->Add(1, 204);
    standard->SetTitle("Mine");
    ASSERT_TRUE(standard->SetPosition(2));  // the user moved it too
    standard->SetCustomizeDialogPresent(FALSE);
    const Bytes bytes = SaveBars(commandBars.Get());

    FreshSite fresh;
    ASSERT_TRUE(fresh.created);
    COSMToolBar* made = AddBuiltIn(fresh.commandBars.Get(), "Standard", 701, {201, 202, 203});
    ASSERT_NE(nullptr, made);
    ASSERT_TRUE(Load(bytes, fresh.commandBars.Get(), FALSE));
    EXPECT_EQ(0, MessageBoxAnswer::asked);
    ASSERT_EQ(1, fresh.commandBars->GetCount());
    EXPECT_EQ((std::vector<UINT>{201, 203, 204}), ControlIds(made->GetControls()));
    EXPECT_EQ(CString("Mine"), made->GetTitle());
    EXPECT_FALSE(made->IsCustomizeDialogPresent());
    // The definition is still the application's; the bar keeps its manager and goes where the user had put it.
    EXPECT_EQ((std::vector<UINT>{201, 202, 203}), ControlIds(made->GetControls()->GetOriginalControls()));
    EXPECT_EQ(fresh.commandBars.Get(), made->GetCommandBarsField());
    EXPECT_EQ(2, made->GetPosition());
    EXPECT_EQ(fresh.commandBars->GetDockBar(2), made->GetDockBar());
    EXPECT_EQ("|Mine|", DescribeRows(fresh.commandBars->GetDockBar(2)));
}

TEST_F(ToolBarPersistenceTest, BuiltInBarWithoutASavedDefinitionKeepsItsOwn)
{
    COSMToolBar* standard = AddBuiltIn(commandBars.Get(), "Standard", 701, {201, 202});
    ASSERT_NE(nullptr, standard);
    standard->GetControls()->Add(1, 204);
    StoreToMemory store;
    ASSERT_TRUE(commandBars->SaveBarState(&store.px, FALSE, FALSE));  // no original controls saved

    FreshSite fresh;
    ASSERT_TRUE(fresh.created);
    COSMToolBar* made = AddBuiltIn(fresh.commandBars.Get(), "Standard", 701, {201, 202, 203});
    ASSERT_NE(nullptr, made);
    COSMOriginalControls* snapshot = made->GetControls()->GetOriginalControls();
    ASSERT_TRUE(Load(store.Take(), fresh.commandBars.Get(), FALSE));
    EXPECT_EQ((std::vector<UINT>{201, 202, 204}), ControlIds(made->GetControls()));
    EXPECT_EQ(snapshot, made->GetControls()->GetOriginalControls());
    EXPECT_EQ(0, MessageBoxAnswer::asked);
}

TEST_F(ToolBarPersistenceTest, ChangedDefinitionIsKeptOrAskedAbout)
{
    struct Row
    {
        const char* what;
        BOOL customized;
        BOOL silent;
        int answer;
        int asked;
        std::vector<UINT> ids;
    };
    const std::vector<UINT> newDefinition{201, 202, 203, 205};
    const Row rows[] = {
        {"silent", TRUE, TRUE, IDNO, 0, newDefinition},
        {"asked, yes", TRUE, FALSE, IDYES, 1, newDefinition},
        {"asked, no", TRUE, FALSE, IDNO, 1, {201, 203, 204}},
        {"not customized", FALSE, FALSE, IDNO, 0, newDefinition},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.what);
        Bytes bytes;
        {
            FreshSite before;
            ASSERT_TRUE(before.created);
            COSMToolBar* standard = AddBuiltIn(before.commandBars.Get(), "Standard", 701, {201, 202, 203});
            ASSERT_NE(nullptr, standard);
            if (row.customized)
            {
                standard->GetControls()->RemoveAt(1);
                standard->GetControls()->Add(1, 204);
            }
            StoreToMemory store;
            ASSERT_TRUE(before.commandBars->SaveBarState(&store.px));
            bytes = store.Take();
        }

        FreshSite fresh;
        ASSERT_TRUE(fresh.created);
        COSMToolBar* made = AddBuiltIn(fresh.commandBars.Get(), "Standard", 701, {201, 202, 203, 205});
        ASSERT_NE(nullptr, made);
        COSMOriginalControls* snapshot = made->GetControls()->GetOriginalControls();
        MessageBoxAnswer::asked = 0;
        MessageBoxAnswer::answer = row.answer;
        ASSERT_TRUE(Load(bytes, fresh.commandBars.Get(), row.silent));
        EXPECT_EQ(row.asked, MessageBoxAnswer::asked);
        EXPECT_EQ(row.ids, ControlIds(made->GetControls()));
        // Whatever the answer, the application's new definition stays the bar's original.
        EXPECT_EQ(snapshot, made->GetControls()->GetOriginalControls());
        if (row.asked)
        {
            EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION), MessageBoxAnswer::lastType);
            CString format;
            ASSERT_TRUE(GetResourceManager()->LoadString(&format, COSMToolBar::kMergeQuestionId));
            EXPECT_NE(-1, format.Find("%s"));
            EXPECT_NE(-1, MessageBoxAnswer::lastText.Find("'Standard'"));
            EXPECT_EQ(-1, MessageBoxAnswer::lastText.Find("%s"));
            // The question about a changed toolbar, not another question about the bar (the reset one names it too).
            EXPECT_EQ(9177u, COSMToolBar::kMergeQuestionId);
            CString question;
            question.Format(format, "Standard");
            EXPECT_EQ(question, MessageBoxAnswer::lastText);
        }
    }
}

// The stripes of the drawn image: top, middle and bottom rows.
const COLORREF kStripes[] = {RGB(200, 30, 90), RGB(20, 160, 60), RGB(30, 40, 210)};

// A 16 x 16 opaque icon of three horizontal stripes, as the image editor draws one.
HICON MakeStripedIcon()
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 16;
    info.bmiHeader.biHeight = -16;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    ScopedGdiObject<HBITMAP> color(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!color)
        return nullptr;
    auto* pixels = static_cast<DWORD*>(bits);
    for (int y = 0; y < 16; ++y)
    {
        const COLORREF stripe = kStripes[y < 5 ? 0 : y < 11 ? 1 : 2];
        for (int x = 0; x < 16; ++x)
            pixels[y * 16 + x] = (GetRValue(stripe) << 16) | (GetGValue(stripe) << 8) | GetBValue(stripe);
    }
    const std::vector<BYTE> opaque(2 * 16, 0);
    ScopedGdiObject<HBITMAP> mask(::CreateBitmap(16, 16, 1, 1, opaque.data()));
    ICONINFO iconInfo{TRUE, 0, 0, mask.Get(), color.Get()};
    return ::CreateIconIndirect(&iconInfo);
}

// The pixels of the control as its bar's window shows it, row by row.
std::vector<DWORD> ControlPixels(COSMCommandBar& bar, const COSMControl& control)
{
    bar.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const CRect rect = control.GetRect();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = rect.Width();
    info.bmiHeader.biHeight = -rect.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<size_t>(rect.Width()) * rect.Height());
    const ScopedWindowDC window = GetScopedWindowDC(bar.GetSafeHwnd());
    const ScopedCreatedDC memory(::CreateCompatibleDC(window.Get()));
    const ScopedGdiObject<HBITMAP> copy(::CreateCompatibleBitmap(window.Get(), rect.Width(), rect.Height()));
    {
        const ScopedSelection selected = SelectScoped(memory.Get(), copy.Get());
        ::BitBlt(memory.Get(), 0, 0, rect.Width(), rect.Height(), window.Get(), rect.left, rect.top, SRCCOPY);
    }
    ::GetDIBits(memory.Get(), copy.Get(), 0, static_cast<UINT>(rect.Height()), pixels.data(), &info, DIB_RGB_COLORS);
    for (DWORD& pixel : pixels)
        pixel &= 0x00FFFFFF;
    return pixels;
}

bool ShowsColor(const std::vector<DWORD>& pixels, COLORREF color)
{
    const DWORD wanted = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
    return std::find(pixels.begin(), pixels.end(), wanted) != pixels.end();
}

TEST_F(ToolBarPersistenceTest, ADrawnImageTravelsInTheBarsStoreAndDrawsTheSamePixelsFromAFreshImageManager)
{
    // Each manager has an image manager of its own: nothing reaches the fresh one but the bars' store.
    auto images = AdoptRef(new COSMImageManager);
    commandBars->SetImageManager(images.Get());
    auto* bar = static_cast<COSMToolBar*>(commandBars->AddToolBar("Custom 1", 59392));
    ASSERT_NE(nullptr, bar);
    COSMControl* drawn = bar->GetControls()->Add(1, 30101);
    drawn->SetCaption("&Open");
    bar->GetControls()->Add(1, 30102)->SetCaption("&Save");
    const UINT customId = images->AddCustomIcon(COSMImageManagerIconHandle(MakeStripedIcon()));
    ASSERT_NE(0u, customId);
    drawn->SetCustomIconId(static_cast<int>(customId));
    frame.RecalcLayout();
    PumpMessages();
    const std::vector<DWORD> before = ControlPixels(*bar, *drawn);
    for (COLORREF stripe : kStripes)
        ASSERT_TRUE(ShowsColor(before, stripe)) << "the drawn image does not show on the bar";
    const CSize size = drawn->GetRect().Size();
    const Bytes bytes = SaveBars(commandBars.Get());

    FreshSite fresh;
    ASSERT_TRUE(fresh.created);
    auto freshImages = AdoptRef(new COSMImageManager);
    fresh.commandBars->SetImageManager(freshImages.Get());
    ASSERT_EQ(nullptr, freshImages->GetImage(customId, 16));
    ASSERT_TRUE(Load(bytes, fresh.commandBars.Get(), TRUE));
    COSMToolBar* loaded = fresh.FindToolBar(59392);
    ASSERT_NE(nullptr, loaded);
    COSMControl* loadedDrawn = loaded->GetControls()->FindControlById(30101);
    ASSERT_NE(nullptr, loadedDrawn);
    EXPECT_EQ(static_cast<int>(customId), loadedDrawn->GetCustomIconId());
    EXPECT_NE(nullptr, freshImages->GetImage(customId, 16));
    fresh.frame.RecalcLayout();
    PumpMessages();
    ASSERT_EQ(size, loadedDrawn->GetRect().Size());
    EXPECT_TRUE(before == ControlPixels(*loaded, *loadedDrawn)) << "the loaded bar draws another image";
}

}  // namespace
