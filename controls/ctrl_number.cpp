#include "controls/ctrl.h"

#include "controls/ctrl_rules.h"
#include "controls/number_format.h"
#include "controls/number_parse.h"
#include "controls/value_text.h"
#include "dialogs/number_dialog.h"
#include "link/link.h"
#include "platform/layout/layout_attributes.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

namespace {

// Wider fields than this fill no control; the formatter takes no more either.
constexpr int32_t kMaxZeroFill = 256;

const QColor kLightGrey(0xC0, 0xC0, 0xC0);

} // namespace

// Editable: a button opening the keypad (0), an edit with "OK" (1), a value with "-" and "+"
// (2), or a slider (4). Read-only: the value, or a bar (3) when it has a range.
void CCtrl::CreateNumber(int32_t maximum, int32_t minimum, int8_t decimals, int8_t exponent,
                         const QString& templ, int32_t value) {
    BeginCreate(ControlKind::Number);
    NumberFields& n = m_number;
    m_format = templ.isEmpty() ? QStringLiteral("%%") : templ;
    n.m_max = maximum;
    n.m_min = minimum;
    n.m_decimals = decimals;
    n.m_exponent = exponent;
    n.m_value = ClampNumber(value, minimum, maximum, m_flags);
    if (m_services.link != nullptr) {
        const int32_t width =
            m_services.link->Settings().GetDeviceInt(m_deviceId, ksv::kAttrZeroFill, 0);
        n.m_nZeroFill = std::clamp(width, -kMaxZeroFill, kMaxZeroFill);
    }
    if (m_pParent == nullptr) {
        return;
    }
    CreateLabel(0);
    using namespace ksv::qt;
    const QString text = NumberText(n.m_value, false);
    if (IsEditable()) {
        m_pButton.Reset(CreatePushButton(m_pParent, text, 0, NextChildId()));
        n.m_pPlus.Reset(CreatePushButton(m_pParent, QStringLiteral("+"), 0, NextChildId()));
        n.m_pMinus.Reset(CreatePushButton(m_pParent, QStringLiteral("-"), 0, NextChildId()));
        m_pEdit.Reset(CreateEdit(m_pParent, NumberText(n.m_value, true),
                                 kStyleBorder | kEditRight | kEditAutoHScroll, NextChildId()));
        n.m_pSlider.Reset(CreateSlider(m_pParent, 0, NextChildId()));
        const bool ranged = n.m_min < n.m_max;
        SetSliderRange(n.m_pSlider.get(), ranged ? n.m_min : 0, ranged ? n.m_max : 100, n.m_value);
    }
    const uint32_t valueStyle = kStyleBorder | kStaticCentre;
    m_pValueWnd.Reset(CreateStatic(m_pParent, text, valueStyle, NextChildId()));
    n.m_pValueWnd2.Reset(CreateStatic(m_pParent, text, valueStyle, NextChildId()));
    FinishCreate();
}

// The value in the control's notation and template, or bare ("%%", no zero fill) for the edit.
QString CCtrl::NumberText(int32_t value, bool bare) const {
    const NumberFields& n = m_number;
    return QString::fromStdU16String(
        ksv::FormatScaled(value, ksv::NotationFromFlags(m_flags),
                          bare ? std::u16string(u"%%") : m_format.toStdU16String(), n.m_decimals,
                          n.m_exponent, bare ? 0 : n.m_nZeroFill, false));
}

void CCtrl::ShowNumber(bool editToo) {
    NumberFields& n = m_number;
    const QString text = NumberText(n.m_value, false);
    ksv::qt::SetWindowText(m_pValueWnd.get(), text);
    ksv::qt::SetWindowText(n.m_pValueWnd2.get(), text);
    if (IsEditable() && Appearance() == 0) {
        ksv::qt::SetWindowText(m_pButton.get(), text);
    }
    // A hidden edit gets the number when it is shown (ShowNumberEdit).
    if (editToo && m_pEdit && m_pEdit->isVisibleTo(m_pParent)) {
        ksv::qt::SetWindowText(m_pEdit.get(), NumberText(n.m_value, true));
    }
    if (!IsEditable() && Appearance() == 3) {
        Place(); // the bar's length follows the value
    }
}

void CCtrl::ShowNumberEdit() {
    ksv::qt::SetWindowText(m_pEdit.get(), NumberText(m_number.m_value, true));
}

