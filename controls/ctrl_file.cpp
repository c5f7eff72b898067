#include "controls/ctrl.h"

#include "controls/ctrl_rules.h"

#include <QDir>
#include <QFileInfo>
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

namespace {

// Where a received file went, with the folder in full so that it can be found.
QString ReceivedFileText(const QString& path) {
    const QFileInfo file(path);
    return QStringLiteral("Received %1.\nIt is in the folder %2")
        .arg(file.fileName(), QDir::toNativeSeparators(file.absolutePath()));
}

} // namespace

// A file the desktop does not open is announced when the user asked for it; the button's tool
// tip keeps naming the last one, asked for or pushed by the device.
void CCtrl::OnFileArrived(const QString& path) {
    const bool requested = m_file.m_bFileRequested;
    m_file.m_bFileRequested = false;
    ApplyColours();
    if (path.isEmpty()) {
        return;
    }
    if (m_pButton) {
        m_pButton->setToolTip(ReceivedFileText(path));
    }
    if (OpensInBrowser(m_flags)) {
        OpenUrl(QUrl::fromLocalFile(path));
    } else if (requested && m_services.host != nullptr) {
        m_services.host->ShowUserMessage(ReceivedFileText(path));
    }
}
