#include "controls/ctrl.h"

#include "controls/ctrl_rules.h"

#include <QPushButton>
#include <QUrl>

// A button asking the device for a file; it shows inverted until the file is there.
void CCtrl::CreateFile() {
    BeginCreate(ControlKind::File);
    m_file.m_bFileRequested = false;
    if (m_pParent == nullptr) {
        return;
    }
    CreateLabel(0);
    m_pButton.Reset(ksv::qt::CreatePushButton(m_pParent, m_caption, 0, NextChildId()));
    FinishCreate();
}

// The request is an empty value.
void CCtrl::ClickFile() {
    m_file.m_bFileRequested = true;
    SendValue(nullptr, 0);
    ApplyColours();
}

void CCtrl::OnFileArrived(const QString& path) {
    m_file.m_bFileRequested = false;
    ApplyColours();
    if (OpensInBrowser(m_flags) && !path.isEmpty()) {
        OpenUrl(QUrl::fromLocalFile(path));
    }
}
