#pragma once

#include "link/link_limits.h"
#include "link/port_path.h"
#include "link/result_code.h"
#include "link/stream_port.h"

#include <memory>
#include <string>

namespace ksv {

// Opens what a COM port resolves to: "tcp://HOST:PORT" as a TCP connection still to be
// established (the speed does not apply), anything else as a serial device at its speed.
ResultCode OpenDevicePort(const PortEntry& entry, const LinkLimits& limits,
                          std::unique_ptr<StreamPort>& out);

} // namespace ksv
