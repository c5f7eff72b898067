#include "controls/number_parse.h"

#include "controls/c_numeric_locale.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace ksv {
namespace {

// Only ASCII can belong to a number; the first other unit ends the text for the parser.
std::string AsciiPrefix(const std::u16string& text) {
    std::string out;
    for (char16_t ch : text) {
        if (ch == 0 || ch > 0x7F)
            break;
        out.push_back(static_cast<char>(ch));
    }
    return out;
}

// Truncation toward zero that forgives the error of x * 10^n: 12.34 * 100 may land just
// below 1234.
double TruncateForgiving(double y) {
    const double whole = std::trunc(y);
    const double next = whole + (y < 0 ? -1.0 : 1.0);
    const double tolerance = 1e-12 * std::max(1.0, std::fabs(y));
    return std::fabs(next - y) <= tolerance ? next : whole;
}

} // namespace

std::optional<int32_t> ParseScaled(const std::u16string& text, int8_t exponent) {
    const std::string ascii = AsciiPrefix(text);
    double x = 0;
    {
        CNumericScope cNumbers;
        const char* begin = ascii.c_str();
        char* end = nullptr;
        x = std::strtod(begin, &end);
        if (end == begin)
            return std::nullopt;
    }
    if (std::isnan(x))
        return std::nullopt;

    const double y = TruncateForgiving(x * std::pow(10.0, -exponent));
    constexpr double kMin = std::numeric_limits<int32_t>::min();
    constexpr double kMax = std::numeric_limits<int32_t>::max();
    if (y <= kMin)
        return std::numeric_limits<int32_t>::min();
    if (y >= kMax)
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(y);
}

} // namespace ksv
