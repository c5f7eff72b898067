#include "controls/ctrl.h"

#include "controls/ctrl_rules.h"
#include "controls/date_time_format.h"
#include "dialogs/date_time_dialog.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QTimeEdit>

namespace {

QStringList WeekdayItems() {
    QStringList items;
    for (const std::u16string& name : ksv::WeekdayListNames()) {
        items << QString::fromStdU16String(name);
    }
    return items;
}

// The time picker shows the parts the value has; the hour when it has none.
QString TimePickerFormat(uint32_t flags) {
    QStringList parts;
    if ((flags & ksv::kFlagHours) != 0 || (flags & ksv::kFlagTimeParts) == 0) {
        parts << QStringLiteral("HH");
    }
    if ((flags & ksv::kFlagMinutes) != 0) {
        parts << QStringLiteral("mm");
    }
    if ((flags & ksv::kFlagSeconds) != 0) {
        parts << QStringLiteral("ss");
    }
    return parts.join(QLatin1Char(':'));
}

} // namespace

// Editable: a button opening the full-screen dialog (appearance 0), or inline pickers with a
// weekday list (appearance 1). Read-only: the formatted value.
void CCtrl::CreateDateTime(const QString& format, const ksv::PackedDateTime& value) {
    BeginCreate(ControlKind::DateTime);
    m_format = format;
    m_date.m_dateTime = value;
    const QString text =
        QString::fromStdU16String(ksv::FormatDateTime(value, format.toStdU16String()));
    if (m_pParent == nullptr) {
        return;
    }
    CreateLabel(0);
    using namespace ksv::qt;
    if (!IsEditable()) {
        m_pValueWnd.Reset(
            CreateStatic(m_pParent, text, kStyleBorder | kStaticCentre, NextChildId()));
        FinishCreate();
        return;
    }
    m_pButton.Reset(CreatePushButton(m_pParent, text, 0, NextChildId()));
    m_date.m_pDatePicker.Reset(CreateDatePicker(m_pParent, kStyleBorder, NextChildId()));
    m_date.m_pTimePicker.Reset(CreateTimePicker(m_pParent, kStyleBorder, NextChildId()));
    m_pCombo.Reset(CreateDropDownList(m_pParent, WeekdayItems(), kStyleVScroll, NextChildId()));
    m_date.m_bShowDate = (m_flags & ksv::kFlagDateParts) != 0;
    m_date.m_bShowTime = (m_flags & ksv::kFlagTimeParts) != 0;
    m_date.m_bShowWeekday = (m_flags & ksv::kFlagWeekday) != 0 && !m_date.m_bShowDate;
    m_date.m_pTimePicker->setDisplayFormat(TimePickerFormat(m_flags));
    m_nDropHeight = 117;
    ShowDateTime();
    FinishCreate();
}

// The value on every window that shows it.
void CCtrl::ShowDateTime() {
    const ksv::PackedDateTime& v = m_date.m_dateTime;
    const QString text =
        QString::fromStdU16String(ksv::FormatDateTime(v, m_format.toStdU16String()));
    ksv::qt::SetWindowText(m_pValueWnd.get(), text);
    ksv::qt::SetWindowText(m_pButton.get(), text);
    ksv::qt::SetPickerDate(m_date.m_pDatePicker.get(), v.Year(), v.Month(), v.Day());
    ksv::qt::SetPickerTime(m_date.m_pTimePicker.get(), v.Hour(), v.Minute(), v.Second());
    ksv::qt::SetListSelection(m_pCombo.get(), WeekdaySelection(v));
}

void CCtrl::PlaceDateTime(const CtrlFrame& f) {
    if (!IsEditable() || Appearance() == 0) {
        PlaceBody(m_pValueWnd.get(), f);
        PlaceBody(m_pButton.get(), f);
        return;
    }
    const bool timeWithOther = m_date.m_bShowTime && (m_date.m_bShowDate || m_date.m_bShowWeekday);
    const PickerPlacement p = PlacePickers(f, timeWithOther);
    PlaceRect(m_date.m_pTimePicker.get(), p.time);
    PlaceRect(m_date.m_pDatePicker.get(), p.date);
    PlaceRect(m_pCombo.get(), p.weekday);
    if (m_pCombo) {
        m_pCombo->setMaxVisibleItems(7);
    }
}

