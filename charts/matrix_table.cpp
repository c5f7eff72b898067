#include "charts/matrix_table.h"

#include "charts/matrix_access.h"
#include "charts/matrix_setup.h"
#include "charts/matrix_text.h"

namespace ksv {

MatrixTable::MatrixTable(const MatrixData& m)
    : m_data(m), m_hasX(m.XKind() != MatrixXKind::None),
      m_columns(static_cast<int>(GetSeriesCount(m)) + (m_hasX ? 1 : 0)), m_rows(GetRowCount(m)) {
    if (m.XKind() == MatrixXKind::Labels)
        m_labelStarts = GetXLabelStarts(m);
}

std::u16string MatrixTable::Heading(int column) const {
    if (column < 0 || column >= m_columns)
        return {};
    if (m_hasX && column == 0)
        return m_data.m_xTitle;
    return SeriesName(m_data, static_cast<uint32_t>(column - (m_hasX ? 1 : 0)));
}

std::u16string MatrixTable::Cell(int32_t row, int column) const {
    if (row < 0 || row >= m_rows || column < 0 || column >= m_columns)
        return {};
    if (m_hasX && column == 0)
        return XCell(row);
    return FormatYCell(m_data, row, static_cast<uint32_t>(column - (m_hasX ? 1 : 0)));
}

std::u16string MatrixTable::XCell(int32_t row) const {
    if (m_data.XKind() != MatrixXKind::Labels)
        return FormatXCell(m_data, row);
    const uint32_t position = GetSlot(m_data, row);
    if (position >= m_labelStarts.size())
        return {};
    return GetXLabelTextAt(m_data, m_labelStarts[position]);
}

} // namespace ksv
