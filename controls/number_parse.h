#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ksv {

// Typed text back to a raw value: leading white space, then the longest prefix that reads
// as a double ('.' decimal point), times 10^(-exponent), truncated toward zero. A product a
// rounding error short of a whole number counts as that number, so "0.29" with exponent -2
// gives 29, not 28. Values past the 32-bit range are clamped to it. Nothing when the text
// holds no number (or not-a-number).
std::optional<int32_t> ParseScaled(const std::u16string& text, int8_t exponent);

} // namespace ksv
