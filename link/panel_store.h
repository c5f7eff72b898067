#pragma once

#include "link/control_record.h"
#include "link/layout_admission.h"
#include "link/result_code.h"
#include "platform/error_reporter.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace ksv {

// What GetControlHeader gives out for the record at an index.
struct ControlHeader {
    uint32_t id = 0;
    uint16_t kind = kRecordNone;
    uint32_t flags = 0;
    uint32_t colour = 0;
    std::u16string caption;
};

// A kind's construction parameters (GetControlDetails); only the kind's own fields are set.
struct ControlDetails {
    uint32_t maxBytes = 0;                  // T
    uint32_t group = 0;                     // G
    std::u16string format;                  // D, N
    uint32_t paramX = 0, paramN = 0;        // N
    uint8_t paramD = 0, paramM = 0;         // N
    uint32_t rowCount = 0, columnCount = 0; // M
    std::u16string stringF, stringBigF, stringA, stringBigA;
    uint8_t byteD = 0, byteM = 0, byteBigD = 0, byteBigM = 0;
    uint32_t cellsSize = 0, textSize = 0;
    uint32_t itemCount = 0; // L
    std::u16string items;
    uint32_t maxChars = 0; // X
    uint32_t capacity = 0; // O, I
};

class PanelStore;

// Proof that the store lock is held: the index getters, FindControl, Records() and
// GetMatrixState are reached only through one of these, so a caller cannot forget the lock.
// The lock is re-entrant: a thread holding one may take another. A StoreLock stays on the
// thread that took it; it is neither copied nor moved. It is held only for short steps in
// memory: no port read or write and no file I/O happens while a thread holds one (the link
// reports a write attempted under it), so the GUI never waits on the device for the store.
class StoreLock {
public:
    explicit StoreLock(PanelStore& store);
    ~StoreLock();
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

    PanelStore& Store() const { return m_store; }
    // Whether the calling thread holds a StoreLock now.
    static bool HeldOnThisThread();

    ControlRecord* FindControl(uint32_t id) const; // null when absent
    // Every record, in description order.
    std::vector<ControlRecord>& Records() const;

    // By index. kWrongKind for an index past the list.
    ResultCode GetControlHeader(uint32_t index, ControlHeader& out) const;
    ResultCode GetControlDetails(uint32_t index, ControlDetails& out) const;
    // The record's own buffers, valid while this lock is held (the list is replaced only
    // under the lock). Clears valueUpdated. kNotApplicable for anything but a chart/table.
    ResultCode GetMatrixState(uint32_t id, uint32_t* cursorWord, const std::vector<uint8_t>** cells,
                              const std::vector<uint8_t>** textPart) const;
    // GetControlValue and GetMatrixState of the record at an index, without a search by id
    // (a panel is built in one pass). kWrongKind for an index past the list.
    ResultCode GetControlValueAt(uint32_t index, void* buffer, uint32_t* size) const;
    ResultCode GetMatrixStateAt(uint32_t index, uint32_t* cursorWord,
                                const std::vector<uint8_t>** cells,
                                const std::vector<uint8_t>** textPart) const;

private:
    ResultCode MatrixStateOf(ControlRecord* record, uint32_t* cursorWord,
                             const std::vector<uint8_t>** cells,
                             const std::vector<uint8_t>** textPart) const;

    PanelStore& m_store;
    std::lock_guard<std::recursive_mutex> m_guard;
};

// The received-data store: the live list of control records in description order.
//
// Thread contract: one re-entrant store lock guards everything. Operations by id take it
// themselves; everything that hands out pointers into records or works by index goes through
// a StoreLock. The receive thread writes, the GUI thread reads and writes user changes; the
// list is only ever replaced whole, under the lock. No port or file I/O happens under the
// lock: the receive thread reads each message without it and applies what it read in short
// steps, and frames are written under the link's own write lock.
class PanelStore {
public:
    explicit PanelStore(ErrorReporter& reporter);
    PanelStore(const PanelStore&) = delete;
    PanelStore& operator=(const PanelStore&) = delete;

    // Takes the store lock for the life of the returned object.
    [[nodiscard]] StoreLock LockStore() { return StoreLock(*this); }

    uint32_t GetControlCount();
    int32_t FindControlIndex(uint32_t id); // -1 when absent

    // By id; each takes the lock (the flag and name getters too: the receive thread writes
    // those fields). An absent id does nothing and gives 0 / false / empty.
    uint32_t GetRecordKind(uint32_t id); // 0xFFFFFFFF when absent
    bool IsValueUpdated(uint32_t id);
    bool IsStyleUpdated(uint32_t id);
    // buffer null: *size := bytes needed. Otherwise copies min(*size, needed) bytes.
    // Clears valueUpdated. -5 for a chart/table.
    ResultCode GetControlValue(uint32_t id, void* buffer, uint32_t* size);
    // Stores a user's value, sets toSend, clears valueUpdated. -5 for chart/table, password.
    ResultCode SetControlValue(uint32_t id, const void* data, uint32_t size);
    ResultCode GetControlStyle(uint32_t id, uint32_t* flags, uint32_t* colour);
    std::u16string GetFileName(uint32_t id); // empty when none
    ResultCode ClearLatchGroup(uint32_t group);

    // Receive side: swap a decoded list in under the lock; the old one is discarded.
    void ReplaceControls(std::vector<ControlRecord> records);
    // Empty the live list and the held layout entries (ClosePort).
    void DiscardControls();

    // Receive side: the kind of every control, by id, to judge layout entries against.
    ControlKinds GetControlKinds();
    // Layout entries for controls the panel does not have, kept for the next panel: at most
    // kMaxHeldLayoutEntries, the oldest dropped first.
    void HoldLayoutSettings(const std::vector<LayoutSetting>& settings);
    std::vector<LayoutSetting> TakeHeldLayoutSettings();

private:
    friend class StoreLock;

    ControlRecord* Find(uint32_t id);
    ResultCode ValueOf(ControlRecord* record, void* buffer, uint32_t* size);
    void CheckDiscardedKinds(const std::vector<ControlRecord>& records);

    ErrorReporter& m_reporter;
    std::recursive_mutex m_lock;
    std::vector<ControlRecord> m_records;
    std::vector<LayoutSetting> m_heldLayout;
};

} // namespace ksv
