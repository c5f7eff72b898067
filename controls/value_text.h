#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// A value the store holds as UTF-16 (Text, MessageBox): the text before its first NUL.
QString TextOfValue(const std::vector<uint8_t>& value);
