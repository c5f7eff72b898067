#include "controls/ctrl.h"

#include "charts/chart_wnd.h"
#include "charts/matrix_access.h"
#include "charts/matrix_dlg.h"
#include "charts/matrix_setup.h"
#include "charts/matrix_table_model.h"
#include "controls/ctrl_font.h"
#include "link/link.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

namespace {

constexpr int kTableFontHeight = 14;
constexpr int kTableColumnWidth = 50;
constexpr int kTableRowPadding = 4;

} // namespace

// A button opening the full-screen chart or table (appearances 0..3), the chart inline (4..6)
// or the table inline (7).
void CCtrl::CreateMatrix(const ksv::ControlDetails& details, uint32_t cursorWord,
                         const std::vector<uint8_t>& cells, const std::vector<uint8_t>& textPart) {
    BeginCreate(ControlKind::Matrix);
    MatrixFields& m = m_matrix;
    ksv::SetMatrixParameters(m.m_data, m_deviceId, m_flags, details);
    ksv::SetMatrixRows(m.m_data, cursorWord, cells, textPart);
    m.m_data.m_appearance = m_appearance;
    if (m_pParent == nullptr) {
        return;
    }
    CreateLabel(0);
    using namespace ksv::qt;
    m_pButton.Reset(CreatePushButton(m_pParent, m_caption, 0, NextChildId()));
    auto* chart = new CChartWnd(&m.m_data, m_pParent);
    if (m_services.link != nullptr) {
        chart->SetDeviceSettings(&m_services.link->Settings());
    }
    AdoptWindow(chart, 0, NextChildId());
    m.m_pChartWnd.Reset(chart);
    m.m_tableModel = std::make_unique<ksv::MatrixTableModel>(&m.m_data, nullptr);
    m.m_pTableWnd.Reset(
        CreateReportView(m_pParent, m.m_tableModel.get(), kStyleBorder, NextChildId()));
    m.m_tableFont = MakeControlFont(kTableFontHeight, false);
    QTableView* table = m.m_pTableWnd.get();
    table->setFont(m.m_tableFont);
    table->horizontalHeader()->setFont(m.m_tableFont);
    table->horizontalHeader()->setDefaultSectionSize(kTableColumnWidth);
    table->verticalHeader()->setDefaultSectionSize(kTableFontHeight + kTableRowPadding);
    m.m_nTableRows = 0;
    FillTable();
    FinishCreate();
}

void CCtrl::PlaceMatrix(const CtrlFrame& f) {
    m_matrix.m_data.m_appearance = Appearance();
    if (auto* chart = qobject_cast<CChartWnd*>(m_matrix.m_pChartWnd.get())) {
        chart->SetBorder(m_bBorder);
    }
    for (QWidget* window : KindWindows()) {
        PlaceBody(window, f);
    }
}

std::vector<QWidget*> CCtrl::ShownMatrix() const {
    const int appearance = Appearance();
    if (appearance >= 4 && appearance <= 6) {
        return {m_matrix.m_pChartWnd.get()};
    }
    if (appearance == 7) {
        return {m_matrix.m_pTableWnd.get()};
    }
    return {m_pButton.get()};
}

void CCtrl::ClickMatrix() {
    OpenMatrixDialog();
}

void CCtrl::FillTable() {
    MatrixFields& m = m_matrix;
    const int32_t rows = ksv::GetRowCount(m.m_data);
    m.m_nTableRows = static_cast<uint32_t>(std::max(0, rows));
    if (m.m_tableModel) {
        m.m_tableModel->Refresh();
        m.m_tableModel->NotifyCellsChanged();
    }
}

void CCtrl::UpdateMatrix(uint32_t cursorWord, const std::vector<uint8_t>& cells,
                         const std::vector<uint8_t>& textPart) {
    if (m_kind != ControlKind::Matrix) {
        ReportInternalError(__LINE__);
        return;
    }
    MatrixFields& m = m_matrix;
    ksv::SetMatrixRows(m.m_data, cursorWord, cells, textPart);
    if (auto* dialog = qobject_cast<CMatrixDlg*>(m.m_pChartDlg.data())) {
        dialog->RefreshTable();
    }
    if (m.m_pTableWnd) {
        FillTable();
    }
    if (m.m_pChartWnd) {
        m.m_pChartWnd->update();
    }
}

// Full screen: the chart, or the table for appearance 3.
void CCtrl::OpenMatrixDialog() {
    if (RaiseDialog(m_matrix.m_pChartDlg) || m_pParent == nullptr) {
        return;
    }
    auto* dialog = new CMatrixDlg(&m_matrix.m_data, Appearance() == 3, m_pParent);
    if (m_services.link != nullptr) {
        dialog->SetDeviceSettings(&m_services.link->Settings());
    }
    ShowDialog(m_matrix.m_pChartDlg, dialog, [](QDialog*) {});
}
