// A small ISO9660/Joliet/El Torito reader written for the tests from the format itself, sharing no code
// with the writer, so images can be checked where no outside tool runs (Windows, Wine).
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace osm::iso::test {

class IsoReader
{
public:
    struct Record
    {
        std::string name;     // UTF-8; "\x00" and "\x01" for "." and ".."
        std::string rawName;  // identifier bytes as stored
        std::uint8_t flags = 0;
        std::uint32_t extent = 0;
        std::uint32_t length = 0;
        std::uint8_t date[7] = {};
        std::uint16_t volumeSequence = 0;
        bool isDirectory() const { return (flags & 0x02) != 0; }
    };

    struct Entry
    {
        std::string path;  // "/A/B", UTF-8
        bool directory = false;
        std::uint64_t size = 0;
        std::vector<Record> records;        // more than one for a multi-extent file
        std::vector<std::string> children;  // directories: child names in record order
    };

    struct Volume
    {
        std::uint8_t type = 0;
        std::string systemId, volumeId, volumeSetId, publisher, preparer, application;
        std::uint32_t spaceSize = 0;
        std::uint16_t setSize = 0, sequence = 0, blockSize = 0;
        std::uint32_t pathTableSize = 0, lPathTable = 0, mPathTable = 0;
        Record root;
        std::string created, modified, expiration, effective;  // 16 digits each
        std::uint8_t escape[32] = {};
        std::uint8_t fileStructureVersion = 0;
    };

    struct PathRecord
    {
        std::string name;
        std::uint32_t extent = 0;
        std::uint16_t parent = 0;
    };

    struct Boot
    {
        std::uint32_t catalogSector = 0;
        std::string system;
        std::uint8_t headerId = 0, platform = 0, indicator = 0, media = 0, systemType = 0;
        std::uint16_t loadSegment = 0, sectorCount = 0;
        std::uint32_t imageSector = 0;
        bool checksumValid = false, keyValid = false;
    };

    explicit IsoReader(const std::filesystem::path& imagePath);
    ~IsoReader();
    IsoReader(const IsoReader&) = delete;
    IsoReader& operator=(const IsoReader&) = delete;

    std::uint64_t imageSize() const { return size_; }
    std::vector<std::uint8_t> bytes(std::uint64_t offset, std::size_t n) const;
    std::vector<std::uint8_t> sector(std::uint32_t n) const { return bytes(std::uint64_t(n) * 2048, 2048); }

    // Volume descriptors from sector 16 to the terminator, in order.
    const std::vector<Volume>& descriptors() const { return descriptors_; }
    const Volume& primary() const;
    const Volume* joliet() const;
    std::optional<Boot> boot() const;

    // Every entry of a tree by path ("/" is the root). Throws on malformed directories.
    std::map<std::string, Entry> tree(bool joliet) const;
    std::vector<PathRecord> pathTable(bool joliet, bool bigEndian) const;

    // A file's data from all its extents.
    std::vector<std::uint8_t> contents(const Entry& file) const;
    // Compares a file's data with a file on disk without holding either whole in memory.
    bool sameAsFile(const Entry& file, const std::filesystem::path& diskPath) const;

private:
    std::vector<Record> directoryRecords(const Record& directory, bool joliet) const;
    void readAt(std::uint64_t offset, void* out, std::size_t n) const;

    std::FILE* file_ = nullptr;
    std::uint64_t size_ = 0;
    std::vector<Volume> descriptors_;
};

}  // namespace osm::iso::test
