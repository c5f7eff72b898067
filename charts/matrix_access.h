#pragma once

#include "charts/matrix_data.h"
#include "controls/packed_date_time.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ksv {

// Bounds for counts that no buffer backs (no series, or numbers of width code 3): a device
// claiming billions of rows or series of nothing costs no more than this.
constexpr uint32_t kMaxUnbackedCells = 1u << 20;
constexpr uint32_t kMaxSeries = 1024; // beyond this a legend band is under a pixel

// The series that are drawn and listed: the device's count, at most kMaxSeries.
uint32_t GetSeriesCount(const MatrixData& m);
// Rows count from 0 = oldest. The count never exceeds the capacity, nor the slots that the
// Y data (or, without series, the X data) really holds: the device's counts may lie. Rows
// that no buffer backs stop at kMaxUnbackedCells cells.
int32_t GetRowCount(const MatrixData& m);
// The storage slot of row i; 0 when the capacity is 0.
uint32_t GetSlot(const MatrixData& m, int32_t i);

// The raw numbers, 0 when the slot lies outside the buffer or the width code is 3.
int32_t GetRawX(const MatrixData& m, int32_t i);
int32_t GetRawY(const MatrixData& m, int32_t i, uint32_t s);

// Numeric X only (0 otherwise), scaled by 10^m_xExponent.
double GetXValue(const MatrixData& m, int32_t i);
// Scaled by 10^m_yExponent.
double GetYValue(const MatrixData& m, int32_t i, uint32_t s);
// DateTime X only; nothing for other kinds or a slot past the buffer.
std::optional<PackedDateTime> GetXDateTime(const MatrixData& m, int32_t i);
// The position-th of the Labels texts (from 0); empty past the last.
std::u16string GetXLabelText(const MatrixData& m, uint32_t position);
// Where each of the Labels texts starts (in 16-bit units), to find many of them quickly.
std::vector<size_t> GetXLabelStarts(const MatrixData& m);
// The text starting at 16-bit unit `start`; empty past the end.
std::u16string GetXLabelTextAt(const MatrixData& m, size_t start);

// 0x00BBGGRR colour of series s.
uint32_t SeriesColour(uint32_t s);

} // namespace ksv
