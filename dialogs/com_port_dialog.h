#pragma once

#include <QDialog>
#include <QString>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;

struct ComPortValues {
    int inbound = 5;
    int outbound = 8;
    bool permitInbound = false;
};

// "Com Port Settings...": the inbound and outbound port numbers and whether inbound connections
// are offered. Beside the numbers it shows, as they are typed, which device each one opens.
class CComPortDlg : public QDialog {
    Q_OBJECT

public:
    // Item ids of the dialog template.
    static constexpr int kOutboundEditId = 1000;
    static constexpr int kInboundEditId = 1001;
    static constexpr int kPermitInboundId = 1006;

    CComPortDlg(const ComPortValues& initial, const std::string& portsFolder,
                QWidget* parent = nullptr);

    // The values confirmed with OK; the initial ones until then.
    ComPortValues Values() const;

    // OK: field exchange (inbound, outbound, then the check box); a refused field keeps the
    // dialog open.
    void accept() override;

protected:
    // Shows the standard message for a refused field; tests replace it so nothing blocks.
    virtual void ShowFieldMessage(const QString& text);

private:
    void CreateItems();
    void UpdateDeviceLines();
    bool ExchangeField(QLineEdit* edit, int& target);

    ComPortValues m_values;
    std::string m_portsFolder;
    QLineEdit* m_outboundEdit = nullptr;
    QLineEdit* m_inboundEdit = nullptr;
    QCheckBox* m_permitInbound = nullptr;
    QLabel* m_outboundDevice = nullptr;
    QLabel* m_inboundDevice = nullptr;
};
