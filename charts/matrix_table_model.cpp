#include "charts/matrix_table_model.h"

#include "charts/table_text.h"

namespace ksv {

MatrixTableModel::MatrixTableModel(const MatrixData* data, QObject* parent)
    : QAbstractTableModel(parent), m_data(data) {
    if (m_data == nullptr)
        return;
    m_table = std::make_unique<MatrixTable>(*m_data);
    m_hasX = m_table->HasXColumn();
    m_columns = m_table->ColumnCount();
    m_nRowsShown = m_table->RowCount();
}

void MatrixTableModel::Refresh() {
    if (m_data == nullptr)
        return;
    m_table = std::make_unique<MatrixTable>(*m_data);
    const int rows = m_table->RowCount();
    if (rows > m_nRowsShown) {
        beginInsertRows(QModelIndex(), m_nRowsShown, rows - 1);
        m_nRowsShown = rows;
        endInsertRows();
    } else if (rows < m_nRowsShown) {
        beginRemoveRows(QModelIndex(), rows, m_nRowsShown - 1);
        m_nRowsShown = rows;
        endRemoveRows();
    }
}

void MatrixTableModel::NotifyCellsChanged() {
    if (m_nRowsShown > 0 && m_columns > 0)
        emit dataChanged(index(0, 0), index(m_nRowsShown - 1, m_columns - 1), {Qt::DisplayRole});
}

void MatrixTableModel::Detach() {
    beginResetModel();
    m_data = nullptr;
    m_table.reset();
    m_nRowsShown = 0;
    endResetModel();
}

std::u16string MatrixTableModel::CellText(int row, int column) const {
    if (!m_table || row >= m_nRowsShown || column >= m_columns)
        return {};
    return ListText(m_table->Cell(row, column));
}

std::u16string MatrixTableModel::HeadingText(int column) const {
    if (!m_table || column >= m_columns)
        return {};
    return ListText(m_table->Heading(column));
}

int MatrixTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_nRowsShown;
}

int MatrixTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_columns;
}

QVariant MatrixTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromStdU16String(CellText(index.row(), index.column()));
    if (role == Qt::TextAlignmentRole) {
        const bool xColumn = m_hasX && index.column() == 0;
        return QVariant::fromValue(Qt::AlignVCenter | (xColumn ? Qt::AlignLeft : Qt::AlignRight));
    }
    return {};
}

QVariant MatrixTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromStdU16String(HeadingText(section));
    if (role == Qt::TextAlignmentRole) {
        const bool xColumn = m_hasX && section == 0;
        return QVariant::fromValue(Qt::AlignVCenter | (xColumn ? Qt::AlignLeft : Qt::AlignRight));
    }
    return {};
}

} // namespace ksv
