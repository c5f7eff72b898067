#pragma once

#include "link/frame.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ksv {

// The device side of the protocol: builders for every frame a device sends. Used by the tests,
// the fuzz seeds and the demo device. Builders write exactly what they are told, lengths and
// counts included, so hostile frames can be made as easily as good ones.

// One device frame: the payload alone, and the whole frame (marker, header, payload).
struct DeviceMessage {
    uint16_t kind = 0;
    uint16_t flags = 0;
    std::vector<uint8_t> payload;

    std::vector<uint8_t> Frame() const;
};

// A frame without payload (Goodbye, DevicePing, PingReply, ResetRequest, kind 13, Hello).
DeviceMessage EncodeBareFrame(uint16_t kind, uint16_t flags = 0);

// Strings as a device puts them on the wire: UTF-16LE or ANSI bytes, no terminator.
std::vector<uint8_t> EncodeWireString(const std::u16string& text, bool wide);

// HelloReply (kind 2). `flags` may add kHelloPingsOff and kHelloKeepPanel; the wide-name bit
// follows `wideName`.
DeviceMessage EncodeHelloReply(const std::u16string& name, bool wideName, uint16_t flags = 0,
                               const std::u16string& second = u"");

// One control record of a PanelDescription: tag, flags, id, value, and a FieldBlock of
// lettered fields. Strings follow the control's flags bit 2 (wide) unless given as raw bytes.
class DeviceControl {
public:
    DeviceControl(char tag, uint32_t flags, uint32_t id);

    bool Wide() const { return (m_flags & 0x00000004) != 0; }

    DeviceControl& ValueBytes(std::vector<uint8_t> value);
    DeviceControl& ValueByte(uint8_t value);
    DeviceControl& ValueU32(uint32_t value);
    DeviceControl& ValueText(const std::u16string& text); // wide or narrow, no terminator
    // Announces `length` as the value length whatever the value bytes are.
    DeviceControl& ValueLength(uint32_t length);

    DeviceControl& String(char letter, const std::u16string& text);
    DeviceControl& U32(char letter, uint32_t value);
    DeviceControl& Byte(char letter, uint8_t value);
    DeviceControl& Raw(char letter, std::vector<uint8_t> data);
    // Announces `length` for the field just added whatever its bytes are.
    DeviceControl& FieldLength(uint32_t length);
    DeviceControl& Caption(const std::u16string& text) { return String('Z', text); }
    DeviceControl& Colour(uint32_t colour) { return U32('c', colour); }
    // Leaves the FieldBlock out entirely (as for an unknown tag).
    DeviceControl& NoFieldBlock();

    // The record bytes, without the record length in front.
    std::vector<uint8_t> Encode() const;

private:
    struct Field {
        char letter;
        std::vector<uint8_t> data;
        std::optional<uint32_t> announcedLength;
    };

    char m_tag;
    uint32_t m_flags;
    uint32_t m_id;
    std::vector<uint8_t> m_value;
    std::optional<uint32_t> m_valueLength;
    std::vector<Field> m_fields;
    bool m_fieldBlock = true;
};

// PanelDescription (kind 6): the count, then each record with its length in front.
DeviceMessage EncodePanelDescription(const std::vector<DeviceControl>& controls,
                                     uint16_t flags = 0);
// The same from raw record bytes, announcing `count` whatever the number of records.
DeviceMessage EncodePanelDescriptionRecords(uint32_t count,
                                            const std::vector<std::vector<uint8_t>>& records,
                                            uint16_t flags = 0);

// An entry of Values, StyleUpdate or MatrixRows: identifier, length, bytes.
struct DeviceEntry {
    uint32_t id = 0;
    std::vector<uint8_t> bytes;
    std::optional<uint32_t> announcedLength; // the length sent, when it must lie
};

DeviceEntry ByteEntry(uint32_t id, uint8_t value);
DeviceEntry U32Entry(uint32_t id, uint32_t value);
DeviceEntry TextEntry(uint32_t id, const std::u16string& text, bool wide, size_t fieldBytes);
DeviceEntry StyleEntry(uint32_t id, uint32_t styleWord, std::optional<uint32_t> colour = {});
// One row for a chart/table: the cells (already encoded in the cell width), the label bytes,
// the cursor word and the row position.
DeviceEntry MatrixRowEntry(uint32_t id, const std::vector<uint8_t>& cells,
                           const std::vector<uint8_t>& label, uint32_t cursorWord,
                           uint32_t position);

DeviceMessage EncodeValues(const std::vector<DeviceEntry>& entries, uint16_t flags = 0);
DeviceMessage EncodeStyleUpdate(const std::vector<DeviceEntry>& entries, uint16_t flags = 0);
DeviceMessage EncodeMatrixRows(const std::vector<DeviceEntry>& entries, uint16_t flags = 0);

// FileTransfer (kind 17).
struct DeviceFile {
    std::u16string name; // full path on the handheld; a NUL is appended on the wire
    bool wide = false;   // must match the control's flags bit 2
    std::vector<uint8_t> content;
};

DeviceMessage EncodeFileTransfer(uint32_t controlId, const std::vector<DeviceFile>& files,
                                 uint16_t flags = 0);

// LayoutEntries (kind 19).
struct LayoutEntry {
    uint32_t keyA = 0;
    uint32_t keyB = 0;
    uint32_t value = 0;
};

DeviceMessage EncodeLayoutEntries(const std::vector<LayoutEntry>& entries);

} // namespace ksv
