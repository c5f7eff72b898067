#include "controls/number_format.h"

#include "controls/c_numeric_locale.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace ksv {
namespace {

// Enough for any field a panel can show; keeps a hostile width from asking printf for
// gigabytes.
constexpr int32_t kMaxWidth = 256;
constexpr int kMaxDecimals = 99;

// The printf formats are fixed strings; width and precision travel as '*' arguments, so no
// format is ever assembled from device data.
std::string Render(double x, int notation, int width, int precision) {
    CNumericScope cNumbers;
    auto print = [&](char* out, size_t size) {
        switch (notation) {
        case kNotationPlain:
            return std::snprintf(out, size, "%0*f", width, x);
        case kNotationFixed:
            return std::snprintf(out, size, "%0*.*f", width, precision, x);
        case kNotationExponent:
            return std::snprintf(out, size, "%0*.*e", width, precision, x);
        case kNotationGeneral:
            return std::snprintf(out, size, "%0*.*g", width, precision, x);
        default:
            return 0;
        }
    };
    int length = print(nullptr, 0);
    if (length <= 0)
        return {};
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    print(buffer.data(), buffer.size());
    return std::string(buffer.data(), static_cast<size_t>(length));
}

void TrimTrailingZeros(std::string& text) {
    while (text.size() > 1 && text.back() == '0')
        text.pop_back();
    if (!text.empty() && text.back() == '.')
        text.pop_back();
}

} // namespace

int NotationFromFlags(uint32_t flags) {
    return static_cast<int>((flags & 0x00300000u) >> 20) + 1;
}

std::u16string FormatNumber(double x, int notation, const std::u16string& templ, int8_t decimals,
                            int32_t width, bool negative) {
    const size_t pos = templ.find(u"%%");
    if (pos == std::u16string::npos)
        return templ;

    const int fieldWidth = static_cast<int>(std::clamp(width, -kMaxWidth, kMaxWidth));
    // A negative precision means "as if omitted" to printf: its default of six.
    const int precision = std::min<int>(decimals, kMaxDecimals);
    std::string number = Render(x, notation, fieldWidth, precision);
    if (notation == kNotationPlain)
        TrimTrailingZeros(number);

    std::u16string result = templ.substr(0, pos);
    if (negative)
        result.push_back(u'-');
    result.append(number.begin(), number.end());
    result.append(templ, pos + 2, std::u16string::npos);
    return result;
}

std::u16string FormatScaled(int32_t v, int notation, const std::u16string& templ, int8_t decimals,
                            int8_t exponent, int32_t width, bool negative) {
    const double x = std::pow(10.0, exponent) * v;
    return FormatNumber(x, notation, templ, decimals, width, negative);
}

} // namespace ksv
