#pragma once

#include "app/zoom_menu.h"

#include <QString>

#include <functional>

class CKestrovaneView;
class QWidget;

namespace ksv {
class Link;
class SettingsStore;

// "Zoom In", "Zoom Out" and "Actual Size": the chosen zoom is stored at once for the next
// start; a zoom other than the running one needs a restart, which the user is asked for. A
// live session is left (Goodbye included) before it.
//
// Thread contract: GUI thread only.
class ZoomController {
public:
    // Answers the restart question; true for Yes.
    using QuestionHook = std::function<bool(const QString& text)>;
    // Ends the application so that it starts again with this zoom.
    using RestartHandler = std::function<void(int quarters)>;

    ZoomController(SettingsStore& settings, const Link& link, int runningQuarters);

    void SetView(CKestrovaneView* view) { m_view = view; }
    void SetQuestionHook(QuestionHook hook) { m_question = std::move(hook); }
    void SetRestartHandler(RestartHandler handler) { m_restart = std::move(handler); }
    // Parent and title of the question box.
    void SetDialog(QWidget* parent, const QString& title) {
        m_dialogParent = parent;
        m_dialogTitle = title;
    }

    bool IsEnabled(int commandId) const { return IsZoomCommandEnabled(m_state, commandId); }
    void Run(int commandId);

    const ZoomState& State() const { return m_state; }

private:
    bool IsSessionLive() const;
    QString RestartQuestion(int quarters) const;
    bool Ask(const QString& text) const;

    SettingsStore& m_settings;
    const Link& m_link;
    ZoomState m_state;
    CKestrovaneView* m_view = nullptr;
    QWidget* m_dialogParent = nullptr;
    QString m_dialogTitle;
    QuestionHook m_question;
    RestartHandler m_restart;
};

} // namespace ksv
