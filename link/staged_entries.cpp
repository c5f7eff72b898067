#include "link/staged_entries.h"

#include <utility>
#include <vector>

namespace ksv {
namespace {

// A batch goes into the store when it holds this much, so staging stays small.
constexpr size_t kMaxStagedBytes = 1u << 20;
constexpr size_t kMaxStagedEntries = 4096;

struct StagedEntry {
    uint32_t id = 0;
    EntryBytes bytes;
};

class EntryBatch {
public:
    EntryBatch(PanelStore& store, const EntryRules& rules) : m_store(store), m_rules(rules) {}

    bool Full() const {
        return m_bytes >= kMaxStagedBytes || m_entries.size() >= kMaxStagedEntries;
    }

    void Add(uint32_t id, EntryBytes bytes) {
        m_bytes += bytes.head.size() + sizeof(StagedEntry);
        m_entries.push_back(StagedEntry{id, std::move(bytes)});
    }

    ResultCode Flush() {
        ResultCode result = kSuccess;
        {
            const StoreLock lock(m_store);
            for (const StagedEntry& entry : m_entries) {
                ControlRecord* record = lock.FindControl(entry.id);
                result = record ? m_rules.apply(*record, entry.bytes) : kSuccess;
                if (result != kSuccess) {
                    break;
                }
            }
        }
        m_entries.clear();
        m_bytes = 0;
        return result;
    }

private:
    PanelStore& m_store;
    const EntryRules& m_rules;
    std::vector<StagedEntry> m_entries;
    size_t m_bytes = 0;
};

// Only this thread replaces the list, so the record looked up here is still there at the flush.
std::optional<size_t> BytesToKeep(PanelStore& store, const EntryRules& rules, uint32_t id) {
    const StoreLock lock(store);
    return rules.keep(lock.FindControl(id));
}

// Reads one entry into the batch, or past it when no control has its identifier.
ResultCode ReadOneEntry(ByteReader& in, PanelStore& store, const EntryRules& rules,
                        EntryBatch& batch) {
    uint32_t id = 0;
    uint32_t length = 0;
    ResultCode rc = ReadU32(in, id);
    if (rc == kSuccess) {
        rc = ReadU32(in, length);
    }
    if (rc != kSuccess) {
        return rc;
    }
    const std::optional<size_t> keep = BytesToKeep(store, rules, id);
    if (!keep) {
        return SkipBytes(in, length);
    }
    EntryBytes bytes;
    rc = ReadEntry(in, length, *keep, bytes);
    if (rc == kSuccess) {
        batch.Add(id, std::move(bytes));
    }
    return rc;
}

} // namespace

ResultCode ApplyEntries(ByteReader& in, PanelStore& store, const EntryRules& rules) {
    uint32_t count = 0;
    ResultCode rc = ReadU32(in, count);
    if (rc != kSuccess) {
        return rc;
    }
    EntryBatch batch(store, rules);
    for (uint32_t i = 0; i < count; ++i) {
        rc = ReadOneEntry(in, store, rules, batch);
        if (rc != kSuccess) {
            const ResultCode applied = batch.Flush();
            return applied != kSuccess ? applied : rc;
        }
        if (batch.Full()) {
            rc = batch.Flush();
            if (rc != kSuccess) {
                return rc;
            }
        }
    }
    return batch.Flush();
}

} // namespace ksv
