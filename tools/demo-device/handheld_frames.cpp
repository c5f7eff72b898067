#include "handheld_frames.h"

#include "link/frame.h"

#include <algorithm>

namespace ksv::demo {
namespace {

// Limits that no panel of this demo comes near; beyond them the frame is taken as garbage.
constexpr uint32_t kMaxEntries = 4096;
constexpr uint32_t kMaxValueBytes = 1 << 20;

} // namespace

void HandheldFrameParser::Feed(const uint8_t* data, size_t size) {
    m_buffer.insert(m_buffer.end(), data, data + size);
}

bool HandheldFrameParser::AlignOnMarker() {
    const auto found =
        std::search(m_buffer.begin(), m_buffer.end(), kSyncMarker.begin(), kSyncMarker.end());
    if (found == m_buffer.end()) {
        // Keep a tail that may be the start of a marker split across reads.
        const size_t keep = std::min(m_buffer.size(), kSyncMarker.size() - 1);
        m_buffer.erase(m_buffer.begin(), m_buffer.end() - keep);
        return false;
    }
    m_buffer.erase(m_buffer.begin(), found);
    return true;
}

std::optional<HandheldFrame> HandheldFrameParser::Next() {
    while (AlignOnMarker()) {
        if (!Have(0, kFramePrefixSize)) {
            return std::nullopt;
        }
        const FrameHeader header = DecodeFrameHeader(m_buffer.data() + kSyncMarker.size());
        HandheldFrame frame;
        frame.kind = header.kind;
        size_t offset = kFramePrefixSize;
        switch (ParsePayload(header.kind, offset, frame)) {
        case Parse::kNeedMore:
            return std::nullopt;
        case Parse::kBroken:
            m_buffer.erase(m_buffer.begin()); // give up on this marker, hunt for the next
            continue;
        case Parse::kComplete:
            m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<long>(offset));
            return frame;
        }
    }
    return std::nullopt;
}

HandheldFrameParser::Parse HandheldFrameParser::ParsePayload(uint16_t kind, size_t& offset,
                                                             HandheldFrame& frame) const {
    switch (kind) {
    case kMsgHello:
    case kMsgGoodbyeFromHandheld:
    case kMsgPing:
    case kMsgPingReplyToDevice:
    case kMsgAcknowledge:
        return Parse::kComplete;
    case kMsgLayoutRequest:
        if (!Have(offset, 4)) {
            return Parse::kNeedMore;
        }
        frame.argument = GetU32(m_buffer.data() + offset);
        offset += 4;
        return Parse::kComplete;
    case kMsgValuesToDevice:
        return ParseValues(offset, frame);
    default:
        return Parse::kBroken;
    }
}

HandheldFrameParser::Parse HandheldFrameParser::ParseValues(size_t& offset,
                                                            HandheldFrame& frame) const {
    if (!Have(offset, 4)) {
        return Parse::kNeedMore;
    }
    const uint32_t count = GetU32(m_buffer.data() + offset);
    if (count > kMaxEntries) {
        return Parse::kBroken;
    }
    offset += 4;
    for (uint32_t i = 0; i < count; ++i) {
        if (!Have(offset, 8)) {
            return Parse::kNeedMore;
        }
        HandheldValue value;
        value.id = GetU32(m_buffer.data() + offset);
        const uint32_t length = GetU32(m_buffer.data() + offset + 4);
        if (length > kMaxValueBytes) {
            return Parse::kBroken;
        }
        offset += 8;
        if (!Have(offset, length)) {
            return Parse::kNeedMore;
        }
        value.bytes.assign(m_buffer.begin() + static_cast<long>(offset),
                           m_buffer.begin() + static_cast<long>(offset + length));
        offset += length;
        frame.values.push_back(std::move(value));
    }
    return Parse::kComplete;
}

} // namespace ksv::demo
