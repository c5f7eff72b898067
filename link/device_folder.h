#pragma once

#include "link/panel_budget.h"

#include <cstdint>
#include <optional>
#include <string>

namespace ksv {

// Where a FileTransfer writes: <root>/<deviceFolder>/<the device's name for the file>, and how
// much the device folder, and the root with every device's folder, may hold in all.
struct FilesPlace {
    std::string root;         // the received-files root; created when missing
    std::string deviceFolder; // one component (DeviceFolderName); never followed if a link
    uint64_t quotaBytes = kDeviceFilesQuota;
    uint64_t allDevicesQuotaBytes = kAllFilesQuota;
};

// The device name as one harmless path component: no separators, no NUL, no leading dot, at
// most 80 UTF-16 units; no name: "Kestrovane".
std::string DeviceFolderName(const std::optional<std::u16string>& deviceName);

// Folder for the files a device sends: <filesRoot>/<DeviceFolderName>.
std::string DeviceFilesFolder(const std::string& filesRoot,
                              const std::optional<std::u16string>& deviceName);

} // namespace ksv
