#include "dialogs/date_time_dialog.h"

#include "controls/date_time_format.h"
#include "dialogs/dialog_units.h"
#include "dialogs/entry_dialog_items.h"
#include "dialogs/local_now.h"

#include <QLabel>
#include <QPushButton>

namespace {

using ksv::DateTimeField;
using ksv::StepDirection;

struct StepButton {
    int id;
    const char* caption;
    int x;
    int y;
    DateTimeField field;
    StepDirection direction;
};

constexpr StepButton kStepButtons[] = {
    {1062, "H+", 11, 22, DateTimeField::Hour, StepDirection::Up},
    {1061, "H-", 11, 47, DateTimeField::Hour, StepDirection::Down},
    {1065, "D+", 11, 72, DateTimeField::Day, StepDirection::Up},
    {1069, "D-", 11, 97, DateTimeField::Day, StepDirection::Down},
    {1064, "M+", 51, 22, DateTimeField::Minute, StepDirection::Up},
    {1063, "M-", 51, 47, DateTimeField::Minute, StepDirection::Down},
    {1070, "M+", 51, 72, DateTimeField::Month, StepDirection::Up},
    {1071, "M-", 51, 97, DateTimeField::Month, StepDirection::Down},
    {1068, "S+", 91, 22, DateTimeField::Second, StepDirection::Up},
    {1066, "S-", 91, 47, DateTimeField::Second, StepDirection::Down},
    {1073, "Y+", 91, 72, DateTimeField::Year, StepDirection::Up},
    {1072, "Y-", 91, 97, DateTimeField::Year, StepDirection::Down},
};

} // namespace

CDateTimeDlg::CDateTimeDlg(const ksv::PackedDateTime& value, const QString& format, uint32_t flags,
                           QWidget* parent)
    : QDialog(parent), m_value(ksv::DateTimeOnOpening(value, flags)),
      m_format(format.toStdU16String()), m_flags(flags), m_itemFont(EntryItemFont()) {
    CreateItems();
    ShowValue();
}

void CDateTimeDlg::CreateItems() {
    const DialogUnits du = EntryDialogUnits(*this);
    MakeFullScreen(*this, du);
    m_valueStatic = AddValueStatic(*this, du, kValueStaticId, m_itemFont);
    for (const StepButton& spec : kStepButtons) {
        QPushButton* button = AddEntryButton(*this, du, spec.id, QString::fromLatin1(spec.caption),
                                             spec.x, spec.y, m_itemFont);
        button->setEnabled(ksv::IsDateTimeFieldEnabled(spec.field, m_flags));
        connect(button, &QPushButton::clicked, this,
                [this, spec] { Step(spec.field, spec.direction); });
    }
    AddEntryCloseButton(*this, du, m_itemFont);
    QPushButton* now =
        AddEntryButton(*this, du, kNowId, QStringLiteral("Now"), 91, 122, m_itemFont);
    connect(now, &QPushButton::clicked, this, &CDateTimeDlg::TakeNow);
}

ksv::PackedDateTime CDateTimeDlg::CurrentLocalTime() const {
    return ksv::LocalNow();
}

void CDateTimeDlg::Step(DateTimeField field, StepDirection direction) {
    m_value = ksv::StepDateTime(m_value, field, direction, m_flags);
    ShowValue();
}

void CDateTimeDlg::TakeNow() {
    m_value = ksv::TakeFlaggedFields(m_value, CurrentLocalTime(), m_flags);
    ShowValue();
}

void CDateTimeDlg::ShowValue() {
    ShowFitted(*m_valueStatic, QString::fromStdU16String(ksv::FormatDateTime(m_value, m_format)),
               m_itemFont);
}
