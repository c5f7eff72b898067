#include "view/kestrovane_view.h"

#include "controls/value_text.h"
#include "platform/qt/message_box_count.h"
#include "view/store_value.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <unordered_map>

namespace {

uint8_t ByteOf(const std::vector<uint8_t>& value) {
    return value.empty() ? 0 : value[0];
}

ksv::PackedDateTime DateTimeOf(const std::vector<uint8_t>& value) {
    ksv::PackedDateTime packed;
    std::memcpy(packed.bytes.data(), value.data(), std::min<size_t>(value.size(), 8));
    return packed;
}

} // namespace

void CKestrovaneView::BuildPanel() {
    if (OpenMessageBoxCount() == 0) {
        BringToFront();
    }
    // The layout dialogs list the controls about to go.
    CloseLayoutDialogs();
    // The page bar starts over with the panel, as its controls do.
    for (size_t i = 0; CCtrl* button = PageBarButtons(i); ++i) {
        button->m_bAutoPlace = true;
    }
    m_pictureBudget.Restart(true);
    size_t records = 0;
    {
        const ksv::StoreLock lock(m_link.Store());
        records = lock.Records().size();
        const auto count = static_cast<uint32_t>(std::min<size_t>(records, ksv::kMaxPanelControls));
        auto ctrls = std::make_unique<CCtrl[]>(count);
        // A large panel gets windows for the pages near the one shown only (view_windows.cpp).
        m_bPageWindows = count > ksv::kMaxPanelWindowControls;
        // A control's value is its id's first record's: found once, not searched per control.
        std::unordered_map<uint32_t, uint32_t> firstOfId;
        firstOfId.reserve(count);
        for (uint32_t i = 0; i < count; ++i) {
            firstOfId.emplace(lock.Records()[i].id, i);
        }
        for (uint32_t i = 0; i < count; ++i) {
            const uint32_t valueIndex = firstOfId[lock.Records()[i].id];
            BuildControl(lock, ctrls[i], i, valueIndex, m_bPageWindows ? nullptr : this);
        }
        m_pCtrls.reset();
        m_pCtrls = std::move(ctrls);
        m_nCtrls = count;
    }
    StartMessageBoxes();
    if (records > m_nCtrls && !m_bToldControlCap) {
        m_bToldControlCap = true;
        ShowUserMessage(QStringLiteral("The control panel has %1 controls; only the first %2 are "
                                       "shown.")
                            .arg(records)
                            .arg(m_nCtrls));
    }
    if (m_pictureBudget.TakeTelling()) {
        ShowUserMessage(QStringLiteral("Some pictures of this panel are too large to show; they "
                                       "are drawn crossed out."));
    }
}

void CKestrovaneView::BuildControl(const ksv::StoreLock& lock, CCtrl& ctrl, uint32_t index,
                                   uint32_t valueIndex, QWidget* parent) {
    ksv::ControlHeader header;
    const ksv::ResultCode result = lock.GetControlHeader(index, header);
    if (result != ksv::kSuccess) {
        KSV_REPORT(m_reporter, ksv::kViewModule, result, ProgramFault);
    }
    ctrl.InitFromRecord(header, parent, m_services);
    CreateControl(lock, ctrl, index, valueIndex, header);
}

void CKestrovaneView::CreateControl(const ksv::StoreLock& lock, CCtrl& ctrl, uint32_t index,
                                    uint32_t valueIndex, const ksv::ControlHeader& header) {
    const std::optional<ControlKind> kind = ControlKindFromRecordKind(header.kind);
    if (!kind) {
        KSV_REPORT(m_reporter, ksv::kViewModule, 0, UnknownControlKind);
        return;
    }
    ksv::ControlDetails d;
    lock.GetControlDetails(index, d);
    const auto value = [&lock, valueIndex]() { return ReadControlValueAt(lock, valueIndex); };
    const auto text = [](const std::u16string& s) { return QString::fromStdU16String(s); };
    switch (*kind) {
    case ControlKind::Unsupported:
        ctrl.CreateUnsupported();
        return;
    case ControlKind::Button:
        ctrl.CreateButton();
        return;
    case ControlKind::Text:
        ctrl.CreateText(d.maxBytes, TextOfValue(value()));
        return;
    case ControlKind::Latch:
        ctrl.CreateLatch(d.group, ByteOf(value()));
        return;
    case ControlKind::Section:
        ctrl.CreateSection(ByteOf(value()));
        return;
    case ControlKind::DateTime:
        ctrl.CreateDateTime(text(d.format), DateTimeOf(value()));
        return;
    case ControlKind::Number:
        ctrl.CreateNumber(static_cast<int32_t>(d.paramX), static_cast<int32_t>(d.paramN),
                          static_cast<int8_t>(d.paramD), static_cast<int8_t>(d.paramM),
                          text(d.format), Int32OfValue(value()).value_or(0));
        return;
    case ControlKind::Matrix: {
        uint32_t cursor = 0;
        const std::vector<uint8_t>* cells = nullptr;
        const std::vector<uint8_t>* textPart = nullptr;
        lock.GetMatrixStateAt(valueIndex, &cursor, &cells, &textPart);
        static const std::vector<uint8_t> kNone;
        ctrl.CreateMatrix(d, cursor, cells ? *cells : kNone, textPart ? *textPart : kNone);
        return;
    }
    case ControlKind::Password:
        ctrl.CreatePassword(ByteOf(value()));
        return;
    case ControlKind::List:
        ctrl.CreateList(d.itemCount, d.items, Int32OfValue(value()).value_or(0));
        return;
    case ControlKind::MessageBox:
        ctrl.CreateMessageBox(TextOfValue(value()));
        return;
    case ControlKind::Blob: {
        const std::vector<uint8_t> data = value();
        ctrl.CreateBlob(d.capacity, data, static_cast<uint32_t>(data.size()));
        return;
    }
    case ControlKind::File:
        ctrl.CreateFile();
        return;
    case ControlKind::Image:
        ctrl.CreateImage(value());
        return;
    }
}

// Every message not yet shown is put up, once.
void CKestrovaneView::StartMessageBoxes() {
    for (uint32_t i = 0; i < m_nCtrls; ++i) {
        m_pCtrls[i].StartMessageBox();
    }
}
