#include "platform/layout/panel_layout.h"

#include "platform/layout/layout_ranges.h"
#include "platform/settings_store.h"

namespace ksv {

void ReadPanelLayout(const DeviceSettings& device, PanelLayout& panel) {
    panel.device = ReadDeviceLayoutValues(device, panel.device.pingSeconds);
    for (StoredControl& control : panel.controls) {
        ReadControlLayout(device, control.id, control.traits, control.layout);
    }
    for (size_t i = 0; i < kPageBarButtonCount; ++i) {
        ReadPageBarLayout(device, kPageBarIds[i], panel.pageBar[i]);
    }
}

bool WritePanelLayout(DeviceSettings& device, const PanelLayout& panel) {
    {
        SettingsBatch batch(device.Store());
        WriteDeviceLayoutValues(device, panel.device);
        for (const StoredControl& control : panel.controls) {
            WriteControlLayout(device, control.id, control.traits, control.layout);
        }
        for (size_t i = 0; i < kPageBarButtonCount; ++i) {
            WritePageBarLayout(device, kPageBarIds[i], panel.pageBar[i]);
        }
    }
    return !device.Store().LastWriteFailed();
}

std::set<int32_t> StoredPages(const DeviceSettings& device,
                              const std::vector<StoredControl>& controls) {
    // Every control's page is stored, automatic ones included; only the pages of stored
    // placements are taken, or the automatic flow would leave its own previous pages empty.
    std::set<int32_t> pages;
    auto addPage = [&](uint32_t id, uint32_t attribute) {
        const int32_t page = device.GetDeviceInt(id, attribute, -1);
        if (page != -1) {
            pages.insert(SanitisePage(page));
        }
    };
    for (const StoredControl& control : controls) {
        const int32_t autoPlace =
            device.GetDeviceInt(control.id, kAttrAutoPlace, control.layout.autoPlace ? 1 : 0);
        if (autoPlace != 0) {
            continue;
        }
        addPage(control.id, kAttrPage);
        if (control.traits.openPlacement) {
            addPage(control.id, kAttrPageOpen);
        }
    }
    return pages;
}

} // namespace ksv
