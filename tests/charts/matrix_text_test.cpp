#include "charts/matrix_text.h"
#include "matrix_builder.h"

#include <gtest/gtest.h>

namespace ksv {
namespace {

TEST(MatrixCells, YCellsScaleWithTheYFields) {
    MatrixData m = MakeMatrix(3, -1, {{10, 215, 300}, {1, 2, 3}});
    m.m_flags = 0x01000000; // Y notation 2
    m.m_yTemplate = u"%% C";
    m.m_yDecimals = 1;
    m.m_yExponent = -1;
    // Ring full, oldest in slot 1.
    EXPECT_EQ(FormatYCell(m, 0, 0), u"21.5 C");
    EXPECT_EQ(FormatYCell(m, 2, 0), u"1.0 C");
    EXPECT_EQ(FormatYCell(m, 2, 1), u"0.1 C");
    EXPECT_EQ(FormatYLabel(m, 12.25), u"12.2 C");
}

TEST(MatrixCells, XCellsFollowTheXKind) {
    MatrixData m = MakeMatrix(2, 2, {{0, 0}});
    EXPECT_EQ(FormatXCell(m, 0), u"");
    EXPECT_EQ(FormatXLabel(m, 1.0), u"");

    SetXNumbers(m, {1234, -5});
    m.m_flags |= 0x00400000; // X notation 2
    m.m_xTemplate = u"t=%%";
    m.m_xDecimals = 1;
    m.m_xExponent = -2;
    EXPECT_EQ(FormatXCell(m, 0), u"t=12.3");
    EXPECT_EQ(FormatXCell(m, 1), u"t=-0.1");
    EXPECT_EQ(FormatXLabel(m, 2.0), u"t=2.0");
    EXPECT_EQ(FormatDateLabel(m, PackedDateTime{}), u"");

    m.m_nPoints = -1; // ring full: row 0 is slot 1
    SetXLabels(m, {u"a", u"b"});
    EXPECT_EQ(FormatXCell(m, 0), u"b");
    EXPECT_EQ(FormatXCell(m, 1), u"a");

    SetXDates(m, {PackedDateTime::Make(2006, 4, 3, 9, 7, 5, 2),
                  PackedDateTime::Make(2006, 4, 3, 12, 0, 0, 2)});
    m.m_xTemplate = u"%HH%:%mm%";
    EXPECT_EQ(FormatXCell(m, 0), u"12:00");
    EXPECT_EQ(FormatXCell(m, 1), u"09:07");
    EXPECT_EQ(FormatDateLabel(m, PackedDateTime::Make(2000, 1, 1, 1, 2, 0, 0)), u"01:02");
    m.m_pXData.resize(8); // slot 1 missing
    EXPECT_EQ(FormatXCell(m, 0), u"");
}

TEST(MatrixAxisLabels, EndTextsByAxisKind) {
    MatrixData m = MakeMatrix(2, 2, {{3, 70}});
    m.m_yTemplate = u"%%%";
    AxisEndLabels y = YAxisEndLabels(m, NiceRange(3, 70));
    EXPECT_EQ(y.minimum, u"0%");
    EXPECT_EQ(y.maximum, u"70%");

    DateRange dates;
    dates.first = ToCalendarTime(PackedDateTime::Make(2006, 4, 3, 9, 7, 5, 2));
    dates.last = ToCalendarTime(PackedDateTime::Make(2006, 4, 4, 10, 0, 0, 3));
    m.m_xTemplate = u"%d%/%H%";
    EXPECT_EQ(XAxisEndLabels(m, NiceRange(0, 1), dates).maximum, u""); // None
    SetXDates(m, {});
    AxisEndLabels x = XAxisEndLabels(m, NiceRange(0, 1), dates);
    EXPECT_EQ(x.minimum, u"3/9");
    EXPECT_EQ(x.maximum, u"4/10");
    SetXNumbers(m, {});
    m.m_xTemplate = u"%%";
    EXPECT_EQ(XAxisEndLabels(m, NiceRange(-7.5, -2), dates).minimum, u"-8");
}

} // namespace
} // namespace ksv
