#include "dialogs/control_appearance_dialog.h"

#include "dialogs/dialog_items.h"
#include "dialogs/dialog_units.h"
#include "dialogs/int_field.h"
#include "platform/layout/layout_ranges.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>

#include <climits>

namespace {

constexpr int kAnyMin = INT_MIN;
constexpr int kAnyMax = INT_MAX;
constexpr int kWidthMax = 240;
constexpr int kHeightMax = 320;

constexpr int kEditWidth = 27;
constexpr int kEditHeight = 14;
constexpr int kLabelWidth = 60;
constexpr int kLabelHeight = 8;

} // namespace

CControlAppearanceDlg::CControlAppearanceDlg(const AppearanceValues& initial,
                                             const QStringList& appearanceNames, QWidget* parent)
    : QDialog(parent), m_values(initial) {
    setWindowTitle(QStringLiteral("Control Appearance..."));
    CreateItems(appearanceNames);
}

void CControlAppearanceDlg::CreateItems(const QStringList& appearanceNames) {
    const DialogUnits du(font());
    const bool single = !m_values.severalSelected;

    m_appearanceList = new QComboBox(this);
    m_appearanceList->setObjectName(QStringLiteral("appearanceList"));
    m_appearanceList->setProperty("itemId", kAppearanceListId);
    m_appearanceList->addItems(appearanceNames);
    // The template's 90 units include the dropped list; closed, the box is one line high.
    const QRect listRect = du.Rect(5, 4, 128, 90);
    m_appearanceList->setGeometry(
        listRect.x(), listRect.y(), listRect.width(),
        std::min(m_appearanceList->sizeHint().height(), du.Rect(0, 0, 0, 14).height()));
    m_appearanceList->setCurrentIndex(
        m_values.appearance < appearanceNames.size() ? m_values.appearance : -1);
    m_appearanceList->setEnabled(single);

    m_xEdit = AddField(QStringLiteral("X Position"), kXEditId, m_values.x, {5, 19}, 29, single);
    m_yEdit = AddField(QStringLiteral("Y Position"), kYEditId, m_values.y, {71, 19}, 29, single);
    m_widthEdit = AddField(QStringLiteral("Width"), kWidthEditId, m_values.width, {5, 47}, 57);
    m_heightEdit = AddField(QStringLiteral("Height"), kHeightEditId, m_values.height, {71, 47}, 58);
    m_pageEdit = AddField(QStringLiteral("Page"), kPageEditId, m_values.page, {5, 77}, 87, single);
    QLabel* note = AddStatic(
        this, QStringLiteral("The first page is 0.  Enter -1 to appear on all pages."),
        du.Rect(50, 86, 83, 24)); // three lines: the template's two clip it in desktop fonts
    note->setObjectName(QStringLiteral("pageNote"));
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_fontSizeEdit =
        AddField(QStringLiteral("Font size"), kFontSizeEditId, m_values.fontHeight, {5, 107}, 118);

    m_bold = new QCheckBox(QStringLiteral("Bold"), this);
    m_bold->setObjectName(QStringLiteral("bold"));
    m_bold->setProperty("itemId", kBoldId);
    m_bold->setGeometry(du.Rect(57, 120, 29, 10));
    m_bold->setChecked(m_values.bold);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setGeometry(du.Rect(5, 140, 128, 16));
    connect(buttons, &QDialogButtonBox::accepted, this, &CControlAppearanceDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CControlAppearanceDlg::reject);
    setFixedSize(du.Size(138, 162));
}

QLineEdit* CControlAppearanceDlg::AddField(const QString& label, int itemId, int value,
                                           QPoint labelAt, int editY, bool enabled) {
    const DialogUnits du(font());
    QLabel* caption =
        AddStatic(this, label, du.Rect(labelAt.x(), labelAt.y(), kLabelWidth, kLabelHeight));
    auto* edit = new QLineEdit(QString::number(value), this);
    edit->setProperty("itemId", itemId);
    edit->setGeometry(du.Rect(labelAt.x(), editY, kEditWidth, kEditHeight));
    caption->setBuddy(edit);
    caption->setEnabled(enabled);
    edit->setEnabled(enabled);
    return edit;
}

AppearanceValues CControlAppearanceDlg::Values() const {
    return m_values;
}

void CControlAppearanceDlg::accept() {
    AppearanceValues exchanged = m_values;
    const bool single = !m_values.severalSelected;
    // Fields left disabled for several controls keep their values unread.
    if ((single && !ExchangeField(m_xEdit, kAnyMin, kAnyMax, exchanged.x)) ||
        (single && !ExchangeField(m_yEdit, kAnyMin, kAnyMax, exchanged.y)) ||
        !ExchangeField(m_widthEdit, 1, kWidthMax, exchanged.width) ||
        !ExchangeField(m_heightEdit, 1, kHeightMax, exchanged.height) ||
        (single && !ExchangeField(m_pageEdit, kAnyMin, kAnyMax, exchanged.page)) ||
        !ExchangeField(m_fontSizeEdit, ksv::kMinFontHeight, ksv::kMaxFontHeight,
                       exchanged.fontHeight)) {
        return;
    }
    // A kind without appearances to choose from keeps the one it has.
    if (single && m_appearanceList->currentIndex() >= 0) {
        exchanged.appearance = m_appearanceList->currentIndex();
    }
    exchanged.bold = m_bold->isChecked();
    m_values = exchanged;
    QDialog::accept();
}

bool CControlAppearanceDlg::ExchangeField(QLineEdit* edit, int minimum, int maximum, int& target) {
    return ExchangeIntField(edit, minimum, maximum, target,
                            [this](const QString& text) { ShowFieldMessage(text); });
}

void CControlAppearanceDlg::ShowFieldMessage(const QString& text) {
    m_message.Show(this, windowTitle(), text);
}

void CControlAppearanceDlg::done(int result) {
    m_message.Close();
    QDialog::done(result);
}
