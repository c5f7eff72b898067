#pragma once

#include "tests/support/stream_device.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ksv::testing {

// Plays a TCP device on loopback: listens on an ephemeral port registered as COM<n> by a
// ports-folder file "tcp://127.0.0.1:PORT" and takes the handheld's connections one at a time,
// the newest replacing the one before.
class TcpDevice : public StreamDevice {
public:
    explicit TcpDevice(int portNumber = 7);
    ~TcpDevice() override;
    TcpDevice(const TcpDevice&) = delete;
    TcpDevice& operator=(const TcpDevice&) = delete;

    int PortNumber() const override { return m_portNumber; }
    LinkPaths Paths() const override;
    const std::string& Root() const override { return m_root; }
    uint16_t TcpPort() const { return m_tcpPort; }

    void Write(const std::vector<uint8_t>& bytes) override;
    std::optional<std::vector<uint8_t>>
    Read(size_t length, std::chrono::milliseconds deadline = std::chrono::seconds(5)) override;
    size_t Drain(std::chrono::milliseconds quiet = std::chrono::milliseconds(50)) override;
    uint64_t BytesWritten() const override { return m_written; }
    // Closes the connection and stops listening: the device is gone, connecting is refused.
    void HangUp() override;
    // Listens again on the same TCP port after HangUp.
    void ComeBack();

    // Connections taken from now on hold at most about `bytes` unread (a device that does not
    // read then soon stops the handheld's writes).
    void LimitReceiveBuffer(int bytes);
    // Whether a connection was taken within the deadline (one already taken counts).
    bool WaitConnected(std::chrono::milliseconds deadline = std::chrono::seconds(5));
    // Connections taken since the device was made.
    int Connections() const { return m_connections; }

private:
    void Listen(uint16_t port);
    // Takes a pending connection, replacing the current one; false when none came in time.
    bool Accept(int waitMs);

    int m_portNumber;
    int m_listener = -1;
    int m_connection = -1;
    uint16_t m_tcpPort = 0;
    int m_connections = 0;
    std::string m_root;
    uint64_t m_written = 0;
};

} // namespace ksv::testing
