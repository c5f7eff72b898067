#include "dialogs/number_dialog.h"

#include "controls/number_format.h"
#include "dialogs/dialog_units.h"
#include "dialogs/entry_dialog_items.h"

#include <QLabel>
#include <QPushButton>

namespace {

struct DigitKey {
    int id;
    int digit;
    int x;
    int y;
};

constexpr DigitKey kDigitKeys[] = {
    {1075, 1, 11, 22}, {1076, 2, 51, 22}, {1077, 3, 91, 22}, {1078, 4, 11, 47}, {1079, 5, 51, 47},
    {1080, 6, 91, 47}, {1081, 7, 11, 72}, {1082, 8, 51, 72}, {1083, 9, 91, 72}, {1084, 0, 51, 97},
};

struct CommandKey {
    int id;
    const char* caption;
    int x;
    int y;
    void (ksv::NumberEntry::*action)();
};

constexpr CommandKey kCommandKeys[] = {
    {CNumberDlg::kClearEntryId, "CE", 11, 97, &ksv::NumberEntry::ClearEntry},
    {CNumberDlg::kUpId, "Up", 91, 97, &ksv::NumberEntry::Up},
    {CNumberDlg::kDownId, "Down", 91, 122, &ksv::NumberEntry::Down},
    {CNumberDlg::kSignId, "+/-", 52, 122, &ksv::NumberEntry::ToggleSign},
};

// A Number control without a template shows the bare number.
std::u16string TemplateOrBare(const QString& templ) {
    return templ.isEmpty() ? std::u16string(u"%%") : templ.toStdU16String();
}

} // namespace

CNumberDlg::CNumberDlg(const NumberEntryParams& params, QWidget* parent)
    : QDialog(parent), m_entry(params.value, params.min, params.max, params.flags),
      m_params(params), m_template(TemplateOrBare(params.templ)),
      m_notation(ksv::NotationFromFlags(params.flags)), m_itemFont(EntryItemFont()) {
    CreateItems();
    ShowValue();
}

void CNumberDlg::CreateItems() {
    const DialogUnits du = EntryDialogUnits(*this);
    MakeFullScreen(*this, du);
    m_valueStatic = AddValueStatic(*this, du, kValueStaticId, m_itemFont);
    for (const DigitKey& key : kDigitKeys) {
        QPushButton* button =
            AddEntryButton(*this, du, key.id, QString::number(key.digit), key.x, key.y, m_itemFont);
        connect(button, &QPushButton::clicked, this, [this, digit = key.digit] {
            m_entry.Digit(digit);
            ShowValue();
        });
    }
    for (const CommandKey& key : kCommandKeys) {
        QPushButton* button = AddEntryButton(*this, du, key.id, QString::fromLatin1(key.caption),
                                             key.x, key.y, m_itemFont);
        connect(button, &QPushButton::clicked, this, [this, action = key.action] {
            (m_entry.*action)();
            ShowValue();
        });
        m_up = key.id == kUpId ? button : m_up;
        m_down = key.id == kDownId ? button : m_down;
        if (key.id == kSignId) {
            button->setEnabled(m_entry.CanToggleSign());
        }
    }
    AddEntryCloseButton(*this, du, m_itemFont);
}

void CNumberDlg::ShowValue() {
    const std::u16string text =
        ksv::FormatScaled(m_entry.Value(), m_notation, m_template, m_params.decimals,
                          m_params.exponent, 0, m_entry.MinusPending());
    ShowFitted(*m_valueStatic, QString::fromStdU16String(text), m_itemFont);
    m_down->setEnabled(m_entry.CanGoDown());
    m_up->setEnabled(m_entry.CanGoUp());
}
