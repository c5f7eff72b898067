#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace ksv {

// The desktop's part in saving a table: asking where to, and telling of a failure. Tests put
// their own in place of the dialogs.
struct TableSaveUi {
    // The chosen path; empty when the user cancelled.
    std::function<QString(QWidget* parent)> askSavePath;
    std::function<void(QWidget* parent, const QString& text)> showMessage;
};

// The save-file dialog (default suffix TXT, a prompt before overwriting) and a plain message
// box. Both are modal to `parent` and survive its destruction while they are up.
TableSaveUi DesktopTableSaveUi();

} // namespace ksv
