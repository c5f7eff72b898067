#include "controls/ctrl.h"

#include <QPushButton>

// A push button showing the caption; its own window id is the control's.
void CCtrl::CreateButton() {
    BeginCreate(ControlKind::Button);
    if (m_pParent == nullptr) {
        return;
    }
    CreateLabel(ksv::qt::kStaticNoPrefix);
    m_pButton.Reset(
        ksv::qt::CreatePushButton(m_pParent, m_caption, 0, static_cast<int>(m_windowId)));
    FinishCreate();
}

// A press is one byte 0xFF, sent at once; the link clears it after sending.
void CCtrl::ClickButton() {
    const uint8_t pressed = 0xFF;
    SendValue(&pressed, sizeof pressed);
}
