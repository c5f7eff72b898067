#pragma once

#include "link/byte_reader.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ksv {

// Reads of untrusted lengths: memory grows only as bytes actually arrive, so a length that
// lies fails with the read's code after the real bytes, never with a huge allocation.

inline constexpr uint32_t kReadChunk = 64 * 1024;

ResultCode ReadU32(ByteReader& in, uint32_t& value);
// All `length` bytes into `out`.
ResultCode ReadChunked(ByteReader& in, uint32_t length, std::vector<uint8_t>& out);
// Reads `length` bytes and throws them away.
ResultCode SkipBytes(ByteReader& in, uint32_t length);

// An entry of which only a bounded head and the last 8 bytes matter.
struct EntryBytes {
    std::vector<uint8_t> head;     // the first min(length, keep) bytes
    std::array<uint8_t, 8> tail{}; // the last min(length, 8) bytes, right-aligned
    uint32_t length = 0;
};

ResultCode ReadEntry(ByteReader& in, uint32_t length, size_t keep, EntryBytes& out);

} // namespace ksv
