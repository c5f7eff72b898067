#pragma once

#include "demo_options.h"
#include "device_port.h"

#include <functional>
#include <memory>

namespace ksv::demo {

// `--replay FILE [--speed X]`: loads the recording (a bad one is told, with its byte offset,
// before any port is made), opens the port with `openPort` and replays until SIGINT or SIGTERM.
// The program's exit status.
int RunReplay(const DemoOptions& options,
              const std::function<std::unique_ptr<DevicePort>()>& openPort);

} // namespace ksv::demo
