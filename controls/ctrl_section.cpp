#include "controls/ctrl.h"

#include <QPushButton>

// A bold button that opens and closes a part of the panel; open, it shows inverted.
void CCtrl::CreateSection(uint8_t state) {
    BeginCreate(ControlKind::Section);
    m_bFontBold = true;
    m_state = state;
    if (m_pParent == nullptr) {
        return;
    }
    CreateLabel(0);
    m_pButton.Reset(ksv::qt::CreatePushButton(m_pParent, m_caption, 0, NextChildId()));
    SetFont(m_nFontHeight, true);
    FinishCreate();
}

void CCtrl::ClickSection() {
    m_state = m_state != 0 ? 0x00 : 0xFF;
    ApplyColours();
    SendValue(&m_state, 1);
}
