#pragma once

#include "platform/settings_store.h"

#include <map>
#include <utility>

namespace ksv {

// Settings held in memory only; used where nothing must reach the disk (tests, tools). A
// commit only counts itself, or fails when told to.
class MemorySettingsStore : public SettingsStore {
public:
    // Number of entries stored, all sections together.
    size_t EntryCount() const;
    // Commits made so far: one per write outside a batch, one per outermost batch that wrote.
    size_t CommitCount() const;
    // Makes later commits fail, as a read-only file would.
    void SetCommitFails(bool fails);

protected:
    bool ReadValue(const std::u16string& section, const std::string& key,
                   int32_t& value) const override;
    void StoreValue(const std::u16string& section, const std::string& key, int32_t value) override;
    bool Commit() override;
    size_t CountEntries(const std::u16string& section) const override;

private:
    std::map<std::pair<std::u16string, std::string>, int32_t> m_values;
    size_t m_commits = 0;
    bool m_commitFails = false;
};

} // namespace ksv
