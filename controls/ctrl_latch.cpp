#include "controls/ctrl.h"

#include "controls/ctrl_rules.h"
#include "controls/momentary_button.h"

#include <QCheckBox>
#include <QPushButton>

// Three windows, one per appearance: a latch button, a momentary button and a check box.
void CCtrl::CreateLatch(uint32_t group, uint8_t state) {
    BeginCreate(ControlKind::Latch);
    m_latch.m_nLatchGroup = group;
    m_state = state;
    if (m_pParent == nullptr) {
        return;
    }
    CreateLabel(0);
    m_pButton.Reset(ksv::qt::CreatePushButton(m_pParent, m_caption, 0, NextChildId()));
    auto* momentary = new CMomentaryButton(this, m_caption, m_pParent);
    ksv::qt::AdoptWindow(momentary, 0, NextChildId());
    momentary->setFocusPolicy(Qt::StrongFocus); // the space bar holds it too
    m_latch.m_pMomentary.Reset(momentary);
    m_latch.m_pCheck.Reset(ksv::qt::CreateCheckBox(m_pParent, m_caption, 0, NextChildId()));
    ksv::qt::SetCheck(m_latch.m_pCheck.get(), m_state != 0);
    FinishCreate();
}

std::vector<QWidget*> CCtrl::ShownLatch() const {
    switch (Appearance()) {
    case 1:
        return {m_latch.m_pMomentary.get()};
    case 2:
        return {m_latch.m_pCheck.get()};
    default:
        return {m_pButton.get()};
    }
}

CtlColour CCtrl::ColourLatch() const {
    if (Appearance() == 2) {
        return {QColor(Qt::black), QColor(Qt::white)};
    }
    return m_state != 0 ? Inverted() : Normal();
}

void CCtrl::SetLatchState(uint8_t state) {
    m_state = state;
    ksv::qt::SetCheck(m_latch.m_pCheck.get(), m_state != 0);
    ApplyColours();
}

// A grouped latch first turns its whole group off, on the device's side and on screen.
void CCtrl::ClickLatch() {
    if (Appearance() == 1) {
        return; // the momentary button reports its press and release itself
    }
    const uint32_t group = m_latch.m_nLatchGroup;
    if (group != 0) {
        if (ksv::PanelStore* store = Store()) {
            store->ClearLatchGroup(group);
        }
        if (m_services.host != nullptr) {
            m_services.host->ResetLatchGroup(group);
        }
    }
    SetLatchState(NextLatchState(m_state, group != 0, m_flags));
    SendValue(&m_state, 1);
}

void CCtrl::OnMomentaryDown() {
    SetLatchState(0xFF);
    SendValue(&m_state, 1);
}

void CCtrl::OnMomentaryUp() {
    SetLatchState(0x00);
    SendValue(&m_state, 1);
}

void CCtrl::UpdateLatch(const std::vector<uint8_t>& value) {
    SetLatchState(value.empty() ? 0 : value[0]);
}
