#pragma once

#include "link/port_path.h"
#include "link/result_code.h"

#include <string>

namespace ksv {

// The one-line reason why OpenPort failed for `entry` with `result` (its value at the link's
// boundary): the device is missing, not permitted, in use, refuses the speed, or the
// platform's own words. Empty for results that are no failure to open.
std::string DescribeOpenFailure(ResultCode result, const PortEntry& entry);

// The one-line fix for a device the user may not open: joining the group that owns it
// ("sudo usermod -aG dialout $USER, then log in again").
std::string PermissionFix(const std::string& device);

} // namespace ksv
