#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace ksv {

// The window's zoom in quarters: the factor times 4, so that the settings store keeps an
// integer. Layout coordinates never change with it; only the window's pixels grow.
inline constexpr int kZoomQuartersActualSize = 4;
inline constexpr int kZoomQuartersMax = 16;

// Height of the whole window at actual size: the reference screen below the title bar.
inline constexpr int kActualSizeWindowHeight = 316;

int ClampZoomQuarters(int quarters);
int ZoomInQuarters(int quarters);
int ZoomOutQuarters(int quarters);

// The whole factor that makes the window closest to half the screen's available height, in
// the screen's device-independent pixels; never below actual size.
int DefaultZoomQuarters(int availableHeight);

// A factor as the user writes it ("2", "1.5", "1,25" is refused): rounded to the nearest
// quarter and clamped to 1..4. Nullopt for anything that is not a positive finite number.
std::optional<int> ParseZoomFactor(std::string_view text);
// The factor for Qt's scale factor and the command line: "1", "1.25", "1.5", "1.75", "2" ...
std::string FormatZoomFactor(int quarters);

// Where the zoom in force comes from, strongest first.
struct ZoomSources {
    std::optional<int> commandLine; // --zoom
    std::optional<int> environment; // a valid QT_SCALE_FACTOR the user set
    int stored = 0;                 // the settings store's value; 0 or less when absent
};

struct StartupZoom {
    int quarters = kZoomQuartersActualSize;
    bool applyScaleFactor = true; // false: the user's own QT_SCALE_FACTOR stays in force
};

// The zoom to start with. availableHeight is asked only when nothing else decides, since it
// needs the display.
StartupZoom ChooseStartupZoom(const ZoomSources& sources,
                              const std::function<int()>& availableHeight);

} // namespace ksv
