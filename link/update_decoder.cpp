#include "link/byte_copy.h"
#include "link/decoders.h"
#include "link/frame.h"
#include "link/staged_entries.h"
#include "platform/ansi_codepage.h"

#include <algorithm>

namespace ksv {

namespace {

bool IsKnownKind(uint16_t kind) {
    return kind >= kRecordText && kind <= kRecordImage;
}

// Bytes of a value entry the record can use; the rest is read past without being kept.
size_t ValueBytesUsed(const ControlRecord& record) {
    if (const uint32_t width = FixedValueWidth(record.kind)) {
        return width;
    }
    switch (record.kind) {
    case kRecordText:
    case kRecordMessageBox:
        return record.text.size() * sizeof(char16_t);
    case kRecordMatrix:
        return static_cast<size_t>(record.cellsSize) + record.textSize + 4;
    case kRecordBlob:
        return record.capacity;
    default:
        return 0;
    }
}

// Writes UTF-16LE bytes over the start of a zeroed text buffer.
void PutWideText(std::u16string& text, const uint8_t* bytes, size_t length) {
    std::fill(text.begin(), text.end(), u'\0');
    const size_t count = std::min(length, text.size() * 2);
    for (size_t i = 0; i < count; ++i) {
        const char16_t part = static_cast<char16_t>(bytes[i] << ((i % 2) * 8));
        text[i / 2] = static_cast<char16_t>(text[i / 2] | part);
    }
}

void PutConvertedText(std::u16string& text, const std::u16string& converted) {
    std::fill(text.begin(), text.end(), u'\0');
    std::copy_n(converted.begin(), std::min(converted.size(), text.size()), text.begin());
}

// Copies up to `count` bytes from `source` at `offset`, staying inside both buffers.
void CopyBounded(const std::vector<uint8_t>& source, size_t offset, size_t count, void* dest,
                 size_t destSize) {
    if (offset >= source.size()) {
        return;
    }
    CopyBytes(dest, source.data() + offset, std::min({count, source.size() - offset, destSize}));
}

void ApplyMatrixValue(ControlRecord& record, const std::vector<uint8_t>& bytes, uint32_t length) {
    CopyBounded(bytes, 0, std::min(length, record.cellsSize), record.cells.data(),
                record.cells.size());
    uint64_t cursorAt = record.cellsSize;
    if (length > record.cellsSize && record.LabelType() != 2) {
        CopyBounded(bytes, record.cellsSize, record.textSize, record.textPart.data(),
                    record.textPart.size());
        cursorAt += record.textSize;
    }
    if (length > cursorAt) {
        CopyBounded(bytes, cursorAt, 4, &record.cursorWord, sizeof record.cursorWord);
    }
}

void ApplyBlobValue(ControlRecord& record, const std::vector<uint8_t>& bytes) {
    if (!record.IsTextBlob()) {
        CopyBounded(bytes, 0, record.capacity, record.data.data(), record.data.size());
        return;
    }
    const std::u16string text =
        AnsiToWide(bytes.data(), std::min<size_t>(bytes.size(), record.capacity / 2));
    CopyBytes(record.data.data(), text.data(),
              std::min(text.size() * sizeof(char16_t), record.data.size()));
}

// One value entry; `bytes` holds its first ValueBytesUsed bytes, `length` is as announced.
ResultCode ApplyValue(ControlRecord& record, const std::vector<uint8_t>& bytes, uint32_t length,
                      ErrorReporter& reporter) {
    const size_t n = bytes.size();
    switch (record.kind) {
    case kRecordText:
        if (record.Wide()) {
            PutWideText(record.text, bytes.data(), std::min<size_t>(n, record.maxBytes));
        } else {
            PutConvertedText(record.text,
                             AnsiToWideZ(bytes.data(), std::min<size_t>(n, record.maxBytes)));
        }
        break;
    case kRecordButton:
    case kRecordLatch:
    case kRecordSection:
    case kRecordPassword:
    case kRecordDateTime:
    case kRecordNumber:
    case kRecordList: {
        const uint32_t width = FixedValueWidth(record.kind);
        CopyBounded(bytes, 0, width, record.FixedValue(), width);
        break;
    }
    case kRecordMatrix:
        ApplyMatrixValue(record, bytes, length);
        break;
    case kRecordMessageBox:
        if (record.Wide()) {
            PutWideText(record.text, bytes.data(), std::min<size_t>(n, 2ull * record.maxChars));
        } else {
            PutConvertedText(record.text,
                             AnsiToWide(bytes.data(), std::min<size_t>(n, record.maxChars)));
        }
        break;
    case kRecordBlob:
        ApplyBlobValue(record, bytes);
        break;
    case kRecordFile:
        KSV_REPORT(reporter, kLinkModule, 12, UpdateForWrongControl);
        return kSuccess;
    case kRecordImage:
        KSV_REPORT(reporter, kLinkModule, 777, UpdateForWrongControl);
        return kSuccess;
    case kRecordUnknown:
        return kSuccess;
    default:
        KSV_REPORT(reporter, kLinkModule, record.kind, UpdateForWrongControl);
        return kWrongKind;
    }
    record.valueUpdated = 1;
    return kSuccess;
}

void ApplyStyle(ControlRecord& record, const EntryBytes& entry) {
    if (entry.head.size() < 4) {
        return; // no style word
    }
    const uint32_t word = GetU32(entry.head.data());
    // A message box also takes its icon and buttons, replacing the old ones.
    const uint32_t mask = record.kind == kRecordMessageBox ? 0x00770011u : 0x00000011u;
    record.styleUpdated = 1;
    record.flags = (record.flags & ~mask) | (word & mask);
    if ((word & 0x00000040u) != 0 && entry.head.size() >= 8) {
        record.colour = GetU32(entry.head.data() + 4);
    }
}

uint32_t MatrixLabelWidth(const ControlRecord& record, uint32_t cellWidth) {
    switch (record.LabelType()) {
    case 1:
        return cellWidth;
    case 3:
        return 8;
    default:
        return 0;
    }
}

// Bytes of a row the cells and the label can take: a cell past the cells buffer is never
// written, so neither is anything the device announces beyond it.
size_t RowBytesUsed(const ControlRecord& record) {
    if (record.rowCount == 0) {
        return 0;
    }
    const uint32_t w = CellBytes(record.CellWidthCode());
    const uint64_t cells =
        std::min<uint64_t>(uint64_t{record.columnCount} * w, record.cells.size());
    return static_cast<size_t>(cells) + MatrixLabelWidth(record, w);
}

// One row: columnCount cells, an optional label, the cursor word and the row position p.
// Cells go to element rowCount * i + p; a position past the rows writes no cell or label.
void ApplyRow(ControlRecord& record, const EntryBytes& entry) {
    if (entry.length < 8) {
        return;
    }
    record.valueUpdated = 1;
    const uint32_t w = CellBytes(record.CellWidthCode());
    const uint32_t lw = MatrixLabelWidth(record, w);
    const uint32_t position = GetU32(entry.tail.data() + 4);
    const uint64_t body = entry.length - 8ull;
    if (position < record.rowCount) {
        for (uint64_t i = 0; w > 0 && i < record.columnCount && (i + 1) * w <= body; ++i) {
            const uint64_t at = (static_cast<uint64_t>(record.rowCount) * i + position) * w;
            if (at + w <= record.cells.size()) {
                CopyBounded(entry.head, i * w, w, record.cells.data() + at, w);
            }
        }
        const uint64_t labelFrom = static_cast<uint64_t>(record.columnCount) * w;
        const uint64_t labelAt = static_cast<uint64_t>(position) * lw;
        if (lw > 0 && labelFrom + lw <= body && labelAt + lw <= record.textPart.size()) {
            CopyBounded(entry.head, labelFrom, lw, record.textPart.data() + labelAt, lw);
        }
    }
    record.cursorWord = GetU32(entry.tail.data());
}

} // namespace

ResultCode ApplyValues(ByteReader& in, PanelStore& store, ErrorReporter& reporter) {
    EntryRules rules;
    rules.keep = [](const ControlRecord* record) -> std::optional<size_t> {
        if (record == nullptr) {
            return std::nullopt;
        }
        return ValueBytesUsed(*record);
    };
    rules.apply = [&reporter](ControlRecord& record, const EntryBytes& entry) {
        return ApplyValue(record, entry.head, entry.length, reporter);
    };
    return ApplyEntries(in, store, rules);
}

ResultCode ApplyStyles(ByteReader& in, PanelStore& store, ErrorReporter& reporter) {
    EntryRules rules;
    rules.keep = [](const ControlRecord* record) -> std::optional<size_t> {
        if (record == nullptr || record->kind == kRecordUnknown) {
            return std::nullopt;
        }
        return 8; // the style word and a colour
    };
    rules.apply = [&reporter](ControlRecord& record, const EntryBytes& entry) {
        if (!IsKnownKind(record.kind)) {
            KSV_REPORT(reporter, kLinkModule, record.kind, UpdateForWrongControl);
            return kWrongKind;
        }
        ApplyStyle(record, entry);
        return kSuccess;
    };
    return ApplyEntries(in, store, rules);
}

ResultCode ApplyMatrixRows(ByteReader& in, PanelStore& store, ErrorReporter& reporter) {
    EntryRules rules;
    rules.keep = [](const ControlRecord* record) -> std::optional<size_t> {
        if (record == nullptr) {
            return std::nullopt;
        }
        return record->kind == kRecordMatrix ? RowBytesUsed(*record) : 0;
    };
    rules.apply = [&reporter](ControlRecord& record, const EntryBytes& entry) {
        if (record.kind != kRecordMatrix) {
            KSV_REPORT(reporter, kLinkModule, record.kind, UpdateForWrongControl);
            return kWrongKind;
        }
        ApplyRow(record, entry);
        return kSuccess;
    };
    return ApplyEntries(in, store, rules);
}

} // namespace ksv
