#pragma once

#include "charts/matrix_data.h"
#include "controls/packed_date_time.h"

#include <cstring>
#include <initializer_list>
#include <string>

namespace ksv {

inline void AppendLe(std::vector<uint8_t>& out, int32_t value, int bytes) {
    for (int b = 0; b < bytes; ++b)
        out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * b)));
}

// A matrix of 32-bit Y numbers, given slot by slot for each series.
inline MatrixData MakeMatrix(uint32_t capacity, int32_t points,
                             std::initializer_list<std::initializer_list<int32_t>> series) {
    MatrixData m;
    m.m_nCapacity = capacity;
    m.m_nPoints = points;
    for (const auto& values : series) {
        size_t start = m.m_pYData.size();
        for (int32_t v : values)
            AppendLe(m.m_pYData, v, 4);
        m.m_pYData.resize(start + 4 * capacity, 0);
        ++m.m_nSeries;
    }
    m.m_nYDataSize = static_cast<uint32_t>(m.m_pYData.size());
    return m;
}

inline void SetXNumbers(MatrixData& m, std::initializer_list<int32_t> values) {
    m.m_flags = (m.m_flags & ~0x00030000u) | 0x00010000u;
    m.m_pXData.clear();
    for (int32_t v : values)
        AppendLe(m.m_pXData, v, 4);
}

inline void SetXLabels(MatrixData& m, std::initializer_list<std::u16string> texts) {
    m.m_flags = (m.m_flags & ~0x00030000u) | 0x00020000u;
    m.m_pXData.clear();
    for (const std::u16string& text : texts) {
        for (char16_t ch : text + u'\0') {
            uint8_t unit[2];
            std::memcpy(unit, &ch, 2);
            m.m_pXData.insert(m.m_pXData.end(), unit, unit + 2);
        }
    }
}

inline void SetXDates(MatrixData& m, std::initializer_list<PackedDateTime> dates) {
    m.m_flags = (m.m_flags & ~0x00030000u) | 0x00030000u;
    m.m_pXData.clear();
    for (const PackedDateTime& d : dates)
        for (uint8_t b : d.bytes)
            m.m_pXData.push_back(b);
}

} // namespace ksv
