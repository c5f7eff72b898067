#include "link/device_folder.h"

#include "link/received_files.h"

namespace ksv {
std::string DeviceFilesFolder(const std::string& filesRoot,
                              const std::optional<std::u16string>& deviceName) {
    std::u16string name = deviceName.value_or(u"");
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
    return filesRoot + "/" + Utf16ToUtf8(name);
}

} // namespace ksv
