#include "controls/date_time_format.h"

#include "controls/calendar_days.h"

#include <cstdio>
#include <optional>

namespace ksv {
namespace {

enum class Picture {
    Year4,
    Year2,
    MonthName,
    MonthAbbreviation,
    Month2,
    Month,
    WeekdayName,
    WeekdayAbbreviation,
    Day2,
    Day,
    Hour12Two,
    Hour12,
    Hour24Two,
    Hour24,
    Second2,
    Second,
    Minute2,
    Minute,
    Designator,
    DesignatorFirst,
};

struct Token {
    std::u16string_view text;
    Picture picture;
};

// Matching order matters: a longer token is tried before its prefix.
constexpr Token kTokens[] = {
    {u"%yyyy%", Picture::Year4},       {u"%yy%", Picture::Year2},
    {u"%MMMM%", Picture::MonthName},   {u"%MMM%", Picture::MonthAbbreviation},
    {u"%MM%", Picture::Month2},        {u"%M%", Picture::Month},
    {u"%dddd%", Picture::WeekdayName}, {u"%ddd%", Picture::WeekdayAbbreviation},
    {u"%dd%", Picture::Day2},          {u"%d%", Picture::Day},
    {u"%hh%", Picture::Hour12Two},     {u"%h%", Picture::Hour12},
    {u"%HH%", Picture::Hour24Two},     {u"%H%", Picture::Hour24},
    {u"%ss%", Picture::Second2},       {u"%s%", Picture::Second},
    {u"%mm%", Picture::Minute2},       {u"%m%", Picture::Minute},
    {u"%tt%", Picture::Designator},    {u"%t%", Picture::DesignatorFirst},
};

std::u16string Digits(unsigned value, int minDigits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*u", minDigits, value);
    return std::u16string(buffer, buffer + std::char_traits<char>::length(buffer));
}

// The calendar time of every token but the weekday names: a real date and time of day. Any
// year is a year.
bool CalendarTimeValid(const PackedDateTime& v) {
    return v.Month() >= 1 && v.Month() <= 12 && v.Day() >= 1 &&
           v.Day() <= DaysInMonth(v.Month(), v.Year()) && v.Hour() <= 23 && v.Minute() <= 59 &&
           v.Second() <= 59;
}

// Weekday names are those of the date 2000-01-(byte + 2), 2 January 2000 being a Sunday: bytes
// 0 to 29 name a real day (7 is a Sunday again), from 30 on there is no such date.
std::optional<int> WeekdayOfByte(uint8_t weekday) {
    constexpr int kYear = 2000;
    const int day = weekday + 2;
    if (day > DaysInMonth(1, kYear))
        return std::nullopt;
    return DayOfWeek(kYear, 1, day);
}

unsigned TwelveHour(unsigned hour) {
    return hour % 12 == 0 ? 12 : hour % 12;
}

std::u16string FirstCharacter(const std::u16string& text) {
    if (text.empty())
        return text;
    bool pair = text.size() >= 2 && text[0] >= 0xD800 && text[0] <= 0xDBFF && text[1] >= 0xDC00 &&
                text[1] <= 0xDFFF;
    return text.substr(0, pair ? 2 : 1);
}

bool IsWeekdayPicture(Picture picture) {
    return picture == Picture::WeekdayName || picture == Picture::WeekdayAbbreviation;
}

// What a token shows when its calendar time is no real date: a dash per letter of its picture.
std::u16string Placeholder(const Token& token) {
    return std::u16string(token.text.size() - 2, u'-');
}

std::optional<std::u16string> Render(Picture picture, const PackedDateTime& v,
                                     const TimeLocale& names) {
    if (IsWeekdayPicture(picture)) {
        const std::optional<int> weekday = WeekdayOfByte(v.Weekday());
        if (!weekday)
            return std::nullopt;
        return picture == Picture::WeekdayName ? names.WeekdayName(*weekday)
                                               : names.WeekdayAbbreviation(*weekday);
    }
    if (!CalendarTimeValid(v))
        return std::nullopt;
    switch (picture) {
    case Picture::Year4:
        return Digits(v.Year(), 4);
    case Picture::Year2:
        return Digits(v.Year() % 100, 2);
    case Picture::MonthName:
        return names.MonthName(v.Month());
    case Picture::MonthAbbreviation:
        return names.MonthAbbreviation(v.Month());
    case Picture::Month2:
        return Digits(v.Month(), 2);
    case Picture::Month:
        return Digits(v.Month(), 1);
    case Picture::Day2:
        return Digits(v.Day(), 2);
    case Picture::Day:
        return Digits(v.Day(), 1);
    case Picture::Hour12Two:
        return Digits(TwelveHour(v.Hour()), 2);
    case Picture::Hour12:
        return Digits(TwelveHour(v.Hour()), 1);
    case Picture::Hour24Two:
        return Digits(v.Hour(), 2);
    case Picture::Hour24:
        return Digits(v.Hour(), 1);
    case Picture::Second2:
        return Digits(v.Second(), 2);
    case Picture::Second:
        return Digits(v.Second(), 1);
    case Picture::Minute2:
        return Digits(v.Minute(), 2);
    case Picture::Minute:
        return Digits(v.Minute(), 1);
    case Picture::Designator:
        return v.Hour() < 12 ? names.AmDesignator() : names.PmDesignator();
    case Picture::DesignatorFirst:
        return FirstCharacter(v.Hour() < 12 ? names.AmDesignator() : names.PmDesignator());
    default:
        return std::nullopt;
    }
}

} // namespace

std::u16string FormatDateTime(const PackedDateTime& value, const std::u16string& format,
                              const TimeLocale& names) {
    std::u16string result;
    const std::u16string_view rest(format);
    size_t pos = 0;
    while (pos < rest.size()) {
        const Token* match = nullptr;
        for (const Token& token : kTokens) {
            if (rest.substr(pos, token.text.size()) == token.text) {
                match = &token;
                break;
            }
        }
        if (match == nullptr) {
            result.push_back(rest[pos]);
            ++pos;
            continue;
        }
        result += Render(match->picture, value, names).value_or(Placeholder(*match));
        pos += match->text.size();
    }
    return result;
}

std::u16string FormatDateTime(const PackedDateTime& value, const std::u16string& format) {
    return FormatDateTime(value, format, TimeLocale::User());
}

std::array<std::u16string, 7> WeekdayListNames(const TimeLocale& names) {
    std::array<std::u16string, 7> items;
    for (uint8_t day = 0; day < items.size(); ++day) {
        PackedDateTime value;
        value.SetWeekday(day);
        items[day] = FormatDateTime(value, u"%ddd%", names);
    }
    return items;
}

std::array<std::u16string, 7> WeekdayListNames() {
    return WeekdayListNames(TimeLocale::User());
}

} // namespace ksv
