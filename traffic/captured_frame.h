#pragma once

#include "link/link_tap.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace ksv {

// Leading bytes of a frame the monitor keeps for its dump and summary; a frame can be as large
// as a whole panel description, and the monitor holds thousands.
inline constexpr size_t kKeptFrameBytes = 1024;

// One row of the link monitor: a frame in either direction, or a run of skipped bytes.
struct CapturedFrame {
    uint64_t sequence = 0;
    int64_t micros = 0; // since the port was opened
    TapDirection direction = TapDirection::kReceived;
    bool skipped = false;       // bytes dropped while hunting for the marker; `length` counts them
    uint64_t length = 0;        // the whole frame, marker included
    std::vector<uint8_t> bytes; // the first min(length, kKeptFrameBytes) bytes

    bool HasHeader() const { return !skipped && bytes.size() >= 20; }
    uint16_t Kind() const {
        return HasHeader() ? static_cast<uint16_t>(bytes[16] | bytes[17] << 8) : 0;
    }
    uint16_t Flags() const {
        return HasHeader() ? static_cast<uint16_t>(bytes[18] | bytes[19] << 8) : 0;
    }
    uint64_t PayloadLength() const { return length >= 20 ? length - 20 : 0; }
    bool Cut() const { return bytes.size() < length; } // only a prefix is kept
};

using FramePtr = std::shared_ptr<const CapturedFrame>;

} // namespace ksv
