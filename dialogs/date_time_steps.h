#pragma once

#include "controls/packed_date_time.h"

#include <cstdint>

namespace ksv {

// The fields of a DateTime control the user may set, from its flags.
inline constexpr uint32_t kDateTimeSecondsBit = 0x00020000;
inline constexpr uint32_t kDateTimeMinutesBit = 0x00040000;
inline constexpr uint32_t kDateTimeHoursBit = 0x00080000;
inline constexpr uint32_t kDateTimeWeekdayBit = 0x00100000;
inline constexpr uint32_t kDateTimeDayBit = 0x00200000;
inline constexpr uint32_t kDateTimeMonthBit = 0x00400000;
inline constexpr uint32_t kDateTimeYearBit = 0x00800000;

// What one plus or minus button of the date/time dialog steps. Day steps the weekday instead
// when the weekday bit is set.
enum class DateTimeField { Hour, Minute, Second, Day, Month, Year };
enum class StepDirection { Down = -1, Up = 1 };

// The value as the dialog opens it: with the weekday bit, a weekday outside 0..6 becomes 1.
PackedDateTime DateTimeOnOpening(PackedDateTime value, uint32_t flags);

// Whether the buttons of the field are enabled for a control with these flags.
bool IsDateTimeFieldEnabled(DateTimeField field, uint32_t flags);

// The value after one step. Each field wraps within its range (a day within the length of its
// month, the year on 16 bits); a field that was out of range wraps too, so one press brings
// it back into range.
PackedDateTime StepDateTime(PackedDateTime value, DateTimeField field, StepDirection direction,
                            uint32_t flags);

// "Now": the fields of `now` whose bits are set replace those of `value`.
PackedDateTime TakeFlaggedFields(PackedDateTime value, const PackedDateTime& now, uint32_t flags);

} // namespace ksv
