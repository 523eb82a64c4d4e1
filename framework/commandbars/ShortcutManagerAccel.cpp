#include "framework/commandbars/ShortcutManagerAccel.h"

namespace {

// Stored numbers are little-endian whatever the machine.
WORD ReadWord(const BYTE* bytes)
{
    return static_cast<WORD>(bytes[0] | (bytes[1] << 8));
}

DWORD ReadDWord(const BYTE* bytes)
{
    return static_cast<DWORD>(ReadWord(bytes)) | (static_cast<DWORD>(ReadWord(bytes + 2)) << 16);
}

void WriteWord(BYTE* bytes, WORD value)
{
    bytes[0] = static_cast<BYTE>(value & 0xFF);
    bytes[1] = static_cast<BYTE>(value >> 8);
}

void WriteDWord(BYTE* bytes, DWORD value)
{
    WriteWord(bytes, static_cast<WORD>(value & 0xFFFF));
    WriteWord(bytes + 2, static_cast<WORD>(value >> 16));
}

}  // namespace

COSMShortcutManagerAccel::COSMShortcutManagerAccel(DWORD command, WORD flags, WORD key, WORD secondFlags,
                                                   WORD secondKey)
    : m_command(command)
{
    m_strokes[0] = Stroke{flags, key};
    m_strokes[1] = Stroke{secondFlags, secondKey};
}

COSMShortcutManagerAccel::COSMShortcutManagerAccel(const ACCEL& accel)
    : COSMShortcutManagerAccel(accel.cmd, accel.fVirt, accel.key)
{}

COSMShortcutManagerAccel COSMShortcutManagerAccel::FromRecord(const BYTE* record)
{
    return COSMShortcutManagerAccel(ReadDWord(record), ReadWord(record + 4), ReadWord(record + 6), ReadWord(record + 8),
                                    ReadWord(record + 10));
}

void COSMShortcutManagerAccel::ToRecord(BYTE* record) const
{
    WriteDWord(record, m_command);
    WriteWord(record + 4, m_strokes[0].flags);
    WriteWord(record + 6, m_strokes[0].key);
    WriteWord(record + 8, m_strokes[1].flags);
    WriteWord(record + 10, m_strokes[1].key);
}

ACCEL COSMShortcutManagerAccel::AccelFromRecord(const BYTE* record)
{
    ACCEL accel{};
    accel.fVirt = record[0];
    accel.key = ReadWord(record + 2);
    accel.cmd = ReadWord(record + 4);
    return accel;
}

const COSMShortcutManagerAccel* COSMShortcutManagerAccelTable::GetAt(int index) const
{
    if (index < 0 || index >= GetCount())
        return nullptr;
    return &m_entries[static_cast<size_t>(index)];
}

void COSMShortcutManagerAccelTable::SetAccels(const ACCEL* accels, int count)
{
    m_entries.clear();
    for (int i = 0; i < count; ++i)
        m_entries.emplace_back(accels[i]);
}

void COSMShortcutManagerAccelTable::SetEntries(const COSMShortcutManagerAccel* entries, int count)
{
    m_entries.assign(entries, entries + (count > 0 ? count : 0));
}

std::vector<BYTE> COSMShortcutManagerAccelTable::ExportRecords() const
{
    std::vector<BYTE> records(m_entries.size() * COSMShortcutManagerAccel::kRecordSize);
    for (size_t i = 0; i < m_entries.size(); ++i)
        m_entries[i].ToRecord(&records[i * COSMShortcutManagerAccel::kRecordSize]);
    return records;
}