std::vector<QWidget*> CCtrl::ShownDateTime() const {
    if (!IsEditable()) {
        return {m_pValueWnd.get()};
    }
    if (Appearance() == 0) {
        return {m_pButton.get()};
    }
    std::vector<QWidget*> shown;
    if (m_date.m_bShowDate) {
        shown.push_back(m_date.m_pDatePicker.get());
    }
    if (m_date.m_bShowTime) {
        shown.push_back(m_date.m_pTimePicker.get());
    }
    if (m_date.m_bShowWeekday) {
        shown.push_back(m_pCombo.get());
    }
    return shown;
}

CtlColour CCtrl::ColourDateTime() const {
    if (IsEditable() && Appearance() == 1) {
        return {QColor(Qt::black), QColor(Qt::white)};
    }
    return Normal();
}

QString CCtrl::ListNameOfPickers() const {
    QString name;
    for (QWidget* window :
         {static_cast<QWidget*>(m_date.m_pDatePicker.get()), static_cast<QWidget*>(m_pCombo.get()),
          static_cast<QWidget*>(m_date.m_pTimePicker.get())}) {
        const std::vector<QWidget*> shown = ShownDateTime();
        if (std::find(shown.begin(), shown.end(), window) != shown.end()) {
            name += ksv::qt::GetWindowText(window) + QLatin1Char(' ');
        }
    }
    return name;
}

void CCtrl::ClickDateTime() {
    OpenDateTimeDialog();
}

// The full-screen dialog's value, once the user has accepted it.
void CCtrl::TakeDialogDateTime(const ksv::PackedDateTime& value) {
    m_date.m_dateTime = value;
    ShowDateTime();
    SendValue(m_date.m_dateTime.bytes.data(), 8);
}

void CCtrl::OnPickerChange(QWidget* window) {
    if (m_kind != ControlKind::DateTime) {
        ReportInternalError(__LINE__);
        return;
    }
    ksv::PackedDateTime& v = m_date.m_dateTime;
    if (window == m_date.m_pDatePicker.get()) {
        const QDate date = m_date.m_pDatePicker->date();
        TakeDatePicker(v, date.year(), date.month(), date.day(), m_flags);
    } else if (window == m_date.m_pTimePicker.get()) {
        const QTime time = m_date.m_pTimePicker->time();
        TakeTimePicker(v, time.hour(), time.minute(), time.second(), m_flags);
    } else {
        return;
    }
    ksv::qt::SetWindowText(m_pButton.get(), QString::fromStdU16String(
                                                ksv::FormatDateTime(v, m_format.toStdU16String())));
    SendValue(v.bytes.data(), 8);
}

// The weekday list's choice becomes the value's weekday.
void CCtrl::TakeWeekday() {
    const int selected = ksv::qt::GetListSelection(m_pCombo.get());
    if (selected < 0) {
        return;
    }
    m_date.m_dateTime.SetWeekday(static_cast<uint8_t>(selected));
    SendValue(m_date.m_dateTime.bytes.data(), 8);
}

void CCtrl::UpdateDateTime(const std::vector<uint8_t>& value) {
    if (value.size() < 8) {
        return;
    }
    m_date.m_dateTime = ksv::PackedDateTime::FromBytes(value.data());
    ShowDateTime();
}

void CCtrl::OpenDateTimeDialog() {
    if (RaiseDialog(m_date.m_pDateTimeDlg) || m_pParent == nullptr) {
        return;
    }
    auto* dialog = new CDateTimeDlg(m_date.m_dateTime, m_format, m_flags, m_pParent);
    ShowDialog(m_date.m_pDateTimeDlg, dialog, [this](QDialog* done) {
        TakeDialogDateTime(static_cast<CDateTimeDlg*>(done)->Value());
    });
}
