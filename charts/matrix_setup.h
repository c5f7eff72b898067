#pragma once

#include "charts/matrix_data.h"
#include "link/panel_store.h"

#include <cstdint>
#include <vector>

namespace ksv {

// Fills the parameters of a chart/table control from its store details: capacity, series,
// templates, title, decimals, exponents and series names. Only as many names are kept as
// the device actually sent, however many series it claims.
void SetMatrixParameters(MatrixData& m, uint32_t deviceId, uint32_t flags,
                         const ControlDetails& details);

// Copies the rows and the point cursor; called on creation and on every data update.
void SetMatrixRows(MatrixData& m, uint32_t cursorWord, const std::vector<uint8_t>& cells,
                   const std::vector<uint8_t>& textPart);

// Name of series s; empty when the device sent none for it.
const std::u16string& SeriesName(const MatrixData& m, uint32_t s);

} // namespace ksv
