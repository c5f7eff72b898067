#include "link/device_encoder.h"

#include "platform/ansi_codepage.h"

#include <cstring>
#include <utility>

namespace ksv {

namespace {

DeviceMessage MakeMessage(uint16_t kind, uint16_t flags, std::vector<uint8_t> payload) {
    DeviceMessage message;
    message.kind = kind;
    message.flags = flags;
    message.payload = std::move(payload);
    return message;
}

void PutSized(std::vector<uint8_t>& out, const std::vector<uint8_t>& bytes,
              std::optional<uint32_t> announcedLength) {
    PutU32(out, announcedLength.value_or(static_cast<uint32_t>(bytes.size())));
    PutBytes(out, bytes.data(), bytes.size());
}

DeviceMessage EncodeEntries(uint16_t kind, const std::vector<DeviceEntry>& entries,
                            uint16_t flags) {
    std::vector<uint8_t> payload;
    PutU32(payload, static_cast<uint32_t>(entries.size()));
    for (const DeviceEntry& entry : entries) {
        PutU32(payload, entry.id);
        PutSized(payload, entry.bytes, entry.announcedLength);
    }
    return MakeMessage(kind, flags, std::move(payload));
}

} // namespace

std::vector<uint8_t> DeviceMessage::Frame() const {
    const auto prefix = EncodeFramePrefix(kind, flags);
    std::vector<uint8_t> bytes(prefix.size() + payload.size());
    std::memcpy(bytes.data(), prefix.data(), prefix.size());
    if (!payload.empty()) {
        std::memcpy(bytes.data() + prefix.size(), payload.data(), payload.size());
    }
    return bytes;
}

DeviceMessage EncodeBareFrame(uint16_t kind, uint16_t flags) {
    return MakeMessage(kind, flags, {});
}

std::vector<uint8_t> EncodeWireString(const std::u16string& text, bool wide) {
    std::vector<uint8_t> out;
    if (!wide) {
        const std::string narrow = WideToAnsi(text);
        out.assign(narrow.begin(), narrow.end());
        return out;
    }
    for (char16_t ch : text) {
        PutU16(out, ch);
    }
    return out;
}

DeviceMessage EncodeHelloReply(const std::u16string& name, bool wideName, uint16_t flags,
                               const std::u16string& second) {
    const uint16_t headerFlags =
        static_cast<uint16_t>(wideName ? (flags | kHelloWideName) : (flags & ~kHelloWideName));
    std::vector<uint8_t> payload;
    PutSized(payload, EncodeWireString(name, wideName), {});
    PutSized(payload, EncodeWireString(second, true), {});
    return MakeMessage(kMsgHelloReply, headerFlags, std::move(payload));
}

DeviceControl::DeviceControl(char tag, uint32_t flags, uint32_t id)
    : m_tag(tag), m_flags(flags), m_id(id) {}

DeviceControl& DeviceControl::ValueBytes(std::vector<uint8_t> value) {
    m_value = std::move(value);
    return *this;
}

DeviceControl& DeviceControl::ValueByte(uint8_t value) {
    return ValueBytes({value});
}

DeviceControl& DeviceControl::ValueU32(uint32_t value) {
    std::vector<uint8_t> bytes;
    PutU32(bytes, value);
    return ValueBytes(std::move(bytes));
}

DeviceControl& DeviceControl::ValueText(const std::u16string& text) {
    return ValueBytes(EncodeWireString(text, Wide()));
}

DeviceControl& DeviceControl::ValueLength(uint32_t length) {
    m_valueLength = length;
    return *this;
}

DeviceControl& DeviceControl::String(char letter, const std::u16string& text) {
    return Raw(letter, EncodeWireString(text, Wide()));
}

DeviceControl& DeviceControl::U32(char letter, uint32_t value) {
    std::vector<uint8_t> bytes;
    PutU32(bytes, value);
    return Raw(letter, std::move(bytes));
}

DeviceControl& DeviceControl::Byte(char letter, uint8_t value) {
    return Raw(letter, {value});
}

DeviceControl& DeviceControl::Raw(char letter, std::vector<uint8_t> data) {
    m_fields.push_back(Field{letter, std::move(data), std::nullopt});
    return *this;
}

DeviceControl& DeviceControl::FieldLength(uint32_t length) {
    if (!m_fields.empty()) {
        m_fields.back().announcedLength = length;
    }
    return *this;
}

DeviceControl& DeviceControl::NoFieldBlock() {
    m_fieldBlock = false;
    return *this;
}

std::vector<uint8_t> DeviceControl::Encode() const {
    std::vector<uint8_t> out;
    PutU16(out, static_cast<uint8_t>(m_tag));
    PutU32(out, m_flags);
    PutU32(out, m_id);
    PutSized(out, m_value, m_valueLength);
    if (!m_fieldBlock) {
        return out;
    }
    PutU32(out, static_cast<uint32_t>(m_fields.size()));
    for (const Field& field : m_fields) {
        out.push_back(static_cast<uint8_t>(field.letter));
    }
    for (const Field& field : m_fields) {
        PutSized(out, field.data, field.announcedLength);
    }
    return out;
}

DeviceMessage EncodePanelDescription(const std::vector<DeviceControl>& controls, uint16_t flags) {
    std::vector<std::vector<uint8_t>> records;
    records.reserve(controls.size());
    for (const DeviceControl& control : controls) {
        records.push_back(control.Encode());
    }
    return EncodePanelDescriptionRecords(static_cast<uint32_t>(records.size()), records, flags);
}

DeviceMessage EncodePanelDescriptionRecords(uint32_t count,
                                            const std::vector<std::vector<uint8_t>>& records,
                                            uint16_t flags) {
    std::vector<uint8_t> payload;
    PutU32(payload, count);
    for (const auto& record : records) {
        PutSized(payload, record, {});
    }
    return MakeMessage(kMsgPanelDescription, flags, std::move(payload));
}

DeviceEntry ByteEntry(uint32_t id, uint8_t value) {
    return DeviceEntry{id, {value}, {}};
}

DeviceEntry U32Entry(uint32_t id, uint32_t value) {
    DeviceEntry entry{id, {}, {}};
    PutU32(entry.bytes, value);
    return entry;
}

DeviceEntry TextEntry(uint32_t id, const std::u16string& text, bool wide, size_t fieldBytes) {
    DeviceEntry entry{id, EncodeWireString(text, wide), {}};
    entry.bytes.resize(fieldBytes, 0);
    return entry;
}

DeviceEntry StyleEntry(uint32_t id, uint32_t styleWord, std::optional<uint32_t> colour) {
    DeviceEntry entry{id, {}, {}};
    PutU32(entry.bytes, styleWord);
    if (colour) {
        PutU32(entry.bytes, *colour);
    }
    return entry;
}

DeviceEntry MatrixRowEntry(uint32_t id, const std::vector<uint8_t>& cells,
                           const std::vector<uint8_t>& label, uint32_t cursorWord,
                           uint32_t position) {
    DeviceEntry entry{id, cells, {}};
    PutBytes(entry.bytes, label.data(), label.size());
    PutU32(entry.bytes, cursorWord);
    PutU32(entry.bytes, position);
    return entry;
}

DeviceMessage EncodeValues(const std::vector<DeviceEntry>& entries, uint16_t flags) {
    return EncodeEntries(kMsgValuesFromDevice, entries, flags);
}

DeviceMessage EncodeStyleUpdate(const std::vector<DeviceEntry>& entries, uint16_t flags) {
    return EncodeEntries(kMsgStyleUpdate, entries, flags);
}

DeviceMessage EncodeMatrixRows(const std::vector<DeviceEntry>& entries, uint16_t flags) {
    return EncodeEntries(kMsgMatrixRows, entries, flags);
}

DeviceMessage EncodeFileTransfer(uint32_t controlId, const std::vector<DeviceFile>& files,
                                 uint16_t flags) {
    std::vector<uint8_t> payload;
    PutU32(payload, controlId);
    PutU32(payload, static_cast<uint32_t>(files.size()));
    for (const DeviceFile& file : files) {
        std::vector<uint8_t> name = EncodeWireString(file.name + u'\0', file.wide);
        PutSized(payload, name, {});
        PutSized(payload, file.content, {});
    }
    return MakeMessage(kMsgFileTransfer, flags, std::move(payload));
}

DeviceMessage EncodeLayoutEntries(const std::vector<LayoutEntry>& entries) {
    std::vector<uint8_t> payload;
    PutU32(payload, static_cast<uint32_t>(entries.size()));
    for (const LayoutEntry& entry : entries) {
        PutU32(payload, entry.keyA);
        PutU32(payload, entry.keyB);
        PutU32(payload, entry.value);
    }
    return MakeMessage(kMsgLayoutEntries, 0, std::move(payload));
}

} // namespace ksv
