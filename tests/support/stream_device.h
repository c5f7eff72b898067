#pragma once

#include "link/port_path.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ksv::testing {

// A test's device on the far end of the handheld's port, registered as COM<n> in a temporary
// ports folder (with a received-files root beside it), removed on destruction.
class StreamDevice {
public:
    virtual ~StreamDevice() = default;

    virtual int PortNumber() const = 0;
    virtual LinkPaths Paths() const = 0;
    virtual const std::string& Root() const = 0;

    // Everything written goes out whole (the call waits while the way is full).
    virtual void Write(const std::vector<uint8_t>& bytes) = 0;
    // Exactly `length` bytes the handheld sent, or nothing when the deadline passes first.
    virtual std::optional<std::vector<uint8_t>>
    Read(size_t length, std::chrono::milliseconds deadline = std::chrono::seconds(5)) = 0;
    // Reads and drops whatever the handheld has sent until `quiet` passes without a byte.
    virtual size_t Drain(std::chrono::milliseconds quiet = std::chrono::milliseconds(50)) = 0;
    // Bytes written to the handheld so far.
    virtual uint64_t BytesWritten() const = 0;
    // Stops playing: the handheld sees the line hang up or the connection close.
    virtual void HangUp() = 0;
};

// A fresh folder under $TMPDIR (or /tmp) named <prefix>XXXXXX, with ports/ and files/ in it.
std::string MakeDeviceRoot(const std::string& prefix);
// Exactly `length` bytes from `fd`, or nothing when it closes or the deadline passes first.
std::optional<std::vector<uint8_t>> ReadExactly(int fd, size_t length,
                                                std::chrono::milliseconds deadline);
// Reads and drops what `fd` gives until `quiet` passes without a byte; the count dropped.
size_t DrainFd(int fd, std::chrono::milliseconds quiet);
// What is left of a deadline, for poll.
int RemainingMs(std::chrono::steady_clock::time_point end);

} // namespace ksv::testing
