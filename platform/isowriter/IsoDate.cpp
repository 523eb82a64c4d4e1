#include "isowriter/IsoDate.h"

#include <chrono>
#include <cstdio>

namespace osm::iso {

namespace {

// Civil date from a day count since 1970-01-01 (proleptic Gregorian), without the C library's time zone
// or range limits.
void civilFromDays(std::int64_t z, int& y, int& m, int& d)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

}  // namespace

IsoDate::IsoDate(std::int64_t unixSeconds) : unixSeconds_(unixSeconds)
{
    std::int64_t days = unixSeconds / 86400;
    std::int64_t rest = unixSeconds % 86400;
    if (rest < 0)
    {
        rest += 86400;
        --days;
    }
    civilFromDays(days, year_, month_, day_);
    hour_ = static_cast<int>(rest / 3600);
    minute_ = static_cast<int>(rest / 60 % 60);
    second_ = static_cast<int>(rest % 60);
}

IsoDate IsoDate::now()
{
    using namespace std::chrono;
    return IsoDate(duration_cast<seconds>(system_clock::now().time_since_epoch()).count());
}

void IsoDate::writeRecordDate(std::uint8_t out[7]) const
{
    if (year_ < 1900)
    {
        const std::uint8_t earliest[7] = {0, 1, 1, 0, 0, 0, 0};
        for (int i = 0; i < 7; ++i)
            out[i] = earliest[i];
        return;
    }
    if (year_ > 2155)
    {
        const std::uint8_t latest[7] = {255, 12, 31, 23, 59, 59, 0};
        for (int i = 0; i < 7; ++i)
            out[i] = latest[i];
        return;
    }
    out[0] = static_cast<std::uint8_t>(year_ - 1900);
    out[1] = static_cast<std::uint8_t>(month_);
    out[2] = static_cast<std::uint8_t>(day_);
    out[3] = static_cast<std::uint8_t>(hour_);
    out[4] = static_cast<std::uint8_t>(minute_);
    out[5] = static_cast<std::uint8_t>(second_);
    out[6] = 0;
}

void IsoDate::writeVolumeDate(std::uint8_t out[17]) const
{
    char digits[24];
    if (year_ < 1)
        std::snprintf(digits, sizeof digits, "0001010100000000");
    else if (year_ > 9999)
        std::snprintf(digits, sizeof digits, "9999123123595900");
    else
        std::snprintf(digits, sizeof digits, "%04d%02d%02d%02d%02d%02d00", year_, month_, day_, hour_, minute_,
                      second_);
    for (int i = 0; i < 16; ++i)
        out[i] = static_cast<std::uint8_t>(digits[i]);
    out[16] = 0;
}

void IsoDate::writeUnsetVolumeDate(std::uint8_t out[17])
{
    for (int i = 0; i < 16; ++i)
        out[i] = '0';
    out[16] = 0;
}

}  // namespace osm::iso
