#include "link/device_port.h"

#include "link/serial_port.h"
#include "link/tcp_address.h"
#include "link/tcp_port.h"

namespace ksv {

ResultCode OpenDevicePort(const std::string& device, const LinkLimits& limits,
                          std::unique_ptr<StreamPort>& out) {
    const ResultCode result =
        IsTcpEntry(device) ? TcpPort::Open(device, limits.frameStallMs, limits.connectMs, out)
                           : SerialPort::Open(device, limits.frameStallMs, out);
    if (result == kSuccess) {
        out->SetMinFrameRate(limits.minFrameBytesPerSecond);
    }
    return result;
}

} // namespace ksv
