#pragma once

#include "platform/error_reporter.h"

#include <QObject>
#include <QString>

#include <deque>
#include <functional>
#include <mutex>

namespace ksv {

// Error reports and user messages as modal message boxes on the GUI thread.
//
// Thread contract: ReportError, ShowMessage and RequestQuit may be called from any thread, with
// any lock held (the receive thread reports while holding the store lock). They write the text
// to standard error, queue it and return at once; they never wait for the GUI thread. The
// object itself must be created on the GUI thread, which shows the queued messages one at a
// time in order: while a box is up the next one waits, so boxes never pile up inside each
// other's event loops. A quit request takes effect after the messages queued before it.
class GuiErrorReporter : public QObject, public ErrorReporter {
    Q_OBJECT

public:
    enum class Kind { Error, Message };
    // Shows one message and returns when the user has dismissed it.
    using Presenter = std::function<void(Kind kind, const QString& text)>;
    using QuitHandler = std::function<void()>;

    explicit GuiErrorReporter(QObject* parent = nullptr);

    void ReportError(long line, const char* module, long value) override;
    void ShowMessage(const std::u16string& text) override;
    void RequestQuit() override;

    // Replace the message box (tests capture messages instead) and the application's quit.
    void SetPresenter(Presenter presenter);
    void SetQuitHandler(QuitHandler handler);
    // Title of the message boxes (the application title).
    void SetBoxTitle(const QString& title);

    // Messages queued and not yet shown; a message being shown is no longer counted.
    size_t PendingCount() const;

private:
    enum class ItemKind { Error, Message, Quit };
    struct Item {
        ItemKind kind;
        QString text;
    };

    void Enqueue(Item item);
    void ShowNext(); // GUI thread

    void ShowMessageBox(Kind kind, const QString& text) const;

    mutable std::mutex m_mutex;
    std::deque<Item> m_queue;
    bool m_showing = false; // GUI thread only
    Presenter m_presenter;
    QuitHandler m_quitHandler;
    QString m_boxTitle;
};

} // namespace ksv
