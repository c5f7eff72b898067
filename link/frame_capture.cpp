#include "link/frame_capture.h"

#include "link/frame.h"

#include <algorithm>

namespace ksv {

void FrameCapture::Begin(ByteReader& in, LinkTap* tap) {
    m_in = &in;
    m_tap = tap;
    m_wanted = tap ? tap->FrameBytesWanted() : 0;
    m_inFrame = false;
    m_told = false;
    m_hunted = 0;
    m_frameLength = 0;
    m_kept.clear();
}

ResultCode FrameCapture::ReadBytes(void* buffer, uint32_t length) {
    const ResultCode result = m_in->ReadBytes(buffer, length);
    if (result != kSuccess || !m_tap) {
        return result;
    }
    if (!m_inFrame) {
        m_hunted += length;
        return result;
    }
    if (m_told) {
        return result; // the rest of a frame already told is not the monitor's business
    }
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    const size_t room = m_wanted > m_kept.size() ? m_wanted - m_kept.size() : 0;
    m_kept.insert(m_kept.end(), bytes, bytes + std::min<size_t>(room, length));
    m_frameLength += length;
    return result;
}

void FrameCapture::SetInFrame(bool inFrame) {
    m_in->SetInFrame(inFrame);
    if (!inFrame || !m_tap || m_inFrame) {
        return;
    }
    m_inFrame = true;
    const uint64_t skipped = m_hunted - std::min<uint64_t>(m_hunted, kSyncMarker.size());
    if (skipped > 0) {
        m_tap->OnSkipped(skipped);
    }
    m_hunted = 0;
    const size_t markerKept = std::min(m_wanted, kSyncMarker.size());
    m_kept.assign(kSyncMarker.begin(), kSyncMarker.begin() + markerKept);
    m_frameLength = kSyncMarker.size();
}

void FrameCapture::Flush() {
    if (!m_tap || m_told) {
        return;
    }
    if (m_inFrame) {
        m_tap->OnFrame(TapDirection::kReceived, m_kept.data(), m_kept.size(), m_frameLength);
        m_told = true;
    } else if (m_hunted > 0) {
        m_tap->OnSkipped(m_hunted); // the port went away before a marker
        m_hunted = 0;
    }
}

void FrameCapture::End() {
    Flush();
    m_in = nullptr;
    m_tap = nullptr;
}

} // namespace ksv
