#include "dialogs/com_port_dialog.h"

#include "dialogs/dialog_items.h"
#include "dialogs/dialog_units.h"
#include "dialogs/int_field.h"
#include "dialogs/port_device_line.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

namespace {

constexpr int kPortMin = 1;
constexpr int kPortMax = 1000;

const char* const kWhatToDo =
    "WHAT TO DO:  Find out from the Pocket PC documentation which COM port is used as an "
    "outbound serial port.  (The most common port is 8.)  Enter the port number in the top "
    "box.  You can leave the inbound connections box unchecked. ";

QLineEdit* AddEdit(QWidget* parent, int itemId, int value, const QRect& where) {
    auto* edit = new QLineEdit(QString::number(value), parent);
    edit->setProperty("itemId", itemId);
    edit->setGeometry(where);
    return edit;
}

} // namespace

CComPortDlg::CComPortDlg(const ComPortValues& initial, const std::string& portsFolder,
                         QWidget* parent)
    : QDialog(parent), m_values(initial), m_portsFolder(portsFolder) {
    setWindowTitle(QStringLiteral("Com Port Settings..."));
    CreateItems();
    UpdateDeviceLines();
    connect(m_outboundEdit, &QLineEdit::textChanged, this, &CComPortDlg::UpdateDeviceLines);
    connect(m_inboundEdit, &QLineEdit::textChanged, this, &CComPortDlg::UpdateDeviceLines);
}

void CComPortDlg::CreateItems() {
    const DialogUnits du(font());
    AddStatic(this, QStringLiteral("Outbound Com Port"), du.Rect(7, 8, 120, 10));
    m_outboundEdit = AddEdit(this, kOutboundEditId, m_values.outbound, du.Rect(7, 19, 40, 14));
    m_outboundEdit->setObjectName(QStringLiteral("outboundEdit"));

    m_permitInbound = new QCheckBox(QStringLiteral("Permit inbound connections"), this);
    m_permitInbound->setObjectName(QStringLiteral("permitInbound"));
    m_permitInbound->setProperty("itemId", kPermitInboundId);
    m_permitInbound->setGeometry(du.Rect(7, 44, 106, 10));
    m_permitInbound->setChecked(m_values.permitInbound);

    AddStatic(this, QStringLiteral("Inbound Com Port"), du.Rect(29, 57, 100, 10));
    m_inboundEdit = AddEdit(this, kInboundEditId, m_values.inbound, du.Rect(29, 68, 40, 14));
    m_inboundEdit->setObjectName(QStringLiteral("inboundEdit"));

    QLabel* whatToDo = AddStatic(this, QString::fromLatin1(kWhatToDo), du.Rect(7, 96, 124, 71));
    whatToDo->setObjectName(QStringLiteral("whatToDo"));
    whatToDo->setWordWrap(true);
    whatToDo->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // Where the numbers lead on this machine: the template has no room, so below it.
    m_outboundDevice = AddStatic(this, QString(), du.Rect(7, 170, 124, 10));
    m_outboundDevice->setObjectName(QStringLiteral("outboundDevice"));
    m_inboundDevice = AddStatic(this, QString(), du.Rect(7, 181, 124, 10));
    m_inboundDevice->setObjectName(QStringLiteral("inboundDevice"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setGeometry(du.Rect(7, 195, 124, 16));
    connect(buttons, &QDialogButtonBox::accepted, this, &CComPortDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CComPortDlg::reject);
    setFixedSize(du.Size(138, 215));
}

void CComPortDlg::UpdateDeviceLines() {
    for (auto [edit, line] :
         {std::pair{m_outboundEdit, m_outboundDevice}, std::pair{m_inboundEdit, m_inboundDevice}}) {
        const QString text = DescribePortDevice(edit->text(), m_portsFolder);
        line->setText(text);
        line->setToolTip(text);
    }
}

ComPortValues CComPortDlg::Values() const {
    return m_values;
}

void CComPortDlg::accept() {
    ComPortValues exchanged = m_values;
    if (!ExchangeField(m_inboundEdit, exchanged.inbound) ||
        !ExchangeField(m_outboundEdit, exchanged.outbound)) {
        return;
    }
    exchanged.permitInbound = m_permitInbound->isChecked();
    m_values = exchanged;
    QDialog::accept();
}

bool CComPortDlg::ExchangeField(QLineEdit* edit, int& target) {
    return ExchangeIntField(edit, kPortMin, kPortMax, target,
                            [this](const QString& text) { ShowFieldMessage(text); });
}

void CComPortDlg::ShowFieldMessage(const QString& text) {
    QMessageBox::warning(this, windowTitle(), text);
}
