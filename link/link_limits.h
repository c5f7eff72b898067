#pragma once

#include "link/device_folder.h"
#include "link/panel_budget.h"

#include <cstdint>

namespace ksv {

// Bounds that keep a stalled or hostile device from holding the link (and so the GUI) for long.
struct LinkLimits {
    // A frame whose bytes stop arriving this long after its marker is abandoned (ETIMEDOUT),
    // and so is one that comes slower than minFrameBytesPerSecond after that (panel_budget.h).
    int frameStallMs = kFrameStallMs;
    uint32_t minFrameBytesPerSecond = kMinFrameBytesPerSecond;
    // A frame write gives up when no byte has gone out for this long...
    int writeStallMs = 500;
    // ...or when it has taken this long in all, whatever its attempt budget says.
    int frameWriteMs = 2000;
    // A TCP device must be reached (name lookup and connect) within this long.
    int connectMs = 5000;
    // What the files one device sends may add up to in its folder, and all devices' together.
    uint64_t deviceQuotaBytes = kDeviceFilesQuota;
    uint64_t allFilesQuotaBytes = kAllFilesQuota;
};

} // namespace ksv
