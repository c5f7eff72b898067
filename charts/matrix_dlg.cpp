#include "charts/matrix_dlg.h"

#include "charts/matrix_chart_view.h"
#include "charts/matrix_table_model.h"
#include "charts/table_text.h"
#include "charts/text_file.h"
#include "platform/qt/eliding_header.h"

#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPointer>
#include <QPushButton>
#include <QStackedLayout>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kMinimumColumnWidth = 50;
constexpr int kColumnPadding = 14;
constexpr int kRepaintIntervalMs = 40; // 25 repaints a second at most
const QSize kMinimumDialogSize(360, 420);

QPushButton* SmallButton(const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setAutoDefault(false);
    return button;
}

} // namespace

CMatrixDlg::CMatrixDlg(const ksv::MatrixData* data, bool asTable, QWidget* parent)
    : QDialog(parent), m_data(data), m_bTableShown(asTable), m_saveUi(ksv::DesktopTableSaveUi()) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    setSizeGripEnabled(true);
    m_wideText = data != nullptr && data->WideText();
    CreateItems();
    FitColumns();
    ShowTableOrChart();
    m_btnTable->setVisible(!asTable);
    const QWidget* top = parent != nullptr ? parent->window() : nullptr;
    resize((top != nullptr ? top->size() : kMinimumDialogSize).expandedTo(kMinimumDialogSize));
    connect(this, &QDialog::finished, this, &CMatrixDlg::DetachFromData);
    m_repaintTimer = new QTimer(this);
    m_repaintTimer->setSingleShot(true);
    m_repaintTimer->setInterval(kRepaintIntervalMs);
    connect(m_repaintTimer, &QTimer::timeout, this, &CMatrixDlg::OnRepaintTimer);
}

CMatrixDlg::~CMatrixDlg() = default;

void CMatrixDlg::CreateItems() {
    m_model = new ksv::MatrixTableModel(m_data, this);
    m_list = new QTableView(this);
    ksv::qt::UseElidingHeader(m_list);
    m_list->setModel(m_model);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 4);
    m_list->horizontalHeader()->setSectionsClickable(false);
    m_list->horizontalHeader()->setHighlightSections(false);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setWordWrap(false);
    m_list->setShowGrid(false);
    m_chart = new ksv::MatrixChartView(m_data, this);

    m_btnTable = SmallButton(QStringLiteral("#"), this);
    m_btnComma = SmallButton(QStringLiteral("','"), this);
    m_btnSemicolon = SmallButton(QStringLiteral("';'"), this);
    connect(m_btnTable, &QPushButton::clicked, this, &CMatrixDlg::ToggleTable);
    connect(m_btnComma, &QPushButton::clicked, this, [this] { SaveTableAsText(true); });
    connect(m_btnSemicolon, &QPushButton::clicked, this, [this] { SaveTableAsText(false); });

    m_pages = new QStackedLayout;
    m_pages->addWidget(m_chart);
    m_pages->addWidget(m_list);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_btnTable);
    buttons->addWidget(m_btnComma);
    buttons->addWidget(m_btnSemicolon);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(m_pages, 1);
    layout->addLayout(buttons);
}

// Wide enough for the heading and for the oldest and newest rows, never under 50 pixels.
void CMatrixDlg::FitColumns() {
    const QFontMetrics cells = m_list->fontMetrics();
    const QFontMetrics headings = m_list->horizontalHeader()->fontMetrics();
    const int last = m_model->rowCount() - 1;
    for (int c = 0; c < m_model->columnCount(); ++c) {
        int width = headings.horizontalAdvance(QString::fromStdU16String(m_model->HeadingText(c)));
        for (int row : {0, last})
            width = std::max(width, cells.horizontalAdvance(
                                        QString::fromStdU16String(m_model->CellText(row, c))));
        m_list->setColumnWidth(c, std::max(kMinimumColumnWidth, width + kColumnPadding));
    }
}

void CMatrixDlg::RefreshTable() {
    if (m_data == nullptr)
        return;
    const bool wasEmpty = m_model->rowCount() == 0;
    m_model->Refresh();
    if (wasEmpty && m_model->rowCount() > 0)
        FitColumns(); // opened before the first row: fit the cells now
    if (m_repaintTimer->isActive()) {
        m_repaintPending = true;
        return;
    }
    RepaintData();
    m_repaintTimer->start();
}

void CMatrixDlg::RepaintData() {
    m_repaintPending = false;
    m_model->NotifyCellsChanged();
    m_chart->update();
}

void CMatrixDlg::OnRepaintTimer() {
    if (!m_repaintPending || m_data == nullptr)
        return;
    RepaintData();
    m_repaintTimer->start();
}

void CMatrixDlg::ToggleTable() {
    m_bTableShown = !m_bTableShown;
    ShowTableOrChart();
}

void CMatrixDlg::ShowTableOrChart() {
    m_pages->setCurrentWidget(m_bTableShown ? static_cast<QWidget*>(m_list) : m_chart);
    m_chart->update();
}

void CMatrixDlg::SetDeviceSettings(const ksv::DeviceSettings* settings) {
    m_chart->SetDeviceSettings(settings);
    m_chart->update();
}

void CMatrixDlg::SetSaveUi(ksv::TableSaveUi ui) {
    m_saveUi = std::move(ui);
}

void CMatrixDlg::SaveTableAsText(bool useComma) {
    // Copies: a session that ends while the file dialog is up closes and deletes this dialog.
    const ksv::TableSaveUi ui = m_saveUi;
    QPointer<CMatrixDlg> self(this);
    const QString path = ui.askSavePath(this);
    if (self == nullptr || m_data == nullptr || path.isEmpty())
        return;
    const ksv::MatrixTable* table = m_model->Table();
    if (table == nullptr)
        return;
    const std::vector<uint8_t> bytes =
        ksv::EncodeTableText(*table, useComma ? u',' : u';', m_wideText);
    const ksv::FileWriteResult result =
        ksv::WriteWholeFile(QFile::encodeName(path).toStdString(), bytes);
    if (result.failed == ksv::FileWriteResult::Step::Open)
        ui.showMessage(this, QStringLiteral("File open error"));
    else if (!result.Ok())
        ui.showMessage(this, QStringLiteral("File write error"));
}

void CMatrixDlg::DetachFromData() {
    m_repaintTimer->stop();
    m_data = nullptr;
    m_chart->Detach();
    m_model->Detach();
}
