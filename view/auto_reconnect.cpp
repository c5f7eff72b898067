#include "view/auto_reconnect.h"

#include "controls/ctrl_font.h"

namespace {

using Clock = std::chrono::steady_clock;
using Phase = ksv::ReconnectPolicy::Phase;

constexpr int kLineFontHeight = 12;
constexpr int kCountdownMs = 1000;

} // namespace

CAutoReconnect::CAutoReconnect(QWidget* view, Hooks hooks) : m_hooks(std::move(hooks)) {
    // Never early, so that the countdown shows each whole second.
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    m_countdown.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, this, [this] { OnTimeout(); });
    QObject::connect(&m_countdown, &QTimer::timeout, this, [this] { ShowStatus(); });
    m_line.Reset(new QLabel(view));
    m_line->setObjectName(QStringLiteral("reconnectLine"));
    m_line->setFont(MakeControlFont(kLineFontHeight, false));
    m_line->setAlignment(Qt::AlignCenter);
    m_line->setWordWrap(true);
    m_line->hide();
}

void CAutoReconnect::SetSchedule(const ksv::ReconnectSchedule& schedule) {
    m_policy.SetSchedule(schedule);
}

void CAutoReconnect::OnSessionEnded(ksv::SessionEnd end, bool enabled, int portNumber) {
    if (m_policy.CurrentPhase() == Phase::Idle) {
        m_portNumber = portNumber;
    }
    if (!m_policy.OnSessionEnded(end, enabled)) {
        Stop();
        return;
    }
    WaitForNext();
}

void CAutoReconnect::OnPanelArrived() {
    Stop();
}

bool CAutoReconnect::Stop() {
    m_timer.stop();
    m_countdown.stop();
    const bool wasRetrying = m_policy.Stop();
    ShowStatus();
    return wasRetrying;
}

void CAutoReconnect::PlaceLine(const QRect& area) {
    if (m_line) {
        m_line->setGeometry(area);
    }
}

void CAutoReconnect::WaitForNext() {
    const std::chrono::milliseconds delay = m_policy.Delay();
    m_dueAt = Clock::now() + delay;
    m_timer.start(static_cast<int>(delay.count()));
    m_countdown.start(kCountdownMs);
    ShowStatus();
}

void CAutoReconnect::OnTimeout() {
    if (m_policy.CurrentPhase() == Phase::Attempting) {
        m_policy.OnAttemptFailed();
        m_hooks.abandon();
        WaitForNext();
        return;
    }
    m_countdown.stop();
    m_policy.OnAttemptStarted();
    ShowStatus();
    if (!m_hooks.attempt()) {
        m_policy.OnAttemptFailed();
        WaitForNext();
        return;
    }
    // The attempt's own end (a panel, a lost link) may have come during the call.
    if (m_policy.CurrentPhase() == Phase::Attempting) {
        m_timer.start(static_cast<int>(m_policy.Schedule().answerWait.count()));
    }
}

void CAutoReconnect::ShowStatus() {
    if (!m_line) {
        return;
    }
    const auto remaining =
        std::chrono::duration_cast<std::chrono::milliseconds>(m_dueAt - Clock::now());
    m_line->setText(
        QString::fromStdString(ksv::ReconnectStatusText(m_portNumber, m_policy, remaining)));
    m_line->setVisible(m_policy.IsRetrying());
}
