#include "charts/matrix_access.h"

#include "link/value_width.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>

namespace ksv {
namespace {

// The signed number at `index` in an array of numbers of the given width code.
int32_t ReadNumber(const std::vector<uint8_t>& data, uint64_t index, uint32_t width) {
    const uint64_t size = CellBytes(width);
    // Compared by division: capacity x series can reach 2^64.
    if (size == 0 || index >= data.size() / size)
        return 0;
    const uint8_t* p = data.data() + index * size;
    switch (size) {
    case 4:
        return static_cast<int32_t>(
            static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
            (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24));
    case 2:
        return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
    default:
        return static_cast<int8_t>(p[0]);
    }
}

// 10^exponent for every exponent a device can send, worked out once: charts scale every value.
double PowerOfTen(int8_t exponent) {
    static const std::array<double, 256> kPowers = [] {
        std::array<double, 256> powers{};
        for (int e = -128; e < 128; ++e)
            powers[static_cast<size_t>(e + 128)] = std::pow(10.0, e);
        return powers;
    }();
    return kPowers[static_cast<size_t>(exponent + 128)];
}

} // namespace

// Slots the buffers really hold, so that a capacity the data cannot back costs no more work
// than the data itself. Cells that no Y buffer backs are bounded in number.
static uint64_t HeldSlots(const MatrixData& m) {
    if (m.m_nSeries > 0 && CellBytes(m.YWidth()) > 0)
        return m.m_pYData.size() / CellBytes(m.YWidth());
    const uint64_t unbacked = kMaxUnbackedCells / std::max<uint32_t>(GetSeriesCount(m), 1);
    if (m.XKind() == MatrixXKind::Numeric && CellBytes(m.XWidth()) > 0)
        return std::min<uint64_t>(unbacked, m.m_pXData.size() / CellBytes(m.XWidth()));
    if (m.XKind() == MatrixXKind::DateTime)
        return std::min<uint64_t>(unbacked, m.m_pXData.size() / 8);
    return unbacked;
}

uint32_t GetSeriesCount(const MatrixData& m) {
    return std::min(m.m_nSeries, kMaxSeries);
}

int32_t GetRowCount(const MatrixData& m) {
    const uint64_t limit = std::min<uint64_t>(
        {m.m_nCapacity, HeldSlots(m), static_cast<uint64_t>(std::numeric_limits<int32_t>::max())});
    if (m.m_nPoints < 0)
        return static_cast<int32_t>(limit);
    return static_cast<int32_t>(std::min<uint64_t>(static_cast<uint64_t>(m.m_nPoints), limit));
}

uint32_t GetSlot(const MatrixData& m, int32_t i) {
    if (m.m_nPoints >= 0)
        return static_cast<uint32_t>(i);
    if (m.m_nCapacity == 0)
        return 0;
    return (static_cast<uint32_t>(i) - static_cast<uint32_t>(m.m_nPoints)) % m.m_nCapacity;
}

int32_t GetRawX(const MatrixData& m, int32_t i) {
    if (m.XKind() != MatrixXKind::Numeric)
        return 0;
    return ReadNumber(m.m_pXData, GetSlot(m, i), m.XWidth());
}

int32_t GetRawY(const MatrixData& m, int32_t i, uint32_t s) {
    const uint64_t index = static_cast<uint64_t>(m.m_nCapacity) * s + GetSlot(m, i);
    return ReadNumber(m.m_pYData, index, m.YWidth());
}

double GetXValue(const MatrixData& m, int32_t i) {
    if (m.XKind() != MatrixXKind::Numeric)
        return 0;
    return GetRawX(m, i) * PowerOfTen(m.m_xExponent);
}

double GetYValue(const MatrixData& m, int32_t i, uint32_t s) {
    return GetRawY(m, i, s) * PowerOfTen(m.m_yExponent);
}

std::optional<PackedDateTime> GetXDateTime(const MatrixData& m, int32_t i) {
    if (m.XKind() != MatrixXKind::DateTime)
        return std::nullopt;
    const uint64_t offset = static_cast<uint64_t>(GetSlot(m, i)) * 8;
    if (offset + 8 > m.m_pXData.size())
        return std::nullopt;
    return PackedDateTime::FromBytes(m.m_pXData.data() + offset);
}

static char16_t LabelUnitAt(const MatrixData& m, size_t k) {
    char16_t unit;
    std::memcpy(&unit, m.m_pXData.data() + 2 * k, 2);
    return unit;
}

std::u16string GetXLabelText(const MatrixData& m, uint32_t position) {
    const size_t units = m.m_pXData.size() / 2;
    size_t k = 0;
    for (uint32_t skipped = 0; skipped < position; ++skipped) {
        while (k < units && LabelUnitAt(m, k) != 0)
            ++k;
        if (k >= units)
            return {};
        ++k; // past the terminator
    }
    return GetXLabelTextAt(m, k);
}

std::vector<size_t> GetXLabelStarts(const MatrixData& m) {
    std::vector<size_t> starts;
    const size_t units = m.m_pXData.size() / 2;
    size_t start = 0;
    for (size_t k = 0; k < units; ++k) {
        if (LabelUnitAt(m, k) != 0)
            continue;
        starts.push_back(start);
        start = k + 1;
    }
    if (start < units) // a last text without its terminator
        starts.push_back(start);
    return starts;
}

std::u16string GetXLabelTextAt(const MatrixData& m, size_t start) {
    const size_t units = m.m_pXData.size() / 2;
    std::u16string text;
    for (size_t k = start; k < units && LabelUnitAt(m, k) != 0; ++k)
        text.push_back(LabelUnitAt(m, k));
    return text;
}

uint32_t SeriesColour(uint32_t s) {
    struct Rgb {
        uint32_t r, g, b;
    };
    static constexpr Rgb kColours[6] = {{128, 0, 0},   {0, 128, 0},   {0, 0, 128},
                                        {128, 0, 128}, {128, 128, 0}, {0, 128, 128}};
    const Rgb& c = kColours[s % 6];
    return c.r | (c.g << 8) | (c.b << 16);
}

} // namespace ksv
