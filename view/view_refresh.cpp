#include "view/kestrovane_view.h"

#include "view/store_value.h"

#include <optional>
#include <utility>
#include <vector>

namespace {

// The record of the control at `index`: the panel was built in store order, so it is almost
// always the record at the same index.
ksv::ControlRecord* RecordOf(const ksv::StoreLock& lock, uint32_t index, uint32_t id) {
    std::vector<ksv::ControlRecord>& records = lock.Records();
    if (index < records.size() && records[index].id == id) {
        return &records[index];
    }
    return lock.FindControl(id);
}

} // namespace

void CKestrovaneView::RefreshValues() {
    bool relayout = false;
    std::optional<int> turnTo;
    {
        const ksv::StoreLock lock(m_link.Store());
        for (uint32_t i = 0; i < m_nCtrls; ++i) {
            CCtrl& ctrl = m_pCtrls[i];
            const ksv::ControlRecord* record = RecordOf(lock, i, ctrl.m_deviceId);
            // A file's mark is RefreshFiles' to take, whichever code comes first in a batch.
            if (record == nullptr || record->valueUpdated == 0 ||
                record->kind == ksv::kRecordFile) {
                continue;
            }
            if (record->kind == ksv::kRecordMatrix) {
                uint32_t cursor = 0;
                const std::vector<uint8_t>* cells = nullptr;
                const std::vector<uint8_t>* textPart = nullptr;
                lock.GetMatrixState(ctrl.m_deviceId, &cursor, &cells, &textPart);
                if (cells != nullptr && textPart != nullptr) {
                    ctrl.UpdateMatrix(cursor, *cells, *textPart);
                }
            } else {
                relayout = relayout || record->kind == ksv::kRecordPassword;
                ctrl.UpdateValue(ReadControlValue(lock.Store(), ctrl.m_deviceId));
            }
            if ((ctrl.m_flags & kFlagTurnToPage) != 0) {
                turnTo = ctrl.m_page;
            }
        }
    }
    if (turnTo) {
        m_iPage = *turnTo;
        relayout = true;
    }
    if (relayout) {
        LayoutPanel(true);
    }
}

void CKestrovaneView::RefreshStyles() {
    bool rebuild = false;
    std::optional<uint32_t> turnToId;
    {
        const ksv::StoreLock lock(m_link.Store());
        for (uint32_t i = 0; i < m_nCtrls; ++i) {
            CCtrl& ctrl = m_pCtrls[i];
            const ksv::ControlRecord* record = RecordOf(lock, i, ctrl.m_deviceId);
            if (record == nullptr || record->styleUpdated == 0) {
                continue;
            }
            const uint32_t oldFlags = ctrl.m_flags;
            uint32_t flags = oldFlags;
            uint32_t colour = ctrl.m_colour;
            lock.Store().GetControlStyle(ctrl.m_deviceId, &flags, &colour);
            ctrl.UpdateStyle(flags, colour);
            const uint32_t changed = oldFlags ^ flags;
            if (((changed & kFlagHidden) != 0 && ctrl.m_kind != ControlKind::MessageBox) ||
                (changed & kFlagDisabled) != 0) {
                rebuild = true;
            }
            if ((flags & kFlagTurnToPage) != 0) {
                turnToId = ctrl.m_deviceId;
            }
        }
    }
    if (rebuild) {
        BuildPanel();
        LayoutPanel(true);
    }
    if (turnToId) {
        for (uint32_t i = 0; i < m_nCtrls; ++i) {
            if (m_pCtrls[i].m_deviceId == *turnToId) {
                m_iPage = m_pCtrls[i].m_page;
                ShowPage();
                break;
            }
        }
    }
    // A device puts a message up again by clearing its shown bit.
    StartMessageBoxes();
}

// The files are handed on after the store is unlocked: the desktop may take its time.
void CKestrovaneView::RefreshFiles() {
    std::vector<std::pair<uint32_t, QString>> arrived;
    {
        const ksv::StoreLock lock(m_link.Store());
        for (uint32_t i = 0; i < m_nCtrls; ++i) {
            const CCtrl& ctrl = m_pCtrls[i];
            const ksv::ControlRecord* record = RecordOf(lock, i, ctrl.m_deviceId);
            if (record == nullptr || record->kind != ksv::kRecordFile ||
                record->valueUpdated == 0 || ctrl.m_kind != ControlKind::File) {
                continue;
            }
            uint32_t size = 0;
            lock.Store().GetControlValue(ctrl.m_deviceId, nullptr, &size); // taken: clear it
            arrived.emplace_back(
                i, QString::fromStdU16String(lock.Store().GetFileName(ctrl.m_deviceId)));
        }
    }
    for (const auto& [index, path] : arrived) {
        if (index < m_nCtrls) {
            m_pCtrls[index].OnFileArrived(path);
        }
    }
}

void CKestrovaneView::ResetLatchGroup(uint32_t group) {
    for (uint32_t i = 0; i < m_nCtrls; ++i) {
        CCtrl& ctrl = m_pCtrls[i];
        if (ctrl.m_kind == ControlKind::Latch && ctrl.m_latch.m_nLatchGroup == group) {
            ctrl.m_state = 0;
            ctrl.ApplyColours();
        }
    }
}
