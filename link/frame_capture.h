#pragma once

#include "link/byte_reader.h"
#include "link/link_tap.h"

#include <cstdint>
#include <vector>

namespace ksv {

// Reads for one receive run and tells the tap what the run took off the port: the bytes
// skipped before the marker, then the frame (its first FrameBytesWanted() bytes and its length).
//
// Thread contract: receive thread only. Flush may be called inside the run once the frame's
// payload has been read (before the run answers it), so that the frame is told before the reply.
class FrameCapture : public ByteReader {
public:
    // `tap` may be null: the capture then only forwards.
    void Begin(ByteReader& in, LinkTap* tap);
    // Tells what is still untold; the capture is then idle.
    void End();
    void Flush();

    ResultCode ReadBytes(void* buffer, uint32_t length) override;
    void SetInFrame(bool inFrame) override;

private:
    ByteReader* m_in = nullptr;
    LinkTap* m_tap = nullptr;
    size_t m_wanted = 0;
    bool m_inFrame = false;
    bool m_told = false;
    uint64_t m_hunted = 0; // bytes read while hunting, the marker's own included
    uint64_t m_frameLength = 0;
    std::vector<uint8_t> m_kept; // reused from run to run
};

} // namespace ksv
