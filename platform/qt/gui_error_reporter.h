#pragma once

#include "platform/error_reporter.h"
#include "platform/report_queue.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>

class QMessageBox;

namespace ksv {

// Error reports and user messages as message boxes on the GUI thread.
//
// Thread contract: ReportError, ShowMessage and RequestQuit may be called from any thread, with
// any lock held (the receive thread reports while holding the store lock). They write the text
// and its reason's sentence to standard error, queue it and return at once; they never wait for the
// GUI thread. The object itself must be created on the GUI thread; everything else runs there.
//
// Boxes do not block: each distinct text has at most one box, which counts the repeats that
// come while it is up ("... (12 times)"), and no report ever runs an event loop of its own.
// ReportQueue bounds the boxes on screen and the texts waiting; what falls past its bounds is
// on standard error only. A quit request takes effect once the messages reported before it
// have been dismissed.
class GuiErrorReporter : public QObject, public ErrorReporter {
    Q_OBJECT

public:
    enum class Kind { Error, Message };
    // Shows one message and returns; the message then counts as dismissed. Replaces the
    // boxes (tests capture messages instead). GUI thread.
    using Presenter = std::function<void(Kind kind, const QString& text)>;
    using QuitHandler = std::function<void()>;

    explicit GuiErrorReporter(QObject* parent = nullptr);
    ~GuiErrorReporter() override;

    void ReportError(long line, const char* module, long value, ReportReason reason) override;
    void ShowMessage(const std::u16string& text, ReportReason reason) override;
    void RequestQuit() override;

    // GUI thread.
    void SetPresenter(Presenter presenter);
    void SetQuitHandler(QuitHandler handler);
    // Title of the message boxes (the application title).
    void SetBoxTitle(const QString& title);

    // Distinct texts waiting for room on screen; a text on screen is no longer counted.
    size_t PendingCount() const;
    size_t OnScreenCount() const;

private:
    void Enqueue(ReportQueue::Kind kind, const std::u16string& text, ReportReason reason);
    void SchedulePass(); // any thread
    void RunPass();
    void Present(const ReportQueue::Box& box);
    void OpenBox(const ReportQueue::Box& box);
    void OnBoxFinished(const std::u16string& text);

    ReportQueue m_queue;
    std::atomic<bool> m_passScheduled{false};
    bool m_inPass = false;
    Presenter m_presenter;
    QuitHandler m_quitHandler;
    QString m_boxTitle;
    std::map<std::u16string, std::unique_ptr<QMessageBox>> m_boxes; // by report text
};

} // namespace ksv
