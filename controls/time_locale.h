#pragma once

#include <array>
#include <optional>
#include <string>

namespace ksv {

// The names a date/time picture needs, read once from a C-library locale's LC_TIME
// category and held as UTF-16. Reading never changes the process's global locale.
class TimeLocale {
public:
    // The names of the given locale ("C", "de_DE.UTF-8", ...), or nothing when the machine
    // does not have it.
    static std::optional<TimeLocale> FromName(const std::string& name);
    // The C locale's English names; always available.
    static const TimeLocale& Classic();
    // The user's LC_TIME locale (LC_ALL, then LC_TIME, then LANG), read on first use; the
    // C locale when the named one is missing.
    static const TimeLocale& User();

    // month 1..12; weekday 0 = Sunday .. 6. Callers check the ranges.
    const std::u16string& MonthName(int month) const { return m_months[month - 1]; }
    const std::u16string& MonthAbbreviation(int month) const { return m_abMonths[month - 1]; }
    const std::u16string& WeekdayName(int weekday) const { return m_days[weekday]; }
    const std::u16string& WeekdayAbbreviation(int weekday) const { return m_abDays[weekday]; }
    // Morning and afternoon designators; empty in locales that have none.
    const std::u16string& AmDesignator() const { return m_am; }
    const std::u16string& PmDesignator() const { return m_pm; }

private:
    std::array<std::u16string, 12> m_months;
    std::array<std::u16string, 12> m_abMonths;
    std::array<std::u16string, 7> m_days;
    std::array<std::u16string, 7> m_abDays;
    std::u16string m_am;
    std::u16string m_pm;
};

} // namespace ksv
