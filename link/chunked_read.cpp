#include "link/chunked_read.h"

#include "link/frame.h"

#include <algorithm>
#include <cstring>

namespace ksv {

ResultCode ReadU32(ByteReader& in, uint32_t& value) {
    uint8_t bytes[4];
    const ResultCode rc = in.ReadBytes(bytes, sizeof bytes);
    if (rc != kSuccess) {
        return rc;
    }
    value = GetU32(bytes);
    return kSuccess;
}

ResultCode ReadChunked(ByteReader& in, uint32_t length, std::vector<uint8_t>& out) {
    out.clear();
    uint32_t done = 0;
    while (done < length) {
        const uint32_t piece = std::min(kReadChunk, length - done);
        out.resize(static_cast<size_t>(done) + piece);
        const ResultCode rc = in.ReadBytes(out.data() + done, piece);
        if (rc != kSuccess) {
            out.clear();
            return rc;
        }
        done += piece;
    }
    return kSuccess;
}

ResultCode SkipBytes(ByteReader& in, uint32_t length) {
    std::vector<uint8_t> piece(std::min(kReadChunk, length));
    uint32_t done = 0;
    while (done < length) {
        const uint32_t count = std::min(kReadChunk, length - done);
        const ResultCode rc = in.ReadBytes(piece.data(), count);
        if (rc != kSuccess) {
            return rc;
        }
        done += count;
    }
    return kSuccess;
}

ResultCode ReadEntry(ByteReader& in, uint32_t length, size_t keep, EntryBytes& out) {
    out.head.clear();
    out.tail.fill(0);
    out.length = length;
    std::vector<uint8_t> piece(std::min(kReadChunk, length));
    uint32_t done = 0;
    while (done < length) {
        const uint32_t count = std::min(kReadChunk, length - done);
        const ResultCode rc = in.ReadBytes(piece.data(), count);
        if (rc != kSuccess) {
            return rc;
        }
        if (out.head.size() < keep) {
            const size_t take = std::min<size_t>(keep - out.head.size(), count);
            out.head.insert(out.head.end(), piece.begin(), piece.begin() + take);
        }
        // Shift the tail left and append the newest bytes.
        const size_t fresh = std::min<size_t>(count, out.tail.size());
        std::memmove(out.tail.data(), out.tail.data() + fresh, out.tail.size() - fresh);
        std::memcpy(out.tail.data() + out.tail.size() - fresh, piece.data() + count - fresh, fresh);
        done += count;
    }
    return kSuccess;
}

} // namespace ksv
