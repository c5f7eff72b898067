#include "platform/qt/gui_error_reporter.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QScreen>

#include <algorithm>
#include <cstdio>

namespace ksv {

namespace {

// Centred over the window, cascaded so that boxes under the top one still show, and kept on
// its screen.
void PlaceOver(QMessageBox& box, const QWidget& over, int boxesBefore) {
    const int offset = 24 * boxesBefore;
    box.adjustSize();
    QRect place = box.frameGeometry();
    place.moveCenter(over.frameGeometry().center() + QPoint(offset, offset));
    if (const QScreen* screen = over.screen()) {
        const QRect screenArea = screen->availableGeometry();
        place.moveRight(std::min(place.right(), screenArea.right()));
        place.moveBottom(std::min(place.bottom(), screenArea.bottom()));
        place.moveLeft(std::max(place.left(), screenArea.left()));
        place.moveTop(std::max(place.top(), screenArea.top()));
    }
    box.move(place.topLeft());
}

} // namespace

GuiErrorReporter::GuiErrorReporter(QObject* parent)
    : QObject(parent), m_quitHandler([] { QCoreApplication::quit(); }) {}

GuiErrorReporter::~GuiErrorReporter() = default;

void GuiErrorReporter::ReportError(long line, const char* module, long value, ReportReason reason) {
    const std::string text = FormatErrorReport(line, module, value);
    std::fprintf(stderr, "%s - %s\n", text.c_str(), ReasonSentence(reason));
    Enqueue(ReportQueue::Kind::Error, std::u16string(text.begin(), text.end()), reason);
}

void GuiErrorReporter::ShowMessage(const std::u16string& text, ReportReason reason) {
    std::fprintf(stderr, "%s - %s\n", QString::fromStdU16String(text).toLocal8Bit().constData(),
                 ReasonSentence(reason));
    Enqueue(ReportQueue::Kind::Message, text, reason);
}

void GuiErrorReporter::RequestQuit() {
    m_queue.RequestQuit();
    SchedulePass();
}

void GuiErrorReporter::SetPresenter(Presenter presenter) {
    m_presenter = std::move(presenter);
}

void GuiErrorReporter::SetQuitHandler(QuitHandler handler) {
    m_quitHandler = std::move(handler);
}

void GuiErrorReporter::SetBoxTitle(const QString& title) {
    m_boxTitle = title;
}

size_t GuiErrorReporter::PendingCount() const {
    return m_queue.WaitingCount();
}

size_t GuiErrorReporter::OnScreenCount() const {
    return m_queue.OnScreenCount();
}

void GuiErrorReporter::Enqueue(ReportQueue::Kind kind, const std::u16string& text,
                               ReportReason reason) {
    if (m_queue.Add(kind, text, reason))
        SchedulePass();
}

// At most one pass is ever queued, however many reports arrive before it runs.
void GuiErrorReporter::SchedulePass() {
    if (m_passScheduled.exchange(true))
        return;
    QMetaObject::invokeMethod(
        this, [this] { RunPass(); }, Qt::QueuedConnection);
}

void GuiErrorReporter::RunPass() {
    m_passScheduled = false;
    // A presenter that runs an event loop must not see a second pass inside the first.
    if (m_inPass)
        return;
    m_inPass = true;
    const ReportQueue::Work work = m_queue.TakeWork();
    for (const ReportQueue::Box& box : work.update) {
        auto it = m_boxes.find(box.text);
        if (it != m_boxes.end())
            it->second->setText(QString::fromStdU16String(BoxText(box)));
    }
    for (const ReportQueue::Box& box : work.open)
        Present(box);
    m_inPass = false;
    if (work.quit && m_quitHandler)
        m_quitHandler();
    if (m_queue.HasWork())
        SchedulePass();
}

void GuiErrorReporter::Present(const ReportQueue::Box& box) {
    if (!m_presenter) {
        OpenBox(box);
        return;
    }
    m_presenter(box.kind == ReportQueue::Kind::Error ? Kind::Error : Kind::Message,
                QString::fromStdU16String(BoxText(box)));
    m_queue.Dismissed(box.text);
}

void GuiErrorReporter::OpenBox(const ReportQueue::Box& box) {
    const QMessageBox::Icon icon =
        box.kind == ReportQueue::Kind::Error ? QMessageBox::Warning : QMessageBox::NoIcon;
    auto messageBox = std::make_unique<QMessageBox>(
        icon, m_boxTitle, QString::fromStdU16String(BoxText(box)), QMessageBox::Ok);
    messageBox->setTextFormat(Qt::PlainText);
    // Not modal: a device that keeps failing must not keep the window from being closed.
    messageBox->setWindowModality(Qt::NonModal);
    const std::u16string text = box.text;
    connect(messageBox.get(), &QMessageBox::finished, this, [this, text] { OnBoxFinished(text); });
    if (const QWidget* over = QApplication::activeWindow()) {
        // Over one of these boxes (the newest is active) one cascade step is enough.
        const bool overBox = std::any_of(m_boxes.begin(), m_boxes.end(), [over](const auto& up) {
            return up.second.get() == over;
        });
        PlaceOver(*messageBox, *over, overBox ? 1 : static_cast<int>(m_boxes.size()));
    }
    messageBox->show();
    m_boxes[text] = std::move(messageBox);
}

void GuiErrorReporter::OnBoxFinished(const std::u16string& text) {
    m_queue.Dismissed(text);
    auto it = m_boxes.find(text);
    if (it != m_boxes.end()) {
        // The box is still inside its own signal.
        it->second.release()->deleteLater();
        m_boxes.erase(it);
    }
    SchedulePass();
}

} // namespace ksv
