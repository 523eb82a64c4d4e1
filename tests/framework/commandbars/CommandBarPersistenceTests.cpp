// Saving and loading bars through the archive exchange: the bytes against a stream written by hand, the numbering
// of bars, the schema gates of old stores, and crafted or damaged stores.
#include "CommandBarsTestSupport.h"
#include "BarStreamWriter.h"

#include "framework/commandbars/CommandBarAnimation.h"
#include "framework/commandbars/CommandBarList.h"
#include "framework/commandbars/CommandBarParams.h"
#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/ControlButton.h"
#include "framework/commandbars/ControlPopup.h"

#include <string>

using namespace commandbars_test;
using namespace prop_exchange_test;

namespace {

class PersistenceTest : public SiteTest
{
protected:
    // A bar whose controls hold a popup control opening a popup bar of two buttons.
    COSMCommandBar* MakeBarWithPopup(UINT barId, COSMPopupBar** popupOut = nullptr)
    {
        auto* bar = new COSMCommandBar;
        bar->SetBarID(barId);
        bar->SetTitle("Main");
        bar->SetCommandBars(commandBars.Get());
        auto* popupControl = static_cast<COSMControlPopup*>(bar->GetControls()->Append(new COSMControlPopup));
        popupControl->SetType(2);
        popupControl->SetCaption("&File");
        COSMPopupBar* popup = COSMPopupBar::CreatePopupBar(commandBars.Get());
        popup->GetControls()->Add(1, 30101)->SetCaption("&Open");
        popup->GetControls()->Add(1, 30102)->SetCaption("&Save");
        popupControl->SetCommandBar(popup);
        popup->InternalRelease();
        commandBars->AddCommandBar(bar);
        if (popupOut)
            *popupOut = popup;
        return bar;
    }

    // Loads the bytes into a fresh list; the result of LoadCommandBarList.
    BOOL LoadList(Bytes bytes, COSMCommandBarList& list, COSMCommandBars* target = nullptr)
    {
        LoadFromMemory load(std::move(bytes));
        COSMCommandBarsPersistParams params;
        params.commandBars = target ? target : commandBars.Get();
        load.px.m_dwData = reinterpret_cast<DWORD_PTR>(&params);
        return commandBars->LoadCommandBarList(&load.px, &list);
    }

