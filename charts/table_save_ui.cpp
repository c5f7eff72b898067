#include "charts/table_save_ui.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>

namespace ksv {
namespace {

QString AskSavePath(QWidget* parent) {
    // On the heap: a session that ends meanwhile may take the parent and so the dialog.
    QPointer<QFileDialog> dialog = new QFileDialog(parent);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(QStringLiteral("TXT"));
    dialog->setNameFilters(
        {QStringLiteral("TXT Files (*.TXT)"), QStringLiteral("All Files (*.*)")});
    const int result = dialog->exec();
    if (dialog == nullptr)
        return {};
    const QStringList chosen = dialog->selectedFiles();
    delete dialog.data();
    if (result != QDialog::Accepted || chosen.isEmpty())
        return {};
    return chosen.front();
}

void ShowMessage(QWidget* parent, const QString& text) {
    QPointer<QMessageBox> box =
        new QMessageBox(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, parent);
    box->exec();
    delete box.data();
}

} // namespace

TableSaveUi DesktopTableSaveUi() {
    return {AskSavePath, ShowMessage};
}

} // namespace ksv
