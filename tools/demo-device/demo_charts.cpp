#include "demo_charts.h"

#include "demo_panel.h"
#include "platform/layout/layout_attributes.h"

#include <cmath>
#include <string>

namespace ksv::demo {
namespace {

// Chart flags: how X is given, and the notation of the Y numbers.
constexpr uint32_t kXNumbers = 0x00010000;
constexpr uint32_t kXDates = 0x00030000;
constexpr uint32_t kYFixed = 0x01000000;

// The inline appearances.
constexpr uint32_t kInlineLine = 4, kInlineColumn = 5, kInlinePoints = 6, kInlineTable = 7;

struct ChartShape {
    uint32_t id;
    uint32_t rows;
    uint32_t series;
    uint32_t labelBytes; // X of each row: 0 none, 4 a number, 8 a date/time
};

constexpr ChartShape kShapes[] = {
    {kIdLineChart, 60, 2, 0},
    {kIdColumnChart, 12, 3, 4},
    {kIdPointsChart, 40, 2, 8},
    {kIdReadings, 20, 3, 8},
};

const ChartShape& Shape(uint32_t id) {
    for (const ChartShape& shape : kShapes)
        if (shape.id == id)
            return shape;
    return kShapes[0];
}

// Texts back to back, each NUL-terminated.
std::u16string Names(std::initializer_list<std::u16string> names) {
    std::u16string out;
    for (const std::u16string& name : names)
        out += name + u'\0';
    return out;
}

// An empty ring: zero cells, zero X entries, the cursor at 0 rows.
std::vector<uint8_t> EmptyRing(uint32_t id) {
    const ChartShape& shape = Shape(id);
    std::vector<uint8_t> blob(shape.rows * (shape.series * 4 + shape.labelBytes), 0);
    PutU32(blob, 0);
    return blob;
}

// Cursor after `written` rows: the count while the ring fills, then minus the oldest slot.
int32_t RingCursor(uint32_t written, uint32_t capacity) {
    if (written <= capacity)
        return static_cast<int32_t>(written);
    const uint32_t oldest = written % capacity;
    return oldest == 0 ? static_cast<int32_t>(capacity) : -static_cast<int32_t>(oldest);
}

// The row values of each chart at time t (seconds), in device units.
std::vector<int32_t> RowValues(uint32_t id, double t) {
    switch (id) {
    case kIdLineChart: // tenths of a degree
        return {static_cast<int32_t>(215 + 25 * std::sin(t / 6)),
                static_cast<int32_t>(80 + 60 * std::sin(t / 15) + 10 * std::sin(t))};
    case kIdColumnChart: // watts
        return {static_cast<int32_t>(400 + 150 * std::sin(t / 3)),
                static_cast<int32_t>(250 + 200 * std::fabs(std::sin(t / 5))),
                static_cast<int32_t>(t / 4 - std::floor(t / 4) < 0.5 ? 900 : 100)};
    case kIdPointsChart: // percent
        return {static_cast<int32_t>(55 + 20 * std::sin(t / 9)),
                static_cast<int32_t>(30 + 12 * std::sin(t / 9 - 0.7))};
    default: { // hundredths of a volt, an ampere and a watt
        const int32_t volts = static_cast<int32_t>(23000 + 300 * std::sin(t / 4));
        const int32_t amperes = static_cast<int32_t>(420 + 80 * std::sin(t / 7));
        return {volts, amperes, static_cast<int32_t>(int64_t{volts} * amperes / 100)};
    }
    }
}

std::vector<uint8_t> RowLabel(const ChartShape& shape, uint32_t written) {
    std::vector<uint8_t> label;
    if (shape.labelBytes == 4)
        PutU32(label, written);
    if (shape.labelBytes == 8)
        label = PackedNow();
    return label;
}

// One control per line: tag, flags, id, initial value, then the lettered fields.
std::vector<DeviceControl> DemoChartControls() {
    // clang-format off
    return {
        DeviceControl('M', kFlagWide | kYFixed, kIdLineChart).ValueBytes(EmptyRing(kIdLineChart)).U32('n', Shape(kIdLineChart).rows).U32('N', 2).String('F', u"%% \u00B0C").String('a', u"Last minute").String('A', Names({u"Inside", u"Outside"})).Byte('D', 1).Byte('M', 0xFF).Caption(u"Temperatures"),
        DeviceControl('M', kFlagWide | kXNumbers, kIdColumnChart).ValueBytes(EmptyRing(kIdColumnChart)).U32('n', Shape(kIdColumnChart).rows).U32('N', 3).String('f', u"%%").String('F', u"%% W").String('a', u"Tick").String('A', Names({u"Pump", u"Fan", u"Heater"})).Caption(u"Power"),
        DeviceControl('M', kFlagWide | kXDates, kIdPointsChart).ValueBytes(EmptyRing(kIdPointsChart)).U32('n', Shape(kIdPointsChart).rows).U32('N', 2).String('f', u"%HH%:%mm%:%ss%").String('F', u"%% %").String('a', u"Time").String('A', Names({u"Humidity", u"Dew point"})).Caption(u"Air"),
        DeviceControl('M', kFlagWide | kXDates | kYFixed, kIdReadings).ValueBytes(EmptyRing(kIdReadings)).U32('n', Shape(kIdReadings).rows).U32('N', 3).String('f', u"%mm%:%ss%").String('F', u"%%").String('a', u"Time").String('A', Names({u"Volts", u"Amps", u"Watts"})).Byte('D', 1).Byte('M', 0xFE).Caption(u"Readings"),
    };
    // clang-format on
}

std::vector<LayoutEntry> DemoChartLayout() {
    struct Place {
        uint32_t id, appearance;
    };
    const Place places[] = {{kIdLineChart, kInlineLine},
                            {kIdColumnChart, kInlineColumn},
                            {kIdPointsChart, kInlinePoints},
                            {kIdReadings, kInlineTable}};
    std::vector<LayoutEntry> entries;
    uint32_t page = kFirstChartPage;
    for (const Place& p : places) {
        entries.insert(entries.end(), {{p.id, kAttrX, 2},
                                       {p.id, kAttrY, 2},
                                       {p.id, kAttrWidth, 236},
                                       {p.id, kAttrHeight, 205},
                                       {p.id, kAttrPage, page++},
                                       {p.id, kAttrAppearance, p.appearance},
                                       {p.id, kAttrShowLabel, 1},
                                       {p.id, kAttrLabelFontHeight, 14}});
    }
    return entries;
}

} // namespace

std::vector<DeviceControl> WithDemoCharts(std::vector<DeviceControl> panel) {
    for (DeviceControl& control : DemoChartControls())
        panel.push_back(std::move(control));
    return panel;
}

std::vector<LayoutEntry> WithDemoChartLayout(std::vector<LayoutEntry> entries) {
    for (const LayoutEntry& entry : DemoChartLayout())
        entries.push_back(entry);
    return entries;
}

DeviceMessage DemoCharts::NextRows() {
    std::vector<DeviceEntry> entries;
    const double t = m_rowsWritten;
    for (const ChartShape& shape : kShapes) {
        std::vector<uint8_t> cells;
        for (int32_t value : RowValues(shape.id, t))
            PutU32(cells, static_cast<uint32_t>(value));
        const uint32_t position = m_rowsWritten % shape.rows;
        const int32_t cursor = RingCursor(m_rowsWritten + 1, shape.rows);
        entries.push_back(MatrixRowEntry(shape.id, cells, RowLabel(shape, m_rowsWritten),
                                         static_cast<uint32_t>(cursor), position));
    }
    ++m_rowsWritten;
    return EncodeMatrixRows(entries);
}

} // namespace ksv::demo
