#include "view/kestrovane_view.h"

#include "controls/value_text.h"
#include "link/open_failure.h"
#include "link/panel_budget.h"
#include "platform/qt/message_box_count.h"
#include "resources/resource_ids.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace {

constexpr const char* kKeyComIncoming = "m_iComIncoming";
constexpr const char* kKeyComOutGoing = "m_iComOutGoing";
constexpr const char* kKeyAlwaysReload = "m_AlwaysReload";
constexpr const char* kKeyPermitInbound = "m_PermitInbound";

constexpr uint32_t kLayoutRequestArgument = 256;
// How long the Goodbye may take when the program ends; the port closes after it regardless.
constexpr int kLeavingGoodbyeMs = 200;
constexpr int32_t kAnswerBase = 18000;

// The longest ping period a timer can hold in milliseconds.
constexpr int kMaxPingSeconds = 2000000;

using Reason = ksv::ReportReason;

} // namespace

bool CKestrovaneView::HasDeviceName() const {
    return m_link.GetDeviceName().has_value();
}

void CKestrovaneView::LoadViewSettings() {
    m_iPage = 0;
    m_iLastPage = 0;
    m_iComOutGoing = 0;
    m_iGap = 2;
    m_iMaxSpread = 5;
    m_bJustify = 1;
    m_iComIncoming = 0;
    SetPingTimer(false, 3);
    m_PermitInbound = 0;
    m_AlwaysReload = 1;
    const auto& global = ksv::kGlobalSection;
    m_iComIncoming = m_settings.GetProfileInt(global, kKeyComIncoming, m_iComIncoming);
    m_iComOutGoing = m_settings.GetProfileInt(global, kKeyComOutGoing, m_iComOutGoing);
    m_AlwaysReload = m_settings.GetProfileInt(global, kKeyAlwaysReload, m_AlwaysReload);
    m_PermitInbound =
        m_settings.GetProfileInt(global, kKeyPermitInbound, m_PermitInbound) != 0 ? 1 : 0;
}

void CKestrovaneView::SaveViewSettings() {
    const auto& global = ksv::kGlobalSection;
    m_settings.WriteProfileInt(global, kKeyComIncoming, m_iComIncoming);
    m_settings.WriteProfileInt(global, kKeyComOutGoing, m_iComOutGoing);
    m_settings.WriteProfileInt(global, kKeyAlwaysReload, m_AlwaysReload);
    m_settings.WriteProfileInt(global, kKeyPermitInbound, m_PermitInbound);
}

void CKestrovaneView::SetPingTimer(bool enabled, int seconds) {
    // A device may store any period; the timer needs one it can hold.
    const int interval = std::clamp(seconds, 1, kMaxPingSeconds) * 1000;
    m_bPingOn = enabled ? 1 : 0;
    m_iPingSeconds = seconds;
    // Every relayout sets the timer again; restarting it unchanged would postpone the next
    // ping each time, and a busy panel would never be supervised.
    if (enabled && m_pingTimer.isActive() && m_pingTimer.interval() == interval) {
        return;
    }
    m_pingTimer.stop();
    if (enabled) {
        m_pingTimer.start(interval);
    }
}

void CKestrovaneView::ConnectSession(bool outbound) {
    const int port = outbound ? m_iComOutGoing : m_iComIncoming;
    m_reconnect.Stop();
    if (m_bConnected != 0) {
        return;
    }
    m_lastPort = port;
    if (OpenSession(port)) {
        return;
    }
    TellUnableToConnect(port);
}

// The specified text, then why the port did not open when the link could say.
void CKestrovaneView::TellUnableToConnect(int port) {
    QString text = QStringLiteral("Unable to connect to COM%1:").arg(port);
    const std::string why = ksv::DescribeOpenFailure(
        m_openResult, ksv::ResolvePortEntry(port, m_link.Paths().portsFolder));
    if (!why.empty()) {
        text += QLatin1Char('\n') + QString::fromStdString(why);
    }
    ShowUserMessage(text, Reason::PortUnavailable, true);
}

// Opening: the start screen with the connect buttons disabled. False, and back to the idle
// start screen, when the port cannot be opened.
bool CKestrovaneView::OpenSession(int port) {
    m_bConnected = 1;
    m_sessionHeard = false;
    m_keptVeil.Reset();
    m_pCtrls.reset();
    m_nCtrls = 0;
    LayoutPanel(true);
    // Every earlier port is closed by now: what it told of is no longer news.
    QCoreApplication::removePostedEvents(this, WM_LINK_LOST);
    QCoreApplication::removePostedEvents(this, WM_PANEL_ARRIVAL);
    const ksv::ResultCode result = m_link.OpenPort(port, this);
    m_openResult = result;
    if (result == ksv::kSuccess) {
        return true;
    }
    // The port may have opened with only the Hello failing: close it, or every later attempt
    // would find it open.
    if (result != ksv::kAlreadyOpen && m_link.IsPortOpen()) {
        m_link.ClosePort();
    }
    m_bConnected = 0;
    LayoutPanel(true);
    return false;
}

