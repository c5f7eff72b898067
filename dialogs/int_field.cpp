#include "dialogs/int_field.h"

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
