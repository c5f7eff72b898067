#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <vector>

// A value the store holds as UTF-16 (Text, MessageBox): the text before its first NUL.
QString TextOfValue(const std::vector<uint8_t>& value);

// A 4-byte value (Number, List): its first four bytes, little-endian; nothing when shorter.
std::optional<int32_t> Int32OfValue(const std::vector<uint8_t>& value);

// A device's text as the screen draws it: up to its first NUL, at most `limit` characters
// (a longer one ends in an ellipsis, never splitting a character in two).
QString DrawnText(QStringView text, size_t limit);
