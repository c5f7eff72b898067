#include "platform/qt/gui_error_reporter.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>

#include <cstdio>

namespace ksv {

GuiErrorReporter::GuiErrorReporter(QObject* parent)
    : QObject(parent),
      m_presenter([this](Kind kind, const QString& text) { ShowMessageBox(kind, text); }),
      m_quitHandler([] { QCoreApplication::quit(); }) {}

void GuiErrorReporter::ReportError(long line, const char* module, long value) {
    const std::string text = FormatErrorReport(line, module, value);
    std::fprintf(stderr, "%s\n", text.c_str());
    Enqueue({ItemKind::Error, QString::fromStdString(text)});
}

void GuiErrorReporter::ShowMessage(const std::u16string& text) {
    const QString message = QString::fromStdU16String(text);
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    Enqueue({ItemKind::Message, message});
}

void GuiErrorReporter::RequestQuit() {
    Enqueue({ItemKind::Quit, QString()});
}

void GuiErrorReporter::SetPresenter(Presenter presenter) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_presenter = std::move(presenter);
}

void GuiErrorReporter::SetQuitHandler(QuitHandler handler) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_quitHandler = std::move(handler);
}

void GuiErrorReporter::SetBoxTitle(const QString& title) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_boxTitle = title;
}

size_t GuiErrorReporter::PendingCount() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_queue.size();
}

void GuiErrorReporter::Enqueue(Item item) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_queue.push_back(std::move(item));
    }
    QMetaObject::invokeMethod(
        this, [this] { ShowNext(); }, Qt::QueuedConnection);
}

// One item per call: the event loop runs between two boxes, and a box already up leaves the
// queue alone; its own call posts the next one when it is dismissed.
void GuiErrorReporter::ShowNext() {
    if (m_showing)
        return;
    Item item;
    Presenter presenter;
    QuitHandler quitHandler;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_queue.empty())
            return;
        item = std::move(m_queue.front());
        m_queue.pop_front();
        presenter = m_presenter;
        quitHandler = m_quitHandler;
    }
    if (item.kind == ItemKind::Quit) {
        if (quitHandler)
            quitHandler();
        return;
    }
    m_showing = true;
    if (presenter)
        presenter(item.kind == ItemKind::Error ? Kind::Error : Kind::Message, item.text);
    m_showing = false;
    if (PendingCount() > 0)
        QMetaObject::invokeMethod(
            this, [this] { ShowNext(); }, Qt::QueuedConnection);
}

void GuiErrorReporter::ShowMessageBox(Kind kind, const QString& text) const {
    const QMessageBox::Icon icon = kind == Kind::Error ? QMessageBox::Warning : QMessageBox::NoIcon;
    QString title;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        title = m_boxTitle;
    }
    QMessageBox box(icon, title, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

} // namespace ksv
