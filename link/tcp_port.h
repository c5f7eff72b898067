#pragma once

#include "link/result_code.h"
#include "link/stream_port.h"
#include "link/tcp_address.h"

#include <memory>
#include <string>

namespace ksv {

// A TCP connection to a device (a Wi-Fi module, a serial-to-network bridge) for the link.
// Opening only checks the address; the connection is made by Establish on the reader thread,
// within `connectMs` for lookup and connect together, and Wake cuts it short. The stream is
// sent without delay (TCP_NODELAY) and a peer that vanishes without closing is noticed by
// keep-alive probes. Thread contract: StreamPort's.
class TcpPort : public StreamPort {
public:
    // EINVAL for an entry that is not "tcp://HOST:PORT" with PORT in 1..65535.
    static ResultCode Open(const std::string& entry, int frameStallMs, int connectMs,
                           std::unique_ptr<StreamPort>& out);

    // kSuccess once connected; kLinkClosed after Wake; ETIMEDOUT past connectMs; otherwise the
    // failure of the last address tried (ECONNREFUSED, EHOSTUNREACH, ...).
    ResultCode Establish() override;

protected:
    ssize_t WriteRaw(int fd, const uint8_t* data, size_t length) override;

private:
    TcpPort(TcpAddress address, int wakeFd, int frameStallMs, int connectMs);

    TcpAddress m_address;
    int m_connectMs;
};

} // namespace ksv
