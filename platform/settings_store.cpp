#include "platform/settings_store.h"

#include <cstdint>

namespace ksv {

int32_t SettingsStore::GetProfileInt(const std::u16string& section, const std::string& key,
                                     int32_t defaultValue) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    int32_t value = 0;
    return ReadValue(section, key, value) ? value : defaultValue;
}

void SettingsStore::WriteProfileInt(const std::u16string& section, const std::string& key,
                                    int32_t value) {
    WriteProfileIntWithin(section, key, value, SIZE_MAX);
}

bool SettingsStore::WriteProfileIntWithin(const std::u16string& section, const std::string& key,
                                          int32_t value, size_t maxSectionEntries) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const bool stored = StoreChanged(section, key, value, maxSectionEntries);
    CommitIfOutsideBatch();
    return stored;
}

size_t SettingsStore::SectionEntryCount(const std::u16string& section) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return SectionCount(section);
}

bool SettingsStore::StoreChanged(const std::u16string& section, const std::string& key,
                                 int32_t value, size_t maxSectionEntries) {
    int32_t current = 0;
    if (ReadValue(section, key, current)) {
        if (current != value) {
            StoreValue(section, key, value);
            m_uncommitted = true;
        }
        return true;
    }
    size_t& count = SectionCount(section);
    if (count >= maxSectionEntries) {
        return false;
    }
    StoreValue(section, key, value);
    ++count;
    m_uncommitted = true;
    return true;
}

size_t& SettingsStore::SectionCount(const std::u16string& section) const {
    auto it = m_sectionCounts.find(section);
    if (it == m_sectionCounts.end()) {
        it = m_sectionCounts.emplace(section, CountEntries(section)).first;
    }
    return it->second;
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
