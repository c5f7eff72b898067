#include "platform/report_queue.h"

namespace ksv {

size_t& ReportQueue::WaitingOf(Kind kind) {
    return kind == Kind::Error ? m_waitingErrors : m_waitingMessages;
}

bool ReportQueue::Add(Kind kind, const std::u16string& text, ReportReason reason) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_entries.find(text);
    if (it != m_entries.end()) {
        ++it->second.count;
        return true;
    }
    const size_t bound = kind == Kind::Error ? kMaxWaitingErrors : kMaxWaitingMessages;
    if (WaitingOf(kind) >= bound)
        return false;
    Entry entry;
    entry.kind = kind;
    entry.reason = reason;
    entry.count = 1;
    entry.firstSequence = m_nextSequence++;
    m_entries.emplace(text, entry);
    m_waiting.push_back(text);
    ++WaitingOf(kind);
    return true;
}

void ReportQueue::RequestQuit() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_quitRequested)
        return;
    m_quitRequested = true;
    m_quitAfter = m_nextSequence;
}

ReportQueue::Work ReportQueue::TakeWork() {
    std::lock_guard<std::mutex> lock(m_mutex);
    Work work;
    for (auto& [text, entry] : m_entries) {
        if (entry.onScreen && entry.count != entry.shownCount) {
            entry.shownCount = entry.count;
            work.update.push_back({entry.kind, text, entry.reason, entry.count});
        }
    }
    while (m_onScreen < kMaxOnScreen && !m_waiting.empty()) {
        Entry& entry = m_entries[m_waiting.front()];
        --WaitingOf(entry.kind);
        entry.onScreen = true;
        entry.shownCount = entry.count;
        ++m_onScreen;
        work.open.push_back({entry.kind, m_waiting.front(), entry.reason, entry.count});
        m_waiting.pop_front();
    }
    if (QuitDue()) {
        m_quitRequested = false;
        work.quit = true;
    }
    return work;
}

bool ReportQueue::QuitDue() const {
    if (!m_quitRequested)
        return false;
    for (const auto& [text, entry] : m_entries) {
        if (entry.firstSequence < m_quitAfter)
            return false;
    }
    return true;
}

void ReportQueue::Dismissed(const std::u16string& text) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_entries.find(text);
    if (it == m_entries.end() || !it->second.onScreen)
        return;
    m_entries.erase(it);
    --m_onScreen;
}

bool ReportQueue::HasWork() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_waiting.empty() && m_onScreen < kMaxOnScreen)
        return true;
    for (const auto& [text, entry] : m_entries) {
        if (entry.onScreen && entry.count != entry.shownCount)
            return true;
    }
    return QuitDue();
}

size_t ReportQueue::WaitingCount() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_waiting.size();
}

size_t ReportQueue::OnScreenCount() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_onScreen;
}

std::u16string BoxText(const ReportQueue::Box& box) {
    if (box.count <= 1)
        return ExplainedText(box.text, box.reason);
    const std::string times = " (" + std::to_string(box.count) + " times)";
    return ExplainedText(box.text + std::u16string(times.begin(), times.end()), box.reason);
}

} // namespace ksv
