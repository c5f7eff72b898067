#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace ksv::demo {

// One value entry of a Values frame (kind 7) from the handheld.
struct HandheldValue {
    uint32_t id = 0;
    std::vector<uint8_t> bytes;
};

// A frame the handheld sent: its kind and what its payload carried.
struct HandheldFrame {
    uint16_t kind = 0;
    std::vector<HandheldValue> values; // kind 7
    uint32_t argument = 0;             // kind 18
};

// Cuts the handheld's byte stream into frames. The stream has no lengths of its own, so the
// parser hunts for the marker and reads each payload as its kind lays it out; bytes that make
// no sense (an unknown kind, an absurd count) are dropped up to the next marker.
class HandheldFrameParser {
public:
    void Feed(const uint8_t* data, size_t size);
    // The next complete frame, or nothing until more bytes arrive.
    std::optional<HandheldFrame> Next();
    // Forget everything buffered (the port was closed under us).
    void Reset() { m_buffer.clear(); }

    size_t Buffered() const { return m_buffer.size(); }

private:
    enum class Parse { kComplete, kNeedMore, kBroken };

    bool AlignOnMarker();
    Parse ParsePayload(uint16_t kind, size_t& offset, HandheldFrame& frame) const;
    Parse ParseValues(size_t& offset, HandheldFrame& frame) const;
    bool Have(size_t offset, size_t length) const { return offset + length <= m_buffer.size(); }

    std::vector<uint8_t> m_buffer;
};

} // namespace ksv::demo
