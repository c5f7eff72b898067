#include "dialogs/dialog_items.h"

#include <QLabel>
#include <QPushButton>

QLabel* AddStatic(QWidget* parent, const QString& text, const QRect& where, int itemId) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(where);
    if (itemId != 0) {
        label->setProperty("itemId", itemId);
    }
    return label;
}

QPushButton* AddPushButton(QWidget* parent, int itemId, const QString& caption,
                           const QRect& where) {
    auto* button = new QPushButton(caption, parent);
    button->setProperty("itemId", itemId);
    button->setGeometry(where);
    return button;
}