void CKestrovaneView::OnArrival() {
    // Posted just before the session ended (an attempt given up, a Close): its store is gone.
    if (!m_link.IsPortOpen()) {
        return;
    }
    if (m_inArrivalPass) {
        m_arrivalWaiting = true;
        return;
    }
    if (m_sinceArrivalPass.isValid()) {
        const qint64 wait = NextPassAfterMs() - m_sinceArrivalPass.elapsed();
        if (wait > 0) {
            if (!m_arrivalTimer.isActive()) {
                m_arrivalTimer.start(static_cast<int>(wait), Qt::PreciseTimer, this);
            }
            return;
        }
    }
    RunArrivalPass();
}

// Everything the link decoded since the last pass, in order; the store holds each control's
// last value, so one refresh shows them all. The link posts again only after the take, so
// no pass runs longer than its batch, however fast the device sends.
void CKestrovaneView::RunArrivalPass() {
    m_arrivalTimer.stop();
    m_sinceArrivalPass.start();
    ++m_arrivalPasses;
    m_inArrivalPass = true;
    bool ended = false;
    for (const int32_t code : m_link.TakeArrivals()) {
        if (!m_link.IsPortOpen()) {
            break; // the session ended under an earlier code
        }
        m_sessionHeard = true;
        HandleArrival(code);
        if (code == ksv::kArrivalDeviceEnded) {
            ended = true;
            break;
        }
    }
    m_inArrivalPass = false;
    m_lastPassNs = m_sinceArrivalPass.nsecsElapsed();
    if (ended) {
        return;
    }
    const ksv::ResultCode result = m_link.StartReceiver(this);
    if (result != ksv::kSuccess && result != ksv::kNoPort) {
        KSV_REPORT(m_reporter, ksv::kViewModule, result, ReceiveStopped);
    }
    if (std::exchange(m_arrivalWaiting, false)) {
        OnArrival();
    }
}

// A display frame after the last pass began, or longer when passes are dear: whatever the
// device sends, handling it takes at most a share of the GUI thread (their repaints aside).
qint64 CKestrovaneView::NextPassAfterMs() const {
    constexpr qint64 kPassShare = 16; // a pass costs at most 1/16 of the time between passes
    const QScreen* shown = screen();
    const qreal hertz = shown != nullptr && shown->refreshRate() > 0 ? shown->refreshRate() : 60;
    const qint64 frameMs = std::clamp(static_cast<int>(1000 / hertz), 4, 50);
    constexpr qint64 kLongestWaitMs = 250;
    return std::min(kLongestWaitMs, std::max(frameMs, kPassShare * m_lastPassNs / 1000000));
}

void CKestrovaneView::HandleArrival(int32_t code) {
    switch (code) {
    case ksv::kArrivalDeviceName:
        if (const auto name = m_link.GetDeviceName()) {
            emit TitleChanged(DrawnText(*name, ksv::kMaxTitleChars));
        }
        if (OpenMessageBoxCount() == 0) {
            BringToFront();
        }
        return;
    case ksv::kArrivalNewPanel:
        m_reconnect.OnPanelArrived();
        // A new panel: what it cannot show is told afresh.
        m_pictureBudget.Restart(false);
        m_bToldControlCap = false;
        RequestLayoutIfNeeded();
        BuildPanel();
        if (m_nCtrls == 0) {
            ShowUserMessage(QStringLiteral("The control panel has no controls!"),
                            Reason::EmptyPanel, false);
        }
        m_bConnected = 1;
        LayoutPanel(true);
        return;
    case ksv::kArrivalDeviceEnded:
        m_reconnect.OnSessionEnded(ksv::SessionEnd::DeviceGoodbye, m_AutoReconnect != 0,
                                   m_lastPort);
        m_link.Disconnect(false);
        m_bConnected = 0;
        CloseLayoutDialogs();
        // Only a panel can be kept: a start screen left with its buttons disabled would
        // offer nothing but quitting.
        if (m_link.IsKeepPanelOnGoodbye() && m_nCtrls != 0) {
            ShowKeptPanel();
            return;
        }
        LoadViewSettings();
        ClearPanel();
        SetAppTitle();
        return;
    case ksv::kArrivalDevicePing:
    case ksv::kArrivalPingReply:
    case ksv::kArrivalNothing:
        return;
    case ksv::kArrivalValuesChanged:
        m_bConnected = 1;
        RefreshValues();
        return;
    case ksv::kArrivalResetLink:
        m_link.ResetLink();
        return;
    case ksv::kArrivalStylesChanged:
        m_bConnected = 1;
        RefreshStyles();
        return;
    case ksv::kArrivalFilesArrived:
        m_bConnected = 1;
        RefreshFiles();
        return;
    case ksv::kArrivalLayoutWritten:
        BuildPanel();
        LayoutPanel(true);
        return;
    default:
        KSV_REPORT(m_reporter, ksv::kViewModule, code, ArrivalFailed);
        return;
    }
}

