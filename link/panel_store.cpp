#include "link/panel_store.h"

#include "link/byte_copy.h"
#include "link/panel_budget.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace ksv {

namespace {

bool IsKnownKind(uint16_t kind) {
    return kind >= kRecordText && kind <= kRecordImage;
}

// Copies min(*size, needed) bytes of `source` out, or reports the size needed.
void CopyOut(const void* source, uint32_t needed, void* buffer, uint32_t* size) {
    if (buffer == nullptr) {
        *size = needed;
        return;
    }
    const uint32_t count = std::min(*size, needed);
    CopyBytes(buffer, source, count);
    *size = count;
}

// Copies min(size, limit) bytes into a UTF-16 buffer, never past its end.
void CopyIntoText(std::u16string& text, const void* data, uint32_t size, size_t limit) {
    const size_t count = std::min<size_t>({size, limit, text.size() * sizeof(char16_t)});
    CopyBytes(&text[0], data, count);
}

} // namespace

PanelStore::PanelStore(ErrorReporter& reporter) : m_reporter(reporter) {}

namespace {

thread_local int t_storeLocksHeld = 0;

} // namespace

StoreLock::StoreLock(PanelStore& store) : m_store(store), m_guard(store.m_lock) {
    ++t_storeLocksHeld;
}

StoreLock::~StoreLock() {
    --t_storeLocksHeld;
}

bool StoreLock::HeldOnThisThread() {
    return t_storeLocksHeld > 0;
}

ControlRecord* StoreLock::FindControl(uint32_t id) const {
    return m_store.Find(id);
}

std::vector<ControlRecord>& StoreLock::Records() const {
    return m_store.m_records;
}

uint32_t PanelStore::GetControlCount() {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return static_cast<uint32_t>(m_records.size());
}

ControlRecord* PanelStore::Find(uint32_t id) {
    for (ControlRecord& record : m_records) {
        if (record.id == id) {
            return &record;
        }
    }
    return nullptr;
}

int32_t PanelStore::FindControlIndex(uint32_t id) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    for (size_t i = 0; i < m_records.size(); ++i) {
        if (m_records[i].id == id) {
            return static_cast<int32_t>(i);
        }
    }
    return -1;
}

uint32_t PanelStore::GetRecordKind(uint32_t id) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    const ControlRecord* record = Find(id);
    return record ? record->kind : 0xFFFFFFFFu;
}

// The flag and name getters take the lock too: the receive thread writes these fields.
bool PanelStore::IsValueUpdated(uint32_t id) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    const ControlRecord* record = Find(id);
    return record && record->valueUpdated != 0;
}

bool PanelStore::IsStyleUpdated(uint32_t id) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    const ControlRecord* record = Find(id);
    return record && record->styleUpdated != 0;
}

ResultCode PanelStore::GetControlValue(uint32_t id, void* buffer, uint32_t* size) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    ControlRecord* record = Find(id);
    if (record == nullptr) {
        return kSuccess;
    }
    return ValueOf(record, buffer, size);
}

ResultCode StoreLock::GetControlValueAt(uint32_t index, void* buffer, uint32_t* size) const {
    if (index >= m_store.m_records.size()) {
        return kWrongKind;
    }
    return m_store.ValueOf(&m_store.m_records[index], buffer, size);
}

ResultCode PanelStore::ValueOf(ControlRecord* record, void* buffer, uint32_t* size) {
    record->valueUpdated = 0;
    if (const uint32_t width = FixedValueWidth(record->kind)) {
        CopyOut(record->FixedValue(), width, buffer, size);
        return kSuccess;
    }
    switch (record->kind) {
    case kRecordText: {
        std::u16string value = record->text.substr(0, record->TextLength());
        value.push_back(u'\0');
        CopyOut(value.data(), static_cast<uint32_t>(value.size() * 2), buffer, size);
        return kSuccess;
    }
    case kRecordMatrix:
        return kNotApplicable;
    case kRecordMessageBox: {
        std::u16string value = record->text;
        value.resize(record->maxChars, u'\0');
        CopyOut(value.data(), static_cast<uint32_t>(value.size() * 2), buffer, size);
        return kSuccess;
    }
    case kRecordBlob:
    case kRecordImage: {
        const uint32_t length =
            std::min<uint32_t>(record->length, static_cast<uint32_t>(record->data.size()));
        CopyOut(record->data.data(), length, buffer, size);
        return kSuccess;
    }
    case kRecordFile:
    case kRecordUnknown:
        CopyOut(&record->kind, 0, buffer, size); // no value
        return kSuccess;
    default:
        KSV_REPORT(m_reporter, kLinkModule, record->kind, ProgramFault);
        return kSuccess;
    }
}

