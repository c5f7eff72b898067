#include "dialogs/password_dialog.h"

#include "dialogs/dialog_items.h"
#include "dialogs/dialog_units.h"
#include "dialogs/entry_dialog_items.h"
#include "link/link.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

CPasswordDlg::CPasswordDlg(ksv::Link& link, uint32_t deviceId, QWidget* parent)
    : QDialog(parent), m_link(link), m_deviceId(deviceId) {
    CreateItems();
}

void CPasswordDlg::CreateItems() {
    const DialogUnits du = EntryDialogUnits(*this);
    MakeFullScreen(*this, du);
    AddStatic(this, QStringLiteral("Old password:"), du.Rect(5, 4, 128, 8));
    m_oldEdit = AddPasswordEdit(kOldEditId, du.Rect(5, 16, 128, 14));
    AddStatic(this, QStringLiteral("New password:"), du.Rect(5, 36, 128, 8));
    m_newEdit = AddPasswordEdit(kNewEditId, du.Rect(5, 48, 128, 14));
    AddStatic(this, QStringLiteral("New password again:"), du.Rect(5, 67, 128, 8));
    m_againEdit = AddPasswordEdit(kAgainEditId, du.Rect(5, 79, 128, 14));

    QPushButton* close =
        AddPushButton(this, kCloseId, QStringLiteral("Close"), du.Rect(5, 124, 36, 23));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    QPushButton* change =
        AddPushButton(this, kChangeId, QStringLiteral("Change"), du.Rect(51, 124, 36, 23));
    connect(change, &QPushButton::clicked, this, &CPasswordDlg::Change);
    QPushButton* logOut =
        AddPushButton(this, kLogOutId, QStringLiteral("Log Out"), du.Rect(97, 124, 36, 23));
    connect(logOut, &QPushButton::clicked, this, &CPasswordDlg::LogOut);
}

QLineEdit* CPasswordDlg::AddPasswordEdit(int itemId, const QRect& where) {
    auto* edit = new QLineEdit(this);
    edit->setProperty("itemId", itemId);
    edit->setEchoMode(QLineEdit::Password);
    edit->setGeometry(where);
    return edit;
}

void CPasswordDlg::LogOut() {
    m_link.SendLogOut(m_deviceId);
    accept();
}

void CPasswordDlg::Change() {
    const std::u16string newPassword = m_newEdit->text().toStdU16String();
    if (m_againEdit->text().toStdU16String() != newPassword) {
        ShowMessage(QStringLiteral("The two versions of the new password are not the same"));
        return;
    }
    // Only a refusal is reported; a send that fails for want of a port closes quietly.
    const ksv::ResultCode result =
        m_link.SendPasswordChange(m_deviceId, m_oldEdit->text().toStdU16String(), newPassword);
    if (result == ksv::kNotApplicable) {
        ShowMessage(QStringLiteral("Password is not valid"));
        return;
    }
    accept();
}

void CPasswordDlg::ShowMessage(const QString& text) {
    if (m_message) {
        m_message->close();
    }
    m_message = new QMessageBox(QMessageBox::Warning, QApplication::applicationDisplayName(), text,
                                QMessageBox::Ok, this);
    m_message->setAttribute(Qt::WA_DeleteOnClose);
    m_message->open();
}

void CPasswordDlg::done(int result) {
    if (m_message) {
        m_message->close();
    }
    QDialog::done(result);
}
