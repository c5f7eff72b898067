#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ksv {

// Wire format shared by the handheld side and the device side (demo device, tests).

inline constexpr std::array<uint8_t, 8> kSyncMarker = {0x5A, 0xE3, 0xF1, 0x6B,
                                                       0x77, 0xE4, 0xE9, 0x63};
inline constexpr size_t kHeaderSize = 12;                         // after the marker
inline constexpr size_t kFramePrefixSize = 8 + kHeaderSize;       // marker + header

enum MessageKind : uint16_t {
    kMsgHello = 1,            // H to D; from D: like Goodbye
    kMsgHelloReply = 2,       // D to H
    kMsgGoodbyeFromHandheld = 4,
    kMsgGoodbyeFromDevice = 5,
    kMsgPanelDescription = 6, // D to H
    kMsgValuesToDevice = 7,   // H to D
    kMsgDevicePing = 8,       // D to H
    kMsgValuesFromDevice = 9, // D to H
    kMsgPing = 10,            // H to D
    kMsgPingReply = 11,       // D to H
    kMsgPingReplyToDevice = 12,
    kMsgNoOperation = 13,     // D to H
    kMsgAcknowledge = 14,     // H to D
    kMsgResetRequest = 15,    // D to H
    kMsgStyleUpdate = 16,     // D to H
    kMsgFileTransfer = 17,    // D to H
    kMsgLayoutRequest = 18,   // H to D
    kMsgLayoutEntries = 19,   // D to H
    kMsgMatrixRows = 21,      // D to H
};

// Header flag bits.
inline constexpr uint16_t kFlagAckRequested = 0x0008; // kinds 6, 9, 16, 17, 21
inline constexpr uint16_t kHelloWideName = 0x0001;
inline constexpr uint16_t kHelloPingsOff = 0x0002;
inline constexpr uint16_t kHelloKeepPanel = 0x0010;

// The 12 bytes after the marker.
struct FrameHeader {
    uint16_t words[4] = {0x0100, 0x0000, 0x0002, 0x0001};
    uint16_t kind = 0;
    uint16_t flags = 0;
};

// True for the kinds the handheld accepts from a device.
bool IsReceivedKind(uint16_t kind);

// Marker and header of a frame, 20 bytes, as sent by either side.
std::array<uint8_t, kFramePrefixSize> EncodeFramePrefix(uint16_t kind, uint16_t flags = 0);
FrameHeader DecodeFrameHeader(const uint8_t* bytes); // 12 bytes

// Little-endian helpers for building and reading payloads.
void PutU16(std::vector<uint8_t>& out, uint16_t value);
void PutU32(std::vector<uint8_t>& out, uint32_t value);
void PutBytes(std::vector<uint8_t>& out, const void* data, size_t length);
uint16_t GetU16(const uint8_t* bytes);
uint32_t GetU32(const uint8_t* bytes);

} // namespace ksv
