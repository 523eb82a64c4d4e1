#include "framework/commandbars/ShortcutManager.h"

#include "classlib/Exception.h"
#include "classlib/FrameWnd.h"
#include "classlib/RefPtr.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/foundation/PropExchange.h"

#include <cctype>
#include <vector>

IMPLEMENT_DYNAMIC(COSMShortcutManager, CCmdTarget)

namespace {

const COSMShortcutManager::KeyName kKeyNames[] = {
    {'0', "0"},         {'1', "1"},         {'2', "2"},          {'3', "3"},          {'4', "4"},
    {'5', "5"},         {'6', "6"},         {'7', "7"},          {'8', "8"},          {'9', "9"},
    {'A', "A"},         {'B', "B"},         {'C', "C"},          {'D', "D"},          {'E', "E"},
    {'F', "F"},         {'G', "G"},         {'H', "H"},          {'I', "I"},          {'J', "J"},
    {'K', "K"},         {'L', "L"},         {'M', "M"},          {'N', "N"},          {'O', "O"},
    {'P', "P"},         {'Q', "Q"},         {'R', "R"},          {'S', "S"},          {'T', "T"},
    {'U', "U"},         {'V', "V"},         {'W', "W"},          {'X', "X"},          {'Y', "Y"},
    {'Z', "Z"},         {1, "Left Button"}, {2, "Right Button"}, {3, "Ctrl+Break"},   {4, "Middle Button"},
    {8, "Backspace"},   {9, "Tab"},         {12, "Clear"},       {13, "Enter"},       {16, "Shift"},
    {17, "Ctrl"},       {18, "Alt"},        {19, "Pause"},       {20, "Caps Lock"},   {27, "Esc"},
    {32, "Space"},      {33, "Page Up"},    {34, "Page Down"},   {35, "End"},         {36, "Home"},
    {37, "Left Arrow"}, {38, "Up Arrow"},   {39, "Right Arrow"}, {40, "Down Arrow"},  {41, "Select"},
    {42, "Print"},      {43, "Execute"},    {44, "Snapshot"},    {45, "Ins"},         {46, "Del"},
    {47, "Help"},       {91, "Win"},        {92, "Win"},         {93, "Application"}, {106, "Num *"},
    {107, "Num +"},     {108, "Separator"}, {109, "Num -"},      {110, "Num ."},      {111, "Num /"},
    {112, "F1"},        {113, "F2"},        {114, "F3"},         {115, "F4"},         {116, "F5"},
    {117, "F6"},        {118, "F7"},        {119, "F8"},         {120, "F9"},         {121, "F10"},
    {122, "F11"},       {123, "F12"},       {96, "Num 0"},       {97, "Num 1"},       {98, "Num 2"},
    {99, "Num 3"},      {100, "Num 4"},     {101, "Num 5"},      {102, "Num 6"},      {103, "Num 7"},
    {104, "Num 8"},     {105, "Num 9"},     {144, "Num Lock"},   {145, "Scrl Lock"},  {246, "Attn"},
    {247, "Crsel"},     {248, "Exsel"},     {249, "Ereof"},      {250, "Play"},       {251, "Zoom"},
    {252, "No Name"},   {253, "Pa1"},       {254, "Oem Clear"},
};

// Ctrl+Break has a key of its own that always arrives with Ctrl; its name holds the modifier.
const WORD kKeyCtrlBreak = 3;
const WORD kKeyEscape = 27;
const WORD kKeyWin = 91;

// The modifiers in the order they are written; parsing strips Ctrl, Alt, Shift, then Win.
struct Modifier
{
    WORD flag;
    WORD key;
};
const Modifier kWrittenModifiers[] = {
    {FCONTROL, VK_CONTROL}, {FSHIFT, VK_SHIFT}, {FALT, VK_MENU}, {COSMShortcutManagerAccel::kFlagWin, kKeyWin}};
const Modifier kParsedModifiers[] = {
    {FCONTROL, VK_CONTROL}, {FALT, VK_MENU}, {FSHIFT, VK_SHIFT}, {COSMShortcutManagerAccel::kFlagWin, kKeyWin}};
const WORD kModifierFlags = FCONTROL | FSHIFT | FALT | COSMShortcutManagerAccel::kFlagWin;

const char kStrokeSeparator[] = ", ";
// Virtual keys are single bytes.
const UINT kLastVirtualKey = 255;
// Keys 33 (Page Up) to 47 (Help) are extended keys for the layout's names.
const UINT kFirstExtendedKey = 33;
const UINT kLastExtendedKey = 47;
const int kKeyNameBufferSize = 50;

int PriorityOf(WORD flags)
{
    if (flags & FCONTROL)
        return 3;
    if (flags & FALT)
        return 2;
    if (flags & FSHIFT)
        return 1;
    return 4;
}

CString HexKeyName(UINT key)
{
    CString text;
    text.Format("0x%x", key);
    return text;
}

// "0x" and one to four hexadecimal digits, nothing else; 0 when the text is not that or names no key.
WORD ParseHexKey(const CString& text)
{
    const int length = text.GetLength();
    if (length < 3 || length > 6 || text.Left(2) != "0x")
        return 0;
    unsigned value = 0;
    for (int i = 2; i < length; ++i)
    {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (!std::isxdigit(c))
            return 0;
        value = value * 16 + static_cast<unsigned>(std::isdigit(c) ? c - '0' : std::tolower(c) - 'a' + 10);
    }
    return static_cast<WORD>(value);
}

// Takes the first "name+" out of the text.
BOOL RemoveModifier(CString& text, const CString& name)
{
    if (name.IsEmpty())
        return FALSE;
    const CString prefix = name + "+";
    const int at = text.Find(prefix);
    if (at < 0)
        return FALSE;
    text.Delete(at, prefix.GetLength());
    return TRUE;
}

// Collects an archive's or a store's records of one kind into a table.
void SetFromRecords(COSMShortcutManagerAccelTable& table, const std::vector<BYTE>& data, DWORD count, BOOL accels)
{
    if (accels)
    {
        std::vector<ACCEL> entries(count);
        for (DWORD i = 0; i < count; ++i)
            entries[i] =
                COSMShortcutManagerAccel::AccelFromRecord(&data[i * COSMShortcutManagerAccel::kAccelRecordSize]);
        table.SetAccels(entries.data(), static_cast<int>(count));
        return;
    }
    std::vector<COSMShortcutManagerAccel> entries(count);
    for (DWORD i = 0; i < count; ++i)
        entries[i] = COSMShortcutManagerAccel::FromRecord(&data[i * COSMShortcutManagerAccel::kRecordSize]);
    table.SetEntries(entries.data(), static_cast<int>(count));
}

}  // namespace

