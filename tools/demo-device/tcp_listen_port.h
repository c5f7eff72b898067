#pragma once

#include "device_port.h"

#include <cstdint>
#include <string>

namespace ksv::demo {

// The device listening on TCP, registered as "COM<n>:" by a ports-folder file whose first line
// is "tcp://HOST:PORT". One handheld at a time; the entry is removed again on destruction (if
// it is still ours).
class TcpListenPort : public DevicePort {
public:
    // Listens on `host` (an IPv4 address) at `port` (0: any free port). Throws
    // std::runtime_error when it cannot listen or the entry is taken by something else.
    TcpListenPort(const std::string& host, uint16_t port, int portNumber,
                  const std::string& portsFolder);
    ~TcpListenPort() override;
    TcpListenPort(const TcpListenPort&) = delete;
    TcpListenPort& operator=(const TcpListenPort&) = delete;

    int Fd() const override { return m_connection; }
    bool PeerPresent() override;
    void Flush() override;
    ssize_t Write(const uint8_t* data, size_t length) override;

    const std::string& Address() const { return m_address; } // "tcp://HOST:PORT"
    const std::string& EntryPath() const { return m_entryPath; }

private:
    void Register(const std::string& portsFolder, int portNumber);
    bool ConnectionAlive() const;
    void TakeWaitingConnection();

    int m_listener = -1;
    int m_connection = -1;
    std::string m_address;
    std::string m_entryPath;
};

} // namespace ksv::demo
