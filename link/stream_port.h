#pragma once

#include "link/byte_reader.h"
#include "link/link_tap.h"
#include "link/result_code.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <sys/types.h>

namespace ksv {

// The link's port: one byte stream to the device (a serial device or a TCP connection) with
// its reader, writer, wake and purge, over a non-blocking descriptor polled beside an eventfd
// that Wake makes readable.
//
// Thread contract: one reader thread (Establish, ReadBytes) and any number of writers
// serialised by the caller (the link's write lock). Wake and Purge may be called from any
// thread while the port is open; the owner destroys the port only after the reader has stopped.
class StreamPort : public ByteReader {
public:
    ~StreamPort() override;
    StreamPort(const StreamPort&) = delete;
    StreamPort& operator=(const StreamPort&) = delete;

    // A port that opened at once is established; one that still has to connect finishes on
    // the reader thread with Establish (kLinkClosed after Wake, else the platform failure).
    bool IsEstablished() const { return m_fd.load() >= 0; }
    virtual ResultCode Establish() { return kSuccess; }

    // Waits until all bytes have arrived. kLinkClosed on hang-up, a vanished device or Wake.
    ResultCode ReadBytes(void* buffer, uint32_t length) override;
    // Inside a frame a read gives up (ETIMEDOUT) after frameStallMs without a byte, or once
    // the frame has taken longer than frameStallMs + its bytes / the minimum rate.
    void SetInFrame(bool inFrame) override;
    void SetMinFrameRate(uint32_t bytesPerSecond) { m_minFrameRate = bytesPerSecond; }
    // Bytes taken off the line since the port was opened.
    uint64_t BytesReceived() const { return m_received.load(); }

    // One write attempt without waiting: *written gets what the port took (possibly 0).
    // kLinkClosed after Wake or when the device vanished, a platform failure otherwise.
    ResultCode WriteSome(const uint8_t* data, size_t length, size_t* written);
    // Waits at most `waitMs` for room to write; kLinkClosed after Wake.
    ResultCode WaitWritable(int waitMs);

    // Makes every pending and future wait, read and write fail with kLinkClosed at once.
    void Wake();
    // Whether Wake has run: a kLinkClosed read then means our own close, not a hang-up.
    bool WasWoken() const { return m_woken.load(); }
    // Told of every byte read or written from now on; set before the reader starts.
    void SetTap(LinkTap* tap) { m_tap = tap; }
    LinkTap* Tap() const { return m_tap; }

    // Drops bytes not yet sent (transmit) and, with `receive`, those read but not yet used.
    virtual void Purge(bool receive);

protected:
    // Takes ownership of `fd` (or -1 until Adopt) and `wakeFd`.
    StreamPort(int fd, int wakeFd, int frameStallMs);
    // A fresh eventfd for the constructor, or -1 with errno set.
    static int MakeWakeFd();
    // Installs the descriptor of a port that has just been established (reader thread).
    void Adopt(int fd) { m_fd.store(fd); }
    int Fd() const { return m_fd.load(); }
    int WakeFd() const { return m_wakeFd; }
    // One non-blocking write of the descriptor; a socket sends without raising SIGPIPE.
    virtual ssize_t WriteRaw(int fd, const uint8_t* data, size_t length);

private:
    // Fills the read buffer with what is available, waiting for at least one byte.
    ResultCode Refill();
    // How long the next wait for bytes may take: -1 between frames, 0 once a frame is overdue.
    int WaitLimitMs() const;

    std::atomic<int> m_fd;
    LinkTap* m_tap = nullptr;
    int m_wakeFd; // eventfd, readable once Wake has run
    int m_frameStallMs;
    bool m_inFrame = false;      // reader thread only, as the frame's start below
    uint32_t m_minFrameRate = 0; // bytes per second; 0: no minimum
    std::chrono::steady_clock::time_point m_frameStart;
    uint64_t m_receivedAtFrameStart = 0;
    std::atomic<bool> m_woken{false};
    std::atomic<uint64_t> m_received{0};
    std::mutex m_bufferMutex; // guards the read buffer against a concurrent Purge
    std::array<uint8_t, 4096> m_buffer{};
    size_t m_begin = 0;
    size_t m_end = 0;
};

} // namespace ksv
