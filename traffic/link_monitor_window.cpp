#include "traffic/link_monitor_window.h"

#include "charts/text_file.h"
#include "traffic/frame_text.h"
#include "traffic/link_monitor_model.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <cstring>
#include <set>

namespace ksv {
namespace {

const QString kAllKinds = QStringLiteral("All kinds");

} // namespace

LinkMonitorWindow::LinkMonitorWindow(FrameRing& ring, QWidget* parent)
    : QWidget(parent, Qt::Window), m_model(new LinkMonitorModel(ring, this)),
      m_table(new QTableView(this)), m_dump(new QPlainTextEdit(this)),
      m_pause(new QPushButton(QStringLiteral("Pause"), this)), m_filter(new QComboBox(this)),
      m_status(new QLabel(this)), m_timer(new QTimer(this)) {
    setWindowTitle(QStringLiteral("Link Monitor"));
    auto* clear = new QPushButton(QStringLiteral("Clear"), this);
    auto* copy = new QPushButton(QStringLiteral("Copy"), this);
    auto* save = new QPushButton(QStringLiteral("Save as Text..."), this);
    m_pause->setCheckable(true);
    m_filter->addItem(kAllKinds);
    m_filter->setSizeAdjustPolicy(QComboBox::AdjustToContents);

    auto* bar = new QHBoxLayout;
    bar->addWidget(m_pause);
    bar->addWidget(clear);
    bar->addWidget(new QLabel(QStringLiteral("Kind:"), this));
    bar->addWidget(m_filter);
    bar->addWidget(copy);
    bar->addWidget(save);
    bar->addStretch(1);
    bar->addWidget(m_status);

    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_table->setModel(m_model);
    m_table->setFont(fixed);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    // Fixed heights and widths: sizing to contents would decode every row.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(QFontMetrics(fixed).height() + 4);
    m_table->horizontalHeader()->setStretchLastSection(true);
    const QFontMetrics metrics(fixed);
    const int widths[] = {12, 5, 18, 8, 8};
    for (int column = 0; column < LinkMonitorModel::kSummary; ++column) {
        m_table->setColumnWidth(column,
                                metrics.horizontalAdvance(QLatin1Char('0')) * widths[column] + 12);
    }
    m_dump->setReadOnly(true);
    m_dump->setFont(fixed);
    m_dump->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_dump->setPlaceholderText(QStringLiteral("Select a frame to see its bytes."));

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(m_table);
    split->addWidget(m_dump);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(split);
    // About 120 columns by 40 rows, within the screen.
    QSize size(metrics.horizontalAdvance(QLatin1Char('0')) * 120, metrics.height() * 40);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    }
    resize(size);

    auto* copyAction = new QAction(this);
    copyAction->setShortcut(QKeySequence::Copy);
    addAction(copyAction);
    connect(copyAction, &QAction::triggered, this, &LinkMonitorWindow::Copy);
    connect(copy, &QPushButton::clicked, this, &LinkMonitorWindow::Copy);
    connect(save, &QPushButton::clicked, this, &LinkMonitorWindow::Save);
    connect(clear, &QPushButton::clicked, this, [this] {
        m_model->Clear();
        m_dump->clear();
        RefreshStatus();
    });
    connect(m_pause, &QPushButton::toggled, this, [this](bool paused) {
        m_model->SetPaused(paused);
        m_pause->setText(paused ? QStringLiteral("Resume") : QStringLiteral("Pause"));
        RefreshStatus();
    });
    connect(m_filter, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        m_model->SetFilter(text == kAllKinds ? QString() : text);
        RefreshStatus();
    });
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &LinkMonitorWindow::ShowSelectedDump);
    connect(m_timer, &QTimer::timeout, this, &LinkMonitorWindow::PollNow);
    m_timer->start(kPollMs);
    PollNow();
}

void LinkMonitorWindow::PollNow() {
    if (!isVisible() && parentWidget()) {
        return; // a hidden window costs nothing
    }
    QScrollBar* scroll = m_table->verticalScrollBar();
    const bool following = scroll->value() == scroll->maximum();
    if (!m_model->Poll()) {
        return;
    }
    RefreshFilterChoices();
    RefreshStatus();
    if (following) {
        m_table->scrollToBottom();
    }
}

void LinkMonitorWindow::RefreshFilterChoices() {
    const std::vector<std::string>& names = m_model->Rows().KindNames();
    for (; m_kindsListed < names.size(); ++m_kindsListed) {
        m_filter->addItem(QString::fromStdString(names[m_kindsListed]));
    }
}

void LinkMonitorWindow::RefreshStatus() {
    QString text = QStringLiteral("%1 frames").arg(m_model->rowCount());
    if (m_model->Lost() > 0) {
        text += QStringLiteral(", %1 not shown (paused too long)").arg(m_model->Lost());
    }
    if (m_model->IsPaused()) {
        text += QStringLiteral(", paused");
    }
    m_status->setText(text);
}

void LinkMonitorWindow::ShowSelectedDump() {
    m_dump->setPlainText(DumpText());
}

QString LinkMonitorWindow::DumpText() const {
    const QModelIndex current = m_table->currentIndex();
    if (!current.isValid()) {
        return {};
    }
    const CapturedFrame& frame = m_model->Rows().At(static_cast<size_t>(current.row()));
    return QString::fromStdString(FrameLine(frame) + "\n\n" + HexDump(frame));
}

QString LinkMonitorWindow::RowsText() const {
    std::string text = "time_ms\tdir\tkind\tflags\tlength\tsummary\n";
    const MonitorRows& rows = m_model->Rows();
    for (size_t row = 0; row < rows.Count(); ++row) {
        text += FrameLine(rows.At(row)) + "\n";
    }
    return QString::fromStdString(text);
}

QString LinkMonitorWindow::SelectedText() const {
    std::set<int> selected;
    for (const QModelIndex& index : m_table->selectionModel()->selectedIndexes()) {
        selected.insert(index.row());
    }
    std::string text;
    for (int row : selected) {
        text += FrameLine(m_model->Rows().At(static_cast<size_t>(row))) + "\n";
    }
    return QString::fromStdString(text);
}

void LinkMonitorWindow::Copy() {
    const QString text = SelectedText();
    if (!text.isEmpty()) {
        QApplication::clipboard()->setText(text);
    }
}

QString LinkMonitorWindow::SaveTo(const QString& path) const {
    const QByteArray utf8 = RowsText().toUtf8();
    const FileWriteResult result =
        WriteWholeFile(path.toStdString(), std::vector<uint8_t>(utf8.begin(), utf8.end()));
    if (result.Ok()) {
        return {};
    }
    return QStringLiteral("Cannot save %1: %2")
        .arg(path, QString::fromLocal8Bit(std::strerror(result.error)));
}

void LinkMonitorWindow::Save() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save Link Monitor"),
                                                      QStringLiteral("link-monitor.txt"),
                                                      QStringLiteral("Text files (*.txt)"));
    if (path.isEmpty()) {
        return;
    }
    const QString failure = SaveTo(path);
    if (!failure.isEmpty()) {
        QMessageBox::warning(this, windowTitle(), failure);
    }
}

} // namespace ksv
