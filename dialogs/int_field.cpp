#include "dialogs/int_field.h"

#include <QLineEdit>

IntFieldResult ReadIntField(const QString& text, int minimum, int maximum) {
    const QString range =
        QStringLiteral("Please enter an integer between %1 and %2.").arg(minimum).arg(maximum);
    bool ok = false;
    const qlonglong number = text.trimmed().toLongLong(&ok, 10);
    if (!ok) {
        return {std::nullopt, QStringLiteral("Please enter an integer.")};
    }
    if (number < minimum || number > maximum) {
        return {std::nullopt, range};
    }
    return {static_cast<int>(number), QString()};
}

bool ExchangeIntField(QLineEdit* edit, int minimum, int maximum, int& target,
                      const std::function<void(const QString&)>& showMessage) {
    const IntFieldResult field = ReadIntField(edit->text(), minimum, maximum);
    if (!field.value) {
        showMessage(field.message);
        edit->setFocus();
        edit->selectAll();
        return false;
    }
    target = *field.value;
    return true;
}
