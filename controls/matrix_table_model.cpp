#include "controls/matrix_table_model.h"

#include "charts/matrix_setup.h"
#include "charts/matrix_text.h"

#include <algorithm>
#include <limits>

MatrixTableModel::MatrixTableModel(const ksv::MatrixData* data) : m_data(data) {
    const uint64_t columns = uint64_t{HasXColumn() ? 1u : 0u} + data->m_nSeries;
    m_columns = static_cast<int>(std::min<uint64_t>(columns, std::numeric_limits<int>::max()));
}

bool MatrixTableModel::HasXColumn() const {
    return m_data->XKind() != ksv::MatrixXKind::None;
}

void MatrixTableModel::SetRows(int rows) {
    rows = std::max(0, rows);
    if (rows > m_rows) {
        beginInsertRows(QModelIndex(), m_rows, rows - 1);
        m_rows = rows;
        endInsertRows();
    } else if (rows < m_rows) {
        beginRemoveRows(QModelIndex(), rows, m_rows - 1);
        m_rows = rows;
        endRemoveRows();
    }
    if (m_rows > 0 && m_columns > 0) {
        emit dataChanged(index(0, 0), index(m_rows - 1, m_columns - 1), {Qt::DisplayRole});
    }
}

int MatrixTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int MatrixTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_columns;
}

QVariant MatrixTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows || index.column() >= m_columns) {
        return {};
    }
    const bool xColumn = HasXColumn() && index.column() == 0;
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::AlignVCenter | (xColumn ? Qt::AlignLeft : Qt::AlignRight));
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (xColumn) {
        return QString::fromStdU16String(ksv::FormatXCell(*m_data, index.row()));
    }
    const auto series = static_cast<uint32_t>(index.column() - (HasXColumn() ? 1 : 0));
    return QString::fromStdU16String(ksv::FormatYCell(*m_data, index.row(), series));
}

QVariant MatrixTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns) {
        return {};
    }
    const bool xColumn = HasXColumn() && section == 0;
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::AlignVCenter | (xColumn ? Qt::AlignLeft : Qt::AlignRight));
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (xColumn) {
        return QString::fromStdU16String(m_data->m_xTitle);
    }
    const auto series = static_cast<uint32_t>(section - (HasXColumn() ? 1 : 0));
    return QString::fromStdU16String(ksv::SeriesName(*m_data, series));
}
