#include "DistributionTree.h"

#include <chrono>

namespace osm::iso::test {

namespace {

fs::path utf8Path(const std::string& relative)
{
    return fs::u8path(relative);
}

void setFileTime(const fs::path& path, std::int64_t unixSeconds)
{
    // The file clock's epoch differs between libraries: place the time relative to "now" on both clocks.
    using namespace std::chrono;
    const auto systemNow = system_clock::now();
    const auto fileNow = fs::file_time_type::clock::now();
    const auto target = system_clock::time_point(seconds(unixSeconds));
    fs::last_write_time(path, fileNow + duration_cast<fs::file_time_type::duration>(target - systemNow));
}

}  // namespace

DistributionTree::DistributionTree(const fs::path& folder) : folder_(folder)
{
    this->folder("I386", "/I386");
    file("I386/txtsetup.sif", "/I386/TXTSETUP.SIF", 1000);
    this->folder("I386/SYSTEM32", "/I386/SYSTEM32");
    file("I386/SYSTEM32/ntoskrnl.exe", "/I386/SYSTEM32/NTOSKRNL.EXE", 2048);
    file("I386/SYSTEM32/hal.dll", "/I386/SYSTEM32/HAL.DLL", 2049);
    file("I386/SYSTEM32/kdcom.dll", "/I386/SYSTEM32/KDCOM.DLL", 2047);
    this->folder("I386/ASMS", "/I386/ASMS");  // stays empty
    file("WIN51IP.SP2", "/WIN51IP.SP2", 1);
    file("zero.txt", "/ZERO.TXT", 0);
    this->folder("$OEM$", "/_OEM_");
    file("$OEM$/cmdlines.txt", "/_OEM_/CMDLINES.TXT", 300);
    this->folder("Docs", "/DOCS");
    file("Docs/Read Me First.html", "/DOCS/READ_ME_FIRST.HTML", 4096);
    file("Docs/archive.tar.gz", "/DOCS/ARCHIVE_TAR.GZ", 5000);
    file("Docs/noext", "/DOCS/NOEXT", 10);
    file("Docs/.dotfile", "/DOCS/_DOTFILE", 11);  // only top-level dot names are left out
    file("Docs/a+b.txt", "/DOCS/A_B_1.TXT", 12);  // these three collide after mapping; the first by
    file("Docs/a=b.txt", "/DOCS/A_B_2.TXT", 13);  // original name (' ' < '+' < '=') keeps the plain form
    file("Docs/a b.txt", "/DOCS/A_B.TXT", 14);
    this->folder("Docs/v1.2", "/DOCS/V1_2");
    file("Docs/v1.2/notes.txt", "/DOCS/V1_2/NOTES.TXT", 15);
    const std::string longName = std::string(99, 'n') + ".txt";  // 103 characters: the longest Joliet name
    file("Docs/" + longName, "/DOCS/" + std::string(27, 'N') + ".TXT", 16);
    this->folder("Unicode", "/UNICODE");
    file(u8"Unicode/\u00dcn\u00efcode n\u00e4me.txt", "/UNICODE/_N_CODE_N_ME.TXT", 17);
    file(u8"Unicode/\u65e5\u672c\u8a9e.txt", "/UNICODE/___.TXT", 18);
    // Joliet holds UCS-2: a character beyond it becomes '_' there too.
    file(u8"Unicode/emoji \U0001F600.txt", "/UNICODE/EMOJI__.TXT", 19, "/Unicode/emoji _.txt");
    std::string deep = "Deep", deepIso = "/DEEP";
    this->folder(deep, deepIso);
    for (int level = 1; level <= 11; ++level)
    {  // twelve levels below the root, past ISO9660's eight
        deep += "/L" + std::to_string(level);
        deepIso += "/L" + std::to_string(level);
        this->folder(deep, deepIso);
    }
    file(deep + "/deep.txt", deepIso + "/DEEP.TXT", 20);
    this->folder("Big", "/BIG");
    file("Big/ten.bin", "/BIG/TEN.BIN", kChunk);
    file("Big/ten_plus.bin", "/BIG/TEN_PLUS.BIN", kChunk + 1);
    file("Big/ten_minus.bin", "/BIG/TEN_MINUS.BIN", kChunk - 1);
    // Left out by the wizard's loop: names beginning with "." at the top.
    writeFile(folder_ / ".hidden", "not in the image");
    writeFile(folder_ / ".git" / "config", "not in the image either");
}

void DistributionTree::file(const std::string& relative, const std::string& isoPath, std::uint64_t size,
                            const std::string& jolietPath)
{
    const fs::path source = utf8Path(relative);
    writePattern(folder_ / source, size, static_cast<std::uint32_t>(entries_.size()));
    setFileTime(folder_ / source, kFileTime);
    entries_.push_back({source, jolietPath.empty() ? "/" + relative : jolietPath, isoPath, size, false});
}

void DistributionTree::folder(const std::string& relative, const std::string& isoPath)
{
    fs::create_directories(folder_ / utf8Path(relative));
    entries_.push_back({utf8Path(relative), "/" + relative, isoPath, 0, true});
}

}  // namespace osm::iso::test
