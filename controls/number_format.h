#pragma once

#include <cstdint>
#include <string>

namespace ksv {

// How a number is rendered: 1 plain ("%f", trailing zeros trimmed), 2 fixed ("%.*f"),
// 3 exponent ("%.*e"), 4 general ("%.*g"). Any other value renders no number.
enum Notation : int {
    kNotationPlain = 1,
    kNotationFixed = 2,
    kNotationExponent = 3,
    kNotationGeneral = 4,
};

// The notation of a Number control, from its flags bits 0x00300000.
int NotationFromFlags(uint32_t flags);

// Puts x into `templ` at its first "%%"; the rest of the template is copied unchanged. A
// template without "%%" is returned alone. `width` non-zero zero-fills the whole field to
// that many characters (a negative width pads on the right with spaces, as printf does);
// `negative` puts "-" before the number. Decimals above 99 are taken as 99, negative ones
// as printf's default precision. Numbers always use '.' whatever the process locale.
std::u16string FormatNumber(double x, int notation, const std::u16string& templ, int8_t decimals,
                            int32_t width, bool negative);

// FormatNumber of v x 10^exponent, computed in double precision.
std::u16string FormatScaled(int32_t v, int notation, const std::u16string& templ, int8_t decimals,
                            int8_t exponent, int32_t width, bool negative);

} // namespace ksv
