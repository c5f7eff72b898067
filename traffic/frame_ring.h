#pragma once

#include "traffic/captured_frame.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace ksv {

inline constexpr size_t kFrameRingCapacity = 10000;

// The last frames of the link in both directions, kept from the start of the program so that
// the monitor shows what happened before it was opened.
//
// Thread contract: the LinkTap side runs on the link's threads (one short lock, one copy of at
// most kKeptFrameBytes per frame); Since and Clear on any thread, typically the GUI's timer.
class FrameRing : public LinkTap {
public:
    explicit FrameRing(size_t capacity = kFrameRingCapacity);

    void OnPortOpened() override;
    void OnFrame(TapDirection direction, const uint8_t* kept, size_t keptLength,
                 uint64_t length) override;
    void OnSkipped(uint64_t count) override;
    size_t FrameBytesWanted() const override { return kKeptFrameBytes; }

    struct Batch {
        std::vector<FramePtr> frames; // oldest first
        uint64_t lost = 0;            // frames after `after` that the ring no longer holds
        uint64_t last = 0;            // the sequence to ask after next time
    };
    // Frames with a sequence above `after` (0: all the ring holds).
    Batch Since(uint64_t after) const;
    void Clear();
    size_t Capacity() const { return m_capacity; }

private:
    using Clock = std::chrono::steady_clock;
    void Push(CapturedFrame frame);

    const size_t m_capacity;
    mutable std::mutex m_mutex;
    std::deque<FramePtr> m_frames;
    uint64_t m_nextSequence = 1;
    Clock::time_point m_openedAt = Clock::now();
};

} // namespace ksv
