#pragma once

#include "platform/device_settings.h"
#include "platform/layout/control_layout.h"
#include "platform/layout/device_layout.h"
#include "platform/layout/layout_attributes.h"

#include <array>
#include <cstdint>
#include <set>
#include <vector>

namespace ksv {

// One control of the panel as the stored layout sees it.
struct StoredControl {
    uint32_t id = 0; // the device's control id
    LayoutTraits traits;
    ControlLayout layout;
};

// Everything the handheld stores for one device's panel.
struct PanelLayout {
    DeviceLayoutValues device;
    std::vector<StoredControl> controls;                    // in panel order
    std::array<ControlLayout, kPageBarButtonCount> pageBar; // in kPageBarIds order
};

// Reads over the current values of `panel`: the device-wide values (the current ping period as
// the default), every control, then the page-bar buttons.
void ReadPanelLayout(const DeviceSettings& device, PanelLayout& panel);
// Writes the device-wide values, every control and the page-bar buttons, in that order, in one
// settings batch (one file write). False when the store could not put them on its medium; the
// values are still held and readable.
bool WritePanelLayout(DeviceSettings& device, const PanelLayout& panel);

// The pages the stored layout fills, which the automatic flow leaves free: the stored page (and
// for a Section or Password the open page) of every control whose stored placement applies,
// that is whose stored auto-place flag is 0 (its current flag when none is stored).
std::set<int32_t> StoredPages(const DeviceSettings& device,
                              const std::vector<StoredControl>& controls);

} // namespace ksv
