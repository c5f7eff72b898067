#include "controls/ctrl_geometry.h"

#include <gtest/gtest.h>

namespace {

TEST(CtrlGeometry, SpinButtonsAreSquaresOfTheBodyOverlappingByOnePixel) {
    // 200 x 40 at (10, 20) with a 12-pixel label.
    const SpinPlacement spin = PlaceSpin({10, 20, 200, 40, 12});
    EXPECT_EQ(spin.plus, (CtrlRect{182, 32, 28, 28}));
    EXPECT_EQ(spin.minus, (CtrlRect{155, 32, 28, 28}));
    EXPECT_EQ(spin.value.w, 146);
    // Narrower than two squares: the value window shrinks to nothing, never below.
    EXPECT_EQ(PlaceSpin({0, 0, 30, 40, 0}).value.w, 0);
}

TEST(CtrlGeometry, PickersShareTheBodyOnlyWhenBothAreShown) {
    const PickerPlacement both = PlacePickers({0, 0, 117, 100, 0}, true);
    EXPECT_EQ(both.time, (CtrlRect{0, 0, 117, 51}));
    EXPECT_EQ(both.date, (CtrlRect{0, 50, 117, 51}));
    EXPECT_EQ(PlacePickers({0, 0, 117, 100, 0}, false).date, (CtrlRect{0, 0, 117, 101}));
}

TEST(CtrlGeometry, TheBarStaysInsideItsControlWhateverTheRange) {
    struct Case {
        int32_t value, min, max;
        int barWidth;
        bool valueInBar;
    };
    const Case cases[] = {
        {50, 0, 100, 51, false},  // half: the value still beside the bar
        {75, 0, 100, 76, true},   // past half: in the bar
        {500, 0, 100, 100, true}, // past the maximum: full
        {-7, 0, 100, 1, false},   // below the minimum: empty
        {5, 100, 10, 1, false},   // minimum above maximum: no range, no division
        {INT32_MAX, INT32_MIN, INT32_MAX, 100, true}, // no overflow
    };
    for (const Case& c : cases) {
        const BarPlacement bar = PlaceBar({0, 0, 100, 57, 0}, c.value, c.min, c.max);
        EXPECT_EQ(bar.bar.w, c.barWidth) << c.value;
        EXPECT_EQ(bar.valueInBar, c.valueInBar) << c.value;
        EXPECT_GE(bar.value.w, 0) << c.value;
    }
}

TEST(CtrlGeometry, PicturesStretchAlignOrTileAndTilesAreBounded) {
    // A 10 x 10 picture tiled in a 35-wide control: 4 columns, the last one clipped.
    EXPECT_EQ(ImageAxisCells(0, 35, 10, 4).size(), 4u);
    EXPECT_EQ(ImageAxisCells(5, 35, 10, 2)[0].position, 17);
    EXPECT_EQ(ImageAxisCells(5, 35, 10, 3)[0].position, 30);
    EXPECT_EQ(ImageAxisCells(5, 35, 10, 0)[0].length, 35);
    EXPECT_EQ(ImageAxisCells(5, 35, 10, 9)[0].length, 35); // unknown modes stretch
    EXPECT_TRUE(ImageAxisCells(0, 35, 0, 4).empty());      // a picture without width
    EXPECT_EQ(ImageAxisCells(0, 1 << 30, 1, 4).size(), 1024u);
    const auto pressed = ImageCells({10, 10, 20, 20}, 20, 20, 1, 1, true);
    ASSERT_EQ(pressed.size(), 1u);
    EXPECT_EQ(pressed[0], (CtrlRect{12, 12, 20, 20}));
}

} // namespace
