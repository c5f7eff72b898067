#include "platform/memory_settings_store.h"

namespace ksv {

bool MemorySettingsStore::ReadValue(const std::u16string& section, const std::string& key,
                                    int32_t& value) const {
    auto it = m_values.find({section, key});
    if (it == m_values.end())
        return false;
    value = it->second;
    return true;
}

void MemorySettingsStore::StoreValue(const std::u16string& section, const std::string& key,
                                     int32_t value) {
    m_values[{section, key}] = value;
}

bool MemorySettingsStore::Commit() {
    if (m_commitFails)
        return false;
    ++m_commits;
    return true;
}

size_t MemorySettingsStore::CountEntries(const std::u16string& section) const {
    auto it = m_values.lower_bound({section, std::string()});
    size_t count = 0;
    for (; it != m_values.end() && it->first.first == section; ++it) {
        ++count;
    }
    return count;
}

size_t MemorySettingsStore::EntryCount() const {
    std::lock_guard<std::mutex> lock(Mutex());
    return m_values.size();
}

size_t MemorySettingsStore::CommitCount() const {
    std::lock_guard<std::mutex> lock(Mutex());
    return m_commits;
}

void MemorySettingsStore::SetCommitFails(bool fails) {
    std::lock_guard<std::mutex> lock(Mutex());
    m_commitFails = fails;
}

} // namespace ksv
