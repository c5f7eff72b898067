#include "platform/layout/layout_ranges.h"

#include <algorithm>

namespace ksv {
namespace {

// Seventeen widths of the 240-pixel view: far enough to park a control off screen (as the
// standard "Last" button is), and x + width stays far inside int and 16-bit window coordinates
// even when the view is zoomed.
constexpr int32_t kCoordinateLimit = 4096;
// Several screens wide or high, yet a control's backing store stays a few megabytes; 0 would
// leave nothing to paint or tap and divides chart arithmetic by zero.
constexpr int32_t kMinExtent = 1;
constexpr int32_t kMaxExtent = 2048;
// More pages than any panel fills; page arithmetic (+1) never overflows.
constexpr int32_t kMaxPage = 9999;
constexpr int32_t kEveryPage = -1;
// Alignment 0..2 and image placement modes 0..4 share one entry.
constexpr int32_t kLastAlign = 4;
// The longest period the Ping dialog offers; the period in milliseconds stays inside int.
constexpr int32_t kMaxPingSeconds = 3600;

} // namespace

int32_t SanitiseCoordinate(int32_t value) {
    return std::clamp(value, -kCoordinateLimit, kCoordinateLimit);
}

int32_t SanitiseExtent(int32_t value) {
    return std::clamp(value, kMinExtent, kMaxExtent);
}

int32_t SanitisePage(int32_t value) {
    if (value == kEveryPage) {
        return value;
    }
    // A page below -1 is one no page command reaches; page 0 keeps the control reachable.
    return std::clamp(value, 0, kMaxPage);
}

int32_t SanitiseFontHeight(int32_t value) {
    // A negative height asks for the character height rather than the cell: keep its size.
    const int64_t magnitude = value < 0 ? -static_cast<int64_t>(value) : value;
    return static_cast<int32_t>(std::clamp<int64_t>(magnitude, kMinFontHeight, kMaxFontHeight));
}

int32_t SanitiseAlign(int32_t value) {
    return value >= 0 && value <= kLastAlign ? value : 0;
}

int32_t SanitiseAppearance(int32_t value, int32_t lastAppearance) {
    // An appearance the kind does not have is its first, as the control shows it.
    return value >= 0 && value <= lastAppearance ? value : 0;
}

int32_t SanitisePingSeconds(int32_t value) {
    // A negative period would start a timer that cannot run: no pings.
    return std::clamp(value, 0, kMaxPingSeconds);
}

} // namespace ksv
