#include "link/device_port.h"

#include "link/serial_port.h"
#include "link/tcp_address.h"
#include "link/tcp_port.h"

namespace ksv {

ResultCode OpenDevicePort(const std::string& device, const LinkLimits& limits,
                          std::unique_ptr<StreamPort>& out) {
    if (IsTcpEntry(device)) {
        return TcpPort::Open(device, limits.frameStallMs, limits.connectMs, out);
    }
    return SerialPort::Open(device, limits.frameStallMs, out);
}

} // namespace ksv
