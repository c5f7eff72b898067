#pragma once

#include <string>
#include <vector>

namespace ksv {

// Replaces this process with a fresh start of the same program file (/proc/self/exe, so a
// relative argv[0] or a changed PATH does not matter). Returns only on failure, with errno.
// Call after the application object and everything holding a port or file is gone.
int ExecProgramAgain(const std::vector<std::string>& arguments);

} // namespace ksv
