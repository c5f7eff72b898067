#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace ksv {

// The device's 8-byte date/time, in the byte order it travels in: second, minute, hour, day
// of month, day of week (0 = Sunday), month, then the year as a little-endian u16. Nothing
// here checks the ranges: a device may send any byte.
struct PackedDateTime {
    std::array<uint8_t, 8> bytes{};

    static PackedDateTime FromBytes(const uint8_t* eight);
    static PackedDateTime Make(uint16_t year, uint8_t month, uint8_t day, uint8_t hour,
                               uint8_t minute, uint8_t second, uint8_t weekday);

    uint8_t Second() const { return bytes[0]; }
    uint8_t Minute() const { return bytes[1]; }
    uint8_t Hour() const { return bytes[2]; }
    uint8_t Day() const { return bytes[3]; }
    uint8_t Weekday() const { return bytes[4]; }
    uint8_t Month() const { return bytes[5]; }
    uint16_t Year() const { return static_cast<uint16_t>(bytes[6] | (bytes[7] << 8)); }

    void SetSecond(uint8_t v) { bytes[0] = v; }
    void SetMinute(uint8_t v) { bytes[1] = v; }
    void SetHour(uint8_t v) { bytes[2] = v; }
    void SetDay(uint8_t v) { bytes[3] = v; }
    void SetWeekday(uint8_t v) { bytes[4] = v; }
    void SetMonth(uint8_t v) { bytes[5] = v; }
    void SetYear(uint16_t v) {
        bytes[6] = static_cast<uint8_t>(v & 0xFF);
        bytes[7] = static_cast<uint8_t>(v >> 8);
    }

    bool operator==(const PackedDateTime& other) const { return bytes == other.bytes; }
    bool operator!=(const PackedDateTime& other) const { return bytes != other.bytes; }
};

inline PackedDateTime PackedDateTime::FromBytes(const uint8_t* eight) {
    PackedDateTime value;
    for (std::size_t i = 0; i < value.bytes.size(); ++i)
        value.bytes[i] = eight[i];
    return value;
}

inline PackedDateTime PackedDateTime::Make(uint16_t year, uint8_t month, uint8_t day, uint8_t hour,
                                           uint8_t minute, uint8_t second, uint8_t weekday) {
    PackedDateTime value;
    value.SetSecond(second);
    value.SetMinute(minute);
    value.SetHour(hour);
    value.SetDay(day);
    value.SetWeekday(weekday);
    value.SetMonth(month);
    value.SetYear(year);
    return value;
}

} // namespace ksv