COSMShortcutManager::KeyNameTextFn COSMShortcutManager::s_pfnGetKeyNameText = &::GetKeyNameTextA;

const COSMShortcutManager::KeyName* COSMShortcutManager::GetKeyNameTable(int* count)
{
    if (count)
        *count = static_cast<int>(sizeof(kKeyNames) / sizeof(kKeyNames[0]));
    return kKeyNames;
}

COSMShortcutManager::COSMShortcutManager(COSMCommandBars* commandBars)
    : m_accelTable(std::make_unique<COSMShortcutManagerAccelTable>()), m_commandBars(commandBars)
{
    for (const KeyName& entry : kKeyNames)
        m_keyNames.SetAt(entry.key, entry.name);
}

COSMShortcutManager::~COSMShortcutManager() = default;

// ---- Key names ----

CString COSMShortcutManager::GetTableKeyName(UINT key) const
{
    CString name;
    if (key <= 0xFFFF)
        m_keyNames.Lookup(static_cast<WORD>(key), name);
    return name;
}

CString COSMShortcutManager::GetLayoutKeyName(UINT key) const
{
    if (key == kKeyCtrlBreak || !s_pfnGetKeyNameText)
        return CString();
    const UINT scanCode = ::MapVirtualKeyExA(key, 0, ::GetKeyboardLayout(0));
    LONG lParam = static_cast<LONG>((scanCode << 16) | 1);
    if (key >= kFirstExtendedKey && key <= kLastExtendedKey)
        lParam |= 1L << 24;
    char buffer[kKeyNameBufferSize] = {};
    const int length = s_pfnGetKeyNameText(lParam, buffer, kKeyNameBufferSize);
    if (length <= 0)
        return CString();
    buffer[kKeyNameBufferSize - 1] = '\0';
    // Layouts name keys in capitals ("PAGE UP"); a menu shows "Page up".
    ::CharLowerA(buffer);
    for (char* c = buffer; *c; ++c)
    {
        if (::IsCharLowerA(*c))
        {
            ::CharUpperBuffA(c, 1);
            break;
        }
    }
    return CString(buffer);
}

