#pragma once

#include <cstddef>
#include <cstdint>
#include <sys/types.h>
#include <unistd.h>

namespace ksv::demo {

// The demo device's end of the way to the handheld: a pseudo-terminal or a TCP listener.
class DevicePort {
public:
    virtual ~DevicePort() = default;
    // The non-blocking descriptor the handheld is read and written on while it is there.
    virtual int Fd() const = 0;
    // Whether a handheld is there now (a TCP port takes a waiting connection); after it has
    // gone this is false at least once, so that the session can end before the next begins.
    virtual bool PeerPresent() = 0;
    // Drop whatever is queued either way (after a hang-up, so a new peer starts clean).
    virtual void Flush() = 0;
    // One non-blocking write to the peer, as write(2) returns it; a peer that has gone gives
    // an error, never a signal.
    virtual ssize_t Write(const uint8_t* data, size_t length) {
        return ::write(Fd(), data, length);
    }
};

} // namespace ksv::demo
