#pragma once

#include "link/port_path.h"
#include "tests/support/stream_device.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <termios.h>
#include <vector>

namespace ksv::testing {

// Plays the device on the master side of a pseudo-terminal whose slave is registered as
// COM<n> (a symbolic link) in a temporary ports folder.
class PtyDevice : public StreamDevice {
public:
    explicit PtyDevice(int portNumber = 7);
    ~PtyDevice() override;
    PtyDevice(const PtyDevice&) = delete;
    PtyDevice& operator=(const PtyDevice&) = delete;

    int PortNumber() const override { return m_portNumber; }
    LinkPaths Paths() const override;
    const std::string& Root() const override { return m_root; }
    const std::string& SlavePath() const { return m_slavePath; }

    void Write(const std::vector<uint8_t>& bytes) override;
    std::optional<std::vector<uint8_t>>
    Read(size_t length, std::chrono::milliseconds deadline = std::chrono::seconds(5)) override;
    size_t Drain(std::chrono::milliseconds quiet = std::chrono::milliseconds(50)) override;
    // Waits until at least `count` bytes the device wrote sit unread at the handheld's port.
    bool WaitPendingAtPort(size_t count,
                           std::chrono::milliseconds deadline = std::chrono::seconds(5));
    uint64_t BytesWritten() const override { return m_written; }
    // The line settings of the handheld's side as the port driver holds them now.
    termios LineSettings() const;
    // The same as read on the device's own side (the master), and its rate in baud.
    termios DeviceSideSettings() const;
    uint32_t DeviceSideSpeed() const;
    void HangUp() override;

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