CString COSMShortcutManager::FormatKeyName(UINT key)
{
    const CString first = m_systemKeyNamesFirst ? GetLayoutKeyName(key) : GetTableKeyName(key);
    if (!first.IsEmpty())
        return first;
    return m_systemKeyNamesFirst ? GetTableKeyName(key) : GetLayoutKeyName(key);
}

WORD COSMShortcutManager::FindTableKeyByName(const CString& text)
{
    if (text.IsEmpty())
        return 0;
    for (const KeyName& entry : kKeyNames)
    {
        if (FormatKeyName(entry.key) == text)
            return entry.key;
    }
    return 0;
}

WORD COSMShortcutManager::FindKeyByName(const CString& text)
{
    if (text.IsEmpty())
        return 0;
    if (const WORD key = FindTableKeyByName(text))
        return key;
    for (UINT key = 1; key <= kLastVirtualKey; ++key)
    {
        CString name;
        if (!m_keyNames.Lookup(static_cast<WORD>(key), name) && FormatKeyName(key) == text)
            return static_cast<WORD>(key);
    }
    // Written with system names first, read with the table's (or the other way round).
    for (const KeyName& entry : kKeyNames)
    {
        if (GetTableKeyName(entry.key) == text)
            return entry.key;
    }
    return 0;
}

// ---- Texts ----

CString COSMShortcutManager::FormatStroke(const COSMShortcutManagerAccel::Stroke& stroke)
{
    CString modifiers;
    if (stroke.key != kKeyCtrlBreak)
    {
        for (const Modifier& modifier : kWrittenModifiers)
        {
            if (stroke.flags & modifier.flag)
                modifiers += FormatKeyName(modifier.key) + "+";
        }
    }

    CString keyText;
    if (stroke.key == 0)
    {
        // Modifiers alone.
    }
    else if (stroke.flags & FVIRTKEY)
    {
        keyText = FormatKeyName(stroke.key);
        if (keyText.IsEmpty())
            keyText = HexKeyName(stroke.key);
        else if (stroke.key != kKeyCtrlBreak)
        {
            // A name that another key also has (both Windows keys are "Win"), or one that reads as modifiers or
            // two strokes, would come back as something else: such a key is written by its code.
            COSMShortcutManagerAccel::Stroke parsed;
            const CString text = modifiers + keyText;
            if (text.Find(kStrokeSeparator) >= 0 || !ParseStroke(text, parsed) || parsed.key != stroke.key ||
                (parsed.flags & kModifierFlags) != (stroke.flags & kModifierFlags))
                keyText = HexKeyName(stroke.key);
        }
    }
    else if (stroke.key >= 1 && stroke.key <= 26 && stroke.flags == FNOINVERT)
    {
        // A control character: Ctrl and its letter.
        keyText = FormatKeyName(VK_CONTROL) + "+" + CString(static_cast<char>(stroke.key + 64));
    }
    else if (stroke.key == kKeyEscape || stroke.key == VK_TAB)
    {
        // These characters have no text of their own.
    }
    else if (stroke.key <= 0xFF)
    {
        keyText = CString(static_cast<char>(stroke.key));
    }
    else
    {
        keyText = HexKeyName(stroke.key);
    }

    // Modifiers with nothing after them end without "+".
    if (keyText.IsEmpty() && !modifiers.IsEmpty())
        modifiers.Delete(modifiers.GetLength() - 1);
    return modifiers + keyText;
}

void COSMShortcutManager::FormatShortcutText(const COSMShortcutManagerAccel& entry, CString& text, int* priority)
{
    text = FormatStroke(entry.m_strokes[0]);
    if (entry.m_strokes[1].key != 0)
    {
        const CString second = FormatStroke(entry.m_strokes[1]);
        if (!second.IsEmpty())
            text += kStrokeSeparator + second;
    }
    if (priority)
        *priority = PriorityOf(entry.m_strokes[0].flags);
}

