#pragma once

#include "charts/chart_geometry.h"

#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace ksv {

// What a chart paints, in painting order, worked out without a drawing layer so that the
// layout tests without a GUI. Colours are 0x00BBGGRR.

// A text on an opaque white box of width x height; rotated texts read from top to bottom
// and so cover height x width on screen.
struct SceneText {
    PixelPoint at;
    int width = 0;
    int height = kChartTextHeight;
    std::u16string text;
    bool bold = false;
    bool rotated = false;
    uint32_t colour = 0;
};

struct SceneFill {
    PixelRect rect;
    uint32_t colour = 0;
};

// Everything after it is drawn inside this rectangle and every clip before it.
struct SceneClip {
    PixelRect rect;
};

struct Segment {
    PixelPoint from;
    PixelPoint to;
};

// A line series: segments drawn with a 3-pixel pen.
struct SceneLines {
    uint32_t colour = 0;
    std::vector<Segment> segments;
};

// A points series: 7-pixel circles about the centres.
struct SceneDots {
    uint32_t colour = 0;
    std::vector<PixelPoint> centres;
};

// A column series: solid rectangles.
struct SceneBars {
    uint32_t colour = 0;
    std::vector<PixelRect> bars;
};

using SceneItem = std::variant<SceneText, SceneFill, SceneClip, SceneLines, SceneDots, SceneBars>;
using ChartScene = std::vector<SceneItem>;

constexpr uint32_t kSceneWhite = 0x00FFFFFF;
constexpr uint32_t kSceneBlack = 0x00000000;

// Width of a text in the chart's normal (label) or bold (title) font.
using TextMeasure = std::function<int(const std::u16string& text, bool bold)>;

} // namespace ksv
