#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ksv::demo {

// Bytes the device sent, due `micros` after the client's Hello.
struct ReplayChunk {
    uint64_t micros = 0;
    std::vector<uint8_t> bytes;
};

// The device's side of the first session of a recording.
struct ReplayScript {
    std::vector<ReplayChunk> chunks;
    size_t sessions = 0; // sessions in the recording (a port opened begins one)
    std::string warning; // a recording cut short: played up to its last whole record
};

// The most device bytes a replay holds in memory.
inline constexpr uint64_t kMaxReplayBytes = uint64_t{256} << 20;

// Reads `path`; false with `error` saying what is wrong and at which byte (not a recording,
// a newer format, corrupt, too large). A recording cut short loads up to there, with a warning.
bool LoadReplayScript(const std::string& path, ReplayScript& script, std::string& error);

} // namespace ksv::demo
