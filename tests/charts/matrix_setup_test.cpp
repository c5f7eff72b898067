#include "charts/matrix_access.h"
#include "charts/matrix_setup.h"

#include <gtest/gtest.h>

namespace ksv {
namespace {

TEST(MatrixSetup, ParametersComeFromTheStoreDetails) {
    ControlDetails d;
    d.rowCount = 4;
    d.columnCount = 2;
    d.stringF = u"%H%:%mm%";
    d.stringBigF = u"%% C";
    d.stringA = u"Time";
    d.stringBigA = std::u16string(u"T\0P\0extra\0", 10);
    d.byteD = 1;
    d.byteM = 0xFE; // -2
    d.byteBigD = 0x7F;
    d.byteBigM = 0x80; // -128
    MatrixData m;
    SetMatrixParameters(m, 0x44, 0x00030000, d);
    EXPECT_EQ(m.m_deviceId, 0x44u);
    EXPECT_EQ(m.XKind(), MatrixXKind::DateTime);
    EXPECT_EQ(m.m_nCapacity, 4u);
    EXPECT_EQ(m.m_xExponent, -2);
    EXPECT_EQ(m.m_yExponent, -128);
    EXPECT_EQ(m.m_yDecimals, 127);
    ASSERT_EQ(m.m_pSeriesNames.size(), 2u);
    EXPECT_EQ(SeriesName(m, 0), u"T");
    EXPECT_EQ(SeriesName(m, 1), u"P");
    EXPECT_EQ(SeriesName(m, 2), u"");
}

TEST(MatrixSetup, ClaimedSeriesBeyondTheNamesSentKeepOnlyTheNames) {
    ControlDetails d;
    d.columnCount = 0xFFFFFFFF;
    d.stringBigA = u"only";
    MatrixData m;
    SetMatrixParameters(m, 1, 0, d);
    EXPECT_EQ(m.m_pSeriesNames.size(), 1u);
    EXPECT_EQ(SeriesName(m, 7), u"");
}

TEST(MatrixSetup, RowsAndCursorAreCopied) {
    MatrixData m;
    m.m_nCapacity = 3;
    SetMatrixRows(m, 0xFFFFFFFE, {1, 0, 0, 0}, {});
    EXPECT_EQ(m.m_nPoints, -2);
    EXPECT_EQ(GetRowCount(m), 3);
    EXPECT_EQ(GetSlot(m, 0), 2u);
}

} // namespace
} // namespace ksv
