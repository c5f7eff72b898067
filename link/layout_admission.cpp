#include "link/layout_admission.h"

#include "link/panel_budget.h"
#include "link/result_code.h"
#include "platform/layout/layout_attributes.h"

#include <algorithm>

namespace ksv {
namespace {

// The placement, appearance and control font: what every control and page-bar button has.
bool IsPlacementAttribute(uint32_t attribute) {
    return attribute == kAttrAutoPlace ||
           (attribute >= kAttrX && attribute <= kAttrFontBold && attribute % 16 == 0);
}

bool IsDeviceWideAttribute(uint32_t attribute) {
    return attribute == kAttrLayoutRequested || attribute == kAttrLayoutLocked ||
           attribute == kAttrPingsLocked || attribute == kAttrPingSeconds;
}

bool IsOpenPlacementAttribute(uint32_t attribute) {
    return attribute >= kAttrXOpen && attribute <= kAttrPageOpen && attribute % 16 == 1;
}

bool IsAxisAttribute(uint32_t attribute) {
    return attribute >= kAttrYMinimum && attribute <= kAttrXMaximum && attribute % 16 == 0;
}

bool IsCommonControlAttribute(uint32_t attribute) {
    return IsPlacementAttribute(attribute) ||
           (attribute >= kAttrBorder && attribute <= kAttrLabelBold && attribute % 16 == 0) ||
           attribute == kAttrAlign;
}

bool KindHasAttribute(uint16_t kind, uint32_t attribute) {
    if (IsCommonControlAttribute(attribute)) {
        return true;
    }
    switch (kind) {
    case kRecordSection:
    case kRecordPassword:
        return IsOpenPlacementAttribute(attribute);
    case kRecordMatrix:
        return IsAxisAttribute(attribute);
    case kRecordNumber:
        return attribute == kAttrZeroFill;
    case kRecordImage:
        return attribute == kAttrImageHAlign;
    default:
        return false;
    }
}

bool AnyKindHasAttribute(uint32_t attribute) {
    return IsCommonControlAttribute(attribute) || IsOpenPlacementAttribute(attribute) ||
           IsAxisAttribute(attribute) || attribute == kAttrZeroFill ||
           attribute == kAttrImageHAlign;
}

bool IsPageBarId(uint32_t id) {
    return std::any_of(kPageBarIds.begin(), kPageBarIds.end(),
                       [id](int32_t pseudo) { return EntryId(pseudo) == id; });
}

} // namespace

Admission AdmitLayoutSetting(uint32_t id, uint32_t attribute, const ControlKinds& kinds) {
    if (id == kDeviceWideId) {
        return IsDeviceWideAttribute(attribute) ? Admission::Store : Admission::Drop;
    }
    if (IsPageBarId(id)) {
        return IsPlacementAttribute(attribute) ? Admission::Store : Admission::Drop;
    }
    const auto control = kinds.find(id);
    if (control == kinds.end()) {
        return AnyKindHasAttribute(attribute) ? Admission::Hold : Admission::Drop;
    }
    return KindHasAttribute(control->second, attribute) ? Admission::Store : Admission::Drop;
}

size_t StoreLayoutSettings(const std::vector<LayoutSetting>& settings, const ControlKinds& kinds,
                           DeviceSettings& device, std::vector<LayoutSetting>* held) {
    // One file write for the whole message.
    SettingsBatch batch(device.Store());
    size_t refused = 0;
    for (const LayoutSetting& setting : settings) {
        switch (AdmitLayoutSetting(setting.id, setting.attribute, kinds)) {
        case Admission::Store:
            break;
        case Admission::Hold:
            if (held != nullptr) {
                held->push_back(setting);
            }
            continue;
        case Admission::Drop:
            continue;
        }
        bool stored = device.WriteDeviceIntWithin(setting.id, setting.attribute, setting.value,
                                                  kMaxDeviceSectionEntries);
        if (stored && setting.id != kDeviceWideId) {
            stored = device.WriteDeviceIntWithin(setting.id, kAttrAutoPlace, 0,
                                                 kMaxDeviceSectionEntries);
        }
        refused += stored ? 0 : 1;
    }
    return refused;
}

} // namespace ksv
