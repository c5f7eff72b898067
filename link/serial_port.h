#pragma once

#include "link/result_code.h"
#include "link/stream_port.h"

#include <cstdint>
#include <memory>
#include <string>

namespace ksv {

// One open serial device configured for the link: raw, 8N1, no flow control, at the entry's
// speed. Held exclusively while open (against other programs too, root's included).
// Thread contract: StreamPort's.
class SerialPort : public StreamPort {
public:
    // Opens `path` exclusively at `speed` baud: EBUSY when another holds it, kSpeedRefused when
    // the driver does not take the speed (the device is closed again), the platform failure
    // of the call otherwise. Inside a frame a read that gets no byte for `frameStallMs` fails
    // with ETIMEDOUT.
    static ResultCode Open(const std::string& path, uint32_t speed, int frameStallMs,
                           std::unique_ptr<StreamPort>& out);
    ~SerialPort() override;

    // The driver's queues go too: what it has not sent and, with `receive`, what it holds.
    void Purge(bool receive) override;

private:
    SerialPort(int fd, int wakeFd, int frameStallMs);
};

} // namespace ksv
