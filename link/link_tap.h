#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ksv {

enum class TapDirection : uint8_t { kReceived = 0, kSent = 1 };

// Sees the link's traffic: raw bytes as they cross the port and whole frames as the link cuts
// them. Used by the link monitor and the session recorder.
//
// Thread contract: OnBytes(kReceived), OnFrame(kReceived) and OnSkipped run on the receive
// thread; OnBytes(kSent) and OnFrame(kSent) on the sending thread with the link's write lock
// held; OnPortOpened on the GUI thread before the receive run starts. Each must return quickly
// and never wait for the GUI. Ownership: the tap outlives the link it is given to.
class LinkTap {
public:
    virtual ~LinkTap() = default;
    virtual void OnPortOpened() {}
    virtual void OnBytes(TapDirection /*direction*/, const uint8_t* /*data*/, size_t /*length*/) {}
    // The first `keptLength` bytes of a frame of `length` bytes, marker included.
    virtual void OnFrame(TapDirection /*direction*/, const uint8_t* /*kept*/, size_t /*keptLength*/,
                         uint64_t /*length*/) {}
    // Bytes dropped while hunting for the marker.
    virtual void OnSkipped(uint64_t /*count*/) {}
    // How many leading bytes of each frame OnFrame wants (0: no frames at all).
    virtual size_t FrameBytesWanted() const { return 0; }
};

// Hands everything on to several taps, in order. Filled before the link opens a port.
class TapList : public LinkTap {
public:
    void Add(LinkTap* tap) { m_taps.push_back(tap); }

    void OnPortOpened() override {
        for (LinkTap* tap : m_taps) {
            tap->OnPortOpened();
        }
    }
    void OnBytes(TapDirection direction, const uint8_t* data, size_t length) override {
        for (LinkTap* tap : m_taps) {
            tap->OnBytes(direction, data, length);
        }
    }
    void OnFrame(TapDirection direction, const uint8_t* kept, size_t keptLength,
                 uint64_t length) override {
        for (LinkTap* tap : m_taps) {
            const size_t wanted = tap->FrameBytesWanted();
            if (wanted > 0) {
                tap->OnFrame(direction, kept, keptLength < wanted ? keptLength : wanted, length);
            }
        }
    }
    void OnSkipped(uint64_t count) override {
        for (LinkTap* tap : m_taps) {
            tap->OnSkipped(count);
        }
    }
    size_t FrameBytesWanted() const override {
        size_t wanted = 0;
        for (const LinkTap* tap : m_taps) {
            wanted = tap->FrameBytesWanted() > wanted ? tap->FrameBytesWanted() : wanted;
        }
        return wanted;
    }

private:
    std::vector<LinkTap*> m_taps;
};

} // namespace ksv
