#pragma once

#include <QHeaderView>

class QTableView;

namespace ksv::qt {

// A table header whose labels end in "…" when their section is too narrow, instead of being
// cut at both ends; the whole label is the section's tooltip.
class ElidingHeader : public QHeaderView {
    Q_OBJECT

public:
    explicit ElidingHeader(Qt::Orientation orientation, QWidget* parent = nullptr);
    // The label of a section as painted.
    QString ShownLabel(int logicalIndex) const;

protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;
    bool viewportEvent(QEvent* event) override;

private:
    QRect SectionRect(int logicalIndex) const;
    QString ShownLabel(const QString& label, int logicalIndex) const;
};

// Gives `view` an eliding horizontal header that keeps the present one's settings.
void UseElidingHeader(QTableView* view);

} // namespace ksv::qt
