#include "charts/matrix_text.h"

#include "charts/calendar_time.h"
#include "charts/matrix_access.h"
#include "controls/date_time_format.h"
#include "controls/number_format.h"

namespace ksv {

std::u16string FormatYLabel(const MatrixData& m, double value) {
    return FormatNumber(value, m.YNotation(), m.m_yTemplate, m.m_yDecimals, 0, false);
}

std::u16string FormatXLabel(const MatrixData& m, double value) {
    if (m.XKind() != MatrixXKind::Numeric)
        return {};
    return FormatNumber(value, m.XNotation(), m.m_xTemplate, m.m_xDecimals, 0, false);
}

std::u16string FormatDateLabel(const MatrixData& m, const PackedDateTime& packed) {
    if (m.XKind() != MatrixXKind::DateTime)
        return {};
    return FormatDateTime(packed, m.m_xTemplate);
}

AxisEndLabels YAxisEndLabels(const MatrixData& m, const NiceAxis& axis) {
    return {FormatYLabel(m, axis.minimum), FormatYLabel(m, axis.maximum)};
}

AxisEndLabels XAxisEndLabels(const MatrixData& m, const NiceAxis& axis, const DateRange& dates) {
    if (m.XKind() == MatrixXKind::DateTime)
        return {FormatDateLabel(m, ToPackedDateTime(dates.first)),
                FormatDateLabel(m, ToPackedDateTime(dates.last))};
    return {FormatXLabel(m, axis.minimum), FormatXLabel(m, axis.maximum)};
}

std::u16string FormatXCell(const MatrixData& m, int32_t i) {
    switch (m.XKind()) {
    case MatrixXKind::None:
        return {};
    case MatrixXKind::Numeric:
        return FormatScaled(GetRawX(m, i), m.XNotation(), m.m_xTemplate, m.m_xDecimals,
                            m.m_xExponent, 0, false);
    case MatrixXKind::Labels:
        return GetXLabelText(m, GetSlot(m, i));
    case MatrixXKind::DateTime: {
        std::optional<PackedDateTime> packed = GetXDateTime(m, i);
        return packed ? FormatDateTime(*packed, m.m_xTemplate) : std::u16string();
    }
    }
    return {};
}

std::u16string FormatYCell(const MatrixData& m, int32_t i, uint32_t s) {
    return FormatScaled(GetRawY(m, i, s), m.YNotation(), m.m_yTemplate, m.m_yDecimals,
                        m.m_yExponent, 0, false);
}

} // namespace ksv
