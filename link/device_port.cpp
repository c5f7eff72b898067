#include "link/device_port.h"

#include "link/serial_port.h"
#include "link/tcp_address.h"
#include "link/tcp_port.h"

namespace ksv {

ResultCode OpenDevicePort(const PortEntry& entry, const LinkLimits& limits,
                          std::unique_ptr<StreamPort>& out) {
    const ResultCode result =
        IsTcpEntry(entry.device)
            ? TcpPort::Open(entry.device, limits.frameStallMs, limits.connectMs, out)
            : SerialPort::Open(entry.device, entry.speed, limits.frameStallMs, out);
    if (result == kSuccess) {
        out->SetMinFrameRate(limits.minFrameBytesPerSecond);
    }
    return result;
}

} // namespace ksv
