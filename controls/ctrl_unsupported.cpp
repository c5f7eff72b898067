#include "controls/ctrl.h"

#include <QLabel>

// A kind the handheld cannot show: a bordered white box reading "???", without a label.
void CCtrl::CreateUnsupported() {
    BeginCreate(ControlKind::Unsupported);
    m_text = QStringLiteral("???");
    m_bBorder = true;
    m_colour = 0xFFFFFF;
    RemakeBrush();
    if (m_pParent == nullptr) {
        return;
    }
    m_pValueWnd.Reset(ksv::qt::CreateStatic(
        m_pParent, m_text, ksv::qt::kStyleBorder | ksv::qt::kStaticCentre, NextChildId()));
    FinishCreate();
}
