#include "charts/matrix_access.h"
#include "charts/matrix_setup.h"
#include "charts/matrix_table.h"
#include "demo_charts.h"
#include "link/decoders.h"
#include "link/memory_reader.h"
#include "link/panel_store.h"
#include "tests/support/recording_sinks.h"

#include <gtest/gtest.h>

namespace ksv::demo {
namespace {

// What the handheld makes of the demo's charts after `seconds` rows.
MatrixData Received(PanelStore& store, uint32_t id) {
    StoreLock lock(store);
    MatrixData m;
    for (uint32_t i = 0; i < lock.Records().size(); ++i) {
        ControlHeader header;
        lock.GetControlHeader(i, header);
        if (header.id != id)
            continue;
        ControlDetails details;
        lock.GetControlDetails(i, details);
        SetMatrixParameters(m, id, header.flags, details);
        uint32_t cursor = 0;
        const std::vector<uint8_t>* cells = nullptr;
        const std::vector<uint8_t>* text = nullptr;
        lock.GetMatrixState(id, &cursor, &cells, &text);
        SetMatrixRows(m, cursor, *cells, *text);
    }
    return m;
}

TEST(DemoCharts, RowsArriveWholeAndWrapAroundTheirRings) {
    testing::ThreadSafeReporter reporter;
    PanelStore store(reporter);
    const DeviceMessage description = EncodePanelDescription(WithDemoCharts({}));
    MemoryReader panel(description.payload);
    ASSERT_EQ(DecodePanelDescription(panel, store, reporter), kSuccess);
    DemoCharts charts;
    for (int second = 0; second < 45; ++second) {
        const DeviceMessage frame = charts.NextRows();
        MemoryReader rows(frame.payload);
        ASSERT_EQ(ApplyMatrixRows(rows, store, reporter), kSuccess);
    }
    EXPECT_TRUE(reporter.Values().empty());

    const MatrixData line = Received(store, kIdLineChart); // 60 slots: still filling
    EXPECT_EQ(GetRowCount(line), 45);
    EXPECT_EQ(line.m_pSeriesNames.size(), 2u);
    const MatrixData columns = Received(store, kIdColumnChart); // 12 slots, wrapped
    ASSERT_EQ(GetRowCount(columns), 12);
    EXPECT_EQ(GetXValue(columns, 0), 33.0); // the oldest row kept is tick 33
    EXPECT_EQ(GetXValue(columns, 11), 44.0);
    const MatrixData readings = Received(store, kIdReadings);
    const MatrixTable table(readings);
    EXPECT_EQ(table.RowCount(), 20);
    EXPECT_EQ(table.ColumnCount(), 4);
    EXPECT_TRUE(GetXDateTime(readings, 19).has_value());
    EXPECT_NE(table.Cell(19, 1), u"0.00");
}

} // namespace
} // namespace ksv::demo
