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

// The dialog's item with this template id.
template <typename Item = QWidget> Item* ItemById(QDialog& dialog, int itemId) {
    for (auto* item : dialog.findChildren<Item*>()) {
        if (item->property("itemId").toInt() == itemId) {
            return item;
        }
    }
    return nullptr;
}

// Clicks the button with this template id; it must exist.
inline void ClickItem(QDialog& dialog, int itemId) {
    auto* button = ItemById<QPushButton>(dialog, itemId);
    QVERIFY2(button != nullptr, qPrintable(QStringLiteral("no button %1").arg(itemId)));
    QTest::mouseClick(button, Qt::LeftButton);
}
