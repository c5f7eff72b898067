#pragma once

#include "link/reconnect_policy.h"
#include "platform/qt/child_window.h"

#include <QLabel>
#include <QObject>
#include <QRect>
#include <QTimer>

#include <chrono>
#include <functional>

// Connects again after a session that the line or a silent device ended: the timers of a
// ReconnectPolicy and the start screen's line that tells where they stand.
class CAutoReconnect : public QObject {
    Q_OBJECT

public:
    struct Hooks {
        std::function<bool()> attempt; // opens the last connection again; false: failed at once
        std::function<void()> abandon; // ends an attempt that brought no panel in time
    };
    // The line is a child of `view`.
    CAutoReconnect(QWidget* view, Hooks hooks);

    void SetSchedule(const ksv::ReconnectSchedule& schedule);
    // A session on COM<portNumber> ended; retried when `enabled` and the ending is one to retry
    // (while an attempt runs, its failure).
    void OnSessionEnded(ksv::SessionEnd end, bool enabled, int portNumber);
    void OnPanelArrived();
    // True when it was retrying.
    bool Stop();
    bool IsRetrying() const { return m_policy.IsRetrying(); }

    // The line's place: `area`, word-wrapped and centred; shown only while retrying.
    void PlaceLine(const QRect& area);
    const QLabel* Line() const { return m_line.get(); }

private:
    void WaitForNext();
    void OnTimeout();
    void ShowStatus();

    ksv::ReconnectPolicy m_policy;
    Hooks m_hooks;
    int m_portNumber = 0;
    QTimer m_timer;     // the next attempt, or the end of an attempt's wait for a panel
    QTimer m_countdown; // the line's seconds
    std::chrono::steady_clock::time_point m_dueAt;
    ksv::qt::OwnedWindow<QLabel> m_line;
};
