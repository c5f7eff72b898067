#include "dialogs/control_settings_dialog.h"

#include "dialogs/dialog_items.h"
#include "dialogs/dialog_units.h"
#include "platform/layout/layout_attributes.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>

#include <array>
#include <utility>

namespace {

// The page-bar buttons in the order of kPageBarIds.
constexpr std::array<const char*, ksv::kPageBarButtonCount> kNavLines = {
    "Close Nav Button", "Prev Nav Button", "Next Nav Button", "First Nav Button",
    "Last Nav Button"};

constexpr int kTargetRole = Qt::UserRole;

QString LineText(const ControlListLine& line) {
    if (!line.open) {
        return line.name;
    }
    return QStringLiteral("%1 %2").arg(line.name, *line.open ? QStringLiteral("(open)")
                                                             : QStringLiteral("(closed)"));
}

} // namespace

CControlSettingsDlg::CControlSettingsDlg(const std::vector<ControlListLine>& lines,
                                         ModifyHandler onModify, QWidget* parent)
    : QDialog(parent), m_onModify(std::move(onModify)) {
    setWindowTitle(QStringLiteral("Control Settings..."));
    CreateItems();
    AddLines(lines);
    connect(m_list, &QListWidget::itemSelectionChanged, this,
            [this] { m_modify->setEnabled(m_list->count() > 1); });
    connect(m_modify, &QPushButton::clicked, this, &CControlSettingsDlg::Modify);
}

void CControlSettingsDlg::CreateItems() {
    const DialogUnits du(font());
    AddStatic(this, QStringLiteral("Select control(s)"), du.Rect(5, 4, 68, 8));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("controlList"));
    m_list->setProperty("itemId", kListId);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setGeometry(du.Rect(5, 14, 128, 95));

    m_modify =
        AddPushButton(this, kModifyId, QStringLiteral("Modify..."), du.Rect(35, 119, 66, 14));
    m_modify->setEnabled(false);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setGeometry(du.Rect(5, 140, 128, 16));
    connect(buttons, &QDialogButtonBox::accepted, this, &CControlSettingsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CControlSettingsDlg::reject);
    setFixedSize(du.Size(138, 162));
}

void CControlSettingsDlg::AddLines(const std::vector<ControlListLine>& lines) {
    for (const ControlListLine& line : lines) {
        auto* item = new QListWidgetItem(LineText(line), m_list);
        item->setData(kTargetRole, line.index);
    }
    for (size_t i = 0; i < ksv::kPageBarButtonCount; ++i) {
        auto* item = new QListWidgetItem(QString::fromLatin1(kNavLines[i]), m_list);
        item->setData(kTargetRole, ksv::kPageBarIds[i]);
    }
}

std::vector<int> CControlSettingsDlg::SelectedTargets() const {
    std::vector<int> targets;
    for (int row = 0; row < m_list->count(); ++row) {
        const QListWidgetItem* item = m_list->item(row);
        if (item->isSelected()) {
            targets.push_back(item->data(kTargetRole).toInt());
        }
    }
    return targets;
}

void CControlSettingsDlg::Modify() {
    const std::vector<int> targets = SelectedTargets();
    if (targets.empty() || !m_onModify) {
        return;
    }
    m_onModify(targets);
}

void CControlSettingsDlg::done(int result) {
    for (QDialog* over : findChildren<QDialog*>(Qt::FindDirectChildrenOnly)) {
        if (over->isVisible()) {
            over->reject();
        }
    }
    QDialog::done(result);
}
