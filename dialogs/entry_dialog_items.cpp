#include "dialogs/entry_dialog_items.h"

#include "dialogs/dialog_items.h"
#include "dialogs/dialog_units.h"

#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int kButtonWidth = 36;
constexpr int kButtonHeight = 23;
constexpr int kSmallestValuePixels = 8;

} // namespace

QFont EntryItemFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(20);
    font.setWeight(QFont::Bold);
    return font;
}

DialogUnits EntryDialogUnits(const QDialog& dialog) {
    DialogUnits du(dialog.font());
    if (const QWidget* view = dialog.parentWidget()) {
        du.FitWidth(kEntryDialogWidth, view->width());
    }
    return du;
}

void MakeFullScreen(QDialog& dialog, const DialogUnits& du) {
    dialog.setWindowTitle(QString());
    dialog.setFixedSize(du.Size(kEntryDialogWidth, kEntryDialogHeight));
}

QLabel* AddValueStatic(QDialog& dialog, const DialogUnits& du, int itemId, const QFont& font) {
    QLabel* value = AddStatic(&dialog, QStringLiteral("Date Time"), du.Rect(5, 4, 128, 13), itemId);
    value->setAlignment(Qt::AlignCenter);
    value->setTextFormat(Qt::PlainText); // device texts are never markup
    value->setFont(font);
    return value;
}

void ShowFitted(QLabel& value, const QString& text, const QFont& font) {
    QFont fitted = font;
    while (fitted.pixelSize() > kSmallestValuePixels &&
           QFontMetrics(fitted).horizontalAdvance(text) > value.width()) {
        fitted.setPixelSize(fitted.pixelSize() - 1);
    }
    value.setFont(fitted);
    value.setText(text);
}

QPushButton* AddEntryButton(QDialog& dialog, const DialogUnits& du, int itemId,
                            const QString& caption, int x, int y, const QFont& font) {
    QPushButton* button =
        AddPushButton(&dialog, itemId, caption, du.Rect(x, y, kButtonWidth, kButtonHeight));
    button->setFont(font);
    button->setAutoDefault(false);
    return button;
}

QPushButton* AddEntryCloseButton(QDialog& dialog, const DialogUnits& du, const QFont& font) {
    QPushButton* close =
        AddEntryButton(dialog, du, kEntryCloseId, QStringLiteral("Close"), 11, 122, font);
    close->setDefault(true);
    QObject::connect(close, &QPushButton::clicked, &dialog, &QDialog::accept);
    return close;
}