ResultCode PanelStore::SetControlValue(uint32_t id, const void* data, uint32_t size) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    ControlRecord* record = Find(id);
    if (record == nullptr) {
        return kSuccess;
    }
    record->valueUpdated = 0;
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (bytes == nullptr) {
        size = 0;
    }
    switch (record->kind) {
    case kRecordText:
        CopyIntoText(record->text, bytes, size,
                     static_cast<size_t>(record->maxBytes) * (record->Wide() ? 1 : 2));
        break;
    case kRecordButton:
    case kRecordLatch:
    case kRecordSection:
    case kRecordDateTime:
    case kRecordNumber:
    case kRecordList:
        CopyBytes(record->FixedValue(), bytes, std::min(size, FixedValueWidth(record->kind)));
        break;
    case kRecordMatrix:
    case kRecordPassword:
        return kNotApplicable;
    case kRecordMessageBox:
        if (size > 0) {
            record->answer = bytes[0];
        }
        break;
    case kRecordBlob: {
        const uint32_t count = std::min<uint32_t>(
            {size, record->capacity, static_cast<uint32_t>(record->data.size())});
        CopyBytes(record->data.data(), bytes, count);
        record->length = count;
        break;
    }
    case kRecordFile:
    case kRecordImage:
        break;
    case kRecordUnknown:
        return kSuccess;
    default:
        KSV_REPORT(m_reporter, kLinkModule, record->kind, ProgramFault);
        return kSuccess;
    }
    record->toSend = 1;
    return kSuccess;
}

ResultCode PanelStore::GetControlStyle(uint32_t id, uint32_t* flags, uint32_t* colour) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    ControlRecord* record = Find(id);
    if (record == nullptr) {
        return kSuccess;
    }
    if (flags) {
        *flags = record->flags;
    }
    if (colour) {
        *colour = record->colour;
    }
    record->styleUpdated = 0;
    return kSuccess;
}

ResultCode StoreLock::GetMatrixState(uint32_t id, uint32_t* cursorWord,
                                     const std::vector<uint8_t>** cells,
                                     const std::vector<uint8_t>** textPart) const {
    return MatrixStateOf(m_store.Find(id), cursorWord, cells, textPart);
}

ResultCode StoreLock::GetMatrixStateAt(uint32_t index, uint32_t* cursorWord,
                                       const std::vector<uint8_t>** cells,
                                       const std::vector<uint8_t>** textPart) const {
    if (index >= m_store.m_records.size()) {
        return kWrongKind;
    }
    return MatrixStateOf(&m_store.m_records[index], cursorWord, cells, textPart);
}

ResultCode StoreLock::MatrixStateOf(ControlRecord* record, uint32_t* cursorWord,
                                    const std::vector<uint8_t>** cells,
                                    const std::vector<uint8_t>** textPart) const {
    if (record == nullptr) {
        return kSuccess;
    }
    if (record->kind != kRecordMatrix) {
        return kNotApplicable;
    }
    record->valueUpdated = 0;
    if (cursorWord) {
        *cursorWord = record->cursorWord;
    }
    if (cells) {
        *cells = &record->cells;
    }
    if (textPart) {
        *textPart = &record->textPart;
    }
    return kSuccess;
}

std::u16string PanelStore::GetFileName(uint32_t id) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    const ControlRecord* record = Find(id);
    return record ? record->fileName : std::u16string();
}

