#pragma once

#include "link/byte_reader.h"
#include "link/result_code.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

namespace ksv {

// One open serial device configured for the link: 115200 baud, raw, 8N1, no flow control.
//
// Thread contract: one reader thread (ReadBytes) and any number of writers serialised by the
// caller (the link's write lock). Wake and Purge may be called from any thread while the port is
// open; the owner destroys the port only after the reader has stopped.
class SerialPort : public ByteReader {
public:
    // Opens `path` exclusively; the platform failure of the call otherwise. Inside a frame a
    // read that gets no byte for `frameStallMs` fails with ETIMEDOUT.
    static ResultCode Open(const std::string& path, int frameStallMs,
                           std::unique_ptr<SerialPort>& out);
    ~SerialPort() override;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Waits until all bytes have arrived. kLinkClosed on hang-up, a vanished device or Wake.
    ResultCode ReadBytes(void* buffer, uint32_t length) override;
    void SetInFrame(bool inFrame) override { m_inFrame = inFrame; }
    // Bytes taken off the line since the port was opened.
    uint64_t BytesReceived() const { return m_received.load(); }

    // One write attempt without waiting: *written gets what the port took (possibly 0).
    // kLinkClosed after Wake or when the device vanished, a platform failure otherwise.
    ResultCode WriteSome(const uint8_t* data, size_t length, size_t* written);
    // Waits at most `waitMs` for room to write; kLinkClosed after Wake.
    ResultCode WaitWritable(int waitMs);

    // Makes every pending and future read and write fail with kLinkClosed at once.
    void Wake();
    // Drops bytes not yet sent (transmit) and, with `receive`, those not yet read.
    void Purge(bool receive);

private:
    SerialPort(int fd, int wakeFd, int frameStallMs);
    // Fills the read buffer with what is available, waiting for at least one byte.
    ResultCode Refill();

    int m_fd;
    int m_wakeFd; // eventfd, readable once Wake has run
    int m_frameStallMs;
    bool m_inFrame = false; // reader thread only
    std::atomic<bool> m_woken{false};
    std::atomic<uint64_t> m_received{0};
    std::mutex m_bufferMutex; // guards the read buffer against a concurrent Purge
    std::array<uint8_t, 4096> m_buffer{};
    size_t m_begin = 0;
    size_t m_end = 0;
};

} // namespace ksv
