#include "platform/layout/device_layout.h"

#include "platform/layout/layout_attributes.h"
#include "platform/layout/layout_ranges.h"

namespace ksv {

DeviceLayoutValues ReadDeviceLayoutValues(const DeviceSettings& device,
                                          int32_t currentPingSeconds) {
    DeviceLayoutValues values;
    values.pingSeconds = SanitisePingSeconds(
        device.GetDeviceInt(kDeviceWideId, kAttrPingSeconds, currentPingSeconds));
    values.layoutAllowed = device.GetDeviceInt(kDeviceWideId, kAttrLayoutLocked, 0) == 0;
    values.pingsAllowed = device.GetDeviceInt(kDeviceWideId, kAttrPingsLocked, 0) == 0;
    return values;
}

void WriteDeviceLayoutValues(DeviceSettings& device, const DeviceLayoutValues& values) {
    device.WriteDeviceInt(kDeviceWideId, kAttrPingSeconds, values.pingSeconds);
    device.WriteDeviceInt(kDeviceWideId, kAttrLayoutLocked, values.layoutAllowed ? 0 : 1);
    device.WriteDeviceInt(kDeviceWideId, kAttrPingsLocked, values.pingsAllowed ? 0 : 1);
}

bool LayoutRequestMarked(const DeviceSettings& device) {
    return device.GetDeviceInt(kDeviceWideId, kAttrLayoutRequested, 0) != 0;
}

void MarkLayoutRequested(DeviceSettings& device) {
    device.WriteDeviceInt(kDeviceWideId, kAttrLayoutRequested, 1);
}

} // namespace ksv
