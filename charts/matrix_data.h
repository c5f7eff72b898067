#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ksv {

// What a row's X entry is: bits 0x00030000 of a chart/table control's flags.
enum class MatrixXKind : uint32_t {
    None = 0,     // rows are only numbered
    Numeric = 1,  // one number per slot, of the X width
    Labels = 2,   // NUL-terminated 16-bit texts back to back, one per row
    DateTime = 3, // one 8-byte packed date/time per slot
};

// The table of a chart/table control, as the device sent it. The counts are the device's
// and may disagree with the buffers; every accessor checks indexes against the buffers.
struct MatrixData {
    uint32_t m_flags = 0;
    uint32_t m_deviceId = 0;
    int32_t m_appearance = 0; // 0 line, 1 column, 2 points, 3 table; 4..7 the same inline
    int8_t m_xExponent = 0;
    int8_t m_xDecimals = 0;
    int8_t m_yExponent = 0;
    int8_t m_yDecimals = 0;
    // Numeric: little-endian numbers; Labels: 16-bit units in host order; DateTime: 8 bytes
    // per slot.
    std::vector<uint8_t> m_pXData;
    // Little-endian numbers: series 0's m_nCapacity slots, then series 1's, and so on.
    std::vector<uint8_t> m_pYData;
    uint32_t m_nCapacity = 0;
    uint32_t m_nSeries = 0;
    uint32_t m_nYDataSize = 0;
    uint32_t m_nXDataSize = 0;
    std::u16string m_xTemplate; // number template, or the date/time format for DateTime X
    std::u16string m_yTemplate;
    std::u16string m_xTitle;
    std::vector<std::u16string> m_pSeriesNames;
    // >= 0: rows filled, row i in slot i. < 0: the ring is full, oldest row in slot -m_nPoints.
    int32_t m_nPoints = 0;

    MatrixXKind XKind() const { return static_cast<MatrixXKind>((m_flags >> 16) & 3); }
    // Width codes of the X and Y numbers; CellBytes gives their size.
    uint32_t XWidth() const { return (m_flags >> 18) & 3; }
    uint32_t YWidth() const { return (m_flags >> 20) & 3; }
    int XNotation() const { return static_cast<int>((m_flags >> 22) & 3) + 1; }
    int YNotation() const { return static_cast<int>((m_flags >> 24) & 3) + 1; }
    bool WideText() const { return (m_flags & 0x00000004u) != 0; }
};

} // namespace ksv
