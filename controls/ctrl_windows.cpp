#include "controls/ctrl.h"

#include "charts/matrix_table_model.h"
#include "controls/momentary_button.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTableView>
#include <QTimeEdit>

// The creator resets what the layout has set since the control was first made; that survives.
void CCtrl::MakeWindows(QWidget* parent, const std::function<void(CCtrl&)>& create) {
    if (m_pParent != nullptr || parent == nullptr) {
        return;
    }
    const bool showLabel = m_bShowLabel;
    const bool border = m_bBorder;
    const bool fontBold = m_bFontBold;
    const int32_t fontHeight = m_nFontHeight;
    const bool fileRequested = m_file.m_bFileRequested;
    m_pParent = parent;
    SetFont(fontHeight, fontBold);
    SetLabelFont(m_nLabelFontHeight, m_bLabelBold);
    m_kind = ControlKind::Unsupported;
    create(*this);
    m_bShowLabel = showLabel;
    m_bBorder = border;
    m_bFontBold = fontBold;
    m_nFontHeight = fontHeight;
    m_file.m_bFileRequested = fileRequested;
    Place();
}

bool CCtrl::DropWindows() {
    if (m_pParent == nullptr) {
        return true;
    }
    for (QDialog* dialog : {m_matrix.m_pChartDlg.data(), m_password.m_pPasswordDlg.data(),
                            m_date.m_pDateTimeDlg.data(), m_number.m_pNumberDlg.data()}) {
        if (dialog != nullptr) {
            return false;
        }
    }
    if (OwnsWindow(QApplication::focusWidget())) {
        return false; // the user is typing into it
    }
    m_pLabelWnd.Reset();
    m_pButton.Reset();
    m_pValueWnd.Reset();
    m_pEdit.Reset();
    m_pCombo.Reset();
    m_latch.m_pCheck.Reset();
    m_latch.m_pMomentary.Reset();
    m_date.m_pDatePicker.Reset();
    m_date.m_pTimePicker.Reset();
    m_number.m_pMinus.Reset();
    m_number.m_pPlus.Reset();
    m_number.m_pSlider.Reset();
    m_number.m_pValueWnd2.Reset();
    m_list.m_pListBox.Reset();
    m_matrix.m_pChartWnd.Reset();
    m_matrix.m_pTableWnd.Reset();
    m_matrix.m_tableModel.reset();
    m_pFont.reset();
    m_pLabelFont.reset();
    m_pParent = nullptr;
    return true;
}
