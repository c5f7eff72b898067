#include "traffic/link_monitor_model.h"

#include "traffic/frame_summary.h"
#include "traffic/frame_text.h"

namespace ksv {

LinkMonitorModel::LinkMonitorModel(FrameRing& ring, QObject* parent)
    : QAbstractTableModel(parent), m_ring(ring), m_rows(ring.Capacity()) {}

int LinkMonitorModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.Count());
}

int LinkMonitorModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant LinkMonitorModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || static_cast<size_t>(index.row()) >= m_rows.Count()) {
        return {};
    }
    const CapturedFrame& frame = m_rows.At(static_cast<size_t>(index.row()));
    if (role == Qt::TextAlignmentRole) {
        const bool number = index.column() == kTime || index.column() == kLength;
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    switch (index.column()) {
    case kTime:
        return QString::fromStdString(FrameTimeText(frame));
    case kDirection:
        return QString::fromStdString(FrameDirectionText(frame));
    case kKind:
        return QString::fromStdString(FrameKindName(frame));
    case kFlags:
        return QString::fromStdString(FrameFlagsText(frame));
    case kLength:
        return QString::fromStdString(FrameLengthText(frame));
    default:
        return QString::fromStdString(FrameSummary(frame));
    }
}

QVariant LinkMonitorModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    static const char* const kTitles[kColumnCount] = {"Time (ms)", "Dir",    "Kind",
                                                      "Flags",     "Length", "Summary"};
    return section >= 0 && section < kColumnCount ? QString::fromLatin1(kTitles[section])
                                                  : QVariant();
}

bool LinkMonitorModel::Poll() {
    if (m_paused) {
        return false;
    }
    const FrameRing::Batch batch = m_ring.Since(m_after);
    m_after = batch.last;
    m_lost += batch.lost;
    if (batch.frames.empty()) {
        return false;
    }
    const MonitorRows::Change change = m_rows.Plan(batch.frames);
    if (change.removedFront > 0) {
        beginRemoveRows({}, 0, static_cast<int>(change.removedFront) - 1);
    }
    m_rows.DropOldest(change);
    if (change.removedFront > 0) {
        endRemoveRows();
    }
    const int first = static_cast<int>(m_rows.Count());
    if (change.appended > 0) {
        beginInsertRows({}, first, first + static_cast<int>(change.appended) - 1);
    }
    m_rows.AppendNewest(batch.frames, change);
    if (change.appended > 0) {
        endInsertRows();
    }
    return change.removedFront > 0 || change.appended > 0;
}

void LinkMonitorModel::Clear() {
    beginResetModel();
    m_ring.Clear();
    m_rows.Clear();
    m_after = m_ring.Since(m_after).last;
    m_lost = 0;
    endResetModel();
}

void LinkMonitorModel::SetFilter(const QString& kindName) {
    beginResetModel();
    m_rows.SetFilter(kindName.toStdString());
    endResetModel();
}

} // namespace ksv