    // A store of one popup bar numbered id whose one popup control names popupId; the bar's class comes first.
    static Bytes OnePopupNaming(long id, long popupId, StreamWriter& w)
    {
        w.NewClass("COSMPopupBar").BarKeys(kSchema, 2, id, COSMCommandBar::kStyleGripper, "");
        w.Long(1).NewClass("COSMControlPopup").ControlKeys(2, 7, "&More").Long(popupId).EndControls();
        w.PopupKeys();
        return w.bytes;
    }
};

TEST_F(PersistenceTest, BarWithPopupSavesTheBytesOfTheStoredForms)
{
    MakeBarWithPopup(0x2000);

    StreamWriter w;
    w.Long(2);  // two bars in the list
    w.NewClass("COSMCommandBar").BarKeys(kSchema, 1, 0x2000, COSMCommandBar::kStyleGripper, "Main", 7, 32767);
    w.Long(1).NewClass("COSMControlPopup").ControlKeys(2, 0, "&File").Long(0x1000000).EndControls();
    w.NewClass("COSMPopupBar").BarKeys(kSchema, 2, 0x1000000, COSMCommandBar::kStyleGripper, "", 5, 0);
    w.Long(2).NewClass("COSMControlButton").ControlKeys(1, 30101, "&Open");
    // Indexes: 1 bar class, 2 bar, 3 popup control class, 4 control, 5 popup bar class, 6 popup bar, 7 button class.
    w.ClassRef(7).ControlKeys(1, 30102, "&Save").EndControls();
    w.PopupKeys();

    EXPECT_EQ(w.bytes, SaveBars(commandBars.Get()));
}

TEST_F(PersistenceTest, SavedBarsLoadEqualWithTheirPopupAttached)
{
    COSMPopupBar* popup = nullptr;
    COSMCommandBar* bar = MakeBarWithPopup(0x2000, &popup);
    const Bytes bytes = SaveBars(commandBars.Get());

    COSMCommandBarList list;
    ASSERT_TRUE(LoadList(bytes, list));
    ASSERT_EQ(2, list.GetCount());
    COSMCommandBar* loaded = list.GetAt(0);
    EXPECT_EQ(0x2000u, loaded->GetBarID());
    EXPECT_EQ(CString("Main"), loaded->GetTitle());
    EXPECT_EQ(commandBars.Get(), loaded->GetCommandBarsField());
    loaded->RestoreCommandBarList(&list);
    EXPECT_TRUE(loaded->GetControls()->Compare(bar->GetControls()));
    auto* control = static_cast<COSMControlPopup*>(loaded->GetControl(0));
    ASSERT_EQ(list.GetAt(1), control->GetCommandBar());
    EXPECT_EQ(0, control->GetCommandBarId());
    EXPECT_TRUE(control->GetCommandBar()->GetControls()->Compare(popup->GetControls()));
    EXPECT_TRUE(list.GetAt(1)->IsKindOf(RUNTIME_CLASS(COSMPopupBar)));
}

TEST_F(PersistenceTest, NumbersUnnumberedBarsAfreshForEverySave)
{
    COSMPopupBar* first = nullptr;
    MakeBarWithPopup(0x2000, &first);
    COSMPopupBar* second = nullptr;
    MakeBarWithPopup(0, &second);

    for (int save = 0; save < 2; ++save)
    {
        COSMCommandBarList list;
        COSMCommandBarsPersistParams params;
        commandBars->GenerateCommandBarList(&list, &params);
        ASSERT_EQ(4, list.GetCount());
        // In the order reached: a bar numbered below keeps its id; id 0 counts as no id.
        EXPECT_EQ(0x2000u, list.GetAt(0)->GetBarID()) << save;
        EXPECT_EQ(0x1000000u, first->GetBarID()) << save;
        EXPECT_EQ(0x1000001u, list.GetAt(2)->GetBarID()) << save;
        EXPECT_EQ(0x1000002u, second->GetBarID()) << save;
        EXPECT_EQ(2, RefCount(first)) << save;  // the control's and the list's
    }
}

TEST_F(PersistenceTest, SharedPopupIsListedOnce)
{
    COSMPopupBar* popup = nullptr;
    COSMCommandBar* bar = MakeBarWithPopup(0x2000, &popup);
    auto* again = static_cast<COSMControlPopup*>(bar->GetControls()->Append(new COSMControlPopup));
    again->SetCommandBar(popup);

    COSMCommandBarList list;
    commandBars->GenerateCommandBarList(&list, nullptr);
    EXPECT_EQ(2, list.GetCount());
}

// Old schemas: the class's schema in the stream gates the keys.
TEST_F(PersistenceTest, SchemaSeventeenBarLeavesNewerKeysAsConstructed)
{
    StreamWriter w;
    w.Long(1).NewClass("COSMCommandBar", 17).BarKeys(17, 1, 0x2000, 0, "Old");
    w.Long(0).EndControls();

    COSMCommandBarList list;
    ASSERT_TRUE(LoadList(w.bytes, list));
    ASSERT_EQ(1, list.GetCount());
    COSMCommandBar fresh;
    COSMCommandBar* loaded = list.GetAt(0);
    EXPECT_EQ(fresh.GetButtonSizeField(), loaded->GetButtonSizeField());
    EXPECT_EQ(fresh.GetShowTextBelowIcons(), loaded->GetShowTextBelowIcons());
    EXPECT_EQ(fresh.IsAnimationEnabled(), loaded->IsAnimationEnabled());
    EXPECT_EQ(fresh.GetDefaultButtonStyle(), loaded->GetDefaultButtonStyle());
    EXPECT_EQ(CString("Old"), loaded->GetTitle());
}

// A bar made with values of its own for the keys that came with schemas 18 and 19, so that a key the store's
// schema does not have is seen to stay as constructed rather than take the key's default.
class ConstructedBar : public COSMCommandBar
{
    DECLARE_SERIAL(ConstructedBar)

public:
    ConstructedBar()
    {
        SetButtonSize(CSize(40, 36));
        SetShowTextBelowIcons(1);
        GetAnimation()->SetAnimationEnabled(TRUE);
        SetDefaultButtonStyle(3);
    }
};
IMPLEMENT_SERIAL(ConstructedBar, COSMCommandBar, VERSIONABLE_SCHEMA | 0x22)

TEST_F(PersistenceTest, NewerBarKeysAreReadOnlyFromTheirSchemas)
{
    const struct
    {
        WORD schema;
        CSize buttonSize;
        int showText;
        BOOL animation;
        int buttonStyle;
    } rows[] = {
        {17, CSize(40, 36), 1, TRUE, 3},   // none of them stored yet: as constructed
        {18, CSize(24, 22), 0, FALSE, 3},  // the default button style comes with 19
        {19, CSize(24, 22), 0, FALSE, 5},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(testing::Message() << "schema " << row.schema);
        StreamWriter w;
        w.Long(1).NewClass("ConstructedBar", row.schema).BarKeys(17, 1, 0x2000, 0, "Old");
        // What the newer schemas store, unlike what the bar is made with.
        if (row.schema >= 18)
            w.Size(24, 22).Long(0).Long(FALSE);
        if (row.schema >= 19)
            w.Long(5);
        w.Long(0).EndControls();

        COSMCommandBarList list;
        ASSERT_TRUE(LoadList(w.bytes, list));
        ASSERT_EQ(1, list.GetCount());
        COSMCommandBar* loaded = list.GetAt(0);
        ASSERT_TRUE(loaded->IsKindOf(RUNTIME_CLASS(ConstructedBar)));
        EXPECT_EQ(row.buttonSize, loaded->GetButtonSizeField());
        EXPECT_EQ(row.showText, loaded->GetShowTextBelowIcons());
        EXPECT_EQ(row.animation, loaded->IsAnimationEnabled());
        EXPECT_EQ(row.buttonStyle, loaded->GetDefaultButtonStyle());
        EXPECT_EQ(CString("Old"), loaded->GetTitle());
    }
}

// A button stored at the schema given with a "CustomStyle" of 0 (absent before 8) and the "Style" given, in a bar
// that a second bar "Next" may follow.
Bytes ButtonAtSchema(WORD schema, long style = 0, bool nextBar = false)
{
    StreamWriter w;
    w.Long(nextBar ? 2 : 1).NewClass("COSMCommandBar").BarKeys(kSchema, 1, 0x2000, 0, "");
    w.Long(1).NewClass("COSMControlButton", schema);
    w.Long(1).Long(30101).Long(0).Long(FALSE).Long(0).Long(0).Long(0).String("Go");
    w.String("").String("").String("").String("").Long(0).String("");
    if (schema >= 2)
        w.String("");
    if (schema >= 4)
        w.Word(0).Word(0).Long(FALSE);
    if (schema >= 7)
        w.Long(TRUE);
    if (schema >= 8)
        w.Long(0);
    if (schema >= 17)
        w.Long(0);
    w.Long(style);  // "Style": the control's own from 18, before that the button's after the control's keys
    w.EndControls();
    if (nextBar)
        w.ClassRef(1).BarKeys(kSchema, 1, 0x2001, 0, "Next").Long(0).EndControls();
    return w.bytes;
}

TEST_F(PersistenceTest, AButtonReadsItsStyleOnceBeforeAndFromSchema18)
{
    // Schema 17: the button reads "Style" after the control's keys; 18: the control reads it and the button not
    // again, so the next bar stays in step.
    for (WORD schema : {17, 18})
    {
        COSMCommandBarList list;
        ASSERT_TRUE(LoadList(ButtonAtSchema(schema, 3, true), list)) << schema;
        ASSERT_EQ(2, list.GetCount()) << schema;
        ASSERT_EQ(1, list.GetAt(0)->GetControlCount()) << schema;
        const COSMControl* button = list.GetAt(0)->GetControl(0);
        EXPECT_EQ(RUNTIME_CLASS(COSMControlButton), button->GetRuntimeClass()) << schema;
        EXPECT_EQ(3, button->GetStyleField()) << schema;
        EXPECT_EQ(CString("Next"), list.GetAt(1)->GetTitle()) << schema;
    }
}

TEST_F(PersistenceTest, OldCustomStyleZeroMeansNone)
{
    const struct
    {
        WORD schema;
        int customStyle;
    } rows[] = {{3, -1}, {17, -1}, {18, 0}};
    for (const auto& row : rows)
    {
        COSMCommandBarList list;
        ASSERT_TRUE(LoadList(ButtonAtSchema(row.schema), list)) << row.schema;
        ASSERT_EQ(1, list.GetAt(0)->GetControlCount()) << row.schema;
        COSMControl* control = list.GetAt(0)->GetControl(0);
        EXPECT_EQ(row.customStyle, control->GetCustomStyle()) << row.schema;
        EXPECT_EQ(CString("Go"), control->GetCaptionText()) << row.schema;
    }
}

TEST_F(PersistenceTest, OldPopupBarGetsTheGripperBit)
{
    const struct
    {
        WORD schema;
        BOOL gripper;
    } rows[] = {{19, TRUE}, {20, FALSE}};
    for (const auto& row : rows)
    {
        StreamWriter w;
        w.Long(1).NewClass("COSMPopupBar", row.schema).BarKeys(row.schema, 2, 5, 0, "");
        w.Long(0).EndControls().PopupKeys(TRUE);
        COSMCommandBarList list;
        ASSERT_TRUE(LoadList(w.bytes, list)) << row.schema;
        auto* popup = static_cast<COSMPopupBar*>(list.GetAt(0));
        EXPECT_EQ(row.gripper, popup->GetShowGripper()) << row.schema;
        EXPECT_TRUE(popup->IsContextMenu()) << row.schema;
    }
}

TEST_F(PersistenceTest, CustomizedControlsAreReadAndDropped)
{
    StreamWriter w;
    w.Long(2).NewClass("COSMCommandBar").BarKeys(kSchema, 1, 0x2000, 0, "");
    w.Long(1).NewClass("COSMControlButton").ControlKeys(1, 30101, "Kept");
    w.Long(FALSE).Long(TRUE);  // no originals, customized controls follow
    w.Long(1).ClassRef(3).ControlKeys(1, 30102, "Dropped").EndControls();
    // A second bar after it shows that the stream stayed in step.
    w.ClassRef(1).BarKeys(kSchema, 1, 0x2001, 0, "Next").Long(0).EndControls();

    COSMCommandBarList list;
    ASSERT_TRUE(LoadList(w.bytes, list));
    ASSERT_EQ(2, list.GetCount());
    ASSERT_EQ(1, list.GetAt(0)->GetControlCount());
    EXPECT_EQ(CString("Kept"), list.GetAt(0)->GetControl(0)->GetCaptionText());
    EXPECT_EQ(CString("Next"), list.GetAt(1)->GetTitle());
}

// Crafted stores: a popup control that names its own bar or its parent's bar, or a bar that is no popup bar.
TEST_F(PersistenceTest, PopupNamingItsAncestorOrANonPopupIsNotAttached)
{
    struct Row
    {
        const char* what;
        long topId;
        long popupId;   // the number the popup bar carries
        long topNames;  // what the top bar's popup control names
        long popupNames;
        BOOL topIsPopupBar;
    };
    const Row rows[] = {
        {"own bar", 0x1000000, 0x1000001, 0x1000001, 0x1000001, TRUE},
        {"parent's bar", 0x1000000, 0x1000001, 0x1000001, 0x1000000, TRUE},
        {"a plain bar", 0x1000000, 0x1000001, 0, 0x1000000, FALSE},
    };
    for (const Row& row : rows)
    {
        StreamWriter w;
        w.Long(2).NewClass(row.topIsPopupBar ? "COSMPopupBar" : "COSMCommandBar");
        w.BarKeys(kSchema, 2, row.topId, 0, "");
        w.Long(1).NewClass("COSMControlPopup").ControlKeys(2, 7, "&A").Long(row.topNames).EndControls();
        if (row.topIsPopupBar)
            w.PopupKeys();
        w.NewClass(row.topIsPopupBar ? "COSMPopupToolBar" : "COSMPopupBar");
        w.BarKeys(kSchema, 2, row.popupId, 0, "");
        w.Long(1).ClassRef(3).ControlKeys(2, 8, "&B").Long(row.popupNames).EndControls().PopupKeys();

        COSMCommandBarList list;
        ASSERT_TRUE(LoadList(w.bytes, list)) << row.what;
        ASSERT_EQ(2, list.GetCount()) << row.what;
        commandBars->GetCommandBarsOptions()->m_autoHideUnusedPopups = TRUE;
        for (int i = 0; i < 2; ++i)
            list.GetAt(i)->RestoreCommandBarList(&list);
        for (int i = 0; i < 2; ++i)
        {
            COSMCommandBar* bar = list.GetAt(i);
            // Both return: no bar opens one of its own ancestors.
            EXPECT_EQ(nullptr, bar->GetControls()->FindControl(0, 999, FALSE, TRUE)) << row.what;
            commandBars->IsControlHidden(bar->GetControl(0));
        }
        auto* second = static_cast<COSMControlPopup*>(list.GetAt(1)->GetControl(0));
        EXPECT_EQ(nullptr, second->GetCommandBar()) << row.what;
        EXPECT_EQ(row.popupNames, second->GetCommandBarId()) << row.what;
        auto* first = static_cast<COSMControlPopup*>(list.GetAt(0)->GetControl(0));
        if (row.topIsPopupBar)
        {
            EXPECT_EQ(list.GetAt(1), first->GetCommandBar()) << row.what;  // the first link is sound
        }
        else
        {
            EXPECT_EQ(nullptr, first->GetCommandBar()) << row.what;
            EXPECT_EQ(row.topNames, first->GetCommandBarId()) << row.what;
        }
    }
}

TEST_F(PersistenceTest, TwoControlsMayShareOnePopupBar)
{
    StreamWriter w;
    w.Long(2).NewClass("COSMCommandBar").BarKeys(kSchema, 1, 0x2000, 0, "");
    w.Long(2).NewClass("COSMControlPopup").ControlKeys(2, 7, "&A").Long(0x1000000);
    w.ClassRef(3).ControlKeys(2, 8, "&B").Long(0x1000000).EndControls();
    w.NewClass("COSMPopupBar").BarKeys(kSchema, 2, 0x1000000, 0, "").Long(0).EndControls().PopupKeys();

    COSMCommandBarList list;
    ASSERT_TRUE(LoadList(w.bytes, list));
    list.GetAt(0)->RestoreCommandBarList(&list);
    EXPECT_EQ(list.GetAt(1), list.GetAt(0)->GetControl(0)->GetCommandBar());
    EXPECT_EQ(list.GetAt(1), list.GetAt(0)->GetControl(1)->GetCommandBar());
}

TEST_F(PersistenceTest, MissingNumberKeepsTheStoredId)
{
    StreamWriter w;
    w.Long(1);
    OnePopupNaming(0x1000000, 0x1000005, w);
    COSMCommandBarList list;
    ASSERT_TRUE(LoadList(w.bytes, list));
    list.GetAt(0)->RestoreCommandBarList(&list);
    auto* control = static_cast<COSMControlPopup*>(list.GetAt(0)->GetControl(0));
    EXPECT_EQ(nullptr, control->GetCommandBar());
    EXPECT_EQ(0x1000005, control->GetCommandBarId());
}

TEST_F(PersistenceTest, DamagedStoresFailAndKeepTheBarsLoadedSoFar)
{
    StreamWriter good;
    good.Long(2);
    OnePopupNaming(0x1000000, 0, good);

    Bytes truncated = good.bytes;
    StreamWriter second;
    second.ClassRef(1).BarKeys(kSchema, 2, 0x1000001, 0, "Cut");
    truncated.insert(truncated.end(), second.bytes.begin(), second.bytes.end() - 10);

    Bytes unknown = good.bytes;
    StreamWriter stranger;
    stranger.NewClass("COSMNoSuchBar").BarKeys(kSchema, 2, 0x1000001, 0, "");
    unknown.insert(unknown.end(), stranger.bytes.begin(), stranger.bytes.end());

    Bytes unknownControl;
    StreamWriter third;
    third.Long(2);
    OnePopupNaming(0x1000000, 0, third);
    third.ClassRef(1).BarKeys(kSchema, 2, 0x1000001, 0, "").Long(1).NewClass("COSMNoSuchControl");
    unknownControl = third.bytes;

    for (const Bytes* bytes : {&truncated, &unknown, &unknownControl})
    {
        COSMCommandBarList list;
        EXPECT_FALSE(LoadList(*bytes, list));
        ASSERT_EQ(1, list.GetCount());
        EXPECT_EQ(0x1000000u, list.GetAt(0)->GetBarID());
        EXPECT_EQ(CString("&More"), list.GetAt(0)->GetControl(0)->GetCaptionText());
    }
}

// A creatable class that is no bar: naming it in the stream must not make one.
class CountedTarget : public CCmdTarget
{
    DECLARE_SERIAL(CountedTarget)

public:
    static int constructed;
    CountedTarget() { ++constructed; }
};
int CountedTarget::constructed = 0;
IMPLEMENT_SERIAL(CountedTarget, CCmdTarget, VERSIONABLE_SCHEMA | 0x22)

TEST_F(PersistenceTest, ClassThatIsNoBarIsNeverConstructed)
{
    // Named where a bar belongs, and where a control of a bar belongs.
    StreamWriter asBar;
    asBar.Long(1).NewClass("CountedTarget").BarKeys(kSchema, 1, 0x2000, 0, "").Long(0).EndControls();
    StreamWriter asControl;
    asControl.Long(1).NewClass("COSMCommandBar").BarKeys(kSchema, 1, 0x2000, 0, "");
    asControl.Long(1).NewClass("CountedTarget").ControlKeys(1, 30101, "Go").EndControls();
    for (const StreamWriter* w : {&asBar, &asControl})
    {
        SCOPED_TRACE(w == &asBar ? "as a bar" : "as a control");
        CountedTarget::constructed = 0;
        COSMCommandBarList list;
        EXPECT_FALSE(LoadList(w->bytes, list));
        EXPECT_EQ(0, list.GetCount());
        EXPECT_EQ(0, CountedTarget::constructed);
    }
}

TEST_F(PersistenceTest, LoadBarStateMergesContextMenus)
{
    COSMPopupBar* menu = COSMPopupBar::CreatePopupBar(commandBars.Get());
    menu->SetBarID(0x3000);
    menu->SetContextMenu(TRUE);
    menu->GetControls()->Add(1, 201)->SetCaption("&Cut");
    menu->GetControls()->CreateOriginalControls();
    menu->GetControls()->Add(1, 202)->SetCaption("&Paste");  // the user's change
    commandBars->GetOwnedPopups()->Add(menu);
    const Bytes bytes = SaveBars(commandBars.Get());

    // A fresh manager with the application's menu as made: the user's controls come back, the snapshot stays.
    RefPtr<COSMCommandBars> fresh = AdoptRef(new COSMCommandBars);
    fresh->SetSite(&site);
    COSMPopupBar* made = COSMPopupBar::CreatePopupBar(fresh.Get());
    made->SetBarID(0x3000);
    made->SetContextMenu(TRUE);
    made->GetControls()->Add(1, 201)->SetCaption("&Cut");
    made->GetControls()->CreateOriginalControls();
    COSMOriginalControls* snapshot = made->GetControls()->GetOriginalControls();
    fresh->GetOwnedPopups()->Add(made);

    LoadFromMemory load(bytes);
    ASSERT_TRUE(fresh->LoadBarState(&load.px, TRUE));
    ASSERT_EQ(1, fresh->GetOwnedPopups()->GetCount());
    EXPECT_EQ(2, made->GetControlCount());
    EXPECT_EQ(CString("&Paste"), made->GetControl(1)->GetCaptionText());
    EXPECT_EQ(snapshot, made->GetControls()->GetOriginalControls());
    EXPECT_EQ(made, made->GetControls()->GetParent());

    // A context menu the manager does not have joins its owned list with a snapshot of its own.
    RefPtr<COSMCommandBars> empty = AdoptRef(new COSMCommandBars);
    empty->SetSite(&site);
    LoadFromMemory again(bytes);
    ASSERT_TRUE(empty->LoadBarState(&again.px, TRUE));
    ASSERT_EQ(1, empty->GetOwnedPopups()->GetCount());
    COSMCommandBar* joined = empty->GetOwnedPopups()->GetAt(0);
    EXPECT_EQ(0x3000u, joined->GetBarID());
    // The saved snapshot came back with it.
    ASSERT_NE(nullptr, joined->GetControls()->GetOriginalControls());
    EXPECT_EQ(1, joined->GetControls()->GetOriginalControls()->GetCount());
    EXPECT_EQ(2, joined->GetControlCount());
}

TEST_F(PersistenceTest, OnlyCustomizedSkipsUnchangedContextMenus)
{
    const struct
    {
        BOOL changed;
        BOOL onlyCustomized;
        int listed;
    } rows[] = {{FALSE, TRUE, 0}, {TRUE, TRUE, 1}, {FALSE, FALSE, 1}};
    for (const auto& row : rows)
    {
        RefPtr<COSMCommandBars> manager = AdoptRef(new COSMCommandBars);
        COSMPopupBar* menu = COSMPopupBar::CreatePopupBar(manager.Get());
        menu->SetContextMenu(TRUE);
        menu->GetControls()->Add(1, 30201);
        menu->GetControls()->CreateOriginalControls();
        if (row.changed)
            menu->GetControls()->Add(1, 30202);
        manager->GetOwnedPopups()->Add(menu);
        COSMCommandBarsPersistParams params;
        params.saveOnlyCustomized = row.onlyCustomized;
        COSMCommandBarList list;
        manager->GenerateCommandBarList(&list, &params);
        EXPECT_EQ(row.listed, list.GetCount()) << row.changed << row.onlyCustomized;
    }
}

TEST_F(PersistenceTest, LoadedControlsBindToTheRecordsActions)
{
    MakeBarWithPopup(0x2000);
    const Bytes bytes = SaveBars(commandBars.Get());
    RefPtr<COSMCommandBars> fresh = AdoptRef(new COSMCommandBars);
    COSMControlAction* action = fresh->CreateAction(30101);
    ASSERT_NE(nullptr, action);

    COSMCommandBarList bound;
    ASSERT_TRUE(LoadList(bytes, bound, fresh.Get()));
    EXPECT_EQ(fresh.Get(), bound.GetAt(1)->GetCommandBarsField());
    EXPECT_EQ(action, bound.GetAt(1)->GetControl(0)->GetAction());
    EXPECT_EQ(nullptr, bound.GetAt(1)->GetControl(1)->GetAction());

    // Without a record nothing is bound and the bars keep the command bars they were made with.
    LoadFromMemory load(bytes);
    COSMCommandBarList plain;
    ASSERT_TRUE(fresh->LoadCommandBarList(&load.px, &plain));
    EXPECT_EQ(nullptr, plain.GetAt(1)->GetControl(0)->GetAction());
    EXPECT_EQ(nullptr, plain.GetAt(1)->GetCommandBarsField());
}

}  // namespace
