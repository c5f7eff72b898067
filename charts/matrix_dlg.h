#pragma once

#include "charts/matrix_data.h"
#include "charts/table_save_ui.h"

#include <QDialog>

class QPushButton;
class QStackedLayout;
class QTableView;
class QTimer;

namespace ksv {
class DeviceSettings;
class MatrixChartView;
class MatrixTableModel;
} // namespace ksv

// The full-screen chart/table dialog of a chart/table control: the chart turned on its side,
// or the list of rows, "#" to switch between them (absent when opened as a table), and
// saving the table as text with ";" or "," between the fields.
//
// The owner opens it with open(), calls RefreshTable after every data update while it is
// open, and may close it at any time; it deletes itself when closed and reads the data no
// more from then on. The data outlives it or it is closed first. GUI thread only.
class CMatrixDlg : public QDialog {
    Q_OBJECT

public:
    // Item ids of the dialog template.
    static constexpr int kListId = 1089;
    static constexpr int kTableButtonId = 1110;
    static constexpr int kSemicolonButtonId = 1111;
    static constexpr int kCommaButtonId = 1112;

    CMatrixDlg(const ksv::MatrixData* data, bool asTable, QWidget* parent);
    ~CMatrixDlg() override;

    // Brings the list's rows in line with the data at once; the cells and the chart are
    // repainted at once too, or, while updates come faster than the eye follows, shortly.
    void RefreshTable();
    void ToggleTable();
    void SaveTableAsText(bool useComma);

    void SetDeviceSettings(const ksv::DeviceSettings* settings);
    void SetSaveUi(ksv::TableSaveUi ui);

    bool IsTableShown() const { return m_bTableShown; }
    QTableView* List() const { return m_list; }
    const ksv::MatrixTableModel* Model() const { return m_model; }
    QPushButton* TableButton() const { return m_btnTable; }
    QPushButton* CommaButton() const { return m_btnComma; }
    QPushButton* SemicolonButton() const { return m_btnSemicolon; }

private:
    void CreateItems();
    void FitColumns();
    void ShowTableOrChart();
    void DetachFromData();
    void RepaintData();
    void OnRepaintTimer();

    const ksv::MatrixData* m_data;
    bool m_wideText = false;
    bool m_bTableShown;
    ksv::TableSaveUi m_saveUi;
    ksv::MatrixTableModel* m_model = nullptr;
    QTableView* m_list = nullptr;
    ksv::MatrixChartView* m_chart = nullptr;
    QStackedLayout* m_pages = nullptr;
    QPushButton* m_btnTable = nullptr;
    QPushButton* m_btnComma = nullptr;
    QPushButton* m_btnSemicolon = nullptr;
    QTimer* m_repaintTimer = nullptr;
    bool m_repaintPending = false;
};
