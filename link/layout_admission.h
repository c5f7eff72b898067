#pragma once

#include "platform/device_settings.h"

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace ksv {

// One (id, attribute, value) triple of a device's LayoutEntries message.
struct LayoutSetting {
    uint32_t id = 0;
    uint32_t attribute = 0;
    int32_t value = 0;
};

// The RecordKind of every control of the panel, by id.
using ControlKinds = std::unordered_map<uint32_t, uint16_t>;

// What becomes of a layout entry the device sends.
enum class Admission {
    Store, // the device-wide values, a page-bar button's, an attribute the control's kind has
    Hold,  // a control attribute for an id the panel does not have: kept for the next panel
    Drop,  // nothing could ever read it
};

// `kinds` is the panel the entry is judged against.
Admission AdmitLayoutSetting(uint32_t id, uint32_t attribute, const ControlKinds& kinds);

// Writes the entries that may be stored into the device's section, each with (id, 0) = 0 for an
// id other than 0, and appends those to hold to `held` (when given). A new entry past the
// section's bound (kMaxDeviceSectionEntries) is refused; entries already stored are updated.
// Returns how many entries were refused.
size_t StoreLayoutSettings(const std::vector<LayoutSetting>& settings, const ControlKinds& kinds,
                           DeviceSettings& device, std::vector<LayoutSetting>* held);

} // namespace ksv
