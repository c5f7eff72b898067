#include "link/device_folder.h"

#include "link/received_files.h"

namespace ksv {
namespace {

// Keeps the folder name well inside the usual 255-byte limit (3 UTF-8 bytes per unit at most).
constexpr size_t kMaxNameUnits = 80;

} // namespace

std::string DeviceFolderName(const std::optional<std::u16string>& deviceName) {
    std::u16string name = deviceName.value_or(u"");
    if (name.size() > kMaxNameUnits) {
        const bool splitsPair =
            name[kMaxNameUnits - 1] >= 0xD800 && name[kMaxNameUnits - 1] <= 0xDBFF;
        name.resize(splitsPair ? kMaxNameUnits - 1 : kMaxNameUnits);
    }
    for (char16_t& unit : name) {
        if (unit == u'/' || unit == u'\\' || unit == 0) {
            unit = u'_';
        }
    }
    if (!name.empty() && name.front() == u'.') {
        name.front() = u'_';
    }
    if (name.empty()) {
        name = u"Kestrovane";
    }
    return Utf16ToUtf8(name);
}

std::string DeviceFilesFolder(const std::string& filesRoot,
                              const std::optional<std::u16string>& deviceName) {
    return filesRoot + "/" + DeviceFolderName(deviceName);
}

} // namespace ksv
