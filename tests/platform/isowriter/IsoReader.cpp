#include "IsoReader.h"

#include "Utf8Text.h"

#include <cstring>
#include <fstream>
#include <stdexcept>

namespace osm::iso::test {

namespace {

std::uint16_t le16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint16_t be16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}
std::uint32_t le32(const std::uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
}
std::uint32_t be32(const std::uint8_t* p)
{
    return (std::uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

// Both-byte-order fields must agree; a writer that gets one half wrong is caught here.
std::uint32_t both32(const std::uint8_t* p, const char* what)
{
    if (le32(p) != be32(p + 4))
        throw std::runtime_error(std::string("byte orders differ in ") + what);
    return le32(p);
}
std::uint16_t both16(const std::uint8_t* p, const char* what)
{
    if (le16(p) != be16(p + 2))
        throw std::runtime_error(std::string("byte orders differ in ") + what);
    return le16(p);
}

std::string utf8FromUcs2(const std::uint8_t* p, std::size_t bytes)
{
    std::string out;
    for (std::size_t i = 0; i + 1 < bytes; i += 2)
    {
        char32_t c = be16(p + i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes)
        {
            const char32_t low = be16(p + i + 2);
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        }
        osm::test::AppendUtf8(out, c);
    }
    return out;
}

std::string text(const std::uint8_t* p, std::size_t n, bool joliet)
{
    std::string s = joliet ? utf8FromUcs2(p, n) : std::string(reinterpret_cast<const char*>(p), n);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.pop_back();
    return s;
}

IsoReader::Record parseRecord(const std::uint8_t* p, bool joliet)
{
    IsoReader::Record r;
    r.extent = both32(p + 2, "record extent");
    r.length = both32(p + 10, "record length");
    std::memcpy(r.date, p + 18, 7);
    r.flags = p[25];
    r.volumeSequence = both16(p + 28, "record volume sequence");
    const std::uint8_t idLength = p[32];
    r.rawName.assign(reinterpret_cast<const char*>(p + 33), idLength);
    if (idLength == 1 && (p[33] == 0 || p[33] == 1))
        r.name = std::string(1, static_cast<char>(p[33]));
    else
        r.name = joliet ? utf8FromUcs2(p + 33, idLength) : std::string(reinterpret_cast<const char*>(p + 33), idLength);
    return r;
}

}  // namespace

IsoReader::IsoReader(const std::filesystem::path& imagePath)
{
#ifdef _WIN32
    file_ = _wfopen(imagePath.c_str(), L"rb");
#else
    file_ = std::fopen(imagePath.c_str(), "rb");
#endif
    if (!file_)
        throw std::runtime_error("cannot open " + imagePath.u8string());
#ifdef _WIN32
    _fseeki64(file_, 0, SEEK_END);
    size_ = static_cast<std::uint64_t>(_ftelli64(file_));
#else
    fseeko(file_, 0, SEEK_END);
    size_ = static_cast<std::uint64_t>(ftello(file_));
#endif
    for (std::uint32_t n = 16;; ++n)
    {
        const auto s = sector(n);
        if (std::memcmp(s.data() + 1, "CD001", 5) != 0)
            throw std::runtime_error("sector " + std::to_string(n) + " is not a volume descriptor");
        Volume v;
        v.type = s[0];
        if (v.type == 1 || v.type == 2)
        {
            const bool joliet = v.type == 2;
            v.systemId = text(&s[8], 32, joliet);
            v.volumeId = text(&s[40], 32, joliet);
            v.spaceSize = both32(&s[80], "volume space size");
            std::memcpy(v.escape, &s[88], 32);
            v.setSize = both16(&s[120], "volume set size");
            v.sequence = both16(&s[124], "volume sequence");
            v.blockSize = both16(&s[128], "block size");
            v.pathTableSize = both32(&s[132], "path table size");
            v.lPathTable = le32(&s[140]);
            v.mPathTable = be32(&s[148]);
            v.root = parseRecord(&s[156], joliet);
            v.volumeSetId = text(&s[190], 128, joliet);
            v.publisher = text(&s[318], 128, joliet);
            v.preparer = text(&s[446], 128, joliet);
            v.application = text(&s[574], 128, joliet);
            v.created.assign(reinterpret_cast<const char*>(&s[813]), 16);
            v.modified.assign(reinterpret_cast<const char*>(&s[830]), 16);
            v.expiration.assign(reinterpret_cast<const char*>(&s[847]), 16);
            v.effective.assign(reinterpret_cast<const char*>(&s[864]), 16);
            v.fileStructureVersion = s[881];
        }
        else if (v.type == 0)
        {
            v.systemId = text(&s[7], 32, false);
        }
        descriptors_.push_back(v);
        if (v.type == 255)
            break;
        if (n > 64)
            throw std::runtime_error("no volume descriptor set terminator");
    }
}

IsoReader::~IsoReader()
{
    if (file_)
        std::fclose(file_);
}

void IsoReader::readAt(std::uint64_t offset, void* out, std::size_t n) const
{
    if (offset + n > size_)
        throw std::runtime_error("read past the end of the image at " + std::to_string(offset));
#ifdef _WIN32
    _fseeki64(file_, static_cast<long long>(offset), SEEK_SET);
#else
    fseeko(file_, static_cast<off_t>(offset), SEEK_SET);
#endif
    if (std::fread(out, 1, n, file_) != n)
        throw std::runtime_error("short read of the image");
}

std::vector<std::uint8_t> IsoReader::bytes(std::uint64_t offset, std::size_t n) const
{
    std::vector<std::uint8_t> out(n);
    readAt(offset, out.data(), n);
    return out;
}

const IsoReader::Volume& IsoReader::primary() const
{
    for (const auto& v : descriptors_)
        if (v.type == 1)
            return v;
    throw std::runtime_error("no primary volume descriptor");
}

const IsoReader::Volume* IsoReader::joliet() const
{
    for (const auto& v : descriptors_)
        if (v.type == 2 && v.escape[0] == 0x25 && v.escape[1] == 0x2F &&
            (v.escape[2] == 0x40 || v.escape[2] == 0x43 || v.escape[2] == 0x45))
            return &v;
    return nullptr;
}

std::optional<IsoReader::Boot> IsoReader::boot() const
{
    for (std::size_t i = 0; i < descriptors_.size(); ++i)
    {
        if (descriptors_[i].type != 0)
            continue;
        Boot b;
        const auto record = sector(static_cast<std::uint32_t>(16 + i));
        b.system = text(&record[7], 32, false);
        b.catalogSector = le32(&record[71]);
        const auto c = sector(b.catalogSector);
        b.headerId = c[0];
        b.platform = c[1];
        std::uint16_t sum = 0;
        for (int k = 0; k < 32; k += 2)
            sum = static_cast<std::uint16_t>(sum + le16(&c[k]));
        b.checksumValid = sum == 0;
        b.keyValid = c[30] == 0x55 && c[31] == 0xAA;
        b.indicator = c[32];
        b.media = c[33];
        b.loadSegment = le16(&c[34]);
        b.systemType = c[36];
        b.sectorCount = le16(&c[38]);
        b.imageSector = le32(&c[40]);
        return b;
    }
    return std::nullopt;
}

std::vector<IsoReader::Record> IsoReader::directoryRecords(const Record& directory, bool joliet) const
{
    if (directory.length % 2048 != 0)
        throw std::runtime_error("directory length " + std::to_string(directory.length) + " is not whole sectors");
    const auto data = bytes(std::uint64_t(directory.extent) * 2048, directory.length);
    std::vector<Record> out;
    std::size_t at = 0;
    while (at < data.size())
    {
        const std::uint8_t len = data[at];
        if (len == 0)
        {
            at = (at / 2048 + 1) * 2048;  // rest of the sector is unused
            continue;
        }
        if (at % 2048 + len > 2048)
            throw std::runtime_error("directory record crosses a sector boundary");
        if (len < 34 || len % 2 != 0)
            throw std::runtime_error("malformed directory record length " + std::to_string(len));
        out.push_back(parseRecord(&data[at], joliet));
        at += len;
    }
    return out;
}

std::map<std::string, IsoReader::Entry> IsoReader::tree(bool joliet) const
{
    const Volume* volume = joliet ? this->joliet() : &primary();
    if (!volume)
        throw std::runtime_error("no Joliet volume");
    std::map<std::string, Entry> entries;
    Entry root;
    root.path = "/";
    root.directory = true;
    root.records.push_back(volume->root);
    std::vector<std::string> pending{"/"};
    entries["/"] = root;
    while (!pending.empty())
    {
        const std::string path = pending.back();
        pending.pop_back();
        const auto records = directoryRecords(entries[path].records.front(), joliet);
        if (records.size() < 2 || records[0].name != std::string(1, '\0') || records[1].name != std::string(1, '\1'))
            throw std::runtime_error("directory " + path + " does not start with . and ..");
        for (std::size_t i = 2; i < records.size(); ++i)
        {
            const Record& r = records[i];
            const std::string childPath = (path == "/" ? "" : path) + "/" + r.name;
            auto found = entries.find(childPath);
            if (found != entries.end())
            {
                // Another piece of a multi-extent file: only right after a piece flagged as continued.
                Entry& e = found->second;
                if (e.directory || !(e.records.back().flags & 0x80) || records[i - 1].name != r.name)
                    throw std::runtime_error("duplicate name " + childPath);
                e.records.push_back(r);
                e.size += r.length;
                continue;
            }
            Entry e;
            e.path = childPath;
            e.directory = r.isDirectory();
            e.size = e.directory ? 0 : r.length;
            e.records.push_back(r);
            entries[childPath] = e;
            entries[path].children.push_back(r.name);
            if (e.directory)
                pending.push_back(childPath);
        }
    }
    return entries;
}

std::vector<IsoReader::PathRecord> IsoReader::pathTable(bool joliet, bool bigEndian) const
{
    const Volume* volume = joliet ? this->joliet() : &primary();
    const auto data =
        bytes(std::uint64_t(bigEndian ? volume->mPathTable : volume->lPathTable) * 2048, volume->pathTableSize);
    std::vector<PathRecord> out;
    std::size_t at = 0;
    while (at < data.size())
    {
        const std::uint8_t len = data[at];
        PathRecord r;
        r.extent = bigEndian ? be32(&data[at + 2]) : le32(&data[at + 2]);
        r.parent = bigEndian ? be16(&data[at + 6]) : le16(&data[at + 6]);
        const bool root = len == 1 && data[at + 8] == 0;
        r.name = joliet && !root ? utf8FromUcs2(&data[at + 8], len)
                                 : std::string(reinterpret_cast<const char*>(&data[at + 8]), len);
        out.push_back(r);
        at += 8 + len + (len % 2);
    }
    return out;
}

std::vector<std::uint8_t> IsoReader::contents(const Entry& file) const
{
    std::vector<std::uint8_t> out;
    for (const Record& r : file.records)
    {
        const auto part = bytes(std::uint64_t(r.extent) * 2048, r.length);
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

bool IsoReader::sameAsFile(const Entry& file, const std::filesystem::path& diskPath) const
{
    std::ifstream in(diskPath, std::ios::binary);
    if (!in)
        return false;
    std::vector<char> a(1 << 20), b(1 << 20);
    for (const Record& r : file.records)
    {
        std::uint64_t done = 0;
        while (done < r.length)
        {
            const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(a.size(), r.length - done));
            readAt(std::uint64_t(r.extent) * 2048 + done, a.data(), n);
            in.read(b.data(), static_cast<std::streamsize>(n));
            if (static_cast<std::size_t>(in.gcount()) != n || std::memcmp(a.data(), b.data(), n) != 0)
                return false;
            done += n;
        }
    }
    return in.peek() == std::ifstream::traits_type::eof();
}

}  // namespace osm::iso::test
