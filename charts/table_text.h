#pragma once

#include "charts/matrix_table.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ksv {

// A list cell holds at most this many characters, and no NUL.
constexpr size_t kMaxListText = 1024;
std::u16string ListText(const std::u16string& text);

// The bytes of a table saved as text: a line of quoted headings, then one line per row of
// unquoted cells, fields between `separator` (';' or ','), lines ending CR LF. Nothing is
// escaped. Wide: 16-bit little-endian characters without a byte-order mark; otherwise the
// ANSI code page, one byte a character.
std::vector<uint8_t> EncodeTableText(const MatrixTable& table, char16_t separator, bool wide);

} // namespace ksv
