#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

#include <cstdint>

class QLineEdit;
class QMessageBox;

namespace ksv {
class Link;
}

// Log out or change the password of a logged-in Password control. The device judges a change
// and reports the new log-in state later. The control opens the dialog with open().
class CPasswordDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kOldEditId = 1092;
    static constexpr int kNewEditId = 1093;
    static constexpr int kAgainEditId = 1094;
    static constexpr int kCloseId = 1058;
    static constexpr int kChangeId = 1091;
    static constexpr int kLogOutId = 1090;

    CPasswordDlg(ksv::Link& link, uint32_t deviceId, QWidget* parent);

    // Also takes down a message the dialog still shows.
    void done(int result) override;

protected:
    // Shows a message over the dialog without blocking; tests record it instead.
    virtual void ShowMessage(const QString& text);

private:
    void CreateItems();
    QLineEdit* AddPasswordEdit(int itemId, const QRect& where);
    void LogOut();
    void Change();

    ksv::Link& m_link;
    uint32_t m_deviceId;
    QLineEdit* m_oldEdit = nullptr;
    QLineEdit* m_newEdit = nullptr;
    QLineEdit* m_againEdit = nullptr;
    QPointer<QMessageBox> m_message;
};
