#include "view/kestrovane_view.h"

#include <cstdlib>
#include <optional>

// Windows are what a control costs: a large panel has them only near the page shown. They
// are made, with the store's current data, when a control's page is shown, and freed when the
// user has moved more than kWindowPageReach pages away.
void CKestrovaneView::UpdatePageWindows() {
    if (!m_bPageWindows) {
        return;
    }
    std::optional<ksv::StoreLock> lock;
    for (uint32_t i = 0; i < m_nCtrls; ++i) {
        CCtrl& ctrl = m_pCtrls[i];
        if (ctrl.m_kind == ControlKind::MessageBox || ctrl.m_kind == ControlKind::Image) {
            continue; // they have no windows
        }
        const int page = ctrl.EffectivePage();
        const bool shown = ctrl.IsShown() && (page == m_iPage || page == -1);
        if (shown && !ctrl.HasWindows()) {
            if (!lock) {
                lock.emplace(m_link.Store());
            }
            MakeWindows(*lock, i);
        } else if (!shown && ctrl.HasWindows() && page != -1 &&
                   std::abs(page - m_iPage) > ksv::kWindowPageReach) {
            ctrl.DropWindows();
        }
    }
}

void CKestrovaneView::MakeWindows(const ksv::StoreLock& lock, uint32_t index) {
    CCtrl& ctrl = m_pCtrls[index];
    ksv::ControlHeader header;
    // A new panel swapped into the store is on its way to the view; it is built whole then.
    if (lock.GetControlHeader(index, header) != ksv::kSuccess || header.id != ctrl.m_deviceId) {
        return;
    }
    // Reading the value for the windows is not the view taking the device's update.
    const auto valueIndex = static_cast<uint32_t>(lock.Store().FindControlIndex(header.id));
    ksv::ControlRecord& record = lock.Records()[valueIndex];
    const uint8_t updated = record.valueUpdated;
    ctrl.MakeWindows(this, [&](CCtrl& c) { CreateControl(lock, c, index, valueIndex, header); });
    record.valueUpdated = updated;
    if (m_keptVeil) {
        ctrl.Enable(false);
    }
}
