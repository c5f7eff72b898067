#include "charts/axis_range.h"
#include "matrix_builder.h"
#include "platform/device_settings.h"
#include "platform/memory_settings_store.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ksv {
namespace {

struct Settings {
    MemorySettingsStore store;
    DeviceSettings device{store, [] { return std::u16string(u"Pump"); }};
};

TEST(NiceRange, RoundsOutwardToAPowerOfTenUnit) {
    NiceAxis a = NiceRange(0, 37);
    EXPECT_DOUBLE_EQ(a.unit, 1);
    EXPECT_DOUBLE_EQ(a.minimum, 0);
    EXPECT_DOUBLE_EQ(a.maximum, 37);
    EXPECT_FALSE(a.fine);
    a = NiceRange(0, 73);
    EXPECT_DOUBLE_EQ(a.unit, 10);
    EXPECT_DOUBLE_EQ(a.maximum, 80);
    EXPECT_TRUE(a.fine);
    a = NiceRange(-7.5, -2);
    EXPECT_DOUBLE_EQ(a.unit, 1);
    EXPECT_DOUBLE_EQ(a.minimum, -8);
    EXPECT_DOUBLE_EQ(a.maximum, -2);
    a = NiceRange(0.12, 0.47); // a span below 1 still has a unit of its own size
    EXPECT_NEAR(a.unit, 0.1, 1e-15);
    EXPECT_NEAR(a.minimum, 0.1, 1e-12);
    EXPECT_NEAR(a.maximum, 0.5, 1e-12);
}

TEST(NiceRange, EmptyInvertedAndNonFiniteRangesGetAFiniteAxis) {
    for (auto [lo, hi] : {std::pair{5.0, 5.0},
                          {9.0, 2.0},
                          {0.0, NAN},
                          {NAN, NAN},
                          {-INFINITY, INFINITY},
                          {1e300, 1e300}}) {
        NiceAxis a = NiceRange(lo, hi);
        EXPECT_TRUE(std::isfinite(a.minimum) && std::isfinite(a.maximum)) << lo << " " << hi;
        EXPECT_GT(a.maximum, a.minimum) << lo << " " << hi;
        EXPECT_GT(a.unit, 0) << lo << " " << hi;
    }
    NiceAxis a = NiceRange(9, 2);
    EXPECT_DOUBLE_EQ(a.minimum, 9);
    EXPECT_DOUBLE_EQ(a.maximum, 10);
}

TEST(FindYRange, WalksEverySeriesAndWidensEqualEnds) {
    MatrixData m = MakeMatrix(4, 3, {{5, -2, 7, 99}, {3, 8, 1, -50}});
    ValueRange r = FindYRange(m, nullptr);
    EXPECT_EQ(r.minimum, -2); // slot 3 is not a row
    EXPECT_EQ(r.maximum, 8);
    m = MakeMatrix(1, 1, {{42}});
    r = FindYRange(m, nullptr);
    EXPECT_EQ(r.minimum, 42);
    EXPECT_EQ(r.maximum, 43);
    m = MakeMatrix(4, 0, {});
    r = FindYRange(m, nullptr);
    EXPECT_EQ(r.minimum, 0);
    EXPECT_EQ(r.maximum, 1);
}

TEST(FindYRange, OverridesReplaceEitherEndScaledAndUnsigned) {
    Settings s;
    MatrixData m = MakeMatrix(2, 2, {{30, 70}});
    m.m_deviceId = 0x21;
    m.m_yExponent = -1;
    s.device.WriteDeviceInt(0x21, kAttrYMinimum, 0);
    ValueRange r = FindYRange(m, &s.device);
    EXPECT_EQ(r.minimum, 0);
    EXPECT_DOUBLE_EQ(r.maximum, 7);
    s.device.WriteDeviceInt(0x21, kAttrYMaximum, -1);
    r = FindYRange(m, &s.device);
    EXPECT_DOUBLE_EQ(r.maximum, 429496729.5);
    // Another control's overrides do not apply.
    m.m_deviceId = 0x22;
    EXPECT_DOUBLE_EQ(FindYRange(m, &s.device).minimum, 3);
}

TEST(FindXRange, NumericRowsOnlyWithTheirOwnOverrides) {
    Settings s;
    MatrixData m = MakeMatrix(3, 3, {{1, 2, 3}});
    SetXNumbers(m, {10, -4, 6});
    ValueRange r = FindXRange(m, &s.device);
    EXPECT_EQ(r.minimum, -4);
    EXPECT_EQ(r.maximum, 10);
    s.device.WriteDeviceInt(0, kAttrXMaximum, 2); // inverted on purpose
    r = FindXRange(m, &s.device);
    EXPECT_EQ(r.maximum, 2);
    NiceAxis a = NiceRange(r.minimum, r.maximum);
    EXPECT_GT(a.maximum, a.minimum);
    SetXLabels(m, {u"a", u"b", u"c"});
    r = FindXRange(m, nullptr);
    EXPECT_EQ(r.minimum, 0);
    EXPECT_EQ(r.maximum, 1);
}

TEST(FindDateRange, EqualDatesAreMovedOneSecondApart) {
    MatrixData m = MakeMatrix(2, 2, {});
    SetXDates(m, {PackedDateTime::Make(2006, 4, 3, 12, 0, 59, 1),
                  PackedDateTime::Make(2006, 4, 3, 12, 0, 59, 1)});
    DateRange r = FindDateRange(m);
    EXPECT_EQ(r.last.second, 59);
    EXPECT_EQ(r.first.second, 58);
    SetXDates(m, {PackedDateTime::Make(2007, 1, 1, 0, 0, 0, 1),
                  PackedDateTime::Make(2006, 4, 3, 12, 0, 0, 1)});
    r = FindDateRange(m);
    EXPECT_EQ(r.first.year, 2006);
    EXPECT_EQ(r.last.year, 2007);
    m.m_nPoints = 0;
    r = FindDateRange(m);
    EXPECT_EQ(r.first.year, 2000);
    EXPECT_EQ(r.first.hour, 1);
    EXPECT_EQ(r.first.second, 0);
    EXPECT_EQ(r.last.second, 1);
}

} // namespace
} // namespace ksv
