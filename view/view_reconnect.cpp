#include "view/kestrovane_view.h"

namespace {

constexpr const char* kKeyAutoReconnect = "m_AutoReconnect";

} // namespace

void CKestrovaneView::SetReconnectSchedule(const ksv::ReconnectSchedule& schedule) {
    m_reconnect.SetSchedule(schedule);
}

void CKestrovaneView::StopReconnecting() {
    m_reconnect.Stop();
}

void CKestrovaneView::LoadReconnectSetting() {
    m_AutoReconnect =
        m_settings.GetProfileInt(ksv::kGlobalSection, kKeyAutoReconnect, 0) != 0 ? 1 : 0;
}

void CKestrovaneView::OnReconnectAutomatically() {
    m_AutoReconnect = m_AutoReconnect == 0 ? 1 : 0;
    m_settings.WriteProfileInt(ksv::kGlobalSection, kKeyAutoReconnect, m_AutoReconnect);
}

// The port went away under the session (a hang-up, a broken connection, a connect that
// failed): the session ends as after an unanswered ping, and is retried when that is on.
void CKestrovaneView::OnLinkLost() {
    if (m_bConnected == 0) {
        return;
    }
    EndSession(false);
    // A Connect of the user's that never reached the device is told like a port that does not
    // open.
    if (!m_sessionHeard && !m_reconnect.IsRetrying()) {
        TellUnableToConnect(m_lastPort);
        return;
    }
    m_reconnect.OnSessionEnded(ksv::SessionEnd::LinkFailed, m_AutoReconnect != 0, m_lastPort);
}
