#pragma once

#include <QObject>

#include <functional>

namespace ksv {

// Runs task later on the thread of context (the GUI thread for widgets), from any thread.
// The task is dropped when context is destroyed before it runs.
void PostToGui(QObject* context, std::function<void()> task);

} // namespace ksv