BOOL COSMShortcutManager::ParseStroke(CString text, COSMShortcutManagerAccel::Stroke& stroke)
{
    stroke.flags = FVIRTKEY;
    stroke.key = 0;
    // A whole key name first: "Ctrl+Break" is a key, not Ctrl and Break. (Any other name that reads as modifiers is
    // never written: FormatStroke writes such a key by its code.)
    if (const WORD key = FindTableKeyByName(text))
    {
        stroke.key = key;
        if (key == kKeyCtrlBreak)
            stroke.flags |= FCONTROL;
        return TRUE;
    }
    for (const Modifier& modifier : kParsedModifiers)
    {
        if (RemoveModifier(text, FormatKeyName(modifier.key)) || RemoveModifier(text, GetTableKeyName(modifier.key)))
            stroke.flags |= modifier.flag;
    }
    stroke.key = FindKeyByName(text);
    if (stroke.key == 0)
        stroke.key = ParseHexKey(text);
    return stroke.key > 0;
}

BOOL COSMShortcutManager::ParseShortcutText(const CString& text, COSMShortcutManagerAccel& entry)
{
    const int separator = text.Find(kStrokeSeparator);
    COSMShortcutManagerAccel::Stroke first;
    COSMShortcutManagerAccel::Stroke second;
    if (separator < 0)
    {
        if (!ParseStroke(text, first))
            return FALSE;
    }
    else if (!ParseStroke(text.Left(separator), first) ||
             !ParseStroke(text.Mid(separator + static_cast<int>(sizeof(kStrokeSeparator)) - 1), second))
    {
        return FALSE;
    }
    entry.m_strokes[0] = first;
    entry.m_strokes[1] = second;
    return TRUE;
}

// ---- Choosing a shortcut ----

BOOL COSMShortcutManager::FindBestText(const COSMShortcutManagerAccelTable& table, UINT command, CString& text)
{
    BOOL found = FALSE;
    BOOL current = FALSE;
    int bestPriority = 0;
    CString best;
    for (int i = 0; i < table.GetCount(); ++i)
    {
        const COSMShortcutManagerAccel* entry = table.GetAt(i);
        if (entry->m_command != command)
            continue;
        CString candidate;
        int priority = 0;
        FormatShortcutText(*entry, candidate, &priority);
        if (candidate == text)
            current = TRUE;
        if (!found || priority > bestPriority)
        {
            best = candidate;
            bestPriority = priority;
        }
        found = TRUE;
    }
    if (!found)
    {
        text.Empty();
        return FALSE;
    }
    if (!current)
        text = best;
    return TRUE;
}

BOOL COSMShortcutManager::FindDefaultAccelerator(UINT command, CString& text)
{
    if (m_accelTable->GetCount() == 0)
    {
        if (!m_defaultTable)
            return FindFrameAccelerator(command, text);
        return FALSE;
    }
    return FindBestText(*m_accelTable, command, text);
}

