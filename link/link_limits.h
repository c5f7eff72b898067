#pragma once

#include "link/device_folder.h"

#include <cstdint>

namespace ksv {

// Bounds that keep a stalled or hostile device from holding the link (and so the GUI) for long.
struct LinkLimits {
    // A frame whose bytes stop arriving this long after its marker is abandoned (ETIMEDOUT).
    int frameStallMs = 3000;
    // A frame write gives up when no byte has gone out for this long...
    int writeStallMs = 500;
    // ...or when it has taken this long in all, whatever its attempt budget says.
    int frameWriteMs = 2000;
    // A TCP device must be reached (name lookup and connect) within this long.
    int connectMs = 5000;
    // What the files one device sends may add up to in its folder.
    uint64_t deviceQuotaBytes = kDefaultDeviceQuota;
};

} // namespace ksv
