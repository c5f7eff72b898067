#include "charts/matrix_setup.h"

namespace ksv {
namespace {

// The first `count` NUL-terminated texts of a buffer of texts back to back.
std::vector<std::u16string> SplitTexts(const std::u16string& texts, uint32_t count) {
    std::vector<std::u16string> out;
    size_t pos = 0;
    while (out.size() < count && pos < texts.size()) {
        size_t end = texts.find(u'\0', pos);
        if (end == std::u16string::npos)
            end = texts.size();
        out.push_back(texts.substr(pos, end - pos));
        pos = end + 1;
    }
    return out;
}

} // namespace

void SetMatrixParameters(MatrixData& m, uint32_t deviceId, uint32_t flags,
                         const ControlDetails& details) {
    m.m_flags = flags;
    m.m_deviceId = deviceId;
    m.m_nCapacity = details.rowCount;
    m.m_nSeries = details.columnCount;
    m.m_xTemplate = details.stringF;
    m.m_yTemplate = details.stringBigF;
    m.m_xTitle = details.stringA;
    m.m_pSeriesNames = SplitTexts(details.stringBigA, details.columnCount);
    m.m_xDecimals = static_cast<int8_t>(details.byteD);
    m.m_xExponent = static_cast<int8_t>(details.byteM);
    m.m_yDecimals = static_cast<int8_t>(details.byteBigD);
    m.m_yExponent = static_cast<int8_t>(details.byteBigM);
    m.m_nYDataSize = details.cellsSize;
    m.m_nXDataSize = details.textSize;
}

void SetMatrixRows(MatrixData& m, uint32_t cursorWord, const std::vector<uint8_t>& cells,
                   const std::vector<uint8_t>& textPart) {
    m.m_pYData = cells;
    m.m_pXData = textPart;
    m.m_nPoints = static_cast<int32_t>(cursorWord);
}

const std::u16string& SeriesName(const MatrixData& m, uint32_t s) {
    static const std::u16string kNone;
    return s < m.m_pSeriesNames.size() ? m.m_pSeriesNames[s] : kNone;
}

} // namespace ksv
