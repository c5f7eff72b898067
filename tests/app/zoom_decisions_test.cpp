#include "app/zoom_arguments.h"
#include "app/zoom_factor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ksv {
namespace {

TEST(ZoomFactor, DefaultIsTheWholeFactorClosestToHalfTheAvailableHeight) {
    const struct {
        int availableHeight;
        int quarters;
    } cases[] = {
        {0, 4},     {300, 4},   {768, 4},  {947, 4}, // 1.49: still 1
        {948, 8},   {1040, 8},  {1080, 8},           // 1080p less a panel: 2
        {1600, 12}, {2120, 12},                      // 4K at scale 1: 3
        {2528, 16}, {4320, 16}, {-5, 4},             // 8K clamps to 4
    };
    for (const auto& c : cases)
        EXPECT_EQ(DefaultZoomQuarters(c.availableHeight), c.quarters) << c.availableHeight;
}

TEST(ZoomFactor, StepsStopAtOneAndFour) {
    EXPECT_EQ(ZoomOutQuarters(4), 4);
    EXPECT_EQ(ZoomInQuarters(16), 16);
    EXPECT_EQ(ZoomInQuarters(99), 16); // a hand-edited value is clamped first
    EXPECT_EQ(ZoomOutQuarters(0), 4);
}

TEST(ZoomFactor, ParsesFactorsToQuartersAndRefusesWhatIsNoFactor) {
    const struct {
        const char* text;
        std::optional<int> quarters;
    } cases[] = {
        {"1", 4},
        {"2", 8},
        {"1.5", 6},
        {"2.25", 9},
        {"1.3", 5},
        {"4", 16},
        {"10", 16},
        {"0.5", 4},
        {"3.", 12},
        {".75", 4},
        {"1e999", std::nullopt},
        {"", std::nullopt},
        {"0", std::nullopt},
        {"-2", std::nullopt},
        {"1,5", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"2x", std::nullopt},
        {" 2", std::nullopt},
        {"1.2.3", std::nullopt},
        {"99999999999999999999999", 16},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseZoomFactor(c.text), c.quarters) << '"' << c.text << '"';
    for (int quarters = 4; quarters <= 16; ++quarters)
        EXPECT_EQ(ParseZoomFactor(FormatZoomFactor(quarters)), quarters);
    EXPECT_EQ(FormatZoomFactor(6), "1.5");
    EXPECT_EQ(FormatZoomFactor(8), "2");
}

TEST(ZoomFactor, StartupTakesTheCommandLineThenTheUsersScaleThenTheStoreThenTheScreen) {
    const struct {
        ZoomSources sources;
        StartupZoom expected;
        bool asksScreen;
    } cases[] = {
        {{6, 12, 9}, {6, true}, false},
        {{std::nullopt, 12, 9}, {12, false}, false},
        {{std::nullopt, std::nullopt, 9}, {9, true}, false},
        {{std::nullopt, std::nullopt, 0}, {8, true}, true},
        {{std::nullopt, std::nullopt, -7}, {8, true}, true},
    };
    for (const auto& c : cases) {
        bool asked = false;
        const StartupZoom zoom = ChooseStartupZoom(c.sources, [&asked] {
            asked = true;
            return 1040;
        });
        EXPECT_EQ(zoom.quarters, c.expected.quarters);
        EXPECT_EQ(zoom.applyScaleFactor, c.expected.applyScaleFactor);
        EXPECT_EQ(asked, c.asksScreen);
    }
}

TEST(ZoomArguments, TakesEveryZoomOptionOutAndKeepsTheRest) {
    using Args = std::vector<std::string>;
    const struct {
        Args arguments;
        Args rest;
        bool given;
        std::optional<int> quarters;
    } cases[] = {
        {{"kestrovane"}, {"kestrovane"}, false, std::nullopt},
        {{"kestrovane", "--zoom", "2", "-platform", "xcb"},
         {"kestrovane", "-platform", "xcb"},
         true,
         8},
        {{"kestrovane", "--zoom=1.5"}, {"kestrovane"}, true, 6},
        {{"kestrovane", "--zoom", "3", "--zoom=1.25"}, {"kestrovane"}, true, 5},
        {{"kestrovane", "--zoom"}, {"kestrovane"}, true, std::nullopt},
        {{"kestrovane", "--zoom=", "x"}, {"kestrovane", "x"}, true, std::nullopt},
        {{"--zoom", "--zoomed"}, {"--zoom", "--zoomed"}, false, std::nullopt},
    };
    for (const auto& c : cases) {
        Args arguments = c.arguments;
        const ZoomArgument zoom = ExtractZoomArgument(arguments);
        EXPECT_EQ(arguments, c.rest);
        EXPECT_EQ(zoom.given, c.given);
        EXPECT_EQ(zoom.quarters, c.quarters);
    }
    EXPECT_EQ(RestartArguments({"kestrovane", "--zoom=3", "-style", "fusion"}, 9),
              (Args{"kestrovane", "-style", "fusion", "--zoom", "2.25"}));
}

} // namespace
} // namespace ksv
