#include "charts/table_text.h"

#include "platform/ansi_codepage.h"

#include <algorithm>

namespace ksv {
namespace {

void AppendLine(std::u16string& out, const MatrixTable& table, char16_t separator, int32_t row) {
    for (int c = 0; c < table.ColumnCount(); ++c) {
        if (c > 0)
            out += separator;
        if (row < 0) {
            out += u'"';
            out += ListText(table.Heading(c));
            out += u'"';
        } else {
            out += ListText(table.Cell(row, c));
        }
    }
    out += u"\r\n";
}

} // namespace

std::u16string ListText(const std::u16string& text) {
    const size_t end = text.find(u'\0');
    return text.substr(0, std::min(end, kMaxListText));
}

std::vector<uint8_t> EncodeTableText(const MatrixTable& table, char16_t separator, bool wide) {
    std::u16string text;
    AppendLine(text, table, separator, -1);
    for (int32_t r = 0; r < table.RowCount(); ++r)
        AppendLine(text, table, separator, r);
    if (!wide) {
        const std::string bytes = WideToAnsi(text);
        return std::vector<uint8_t>(bytes.begin(), bytes.end());
    }
    std::vector<uint8_t> bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t unit : text) {
        bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
    return bytes;
}

} // namespace ksv
