#include "link/value_encoder.h"

#include "link/byte_copy.h"
#include "link/frame.h"
#include "platform/ansi_codepage.h"

#include <algorithm>

namespace ksv {

namespace {

// Text up to its first NUL.
std::u16string TextBefore(const std::u16string& text) {
    return text.substr(0, text.find(u'\0'));
}

void PutEntry(std::vector<uint8_t>& out, uint32_t id, const void* data, size_t length) {
    PutU32(out, id);
    PutU32(out, static_cast<uint32_t>(length));
    PutBytes(out, data, length);
}

void PutWideField(std::vector<uint8_t>& out, const char16_t* text, size_t chars, size_t bytes) {
    for (size_t i = 0; i < bytes; ++i) {
        const char16_t ch = i / 2 < chars ? text[i / 2] : u'\0';
        out.push_back(static_cast<uint8_t>(i % 2 == 0 ? ch & 0xFF : ch >> 8));
    }
}

std::vector<uint8_t> TextValue(const ControlRecord& record) {
    if (!record.Wide()) {
        return EncodeNarrowTextField(TextBefore(record.text), record.maxBytes);
    }
    std::vector<uint8_t> out;
    PutWideField(out, record.text.data(), record.text.size(), record.maxBytes);
    return out;
}

std::vector<uint8_t> BlobValue(const ControlRecord& record) {
    const size_t length = std::min<size_t>(record.length, record.data.size());
    if (!record.IsTextBlob()) {
        return std::vector<uint8_t>(record.data.begin(), record.data.begin() + length);
    }
    std::u16string text(length / 2, u'\0');
    CopyBytes(&text[0], record.data.data(), text.size() * sizeof(char16_t));
    std::vector<uint8_t> field(record.capacity / 2, 0);
    const std::string narrow = WideToAnsi(text);
    std::copy_n(narrow.begin(), std::min(narrow.size(), field.size()), field.begin());
    return field;
}

std::vector<uint8_t> PasswordValue(const ControlRecord& record) {
    static const std::u16string empty;
    const auto first =
        EncodePasswordField(record.sendText1 ? *record.sendText1 : empty, record.Wide());
    const auto second =
        EncodePasswordField(record.sendText2 ? *record.sendText2 : empty, record.Wide());
    std::vector<uint8_t> out(first.begin(), first.end());
    out.insert(out.end(), second.begin(), second.end());
    return out;
}

// The value bytes of one marked record; false for a kind that cannot be sent.
bool EncodeValue(ControlRecord& record, std::vector<uint8_t>& value) {
    value.clear();
    switch (record.kind) {
    case kRecordText:
        value = TextValue(record);
        return true;
    case kRecordButton:
        value.push_back(record.pressState);
        record.pressState = 0;
        return true;
    case kRecordLatch:
        value.push_back(record.latchState);
        return true;
    case kRecordSection:
        value.push_back(record.sectionState);
        return true;
    case kRecordDateTime:
        PutBytes(value, record.dateTime.data(), record.dateTime.size());
        return true;
    case kRecordNumber:
        PutU32(value, static_cast<uint32_t>(record.number));
        return true;
    case kRecordPassword:
        value = PasswordValue(record);
        return true;
    case kRecordList:
        PutU32(value, static_cast<uint32_t>(record.selection));
        return true;
    case kRecordMessageBox:
        value.push_back(record.answer);
        return true;
    case kRecordBlob:
        value = BlobValue(record);
        return true;
    case kRecordFile:
    case kRecordImage:
        return true;
    default:
        return false;
    }
}

} // namespace

std::array<uint8_t, kPasswordFieldSize> EncodePasswordField(const std::u16string& text, bool wide) {
    std::array<uint8_t, kPasswordFieldSize> field{};
    const std::u16string value = TextBefore(text);
    if (wide) {
        std::vector<uint8_t> out;
        PutWideField(out, value.data(), std::min<size_t>(value.size(), 16), 32);
        std::copy(out.begin(), out.end(), field.begin());
        return field;
    }
    const std::string narrow = WideToAnsi(value.substr(0, 33));
    std::copy_n(narrow.begin(), std::min<size_t>(narrow.size(), 33), field.begin());
    return field;
}

std::vector<uint8_t> EncodeNarrowTextField(const std::u16string& text, size_t fieldBytes) {
    std::vector<uint8_t> field(fieldBytes, 0);
    if (fieldBytes == 0) {
        return field;
    }
    // One byte per character in this code page: cutting the bytes drops whole characters.
    const std::string narrow = WideToAnsi(TextBefore(text));
    std::copy_n(narrow.begin(), std::min(narrow.size(), fieldBytes - 1), field.begin());
    return field;
}

ResultCode EncodeChangedValues(const StoreLock& store, ErrorReporter& reporter,
                               std::vector<uint8_t>& payload) {
    std::vector<ControlRecord>& records = store.Records();
    const auto marked = std::count_if(records.begin(), records.end(),
                                      [](const ControlRecord& r) { return r.toSend != 0; });
    PutU32(payload, static_cast<uint32_t>(marked));
    std::vector<uint8_t> value;
    for (ControlRecord& record : records) {
        if (record.toSend == 0) {
            continue;
        }
        record.toSend = 0;
        if (!EncodeValue(record, value)) {
            KSV_REPORT(reporter, kLinkModule, record.kind, ChangeNotSent);
            return kNotApplicable;
        }
        PutEntry(payload, record.id, value.data(), value.size());
    }
    return kSuccess;
}

} // namespace ksv
