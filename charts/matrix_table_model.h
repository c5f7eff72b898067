#pragma once

#include "charts/matrix_data.h"
#include "charts/matrix_table.h"

#include <QAbstractTableModel>

#include <memory>

namespace ksv {

// The rows of a chart/table control for a list view. The columns are fixed when it is made;
// Refresh brings the rows in line with the data, inserting or removing only the difference;
// NotifyCellsChanged has the cells read again. Texts are formatted as the view asks for them, so a
// refresh costs what the visible rows cost. GUI thread only.
class MatrixTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    MatrixTableModel(const MatrixData* data, QObject* parent);

    // Rows inserted or removed at once; the cells are announced by NotifyCellsChanged.
    void Refresh();
    void NotifyCellsChanged();
    // The data is going away: the model empties and reads it no more.
    void Detach();
    bool HasXColumn() const { return m_hasX; }
    // A cell or heading as the list holds it.
    std::u16string CellText(int row, int column) const;
    std::u16string HeadingText(int column) const;
    // The table as the list holds it; null once detached.
    const MatrixTable* Table() const { return m_table.get(); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const MatrixData* m_data;
    std::unique_ptr<MatrixTable> m_table;
    bool m_hasX = false;
    int m_columns = 0;
    int m_nRowsShown = 0;
};

} // namespace ksv
