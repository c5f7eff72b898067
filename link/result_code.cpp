#include "link/result_code.h"

namespace ksv {
namespace {

// Per thread, as the platform's own errno: a failure on the receive thread never clobbers the
// one the GUI thread is about to look at.
thread_local int t_lastPlatformError = 0;

} // namespace

ResultCode PlatformError(int err) {
    t_lastPlatformError = err;
    return kPlatformFailure;
}

int LastPlatformError() {
    return t_lastPlatformError;
}

ResultCode AtBoundary(ResultCode result) {
    return result == kPlatformFailure ? static_cast<ResultCode>(t_lastPlatformError) : result;
}

} // namespace ksv
