#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QLineEdit;

struct PingValues {
    bool enabled = false;
    int seconds = 3;
};

// "Ping Settings...": whether the link is supervised with pings and how often.
class CPingDlg : public QDialog {
    Q_OBJECT

public:
    // Item ids of the dialog template.
    static constexpr int kEnabledId = 1002;
    static constexpr int kSecondsEditId = 1003;

    CPingDlg(const PingValues& initial, QWidget* parent = nullptr);

    // The values confirmed with OK; the initial ones until then.
    PingValues Values() const;

    // OK: field exchange (the seconds, then the check box); refused seconds keep the dialog open.
    void accept() override;

protected:
    // Shows the standard message for a refused field; tests replace it so nothing blocks.
    virtual void ShowFieldMessage(const QString& text);

private:
    void CreateItems();

    PingValues m_values;
    QCheckBox* m_enabled = nullptr;
    QLineEdit* m_secondsEdit = nullptr;
};
