#pragma once

#include "link/link.h"
#include "platform/error_reporter.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace ksv::testing {

// Counts arrivals posted by the receive thread, and the ports it lost, and lets a test wait
// for them.
class ArrivalCounter : public ArrivalSink {
public:
    void PostLinkLost(ResultCode reason) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_lost.push_back(reason);
        m_changed.notify_all();
    }
    // The reasons of the first `count` losses, or fewer when the deadline passes first.
    std::vector<ResultCode>
    WaitForLinkLost(int count = 1, std::chrono::milliseconds deadline = std::chrono::seconds(5)) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait_for(lock, deadline, [&] { return m_lost.size() >= size_t(count); });
        return m_lost;
    }
    size_t LinkLost() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_lost.size();
    }
    void PostArrival() override {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_posts;
        m_changed.notify_all();
    }
    // True once at least `count` posts have arrived within the deadline.
    bool WaitFor(int count, std::chrono::milliseconds deadline = std::chrono::seconds(5)) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, deadline, [&] { return m_posts >= count; });
    }
    int Posts() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_posts;
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_posts = 0;
    std::vector<ResultCode> m_lost;
};

// Keeps the error reports (any thread) for the test to look at.
class ThreadSafeReporter : public ErrorReporter {
public:
    void ReportError(long, const char* module, long value, ksv::ReportReason reason) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_modules.push_back(module);
        m_values.push_back(value);
        m_reasons.push_back(reason);
    }
    void ShowMessage(const std::u16string& text, ksv::ReportReason) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_messages.push_back(text);
    }
    void RequestQuit() override {}

    std::vector<long> Values() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_values;
    }
    std::vector<std::string> Modules() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_modules;
    }
    std::vector<ksv::ReportReason> Reasons() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_reasons;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_modules;
    std::vector<long> m_values;
    std::vector<ksv::ReportReason> m_reasons;
    std::vector<std::u16string> m_messages;
};

} // namespace ksv::testing
