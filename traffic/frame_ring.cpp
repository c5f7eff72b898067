#include "traffic/frame_ring.h"

#include <algorithm>
#include <utility>

namespace ksv {

FrameRing::FrameRing(size_t capacity) : m_capacity(std::max<size_t>(capacity, 1)) {}

void FrameRing::OnPortOpened() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_openedAt = Clock::now();
}

void FrameRing::OnFrame(TapDirection direction, const uint8_t* kept, size_t keptLength,
                        uint64_t length) {
    CapturedFrame frame;
    frame.direction = direction;
    frame.length = length;
    frame.bytes.assign(kept, kept + std::min(keptLength, kKeptFrameBytes));
    Push(std::move(frame));
}

void FrameRing::OnSkipped(uint64_t count) {
    CapturedFrame frame;
    frame.skipped = true;
    frame.length = count;
    Push(std::move(frame));
}

void FrameRing::Push(CapturedFrame frame) {
    auto shared = std::make_shared<CapturedFrame>(std::move(frame));
    std::lock_guard<std::mutex> lock(m_mutex);
    shared->micros =
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - m_openedAt).count();
    shared->sequence = m_nextSequence++;
    if (m_frames.size() == m_capacity) {
        m_frames.pop_front();
    }
    m_frames.push_back(std::move(shared));
}

FrameRing::Batch FrameRing::Since(uint64_t after) const {
    Batch batch;
    std::lock_guard<std::mutex> lock(m_mutex);
    batch.last = std::max(after, m_nextSequence - 1);
    if (m_frames.empty()) {
        return batch; // cleared: nothing to show, nothing lost
    }
    const uint64_t oldest = m_frames.front()->sequence;
    batch.lost = oldest > after + 1 ? oldest - after - 1 : 0;
    const size_t skip = after >= oldest ? static_cast<size_t>(after - oldest + 1) : 0;
    if (skip < m_frames.size()) {
        batch.frames.assign(m_frames.begin() + static_cast<std::ptrdiff_t>(skip), m_frames.end());
    }
    return batch;
}

void FrameRing::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_frames.clear();
}

} // namespace ksv
