#pragma once

#include "traffic/frame_ring.h"
#include "traffic/monitor_rows.h"

#include <QAbstractTableModel>

namespace ksv {

// The monitor's table over the frame ring: Poll takes what the ring gained since the last poll
// (the GUI's timer coalesces any number of frames into one change), and every cell is decoded
// only when the view asks for it, that is for the rows on screen.
//
// Thread contract: GUI thread.
class LinkMonitorModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kTime, kDirection, kKind, kFlags, kLength, kSummary, kColumnCount };

    explicit LinkMonitorModel(FrameRing& ring, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Takes the ring's new frames unless paused; returns whether rows changed.
    bool Poll();
    void SetPaused(bool paused) { m_paused = paused; }
    bool IsPaused() const { return m_paused; }
    // Empties the window and the ring.
    void Clear();
    void SetFilter(const QString& kindName);
    const MonitorRows& Rows() const { return m_rows; }
    // Frames the ring let go before the window could take them (while paused).
    uint64_t Lost() const { return m_lost; }

private:
    FrameRing& m_ring;
    MonitorRows m_rows;
    uint64_t m_after = 0;
    uint64_t m_lost = 0;
    bool m_paused = false;
};

} // namespace ksv
