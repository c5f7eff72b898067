#pragma once

#include "controls/packed_date_time.h"
#include "controls/time_locale.h"

#include <array>
#include <string>

namespace ksv {

// Expands the date/time tokens of `format` ("%yyyy%", "%MMMM%", "%HH%", "%tt%", ...) with
// the names of `names`; every other character is copied. Tokens are matched case-sensitively
// in a fixed order, so "%MMMM%" wins over "%MM%", and "%M%" (month) differs from "%m%"
// (minutes). A value that is no real date and time (month 0, 31 February, hour 24) renders
// every token but the weekday names as a dash per letter of its picture ("%dd%" "--",
// "%yyyy%" "----"). Weekday names are those of 2000-01-(weekday + 2): 0 and 7 are Sundays,
// 29 a Monday, and from 30 on there is no such date, so dashes.
std::u16string FormatDateTime(const PackedDateTime& value, const std::u16string& format,
                              const TimeLocale& names);
// The same with the user's LC_TIME locale.
std::u16string FormatDateTime(const PackedDateTime& value, const std::u16string& format);

// The weekday drop-down's items, Sunday to Saturday: "%ddd%" over a value that is zero
// except for its weekday.
std::array<std::u16string, 7> WeekdayListNames(const TimeLocale& names);
std::array<std::u16string, 7> WeekdayListNames();

} // namespace ksv
