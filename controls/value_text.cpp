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
