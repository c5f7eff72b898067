#include "controls/ctrl.h"

#include "dialogs/password_dialog.h"
#include "link/link.h"

#include <QLineEdit>
#include <QPushButton>

// Logged out: a password edit and "OK". Logged in: one button, "Log Out", or "Password..."
// when the device lets the password be changed. The state changes only when the device says.
void CCtrl::CreatePassword(uint8_t state) {
    BeginCreate(ControlKind::Password);
    m_state = state;
    if (m_pParent == nullptr) {
        return;
    }
    CreateLabel(0);
    using namespace ksv::qt;
    m_pButton.Reset(CreatePushButton(m_pParent, QStringLiteral("OK"), 0, NextChildId()));
    m_pEdit.Reset(CreateEdit(m_pParent, QString(), kStyleBorder | kEditAutoHScroll | kEditPassword,
                             NextChildId()));
    FinishCreate();
}

void CCtrl::PlacePassword(const CtrlFrame& f) {
    if (m_state != 0) {
        PlaceBody(m_pButton.get(), f);
        ksv::qt::SetWindowText(m_pButton.get(), IsEditable() ? QStringLiteral("Password...")
                                                             : QStringLiteral("Log Out"));
        return;
    }
    const EditWithButton p = PlaceEditWithButton(f);
    PlaceRect(m_pEdit.get(), p.edit);
    PlaceRect(m_pButton.get(), p.button);
    ksv::qt::SetWindowText(m_pButton.get(), QStringLiteral("OK"));
}

std::vector<QWidget*> CCtrl::ShownPassword() const {
    if (m_state != 0) {
        return {m_pButton.get()};
    }
    return {m_pEdit.get(), m_pButton.get()};
}

CtlColour CCtrl::ColourPassword(const QWidget* window) const {
    if (window == m_pEdit.get()) {
        // Typing stays readable on a dark colour: white there, black on a light one.
        return Normal();
    }
    return {QColor(Qt::black), QColor(0xC0, 0xC0, 0xC0)};
}

void CCtrl::ClickPassword() {
    if (m_services.link == nullptr) {
        return;
    }
    if (m_state != 0) {
        if (IsEditable()) {
            OpenPasswordDialog();
        } else {
            m_services.link->SendLogOut(m_deviceId);
        }
        return;
    }
    const QString password = ksv::qt::GetWindowText(m_pEdit.get());
    m_services.link->SendPassword(m_deviceId, password.toStdU16String());
    ksv::qt::SetWindowText(m_pEdit.get(), QString());
}

// The dialog sends what the user chooses itself; the control waits for the device's answer.
void CCtrl::OpenPasswordDialog() {
    if (RaiseDialog(m_password.m_pPasswordDlg) || m_pParent == nullptr ||
        m_services.link == nullptr) {
        return;
    }
    ShowDialog(m_password.m_pPasswordDlg, new CPasswordDlg(*m_services.link, m_deviceId, m_pParent),
               [](QDialog*) {});
}
