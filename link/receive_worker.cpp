#include "link/receive_worker.h"

#include <utility>

namespace ksv {

ReceiveWorker::~ReceiveWorker() {
    Stop();
}

void ReceiveWorker::Start(Run run) {
    uint64_t generation = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        generation = ++m_generation;
        m_requested = false;
        if (m_thread.joinable()) {
            m_retired.push_back(std::move(m_thread)); // told to end by the new generation
        }
    }
    m_thread = std::thread([this, generation, run = std::move(run)] { Loop(generation, run); });
}

void ReceiveWorker::Request(ArrivalSink* sink) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_sink = sink;
        m_requested = true;
    }
    m_wake.notify_all();
}

void ReceiveWorker::Stop() {
    std::thread stopping;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_generation;
        stopping = std::move(m_thread);
        if (stopping.get_id() == std::this_thread::get_id()) {
            m_retired.push_back(std::move(stopping));
        }
    }
    m_wake.notify_all();
    if (stopping.joinable()) {
        stopping.join();
    }
    JoinRetired();
}

void ReceiveWorker::JoinRetired() {
    std::vector<std::thread> finishing;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<std::thread> kept;
        for (std::thread& thread : m_retired) {
            const bool self = thread.get_id() == std::this_thread::get_id();
            (self ? kept : finishing).push_back(std::move(thread));
        }
        m_retired = std::move(kept);
    }
    for (std::thread& thread : finishing) {
        thread.join();
    }
}

void ReceiveWorker::Loop(uint64_t generation, const Run& run) {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [&] { return m_generation != generation || m_requested; });
        if (m_generation != generation) {
            return;
        }
        m_requested = false;
        ArrivalSink* sink = m_sink;
        lock.unlock();
        run(sink);
        lock.lock();
    }
}

} // namespace ksv