void CCtrl::PlaceNumber(const CtrlFrame& f) {
    using namespace ksv::qt;
    NumberFields& n = m_number;
    const int appearance = Appearance();
    if (!IsEditable()) {
        if (appearance == 3) {
            const BarPlacement bar = PlaceBar(f, n.m_value, n.m_min, n.m_max);
            PlaceRect(n.m_pValueWnd2.get(), bar.bar);
            PlaceRect(m_pValueWnd.get(), bar.value);
            const QString text = NumberText(n.m_value, false);
            SetWindowText(m_pValueWnd.get(), bar.valueInBar ? QString() : text);
            SetWindowText(n.m_pValueWnd2.get(), bar.valueInBar ? text : QString());
            ModifyStyle(m_pValueWnd.get(), kStaticCentre, kStyleBorder | kStaticRight);
            ModifyStyle(n.m_pValueWnd2.get(), kStaticCentre | kStaticRight, kStyleBorder);
            return;
        }
        const uint32_t align = m_nAlign == 1 ? kStaticCentre : m_nAlign == 2 ? kStaticRight : 0;
        ModifyStyle(m_pValueWnd.get(), kStaticCentre | kStaticRight, align);
        PlaceBody(m_pValueWnd.get(), f);
        return;
    }
    switch (appearance) {
    case 1: {
        const EditWithButton p = PlaceEditWithButton(f);
        PlaceRect(m_pEdit.get(), p.edit);
        PlaceRect(n.m_pMinus.get(), p.button);
        SetWindowText(n.m_pMinus.get(), QStringLiteral("OK"));
        return;
    }
    case 2:
    case 4: {
        const SpinPlacement p = PlaceSpin(f);
        PlaceRect(m_pValueWnd.get(), p.value);
        PlaceRect(n.m_pPlus.get(), p.plus);
        PlaceRect(n.m_pMinus.get(), p.minus);
        SetWindowText(n.m_pMinus.get(), QStringLiteral("-"));
        PlaceBody(n.m_pSlider.get(), f);
        return;
    }
    default:
        PlaceBody(m_pButton.get(), f);
        return;
    }
}

std::vector<QWidget*> CCtrl::ShownNumber() const {
    const NumberFields& n = m_number;
    if (!IsEditable()) {
        if (Appearance() == 3) {
            return {m_pValueWnd.get(), n.m_pValueWnd2.get()};
        }
        return {m_pValueWnd.get()};
    }
    switch (Appearance()) {
    case 1:
        return {m_pEdit.get(), n.m_pMinus.get()};
    case 2:
        return {m_pValueWnd.get(), n.m_pPlus.get(), n.m_pMinus.get()};
    case 4:
        return {n.m_pSlider.get()};
    default:
        return {m_pButton.get()};
    }
}

CtlColour CCtrl::ColourNumber(const QWidget* window) const {
    const NumberFields& n = m_number;
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    if (IsEditable() && Appearance() != 0) {
        if (window == n.m_pPlus.get() || window == n.m_pMinus.get()) {
            return {black, kLightGrey};
        }
        return {black, white};
    }
    if (window == n.m_pValueWnd2.get()) {
        return {IsDark() ? white : black, ksv::qt::ColourFromRef(m_colour)};
    }
    if (Appearance() == 3 && window == m_pValueWnd.get()) {
        return IsDark() ? CtlColour{black, white} : CtlColour{white, black};
    }
    return Normal();
}

void CCtrl::ClickNumber(QWidget* window) {
    NumberFields& n = m_number;
    const int appearance = Appearance();
    if (appearance == 0) {
        OpenNumberDialog();
        return;
    }
    if (appearance == 1) {
        const auto parsed =
            ksv::ParseScaled(ksv::qt::GetWindowText(m_pEdit.get()).toStdU16String(), n.m_exponent);
        if (parsed) {
            n.m_value = ClampNumber(*parsed, n.m_min, n.m_max, m_flags);
        }
        ShowNumber(true);
        if (parsed) {
            SendValue(&n.m_value, 4); // typed text without a number changes nothing
        }
        return;
    }
    if (appearance != 2 || (window != n.m_pPlus.get() && window != n.m_pMinus.get())) {
        return;
    }
    const int step = window == n.m_pPlus.get() ? 1 : -1;
    n.m_value = ClampNumber(StepNumber(n.m_value, step), n.m_min, n.m_max, m_flags);
    ShowNumber(true);
    SendValue(&n.m_value, 4);
}

void CCtrl::TakeDialogNumber(int32_t value) {
    NumberFields& n = m_number;
    n.m_value = ClampNumber(value, n.m_min, n.m_max, m_flags);
    ShowNumber(true);
    ksv::qt::SetWindowText(m_pButton.get(), NumberText(n.m_value, false));
    SendValue(&n.m_value, 4);
}

void CCtrl::OnSliderMoved() {
    if (m_kind != ControlKind::Number) {
        ReportInternalError(__LINE__);
        return;
    }
    if (!m_number.m_pSlider) {
        return;
    }
    m_number.m_value = m_number.m_pSlider->value();
    SendValue(&m_number.m_value, 4);
}

// Shown as received, limits or not: the next step clamps it.
void CCtrl::UpdateNumber(const std::vector<uint8_t>& value) {
    if (const auto raw = Int32OfValue(value)) {
        m_number.m_value = *raw;
        ShowNumber(true);
    }
}

void CCtrl::OpenNumberDialog() {
    if (RaiseDialog(m_number.m_pNumberDlg) || m_pParent == nullptr) {
        return;
    }
    const NumberFields& n = m_number;
    const NumberEntryParams params{n.m_value,    n.m_max,  n.m_min, n.m_exponent,
                                   n.m_decimals, m_format, m_flags};
    ShowDialog(m_number.m_pNumberDlg, new CNumberDlg(params, m_pParent), [this](QDialog* done) {
        TakeDialogNumber(static_cast<CNumberDlg*>(done)->Value());
    });
}
