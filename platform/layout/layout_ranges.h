#pragma once

#include <cstdint>

namespace ksv {

// Stored layout values come from hand-edited files and from the device: each is brought into a
// range the toolkit handles without stalling, keeping every value a layout can mean.

// Font heights the Control Appearance dialog accepts; glyphs of thousands of pixels stall the
// font engine, and 0 is no font.
inline constexpr int32_t kMinFontHeight = 1;
inline constexpr int32_t kMaxFontHeight = 300;

// x and y, the open placement's too.
int32_t SanitiseCoordinate(int32_t value);
// width and height.
int32_t SanitiseExtent(int32_t value);
// page; -1 is every page.
int32_t SanitisePage(int32_t value);
// control and label font heights.
int32_t SanitiseFontHeight(int32_t value);
// text alignment and image placement modes.
int32_t SanitiseAlign(int32_t value);
// appearance index of a kind whose highest index is lastAppearance.
int32_t SanitiseAppearance(int32_t value, int32_t lastAppearance);
// ping period in seconds; 0 is no pings.
int32_t SanitisePingSeconds(int32_t value);

} // namespace ksv
