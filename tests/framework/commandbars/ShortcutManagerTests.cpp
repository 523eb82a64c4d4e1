// The shortcut manager: texts of shortcuts and their parse, the choice of a command's shortcut (with the frame's
// accelerators as the fallback, on a frame window), the stored forms of every schema and damaged stores, and the
// mnemonic helpers beside it.
#include "CommandBarsTestFrame.h"
#include "CommandBarsTestSupport.h"
#include "PropExchangeTestSupport.h"

#include "framework/commandbars/CommandBarsOptions.h"
#include "framework/commandbars/MnemonicKeys.h"
#include "framework/commandbars/ShortcutManager.h"

#include <map>
#include <set>
#include <string>

using namespace commandbars_test;
using namespace prop_exchange_test;

namespace {

using Accel = COSMShortcutManagerAccel;

const WORD kVirt = FVIRTKEY;
const WORD kCtrl = FVIRTKEY | FCONTROL;
const WORD kShift = FVIRTKEY | FSHIFT;
const WORD kAlt = FVIRTKEY | FALT;
const WORD kWin = FVIRTKEY | Accel::kFlagWin;
const WORD kModifiers = FCONTROL | FSHIFT | FALT | Accel::kFlagWin;

// Keyboard-layout names the test gives, by the lParam the manager asks with.
std::map<LONG, std::string> g_layoutNames;

int WINAPI FakeKeyNameText(LONG lParam, LPSTR buffer, int size)
{
    const auto found = g_layoutNames.find(lParam);
    if (found == g_layoutNames.end() || size <= 0)
        return 0;
    lstrcpynA(buffer, found->second.c_str(), size);
    return lstrlenA(buffer);
}

// The lParam the manager builds for a key: its scan code in the current layout, extended for keys 33 to 47.
LONG LayoutParam(UINT key)
{
    LONG lParam = static_cast<LONG>((::MapVirtualKeyExA(key, 0, ::GetKeyboardLayout(0)) << 16) | 1);
    if (key >= 33 && key <= 47)
        lParam |= 1L << 24;
    return lParam;
}

class ShortcutTest : public CommandBarsTest
{
protected:
    void SetUp() override
    {
        CommandBarsTest::SetUp();
        g_layoutNames.clear();
    }

    // Layout names come from g_layoutNames only, for the rest of the test.
    void UseFakeLayoutNames() { COSMShortcutManager::s_pfnGetKeyNameText = &FakeKeyNameText; }

    CString Text(const Accel& entry)
    {
        CString text;
        shortcuts->FormatShortcutText(entry, text);
        return text;
    }

    std::vector<Accel> Entries() const
    {
        std::vector<Accel> entries;
        const COSMShortcutManagerAccelTable* table = shortcuts->GetAccelTable();
        for (int i = 0; i < table->GetCount(); ++i)
            entries.push_back(*table->GetAt(i));
        return entries;
    }

