#include "platform/settings_store.h"

namespace ksv {

int32_t SettingsStore::GetProfileInt(const std::u16string& section, const std::string& key,
                                     int32_t defaultValue) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    int32_t value = 0;
    return ReadValue(section, key, value) ? value : defaultValue;
}

void SettingsStore::WriteProfileInt(const std::u16string& section, const std::string& key,
                                    int32_t value) {
    std::lock_guard<std::mutex> lock(m_mutex);
    StoreValue(section, key, value);
    m_uncommitted = true;
    CommitIfOutsideBatch();
}

bool SettingsStore::LastWriteFailed() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lastWriteFailed;
}

void SettingsStore::BeginBatch() {
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_batchDepth[std::this_thread::get_id()];
}

void SettingsStore::EndBatch() {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_batchDepth.find(std::this_thread::get_id());
    if (it == m_batchDepth.end())
        return;
    if (--it->second > 0)
        return;
    m_batchDepth.erase(it);
    CommitIfOutsideBatch();
}

void SettingsStore::CommitIfOutsideBatch() {
    if (!m_uncommitted || m_batchDepth.count(std::this_thread::get_id()) != 0)
        return;
    m_lastWriteFailed = !Commit();
    // A failed commit stays due, so the next write retries it.
    m_uncommitted = m_lastWriteFailed;
}

SettingsBatch::SettingsBatch(SettingsStore& store) : m_store(store) {
    m_store.BeginBatch();
}

SettingsBatch::~SettingsBatch() {
    m_store.EndBatch();
}

} // namespace ksv
