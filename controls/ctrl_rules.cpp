#include "controls/ctrl_rules.h"

#include "link/control_flags.h"

#include <algorithm>
#include <limits>

uint8_t NextLatchState(uint8_t oldState, bool grouped, uint32_t flags) {
    if ((flags & ksv::kFlagEditable) != 0) {
        return 0x00;
    }
    if (grouped) {
        return 0xFF;
    }
    return oldState != 0 ? 0x00 : 0xFF;
}

int32_t ClampNumber(int32_t value, int32_t minimum, int32_t maximum, uint32_t flags) {
    if ((flags & ksv::kFlagMinApplies) != 0 && value < minimum) {
        value = minimum;
    }
    if ((flags & ksv::kFlagMaxApplies) != 0 && value > maximum) {
        value = maximum;
    }
    return value;
}

int32_t StepNumber(int32_t value, int delta) {
    const int64_t stepped = static_cast<int64_t>(value) + delta;
    return static_cast<int32_t>(std::clamp<int64_t>(stepped, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

void TakeDatePicker(ksv::PackedDateTime& value, int year, int month, int day, uint32_t flags) {
    if ((flags & ksv::kFlagYear) != 0) {
        value.SetYear(static_cast<uint16_t>(year));
    }
    if ((flags & ksv::kFlagMonth) != 0) {
        value.SetMonth(static_cast<uint8_t>(month));
    }
    value.SetDay(static_cast<uint8_t>(day));
}

void TakeTimePicker(ksv::PackedDateTime& value, int hour, int minute, int second, uint32_t flags) {
    if ((flags & ksv::kFlagHours) != 0) {
        value.SetHour(static_cast<uint8_t>(hour));
    }
    if ((flags & ksv::kFlagMinutes) != 0) {
        value.SetMinute(static_cast<uint8_t>(minute));
    }
    if ((flags & ksv::kFlagSeconds) != 0) {
        value.SetSecond(static_cast<uint8_t>(second));
    }
}

int WeekdaySelection(const ksv::PackedDateTime& value) {
    return value.Weekday() < 7 ? value.Weekday() : -1;
}

bool OpensInBrowser(uint32_t flags) {
    return (flags & ksv::kFlagActionMask) == ksv::kFlagActionOpenInBrowser;
}

std::vector<std::u16string> SplitListItems(const std::u16string& items, uint32_t count) {
    std::vector<std::u16string> out;
    size_t pos = 0;
    while (out.size() < count && pos < items.size()) {
        size_t end = items.find(u'\0', pos);
        if (end == std::u16string::npos) {
            end = items.size();
        }
        out.push_back(items.substr(pos, end - pos));
        pos = end + 1;
    }
    return out;
}

std::u16string BlobText(const std::vector<uint8_t>& data, uint32_t length) {
    const size_t bytes = std::min<size_t>(length, data.size());
    std::u16string text;
    for (size_t i = 0; i + 1 < bytes; i += 2) {
        const auto unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (unit == u'\0') {
            break;
        }
        text.push_back(unit);
    }
    return text;
}
