// COSMShortcutManagerAccel: one keyboard shortcut of a command: one key stroke, or two in sequence (Ctrl+K, Ctrl+C).
// COSMShortcutManagerAccelTable: the shortcuts of a shortcut manager, in the order they were added.
//
//   COSMShortcutManagerAccelTable table;
//   table.Add(COSMShortcutManagerAccel(ID_FILE_SAVE, FVIRTKEY | FCONTROL, 'S'));
//   std::vector<BYTE> records = table.ExportRecords();    // 12 bytes an entry, the stored form
//
// A stroke's flags are those of a Windows ACCEL (FVIRTKEY 1, FNOINVERT 2, FSHIFT 4, FCONTROL 8, FALT 16) plus 32 for
// the Windows key; its key is a virtual-key code with FVIRTKEY, else a character code.
#pragma once

#include <windows.h>

#include <vector>

class COSMShortcutManagerAccel
{
public:
    // The Windows key, beside the ACCEL flags.
    static constexpr WORD kFlagWin = 0x20;
    // Bytes of a stored entry: the command (4), then flags and key of each stroke (2 each).
    static constexpr DWORD kRecordSize = 12;
    // Bytes of a stored Windows ACCEL: flags, an unused byte, the key and the command (2 each).
    static constexpr DWORD kAccelRecordSize = 6;

    struct Stroke
    {
        WORD flags = 0;
        // 0 for a stroke that is not there.
        WORD key = 0;

        bool operator==(const Stroke& other) const { return flags == other.flags && key == other.key; }
    };

    COSMShortcutManagerAccel() = default;
    COSMShortcutManagerAccel(DWORD command, WORD flags, WORD key, WORD secondFlags = 0, WORD secondKey = 0);
    // One stroke, the ACCEL's.
    explicit COSMShortcutManagerAccel(const ACCEL& accel);

    // The entry from a stored record of kRecordSize bytes, and back.
    static COSMShortcutManagerAccel FromRecord(const BYTE* record);
    void ToRecord(BYTE* record) const;
    // A Windows ACCEL from a stored record of kAccelRecordSize bytes.
    static ACCEL AccelFromRecord(const BYTE* record);

    BOOL IsTwoStroke() const { return m_strokes[1].key != 0; }

    bool operator==(const COSMShortcutManagerAccel& other) const
    {
        return m_command == other.m_command && m_strokes[0] == other.m_strokes[0] && m_strokes[1] == other.m_strokes[1];
    }

    DWORD m_command = 0;
    Stroke m_strokes[2];
};

class COSMShortcutManagerAccelTable
{
public:
    int GetCount() const { return static_cast<int>(m_entries.size()); }
    // Null outside 0..count-1.
    const COSMShortcutManagerAccel* GetAt(int index) const;
    void Add(const COSMShortcutManagerAccel& entry) { m_entries.push_back(entry); }
    void RemoveAll() { m_entries.clear(); }
    void Copy(const COSMShortcutManagerAccelTable& source) { m_entries = source.m_entries; }
    // Replace the entries: one per ACCEL, or copies of the entries.
    void SetAccels(const ACCEL* accels, int count);
    void SetEntries(const COSMShortcutManagerAccel* entries, int count);
    // Every entry as a stored record, in table order.
    std::vector<BYTE> ExportRecords() const;

private:
    std::vector<COSMShortcutManagerAccel> m_entries;
};
