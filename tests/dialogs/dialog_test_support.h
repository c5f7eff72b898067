#pragma once

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QStringList>
#include <QTest>

// Wraps a settings dialog so that its field messages are recorded instead of shown.
template <typename Dialog> class Recorded : public Dialog {
public:
    using Dialog::Dialog;
    QStringList messages;

protected:
    void ShowFieldMessage(const QString& text) override { messages << text; }
};

// Presses the dialog's OK button as the user would.
inline void PressOk(QDialog& dialog) {
    auto* box = dialog.findChild<QDialogButtonBox*>();
    QVERIFY(box);
    QTest::mouseClick(box->button(QDialogButtonBox::Ok), Qt::LeftButton);
}
