#pragma once

#include <QPointer>
#include <QString>

class QMessageBox;
class QWidget;

// A warning shown over a dialog without blocking it: a new one replaces the last, and Close
// takes it down when the dialog ends.
class FieldMessage {
public:
    void Show(QWidget* over, const QString& title, const QString& text);
    void Close();

private:
    QPointer<QMessageBox> m_box;
};
