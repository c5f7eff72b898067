#include "controls/ctrl.h"

#include "controls/ctrl_rules.h"
#include "controls/value_text.h"

#include <QComboBox>
#include <QListWidget>

namespace {

QStringList ItemsOf(const std::vector<std::u16string>& items) {
    QStringList out;
    out.reserve(static_cast<qsizetype>(items.size()));
    for (const std::u16string& item : items) {
        out << QString::fromStdU16String(item);
    }
    return out;
}

} // namespace

// The same items in a drop-down list (appearance 0) and a list box (1), kept in step.
void CCtrl::CreateList(uint32_t count, const std::u16string& items, int32_t selected) {
    BeginCreate(ControlKind::List);
    const QStringList texts = ItemsOf(SplitListItems(items, count));
    m_list.m_nListCount = static_cast<uint32_t>(texts.size());
    m_list.m_nListSel = selected >= 0 && selected < texts.size() ? selected : -1;
    m_nDropHeight = 117;
    if (m_pParent == nullptr) {
        return;
    }
    CreateLabel(0);
    using namespace ksv::qt;
    m_list.m_pListBox.Reset(
        CreateListBox(m_pParent, texts, kStyleBorder | kStyleVScroll, NextChildId()));
    m_pCombo.Reset(CreateDropDownList(m_pParent, texts, kStyleVScroll, NextChildId()));
    SelectListItem(m_list.m_nListSel);
    FinishCreate();
}

void CCtrl::SelectListItem(int index) {
    ksv::qt::SetListSelection(m_pCombo.get(), index);
    ksv::qt::SetListSelection(m_list.m_pListBox.get(), index);
}

void CCtrl::PlaceList(const CtrlFrame& f) {
    PlaceBody(m_pCombo.get(), f);
    PlaceBody(m_list.m_pListBox.get(), f);
    if (m_pCombo) {
        const int itemHeight = std::max(1, m_nFontHeight + 4);
        m_pCombo->setMaxVisibleItems(std::max(1, m_nDropHeight / itemHeight));
    }
}

std::vector<QWidget*> CCtrl::ShownList() const {
    if (Appearance() == 1) {
        return {m_list.m_pListBox.get()};
    }
    return {m_pCombo.get()};
}

QString CCtrl::ListNameOfItems() const {
    const QWidget* list = Appearance() == 1 ? static_cast<QWidget*>(m_list.m_pListBox.get())
                                            : static_cast<QWidget*>(m_pCombo.get());
    if (auto* combo = qobject_cast<const QComboBox*>(list)) {
        return combo->itemText(std::max(0, combo->currentIndex()));
    }
    if (auto* box = qobject_cast<const QListWidget*>(list)) {
        const QListWidgetItem* item = box->item(std::max(0, box->currentRow()));
        return item != nullptr ? item->text() : QString();
    }
    return QString();
}

// The window shown chose: the other one follows, and the index goes to the device.
void CCtrl::OnSelChange(QWidget* window) {
    if (m_kind == ControlKind::DateTime) {
        TakeWeekday();
        return;
    }
    if (m_kind != ControlKind::List) {
        ReportInternalError(__LINE__);
        return;
    }
    QWidget* chosen = window != nullptr   ? window
                      : Appearance() == 1 ? static_cast<QWidget*>(m_list.m_pListBox.get())
                                          : static_cast<QWidget*>(m_pCombo.get());
    const int32_t index = ksv::qt::GetListSelection(chosen);
    m_list.m_nListSel = index;
    SelectListItem(index);
    SendValue(&m_list.m_nListSel, 4);
}

void CCtrl::UpdateList(const std::vector<uint8_t>& value) {
    if (const auto index = Int32OfValue(value)) {
        m_list.m_nListSel = *index;
        SelectListItem(*index);
    }
}
