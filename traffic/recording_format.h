#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace ksv {

// A session recording (`kestrovane --record FILE`), all integers little-endian:
//
//   file header, 16 bytes: the magic "KSVREC\n\x1a", u32 format version (1), u32 zero
//   records, each: u64 microseconds since the recording began, u8 type, u32 length n, n bytes
//
// Types: 0 bytes received from the device, 1 bytes sent to the device, 2 a port was opened
// (n = 0; a new session begins). A record's bytes are as they crossed the port, in the order
// they did.
inline constexpr std::array<uint8_t, 8> kRecordingMagic = {'K', 'S', 'V',  'R',
                                                           'E', 'C', '\n', 0x1a};
inline constexpr uint32_t kRecordingVersion = 1;
inline constexpr size_t kRecordingHeaderSize = 16;
inline constexpr size_t kRecordHeaderSize = 13;
// No record is longer: the port hands over at most a few kilobytes at a time.
inline constexpr uint32_t kMaxRecordBytes = 1u << 20;

enum class RecordType : uint8_t { kReceived = 0, kSent = 1, kPortOpened = 2 };

} // namespace ksv
