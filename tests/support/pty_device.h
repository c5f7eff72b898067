#pragma once

#include "link/port_path.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <termios.h>
#include <vector>

namespace ksv::testing {

// Plays the device on the master side of a pseudo-terminal whose slave is registered as
// COM<n> in a temporary ports folder. The folder (with a received-files root beside it) is
// removed on destruction.
class PtyDevice {
public:
    explicit PtyDevice(int portNumber = 7);
    ~PtyDevice();
    PtyDevice(const PtyDevice&) = delete;
    PtyDevice& operator=(const PtyDevice&) = delete;

    int PortNumber() const { return m_portNumber; }
    LinkPaths Paths() const; // ports folder and files root in the temp folder
    const std::string& Root() const { return m_root; }
    const std::string& SlavePath() const { return m_slavePath; }

    // Everything written goes out whole (the call waits while the pty is full).
    void Write(const std::vector<uint8_t>& bytes);
    // Exactly `length` bytes the handheld sent, or nothing when the deadline passes first.
    std::optional<std::vector<uint8_t>>
    Read(size_t length, std::chrono::milliseconds deadline = std::chrono::seconds(5));
    // Reads and drops whatever the handheld has sent until `quiet` passes without a byte.
    size_t Drain(std::chrono::milliseconds quiet = std::chrono::milliseconds(50));
    // Waits until at least `count` bytes the device wrote sit unread at the handheld's port.
    bool WaitPendingAtPort(size_t count,
                           std::chrono::milliseconds deadline = std::chrono::seconds(5));
    // Bytes written to the handheld so far.
    uint64_t BytesWritten() const { return m_written; }
    // The line settings of the handheld's side as the port driver holds them now.
    termios LineSettings() const;
    // Stops playing: the handheld sees the line hang up.
    void HangUp();

private:
    int m_portNumber;
    int m_master = -1;
    int m_slave = -1; // kept open so the link's own close never hangs the line up
    std::string m_root;
    std::string m_slavePath;
    uint64_t m_written = 0;
};

// The 20 bytes of marker and header of a frame the handheld sends (flags always 0).
std::vector<uint8_t> HandheldPrefix(uint16_t kind);

} // namespace ksv::testing
