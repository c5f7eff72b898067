#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace ksv {

// The application's profile: 32-bit integers under (section, key).
//
// Thread contract: safe to call from any thread; the receive thread writes layout entries while
// the GUI thread reads and writes. One mutex per store serialises every access. A missing entry
// yields the default; the store never shows errors to the user.
//
// Writing: every WriteProfileInt is visible to readers at once and is committed to the medium
// (the settings file) before it returns, unless the calling thread holds a SettingsBatch: then
// the commit waits until that thread's outermost batch ends, so a thousand writes cost one file
// write. A commit writes every value held, whichever thread wrote it. A write of the value an
// entry already holds changes nothing and commits nothing.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    int32_t GetProfileInt(const std::u16string& section, const std::string& key,
                          int32_t defaultValue) const;
    void WriteProfileInt(const std::u16string& section, const std::string& key, int32_t value);
    // As WriteProfileInt, but a new entry is refused (false) once the section holds
    // `maxSectionEntries`; entries already there are always updated.
    bool WriteProfileIntWithin(const std::u16string& section, const std::string& key, int32_t value,
                               size_t maxSectionEntries);
    // Entries the section holds.
    size_t SectionEntryCount(const std::u16string& section) const;

    // True when the most recent commit failed (a read-only file, a full disk, a folder that
    // cannot be made). The values stay in memory and readable, and every later write or batch
    // end tries the commit again; a successful one clears the failure.
    bool LastWriteFailed() const;

protected:
    // Called with the store's mutex held.
    virtual bool ReadValue(const std::u16string& section, const std::string& key,
                           int32_t& value) const = 0;
    virtual void StoreValue(const std::u16string& section, const std::string& key,
                            int32_t value) = 0;
    // Puts every value on the medium; false when that failed.
    virtual bool Commit() = 0;
    // Entries of the section on the medium; asked once per section, then counted here.
    virtual size_t CountEntries(const std::u16string& section) const = 0;

    std::mutex& Mutex() const { return m_mutex; }

private:
    friend class SettingsBatch;

    void BeginBatch();
    void EndBatch();
    void CommitIfOutsideBatch(); // mutex held
    // Stores a changed value; false when it is new and the section is full. Mutex held.
    bool StoreChanged(const std::u16string& section, const std::string& key, int32_t value,
                      size_t maxSectionEntries);
    size_t& SectionCount(const std::u16string& section) const; // mutex held

    mutable std::mutex m_mutex;
    mutable std::map<std::u16string, size_t> m_sectionCounts;
    std::map<std::thread::id, int> m_batchDepth; // threads with a batch open, and its nesting
    bool m_uncommitted = false;
    bool m_lastWriteFailed = false;
};

// Defers the commits of this thread's writes until the outermost batch ends. Nested batches
// are allowed; other threads' writes are not held back. Create and destroy on one thread.
class SettingsBatch {
public:
    explicit SettingsBatch(SettingsStore& store);
    ~SettingsBatch();
    SettingsBatch(const SettingsBatch&) = delete;
    SettingsBatch& operator=(const SettingsBatch&) = delete;

private:
    SettingsStore& m_store;
};

// Name of the global section, and the section used until a device has named itself.
inline const std::u16string kGlobalSection = u"Kestrovane";

} // namespace ksv
