#pragma once

#include "link/result_code.h"

#include <cstdint>

namespace ksv {

// Bytes of the fixed-size value of a record kind: the length a description must carry, the
// bytes a value entry can set and the store gives out. 0 for kinds whose value varies in size
// (text, chart/table, message box, blob, image) or that have none (file, unknown).
inline constexpr uint32_t FixedValueWidth(uint16_t kind) {
    switch (kind) {
    case kRecordButton:
    case kRecordLatch:
    case kRecordSection:
    case kRecordPassword:
        return 1;
    case kRecordDateTime:
        return 8;
    case kRecordNumber:
    case kRecordList:
        return 4;
    default:
        return 0;
    }
}

// Bytes of one chart/table number of a width code (flags bits 20-21 for the cells and Y, bits
// 18-19 for X): 0 four, 1 two, 2 one. Code 3 has no bytes: a description then carries no
// cells, a row no cells ahead of its label, and every such number reads as 0.
inline constexpr uint32_t CellBytes(uint32_t widthCode) {
    switch (widthCode) {
    case 0:
        return 4;
    case 1:
        return 2;
    case 2:
        return 1;
    default:
        return 0;
    }
}

} // namespace ksv
