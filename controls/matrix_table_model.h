#pragma once

#include "charts/matrix_data.h"

#include <QAbstractTableModel>

// The rows of a chart/table control for its inline table: an X column when the rows have X
// entries, then one column per series. Cells are formatted when shown, so a large table costs
// nothing until it is scrolled to.
class MatrixTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit MatrixTableModel(const ksv::MatrixData* data);

    // The table holds `rows` rows; every cell is read again.
    void SetRows(int rows);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    bool HasXColumn() const;

    const ksv::MatrixData* m_data;
    int m_rows = 0;
    int m_columns = 0;
};
