#pragma once

#include "charts/axis_range.h"
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

// The texts at the two ends of an axis.
struct AxisEndLabels {
    std::u16string minimum;
    std::u16string maximum;
};
AxisEndLabels YAxisEndLabels(const MatrixData& m, const NiceAxis& axis);
// Numeric X: the axis ends; DateTime X: the first and last dates; other kinds: empty.
AxisEndLabels XAxisEndLabels(const MatrixData& m, const NiceAxis& axis, const DateRange& dates);

// Table cell texts of row i (0 = oldest).
std::u16string FormatXCell(const MatrixData& m, int32_t i);
std::u16string FormatYCell(const MatrixData& m, int32_t i, uint32_t s);

} // namespace ksv
