#include "link/record_decoders.h"

#include "link/field_block.h"
#include "link/frame.h"
#include "platform/ansi_codepage.h"

#include <algorithm>
#include <cstring>

namespace ksv {

namespace {

constexpr size_t kRecordHeaderSize = 14;
constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kGrey = 0x00C0C0C0;

// The parts of one record on the wire.
struct RecordInput {
    const uint8_t* value = nullptr;
    uint32_t valueLength = 0;
    FieldBlock fields;
    bool wide = false;
};

uint16_t KindOfTag(uint16_t tag) {
    switch (tag) {
    case 'T':
        return kRecordText;
    case 'B':
        return kRecordButton;
    case 'G':
        return kRecordLatch;
    case 'S':
        return kRecordSection;
    case 'D':
        return kRecordDateTime;
    case 'N':
        return kRecordNumber;
    case 'M':
        return kRecordMatrix;
    case 'P':
        return kRecordPassword;
    case 'L':
        return kRecordList;
    case 'X':
        return kRecordMessageBox;
    case 'O':
        return kRecordBlob;
    case 'F':
        return kRecordFile;
    case 'I':
        return kRecordImage;
    default:
        return kRecordUnknown;
    }
}

void ReadCaption(const RecordInput& in, ControlRecord& record) {
    in.fields.ReadString(record.caption, 'Z', in.wide);
}

void ReadColour(const RecordInput& in, ControlRecord& record, uint32_t defaultColour) {
    record.colour = defaultColour;
    in.fields.ReadNumber(&record.colour, 4, 'c');
}

uint32_t ColourByBit16(const ControlRecord& record) {
    return (record.flags & kFlagBit16) ? kGrey : kWhite;
}

// A required u32 field; a missing one is reported with 0 and left 0.
uint32_t RequiredU32(const RecordInput& in, char letter, ErrorReporter& reporter) {
    uint32_t value = 0;
    if (!in.fields.ReadNumber(&value, 4, letter)) {
        KSV_REPORT(reporter, kLinkModule, 0, PanelRecordMalformed);
    }
    return value;
}

std::u16string ZeroFilled(uint32_t count) {
    return std::u16string(std::min(std::max<uint32_t>(count, 1), kMaxDefaultChars), u'\0');
}

std::u16string InitialText(const RecordInput& in) {
    return in.wide ? WideFromBytes(in.value, in.valueLength)
                   : AnsiToWideZ(in.value, in.valueLength);
}

void DecodeText(const RecordInput& in, ControlRecord& record, ErrorReporter& reporter) {
    ReadCaption(in, record);
    record.text = InitialText(in);
    record.maxBytes = std::min(RequiredU32(in, 'm', reporter), kMaxTextBuffer);
    record.text.resize(record.TextCapacity(), u'\0');
    ReadColour(in, record, kWhite);
}

void DecodeMessageBox(const RecordInput& in, ControlRecord& record, ErrorReporter& reporter) {
    ReadCaption(in, record);
    record.text = InitialText(in);
    record.maxChars = std::min(RequiredU32(in, 'm', reporter), kMaxTextBuffer);
    record.text.resize(record.TextCapacity(), u'\0');
    record.colour = 0;
}

void DecodeOneByte(const RecordInput& in, ControlRecord& record, uint8_t& state,
                   uint32_t defaultColour) {
    state = in.value[0];
    ReadCaption(in, record);
    ReadColour(in, record, defaultColour);
}

void DecodeLatch(const RecordInput& in, ControlRecord& record) {
    DecodeOneByte(in, record, record.latchState, kGrey);
    in.fields.ReadNumber(&record.group, 4, 'r');
}

void DecodeDateTime(const RecordInput& in, ControlRecord& record, ErrorReporter& reporter) {
    std::memcpy(record.dateTime.data(), in.value, 8);
    ReadCaption(in, record);
    if (!in.fields.ReadString(record.format, 'f', in.wide)) {
        KSV_REPORT(reporter, kLinkModule, 0, PanelRecordMalformed);
    }
    ReadColour(in, record, ColourByBit16(record));
}

void DecodeNumber(const RecordInput& in, ControlRecord& record) {
    std::memcpy(&record.number, in.value, 4);
    ReadCaption(in, record);
    if (!in.fields.ReadString(record.format, 'f', in.wide)) {
        record.format = u"%%";
    }
    in.fields.ReadNumber(&record.paramN, 4, 'n');
    in.fields.ReadNumber(&record.paramX, 4, 'x');
    in.fields.ReadNumber(&record.paramD, 1, 'd');
    in.fields.ReadNumber(&record.paramM, 1, 'm');
    ReadColour(in, record, ColourByBit16(record));
}

// The blob: cells column after column, the text part, then the cursor word. A blob shorter
// than its cells and cursor word is taken as far as it goes: the cells are zero-filled, the
// text part is empty and the cursor word 0.
void DecodeMatrixBlob(const RecordInput& in, ControlRecord& record, ErrorReporter& reporter) {
    uint64_t cellsSize = 0;
    const bool wraps =
        __builtin_mul_overflow(uint64_t{record.rowCount}, record.columnCount, &cellsSize) ||
        __builtin_mul_overflow(cellsSize, CellBytes(record.CellWidthCode()), &cellsSize);
    const uint64_t v = in.valueLength;
    if (wraps || (cellsSize + 4 > v && cellsSize > kMaxRecordBuffer)) {
        // Neither carried nor plausible: keep the control, without cells.
        KSV_REPORT(reporter, kLinkModule, in.valueLength, PanelRecordMalformed);
        record.rowCount = 0;
        record.columnCount = 0;
        return;
    }
    record.cellsSize = static_cast<uint32_t>(cellsSize);
    record.cells.assign(in.value, in.value + std::min(cellsSize, v));
    record.cells.resize(record.cellsSize, 0);
    if (cellsSize + 4 > v) {
        return;
    }
    record.textSize = static_cast<uint32_t>(v - cellsSize - 4);
    const uint8_t* text = in.value + cellsSize;
    record.cursorWord = GetU32(in.value + v - 4);
    if (record.LabelType() == 2 && !in.wide) {
        const std::u16string converted = AnsiToWide(text, record.textSize);
        const auto* bytes = reinterpret_cast<const uint8_t*>(converted.data());
        record.textPart.assign(bytes, bytes + converted.size() * sizeof(char16_t));
        return;
    }
    record.textPart.assign(text, text + record.textSize);
}

void DecodeMatrix(const RecordInput& in, ControlRecord& record, ErrorReporter& reporter) {
    const FieldBlock& f = in.fields;
    ReadCaption(in, record);
    f.ReadNumber(&record.rowCount, 4, 'n');
    f.ReadNumber(&record.columnCount, 4, 'N');
    if (!f.ReadString(record.stringF, 'f', in.wide)) {
        record.stringF = u" ";
    }
    if (!f.ReadString(record.stringBigF, 'F', in.wide)) {
        record.stringBigF = u" ";
    }
    f.ReadString(record.stringA, 'a', in.wide);
    if (!f.ReadString(record.stringBigA, 'A', in.wide)) {
        record.stringBigA = ZeroFilled(record.columnCount);
    }
    f.ReadNumber(&record.byteD, 1, 'd');
    f.ReadNumber(&record.byteBigD, 1, 'D');
    f.ReadNumber(&record.byteM, 1, 'm');
    f.ReadNumber(&record.byteBigM, 1, 'M');
    ReadColour(in, record, kGrey);
    DecodeMatrixBlob(in, record, reporter);
}

void DecodeList(const RecordInput& in, ControlRecord& record) {
    std::memcpy(&record.selection, in.value, std::min<uint32_t>(in.valueLength, 4));
    ReadCaption(in, record);
    in.fields.ReadNumber(&record.itemCount, 4, 'n');
    if (!in.fields.ReadString(record.items, 'I', in.wide)) {
        record.items = ZeroFilled(record.itemCount);
    }
    ReadColour(in, record, kWhite);
}

void DecodeBlob(const RecordInput& in, ControlRecord& record, ErrorReporter& reporter) {
    const bool textBlob = record.IsTextBlob();
    const uint64_t unit = textBlob ? 2 : 1;
    ReadCaption(in, record);
    if (textBlob) {
        const std::u16string text = AnsiToWide(in.value, in.valueLength);
        const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
        record.data.assign(bytes, bytes + text.size() * sizeof(char16_t));
    } else {
        record.data.assign(in.value, in.value + in.valueLength);
    }
    uint64_t length = record.data.size();
    const uint64_t capacity =
        std::min<uint64_t>(unit * RequiredU32(in, 'm', reporter), kMaxRecordBuffer);
    record.capacity = static_cast<uint32_t>(capacity);
    record.data.resize(record.capacity, 0);
    uint32_t announced = 0;
    if (in.fields.ReadNumber(&announced, 4, 'n')) {
        length = unit * announced;
    }
    // The content never claims more than its buffer holds.
    record.length = static_cast<uint32_t>(std::min(length, capacity));
    ReadColour(in, record, kGrey);
}

void DecodeImage(const RecordInput& in, ControlRecord& record) {
    record.data.assign(in.value, in.value + in.valueLength);
    record.length = record.capacity = in.valueLength;
    ReadCaption(in, record);
    ReadColour(in, record, kGrey);
}

bool ImageTooLarge(const RecordInput& in) {
    return in.valueLength >= kMaxImageBytes ||
           in.fields.StringLength('Z', in.wide) >= kMaxImageCaption;
}

} // namespace

bool DecodeControlRecord(const uint8_t* data, size_t size, ControlRecord& record,
                         ErrorReporter& reporter) {
    if (size < kRecordHeaderSize) {
        KSV_REPORT(reporter, kLinkModule, static_cast<long>(size), PanelRecordMalformed);
        record.kind = kRecordUnknown;
        return true;
    }
    const uint16_t tag = GetU16(data);
    record.kind = KindOfTag(tag);
    record.flags = GetU32(data + 2);
    record.id = GetU32(data + 6);
    record.valueUpdated = 0;
    record.toSend = 0;
    if (record.kind == kRecordUnknown) {
        return true;
    }

    RecordInput in;
    in.wide = record.Wide();
    in.value = data + kRecordHeaderSize;
    in.valueLength =
        static_cast<uint32_t>(std::min<uint64_t>(GetU32(data + 10), size - kRecordHeaderSize));
    const size_t fieldsAt = kRecordHeaderSize + in.valueLength;
    in.fields = FieldBlock(data + fieldsAt, size - fieldsAt);

    const uint32_t required = FixedValueWidth(record.kind); // 0: any length will do
    if (required != 0 && in.valueLength != required) {
        KSV_REPORT(reporter, kLinkModule, in.valueLength, PanelRecordMalformed);
        if (record.kind != kRecordList) {
            return true;
        }
    }

    switch (record.kind) {
    case kRecordText:
        DecodeText(in, record, reporter);
        break;
    case kRecordButton:
        DecodeOneByte(in, record, record.pressState, kGrey);
        break;
    case kRecordLatch:
        DecodeLatch(in, record);
        break;
    case kRecordSection:
        DecodeOneByte(in, record, record.sectionState, kGrey);
        break;
    case kRecordDateTime:
        DecodeDateTime(in, record, reporter);
        break;
    case kRecordNumber:
        DecodeNumber(in, record);
        break;
    case kRecordMatrix:
        DecodeMatrix(in, record, reporter);
        break;
    case kRecordPassword:
        DecodeOneByte(in, record, record.passwordState, kWhite);
        break;
    case kRecordList:
        DecodeList(in, record);
        break;
    case kRecordMessageBox:
        DecodeMessageBox(in, record, reporter);
        break;
    case kRecordBlob:
        DecodeBlob(in, record, reporter);
        break;
    case kRecordFile:
        ReadCaption(in, record);
        ReadColour(in, record, kGrey);
        break;
    case kRecordImage:
        if (ImageTooLarge(in)) {
            reporter.ShowMessage(u"Bluetooth driver error", ReportReason::ImageTooLarge);
            reporter.RequestQuit();
            return false;
        }
        DecodeImage(in, record);
        break;
    default:
        break;
    }
    return true;
}

} // namespace ksv
