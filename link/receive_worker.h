#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace ksv {

class ArrivalSink;

// The thread that carries the receive runs of one open port: each Request runs `run` once.
//
// Thread contract: Start, Request and Stop from the GUI thread; Request and Stop also from
// inside a run (a post), where Stop cannot join its own thread and retires it instead: the
// thread then touches nothing but its own copy of `run` and this object's wait, and is joined
// by the next Stop on another thread or by the destructor, which must not run on it. No lock
// a run may wait for is to be held around Stop.
class ReceiveWorker {
public:
    using Run = std::function<void(ArrivalSink* sink)>;

    ReceiveWorker() = default;
    ~ReceiveWorker();
    ReceiveWorker(const ReceiveWorker&) = delete;
    ReceiveWorker& operator=(const ReceiveWorker&) = delete;

    void Start(Run run);
    void Request(ArrivalSink* sink);
    // The run in progress must already have been woken (its port woken) to end promptly.
    void Stop();

private:
    void Loop(uint64_t generation, const Run& run);
    void JoinRetired();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_requested = false;
    uint64_t m_generation = 0; // a newer generation tells the thread its port has closed
    ArrivalSink* m_sink = nullptr;
    std::thread m_thread;
    std::vector<std::thread> m_retired;
};

} // namespace ksv
