#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

namespace ksv {

// Turns SIGINT and SIGTERM into a call of onSignal on the GUI thread, so that an application
// stopped from outside still ends through its own path (the document closes the link). Only
// one instance may exist at a time; its destruction restores the default handlers.
//
// Thread contract: create and destroy on the GUI thread.
class QuitSignals {
public:
    explicit QuitSignals(std::function<void()> onSignal);
    ~QuitSignals();
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

    bool IsActive() const { return m_notifier != nullptr; }

private:
    void OnReadable();

    std::function<void()> m_onSignal;
    std::unique_ptr<QSocketNotifier> m_notifier; // only while this instance owns the handlers
};

} // namespace ksv
