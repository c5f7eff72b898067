#pragma once

#include "dialogs/number_entry.h"

#include <QDialog>
#include <QFont>
#include <QString>

#include <cstdint>
#include <string>

class QLabel;
class QPushButton;

// What a Number control gives the keypad: its raw value, limits, scaling, template and flags.
struct NumberEntryParams {
    int32_t value = 0, max = 0, min = 0;
    int8_t exponent = 0, decimals = 0;
    QString templ;
    uint32_t flags = 0;
};

// The full-screen number keypad. The control opens it with open() and takes Value() back when
// it finishes accepted (clamping it to its limits); the dialog sends nothing.
class CNumberDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kValueStaticId = 1086;
    static constexpr int kClearEntryId = 1085;
    static constexpr int kUpId = 1087;
    static constexpr int kDownId = 1088;
    static constexpr int kSignId = 1089;

    CNumberDlg(const NumberEntryParams& params, QWidget* parent);

    int32_t Value() const { return m_entry.Value(); }

private:
    void CreateItems();
    void ShowValue();

    ksv::NumberEntry m_entry;
    NumberEntryParams m_params;
    std::u16string m_template;
    int m_notation;
    QFont m_itemFont;
    QLabel* m_valueStatic = nullptr;
    QPushButton* m_up = nullptr;
    QPushButton* m_down = nullptr;
};
