#include "link/write_budget.h"

#include <algorithm>
#include <chrono>

namespace ksv {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int kAttemptWaitMs = 10;

} // namespace

ResultCode WriteWithinBudget(StreamPort& port, const uint8_t* data, uint32_t length,
                             uint32_t patience, const LinkLimits& limits) {
    if (LinkTap* tap = port.Tap(); tap && tap->FrameBytesWanted() > 0) {
        tap->OnFrame(TapDirection::kSent, data, std::min<size_t>(length, tap->FrameBytesWanted()),
                     length);
    }
    uint64_t attempts = uint64_t{length} * patience + 10;
    const Clock::time_point giveUpAt = Clock::now() + milliseconds(limits.frameWriteMs);
    Clock::time_point lastProgress = Clock::now();
    uint32_t done = 0;
    while (done < length) {
        size_t written = 0;
        ResultCode result = port.WriteSome(data + done, length - done, &written);
        if (result != kSuccess) {
            return result;
        }
        done += static_cast<uint32_t>(written);
        if (done == length) {
            break;
        }
        const Clock::time_point now = Clock::now();
        if (written > 0) {
            lastProgress = now;
        }
        if (--attempts == 0 || now >= giveUpAt ||
            now - lastProgress >= milliseconds(limits.writeStallMs)) {
            port.Purge(false);
            return kWriteGaveUp;
        }
        result = port.WaitWritable(kAttemptWaitMs);
        if (result != kSuccess) {
            return result;
        }
    }
    return kSuccess;
}

} // namespace ksv
