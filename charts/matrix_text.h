#pragma once

#include "charts/matrix_data.h"
#include "controls/packed_date_time.h"

#include <string>

namespace ksv {

// Axis label texts.
std::u16string FormatYLabel(const MatrixData& m, double value);
// Numeric X only; empty for every other kind.
std::u16string FormatXLabel(const MatrixData& m, double value);
// DateTime X only; empty for every other kind.
std::u16string FormatDateLabel(const MatrixData& m, const PackedDateTime& packed);

// Table cell texts of row i (0 = oldest).
std::u16string FormatXCell(const MatrixData& m, int32_t i);
std::u16string FormatYCell(const MatrixData& m, int32_t i, uint32_t s);

} // namespace ksv
