#include "dialogs/ping_dialog.h"

#include "dialogs/dialog_items.h"
#include "dialogs/dialog_units.h"
#include "dialogs/int_field.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

namespace {

constexpr int kSecondsMin = 1;
constexpr int kSecondsMax = 3600;

} // namespace

CPingDlg::CPingDlg(const PingValues& initial, QWidget* parent)
    : QDialog(parent), m_values(initial) {
    setWindowTitle(QStringLiteral("Ping Settings..."));
    CreateItems();
}

void CPingDlg::CreateItems() {
    const DialogUnits du(font());
    m_enabled = new QCheckBox(QStringLiteral("Confirm presence of remote device"), this);
    m_enabled->setObjectName(QStringLiteral("pingEnabled"));
    m_enabled->setProperty("itemId", kEnabledId);
    m_enabled->setGeometry(du.Rect(7, 7, 137, 19));
    m_enabled->setChecked(m_values.enabled);

    AddStatic(this, QStringLiteral("Confirm every"), du.Rect(20, 28, 80, 10));
    m_secondsEdit = new QLineEdit(QString::number(m_values.seconds), this);
    m_secondsEdit->setObjectName(QStringLiteral("secondsEdit"));
    m_secondsEdit->setProperty("itemId", kSecondsEditId);
    m_secondsEdit->setGeometry(du.Rect(20, 39, 40, 14));
    AddStatic(this, QStringLiteral("seconds"), du.Rect(64, 41, 60, 10));

    QLabel* note = AddStatic(
        this,
        QStringLiteral("Changes made on this screen take effect when the program is next started."),
        du.Rect(19, 65, 112, 23));
    note->setObjectName(QStringLiteral("note"));
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setGeometry(du.Rect(7, 92, 172, 16));
    connect(buttons, &QDialogButtonBox::accepted, this, &CPingDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPingDlg::reject);
    setFixedSize(du.Size(186, 112));
}

PingValues CPingDlg::Values() const {
    return m_values;
}

void CPingDlg::accept() {
    int seconds = m_values.seconds;
    if (!ExchangeIntField(m_secondsEdit, kSecondsMin, kSecondsMax, seconds,
                          [this](const QString& text) { ShowFieldMessage(text); })) {
        return;
    }
    m_values.seconds = seconds;
    m_values.enabled = m_enabled->isChecked();
    QDialog::accept();
}

void CPingDlg::ShowFieldMessage(const QString& text) {
    QMessageBox::warning(this, windowTitle(), text);
}
