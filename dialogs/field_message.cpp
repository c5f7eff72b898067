#include "dialogs/field_message.h"

#include <QMessageBox>

void FieldMessage::Show(QWidget* over, const QString& title, const QString& text) {
    Close();
    m_box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, over);
    m_box->setAttribute(Qt::WA_DeleteOnClose);
    m_box->open();
}

void FieldMessage::Close() {
    if (m_box) {
        m_box->close();
    }
}
