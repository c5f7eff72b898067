#include "platform/memory_settings_store.h"

namespace ksv {

int32_t MemorySettingsStore::GetProfileInt(const std::u16string& section, const std::string& key,
                                           int32_t defaultValue) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_values.find({section, key});
    return it == m_values.end() ? defaultValue : it->second;
}

void MemorySettingsStore::WriteProfileInt(const std::u16string& section, const std::string& key,
                                          int32_t value) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_values[{section, key}] = value;
}

size_t MemorySettingsStore::EntryCount() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_values.size();
}

} // namespace ksv
