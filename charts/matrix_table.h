#pragma once

#include "charts/matrix_data.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ksv {

// A chart/table control's data read as a table: an X column unless X is None, then one
// column per series; row 0 is the oldest. Holds a pointer to the data, which must outlive
// it, and where each X text starts, so that a row's label is found without a walk through
// all the texts before it: make it anew after every data update.
class MatrixTable {
public:
    explicit MatrixTable(const MatrixData& m);

    bool HasXColumn() const { return m_hasX; }
    int ColumnCount() const { return m_columns; }
    int32_t RowCount() const { return m_rows; }

    // Empty for a column past the last.
    std::u16string Heading(int column) const;
    // Empty for a cell outside the table.
    std::u16string Cell(int32_t row, int column) const;

private:
    std::u16string XCell(int32_t row) const;

    const MatrixData& m_data;
    bool m_hasX = false;
    int m_columns = 0;
    int32_t m_rows = 0;
    std::vector<size_t> m_labelStarts; // Labels X: 16-bit unit where each text starts
};

} // namespace ksv
