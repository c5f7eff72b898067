#include "link/open_failure.h"

#include "link/tcp_address.h"

#include <cerrno>
#include <cstring>
#include <grp.h>
#include <sys/stat.h>

namespace ksv {
namespace {

// Serial devices belong to a group whose members may open them; root's group grants nothing.
std::string DeviceGroup(const std::string& device) {
    struct stat info {};
    if (stat(device.c_str(), &info) != 0 || info.st_gid == 0) {
        return "dialout";
    }
    const group* owner = getgrgid(info.st_gid);
    return owner && owner->gr_name ? owner->gr_name : "dialout";
}

} // namespace

std::string PermissionFix(const std::string& device) {
    return "sudo usermod -aG " + DeviceGroup(device) + " $USER, then log in again";
}

std::string DescribeOpenFailure(ResultCode result, const PortEntry& entry) {
    const std::string device = ShownDevicePath(entry.device);
    if (result == kSpeedRefused) {
        return device + " does not take " + std::to_string(entry.speed) +
               " baud: choose another speed in Settings > Com Ports...";
    }
    if (result <= 0 || result == kLinkClosed) {
        return {};
    }
    if (IsTcpEntry(entry.device)) {
        return entry.device + ": " + std::strerror(result);
    }
    switch (static_cast<int>(result)) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return device + " is missing: plug the device in or switch it on, or choose another "
                        "port.";
    case EACCES:
    case EPERM:
        return "No permission to open " + device + ": " + PermissionFix(entry.device) + ".";
    case EBUSY:
        return device + " is in use by another program.";
    default:
        return device + ": " + std::strerror(result);
    }
}

} // namespace ksv
