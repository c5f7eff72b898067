#include "app/zoom_controller.h"

#include "app/zoom_settings.h"
#include "controls/value_text.h"
#include "link/link.h"
#include "link/panel_budget.h"
#include "view/kestrovane_view.h"

#include <QMessageBox>

namespace ksv {
namespace {

QString Percent(int quarters) {
    return QStringLiteral("%1 %").arg(quarters * 25);
}

} // namespace

ZoomController::ZoomController(SettingsStore& settings, const Link& link, int runningQuarters)
    : m_settings(settings), m_link(link), m_state{runningQuarters, runningQuarters} {}

void ZoomController::Run(int commandId) {
    if (!IsEnabled(commandId))
        return;
    m_state.target = ZoomCommandTarget(m_state, commandId);
    SaveZoomQuarters(m_settings, m_state.target);
    if (m_state.target == m_state.running || !Ask(RestartQuestion(m_state.target)))
        return;
    if (m_view)
        m_view->LeaveSession();
    if (m_restart)
        m_restart(m_state.target);
}

bool ZoomController::IsSessionLive() const {
    return m_view != nullptr && m_view->IsConnected();
}

QString ZoomController::RestartQuestion(int quarters) const {
    QString text = QStringLiteral("Zooming to %1 restarts the window.").arg(Percent(quarters));
    if (IsSessionLive()) {
        const std::optional<std::u16string> name = m_link.GetDeviceName();
        const QString device = name && !name->empty() ? DrawnText(*name, ksv::kMaxTitleChars)
                                                      : QStringLiteral("the device");
        text +=
            QStringLiteral("\nThe connection to %1 will be closed before the restart.").arg(device);
    }
    text += QStringLiteral("\n\nRestart now? With No, the new zoom applies at the next start.");
    return text;
}

bool ZoomController::Ask(const QString& text) const {
    if (m_question)
        return m_question(text);
    const QMessageBox::StandardButton answer = QMessageBox::question(
        m_dialogParent, m_dialogTitle, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    return answer == QMessageBox::Yes;
}

} // namespace ksv
