#pragma once

#include "platform/settings_store.h"

#include <map>
#include <mutex>
#include <utility>

namespace ksv {

// Settings held in memory only; used where nothing must reach the disk (tests, tools).
class MemorySettingsStore : public SettingsStore {
public:
    int32_t GetProfileInt(const std::u16string& section, const std::string& key,
                          int32_t defaultValue) const override;
    void WriteProfileInt(const std::u16string& section, const std::string& key,
                         int32_t value) override;

    // Number of entries stored, all sections together.
    size_t EntryCount() const;

private:
    mutable std::mutex m_mutex;
    std::map<std::pair<std::u16string, std::string>, int32_t> m_values;
};

} // namespace ksv
