#include "app/program_restart.h"

#include "app/argument_vector.h"

#include <cerrno>
#include <unistd.h>

namespace ksv {

int ExecProgramAgain(const std::vector<std::string>& arguments) {
    ArgumentVector argv(arguments);
    ::execv("/proc/self/exe", argv.Values());
    return errno;
}

} // namespace ksv
