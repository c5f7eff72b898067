#include "controls/time_locale.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <langinfo.h>
#include <locale.h>

namespace ksv {
namespace {

// A locale_t owned for the lifetime of the reader.
class LocaleHandle {
public:
    explicit LocaleHandle(locale_t handle) : m_handle(handle) {}
    ~LocaleHandle() {
        if (m_handle != static_cast<locale_t>(0))
            freelocale(m_handle);
    }
    LocaleHandle(const LocaleHandle&) = delete;
    LocaleHandle& operator=(const LocaleHandle&) = delete;

    locale_t Get() const { return m_handle; }
    bool Valid() const { return m_handle != static_cast<locale_t>(0); }

private:
    locale_t m_handle;
};

// Makes a locale current for this thread only, and puts the previous one back.
class ThreadLocaleScope {
public:
    explicit ThreadLocaleScope(locale_t handle) : m_previous(uselocale(handle)) {}
    ~ThreadLocaleScope() { uselocale(m_previous); }
    ThreadLocaleScope(const ThreadLocaleScope&) = delete;
    ThreadLocaleScope& operator=(const ThreadLocaleScope&) = delete;

private:
    locale_t m_previous;
};

void AppendCodePoint(std::u16string& out, uint32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        out.push_back(u'?');
        return;
    }
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
        return;
    }
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
}

// Multibyte text in the current thread locale's character set, to UTF-16. A byte that does
// not convert becomes '?' and the conversion goes on after it.
std::u16string MultibyteToUtf16(const char* text) {
    std::u16string out;
    if (text == nullptr)
        return out;
    std::mbstate_t state{};
    const char* p = text;
    size_t left = std::strlen(text);
    while (left > 0) {
        wchar_t wc = 0;
        size_t used = std::mbrtowc(&wc, p, left, &state);
        if (used == static_cast<size_t>(-1) || used == static_cast<size_t>(-2)) {
            out.push_back(u'?');
            state = std::mbstate_t{};
            ++p;
            --left;
            continue;
        }
        if (used == 0)
            break;
        AppendCodePoint(out, static_cast<uint32_t>(wc));
        p += used;
        left -= used;
    }
    return out;
}

std::string UserTimeLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0')
            return value;
    }
    return "C";
}

} // namespace

std::optional<TimeLocale> TimeLocale::FromName(const std::string& name) {
    // The character set comes with the names, so both categories are taken from one name.
    LocaleHandle handle(
        newlocale(LC_CTYPE_MASK | LC_TIME_MASK, name.c_str(), static_cast<locale_t>(0)));
    if (!handle.Valid())
        return std::nullopt;
    ThreadLocaleScope scope(handle.Get());
    auto read = [&](nl_item item) { return MultibyteToUtf16(nl_langinfo_l(item, handle.Get())); };

    TimeLocale names;
    for (int i = 0; i < 12; ++i) {
#ifdef ALTMON_1
        // The form used when a month is named by itself, where the language has one.
        names.m_months[i] = read(static_cast<nl_item>(ALTMON_1 + i));
        if (names.m_months[i].empty())
            names.m_months[i] = read(static_cast<nl_item>(MON_1 + i));
#else
        names.m_months[i] = read(static_cast<nl_item>(MON_1 + i));
#endif
        names.m_abMonths[i] = read(static_cast<nl_item>(ABMON_1 + i));
    }
    for (int i = 0; i < 7; ++i) {
        names.m_days[i] = read(static_cast<nl_item>(DAY_1 + i));
        names.m_abDays[i] = read(static_cast<nl_item>(ABDAY_1 + i));
    }
    names.m_am = read(AM_STR);
    names.m_pm = read(PM_STR);
    return names;
}

const TimeLocale& TimeLocale::Classic() {
    static const TimeLocale classic = FromName("C").value_or(TimeLocale{});
    return classic;
}

const TimeLocale& TimeLocale::User() {
    static const TimeLocale user = [] {
        std::optional<TimeLocale> names = FromName(UserTimeLocaleName());
        return names ? *names : Classic();
    }();
    return user;
}

} // namespace ksv
