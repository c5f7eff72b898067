#pragma once

#include "traffic/frame_ring.h"

#include <QString>
#include <QWidget>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QTimer;

namespace ksv {

class LinkMonitorModel;

// "Link Monitor": a non-modal window listing the link's frames live, with the selected frame's
// hex dump, pause, clear, a filter by kind, copy and save as text. It polls the ring on a timer;
// the link never waits for it.
//
// Thread contract: GUI thread. Ownership: a Qt parent (the main frame) owns it.
class LinkMonitorWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPollMs = 100;

    LinkMonitorWindow(FrameRing& ring, QWidget* parent = nullptr);

    LinkMonitorModel& Model() { return *m_model; }
    QTableView& Table() { return *m_table; }
    // The shown rows as tab-separated lines with a heading line.
    QString RowsText() const;
    // The selected rows as lines (what Copy puts on the clipboard).
    QString SelectedText() const;
    // Writes RowsText; an empty string on success, else what went wrong.
    QString SaveTo(const QString& path) const;
    QString DumpText() const;
    void PollNow();

private:
    void Copy();
    void Save();
    void ShowSelectedDump();
    void RefreshFilterChoices();
    void RefreshStatus();

    LinkMonitorModel* m_model;
    QTableView* m_table;
    QPlainTextEdit* m_dump;
    QPushButton* m_pause;
    QComboBox* m_filter;
    QLabel* m_status;
    QTimer* m_timer;
    size_t m_kindsListed = 0;
};

} // namespace ksv
