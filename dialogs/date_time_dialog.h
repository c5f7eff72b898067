#pragma once

#include "controls/packed_date_time.h"
#include "dialogs/date_time_steps.h"

#include <QDialog>
#include <QFont>
#include <QString>

#include <cstdint>
#include <string>

class QLabel;

// The full-screen date/time dialog: large plus and minus buttons for each field the control's
// flags allow, "Now" and "Close". The control opens it with open() and takes Value() back when
// it finishes accepted; the dialog sends nothing.
class CDateTimeDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kValueStaticId = 1074;
    static constexpr int kNowId = 1067;

    CDateTimeDlg(const ksv::PackedDateTime& value, const QString& format, uint32_t flags,
                 QWidget* parent);

    ksv::PackedDateTime Value() const { return m_value; }

protected:
    // The local time "Now" takes its fields from; tests give a fixed one.
    virtual ksv::PackedDateTime CurrentLocalTime() const;

private:
    void CreateItems();
    void Step(ksv::DateTimeField field, ksv::StepDirection direction);
    void TakeNow();
    void ShowValue();

    ksv::PackedDateTime m_value;
    std::u16string m_format;
    uint32_t m_flags;
    QFont m_itemFont;
    QLabel* m_valueStatic = nullptr;
};
