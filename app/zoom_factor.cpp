#include "app/zoom_factor.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace ksv {
namespace {

constexpr int kQuartersPerFactor = 4;

} // namespace

int ClampZoomQuarters(int quarters) {
    return std::clamp(quarters, kZoomQuartersActualSize, kZoomQuartersMax);
}

int ZoomInQuarters(int quarters) {
    return ClampZoomQuarters(ClampZoomQuarters(quarters) + 1);
}

int ZoomOutQuarters(int quarters) {
    return ClampZoomQuarters(ClampZoomQuarters(quarters) - 1);
}

int DefaultZoomQuarters(int availableHeight) {
    const double target = std::max(availableHeight, 0) / 2.0;
    const int factor = static_cast<int>(std::lround(target / kActualSizeWindowHeight));
    return ClampZoomQuarters(std::max(factor, 1) * kQuartersPerFactor);
}

std::optional<int> ParseZoomFactor(std::string_view text) {
    // Digits and one point only: no sign, exponent, "inf" or locale's decimal comma.
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string_view::npos)
        return std::nullopt;
    double factor = 0.0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, factor);
    if (error != std::errc() || stop != end || !std::isfinite(factor) || factor <= 0.0)
        return std::nullopt;
    const double quarters = std::min(factor, 1000.0) * kQuartersPerFactor;
    return ClampZoomQuarters(static_cast<int>(std::lround(quarters)));
}

std::string FormatZoomFactor(int quarters) {
    static const char* const kFractions[] = {"", ".25", ".5", ".75"};
    const int clamped = ClampZoomQuarters(quarters);
    return std::to_string(clamped / kQuartersPerFactor) + kFractions[clamped % kQuartersPerFactor];
}

StartupZoom ChooseStartupZoom(const ZoomSources& sources,
                              const std::function<int()>& availableHeight) {
    if (sources.commandLine)
        return {ClampZoomQuarters(*sources.commandLine), true};
    if (sources.environment)
        return {ClampZoomQuarters(*sources.environment), false};
    if (sources.stored > 0)
        return {ClampZoomQuarters(sources.stored), true};
    return {DefaultZoomQuarters(availableHeight ? availableHeight() : 0), true};
}

} // namespace ksv
