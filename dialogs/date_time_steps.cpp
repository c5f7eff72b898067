#include "dialogs/date_time_steps.h"

#include "controls/calendar_days.h"

#include <cstddef>

namespace ksv {
namespace {

// The flags bit that lets the user set each byte of a PackedDateTime.
constexpr uint32_t kBitOfByte[8] = {
    kDateTimeSecondsBit, kDateTimeMinutesBit, kDateTimeHoursBit, kDateTimeDayBit,
    kDateTimeWeekdayBit, kDateTimeMonthBit,   kDateTimeYearBit,  kDateTimeYearBit,
};

bool Has(uint32_t flags, uint32_t bit) {
    return (flags & bit) != 0;
}

// A field one step on within first..last; outside that range after the step, it starts over
// at the end it ran past.
uint8_t Wrap(uint8_t field, StepDirection direction, int first, int last) {
    const int next = field + static_cast<int>(direction);
    if (next < first || next > last) {
        return static_cast<uint8_t>(direction == StepDirection::Up ? first : last);
    }
    return static_cast<uint8_t>(next);
}

void StepDay(PackedDateTime& value, StepDirection direction, uint32_t flags) {
    if (Has(flags, kDateTimeWeekdayBit)) {
        value.SetWeekday(Wrap(value.Weekday(), direction, 0, 6));
        return;
    }
    value.SetDay(Wrap(value.Day(), direction, 1, DaysInMonth(value.Month(), value.Year())));
}

} // namespace

PackedDateTime DateTimeOnOpening(PackedDateTime value, uint32_t flags) {
    if (Has(flags, kDateTimeWeekdayBit) && value.Weekday() > 6) {
        value.SetWeekday(1);
    }
    return value;
}

bool IsDateTimeFieldEnabled(DateTimeField field, uint32_t flags) {
    switch (field) {
    case DateTimeField::Hour:
        return Has(flags, kDateTimeHoursBit);
    case DateTimeField::Minute:
        return Has(flags, kDateTimeMinutesBit);
    case DateTimeField::Second:
        return Has(flags, kDateTimeSecondsBit);
    case DateTimeField::Day:
        return Has(flags, kDateTimeWeekdayBit | kDateTimeDayBit);
    case DateTimeField::Month:
        return Has(flags, kDateTimeMonthBit);
    case DateTimeField::Year:
        return Has(flags, kDateTimeYearBit);
    }
    return false;
}

PackedDateTime StepDateTime(PackedDateTime value, DateTimeField field, StepDirection direction,
                            uint32_t flags) {
    switch (field) {
    case DateTimeField::Hour:
        value.SetHour(Wrap(value.Hour(), direction, 0, 23));
        break;
    case DateTimeField::Minute:
        value.SetMinute(Wrap(value.Minute(), direction, 0, 59));
        break;
    case DateTimeField::Second:
        value.SetSecond(Wrap(value.Second(), direction, 0, 59));
        break;
    case DateTimeField::Day:
        StepDay(value, direction, flags);
        break;
    case DateTimeField::Month:
        value.SetMonth(Wrap(value.Month(), direction, 1, 12));
        break;
    case DateTimeField::Year:
        value.SetYear(static_cast<uint16_t>(value.Year() + static_cast<int>(direction)));
        break;
    }
    return value;
}

PackedDateTime TakeFlaggedFields(PackedDateTime value, const PackedDateTime& now, uint32_t flags) {
    for (std::size_t i = 0; i < value.bytes.size(); ++i) {
        if (Has(flags, kBitOfByte[i])) {
            value.bytes[i] = now.bytes[i];
        }
    }
    return value;
}

} // namespace ksv
