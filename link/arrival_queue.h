#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

namespace ksv {

// The arrival codes a receive thread decodes ahead of the GUI, for a sink that takes them in
// batches. Codes the GUI handles from the store's marks (values, styles, files, pings) fold
// into an equal code just before them and let the thread read on; every other code, or a full
// queue, parks the thread until the GUI resumes it, so the GUI sees a new panel, a layout, a
// reset, an error or the device's goodbye before anything that follows it.
//
// Thread contract: Push on the receive thread; Take and Resume on the GUI thread; Reset with
// the receive thread stopped. Every call takes the queue's own mutex.
class ArrivalQueue {
public:
    static constexpr size_t kCapacity = 64;

    struct Pushed {
        bool notify = false; // nothing was told since the last Take: post to the sink
        bool readOn = false; // decode the next frame at once; otherwise the thread has parked
    };

    Pushed Push(int32_t code);
    // Everything waiting, oldest first; at most kCapacity codes.
    std::vector<int32_t> Take();
    // True when the thread had parked: the caller starts its next run.
    bool Resume();
    // The thread ended without a code (the port went away): a later Resume starts a run.
    void Park();
    // Empty and parked, for a port just opened or closed.
    void Reset();

    // Whether the thread may go on decoding after a run that left `code`.
    static bool ReadsOnAfter(int32_t code);

private:
    std::mutex m_mutex;
    std::vector<int32_t> m_codes;
    bool m_told = false;
    bool m_parked = true;
};

} // namespace ksv