void CKestrovaneView::RequestLayoutIfNeeded() {
    if (Device().GetDeviceInt(0, 0, 0) == 0 || m_AlwaysReload != 0) {
        m_link.SendLayoutRequest(kLayoutRequestArgument);
        Device().WriteDeviceInt(0, 0, 1);
    }
}

void CKestrovaneView::LoadRecommendedLayout() {
    m_link.SendLayoutRequest(kLayoutRequestArgument);
    Device().WriteDeviceInt(0, 0, 1);
}

void CKestrovaneView::OnPanelAnswer() {
    PendingAnswer answer;
    {
        // Taken out of the slot: an answer that replaced an earlier one before it was handled
        // is sent once, not once per post.
        std::lock_guard<std::mutex> lock(m_answerLock);
        answer = m_pendingAnswer;
        m_pendingAnswer = PendingAnswer{};
    }
    if (answer.code > kAnswerBase && answer.code < kAnswerBase + 4) {
        m_link.SendImmediateByte(answer.controlId,
                                 static_cast<uint32_t>(answer.code - kAnswerBase));
    }
}

void CKestrovaneView::OnTimer() {
    if (m_bConnected == 0 || !m_link.IsPingEnabled()) {
        return;
    }
    if (m_link.SendPing() == ksv::kSuccess) {
        return;
    }
    EndSession(false);
    m_reconnect.OnSessionEnded(ksv::SessionEnd::PingUnanswered, m_AutoReconnect != 0, m_lastPort);
}

// Back to the start screen with the application's title.
void CKestrovaneView::EndSession(bool sendGoodbye) {
    LoadViewSettings();
    // A Goodbye that cannot be written leaves the port open; the session ends all the same.
    if (m_link.Disconnect(sendGoodbye) != ksv::kSuccess && m_link.IsPortOpen()) {
        m_link.ClosePort();
    }
    m_bConnected = 0;
    ClearPanel();
    SetAppTitle();
}

// The panel stays for a look but is not live: greyed under a veil, the page bar above it, and
// the title says so.
void CKestrovaneView::ShowKeptPanel() {
    for (uint32_t i = 0; i < m_nCtrls; ++i) {
        m_pCtrls[i].Enable(false);
    }
    m_keptVeil.Reset(new CPanelVeil(this));
    for (size_t i = 0; CCtrl* button = PageBarButtons(i); ++i) {
        if (button->m_pButton) {
            button->m_pButton->raise();
        }
    }
    const auto name = m_link.GetDeviceName();
    emit TitleChanged((name ? DrawnText(*name, ksv::kMaxTitleChars) : m_appTitle) +
                      QStringLiteral(" \u2014 disconnected"));
}

void CKestrovaneView::CloseSession() {
    // While retrying on the start screen, the first Close only stops the retries.
    if (m_reconnect.Stop() && m_bConnected == 0) {
        return;
    }
    if (m_bConnected != 0) {
        EndSession(true);
        return;
    }
    if (m_nCtrls != 0) {
        LoadViewSettings();
        ClearPanel();
        SetAppTitle();
        return;
    }
    emit QuitRequested();
}

void CKestrovaneView::LeaveSession() {
    m_reconnect.Stop();
    if (m_bConnected == 0 && !m_link.IsPortOpen()) {
        return;
    }
    m_link.DisconnectWithin(kLeavingGoodbyeMs);
    EndSession(false); // the port is closed by now
}

void CKestrovaneView::ClearPanel() {
    CloseLayoutDialogs();
    for (uint32_t i = 0; i < m_nCtrls; ++i) {
        m_pCtrls[i].CloseDialogs();
    }
    m_keptVeil.Reset();
    m_pCtrls.reset();
    SetAppTitle();
    m_nCtrls = 0;
    m_iLastPage = 0;
    m_iPage = 0;
    LayoutPanel(true);
    CCtrl::ResetWindowIds();
}

void CKestrovaneView::OnComPorts() {
    ComPortValues values;
    values.inbound = m_iComIncoming == 0 ? 5 : m_iComIncoming;
    values.outbound = m_iComOutGoing == 0 ? 8 : m_iComOutGoing;
    values.permitInbound = m_PermitInbound != 0;
    if (!m_comPortDialogHook || !m_comPortDialogHook(values)) {
        return;
    }
    m_iComIncoming = values.inbound;
    m_iComOutGoing = values.outbound;
    m_PermitInbound = values.permitInbound ? 1 : 0;
    SaveViewSettings();
    LayoutPanel(true);
}

void CKestrovaneView::OnPings() {
    PingValues values;
    values.enabled = m_bPingOn != 0;
    values.seconds = m_iPingSeconds;
    if (!m_pingDialogHook || !m_pingDialogHook(values) || m_bConnected == 0) {
        return;
    }
    SetPingTimer(values.enabled, values.seconds);
    SaveLayout();
}
