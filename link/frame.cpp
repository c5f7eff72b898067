#include "link/frame.h"

#include <cstring>

namespace ksv {

bool IsReceivedKind(uint16_t kind) {
    switch (kind) {
    case kMsgHello:
    case kMsgHelloReply:
    case kMsgGoodbyeFromDevice:
    case kMsgPanelDescription:
    case kMsgDevicePing:
    case kMsgValuesFromDevice:
    case kMsgPingReply:
    case kMsgNoOperation:
    case kMsgResetRequest:
    case kMsgStyleUpdate:
    case kMsgFileTransfer:
    case kMsgLayoutEntries:
    case kMsgMatrixRows:
        return true;
    default:
        return false;
    }
}

std::array<uint8_t, kFramePrefixSize> EncodeFramePrefix(uint16_t kind, uint16_t flags) {
    std::array<uint8_t, kFramePrefixSize> out{};
    std::memcpy(out.data(), kSyncMarker.data(), kSyncMarker.size());
    const FrameHeader header;
    uint8_t* p = out.data() + kSyncMarker.size();
    const uint16_t words[6] = {
        header.words[0], header.words[1], header.words[2], header.words[3], kind, flags};
    for (uint16_t word : words) {
        *p++ = static_cast<uint8_t>(word & 0xFF);
        *p++ = static_cast<uint8_t>(word >> 8);
    }
    return out;
}

FrameHeader DecodeFrameHeader(const uint8_t* bytes) {
    FrameHeader header;
    for (int i = 0; i < 4; ++i) {
        header.words[i] = GetU16(bytes + 2 * i);
    }
    header.kind = GetU16(bytes + 8);
    header.flags = GetU16(bytes + 10);
    return header;
}

void PutU16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<uint8_t>((value >> shift) & 0xFF));
    }
}

void PutBytes(std::vector<uint8_t>& out, const void* data, size_t length) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    out.insert(out.end(), bytes, bytes + length);
}

uint16_t GetU16(const uint8_t* bytes) {
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

uint32_t GetU32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
           (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

} // namespace ksv
