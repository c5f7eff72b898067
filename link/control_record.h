#pragma once

#include "link/control_flags.h"
#include "link/result_code.h"
#include "link/value_width.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace ksv {

// Sizes a device announces for buffers the handheld keeps are capped here, so a lying
// description cannot make it allocate gigabytes: O capacity (bytes), T maxBytes and X maxChars,
// and the zero-filled default strings of M and L (in characters).
inline constexpr uint32_t kMaxRecordBuffer = 1u << 20;
inline constexpr uint32_t kMaxTextBuffer = 1u << 16;
inline constexpr uint32_t kMaxDefaultChars = 1u << 16;

// One control as the device described it and as both sides have changed it since.
// Owned by PanelStore; every buffer is owned by the record.
struct ControlRecord {
    // Common to every kind.
    uint32_t id = 0;
    uint32_t flags = 0;
    uint32_t colour = 0; // 0x00BBGGRR
    uint16_t kind = kRecordNone;
    std::u16string caption;
    uint8_t valueUpdated = 0; // the device changed the value since the GUI read it
    uint8_t styleUpdated = 0; // the device changed flags or colour since the GUI read them
    uint8_t toSend = 0;       // the user changed the value and it has not been sent

    // 'T' text and 'X' message box: `text` is the fixed-size buffer, NUL-padded UTF-16 of
    // TextCapacity() characters (T: maxBytes bytes wide, maxBytes characters narrow; X:
    // maxChars). The text is what comes before the first NUL; a full buffer has none.
    uint32_t maxBytes = 0;
    uint32_t maxChars = 0;
    std::u16string text;
    uint8_t answer = 0;

    // 'B', 'G', 'S', 'P' one-byte states.
    uint8_t pressState = 0;
    uint8_t latchState = 0;
    uint8_t sectionState = 0;
    uint8_t passwordState = 0;
    uint32_t group = 0;

    // 'D' date/time and 'N' number.
    std::array<uint8_t, 8> dateTime{};
    std::u16string format;
    int32_t number = 0;
    uint32_t paramX = 0; // maximum, raw units
    uint32_t paramN = 0; // minimum, raw units
    uint8_t paramD = 0;  // decimals
    uint8_t paramM = 0;  // power-of-ten exponent

    // 'M' chart/table.
    std::vector<uint8_t> cells; // cellsSize bytes, column after column
    // textSize bytes as received; for text labels (LabelType() 2) of a narrow control the
    // textSize characters converted to UTF-16, 2 * textSize bytes in host order.
    std::vector<uint8_t> textPart;
    uint32_t rowCount = 0;
    uint32_t columnCount = 0;
    uint32_t cursorWord = 0;
    uint32_t cellsSize = 0;
    uint32_t textSize = 0;
    std::u16string stringF, stringBigF, stringA, stringBigA;
    uint8_t byteD = 0, byteM = 0, byteBigD = 0, byteBigM = 0;

    // 'P' password: the two strings of a report while it is being sent.
    const std::u16string* sendText1 = nullptr;
    const std::u16string* sendText2 = nullptr;

    // 'L' list.
    std::u16string items;
    int32_t selection = 0;
    uint32_t itemCount = 0;

    // 'O' blob and 'I' image.
    std::vector<uint8_t> data; // capacity bytes; a text blob's are UTF-16 in host order
    uint32_t length = 0;
    uint32_t capacity = 0;

    // 'F' file: local path of the first file of the last transfer; empty until then.
    std::u16string fileName;
    bool hasFileName = false;

    bool Wide() const { return (flags & kFlagWide) != 0; }
    // O: content is narrow text on the wire, held as UTF-16.
    bool IsTextBlob() const { return (flags & kFlagBit16) != 0 && !Wide(); }
    // M: 0 none, 1 number of the cell width, 2 text, 3 an 8-byte date/time.
    uint32_t LabelType() const { return (flags & kFlagLabelTypeMask) >> 16; }
    // M: cell width code 0 four bytes, 1 two bytes, 2 one byte, 3 no cells (CellBytes).
    uint32_t CellWidthCode() const { return (flags & kFlagCellWidthMask) >> 20; }
    // The field of a fixed-size value, FixedValueWidth(kind) bytes; null for other kinds.
    void* FixedValue() {
        switch (kind) {
        case kRecordButton:
            return &pressState;
        case kRecordLatch:
            return &latchState;
        case kRecordSection:
            return &sectionState;
        case kRecordPassword:
            return &passwordState;
        case kRecordDateTime:
            return dateTime.data();
        case kRecordNumber:
            return &number;
        case kRecordList:
            return &selection;
        default:
            return nullptr;
        }
    }
    // Characters of `text` the kind calls for.
    size_t TextCapacity() const {
        if (kind == kRecordMessageBox) {
            return maxChars;
        }
        return Wide() ? (static_cast<size_t>(maxBytes) + 1) / 2 : maxBytes;
    }
    // Characters of `text` before its first NUL.
    size_t TextLength() const {
        const size_t end = text.find(u'\0');
        return end == std::u16string::npos ? text.size() : end;
    }
};

} // namespace ksv
