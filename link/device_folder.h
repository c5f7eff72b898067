#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ksv {

inline constexpr uint64_t kDefaultDeviceQuota = uint64_t{1} << 30;

// Where a FileTransfer writes: <root>/<deviceFolder>/<the device's name for the file>, and how
// much the device folder may hold in all.
struct FilesPlace {
    std::string root;         // the received-files root; created when missing
    std::string deviceFolder; // one component (DeviceFolderName); never followed if a link
    uint64_t quotaBytes = kDefaultDeviceQuota;
};

// The device name as one harmless path component: no separators, no NUL, no leading dot, at
// most 80 UTF-16 units; no name: "Kestrovane".
std::string DeviceFolderName(const std::optional<std::u16string>& deviceName);

// Folder for the files a device sends: <filesRoot>/<DeviceFolderName>.
std::string DeviceFilesFolder(const std::string& filesRoot,
                              const std::optional<std::u16string>& deviceName);

} // namespace ksv
