#pragma once

#include "platform/error_reporter.h"

#include <mutex>
#include <string>
#include <vector>

// Keeps every report instead of showing it; safe from any thread.
class RecordingReporter : public ksv::ErrorReporter {
public:
    struct Report {
        std::string module;
        long value;
    };

    void ReportError(long, const char* module, long value, ksv::ReportReason) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_reports.push_back({module, value});
    }
    void ShowMessage(const std::u16string& text, ksv::ReportReason) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_messages.push_back(text);
    }
    void RequestQuit() override {}

    std::vector<Report> Reports() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_reports;
    }
    size_t ReportCount(const std::string& module) const {
        size_t count = 0;
        for (const Report& report : Reports()) {
            count += report.module == module ? 1 : 0;
        }
        return count;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<Report> m_reports;
    std::vector<std::u16string> m_messages;
};
