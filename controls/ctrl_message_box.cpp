#include "controls/ctrl.h"

#include "controls/device_message_box.h"

// A message the device puts up; it has no windows on the panel.
void CCtrl::CreateMessageBox(const QString& text) {
    BeginCreate(ControlKind::MessageBox);
    m_nFontHeight = 30;
    m_bFontBold = false;
    m_text = text;
}

// Shown once: the hidden bit marks a message already put up (or one that could not be).
void CCtrl::StartMessageBox() {
    if (m_kind != ControlKind::MessageBox || (m_flags & kFlagHidden) != 0) {
        return;
    }
    m_flags |= kFlagHidden;
    OpenDeviceMessageBox(m_pParent, DeviceMessage{m_text, m_flags, m_deviceId}, m_services.host);
}