BOOL COSMShortcutManager::FindFrameAccelerator(UINT command, CString& text)
{
    CWnd* site = m_commandBars ? m_commandBars->GetSite() : nullptr;
    if (!site || !site->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
        return FALSE;
    HACCEL accelTable = static_cast<CFrameWnd*>(site)->m_hAccelTable;
    if (!accelTable)
        return FALSE;
    const int count = ::CopyAcceleratorTableA(accelTable, nullptr, 0);
    if (count <= 0)
        return FALSE;
    std::vector<ACCEL> accels(static_cast<size_t>(count));
    const int copied = ::CopyAcceleratorTableA(accelTable, accels.data(), count);
    COSMShortcutManagerAccelTable table;
    for (int i = 0; i < copied; ++i)
    {
        if (accels[static_cast<size_t>(i)].cmd == command)
            table.Add(COSMShortcutManagerAccel(accels[static_cast<size_t>(i)]));
    }
    return FindBestText(table, command, text);
}

BOOL COSMShortcutManager::OnBeforeAdd(const COSMShortcutManagerAccel& entry)
{
    const COSMShortcutManagerAccel::Stroke& stroke = entry.m_strokes[0];
    if (stroke.flags & (FCONTROL | FSHIFT | FALT))
        return TRUE;
    if ((stroke.flags & FVIRTKEY) && stroke.key == kKeyEscape)
        return m_allowEscape;
    return TRUE;
}

// ---- Tables ----

void COSMShortcutManager::SetDefaultAccelTable(const COSMShortcutManagerAccelTable* table)
{
    if (!table)
    {
        m_defaultTable.reset();
        return;
    }
    auto copy = std::make_unique<COSMShortcutManagerAccelTable>();
    copy->Copy(*table);
    m_defaultTable = std::move(copy);
}

void COSMShortcutManager::Reset()
{
    if (m_defaultTable)
        m_accelTable->Copy(*m_defaultTable);
}

// ---- Persistence ----

void COSMShortcutManager::DoPropExchange(COSMPropExchange* px)
{
    if (px->IsStoring())
    {
        const DWORD count = static_cast<DWORD>(m_accelTable->GetCount());
        if (px->IsSequentialStorage())
        {
            px->WriteCount(count);
            std::vector<BYTE> records = m_accelTable->ExportRecords();
            if (!records.empty())
                px->Write("Data", records.data(), static_cast<DWORD>(records.size()));
            return;
        }
        std::unique_ptr<COSMPropExchangeEnumerator> items(px->GetEnumerator("Shortcut"));
        POSITION pos = items->GetPosition(count);
        for (int i = 0; pos; ++i)
        {
            const RefPtr<COSMPropExchange> section = RefPtr<COSMPropExchange>::Adopt(items->GetNext(pos));
            const COSMShortcutManagerAccel* entry = m_accelTable->GetAt(i);
            long id = static_cast<long>(entry->m_command);
            CString key;
            FormatShortcutText(*entry, key);
            PropExchangeLong(section.Get(), "Id", &id, 0);
            PropExchangeString(section.Get(), "Key", &key, "");
        }
        return;
    }

    // Read into a table of its own: the user's shortcuts stay unless the store is whole.
    COSMShortcutManagerAccelTable loaded;
    if (px->IsSequentialStorage())
        LoadSequential(px, loaded);
    else if (!LoadNamed(px, loaded))
        return;
    m_accelTable->Copy(loaded);
}

void COSMShortcutManager::LoadSequential(COSMPropExchange* px, COSMShortcutManagerAccelTable& loaded)
{
    const BOOL accels = px->m_nSchema < kFirstSchemaWithEntries;
    const DWORD count = px->ReadCount();
    if (count > kMaxStoredShortcuts)
        AfxThrowArchiveException(CArchiveException::genericException);
    // At most 65,535 records of 12 bytes: the size fits in 32 bits.
    const DWORD size =
        count * (accels ? COSMShortcutManagerAccel::kAccelRecordSize : COSMShortcutManagerAccel::kRecordSize);
    std::vector<BYTE> data(size);
    if (size != 0 && px->Read("Data", data.data(), size) != size)
        AfxThrowArchiveException(CArchiveException::endOfFile);
    SetFromRecords(loaded, data, count, accels);
}

BOOL COSMShortcutManager::LoadNamed(COSMPropExchange* px, COSMShortcutManagerAccelTable& loaded)
{
    const BOOL accels = px->m_nSchema < kFirstSchemaWithEntries;
    std::unique_ptr<COSMPropExchangeEnumerator> items(px->GetEnumerator(accels ? "Accel" : "Shortcut"));
    POSITION pos = items->GetPosition();
    // The count came from the store: a damaged one is not walked.
    for (DWORD read = 0; pos; ++read)
    {
        if (read >= kMaxStoredShortcuts)
            return FALSE;
        // Held, not released by hand: a damaged store's archive exception may leave the loop anywhere.
        const RefPtr<COSMPropExchange> section = RefPtr<COSMPropExchange>::Adopt(items->GetNext(pos));
        if (accels)
        {
            short id = 0;
            BYTE flags = 0;
            short key = 0;
            PropExchangeShort(section.Get(), "Id", &id, 0);
            PropExchangeByte(section.Get(), "virt", &flags, 0);
            PropExchangeShort(section.Get(), "key", &key, 0);
            ACCEL accel{};
            accel.cmd = static_cast<WORD>(id);
            accel.fVirt = flags;
            accel.key = static_cast<WORD>(key);
            loaded.Add(COSMShortcutManagerAccel(accel));
        }
        else
        {
            long id = 0;
            CString key;
            PropExchangeLong(section.Get(), "Id", &id, 0);
            PropExchangeString(section.Get(), "Key", &key, "");
            COSMShortcutManagerAccel entry;
            entry.m_command = static_cast<DWORD>(id);
            // A text that names no key is dropped.
            if (ParseShortcutText(key, entry))
                loaded.Add(entry);
        }
    }
    return TRUE;
}
