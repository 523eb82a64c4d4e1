// Dates as the image stores them: the 7-byte binary form of directory records and the 17-byte digit form
// of volume descriptors. Times are written in UTC (offset 0); readers convert to local time themselves.
#pragma once

#include <cstdint>

namespace osm::iso {

class IsoDate
{
public:
    // seconds since 1970-01-01 00:00:00 UTC
    explicit IsoDate(std::int64_t unixSeconds);

    static IsoDate now();

    // Years outside 1900..2155 are clamped to that range's ends.
    void writeRecordDate(std::uint8_t out[7]) const;
    // Years outside 1..9999 are clamped likewise.
    void writeVolumeDate(std::uint8_t out[17]) const;
    // The "not specified" volume date: sixteen '0' digits and offset 0.
    static void writeUnsetVolumeDate(std::uint8_t out[17]);

    int year() const { return year_; }
    int month() const { return month_; }
    int day() const { return day_; }
    int hour() const { return hour_; }
    int minute() const { return minute_; }
    int second() const { return second_; }
    std::int64_t unixSeconds() const { return unixSeconds_; }

private:
    std::int64_t unixSeconds_;
    int year_, month_, day_, hour_, minute_, second_;
};

}  // namespace osm::iso
