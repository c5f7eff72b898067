#include "controls/value_text.h"

QString TextOfValue(const std::vector<uint8_t>& value) {
    QString text;
    text.reserve(static_cast<qsizetype>(value.size() / 2));
    for (size_t i = 0; i + 1 < value.size(); i += 2) {
        const auto unit = static_cast<char16_t>(value[i] | (value[i + 1] << 8));
        if (unit == u'\0') {
            break;
        }
        text.append(QChar(unit));
    }
    return text;
}

std::optional<int32_t> Int32OfValue(const std::vector<uint8_t>& value) {
    if (value.size() < 4) {
        return std::nullopt;
    }
    const uint32_t bits =
        value[0] | (value[1] << 8) | (value[2] << 16) | (static_cast<uint32_t>(value[3]) << 24);
    return static_cast<int32_t>(bits);
}

QString DrawnText(QStringView text, size_t limit) {
    const qsizetype end = text.indexOf(QChar(0));
    if (end >= 0) {
        text = text.left(end);
    }
    if (static_cast<size_t>(text.size()) <= limit) {
        return text.toString();
    }
    qsizetype keep = static_cast<qsizetype>(limit > 0 ? limit - 1 : 0);
    if (keep > 0 && text[keep - 1].isHighSurrogate()) {
        --keep;
    }
    return text.left(keep).toString() + QChar(0x2026);
}