    RefPtr<COSMCommandBars> commandBars = AdoptRef(new COSMCommandBars);
    COSMShortcutManager* shortcuts = commandBars->GetShortcutManager();

private:
    ScopedSetting<COSMShortcutManager::KeyNameTextFn> m_keyNameText{COSMShortcutManager::s_pfnGetKeyNameText,
                                                                    COSMShortcutManager::s_pfnGetKeyNameText};
};

TEST_F(ShortcutTest, TheKeyNameTableHas108NamesInItsOrder)
{
    int count = 0;
    const COSMShortcutManager::KeyName* names = COSMShortcutManager::GetKeyNameTable(&count);
    ASSERT_EQ(108, count);
    std::set<WORD> keys;
    for (int i = 0; i < count; ++i)
    {
        keys.insert(names[i].key);
        EXPECT_EQ(CString(names[i].name), shortcuts->GetTableKeyName(names[i].key)) << names[i].key;
    }
    EXPECT_EQ(108u, keys.size());
    const struct
    {
        int index;
        WORD key;
        const char* name;
    } spots[] = {{0, '0', "0"},          {9, '9', "9"},         {10, 'A', "A"},    {35, 'Z', "Z"},
                 {36, 1, "Left Button"}, {38, 3, "Ctrl+Break"}, {66, 91, "Win"},   {67, 92, "Win"},
                 {75, 112, "F1"},        {86, 123, "F12"},      {87, 96, "Num 0"}, {97, 144, "Num Lock"},
                 {107, 254, "Oem Clear"}};
    for (const auto& spot : spots)
    {
        EXPECT_EQ(spot.key, names[spot.index].key) << spot.index;
        EXPECT_STREQ(spot.name, names[spot.index].name) << spot.index;
    }
    EXPECT_EQ(CString(), shortcuts->GetTableKeyName(0xBA));
}

TEST_F(ShortcutTest, ShortcutTexts)
{
    UseFakeLayoutNames();
    g_layoutNames[LayoutParam(0xBA)] = "SEMICOLON";
    const struct
    {
        Accel entry;
        const char* text;
    } cases[] = {
        {Accel(1, kCtrl | FSHIFT, VK_F5), "Ctrl+Shift+F5"},
        {Accel(1, kAlt | FSHIFT, 'A'), "Shift+Alt+A"},  // modifiers in their fixed order
        {Accel(1, kCtrl, 'K', kCtrl, 'C'), "Ctrl+K, Ctrl+C"},
        {Accel(1, FNOINVERT, 1), "Ctrl+A"},  // the control character of A
        {Accel(1, kWin, 'E'), "Win+E"},
        {Accel(1, kCtrl, 3), "Ctrl+Break"},
        {Accel(1, kShift, 3), "Ctrl+Break"},   // key 3 writes no modifiers
        {Accel(1, kVirt, 0xBA), "Semicolon"},  // the layout's name, lower case after its start
        {Accel(1, kVirt, 0xE5), "0xe5"},       // no name anywhere
        {Accel(1, kCtrl, 0xE5), "Ctrl+0xe5"},
        {Accel(1, kVirt, 92), "0x5c"},  // "Win" reads back as key 91
        {Accel(1, 0, 27), ""},          // Escape and Tab characters write nothing
        {Accel(1, 0, 9), ""},
        {Accel(1, 0, '+'), "+"},   // other characters as they are
        {Accel(1, kVirt, 0), ""},  // key 0: modifiers only
        {Accel(1, kCtrl | FALT, 0), "Ctrl+Alt"},
        {Accel(1, kVirt, 'S', kVirt, 0), "S"},  // no second stroke
        {Accel(1, kVirt, 'S', 0, 27), "S"},     // a second stroke without text
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(CString(c.text), Text(c.entry)) << c.text;
        // Texts of virtual keys read back as their entry.
        const Accel::Stroke& first = c.entry.m_strokes[0];
        if (!(first.flags & FVIRTKEY) || first.key == 0 || first.key == 3)
            continue;
        Accel parsed(c.entry.m_command, 0, 0);
        ASSERT_TRUE(shortcuts->ParseShortcutText(c.text, parsed)) << c.text;
        EXPECT_TRUE(first == parsed.m_strokes[0]) << c.text;
        if (c.entry.IsTwoStroke() && !Text(Accel(1, c.entry.m_strokes[1].flags, c.entry.m_strokes[1].key)).IsEmpty())
        {
            EXPECT_TRUE(c.entry.m_strokes[1] == parsed.m_strokes[1]) << c.text;
        }
    }
}

TEST_F(ShortcutTest, PrioritiesFollowTheFirstStroke)
{
    const struct
    {
        WORD flags;
        int priority;
    } cases[] = {{kVirt, 4},  {kCtrl, 3}, {kCtrl | FALT | FSHIFT, 3}, {kAlt, 2}, {kAlt | FSHIFT, 2},
                 {kShift, 1}, {kWin, 4}};
    for (const auto& c : cases)
    {
        CString text;
        int priority = 0;
        shortcuts->FormatShortcutText(Accel(1, c.flags, 'Q', kShift, 'W'), text, &priority);
        EXPECT_EQ(c.priority, priority) << c.flags;
    }
}

TEST_F(ShortcutTest, LayoutNamesFirstWhenAsked)
{
    UseFakeLayoutNames();
    g_layoutNames[LayoutParam(VK_PRIOR)] = "PAGE UP";  // an extended key
    g_layoutNames[LayoutParam(VK_F5)] = "f5";
    shortcuts->SetSystemKeyNamesFirst(TRUE);
    EXPECT_EQ(CString("Page up"), shortcuts->FormatKeyName(VK_PRIOR));
    EXPECT_EQ(CString("F5"), shortcuts->FormatKeyName(VK_F5));
    EXPECT_EQ(CString("Home"), shortcuts->FormatKeyName(VK_HOME));  // no layout name: the table's
    EXPECT_EQ(CString("Ctrl+Break"), shortcuts->FormatKeyName(3));
    shortcuts->SetSystemKeyNamesFirst(FALSE);
    EXPECT_EQ(CString("Page Up"), shortcuts->FormatKeyName(VK_PRIOR));

    // Written with layout names, read back with them, and texts with the table's names still read.
    shortcuts->SetSystemKeyNamesFirst(TRUE);
    Accel parsed;
    EXPECT_EQ(CString("Ctrl+Page up"), Text(Accel(1, kCtrl, VK_PRIOR)));
    ASSERT_TRUE(shortcuts->ParseShortcutText("Ctrl+Page up", parsed));
    EXPECT_EQ(VK_PRIOR, parsed.m_strokes[0].key);
    ASSERT_TRUE(shortcuts->ParseShortcutText("Alt+Page Up", parsed));
    EXPECT_EQ(VK_PRIOR, parsed.m_strokes[0].key);
    EXPECT_EQ(kAlt, parsed.m_strokes[0].flags);
}

TEST_F(ShortcutTest, ParsingTexts)
{
    UseFakeLayoutNames();
    g_layoutNames[LayoutParam(0xBA)] = "SEMICOLON";
    const struct
    {
        const char* text;
        BOOL parses;
        Accel::Stroke first;
        Accel::Stroke second;
    } cases[] = {
        {"Ctrl+Shift+F5", TRUE, {kCtrl | FSHIFT, VK_F5}, {}},
        {"Shift+Ctrl+F5", TRUE, {kCtrl | FSHIFT, VK_F5}, {}},
        {"Ctrl+K, Ctrl+C", TRUE, {kCtrl, 'K'}, {kCtrl, 'C'}},
        {"Ctrl+Break", TRUE, {kCtrl, 3}, {}},  // the key's whole name, with the Ctrl it arrives with
        {"Win+E", TRUE, {kWin, 'E'}, {}},
        {"Win", TRUE, {kVirt, 91}, {}},
        {"Ctrl+Alt+Shift+Win+Num +", TRUE, {kCtrl | FALT | FSHIFT | Accel::kFlagWin, VK_ADD}, {}},
        {"Semicolon", TRUE, {kVirt, 0xBA}, {}},  // a name of the keyboard layout
        {"0x5B", TRUE, {kVirt, 0x5B}, {}},       // the code of a key
        {"0x7", TRUE, {kVirt, 7}, {}},
        {"Ctrl+0xe5", TRUE, {kCtrl, 0xE5}, {}},
        {"0x", FALSE, {}, {}},
        {"0x0", FALSE, {}, {}},
        {"0x12345", FALSE, {}, {}},
        {"0x5Bz", FALSE, {}, {}},
        {"Ctrl+Nothing", FALSE, {}, {}},
        {"Ctrl+", FALSE, {}, {}},
        {"", FALSE, {}, {}},
        {"Ctrl+K, Nothing", FALSE, {}, {}},
    };
    for (const auto& c : cases)
    {
        Accel entry(77, 5, 5, 5, 5);
        EXPECT_EQ(c.parses, shortcuts->ParseShortcutText(c.text, entry)) << c.text;
        if (!c.parses)
            continue;
        EXPECT_EQ(77u, entry.m_command) << c.text;
        EXPECT_TRUE(c.first == entry.m_strokes[0])
            << c.text << " " << entry.m_strokes[0].flags << " " << entry.m_strokes[0].key;
        EXPECT_TRUE(c.second == entry.m_strokes[1]) << c.text;
    }
}

// Every virtual key, alone and with modifiers, reads back from its text as the same key and modifiers.
void ExpectEveryKeyReadsBack(COSMShortcutManager* shortcuts, const std::vector<WORD>& modifierSets)
{
    for (UINT key = 1; key <= 255; ++key)
    {
        if (key == 3)
            continue;  // Ctrl+Break: below
        for (WORD modifiers : modifierSets)
        {
            const Accel entry(1, static_cast<WORD>(FVIRTKEY | modifiers), static_cast<WORD>(key));
            CString text;
            shortcuts->FormatShortcutText(entry, text);
            Accel parsed;
            ASSERT_TRUE(shortcuts->ParseShortcutText(text, parsed)) << key << " " << static_cast<LPCSTR>(text);
            EXPECT_EQ(key, parsed.m_strokes[0].key) << static_cast<LPCSTR>(text);
            EXPECT_EQ(modifiers, parsed.m_strokes[0].flags & kModifiers) << static_cast<LPCSTR>(text);
        }
    }
    Accel parsed;
    CString text;
    shortcuts->FormatShortcutText(Accel(1, kCtrl, 3), text);
    ASSERT_TRUE(shortcuts->ParseShortcutText(text, parsed));
    EXPECT_TRUE((Accel::Stroke{kCtrl, 3}) == parsed.m_strokes[0]);
}

TEST_F(ShortcutTest, EveryWrittenKeyReadsBackWithTheSystemsNames)
{
    const std::vector<WORD> modifierSets = {0, FCONTROL | FSHIFT | FALT | Accel::kFlagWin};
    ExpectEveryKeyReadsBack(shortcuts, modifierSets);
    shortcuts->SetSystemKeyNamesFirst(TRUE);
    ExpectEveryKeyReadsBack(shortcuts, modifierSets);
}

TEST_F(ShortcutTest, EveryWrittenKeyReadsBackWhenLayoutNamesCollide)
{
    UseFakeLayoutNames();
    // Names that are another key's, that read as modifiers, or as two strokes.
    g_layoutNames[LayoutParam(VK_RCONTROL)] = "CTRL";
    g_layoutNames[LayoutParam(VK_LSHIFT)] = "shift+a";
    g_layoutNames[LayoutParam(0xBA)] = "a, b";
    g_layoutNames[LayoutParam(0xBB)] = "Num +";
    std::vector<WORD> modifierSets;
    for (WORD modifiers = 0; modifiers <= kModifiers; ++modifiers)
        if ((modifiers & kModifiers) == modifiers)
            modifierSets.push_back(modifiers);
    ASSERT_EQ(16u, modifierSets.size());
    ExpectEveryKeyReadsBack(shortcuts, modifierSets);
    shortcuts->SetSystemKeyNamesFirst(TRUE);
    ExpectEveryKeyReadsBack(shortcuts, {0, FCONTROL | FALT});
}

TEST_F(ShortcutTest, TheBestShortcutOfACommand)
{
    const struct
    {
        const char* what;
        std::vector<Accel> table;
        const char* given;
        BOOL found;
        const char* text;
    } cases[] = {
        {"a plain key beats Ctrl", {Accel(5, kCtrl, 'R'), Accel(5, kVirt, VK_F5)}, "", TRUE, "F5"},
        {"Ctrl beats Shift", {Accel(5, kShift, 'R'), Accel(5, kCtrl, 'R')}, "", TRUE, "Ctrl+R"},
        {"Alt beats Shift", {Accel(5, kShift, 'R'), Accel(5, kAlt, 'R')}, "", TRUE, "Alt+R"},
        {"the first of equals", {Accel(5, kShift, 'R'), Accel(5, kShift, 'T')}, "", TRUE, "Shift+R"},
        {"other commands do not count", {Accel(6, kVirt, VK_F6), Accel(5, kCtrl, 'R')}, "", TRUE, "Ctrl+R"},
        {"the given text is one of them", {Accel(5, kVirt, VK_F5), Accel(5, kCtrl, 'R')}, "Ctrl+R", TRUE, "Ctrl+R"},
        {"the given text is not", {Accel(5, kVirt, VK_F5), Accel(5, kCtrl, 'R')}, "Ctrl+Q", TRUE, "F5"},
        {"no shortcut of the command", {Accel(6, kVirt, VK_F6)}, "Ctrl+Q", FALSE, ""},
    };
    for (const auto& c : cases)
    {
        shortcuts->GetAccelTable()->SetEntries(c.table.data(), static_cast<int>(c.table.size()));
        CString text = c.given;
        EXPECT_EQ(c.found, shortcuts->FindDefaultAccelerator(5, text)) << c.what;
        EXPECT_EQ(CString(c.text), text) << c.what;
    }

    // An empty table with a default table gives nothing and leaves the text alone.
    shortcuts->GetAccelTable()->RemoveAll();
    COSMShortcutManagerAccelTable defaults;
    defaults.Add(Accel(5, kVirt, VK_F5));
    shortcuts->SetDefaultAccelTable(&defaults);
    CString text = "kept";
    EXPECT_FALSE(shortcuts->FindDefaultAccelerator(5, text));
    EXPECT_EQ(CString("kept"), text);
}

TEST_F(ShortcutTest, ResetGoesBackToTheDefaultTable)
{
    shortcuts->GetAccelTable()->Add(Accel(5, kCtrl, 'R'));
    shortcuts->Reset();
    EXPECT_EQ(std::vector<Accel>{Accel(5, kCtrl, 'R')}, Entries());

    COSMShortcutManagerAccelTable defaults;
    defaults.Add(Accel(7, kVirt, VK_F7));
    defaults.Add(Accel(8, kCtrl, 'K', kCtrl, 'C'));
    shortcuts->SetDefaultAccelTable(&defaults);
    defaults.RemoveAll();  // the manager keeps a copy
    shortcuts->Reset();
    EXPECT_EQ((std::vector<Accel>{Accel(7, kVirt, VK_F7), Accel(8, kCtrl, 'K', kCtrl, 'C')}), Entries());
}

TEST_F(ShortcutTest, WhatMayBeAdded)
{
    const struct
    {
        Accel entry;
        BOOL allowEscape;
        BOOL accepted;
    } cases[] = {
        {Accel(1, kVirt, VK_ESCAPE), FALSE, FALSE},
        {Accel(1, kVirt, VK_ESCAPE), TRUE, TRUE},
        {Accel(1, kCtrl, VK_ESCAPE), FALSE, TRUE},
        {Accel(1, kShift, VK_ESCAPE), FALSE, TRUE},
        {Accel(1, kAlt, VK_ESCAPE), FALSE, TRUE},
        {Accel(1, kWin, VK_ESCAPE), FALSE, FALSE},  // Win is no modifier for this question
        {Accel(1, 0, 27), FALSE, TRUE},             // the Escape character, not the key
        {Accel(1, kVirt, VK_F5), FALSE, TRUE},
        {Accel(1, kShift, 'A'), FALSE, TRUE},
    };
    for (const auto& c : cases)
    {
        shortcuts->AllowEscape(c.allowEscape);
        EXPECT_EQ(c.accepted, shortcuts->OnBeforeAdd(c.entry)) << Text(c.entry) << " " << c.allowEscape;
    }
}

// ---- Stored forms -------------------------------------------------------------------------------------------------

TEST_F(ShortcutTest, AnArchiveHoldsTheCountAndTwelveBytesAnEntry)
{
    shortcuts->GetAccelTable()->Add(Accel(0xE103, kCtrl, 'S'));
    StoreToMemory store;
    shortcuts->DoPropExchange(&store.px);
    const Bytes bytes = store.Take();
    EXPECT_EQ(Bytes({0x01, 0x00, 0x03, 0xE1, 0x00, 0x00, 0x09, 0x00, 0x53, 0x00, 0x00, 0x00, 0x00, 0x00}), bytes);

    RefPtr<COSMCommandBars> other = AdoptRef(new COSMCommandBars);
    LoadFromMemory load(bytes);
    other->GetShortcutManager()->DoPropExchange(&load.px);
    ASSERT_EQ(1, other->GetShortcutManager()->GetAccelTable()->GetCount());
    EXPECT_EQ(Accel(0xE103, kCtrl, 'S'), *other->GetShortcutManager()->GetAccelTable()->GetAt(0));
}

TEST_F(ShortcutTest, ArchivesOfEverySchemaLoad)
{
    const struct
    {
        long schema;
        Bytes bytes;
        std::vector<Accel> table;
    } cases[] = {
        // Before schema 33: Windows ACCELs of 6 bytes (flags, an unused byte, key, command).
        {32, {0x01, 0x00, 0x09, 0x00, 0x53, 0x00, 0x03, 0xE1}, {Accel(0xE103, kCtrl, 'S')}},
        {17,
         {0x02, 0x00, 0x01, 0x00, 0x74, 0x00, 0x10, 0x00, 0x11, 0x00, 0x4B, 0x00, 0x11, 0x00},
         {Accel(0x10, kVirt, VK_F5), Accel(0x11, kAlt, 'K')}},
        {33,
         {0x01, 0x00, 0x08, 0x00, 0x00, 0x00, 0x09, 0x00, 0x4B, 0x00, 0x09, 0x00, 0x43, 0x00},
         {Accel(8, kCtrl, 'K', kCtrl, 'C')}},
        {34, {0x00, 0x00}, {}},
    };
    for (const auto& c : cases)
    {
        shortcuts->GetAccelTable()->Add(Accel(99, kVirt, VK_F9));
        LoadFromMemory load(c.bytes);
        load.px.m_nSchema = c.schema;
        shortcuts->DoPropExchange(&load.px);
        EXPECT_EQ(c.table, Entries()) << c.schema;
        BYTE extra = 0;
        EXPECT_EQ(0u, load.ar.Read(&extra, 1)) << c.schema;
    }
}

TEST_F(ShortcutTest, ADamagedArchiveFailsAndKeepsTheShortcuts)
{
    const struct
    {
        const char* what;
        long schema;
        Bytes bytes;
        int cause;
    } cases[] = {
        {"a count of 2^32 - 1", 34, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, CArchiveException::genericException},
        {"a count of ACCELs of 2^32 - 1",
         32,
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
         CArchiveException::genericException},
        {"one count above the limit", 34, {0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}, CArchiveException::genericException},
        {"entries that break off",
         34,
         {0x02, 0x00, 0x03, 0xE1, 0x00, 0x00, 0x09, 0x00, 0x53, 0x00, 0x00, 0x00, 0x00, 0x00},
         CArchiveException::endOfFile},
        {"ACCELs that break off",
         32,
         {0x02, 0x00, 0x09, 0x00, 0x53, 0x00, 0x03, 0xE1, 0x01},
         CArchiveException::endOfFile},
        {"no count", 34, {0x01}, CArchiveException::endOfFile},
    };
    const std::vector<Accel> kept = {Accel(1, kCtrl, 'O'), Accel(2, kCtrl, 'K', kCtrl, 'C')};
    for (const auto& c : cases)
    {
        shortcuts->GetAccelTable()->SetEntries(kept.data(), static_cast<int>(kept.size()));
        LoadFromMemory load(c.bytes);
        load.px.m_nSchema = c.schema;
        EXPECT_EQ(c.cause, ArchiveFailure([&] { shortcuts->DoPropExchange(&load.px); })) << c.what;
        EXPECT_EQ(kept, Entries()) << c.what;
    }
}

TEST_F(ShortcutTest, ANamedStoreHoldsTextsAndDropsWhatDoesNotParse)
{
    auto values = NewValues();
    shortcuts->GetAccelTable()->Add(Accel(0xE103, kCtrl, 'S'));
    shortcuts->GetAccelTable()->Add(Accel(8, kCtrl, 'K', kCtrl, 'C'));
    {
        NamedTestStore store(values, false);
        shortcuts->DoPropExchange(&store);
    }
    EXPECT_EQ("2", (*values)["Count"]);
    EXPECT_EQ(std::to_string(0xE103), (*values)["Shortcut0\\Id"]);
    EXPECT_EQ("Ctrl+S", (*values)["Shortcut0\\Key"]);
    EXPECT_EQ("8", (*values)["Shortcut1\\Id"]);
    EXPECT_EQ("Ctrl+K, Ctrl+C", (*values)["Shortcut1\\Key"]);

    (*values)["Count"] = "3";
    (*values)["Shortcut2\\Id"] = "9";
    (*values)["Shortcut2\\Key"] = "Ctrl+Nothing";
    RefPtr<COSMCommandBars> other = AdoptRef(new COSMCommandBars);
    COSMShortcutManager* loaded = other->GetShortcutManager();
    loaded->GetAccelTable()->Add(Accel(99, kVirt, VK_F9));
    NamedTestStore load(values, true);
    loaded->DoPropExchange(&load);
    ASSERT_EQ(2, loaded->GetAccelTable()->GetCount());
    EXPECT_EQ(Accel(0xE103, kCtrl, 'S'), *loaded->GetAccelTable()->GetAt(0));
    EXPECT_EQ(Accel(8, kCtrl, 'K', kCtrl, 'C'), *loaded->GetAccelTable()->GetAt(1));
}

TEST_F(ShortcutTest, ANamedStoreOfAnOlderSchemaHoldsAccels)
{
    auto values = NewValues();
    (*values)["Count"] = "2";
    (*values)["Accel0\\Id"] = "16";
    (*values)["Accel0\\virt"] = "9";
    (*values)["Accel0\\key"] = "83";
    (*values)["Accel1\\Id"] = "17";
    (*values)["Accel1\\virt"] = "1";
    (*values)["Accel1\\key"] = "116";
    NamedTestStore load(values, true);
    load.m_nSchema = 32;
    shortcuts->DoPropExchange(&load);
    EXPECT_EQ((std::vector<Accel>{Accel(16, kCtrl, 'S'), Accel(17, kVirt, VK_F5)}), Entries());

    // A count no store of shortcuts holds: nothing changes.
    (*values)["Count"] = "70000";
    NamedTestStore damaged(values, true);
    damaged.m_nSchema = 32;
    shortcuts->DoPropExchange(&damaged);
    EXPECT_EQ((std::vector<Accel>{Accel(16, kCtrl, 'S'), Accel(17, kVirt, VK_F5)}), Entries());
}

TEST_F(ShortcutTest, ADamagedNamedStoreLeavesNoSectionBehindAndTheShortcutsAsTheyWere)
{
    // Damage in the middle of the list, under the current schema (texts) and an older one (ACCEL fields).
    const struct
    {
        const char* what;
        long schema;
        std::map<std::string, std::string> stored;
    } cases[] = {
        {"shortcut texts",
         34,
         {{"Count", "3"},
          {"Shortcut0\\Id", "16"},
          {"Shortcut0\\Key", "Ctrl+S"},
          {"Shortcut1\\Id", "17"},
          {"Shortcut1\\Key", NamedTestStore::kDamagedValue},
          {"Shortcut2\\Id", "18"},
          {"Shortcut2\\Key", "F5"}}},
        {"accels",
         32,
         {{"Count", "2"},
          {"Accel0\\Id", "16"},
          {"Accel0\\virt", "9"},
          {"Accel0\\key", "83"},
          {"Accel1\\Id", "17"},
          {"Accel1\\virt", NamedTestStore::kDamagedValue},
          {"Accel1\\key", "116"}}},
    };
    const std::vector<Accel> kept = {Accel(1, kCtrl, 'O')};
    for (const auto& c : cases)
    {
        shortcuts->GetAccelTable()->SetEntries(kept.data(), static_cast<int>(kept.size()));
        auto values = NewValues();
        *values = c.stored;
        const int liveBefore = NamedTestStore::LiveStores();
        {
            NamedTestStore load(values, true);
            load.m_nSchema = c.schema;
            EXPECT_EQ(CArchiveException::badIndex, ArchiveFailure([&] { shortcuts->DoPropExchange(&load); })) << c.what;
        }
        EXPECT_EQ(liveBefore, NamedTestStore::LiveStores()) << c.what << ": a section was not released";
        EXPECT_EQ(kept, Entries()) << c.what;
    }
}

// ---- Shortcut texts of controls, and the frame's accelerators -------------------------------------------------------

TEST_F(ShortcutTest, BarsShowTheShortcutsOfTheirControls)
{
    shortcuts->GetAccelTable()->Add(Accel(100, kCtrl, 'S'));
    shortcuts->GetAccelTable()->Add(Accel(101, kVirt, VK_F5));
    COSMCommandBarsOptions* options = commandBars->GetCommandBarsOptions();

    COSMCommandBar toolBar;
    toolBar.SetCommandBars(commandBars.Get());
    RefPtr<COSMPopupBar> contextMenu = AdoptRef(COSMPopupBar::CreatePopupBar(commandBars.Get()));
    const struct
    {
        const char* what;
        COSMCommandBar* bar;
        BOOL contextMenuShortcuts;
        BOOL autoShortcuts;
        std::vector<std::string> texts;  // controls 100, 101, 102 (none), 0 (no id), hidden 100
    } cases[] = {
        {"toolbar", &toolBar, FALSE, TRUE, {"Ctrl+S", "F5", "", "old", "old"}},
        {"context menu", contextMenu.Get(), FALSE, TRUE, {"", "", "", "", "old"}},
        {"context menu with shortcuts", contextMenu.Get(), TRUE, TRUE, {"Ctrl+S", "F5", "", "old", "old"}},
        {"no refresh", &toolBar, FALSE, FALSE, {"old", "old", "old", "old", "old"}},
    };
    for (const auto& c : cases)
    {
        COSMControls* controls = c.bar->GetControls();
        controls->RemoveAll();
        for (int id : {100, 101, 102, 0, 100})
            controls->Add(1, id)->SetShortcutTextAuto("old");
        controls->GetAt(4)->SetVisible(FALSE);
        options->m_showContextMenuShortcuts = c.contextMenuShortcuts;
        options->m_autoUpdateShortcuts = c.autoShortcuts;
        c.bar->UpdateShortcuts();
        std::vector<std::string> texts;
        for (int i = 0; i < controls->GetCount(); ++i)
            texts.emplace_back(static_cast<LPCSTR>(controls->GetAt(i)->GetShortcutTextAuto()));
        EXPECT_EQ(c.texts, texts) << c.what;
    }
}

TEST_F(ShortcutTest, AnEmptyTableFallsBackToTheFramesAccelerators)
{
    CCommandBarsTestFrame frame;
    ASSERT_TRUE(frame.CreateTestFrame());
    ACCEL accels[] = {{FVIRTKEY | FCONTROL, 'O', 200}, {FVIRTKEY, VK_F3, 200}, {FVIRTKEY | FSHIFT, 'X', 201}};
    frame.m_hAccelTable = ::CreateAcceleratorTableA(accels, 3);
    ASSERT_NE(nullptr, frame.m_hAccelTable);
    commandBars->SetSite(&frame);

    CString text;
    EXPECT_TRUE(shortcuts->FindDefaultAccelerator(200, text));
    EXPECT_EQ(CString("F3"), text);
    EXPECT_TRUE(shortcuts->FindFrameAccelerator(201, text));
    EXPECT_EQ(CString("Shift+X"), text);
    text = "kept";
    EXPECT_FALSE(shortcuts->FindDefaultAccelerator(202, text));
    EXPECT_EQ(CString(), text);

    // A shortcut of the manager's own: the frame's are not asked.
    shortcuts->GetAccelTable()->Add(Accel(201, kCtrl, 'Y'));
    EXPECT_FALSE(shortcuts->FindDefaultAccelerator(200, text));
    shortcuts->GetAccelTable()->RemoveAll();
    // Nor with a default table.
    COSMShortcutManagerAccelTable defaults;
    shortcuts->SetDefaultAccelTable(&defaults);
    text = "kept";
    EXPECT_FALSE(shortcuts->FindDefaultAccelerator(200, text));
    EXPECT_EQ(CString("kept"), text);
    shortcuts->SetDefaultAccelTable(nullptr);

    // Frames without a table, and sites that are no frames, give nothing.
    ::DestroyAcceleratorTable(frame.m_hAccelTable);
    frame.m_hAccelTable = nullptr;
    text = "kept";
    EXPECT_FALSE(shortcuts->FindDefaultAccelerator(200, text));
    EXPECT_EQ(CString("kept"), text);
    SiteWindow site;
    commandBars->SetSite(&site);
    EXPECT_FALSE(shortcuts->FindFrameAccelerator(200, text));
    commandBars->SetSite(nullptr);
    EXPECT_FALSE(shortcuts->FindFrameAccelerator(200, text));
}

// ---- Mnemonics ----------------------------------------------------------------------------------------------------

TEST(MnemonicKeys, ThePositionOfTheMnemonic)
{
    const struct
    {
        const char* text;
        int position;
    } cases[] = {{"&File", 0}, {"Save && Exit", -1}, {"A&&B&C", 4}, {"End&", -1},
                 {"", -1},     {"Plain", -1},        {"&&&x", 2},   {"Save &As...", 5}};
    for (const auto& c : cases)
        EXPECT_EQ(c.position, FindMnemonicPos(c.text)) << c.text;
}

TEST(MnemonicKeys, KeysThatTypeTheCharacter)
{
    // This runs with one keyboard layout, so other layouts' characters never match.
    ASSERT_EQ(1, ::GetKeyboardLayoutList(0, nullptr));
    const struct
    {
        UINT character;
        UINT key;
        BOOL match;
    } cases[] = {
        {'0', VK_NUMPAD0, TRUE},  {'7', VK_NUMPAD7, TRUE},  {'9', VK_NUMPAD9, TRUE},
        {'8', VK_NUMPAD7, FALSE}, {'a', VK_NUMPAD1, FALSE},  // 'a' is 97, the code of keypad 1
        {'`', VK_NUMPAD0, FALSE}, {'7', '7', TRUE},         {'A', 'A', TRUE},
        {'a', 'A', TRUE},         {'b', 'A', FALSE},        {'t', VK_F5, FALSE},  // F5 is 116, 't': no character
        {'5', VK_F5, FALSE},      {0xE9, 'E', FALSE},  // another layout's character of the key
        {';', VK_OEM_1, FALSE},  // what the key types in this layout, only with more than one layout installed
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.match, CompareMnemonicKey(c.character, c.key)) << c.character << " " << c.key;
}

}  // namespace
