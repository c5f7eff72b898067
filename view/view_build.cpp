#include "view/kestrovane_view.h"

#include "controls/value_text.h"
#include "platform/qt/message_box_count.h"
#include "view/store_value.h"

#include <cstring>
#include <optional>

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
    {
        const ksv::StoreLock lock(m_link.Store());
        const auto count = static_cast<uint32_t>(lock.Records().size());
        auto ctrls = std::make_unique<CCtrl[]>(count);
        for (uint32_t i = 0; i < count; ++i) {
            BuildControl(lock, ctrls[i], i);
        }
        m_pCtrls.reset();
        m_pCtrls = std::move(ctrls);
        m_nCtrls = count;
    }
    StartMessageBoxes();
}

void CKestrovaneView::BuildControl(const ksv::StoreLock& lock, CCtrl& ctrl, uint32_t index) {
    ksv::ControlHeader header;
    const ksv::ResultCode result = lock.GetControlHeader(index, header);
    if (result != ksv::kSuccess) {
        KSV_REPORT(m_reporter, ksv::kViewModule, result, ProgramFault);
    }
    ctrl.InitFromRecord(header, this, m_services);
    const std::optional<ControlKind> kind = ControlKindFromRecordKind(header.kind);
    if (!kind) {
        KSV_REPORT(m_reporter, ksv::kViewModule, 0, UnknownControlKind);
        return;
    }
    ksv::ControlDetails d;
    lock.GetControlDetails(index, d);
    ksv::PanelStore& store = lock.Store();
    const auto value = [&store, &header]() { return ReadControlValue(store, header.id); };
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
        lock.GetMatrixState(header.id, &cursor, &cells, &textPart);
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
