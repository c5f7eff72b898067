#include "platform/qt/eliding_header.h"

#include "platform/qt/fitted_text.h"

#include <QHelpEvent>
#include <QStyleOptionHeader>
#include <QTableView>
#include <QToolTip>

namespace ksv::qt {

ElidingHeader::ElidingHeader(Qt::Orientation orientation, QWidget* parent)
    : QHeaderView(orientation, parent) {}

QRect ElidingHeader::SectionRect(int logicalIndex) const {
    const int at = sectionViewportPosition(logicalIndex);
    const int size = sectionSize(logicalIndex);
    return orientation() == Qt::Horizontal ? QRect(at, 0, size, height())
                                           : QRect(0, at, width(), size);
}

QString ElidingHeader::ShownLabel(const QString& label, int logicalIndex) const {
    QStyleOptionHeader section;
    initStyleOption(&section);
    section.rect = SectionRect(logicalIndex);
    const int room = style()->subElementRect(QStyle::SE_HeaderLabel, &section, this).width();
    return FitLine(label, font(), room);
}

QString ElidingHeader::ShownLabel(int logicalIndex) const {
    if (model() == nullptr) {
        return {};
    }
    return ShownLabel(model()->headerData(logicalIndex, orientation()).toString(), logicalIndex);
}

void ElidingHeader::initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const {
    QHeaderView::initStyleOptionForIndex(option, logicalIndex);
    option->text = ShownLabel(option->text, logicalIndex);
}

bool ElidingHeader::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip || model() == nullptr) {
        return QHeaderView::viewportEvent(event);
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    const int index = logicalIndexAt(help->pos());
    const QString label =
        index < 0 ? QString() : model()->headerData(index, orientation()).toString();
    if (label.isEmpty() || ShownLabel(index) == label) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    QToolTip::showText(help->globalPos(), label, this, SectionRect(index));
    return true;
}

void UseElidingHeader(QTableView* view) {
    const QHeaderView* old = view->horizontalHeader();
    auto* header = new ElidingHeader(Qt::Horizontal, view);
    header->setSectionsClickable(old->sectionsClickable());
    header->setHighlightSections(old->highlightSections());
    header->setDefaultSectionSize(old->defaultSectionSize());
    header->setFont(old->font());
    header->setStretchLastSection(old->stretchLastSection());
    view->setHorizontalHeader(header);
}

} // namespace ksv::qt