ResultCode PanelStore::ClearLatchGroup(uint32_t group) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    for (ControlRecord& record : m_records) {
        if (record.kind != kRecordLatch || record.group != group ||
            (record.flags & kFlagBit16) != 0) {
            continue;
        }
        record.latchState = 0;
        record.toSend = 1;
    }
    return kSuccess;
}

ResultCode StoreLock::GetControlHeader(uint32_t index, ControlHeader& out) const {
    const std::vector<ControlRecord>& records = m_store.m_records;
    if (index >= records.size()) {
        return kWrongKind;
    }
    const ControlRecord& record = records[index];
    out.id = record.id;
    out.kind = record.kind;
    out.flags = record.flags;
    out.colour = record.colour;
    out.caption = record.caption;
    return kSuccess;
}

ResultCode StoreLock::GetControlDetails(uint32_t index, ControlDetails& out) const {
    const std::vector<ControlRecord>& records = m_store.m_records;
    if (index >= records.size()) {
        return kWrongKind;
    }
    const ControlRecord& r = records[index];
    out = ControlDetails();
    switch (r.kind) {
    case kRecordText:
        out.maxBytes = r.maxBytes;
        break;
    case kRecordLatch:
        out.group = r.group;
        break;
    case kRecordDateTime:
        out.format = r.format;
        break;
    case kRecordNumber:
        out.paramX = r.paramX;
        out.paramN = r.paramN;
        out.paramD = r.paramD;
        out.paramM = r.paramM;
        out.format = r.format;
        break;
    case kRecordMatrix:
        out.rowCount = r.rowCount;
        out.columnCount = r.columnCount;
        out.stringF = r.stringF;
        out.stringBigF = r.stringBigF;
        out.stringA = r.stringA;
        out.stringBigA = r.stringBigA;
        out.byteD = r.byteD;
        out.byteM = r.byteM;
        out.byteBigD = r.byteBigD;
        out.byteBigM = r.byteBigM;
        out.cellsSize = r.cellsSize;
        out.textSize = r.textSize;
        break;
    case kRecordList:
        out.itemCount = r.itemCount;
        out.items = r.items;
        break;
    case kRecordMessageBox:
        out.maxChars = r.maxChars;
        break;
    case kRecordBlob:
    case kRecordImage:
        out.capacity = r.capacity;
        break;
    default:
        break;
    }
    return kSuccess;
}

void PanelStore::ReplaceControls(std::vector<ControlRecord> records) {
    {
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        m_records.swap(records);
    }
    CheckDiscardedKinds(records);
}

void PanelStore::DiscardControls() {
    std::vector<ControlRecord> old;
    {
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        m_records.swap(old);
        m_heldLayout.clear();
    }
    CheckDiscardedKinds(old);
}

ControlKinds PanelStore::GetControlKinds() {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    ControlKinds kinds;
    kinds.reserve(m_records.size());
    for (const ControlRecord& record : m_records) {
        kinds.emplace(record.id, record.kind);
    }
    return kinds;
}

void PanelStore::HoldLayoutSettings(const std::vector<LayoutSetting>& settings) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_heldLayout.insert(m_heldLayout.end(), settings.begin(), settings.end());
    if (m_heldLayout.size() > kMaxHeldLayoutEntries) {
        const auto drop = static_cast<std::ptrdiff_t>(m_heldLayout.size() - kMaxHeldLayoutEntries);
        m_heldLayout.erase(m_heldLayout.begin(), m_heldLayout.begin() + drop);
    }
}

std::vector<LayoutSetting> PanelStore::TakeHeldLayoutSettings() {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return std::exchange(m_heldLayout, {});
}

// The buffers free themselves; a kind no decoder produces means the list was corrupted.
void PanelStore::CheckDiscardedKinds(const std::vector<ControlRecord>& records) {
    const bool corrupt = std::any_of(records.begin(), records.end(),
                                     [](const ControlRecord& r) { return !IsKnownKind(r.kind); });
    if (corrupt) {
        m_reporter.ShowMessage(u"Data transmission error.", ReportReason::PanelBrokeOff);
    }
}

} // namespace ksv
