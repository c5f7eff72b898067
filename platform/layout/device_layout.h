#pragma once

#include "platform/device_settings.h"

#include <cstdint>

namespace ksv {

// The device-wide values stored beside the layout.
struct DeviceLayoutValues {
    int32_t pingSeconds = 0;   // 0: no pings
    bool layoutAllowed = true; // the device has not locked the layout
    bool pingsAllowed = true;  // the device has not locked the ping setting
};

// currentPingSeconds is the period in use (0 when pings are off), kept when none is stored.
DeviceLayoutValues ReadDeviceLayoutValues(const DeviceSettings& device, int32_t currentPingSeconds);
// Writes the ping period, then the two locks.
void WriteDeviceLayoutValues(DeviceSettings& device, const DeviceLayoutValues& values);

// Whether the device's recommended layout has been asked for once, and marking that it was.
bool LayoutRequestMarked(const DeviceSettings& device);
void MarkLayoutRequested(DeviceSettings& device);

} // namespace ksv
