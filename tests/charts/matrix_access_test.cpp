#include "charts/matrix_access.h"
#include "matrix_builder.h"

#include <gtest/gtest.h>

namespace ksv {
namespace {

TEST(MatrixRows, FullRingStartsAtTheOldestSlot) {
    MatrixData m = MakeMatrix(10, -3, {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}});
    EXPECT_EQ(GetRowCount(m), 10);
    EXPECT_EQ(GetSlot(m, 0), 3u);
    EXPECT_EQ(GetSlot(m, 6), 9u);
    EXPECT_EQ(GetSlot(m, 7), 0u);
    EXPECT_EQ(GetSlot(m, 9), 2u);
    EXPECT_EQ(GetYValue(m, 7, 0), 0.0);
    EXPECT_EQ(GetYValue(m, 0, 0), 3.0);
}

TEST(MatrixRows, CountsBeyondTheCapacityAreCapped) {
    MatrixData m = MakeMatrix(4, 2, {{5, 6}});
    EXPECT_EQ(GetRowCount(m), 2);
    EXPECT_EQ(GetSlot(m, 1), 1u);
    m.m_nPoints = 1000;
    EXPECT_EQ(GetRowCount(m), 4);
    m.m_nCapacity = 0xFFFFFFFF; // the data holds four slots only
    EXPECT_EQ(GetRowCount(m), 4);
    m.m_nPoints = -1;
    EXPECT_EQ(GetRowCount(m), 4);
    m.m_nSeries = 0; // no series and no X data: empty rows, but not billions of them
    EXPECT_EQ(GetRowCount(m), static_cast<int32_t>(kMaxUnbackedCells));
    m.m_nSeries = 0xFFFFFFFF; // numbers of width code 3 hold nothing either
    m.m_flags = 0x00300000;
    EXPECT_EQ(GetSeriesCount(m), kMaxSeries);
    EXPECT_EQ(GetRowCount(m), static_cast<int32_t>(kMaxUnbackedCells / kMaxSeries));
    m.m_flags = 0;
    m.m_nSeries = 0;
    SetXDates(m, {PackedDateTime{}, PackedDateTime{}});
    EXPECT_EQ(GetRowCount(m), 2);
    m.m_nCapacity = 0;
    m.m_nPoints = -5;
    EXPECT_EQ(GetRowCount(m), 0);
    EXPECT_EQ(GetSlot(m, 3), 0u); // no division by a zero capacity
}

TEST(MatrixValues, WidthsAreSignedAndScaled) {
    MatrixData m;
    m.m_nCapacity = 2;
    m.m_nPoints = 2;
    m.m_nSeries = 1;
    m.m_pYData = {0xFF, 0x7F}; // 8-bit: -1 then 127
    m.m_flags = 0x00200000;
    m.m_yExponent = -1;
    EXPECT_DOUBLE_EQ(GetYValue(m, 0, 0), -0.1);
    EXPECT_DOUBLE_EQ(GetYValue(m, 1, 0), 12.7);
    m.m_flags = 0x00100000; // 16-bit: 0x7FFF
    EXPECT_DOUBLE_EQ(GetYValue(m, 0, 0), 3276.7);
    m.m_flags = 0x00300000; // width code 3: every number reads 0
    EXPECT_EQ(GetYValue(m, 1, 0), 0.0);

    SetXNumbers(m, {-7, 300});
    m.m_flags |= 0x00040000; // X 16-bit over 32-bit data: slot 1 reads bytes 2..3 of -7
    m.m_xExponent = 2;
    EXPECT_DOUBLE_EQ(GetXValue(m, 0), -700.0);
    EXPECT_DOUBLE_EQ(GetXValue(m, 1), -100.0);
}

TEST(MatrixValues, IndexesPastTheBuffersReadAsNothing) {
    MatrixData m = MakeMatrix(3, 3, {{1, 2, 3}});
    m.m_nSeries = 5; // the device claims more series than it sent
    EXPECT_EQ(GetYValue(m, 0, 4), 0.0);
    EXPECT_EQ(GetYValue(m, 2, 0xFFFFFFFF), 0.0);
    m.m_nCapacity = 0xFFFFFFFF; // capacity x series beyond 64 bits once scaled to bytes
    EXPECT_EQ(GetYValue(m, 0, 0xFFFFFFFF), 0.0);
    m.m_nCapacity = 3;
    SetXDates(m, {PackedDateTime::Make(2006, 4, 3, 9, 7, 5, 2)});
    ASSERT_TRUE(GetXDateTime(m, 0).has_value());
    EXPECT_EQ(GetXDateTime(m, 0)->Year(), 2006);
    EXPECT_FALSE(GetXDateTime(m, 1).has_value());
    EXPECT_EQ(GetXValue(m, 0), 0.0); // not Numeric
    SetXNumbers(m, {9});
    EXPECT_FALSE(GetXDateTime(m, 0).has_value());
    EXPECT_EQ(GetXValue(m, 2), 0.0);
}

TEST(MatrixValues, LabelTextsAreFoundByPosition) {
    MatrixData m = MakeMatrix(3, 3, {});
    SetXLabels(m, {u"one", u"", u"three"});
    EXPECT_EQ(GetXLabelText(m, 0), u"one");
    EXPECT_EQ(GetXLabelText(m, 1), u"");
    EXPECT_EQ(GetXLabelText(m, 2), u"three");
    EXPECT_EQ(GetXLabelText(m, 3), u"");
    m.m_pXData.resize(m.m_pXData.size() - 4); // cut inside the last text, terminator gone
    EXPECT_EQ(GetXLabelText(m, 2), u"thre");
    m.m_pXData.push_back('x'); // odd byte count: the half unit is not read
    EXPECT_EQ(GetXLabelText(m, 2), u"thre");
}

TEST(SeriesColour, CyclesThroughSixColours) {
    EXPECT_EQ(SeriesColour(0), 0x000080u);
    EXPECT_EQ(SeriesColour(1), 0x008000u);
    EXPECT_EQ(SeriesColour(2), 0x800000u);
    EXPECT_EQ(SeriesColour(3), 0x800080u);
    EXPECT_EQ(SeriesColour(4), 0x008080u);
    EXPECT_EQ(SeriesColour(5), 0x808000u);
    EXPECT_EQ(SeriesColour(6), SeriesColour(0));
}

} // namespace
} // namespace ksv
