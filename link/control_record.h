#pragma once

#include "link/result_code.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace ksv {

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

    // 'T' text and 'X' message box: NUL-terminated UTF-16 of a fixed capacity in characters
    // (T: maxBytes/2 wide or maxBytes narrow; X: maxChars), terminator included in `text`.
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
    std::vector<uint8_t> cells;    // cellsSize bytes, column after column
    std::vector<uint8_t> textPart; // textSize bytes (UTF-16 code units when converted)
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
    std::vector<uint8_t> data; // capacity bytes
    uint32_t length = 0;
    uint32_t capacity = 0;

    // 'F' file: local path of the first file of the last transfer; empty until then.
    std::u16string fileName;
    bool hasFileName = false;
};

} // namespace ksv
