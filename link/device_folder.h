#pragma once

#include <optional>
#include <string>

namespace ksv {

// Folder for the files a device sends: <filesRoot>/<name>, where the device name becomes one
// harmless path component (no separators, no NUL, no leading dot, at most 80 UTF-16 units);
// no name: "Kestrovane".
std::string DeviceFilesFolder(const std::string& filesRoot,
                              const std::optional<std::u16string>& deviceName);

} // namespace ksv
